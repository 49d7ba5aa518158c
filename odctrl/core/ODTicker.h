// ODTicker.h - the worker thread that animates a skin image or moves a text
// whose owner has no window timer. The thread calls its step at once and
// then again after each period the step returns, until it is asked to stop;
// Stop waits for it to end (no thread is ever killed). While it waits, the
// stopping thread still answers messages the worker sends to its windows,
// so a step that repaints a window of that thread cannot deadlock the stop.
#pragma once

#include <windows.h>

class CODTicker
{
public:
    // One step; returns the milliseconds until the next.
    typedef DWORD (*StepProc)(void* context);
    // Shortest period between steps (a window timer's own minimum).
    static constexpr DWORD kMinPeriod = USER_TIMER_MINIMUM;

    CODTicker();
    ~CODTicker();  // Stop()
    CODTicker(const CODTicker&) = delete;
    CODTicker& operator=(const CODTicker&) = delete;

    // Starts the thread; FALSE when it runs already or cannot be made.
    BOOL Start(StepProc step, void* context);
    // Asks the thread to end and waits for it; TRUE when one was running.
    // From the worker itself it only asks (the thread ends after its step).
    BOOL Stop();
    BOOL IsRunning() const { return m_hThread != NULL; }

private:
    static DWORD WINAPI ThreadProc(LPVOID self);

    HANDLE m_hThread;
    DWORD m_threadId;
    HANDLE m_hStop;
    StepProc m_step;
    void* m_context;
};
