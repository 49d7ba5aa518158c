// The list's painting rules apart from any device context: row and text
// colours (palette indexes outside the palette fall back instead of reading
// past it), the check-box table, the expander box, tiles fixed to the
// content, the focus rectangle inside the grid, row height from the font,
// dotted tree lines and the image blends.
#include <gtest/gtest.h>

#include "ODListDrawLogic.h"

namespace {

using namespace odlist;

// Distinct colours, one per slot, so a result names the slot it came from.
ListColours Colours()
{
    ListColours c;
    for (int i = 0; i < kListColourCount; ++i)
        c.c[i] = Colour(0x100 + i);
    return c;
}

const Colour kPal0 = 0xAA0000, kPal1 = 0x00BB00;

TEST(ListDrawLogic, RowBackground)
{
    const ListColours c = Colours();
    const std::vector<Colour> palette = {kPal0, kPal1};
    const std::vector<Colour> none;
    struct Case
    {
        const char* what;
        RowLookInput in;
        const std::vector<Colour>* palette;
        Colour background;
        bool fill;
    };
    auto in = [](uint32_t style, bool focus, bool odd, int value1, uint32_t state) {
        RowLookInput r;
        r.style = style;
        r.hasFocus = focus;
        r.odd = odd;
        r.value1 = value1;
        r.state = state;
        return r;
    };
    RowLookInput disabled = in(0, true, false, -1, 0);
    disabled.disabled = true;
    RowLookInput image = in(0, true, false, -1, 0);
    image.backgroundImage = true;
    RowLookInput imagePseudo = image;
    imagePseudo.pseudoRow = true;
    RowLookInput imageSelected = image;
    imageSelected.state = kStateSelected;
    const Case cases[] = {
        {"a plain row", in(0, true, false, -1, 0), &palette, c[kClrBackground], true},
        {"odd rows take palette colour 0", in(kStyleOddRows, true, true, -1, 0), &palette, kPal0, true},
        {"even rows keep the background", in(kStyleOddRows, true, false, -1, 0), &palette, c[kClrBackground], true},
        {"odd rows with no palette keep the background", in(kStyleOddRows, true, true, -1, 0), &none,
         c[kClrBackground], true},
        {"value1 0 on an even row is palette colour 0", in(0, true, false, 0, 0), &palette, kPal0, true},
        {"value1 picks over the odd-row colour", in(kStyleOddRows, true, true, 1, 0), &palette, kPal1, true},
        {"value1 past the palette keeps the background", in(0, true, false, 2, 0), &palette, c[kClrBackground],
         true},
        {"value1 far past the palette", in(0, true, false, 1 << 30, 0), &palette, c[kClrBackground], true},
        {"selected with focus", in(0, true, false, 1, kStateSelected), &palette, c[kClrBkSelected], true},
        {"selected without focus looks unselected", in(0, false, false, -1, kStateSelected), &palette,
         c[kClrBackground], true},
        {"selected without focus keeps a colour with 0x0002", in(kStyleKeepSelNoFocus, false, false, -1,
                                                                  kStateSelected),
         &palette, c[kClrBkSelectedNoFocus], true},
        {"a disabled list uses the 3D face", disabled, &palette, c[kClr3DFace], true},
        {"the background image shows through plain rows", image, &palette, c[kClrBackground], false},
        {"the band's pseudo-row is filled over the image", imagePseudo, &palette, c[kClrBackground], true},
        {"a selected row is filled over the image", imageSelected, &palette, c[kClrBkSelected], true},
    };
    for (const Case& k : cases) {
        const RowLook look = ComputeRowLook(c, *k.palette, k.in);
        EXPECT_EQ(look.background, k.background) << k.what;
        EXPECT_EQ(look.fill, k.fill) << k.what;
    }
}

TEST(ListDrawLogic, CellTextColour)
{
    const ListColours c = Colours();
    const std::vector<Colour> palette = {kPal0, kPal1};
    struct Case
    {
        const char* what;
        uint32_t style;
        bool focus;
        uint32_t state;
        int own;
        Colour expected;
    };
    const Case cases[] = {
        {"plain", 0, true, 0, -1, c[kClrText]},
        {"the cell's own colour", 0, true, 0, 1, kPal1},
        {"an own colour past the palette is the text colour", 0, true, 0, 7, c[kClrText]},
        {"selected with focus", 0, true, kStateSelected, 1, c[kClrTextSelected]},
        {"selected with 0x0004 keeps the own colour", kStyleOwnTextColour, true, kStateSelected, 1, kPal1},
        {"0x0004 without an own colour", kStyleOwnTextColour, true, kStateSelected, -1, c[kClrTextSelected]},
        {"selected without focus", 0, false, kStateSelected, -1, c[kClrText]},
        {"selected without focus, 0x0002", kStyleKeepSelNoFocus, false, kStateSelected, -1,
         c[kClrTextSelectedNoFocus]},
    };
    for (const Case& k : cases) {
        RowLookInput in;
        in.style = k.style;
        in.hasFocus = k.focus;
        in.state = k.state;
        EXPECT_EQ(CellTextColour(c, palette, in, k.own), k.expected) << k.what;
    }
}

TEST(ListDrawLogic, CheckBoxTable)
{
    struct Case
    {
        int stateImage;
        bool radio, checked, cross;
    };
    const Case cases[] = {
        {0, false, false, false}, {1, false, true, false}, {2, false, false, true}, {3, false, true, true},
        {4, true, false, false},  {5, true, true, false},  {6, true, false, true},  {7, true, true, true},
        {8, false, false, false}, {9, false, false, false}, {-1, false, false, false},
    };
    for (const Case& k : cases) {
        const CheckBoxLook look = CheckBoxLookOf(k.stateImage);
        EXPECT_EQ(look.radio, k.radio) << "state image " << k.stateImage;
        EXPECT_EQ(look.checked, k.checked) << "state image " << k.stateImage;
        EXPECT_EQ(look.cross, k.cross) << "state image " << k.stateImage;
    }
    // The cross lies inside the box shrunk by one, one pixel further right
    // over a radio button.
    Line lines[2];
    CrossLines(Rect{10, 20, 23, 33}, 2, lines);
    EXPECT_EQ(lines[0].x0, 11);
    EXPECT_EQ(lines[0].y0, 21);
    EXPECT_EQ(lines[0].x1, 22);
    EXPECT_EQ(lines[0].y1, 32);
    EXPECT_EQ(lines[1].y0, 32);
    CrossLines(Rect{10, 20, 23, 33}, 6, lines);
    EXPECT_EQ(lines[0].x0, 12);
    EXPECT_EQ(lines[0].x1, 23);
}

TEST(ListDrawLogic, ExpanderBox)
{
    // A 16-pixel row square at x 100: centre (100 + 8, (40 + 56) / 2) = (108, 48);
    // the 9 x 9 box from centre - 4 to centre + 5.
    ExpanderShape s;
    ASSERT_TRUE(ExpanderShapeOf(Rect{100, 40, 116, 56}, false, &s));
    EXPECT_EQ(s.outer, (Rect{104, 44, 113, 53}));
    EXPECT_EQ(s.inner, (Rect{105, 45, 112, 52}));
    EXPECT_EQ(s.horizontal.x0, 106);
    EXPECT_EQ(s.horizontal.x1, 111);
    EXPECT_EQ(s.vertical.y0, 46);
    EXPECT_EQ(s.vertical.y1, 51);
    EXPECT_TRUE(s.plus) << "collapsed nodes show a plus";
    EXPECT_EQ(s.right, 116);
    ASSERT_TRUE(ExpanderShapeOf(Rect{100, 40, 116, 56}, true, &s));
    EXPECT_FALSE(s.plus);
    EXPECT_FALSE(ExpanderShapeOf(Rect{100, 40, 99, 56}, true, &s)) << "a rectangle turned over draws nothing";
}

TEST(ListDrawLogic, TilesFollowTheContent)
{
    struct Case
    {
        const char* what;
        int left, scroll, width, expected;
    };
    const Case cases[] = {
        {"unscrolled", 0, 0, 16, 0},
        {"scrolled 5 moves the tiles 5 left", 0, 5, 16, -5},
        {"scrolled a tile and 5", 0, 21, 16, -5},
        {"a clip box inside the content: tiles at 11, 27, 43", 40, 5, 16, 27},
        {"a negative position still starts at or left of the edge", 0, -3, 16, -13},
        {"a zero-wide image counts as 1", 7, 3, 0, 7},
    };
    for (const Case& k : cases) {
        const int x = TileStartX(k.left, k.scroll, k.width);
        EXPECT_EQ(x, k.expected) << k.what;
        EXPECT_LE(x, k.left) << k.what;
    }
    EXPECT_EQ(TileStartY(37, 16), 32);
    EXPECT_EQ(TileStartY(32, 16), 32);
}

TEST(ListDrawLogic, FocusRectangleInsideTheGrid)
{
    EXPECT_EQ(FocusRectOf(Rect{0, 10, 100, 27}, false), (Rect{0, 10, 100, 27}));
    EXPECT_EQ(FocusRectOf(Rect{0, 10, 100, 27}, true), (Rect{1, 10, 99, 26})) << "left, right and bottom";
}

TEST(ListDrawLogic, RowHeightFromTheFont)
{
    struct Case
    {
        const char* what;
        int height, leading;
        bool step, images;
        int imageHeight, expected;
    };
    const Case cases[] = {
        {"height + leading + 2", 13, 0, false, false, 0, 15},
        {"external leading counts", 13, 3, false, false, 0, 18},
        {"the grid step adds one", 13, 0, true, false, 0, 16},
        {"taller images raise it to image + 1", 13, 0, false, true, 20, 21},
        {"image + 1 equal to the text height", 13, 0, false, true, 14, 15},
        {"smaller images leave it", 13, 0, false, true, 8, 15},
        {"no image list: the image height is ignored", 13, 0, false, false, 40, 15},
    };
    for (const Case& k : cases)
        EXPECT_EQ(RowHeightFromFont(k.height, k.leading, k.step, k.images, k.imageHeight), k.expected) << k.what;
}

TEST(ListDrawLogic, DottedTreeLines)
{
    // Every second pixel from the start, the second first, the end left out.
    std::vector<std::pair<int, int>> points;
    DottedLinePoints(Line{0, 0, 7, 0}, &points);
    EXPECT_EQ(points, (std::vector<std::pair<int, int>>{{1, 0}, {3, 0}, {5, 0}}));
    points.clear();
    DottedLinePoints(Line{4, 10, 4, 5}, &points);
    EXPECT_EQ(points, (std::vector<std::pair<int, int>>{{4, 9}, {4, 7}}));

    // Row height 16, indent 2, band at 0: x = 32, expander centre 32 - 8 = 24;
    // the stub from x + 8 - 2 = 38 to 24 at y 100 + 8; the line down to 10
    // below the sibling's top, or to the client bottom.
    std::vector<Line> lines;
    TreeLinesOfRow(0, 100, 16, 2, true, 164, 300, &lines);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].x0, 38);
    EXPECT_EQ(lines[0].x1, 24);
    EXPECT_EQ(lines[0].y0, 108);
    EXPECT_EQ(lines[1].x0, 24);
    EXPECT_EQ(lines[1].y0, 100);
    EXPECT_EQ(lines[1].y1, 174);
    lines.clear();
    TreeLinesOfRow(0, 100, 16, 2, true, 99, 300, &lines);
    EXPECT_EQ(lines[1].y1, 300) << "the sibling is not shown";
    lines.clear();
    TreeLinesOfRow(0, 100, 16, -1, false, 0, 300, &lines);
    ASSERT_EQ(lines.size(), 1u) << "no sibling, no line down";
    EXPECT_EQ(lines[0].x1, -8) << "a negative indent counts as 0";
}

TEST(ListDrawLogic, ImageBlends)
{
    struct Case
    {
        int mode;
        uint32_t state;
        int expected;
    };
    const Case cases[] = {
        {0, 0, 0},
        {0, kStateBlendA, 1},
        {0, kStateBlendB, 2},
        {0, kStateBlendA | kStateBlendB, 1},
        {1, kStateSelected, 2},
        {1, kStateFocused, 0},
        {2, kStateFocused, 1},
        {2, kStateSelected, 0},
        {3, kStateFocused, 1},
        {3, kStateFocused | kStateSelected, 2},
        {4, kStateSelected, 0},
    };
    for (const Case& k : cases)
        EXPECT_EQ(ImageBlendOf(k.mode, k.state), k.expected) << "mode " << k.mode << " state " << k.state;
}

TEST(ListDrawLogic, ColourIndexes)
{
    EXPECT_EQ(ColourSlotOfIndex(1), kClrBackground);
    EXPECT_EQ(ColourSlotOfIndex(7), kClrGrid);
    EXPECT_EQ(ColourSlotOfIndex(8), kClrTreeLines) << "8 is the tree lines, not the 3D face";
    EXPECT_EQ(ColourSlotOfIndex(0), -1);
    EXPECT_EQ(ColourSlotOfIndex(9), -1);
}

}  // namespace
