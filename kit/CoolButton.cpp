#include "CoolButton.h"

#include "BitmapRegions.h"
#include "KitSkin.h"
#include "SkinLayout.h"
#include "app/ClientServices.h"

using namespace kit;

namespace {

const UINT kFlashInterval = 300;
const char kDefaultButtonFace[] = "dlgbutton.bmp";

void PlayIfAny(UINT nSound)
{
    if (nSound != 0)
        PlaySoundRes(nSound);
}

// Over-test shared by both buttons: the parent's child under the point is
// the button (invisible children skipped).
BOOL ChildUnderPointIs(HWND hWnd, POINT point)
{
    HWND hParent = ::GetParent(hWnd);
    if (hParent == NULL)
        return FALSE;
    POINT p = point;
    ::MapWindowPoints(hWnd, hParent, &p, 1);
    return ::ChildWindowFromPointEx(hParent, p, CWP_SKIPINVISIBLE) == hWnd;
}

}  // namespace

// ---- CCoolButton -------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CCoolButton, CWnd)

BEGIN_MESSAGE_MAP(CCoolButton, CWnd)
    ON_WM_DRAWITEM_REFLECT()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_LBUTTONUP()
    ON_WM_CAPTURECHANGED()
    ON_WM_TIMER()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CCoolButton::~CCoolButton()
{
    if (m_hWnd != NULL && m_nFlashTimer != (UINT_PTR)-1)
        KillTimer(m_nFlashTimer);
}

int CCoolButton::GetCellWidth() const
{
    return m_face.Width() / (m_bFiveCell ? 5 : 4);
}

BOOL CCoolButton::BeginAttach(CWnd* pParent, UINT nId, BOOL bSubclass)
{
    if (bSubclass && m_hWnd == NULL) {
        if (pParent == NULL || !SubclassDlgItem(nId, pParent))
            return FALSE;
    }
    return m_hWnd != NULL;
}

BOOL CCoolButton::FinishAttach(UINT nId, UINT nHoverSound, UINT nPressSound)
{
    m_nCommand = nId;
    m_nHoverSound = nHoverSound;
    m_nPressSound = nPressSound;
    m_nLastState = -1;
    if (m_hWnd == NULL || !m_face.IsLoaded())
        return FALSE;
    // Drawn by the owner: a push button keeps its messages, the face is ours.
    TCHAR szClass[16] = {0};
    ::GetClassName(m_hWnd, szClass, 16);
    if (lstrcmpi(szClass, "Button") == 0)
        ::SendMessage(m_hWnd, BM_SETSTYLE, (GetStyle() & ~(DWORD)BS_TYPEMASK) | BS_OWNERDRAW, FALSE);
    const int cw = GetCellWidth();
    const int h = m_face.Height();
    SetWindowPos(NULL, 0, 0, cw, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (m_bFiveCell) {
        HRGN hShape = CreateRegionFromPixel((HBITMAP)m_face.GetSafeHandle(), -1, -1);
        HRGN hWindow = ::CreateRectRgn(0, 0, cw, h);
        if (hShape != NULL) {
            ::OffsetRgn(hShape, -4 * cw, 0);
            ::CombineRgn(hWindow, hWindow, hShape, RGN_AND);
            ::DeleteObject(hShape);
        }
        SetWindowRgn(hWindow, FALSE);
    } else {
        SetWindowRgn(NULL, FALSE);
    }
    Invalidate();
    return TRUE;
}

BOOL CCoolButton::AttachFromIni(CWnd* pParent, UINT nId, LPCSTR lpszSection, LPCSTR lpszKey, UINT nHoverSound,
                                UINT nPressSound, BOOL bSubclass)
{
    if (!BeginAttach(pParent, nId, bSubclass))
        return FALSE;
    CString value = KitReadSkinString(lpszSection, lpszKey, "");
    m_bFiveCell = FALSE;
    m_crText = KitReadSkinColour(lpszSection, "ctrltextcolor", RGB(255, 255, 255));
    BOOL bLoaded;
    if (KitThemeModule() != NULL) {
        // Resource mode: "id" or "id,kind", as the dialog's own images.
        bLoaded = KitLoadSkinImageValue(m_face, value);
    } else {
        if (value.IsEmpty())
            value = kDefaultButtonFace;
        bool bComma = false;
        const std::string name = AfterFirstComma(std::string(value), &bComma);
        m_bFiveCell = bComma;
        bLoaded = m_face.LoadFromFile(KitSkinImageFolder() + name.c_str(), TRUE);
    }
    if (!bLoaded)
        m_face.Clear();
    return FinishAttach(nId, nHoverSound, nPressSound);
}

BOOL CCoolButton::AttachFromFile(CWnd* pParent, UINT nId, LPCSTR lpszPath, UINT nHoverSound, UINT nPressSound,
                                 BOOL bSubclass)
{
    return AttachFromFileShaped(pParent, nId, lpszPath, FALSE, nHoverSound, nPressSound, bSubclass);
}

BOOL CCoolButton::AttachFromFileShaped(CWnd* pParent, UINT nId, LPCSTR lpszPath, BOOL bFiveCells,
                                       UINT nHoverSound, UINT nPressSound, BOOL bSubclass)
{
    if (!BeginAttach(pParent, nId, bSubclass))
        return FALSE;
    m_bFiveCell = bFiveCells;
    if (!m_face.LoadFromFile(lpszPath, TRUE))
        m_face.Clear();
    return FinishAttach(nId, nHoverSound, nPressSound);
}

BOOL CCoolButton::AttachFromResource(CWnd* pParent, UINT nId, HINSTANCE hModule, UINT nBitmapId, UINT nHoverSound,
                                     UINT nPressSound, BOOL bSubclass)
{
    if (!BeginAttach(pParent, nId, bSubclass))
        return FALSE;
    m_bFiveCell = FALSE;
    if (!m_face.LoadResourceBitmap(hModule, nBitmapId))
        m_face.Clear();
    return FinishAttach(nId, nHoverSound, nPressSound);
}

BOOL CCoolButton::Attach(CWnd* pParent, UINT nId, LPCSTR lpszPath, BOOL bSubclass)
{
    return AttachFromFileShaped(pParent, nId, lpszPath, FALSE, 0, 0, bSubclass);
}

BOOL CCoolButton::AttachTransparent(CWnd* pParent, UINT nId, LPCSTR lpszPath, BOOL bTransparent)
{
    if (!AttachFromFileShaped(pParent, nId, lpszPath, FALSE, 0, 0, TRUE))
        return FALSE;
    m_bTransparent = bTransparent;
    if (bTransparent) {
        HDC hMem = ::CreateCompatibleDC(NULL);
        HGDIOBJ hOld = ::SelectObject(hMem, m_face.GetSafeHandle());
        m_crKey = ::GetPixel(hMem, 0, 0);
        ::SelectObject(hMem, hOld);
        ::DeleteDC(hMem);
    }
    return TRUE;
}

void CCoolButton::SetAlternateFace(HBITMAP hBitmap)
{
    m_alternate.Clear();
    if (hBitmap != NULL)
        m_alternate.Attach(hBitmap);
}

BOOL CCoolButton::LoadAlternateFaceResource(UINT nId)
{
    return m_alternate.LoadResourceBitmap(nId, TRUE);
}

BOOL CCoolButton::LoadAlternateFaceFile(LPCSTR lpszPath)
{
    return m_alternate.LoadFromFile(lpszPath, TRUE);
}

void CCoolButton::SetUseAlternate(BOOL bUse)
{
    m_bUseAlternate = bUse;
    if (m_hWnd != NULL)
        Invalidate(FALSE);
}

void CCoolButton::StartFlash(UINT nTimerId)
{
    if (m_hWnd == NULL)
        return;
    if (m_nFlashTimer != (UINT_PTR)-1)
        KillTimer(m_nFlashTimer);
    m_nFlashTimer = SetTimer(nTimerId, kFlashInterval);
}

BOOL CCoolButton::IsOver(POINT point) const
{
    HDC hdc = ::GetDC(m_hWnd);
    const BOOL bVisible = ::PtVisible(hdc, point.x, point.y);
    ::ReleaseDC(m_hWnd, hdc);
    return bVisible && ChildUnderPointIs(m_hWnd, point);
}

void CCoolButton::UpdateState(POINT point)
{
    if (GetStyle() & WS_DISABLED) {
        if (m_nLastState != 3)
            Invalidate(FALSE);
        return;
    }
    if (IsOver(point)) {
        if (::GetCapture() != m_hWnd)
            SetCapture();
        const BOOL bDown = ::GetKeyState(VK_LBUTTON) < 0;
        if (!bDown && m_nLastState != 1) {
            PlayIfAny(m_nHoverSound);
            Invalidate(FALSE);
        } else if (bDown && m_nLastState != 2) {
            PlayIfAny(m_nPressSound);
            Invalidate(FALSE);
        }
    } else {
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
        if (m_nLastState != 0)
            Invalidate(FALSE);
    }
}

void CCoolButton::OnMouseMove(UINT nFlags, CPoint point)
{
    UpdateState(point);
    CWnd::OnMouseMove(nFlags, point);
}

void CCoolButton::OnLButtonDown(UINT nFlags, CPoint point)
{
    UpdateState(point);
    if (IsWindowEnabled())
        SetFocus();
    (void)nFlags;   // the push button's own tracking is not used: the click is ours
}

void CCoolButton::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    OnLButtonDown(nFlags, point);
}

void CCoolButton::OnLButtonUp(UINT nFlags, CPoint point)
{
    (void)nFlags;
    if (IsWindowEnabled() && IsOver(point)) {
        m_bClicking = TRUE;
        CWnd* pOwner = GetOwner();
        if (pOwner != NULL && pOwner->GetSafeHwnd() != NULL)
            pOwner->PostMessage(WM_COMMAND, m_nCommand, 0);
        m_bClicking = FALSE;
    }
    UpdateState(point);
    Invalidate(FALSE);
}

void CCoolButton::OnCaptureChanged(CWnd* pWnd)
{
    POINT p;
    ::GetCursorPos(&p);
    ScreenToClient(&p);
    if (pWnd == NULL || pWnd->GetSafeHwnd() != m_hWnd) {
        // Someone else took the mouse: show the face the cursor calls for.
        if (m_nLastState != 0 && m_nLastState != 3)
            Invalidate(FALSE);
    }
    CWnd::OnCaptureChanged(pWnd);
}

BOOL CCoolButton::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CCoolButton::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != m_nFlashTimer) {
        CWnd::OnTimer(nIDEvent);
        return;
    }
    if (!IsWindowEnabled() || (m_nLastState != 0 && m_nLastState != 1))
        return;
    POINT p;
    ::GetCursorPos(&p);
    ScreenToClient(&p);
    if (!IsOver(p))
        return;
    CRect rc;
    GetClientRect(&rc);
    HDC hdc = ::GetDC(m_hWnd);
    DrawCell(hdc, m_nFlashPhase, rc);
    ::ReleaseDC(m_hWnd, hdc);
    m_nFlashPhase = m_nFlashPhase == 0 ? 1 : 0;
}

void CCoolButton::DrawCell(HDC hdc, int nCell, const RECT& rc)
{
    CQVBitmap& face = (m_bUseAlternate && m_alternate.IsLoaded()) ? m_alternate : m_face;
    const int cw = GetCellWidth();
    const int h = face.Height();
    if (cw <= 0 || h <= 0)
        return;
    CDC* pDC = CDC::FromHandle(hdc);
    const POINT src = {cw * nCell, 0};
    const SIZE size = {cw, h};
    if (m_bTransparent) {
        HWND hParent = ::GetParent(m_hWnd);
        if (hParent != NULL) {
            POINT origin = {rc.left, rc.top};
            ::MapWindowPoints(m_hWnd, hParent, &origin, 1);
            HDC hParentDC = ::GetDC(hParent);
            ::BitBlt(hdc, rc.left, rc.top, cw, h, hParentDC, origin.x, origin.y, SRCCOPY);
            ::ReleaseDC(hParent, hParentDC);
        }
        HDC hFace = ::CreateCompatibleDC(hdc);
        HGDIOBJ hOldFace = ::SelectObject(hFace, face.GetSafeHandle());
        HDC hMask = ::CreateCompatibleDC(hdc);
        HBITMAP hMaskBmp = ::CreateBitmap(cw, h, 1, 1, NULL);
        HGDIOBJ hOldMask = ::SelectObject(hMask, hMaskBmp);
        ::SetBkColor(hFace, m_crKey);
        ::BitBlt(hMask, 0, 0, cw, h, hFace, src.x, 0, SRCCOPY);   // key pixels become 1
        const COLORREF crOldText = ::SetTextColor(hdc, RGB(0, 0, 0));
        const COLORREF crOldBk = ::SetBkColor(hdc, RGB(255, 255, 255));
        ::BitBlt(hdc, rc.left, rc.top, cw, h, hFace, src.x, 0, SRCINVERT);
        ::BitBlt(hdc, rc.left, rc.top, cw, h, hMask, 0, 0, SRCAND);
        ::BitBlt(hdc, rc.left, rc.top, cw, h, hFace, src.x, 0, SRCINVERT);
        ::SetTextColor(hdc, crOldText);
        ::SetBkColor(hdc, crOldBk);
        ::SelectObject(hMask, hOldMask);
        ::DeleteObject(hMaskBmp);
        ::DeleteDC(hMask);
        ::SelectObject(hFace, hOldFace);
        ::DeleteDC(hFace);
    } else if (m_bFiveCell) {
        const POINT mask = {4 * cw, 0};
        face.Draw(pDC, rc.left, rc.top, CQVBitmap::kMasked, &src, &mask, &size);
    } else {
        face.Draw(pDC, rc.left, rc.top, 0, &src, NULL, &size);
    }
    DrawCaption(hdc, rc);
}

void CCoolButton::DrawCaption(HDC hdc, const RECT& rc)
{
    // The window text (a box's "确定(&O)") over the face, centred.
    char text[128];
    if (::GetWindowTextA(m_hWnd, text, sizeof text) <= 0)
        return;
    HWND hParent = ::GetParent(m_hWnd);
    HFONT hFont = hParent != NULL ? (HFONT)::SendMessage(hParent, WM_GETFONT, 0, 0) : NULL;
    HGDIOBJ hOld = hFont != NULL ? ::SelectObject(hdc, hFont) : NULL;
    const int nMode = ::SetBkMode(hdc, TRANSPARENT);
    const COLORREF crOld = ::SetTextColor(hdc, m_crText);
    RECT r = {rc.left, rc.top, rc.left + GetCellWidth(), rc.top + m_face.Height()};
    ::DrawTextA(hdc, text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    ::SetTextColor(hdc, crOld);
    ::SetBkMode(hdc, nMode);
    if (hOld != NULL)
        ::SelectObject(hdc, hOld);
}

void CCoolButton::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    POINT p;
    ::GetCursorPos(&p);
    ScreenToClient(&p);
    const BOOL bDisabled = (GetStyle() & WS_DISABLED) != 0;
    const BOOL bOver = !bDisabled && IsOver(p);
    const int nState = CoolButtonState(bDisabled != FALSE, m_bClicking != FALSE, bOver != FALSE,
                                       ::GetKeyState(VK_LBUTTON) < 0);
    DrawCell(lpDIS->hDC, nState, lpDIS->rcItem);
    m_nLastState = nState;
}

// ---- CQVBitmapButton2 --------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CQVBitmapButton2, CButton)

BEGIN_MESSAGE_MAP(CQVBitmapButton2, CButton)
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_LBUTTONUP()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

CQVBitmapButton2::~CQVBitmapButton2()
{
    if (m_hRegion != NULL)
        ::DeleteObject(m_hRegion);
}

BOOL CQVBitmapButton2::LoadBitmaps(UINT nNormal, UINT nSelected, UINT nFocus, UINT nDisabled)
{
    m_normal.Clear();
    m_selected.Clear();
    m_focus.Clear();
    m_disabled.Clear();
    BOOL bOk = nNormal != 0 && m_normal.LoadResourceBitmap(nNormal, TRUE);
    if (nSelected != 0 && !m_selected.LoadResourceBitmap(nSelected, TRUE))
        bOk = FALSE;
    if (nFocus != 0 && !m_focus.LoadResourceBitmap(nFocus, TRUE))
        bOk = FALSE;
    if (nDisabled != 0 && !m_disabled.LoadResourceBitmap(nDisabled, TRUE))
        bOk = FALSE;
    if (!m_selected.IsLoaded() && m_focus.IsLoaded() && m_normal.IsLoaded()) {
        // The pressed look falls back to a copy of the normal one.
        HBITMAP hCopy = (HBITMAP)::CopyImage(m_normal.GetSafeHandle(), IMAGE_BITMAP, 0, 0, 0);
        if (hCopy != NULL)
            m_selected.Attach(hCopy);
    }
    m_nMode = kModeImages;
    m_nCellWidth = m_normal.Width();
    m_nCellHeight = m_normal.Height();
    return bOk;
}

BOOL CQVBitmapButton2::AutoLoad(UINT nId, CWnd* pParent)
{
    if (pParent == NULL || !SubclassDlgItem(nId, pParent))
        return FALSE;
    CString name;
    GetWindowText(name);
    static const char* const kSuffix[] = {"U", "D", "F", "X"};
    CQVBitmap* const images[] = {&m_normal, &m_selected, &m_focus, &m_disabled};
    for (int i = 0; i < 4; i++) {
        images[i]->Clear();
        images[i]->LoadBitmap(name + kSuffix[i]);
    }
    if (!m_normal.IsLoaded())
        return FALSE;
    m_nCellWidth = m_normal.Width();
    m_nCellHeight = m_normal.Height();
    if (m_nMode == kModeMaskedImages)
        m_nCellWidth /= 2;
    else
        m_nMode = kModeImages;
    SetButtonStyle((GetButtonStyle() & ~(UINT)BS_TYPEMASK) | BS_OWNERDRAW, FALSE);
    SetWindowPos(NULL, 0, 0, m_nCellWidth, m_nCellHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
}

void CQVBitmapButton2::ApplyStripLayout()
{
    const int nCells = m_nMode == kModeShapedStrip ? 5 : 4;
    m_nCellWidth = m_normal.Width() / nCells;
    m_nCellHeight = m_normal.Height();
    if (m_hWnd == NULL)
        return;
    SetWindowPos(NULL, 0, 0, m_nCellWidth, m_nCellHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    BuildShape();
    Invalidate();
}

void CQVBitmapButton2::BuildShape()
{
    if (m_nMode != kModeShapedStrip || m_hWnd == NULL) {
        if (m_hWnd != NULL)
            SetWindowRgn(NULL, FALSE);
        return;
    }
    // The shape cell alone, as a picture of its own.
    HDC hScreen = ::GetDC(NULL);
    HDC hSrc = ::CreateCompatibleDC(hScreen);
    HDC hDst = ::CreateCompatibleDC(hScreen);
    HBITMAP hCell = ::CreateCompatibleBitmap(hScreen, m_nCellWidth, m_nCellHeight);
    HGDIOBJ hOldSrc = ::SelectObject(hSrc, m_normal.GetSafeHandle());
    HGDIOBJ hOldDst = ::SelectObject(hDst, hCell);
    ::BitBlt(hDst, 0, 0, m_nCellWidth, m_nCellHeight, hSrc, 4 * m_nCellWidth, 0, SRCCOPY);
    ::SelectObject(hDst, hOldDst);
    ::SelectObject(hSrc, hOldSrc);
    ::DeleteDC(hDst);
    ::DeleteDC(hSrc);
    ::ReleaseDC(NULL, hScreen);
    HRGN hShape = CreateRegionFromPixel(hCell, -1, -1);
    ::DeleteObject(hCell);
    if (hShape == NULL)
        return;
    HRGN hMoved = ::CreateRectRgn(0, 0, 0, 0);
    ::CombineRgn(hMoved, hShape, NULL, RGN_COPY);
    ::OffsetRgn(hMoved, 1, 0);
    ::CombineRgn(hShape, hShape, hMoved, RGN_OR);
    ::DeleteObject(hMoved);
    SetWindowRgn(hShape, TRUE);
}

BOOL CQVBitmapButton2::LoadStrip(UINT nId, LPCSTR lpszPath, CWnd* pParent, UINT nHoverSound, UINT nPressSound,
                                 BOOL bSubclass, BOOL bShaped)
{
    if (bSubclass && m_hWnd == NULL && (pParent == NULL || !SubclassDlgItem(nId, pParent)))
        return FALSE;
    m_nHoverSound = nHoverSound;
    m_nPressSound = nPressSound;
    m_nMode = bShaped ? kModeShapedStrip : kModeStrip;
    m_bMaskShaped = bShaped;
    if (!m_normal.LoadFromFile(lpszPath, TRUE))
        return FALSE;
    if (m_hWnd != NULL)
        SetButtonStyle((GetButtonStyle() & ~(UINT)BS_TYPEMASK) | BS_OWNERDRAW, FALSE);
    ApplyStripLayout();
    return TRUE;
}

BOOL CQVBitmapButton2::LoadStripFromIni(UINT nId, LPCSTR lpszSection, LPCSTR lpszKey, CWnd* pParent,
                                        UINT nHoverSound, UINT nPressSound, BOOL bSubclass, BOOL bShaped)
{
    const CString name = KitReadSkinString(lpszSection, lpszKey, "");
    if (name.IsEmpty())
        return FALSE;
    return LoadStrip(nId, KitSkinImageFolder() + name, pParent, nHoverSound, nPressSound, bSubclass, bShaped);
}

BOOL CQVBitmapButton2::ReloadStrip(BOOL bAlternate, LPCSTR lpszPath)
{
    if (bAlternate) {
        if (!m_alternate.LoadFromFile(lpszPath, TRUE))
            return FALSE;
        if (m_hWnd != NULL)
            Invalidate();
        return TRUE;
    }
    if (!m_normal.LoadFromFile(lpszPath, TRUE))
        return FALSE;
    ApplyStripLayout();
    return TRUE;
}

void CQVBitmapButton2::SetAlternateImage(HBITMAP hBitmap)
{
    m_alternate.Clear();
    if (hBitmap != NULL)
        m_alternate.Attach(hBitmap);
}

BOOL CQVBitmapButton2::LoadAlternateImageResource(UINT nId)
{
    return m_alternate.LoadResourceBitmap(nId, TRUE);
}

BOOL CQVBitmapButton2::LoadAlternateImageFile(LPCSTR lpszPath)
{
    return m_alternate.LoadFromFile(lpszPath, TRUE);
}

BOOL CQVBitmapButton2::LoadAlternateImageFromIni(LPCSTR lpszSection, LPCSTR lpszKey)
{
    char value[MAX_PATH];
    ::GetPrivateProfileStringA(lpszSection, lpszKey, "", value, sizeof value, KitSkinIniPath());
    if (value[0] == '\0')
        return FALSE;
    return m_alternate.LoadFromFile(KitSkinImageFolder() + value, TRUE);
}

void CQVBitmapButton2::SetUseAlternate(BOOL bUse)
{
    m_bUseAlternate = bUse;
    if (m_hWnd != NULL)
        Invalidate();
}

void CQVBitmapButton2::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    const BOOL bSelected = (lpDIS->itemState & ODS_SELECTED) != 0;
    const BOOL bFocus = (lpDIS->itemState & ODS_FOCUS) != 0;
    const BOOL bDisabled = (lpDIS->itemState & ODS_DISABLED) != 0;
    CQVBitmap* pImage = &m_normal;
    if (bSelected && m_selected.IsLoaded())
        pImage = &m_selected;
    else if (bFocus && m_focus.IsLoaded())
        pImage = &m_focus;
    else if (bDisabled && m_disabled.IsLoaded())
        pImage = &m_disabled;
    if (m_bUseAlternate && m_alternate.IsLoaded())
        pImage = &m_alternate;
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    const int x = lpDIS->rcItem.left, y = lpDIS->rcItem.top;
    const SIZE cell = {m_nCellWidth, m_nCellHeight};
    const POINT src = {m_nCellWidth * BitmapButtonCell(bSelected != FALSE, bFocus != FALSE, bDisabled != FALSE), 0};
    switch (m_nMode) {
    case kModeMaskedImages: {
        const POINT origin = {0, 0};
        const POINT mask = {pImage->Width() / 2, 0};
        const SIZE half = {pImage->Width() / 2, pImage->Height()};
        pImage->Draw(pDC, x, y, CQVBitmap::kMasked, &origin, &mask, &half);
        break;
    }
    case kModeStrip:
        pImage->Draw(pDC, x, y, 0, &src, NULL, &cell);
        break;
    case kModeShapedStrip: {
        const POINT mask = {4 * m_nCellWidth, 0};
        pImage->Draw(pDC, x, y, CQVBitmap::kMasked, &src, &mask, &cell);
        break;
    }
    default:
        pImage->Draw(pDC, x, y);
        break;
    }
}

BOOL CQVBitmapButton2::IsOver(POINT point) const
{
    return ChildUnderPointIs(m_hWnd, point);
}

void CQVBitmapButton2::OnMouseMove(UINT nFlags, CPoint point)
{
    if (IsOver(point)) {
        if (m_bMayTakeFocus) {
            m_bMayTakeFocus = FALSE;
            if (m_bSounds && ::GetFocus() != m_hWnd)
                PlayIfAny(m_nHoverSound);
            SetFocus();
            SetCapture();
        }
    } else if (::GetCapture() == m_hWnd || !m_bMayTakeFocus) {
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
        ::SetFocus(NULL);
        m_bMayTakeFocus = TRUE;
    }
    CButton::OnMouseMove(nFlags, point);
}

void CQVBitmapButton2::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (IsOver(point) && m_bMayTakeFocus) {
        m_bMayTakeFocus = FALSE;
        if (m_bSounds && ::GetFocus() == m_hWnd)
            PlayIfAny(m_nPressSound);
        SetFocus();
        SetCapture();
    }
    CButton::OnLButtonDown(nFlags, point);
}

void CQVBitmapButton2::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    OnLButtonDown(nFlags, point);
}

void CQVBitmapButton2::OnLButtonUp(UINT nFlags, CPoint point)
{
    CButton::OnLButtonUp(nFlags, point);
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    if (!IsOver(point))
        ::SetFocus(NULL);
    m_bMayTakeFocus = TRUE;
}

void CQVBitmapButton2::OnSetFocus(CWnd* pOldWnd)
{
    CButton::OnSetFocus(pOldWnd);
    if (m_bMayTakeFocus)
        ::SetFocus(NULL);
}

void CQVBitmapButton2::OnKillFocus(CWnd* pNewWnd)
{
    CButton::OnKillFocus(pNewWnd);
    m_bMayTakeFocus = TRUE;
}
