// CDialog: modeless and modal dialogs from templates; data exchange.
#include "winstate.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
    ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
    ON_MESSAGE(WM_SETFONT, HandleSetFont)
END_MESSAGE_MAP()

// The dialog procedure the system calls from its dialog window procedure.
// The framework's window procedure sees every message first; this one only
// runs OnInitDialog, whose result decides the default focus.
INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM)
{
    if (message != WM_INITDIALOG)
        return FALSE;
    CDialog* pDlg = DYNAMIC_DOWNCAST(CDialog, CWnd::FromHandlePermanent(hWnd));
    if (pDlg == NULL)
        return TRUE;
    try {
        return pDlg->OnInitDialog();
    } catch (CException* e) {
        AfxTraceCaughtException("OnInitDialog", e);
        e->Delete();
    } catch (...) {
        AfxTraceCaughtException("OnInitDialog", NULL);
    }
    return TRUE;
}

CDialog::CDialog()
    : m_pParentWnd(NULL), m_lpszTemplateName(NULL), m_hDialogTemplate(NULL), m_lpDialogTemplate(NULL),
      m_nIDHelp(0), m_lpszTemplateNameCopy(NULL)
{
}

CDialog::CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd) : CDialog()
{
    InitDialogState(lpszTemplateName, pParentWnd);
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : CDialog()
{
    InitDialogState(MAKEINTRESOURCE(nIDTemplate), pParentWnd);
    m_nIDHelp = nIDTemplate;
}

CDialog::~CDialog()
{
    delete[] m_lpszTemplateNameCopy;
}

void CDialog::InitDialogState(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
{
    m_pParentWnd = pParentWnd;
    delete[] m_lpszTemplateNameCopy;
    m_lpszTemplateNameCopy = NULL;
    if (IS_INTRESOURCE(lpszTemplateName)) {
        m_lpszTemplateName = lpszTemplateName;
    } else {
        // A name the caller may free: keep a copy.
        size_t nLen = strlen(lpszTemplateName) + 1;
        m_lpszTemplateNameCopy = new char[nLen];
        memcpy(m_lpszTemplateNameCopy, lpszTemplateName, nLen);
        m_lpszTemplateName = m_lpszTemplateNameCopy;
    }
}

/////////////////////////////////////////////////////////////////////////////
// Creation

BOOL CDialog::Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
{
    if (lpszTemplateName == NULL)
        return FALSE;
    InitDialogState(lpszTemplateName, pParentWnd);
    if (IS_INTRESOURCE(lpszTemplateName) && m_nIDHelp == 0)
        m_nIDHelp = (UINT)(UINT_PTR)lpszTemplateName;

    HINSTANCE hInst = AfxFindResourceHandle(m_lpszTemplateName, RT_DIALOG);
    HRSRC hResource = ::FindResourceA(hInst, m_lpszTemplateName, RT_DIALOG);
    if (hResource == NULL)
        return FALSE;
    HGLOBAL hTemplate = ::LoadResource(hInst, hResource);
    LPCDLGTEMPLATE lpTemplate = hTemplate != NULL ? static_cast<LPCDLGTEMPLATE>(::LockResource(hTemplate)) : NULL;
    if (lpTemplate == NULL)
        return FALSE;
    return CreateIndirect(lpTemplate, pParentWnd, hInst);
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, HINSTANCE hInst)
{
    if (lpDialogTemplate == NULL)
        return FALSE;
    if (m_pParentWnd == NULL)
        m_pParentWnd = pParentWnd;
    if (hInst == NULL)
        hInst = AfxGetResourceHandle();
    return CreateDlgIndirect(lpDialogTemplate, pParentWnd, hInst);
}

BOOL CDialog::CreateIndirect(HGLOBAL hDialogTemplate, CWnd* pParentWnd, HINSTANCE hInst)
{
    if (hDialogTemplate == NULL)
        return FALSE;
    LPCDLGTEMPLATE lpTemplate = static_cast<LPCDLGTEMPLATE>(::GlobalLock(hDialogTemplate));
    if (lpTemplate == NULL)
        return FALSE;
    BOOL bResult;
    try {
        bResult = CreateIndirect(lpTemplate, pParentWnd, hInst);
    } catch (...) {
        ::GlobalUnlock(hDialogTemplate);
        throw;
    }
    ::GlobalUnlock(hDialogTemplate);
    return bResult;
}

BOOL CDialog::CreateDlgIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, HINSTANCE hInst)
{
    if (m_hWnd != NULL)
        return FALSE;
    AfxInitCommonControls();   // templates may hold common controls
    m_nFlags |= WF_CREATING;
    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateDialogIndirectParamA(hInst, lpDialogTemplate, pParentWnd->GetSafeHwnd(), AfxDlgProc, 0);
    m_nFlags &= ~WF_CREATING;
    AfxUnhookWindowCreate(this);   // rethrows what the hook caught
    if (hWnd == NULL) {
        if (m_hWnd != NULL)
            Detach();
        return FALSE;
    }
    if (m_hWnd == NULL)
        SubclassWindow(hWnd);
    return TRUE;
}

/////////////////////////////////////////////////////////////////////////////
// Modal run

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd)
{
    if (lpDialogTemplate == NULL)
        return FALSE;
    m_lpDialogTemplate = lpDialogTemplate;
    m_hDialogTemplate = NULL;
    m_lpszTemplateName = NULL;
    m_pParentWnd = pParentWnd;
    return TRUE;
}

BOOL CDialog::InitModalIndirect(HGLOBAL hDialogTemplate, CWnd* pParentWnd)
{
    if (hDialogTemplate == NULL)
        return FALSE;
    m_hDialogTemplate = hDialogTemplate;
    m_lpDialogTemplate = NULL;
    m_lpszTemplateName = NULL;
    m_pParentWnd = pParentWnd;
    return TRUE;
}

HWND CDialog::PreModal()
{
    CWnd* pOwner = CWnd::GetSafeOwner(m_pParentWnd);
    return pOwner->GetSafeHwnd();
}

void CDialog::PostModal()
{
}

namespace {

// WM_DISABLEMODAL to the framework windows owned by the dialog's owner
// (tooltips among them), so they stop showing while the dialog runs.
BOOL CALLBACK SendDisableModalToOwned(HWND hWnd, LPARAM lParam)
{
    HWND hWndOwner = reinterpret_cast<HWND>(lParam);
    for (HWND h = ::GetWindow(hWnd, GW_OWNER); h != NULL; h = ::GetWindow(h, GW_OWNER)) {
        if (h == hWndOwner) {
            if (CWnd* pWnd = CWnd::FromHandlePermanent(hWnd))
                AfxCallWndProc(pWnd, hWnd, WM_DISABLEMODAL, 0, 0);
            break;
        }
    }
    return TRUE;
}

// Re-enables the owner and hands activation back however DoModal ends.
class CModalOwnerGuard
{
public:
    CModalOwnerGuard(HWND hWndOwner) : m_hWndOwner(hWndOwner), m_bEnable(FALSE)
    {
        if (m_hWndOwner != NULL && m_hWndOwner != ::GetDesktopWindow() && ::IsWindowEnabled(m_hWndOwner)) {
            CWnd::SendMessageToDescendants(m_hWndOwner, WM_DISABLEMODAL, 0, 0, TRUE, TRUE);
            ::EnumThreadWindows(::GetCurrentThreadId(), SendDisableModalToOwned, reinterpret_cast<LPARAM>(m_hWndOwner));
            ::EnableWindow(m_hWndOwner, FALSE);
            m_bEnable = TRUE;
        }
    }
    void Release(HWND hWndDialog)
    {
        if (m_bEnable) {
            ::EnableWindow(m_hWndOwner, TRUE);
            m_bEnable = FALSE;
        }
        if (m_hWndOwner != NULL && hWndDialog != NULL && ::GetActiveWindow() == hWndDialog)
            ::SetActiveWindow(m_hWndOwner);
    }
    ~CModalOwnerGuard() { Release(NULL); }

private:
    HWND m_hWndOwner;
    BOOL m_bEnable;
};

}  // namespace

INT_PTR CDialog::DoModal()
{
    // The template: a resource, a global block or a pointer.
    LPCDLGTEMPLATE lpTemplate = m_lpDialogTemplate;
    HINSTANCE hInst = AfxGetResourceHandle();
    BOOL bUnlockGlobal = FALSE;
    if (m_lpszTemplateName != NULL) {
        hInst = AfxFindResourceHandle(m_lpszTemplateName, RT_DIALOG);
        HRSRC hResource = ::FindResourceA(hInst, m_lpszTemplateName, RT_DIALOG);
        HGLOBAL hRes = hResource != NULL ? ::LoadResource(hInst, hResource) : NULL;
        lpTemplate = hRes != NULL ? static_cast<LPCDLGTEMPLATE>(::LockResource(hRes)) : NULL;
    } else if (m_hDialogTemplate != NULL) {
        lpTemplate = static_cast<LPCDLGTEMPLATE>(::GlobalLock(m_hDialogTemplate));
        bUnlockGlobal = lpTemplate != NULL;
    }
    if (lpTemplate == NULL)
        return -1;

    HWND hWndOwner = PreModal();
    CModalOwnerGuard ownerGuard(hWndOwner);
    m_nModalResult = -1;
    m_nFlags |= WF_CONTINUEMODAL;
    try {
        if (CreateDlgIndirect(lpTemplate, CWnd::FromHandle(hWndOwner), hInst)) {
            // EndDialog in OnInitDialog ends the run before the loop.
            if (m_nFlags & WF_CONTINUEMODAL)
                RunModalLoop(MLF_SHOWONIDLE);
            if (m_hWnd != NULL)
                ::SetWindowPos(m_hWnd, NULL, 0, 0, 0, 0,
                               SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
        }
    } catch (...) {
        m_nFlags &= ~WF_CONTINUEMODAL;
        if (bUnlockGlobal)
            ::GlobalUnlock(m_hDialogTemplate);
        DestroyWindow();
        throw;
    }
    m_nFlags &= ~WF_CONTINUEMODAL;
    ownerGuard.Release(m_hWnd);
    INT_PTR nResult = m_nModalResult;
    if (bUnlockGlobal)
        ::GlobalUnlock(m_hDialogTemplate);
    DestroyWindow();
    PostModal();
    return nResult;
}

void CDialog::EndDialog(int nResult)
{
    if (m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL))
        EndModalLoop(nResult);
    else
        m_nModalResult = nResult;
    if (m_hWnd != NULL)
        ::EndDialog(m_hWnd, nResult);
}

/////////////////////////////////////////////////////////////////////////////
// Behaviour

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM)
{
    PreInitDialog();
    return Default();   // the system's dialog procedure calls OnInitDialog
}

LRESULT CDialog::HandleSetFont(WPARAM wParam, LPARAM)
{
    OnSetFont(CFont::FromHandle(reinterpret_cast<HFONT>(wParam)));
    return Default();
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnSetFont(CFont*)
{
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl)
{
    if (pWndCtrl != NULL && pWndCtrl->m_hWnd != NULL)
        ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, (WPARAM)pWndCtrl->m_hWnd, 1L);
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE;
    // Keyboard navigation (Tab, arrows, Enter, Esc) of modal and modeless dialogs.
    return PreTranslateInput(pMsg);
}

/////////////////////////////////////////////////////////////////////////////
// Data exchange

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd), m_hWndLastControl(NULL), m_bEditLastControl(FALSE)
{
}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    HWND hWndCtrl = NULL;
    m_pDlgWnd->GetDlgItem(nIDC, &hWndCtrl);
    if (hWndCtrl == NULL) {
        AfxTrace("DDX: no control with id %d in the dialog\n", nIDC);
        AfxThrowNotSupportedException();
    }
    m_hWndLastControl = hWndCtrl;
    m_bEditLastControl = FALSE;
    return hWndCtrl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC)
{
    HWND hWndCtrl = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return hWndCtrl;
}

void CDataExchange::Fail()
{
    if (m_bSaveAndValidate && m_hWndLastControl != NULL) {
        ::SetFocus(m_hWndLastControl);
        if (m_bEditLastControl)
            ::SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
    AfxThrowUserException();
}

void AFXAPI AfxSetWindowText(HWND hWndCtrl, LPCTSTR lpszNew)
{
    if (lpszNew == NULL)
        lpszNew = "";
    int nNewLen = lstrlenA(lpszNew);
    char szOld[256];
    // Compare when the current text is short enough to read here.
    if (nNewLen < (int)sizeof(szOld) && ::GetWindowTextA(hWndCtrl, szOld, sizeof(szOld)) == nNewLen &&
        lstrcmpA(szOld, lpszNew) == 0)
        return;
    ::SetWindowTextA(hWndCtrl, lpszNew);
}

void AFXAPI DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd != NULL)
        return;
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (!rControl.SubclassWindow(hWndCtrl))
        AfxThrowNotSupportedException();
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        int nLen = ::GetWindowTextLengthA(hWndCtrl);
        ::GetWindowTextA(hWndCtrl, value.GetBufferSetLength(nLen), nLen + 1);
        value.ReleaseBuffer();
    } else {
        AfxSetWindowText(hWndCtrl, value);
    }
}

void AFXAPI DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = (int)::SendMessageA(hWndCtrl, BM_GETCHECK, 0, 0);
    } else {
        // Only the three button states exist; anything else unchecks.
        int nCheck = (value >= 0 && value <= 2) ? value : 0;
        ::SendMessageA(hWndCtrl, BM_SETCHECK, (WPARAM)nCheck, 0);
    }
}

void AFXAPI DDX_Radio(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = -1;
    // The group: from the first button up to the next control with WS_GROUP.
    int iButton = 0;
    do {
        if (::SendMessageA(hWndCtrl, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) {
            if (pDX->m_bSaveAndValidate) {
                if (::SendMessageA(hWndCtrl, BM_GETCHECK, 0, 0) != 0 && value == -1)
                    value = iButton;
            } else {
                ::SendMessageA(hWndCtrl, BM_SETCHECK, (iButton == value) ? BST_CHECKED : BST_UNCHECKED, 0);
            }
            iButton++;
        }
        hWndCtrl = ::GetWindow(hWndCtrl, GW_HWNDNEXT);
    } while (hWndCtrl != NULL && !(::GetWindowLongPtrA(hWndCtrl, GWL_STYLE) & WS_GROUP));
}
