// LayoutValues.cpp - see LayoutValues.h.
#include "LayoutValues.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstring>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string Trim(const std::string& s)
{
    size_t a = 0, b = s.size();
    while (a < b && IsBlank(s[a]))
        a++;
    while (b > a && IsBlank(s[b - 1]))
        b--;
    return s.substr(a, b - a);
}

bool EqualNoCase(const std::string& a, const char* b)
{
    const size_t n = strlen(b);
    if (a.size() != n)
        return false;
    for (size_t i = 0; i < n; i++) {
        if (tolower(static_cast<unsigned char>(a[i])) != tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

// Reads a number at p (blanks, sign, digits); false without digits.
bool ReadNumber(const char*& p, int* value)
{
    while (IsBlank(*p))
        p++;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        p++;
    }
    if (!isdigit(static_cast<unsigned char>(*p)))
        return false;
    int64_t v = 0;
    while (isdigit(static_cast<unsigned char>(*p))) {
        if (v <= INT_MAX)
            v = v * 10 + (*p - '0');
        p++;
    }
    if (negative)
        v = -v;
    *value = static_cast<int>(std::max<int64_t>(INT_MIN, std::min<int64_t>(INT_MAX, v)));
    return true;
}

bool Expect(const char*& p, char c)
{
    while (IsBlank(*p))
        p++;
    if (*p != c)
        return false;
    p++;
    return true;
}

}  // namespace

std::string CutLayoutValue(const std::string& value, int bufferSize)
{
    const size_t limit = bufferSize > 0 ? static_cast<size_t>(bufferSize - 1) : 0;
    if (value.size() <= limit)
        return value;
    size_t i = 0;
    while (i < limit) {
        const unsigned char c = static_cast<unsigned char>(value[i]);
        const size_t step = (c >= 0x81 && c <= 0xFE) ? 2 : 1;
        if (i + step > limit)
            break;
        i += step;
    }
    return value.substr(0, i);
}

int ParseInt(const std::string& text)
{
    const char* p = text.c_str();
    int v = 0;
    return ReadNumber(p, &v) ? v : 0;
}

char FirstLetter(const std::string& text)
{
    for (char c : text) {
        if (!IsBlank(c))
            return static_cast<char>(toupper(static_cast<unsigned char>(c)));
    }
    return 0;
}

int ParseButtonKey(const std::string& text)
{
    static const struct
    {
        const char* word;
        int key;
    } kWords[] = {{"exit", 1}, {"max", 2},   {"min", 3},  {"help", 4},  {"setting", 5},
                  {"photo", 6}, {"mute", 7}, {"left", 1}, {"right", 2}};
    const std::string word = Trim(text);
    for (const auto& w : kWords) {
        if (EqualNoCase(word, w.word))
            return w.key;
    }
    return ParseInt(word);
}

int ParseAnchor(const std::string& letters)
{
    static const char* const kAnchors[] = {"LT", "RT", "LB", "RB", "CL", "CT", "CR", "CB"};
    const std::string a = Trim(letters);
    for (int i = 0; i < 8; i++) {
        if (EqualNoCase(a, kAnchors[i]))
            return i + 1;
    }
    return 0;
}

bool ParseColour(const std::string& text, uint32_t* colour)
{
    if (text.find(',') == std::string::npos)
        return false;
    int v[3] = {0, 0, 0};
    ParseNumbers(text, ',', v, 3);
    *colour = static_cast<uint32_t>(v[0] & 0xFF) | (static_cast<uint32_t>(v[1] & 0xFF) << 8) |
              (static_cast<uint32_t>(v[2] & 0xFF) << 16);
    return true;
}

bool ParseColourAfterComma(const std::string& text, uint32_t* colour)
{
    const size_t comma = text.find(',');
    if (comma == std::string::npos)
        return false;
    const char* p = text.c_str() + comma + 1;
    int v[3];
    if (!Expect(p, '(') || !ReadNumber(p, &v[0]) || !Expect(p, ',') || !ReadNumber(p, &v[1]) || !Expect(p, ',') ||
        !ReadNumber(p, &v[2]))
        return false;
    *colour = static_cast<uint32_t>(v[0] & 0xFF) | (static_cast<uint32_t>(v[1] & 0xFF) << 8) |
              (static_cast<uint32_t>(v[2] & 0xFF) << 16);
    return true;
}

int ParseNumbers(const std::string& text, char separator, int* values, int count)
{
    const char* p = text.c_str();
    int n = 0;
    while (n < count) {
        if (!ReadNumber(p, &values[n]))
            break;
        n++;
        if (n < count && !Expect(p, separator))
            break;
    }
    return n;
}

bool ParseRect(const std::string& text, AreaRect* rect)
{
    int v[4] = {0, 0, 0, 0};
    if (ParseNumbers(text, ',', v, 4) != 4)
        return false;
    *rect = AreaRect(v[0], v[1], v[2], v[3]);
    return true;
}

bool ParseButtonDef(const std::string& text, ButtonDef* def)
{
    const size_t comma = text.find(',');
    if (comma == std::string::npos)
        return false;
    ButtonDef s;
    s.key = ParseButtonKey(text.substr(0, comma));
    if (s.key == 0)
        return false;
    const char* p = text.c_str() + comma + 1;
    while (IsBlank(*p))
        p++;
    std::string anchor;
    while (*p != 0 && *p != ',' && anchor.size() < 2)
        anchor += *p++;
    s.anchor = ParseAnchor(anchor);
    int v[4];
    if (!Expect(p, ',') || !Expect(p, '(') || !ReadNumber(p, &v[0]) || !Expect(p, ',') || !ReadNumber(p, &v[1]) ||
        !Expect(p, ',') || !ReadNumber(p, &v[2]) || !Expect(p, ',') || !ReadNumber(p, &v[3]) || !Expect(p, ')') ||
        !Expect(p, ','))
        return false;
    s.rect = AreaRect(v[0], v[1], v[2], v[3]);
    s.picture = Trim(p);
    if (s.picture.empty())
        return false;
    *def = s;
    return true;
}

bool ParseCaptionPos(const std::string& text, CaptionPos* pos)
{
    const char side = FirstLetter(text);
    if (side != 'T' && side != 'B' && side != 'L' && side != 'R')
        return false;
    const size_t comma = text.find(',');
    if (comma == std::string::npos)
        return false;
    const int size = ParseInt(text.substr(comma + 1));
    if (size < 10)
        return false;
    pos->side = side;
    pos->size = size;
    return true;
}

AreaRect CaptionBand(const CaptionPos* pos, int w, int h, int defaultHeight)
{
    if (pos == nullptr || pos->size < 10)
        return AreaRect(0, 0, w, defaultHeight);
    const int n = pos->size;
    switch (pos->side) {
    case 'B': return AreaRect(0, h - n, w, h);
    case 'L': return AreaRect(0, 0, n, h);
    case 'R': return AreaRect(w - n, 0, w, h);
    default: return AreaRect(0, 0, w, n);
    }
}

AreaRect ClampAboutRect(const AreaRect& about, const AreaRect& band)
{
    AreaRect r = about;
    r.l = std::max(r.l, 0);
    r.t = std::max(r.t, 0);
    r.r = std::max(r.r, r.l);
    r.b = std::max(r.b, r.t);
    const int maxW = std::min(36, std::max(band.Width(), 0)), maxH = std::min(36, std::max(band.Height(), 0));
    if (static_cast<int64_t>(r.r) - r.l > maxW)
        r.r = r.l + maxW;
    if (static_cast<int64_t>(r.b) - r.t > maxH)
        r.b = r.t + maxH;
    return r;
}

void ParseCaptionFont(const std::string& text, CaptionFont* font)
{
    *font = CaptionFont();
    const size_t comma = text.find(',');
    font->face = CutLayoutValue(Trim(text.substr(0, comma)), 32);
    if (comma == std::string::npos)
        return;
    size_t start = comma + 1;
    size_t next = text.find(',', start);
    font->height = ParseInt(text.substr(start, next == std::string::npos ? std::string::npos : next - start));
    while (next != std::string::npos) {
        start = next + 1;
        next = text.find(',', start);
        const char c =
            FirstLetter(text.substr(start, next == std::string::npos ? std::string::npos : next - start));
        if (c == 'B')
            font->bold = true;
        else if (c == 'I')
            font->italic = true;
    }
}

bool ParseCaptionItem(const std::string& text, CaptionItem* item)
{
    const size_t c1 = text.find(',');
    if (c1 == std::string::npos)
        return false;
    CaptionItem it;
    it.anchor = Trim(text.substr(0, c1));
    const char* p = text.c_str() + c1 + 1;
    if (!ReadNumber(p, &it.x) || !Expect(p, ',') || !ReadNumber(p, &it.y))
        return false;
    if (Expect(p, ','))
        it.name = Trim(p);
    *item = it;
    return true;
}

void PlaceCaptionItem(const CaptionItem& item, const AreaRect& band, int w, int h, int* x, int* y)
{
    const char first = item.anchor.empty() ? 0 : static_cast<char>(toupper(static_cast<unsigned char>(item.anchor[0])));
    const char second =
        item.anchor.size() < 2 ? 0 : static_cast<char>(toupper(static_cast<unsigned char>(item.anchor[1])));
    if (first == 'M') {
        *x = band.l + (band.Width() - w) / 2;
        *y = band.t + (band.Height() - h) / 2;
        return;
    }
    const int64_t ix = first == 'R' ? static_cast<int64_t>(band.r) - w - item.x : static_cast<int64_t>(band.l) + item.x;
    const int64_t iy = second == 'B' ? static_cast<int64_t>(band.b) - h - item.y : static_cast<int64_t>(band.t) + item.y;
    *x = static_cast<int>(std::max<int64_t>(INT_MIN / 2, std::min<int64_t>(INT_MAX / 2, ix)));
    *y = static_cast<int>(std::max<int64_t>(INT_MIN / 2, std::min<int64_t>(INT_MAX / 2, iy)));
}

int ParseBackgroundMode(const std::string& text, uint32_t* colour)
{
    switch (FirstLetter(text)) {
    case 'S':
        *colour = 0;
        ParseColourAfterComma(text, colour);
        return kBkSolid;
    case 'P': return kBkTiled;
    case 'L': return kBkStretched;
    case 'C': return kBkCentred;
    default: return kBkNone;
    }
}
