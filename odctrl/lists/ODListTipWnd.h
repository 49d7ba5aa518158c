// ODListTipWnd.h - CODListTipCtrl, the popup that shows the whole text of a
// list cell whose text is cut off, laid exactly over the cell.
//
// A borderless top-most tool window of class "MFCODListTipCtrl" owned by the
// list. Where the system offers layered windows it fades in: the alpha starts
// at 0 and timer 1 raises it by 10 every 20 ms; a hide leaves it at 255 and
// 100 ms later sets it back to 0, so the next tip fades in again. The tip
// never keeps input: a key, a press or a move off its text hides it and goes
// on to the list (when the tip itself is under the pointer) or to the window
// below, two left presses within the double-click time arriving as a double
// click. Where the tip is created and fed is the business of a derived list
// (CODListCtrl::OnCellHover).
#pragma once

#include "afxwin.h"

#include <string>

class CODListCtrl;

class CODListTipCtrl : public CWnd
{
public:
    CODListTipCtrl();

    // The popup, owned by the list. FALSE when the window cannot be made.
    BOOL Create(CODListCtrl* list);
    // Shows the text over the cell (list client coordinates) when it is wider
    // than the cell, in `font` (NULL: the list's); else hides the tip. 1 when
    // the tip is shown. A repeated request for the same cell and text leaves
    // the tip as it is.
    int Show(const RECT& cellRect, const char* text, HFONT font);
    void Hide();
    int GetAlpha() const { return m_alpha; }
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    afx_msg void OnPaint();
    afx_msg void OnTimer(UINT_PTR id);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    DECLARE_MESSAGE_MAP()

    // Where input goes: the window under a screen point (the list in place of
    // the tip), with the point as that window reads it and its hit code.
    HWND TargetAt(POINT screen, LPARAM* point, LRESULT* hit);
    void ApplyAlpha();

    CODListCtrl* m_list = nullptr;
    bool m_layered = false;        // the layered-window functions are there
    int m_alpha = 0;               // 0..255
    DWORD m_lastPress = DWORD(-1);  // tick of the last left press, -1 none
    UINT m_doubleClickTime;
    RECT m_lastRect = {};          // the last cell, screen coordinates
    std::string m_lastText;
    RECT m_textRect = {};          // tip client coordinates
    std::string m_text;
    HFONT m_font = NULL;
    int m_margin = 0;
};
