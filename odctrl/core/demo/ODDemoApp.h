// Start-up shared by the owner-draw controls' demo programs. Each demo shows
// one window for looking at (scripts/screenshot): the library is started
// from "<program folder>\odctrls\Mardavel_skn.ini" as the program does, the
// window is made, messages are pumped until it closes, and the library is
// stopped again.
#pragma once

#include "afxwin.h"

namespace oddemo {

// Exit codes of a demo that could not start.
const int kExitNoLibrary = 1;  // the theme beside the program did not load
const int kExitNoWindow = 2;   // the demo's window was not made

// The library started from the theme beside the program, and stopped when
// this goes out of scope (after the windows made in its scope are gone).
class ThemeLibrary
{
public:
    ThemeLibrary();
    ~ThemeLibrary();
    ThemeLibrary(const ThemeLibrary&) = delete;
    ThemeLibrary& operator=(const ThemeLibrary&) = delete;

    bool Started() const { return m_started; }

private:
    bool m_started = false;
};

// Makes a demo's top-level window at (40, 40): a caption, a system menu and
// extraStyle, an arrow cursor, the given background (none: the window
// paints its own).
BOOL CreateDemoWindow(CWnd& wnd, LPCSTR title, int width, int height, HBRUSH background = NULL,
                      DWORD extraStyle = 0);

// Makes a modeless dialog from an in-memory template (caption, size in
// dialog units, Tahoma 9, no items) and shows it at (60, 60).
BOOL CreateDemoDialog(CDialog& dialog, LPCSTR caption, int cx, int cy, DWORD style);

// How RunMessageLoop hands messages on.
enum class Dispatch
{
    Plain,         // translated and dispatched
    PreTranslate,  // through the windows' PreTranslateMessage first (dialog keys)
};

// Pumps messages until WM_QUIT or until the window `main` is gone. The
// WM_QUIT code, 0 when the window went.
int RunMessageLoop(HWND main, Dispatch dispatch = Dispatch::Plain);

// The usual demo: the library started, a Wnd made by its CreateDemo(),
// messages pumped until it closes.
template <class Wnd>
int RunWindowDemo()
{
    ThemeLibrary library;
    if (!library.Started())
        return kExitNoLibrary;
    Wnd wnd;
    if (!wnd.CreateDemo())
        return kExitNoWindow;
    return RunMessageLoop(wnd.m_hWnd);
}

}  // namespace oddemo
