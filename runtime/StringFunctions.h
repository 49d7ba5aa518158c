// String, number and token functions over plain C strings, and the growable
// byte buffers built on them.
//
// The text is multibyte in code page 936 (GBK): a byte 0x81-0xFE followed by a
// trail byte 0x40-0x7E or 0x80-0xFE is one double-byte character. Every scan
// here steps by characters, so a trail byte is never taken for an ASCII
// character ('\\', '[', ']', '|', letters ...), a copy is never cut inside a
// double-byte character, and the case-blind functions fold only the
// single-byte letters A-Z / a-z. An invalid sequence is read byte by byte.
//
// The source is portable (no Windows headers); the board library can compile
// its own copy.
#pragma once

#include <cstddef>
#include <cstdint>

// ---- Characters ------------------------------------------------------------------

// Bytes of the character at p: 0 at the terminating zero, 2 for a double-byte
// character, else 1.
size_t CharLengthAt(const char* p);
// The largest length <= maxBytes that does not end inside a double-byte
// character of text (which holds at least maxBytes bytes or ends before).
size_t CharBoundaryAtOrBefore(const char* text, size_t maxBytes);

// ---- Searching ---------------------------------------------------------------------

// First occurrence of pattern in text, letters compared without case; null
// when absent, when the text is empty or either is null. Matches start on a
// character boundary.
const char* StrFindNoCase(const char* text, const char* pattern);
inline char* StrFindNoCase(char* text, const char* pattern)
{
    return const_cast<char*>(StrFindNoCase(static_cast<const char*>(text), pattern));
}
// The same, case-sensitive.
const char* StrFindChars(const char* text, const char* pattern);

// ---- Numbers -----------------------------------------------------------------------

// Skips to the first digit (a sign is skipped like any other character);
// "0x"/"0X" and hexadecimal digits read as hexadecimal (no digit after the
// prefix gives 0), else the decimal value of the digits, clamped to INT32_MAX.
// No digit gives 0.
int32_t ParseNumber(const char* text);
// The same; the decimal part read digit by digit as an unsigned value
// (wrapping modulo 2^32).
uint32_t ParseNumberU(const char* text);
// Skips to the first digit or ','; reads up to four decimal numbers separated
// by '.', each kept to its low 8 bits, the first in the highest byte; missing
// numbers are 0.
uint32_t ParseDottedQuad(const char* text);

// ---- Tokens ------------------------------------------------------------------------

// Skips separators (characters up to 32 and ','), copies the token up to the
// next separator into out (at most size - 1 bytes, cut on a character
// boundary, always terminated; size 0 means no limit: out must then hold the
// whole token), skips the rest of the token and the separators after it and
// returns that position. A null text gives null and an empty out.
const char* NextToken(const char* text, char* out, size_t size);
inline char* NextToken(char* text, char* out, size_t size)
{
    return const_cast<char*>(NextToken(static_cast<const char*>(text), out, size));
}
// Skips spaces and ','; *value = the decimal value of what follows; returns
// the position after the following run of spaces and ','. Null (value 0) for
// a null or empty text.
const char* NextIntToken(const char* text, int32_t* value);
inline char* NextIntToken(char* text, int32_t* value)
{
    return const_cast<char*>(NextIntToken(static_cast<const char*>(text), value));
}

// ---- Replacing and inserting in place --------------------------------------------
//
// capacity is the size of the buffer that holds text, terminator included.
// A change whose result would not fit is refused as a whole: the text is left
// as it was and the result is 0.

// Replaces the first occurrence of oldText by newText. 1 when replaced; 0 when
// absent, for a null or empty oldText, a null newText or a result too long.
int ReplaceFirst(char* text, size_t capacity, const char* oldText, const char* newText);
// Replaces every occurrence, scanning on after each inserted text; 1 when
// something was replaced.
int ReplaceAll(char* text, size_t capacity, const char* oldText, const char* newText);
int ReplaceFirstNoCase(char* text, size_t capacity, const char* oldText, const char* newText);
int ReplaceAllNoCase(char* text, size_t capacity, const char* oldText, const char* newText);
// Inserts insert at byte position of text. 0 when the position is past the
// end or inside a double-byte character, or the result does not fit; an empty
// insert gives 1.
int InsertAt(char* text, size_t capacity, size_t position, const char* insert);

// ---- Skipping, trimming and cutting ------------------------------------------------
//
// The characters and sets are single-byte characters; a double-byte character
// of the text never matches them.

// The position after the leading run of c.
const char* SkipChar(const char* text, char c);
inline char* SkipChar(char* text, char c)
{
    return const_cast<char*>(SkipChar(static_cast<const char*>(text), c));
}
// Removes the trailing run of c in place; returns text.
char* TrimRightChar(char* text, char c);
// 1 when c (not the zero character) is in set.
int HasChar(const char* set, char c);
// The position after the leading run of characters of set.
const char* SkipCharsIn(const char* text, const char* set);
inline char* SkipCharsIn(char* text, const char* set)
{
    return const_cast<char*>(SkipCharsIn(static_cast<const char*>(text), set));
}
// Removes the trailing run of characters of set in place; returns text.
char* TrimRightCharsIn(char* text, const char* set);
// The position after the first startChar (startChar 0: the start of the
// text), with the text cut at the next endChar after it. Null when there is no
// startChar or nothing follows it.
char* CutBetween(char* text, char startChar, char endChar);
// The same, but null (and the text unchanged) unless closeChar is found.
char* Bracketed(char* text, char openChar, char closeChar);
// Cuts the text at the first c; returns text.
char* CutAtChar(char* text, char c);
// The position after the first c; the end of the text when there is none.
const char* AfterChar(const char* text, char c);
inline char* AfterChar(char* text, char c)
{
    return const_cast<char*>(AfterChar(static_cast<const char*>(text), c));
}

// ---- Readers of a packed stream ----------------------------------------------------
//
// end, when given, is the end of the readable block: a reader that would pass
// it reads nothing and returns null.

// Copies the zero-terminated string at source into out (at most size - 1
// bytes, cut on a character boundary, always terminated) and returns the
// position after its zero.
const char* ReadToken(const char* source, char* out, size_t size, const char* end = nullptr);
// *value = the decimal value of the string at source; the position after its
// zero.
const char* ReadIntToken(const char* source, int32_t* value, const char* end = nullptr);
// *value = the little-endian u32 at source; the position after it.
const char* ReadU32(const char* source, uint32_t* value, const char* end = nullptr);
// Sort comparator of two int32_t: their difference, or its sign when the
// difference does not fit an int.
int CompareInts(const void* a, const void* b);
// XORs every byte of buffer with value; a length below 1 means the string
// length of buffer.
void XorBytes(void* buffer, int length, uint8_t value);

// ---- Joined blocks and growable buffers ------------------------------------------

// One piece of JoinPieces. A negative length takes the string at data with
// its zero (a null data then gives one zero byte).
struct JoinPiece {
    uint32_t totalLength;   // out, first entry only: the length of the block
    int32_t length;         // 0 ends the list
    const void* data;       // null: one zero byte
};
// A new block (free it with gpFree) holding the pieces one after another;
// null when memory runs out.
uint8_t* JoinPieces(JoinPiece* pieces);

// A growable buffer kept by its owner as three values: the data (C heap,
// free it with gpFree), the used length and the capacity. Appends one to three
// pieces (a length of -1, or any negative one, is the string with its zero; a
// null pointer appends that many zero bytes, one for a string);
// when they don't fit the block is re-allocated to the needed size plus
// growStep. 0 when memory runs out (the buffer is then as it was), else 1.
int BufferAppend1(uint8_t** data, uint32_t* used, uint32_t* capacity,
                  const void* p1, int32_t n1, uint32_t growStep);
int BufferAppend2(uint8_t** data, uint32_t* used, uint32_t* capacity,
                  const void* p1, int32_t n1, const void* p2, int32_t n2, uint32_t growStep);
int BufferAppend3(uint8_t** data, uint32_t* used, uint32_t* capacity,
                  const void* p1, int32_t n1, const void* p2, int32_t n2,
                  const void* p3, int32_t n3, uint32_t growStep);
