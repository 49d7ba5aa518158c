#include "SkinDlg.h"

#include "BitmapRegions.h"
#include "KitSkin.h"

using namespace kit;

// ---- Caption buttons ---------------------------------------------------------------------

BOOL CSkinImageSet::AddButtonImage(UINT nCommand, HBITMAP hImage, int nHitCode)
{
    if (m_nCount >= kMaxButtons || hImage == NULL)
        return FALSE;
    Button& b = m_buttons[m_nCount];
    b.image.Clear();
    b.image.Attach(hImage);
    b.alternate.Clear();
    b.nCommand = nCommand;
    b.bAlternate = FALSE;
    b.rect = {0, 0, b.image.Width() / 4, b.image.Height()};
    b.bVisible = TRUE;
    b.nState = 0;
    b.nHitCode = nHitCode;
    m_nCount++;
    return TRUE;
}

BOOL CSkinImageSet::AddButton(UINT nCommand, LPCSTR lpszSection, LPCSTR lpszKey, CWnd* pOwner, int, int,
                              int nHitCode)
{
    if (m_nCount >= kMaxButtons)
        return FALSE;
    if (pOwner != NULL)
        m_pOwner = pOwner;
    CQVBitmap image;
    if (!KitLoadSkinImage(image, lpszSection, lpszKey, ""))
        return FALSE;
    return AddButtonImage(nCommand, (HBITMAP)image.Detach(), nHitCode);
}

void CSkinImageSet::GetBarRect(RECT* pRect) const
{
    if (m_nCount == 0) {
        *pRect = {0, 0, 0, 0};
        return;
    }
    pRect->left = m_buttons[0].rect.left;
    pRect->top = m_buttons[0].rect.top;
    pRect->right = m_buttons[m_nCount - 1].rect.right;
    pRect->bottom = m_buttons[m_nCount - 1].rect.bottom;
}

void CSkinImageSet::PlaceButtons(int x, int y)
{
    for (int i = 0; i < m_nCount; i++) {
        RECT& r = m_buttons[i].rect;
        const int w = r.right - r.left, h = r.bottom - r.top;
        r = {x, y, x + w, y + h};
        x += w + m_nSpacing;
    }
}

int CSkinImageSet::HitTest(POINT point) const
{
    for (int i = 0; i < m_nCount; i++)
        if (m_buttons[i].bVisible && ::PtInRect(&m_buttons[i].rect, point))
            return m_buttons[i].nHitCode;
    return kNoButtonHit;
}

int CSkinImageSet::FindButton(UINT nCommand) const
{
    for (int i = 0; i < m_nCount; i++)
        if (m_buttons[i].nCommand == nCommand)
            return i;
    return -1;
}

void CSkinImageSet::Repaint(int nIndex)
{
    if (m_pOwner == NULL || m_pOwner->GetSafeHwnd() == NULL || !Valid(nIndex))
        return;
    ::InvalidateRect(m_pOwner->GetSafeHwnd(), &m_buttons[nIndex].rect, FALSE);
}

void CSkinImageSet::OnButtonDown(POINT point)
{
    for (int i = 0; i < m_nCount; i++) {
        Button& b = m_buttons[i];
        if (b.bVisible && ::PtInRect(&b.rect, point)) {
            m_bPressed = TRUE;
            if (b.nState != 2) {
                b.nState = 2;
                Repaint(i);
            }
            return;
        }
    }
}

void CSkinImageSet::OnButtonUp(POINT point)
{
    for (int i = 0; i < m_nCount; i++) {
        Button& b = m_buttons[i];
        if (b.bVisible && ::PtInRect(&b.rect, point)) {
            m_bPressed = FALSE;
            if (b.nState != 0) {
                b.nState = 0;
                Repaint(i);
            }
            if (m_pOwner != NULL && m_pOwner->GetSafeHwnd() != NULL)
                m_pOwner->PostMessage(WM_COMMAND, b.nCommand, 0);
            return;
        }
    }
}

void CSkinImageSet::OnMouseMove(POINT point)
{
    for (int i = 0; i < m_nCount; i++) {
        Button& b = m_buttons[i];
        const int nNew = (b.bVisible && ::PtInRect(&b.rect, point)) ? (m_bPressed ? 2 : 1) : 0;
        if (nNew != b.nState) {
            b.nState = nNew;
            Repaint(i);
        }
    }
}

int CSkinImageSet::GetState(int nIndex) const
{
    return Valid(nIndex) ? m_buttons[nIndex].nState : -1;
}

void CSkinImageSet::SetState(int nState, int nIndex)
{
    if (Valid(nIndex) && m_buttons[nIndex].nState != nState) {
        m_buttons[nIndex].nState = nState;
        Repaint(nIndex);
    }
}

void CSkinImageSet::ShowButton(int nCmdShow, int nIndex)
{
    if (Valid(nIndex))
        m_buttons[nIndex].bVisible = nCmdShow == SW_SHOW;
}

void CSkinImageSet::SetAlternate(BOOL bAlternate, int nIndex)
{
    if (Valid(nIndex) && m_buttons[nIndex].alternate.IsLoaded()) {
        m_buttons[nIndex].bAlternate = bAlternate;
        Repaint(nIndex);
    }
}

BOOL CSkinImageSet::IsAlternate(int nIndex) const
{
    return Valid(nIndex) && m_buttons[nIndex].bAlternate;
}

RECT CSkinImageSet::GetButtonRect(int nIndex) const
{
    return Valid(nIndex) ? m_buttons[nIndex].rect : RECT{0, 0, 0, 0};
}

BOOL CSkinImageSet::SetImage(int nIndex, HBITMAP hImage)
{
    if (!Valid(nIndex) || hImage == NULL)
        return FALSE;
    m_buttons[nIndex].alternate.Clear();
    m_buttons[nIndex].alternate.Attach(hImage);
    return TRUE;
}

BOOL CSkinImageSet::LoadImage(int nIndex, LPCSTR lpszPath)
{
    return Valid(nIndex) && m_buttons[nIndex].alternate.LoadFromFile(lpszPath, TRUE);
}

BOOL CSkinImageSet::LoadAlternateFromValue(int nIndex, const CString& value)
{
    return Valid(nIndex) && KitLoadSkinImageValue(m_buttons[nIndex].alternate, value);
}

void CSkinImageSet::ExcludeButtons(CDC* pDC)
{
    m_nSavedDC = pDC->SaveDC();
    for (int i = 0; i < m_nCount; i++)
        if (m_buttons[i].bVisible)
            pDC->ExcludeClipRect(&m_buttons[i].rect);
}

void CSkinImageSet::DrawButtons(CDC* pDC)
{
    if (m_nSavedDC != -1) {
        pDC->RestoreDC(m_nSavedDC);
        m_nSavedDC = -1;
    }
    for (int i = 0; i < m_nCount; i++) {
        Button& b = m_buttons[i];
        if (!b.bVisible)
            continue;
        CQVBitmap& face = (b.bAlternate && b.alternate.IsLoaded()) ? b.alternate : b.image;
        const int w = b.rect.right - b.rect.left, h = b.rect.bottom - b.rect.top;
        const POINT src = {w * CaptionButtonCell(b.nState), 0};
        const SIZE size = {w, h};
        face.Draw(pDC, b.rect.left, b.rect.top, 0, &src, NULL, &size);
    }
}

// ---- Dialog ------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CSkinDlg, CDialog)

BEGIN_MESSAGE_MAP(CSkinDlg, CDialog)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_NCPAINT()
    ON_WM_NCCALCSIZE()
    ON_WM_NCHITTEST()
    ON_WM_NCACTIVATE()
    ON_WM_NCLBUTTONDOWN()
    ON_WM_NCLBUTTONUP()
    ON_WM_NCLBUTTONDBLCLK()
    ON_WM_NCMOUSEMOVE()
    ON_WM_ACTIVATE()
    ON_WM_CTLCOLOR()
    ON_WM_SIZE()
    ON_WM_WINDOWPOSCHANGED()
    ON_WM_GETMINMAXINFO()
    ON_WM_COPYDATA()
END_MESSAGE_MAP()

CSkinDlg::CSkinDlg() = default;

CSkinDlg::CSkinDlg(UINT nIDTemplate, CWnd* pParent) : CDialog(nIDTemplate, pParent) {}

CSkinDlg::~CSkinDlg()
{
    if (m_hControlBrush != NULL)
        ::DeleteObject(m_hControlBrush);
}

void CSkinDlg::SetSkinSection(LPCSTR lpszName)
{
    m_strSection = MakeSkinSection(lpszName).c_str();
}

INT_PTR CSkinDlg::DoModal()
{
    m_bInModalLoop = TRUE;
    const INT_PTR nResult = CDialog::DoModal();
    m_bInModalLoop = FALSE;
    return nResult;
}

void CSkinDlg::GetInnerClientRect(RECT* pRect) const
{
    ::GetClientRect(m_hWnd, pRect);
    if (!IsSkinned())
        return;
    pRect->left += m_nBorderWidth;
    pRect->right -= m_nBorderWidth;
    pRect->bottom -= m_nBorderWidth;
    pRect->top += m_bShowCaption ? m_nCaptionHeight : m_nBorderWidth;
}

int CSkinDlg::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CDialog::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (!IsSkinned())
        return 0;
    return SetUpSkin();
}

int CSkinDlg::SetUpSkin()
{
    const LPCSTR sec = m_strSection;
    const BOOL bResourceMode = KitThemeModule() != NULL;

    // 1. Backgrounds.
    CString strBackground;
    const BOOL bActive = KitLoadSkinImage(m_background, sec, "backgrdbmp", "dialogBK.jpg", &strBackground);
    if (!bActive && !bResourceMode)
        return -1;
    const BOOL bInactive = KitLoadSkinImage(m_inactiveBackground, sec, "backgrdbmpNA", "dialogBKNA.jpg");
    if (bResourceMode && (!bActive || !bInactive))
        return 0;   // resource mode: the rest keeps its defaults

    // 2.-3.
    m_nCellWidth = m_background.Width() / 3;
    m_nCellHeight = m_background.Height() / 3;
    m_bShapedFrame = KitReadSkinInt(sec, "AnomalyFrame", 1) != 0;
    m_bResizable = KitReadOwnInt(sec, "Resize", 0) != 0;
    m_bMaximizeEnabled = KitReadSkinInt(sec, "usetitlemax", 0) != 0;

    // 4. The frame region, shared by every dialog of the same background.
    if (m_bShapedFrame) {
        m_hFrameRegion = KitFindCachedRegion(strBackground);
        if (m_hFrameRegion == NULL) {
            HRGN hRegion = CreateRegionFromPixel((HBITMAP)m_background.GetSafeHandle(), 0, 0);
            if (hRegion != NULL)
                m_hFrameRegion = KitCacheRegion(strBackground, hRegion);
        }
    }

    // 5. Colours, sizes, title.
    if (m_hControlBrush != NULL)
        ::DeleteObject(m_hControlBrush);
    m_hControlBrush = ::CreateSolidBrush(KitReadSkinColour(sec, "ctrlcolor", RGB(0x80, 0x80, 0x80)));
    m_crControlText = KitReadSkinColour(sec, "ctrltextcolor", RGB(255, 255, 255));
    m_nBorderWidth = KitReadSkinInt(sec, "BorderWidth", 4);
    m_nCaptionHeight = KitReadSkinInt(sec, "CaptionHeight", 20);
    m_nTitleAlign = StoredTitleAlign(KitReadSkinInt(sec, "titlealign", 1));
    const CString strTitle = KitReadSkinString(sec, "title", "");
    if (!strTitle.IsEmpty())
        SetWindowText(strTitle);
    CString strDefaultFace;
    if (!strDefaultFace.LoadString(kTitleFontStringId))
        strDefaultFace = "宋体";
    const CString strFace = KitReadSkinString(sec, "titlefont", strDefaultFace);
    const std::string face =
        BoundFaceName(strFace, [](unsigned char b) { return ::IsDBCSLeadByteEx(936, b) != FALSE; });
    m_titleFont.DeleteObject();
    m_titleFont.CreateFont(12, 6, 0, 0, 500, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face.c_str());
    m_crTitle = KitReadSkinColour(sec, "titlecolor", RGB(255, 255, 255));

    // 6. Caption buttons.
    m_buttons.SetOwner(this);
    if (m_bMaximizeEnabled) {
        m_nMaximizeIndex = m_buttons.GetCount();
        if (m_buttons.AddButton(ID_SKIN_MAXIMIZE, sec, "titlemax", this, 0, 0, kHitMaxButton)) {
            char value[512];
            ::GetPrivateProfileStringA(kCommonSkinSection, "titlerestore", "", value, sizeof value,
                                       KitSkinIniPath());
            CString strRestore = value;
            if (!bResourceMode)
                strRestore = AfterFirstComma(std::string(value), nullptr).c_str();
            if (!m_buttons.LoadAlternateFromValue(m_nMaximizeIndex, strRestore) && bResourceMode)
                return 0;
        }
    }
    if (!m_buttons.AddButton(ID_SKIN_CLOSE, sec, "titleclose", this, 0, 0, kHitClose))
        return -1;

    // 7. Placement and the mark of a skinned dialog.
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    PlaceCaptionButtons(rcWindow.Width());
    ::SetWindowLongPtr(m_hWnd, GWLP_USERDATA, kSkinDlgUserData);
    return 0;
}

void CSkinDlg::PlaceCaptionButtons(int cx)
{
    const LPCSTR sec = m_strSection;
    RECT bar;
    m_buttons.GetBarRect(&bar);
    const int nRight = KitReadSkinInt(sec, "SysBtnRight", 6);
    const int nTop = KitReadSkinInt(sec, "SysBtnTop", 3);
    m_buttons.PlaceButtons(cx - (bar.right - bar.left) - nRight, nTop);
}

void CSkinDlg::OnDestroy()
{
    if (m_hControlBrush != NULL) {
        ::DeleteObject(m_hControlBrush);
        m_hControlBrush = NULL;
    }
    m_titleFont.DeleteObject();
    CDialog::OnDestroy();
}

HRGN CSkinDlg::GetWindowRegion()
{
    CRect rc;
    GetWindowRect(&rc);
    const int W = rc.Width(), H = rc.Height();
    if (!m_bShapedFrame)
        return ::CreateRectRgn(0, 0, W, H);
    if (m_hFrameRegion == NULL)
        return NULL;
    const int cw = m_nCellWidth, ch = m_nCellHeight;
    // The body: two rectangles 8 pixels in from the corners, (8, 0) by
    // (W - 16) x H and (0, 8) by W x (H - 16).
    HRGN hResult = ::CreateRectRgn(8, 0, 8 + (W - 16), H);
    HRGN hPart = ::CreateRectRgn(0, 8, W, 8 + (H - 16));
    ::CombineRgn(hResult, hResult, hPart, RGN_OR);
    struct Corner { int col, row, dx, dy; };
    // The right-hand pieces go where the nine-grid draws the right-hand
    // cells (W - cw): one pixel further right, the shape and the picture
    // disagree and the key colour shows along the right edge.
    const Corner corners[] = {
        {0, 0, 0, 0},
        {2, 0, W - cw, 0},
        {0, 2, 0, H - ch},
        {2, 2, W - cw, H - ch},
    };
    HRGN hCell = ::CreateRectRgn(0, 0, 0, 0);
    for (const Corner& c : corners) {
        ::SetRectRgn(hCell, c.col * cw, c.row * ch, (c.col + 1) * cw, (c.row + 1) * ch);
        ::CombineRgn(hPart, m_hFrameRegion, hCell, RGN_AND);
        ::OffsetRgn(hPart, -c.col * cw + c.dx, -c.row * ch + c.dy);
        ::CombineRgn(hResult, hResult, hPart, RGN_OR);
    }
    ::DeleteObject(hCell);
    ::DeleteObject(hPart);
    return hResult;
}

void CSkinDlg::OnPrePaint(CDC*) {}
void CSkinDlg::OnDrawExtra(CDC*) {}

void CSkinDlg::PaintSkin(CDC* pDC)
{
    CRect rc;
    GetClientRect(&rc);
    m_buttons.ExcludeButtons(pDC);
    const BOOL bInactive = ::GetActiveWindow() != m_hWnd && m_inactiveBackground.IsLoaded();
    CQVBitmap& background = bInactive ? m_inactiveBackground : m_background;
    background.DrawNineGrid(pDC, rc, 0, TRUE);
    m_buttons.DrawButtons(pDC);   // restores the DC first
    if (m_bShowCaption) {
        CString strText;
        GetWindowText(strText);
        CFont* pOld = pDC->SelectObject(&m_titleFont);
        const CSize size = pDC->GetTextExtent(strText);
        const int nMode = pDC->SetBkMode(TRANSPARENT);
        const COLORREF crOld = pDC->SetTextColor(m_crTitle);
        pDC->TextOut((rc.Width() - size.cx) / 2, (m_nCaptionHeight - size.cy) / 2 - 1, strText);
        pDC->SetTextColor(crOld);
        pDC->SetBkMode(nMode);
        pDC->SelectObject(pOld);
    }
}

void CSkinDlg::OnPaint()
{
    if (!IsSkinned()) {
        Default();
        return;
    }
    CPaintDC dc(this);
    OnPrePaint(&dc);
    PaintSkin(&dc);
    OnDrawExtra(&dc);
}

BOOL CSkinDlg::OnEraseBkgnd(CDC* pDC)
{
    if (!IsSkinned())
        return CDialog::OnEraseBkgnd(pDC);
    return TRUE;
}

void CSkinDlg::OnNcPaint()
{
    if (!IsSkinned())
        Default();
}

void CSkinDlg::OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp)
{
    if (!IsSkinned())
        CDialog::OnNcCalcSize(bCalcValidRects, lpncsp);
}

BOOL CSkinDlg::OnNcActivate(BOOL bActive)
{
    if (!IsSkinned())
        return CDialog::OnNcActivate(bActive);
    // No frame is drawn; the system must not paint its own caption.
    return (BOOL)DefWindowProc(WM_NCACTIVATE, bActive, -1);
}

UINT CSkinDlg::OnNcHitTest(CPoint point)
{
    if (!IsSkinned())
        return CDialog::OnNcHitTest(point);
    CRect rc;
    GetWindowRect(&rc);
    const POINT local = {point.x - rc.left, point.y - rc.top};
    const int nCode = HitTestZones(m_zones, local.x, local.y, m_bResizable != FALSE, IsZoomed() != FALSE,
                                   m_buttons.HitTest(local));
    if (nCode != kHitNowhere)
        return (UINT)nCode;
    return CDialog::OnNcHitTest(point);
}

void CSkinDlg::OnNcLButtonDown(UINT nHitTest, CPoint point)
{
    if (!IsSkinned()) {
        CDialog::OnNcLButtonDown(nHitTest, point);
        return;
    }
    CPoint local(point);
    ScreenToClient(&local);
    if (m_buttons.HitTest(local) != kNoButtonHit) {
        m_buttons.OnButtonDown(local);
        return;
    }
    if (nHitTest == HTCAPTION && IsZoomed()) {
        SetActiveWindow();   // a maximised dialog is not dragged
        return;
    }
    CDialog::OnNcLButtonDown(nHitTest, point);
}

void CSkinDlg::OnNcLButtonUp(UINT nHitTest, CPoint point)
{
    if (!IsSkinned()) {
        CDialog::OnNcLButtonUp(nHitTest, point);
        return;
    }
    CPoint local(point);
    ScreenToClient(&local);
    if (m_buttons.HitTest(local) != kNoButtonHit) {
        m_buttons.OnButtonUp(local);
        return;
    }
    m_buttons.ReleasePress();
    CDialog::OnNcLButtonUp(nHitTest, point);
}

void CSkinDlg::OnNcLButtonDblClk(UINT nHitTest, CPoint point)
{
    if (!IsSkinned()) {
        CDialog::OnNcLButtonDblClk(nHitTest, point);
        return;
    }
    if (nHitTest == HTCAPTION) {
        if (m_bMaximizeEnabled)
            ToggleMaximize();
        return;
    }
    CPoint local(point);
    ScreenToClient(&local);
    if (m_buttons.HitTest(local) != kNoButtonHit) {
        m_buttons.OnButtonDown(local);   // a double click presses like a click
        return;
    }
    CDialog::OnNcLButtonDblClk(nHitTest, point);
}

void CSkinDlg::OnNcMouseMove(UINT nHitTest, CPoint point)
{
    if (!IsSkinned()) {
        CDialog::OnNcMouseMove(nHitTest, point);
        return;
    }
    CPoint local(point);
    ScreenToClient(&local);
    if (::GetKeyState(VK_LBUTTON) >= 0)
        m_buttons.ReleasePress();   // released elsewhere: no longer pressed
    m_buttons.OnMouseMove(local);
    CDialog::OnNcMouseMove(nHitTest, point);
}

void CSkinDlg::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
{
    if (IsSkinned()) {
        CRect rc;
        GetWindowRect(&rc);
        const Zone zones[] = {kZoneLeft, kZoneRight, kZoneCaption};
        for (Zone z : zones) {
            const KRect& k = m_zones.zone[z];
            RECT r = {k.left, k.top, k.right, k.bottom};
            InvalidateRect(&r, FALSE);
        }
    }
    CDialog::OnActivate(nState, pWndOther, bMinimized);
}

HBRUSH CSkinDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    if (!IsSkinned())
        return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(m_crControlText);
    if (nCtlColor == CTLCOLOR_DLG)
        return (HBRUSH)::GetStockObject(HOLLOW_BRUSH);
    return m_hControlBrush;
}

void CSkinDlg::ApplyWindowRegion()
{
    HRGN hRegion = GetWindowRegion();
    // The window owns the region from here on.
    SetWindowRgn(hRegion, TRUE);
}

void CSkinDlg::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    if (!IsSkinned() || m_buttons.GetCount() == 0)
        return;
    ApplyWindowRegion();
    CRect rc;
    GetWindowRect(&rc);
    PlaceCaptionButtons(rc.Width());
    if (m_bMaximizeEnabled && m_buttons.FindButton(ID_SKIN_MAXIMIZE) == m_nMaximizeIndex)
        m_buttons.SetAlternate(IsZoomed(), m_nMaximizeIndex);
    Invalidate(FALSE);
}

void CSkinDlg::OnWindowPosChanged(WINDOWPOS* lpwndpos)
{
    if (IsSkinned()) {
        CRect rc;
        GetWindowRect(&rc);
        m_zones = ComputeHitZones(rc.Width(), rc.Height(), m_nBorderWidth, m_nCaptionHeight);
    }
    CDialog::OnWindowPosChanged(lpwndpos);
}

void CSkinDlg::OnGetMinMaxInfo(MINMAXINFO* lpMMI)
{
    if (!IsSkinned()) {
        CDialog::OnGetMinMaxInfo(lpMMI);
        return;
    }
    RECT work;
    ::SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
    const int nScreenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    lpMMI->ptMaxSize.x = work.right - work.left;
    lpMMI->ptMaxSize.y = std::min<int>(work.bottom - work.top, nScreenHeight - 1);
    lpMMI->ptMaxPosition.x = work.left;
    lpMMI->ptMaxPosition.y = work.top;
    lpMMI->ptMinTrackSize.x = 0;
    lpMMI->ptMinTrackSize.y = 0;
}

BOOL CSkinDlg::OnCopyData(CWnd* pWnd, COPYDATASTRUCT* pCopyDataStruct)
{
    if (!IsSkinned())
        return CDialog::OnCopyData(pWnd, pCopyDataStruct);
    if (pCopyDataStruct == NULL || (pCopyDataStruct->dwData >> 8) != (kLobbyNoticeBase >> 8))
        return FALSE;
    switch (pCopyDataStruct->dwData & 0xFF) {
    case 0:
        m_bWasVisible = (GetStyle() & WS_VISIBLE) != 0;
        ShowWindow(SW_HIDE);
        break;
    case 1:
        if (m_bWasVisible || m_bInModalLoop)
            ShowWindow(SW_SHOW);
        break;
    default:
        break;
    }
    return TRUE;
}

void CSkinDlg::ToggleMaximize()
{
    ANIMATIONINFO saved = {sizeof(ANIMATIONINFO), 0};
    ::SystemParametersInfo(SPI_GETANIMATION, sizeof saved, &saved, 0);
    ANIMATIONINFO off = {sizeof(ANIMATIONINFO), 0};
    ::SystemParametersInfo(SPI_SETANIMATION, sizeof off, &off, 0);
    const int nShow = IsZoomed() ? SW_RESTORE : SW_MAXIMIZE;
    if (CWinApp* pApp = AfxGetApp())
        pApp->m_nCmdShow = nShow;
    ShowWindow(nShow);
    const int nIndex = m_buttons.FindButton(ID_SKIN_MAXIMIZE);
    if (nIndex >= 0)
        m_buttons.SetAlternate(IsZoomed(), nIndex);
    ::SystemParametersInfo(SPI_SETANIMATION, sizeof saved, &saved, 0);
}

BOOL CSkinDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (IsSkinned() && lParam == 0) {
        switch (LOWORD(wParam)) {
        case ID_SKIN_CLOSE:
            PostMessage(WM_CLOSE);
            return TRUE;
        case ID_SKIN_MAXIMIZE:
            ToggleMaximize();
            return TRUE;
        default:
            break;
        }
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CSkinDlg::DrawGroupFrame(CDC* pDC, UINT nItemId, COLORREF crText, COLORREF crDark, COLORREF crLight)
{
    CWnd* pItem = GetDlgItem(nItemId);
    if (pDC == NULL || pItem == NULL)
        return;
    CRect r;
    pItem->GetWindowRect(&r);
    ScreenToClient(&r);
    CString strText;
    pItem->GetWindowText(strText);
    const int nSaved = pDC->SaveDC();
    CFont* pFont = pItem->GetFont();
    if (pFont != NULL)
        pDC->SelectObject(pFont);
    const int tw = pDC->GetTextExtent(strText).cx;
    const int y0 = r.top + 5;
    CPen dark(PS_SOLID, 1, crDark);
    CPen light(PS_SOLID, 1, crLight);
    pDC->SelectObject(&dark);
    pDC->MoveTo(r.left, y0);
    pDC->LineTo(r.left, r.bottom - 1);
    pDC->LineTo(r.right - 1, r.bottom - 1);
    pDC->LineTo(r.right - 1, y0);
    pDC->LineTo(r.left + tw + 10, y0);
    pDC->MoveTo(r.left, y0);
    pDC->LineTo(r.left + 10, y0);
    pDC->SelectObject(&light);
    pDC->MoveTo(r.left + 1, y0 + 1);
    pDC->LineTo(r.left + 1, r.bottom - 1);
    pDC->MoveTo(r.left, r.bottom);
    pDC->LineTo(r.right, r.bottom);
    pDC->LineTo(r.right, y0);
    pDC->MoveTo(r.right - 2, y0 + 1);
    pDC->LineTo(r.left + tw + 10, y0 + 1);
    pDC->MoveTo(r.left + 1, y0 + 1);
    pDC->LineTo(r.left + 10, y0 + 1);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(crText);
    CRect rcText(r.left + 10, r.top - 5, r.left + 40, r.top + 15);
    pDC->DrawText(strText, &rcText, DT_SINGLELINE | DT_VCENTER | DT_NOCLIP);
    pDC->RestoreDC(nSaved);
}
