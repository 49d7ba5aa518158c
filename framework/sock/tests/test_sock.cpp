// The sockets layer: notifications through the message-only window, the
// close that waits for its data, stale notifications of a former
// attachment, and CSocket's blocking send that holds notifications back.
#include <gtest/gtest.h>

#include "afxsock.h"

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

// Pumps the thread's messages until done(); the time limit only ends a
// test whose event never comes.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 30000)
{
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > timeoutMs)
            return false;
        if (!AfxPumpOneMessage())
            AfxWaitForMessage(100);
    }
    return true;
}

// Dispatches every message queued for this thread, until the queue is empty.
void PumpQueued()
{
    while (AfxPumpOneMessage()) {
    }
}

// A socket notification (the sink's range of message numbers) for this
// handle and event is queued for this thread. The notifications of one
// attachment share a message number, so they are taken out to be looked at
// and put back in their order.
bool NotificationQueued(SOCKET handle, int event)
{
    std::vector<MSG> taken;
    MSG msg;
    while (::PeekMessageA(&msg, NULL, WM_APP, 0xBFFF, PM_REMOVE))
        taken.push_back(msg);
    bool found = false;
    for (const MSG& m : taken) {
        found = found || (m.wParam == (WPARAM)handle && WSAGETSELECTEVENT(m.lParam) == event);
        ::PostMessageA(m.hwnd, m.message, m.wParam, m.lParam);
    }
    return found;
}

// Waits, dispatching nothing, until the system has queued the notification.
bool WaitForNotification(SOCKET handle, int event, DWORD timeoutMs = 30000)
{
    const DWORD start = ::GetTickCount();
    while (!NotificationQueued(handle, event)) {
        if (::GetTickCount() - start > timeoutMs)
            return false;
        ::Sleep(1);   // the system posts it from outside this thread
    }
    return true;
}

// Records every notification it gets.
class CRecordingSocket : public CSocket
{
public:
    std::vector<std::string> events;
    std::string received;
    int closeError = -1;

    void OnReceive(int nErrorCode) override
    {
        events.push_back("read " + std::to_string(nErrorCode));
        char chunk[4096];
        const int n = CAsyncSocket::Receive(chunk, sizeof(chunk));
        if (n > 0)
            received.append(chunk, n);
    }
    void OnConnect(int nErrorCode) override { events.push_back("connect " + std::to_string(nErrorCode)); }
    void OnAccept(int nErrorCode) override { events.push_back("accept " + std::to_string(nErrorCode)); }
    void OnClose(int nErrorCode) override
    {
        events.push_back("close " + std::to_string(nErrorCode));
        closeError = nErrorCode;
    }
    bool Saw(const std::string& event) const
    {
        for (const auto& e : events)
            if (e == event)
                return true;
        return false;
    }
};

// A listening socket on 127.0.0.1 and a client connected to it through the
// notifications; the accepted end is a plain blocking socket.
class SocketPair : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxSocketInit());
        ASSERT_TRUE(m_listener.Create(0, SOCK_STREAM, FD_ACCEPT, "127.0.0.1"));
        ASSERT_TRUE(m_listener.Listen());
        CString address;
        UINT port = 0;
        ASSERT_TRUE(m_listener.GetSockName(address, port));
        EXPECT_STREQ((LPCTSTR)address, "127.0.0.1");
        ASSERT_TRUE(m_client.Create());
        EXPECT_FALSE(m_client.Connect("127.0.0.1", port));
        EXPECT_EQ(CAsyncSocket::GetLastError(), WSAEWOULDBLOCK);
        ASSERT_TRUE(PumpUntil([&] { return m_listener.Saw("accept 0") && m_client.Saw("connect 0"); }));
        m_peer = ::accept(m_listener.m_hSocket, NULL, NULL);
        ASSERT_NE(m_peer, INVALID_SOCKET);
        // The accepted socket inherits the listener's notifications: a plain
        // blocking socket needs them off first.
        ::WSAEventSelect(m_peer, NULL, 0);
        u_long blocking = 0;
        ASSERT_EQ(::ioctlsocket(m_peer, FIONBIO, &blocking), 0);
    }
    void TearDown() override
    {
        if (m_peer != INVALID_SOCKET)
            ::closesocket(m_peer);
    }
    void PeerSend(const std::string& bytes)
    {
        ASSERT_EQ(::send(m_peer, bytes.data(), (int)bytes.size(), 0), (int)bytes.size());
    }
    void PeerClose()
    {
        ::closesocket(m_peer);
        m_peer = INVALID_SOCKET;
    }

    CRecordingSocket m_listener;
    CRecordingSocket m_client;
    SOCKET m_peer = INVALID_SOCKET;
};

}  // namespace

TEST_F(SocketPair, DataArrivesThroughOnReceive)
{
    PeerSend("hello");
    ASSERT_TRUE(PumpUntil([&] { return m_client.received == "hello"; }));
    EXPECT_TRUE(m_client.Saw("read 0"));
    EXPECT_EQ(CAsyncSocket::FromHandle(m_client.m_hSocket), &m_client);
}

TEST_F(SocketPair, APeerCloseComesAfterTheDataSentBeforeIt)
{
    // The reader takes two bytes per notification, so the close finds data
    // left several times before it may be reported.
    class CSlowReader : public CSocket
    {
    public:
        std::string received;
        bool closed = false;
        bool closedWithDataLeft = false;
        void OnReceive(int) override
        {
            char two[2];
            const int n = CAsyncSocket::Receive(two, sizeof(two));
            if (n > 0)
                received.append(two, n);
        }
        void OnClose(int) override
        {
            DWORD left = 0;
            IOCtl(FIONREAD, &left);
            closedWithDataLeft = left != 0;
            closed = true;
        }
    } reader;
    reader.Attach(m_client.Detach());
    PeerSend("0123456789abcdef");
    PeerClose();
    ASSERT_TRUE(PumpUntil([&] { return reader.closed; }));
    EXPECT_EQ(reader.received, "0123456789abcdef");
    EXPECT_FALSE(reader.closedWithDataLeft);
}

TEST_F(SocketPair, ACloseWaitsWhileNotificationsAreOffAndComesWhenTheyAreBack)
{
    PeerSend("abc");
    PeerClose();
    // The data has arrived once its notification is queued.
    ASSERT_TRUE(WaitForNotification(m_client.m_hSocket, FD_READ));
    ASSERT_TRUE(m_client.AsyncSelect(0));
    // Whatever was queued before is handled; the close may already read.
    PumpQueued();
    const bool closedEarly = m_client.closeError == 0 && m_client.received != "abc";
    EXPECT_FALSE(closedEarly);
    ASSERT_TRUE(m_client.AsyncSelect());
    ASSERT_TRUE(PumpUntil([&] { return m_client.closeError == 0; }));
    EXPECT_EQ(m_client.received, "abc");
}

TEST_F(SocketPair, ANotificationOfAFormerAttachmentIsDropped)
{
    PeerSend("x");
    // The system has queued the read notification for the first attachment.
    ASSERT_TRUE(WaitForNotification(m_client.m_hSocket, FD_READ));
    CRecordingSocket second;
    SOCKET handle = m_client.Detach();
    ASSERT_TRUE(second.Attach(handle, FD_CLOSE));
    PumpQueued();
    EXPECT_FALSE(second.Saw("read 0"));
    EXPECT_TRUE(m_client.events.size() == 1u && m_client.events[0] == "connect 0");
    // Asking for reads again brings the data to the new owner.
    ASSERT_TRUE(second.AsyncSelect());
    ASSERT_TRUE(PumpUntil([&] { return second.received == "x"; }));
}

TEST_F(SocketPair, ABlockingSendSendsEverythingAndHoldsNotificationsBack)
{
    // The peer sends one byte at once, then reads slowly: the client's send
    // fills the socket buffers and has to wait, pumping messages.
    const size_t kTotal = 8 * 1024 * 1024;
    std::atomic<size_t> peerGot{0};
    PeerSend("!");
    SOCKET peer = m_peer;
    // The peer starts reading once the send has had to wait.
    HANDLE blocked = ::CreateEventA(NULL, TRUE, FALSE, NULL);
    ASSERT_NE(blocked, nullptr);
    std::thread reader([peer, &peerGot, kTotal, blocked] {
        ::WaitForSingleObject(blocked, 60000);
        std::vector<char> chunk(65536);
        while (peerGot < kTotal) {
            const int n = ::recv(peer, chunk.data(), (int)chunk.size(), 0);
            if (n <= 0)
                break;
            peerGot += n;
        }
    });
    // The read notification is queued now.
    ASSERT_TRUE(WaitForNotification(m_client.m_hSocket, FD_READ));

    struct CCountingSocket : public CRecordingSocket
    {
        int waits = 0;
        size_t readsWhileBlocking = 0;
        HANDLE blocked = NULL;
        BOOL OnBlockingWait() override
        {
            if (waits++ == 0)
                ::SetEvent(blocked);
            return CSocket::OnBlockingWait();
        }
        void OnReceive(int nErrorCode) override
        {
            if (IsBlocking())
                readsWhileBlocking++;
            CRecordingSocket::OnReceive(nErrorCode);
        }
    } sender;
    sender.blocked = blocked;
    sender.Attach(m_client.Detach());
    // Small fixed buffers: however fast the peer reads, 8 MiB cannot go in one call.
    const int kBufferSize = 64 * 1024;
    ::setsockopt(peer, SOL_SOCKET, SO_RCVBUF, (const char*)&kBufferSize, sizeof(kBufferSize));
    ASSERT_TRUE(sender.SetSockOpt(SO_SNDBUF, &kBufferSize, sizeof(kBufferSize)));
    std::vector<char> big(kTotal, 'z');
    EXPECT_EQ(sender.Send(big.data(), (int)big.size()), (int)big.size());
    ::SetEvent(blocked);   // a send that never waited fails below, without a hang
    reader.join();
    ::CloseHandle(blocked);
    EXPECT_EQ(peerGot.load(), kTotal);
    EXPECT_GT(sender.waits, 0);
    EXPECT_EQ(sender.readsWhileBlocking, 0u);
    EXPECT_TRUE(sender.received.empty());
    ASSERT_TRUE(PumpUntil([&] { return sender.received == "!"; }));
}

namespace {

// A socket whose owner holds its notifications back while it reads the
// socket itself.
class CHoldingSocket : public CRecordingSocket
{
public:
    void Hold() { m_bHoldNotifications = TRUE; }
    void Release()
    {
        m_bHoldNotifications = FALSE;
        ReleaseHeldNotifications();
    }
};

}  // namespace

TEST_F(SocketPair, HeldNotificationsComeWhenTheOwnerReleasesThem)
{
    CHoldingSocket holder;
    holder.Attach(m_client.Detach());
    holder.Hold();
    PeerSend("x");
    // A blocking call ending meanwhile does not end the owner's hold.
    EXPECT_EQ(holder.Send("y", 1), 1);
    PeerClose();
    ASSERT_TRUE(WaitForNotification(holder.m_hSocket, FD_READ));
    PumpQueued();
    EXPECT_TRUE(holder.events.empty());
    holder.Release();
    ASSERT_TRUE(PumpUntil([&] { return holder.closeError == 0; }));
    EXPECT_EQ(holder.received, "x");
    ASSERT_FALSE(holder.events.empty());
    EXPECT_EQ(holder.events.front(), "read 0");
    EXPECT_EQ(holder.events.back(), "close 0");
}

TEST_F(SocketPair, HeldNotificationsGoWithTheSocketClosedDuringTheHold)
{
    CHoldingSocket holder;
    holder.Attach(m_client.Detach());
    holder.Hold();
    PeerSend("x");
    PeerClose();
    ASSERT_TRUE(WaitForNotification(holder.m_hSocket, FD_READ));
    PumpQueued();
    holder.Close();
    holder.Release();
    PumpQueued();
    EXPECT_TRUE(holder.events.empty());
}

TEST_F(SocketPair, ABlockingSendEndsWhenItsWaitSaysSo)
{
    struct CGivingUp : public CRecordingSocket
    {
        BOOL OnBlockingWait() override
        {
            SetLastError(WSAETIMEDOUT);
            return FALSE;
        }
    } sender;
    sender.Attach(m_client.Detach());
    std::vector<char> big(16 * 1024 * 1024, 'z');   // more than the buffers take
    EXPECT_EQ(sender.Send(big.data(), (int)big.size()), SOCKET_ERROR);
    EXPECT_EQ(CAsyncSocket::GetLastError(), WSAETIMEDOUT);
    EXPECT_FALSE(sender.IsBlocking());
}

TEST(SocketLayer, ReportsTheSocketsVersion)
{
    ASSERT_TRUE(AfxSocketInit());
    EXPECT_GE(LOBYTE(AfxSocketHighVersion()), 1);
    CAsyncSocket unused;
    EXPECT_FALSE(unused.AsyncSelect());
    EXPECT_EQ(CAsyncSocket::GetLastError(), WSAENOTSOCK);
}
