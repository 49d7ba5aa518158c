// Character-wise text helpers of the store, files and packs.
//
// Text is multibyte in the ANSI code page: these step over double-byte
// characters whole, so a trail byte (which may equal "\" or a letter in code
// page 936) is never matched, split or case-folded on its own.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace storetext {

// TRUE when b starts a double-byte character in the ANSI code page.
inline bool IsLeadByte(char b)
{
    return ::IsDBCSLeadByte(BYTE(b)) != 0;
}

// First / last occurrence of the single-byte character c; null when absent.
const char* FindFirstChar(const char* text, char c);
char* FindFirstChar(char* text, char c);
const char* FindLastChar(const char* text, char c);
char* FindLastChar(char* text, char c);
// Last occurrence of any single-byte character of set.
char* FindLastOf(char* text, const char* set);
// TRUE when the text's last character is the single-byte c.
bool LastCharIs(const char* text, char c);

// The largest byte count <= maxBytes that does not end inside a double-byte
// character of text (of `length` bytes).
size_t CharBoundary(const char* text, size_t length, size_t maxBytes);

// Names compared without regard to the case of the single-byte letters A-Z
// (the C library's comparison in its "C" locale, but never folding a trail
// byte). 0 when equal.
int CompareNamesNoCase(const char* a, const char* b);

} // namespace storetext
