// OrnMenuLogic.cpp - the owner-draw menu's arithmetic and text rules.
#include "OrnMenuLogic.h"

#include <ctype.h>
#include <wctype.h>

#include <algorithm>

namespace ornmenu {

int VersionClass(bool win9x, unsigned major, unsigned minor)
{
    if (win9x) {
        if (major < 4)
            return 0;
        if (major == 4 && minor == 10)
            return 3;
        if (major == 4 && minor == 90)
            return 4;
        return 2;
    }
    if (major == 4)
        return 5;
    if (major == 5 && minor == 0)
        return 6;
    if (major == 5 && minor == 1)
        return 7;
    return 1;
}

bool IsClassicThemeName(const char* value, size_t len)
{
    static const char kSuffix[] = "windows classic.theme";
    const size_t suffix = sizeof kSuffix - 1;
    if (!value)
        return false;
    size_t n = 0;
    while (n < len && value[n])
        ++n;
    if (n < suffix)
        return false;
    const char* tail = value + n - suffix;
    for (size_t i = 0; i < suffix; ++i)
        if (tolower(static_cast<unsigned char>(tail[i])) != kSuffix[i])
            return false;
    return true;
}

bool IsThemedOs(int versionClass, bool classicTheme) { return versionClass == 7 && !classicTheme; }

int StyleInForce(const StyleSettings& s, bool themedOs) { return themedOs ? s.themedStyle : s.otherStyle; }

int DrawingStyle(const StyleSettings& s, bool themedOs, bool paletteDevice)
{
    return (StyleInForce(s, themedOs) == 1 && !paletteDevice) ? 1 : 0;
}

bool SelectDisabled(const StyleSettings& s, bool themedOs)
{
    return StyleInForce(s, themedOs) == 1 ? s.selectDisabled1 : s.selectDisabled0;
}

uint32_t LightenColor(uint32_t colour, double f)
{
    if (!(f > 0.0 && f <= 1.0))
        return colour;
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int c = static_cast<int>((colour >> shift) & 0xFF);
        const int v = c + static_cast<int>((255 - c) * f);
        out |= static_cast<uint32_t>(std::min(v, 255)) << shift;
    }
    return out;
}

int Margin(int style, bool keepFadedShadow) { return (style == 1 && keepFadedShadow) ? 7 : 4; }

Size MeasureItem(bool separator, int style, bool keepFadedShadow, int imageWidth, int imageHeight, int cyMenu,
                 int textWidth)
{
    const int m = Margin(style, keepFadedShadow);
    Size s;
    if (separator) {
        s.height = std::max(cyMenu / 2, (imageHeight + m) / 2);
        return s;
    }
    s.width = style == 1 ? imageWidth + textWidth + m + 8 : textWidth + 2 * imageWidth + 1;
    s.height = std::max(cyMenu, m + imageHeight);
    return s;
}

void SplitAtTabs(const std::wstring& text, std::wstring* left, std::wstring* right)
{
    const size_t first = text.find(L'\t');
    if (first == std::wstring::npos) {
        *left = text;
        right->clear();
        return;
    }
    *left = text.substr(0, first);
    *right = text.substr(text.rfind(L'\t') + 1);
}

int FindMnemonic(const std::vector<std::wstring>& captions, wchar_t c)
{
    const wchar_t wanted[3] = {L'&', static_cast<wchar_t>(towlower(static_cast<wint_t>(c))), 0};
    for (size_t i = 0; i < captions.size(); ++i) {
        std::wstring lower = captions[i];
        for (wchar_t& ch : lower)
            ch = static_cast<wchar_t>(towlower(static_cast<wint_t>(ch)));
        if (lower.find(wanted) != std::wstring::npos)
            return static_cast<int>(i);
    }
    return -1;
}

void AlignTabs(std::vector<std::wstring>& captions, const std::function<int(const std::wstring&)>& width)
{
    int widest = 0;
    for (const std::wstring& c : captions) {
        const size_t tab = c.find(L'\t');
        if (tab != std::wstring::npos)
            widest = std::max(widest, width(c.substr(0, tab) + L" "));
    }
    for (std::wstring& c : captions) {
        const size_t tab = c.find(L'\t');
        if (tab == std::wstring::npos)
            continue;
        std::wstring left = c.substr(0, tab);
        // Each space widens the text; a text that never grows (a zero-width
        // measure) stops after as many spaces as the target's width.
        for (int guard = 0; width(left) < widest && guard <= widest; ++guard)
            left += L' ';
        c = left + c.substr(tab);
    }
}

AddResult AddImageId(std::vector<uint32_t>& ids, uint32_t command, bool keepExtra)
{
    AddResult r;
    const int at = FindImageId(ids, command);
    if (at >= 0) {
        r.index = at;
        r.replaced = true;
        r.extraInPlace = HasExtraImages(ids, at);
        return r;
    }
    r.index = static_cast<int>(ids.size());
    ids.push_back(command);
    if (keepExtra) {
        ids.push_back(command);
        ids.push_back(command);
    }
    return r;
}

int FindImageId(const std::vector<uint32_t>& ids, uint32_t command)
{
    for (size_t i = 0; i < ids.size(); ++i)
        if (ids[i] == command)
            return static_cast<int>(i);
    return -1;
}

bool HasExtraImages(const std::vector<uint32_t>& ids, int index)
{
    if (index < 0 || static_cast<size_t>(index) + 2 >= ids.size())
        return false;
    const size_t i = static_cast<size_t>(index);
    return ids[i + 1] == ids[i] && ids[i + 2] == ids[i];
}

std::vector<TemplateItem> ReadMenuTemplate(const uint8_t* data, size_t size)
{
    const uint16_t kPopup = 0x10, kEnd = 0x80;
    std::vector<TemplateItem> items;
    if (!data || size < 4)
        return items;
    size_t p = 4u + static_cast<size_t>(data[2] | data[3] << 8);
    auto word = [&](uint16_t* out) {
        if (p > size || size - p < 2)
            return false;
        *out = static_cast<uint16_t>(data[p] | data[p + 1] << 8);
        p += 2;
        return true;
    };
    // The open levels: the pop-up item holding each (-1 for the top) and
    // whether the level above ends after that pop-up's own level.
    struct Level
    {
        int popup;
        bool endsAfter;
    };
    std::vector<Level> levels = {{-1, false}};
    while (!levels.empty()) {
        TemplateItem item;
        uint16_t flags = 0;
        if (!word(&flags))
            break;
        if (!(flags & kPopup) && !word(&item.id))
            break;
        uint16_t ch = 0;
        bool terminated = false;
        while (word(&ch)) {
            if (ch == 0) {
                terminated = true;
                break;
            }
            item.caption += static_cast<wchar_t>(ch);
        }
        if (!terminated)
            break;
        const bool last = (flags & kEnd) != 0;
        item.flags = static_cast<uint16_t>(flags & ~kEnd);
        item.parent = levels.back().popup;
        items.push_back(item);
        if (flags & kPopup) {
            // A level ending with a pop-up ends when that pop-up's level does.
            if (last)
                levels.back().endsAfter = true;
            levels.push_back({static_cast<int>(items.size()) - 1, false});
        } else if (last) {
            levels.pop_back();
            while (!levels.empty() && levels.back().endsAfter)
                levels.pop_back();
        }
    }
    return items;
}

int CentreOffset(int outer, int inner) { return std::max(0, (outer - inner + 1) / 2); }

int ImageBoxTop(int itemHeight, int imageHeight) { return std::max(0, (itemHeight - imageHeight - 4) / 2); }

}  // namespace ornmenu
