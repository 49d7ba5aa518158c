#include "HyperLinkLabel.h"

#include <shellapi.h>

namespace {

const UINT kHandCursorId = 29710;
const size_t kCursorPlaneBytes = 128;   // 32 x 32 at one bit per pixel

BOOL DefaultOpen(const char* pszAddress)
{
    return (INT_PTR)::ShellExecuteA(NULL, "open", pszAddress, NULL, NULL, SW_SHOW) > 32;
}
CHyperLinkLabel::OpenAddressRoutine g_pfnOpen = nullptr;

}  // namespace

CHyperLinkLabel::OpenAddressRoutine CHyperLinkLabel::SetOpenAddressRoutine(OpenAddressRoutine pfn)
{
    OpenAddressRoutine pOld = g_pfnOpen;
    g_pfnOpen = pfn;
    return pOld;
}

BEGIN_MESSAGE_MAP(CHyperLinkLabel, CStatic)
    ON_WM_PAINT()
    ON_WM_NCHITTEST()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_CAPTURECHANGED()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CHyperLinkLabel::CHyperLinkLabel(size_t nAddressCapacity)
    : m_crText(0), m_crLink(0xFF0000), m_bRelayout(TRUE), m_nAddressCapacity(nAddressCapacity),
      m_hHandCursor(NULL), m_hSavedCursor(NULL), m_bOverLink(FALSE), m_nCurrentLink(-1)
{
}

CHyperLinkLabel::~CHyperLinkLabel()
{
    if (m_hHandCursor != NULL)
        ::DestroyCursor(m_hHandCursor);
}

void CHyperLinkLabel::LoadHandCursor()
{
    HMODULE hModule = AfxGetResourceHandle();
    HRSRC hRes = ::FindResourceA(hModule, MAKEINTRESOURCEA(kHandCursorId), "HANDCURSOR");
    if (hRes == NULL || ::SizeofResource(hModule, hRes) < 2 * kCursorPlaneBytes)
        return;   // no (or a short) resource: the class cursor stays
    HGLOBAL hData = ::LoadResource(hModule, hRes);
    const BYTE* pBytes = hData != NULL ? static_cast<const BYTE*>(::LockResource(hData)) : nullptr;
    if (pBytes == nullptr)
        return;
    if (m_hHandCursor != NULL)
        ::DestroyCursor(m_hHandCursor);
    m_hHandCursor = ::CreateCursor(AfxGetInstanceHandle(), 6, 0, 32, 32, pBytes + kCursorPlaneBytes, pBytes);
}

void CHyperLinkLabel::OnPaint()
{
    CPaintDC dc(this);
    HDC hDC = dc.m_hDC;
    HWND hFontSource = ::GetParent(m_hWnd) != NULL ? ::GetParent(m_hWnd) : m_hWnd;
    HFONT hFont = (HFONT)::SendMessageA(hFontSource, WM_GETFONT, 0, 0);
    HGDIOBJ hOldFont = hFont != NULL ? ::SelectObject(hDC, hFont) : NULL;
    ::SetBkMode(hDC, TRANSPARENT);
    if (m_bRelayout)
        LoadHandCursor();

    char szText[widgets::kLabelTextLimit + 1];
    const int nLength = ::GetWindowTextA(m_hWnd, szText, sizeof szText);
    const std::string text(szText, nLength > 0 ? (size_t)nLength : 0);
    RECT rc;
    GetClientRect(&rc);
    auto measure = [hDC](const std::string& s) {
        SIZE size = {0, 0};
        ::GetTextExtentPoint32A(hDC, s.data(), (int)s.size(), &size);
        return widgets::TextExtent{size.cx, size.cy};
    };
    const std::vector<widgets::LinkPiece> pieces = widgets::ParseLinkText(text, m_nAddressCapacity);
    const widgets::LinkLayout layout = widgets::LayoutLinkText(text, pieces, rc.right, rc.bottom, measure);
    HBRUSH hLinkBrush = ::CreateSolidBrush(m_crLink);
    size_t nLink = 0;
    for (const widgets::PlacedPiece& placed : layout.placed) {
        const widgets::LinkPiece& p = pieces[placed.piece];
        const bool bLink = p.kind == widgets::PieceKind::Link;
        ::SetTextColor(hDC, bLink ? m_crLink : m_crText);
        ::TextOutA(hDC, placed.x, placed.y, text.data() + p.begin, (int)p.length);
        if (bLink && nLink < layout.links.size()) {
            const widgets::Rc& r = layout.links[nLink++].rect;
            RECT line = {r.left, r.bottom - 2, r.right, r.bottom - 1};
            ::FillRect(hDC, &line, hLinkBrush);
        }
    }
    ::DeleteObject(hLinkBrush);
    if (!m_bOverLink)   // the link under the mouse keeps its record while it is used
        m_links = layout.links;
    m_bRelayout = FALSE;
    if (hOldFont != NULL)
        ::SelectObject(hDC, hOldFont);
}

LRESULT CHyperLinkLabel::OnNcHitTest(CPoint point)
{
    const LRESULT lResult = Default();
    if (!m_bOverLink) {
        ScreenToClient(&point);
        const int nLink = widgets::HitTestLinks(m_links, widgets::Pt{point.x, point.y});
        if (nLink >= 0) {
            m_bOverLink = TRUE;
            m_nCurrentLink = nLink;
            if (m_hHandCursor != NULL)
                m_hSavedCursor = ::SetCursor(m_hHandCursor);
            SetCapture();
        }
    }
    return lResult;
}

void CHyperLinkLabel::OnLButtonDown(UINT /*nFlags*/, CPoint /*point*/)
{
    if (m_bOverLink && m_nCurrentLink >= 0 && m_nCurrentLink < (int)m_links.size()) {
        std::string address;
        if (widgets::NormaliseWebAddress(m_links[m_nCurrentLink].address, &address))
            (g_pfnOpen != nullptr ? g_pfnOpen : &DefaultOpen)(address.c_str());
    }
    Default();
}

void CHyperLinkLabel::LeaveLink()
{
    if (m_hHandCursor != NULL && m_hSavedCursor != NULL)
        ::SetCursor(m_hSavedCursor);
    m_bOverLink = FALSE;
    m_nCurrentLink = -1;
}

void CHyperLinkLabel::OnMouseMove(UINT /*nFlags*/, CPoint point)
{
    Default();
    if (m_bOverLink && m_nCurrentLink >= 0 && m_nCurrentLink < (int)m_links.size() &&
        !m_links[m_nCurrentLink].rect.Contains(widgets::Pt{point.x, point.y})) {
        LeaveLink();
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
    }
}

void CHyperLinkLabel::OnCaptureChanged(CWnd* /*pWnd*/)
{
    LeaveLink();
    Default();
}

void CHyperLinkLabel::OnDestroy()
{
    m_links.clear();
    CStatic::OnDestroy();
}
