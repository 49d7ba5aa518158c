// CStateButton (frames, state runs, captions, colour-key and alpha drawing,
// refusals) and the child-window holder's layout.
#include "WidgetTestSupport.h"

#include "ChildWndItem.h"
#include "StateButton.h"

using namespace wtest;

namespace {

// A strip of frames 50 x 20: frame i is filled with kFrames[i]; an extra
// frame (the alpha frame) follows when alpha is given, its blue byte = alpha.
const COLORREF kFrames[4] = {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200), RGB(200, 200, 0)};

HBITMAP MakeFrames(int frames, int alpha = -1, bool magentaCorner = false)
{
    const int total = frames + (alpha >= 0 ? 1 : 0);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = total * 50;
    bi.bmiHeader.biHeight = -20;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    DWORD* bits = nullptr;
    HBITMAP b = ::CreateDIBSection(NULL, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), NULL, 0);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < total * 50; ++x) {
            const int f = x / 50;
            COLORREF c = f < frames ? kFrames[f % 4] : RGB(0, 0, alpha);
            if (magentaCorner && f < frames && x % 50 < 10 && y < 10)
                c = RGB(255, 0, 255);
            bits[y * total * 50 + x] = GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c);
        }
    return b;
}

class StateButtonTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateShown());
        ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(10, 10, 20, 20), &parent, 77));
    }
    void TearDown() override
    {
        button.DestroyWindow();
        parent.DestroyWindow();
        for (HBITMAP b : strips)
            ::DeleteObject(b);
    }
    HBITMAP Strip(int frames, int alpha = -1, bool magenta = false)
    {
        strips.push_back(MakeFrames(frames, alpha, magenta));
        return strips.back();
    }
    void Draw(UINT state, Canvas& into)
    {
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_BUTTON;
        dis.itemState = state;
        dis.hwndItem = button.m_hWnd;
        dis.hDC = into.dc();
        dis.rcItem = CRect(0, 0, 50, 20);
        button.DrawItem(&dis);
    }

    CTestParent parent;
    CStateButton button;
    std::vector<HBITMAP> strips;
};

TEST_F(StateButtonTest, FramesSizeTheWindowAndEachStateDrawsItsFrame)
{
    ASSERT_TRUE(button.SetBitmap(Strip(4), 4, -1, 0, nullptr, NULL, 0, 0));
    EXPECT_EQ(button.GetFrameWidth(), 50);
    CRect rc;
    button.GetClientRect(&rc);
    EXPECT_EQ(rc, CRect(0, 0, 50, 20));
    struct Case {
        const char* what;
        UINT state;
        bool hover;
        int frame;
    } cases[] = {
        {"normal", 0, false, 0},
        {"hover: frame at x 50", 0, true, 1},
        {"pressed", ODS_SELECTED, true, 2},
        {"disabled wins", ODS_DISABLED | ODS_SELECTED, true, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        button.SetHover(c.hover);
        Canvas out(50, 20, RGB(1, 1, 1));
        Draw(c.state, out);
        EXPECT_EQ(out.At(25, 10), kFrames[c.frame]);
    }
    button.SetHover(FALSE);
}

TEST_F(StateButtonTest, MagentaIsTransparentAndShapesTheWindow)
{
    ASSERT_TRUE(button.SetBitmap(Strip(4, -1, true), 4, 0, 0, nullptr, NULL, 0, 0));
    Canvas out(50, 20, RGB(7, 7, 7));
    Draw(0, out);
    EXPECT_EQ(out.At(2, 2), RGB(7, 7, 7)) << "key colour left alone";
    EXPECT_EQ(out.At(30, 15), kFrames[0]);
    HRGN rgn = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(button.GetWindowRgn(rgn), ERROR);
    EXPECT_FALSE(::PtInRegion(rgn, 2, 2));
    EXPECT_TRUE(::PtInRegion(rgn, 30, 15));
    EXPECT_FALSE(::PtInRegion(rgn, 60, 15)) << "cut to the first frame";
    ::DeleteObject(rgn);
}

TEST_F(StateButtonTest, AlphaFrameFollowsTheColourFrames)
{
    // Two frames and an alpha frame of blue 128: the alpha comes from x 100,
    // not from 4 x the frame width (past the strip).
    ASSERT_TRUE(button.SetBitmap(Strip(2, 128), 2, -1, 0, nullptr, NULL, 0, 1));
    EXPECT_EQ(button.GetFrameWidth(), 50);
    Canvas out(50, 20, RGB(100, 50, 10));
    Draw(0, out);
    // (dst x 127 + src x 128) / 256 per channel, src = (200, 0, 0):
    // R = (100 x 127 + 200 x 128) / 256 = 149, G = 50 x 127 / 256 = 24, B = 10 x 127 / 256 = 4.
    EXPECT_EQ(out.At(25, 10), RGB(149, 24, 4));
}

TEST_F(StateButtonTest, RunsCaptionsAndRefusals)
{
    HBITMAP six = Strip(6);
    ASSERT_TRUE(button.SetBitmap(six, 6, -1, 0, std::string(40, 'c').c_str(), (HFONT)::GetStockObject(DEFAULT_GUI_FONT),
                                 RGB(1, 2, 3), 0));
    EXPECT_EQ(std::string(button.GetCaption()), std::string(31, 'c')) << "at most 31 characters";
    int first = -1, run = -1;
    button.GetStateFrames(1, &first, &run);
    EXPECT_EQ(first, 0) << "not 4 frames: runs are set by the caller";
    EXPECT_EQ(run, 0);
    EXPECT_TRUE(button.SetStateFrames(1, 2, 3));
    EXPECT_FALSE(button.SetStateFrames(1, 4, 3)) << "past the frame count";
    EXPECT_FALSE(button.SetStateFrames(4, 0, 1)) << "no such state";
    const int goodFirst[4] = {0, 1, 2, 3}, runs[4] = {1, 1, 1, 1};
    const int badFirst[4] = {0, 1, 2, 6};
    EXPECT_FALSE(button.SetAllStateFrames(badFirst, runs));
    button.GetStateFrames(0, &first, &run);
    EXPECT_EQ(run, 0) << "a refused set changes nothing";
    EXPECT_TRUE(button.SetAllStateFrames(goodFirst, runs));
    EXPECT_FALSE(button.SetText("", (HFONT)::GetStockObject(DEFAULT_GUI_FONT), 0));
    EXPECT_FALSE(button.SetText("x", NULL, 0));

    EXPECT_FALSE(button.SetBitmap(NULL, 4, 0, 0, nullptr, NULL, 0, 0));
    // Zero frames: no division, nothing drawn.
    EXPECT_TRUE(button.SetBitmap(Strip(4), 0, 0, 0, nullptr, NULL, 0, 0));
    Canvas out(50, 20, RGB(9, 9, 9));
    Draw(0, out);
    EXPECT_EQ(out.At(25, 10), RGB(9, 9, 9));

    CStateButton unattached;
    EXPECT_FALSE(unattached.SetBitmap(six, 6, 0, 0, nullptr, NULL, 0, 0)) << "no window";
}

TEST_F(StateButtonTest, TimerAdvancesTheFramesOfARun)
{
    ASSERT_TRUE(button.SetBitmap(Strip(4), 4, -1, 0, nullptr, NULL, 0, 0));
    ASSERT_TRUE(button.SetStateFrames(0, 1, 3));   // normal: frames 1, 2, 3, 1 ...
    std::vector<COLORREF> seen;
    for (int i = 0; i < 4; ++i) {
        Canvas out(50, 20);
        Draw(0, out);
        seen.push_back(out.At(25, 10));
        button.SendMessage(WM_TIMER, 1, 0);
    }
    EXPECT_EQ(seen, (std::vector<COLORREF>{kFrames[1], kFrames[2], kFrames[3], kFrames[1]}));
}

TEST(ChildHolder, FitsTheWindowInsideTheItem)
{
    CTestParent parent;
    ASSERT_TRUE(parent.CreateShown());
    CWnd child;
    ASSERT_TRUE(child.CreateEx(0, AfxRegisterWndClass(0), "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &parent, 5));
    ASSERT_TRUE(FitChildWindow(&child, CRect(20, 30, 120, 70)));   // 100 x 40
    CRect rc;
    child.GetWindowRect(&rc);
    parent.ScreenToClient(&rc);
    EXPECT_EQ(rc, CRect(21, 31, 119, 69)) << "98 x 38, 1 pixel in from each edge";
    HRGN rgn = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(child.GetWindowRgn(rgn), ERROR);
    EXPECT_FALSE(::PtInRegion(rgn, 0, 0)) << "rounded corner";
    EXPECT_TRUE(::PtInRegion(rgn, 50, 20));
    ::DeleteObject(rgn);

    // A destroyed window is left alone.
    child.DestroyWindow();
    EXPECT_FALSE(FitChildWindow(&child, CRect(0, 0, 50, 50)));
    CWnd stale;
    stale.m_hWnd = (HWND)(ULONG_PTR)0x7FF0;   // a handle of no window
    EXPECT_FALSE(FitChildWindow(&stale, CRect(0, 0, 50, 50)));
    stale.m_hWnd = NULL;
    EXPECT_FALSE(FitChildWindow(nullptr, CRect(0, 0, 50, 50)));
    parent.DestroyWindow();
}

TEST(ChildHolder, TheLayoutItemFitsItsFirstWindowAfterTheAreasLayout)
{
    CTestParent parent;
    ASSERT_TRUE(parent.CreateShown());
    CWnd child;
    ASSERT_TRUE(child.CreateEx(0, AfxRegisterWndClass(0), "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &parent, 5));
    CChildWndItem item;
    item.SetRect(CRect(0, 0, 10, 10));
    ASSERT_EQ(1, item.AddItem(&child));
    item.SetRect(CRect(20, 30, 120, 70));   // 100 x 40: laid out again
    CRect rc;
    child.GetWindowRect(&rc);
    parent.ScreenToClient(&rc);
    EXPECT_EQ(rc, CRect(21, 31, 119, 69)) << "98 x 38 inside the item, not the area's full fill";

    child.DestroyWindow();
    item.SetRect(CRect(0, 0, 60, 60));   // a destroyed window: laid out without touching it
    EXPECT_EQ(item.GetRect(), CRect(0, 0, 60, 60));
    item.RemoveItem(&child);
    parent.DestroyWindow();
}

TEST_F(StateButtonTest, ExcludeFromClipLeavesTheButtonsShapeAlone)
{
    ASSERT_TRUE(button.SetBitmap(Strip(4, -1, true), 4, 0, 0, nullptr, NULL, 0, 0));
    button.SetWindowPos(NULL, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    CClientDC dc(&parent);
    button.ExcludeFromClip(&dc);
    EXPECT_FALSE(::PtVisible(dc.m_hDC, 30 + 30, 40 + 15)) << "the button's visible pixels";
    EXPECT_TRUE(::PtVisible(dc.m_hDC, 30 + 2, 40 + 2)) << "its magenta corner is the parent's";
    EXPECT_TRUE(::PtVisible(dc.m_hDC, 200, 200));
}

}  // namespace
