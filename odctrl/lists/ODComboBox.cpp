// ODComboBox.cpp - the skinned combo boxes.
#include "ODComboBox.h"

#include <string.h>

#include "ODComboLayout.h"
#include "graphics/image/DibImageList.h"
#include "ODLibrary.h"

namespace {

const char kSection[] = "ODComboBox";
const char kImageType[] = "GIF";
const char kBoxClass[] = "ODComboBox";
const char kListClass[] = "ODComboList";
const UINT kNotifyChildCode = 7;  // a child's code that asks for the edit to be repainted

const ODThemeLoaderRegistration s_boxLoader(OD_LOADER_COMBOBOX, &CODComboBox::LoadTheme);
const ODThemeLoaderRegistration s_listLoader(OD_LOADER_COMBOLIST, &CODComboList::LoadTheme);

BOOL ReplaceComboBox(CWnd* control, HWND item) { return static_cast<CODComboBox*>(control)->ReplaceWindow(item); }
BOOL ReplaceComboList(CWnd* control, HWND item)
{
    return static_cast<CODComboList*>(control)->ReplaceWindow(item);
}
const ODReplaceControlProc s_replaceBox = ODSetReplaceControl(OD_REPLACE_COMBOBOX, &ReplaceComboBox);
const ODReplaceControlProc s_replaceList = ODSetReplaceControl(OD_REPLACE_COMBOLIST, &ReplaceComboList);

// Registers a combo class once: class style 3, the system's window
// procedure, the arrow cursor, background brush value 16.
void RegisterComboClass(LPCSTR name)
{
    WNDCLASSA wc = {};
    const HINSTANCE instance = AfxGetInstanceHandle();
    if (::GetClassInfoA(instance, name, &wc))
        return;
    wc.style = CS_VREDRAW | CS_HREDRAW;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursor(NULL, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = name;
    if (!::RegisterClassA(&wc))
        AfxThrowResourceException();
}

CODComboBase::Theme DefaultTheme() { return CODComboBase::Theme{::GetSysColor(COLOR_WINDOW), 0, 0}; }

void LoadSection(CODComboBase::Theme& theme)
{
    theme.bk = ODGetThemeColor(kSection, "ColorBk", ::GetSysColor(COLOR_WINDOW));
    theme.imageIn = UINT(ODGetThemeColor(kSection, "ImageDropBtnIn", 0));
    theme.imageOut = UINT(ODGetThemeColor(kSection, "ImageDropBtnOut", 0));
}

// A 16 x 16 face with a downward triangle, for a theme without the
// button's pictures; pressed draws it in the highlight colour.
HBITMAP MakeArrowFace(bool pressed)
{
    const int size = 16;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = size;
    bi.bmiHeader.biHeight = -size;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    DWORD* bits = nullptr;
    HBITMAP b = ::CreateDIBSection(NULL, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), NULL, 0);
    if (!b)
        return NULL;
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    const COLORREF mark = ::GetSysColor(pressed ? COLOR_HIGHLIGHT : COLOR_BTNTEXT);
    const auto pixel = [](COLORREF c) { return DWORD(GetRValue(c)) << 16 | DWORD(GetGValue(c)) << 8 | GetBValue(c); };
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            // Rows 6..9, narrowing from 8 pixels to 2 around the centre.
            const int half = 9 - y;
            const bool inside = y >= 6 && y <= 9 && x >= 7 - half && x <= 8 + half;
            bits[y * size + x] = pixel(inside ? mark : face);
        }
    return b;
}

}  // namespace

// ---- The common combo ------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CODComboBase, CODNcMgrWnd)

BEGIN_MESSAGE_MAP(CODComboBase, CODNcMgrWnd)
    ON_WM_SIZE()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_LBUTTONDOWN()
    ON_WM_PAINT()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CODComboBase::CODComboBase() = default;

CODComboBase::~CODComboBase() = default;

void CODComboBase::PreSubclassWindow()
{
    CODNcMgrWnd::PreSubclassWindow();
    ODSetCtrlProps(m_hWnd, OD_COMBOBOX_ID);
}

BOOL CODComboBase::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    m_droppedWidth = rect.right - rect.left;
    const LPCSTR className = IsKindOf(RUNTIME_CLASS(CODComboList)) ? kListClass : kBoxClass;
    if (!CreateEx(0, className, "", style, rect, parent, id))
        return FALSE;
    if (!CreateParts()) {
        DestroyWindow();
        return FALSE;
    }
    return TRUE;
}

BOOL CODComboBase::CreateParts()
{
    if (!CreateDropDown())
        return FALSE;
    CRect client;
    GetClientRect(&client);
    const odcombo::Parts parts = odcombo::LayOutParts(client.Width(), client.Height(), m_buttonWidth);
    const CRect buttonRect(parts.button.left, parts.button.top, parts.button.right, parts.button.bottom);
    if (!m_button.Create("", WS_CHILD | WS_VISIBLE, buttonRect, this, ButtonId))
        return FALSE;
    ApplyButtonFaces();
    const BOOL dropList = IsDropDownList();
    const CRect editRect = dropList ? CRect(0, 0, 0, 0)
                                    : CRect(parts.edit.left, parts.edit.top, parts.edit.right, parts.edit.bottom);
    if (!m_edit.Create(NULL, "", WS_CHILD | WS_VISIBLE, editRect, this, EditId))
        return FALSE;
    if (dropList)
        m_edit.SetReadOnly(TRUE);
    const int noBorders[4] = {0, 0, 0, 0};
    m_edit.SetBorderWidths(NULL, noBorders);
    LayOut();
    return TRUE;
}

void CODComboBase::ApplyButtonFaces()
{
    if (!m_button.m_hWnd)
        return;
    const Theme& theme = ClassTheme();
    HBITMAP in = ODGetThemeImage(theme.imageIn, kImageType);
    HBITMAP out = ODGetThemeImage(theme.imageOut, kImageType);
    if (!in) {
        // No picture in the theme: a drawn arrow.
        if (out)
            ::DeleteObject(out);
        in = MakeArrowFace(true);
        out = MakeArrowFace(false);
    }
    if (m_button.SetBitmaps(TRUE, in, CLR_NONE, out, CLR_NONE) != 0) {
        ::DeleteObject(in);
        if (out)
            ::DeleteObject(out);
    }
    m_button.SetImageMargin(0, 0);
    m_button.EnableBorder(FALSE);
    m_button.SetPressOffset(0, 0);
}

void CODComboBase::LayOut()
{
    if (!m_hWnd)
        return;
    CRect window, client;
    GetWindowRect(&window);
    GetClientRect(&client);
    if (client.Height() != m_selectionHeight) {
        const int height = odcombo::WindowHeightFor(window.Height(), client.Height(), m_selectionHeight);
        SetWindowPos(NULL, 0, 0, window.Width(), height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (m_edit.m_hWnd)
        m_edit.ShowWindow(IsDropDownList() ? SW_HIDE : SW_SHOW);
    LayOutChildren();
}

void CODComboBase::LayOutChildren()
{
    CRect client;
    GetClientRect(&client);
    const odcombo::Parts parts = odcombo::LayOutParts(client.Width(), client.Height(), m_buttonWidth);
    if (m_button.m_hWnd)
        m_button.MoveWindow(parts.button.left, parts.button.top, parts.button.right - parts.button.left,
                            parts.button.bottom - parts.button.top);
    if (m_edit.m_hWnd)
        m_edit.MoveWindow(parts.edit.left, parts.edit.top, parts.edit.right - parts.edit.left,
                          parts.edit.bottom - parts.edit.top);
}

void CODComboBase::OnSize(UINT type, int cx, int cy)
{
    CODNcMgrWnd::OnSize(type, cx, cy);
    CRect window;
    GetWindowRect(&window);
    m_droppedWidth = window.Width();
    LayOutChildren();
}

void CODComboBase::OnDestroy()
{
    // The drop-down belongs to the combo's parent; it goes with the combo.
    if (CODComboDropDown* drop = GetDropDownWnd())
        if (drop->m_hWnd)
            drop->DestroyWindow();
    m_droppedState = FALSE;
    CODNcMgrWnd::OnDestroy();
}

BOOL CODComboBase::ReplaceWindow(HWND window)
{
    if (!::IsWindow(window))
        return FALSE;
    CWnd* parent = CWnd::FromHandle(::GetParent(window));
    return parent ? ReplaceDlgItem(UINT(::GetDlgCtrlID(window)), parent) : FALSE;
}

BOOL CODComboBase::ReplaceDlgItem(UINT id, CWnd* parent)
{
    if (!parent || !parent->m_hWnd)
        return FALSE;
    const HWND item = ::GetDlgItem(parent->m_hWnd, int(id));
    if (!item)
        return FALSE;
    RECT dropped = {};
    ::SendMessageA(item, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    if (dropped.right > dropped.left && dropped.bottom > dropped.top) {
        m_droppedWidth = dropped.right - dropped.left;
        m_droppedHeight = dropped.bottom - dropped.top;
    }
    CRect rect;
    ::GetWindowRect(item, &rect);
    parent->ScreenToClient(&rect);
    if (!Create(ReplaceStyle, rect, parent, id))
        return FALSE;
    ::SetWindowPos(m_hWnd, item, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    SetButtonWidth(m_buttonWidth);
    const int count = int(::SendMessageA(item, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const int length = int(::SendMessageA(item, CB_GETLBTEXTLEN, WPARAM(i), 0));
        if (length < 0)
            continue;
        CString text;
        const int got = int(::SendMessageA(item, CB_GETLBTEXT, WPARAM(i),
                                           reinterpret_cast<LPARAM>(text.GetBuffer(length + 1))));
        text.ReleaseBuffer(got < 0 ? 0 : got);
        AddString(text);
    }
    UpdateWindow();
    ::DestroyWindow(item);
    return TRUE;
}

int CODComboBase::GetLBText(int index, LPSTR buffer, int size)
{
    if (index < 0 || index >= GetCount())
        return CB_ERR;
    CString text;
    if (GetLBText(index, text) == CB_ERR)
        return CB_ERR;
    if (!buffer || size <= 0)
        return 0;
    lstrcpynA(buffer, text, size);
    return lstrlenA(buffer);
}

void CODComboBase::SetEditText(LPCSTR text)
{
    m_edit.SetText(text ? text : "");
    if (m_hWnd)
        Invalidate();
}

void CODComboBase::SetDroppedWidth(int width)
{
    m_droppedWidth = width;
    if (m_droppedState)
        ShowDropDown();
}

void CODComboBase::SetDroppedHeight(int height)
{
    m_droppedHeight = height;
    if (m_droppedState)
        ShowDropDown();
}

void CODComboBase::GetDroppedControlRect(LPRECT rect)
{
    if (!rect)
        return;
    CRect window(0, 0, 0, 0);
    if (m_hWnd)
        GetWindowRect(&window);
    const odcombo::Rect r =
        odcombo::DropDownRect(odcombo::Rect{window.left, window.top, window.right, window.bottom}, m_droppedWidth,
                              m_droppedHeight, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    ::SetRect(rect, r.left, r.top, r.right, r.bottom);
}

void CODComboBase::SetButtonWidth(int width)
{
    m_buttonWidth = width;
    if (CODComboDropDown* drop = GetDropDownWnd())
        if (drop->GetContainer() && drop->GetContainer()->m_hWnd)
            drop->GetContainer()->SetScrollBarSizes(width, width);
    if (m_hWnd)
        LayOutChildren();
}

void CODComboBase::SetBkColor(COLORREF colour, BOOL redraw)
{
    m_bkColour = colour;
    if (redraw && m_hWnd)
        Invalidate();
}

BOOL CODComboBase::ModifyStyle(DWORD remove, DWORD add, UINT flags)
{
    const BOOL changed = CODNcMgrWnd::ModifyStyle(remove, add, flags);
    if (m_edit.m_hWnd)
        m_edit.SetReadOnly(IsDropDownList());
    LayOut();
    return changed;
}

// ---- Opening and closing -----------------------------------------------------------------------

void CODComboBase::ToggleDropDown(BOOL cancel)
{
    CODComboDropDown* drop = GetDropDownWnd();
    if (!m_droppedState) {
        ShowDropDown();
        if (m_droppedState)
            NotifyParent(CBN_DROPDOWN);
    } else {
        if (drop)
            drop->Hide();
        SetDroppedState(FALSE, cancel);
    }
    if (m_edit.m_hWnd)
        m_edit.Invalidate();
}

void CODComboBase::ShowDropDown()
{
    CODComboDropDown* drop = GetDropDownWnd();
    if (!m_hWnd || !drop || !drop->m_hWnd || !HasList())
        return;
    BeforeShow();
    CRect r;
    GetDroppedControlRect(&r);
    drop->SetWindowPos(&CWnd::wndNoTopMost, r.left, r.top, r.Width(), r.Height(), SWP_SHOWWINDOW);
    // The owner window keeps its active look while the popup is shown.
    HWND top = m_hWnd;
    while (top && (::GetWindowLongA(top, GWL_STYLE) & WS_CHILD))
        top = ::GetParent(top);
    if (top && top != m_hWnd) {
        ::SendMessageA(top, WM_NCACTIVATE, TRUE, 0);
        ::SendMessageA(top, WM_SETREDRAW, TRUE, 0);
    }
    SetDroppedState(TRUE, FALSE);
    AfterShow();
}

void CODComboBase::SetDroppedState(BOOL state, BOOL cancel)
{
    if (!state == !m_droppedState)
        return;
    m_droppedState = state ? TRUE : FALSE;
    if (state) {
        m_eatButtonClick = FALSE;
        return;
    }
    BeforeClose(cancel);
    NotifyParent(cancel ? CBN_SELENDCANCEL : CBN_SELENDOK);
    NotifyParent(CBN_CLOSEUP);
}

BOOL CODComboBase::PointOverButton(POINT screen)
{
    CRect r(0, 0, 0, 0);
    if (m_button.m_hWnd)
        m_button.GetWindowRect(&r);
    return r.PtInRect(screen);
}

void CODComboBase::CancelDropDown()
{
    if (CODComboDropDown* drop = GetDropDownWnd())
        drop->Hide();
    SetDroppedState(FALSE, TRUE);
}

BOOL CODComboBase::PreTranslateMessage(MSG* pMsg)
{
    if ((pMsg->message == WM_LBUTTONDOWN || pMsg->message == WM_LBUTTONDBLCLK) && m_hWnd &&
        (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd))) {
        const BOOL overButton = PointOverButton(pMsg->pt);
        BOOL eat = m_eatButtonClick;
        m_eatButtonClick = FALSE;
        if (m_droppedState) {
            CancelDropDown();
            m_eatButtonClick = FALSE;
            eat = TRUE;
        }
        if (eat && overButton)
            return TRUE;
    }
    return CODNcMgrWnd::PreTranslateMessage(pMsg);
}

void CODComboBase::OnLButtonDown(UINT flags, CPoint point)
{
    if (!m_droppedState && IsDropDownList() && m_button.m_hWnd)
        SendMessage(WM_COMMAND, MAKEWPARAM(ButtonId, BN_CLICKED), reinterpret_cast<LPARAM>(m_button.m_hWnd));
    CODNcMgrWnd::OnLButtonDown(flags, point);
}

// ---- Choices and notifications ----------------------------------------------------------------

void CODComboBase::NotifyParent(UINT code)
{
    CWnd* parent = m_hWnd ? GetParent() : nullptr;
    if (parent)
        parent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), code), reinterpret_cast<LPARAM>(m_hWnd));
}

void CODComboBase::ShowChoice(const CString& text, BOOL skipEmpty)
{
    if (skipEmpty && text.IsEmpty())
        return;
    m_edit.SetText(text);
    if (IsDropDownList())
        Invalidate();
    NotifyParent(CBN_SELCHANGE);
}

void CODComboBase::AcceptChoice(const CString& text)
{
    ShowChoice(text, FALSE);
    SetDroppedState(FALSE, FALSE);
    if (CODComboDropDown* drop = GetDropDownWnd())
        drop->Hide();
    if (m_edit.m_hWnd)
        m_edit.SetFocus();
}

BOOL CODComboBase::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT code = HIWORD(wParam);
    const HWND from = reinterpret_cast<HWND>(lParam);
    if (from && from == m_button.m_hWnd && LOWORD(wParam) == ButtonId &&
        (code == BN_CLICKED || code == BN_DOUBLECLICKED)) {
        ToggleDropDown(FALSE);
        return TRUE;
    }
    if (from && from == m_edit.m_hWnd && code == EN_CHANGE) {
        NotifyParent(CBN_EDITCHANGE);
        return TRUE;
    }
    if (code == kNotifyChildCode && from && ::IsChild(m_hWnd, from) && m_edit.m_hWnd)
        m_edit.Invalidate();
    return CODNcMgrWnd::OnCommand(wParam, lParam);
}

// ---- Focus, painting, messages ------------------------------------------------------------------

void CODComboBase::OnSetFocus(CWnd* pOld)
{
    NotifyParent(CBN_SETFOCUS);
    CODNcMgrWnd::OnSetFocus(pOld);
    if (m_edit.m_hWnd && ::GetFocus() != m_button.m_hWnd)
        m_edit.SetFocus();
}

void CODComboBase::OnKillFocus(CWnd* pNew)
{
    CODNcMgrWnd::OnKillFocus(pNew);
    NotifyParent(CBN_KILLFOCUS);
    if (m_edit.m_hWnd)
        m_edit.Invalidate();
}

void CODComboBase::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    if (HasBkImage())
        DrawBkImage(&dc, &client);
    else if (m_bkColour != NoFill)
        dc.FillSolidRect(&client, m_bkColour);
    dc.SetBkMode(TRANSPARENT);
    if (IsDropDownList())
        DrawItem(&dc, client);
}

void CODComboBase::ApplyTheme()
{
    m_bkColour = ClassTheme().bk;
    if (m_hWnd)
        Invalidate();
    ApplyButtonFaces();
}

BOOL CODComboBase::IsPasswordEdit() const
{
    return m_edit.m_hWnd && ((m_edit.GetStyle() | m_edit.GetEditStyle()) & ES_PASSWORD);
}

LRESULT CODComboBase::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEACTIVATE:
        // A press on the combo while the open drop-down is the active window:
        // the press activates this window first, which takes the focus from
        // the drop-down. It closes now with cancel, and a press on the button
        // is then consumed as the loop hands it over.
        if (m_droppedState && HIWORD(lParam) == WM_LBUTTONDOWN) {
            const DWORD pos = ::GetMessagePos();
            const POINT at = {static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
            CancelDropDown();
            m_eatButtonClick = PointOverButton(at);
        }
        break;
    case CB_GETCURSEL:
        return GetCurSel();
    case CB_SETCURSEL: {
        const int index = int(wParam);
        return index >= 0 && index < GetCount() ? SetCurSel(index) : 0;
    }
    case WM_GETTEXT: {
        char* buffer = reinterpret_cast<char*>(lParam);
        if (IsPasswordEdit() || !buffer || wParam == 0)
            return 0;
        const CString text = m_edit.GetText();
        lstrcpynA(buffer, text, int(wParam > INT_MAX ? INT_MAX : wParam));
        // What was copied, without the terminator.
        return lstrlenA(buffer);
    }
    case WM_GETTEXTLENGTH:
        return IsPasswordEdit() ? 0 : m_edit.GetText().GetLength();
    case WM_SETTEXT:
        if (IsPasswordEdit())
            return 0;
        SetEditText(lParam ? reinterpret_cast<LPCSTR>(lParam) : "");
        return 1;
    default:
        break;
    }
    if (message != 0 && message == ODGetThemeMessage()) {
        ReloadClassTheme();
        ApplyTheme();
        if (m_hWnd)
            RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE);
    }
    return CODNcMgrWnd::WindowProc(message, wParam, lParam);
}

// ---- CODComboBox ----------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CODComboBox, CODComboBase)

CODComboBase::Theme CODComboBox::s_theme = DefaultTheme();

CODComboBox::CODComboBox()
{
    RegisterComboClass(kBoxClass);
    m_bkColour = s_theme.bk;
    m_dropDown.SetOwnerCombo(this);
}

CODComboBox::~CODComboBox()
{
    if (m_hWnd)
        DestroyWindow();
    if (m_dropDown.m_hWnd)
        m_dropDown.DestroyWindow();
}

void CODComboBox::LoadTheme() { LoadSection(s_theme); }

BOOL CODComboBox::CreateDropDown()
{
    CWnd* parent = GetParent();
    return m_dropDown.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP | WS_BORDER, 0, 0, m_droppedWidth,
                               m_droppedHeight, parent ? parent->m_hWnd : NULL, NULL);
}

void CODComboBox::BeforeShow()
{
    CODListBox* list = GetListBox();
    const int sel = list->GetCurSel();
    m_shownSel = sel;
    if (sel >= 0)
        list->SetTopIndex(sel);
}

void CODComboBox::ShowListChoice()
{
    CODListBox* list = GetListBox();
    const int sel = list ? list->GetCurSel() : -1;
    if (sel < 0)
        return;
    CString text;
    list->GetText(sel, text);
    m_shownSel = sel;
    ShowChoice(text, FALSE);
}

void CODComboBox::BeforeClose(BOOL cancel)
{
    CODListBox* list = GetListBox();
    if (!list || !list->m_hWnd)
        return;
    const int sel = list->GetCurSel();
    if (sel == m_shownSel)
        return;
    if (!cancel) {
        ShowListChoice();
        return;
    }
    const BOOL notify = list->SetNotify(FALSE);
    if (m_shownSel >= 0 && m_shownSel < list->GetCount())
        list->SetCurSel(m_shownSel);
    else if (sel >= 0)
        list->SetSel(sel, FALSE);
    list->SetNotify(notify);
    list->Invalidate(FALSE);
}

int CODComboBox::AddString(LPCSTR text) { return HasList() ? GetListBox()->AddString(text, 0) : CB_ERR; }
int CODComboBox::InsertString(int index, LPCSTR text)
{
    return HasList() ? GetListBox()->InsertString(index, text) : CB_ERR;
}
int CODComboBox::DeleteString(int index) { return HasList() ? GetListBox()->DeleteString(index) : CB_ERR; }
int CODComboBox::FindStringExact(int start, LPCSTR text)
{
    return HasList() ? GetListBox()->FindStringExact(start, text) : CB_ERR;
}

int CODComboBox::SelectString(int start, LPCSTR text)
{
    if (!HasList())
        return CB_ERR;
    const int found = GetListBox()->SelectString(start, text);
    if (found >= 0)
        ShowChoice(text ? text : "", FALSE);
    return found;
}

int CODComboBox::GetLBText(int index, CString& text)
{
    if (!HasList() || index < 0 || index >= GetListBox()->GetCount())
        return CB_ERR;
    GetListBox()->GetText(index, text);
    return text.GetLength();
}

int CODComboBox::GetCount() { return HasList() ? GetListBox()->GetCount() : 0; }
int CODComboBox::GetCurSel() { return HasList() ? GetListBox()->GetCurSel() : CB_ERR; }

int CODComboBox::SetCurSel(int index)
{
    if (!HasList())
        return CB_ERR;
    CODListBox* list = GetListBox();
    // The list's own LBN_SELCHANGE would run the choice path as well (a
    // second CBN_SELCHANGE, and closing a drop-down that never opened).
    const BOOL notify = list->SetNotify(FALSE);
    const int result = list->SetCurSel(index);
    list->SetNotify(notify);
    if (result == LB_ERR)
        return CB_ERR;
    CString text;
    list->GetText(index, text);
    m_shownSel = index;
    ShowChoice(text, TRUE);
    if (m_droppedState) {
        SetDroppedState(FALSE, FALSE);
        m_dropDown.Hide();
    }
    return index;
}

DWORD CODComboBox::GetItemData(int index) { return HasList() ? GetListBox()->GetItemData(index) : 0; }
int CODComboBox::SetItemData(int index, DWORD data)
{
    return HasList() ? GetListBox()->SetItemData(index, data) : CB_ERR;
}

void CODComboBox::ResetContent()
{
    if (HasList())
        GetListBox()->ResetContent();
}

int CODComboBox::GetItemHeight(int index) { return HasList() ? GetListBox()->GetItemHeight(index) : 0; }

int CODComboBox::SetItemHeight(int index, int height)
{
    if (index < 0) {
        if (height != m_selectionHeight) {
            m_selectionHeight = height;
            LayOut();
        }
        return 0;
    }
    return HasList() ? GetListBox()->SetItemHeight(index, height) : CB_ERR;
}

int CODComboBox::GetTopIndex() { return HasList() ? GetListBox()->GetTopIndex() : CB_ERR; }
int CODComboBox::SetTopIndex(int index) { return HasList() ? GetListBox()->SetTopIndex(index) : CB_ERR; }
int CODComboBox::InsertItem(int index, const ODLBITEM& item)
{
    return HasList() ? GetListBox()->InsertItem(index, item) : CB_ERR;
}
BOOL CODComboBox::GetItem(int index, ODLBITEM& item) { return HasList() ? GetListBox()->GetItem(index, item) : FALSE; }

void CODComboBox::SetImageList(CImageList* images)
{
    if (HasList())
        GetListBox()->SetImageList(images);
}

void CODComboBox::FitDropDownHeight()
{
    if (!HasList())
        return;
    CODListBox* list = GetListBox();
    const int count = list->GetCount();
    CRect first(0, 0, 0, 0), last(0, 0, 0, 0);
    if (count > 0) {
        list->GetItemRect(0, &first);
        list->GetItemRect(count - 1, &last);
    }
    m_droppedHeight = odcombo::FitDropDownHeight(m_droppedHeight, count, first.top, last.bottom);
}

BOOL CODComboBox::OnCommand(WPARAM wParam, LPARAM lParam)
{
    CODListBox* list = GetListBox();
    if (list && list->m_hWnd && reinterpret_cast<HWND>(lParam) == list->m_hWnd) {
        if (HIWORD(wParam) == LBN_SELCHANGE)
            ShowListChoice();
        return TRUE;
    }
    return CODComboBase::OnCommand(wParam, lParam);
}

void CODComboBox::DrawItem(CDC* pDC, const RECT& rect)
{
    CODListBox* list = GetListBox();
    if (!pDC || !list || !list->m_hWnd)
        return;
    const int sel = list->GetCurSel();
    ODLBITEM item = {};
    if (sel < 0 || !list->GetItem(sel, item))
        return;
    CRect r(rect);
    CQVDibImageList* images = list->GetDibImageList();
    if ((item.flags & ODLB_IMAGE) && images && images->GetCount() > 0) {
        images->Draw(pDC, item.image, r.left, r.top, CQVDibImageList::kTransparent);
        if (item.placement == ODLB_IMAGE_BESIDE)
            r.left += images->GetWidth() + CODListBox::ImageGap;
    }
    if (!(item.flags & ODLB_TEXT) || !item.text)
        return;
    LOGFONT lf;
    list->GetLogFont(&lf);
    CFont font;
    font.CreateFontIndirect(&lf);
    CFont* old = pDC->SelectObject(&font);
    pDC->SetTextColor(list->GetNormalTextColor());
    pDC->DrawText(item.text, -1, &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    pDC->SelectObject(old);
}

// ---- CODComboList ---------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CODComboList, CODComboBase)

CODComboBase::Theme CODComboList::s_theme = DefaultTheme();

CODComboList::CODComboList()
{
    RegisterComboClass(kListClass);
    m_bkColour = s_theme.bk;
    m_dropDown.SetOwnerCombo(this);
}

CODComboList::~CODComboList()
{
    if (m_hWnd)
        DestroyWindow();
    if (m_dropDown.m_hWnd)
        m_dropDown.DestroyWindow();
}

void CODComboList::LoadTheme() { LoadSection(s_theme); }

void CODComboList::PreSubclassWindow()
{
    CODComboBase::PreSubclassWindow();
    ApplyTheme();
}

BOOL CODComboList::CreateDropDown()
{
    CWnd* parent = GetParent();
    if (!m_dropDown.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP | WS_BORDER, 0, 0, m_droppedWidth,
                             m_droppedHeight, parent ? parent->m_hWnd : NULL, NULL))
        return FALSE;
    CODListCtrl* list = GetListCtrl();
    if (!list)
        return FALSE;
    odlist::ColumnInfo column;
    column.flags = odlist::kColumnHasText;
    column.text = static_cast<LPCSTR>(m_columnTitle);
    const int index = list->InsertColumn(0, column);
    if (index >= 0)
        list->ShowColumn(index, 0);
    return TRUE;
}

void CODComboList::AfterShow()
{
    GetListCtrl()->SetFocus();
}

int CODComboList::AddString(LPCSTR text) { return HasList() ? GetListCtrl()->InsertItem(text, -1, -1, -1) : CB_ERR; }
int CODComboList::InsertString(int index, LPCSTR text)
{
    return HasList() ? GetListCtrl()->Model().InsertItemEx(index, text) : CB_ERR;
}
int CODComboList::DeleteString(int index) { return HasList() ? GetListCtrl()->DeleteItem(index) : CB_ERR; }
int CODComboList::FindStringExact(int, LPCSTR) { return CB_ERR; }
int CODComboList::SelectString(int, LPCSTR) { return CB_ERR; }

int CODComboList::GetLBText(int index, CString& text)
{
    if (!HasList() || index < 0 || index >= GetListCtrl()->GetItemCount())
        return CB_ERR;
    text = GetListCtrl()->GetItemText(index, 0).c_str();
    return text.GetLength();
}

int CODComboList::GetCount() { return HasList() ? GetListCtrl()->GetItemCount() : 0; }

int CODComboList::GetCurSel()
{
    if (!HasList())
        return CB_ERR;
    int row = -2, position = -1;
    GetListCtrl()->Model().GetFocusCell(&row, &position);
    return row >= 0 ? row : CB_ERR;
}

CString CODComboList::FocusRowText()
{
    const int row = GetCurSel();
    if (row < 0)
        return CString();
    odlist::ListModel& model = GetListCtrl()->Model();
    return CString(model.GetItemText(model.DisplayToItem(row), 0).c_str());
}

int CODComboList::SetCurSel(int index)
{
    if (!HasList() || index < 0 || index >= GetCount())
        return CB_ERR;
    odlist::ListModel& model = GetListCtrl()->Model();
    // The list's "selection changed" would report the choice a second time.
    m_selecting = TRUE;
    model.SetFocusCell(index, 0);
    model.SelectItem(model.DisplayToItem(index), false);
    m_selecting = FALSE;
    GetListCtrl()->Invalidate(FALSE);
    ShowChoice(FocusRowText(), TRUE);
    return index;
}

DWORD CODComboList::GetItemData(int index) { return HasList() ? GetListCtrl()->Model().GetItemData(index) : 0; }
int CODComboList::SetItemData(int index, DWORD data)
{
    return HasList() ? GetListCtrl()->Model().SetItemData(index, data) : CB_ERR;
}

void CODComboList::ResetContent() {}

int CODComboList::GetItemHeight(int) { return 0; }

int CODComboList::SetItemHeight(int index, int height)
{
    if (index < 0 && height != m_selectionHeight) {
        m_selectionHeight = height;
        LayOut();
    }
    return 0;
}

int CODComboList::GetTopIndex() { return HasList() ? GetListCtrl()->GetScrollPosition(SB_VERT, FALSE) : CB_ERR; }
int CODComboList::SetTopIndex(int) { return 0; }

void CODComboList::DrawItem(CDC*, const RECT&) {}

BOOL CODComboList::OnCommand(WPARAM wParam, LPARAM lParam)
{
    CODListCtrl* list = GetListCtrl();
    if (list && list->m_hWnd && reinterpret_cast<HWND>(lParam) == list->m_hWnd) {
        // Enter in the drop-down: the one accept of that key (the list's own
        // key notice arrives after the drop-down has closed and is let go).
        if (HIWORD(wParam) == CODComboLC::NotifyAccept && m_droppedState)
            AcceptChoice(FocusRowText());
        return TRUE;
    }
    return CODComboBase::OnCommand(wParam, lParam);
}

BOOL CODComboList::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const NMHDR* hdr = reinterpret_cast<const NMHDR*>(lParam);
    CODListCtrl* list = GetListCtrl();
    if (!hdr || !list || !list->m_hWnd || hdr->hwndFrom != list->m_hWnd)
        return CODComboBase::OnNotify(wParam, lParam, pResult);
    if (pResult)
        *pResult = 0;
    const int code = int(hdr->code);
    switch (code) {
    case kNotifyClick:
    case kNotifyDoubleClick:
        if (m_droppedState)
            AcceptChoice(FocusRowText());
        return TRUE;
    case kNotifyKey: {
        if (!m_droppedState)
            return TRUE;
        const NMODLISTKEY* key = reinterpret_cast<const NMODLISTKEY*>(lParam);
        if (key->key == VK_RETURN)
            AcceptChoice(FocusRowText());
        else
            ShowChoice(FocusRowText(), FALSE);
        return TRUE;
    }
    case odlist::kNotifySelChanged:
        if (!m_selecting)
            ShowChoice(FocusRowText(), FALSE);
        return TRUE;
    case kNotifyFocusLost: {
        const NMODLISTITEM* item = reinterpret_cast<const NMODLISTITEM*>(lParam);
        // The window handle travels in a 32-bit field; handles are sign-extended.
        const HWND to = reinterpret_cast<HWND>(static_cast<LONG_PTR>(static_cast<int32_t>(item->value)));
        if (m_dropDown.IsContainerBar(to)) {
            list->SetFocus();
            return TRUE;
        }
        if (m_dropDown.m_hWnd)
            m_dropDown.SendMessage(WM_KILLFOCUS, reinterpret_cast<WPARAM>(to), 0);
        // The edit takes the focus when it stays with the combo; a window
        // elsewhere the user chose keeps it.
        if (m_edit.m_hWnd && to && (to == m_hWnd || to == m_dropDown.m_hWnd || ::IsChild(m_hWnd, to)))
            m_edit.SetFocus();
        return TRUE;
    }
    default:
        break;
    }
    // Everything else goes on to the parent as it came.
    CWnd* parent = GetParent();
    const LRESULT answer = parent ? parent->SendMessage(WM_NOTIFY, wParam, lParam) : 0;
    if (pResult)
        *pResult = answer;
    return TRUE;
}
