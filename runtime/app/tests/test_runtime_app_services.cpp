// Client services: the server address selection against listeners on
// loopback addresses, the message box routing, and the sound and MIDI calls.
#include "AppTestSupport.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <mmsystem.h>

#include <atomic>
#include <mutex>
#include <thread>

#include "ClientServices.h"
#include "GameEnvironment.h"
#include "afxsock.h"
#include "net/MessageFrame.h"

namespace {

// One listener on 127.0.0.x:port that takes one connection, reads the
// register request and answers it (or closes without an answer).
class CRegisterPeer
{
public:
    CRegisterPeer(const char* address, UINT port, bool answer, uint32_t result, std::vector<uint8_t> body)
    {
        m_listener = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in at = {};
        at.sin_family = AF_INET;
        at.sin_port = htons((u_short)port);
        at.sin_addr.s_addr = inet_addr(address);
        bound = ::bind(m_listener, (sockaddr*)&at, sizeof(at)) == 0 && ::listen(m_listener, 4) == 0;
        int length = sizeof(at);
        ::getsockname(m_listener, (sockaddr*)&at, &length);
        this->port = ntohs(at.sin_port);
        m_thread = std::thread([=] { Serve(answer, result, body); });
    }
    ~CRegisterPeer()
    {
        Stop();
        ::closesocket(m_listener);
    }
    // Whether a client connected, asked once the client is done: a
    // connection not yet accepted still waits in the listener's queue.
    bool Contacted()
    {
        Stop();
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(m_listener, &readable);
        timeval now = {0, 0};
        return connected || ::select(0, &readable, NULL, NULL, &now) == 1;
    }
    bool bound = false;
    UINT port = 0;
    std::atomic<bool> connected{false};
    std::vector<uint8_t> request;   // the message received

private:
    void Serve(bool answer, uint32_t result, const std::vector<uint8_t>& body)
    {
        SOCKET client = INVALID_SOCKET;
        while (!m_stop && client == INVALID_SOCKET) {
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(m_listener, &readable);
            timeval wait = {0, 50000};
            if (::select(0, &readable, NULL, NULL, &wait) == 1)
                client = ::accept(m_listener, NULL, NULL);
        }
        if (client == INVALID_SOCKET)
            return;
        connected = true;
        std::vector<uint8_t> received;
        char buffer[512];
        while (received.size() < 8 + 148) {
            const int n = ::recv(client, buffer, sizeof(buffer), 0);
            if (n <= 0)
                break;
            received.insert(received.end(), buffer, buffer + n);
        }
        request = received;
        if (answer) {
            const std::vector<uint8_t> reply =
                BuildNetMessage(0x8000065B, body.data(), (uint32_t)body.size(), result);
            ::send(client, (const char*)reply.data(), (int)reply.size(), 0);
            // Until the client closes.
            while (::recv(client, buffer, sizeof(buffer), 0) > 0) {
            }
        }
        ::closesocket(client);
    }

    void Stop()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
    }

    SOCKET m_listener;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
};

std::vector<uint8_t> ReplyBody(uint32_t value, const std::string& text, bool terminated = true)
{
    std::vector<uint8_t> body(4 + text.size() + (terminated ? 1 : 0), 0);
    memcpy(body.data(), &value, 4);
    memcpy(body.data() + 4, text.data(), text.size());
    return body;
}

// A free port on 127.0.0.1 (bound once, then closed).
UINT FreePort()
{
    SOCKET probe = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in at = {};
    at.sin_family = AF_INET;
    at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(probe, (sockaddr*)&at, sizeof(at));
    int length = sizeof(at);
    ::getsockname(probe, (sockaddr*)&at, &length);
    ::closesocket(probe);
    return ntohs(at.sin_port);
}

struct ServerSelectionTest : ::testing::Test {
    void SetUp() override { ASSERT_TRUE(AfxSocketInit()); }
    void List(const std::string& value, const std::string& speeds = "")
    {
        WriteBytes(folder / "LangRsc.ini", "[RegisterIP]\nreg=" + value + "\n");
        WriteBytes(folder / "netspeed1.dat", "[NetSpeed]\n" + speeds);
    }
    ScratchFolder folder;
};

}  // namespace

TEST_F(ServerSelectionTest, CandidatesAndTheirOrder)
{
    List("1.2.3.4,,5.6.7.8", "1.2.3=40\n5.6.7=20\n");
    std::vector<ServerCandidate> list = GetServerCandidates("reg", folder.Path().c_str());
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].address, "5.6.7.8");
    EXPECT_EQ(list[0].speed, 20);
    EXPECT_EQ(list[1].address, "1.2.3.4");

    // Unmeasured first; equal speeds keep their order.
    List("9.9.9.1,9.9.8.1,9.9.7.1,9.9.6.1", "9.9.9=5\n9.9.7=5\n");
    list = GetServerCandidates("reg", folder.Path().c_str());
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0].address, "9.9.8.1");
    EXPECT_EQ(list[1].address, "9.9.6.1");
    EXPECT_EQ(list[2].address, "9.9.9.1");
    EXPECT_EQ(list[3].address, "9.9.7.1");

    // A value shorter than 2 characters, or none: the host alone.
    List("x");
    list = GetServerCandidates("reg", folder.Path().c_str());
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].address, "reg");
    list = GetServerCandidates("reg", (folder.Path() + "\\none").c_str());
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].address, "reg");
}

TEST_F(ServerSelectionTest, TheFirstServerThatAnswersOneGivesTheText)
{
    const UINT port = FreePort();
    CRegisterPeer answering("127.0.0.3", port, true, 1, ReplyBody(77, "ticket-text"));
    ASSERT_TRUE(answering.bound);
    List("127.0.0.2,127.0.0.3");   // nobody listens on .2
    ServerSelection selection;
    ASSERT_TRUE(SelectServerAddresses(&selection, "reg", port, "alice", "room-record", folder.Path().c_str()));
    EXPECT_EQ(std::string(selection.text), "ticket-text");
    EXPECT_EQ(selection.value, 77u);
    ASSERT_EQ(answering.request.size(), 8u + 148u);
    EXPECT_EQ(ReadWireU32(answering.request.data()), 0x65Bu);
    EXPECT_EQ(ReadWireU32(answering.request.data() + 4), 148u);
    EXPECT_STREQ(reinterpret_cast<const char*>(answering.request.data() + 8), "alice");
    EXPECT_STREQ(reinterpret_cast<const char*>(answering.request.data() + 28), "room-record");
}

TEST_F(ServerSelectionTest, AFourthCandidateIsNeverTried)
{
    const UINT port = FreePort();
    CRegisterPeer fourth("127.0.0.5", port, true, 1, ReplyBody(1, "late"));
    ASSERT_TRUE(fourth.bound);
    List("127.0.0.2,127.0.0.3,127.0.0.4,127.0.0.5");
    ServerSelection selection;
    EXPECT_FALSE(SelectServerAddresses(&selection, "reg", port, "alice", "x", folder.Path().c_str()));
    EXPECT_FALSE(fourth.Contacted());
}

TEST_F(ServerSelectionTest, AnyOtherReplyStopsTheSelection)
{
    const UINT port = FreePort();
    CRegisterPeer refusing("127.0.0.2", port, true, 2, ReplyBody(5, "no"));
    CRegisterPeer next("127.0.0.3", port, true, 1, ReplyBody(6, "yes"));
    List("127.0.0.2,127.0.0.3");
    ServerSelection selection;
    EXPECT_FALSE(SelectServerAddresses(&selection, "reg", port, "alice", "x", folder.Path().c_str()));
    EXPECT_TRUE(refusing.connected);
    EXPECT_FALSE(next.Contacted());
}

TEST_F(ServerSelectionTest, ReplyTextIsBoundedByTheBody)
{
    const UINT port = FreePort();
    CRegisterPeer answering("127.0.0.2", port, true, 1, ReplyBody(9, "unterminated", false));
    List("127.0.0.2");
    ServerSelection selection;
    ASSERT_TRUE(SelectServerAddresses(&selection, "reg", port, "alice", "x", folder.Path().c_str()));
    EXPECT_EQ(std::string(selection.text), "unterminated");
    EXPECT_EQ(selection.value, 9u);
}

// ---- Message boxes --------------------------------------------------------------------------

TEST(MessageBoxes, TextIdCountdownAndTheSkinnedChoice)
{
    AppBoxRecorder boxes;
    boxes.answers = {IDYES, IDNO};
    SetThemeInUse(FALSE);
    EXPECT_EQ(MsgBoxText("plain", MB_YESNO), IDYES);
    SetThemeInUse(TRUE);
    EXPECT_EQ(MsgBoxId(29914, MB_ICONSTOP, 30), IDNO);
    EXPECT_EQ(MsgBoxId(29934, MB_OK, 0), IDOK);   // a text of the connection
    SetThemeInUse(FALSE);
    ASSERT_EQ(boxes.calls.size(), 3u);
    EXPECT_EQ(boxes.calls[0].text, "plain");
    EXPECT_FALSE(boxes.calls[0].skinned);
    EXPECT_EQ(boxes.calls[0].countdown, -1);
    EXPECT_EQ(boxes.calls[1].text, "现在无法进入游戏通道，请过一会儿再试试");
    EXPECT_TRUE(boxes.calls[1].skinned);
    EXPECT_EQ(boxes.calls[1].countdown, 30);
    EXPECT_EQ(boxes.calls[2].text, "与游戏服务器的连接已经断开，游戏无法继续进行。");
    EXPECT_EQ(boxes.calls[2].countdown, -1);
}

TEST(MessageBoxes, EntryTextsComeBackInANewBlock)
{
    AppBoxRecorder boxes;
    boxes.entryText = "first-second";
    char* entry = reinterpret_cast<char*>(1);
    EXPECT_EQ(MsgBoxEx("name?", MB_OKCANCEL | 0x80000000u, 0, &entry), IDOK);
    ASSERT_NE(entry, nullptr);
    EXPECT_STREQ(entry, "first-second");
    delete[] entry;
    EXPECT_TRUE(boxes.calls[0].wantsEntry);
    boxes.entryText = "";
    EXPECT_EQ(MsgBoxEx("name?", MB_OK, 0, &entry), IDOK);
    EXPECT_EQ(entry, nullptr);
    EXPECT_EQ(MsgBoxEx("plain", MB_OK, 0, NULL), IDOK);
    EXPECT_FALSE(boxes.calls[2].wantsEntry);
}

namespace {
int g_cancelModes = 0;
LRESULT CALLBACK CountCancelMode(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CANCELMODE)
        g_cancelModes++;
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}
}  // namespace

TEST(MessageBoxes, ShowMessageCancelsTheModesOfTheMainWindowsChildren)
{
    CWinApp app("ServicesTest");
    CFrameWnd* frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(NULL, "main", WS_POPUP));
    app.m_pMainWnd = frame;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = CountCancelMode;
    wc.hInstance = ::GetModuleHandleA(NULL);
    wc.lpszClassName = "ServicesChild";
    ::RegisterClassA(&wc);
    for (int i = 0; i < 2; i++)
        ::CreateWindowExA(0, "ServicesChild", "", WS_CHILD, 0, 0, 1, 1, frame->m_hWnd, NULL, wc.hInstance, NULL);

    AppBoxRecorder boxes;
    g_cancelModes = 0;
    EXPECT_EQ(ShowMessageText("careful", MB_ICONWARNING), IDOK);
    MSG msg;
    while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
        ::DispatchMessageA(&msg);
    EXPECT_EQ(g_cancelModes, 2);
    EXPECT_EQ(ShowMessageId(29915), IDOK);
    ASSERT_EQ(boxes.calls.size(), 2u);
    EXPECT_EQ(boxes.calls[1].text, "发现非法用户名企图登录！");
    frame->DestroyWindow();
    app.m_pMainWnd = nullptr;
}

// ---- Sounds and MIDI ----------------------------------------------------------------------------

namespace {

struct SoundCall {
    std::string sound;   // "#id" for a resource, "" for none
    HMODULE module;
    DWORD flags;
};
std::vector<SoundCall> g_sounds;
std::vector<std::string> g_mci;
DWORD g_mciOpenResult = 0;

BOOL WINAPI RecordSound(LPCSTR sound, HMODULE module, DWORD flags)
{
    std::string name;
    if (sound != NULL)
        name = IS_INTRESOURCE(sound) ? "#" + std::to_string((UINT)(ULONG_PTR)sound) : std::string(sound);
    g_sounds.push_back({name, module, flags});
    return TRUE;
}

DWORD WINAPI RecordMci(LPCSTR command, LPSTR, UINT, HWND)
{
    g_mci.push_back(command);
    return strncmp(command, "open", 4) == 0 ? g_mciOpenResult : 0;
}

}  // namespace

TEST(Sounds, ResourcesFilesAndTheSwitch)
{
    SetPlaySoundRoutine(RecordSound);
    g_sounds.clear();
    EXPECT_TRUE(PlaySoundRes(5));
    ASSERT_EQ(g_sounds.size(), 2u);
    EXPECT_EQ(g_sounds[0].sound, "");
    EXPECT_EQ(g_sounds[0].flags, (DWORD)SND_PURGE);
    EXPECT_EQ(g_sounds[1].sound, "#5");
    EXPECT_EQ(g_sounds[1].module, (HMODULE)AfxGetResourceHandle());
    EXPECT_EQ(g_sounds[1].flags, (DWORD)(SND_RESOURCE | SND_ASYNC | SND_NODEFAULT));
    EXPECT_TRUE(PlayWaveFile("C:\\sound\\win.wav", SND_LOOP));
    EXPECT_EQ(g_sounds.back().flags, (DWORD)(SND_FILENAME | SND_ASYNC | SND_LOOP));

    theSoundPlayer.EnableSound(FALSE);
    g_sounds.clear();
    EXPECT_FALSE(PlaySoundRes(5));
    EXPECT_FALSE(PlayWaveFile("C:\\sound\\win.wav"));
    EXPECT_TRUE(g_sounds.empty());
    theSoundPlayer.EnableSound(TRUE);
    SetPlaySoundRoutine(NULL);
}

TEST(Sounds, MidiCommandsQuoteThePath)
{
    SetMciSendRoutine(RecordMci);
    g_mci.clear();
    EXPECT_TRUE(PlayMidiMusic("C:\\My Music\\bg.mid"));
    const std::vector<std::string> expected = {"close sq", "open \"C:\\My Music\\bg.mid\" type sequencer alias sq",
                                               "play sq from 0 notify"};
    EXPECT_EQ(g_mci, expected);
    StopMidiMusic();
    EXPECT_EQ(g_mci.back(), "close sq");

    g_mci.clear();
    g_mciOpenResult = 263;   // the device cannot be opened
    EXPECT_FALSE(PlayMidiFile("C:\\missing.mid"));
    EXPECT_EQ(g_mci.size(), 2u);
    g_mciOpenResult = 0;
    EXPECT_FALSE(PlayMidiMusic("C:\\bad\"name.mid"));
    SetMciSendRoutine(NULL);
    EXPECT_EQ(AlwaysTrue("%s::StartReceive", "x"), 1);
}
