// CQVSocket: the middle layer of the connection classes, between the game
// connection (CGameSocket) and the game's handler (CGameClientSocket).
//
// At every connect it decides whether the game server is reached directly
// or through the platform's relay proxy (a SOCKS5 server with its own user
// and password), falls back from one way to the other, and remembers per
// server which way to use (CRelayConnectPlanner, CRelaySettings). It also
// runs the background speed tests that compare the two ways
// (CRelaySpeedState) and logs to "TavryProxy.log" when the relay settings
// file asks for it.
//
// The speed tests: a timing thread posts message 0x4D4 to a hidden
// message-only window "TavryProxyWnd" every GSTestTick seconds and waits
// for its result or for the stop event; the window's handler runs one test
// on the user-interface thread and hands the result back through an event.
// Stopping signals the thread and waits while pumping messages; the thread
// is never killed. A stop that comes from inside the window's own handler
// (the test's waits pump messages) leaves the window to be destroyed once
// that handler has returned.
#pragma once

#include "GameSocket.h"

#include <memory>
#include <cstdio>
#include <string>

#include "proxy/RelayDecision.h"
#include "proxy/RelaySettings.h"

struct RelayTestThread;

class CQVSocket : public CGameSocket
{
    DECLARE_DYNAMIC(CQVSocket)
public:
    CQVSocket();
    ~CQVSocket() override;

    BOOL Connect(LPCSTR lpszHost, UINT nPort, BOOL bAsk) override;
    void Close() override;

    // The relay use switch of the relay settings file.
    void SetRelayUse(BOOL bUse);
    BOOL GetRelayUse();
    // The room's speed-test parameters (enable 0: no tests, the server's
    // mark is removed).
    void SetSpeedParameters(int nEnable, int nValve, int nRoomAvg, int nGsAvg, int nGsTick, int nSendStat);
    // A latency sample of the room: the room average, or -1.
    int OnRoomSpeedSample(int nValue);

    uint32_t GetConnType() const { return m_speed.ConnType(); }
    BOOL IsViaRelay() const { return m_speed.ViaRelay(); }
    BOOL IsTestThreadRunning() const { return m_testThread != nullptr; }
    const CRelaySpeedState& SpeedState() const { return m_speed; }
    // The test window's handler is running (a test is under way).
    BOOL IsTestRunning() const { return m_nTestHandlerDepth > 0; }

    // Window message of the timing thread: wParam the previous result,
    // lParam nonzero when the connection goes through the relay.
    static constexpr UINT kTestRequestMessage = 0x4D4;

protected:
    void OnClose(int nErrorCode) override;

    // One speed test on a temporary connection (bDirect: the direct way,
    // else the relay): the latency (1..9999), or a failure: kTestConnectFailed,
    // kTestFirstMessageFailed, kTestSecondMessageFailed.
    virtual int RunSpeedTest(BOOL bDirect, uint32_t dwPreviousResult);
    static constexpr int kTestConnectFailed = -1;
    static constexpr int kTestFirstMessageFailed = -2;
    static constexpr int kTestSecondMessageFailed = -3;

private:
    class CSpeedActions;
    friend class CSpeedActions;

    void Log(const std::string& text);
    void StartTestThread();
    void StopTestThread();
    void DestroyTestWindow();
    static LRESULT CALLBACK TestWindowProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam);
    void OnTestRequest(WPARAM wParam, LPARAM lParam);

    RelayEnvironment m_environment;
    std::unique_ptr<CProfileStore> m_languageFile;
    std::unique_ptr<CProfileStore> m_settingsFile;
    std::unique_ptr<CRelaySettings> m_settings;
    RelayConnectFacts m_facts;
    CRelaySpeedState m_speed;
    std::string m_strRelayHost;
    int m_nP80Port;

    std::string m_strServerHost;   // the server of the last connect
    UINT m_nServerPort;
    FILE* m_pLog;                  // "TavryProxy.log" while logging is on

    std::shared_ptr<RelayTestThread> m_testThread;
    HWND m_hTestWindow;
    int m_nTestHandlerDepth;
    BOOL m_bDestroyWindowAfterHandler;
    LONG m_nCancelledFlag;
};
