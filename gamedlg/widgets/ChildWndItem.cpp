#include "ChildWndItem.h"

#include "WidgetGeometry.h"

BOOL FitChildWindow(CWnd* pWnd, const RECT& rcItem)
{
    if (pWnd == nullptr || pWnd->m_hWnd == NULL || !::IsWindow(pWnd->m_hWnd))
        return FALSE;
    const widgets::Rc rc = widgets::ChildHolderRect(widgets::Rc{rcItem.left, rcItem.top, rcItem.right, rcItem.bottom});
    pWnd->MoveWindow(rc.left, rc.top, rc.Width(), rc.Height(), TRUE);
    pWnd->SetWindowRgn(::CreateRoundRectRgn(0, 0, rc.Width() + 1, rc.Height() + 1, 3, 3), TRUE);
    return TRUE;
}

void CChildWndItem::Layout()
{
    CAreaPainter::Layout();
    if (GetItemCount() > 0)
        FitChildWindow(GetItem(0)->window, m_rect);
}
