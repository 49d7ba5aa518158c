// Page choice and local page names from arbitrary configuration values.
#include "AdvertPages.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string value(reinterpret_cast<const char*>(data), size);
    int id = size > 0 ? 1000 + data[0] % 12 : 1003;
    std::string page = advert::ChoosePage(value, "C:\\share", id % 7, id,
                                          [](const std::string& p) { return p.size() % 2 == 0; });
    if (page.empty())
        __builtin_trap();
    std::string local;
    std::string text(value.c_str());                 // up to the first NUL
    if (advert::LocalPageName(text.c_str(), &local) && (local.size() > 259 || local.size() < 4))
        __builtin_trap();
    return 0;
}
