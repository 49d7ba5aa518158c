// ODListCtrlExtras.cpp - CODListCtrl's small setters, its header's right
// click, and its answers to the platform list view's find and cell-text
// messages (the logic in ODListEmulation).
#include <stddef.h>

#include "ODListCtrl.h"
#include "ODListEmulation.h"

using namespace odlist;

// The records are read in place: they must be the platform's.
static_assert(sizeof(LvFindInfoA) == sizeof(LVFINDINFOA), "LVFINDINFOA");
static_assert(offsetof(LvFindInfoA, psz) == offsetof(LVFINDINFOA, psz), "LVFINDINFOA");
static_assert(offsetof(LvFindInfoA, lParam) == offsetof(LVFINDINFOA, lParam), "LVFINDINFOA");
static_assert(offsetof(LvItemA, iSubItem) == offsetof(LVITEMA, iSubItem), "LVITEMA");
static_assert(offsetof(LvItemA, pszText) == offsetof(LVITEMA, pszText), "LVITEMA");
static_assert(offsetof(LvItemA, cchTextMax) == offsetof(LVITEMA, cchTextMax), "LVITEMA");
static_assert(kLvfiParam == LVFI_PARAM && kLvfiString == LVFI_STRING && kLvfiPartial == LVFI_PARTIAL &&
                  kLvfiWrap == LVFI_WRAP,
              "LVFI_*");

int CODListCtrl::SetItemSelected(int item, uint32_t value, uint32_t mask)
{
    const int row = item >= 0 ? m_model.ItemToDisplay(item) : -2;
    return row >= 0 ? m_model.SetItemState(row, value, mask) : 0;
}

uint32_t CODListCtrl::QueryItemState(int item)
{
    const int row = item >= 0 ? m_model.ItemToDisplay(item) : -2;
    return row >= 0 ? m_model.GetDisplayedItemState(row) : 0;
}

void CODListCtrl::EnableHeaderDragDrop(BOOL on)
{
    if (m_header.m_hWnd)
        m_header.ModifyStyle(on ? 0 : HDS_DRAGDROP, on ? HDS_DRAGDROP : 0);
}

void CODListCtrl::SetImageBlendColor(COLORREF colour)
{
    m_blendColour = colour;
    if (m_hWnd)
        Invalidate(FALSE);
}

LRESULT CODListCtrl::NotifyHeaderRightClick(int headerItem)
{
    Notification n;
    n.code = kNotifyHeaderRightClick;
    n.column = headerItem;
    return m_model.SendNotify(n);
}

// The start and item travel as an int, as the platform's list view reads them.
LRESULT CODListCtrl::OnFindItemA(WPARAM wParam, LPARAM lParam)
{
    return AnswerFindItem(m_model, int(wParam), reinterpret_cast<const LvFindInfoA*>(lParam));
}

LRESULT CODListCtrl::OnGetItemTextA(WPARAM wParam, LPARAM lParam)
{
    return AnswerGetItemText(m_model, int(wParam), reinterpret_cast<LvItemA*>(lParam));
}

LRESULT CODListCtrl::OnSetItemTextA(WPARAM wParam, LPARAM lParam)
{
    const LRESULT r = AnswerSetItemText(m_model, int(wParam), reinterpret_cast<const LvItemA*>(lParam));
    if (r)
        Invalidate(FALSE);
    return r;
}
