// SceneText.cpp - see SceneText.h.
#include "SceneText.h"

#include <cctype>
#include <cstdlib>

namespace {

char Upper(char c) { return static_cast<char>(toupper(static_cast<unsigned char>(c))); }

}  // namespace

int ParseSceneAnchor(const std::string& text, int avatarCount, int fallback, bool names)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        i++;
    if (i >= text.size())
        return 0;
    const char first = Upper(text[i]);
    const char second = i + 1 < text.size() ? Upper(text[i + 1]) : 0;
    if ((first == 'A' && avatarCount >= 0) || (first == 'N' && names)) {
        const long n = strtol(text.c_str() + i + 1, nullptr, 10) - 1;
        if (first == 'N')
            return n >= 0 && n < 1000 ? 48 + static_cast<int>(n) : 0;
        const int index = n >= 0 && n < avatarCount ? static_cast<int>(n) : fallback;
        return 16 + index;
    }
    switch (first) {
    case 'L': return second == 'T' ? 1 : second == 'B' ? 7 : 8;
    case 'R': return second == 'T' ? 3 : second == 'B' ? 5 : 4;
    case 'T': return 2;
    case 'B': return 6;
    default: return 0;
    }
}

ScenePoint ResolveSceneAnchor(int code, int w, int h, const std::vector<ScenePoint>& avatars,
                              const std::vector<ScenePoint>& names)
{
    const ScenePoint none{kNoScenePosition, kNoScenePosition};
    const int hw = w >> 1, hh = h >> 1;
    switch (code) {
    case 0: return {hw, hh};
    case 1: return {0, 0};
    case 2: return {hw, 0};
    case 3: return {w, 0};
    case 4: return {w, hh};
    case 5: return {w, h};
    case 6: return {hw, h};
    case 7: return {0, h};
    case 8: return {0, hh};
    default: break;
    }
    if (code >= 48)
        return static_cast<size_t>(code - 48) < names.size() ? names[static_cast<size_t>(code - 48)] : none;
    if (code >= 16)
        return static_cast<size_t>(code - 16) < avatars.size() ? avatars[static_cast<size_t>(code - 16)] : none;
    return none;
}

int ParseLayerStyle(const std::string& style)
{
    size_t i = 0;
    while (i < style.size() && (style[i] == ' ' || style[i] == '\t'))
        i++;
    if (i >= style.size())
        return -1;
    switch (Upper(style[i])) {
    case 'B': return 0;
    case 'A': return style.find_first_of("nN", i + 1) != std::string::npos ? 2 : 1;
    case 'N': return 3;
    case 'O': return 4;
    case 'E': return 5;
    case 'M': return 6;
    default: return -1;
    }
}

std::string SceneNameFormat(const std::string& text)
{
    if (text.empty())
        return "%s\n%n";
    std::string out = text;
    const size_t at = out.find("\\n");
    if (at != std::string::npos)
        out.replace(at, 2, "\n");
    return out;
}

std::string FormatSceneName(const std::string& format, const std::string& userName, const std::string& nickName)
{
    const size_t s = format.find("%s");
    const size_t n = format.find("%n");
    std::string out;
    for (size_t i = 0; i < format.size();) {
        if (i == s) {
            out += userName;
            i += 2;
        } else if (i == n) {
            out += nickName;
            i += 2;
        } else {
            out += format[i++];
        }
    }
    return out;
}
