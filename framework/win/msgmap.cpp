// Message maps: lookup, command and notification routing, reflection.
#include "winstate.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* PASCAL CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY _messageEntries[] = {{0, 0, 0, 0, nullptr, nullptr}};
    static const AFX_MSGMAP messageMap = {nullptr, &_messageEntries[0]};
    return &messageMap;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

namespace {

const AFX_MSGMAP* BaseMap(const AFX_MSGMAP* pMap)
{
    return pMap->pfnGetBaseMap != nullptr ? pMap->pfnGetBaseMap() : nullptr;
}

// A plain window-message entry (ON_WM_*, ON_MESSAGE, ON_REGISTERED_MESSAGE,
// the reflected window messages).
bool IsWindowMessageEntry(const AFX_MSGMAP_ENTRY& e, UINT nMessage)
{
    if (e.nCode != 0 || e.nID != 0 || e.nLastID != 0)
        return false;
    if (e.pnRegisteredMessage != nullptr)
        return nMessage != 0 && *e.pnRegisteredMessage == nMessage;
    return e.nMessage == nMessage;
}

}  // namespace

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT nMessage) const
{
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != nullptr; pMap = BaseMap(pMap)) {
        for (const AFX_MSGMAP_ENTRY* pEntry = pMap->lpEntries; pEntry->pfnStub != nullptr; ++pEntry) {
            if (IsWindowMessageEntry(*pEntry, nMessage))
                return pEntry;
        }
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    UINT nMsg = HIWORD((DWORD)nCode);
    WORD wCode = LOWORD((DWORD)nCode);
    if (nMsg == 0)
        nMsg = WM_COMMAND;

    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != nullptr; pMap = BaseMap(pMap)) {
        for (const AFX_MSGMAP_ENTRY* pEntry = pMap->lpEntries; pEntry->pfnStub != nullptr; ++pEntry) {
            if (pEntry->pnRegisteredMessage != nullptr || pEntry->nMessage != nMsg ||
                (WORD)pEntry->nCode != wCode || nID < pEntry->nID || nID > pEntry->nLastID)
                continue;
            if (pHandlerInfo != nullptr) {   // only asking whether there is a handler
                pHandlerInfo->pTarget = this;
                return TRUE;
            }
            AFX_MSGCALL call = {};
            call.message = nMsg;
            call.nID = nID;
            call.nCode = (short)wCode;
            call.pExtra = pExtra;
            // An ON_MESSAGE entry reached through reflection sees the
            // notification's own parameters.
            const MSG& last = AfxGetThreadState()->m_lastSentMsg;
            if (last.message == WM_COMMAND || last.message == WM_NOTIFY) {
                call.wParam = last.wParam;
                call.lParam = last.lParam;
            } else {
                call.wParam = MAKEWPARAM(nID, wCode);
            }
            return pEntry->pfnStub(this, call);
        }
    }
    return FALSE;
}

/////////////////////////////////////////////////////////////////////////////
// CWnd dispatch

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult))
        lResult = DefWindowProc(message, wParam, lParam);
    return lResult;
}

// Note: after a handler has run, 'this' may have been deleted (WM_NCDESTROY
// of a self-deleting window): nothing below touches the object afterwards.
BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    LRESULT lResult = 0;
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        lResult = 1;
    } else if (message == WM_NOTIFY) {
        if (lParam == 0 || !OnNotify(wParam, lParam, &lResult))
            return FALSE;
    } else {
        UINT nLookup = (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) ? (UINT)WM_CTLCOLOR : message;
        const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(nLookup);
        if (pEntry != nullptr) {
            AFX_MSGCALL call = {};
            call.message = message;
            call.wParam = wParam;
            call.lParam = lParam;
            if (!pEntry->pfnStub(this, call))
                return FALSE;
            lResult = call.lResult;
        } else if (message != 0 && message == AfxGetDragListMessage() && lParam != 0) {
            // A drag list box's notification goes back to the box.
            const DRAGLISTINFO* pInfo = reinterpret_cast<const DRAGLISTINFO*>(lParam);
            CWnd* pChild = FromHandlePermanent(pInfo->hWnd);
            if (pChild == nullptr || !pChild->OnChildNotify(message, wParam, lParam, &lResult))
                return FALSE;
        } else {
            return FALSE;
        }
    }
    if (pResult != nullptr)
        *pResult = lResult;
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT nID = LOWORD(wParam);
    HWND hWndCtrl = reinterpret_cast<HWND>(lParam);
    int nCode = HIWORD(wParam);
    if (hWndCtrl == NULL) {
        // A menu or accelerator command.
        if (nID == 0)
            return FALSE;
        nCode = CN_COMMAND;
    } else {
        // A control's notification: the control sees it first.
        CWnd* pChild = FromHandlePermanent(hWndCtrl);
        if (pChild != nullptr && pChild->OnChildNotify(WM_COMMAND, wParam, lParam, nullptr))
            return TRUE;
        if (nID == 0)
            return FALSE;
    }
    return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    NMHDR* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
    if (pNMHDR == nullptr)
        return FALSE;
    LRESULT lUnused = 0;
    if (pResult == nullptr)
        pResult = &lUnused;
    HWND hWndCtrl = pNMHDR->hwndFrom;
    // The id of the window that sends it (a tooltip's is 0), as control ids
    // are what the map entries name.
    UINT nID = hWndCtrl != NULL ? (UINT)::GetDlgCtrlID(hWndCtrl) : (UINT)pNMHDR->idFrom;
    if (hWndCtrl != NULL) {
        CWnd* pChild = FromHandlePermanent(hWndCtrl);
        if (pChild != nullptr && pChild->OnChildNotify(WM_NOTIFY, wParam, lParam, pResult))
            return TRUE;
    }
    AFX_NOTIFY notify = {pResult, pNMHDR};
    return OnCmdMsg(nID, (int)MAKELONG(pNMHDR->code, WM_NOTIFY), &notify, nullptr);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    switch (message) {
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_PARENTNOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_COMPAREITEM:
        return OnWndMsg(WM_REFLECT_BASE + message, wParam, lParam, pResult);

    case WM_COMMAND: {
        if (CCmdTarget::OnCmdMsg(0, (int)MAKELONG(HIWORD(wParam), WM_REFLECT_BASE + WM_COMMAND), nullptr, nullptr)) {
            if (pResult != nullptr)
                *pResult = 1;
            return TRUE;
        }
        return FALSE;
    }

    case WM_NOTIFY: {
        NMHDR* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
        if (pNMHDR == nullptr)
            return FALSE;
        LRESULT lUnused = 0;
        AFX_NOTIFY notify = {pResult != nullptr ? pResult : &lUnused, pNMHDR};
        return CCmdTarget::OnCmdMsg(0, (int)MAKELONG(pNMHDR->code, WM_REFLECT_BASE + WM_NOTIFY), &notify, nullptr);
    }

    default:
        if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
            AFX_CTLCOLOR ctl;
            ctl.hDC = reinterpret_cast<HDC>(wParam);
            ctl.hWnd = reinterpret_cast<HWND>(lParam);
            ctl.nCtlType = message - WM_CTLCOLORMSGBOX;
            return OnWndMsg(WM_REFLECT_BASE + WM_CTLCOLOR, 0, reinterpret_cast<LPARAM>(&ctl), pResult);
        }
        return FALSE;
    }
}

BOOL CWnd::SendChildNotifyLastMsg(LRESULT* pResult)
{
    const MSG& msg = AfxGetThreadState()->m_lastSentMsg;
    return OnChildNotify(msg.message, msg.wParam, msg.lParam, pResult);
}

BOOL PASCAL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult)
{
    CWnd* pWnd = FromHandlePermanent(hWndChild);
    if (pWnd == nullptr)
        return FALSE;
    return pWnd->SendChildNotifyLastMsg(pResult);
}

const MSG* PASCAL CWnd::GetCurrentMessage()
{
    return &AfxGetThreadState()->m_lastSentMsg;
}
