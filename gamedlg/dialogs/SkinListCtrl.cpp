#include "SkinListCtrl.h"

#include "gamedlg_ids.h"

using namespace reportlist;

namespace {

const char kFontFace[] = "宋体";
constexpr int kFontPixels = 12;
constexpr int kHeaderFaceOrder = 0;
constexpr int kHeaderFillBottom = 300;
constexpr UINT kHeaderTextFormat = DT_END_ELLIPSIS | DT_NOPREFIX | DT_SINGLELINE | DT_CENTER;   // 0x8821
constexpr int kCheckBoxShift = 75;
// The bars' window styles: visible child statics that notify their parent.
constexpr DWORD kBarStyle = WS_CHILD | WS_VISIBLE | SS_NOTIFY;
constexpr UINT kBarId = 0xFFFF;
// The list's extended style: full-row select and header drag-and-drop.
constexpr DWORD kListExStyle = LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP;   // 0x30
constexpr int kThumbInset = 2;

HBITMAP LoadSkinBitmap(UINT nId)
{
    HINSTANCE hInst = AfxFindResourceHandle(MAKEINTRESOURCE(nId), RT_BITMAP);
    return ::LoadBitmapA(hInst, MAKEINTRESOURCE(nId));
}

void FreeBitmap(HBITMAP& hBitmap)
{
    if (hBitmap != NULL)
        ::DeleteObject(hBitmap);
    hBitmap = NULL;
}

SIZE BitmapSize(HBITMAP hBitmap)
{
    BITMAP bm = {};
    SIZE size = {0, 0};
    if (hBitmap != NULL && ::GetObject(hBitmap, sizeof bm, &bm)) {
        size.cx = bm.bmWidth;
        size.cy = bm.bmHeight;
    }
    return size;
}

// Copies (stretching) a part of a bitmap onto a DC.
void StretchPart(CDC* pDC, HBITMAP hBitmap, int sx, int sy, int sw, int sh, const CRect& rcTarget)
{
    if (hBitmap == NULL || rcTarget.IsRectEmpty() || sw <= 0 || sh <= 0)
        return;
    CDC mem;
    if (!mem.CreateCompatibleDC(pDC))
        return;
    HGDIOBJ hOld = ::SelectObject(mem.GetSafeHdc(), hBitmap);
    pDC->SetStretchBltMode(COLORONCOLOR);
    pDC->StretchBlt(rcTarget.left, rcTarget.top, rcTarget.Width(), rcTarget.Height(), &mem, sx, sy, sw, sh, SRCCOPY);
    ::SelectObject(mem.GetSafeHdc(), hOld);
}

void CreateSkinFont(CFont& font, BOOL bUnderline = FALSE)
{
    LOGFONTA lf = {};
    lf.lfHeight = -kFontPixels;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = GB2312_CHARSET;
    lf.lfUnderline = (BYTE)bUnderline;
    lstrcpynA(lf.lfFaceName, kFontFace, LF_FACESIZE);
    font.CreateFontIndirect(&lf);
}

// Paints through a memory DC of the window's client size.
template <class Paint>
void PaintBuffered(CWnd* pWnd, Paint paint)
{
    CPaintDC dc(pWnd);
    CRect rc;
    pWnd->GetClientRect(&rc);
    if (rc.IsRectEmpty())
        return;
    CDC mem;
    CBitmap bmp;
    if (!mem.CreateCompatibleDC(&dc) || !bmp.CreateCompatibleBitmap(&dc, rc.Width(), rc.Height())) {
        paint(&dc, rc);
        return;
    }
    CBitmap* pOld = mem.SelectObject(&bmp);
    paint(&mem, rc);
    dc.BitBlt(0, 0, rc.Width(), rc.Height(), &mem, 0, 0, SRCCOPY);
    mem.SelectObject(pOld);
}

}  // namespace

// ---- Header ----------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CSkinHeaderCtrl, CHeaderCtrl)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CSkinHeaderCtrl::CSkinHeaderCtrl()
    : m_hFace(LoadSkinBitmap(IDB_SKINLIST_HEADER_FACE)),
      m_hStrip(LoadSkinBitmap(IDB_SKINLIST_HEADER_STRIP)),
      m_hDivider(LoadSkinBitmap(IDB_SKINLIST_HEADER_DIVIDER))
{
}

CSkinHeaderCtrl::~CSkinHeaderCtrl()
{
    FreeBitmap(m_hFace);
    FreeBitmap(m_hStrip);
    FreeBitmap(m_hDivider);
}

BOOL CSkinHeaderCtrl::OnEraseBkgnd(CDC*) { return TRUE; }

void CSkinHeaderCtrl::OnPaint()
{
    PaintBuffered(this, [this](CDC* pDC, const CRect& rc) { Draw(pDC, rc); });
}

void CSkinHeaderCtrl::Draw(CDC* pDC, const CRect& rcClient)
{
    pDC->FillSolidRect(rcClient, RGB(255, 255, 255));
    const SIZE strip = BitmapSize(m_hStrip);
    const SIZE face = BitmapSize(m_hFace);
    const SIZE divider = BitmapSize(m_hDivider);
    StretchPart(pDC, m_hStrip, 0, 0, strip.cx, strip.cy, rcClient);

    CFont font;
    CreateSkinFont(font);
    CFont* pOldFont = pDC->SelectObject(&font);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(CSkinListCtrl::kHeaderText);
    m_nItemCount = GetItemCount();
    for (int i = 0; i < m_nItemCount; i++) {
        char text[256] = "";
        HDITEMA item = {};
        item.mask = HDI_TEXT | HDI_FORMAT | HDI_ORDER;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        CRect rc;
        if (!GetItem(i, &item) || !GetItemRect(i, &rc))
            continue;
        // The strip under every item, then the first column's face or the
        // filled column, the divider at the right edge and the text.
        StretchPart(pDC, m_hStrip, 0, 0, strip.cx, strip.cy, rc);
        if (item.iOrder == kHeaderFaceOrder)
            StretchPart(pDC, m_hFace, 0, 0, face.cx, face.cy, rc);
        if (item.iOrder == CSkinListCtrl::kFilledColumn)
            pDC->FillSolidRect(rc.left, rc.top, rc.Width(), kHeaderFillBottom - rc.top, CSkinListCtrl::kColumnFill);
        if (divider.cx > 0)
            StretchPart(pDC, m_hDivider, 0, 0, divider.cx, divider.cy,
                        CRect(rc.right - divider.cx, rc.top, rc.right, rc.bottom));
        CRect rcText = rc;
        rcText.DeflateRect(2, 2);
        pDC->DrawText(text, -1, &rcText, kHeaderTextFormat);
    }
    pDC->SelectObject(pOldFont);
}

// ---- Scroll bars -----------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CSkinScrollBarBase, CStatic)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSELEAVE()
    ON_WM_CAPTURECHANGED()
END_MESSAGE_MAP()

CSkinScrollBarBase::CSkinScrollBarBase(Orientation orientation)
{
    m_geometry.orientation = orientation;
    m_nThumbStart = m_geometry.ThumbMin();
}

BarGeometry CSkinScrollBarBase::Geometry() const
{
    BarGeometry g = m_geometry;
    if (m_hWnd != NULL) {
        CRect rc;
        GetClientRect(&rc);
        g.length = g.orientation == kVertical ? rc.Height() : rc.Width();
    }
    return g;
}

int CSkinScrollBarBase::ScrollLimit() const
{
    if (m_pList == NULL || m_pList->GetSafeHwnd() == NULL)
        return 0;
    return m_pList->GetScrollLimit(m_geometry.orientation == kVertical ? SB_VERT : SB_HORZ);
}

int CSkinScrollBarBase::ScrollPosition() const
{
    if (m_pList == NULL || m_pList->GetSafeHwnd() == NULL)
        return 0;
    return m_pList->GetScrollPos(m_geometry.orientation == kVertical ? SB_VERT : SB_HORZ);
}

BOOL CSkinScrollBarBase::CanScroll() const { return ScrollLimit() > 0; }

void CSkinScrollBarBase::Refresh()
{
    if (m_hWnd == NULL)
        return;
    m_geometry = Geometry();
    if (!m_press.dragging)
        m_nThumbStart = m_geometry.ThumbForPosition(ScrollPosition(), ScrollLimit());
    Invalidate(FALSE);
}

void CSkinScrollBarBase::SendScroll(int nCode)
{
    if (m_pList == NULL || m_pList->GetSafeHwnd() == NULL || nCode == kNoScroll)
        return;
    const UINT message = m_geometry.orientation == kVertical ? WM_VSCROLL : WM_HSCROLL;
    m_pList->SendMessage(message, MAKEWPARAM(nCode, 0), 0);
    Refresh();
}

void CSkinScrollBarBase::DragTo(int nPointer)
{
    m_geometry = Geometry();
    const int limit = ScrollLimit();
    // A list that cannot scroll has no thumb to drag.
    if (limit <= 0 || m_geometry.PixelsPerUnit(limit) <= 0.0)
        return;
    m_nThumbStart = m_geometry.DragThumb(nPointer);
    const int target = m_geometry.TargetPosition(m_nThumbStart, limit);
    const int current = ScrollPosition();
    if (target != current) {
        if (m_geometry.orientation == kVertical) {
            CRect row;
            const int unit = m_pList->GetItemCount() > 0 && m_pList->GetItemRect(0, &row, LVIR_BOUNDS)
                                 ? row.Height()
                                 : 0;
            if (unit > 0)
                m_pList->Scroll(CSize(0, DragScrollPixels(target, current, unit)));
        } else {
            m_pList->Scroll(CSize(DragScrollPixels(target, current, 1), 0));
        }
    }
    Invalidate(FALSE);
}

void CSkinScrollBarBase::TrackLeave()
{
    if (m_bTracking)
        return;
    TRACKMOUSEEVENT tme = {};
    tme.cbSize = sizeof tme;
    tme.dwFlags = TME_LEAVE;
    tme.hwndTrack = m_hWnd;
    m_bTracking = ::TrackMouseEvent(&tme) != FALSE;
}

void CSkinScrollBarBase::OnMouseLeave()
{
    m_bTracking = false;
    m_nHover = -1;
    Invalidate(FALSE);
}

void CSkinScrollBarBase::OnCaptureChanged(CWnd*)
{
    // The capture taken away in the middle of a press ends the press.
    if (m_press.dragging || m_press.backPressed || m_press.forwardPressed || m_bTrackPressed) {
        m_press = BarPress();
        m_bTrackPressed = false;
        m_bDragStarted = false;
        KillTimer(CSkinHScrollBar::kRepeatTimer);
        KillTimer(CSkinHScrollBar::kDelayTimer);
        Refresh();
    }
}

BOOL CSkinScrollBarBase::OnEraseBkgnd(CDC*) { return TRUE; }

void CSkinScrollBarBase::OnPaint()
{
    m_geometry = Geometry();
    PaintBuffered(this, [this](CDC* pDC, const CRect&) { Draw(pDC); });
}

void CSkinScrollBarBase::OnMouseMove(UINT, CPoint point)
{
    if (m_press.dragging) {
        m_bDragStarted = true;
        DragTo(Along(point));
    }
    const int hover = Geometry().HitTest(Along(point), m_nThumbStart, CanScroll() != FALSE);
    if (hover != m_nHover) {
        m_nHover = hover;
        Invalidate(FALSE);
    }
    TrackLeave();
}

void CSkinScrollBarBase::OnLButtonUp(UINT, CPoint point)
{
    // A press on the thumb that never moved is no drag.
    BarPress press = m_press;
    press.dragging = press.dragging && m_bDragStarted;
    const ScrollCode code = ReleaseAction(Geometry(), press, Along(point), m_nThumbStart, CanScroll() != FALSE);
    m_press = BarPress();
    m_bTrackPressed = false;
    m_bDragStarted = false;
    Invalidate(FALSE);
    if (GetCapture() == this)
        ReleaseCapture();
    SendScroll(code);
}

void CSkinScrollBarBase::DrawFrame(CDC* pDC, HBITMAP hStrip, int nFrame, int nFrameWidth, const CRect& rcTarget)
{
    const SIZE size = BitmapSize(hStrip);
    StretchPart(pDC, hStrip, nFrame * nFrameWidth, 0, nFrameWidth, size.cy, rcTarget);
}

void CSkinScrollBarBase::Stretch(CDC* pDC, HBITMAP hBitmap, const CRect& rcTarget)
{
    const SIZE size = BitmapSize(hBitmap);
    StretchPart(pDC, hBitmap, 0, 0, size.cx, size.cy, rcTarget);
}

namespace {

int ArrowFrameOf(bool pressed, bool hover, bool disabled)
{
    if (disabled)
        return kArrowDisabled;
    if (pressed)
        return kArrowPressed;
    return hover ? kArrowHover : kArrowNormal;
}

int ThumbFrameOf(bool dragging, bool moved, bool hover)
{
    if (dragging)
        return moved ? kThumbHover : kThumbPressed;
    return hover ? kThumbHover : kThumbNormal;
}

}  // namespace

// ---- Vertical bar ----------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CSkinVScrollBar, CSkinScrollBarBase)
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

CSkinVScrollBar::CSkinVScrollBar()
    : CSkinScrollBarBase(kVertical),
      m_hCap(LoadSkinBitmap(IDB_SKINLIST_CAP)),
      m_hUp(LoadSkinBitmap(IDB_SKINLIST_UP_ARROW)),
      m_hTrack(LoadSkinBitmap(IDB_SKINLIST_VTRACK)),
      m_hDown(LoadSkinBitmap(IDB_SKINLIST_DOWN_ARROW)),
      m_hSpare(LoadSkinBitmap(IDB_SKINLIST_SPARE)),
      m_hThumb(LoadSkinBitmap(IDB_SKINLIST_VTHUMB))
{
}

CSkinVScrollBar::~CSkinVScrollBar()
{
    FreeBitmap(m_hCap);
    FreeBitmap(m_hUp);
    FreeBitmap(m_hTrack);
    FreeBitmap(m_hDown);
    FreeBitmap(m_hSpare);
    FreeBitmap(m_hThumb);
}

void CSkinVScrollBar::Draw(CDC* pDC)
{
    const BarGeometry g = Geometry();
    const int h = g.length;
    const bool canScroll = CanScroll() != FALSE;
    pDC->FillSolidRect(0, 0, kBarThickness, h, CSkinListCtrl::kBackground);
    Stretch(pDC, m_hCap, CRect(0, 0, kBarThickness, kCapRows));
    Stretch(pDC, m_hTrack, CRect(0, g.BackArrowLast() + 1, kBarThickness, g.ForwardArrowFirst()));
    DrawFrame(pDC, m_hUp, ArrowFrameOf(m_press.backPressed, m_nHover == kZoneBackArrow, false), kArrowFrameWidth,
              CRect(0, g.BackArrowFirst(), kBarThickness, g.BackArrowLast() + 1));
    DrawFrame(pDC, m_hDown, ArrowFrameOf(m_press.forwardPressed, m_nHover == kZoneForwardArrow, !canScroll),
              kArrowFrameWidth, CRect(0, g.ForwardArrowFirst(), kBarThickness, h));
    if (canScroll)
        DrawFrame(pDC, m_hThumb, ThumbFrameOf(m_press.dragging, m_bDragStarted, m_nHover == kZoneThumb),
                  kThumbFrameWidth,
                  CRect(kThumbInset, m_nThumbStart, kBarThickness - kThumbInset, m_nThumbStart + kThumbLength));
}

void CSkinVScrollBar::OnLButtonDown(UINT, CPoint point)
{
    SetCapture();
    const BarGeometry g = Geometry();
    switch (g.HitTest(point.y, m_nThumbStart, CanScroll() != FALSE)) {
    case kZoneThumb:
        m_press.dragging = true;
        m_bDragStarted = false;
        break;
    case kZoneForwardArrow:
        m_press.forwardPressed = true;
        SendScroll(kLineForward);
        break;
    case kZoneBackArrow:
        m_press.backPressed = true;
        SendScroll(kLineBack);
        break;
    default:
        m_bTrackPressed = true;
        break;
    }
    Invalidate(FALSE);
}

// ---- Horizontal bar --------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CSkinHScrollBar, CSkinScrollBarBase)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_TIMER()
END_MESSAGE_MAP()

CSkinHScrollBar::CSkinHScrollBar()
    : CSkinScrollBarBase(kHorizontal),
      m_hLeft(LoadSkinBitmap(IDB_SKINLIST_LEFT_ARROW)),
      m_hRight(LoadSkinBitmap(IDB_SKINLIST_RIGHT_ARROW)),
      m_hTrack(LoadSkinBitmap(IDB_SKINLIST_HTRACK)),
      m_hThumb(LoadSkinBitmap(IDB_SKINLIST_HTHUMB))
{
}

CSkinHScrollBar::~CSkinHScrollBar()
{
    FreeBitmap(m_hLeft);
    FreeBitmap(m_hRight);
    FreeBitmap(m_hTrack);
    FreeBitmap(m_hThumb);
}

void CSkinHScrollBar::Draw(CDC* pDC)
{
    const BarGeometry g = Geometry();
    const int w = g.length;
    const bool canScroll = CanScroll() != FALSE;
    pDC->FillSolidRect(0, 0, w, kBarThickness, CSkinListCtrl::kBackground);
    Stretch(pDC, m_hTrack, CRect(g.BackArrowLast() + 1, 0, g.ForwardArrowFirst(), kBarThickness));
    DrawFrame(pDC, m_hLeft, ArrowFrameOf(m_press.backPressed, m_nHover == kZoneBackArrow, false), kArrowFrameWidth,
              CRect(0, 0, kArrowLength, kBarThickness));
    DrawFrame(pDC, m_hRight, ArrowFrameOf(m_press.forwardPressed, m_nHover == kZoneForwardArrow, !canScroll),
              kArrowFrameWidth, CRect(g.ForwardArrowFirst(), 0, w, kBarThickness));
    if (canScroll)
        DrawFrame(pDC, m_hThumb, ThumbFrameOf(m_press.dragging, m_bDragStarted, m_nHover == kZoneThumb),
                  kThumbFrameWidth,
                  CRect(m_nThumbStart, kThumbInset, m_nThumbStart + kThumbLength, kBarThickness - kThumbInset));
}

void CSkinHScrollBar::OnLButtonDown(UINT, CPoint point)
{
    SetCapture();
    switch (Geometry().HitTest(point.x, m_nThumbStart, CanScroll() != FALSE)) {
    case kZoneThumb:
        m_press.dragging = true;
        m_bDragStarted = false;
        break;
    case kZoneForwardArrow:
        m_press.forwardPressed = true;
        SetTimer(kDelayTimer, kDelayMs, NULL);
        break;
    case kZoneBackArrow:
        m_press.backPressed = true;
        SetTimer(kDelayTimer, kDelayMs, NULL);
        break;
    default:
        m_bTrackPressed = true;
        break;
    }
    Invalidate(FALSE);
}

void CSkinHScrollBar::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == kDelayTimer) {
        KillTimer(kDelayTimer);
        if (m_press.backPressed || m_press.forwardPressed)
            SetTimer(kRepeatTimer, kRepeatMs, NULL);
    } else if (nIDEvent == kRepeatTimer) {
        if (m_press.backPressed)
            SendScroll(kLineBack);
        else if (m_press.forwardPressed)
            SendScroll(kLineForward);
        else
            KillTimer(kRepeatTimer);
    } else {
        CSkinScrollBarBase::OnTimer(nIDEvent);
    }
}

void CSkinHScrollBar::OnLButtonUp(UINT nFlags, CPoint point)
{
    KillTimer(kRepeatTimer);
    KillTimer(kDelayTimer);
    CSkinScrollBarBase::OnLButtonUp(nFlags, point);
}

// ---- List ------------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CSkinListCtrl, CListCtrl)

BEGIN_MESSAGE_MAP(CSkinListCtrl, CListCtrl)
    ON_WM_NCCALCSIZE()
    ON_WM_MOUSEWHEEL()
    ON_WM_KEYDOWN()
    ON_WM_KEYUP()
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnCustomDraw)
END_MESSAGE_MAP()

void CSkinListCtrl::PreSubclassWindow()
{
    HWND hHeader = (HWND)::SendMessage(m_hWnd, LVM_GETHEADER, 0, 0);
    if (hHeader != NULL && m_header.GetSafeHwnd() == NULL)
        m_header.SubclassWindow(hHeader);
    ModifyStyle(0, LVS_OWNERDRAWFIXED);
    CListCtrl::PreSubclassWindow();
}

namespace {

// The flat scroll bar functions of the common controls, looked up when
// first used: not every import library of the system's controls has them.
typedef BOOL(WINAPI* InitializeFlatSBProc)(HWND);
typedef BOOL(WINAPI* FlatSBEnableScrollBarProc)(HWND, int, UINT);

void MakeBarsFlatAndDisabled(HWND hWnd)
{
    HMODULE hComCtl = ::GetModuleHandleA("comctl32.dll");
    if (hComCtl == NULL)
        return;
    auto pInit = reinterpret_cast<InitializeFlatSBProc>(
        reinterpret_cast<void (*)()>(::GetProcAddress(hComCtl, "InitializeFlatSB")));
    auto pEnable = reinterpret_cast<FlatSBEnableScrollBarProc>(
        reinterpret_cast<void (*)()>(::GetProcAddress(hComCtl, "FlatSB_EnableScrollBar")));
    if (pInit != NULL)
        pInit(hWnd);
    if (pEnable != NULL)
        pEnable(hWnd, SB_BOTH, ESB_DISABLE_BOTH);
}

}  // namespace

void CSkinListCtrl::SetupScrollBars(BOOL bCheckBoxes)
{
    m_bCheckBoxes = bCheckBoxes;
    MakeBarsFlatAndDisabled(m_hWnd);
    CWnd* pParent = GetParent();
    if (pParent == NULL)
        return;
    CRect rc;
    GetWindowRect(&rc);
    pParent->ScreenToClient(&rc);
    if (m_vbar.GetSafeHwnd() == NULL)
        m_vbar.Create("", kBarStyle, CRect(0, 0, 0, 0), pParent, kBarId);
    m_vbar.MoveWindow(rc.right, rc.top, kBarThickness, rc.Height());
    if (m_hbar.GetSafeHwnd() == NULL)
        m_hbar.Create("", kBarStyle, CRect(0, 0, 0, 0), pParent, kBarId);
    m_hbar.MoveWindow(rc.left, rc.bottom, rc.Width(), kBarThickness);
    m_vbar.SetList(this);
    m_hbar.SetList(this);
    SetExtendedStyle(kListExStyle);
    // The list's own bars give way to the skinned ones (see OnNcCalcSize).
    ModifyStyle(WS_HSCROLL | WS_VSCROLL, 0, SWP_FRAMECHANGED);
    RefreshBars();
}

void CSkinListCtrl::RefreshBars()
{
    m_vbar.Refresh();
    m_hbar.Refresh();
}

void CSkinListCtrl::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*)
{
    // The list's own bars give way to the skinned ones beside it: without
    // the scroll-bar styles the frame keeps no room for them, while the
    // list's scroll state stays as it was.
    if (m_vbar.GetSafeHwnd() != NULL)
        ModifyStyle(WS_HSCROLL | WS_VSCROLL, 0, 0);
    Default();
    RefreshBars();
}

BOOL CSkinListCtrl::OnMouseWheel(UINT, short, CPoint)
{
    const BOOL bResult = (BOOL)Default();
    RefreshBars();
    return bResult;
}

void CSkinListCtrl::OnKeyDown(UINT, UINT, UINT)
{
    Default();
    RefreshBars();
}

void CSkinListCtrl::OnKeyUp(UINT, UINT, UINT)
{
    Default();
    RefreshBars();
}

BOOL CSkinListCtrl::OnEraseBkgnd(CDC*)
{
    RefreshBars();
    return TRUE;
}

void CSkinListCtrl::OnPaint()
{
    CPaintDC dc(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    if (rcClient.IsRectEmpty())
        return;
    CDC mem;
    CBitmap bmp;
    if (!mem.CreateCompatibleDC(&dc) || !bmp.CreateCompatibleBitmap(&dc, rcClient.Width(), rcClient.Height()))
        return;
    CBitmap* pOld = mem.SelectObject(&bmp);
    if (m_header.GetSafeHwnd() != NULL && m_header.IsWindowVisible()) {
        CRect rcHeader;
        m_header.GetWindowRect(&rcHeader);
        ScreenToClient(&rcHeader);
        dc.ExcludeClipRect(&rcHeader);
        mem.ExcludeClipRect(&rcHeader);
    }
    CRect rcBox;
    dc.GetClipBox(&rcBox);
    mem.FillSolidRect(&rcBox, kBackground);
    SetTextBkColor(kBackground);
    RefreshBars();
    // The list draws itself (rows through DrawItem) into the memory DC.
    DefWindowProc(WM_PAINT, (WPARAM)mem.GetSafeHdc(), 0);
    dc.BitBlt(rcBox.left, rcBox.top, rcBox.Width(), rcBox.Height(), &mem, rcBox.left, rcBox.top, SRCCOPY);
    mem.SelectObject(pOld);
}

void CSkinListCtrl::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    const int nItem = (int)lpDIS->itemID;
    const BOOL bSelected = (lpDIS->itemState & ODS_SELECTED) != 0;
    if (m_font.GetSafeHandle() == NULL)
        CreateSkinFont(m_font);
    // Rows are centred by the height of the default GUI font.
    TEXTMETRICA tm = {};
    {
        HGDIOBJ hOld = ::SelectObject(lpDIS->hDC, ::GetStockObject(DEFAULT_GUI_FONT));
        ::GetTextMetricsA(lpDIS->hDC, &tm);
        ::SelectObject(lpDIS->hDC, hOld);
    }
    CFont* pOldFont = pDC->SelectObject(&m_font);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(kRowText);
    const int nColumns = m_header.GetSafeHwnd() != NULL ? m_header.GetItemCount() : 1;
    int left = lpDIS->rcItem.left;
    for (int col = 0; col < nColumns; col++) {
        const int width = GetColumnWidth(col);
        CRect rcCell(left, lpDIS->rcItem.top, left + width, lpDIS->rcItem.bottom);
        left += width;
        const CString text = GetItemText(nItem, col);
        if (!bSelected && col == kFilledColumn)
            pDC->FillSolidRect(&rcCell, kColumnFill);
        if (bSelected) {
            if (m_bCheckBoxes)
                rcCell.left -= kCheckBoxShift;
            else
                pDC->FillSolidRect(&rcCell, ::GetSysColor(COLOR_HIGHLIGHT));
        }
        CRect rcText = rcCell;
        rcText.top += (rcCell.Height() - tm.tmHeight) / 2;
        pDC->DrawText(text, -1, &rcText, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    pDC->SelectObject(pOldFont);
}

void CSkinListCtrl::OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult)
{
    NMLVCUSTOMDRAW* pDraw = reinterpret_cast<NMLVCUSTOMDRAW*>(pNMHDR);
    *pResult = CDRF_DODEFAULT;
    const int nItem = (int)pDraw->nmcd.dwItemSpec;
    switch (pDraw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        *pResult = CDRF_NOTIFYITEMDRAW;
        break;
    case CDDS_ITEMPREPAINT:
        if (GetItemState(nItem, LVIS_SELECTED) & LVIS_SELECTED) {
            pDraw->clrText = kSelectedText;
            pDraw->clrTextBk = kSelectedBack;
            // Drawn without the list's highlight; the state comes back after.
            SetItemState(nItem, 0, LVIS_SELECTED);
            *pResult = CDRF_NOTIFYPOSTPAINT;
        }
        break;
    case CDDS_ITEMPOSTPAINT: {
        SetItemState(nItem, LVIS_SELECTED, LVIS_SELECTED);
        // The state's round trip asked for a repaint of the row being
        // painted: not needed, and it would paint the list again and again.
        CRect rcRow;
        if (GetItemRect(nItem, &rcRow, LVIR_BOUNDS))
            ValidateRect(&rcRow);
        break;
    }
    default:
        break;
    }
}
