#include "PngButton.h"

#include "BitmapRegions.h"
#include "WidgetGeometry.h"
#include "WidgetServices.h"
#include "app/ClientServices.h"

static_assert(widgets::kItemSelected == ODS_SELECTED && widgets::kItemDisabled == ODS_DISABLED &&
                  widgets::kItemFocus == ODS_FOCUS,
              "item state bits");

IMPLEMENT_DYNAMIC(CPngButton, CButton)

BEGIN_MESSAGE_MAP(CPngButton, CButton)
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_LBUTTONUP()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_ERASEBKGND()
    ON_WM_MOVE()
END_MESSAGE_MAP()

CPngButton::CPngButton()
    : m_rcHit{0, 0, 0, 0}, m_pImage(nullptr), m_nStateCount(0), m_nCellWidth(0), m_nCellHeight(0), m_nId(0),
      m_nHoverSound(0), m_nPressSound(0), m_bSoundOn(TRUE), m_bMouseOutside(TRUE), m_hBackground(NULL)
{
}

CPngButton::~CPngButton()
{
    if (m_hBackground != NULL)
        ::DeleteObject(m_hBackground);
}

BOOL CPngButton::Init(UINT nId, Gdiplus::Image* pImage, UINT nHoverSound, int nStateCount, UINT nPressSound)
{
    m_nId = nId;
    SetSounds(nHoverSound, nPressSound);
    return SetImage(pImage, nStateCount);
}

void CPngButton::SetSounds(UINT nHoverSound, UINT nPressSound)
{
    m_nHoverSound = nHoverSound;
    if (m_nPressSound != 0)
        m_nPressSound = nPressSound;
}

BOOL CPngButton::SetImage(Gdiplus::Image* pImage, int nStateCount)
{
    if (pImage == nullptr || nStateCount < 1) {
        ::OutputDebugStringA("Warning:Image Invalid.");
        return FALSE;
    }
    const UINT nWidth = pImage->GetWidth();
    const UINT nHeight = pImage->GetHeight();
    if (nWidth == 0 || nHeight == 0) {
        ::OutputDebugStringA("Warning:LoadPngImage failed, Image Size Incorrect.");
        return FALSE;
    }
    m_pImage = pImage;
    m_nStateCount = nStateCount;
    m_nCellWidth = widgets::PngCellWidth((int)nWidth, nStateCount);
    m_nCellHeight = (int)nHeight;
    if (m_hWnd != NULL) {
        CRect rc;
        GetWindowRect(&rc);
        rc.right = rc.left + m_nCellWidth;
        rc.bottom = rc.top + m_nCellHeight;
        HWND hParent = ::GetParent(m_hWnd);
        if (hParent != NULL)
            ::MapWindowPoints(NULL, hParent, (LPPOINT)&rc, 2);
        MoveWindow(&rc, TRUE);
    }
    return TRUE;
}

void CPngButton::GetImageInfo(SIZE* pSize) const
{
    pSize->cx = m_nCellWidth;
    pSize->cy = m_nCellHeight;
}

void CPngButton::PlayClickSound(UINT nSoundId)
{
    if (nSoundId != 0 && m_bSoundOn)
        PlaySoundRes(nSoundId);
}

void CPngButton::Redraw(BOOL /*bErase*/)
{
    if (m_hWnd != NULL)
        ::InvalidateRect(m_hWnd, NULL, TRUE);
}

BOOL CPngButton::ShowWindow(int nCmdShow, BOOL /*bRemember*/)
{
    return ::ShowWindow(m_hWnd, nCmdShow);
}

void CPngButton::CaptureBackground()
{
    CRect rc;
    GetClientRect(&rc);
    HWND hParent = ::GetParent(m_hWnd);
    ::MapWindowPoints(m_hWnd, hParent, (LPPOINT)&rc, 2);
    HDC hSurface = GetTableSurfaceDC();
    if (rc.IsRectEmpty() || hSurface == NULL)
        return;
    HDC hMem = ::CreateCompatibleDC(hSurface);
    HBITMAP hCopy = ::CreateCompatibleBitmap(hSurface, rc.Width(), rc.Height());
    if (hMem != NULL && hCopy != NULL) {
        HGDIOBJ hOld = ::SelectObject(hMem, hCopy);
        ::BitBlt(hMem, 0, 0, rc.Width(), rc.Height(), hSurface, rc.left, rc.top, SRCCOPY);
        ::SelectObject(hMem, hOld);
        if (m_hBackground != NULL)
            ::DeleteObject(m_hBackground);
        m_hBackground = hCopy;
        hCopy = NULL;
    }
    if (hCopy != NULL)
        ::DeleteObject(hCopy);
    if (hMem != NULL)
        ::DeleteDC(hMem);
}

void CPngButton::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    if (m_pImage == nullptr || lpDIS == nullptr || m_nCellWidth <= 0 || m_nCellHeight <= 0)
        return;
    CaptureBackground();

    RECT rcTarget = lpDIS->rcItem;
    if (rcTarget.right - rcTarget.left != m_nCellWidth || rcTarget.bottom - rcTarget.top != m_nCellHeight) {
        rcTarget.right = rcTarget.left + m_nCellWidth;
        rcTarget.bottom = rcTarget.top + m_nCellHeight;
    }
    const int nIndex = widgets::PngCellIndex(lpDIS->itemState, m_nStateCount);

    // Cut the cell as 32-bit ARGB. Only raster images can be cut; anything
    // else (or a GDI+ failure) draws nothing.
    if (m_pImage->GetType() != Gdiplus::ImageTypeBitmap)
        return;
    Gdiplus::Bitmap* pCell = static_cast<Gdiplus::Bitmap*>(m_pImage)->Clone(
        Gdiplus::Rect(nIndex * m_nCellWidth, 0, m_nCellWidth, m_nCellHeight), PixelFormat32bppARGB);
    if (pCell == nullptr)
        return;
    if (pCell->GetLastStatus() != Gdiplus::Ok) {
        delete pCell;
        return;
    }

    // The hit rectangle: the bounding box of what is not black when the cell
    // lies on transparent black.
    HBITMAP hCellBitmap = NULL;
    if (pCell->GetHBITMAP(Gdiplus::Color(0, 0, 0, 0), &hCellBitmap) != Gdiplus::Ok || hCellBitmap == NULL) {
        delete pCell;
        return;
    }
    HRGN hRgn = CreateRegionFromBitmap(hCellBitmap, RGB(0, 0, 0));
    if (hRgn != NULL) {
        ::GetRgnBox(hRgn, &m_rcHit);
        ::DeleteObject(hRgn);
    } else {
        ::SetRectEmpty(&m_rcHit);
    }
    ::DeleteObject(hCellBitmap);

    // Compose: the table's picture, the cell over it.
    HDC hMem = ::CreateCompatibleDC(lpDIS->hDC);
    HBITMAP hMemBitmap = ::CreateCompatibleBitmap(lpDIS->hDC, m_nCellWidth, m_nCellHeight);
    if (hMem != NULL && hMemBitmap != NULL) {
        HGDIOBJ hOld = ::SelectObject(hMem, hMemBitmap);
        if (m_hBackground != NULL) {
            HDC hSrc = ::CreateCompatibleDC(hMem);
            HGDIOBJ hOldSrc = ::SelectObject(hSrc, m_hBackground);
            ::BitBlt(hMem, rcTarget.left, rcTarget.top, rcTarget.right - rcTarget.left,
                     rcTarget.bottom - rcTarget.top, hSrc, 0, 0, SRCCOPY);
            ::SelectObject(hSrc, hOldSrc);
            ::DeleteDC(hSrc);
        } else {
            // No table picture to blend into (no table window yet): black.
            ::PatBlt(hMem, 0, 0, m_nCellWidth, m_nCellHeight, BLACKNESS);
        }
        {
            Gdiplus::Graphics graphics(hMem);
            graphics.DrawImage(pCell, Gdiplus::Rect(rcTarget.left, rcTarget.top, m_nCellWidth, m_nCellHeight), 0, 0,
                               m_nCellWidth, m_nCellHeight, Gdiplus::UnitPixel);
        }
        ::BitBlt(lpDIS->hDC, 0, 0, m_nCellWidth, m_nCellHeight, hMem, 0, 0, SRCCOPY);
        ::SelectObject(hMem, hOld);
    }
    if (hMemBitmap != NULL)
        ::DeleteObject(hMemBitmap);
    if (hMem != NULL)
        ::DeleteDC(hMem);
    delete pCell;
}

void CPngButton::DropFocus()
{
    if (::GetFocus() == m_hWnd)
        ::SetFocus(NULL);
}

void CPngButton::OnMouseMove(UINT nFlags, CPoint point)
{
    if (nFlags & MK_LBUTTON)
        return;
    if (HitTest(point)) {
        if (m_bMouseOutside) {
            m_bMouseOutside = FALSE;
            if (::GetFocus() != m_hWnd && m_nHoverSound != 0 && m_bSoundOn)
                PlayClickSound(m_nHoverSound);
            SetFocus();
            SetCapture();
        }
    } else {
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
        DropFocus();
        m_bMouseOutside = TRUE;
    }
}

void CPngButton::OnLButtonDown(UINT /*nFlags*/, CPoint point)
{
    if (HitTest(point) && m_bMouseOutside) {
        m_bMouseOutside = FALSE;
        if (::GetFocus() == m_hWnd && m_nHoverSound != 0 && m_bSoundOn)
            PlayClickSound(m_nPressSound);
        SetFocus();
        SetCapture();
    }
    Default();
}

void CPngButton::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    Default();
    OnLButtonDown(nFlags, point);
}

void CPngButton::OnLButtonUp(UINT /*nFlags*/, CPoint point)
{
    Default();
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    if (!HitTest(point))
        DropFocus();
    m_bMouseOutside = TRUE;
}

void CPngButton::OnSetFocus(CWnd* /*pOldWnd*/)
{
    if (!m_bMouseOutside)
        Default();
    else
        ::SetFocus(NULL);
}

void CPngButton::OnKillFocus(CWnd* /*pNewWnd*/)
{
    Default();
    m_bMouseOutside = TRUE;
}

BOOL CPngButton::OnEraseBkgnd(CDC* /*pDC*/) { return TRUE; }

void CPngButton::OnMove(int /*x*/, int /*y*/)
{
    Default();
    Redraw(TRUE);
}
