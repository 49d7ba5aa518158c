// Plays the own seat of a running Mardavel.exe from outside, the way a user
// does: it looks at the table window's buttons and presses them (start, the
// emperor and guard decisions, and in the play phase the hint and then the
// play button). Used by the end-to-end test and by the driver tool that
// scripts/run uses on a private display.
#pragma once

#include <windows.h>

#include <string>

namespace tabledriver {

// The table window's id in the frame.
constexpr UINT kTableWindowId = 0xE900;
constexpr UINT kChatPaneId = 0xE901;
constexpr UINT kChatControlId = 29741;

struct FindFrame {
    DWORD pid;
    HWND frame;
};

inline BOOL CALLBACK FindFrameOfProcess(HWND hWnd, LPARAM lParam)
{
    FindFrame* find = reinterpret_cast<FindFrame*>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    if ((find->pid == 0 || pid == find->pid) && ::GetDlgItem(hWnd, kTableWindowId) != NULL) {
        find->frame = hWnd;
        return FALSE;
    }
    return TRUE;
}

// The main frame of the process that holds a table window (pid 0: of any
// process), or NULL.
inline HWND FindTableFrame(DWORD pid)
{
    FindFrame find = {pid, NULL};
    ::EnumWindows(FindFrameOfProcess, (LPARAM)&find);
    return find.frame;
}

inline bool Visible(HWND table, int id)
{
    HWND button = ::GetDlgItem(table, id);
    return button != NULL && ::IsWindowVisible(button);
}

inline bool Usable(HWND table, int id) { return Visible(table, id) && ::IsWindowEnabled(::GetDlgItem(table, id)); }

inline void Press(HWND table, int id) { ::PostMessageA(table, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

// One look at the buttons; presses at most one. The play button is pressed
// once a hint has selected cards; the hint is asked for again after that.
class CSeatPlayer
{
public:
    // True when a button was pressed; *played counts the play presses.
    bool Step(HWND table)
    {
        if (Usable(table, 200)) {
            Press(table, 200);
        } else if (Usable(table, 201)) {
            Press(table, 201);
        } else if (Usable(table, 202)) {
            Press(table, 202);
        } else if (Visible(table, 198)) {
            Press(table, 198);
        } else if (Visible(table, 204)) {
            Press(table, 204);
        } else if (Visible(table, 324)) {
            Press(table, 324);
        } else if (Visible(table, 206)) {
            if (!m_pressedPlay && Usable(table, 206)) {
                Press(table, 206);
                m_pressedPlay = true;
                m_plays++;
            } else if (!Usable(table, 206) && Usable(table, 207)) {
                Press(table, 207);
                m_pressedPlay = false;
            } else {
                return false;
            }
        } else {
            m_pressedPlay = false;
            return false;
        }
        return true;
    }
    int Plays() const { return m_plays; }

private:
    bool m_pressedPlay = false;
    int m_plays = 0;
};

// The window's pixels from the screen as a 24-bit .bmp.
inline bool SaveWindowPicture(HWND hWnd, const std::string& path)
{
    RECT rect;
    if (!::GetWindowRect(hWnd, &rect))
        return false;
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0)
        return false;
    HDC screen = ::GetDC(NULL);
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = NULL;
    HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, w, h, screen, rect.left, rect.top, SRCCOPY);
    ::GdiFlush();
    const DWORD stride = ((DWORD)w * 3 + 3) & ~3u;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info.bmiHeader);
    file.bfSize = file.bfOffBits + stride * (DWORD)h;
    bool ok = false;
    HANDLE out = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (out != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        ok = ::WriteFile(out, &file, sizeof(file), &written, NULL) &&
             ::WriteFile(out, &info.bmiHeader, sizeof(info.bmiHeader), &written, NULL) &&
             ::WriteFile(out, bits, stride * (DWORD)h, &written, NULL);
        ::CloseHandle(out);
    }
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(NULL, screen);
    return ok;
}

}  // namespace tabledriver
