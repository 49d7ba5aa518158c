// ODWildcard.cpp - the list's pattern matcher (see ODWildcard.h).
#include "ODWildcard.h"

#include <stddef.h>
#include <stdint.h>

#include <vector>

namespace odlist {

namespace {

// One character of a text: a single byte, or a lead byte (high bit set) with
// the byte after it. Single ASCII capitals are lowered; wildcards are single
// bytes, so a double-byte character never reads as one.
std::vector<uint16_t> Characters(const char* text)
{
    std::vector<uint16_t> out;
    if (!text)
        return out;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p;) {
        if (*p >= 0x80 && p[1]) {
            out.push_back(uint16_t((p[0] << 8) | p[1]));
            p += 2;
        } else {
            const unsigned char c = *p++;
            out.push_back(c >= 'A' && c <= 'Z' ? uint16_t(c - 'A' + 'a') : c);
        }
    }
    return out;
}

bool IsWild(uint16_t c)
{
    return c == '*' || c == '?';
}

}  // namespace

bool WildcardMatch(const char* text, const char* pattern)
{
    const std::vector<uint16_t> t = Characters(text);
    std::vector<uint16_t> p = Characters(pattern);

    // A last "*" followed only by plain characters finds them anywhere after
    // it: the same as a "*" after them.
    size_t lastStar = p.size();
    for (size_t i = 0; i < p.size(); ++i)
        if (p[i] == '*')
            lastStar = i;
    if (lastStar < p.size() && lastStar + 1 < p.size()) {
        bool plain = true;
        for (size_t i = lastStar + 1; i < p.size(); ++i)
            plain = plain && !IsWild(p[i]);
        if (plain)
            p.push_back('*');
    }

    // A glob that returns to the latest "*" on a mismatch and lets it take
    // one character more: every later "*" can take whatever an earlier one
    // would have left, so older ones never need revisiting.
    size_t ti = 0, pi = 0;
    size_t star = SIZE_MAX, mark = 0;
    while (ti < t.size()) {
        if (pi < p.size() && p[pi] == '*') {
            star = pi++;
            mark = ti;
        } else if (pi < p.size() && (p[pi] == '?' || p[pi] == t[ti])) {
            ++pi;
            ++ti;
        } else if (star != SIZE_MAX) {
            pi = star + 1;
            ti = ++mark;
        } else {
            return false;
        }
    }
    // The text is used up: what is left of the pattern matches nothing, and
    // only "*" and "?" can.
    for (; pi < p.size(); ++pi)
        if (!IsWild(p[pi]))
            return false;
    return true;
}

}  // namespace odlist
