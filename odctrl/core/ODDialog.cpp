// ODDialog.cpp - the owner-draw dialog.
#include "ODDialog.h"

#include <string.h>

#include "ODButton.h"
#include "ODDrawing.h"
#include "ODLibrary.h"
#include "ODStatic.h"

IMPLEMENT_DYNAMIC(CODDialog, CDialog)

namespace {

const char kSection[] = "ODDialog";
const ODThemeLoaderRegistration s_loader(OD_LOADER_DIALOG, &CODDialog::LoadTheme);

const char* const kImageKeys[CODDialog::ImgDescCount] = {
    "ClientBkImg",
    "EdgeLeftImg",     "EdgeRightImg",     "EdgeTopImg",       "EdgeBottomImg",
    "EdgeLeftTopImg",  "EdgeRightTopImg",  "EdgeLeftBottomImg", "EdgeRightBottomImg",
    "BorderLeftImg",   "BorderRightImg",   "BorderTopImg",     "BorderBottomImg",
    "BorderLeftTopImg", "BorderRightTopImg", "BorderLeftBottomImg", "BorderRightBottomImg",
};

// The caption bar's pictures in the order of their timers 60006-60010.
const int kCaptionButtonImages[5] = {CODTitleBar::ImgSysMenu, CODTitleBar::ImgMin, CODTitleBar::ImgMax,
                                     CODTitleBar::ImgClose, CODTitleBar::ImgRestore};

void CopyDescription(char* to, LPCSTR from)
{
    const char* text = from ? from : "";
    const size_t n = strnlen(text, CODDialog::kDescSize - 1);
    memmove(to, text, n);
    to[n] = 0;
}

}  // namespace

CODDialog::Defaults& CODDialog::ClassDefaults()
{
    static Defaults d = [] {
        Defaults v = {};
        v.borderColour = 0xFF0000;
        v.clientStart = ::GetSysColor(COLOR_BTNFACE);
        v.clientEnd = ::GetSysColor(COLOR_BTNFACE);
        v.clientBkMode = 0;
        return v;
    }();
    return d;
}

void CODDialog::LoadTheme()
{
    Defaults& d = ClassDefaults();
    d.borderColour = ODGetThemeColor(kSection, "BorderColor", d.borderColour);
    d.clientStart = ODGetThemeColor(kSection, "ClientStartColor", d.clientStart);
    d.clientEnd = ODGetThemeColor(kSection, "ClientEndColor", d.clientEnd);
    d.clientBkMode = static_cast<int>(ODGetThemeColor(kSection, "ClientBkMode", static_cast<COLORREF>(d.clientBkMode)));
    for (int i = 0; i < ImgDescCount; ++i) {
        char value[kDescSize];
        ODGetThemeString(kSection, kImageKeys[i], d.images[i], value, sizeof value);
        CopyDescription(d.images[i], value);
    }
    CODTitleBar::LoadTitleBarTheme(kSection);
}

CODDialog::CODDialog() : CDialog() { InitState(); m_captionHeight = 25; }

CODDialog::CODDialog(UINT nIDTemplate, CWnd* pParent) : CDialog(nIDTemplate, pParent)
{
    InitState();
    m_captionHeight = 20;
}

void CODDialog::InitState()
{
    const Defaults& d = ClassDefaults();
    m_borderColour = d.borderColour;
    m_clientStart = d.clientStart;
    m_clientEnd = d.clientEnd;
    m_clientBkMode = d.clientBkMode;
    m_borderColourSet = m_clientStartSet = m_clientEndSet = m_clientBkModeSet = FALSE;
    memcpy(m_images, d.images, sizeof m_images);
    memset(m_imageSet, 0, sizeof m_imageSet);
    m_userValue = 0;
    m_savedStyle = 0;
    m_defaultClientWidth = m_defaultClientHeight = 0;
    m_gradient.SetColors(m_clientStart, m_clientEnd);
}

CODDialog::~CODDialog()
{
    m_clientImage.StopAnimation(TRUE);
    m_clientImage.Release();
}

// ---- Theme ------------------------------------------------------------------------------------

void CODDialog::LoadClientImage()
{
    m_clientImage.Release();
    if (m_clientBkMode == 1 && m_images[ImgClient][0]) {
        ODLoadSkinImage(m_images[ImgClient], &m_clientImage);
        m_clientImage.SetDrawMode(CODSkinImage::DrawTile);
    }
}

void CODDialog::ApplyTheme()
{
    CODTitleBar::ApplyTheme();
    const Defaults& d = ClassDefaults();
    if (!m_borderColourSet)
        m_borderColour = d.borderColour;
    if (!m_clientStartSet)
        m_clientStart = d.clientStart;
    if (!m_clientEndSet)
        m_clientEnd = d.clientEnd;
    if (!m_clientBkModeSet)
        m_clientBkMode = d.clientBkMode;
    for (int i = 0; i < ImgDescCount; ++i)
        if (!m_imageSet[i])
            memcpy(m_images[i], d.images[i], kDescSize);

    LoadClientImage();
    const DWORD style = m_hWnd ? GetStyle() : m_savedStyle;
    const oddlg::Kind kind = oddlg::KindOf(style);
    for (int i = 0; i < ImageCount; ++i) {
        CODSkinImage& image = CODSkinFrame::GetImage(i);
        image.Release();
        const char* piece = oddlg::FramePiece(kind, m_images[ImgEdge + i], m_images[ImgBorder + i]);
        if (piece && piece[0])
            ODLoadSkinImage(piece, &image);
        image.SetDrawMode(i <= EdgeBottom ? CODSkinImage::DrawTile : CODSkinImage::DrawPlain);
    }
    CODSkinFrame::SetColor(m_borderColour, 0);
    m_gradient.SetColors(m_clientStart, m_clientEnd);
}

void CODDialog::SetImageOwners()
{
    for (int i = ImgStart; i <= ImgEnd; ++i)
        CODTitleBar::GetImage(i).SetOwner(this, TimerCaptionStart + i, FALSE);
    CODTitleBar::GetTxtMov().SetOwner(this, TimerCaptionText, FALSE);
    m_clientImage.SetOwner(this, TimerClientImage, TRUE);
    for (int i = 0; i < 5; ++i)
        CODTitleBar::GetImage(kCaptionButtonImages[i]).SetOwner(this, TimerCaptionButtons + i, FALSE);
    for (int i = 0; i < ImageCount; ++i)
        CODSkinFrame::GetImage(i).SetOwner(this, TimerFrame + i, FALSE);
}

// ---- Setters ----------------------------------------------------------------------------------

void CODDialog::SetClientColors(COLORREF start, COLORREF end)
{
    if (start != static_cast<COLORREF>(-1))
        m_clientStart = start;
    m_clientEnd = end == static_cast<COLORREF>(-1) ? m_clientStart : end;
    m_clientStartSet = m_clientEndSet = TRUE;
    m_gradient.SetColors(m_clientStart, m_clientEnd);
    if (m_hWnd)
        Invalidate();
}

void CODDialog::GetClientColors(COLORREF* start, COLORREF* end) const
{
    if (start)
        *start = m_clientStart;
    if (end)
        *end = m_clientEnd;
}

int CODDialog::SetClientBkMode(int mode)
{
    const int old = m_clientBkMode;
    m_clientBkMode = mode;
    m_clientBkModeSet = TRUE;
    if (mode == 1) {
        if (m_clientImage.IsEmpty())
            LoadClientImage();
    } else {
        m_clientImage.Release();
    }
    if (mode != old && m_hWnd)
        Invalidate();
    return old;
}

COLORREF CODDialog::SetBorderColor(COLORREF colour)
{
    const COLORREF old = m_borderColour;
    m_borderColour = colour;
    m_borderColourSet = TRUE;
    CODSkinFrame::SetColor(colour, 0);
    return old;
}

void CODDialog::SetImageDescription(int index, LPCSTR description)
{
    if (index < 0 || index >= ImgDescCount)
        return;
    CopyDescription(m_images[index], description);
    m_imageSet[index] = TRUE;
}

LPCSTR CODDialog::GetImageDescription(int index) const
{
    return (index >= 0 && index < ImgDescCount) ? m_images[index] : "";
}

CString CODDialog::SetTooltipText(LPCSTR text)
{
    const CString old = m_tipText;
    m_tipText = text ? text : "";
    return old;
}

void CODDialog::EnableTooltip()
{
    if (!m_tooltip.m_hWnd) {
        if (!m_hWnd || !m_tooltip.Create(this, FALSE))
            return;
        m_tooltip.AddTool(this, m_tipText);
        m_tooltip.Activate(TRUE);
    } else {
        m_tooltip.UpdateTipText(m_tipText, this);
    }
}

void CODDialog::RelayToTooltip(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!m_tooltip.m_hWnd)
        return;
    m_tooltip.UpdateTipText(m_tipText, this);
    MSG msg = {};
    msg.hwnd = m_hWnd;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.pt.x = static_cast<short>(LOWORD(lParam));
    msg.pt.y = static_cast<short>(HIWORD(lParam));
    m_tooltip.RelayEvent(&msg);
    NcPaint();
}

int CODDialog::SetUserValue(int value)
{
    const int old = m_userValue;
    m_userValue = value;
    return old;
}

int CODDialog::GetWindowText(LPSTR buffer, int max) const
{
    CString text;
    const_cast<CODDialog*>(this)->CODTitleBar::GetTxtMov().GetPlainText(text);
    return oddlg::CopyBounded(text, buffer, max);
}

int CODDialog::GetWindowTextLength() const
{
    CString text;
    const_cast<CODDialog*>(this)->CODTitleBar::GetTxtMov().GetPlainText(text);
    return text.GetLength();
}

namespace {

void DeliverToDialog(HWND w, const ODBroadcastRecord& r)
{
    if (reinterpret_cast<INT_PTR>(::GetPropA(w, "ODDialog")) != OD_DIALOG_ID)
        return;
    if (r.send)
        ::SendMessageA(w, r.message, r.wParam, r.lParam);
    else
        ::PostMessageA(w, r.message, r.wParam, r.lParam);
}

BOOL CALLBACK DeliverToChildDialog(HWND w, LPARAM lParam)
{
    DeliverToDialog(w, *reinterpret_cast<const ODBroadcastRecord*>(lParam));
    return TRUE;
}

}  // namespace

void CODDialog::BroadcastToDialogs(HWND hWnd, const ODBroadcastRecord& record)
{
    if (!hWnd)
        return;
    DeliverToDialog(hWnd, record);
    ::EnumChildWindows(hWnd, DeliverToChildDialog, reinterpret_cast<LPARAM>(&record));
}

// ---- Initialisation ---------------------------------------------------------------------------

oddlg::Kind CODDialog::Kind() const { return oddlg::KindOf(GetStyle()); }

oddlg::Widths CODDialog::Widths() const
{
    int w[4];
    GetBorderWidths(w);
    oddlg::Widths out;
    out.left = w[0];
    out.top = w[1];
    out.right = w[2];
    out.bottom = w[3];
    return out;
}

BOOL CODDialog::OnInitDialog()
{
    const BOOL result = CDialog::OnInitDialog();
    ODSetCtrlProps(m_hWnd, OD_DIALOG_ID);
    SetImageOwners();
    CString text;
    CWnd::GetWindowText(text);
    SetWindowText(text);
    ApplyTheme();

    int w[4];
    GetBorderWidths(w);
    if (!CODSkinFrame::GetImage(EdgeLeft).IsEmpty())
        w[0] = CODSkinFrame::GetImage(EdgeLeft).GetCellSize().cx;
    if (!CODSkinFrame::GetImage(EdgeTop).IsEmpty())
        w[1] = CODSkinFrame::GetImage(EdgeTop).GetCellSize().cy;
    if (!CODSkinFrame::GetImage(EdgeRight).IsEmpty())
        w[2] = CODSkinFrame::GetImage(EdgeRight).GetCellSize().cx;
    if (!CODSkinFrame::GetImage(EdgeBottom).IsEmpty())
        w[3] = CODSkinFrame::GetImage(EdgeBottom).GetCellSize().cy;
    SetBorderWidths(NULL, w);
    if (!CODTitleBar::GetImage(ImgCenter).IsEmpty())
        m_captionHeight = CODTitleBar::GetImage(ImgCenter).GetCellSize().cy;

    m_savedStyle = GetStyle();
    SetStyleFlags(m_savedStyle);
    // The client background is painted through a back buffer over the whole
    // client area; clipped to the space between the children, it never
    // covers a child that has painted itself (they take their copy of it).
    ModifyStyle(WS_SYSMENU, WS_CLIPCHILDREN);

    int width = 0, height = 0;
    oddlg::WindowSize(oddlg::KindOf(m_savedStyle), m_defaultClientWidth, m_defaultClientHeight, Widths(),
                      m_captionHeight, &width, &height);
    ::SetWindowPos(m_hWnd, NULL, 0, 0, width, height,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);

    LOGFONT lf;
    HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    if (font && ::GetObjectA(font, sizeof lf, &lf) > 0)
        CODTitleBar::GetTxtMov().SetFont(&lf);

    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        CODButton* button = dynamic_cast<CODButton*>(CWnd::FromHandlePermanent(child));
        if (!button)
            continue;
        // The type the button had before it became owner-drawn.
        const UINT kind = button->GetButtonType();
        if ((kind & 0x2) || (kind & 0xF) == BS_AUTORADIOBUTTON)
            button->SetTransparent(FALSE);
    }
    return result;
}

// ---- Non-client area --------------------------------------------------------------------------

LRESULT CODDialog::OnNcCalcSize(WPARAM wParam, LPARAM lParam)
{
    RECT* r = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
    const RECT proposed = *r;
    const LRESULT result = CDialog::WindowProc(WM_NCCALCSIZE, wParam, lParam);
    m_defaultClientWidth = r->right - r->left;
    m_defaultClientHeight = r->bottom - r->top;
    const oddlg::Rect window = {proposed.left, proposed.top, proposed.right, proposed.bottom};
    const oddlg::Rect client = oddlg::ClientRect(Kind(), window, Widths(), m_captionHeight);
    r->left = client.left;
    r->top = client.top;
    r->right = client.right;
    r->bottom = client.bottom;
    if (IsWindowVisible())
        NcPaint();
    return wParam ? 0 : result;
}

void CODDialog::NcPaint()
{
    if (!m_hWnd)
        return;
    const oddlg::Kind kind = Kind();
    if (kind == oddlg::KindNone)
        return;
    CRect window;
    GetWindowRect(&window);
    const int W = window.Width(), H = window.Height();
    const CRect whole(0, 0, W, H);
    const CRect caption(0, 0, W, m_captionHeight);
    const oddlg::Widths w = Widths();
    CWindowDC dc(this);
    if (kind == oddlg::KindCaption && IsIconic()) {
        CODBackDC back(&dc, &caption, FALSE);
        CODTitleBar::Draw(&back, &caption);
        return;
    }
    if (kind == oddlg::KindCaption) {
        dc.ExcludeClipRect(w.left, m_captionHeight, W - w.right, H - w.bottom);
        CODBackDC back(&dc, &whole, FALSE);
        CODSkinFrame::Draw(&back, whole);
        CODTitleBar::Draw(&back, &caption);
        return;
    }
    dc.ExcludeClipRect(w.left, w.top, W - w.right, H - w.bottom);
    CODBackDC back(&dc, &whole, FALSE);
    CODSkinFrame::Draw(&back, whole);
}

HRGN CODDialog::FrameTransparentRegion(int width, int height)
{
    // Each part's rectangle less its picture's opaque pixels (a picture
    // without a transparent colour gives no region and leaves its part whole).
    CRect parts[ImageCount];
    PartRects(width, height, parts);
    HRGN result = NULL;
    for (int i = 0; i < ImageCount; ++i) {
        CODSkinImage& image = CODSkinFrame::GetImage(i);
        if (image.IsEmpty() || parts[i].IsRectEmpty())
            continue;
        HRGN opaque = image.GetRegionInRect(parts[i], 0);
        if (!opaque)
            continue;
        HRGN part = ::CreateRectRgnIndirect(&parts[i]);
        ::CombineRgn(part, part, opaque, RGN_DIFF);
        ::DeleteObject(opaque);
        if (!result) {
            result = part;
        } else {
            ::CombineRgn(result, result, part, RGN_OR);
            ::DeleteObject(part);
        }
    }
    return result;
}

void CODDialog::UpdateRegion()
{
    const oddlg::Kind kind = Kind();
    if (kind == oddlg::KindNone)
        return;
    CRect window;
    GetWindowRect(&window);
    const int W = window.Width(), H = window.Height();
    HRGN region = ::CreateRectRgn(0, 0, W, H);
    if (kind == oddlg::KindCaption) {
        // The caption's pictures cover its width: what they leave out is transparent.
        const CRect caption(0, 0, W, m_captionHeight);
        if (HRGN opaque = CODTitleBar::GetClipRegion(caption)) {
            HRGN cut = ::CreateRectRgnIndirect(&caption);
            ::CombineRgn(cut, cut, opaque, RGN_DIFF);
            ::CombineRgn(region, region, cut, RGN_DIFF);
            ::DeleteObject(cut);
            ::DeleteObject(opaque);
        }
    }
    if (HRGN cut = FrameTransparentRegion(W, H)) {
        if (kind == oddlg::KindCaption) {
            HRGN below = ::CreateRectRgn(0, m_captionHeight, W, H);
            ::CombineRgn(cut, cut, below, RGN_AND);
            ::DeleteObject(below);
        }
        ::CombineRgn(region, region, cut, RGN_DIFF);
        ::DeleteObject(cut);
    }
    // The window owns the region from here on.
    if (!::SetWindowRgn(m_hWnd, region, TRUE))
        ::DeleteObject(region);
}

LRESULT CODDialog::OnNcMouse(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!(m_savedStyle & WS_CAPTION) || (m_savedStyle & WS_CAPTION) != WS_CAPTION)
        return CDialog::WindowProc(message, wParam, lParam);
    CRect window;
    GetWindowRect(&window);
    const POINT p = {static_cast<short>(LOWORD(lParam)) - window.left, static_cast<short>(HIWORD(lParam)) - window.top};
    const CRect caption(0, 0, window.Width(), m_captionHeight);
    const int hit = CODTitleBar::HitTest(&caption, p);
    bool repaint = false;
    oddlg::Action action = oddlg::ActDefault;
    switch (message) {
    case WM_NCLBUTTONDOWN:
        action = m_buttons.ButtonDown(hit, IsZoomed() != FALSE, &repaint);
        break;
    case WM_NCMOUSEMOVE:
        action = m_buttons.MouseMove(hit, &repaint);
        break;
    default:
        action = m_buttons.ButtonUp(hit, &repaint);
        break;
    }
    for (int i = 0; i < 3; ++i)
        SetButtonState(i, m_buttons.states[i]);
    switch (action) {
    case oddlg::ActClose:
        PostMessage(WM_CLOSE);
        break;
    case oddlg::ActMaximize:
        if (IsZoomed()) {
            ShowWindow(SW_RESTORE);
            SetMaximized(FALSE);
        } else {
            ShowWindow(SW_MAXIMIZE);
            SetMaximized(TRUE);
        }
        break;
    case oddlg::ActMinimize: {
        const BOOL iconic = IsIconic();
        ShowWindow(iconic ? SW_RESTORE : SW_MINIMIZE);
        SetMinimized(!iconic);
        break;
    }
    default:
        break;
    }
    if (repaint)
        NcPaint();
    if (action == oddlg::ActDefault)
        return CDialog::WindowProc(message, wParam, lParam);
    return 0;
}

// ---- Client area ------------------------------------------------------------------------------

BOOL CODDialog::EraseBackground(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    CODBackDC back(pDC, &client, FALSE);
    if (m_clientBkMode == 1 && !m_clientImage.IsEmpty())
        m_clientImage.Draw(&back, client, 0);
    else
        m_gradient.Draw(&back, client);
    PaintChildBackgrounds(&back);
    return TRUE;
}

void CODDialog::PaintChildBackgrounds(CDC* pDC)
{
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        CWnd* wnd = CWnd::FromHandlePermanent(child);
        if (CODStatic* st = dynamic_cast<CODStatic*>(wnd)) {
            st->CopyParentBackground(pDC);
            st->Invalidate(FALSE);
        } else if (CODButton* button = dynamic_cast<CODButton*>(wnd)) {
            CRect r;
            button->GetWindowRect(&r);
            ScreenToClient(&r);
            if (pDC->RectVisible(&r)) {
                button->CaptureBackground(pDC);
                button->Invalidate(FALSE);
            }
        }
    }
}

// ---- Messages ---------------------------------------------------------------------------------

BOOL CODDialog::PreTranslateMessage(MSG* pMsg)
{
    if (m_tooltip.m_hWnd) {
        m_tooltip.UpdateTipText(m_tipText, this);
        m_tooltip.RelayEvent(pMsg);
    }
    return CDialog::PreTranslateMessage(pMsg);
}

LRESULT CODDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCCALCSIZE:
        return OnNcCalcSize(wParam, lParam);
    case WM_NCPAINT:
        NcPaint();
        return 0;
    case WM_NCACTIVATE:
        return TRUE;
    case WM_NCLBUTTONDOWN:
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONUP:
        return OnNcMouse(message, wParam, lParam);
    case WM_MOUSEMOVE:
        if (m_buttons.Reset()) {
            for (int i = 0; i < 3; ++i)
                SetButtonState(i, 0);
            NcPaint();
        }
        break;
    case WM_TIMER: {
        const UINT_PTR id = wParam;
        if (id == TimerCaptionText) {
            CODTitleBar::GetTxtMov().OnTick();
        } else if (id == TimerClientImage) {
            m_clientImage.AdvanceFrame();
        } else if (id >= TimerCaptionStart && id < TimerCaptionText) {
            CODTitleBar::GetImage(static_cast<int>(id - TimerCaptionStart)).AdvanceFrame();
        } else if (id >= TimerCaptionButtons && id < TimerFrame) {
            CODTitleBar::GetImage(kCaptionButtonImages[id - TimerCaptionButtons]).AdvanceFrame();
        } else if (id >= TimerFrame && id <= TimerLast) {
            CODSkinFrame::GetImage(static_cast<int>(id - TimerFrame)).AdvanceFrame();
        }
        break;
    }
    case WM_ERASEBKGND: {
        CDC* pDC = CDC::FromHandle(reinterpret_cast<HDC>(wParam));
        return EraseBackground(pDC);
    }
    case WM_PAINT:
        ValidateRect(NULL);
        return 0;
    case WM_SIZE:
        if (wParam == SIZE_MINIMIZED) {
            SetMinimized(TRUE);
            SetMaximized(FALSE);
        } else if (wParam == SIZE_MAXIMIZED) {
            SetMaximized(TRUE);
            SetMinimized(FALSE);
        } else {
            SetMaximized(FALSE);
            SetMinimized(FALSE);
        }
        NcPaint();
        UpdateRegion();
        break;
    case WM_SETTEXT:
        CODTitleBar::SetText(lParam ? reinterpret_cast<LPCSTR>(lParam) : "");
        CDialog::WindowProc(message, wParam, lParam);
        return TRUE;
    default:
        break;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

LRESULT CODDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == ODGetThemeMessage() && m_hWnd) {
        ApplyTheme();
        CRect r;
        GetWindowRect(&r);
        ::SetWindowPos(m_hWnd, NULL, 0, 0, r.Width(), r.Height(),
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        Invalidate();
    }
    return CDialog::DefWindowProc(message, wParam, lParam);
}
