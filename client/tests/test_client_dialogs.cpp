// The table's small windows: the leave question (its text and hand-over
// button by the match, the countdown that ends with "stay") and the hand
// history window (columns from the seat after the own seat, a row per hand,
// the total row and its removal). The templates come from the resource
// library as the program loads them.
//
// MARDAVEL_SHOTS_DIR, when set, receives a picture of the history window
// after three hands.
#include <gtest/gtest.h>

#include "KitTestSupport.h"

#include "ChatWnd.h"
#include "GameHistoryDlg.h"
#include "ScrollTextLabel.h"
#include "MardavelState.h"
#include "TrustExitDlg.h"
#include "client_ids.h"

#include "../tests/TableDriver.h"

using namespace kittest;

namespace {

constexpr UINT WM_SCRIPT = WM_APP + 7;

// The leave question with a script run once its modal loop runs.
class CScriptedExit : public CTrustExitDlg
{
public:
    using CTrustExitDlg::CTrustExitDlg;
    std::function<void(CScriptedExit&)> script;
    BOOL leaveEnabled = TRUE;
    CString text;
    CString countShown;

    BOOL OnInitDialog() override
    {
        const BOOL r = CTrustExitDlg::OnInitDialog();
        PostMessage(WM_SCRIPT);
        return r;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_SCRIPT) {
            leaveEnabled = GetDlgItem(IDC_TRUSTEXIT_LEAVE)->IsWindowEnabled();
            GetDlgItemText(IDC_TRUSTEXIT_TEXT, text);
            if (script)
                script(*this);
            return 0;
        }
        return CTrustExitDlg::WindowProc(message, wParam, lParam);
    }
    void Tick()
    {
        SendMessage(WM_TIMER, 1, 0);
        if (GetSafeHwnd() != NULL && IsWindow(m_hWnd))
            GetDlgItemText(IDC_TRUSTEXIT_COUNT, countShown);
    }
};

class ClientDialogs : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(m_res, (HMODULE)NULL) << "Mardavel_Res.dll beside the test";
        AfxSetResourceHandle(m_res);
        ASSERT_TRUE(m_theme.Ok());
        ASSERT_TRUE(WriteBmp(m_theme.Image("bg.bmp"), 60, 60, [](int, int) { return RGB(40, 60, 90); }));
        ASSERT_TRUE(WriteStrip(m_theme.Image("close.bmp"), 12, 10, {kRed, kGreen, kBlue, kBlack}));
        m_theme.Set("QVDLG", "backgrdbmp", "bg.bmp");
        m_theme.Set("QVDLG", "titleclose", "close.bmp");
    }
    void TearDown() override
    {
        AfxSetResourceHandle(NULL);
        PumpPendingMessages();
        AfxDeleteTempMaps();
    }
    HMODULE m_res = LoadLibraryA("Mardavel_Res.dll");
    TempTheme m_theme;
};

BoardGameState Match(int hands, int played, uint32_t phase)
{
    BoardGameState s;
    InitBoardGameState(s);
    s.ruleFlags = (s.ruleFlags & ~(0xFu << 20)) | (static_cast<uint32_t>(hands) << 20);
    s.handsFinished = static_cast<uint32_t>(played);
    s.phase = phase;
    return s;
}

CString Loaded(UINT id)
{
    CString text;
    text.LoadString(id);
    return text;
}

TEST_F(ClientDialogs, LeaveQuestionByMatchAndItsCountdown)
{
    struct Case {
        const char* what;
        int hands, played;
        uint32_t phase;
        UINT text;          // 0: none
        BOOL leaveEnabled;
    };
    const Case cases[] = {
        {"a single-hand game in a hand", 1, 0, 3, 0, TRUE},
        {"in the first hand of a match of four", 4, 0, 3, IDS_CLIENT_MATCH_DURING, TRUE},
        {"between hands of an unfinished match: only staying", 4, 1, 0, IDS_CLIENT_MATCH_BETWEEN, FALSE},
    };
    for (const Case& c : cases) {
        const BoardGameState s = Match(c.hands, c.played, c.phase);
        CScriptedExit dialog(3, &s, NULL);
        std::vector<CString> counts;
        dialog.script = [&](CScriptedExit& d) {
            for (int i = 0; i < 3 && d.GetSafeHwnd() != NULL; i++) {
                d.Tick();
                counts.push_back(d.countShown);
            }
        };
        EXPECT_EQ(dialog.DoModal(), kLeaveStay) << c.what << ": the countdown ends with stay";
        EXPECT_EQ(dialog.leaveEnabled, c.leaveEnabled) << c.what;
        EXPECT_EQ(std::string(dialog.text), std::string(c.text != 0 ? Loaded(c.text) : CString())) << c.what;
        ASSERT_GE(counts.size(), 2u) << c.what;
        EXPECT_EQ(std::string(counts[0]), "2") << c.what;
        EXPECT_EQ(std::string(counts[1]), "1") << c.what;
    }

    // Handing over and leaving, when it may be chosen; pressing it while it
    // is disabled (between hands) changes nothing.
    const BoardGameState during = Match(4, 0, 3);
    CScriptedExit leave(10, &during, NULL);
    leave.script = [](CScriptedExit& d) { d.PostMessage(WM_COMMAND, MAKEWPARAM(IDC_TRUSTEXIT_LEAVE, BN_CLICKED), 0); };
    EXPECT_EQ(leave.DoModal(), kLeaveAndTrust);

    const BoardGameState between = Match(4, 1, 0);
    CScriptedExit refused(10, &between, NULL);
    refused.script = [](CScriptedExit& d) {
        d.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_TRUSTEXIT_LEAVE, BN_CLICKED), 0);
        d.PostMessage(WM_COMMAND, MAKEWPARAM(IDC_TRUSTEXIT_STAY, BN_CLICKED), 0);
    };
    EXPECT_EQ(refused.DoModal(), kLeaveStay);
}

std::vector<std::string> Row(CListCtrl& list, int row, int columns)
{
    std::vector<std::string> cells;
    for (int c = 0; c < columns; c++)
        cells.push_back((LPCSTR)list.GetItemText(row, c));
    return cells;
}

std::vector<std::string> Headers(CListCtrl& list, int columns)
{
    std::vector<std::string> names;
    for (int c = 0; c < columns; c++) {
        char text[64] = "";
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT;
        column.pszText = text;
        column.cchTextMax = sizeof text;
        ::SendMessageA(list.GetSafeHwnd(), LVM_GETCOLUMNA, c, (LPARAM)&column);
        names.push_back(text);
    }
    return names;
}

TEST_F(ClientDialogs, HistoryRowsTotalAndColumnsFromTheSeatAfterTheOwnSeat)
{
    const char* names[] = {"alice", "bob", "carol", "dave", "erin"};
    CGameHistoryDlg history;
    history.SetPlayers(names, 1, 5);
    ASSERT_TRUE(history.Create(NULL));
    CListCtrl& list = history.List();
    EXPECT_EQ(Headers(list, 6), (std::vector<std::string>{"局数", "carol", "dave", "erin", "alice", "bob"}));

    // Three hands of a match, as the table adds them at each hand's end: the
    // hand's row, the old total away, the new total.
    const int32_t hands[3][5] = {{2, -1, -1, 1, -1}, {-4, 2, 2, -2, 2}, {6, -3, -3, 3, -3}};
    int32_t total[5] = {};
    for (int h = 0; h < 3; h++) {
        history.AddHandRow(h + 1, hands[h], TRUE);
        history.RemoveTotalRow();
        for (int s = 0; s < 5; s++)
            total[s] += hands[h][s];
        history.AddTotalRow(total);
    }
    EXPECT_EQ(history.HandRows(), 3);
    ASSERT_EQ(list.GetItemCount(), 4) << "three hands and the total";
    CString first;
    first.Format(Loaded(IDS_CLIENT_HAND_N), 1);
    // Columns: carol (2), dave (3), erin (4), alice (0), bob (1).
    EXPECT_EQ(Row(list, 0, 6), (std::vector<std::string>{(LPCSTR)first, " -1", "  1", " -1", "  2", " -1"}));
    EXPECT_EQ(Row(list, 3, 6), (std::vector<std::string>{(LPCSTR)Loaded(IDS_CLIENT_TOTAL), " -2", "  2", " -2",
                                                          "  4", " -2"}));

    // The table's skinned report list: drawn by its owner, its own bars
    // beside it (right and below) in place of the list's.
    EXPECT_NE(list.GetStyle() & LVS_OWNERDRAWFIXED, 0u);
    EXPECT_EQ(list.GetStyle() & (WS_VSCROLL | WS_HSCROLL), 0u);
    ASSERT_NE(history.List().VBar().GetSafeHwnd(), (HWND)NULL);
    ASSERT_NE(history.List().HBar().GetSafeHwnd(), (HWND)NULL);
    CRect listRect, vbar, hbar;
    list.GetWindowRect(&listRect);
    history.List().VBar().GetWindowRect(&vbar);
    history.List().HBar().GetWindowRect(&hbar);
    EXPECT_EQ(vbar.left, listRect.right);
    EXPECT_EQ(vbar.top, listRect.top);
    EXPECT_EQ(hbar.top, listRect.bottom);
    EXPECT_EQ(hbar.Width(), listRect.Width());
    CRect close, window;
    ASSERT_NE(history.GetDlgItem(IDOK), (CWnd*)NULL);
    history.GetDlgItem(IDOK)->GetWindowRect(&close);
    history.GetWindowRect(&window);
    EXPECT_LE(hbar.bottom, close.top) << "the bar leaves the close button free";
    EXPECT_LE(vbar.right, window.right) << "the bar stays inside the window";

    if (const char* shots = getenv("MARDAVEL_SHOTS_DIR")) {
        history.ShowWindow(SW_SHOW);
        history.UpdateWindow();
        PumpPendingMessages();
        tabledriver::SaveWindowPicture(history.GetSafeHwnd(), std::string(shots) + "\\history-three-hands.bmp");
    }

    // The total row of a single hand stays: there is only one hand row.
    CGameHistoryDlg single;
    single.SetPlayers(names, 0, 4);
    ASSERT_TRUE(single.Create(NULL));
    single.AddHandRow(1, hands[0], FALSE);
    single.AddTotalRow(hands[0]);
    single.RemoveTotalRow();
    EXPECT_EQ(single.List().GetItemCount(), 2);
    EXPECT_FALSE(single.HasTotalRow());
    CString range;
    range.Format(Loaded(IDS_CLIENT_HAND_RANGE), 1, 1);
    EXPECT_EQ(std::string(single.List().GetItemText(0, 0)), std::string(range));
    EXPECT_EQ(Headers(single.List(), 5), (std::vector<std::string>{"局数", "bob", "carol", "dave", "alice"}))
        << "four players: the own seat 0 last";
    single.DestroyWindow();
    history.DestroyWindow();
}

std::vector<std::string> g_opened;
void RecordOpen(LPCSTR address) { g_opened.push_back(address); }

TEST_F(ClientDialogs, ScrollingLabelOpensOnlyWebLinksAndPausesOnHover)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP | WS_VISIBLE, CRect(0, 0, 300, 100), NULL, 0));
    CScrollTextLabel label;
    ASSERT_TRUE(label.Create("news", WS_CHILD | WS_VISIBLE | SS_NOTIFY, CRect(5, 23, 233, 41), &parent, 10000));
    EXPECT_EQ(std::string(label.GetText()), "news") << "the window's text becomes the label's";
    const CScrollTextLabel::OpenLinkRoutine previous = CScrollTextLabel::SetOpenLinkRoutine(RecordOpen);

    struct Case {
        const char* what;
        const char* link;
        bool opened;
    };
    const Case cases[] = {
        {"http", "http://news.example/a?b=1", true},
        {"https in capitals", "HTTPS://NEWS.EXAMPLE", true},
        {"a local program", "C:\\windows\\system32\\calc.exe", false},
        {"a file address", "file:///c:/boot.ini", false},
        {"a scheme alone", "http://", false},
        {"no link", "", false},
        {"a quote inside", "http://a\" b", false},
    };
    for (const Case& c : cases) {
        g_opened.clear();
        label.SetLink(c.link);
        label.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        EXPECT_EQ(g_opened.size(), c.opened ? 1u : 0u) << c.what;
    }
    CScrollTextLabel::SetOpenLinkRoutine(previous);

    // Scrolling left by its step once the text is measured (drawn once).
    label.SetText("a news title");
    label.SetDirection(kScrollLeft);
    label.SetStartX(3);
    label.StartScroll(4, 100000);
    {
        CClientDC dc(&label);
        label.SendMessage(WM_ERASEBKGND, (WPARAM)dc.GetSafeHdc(), 0);   // drawn, so measured
    }
    const int x = label.PositionX();
    label.ScrollOnce();
    EXPECT_EQ(label.PositionX(), x - 4);
    label.SetTextColor(RGB(1, 2, 3));
    label.SetHoverColor(RGB(255, 0, 0));
    label.OnMouseEnterLabel();
    EXPECT_FALSE(label.IsScrolling());
    EXPECT_EQ(label.CurrentColour(), RGB(255, 0, 0));
    label.OnMouseLeaveLabel();
    EXPECT_TRUE(label.IsScrolling());
    EXPECT_EQ(label.CurrentColour(), RGB(1, 2, 3));
    label.DestroyWindow();
    parent.DestroyWindow();
}

TEST_F(ClientDialogs, ChatPaneHeaderNewsAndTheChatControlBelowIt)
{
    // The pane needs the chat control: the stand-in, registered for the test.
    HMODULE control = ::LoadLibraryA("QVChatEx.dll");
    ASSERT_NE(control, (HMODULE)NULL) << "the chat control stand-in is missing";
    typedef HRESULT(WINAPI * PFN_REGISTER)();
    auto call = [&](const char* entry) {
        PFN_REGISTER pfn =
            reinterpret_cast<PFN_REGISTER>(reinterpret_cast<void (*)()>(::GetProcAddress(control, entry)));
        return pfn != NULL ? pfn() : E_NOTIMPL;
    };
    ASSERT_EQ(call("DllRegisterServer"), S_OK);

    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP | WS_VISIBLE, CRect(0, 0, 240, 400), NULL, 0));
    CChatWnd pane;
    ASSERT_TRUE(pane.Create(NULL, NULL, WS_CHILD | WS_VISIBLE, CRect(0, 0, 240, 400), &parent, 0xE901));
    ASSERT_NE(pane.GetChatControl(), (CQVChatEx*)NULL);
    CRect chat;
    pane.GetChatControl()->GetWindowRect(&chat);
    pane.ScreenToClient(&chat);
    EXPECT_EQ(chat, CRect(0, CChatWnd::kHeaderHeight, 240, 400)) << "the chat control fills the pane below the header";

    const char* items[] = {"short", "a news item long enough to run past the right edge of the pane, surely", ""};
    const char* links[] = {"http://a.example", "https://b.example", ""};
    pane.SetNews(1, "match", "http://m.example", items, links);
    for (int i = 0; i < CChatWnd::kNewsItems; i++) {
        EXPECT_EQ(pane.ItemRect(i).top, 45 + 21 * i) << "item " << i;
        EXPECT_EQ(pane.ItemRect(i).left, 5) << "item " << i;
        EXPECT_LE(pane.ItemRect(i).right, 240) << "item " << i << ": never past the header's right edge";
    }
    EXPECT_EQ(pane.ItemRect(1).right, 240);
    EXPECT_GT(pane.ItemRect(0).right, 10);
    EXPECT_EQ(pane.ItemRect(2).right, 10) << "an empty item: its padding";
    EXPECT_EQ(std::string(pane.TipText(-1)), "点击查看比赛详情");
    EXPECT_EQ(std::string(pane.TipText(0)), "点击查看比赛详情");
    EXPECT_EQ(std::string(pane.TipText(2)), "点击查看实力榜信息");
    EXPECT_EQ(std::string(pane.Item(1).GetLink()), "https://b.example");
    pane.SetNews(0, "news", "", items, links);
    EXPECT_EQ(std::string(pane.TipText(0)), "short") << "mode 0: each item's own text";
    EXPECT_EQ(std::string(pane.Title().GetText()), "news");

    pane.DestroyWindow();
    parent.DestroyWindow();
    call("DllUnregisterServer");
    ::FreeLibrary(control);
}

}  // namespace
