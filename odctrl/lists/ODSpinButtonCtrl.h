// ODSpinButtonCtrl.h - CODSpinButtonCtrl skins a system up-down control by
// covering its two halves (top and bottom, or left and right with UDS_HORZ)
// with two CODButtons, ids 100 "<" and 101 ">". A click on a button, by
// mouse or key, becomes a click on the middle of the up-down's own half
// under that button, so the system control keeps the counting and the
// buddy. While active it follows the position and refuses changes that
// would not move it (at a limit); a wrapping control is never followed.
// Arithmetic: ODSpinLogic.h.
#pragma once

#include "afxcmn.h"

#include "ODButton.h"
#include "ODSpinLogic.h"

class CODSpinButtonCtrl : public CSpinButtonCtrl
{
    DECLARE_DYNAMIC(CODSpinButtonCtrl)
public:
    enum
    {
        FirstButtonId = 100,
        SecondButtonId = 101,
    };

    CODSpinButtonCtrl();
    ~CODSpinButtonCtrl() override;

    CODButton* GetButton(int index);
    virtual void RefreshState();
    // The previous flag; then the state is read again.
    BOOL SetActive(BOOL active);
    BOOL IsActive() const { return m_state.active; }
    int GetTrackedPos() const { return m_state.pos; }
    int GetLowerLimit() const { return m_state.lower; }
    int GetUpperLimit() const { return m_state.upper; }
    HWND GetBuddyWindow() const { return m_buddy; }

protected:
    void PreSubclassWindow() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    afx_msg void OnDeltaPos(NMHDR* header, LRESULT* result);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    afx_msg void OnMove(int x, int y);
    DECLARE_MESSAGE_MAP()

private:
    odspin::Rect Client() const;
    bool Horizontal() const;
    void PlaceButtons(BOOL repaint);

    CODButton m_buttons[2];
    HWND m_buddy = NULL;
    odspin::State m_state;
};
