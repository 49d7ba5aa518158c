// Hostile tooltip texts: the reader and both layout passes get the same
// bytes through a canvas whose extents are derived from the runs. Nothing
// may crash, read out of bounds or overflow; the sizes keep their bounds and
// every element moves the reader forward.
#include <stddef.h>
#include <stdint.h>

#include <string>

#include "ODTipMarkup.h"

namespace {

class Canvas : public odtip::Canvas
{
public:
    int weight = 400;
    void SetFontStyle(const odtip::FontStyle& style, int* height, int* averageWidth) override
    {
        weight = style.weight;
        *height = 10 + (style.italic ? 1 : 0);
        *averageWidth = style.underline ? 0 : 5;  // 0: tab stops that cannot be placed
    }
    odtip::Size TextExtent(const std::string& run) override
    {
        odtip::Size s;
        s.cx = static_cast<int>(run.size() % 100000) * (weight > 400 ? 7 : 5);
        s.cy = 10;
        return s;
    }
    bool ImageSize(const odtip::ImageRef& image, odtip::Size* size) override
    {
        size->cx = image.cx;
        size->cy = image.cy;
        return image.id % 3 != 0;
    }
    void DrawRun(int, int, const std::string& run, uint32_t, bool, uint32_t) override
    {
        if (run.empty())
            __builtin_trap();
    }
    void DrawRule(int x1, int x2, int, uint32_t) override
    {
        if (x2 < x1)
            __builtin_trap();
    }
    void DrawImage(const odtip::ImageRef&, int, int, int cx, int cy) override
    {
        if (cx < 0 || cy < 0 || cx > odtip::kMaxExtent || cy > odtip::kMaxExtent)
            __builtin_trap();
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);

    size_t pos = 0;
    for (;;) {
        const size_t before = pos;
        const odtip::Element e = odtip::NextElement(text, pos);
        if (e.kind == odtip::Element::End)
            break;
        if (pos <= before || pos > text.size())
            __builtin_trap();
    }

    uint32_t palette[odtip::kPaletteSize];
    for (int i = 0; i < odtip::kPaletteSize; ++i)
        palette[i] = 0x010101u * i;
    Canvas canvas;
    odtip::Lines lines;
    odtip::FontStyle base;
    const odtip::Rect rect{3, 4, 250, 300};
    const odtip::Size measured = odtip::Layout(canvas, rect, text, true, palette, base, lines);
    if (measured.cx < 0 || measured.cy < 0 || measured.cx > odtip::kMaxCoord || measured.cy > odtip::kMaxCoord)
        __builtin_trap();
    if (lines.widths.size() != lines.heights.size())
        __builtin_trap();
    // The drawing pass with stored lines, and with fewer lines than it meets.
    odtip::Layout(canvas, rect, text, false, palette, base, lines);
    if (!lines.widths.empty()) {
        lines.widths.pop_back();
        lines.heights.pop_back();
    }
    odtip::Layout(canvas, rect, text, false, palette, base, lines);
    return 0;
}
