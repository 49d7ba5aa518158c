// ODNcMgrWnd.cpp - the scrolling hosts' base window.
#include "ODNcMgrWnd.h"

#include "ODDrawing.h"
#include "ODLibrary.h"
#include "ODSBContainerWnd.h"

namespace {

const char kPropNcMgr[] = "ODNcMgrWnd";
const ODThemeLoaderRegistration s_themeLoader(OD_LOADER_NCMGRWND, &CODNcMgrWnd::LoadTheme);

}  // namespace

LPCSTR ODResourceTypeName(int typeIndex)
{
    static const char* const kTypes[] = {"ODRES_BITMAP", "ODRES_GIF", "ODRES_JPEG", "ODRES_PNG"};
    return typeIndex >= 0 && typeIndex < 4 ? kTypes[typeIndex] : kTypes[0];
}

IMPLEMENT_DYNAMIC(CODNcMgrWnd, CWnd)

BEGIN_MESSAGE_MAP(CODNcMgrWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_NCPAINT()
END_MESSAGE_MAP()

COLORREF CODNcMgrWnd::s_borderColour = RGB(0, 0, 255);

CODNcMgrWnd::CODNcMgrWnd() : m_borderColour(s_borderColour), m_bkImage(new CQVDib16) {}

CODNcMgrWnd::~CODNcMgrWnd()
{
    if (m_bkImage) {
        m_bkImage->Free();
        delete m_bkImage;
    }
}

void CODNcMgrWnd::LoadTheme()
{
    s_borderColour = ODGetThemeColor("ODNcMgrWnd", "ColorBorder", s_borderColour);
}

int CODNcMgrWnd::OnCreate(LPCREATESTRUCT cs)
{
    if (CWnd::OnCreate(cs) == -1)
        return -1;
    RefreshBorder();
    ::SetPropA(m_hWnd, OD_PROP_CTRL, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(OD_CTRL_ID)));
    ::SetPropA(m_hWnd, kPropNcMgr, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(OD_NCMGRWND_ID)));
    return 0;
}

LRESULT CODNcMgrWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != 0 && message == ODGetThemeMessage()) {
        LoadTheme();
        RefreshBorder();
        Invalidate(TRUE);
    }
    return CWnd::DefWindowProc(message, wParam, lParam);
}

void CODNcMgrWnd::RefreshBorder()
{
    if (!m_customBorder)
        m_borderColour = s_borderColour;
    if (m_hWnd)
        PostMessage(WM_NCPAINT, 0, 0);
}

void CODNcMgrWnd::SetBorderColor(COLORREF colour, BOOL redraw)
{
    m_customBorder = TRUE;
    if (colour == m_borderColour)
        return;
    m_borderColour = colour;
    if (redraw && m_redraw)
        PaintFrameNow();
}

BOOL CODNcMgrWnd::WantsFrame() const
{
    if (!m_hWnd || !(GetStyle() & WS_BORDER))
        return FALSE;
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    const int kind = ::GetWindowRgn(m_hWnd, region);
    ::DeleteObject(region);
    return kind == ERROR;
}

void CODNcMgrWnd::DrawFrame(CDC* pDC)
{
    CRect window;
    GetWindowRect(&window);
    CPen pen;
    pen.CreatePen(PS_SOLID, 1, m_borderColour);
    CPen* oldPen = pDC->SelectObject(&pen);
    HGDIOBJ oldBrush = ::SelectObject(pDC->GetSafeHdc(), ::GetStockObject(NULL_BRUSH));
    pDC->Rectangle(0, 0, window.Width(), window.Height());
    ::SelectObject(pDC->GetSafeHdc(), oldBrush);
    pDC->SelectObject(oldPen);
}

void CODNcMgrWnd::PaintFrameNow()
{
    if (!m_hWnd || !IsWindowVisible() || !m_redraw)
        return;
    if (!WantsFrame())
        return;
    CWindowDC dc(this);
    DrawFrame(&dc);
}

void CODNcMgrWnd::OnNcPaint()
{
    if (!m_hWnd || !IsWindowVisible() || !m_redraw)
        return;
    Default();
    PaintFrameNow();
}

void CODNcMgrWnd::SetRedraw(BOOL redraw)
{
    m_redraw = redraw;
    if (!m_hWnd)
        return;
    SendMessage(WM_SETREDRAW, redraw, 0);
    CWnd* parent = GetParent();
    CWnd* permanent = parent ? CWnd::FromHandlePermanent(parent->m_hWnd) : nullptr;
    if (permanent && lstrcmpA(permanent->GetRuntimeClass()->m_lpszClassName, "CSBContainerWnd") == 0) {
        CSBContainerWnd* container = static_cast<CSBContainerWnd*>(permanent);
        for (int bar = 0; bar < 2; ++bar)
            if (CODScrollBarCtrl* ctrl = container->GetScrollBarCtrl(bar))
                if (ctrl->m_hWnd)
                    ctrl->SendMessage(WM_SETREDRAW, redraw, 0);
    }
    if (redraw) {
        Invalidate(TRUE);
        UpdateWindow();
    }
}

// ---- Background image ----------------------------------------------------------------------

BOOL CODNcMgrWnd::LoadedBitmap(HBITMAP bitmap, int mode, BOOL redraw)
{
    const BOOL loaded = SetBkImage(bitmap, mode, redraw);
    if (bitmap)
        ::DeleteObject(bitmap);
    return loaded;
}

BOOL CODNcMgrWnd::SetBkImage(HBITMAP bitmap, int mode, BOOL redraw)
{
    m_bkImage->Free();
    const BOOL loaded = bitmap ? m_bkImage->LoadFromBitmap(bitmap) : FALSE;
    m_bkMode = mode;
    if (redraw && m_redraw && m_hWnd && HasBkImage())
        Invalidate(TRUE);
    return loaded;
}

BOOL CODNcMgrWnd::SetBkImageFromResource(UINT id, int mode, BOOL redraw)
{
    HMODULE module = ODGetResourceModule();
    HBITMAP bitmap = static_cast<HBITMAP>(::LoadImageA(module ? module : AfxGetInstanceHandle(),
                                                       MAKEINTRESOURCEA(LOWORD(id)), IMAGE_BITMAP, 0, 0,
                                                       LR_CREATEDIBSECTION));
    return LoadedBitmap(bitmap, mode, redraw);
}

BOOL CODNcMgrWnd::SetBkImageFromTypedResource(UINT id, int mode, LPCSTR type, int typeIndex, WORD language,
                                              BOOL redraw)
{
    HMODULE module = ODGetResourceModule();
    m_bkImage->Free();
    const BOOL loaded = m_bkImage->LoadFromResourceOrFile(module ? module : AfxGetInstanceHandle(),
                                                         MAKEINTRESOURCEA(LOWORD(id)),
                                                         type ? type : ODResourceTypeName(typeIndex), language);
    m_bkMode = mode;
    if (redraw && m_redraw && m_hWnd && HasBkImage())
        Invalidate(TRUE);
    return loaded;
}

BOOL CODNcMgrWnd::SetBkImageFromFile(LPCSTR path, int mode, BOOL redraw)
{
    m_bkImage->Free();
    const BOOL loaded = path ? m_bkImage->LoadFromFile(path) : FALSE;
    m_bkMode = mode;
    if (redraw && m_redraw && m_hWnd && HasBkImage())
        Invalidate(TRUE);
    return loaded;
}

void CODNcMgrWnd::DrawBkImage(CDC* pDC, const RECT* rect)
{
    if (!pDC || !rect || !HasBkImage())
        return;
    HBITMAP bitmap = m_bkImage->CreateBitmap();
    if (!bitmap)
        return;
    ODDrawBitmapInRect(pDC, *rect, bitmap, m_bkMode);
    ::DeleteObject(bitmap);
}
