#include "StoreText.h"

#include <cstring>

namespace storetext {

namespace {

inline char FoldAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

} // namespace

const char* FindFirstChar(const char* text, char c)
{
    if (!text)
        return nullptr;
    for (const char* p = text; *p; ++p) {
        if (*p == c)
            return p;
        if (IsLeadByte(*p) && p[1])
            ++p;
    }
    return nullptr;
}

char* FindFirstChar(char* text, char c)
{
    return const_cast<char*>(FindFirstChar(static_cast<const char*>(text), c));
}

const char* FindLastChar(const char* text, char c)
{
    const char* last = nullptr;
    if (!text)
        return nullptr;
    for (const char* p = text; *p; ++p) {
        if (*p == c)
            last = p;
        else if (IsLeadByte(*p) && p[1])
            ++p;
    }
    return last;
}

char* FindLastChar(char* text, char c)
{
    return const_cast<char*>(FindLastChar(static_cast<const char*>(text), c));
}

char* FindLastOf(char* text, const char* set)
{
    char* last = nullptr;
    if (!text || !set)
        return nullptr;
    for (char* p = text; *p; ++p) {
        if (strchr(set, *p))
            last = p;
        else if (IsLeadByte(*p) && p[1])
            ++p;
    }
    return last;
}

bool LastCharIs(const char* text, char c)
{
    if (!text || !*text)
        return false;
    const char* last = text;
    for (const char* p = text; *p; ++p) {
        last = p;
        if (IsLeadByte(*p) && p[1])
            ++p;
    }
    return *last == c;
}

size_t CharBoundary(const char* text, size_t length, size_t maxBytes)
{
    if (maxBytes >= length)
        return length;
    size_t at = 0;
    while (at < maxBytes) {
        const size_t step = (IsLeadByte(text[at]) && at + 1 < length) ? 2 : 1;
        if (at + step > maxBytes)
            break;
        at += step;
    }
    return at;
}

int CompareNamesNoCase(const char* a, const char* b)
{
    while (*a && *b) {
        if (IsLeadByte(*a) && a[1]) {
            // A double-byte character matches only itself, byte for byte.
            if (a[0] != b[0] || a[1] != b[1])
                return BYTE(a[0]) != BYTE(b[0]) ? int(BYTE(a[0])) - int(BYTE(b[0]))
                                                : int(BYTE(a[1])) - int(BYTE(b[1]));
            a += 2;
            b += 2;
            continue;
        }
        const char ca = FoldAscii(*a), cb = FoldAscii(*b);
        if (ca != cb)
            return int(BYTE(ca)) - int(BYTE(cb));
        ++a;
        ++b;
    }
    return int(BYTE(FoldAscii(*a))) - int(BYTE(FoldAscii(*b)));
}

} // namespace storetext
