#include "ChatWnd.h"

#include "GameClientApp.h"

namespace {

const char kFace[] = "宋体";
constexpr RECT kTitleRect = {5, 23, 233, 41};
constexpr int kTitleWidth = 228;
constexpr int kTitleHeight = 18;
constexpr COLORREF kTitleColour = 67002;          // 0x0105BA
constexpr COLORREF kItemColour = 0xBABABA;
constexpr int kFontHeight = 12;
constexpr int kFirstItemTop = 45;
constexpr int kItemStep = 21;
constexpr int kItemLeft = 5;
constexpr int kItemPadding = 5;
constexpr int kItemHeight = 18;
const char kMatchTip[] = "点击查看比赛详情";
const char kRankingTip[] = "点击查看实力榜信息";

CString ProfilePath()
{
    CString path = AfxGetApp() != NULL ? AfxGetApp()->GetProfileString("", "Path", "") : CString();
    while (!path.IsEmpty() && path[path.GetLength() - 1] == '\\')
        path = path.Left(path.GetLength() - 1);
    return path;
}

}  // namespace

IMPLEMENT_DYNCREATE(CChatWnd, CWnd)

BEGIN_MESSAGE_MAP(CChatWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CChatWnd::CChatWnd() = default;
CChatWnd::~CChatWnd() = default;

int CChatWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    CGameClientApp* app = GetClientApp();
    if (app != NULL)
        app->m_nChatHeight = (int)app->GetProfileInt("Settings", "ChatHeight", kDefaultChatHeight);
    if (!m_chat.Create(WS_CHILD | WS_VISIBLE, CRect(0, kHeaderHeight, 10, kHeaderHeight + 10), this,
                       kChatControlId))
        return -1;
    if (app != NULL)
        app->m_pChat = &m_chat;

    const CString folder = ProfilePath();
    m_header[0].LoadFromFile(folder + "\\theme\\News.bmp");
    m_header[1].LoadFromFile(folder + "\\theme\\News3.bmp");

    m_title.Create("", WS_CHILD | WS_VISIBLE | SS_NOTIFY,
                   CRect(kTitleRect.left, kTitleRect.top, kTitleRect.left + kTitleWidth, kTitleRect.top + kTitleHeight),
                   this, kTitleId);
    m_title.SetRect(kTitleRect.left, kTitleRect.top, kTitleRect.right, kTitleRect.bottom);
    m_title.SetBackBitmap(&m_header[1], kTitleRect.left, kTitleRect.top);
    m_title.SetFont(kFontHeight, kFace, FW_BOLD);
    m_title.SetTextColor(kTitleColour);
    m_title.SetTransparent(TRUE);
    m_title.SetText(m_strTitle);
    m_title.SetLink(m_strTitleLink);
    m_title.SetDirection(kScrollLeft);
    m_title.SetStartY(3);
    m_title.StartScroll(kScrollDefaultStep, kScrollDefaultInterval);

    m_normalFont.CreateFont(kFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, 0, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, kFace);
    for (int i = 0; i < kNewsItems; i++) {
        m_itemRects[i] = CRect(kItemLeft, kFirstItemTop + i * kItemStep, kItemLeft + kItemPadding,
                               kFirstItemTop + i * kItemStep + kItemHeight);
        m_items[i].Create("", WS_CHILD | WS_VISIBLE | SS_NOTIFY, m_itemRects[i], this, kTitleId + 1 + i);
        m_items[i].CWnd::SetFont(&m_normalFont);
        m_items[i].SetTextColor(kItemColour);
        m_items[i].SetTransparent(TRUE);
        m_items[i].SetPauseOnHover(FALSE);
        m_items[i].SetText(m_itemTexts[i]);
        m_items[i].SetLink(m_itemLinks[i]);
    }
    m_tips.Create(this);
    m_tips.Activate(TRUE);
    m_nMode = 0;
    return 0;
}

void CChatWnd::SetNews(int nMode, LPCSTR lpszTitle, LPCSTR lpszTitleLink, const char* const items[kNewsItems],
                       const char* const links[kNewsItems])
{
    m_nMode = nMode;
    m_strTitle = lpszTitle != NULL ? lpszTitle : "";
    m_strTitleLink = lpszTitleLink != NULL ? lpszTitleLink : "";
    for (int i = 0; i < kNewsItems; i++) {
        m_itemTexts[i] = items != NULL && items[i] != NULL ? items[i] : "";
        m_itemLinks[i] = links != NULL && links[i] != NULL ? links[i] : "";
    }
    if (GetSafeHwnd() == NULL)
        return;
    m_title.SetRect(kTitleRect.left, kTitleRect.top, kTitleRect.right, kTitleRect.bottom);
    m_title.MoveWindow(kTitleRect.left, kTitleRect.top, kTitleWidth, kTitleHeight);
    m_title.SetText(m_strTitle);
    m_title.SetLink(m_strTitleLink);

    CRect client;
    GetClientRect(&client);
    CClientDC dc(this);
    CFont* old = dc.SelectObject(&m_normalFont);
    for (int i = 0; i < kNewsItems; i++) {
        const CSize size = dc.GetTextExtent(m_itemTexts[i]);
        int right = kItemLeft + size.cx + kItemPadding;
        if (client.right > kItemLeft && right > client.right)
            right = client.right;
        m_itemRects[i] =
            CRect(kItemLeft, kFirstItemTop + i * kItemStep, right, kFirstItemTop + i * kItemStep + kItemHeight);
        m_items[i].MoveWindow(&m_itemRects[i]);
        m_items[i].SetRect(m_itemRects[i].left, m_itemRects[i].top, m_itemRects[i].right, m_itemRects[i].bottom);
        m_items[i].SetText(m_itemTexts[i]);
        m_items[i].SetLink(m_itemLinks[i]);
    }
    dc.SelectObject(old);
    UpdateTips();
}

CString CChatWnd::TipText(int nItem) const
{
    if (m_nMode == 1)
        return nItem <= 0 ? kMatchTip : kRankingTip;
    if (nItem < 0)
        return m_strTitle;
    return m_itemTexts[nItem < kNewsItems ? nItem : kNewsItems - 1];
}

void CChatWnd::UpdateTips()
{
    if (m_tips.GetSafeHwnd() == NULL)
        return;
    m_tips.AddTool(&m_title, TipText(-1));
    m_tips.UpdateTipText(TipText(-1), &m_title);
    for (int i = 0; i < kNewsItems; i++) {
        m_tips.AddTool(&m_items[i], TipText(i));
        m_tips.UpdateTipText(TipText(i), &m_items[i]);
    }
}

BOOL CChatWnd::PreTranslateMessage(MSG* pMsg)
{
    if (m_tips.GetSafeHwnd() != NULL)
        m_tips.RelayEvent(pMsg);
    return CWnd::PreTranslateMessage(pMsg);
}

void CChatWnd::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (m_chat.GetSafeHwnd() != NULL)
        m_chat.MoveWindow(0, kHeaderHeight, cx, cy > kHeaderHeight ? cy - kHeaderHeight : 0);
    if (m_title.GetSafeHwnd() != NULL)
        m_title.ResetBackground();
    for (CScrollTextLabel& item : m_items)
        if (item.GetSafeHwnd() != NULL)
            item.ResetBackground();
}

BOOL CChatWnd::OnEraseBkgnd(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    client.bottom = client.top + kHeaderHeight;
    const CQVBitmap& picture = m_header[m_nMode == 0 ? 0 : 1];
    if (m_chat.GetSafeHwnd() != NULL && m_chat.IsWindowVisible() && picture.IsLoaded()) {
        RECT header = {client.left, client.top, client.right - 1, client.bottom - 1};
        const_cast<CQVBitmap&>(picture).DrawToDC(pDC, &header, CQVBitmap::kTile);
        for (CScrollTextLabel& item : m_items)
            if (item.GetSafeHwnd() != NULL)
                item.ResetBackground();
        CRect chat;
        m_chat.GetWindowRect(&chat);
        ScreenToClient(&chat);
        pDC->ExcludeClipRect(&chat);
    } else {
        pDC->FillSolidRect(client, RGB(236, 228, 206));
    }
    return TRUE;
}

void CChatWnd::OnDestroy()
{
    CGameClientApp* app = GetClientApp();
    if (app != NULL) {
        if (m_chat.GetSafeHwnd() != NULL) {
            CRect rect;
            m_chat.GetWindowRect(&rect);
            app->m_nChatHeight = rect.Height();
            app->WriteProfileInt("Settings", "ChatHeight", app->m_nChatHeight);
        }
        if (app->m_pChat == &m_chat)
            app->m_pChat = NULL;
    }
    CWnd::OnDestroy();
}
