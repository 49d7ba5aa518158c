// The tooltip mark-up through a recording canvas of fixed metrics: each
// character is 5 pixels wide (7 when bold), text is 10 pixels high, the
// average character width 5 (a tab stop every 20 pixels). Widths below are
// worked out from those metrics by hand.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ODTipMarkup.h"

namespace {

using namespace odtip;

struct Drawn
{
    std::string what;  // the run, "rule" or "image"
    int x, y, x2;
    uint32_t colour;
    bool opaque;
    uint32_t background;
    int weight;
};

class RecordingCanvas : public Canvas
{
public:
    std::vector<Drawn> drawn;
    std::vector<ImageRef> images;
    FontStyle font;

    void SetFontStyle(const FontStyle& style, int* height, int* averageWidth) override
    {
        font = style;
        *height = 10;
        *averageWidth = 5;
    }
    Size TextExtent(const std::string& run) override
    {
        Size s;
        s.cx = static_cast<int>(run.size()) * (font.weight > 400 ? 7 : 5);
        s.cy = 10;
        return s;
    }
    bool ImageSize(const ImageRef& image, Size* size) override
    {
        images.push_back(image);
        if (image.kind == ImageRef::ListImage && (image.id < 0 || image.id > 2))
            return false;  // beyond the list's count
        size->cx = image.cx ? image.cx : 16;
        size->cy = image.cy ? image.cy : 16;
        return true;
    }
    void DrawRun(int x, int y, const std::string& run, uint32_t colour, bool opaque, uint32_t background) override
    {
        drawn.push_back(Drawn{run, x, y, 0, colour, opaque, background, font.weight});
    }
    void DrawRule(int x1, int x2, int y, uint32_t colour) override
    {
        drawn.push_back(Drawn{"rule", x1, y, x2, colour, false, 0, 0});
    }
    void DrawImage(const ImageRef&, int x, int y, int cx, int) override
    {
        drawn.push_back(Drawn{"image", x, y, x + cx, 0, false, 0, 0});
    }
};

struct Palette
{
    uint32_t entries[kPaletteSize];
    Palette()
    {
        for (int i = 0; i < kPaletteSize; ++i)
            entries[i] = 0x010101u * i;  // entry i: grey level i
    }
};

struct Result
{
    Size measured;
    Lines lines;
    std::vector<Drawn> drawn;
    std::vector<ImageRef> images;
};

Result Render(const std::string& text, Rect rect = Rect{0, 0, 300, 200})
{
    Palette p;
    Result r;
    RecordingCanvas measure, draw;
    FontStyle base;
    r.measured = Layout(measure, rect, text, true, p.entries, base, r.lines);
    EXPECT_TRUE(measure.drawn.empty()) << "the measuring pass draws nothing";
    Layout(draw, rect, text, false, p.entries, base, r.lines);
    r.drawn = draw.drawn;
    r.images = draw.images;
    return r;
}

std::string Runs(const Result& r)
{
    std::string s;
    for (const auto& d : r.drawn)
        s += (s.empty() ? "" : "|") + d.what + "@" + std::to_string(d.x) + "," + std::to_string(d.y);
    return s;
}

struct LayoutCase
{
    const char* what;
    const char* text;
    int width, height;  // measured
    const char* runs;   // what the drawing pass drew, at (x, y)
};

TEST(TipMarkup, LayoutTable)
{
    const LayoutCase cases[] = {
        {"plain text is one line", "hello", 25, 10, "hello@0,0"},
        {"two < print one", "a<<b", 15, 10, "a<b@0,0"},
        {"line feeds make lines; the widest counts", "ab\nlonger", 30, 20, "ab@0,0|longer@0,10"},
        {"carriage returns are dropped", "a\r\nb\r", 5, 20, "a@0,0|b@0,10"},
        {"br=3 moves down three line heights", "a<br=3>b", 5, 40, "a@0,0|b@0,30"},
        {"br=0 counts as one", "a<br=0>b", 5, 20, "a@0,0|b@0,10"},
        {"bold twice closed once ends bold", "<b>x<b>y</b>z", 19, 10, "x@0,0|y@7,0|z@14,0"},
        {"t=2 at the left edge goes to the second stop", "<t=2>x", 45, 10, "x@40,0"},
        {"t=2 between stops goes to the next stop and one more", "ab<t=2>x", 45, 10, "ab@0,0|x@40,0"},
        {"t=0 counts as one; a tab character is t", "<t=0>x\ty", 45, 10, "x@20,0|y@40,0"},
        {"an unknown tag is skipped and the text joins", "a<zz q=1>b", 10, 10, "a@0,0|b@5,0"},
        {"an unterminated tag is dropped", "ab<b cx=", 10, 10, "ab@0,0"},
        {"a lone < at the end is an unterminated tag", "ab<", 10, 10, "ab@0,0"},
        {"centre alignment uses the measured line width", "<al_c>ab", 10, 10, "ab@145,0"},
        {"right alignment, then left again on the next line", "<al_r>ab\n<al>c", 10, 20, "ab@290,0|c@0,10"},
        {"closing al_c changes nothing", "<al_r></al_c>ab", 10, 10, "ab@290,0"},
        {"text sits on the bottom of a line an image made taller", "a<icon=3 cx=32 cy=32>b", 42, 32,
         "a@0,22|image@5,0|b@37,22"},
        {"an image beyond the list takes no room", "a<ilst=7>b", 10, 10, "a@0,0|b@5,0"},
        {"a rule of 20 pixels advances x", "a<hr=20>b", 30, 10, "a@0,0|rule@5,5|b@25,0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Result r = Render(c.text);
        EXPECT_EQ(r.measured.cx, c.width);
        EXPECT_EQ(r.measured.cy, c.height);
        EXPECT_EQ(Runs(r), c.runs);
    }
}

TEST(TipMarkup, EmptyTextIsNothing)
{
    const Result r = Render("");
    EXPECT_EQ(r.measured.cx, 0);
    EXPECT_EQ(r.measured.cy, 0);
    EXPECT_TRUE(r.drawn.empty());
    EXPECT_TRUE(r.lines.widths.empty());
}

TEST(TipMarkup, LinesAreStoredForTheDrawingPass)
{
    const Result r = Render("abc\n<icon=1 cx=8 cy=24>\nx");
    ASSERT_EQ(r.lines.widths.size(), 3u);
    EXPECT_EQ(r.lines.widths[0], 15u);
    EXPECT_EQ(r.lines.heights[0], 10u);
    EXPECT_EQ(r.lines.widths[1], 8u);
    EXPECT_EQ(r.lines.heights[1], 24u);
    EXPECT_EQ(r.lines.heights[2], 10u);
    EXPECT_EQ(r.measured.cy, 44);
}

struct ColourCase
{
    const char* what;
    const char* text;
    uint32_t colour;
    bool opaque;
    uint32_t background;
};

TEST(TipMarkup, ColourTable)
{
    // The test palette's entry i is 0x010101 x i: 16 -> 0x101010, 17 -> 0x111111.
    const ColourCase cases[] = {
        {"default text colour is entry 16", "x", 0x101010, false, 0x111111},
        {"cti=9 takes entry 9", "<cti=9>x", 0x090909, false, 0x111111},
        {"cti=30 changes nothing", "<cti=9><cti=30>x", 0x090909, false, 0x111111},
        {"a negative index changes nothing", "<cti=9><cti=-1>x", 0x090909, false, 0x111111},
        {"ct takes a COLORREF number", "<ct=0x0000FF>x", 0x0000FF, false, 0x111111},
        {"ct with = then > gives the default", "<ct=0xFF><ct=>x", 0x101010, false, 0x111111},
        {"ct with a name but no = has no value", "<ct=0xFF><ct foo>x", 0x101010, false, 0x111111},
        {"octal and decimal values", "<ct=010>x", 8, false, 0x111111},
        {"cb makes the background opaque", "<cb=0x00FF00>x", 0x101010, true, 0x00FF00},
        {"closing cb makes it transparent again", "<cb=0x00FF00></cb>x", 0x101010, false, 0x111111},
        {"cbi with a valid index", "<cbi=3>x", 0x101010, true, 0x030303},
        {"cbi=25 is ignored", "<cbi=25>x", 0x101010, false, 0x111111},
        {"tag names ignore case", "<CTI=9>x", 0x090909, false, 0x111111},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Result r = Render(c.text);
        ASSERT_EQ(r.drawn.size(), 1u);
        EXPECT_EQ(r.drawn[0].colour, c.colour);
        EXPECT_EQ(r.drawn[0].opaque, c.opaque);
        EXPECT_EQ(r.drawn[0].background, c.background);
    }
}

TEST(TipMarkup, PercentRuleWidensItsLineByTheWidestLine)
{
    // Line 0: 40 characters = 200 pixels; line 1: a rule of 50 %.
    const std::string text = std::string(40, 'x') + "\n<hr=50%>";
    const Result r = Render(text, Rect{0, 0, 300, 100});
    ASSERT_EQ(r.lines.widths.size(), 2u);
    EXPECT_EQ(r.lines.widths[0], 200u);
    EXPECT_EQ(r.lines.widths[1], 100u) << "half the widest line";
    ASSERT_EQ(r.drawn.size(), 2u);
    EXPECT_EQ(r.drawn[1].what, "rule");
    EXPECT_EQ(r.drawn[1].x, 0);
    EXPECT_EQ(r.drawn[1].x2, 150) << "half the rectangle's width";
    EXPECT_EQ(r.drawn[1].y, 15) << "the middle of the second line";
}

TEST(TipMarkup, ImageAttributes)
{
    const Result r = Render("<bmp=5 cx=16 cy=16 mask=65280><bmp=6><img=Star cx=0x20><icon=7 cy=\t8>");
    ASSERT_EQ(r.images.size(), 4u);
    EXPECT_EQ(r.images[0].kind, ImageRef::Bitmap);
    EXPECT_EQ(r.images[0].id, 5);
    EXPECT_EQ(r.images[0].cx, 16);
    EXPECT_EQ(r.images[0].cy, 16);
    EXPECT_TRUE(r.images[0].hasMask);
    EXPECT_EQ(r.images[0].mask, 0x00FF00u);
    EXPECT_FALSE(r.images[1].hasMask) << "no mask attribute: drawn opaque";
    EXPECT_EQ(r.images[2].kind, ImageRef::Named);
    EXPECT_EQ(r.images[2].name, "Star");
    EXPECT_EQ(r.images[2].cx, 32);
    EXPECT_EQ(r.images[3].kind, ImageRef::Icon);
    EXPECT_EQ(r.images[3].cy, 8) << "tabs inside a tag are skipped";
}

TEST(TipMarkup, HugeCountsStayBounded)
{
    const Result r = Render("a<br=99999999999><t=2147483647>b<hr=999999999><icon=1 cx=-5 cy=99999999>");
    EXPECT_GE(r.measured.cy, 0);
    EXPECT_LE(r.measured.cy, kMaxCoord);
    EXPECT_LE(r.measured.cx, kMaxCoord);
}

TEST(TipMarkup, ReaderElements)
{
    const std::string text = "x<<</B foo=1 bar cx=2>\t\n";
    size_t pos = 0;
    Element e = NextElement(text, pos);
    EXPECT_EQ(e.kind, Element::Text);
    EXPECT_EQ(e.text, "x<");
    e = NextElement(text, pos);
    ASSERT_EQ(e.kind, Element::Markup);
    EXPECT_EQ(e.tag.name, "b");
    EXPECT_TRUE(e.tag.closing);
    EXPECT_FALSE(e.tag.hasValue);
    ASSERT_NE(e.tag.Attribute("foo"), nullptr);
    EXPECT_EQ(*e.tag.Attribute("foo"), "1");
    EXPECT_EQ(e.tag.Attribute("bar"), nullptr) << "a name without = has no value";
    EXPECT_EQ(*e.tag.Attribute("cx"), "2");
    EXPECT_EQ(NextElement(text, pos).tag.name, "t");
    EXPECT_EQ(NextElement(text, pos).tag.name, "br");
    EXPECT_EQ(NextElement(text, pos).kind, Element::End);
    EXPECT_EQ(pos, text.size());
}

}  // namespace
