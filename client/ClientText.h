// Small text services of the game client that use no window and no Windows
// call: the in-place list tokenizers of the client's ini values, the
// escaping of text for web addresses, the path macros of the client
// environment record, and the names of the theme pictures that replace
// bitmaps of the resource library.
//
// Texts are narrow: code page 936 at run time (UTF-8 only where a function
// says so). The tokenizers write NUL bytes into the text they are given.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// ---- Tokenizers -----------------------------------------------------------------------

// Splits at "," into at most `capacity` items, each without its leading and
// trailing blanks. 0 for a null text, a null array or a capacity below 1.
int SplitList(char* text, char** items, int capacity);
// "key value", "key=value", "key = value": the key runs to the first blank
// or "="; blanks and "=" after it are skipped. 1 when both parts exist.
int SplitKeyValue(char* text, char** key, char** value);
// The first item before "," (or ";") after leading blanks; *rest is the text
// after the separator, or null at the end. Null for an empty text.
char* NextCommaItem(char* text, char** rest);
char* NextSemicolonItem(char* text, char** rest);
// "[low-high]" with blanks allowed before the second number (atoi). 1 on
// success; 0 when a bracket or the "-" is missing.
int ParseRange(const char* text, int* low, int* high);
// Two such ranges in a row ("[1-2][3-4]", blanks allowed between).
int ParseTwoRanges(const char* text, int* low1, int* high1, int* low2, int* high2);

// ---- Web addresses ---------------------------------------------------------------------

// Whether a byte leads a double-byte character of code page 936.
inline bool IsCp936LeadByte(uint8_t c) { return c >= 0x81 && c <= 0xFE; }
// The UTF-8 text for a web address, at most `capacity` - 1 bytes, never cut
// inside a character: when its first byte leads a double-byte character
// every byte becomes "%" and two lower-case hexadecimal digits (each whole
// escape fitting), otherwise the bytes are copied unchanged. The length.
size_t EscapeUtf8ForUrl(const char* utf8, char* out, size_t capacity);
// UTF-16 to UTF-8 (unpaired surrogates become U+FFFD).
std::string Utf16ToUtf8(const char16_t* text, size_t length);
// The longest prefix of at most maxBytes that ends on a UTF-8 character
// boundary.
size_t Utf8BoundaryAtOrBefore(const char* text, size_t length, size_t maxBytes);

// ---- Client environment record ------------------------------------------------------------

// Replaces every "%ClientExePath%", "%ClientDllPath%" and "%GameDllPath%".
std::string ExpandClientPathVars(const std::string& text, const char* exePath, const char* dllPath,
                                 const char* gameDllPath);

// ---- Theme pictures ------------------------------------------------------------------------

// The file under "theme\respic" that replaces the resource library's bitmap
// of that id; null for an id without a replacement.
const char* ResPicFileName(int bitmapId);
// The ids of the table above, in order, and their number.
const int* ResPicIds(int* count);
// What GetThemePath appends to the program's folder: "\theme_png\Default.thm"
// (0), "\theme_png\Default" (1), "\theme" (2), "" otherwise.
const char* ThemePathSuffix(int kind);
