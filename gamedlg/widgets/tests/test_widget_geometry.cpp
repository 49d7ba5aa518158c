// The widgets' arithmetic: picture-button cells, state-button frames, the
// picker's grid, balloon body and tail placement, tip shapes, the holder.
#include <gtest/gtest.h>

#include "WidgetGeometry.h"

using namespace widgets;

namespace {

TEST(PngButtonCells, CellWidthDropsTheRemainderAndRefusesNoCells)
{
    struct Case {
        const char* what;
        int width, count, expected;
    } cases[] = {
        {"200 / 4", 200, 4, 50},
        {"202 / 4: remainder dropped, cells at 0, 50, 100, 150", 202, 4, 50},
        {"two cells", 120, 2, 60},
        {"one cell", 37, 1, 37},
        {"zero count divides nothing", 200, 0, 0},
        {"negative count", 200, -3, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(PngCellWidth(c.width, c.count), c.expected);
    }
}

TEST(PngButtonCells, CellIndexFromItemState)
{
    const unsigned S = kItemSelected, F = kItemFocus, D = kItemDisabled;
    struct Case {
        const char* what;
        unsigned state;
        int count, expected;
    } cases[] = {
        {"normal", 0, 4, 0},
        {"pressed", S, 4, 2},
        {"focus is hover", F, 4, 1},
        {"disabled", D, 4, 3},
        {"pressed wins over focus", S | F, 4, 2},
        {"disabled and selected draws pressed (pressed test first)", D | S, 4, 2},
        {"focus wins over disabled", D | F, 4, 1},
        {"2 cells: pressed falls back to 0", S, 2, 0},
        {"2 cells: hover draws cell 1", F, 2, 1},
        {"2 cells: disabled draws cell 0", D, 2, 0},
        {"3 cells: disabled falls back", D, 3, 0},
        {"3 cells: pressed", S, 3, 2},
        {"1 cell: everything 0", S | F | D, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(PngCellIndex(c.state, c.count), c.expected);
    }
}

TEST(StateButtonFrames, FrameWidthAndAlphaFrame)
{
    struct Case {
        const char* what;
        int strip, count;
        bool alpha;
        int width, alphaX;
    } cases[] = {
        {"200 px, 4 frames", 200, 4, false, 50, 200},
        {"alpha mode: 5 frames' width, count 4, alpha from the fifth", 250, 4, true, 50, 200},
        {"alpha mode with 2 frames: alpha after frame 2, not at 4 x width", 90, 2, true, 30, 60},
        {"zero frames: nothing (no division)", 200, 0, false, 0, 0},
        {"negative frames", 200, -1, false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int w = StateFrameWidth(c.strip, c.count, c.alpha);
        EXPECT_EQ(w, c.width);
        EXPECT_EQ(StateAlphaFrameX(w, c.count < 0 ? 0 : c.count), c.alphaX);
    }
}

TEST(StateButtonFrames, StateAndFrameRuns)
{
    EXPECT_EQ(StateButtonState(true, true, true), 3);
    EXPECT_EQ(StateButtonState(false, true, true), 2);
    EXPECT_EQ(StateButtonState(false, false, true), 1);
    EXPECT_EQ(StateButtonState(false, false, false), 0);

    // A run of 3 frames starting at 5: the counter cycles 5, 6, 7, 5 ...
    uint32_t counter = 0;
    std::vector<int> frames;
    for (int i = 0; i < 5; ++i) {
        frames.push_back(StateFrameToDraw(5, 3, &counter));
        ++counter;   // the timer
    }
    EXPECT_EQ(frames, (std::vector<int>{5, 6, 7, 5, 6}));
    // Runs of 0 (a strip that is not 4 frames before its runs are set) draw the first frame.
    counter = 9;
    EXPECT_EQ(StateFrameToDraw(0, 0, &counter), 0);

    struct Case {
        const char* what;
        int first, run, count;
        bool ok;
    } cases[] = {
        {"inside", 0, 4, 4, true},
        {"last frame", 3, 1, 4, true},
        {"past the end", 3, 2, 4, false},
        {"negative first", -1, 1, 4, false},
        {"empty run", 0, 0, 4, false},
        {"huge run does not overflow", 2, 0x7FFFFFFF, 4, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(StateFramesValid(c.first, c.run, c.count), c.ok);
    }
}

TEST(StateButtonFrames, BlendFormula)
{
    // (dst x (255 - a) + src x a) / 256, rounded down.
    EXPECT_EQ(BlendChannel(0, 255, 255), 254);   // 65025 / 256
    EXPECT_EQ(BlendChannel(255, 0, 0), 254);
    EXPECT_EQ(BlendChannel(100, 200, 128), 149); // (100*127 + 200*128) / 256 = 38300 / 256
    EXPECT_EQ(BlendChannel(0, 0, 77), 0);
}

TEST(Captions, CutOnCharacterBoundaries)
{
    const std::string forty(40, 'x');
    EXPECT_EQ(CutCaption(forty.c_str(), 31), std::string(31, 'x'));
    EXPECT_EQ(CutCaption("short", 31), "short");
    EXPECT_EQ(CutCaption(nullptr, 31), "");
    // 30 ASCII bytes, then a two-byte character at 30-31: it would be split at 31.
    std::string s(30, 'a');
    s += "\xC4\xE3";
    EXPECT_EQ(CutCaption(s.c_str(), 31), std::string(30, 'a'));
    // A lead byte alone at the very end stays one byte.
    EXPECT_EQ(CharBoundaryAtMost936(std::string("ab\xC4"), 3), 3u);
}

TEST(PickerGrid, ColumnsRowsAndCells)
{
    struct Case {
        const char* what;
        int count, columns, rows;
    } cases[] = {
        {"30 chat actions: sqrt 5.47 -> 5 + 1 columns, 5 rows", 30, 6, 5},
        {"66 faces: 8 + 1 columns, 66 / 9 = 7.33 -> 8 rows", 66, 9, 8},
        {"36: exact square 6 -> 7 columns, 6 rows", 36, 7, 6},
        {"one item", 1, 2, 1},
        {"three items", 3, 2, 2},
        {"four items", 4, 3, 2},
        {"no items", 0, 0, 0},
        {"negative count", -5, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const PickerGrid g = ComputePickerGrid(c.count, 40, 30);
        EXPECT_EQ(g.columns, c.columns);
        EXPECT_EQ(g.rows, c.rows);
        if (c.count > 0) {
            EXPECT_EQ(g.cellWidth, 50);
            EXPECT_EQ(g.cellHeight, 40);
        }
    }

    // 30 items of 40 x 30 opened at (100, 500): 6 x 50 wide, 5 x 40 + 30 high.
    const PickerGrid g = ComputePickerGrid(30, 40, 30);
    EXPECT_EQ(PickerWindowRect(100, 500, g), (Rc{100, 270, 400, 500}));
    EXPECT_EQ(PickerCellRect(g, 0), (Rc{2, 2, 48, 38}));
    EXPECT_EQ(PickerCellRect(g, 7), (Rc{52, 42, 98, 78}));   // row 1, column 1
    EXPECT_EQ(PickerCellRect(g, 29), (Rc{252, 162, 298, 198}));
    EXPECT_EQ(PickerNextButtonRect(g), (Rc{250, 203, 296, 223}));
    EXPECT_EQ(PickerPrevButtonRect(g), (Rc{196, 203, 246, 223}));
    EXPECT_EQ(PickerPopupX(60, 1), 60);
    EXPECT_EQ(PickerPopupX(60, 2), 42);
}

TEST(PickerGrid, NameTables)
{
    EXPECT_STREQ(ChatActionName(1, 0), "笑");
    EXPECT_STREQ(ChatActionName(1, 29), "热茶");
    EXPECT_EQ(ChatActionName(1, 30), nullptr);
    EXPECT_EQ(ChatActionName(1, -1), nullptr);
    EXPECT_STREQ(ChatActionName(2, 0), "微笑");
    EXPECT_STREQ(ChatActionName(2, 65), "双心");
    EXPECT_EQ(ChatActionName(2, 66), nullptr);
}

TEST(Balloon, BodyOriginPerCorner)
{
    const Pt a{300, 200};
    struct Case {
        int corner;
        Pt expected;
    } cases[] = {
        {0, {300, 200}}, {1, {300 - 100 + 1, 200}}, {2, {300, 200 - 60 + 1}}, {3, {201, 141}}, {4, {0, 0}}, {-1, {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.corner);
        EXPECT_EQ(BalloonBodyOrigin(c.corner, a, 100, 60), c.expected);
    }
}

TEST(Balloon, TailPlacementTable)
{
    // Body 100 x 60 at (200, 200): spans x 200..300, y 200..260.
    const Pt b{200, 200};
    struct Case {
        const char* what;
        Pt target;
        int placement;
        Pt origin;
    } cases[] = {
        {"above-left, further up than left", {180, 170}, 0, {180, 170}},
        {"above-left, equal distances -> 0", {180, 180}, 0, {180, 180}},
        {"above-left, further left than up", {150, 190}, 3, {150, 190}},
        {"below-left, more left than down", {150, 270}, 5, {150, 200}},
        {"below-left, more down than left", {190, 300}, 6, {190, 200}},
        {"left, level with the body", {150, 230}, 4, {150, 200}},
        {"above-right, more right than up", {350, 190}, 9, {200, 190}},
        {"above-right, more up than right", {310, 150}, 2, {200, 150}},
        {"below-right, more right than down", {350, 270}, 11, {200, 200}},
        {"below-right, more down than right", {310, 300}, 8, {200, 200}},
        {"right, level", {350, 230}, 10, {200, 200}},
        {"above", {250, 150}, 1, {200, 150}},
        {"below", {250, 300}, 7, {200, 200}},
        {"inside -> 7", {250, 230}, 7, {200, 200}},
        {"on the right edge is not right of it", {300, 230}, 7, {200, 200}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const BalloonTail t = ComputeBalloonTail(b, 100, 60, c.target, 12, 16);
        EXPECT_EQ(t.placement, c.placement);
        EXPECT_EQ(t.origin, c.origin);
        // The body keeps its size and its place in parent coordinates; the apex is the target.
        EXPECT_EQ(t.body.Width(), 100);
        EXPECT_EQ(t.body.Height(), 60);
        EXPECT_EQ(t.body.left + t.origin.x, 200);
        EXPECT_EQ(t.body.top + t.origin.y, 200);
        EXPECT_EQ(t.triangle[2].x + t.origin.x, c.target.x);
        EXPECT_EQ(t.triangle[2].y + t.origin.y, c.target.y);
    }
}

TEST(Balloon, TailBaseOnItsEdge)
{
    const Pt b{200, 200};
    // Case 0: top edge, from left + offset to left + offset + base; window origin = target.
    BalloonTail t = ComputeBalloonTail(b, 100, 60, Pt{180, 170}, 12, 16);
    EXPECT_EQ(t.triangle[0], (Pt{20 + 16, 30}));
    EXPECT_EQ(t.triangle[1], (Pt{20 + 16 + 12, 30}));
    // Case 7 (inside): bottom edge at h - 1, centred: w/2 - base/2 + offset .. w/2 + base/2 + offset.
    t = ComputeBalloonTail(b, 100, 60, Pt{250, 230}, 12, 16);
    EXPECT_EQ(t.triangle[0], (Pt{50 - 6 + 16, 59}));
    EXPECT_EQ(t.triangle[1], (Pt{50 + 6 + 16, 59}));
    // Case 10: right edge at w - 1, centred vertically.
    t = ComputeBalloonTail(b, 100, 60, Pt{350, 230}, 12, 16);
    EXPECT_EQ(t.triangle[0], (Pt{99, 30 - 6 + 16}));
    EXPECT_EQ(t.triangle[1], (Pt{99, 30 + 6 + 16}));
    // Case 8: bottom edge, right - base - offset .. right - offset.
    t = ComputeBalloonTail(b, 100, 60, Pt{310, 300}, 12, 16);
    EXPECT_EQ(t.triangle[0], (Pt{99 - 12 - 16, 59}));
    EXPECT_EQ(t.triangle[1], (Pt{99 - 16, 59}));
}

TEST(Tips, ShapeTable)
{
    struct Case {
        const char* what;
        bool up, left;
        Pt position;
        Rc body;
        Pt apex;
        Rc content;
    } cases[] = {
        // A 40 x 40 picture: W = 64, H = 60, window 64 x 70.
        {"up, left: above-left of the point", true, true, {200 - 64 + 12, 200 - 60 - 10}, {0, 0, 64, 60}, {52, 70},
         {12, 10, 52, 50}},
        {"up, right", true, false, {200 - 12, 130}, {0, 0, 64, 60}, {12, 70}, {12, 10, 52, 50}},
        {"down, left", false, true, {148, 200}, {0, 10, 64, 70}, {52, 0}, {12, 20, 52, 60}},
        {"down, right", false, false, {188, 200}, {0, 10, 64, 70}, {12, 0}, {12, 20, 52, 60}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TipShape s = ComputeTipShape(40, 40, Pt{200, 200}, c.up, c.left);
        EXPECT_EQ(s.width, 64);
        EXPECT_EQ(s.height, 60);
        EXPECT_EQ(s.position, c.position);
        EXPECT_EQ(s.body, c.body);
        EXPECT_EQ(s.triangle[2], c.apex);
        EXPECT_EQ(s.content, c.content);
        // The apex lies on the point.
        EXPECT_EQ(s.position.x + s.triangle[2].x, 200);
        EXPECT_EQ(s.position.y + s.triangle[2].y, 200);
        EXPECT_EQ(s.content.Width(), 40);
        EXPECT_EQ(s.content.Height(), 40);
    }
}

TEST(Tips, SidesAndContent)
{
    bool up = false, left = false;
    ChooseTipSides(Pt{10, 10}, 64, 60, &up, &left);   // near the screen's top-left: below-right
    EXPECT_FALSE(up);
    EXPECT_FALSE(left);
    ChooseTipSides(Pt{500, 400}, 64, 60, &up, &left);  // elsewhere: above-left
    EXPECT_TRUE(up);
    EXPECT_TRUE(left);
    ChooseTipSides(Pt{64, 59}, 64, 60, &up, &left);    // x = W is not < W; y < H
    EXPECT_FALSE(up);
    EXPECT_TRUE(left);

    struct Case {
        int layout, w, h;
    } cases[] = {{0, 16, 16}, {1, 66, 20}, {3, 66, 20}, {2, 50, 36}, {4, 50, 36}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.layout);
        int w = 0, h = 0;
        CombineTipContent(c.layout, 50, 20, 16, 16, &w, &h);
        EXPECT_EQ(w, c.w);
        EXPECT_EQ(h, c.h);
    }
    int w = 0, h = 0;
    CombineTipContent(0, 50, 20, 0, 0, &w, &h);   // layout 0 without a bitmap: the text
    EXPECT_EQ(w, 50);
    EXPECT_EQ(h, 20);
}

TEST(ChildHolder, ShrunkByOne)
{
    const Rc r = ChildHolderRect(Rc{10, 20, 110, 60});
    EXPECT_EQ(r, (Rc{11, 21, 109, 59}));
    EXPECT_EQ(r.Width(), 98);
    EXPECT_EQ(r.Height(), 38);
}

}  // namespace
