// ODWildcard.h - the list's pattern matcher: "*" stands for any run of
// characters, "?" for one character, letters match in either case.
//
// Two rules go beyond a plain glob, and the list's select-by-pattern relies
// on both:
// - a "*" followed by a run of plain characters with no wildcard after it
//   matches wherever that run occurs in the rest of the text, also when more
//   characters follow it ("*abc" matches "xabcx", "a*bc" matches "abcd");
// - a "?" meets the end of the text as well as a character, so "ab?" matches
//   "ab".
// Every other pattern must match the whole text; an empty text matches only
// patterns made of "*" and "?" (the empty pattern too), so "*abc" does not
// match "".
//
// Texts are in the program's double-byte code page: a byte with the high bit
// set starts a two-byte character, which "?" takes whole and which is never
// lowered. A "*" tries every place where the text can go on, so the first
// occurrence of a run is not the only one looked at.
#pragma once

namespace odlist {

// True when `text` matches `pattern` as above; null is taken as "".
bool WildcardMatch(const char* text, const char* pattern);

}  // namespace odlist
