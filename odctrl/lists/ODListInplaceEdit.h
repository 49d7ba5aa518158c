// ODListInplaceEdit.h - the editors that open over one cell of a list:
// CODListInPlaceEdit, the list's own single-line editor (the library's
// owner-draw edit, optionally with a "..." button at its right), and
// CODListInPlaceCombo, a combo box editor a parent may open itself. Both
// end on focus loss, Tab, Enter or Esc, tell their owner once through
// NMODLISTEDIT (-2058) and close; each object deletes itself once its window
// is gone.
#pragma once

#include "afxwin.h"

#include "ODEdit.h"
#include "ODListTypes.h"

// The record of the editing notifications: -2057 begin (list to parent),
// -2058 end (editor to its owner, then list to parent), -2062 the "..."
// button (text: a buffer of kCellBuffer bytes the parent may rewrite).
struct NMODLISTEDIT
{
    NMHDR hdr;
    odlist::NodeHandle node;  // 0
    int item;
    int column;
    int button;   // 1: the default editor shows a "..." button
    HWND editor;  // begin: the window the parent opened (0 none)
    RECT rect;
    int key;      // what started / ended the edit (1 mouse, 9 Tab, 13 Enter, 27 Esc, a character)
    char* text;
    uint32_t data;
};

enum ODListEditCode : int {
    kNotifyBeginEdit = -2057,
    kNotifyEndEdit = -2058,
    kNotifyEditButton = -2062,
};

// What the key that opened an editor does to its text.
enum ODEditKeyAction { kEditCaretAtEnd, kEditDeleteLast, kEditSelectAll, kEditReplace };
ODEditKeyAction ODEditKeyActionOf(int key);

class CODListInPlaceEdit : public CODEdit
{
    DECLARE_DYNAMIC(CODListInPlaceEdit)
public:
    CODListInPlaceEdit(int item, int column, BOOL button);

    // The editor over `rect` (narrowed by its height for the button when it
    // is wide enough, else without button), a child of the list.
    BOOL CreateEditor(DWORD style, const RECT& rect, CWnd* list, UINT id);
    void OnEditKey(int key);
    // Tells the owner once (-2058) and closes.
    void EndEdit();
    CWnd* GetButton() { return m_buttonWnd.m_hWnd ? &m_buttonWnd : nullptr; }

    BOOL m_ended = FALSE;
    int m_item;
    int m_column;
    BOOL m_button;
    int m_key = 13;

protected:
    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;

private:
    bool EndKey(UINT key);
    void ButtonFocused();
    CButton m_buttonWnd;
};

class CODListInPlaceCombo : public CComboBox
{
    DECLARE_DYNAMIC(CODListInPlaceCombo)
public:
    CODListInPlaceCombo(int item, int column);
    void OnEditKey(int key);
    void EndEdit();

    BOOL m_ended = FALSE;
    int m_item;
    int m_column;
    int m_key = 13;

protected:
    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;
    afx_msg void OnKillFocusReflect();
    DECLARE_MESSAGE_MAP()
};
