// CToolTipObjWnd: adding, updating and removing tools across parent chains,
// which tool lies under a point, showing after the rest and hiding after the
// display time, the placement at the cursor, and its GDI objects freed.
#include "WidgetTestSupport.h"

#include "ToolTipObjWnd.h"

using namespace wtest;

namespace {

// A plain child window of the framework at a rectangle of its parent.
HWND MakeChild(HWND hParent, const RECT& rc, bool visible = true)
{
    return ::CreateWindowExA(0, AfxRegisterWndClass(0), "", WS_CHILD | (visible ? WS_VISIBLE : 0), rc.left, rc.top,
                             rc.right - rc.left, rc.bottom - rc.top, hParent, NULL, AfxGetInstanceHandle(), NULL);
}

std::string TextOf(const TOOLOBJINFO* t) { return t != nullptr && t->pszText != nullptr ? t->pszText : "(none)"; }

class ToolTipTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateShown(760, 560, 400, 300, true));
        ASSERT_TRUE(tip.Create(parent.m_hWnd));
        tip.SetDelayTimes(50, 300);
    }
    void TearDown() override { parent.DestroyWindow(); }

    // Moves the real cursor and relays the move as the application would.
    void MoveTo(int x, int y)
    {
        ::SetCursorPos(x, y);
        MSG msg = {};
        msg.hwnd = ::WindowFromPoint(POINT{x, y});
        msg.message = WM_MOUSEMOVE;
        tip.RelayEvent(&msg);
    }

    CTestParent parent;
    CToolTipObjWnd tip;
};

TEST_F(ToolTipTest, AddingAgainUpdatesAndDeletingFollowsParentChains)
{
    HWND child = MakeChild(parent.m_hWnd, RECT{10, 10, 200, 200});
    HWND grandchild = MakeChild(child, RECT{5, 5, 50, 50});
    CTestParent other;
    ASSERT_TRUE(other.CreateShown(0, 0, 50, 50));

    tip.AddTool(child, "first");
    tip.AddTool(child, "second");   // same window, same id: updated
    ASSERT_EQ(tip.GetTools().size(), 1u);
    EXPECT_STREQ(tip.GetTools()[0].pszText, "second");
    EXPECT_EQ(tip.GetTools()[0].nTextSource, kToolSourceRecord);

    tip.AddTool(child, 7, RECT{0, 0, 10, 10}, "rect");
    tip.AddTool(grandchild, "grand");
    tip.AddTool(other.m_hWnd, "other");
    tip.AddTool(parent.m_hWnd, nullptr, parent.m_hWnd);   // null text: empty, text from the notify window
    ASSERT_EQ(tip.GetTools().size(), 5u);
    EXPECT_STREQ(tip.GetTools()[4].pszText, "");
    EXPECT_EQ(tip.GetTools()[4].nTextSource, kToolSourceNotify);

    tip.DelTool(child, 7);   // one rectangle tool
    EXPECT_EQ(tip.GetTools().size(), 4u);
    tip.DelTool(child, 3);   // no such id: nothing
    EXPECT_EQ(tip.GetTools().size(), 4u);

    tip.DelTool(child);   // -1: the child and its descendants
    ASSERT_EQ(tip.GetTools().size(), 2u);
    EXPECT_STREQ(tip.GetTools()[0].pszText, "other");
    EXPECT_EQ(tip.GetTools()[1].hWnd, parent.m_hWnd);
    other.DestroyWindow();
}

TEST_F(ToolTipTest, ToolUnderThePoint)
{
    // Parent at screen (760, 560); child at client (10, 10), 190 x 190.
    HWND child = MakeChild(parent.m_hWnd, RECT{10, 10, 200, 200});
    HWND hidden = MakeChild(parent.m_hWnd, RECT{250, 10, 350, 100}, false);
    tip.AddTool(child, "whole");
    tip.AddTool(child, 1, RECT{0, 0, 20, 20}, "corner");
    tip.AddTool(hidden, "hidden");
    tip.AddTool(parent.m_hWnd, "parent");
    struct Case {
        const char* what;
        POINT screen;
        const char* expected;
    } cases[] = {
        {"a rectangle tool holding the point wins over the whole-window tool", {775, 575}, "corner"},
        {"outside the rectangle: the whole window", {810, 660}, "whole"},
        {"the rectangle's right edge is outside", {790, 575}, "whole"},
        {"an invisible child is skipped: the parent's tool", {1060, 610}, "parent"},
        {"no tool outside every window", {5, 900}, "(none)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(TextOf(tip.FindToolAt(c.screen)), c.expected);
    }
}

TEST_F(ToolTipTest, ShowsAfterTheRestAboveLeftAndHidesAfterTheDisplayTime)
{
    tip.AddTool(parent.m_hWnd, "parent tip");
    MoveTo(960, 760);
    ASSERT_TRUE(PumpUntil([&] { return tip.IsShown(); })) << "shown after the rest";
    EXPECT_TRUE(tip.IsUp());
    EXPECT_TRUE(tip.IsLeft());
    EXPECT_STREQ(tip.GetCurrentTool().pszText, "parent tip");
    // Above-left: the pointer's apex at the cursor, bottom-right.
    RECT rc;
    ::GetWindowRect(tip.GetSafeHwnd(), &rc);
    EXPECT_EQ(rc.right, 960 + 12);
    EXPECT_EQ(rc.bottom, 760);

    // A move that does not change the cursor position changes nothing.
    MSG msg = {};
    msg.message = WM_MOUSEMOVE;
    tip.RelayEvent(&msg);
    EXPECT_TRUE(tip.IsShown());

    ASSERT_TRUE(PumpUntil([&] { return !tip.IsShown(); })) << "hidden after the display time";
}

TEST_F(ToolTipTest, NearTheTopLeftItShowsBelowRight)
{
    CTestParent corner;
    ASSERT_TRUE(corner.CreateShown(0, 0, 60, 60, true));
    tip.AddTool(corner.m_hWnd, "corner tip");
    MoveTo(10, 10);
    ASSERT_TRUE(PumpUntil([&] { return tip.IsShown(); }));
    EXPECT_FALSE(tip.IsUp());
    EXPECT_FALSE(tip.IsLeft());
    RECT rc;
    ::GetWindowRect(tip.GetSafeHwnd(), &rc);
    EXPECT_EQ(rc.left, 10 - 12);
    EXPECT_EQ(rc.top, 10);

    MSG msg = {};
    msg.message = WM_LBUTTONDOWN;   // a click hides it
    tip.RelayEvent(&msg);
    EXPECT_FALSE(tip.IsShown());
    tip.DelTool(corner.m_hWnd);
    corner.DestroyWindow();
}

TEST(ToolTipObject, FreesItsFontAndBrushes)
{
    CTestParent owner;
    ASSERT_TRUE(owner.CreateShown());
    const int before = CountGdiObjects();
    ASSERT_GT(before, 0) << "the counter sees the process's objects";
    {
        CToolTipObjWnd tip;
        ASSERT_TRUE(tip.Create(owner.m_hWnd));
        ASSERT_NE(tip.GetFont(), (HFONT)NULL);
        EXPECT_GE(CountGdiObjects(), before + 3) << "two brushes and the font";
        HFONT hOther = ::CreateFontA(16, 0, 0, 0, 700, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
        tip.SetFont(owner.m_hWnd, hOther);   // a copy replaces the font
        ::DeleteObject(hOther);
        LOGFONTA lf;
        ASSERT_EQ(::GetObjectA(tip.GetFont(), sizeof lf, &lf), (int)sizeof lf);
        EXPECT_EQ(lf.lfHeight, 16);
        tip.AddTool(owner.m_hWnd, "x");
    }
    EXPECT_EQ(CountGdiObjects(), before);
    owner.DestroyWindow();
}

// A notify window that answers the text request.
class CNotifyWnd : public CWnd
{
public:
    int asked = 0;

protected:
    afx_msg LRESULT OnGetText(WPARAM, LPARAM lParam)
    {
        ++asked;
        SetToolText(reinterpret_cast<TOOLOBJINFO*>(lParam), "from the notify window");
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CNotifyWnd, CWnd)
    ON_MESSAGE(WM_TOOLTIP_GETTEXT, OnGetText)
END_MESSAGE_MAP()

TEST_F(ToolTipTest, TextAskedFromTheNotifyWindowBeforeShowing)
{
    CNotifyWnd notify;
    ASSERT_TRUE(notify.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP, 0, 0, 0, 0, NULL, NULL));
    tip.AddTool(parent.m_hWnd, "stale", notify.m_hWnd);
    MoveTo(980, 780);
    ASSERT_TRUE(PumpUntil([&] { return tip.IsShown(); }));
    EXPECT_EQ(notify.asked, 1);
    EXPECT_STREQ(tip.GetCurrentTool().pszText, "from the notify window");
    EXPECT_STREQ(tip.GetTools()[0].pszText, "stale") << "the registered record keeps its own text";
    notify.DestroyWindow();
}

}  // namespace
