#include "QVSocket.h"

#include <atomic>
#include <ctime>
#include <vector>

#include "proxy/ProxyRegistry.h"

IMPLEMENT_DYNAMIC(CQVSocket, CGameSocket)

namespace {

const char kTestWindowClass[] = "MardavelRelayTestWindow";
const char kTestWindowTitle[] = "TavryProxyWnd";
const UINT kRelayConnectTimeoutSeconds = 10;
const UINT kSpeedTestTimeoutSeconds = 10;
// How long a stop waits for the timing thread before it leaves it to end
// by itself.
const DWORD kTestThreadJoinMs = 3000;
const DWORD kTestThreadStepMs = 10;

// The temporary connection of one speed test.
class CRelayTestConnection : public CGameSocket
{
public:
    using CGameSocket::RunSocksHandshake;
    using CGameSocket::SetAlternatePortLookup;
    using CGameSocket::SetProxySelectionNone;
};

}  // namespace

// Shared by the connection and its timing thread, so that a thread left
// behind by a stop still finds its handles.
struct RelayTestThread
{
    HANDLE thread = NULL;
    HANDLE stopEvent = NULL;     // manual reset: once stopped, stopped
    HANDLE resultEvent = NULL;   // auto reset: one result per request
    HWND window = NULL;
    int tickSeconds = 0;
    BOOL viaRelay = FALSE;
    std::atomic<uint32_t> result{0};

    ~RelayTestThread()
    {
        if (thread != NULL)
            ::CloseHandle(thread);
        if (stopEvent != NULL)
            ::CloseHandle(stopEvent);
        if (resultEvent != NULL)
            ::CloseHandle(resultEvent);
    }
};

namespace {

// The timing thread: every tickSeconds it asks the test window for one test
// and waits for the result or the stop.
DWORD WINAPI RelayTestThreadProc(LPVOID lpParameter)
{
    std::shared_ptr<RelayTestThread> state = *static_cast<std::shared_ptr<RelayTestThread>*>(lpParameter);
    delete static_cast<std::shared_ptr<RelayTestThread>*>(lpParameter);
    if (state->tickSeconds < 0)
        return 0;
    uint32_t dwPrevious = 0;
    DWORD dwStart = ::GetTickCount();
    for (;;) {
        if (::WaitForSingleObject(state->stopEvent, kTestThreadStepMs) == WAIT_OBJECT_0)
            break;
        if (::GetTickCount() - dwStart < DWORD(state->tickSeconds) * 1000)
            continue;
        if (!::PostMessageA(state->window, CQVSocket::kTestRequestMessage, WPARAM(dwPrevious),
                            LPARAM(state->viaRelay)))
            break;
        HANDLE handles[2] = {state->stopEvent, state->resultEvent};
        if (::WaitForMultipleObjects(2, handles, FALSE, INFINITE) != WAIT_OBJECT_0 + 1)
            break;
        dwPrevious = state->result;
        dwStart = ::GetTickCount();
    }
    return 0;
}

}  // namespace

// What the switching rules make the connection do.
class CQVSocket::CSpeedActions : public CRelaySpeedActions
{
public:
    explicit CSpeedActions(CQVSocket& owner) : m_owner(owner) {}
    void MarkServer(bool mark) override
    {
        m_owner.m_settings->MarkServer(m_owner.m_strServerHost, m_owner.m_nServerPort, mark);
    }
    void StartTestThread() override { m_owner.StartTestThread(); }
    void StopTestThread() override { m_owner.StopTestThread(); }
    void SendStatistics(const RelayStatisticsBody& body) override
    {
        const std::vector<uint8_t> message = BuildRelayStatistics(body);
        m_owner.SendMsg(message.data());
    }

private:
    CQVSocket& m_owner;
};

/////////////////////////////////////////////////////////////////////////////
// Construction

CQVSocket::CQVSocket()
    : m_speed([this](const std::string& text) { Log(text); }), m_nP80Port(0), m_nServerPort(0), m_pLog(NULL),
      m_hTestWindow(NULL), m_nTestHandlerDepth(0), m_bDestroyWindowAfterHandler(FALSE), m_nCancelledFlag(0)
{
    CRegistryValueSource shareKey(HKEY_CURRENT_USER, kShareSettingsKey);
    CRegistryValueSource proxyKey(HKEY_CURRENT_USER, kProxySettingsKey);
    m_environment = ReadRelayEnvironment(shareKey, proxyKey);
    // Without the install path the files are not there: a bare file name
    // would make the profile functions use the Windows folder.
    const std::string languagePath = RelayFilePath(m_environment.installPath, kRelayLanguageFile);
    const std::string settingsPath = RelayFilePath(m_environment.installPath, kRelaySettingsFile);
    if (languagePath.empty())
        m_languageFile.reset(new CNullProfileStore());
    else
        m_languageFile.reset(new CPrivateProfileStore(languagePath));
    if (settingsPath.empty())
        m_settingsFile.reset(new CNullProfileStore());
    else
        m_settingsFile.reset(new CPrivateProfileStore(settingsPath));
    m_settings.reset(new CRelaySettings(*m_languageFile, *m_settingsFile));
    m_facts.relayPort = m_settings->RelayPort();
    m_facts.firewallMode = m_environment.firewallMode;
    m_facts.otherProxy = m_environment.otherProxy;
    m_facts.relayUser = m_settings->RelayUser();
    m_facts.relayPassword = m_settings->RelayPassword();
    if (m_settings->LogEnabled()) {
        const std::string logPath = RelayFilePath(m_environment.installPath, kRelayLogFile);
        m_pLog = logPath.empty() ? NULL : fopen(logPath.c_str(), "at+");
        if (m_pLog != NULL) {
            const std::string rule = RelayLogRule();
            fputs(rule.c_str(), m_pLog);
            fflush(m_pLog);
        }
    }
    // The HTTP tunnel may carry the game connection when it is configured.
    SetProxyOption(TRUE);
}

CQVSocket::~CQVSocket()
{
    StopTestThread();
    if (m_hTestWindow != NULL) {
        ::SetWindowLongPtrA(m_hTestWindow, GWLP_USERDATA, 0);
        ::DestroyWindow(m_hTestWindow);
        m_hTestWindow = NULL;
    }
    m_speed.ClearSamples();
    if (m_pLog != NULL)
        fclose(m_pLog);
    m_pLog = NULL;
}

void CQVSocket::Log(const std::string& text)
{
    if (m_pLog == NULL)
        return;
    const time_t now = time(NULL);
    std::tm local = {};
    const std::tm* pLocal = localtime(&now);
    if (pLocal != NULL)
        local = *pLocal;
    const std::string line = FormatRelayLogLine(local, ::GetCurrentProcessId(), text);
    fputs(line.c_str(), m_pLog);
    fflush(m_pLog);
}

/////////////////////////////////////////////////////////////////////////////
// Connecting

BOOL CQVSocket::Connect(LPCSTR lpszHost, UINT nPort, BOOL bAsk)
{
    const std::string host = lpszHost != NULL ? lpszHost : "";
    m_nP80Port = (int)LookupAlternatePort(nPort);
    CRelayConnectPlanner plan(*m_settings, m_facts, host, nPort, bAsk != FALSE, m_nP80Port,
                              [this](const std::string& text) { Log(text); });
    m_strServerHost = plan.Host();
    m_nServerPort = nPort;
    m_strRelayHost = plan.RelayHost();

    // The connect options as configured; the relay's connect changes them.
    const BOOL bSavedSelectionNone = GetProxySelectionNone();
    const BOOL bSavedLookup = GetAlternatePortLookup();
    const UINT nSavedTimeout = GetTimeoutValue();
    const UINT nSavedAlternatePort = GetAlternatePort();
    const uint32_t dwSavedAlternateValue = GetAlternateValue();
    auto restoreOptions = [&] {
        SetProxySelectionNone(bSavedSelectionNone);
        SetAlternatePortLookup(bSavedLookup);
        SetTimeoutValue(nSavedTimeout);
        SetAlternatePort(nSavedAlternatePort, dwSavedAlternateValue);
    };

    for (;;) {
        const RelayAction action = plan.Next();
        if (action.clearLastError)
            ClearLastError();
        if (action.restoreConnectOptions)
            restoreOptions();
        if (action.restoreTimeout)
            SetTimeoutValue(nSavedTimeout);
        BOOL bOk = FALSE;
        switch (action.step) {
        case RelayStep::kFinished:
            // Whatever way it ended, the options are the caller's again.
            restoreOptions();
            m_strRelayHost = plan.RelayHost();
            m_speed.SetConnection(m_strServerHost, m_nServerPort, plan.ConnType(), plan.ViaRelay());
            return action.connected ? TRUE : FALSE;
        case RelayStep::kDirectConnect:
            bOk = CGameSocket::Connect(action.host.c_str(), action.port, action.ask ? TRUE : FALSE);
            break;
        case RelayStep::kRelayConnect:
            // Straight to the relay: no proxy, no port rule, a short time-out.
            SetProxySelectionNone(TRUE);
            SetAlternatePortLookup(FALSE);
            SetAlternatePort(0, 0);
            SetTimeoutValue(kRelayConnectTimeoutSeconds);
            bOk = CGameSocket::Connect(action.host.c_str(), action.port, action.ask ? TRUE : FALSE);
            break;
        case RelayStep::kSocks5Exchange:
            StopReceive();
            bOk = RunSocksHandshake(plan.Socks5Request());
            StartReceive();
            if (!bOk)
                Close();
            break;
        case RelayStep::kSendPortHeader: {
            const std::vector<uint8_t> header = BuildRelayPortHeader(action.serverPort);
            bOk = SendMsg(header.data());
            break;
        }
        }
        if (action.setCallerAskAfter)
            m_bAsk = bAsk;
        plan.Report(bOk != FALSE, IsCancelFlagSet() != FALSE);
    }
}

void CQVSocket::Close()
{
    StopTestThread();
    m_speed.ClearSamples();
    m_nCancelledFlag = IsCancelFlagSet() ? 1 : 0;
    CGameSocket::Close();
}

void CQVSocket::OnClose(int nErrorCode)
{
    StopTestThread();
    m_speed.ClearSamples();
    CGameSocket::OnClose(nErrorCode);
    Log("[连接]收到OnClose消息网络断开");
}

/////////////////////////////////////////////////////////////////////////////
// Relay use and the speed tests' parameters

void CQVSocket::SetRelayUse(BOOL bUse)
{
    m_settings->SetRelayUse(bUse != FALSE);
}

BOOL CQVSocket::GetRelayUse()
{
    return m_settings->GetRelayUse() ? TRUE : FALSE;
}

void CQVSocket::SetSpeedParameters(int nEnable, int nValve, int nRoomAvg, int nGsAvg, int nGsTick, int nSendStat)
{
    CSpeedActions actions(*this);
    m_speed.SetParameters(nEnable, nValve, nRoomAvg, nGsAvg, nGsTick, nSendStat, m_settings->ReadDebugOverrides(),
                          actions);
}

int CQVSocket::OnRoomSpeedSample(int nValue)
{
    CSpeedActions actions(*this);
    return m_speed.OnRoomSample(nValue, ::GetTickCount() / 1000, actions);
}

/////////////////////////////////////////////////////////////////////////////
// The timing thread and the test window

void CQVSocket::StartTestThread()
{
    if (m_testThread)
        return;
    // A window whose handler runs further out is destroyed when that
    // handler returns; the new window takes the requests.
    DestroyTestWindow();
    HINSTANCE hInstance = ::GetModuleHandleA(NULL);
    WNDCLASSA wc;
    memset(&wc, 0, sizeof(wc));
    wc.lpfnWndProc = &CQVSocket::TestWindowProc;
    wc.hInstance = hInstance;
    wc.lpszClassName = kTestWindowClass;
    ::RegisterClassA(&wc);   // fails harmlessly once registered
    HWND hWindow = ::CreateWindowExA(0, kTestWindowClass, kTestWindowTitle, 0, 0, 0, 0, 0, HWND_MESSAGE, NULL,
                                     hInstance, NULL);
    if (hWindow == NULL) {
        Log("[线程]CQVSocket线程操作窗口创建失败");
        return;
    }
    ::SetWindowLongPtrA(hWindow, GWLP_USERDATA, (LONG_PTR)this);
    m_hTestWindow = hWindow;

    auto state = std::make_shared<RelayTestThread>();
    state->stopEvent = ::CreateEventA(NULL, TRUE, FALSE, NULL);
    state->resultEvent = ::CreateEventA(NULL, FALSE, FALSE, NULL);
    state->window = hWindow;
    state->tickSeconds = m_speed.GSTestTick();
    state->viaRelay = m_speed.ViaRelay() ? TRUE : FALSE;
    if (state->stopEvent == NULL || state->resultEvent == NULL)
        return;
    auto* pThreadRef = new std::shared_ptr<RelayTestThread>(state);
    DWORD dwThreadId = 0;
    state->thread = ::CreateThread(NULL, 0, RelayTestThreadProc, pThreadRef, CREATE_SUSPENDED, &dwThreadId);
    if (state->thread == NULL) {
        delete pThreadRef;
        return;
    }
    m_testThread = state;
    char line[160];
    if (state->viaRelay)
        snprintf(line, sizeof(line), "[线程]直连测速线程启动%s:%u", m_strServerHost.c_str(), m_nServerPort);
    else
        snprintf(line, sizeof(line), "[线程]互联测速线程启动%s:%d", m_strRelayHost.c_str(), m_facts.relayPort);
    Log(line);
    if (state->tickSeconds < 0)
        Log("[线程]后台测速参数不正确，线程退出 m_nGSTestTick<0");
    ::ResumeThread(state->thread);
}

void CQVSocket::StopTestThread()
{
    std::shared_ptr<RelayTestThread> state = std::move(m_testThread);
    if (!state)
        return;
    Log("[线程]终止后台测速线程");
    ::SetEvent(state->stopEvent);
    // Wait while pumping: the thread never waits for this thread, but the
    // windows of this thread must not stall meanwhile.
    const DWORD dwStart = ::GetTickCount();
    for (;;) {
        const DWORD dwElapsed = ::GetTickCount() - dwStart;
        if (dwElapsed >= kTestThreadJoinMs)
            break;
        const DWORD dwWait =
            ::MsgWaitForMultipleObjects(1, &state->thread, FALSE, kTestThreadJoinMs - dwElapsed, QS_ALLINPUT);
        if (dwWait == WAIT_OBJECT_0)
            break;
        if (dwWait != WAIT_OBJECT_0 + 1)
            break;
        MSG msg;
        while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                ::PostQuitMessage((int)msg.wParam);
                break;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    if (::WaitForSingleObject(state->thread, 0) == WAIT_OBJECT_0)
        Log("[线程]后台测速线程退出");
    // A thread still running keeps its state alive and ends by itself: it
    // only waits on the stop event, which is set.
    DestroyTestWindow();
}

void CQVSocket::DestroyTestWindow()
{
    if (m_hTestWindow == NULL)
        return;
    if (m_nTestHandlerDepth > 0) {
        // Its handler is running further out: it destroys the window.
        m_bDestroyWindowAfterHandler = TRUE;
        return;
    }
    ::SetWindowLongPtrA(m_hTestWindow, GWLP_USERDATA, 0);
    ::DestroyWindow(m_hTestWindow);
    m_hTestWindow = NULL;
}

LRESULT CALLBACK CQVSocket::TestWindowProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    if (nMessage == kTestRequestMessage) {
        auto* self = reinterpret_cast<CQVSocket*>(::GetWindowLongPtrA(hWnd, GWLP_USERDATA));
        if (self != NULL && self->m_hTestWindow == hWnd)
            self->OnTestRequest(wParam, lParam);
        return 0;
    }
    return ::DefWindowProcA(hWnd, nMessage, wParam, lParam);
}

void CQVSocket::OnTestRequest(WPARAM wParam, LPARAM lParam)
{
    std::shared_ptr<RelayTestThread> state = m_testThread;
    if (!state)
        return;   // stopped meanwhile
    if (m_nTestHandlerDepth > 0) {
        // A test is under way further out: this request gets the last result.
        state->result = (uint32_t)wParam;
        ::SetEvent(state->resultEvent);
        return;
    }
    const HWND hWindow = m_hTestWindow;
    const BOOL bDirect = lParam != 0;
    m_nTestHandlerDepth++;
    const int nResult = RunSpeedTest(bDirect, (uint32_t)wParam);
    m_nTestHandlerDepth--;
    if (nResult > 0)
        m_speed.OnTestMeasured(bDirect != FALSE, nResult);
    else
        m_speed.OnTestFailed(bDirect != FALSE, nResult == kTestFirstMessageFailed    ? RelayTestFailure::kFirstMessage
                                               : nResult == kTestSecondMessageFailed ? RelayTestFailure::kSecondMessage
                                                                                     : RelayTestFailure::kConnect);
    state->result = (uint32_t)m_speed.PreviousTestResult();
    ::SetEvent(state->resultEvent);
    if (m_bDestroyWindowAfterHandler && m_nTestHandlerDepth == 0) {
        m_bDestroyWindowAfterHandler = FALSE;
        if (m_hTestWindow == hWindow) {
            DestroyTestWindow();
        } else {
            ::SetWindowLongPtrA(hWindow, GWLP_USERDATA, 0);
            ::DestroyWindow(hWindow);
        }
    }
}

int CQVSocket::RunSpeedTest(BOOL bDirect, uint32_t dwPreviousResult)
{
    CRelayTestConnection test;
    test.SetAskFlags(FALSE);
    test.SetTimeoutValue(kSpeedTestTimeoutSeconds);
    BOOL bConnected = FALSE;
    if (bDirect) {
        test.SetAlternatePortLookup(FALSE);
        bConnected = test.Connect(m_strServerHost.c_str(), m_nServerPort, FALSE);
    } else {
        test.SetProxySelectionNone(TRUE);
        test.SetAlternatePortLookup(FALSE);
        bConnected = test.Connect(m_strRelayHost.c_str(), (UINT)m_facts.relayPort, FALSE);
        if (bConnected) {
            SocksRequest request;
            request.version = 5;
            request.host = m_strServerHost;
            request.port = uint16_t(m_nP80Port >= 1 ? (UINT)m_nP80Port : m_nServerPort);
            request.user = m_facts.relayUser;
            request.password = m_facts.relayPassword;
            test.StopReceive();
            bConnected = test.RunSocksHandshake(request);
            test.StartReceive();
        }
        if (bConnected && m_nP80Port >= 1) {
            const std::vector<uint8_t> header = BuildRelayPortHeader(m_nServerPort);
            bConnected = test.SendMsg(header.data());
        }
    }
    if (!bConnected) {
        test.Close();
        return kTestConnectFailed;
    }
    int nLatency = 0;
    uint32_t dwPrevious = dwPreviousResult;
    for (int round = 0; round < 2; ++round) {
        const std::vector<uint8_t> message = BuildRelaySpeedTest(dwPrevious, ::GetTickCount());
        void* pReply = NULL;
        uint32_t dwEcho = 0;
        const BOOL bAnswered = test.SendMsg(message.data(), &pReply) && pReply != NULL &&
                               ReadSpeedTestEcho(static_cast<const uint8_t*>(pReply),
                                                 (size_t)MsgTotalSize(pReply), dwEcho);
        FreeNetMessage(pReply);
        if (!bAnswered) {
            test.Close();
            return round == 0 ? kTestFirstMessageFailed : kTestSecondMessageFailed;
        }
        nLatency = SpeedTestLatency(::GetTickCount(), dwEcho);
        dwPrevious = (uint32_t)nLatency;
    }
    test.Close();
    return nLatency;
}
