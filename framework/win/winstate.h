// Per-thread state of the window layer: the message being handled, the
// creation hook, the handle maps and the tooltip of EnableToolTips.
// Internal to framework/win.
#pragma once

#include "afxwin.h"
#include "afxcmn.h"

#include <exception>
#include <unordered_map>

// Maps handles to framework objects for one thread: permanent entries are
// objects attached by their owners; temporary ones are made by FromHandle
// for handles that have no object and freed by DeleteTemp (idle time).
template<class H, class T>
class CAfxHandleMap
{
public:
    typedef T* (*PFN_NEWTEMP)(H handle);      // a wrapper that does not own the handle
    typedef void (*PFN_FREETEMP)(T* pObject);  // forgets the handle and deletes

    CAfxHandleMap(PFN_NEWTEMP pfnNew, PFN_FREETEMP pfnFree) : m_pfnNew(pfnNew), m_pfnFree(pfnFree) {}

    T* LookupPermanent(H h) const
    {
        auto it = m_permanent.find(h);
        return it == m_permanent.end() ? NULL : it->second;
    }
    T* FromHandle(H h)
    {
        if (h == NULL)
            return NULL;
        if (T* p = LookupPermanent(h))
            return p;
        auto it = m_temporary.find(h);
        if (it != m_temporary.end())
            return it->second;
        T* p = m_pfnNew(h);
        m_temporary[h] = p;
        return p;
    }
    void SetPermanent(H h, T* p) { m_permanent[h] = p; }
    void RemovePermanent(H h, T* p)
    {
        auto it = m_permanent.find(h);
        if (it != m_permanent.end() && it->second == p)
            m_permanent.erase(it);
    }
    void DeleteTemp()
    {
        // A wrapper's destructor may not touch the map: take them out first.
        std::unordered_map<H, T*> temporary;
        temporary.swap(m_temporary);
        for (auto& entry : temporary)
            m_pfnFree(entry.second);
    }

private:
    std::unordered_map<H, T*> m_permanent;
    std::unordered_map<H, T*> m_temporary;
    PFN_NEWTEMP m_pfnNew;
    PFN_FREETEMP m_pfnFree;
};

struct AFX_THREAD_STATE
{
    AFX_THREAD_STATE();

    MSG m_lastSentMsg;                       // the message AfxCallWndProc is handling
    MSG m_msgCur;                            // the message of the current pump
    CPoint m_ptCursorLast;                   // IsIdleMessage: last mouse position
    UINT m_nMsgLast;

    // Creation hook
    HHOOK m_hHookCbtFilter;
    CWnd* m_pWndInit;                        // the object waiting for its window
    std::exception_ptr m_hookException;      // thrown inside the hook, rethrown by the creator

    // Handle maps
    CAfxHandleMap<HWND, CWnd> m_mapHWND;
    CAfxHandleMap<HMENU, CMenu> m_mapHMENU;
    CAfxHandleMap<HDC, CDC> m_mapHDC;
    CAfxHandleMap<HGDIOBJ, CGdiObject> m_mapHGDIOBJ;
    CAfxHandleMap<HIMAGELIST, CImageList> m_mapHIMAGELIST;

    // Tooltips of EnableToolTips
    CToolTipCtrl* m_pToolTip;
    HWND m_hWndLastHit;
    INT_PTR m_nLastHit;
    TOOLINFO m_lastInfo;

    // The popup menu being tracked (owner-drawn menu items)
    HMENU m_hTrackingMenu;

    CWinThread* m_pCurrentWinThread;         // set for threads other than the application's
};

// The calling thread's state (made on first use, kept for the thread's life).
AFX_THREAD_STATE* AFXAPI AfxGetThreadState();

// Creation hook: the next window created on this thread is attached to pWnd
// and subclassed before it receives its first message.
void AFXAPI AfxHookWindowCreate(CWnd* pWnd);
// Ends the hook for pWnd; rethrows an exception raised inside the hook.
void AFXAPI AfxUnhookWindowCreate(CWnd* pWnd);

// Pumps one message through the thread's PreTranslateMessage; FALSE on WM_QUIT.
BOOL AFXAPI AfxInternalPumpMessage();
BOOL AFXAPI AfxInternalIsIdleMessage(MSG* pMsg);
BOOL AFXAPI AfxPreTranslateMessage(MSG* pMsg);

// Traces an exception that a window procedure or callback caught.
void AFXAPI AfxTraceCaughtException(LPCSTR lpszWhere, CException* e);

// The registered message of drag list boxes.
UINT AFXAPI AfxGetDragListMessage();

// Shared names of the framework's default window classes.
extern const char g_afxWndClass[];
extern const char g_afxWndFrameOrView[];
BOOL AFXAPI AfxEnsureDefaultClass(LPCTSTR lpszClass);
