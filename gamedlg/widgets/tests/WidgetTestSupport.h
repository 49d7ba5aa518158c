// Helpers of the widgets' window tests: GDI+ for the test program, strip
// pictures of known pixels, a shown top-level parent, a sound recorder and a
// waiting loop that pumps messages.
#pragma once

#include "test_support.h"  // framework tests: PumpPendingMessages, CountGdiObjects

#include <gdiplus.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "GdiTestSupport.h"  // graphics tests: Canvas
#include "app/ClientServices.h"

namespace wtest {

using gfxtest::Canvas;

// GDI+ started once for the whole test program.
class GdiplusEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        Gdiplus::GdiplusStartupInput input;
        ASSERT_EQ(Gdiplus::GdiplusStartup(&m_token, &input, nullptr), Gdiplus::Ok);
    }
    void TearDown() override { Gdiplus::GdiplusShutdown(m_token); }

private:
    ULONG_PTR m_token = 0;
};

// A 32-bit ARGB picture whose pixel (x, y) is argb(x, y) (0xAARRGGBB).
inline std::unique_ptr<Gdiplus::Bitmap> MakeArgbBitmap(int width, int height,
                                                       const std::function<Gdiplus::ARGB(int, int)>& argb)
{
    std::unique_ptr<Gdiplus::Bitmap> b(new Gdiplus::Bitmap(width, height, PixelFormat32bppARGB));
    Gdiplus::BitmapData data;
    Gdiplus::Rect all(0, 0, width, height);
    if (b->LockBits(&all, Gdiplus::ImageLockModeWrite, PixelFormat32bppARGB, &data) == Gdiplus::Ok) {
        for (int y = 0; y < height; ++y) {
            auto* row = reinterpret_cast<Gdiplus::ARGB*>(static_cast<BYTE*>(data.Scan0) + y * data.Stride);
            for (int x = 0; x < width; ++x)
                row[x] = argb(x, y);
        }
        b->UnlockBits(&data);
    }
    return b;
}

// A shown top-level popup window of the framework, the parent of the widgets
// under test; it logs the WM_COMMANDs it receives. Test programs share one
// display: these windows sit in its lower right part, away from the other
// programs' windows, and only tests that look windows up by a screen point
// make theirs topmost.
class CTestParent : public CWnd
{
public:
    BOOL CreateShown(int x = 760, int y = 560, int w = 400, int h = 300, bool topmost = false)
    {
        if (!CreateEx(topmost ? WS_EX_TOPMOST : 0, AfxRegisterWndClass(0), "widget test", WS_POPUP | WS_VISIBLE, x, y,
                      w, h, NULL, NULL))
            return FALSE;
        ::SetForegroundWindow(m_hWnd);
        ::SetActiveWindow(m_hWnd);
        return TRUE;
    }
    std::vector<std::pair<UINT, UINT>> commands;   // (id, notification code)

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        commands.emplace_back(LOWORD(wParam), HIWORD(wParam));
        return CWnd::OnCommand(wParam, lParam);
    }
};

// Records the WAVE resources played through the process's sound routine.
class SoundRecorder
{
public:
    SoundRecorder() { m_old = SetPlaySoundRoutine(&Record); s_played().clear(); }
    ~SoundRecorder() { SetPlaySoundRoutine(m_old); }
    const std::vector<UINT>& Played() const { return s_played(); }

private:
    static std::vector<UINT>& s_played()
    {
        static std::vector<UINT> v;
        return v;
    }
    static BOOL WINAPI Record(LPCSTR pszSound, HMODULE, DWORD)
    {
        if (pszSound != nullptr && IS_INTRESOURCE(pszSound))
            s_played().push_back((UINT)(ULONG_PTR)pszSound);
        return TRUE;
    }
    PlaySoundRoutine m_old;
};

// Pumps messages until done() holds; FALSE when it still does not after a
// generous bound (a failure, never a pass).
inline bool PumpUntil(const std::function<bool()>& done, DWORD boundMs = 10000)
{
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > boundMs)
            return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        PumpPendingMessages();
    }
    return true;
}

inline COLORREF Rgb(Gdiplus::ARGB c) { return RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF); }

inline bool Near(COLORREF a, COLORREF b, int tolerance)
{
    return abs(GetRValue(a) - GetRValue(b)) <= tolerance && abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

}  // namespace wtest
