// The list's companions on the test display: the cell tip (shown only over a
// clipped text, fading in through its timer, handing clicks, double clicks,
// keys and moves on to the list, keeping its timer and paint while no window
// has the focus), the list's header (the library header's run-time class, the
// -2066 right click and the header's own handling after a 0 answer, column
// limits by index), the header repainted when the container's vertical bar
// hides, the small state setters, and the list-view messages answered by the
// real window.
#include "ODTestSupport.h"

#include <string.h>

#include <string>
#include <vector>

#include "ODListCtrl.h"
#include "ODListTestSupport.h"
#include "ODListTipWnd.h"

namespace {

using namespace odtest;
using namespace odlist;
using odlisttest::Column;

// Away from the corner where other tests put their windows: the tip's input
// goes to the window under the pointer's place.
const int kParentX = 640, kParentY = 420;

// A parent that logs the list's notifications and answers -2066 as told.
class CTipParent : public CWnd
{
public:
    std::vector<NMODLISTITEM> items;
    LRESULT rightClickAnswer = 0;

    BOOL CreateShown()
    {
        if (!CreateEx(0, AfxRegisterWndClass(0), "parent", WS_POPUP | WS_VISIBLE, kParentX, kParentY, 400, 300,
                      NULL, NULL))
            return FALSE;
        ::SetForegroundWindow(m_hWnd);
        ::SetActiveWindow(m_hWnd);
        return TRUE;
    }
    std::vector<int> Columns(int code) const
    {
        std::vector<int> out;
        for (const NMODLISTITEM& i : items)
            if (int(i.hdr.code) == code)
                out.push_back(i.column);
        return out;
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_NOTIFY) {
            const NMHDR* hdr = reinterpret_cast<const NMHDR*>(lParam);
            if (int(hdr->code) <= -2048 && int(hdr->code) > -2080) {
                items.push_back(*reinterpret_cast<const NMODLISTITEM*>(lParam));
                if (int(hdr->code) == kNotifyHeaderRightClick)
                    return rightClickAnswer;
            }
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// A list that logs the mouse and key messages it gets.
class CLoggingList : public CODListCtrl
{
public:
    struct Entry
    {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<Entry> log;
    std::vector<UINT> Messages(UINT first, UINT last) const
    {
        std::vector<UINT> out;
        for (const Entry& e : log)
            if (e.message >= first && e.message <= last)
                out.push_back(e.message);
        return out;
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if ((message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
            (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK) || message == WM_KEYDOWN ||
            message == WM_SYSKEYDOWN)
            log.push_back({message, wParam, lParam});
        return CODListCtrl::WindowProc(message, wParam, lParam);
    }
};

// A tip whose double-click time and last press the test sets, or that acts
// as on a system without layered windows.
class CTestTip : public CODListTipCtrl
{
public:
    explicit CTestTip(bool layered = true)
    {
        if (!layered)
            m_layered = false;
    }
    void SetDoubleClickTime(UINT ms) { m_doubleClickTime = ms; }
    void SetLastPressAgo(DWORD ms) { m_lastPress = ::GetTickCount() - ms; }
};

class TipTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateShown()) << "needs the test display";
        ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), &parent, 7));
        list.InsertColumn(0, Column("Name", 60));
        list.InsertColumn(1, Column("Score", 80));
        list.ShowColumn(0, 0);
        list.ShowColumn(1, 1);
        // The rows' font, which the tip takes when it is given none.
        ASSERT_TRUE(font.CreateFont(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Tahoma"));
        list.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font.GetSafeHandle()), FALSE);
        for (const char* name : {"north", "east", "a much longer name than fits", "west"})
            list.InsertItem(name);
        list.SetFocus();
        ASSERT_EQ(::GetFocus(), list.m_hWnd) << "the list takes the focus";
        PumpPendingMessages();
        list.log.clear();
    }
    void TearDown() override
    {
        if (list.m_hWnd)
            list.DestroyWindow();
        parent.DestroyWindow();
        PumpPendingMessages();
    }
    // The text part of a cell, list client coordinates (what the list's
    // hover call gives).
    CRect CellText(int item, int column)
    {
        CRect r;
        EXPECT_TRUE(list.GetContentItemRect(item, column, &r, kPartText));
        return r;
    }
    BYTE LayeredAlpha(CWnd& tip)
    {
        BYTE alpha = 0;
        COLORREF key = 0;
        DWORD flags = 0;
        EXPECT_TRUE(::GetLayeredWindowAttributes(tip.m_hWnd, &key, &alpha, &flags));
        EXPECT_TRUE(flags & LWA_ALPHA);
        return alpha;
    }
    // Posts the message to the tip's thread as the message loop would see it.
    BOOL Offer(CWnd& tip, UINT message, WPARAM wParam, CPoint tipClient)
    {
        MSG msg = {};
        msg.hwnd = tip.m_hWnd;
        msg.message = message;
        msg.wParam = wParam;
        msg.lParam = MAKELPARAM(tipClient.x, tipClient.y);
        return tip.PreTranslateMessage(&msg);
    }

    CTipParent parent;
    CLoggingList list;
    CFont font;
};

TEST_F(TipTest, ShownOnlyOverAClippedTextExactlyOverTheCell)
{
    CTestTip tip;
    ASSERT_TRUE(tip.Create(&list));
    char className[64] = {};
    ::GetClassNameA(tip.m_hWnd, className, sizeof className);
    EXPECT_STREQ(className, "MFCODListTipCtrl");
    EXPECT_TRUE(tip.GetExStyle() & WS_EX_TOPMOST);
    EXPECT_TRUE(tip.GetExStyle() & WS_EX_LAYERED);

    const CRect fits = CellText(0, 0);
    EXPECT_EQ(tip.Show(fits, "north", NULL), 0) << "the text fits";
    EXPECT_FALSE(tip.IsWindowVisible());

    const CRect clipped = CellText(2, 0);
    const std::string text = "a much longer name than fits";
    ASSERT_EQ(tip.Show(clipped, text.c_str(), NULL), 1);
    EXPECT_TRUE(tip.IsWindowVisible());
    // Over the cell, as wide as the text, with the cell margin on both sides.
    CClientDC dc(&list);
    HGDIOBJ old = ::SelectObject(dc.m_hDC, font.GetSafeHandle());
    SIZE size = {};
    ::GetTextExtentPoint32A(dc.m_hDC, text.c_str(), int(text.size()), &size);
    ::SelectObject(dc.m_hDC, old);
    const int margin = list.Model().GetOption(1);
    CRect expected = clipped;
    list.ClientToScreen(&expected);
    expected.right = expected.left + size.cx + margin;
    expected.left -= margin;
    CRect actual;
    tip.GetWindowRect(&actual);
    EXPECT_EQ(actual, expected);
    EXPECT_GT(size.cx, clipped.Width()) << "the fixture's text is clipped";

    EXPECT_EQ(tip.Show(clipped, text.c_str(), NULL), 1) << "the same cell again keeps the tip";
    EXPECT_TRUE(tip.IsWindowVisible());
    EXPECT_EQ(tip.Show(CellText(3, 0), "west", NULL), 0) << "a text that fits";
    EXPECT_FALSE(tip.IsWindowVisible()) << "...hides the tip shown";
    EXPECT_EQ(tip.Show(clipped, text.c_str(), NULL), 1);
    EXPECT_EQ(tip.Show(CRect(0, 0, 0, 0), text.c_str(), NULL), 0) << "an empty cell";
    EXPECT_FALSE(tip.IsWindowVisible());
    tip.DestroyWindow();
}

TEST_F(TipTest, FadesInByItsTimerAndStartsTransparentAfterAHide)
{
    CTestTip tip;
    ASSERT_TRUE(tip.Create(&list));
    const CRect clipped = CellText(2, 0);
    ASSERT_EQ(tip.Show(clipped, "a much longer name than fits", NULL), 1);
    EXPECT_EQ(LayeredAlpha(tip), 0) << "a new tip starts transparent";
    // The timer's ticks by hand (no message is pumped here, so the real
    // timer adds none).
    for (int step = 1; step <= 25; ++step) {
        tip.SendMessage(WM_TIMER, 1, 0);
        ASSERT_EQ(LayeredAlpha(tip), step * 10) << "step " << step;
    }
    tip.SendMessage(WM_TIMER, 1, 0);
    EXPECT_EQ(LayeredAlpha(tip), 255) << "clamped at 255";
    tip.SendMessage(WM_TIMER, 1, 0);
    EXPECT_EQ(tip.GetAlpha(), 0) << "at 255 the next tick is the hide's: back to 0";

    ASSERT_EQ(tip.Show(CellText(2, 0), "a much longer name than fits!", NULL), 1);
    tip.SendMessage(WM_TIMER, 1, 0);
    tip.Hide();
    EXPECT_FALSE(tip.IsWindowVisible());
    EXPECT_EQ(tip.GetAlpha(), 255);
    tip.SendMessage(WM_TIMER, 1, 0);
    EXPECT_EQ(tip.GetAlpha(), 0);
    ASSERT_EQ(tip.Show(clipped, "a much longer name than fits", NULL), 1);
    EXPECT_EQ(LayeredAlpha(tip), 0) << "the next tip fades in again";
    tip.DestroyWindow();
}

TEST_F(TipTest, WithoutLayeredWindowsShownAtOnce)
{
    CTestTip tip(false);
    ASSERT_TRUE(tip.Create(&list));
    EXPECT_FALSE(tip.GetExStyle() & WS_EX_LAYERED) << "a layered window without attributes is never seen";
    ASSERT_EQ(tip.Show(CellText(2, 0), "a much longer name than fits", NULL), 1);
    EXPECT_TRUE(tip.IsWindowVisible());
    tip.SendMessage(WM_TIMER, 1, 0);
    EXPECT_EQ(tip.GetAlpha(), 0) << "no fade";
    tip.DestroyWindow();
}

TEST_F(TipTest, PressesReachTheListCellUnderTheTip)
{
    struct Case
    {
        const char* what;
        UINT message;
        DWORD lastPressAgo;  // 0: none before
        UINT doubleClickTime;
        UINT expected;
    };
    const Case cases[] = {
        {"a left press", WM_LBUTTONDOWN, 0, 500, WM_LBUTTONDOWN},
        {"a second press within the double-click time", WM_LBUTTONDOWN, 100, 60000, WM_LBUTTONDBLCLK},
        {"a second press after it", WM_LBUTTONDOWN, 5000, 500, WM_LBUTTONDOWN},
        {"a right press", WM_RBUTTONDOWN, 0, 500, WM_RBUTTONDOWN},
        {"a middle press", WM_MBUTTONDOWN, 0, 500, WM_MBUTTONDOWN},
    };
    const CRect clipped = CellText(2, 0);
    for (const Case& c : cases) {
        CTestTip tip;
        ASSERT_TRUE(tip.Create(&list));
        tip.SetDoubleClickTime(c.doubleClickTime);
        if (c.lastPressAgo)
            tip.SetLastPressAgo(c.lastPressAgo);
        list.Model().SetFocusCell(0, 0);
        ASSERT_EQ(tip.Show(clipped, "a much longer name than fits", NULL), 1) << c.what;
        list.log.clear();
        EXPECT_TRUE(Offer(tip, c.message, MK_LBUTTON, CPoint(5, 3))) << c.what << ": handled";
        EXPECT_FALSE(tip.IsWindowVisible()) << c.what;
        ASSERT_TRUE(WaitUntil([&] { return !list.log.empty(); })) << c.what;
        PumpPendingMessages();
        EXPECT_EQ(list.log.front().message, c.expected) << c.what;
        // The tip's point (5, 3) in the list's client coordinates.
        CPoint expectedPoint(5, 3);
        tip.ClientToScreen(&expectedPoint);
        list.ScreenToClient(&expectedPoint);
        EXPECT_EQ(short(LOWORD(list.log.front().lParam)), expectedPoint.x) << c.what;
        EXPECT_EQ(short(HIWORD(list.log.front().lParam)), expectedPoint.y) << c.what;
        if (c.expected == WM_LBUTTONDOWN) {
            EXPECT_EQ(list.Model().GetFocusRow(), 2) << c.what << ": the cell under the tip";
        }
        tip.DestroyWindow();
    }
}

TEST_F(TipTest, TwoPressesInARowArriveAsADoubleClick)
{
    CTestTip tip;
    ASSERT_TRUE(tip.Create(&list));
    tip.SetDoubleClickTime(60000);
    const CRect clipped = CellText(2, 0);
    for (int press = 0; press < 3; ++press) {
        ASSERT_EQ(tip.Show(clipped, press % 2 ? "a much longer name than fits" : "a much longer name than fits ", NULL),
                  1);
        EXPECT_TRUE(Offer(tip, WM_LBUTTONDOWN, MK_LBUTTON, CPoint(5, 3)));
    }
    ASSERT_TRUE(WaitUntil([&] { return list.Messages(WM_LBUTTONDOWN, WM_LBUTTONDBLCLK).size() == 3; }));
    EXPECT_EQ(list.Messages(WM_LBUTTONDOWN, WM_LBUTTONDBLCLK),
              (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_LBUTTONDOWN}))
        << "a third press starts a new pair";
    tip.DestroyWindow();
}

TEST_F(TipTest, KeysAndMovesOffTheTextGoOn)
{
    CTestTip tip;
    ASSERT_TRUE(tip.Create(&list));
    const CRect clipped = CellText(2, 0);
    ASSERT_EQ(tip.Show(clipped, "a much longer name than fits", NULL), 1);
    EXPECT_TRUE(Offer(tip, WM_KEYDOWN, VK_DOWN, CPoint(0, 0)));
    EXPECT_FALSE(tip.IsWindowVisible());
    ASSERT_TRUE(WaitUntil([&] { return !list.Messages(WM_KEYDOWN, WM_KEYDOWN).empty(); }));
    EXPECT_EQ(list.log.back().wParam, WPARAM(VK_DOWN)) << "the key unchanged";

    // A move inside the text keeps the tip; one beyond it (the tip is wider
    // than the cell) hides it and reaches the list.
    ASSERT_EQ(tip.Show(clipped, "a much longer name than fits!", NULL), 1);
    list.log.clear();
    tip.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_TRUE(tip.IsWindowVisible());
    CRect client;
    tip.GetClientRect(&client);
    tip.SendMessage(WM_MOUSEMOVE, MK_SHIFT, MAKELPARAM(client.right - 2, 3));
    EXPECT_FALSE(tip.IsWindowVisible());
    ASSERT_TRUE(WaitUntil([&] { return !list.Messages(WM_MOUSEMOVE, WM_MOUSEMOVE).empty(); }));
    const CLoggingList::Entry& move = list.log.back();
    EXPECT_EQ(move.wParam, WPARAM(MK_SHIFT));
    CPoint expected(client.right - 2, 3);
    tip.ClientToScreen(&expected);
    list.ScreenToClient(&expected);
    EXPECT_EQ(short(LOWORD(move.lParam)), expected.x);
    tip.DestroyWindow();
}

TEST_F(TipTest, WithoutAFocusWindowOnlyInputIsDropped)
{
    CTestTip tip;
    ASSERT_TRUE(tip.Create(&list));
    ASSERT_EQ(tip.Show(CellText(2, 0), "a much longer name than fits", NULL), 1);
    ::SetFocus(NULL);
    ASSERT_EQ(::GetFocus(), HWND(NULL));
    struct Case
    {
        const char* what;
        UINT message;
        BOOL swallowed;
    };
    const Case cases[] = {
        {"the fade's timer goes on", WM_TIMER, FALSE},
        {"a paint goes on", WM_PAINT, FALSE},
        {"a move is dropped", WM_MOUSEMOVE, TRUE},
        {"a key up is dropped", WM_KEYUP, TRUE},
        {"a wheel turn is dropped", WM_MOUSEWHEEL, TRUE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Offer(tip, c.message, 1, CPoint(0, 0)), c.swallowed) << c.what;
    EXPECT_FALSE(tip.IsWindowVisible()) << "dropped input hides the tip";
    EXPECT_EQ(tip.Show(CellText(2, 0), "another text too long for the cell", NULL), 0)
        << "no focus window: no tip";
    tip.DestroyWindow();
}

// ---- The header, scroll forwarding, setters and list-view messages -------------------------

// Windows of the header class created from now on log the right presses
// that reach the class's own procedure (the header's default handling).
class HeaderClassSpy
{
public:
    HeaderClassSpy()
    {
        HWND probe = ::CreateWindowExA(0, WC_HEADERA, "", WS_CHILD, 0, 0, 0, 0, ::GetDesktopWindow(), NULL, NULL, NULL);
        s_original = reinterpret_cast<WNDPROC>(::SetClassLongPtrA(probe, GCLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc)));
        m_probe = probe;
        s_presses = 0;
    }
    ~HeaderClassSpy()
    {
        ::SetClassLongPtrA(m_probe, GCLP_WNDPROC, reinterpret_cast<LONG_PTR>(s_original));
        ::DestroyWindow(m_probe);
    }
    static int s_presses;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_RBUTTONDOWN)
            ++s_presses;
        return ::CallWindowProcA(s_original, hwnd, message, wParam, lParam);
    }
    static WNDPROC s_original;
    HWND m_probe;
};
int HeaderClassSpy::s_presses = 0;
WNDPROC HeaderClassSpy::s_original = nullptr;

TEST(ListHeader, ReportsTheLibraryHeadersClassAndOffersRightClicksToTheParent)
{
    HeaderClassSpy spy;
    CTipParent parent;
    ASSERT_TRUE(parent.CreateShown()) << "needs the test display";
    CODListCtrl list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), &parent, 7));
    list.InsertColumn(0, Column("Name", 100));
    list.InsertColumn(1, Column("Score", 80));
    list.ShowColumn(0, 0);
    list.ShowColumn(1, 1);
    CODHeaderCtrl* header = list.GetHeaderCtrl();
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->GetRuntimeClass(), RUNTIME_CLASS(CODHeaderCtrl));
    EXPECT_STREQ(header->GetRuntimeClass()->m_lpszClassName, "CODHeaderCtrl");

    struct Case
    {
        const char* what;
        int x;
        LRESULT answer;
        int column;
        int defaultHandled;
    };
    const Case cases[] = {
        {"on the first column, answered 0", 20, 0, 0, 1},
        {"on the second column, answered 1", 130, 1, 1, 0},
        {"beyond the columns, answered 0", 250, 0, -1, 1},
    };
    for (const Case& c : cases) {
        parent.items.clear();
        parent.rightClickAnswer = c.answer;
        HeaderClassSpy::s_presses = 0;
        header->SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(c.x, 4));
        EXPECT_EQ(parent.Columns(kNotifyHeaderRightClick), std::vector<int>{c.column}) << c.what;
        EXPECT_EQ(HeaderClassSpy::s_presses, c.defaultHandled) << c.what << ": the header's own handling";
        header->SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(c.x, 4));
    }
    list.DestroyWindow();
    parent.DestroyWindow();
}

TEST(ListHeader, ColumnLimitsByIndex)
{
    CTipParent parent;
    ASSERT_TRUE(parent.CreateShown()) << "needs the test display";
    CODListCtrl list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), &parent, 7));
    list.InsertColumn(0, Column("Name", 100));
    list.InsertColumn(1, Column("Score", 80));
    list.ShowColumn(0, 0);
    list.ShowColumn(1, 1);
    CODListHeaderCtrl* header = static_cast<CODListHeaderCtrl*>(list.GetHeaderCtrl());
    ASSERT_EQ(header->ExtrasCount(), 2);
    struct Case
    {
        const char* what;
        int n;
        int result;
    };
    const Case cases[] = {
        {"the first column", 0, 0},
        {"the second column", 1, 24},
        {"a negative index", -1, -1},
        {"past the columns", 2, -1},
        {"far past the columns", 1000000, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(header->SetExtraValues(c.n, 30 + c.n, 200 + c.n), c.result) << c.what;
    for (int n = 0; n < 2; ++n) {
        ODHeaderItemEx ex;
        ASSERT_TRUE(header->GetItemEx(n, &ex));
        EXPECT_EQ(ex.minWidth, 30 + n);
        EXPECT_EQ(ex.maxWidth, 200 + n);
    }
    list.EnableHeaderDragDrop(TRUE);
    EXPECT_TRUE(header->GetStyle() & HDS_DRAGDROP);
    list.EnableHeaderDragDrop(FALSE);
    EXPECT_FALSE(header->GetStyle() & HDS_DRAGDROP);
    list.DestroyWindow();
    parent.DestroyWindow();
}

TEST(ListScroll, HidingTheContainersVerticalBarRepaintsTheHeader)
{
    CTipParent parent;
    ASSERT_TRUE(parent.CreateShown()) << "needs the test display";
    CSBContainerWnd container;
    ASSERT_TRUE(container.Create(CRect(0, 0, 300, 200), &parent, 9));
    CODListCtrl list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), &container, 10));
    container.SetHostedChild(&list);
    list.InsertColumn(0, Column("Name", 100));
    list.ShowColumn(0, 0);
    list.InsertItem("row");
    PumpPendingMessages();
    CODHeaderCtrl* header = list.GetHeaderCtrl();
    ASSERT_TRUE(header && header->IsWindowVisible());
    // The bar is already hidden, so nothing moves: only the hide's own repaint
    // can leave the header waiting for one.
    ASSERT_FALSE(container.IsVertBarVisible());
    struct Case
    {
        const char* what;
        UINT bar;
        bool repaint;
    };
    const Case cases[] = {
        {"the vertical bar", SB_VERT, true},
        {"both bars", SB_BOTH, true},
        {"the horizontal bar", SB_HORZ, false},
    };
    for (const Case& c : cases) {
        header->UpdateWindow();
        ASSERT_FALSE(::GetUpdateRect(header->m_hWnd, NULL, FALSE)) << c.what;
        list.ShowScrollBar(c.bar, FALSE);
        EXPECT_EQ(::GetUpdateRect(header->m_hWnd, NULL, FALSE) != FALSE, c.repaint) << c.what;
        EXPECT_FALSE(list.GetStyle() & (WS_VSCROLL | WS_HSCROLL)) << c.what << ": never the native bars";
    }
    list.DestroyWindow();
    container.DestroyWindow();
    parent.DestroyWindow();
}

TEST(ListMessages, ListViewMessagesAnsweredByTheWindow)
{
    CTipParent parent;
    ASSERT_TRUE(parent.CreateShown()) << "needs the test display";
    CODListCtrl list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), &parent, 7));
    list.InsertColumn(0, Column("Name", 100));
    list.InsertColumn(1, Column("Score", 80));
    list.ShowColumn(0, 0);
    list.ShowColumn(1, 1);
    for (const char* name : {"alpha", "beta", "gamma"})
        list.InsertItem(name);
    list.SetItemText(1, 1, "seven");

    LVFINDINFOA find = {};
    find.flags = LVFI_STRING;
    find.psz = "alpha";
    EXPECT_EQ(list.SendMessage(LVM_FINDITEMA, WPARAM(-1), reinterpret_cast<LPARAM>(&find)), 0) << "from row 0";
    find.psz = "delta";
    EXPECT_EQ(list.SendMessage(LVM_FINDITEMA, WPARAM(-1), reinterpret_cast<LPARAM>(&find)), -1) << "a miss";
    find.psz = "ga";
    find.flags = LVFI_PARTIAL | LVFI_STRING;
    EXPECT_EQ(list.SendMessage(LVM_FINDITEMA, 0, reinterpret_cast<LPARAM>(&find)), 2) << "a prefix after row 0";
    find.psz = NULL;
    EXPECT_EQ(list.SendMessage(LVM_FINDITEMA, WPARAM(-1), reinterpret_cast<LPARAM>(&find)), -1) << "no text";

    char buffer[16];
    memset(buffer, '#', sizeof buffer);
    LVITEMA item = {};
    item.iSubItem = 1;
    item.pszText = buffer;
    item.cchTextMax = 4;
    EXPECT_EQ(list.SendMessage(LVM_GETITEMTEXTA, 1, reinterpret_cast<LPARAM>(&item)), 3) << "a buffer of 4";
    EXPECT_EQ(std::string(buffer, 5), std::string("sev\0#", 5));
    memset(buffer, '#', sizeof buffer);
    item.iSubItem = -1;
    EXPECT_EQ(list.SendMessage(LVM_GETITEMTEXTA, 1, reinterpret_cast<LPARAM>(&item)), 0) << "a negative sub-item";
    EXPECT_EQ(buffer[0], '#') << "the buffer untouched";

    item.iSubItem = 0;
    item.pszText = const_cast<char*>("omega");
    EXPECT_EQ(list.SendMessage(LVM_SETITEMTEXTA, 2, reinterpret_cast<LPARAM>(&item)), 1);
    EXPECT_EQ(list.GetItemText(2, 0), "omega");
    EXPECT_EQ(list.SendMessage(LVM_SETITEMTEXTA, 2, 0), 0) << "no record";

    // The state setters keep the selection list in step.
    EXPECT_EQ(list.SetItemSelected(1, kStateSelected, kStateSelected), 1);
    EXPECT_TRUE(list.QueryItemState(1) & kStateSelected);
    EXPECT_EQ(list.Model().GetSelectionList(), std::vector<int>{1});
    EXPECT_EQ(list.SetItemSelected(1, 0, kStateSelected), 1);
    EXPECT_FALSE(list.QueryItemState(1) & kStateSelected);
    EXPECT_TRUE(list.Model().GetSelectionList().empty());
    EXPECT_EQ(list.SetItemSelected(7, kStateSelected, kStateSelected), 0) << "no such item";
    EXPECT_EQ(list.Model().CheckInvariants(), "");
    list.DestroyWindow();
    parent.DestroyWindow();
}

}  // namespace
