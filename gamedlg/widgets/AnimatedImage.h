// CAnimatedImage: a GDI+ picture (typically an animated GIF) that plays its
// frames into a window on a thread of its own, drawing each frame straight
// onto the window's device context at a fixed position. The thread is paused
// through a manual-reset run event and ended through a manual-reset stop
// event; destruction stops it and waits for it before anything is freed.
//
// Only pictures loaded from a file with more than one frame play on a
// thread; a single-frame picture is drawn by its owner.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <vector>

class CAnimatedImage : public Gdiplus::Image
{
public:
    // Loads the picture from a file (colour-managed when asked); playable.
    CAnimatedImage(const WCHAR* pszPath, BOOL bUseICM);
    // Loads the picture from a resource of the resource module, through a
    // memory stream; not playable.
    CAnimatedImage(LPCSTR lpszName, LPCSTR lpszType);
    ~CAnimatedImage() override;
    CAnimatedImage(const CAnimatedImage&) = delete;
    CAnimatedImage& operator=(const CAnimatedImage&) = delete;

    // Stores the window and position; starts the play thread when the
    // picture is playable, has more than one frame and no thread runs yet.
    // TRUE when a thread plays.
    BOOL Play(HWND hWnd, int x, int y);
    // Ignored with fewer than 2 frames.
    void SetPause(BOOL bPause);
    // The picture's size as loaded.
    SIZE GetSize() const { return m_size; }

    using Gdiplus::Image::GetFrameCount;
    UINT GetFrameCount() const { return m_nFrameCount; }
    // The outcome of loading the picture (Ok when it can be drawn).
    Gdiplus::Status GetLoadStatus() const { return m_loadStatus; }
    BOOL IsPlayable() const { return m_bPlayable; }
    BOOL IsThreadRunning() const { return m_hThread != NULL; }
    // Delay after each frame, in milliseconds.
    const std::vector<DWORD>& GetDelays() const { return m_delays; }

    // How the play thread waits between frames: returns WAIT_OBJECT_0 when
    // the stop event ended the wait. Tests put a recorder in its place;
    // NULL puts back the default (WaitForSingleObject on the stop event).
    typedef DWORD (*WaitRoutine)(HANDLE hStop, DWORD dwMilliseconds);
    static WaitRoutine SetWaitRoutine(WaitRoutine pfn);

private:
    CAnimatedImage(IStream* pStream, int);
    void Init();
    void ReadFrames();
    void PlayLoop();
    static unsigned __stdcall ThreadProc(void* pParam);

    IStream* m_pStream;
    HANDLE m_hThread;
    HANDLE m_hRunEvent;
    HANDLE m_hStopEvent;
    HWND m_hWnd;
    UINT m_nFrameCount;
    UINT m_nFrameCounter;
    BOOL m_bPlayable;
    BOOL m_bPaused;
    std::vector<DWORD> m_delays;
    int m_x, m_y;
    SIZE m_size;
    Gdiplus::Status m_loadStatus;
};
