// The framed popup base on a real window with the resource library's web
// notice frame (kit/art/make_popup_frame.py draws it: edges 6 left, right and
// bottom, 30 on top; close strip 4 x 16 by 16): picture loading, the
// non-client size, hit tests through the window, closing only on a release
// over the close button, the rounded region, the painted frame; and the
// popup button's thirds, hover capture and click.
#include "KitTestSupport.h"

#include "FramedPopupDlg.h"
#include "kit_ids.h"

namespace {

using namespace kittest;

// Colours of make_popup_frame.py.
const COLORREF kOutline = RGB(30, 60, 110);
const COLORREF kBody = RGB(245, 248, 252);
// mix(CAPTION_TOP, CAPTION_BOTTOM, (y - 1) / 28), truncated as Python's int().
COLORREF TopBand(int y)
{
    const double t = (y - 1) / 28.0;
    return RGB((int)(90 + (40 - 90) * t), (int)(150 + (90 - 150) * t), (int)(215 + (160 - 215) * t));
}
const COLORREF kCloseFaces[4] = {RGB(200, 60, 60), RGB(235, 90, 90), RGB(150, 30, 30), RGB(160, 160, 160)};

class CTestPopup : public CFramedPopupDlg
{
public:
    CTestPopup() : CFramedPopupDlg(IDD_KIT_WEBTIP) {}
    int m_nCancels = 0;
    void OnCancel() override { m_nCancels++; }
};

COLORREF WindowPixel(HWND hWnd, int x, int y)
{
    HDC hdc = GetWindowDC(hWnd);
    const COLORREF c = GetPixel(hdc, x, y);
    ReleaseDC(hWnd, hdc);
    return c;
}

class FramedPopupTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(m_res, (HMODULE)NULL) << "Mardavel_Res.dll beside the test";
        AfxSetResourceHandle(m_res);
    }
    void TearDown() override
    {
        AfxSetResourceHandle(NULL);
        PumpPendingMessages();
        AfxDeleteTempMaps();
        if (m_res != NULL)
            FreeLibrary(m_res);
    }
    // A 200 x 150 popup at (60, 40), shown.
    BOOL Make(CTestPopup& popup)
    {
        if (!popup.LoadFrame(IDR_KIT_WEBTIP_FRAME, "GIF", m_res) || !popup.Create(IDD_KIT_WEBTIP, NULL))
            return FALSE;
        popup.SetWindowPos(&CWnd::wndTopMost, 60, 40, 200, 150, SWP_SHOWWINDOW | SWP_NOACTIVATE);
        popup.RedrawWindow(NULL, NULL, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        PumpPendingMessages();
        return TRUE;
    }
    LRESULT Nc(CWnd& w, UINT msg, int x, int y, WPARAM wParam = 0)
    {
        CRect rc;
        w.GetWindowRect(&rc);
        return w.SendMessage(msg, wParam, MAKELPARAM(rc.left + x, rc.top + y));
    }
    HMODULE m_res = LoadLibraryA("Mardavel_Res.dll");
};

TEST_F(FramedPopupTest, LoadsTheTenPicturesOrNone)
{
    CTestPopup popup;
    ASSERT_TRUE(popup.LoadFrame(IDR_KIT_WEBTIP_FRAME, "GIF", m_res));
    struct Size { const char* what; int part, cx, cy; };
    const Size sizes[] = {
        {"top-left", CFramedPopupDlg::kTopLeft, 10, 30},     {"top", CFramedPopupDlg::kTop, 1, 30},
        {"top-right", CFramedPopupDlg::kTopRight, 10, 30},   {"left", CFramedPopupDlg::kLeft, 6, 1},
        {"right", CFramedPopupDlg::kRight, 6, 1},            {"bottom-left", CFramedPopupDlg::kBottomLeft, 10, 10},
        {"bottom", CFramedPopupDlg::kBottom, 1, 6},          {"bottom-right", CFramedPopupDlg::kBottomRight, 10, 10},
        {"background", CFramedPopupDlg::kBackground, 8, 8},  {"close", CFramedPopupDlg::kCloseButton, 64, 16},
    };
    for (const Size& s : sizes) {
        EXPECT_EQ(popup.GetFrameSize(s.part).cx, s.cx) << s.what;
        EXPECT_EQ(popup.GetFrameSize(s.part).cy, s.cy) << s.what;
    }
    // One id past the last picture: the tenth is missing, nothing is kept.
    EXPECT_FALSE(popup.LoadFrame(IDR_KIT_WEBTIP_FRAME + 1, "GIF", m_res));
    EXPECT_FALSE(popup.IsFrameLoaded());
    EXPECT_EQ(popup.GetFrameImage(CFramedPopupDlg::kTopLeft), (HBITMAP)NULL);
    EXPECT_FALSE(popup.LoadFrame(IDR_KIT_WEBTIP_FRAME, "GIF", NULL));
    EXPECT_FALSE(popup.LoadFrame(IDR_KIT_WEBTIP_FRAME, RT_BITMAP, m_res)) << "wrong resource type";
}

TEST_F(FramedPopupTest, ClientAreaIsTheWindowLessTheEdges)
{
    CTestPopup popup;
    ASSERT_TRUE(Make(popup));
    CRect client;
    popup.GetClientRect(&client);
    EXPECT_EQ(client.Width(), 200 - 6 - 6);
    EXPECT_EQ(client.Height(), 150 - 30 - 6);
    EXPECT_EQ(popup.GetStyle() & (WS_SYSMENU | WS_BORDER), 0u);
    popup.DestroyWindow();
}

TEST_F(FramedPopupTest, HitTestThroughTheWindow)
{
    CTestPopup popup;
    ASSERT_TRUE(Make(popup));
    struct Case { const char* what; int x, y; LRESULT code; BOOL hover; };
    const Case cases[] = {
        {"client", 100, 80, HTCLIENT, FALSE},
        {"close button", 180, 15, HTSYSMENU, TRUE},
        {"caption", 60, 15, HTCAPTION, FALSE},
        {"top rows above the caption strip", 60, 2, HTNOWHERE, FALSE},
        {"bottom edge", 100, 147, HTNOWHERE, FALSE},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Nc(popup, WM_NCHITTEST, c.x, c.y), c.code) << c.what;
        EXPECT_EQ(popup.IsCloseHover(), c.hover) << c.what;
    }
    popup.DestroyWindow();
}

TEST_F(FramedPopupTest, ClosesOnlyOnAReleaseOverTheCloseButton)
{
    CTestPopup popup;
    ASSERT_TRUE(Make(popup));
    struct Case { const char* what; int downX, downY, upX, upY; int cancels; };
    const Case cases[] = {
        {"pressed and released on the button", 180, 15, 182, 17, 1},
        {"pressed on the button, released on the caption", 180, 15, 60, 15, 0},
        // (A press on the caption would start the system's move loop.)
        {"pressed on the frame, released on the button", 100, 147, 180, 15, 0},
    };
    for (const Case& c : cases) {
        popup.m_nCancels = 0;
        const UINT downHit = (UINT)Nc(popup, WM_NCHITTEST, c.downX, c.downY);
        Nc(popup, WM_NCLBUTTONDOWN, c.downX, c.downY, downHit);
        const BOOL pressed = popup.IsClosePressed();
        Nc(popup, WM_NCLBUTTONUP, c.upX, c.upY, HTCAPTION);
        EXPECT_EQ(popup.m_nCancels, c.cancels) << c.what;
        EXPECT_EQ(pressed, c.downX == 180) << c.what;
        EXPECT_FALSE(popup.IsClosePressed()) << c.what;
    }
    // A press whose release went elsewhere is let go at the next hit test
    // (the left button is up here).
    Nc(popup, WM_NCLBUTTONDOWN, 180, 15, HTSYSMENU);
    ASSERT_TRUE(popup.IsClosePressed());
    Nc(popup, WM_NCHITTEST, 100, 80);
    EXPECT_FALSE(popup.IsClosePressed());
    popup.DestroyWindow();
}

TEST_F(FramedPopupTest, RectangularWithoutAnEllipseRoundedWithOne)
{
    CTestPopup plain;
    ASSERT_TRUE(Make(plain));
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(plain.GetSafeHwnd(), rgn), ERROR) << "no window region";
    plain.DestroyWindow();

    CTestPopup rounded;
    rounded.SetCornerEllipse(20, 20);
    ASSERT_TRUE(Make(rounded));
    ASSERT_NE(GetWindowRgn(rounded.GetSafeHwnd(), rgn), ERROR);
    EXPECT_FALSE(PtInRegion(rgn, 0, 0)) << "the corner is cut";
    EXPECT_FALSE(PtInRegion(rgn, 199, 149));
    EXPECT_TRUE(PtInRegion(rgn, 100, 0));
    EXPECT_TRUE(PtInRegion(rgn, 199, 75)) << "the region reaches the last column (width + 1)";
    DeleteObject(rgn);
    rounded.DestroyWindow();
}

TEST_F(FramedPopupTest, PaintsTheFrameTheBackgroundAndTheCloseCells)
{
    CTestPopup popup;
    ASSERT_TRUE(Make(popup));
    HWND h = popup.GetSafeHwnd();
    struct Probe { const char* what; int x, y; COLORREF colour; };
    const Probe probes[] = {
        {"top edge's outline row", 100, 0, kOutline},
        {"top edge, row 25 (stretched 1-pixel picture)", 40, 25, TopBand(25)},
        {"left edge's outer column", 0, 80, kOutline},
        {"right edge's outer column", 199, 80, kOutline},
        {"bottom edge's last row", 100, 149, kOutline},
        {"top-left corner inside its rounding", 3, 12, TopBand(12)},
        {"background (stretched)", 100, 100, kBody},
        {"close button, normal cell face", 174 + 2, 7 + 2, kCloseFaces[0]},
    };
    for (const Probe& p : probes)
        EXPECT_EQ(WindowPixel(h, p.x, p.y), p.colour) << p.what;
    // Hover and press repaint the close button from their cells.
    Nc(popup, WM_NCHITTEST, 180, 15);
    EXPECT_EQ(WindowPixel(h, 176, 9), kCloseFaces[1]) << "hover cell";
    Nc(popup, WM_NCLBUTTONDOWN, 180, 15, HTSYSMENU);
    EXPECT_EQ(WindowPixel(h, 176, 9), kCloseFaces[2]) << "pressed cell";
    Nc(popup, WM_NCLBUTTONUP, 60, 15, HTCAPTION);
    Nc(popup, WM_NCHITTEST, 60, 15);
    EXPECT_EQ(WindowPixel(h, 176, 9), kCloseFaces[0]) << "back to normal";
    popup.DestroyWindow();
}

TEST_F(FramedPopupTest, FramesLeakNoGdiObjects)
{
    {
        CTestPopup warm;
        ASSERT_TRUE(Make(warm));
        warm.DestroyWindow();
    }
    const int before = CountGdiObjects();
    ASSERT_GT(before, 0) << "the counter sees objects";
    for (int i = 0; i < 5; i++) {
        CTestPopup popup;
        popup.SetCornerEllipse(10, 10);
        ASSERT_TRUE(Make(popup));
        popup.DestroyWindow();
    }
    PumpPendingMessages();
    EXPECT_LE(CountGdiObjects(), before + 2);
}

// ---- The popup button ----------------------------------------------------------------

// A strip of four 9 x 9 cells; in cell c the pixel's colour names the cell
// and the third (column and row) it lies in.
COLORREF StripPixel(int x, int y)
{
    const int cell = x / 9, tx = (x % 9) / 3, ty = y / 3;
    return RGB(40 + 60 * cell, 30 + 80 * tx, 30 + 80 * ty);
}
COLORREF ThirdColour(int cell, int tx, int ty) { return RGB(40 + 60 * cell, 30 + 80 * tx, 30 + 80 * ty); }

class CClickParent : public CWnd
{
public:
    int m_nClicks = 0;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == 77)
            m_nClicks++;
        return CWnd::OnCommand(wParam, lParam);
    }
};

HBITMAP StripBitmap()
{
    HDC screen = GetDC(NULL);
    HBITMAP h = CreateCompatibleBitmap(screen, 36, 9);
    HDC mem = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(mem, h);
    for (int y = 0; y < 9; y++)
        for (int x = 0; x < 36; x++)
            SetPixel(mem, x, y, StripPixel(x, y));
    SelectObject(mem, old);
    DeleteDC(mem);
    ReleaseDC(NULL, screen);
    return h;
}

class PopupButtonTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateEx(WS_EX_TOPMOST, AfxRegisterWndClass(0), "parent", WS_POPUP | WS_VISIBLE,
                                      CRect(300, 300, 420, 360), NULL, 0));
        ASSERT_TRUE(m_button.Create("", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(10, 10, 31, 25), &m_parent, 77));
        m_button.SetImages(StripBitmap());
        m_button.UpdateWindow();
        PumpPendingMessages();
    }
    void TearDown() override
    {
        m_button.DestroyWindow();
        m_parent.DestroyWindow();
        PumpPendingMessages();
        AfxDeleteTempMaps();
    }
    COLORREF Pixel(int x, int y)
    {
        m_button.RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
        HDC hdc = ::GetDC(m_button.GetSafeHwnd());
        const COLORREF c = GetPixel(hdc, x, y);
        ::ReleaseDC(m_button.GetSafeHwnd(), hdc);
        return c;
    }
    CClickParent m_parent;
    CPopupButton m_button;
};

TEST_F(PopupButtonTest, LaysItsPictureInThirds)
{
    EXPECT_EQ(m_button.GetStyle() & BS_TYPEMASK, (DWORD)BS_OWNERDRAW);
    // A face of 21 x 15 over cells of 9 x 9: columns 0-2 first third, 3-17
    // middle, 18-20 last; rows 0-2, 3-11, 12-14.
    struct Probe { const char* what; int x, y, tx, ty; };
    const Probe probes[] = {
        {"top-left third", 1, 1, 0, 0},        {"middle repeated (column 4)", 4, 5, 1, 1},
        {"middle repeated (column 16)", 16, 10, 1, 1}, {"right third", 19, 5, 2, 1},
        {"bottom third", 10, 13, 1, 2},        {"bottom-right third", 20, 14, 2, 2},
    };
    for (const Probe& p : probes)
        EXPECT_EQ(Pixel(p.x, p.y), ThirdColour(0, p.tx, p.ty)) << p.what;
    m_button.EnableWindow(FALSE);
    EXPECT_EQ(Pixel(4, 5), ThirdColour(3, 1, 1)) << "disabled: the fourth cell";
}

TEST_F(PopupButtonTest, HoverTakesTheCaptureAndLeavingReleasesIt)
{
    m_button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(m_button.IsHover());
    EXPECT_EQ(::GetCapture(), m_button.GetSafeHwnd());
    EXPECT_EQ(Pixel(4, 5), ThirdColour(1, 1, 1)) << "hover cell";
    m_button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(50, 5));
    EXPECT_FALSE(m_button.IsHover());
    EXPECT_EQ(::GetCapture(), (HWND)NULL);
    EXPECT_EQ(Pixel(4, 5), ThirdColour(0, 1, 1));
}

TEST_F(PopupButtonTest, ClicksOnceWhenReleasedOverIt)
{
    struct Case { const char* what; int upX; int clicks; };
    const Case cases[] = {
        {"released over the button", 5, 1},
        {"released outside", 60, 0},
    };
    for (const Case& c : cases) {
        m_parent.m_nClicks = 0;
        m_button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        m_button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        EXPECT_TRUE(m_button.IsPressed()) << c.what;
        EXPECT_EQ(m_button.GetCell(), 2) << c.what;
        m_button.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(c.upX, 5));
        m_button.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(c.upX, 5));
        PumpPendingMessages();
        EXPECT_EQ(m_parent.m_nClicks, c.clicks) << c.what;
        EXPECT_FALSE(m_button.IsPressed()) << c.what;
        EXPECT_EQ(::GetCapture(), (HWND)NULL) << c.what;
    }
}

}  // namespace
