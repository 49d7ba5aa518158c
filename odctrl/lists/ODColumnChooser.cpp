// ODColumnChooser.cpp - the list's column chooser box.
#include "ODColumnChooser.h"

#include "ODColumnChooserLogic.h"
#include "ODListCtrl.h"

#include <algorithm>

using namespace odlist;

IMPLEMENT_DYNAMIC(CODColumnListBox, CDragListBox)

BEGIN_MESSAGE_MAP(CODColumnListBox, CDragListBox)
    ON_WM_CREATE()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CODColumnListBox::CODColumnListBox() {}

CODColumnListBox::~CODColumnListBox()
{
    LeaveList();
    EndDragLook();
}

// ---- The list ------------------------------------------------------------------------------

BOOL CODColumnListBox::SetListCtrl(CODListCtrl* list)
{
    if (!list)
        return FALSE;
    if (list != m_list) {
        LeaveList();
        m_list = list;
        list->m_boxes.push_back(this);
    }
    if (m_hWnd)
        ResetContent();
    return TRUE;
}

void CODColumnListBox::LeaveList()
{
    if (!m_list)
        return;
    EndDragLook();
    m_draggedColumn = -1;
    CODListCtrl* list = m_list;
    m_list = nullptr;
    list->m_boxes.erase(std::remove(list->m_boxes.begin(), list->m_boxes.end(), this), list->m_boxes.end());
    if (list->m_chooser == this)
        list->SetColumnChooser(nullptr);
}

BOOL CODColumnListBox::FillColumns()
{
    if (!m_list || !m_hWnd)
        return FALSE;
    ResetContent();
    const ListModel& model = m_list->Model();
    for (int column : ChooserColumns(model, [this](int c) { return IsColumnListed(c) != FALSE; })) {
        const int index = AddString(model.GetColumn(column)->text.c_str());
        if (index >= 0)
            SetItemData(index, DWORD_PTR(column));
    }
    return TRUE;
}

BOOL CODColumnListBox::IsColumnListed(int)
{
    return TRUE;
}

BOOL CODColumnListBox::IsColumnFixed(int)
{
    return FALSE;
}

CODHeaderCtrl* CODColumnListBox::Header() const
{
    return m_list && m_list->m_hWnd ? m_list->GetHeaderCtrl() : nullptr;
}

// ---- Dragging ------------------------------------------------------------------------------

BOOL CODColumnListBox::BeginDrag(CPoint point)
{
    m_draggedColumn = -1;
    CODHeaderCtrl* header = Header();
    if (GetCount() <= 0 || !header)
        return FALSE;
    // Only an entry under the point is dragged, and not a fixed column.
    const int index = ItemFromPt(point, TRUE);
    if (index < 0)
        return FALSE;
    const int column = int(GetItemData(index));
    const ColumnInfo* info = m_list->Model().GetColumn(column);
    if (!info || IsColumnFixed(column))
        return FALSE;
    m_draggedColumn = column;

    GetClientRect(&m_clientRect);
    CopyCaption(info->text, m_caption, sizeof m_caption);
    m_dragItem = HDITEMA{};
    m_dragItem.mask = HDI_WIDTH | HDI_TEXT | HDI_FORMAT;
    m_dragItem.pszText = m_caption;
    m_dragItem.cchTextMax = kCaptionSize;
    m_dragItem.cxy = m_clientRect.Width();
    m_dragItem.fmt = HDF_STRING;

    // The image starts over the entry, as wide as the box and one entry high.
    CRect entry;
    GetItemRect(index, &entry);
    CRect image(m_clientRect.left, entry.top, m_clientRect.right, entry.top + GetItemHeight(index));
    ClientToScreen(&image);
    m_dragBottom = image.bottom;
    EndDragLook();
    m_dragWnd = new CODFHDragWnd;
    if (!m_dragWnd->Create(image, header, -1, &m_dragItem)) {
        delete m_dragWnd;
        m_dragWnd = nullptr;
    }
    GetWindowRect(&m_boxRect);
    header->GetWindowRect(&m_headerRect);
    m_markedDivider = -1;
    return TRUE;
}

UINT CODColumnListBox::Dragging(CPoint point)
{
    if (m_dragWnd && m_dragWnd->m_hWnd) {
        CRect r;
        m_dragWnd->GetWindowRect(&r);
        m_dragWnd->SetWindowPos(&CWnd::wndTop, point.x - r.Width() / 2, point.y - r.Height() / 2, 0, 0,
                                SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
    CODHeaderCtrl* header = Header();
    if (m_boxRect.PtInRect(point) || !header) {
        // Back over the box: a drop here puts nothing into the header.
        if (m_markedDivider >= 0 && header)
            header->SendMessage(HDM_SETHOTDIVIDER, FALSE, -1);
        m_markedDivider = -1;
        return DL_MOVECURSOR;
    }
    m_markedDivider = int(header->SendMessage(HDM_SETHOTDIVIDER, TRUE, MAKELPARAM(point.x, point.y)));
    return m_headerRect.PtInRect(point) ? DL_MOVECURSOR : DL_STOPCURSOR;
}

void CODColumnListBox::CancelDrag(CPoint)
{
    EndDragLook();
    m_draggedColumn = -1;
}

void CODColumnListBox::Dropped(int, CPoint)
{
    const int divider = m_markedDivider;
    EndDragLook();
    const int column = m_draggedColumn;
    m_draggedColumn = -1;
    if (column < 0 || !m_list)
        return;
    const int position = ChooserDropPosition(m_list->Model().GetVisibleColumnCount(), divider);
    if (position >= 0)
        m_list->ShowColumn(column, position);  // the list refills this box
}

void CODColumnListBox::EndDragLook()
{
    if (CODHeaderCtrl* header = Header())
        header->SendMessage(HDM_SETHOTDIVIDER, FALSE, -1);
    m_markedDivider = -1;
    if (m_dragWnd) {
        if (::IsWindow(m_dragWnd->m_hWnd))
            m_dragWnd->DestroyWindow();  // deletes itself
        else
            delete m_dragWnd;
        m_dragWnd = nullptr;
    }
}

// ---- Painting ------------------------------------------------------------------------------

void CODColumnListBox::DrawItem(LPDRAWITEMSTRUCT dis)
{
    if (!dis)
        return;
    CDC* dc = CDC::FromHandle(dis->hDC);
    CRect r(dis->rcItem);
    const int count = GetCount();
    if (count <= 0 || dis->itemID >= UINT(count)) {
        dc->FillSolidRect(&r, ::GetSysColor(COLOR_WINDOW));
        return;
    }
    if (GetExStyle() & WS_EX_STATICEDGE) {
        const COLORREF light = m_list ? m_list->m_colours[kClr3DHilight] : ::GetSysColor(COLOR_3DHILIGHT);
        const COLORREF dark = m_list ? m_list->m_colours[kClr3DDkShadow] : ::GetSysColor(COLOR_3DDKSHADOW);
        const COLORREF face = m_list ? m_list->m_colours[kClr3DFace] : ::GetSysColor(COLOR_3DFACE);
        dc->Draw3dRect(&r, light, dark);
        r.DeflateRect(1, 1);
        dc->FillSolidRect(&r, face);
        r.DeflateRect(1, 1);
    } else {
        RECT face = r;
        ::DrawFrameControl(dis->hDC, &face, DFC_BUTTON, DFCS_BUTTONPUSH);
        r.DeflateRect(2, 2);
    }
    CString caption;
    GetText(int(dis->itemID), caption);
    const bool fixed = IsColumnFixed(int(GetItemData(int(dis->itemID)))) != FALSE;
    const UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_NOCLIP | DT_END_ELLIPSIS | DT_LEFT;
    const int oldMode = dc->SetBkMode(TRANSPARENT);
    const COLORREF oldColour = dc->GetTextColor();
    if (dis->itemState & ODS_SELECTED) {
        dc->FillSolidRect(&r, ::GetSysColor(COLOR_3DSHADOW));
        dc->SetTextColor(::GetSysColor(fixed ? COLOR_3DFACE : COLOR_3DHILIGHT));
        dc->DrawText(caption, caption.GetLength(), &r, format);
    } else if (fixed) {
        CRect raised(r);
        raised.OffsetRect(1, 1);
        dc->SetTextColor(::GetSysColor(COLOR_3DHILIGHT));
        dc->DrawText(caption, caption.GetLength(), &raised, format);
        dc->SetTextColor(::GetSysColor(COLOR_3DSHADOW));
        dc->DrawText(caption, caption.GetLength(), &r, format);
    } else {
        dc->SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
        dc->DrawText(caption, caption.GetLength(), &r, format);
    }
    dc->SetTextColor(oldColour);
    dc->SetBkMode(oldMode);
}

BOOL CODColumnListBox::OnEraseBkgnd(CDC* pDC)
{
    if (IsWindowEnabled())
        return CDragListBox::OnEraseBkgnd(pDC);
    CRect client;
    GetClientRect(&client);
    pDC->FillSolidRect(&client, ::GetSysColor(COLOR_BTNFACE));
    return TRUE;
}

// ---- Creation ------------------------------------------------------------------------------

void CODColumnListBox::PreSubclassWindow()
{
    CDragListBox::PreSubclassWindow();
    // A box being created has no entries' height yet: it is measured while
    // WM_CREATE runs, and raised after it.
    if (GetItemHeight(0) > 0)
        AddItemHeight();
    else
        m_heightPending = true;
}

int CODColumnListBox::OnCreate(LPCREATESTRUCT cs)
{
    const int result = CDragListBox::OnCreate(cs);
    if (result == 0 && m_heightPending) {
        m_heightPending = false;
        AddItemHeight();
    }
    return result;
}

void CODColumnListBox::AddItemHeight()
{
    const int height = GetItemHeight(0);
    if (height > 0)
        SetItemHeight(0, UINT(height + 2));
}

// ---- The list's side -----------------------------------------------------------------------

void CODListCtrl::SetColumnChooser(CODColumnListBox* chooser)
{
    m_chooser = chooser;
    if (m_header.m_hWnd)
        m_header.SetProperty(5, reinterpret_cast<LPARAM>(chooser ? chooser->m_hWnd : NULL));
    if (chooser) {
        chooser->SetListCtrl(this);
        RefreshChooser(true);
    }
}

void CODListCtrl::ReleaseBoxes()
{
    // Every box attached to this list forgets it: its entries name our columns.
    while (!m_boxes.empty()) {
        CODColumnListBox* box = m_boxes.back();
        box->LeaveList();
        if (box->m_hWnd)
            box->ResetContent();
    }
}

void CODListCtrl::RefreshChooser(bool always)
{
    if (!m_chooser)
        return;
    std::vector<int> key = m_model.GetShownColumns();
    std::sort(key.begin(), key.end());
    key.push_back(m_model.GetColumnCount());
    if (!always && key == m_chooserKey)
        return;
    m_chooserKey = key;
    m_chooser->FillColumns();
}

int CODListCtrl::InsertColumn(int index, const ColumnInfo& info, BOOL refreshChooser)
{
    const int result = m_model.InsertColumn(index, info);
    if (result >= 0 && refreshChooser)
        RefreshChooser(true);
    return result;
}

int CODListCtrl::SetColumn(int index, const ColumnInfo& info, BOOL refreshChooser)
{
    const int result = m_model.SetColumn(index, info);
    if (refreshChooser)
        RefreshChooser(true);
    return result;
}

int CODListCtrl::DeleteColumn(int index)
{
    const int result = m_model.DeleteColumn(index);
    // The header's items name columns by index: they follow the removal.
    if (result)
        ColumnsChanged();
    return result;
}

void CODListCtrl::DeleteAllColumns()
{
    while (m_model.GetColumnCount() > 0)
        DeleteColumn(0);
}
