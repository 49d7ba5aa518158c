// libFuzzer target: the menu template reader of the owner-draw menu. Every
// item's parent is an earlier pop-up item, and nothing is read past the data.
#include <stddef.h>
#include <stdint.h>

#include <vector>

#include "OrnMenuLogic.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A private copy, so reads past the end meet the sanitizer's red zone.
    std::vector<uint8_t> copy(data, data + size);
    const std::vector<ornmenu::TemplateItem> items = ornmenu::ReadMenuTemplate(copy.data(), copy.size());
    for (size_t i = 0; i < items.size(); ++i) {
        const int parent = items[i].parent;
        if (parent >= static_cast<int>(i) || (parent >= 0 && !(items[static_cast<size_t>(parent)].flags & 0x10)))
            __builtin_trap();
    }
    if (items.size() > size / 4 + 1)
        __builtin_trap();
    return 0;
}
