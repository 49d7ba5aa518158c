// The skinned scroll bar on a window of the test display: what its parent
// hears for arrows held (the repeat driven by WM_TIMER by hand), a thumb
// drag, the wheel, Home and End; a disabled arrow; a range that hides the
// bar; and its two looks by pixel.
#include "ODTestSupport.h"

#include <memory>
#include <vector>

#include "ODScrollBarCtrl.h"

namespace {

using namespace odtest;

// A hidden parent that records the scroll messages and commands it gets.
class CScrollLog : public CWnd
{
public:
    struct Entry
    {
        UINT message;
        int code;
        int pos;
    };
    std::vector<Entry> entries;

    BOOL CreateHidden() { return CreateEx(0, AfxRegisterWndClass(0), "log", WS_POPUP, 0, 0, 300, 300, NULL, NULL); }
    std::vector<int> Codes(UINT message) const
    {
        std::vector<int> codes;
        for (const Entry& e : entries)
            if (e.message == message)
                codes.push_back(e.code);
        return codes;
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_HSCROLL || message == WM_VSCROLL || message == WM_COMMAND) {
            entries.push_back({message, int(LOWORD(wParam)), int(short(HIWORD(wParam)))});
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

LPARAM At(int x, int y)
{
    return MAKELPARAM(x, y);
}

class ScrollBarTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(parent.CreateHidden()) << "needs the test display"; }

    // A vertical bar 16 x 200 with arrows of 16: track 16..184.
    void MakeVertical(CODScrollBarCtrl& bar)
    {
        ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE | SBS_VERT, CRect(0, 0, 16, 200), &parent, 0xEA01));
        bar.SetArrowSize(16);
        bar.SetScrollRange(0, 100, TRUE);
    }
    std::unique_ptr<Canvas> Paint(CODScrollBarCtrl& bar)
    {
        CRect r;
        bar.GetClientRect(&r);
        std::unique_ptr<Canvas> c(new Canvas(r.Width(), r.Height(), kBlack));
        bar.PaintTo(CDC::FromHandle(c->dc()));
        return c;
    }

    CScrollLog parent;
};

TEST_F(ScrollBarTest, AHeldArrowStepsAtOnceThenOnTheTimers)
{
    CODScrollBarCtrl bar;
    MakeVertical(bar);
    bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(8, 190));
    EXPECT_EQ(parent.Codes(WM_VSCROLL), std::vector<int>{SB_LINEDOWN}) << "one step at the press";
    EXPECT_EQ(::GetCapture(), bar.m_hWnd);
    EXPECT_EQ(bar.PressedPart(), 31);

    // The first delay ends: nothing is sent, the repeat timer takes over.
    bar.SendMessage(WM_TIMER, CODScrollBarCtrl::TimerFirstDelay, 0);
    EXPECT_EQ(parent.Codes(WM_VSCROLL).size(), 1u);
    bar.SendMessage(WM_TIMER, CODScrollBarCtrl::TimerRepeat, 0);
    bar.SendMessage(WM_TIMER, CODScrollBarCtrl::TimerRepeat, 0);
    EXPECT_EQ(parent.Codes(WM_VSCROLL), (std::vector<int>{SB_LINEDOWN, SB_LINEDOWN, SB_LINEDOWN}));

    // Off the arrow the steps pause, the capture stays.
    bar.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(8, 100));
    bar.SendMessage(WM_TIMER, CODScrollBarCtrl::TimerRepeat, 0);
    EXPECT_EQ(parent.Codes(WM_VSCROLL).size(), 3u);
    EXPECT_EQ(::GetCapture(), bar.m_hWnd);
    // Back on it they go on.
    bar.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(8, 195));
    bar.SendMessage(WM_TIMER, CODScrollBarCtrl::TimerRepeat, 0);
    EXPECT_EQ(parent.Codes(WM_VSCROLL).size(), 4u);

    bar.SendMessage(WM_LBUTTONUP, 0, At(8, 195));
    EXPECT_NE(::GetCapture(), bar.m_hWnd);
    EXPECT_EQ(bar.PressedPart(), -1);
    bar.SendMessage(WM_TIMER, CODScrollBarCtrl::TimerRepeat, 0);
    EXPECT_EQ(parent.Codes(WM_VSCROLL).size(), 4u) << "no step after the release";
    for (const auto& e : parent.entries)
        EXPECT_EQ(e.pos, 0) << "the bar does not move itself";
}

TEST_F(ScrollBarTest, PressesTable)
{
    struct Case {
        const char* what;
        UINT arrows;   // EnableArrows flags
        int y;
        std::vector<int> codes;
        bool captured;
    };
    // Range 0..100, page 10, position 0: thumb at the track start.
    const Case cases[] = {
        {"up arrow", ESB_ENABLE_BOTH, 5, {SB_LINEUP}, true},
        {"down arrow", ESB_ENABLE_BOTH, 195, {SB_LINEDOWN}, true},
        {"track below the thumb", ESB_ENABLE_BOTH, 150, {SB_PAGEDOWN}, true},
        {"a disabled down arrow cannot be pressed", ESB_DISABLE_RTDN, 195, {}, false},
        {"a disabled up arrow cannot be pressed", ESB_DISABLE_LTUP, 5, {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        parent.entries.clear();
        CODScrollBarCtrl bar;
        MakeVertical(bar);
        bar.EnableArrows(c.arrows);
        bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(8, c.y));
        EXPECT_EQ(parent.Codes(WM_VSCROLL), c.codes);
        EXPECT_EQ(::GetCapture() == bar.m_hWnd, c.captured);
        bar.SendMessage(WM_LBUTTONUP, 0, At(8, c.y));
    }
}

TEST_F(ScrollBarTest, ADragSendsOnlyThumbTrackAndDrawsTheThumbThere)
{
    CODScrollBarCtrl bar;
    MakeVertical(bar);
    bar.SetThumbColor(kRed);
    bar.SetTrackColor(kBlue);
    bar.SetMinThumb(20);
    // Track 16..184 (168); 10% of it is 16, below the smallest 20 -> thumb 20,
    // travel 148; max position 91.
    const odscroll::Geometry start = bar.Layout(0);
    ASSERT_EQ(start.thumb.start, 16);
    ASSERT_EQ(start.thumb.Length(), 20);
    bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(8, 20));  // 4 pixels into the thumb
    EXPECT_TRUE(bar.IsDragging());
    // Thumb top at 20 + 74 - 4 = 90: d = 74 of 148 -> 91 / 2 = 45.5 -> 45.
    bar.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(8, 94));
    bar.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(8, 500));
    EXPECT_EQ(parent.Codes(WM_VSCROLL), (std::vector<int>{SB_THUMBTRACK, SB_THUMBTRACK}));
    ASSERT_EQ(parent.entries.size(), 2u);
    EXPECT_EQ(parent.entries[0].pos, 45);
    EXPECT_EQ(parent.entries[1].pos, 91) << "held at the max position";
    EXPECT_EQ(bar.GetScrollPos(), 0) << "the position waits for the parent";

    bar.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(8, 94));
    const std::unique_ptr<Canvas> c = Paint(bar);
    // Thumb at 16 + 148 * 45 / 91 = 16 + 73 = 89, 20 long: red inside its two
    // frames (rows 89 and 90) and above the grip marks (from its centre - 6 = 93).
    const odscroll::Geometry g = bar.Layout(45);
    ASSERT_EQ(g.thumb.start, 89);
    EXPECT_EQ(c->At(8, 91), kRed) << "the thumb stands at the track position";
    EXPECT_EQ(c->At(8, 92), kRed);
    EXPECT_NE(c->At(8, 16 + 2), kRed) << "not at the position";
    bar.SendMessage(WM_LBUTTONUP, 0, At(8, 94));
    EXPECT_FALSE(bar.IsDragging());
}

TEST_F(ScrollBarTest, WheelHomeAndEnd)
{
    CODScrollBarCtrl bar;
    MakeVertical(bar);
    bar.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    bar.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-WHEEL_DELTA)), 0);
    EXPECT_EQ(parent.Codes(WM_VSCROLL), (std::vector<int>{SB_PAGEUP, SB_PAGEDOWN})) << "pages, not lines";
    parent.entries.clear();
    bar.SendMessage(WM_KEYDOWN, VK_END, 0);
    EXPECT_EQ(bar.GetScrollPos(), 91);
    bar.SendMessage(WM_KEYDOWN, VK_END, 0);  // no change: nothing sent
    bar.SendMessage(WM_KEYDOWN, VK_HOME, 0);
    EXPECT_EQ(bar.GetScrollPos(), 0);
    EXPECT_EQ(parent.Codes(WM_VSCROLL), (std::vector<int>{SB_BOTTOM, SB_TOP}));
    ASSERT_EQ(parent.entries.size(), 2u);
    EXPECT_EQ(parent.entries[0].pos, 91);
}

TEST_F(ScrollBarTest, AnEmptyRangeHidesAndDisablesTheBar)
{
    CODScrollBarCtrl bar;
    MakeVertical(bar);
    EXPECT_TRUE(bar.IsWindowVisible() || !parent.IsWindowVisible());
    EXPECT_TRUE(bar.IsWindowEnabled());
    bar.SetScrollRange(10, 10, TRUE);
    EXPECT_FALSE(bar.IsShown());
    EXPECT_FALSE(bar.IsWindowEnabled());
    EXPECT_EQ(bar.GetPageSize(), 0);
    bar.SetScrollRange(0, 50, TRUE);
    EXPECT_TRUE(bar.IsShown());
    EXPECT_TRUE(bar.IsWindowEnabled());
}

TEST_F(ScrollBarTest, ClassicLookByPixel)
{
    CODScrollBarCtrl bar;
    ASSERT_TRUE(bar.Create(WS_CHILD | SBS_HORZ, CRect(0, 0, 200, 16), &parent, 0xEA00));
    bar.SetArrowSize(16);
    bar.SetScrollRange(0, 100, TRUE);
    bar.SetTrackColor(kBlue);
    bar.SetThumbColor(kGreen);
    bar.SetMinThumb(20);
    bar.SetGripStyle(3);
    std::unique_ptr<Canvas> c = Paint(bar);
    // Track from 16: thumb 16..36. The track right of it is a checkerboard of
    // grey 127 and the track colour.
    const COLORREF a = c->At(100, 8), b = c->At(101, 8);
    EXPECT_TRUE((a == kBlue && b == RGB(127, 127, 127)) || (a == RGB(127, 127, 127) && b == kBlue))
        << std::hex << a << " " << b;
    EXPECT_EQ(c->At(100, 8), c->At(101, 9)) << "a checkerboard";
    EXPECT_EQ(c->At(20, 5), kGreen) << "the thumb's fill";
    EXPECT_EQ(c->At(16, 0), kGreen) << "outer frame: the fill colour at the top-left";
    EXPECT_EQ(c->At(35, 15), kBlack) << "outer frame: black at the bottom-right";
    // Disabled: the track is one solid colour.
    bar.EnableWindow(FALSE);
    c = Paint(bar);
    EXPECT_EQ(c->At(100, 8), kBlue);
    EXPECT_EQ(c->At(101, 8), kBlue);
}

TEST_F(ScrollBarTest, StripLookByPixel)
{
    // A strip of cells of 13 (117 x 39): every cell of the horizontal bar's
    // rows painted in its own colour, so the copied pixels name their source.
    // Columns: 0..51 the vertical cells, 52 left arrow, 65 right arrow,
    // 78 thumb, 91 track, 104 size box; rows 0 normal, 13 hot, 26 pressed.
    auto colour = [](int x, int y) -> COLORREF {
        const int row = y / 13;
        if (x >= 52 && x < 65)
            return row == 0 ? kRed : row == 1 ? kYellow : kMagenta;  // left arrow
        if (x >= 65 && x < 78)
            return kGreen;  // right arrow
        if (x >= 78 && x < 91)
            return x < 84 ? kCyan : x == 84 ? kWhite : kGrey;  // thumb: start, middle, end
        if (x >= 91 && x < 104)
            return kBlue;  // track
        return kBlack;
    };
    CODScrollBarCtrl bar;
    ASSERT_TRUE(bar.Create(WS_CHILD | SBS_HORZ, CRect(0, 0, 200, 13), &parent, 0xEA00));
    bar.SetArrowSize(13);
    bar.SetImageCellSizes(13, 13, 13, 13);
    bar.SetMinThumb(40);
    bar.SetScrollRange(0, 100, TRUE);
    ASSERT_TRUE(bar.SetImage(MakeBitmap(117, 39, colour), TRUE));
    ASSERT_TRUE(bar.HasImage());
    std::unique_ptr<Canvas> c = Paint(bar);
    EXPECT_EQ(c->At(5, 6), kRed) << "left arrow, normal row";
    EXPECT_EQ(c->At(194, 6), kGreen) << "right arrow";
    EXPECT_EQ(c->At(120, 6), kBlue) << "track";
    // Thumb 13..53: caps of 7 from the start and end pieces, the middle slice stretched.
    EXPECT_EQ(c->At(14, 6), kCyan);
    EXPECT_EQ(c->At(33, 6), kWhite);
    EXPECT_EQ(c->At(51, 6), kGrey);
    // A pressed arrow takes the pressed row.
    bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(5, 6));
    c = Paint(bar);
    EXPECT_EQ(c->At(5, 6), kMagenta);
    bar.SendMessage(WM_LBUTTONUP, 0, At(5, 6));
}

}  // namespace
