// ODComboDropDown.h - the popup windows the combo boxes show below
// themselves: CODComboLB holds a list box (CODListBox) for CODComboBox,
// CODComboLC a one-column list control (CODListCtrl) for CODComboList.
//
// Each is a framed CODNcMgrWnd whose client area is a scroll-bar container
// (CSBContainerWnd) hosting the list, so the list scrolls with the skinned
// bars and its commands and notifications reach this window. The window
// turns them, and the keys Enter, Escape (and for the list box the arrows),
// into the owner combo's accept and cancel paths:
//
//   Enter    LB: a tracked item with nothing selected is selected first; the
//                owner hears LBN_SELCHANGE from the list and closes (accept).
//            LC: the owner hears WM_COMMAND code NotifyAccept and closes (accept).
//   Escape   both: hidden, the owner closes with cancel.
//   Up/Down  LB: the list moves without notifying; the owner's edit shows the
//                selection and the owner sends CBN_SELCHANGE; stays open.
//   focus    to a container scroll bar: stays open (LB takes the focus back,
//            LC leaves it on the bar); to the list: stays open, the focus
//            on the list (LC) or taken back (LB); to the owner's drop button
//            (pressed: its command closes): stays open; elsewhere: hidden,
//            the owner closes with cancel, once the focus has settled.
//
// The keys are taken in PreTranslateMessage, so they need a message loop
// that pre-translates (the framework's own does).
#pragma once

#include <memory>

#include "ODListBox.h"
#include "ODListCtrl.h"
#include "ODNcMgrWnd.h"
#include "ODSBContainerWnd.h"

class CODComboBase;
class CODComboBox;
class CODComboList;

// What both drop-downs share: the container, the owner, the size and
// wheel handling, Escape and the focus rules.
class CODComboDropDown : public CODNcMgrWnd
{
    DECLARE_DYNAMIC(CODComboDropDown)
public:
    // Posted to itself when it loses the focus: closes the owner with
    // cancel unless the focus ended inside this window or on the owner's
    // drop button.
    static constexpr UINT CheckFocusMessage = WM_USER + 0x0162;

    CODComboDropDown();
    ~CODComboDropDown() override;

    CSBContainerWnd* GetContainer() const { return m_container.get(); }
    // The list window inside the container (NULL before creation).
    virtual CWnd* GetListWnd() const = 0;
    CODComboBase* GetOwnerComboBase() const { return m_owner; }
    // Hides the window (nothing without one).
    void Hide();
    // Whether the window is one of the container's two scroll bars.
    BOOL IsContainerBar(HWND window) const;

protected:
    // Creates the list inside the container's client rectangle; FALSE on failure.
    virtual BOOL CreateList(const RECT& rect) = 0;
    // Focus moving into the list: what each kind does to keep it open.
    virtual void OnFocusToList() = 0;
    // Focus moving to a container bar.
    virtual void OnFocusToBar() = 0;
    // Enter pressed: the accept path of each kind.
    virtual void OnEnter() = 0;
    // The arrow keys (VK_UP, VK_DOWN); TRUE when handled.
    virtual BOOL OnArrow(MSG* pMsg);

    BOOL PreTranslateMessage(MSG* pMsg) override;
    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnKillFocus(CWnd* pNew);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
    afx_msg LRESULT OnCheckFocus(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    // Hides the window and closes the owner with or without cancel.
    void CloseOwner(BOOL cancel);

    std::unique_ptr<CSBContainerWnd> m_container;
    CODComboBase* m_owner = nullptr;
};

class CODComboLB : public CODComboDropDown
{
    DECLARE_DYNCREATE(CODComboLB)
public:
    CODComboLB();
    ~CODComboLB() override;

    void SetOwnerCombo(CODComboBox* combo);
    CODComboBox* GetOwnerCombo() const;
    CODListBox* GetList() const { return m_list.get(); }
    CWnd* GetListWnd() const override { return m_list.get(); }

protected:
    BOOL CreateList(const RECT& rect) override;
    void OnFocusToList() override;
    void OnFocusToBar() override;
    void OnEnter() override;
    BOOL OnArrow(MSG* pMsg) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    std::unique_ptr<CODListBox> m_list;
};

class CODComboLC : public CODComboDropDown
{
    DECLARE_DYNCREATE(CODComboLC)
public:
    // The command code Enter sends to the owner: the 16-bit form of the
    // list control's "selection changed" (-2052).
    static constexpr WORD NotifyAccept = 0xF7FC;

    CODComboLC();
    ~CODComboLC() override;

    void SetOwnerCombo(CODComboList* combo);
    CODComboList* GetOwnerCombo() const;
    CODListCtrl* GetList() const { return m_list.get(); }
    CWnd* GetListWnd() const override { return m_list.get(); }

protected:
    BOOL CreateList(const RECT& rect) override;
    void OnFocusToList() override;
    void OnFocusToBar() override;
    void OnEnter() override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
    std::unique_ptr<CODListCtrl> m_list;
};
