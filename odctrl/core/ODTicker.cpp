// ODTicker.cpp - the animation worker thread.
#include "ODTicker.h"

CODTicker::CODTicker() : m_hThread(NULL), m_threadId(0), m_hStop(NULL), m_step(NULL), m_context(NULL) {}

CODTicker::~CODTicker()
{
    Stop();
    if (m_hStop)
        CloseHandle(m_hStop);
}

BOOL CODTicker::Start(StepProc step, void* context)
{
    if (m_hThread || !step)
        return FALSE;
    if (!m_hStop)
        m_hStop = CreateEventA(NULL, TRUE, FALSE, NULL);
    if (!m_hStop)
        return FALSE;
    ResetEvent(m_hStop);
    m_step = step;
    m_context = context;
    m_hThread = CreateThread(NULL, 0, ThreadProc, this, 0, &m_threadId);
    return m_hThread != NULL;
}

BOOL CODTicker::Stop()
{
    if (!m_hThread)
        return FALSE;
    SetEvent(m_hStop);
    if (GetCurrentThreadId() == m_threadId)
        return TRUE;  // the worker ends after this step; the handle is closed by the next Start or Stop
    for (;;) {
        const DWORD r = MsgWaitForMultipleObjects(1, &m_hThread, FALSE, INFINITE, QS_SENDMESSAGE);
        if (r != WAIT_OBJECT_0 + 1)
            break;
        MSG msg;
        PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);  // answers the sent messages
    }
    CloseHandle(m_hThread);
    m_hThread = NULL;
    m_threadId = 0;
    return TRUE;
}

DWORD WINAPI CODTicker::ThreadProc(LPVOID self)
{
    CODTicker* t = static_cast<CODTicker*>(self);
    for (;;) {
        DWORD period = t->m_step(t->m_context);
        if (period < kMinPeriod)
            period = kMinPeriod;
        if (WaitForSingleObject(t->m_hStop, period) != WAIT_TIMEOUT)
            return 0;
    }
}
