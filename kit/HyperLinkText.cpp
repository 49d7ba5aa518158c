#include "HyperLinkText.h"

#include <shellapi.h>

#include <cstring>

using namespace kit;

namespace {

void ShellOpen(LPCSTR lpszAddress)
{
    ::ShellExecuteA(NULL, "open", lpszAddress, NULL, NULL, SW_SHOWNORMAL);
}

CHyperLinkText::OpenRoutine g_open = ShellOpen;

bool CodePageLead(unsigned char b)
{
    return ::IsDBCSLeadByteEx(936, b) != FALSE;
}

// The "HANDCURSOR" resource: 32 x 32 monochrome, the XOR mask first, the AND
// mask at byte 128, hot spot (6, 0).
const DWORD kHandCursorBytes = 256;

}  // namespace

IMPLEMENT_DYNAMIC(CHyperLinkText, CStatic)

BEGIN_MESSAGE_MAP(CHyperLinkText, CStatic)
    ON_WM_PAINT()
    ON_WM_NCHITTEST()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_CAPTURECHANGED()
    ON_WM_SETCURSOR()
    ON_MESSAGE(WM_SETTEXT, OnSetText)
END_MESSAGE_MAP()

CHyperLinkText::OpenRoutine CHyperLinkText::SetOpenRoutine(OpenRoutine routine)
{
    OpenRoutine old = g_open;
    g_open = routine != NULL ? routine : ShellOpen;
    return old;
}

CHyperLinkText::~CHyperLinkText()
{
    if (m_hHand != NULL)
        ::DestroyCursor(m_hHand);
}

void CHyperLinkText::LoadHandCursor()
{
    if (m_hHand != NULL)
        return;
    HINSTANCE hModule = AfxGetResourceHandle();
    HRSRC hRes = ::FindResourceA(hModule, MAKEINTRESOURCEA(kHandCursorId), "HANDCURSOR");
    if (hRes != NULL && ::SizeofResource(hModule, hRes) >= kHandCursorBytes) {
        const BYTE* p = static_cast<const BYTE*>(::LockResource(::LoadResource(hModule, hRes)));
        if (p != NULL)
            m_hHand = ::CreateCursor(AfxGetInstanceHandle(), 6, 0, 32, 32, p + 128, p);
    }
    if (m_hHand == NULL)
        m_hHand = (HCURSOR)::CopyImage(::LoadCursor(NULL, IDC_HAND), IMAGE_CURSOR, 0, 0, 0);
}

LRESULT CHyperLinkText::OnSetText(WPARAM, LPARAM)
{
    const LRESULT r = Default();
    m_bFirstPaint = TRUE;
    Invalidate();
    return r;
}

void CHyperLinkText::Layout(CDC* pDC)
{
    char text[kLinkTextMax + 1];
    const int n = GetWindowText(text, (int)sizeof text);
    CRect rc;
    GetClientRect(&rc);
    CFont* pFont = GetParent() != NULL ? GetParent()->GetFont() : NULL;
    CFont* pOld = pFont != NULL ? pDC->SelectObject(pFont) : NULL;
    m_layout = LayoutLinkText(
        text, (size_t)(n > 0 ? n : 0), rc.Width(), rc.Height(),
        [pDC](const char* s, int len) {
            const CSize size = pDC->GetTextExtent(CString(s, len));
            return TextSize{size.cx, size.cy};
        },
        CodePageLead);
    m_strLaidOut = CString(text, n > 0 ? n : 0);
    if (pOld != NULL)
        pDC->SelectObject(pOld);
    m_bFirstPaint = FALSE;
}

void CHyperLinkText::DrawText(CDC* pDC)
{
    if (m_bFirstPaint) {
        LoadHandCursor();
        Layout(pDC);
    }
    CFont* pFont = GetParent() != NULL ? GetParent()->GetFont() : NULL;
    CFont* pOld = pFont != NULL ? pDC->SelectObject(pFont) : NULL;
    const int nMode = pDC->SetBkMode(TRANSPARENT);
    for (const LinkRun& r : m_layout.runs) {
        const BOOL bLink = r.link >= 0;
        pDC->SetTextColor(bLink ? m_crLink : m_crText);
        pDC->TextOut(r.x, r.y, CString((LPCSTR)m_strLaidOut + r.offset, (int)r.length));
        if (bLink) {
            const int y = r.y + r.cy + kLinkLineGap - 2;
            CPen pen(PS_SOLID, 1, m_crLink);
            CPen* pOldPen = pDC->SelectObject(&pen);
            pDC->MoveTo(r.x, y);
            pDC->LineTo(r.x + r.cx, y);
            pDC->SelectObject(pOldPen);
        }
    }
    pDC->SetBkMode(nMode);
    if (pOld != NULL)
        pDC->SelectObject(pOld);
}

void CHyperLinkText::OnPaint()
{
    CPaintDC dc(this);
    DrawText(&dc);
}

UINT CHyperLinkText::OnNcHitTest(CPoint point)
{
    UINT nHit = CStatic::OnNcHitTest(point);
    CPoint local(point);
    ScreenToClient(&local);
    const int nLink = HitTestLinks(m_layout, local.x, local.y);
    if (nLink >= 0) {
        if (!m_bHot) {
            m_bHot = TRUE;
            m_nHotLink = nLink;
            LoadHandCursor();
            m_hPrevious = ::SetCursor(m_hHand);
            SetCapture();
        }
        return HTCLIENT;   // a static is transparent to the mouse otherwise
    }
    return nHit;
}

BOOL CHyperLinkText::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (m_bHot && m_hHand != NULL) {
        ::SetCursor(m_hHand);
        return TRUE;
    }
    return CStatic::OnSetCursor(pWnd, nHitTest, message);
}

void CHyperLinkText::LeaveHot()
{
    if (!m_bHot)
        return;
    m_bHot = FALSE;
    m_nHotLink = -1;
    if (m_hPrevious != NULL)
        ::SetCursor(m_hPrevious);   // the cursor itself, not the static's image
}

void CHyperLinkText::OnMouseMove(UINT nFlags, CPoint point)
{
    if (m_bHot && (m_nHotLink < 0 || m_nHotLink >= (int)m_layout.links.size() ||
                   !m_layout.links[m_nHotLink].rect.Contains(point.x, point.y))) {
        LeaveHot();
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
    }
    CStatic::OnMouseMove(nFlags, point);
}

void CHyperLinkText::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (m_bHot && m_nHotLink >= 0 && m_nHotLink < (int)m_layout.links.size()) {
        const std::string address = LinkOpenAddress(m_layout.links[m_nHotLink].address);
        if (!address.empty())
            g_open(address.c_str());
        return;
    }
    CStatic::OnLButtonDown(nFlags, point);
}

void CHyperLinkText::OnCaptureChanged(CWnd* pWnd)
{
    LeaveHot();
    CStatic::OnCaptureChanged(pWnd);
}
