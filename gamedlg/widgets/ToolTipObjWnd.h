// CToolTipObjWnd: the program's own tooltip. A plain object (one lives in the
// application object) owning a popup of the window class "ToolTipObjWnd". It
// keeps a list of tools (a window, optionally a rectangle in it, a text
// and/or a bitmap), watches the mouse through the messages the application
// relays to it, and after the mouse rested on a tool for the initial delay
// shows a rounded tip with a pointer at the cursor, which goes after the
// display time, on a button press, or when the mouse moves off the tools.
//
// A tool's notify window, when it has one, is asked for the rectangle
// (WM_USER + 33) or the text (WM_USER + 34) with lParam = the tool record.
#pragma once

#include <windows.h>

#include <vector>

const UINT WM_TOOLTIP_GETRECT = WM_USER + 33;
const UINT WM_TOOLTIP_GETTEXT = WM_USER + 34;

// Sources (low 4 bits): 1 = the record's own value, 2 = asked from the notify window.
const UINT kToolSourceNone = 0;
const UINT kToolSourceRecord = 1;
const UINT kToolSourceNotify = 2;
const int kWholeWindowTool = -1;

struct TOOLOBJINFO {
    HWND hWnd;            // the window the tool belongs to
    HWND hNotify;         // asked for the rectangle or the text; null = none
    int nId;              // -1 = the whole window, else a rectangle tool
    UINT nRectSource;
    RECT rect;            // client coordinates of hWnd
    int nLayout;          // 0 bitmap else text; 1, 3 side by side; 2, 4 stacked
    UINT nTextSource;
    char* pszText;        // owned by the record (SetToolText)
    UINT nBitmapSource;
    HBITMAP hBitmap;      // not owned
};

// Replaces a record's text with a copy (null gives an empty text); notify
// windows use it to answer WM_USER + 34.
void SetToolText(TOOLOBJINFO* pInfo, const char* pszText);

class CToolTipObjWnd
{
public:
    CToolTipObjWnd();
    ~CToolTipObjWnd();
    CToolTipObjWnd(const CToolTipObjWnd&) = delete;
    CToolTipObjWnd& operator=(const CToolTipObjWnd&) = delete;

    // Creates the tip font and the tip window (a popup owned by hOwner).
    BOOL Create(HWND hOwner, BOOL bUnused = FALSE);
    // The tip font becomes a copy of hFont (the window argument is not used).
    void SetFont(HWND hWnd, HFONT hFont);

    // Whole-window tools.
    void AddTool(HWND hWnd, LPCSTR lpszText, HWND hNotify = NULL);
    void AddTool(HWND hWnd, HBITMAP hBitmap);
    void AddTool(HWND hWnd, LPCSTR lpszText, HBITMAP hBitmap, int nLayout);
    // Rectangle tools (client coordinates of hWnd).
    void AddTool(HWND hWnd, int nId, const RECT& rect, LPCSTR lpszText);
    void AddTool(HWND hWnd, int nId, const RECT& rect, HBITMAP hBitmap);
    void AddTool(HWND hWnd, int nId, const RECT& rect, LPCSTR lpszText, HBITMAP hBitmap, int nLayout);
    // Removes the tools of the window with the id; id -1 also removes the
    // tools of every window whose chain of parents reaches it.
    void DelTool(HWND hWnd, int nId = kWholeWindowTool);

    // Every message the application pre-translates.
    void RelayEvent(const MSG* pMsg);

    // Shows a tip at once at a screen point, without a registered tool.
    void ShowTipAt(POINT ptScreen, LPCSTR lpszText);
    void ShowTipAt(POINT ptScreen, LPCSTR lpszText, HBITMAP hBitmap, int nLayout);
    void Hide();

    // The tool under a screen point: a rectangle tool holding the point wins,
    // else the last whole-window tool of the window there; null for none.
    const TOOLOBJINFO* FindToolAt(POINT ptScreen);

    HWND GetSafeHwnd() const { return m_hTip; }
    HFONT GetFont() const { return m_hFont; }
    const std::vector<TOOLOBJINFO>& GetTools() const { return m_tools; }
    const TOOLOBJINFO& GetCurrentTool() const { return m_current; }
    BOOL IsShown() const { return m_hTip != NULL && ::IsWindowVisible(m_hTip); }
    BOOL IsUp() const { return m_bUp; }
    BOOL IsLeft() const { return m_bLeft; }
    // The rest before showing and the display time, in milliseconds.
    void SetDelayTimes(UINT nInitial, UINT nDisplay)
    {
        m_nInitialDelay = nInitial;
        m_nDisplayTime = nDisplay;
    }

private:
    enum { kTimerRest = 1, kTimerDisplay = 2 };
    void AddOrUpdate(TOOLOBJINFO& info);
    void ShowTool(const TOOLOBJINFO& tool, POINT ptCursor);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnPaint();
    static void FreeRecord(TOOLOBJINFO& info);
    static LRESULT CALLBACK WndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hOwner;
    HFONT m_hFont;
    HWND m_hDesktop;
    HWND m_hTip;
    std::vector<TOOLOBJINFO> m_tools;
    TOOLOBJINFO m_current;
    POINT m_ptLast;
    UINT m_nInitialDelay;
    UINT m_nDisplayTime;
    BOOL m_bLeft, m_bUp;
    HBRUSH m_hFrameBrush;
    HBRUSH m_hFillBrush;
    COLORREF m_crText;
    RECT m_rcContent;
};
