// ODSpinButtonCtrl.cpp - the skinned spin control.
#include "ODSpinButtonCtrl.h"

namespace {

const char* const kCaptions[2] = {"<", ">"};

}  // namespace

IMPLEMENT_DYNAMIC(CODSpinButtonCtrl, CSpinButtonCtrl)

BEGIN_MESSAGE_MAP(CODSpinButtonCtrl, CSpinButtonCtrl)
    ON_NOTIFY_REFLECT(UDN_DELTAPOS, OnDeltaPos)
    ON_WM_LBUTTONUP()
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_MOVE()
END_MESSAGE_MAP()

CODSpinButtonCtrl::CODSpinButtonCtrl() {}

CODSpinButtonCtrl::~CODSpinButtonCtrl()
{
    for (CODButton& b : m_buttons)
        if (b.m_hWnd)
            b.DestroyWindow();
}

CODButton* CODSpinButtonCtrl::GetButton(int index)
{
    return index == 0 || index == 1 ? &m_buttons[index] : nullptr;
}

odspin::Rect CODSpinButtonCtrl::Client() const
{
    CRect r;
    ::GetClientRect(m_hWnd, &r);
    return odspin::Rect{r.left, r.top, r.right, r.bottom};
}

bool CODSpinButtonCtrl::Horizontal() const { return (::GetWindowLongA(m_hWnd, GWL_STYLE) & UDS_HORZ) != 0; }

void CODSpinButtonCtrl::PreSubclassWindow()
{
    CSpinButtonCtrl::PreSubclassWindow();
    const odspin::Rect client = Client();
    for (int i = 0; i < 2; ++i) {
        const odspin::Rect h = odspin::Half(client, Horizontal(), i);
        m_buttons[i].Create(kCaptions[i], WS_CHILD | WS_VISIBLE, CRect(h.left, h.top, h.right, h.bottom), this,
                            UINT(FirstButtonId + i));
    }
}

void CODSpinButtonCtrl::PlaceButtons(BOOL repaint)
{
    const odspin::Rect client = Client();
    for (int i = 0; i < 2; ++i) {
        if (!m_buttons[i].m_hWnd)
            continue;
        const odspin::Rect h = odspin::Half(client, Horizontal(), i);
        m_buttons[i].MoveWindow(h.left, h.top, h.right - h.left, h.bottom - h.top, repaint);
    }
}

BOOL CODSpinButtonCtrl::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT id = LOWORD(wParam);
    if ((id == FirstButtonId || id == SecondButtonId) && HIWORD(wParam) == BN_CLICKED) {
        // The middle of the button's own half, wherever the pointer is.
        const odspin::Point p = odspin::HalfCentre(Client(), Horizontal(), int(id - FirstButtonId));
        SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(p.x, p.y));
        SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
        return TRUE;
    }
    return CSpinButtonCtrl::OnCommand(wParam, lParam);
}

void CODSpinButtonCtrl::RefreshState()
{
    if (!m_hWnd)
        return;
    m_buddy = reinterpret_cast<HWND>(::SendMessageA(m_hWnd, UDM_GETBUDDY, 0, 0));
    const bool wrap = (::GetWindowLongA(m_hWnd, GWL_STYLE) & UDS_WRAP) != 0;
    int low = 0, high = 0;
    ::SendMessageA(m_hWnd, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
    const int pos = int(::SendMessageA(m_hWnd, UDM_GETPOS32, 0, 0));
    odspin::Refresh(m_state, wrap, low, high, pos);
    Invalidate(FALSE);
}

BOOL CODSpinButtonCtrl::SetActive(BOOL active)
{
    const BOOL old = m_state.active;
    m_state.active = active != FALSE;
    RefreshState();
    return old;
}

void CODSpinButtonCtrl::OnDeltaPos(NMHDR* header, LRESULT* result)
{
    const NMUPDOWN* ud = reinterpret_cast<const NMUPDOWN*>(header);
    const bool refused = odspin::RefuseDelta(m_state, ud->iPos, ud->iDelta);
    if (!refused && m_state.active)
        Invalidate(FALSE);
    *result = refused ? 1 : 0;
}

void CODSpinButtonCtrl::OnLButtonUp(UINT flags, CPoint point)
{
    Invalidate(TRUE);
    UpdateWindow();
    CSpinButtonCtrl::OnLButtonUp(flags, point);
}

BOOL CODSpinButtonCtrl::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CODSpinButtonCtrl::OnPaint()
{
    // The buttons paint themselves. (Validating through BeginPaint keeps
    // their own update regions: ValidateRect would validate them too.)
    CPaintDC dc(this);
}

void CODSpinButtonCtrl::OnMove(int x, int y)
{
    CSpinButtonCtrl::OnMove(x, y);
    PlaceButtons(TRUE);
}

LRESULT CODSpinButtonCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT answer = CSpinButtonCtrl::WindowProc(message, wParam, lParam);
    switch (message) {
    case UDM_SETRANGE:
    case UDM_SETRANGE32:
        RefreshState();
        break;
    case UDM_SETBUDDY:
        RefreshState();
        if (m_buddy && ::IsWindow(m_buddy))
            SetWindowPos(CWnd::FromHandle(m_buddy), 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
        break;
    case WM_SIZE:
        // A new size without a move still needs the halves covered.
        PlaceButtons(TRUE);
        break;
    }
    return answer;
}
