#include "RoundTipWnd.h"

#include "AnimatedImage.h"
#include "WidgetGeometry.h"

BEGIN_MESSAGE_MAP(CRoundTipWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_TIMER()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CRoundTipWnd::CRoundTipWnd(CWnd* pOwner)
    : m_bLeft(FALSE), m_bUp(FALSE), m_hFrameBrush(::CreateSolidBrush(0xD0C0C0)),
      m_hFillBrush(::CreateSolidBrush(0xFFFFFF)), m_nDisplayTime(4000), m_pPicture(nullptr), m_pOwner(pOwner),
      m_nTimer(0), m_ptPicture{0, 0}
{
}

CRoundTipWnd::~CRoundTipWnd()
{
    if (m_hWnd != NULL)
        DestroyWindow();
    DeletePicture();
    if (m_hFrameBrush != NULL)
        ::DeleteObject(m_hFrameBrush);
    if (m_hFillBrush != NULL)
        ::DeleteObject(m_hFillBrush);
}

BOOL CRoundTipWnd::CreateTip()
{
    return CreateEx(0, AfxRegisterWndClass(CS_SAVEBITS), "ImageTip", WS_POPUP, 0, 0, 0, 0,
                    m_pOwner->GetSafeHwnd(), NULL);
}

void CRoundTipWnd::DeletePicture()
{
    delete m_pPicture;   // stops and joins its play thread
    m_pPicture = nullptr;
}

void CRoundTipWnd::Show(const WCHAR* pszPath, const POINT* pPoint, BOOL bUp, BOOL bLeft)
{
    if (m_hWnd == NULL || pszPath == nullptr || pPoint == nullptr)
        return;
    POINT pt = *pPoint;
    if (m_pOwner != nullptr && m_pOwner->m_hWnd != NULL)
        ::ClientToScreen(m_pOwner->m_hWnd, &pt);
    DeletePicture();
    m_pPicture = new CAnimatedImage(pszPath, FALSE);
    const SIZE size = m_pPicture->GetSize();
    m_bUp = bUp;
    m_bLeft = bLeft;
    const widgets::TipShape s = widgets::ComputeTipShape(size.cx, size.cy, widgets::Pt{pt.x, pt.y}, bUp != FALSE,
                                                         bLeft != FALSE);
    HRGN hRgn = ::CreateRoundRectRgn(s.body.left, s.body.top, s.body.right, s.body.bottom, 12, 10);
    const POINT tri[3] = {{s.triangle[0].x, s.triangle[0].y}, {s.triangle[1].x, s.triangle[1].y},
                          {s.triangle[2].x, s.triangle[2].y}};
    HRGN hTri = ::CreatePolygonRgn(tri, 3, ALTERNATE);
    ::CombineRgn(hRgn, hRgn, hTri, RGN_OR);
    ::DeleteObject(hTri);
    ::SetWindowRgn(m_hWnd, hRgn, FALSE);   // the window owns it now
    MoveWindow(s.position.x, s.position.y, s.width, s.height + 10, TRUE);
    ShowWindow(SW_SHOW);
    m_ptPicture = POINT{s.content.left, s.content.top};
    m_pPicture->Play(m_hWnd, m_ptPicture.x, m_ptPicture.y);
    if (m_nDisplayTime > 0)
        m_nTimer = SetTimer(kTimerDisplay, (UINT)m_nDisplayTime);
}

void CRoundTipWnd::Hide()
{
    m_bLeft = m_bUp = FALSE;
    if (m_nTimer != 0 && m_hWnd != NULL)
        KillTimer(kTimerDisplay);
    m_nTimer = 0;
    if (m_hWnd != NULL)
        ShowWindow(SW_HIDE);
}

void CRoundTipWnd::OnPaint()
{
    CPaintDC dc(this);
    if (m_pPicture == nullptr)
        return;
    RECT rc;
    GetClientRect(&rc);
    ::FillRect(dc.m_hDC, &rc, m_hFillBrush);
    HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
    if (::GetWindowRgn(m_hWnd, hRgn) != ERROR)
        ::FrameRgn(dc.m_hDC, hRgn, m_hFrameBrush, 2, 2);
    ::DeleteObject(hRgn);
    if (!m_pPicture->IsThreadRunning() && m_pPicture->GetLoadStatus() == Gdiplus::Ok) {
        // A single-frame picture plays no thread: drawn here.
        const SIZE size = m_pPicture->GetSize();
        Gdiplus::Graphics graphics(dc.m_hDC);
        graphics.DrawImage(m_pPicture, (INT)m_ptPicture.x, (INT)m_ptPicture.y, (INT)size.cx, (INT)size.cy);
    }
}

void CRoundTipWnd::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != kTimerDisplay)
        return;
    KillTimer(kTimerDisplay);
    m_nTimer = 0;
    ShowWindow(SW_HIDE);
    DeletePicture();
}

void CRoundTipWnd::OnDestroy()
{
    if (m_nTimer != 0)
        KillTimer(kTimerDisplay);
    m_nTimer = 0;
    DeletePicture();   // its thread draws into this window
    CWnd::OnDestroy();
}
