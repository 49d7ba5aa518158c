// CChatWnd: the pane beside the table in network play. Its header (news
// title and items) sits above the platform's chat control, which fills the
// rest of the pane. The pane cannot exist without the chat control: when
// the control cannot be created the pane's creation fails.
#pragma once

#include "afxwin.h"

#include "QVChatEx.h"

class CChatWnd : public CWnd
{
    DECLARE_DYNCREATE(CChatWnd)
public:
    static constexpr UINT kChatControlId = 29741;
    static constexpr int kHeaderHeight = 117;
    static constexpr int kDefaultChatHeight = 200;

    CChatWnd();
    ~CChatWnd() override;

    // The chat control, or NULL when it has no window.
    CQVChatEx* GetChatControl() { return m_chat.GetSafeHwnd() != NULL ? &m_chat : NULL; }

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnSize(UINT nType, int cx, int cy);
    void OnDestroy();
    BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

private:
    CQVChatEx m_chat;
};
