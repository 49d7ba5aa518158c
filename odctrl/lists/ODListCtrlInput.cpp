// ODListCtrlInput.cpp - the list under the mouse and the keyboard: every
// action is offered to the parent first (a non-zero answer takes it over),
// then applied by the rules of ODListInput.h; scrolling by bar, wheel and
// keys; the header's notifications (resize, click to sort, drag, divider
// double click). Scrolls, size changes and header events end an open
// in-place edit first, keeping its text.
#include "ODListCtrl.h"

#include <algorithm>

#include "ODListInput.h"

using namespace odlist;

namespace {

bool KeyHeld(int key) { return ::GetKeyState(key) < 0; }

// The column a header notification names.
int HeaderColumn(const ListModel& model, NMHDR* hdr)
{
    return model.GetColumnAt(reinterpret_cast<const NMHEADERA*>(hdr)->iItem);
}

}  // namespace

LRESULT CODListCtrl::NotifyMouse(int code, UINT flags, CPoint point)
{
    NMODLISTMOUSE nm = {};
    nm.point = point;
    nm.flags = flags;
    return NotifyParent(code, &nm.hdr);
}

ODHitTestInfo CODListCtrl::HitAt(CPoint point)
{
    ODHitTestInfo hit = {};
    hit.x = point.x;
    hit.y = point.y;
    m_geometry.HitTest(&hit);
    return hit;
}

void CODListCtrl::ToggleNode(const ODHitTestInfo& hit)
{
    m_model.Expand(hit.node, 2);
    Notification t;
    t.code = kNotifyToggled;
    t.node = hit.node;
    t.item = hit.displayRow;
    m_model.SendNotify(t);
    ApplyPositions();
}

void CODListCtrl::ApplyPositions()
{
    SetScrollPosition(SB_HORZ, m_geometry.GetHorzPos());
    SetScrollPosition(SB_VERT, m_geometry.GetTopIndex());
}

void CODListCtrl::OnLButtonDown(UINT flags, CPoint point)
{
    SetFocus();
    const ODHitTestInfo hit = HitAt(point);
    if (m_model.IsTree() && (hit.flags & kHitExpander) && hit.node) {
        Notification n;
        n.code = kNotifyExpanderClick;
        n.node = hit.node;
        n.item = hit.displayRow;
        n.column = hit.position;
        if (!m_model.SendNotify(n))
            ToggleNode(hit);
        return;
    }
    const bool edit = ApplyLeftClick(m_model, m_input, hit.displayRow, hit.position, (flags & MK_CONTROL) != 0,
                                     (flags & MK_SHIFT) != 0);
    Invalidate(FALSE);
    if (edit) {
        int row = -2, position = -1;
        m_model.GetFocusCell(&row, &position);
        BeginEdit(row, position, 1);
    }
    if (NotifyMouse(kNotifyClick, flags, point))
        Default();
}

void CODListCtrl::OnRButtonDown(UINT flags, CPoint point)
{
    SetFocus();
    const ODHitTestInfo hit = HitAt(point);
    ApplyRightClick(m_model, m_input, hit.displayRow, (flags & MK_CONTROL) != 0, (flags & MK_SHIFT) != 0);
    Invalidate(FALSE);
    if (NotifyMouse(kNotifyRightClick, flags, point))
        Default();
}

void CODListCtrl::OnLButtonDblClk(UINT flags, CPoint point)
{
    if (NotifyMouse(kNotifyDoubleClick, flags, point)) {
        Default();
        return;
    }
    if (!m_model.IsTree())
        return;
    const ODHitTestInfo hit = HitAt(point);
    if (hit.node && m_model.HasChildren(hit.node))
        ToggleNode(hit);
}

void CODListCtrl::OnMouseMove(UINT flags, CPoint point)
{
    if (m_hasFocus && !(flags & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) &&
        (m_model.GetStyleWord() & kStyleHoverTip) && !m_editor) {
        const ODHitTestInfo hit = HitAt(point);
        if (hit.item >= -1 && hit.column >= 0 && (hit.flags & kHitText)) {
            ODListHover hover = {};
            hover.text = m_model.GetItemText(hit.item, hit.column);
            const bool treeCell = m_model.IsTree() && hit.position == 0;
            Rect r;
            if (!hover.text.empty() &&
                m_geometry.GetCellRect(hit.item, hit.column, &r, treeCell ? kPartTextToEnd : kPartText)) {
                hover.rect = RECT{r.left, r.top, r.right, r.bottom};
                hover.font = RowFont(false);
                hover.boldFont = RowFont(true);
                OnCellHover(hover);
            }
        }
    }
    Default();
}

void CODListCtrl::OnCellHover(const ODListHover&) {}

BOOL CODListCtrl::OnMouseWheel(UINT, short delta, CPoint)
{
    const WheelPlan plan = PlanWheel(delta, m_wheelLines, m_geometry.GetCountPerPage());
    for (int i = 0; i < plan.count; ++i)
        PostMessage(WM_VSCROLL, MAKEWPARAM(plan.code, 0), 0);
    return TRUE;
}

void CODListCtrl::OnKeyDown(UINT key, UINT, UINT)
{
    m_input.typingStartsEdit = false;
    int row = -2, position = -1;
    m_model.GetFocusCell(&row, &position);
    NMODLISTKEY nm = {};
    nm.key = int(key);
    nm.row = row;
    nm.column = position;
    const int item = row >= -1 ? m_model.DisplayToItem(row) : -2;
    nm.data = item >= -1 ? m_model.GetItemData(item) : 0;
    if (NotifyParent(kNotifyKey, &nm.hdr)) {
        Default();
        return;
    }
    const KeyOutcome out = ApplyKeyDown(m_model, m_geometry, m_input, int(key), KeyHeld(VK_CONTROL), KeyHeld(VK_SHIFT));
    if (out.changed) {
        ApplyPositions();
        Invalidate(FALSE);
    }
    if (out.runDefault)
        Default();
}

void CODListCtrl::OnChar(UINT ch, UINT, UINT)
{
    if (CharStartsEdit(m_model, m_input)) {
        int row = -2, position = -1;
        m_model.GetFocusCell(&row, &position);
        m_input.typingStartsEdit = false;
        if (BeginEdit(row, position, int(ch)))
            return;
    }
    Default();
}

UINT CODListCtrl::OnGetDlgCode()
{
    return DLGC_WANTARROWS;
}

void CODListCtrl::OnVScroll(UINT code, UINT, CScrollBar*)
{
    EndOpenEdit();
    SCROLLINFO info = {};
    int track = m_geometry.GetTopIndex();
    if ((code == SB_THUMBTRACK || code == SB_THUMBPOSITION) && GetScrollInfo(SB_VERT, &info, SIF_TRACKPOS))
        track = info.nTrackPos;  // the 32-bit position, not the message's 16 bits
    if (code > SB_BOTTOM)
        return;
    SetScrollPosition(SB_VERT, VScrollTarget(m_model, m_geometry, int(code), track));
}

void CODListCtrl::OnHScroll(UINT code, UINT, CScrollBar*)
{
    EndOpenEdit();
    SCROLLINFO info = {};
    int track = m_geometry.GetHorzPos();
    if ((code == SB_THUMBTRACK || code == SB_THUMBPOSITION) && GetScrollInfo(SB_HORZ, &info, SIF_TRACKPOS))
        track = info.nTrackPos;
    if (code > SB_BOTTOM)
        return;
    SetScrollPosition(SB_HORZ, HScrollTarget(m_model, m_geometry, int(code), track));
}

void CODListCtrl::OnWindowPosChanging(WINDOWPOS* pos)
{
    CWnd::OnWindowPosChanging(pos);
    if (m_model.GetOption(10) == 0)
        ShowScrollBar(SB_HORZ, FALSE);
}

// ---- Header notifications ------------------------------------------------------------------

void CODListCtrl::OnHeaderItemChanged(NMHDR* hdr, LRESULT* result)
{
    *result = 0;
    EndOpenEdit();
    if (m_syncing)
        return;
    const NMHEADERA* nm = reinterpret_cast<const NMHEADERA*>(hdr);
    const int column = m_model.GetColumnAt(nm->iItem);
    const ColumnInfo* c = m_model.GetColumn(column);
    if (!c)
        return;
    HDITEMA item = {};
    item.mask = HDI_WIDTH | HDI_FORMAT;
    if (!m_header.GetItem(nm->iItem, &item))
        return;
    if (((item.fmt & 3) != int(c->flags & 3))) {
        ColumnInfo changed = *c;
        changed.flags = (changed.flags & ~3u) | uint32_t(item.fmt & 3);
        m_syncing = true;
        m_model.SetColumn(column, changed);
        m_syncing = false;
    }
    if (item.cxy != c->width) {
        m_syncing = true;
        m_model.SetColumnWidth(column, item.cxy);
        m_syncing = false;
    }
    if (!m_header.IsFitting())
        SetScrollPosition(SB_HORZ, m_geometry.GetHorzPos());
    Invalidate(FALSE);
    Notification n;
    n.code = kNotifyColumnChanged;
    n.item = -2;
    n.column = column;
    m_model.SendNotify(n);
}

void CODListCtrl::OnHeaderItemClick(NMHDR* hdr, LRESULT* result)
{
    *result = 0;
    EndOpenEdit();
    const NMHEADERA* nm = reinterpret_cast<const NMHEADERA*>(hdr);
    const int column = HeaderColumn(m_model, hdr);
    Notification n;
    n.code = kNotifyHeaderClick;
    n.column = column;
    if (m_model.SendNotify(n) || column < 0)
        return;
    if (m_model.GetStyleWord() & (kStyleVirtual | kStyleNoSortClick))
        return;
    int direction = 0;
    const int sortColumn = m_model.GetSortColumn(&direction);
    m_model.SortItems(column, NextSortDirection(sortColumn, direction, column));
    m_model.GetSortColumn(&direction);
    m_header.SetSortColumn(nm->iItem, direction);
    Invalidate(FALSE);
}

void CODListCtrl::OnHeaderBeginDrag(NMHDR*, LRESULT* result)
{
    *result = 0;
    EndOpenEdit();
}

void CODListCtrl::OnHeaderEndDrag(NMHDR* hdr, LRESULT* result)
{
    EndOpenEdit();
    const int zone = m_header.GetDropZone();
    if (zone != CODHeaderCtrl::DropElsewhere && zone != CODHeaderCtrl::DropOverArea) {
        // The header reorders itself; its order is read back once it has.
        *result = 0;
        m_orderPending = true;
        Invalidate(FALSE);
        return;
    }
    *result = 1;
    if (m_model.GetStyleWord() & kStyleHideOnDragOut) {
        const int column = HeaderColumn(m_model, hdr);
        if (column >= 0)
            m_model.HideColumn(column);
    }
}

void CODListCtrl::OnHeaderDividerDblClick(NMHDR* hdr, LRESULT* result)
{
    *result = 0;
    EndOpenEdit();
    const int column = HeaderColumn(m_model, hdr);
    Notification n;
    n.code = kNotifyDividerDblClick;
    n.column = column;
    if (m_model.SendNotify(n) || column < 0 || (m_model.GetStyleWord() & kStyleVirtual))
        return;
    const ColumnInfo* c = m_model.GetColumn(column);
    if (c && !(c->flags & kColumnNoFit))
        SizeColumnToFit(column);
}

void CODListCtrl::ReadHeaderOrder()
{
    if (!m_orderPending || !m_header.m_hWnd)
        return;
    m_orderPending = false;
    const int count = m_header.GetItemCount();
    std::vector<int> order(size_t(std::max(count, 0)));
    if (count <= 0 || !m_header.GetOrderArray(order.data(), count))
        return;
    const std::vector<int> shown = m_model.GetShownColumns();
    std::vector<int> columns;
    for (int index : order)
        if (index >= 0 && size_t(index) < shown.size())
            columns.push_back(shown[size_t(index)]);
    m_syncing = true;
    m_model.SetShownOrder(columns);
    m_syncing = false;
    SyncHeader();
}
