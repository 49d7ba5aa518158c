// ODTipMarkup.h - the rich tooltip's mark-up language and its layout, apart
// from any window: the reader that cuts a text into runs and tags, and the
// one routine that measures a text (first pass) and lays it out for drawing
// (second pass). CODTooltip (ODTooltip.h) supplies fonts, extents and
// images through a Canvas and draws what the second pass hands it.
//
// The language: plain runs and tags "<name value attr=value ...>". "<<" is a
// literal "<"; a carriage return is dropped everywhere; a tab or a line feed
// in the text acts as "<t>" or "<br>". A "/" before the name closes; names
// are compared without regard to case; tabs, line feeds and carriage returns
// inside a tag are skipped. A value ends at a blank (after at least one
// character) or at ">"; numbers are read with base detection (0x.., 0..);
// an empty or missing value gives the tag's default. Unknown tags are
// skipped. A tag that never ends (no ">") is dropped. The end of the text
// acts as a final line break.
//
// Tags: b i u s (font styles), br [1], t [1] (tab stops every four average
// character widths), ct [palette 16] cti [16] (text colour), cb [palette 17]
// cbi [17] (text background; opening makes it opaque, closing transparent),
// al al_l al_c al_r (alignment; drawing pass only), hr [100 or "n%"], img
// (a named image; cx, cy), ilst [0] (image list), bmp [0] (bitmap; mask,
// cx, cy), icon [0] (cx, cy). Palette indexes outside 0..24 (negative ones
// too) change nothing.
//
// Coordinates are device pixels. Counts and distances that come from the
// text are held at kMaxRepeat and kMaxExtent so no arithmetic overflows.
#pragma once

#include <stdint.h>

#include <string>
#include <utility>
#include <vector>

namespace odtip {

const int kPaletteSize = 25;
const int kPaletteFg = 16;       // ColorFg
const int kPaletteBkBegin = 17;  // ColorBkBegin
// Largest "br" or "t" count and largest width or height a tag may ask for.
const int kMaxRepeat = 1000;
const int kMaxExtent = 1 << 16;
// Places beyond this (either way) are held at it.
const int kMaxCoord = 1 << 24;

// ---- Reader ------------------------------------------------------------------------------------

struct Tag
{
    std::string name;  // lower case
    bool closing = false;
    bool hasValue = false;
    std::string value;
    std::vector<std::pair<std::string, std::string>> attributes;  // name lower case, value

    // The attribute's value; NULL when the tag has no such attribute (an
    // attribute written without "=value" has none).
    const std::string* Attribute(const char* lowerName) const;
};

struct Element
{
    enum Kind
    {
        Text,   // text: one run, "<<" already made "<", CRs dropped
        Markup, // tag
        End,    // the end of the text (a final line break)
    };
    Kind kind = End;
    std::string text;
    Tag tag;
};

// Reads the element at pos and moves pos past it. Tab and line feed come
// back as the tags "t" and "br". At (or past) the end: End, pos unchanged.
Element NextElement(const std::string& text, size_t& pos);

// A number with base detection (strtol base 0) of the whole leading number;
// def for an empty value or one that does not start with a number.
long ParseNumber(const std::string& value, long def);

// ---- Layout ----------------------------------------------------------------------------------

struct Size
{
    int cx = 0;
    int cy = 0;
};

struct FontStyle
{
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
};

struct ImageRef
{
    enum Kind
    {
        Named,      // "img": name
        ListImage,  // "ilst": id = index
        Bitmap,     // "bmp": id, mask when hasMask
        Icon,       // "icon": id
    };
    Kind kind = Icon;
    std::string name;
    long id = 0;
    int cx = 0;
    int cy = 0;
    bool hasMask = false;
    uint32_t mask = 0xFF00FF;
};

// What the layout asks of its drawing surface. Font calls return the text
// height and the average character width of the font they select.
class Canvas
{
public:
    virtual ~Canvas() {}
    virtual void SetFontStyle(const FontStyle& style, int* height, int* averageWidth) = 0;
    virtual Size TextExtent(const std::string& run) = 0;
    // The image's size at its place; false: it takes no room and is not drawn.
    virtual bool ImageSize(const ImageRef& image, Size* size) = 0;
    // Drawing pass only.
    virtual void DrawRun(int x, int y, const std::string& run, uint32_t colour, bool opaque, uint32_t background) = 0;
    virtual void DrawRule(int x1, int x2, int y, uint32_t colour) = 0;
    virtual void DrawImage(const ImageRef& image, int x, int y, int cx, int cy) = 0;
};

struct Rect
{
    int left = 0, top = 0, right = 0, bottom = 0;
};

// The per-line widths and heights the measuring pass stores for the drawing
// pass.
struct Lines
{
    std::vector<unsigned> widths;
    std::vector<unsigned> heights;
};

// Measures (measuring = true: fills lines, draws nothing) or draws the text
// into the rectangle; the widest line and the total height. An empty text is
// 0 x 0 and draws nothing. baseWeight is the font's own weight (0 counts as
// 400); palette has kPaletteSize entries.
Size Layout(Canvas& canvas, const Rect& rect, const std::string& text, bool measuring, const uint32_t* palette,
            const FontStyle& baseStyle, Lines& lines);

}  // namespace odtip
