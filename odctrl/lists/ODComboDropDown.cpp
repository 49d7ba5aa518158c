// ODComboDropDown.cpp - the combo boxes' drop-down windows.
#include "ODComboDropDown.h"

#include "ODComboBox.h"

IMPLEMENT_DYNAMIC(CODComboDropDown, CODNcMgrWnd)

BEGIN_MESSAGE_MAP(CODComboDropDown, CODNcMgrWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_KILLFOCUS()
    ON_WM_ERASEBKGND()
    ON_WM_MOUSEWHEEL()
    ON_MESSAGE(CheckFocusMessage, OnCheckFocus)
END_MESSAGE_MAP()

CODComboDropDown::CODComboDropDown() = default;

CODComboDropDown::~CODComboDropDown()
{
    if (m_hWnd)
        DestroyWindow();
}

int CODComboDropDown::OnCreate(LPCREATESTRUCT cs)
{
    if (CODNcMgrWnd::OnCreate(cs) == -1)
        return -1;
    if (m_container || GetListWnd())
        return -1;
    CRect client;
    GetClientRect(&client);
    m_container.reset(new CSBContainerWnd);
    if (!m_container->Create(client, this, 0, WS_CHILD | WS_VISIBLE)) {
        m_container.reset();
        return -1;
    }
    CRect inner;
    m_container->GetClientRect(&inner);
    if (!CreateList(inner))
        return -1;
    m_container->SetHostedChild(GetListWnd());
    return 0;
}

void CODComboDropDown::OnSize(UINT type, int cx, int cy)
{
    CODNcMgrWnd::OnSize(type, cx, cy);
    if (m_container && m_container->m_hWnd)
        m_container->MoveWindow(0, 0, cx, cy);
}

BOOL CODComboDropDown::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

BOOL CODComboDropDown::OnMouseWheel(UINT flags, short delta, CPoint point)
{
    if (!m_container || !m_container->m_hWnd)
        return CODNcMgrWnd::OnMouseWheel(flags, delta, point);
    m_container->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(flags, delta), MAKELPARAM(point.x, point.y));
    return TRUE;
}

BOOL CODComboDropDown::IsContainerBar(HWND window) const
{
    if (!window || !m_container || !m_container->m_hWnd)
        return FALSE;
    for (int bar = SB_HORZ; bar <= SB_VERT; ++bar) {
        const CODScrollBarCtrl* ctrl = m_container->GetScrollBarCtrl(bar);
        if (ctrl && ctrl->m_hWnd == window)
            return TRUE;
    }
    return FALSE;
}

void CODComboDropDown::OnKillFocus(CWnd* pNew)
{
    const HWND to = pNew ? pNew->m_hWnd : NULL;
    const CWnd* list = GetListWnd();
    if (IsContainerBar(to)) {
        OnFocusToBar();
        return;
    }
    if (list && list->m_hWnd && to == list->m_hWnd) {
        OnFocusToList();
        return;
    }
    CODNcMgrWnd::OnKillFocus(pNew);
    // Where the focus ends is decided once the move is over: a press on the
    // owner's drop button passes the focus through the owner's window to
    // the button, whose command then closes the drop-down itself.
    if (m_owner)
        PostMessage(CheckFocusMessage);
}

LRESULT CODComboDropDown::OnCheckFocus(WPARAM, LPARAM)
{
    if (!m_owner || !m_owner->GetDroppedState())
        return 0;
    const HWND focus = ::GetFocus();
    if (focus && (focus == m_hWnd || ::IsChild(m_hWnd, focus)))
        return 0;
    if (focus && focus == m_owner->GetButton()->m_hWnd)
        return 0;
    CloseOwner(TRUE);
    return 0;
}

void CODComboDropDown::Hide()
{
    if (m_hWnd)
        ShowWindow(SW_HIDE);
}

void CODComboDropDown::CloseOwner(BOOL cancel)
{
    Hide();
    if (m_owner)
        m_owner->SetDroppedState(FALSE, cancel);
}

BOOL CODComboDropDown::OnArrow(MSG*)
{
    return FALSE;
}

BOOL CODComboDropDown::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN) {
        switch (pMsg->wParam) {
        case VK_RETURN:
            OnEnter();
            break;
        case VK_ESCAPE:
            CloseOwner(TRUE);
            break;
        case VK_UP:
        case VK_DOWN:
            OnArrow(pMsg);
            break;
        default:
            break;
        }
    }
    return CODNcMgrWnd::PreTranslateMessage(pMsg);
}

// ---- The list-box drop-down ------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CODComboLB, CODComboDropDown)

CODComboLB::CODComboLB() = default;

CODComboLB::~CODComboLB()
{
    // The windows go before the objects they belong to.
    if (m_hWnd)
        DestroyWindow();
}

void CODComboLB::SetOwnerCombo(CODComboBox* combo) { m_owner = combo; }

CODComboBox* CODComboLB::GetOwnerCombo() const { return static_cast<CODComboBox*>(m_owner); }

BOOL CODComboLB::CreateList(const RECT& rect)
{
    m_list.reset(new CODListBox);
    if (!m_list->Create(WS_CHILD | WS_VISIBLE, rect, m_container.get(), 0)) {
        m_list.reset();
        return FALSE;
    }
    return TRUE;
}

void CODComboLB::OnFocusToBar()
{
    SetFocus();
}

// The list box takes the focus when clicked; closing here would cancel the
// choice that click is making, so the drop-down keeps the focus instead.
void CODComboLB::OnFocusToList()
{
    SetFocus();
}

void CODComboLB::OnEnter()
{
    CODComboBox* owner = GetOwnerCombo();
    if (owner) {
        if (m_list && m_list->m_hWnd) {
            const int current = m_list->GetCurrentItem();
            if (m_list->GetCurSel() < 0 && current >= 0 && current < m_list->GetCount()) {
                const BOOL notify = m_list->SetNotify(FALSE);
                m_list->SetCurSel(current);
                m_list->SetNotify(notify);
                owner->SendMessage(WM_COMMAND, MAKEWPARAM(m_list->GetDlgCtrlID(), LBN_SELCHANGE),
                                   reinterpret_cast<LPARAM>(m_list->m_hWnd));
            }
        }
        owner->SetDroppedState(FALSE, FALSE);
    }
    Hide();
}

BOOL CODComboLB::OnArrow(MSG* pMsg)
{
    CODComboBox* owner = GetOwnerCombo();
    if (!owner || !m_list || !m_list->m_hWnd)
        return FALSE;
    const BOOL notify = m_list->SetNotify(FALSE);
    m_list->SendMessage(WM_KEYDOWN, pMsg->wParam, pMsg->lParam);
    m_list->SetNotify(notify);
    owner->ShowListChoice();
    return TRUE;
}

BOOL CODComboLB::OnCommand(WPARAM wParam, LPARAM lParam)
{
    CODComboBox* owner = GetOwnerCombo();
    if (!owner || !m_list || !m_list->m_hWnd) {
        if (CWnd* parent = GetParent())
            parent->SendMessage(WM_COMMAND, wParam, lParam);
        return TRUE;
    }
    if (reinterpret_cast<HWND>(lParam) == m_list->m_hWnd) {
        const UINT code = HIWORD(wParam);
        if (code == LBN_SELCHANGE || code == LBN_DBLCLK) {
            owner->SendMessage(WM_COMMAND, wParam, lParam);
            owner->SetDroppedState(FALSE, FALSE);
            Hide();
        }
    }
    return CODComboDropDown::OnCommand(wParam, lParam);
}

// ---- The list-control drop-down ---------------------------------------------------------------

IMPLEMENT_DYNCREATE(CODComboLC, CODComboDropDown)

CODComboLC::CODComboLC() = default;

CODComboLC::~CODComboLC()
{
    if (m_hWnd)
        DestroyWindow();
}

void CODComboLC::SetOwnerCombo(CODComboList* combo) { m_owner = combo; }

CODComboList* CODComboLC::GetOwnerCombo() const { return static_cast<CODComboList*>(m_owner); }

BOOL CODComboLC::CreateList(const RECT& rect)
{
    m_list.reset(new CODListCtrl);
    if (!m_list->Create(WS_CHILD | WS_VISIBLE | 3, rect, m_container.get(), 0)) {
        m_list.reset();
        return FALSE;
    }
    return TRUE;
}

void CODComboLC::OnFocusToBar() {}

void CODComboLC::OnFocusToList()
{
    if (m_list && m_list->m_hWnd)
        m_list->SetFocus();
}

void CODComboLC::OnEnter()
{
    CODComboList* owner = GetOwnerCombo();
    if (owner && m_list && m_list->m_hWnd)
        owner->SendMessage(WM_COMMAND, MAKEWPARAM(m_list->GetDlgCtrlID(), NotifyAccept),
                           reinterpret_cast<LPARAM>(m_list->m_hWnd));
    if (owner)
        owner->SetDroppedState(FALSE, FALSE);
    Hide();
}

BOOL CODComboLC::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    CODComboDropDown::OnNotify(wParam, lParam, pResult);
    CODComboList* owner = GetOwnerCombo();
    const LRESULT answer = owner && m_list && m_list->m_hWnd
                               ? owner->SendMessage(WM_NOTIFY, wParam, lParam)
                               : (GetParent() ? GetParent()->SendMessage(WM_NOTIFY, wParam, lParam) : 0);
    if (pResult)
        *pResult = answer;
    return TRUE;
}
