// CWnd: handle map, creation hook, window procedure, subclassing, creation
// and destruction, modal loop.
#include "winstate.h"

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndBottom(HWND_BOTTOM);
const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

// Access to CWnd internals for the framework's own callbacks.
struct AfxWindowInternals
{
    // The creation hook's part: attach and subclass a new window. FALSE (the
    // window is refused) when the object cannot take it or
    // PreSubclassWindow throws; the exception is kept for the creator.
    static BOOL AttachNewWindow(CWnd* pWnd, HWND hWnd)
    {
        try {
            if (!pWnd->Attach(hWnd))
                return FALSE;
            pWnd->PreSubclassWindow();
        } catch (...) {
            AfxGetThreadState()->m_hookException = std::current_exception();
            if (pWnd->m_hWnd == hWnd)
                pWnd->Detach();
            return FALSE;
        }
        Subclass(pWnd, hWnd);
        return TRUE;
    }

    static void Subclass(CWnd* pWnd, HWND hWnd)
    {
        WNDPROC pfnOld = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxWndProc)));
        if (pfnOld != AfxWndProc)
            pWnd->m_pfnSuper = pfnOld;
    }

    // The framework's part of WM_NCDESTROY: the thread forgets the window,
    // the object lets it go and, unless its creation failed, PostNcDestroy
    // runs (self-deleting objects delete themselves there).
    static void FinishNcDestroy(CWnd* pWnd)
    {
        CWinThread* pThread = AfxGetThread();
        if (pThread != NULL) {
            if (pThread->m_pMainWnd == pWnd) {
                pThread->m_pMainWnd = NULL;
                AfxPostQuitMessage(0);
            }
            if (pThread->m_pActiveWnd == pWnd)
                pThread->m_pActiveWnd = NULL;
        }
        AFX_THREAD_STATE* pState = AfxGetThreadState();
        if (pState->m_hWndLastHit == pWnd->m_hWnd) {
            pState->m_hWndLastHit = NULL;
            pState->m_nLastHit = -1;
        }
        BOOL bCreating = (pWnd->m_nFlags & WF_CREATING) != 0;
        pWnd->ReleaseControlSite();
        pWnd->Detach();
        if (!bCreating)
            pWnd->PostNcDestroy();
    }

    static LRESULT ProcessException(CException* e, const MSG* pMsg)
    {
        CWinThread* pThread = AfxGetThread();
        try {
            if (pThread != NULL)
                return pThread->ProcessWndProcException(e, pMsg);
        } catch (...) {
            // a second failure while reporting the first: fall through
        }
        AfxTraceCaughtException("AfxWndProc", e);
        if (pMsg->message == WM_CREATE)
            return -1;
        if (pMsg->message == WM_PAINT)
            ::ValidateRect(pMsg->hwnd, NULL);
        return 0;
    }

    // Modal dialogs that WM_INITDIALOG left hidden and in place are centred
    // over their (disabled) owner.
    static void PostInitDialog(CWnd* pWnd, const RECT& rectOld, DWORD dwStyleOld)
    {
        if (dwStyleOld & WS_VISIBLE)
            return;
        if (pWnd->GetStyle() & (WS_VISIBLE | WS_CHILD))
            return;
        CRect rect;
        pWnd->GetWindowRect(&rect);
        if (rectOld.left != rect.left || rectOld.top != rect.top)
            return;
        HWND hWndOwner = ::GetWindow(pWnd->m_hWnd, GW_OWNER);
        if (hWndOwner != NULL && ::IsWindowEnabled(hWndOwner))
            return;
        CDialog* pDlg = DYNAMIC_DOWNCAST(CDialog, pWnd);
        if (pDlg != NULL && !pDlg->CheckAutoCenter())
            return;
        pWnd->CenterWindow();
    }
};

/////////////////////////////////////////////////////////////////////////////
// Window procedure

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    if (nMsg == WM_QUERYAFXWNDPROC)
        return 1;
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd == NULL)
        return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
    return AfxCallWndProc(pWnd, hWnd, nMsg, wParam, lParam);
}

LRESULT AFXAPI AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    MSG oldState = pState->m_lastSentMsg;
    pState->m_lastSentMsg.hwnd = hWnd;
    pState->m_lastSentMsg.message = nMsg;
    pState->m_lastSentMsg.wParam = wParam;
    pState->m_lastSentMsg.lParam = lParam;

    RECT rectOld = {0, 0, 0, 0};
    DWORD dwStyleOld = 0;
    if (nMsg == WM_INITDIALOG) {
        ::GetWindowRect(hWnd, &rectOld);
        dwStyleOld = (DWORD)::GetWindowLongPtrA(hWnd, GWL_STYLE);
    }

    LRESULT lResult = 0;
    // No exception may leave a window procedure.
    try {
        lResult = pWnd->WindowProc(nMsg, wParam, lParam);
        if (nMsg == WM_INITDIALOG && CWnd::FromHandlePermanent(hWnd) == pWnd)
            AfxWindowInternals::PostInitDialog(pWnd, rectOld, dwStyleOld);
    } catch (CException* e) {
        lResult = AfxWindowInternals::ProcessException(e, &pState->m_lastSentMsg);
        e->Delete();
    } catch (...) {
        lResult = AfxWindowInternals::ProcessException(NULL, &pState->m_lastSentMsg);
    }

    if (nMsg == WM_NCDESTROY) {
        // The object's own OnNcDestroy did not let the window go.
        CWnd* pStill = CWnd::FromHandlePermanent(hWnd);
        if (pStill != NULL) {
            try {
                AfxWindowInternals::FinishNcDestroy(pStill);
            } catch (...) {
                AfxTraceCaughtException("PostNcDestroy", NULL);
            }
        }
    }
    pState->m_lastSentMsg = oldState;
    return lResult;
}

/////////////////////////////////////////////////////////////////////////////
// Creation hook

namespace {

bool IsImeWindow(HWND hWnd)
{
    char szClass[32];
    if (::GetClassNameA(hWnd, szClass, sizeof(szClass)) == 0)
        return false;
    return lstrcmpiA(szClass, "IME") == 0 || lstrcmpiA(szClass, "MSCTFIME UI") == 0;
}

LRESULT CALLBACK AfxCbtFilterHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (nCode == HCBT_CREATEWND && pState->m_pWndInit != NULL) {
        HWND hWnd = reinterpret_cast<HWND>(wParam);
        if (!IsImeWindow(hWnd)) {
            CWnd* pWndInit = pState->m_pWndInit;
            pState->m_pWndInit = NULL;
            if (!AfxWindowInternals::AttachNewWindow(pWndInit, hWnd))
                return 1;   // the window is not created
        }
    }
    return ::CallNextHookEx(pState->m_hHookCbtFilter, nCode, wParam, lParam);
}

}  // namespace

void AFXAPI AfxHookWindowCreate(CWnd* pWnd)
{
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pState->m_hHookCbtFilter == NULL) {
        // One hook per thread, kept while the thread lives.
        pState->m_hHookCbtFilter = ::SetWindowsHookExA(WH_CBT, AfxCbtFilterHook, NULL, ::GetCurrentThreadId());
        if (pState->m_hHookCbtFilter == NULL)
            AfxThrowResourceException();
    }
    pState->m_pWndInit = pWnd;
}

void AFXAPI AfxUnhookWindowCreate(CWnd* pWnd)
{
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pState->m_pWndInit == pWnd)
        pState->m_pWndInit = NULL;
    if (pState->m_hookException) {
        std::exception_ptr e = pState->m_hookException;
        pState->m_hookException = nullptr;
        std::rethrow_exception(e);
    }
}

/////////////////////////////////////////////////////////////////////////////
// Construction, handle map

CWnd::CWnd() : m_hWnd(NULL), m_pfnSuper(NULL), m_nFlags(0), m_hWndOwner(NULL), m_nModalResult(0),
    m_pCtrlSite(NULL)
{
}

CWnd::CWnd(HWND hWnd) : m_hWnd(hWnd), m_pfnSuper(NULL), m_nFlags(0), m_hWndOwner(NULL), m_nModalResult(0),
    m_pCtrlSite(NULL)
{
}

CWnd::~CWnd()
{
    if (m_hWnd != NULL && FromHandlePermanent(m_hWnd) == this) {
        // The object goes before its window: the window goes now. Its last
        // messages reach this object as a plain CWnd.
        ::DestroyWindow(m_hWnd);
        if (m_hWnd != NULL)
            Detach();
    }
    ReleaseControlSite();
}

CWnd* PASCAL CWnd::FromHandle(HWND hWnd)
{
    return AfxGetThreadState()->m_mapHWND.FromHandle(hWnd);
}

CWnd* PASCAL CWnd::FromHandlePermanent(HWND hWnd)
{
    if (hWnd == NULL)
        return NULL;
    return AfxGetThreadState()->m_mapHWND.LookupPermanent(hWnd);
}

BOOL CWnd::Attach(HWND hWndNew)
{
    if (hWndNew == NULL || m_hWnd != NULL)
        return FALSE;
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pState->m_mapHWND.LookupPermanent(hWndNew) != NULL)
        return FALSE;
    pState->m_mapHWND.SetPermanent(hWndNew, this);
    m_hWnd = hWndNew;
    return TRUE;
}

// Also gives a subclassed window its own procedure back, so a detached
// control keeps working.
HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (hWnd != NULL) {
        AfxGetThreadState()->m_mapHWND.RemovePermanent(hWnd, this);
        if (m_pfnSuper != NULL &&
            reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hWnd, GWLP_WNDPROC)) == AfxWndProc)
            ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    }
    m_pfnSuper = NULL;
    m_hWnd = NULL;
    return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!::IsWindow(hWnd) || !Attach(hWnd))
        return FALSE;
    try {
        PreSubclassWindow();
    } catch (...) {
        Detach();
        throw;
    }
    AfxWindowInternals::Subclass(this, hWnd);
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    HWND hWndControl = ::GetDlgItem(pParent->GetSafeHwnd(), (int)nID);
    if (hWndControl == NULL)
        return FALSE;
    return SubclassWindow(hWndControl);
}

HWND CWnd::UnsubclassWindow()
{
    return Detach();
}

void CWnd::PreSubclassWindow()
{
}

/////////////////////////////////////////////////////////////////////////////
// Creation and destruction

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (cs.lpszClass == NULL) {
        if (!AfxEnsureDefaultClass(g_afxWndClass))
            return FALSE;
        cs.lpszClass = g_afxWndClass;
    }
    return TRUE;
}

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, CCreateContext* pContext)
{
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, pParentWnd->GetSafeHwnd(),
                    reinterpret_cast<HMENU>((UINT_PTR)nID), pContext);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam)
{
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, pParentWnd->GetSafeHwnd(),
                    reinterpret_cast<HMENU>((UINT_PTR)nID), lpParam);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam)
{
    if (m_hWnd != NULL)
        return FALSE;   // the object has a window already

    CREATESTRUCTA cs;
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = (LONG)dwStyle;
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = lpParam;
    if (!PreCreateWindow(cs))
        return FALSE;

    m_nFlags |= WF_CREATING;
    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, (DWORD)cs.style, cs.x, cs.y, cs.cx,
                                  cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    m_nFlags &= ~WF_CREATING;
    AfxUnhookWindowCreate(this);   // rethrows what the hook caught

    if (hWnd == NULL) {
        if (m_hWnd != NULL)
            Detach();
        return FALSE;
    }
    if (m_hWnd == NULL) {
        // The hook did not see the window (created on another path): take it now.
        AfxTrace("CWnd::CreateEx: window %p attached after creation\n", (void*)hWnd);
        SubclassWindow(hWnd);
    }
    return TRUE;
}

BOOL CWnd::DestroyWindow()
{
    if (m_hWnd == NULL)
        return FALSE;
    HWND hWnd = m_hWnd;
    BOOL bPermanent = FromHandlePermanent(hWnd) == this;
    BOOL bResult = ::DestroyWindow(hWnd);
    // A permanent object has let its window go in WM_NCDESTROY (and may have
    // been deleted since); a temporary one forgets the handle.
    if (!bPermanent)
        m_hWnd = NULL;
    return bResult;
}

void CWnd::PostNcDestroy()
{
}

void CWnd::CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType)
{
    DWORD dwExStyle = GetExStyle();
    if (nAdjustType == 0)
        dwExStyle &= ~WS_EX_CLIENTEDGE;
    ::AdjustWindowRectEx(lpClientRect, GetStyle(), FALSE, dwExStyle);
}

LRESULT CWnd::DefWindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper != NULL)
        return ::CallWindowProcA(m_pfnSuper, m_hWnd, nMsg, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, nMsg, wParam, lParam);
}

LRESULT CWnd::Default()
{
    const MSG& msg = AfxGetThreadState()->m_lastSentMsg;
    return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

void CWnd::OnNcDestroy()
{
    Default();
    AfxWindowInternals::FinishNcDestroy(this);
}

/////////////////////////////////////////////////////////////////////////////
// Modal loop

int CWnd::RunModalLoop(DWORD dwFlags)
{
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    MSG* pMsg = &pState->m_msgCur;
    BOOL bIdle = TRUE;
    LONG lIdleCount = 0;
    BOOL bShowIdle = (dwFlags & MLF_SHOWONIDLE) && !(GetStyle() & WS_VISIBLE);
    HWND hWndParent = ::GetParent(m_hWnd);
    HWND hWndSelf = m_hWnd;
    m_nFlags |= (WF_MODALLOOP | WF_CONTINUEMODAL);

    for (;;) {
        // Idle work while the queue is empty.
        while (bIdle && !::PeekMessageA(pMsg, NULL, 0, 0, PM_NOREMOVE)) {
            if (bShowIdle) {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                bShowIdle = FALSE;
            }
            if (!(dwFlags & MLF_NOIDLEMSG) && hWndParent != NULL && lIdleCount == 0)
                ::SendMessageA(hWndParent, WM_ENTERIDLE, MSGF_DIALOGBOX, (LPARAM)hWndSelf);
            if ((dwFlags & MLF_NOKICKIDLE) || !::SendMessageA(hWndSelf, WM_KICKIDLE, MSGF_DIALOGBOX, lIdleCount++))
                bIdle = FALSE;
        }
        // Messages while there are any.
        do {
            if (!ContinueModal())
                goto ExitModal;
            if (!AfxInternalPumpMessage()) {
                // WM_QUIT: end the loop and leave the quit for the outer loop.
                AfxPostQuitMessage((int)pMsg->wParam);
                m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
                return -1;
            }
            if (bShowIdle && (pMsg->message == 0x118 /* WM_SYSTIMER: caret */ || pMsg->message == WM_SYSKEYDOWN)) {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                bShowIdle = FALSE;
            }
            if (!ContinueModal())
                goto ExitModal;
            if (AfxInternalIsIdleMessage(pMsg)) {
                bIdle = TRUE;
                lIdleCount = 0;
            }
        } while (::PeekMessageA(pMsg, NULL, 0, 0, PM_NOREMOVE));
    }

ExitModal:
    m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
    return m_nModalResult;
}

// The loop also ends when the window is gone (destroyed by other means).
BOOL CWnd::ContinueModal()
{
    return (m_nFlags & WF_CONTINUEMODAL) && m_hWnd != NULL && ::IsWindow(m_hWnd);
}

void CWnd::EndModalLoop(int nResult)
{
    m_nModalResult = nResult;
    if (m_nFlags & WF_CONTINUEMODAL) {
        m_nFlags &= ~WF_CONTINUEMODAL;
        ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
    }
}

/////////////////////////////////////////////////////////////////////////////
// Pre-translation

BOOL PASCAL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg)
{
    for (HWND hWnd = pMsg->hwnd; hWnd != NULL; hWnd = ::GetParent(hWnd)) {
        CWnd* pWnd = FromHandlePermanent(hWnd);
        if (pWnd != NULL && pWnd->PreTranslateMessage(pMsg))
            return TRUE;
        if (hWnd == hWndStop)
            break;
    }
    return FALSE;
}

BOOL CWnd::PreTranslateMessage(MSG* pMsg)
{
    if (m_nFlags & WF_TOOLTIPS)
        FilterToolTipMessage(pMsg);
    return FALSE;
}

BOOL CWnd::PreTranslateInput(LPMSG lpMsg)
{
    if ((lpMsg->message < WM_KEYFIRST || lpMsg->message > WM_KEYLAST) &&
        (lpMsg->message < WM_MOUSEFIRST || lpMsg->message > WM_MOUSELAST))
        return FALSE;
    return IsDialogMessage(lpMsg);
}
