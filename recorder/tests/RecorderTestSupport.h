// Shared pieces of the recorder's tests: a callback log that remembers each
// code and the thread it came on, a message pump, a window painted in one
// known colour, and the folder and manifest of recordings that
// check_recordings.py reads back.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

bool IsFinalCode(int code);

class CallbackLog {
public:
    CallbackLog();
    ~CallbackLog();
    static void __cdecl Callback(void* user, int code);

    struct Entry {
        int code;
        DWORD thread;
    };
    std::vector<Entry> Entries();
    std::vector<int> Codes();
    int FinalCount();
    // Pumps messages until a final code has arrived; false on time-out (a
    // generous bound for a hung recorder, not a timing check).
    bool WaitFinal(DWORD timeoutMs = 60000);

private:
    CRITICAL_SECTION m_lock;
    std::vector<Entry> m_entries;
    HANDLE m_final;
};

void PumpFor(DWORD ms);
bool PumpUntil(HANDLE event, DWORD timeoutMs);

// A top-most pop-up window filled with one colour.
class ColourWindow {
public:
    ColourWindow(int x, int y, int width, int height, COLORREF colour);
    ~ColourWindow();
    HWND Hwnd() const { return m_hwnd; }
    RECT Rect() const { return m_rect; }

private:
    HWND m_hwnd = nullptr;
    HBRUSH m_brush = nullptr;
    RECT m_rect = {};
    char m_class[48] = {};
};

// bin/recorder-out/<VIDRELLE_OUT_LABEL>; empty (and a test failure) when the
// label is not set.
std::string OutputFolder();
void ClearOutputFolder();
void AppendManifest(const std::string& line);
bool FileExists(const std::string& path);
std::vector<unsigned char> ReadWholeFile(const std::string& path);
