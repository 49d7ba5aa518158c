#include "RecorderTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "CaptureRecorder.h"

bool IsFinalCode(int code)
{
    switch (code) {
    case kRecordDone:
    case kRecordOldVideoForWindows:
    case kRecordCaptureFailed:
    case kRecordFileOpen:
    case kRecordStreamCreate:
    case kRecordCompressedStream:
    case kRecordSetFormat:
    case kRecordWriteFrame:
    case kRecordMergeFailed:
        return true;
    default:
        return false;
    }
}

CallbackLog::CallbackLog()
{
    InitializeCriticalSection(&m_lock);
    m_final = CreateEventA(nullptr, TRUE, FALSE, nullptr);
}

CallbackLog::~CallbackLog()
{
    CloseHandle(m_final);
    DeleteCriticalSection(&m_lock);
}

void __cdecl CallbackLog::Callback(void* user, int code)
{
    auto* log = static_cast<CallbackLog*>(user);
    EnterCriticalSection(&log->m_lock);
    log->m_entries.push_back({code, GetCurrentThreadId()});
    LeaveCriticalSection(&log->m_lock);
    if (IsFinalCode(code))
        SetEvent(log->m_final);
}

std::vector<CallbackLog::Entry> CallbackLog::Entries()
{
    EnterCriticalSection(&m_lock);
    std::vector<Entry> copy = m_entries;
    LeaveCriticalSection(&m_lock);
    return copy;
}

std::vector<int> CallbackLog::Codes()
{
    std::vector<int> codes;
    for (const Entry& e : Entries())
        codes.push_back(e.code);
    return codes;
}

int CallbackLog::FinalCount()
{
    int n = 0;
    for (const Entry& e : Entries())
        n += IsFinalCode(e.code) ? 1 : 0;
    return n;
}

bool CallbackLog::WaitFinal(DWORD timeoutMs)
{
    return PumpUntil(m_final, timeoutMs);
}

bool PumpUntil(HANDLE event, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD spent = GetTickCount() - start;
        if (event && WaitForSingleObject(event, 0) == WAIT_OBJECT_0)
            return true;
        if (spent >= timeoutMs)
            return false;
        const DWORD r = MsgWaitForMultipleObjects(event ? 1 : 0, event ? &event : nullptr, FALSE,
                                                  timeoutMs - spent, QS_ALLINPUT);
        if (r == WAIT_OBJECT_0 && event)
            return true;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

void PumpFor(DWORD ms)
{
    PumpUntil(nullptr, ms);
}

ColourWindow::ColourWindow(int x, int y, int width, int height, COLORREF colour)
{
    m_brush = CreateSolidBrush(colour);
    // A class per window: the class keeps the brush, which this window owns.
    static LONG serial = 0;
    snprintf(m_class, sizeof m_class, "RecorderColourWindow%ld", static_cast<long>(InterlockedIncrement(&serial)));
    const char* name = m_class;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = m_brush;
    wc.lpszClassName = name;
    RegisterClassA(&wc);
    m_hwnd = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, name, "", WS_POPUP | WS_VISIBLE, x, y, width, height,
                             nullptr, nullptr, wc.hInstance, nullptr);
    if (m_hwnd) {
        SetWindowPos(m_hwnd, HWND_TOPMOST, x, y, width, height, SWP_SHOWWINDOW);
        UpdateWindow(m_hwnd);
        RedrawWindow(m_hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        GetWindowRect(m_hwnd, &m_rect);
    }
    GdiFlush();
}

ColourWindow::~ColourWindow()
{
    if (m_hwnd)
        DestroyWindow(m_hwnd);
    PumpFor(0);
    UnregisterClassA(m_class, GetModuleHandleA(nullptr));
    if (m_brush)
        DeleteObject(m_brush);
}

std::string OutputFolder()
{
    const char* label = getenv("VIDRELLE_OUT_LABEL");
    if (!label || !*label) {
        ADD_FAILURE() << "VIDRELLE_OUT_LABEL is not set: the recordings have nowhere to go";
        return std::string();
    }
    CreateDirectoryA("recorder-out", nullptr);
    const std::string folder = std::string("recorder-out\\") + label;
    CreateDirectoryA(folder.c_str(), nullptr);
    char full[MAX_PATH];
    GetFullPathNameA(folder.c_str(), MAX_PATH, full, nullptr);
    return full;
}

void ClearOutputFolder()
{
    const std::string folder = OutputFolder();
    if (folder.empty())
        return;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            DeleteFileA((folder + "\\" + fd.cFileName).c_str());
    } while (FindNextFileA(h, &fd));
    FindClose(h);
}

void AppendManifest(const std::string& line)
{
    const std::string folder = OutputFolder();
    if (folder.empty())
        return;
    FILE* f = fopen((folder + "\\manifest.txt").c_str(), "a");
    ASSERT_NE(f, nullptr);
    fprintf(f, "%s\n", line.c_str());
    fclose(f);
}

bool FileExists(const std::string& path)
{
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<unsigned char> ReadWholeFile(const std::string& path)
{
    std::vector<unsigned char> bytes;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f)
        return bytes;
    unsigned char buf[65536];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0)
        bytes.insert(bytes.end(), buf, buf + n);
    fclose(f);
    return bytes;
}
