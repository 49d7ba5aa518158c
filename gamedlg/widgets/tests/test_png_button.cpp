// CPngButton: cell sizes, the cell drawn per state, the hit rectangle from
// the cell's visible pixels, compositing over the table's picture, the hover
// sound and focus sequence, refusals, and no GDI objects left behind.
#include "WidgetTestSupport.h"

#include "PngButton.h"
#include "WidgetServices.h"

using namespace wtest;

namespace {

const ::testing::Environment* const g_gdiplus = ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

const UINT kHoverSound = 262;

// Cell i of a strip: transparent, except an opaque square x 10..29, y 10..39
// and a half-transparent band x 30..39, y 10..39, both of the cell's colour.
const Gdiplus::ARGB kCellColours[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00};

std::unique_ptr<Gdiplus::Bitmap> MakeStrip(int cells, int cellWidth = 50, int height = 50, int extra = 0)
{
    return MakeArgbBitmap(cells * cellWidth + extra, height, [=](int x, int y) -> Gdiplus::ARGB {
        const int cell = x / cellWidth;
        const int cx = x % cellWidth;
        if (cell >= cells || y < 10 || y >= 40)
            return 0;
        const Gdiplus::ARGB c = kCellColours[cell % 4];
        if (cx >= 10 && cx < 30)
            return c;
        if (cx >= 30 && cx < 40)
            return (c & 0x00FFFFFF) | 0x80000000;
        return 0;
    });
}

// The table's picture: pixel (x, y) = RGB(x, y, 77), so a copy from the
// wrong place shows.
COLORREF TableColour(int x, int y) { return RGB(x & 0xFF, y & 0xFF, 77); }

class PngButtonTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateShown());
        for (int y = 0; y < table.height(); ++y)
            for (int x = 0; x < table.width(); ++x)
                table.Set(x, y, TableColour(x, y));
        SetTableSurface(parent.m_hWnd, table.dc());
    }
    void TearDown() override
    {
        SetTableSurface(NULL, NULL);
        parent.DestroyWindow();
    }

    // A button at (x, y) of the parent with the strip.
    void Make(CPngButton& b, UINT id, Gdiplus::Image* strip, int states, int x = 20, int y = 30)
    {
        ASSERT_TRUE(b.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(x, y, x, y), &parent, id));
        ASSERT_TRUE(b.Init(id, strip, kHoverSound, states, 0));
    }

    // Draws the button for an item state into a fresh canvas.
    void Draw(CPngButton& b, UINT state, Canvas& into)
    {
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_BUTTON;
        dis.CtlID = b.GetId();
        dis.itemState = state;
        dis.hwndItem = b.m_hWnd;
        dis.hDC = into.dc();
        dis.rcItem = CRect(0, 0, into.width(), into.height());
        b.DrawItem(&dis);
    }

    // The real cursor is put where the message says: moves that the system
    // makes up (on capture changes) then agree with the test's.
    static void Move(CPngButton& b, int x, int y, UINT flags = 0)
    {
        PutCursor(b, x, y);
        b.SendMessage(WM_MOUSEMOVE, flags, MAKELPARAM(x, y));
    }
    static void PutCursor(CPngButton& b, int x, int y)
    {
        POINT p = {x, y};
        ::ClientToScreen(b.m_hWnd, &p);
        ::SetCursorPos(p.x, p.y);
    }

    CTestParent parent;
    Canvas table{400, 300};
};

TEST_F(PngButtonTest, CellSizeTable)
{
    struct Case {
        const char* what;
        int cells, cellWidth, extra, states;
        SIZE expected;
    } cases[] = {
        {"200 x 50, 4 states -> 50 x 50", 4, 50, 0, 4, {50, 50}},
        {"202 x 50, 4 states -> 50 x 50 (remainder dropped)", 4, 50, 2, 4, {50, 50}},
        {"2-cell strip", 2, 60, 0, 2, {60, 50}},
        {"one cell", 1, 33, 0, 1, {33, 50}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto strip = MakeStrip(c.cells, c.cellWidth, 50, c.extra);
        CPngButton b;
        Make(b, 200, strip.get(), c.states);
        SIZE s = {};
        b.GetImageInfo(&s);
        EXPECT_EQ(s.cx, c.expected.cx);
        EXPECT_EQ(s.cy, c.expected.cy);
        CRect rc;
        b.GetWindowRect(&rc);
        parent.ScreenToClient(&rc);
        EXPECT_EQ(rc, CRect(20, 30, 20 + c.expected.cx, 30 + c.expected.cy)) << "sized to one cell, top-left kept";
        b.DestroyWindow();
    }
}

TEST_F(PngButtonTest, RefusalsKeepThePreviousImageAndSize)
{
    auto strip = MakeStrip(4);
    auto other = MakeStrip(2, 70);
    Gdiplus::Bitmap broken(0, 0, PixelFormat32bppARGB);   // no size: GDI+ refuses it
    CPngButton b;
    Make(b, 201, strip.get(), 4);
    struct Case {
        const char* what;
        Gdiplus::Image* image;
        int states;
    } cases[] = {
        {"null image", nullptr, 4},
        {"image without size", &broken, 4},
        {"zero states (the cell width would divide by 0)", other.get(), 0},
        {"negative states", other.get(), -2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(b.SetImage(c.image, c.states));
        EXPECT_EQ(b.GetImage(), strip.get());
        SIZE s = {};
        b.GetImageInfo(&s);
        EXPECT_EQ(s.cx, 50);
        CRect rc;
        b.GetClientRect(&rc);
        EXPECT_EQ(rc.Width(), 50);
    }
}

TEST_F(PngButtonTest, DrawsTheCellOfTheStateOverTheTable)
{
    auto strip4 = MakeStrip(4);
    auto strip2 = MakeStrip(2);
    struct Case {
        const char* what;
        Gdiplus::Image* strip;
        int states;
        UINT itemState;
        int cell;
    } cases[] = {
        {"normal", strip4.get(), 4, 0, 0},
        {"focus: hover cell", strip4.get(), 4, ODS_FOCUS, 1},
        {"pressed", strip4.get(), 4, ODS_SELECTED | ODS_FOCUS, 2},
        {"disabled", strip4.get(), 4, ODS_DISABLED, 3},
        {"disabled and selected: pressed", strip4.get(), 4, ODS_DISABLED | ODS_SELECTED, 2},
        {"2 cells: pressed draws 0", strip2.get(), 2, ODS_SELECTED, 0},
        {"2 cells: hover draws 1", strip2.get(), 2, ODS_FOCUS, 1},
        {"2 cells: disabled draws 0", strip2.get(), 2, ODS_DISABLED, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CPngButton b;
        Make(b, 202, c.strip, c.states);
        Canvas out(50, 50, RGB(1, 2, 3));
        Draw(b, c.itemState, out);
        EXPECT_EQ(out.At(15, 15), Rgb(kCellColours[c.cell])) << "opaque pixel of the cell";
        // Transparent pixels show the table's picture under the button (at 20, 30).
        EXPECT_EQ(out.At(0, 0), TableColour(20, 30));
        EXPECT_EQ(out.At(49, 49), TableColour(69, 79));
        EXPECT_EQ(CRect(b.GetHitRect()), CRect(10, 10, 40, 40));
        b.DestroyWindow();
    }
}

TEST_F(PngButtonTest, HalfTransparentPixelsBlendIntoTheTable)
{
    auto strip = MakeStrip(4);
    CPngButton b;
    Make(b, 203, strip.get(), 4, 100, 60);
    Canvas out(50, 50);
    Draw(b, 0, out);
    // Red at alpha 0x80 over the table pixel (100 + 35, 60 + 20) = RGB(135, 80, 77):
    // source-over gives c = src x 128/255 + dst x 127/255 per channel:
    // R = 255 x 0.502 + 135 x 0.498 = 195.2, G = 80 x 0.498 = 39.8, B = 77 x 0.498 = 38.4.
    EXPECT_TRUE(Near(out.At(35, 20), RGB(195, 40, 38), 2)) << std::hex << out.At(35, 20);
}

TEST_F(PngButtonTest, WithoutATableItDrawsOverBlack)
{
    SetTableSurface(NULL, NULL);
    auto strip = MakeStrip(4);
    CPngButton b;
    Make(b, 204, strip.get(), 4);
    Canvas out(50, 50, RGB(9, 9, 9));
    Draw(b, 0, out);
    EXPECT_EQ(out.At(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(out.At(15, 15), Rgb(kCellColours[0]));
}

TEST_F(PngButtonTest, HoverSoundAndFocusSequence)
{
    SoundRecorder sounds;
    auto strip = MakeStrip(4);
    CPngButton a, b;
    Make(a, 210, strip.get(), 4, 20, 30);
    Make(b, 211, strip.get(), 4, 120, 30);
    Canvas scratch(50, 50);
    Draw(a, 0, scratch);   // the hit rectangle comes from the cell drawn last
    Draw(b, 0, scratch);

    Move(a, 5, 5);   // a fully transparent corner
    EXPECT_NE(CWnd::GetFocus()->GetSafeHwnd(), a.m_hWnd);
    EXPECT_TRUE(sounds.Played().empty()) << "transparent corner neither focuses nor sounds";

    Move(a, 20, 20);
    EXPECT_EQ(CWnd::GetFocus()->GetSafeHwnd(), a.m_hWnd);
    EXPECT_EQ(CWnd::GetCapture()->GetSafeHwnd(), a.m_hWnd);
    EXPECT_EQ(sounds.Played(), std::vector<UINT>{kHoverSound});

    Move(a, 25, 25);
    EXPECT_EQ(sounds.Played().size(), 1u) << "moving inside plays nothing more";

    Move(a, 20, 20, MK_LBUTTON);   // moves with the button held are ignored
    Move(a, 45, 45);               // out of the visible pixels
    EXPECT_NE(CWnd::GetFocus()->GetSafeHwnd(), a.m_hWnd);
    EXPECT_NE(CWnd::GetCapture()->GetSafeHwnd(), a.m_hWnd);

    Move(b, 20, 20);   // onto the second button: its sound, once
    EXPECT_EQ(CWnd::GetFocus()->GetSafeHwnd(), b.m_hWnd);
    EXPECT_EQ(sounds.Played(), (std::vector<UINT>{kHoverSound, kHoverSound}));

    // A click: the up marks the mouse outside but the focus stays; moving
    // inside again re-enters a button that still has the focus: no sound.
    PutCursor(b, 20, 20);
    b.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    b.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(20, 20));   // BN_CLICKED is sent, not posted
    EXPECT_EQ(CWnd::GetFocus()->GetSafeHwnd(), b.m_hWnd);
    Move(b, 21, 21);
    EXPECT_EQ(sounds.Played().size(), 2u);
    ASSERT_FALSE(parent.commands.empty());
    EXPECT_EQ(parent.commands.back(), std::make_pair(211u, (UINT)BN_CLICKED));

    // Sound switched off: entering plays nothing.
    Move(b, 45, 45);
    a.SetSoundOn(FALSE);
    Move(a, 20, 20);
    EXPECT_EQ(CWnd::GetFocus()->GetSafeHwnd(), a.m_hWnd);
    EXPECT_EQ(sounds.Played().size(), 2u);
}

TEST_F(PngButtonTest, FocusIsRefusedWhileTheMouseIsElsewhere)
{
    auto strip = MakeStrip(4);
    CPngButton a;
    Make(a, 212, strip.get(), 4);
    a.SetFocus();
    EXPECT_NE(CWnd::GetFocus()->GetSafeHwnd(), a.m_hWnd);
}

TEST_F(PngButtonTest, NeverDrawnButtonNeverTakesTheFocus)
{
    SoundRecorder sounds;
    CPngButton b;
    ASSERT_TRUE(b.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(20, 30, 70, 80), &parent, 213));
    Canvas out(50, 50, RGB(9, 9, 9));
    Draw(b, 0, out);   // no image: nothing drawn
    EXPECT_EQ(out.At(10, 10), RGB(9, 9, 9));
    EXPECT_TRUE(::IsRectEmpty(&b.GetHitRect()));
    Move(b, 20, 20);
    EXPECT_NE(CWnd::GetFocus()->GetSafeHwnd(), b.m_hWnd);
    EXPECT_TRUE(sounds.Played().empty());
}

TEST_F(PngButtonTest, DrawingLeavesNoGdiObjects)
{
    auto strip = MakeStrip(4);
    CPngButton b;
    Make(b, 214, strip.get(), 4);
    Canvas out(50, 50);
    Draw(b, 0, out);   // the first draw keeps one background copy
    const int before = CountGdiObjects();
    ASSERT_GT(before, 0) << "the counter sees the process's objects";
    for (int i = 0; i < 50; ++i)
        Draw(b, i % 2 ? ODS_FOCUS : 0, out);
    EXPECT_EQ(CountGdiObjects(), before);
    b.DestroyWindow();
}

}  // namespace
