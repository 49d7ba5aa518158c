// bench_bare_window.exe: the smallest Win32 window program, the reference of
// the start-up benchmark. With "zh" it paints Chinese text in the table's
// face ("宋体", code page 936), as the table does.
#include <windows.h>

#include <cstring>

namespace {

bool g_chinese = false;

LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = ::BeginPaint(hWnd, &paint);
        if (g_chinese) {
            HFONT font = ::CreateFontA(12, 6, 0, 0, 500, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0,
                                       "\xcb\xce\xcc\xe5");
            HGDIOBJ old = ::SelectObject(dc, font);
            ::TextOutA(dc, 10, 10, "\xbf\xaa\xca\xbc \xb3\xf6\xc5\xc6", 9);
            ::SelectObject(dc, old);
            ::DeleteObject(font);
        } else {
            ::TextOutA(dc, 10, 10, "hello", 5);
        }
        ::EndPaint(hWnd, &paint);
        return 0;
    }
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    g_chinese = commandLine != NULL && strstr(commandLine, "zh") != NULL;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    windowClass.lpszClassName = "MardavelBareWindow";
    ::RegisterClassA(&windowClass);
    ::CreateWindowA("MardavelBareWindow", "bare window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640, 480, NULL,
                    NULL, instance, NULL);
    MSG message;
    while (::GetMessageA(&message, NULL, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    return 0;
}
