// REVaved.exe stand-in: the platform's background-music program. A hidden
// window titled "REVaved" takes the program's WM_COPYDATA commands and
// writes each as one line to "REVaved.log" in its working folder:
// "code=<n> text=<0|1> bytes=<cbData> sender=<hex> <text>".
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

const UINT kCodeQuit = 0x7FFF;               // a command of the tests: end the program

LRESULT CALLBACK WndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    if (nMsg == WM_COPYDATA) {
        const COPYDATASTRUCT* pData = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (pData == NULL)
            return FALSE;
        UINT nCode = (UINT)(pData->dwData >> 16);
        if (nCode == kCodeQuit) {
            DestroyWindow(hWnd);
            return TRUE;
        }
        uint32_t sender = 0;
        char szText[257] = "";
        const char* p = static_cast<const char*>(pData->lpData);
        if (p != NULL && pData->cbData >= 4) {
            memcpy(&sender, p, 4);
            size_t n = pData->cbData - 4;
            if (n > 256)
                n = 256;
            memcpy(szText, p + 4, n);
            szText[n] = '\0';
        }
        FILE* f = fopen("REVaved.log", "a");
        if (f != NULL) {
            fprintf(f, "code=%u text=%u bytes=%lu sender=%08x %s\n", nCode, (unsigned)(pData->dwData & 1),
                    (unsigned long)pData->cbData, sender, szText);
            fclose(f);
        }
        return TRUE;
    }
    if (nMsg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hWnd, nMsg, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    WNDCLASSA wc;
    memset(&wc, 0, sizeof(wc));
    wc.lpfnWndProc = WndProc;
    wc.hInstance = hInstance;
    wc.lpszClassName = "REVavedWindow";
    RegisterClassA(&wc);
    HWND hWnd = CreateWindowExA(0, wc.lpszClassName, "REVaved", WS_POPUP, 0, 0, 10, 10, NULL, NULL, hInstance, NULL);
    if (hWnd == NULL)
        return 1;
    // Tests wait on this event: the window is there.
    HANDLE hReady = OpenEventA(EVENT_MODIFY_STATE, FALSE, "REVavedReady");
    if (hReady != NULL) {
        SetEvent(hReady);
        CloseHandle(hReady);
    }
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
