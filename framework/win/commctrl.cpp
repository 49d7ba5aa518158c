// Common controls: image list, tooltip, progress, spin, header, list view,
// tab and drag list box.
#include "winstate.h"

IMPLEMENT_DYNAMIC(CImageList, CObject)
IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)
IMPLEMENT_DYNAMIC(CProgressCtrl, CWnd)
IMPLEMENT_DYNAMIC(CSpinButtonCtrl, CWnd)
IMPLEMENT_DYNAMIC(CHeaderCtrl, CWnd)
IMPLEMENT_DYNAMIC(CListCtrl, CWnd)
IMPLEMENT_DYNAMIC(CTabCtrl, CWnd)
IMPLEMENT_DYNAMIC(CDragListBox, CListBox)

namespace {

BOOL CreateCommonControl(CWnd* pWnd, LPCTSTR lpszClass, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    AfxInitCommonControls();
    return pWnd->CWnd::Create(lpszClass, NULL, dwStyle, rect, pParentWnd, nID);
}

// WM_DRAWITEM of an owner-drawn control reaches its virtual DrawItem unless a
// map entry of a derived class handled it.
template<class TControl>
BOOL DrawItemChildNotify(TControl* pControl, UINT message, LPARAM lParam, LRESULT* pResult)
{
    if (message != WM_DRAWITEM)
        return FALSE;
    pControl->DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    if (pResult != NULL)
        *pResult = TRUE;
    return TRUE;
}

}  // namespace

/////////////////////////////////////////////////////////////////////////////
// CImageList

CImageList::~CImageList()
{
    DeleteImageList();
}

CImageList* PASCAL CImageList::FromHandle(HIMAGELIST hImageList)
{
    return AfxGetThreadState()->m_mapHIMAGELIST.FromHandle(hImageList);
}

BOOL CImageList::Attach(HIMAGELIST hImageList)
{
    if (hImageList == NULL || m_hImageList != NULL)
        return FALSE;
    m_hImageList = hImageList;
    return TRUE;
}

HIMAGELIST CImageList::Detach()
{
    HIMAGELIST hImageList = m_hImageList;
    m_hImageList = NULL;
    return hImageList;
}

BOOL CImageList::DeleteImageList()
{
    if (m_hImageList == NULL)
        return FALSE;
    return ImageList_Destroy(Detach());
}

BOOL CImageList::Create(LPCTSTR lpszBitmapID, int cx, int nGrow, COLORREF crMask)
{
    HINSTANCE hInst = AfxFindResourceHandle(lpszBitmapID, RT_BITMAP);
    return Attach(ImageList_LoadImageA(hInst, lpszBitmapID, cx, nGrow, crMask, IMAGE_BITMAP, LR_CREATEDIBSECTION));
}

/////////////////////////////////////////////////////////////////////////////
// CToolTipCtrl

BEGIN_MESSAGE_MAP(CToolTipCtrl, CWnd)
    ON_MESSAGE(WM_DISABLEMODAL, OnDisableModal)
END_MESSAGE_MAP()

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle)
{
    AfxInitCommonControls();
    if (!CWnd::CreateEx(WS_EX_TOPMOST, TOOLTIPS_CLASSA, NULL, WS_POPUP | dwStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, pParentWnd->GetSafeHwnd(), NULL, NULL))
        return FALSE;
    SetOwner(pParentWnd);
    return TRUE;
}

void CToolTipCtrl::FillInToolInfo(TOOLINFO& ti, CWnd* pWnd, UINT_PTR nIDTool) const
{
    memset(&ti, 0, sizeof(ti));
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    HWND hWnd = pWnd->GetSafeHwnd();
    if (nIDTool == 0) {
        ti.hwnd = ::GetParent(hWnd);
        ti.uFlags = TTF_IDISHWND;
        ti.uId = reinterpret_cast<UINT_PTR>(hWnd);
    } else {
        ti.hwnd = hWnd;
        ti.uFlags = 0;
        ti.uId = nIDTool;
    }
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCTSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool)
{
    if (pWnd == NULL || pWnd->m_hWnd == NULL)
        return FALSE;
    TOOLINFO ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    if (lpRectTool != NULL)
        ti.rect = *lpRectTool;
    else if (nIDTool != 0)
        ::GetClientRect(pWnd->m_hWnd, &ti.rect);
    ti.hinst = NULL;
    ti.lpszText = const_cast<LPTSTR>(lpszText);
    // The owner passes the tool's mouse messages on (RelayEvent).
    return (BOOL)::SendMessageA(m_hWnd, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool, UINT_PTR nIDTool)
{
    CString strText;
    strText.LoadString(nIDText);
    return AddTool(pWnd, strText, lpRectTool, nIDTool);
}

void CToolTipCtrl::DelTool(CWnd* pWnd, UINT_PTR nIDTool)
{
    TOOLINFO ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    ::SendMessageA(m_hWnd, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool)
{
    TOOLINFO ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    ti.lpszText = const_cast<LPTSTR>(lpszText);
    ::SendMessageA(m_hWnd, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::UpdateTipText(UINT nIDText, CWnd* pWnd, UINT_PTR nIDTool)
{
    CString strText;
    strText.LoadString(nIDText);
    UpdateTipText(strText, pWnd, nIDTool);
}

void CToolTipCtrl::SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect)
{
    TOOLINFO ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    ti.rect = *lpRect;
    ::SendMessageA(m_hWnd, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&ti));
}

BOOL CToolTipCtrl::GetToolInfo(TOOLINFO* pToolInfo, CWnd* pWnd, UINT_PTR nIDTool) const
{
    FillInToolInfo(*pToolInfo, pWnd, nIDTool);
    pToolInfo->lpszText = NULL;   // the text is not copied here
    return (BOOL)::SendMessageA(m_hWnd, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(pToolInfo));
}

LRESULT CToolTipCtrl::OnDisableModal(WPARAM, LPARAM)
{
    Pop();
    return FALSE;
}

/////////////////////////////////////////////////////////////////////////////
// CProgressCtrl, CSpinButtonCtrl

BOOL CProgressCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CreateCommonControl(this, PROGRESS_CLASSA, dwStyle, rect, pParentWnd, nID);
}

void CProgressCtrl::GetRange(int& nLower, int& nUpper) const
{
    PBRANGE range = {0, 0};
    ::SendMessageA(m_hWnd, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    nLower = range.iLow;
    nUpper = range.iHigh;
}

BOOL CSpinButtonCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CreateCommonControl(this, UPDOWN_CLASSA, dwStyle, rect, pParentWnd, nID);
}

void CSpinButtonCtrl::GetRange(int& lower, int& upper) const
{
    DWORD dw = (DWORD)::SendMessageA(m_hWnd, UDM_GETRANGE, 0, 0);
    lower = (int)(short)HIWORD(dw);
    upper = (int)(short)LOWORD(dw);
}

/////////////////////////////////////////////////////////////////////////////
// CHeaderCtrl

BOOL CHeaderCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CreateCommonControl(this, WC_HEADERA, dwStyle, rect, pParentWnd, nID);
}

BOOL CHeaderCtrl::GetOrderArray(LPINT piArray, int iCount)
{
    if (iCount < 0)
        iCount = GetItemCount();
    if (piArray == NULL || iCount <= 0)
        return FALSE;
    return (BOOL)::SendMessageA(m_hWnd, HDM_GETORDERARRAY, iCount, reinterpret_cast<LPARAM>(piArray));
}

void CHeaderCtrl::DrawItem(LPDRAWITEMSTRUCT)
{
}

BOOL CHeaderCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (CWnd::OnChildNotify(message, wParam, lParam, pResult))
        return TRUE;
    return DrawItemChildNotify(this, message, lParam, pResult);
}

/////////////////////////////////////////////////////////////////////////////
// CListCtrl

BOOL CListCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CreateCommonControl(this, WC_LISTVIEWA, dwStyle, rect, pParentWnd, nID);
}

int CListCtrl::InsertItem(int nItem, LPCTSTR lpszItem)
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = nItem;
    item.pszText = const_cast<LPTSTR>(lpszItem);
    return InsertItem(&item);
}

int CListCtrl::InsertItem(int nItem, LPCTSTR lpszItem, int nImage)
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = nItem;
    item.pszText = const_cast<LPTSTR>(lpszItem);
    item.iImage = nImage;
    return InsertItem(&item);
}

CString CListCtrl::GetItemText(int nItem, int nSubItem) const
{
    // The control says how much it copied; grow until the text fits.
    CString str;
    for (int nLen = 128; nLen <= 0x10000; nLen *= 2) {
        LVITEMA item = {};
        item.iSubItem = nSubItem;
        item.cchTextMax = nLen;
        item.pszText = str.GetBuffer(nLen);
        int nRes = (int)::SendMessageA(m_hWnd, LVM_GETITEMTEXTA, nItem, reinterpret_cast<LPARAM>(&item));
        str.ReleaseBuffer();
        if (nRes < nLen - 1)
            break;
    }
    return str;
}

int CListCtrl::GetItemText(int nItem, int nSubItem, LPTSTR lpszText, int nLen) const
{
    LVITEMA item = {};
    item.iSubItem = nSubItem;
    item.cchTextMax = nLen;
    item.pszText = lpszText;
    return (int)::SendMessageA(m_hWnd, LVM_GETITEMTEXTA, nItem, reinterpret_cast<LPARAM>(&item));
}

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, LPCTSTR lpszText)
{
    LVITEMA item = {};
    item.iSubItem = nSubItem;
    item.pszText = const_cast<LPTSTR>(lpszText);
    return (BOOL)::SendMessageA(m_hWnd, LVM_SETITEMTEXTA, nItem, reinterpret_cast<LPARAM>(&item));
}

BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask)
{
    LVITEMA item = {};
    item.stateMask = nMask;
    item.state = nState;
    return (BOOL)::SendMessageA(m_hWnd, LVM_SETITEMSTATE, nItem, reinterpret_cast<LPARAM>(&item));
}

DWORD_PTR CListCtrl::GetItemData(int nItem) const
{
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = nItem;
    ::SendMessageA(m_hWnd, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return (DWORD_PTR)item.lParam;
}

BOOL CListCtrl::SetItemData(int nItem, DWORD_PTR dwData)
{
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = nItem;
    item.lParam = (LPARAM)dwData;
    return (BOOL)::SendMessageA(m_hWnd, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

BOOL CListCtrl::GetItemRect(int nItem, LPRECT lpRect, UINT nCode) const
{
    lpRect->left = (LONG)nCode;
    return (BOOL)::SendMessageA(m_hWnd, LVM_GETITEMRECT, nItem, reinterpret_cast<LPARAM>(lpRect));
}

BOOL CListCtrl::GetSubItemRect(int iItem, int iSubItem, int nArea, CRect& ref) const
{
    RECT rect;
    rect.top = iSubItem;
    rect.left = nArea;
    BOOL bRet = (BOOL)::SendMessageA(m_hWnd, LVM_GETSUBITEMRECT, iItem, reinterpret_cast<LPARAM>(&rect));
    if (bRet)
        ref = rect;
    return bRet;
}

int CListCtrl::HitTest(CPoint pt, UINT* pFlags) const
{
    LVHITTESTINFO hti = {};
    hti.pt = pt;
    int nRes = (int)::SendMessageA(m_hWnd, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hti));
    if (pFlags != NULL)
        *pFlags = hti.flags;
    return nRes;
}

int CListCtrl::InsertColumn(int nCol, LPCTSTR lpszColumnHeading, int nFormat, int nWidth, int nSubItem)
{
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_FMT;
    column.pszText = const_cast<LPTSTR>(lpszColumnHeading);
    column.fmt = nFormat;
    if (nWidth != -1) {
        column.mask |= LVCF_WIDTH;
        column.cx = nWidth;
    }
    if (nSubItem != -1) {
        column.mask |= LVCF_SUBITEM;
        column.iSubItem = nSubItem;
    }
    return InsertColumn(nCol, &column);
}

void CListCtrl::DrawItem(LPDRAWITEMSTRUCT)
{
}

BOOL CListCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (CWnd::OnChildNotify(message, wParam, lParam, pResult))
        return TRUE;
    return DrawItemChildNotify(this, message, lParam, pResult);
}

/////////////////////////////////////////////////////////////////////////////
// CTabCtrl

BOOL CTabCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CreateCommonControl(this, WC_TABCONTROLA, dwStyle, rect, pParentWnd, nID);
}

LONG CTabCtrl::InsertItem(int nItem, LPCTSTR lpszItem)
{
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<LPTSTR>(lpszItem);
    return InsertItem(nItem, &item);
}

LONG CTabCtrl::InsertItem(int nItem, LPCTSTR lpszItem, int nImage)
{
    TCITEMA item = {};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = const_cast<LPTSTR>(lpszItem);
    item.iImage = nImage;
    return InsertItem(nItem, &item);
}

CSize CTabCtrl::SetItemSize(CSize size)
{
    DWORD dw = (DWORD)::SendMessageA(m_hWnd, TCM_SETITEMSIZE, 0, MAKELPARAM(size.cx, size.cy));
    return CSize(LOWORD(dw), HIWORD(dw));
}

void CTabCtrl::DrawItem(LPDRAWITEMSTRUCT)
{
}

BOOL CTabCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (CWnd::OnChildNotify(message, wParam, lParam, pResult))
        return TRUE;
    return DrawItemChildNotify(this, message, lParam, pResult);
}

/////////////////////////////////////////////////////////////////////////////
// CDragListBox

void CDragListBox::PreSubclassWindow()
{
    CListBox::PreSubclassWindow();
    ::MakeDragList(m_hWnd);
}

int CDragListBox::ItemFromPt(CPoint pt, BOOL bAutoScroll) const
{
    return ::LBItemFromPt(m_hWnd, pt, bAutoScroll);
}

BOOL CDragListBox::BeginDrag(CPoint pt)
{
    m_nLast = -1;
    DrawInsert(ItemFromPt(pt));
    return TRUE;
}

void CDragListBox::CancelDrag(CPoint)
{
    DrawInsert(-1);
}

UINT CDragListBox::Dragging(CPoint pt)
{
    int nIndex = ItemFromPt(pt, FALSE);
    DrawInsert(nIndex);
    return nIndex != -1 ? DL_MOVECURSOR : DL_STOPCURSOR;
}

void CDragListBox::Dropped(int nSrcIndex, CPoint pt)
{
    DrawInsert(-1);
    int nDestIndex = ItemFromPt(pt);
    if (nSrcIndex < 0 || nDestIndex < 0 || nSrcIndex == nDestIndex || nSrcIndex + 1 == nDestIndex)
        return;
    CString str;
    GetText(nSrcIndex, str);
    DWORD_PTR dwData = GetItemData(nSrcIndex);
    DeleteString((UINT)nSrcIndex);
    if (nSrcIndex < nDestIndex)
        nDestIndex--;
    nDestIndex = InsertString(nDestIndex, str);
    SetItemData(nDestIndex, dwData);
    SetCurSel(nDestIndex);
}

void CDragListBox::DrawInsert(int nItem)
{
    if (m_nLast == nItem)
        return;
    ::DrawInsert(::GetParent(m_hWnd), m_hWnd, nItem);
    m_nLast = nItem;
}

BOOL CDragListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == AfxGetDragListMessage() && lParam != 0) {
        const DRAGLISTINFO* pInfo = reinterpret_cast<const DRAGLISTINFO*>(lParam);
        LRESULT lResult = 0;
        switch (pInfo->uNotification) {
        case DL_BEGINDRAG:
            lResult = BeginDrag(pInfo->ptCursor);
            break;
        case DL_CANCELDRAG:
            CancelDrag(pInfo->ptCursor);
            break;
        case DL_DRAGGING:
            lResult = Dragging(pInfo->ptCursor);
            break;
        case DL_DROPPED:
            Dropped(GetCurSel(), pInfo->ptCursor);
            break;
        default:
            return FALSE;
        }
        if (pResult != NULL)
            *pResult = lResult;
        return TRUE;
    }
    return CListBox::OnChildNotify(message, wParam, lParam, pResult);
}
