#include "NetTestSupport.h"

#include <cstring>

#include "store/MessageCompression.h"

BoxRecorder g_boxes;

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > timeoutMs)
            return false;
        if (!AfxPumpOneMessage())
            AfxWaitForMessage(10);   // or another thread's event
    }
    return true;
}

void PumpFor(DWORD ms)
{
    PumpUntil([] { return false; }, ms);
}

void PumpQueued()
{
    while (AfxPumpOneMessage()) {
    }
}

bool WaitForReadNotification(SOCKET socket, DWORD timeoutMs)
{
    // The notifications of one attachment share a message number: they are
    // taken out of the queue to be looked at and put back in their order.
    const DWORD start = ::GetTickCount();
    for (;;) {
        std::vector<MSG> taken;
        MSG msg;
        while (::PeekMessageA(&msg, NULL, WM_APP, 0xBFFF, PM_REMOVE))
            taken.push_back(msg);
        bool found = false;
        for (const MSG& m : taken) {
            found = found || (m.wParam == (WPARAM)socket && WSAGETSELECTEVENT(m.lParam) == FD_READ);
            ::PostMessageA(m.hwnd, m.message, m.wParam, m.lParam);
        }
        if (found)
            return true;
        if (::GetTickCount() - start > timeoutMs)
            return false;
        ::Sleep(1);   // the system posts it from outside this thread
    }
}

bool WaitUntilUnread(SOCKET socket, DWORD bytes, DWORD timeoutMs)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        u_long unread = 0;
        if (::ioctlsocket(socket, FIONREAD, &unread) != 0)
            return false;
        if (unread >= bytes)
            return true;
        if (::GetTickCount() - start > timeoutMs)
            return false;
        ::Sleep(1);   // no event tells of bytes that arrive while notifications are off
    }
}

std::vector<uint8_t> Bytes(const std::string& text, bool withZero)
{
    std::vector<uint8_t> bytes(text.begin(), text.end());
    if (withZero)
        bytes.push_back(0);
    return bytes;
}

std::vector<uint8_t> U32s(std::initializer_list<uint32_t> values)
{
    std::vector<uint8_t> bytes;
    for (uint32_t v : values)
        for (int i = 0; i < 4; ++i)
            bytes.push_back(uint8_t(v >> (8 * i)));
    return bytes;
}

std::vector<uint8_t> Concat(std::initializer_list<std::vector<uint8_t>> parts)
{
    std::vector<uint8_t> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

std::vector<uint8_t> Field(const std::string& text, size_t n)
{
    std::vector<uint8_t> field(n, 0);
    memcpy(field.data(), text.data(), text.size() < n ? text.size() : n);
    return field;
}

std::vector<uint8_t> WireMessage(uint32_t id, const std::vector<uint8_t>& body, uint32_t result, bool compress)
{
    if (!compress)
        return BuildNetMessage(id, body.data(), (uint32_t)body.size(), result);
    std::vector<uint8_t> packed(body.size() + 4);
    const uint32_t length = CompressMessageBody(body.data(), (uint32_t)body.size(), packed.data());
    EXPECT_NE(length, 0u) << "the body did not compress (DIDuv.dll missing?)";
    return BuildNetMessage(id | kMsgCompressedBit, packed.data(), length, result);
}

SOCKET ListenOnLoopback(int backlog, UINT* port)
{
    SOCKET listener = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    SOCKADDR_IN addr;
    memset(&addr, 0, sizeof(addr));
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(listener, (SOCKADDR*)&addr, sizeof(addr));
    ::listen(listener, backlog);
    int length = sizeof(addr);
    ::getsockname(listener, (SOCKADDR*)&addr, &length);
    *port = ntohs(addr.sin_port);
    return listener;
}

/////////////////////////////////////////////////////////////////////////////
// CTestPeer

CTestPeer::CTestPeer()
{
    AfxSocketInit();
    m_listener = ListenOnLoopback(4, &m_port);
}

CTestPeer::~CTestPeer()
{
    Close();
    if (m_listener != INVALID_SOCKET)
        ::closesocket(m_listener);
}

bool CTestPeer::Accept(DWORD timeoutMs)
{
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(m_listener, &readable);
    timeval wait = {long(timeoutMs / 1000), long((timeoutMs % 1000) * 1000)};
    if (::select(0, &readable, NULL, NULL, &wait) != 1)
        return false;
    m_socket = ::accept(m_listener, NULL, NULL);
    if (m_socket == INVALID_SOCKET)
        return false;
    BOOL noDelay = TRUE;
    ::setsockopt(m_socket, IPPROTO_TCP, TCP_NODELAY, (const char*)&noDelay, sizeof(noDelay));
    m_reader = std::thread([this] { ReaderLoop(); });
    return true;
}

bool CTestPeer::SendBytes(const std::vector<uint8_t>& bytes, size_t pieceSize, DWORD pauseMs)
{
    std::vector<uint8_t> data = bytes;
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_socket == INVALID_SOCKET)
        return false;
    if (m_writeTransform && !data.empty())
        m_writeTransform->Apply(data.data(), (uint32_t)data.size());
    size_t sent = 0;
    while (sent < data.size()) {
        const size_t piece = pieceSize == 0 ? data.size() - sent : std::min(pieceSize, data.size() - sent);
        const int n = ::send(m_socket, (const char*)data.data() + sent, (int)piece, 0);
        if (n <= 0)
            return false;
        sent += (size_t)n;
        if (pauseMs != 0 && sent < data.size())
            ::Sleep(pauseMs);
    }
    return true;
}

bool CTestPeer::Send(uint32_t id, const std::vector<uint8_t>& body, uint32_t result, bool compress)
{
    return SendBytes(WireMessage(id, body, result, compress));
}

void CTestPeer::ReaderLoop()
{
    std::vector<uint8_t> stream;
    char chunk[65536];
    while (!m_stop) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(m_socket, &readable);
        timeval poll = {0, 20 * 1000};
        if (::select(0, &readable, NULL, NULL, &poll) != 1)
            continue;
        const int n = ::recv(m_socket, chunk, sizeof(chunk), 0);
        if (n <= 0)
            break;
        std::vector<PeerMessage> complete;
        std::function<void(const PeerMessage&)> responder;
        {
            std::lock_guard<std::mutex> guard(m_lock);
            if (m_readTransform)
                m_readTransform->Apply(chunk, (uint32_t)n);
            stream.insert(stream.end(), chunk, chunk + n);
            while (stream.size() >= 8) {
                const uint32_t id = ReadWireU32(stream.data());
                const size_t total = MsgHeaderSize(id) + size_t(ReadWireU32(stream.data() + 4));
                if (stream.size() < total)
                    break;
                PeerMessage message;
                message.id = id;
                message.result = MsgResult(stream.data());
                message.body.assign(stream.begin() + MsgHeaderSize(id), stream.begin() + total);
                stream.erase(stream.begin(), stream.begin() + total);
                m_received.push_back(message);
                complete.push_back(message);
            }
            responder = m_responder;
        }
        if (responder)
            for (const auto& message : complete)
                responder(message);
    }
    std::lock_guard<std::mutex> guard(m_lock);
    m_closed = true;
}

std::vector<PeerMessage> CTestPeer::Received()
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_received;
}

size_t CTestPeer::ReceivedCount()
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_received.size();
}

bool CTestPeer::SawClose()
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_closed;
}

void CTestPeer::SetResponder(std::function<void(const PeerMessage&)> responder)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_responder = std::move(responder);
}

void CTestPeer::UseTransforms(const std::vector<uint8_t>& clientSendKey, uint32_t sendParameter,
                              const std::vector<uint8_t>& clientReceiveKey, uint32_t receiveParameter)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_readTransform.reset(new CStreamTransform(clientSendKey.data(), (uint32_t)clientSendKey.size(), sendParameter));
    m_writeTransform.reset(
        new CStreamTransform(clientReceiveKey.data(), (uint32_t)clientReceiveKey.size(), receiveParameter));
}

void CTestPeer::StopReader()
{
    m_stop = true;
    if (m_reader.joinable())
        m_reader.join();
}

void CTestPeer::Close()
{
    if (m_socket == INVALID_SOCKET)
        return;
    ::shutdown(m_socket, SD_SEND);
    // Whatever the client still sends is read before the socket goes, so the
    // close stays graceful.
    const DWORD start = ::GetTickCount();
    while (!SawClose() && ::GetTickCount() - start < 100)
        ::Sleep(5);
    StopReader();
    ::closesocket(m_socket);
    m_socket = INVALID_SOCKET;
}

void CTestPeer::Reset()
{
    if (m_socket == INVALID_SOCKET)
        return;
    StopReader();
    LINGER abortive = {1, 0};
    ::setsockopt(m_socket, SOL_SOCKET, SO_LINGER, (const char*)&abortive, sizeof(abortive));
    ::closesocket(m_socket);
    m_socket = INVALID_SOCKET;
}

/////////////////////////////////////////////////////////////////////////////
// Proxy settings

void WriteSocksSettings(CPrivateUserKey& key, UINT port, DWORD version)
{
    key.Dword(kProxyKey, "ProxyEnable", 1);
    key.String(kProxyKey, "SocksServer", "127.0.0.1");
    key.Dword(kProxyKey, "SocksPort", port);
    key.Dword(kProxyKey, "SocksVersion", version);
}

void WriteTunnelSettings(CPrivateUserKey& key, DWORD type, UINT relayPort, UINT proxyPort, const char* proxyUser,
                         const char* proxyPassword)
{
    key.Dword(kProxyKey, "ProxyEnable", 1);
    key.Dword(kProxyKey, "SocksVersion", 1);
    key.Dword(kProxyKey, "HttpProxyType", type);
    key.String(kProxyKey, "TransServer", "127.0.0.1");
    key.Dword(kProxyKey, "TransServerPort", relayPort);
    if (type == 2) {
        key.String(kProxyKey, "HttpProxyServer", "127.0.0.1");
        key.Dword(kProxyKey, "HttpProxyPort", proxyPort);
        if (proxyUser != nullptr) {
            key.String(kProxyKey, "HttpProxyUser", proxyUser);
            key.String(kProxyKey, "HttpProxyPass", proxyPassword != nullptr ? proxyPassword : "");
        }
    }
}

/////////////////////////////////////////////////////////////////////////////
// Recorders

std::string BoxRecorder::Describe() const
{
    std::string lines;
    for (const BoxCall& call : calls)
        lines += "box " + std::to_string(call.stringId) + " \"" + call.text + "\" argument " +
                 std::to_string(call.argument) + "\n";
    return lines;
}

namespace {

int RecordBox(const BoxCall& call)
{
    g_boxes.calls.push_back(call);
    if (g_boxes.onBox)
        g_boxes.onBox(call);
    if (g_boxes.answers.empty())
        return IDOK;
    const int answer = g_boxes.answers.front();
    g_boxes.answers.pop_front();
    return answer;
}

int RecordTextBox(LPCSTR lpszText, UINT nFlags, int nArgument)
{
    BoxCall call;
    call.text = lpszText;
    call.flags = nFlags;
    call.argument = nArgument;
    return RecordBox(call);
}

int RecordIdBox(UINT nStringId, UINT nFlags, int nArgument)
{
    BoxCall call;
    call.stringId = nStringId;
    call.flags = nFlags;
    call.argument = nArgument;
    return RecordBox(call);
}

int RecordStateText(void*, LPCSTR lpszText)
{
    g_boxes.stateTexts.push_back(lpszText);
    return 0;
}

}  // namespace

void BoxRecorder::Attach(CGameSocket& socket)
{
    socket.SetBoxHooks(RecordTextBox, RecordIdBox);
    socket.SetNoticeHook(RecordStateText, NULL);
}

void CHandlerRecorder::Attach(CGameClientSocket& s)
{
    socket = &s;
    s.SetHandler(Handler, this);
}

int CHandlerRecorder::Handler(void* pContext, void* pData, uint32_t dwCode)
{
    auto* self = static_cast<CHandlerRecorder*>(pContext);
    HandlerCall call;
    call.code = dwCode;
    call.receivingStopped = self->socket != nullptr && !self->socket->IsReceiving();
    if (dwCode == kHandlerConnectionClosed) {
        call.stateCode = (int)(INT_PTR)pData;
    } else {
        call.id = MsgId(pData);
        call.body.assign(MsgBody(pData), MsgBody(pData) + MsgBodyLength(pData));
    }
    self->calls.push_back(call);
    if (self->onCall)
        self->onCall(call);
    return 0;
}

std::vector<uint32_t> CHandlerRecorder::MessageIds() const
{
    std::vector<uint32_t> ids;
    for (const auto& call : calls)
        if (call.code > 3)
            ids.push_back(call.id);
    return ids;
}
