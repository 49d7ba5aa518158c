// The hyperlink text layout on any bytes: the first two bytes choose the
// client size, the rest is the text.
#include "LinkText.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <cstring>

namespace {
kit::TextSize Measure(const char* text, int length)
{
    int w = 0;
    for (int i = 0; i < length; i++)
        w += 3 + (static_cast<unsigned char>(text[i]) & 7);
    return {w, 9 + (length & 3)};
}
bool Lead(unsigned char b) { return b >= 0x81 && b <= 0xFE; }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const int width = data[0] * 4;
    const int height = data[1] * 4;
    const size_t n = size - 2;
    std::unique_ptr<char[]> text(new char[n ? n : 1]);
    memcpy(text.get(), data + 2, n);
    const kit::LinkLayout l = kit::LayoutLinkText(text.get(), n, width, height, Measure, Lead);
    for (const kit::LinkRun& r : l.runs) {
        if (r.offset + r.length > n || (r.link >= 0 && static_cast<size_t>(r.link) >= l.links.size()))
            __builtin_trap();
    }
    for (const kit::LinkRecord& rec : l.links)
        kit::LinkOpenAddress(rec.address);
    return 0;
}
