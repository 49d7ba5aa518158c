// CFrameWnd and CView (views without documents).
#include "winstate.h"

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)
IMPLEMENT_DYNAMIC(CView, CWnd)

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_WM_SETFOCUS()
    ON_MESSAGE(WM_SETMESSAGESTRING, OnSetMessageString)
END_MESSAGE_MAP()

CFrameWnd::CFrameWnd() : m_hAccelTable(NULL), m_nIDHelp(0), m_pViewActive(NULL)
{
}

CFrameWnd::~CFrameWnd()
{
    // The accelerator table came from LoadAccelerators: the system frees it
    // with its module.
}

BOOL CFrameWnd::LoadAccelTable(LPCTSTR lpszResourceName)
{
    if (m_hAccelTable != NULL)
        return FALSE;
    HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, RT_ACCELERATOR);
    m_hAccelTable = ::LoadAcceleratorsA(hInst, lpszResourceName);
    return m_hAccelTable != NULL;
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    m_nIDHelp = nIDResource;
    LPCTSTR lpszResource = MAKEINTRESOURCE(nIDResource);

    HINSTANCE hInstIcon = AfxFindResourceHandle(lpszResource, RT_GROUP_ICON);
    HICON hIcon = ::LoadIconA(hInstIcon, lpszResource);
    LPCTSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, ::LoadCursorA(NULL, IDC_ARROW),
                                            (HBRUSH)(COLOR_WINDOW + 1), hIcon);

    // The title is the string's part before its first '\n'.
    CString strFull;
    if (strFull.LoadString(nIDResource)) {
        int nNewLine = strFull.Find('\n');
        m_strTitle = nNewLine >= 0 ? strFull.Left(nNewLine) : strFull;
    }

    if (!Create(lpszClass, m_strTitle, dwDefaultStyle & ~FWS_ADDTOTITLE, rectDefault, pParentWnd, lpszResource, 0L,
                pContext))
        return FALSE;

    LoadAccelTable(lpszResource);
    if (pContext == NULL)
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    return TRUE;
}

BOOL CFrameWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, LPCTSTR lpszMenuName, DWORD dwExStyle, CCreateContext* pContext)
{
    HMENU hMenu = NULL;
    if (lpszMenuName != NULL) {
        // A missing menu resource only means a frame without a menu.
        HINSTANCE hInst = AfxFindResourceHandle(lpszMenuName, RT_MENU);
        if (::FindResourceA(hInst, lpszMenuName, RT_MENU) != NULL)
            hMenu = ::LoadMenuA(hInst, lpszMenuName);
    }
    m_strTitle = lpszWindowName;

    int x = rect.left;
    int y = rect.top;
    int cx = rect.right - rect.left;
    int cy = rect.bottom - rect.top;
    if (rect.left == CW_USEDEFAULT)
        x = y = cx = cy = CW_USEDEFAULT;

    BOOL bCreated = CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, x, y, cx, cy,
                             pParentWnd->GetSafeHwnd(), hMenu, pContext);
    // The menu belongs to the window only when the window took it
    // (PreCreateWindow may have removed it).
    if (hMenu != NULL && (!bCreated || ::GetMenu(m_hWnd) != hMenu))
        ::DestroyMenu(hMenu);
    return bCreated;
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (cs.lpszClass == NULL) {
        if (!AfxEnsureDefaultClass(g_afxWndFrameOrView))
            return FALSE;
        cs.lpszClass = g_afxWndFrameOrView;
    }
    cs.style &= ~FWS_ADDTOTITLE;
    cs.dwExStyle |= WS_EX_CLIENTEDGE;   // the client area is sunken; a skinned frame removes it
    return TRUE;
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE;
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) {
        HACCEL hAccel = GetDefaultAccelerator();
        return hAccel != NULL && ::TranslateAcceleratorA(m_hWnd, hAccel, pMsg);
    }
    return FALSE;
}

void CFrameWnd::PostNcDestroy()
{
    delete this;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext)
{
    if (pContext != NULL && pContext->m_pNewViewClass != NULL)
        return CreateView(pContext, AFX_IDW_PANE_FIRST) != NULL;
    return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    CCreateContext* pContext = static_cast<CCreateContext*>(lpCreateStruct->lpCreateParams);
    if (!OnCreateClient(lpCreateStruct, pContext))
        return -1;
    RecalcLayout();
    return 0;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID)
{
    if (pContext == NULL || pContext->m_pNewViewClass == NULL)
        return NULL;
    CObject* pObject = pContext->m_pNewViewClass->CreateObject();
    CWnd* pView = DYNAMIC_DOWNCAST(CWnd, pObject);
    if (pView == NULL) {
        delete pObject;
        return NULL;
    }
    if (!pView->Create(NULL, NULL, AFX_WS_DEFAULT_VIEW, CRect(0, 0, 0, 0), this, nID, pContext)) {
        delete pView;   // a failed creation leaves the object to us
        return NULL;
    }
    return pView;
}

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL)
{
    m_pViewActive = pViewNew;
    if (pViewNew != NULL && ::GetFocus() != pViewNew->m_hWnd && ::IsChild(m_hWnd, pViewNew->m_hWnd))
        pViewNew->SetFocus();
}

void CFrameWnd::RecalcLayout(BOOL)
{
    // Without control bars the pane fills the client area.
    HWND hWndPane = ::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST);
    if (hWndPane != NULL) {
        CRect rect;
        GetClientRect(&rect);
        ::MoveWindow(hWndPane, rect.left, rect.top, rect.Width(), rect.Height(), TRUE);
    }
}

void CFrameWnd::ActivateFrame(int nCmdShow)
{
    if (nCmdShow == -1)
        nCmdShow = IsIconic() ? SW_RESTORE : (IsWindowVisible() ? SW_SHOWNORMAL : SW_SHOW);
    ShowWindow(nCmdShow);
    BringWindowToTop();
}

void CFrameWnd::InitialUpdateFrame(BOOL bMakeVisible)
{
    SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    if (bMakeVisible)
        ActivateFrame();
}

void CFrameWnd::SetMessageText(LPCTSTR lpszText)
{
    m_strMessageText = lpszText;
}

void CFrameWnd::SetMessageText(UINT nID)
{
    CString str;
    str.LoadString(nID);
    SetMessageText(str);
}

LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam)
{
    if (lParam != 0)
        SetMessageText(reinterpret_cast<LPCTSTR>(lParam));
    else
        SetMessageText((UINT)wParam);
    return 0;
}

void CFrameWnd::OnClose()
{
    DestroyWindow();
}

void CFrameWnd::OnDestroy()
{
    m_pViewActive = NULL;
    CWnd::OnDestroy();
}

void CFrameWnd::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (nType != SIZE_MINIMIZED)
        RecalcLayout();
}

void CFrameWnd::OnSetFocus(CWnd* pOldWnd)
{
    if (m_pViewActive != NULL && m_pViewActive->m_hWnd != NULL)
        m_pViewActive->SetFocus();
    else
        CWnd::OnSetFocus(pOldWnd);
}

/////////////////////////////////////////////////////////////////////////////
// CView

BEGIN_MESSAGE_MAP(CView, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_WM_MOUSEACTIVATE()
    ON_MESSAGE(WM_INITIALUPDATE, OnInitialUpdateMessage)
END_MESSAGE_MAP()

BOOL CView::PreCreateWindow(CREATESTRUCT& cs)
{
    if (cs.lpszClass == NULL) {
        if (!AfxEnsureDefaultClass(g_afxWndFrameOrView))
            return FALSE;
        cs.lpszClass = g_afxWndFrameOrView;
    }
    if (cs.style & WS_BORDER) {
        cs.dwExStyle |= WS_EX_CLIENTEDGE;
        cs.style &= ~WS_BORDER;
    }
    return TRUE;
}

void CView::PostNcDestroy()
{
    delete this;
}

void CView::OnInitialUpdate()
{
    Invalidate(TRUE);
}

void CView::OnPrepareDC(CDC*, void*)
{
}

int CView::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    CCreateContext* pContext = static_cast<CCreateContext*>(lpCreateStruct->lpCreateParams);
    if (pContext != NULL) {
        CFrameWnd* pFrame = GetParentFrame();
        if (pFrame != NULL && pFrame->m_pViewActive == NULL)
            pFrame->m_pViewActive = this;
    }
    return 0;
}

void CView::OnDestroy()
{
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != NULL && pFrame->m_pViewActive == this)
        pFrame->m_pViewActive = NULL;
    CWnd::OnDestroy();
}

void CView::OnPaint()
{
    CPaintDC dc(this);
    OnPrepareDC(&dc);
    OnDraw(&dc);
}

int CView::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
{
    int nResult = CWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
    if (nResult == MA_NOACTIVATE || nResult == MA_NOACTIVATEANDEAT)
        return nResult;
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != NULL)
        pFrame->SetActiveView(this);
    return nResult;
}

LRESULT CView::OnInitialUpdateMessage(WPARAM, LPARAM)
{
    OnInitialUpdate();
    return 0;
}
