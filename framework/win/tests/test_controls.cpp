// Control wrappers, menus, views: the parts where the framework adds
// behaviour (reflection, routing, buffers) rather than forwarding a message.
#include "test_support.h"

#include "afxcmn.h"

#include <string>
#include <vector>

namespace {

class ControlsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateEx(0, AfxRegisterWndClass(0), "parent", WS_POPUP, 0, 0, 400, 300, NULL, NULL));
    }
    void TearDown() override
    {
        m_parent.DestroyWindow();
        PumpPendingMessages();
        AfxDeleteTempMaps();
    }
    CWnd m_parent;
};

class CMeasuringListBox : public CListBox
{
public:
    int m_nMeasured = 0;
    int m_nDrawn = 0;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMIS) override
    {
        m_nMeasured++;
        lpMIS->itemHeight = 23;
    }
    void DrawItem(LPDRAWITEMSTRUCT) override { m_nDrawn++; }
};

}  // namespace

TEST_F(ControlsTest, OwnerDrawnListBoxIsMeasuredDuringItsOwnCreation)
{
    // WM_MEASUREITEM arrives while the box is being created: the creation
    // hook has attached it by then, so the parent's default reflects it.
    CMeasuringListBox box;
    ASSERT_TRUE(box.Create(WS_CHILD | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, CRect(0, 0, 100, 100), &m_parent, 10));
    EXPECT_GT(box.m_nMeasured, 0);
    EXPECT_EQ(box.GetItemHeight(0), 23);
    EXPECT_EQ(box.AddString("第一项"), 0);
    CString strText;
    box.GetText(0, strText);
    EXPECT_STREQ((LPCSTR)strText, "第一项");
    box.GetText(5, strText);   // no such entry
    EXPECT_TRUE(strText.IsEmpty());
}

TEST_F(ControlsTest, ListCtrlTextRoundTripsWhateverItsLength)
{
    CListCtrl list;
    ASSERT_TRUE(list.Create(WS_CHILD | LVS_REPORT, CRect(0, 0, 300, 200), &m_parent, 11));
    EXPECT_EQ(list.InsertColumn(0, "名字", LVCFMT_LEFT, 80), 0);
    EXPECT_EQ(list.InsertColumn(1, "积分", LVCFMT_RIGHT, 60), 1);
    EXPECT_EQ(list.GetHeaderCtrl()->GetItemCount(), 2);
    EXPECT_EQ(list.InsertItem(0, "玩家"), 0);
    std::string strLong;
    for (int i = 0; i < 150; i++)
        strLong += "长";   // 300 bytes, more than the first read takes
    EXPECT_TRUE(list.SetItemText(0, 1, strLong.c_str()));
    EXPECT_STREQ((LPCSTR)list.GetItemText(0, 0), "玩家");
    EXPECT_EQ(std::string((LPCSTR)list.GetItemText(0, 1)), strLong);
    EXPECT_TRUE(list.SetItemData(0, 0x12345));
    EXPECT_EQ(list.GetItemData(0), (DWORD_PTR)0x12345);
    EXPECT_TRUE(list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED));
    EXPECT_EQ(list.GetItemState(0, LVIS_SELECTED), (UINT)LVIS_SELECTED);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 0);
}

TEST_F(ControlsTest, RangesAndPositionsOfTheCommonControls)
{
    CSpinButtonCtrl spin;
    ASSERT_TRUE(spin.Create(WS_CHILD, CRect(0, 0, 20, 20), &m_parent, 12));
    spin.SetRange32(-5, 500);
    int nLower = 0;
    int nUpper = 0;
    spin.GetRange32(nLower, nUpper);
    EXPECT_EQ(nLower, -5);
    EXPECT_EQ(nUpper, 500);
    spin.SetPos32(300);
    EXPECT_EQ(spin.GetPos32(), 300);

    CProgressCtrl progress;
    ASSERT_TRUE(progress.Create(WS_CHILD, CRect(0, 0, 100, 20), &m_parent, 13));
    progress.SetRange32(0, 1000);
    progress.SetPos(250);
    EXPECT_EQ(progress.GetPos(), 250);
    progress.GetRange(nLower, nUpper);
    EXPECT_EQ(nUpper, 1000);

    CTabCtrl tabs;
    ASSERT_TRUE(tabs.Create(WS_CHILD, CRect(0, 0, 200, 100), &m_parent, 14));
    EXPECT_EQ(tabs.InsertItem(0, "一"), 0);
    EXPECT_EQ(tabs.InsertItem(1, "二"), 1);
    tabs.SetCurSel(1);
    EXPECT_EQ(tabs.GetCurSel(), 1);
    EXPECT_EQ(tabs.GetItemCount(), 2);

    CComboBox combo;
    ASSERT_TRUE(combo.Create(WS_CHILD | CBS_DROPDOWNLIST, CRect(0, 0, 100, 200), &m_parent, 15));
    combo.AddString("甲");
    combo.AddString("乙");
    CString strItem;
    combo.GetLBText(1, strItem);
    EXPECT_STREQ((LPCSTR)strItem, "乙");
}

TEST_F(ControlsTest, ToolTipToolsAreAddedUpdatedAndRemoved)
{
    CButton button;
    ASSERT_TRUE(button.Create("b", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 20), &m_parent, 16));
    CToolTipCtrl tip;
    ASSERT_TRUE(tip.Create(&m_parent));
    EXPECT_TRUE(tip.AddTool(&button, "提示"));
    EXPECT_TRUE(tip.AddTool(&m_parent, "区域", CRect(0, 0, 10, 10), 256));
    EXPECT_EQ(tip.GetToolCount(), 2);
    tip.UpdateTipText("新提示", &button);
    char szText[80] = "";
    TOOLINFO ti;
    ASSERT_TRUE(tip.GetToolInfo(&ti, &button));
    ti.lpszText = szText;
    tip.SendMessage(TTM_GETTEXTA, 0, (LPARAM)&ti);
    EXPECT_STREQ(szText, "新提示");
    tip.SendMessage(WM_DISABLEMODAL);   // a modal loop starts: the tip hides
    tip.DelTool(&button);
    EXPECT_EQ(tip.GetToolCount(), 1);
}

namespace {

class COwnerDrawMenu : public CMenu
{
public:
    int m_nDrawn = 0;
    int m_nMeasured = 0;
    void DrawItem(LPDRAWITEMSTRUCT) override { m_nDrawn++; }
    void MeasureItem(LPMEASUREITEMSTRUCT lpMIS) override
    {
        m_nMeasured++;
        lpMIS->itemHeight = 20;
    }
};

}  // namespace

TEST_F(ControlsTest, OwnerDrawnMenuItemsReachTheAttachedMenu)
{
    COwnerDrawMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    ASSERT_TRUE(menu.AppendMenu(MF_OWNERDRAW, 501, (LPCTSTR)1));
    ASSERT_TRUE(menu.AppendMenu(MF_STRING, 502, "退出"));
    EXPECT_EQ(CMenu::FromHandlePermanent(menu.m_hMenu), &menu);
    CString strItem;
    menu.GetMenuString(502, strItem, MF_BYCOMMAND);
    EXPECT_STREQ((LPCSTR)strItem, "退出");

    // The popup being tracked is remembered, so its item can be measured.
    m_parent.SendMessage(WM_INITMENUPOPUP, (WPARAM)menu.m_hMenu, 0);
    MEASUREITEMSTRUCT mis = {ODT_MENU, 0, 501, 0, 0, 1};
    m_parent.SendMessage(WM_MEASUREITEM, 0, (LPARAM)&mis);
    EXPECT_EQ(menu.m_nMeasured, 1);
    EXPECT_EQ(mis.itemHeight, 20u);

    CClientDC dc(&m_parent);
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_MENU;
    dis.itemID = 501;
    dis.hwndItem = (HWND)menu.m_hMenu;
    dis.hDC = dc.m_hDC;
    m_parent.SendMessage(WM_DRAWITEM, 0, (LPARAM)&dis);
    EXPECT_EQ(menu.m_nDrawn, 1);

    HMENU hMenu = menu.Detach();
    EXPECT_EQ(CMenu::FromHandlePermanent(hMenu), (CMenu*)NULL);
    ::DestroyMenu(hMenu);
}

namespace {

class CRecordingDragList : public CDragListBox
{
public:
    std::vector<std::string> m_calls;
    BOOL BeginDrag(CPoint) override { m_calls.push_back("begin"); return TRUE; }
    UINT Dragging(CPoint) override { m_calls.push_back("dragging"); return DL_COPYCURSOR; }
    void CancelDrag(CPoint) override { m_calls.push_back("cancel"); }
    void Dropped(int nSrcIndex, CPoint) override { m_calls.push_back("dropped " + std::to_string(nSrcIndex)); }
};

}  // namespace

TEST_F(ControlsTest, DragListNotificationsAreReflectedToTheBox)
{
    HWND hBox = ::CreateWindowExA(0, "LISTBOX", NULL, WS_CHILD | LBS_NOTIFY, 0, 0, 100, 100, m_parent.m_hWnd,
                                  (HMENU)17, NULL, NULL);
    CRecordingDragList box;
    ASSERT_TRUE(box.SubclassWindow(hBox));   // makes it a drag list
    box.AddString("a");
    box.AddString("b");
    box.SetCurSel(1);

    UINT nMsg = ::RegisterWindowMessageA(DRAGLISTMSGSTRING);
    DRAGLISTINFO info = {DL_BEGINDRAG, hBox, {5, 5}};
    EXPECT_EQ(m_parent.SendMessage(nMsg, 17, (LPARAM)&info), TRUE);
    info.uNotification = DL_DRAGGING;
    EXPECT_EQ(m_parent.SendMessage(nMsg, 17, (LPARAM)&info), (LRESULT)DL_COPYCURSOR);
    info.uNotification = DL_DROPPED;
    m_parent.SendMessage(nMsg, 17, (LPARAM)&info);
    info.uNotification = DL_CANCELDRAG;
    m_parent.SendMessage(nMsg, 17, (LPARAM)&info);
    std::vector<std::string> expected = {"begin", "dragging", "dropped 1", "cancel"};
    EXPECT_EQ(box.m_calls, expected);
}

/////////////////////////////////////////////////////////////////////////////
// Views

namespace {

int g_nViewsDeleted = 0;
int g_nInitialUpdates = 0;

class CTestView : public CView
{
    DECLARE_DYNCREATE(CTestView)
public:
    ~CTestView() override { g_nViewsDeleted++; }
    void OnDraw(CDC*) override {}
    void OnInitialUpdate() override
    {
        g_nInitialUpdates++;
        CView::OnInitialUpdate();
    }
};

IMPLEMENT_DYNCREATE(CTestView, CView)

}  // namespace

TEST(View, AFrameCreatesItsViewByClassAndTheViewGoesWithIt)
{
    g_nViewsDeleted = 0;
    g_nInitialUpdates = 0;
    CCreateContext context = {};
    context.m_pNewViewClass = RUNTIME_CLASS(CTestView);
    CFrameWnd* pFrame = new CFrameWnd;
    ASSERT_TRUE(pFrame->Create(NULL, "视图框架", WS_POPUP, CRect(0, 0, 300, 200), NULL, NULL, 0, &context));
    CView* pView = pFrame->GetActiveView();
    ASSERT_NE(pView, (CView*)NULL);
    EXPECT_TRUE(pView->IsKindOf(RUNTIME_CLASS(CTestView)));
    EXPECT_EQ(pView->GetDlgCtrlID(), AFX_IDW_PANE_FIRST);
    EXPECT_EQ(pView->GetParentFrame(), pFrame);
    // The view fills the frame's client area.
    CRect rcFrame;
    CRect rcView;
    pFrame->GetClientRect(&rcFrame);
    pView->GetWindowRect(&rcView);
    EXPECT_EQ(rcView.Size(), rcFrame.Size());
    pFrame->InitialUpdateFrame(FALSE);
    EXPECT_EQ(g_nInitialUpdates, 1);
    pFrame->DestroyWindow();
    EXPECT_EQ(g_nViewsDeleted, 1);
}
