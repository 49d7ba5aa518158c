#include "ChatActionPicker.h"

#include "AnimatedImage.h"
#include "Conversions.h"
#include "ToolTipObjWnd.h"
#include "WidgetGeometry.h"
#include "WidgetServices.h"

namespace {

const COLORREF kHoverFill = 0xE7EEF1;
const COLORREF kHoverFrame = 0xA06B4F;
const COLORREF kCellText = 0x814D3C;
const COLORREF kGridFrame = 0xA06B4F;
const COLORREF kGridRow = 0xDEDEDE;
const COLORREF kGridColumn = 0xDEB6A5;

void DrawLine(HDC hDC, int x0, int y0, int x1, int y1)
{
    ::MoveToEx(hDC, x0, y0, NULL);
    ::LineTo(hDC, x1, y1);
}

}  // namespace

// ---- CHoverTextButton ------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CHoverTextButton, CButton)
    ON_WM_MOUSEMOVE()
    ON_MESSAGE(WM_MOUSEHOVER, OnMouseHoverMsg)
    ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeaveMsg)
    ON_WM_ERASEBKGND()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CHoverTextButton::CHoverTextButton()
    : m_bTracking(FALSE), m_bHover(FALSE), m_pImage(nullptr), m_pszPath(nullptr), m_pAnimation(nullptr)
{
}

CHoverTextButton::~CHoverTextButton() { DeleteAnimation(); }

void CHoverTextButton::DeleteAnimation()
{
    delete m_pAnimation;   // stops and joins its thread
    m_pAnimation = nullptr;
}

void CHoverTextButton::PreSubclassWindow()
{
    CButton::PreSubclassWindow();
    ModifyStyle(0, BS_OWNERDRAW);
}

void CHoverTextButton::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    HDC hDC = lpDIS->hDC;
    RECT rc = lpDIS->rcItem;
    if (m_bHover) {
        HBRUSH hFill = ::CreateSolidBrush(kHoverFill);
        ::FillRect(hDC, &rc, hFill);
        ::DeleteObject(hFill);
        if (m_pImage != nullptr) {
            DeleteAnimation();
            bool bPlaying = false;
            if (m_pszPath != nullptr) {
                m_pAnimation = new CAnimatedImage(m_pszPath, FALSE);
                bPlaying = m_pAnimation->Play(m_hWnd, rc.left + 2, rc.top + 2) != FALSE;
            }
            if (!bPlaying) {
                // A single-frame picture plays no thread: its owner draws it.
                Gdiplus::Graphics graphics(hDC);
                graphics.DrawImage(m_pImage, (INT)rc.left + 2, (INT)rc.top + 2, (INT)m_pImage->GetWidth(),
                                   (INT)m_pImage->GetHeight());
            }
        }
    } else if (m_pImage != nullptr) {
        Gdiplus::Graphics graphics(hDC);
        graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        graphics.DrawImage(m_pImage, (INT)rc.left + 2, (INT)rc.top + 2, (INT)m_pImage->GetWidth(),
                           (INT)m_pImage->GetHeight());
    }
    if (m_bHover) {
        HPEN hPen = ::CreatePen(PS_SOLID, 1, kHoverFrame);
        HGDIOBJ hOldPen = ::SelectObject(hDC, hPen);
        HGDIOBJ hOldBrush = ::SelectObject(hDC, ::GetStockObject(HOLLOW_BRUSH));
        ::Rectangle(hDC, rc.left, rc.top, rc.right, rc.bottom);
        ::SelectObject(hDC, hOldBrush);
        ::SelectObject(hDC, hOldPen);
        ::DeleteObject(hPen);
    }
    char szText[260];
    const int nLength = ::GetWindowTextA(m_hWnd, szText, sizeof szText);
    if (nLength > 0) {
        HFONT hFont = (HFONT)::SendMessageA(m_hWnd, WM_GETFONT, 0, 0);
        HGDIOBJ hOldFont = hFont != NULL ? ::SelectObject(hDC, hFont) : NULL;
        ::SetBkMode(hDC, TRANSPARENT);
        ::SetTextColor(hDC, kCellText);
        TEXTMETRICA tm;
        ::GetTextMetricsA(hDC, &tm);
        const int x = (rc.right - nLength * tm.tmAveCharWidth) / 2 - 2;
        const int y = rc.bottom - tm.tmHeight - 2;
        const UINT nFlags = DST_PREFIXTEXT | ((lpDIS->itemState & ODS_DISABLED) ? DSS_DISABLED : 0);
        ::DrawStateA(hDC, NULL, NULL, (LPARAM)szText, (WPARAM)nLength, x, y, 0, 0, nFlags);
        if (hOldFont != NULL)
            ::SelectObject(hDC, hOldFont);
    }
}

void CHoverTextButton::OnMouseMove(UINT /*nFlags*/, CPoint /*point*/)
{
    if (!m_bTracking) {
        TRACKMOUSEEVENT tme = {sizeof tme, TME_HOVER | TME_LEAVE, m_hWnd, 1};
        m_bTracking = ::TrackMouseEvent(&tme);
    }
    Default();
}

LRESULT CHoverTextButton::OnMouseHoverMsg(WPARAM, LPARAM)
{
    m_bHover = TRUE;
    Invalidate(TRUE);
    return 0;
}

LRESULT CHoverTextButton::OnMouseLeaveMsg(WPARAM, LPARAM)
{
    DeleteAnimation();
    m_bHover = FALSE;
    m_bTracking = FALSE;
    Invalidate(TRUE);
    return 0;
}

BOOL CHoverTextButton::OnEraseBkgnd(CDC* pDC)
{
    RECT rc;
    GetClientRect(&rc);
    HGDIOBJ hOldPen = ::SelectObject(pDC->m_hDC, ::GetStockObject(WHITE_PEN));
    HGDIOBJ hOldBrush = ::SelectObject(pDC->m_hDC, ::GetStockObject(WHITE_BRUSH));
    ::Rectangle(pDC->m_hDC, rc.left, rc.top, rc.right, rc.bottom);
    ::SelectObject(pDC->m_hDC, hOldBrush);
    ::SelectObject(pDC->m_hDC, hOldPen);
    return TRUE;
}

void CHoverTextButton::OnDestroy()
{
    DeleteAnimation();   // a cell destroyed while hovered must not leave its thread drawing
    CButton::OnDestroy();
}

// ---- CChatActionPicker --------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CChatActionPicker, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_DESTROY()
    ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

CChatActionPicker::CChatActionPicker()
    : m_nCellHeight(0), m_nCellWidth(0), m_nColumns(0), m_nRows(0), m_nPage(1), m_nOwnerX(0), m_nOwnerY(0),
      m_rcWindow{0, 0, 0, 0}, m_pOwner(nullptr)
{
}

CChatActionPicker::~CChatActionPicker()
{
    if (m_hWnd != NULL)
        DestroyWindow();
}

BOOL CChatActionPicker::Show(int x, int y, CChatActionButton* pOwner, const std::vector<Gdiplus::Image*>& images,
                             const std::vector<BSTR>& paths, int nPage)
{
    m_nOwnerX = x;
    m_nOwnerY = y;
    m_pOwner = pOwner;
    m_nPage = nPage;
    if (pOwner != nullptr)
        pOwner->SetPage(nPage);
    if (images.empty() || images[0] == nullptr)
        return FALSE;

    const widgets::PickerGrid grid =
        widgets::ComputePickerGrid((int)images.size(), (int)images[0]->GetWidth(), (int)images[0]->GetHeight());
    m_nColumns = grid.columns;
    m_nRows = grid.rows;
    m_nCellWidth = grid.cellWidth;
    m_nCellHeight = grid.cellHeight;
    const widgets::Rc rw = widgets::PickerWindowRect(x, y, grid);
    m_rcWindow = RECT{rw.left, rw.top, rw.right, rw.bottom};
    if (!CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), "", WS_POPUP | WS_VISIBLE, rw.left, rw.top, rw.Width(),
                  rw.Height(), NULL, NULL))
        return FALSE;
    ModifyStyleEx(WS_EX_APPWINDOW, WS_EX_TOOLWINDOW);

    CToolTipObjWnd* pToolTip = GetAppToolTip();
    for (int i = 0; i < (int)images.size(); ++i) {
        const widgets::Rc rc = widgets::PickerCellRect(grid, i);
        auto* pCell = new CHoverTextButton;
        if (!pCell->Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(rc.left, rc.top, rc.right, rc.bottom), this,
                           kPickerFirstItemId + i)) {
            delete pCell;
            continue;
        }
        pCell->SetImage(images[i]);
        pCell->SetAnimationPath(i < (int)paths.size() ? paths[i] : nullptr);
        const char* pszName = widgets::ChatActionName(nPage == 1 ? 1 : 2, i);
        if (pToolTip != nullptr && pszName != nullptr)
            pToolTip->AddTool(pCell->m_hWnd, pszName);
        pCell->ShowWindow(SW_SHOW);
        m_children.push_back(pCell);
    }

    HFONT hFont = NULL;
    HWND hOwnerParent = pOwner != nullptr ? ::GetParent(pOwner->m_hWnd) : NULL;
    if (hOwnerParent != NULL)
        hFont = (HFONT)::SendMessageA(hOwnerParent, WM_GETFONT, 0, 0);
    struct PageButton {
        widgets::Rc rc;
        UINT nId;
        const char* pszText;
        BOOL bEnabled;
    } buttons[] = {
        {widgets::PickerNextButtonRect(grid), kPickerNextPageId, "下一页", nPage != 2},
        {widgets::PickerPrevButtonRect(grid), kPickerPrevPageId, "上一页", nPage != 1},
    };
    for (const PageButton& b : buttons) {
        auto* pButton = new CHoverTextButton;
        if (!pButton->Create(b.pszText, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW,
                             CRect(b.rc.left, b.rc.top, b.rc.right, b.rc.bottom), this, b.nId)) {
            delete pButton;
            continue;
        }
        pButton->SendMessage(WM_SETFONT, (WPARAM)hFont, TRUE);
        pButton->EnableWindow(b.bEnabled);
        m_children.push_back(pButton);
    }
    return TRUE;
}

BOOL CChatActionPicker::OnCommand(WPARAM wParam, LPARAM /*lParam*/)
{
    if (HIWORD(wParam) != BN_CLICKED)
        return TRUE;
    const UINT nId = LOWORD(wParam);
    // A page switch replaces this popup: it is posted, so the owner deletes
    // the popup after the click that asked for it has been handled.
    if (nId == kPickerNextPageId)
        m_pOwner->PostMessage(WM_PICKER_PAGE, 2, 0);
    else if (nId == kPickerPrevPageId)
        m_pOwner->PostMessage(WM_PICKER_PAGE, 1, 0);
    else if (nId >= kPickerFirstItemId)
        Choose((int)(nId - kPickerFirstItemId));
    return TRUE;
}

void CChatActionPicker::Choose(int nIndex)
{
    ShowWindow(SW_HIDE);
    if (m_pOwner == nullptr)
        return;
    HWND hOwnerParent = ::GetParent(m_pOwner->m_hWnd);
    if (hOwnerParent != NULL) {
        RECT rc = m_rcWindow;
        ::MapWindowPoints(NULL, hOwnerParent, (LPPOINT)&rc, 2);
        ::InvalidateRect(hOwnerParent, &rc, TRUE);
    }
    m_pOwner->SendMessage(WM_PICKER_CHOSEN, (WPARAM)nIndex, 0);
}

void CChatActionPicker::OnPaint()
{
    CPaintDC dc(this);
    HDC hDC = dc.m_hDC;
    RECT rc;
    GetClientRect(&rc);
    HPEN hFrame = ::CreatePen(PS_SOLID, 1, kGridFrame);
    HPEN hRow = ::CreatePen(PS_SOLID, 1, kGridRow);
    HPEN hColumn = ::CreatePen(PS_SOLID, 1, kGridColumn);
    HGDIOBJ hOldPen = ::SelectObject(hDC, hFrame);
    HGDIOBJ hOldBrush = ::SelectObject(hDC, ::GetStockObject(HOLLOW_BRUSH));
    ::Rectangle(hDC, rc.left, rc.top, rc.right, rc.bottom);
    ::SelectObject(hDC, hRow);
    for (int r = 1; r < m_nRows; ++r)
        DrawLine(hDC, 2, r * m_nCellHeight, rc.right - 2, r * m_nCellHeight);
    DrawLine(hDC, 2, m_nRows * m_nCellHeight, rc.right - 2, m_nRows * m_nCellHeight);
    DrawLine(hDC, 2, m_nRows * m_nCellHeight + 24, rc.right - 2, m_nRows * m_nCellHeight + 24);
    ::SelectObject(hDC, hColumn);
    for (int c = 1; c < m_nColumns; ++c)
        DrawLine(hDC, c * m_nCellWidth, 2, c * m_nCellWidth, m_nRows * m_nCellHeight - 2);
    ::SelectObject(hDC, hOldBrush);
    ::SelectObject(hDC, hOldPen);
    ::DeleteObject(hFrame);
    ::DeleteObject(hRow);
    ::DeleteObject(hColumn);
}

BOOL CChatActionPicker::OnEraseBkgnd(CDC* pDC)
{
    // The class has no brush: the gaps between the cells and the strip of the
    // page buttons are white like the cells.
    RECT rc;
    GetClientRect(&rc);
    ::FillRect(pDC->m_hDC, &rc, (HBRUSH)::GetStockObject(WHITE_BRUSH));
    return TRUE;
}

void CChatActionPicker::OnDestroy()
{
    // The cells' tips go with them: the tooltip object would otherwise keep
    // records of dead windows (and grow with every popup).
    if (CToolTipObjWnd* pToolTip = GetAppToolTip())
        pToolTip->DelTool(m_hWnd, kWholeWindowTool);
    for (CHoverTextButton* pChild : m_children) {
        if (pChild->m_hWnd != NULL)
            pChild->DestroyWindow();
        delete pChild;
    }
    m_children.clear();
    m_children.shrink_to_fit();
    CWnd::OnDestroy();
}

void CChatActionPicker::OnKillFocus(CWnd* /*pNewWnd*/) {}

// ---- CChatActionButton ------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CChatActionButton, CPngButton)
    ON_WM_LBUTTONDOWN()
    ON_MESSAGE(WM_PICKER_CHOSEN, OnItemChosen)
    ON_MESSAGE(WM_PICKER_PAGE, OnSwitchPage)
END_MESSAGE_MAP()

CChatActionButton::CChatActionButton()
    : m_nSelected(0), m_nSelectedPage(1), m_pPopup(nullptr), m_nPopupX(0), m_nPopupY(0), m_nPage(1)
{
}

CChatActionButton::~CChatActionButton()
{
    ClosePopup();
    for (Gdiplus::Image* p : m_images1)
        delete p;
    for (Gdiplus::Image* p : m_images2)
        delete p;
    for (BSTR s : m_paths1)
        ::SysFreeString(s);
    for (BSTR s : m_paths2)
        ::SysFreeString(s);
}

namespace {

void AddPictureItem(const CString& strPath, std::vector<Gdiplus::Image*>& images, std::vector<BSTR>& paths)
{
    if (strPath.IsEmpty())
        return;
    WCHAR* pWide = AnsiToWideAlloc(strPath);
    if (pWide == nullptr)
        return;
    BSTR bstr = ::SysAllocString(pWide);
    delete[] pWide;
    if (bstr == nullptr)
        return;
    // Decoded when first needed (a page opened, an item asked for): a table
    // window adds 96 faces at start-up and most are never shown.
    images.push_back(nullptr);
    paths.push_back(bstr);
}

Gdiplus::Image* DecodedItem(std::vector<Gdiplus::Image*>& images, const std::vector<BSTR>& paths, int nIndex)
{
    if (nIndex < 0 || nIndex >= (int)images.size() || nIndex >= (int)paths.size())
        return nullptr;
    if (images[nIndex] == nullptr)
        images[nIndex] = new Gdiplus::Image(paths[nIndex]);
    return images[nIndex];
}

void DecodePage(std::vector<Gdiplus::Image*>& images, const std::vector<BSTR>& paths)
{
    for (int i = 0; i < (int)images.size(); ++i)
        DecodedItem(images, paths, i);
}

}  // namespace

void CChatActionButton::AddItem(const CString& strPath) { AddPictureItem(strPath, m_images1, m_paths1); }
void CChatActionButton::AddItem2(const CString& strPath) { AddPictureItem(strPath, m_images2, m_paths2); }

Gdiplus::Image* CChatActionButton::GetImage(int nIndex) const { return DecodedItem(m_images1, m_paths1, nIndex); }

const WCHAR* CChatActionButton::GetItemPath(int nPage, int nIndex) const
{
    const std::vector<BSTR>& paths = nPage == 1 ? m_paths1 : m_paths2;
    return nIndex >= 0 && nIndex < (int)paths.size() ? paths[nIndex] : nullptr;
}

void CChatActionButton::ClosePopup()
{
    if (m_pPopup == nullptr)
        return;
    if (m_pPopup->m_hWnd != NULL)
        m_pPopup->DestroyWindow();
    delete m_pPopup;
    m_pPopup = nullptr;
}

void CChatActionButton::OpenPopup(int nPage)
{
    ClosePopup();
    auto* pPopup = new CChatActionPicker;
    const bool bFirst = nPage == 1;
    DecodePage(bFirst ? m_images1 : m_images2, bFirst ? m_paths1 : m_paths2);
    if (!pPopup->Show(m_nPopupX, m_nPopupY, this, bFirst ? m_images1 : m_images2, bFirst ? m_paths1 : m_paths2,
                      nPage)) {
        delete pPopup;   // an empty page: no window to place or show
        return;
    }
    m_pPopup = pPopup;
    CRect rc;
    pPopup->GetWindowRect(&rc);
    pPopup->SetWindowPos(&CWnd::wndTopMost, widgets::PickerPopupX(m_nPopupX, nPage), rc.top, 0, 0,
                         SWP_NOSIZE | SWP_SHOWWINDOW);
    pPopup->ShowWindow(SW_SHOW);
    pPopup->UpdateWindow();
    pPopup->SetFocus();
}

void CChatActionButton::OnLButtonDown(UINT /*nFlags*/, CPoint /*point*/)
{
    if (m_pPopup != nullptr && m_pPopup->m_hWnd != NULL && m_pPopup->IsWindowVisible()) {
        ClosePopup();   // a click on an open picker closes it
        return;
    }
    // Closed, or hidden after a choice: open page 1.
    CRect rc;
    GetWindowRect(&rc);
    m_nPopupX = rc.left - 40;
    m_nPopupY = rc.top;
    OpenPopup(1);
}

LRESULT CChatActionButton::OnItemChosen(WPARAM wParam, LPARAM)
{
    // Checked and sent against the page the popup shows, which received
    // chat actions cannot change.
    const int nPage = m_pPopup != nullptr ? m_pPopup->GetPage() : m_nPage;
    const int nIndex = (int)wParam;
    if (nIndex >= 0 && nIndex < GetCount(nPage)) {
        m_nSelected = nIndex;
        m_nSelectedPage = nPage;
        m_nPage = nPage;
        HWND hParent = ::GetParent(m_hWnd);
        if (hParent != NULL)
            ::SendMessageA(hParent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), 0), 0);
    }
    Invalidate(TRUE);
    return 0;
}

LRESULT CChatActionButton::OnSwitchPage(WPARAM wParam, LPARAM)
{
    OpenPopup((int)wParam == 1 ? 1 : (int)wParam);
    return 0;
}
