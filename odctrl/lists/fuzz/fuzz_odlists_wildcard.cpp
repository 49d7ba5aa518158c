// The list's pattern matcher against a plain recursive reading of its rules:
// the input is split at its first zero byte into a text and a pattern over a
// small alphabet (letters in both cases, "*", "?", a double-byte character),
// and both readings must agree.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "ODWildcard.h"

namespace {

// Characters as the rules count them: a byte with the high bit set and the
// byte after it are one; ASCII capitals lowered.
std::vector<std::string> Split(const std::string& s)
{
    std::vector<std::string> out;
    for (size_t i = 0; i < s.size();) {
        if ((unsigned char)s[i] >= 0x80 && i + 1 < s.size()) {
            out.push_back(s.substr(i, 2));
            i += 2;
        } else {
            char c = s[i++];
            if (c >= 'A' && c <= 'Z')
                c = char(c - 'A' + 'a');
            out.push_back(std::string(1, c));
        }
    }
    return out;
}

bool Wild(const std::string& c)
{
    return c == "*" || c == "?";
}

// The rules, step by step: a "*" is dropped (nothing left: a match); the
// plain run after it is looked for in the text; when no wildcard follows the
// run, finding it is a match, else matching goes on at each place it was
// found. "?" takes one character, or none at the end of the text; any other
// character must be the text's next one. When the pattern is used up, the
// text must be too.
// Places (text, pattern) already found not to match, so that many stars do
// not try the same places again and again.
using Tried = std::vector<std::vector<bool>>;

bool Rules(const std::vector<std::string>& t, size_t ti, const std::vector<std::string>& p, size_t pi, Tried& failed)
{
    if (failed[ti][pi])
        return false;
    while (pi < p.size()) {
        if (p[pi] == "*") {
            ++pi;
            if (pi == p.size())
                return true;
            size_t end = pi;
            while (end < p.size() && !Wild(p[end]))
                ++end;
            const size_t run = end - pi;
            for (size_t at = ti; at + run <= t.size(); ++at) {
                bool found = true;
                for (size_t k = 0; k < run && found; ++k)
                    found = t[at + k] == p[pi + k];
                if (!found)
                    continue;
                if (end == p.size())
                    return true;
                if (Rules(t, at, p, pi, failed))
                    return true;
                failed[at][pi] = true;
            }
            return false;
        }
        if (p[pi] == "?") {
            ++pi;
            if (ti < t.size())
                ++ti;
            continue;
        }
        if (ti < t.size() && t[ti] == p[pi]) {
            ++pi;
            ++ti;
            continue;
        }
        return false;
    }
    return ti == t.size();
}

std::string Decode(const uint8_t* data, size_t size, size_t limit)
{
    static const char* const kAlphabet[] = {"a", "A", "b", "c", "*", "?", "\xC5\xC6", "\xC5\x61"};
    std::string s;
    for (size_t i = 0; i < size && i < limit; ++i)
        s += kAlphabet[data[i] % 8];
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    size_t cut = 0;
    while (cut < size && data[cut] != 0)
        ++cut;
    // Short enough for the recursive reading to stay quick.
    const std::string text = Decode(data, cut, 20);
    const std::string pattern = cut < size ? Decode(data + cut + 1, size - cut - 1, 12) : std::string();
    const std::vector<std::string> t = Split(text), p = Split(pattern);
    Tried failed(t.size() + 1, std::vector<bool>(p.size() + 1, false));
    const bool expected = Rules(t, 0, p, 0, failed);
    if (odlist::WildcardMatch(text.c_str(), pattern.c_str()) != expected)
        abort();
    return 0;
}
