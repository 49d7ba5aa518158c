// The balloon's truncation, layout and painted lines over any text and any
// metrics, tiny and negative ones included: every run must end.
#include <cstddef>
#include <cstdint>
#include <string>

#include "BalloonText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 6)
        return 0;
    widgets::BalloonMetrics m;
    m.width = static_cast<int8_t>(data[0]) * 2;
    m.height = data[1] % 4 == 0 ? -1 : data[1];
    m.marginX = data[2] % 20;
    m.marginY = data[3] % 20;
    m.lineSpacing = static_cast<int8_t>(data[4]) % 16;
    const int charWidth = data[5] % 12;
    const bool link = (data[5] & 0x80) != 0;
    const std::string text(reinterpret_cast<const char*>(data + 6), size - 6);
    auto measure = [charWidth](const std::string& s) {
        return widgets::TextExtent{static_cast<int>(s.size()) * charWidth, 12};
    };
    const widgets::BalloonLayout r = widgets::LayoutBalloonText(text, m, charWidth, link, measure);
    const std::string& broken = r.ok ? r.text : text;
    const auto lines = widgets::BreakBalloonLines(broken, r.textRect, charWidth, 12, m.lineSpacing);
    if (lines.size() > broken.size())
        __builtin_trap();   // every line takes at least one byte
    return 0;
}
