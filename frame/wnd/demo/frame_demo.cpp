// frame_demo.exe - the game frame with the default skin from the program's
// folder, for looking at it: the table scene (MardavelScene_bk.bgd with
// Mardavel.scn: five seats, chat balloons, the running star), or with the
// argument "table" the table client's layout (Mardavel_bk.bgd).
//
// With the argument "bench" it measures, in one run, a full repaint of the
// frame at 1024 x 768 against one BitBlt of the same size, and one animation
// tick of the scene (effects advanced, dirty rectangles merged and redrawn)
// against the 30 ms tick, and prints the figures and their ratios.
#include <afxwin.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "ImageObj.h"
#include "QVGameWnd.h"
#include "ScenePainter.h"
#include "app/GameApp.h"

namespace {

std::string ExeFolder()
{
    char path[MAX_PATH];
    const DWORD n = ::GetModuleFileNameA(NULL, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return std::string();
    char* slash = strrchr(path, '\\');
    if (slash != NULL)
        slash[1] = 0;
    return path;
}

const char* const kNames[5] = {"Aldric", "Brenna", "Caspar", "Delia", "Emeric"};

class CDemoFrame : public CQVGameWnd
{
public:
    explicit CDemoFrame(bool scene) : m_bScene(scene)
    {
        for (int i = 0; i < 5; i++)
            m_players[i] = new CGamePlayer(kNames[i], kNames[i], static_cast<uint32_t>(i), i == 2 ? 2 : 1,
                                           static_cast<uint8_t>(i + 1));
        // The demo's balloons stay until the next text.
        m_nBalloonTime = 0;
    }
    ~CDemoFrame() override
    {
        for (CGamePlayer* p : m_players)
            delete p;
    }
    CString GetBackImagePath() override
    {
        return CString(ExeFolder().c_str()) + (m_bScene ? "MardavelScene_bk.bgd" : "Mardavel_bk.bgd");
    }
    CString GetAppPath() override { return ExeFolder().c_str(); }
    void WriteLog(LPCSTR text) override { fprintf(stderr, "%s\n", text); }
    BOOL IsOnline() override { return FALSE; }
    CGamePlayer* GetPlayer(int index) override { return index >= 0 && index < 5 ? m_players[index] : NULL; }
    int FindSpeakerIndex(LPCSTR userName) override
    {
        for (int i = 0; i < 5; i++)
            if (_stricmp(userName, kNames[i]) == 0)
                return i;
        return -1;
    }
    // The avatars are pictures of the scene's pack ("avatar1".."avatar5").
    CImageObj* GetAvatarPicture(LPCSTR userName) override
    {
        for (int i = 0; i < 5 && m_pScenePainter != NULL; i++) {
            if (strcmp(userName, kNames[i]) != 0)
                continue;
            char key[16];
            snprintf(key, sizeof key, "avatar%d", i + 1);
            CImageObj* picture = m_pScenePainter->GetScenePicture(NULL, key);
            COLORREF colour;
            if (picture != NULL && !picture->GetBkColor(&colour))
                picture->SetBkColor(GetTransparentColor());
            return picture;
        }
        return NULL;
    }

private:
    bool m_bScene;
    CGamePlayer* m_players[5];
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

    // One animation tick: every overlay item ticked (the star's two layers
    // advanced), the dirty rectangles merged, the frame redrawing them from
    // the back image with the overlay and copying them to the window.
    CQVScenePainter* scene = frame->m_pScenePainter;
    if (scene == NULL || !scene->HasScene()) {
        printf("no scene loaded: no tick figure\n");
        return;
    }
    const int ticks = 1000;
    ::QueryPerformanceCounter(&a);
    for (int i = 0; i < ticks; i++)
        scene->OnTick(TRUE);
    ::QueryPerformanceCounter(&b);
    const double tick = Seconds(a, b, f) / ticks;
    printf("one animation tick of the scene:    %.3f ms\n", tick * 1000);
    printf("fraction of the 30 ms tick:         %.4f\n", tick * 1000 / CQVGameWnd::kAnimationTimerMs);
}

class CDemoApp : public CWinApp
{
public:
    CDemoApp() : CWinApp("MardavelFrameDemo") {}
    BOOL InitInstance() override
    {
        SetRegistryKey("MardavelFrameDemo");
        const bool bench = m_lpCmdLine != NULL && strstr(m_lpCmdLine, "bench") != NULL;
        const bool table = m_lpCmdLine != NULL && strstr(m_lpCmdLine, "table") != NULL;
        CDemoFrame* frame = new CDemoFrame(!table);
        m_pMainWnd = frame;
        if (!frame->Create(NULL, "Mardavel", CQVGameWnd::kFrameStyle, CRect(0, 0, 10, 10))) {
            fprintf(stderr, "the frame could not be created\n");
            m_pMainWnd = NULL;
            return FALSE;
        }
        if (bench) {
            Bench(frame);
            frame->DestroyWindow();
            return FALSE;
        }
        frame->RestorePlacement();
        frame->MoveWindow(20, 20, 1024, 768, TRUE);
        if (frame->m_pScenePainter != NULL) {
            frame->m_pScenePainter->ShowBalloon(0, "Good luck, everyone!");
        }
        // A chat line as the chat control hands it over: "[speaker]：text"
        // (code page 936), shown at the speaker's seat.
        frame->SendMessage(CQVGameWnd::kChatTextMessage, 0,
                           reinterpret_cast<LPARAM>("[Delia]\xA3\xBA\xCB\xAD\xCF\xC8\xB3\xF6\xC5\xC6\xA3\xBF "
                                                    "Who leads the first trick?"));
        return TRUE;
    }
};
CDemoApp theApp;

}  // namespace
