// ODListHeaderCtrl.cpp - the list's header (see ODListHeaderCtrl.h).
#include "ODListHeaderCtrl.h"

#include "ODListCtrl.h"

BEGIN_MESSAGE_MAP(CODListHeaderCtrl, CODHeaderCtrl)
    ON_WM_RBUTTONDOWN()
END_MESSAGE_MAP()

int CODListHeaderCtrl::SetExtraValues(int n, int minWidth, int maxWidth)
{
    ODHeaderItemEx ex;
    if (n < 0 || n >= ExtrasCount() || !GetItemEx(n, &ex))
        return -1;
    ex.minWidth = minWidth;
    ex.maxWidth = maxWidth;
    SetItemEx(n, &ex);
    return n * 24;
}

void CODListHeaderCtrl::OnRButtonDown(UINT flags, CPoint point)
{
    CWnd* parent = GetParent();
    CWnd* owner = parent ? CWnd::FromHandlePermanent(parent->m_hWnd) : nullptr;
    if (owner && owner->IsKindOf(RUNTIME_CLASS(CODListCtrl))) {
        HDHITTESTINFO hit = {};
        hit.pt = point;
        const int item = int(SendMessage(HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        if (static_cast<CODListCtrl*>(owner)->NotifyHeaderRightClick(item))
            return;
    }
    CODHeaderCtrl::OnRButtonDown(flags, point);
}
