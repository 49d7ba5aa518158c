// The scroll control inside a scroll-bar container on the test display: its
// bar calls land on the container's skinned bars, bars only when needed,
// scroll codes (SB_BOTTOM held at the limit, SB_THUMBPOSITION moving
// nothing, thumb drags read as 32-bit track positions), the wheel, centring,
// scale-to-fit, and the contents painted at the scroll offset. Outside a
// container: the parent's inside-out rectangle (WM_RECALCPARENT), the window
// rectangle for a client rectangle, the strips outside the contents, and the
// parent frame resized to the contents.
#include "ODTestSupport.h"

#include <memory>

#include "ODScrollCtrl.h"

namespace {

using namespace odtest;

// Contents: a red 10 x 10 square at logical (100, 100) on white.
class CSquareCtrl : public CODScrollCtrl
{
public:
    void OnDraw(CDC* pDC) override { pDC->FillSolidRect(100, 100, 10, 10, kRed); }
};

class ScrollCtrlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), "owner", WS_POPUP, 0, 0, 400, 300, NULL, NULL))
            << "needs the test display";
        // A 213 x 113 container: 200 x 100 for the control beside both bars
        // of 13, the whole of it without bars.
        ASSERT_TRUE(container.Create(CRect(0, 0, 213, 113), &owner, 1));
        ASSERT_TRUE(ctrl.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 213, 113), &container, 2));
        container.SetHostedChild(&ctrl);
        owner.ShowWindow(SW_SHOWNA);  // bars count as shown only when visible
    }

    void TearDown() override { owner.ShowWindow(SW_HIDE); }

    CWnd owner;
    CSBContainerWnd container;
    CSquareCtrl ctrl;
};

TEST_F(ScrollCtrlTest, BarsAreTheContainersAndOnlyWhenNeeded)
{
    int v = -1, h = -1;
    ctrl.GetScrollBarSizes(&v, &h);
    EXPECT_EQ(v, 0);
    EXPECT_EQ(h, 0);
    struct Case {
        const char* what;
        CSize total;
        bool horz, vert;
    };
    const Case cases[] = {
        {"smaller than the client: no bars", CSize(150, 80), false, false},
        {"taller: the vertical bar", CSize(150, 500), false, true},
        {"wider: the horizontal bar", CSize(900, 80), true, false},
        {"both", CSize(900, 500), true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ctrl.SetScrollSizes(MM_TEXT, c.total, CSize(0, 0), CSize(0, 0));
        EXPECT_EQ(container.GetScrollBarCtrl(0)->IsShown() != FALSE, c.horz);
        EXPECT_EQ(container.GetScrollBarCtrl(1)->IsShown() != FALSE, c.vert);
    }
    // The vertical bar's range and page are the total and the client height.
    int min = -1, max = -1;
    container.GetScrollRange(1, &min, &max);
    EXPECT_EQ(min, 0);
    EXPECT_EQ(max, 499);
    EXPECT_EQ(container.GetScrollBarCtrl(1)->GetPageSize(), 100);
    EXPECT_EQ(ctrl.GetScrollLimit(SB_VERT), 400);
}

TEST_F(ScrollCtrlTest, ScrollCodes)
{
    // Total 900 x 1000 (both bars: the client is 200 x 100), page 100, line 20.
    ctrl.SetScrollSizes(MM_TEXT, CSize(900, 1000), CSize(0, 100), CSize(0, 20));
    struct Case {
        const char* what;
        int code;
        int start;
        int result;
    };
    const Case cases[] = {
        {"line down", SB_LINEDOWN, 0, 20},
        {"page down", SB_PAGEDOWN, 0, 100},
        {"page up at the top", SB_PAGEUP, 10, 0},
        {"bottom is held at the limit (1000 - 100)", SB_BOTTOM, 0, 900},
        {"top", SB_TOP, 500, 0},
        {"thumb position moves nothing", SB_THUMBPOSITION, 300, 300},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ctrl.ScrollToDevicePosition(0, c.start);
        ctrl.SendMessage(WM_VSCROLL, MAKEWPARAM(c.code, 0), 0);
        EXPECT_EQ(ctrl.GetDeviceScrollPosition().y, c.result);
    }
}

TEST_F(ScrollCtrlTest, AThumbDragReadsThe32BitTrackPosition)
{
    ctrl.SetScrollSizes(MM_TEXT, CSize(150, 300000), CSize(0, 0), CSize(0, 0));
    container.GetScrollBarCtrl(1)->SetTrackPos(123456, FALSE);
    // The message's high word holds only 123456 & 0xFFFF = 57920.
    ctrl.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, WORD(123456)), 0);
    EXPECT_EQ(ctrl.GetDeviceScrollPosition().y, 123456);
}

TEST_F(ScrollCtrlTest, TheWheelStepsLinesAtMostAPage)
{
    struct Case {
        const char* what;
        CSize page, line;
        short delta;
        WORD keys;
        int result;
    };
    // Three lines a notch (the prefix's WheelScrollLines).
    const Case cases[] = {
        {"three lines of 16", CSize(0, 100), CSize(0, 16), -WHEEL_DELTA, 0, 200 + 48},
        {"held at a page", CSize(0, 30), CSize(0, 16), -WHEEL_DELTA, 0, 200 + 30},
        {"away from the user goes back", CSize(0, 100), CSize(0, 16), WHEEL_DELTA, 0, 200 - 48},
        {"with Ctrl: nothing", CSize(0, 100), CSize(0, 16), -WHEEL_DELTA, MK_CONTROL, 200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ctrl.SetScrollSizes(MM_TEXT, CSize(900, 1000), c.page, c.line);
        ctrl.ScrollToDevicePosition(0, 200);
        ctrl.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(c.keys, WORD(c.delta)), 0);
        EXPECT_EQ(ctrl.GetDeviceScrollPosition().y, c.result);
    }
}

TEST_F(ScrollCtrlTest, CentringAndScaleToFit)
{
    ctrl.SetScrollSizes(MM_TEXT, CSize(100, 40), CSize(0, 0), CSize(0, 0));
    ctrl.SetCentre(TRUE);
    // No bars: the control has the container's whole 213 x 113, and the
    // contents start (213 - 100) / 2 and (113 - 40) / 2 before it.
    CRect client;
    ctrl.GetClientRect(&client);
    ASSERT_EQ(client.Size(), CSize(213, 113));
    EXPECT_EQ(ctrl.GetScrollPosition(), CPoint(-56, -36));
    ctrl.SetCentre(FALSE);
    ctrl.SetScrollSizes(MM_TEXT, CSize(900, 500), CSize(0, 0), CSize(0, 0));
    ctrl.ScrollToDevicePosition(30, 40);
    ctrl.SetScaleToFitSize(CSize(900, 500));
    EXPECT_FALSE(container.IsHorzBarVisible());
    EXPECT_FALSE(container.IsVertBarVisible());
    EXPECT_EQ(ctrl.GetScrollPosition(), CPoint(0, 0));
}

TEST_F(ScrollCtrlTest, ContentsArePaintedAtTheScrollOffset)
{
    ctrl.SetScrollSizes(MM_TEXT, CSize(900, 500), CSize(0, 0), CSize(0, 0));
    ctrl.ScrollToDevicePosition(60, 70);
    Canvas c(200, 100, kBlack);
    ctrl.PaintTo(CDC::FromHandle(c.dc()), CRect(0, 0, 200, 100));
    // The square at (100, 100) shows at (40, 30) of the client.
    EXPECT_EQ(c.At(40, 30), kRed);
    EXPECT_EQ(c.At(49, 39), kRed);
    EXPECT_NE(c.At(50, 40), kRed);
    EXPECT_NE(c.At(39, 30), kRed);
    // A part of the client: drawn at its own place.
    Canvas part(200, 100, kBlack);
    ctrl.PaintTo(CDC::FromHandle(part.dc()), CRect(30, 20, 60, 50));
    EXPECT_EQ(part.At(45, 35), kRed);
    EXPECT_EQ(part.At(10, 10), kBlack) << "outside the rectangle: untouched";
}

TEST_F(ScrollCtrlTest, TheStripsOutsideTheContentsAreFilled)
{
    // Total 150 x 80 in the 213 x 113 client: a strip from x 150 on, full
    // height, and one below y 80 under the contents.
    ctrl.SetScrollSizes(MM_TEXT, CSize(150, 80), CSize(0, 0), CSize(0, 0));
    Canvas c(213, 113, kBlack);
    CBrush brush(kBlue);
    ctrl.FillOutsideRect(CDC::FromHandle(c.dc()), &brush);
    struct Case {
        const char* what;
        int x, y;
        COLORREF colour;
    };
    const Case cases[] = {
        {"inside the contents", 10, 10, kBlack},
        {"last pixel of the contents", 149, 79, kBlack},
        {"right of the contents", 150, 10, kBlue},
        {"right strip at the bottom", 212, 112, kBlue},
        {"below the contents", 10, 80, kBlue},
        {"below, at the contents' right edge", 149, 112, kBlue},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        EXPECT_EQ(c.At(k.x, k.y), k.colour);
    }
}

// A parent that answers the frame's recalculation request with a rectangle,
// or (answer FALSE) leaves it.
class CInsideOutParent : public CWnd
{
public:
    CRect rect;
    BOOL answer = TRUE;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_RECALCPARENT) {
            if (answer && lParam)
                *reinterpret_cast<RECT*>(lParam) = rect;
            return answer;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

TEST(ScrollCtrlAlone, BarsFollowTheParentsInsideOutRectangle)
{
    CInsideOutParent parent;
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "parent", WS_POPUP, 0, 0, 400, 300, NULL, NULL))
        << "needs the test display";
    CODScrollCtrl ctrl;
    ASSERT_TRUE(ctrl.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), &parent, 1));
    parent.ShowWindow(SW_SHOWNA);
    struct Case {
        const char* what;
        BOOL answer;
        CRect rect;
        CSize total;
        bool horz, vert;
        int vertPage;
    };
    const Case cases[] = {
        {"the parent's 100 x 50: a total of 150 x 40 needs the horizontal bar", TRUE, CRect(0, 0, 100, 50),
         CSize(150, 40), true, false, 0},
        {"the parent's 100 x 50: both bars, pages of the rectangle's size", TRUE, CRect(10, 10, 110, 60),
         CSize(150, 400), true, true, 50},
        {"no answer: the control's own 300 x 200 holds 150 x 40", FALSE, CRect(), CSize(150, 40), false, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        parent.answer = c.answer;
        parent.rect = c.rect;
        ctrl.SetScrollSizes(MM_TEXT, c.total, CSize(0, 0), CSize(0, 0));
        EXPECT_EQ((ctrl.GetStyle() & WS_HSCROLL) != 0, c.horz);
        EXPECT_EQ((ctrl.GetStyle() & WS_VSCROLL) != 0, c.vert);
        if (c.vert) {
            SCROLLINFO info = {};
            ASSERT_TRUE(ctrl.GetScrollInfo(SB_VERT, &info, SIF_PAGE));
            EXPECT_EQ(int(info.nPage), c.vertPage);
        }
    }
    ctrl.DestroyWindow();
    parent.DestroyWindow();
}

TEST(ScrollCtrlAlone, WindowRectangleForAClientRectangle)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "parent", WS_POPUP, 0, 0, 400, 300, NULL, NULL))
        << "needs the test display";
    CODScrollCtrl ctrl;
    ASSERT_TRUE(ctrl.CreateEx(WS_EX_CLIENTEDGE, "ODScrollCtrl", NULL, WS_CHILD | WS_BORDER, CRect(0, 0, 300, 200),
                              &parent, 1));
    ctrl.SetScrollSizes(MM_TEXT, CSize(150, 400), CSize(0, 0), CSize(0, 0));
    // Native bars beside a bordered window are one pixel thinner.
    const int vbar = ::GetSystemMetrics(SM_CXVSCROLL) - 1;
    const int hbar = ::GetSystemMetrics(SM_CYHSCROLL) - 1;
    RECT border = {0, 0, 100, 100};
    ::AdjustWindowRectEx(&border, WS_CHILD | WS_BORDER, FALSE, 0);
    RECT edge = {0, 0, 100, 100};
    ::AdjustWindowRectEx(&edge, 0, FALSE, WS_EX_CLIENTEDGE);
    struct Case {
        const char* what;
        UINT kind;
        CSize total;
        CRect expected;
    };
    const Case cases[] = {
        {"outside: the border, never the client edge", CODScrollCtrl::AdjustOutside, CSize(150, 400), CRect(border)},
        {"border: the client edge and the vertical bar for a taller total", CODScrollCtrl::AdjustBorder,
         CSize(50, 400), CRect(edge.left, edge.top, edge.right + vbar, edge.bottom)},
        {"border: both bars", CODScrollCtrl::AdjustBorder, CSize(500, 400),
         CRect(edge.left, edge.top, edge.right + vbar, edge.bottom + hbar)},
        {"border: a total that fits adds no bar", CODScrollCtrl::AdjustBorder, CSize(100, 100), CRect(edge)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ctrl.SetScrollSizes(MM_TEXT, c.total, CSize(0, 0), CSize(0, 0));
        CRect r(0, 0, 100, 100);
        ctrl.CalcWindowRect(&r, c.kind);
        EXPECT_EQ(r, c.expected);
    }
    ctrl.SetScaleToFitSize(CSize(500, 400));
    CRect r(0, 0, 100, 100);
    ctrl.CalcWindowRect(&r, CODScrollCtrl::AdjustBorder);
    EXPECT_EQ(r, CRect(edge)) << "scale-to-fit adds no bars";
    ctrl.DestroyWindow();
    parent.DestroyWindow();
}

TEST(ScrollCtrlAlone, TheParentFrameIsResizedToTheContents)
{
    CCreateContext context = {};
    context.m_pNewViewClass = RUNTIME_CLASS(CODScrollView);
    CFrameWnd* frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(NULL, "frame", WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME, CRect(0, 0, 300, 200), NULL,
                              NULL, 0, &context))
        << "needs the test display";
    frame->InitialUpdateFrame(FALSE);
    auto* view = static_cast<CODScrollView*>(frame->GetActiveView());
    ASSERT_NE(view, nullptr);
    CODScrollCtrl* ctrl = view->GetScrollCtrl();
    ASSERT_NE(ctrl->m_hWnd, HWND(NULL));
    struct Case {
        const char* what;
        CSize total;
        BOOL shrinkOnly;
        bool fits;  // the control's client ends up as the total
    };
    const Case cases[] = {
        {"smaller contents, shrinking", CSize(120, 90), TRUE, true},
        {"larger contents, shrinking only: no change", CSize(400, 300), TRUE, false},
        {"larger contents, growing", CSize(400, 300), FALSE, true},
        {"one axis smaller, one larger, growing", CSize(150, 350), FALSE, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CRect before;
        frame->GetWindowRect(&before);
        ctrl->SetScrollSizes(MM_TEXT, c.total, CSize(0, 0), CSize(0, 0));
        ctrl->ResizeParentToFit(c.shrinkOnly);
        CRect client;
        ctrl->GetClientRect(&client);
        CRect after;
        frame->GetWindowRect(&after);
        if (c.fits) {
            // The whole of the container's area: no bar stands beside it.
            EXPECT_EQ(client.Size(), c.total);
        } else {
            EXPECT_EQ(after, before);
        }
    }
    frame->DestroyWindow();
}

}  // namespace
