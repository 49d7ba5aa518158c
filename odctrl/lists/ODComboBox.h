// ODComboBox.h - the library's two skinned combo boxes: CODComboBox, whose
// drop-down (CODComboLB) holds a list box, and CODComboList, whose drop-down
// (CODComboLC) holds a one-column list control titled "Column0".
//
// A combo is a CODNcMgrWnd of three parts: an edit (CODEdit, id 4318) over
// the client area left of a drop button (CODButton, id 4317, at the right
// edge), and a popup drop-down owned by the combo's parent. The client area
// is one selection row high. With CBS_DROPDOWNLIST the edit is read-only and
// hidden, and the combo paints the selection itself (DrawItem).
//
// It answers CB_GETCURSEL, CB_SETCURSEL and the text messages (the edit's
// text; refused with 0 when the edit has ES_PASSWORD) and reports to its
// parent with WM_COMMAND (id | code << 16, the combo's window):
//   open      CBN_DROPDOWN
//   accept    CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP
//   cancel    CBN_SELENDCANCEL, CBN_CLOSEUP
//   focus     CBN_SETFOCUS, CBN_KILLFOCUS; typing: CBN_EDITCHANGE
// SetCurSel sends one CBN_SELCHANGE (none for an item without text).
//
// A click on the combo or its parts while the drop-down is open closes it
// with cancel; the click that closes it on the button (also when the
// drop-down closed because that click took the focus away) does not open it
// again. That needs a message loop that pre-translates (the framework's
// own does).
//
// A dialog's native combo box is replaced in place by ReplaceWindow /
// ReplaceDlgItem (also through the library's dialog data exchange): same
// id, rectangle, place in the Z order and item texts, style
// WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP.
//
// Theme section "ODComboBox" (each class keeps its own copy): "ColorBk"
// (COLOR_WINDOW; -1 no fill), "ImageDropBtnIn" and "ImageDropBtnOut" (the
// button's two faces, resource type "GIF"; without them the button shows a
// drawn arrow).
#pragma once

#include <string>

#include "ODButton.h"
#include "ODComboDropDown.h"
#include "ODEdit.h"
#include "ODNcMgrWnd.h"

class CODComboBase : public CODNcMgrWnd
{
    DECLARE_DYNAMIC(CODComboBase)
public:
    enum
    {
        ButtonId = 4317,
        EditId = 4318,
        DefaultDroppedSize = 200,
        DefaultButtonWidth = 20,
        DefaultSelectionHeight = 20,
    };
    // The replacement's style: WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP.
    static constexpr DWORD ReplaceStyle = 0x50810000;
    static constexpr COLORREF NoFill = 0xFFFFFFFF;

    struct Theme
    {
        COLORREF bk;
        UINT imageIn, imageOut;
    };

    CODComboBase();
    ~CODComboBase() override;

    // ---- Creation and replacement ----
    // 0 for a handle that is not a window; else ReplaceDlgItem with its id and parent.
    virtual BOOL ReplaceWindow(HWND window);
    // FALSE when the item is missing or creation fails (the item is then kept).
    virtual BOOL ReplaceDlgItem(UINT id, CWnd* parent);
    virtual BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    virtual CODComboDropDown* GetDropDownWnd() = 0;
    virtual CODEdit* GetEditCtrl() { return &m_edit; }
    virtual CODButton* GetButton() { return &m_button; }
    // The face of a CBS_DROPDOWNLIST combo.
    virtual void DrawItem(CDC* pDC, const RECT& rect) = 0;

    // ---- The list (CB_ERR, or 0 for counts, data and heights, without a list) ----
    virtual int AddString(LPCSTR text) = 0;
    virtual int InsertString(int index, LPCSTR text) = 0;
    virtual int DeleteString(int index) = 0;
    virtual int FindStringExact(int start, LPCSTR text) = 0;
    virtual int SelectString(int start, LPCSTR text) = 0;
    virtual int GetLBText(int index, CString& text) = 0;
    // Copies at most size - 1 bytes and a terminator; the bytes copied, CB_ERR for a bad index.
    int GetLBText(int index, LPSTR buffer, int size);
    virtual int GetCount() = 0;
    virtual int GetCurSel() = 0;
    // Selects the item; with text, the edit (or the face) shows it and
    // CBN_SELCHANGE is sent once. The index, or CB_ERR for a bad one.
    virtual int SetCurSel(int index) = 0;
    virtual DWORD GetItemData(int index) = 0;
    virtual int SetItemData(int index, DWORD data) = 0;
    virtual void ResetContent() = 0;
    virtual int GetItemHeight(int index) = 0;
    // index < 0: the selection height (re-laid out when changed).
    virtual int SetItemHeight(int index, int height) = 0;
    virtual int GetTopIndex() = 0;
    virtual int SetTopIndex(int index) = 0;

    // ---- Text, size, look ----
    void GetEditText(CString& text) const { text = m_edit.GetText(); }
    void SetEditText(LPCSTR text);
    void SetDroppedWidth(int width);
    void SetDroppedHeight(int height);
    int GetDroppedWidth() const { return m_droppedWidth; }
    int GetDroppedHeight() const { return m_droppedHeight; }
    BOOL GetDroppedState() const { return m_droppedState; }
    // Where the drop-down goes (or is), in screen coordinates.
    void GetDroppedControlRect(LPRECT rect);
    void SetButtonWidth(int width);
    int GetButtonWidth() const { return m_buttonWidth; }
    int GetSelectionHeight() const { return m_selectionHeight; }
    void SetBkColor(COLORREF colour, BOOL redraw = TRUE);
    COLORREF GetBkColor() const { return m_bkColour; }
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
    BOOL IsDropDownList() const { return m_hWnd && (GetStyle() & 3) == CBS_DROPDOWNLIST; }

    // ---- Opening and closing ----
    // Closed: shows the drop-down, then CBN_DROPDOWN. Open: hides it and
    // closes (CBN_SELENDCANCEL or CBN_SELENDOK, then CBN_CLOSEUP).
    void ToggleDropDown(BOOL cancel);
    virtual void ShowDropDown();
    // Nothing when the state does not change; closing notifies the parent.
    void SetDroppedState(BOOL state, BOOL cancel);

    // The class's theme values and their re-application to this combo.
    virtual Theme& ClassTheme() const = 0;
    virtual void ReloadClassTheme() = 0;
    virtual void ApplyTheme();

protected:
    friend class CODComboDropDown;
    friend class CODComboLB;
    friend class CODComboLC;

    void PreSubclassWindow() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnSetFocus(CWnd* pOld);
    afx_msg void OnKillFocus(CWnd* pNew);
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnPaint();
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

    // WM_COMMAND code to the parent.
    void NotifyParent(UINT code);
    // A choice's text into the edit (a drop-down list repaints its face);
    // then CBN_SELCHANGE unless the text is empty and skipEmpty is set.
    void ShowChoice(const CString& text, BOOL skipEmpty);
    // The accept path of a choice taken from the drop-down.
    void AcceptChoice(const CString& text);
    // Hides the drop-down and closes with cancel (a click on the combo).
    void CancelDropDown();
    // The children and the layout after the window exists.
    BOOL CreateParts();
    void LayOut();
    void LayOutChildren();
    // A combo of this class copies the native combo's items.
    virtual BOOL CreateDropDown() = 0;
    // The drop-down holds its list.
    virtual BOOL HasList() = 0;
    // Before the drop-down shows (CODComboBox scrolls the selection to the top).
    virtual void BeforeShow() {}
    // After it shows (CODComboList gives its list the focus).
    virtual void AfterShow() {}
    // Closing, before the parent hears of it.
    virtual void BeforeClose(BOOL cancel) { (void)cancel; }
    // Whether the parent's notifications are being held (SetCurSel updating the list).
    BOOL IsSelecting() const { return m_selecting; }

    CODEdit m_edit;
    CODButton m_button;
    int m_droppedWidth = DefaultDroppedSize;
    int m_droppedHeight = DefaultDroppedSize;
    BOOL m_droppedState = FALSE;
    int m_buttonWidth = DefaultButtonWidth;
    int m_selectionHeight = DefaultSelectionHeight;
    COLORREF m_bkColour = NoFill;
    BOOL m_selecting = FALSE;

private:
    void ApplyButtonFaces();
    BOOL PointOverButton(POINT screen);
    // The edit hides its text (ES_PASSWORD): the text messages are refused.
    BOOL IsPasswordEdit() const;

    BOOL m_eatButtonClick = FALSE;
    BOOL m_layingOut = FALSE;
};

class CODComboBox : public CODComboBase
{
    DECLARE_DYNAMIC(CODComboBox)
public:
    CODComboBox();
    ~CODComboBox() override;

    CODComboDropDown* GetDropDownWnd() override { return &m_dropDown; }
    CODComboLB* GetDropDown() { return &m_dropDown; }
    // The drop-down's list box, NULL before creation.
    CODListBox* GetListBox() { return m_dropDown.GetList(); }
    void DrawItem(CDC* pDC, const RECT& rect) override;

    int AddString(LPCSTR text) override;
    int InsertString(int index, LPCSTR text) override;
    int DeleteString(int index) override;
    int FindStringExact(int start, LPCSTR text) override;
    int SelectString(int start, LPCSTR text) override;
    using CODComboBase::GetLBText;
    int GetLBText(int index, CString& text) override;
    int GetCount() override;
    int GetCurSel() override;
    int SetCurSel(int index) override;
    DWORD GetItemData(int index) override;
    int SetItemData(int index, DWORD data) override;
    void ResetContent() override;
    int GetItemHeight(int index) override;
    int SetItemHeight(int index, int height) override;
    int GetTopIndex() override;
    int SetTopIndex(int index) override;
    // The list box's item records.
    int InsertItem(int index, const ODLBITEM& item);
    BOOL GetItem(int index, ODLBITEM& item);
    void SetImageList(CImageList* images);
    // A dropped height no taller than the rows need (+2).
    virtual void FitDropDownHeight();

    static void LoadTheme();
    static Theme s_theme;
    Theme& ClassTheme() const override { return s_theme; }
    void ReloadClassTheme() override { LoadTheme(); }

protected:
    friend class CODComboLB;

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL CreateDropDown() override;
    BOOL HasList() override { return GetListBox() && GetListBox()->m_hWnd; }
    void BeforeShow() override;
    // The pointer selects the row it rests on without telling anyone:
    // accepting takes that row, cancelling puts the shown one back.
    void BeforeClose(BOOL cancel) override;
    // The list's selection into the edit, then CBN_SELCHANGE.
    void ShowListChoice();

private:
    CODComboLB m_dropDown;
    int m_shownSel = -1;  // the list's selection the edit shows
};

class CODComboList : public CODComboBase
{
    DECLARE_DYNAMIC(CODComboList)
public:
    CODComboList();
    ~CODComboList() override;

    CODComboDropDown* GetDropDownWnd() override { return &m_dropDown; }
    CODComboLC* GetDropDown() { return &m_dropDown; }
    // The drop-down's list control, NULL before creation.
    CODListCtrl* GetListCtrl() { return m_dropDown.GetList(); }
    // Draws nothing: a drop-down list of this class shows a blank face.
    void DrawItem(CDC* pDC, const RECT& rect) override;

    int AddString(LPCSTR text) override;
    int InsertString(int index, LPCSTR text) override;
    int DeleteString(int index) override;
    int FindStringExact(int start, LPCSTR text) override;
    int SelectString(int start, LPCSTR text) override;
    using CODComboBase::GetLBText;
    int GetLBText(int index, CString& text) override;
    int GetCount() override;
    int GetCurSel() override;
    int SetCurSel(int index) override;
    DWORD GetItemData(int index) override;
    int SetItemData(int index, DWORD data) override;
    void ResetContent() override;
    int GetItemHeight(int index) override;
    int SetItemHeight(int index, int height) override;
    int GetTopIndex() override;
    int SetTopIndex(int index) override;
    const CString& GetColumnTitle() const { return m_columnTitle; }

    static void LoadTheme();
    static Theme s_theme;
    Theme& ClassTheme() const override { return s_theme; }
    void ReloadClassTheme() override { LoadTheme(); }

protected:
    void PreSubclassWindow() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    BOOL CreateDropDown() override;
    BOOL HasList() override { return GetListCtrl() && GetListCtrl()->m_hWnd; }
    void AfterShow() override;

private:
    // The focus row's text, empty without one.
    CString FocusRowText();

    CODComboLC m_dropDown;
    CString m_columnTitle = "Column0";
};
