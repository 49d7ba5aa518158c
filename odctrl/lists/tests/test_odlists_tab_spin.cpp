// The skinned spin and tab controls on the test display. Spin: its buttons
// over the two halves and painted there, a button's click landing on the
// up-down's own half (whatever the pointer does), steps past a limit
// refused, a wrapping control untracked, a reversed range stored in order.
// Tab: the system's scroll arrows taken over only once the tabs overflow
// (after either form of TCM_INSERTITEM, or a resize) and left in sight when
// the tabs repaint, the hooks called page first and the selected tab last,
// only the back-tab colour painted with empty hooks, the arrow captions
// kept by a theme without flip pictures, the drawing modes.
#include "ODTestSupport.h"

#include <string>
#include <vector>

#include "ODLibrary.h"
#include "ODTabCtrl.h"

namespace {

using namespace odtest;

// A shown popup parent (the tab control's arrows appear only on a visible
// control's layout; notifications are reflected to their controls).
class ControlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "tp", WS_POPUP, 0, 0, 640, 200, NULL, NULL))
            << "needs the test display";
        parent.ShowWindow(SW_SHOWNA);
    }
    void TearDown() override
    {
        parent.ShowWindow(SW_HIDE);
        ODExitLibrary();
    }
    CWnd parent;
};

std::string Caption(CWnd* w)
{
    CString s;
    w->GetWindowText(s);
    return static_cast<LPCSTR>(s);
}

// ---- Spin -----------------------------------------------------------------------------------

using SpinTest = ControlTest;

TEST_F(SpinTest, ButtonsCoverTheHalves)
{
    // Each button covers its half of the client area (the system control
    // may keep a width of its own), cut across the middle.
    struct Case {
        const char* what;
        DWORD style;
        CRect rect;
    };
    const Case cases[] = {
        {"vertical", 0, CRect(10, 10, 30, 50)},
        {"horizontal", UDS_HORZ, CRect(10, 10, 50, 30)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CODSpinButtonCtrl spin;
        ASSERT_TRUE(spin.Create(WS_CHILD | WS_VISIBLE | c.style, c.rect, &parent, 5));
        ASSERT_NE(spin.GetButton(0)->m_hWnd, nullptr);
        EXPECT_EQ(spin.GetButton(2), nullptr);
        EXPECT_EQ(spin.GetButton(-1), nullptr);
        EXPECT_EQ(Caption(spin.GetButton(0)), "<");
        EXPECT_EQ(Caption(spin.GetButton(1)), ">");
        EXPECT_EQ(spin.GetButton(0)->GetDlgCtrlID(), 100);
        EXPECT_EQ(spin.GetButton(1)->GetDlgCtrlID(), 101);
        CRect client, r0, r1;
        spin.GetClientRect(&client);
        ASSERT_GT(client.Width(), 1);
        ASSERT_GT(client.Height(), 1);
        spin.GetButton(0)->GetWindowRect(&r0);
        spin.GetButton(1)->GetWindowRect(&r1);
        spin.ScreenToClient(&r0);
        spin.ScreenToClient(&r1);
        const bool horz = (c.style & UDS_HORZ) != 0;
        const CRect first = horz ? CRect(0, 0, client.Width() / 2, client.bottom)
                                 : CRect(0, 0, client.right, client.Height() / 2);
        const CRect second = horz ? CRect(client.Width() / 2, 0, client.right, client.bottom)
                                  : CRect(0, client.Height() / 2, client.right, client.bottom);
        EXPECT_EQ(r0, first);
        EXPECT_EQ(r1, second);
        // Moved, the control takes its buttons along onto the new halves.
        spin.MoveWindow(c.rect.left + 5, c.rect.top + 5, c.rect.Width(), c.rect.Height() * 2);
        spin.GetClientRect(&client);
        spin.GetButton(1)->GetWindowRect(&r1);
        spin.ScreenToClient(&r1);
        EXPECT_EQ(r1.bottom, client.bottom);
    }
}

TEST_F(SpinTest, AButtonClickActsOnItsOwnHalf)
{
    // The up-down control steps up on its top (vertical) or right
    // (horizontal) half. The pointer is not moved: a click replayed at the
    // pointer would hit the same place (or nothing) for both buttons.
    struct Case {
        const char* what;
        DWORD style;
        int button;
        int low, high, start;
        int after;
    };
    const Case cases[] = {
        {"vertical, the top button steps up", 0, 0, 0, 10, 5, 6},
        {"vertical, the bottom button steps down", 0, 1, 0, 10, 5, 4},
        {"horizontal, the left button steps down", UDS_HORZ, 0, 0, 10, 5, 4},
        {"horizontal, the right button steps up", UDS_HORZ, 1, 0, 10, 5, 6},
        {"at the upper limit a step up is refused", 0, 0, 0, 10, 10, 10},
        {"at the lower limit a step down is refused", 0, 1, 0, 10, 0, 0},
        {"a wrapping control wraps past the limit", UDS_WRAP, 0, 0, 10, 10, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CODSpinButtonCtrl spin;
        const CRect rect = c.style & UDS_HORZ ? CRect(10, 10, 50, 30) : CRect(10, 10, 30, 50);
        ASSERT_TRUE(spin.Create(WS_CHILD | WS_VISIBLE | c.style, rect, &parent, 5));
        spin.SetRange32(c.low, c.high);
        spin.SetPos32(c.start);
        spin.RefreshState();
        CODButton* b = spin.GetButton(c.button);
        spin.SendMessage(WM_COMMAND, MAKEWPARAM(100 + c.button, BN_CLICKED), reinterpret_cast<LPARAM>(b->m_hWnd));
        EXPECT_EQ(spin.GetPos32(), c.after);
        EXPECT_EQ(spin.IsActive() != FALSE, !(c.style & UDS_WRAP));
        if (spin.IsActive()) {
            EXPECT_EQ(spin.GetTrackedPos(), c.after);
        }
    }
}

TEST_F(SpinTest, RangeAndPositionReadBack)
{
    CODSpinButtonCtrl spin;
    ASSERT_TRUE(spin.Create(WS_CHILD | WS_VISIBLE, CRect(10, 10, 30, 50), &parent, 5));
    spin.SetRange32(10, 0);  // a reversed range
    EXPECT_EQ(spin.GetLowerLimit(), 0);
    EXPECT_EQ(spin.GetUpperLimit(), 10);
    // A 32-bit range and position are read whole.
    spin.SetRange32(0, 100000);
    spin.SetPos32(70000);
    spin.RefreshState();
    EXPECT_EQ(spin.GetTrackedPos(), 70000);
    EXPECT_EQ(spin.GetUpperLimit(), 100000);
    // Setting a buddy records it.
    CWnd buddy;
    ASSERT_TRUE(buddy.Create(AfxRegisterWndClass(0), "b", WS_CHILD | WS_VISIBLE, CRect(40, 10, 80, 30), &parent, 6));
    spin.SendMessage(UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy.m_hWnd), 0);
    EXPECT_EQ(spin.GetBuddyWindow(), buddy.m_hWnd);
    EXPECT_TRUE(spin.SetActive(FALSE));
    EXPECT_FALSE(spin.IsActive());
}

TEST_F(SpinTest, TheButtonsShowOnTheScreen)
{
    // The parent's class has no background brush: what nothing paints
    // reads black. Both buttons must paint their faces when the window is
    // drawn (the control's own paint must not take their turn away).
    CODSpinButtonCtrl spin;
    ASSERT_TRUE(spin.Create(WS_CHILD | WS_VISIBLE, CRect(10, 10, 30, 50), &parent, 5));
    parent.RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    CRect halves[2];
    for (int i = 0; i < 2; ++i) {
        spin.GetButton(i)->GetWindowRect(&halves[i]);
        parent.ScreenToClient(&halves[i]);
        ASSERT_FALSE(halves[i].IsRectEmpty());
    }
    Canvas canvas(40, 60, kBlack);
    CClientDC dc(&parent);
    ASSERT_TRUE(::BitBlt(canvas.dc(), 0, 0, 40, 60, dc.GetSafeHdc(), 0, 0, SRCCOPY));
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        int painted = 0;
        for (int y = halves[i].top; y < halves[i].bottom; ++y)
            for (int x = halves[i].left; x < halves[i].right; ++x)
                if (canvas.At(x, y) != kBlack)
                    ++painted;
        EXPECT_GT(painted, halves[i].Width() * halves[i].Height() / 2);
    }
}

// ---- Tab ------------------------------------------------------------------------------------

// Records the hooks: "page", "item i s", "frame i s".
class CRecordingTab : public CODTabCtrl
{
public:
    std::vector<std::string> calls;
    void DrawItem(LPDRAWITEMSTRUCT di) override { Note("item", di); }
    void DrawPage(LPDRAWITEMSTRUCT di) override
    {
        EXPECT_EQ(di->CtlType, UINT(ODT_TAB));
        calls.push_back("page");
    }
    void DrawItemFrame(LPDRAWITEMSTRUCT di) override { Note("frame", di); }

private:
    void Note(const char* what, LPDRAWITEMSTRUCT di)
    {
        calls.push_back(std::string(what) + " " + std::to_string(di->itemID) + " " + std::to_string(di->itemState));
    }
};

using TabTest = ControlTest;

void AddTabs(CTabCtrl& tab, int count, int first = 0)
{
    for (int i = first; i < first + count; ++i)
        tab.InsertItem(i, ("Tab number " + std::to_string(i)).c_str());
}

TEST_F(TabTest, TheArrowsAreTakenOverOnceTheTabsOverflow)
{
    struct Case {
        const char* what;
        int how;  // 0: TCM_INSERTITEMA, 1: TCM_INSERTITEMW, 2: a resize
    };
    const Case cases[] = {{"inserting (ANSI)", 0}, {"inserting (wide)", 1}, {"resizing", 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CODTabCtrl tab;
        ASSERT_TRUE(tab.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, c.how == 2 ? 620 : 200, 80), &parent, 9));
        AddTabs(tab, c.how == 2 ? 6 : 1);
        EXPECT_FALSE(tab.IsSpinAttached()) << "the tabs fit: no arrows yet";
        EXPECT_EQ(::FindWindowExA(tab.m_hWnd, NULL, "msctls_updown32", NULL), nullptr);
        if (c.how == 0) {
            AddTabs(tab, 5, 1);
        } else if (c.how == 1) {
            for (int i = 1; i < 6; ++i) {
                TCITEMW item = {};
                item.mask = TCIF_TEXT;
                wchar_t text[] = L"Tab number x";
                item.pszText = text;
                EXPECT_EQ(::SendMessageW(tab.m_hWnd, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item)), i);
            }
        } else {
            tab.MoveWindow(0, 0, 200, 80);
        }
        ASSERT_TRUE(tab.IsSpinAttached());
        HWND arrows = ::FindWindowExA(tab.m_hWnd, NULL, "msctls_updown32", NULL);
        EXPECT_EQ(tab.GetSpin().m_hWnd, arrows);
        ASSERT_NE(tab.GetSpin().GetButton(0)->m_hWnd, nullptr);
        EXPECT_EQ(Caption(tab.GetSpin().GetButton(0)), "<");
        EXPECT_EQ(Caption(tab.GetSpin().GetButton(1)), ">");
        EXPECT_EQ(::GetPropA(tab.m_hWnd, "ODTabCtrl"), reinterpret_cast<HANDLE>(4107));
    }
}

TEST_F(TabTest, TheSpinScrollsTheTabs)
{
    CODTabCtrl tab;
    ASSERT_TRUE(tab.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 80), &parent, 9));
    AddTabs(tab, 6);
    ASSERT_TRUE(tab.IsSpinAttached());
    CRect before;
    tab.GetItemRect(0, &before);
    CODButton* right = tab.GetSpin().GetButton(1);
    tab.GetSpin().SendMessage(WM_COMMAND, MAKEWPARAM(101, BN_CLICKED), reinterpret_cast<LPARAM>(right->m_hWnd));
    CRect after;
    tab.GetItemRect(0, &after);
    EXPECT_LT(after.left, before.left) << "the first tab scrolled out to the left";
}

TEST_F(TabTest, HooksRunPageFirstAndTheSelectedTabLast)
{
    CRecordingTab tab;
    ASSERT_TRUE(tab.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 600, 80), &parent, 9));
    AddTabs(tab, 4);
    tab.SetCurSel(1);
    tab.calls.clear();
    tab.RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    const std::vector<std::string> expected = {
        "page",      "item 3 0",  "frame 3 0", "item 2 0", "frame 2 0",
        "item 0 0",  "frame 0 0", "item 1 1",  "frame 1 1"};
    EXPECT_EQ(tab.calls, expected);
}

TEST_F(TabTest, EmptyHooksPaintOnlyTheBackTabColour)
{
    CODTabCtrl tab;
    ASSERT_TRUE(tab.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 80), &parent, 9));
    AddTabs(tab, 2);
    EXPECT_EQ(tab.SetBackTabColor(kCyan), RGB(226, 209, 181)) << "the default back-tab colour";
    tab.RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    Canvas canvas(300, 80, kBlack);
    CClientDC dc(&tab);
    ASSERT_TRUE(::BitBlt(canvas.dc(), 0, 0, 300, 80, dc.GetSafeHdc(), 0, 0, SRCCOPY));
    int other = 0;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 300; ++x)
            if (canvas.At(x, y) != kCyan)
                ++other;
    EXPECT_EQ(other, 0) << "tabs, text and frames are the hooks' to draw";
}

TEST_F(TabTest, TheArrowsStayInSightWhenTheTabsRepaint)
{
    // The tab control fills itself with the back-tab colour; its arrows,
    // a child window, must still show after the tabs alone repaint.
    CODTabCtrl tab;
    ASSERT_TRUE(tab.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 80), &parent, 9));
    AddTabs(tab, 6);
    ASSERT_TRUE(tab.IsSpinAttached());
    tab.SetBackTabColor(kCyan);
    parent.RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    tab.SetCurSel(2);
    tab.RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    CRect arrows;
    tab.GetSpin().GetWindowRect(&arrows);
    tab.ScreenToClient(&arrows);
    ASSERT_FALSE(arrows.IsRectEmpty());
    Canvas canvas(200, 80, kBlack);
    CClientDC dc(&tab);
    ASSERT_TRUE(::BitBlt(canvas.dc(), 0, 0, 200, 80, dc.GetSafeHdc(), 0, 0, SRCCOPY));
    int cyan = 0;
    for (int y = arrows.top; y < arrows.bottom; ++y)
        for (int x = arrows.left; x < arrows.right; ++x)
            if (canvas.At(x, y) == kCyan)
                ++cyan;
    EXPECT_EQ(cyan, 0) << "the tabs' fill went over the arrows";
    EXPECT_EQ(canvas.At(arrows.left - 3, arrows.top + 1), kCyan) << "beside them, the back-tab colour";
}

TEST_F(TabTest, AThemeWithoutFlipPicturesKeepsTheArrowCaptions)
{
    const std::vector<unsigned char> b = ReadFileBytes(ThemeFolder() + "Mardavel_skn.ini");
    ASSERT_FALSE(b.empty()) << "the build generates " << ThemeFolder() << "Mardavel_skn.ini";
    const std::string theme(b.begin(), b.end());
    // A picture the theme has: the header's background, named by its id.
    const size_t at = theme.find("HeaderImageID=");
    ASSERT_NE(at, std::string::npos);
    const int pictureId = atoi(theme.c_str() + at + 14);
    ASSERT_GT(pictureId, 0);
    TempDir dir;
    ASSERT_TRUE(CopyFileA((ThemeFolder() + "Kelvarin.dll").c_str(), dir.File("Kelvarin.dll").c_str(), FALSE));
    const std::string ini = dir.File("Mardavel_skn.ini");
    ASSERT_TRUE(WriteText(ini, theme));
    ASSERT_TRUE(ODInitLibrary(ini.c_str(), OD_THEME_LOOSE_FILES));

    CODTabCtrl tab;
    ASSERT_TRUE(tab.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 80), &parent, 9));
    AddTabs(tab, 6);
    ASSERT_TRUE(tab.IsSpinAttached());
    CODButton* b0 = tab.GetSpin().GetButton(0);
    CODButton* b1 = tab.GetSpin().GetButton(1);
    tab.SendMessage(ODGetThemeMessage(), 0, 0);
    EXPECT_EQ(Caption(b0), "<") << "no flip pictures in the theme";
    EXPECT_EQ(Caption(b1), ">");

    // With pictures for the left pair only, the first button shows them
    // and drops its caption; the second keeps its arrow.
    const std::string id = std::to_string(pictureId);
    ASSERT_TRUE(WriteText(ini, theme + "\r\n[ODTabCtrl]\r\nFlipLeftOutImage=" + id + "\r\nFlipLeftInImage=" + id +
                                   "\r\nColorBackTab=#1#2#3\r\n"));
    ODLoadTheme();
    tab.SendMessage(ODGetThemeMessage(), 0, 0);
    EXPECT_EQ(Caption(b0), "");
    EXPECT_NE(b0->GetImage(0).GetBits(), nullptr);
    EXPECT_EQ(Caption(b1), ">");
    EXPECT_EQ(tab.GetColor(CODTabCtrl::ColBackTab), RGB(1, 2, 3));

    // Back to a theme without them: the arrow comes back.
    ASSERT_TRUE(WriteText(ini, theme));
    ODLoadTheme();
    tab.SendMessage(ODGetThemeMessage(), 0, 0);
    EXPECT_EQ(Caption(b0), "<");
    EXPECT_EQ(tab.GetColor(CODTabCtrl::ColBackTab), RGB(226, 209, 181));
}

TEST_F(TabTest, DrawModes)
{
    struct Case {
        const char* what;
        int mode;
        BOOL answer;
        bool ownerDrawn;
    };
    const Case cases[] = {
        {"1: owner-drawn", 1, TRUE, true},
        {"3 is refused and changes nothing", 3, FALSE, true},
        {"-1 is refused", -1, FALSE, true},
        {"0: the system draws", 0, TRUE, false},
        {"2: owner-drawn", 2, TRUE, true},
    };
    CODTabCtrl tab;
    ASSERT_TRUE(tab.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 80), &parent, 9));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(tab.SetDrawMode(c.mode), c.answer);
        EXPECT_EQ((tab.GetStyle() & TCS_OWNERDRAWFIXED) != 0, c.ownerDrawn);
    }
    EXPECT_EQ(tab.GetDrawMode(), 2);
    CODTabCtrl made(2);
    ASSERT_TRUE(made.Create(WS_CHILD, CRect(0, 0, 300, 80), &parent, 10));
    EXPECT_NE(made.GetStyle() & TCS_OWNERDRAWFIXED, 0u) << "a mode given at construction";
    EXPECT_EQ(CODTabCtrl(7).GetDrawMode(), 0);
}

}  // namespace

