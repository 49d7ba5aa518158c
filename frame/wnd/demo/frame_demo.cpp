// frame_demo.exe - the game frame with the default skin from the program's
// folder (Mardavel_bk.bgd), for looking at it; with the argument "bench" it
// measures a full repaint of the frame at 1024 x 768 against one BitBlt of
// the same size and prints both figures and their ratio.
#include <afxwin.h>

#include <cstdio>
#include <cstring>

#include "QVGameWnd.h"

namespace {

class CDemoFrame : public CQVGameWnd
{
public:
    CString GetBackImagePath() override
    {
        char path[MAX_PATH];
        const DWORD n = ::GetModuleFileNameA(NULL, path, MAX_PATH);
        if (n == 0 || n >= MAX_PATH)
            return CString();
        char* slash = strrchr(path, '\\');
        if (slash != NULL)
            slash[1] = 0;
        return CString(path) + "Mardavel_bk.bgd";
    }
    void WriteLog(LPCSTR text) override { fprintf(stderr, "%s\n", text); }
    BOOL IsOnline() override { return FALSE; }
};

double Seconds(LARGE_INTEGER a, LARGE_INTEGER b, LARGE_INTEGER f)
{
    return static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(f.QuadPart);
}

void Bench(CDemoFrame* frame)
{
    frame->MoveWindow(0, 0, 1024, 768, TRUE);
    frame->ShowWindow(SW_SHOW);
    const int rounds = 200;
    LARGE_INTEGER f, a, b;
    ::QueryPerformanceFrequency(&f);
    ::QueryPerformanceCounter(&a);
    for (int i = 0; i < rounds; i++)
        frame->UpdateBackImage();
    ::QueryPerformanceCounter(&b);
    const double repaint = Seconds(a, b, f) / rounds;

    HDC window = ::GetDC(frame->GetSafeHwnd());
    HDC mem = ::CreateCompatibleDC(window);
    HBITMAP bitmap = ::CreateCompatibleBitmap(window, 1024, 768);
    HGDIOBJ old = ::SelectObject(mem, bitmap);
    ::QueryPerformanceCounter(&a);
    for (int i = 0; i < rounds; i++)
        ::BitBlt(window, 0, 0, 1024, 768, mem, 0, 0, SRCCOPY);
    ::GdiFlush();
    ::QueryPerformanceCounter(&b);
    const double blit = Seconds(a, b, f) / rounds;
    ::SelectObject(mem, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(mem);
    ::ReleaseDC(frame->GetSafeHwnd(), window);
    printf("full repaint of the frame 1024x768: %.3f ms\n", repaint * 1000);
    printf("one BitBlt 1024x768:                %.3f ms\n", blit * 1000);
    printf("ratio repaint / BitBlt:             %.1f\n", blit > 0 ? repaint / blit : 0.0);
}

class CDemoApp : public CWinApp
{
public:
    CDemoApp() : CWinApp("MardavelFrameDemo") {}
    BOOL InitInstance() override
    {
        SetRegistryKey("MardavelFrameDemo");
        CDemoFrame* frame = new CDemoFrame;
        if (!frame->Create(NULL, "Mardavel", CQVGameWnd::kFrameStyle, CRect(0, 0, 10, 10))) {
            fprintf(stderr, "the frame could not be created\n");
            return FALSE;
        }
        m_pMainWnd = frame;
        if (m_lpCmdLine != NULL && strstr(m_lpCmdLine, "bench") != NULL) {
            Bench(frame);
            frame->DestroyWindow();
            return FALSE;
        }
        frame->RestorePlacement();
        frame->MoveWindow(20, 20, 1024, 768, TRUE);
        return TRUE;
    }
};
CDemoApp theApp;

}  // namespace
