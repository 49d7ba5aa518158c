// Helpers of the connection's tests: a scripted peer (a Winsock server on
// 127.0.0.1 with its own reader thread), recorders for boxes, notices, the
// UI services and the game handler, and a pump.
#pragma once

#include <gtest/gtest.h>

#include "GameClientSocket.h"

#include <atomic>
#include <cstdio>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// HKEY_CURRENT_USER of this process, redirected to a key of its own while
// the object lives, so that the settings a test writes there (the proxy's,
// the relay's) are never seen by tests running at the same time.
class CPrivateUserKey
{
public:
    CPrivateUserKey()
    {
        char path[96];
        snprintf(path, sizeof(path), "Software\\MardavelTests\\EndToEnd\\%lu", ::GetCurrentProcessId());
        m_path = path;
        ::RegDeleteTreeA(HKEY_CURRENT_USER, path);
        ::RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &m_hRoot, NULL);
        m_bOverridden = ::RegOverridePredefKey(HKEY_CURRENT_USER, m_hRoot) == ERROR_SUCCESS;
    }
    ~CPrivateUserKey()
    {
        ::RegOverridePredefKey(HKEY_CURRENT_USER, NULL);
        ::RegCloseKey(m_hRoot);
        ::RegDeleteTreeA(HKEY_CURRENT_USER, m_path.c_str());
    }
    bool Overridden() const { return m_bOverridden; }

    void Dword(const char* key, const char* name, DWORD value)
    {
        HKEY h = Open(key);
        ::RegSetValueExA(h, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
        ::RegCloseKey(h);
    }
    void String(const char* key, const char* name, const std::string& value)
    {
        HKEY h = Open(key);
        ::RegSetValueExA(h, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), DWORD(value.size() + 1));
        ::RegCloseKey(h);
    }

private:
    HKEY Open(const char* key)
    {
        HKEY h = NULL;
        ::RegCreateKeyExA(m_hRoot, key, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &h, NULL);
        return h;
    }

    std::string m_path;
    HKEY m_hRoot = NULL;
    bool m_bOverridden = false;
};

// The user's proxy settings as the connection reads them.
const char kProxyKey[] = "Software\\Quorvintel\\Game\\Share\\Proxy";
// A SOCKS proxy (version 4 or 5) on 127.0.0.1:port.
void WriteSocksSettings(CPrivateUserKey& key, UINT port, DWORD version);
// The HTTP tunnel's relay on 127.0.0.1:relayPort; type 2 goes through the
// HTTP proxy on 127.0.0.1:proxyPort, with its login when one is given.
void WriteTunnelSettings(CPrivateUserKey& key, DWORD type, UINT relayPort, UINT proxyPort,
                         const char* proxyUser = nullptr, const char* proxyPassword = nullptr);

// Pumps the thread's messages until done(); the time limit only ends a test
// whose event never comes.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 30000);
// Pumps for a while (a process that is to end meanwhile).
void PumpFor(DWORD ms);
// Dispatches every message queued for this thread, until the queue is empty.
void PumpQueued();
// Waits, taking nothing from the queue, until a read notification of the
// socket is queued for this thread.
bool WaitForReadNotification(SOCKET socket, DWORD timeoutMs = 30000);
// Waits until the socket holds at least this many bytes not yet read.
bool WaitUntilUnread(SOCKET socket, DWORD bytes, DWORD timeoutMs = 30000);

// One message as the peer received it, or as a test builds it.
struct PeerMessage {
    uint32_t id = 0;
    uint32_t result = 0;
    std::vector<uint8_t> body;
};
std::vector<uint8_t> Bytes(const std::string& text, bool withZero = false);
std::vector<uint8_t> U32s(std::initializer_list<uint32_t> values);
std::vector<uint8_t> Concat(std::initializer_list<std::vector<uint8_t>> parts);
// A char[n] field: the text, zero-padded to n bytes.
std::vector<uint8_t> Field(const std::string& text, size_t n);
// The wire bytes of a message; compressed bodies are made with DIDuv.dll.
std::vector<uint8_t> WireMessage(uint32_t id, const std::vector<uint8_t>& body, uint32_t result = 0,
                                 bool compress = false);

// A listening socket on 127.0.0.1 at a free port (written to *port).
SOCKET ListenOnLoopback(int backlog, UINT* port);

class CTestPeer
{
public:
    CTestPeer();
    ~CTestPeer();
    CTestPeer(const CTestPeer&) = delete;
    CTestPeer& operator=(const CTestPeer&) = delete;

    UINT Port() const { return m_port; }
    // Takes the client's connection (already made by the client's Connect)
    // and starts reading it on the peer's thread.
    bool Accept(DWORD timeoutMs = 5000);
    bool Connected() const { return m_socket != INVALID_SOCKET; }

    // Writes bytes, in pieces of pieceSize (0: at once) with a pause between.
    bool SendBytes(const std::vector<uint8_t>& bytes, size_t pieceSize = 0, DWORD pauseMs = 0);
    bool Send(uint32_t id, const std::vector<uint8_t>& body = {}, uint32_t result = 0, bool compress = false);

    // Messages received so far, in order.
    std::vector<PeerMessage> Received();
    size_t ReceivedCount();
    // True once the client closed its end.
    bool SawClose();
    // Called on the peer's thread with each message it reads; may Send.
    void SetResponder(std::function<void(const PeerMessage&)> responder);

    // The stream transforms the client gets with 0x160: the peer reads with
    // the client's send key and writes with its receive key.
    void UseTransforms(const std::vector<uint8_t>& clientSendKey, uint32_t sendParameter,
                       const std::vector<uint8_t>& clientReceiveKey, uint32_t receiveParameter);

    // Closes gracefully, or with a reset.
    void Close();
    void Reset();
    SOCKET Socket() const { return m_socket; }

private:
    void ReaderLoop();
    void StopReader();

    SOCKET m_listener = INVALID_SOCKET;
    SOCKET m_socket = INVALID_SOCKET;
    UINT m_port = 0;
    std::thread m_reader;
    std::atomic<bool> m_stop{false};
    std::mutex m_lock;           // guards everything below and the writes
    std::vector<PeerMessage> m_received;
    bool m_closed = false;
    std::function<void(const PeerMessage&)> m_responder;
    std::unique_ptr<CStreamTransform> m_readTransform;
    std::unique_ptr<CStreamTransform> m_writeTransform;
};

// What the box hooks saw. Boxes are answered from a queue (IDOK when it is
// empty); onBox runs before each answer.
struct BoxCall {
    UINT stringId = 0;        // 0 for a text box
    std::string text;
    UINT flags = 0;
    int argument = 0;
};
struct BoxRecorder {
    std::vector<BoxCall> calls;
    std::deque<int> answers;
    std::function<void(const BoxCall&)> onBox;
    std::vector<std::string> stateTexts;   // the text hook

    void Clear()
    {
        calls.clear();
        answers.clear();
        onBox = nullptr;
        stateTexts.clear();
    }
    // Installs the hooks on a connection.
    void Attach(CGameSocket& socket);
    // The boxes shown, one per line, for failure messages.
    std::string Describe() const;
};
extern BoxRecorder g_boxes;

// The UI services, recorded.
class CRecordingUi : public CGameSocketUi
{
public:
    std::vector<std::string> notices;
    std::vector<std::string> opened;
    struct Query {
        std::string text;
        UINT style, argument;
        BOOL wantsText;
    };
    std::vector<Query> queries;
    int queryAnswer = IDOK;
    std::string queryText;
    struct WebNotice {
        std::string title, address;
        UINT width, height;
    };
    std::vector<WebNotice> webNotices;
    int webNoticeCloses = 0;
    bool chatAttached = false;
    std::vector<std::pair<std::string, uint32_t>> wealth;

    void AddNotice(LPCSTR lpszText) override { notices.push_back(lpszText); }
    void OpenAddress(LPCSTR lpszAddress) override { opened.push_back(lpszAddress); }
    int AskQuery(LPCSTR lpszText, UINT nStyle, UINT nArgument, BOOL bWantsText, CString& rAnswerText) override
    {
        queries.push_back({lpszText, nStyle, nArgument, bWantsText});
        rAnswerText = queryText.c_str();
        return queryAnswer;
    }
    void ShowWebNotice(LPCSTR lpszTitle, LPCSTR lpszAddress, UINT nWidth, UINT nHeight) override
    {
        webNotices.push_back({lpszTitle, lpszAddress, nWidth, nHeight});
    }
    void CloseWebNotice() override { webNoticeCloses++; }
    BOOL HasChatControl() override { return chatAttached; }
    void AddWealthRecord(const WealthRecord& record, uint32_t value) override
    {
        wealth.emplace_back(record.userName, value);
    }
};

// The game handler, recorded: messages by id, events by code.
struct HandlerCall {
    uint32_t code = 0;
    uint32_t id = 0;            // the message's id (codes 2 and 3 and messages)
    int stateCode = -1;         // code 1
    std::vector<uint8_t> body;
    bool receivingStopped = false;
};
class CHandlerRecorder
{
public:
    std::vector<HandlerCall> calls;
    CGameClientSocket* socket = nullptr;
    std::function<void(const HandlerCall&)> onCall;

    void Attach(CGameClientSocket& s);
    static int Handler(void* pContext, void* pData, uint32_t dwCode);
    std::vector<uint32_t> MessageIds() const;
};

// A connection under test, connected to a peer, with every hook recorded.
class CTestConnection : public CGameClientSocket
{
public:
    using CGameClientSocket::OnClose;   // tests drive the error path directly
    using CGameClientSocket::ReadExact;
};
