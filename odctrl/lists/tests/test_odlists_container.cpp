// The non-client manager and the scroll-bar container on windows of the
// test display: the frame only with WS_BORDER and no region, its colour over
// a theme change, the redraw switch reaching the container's bars; the
// container's layout of bars, corner and child, the corner drawn as a size
// box, and what it passes on (scroll actions, the wheel without Shift/Ctrl,
// commands and notifications of its child).
#include "ODTestSupport.h"

#include <memory>
#include <vector>

#include "ODLibrary.h"
#include "ODSBContainerWnd.h"

namespace {

using namespace odtest;

// A window that records the messages it is sent (wParam, lParam).
class CRecorder : public CWnd
{
public:
    struct Entry
    {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<Entry> entries;
    std::vector<UINT> watched = {WM_HSCROLL, WM_VSCROLL, WM_MOUSEWHEEL, WM_COMMAND, WM_NOTIFY, WM_SETREDRAW};
    LRESULT answer = 0;

    BOOL CreatePopup() { return CreateEx(0, AfxRegisterWndClass(0), "rec", WS_POPUP, 0, 0, 400, 300, NULL, NULL); }
    BOOL CreateChild(CWnd* parent, UINT id, DWORD style = WS_CHILD | WS_VISIBLE)
    {
        return Create(AfxRegisterWndClass(0), "child", style, CRect(0, 0, 10, 10), parent, id);
    }
    size_t Count(UINT message) const
    {
        size_t n = 0;
        for (const Entry& e : entries)
            n += e.message == message;
        return n;
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        for (UINT w : watched)
            if (w == message) {
                entries.push_back({message, wParam, lParam});
                if (message != WM_SETREDRAW)
                    return answer;
            }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

CRect ChildRect(CWnd& child, CWnd& parent)
{
    CRect r;
    child.GetWindowRect(&r);
    parent.ScreenToClient(&r);
    return r;
}

class ContainerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(owner.CreatePopup()) << "needs the test display";
        ASSERT_TRUE(container.Create(CRect(0, 0, 200, 100), &owner, 7));
        ASSERT_TRUE(child.CreateChild(&container, 1));
        container.SetHostedChild(&child);
    }

    CRecorder owner;
    CSBContainerWnd container;
    CRecorder child;
};

TEST_F(ContainerTest, LayoutTable)
{
    struct Case {
        const char* what;
        UINT bar;
        BOOL show;
        bool leftHand;
        CRect child, corner;
    };
    // Bars of 13 (the default theme) in a 200 x 100 client.
    const Case cases[] = {
        {"no bars: the whole client", 3, FALSE, false, CRect(0, 0, 200, 100), CRect(0, 0, 0, 0)},
        {"both bars: a 13 x 13 corner", 3, TRUE, false, CRect(0, 0, 187, 87), CRect(187, 87, 200, 100)},
        {"left-hand bar: the child starts right of it", 3, TRUE, true, CRect(13, 0, 200, 87),
         CRect(0, 87, 13, 100)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        container.ModifyStyleEx(c.leftHand ? 0 : WS_EX_LEFTSCROLLBAR, c.leftHand ? WS_EX_LEFTSCROLLBAR : 0);
        container.ShowScrollBar(c.bar, c.show);
        EXPECT_EQ(ChildRect(child, container), c.child);
        container.ShowWindow(SW_SHOWNA);
        owner.ShowWindow(SW_SHOWNA);
        EXPECT_EQ(container.CornerRect(), c.corner);
        if (c.show) {
            EXPECT_EQ(ChildRect(*container.GetScrollBarCtrl(1), container),
                      c.leftHand ? CRect(0, 0, 13, 87) : CRect(187, 0, 200, 87));
            EXPECT_EQ(ChildRect(*container.GetScrollBarCtrl(0), container),
                      c.leftHand ? CRect(13, 87, 200, 100) : CRect(0, 87, 187, 100));
        }
    }
    owner.ShowWindow(SW_HIDE);
}

TEST_F(ContainerTest, SameBarSizesChangeNothing)
{
    container.ShowScrollBar(3, TRUE);
    child.MoveWindow(CRect(3, 4, 50, 60));
    container.SetScrollBarSizes(13, 13);
    EXPECT_EQ(ChildRect(child, container), CRect(3, 4, 50, 60)) << "no new layout";
    container.SetScrollBarSizes(20, 9);
    EXPECT_EQ(ChildRect(child, container), CRect(0, 0, 180, 91));
}

TEST_F(ContainerTest, TheCornerIsTheVerticalBarsSizeBox)
{
    // Expected: the system's size grip in a 13 x 13 box, drawn here directly.
    Canvas expected(13, 13, kBlack), actual(13, 13, kBlack);
    RECT box = {0, 0, 13, 13};
    DrawFrameControl(expected.dc(), &box, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
    container.DrawCorner(CDC::FromHandle(actual.dc()), &box);
    int differing = 0;
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 13; ++x)
            differing += expected.At(x, y) != actual.At(x, y);
    EXPECT_EQ(differing, 0);
    // With a strip, its size-box cell (x 104, one row) is copied there.
    HBITMAP strip = MakeBitmap(117, 39, [](int x, int y) { return x >= 104 && y < 13 ? kYellow : kBlue; });
    ASSERT_TRUE(container.SetBarImage(3, strip, TRUE));
    container.DrawCorner(CDC::FromHandle(actual.dc()), &box);
    EXPECT_EQ(actual.At(6, 6), kYellow);
}

TEST_F(ContainerTest, BothBarsOwnTheirCopyOfTheStrip)
{
    HBITMAP strip = MakeBitmap(117, 39, [](int, int) { return kRed; });
    ASSERT_TRUE(container.SetBarImage(3, strip, TRUE));
    CODScrollBarCtrl* h = container.GetScrollBarCtrl(0);
    CODScrollBarCtrl* v = container.GetScrollBarCtrl(1);
    ASSERT_TRUE(h->HasImage());
    ASSERT_TRUE(v->HasImage());
    EXPECT_NE(h->Image().GetBits(), v->Image().GetBits());
    EXPECT_EQ(v->Image().GetWidth(), 117);
    EXPECT_EQ(container.GetScrollBarCtrl(2), nullptr);
}

TEST_F(ContainerTest, ScrollActionsAndTheWheelReachTheChild)
{
    container.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 12), reinterpret_cast<LPARAM>(owner.m_hWnd));
    ASSERT_EQ(child.Count(WM_VSCROLL), 1u);
    EXPECT_EQ(child.entries[0].wParam, MAKEWPARAM(SB_LINEDOWN, 12));
    EXPECT_EQ(child.entries[0].lParam, 0);

    struct Case {
        const char* what;
        WORD keys;
        bool passed;
    };
    const Case cases[] = {
        {"plain wheel", 0, true},
        {"with Shift", MK_SHIFT, false},
        {"with Ctrl", MK_CONTROL, false},
    };
    for (const Case& c : cases) {
        child.entries.clear();
        const LRESULT r = container.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(c.keys, WORD(-WHEEL_DELTA)), 0);
        EXPECT_EQ(child.Count(WM_MOUSEWHEEL), c.passed ? 1u : 0u) << c.what;
        if (c.passed) {
            EXPECT_EQ(r, 1) << c.what;
        }
    }
}

TEST_F(ContainerTest, TheChildsCommandsAndNotificationsGoToTheOwner)
{
    owner.answer = 77;
    container.SendMessage(WM_COMMAND, MAKEWPARAM(1, EN_CHANGE), reinterpret_cast<LPARAM>(child.m_hWnd));
    ASSERT_EQ(owner.Count(WM_COMMAND), 1u);
    EXPECT_EQ(owner.entries[0].wParam, MAKEWPARAM(1, EN_CHANGE));
    NMHDR fromChild = {child.m_hWnd, 1, NM_CLICK};
    EXPECT_EQ(container.SendMessage(WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&fromChild)), 77);
    EXPECT_EQ(owner.Count(WM_NOTIFY), 1u);
    NMHDR fromOther = {owner.m_hWnd, 9, NM_CLICK};
    container.SendMessage(WM_NOTIFY, 9, reinterpret_cast<LPARAM>(&fromOther));
    EXPECT_EQ(owner.Count(WM_NOTIFY), 1u) << "only the hosted child's";
}

// ---- Non-client manager ------------------------------------------------------------------

TEST_F(ContainerTest, TheFrameNeedsABorderAndNoRegion)
{
    struct Case {
        const char* what;
        DWORD style;
        bool region;
        bool frame;
    };
    const Case cases[] = {
        {"with WS_BORDER", WS_CHILD | WS_BORDER, false, true},
        {"without WS_BORDER", WS_CHILD, false, false},
        {"with a region", WS_CHILD | WS_BORDER, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CSBContainerWnd w;
        ASSERT_TRUE(w.Create(CRect(0, 0, 60, 40), &owner, 9, c.style));
        if (c.region)
            w.SetWindowRgn(CreateRectRgn(0, 0, 30, 30), FALSE);
        EXPECT_EQ(w.WantsFrame() != FALSE, c.frame);
    }
    // The frame itself: a one-pixel rectangle round the window in the border colour.
    CSBContainerWnd w;
    ASSERT_TRUE(w.Create(CRect(0, 0, 60, 40), &owner, 9, WS_CHILD | WS_BORDER));
    w.SetBorderColor(kGreen, FALSE);
    Canvas c(60, 40, kBlack);
    w.DrawFrame(CDC::FromHandle(c.dc()));
    EXPECT_EQ(c.At(0, 0), kGreen);
    EXPECT_EQ(c.At(59, 20), kGreen);
    EXPECT_EQ(c.At(30, 39), kGreen);
    EXPECT_EQ(c.At(30, 20), kBlack) << "the null brush leaves the inside";
    // No background image: nothing drawn.
    const RECT all = {0, 0, 60, 40};
    w.DrawBkImage(CDC::FromHandle(c.dc()), &all);
    EXPECT_EQ(c.At(30, 20), kBlack);
    HBITMAP tile = MakeBitmap(4, 4, [](int, int) { return kYellow; });
    ASSERT_TRUE(w.SetBkImage(tile, 3, FALSE));
    DeleteObject(tile);
    w.DrawBkImage(CDC::FromHandle(c.dc()), &all);
    EXPECT_EQ(c.At(30, 20), kYellow) << "tiled over the rectangle";
}

TEST_F(ContainerTest, AChosenBorderColourSurvivesAThemeChange)
{
    const COLORREF saved = CODNcMgrWnd::s_borderColour;
    CSBContainerWnd chosen, themed;
    ASSERT_TRUE(chosen.Create(CRect(0, 0, 60, 40), &owner, 10, WS_CHILD | WS_BORDER));
    ASSERT_TRUE(themed.Create(CRect(0, 0, 60, 40), &owner, 11, WS_CHILD | WS_BORDER));
    chosen.SetBorderColor(kRed, FALSE);
    CODNcMgrWnd::s_borderColour = kMagenta;  // as a theme would set it
    // The loader reads the theme again; with no theme loaded it keeps the class value.
    chosen.SendMessage(ODGetThemeMessage(), 0, 0);
    themed.SendMessage(ODGetThemeMessage(), 0, 0);
    EXPECT_EQ(chosen.GetBorderColor(), kRed);
    EXPECT_EQ(themed.GetBorderColor(), kMagenta);
    CODNcMgrWnd::s_borderColour = saved;
}

TEST_F(ContainerTest, SetRedrawReachesTheContainersBars)
{
    // A scrolling host inside the container freezes the container's bars too.
    CSBContainerWnd inner;
    ASSERT_TRUE(inner.Create(CRect(0, 0, 50, 50), &container, 2));
    // The bars' WM_SETREDRAW is seen through a hook on their window procedures.
    static std::vector<std::pair<HWND, WPARAM>>* s_log = nullptr;
    std::vector<std::pair<HWND, WPARAM>> log;
    s_log = &log;
    static WNDPROC s_old[2] = {};
    auto hook = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_SETREDRAW && s_log)
            s_log->push_back({h, w});
        const int i = GetDlgCtrlID(h) == CSBContainerWnd::VertBarId ? 1 : 0;
        return CallWindowProcA(s_old[i], h, m, w, l);
    };
    for (int i = 0; i < 2; ++i)
        s_old[i] = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(container.GetScrollBarCtrl(i)->m_hWnd, GWLP_WNDPROC,
                                                               reinterpret_cast<LONG_PTR>(+hook)));
    inner.SetRedraw(FALSE);
    inner.SetRedraw(TRUE);
    for (int i = 0; i < 2; ++i)
        SetWindowLongPtrA(container.GetScrollBarCtrl(i)->m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(s_old[i]));
    s_log = nullptr;
    const HWND h = container.GetScrollBarCtrl(0)->m_hWnd, v = container.GetScrollBarCtrl(1)->m_hWnd;
    const std::vector<std::pair<HWND, WPARAM>> expected = {{h, FALSE}, {v, FALSE}, {h, TRUE}, {v, TRUE}};
    EXPECT_EQ(log, expected);
    EXPECT_TRUE(inner.IsRedrawOn());
}

}  // namespace
