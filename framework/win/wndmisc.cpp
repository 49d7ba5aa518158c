// CWnd: default message handlers, relations, geometry, scroll bars, text,
// tooltips from OnToolHitTest.
#include "winstate.h"

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
    ON_WM_DRAWITEM()
    ON_WM_MEASUREITEM()
    ON_WM_CTLCOLOR()
    ON_WM_COMPAREITEM()
    ON_WM_DELETEITEM()
    ON_WM_CHARTOITEM()
    ON_WM_VKEYTOITEM()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_PARENTNOTIFY()
    ON_WM_INITMENUPOPUP()
    ON_WM_NCDESTROY()
END_MESSAGE_MAP()

/////////////////////////////////////////////////////////////////////////////
// Default handlers

void CWnd::OnActivate(UINT, CWnd*, BOOL) { Default(); }
void CWnd::OnActivateApp(BOOL, DWORD) { Default(); }
void CWnd::OnCancelMode() { Default(); }
void CWnd::OnCaptureChanged(CWnd*) { Default(); }
void CWnd::OnChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnClose() { Default(); }
void CWnd::OnContextMenu(CWnd*, CPoint) { Default(); }
BOOL CWnd::OnCopyData(CWnd*, COPYDATASTRUCT*) { return (BOOL)Default(); }
int CWnd::OnCreate(LPCREATESTRUCT) { return (int)Default(); }
void CWnd::OnDeadChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnEnable(BOOL) { Default(); }
void CWnd::OnEnterIdle(UINT, CWnd*) { Default(); }
BOOL CWnd::OnEraseBkgnd(CDC*) { return (BOOL)Default(); }
UINT CWnd::OnGetDlgCode() { return (UINT)Default(); }
void CWnd::OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
void CWnd::OnInitMenu(CMenu*) { Default(); }
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnKillFocus(CWnd*) { Default(); }
void CWnd::OnLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnMButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnMButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnMButtonUp(UINT, CPoint) { Default(); }
LRESULT CWnd::OnMenuChar(UINT, UINT, CMenu*) { return Default(); }
int CWnd::OnMouseActivate(CWnd*, UINT, UINT) { return (int)Default(); }
void CWnd::OnMouseHover(UINT, CPoint) { Default(); }
void CWnd::OnMouseLeave() { Default(); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
BOOL CWnd::OnMouseWheel(UINT, short, CPoint) { return (BOOL)Default(); }
void CWnd::OnMove(int, int) { Default(); }
void CWnd::OnMoving(UINT, LPRECT) { Default(); }
BOOL CWnd::OnNcActivate(BOOL) { return (BOOL)Default(); }
void CWnd::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) { Default(); }
BOOL CWnd::OnNcCreate(LPCREATESTRUCT) { return (BOOL)Default(); }
UINT CWnd::OnNcHitTest(CPoint) { return (UINT)Default(); }
void CWnd::OnNcLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnNcLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnNcLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnNcMButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnNcMButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnNcMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnNcPaint() { Default(); }
void CWnd::OnNcRButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnNcRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnNcRButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnPaint() { Default(); }
void CWnd::OnPaletteChanged(CWnd*) { Default(); }
HCURSOR CWnd::OnQueryDragIcon() { return (HCURSOR)Default(); }
BOOL CWnd::OnQueryNewPalette() { return (BOOL)Default(); }
void CWnd::OnRButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnRButtonUp(UINT, CPoint) { Default(); }
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) { return (BOOL)Default(); }
void CWnd::OnSetFocus(CWnd*) { Default(); }
void CWnd::OnSettingChange(UINT, LPCTSTR) { Default(); }
void CWnd::OnShowWindow(BOOL, UINT) { Default(); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnSizing(UINT, LPRECT) { Default(); }
void CWnd::OnStyleChanged(int, LPSTYLESTRUCT) { Default(); }
void CWnd::OnStyleChanging(int, LPSTYLESTRUCT) { Default(); }
void CWnd::OnSysChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysColorChange() { Default(); }
void CWnd::OnSysCommand(UINT, LPARAM) { Default(); }
void CWnd::OnSysKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
void CWnd::OnWindowPosChanged(WINDOWPOS*) { Default(); }
void CWnd::OnWindowPosChanging(WINDOWPOS*) { Default(); }

// Notifications of child controls go back to the control first
// (reflection); the parent's own handler, when it has one in its map,
// comes before this default.

HBRUSH CWnd::OnCtlColor(CDC*, CWnd* pWnd, UINT)
{
    LRESULT lResult = 0;
    if (pWnd != NULL && ReflectLastMsg(pWnd->m_hWnd, &lResult))
        return (HBRUSH)lResult;
    return (HBRUSH)Default();
}

void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (lpDrawItemStruct->CtlType == ODT_MENU) {
        CMenu* pMenu = CMenu::FromHandlePermanent(reinterpret_cast<HMENU>(lpDrawItemStruct->hwndItem));
        if (pMenu != NULL) {
            pMenu->DrawItem(lpDrawItemStruct);
            return;
        }
    } else if (ReflectLastMsg(lpDrawItemStruct->hwndItem)) {
        return;
    }
    Default();
}

namespace {

// The menu of an attached CMenu that holds the item: the popup being
// tracked first, then the window's menu bar and system menu.
CMenu* FindMenuHoldingItem(HMENU hMenu, UINT nItemID, int nDepth = 0)
{
    if (hMenu == NULL || nDepth > 8)
        return NULL;
    int nCount = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < nCount; i++) {
        HMENU hSub = ::GetSubMenu(hMenu, i);
        if (hSub != NULL) {
            if (CMenu* p = FindMenuHoldingItem(hSub, nItemID, nDepth + 1))
                return p;
        } else if (::GetMenuItemID(hMenu, i) == nItemID) {
            return CMenu::FromHandlePermanent(hMenu);
        }
    }
    return NULL;
}

}  // namespace

void CWnd::OnMeasureItem(int, LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    if (lpMeasureItemStruct->CtlType == ODT_MENU) {
        HMENU hMenus[] = {AfxGetThreadState()->m_hTrackingMenu, ::GetMenu(m_hWnd), ::GetSystemMenu(m_hWnd, FALSE)};
        for (HMENU hMenu : hMenus) {
            CMenu* pMenu = FindMenuHoldingItem(hMenu, lpMeasureItemStruct->itemID);
            if (pMenu == NULL && hMenu != NULL)
                pMenu = CMenu::FromHandlePermanent(hMenu);
            if (pMenu != NULL) {
                pMenu->MeasureItem(lpMeasureItemStruct);
                return;
            }
        }
    } else {
        CWnd* pChild = GetDescendantWindow((int)lpMeasureItemStruct->CtlID, TRUE);
        if (pChild != NULL && pChild->SendChildNotifyLastMsg())
            return;
    }
    Default();
}

void CWnd::OnInitMenuPopup(CMenu* pPopupMenu, UINT, BOOL)
{
    AfxGetThreadState()->m_hTrackingMenu = pPopupMenu->GetSafeHmenu();
    Default();
}

int CWnd::OnCompareItem(int, LPCOMPAREITEMSTRUCT lpCompareItemStruct)
{
    LRESULT lResult = 0;
    if (ReflectLastMsg(lpCompareItemStruct->hwndItem, &lResult))
        return (int)lResult;
    return (int)Default();
}

void CWnd::OnDeleteItem(int, LPDELETEITEMSTRUCT lpDeleteItemStruct)
{
    if (ReflectLastMsg(lpDeleteItemStruct->hwndItem))
        return;
    Default();
}

int CWnd::OnCharToItem(UINT, CListBox* pListBox, UINT)
{
    LRESULT lResult = 0;
    if (pListBox != NULL && ReflectLastMsg(pListBox->m_hWnd, &lResult))
        return (int)lResult;
    return (int)Default();
}

int CWnd::OnVKeyToItem(UINT, CListBox* pListBox, UINT)
{
    LRESULT lResult = 0;
    if (pListBox != NULL && ReflectLastMsg(pListBox->m_hWnd, &lResult))
        return (int)lResult;
    return (int)Default();
}

void CWnd::OnHScroll(UINT, UINT, CScrollBar* pScrollBar)
{
    if (pScrollBar != NULL && ReflectLastMsg(pScrollBar->m_hWnd))
        return;
    Default();
}

void CWnd::OnVScroll(UINT, UINT, CScrollBar* pScrollBar)
{
    if (pScrollBar != NULL && ReflectLastMsg(pScrollBar->m_hWnd))
        return;
    Default();
}

void CWnd::OnParentNotify(UINT message, LPARAM lParam)
{
    if ((LOWORD(message) == WM_CREATE || LOWORD(message) == WM_DESTROY) &&
        ReflectLastMsg(reinterpret_cast<HWND>(lParam)))
        return;
    Default();
}

/////////////////////////////////////////////////////////////////////////////
// Styles, geometry

namespace {

BOOL ModifyStyleImpl(HWND hWnd, int nStyleOffset, DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    DWORD dwStyle = (DWORD)::GetWindowLongPtrA(hWnd, nStyleOffset);
    DWORD dwNewStyle = (dwStyle & ~dwRemove) | dwAdd;
    if (dwStyle == dwNewStyle)
        return FALSE;
    ::SetWindowLongPtrA(hWnd, nStyleOffset, (LONG_PTR)dwNewStyle);
    if (nFlags != 0)
        ::SetWindowPos(hWnd, NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}

}  // namespace

BOOL PASCAL CWnd::ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    return ModifyStyleImpl(hWnd, GWL_STYLE, dwRemove, dwAdd, nFlags);
}

BOOL PASCAL CWnd::ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    return ModifyStyleImpl(hWnd, GWL_EXSTYLE, dwRemove, dwAdd, nFlags);
}

void CWnd::ClientToScreen(LPRECT lpRect) const
{
    ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(lpRect));
    ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(lpRect) + 1);
}

void CWnd::ScreenToClient(LPRECT lpRect) const
{
    ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(lpRect));
    ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(lpRect) + 1);
}

void CWnd::CenterWindow(CWnd* pAlternateOwner)
{
    DWORD dwStyle = GetStyle();
    HWND hWndCenter = pAlternateOwner->GetSafeHwnd();
    if (pAlternateOwner == NULL) {
        hWndCenter = (dwStyle & WS_CHILD) ? ::GetParent(m_hWnd) : ::GetWindow(m_hWnd, GW_OWNER);
        if (hWndCenter != NULL) {
            HWND hWndTemp = reinterpret_cast<HWND>(::SendMessageA(hWndCenter, WM_QUERYCENTERWND, 0, 0));
            if (hWndTemp != NULL)
                hWndCenter = hWndTemp;
        }
    }

    CRect rcDlg;
    GetWindowRect(&rcDlg);
    CRect rcArea;
    CRect rcCenter;
    if (!(dwStyle & WS_CHILD)) {
        // Never over an invisible or minimised window.
        if (hWndCenter != NULL) {
            DWORD dwCenterStyle = (DWORD)::GetWindowLongPtrA(hWndCenter, GWL_STYLE);
            if (!(dwCenterStyle & WS_VISIBLE) || (dwCenterStyle & WS_MINIMIZE))
                hWndCenter = NULL;
        }
        MONITORINFO mi = {};
        mi.cbSize = sizeof(mi);
        HMONITOR hMonitor = ::MonitorFromWindow(hWndCenter != NULL ? hWndCenter : m_hWnd, MONITOR_DEFAULTTOPRIMARY);
        if (::GetMonitorInfoA(hMonitor, &mi))
            rcArea = mi.rcWork;
        else
            ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcArea, 0);
        if (hWndCenter == NULL)
            rcCenter = rcArea;
        else
            ::GetWindowRect(hWndCenter, &rcCenter);
    } else {
        HWND hWndParent = ::GetParent(m_hWnd);
        ::GetClientRect(hWndParent, &rcArea);
        if (hWndCenter == NULL)
            hWndCenter = hWndParent;
        ::GetClientRect(hWndCenter, &rcCenter);
        ::MapWindowPoints(hWndCenter, hWndParent, reinterpret_cast<LPPOINT>(&rcCenter), 2);
    }

    int xLeft = (rcCenter.left + rcCenter.right) / 2 - rcDlg.Width() / 2;
    int yTop = (rcCenter.top + rcCenter.bottom) / 2 - rcDlg.Height() / 2;
    if (xLeft + rcDlg.Width() > rcArea.right)
        xLeft = rcArea.right - rcDlg.Width();
    if (xLeft < rcArea.left)
        xLeft = rcArea.left;
    if (yTop + rcDlg.Height() > rcArea.bottom)
        yTop = rcArea.bottom - rcDlg.Height();
    if (yTop < rcArea.top)
        yTop = rcArea.top;
    ::SetWindowPos(m_hWnd, NULL, xLeft, yTop, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

/////////////////////////////////////////////////////////////////////////////
// Relations

CWnd* CWnd::GetOwner() const
{
    return m_hWndOwner != NULL ? FromHandle(m_hWndOwner) : GetParent();
}

CWnd* CWnd::GetTopLevelParent() const
{
    if (m_hWnd == NULL)
        return NULL;
    HWND hWndParent = m_hWnd;
    HWND hWndT;
    while ((hWndT = ::GetParent(hWndParent)) != NULL && (::GetWindowLongPtrA(hWndParent, GWL_STYLE) & WS_CHILD))
        hWndParent = hWndT;
    return FromHandle(hWndParent);
}

CWnd* CWnd::GetTopLevelOwner() const
{
    if (m_hWnd == NULL)
        return NULL;
    HWND hWndOwner = m_hWnd;
    HWND hWndT;
    while ((hWndT = ::GetWindow(hWndOwner, GW_OWNER)) != NULL)
        hWndOwner = hWndT;
    return FromHandle(hWndOwner);
}

CWnd* CWnd::GetParentOwner() const
{
    if (m_hWnd == NULL)
        return NULL;
    HWND hWndParent = m_hWnd;
    HWND hWndT;
    while ((::GetWindowLongPtrA(hWndParent, GWL_STYLE) & WS_CHILD) && (hWndT = ::GetParent(hWndParent)) != NULL)
        hWndParent = hWndT;
    return FromHandle(hWndParent);
}

CFrameWnd* CWnd::GetParentFrame() const
{
    if (m_hWnd == NULL)
        return NULL;
    for (CWnd* pParentWnd = GetParent(); pParentWnd != NULL; pParentWnd = pParentWnd->GetParent()) {
        if (pParentWnd->IsFrameWnd())
            return static_cast<CFrameWnd*>(pParentWnd);
    }
    return NULL;
}

CFrameWnd* CWnd::GetTopLevelFrame() const
{
    if (m_hWnd == NULL)
        return NULL;
    CWnd* pFrame = const_cast<CWnd*>(this);
    if (!IsFrameWnd())
        pFrame = GetParentFrame();
    while (pFrame != NULL) {
        CFrameWnd* pTemp = pFrame->GetParentFrame();
        if (pTemp == NULL)
            break;
        pFrame = pTemp;
    }
    return static_cast<CFrameWnd*>(pFrame);
}

CWnd* CWnd::GetDescendantWindow(int nID, BOOL bOnlyPerm) const
{
    for (HWND hWndChild = ::GetTopWindow(m_hWnd); hWndChild != NULL; hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
        if (::GetDlgCtrlID(hWndChild) == nID) {
            CWnd* pWnd = bOnlyPerm ? FromHandlePermanent(hWndChild) : FromHandle(hWndChild);
            if (pWnd != NULL)
                return pWnd;
        }
        if (::GetTopWindow(hWndChild) != NULL) {
            CWnd wndChild;
            wndChild.m_hWnd = hWndChild;   // a plain search helper, never attached
            CWnd* pWnd = wndChild.GetDescendantWindow(nID, bOnlyPerm);
            wndChild.m_hWnd = NULL;
            if (pWnd != NULL)
                return pWnd;
        }
    }
    return NULL;
}

void PASCAL CWnd::SendMessageToDescendants(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep,
                                           BOOL bOnlyPerm)
{
    for (HWND hWndChild = ::GetTopWindow(hWnd); hWndChild != NULL; hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
        if (bOnlyPerm) {
            CWnd* pWnd = FromHandlePermanent(hWndChild);
            if (pWnd != NULL)
                AfxCallWndProc(pWnd, hWndChild, message, wParam, lParam);
        } else {
            ::SendMessageA(hWndChild, message, wParam, lParam);
        }
        if (bDeep && ::IsWindow(hWndChild) && ::GetTopWindow(hWndChild) != NULL)
            SendMessageToDescendants(hWndChild, message, wParam, lParam, bDeep, bOnlyPerm);
    }
}

CWnd* PASCAL CWnd::GetSafeOwner(CWnd* pParent)
{
    HWND hWnd = pParent->GetSafeHwnd();
    if (hWnd == NULL) {
        CWnd* pMainWnd = AfxGetMainWnd();
        hWnd = pMainWnd->GetSafeHwnd();
    }
    // A popup cannot be owned by a child window.
    while (hWnd != NULL && (::GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_CHILD))
        hWnd = ::GetParent(hWnd);
    if (pParent == NULL && hWnd != NULL)
        hWnd = ::GetLastActivePopup(hWnd);
    return FromHandle(hWnd);
}

/////////////////////////////////////////////////////////////////////////////
// Painting, text, fonts

CDC* CWnd::GetDC()
{
    return CDC::FromHandle(::GetDC(m_hWnd));
}

CDC* CWnd::GetWindowDC()
{
    return CDC::FromHandle(::GetWindowDC(m_hWnd));
}

int CWnd::ReleaseDC(CDC* pDC)
{
    return ::ReleaseDC(m_hWnd, pDC->GetSafeHdc());
}

void CWnd::GetWindowText(CString& rString) const
{
    int nLen = ::GetWindowTextLengthA(m_hWnd);
    ::GetWindowTextA(m_hWnd, rString.GetBufferSetLength(nLen), nLen + 1);
    rString.ReleaseBuffer();
}

int CWnd::GetDlgItemText(int nID, CString& rString) const
{
    rString.Empty();
    HWND hWnd = ::GetDlgItem(m_hWnd, nID);
    if (hWnd != NULL) {
        int nLen = ::GetWindowTextLengthA(hWnd);
        ::GetWindowTextA(hWnd, rString.GetBufferSetLength(nLen), nLen + 1);
        rString.ReleaseBuffer();
    }
    return rString.GetLength();
}

CFont* CWnd::GetFont() const
{
    HFONT hFont = reinterpret_cast<HFONT>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0));
    return hFont != NULL ? CFont::FromHandle(hFont) : NULL;
}

int CWnd::GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton)
{
    for (int nID = nIDFirstButton; nID <= nIDLastButton; nID++) {
        if (IsDlgButtonChecked(nID))
            return nID;
    }
    return 0;
}

int CWnd::MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType)
{
    if (lpszCaption == NULL)
        lpszCaption = AfxGetAppName();
    return ::MessageBoxA(GetSafeHwnd(), lpszText, lpszCaption, nType);
}

/////////////////////////////////////////////////////////////////////////////
// Scroll bars

CScrollBar* CWnd::GetScrollBarCtrl(int) const
{
    return NULL;
}

int CWnd::GetScrollPos(int nBar) const
{
    if (CScrollBar* pBar = GetScrollBarCtrl(nBar))
        return pBar->GetScrollPos();
    return ::GetScrollPos(m_hWnd, nBar);
}

int CWnd::SetScrollPos(int nBar, int nPos, BOOL bRedraw)
{
    if (CScrollBar* pBar = GetScrollBarCtrl(nBar))
        return pBar->SetScrollPos(nPos, bRedraw);
    return ::SetScrollPos(m_hWnd, nBar, nPos, bRedraw);
}

void CWnd::GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const
{
    if (CScrollBar* pBar = GetScrollBarCtrl(nBar))
        pBar->GetScrollRange(lpMinPos, lpMaxPos);
    else
        ::GetScrollRange(m_hWnd, nBar, lpMinPos, lpMaxPos);
}

void CWnd::SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw)
{
    if (CScrollBar* pBar = GetScrollBarCtrl(nBar))
        pBar->SetScrollRange(nMinPos, nMaxPos, bRedraw);
    else
        ::SetScrollRange(m_hWnd, nBar, nMinPos, nMaxPos, bRedraw);
}

BOOL CWnd::GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask)
{
    lpScrollInfo->cbSize = sizeof(SCROLLINFO);
    lpScrollInfo->fMask = nMask;
    if (CScrollBar* pBar = GetScrollBarCtrl(nBar))
        return pBar->GetScrollInfo(lpScrollInfo, nMask);
    return ::GetScrollInfo(m_hWnd, nBar, lpScrollInfo);
}

BOOL CWnd::SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw)
{
    lpScrollInfo->cbSize = sizeof(SCROLLINFO);
    if (CScrollBar* pBar = GetScrollBarCtrl(nBar))
        return pBar->SetScrollInfo(lpScrollInfo, bRedraw);
    ::SetScrollInfo(m_hWnd, nBar, lpScrollInfo, bRedraw);
    return TRUE;
}

int CWnd::GetScrollLimit(int nBar)
{
    int nMin = 0;
    int nMax = 0;
    GetScrollRange(nBar, &nMin, &nMax);
    SCROLLINFO info;
    if (GetScrollInfo(nBar, &info, SIF_PAGE) && info.nPage > 1)
        nMax -= (int)info.nPage - 1;
    return nMax;
}

void CWnd::ShowScrollBar(UINT nBar, BOOL bShow)
{
    if (CScrollBar* pBar = GetScrollBarCtrl((int)nBar))
        pBar->ShowScrollBar(bShow);
    else
        ::ShowScrollBar(m_hWnd, (int)nBar, bShow);
}

void CWnd::EnableScrollBarCtrl(int nBar, BOOL bEnable)
{
    if (nBar == SB_BOTH) {
        EnableScrollBarCtrl(SB_HORZ, bEnable);
        EnableScrollBarCtrl(SB_VERT, bEnable);
        return;
    }
    if (CScrollBar* pBar = GetScrollBarCtrl(nBar))
        pBar->EnableWindow(bEnable);
    else
        ::ShowScrollBar(m_hWnd, nBar, bEnable);
}

/////////////////////////////////////////////////////////////////////////////
// Data exchange entry points

void CWnd::DoDataExchange(CDataExchange*)
{
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    try {
        DoDataExchange(&dx);
        return TRUE;
    } catch (CUserException* e) {
        // A validation failed; the user has been told.
        e->Delete();
    } catch (CException* e) {
        AfxTraceCaughtException("UpdateData", e);
        e->Delete();
    } catch (...) {
        AfxTraceCaughtException("UpdateData", NULL);
    }
    return FALSE;
}

/////////////////////////////////////////////////////////////////////////////
// Tooltips from OnToolHitTest

namespace {

// The thread's tooltip lets the thread state go when its window is destroyed
// (with its owner window).
class CThreadToolTip : public CToolTipCtrl
{
protected:
    void PostNcDestroy() override
    {
        AFX_THREAD_STATE* pState = AfxGetThreadState();
        if (pState->m_pToolTip == this) {
            pState->m_pToolTip = NULL;
            pState->m_hWndLastHit = NULL;
            pState->m_nLastHit = -1;
        }
        delete this;
    }
};

}  // namespace

BOOL CWnd::EnableToolTips(BOOL bEnable)
{
    BOOL bOld = (m_nFlags & WF_TOOLTIPS) != 0;
    if (bEnable)
        m_nFlags |= WF_TOOLTIPS;
    else
        m_nFlags &= ~WF_TOOLTIPS;
    if (!bEnable && bOld)
        CancelToolTips();
    return bOld;
}

INT_PTR CWnd::OnToolHitTest(CPoint point, TOOLINFO* pTI) const
{
    // The visible child control under the point, identified by its handle.
    HWND hWndChild = ::ChildWindowFromPointEx(m_hWnd, point, CWP_SKIPINVISIBLE);
    if (hWndChild == NULL || hWndChild == m_hWnd)
        return -1;
    int nID = ::GetDlgCtrlID(hWndChild);
    if (nID == 0 || nID == -1)
        return -1;
    if (pTI != NULL) {
        pTI->hwnd = m_hWnd;
        pTI->uId = reinterpret_cast<UINT_PTR>(hWndChild);
        pTI->uFlags |= TTF_IDISHWND;
        pTI->lpszText = LPSTR_TEXTCALLBACK;
    }
    return nID;
}

void PASCAL CWnd::CancelToolTips(BOOL)
{
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pState->m_pToolTip != NULL && pState->m_pToolTip->m_hWnd != NULL)
        pState->m_pToolTip->Pop();
}

void CWnd::FilterToolTipMessage(MSG* pMsg)
{
    UINT message = pMsg->message;
    if (message != WM_MOUSEMOVE && message != WM_LBUTTONDOWN && message != WM_LBUTTONUP &&
        message != WM_RBUTTONDOWN && message != WM_RBUTTONUP && message != WM_MBUTTONDOWN &&
        message != WM_MBUTTONUP && message != WM_NCMOUSEMOVE)
        return;
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pState->m_pToolTip == NULL) {
        CThreadToolTip* pToolTip = new CThreadToolTip;
        CWnd* pOwner = GetParentOwner();
        if (!pToolTip->Create(pOwner)) {
            delete pToolTip;
            return;
        }
        pToolTip->SendMessage(TTM_ACTIVATE, TRUE, 0);
        pState->m_pToolTip = pToolTip;
    }
    CToolTipCtrl* pToolTip = pState->m_pToolTip;

    CPoint point = pMsg->pt;
    ::ScreenToClient(m_hWnd, &point);
    TOOLINFO ti = {};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    INT_PTR nHit = OnToolHitTest(point, &ti);
    bool bSameTool = nHit == pState->m_nLastHit && m_hWnd == pState->m_hWndLastHit &&
                     ti.uId == pState->m_lastInfo.uId && ti.hwnd == pState->m_lastInfo.hwnd;
    if (!bSameTool) {
        if (pState->m_nLastHit != -1 && pState->m_lastInfo.hwnd != NULL)
            pToolTip->SendMessage(TTM_DELTOOL, 0, reinterpret_cast<LPARAM>(&pState->m_lastInfo));
        pState->m_nLastHit = -1;
        pState->m_hWndLastHit = NULL;
        if (nHit != -1) {
            if (!(ti.uFlags & TTF_IDISHWND) && ::IsRectEmpty(&ti.rect))
                ::GetClientRect(m_hWnd, &ti.rect);
            if (pToolTip->SendMessage(TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&ti))) {
                pState->m_nLastHit = nHit;
                pState->m_hWndLastHit = m_hWnd;
                pState->m_lastInfo = ti;
            }
        }
    }
    if (pState->m_nLastHit != -1) {
        // The message as the tooltip expects it: for its tool's window.
        const TOOLINFO& tiLast = pState->m_lastInfo;
        MSG msg = *pMsg;
        msg.hwnd = (tiLast.uFlags & TTF_IDISHWND) ? reinterpret_cast<HWND>(tiLast.uId) : tiLast.hwnd;
        CPoint pt = pMsg->pt;
        ::ScreenToClient(msg.hwnd, &pt);
        msg.lParam = MAKELPARAM(pt.x, pt.y);
        pToolTip->RelayEvent(&msg);
    }
}
