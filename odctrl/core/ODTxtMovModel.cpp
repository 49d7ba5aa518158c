// ODTxtMovModel.cpp - moving-text content readers and marquee arithmetic.
#include "ODTxtMovModel.h"

#include <limits.h>
#include <math.h>
#include <string.h>

#include "ODThemeValues.h"

namespace odtxt {

namespace {

const float kMaxOffset = 16777216.0f;  // 2^24

bool IsNameChar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualNoCase(const std::string& a, const char* b)
{
    const size_t n = strlen(b);
    if (a.size() != n)
        return false;
    for (size_t i = 0; i < n; ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return true;
}

// The value of attribute name in head: the first whole-word occurrence of
// the name followed (after spaces) by '='; the value runs from after '=' and
// its spaces to the next space or the end. False when absent.
bool FindAttribute(const std::string& head, const char* name, std::string* value)
{
    const size_t n = strlen(name);
    for (size_t at = head.find(name); at != std::string::npos; at = head.find(name, at + 1)) {
        if (at > 0 && IsNameChar(head[at - 1]))
            continue;
        if (at + n < head.size() && IsNameChar(head[at + n]))
            continue;
        size_t p = at + n;
        while (p < head.size() && head[p] == ' ')
            ++p;
        if (p >= head.size() || head[p] != '=')
            return false;  // the name without "=": the attribute counts as absent
        ++p;
        while (p < head.size() && head[p] == ' ')
            ++p;
        const size_t end = head.find(' ', p);
        *value = head.substr(p, end == std::string::npos ? std::string::npos : end - p);
        return true;
    }
    return false;
}

int IntAttribute(const std::string& head, const char* name, int fallback)
{
    std::string v;
    return FindAttribute(head, name, &v) ? odtheme::ReadInt(v.c_str()) : fallback;
}

int Saturate(long long v) { return v > INT_MAX ? INT_MAX : (v < INT_MIN ? INT_MIN : static_cast<int>(v)); }

// A decimal number with an optional fraction and exponent (as atof reads a
// decimal text); 0 for anything else. Never infinite or NaN.
float ReadSpeed(const std::string& text)
{
    const char* p = text.c_str();
    while (*p == ' ' || *p == '\t')
        ++p;
    double sign = 1;
    if (*p == '+' || *p == '-') {
        sign = *p == '-' ? -1 : 1;
        ++p;
    }
    double value = 0;
    bool digits = false;
    while (*p >= '0' && *p <= '9') {
        if (value < 1e12)
            value = value * 10 + (*p - '0');
        digits = true;
        ++p;
    }
    if (*p == '.') {
        ++p;
        double scale = 0.1;
        while (*p >= '0' && *p <= '9') {
            value += (*p - '0') * scale;
            scale *= 0.1;
            digits = true;
            ++p;
        }
    }
    if (!digits)
        return static_cast<float>(odtheme::ReadInt(text.c_str()));
    if (*p == 'e' || *p == 'E') {
        const int e = odtheme::ReadInt(p + 1);
        const int clamped = e > 40 ? 40 : (e < -40 ? -40 : e);
        value *= pow(10.0, clamped);
    }
    value *= sign;
    if (value == 0)
        value = odtheme::ReadInt(text.c_str());
    if (value > kMaxSpeed)
        value = kMaxSpeed;
    if (value < -kMaxSpeed)
        value = -kMaxSpeed;
    return static_cast<float>(value);
}

Row NewRow(int pos, int align)
{
    Row r;
    r.pos = pos;
    r.align = align;
    return r;
}

Cell PlainCell(const std::string& text)
{
    Cell c;
    c.text = text;
    c.kind = kPlain;
    return c;
}

// "www." or "http" at p (any case).
bool StartsLink(const char* p)
{
    static const char* const kStarts[] = {"www.", "http"};
    for (const char* s : kStarts) {
        bool match = true;
        for (int i = 0; i < 4 && match; ++i)
            match = Lower(p[i]) == s[i];
        if (match)
            return true;
    }
    return false;
}

bool EndsLink(unsigned char c) { return c == 0 || c == ' ' || c == ',' || c == ')' || c >= 0x80; }

// One line of plain text with links as a row.
Row LineRow(const std::string& line, int pos, int align)
{
    Row row = NewRow(pos, align);
    size_t plainStart = 0;
    size_t i = 0;
    while (i + 5 <= line.size()) {
        if (!StartsLink(line.c_str() + i)) {
            ++i;
            continue;
        }
        if (i > plainStart)
            row.cells.push_back(PlainCell(line.substr(plainStart, i - plainStart)));
        size_t end = i;
        while (end < line.size() && !EndsLink(static_cast<unsigned char>(line[end])))
            ++end;
        Cell link;
        link.text = link.href = line.substr(i, end - i);
        link.kind = kLink;
        row.cells.push_back(link);
        i = plainStart = end;
    }
    if (plainStart < line.size())
        row.cells.push_back(PlainCell(line.substr(plainStart)));
    if (row.cells.empty())
        row.cells.push_back(PlainCell(" "));
    return row;
}

}  // namespace

Rows ParsePlainLines(const char* text, int defaultPos, int defaultAlign)
{
    Rows rows;
    const std::string all = text ? text : "";
    size_t start = 0;
    for (;;) {
        const size_t nl = all.find('\n', start);
        const std::string piece = all.substr(start, nl == std::string::npos ? std::string::npos : nl - start);
        Row row = NewRow(defaultPos, defaultAlign);
        row.cells.push_back(PlainCell(piece.empty() ? " " : piece));
        rows.push_back(row);
        if (nl == std::string::npos)
            break;
        start = nl + 1;
    }
    return rows;
}

Rows ParsePlainWithLinks(const char* text, int defaultPos, int defaultAlign)
{
    Rows rows;
    const std::string all = text ? text : "";
    std::string line;
    size_t i = 0;
    for (;;) {
        if (i >= all.size()) {
            rows.push_back(LineRow(line, defaultPos, defaultAlign));
            break;
        }
        const char c = all[i];
        size_t breakLength = 0;
        if (c == '\r' || c == '\n') {
            breakLength = 1;
            const char next = i + 1 < all.size() ? all[i + 1] : '\0';
            if ((c == '\r' && next == '\n') || (c == '\n' && next == '\r'))
                breakLength = 2;
        } else if (c == '\\' && i + 1 < all.size() && all[i + 1] == 'n') {
            breakLength = 2;
        }
        if (breakLength) {
            rows.push_back(LineRow(line, defaultPos, defaultAlign));
            line.clear();
            i += breakLength;
            continue;
        }
        line += c;
        ++i;
    }
    return rows;
}

Rows ParseMarkup(const char* text, int defaultPos, int defaultAlign)
{
    const std::string all = text ? text : "";
    Rows rows;
    if (all.find("<TR") != std::string::npos) {
        size_t from = 0;
        for (;;) {
            const size_t open = all.find("<TR", from);
            if (open == std::string::npos)
                break;
            const size_t close = all.find("</TR>", open + 3);
            if (close == std::string::npos)
                break;
            from = close + 5;
            const std::string inside = all.substr(open + 3, close - (open + 3));
            const size_t gt = inside.find('>');
            if (gt == std::string::npos)
                continue;
            const std::string head = inside.substr(0, gt);
            Row row = NewRow(ClampPos(IntAttribute(head, "Pos", 0)), kAlignLeft);
            std::string align;
            if (FindAttribute(head, "Align", &align)) {
                if (EqualNoCase(align, "LEFT"))
                    row.align = kAlignLeft;
                else if (EqualNoCase(align, "CENTER"))
                    row.align = kAlignCenter;
                else if (EqualNoCase(align, "RIGHT"))
                    row.align = kAlignRight;
            }
            std::string speed;
            if (FindAttribute(head, "MovingPos", &speed))
                row.speed = ReadSpeed(speed);
            row.maxOffset = ClampPos(IntAttribute(head, "MaxOffset", 0));

            const std::string rest = inside.substr(gt + 1);
            size_t cellFrom = 0;
            for (;;) {
                const size_t cellOpen = rest.find("<TD", cellFrom);
                if (cellOpen == std::string::npos)
                    break;
                const size_t cellClose = rest.find("</TD>", cellOpen + 3);
                if (cellClose == std::string::npos)
                    break;
                cellFrom = cellClose + 5;
                const std::string cellInside = rest.substr(cellOpen + 3, cellClose - (cellOpen + 3));
                const size_t cellGt = cellInside.find('>');
                if (cellGt == std::string::npos)
                    continue;
                const std::string cellHead = cellInside.substr(0, cellGt);
                Cell cell;
                cell.text = cellInside.substr(cellGt + 1);
                cell.pos = ClampPos(IntAttribute(cellHead, "Pos", 0));
                FindAttribute(cellHead, "href", &cell.href);
                FindAttribute(cellHead, "ToolTip", &cell.tooltip);
                std::string colour;
                if (FindAttribute(cellHead, "TextColor", &colour))
                    cell.textColor = ParseColorTriple(colour);
                if (FindAttribute(cellHead, "FocusColor", &colour))
                    cell.focusColor = ParseColorTriple(colour);
                if (FindAttribute(cellHead, "VisitedColor", &colour))
                    cell.visitedColor = ParseColorTriple(colour);
                cell.kind = cell.href.empty() ? kPlain : kLink;
                row.cells.push_back(cell);
            }
            rows.push_back(row);
        }
    }
    if (rows.empty())
        return ParsePlainWithLinks(text, defaultPos, defaultAlign);
    return rows;
}

std::string PlainText(const Rows& rows)
{
    std::string out;
    for (size_t r = 0; r < rows.size(); ++r) {
        if (r > 0)
            out += '\n';
        for (const Cell& c : rows[r].cells)
            out += c.text;
    }
    return out;
}

uint32_t ParseColorTriple(const std::string& value)
{
    int channels[3];
    size_t start = 0;
    for (int i = 0; i < 3; ++i) {
        const size_t comma = value.find(',', start);
        if ((i < 2) != (comma != std::string::npos))
            return kNoColor;  // not exactly three parts
        const std::string part = value.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        const char* p = part.c_str();
        while (*p == ' ')
            ++p;
        if (*p == '+' || *p == '-')
            ++p;
        if (*p < '0' || *p > '9')
            return kNoColor;
        channels[i] = odtheme::ReadInt(part.c_str()) & 255;
        start = comma + 1;
    }
    return static_cast<uint32_t>(channels[0]) | static_cast<uint32_t>(channels[1]) << 8 |
           static_cast<uint32_t>(channels[2]) << 16;
}

// ---- Marquee arithmetic ----------------------------------------------------------

int WrapDistance(int extra, int space, int extent)
{
    const long long w = static_cast<long long>(extra) + (space > extent ? space : extent);
    if (w > kMaxOffset)
        return static_cast<int>(kMaxOffset);
    if (w < -kMaxOffset)
        return -static_cast<int>(kMaxOffset);
    return static_cast<int>(w);
}

float WrapOffset(float offset, int wrap)
{
    if (!isfinite(offset))
        return 0;
    const float whole = truncf(offset);
    return fabsf(whole) > static_cast<float>(wrap) ? 0.0f : offset;
}

Places PlaceRun(float offset, int origin, int wrap)
{
    const long long shift = static_cast<long long>(truncf(isfinite(offset) ? offset : 0.0f));
    const long long first = static_cast<long long>(origin) + shift;
    return Places{Saturate(first), Saturate(offset > 0 ? first - wrap : first + wrap)};
}

int AlignShift(int align, int space, int extent)
{
    const long long gap = static_cast<long long>(space) - extent;
    if (align == kAlignCenter)
        return Saturate(gap / 2);
    if (align == kAlignRight)
        return Saturate(gap);
    return 0;
}

float Advance(float offset, float speed)
{
    if (!isfinite(offset) || !isfinite(speed))
        return 0;
    float v = offset + speed;
    if (v > kMaxOffset)
        v = kMaxOffset;
    if (v < -kMaxOffset)
        v = -kMaxOffset;
    return v;
}

}  // namespace odtxt
