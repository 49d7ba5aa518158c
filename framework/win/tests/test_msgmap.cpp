// Message maps, routing, reflection, the creation hook and window lifetimes.
#include "test_support.h"

#include "afxcmn.h"

#include <string>
#include <vector>

namespace {

const UINT WM_TEST_BASE_ONLY = WM_APP + 1;
const UINT WM_TEST_OVERRIDDEN = WM_APP + 2;
const UINT WM_TEST_UNMAPPED = WM_APP + 3;
const UINT WM_TEST_THROW = WM_APP + 4;
const UINT g_nTestRegistered = ::RegisterWindowMessageA("FrameworkWinTestMessage");

const UINT IDC_CHILD = 100;
const UINT IDC_RANGE_FIRST = 200;
const UINT IDC_RANGE_LAST = 210;
const UINT IDM_MENU_COMMAND = 300;
const int NM_TEST_NOTIFY = -1900;    // a private notification code
const int NM_TEST_PASS_ON = -1901;

std::vector<std::string> g_log;

void Log(const std::string& line)
{
    g_log.push_back(line);
}

bool Logged(const std::string& line)
{
    for (const std::string& s : g_log)
        if (s == line)
            return true;
    return false;
}

CRect ChildRect() { return CRect(0, 0, 100, 100); }

// A hidden top-level window of a class registered through the framework.
class CBaseWnd : public CWnd
{
public:
    BOOL CreateTopLevel()
    {
        return CreateEx(0, AfxRegisterWndClass(0), "test", WS_OVERLAPPEDWINDOW, 0, 0, 200, 150, NULL, NULL);
    }

protected:
    afx_msg void OnTimer(UINT_PTR nIDEvent) { Log("base timer " + std::to_string(nIDEvent)); }
    afx_msg LRESULT OnBaseOnly(WPARAM, LPARAM) { Log("base only"); return 11; }
    afx_msg LRESULT OnOverridden(WPARAM, LPARAM) { Log("base overridden"); return 21; }
    afx_msg LRESULT OnRegistered(WPARAM wParam, LPARAM) { Log("registered"); return (LRESULT)wParam + 1; }
    afx_msg LRESULT OnThrow(WPARAM, LPARAM) { AfxThrowResourceException(); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseWnd, CWnd)
    ON_WM_TIMER()
    ON_MESSAGE(WM_TEST_BASE_ONLY, OnBaseOnly)
    ON_MESSAGE(WM_TEST_OVERRIDDEN, OnOverridden)
    ON_REGISTERED_MESSAGE(g_nTestRegistered, OnRegistered)
    ON_MESSAGE(WM_TEST_THROW, OnThrow)
END_MESSAGE_MAP()

class CDerivedWnd : public CBaseWnd
{
protected:
    afx_msg LRESULT OnOverridden(WPARAM, LPARAM) { Log("derived overridden"); return 22; }
    afx_msg void OnMenuCommand() { Log("menu command"); }
    afx_msg void OnRange(UINT nID) { Log("range " + std::to_string(nID)); }
    afx_msg void OnChildClicked() { Log("parent saw click"); }
    afx_msg void OnChildNotify(NMHDR* pNMHDR, LRESULT* pResult)
    {
        Log("parent notify " + std::to_string(pNMHDR->code));
        *pResult = 77;
    }
    afx_msg BOOL OnPassOnNotify(UINT, NMHDR*, LRESULT*) { Log("parent declines"); return FALSE; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedWnd, CBaseWnd)
    ON_MESSAGE(WM_TEST_OVERRIDDEN, OnOverridden)
    ON_COMMAND(IDM_MENU_COMMAND, OnMenuCommand)
    ON_COMMAND_RANGE(IDC_RANGE_FIRST, IDC_RANGE_LAST, OnRange)
    ON_BN_CLICKED(IDC_CHILD, OnChildClicked)
    ON_NOTIFY(NM_TEST_NOTIFY, IDC_CHILD, OnChildNotify)
    ON_NOTIFY_EX(NM_TEST_PASS_ON, IDC_CHILD, OnPassOnNotify)
END_MESSAGE_MAP()

class MessageMapTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_log.clear();
        ASSERT_TRUE(m_wnd.CreateTopLevel());
    }
    void TearDown() override
    {
        m_wnd.DestroyWindow();
        PumpPendingMessages();
        AfxDeleteTempMaps();
    }
    CDerivedWnd m_wnd;
};

}  // namespace

TEST_F(MessageMapTest, MessagesReachTheMostDerivedHandlerThroughChainedMaps)
{
    struct Case { UINT message; LRESULT expected; const char* logged; } cases[] = {
        {WM_TEST_BASE_ONLY, 11, "base only"},            // only the base map has it
        {WM_TEST_OVERRIDDEN, 22, "derived overridden"},  // the derived map wins
        {WM_TEST_UNMAPPED, 0, nullptr},                  // no entry: the default procedure
    };
    for (const Case& c : cases) {
        g_log.clear();
        EXPECT_EQ(m_wnd.SendMessage(c.message), c.expected) << c.message;
        if (c.logged != nullptr)
            EXPECT_EQ(g_log, std::vector<std::string>{c.logged}) << c.message;
        else
            EXPECT_TRUE(g_log.empty()) << c.message;
    }
    EXPECT_FALSE(Logged("base overridden"));
}

TEST_F(MessageMapTest, WindowMessageDecodingAndRegisteredMessages)
{
    m_wnd.SendMessage(WM_TIMER, 7, 0);
    EXPECT_TRUE(Logged("base timer 7"));
    EXPECT_EQ(m_wnd.SendMessage(g_nTestRegistered, 41, 0), 42);
    EXPECT_TRUE(Logged("registered"));
}

TEST_F(MessageMapTest, CommandsRouteByIdCodeAndRange)
{
    EXPECT_NE(m_wnd.SendMessage(WM_COMMAND, MAKEWPARAM(IDM_MENU_COMMAND, 0), 0), 0);
    // An accelerator sends code 1; it is a command like a menu's.
    EXPECT_NE(m_wnd.SendMessage(WM_COMMAND, MAKEWPARAM(IDM_MENU_COMMAND, 1), 0), 0);
    EXPECT_NE(m_wnd.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_RANGE_FIRST + 3, 0), 0), 0);
    EXPECT_EQ(m_wnd.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_RANGE_LAST + 1, 0), 0), 0);
    EXPECT_EQ(m_wnd.SendMessage(WM_COMMAND, MAKEWPARAM(0, 0), 0), 0);   // id 0 is never a command
    std::vector<std::string> expected = {"menu command", "menu command", "range 203"};
    EXPECT_EQ(g_log, expected);
}

TEST_F(MessageMapTest, ControlNotificationsReachTheParentWhenTheControlHasNoReflection)
{
    CButton button;
    ASSERT_TRUE(button.Create("按钮", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, ChildRect(), &m_wnd, IDC_CHILD));
    button.SendMessage(BM_CLICK);
    EXPECT_TRUE(Logged("parent saw click"));

    NMHDR nmhdr = {button.m_hWnd, IDC_CHILD, (UINT)NM_TEST_NOTIFY};
    EXPECT_EQ(m_wnd.SendMessage(WM_NOTIFY, IDC_CHILD, (LPARAM)&nmhdr), 77);
    EXPECT_TRUE(Logged("parent notify " + std::to_string((UINT)NM_TEST_NOTIFY)));

    // An _EX handler that declines leaves the message unhandled.
    nmhdr.code = (UINT)NM_TEST_PASS_ON;
    EXPECT_EQ(m_wnd.SendMessage(WM_NOTIFY, IDC_CHILD, (LPARAM)&nmhdr), 0);
    EXPECT_TRUE(Logged("parent declines"));
}

namespace {

// A control that handles its own notifications (reflection).
class CReflectingButton : public CButton
{
public:
    BOOL m_bPassClickOn = FALSE;
    int m_nDrawItem = 0;
    void DrawItem(LPDRAWITEMSTRUCT) override { m_nDrawItem++; }

protected:
    afx_msg BOOL OnReflectedClick()
    {
        Log("child saw click");
        return !m_bPassClickOn;
    }
    afx_msg void OnReflectedNotify(NMHDR*, LRESULT* pResult)
    {
        Log("child notify");
        *pResult = 55;
    }
    afx_msg HBRUSH CtlColor(CDC*, UINT nCtlColor)
    {
        Log("child ctlcolor " + std::to_string(nCtlColor));
        return (HBRUSH)::GetStockObject(GRAY_BRUSH);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectingButton, CButton)
    ON_CONTROL_REFLECT_EX(BN_CLICKED, OnReflectedClick)
    ON_NOTIFY_REFLECT(NM_TEST_NOTIFY, OnReflectedNotify)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

// A parent that answers WM_CTLCOLOR itself: its handler comes before the
// control's reflected one.
class CColorParent : public CBaseWnd
{
protected:
    afx_msg HBRUSH OnCtlColor(CDC*, CWnd*, UINT)
    {
        Log("parent ctlcolor");
        return (HBRUSH)::GetStockObject(BLACK_BRUSH);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CColorParent, CBaseWnd)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

}  // namespace

TEST_F(MessageMapTest, ReflectionReachesTheChildBeforeTheParent)
{
    CReflectingButton button;
    ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, ChildRect(), &m_wnd, IDC_CHILD));

    // The control takes its click; the parent does not see it.
    button.SendMessage(BM_CLICK);
    EXPECT_TRUE(Logged("child saw click"));
    EXPECT_FALSE(Logged("parent saw click"));

    // An _EX reflection handler that returns FALSE passes the click on.
    g_log.clear();
    button.m_bPassClickOn = TRUE;
    button.SendMessage(BM_CLICK);
    EXPECT_EQ(g_log, (std::vector<std::string>{"child saw click", "parent saw click"}));

    // WM_NOTIFY: the control's result comes back to the sender.
    g_log.clear();
    NMHDR nmhdr = {button.m_hWnd, IDC_CHILD, (UINT)NM_TEST_NOTIFY};
    EXPECT_EQ(m_wnd.SendMessage(WM_NOTIFY, IDC_CHILD, (LPARAM)&nmhdr), 55);
    EXPECT_EQ(g_log, std::vector<std::string>{"child notify"});

    // WM_CTLCOLOR...: the parent has no handler, its default reflects.
    g_log.clear();
    CClientDC dc(&button);
    LRESULT hbr = m_wnd.SendMessage(WM_CTLCOLORBTN, (WPARAM)dc.m_hDC, (LPARAM)button.m_hWnd);
    EXPECT_EQ((HBRUSH)hbr, (HBRUSH)::GetStockObject(GRAY_BRUSH));
    EXPECT_TRUE(Logged("child ctlcolor " + std::to_string(CTLCOLOR_BTN)));

    // WM_DRAWITEM of the owner-drawn button goes to its DrawItem.
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = IDC_CHILD;
    dis.hwndItem = button.m_hWnd;
    dis.hDC = dc.m_hDC;
    EXPECT_EQ(m_wnd.SendMessage(WM_DRAWITEM, IDC_CHILD, (LPARAM)&dis), TRUE);
    EXPECT_EQ(button.m_nDrawItem, 1);
}

TEST(Reflection, AParentHandlerComesBeforeTheReflectedControlColour)
{
    g_log.clear();
    CColorParent parent;
    ASSERT_TRUE(parent.CreateTopLevel());
    CReflectingButton button;
    ASSERT_TRUE(button.Create("", WS_CHILD | BS_PUSHBUTTON, ChildRect(), &parent, IDC_CHILD));
    CClientDC dc(&button);
    LRESULT hbr = parent.SendMessage(WM_CTLCOLORBTN, (WPARAM)dc.m_hDC, (LPARAM)button.m_hWnd);
    EXPECT_EQ((HBRUSH)hbr, (HBRUSH)::GetStockObject(BLACK_BRUSH));
    EXPECT_EQ(g_log, std::vector<std::string>{"parent ctlcolor"});
    parent.DestroyWindow();
}

TEST_F(MessageMapTest, AnExceptionInAHandlerStaysInsideTheWindowProcedure)
{
    EXPECT_EQ(m_wnd.SendMessage(WM_TEST_THROW), 0);
    // The window goes on working.
    EXPECT_EQ(m_wnd.SendMessage(WM_TEST_BASE_ONLY), 11);
}

/////////////////////////////////////////////////////////////////////////////
// Creation hook

namespace {

// Records the messages its object receives from the very first one.
class CRecordingWnd : public CWnd
{
public:
    std::vector<UINT> m_messages;
    BOOL m_bAttachedAtNcCreate = FALSE;
    BOOL m_bAttachedAtCreate = FALSE;
    BOOL m_bPreSubclassed = FALSE;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        m_messages.push_back(message);
        return CWnd::WindowProc(message, wParam, lParam);
    }
    void PreSubclassWindow() override { m_bPreSubclassed = TRUE; }

protected:
    afx_msg BOOL OnNcCreate(LPCREATESTRUCT lpcs)
    {
        m_bAttachedAtNcCreate = CWnd::FromHandlePermanent(m_hWnd) == this;
        return CWnd::OnNcCreate(lpcs);
    }
    afx_msg int OnCreate(LPCREATESTRUCT lpcs)
    {
        m_bAttachedAtCreate = CWnd::FromHandlePermanent(m_hWnd) == this;
        return CWnd::OnCreate(lpcs);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRecordingWnd, CWnd)
    ON_WM_NCCREATE()
    ON_WM_CREATE()
END_MESSAGE_MAP()

}  // namespace

TEST(CreationHook, WindowsOfRegisteredClassesBelongToTheirObjectFromTheFirstMessage)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = AfxGetInstanceHandle();
    wc.lpszClassName = "FrameworkTestPlainClass";
    ASSERT_TRUE(AfxRegisterClass(&wc));
    ASSERT_TRUE(AfxRegisterClass(&wc));   // a second registration is fine

    struct Case { LPCTSTR lpszClass; DWORD dwStyle; } cases[] = {
        {AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(NULL, IDC_ARROW)), WS_OVERLAPPEDWINDOW},
        {"FrameworkTestPlainClass", WS_POPUP},
    };
    for (const Case& c : cases) {
        CRecordingWnd wnd;
        ASSERT_TRUE(wnd.CreateEx(0, c.lpszClass, "hooked", c.dwStyle, 0, 0, 120, 80, NULL, NULL)) << c.lpszClass;
        EXPECT_TRUE(wnd.m_bPreSubclassed);
        EXPECT_TRUE(wnd.m_bAttachedAtNcCreate) << c.lpszClass;
        EXPECT_TRUE(wnd.m_bAttachedAtCreate) << c.lpszClass;
        ASSERT_FALSE(wnd.m_messages.empty());
        // Overlapped windows are asked their size limits before WM_NCCREATE.
        EXPECT_TRUE(wnd.m_messages[0] == WM_NCCREATE || wnd.m_messages[0] == WM_GETMINMAXINFO) << wnd.m_messages[0];
        EXPECT_TRUE(wnd.DestroyWindow());
        EXPECT_EQ(wnd.m_hWnd, (HWND)NULL);
    }
}

namespace {

class CThrowingPreSubclass : public CWnd
{
public:
    void PreSubclassWindow() override { AfxThrowMemoryException(); }
};

class CRefusingCreate : public CWnd
{
public:
    static int s_nDeleted;
    ~CRefusingCreate() override { s_nDeleted++; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT) { return -1; }
    void PostNcDestroy() override { delete this; }
    DECLARE_MESSAGE_MAP()
};
int CRefusingCreate::s_nDeleted = 0;

BEGIN_MESSAGE_MAP(CRefusingCreate, CWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

class CThrowingCreate : public CWnd
{
protected:
    afx_msg int OnCreate(LPCREATESTRUCT) { AfxThrowResourceException(); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CThrowingCreate, CWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

}  // namespace

TEST(CreationHook, AnExceptionInPreSubclassWindowIsRethrownByCreateEx)
{
    CThrowingPreSubclass wnd;
    bool bCaught = false;
    try {
        wnd.CreateEx(0, AfxRegisterWndClass(0), "x", WS_POPUP, 0, 0, 10, 10, NULL, NULL);
    } catch (CMemoryException* e) {
        bCaught = true;
        e->Delete();
    }
    EXPECT_TRUE(bCaught);
    EXPECT_EQ(wnd.m_hWnd, (HWND)NULL);
    // The hook is free for the next window.
    CWnd other;
    EXPECT_TRUE(other.CreateEx(0, AfxRegisterWndClass(0), "y", WS_POPUP, 0, 0, 10, 10, NULL, NULL));
    EXPECT_EQ(CWnd::FromHandlePermanent(other.m_hWnd), &other);
    other.DestroyWindow();
}

TEST(CreationHook, AFailedCreationLeavesTheObjectToTheCaller)
{
    CRefusingCreate::s_nDeleted = 0;
    CRefusingCreate* pWnd = new CRefusingCreate;
    EXPECT_FALSE(pWnd->CreateEx(0, AfxRegisterWndClass(0), "x", WS_POPUP, 0, 0, 10, 10, NULL, NULL));
    EXPECT_EQ(CRefusingCreate::s_nDeleted, 0);   // a self-deleting class is not deleted by the failure
    EXPECT_EQ(pWnd->m_hWnd, (HWND)NULL);
    delete pWnd;
    EXPECT_EQ(CRefusingCreate::s_nDeleted, 1);

    CThrowingCreate throwing;   // an exception in OnCreate fails the creation
    EXPECT_FALSE(throwing.CreateEx(0, AfxRegisterWndClass(0), "x", WS_POPUP, 0, 0, 10, 10, NULL, NULL));
    EXPECT_EQ(throwing.m_hWnd, (HWND)NULL);
}

/////////////////////////////////////////////////////////////////////////////
// Lifetimes

namespace {

int g_nSelfDeleted = 0;

class CSelfDeleting : public CWnd
{
public:
    ~CSelfDeleting() override { g_nSelfDeleted++; }
protected:
    void PostNcDestroy() override { delete this; }
};

// Handles WM_NCDESTROY without calling the base handler.
class CSelfDeletingNoBase : public CSelfDeleting
{
protected:
    afx_msg void OnNcDestroy() { Log("own ncdestroy"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSelfDeletingNoBase, CSelfDeleting)
    ON_WM_NCDESTROY()
END_MESSAGE_MAP()

class CCountedFrame : public CFrameWnd
{
public:
    ~CCountedFrame() override { g_nSelfDeleted++; }
};

}  // namespace

TEST(Lifetime, SelfDeletingWindowsAreDeletedOnce)
{
    g_log.clear();
    g_nSelfDeleted = 0;

    // Destroyed directly.
    CSelfDeleting* pDirect = new CSelfDeleting;
    ASSERT_TRUE(pDirect->CreateEx(0, AfxRegisterWndClass(0), "a", WS_POPUP, 0, 0, 10, 10, NULL, NULL));
    HWND hDirect = pDirect->m_hWnd;
    pDirect->DestroyWindow();
    EXPECT_EQ(g_nSelfDeleted, 1);
    EXPECT_EQ(CWnd::FromHandlePermanent(hDirect), (CWnd*)NULL);

    // Destroyed with their parent, one of them without the base OnNcDestroy.
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "p", WS_POPUP, 0, 0, 50, 50, NULL, NULL));
    CSelfDeleting* pChild = new CSelfDeleting;
    ASSERT_TRUE(pChild->Create(NULL, "c", WS_CHILD, CRect(0, 0, 5, 5), &parent, 1));
    CSelfDeletingNoBase* pOwn = new CSelfDeletingNoBase;
    ASSERT_TRUE(pOwn->Create(NULL, "o", WS_CHILD, CRect(0, 0, 5, 5), &parent, 2));
    parent.DestroyWindow();
    EXPECT_EQ(g_nSelfDeleted, 3);
    EXPECT_TRUE(Logged("own ncdestroy"));

    // A frame deletes itself; closing it destroys it.
    CCountedFrame* pFrame = new CCountedFrame;
    ASSERT_TRUE(pFrame->Create(NULL, "frame", WS_OVERLAPPEDWINDOW));
    pFrame->SendMessage(WM_CLOSE);
    EXPECT_EQ(g_nSelfDeleted, 4);
    PumpPendingMessages();
    EXPECT_EQ(g_nSelfDeleted, 4);
}

TEST(Lifetime, AnObjectDestroyedBeforeItsWindowDestroysTheWindow)
{
    HWND hWnd;
    {
        CWnd wnd;
        ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), "w", WS_POPUP, 0, 0, 10, 10, NULL, NULL));
        hWnd = wnd.m_hWnd;
    }
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), (CWnd*)NULL);
}

/////////////////////////////////////////////////////////////////////////////
// Handle map and subclassing

TEST(HandleMap, ForeignWindowsGetTemporaryObjects)
{
    HWND hWnd = ::CreateWindowExA(0, "STATIC", "plain", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    ASSERT_NE(hWnd, (HWND)NULL);
    CWnd* pTemp = CWnd::FromHandle(hWnd);
    ASSERT_NE(pTemp, (CWnd*)NULL);
    EXPECT_EQ(pTemp->m_hWnd, hWnd);
    EXPECT_EQ(CWnd::FromHandle(hWnd), pTemp);          // the same object until idle time
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), (CWnd*)NULL);
    EXPECT_EQ(CWnd::FromHandle(NULL), (CWnd*)NULL);
    EXPECT_EQ(pTemp->GetSafeHwnd(), hWnd);
    CWnd* pNull = NULL;
    EXPECT_EQ(pNull->GetSafeHwnd(), (HWND)NULL);       // allowed through a null pointer
    AfxDeleteTempMaps();
    ::DestroyWindow(hWnd);
}

namespace {

class CSubclassedCheck : public CButton
{
protected:
    afx_msg LRESULT OnPing(WPARAM, LPARAM) { return 1234; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSubclassedCheck, CButton)
    ON_MESSAGE(WM_APP + 50, OnPing)
END_MESSAGE_MAP()

}  // namespace

TEST(HandleMap, SubclassedControlsKeepTheirOwnBehaviour)
{
    HWND hWnd = ::CreateWindowExA(0, "BUTTON", "check", WS_POPUP | BS_AUTOCHECKBOX, 0, 0, 50, 20, NULL, NULL,
                                  NULL, NULL);
    ASSERT_NE(hWnd, (HWND)NULL);
    WNDPROC pfnOriginal = (WNDPROC)::GetWindowLongPtrA(hWnd, GWLP_WNDPROC);

    CSubclassedCheck check;
    ASSERT_TRUE(check.SubclassWindow(hWnd));
    EXPECT_FALSE(check.SubclassWindow(hWnd));              // one window per object
    CSubclassedCheck other;
    EXPECT_FALSE(other.SubclassWindow(hWnd));              // one object per window
    EXPECT_EQ(CWnd::FromHandle(hWnd), &check);
    EXPECT_EQ(::SendMessageA(hWnd, WM_APP + 50, 0, 0), 1234);   // our map
    check.SetCheck(BST_CHECKED);                                // the button's own procedure
    EXPECT_EQ(check.GetCheck(), BST_CHECKED);

    // Detaching gives the button its procedure back.
    EXPECT_EQ(check.UnsubclassWindow(), hWnd);
    EXPECT_EQ((WNDPROC)::GetWindowLongPtrA(hWnd, GWLP_WNDPROC), pfnOriginal);
    EXPECT_EQ(::SendMessageA(hWnd, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(::SendMessageA(hWnd, WM_APP + 50, 0, 0), 0);
    ::DestroyWindow(hWnd);
}

TEST(HandleMap, SubclassDlgItemFindsTheChildById)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "p", WS_POPUP, 0, 0, 50, 50, NULL, NULL));
    HWND hChild = ::CreateWindowExA(0, "BUTTON", "b", WS_CHILD, 0, 0, 10, 10, parent.m_hWnd, (HMENU)77, NULL, NULL);
    CButton button;
    EXPECT_FALSE(button.SubclassDlgItem(78, &parent));
    EXPECT_TRUE(button.SubclassDlgItem(77, &parent));
    EXPECT_EQ(button.m_hWnd, hChild);
    parent.DestroyWindow();
    EXPECT_EQ(button.m_hWnd, (HWND)NULL);   // let go with its window
}
