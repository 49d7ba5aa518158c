// The application base: start-up in local mode, the install path and the
// log, the join through the connection against a scripted peer, the player
// list built from the reply, and the list's accessors.
#include "AppTestSupport.h"
#include "../../net/tests/NetTestSupport.h"

#include <regex>
#include <thread>

#include "GameApp.h"
#include "GameEnvironment.h"
#include "net/GameClientSocket.h"

namespace {

const char kGameKey[] = "Software\\Quorvintel\\Game\\AppBaseTest";

// The application under test: five seats, its hooks recorded.
class CTestGameApp : public CGameApp
{
public:
    CTestGameApp() : CGameApp("AppBaseTest") { m_nSeatCount = 5; }

    int launchCalls = 0, blobCalls = 0;
    uint32_t launchValue = 0;
    std::string blob1, blob2;
    BOOL watching = -1;

    void OnLaunchValue(uint32_t nValue, uint32_t nLength, const uint8_t* pBlob1, BOOL bWatching) override
    {
        launchCalls++;
        launchValue = nValue;
        blob1.assign(reinterpret_cast<const char*>(pBlob1), nLength);
        watching = bWatching;
    }
    void OnJoinBlobs(uint32_t, uint32_t, const uint8_t*, uint32_t nLength2, const uint8_t* pBlob2) override
    {
        blobCalls++;
        blob2.assign(reinterpret_cast<const char*>(pBlob2), nLength2);
    }
    std::vector<std::string> UserNames()
    {
        std::vector<std::string> names;
        for (int i = 0; i < GetPlayerCount(); i++)
            names.push_back(GetPlayer(i)->m_pszUserName);
        return names;
    }
};

std::vector<ReplyPlayer> FivePlayers()
{
    return {{0, "p0", "N0", 100}, {1, "p1", "N1", 101}, {2, "p2", "N2", 102}, {3, "p3", "N3", 103},
            {4, "p4", "N4", 104}};
}

std::vector<std::string> LaunchArguments(int chair, UINT port, const char* user = "p2")
{
    return {"Mardavel.exe", std::to_string(chair), user, "Nick", "t44", "84", "t86", "127.0.0.1",
            std::to_string(port), "t168", "chat", "464", "t466", "484", "488"};
}

// A peer that answers the join with a scripted reply, accepted on a thread
// of its own while the application joins.
class CJoinPeer
{
public:
    CJoinPeer(std::vector<uint8_t> body, uint32_t result) : m_body(std::move(body)), m_result(result)
    {
        m_peer.SetResponder([this](const PeerMessage& message) {
            if (message.id == 0x200)
                m_peer.Send(0x80000200, m_body, m_result);
        });
        m_acceptor = std::thread([this] { m_peer.Accept(20000); });
    }
    ~CJoinPeer()
    {
        if (m_acceptor.joinable())
            m_acceptor.join();
        theGameSocket.Close();
    }
    UINT Port() const { return m_peer.Port(); }
    std::vector<PeerMessage> Received()
    {
        if (m_acceptor.joinable())
            m_acceptor.join();
        return m_peer.Received();
    }

private:
    CTestPeer m_peer;
    std::vector<uint8_t> m_body;
    uint32_t m_result;
    std::thread m_acceptor;
};

class AppBase : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_boxes.Clear();
        g_boxes.Attach(theGameSocket);
        AfxSocketInit();
        app.m_strInstallPath = (folder.Path() + "\\").c_str();
        app.OpenLog();
    }
    void TearDown() override { theGameSocket.Close(); }

    std::vector<std::string> LogLines() { return SplitLines(ReadText((folder / "AppBaseTest.log"))); }

    ScratchFolder folder;
    AppBoxRecorder boxes;
    CTestGameApp app;
};

}  // namespace

// ---- Start-up --------------------------------------------------------------------------

TEST(AppStartUp, LocalModeUsesTheProgramFolderAndLogsTheMissingResourceLibrary)
{
    ScopedRegistryKey key(kGameKey);
    AppBoxRecorder boxes;
    const std::string log = ProgramFolder() + "\\AppBaseTest.log";
    {
        CTestGameApp app;
        ScopedArguments arguments({"Mardavel.exe"});
        ASSERT_TRUE(app.InitInstance());
        EXPECT_EQ(std::string(app.m_strInstallPath), ProgramFolder() + "\\");
        EXPECT_EQ(std::string(app.m_pszRegistryKey), "Quorvintel\\Game");
        EXPECT_EQ(std::string(app.m_pszProfileName), "AppBaseTest");
        EXPECT_FALSE(app.m_bOnline);
        EXPECT_GT(app.m_nScreenWidth, 0);
        ASSERT_EQ(app.GetPlayerCount(), 5);
        for (int s = 0; s < 5; s++) {
            EXPECT_EQ(app.GetPlayer(s)->m_nChair, (uint32_t)s);
            EXPECT_EQ(app.GetPlayer(s)->m_nPosition, s + 1);
        }
        app.ExitInstance();
        EXPECT_EQ(app.GetPlayerCount(), 0);
    }
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_EQ(boxes.calls[0].text, "AppBaseTest_Res.dll not found !");
    EXPECT_EQ(boxes.calls[0].type, (UINT)MB_ICONSTOP);

    const std::vector<std::string> lines = SplitLines(ReadText(log));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "");
    EXPECT_TRUE(std::regex_match(lines[1], std::regex("\\d{4}-\\d{1,2}-\\d{1,2}:\\d{1,2}-\\d{1,2}-\\d{1,2},启动程序")))
        << lines[1];
    EXPECT_EQ(lines[2], "Resource dll not find!");
    EXPECT_TRUE(std::regex_match(lines[3], std::regex("\\d{4}-\\d{1,2}-\\d{1,2}:\\d{1,2}-\\d{1,2}-\\d{1,2},结束程序")))
        << lines[3];
    ::DeleteFileA(log.c_str());
}

TEST(AppStartUp, RegistryPathGetsATrailingBackslashAndHoldsTheLog)
{
    ScratchFolder folder;
    ScopedRegistryKey key(kGameKey);
    key.SetString("Path", folder.Path());
    AppBoxRecorder boxes;
    CTestGameApp app;
    ScopedArguments arguments({"Mardavel.exe"});
    ASSERT_TRUE(app.InitInstance());
    EXPECT_EQ(std::string(app.m_strInstallPath), folder.Path() + "\\");
    app.ExitInstance();
    EXPECT_EQ(SplitLines(ReadText((folder / "AppBaseTest.log"))).size(), 4u);
}

namespace {
std::string g_skinPath;
BOOL RecordSkin(LPCSTR path, int flag)
{
    g_skinPath = path;
    return flag == 1;
}
BOOL RefuseSkin(LPCSTR, int) { return FALSE; }
}  // namespace

TEST(AppStartUp, OwnerDrawSkinPathAndItsFailure)
{
    ScratchFolder folder;
    ScopedRegistryKey key(kGameKey);
    key.SetString("Path", folder.Path());
    ScopedRegistryKey share("Software\\Quorvintel\\Game\\Share");
    share.SetString("Path", "C:\\QV\\Share");
    AppBoxRecorder boxes;
    ScopedArguments arguments({"Mardavel.exe"});
    {
        CTestGameApp app;
        app.m_bOwnerDraw = TRUE;
        app.m_pfnODInitLibrary = RecordSkin;
        ASSERT_TRUE(app.InitInstance());
        EXPECT_EQ(g_skinPath, "C:\\QV\\Share\\odctrls\\AppBaseTest_skn.ini");
        app.m_strSkinFile = "blue.ini";
        ASSERT_TRUE(app.LoadSkinRes());
        EXPECT_EQ(g_skinPath, "C:\\QV\\Share\\odctrls\\blue.ini");
        app.ExitInstance();
    }
    {
        CTestGameApp app;
        app.m_bOwnerDraw = TRUE;
        app.m_pfnODInitLibrary = RefuseSkin;
        EXPECT_FALSE(app.InitInstance());
        app.ExitInstance();
    }
    const std::vector<std::string> lines = SplitLines(ReadText((folder / "AppBaseTest.log")));
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[3], "odres dll not find!");
}

// ---- Log -------------------------------------------------------------------------------------

TEST_F(AppBase, LogLinesAreAppendedOnePerCall)
{
    app.WriteLog("[Test] one");
    app.WriteLog("[Test] two");
    app.CloseLog();
    const std::vector<std::string> lines = LogLines();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[2], "[Test] one");
    EXPECT_EQ(lines[3], "[Test] two");
    // A new start deletes the old log.
    app.OpenLog();
    EXPECT_EQ(LogLines().size(), 2u);
}

TEST_F(AppBase, ALogThatCannotBeCreatedTakesNoLines)
{
    CTestGameApp other;
    other.m_strInstallPath = (folder.Path() + "\\missing\\").c_str();
    EXPECT_FALSE(other.OpenLog());
    other.WriteLog("[Test] lost");
    other.CloseLog();
    EXPECT_EQ(::GetFileAttributesA((folder / "missing").c_str()), INVALID_FILE_ATTRIBUTES);
}

// ---- Joining -----------------------------------------------------------------------------------

TEST_F(AppBase, JoinOrdersThePlayersFromEveryOwnSeat)
{
    for (int chair = 1; chair <= 5; chair++) {
        CJoinPeer peer(JoinReplyBody(FivePlayers(), 77, {{'1', ',', '2', 0}, {'x', 'y'}}), 1);
        ScopedArguments arguments(LaunchArguments(chair, peer.Port(), ("p" + std::to_string(chair - 1)).c_str()));
        ASSERT_TRUE(app.ReadPlayerList()) << "chair " << chair;
        std::vector<std::string> expected;
        for (int j = 0; j < 5; j++)
            expected.push_back("p" + std::to_string(((chair - 1 - j) % 5 + 5) % 5));
        EXPECT_EQ(app.UserNames(), expected) << "chair " << chair;
        EXPECT_TRUE(app.m_bOnline);
        EXPECT_FALSE(app.m_bWatcher);
        EXPECT_EQ(app.m_nOwnChair, (uint32_t)(chair - 1));
        EXPECT_EQ(app.m_pszUserName, theLaunchInfo.userName);
        EXPECT_EQ(app.GetPlayer(0)->m_nValue, 100u + (uint32_t)(chair - 1));
        EXPECT_EQ(app.GetPlayer(0)->m_nPosition, chair);
        EXPECT_EQ(GetJoinSecondValue(), 77);
        // The request carried the zero-based chair.
        const std::vector<PeerMessage> received = peer.Received();
        ASSERT_FALSE(received.empty());
        ASSERT_EQ(received[0].body.size(), 108u);
        EXPECT_EQ(received[0].body[102], chair - 1);
    }
    EXPECT_EQ(app.launchCalls, 5);
    EXPECT_EQ(app.launchValue, 488u);
    EXPECT_EQ(app.blob1, std::string("1,2\0", 4));
    EXPECT_EQ(app.blob2, "xy");
    EXPECT_EQ(app.watching, FALSE);
    EXPECT_TRUE(boxes.calls.empty());
}

TEST_F(AppBase, AChairFromTheSeatCountOnWatches)
{
    // Chair 7 on the command line: zero-based 6, watching chair 1.
    CJoinPeer peer(JoinReplyBody(FivePlayers(), 0, {}), 1);
    ScopedArguments arguments(LaunchArguments(7, peer.Port(), "viewer"));
    ASSERT_TRUE(app.ReadPlayerList());
    EXPECT_TRUE(app.m_bWatcher);
    EXPECT_EQ(app.m_nOwnChair, 1u);
    EXPECT_EQ(app.UserNames(), (std::vector<std::string>{"p1", "p0", "p4", "p3", "p2"}));
    EXPECT_EQ(app.watching, TRUE);
    EXPECT_EQ(app.blob1, "");
    EXPECT_EQ(app.blobCalls, 1);
}

TEST_F(AppBase, EmptyChairsAreSkippedAndTheAccessorsWrapRound)
{
    std::vector<ReplyPlayer> players = FivePlayers();
    players[1].user = "";
    players[4].user = "";
    CJoinPeer peer(JoinReplyBody(players, 0, {}), 1);
    ScopedArguments arguments(LaunchArguments(3, peer.Port()));
    ASSERT_TRUE(app.ReadPlayerList());
    EXPECT_EQ(app.UserNames(), (std::vector<std::string>{"p2", "p0", "p3"}));
    EXPECT_EQ(app.GetPlayer(1)->m_nPosition, 1);
    EXPECT_EQ(app.GetPlayer(2)->m_nPosition, 4);
    EXPECT_EQ(app.GetPlayer(3), nullptr);
    EXPECT_EQ(app.GetPlayer(-1), nullptr);
    // Seats from the own chair 2: 2, 3, (4 empty), 0, (1 empty).
    const char* expected[] = {"p2", "p3", nullptr, "p0", nullptr, "p2"};
    for (int offset = 0; offset < 6; offset++) {
        CGamePlayer* player = app.GetPlayerAtSeat(offset);
        if (expected[offset] == nullptr)
            EXPECT_EQ(player, nullptr) << offset;
        else
            EXPECT_STREQ(player->m_pszUserName, expected[offset]) << offset;
    }
    EXPECT_STREQ(app.GetPlayerAtSeat(-2)->m_pszUserName, "p0");
    EXPECT_EQ(app.FindPlayerIndex("P3"), 2);
    EXPECT_EQ(app.FindPlayerIndex("p1"), -1);
    EXPECT_STREQ(app.FindPlayer("P0")->m_pszNickName, "N0");
}

TEST_F(AppBase, ExpectedPlayerCountIsChecked)
{
    app.m_nNoEmptyChair = 4;
    CJoinPeer peer(JoinReplyBody(FivePlayers(), 0, {}), 1);
    ScopedArguments arguments(LaunchArguments(1, peer.Port(), "p0"));
    EXPECT_FALSE(app.ReadPlayerList());
    EXPECT_EQ(app.GetPlayerCount(), 0);
    EXPECT_EQ(LogLines().back(), "[ReadPlayerList] m_nNoEmptyChair != playercount fail!");
}

TEST_F(AppBase, RefusedJoinsShowTheirBoxesAndFail)
{
    struct Case {
        uint32_t result;
        std::vector<uint8_t> body;
        const char* box;
    } cases[] = {
        {4, {}, "发现非法用户名企图登录！"},
        {0x80000003, {}, "现在无法进入游戏通道，请过一会儿再试试"},
        // Result 1, but the count runs past the body.
        {1, {9, 0, 0, 0}, "现在无法进入游戏通道，请过一会儿再试试"},
    };
    for (const Case& c : cases) {
        boxes.calls.clear();
        CJoinPeer peer(c.body, c.result);
        ScopedArguments arguments(LaunchArguments(1, peer.Port(), "p0"));
        EXPECT_FALSE(app.ReadPlayerList());
        ASSERT_EQ(boxes.calls.size(), 1u) << c.result;
        EXPECT_EQ(boxes.calls[0].text, c.box);
        EXPECT_EQ(boxes.calls[0].type, (UINT)MB_ICONSTOP);
        EXPECT_EQ(theGameSocket.GetJoinResult(), c.result);
        EXPECT_EQ(theGameSocket.GetJoinResultFlag(), (c.result & 0x80000000u) != 0);
        EXPECT_FALSE(theGameSocket.IsOpen());
        EXPECT_EQ(LogLines().back(), "[ReadPlayerList] enter game channel fail!");
    }
}

TEST_F(AppBase, NoServerAndBadRecordsFail)
{
    {
        // A port where nobody listens: bound once, then closed.
        SOCKET probe = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ASSERT_EQ(::bind(probe, (sockaddr*)&address, sizeof(address)), 0);
        int length = sizeof(address);
        ::getsockname(probe, (sockaddr*)&address, &length);
        const UINT port = ntohs(address.sin_port);
        ::closesocket(probe);
        ScopedArguments arguments(LaunchArguments(1, port, "p0"));
        theGameSocket.SetAskFlags(FALSE);
        EXPECT_FALSE(app.ReadPlayerList());
        theGameSocket.SetAskFlags(TRUE);
    }
    {
        ScopedArguments arguments(LaunchArguments(0, 1, "p0"));
        EXPECT_FALSE(app.ReadPlayerList());
        EXPECT_EQ(LogLines().back(), "[ReadPlayerList] bad launch record fail!");
    }
}

TEST_F(AppBase, ForeignCodePageNicknamesAreConverted)
{
    std::vector<ReplyPlayer> players = FivePlayers();
    players[0].nick = "Ren\xE9";                       // code page 1252
    players[0].codePage = 1252;
    players[1].nick = std::string(18, 'n') + "\xE9\xE9";   // grows past the field
    players[1].codePage = 1252;
    players[2].codePage = 0;
    CJoinPeer peer(JoinReplyBody(players, 0, {}), 1);
    ScopedArguments arguments(LaunchArguments(1, peer.Port(), "p0"));
    ASSERT_TRUE(app.ReadPlayerList());
    ASSERT_TRUE(LoadCodePageConverter()) << "Varcode.dll and string 29936";
    EXPECT_STREQ(app.FindPlayer("p0")->m_pszNickName, "Ren\xA8\xA6");
    EXPECT_EQ(std::string(app.FindPlayer("p1")->m_pszNickName), std::string(18, 'n'));
    EXPECT_STREQ(app.FindPlayer("p2")->m_pszNickName, "N2");
    for (int i = 0; i < app.GetPlayerCount(); i++)
        EXPECT_LT(app.GetPlayer(i)->m_nChair, 5u);
}

// ---- Window and anchors ------------------------------------------------------------------------

TEST_F(AppBase, ShowGameWindowMakesASmallPopupFrame)
{
    ASSERT_TRUE(app.ShowGameWindow());
    CWnd* frame = app.m_pMainWnd;
    ASSERT_NE(frame, nullptr);
    CRect rect;
    frame->GetWindowRect(&rect);
    EXPECT_EQ(rect.Width(), 10);
    EXPECT_EQ(rect.Height(), 10);
    EXPECT_TRUE((frame->GetStyle() & WS_POPUP) != 0);
    frame->DestroyWindow();
    app.m_pMainWnd = nullptr;
}

TEST(AnchorPoints, RoundTheAreaAndFromThePointLists)
{
    const CRect area(100, 50, 300, 150);   // 200 x 100
    const POINT list1[2] = {{1, 2}, {3, 4}};
    const POINT list2[1] = {{5, 6}};
    struct Case {
        int code;
        CPoint point;
    } cases[] = {{0, {100, 50}},    {-3, {100, 50}},         {1, {0, 0}},     {2, {100, 0}},
                 {3, {200, 0}},     {4, {200, 50}},          {5, {200, 100}}, {6, {100, 100}},
                 {7, {0, 100}},     {8, {0, 50}},            {9, {-10000, -10000}},
                 {15, {-10000, -10000}}, {16, {1, 2}},       {17, {3, 4}},    {18, {-10000, -10000}},
                 {47, {-10000, -10000}}, {48, {5, 6}},       {49, {-10000, -10000}}};
    for (const Case& c : cases) {
        const CPoint p = AnchorPointOf(c.code, area, list1, 2, list2, 1);
        EXPECT_EQ(p.x, c.point.x) << c.code;
        EXPECT_EQ(p.y, c.point.y) << c.code;
    }
    CTestGameApp app;
    EXPECT_EQ(app.GetAnchorPoint(1).x, -10000);   // no game area
}
