// ODThemeValues.cpp - the theme value grammar on plain text.
#include "ODThemeValues.h"

#include <limits.h>
#include <stdarg.h>
#include <string.h>

#include <string>
#include <vector>

namespace odtheme {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// atoi from *p, moving p past what was read; held at int's range.
int ReadIntAt(const char*& p, bool* sawDigits = nullptr)
{
    while (IsBlank(*p))
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    long long value = 0;
    bool digits = false;
    while (IsDigit(*p)) {
        digits = true;
        if (value <= static_cast<long long>(INT_MAX) + 1)
            value = value * 10 + (*p - '0');
        ++p;
    }
    if (sawDigits)
        *sawDigits = digits;
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

// The byte count of text[0..length) cut to at most limit bytes without
// splitting a double-byte character.
size_t CutLength(const char* text, size_t length, size_t limit)
{
    if (length <= limit)
        return length;
    size_t i = 0;
    while (i < limit) {
        const size_t step = IsLeadByte936(static_cast<unsigned char>(text[i])) && i + 1 < length ? 2 : 1;
        if (i + step > limit)
            break;
        i += step;
    }
    return i;
}

}  // namespace

int ReadInt(const char* text)
{
    if (!text)
        return 0;
    const char* p = text;
    return ReadIntAt(p);
}

uint32_t ParseColor(const char* value, uint32_t fallback)
{
    if (!value || !*value)
        return fallback;
    const size_t length = CutLength(value, strlen(value), kColorValueBuffer - 1);
    const std::string text(value, length);
    const char* p = text.c_str();
    if (*p != '#')
        return static_cast<uint32_t>(ReadIntAt(p));
    // "#%d#%d#%d": each component follows its '#'; reading stops at the
    // first component that does not parse, the rest count as 0.
    int parts[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i) {
        if (*p != '#')
            break;
        ++p;
        bool digits = false;
        const int v = ReadIntAt(p, &digits);
        if (!digits)
            break;
        parts[i] = v;
    }
    return (static_cast<uint32_t>(parts[2]) << 16) | (static_cast<uint32_t>(parts[1]) << 8) |
           static_cast<uint32_t>(parts[0]);
}

int ParsePoint(const char* value, int* x, int* y)
{
    if (!value || *value != '(')
        return 0;
    const char* p = value + 1;
    bool digits = false;
    const int first = ReadIntAt(p, &digits);
    if (!digits)
        return 0;
    int count = 1;
    int second = 0;
    if (*p == ',') {
        ++p;
        const int v = ReadIntAt(p, &digits);
        if (digits) {
            second = v;
            count = 2;
        }
    }
    if (x)
        *x = first;
    if (y)
        *y = second;
    return count;
}

bool ParseSkinImageDesc(const char* text, SkinImageDesc* out)
{
    if (!text || !*text || !out)
        return false;
    std::vector<std::vector<char>> fields(7, std::vector<char>(kSkinFieldSize));
    char* outputs[7];
    for (int i = 0; i < 7; ++i)
        outputs[i] = fields[i].data();
    const int count = SplitFieldsInto(',', text, 7, kSkinFieldSize, outputs);
    if (count < 2)
        return false;
    SkinImageDesc d;
    d.kind = ReadInt(outputs[0]);
    memcpy(d.path, outputs[1], sizeof d.path);
    d.path[sizeof d.path - 1] = '\0';
    int* numbers[6] = {&d.id, &d.transparent, &d.cells, &d.states, &d.frames, &d.interval};
    for (int i = 1; i < 7 && i < count; ++i)
        *numbers[i - 1] = ReadInt(outputs[i]);
    *out = d;
    return true;
}

int SplitFieldsInto(char separator, const char* text, int maxFields, size_t fieldSize, char* const* outputs)
{
    if (maxFields <= 0)
        return 0;
    if (!text)
        text = "";
    int field = 0;
    const char* start = text;
    for (;;) {
        const char* end = strchr(start, separator);
        if (separator == '\0' || !end)
            end = start + strlen(start);
        if (field < maxFields && fieldSize > 0 && outputs && outputs[field]) {
            const size_t n = CutLength(start, static_cast<size_t>(end - start), fieldSize - 1);
            memcpy(outputs[field], start, n);
            outputs[field][n] = '\0';
        }
        ++field;
        if (*end == '\0')
            break;
        start = end + 1;
    }
    return field;
}

uint32_t ParseHex(const char* text)
{
    if (!text)
        return 0;
    const size_t length = strlen(text);
    uint32_t value = 0;
    for (size_t k = 0; k < length && k < 8; ++k) {
        const char c = text[length - 1 - k];
        uint32_t digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<uint32_t>(c - '0');
        else if (c >= 'A' && c <= 'F')
            digit = static_cast<uint32_t>(c - 'A' + 10);
        else if (c >= 'a' && c <= 'f')
            digit = static_cast<uint32_t>(c - 'a' + 10);
        else
            continue;
        value += digit << (4 * k);
    }
    return value;
}

bool ResolveResFile(const char* iniPath, const char* resFile, char* out, size_t size)
{
    if (!out || size == 0)
        return false;
    out[0] = '\0';
    if (!resFile)
        resFile = "";
    std::string result;
    if (strchr(resFile, '\\')) {
        result = resFile;
    } else {
        const char* slash = iniPath ? strrchr(iniPath, '\\') : nullptr;
        if (slash)
            result.assign(iniPath, static_cast<size_t>(slash - iniPath + 1));
        result += resFile;
    }
    if (result.size() + 1 > size)
        return false;
    memcpy(out, result.c_str(), result.size() + 1);
    return true;
}

}  // namespace odtheme

int ODSplitFields(char separator, const char* text, int maxFields, size_t fieldSize, ...)
{
    if (maxFields <= 0)
        return 0;
    std::vector<char*> outputs(static_cast<size_t>(maxFields));
    va_list args;
    va_start(args, fieldSize);
    for (int i = 0; i < maxFields; ++i)
        outputs[static_cast<size_t>(i)] = va_arg(args, char*);
    va_end(args);
    return odtheme::SplitFieldsInto(separator, text, maxFields, fieldSize, outputs.data());
}
