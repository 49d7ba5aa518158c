// ODTipMarkup.cpp - reader and two-pass layout of the tooltip mark-up.
#include "ODTipMarkup.h"

#include <errno.h>
#include <stdlib.h>

#include <algorithm>

namespace odtip {

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
bool Skipped(char c) { return c == '\t' || c == '\n' || c == '\r'; }

int64_t Clamp64(int64_t v, int64_t lo, int64_t hi) { return v < lo ? lo : (v > hi ? hi : v); }
int ClampCoord(int64_t v) { return static_cast<int>(Clamp64(v, -kMaxCoord, kMaxCoord)); }

// A value: leading blanks skipped, then up to a blank or ">" (tabs, line
// feeds and carriage returns left out).
std::string ReadValue(const std::string& text, size_t& pos)
{
    std::string value;
    while (pos < text.size()) {
        const char c = text[pos];
        if (c == '>')
            break;
        if (Skipped(c)) {
            ++pos;
            continue;
        }
        if (c == ' ') {
            if (!value.empty())
                break;
            ++pos;
            continue;
        }
        value += c;
        ++pos;
    }
    return value;
}

// A name: up to a blank (after at least one character), "=" or ">".
std::string ReadName(const std::string& text, size_t& pos)
{
    std::string name;
    while (pos < text.size()) {
        const char c = text[pos];
        if (c == '>' || c == '=')
            break;
        if (Skipped(c)) {
            ++pos;
            continue;
        }
        if (c == ' ') {
            if (!name.empty())
                break;
            ++pos;
            continue;
        }
        name += Lower(c);
        ++pos;
    }
    return name;
}

// The tag after "<" at pos; false (pos at the end) when it never ends.
bool ReadTag(const std::string& text, size_t& pos, Tag& tag)
{
    tag.name = ReadName(text, pos);
    if (!tag.name.empty() && tag.name[0] == '/') {
        tag.closing = true;
        tag.name.erase(0, 1);
    }
    if (pos < text.size() && text[pos] == '=') {
        ++pos;
        tag.hasValue = true;
        tag.value = ReadValue(text, pos);
    }
    while (pos < text.size() && text[pos] != '>') {
        const size_t before = pos;
        std::string name = ReadName(text, pos);
        if (pos < text.size() && text[pos] == '=') {
            ++pos;
            std::string value = ReadValue(text, pos);
            if (!name.empty())
                tag.attributes.emplace_back(std::move(name), std::move(value));
        }
        if (pos == before)  // a stray character the readers do not take
            ++pos;
    }
    if (pos >= text.size())
        return false;
    ++pos;  // ">"
    return true;
}

}  // namespace

const std::string* Tag::Attribute(const char* lowerName) const
{
    for (const auto& a : attributes)
        if (a.first == lowerName)
            return &a.second;
    return nullptr;
}

long ParseNumber(const std::string& value, long def)
{
    if (value.empty())
        return def;
    const char* s = value.c_str();
    char* end = nullptr;
    errno = 0;
    long v = strtol(s, &end, 0);
    if (end == s)
        return def;
    if (errno == ERANGE)
        v = v < 0 ? -0x7FFFFFFFL : 0x7FFFFFFFL;
    return v;
}

Element NextElement(const std::string& text, size_t& pos)
{
    Element e;
    while (pos < text.size()) {
        const char c = text[pos];
        if (c == '\t' || c == '\n') {
            ++pos;
            e.kind = Element::Markup;
            e.tag.name = c == '\t' ? "t" : "br";
            return e;
        }
        if (c == '<' && !(pos + 1 < text.size() && text[pos + 1] == '<')) {
            ++pos;
            Tag tag;
            if (!ReadTag(text, pos, tag)) {
                pos = text.size();
                e.kind = Element::End;
                return e;
            }
            e.kind = Element::Markup;
            e.tag = std::move(tag);
            return e;
        }
        // A run: up to a single "<", a tab, a line feed or the end.
        std::string run;
        while (pos < text.size()) {
            const char d = text[pos];
            if (d == '\t' || d == '\n')
                break;
            if (d == '<') {
                if (pos + 1 < text.size() && text[pos + 1] == '<') {
                    run += '<';
                    pos += 2;
                    continue;
                }
                break;
            }
            if (d != '\r')
                run += d;
            ++pos;
        }
        if (!run.empty()) {
            e.kind = Element::Text;
            e.text = std::move(run);
            return e;
        }
    }
    e.kind = Element::End;
    return e;
}

// ---- Layout ------------------------------------------------------------------------------------

namespace {

struct State
{
    Canvas& canvas;
    const Rect& rect;
    bool measuring;
    const uint32_t* palette;
    Lines& lines;

    FontStyle style;
    int baseWeight = 400;
    int fontHeight = 0;
    int averageWidth = 0;
    int64_t x = 0;
    int64_t top = 0;
    size_t line = 0;
    int lineHeight = 0;
    int align = 0;
    bool startOfLine = true;
    int64_t widest = 0;
    std::vector<int64_t> percent;
    uint32_t textColour = 0;
    uint32_t background = 0;
    bool opaque = false;

    State(Canvas& c, const Rect& r, bool m, const uint32_t* p, Lines& l)
        : canvas(c), rect(r), measuring(m), palette(p), lines(l)
    {
    }

    void SetFontStyle() { canvas.SetFontStyle(style, &fontHeight, &averageWidth); }

    // The stored height of the current line (drawing pass), else the running one.
    void StartLineHeight()
    {
        lineHeight = fontHeight;
        if (!measuring && line < lines.heights.size())
            lineHeight = static_cast<int>(std::min<unsigned>(lines.heights[line], kMaxCoord));
    }

    // At the start of a line in the drawing pass, x goes where the alignment
    // puts a line of the stored width.
    void AlignLine()
    {
        if (measuring || !startOfLine)
            return;
        const int64_t width = line < lines.widths.size() ? lines.widths[line] : 0;
        if (align == 1)
            x = rect.left + (static_cast<int64_t>(rect.right) - rect.left - width) / 2;
        else if (align == 2)
            x = rect.right - width;
        else
            x = rect.left;
        x = ClampCoord(x);
    }

    int Bottom(int height) const { return ClampCoord(top + lineHeight - height); }

    void Break(long n)
    {
        if (n <= 0)
            n = 1;
        n = std::min<long>(n, kMaxRepeat);
        if (measuring) {
            const int64_t width = std::max<int64_t>(0, x - rect.left);
            if (lines.widths.size() <= line) {
                lines.widths.resize(line + 1, 0);
                lines.heights.resize(line + 1, 0);
            }
            lines.widths[line] = static_cast<unsigned>(width);
            lines.heights[line] = static_cast<unsigned>(std::max(lineHeight, 0));
            widest = std::max(widest, width);
        }
        top = ClampCoord(top + static_cast<int64_t>(n) * lineHeight);
        ++line;
        x = rect.left;
        StartLineHeight();
        startOfLine = true;
    }

    void Run(const std::string& run)
    {
        AlignLine();
        const Size e = canvas.TextExtent(run);
        if (measuring)
            lineHeight = std::max(lineHeight, e.cy);
        else
            canvas.DrawRun(ClampCoord(x), Bottom(e.cy), run, textColour, opaque, background);
        x = ClampCoord(x + std::max(0, e.cx));
        startOfLine = false;
    }

    void Tab(long n)
    {
        const int64_t stop = 4 * static_cast<int64_t>(averageWidth);
        if (stop <= 0)
            return;
        if (n <= 0)
            n = 1;
        n = std::min<long>(n, kMaxRepeat);
        const int64_t rel = x - rect.left;
        int64_t k = rel / stop;
        if (rel < 0 && rel % stop != 0)
            --k;  // round down
        x = ClampCoord(rect.left + (k + n) * stop);
        startOfLine = false;
    }

    void Rule(const Tag& tag)
    {
        const std::string& v = tag.value;
        const bool isPercent = !v.empty() && v.back() == '%';
        const long amount = Clamp64(ParseNumber(v, 100), 0, kMaxExtent);
        AlignLine();
        int64_t width = amount;
        if (isPercent) {
            if (measuring) {
                if (percent.size() <= line)
                    percent.resize(line + 1, 0);
                percent[line] = std::min<int64_t>(percent[line] + amount, kMaxExtent);
                width = 0;
            } else {
                width = (static_cast<int64_t>(rect.right) - rect.left) * amount / 100;
            }
        }
        width = Clamp64(width, 0, kMaxCoord);
        if (!measuring && width > 0)
            canvas.DrawRule(ClampCoord(x), ClampCoord(x + width), ClampCoord(top + lineHeight / 2), textColour);
        x = ClampCoord(x + width);
        startOfLine = false;
    }

    void Image(const ImageRef& image)
    {
        Size s;
        if (!canvas.ImageSize(image, &s))
            return;
        s.cx = static_cast<int>(Clamp64(s.cx, 0, kMaxExtent));
        s.cy = static_cast<int>(Clamp64(s.cy, 0, kMaxExtent));
        AlignLine();
        if (measuring)
            lineHeight = std::max(lineHeight, s.cy);
        else
            canvas.DrawImage(image, ClampCoord(x), Bottom(s.cy), s.cx, s.cy);
        x = ClampCoord(x + s.cx);
        startOfLine = false;
    }

    static int Extent(const Tag& tag, const char* name)
    {
        const std::string* v = tag.Attribute(name);
        return v ? static_cast<int>(Clamp64(ParseNumber(*v, 0), 0, kMaxExtent)) : 0;
    }

    // The palette entry of the tag's index, or false for an index outside 0..24.
    bool PaletteEntry(const Tag& tag, long def, uint32_t* colour) const
    {
        const long index = ParseNumber(tag.value, def);
        if (index < 0 || index >= kPaletteSize)
            return false;
        *colour = palette[index];
        return true;
    }

    void Apply(const Tag& tag)
    {
        const std::string& n = tag.name;
        if (n == "b" || n == "i" || n == "u" || n == "s") {
            if (n == "b")
                style.weight = tag.closing ? baseWeight : std::min(baseWeight * 2, 900);
            else if (n == "i")
                style.italic = !tag.closing;
            else if (n == "u")
                style.underline = !tag.closing;
            else
                style.strikeOut = !tag.closing;
            SetFontStyle();
        } else if (n == "br") {
            if (!tag.closing)
                Break(ParseNumber(tag.value, 1));
        } else if (n == "t") {
            if (!tag.closing)
                Tab(ParseNumber(tag.value, 1));
        } else if (n == "ct") {
            textColour = static_cast<uint32_t>(ParseNumber(tag.value, palette[kPaletteFg])) & 0x00FFFFFFu;
        } else if (n == "cti") {
            PaletteEntry(tag, kPaletteFg, &textColour);
        } else if (n == "cb") {
            background = static_cast<uint32_t>(ParseNumber(tag.value, palette[kPaletteBkBegin])) & 0x00FFFFFFu;
            opaque = !tag.closing;
        } else if (n == "cbi") {
            if (PaletteEntry(tag, kPaletteBkBegin, &background))
                opaque = !tag.closing;
        } else if (n == "al" || n == "al_l") {
            if (!measuring)
                align = 0;
        } else if (n == "al_c" || n == "al_r") {
            if (!measuring && !tag.closing)
                align = n == "al_c" ? 1 : 2;
        } else if (tag.closing) {
            // the closing forms of rules and images do nothing
        } else if (n == "hr") {
            Rule(tag);
        } else if (n == "img" || n == "ilst" || n == "bmp" || n == "icon") {
            ImageRef image;
            image.cx = Extent(tag, "cx");
            image.cy = Extent(tag, "cy");
            if (n == "img") {
                image.kind = ImageRef::Named;
                image.name = tag.value;
            } else if (n == "ilst") {
                image.kind = ImageRef::ListImage;
                image.id = ParseNumber(tag.value, 0);
            } else if (n == "bmp") {
                image.kind = ImageRef::Bitmap;
                image.id = ParseNumber(tag.value, 0);
                if (const std::string* mask = tag.Attribute("mask")) {
                    image.hasMask = true;
                    image.mask = static_cast<uint32_t>(ParseNumber(*mask, 0xFF00FF)) & 0x00FFFFFFu;
                }
            } else {
                image.kind = ImageRef::Icon;
                image.id = ParseNumber(tag.value, 0);
            }
            Image(image);
        }
    }
};

}  // namespace

Size Layout(Canvas& canvas, const Rect& rect, const std::string& text, bool measuring, const uint32_t* palette,
            const FontStyle& baseStyle, Lines& lines)
{
    if (measuring) {
        lines.widths.clear();
        lines.heights.clear();
    }
    if (text.empty())
        return Size();

    State s(canvas, rect, measuring, palette, lines);
    s.style = baseStyle;
    s.baseWeight = baseStyle.weight > 0 ? baseStyle.weight : 400;
    s.style.weight = s.baseWeight;
    s.textColour = palette[kPaletteFg];
    s.background = palette[kPaletteBkBegin];
    s.x = rect.left;
    s.top = rect.top;
    s.SetFontStyle();
    s.StartLineHeight();

    size_t pos = 0;
    for (;;) {
        const Element e = NextElement(text, pos);
        if (e.kind == Element::End) {
            s.Break(1);
            break;
        }
        if (e.kind == Element::Text)
            s.Run(e.text);
        else
            s.Apply(e.tag);
    }

    if (measuring) {
        for (size_t i = 0; i < s.percent.size() && i < lines.widths.size(); ++i) {
            // MulDiv: rounded to the nearest pixel
            const int64_t grown = lines.widths[i] + (s.widest * s.percent[i] + 50) / 100;
            lines.widths[i] = static_cast<unsigned>(std::min<int64_t>(grown, kMaxCoord));
        }
    }
    Size size;
    size.cx = static_cast<int>(std::min<int64_t>(s.widest, kMaxCoord));
    size.cy = static_cast<int>(Clamp64(s.top - rect.top, 0, kMaxCoord));
    return size;
}

}  // namespace odtip
