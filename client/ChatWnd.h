// CChatWnd: the pane beside the table in network play. Its 117-pixel header
// (a scrolling news title and three news items over a picture) sits above
// the platform's chat control, which fills the rest of the pane. The pane
// cannot exist without the chat control: when the control cannot be created
// the pane's creation fails.
#pragma once

#include "afxcmn.h"
#include "afxwin.h"

#include "QVBitmap.h"
#include "QVChatEx.h"
#include "ScrollTextLabel.h"

class CChatWnd : public CWnd
{
    DECLARE_DYNCREATE(CChatWnd)
public:
    static constexpr UINT kChatControlId = 29741;
    static constexpr int kHeaderHeight = 117;
    static constexpr int kDefaultChatHeight = 200;
    static constexpr UINT kTitleId = 10000;
    static constexpr int kNewsItems = 3;

    CChatWnd();
    ~CChatWnd() override;

    // The chat control, or NULL when it has no window.
    CQVChatEx* GetChatControl() { return m_chat.GetSafeHwnd() != NULL ? &m_chat : NULL; }

    // The header's mode (1: a match's news), the title and its link, the
    // three items and their links. Links open only as web addresses.
    void SetNews(int nMode, LPCSTR lpszTitle, LPCSTR lpszTitleLink, const char* const items[kNewsItems],
                 const char* const links[kNewsItems]);
    int HeaderMode() const { return m_nMode; }
    CScrollTextLabel& Title() { return m_title; }
    CScrollTextLabel& Item(int i) { return m_items[i]; }
    const CRect& ItemRect(int i) const { return m_itemRects[i]; }
    // The tooltip of the title (-1) or of an item.
    CString TipText(int nItem) const;

protected:
    BOOL PreTranslateMessage(MSG* pMsg) override;
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnSize(UINT nType, int cx, int cy);
    void OnDestroy();
    BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

private:
    void UpdateTips();

    CQVChatEx m_chat;
    CQVBitmap m_header[2];
    CScrollTextLabel m_title;
    CScrollTextLabel m_items[kNewsItems];
    CRect m_itemRects[kNewsItems];
    CFont m_normalFont;
    CString m_strTitle, m_strTitleLink;
    CString m_itemTexts[kNewsItems];
    CString m_itemLinks[kNewsItems];
    CToolTipCtrl m_tips;
    int m_nMode = 0;
};
