// afxwin.h - window layer of the application framework.
//
// Builds on afx.h and supplies:
//   - CCmdTarget and message maps (DECLARE_MESSAGE_MAP, BEGIN_MESSAGE_MAP,
//     ON_WM_*, ON_COMMAND, ON_CONTROL, ON_MESSAGE, ON_REGISTERED_MESSAGE,
//     ON_NOTIFY, the reflection entries)
//   - GDI wrappers: CGdiObject, CPen, CBrush, CFont, CBitmap, CPalette, CRgn,
//     CDC, CPaintDC, CClientDC, CWindowDC
//   - CMenu
//   - CWnd (handle map, creation hook, subclassing, dispatch, reflection,
//     modal loop, tooltips from OnToolHitTest) and CFrameWnd, CView
//   - CDialog, CDataExchange and the DDX_ routines
//   - the standard controls: CStatic, CButton, CListBox, CComboBox, CEdit,
//     CScrollBar
//   - CWinThread, CWinApp (message loop, idle, profile, command line) and the
//     global helpers (AfxGetApp, AfxGetMainWnd, AfxRegisterWndClass,
//     AfxMessageBox ...)
// Common controls are in afxcmn.h, control bars and common dialogs in
// afxext.h.
//
// Conventions of this layer:
//   - Message map handlers are named without class and '&':
//       ON_COMMAND(IDOK, OnOK)   ON_WM_PAINT()   ON_MESSAGE(WM_USER + 1, OnMyMsg)
//     Each entry compiles into a small stub that calls the handler of the
//     class named in BEGIN_MESSAGE_MAP, so a handler's parameters are checked
//     by the compiler.
//   - Every window of the framework runs through one window procedure; no C++
//     exception ever leaves it (nor the creation hook or the dialog
//     procedure). An exception thrown while a window is being created is
//     rethrown by Create/CreateEx once the system call has returned.
//   - A window whose creation fails (PreCreateWindow FALSE, WM_NCCREATE or
//     WM_CREATE refused) is not deleted by PostNcDestroy: the caller still
//     owns the object. Once created, self-deleting classes (CFrameWnd, CView
//     and any class that deletes itself in PostNcDestroy) are deleted exactly
//     once, after their window is gone.
//   - CWnd/CMenu objects are mapped to their handles per thread. FromHandle
//     of a handle without a permanent object gives a temporary object, freed
//     when the application goes idle; GDI objects and DCs are always wrapped
//     temporarily by FromHandle.
//   - Calling GetSafeHwnd/GetSafeHandle/GetSafeHdc through a null pointer is
//     allowed (the framework targets compile with
//     -fno-delete-null-pointer-checks for this).
#pragma once

#include "afx.h"

#include <commctrl.h>

// Macros of <windowsx.h> and <winuser.h> that would rename members below.
#ifdef SubclassWindow
#undef SubclassWindow
#endif
#ifdef GetNextWindow
#undef GetNextWindow
#endif

#define afx_msg

class CCmdTarget;
class CWnd;
class CDC;
class CMenu;
class CFont;
class CBrush;
class CPen;
class CBitmap;
class CPalette;
class CRgn;
class CGdiObject;
class CScrollBar;
class CListBox;
class CFrameWnd;
class CView;
class CDialog;
class CDataExchange;
class CWinThread;
class CWinApp;
class CToolTipCtrl;

/////////////////////////////////////////////////////////////////////////////
// Private window messages of the framework

#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019                 // one entry for every WM_CTLCOLOR... message
#endif
#define WM_QUERYAFXWNDPROC  0x0360
#define WM_SIZEPARENT       0x0361
#define WM_SETMESSAGESTRING 0x0362
#define WM_IDLEUPDATECMDUI  0x0363
#define WM_INITIALUPDATE    0x0364         // sent to views once their frame is loaded
#define WM_RECALCPARENT     0x0368
#define WM_KICKIDLE         0x036A         // sent to a modal window when its loop is idle
#define WM_QUERYCENTERWND   0x036B
#define WM_DISABLEMODAL     0x036C         // a modal loop starts over the window
#define WM_REFLECT_BASE     0xBC00         // a notification reflected back to its control

// Window flags (CWnd::m_nFlags)
#define WF_TOOLTIPS      0x0001
#define WF_MODALLOOP     0x0008
#define WF_CONTINUEMODAL 0x0010
#define WF_CREATING      0x8000            // inside Create/CreateEx/CreateIndirect

// RunModalLoop flags
#define MLF_NOIDLEMSG    0x0001
#define MLF_NOKICKIDLE   0x0002
#define MLF_SHOWONIDLE   0x0004

// Command notification codes for OnCmdMsg
#define CN_COMMAND 0

// Window ids of frames
#define AFX_IDW_PANE_FIRST 0xE900
#define AFX_IDW_TOOLBAR    0xE800

#define AFX_WS_DEFAULT_VIEW (WS_CHILD | WS_VISIBLE | WS_BORDER)
#define FWS_ADDTOTITLE 0x00008000L

/////////////////////////////////////////////////////////////////////////////
// Message maps

// The arguments of one dispatched message or command, handed to an entry's
// stub. The stub stores the message result in lResult.
struct AFX_MSGCALL
{
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    UINT nID;          // commands and notifications: the control id
    int nCode;         // commands and notifications: the notification code
    void* pExtra;      // notifications: AFX_NOTIFY*
    LRESULT lResult;
};

// A stub answers TRUE when it handled the message (the _EX handlers decide).
typedef BOOL (*AFX_PMSGSTUB)(CCmdTarget* pTarget, AFX_MSGCALL& call);

struct AFX_MSGMAP_ENTRY
{
    UINT nMessage;                    // message, WM_COMMAND, WM_NOTIFY or WM_REFLECT_BASE + ...
    UINT nCode;                       // control notification code (16 bits)
    UINT nID;                         // first control id
    UINT nLastID;                     // last control id
    const UINT* pnRegisteredMessage;  // ON_REGISTERED_MESSAGE: the variable holding the id
    AFX_PMSGSTUB pfnStub;             // NULL ends the map
};

struct AFX_MSGMAP
{
    const AFX_MSGMAP* (PASCAL* pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

struct AFX_NOTIFY
{
    LRESULT* pResult;
    NMHDR* pNMHDR;
};

struct AFX_CTLCOLOR
{
    HWND hWnd;
    HDC hDC;
    UINT nCtlType;
};

struct AFX_CMDHANDLERINFO
{
    CCmdTarget* pTarget;
};

#define DECLARE_MESSAGE_MAP() \
protected: \
    static const AFX_MSGMAP* PASCAL GetThisMessageMap(); \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass) \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* PASCAL theClass::GetThisMessageMap() \
    { \
        typedef theClass ThisClass; \
        typedef baseClass TheBaseClass; \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP() \
            {0, 0, 0, 0, nullptr, nullptr} \
        }; \
        static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
        return &messageMap; \
    }

// The stub of one entry: pAfxThis is the object as the map's class, afxCall
// the message.
#define AFX_MSG_STUB(...) \
    +[](CCmdTarget* pAfxTarget, AFX_MSGCALL& afxCall) -> BOOL { \
        ThisClass* pAfxThis = static_cast<ThisClass*>(pAfxTarget); \
        (void)pAfxThis; (void)afxCall; \
        __VA_ARGS__ }

#define AFX_WM_ENTRY(msg, ...) \
    {(UINT)(msg), 0, 0, 0, nullptr, AFX_MSG_STUB(__VA_ARGS__)},

#define AFX_POINT_LPARAM CPoint((int)(short)LOWORD(afxCall.lParam), (int)(short)HIWORD(afxCall.lParam))

// Generic entries
#define ON_MESSAGE(message, memberFxn) \
    AFX_WM_ENTRY(message, afxCall.lResult = (LRESULT)pAfxThis->memberFxn(afxCall.wParam, afxCall.lParam); return TRUE;)
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn) \
    {0, 0, 0, 0, &(nMessageVariable), AFX_MSG_STUB( \
        afxCall.lResult = (LRESULT)pAfxThis->memberFxn(afxCall.wParam, afxCall.lParam); return TRUE;)},

// Commands: void memberFxn(); _EX: BOOL memberFxn(UINT nID); _RANGE: void memberFxn(UINT nID)
#define ON_COMMAND(id, memberFxn) \
    {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(id), nullptr, AFX_MSG_STUB(pAfxThis->memberFxn(); return TRUE;)},
#define ON_COMMAND_EX(id, memberFxn) \
    {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(id), nullptr, AFX_MSG_STUB(return pAfxThis->memberFxn(afxCall.nID);)},
#define ON_COMMAND_RANGE(id, idLast, memberFxn) \
    {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(idLast), nullptr, \
     AFX_MSG_STUB(pAfxThis->memberFxn(afxCall.nID); return TRUE;)},
#define ON_CONTROL(wNotifyCode, id, memberFxn) \
    {WM_COMMAND, (UINT)(WORD)(wNotifyCode), (UINT)(id), (UINT)(id), nullptr, \
     AFX_MSG_STUB(pAfxThis->memberFxn(); return TRUE;)},
#define ON_CONTROL_RANGE(wNotifyCode, id, idLast, memberFxn) \
    {WM_COMMAND, (UINT)(WORD)(wNotifyCode), (UINT)(id), (UINT)(idLast), nullptr, \
     AFX_MSG_STUB(pAfxThis->memberFxn(afxCall.nID); return TRUE;)},

#define ON_BN_CLICKED(id, memberFxn)       ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_BN_SETFOCUS(id, memberFxn)      ON_CONTROL(BN_SETFOCUS, id, memberFxn)
#define ON_BN_KILLFOCUS(id, memberFxn)     ON_CONTROL(BN_KILLFOCUS, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn)        ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn)        ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn)      ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn)     ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_EN_MAXTEXT(id, memberFxn)       ON_CONTROL(EN_MAXTEXT, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn)    ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn)       ON_CONTROL(LBN_DBLCLK, id, memberFxn)
#define ON_LBN_SETFOCUS(id, memberFxn)     ON_CONTROL(LBN_SETFOCUS, id, memberFxn)
#define ON_LBN_KILLFOCUS(id, memberFxn)    ON_CONTROL(LBN_KILLFOCUS, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn)    ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_DBLCLK(id, memberFxn)       ON_CONTROL(CBN_DBLCLK, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn)   ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn)     ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn)      ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_CBN_SETFOCUS(id, memberFxn)     ON_CONTROL(CBN_SETFOCUS, id, memberFxn)
#define ON_CBN_KILLFOCUS(id, memberFxn)    ON_CONTROL(CBN_KILLFOCUS, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn)     ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn)      ON_CONTROL(STN_CLICKED, id, memberFxn)
#define ON_STN_DBLCLK(id, memberFxn)       ON_CONTROL(STN_DBLCLK, id, memberFxn)

// Notifications: void memberFxn(NMHDR*, LRESULT*); _RANGE adds the id first;
// _EX: BOOL memberFxn(UINT nID, NMHDR*, LRESULT*)
#define AFX_NOTIFY_ARGS \
    AFX_NOTIFY* pAfxNotify = static_cast<AFX_NOTIFY*>(afxCall.pExtra);
#define ON_NOTIFY(wNotifyCode, id, memberFxn) \
    {WM_NOTIFY, (UINT)(WORD)(wNotifyCode), (UINT)(id), (UINT)(id), nullptr, AFX_MSG_STUB(AFX_NOTIFY_ARGS \
        pAfxThis->memberFxn(pAfxNotify->pNMHDR, pAfxNotify->pResult); return TRUE;)},
#define ON_NOTIFY_RANGE(wNotifyCode, id, idLast, memberFxn) \
    {WM_NOTIFY, (UINT)(WORD)(wNotifyCode), (UINT)(id), (UINT)(idLast), nullptr, AFX_MSG_STUB(AFX_NOTIFY_ARGS \
        pAfxThis->memberFxn(afxCall.nID, pAfxNotify->pNMHDR, pAfxNotify->pResult); return TRUE;)},
#define ON_NOTIFY_EX(wNotifyCode, id, memberFxn) \
    {WM_NOTIFY, (UINT)(WORD)(wNotifyCode), (UINT)(id), (UINT)(id), nullptr, AFX_MSG_STUB(AFX_NOTIFY_ARGS \
        return pAfxThis->memberFxn(afxCall.nID, pAfxNotify->pNMHDR, pAfxNotify->pResult);)},
#define ON_NOTIFY_EX_RANGE(wNotifyCode, id, idLast, memberFxn) \
    {WM_NOTIFY, (UINT)(WORD)(wNotifyCode), (UINT)(id), (UINT)(idLast), nullptr, AFX_MSG_STUB(AFX_NOTIFY_ARGS \
        return pAfxThis->memberFxn(afxCall.nID, pAfxNotify->pNMHDR, pAfxNotify->pResult);)},

// Reflection: a control handles its own notifications before its parent.
// ON_NOTIFY_REFLECT: void memberFxn(NMHDR*, LRESULT*); _EX returns BOOL
// (FALSE lets the parent handle it too). ON_CONTROL_REFLECT: void memberFxn();
// _EX returns BOOL.
#define ON_NOTIFY_REFLECT(wNotifyCode, memberFxn) \
    {WM_REFLECT_BASE + WM_NOTIFY, (UINT)(WORD)(wNotifyCode), 0, 0, nullptr, AFX_MSG_STUB(AFX_NOTIFY_ARGS \
        pAfxThis->memberFxn(pAfxNotify->pNMHDR, pAfxNotify->pResult); return TRUE;)},
#define ON_NOTIFY_REFLECT_EX(wNotifyCode, memberFxn) \
    {WM_REFLECT_BASE + WM_NOTIFY, (UINT)(WORD)(wNotifyCode), 0, 0, nullptr, AFX_MSG_STUB(AFX_NOTIFY_ARGS \
        return pAfxThis->memberFxn(pAfxNotify->pNMHDR, pAfxNotify->pResult);)},
#define ON_CONTROL_REFLECT(wNotifyCode, memberFxn) \
    {WM_REFLECT_BASE + WM_COMMAND, (UINT)(WORD)(wNotifyCode), 0, 0, nullptr, \
     AFX_MSG_STUB(pAfxThis->memberFxn(); return TRUE;)},
#define ON_CONTROL_REFLECT_EX(wNotifyCode, memberFxn) \
    {WM_REFLECT_BASE + WM_COMMAND, (UINT)(WORD)(wNotifyCode), 0, 0, nullptr, \
     AFX_MSG_STUB(return pAfxThis->memberFxn();)},

// HBRUSH CtlColor(CDC*, UINT nCtlColor); a NULL brush lets the parent decide.
#define ON_WM_CTLCOLOR_REFLECT() \
    AFX_WM_ENTRY(WM_REFLECT_BASE + WM_CTLCOLOR, \
        AFX_CTLCOLOR* pAfxCtl = reinterpret_cast<AFX_CTLCOLOR*>(afxCall.lParam); \
        HBRUSH hAfxBrush = pAfxThis->CtlColor(CDC::FromHandle(pAfxCtl->hDC), pAfxCtl->nCtlType); \
        afxCall.lResult = (LRESULT)hAfxBrush; return hAfxBrush != NULL;)
#define ON_WM_DRAWITEM_REFLECT() \
    AFX_WM_ENTRY(WM_REFLECT_BASE + WM_DRAWITEM, \
        pAfxThis->DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(afxCall.lParam)); afxCall.lResult = TRUE; return TRUE;)
#define ON_WM_MEASUREITEM_REFLECT() \
    AFX_WM_ENTRY(WM_REFLECT_BASE + WM_MEASUREITEM, \
        pAfxThis->MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(afxCall.lParam)); afxCall.lResult = TRUE; return TRUE;)
#define ON_WM_DELETEITEM_REFLECT() \
    AFX_WM_ENTRY(WM_REFLECT_BASE + WM_DELETEITEM, \
        pAfxThis->DeleteItem(reinterpret_cast<LPDELETEITEMSTRUCT>(afxCall.lParam)); afxCall.lResult = TRUE; return TRUE;)
#define ON_WM_COMPAREITEM_REFLECT() \
    AFX_WM_ENTRY(WM_REFLECT_BASE + WM_COMPAREITEM, \
        afxCall.lResult = pAfxThis->CompareItem(reinterpret_cast<LPCOMPAREITEMSTRUCT>(afxCall.lParam)); return TRUE;)
#define ON_WM_CHARTOITEM_REFLECT() \
    AFX_WM_ENTRY(WM_REFLECT_BASE + WM_CHARTOITEM, \
        afxCall.lResult = pAfxThis->CharToItem(LOWORD(afxCall.wParam), HIWORD(afxCall.wParam)); return TRUE;)
#define ON_WM_VKEYTOITEM_REFLECT() \
    AFX_WM_ENTRY(WM_REFLECT_BASE + WM_VKEYTOITEM, \
        afxCall.lResult = pAfxThis->VKeyToItem(LOWORD(afxCall.wParam), HIWORD(afxCall.wParam)); return TRUE;)
#define ON_WM_HSCROLL_REFLECT() \
    AFX_WM_ENTRY(WM_REFLECT_BASE + WM_HSCROLL, \
        pAfxThis->HScroll(LOWORD(afxCall.wParam), HIWORD(afxCall.wParam)); return TRUE;)
#define ON_WM_VSCROLL_REFLECT() \
    AFX_WM_ENTRY(WM_REFLECT_BASE + WM_VSCROLL, \
        pAfxThis->VScroll(LOWORD(afxCall.wParam), HIWORD(afxCall.wParam)); return TRUE;)
#define ON_WM_PARENTNOTIFY_REFLECT() \
    AFX_WM_ENTRY(WM_REFLECT_BASE + WM_PARENTNOTIFY, \
        pAfxThis->ParentNotify(LOWORD(afxCall.wParam), afxCall.lParam); return TRUE;)

// Window messages, with the handler signatures of the framework.
#define ON_WM_CREATE() AFX_WM_ENTRY(WM_CREATE, \
    afxCall.lResult = (LRESULT)pAfxThis->OnCreate(reinterpret_cast<LPCREATESTRUCT>(afxCall.lParam)); return TRUE;)
#define ON_WM_NCCREATE() AFX_WM_ENTRY(WM_NCCREATE, \
    afxCall.lResult = (LRESULT)pAfxThis->OnNcCreate(reinterpret_cast<LPCREATESTRUCT>(afxCall.lParam)); return TRUE;)
#define ON_WM_DESTROY() AFX_WM_ENTRY(WM_DESTROY, pAfxThis->OnDestroy(); return TRUE;)
#define ON_WM_NCDESTROY() AFX_WM_ENTRY(WM_NCDESTROY, pAfxThis->OnNcDestroy(); return TRUE;)
#define ON_WM_CLOSE() AFX_WM_ENTRY(WM_CLOSE, pAfxThis->OnClose(); return TRUE;)
#define ON_WM_PAINT() AFX_WM_ENTRY(WM_PAINT, pAfxThis->OnPaint(); return TRUE;)
#define ON_WM_NCPAINT() AFX_WM_ENTRY(WM_NCPAINT, pAfxThis->OnNcPaint(); return TRUE;)
#define ON_WM_ERASEBKGND() AFX_WM_ENTRY(WM_ERASEBKGND, \
    afxCall.lResult = (LRESULT)pAfxThis->OnEraseBkgnd(CDC::FromHandle((HDC)afxCall.wParam)); return TRUE;)
#define ON_WM_SIZE() AFX_WM_ENTRY(WM_SIZE, \
    pAfxThis->OnSize((UINT)afxCall.wParam, (int)(short)LOWORD(afxCall.lParam), (int)(short)HIWORD(afxCall.lParam)); return TRUE;)
#define ON_WM_MOVE() AFX_WM_ENTRY(WM_MOVE, \
    pAfxThis->OnMove((int)(short)LOWORD(afxCall.lParam), (int)(short)HIWORD(afxCall.lParam)); return TRUE;)
#define ON_WM_SIZING() AFX_WM_ENTRY(WM_SIZING, \
    pAfxThis->OnSizing((UINT)afxCall.wParam, reinterpret_cast<LPRECT>(afxCall.lParam)); afxCall.lResult = TRUE; return TRUE;)
#define ON_WM_MOVING() AFX_WM_ENTRY(WM_MOVING, \
    pAfxThis->OnMoving((UINT)afxCall.wParam, reinterpret_cast<LPRECT>(afxCall.lParam)); afxCall.lResult = TRUE; return TRUE;)
#define ON_WM_TIMER() AFX_WM_ENTRY(WM_TIMER, pAfxThis->OnTimer(afxCall.wParam); return TRUE;)
#define ON_WM_SHOWWINDOW() AFX_WM_ENTRY(WM_SHOWWINDOW, \
    pAfxThis->OnShowWindow((BOOL)afxCall.wParam, (UINT)afxCall.lParam); return TRUE;)
#define ON_WM_WINDOWPOSCHANGING() AFX_WM_ENTRY(WM_WINDOWPOSCHANGING, \
    pAfxThis->OnWindowPosChanging(reinterpret_cast<WINDOWPOS*>(afxCall.lParam)); return TRUE;)
#define ON_WM_WINDOWPOSCHANGED() AFX_WM_ENTRY(WM_WINDOWPOSCHANGED, \
    pAfxThis->OnWindowPosChanged(reinterpret_cast<WINDOWPOS*>(afxCall.lParam)); return TRUE;)
#define ON_WM_GETMINMAXINFO() AFX_WM_ENTRY(WM_GETMINMAXINFO, \
    pAfxThis->OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(afxCall.lParam)); return TRUE;)
#define ON_WM_STYLECHANGING() AFX_WM_ENTRY(WM_STYLECHANGING, \
    pAfxThis->OnStyleChanging((int)afxCall.wParam, reinterpret_cast<LPSTYLESTRUCT>(afxCall.lParam)); return TRUE;)
#define ON_WM_STYLECHANGED() AFX_WM_ENTRY(WM_STYLECHANGED, \
    pAfxThis->OnStyleChanged((int)afxCall.wParam, reinterpret_cast<LPSTYLESTRUCT>(afxCall.lParam)); return TRUE;)
#define ON_WM_ACTIVATE() AFX_WM_ENTRY(WM_ACTIVATE, \
    pAfxThis->OnActivate(LOWORD(afxCall.wParam), CWnd::FromHandle((HWND)afxCall.lParam), (BOOL)HIWORD(afxCall.wParam)); return TRUE;)
#define ON_WM_ACTIVATEAPP() AFX_WM_ENTRY(WM_ACTIVATEAPP, \
    pAfxThis->OnActivateApp((BOOL)afxCall.wParam, (DWORD)afxCall.lParam); return TRUE;)
#define ON_WM_MOUSEACTIVATE() AFX_WM_ENTRY(WM_MOUSEACTIVATE, \
    afxCall.lResult = pAfxThis->OnMouseActivate(CWnd::FromHandle((HWND)afxCall.wParam), LOWORD(afxCall.lParam), HIWORD(afxCall.lParam)); return TRUE;)
#define ON_WM_NCACTIVATE() AFX_WM_ENTRY(WM_NCACTIVATE, \
    afxCall.lResult = (LRESULT)pAfxThis->OnNcActivate((BOOL)afxCall.wParam); return TRUE;)
#define ON_WM_NCCALCSIZE() AFX_WM_ENTRY(WM_NCCALCSIZE, \
    pAfxThis->OnNcCalcSize((BOOL)afxCall.wParam, reinterpret_cast<NCCALCSIZE_PARAMS*>(afxCall.lParam)); return TRUE;)
#define ON_WM_NCHITTEST() AFX_WM_ENTRY(WM_NCHITTEST, \
    afxCall.lResult = (LRESULT)pAfxThis->OnNcHitTest(AFX_POINT_LPARAM); return TRUE;)
#define ON_WM_SETFOCUS() AFX_WM_ENTRY(WM_SETFOCUS, \
    pAfxThis->OnSetFocus(CWnd::FromHandle((HWND)afxCall.wParam)); return TRUE;)
#define ON_WM_KILLFOCUS() AFX_WM_ENTRY(WM_KILLFOCUS, \
    pAfxThis->OnKillFocus(CWnd::FromHandle((HWND)afxCall.wParam)); return TRUE;)
#define ON_WM_ENABLE() AFX_WM_ENTRY(WM_ENABLE, pAfxThis->OnEnable((BOOL)afxCall.wParam); return TRUE;)
#define ON_WM_CANCELMODE() AFX_WM_ENTRY(WM_CANCELMODE, pAfxThis->OnCancelMode(); return TRUE;)
#define ON_WM_CAPTURECHANGED() AFX_WM_ENTRY(WM_CAPTURECHANGED, \
    pAfxThis->OnCaptureChanged(CWnd::FromHandle((HWND)afxCall.lParam)); return TRUE;)
#define ON_WM_SETCURSOR() AFX_WM_ENTRY(WM_SETCURSOR, \
    afxCall.lResult = (LRESULT)pAfxThis->OnSetCursor(CWnd::FromHandle((HWND)afxCall.wParam), LOWORD(afxCall.lParam), HIWORD(afxCall.lParam)); return TRUE;)
#define ON_WM_GETDLGCODE() AFX_WM_ENTRY(WM_GETDLGCODE, \
    afxCall.lResult = (LRESULT)pAfxThis->OnGetDlgCode(); return TRUE;)
#define ON_WM_COPYDATA() AFX_WM_ENTRY(WM_COPYDATA, \
    afxCall.lResult = (LRESULT)pAfxThis->OnCopyData(CWnd::FromHandle((HWND)afxCall.wParam), reinterpret_cast<COPYDATASTRUCT*>(afxCall.lParam)); return TRUE;)
#define ON_WM_SYSCOMMAND() AFX_WM_ENTRY(WM_SYSCOMMAND, \
    pAfxThis->OnSysCommand((UINT)afxCall.wParam, afxCall.lParam); return TRUE;)
#define ON_WM_SYSCOLORCHANGE() AFX_WM_ENTRY(WM_SYSCOLORCHANGE, pAfxThis->OnSysColorChange(); return TRUE;)
#define ON_WM_SETTINGCHANGE() AFX_WM_ENTRY(WM_SETTINGCHANGE, \
    pAfxThis->OnSettingChange((UINT)afxCall.wParam, reinterpret_cast<LPCTSTR>(afxCall.lParam)); return TRUE;)
#define ON_WM_QUERYNEWPALETTE() AFX_WM_ENTRY(WM_QUERYNEWPALETTE, \
    afxCall.lResult = (LRESULT)pAfxThis->OnQueryNewPalette(); return TRUE;)
#define ON_WM_PALETTECHANGED() AFX_WM_ENTRY(WM_PALETTECHANGED, \
    pAfxThis->OnPaletteChanged(CWnd::FromHandle((HWND)afxCall.wParam)); return TRUE;)
#define ON_WM_QUERYDRAGICON() AFX_WM_ENTRY(WM_QUERYDRAGICON, \
    afxCall.lResult = (LRESULT)pAfxThis->OnQueryDragIcon(); return TRUE;)
#define ON_WM_CONTEXTMENU() AFX_WM_ENTRY(WM_CONTEXTMENU, \
    pAfxThis->OnContextMenu(CWnd::FromHandle((HWND)afxCall.wParam), AFX_POINT_LPARAM); return TRUE;)
#define ON_WM_INITMENU() AFX_WM_ENTRY(WM_INITMENU, \
    pAfxThis->OnInitMenu(CMenu::FromHandle((HMENU)afxCall.wParam)); return TRUE;)
#define ON_WM_INITMENUPOPUP() AFX_WM_ENTRY(WM_INITMENUPOPUP, \
    pAfxThis->OnInitMenuPopup(CMenu::FromHandle((HMENU)afxCall.wParam), LOWORD(afxCall.lParam), (BOOL)HIWORD(afxCall.lParam)); return TRUE;)
#define ON_WM_MENUCHAR() AFX_WM_ENTRY(WM_MENUCHAR, \
    afxCall.lResult = pAfxThis->OnMenuChar(LOWORD(afxCall.wParam), HIWORD(afxCall.wParam), CMenu::FromHandle((HMENU)afxCall.lParam)); return TRUE;)
#define ON_WM_ENTERIDLE() AFX_WM_ENTRY(WM_ENTERIDLE, \
    pAfxThis->OnEnterIdle((UINT)afxCall.wParam, CWnd::FromHandle((HWND)afxCall.lParam)); return TRUE;)
#define ON_WM_PARENTNOTIFY() AFX_WM_ENTRY(WM_PARENTNOTIFY, \
    pAfxThis->OnParentNotify((UINT)afxCall.wParam, afxCall.lParam); return TRUE;)

// Owner-draw messages and WM_CTLCOLOR (every WM_CTLCOLOR... message).
#define ON_WM_CTLCOLOR() AFX_WM_ENTRY(WM_CTLCOLOR, \
    afxCall.lResult = (LRESULT)pAfxThis->OnCtlColor(CDC::FromHandle((HDC)afxCall.wParam), \
        CWnd::FromHandle((HWND)afxCall.lParam), afxCall.message - WM_CTLCOLORMSGBOX); return TRUE;)
#define ON_WM_DRAWITEM() AFX_WM_ENTRY(WM_DRAWITEM, \
    pAfxThis->OnDrawItem((int)afxCall.wParam, reinterpret_cast<LPDRAWITEMSTRUCT>(afxCall.lParam)); afxCall.lResult = TRUE; return TRUE;)
#define ON_WM_MEASUREITEM() AFX_WM_ENTRY(WM_MEASUREITEM, \
    pAfxThis->OnMeasureItem((int)afxCall.wParam, reinterpret_cast<LPMEASUREITEMSTRUCT>(afxCall.lParam)); afxCall.lResult = TRUE; return TRUE;)
#define ON_WM_DELETEITEM() AFX_WM_ENTRY(WM_DELETEITEM, \
    pAfxThis->OnDeleteItem((int)afxCall.wParam, reinterpret_cast<LPDELETEITEMSTRUCT>(afxCall.lParam)); afxCall.lResult = TRUE; return TRUE;)
#define ON_WM_COMPAREITEM() AFX_WM_ENTRY(WM_COMPAREITEM, \
    afxCall.lResult = pAfxThis->OnCompareItem((int)afxCall.wParam, reinterpret_cast<LPCOMPAREITEMSTRUCT>(afxCall.lParam)); return TRUE;)
#define ON_WM_CHARTOITEM() AFX_WM_ENTRY(WM_CHARTOITEM, \
    afxCall.lResult = pAfxThis->OnCharToItem(LOWORD(afxCall.wParam), \
        reinterpret_cast<CListBox*>(CWnd::FromHandle((HWND)afxCall.lParam)), HIWORD(afxCall.wParam)); return TRUE;)
#define ON_WM_VKEYTOITEM() AFX_WM_ENTRY(WM_VKEYTOITEM, \
    afxCall.lResult = pAfxThis->OnVKeyToItem(LOWORD(afxCall.wParam), \
        reinterpret_cast<CListBox*>(CWnd::FromHandle((HWND)afxCall.lParam)), HIWORD(afxCall.wParam)); return TRUE;)
#define ON_WM_HSCROLL() AFX_WM_ENTRY(WM_HSCROLL, \
    pAfxThis->OnHScroll(LOWORD(afxCall.wParam), HIWORD(afxCall.wParam), \
        reinterpret_cast<CScrollBar*>(CWnd::FromHandle((HWND)afxCall.lParam))); return TRUE;)
#define ON_WM_VSCROLL() AFX_WM_ENTRY(WM_VSCROLL, \
    pAfxThis->OnVScroll(LOWORD(afxCall.wParam), HIWORD(afxCall.wParam), \
        reinterpret_cast<CScrollBar*>(CWnd::FromHandle((HWND)afxCall.lParam))); return TRUE;)

// Keyboard
#define AFX_KEY_ENTRY(msg, memberFxn) AFX_WM_ENTRY(msg, \
    pAfxThis->memberFxn((UINT)afxCall.wParam, LOWORD(afxCall.lParam), HIWORD(afxCall.lParam)); return TRUE;)
#define ON_WM_KEYDOWN()    AFX_KEY_ENTRY(WM_KEYDOWN, OnKeyDown)
#define ON_WM_KEYUP()      AFX_KEY_ENTRY(WM_KEYUP, OnKeyUp)
#define ON_WM_CHAR()       AFX_KEY_ENTRY(WM_CHAR, OnChar)
#define ON_WM_DEADCHAR()   AFX_KEY_ENTRY(WM_DEADCHAR, OnDeadChar)
#define ON_WM_SYSKEYDOWN() AFX_KEY_ENTRY(WM_SYSKEYDOWN, OnSysKeyDown)
#define ON_WM_SYSKEYUP()   AFX_KEY_ENTRY(WM_SYSKEYUP, OnSysKeyUp)
#define ON_WM_SYSCHAR()    AFX_KEY_ENTRY(WM_SYSCHAR, OnSysChar)

// Mouse (client coordinates) and non-client mouse (hit code, screen point)
#define AFX_MOUSE_ENTRY(msg, memberFxn) AFX_WM_ENTRY(msg, \
    pAfxThis->memberFxn((UINT)afxCall.wParam, AFX_POINT_LPARAM); return TRUE;)
#define ON_WM_MOUSEMOVE()     AFX_MOUSE_ENTRY(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_LBUTTONDOWN()   AFX_MOUSE_ENTRY(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP()     AFX_MOUSE_ENTRY(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_MOUSE_ENTRY(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN()   AFX_MOUSE_ENTRY(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_RBUTTONUP()     AFX_MOUSE_ENTRY(WM_RBUTTONUP, OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK() AFX_MOUSE_ENTRY(WM_RBUTTONDBLCLK, OnRButtonDblClk)
#define ON_WM_MBUTTONDOWN()   AFX_MOUSE_ENTRY(WM_MBUTTONDOWN, OnMButtonDown)
#define ON_WM_MBUTTONUP()     AFX_MOUSE_ENTRY(WM_MBUTTONUP, OnMButtonUp)
#define ON_WM_MBUTTONDBLCLK() AFX_MOUSE_ENTRY(WM_MBUTTONDBLCLK, OnMButtonDblClk)
#define ON_WM_MOUSEHOVER()    AFX_MOUSE_ENTRY(WM_MOUSEHOVER, OnMouseHover)
#define ON_WM_MOUSELEAVE()    AFX_WM_ENTRY(WM_MOUSELEAVE, pAfxThis->OnMouseLeave(); return TRUE;)
#define ON_WM_MOUSEWHEEL() AFX_WM_ENTRY(WM_MOUSEWHEEL, \
    afxCall.lResult = (LRESULT)pAfxThis->OnMouseWheel(LOWORD(afxCall.wParam), (short)HIWORD(afxCall.wParam), AFX_POINT_LPARAM); return TRUE;)
#define AFX_NCMOUSE_ENTRY(msg, memberFxn) AFX_WM_ENTRY(msg, \
    pAfxThis->memberFxn((UINT)afxCall.wParam, AFX_POINT_LPARAM); return TRUE;)
#define ON_WM_NCMOUSEMOVE()     AFX_NCMOUSE_ENTRY(WM_NCMOUSEMOVE, OnNcMouseMove)
#define ON_WM_NCLBUTTONDOWN()   AFX_NCMOUSE_ENTRY(WM_NCLBUTTONDOWN, OnNcLButtonDown)
#define ON_WM_NCLBUTTONUP()     AFX_NCMOUSE_ENTRY(WM_NCLBUTTONUP, OnNcLButtonUp)
#define ON_WM_NCLBUTTONDBLCLK() AFX_NCMOUSE_ENTRY(WM_NCLBUTTONDBLCLK, OnNcLButtonDblClk)
#define ON_WM_NCRBUTTONDOWN()   AFX_NCMOUSE_ENTRY(WM_NCRBUTTONDOWN, OnNcRButtonDown)
#define ON_WM_NCRBUTTONUP()     AFX_NCMOUSE_ENTRY(WM_NCRBUTTONUP, OnNcRButtonUp)
#define ON_WM_NCRBUTTONDBLCLK() AFX_NCMOUSE_ENTRY(WM_NCRBUTTONDBLCLK, OnNcRButtonDblClk)
#define ON_WM_NCMBUTTONDOWN()   AFX_NCMOUSE_ENTRY(WM_NCMBUTTONDOWN, OnNcMButtonDown)
#define ON_WM_NCMBUTTONUP()     AFX_NCMOUSE_ENTRY(WM_NCMBUTTONUP, OnNcMButtonUp)

/////////////////////////////////////////////////////////////////////////////
// CCmdTarget: the base of everything that has a message map

class CCmdTarget : public CObject
{
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() = default;

    // Routes a command or notification through the message map.
    // nCode: the notification code in the low word and, in the high word,
    // WM_NOTIFY, WM_REFLECT_BASE + WM_COMMAND or WM_REFLECT_BASE + WM_NOTIFY
    // (0 = WM_COMMAND). pExtra: AFX_NOTIFY* for notifications.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    void BeginWaitCursor();
    void EndWaitCursor();
    void RestoreWaitCursor();

protected:
    static const AFX_MSGMAP* PASCAL GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

    // The first entry of this object's maps (most derived first) for a window
    // message (registered messages included), or NULL.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT nMessage) const;
};

/////////////////////////////////////////////////////////////////////////////
// GDI objects

class CGdiObject : public CObject
{
    DECLARE_DYNAMIC(CGdiObject)
public:
    CGdiObject() : m_hObject(NULL) {}
    ~CGdiObject() override;                  // deletes the object it holds

    HGDIOBJ m_hObject;

    operator HGDIOBJ() const { return m_hObject; }
    HGDIOBJ GetSafeHandle() const { return this == NULL ? NULL : m_hObject; }

    // A temporary object for the handle (freed when the application is idle);
    // its class follows the object's type (CFont for a font ...).
    static CGdiObject* PASCAL FromHandle(HGDIOBJ hObject);

    BOOL Attach(HGDIOBJ hObject);            // FALSE when one is held already
    HGDIOBJ Detach();
    BOOL DeleteObject();                     // FALSE when none was held

    int GetObject(int nCount, LPVOID lpObject) const
    { return m_hObject ? ::GetObject(m_hObject, nCount, lpObject) : 0; }
    UINT GetObjectType() const { return m_hObject ? (UINT)::GetObjectType(m_hObject) : 0; }
    BOOL CreateStockObject(int nIndex);
    BOOL UnrealizeObject() { return ::UnrealizeObject(m_hObject); }
    BOOL operator==(const CGdiObject& obj) const { return obj.m_hObject == m_hObject; }
    BOOL operator!=(const CGdiObject& obj) const { return obj.m_hObject != m_hObject; }
};

class CPen : public CGdiObject
{
    DECLARE_DYNAMIC(CPen)
public:
    CPen() = default;
    CPen(int nPenStyle, int nWidth, COLORREF crColor);   // throws CResourceException
    static CPen* PASCAL FromHandle(HPEN hPen) { return static_cast<CPen*>(CGdiObject::FromHandle(hPen)); }
    operator HPEN() const { return (HPEN)m_hObject; }
    BOOL CreatePen(int nPenStyle, int nWidth, COLORREF crColor) { return Attach(::CreatePen(nPenStyle, nWidth, crColor)); }
    BOOL CreatePenIndirect(LPLOGPEN lpLogPen) { return Attach(::CreatePenIndirect(lpLogPen)); }
    int GetLogPen(LOGPEN* pLogPen) { return GetObject(sizeof(LOGPEN), pLogPen); }
};

class CBrush : public CGdiObject
{
    DECLARE_DYNAMIC(CBrush)
public:
    CBrush() = default;
    explicit CBrush(COLORREF crColor);                   // throws CResourceException
    CBrush(int nIndex, COLORREF crColor);                // hatched
    explicit CBrush(CBitmap* pBitmap);                   // pattern
    static CBrush* PASCAL FromHandle(HBRUSH hBrush) { return static_cast<CBrush*>(CGdiObject::FromHandle(hBrush)); }
    operator HBRUSH() const { return (HBRUSH)m_hObject; }
    BOOL CreateSolidBrush(COLORREF crColor) { return Attach(::CreateSolidBrush(crColor)); }
    BOOL CreateHatchBrush(int nIndex, COLORREF crColor) { return Attach(::CreateHatchBrush(nIndex, crColor)); }
    BOOL CreateBrushIndirect(const LOGBRUSH* lpLogBrush) { return Attach(::CreateBrushIndirect(lpLogBrush)); }
    BOOL CreatePatternBrush(CBitmap* pBitmap);
    BOOL CreateSysColorBrush(int nIndex) { return Attach(::GetSysColorBrush(nIndex)); }
    int GetLogBrush(LOGBRUSH* pLogBrush) { return GetObject(sizeof(LOGBRUSH), pLogBrush); }
};

class CFont : public CGdiObject
{
    DECLARE_DYNAMIC(CFont)
public:
    CFont() = default;
    static CFont* PASCAL FromHandle(HFONT hFont) { return static_cast<CFont*>(CGdiObject::FromHandle(hFont)); }
    operator HFONT() const { return (HFONT)m_hObject; }
    BOOL CreateFontIndirect(const LOGFONT* lpLogFont) { return Attach(::CreateFontIndirect(lpLogFont)); }
    BOOL CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic,
                    BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision, BYTE nClipPrecision,
                    BYTE nQuality, BYTE nPitchAndFamily, LPCTSTR lpszFacename)
    {
        return Attach(::CreateFont(nHeight, nWidth, nEscapement, nOrientation, nWeight, bItalic, bUnderline,
                                   cStrikeOut, nCharSet, nOutPrecision, nClipPrecision, nQuality,
                                   nPitchAndFamily, lpszFacename));
    }
    // nPointSize in tenths of a point, measured on pDC (the screen when NULL).
    BOOL CreatePointFont(int nPointSize, LPCTSTR lpszFaceName, CDC* pDC = NULL);
    int GetLogFont(LOGFONT* pLogFont) { return GetObject(sizeof(LOGFONT), pLogFont); }
};

class CBitmap : public CGdiObject
{
    DECLARE_DYNAMIC(CBitmap)
public:
    CBitmap() = default;
    static CBitmap* PASCAL FromHandle(HBITMAP hBitmap) { return static_cast<CBitmap*>(CGdiObject::FromHandle(hBitmap)); }
    operator HBITMAP() const { return (HBITMAP)m_hObject; }
    // From the resource module first, then the program.
    BOOL LoadBitmap(LPCTSTR lpszResourceName);
    BOOL LoadBitmap(UINT nIDResource) { return LoadBitmap(MAKEINTRESOURCE(nIDResource)); }
    BOOL LoadOEMBitmap(UINT nIDBitmap) { return Attach(::LoadBitmap(NULL, MAKEINTRESOURCE(nIDBitmap))); }
    // The bitmap with its grey and black shades mapped to the system's button colours.
    BOOL LoadMappedBitmap(UINT nIDBitmap, UINT nFlags = 0, LPCOLORMAP lpColorMap = NULL, int nMapSize = 0);
    BOOL CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits)
    { return Attach(::CreateBitmap(nWidth, nHeight, nPlanes, nBitcount, lpBits)); }
    BOOL CreateBitmapIndirect(LPBITMAP lpBitmap) { return Attach(::CreateBitmapIndirect(lpBitmap)); }
    BOOL CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight);
    BOOL CreateDiscardableBitmap(CDC* pDC, int nWidth, int nHeight);
    int GetBitmap(BITMAP* pBitMap) { return GetObject(sizeof(BITMAP), pBitMap); }
    DWORD SetBitmapBits(DWORD dwCount, const void* lpBits) { return (DWORD)::SetBitmapBits((HBITMAP)m_hObject, dwCount, lpBits); }
    DWORD GetBitmapBits(DWORD dwCount, LPVOID lpBits) const { return (DWORD)::GetBitmapBits((HBITMAP)m_hObject, dwCount, lpBits); }
    CSize GetBitmapDimension() const { SIZE s = {0, 0}; ::GetBitmapDimensionEx((HBITMAP)m_hObject, &s); return s; }
};

class CPalette : public CGdiObject
{
    DECLARE_DYNAMIC(CPalette)
public:
    CPalette() = default;
    static CPalette* PASCAL FromHandle(HPALETTE hPalette) { return static_cast<CPalette*>(CGdiObject::FromHandle(hPalette)); }
    operator HPALETTE() const { return (HPALETTE)m_hObject; }
    BOOL CreatePalette(LPLOGPALETTE lpLogPalette) { return Attach(::CreatePalette(lpLogPalette)); }
    BOOL CreateHalftonePalette(CDC* pDC);
    int GetEntryCount() { WORD n = 0; ::GetObject(m_hObject, sizeof(n), &n); return n; }
    UINT GetPaletteEntries(UINT nStartIndex, UINT nNumEntries, LPPALETTEENTRY lpPaletteColors) const
    { return ::GetPaletteEntries((HPALETTE)m_hObject, nStartIndex, nNumEntries, lpPaletteColors); }
    UINT SetPaletteEntries(UINT nStartIndex, UINT nNumEntries, LPPALETTEENTRY lpPaletteColors)
    { return ::SetPaletteEntries((HPALETTE)m_hObject, nStartIndex, nNumEntries, lpPaletteColors); }
    void AnimatePalette(UINT nStartIndex, UINT nNumEntries, LPPALETTEENTRY lpPaletteColors)
    { ::AnimatePalette((HPALETTE)m_hObject, nStartIndex, nNumEntries, lpPaletteColors); }
    UINT GetNearestPaletteIndex(COLORREF crColor) const { return ::GetNearestPaletteIndex((HPALETTE)m_hObject, crColor); }
    BOOL ResizePalette(UINT nNumEntries) { return ::ResizePalette((HPALETTE)m_hObject, nNumEntries); }
};

class CRgn : public CGdiObject
{
    DECLARE_DYNAMIC(CRgn)
public:
    CRgn() = default;
    static CRgn* PASCAL FromHandle(HRGN hRgn) { return static_cast<CRgn*>(CGdiObject::FromHandle(hRgn)); }
    operator HRGN() const { return (HRGN)m_hObject; }
    BOOL CreateRectRgn(int x1, int y1, int x2, int y2) { return Attach(::CreateRectRgn(x1, y1, x2, y2)); }
    BOOL CreateRectRgnIndirect(LPCRECT lpRect) { return Attach(::CreateRectRgnIndirect(lpRect)); }
    BOOL CreateEllipticRgn(int x1, int y1, int x2, int y2) { return Attach(::CreateEllipticRgn(x1, y1, x2, y2)); }
    BOOL CreateEllipticRgnIndirect(LPCRECT lpRect) { return Attach(::CreateEllipticRgnIndirect(lpRect)); }
    BOOL CreatePolygonRgn(LPPOINT lpPoints, int nCount, int nMode) { return Attach(::CreatePolygonRgn(lpPoints, nCount, nMode)); }
    BOOL CreatePolyPolygonRgn(LPPOINT lpPoints, LPINT lpPolyCounts, int nCount, int nPolyFillMode)
    { return Attach(::CreatePolyPolygonRgn(lpPoints, lpPolyCounts, nCount, nPolyFillMode)); }
    BOOL CreateRoundRectRgn(int x1, int y1, int x2, int y2, int x3, int y3)
    { return Attach(::CreateRoundRectRgn(x1, y1, x2, y2, x3, y3)); }
    BOOL CreateFromPath(CDC* pDC);
    BOOL CreateFromData(const XFORM* lpXForm, int nCount, const RGNDATA* pRgnData)
    { return Attach(::ExtCreateRegion(lpXForm, (DWORD)nCount, pRgnData)); }
    void SetRectRgn(int x1, int y1, int x2, int y2) { ::SetRectRgn((HRGN)m_hObject, x1, y1, x2, y2); }
    void SetRectRgn(LPCRECT lpRect) { ::SetRectRgn((HRGN)m_hObject, lpRect->left, lpRect->top, lpRect->right, lpRect->bottom); }
    int CombineRgn(const CRgn* pRgn1, const CRgn* pRgn2, int nCombineMode)
    { return ::CombineRgn((HRGN)m_hObject, (HRGN)pRgn1->GetSafeHandle(), (HRGN)pRgn2->GetSafeHandle(), nCombineMode); }
    int CopyRgn(const CRgn* pRgnSrc) { return ::CombineRgn((HRGN)m_hObject, (HRGN)pRgnSrc->GetSafeHandle(), NULL, RGN_COPY); }
    BOOL EqualRgn(const CRgn* pRgn) const { return ::EqualRgn((HRGN)m_hObject, (HRGN)pRgn->GetSafeHandle()); }
    int OffsetRgn(int x, int y) { return ::OffsetRgn((HRGN)m_hObject, x, y); }
    int OffsetRgn(POINT point) { return ::OffsetRgn((HRGN)m_hObject, point.x, point.y); }
    int GetRgnBox(LPRECT lpRect) const { return ::GetRgnBox((HRGN)m_hObject, lpRect); }
    BOOL PtInRegion(int x, int y) const { return ::PtInRegion((HRGN)m_hObject, x, y); }
    BOOL PtInRegion(POINT point) const { return ::PtInRegion((HRGN)m_hObject, point.x, point.y); }
    BOOL RectInRegion(LPCRECT lpRect) const { return ::RectInRegion((HRGN)m_hObject, lpRect); }
    int GetRegionData(LPRGNDATA lpRgnData, int nCount) const
    { return (int)::GetRegionData((HRGN)m_hObject, (DWORD)nCount, lpRgnData); }
};

/////////////////////////////////////////////////////////////////////////////
// Device contexts

class CDC : public CObject
{
    DECLARE_DYNAMIC(CDC)
public:
    CDC() : m_hDC(NULL), m_hAttribDC(NULL), m_bPrinting(FALSE) {}
    ~CDC() override;                         // deletes a DC it holds (DeleteDC)

    HDC m_hDC;
    HDC m_hAttribDC;                         // the same handle as m_hDC
    BOOL m_bPrinting;

    operator HDC() const { return m_hDC; }
    HDC GetSafeHdc() const { return this == NULL ? NULL : m_hDC; }
    static CDC* PASCAL FromHandle(HDC hDC);  // temporary object
    BOOL Attach(HDC hDC);                    // FALSE when one is held already
    HDC Detach();
    BOOL IsPrinting() const { return m_bPrinting; }
    CWnd* GetWindow() const;

    BOOL CreateDC(LPCTSTR lpszDriverName, LPCTSTR lpszDeviceName, LPCTSTR lpszOutput, const void* lpInitData)
    { return Attach(::CreateDC(lpszDriverName, lpszDeviceName, lpszOutput, (const DEVMODE*)lpInitData)); }
    BOOL CreateCompatibleDC(CDC* pDC) { return Attach(::CreateCompatibleDC(pDC->GetSafeHdc())); }
    BOOL DeleteDC();
    int SaveDC() { return ::SaveDC(m_hDC); }
    BOOL RestoreDC(int nSavedDC) { return ::RestoreDC(m_hDC, nSavedDC); }
    int GetDeviceCaps(int nIndex) const { return ::GetDeviceCaps(m_hDC, nIndex); }

    // Objects. Each returns the previously selected object (temporary).
    CGdiObject* SelectStockObject(int nIndex);
    CPen* SelectObject(CPen* pPen);
    CBrush* SelectObject(CBrush* pBrush);
    CFont* SelectObject(CFont* pFont);
    CBitmap* SelectObject(CBitmap* pBitmap);
    int SelectObject(CRgn* pRgn);            // region type, as SelectClipRgn
    CGdiObject* SelectObject(CGdiObject* pObject);
    HGDIOBJ SelectObject(HGDIOBJ hObject) { return ::SelectObject(m_hDC, hObject); }
    CPalette* SelectPalette(CPalette* pPalette, BOOL bForceBackground);
    UINT RealizePalette() { return ::RealizePalette(m_hDC); }
    CPen* GetCurrentPen() const;
    CBrush* GetCurrentBrush() const;
    CFont* GetCurrentFont() const;
    CBitmap* GetCurrentBitmap() const;
    CPalette* GetCurrentPalette() const;

    // Colours and modes
    COLORREF GetBkColor() const { return ::GetBkColor(m_hDC); }
    COLORREF SetBkColor(COLORREF crColor) { return ::SetBkColor(m_hDC, crColor); }
    int GetBkMode() const { return ::GetBkMode(m_hDC); }
    int SetBkMode(int nBkMode) { return ::SetBkMode(m_hDC, nBkMode); }
    COLORREF GetTextColor() const { return ::GetTextColor(m_hDC); }
    COLORREF SetTextColor(COLORREF crColor) { return ::SetTextColor(m_hDC, crColor); }
    UINT GetTextAlign() const { return ::GetTextAlign(m_hDC); }
    UINT SetTextAlign(UINT nFlags) { return ::SetTextAlign(m_hDC, nFlags); }
    int GetROP2() const { return ::GetROP2(m_hDC); }
    int SetROP2(int nDrawMode) { return ::SetROP2(m_hDC, nDrawMode); }
    int GetStretchBltMode() const { return ::GetStretchBltMode(m_hDC); }
    int SetStretchBltMode(int nStretchMode) { return ::SetStretchBltMode(m_hDC, nStretchMode); }
    int GetPolyFillMode() const { return ::GetPolyFillMode(m_hDC); }
    int SetPolyFillMode(int nPolyFillMode) { return ::SetPolyFillMode(m_hDC, nPolyFillMode); }
    CPoint SetBrushOrg(int x, int y) { POINT p = {0, 0}; ::SetBrushOrgEx(m_hDC, x, y, &p); return p; }
    CPoint SetBrushOrg(POINT point) { return SetBrushOrg(point.x, point.y); }
    CPoint GetBrushOrg() const { POINT p = {0, 0}; ::GetBrushOrgEx(m_hDC, &p); return p; }
    COLORREF GetNearestColor(COLORREF crColor) const { return ::GetNearestColor(m_hDC, crColor); }

    // Coordinates
    int GetMapMode() const { return ::GetMapMode(m_hDC); }
    int SetMapMode(int nMapMode) { return ::SetMapMode(m_hDC, nMapMode); }
    CPoint GetViewportOrg() const { POINT p = {0, 0}; ::GetViewportOrgEx(m_hDC, &p); return p; }
    CPoint SetViewportOrg(int x, int y) { POINT p = {0, 0}; ::SetViewportOrgEx(m_hDC, x, y, &p); return p; }
    CPoint SetViewportOrg(POINT point) { return SetViewportOrg(point.x, point.y); }
    CPoint OffsetViewportOrg(int nWidth, int nHeight) { POINT p = {0, 0}; ::OffsetViewportOrgEx(m_hDC, nWidth, nHeight, &p); return p; }
    CSize GetViewportExt() const { SIZE s = {0, 0}; ::GetViewportExtEx(m_hDC, &s); return s; }
    CSize SetViewportExt(int cx, int cy) { SIZE s = {0, 0}; ::SetViewportExtEx(m_hDC, cx, cy, &s); return s; }
    CSize SetViewportExt(SIZE size) { return SetViewportExt(size.cx, size.cy); }
    CPoint GetWindowOrg() const { POINT p = {0, 0}; ::GetWindowOrgEx(m_hDC, &p); return p; }
    CPoint SetWindowOrg(int x, int y) { POINT p = {0, 0}; ::SetWindowOrgEx(m_hDC, x, y, &p); return p; }
    CPoint SetWindowOrg(POINT point) { return SetWindowOrg(point.x, point.y); }
    CPoint OffsetWindowOrg(int nWidth, int nHeight) { POINT p = {0, 0}; ::OffsetWindowOrgEx(m_hDC, nWidth, nHeight, &p); return p; }
    CSize GetWindowExt() const { SIZE s = {0, 0}; ::GetWindowExtEx(m_hDC, &s); return s; }
    CSize SetWindowExt(int cx, int cy) { SIZE s = {0, 0}; ::SetWindowExtEx(m_hDC, cx, cy, &s); return s; }
    CSize SetWindowExt(SIZE size) { return SetWindowExt(size.cx, size.cy); }
    void DPtoLP(LPPOINT lpPoints, int nCount = 1) const { ::DPtoLP(m_hDC, lpPoints, nCount); }
    void DPtoLP(LPRECT lpRect) const { ::DPtoLP(m_hDC, (LPPOINT)lpRect, 2); }
    void DPtoLP(LPSIZE lpSize) const;
    void LPtoDP(LPPOINT lpPoints, int nCount = 1) const { ::LPtoDP(m_hDC, lpPoints, nCount); }
    void LPtoDP(LPRECT lpRect) const { ::LPtoDP(m_hDC, (LPPOINT)lpRect, 2); }
    void LPtoDP(LPSIZE lpSize) const;

    // Clipping
    int GetClipBox(LPRECT lpRect) const { return ::GetClipBox(m_hDC, lpRect); }
    BOOL PtVisible(int x, int y) const { return ::PtVisible(m_hDC, x, y); }
    BOOL PtVisible(POINT point) const { return ::PtVisible(m_hDC, point.x, point.y); }
    BOOL RectVisible(LPCRECT lpRect) const { return ::RectVisible(m_hDC, lpRect); }
    int SelectClipRgn(CRgn* pRgn) { return ::SelectClipRgn(m_hDC, (HRGN)pRgn->GetSafeHandle()); }
    int SelectClipRgn(CRgn* pRgn, int nMode) { return ::ExtSelectClipRgn(m_hDC, (HRGN)pRgn->GetSafeHandle(), nMode); }
    int ExcludeClipRect(int x1, int y1, int x2, int y2) { return ::ExcludeClipRect(m_hDC, x1, y1, x2, y2); }
    int ExcludeClipRect(LPCRECT lpRect) { return ::ExcludeClipRect(m_hDC, lpRect->left, lpRect->top, lpRect->right, lpRect->bottom); }
    int IntersectClipRect(int x1, int y1, int x2, int y2) { return ::IntersectClipRect(m_hDC, x1, y1, x2, y2); }
    int IntersectClipRect(LPCRECT lpRect) { return ::IntersectClipRect(m_hDC, lpRect->left, lpRect->top, lpRect->right, lpRect->bottom); }
    int OffsetClipRgn(int x, int y) { return ::OffsetClipRgn(m_hDC, x, y); }
    int ExcludeUpdateRgn(CWnd* pWnd);

    // Lines and shapes
    CPoint GetCurrentPosition() const { POINT p = {0, 0}; ::GetCurrentPositionEx(m_hDC, &p); return p; }
    CPoint MoveTo(int x, int y) { POINT p = {0, 0}; ::MoveToEx(m_hDC, x, y, &p); return p; }
    CPoint MoveTo(POINT point) { return MoveTo(point.x, point.y); }
    BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
    BOOL LineTo(POINT point) { return ::LineTo(m_hDC, point.x, point.y); }
    BOOL Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) { return ::Arc(m_hDC, x1, y1, x2, y2, x3, y3, x4, y4); }
    BOOL Arc(LPCRECT lpRect, POINT ptStart, POINT ptEnd)
    { return ::Arc(m_hDC, lpRect->left, lpRect->top, lpRect->right, lpRect->bottom, ptStart.x, ptStart.y, ptEnd.x, ptEnd.y); }
    BOOL Polyline(const POINT* lpPoints, int nCount) { return ::Polyline(m_hDC, lpPoints, nCount); }
    BOOL Polygon(const POINT* lpPoints, int nCount) { return ::Polygon(m_hDC, lpPoints, nCount); }
    BOOL PolyPolygon(const POINT* lpPoints, const INT* lpPolyCounts, int nCount) { return ::PolyPolygon(m_hDC, lpPoints, lpPolyCounts, nCount); }
    BOOL Rectangle(int x1, int y1, int x2, int y2) { return ::Rectangle(m_hDC, x1, y1, x2, y2); }
    BOOL Rectangle(LPCRECT lpRect) { return ::Rectangle(m_hDC, lpRect->left, lpRect->top, lpRect->right, lpRect->bottom); }
    BOOL RoundRect(int x1, int y1, int x2, int y2, int x3, int y3) { return ::RoundRect(m_hDC, x1, y1, x2, y2, x3, y3); }
    BOOL RoundRect(LPCRECT lpRect, POINT point)
    { return ::RoundRect(m_hDC, lpRect->left, lpRect->top, lpRect->right, lpRect->bottom, point.x, point.y); }
    BOOL Ellipse(int x1, int y1, int x2, int y2) { return ::Ellipse(m_hDC, x1, y1, x2, y2); }
    BOOL Ellipse(LPCRECT lpRect) { return ::Ellipse(m_hDC, lpRect->left, lpRect->top, lpRect->right, lpRect->bottom); }
    BOOL Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) { return ::Pie(m_hDC, x1, y1, x2, y2, x3, y3, x4, y4); }
    BOOL Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) { return ::Chord(m_hDC, x1, y1, x2, y2, x3, y3, x4, y4); }

    // Fills, frames and blits
    void FillRect(LPCRECT lpRect, CBrush* pBrush) { ::FillRect(m_hDC, lpRect, (HBRUSH)pBrush->GetSafeHandle()); }
    void FrameRect(LPCRECT lpRect, CBrush* pBrush) { ::FrameRect(m_hDC, lpRect, (HBRUSH)pBrush->GetSafeHandle()); }
    void InvertRect(LPCRECT lpRect) { ::InvertRect(m_hDC, lpRect); }
    void DrawFocusRect(LPCRECT lpRect) { ::DrawFocusRect(m_hDC, lpRect); }
    // Fills with the colour through the background colour, which stays set to it.
    void FillSolidRect(LPCRECT lpRect, COLORREF clr);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF clr);
    void Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight);
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight);
    BOOL DrawEdge(LPRECT lpRect, UINT nEdge, UINT nFlags) { return ::DrawEdge(m_hDC, lpRect, nEdge, nFlags); }
    BOOL DrawFrameControl(LPRECT lpRect, UINT nType, UINT nState) { return ::DrawFrameControl(m_hDC, lpRect, nType, nState); }
    BOOL DrawIcon(int x, int y, HICON hIcon) { return ::DrawIcon(m_hDC, x, y, hIcon); }
    BOOL DrawIcon(POINT point, HICON hIcon) { return ::DrawIcon(m_hDC, point.x, point.y, hIcon); }
    BOOL DrawState(CPoint pt, CSize size, HICON hIcon, UINT nFlags, HBRUSH hBrush = NULL)
    { return ::DrawState(m_hDC, hBrush, NULL, (LPARAM)hIcon, 0, pt.x, pt.y, size.cx, size.cy, nFlags | DST_ICON); }
    BOOL DrawState(CPoint pt, CSize size, HICON hIcon, UINT nFlags, CBrush* pBrush)
    { return DrawState(pt, size, hIcon, nFlags, (HBRUSH)pBrush->GetSafeHandle()); }
    BOOL DrawState(CPoint pt, CSize size, HBITMAP hBitmap, UINT nFlags, HBRUSH hBrush = NULL)
    { return ::DrawState(m_hDC, hBrush, NULL, (LPARAM)hBitmap, 0, pt.x, pt.y, size.cx, size.cy, nFlags | DST_BITMAP); }
    BOOL DrawState(CPoint pt, CSize size, CBitmap* pBitmap, UINT nFlags, CBrush* pBrush = NULL)
    { return DrawState(pt, size, (HBITMAP)pBitmap->GetSafeHandle(), nFlags, (HBRUSH)pBrush->GetSafeHandle()); }
    BOOL DrawState(CPoint pt, CSize size, LPCTSTR lpszText, UINT nFlags, BOOL bPrefixText = TRUE, int nTextLen = 0,
                   HBRUSH hBrush = NULL)
    {
        return ::DrawState(m_hDC, hBrush, NULL, (LPARAM)lpszText, (WPARAM)nTextLen, pt.x, pt.y, size.cx, size.cy,
                           nFlags | (bPrefixText ? DST_PREFIXTEXT : DST_TEXT));
    }
    BOOL PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop) { return ::PatBlt(m_hDC, x, y, nWidth, nHeight, dwRop); }
    BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop)
    { return ::BitBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC->GetSafeHdc(), xSrc, ySrc, dwRop); }
    BOOL StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, int nSrcWidth,
                    int nSrcHeight, DWORD dwRop)
    { return ::StretchBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC->GetSafeHdc(), xSrc, ySrc, nSrcWidth, nSrcHeight, dwRop); }
    BOOL TransparentBlt(int xDest, int yDest, int nDestWidth, int nDestHeight, CDC* pSrcDC, int xSrc, int ySrc,
                        int nSrcWidth, int nSrcHeight, UINT clrTransparent);
    BOOL AlphaBlend(int xDest, int yDest, int nDestWidth, int nDestHeight, CDC* pSrcDC, int xSrc, int ySrc,
                    int nSrcWidth, int nSrcHeight, BLENDFUNCTION blend);
    COLORREF GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
    COLORREF GetPixel(POINT point) const { return ::GetPixel(m_hDC, point.x, point.y); }
    COLORREF SetPixel(int x, int y, COLORREF crColor) { return ::SetPixel(m_hDC, x, y, crColor); }
    COLORREF SetPixel(POINT point, COLORREF crColor) { return ::SetPixel(m_hDC, point.x, point.y, crColor); }
    BOOL SetPixelV(int x, int y, COLORREF crColor) { return ::SetPixelV(m_hDC, x, y, crColor); }
    BOOL FloodFill(int x, int y, COLORREF crColor) { return ::FloodFill(m_hDC, x, y, crColor); }
    BOOL ExtFloodFill(int x, int y, COLORREF crColor, UINT nFillType) { return ::ExtFloodFill(m_hDC, x, y, crColor, nFillType); }

    // Regions
    BOOL FillRgn(CRgn* pRgn, CBrush* pBrush) { return ::FillRgn(m_hDC, (HRGN)pRgn->GetSafeHandle(), (HBRUSH)pBrush->GetSafeHandle()); }
    BOOL FrameRgn(CRgn* pRgn, CBrush* pBrush, int nWidth, int nHeight)
    { return ::FrameRgn(m_hDC, (HRGN)pRgn->GetSafeHandle(), (HBRUSH)pBrush->GetSafeHandle(), nWidth, nHeight); }
    BOOL InvertRgn(CRgn* pRgn) { return ::InvertRgn(m_hDC, (HRGN)pRgn->GetSafeHandle()); }
    BOOL PaintRgn(CRgn* pRgn) { return ::PaintRgn(m_hDC, (HRGN)pRgn->GetSafeHandle()); }

    // Text
    BOOL TextOut(int x, int y, LPCTSTR lpszString, int nCount) { return ::TextOut(m_hDC, x, y, lpszString, nCount); }
    BOOL TextOut(int x, int y, const CString& str) { return ::TextOut(m_hDC, x, y, str, str.GetLength()); }
    BOOL ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, LPCTSTR lpszString, UINT nCount, LPINT lpDxWidths)
    { return ::ExtTextOut(m_hDC, x, y, nOptions, lpRect, lpszString, nCount, lpDxWidths); }
    BOOL ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, const CString& str, LPINT lpDxWidths)
    { return ::ExtTextOut(m_hDC, x, y, nOptions, lpRect, str, (UINT)str.GetLength(), lpDxWidths); }
    CSize TabbedTextOut(int x, int y, LPCTSTR lpszString, int nCount, int nTabPositions, LPINT lpnTabStopPositions,
                        int nTabOrigin)
    {
        LONG l = ::TabbedTextOut(m_hDC, x, y, lpszString, nCount, nTabPositions, lpnTabStopPositions, nTabOrigin);
        return CSize(LOWORD(l), HIWORD(l));
    }
    int DrawText(LPCTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat)
    { return ::DrawText(m_hDC, lpszString, nCount, lpRect, nFormat); }
    int DrawText(const CString& str, LPRECT lpRect, UINT nFormat)
    { return ::DrawText(m_hDC, str, str.GetLength(), lpRect, nFormat); }
    CSize GetTextExtent(LPCTSTR lpszString, int nCount) const
    { SIZE s = {0, 0}; ::GetTextExtentPoint32(m_hDC, lpszString, nCount, &s); return s; }
    CSize GetTextExtent(const CString& str) const { return GetTextExtent(str, str.GetLength()); }
    CSize GetOutputTextExtent(LPCTSTR lpszString, int nCount) const { return GetTextExtent(lpszString, nCount); }
    CSize GetOutputTextExtent(const CString& str) const { return GetTextExtent(str, str.GetLength()); }
    BOOL GetTextMetrics(LPTEXTMETRIC lpMetrics) const { return ::GetTextMetrics(m_hDC, lpMetrics); }
    int GetTextFace(int nCount, LPTSTR lpszFacename) const { return ::GetTextFace(m_hDC, nCount, lpszFacename); }
    int GetTextFace(CString& rString) const;
    BOOL GetCharWidth(UINT nFirstChar, UINT nLastChar, LPINT lpBuffer) const
    { return ::GetCharWidth(m_hDC, nFirstChar, nLastChar, lpBuffer); }
    int SetTextCharacterExtra(int nCharExtra) { return ::SetTextCharacterExtra(m_hDC, nCharExtra); }
    int GetTextCharacterExtra() const { return ::GetTextCharacterExtra(m_hDC); }

    // Paths
    BOOL BeginPath() { return ::BeginPath(m_hDC); }
    BOOL EndPath() { return ::EndPath(m_hDC); }
    BOOL AbortPath() { return ::AbortPath(m_hDC); }
    BOOL CloseFigure() { return ::CloseFigure(m_hDC); }
    BOOL FillPath() { return ::FillPath(m_hDC); }
    BOOL StrokePath() { return ::StrokePath(m_hDC); }
    BOOL StrokeAndFillPath() { return ::StrokeAndFillPath(m_hDC); }
    BOOL FlattenPath() { return ::FlattenPath(m_hDC); }
    BOOL WidenPath() { return ::WidenPath(m_hDC); }
    BOOL SelectClipPath(int nMode) { return ::SelectClipPath(m_hDC, nMode); }
};

// BeginPaint/EndPaint around a WM_PAINT handler. When BeginPaint fails the
// object holds no DC and drawing through it does nothing.
class CPaintDC : public CDC
{
    DECLARE_DYNAMIC(CPaintDC)
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps;
protected:
    HWND m_hWnd;
};

// GetDC/ReleaseDC of a window's client area (the screen for NULL).
class CClientDC : public CDC
{
    DECLARE_DYNAMIC(CClientDC)
public:
    explicit CClientDC(CWnd* pWnd);
    ~CClientDC() override;
protected:
    HWND m_hWnd;
};

// GetWindowDC/ReleaseDC of a whole window (the screen for NULL).
class CWindowDC : public CDC
{
    DECLARE_DYNAMIC(CWindowDC)
public:
    explicit CWindowDC(CWnd* pWnd);
    ~CWindowDC() override;
protected:
    HWND m_hWnd;
};

/////////////////////////////////////////////////////////////////////////////
// CMenu

class CMenu : public CObject
{
    DECLARE_DYNAMIC(CMenu)
public:
    CMenu() : m_hMenu(NULL) {}
    ~CMenu() override;                       // destroys a menu it holds

    HMENU m_hMenu;

    operator HMENU() const { return m_hMenu; }
    HMENU GetSafeHmenu() const { return this == NULL ? NULL : m_hMenu; }
    BOOL operator==(const CMenu& menu) const { return menu.m_hMenu == m_hMenu; }
    BOOL operator!=(const CMenu& menu) const { return menu.m_hMenu != m_hMenu; }

    static CMenu* PASCAL FromHandle(HMENU hMenu);            // the attached object or a temporary one
    static CMenu* PASCAL FromHandlePermanent(HMENU hMenu);   // NULL when none is attached
    BOOL Attach(HMENU hMenu);                // FALSE when one is held or the menu has an object
    HMENU Detach();

    BOOL CreateMenu() { return Attach(::CreateMenu()); }
    BOOL CreatePopupMenu() { return Attach(::CreatePopupMenu()); }
    // From the resource module first, then the program.
    BOOL LoadMenu(LPCTSTR lpszResourceName);
    BOOL LoadMenu(UINT nIDResource) { return LoadMenu(MAKEINTRESOURCE(nIDResource)); }
    BOOL LoadMenuIndirect(const void* lpMenuTemplate) { return Attach(::LoadMenuIndirect(lpMenuTemplate)); }
    BOOL DestroyMenu();

    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = NULL)
    { return ::AppendMenu(m_hMenu, nFlags, nIDNewItem, lpszNewItem); }
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, const CBitmap* pBmp)
    { return ::AppendMenu(m_hMenu, nFlags | MF_BITMAP, nIDNewItem, (LPCTSTR)pBmp->GetSafeHandle()); }
    BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = NULL)
    { return ::InsertMenu(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem); }
    BOOL ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = NULL)
    { return ::ModifyMenu(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem); }
    BOOL RemoveMenu(UINT nPosition, UINT nFlags) { return ::RemoveMenu(m_hMenu, nPosition, nFlags); }
    BOOL DeleteMenu(UINT nPosition, UINT nFlags) { return ::DeleteMenu(m_hMenu, nPosition, nFlags); }
    UINT CheckMenuItem(UINT nIDCheckItem, UINT nCheck) { return (UINT)::CheckMenuItem(m_hMenu, nIDCheckItem, nCheck); }
    BOOL CheckMenuRadioItem(UINT nIDFirst, UINT nIDLast, UINT nIDItem, UINT nFlags)
    { return ::CheckMenuRadioItem(m_hMenu, nIDFirst, nIDLast, nIDItem, nFlags); }
    UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable) { return ::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable); }
    BOOL SetMenuItemBitmaps(UINT nPosition, UINT nFlags, const CBitmap* pBmpUnchecked, const CBitmap* pBmpChecked)
    {
        return ::SetMenuItemBitmaps(m_hMenu, nPosition, nFlags, (HBITMAP)pBmpUnchecked->GetSafeHandle(),
                                    (HBITMAP)pBmpChecked->GetSafeHandle());
    }
    BOOL SetDefaultItem(UINT uItem, BOOL fByPos = FALSE) { return ::SetMenuDefaultItem(m_hMenu, uItem, fByPos); }
    UINT GetDefaultItem(UINT gmdiFlags, BOOL fByPos = FALSE) { return ::GetMenuDefaultItem(m_hMenu, fByPos, gmdiFlags); }

    UINT GetMenuItemCount() const { return (UINT)::GetMenuItemCount(m_hMenu); }
    UINT GetMenuItemID(int nPos) const { return ::GetMenuItemID(m_hMenu, nPos); }
    UINT GetMenuState(UINT nID, UINT nFlags) const { return ::GetMenuState(m_hMenu, nID, nFlags); }
    int GetMenuString(UINT nIDItem, LPTSTR lpString, int nMaxCount, UINT nFlags) const
    { return ::GetMenuString(m_hMenu, nIDItem, lpString, nMaxCount, nFlags); }
    int GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const;
    BOOL GetMenuItemInfo(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos = FALSE)
    { return ::GetMenuItemInfo(m_hMenu, uItem, fByPos, lpMenuItemInfo); }
    BOOL SetMenuItemInfo(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos = FALSE)
    { return ::SetMenuItemInfo(m_hMenu, uItem, fByPos, lpMenuItemInfo); }
    CMenu* GetSubMenu(int nPos) const { return FromHandle(::GetSubMenu(m_hMenu, nPos)); }

    // With TPM_RETURNCMD the result is the chosen command (0 for none).
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect = NULL);

    // Owner-drawn items: called for WM_DRAWITEM/WM_MEASUREITEM of an attached menu.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);
};

/////////////////////////////////////////////////////////////////////////////
// CWnd

struct CCreateContext
{
    CRuntimeClass* m_pNewViewClass;          // view to create in the frame (NULL: none)
    void* m_pCurrentDoc;                     // no documents in this framework
    CFrameWnd* m_pCurrentFrame;
    CView* m_pLastView;
    void* m_pNewDocTemplate;
};

class CWnd : public CCmdTarget
{
    DECLARE_DYNCREATE(CWnd)
public:
    CWnd();
    ~CWnd() override;                        // destroys a window it still holds

    HWND m_hWnd;

    operator HWND() const { return this == NULL ? NULL : m_hWnd; }
    HWND GetSafeHwnd() const { return this == NULL ? NULL : m_hWnd; }
    BOOL operator==(const CWnd& wnd) const { return wnd.m_hWnd == m_hWnd; }
    BOOL operator!=(const CWnd& wnd) const { return wnd.m_hWnd != m_hWnd; }

    // Placement handles for SetWindowPos.
    static const CWnd wndTop;
    static const CWnd wndBottom;
    static const CWnd wndTopMost;
    static const CWnd wndNoTopMost;

    // Handle map
    static CWnd* PASCAL FromHandle(HWND hWnd);           // the object, or a temporary one
    static CWnd* PASCAL FromHandlePermanent(HWND hWnd);  // NULL when the window has no object
    BOOL Attach(HWND hWndNew);               // FALSE when one is held or the window has an object
    HWND Detach();

    // Creation
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                        CWnd* pParentWnd, UINT nID, CCreateContext* pContext = NULL);
    virtual BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                          int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                          LPVOID lpParam = NULL);
    virtual BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                          const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam = NULL);
    virtual BOOL DestroyWindow();
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual void PreSubclassWindow();
    virtual void CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType = 0);

    // Subclassing: the window's messages go through this object's map; the
    // window's previous procedure handles what the map leaves.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();

    // Dispatch
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default();                       // DefWindowProc of the message being handled
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    BOOL SendChildNotifyLastMsg(LRESULT* pResult = NULL);
    static BOOL PASCAL ReflectLastMsg(HWND hWndChild, LRESULT* pResult = NULL);
    // PreTranslateMessage of every window from pMsg->hwnd up its parents and
    // owners, ending after hWndStop; TRUE when one of them took the message.
    static BOOL PASCAL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);
    static const MSG* PASCAL GetCurrentMessage();
    virtual void PostNcDestroy();            // after the window is gone; self-deleting classes delete here
    virtual BOOL IsFrameWnd() const { return FALSE; }

    // Modal loop (used by CDialog::DoModal): pumps messages through
    // PreTranslateMessage until EndModalLoop or the window is destroyed.
    virtual int RunModalLoop(DWORD dwFlags = 0);
    virtual BOOL ContinueModal();
    virtual void EndModalLoop(int nResult);

    // Data exchange
    virtual void DoDataExchange(CDataExchange* pDX);
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    // Tooltips from OnToolHitTest
    BOOL EnableToolTips(BOOL bEnable = TRUE);
    virtual INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const;
    void FilterToolTipMessage(MSG* pMsg);
    static void PASCAL CancelToolTips(BOOL bKeys = FALSE);

    // Styles and state
    DWORD GetStyle() const { return (DWORD)::GetWindowLongPtr(m_hWnd, GWL_STYLE); }
    DWORD GetExStyle() const { return (DWORD)::GetWindowLongPtr(m_hWnd, GWL_EXSTYLE); }
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0) { return ModifyStyle(m_hWnd, dwRemove, dwAdd, nFlags); }
    BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0) { return ModifyStyleEx(m_hWnd, dwRemove, dwAdd, nFlags); }
    static BOOL PASCAL ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags);
    static BOOL PASCAL ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags);
    BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    BOOL IsZoomed() const { return ::IsZoomed(m_hWnd); }
    BOOL IsChild(const CWnd* pWnd) const { return ::IsChild(m_hWnd, pWnd->GetSafeHwnd()); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    int SetDlgCtrlID(int nID) { return (int)::SetWindowLongPtr(m_hWnd, GWLP_ID, nID); }
    BOOL FlashWindow(BOOL bInvert) { return ::FlashWindow(m_hWnd, bInvert); }
    BOOL ShowOwnedPopups(BOOL bShow = TRUE) { return ::ShowOwnedPopups(m_hWnd, bShow); }

    // Geometry
    void GetWindowRect(LPRECT lpRect) const { ::GetWindowRect(m_hWnd, lpRect); }
    void GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
    void ClientToScreen(LPPOINT lpPoint) const { ::ClientToScreen(m_hWnd, lpPoint); }
    void ClientToScreen(LPRECT lpRect) const;
    void ScreenToClient(LPPOINT lpPoint) const { ::ScreenToClient(m_hWnd, lpPoint); }
    void ScreenToClient(LPRECT lpRect) const;
    void MapWindowPoints(CWnd* pwndTo, LPPOINT lpPoint, UINT nCount) const
    { ::MapWindowPoints(m_hWnd, pwndTo->GetSafeHwnd(), lpPoint, nCount); }
    void MapWindowPoints(CWnd* pwndTo, LPRECT lpRect) const
    { ::MapWindowPoints(m_hWnd, pwndTo->GetSafeHwnd(), (LPPOINT)lpRect, 2); }
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE)
    { ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint); }
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE)
    { ::MoveWindow(m_hWnd, lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top, bRepaint); }
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags)
    { return ::SetWindowPos(m_hWnd, pWndInsertAfter->GetSafeHwnd(), x, y, cx, cy, nFlags); }
    BOOL GetWindowPlacement(WINDOWPLACEMENT* lpwndpl) const
    { lpwndpl->length = sizeof(WINDOWPLACEMENT); return ::GetWindowPlacement(m_hWnd, lpwndpl); }
    BOOL SetWindowPlacement(const WINDOWPLACEMENT* lpwndpl) { return ::SetWindowPlacement(m_hWnd, lpwndpl); }
    // Centres over the owner (a popup) or in the parent (a child window), or
    // over pAlternateOwner; kept inside the work area.
    void CenterWindow(CWnd* pAlternateOwner = NULL);
    void BringWindowToTop() { ::BringWindowToTop(m_hWnd); }
    int SetWindowRgn(HRGN hRgn, BOOL bRedraw) { return ::SetWindowRgn(m_hWnd, hRgn, bRedraw); }
    int GetWindowRgn(HRGN hRgn) const { return ::GetWindowRgn(m_hWnd, hRgn); }

    // Painting
    void Invalidate(BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, NULL, bErase); }
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, lpRect, bErase); }
    void InvalidateRgn(CRgn* pRgn, BOOL bErase = TRUE) { ::InvalidateRgn(m_hWnd, (HRGN)pRgn->GetSafeHandle(), bErase); }
    void ValidateRect(LPCRECT lpRect) { ::ValidateRect(m_hWnd, lpRect); }
    void ValidateRgn(CRgn* pRgn) { ::ValidateRgn(m_hWnd, (HRGN)pRgn->GetSafeHandle()); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    BOOL RedrawWindow(LPCRECT lpRectUpdate = NULL, CRgn* prgnUpdate = NULL,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE)
    { return ::RedrawWindow(m_hWnd, lpRectUpdate, (HRGN)prgnUpdate->GetSafeHandle(), flags); }
    BOOL GetUpdateRect(LPRECT lpRect, BOOL bErase = FALSE) { return ::GetUpdateRect(m_hWnd, lpRect, bErase); }
    int GetUpdateRgn(CRgn* pRgn, BOOL bErase = FALSE) { return ::GetUpdateRgn(m_hWnd, (HRGN)pRgn->GetSafeHandle(), bErase); }
    BOOL LockWindowUpdate() { return ::LockWindowUpdate(m_hWnd); }
    void UnlockWindowUpdate() { ::LockWindowUpdate(NULL); }
    void SetRedraw(BOOL bRedraw = TRUE) { ::SendMessage(m_hWnd, WM_SETREDRAW, bRedraw, 0); }
    CDC* GetDC();                            // temporary; give it back with ReleaseDC
    CDC* GetWindowDC();
    int ReleaseDC(CDC* pDC);
    void ScrollWindow(int xAmount, int yAmount, LPCRECT lpRect = NULL, LPCRECT lpClipRect = NULL)
    { ::ScrollWindow(m_hWnd, xAmount, yAmount, lpRect, lpClipRect); }
    int ScrollWindowEx(int dx, int dy, LPCRECT lpRectScroll, LPCRECT lpRectClip, CRgn* prgnUpdate, LPRECT lpRectUpdate,
                       UINT flags)
    {
        return ::ScrollWindowEx(m_hWnd, dx, dy, lpRectScroll, lpRectClip, (HRGN)prgnUpdate->GetSafeHandle(),
                                lpRectUpdate, flags);
    }

    // Scroll bars (through GetScrollBarCtrl when it gives a control)
    virtual CScrollBar* GetScrollBarCtrl(int nBar) const;
    int GetScrollPos(int nBar) const;
    int SetScrollPos(int nBar, int nPos, BOOL bRedraw = TRUE);
    void GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const;
    void SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw = TRUE);
    BOOL GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL);
    BOOL SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE);
    int GetScrollLimit(int nBar);
    void ShowScrollBar(UINT nBar, BOOL bShow = TRUE);
    BOOL EnableScrollBar(int nSBFlags, UINT nArrowFlags = ESB_ENABLE_BOTH)
    { return ::EnableScrollBar(m_hWnd, nSBFlags, nArrowFlags); }
    void EnableScrollBarCtrl(int nBar, BOOL bEnable = TRUE);

    // Relations
    CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
    CWnd* SetParent(CWnd* pWndNewParent) { return FromHandle(::SetParent(m_hWnd, pWndNewParent->GetSafeHwnd())); }
    CWnd* GetOwner() const;                  // the owner set by SetOwner, else the parent
    void SetOwner(CWnd* pOwnerWnd) { m_hWndOwner = pOwnerWnd->GetSafeHwnd(); }
    CWnd* GetTopLevelParent() const;
    CWnd* GetTopLevelOwner() const;
    CWnd* GetParentOwner() const;
    CFrameWnd* GetParentFrame() const;
    CFrameWnd* GetTopLevelFrame() const;
    CWnd* GetWindow(UINT nCmd) const { return FromHandle(::GetWindow(m_hWnd, nCmd)); }
    CWnd* GetTopWindow() const { return FromHandle(::GetTopWindow(m_hWnd)); }
    CWnd* GetNextWindow(UINT nFlag = GW_HWNDNEXT) const { return FromHandle(::GetWindow(m_hWnd, nFlag)); }
    CWnd* GetLastActivePopup() const { return FromHandle(::GetLastActivePopup(m_hWnd)); }
    CWnd* ChildWindowFromPoint(POINT point, UINT nFlags = CWP_ALL) const
    { return FromHandle(::ChildWindowFromPointEx(m_hWnd, point, nFlags)); }
    static CWnd* PASCAL WindowFromPoint(POINT point) { return FromHandle(::WindowFromPoint(point)); }
    CWnd* GetDlgItem(int nID) const { return FromHandle(::GetDlgItem(m_hWnd, nID)); }
    void GetDlgItem(int nID, HWND* phWnd) const { *phWnd = ::GetDlgItem(m_hWnd, nID); }
    CWnd* GetDescendantWindow(int nID, BOOL bOnlyPerm = FALSE) const;
    CWnd* GetNextDlgTabItem(CWnd* pWndCtl, BOOL bPrevious = FALSE) const
    { return FromHandle(::GetNextDlgTabItem(m_hWnd, pWndCtl->GetSafeHwnd(), bPrevious)); }
    CWnd* GetNextDlgGroupItem(CWnd* pWndCtl, BOOL bPrevious = FALSE) const
    { return FromHandle(::GetNextDlgGroupItem(m_hWnd, pWndCtl->GetSafeHwnd(), bPrevious)); }
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, BOOL bDeep = TRUE,
                                  BOOL bOnlyPerm = FALSE)
    { SendMessageToDescendants(m_hWnd, message, wParam, lParam, bDeep, bOnlyPerm); }
    static void PASCAL SendMessageToDescendants(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep,
                                                BOOL bOnlyPerm);
    static CWnd* PASCAL GetDesktopWindow() { return FromHandle(::GetDesktopWindow()); }
    static CWnd* PASCAL FindWindow(LPCTSTR lpszClassName, LPCTSTR lpszWindowName)
    { return FromHandle(::FindWindow(lpszClassName, lpszWindowName)); }
    // GetSafeOwner: the window a modal box or dialog should belong to: the
    // parent's top-level window, or the main window's last active popup.
    static CWnd* PASCAL GetSafeOwner(CWnd* pParent = NULL);

    // Focus, activation, capture
    static CWnd* PASCAL GetFocus() { return FromHandle(::GetFocus()); }
    CWnd* SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
    static CWnd* PASCAL GetActiveWindow() { return FromHandle(::GetActiveWindow()); }
    CWnd* SetActiveWindow() { return FromHandle(::SetActiveWindow(m_hWnd)); }
    static CWnd* PASCAL GetForegroundWindow() { return FromHandle(::GetForegroundWindow()); }
    BOOL SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
    static CWnd* PASCAL GetCapture() { return FromHandle(::GetCapture()); }
    CWnd* SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }

    // Messages and timers
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    { return ::SendMessage(m_hWnd, message, wParam, lParam); }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    { return ::PostMessage(m_hWnd, message, wParam, lParam); }
    BOOL SendNotifyMessage(UINT message, WPARAM wParam, LPARAM lParam) const
    { return ::SendNotifyMessage(m_hWnd, message, wParam, lParam); }
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer = NULL)
    { return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer); }
    BOOL KillTimer(UINT_PTR nIDEvent) { return ::KillTimer(m_hWnd, nIDEvent); }

    // Text, fonts and icons
    void SetWindowText(LPCTSTR lpszString) { ::SetWindowText(m_hWnd, lpszString); }
    int GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const { return ::GetWindowText(m_hWnd, lpszStringBuf, nMaxCount); }
    void GetWindowText(CString& rString) const;
    int GetWindowTextLength() const { return ::GetWindowTextLength(m_hWnd); }
    void SetFont(CFont* pFont, BOOL bRedraw = TRUE)
    { ::SendMessage(m_hWnd, WM_SETFONT, (WPARAM)pFont->GetSafeHandle(), bRedraw); }
    CFont* GetFont() const;                  // temporary; NULL when the window has the system font
    HICON SetIcon(HICON hIcon, BOOL bBigIcon)
    { return (HICON)::SendMessage(m_hWnd, WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, (LPARAM)hIcon); }
    HICON GetIcon(BOOL bBigIcon) const
    { return (HICON)::SendMessage(m_hWnd, WM_GETICON, bBigIcon ? ICON_BIG : ICON_SMALL, 0); }

    // Dialog items
    LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    { return ::SendDlgItemMessage(m_hWnd, nID, message, wParam, lParam); }
    void SetDlgItemText(int nID, LPCTSTR lpszString) { ::SetDlgItemText(m_hWnd, nID, lpszString); }
    int GetDlgItemText(int nID, LPTSTR lpStr, int nMaxCount) const { return (int)::GetDlgItemText(m_hWnd, nID, lpStr, nMaxCount); }
    int GetDlgItemText(int nID, CString& rString) const;
    void SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE) { ::SetDlgItemInt(m_hWnd, nID, nValue, bSigned); }
    UINT GetDlgItemInt(int nID, BOOL* lpTrans = NULL, BOOL bSigned = TRUE) const
    { return ::GetDlgItemInt(m_hWnd, nID, lpTrans, bSigned); }
    void CheckDlgButton(int nIDButton, UINT nCheck) { ::CheckDlgButton(m_hWnd, nIDButton, nCheck); }
    UINT IsDlgButtonChecked(int nIDButton) const { return ::IsDlgButtonChecked(m_hWnd, nIDButton); }
    void CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton)
    { ::CheckRadioButton(m_hWnd, nIDFirstButton, nIDLastButton, nIDCheckButton); }
    int GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton);
    BOOL IsDialogMessage(LPMSG lpMsg) { return ::IsDialogMessage(m_hWnd, lpMsg); }
    BOOL PreTranslateInput(LPMSG lpMsg);

    // Menus
    CMenu* GetMenu() const { return CMenu::FromHandle(::GetMenu(m_hWnd)); }
    BOOL SetMenu(CMenu* pMenu) { return ::SetMenu(m_hWnd, pMenu->GetSafeHmenu()); }
    void DrawMenuBar() { ::DrawMenuBar(m_hWnd); }
    CMenu* GetSystemMenu(BOOL bRevert) const { return CMenu::FromHandle(::GetSystemMenu(m_hWnd, bRevert)); }

    // Caret and clipboard
    void CreateSolidCaret(int nWidth, int nHeight) { ::CreateCaret(m_hWnd, NULL, nWidth, nHeight); }
    void HideCaret() { ::HideCaret(m_hWnd); }
    void ShowCaret() { ::ShowCaret(m_hWnd); }
    static void PASCAL SetCaretPos(POINT point) { ::SetCaretPos(point.x, point.y); }
    static CPoint PASCAL GetCaretPos() { POINT p = {0, 0}; ::GetCaretPos(&p); return p; }
    BOOL OpenClipboard() { return ::OpenClipboard(m_hWnd); }

    // A box owned by this window; the caption defaults to the application's name.
    int MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption = NULL, UINT nType = MB_OK);

    // Default handlers: each passes the message on (Default()), except where
    // it reflects a control's notification back to the control first.
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg void OnActivateApp(BOOL bActive, DWORD dwThreadID);
    afx_msg void OnCancelMode();
    afx_msg void OnCaptureChanged(CWnd* pWnd);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg int OnCharToItem(UINT nChar, CListBox* pListBox, UINT nIndex);
    afx_msg void OnClose();
    afx_msg int OnCompareItem(int nIDCtl, LPCOMPAREITEMSTRUCT lpCompareItemStruct);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint pos);
    afx_msg BOOL OnCopyData(CWnd* pWnd, COPYDATASTRUCT* pCopyDataStruct);
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnDeadChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnDeleteItem(int nIDCtl, LPDELETEITEMSTRUCT lpDeleteItemStruct);
    afx_msg void OnDestroy();
    afx_msg void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    afx_msg void OnEnable(BOOL bEnable);
    afx_msg void OnEnterIdle(UINT nWhy, CWnd* pWho);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg UINT OnGetDlgCode();
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnInitMenu(CMenu* pMenu);
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnMButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    afx_msg LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu);
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg void OnMouseHover(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    afx_msg void OnMove(int x, int y);
    afx_msg void OnMoving(UINT fwSide, LPRECT pRect);
    afx_msg BOOL OnNcActivate(BOOL bActive);
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg BOOL OnNcCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnNcDestroy();
    afx_msg UINT OnNcHitTest(CPoint point);
    afx_msg void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonUp(UINT nHitTest, CPoint point);
    afx_msg void OnNcMButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnNcMButtonUp(UINT nHitTest, CPoint point);
    afx_msg void OnNcMouseMove(UINT nHitTest, CPoint point);
    afx_msg void OnNcPaint();
    afx_msg void OnNcRButtonDblClk(UINT nHitTest, CPoint point);
    afx_msg void OnNcRButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnNcRButtonUp(UINT nHitTest, CPoint point);
    afx_msg void OnPaint();
    afx_msg void OnPaletteChanged(CWnd* pFocusWnd);
    afx_msg void OnParentNotify(UINT message, LPARAM lParam);
    afx_msg HCURSOR OnQueryDragIcon();
    afx_msg BOOL OnQueryNewPalette();
    afx_msg void OnRButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSizing(UINT fwSide, LPRECT pRect);
    afx_msg void OnStyleChanged(int nStyleType, LPSTYLESTRUCT lpStyleStruct);
    afx_msg void OnStyleChanging(int nStyleType, LPSTYLESTRUCT lpStyleStruct);
    afx_msg void OnSysChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSysColorChange();
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSysKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg int OnVKeyToItem(UINT nKey, CListBox* pListBox, UINT nIndex);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);

    // ActiveX controls (olectl.cpp; parameter strings in afxdisp.h). The
    // window becomes the control's site: a child window that holds the
    // control and keeps it sized to itself. Dispatch calls never throw: a
    // missing control or a failed call is traced and gives 0, FALSE, an
    // empty text or NULL.
    BOOL CreateControl(REFCLSID clsid, LPCTSTR pszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, UINT nID);
    BOOL CreateControl(LPCTSTR pszClass, LPCTSTR pszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, UINT nID);    // class id text "{...}" or ProgID
    IUnknown* GetControlUnknown() const;     // not AddRef'd; NULL without a control
    // TRUE when the call succeeded; the result (pvRet) is set either way.
    BOOL AFX_CDECL InvokeHelper(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet,
                                const BYTE* pbParamInfo, ...);
    BOOL InvokeHelperV(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet,
                       const BYTE* pbParamInfo, va_list argList);
    BOOL GetProperty(DISPID dwDispID, VARTYPE vtProp, void* pvProp) const;
    BOOL AFX_CDECL SetProperty(DISPID dwDispID, VARTYPE vtProp, ...);

protected:
    explicit CWnd(HWND hWnd);                // the placement handles above
    void ReleaseControlSite();               // lets the hosted control go

    WNDPROC m_pfnSuper;                      // the window's procedure before ours
    UINT m_nFlags;                           // WF_*
    HWND m_hWndOwner;                        // owner set by SetOwner
    int m_nModalResult;
    struct COleControlSite* m_pCtrlSite;     // the hosted control, NULL without one

    // Central window procedure
    friend LRESULT AFXAPI AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
    friend struct AfxWindowInternals;

    DECLARE_MESSAGE_MAP()
};

// Sends one message through the object's window procedure (WindowProc) as the
// framework's own procedure would.
LRESULT AFXAPI AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
// The window procedure of every framework window.
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

/////////////////////////////////////////////////////////////////////////////
// Frames and views (no documents)

class CFrameWnd : public CWnd
{
    DECLARE_DYNCREATE(CFrameWnd)
public:
    CFrameWnd();
    ~CFrameWnd() override;

    static const CRect rectDefault;          // the system's default position and size

    // Creates the frame from the resources named nIDResource: its title
    // (string, the part before the first '\n'), icon, menu and accelerators,
    // each taken from the resource module first, then the program. FALSE when
    // the window cannot be created; the object is then not deleted.
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = NULL, CCreateContext* pContext = NULL);
    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
                const RECT& rect = rectDefault, CWnd* pParentWnd = NULL, LPCTSTR lpszMenuName = NULL,
                DWORD dwExStyle = 0, CCreateContext* pContext = NULL);
    BOOL LoadAccelTable(LPCTSTR lpszResourceName);
    virtual HACCEL GetDefaultAccelerator() { return m_hAccelTable; }

    CView* GetActiveView() const { return m_pViewActive; }
    void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
    virtual CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);
    virtual void RecalcLayout(BOOL bNotify = TRUE);
    virtual void ActivateFrame(int nCmdShow = -1);
    void InitialUpdateFrame(BOOL bMakeVisible = TRUE);
    void SetMessageText(LPCTSTR lpszText);   // no status bar: kept only
    void SetMessageText(UINT nID);
    const CString& GetMessageText() const { return m_strMessageText; }

    BOOL IsFrameWnd() const override { return TRUE; }
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    HACCEL m_hAccelTable;
    CString m_strTitle;
    UINT m_nIDHelp;

protected:
    void PostNcDestroy() override;           // deletes the frame
    virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnClose();
    afx_msg void OnDestroy();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);

    CView* m_pViewActive;
    CString m_strMessageText;

    friend class CView;
    DECLARE_MESSAGE_MAP()
};

class CView : public CWnd
{
    DECLARE_DYNAMIC(CView)
public:
    virtual void OnDraw(CDC* pDC) = 0;
    virtual void OnInitialUpdate();          // default: repaint
    virtual void OnPrepareDC(CDC* pDC, void* pInfo = NULL);
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

protected:
    CView() = default;
    void PostNcDestroy() override;           // deletes the view

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg LRESULT OnInitialUpdateMessage(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};

/////////////////////////////////////////////////////////////////////////////
// Dialogs and data exchange

class CDialog : public CWnd
{
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog();
    explicit CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd = NULL);
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = NULL);
    ~CDialog() override;

    // Modeless: the template from the resource module first, then the
    // program. FALSE when it is missing or the window cannot be created.
    virtual BOOL Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd = NULL);
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = NULL)
    { return Create(MAKEINTRESOURCE(nIDTemplate), pParentWnd); }
    virtual BOOL CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = NULL, HINSTANCE hInst = NULL);
    virtual BOOL CreateIndirect(HGLOBAL hDialogTemplate, CWnd* pParentWnd = NULL, HINSTANCE hInst = NULL);

    // Modal: the dialog runs in the framework's own loop, so
    // PreTranslateMessage sees its messages. The result is EndDialog's
    // code, or -1 when the template is missing or the window cannot be made.
    BOOL InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = NULL);
    BOOL InitModalIndirect(HGLOBAL hDialogTemplate, CWnd* pParentWnd = NULL);
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);

    virtual BOOL OnInitDialog();             // data exchange into the controls; TRUE: default focus
    virtual void OnSetFont(CFont* pFont);
    virtual void OnOK();                     // UpdateData(TRUE), then EndDialog(IDOK)
    virtual void OnCancel();                 // EndDialog(IDCANCEL)
    virtual BOOL CheckAutoCenter() { return TRUE; }

    void NextDlgCtrl() const { ::SendMessage(m_hWnd, WM_NEXTDLGCTL, 0, 0); }
    void PrevDlgCtrl() const { ::SendMessage(m_hWnd, WM_NEXTDLGCTL, 1, 0); }
    void GotoDlgCtrl(CWnd* pWndCtrl);
    void SetDefID(UINT nID) { ::SendMessage(m_hWnd, DM_SETDEFID, nID, 0); }
    DWORD GetDefID() const { return (DWORD)::SendMessage(m_hWnd, DM_GETDEFID, 0, 0); }
    void MapDialogRect(LPRECT lpRect) const { ::MapDialogRect(m_hWnd, lpRect); }

    BOOL PreTranslateMessage(MSG* pMsg) override;

    CWnd* m_pParentWnd;
    LPCTSTR m_lpszTemplateName;
    HGLOBAL m_hDialogTemplate;
    LPCDLGTEMPLATE m_lpDialogTemplate;
    UINT m_nIDHelp;

protected:
    // Creates the window from a template through the creation hook.
    BOOL CreateDlgIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, HINSTANCE hInst);
    HWND PreModal();
    void PostModal();
    virtual void PreInitDialog() {}

    afx_msg LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT HandleSetFont(WPARAM wParam, LPARAM lParam);

    friend INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    void InitDialogState(LPCTSTR lpszTemplateName, CWnd* pParentWnd);
    LPTSTR m_lpszTemplateNameCopy;           // a string template name kept by the object
};

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

class CDataExchange
{
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    BOOL m_bSaveAndValidate;                 // TRUE: controls to members
    CWnd* m_pDlgWnd;
    HWND m_hWndLastControl;
    BOOL m_bEditLastControl;

    // The dialog item's window; throws CNotSupportedException when there is none.
    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC);
    // Puts the focus on the last control and throws CUserException.
    [[noreturn]] void Fail();
};

// Subclasses the dialog item into rControl once (when it has no window yet).
void AFXAPI DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
// 0 unchecked, 1 checked, 2 indeterminate.
void AFXAPI DDX_Check(CDataExchange* pDX, int nIDC, int& value);
// nIDC is the first radio button of its group; value is the index of the
// checked button in the group, -1 for none.
void AFXAPI DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
// Sets the window text only when it differs (no flicker).
void AFXAPI AfxSetWindowText(HWND hWndCtrl, LPCTSTR lpszNew);

/////////////////////////////////////////////////////////////////////////////
// Standard controls

class CStatic : public CWnd
{
    DECLARE_DYNAMIC(CStatic)
public:
    CStatic() = default;
    virtual BOOL Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID = 0xffff);
    HICON SetIcon(HICON hIcon) { return (HICON)::SendMessage(m_hWnd, STM_SETICON, (WPARAM)hIcon, 0); }
    HICON GetIcon() const { return (HICON)::SendMessage(m_hWnd, STM_GETICON, 0, 0); }
    HBITMAP SetBitmap(HBITMAP hBitmap) { return (HBITMAP)::SendMessage(m_hWnd, STM_SETIMAGE, IMAGE_BITMAP, (LPARAM)hBitmap); }
    HBITMAP GetBitmap() const { return (HBITMAP)::SendMessage(m_hWnd, STM_GETIMAGE, IMAGE_BITMAP, 0); }
    HCURSOR SetCursor(HCURSOR hCursor) { return (HCURSOR)::SendMessage(m_hWnd, STM_SETIMAGE, IMAGE_CURSOR, (LPARAM)hCursor); }
    HCURSOR GetCursor() { return (HCURSOR)::SendMessage(m_hWnd, STM_GETIMAGE, IMAGE_CURSOR, 0); }
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class CButton : public CWnd
{
    DECLARE_DYNAMIC(CButton)
public:
    CButton() = default;
    virtual BOOL Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    UINT GetState() const { return (UINT)::SendMessage(m_hWnd, BM_GETSTATE, 0, 0); }
    void SetState(BOOL bHighlight) { ::SendMessage(m_hWnd, BM_SETSTATE, bHighlight, 0); }
    int GetCheck() const { return (int)::SendMessage(m_hWnd, BM_GETCHECK, 0, 0); }
    void SetCheck(int nCheck) { ::SendMessage(m_hWnd, BM_SETCHECK, nCheck, 0); }
    UINT GetButtonStyle() const { return (UINT)GetStyle() & 0xffff; }
    void SetButtonStyle(UINT nStyle, BOOL bRedraw = TRUE) { ::SendMessage(m_hWnd, BM_SETSTYLE, nStyle, bRedraw); }
    HICON SetIcon(HICON hIcon) { return (HICON)::SendMessage(m_hWnd, BM_SETIMAGE, IMAGE_ICON, (LPARAM)hIcon); }
    HICON GetIcon() const { return (HICON)::SendMessage(m_hWnd, BM_GETIMAGE, IMAGE_ICON, 0); }
    HBITMAP SetBitmap(HBITMAP hBitmap) { return (HBITMAP)::SendMessage(m_hWnd, BM_SETIMAGE, IMAGE_BITMAP, (LPARAM)hBitmap); }
    HBITMAP GetBitmap() const { return (HBITMAP)::SendMessage(m_hWnd, BM_GETIMAGE, IMAGE_BITMAP, 0); }
    // Owner-drawn buttons: every WM_DRAWITEM of the button comes here.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class CListBox : public CWnd
{
    DECLARE_DYNAMIC(CListBox)
public:
    CListBox() = default;
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    int GetCount() const { return (int)::SendMessage(m_hWnd, LB_GETCOUNT, 0, 0); }
    int GetHorizontalExtent() const { return (int)::SendMessage(m_hWnd, LB_GETHORIZONTALEXTENT, 0, 0); }
    void SetHorizontalExtent(int cxExtent) { ::SendMessage(m_hWnd, LB_SETHORIZONTALEXTENT, cxExtent, 0); }
    int GetTopIndex() const { return (int)::SendMessage(m_hWnd, LB_GETTOPINDEX, 0, 0); }
    int SetTopIndex(int nIndex) { return (int)::SendMessage(m_hWnd, LB_SETTOPINDEX, nIndex, 0); }
    DWORD_PTR GetItemData(int nIndex) const { return (DWORD_PTR)::SendMessage(m_hWnd, LB_GETITEMDATA, nIndex, 0); }
    int SetItemData(int nIndex, DWORD_PTR dwItemData) { return (int)::SendMessage(m_hWnd, LB_SETITEMDATA, nIndex, (LPARAM)dwItemData); }
    void* GetItemDataPtr(int nIndex) const { return (void*)GetItemData(nIndex); }
    int SetItemDataPtr(int nIndex, void* pData) { return SetItemData(nIndex, (DWORD_PTR)pData); }
    int GetItemRect(int nIndex, LPRECT lpRect) const { return (int)::SendMessage(m_hWnd, LB_GETITEMRECT, nIndex, (LPARAM)lpRect); }
    int GetSel(int nIndex) const { return (int)::SendMessage(m_hWnd, LB_GETSEL, nIndex, 0); }
    int GetText(int nIndex, LPTSTR lpszBuffer) const { return (int)::SendMessage(m_hWnd, LB_GETTEXT, nIndex, (LPARAM)lpszBuffer); }
    void GetText(int nIndex, CString& rString) const;
    int GetTextLen(int nIndex) const { return (int)::SendMessage(m_hWnd, LB_GETTEXTLEN, nIndex, 0); }
    int GetItemHeight(int nIndex) const { return (int)::SendMessage(m_hWnd, LB_GETITEMHEIGHT, nIndex, 0); }
    int SetItemHeight(int nIndex, UINT cyItemHeight) { return (int)::SendMessage(m_hWnd, LB_SETITEMHEIGHT, nIndex, MAKELONG(cyItemHeight, 0)); }
    int GetCurSel() const { return (int)::SendMessage(m_hWnd, LB_GETCURSEL, 0, 0); }
    int SetCurSel(int nSelect) { return (int)::SendMessage(m_hWnd, LB_SETCURSEL, nSelect, 0); }
    int SetSel(int nIndex, BOOL bSelect = TRUE) { return (int)::SendMessage(m_hWnd, LB_SETSEL, bSelect, nIndex); }
    int GetSelCount() const { return (int)::SendMessage(m_hWnd, LB_GETSELCOUNT, 0, 0); }
    int GetSelItems(int nMaxItems, LPINT rgIndex) const { return (int)::SendMessage(m_hWnd, LB_GETSELITEMS, nMaxItems, (LPARAM)rgIndex); }
    int GetCaretIndex() const { return (int)::SendMessage(m_hWnd, LB_GETCARETINDEX, 0, 0); }
    int SetCaretIndex(int nIndex, BOOL bScroll = TRUE) { return (int)::SendMessage(m_hWnd, LB_SETCARETINDEX, nIndex, MAKELONG(bScroll, 0)); }
    int AddString(LPCTSTR lpszItem) { return (int)::SendMessage(m_hWnd, LB_ADDSTRING, 0, (LPARAM)lpszItem); }
    int DeleteString(UINT nIndex) { return (int)::SendMessage(m_hWnd, LB_DELETESTRING, nIndex, 0); }
    int InsertString(int nIndex, LPCTSTR lpszItem) { return (int)::SendMessage(m_hWnd, LB_INSERTSTRING, nIndex, (LPARAM)lpszItem); }
    void ResetContent() { ::SendMessage(m_hWnd, LB_RESETCONTENT, 0, 0); }
    int FindString(int nStartAfter, LPCTSTR lpszItem) const { return (int)::SendMessage(m_hWnd, LB_FINDSTRING, nStartAfter, (LPARAM)lpszItem); }
    int FindStringExact(int nIndexStart, LPCTSTR lpszFind) const { return (int)::SendMessage(m_hWnd, LB_FINDSTRINGEXACT, nIndexStart, (LPARAM)lpszFind); }
    int SelectString(int nStartAfter, LPCTSTR lpszItem) { return (int)::SendMessage(m_hWnd, LB_SELECTSTRING, nStartAfter, (LPARAM)lpszItem); }
    UINT ItemFromPoint(CPoint pt, BOOL& bOutside) const;

    // Owner-drawn list boxes (reflected from the parent).
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    virtual int CompareItem(LPCOMPAREITEMSTRUCT lpCompareItemStruct);
    virtual void DeleteItem(LPDELETEITEMSTRUCT lpDeleteItemStruct);
    virtual int VKeyToItem(UINT nKey, UINT nIndex);
    virtual int CharToItem(UINT nKey, UINT nIndex);
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class CComboBox : public CWnd
{
    DECLARE_DYNAMIC(CComboBox)
public:
    CComboBox() = default;
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    int GetCount() const { return (int)::SendMessage(m_hWnd, CB_GETCOUNT, 0, 0); }
    int GetCurSel() const { return (int)::SendMessage(m_hWnd, CB_GETCURSEL, 0, 0); }
    int SetCurSel(int nSelect) { return (int)::SendMessage(m_hWnd, CB_SETCURSEL, nSelect, 0); }
    DWORD GetEditSel() const { return (DWORD)::SendMessage(m_hWnd, CB_GETEDITSEL, 0, 0); }
    BOOL LimitText(int nMaxChars) { return (BOOL)::SendMessage(m_hWnd, CB_LIMITTEXT, nMaxChars, 0); }
    BOOL SetEditSel(int nStartChar, int nEndChar) { return (BOOL)::SendMessage(m_hWnd, CB_SETEDITSEL, 0, MAKELONG(nStartChar, nEndChar)); }
    DWORD_PTR GetItemData(int nIndex) const { return (DWORD_PTR)::SendMessage(m_hWnd, CB_GETITEMDATA, nIndex, 0); }
    int SetItemData(int nIndex, DWORD_PTR dwItemData) { return (int)::SendMessage(m_hWnd, CB_SETITEMDATA, nIndex, (LPARAM)dwItemData); }
    void* GetItemDataPtr(int nIndex) const { return (void*)GetItemData(nIndex); }
    int SetItemDataPtr(int nIndex, void* pData) { return SetItemData(nIndex, (DWORD_PTR)pData); }
    int GetLBText(int nIndex, LPTSTR lpszText) const { return (int)::SendMessage(m_hWnd, CB_GETLBTEXT, nIndex, (LPARAM)lpszText); }
    void GetLBText(int nIndex, CString& rString) const;
    int GetLBTextLen(int nIndex) const { return (int)::SendMessage(m_hWnd, CB_GETLBTEXTLEN, nIndex, 0); }
    int SetItemHeight(int nIndex, UINT cyItemHeight) { return (int)::SendMessage(m_hWnd, CB_SETITEMHEIGHT, nIndex, MAKELONG(cyItemHeight, 0)); }
    int GetItemHeight(int nIndex) const { return (int)::SendMessage(m_hWnd, CB_GETITEMHEIGHT, nIndex, 0); }
    int FindStringExact(int nIndexStart, LPCTSTR lpszFind) const { return (int)::SendMessage(m_hWnd, CB_FINDSTRINGEXACT, nIndexStart, (LPARAM)lpszFind); }
    int SetExtendedUI(BOOL bExtended = TRUE) { return (int)::SendMessage(m_hWnd, CB_SETEXTENDEDUI, bExtended, 0); }
    BOOL GetExtendedUI() const { return (BOOL)::SendMessage(m_hWnd, CB_GETEXTENDEDUI, 0, 0); }
    void GetDroppedControlRect(LPRECT lprect) const { ::SendMessage(m_hWnd, CB_GETDROPPEDCONTROLRECT, 0, (LPARAM)lprect); }
    BOOL GetDroppedState() const { return (BOOL)::SendMessage(m_hWnd, CB_GETDROPPEDSTATE, 0, 0); }
    int GetDroppedWidth() const { return (int)::SendMessage(m_hWnd, CB_GETDROPPEDWIDTH, 0, 0); }
    int SetDroppedWidth(UINT nWidth) { return (int)::SendMessage(m_hWnd, CB_SETDROPPEDWIDTH, nWidth, 0); }
    int GetTopIndex() const { return (int)::SendMessage(m_hWnd, CB_GETTOPINDEX, 0, 0); }
    int SetTopIndex(int nIndex) { return (int)::SendMessage(m_hWnd, CB_SETTOPINDEX, nIndex, 0); }
    void ShowDropDown(BOOL bShowIt = TRUE) { ::SendMessage(m_hWnd, CB_SHOWDROPDOWN, bShowIt, 0); }
    int AddString(LPCTSTR lpszString) { return (int)::SendMessage(m_hWnd, CB_ADDSTRING, 0, (LPARAM)lpszString); }
    int DeleteString(UINT nIndex) { return (int)::SendMessage(m_hWnd, CB_DELETESTRING, nIndex, 0); }
    int InsertString(int nIndex, LPCTSTR lpszString) { return (int)::SendMessage(m_hWnd, CB_INSERTSTRING, nIndex, (LPARAM)lpszString); }
    void ResetContent() { ::SendMessage(m_hWnd, CB_RESETCONTENT, 0, 0); }
    int FindString(int nStartAfter, LPCTSTR lpszString) const { return (int)::SendMessage(m_hWnd, CB_FINDSTRING, nStartAfter, (LPARAM)lpszString); }
    int SelectString(int nStartAfter, LPCTSTR lpszString) { return (int)::SendMessage(m_hWnd, CB_SELECTSTRING, nStartAfter, (LPARAM)lpszString); }
    void Clear() { ::SendMessage(m_hWnd, WM_CLEAR, 0, 0); }
    void Copy() { ::SendMessage(m_hWnd, WM_COPY, 0, 0); }
    void Cut() { ::SendMessage(m_hWnd, WM_CUT, 0, 0); }
    void Paste() { ::SendMessage(m_hWnd, WM_PASTE, 0, 0); }

    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    virtual int CompareItem(LPCOMPAREITEMSTRUCT lpCompareItemStruct);
    virtual void DeleteItem(LPDELETEITEMSTRUCT lpDeleteItemStruct);
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class CEdit : public CWnd
{
    DECLARE_DYNAMIC(CEdit)
public:
    CEdit() = default;
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    BOOL CanUndo() const { return (BOOL)::SendMessage(m_hWnd, EM_CANUNDO, 0, 0); }
    int GetLineCount() const { return (int)::SendMessage(m_hWnd, EM_GETLINECOUNT, 0, 0); }
    BOOL GetModify() const { return (BOOL)::SendMessage(m_hWnd, EM_GETMODIFY, 0, 0); }
    void SetModify(BOOL bModified = TRUE) { ::SendMessage(m_hWnd, EM_SETMODIFY, bModified, 0); }
    void GetRect(LPRECT lpRect) const { ::SendMessage(m_hWnd, EM_GETRECT, 0, (LPARAM)lpRect); }
    DWORD GetSel() const { return (DWORD)::SendMessage(m_hWnd, EM_GETSEL, 0, 0); }
    void GetSel(int& nStartChar, int& nEndChar) const;
    UINT GetLimitText() const { return (UINT)::SendMessage(m_hWnd, EM_GETLIMITTEXT, 0, 0); }
    void SetLimitText(UINT nMax) { ::SendMessage(m_hWnd, EM_SETLIMITTEXT, nMax, 0); }
    int GetLine(int nIndex, LPTSTR lpszBuffer, int nMaxLength) const;
    void EmptyUndoBuffer() { ::SendMessage(m_hWnd, EM_EMPTYUNDOBUFFER, 0, 0); }
    BOOL FmtLines(BOOL bAddEOL) { return (BOOL)::SendMessage(m_hWnd, EM_FMTLINES, bAddEOL, 0); }
    void LimitText(int nChars = 0) { ::SendMessage(m_hWnd, EM_LIMITTEXT, nChars, 0); }
    int LineFromChar(int nIndex = -1) const { return (int)::SendMessage(m_hWnd, EM_LINEFROMCHAR, nIndex, 0); }
    int LineIndex(int nLine = -1) const { return (int)::SendMessage(m_hWnd, EM_LINEINDEX, nLine, 0); }
    int LineLength(int nLine = -1) const { return (int)::SendMessage(m_hWnd, EM_LINELENGTH, nLine, 0); }
    void LineScroll(int nLines, int nChars = 0) { ::SendMessage(m_hWnd, EM_LINESCROLL, nChars, nLines); }
    void ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo = FALSE) { ::SendMessage(m_hWnd, EM_REPLACESEL, bCanUndo, (LPARAM)lpszNewText); }
    void SetPasswordChar(TCHAR ch) { ::SendMessage(m_hWnd, EM_SETPASSWORDCHAR, (BYTE)ch, 0); }
    TCHAR GetPasswordChar() const { return (TCHAR)::SendMessage(m_hWnd, EM_GETPASSWORDCHAR, 0, 0); }
    void SetRect(LPCRECT lpRect) { ::SendMessage(m_hWnd, EM_SETRECT, 0, (LPARAM)lpRect); }
    void SetSel(DWORD dwSelection, BOOL bNoScroll = FALSE);
    void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE);
    BOOL SetReadOnly(BOOL bReadOnly = TRUE) { return (BOOL)::SendMessage(m_hWnd, EM_SETREADONLY, bReadOnly, 0); }
    int GetFirstVisibleLine() const { return (int)::SendMessage(m_hWnd, EM_GETFIRSTVISIBLELINE, 0, 0); }
    void SetMargins(UINT nLeft, UINT nRight) { ::SendMessage(m_hWnd, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(nLeft, nRight)); }
    BOOL Undo() { return (BOOL)::SendMessage(m_hWnd, EM_UNDO, 0, 0); }
    void Clear() { ::SendMessage(m_hWnd, WM_CLEAR, 0, 0); }
    void Copy() { ::SendMessage(m_hWnd, WM_COPY, 0, 0); }
    void Cut() { ::SendMessage(m_hWnd, WM_CUT, 0, 0); }
    void Paste() { ::SendMessage(m_hWnd, WM_PASTE, 0, 0); }
};

class CScrollBar : public CWnd
{
    DECLARE_DYNAMIC(CScrollBar)
public:
    CScrollBar() = default;
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    int GetScrollPos() const { return ::GetScrollPos(m_hWnd, SB_CTL); }
    int SetScrollPos(int nPos, BOOL bRedraw = TRUE) { return ::SetScrollPos(m_hWnd, SB_CTL, nPos, bRedraw); }
    void GetScrollRange(LPINT lpMinPos, LPINT lpMaxPos) const { ::GetScrollRange(m_hWnd, SB_CTL, lpMinPos, lpMaxPos); }
    void SetScrollRange(int nMinPos, int nMaxPos, BOOL bRedraw = TRUE) { ::SetScrollRange(m_hWnd, SB_CTL, nMinPos, nMaxPos, bRedraw); }
    void ShowScrollBar(BOOL bShow = TRUE) { ::ShowScrollBar(m_hWnd, SB_CTL, bShow); }
    BOOL EnableScrollBar(UINT nArrowFlags = ESB_ENABLE_BOTH) { return ::EnableScrollBar(m_hWnd, SB_CTL, nArrowFlags); }
    BOOL SetScrollInfo(LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE);
    BOOL GetScrollInfo(LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL);
    int GetScrollLimit();
};

/////////////////////////////////////////////////////////////////////////////
// Application

class CWinThread : public CCmdTarget
{
    DECLARE_DYNAMIC(CWinThread)
public:
    CWinThread();
    ~CWinThread() override;

    CWnd* m_pMainWnd;                        // the thread's main window (its end ends the loop)
    CWnd* m_pActiveWnd;
    BOOL m_bAutoDelete;
    HANDLE m_hThread;
    DWORD m_nThreadID;

    virtual CWnd* GetMainWnd() { return m_pMainWnd; }
    virtual BOOL InitInstance() { return FALSE; }
    // The message loop: idle work while the queue is empty, then every message
    // through PumpMessage, until WM_QUIT; returns ExitInstance's code.
    virtual int Run();
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual BOOL PumpMessage();              // FALSE on WM_QUIT
    // lCount 0: first idle call; 1: temporary objects are freed. TRUE asks for
    // more idle calls.
    virtual BOOL OnIdle(LONG lCount);
    virtual BOOL IsIdleMessage(MSG* pMsg);
    virtual int ExitInstance();
    // An exception that reached the window procedure: traced, and the
    // message's failure value returned (-1 for WM_CREATE).
    virtual LRESULT ProcessWndProcException(CException* e, const MSG* pMsg);

    operator HANDLE() const { return m_hThread; }
};

class CCommandLineInfo : public CObject
{
public:
    CCommandLineInfo();

    // One argument of the command line: bFlag when it began with '-' or '/'
    // (which is then removed), bLast for the last argument.
    virtual void ParseParam(LPCTSTR pszParam, BOOL bFlag, BOOL bLast);

    BOOL m_bShowSplash;
    BOOL m_bRunEmbedded;
    BOOL m_bRunAutomated;
    enum { FileNew, FileOpen, FilePrint, FilePrintTo, FileDDE, AppUnregister, FileNothing = -1 } m_nShellCommand;
    CString m_strFileName;                   // the first argument that is not a flag
    CString m_strPrinterName;
    CString m_strDriverName;
    CString m_strPortName;
};

class CWinApp : public CWinThread
{
    DECLARE_DYNAMIC(CWinApp)
public:
    // One application object per program; it becomes AfxGetApp().
    explicit CWinApp(LPCTSTR lpszAppName = NULL);
    ~CWinApp() override;

    HINSTANCE m_hInstance;
    LPTSTR m_lpCmdLine;                      // the command line after the program name
    int m_nCmdShow;
    LPCTSTR m_pszAppName;                    // default caption of message boxes
    LPCTSTR m_pszExeName;                    // the program's file name without extension
    LPCTSTR m_pszHelpFilePath;
    // With a registry key (SetRegistryKey) the profile is
    // HKEY_CURRENT_USER\Software\<m_pszRegistryKey>\<m_pszProfileName>; without
    // one it is the ini file m_pszProfileName. Callers may point
    // m_pszProfileName at their own string for a while (and back).
    LPCTSTR m_pszRegistryKey;
    LPCTSTR m_pszProfileName;

    virtual BOOL InitApplication() { return TRUE; }
    BOOL InitInstance() override { return TRUE; }
    int ExitInstance() override;
    BOOL OnIdle(LONG lCount) override;
    virtual int DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt);
    virtual void DoWaitCursor(int nCode);    // 1 begin, -1 end, 0 restore

    void SetRegistryKey(LPCTSTR lpszRegistryKey);
    void SetRegistryKey(UINT nIDRegistryKey);
    // The application's key (created when missing; the caller closes it), or NULL.
    HKEY GetAppRegistryKey();
    // A section's key below the application's key (created when missing), or
    // NULL. An empty section name is the application's key itself.
    HKEY GetSectionKey(LPCTSTR lpszSection);

    // The profile. Values of the wrong type or size read as the default.
    UINT GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault);
    BOOL WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue);
    CString GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault = NULL);
    // lpszEntry NULL deletes the section; lpszValue NULL deletes the entry.
    BOOL WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue);
    void LoadStdProfileSettings(UINT nMaxMRU = 4);   // no recent-file list: nothing to load

    // Splits m_lpCmdLine (the process's command line when it is not set) as
    // the C runtime does and hands each argument to rCmdInfo.ParseParam.
    void ParseCommandLine(CCommandLineInfo& rCmdInfo);

    HCURSOR LoadCursor(LPCTSTR lpszResourceName) const;
    HCURSOR LoadCursor(UINT nIDResource) const { return LoadCursor(MAKEINTRESOURCE(nIDResource)); }
    HCURSOR LoadStandardCursor(LPCTSTR lpszCursorName) const { return ::LoadCursor(NULL, lpszCursorName); }
    HICON LoadIcon(LPCTSTR lpszResourceName) const;
    HICON LoadIcon(UINT nIDResource) const { return LoadIcon(MAKEINTRESOURCE(nIDResource)); }
    HICON LoadStandardIcon(LPCTSTR lpszIconName) const { return ::LoadIcon(NULL, lpszIconName); }

    // Fills the handles and names (used by AfxWinInit).
    void SetCurrentHandles(HINSTANCE hInstance, LPTSTR lpCmdLine, int nCmdShow);

protected:
    int m_nWaitCursorCount;
    HCURSOR m_hcurWaitCursorRestore;

private:
    void SetOwnedString(LPCTSTR* ppsz, LPTSTR* ppszOwned, LPCTSTR lpszValue);
    HKEY OpenSectionKey(LPCTSTR lpszSection, BOOL bCreate);
    LPTSTR m_pszAppNameOwned;
    LPTSTR m_pszExeNameOwned;
    LPTSTR m_pszRegistryKeyOwned;
    LPTSTR m_pszProfileNameOwned;
};

/////////////////////////////////////////////////////////////////////////////
// Global helpers

CWinApp* AFXAPI AfxGetApp();
CWinThread* AFXAPI AfxGetThread();           // the calling thread's thread object (the application's on its thread)
CWnd* AFXAPI AfxGetMainWnd();                // the calling thread's main window
LPCTSTR AFXAPI AfxGetAppName();
void AFXAPI AfxPostQuitMessage(int nExitCode);
const MSG* AFXAPI AfxGetCurrentMessage();

// Registers (once) a window class with the default window procedure and
// returns its name, which stays valid for the process. Throws
// CResourceException when the class cannot be registered.
LPCTSTR AFXAPI AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = 0, HBRUSH hbrBackground = 0, HICON hIcon = 0);
// TRUE when the class is registered (now or before).
BOOL AFXAPI AfxRegisterClass(WNDCLASS* lpWndClass);
// Registers the common control classes (once per process).
void AFXAPI AfxInitCommonControls();

int AFXAPI AfxMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AFXAPI AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = (UINT)-1);

// Frees the calling thread's temporary CWnd, CDC, CGdiObject, CMenu and
// CImageList objects (the idle handler does this).
void AFXAPI AfxDeleteTempMaps();

// Program start: AfxWinInit, InitApplication, InitInstance, Run. The
// framework's WinMain calls it; a program that has its own WinMain may too.
BOOL AFXAPI AfxWinInit(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow);
int AFXAPI AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow);
