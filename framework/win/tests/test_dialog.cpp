// Dialogs from the resource library: modeless and modal runs, the modal loop
// with PreTranslateMessage, EndDialog, data exchange.
#include "test_support.h"

#include "fw_test_res.h"

#include <vector>

namespace {

const UINT WM_TEST_STEP = WM_APP + 10;

class DialogTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_NE(m_resources.Handle(), (HMODULE)NULL) << "fw_test_res.dll not found"; }
    void TearDown() override
    {
        PumpPendingMessages();
        AfxDeleteTempMaps();
    }
    TestResources m_resources;
};

class COwnerDrawButton : public CButton
{
public:
    int m_nDrawItem = 0;
    void DrawItem(LPDRAWITEMSTRUCT) override { m_nDrawItem++; }
};

// A modal dialog that runs one of several scripts from OnInitDialog.
class CScriptedDialog : public CDialog
{
public:
    enum Script { EndInInitDialog, KeyThenEnd, EscapeKey, EditAndOK, QuitDuringRun, DestroyDuringRun };

    CScriptedDialog(Script script, CWnd* pParent = NULL) : CDialog(IDD_TEST_MODAL, pParent), m_script(script) {}

    Script m_script;
    CString m_strText;
    int m_nCheck = 0;
    int m_nRadio = 0;
    std::vector<MSG> m_keysSeen;
    BOOL m_bAttachedAtNcCreate = FALSE;
    BOOL m_bAttachedAtCreate = FALSE;
    BOOL m_bOwnerDisabledDuringRun = FALSE;
    DWORD m_dwDefID = 0;
    CString m_strTextSeenAtStep;
    CString m_strCaption;
    HWND m_hEdit = NULL;
    COwnerDrawButton m_ownerDraw;

    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN)
            m_keysSeen.push_back(*pMsg);
        return CDialog::PreTranslateMessage(pMsg);
    }

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Control(pDX, IDC_TEST_OWNERDRAW, m_ownerDraw);
        DDX_Text(pDX, IDC_TEST_EDIT, m_strText);
        DDX_Check(pDX, IDC_TEST_CHECK, m_nCheck);
        DDX_Radio(pDX, IDC_TEST_RADIO1, m_nRadio);
    }

    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        GetWindowText(m_strCaption);
        HWND hEdit = m_hEdit = ::GetDlgItem(m_hWnd, IDC_TEST_EDIT);
        switch (m_script) {
        case EndInInitDialog:
            EndDialog(7);
            break;
        case KeyThenEnd:
            ::PostMessageA(hEdit, WM_KEYDOWN, VK_F5, 0);
            PostMessage(WM_TEST_STEP);
            break;
        case EscapeKey:
            ::PostMessageA(hEdit, WM_KEYDOWN, VK_ESCAPE, 0);
            break;
        case EditAndOK:
        case QuitDuringRun:
        case DestroyDuringRun:
            PostMessage(WM_TEST_STEP);
            break;
        }
        // No default focus: focus would activate the dialog, and on the test
        // display (no window manager) an active window is slow to go.
        return FALSE;
    }

    afx_msg BOOL OnNcCreate(LPCREATESTRUCT lpcs)
    {
        m_bAttachedAtNcCreate = CWnd::FromHandlePermanent(m_hWnd) == this;
        return CDialog::OnNcCreate(lpcs);
    }
    afx_msg int OnCreate(LPCREATESTRUCT lpcs)
    {
        m_bAttachedAtCreate = CWnd::FromHandlePermanent(m_hWnd) == this;
        return CDialog::OnCreate(lpcs);
    }

    afx_msg LRESULT OnStep(WPARAM, LPARAM)
    {
        HWND hOwner = ::GetWindow(m_hWnd, GW_OWNER);
        m_bOwnerDisabledDuringRun = hOwner != NULL && !::IsWindowEnabled(hOwner);
        switch (m_script) {
        case KeyThenEnd:
            EndDialog(42);
            break;
        case EditAndOK:
            m_dwDefID = GetDefID();
            GetDlgItemText(IDC_TEST_EDIT, m_strTextSeenAtStep);
            SetDlgItemText(IDC_TEST_EDIT, "改后的文字");
            CheckDlgButton(IDC_TEST_CHECK, BST_CHECKED);
            CheckRadioButton(IDC_TEST_RADIO1, IDC_TEST_RADIO3, IDC_TEST_RADIO3);
            DrawOwnerDrawButton();
            OnOK();
            break;
        case QuitDuringRun:
            ::PostQuitMessage(5);
            break;
        case DestroyDuringRun:
            DestroyWindow();   // not EndDialog
            break;
        default:
            break;
        }
        return 0;
    }

    // What the button sends when it paints. (The dialog stays hidden: on the
    // test display, which has no window manager, hiding a shown dialog waits
    // two seconds.)
    void DrawOwnerDrawButton()
    {
        CClientDC dc(this);
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_BUTTON;
        dis.CtlID = IDC_TEST_OWNERDRAW;
        dis.hwndItem = ::GetDlgItem(m_hWnd, IDC_TEST_OWNERDRAW);
        dis.hDC = dc.m_hDC;
        SendMessage(WM_DRAWITEM, IDC_TEST_OWNERDRAW, (LPARAM)&dis);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CScriptedDialog, CDialog)
    ON_WM_NCCREATE()
    ON_WM_CREATE()
    ON_MESSAGE(WM_TEST_STEP, OnStep)
END_MESSAGE_MAP()

}  // namespace

TEST_F(DialogTest, ModalRunEndsWithEndDialogsCode)
{
    CScriptedDialog dlg(CScriptedDialog::KeyThenEnd);
    EXPECT_EQ(dlg.DoModal(), 42);
    EXPECT_EQ(dlg.m_hWnd, (HWND)NULL);   // the window is gone after the run
    // The template's window belonged to the object from its first messages.
    EXPECT_TRUE(dlg.m_bAttachedAtNcCreate);
    EXPECT_TRUE(dlg.m_bAttachedAtCreate);
    // The caption of the template, in code page 936.
    EXPECT_STREQ((LPCSTR)dlg.m_strCaption, "模态对话框");
}

TEST_F(DialogTest, PreTranslateMessageSeesKeysDuringDoModal)
{
    CScriptedDialog dlg(CScriptedDialog::KeyThenEnd);
    EXPECT_EQ(dlg.DoModal(), 42);
    bool bSeen = false;
    for (const MSG& msg : dlg.m_keysSeen)
        bSeen |= msg.wParam == VK_F5 && msg.hwnd == dlg.m_hEdit;
    EXPECT_TRUE(bSeen) << dlg.m_keysSeen.size() << " key messages seen";
}

TEST_F(DialogTest, EscapeInAControlCancelsThroughTheDialogKeys)
{
    CScriptedDialog dlg(CScriptedDialog::EscapeKey);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

TEST_F(DialogTest, EndDialogDuringOnInitDialogEndsBeforeTheLoop)
{
    CScriptedDialog dlg(CScriptedDialog::EndInInitDialog);
    EXPECT_EQ(dlg.DoModal(), 7);
}

TEST_F(DialogTest, DataExchangeFillsTheControlsAndReadsThemBackOnOK)
{
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), "owner", WS_POPUP, 0, 0, 300, 200, NULL, NULL));
    owner.ShowWindow(SW_SHOWNOACTIVATE);
    CScriptedDialog dlg(CScriptedDialog::EditAndOK, &owner);
    dlg.m_strText = "初始文字";
    dlg.m_nRadio = 1;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_STREQ((LPCSTR)dlg.m_strTextSeenAtStep, "初始文字");
    EXPECT_STREQ((LPCSTR)dlg.m_strText, "改后的文字");
    EXPECT_EQ(dlg.m_nCheck, 1);
    EXPECT_EQ(dlg.m_nRadio, 2);
    EXPECT_EQ(dlg.m_dwDefID, (DWORD)MAKELONG(IDOK, DC_HASDEFID));
    // The owner is disabled while the dialog runs, and enabled again after.
    EXPECT_TRUE(dlg.m_bOwnerDisabledDuringRun);
    EXPECT_TRUE(owner.IsWindowEnabled());
    // The template's owner-drawn button, subclassed by DDX_Control, draws
    // through the reflected WM_DRAWITEM.
    EXPECT_GT(dlg.m_ownerDraw.m_nDrawItem, 0);
    EXPECT_EQ(dlg.m_ownerDraw.m_hWnd, (HWND)NULL);
    owner.DestroyWindow();
}

TEST_F(DialogTest, AQuitDuringTheRunEndsItAndIsLeftForTheOuterLoop)
{
    CScriptedDialog dlg(CScriptedDialog::QuitDuringRun);
    EXPECT_EQ(dlg.DoModal(), -1);
    MSG msg;
    ASSERT_TRUE(::PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 5u);
}

TEST_F(DialogTest, AModalDialogDestroyedWithoutEndDialogEndsItsRun)
{
    CScriptedDialog dlg(CScriptedDialog::DestroyDuringRun);
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_EQ(dlg.m_hWnd, (HWND)NULL);
}

TEST_F(DialogTest, AMissingTemplateFailsCleanly)
{
    CDialog modal(9999);
    EXPECT_EQ(modal.DoModal(), -1);
    CDialog modeless;
    EXPECT_FALSE(modeless.Create(9999));
    EXPECT_EQ(modeless.m_hWnd, (HWND)NULL);
}

namespace {

class CRefusingDialog : public CDialog
{
public:
    CRefusingDialog() : CDialog(IDD_TEST_MODAL) {}
protected:
    afx_msg int OnCreate(LPCREATESTRUCT) { return -1; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRefusingDialog, CDialog)
    ON_WM_CREATE()
END_MESSAGE_MAP()

}  // namespace

TEST_F(DialogTest, ADialogWhoseCreationFailsReturnsMinusOne)
{
    CRefusingDialog dlg;
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_EQ(dlg.m_hWnd, (HWND)NULL);
}

namespace {

class CTestModeless : public CDialog
{
public:
    int m_nClicks = 0;
    BOOL m_bInitDialog = FALSE;
    std::vector<MSG> m_keysSeen;

    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN)
            m_keysSeen.push_back(*pMsg);
        return CDialog::PreTranslateMessage(pMsg);
    }

protected:
    BOOL OnInitDialog() override
    {
        m_bInitDialog = TRUE;
        CDialog::OnInitDialog();
        return FALSE;   // no default focus (see CScriptedDialog)
    }
    afx_msg void OnButton() { m_nClicks++; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestModeless, CDialog)
    ON_BN_CLICKED(IDC_TEST_BUTTON, OnButton)
END_MESSAGE_MAP()

}  // namespace

TEST_F(DialogTest, ModelessDialogFromTheResourceLibraryRuns)
{
    CTestModeless dlg;
    ASSERT_TRUE(dlg.Create(IDD_TEST_MODELESS));
    EXPECT_TRUE(dlg.m_bInitDialog);
    char szClass[32] = "";
    ::GetClassNameA(dlg.m_hWnd, szClass, sizeof(szClass));
    EXPECT_STREQ(szClass, "#32770");

    CString strCaption;
    CString strLabel;
    dlg.GetWindowText(strCaption);
    dlg.GetDlgItemText(IDC_TEST_LABEL, strLabel);
    EXPECT_STREQ((LPCSTR)strCaption, "非模态对话框");
    EXPECT_STREQ((LPCSTR)strLabel, "说明");

    dlg.SendDlgItemMessage(IDC_TEST_BUTTON, BM_CLICK);
    EXPECT_EQ(dlg.m_nClicks, 1);

    // A key for the dialog's button is pre-translated by the dialog, found
    // by walking up from the button.
    HWND hButton = ::GetDlgItem(dlg.m_hWnd, IDC_TEST_BUTTON);
    ::PostMessageA(hButton, WM_KEYDOWN, VK_F6, 0);
    MSG msg;
    while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        if (!CWnd::WalkPreTranslateTree(NULL, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    ASSERT_EQ(dlg.m_keysSeen.size(), 1u);
    EXPECT_EQ(dlg.m_keysSeen[0].hwnd, hButton);

    EXPECT_TRUE(dlg.DestroyWindow());
    EXPECT_EQ(dlg.m_hWnd, (HWND)NULL);
}
