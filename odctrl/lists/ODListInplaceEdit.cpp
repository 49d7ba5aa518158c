// ODListInplaceEdit.cpp - editing a list cell in place: the list's side
// (BeginEdit asks the parent, opens the parent's editor or its own; EndEdit
// writes the text back) and the two editors.
#include "ODListInplaceEdit.h"

#include <string.h>

#include <algorithm>

#include "ODListCtrl.h"

using namespace odlist;

ODEditKeyAction ODEditKeyActionOf(int key)
{
    if (key == 1 || key == 13)
        return kEditCaretAtEnd;
    if (key == 8)
        return kEditDeleteLast;
    if (key == 9 || (key >= 32 && key <= 40))
        return kEditSelectAll;
    return kEditReplace;
}

namespace {

// An editor's end: -2058 with its text to its owner (the parent when it has
// none), then it closes.
void SendEndEdit(CWnd* editor, int item, int column, int button, int key)
{
    char text[kCellBuffer] = {};
    editor->GetWindowText(text, sizeof text);
    NMODLISTEDIT record = {};
    record.hdr.hwndFrom = editor->m_hWnd;
    record.hdr.idFrom = editor->GetDlgCtrlID();
    record.hdr.code = UINT(kNotifyEndEdit);
    record.item = item;
    record.column = column;
    record.button = button;
    record.editor = editor->m_hWnd;
    record.key = key;
    record.text = text;
    if (CWnd* owner = editor->GetOwner())
        owner->SendMessage(WM_NOTIFY, record.hdr.idFrom, reinterpret_cast<LPARAM>(&record));
    if (editor->m_hWnd)
        editor->PostMessage(WM_CLOSE);
}

}  // namespace

// ---- The list's side -----------------------------------------------------------------------

BOOL CODListCtrl::BeginEdit(int row, int position, int key)
{
    if (row == -2 || row < -1 || position < 0)
        return FALSE;
    if (row == -1 && !(m_model.GetStyleWord() & kStyleBand))
        return FALSE;
    const int item = row == -1 ? -1 : m_model.DisplayToItem(row);
    const int column = m_model.GetColumnAt(position);
    if (item < -1 || column < 0)
        return FALSE;
    char text[kCellBuffer] = {};
    ODLVITEM d = {};
    d.mask = kMaskText | kMaskState | kMaskData;
    d.item = item;
    d.subItem = column;
    d.text = text;
    d.textMax = sizeof text;
    if (!m_model.GetItem(&d) || (d.state & kStateReadOnly))
        return FALSE;
    EndOpenEdit();

    NMODLISTEDIT record = {};
    record.item = item;
    record.column = column;
    record.key = key;
    record.text = (d.mask & kMaskText) ? text : nullptr;
    record.data = d.data;
    Rect cell;
    if (row == -1) {
        RECT r;
        if (GetContentCellRect(-1, position, &r, kPartCell))
            record.rect = r;
    } else if (m_geometry.GetCellRect(item, column, &cell, kPartCell)) {
        record.rect = RECT{cell.left, cell.top, cell.right, cell.bottom};
    }
    m_editItem = item;
    m_editColumn = column;
    if (NotifyParent(kNotifyBeginEdit, &record.hdr)) {
        if (!record.editor || !::IsWindow(record.editor))
            return FALSE;
        m_editor = record.editor;
        ::SetFocus(m_editor);
        return TRUE;
    }
    if (!(d.mask & kMaskText))
        return FALSE;
    RECT place = record.rect;
    if (row == -1) {
        if (!GetContentCellRect(-1, position, &place, kPartText))
            return FALSE;
    } else {
        Rect part;
        if (!m_geometry.GetCellRect(item, column, &part, kPartText))
            return FALSE;
        place = RECT{part.left, part.top, part.right, part.bottom};
    }
    place.top += 2;
    CODListInPlaceEdit* edit = new CODListInPlaceEdit(item, column, record.button == 1);
    if (!edit->CreateEditor(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, place, this, 0)) {
        delete edit;
        return FALSE;
    }
    LOGFONTA lf = {};
    if (::GetObjectA(RowFont((d.state & kStateSecondFont) != 0), sizeof lf, &lf))
        edit->SetFont(&lf, FALSE);
    edit->SetText(text);
    m_editor = edit->m_hWnd;
    edit->SetFocus();
    edit->OnEditKey(key);
    return TRUE;
}

void CODListCtrl::EndEdit(BOOL commit, NMODLISTEDIT* record)
{
    HWND editor = m_editor;
    if (!editor)
        return;
    m_editor = NULL;
    if (commit && !(m_model.GetStyleWord() & kStyleVirtual)) {
        if (record && record->text) {
            m_model.SetItemText(m_editItem, m_editColumn, record->text);
        } else {
            char text[kCellBuffer] = {};
            ::SetLastError(0);
            const int length = ::GetWindowTextA(editor, text, kMaxCellText + 1);
            if (length > 0 || ::GetLastError() == 0)
                m_model.SetItemText(m_editItem, m_editColumn, text);
        }
    }
    ::PostMessageA(editor, WM_CLOSE, 0, 0);
    HWND focus = ::GetFocus();
    if (focus != m_hWnd && !::IsChild(m_hWnd, focus))
        m_hasFocus = FALSE;
    InvalidateRows(m_model.GetFocusRow(), m_model.GetFocusRow());
    Invalidate(FALSE);
}

void CODListCtrl::EndOpenEdit()
{
    if (m_editor)
        EndEdit(TRUE, nullptr);
}

void CODListCtrl::OnEditorEnded(UINT, NMHDR* hdr, LRESULT* result)
{
    *result = 0;
    if (!m_editor || hdr->hwndFrom != m_editor)
        return;
    NMODLISTEDIT* from = reinterpret_cast<NMODLISTEDIT*>(hdr);
    NMODLISTEDIT record = {};
    record.item = m_editItem;
    record.column = m_editColumn;
    record.button = from->button;
    record.editor = m_editor;
    record.key = from->key;
    record.text = from->text;
    record.data = from->data;
    if (NotifyParent(kNotifyEndEdit, &record.hdr))
        EndEdit(FALSE, nullptr);
    else
        EndEdit(record.key != 27, &record);
}

// ---- CODListInPlaceEdit --------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CODListInPlaceEdit, CODEdit)

CODListInPlaceEdit::CODListInPlaceEdit(int item, int column, BOOL button)
    : m_item(item), m_column(column), m_button(button)
{
}

BOOL CODListInPlaceEdit::CreateEditor(DWORD style, const RECT& rect, CWnd* list, UINT id)
{
    RECT r = rect;
    const int height = r.bottom - r.top;
    if (m_button) {
        if (r.right - r.left > height + 10)
            r.right -= height;
        else
            m_button = FALSE;
    }
    if (!Create(NULL, NULL, style, r, list, id))
        return FALSE;
    SetLimitText(kMaxCellText);  // what a cell keeps
    return TRUE;
}

void CODListInPlaceEdit::OnEditKey(int key)
{
    // The edit puts its caret after the last character on End.
    switch (ODEditKeyActionOf(key)) {
    case kEditCaretAtEnd: SendMessage(WM_KEYDOWN, VK_END, 0); break;
    case kEditDeleteLast:
        SendMessage(WM_KEYDOWN, VK_END, 0);
        SendMessage(WM_KEYDOWN, VK_BACK, 0);
        break;
    case kEditSelectAll: SetSel(0, -1); break;
    case kEditReplace:
        SetSel(0, -1);
        SendMessage(WM_CHAR, WPARAM(key), 0);
        break;
    }
}

void CODListInPlaceEdit::EndEdit()
{
    if (m_ended)
        return;
    m_ended = TRUE;
    SendEndEdit(this, m_item, m_column, m_button, m_key);
}

bool CODListInPlaceEdit::EndKey(UINT key)
{
    if (key != VK_TAB && key != VK_RETURN && key != VK_ESCAPE)
        return false;
    m_key = int(key);
    if (CWnd* parent = GetParent())
        parent->SetFocus();
    return true;
}

BOOL CODListInPlaceEdit::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && EndKey(UINT(pMsg->wParam)))
        return TRUE;
    if (pMsg->message == WM_SYSCHAR)
        return TRUE;
    return CODEdit::PreTranslateMessage(pMsg);
}

void CODListInPlaceEdit::ButtonFocused()
{
    CODListCtrl* list = DYNAMIC_DOWNCAST(CODListCtrl, GetOwner());
    if (!list)
        return;
    // The parent may rewrite the buffer; whatever it leaves, it ends inside.
    char buffer[kCellBuffer] = {};
    GetWindowText(buffer, sizeof buffer);
    NMODLISTEDIT record = {};
    record.item = m_item;
    record.column = m_column;
    record.button = m_button;
    record.editor = m_hWnd;
    record.key = m_key;
    record.text = buffer;
    const LRESULT answer = list->NotifyParent(kNotifyEditButton, &record.hdr);
    buffer[sizeof buffer - 1] = 0;
    if (answer == 1)
        SetText(buffer);
    SetFocus();
}

LRESULT CODListInPlaceEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: {
        const LRESULT result = CODEdit::WindowProc(message, wParam, lParam);
        if (result == -1 || !m_button)
            return result;
        const CREATESTRUCTA* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        CRect r(cs->x + cs->cx, cs->y, cs->x + cs->cx + cs->cy, cs->y + cs->cy);
        if (!m_buttonWnd.Create("...", WS_CHILD | WS_VISIBLE, r, GetParent(), 0))
            return -1;
        m_buttonWnd.SendMessage(WM_SETFONT, GetParent()->SendMessage(WM_GETFONT), 0);
        return result;
    }
    case WM_KILLFOCUS: {
        const LRESULT result = CODEdit::WindowProc(message, wParam, lParam);
        HWND next = reinterpret_cast<HWND>(wParam);
        if (m_buttonWnd.m_hWnd && next == m_buttonWnd.m_hWnd && DYNAMIC_DOWNCAST(CODListCtrl, GetOwner()))
            ButtonFocused();
        else
            EndEdit();
        return result;
    }
    case WM_KEYDOWN:
        if (EndKey(UINT(wParam)))
            return 0;
        break;
    case WM_SYSCHAR: return 0;
    case WM_GETDLGCODE: return DLGC_WANTALLKEYS;
    case WM_DESTROY:
        if (m_buttonWnd.m_hWnd)
            m_buttonWnd.DestroyWindow();
        break;
    default: break;
    }
    return CODEdit::WindowProc(message, wParam, lParam);
}

void CODListInPlaceEdit::PostNcDestroy()
{
    CODEdit::PostNcDestroy();
    delete this;
}

// ---- CODListInPlaceCombo -------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CODListInPlaceCombo, CComboBox)

BEGIN_MESSAGE_MAP(CODListInPlaceCombo, CComboBox)
    ON_CONTROL_REFLECT(CBN_KILLFOCUS, OnKillFocusReflect)
END_MESSAGE_MAP()

CODListInPlaceCombo::CODListInPlaceCombo(int item, int column) : m_item(item), m_column(column) {}

void CODListInPlaceCombo::OnEditKey(int key)
{
    if ((GetStyle() & 2) && key != 1 && key != 13)
        PostMessage(WM_CHAR, WPARAM(key), 0);
}

void CODListInPlaceCombo::EndEdit()
{
    if (m_ended)
        return;
    m_ended = TRUE;
    SendEndEdit(this, m_item, m_column, 0, m_key);
}

BOOL CODListInPlaceCombo::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN &&
        (pMsg->wParam == VK_TAB || pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE)) {
        m_key = int(pMsg->wParam);
        if (CWnd* parent = GetParent())
            parent->SetFocus();
        return TRUE;
    }
    if (pMsg->message == WM_SYSCHAR)
        return TRUE;
    return CComboBox::PreTranslateMessage(pMsg);
}

LRESULT CODListInPlaceCombo::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_GETDLGCODE: return DLGC_WANTALLKEYS;
    case WM_SYSCHAR: return 0;
    default: break;
    }
    return CComboBox::WindowProc(message, wParam, lParam);
}

void CODListInPlaceCombo::OnKillFocusReflect()
{
    EndEdit();
}

void CODListInPlaceCombo::PostNcDestroy()
{
    CComboBox::PostNcDestroy();
    delete this;
}
