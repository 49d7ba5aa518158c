// ChatText.cpp - see ChatText.h.
#include "ChatText.h"

#include <vector>

namespace {

const char kColon[] = "\xA3\xBA";   // ：
const char kTo[] = "\xB6\xD4";      // 对

// The start offsets of the characters of a code page 936 text.
std::vector<size_t> Characters(const std::string& s)
{
    std::vector<size_t> starts;
    for (size_t i = 0; i < s.size();) {
        starts.push_back(i);
        const unsigned char c = static_cast<unsigned char>(s[i]);
        i += (c >= 0x81 && c <= 0xFE && i + 1 < s.size()) ? 2 : 1;
    }
    return starts;
}

bool IsChar(const std::string& s, size_t at, const char* ch)
{
    return s.compare(at, std::char_traits<char>::length(ch), ch) == 0;
}

}  // namespace

bool ParseChatLine(const std::string& text, ChatLine* line)
{
    const std::vector<size_t> chars = Characters(text);
    const size_t n = chars.size();
    auto single = [&](size_t k, char c) {
        return chars[k] < text.size() && text[chars[k]] == c &&
               (k + 1 == n ? text.size() - chars[k] == 1 : chars[k + 1] - chars[k] == 1);
    };
    size_t open = n;
    for (size_t k = 0; k < n && open == n; k++)
        if (single(k, '['))
            open = k;
    if (open == n)
        return false;
    size_t end = n;
    for (size_t k = open + 1; k < n && end == n; k++)
        if (single(k, '<'))
            end = k;
    for (size_t k = open + 1; k < n && end == n; k++)
        if (single(k, ']'))
            end = k;
    if (end == n)
        return false;
    size_t colon = n;
    for (size_t k = end; k < n && colon == n; k++)
        if (chars[k] + 2 <= text.size() && IsChar(text, chars[k], kColon) &&
            (k + 1 == n ? text.size() - chars[k] == 2 : chars[k + 1] - chars[k] == 2))
            colon = k;
    if (colon == n)
        return false;
    line->speaker = text.substr(chars[open] + 1, chars[end] - chars[open] - 1);
    line->balloon = text.substr(chars[colon] + 2);
    // "对" between the "[" and the colon, and a "]" after it with at least one
    // character between them: the addressee goes in front.
    for (size_t k = open + 1; k < colon; k++) {
        if (!(chars[k] + 2 <= text.size() && IsChar(text, chars[k], kTo) &&
              (k + 1 < n && chars[k + 1] - chars[k] == 2)))
            continue;
        for (size_t j = k + 2; j < colon; j++) {
            if (single(j, ']')) {
                const size_t from = chars[k] + 2, to = chars[j] + 1;
                line->balloon = text.substr(from, to - from) + "," + line->balloon;
                return true;
            }
        }
        break;
    }
    return true;
}
