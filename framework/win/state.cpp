// Per-thread state, temporary objects and the default window classes.
#include "winstate.h"

#include <stdio.h>

#include <memory>
#include <string>

namespace {

CWnd* NewTempWnd(HWND h)
{
    CWnd* p = new CWnd;
    p->m_hWnd = h;
    return p;
}
void FreeTempWnd(CWnd* p)
{
    p->m_hWnd = NULL;
    delete p;
}

CMenu* NewTempMenu(HMENU h)
{
    CMenu* p = new CMenu;
    p->m_hMenu = h;
    return p;
}
void FreeTempMenu(CMenu* p)
{
    p->m_hMenu = NULL;
    delete p;
}

CDC* NewTempDC(HDC h)
{
    CDC* p = new CDC;
    p->m_hDC = p->m_hAttribDC = h;
    return p;
}
void FreeTempDC(CDC* p)
{
    p->m_hDC = p->m_hAttribDC = NULL;
    delete p;
}

// The wrapper's class follows the object's type, so CFont::FromHandle and
// the like hand out objects of their own class.
CGdiObject* NewTempGdiObject(HGDIOBJ h)
{
    CGdiObject* p;
    switch (::GetObjectType(h)) {
    case OBJ_PEN:
    case OBJ_EXTPEN: p = new CPen; break;
    case OBJ_BRUSH: p = new CBrush; break;
    case OBJ_FONT: p = new CFont; break;
    case OBJ_BITMAP: p = new CBitmap; break;
    case OBJ_PAL: p = new CPalette; break;
    case OBJ_REGION: p = new CRgn; break;
    default: p = new CGdiObject; break;
    }
    p->m_hObject = h;
    return p;
}
void FreeTempGdiObject(CGdiObject* p)
{
    p->m_hObject = NULL;
    delete p;
}

CImageList* NewTempImageList(HIMAGELIST h)
{
    CImageList* p = new CImageList;
    p->m_hImageList = h;
    return p;
}
void FreeTempImageList(CImageList* p)
{
    p->m_hImageList = NULL;
    delete p;
}

}  // namespace

AFX_THREAD_STATE::AFX_THREAD_STATE()
    : m_lastSentMsg(), m_msgCur(), m_ptCursorLast(-1, -1), m_nMsgLast(0),
      m_hHookCbtFilter(NULL), m_pWndInit(NULL),
      m_mapHWND(NewTempWnd, FreeTempWnd), m_mapHMENU(NewTempMenu, FreeTempMenu),
      m_mapHDC(NewTempDC, FreeTempDC), m_mapHGDIOBJ(NewTempGdiObject, FreeTempGdiObject),
      m_mapHIMAGELIST(NewTempImageList, FreeTempImageList),
      m_pToolTip(NULL), m_hWndLastHit(NULL), m_nLastHit(-1), m_lastInfo(),
      m_hTrackingMenu(NULL), m_pCurrentWinThread(NULL)
{
}

AFX_THREAD_STATE* AFXAPI AfxGetThreadState()
{
    // Never destroyed: objects that outlive the thread's other statics (a
    // static CWnd, a global CFont) may still look into it while the process
    // ends.
    static thread_local AFX_THREAD_STATE* t_pState = NULL;
    if (t_pState == NULL)
        t_pState = new AFX_THREAD_STATE;
    return t_pState;
}

void AFXAPI AfxDeleteTempMaps()
{
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    pState->m_mapHWND.DeleteTemp();
    pState->m_mapHMENU.DeleteTemp();
    pState->m_mapHDC.DeleteTemp();
    pState->m_mapHGDIOBJ.DeleteTemp();
    pState->m_mapHIMAGELIST.DeleteTemp();
}

const MSG* AFXAPI AfxGetCurrentMessage()
{
    return &AfxGetThreadState()->m_lastSentMsg;
}

void AFXAPI AfxTraceCaughtException(LPCSTR lpszWhere, CException* e)
{
    char szText[256] = "";
    if (e == NULL || !e->GetErrorMessage(szText, sizeof(szText)))
        lstrcpynA(szText, "unknown exception", sizeof(szText));
    char szLine[400];
    _snprintf(szLine, sizeof(szLine) - 1, "[%s] exception caught: %s\n", lpszWhere, szText);
    szLine[sizeof(szLine) - 1] = '\0';
    ::OutputDebugStringA(szLine);
}

UINT AFXAPI AfxGetDragListMessage()
{
    static const UINT s_nMsgDragList = ::RegisterWindowMessageA(DRAGLISTMSGSTRING);
    return s_nMsgDragList;
}

/////////////////////////////////////////////////////////////////////////////
// Window classes

const char g_afxWndClass[] = "AfxWnd";
const char g_afxWndFrameOrView[] = "AfxFrameOrView";

BOOL AFXAPI AfxEnsureDefaultClass(LPCTSTR lpszClass)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = ::LoadCursorA(NULL, IDC_ARROW);
    if (lstrcmpA(lpszClass, g_afxWndFrameOrView) == 0) {
        wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
        wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    } else {
        wc.style = CS_DBLCLKS;
    }
    wc.lpszClassName = lpszClass;
    return AfxRegisterClass(&wc);
}

BOOL AFXAPI AfxRegisterClass(WNDCLASS* lpWndClass)
{
    WNDCLASSA wc;
    if (::GetClassInfoA(lpWndClass->hInstance, lpWndClass->lpszClassName, &wc))
        return TRUE;
    return ::RegisterClassA(lpWndClass) != 0;
}

LPCTSTR AFXAPI AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon)
{
    // One registration per distinct set of attributes; the names live as
    // long as the process.
    static CRITICAL_SECTION s_lock;
    static const BOOL s_bLockReady = (::InitializeCriticalSection(&s_lock), TRUE);
    (void)s_bLockReady;
    static std::unordered_map<std::string, std::unique_ptr<char[]>>* s_pNames =
        new std::unordered_map<std::string, std::unique_ptr<char[]>>;

    HINSTANCE hInst = AfxGetInstanceHandle();
    char szName[128];
    if (hCursor == NULL && hbrBackground == NULL && hIcon == NULL)
        _snprintf(szName, sizeof(szName), "Afx:%p:%x", (void*)hInst, nClassStyle);
    else
        _snprintf(szName, sizeof(szName), "Afx:%p:%x:%p:%p:%p", (void*)hInst, nClassStyle, (void*)hCursor,
                  (void*)hbrBackground, (void*)hIcon);
    szName[sizeof(szName) - 1] = '\0';

    ::EnterCriticalSection(&s_lock);
    auto it = s_pNames->find(szName);
    if (it != s_pNames->end()) {
        LPCTSTR lpsz = it->second.get();
        ::LeaveCriticalSection(&s_lock);
        return lpsz;
    }
    WNDCLASSA wc = {};
    wc.style = nClassStyle;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = hInst;
    wc.hIcon = hIcon;
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.lpszClassName = szName;
    if (!AfxRegisterClass(&wc)) {
        ::LeaveCriticalSection(&s_lock);
        AfxThrowResourceException();
    }
    size_t nLen = strlen(szName) + 1;
    std::unique_ptr<char[]> copy(new char[nLen]);
    memcpy(copy.get(), szName, nLen);
    LPCTSTR lpsz = copy.get();
    s_pNames->emplace(szName, std::move(copy));
    ::LeaveCriticalSection(&s_lock);
    return lpsz;
}

void AFXAPI AfxInitCommonControls()
{
    static const BOOL s_bDone = []() {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_USEREX_CLASSES};
        return ::InitCommonControlsEx(&icc);
    }();
    (void)s_bDone;
}
