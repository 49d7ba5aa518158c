#include "StringFunctions.h"

#include "board/ByteBuffer.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>

namespace {

bool IsLeadByte(unsigned char c)
{
    return c >= 0x81 && c <= 0xFE;
}

bool IsTrailByte(unsigned char c)
{
    return c >= 0x40 && c <= 0xFE && c != 0x7F;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

unsigned char FoldCase(unsigned char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

// True when the characters of pattern are at p, character for character.
bool MatchesAt(const char* p, const char* pattern, bool noCase)
{
    while (*pattern) {
        const size_t n = CharLengthAt(pattern);
        if (CharLengthAt(p) != n)
            return false;
        if (n == 1) {
            const unsigned char a = static_cast<unsigned char>(*p);
            const unsigned char b = static_cast<unsigned char>(*pattern);
            if (noCase ? FoldCase(a) != FoldCase(b) : a != b)
                return false;
        } else if (p[0] != pattern[0] || p[1] != pattern[1]) {
            return false;
        }
        p += n;
        pattern += n;
    }
    return true;
}

const char* Find(const char* text, const char* pattern, bool noCase)
{
    if (!text || !pattern || !*text)
        return nullptr;
    for (const char* p = text; *p; p += CharLengthAt(p)) {
        if (MatchesAt(p, pattern, noCase))
            return p;
    }
    return nullptr;
}

// First single-byte character c of text, or null.
const char* FindChar(const char* text, char c)
{
    if (!text || c == 0)
        return nullptr;
    for (const char* p = text; *p; p += CharLengthAt(p)) {
        if (*p == c && CharLengthAt(p) == 1)
            return p;
    }
    return nullptr;
}

bool IsSingle(const char* p, char c)
{
    return *p == c && c != 0 && CharLengthAt(p) == 1;
}

bool IsTokenSeparator(char c)
{
    return c != 0 && (static_cast<unsigned char>(c) <= 32 || c == ',');
}

// Decimal digits at p, clamped to INT32_MAX.
int32_t ReadDecimalClamped(const char* p)
{
    int64_t value = 0;
    for (; IsDigit(*p); ++p) {
        value = value * 10 + (*p - '0');
        if (value > INT32_MAX)
            value = INT32_MAX;
    }
    return static_cast<int32_t>(value);
}

// A C-library style decimal: blanks, an optional sign, digits; clamped.
int32_t ReadSignedDecimal(const char* p)
{
    while (*p == ' ' || (*p >= '\t' && *p <= '\r'))
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = (*p++ == '-');
    int64_t value = 0;
    for (; IsDigit(*p); ++p) {
        value = value * 10 + (*p - '0');
        if (value > static_cast<int64_t>(INT32_MAX) + 1)
            value = static_cast<int64_t>(INT32_MAX) + 1;
    }
    if (negative)
        return static_cast<int32_t>(-value);
    return static_cast<int32_t>(value > INT32_MAX ? INT32_MAX : value);
}

// Common part of ParseNumber / ParseNumberU: p at the first digit. True with
// the hexadecimal value when the digits start with "0x".
bool ReadHexPrefixed(const char* p, uint32_t* value)
{
    if (p[0] != '0' || (p[1] != 'x' && p[1] != 'X'))
        return false;
    uint32_t v = 0;
    for (p += 2; HexValue(*p) >= 0; ++p)
        v = (v << 4) | static_cast<uint32_t>(HexValue(*p));
    *value = v;
    return true;
}

const char* SkipToDigit(const char* p)
{
    while (*p && !IsDigit(*p))
        ++p;
    return p;
}

int Replace(char* text, size_t capacity, const char* oldText, const char* newText, bool noCase,
            bool all)
{
    if (!text || !oldText || !*oldText || !newText)
        return 0;
    const size_t oldLength = std::strlen(oldText);
    std::string result;
    const char* rest = text;
    bool replaced = false;
    for (const char* hit = Find(rest, oldText, noCase); hit; hit = Find(rest, oldText, noCase)) {
        result.append(rest, static_cast<size_t>(hit - rest));
        result.append(newText);
        rest = hit + oldLength;
        replaced = true;
        if (!all)
            break;
    }
    if (!replaced)
        return 0;
    result.append(rest);
    if (result.size() + 1 > capacity)
        return 0;
    std::memcpy(text, result.c_str(), result.size() + 1);
    return 1;
}

// Bytes a piece of a joined block or growable buffer takes.
uint64_t PieceLength(const void* data, int32_t length)
{
    if (length >= 0)
        return static_cast<uint64_t>(length);
    return data ? std::strlen(static_cast<const char*>(data)) + 1 : 1;
}

struct BufferPiece {
    const void* data;
    int32_t length;
};

int AppendPieces(uint8_t** data, uint32_t* used, uint32_t* capacity, const BufferPiece* pieces,
                 int count, uint32_t growStep)
{
    if (!data || !used || !capacity)
        return 0;
    uint64_t total = 0;
    for (int i = 0; i < count; ++i)
        total += PieceLength(pieces[i].data, pieces[i].length);
    if (total == 0)
        return 1;
    const uint64_t needed = static_cast<uint64_t>(*used) + total;
    if (needed > UINT32_MAX)
        return 0;
    if (!*data || needed > *capacity) {
        uint64_t grown = needed + growStep;
        if (grown > UINT32_MAX)
            grown = needed;
        void* block = gpRealloc(*data, static_cast<size_t>(grown));
        if (!block)
            return 0;
        *data = static_cast<uint8_t*>(block);
        *capacity = static_cast<uint32_t>(grown);
    }
    uint8_t* out = *data + *used;
    for (int i = 0; i < count; ++i) {
        const size_t n = static_cast<size_t>(PieceLength(pieces[i].data, pieces[i].length));
        if (pieces[i].data)
            std::memcpy(out, pieces[i].data, n);
        else
            std::memset(out, 0, n);
        out += n;
    }
    *used = static_cast<uint32_t>(needed);
    return 1;
}

}  // namespace

// ---- Characters ------------------------------------------------------------------

size_t CharLengthAt(const char* p)
{
    if (!p || !*p)
        return 0;
    if (IsLeadByte(static_cast<unsigned char>(p[0])) && IsTrailByte(static_cast<unsigned char>(p[1])))
        return 2;
    return 1;
}

size_t CharBoundaryAtOrBefore(const char* text, size_t maxBytes)
{
    size_t at = 0;
    while (text && text[at]) {
        const size_t n = CharLengthAt(text + at);
        if (at + n > maxBytes)
            break;
        at += n;
    }
    return at;
}

// ---- Searching ---------------------------------------------------------------------

const char* StrFindNoCase(const char* text, const char* pattern)
{
    return Find(text, pattern, true);
}

const char* StrFindChars(const char* text, const char* pattern)
{
    return Find(text, pattern, false);
}

// ---- Numbers -----------------------------------------------------------------------

int32_t ParseNumber(const char* text)
{
    if (!text)
        return 0;
    const char* p = SkipToDigit(text);
    uint32_t hex = 0;
    if (ReadHexPrefixed(p, &hex))
        return static_cast<int32_t>(hex);
    return ReadDecimalClamped(p);
}

uint32_t ParseNumberU(const char* text)
{
    if (!text)
        return 0;
    const char* p = SkipToDigit(text);
    uint32_t value = 0;
    if (ReadHexPrefixed(p, &value))
        return value;
    for (; IsDigit(*p); ++p)
        value = value * 10 + static_cast<uint32_t>(*p - '0');
    return value;
}

uint32_t ParseDottedQuad(const char* text)
{
    if (!text)
        return 0;
    const char* p = text;
    while (*p && !IsDigit(*p) && *p != ',')
        ++p;
    uint32_t result = 0;
    for (int part = 0; part < 4; ++part) {
        uint32_t number = 0;
        for (; IsDigit(*p); ++p)
            number = number * 10 + static_cast<uint32_t>(*p - '0');
        result |= (number & 0xFF) << (8 * (3 - part));
        if (*p != '.')
            break;
        ++p;
    }
    return result;
}

// ---- Tokens ------------------------------------------------------------------------

const char* NextToken(const char* text, char* out, size_t size)
{
    if (out && size)
        out[0] = 0;
    if (!text)
        return nullptr;
    const char* p = text;
    while (IsTokenSeparator(*p))
        ++p;
    const char* start = p;
    while (*p && !IsTokenSeparator(*p))
        p += CharLengthAt(p);
    if (out) {
        const size_t length = static_cast<size_t>(p - start);
        const size_t copied = size == 0 ? length : CharBoundaryAtOrBefore(start, std::min(length, size - 1));
        std::memcpy(out, start, copied);
        out[copied] = 0;
    }
    while (IsTokenSeparator(*p))
        ++p;
    return p;
}

const char* NextIntToken(const char* text, int32_t* value)
{
    if (value)
        *value = 0;
    if (!text || !*text)
        return nullptr;
    const char* p = text;
    while (*p == ' ' || *p == ',')
        ++p;
    if (value)
        *value = ReadSignedDecimal(p);
    while (*p && *p != ' ' && *p != ',')
        p += CharLengthAt(p);
    while (*p == ' ' || *p == ',')
        ++p;
    return p;
}

// ---- Replacing and inserting -------------------------------------------------------

int ReplaceFirst(char* text, size_t capacity, const char* oldText, const char* newText)
{
    return Replace(text, capacity, oldText, newText, false, false);
}

int ReplaceAll(char* text, size_t capacity, const char* oldText, const char* newText)
{
    return Replace(text, capacity, oldText, newText, false, true);
}

int ReplaceFirstNoCase(char* text, size_t capacity, const char* oldText, const char* newText)
{
    return Replace(text, capacity, oldText, newText, true, false);
}

int ReplaceAllNoCase(char* text, size_t capacity, const char* oldText, const char* newText)
{
    return Replace(text, capacity, oldText, newText, true, true);
}

int InsertAt(char* text, size_t capacity, size_t position, const char* insert)
{
    if (!text)
        return 0;
    const size_t length = std::strlen(text);
    if (position > length || CharBoundaryAtOrBefore(text, position) != position)
        return 0;
    if (!insert || !*insert)
        return 1;
    const size_t insertLength = std::strlen(insert);
    if (length + insertLength + 1 > capacity)
        return 0;
    std::memmove(text + position + insertLength, text + position, length - position + 1);
    std::memcpy(text + position, insert, insertLength);
    return 1;
}

// ---- Skipping, trimming and cutting ------------------------------------------------

const char* SkipChar(const char* text, char c)
{
    if (!text)
        return nullptr;
    while (IsSingle(text, c))
        ++text;
    return text;
}

char* TrimRightChar(char* text, char c)
{
    if (!text)
        return nullptr;
    char* runStart = nullptr;
    for (char* p = text; *p; p += CharLengthAt(p)) {
        if (IsSingle(p, c)) {
            if (!runStart)
                runStart = p;
        } else {
            runStart = nullptr;
        }
    }
    if (runStart)
        *runStart = 0;
    return text;
}

int HasChar(const char* set, char c)
{
    if (!set || c == 0)
        return 0;
    return std::strchr(set, c) ? 1 : 0;
}

const char* SkipCharsIn(const char* text, const char* set)
{
    if (!text)
        return nullptr;
    while (CharLengthAt(text) == 1 && HasChar(set, *text))
        ++text;
    return text;
}

char* TrimRightCharsIn(char* text, const char* set)
{
    if (!text)
        return nullptr;
    char* runStart = nullptr;
    for (char* p = text; *p; p += CharLengthAt(p)) {
        if (CharLengthAt(p) == 1 && HasChar(set, *p)) {
            if (!runStart)
                runStart = p;
        } else {
            runStart = nullptr;
        }
    }
    if (runStart)
        *runStart = 0;
    return text;
}

namespace {

// What follows the first openChar (the whole text when openChar is 0); NULL
// when there is no such character or nothing follows it.
char* AfterOpening(char* text, char openChar)
{
    if (!text)
        return nullptr;
    char* p = text;
    if (openChar) {
        p = const_cast<char*>(FindChar(text, openChar));
        if (!p)
            return nullptr;
        ++p;
    }
    return *p ? p : nullptr;
}

}  // namespace

char* CutBetween(char* text, char startChar, char endChar)
{
    char* p = AfterOpening(text, startChar);
    if (!p)
        return nullptr;
    if (char* end = const_cast<char*>(FindChar(p, endChar)))
        *end = 0;
    return p;
}

char* Bracketed(char* text, char openChar, char closeChar)
{
    char* p = AfterOpening(text, openChar);
    if (!p)
        return nullptr;
    char* end = const_cast<char*>(FindChar(p, closeChar));
    if (!end)
        return nullptr;
    *end = 0;
    return p;
}

char* CutAtChar(char* text, char c)
{
    if (char* at = const_cast<char*>(FindChar(text, c)))
        *at = 0;
    return text;
}

const char* AfterChar(const char* text, char c)
{
    if (!text)
        return nullptr;
    const char* at = FindChar(text, c);
    return at ? at + 1 : text + std::strlen(text);
}

// ---- Readers of a packed stream ----------------------------------------------------

namespace {
// Length of the string at source, or -1 when no zero lies before end.
ptrdiff_t BoundedStringLength(const char* source, const char* end)
{
    if (!end)
        return static_cast<ptrdiff_t>(std::strlen(source));
    if (end <= source)
        return -1;
    const void* zero = std::memchr(source, 0, static_cast<size_t>(end - source));
    return zero ? static_cast<const char*>(zero) - source : -1;
}
}  // namespace

const char* ReadToken(const char* source, char* out, size_t size, const char* end)
{
    if (out && size)
        out[0] = 0;
    if (!source)
        return nullptr;
    const ptrdiff_t length = BoundedStringLength(source, end);
    if (length < 0)
        return nullptr;
    if (out && size) {
        const size_t copied = CharBoundaryAtOrBefore(source, std::min(static_cast<size_t>(length), size - 1));
        std::memcpy(out, source, copied);
        out[copied] = 0;
    }
    return source + length + 1;
}

const char* ReadIntToken(const char* source, int32_t* value, const char* end)
{
    if (value)
        *value = 0;
    if (!source)
        return nullptr;
    const ptrdiff_t length = BoundedStringLength(source, end);
    if (length < 0)
        return nullptr;
    if (value)
        *value = ReadSignedDecimal(source);
    return source + length + 1;
}

const char* ReadU32(const char* source, uint32_t* value, const char* end)
{
    if (value)
        *value = 0;
    if (!source || (end && end - source < 4))
        return nullptr;
    const unsigned char* b = reinterpret_cast<const unsigned char*>(source);
    if (value)
        *value = b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24);
    return source + 4;
}

int CompareInts(const void* a, const void* b)
{
    const int64_t difference = static_cast<int64_t>(*static_cast<const int32_t*>(a)) -
                               *static_cast<const int32_t*>(b);
    if (difference > INT_MAX)
        return 1;
    if (difference < INT_MIN)
        return -1;
    return static_cast<int>(difference);
}

void XorBytes(void* buffer, int length, uint8_t value)
{
    if (!buffer)
        return;
    unsigned char* p = static_cast<unsigned char*>(buffer);
    const size_t n = length < 1 ? std::strlen(static_cast<const char*>(buffer)) : static_cast<size_t>(length);
    for (size_t i = 0; i < n; ++i)
        p[i] ^= value;
}

// ---- Joined blocks and growable buffers ------------------------------------------

uint8_t* JoinPieces(JoinPiece* pieces)
{
    if (!pieces)
        return nullptr;
    CByteBuffer buffer;
    for (const JoinPiece* piece = pieces; piece->length != 0; ++piece) {
        bool ok;
        if (!piece->data)
            ok = buffer.AppendOrZero(nullptr, 0);
        else if (piece->length < 0)
            ok = buffer.Append(piece->data, static_cast<uint32_t>(std::strlen(static_cast<const char*>(piece->data)) + 1));
        else
            ok = buffer.Append(piece->data, static_cast<uint32_t>(piece->length));
        if (!ok)
            return nullptr;
    }
    const uint32_t total = buffer.Size();
    uint8_t* block = buffer.Detach();
    if (!block)
        block = static_cast<uint8_t*>(gpMalloc(1));   // an empty list still gives a block
    if (block)
        pieces[0].totalLength = total;
    return block;
}

int BufferAppend1(uint8_t** data, uint32_t* used, uint32_t* capacity, const void* p1, int32_t n1,
                  uint32_t growStep)
{
    const BufferPiece pieces[] = {{p1, n1}};
    return AppendPieces(data, used, capacity, pieces, 1, growStep);
}

int BufferAppend2(uint8_t** data, uint32_t* used, uint32_t* capacity, const void* p1, int32_t n1,
                  const void* p2, int32_t n2, uint32_t growStep)
{
    const BufferPiece pieces[] = {{p1, n1}, {p2, n2}};
    return AppendPieces(data, used, capacity, pieces, 2, growStep);
}

int BufferAppend3(uint8_t** data, uint32_t* used, uint32_t* capacity, const void* p1, int32_t n1,
                  const void* p2, int32_t n2, const void* p3, int32_t n3, uint32_t growStep)
{
    const BufferPiece pieces[] = {{p1, n1}, {p2, n2}, {p3, n3}};
    return AppendPieces(data, used, capacity, pieces, 3, growStep);
}
