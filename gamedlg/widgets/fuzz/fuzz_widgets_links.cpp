// Link parsing and layout over any text, client size and address capacity.
#include <cstddef>
#include <cstdint>
#include <string>

#include "LinkText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3)
        return 0;
    const int width = data[0];
    const int height = data[1];
    const size_t capacity = data[2] % 3 == 0 ? 256 : data[2] % 3 == 1 ? 512 : data[2];
    std::string text(reinterpret_cast<const char*>(data + 3), size - 3);
    if (text.size() > widgets::kLabelTextLimit)
        text.resize(widgets::kLabelTextLimit);
    const auto pieces = widgets::ParseLinkText(text, capacity);
    for (const auto& p : pieces) {
        if (p.begin > text.size() || p.length > text.size() - p.begin)
            __builtin_trap();
        if (capacity > 0 && p.address.size() >= capacity)
            __builtin_trap();
    }
    const auto layout = widgets::LayoutLinkText(text, pieces, width, height, [](const std::string& s) {
        return widgets::TextExtent{static_cast<int>(s.size()) * 3, 7};
    });
    for (const auto& l : layout.links) {
        std::string out;
        widgets::NormaliseWebAddress(l.address, &out);
        widgets::HitTestLinks(layout.links, widgets::Pt{l.rect.left, l.rect.top});
    }
    return 0;
}
