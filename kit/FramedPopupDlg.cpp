#include "FramedPopupDlg.h"

#include "ODDrawing.h"
#include "gif/GifPicture.h"

namespace {

// "宋体" in code page 936.
const char kCaptionFace[] = "\xCB\xCE\xCC\xE5";

SIZE BitmapSize(HBITMAP hBitmap)
{
    BITMAP bm = {};
    SIZE size = {0, 0};
    if (hBitmap != NULL && ::GetObject(hBitmap, sizeof bm, &bm) != 0) {
        size.cx = bm.bmWidth;
        size.cy = bm.bmHeight;
    }
    return size;
}

// Copies the source rectangle (sx, sy, w, h) of a bitmap to (x, y).
void CopyPart(HDC hTarget, HDC hSource, int x, int y, int w, int h, int sx, int sy)
{
    if (w > 0 && h > 0)
        ::BitBlt(hTarget, x, y, w, h, hSource, sx, sy, SRCCOPY);
}

}  // namespace

/////////////////////////////////////////////////////////////////////////////
// CFramedPopupDlg

IMPLEMENT_DYNAMIC(CFramedPopupDlg, CDialog)

BEGIN_MESSAGE_MAP(CFramedPopupDlg, CDialog)
    ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT()
    ON_WM_NCACTIVATE()
    ON_WM_NCHITTEST()
    ON_WM_NCLBUTTONDOWN()
    ON_WM_NCLBUTTONUP()
    ON_WM_NCLBUTTONDBLCLK()
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CFramedPopupDlg::CFramedPopupDlg(UINT nIDTemplate, CWnd* pParent) : CDialog(nIDTemplate, pParent) {}

CFramedPopupDlg::~CFramedPopupDlg()
{
    FreeFrame();
}

BOOL CFramedPopupDlg::LoadFrame(UINT nFirstId, LPCSTR lpszType, HMODULE hModule)
{
    FreeFrame();
    if (hModule == NULL)
        return FALSE;
    for (int i = 0; i < kFramePartCount; i++) {
        m_images[i] = LoadGifPicture(hModule, MAKEINTRESOURCEA(nFirstId + i), lpszType, 0);
        m_sizes[i] = BitmapSize(m_images[i]);
        if (m_images[i] == NULL || m_sizes[i].cx <= 0 || m_sizes[i].cy <= 0) {
            FreeFrame();
            return FALSE;
        }
    }
    if (GetSafeHwnd() != NULL)
        SetWindowPos(NULL, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return TRUE;
}

void CFramedPopupDlg::FreeFrame()
{
    for (int i = 0; i < kFramePartCount; i++) {
        if (m_images[i] != NULL)
            ::DeleteObject(m_images[i]);
        m_images[i] = NULL;
        m_sizes[i].cx = m_sizes[i].cy = 0;
    }
}

HBITMAP CFramedPopupDlg::GetFrameImage(int nPart) const
{
    return nPart >= 0 && nPart < kFramePartCount ? m_images[nPart] : NULL;
}

SIZE CFramedPopupDlg::GetFrameSize(int nPart) const
{
    const SIZE none = {0, 0};
    return nPart >= 0 && nPart < kFramePartCount ? m_sizes[nPart] : none;
}

kit::PopupFrameMetrics CFramedPopupDlg::GetMetrics() const
{
    kit::PopupFrameMetrics m;
    m.leftWidth = m_sizes[kLeft].cx;
    m.rightWidth = m_sizes[kRight].cx;
    m.topHeight = m_sizes[kTop].cy;
    m.bottomHeight = m_sizes[kBottom].cy;
    m.closeWidth = m_sizes[kCloseButton].cx;
    m.closeHeight = m_sizes[kCloseButton].cy;
    return m;
}

kit::KRect CFramedPopupDlg::WindowBox() const
{
    CRect rc;
    GetWindowRect(&rc);
    return {0, 0, rc.Width(), rc.Height()};
}

BOOL CFramedPopupDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    ModifyStyle(WS_SYSMENU | WS_BORDER, 0, SWP_FRAMECHANGED);
    return TRUE;
}

void CFramedPopupDlg::OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp)
{
    (void)bCalcValidRects;
    RECT& rc = lpncsp->rgrc[0];
    const kit::PopupFrameMetrics m = GetMetrics();
    rc.left += m.leftWidth;
    rc.top += m.topHeight;
    rc.right -= m.rightWidth;
    rc.bottom -= m.bottomHeight;
    if (rc.right < rc.left)
        rc.right = rc.left;
    if (rc.bottom < rc.top)
        rc.bottom = rc.top;
}

void CFramedPopupDlg::OnNcPaint()
{
    DrawFrame();
}

BOOL CFramedPopupDlg::OnNcActivate(BOOL bActive)
{
    (void)bActive;
    DrawFrame();
    return TRUE;
}

void CFramedPopupDlg::DrawFrame()
{
    if (GetSafeHwnd() == NULL)
        return;
    CWindowDC dc(this);
    DrawFrameOn(&dc, TRUE);
}

void CFramedPopupDlg::DrawFrameOn(CDC* pDC, BOOL bCaption)
{
    if (!IsFrameLoaded())
        return;
    const kit::KRect box = WindowBox();
    const int W = box.right, H = box.bottom;
    HDC hdc = pDC->GetSafeHdc();
    HDC hMem = ::CreateCompatibleDC(hdc);
    if (hMem == NULL)
        return;
    HGDIOBJ hOld = ::SelectObject(hMem, m_images[kTopLeft]);
    auto blitWhole = [&](int part, int x, int y) {
        ::SelectObject(hMem, m_images[part]);
        CopyPart(hdc, hMem, x, y, m_sizes[part].cx, m_sizes[part].cy, 0, 0);
    };
    const SIZE tl = m_sizes[kTopLeft], tr = m_sizes[kTopRight], bl = m_sizes[kBottomLeft],
               br = m_sizes[kBottomRight];
    blitWhole(kTopLeft, 0, 0);
    blitWhole(kTopRight, W - tr.cx, 0);
    blitWhole(kBottomLeft, 0, H - bl.cy);
    blitWhole(kBottomRight, W - br.cx, H - br.cy);
    ::SelectObject(hMem, hOld);

    // The edges between the corners.
    ODDrawBitmapInRect(pDC, CRect(tl.cx, 0, W - tr.cx, m_sizes[kTop].cy), m_images[kTop], OD_DRAW_STRETCH);
    ODDrawBitmapInRect(pDC, CRect(bl.cx, H - m_sizes[kBottom].cy, W - br.cx, H), m_images[kBottom], OD_DRAW_STRETCH);
    ODDrawBitmapInRect(pDC, CRect(0, tl.cy, m_sizes[kLeft].cx, H - bl.cy), m_images[kLeft], OD_DRAW_STRETCH);
    ODDrawBitmapInRect(pDC, CRect(W - m_sizes[kRight].cx, tr.cy, W, H - br.cy), m_images[kRight], OD_DRAW_STRETCH);

    if (bCaption) {
        if (m_captionFont.GetSafeHandle() == NULL)
            m_captionFont.CreateFont(12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, kCaptionFace);
        CString text;
        GetWindowText(text);
        const int nSaved = pDC->SaveDC();
        pDC->SelectObject(&m_captionFont);
        pDC->SetBkMode(TRANSPARENT);
        pDC->SetTextColor(RGB(0, 0, 0));
        CRect top(tl.cx, 0, W - tr.cx, m_sizes[kTop].cy);
        pDC->DrawText(text, &top, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        pDC->RestoreDC(nSaved);
    }

    // The close button's cell.
    const kit::KRect close = kit::PopupCloseRect(box, GetMetrics());
    const int cell = kit::PopupCloseCell(m_bCloseHover != FALSE, m_bClosePressed != FALSE);
    hOld = ::SelectObject(hMem, m_images[kCloseButton]);
    CopyPart(hdc, hMem, close.left, close.top, close.Width(), close.Height(), cell * close.Width(), 0);
    ::SelectObject(hMem, hOld);
    ::DeleteDC(hMem);
}

BOOL CFramedPopupDlg::OnCloseButton(CPoint screenPoint) const
{
    CRect rc;
    GetWindowRect(&rc);
    const kit::KRect close = kit::PopupCloseRect(WindowBox(), GetMetrics());
    return close.Contains(screenPoint.x - rc.left, screenPoint.y - rc.top);
}

void CFramedPopupDlg::SetCloseHover(BOOL bHover)
{
    if (m_bCloseHover == bHover)
        return;
    m_bCloseHover = bHover;
    DrawFrame();
}

void CFramedPopupDlg::SetClosePressed(BOOL bPressed)
{
    if (m_bClosePressed == bPressed)
        return;
    m_bClosePressed = bPressed;
    DrawFrame();
}

UINT CFramedPopupDlg::OnNcHitTest(CPoint point)
{
    // A press that ended elsewhere (the release went to another window).
    if (m_bClosePressed && (::GetAsyncKeyState(VK_LBUTTON) & 0x8000) == 0)
        SetClosePressed(FALSE);
    CRect rc;
    GetWindowRect(&rc);
    bool onClose = false;
    const int code =
        kit::PopupHitTest(WindowBox(), GetMetrics(), point.x - rc.left, point.y - rc.top, &onClose);
    SetCloseHover(onClose ? TRUE : FALSE);
    return (UINT)code;
}

void CFramedPopupDlg::OnNcLButtonDown(UINT nHitTest, CPoint point)
{
    if (OnCloseButton(point)) {
        SetClosePressed(TRUE);
        return;   // the close button is ours: no system menu
    }
    CDialog::OnNcLButtonDown(nHitTest, point);
}

void CFramedPopupDlg::OnNcLButtonUp(UINT nHitTest, CPoint point)
{
    const BOOL bWasPressed = m_bClosePressed;
    SetClosePressed(FALSE);
    if (bWasPressed && OnCloseButton(point)) {
        OnCancel();
        return;
    }
    CDialog::OnNcLButtonUp(nHitTest, point);
}

void CFramedPopupDlg::OnNcLButtonDblClk(UINT nHitTest, CPoint point)
{
    // No maximising by the caption and no system menu on the close button.
    (void)nHitTest;
    (void)point;
}

BOOL CFramedPopupDlg::OnEraseBkgnd(CDC* pDC)
{
    if (m_images[kBackground] == NULL)
        return CDialog::OnEraseBkgnd(pDC);
    CRect rc;
    GetClientRect(&rc);
    ODDrawBitmapInRect(pDC, rc, m_images[kBackground], OD_DRAW_STRETCH);
    return TRUE;
}

void CFramedPopupDlg::OnPaint()
{
    CPaintDC dc(this);
}

void CFramedPopupDlg::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    if (m_nEllipseWidth > 0 || m_nEllipseHeight > 0) {
        CRect rc;
        GetWindowRect(&rc);
        HRGN hRgn = ::CreateRoundRectRgn(0, 0, rc.Width() + 1, rc.Height() + 1, m_nEllipseWidth, m_nEllipseHeight);
        if (hRgn != NULL && ::SetWindowRgn(GetSafeHwnd(), hRgn, TRUE) == 0)
            ::DeleteObject(hRgn);
    } else {
        ::SetWindowRgn(GetSafeHwnd(), NULL, TRUE);
    }
    DrawFrame();
}

void CFramedPopupDlg::OnDestroy()
{
    FreeFrame();
    if (m_captionFont.GetSafeHandle() != NULL)
        m_captionFont.DeleteObject();
    CDialog::OnDestroy();
}

/////////////////////////////////////////////////////////////////////////////
// CPopupButton

IMPLEMENT_DYNAMIC(CPopupButton, CButton)

BEGIN_MESSAGE_MAP(CPopupButton, CButton)
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_CAPTURECHANGED()
END_MESSAGE_MAP()

CPopupButton::~CPopupButton()
{
    if (m_hImages != NULL)
        ::DeleteObject(m_hImages);
}

void CPopupButton::SetImages(HBITMAP hStrip)
{
    if (m_hImages != NULL && m_hImages != hStrip)
        ::DeleteObject(m_hImages);
    m_hImages = hStrip;
    if (GetSafeHwnd() != NULL)
        Invalidate();
}

BOOL CPopupButton::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.style = (cs.style & ~(DWORD)BS_TYPEMASK) | BS_OWNERDRAW;
    return CButton::PreCreateWindow(cs);
}

void CPopupButton::PreSubclassWindow()
{
    CButton::PreSubclassWindow();
    ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW);
}

int CPopupButton::GetCell() const
{
    if (GetSafeHwnd() != NULL && !IsWindowEnabled())
        return 3;
    if (m_bPressed)
        return 2;
    return m_bHover ? 1 : 0;
}

void CPopupButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    HDC hdc = lpDrawItemStruct->hDC;
    const CRect rc = lpDrawItemStruct->rcItem;
    CDC* pDC = CDC::FromHandle(hdc);
    const int cell = (lpDrawItemStruct->itemState & ODS_DISABLED) ? 3
                     : (m_bPressed || (lpDrawItemStruct->itemState & ODS_SELECTED)) ? 2
                                                                                     : GetCell();
    BITMAP bm = {};
    if (m_hImages != NULL && ::GetObject(m_hImages, sizeof bm, &bm) != 0 && bm.bmWidth >= 4 && bm.bmHeight > 0) {
        const int cw = bm.bmWidth / 4, ch = bm.bmHeight;
        HDC hMem = ::CreateCompatibleDC(hdc);
        HGDIOBJ hOld = ::SelectObject(hMem, m_hImages);
        const int sx0 = cell * cw;
        if (kit::TileInThirds(cw, ch, rc.Width(), rc.Height())) {
            for (const kit::Span& ys : kit::ThirdsSpans(ch, rc.Height()))
                for (const kit::Span& xs : kit::ThirdsSpans(cw, rc.Width()))
                    CopyPart(hdc, hMem, rc.left + xs.to, rc.top + ys.to, xs.length, ys.length, sx0 + xs.from,
                             ys.from);
        } else {
            const int nOldMode = ::SetStretchBltMode(hdc, HALFTONE);
            ::SetBrushOrgEx(hdc, 0, 0, NULL);
            ::StretchBlt(hdc, rc.left, rc.top, rc.Width(), rc.Height(), hMem, sx0, 0, cw, ch, SRCCOPY);
            ::SetStretchBltMode(hdc, nOldMode);
        }
        ::SelectObject(hMem, hOld);
        ::DeleteDC(hMem);
    } else {
        pDC->FillSolidRect(&rc, m_crSecond);
        if (!m_bFlat)
            pDC->Draw3dRect(&rc, ::GetSysColor(COLOR_3DHILIGHT), ::GetSysColor(COLOR_3DSHADOW));
    }
    CString text;
    GetWindowText(text);
    if (!text.IsEmpty()) {
        CRect textRect = rc;
        const int nOldBk = pDC->SetBkMode(TRANSPARENT);
        const COLORREF crOld = pDC->SetTextColor(m_crText);
        pDC->DrawText(text, &textRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        pDC->SetTextColor(crOld);
        pDC->SetBkMode(nOldBk);
    }
}

void CPopupButton::OnMouseMove(UINT nFlags, CPoint point)
{
    CRect rc;
    GetClientRect(&rc);
    const BOOL bOver = rc.PtInRect(point);
    if (bOver && !m_bHover) {
        if (GetCapture() != this)
            SetCapture();
        m_bCaptured = TRUE;
        m_bHover = TRUE;
        Invalidate();
    } else if (!bOver && m_bHover) {
        m_bHover = FALSE;
        // While the left button is held the button's own tracking keeps the
        // capture, so that a release back over it still clicks.
        if (!m_bPressed && m_bCaptured) {
            m_bCaptured = FALSE;
            ReleaseCapture();
        }
        Invalidate();
    }
    CButton::OnMouseMove(nFlags, point);
}

void CPopupButton::OnLButtonDown(UINT nFlags, CPoint point)
{
    m_bPressed = TRUE;
    Invalidate();
    CButton::OnLButtonDown(nFlags, point);
}

void CPopupButton::OnLButtonUp(UINT nFlags, CPoint point)
{
    // The button's own handling first: it clicks only while it still holds
    // the capture it took on the press.
    CButton::OnLButtonUp(nFlags, point);
    m_bPressed = FALSE;
    if (GetSafeHwnd() == NULL)
        return;   // the click destroyed it
    if (m_bCaptured && GetCapture() == this)
        ReleaseCapture();
    m_bCaptured = FALSE;
    Invalidate();
}

void CPopupButton::OnCaptureChanged(CWnd* pWnd)
{
    if (pWnd != this) {
        m_bCaptured = FALSE;
        if (m_bHover) {
            m_bHover = FALSE;
            Invalidate();
        }
    }
    CButton::OnCaptureChanged(pWnd);
}
