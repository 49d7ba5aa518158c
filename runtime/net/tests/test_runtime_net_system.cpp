// The system messages of the platform, each as the server sends it: the
// notice, box, flag, registry value, UI call or reply bytes it gives, what
// reaches the game's handler, and bodies shorter than their fields.
#include "NetTestSupport.h"
#include "app/GameEnvironment.h"

#include <cstring>

#include "NetStrings.h"
#include "SystemMessageBodies.h"

namespace {

// The application object: its main window is the connection's main window,
// and boxes that miss the hooks would land in DoMessageBox.
class CSystemTestApp : public CWinApp
{
public:
    CSystemTestApp() : CWinApp("NetSystemTest") {}
    std::vector<std::string> ownBoxes;
    int DoMessageBox(LPCTSTR lpszPrompt, UINT, UINT) override
    {
        ownBoxes.push_back(lpszPrompt);
        return IDOK;
    }
};
CSystemTestApp theApp;

// A window that counts the messages the connection sends or posts to it.
class CCountingWnd : public CWnd
{
public:
    int closes = 0;
    int cancelModes = 0;
    std::vector<WPARAM> switchNotices;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_CLOSE) {
            closes++;
            return 0;
        }
        if (message == WM_CANCELMODE)
            cancelModes++;
        if (message == 0x1212)
            switchNotices.push_back(wParam);
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

const uint32_t kMarker = 0x26FFF;
const char kOwnName[] = "Alice";

class SystemMessages : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxSocketInit());
        ASSERT_TRUE(main.CreateEx(0, AfxRegisterWndClass(0), "main", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, NULL, NULL));
        ASSERT_TRUE(child.CreateEx(0, AfxRegisterWndClass(0), "child", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10,
                                   main.m_hWnd, NULL));
        theApp.m_pMainWnd = &main;
        theApp.ownBoxes.clear();
        g_boxes.Clear();
        g_boxes.Attach(conn);
        conn.SetUiServices(&ui);
        conn.SetOwnUserName(kOwnName);
        handler.Attach(conn);
        ASSERT_TRUE(conn.Connect("127.0.0.1", peer.Port(), TRUE));
        ASSERT_TRUE(peer.Accept());
    }
    void TearDown() override
    {
        conn.Close();
        theApp.m_pMainWnd = NULL;
        child.DestroyWindow();
        main.DestroyWindow();
        EXPECT_TRUE(theApp.ownBoxes.empty());   // every box went through a hook
    }

    void ShowMain(bool visible)
    {
        if (!main.IsWindowVisible() != !visible)
            main.ShowWindow(visible ? SW_SHOWNA : SW_HIDE);
    }

    // Sends one message and a marker after it; returns once the marker
    // reached the handler (so the message was handled) or the connection closed.
    void Deliver(uint32_t id, const std::vector<uint8_t>& body = {}, uint32_t result = 0)
    {
        const size_t before = Markers();
        ASSERT_TRUE(peer.Send(id, body, result));
        ASSERT_TRUE(peer.Send(kMarker));
        ASSERT_TRUE(PumpUntil([&] { return Markers() > before || !conn.IsOpen(); }));
    }
    size_t Markers() const
    {
        size_t n = 0;
        for (const auto& call : handler.calls)
            n += call.id == kMarker && call.code == kMarker;
        return n;
    }
    // The handler's calls without the markers.
    std::vector<HandlerCall> Calls() const
    {
        std::vector<HandlerCall> calls;
        for (const auto& call : handler.calls)
            if (call.code != kMarker)
                calls.push_back(call);
        return calls;
    }
    static std::string Text(UINT id) { return (LPCSTR)LoadNetString(id); }
    static std::string Formatted(UINT id, const char* name)
    {
        CString text;
        text.Format(LoadNetString(id), name);
        return (LPCSTR)text;
    }

    CTestPeer peer;
    CTestConnection conn;
    CRecordingUi ui;
    CHandlerRecorder handler;
    CCountingWnd main;
    CCountingWnd child;
};

}  // namespace

TEST_F(SystemMessages, PlayersGoingOfflineAndComingBackGiveNotices)
{
    static int hookCalls = 0;
    struct Hooks {
        static int Handled(void*, void*) { return ++hookCalls, 1; }
    };
    struct Case {
        uint32_t id;
        bool hooked;
        std::vector<std::string> notices;
    };
    const Case cases[] = {
        {netmsg::kPlayerOffline, false, {"[bob] 断线了...", Formatted(IDS_NET_PLAYER_OFFLINE, "bob")}},
        {netmsg::kPlayerBack, false, {"[bob] 断线后回来了", Formatted(IDS_NET_PLAYER_BACK, "bob")}},
        {netmsg::kPlayerOffline, true, {"[bob] 断线了..."}},
        {netmsg::kPlayerBack, true, {"[bob] 断线后回来了"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        ui.notices.clear();
        hookCalls = 0;
        conn.SetHooks(nullptr, c.hooked ? Hooks::Handled : nullptr, c.hooked ? Hooks::Handled : nullptr);
        Deliver(c.id, Bytes("bob", true));
        EXPECT_EQ(ui.notices, c.notices);
        EXPECT_EQ(hookCalls, c.hooked ? 1 : 0);
    }
    EXPECT_TRUE(g_boxes.calls.empty());
    EXPECT_TRUE(Calls().empty());
}

TEST_F(SystemMessages, TrustPlayStatesGiveBoxesNoticesAndTheHandlersNotice)
{
    struct Case {
        const char* name;
        uint32_t result;
        uint16_t mode;
        uint8_t used, limit;
        const char* user;
        bool mainVisible;
        UINT boxId;                 // a box by id
        std::string boxText;        // a box with a text
        UINT boxFlags;
        int boxArgument;
        std::string notice;         // to the notice sink
        std::string stateText;      // to the text hook
    };
    const Case cases[] = {
        {"trust refused", 0, 1, 0, 3, "Alice", true, IDS_NET_TRUST_REFUSED, "", 0, 5, "", ""},
        {"untrust over the limit", 0, 0, 4, 3, "Alice", true, 0,
         "您在这局游戏的托管次数已经超过3，不能再解除托管。", 0, 5, "", ""},
        {"untrust refused", 0, 0, 0, 0, "Alice", true, IDS_NET_UNTRUST_REFUSED, "", 0, 5, "", ""},
        {"another user untrusts", 1, 0, 1, 3, "bob", true, 0, "", 0, 0, "[bob] 解除了托管状态", ""},
        {"another user trusts", 1, 1, 1, 3, "bob", true, 0, "", 0, 0,
         "[bob] 进入了托管状态，现在由服务器暂时代他玩...", ""},
        {"own trust, window shown", 1, 1, 1, 3, "alice", true, 0, "", 0, 0, "",
         "游戏托管中... 您已经托管了1次，托管超过3次将不能解除托管。"},
        {"own time-out trust, window hidden", 1, 2, 2, 3, "Alice", false, 0,
         "超时自动托管中... 您已经托管了2次，托管超过3次将不能解除托管。", MB_ICONINFORMATION, 0, "", ""},
        {"own untrust, window hidden", 1, 0, 2, 3, "Alice", false, 0,
         "已经成功解除托管，您已经托管了2次，托管超过3次将不能解除托管。", MB_ICONINFORMATION, 5, "", ""},
        {"another user times out", 1, 2, 1, 3, "bob", false, 0, "", 0, 0,
         "[bob] 因为超时进入了托管状态，现在由服务器暂时代他玩...", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ShowMain(c.mainVisible);
        g_boxes.Clear();
        g_boxes.Attach(conn);
        ui.notices.clear();
        handler.calls.clear();
        const std::vector<uint8_t> body = Concat({{uint8_t(c.mode), uint8_t(c.mode >> 8), c.used, c.limit},
                                                  Bytes(c.user, true)});
        Deliver(netmsg::kTrustState, body, c.result);
        if (c.boxId != 0 || !c.boxText.empty()) {
            ASSERT_EQ(g_boxes.calls.size(), 1u);
            EXPECT_EQ(g_boxes.calls[0].stringId, c.boxId);
            EXPECT_EQ(g_boxes.calls[0].text, c.boxText);
            EXPECT_EQ(g_boxes.calls[0].flags, c.boxFlags);
            EXPECT_EQ(g_boxes.calls[0].argument, c.boxArgument);
        } else {
            EXPECT_TRUE(g_boxes.calls.empty());   // never a box for another user's state
        }
        EXPECT_EQ(ui.notices, c.notice.empty() ? std::vector<std::string>() : std::vector<std::string>{c.notice});
        EXPECT_EQ(g_boxes.stateTexts,
                  c.stateText.empty() ? std::vector<std::string>() : std::vector<std::string>{c.stateText});
        const auto calls = Calls();
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].code, kHandlerTrustState);
        EXPECT_EQ(calls[0].id, netmsg::kTrustState);
        EXPECT_EQ(calls[0].body, body);
    }
}

TEST_F(SystemMessages, TheEndOfTheGameClosesWithItsTextAndStillReachesTheHandler)
{
    struct Case {
        uint32_t result;
        const char* user;
        int stateCode;
        UINT boxId;
        std::string boxText;
    };
    const Case cases[] = {
        {1, "bob", 1, 0, Formatted(IDS_NET_PLAYER_FORCED_OUT, "bob")},
        {2, "bob", 2, IDS_NET_DOUBLE_LOGIN, ""},
        {4, "ALICE", 3, IDS_NET_OWN_ROOM_LOST, ""},
        {4, "bob", 3, 0, "***警告***：\n\n[bob]的游戏室已经与服务器失去联系，游戏无法继续进行"},
        {8, "bob", 4, 0, "[bob] 与游戏服务器失去联系，可能已经断线，游戏结束"},
        {77, "bob", 0, IDS_NET_FATAL_UNKNOWN, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.result);
        if (!conn.IsOpen()) {
            peer.Reset();
            ASSERT_TRUE(conn.Connect("127.0.0.1", peer.Port(), TRUE));
            ASSERT_TRUE(peer.Accept());
        }
        g_boxes.Clear();
        handler.calls.clear();
        Deliver(netmsg::kEndOfGame, Bytes(c.user, true), c.result);
        EXPECT_FALSE(conn.IsOpen());
        ASSERT_EQ(g_boxes.calls.size(), 1u);
        EXPECT_EQ(g_boxes.calls[0].stringId, c.boxId);
        EXPECT_EQ(g_boxes.calls[0].text, c.boxText);
        EXPECT_EQ(g_boxes.calls[0].flags, (UINT)MB_ICONSTOP);
        const auto calls = Calls();
        ASSERT_EQ(calls.size(), 2u);
        EXPECT_EQ(calls[0].code, kHandlerConnectionClosed);
        EXPECT_EQ(calls[0].stateCode, c.stateCode);
        EXPECT_EQ(calls[1].code, netmsg::kEndOfGame);
        EXPECT_EQ(calls[1].body, Bytes(c.user, true));
    }
}

TEST_F(SystemMessages, TheLeaveReplyClosesWithItsBoxAndStillReachesTheHandler)
{
    Deliver(netmsg::kLeaveReply, Bytes("bob", true), 1);
    EXPECT_FALSE(conn.IsOpen());
    ASSERT_EQ(g_boxes.calls.size(), 1u);
    EXPECT_EQ(g_boxes.calls[0].text, "[bob] 已经退出该游戏，游戏结束");
    EXPECT_EQ(g_boxes.calls[0].flags, (UINT)MB_ICONSTOP);
    const auto calls = Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].stateCode, 5);
    EXPECT_EQ(calls[1].code, netmsg::kLeaveReply);
    // The boxes were shown with the main window's children told to cancel
    // their modes first.
    PumpQueued();   // the cancel messages were posted before the boxes
    EXPECT_GE(child.cancelModes, 1);
}

TEST_F(SystemMessages, ALostConnectionClosesTheMainWindow)
{
    Deliver(netmsg::kConnectionLost);
    EXPECT_TRUE(conn.IsConnectionLost());
    EXPECT_TRUE(conn.GetMayClose());
    ASSERT_EQ(g_boxes.calls.size(), 1u);
    EXPECT_EQ(g_boxes.calls[0].stringId, (UINT)IDS_NET_CONNECTION_LOST);
    EXPECT_EQ(g_boxes.calls[0].flags, (UINT)MB_ICONINFORMATION);
    EXPECT_EQ(main.closes, 1);
}

TEST_F(SystemMessages, TrustQuitRepliesForOthersAndForTheOwnUser)
{
    Deliver(netmsg::kTrustQuitReply, Field("bob", 20), 1);
    EXPECT_EQ(ui.notices, std::vector<std::string>({"[bob] 托管退出了游戏"}));
    auto calls = Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].code, kHandlerTrustQuit);
    EXPECT_TRUE(g_boxes.calls.empty());

    Deliver(netmsg::kTrustQuitReply, Field("alice", 20), 0);
    ASSERT_EQ(g_boxes.calls.size(), 1u);
    EXPECT_EQ(g_boxes.calls[0].stringId, (UINT)IDS_NET_TRUST_QUIT_REFUSED);
    EXPECT_EQ(g_boxes.calls[0].argument, 5);
    EXPECT_FALSE(conn.IsQuitting());

    // The own request: the reply goes to the waiter, which handles it.
    peer.SetResponder([&](const PeerMessage& m) {
        if (m.id == netmsg::kTrustQuit)
            peer.Send(netmsg::kTrustQuitReply, m.body, 1);
    });
    EXPECT_EQ(conn.RequestTrustQuit(), 1u);
    EXPECT_TRUE(conn.IsQuitting());
    EXPECT_FALSE(conn.IsOpen());
    EXPECT_EQ(main.closes, 1);
    EXPECT_EQ(peer.Received().back().body, Field(kOwnName, 20));
    // Without a connection the request is answered as refused.
    g_boxes.Clear();
    EXPECT_EQ(conn.RequestTrustQuit(), 0u);
    ASSERT_EQ(g_boxes.calls.size(), 1u);
    EXPECT_EQ(g_boxes.calls[0].stringId, (UINT)IDS_NET_TRUST_QUIT_REFUSED);
}

TEST_F(SystemMessages, FlagsOfTheConnection)
{
    Deliver(netmsg::kMayClose, U32s({0}));
    EXPECT_FALSE(conn.GetMayClose());
    Deliver(netmsg::kMayClose, U32s({1}));
    EXPECT_TRUE(conn.GetMayClose());
    Deliver(netmsg::kMayClose, U32s({0}));
    Deliver(netmsg::kTrustPermission, {}, 0x11);
    EXPECT_EQ(conn.GetTrustPermission(), 0x11u);
    conn.Close();
    EXPECT_TRUE(conn.GetMayClose());   // set again when the connection closes
    EXPECT_TRUE(Calls().empty());
}

TEST_F(SystemMessages, QueriesAreAnsweredWithTheUsersAnswer)
{
    struct Case {
        uint32_t wantsText;
        const char* entered;
        std::vector<uint8_t> reply;
    };
    const Case cases[] = {
        {1, "my answer", Concat({U32s({7, IDYES}), Bytes("my answer", true)})},
        {1, "", U32s({7, IDYES})},
        {0, "ignored", U32s({7, IDYES})},
    };
    for (const Case& c : cases) {
        ui.queries.clear();
        ui.queryAnswer = IDYES;
        ui.queryText = c.entered;
        const size_t before = peer.ReceivedCount();
        Deliver(netmsg::kQuery, Concat({U32s({7, 0x24, 3, c.wantsText}), Bytes("问题", true)}));
        ASSERT_EQ(ui.queries.size(), 1u);
        EXPECT_EQ(ui.queries[0].text, "问题");
        EXPECT_EQ(ui.queries[0].style, 0x24u);
        EXPECT_EQ(ui.queries[0].argument, 3u);
        ASSERT_TRUE(PumpUntil([&] { return peer.ReceivedCount() > before; }));
        const PeerMessage reply = peer.Received().back();
        EXPECT_EQ(reply.id, netmsg::kQueryAnswer);
        EXPECT_EQ(reply.result, 0u);
        EXPECT_EQ(reply.body, c.reply);
    }
    // A body of exactly 16 bytes gets no answer.
    ui.queries.clear();
    const size_t before = peer.ReceivedCount();
    Deliver(netmsg::kQuery, U32s({7, 0x24, 3, 1}));
    EXPECT_TRUE(ui.queries.empty());
    // An answer would have gone out before a message sent after the query.
    ASSERT_TRUE(conn.SendMsg(kMarker, nullptr, 0));
    ASSERT_TRUE(PumpUntil([&] { return peer.ReceivedCount() > before; }));
    EXPECT_EQ(peer.ReceivedCount(), before + 1);
    EXPECT_EQ(peer.Received().back().id, kMarker);
}

TEST_F(SystemMessages, TheLocalAddressIsSentAsStored)
{
    Deliver(netmsg::kLocalAddress);
    ASSERT_TRUE(PumpUntil([&] { return peer.ReceivedCount() == 1; }));
    const PeerMessage reply = peer.Received()[0];
    EXPECT_EQ(reply.id, netmsg::kLocalAddressReply);
    SOCKADDR_IN remote;
    int length = sizeof(remote);
    ASSERT_EQ(::getpeername(peer.Socket(), (SOCKADDR*)&remote, &length), 0);
    ASSERT_EQ(reply.body.size(), 8u);
    EXPECT_EQ(memcmp(reply.body.data(), &remote.sin_addr.s_addr, 4), 0);
    EXPECT_EQ(ReadWireU32(reply.body.data() + 4), (uint32_t)remote.sin_port);
}

TEST_F(SystemMessages, ServerBoxesShowTheirTextOrString)
{
    Deliver(netmsg::kServerBox, Concat({U32s({IDS_NET_TRUST_REFUSED, MB_SYSTEMMODAL | MB_ICONINFORMATION, 5}),
                                   Bytes("", true)}));
    Deliver(netmsg::kServerBox, Concat({U32s({0, MB_YESNO, (uint32_t)-1}), Bytes("服务器消息", true)}));
    ASSERT_EQ(g_boxes.calls.size(), 2u);
    EXPECT_EQ(g_boxes.calls[0].stringId, (UINT)IDS_NET_TRUST_REFUSED);
    EXPECT_EQ(g_boxes.calls[0].flags, (UINT)MB_ICONINFORMATION);   // no system-modal box
    EXPECT_EQ(g_boxes.calls[0].argument, 5);
    EXPECT_EQ(g_boxes.calls[1].text, "服务器消息");
    EXPECT_EQ(g_boxes.calls[1].flags, (UINT)MB_YESNO);
    EXPECT_EQ(g_boxes.calls[1].argument, -1);
}

TEST_F(SystemMessages, TheStatusRecordIsKeptForTheWatchedOrOwnUser)
{
    struct Case {
        const char* watched;
        const char* name;
        bool kept;
    };
    const Case cases[] = {
        {"", "ALICE", true}, {"", "bob", false}, {"bob", "bob", true}, {"bob", "Alice", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        conn.SetWatchedUserName(c.watched);
        std::vector<uint8_t> record = Field(c.name, kStatusRecordSize);
        record[kStatusRecordSize - 1] = 0x5A;
        const std::vector<uint8_t> before(conn.GetStatusRecord(), conn.GetStatusRecord() + kStatusRecordSize);
        Deliver(netmsg::kStatusRecord, record);
        const std::vector<uint8_t> after(conn.GetStatusRecord(), conn.GetStatusRecord() + kStatusRecordSize);
        EXPECT_EQ(after, c.kept ? record : before);
    }
}

TEST_F(SystemMessages, TheWebNoticeOpensOnlyWebAddresses)
{
    auto popup = [](const char* title, const char* address) {
        return Concat({Field(title, 128), Field(address, 512), U32s({400, 300})});
    };
    Deliver(netmsg::kNoticePopup, popup("公告", "http://example.com/notice"));
    Deliver(netmsg::kNoticePopup, popup("bad", "file:///c:/windows/system.ini"));
    Deliver(netmsg::kNoticePopup, popup("empty", ""));
    ASSERT_EQ(ui.webNotices.size(), 1u);
    EXPECT_EQ(ui.webNotices[0].title, "公告");
    EXPECT_EQ(ui.webNotices[0].address, "http://example.com/notice");
    EXPECT_EQ(ui.webNotices[0].width, 400u);
    EXPECT_EQ(ui.webNotices[0].height, 300u);
    EXPECT_TRUE(Calls().empty());
    // With notices off the message goes on to the game.
    conn.EnableNotices(FALSE);
    Deliver(netmsg::kNoticePopup, popup("公告", "http://example.com/notice"));
    EXPECT_EQ(ui.webNotices.size(), 1u);
    ASSERT_EQ(Calls().size(), 1u);
    EXPECT_EQ(Calls()[0].code, netmsg::kNoticePopup);
    // The popup goes with the connection.
    const int closes = ui.webNoticeCloses;
    conn.Close();
    EXPECT_EQ(ui.webNoticeCloses, closes + 1);
}

TEST_F(SystemMessages, AMessageReadUnderABoxWaitsUntilTheMessageBeforeIsHandled)
{
    // Three messages at once: a game message whose handler takes a while
    // (the read notification for the rest is queued meanwhile), a refused
    // trust play that shows a box and then gives the handler its notice, and
    // a marker. The marker, read while the box is up, must reach the handler
    // only after that notice.
    const uint32_t kSlow = 0x26ABC;
    handler.onCall = [&](const HandlerCall& call) {
        if (call.code == kSlow) {
            EXPECT_TRUE(WaitForReadNotification(conn.m_hSocket));
        }
    };
    g_boxes.onBox = [](const BoxCall&) { PumpQueued(); };
    const std::vector<uint8_t> trust = Concat({{1, 0, 0, 3}, Bytes(kOwnName, true)});
    ASSERT_TRUE(peer.SendBytes(Concat({WireMessage(kSlow, {}), WireMessage(netmsg::kTrustState, trust, 0),
                                       WireMessage(kMarker, {})})));
    ASSERT_TRUE(PumpUntil([&] { return Markers() == 1; }));
    ASSERT_EQ(g_boxes.calls.size(), 1u);
    std::vector<uint32_t> codes;
    for (const auto& call : handler.calls)
        codes.push_back(call.code);
    EXPECT_EQ(codes, std::vector<uint32_t>({kSlow, kHandlerTrustState, kMarker}));
}

TEST_F(SystemMessages, WealthGoesToTheChatAndToABoxWhenTheWindowIsShown)
{
    const std::vector<uint8_t> body =
        Concat({Field("alice", 20), U32s({100, 5}), Field("bob", 20), U32s({200, (uint32_t)-5}), Bytes("xyz")});
    ui.chatAttached = true;
    ShowMain(true);
    Deliver(netmsg::kWealth, body, 1);
    ASSERT_EQ(ui.wealth.size(), 2u);
    EXPECT_EQ(ui.wealth[1], std::make_pair(std::string("bob"), 200u));
    ASSERT_EQ(g_boxes.calls.size(), 1u);
    EXPECT_EQ(g_boxes.calls[0].text, Text(IDS_NET_WEALTH_HEADER) + "[alice] : 5\n[bob] : -5\n");
    EXPECT_EQ(g_boxes.calls[0].flags, (UINT)MB_ICONINFORMATION);
    EXPECT_EQ(g_boxes.calls[0].argument, 30);
    // Hidden window or another result: no box; no chat: no records.
    ui.chatAttached = false;
    Deliver(netmsg::kWealth, body, 0);
    ShowMain(false);
    Deliver(netmsg::kWealth, body, 1);
    EXPECT_EQ(g_boxes.calls.size(), 1u);
    EXPECT_EQ(ui.wealth.size(), 2u);
}

TEST_F(SystemMessages, ServerAddressesAreOpenedOnlyWhenAllowedAndWeb)
{
    struct Case {
        const char* name;
        uint32_t stringId, expected, openFlag;
        std::string texts;    // the text block
        int answer;
        std::vector<std::string> opened;
        size_t boxes;
    };
    const Case cases[] = {
        {"box text and address, expected answer", 0, IDYES, 0, std::string("去看看?\0http://a.example/\0", 27),
         IDYES, {"http://a.example/"}, 1},
        {"other answer opens nothing", 0, IDYES, 0, std::string("去看看?\0http://a.example/\0", 27), IDNO, {}, 1},
        {"string box and address", IDS_NET_TRUST_REFUSED, IDOK, 0, std::string("https://b.example/\0", 19), IDOK,
         {"https://b.example/"}, 1},
        {"no box", kNoBoxStringId, 0, 0, std::string("http://c.example/\0", 18), IDOK, {"http://c.example/"}, 0},
        {"do not open", kNoBoxStringId, 0, kDoNotOpen, std::string("http://c.example/\0", 18), IDOK, {}, 0},
        {"a program is never run", kNoBoxStringId, 0, 0, std::string("c:\\windows\\notepad.exe\0", 23), IDOK, {}, 0},
        {"a file is never opened", kNoBoxStringId, 0, 0, std::string("file:///c:/boot.ini\0", 20), IDOK, {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_boxes.Clear();
        g_boxes.Attach(conn);
        g_boxes.answers = {c.answer};
        ui.opened.clear();
        Deliver(netmsg::kOpenAddress, Concat({U32s({c.stringId, MB_YESNO, c.expected, c.openFlag, 0, 0,
                                               (uint32_t)c.texts.size()}),
                                         Bytes(c.texts)}));
        EXPECT_EQ(ui.opened, c.opened);
        EXPECT_EQ(g_boxes.calls.size(), c.boxes);
        EXPECT_TRUE(conn.IsOpen());
    }
}

// The tests' client code page is 950 (string 29936 in net_test_strings.rc),
// the system's is 936: a server text reaches the client's page through the
// code-page converter, never the system's page. "中" is A4 A4 in 950 and D6 D0
// in 936; the degree sign is B0 in 1252, A2 58 in 950 and A1 E3 in 936.
TEST_F(SystemMessages, AnAddressInAnotherCodePageIsConvertedToTheClientsPage)
{
    struct Case {
        const char* what;
        std::string text;     // the box text as the server sends it
        uint32_t codePage;    // the code page the server names
        std::string shown;    // the box text in the client's page
    };
    const Case cases[] = {
        {"from the system's page", "\xD6\xD0?", 936, "\xA4\xA4?"},
        {"already in the client's page", "\xA4\xA4?", 950, "\xA4\xA4?"},
        {"from a third page", "30\xB0", 1252, "30\xA2\x58"},
        {"no page named: as sent", "\xD6\xD0?", 0, "\xD6\xD0?"},
    };
    ASSERT_EQ(GetClientCodePage(), 950u) << "string 29936 of the test program";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g_boxes.Clear();
        g_boxes.Attach(conn);
        const std::string texts = c.text + std::string("\0http://x/\0", 11);
        Deliver(netmsg::kOpenAddress, Concat({U32s({0, 0, IDOK, 0, 0, 0, (uint32_t)texts.size()}), Bytes(texts),
                                              U32s({c.codePage})}));
        ASSERT_EQ(g_boxes.calls.size(), 1u);
        EXPECT_EQ(g_boxes.calls[0].text, c.shown);
    }
    EXPECT_TRUE(LoadCodePageConverter()) << "Varcode.dll beside the test program";
}

TEST_F(SystemMessages, TheCloseAndLostFlagsOfAnAddressEndTheConnection)
{
    Deliver(netmsg::kOpenAddress, Concat({U32s({kNoBoxStringId, 0, 0, kDoNotOpen, 0, 1, 1}), Bytes("", true)}));
    EXPECT_TRUE(conn.IsConnectionLost());
    EXPECT_FALSE(conn.IsOpen());
    const auto calls = Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].stateCode, 6);
    EXPECT_TRUE(g_boxes.calls.empty());
}

TEST_F(SystemMessages, RegistersTheProcessForTheSwitchWindowAndUnregistersOnClose)
{
    CCountingWnd switchWnd;
    ASSERT_TRUE(switchWnd.CreateEx(0, AfxRegisterWndClass(0), "switch window", WS_POPUP, 0, 0, 1, 1, NULL, NULL));
    char path[MAX_PATH];
    ::GetModuleFileNameA(NULL, path, sizeof(path));
    const std::string exe = strrchr(path, '\\') + 1;
    const char* key = "Software\\Quorvintel\\Game\\Share\\Settings\\MPID";
    auto storedId = [&]() -> DWORD {
        DWORD value = 0, size = sizeof(value);
        if (::RegGetValueA(HKEY_CURRENT_USER, key, exe.c_str(), RRF_RT_REG_DWORD, NULL, &value, &size) != ERROR_SUCCESS)
            return 0;
        return value;
    };
    Deliver(netmsg::kRegisterProcess);
    EXPECT_EQ(storedId(), ::GetCurrentProcessId());
    ASSERT_TRUE(PumpUntil([&] { return switchWnd.switchNotices.size() == 1; }));
    EXPECT_EQ(switchWnd.switchNotices[0], 1u);
    peer.Reset();
    ASSERT_TRUE(PumpUntil([&] { return !conn.IsOpen(); }));
    EXPECT_EQ(storedId(), 0u);
    ASSERT_TRUE(PumpUntil([&] { return switchWnd.switchNotices.size() == 2; }));
    EXPECT_EQ(switchWnd.switchNotices[1], 0u);
    switchWnd.DestroyWindow();
}

TEST_F(SystemMessages, BodiesShorterThanTheirFieldsAreIgnored)
{
    struct Case {
        uint32_t id;
        std::vector<uint8_t> body;
    };
    const Case cases[] = {
        {netmsg::kTransforms, U32s({1, 2, 3})},
        {netmsg::kOpenAddress, std::vector<uint8_t>(27, 0)},
        {netmsg::kOpenAddress, Concat({U32s({0, 0, 0, 0, 0, 0, 100}), Bytes("http://x/", true)})},
        {netmsg::kPlayerOffline, {}},
        {netmsg::kPlayerBack, {}},
        {netmsg::kMayClose, {0, 0, 0}},
        {netmsg::kQuery, std::vector<uint8_t>(15, 0)},
        {netmsg::kServerBox, std::vector<uint8_t>(11, 0)},
        {netmsg::kStatusRecord, Field("Alice", kStatusRecordSize - 1)},
        {netmsg::kNoticePopup, std::vector<uint8_t>(sizeof(NoticePopupBody) - 1, 'h')},
        {netmsg::kTrustState, {1, 0, 1}},
        {netmsg::kWealth, std::vector<uint8_t>(27, 'x')},
    };
    ShowMain(true);
    ui.chatAttached = true;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        Deliver(c.id, c.body, 1);
    }
    EXPECT_TRUE(g_boxes.calls.empty());
    EXPECT_TRUE(ui.notices.empty());
    EXPECT_TRUE(ui.queries.empty());
    EXPECT_TRUE(ui.webNotices.empty());
    EXPECT_TRUE(ui.opened.empty());
    EXPECT_TRUE(ui.wealth.empty());
    EXPECT_TRUE(Calls().empty());
    EXPECT_TRUE(conn.GetMayClose());
    EXPECT_EQ(conn.GetStatusRecord()[0], 0);
    EXPECT_TRUE(conn.IsOpen());
    // Still the plain stream: no transform was installed.
    Deliver(0x26001, Bytes("plain"));
    ASSERT_EQ(Calls().size(), 1u);
    EXPECT_EQ(Calls()[0].body, Bytes("plain"));
}
