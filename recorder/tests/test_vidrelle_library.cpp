// Vidrelle.dll as a host sees it: the three exports by name and ordinal, the
// start refusals on the caller's thread, unloading right after a silent stop,
// and recordings of a window in a known colour that check_recordings.py reads
// back with ffprobe and ffmpeg (codec, rate, size, duration, colour, cursor).
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>

#include "MsvcStandIn.h"
#include "RecorderTestSupport.h"

namespace {

typedef int(__cdecl* StartRecordFn)(int, int, int, int, int, int, const char*, void(__cdecl*)(void*, int), void*);
typedef int(__cdecl* PauseRecordFn)(int);
typedef int(__cdecl* StopRecordFn)(int);

class VidrelleLibraryTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(InstallMsvcStandIn()); }
    static void TearDownTestSuite() { RemoveMsvcStandIn(); }

    void SetUp() override
    {
        m_module = LoadLibraryA("Vidrelle.dll");
        ASSERT_NE(m_module, nullptr) << "Vidrelle.dll beside the test";
        m_start = reinterpret_cast<StartRecordFn>(reinterpret_cast<void (*)()>(GetProcAddress(m_module, "StartRecord")));
        m_pause = reinterpret_cast<PauseRecordFn>(reinterpret_cast<void (*)()>(GetProcAddress(m_module, "PauseRecord")));
        m_stop = reinterpret_cast<StopRecordFn>(reinterpret_cast<void (*)()>(GetProcAddress(m_module, "StopRecord")));
        ASSERT_TRUE(m_start && m_pause && m_stop);
    }
    void TearDown() override
    {
        if (m_module)
            FreeLibrary(m_module);
    }

    HMODULE m_module = nullptr;
    StartRecordFn m_start = nullptr;
    PauseRecordFn m_pause = nullptr;
    StopRecordFn m_stop = nullptr;
};

TEST_F(VidrelleLibraryTest, ExportsByNameAndOrdinal)
{
    struct Case {
        const char* name;
        WORD ordinal;
    };
    const Case cases[] = {{"StartRecord", 1}, {"PauseRecord", 2}, {"StopRecord", 3}};
    for (const Case& c : cases) {
        FARPROC byName = GetProcAddress(m_module, c.name);
        FARPROC byOrdinal = GetProcAddress(m_module, MAKEINTRESOURCEA(c.ordinal));
        ASSERT_NE(byName, nullptr) << c.name;
        EXPECT_EQ(byName, byOrdinal) << c.name;
    }
    EXPECT_EQ(GetProcAddress(m_module, MAKEINTRESOURCEA(4)), nullptr);
}

TEST_F(VidrelleLibraryTest, StopAndPauseReturnTheirArgument)
{
    EXPECT_EQ(m_stop(5), 5);    // not a state: changes nothing
    EXPECT_EQ(m_stop(-1), -1);
    EXPECT_EQ(m_pause(7), 7);
    EXPECT_EQ(m_pause(0), 0);
    EXPECT_EQ(m_stop(0), 0);
}

TEST_F(VidrelleLibraryTest, EmptyRectanglesAreRefusedOnTheCallersThread)
{
    struct Case {
        const char* what;
        int left, top, right, bottom;
    };
    const Case cases[] = {
        {"right equal to left", 50, 50, 50, 90},
        {"bottom equal to top", 50, 50, 90, 50},
        {"right left of left", 90, 50, 50, 90},
        {"entirely left of the screen", -200, 0, -100, 50},
    };
    for (const Case& c : cases) {
        CallbackLog log;
        EXPECT_EQ(m_start(c.left, c.top, c.right, c.bottom, 1, 0, "C:\\never.avi", CallbackLog::Callback, &log), 0)
            << c.what;
        const auto entries = log.Entries();
        ASSERT_EQ(entries.size(), 1u) << c.what;
        EXPECT_EQ(entries[0].code, 2) << c.what;
        EXPECT_EQ(entries[0].thread, GetCurrentThreadId()) << c.what;
    }
}

TEST_F(VidrelleLibraryTest, SecondStartReportsOneAndTheRecordingReportsToTheNewCallback)
{
    const std::string folder = OutputFolder();
    ASSERT_FALSE(folder.empty());
    const std::string path = folder + "\\second-start.avi";
    CallbackLog first, second;
    ASSERT_EQ(m_start(0, 0, 64, 48, 0, 0, path.c_str(), CallbackLog::Callback, &first), 1);
    EXPECT_EQ(m_start(0, 0, 64, 48, 0, 0, path.c_str(), CallbackLog::Callback, &second), 0);
    ASSERT_EQ(second.Codes(), std::vector<int>{1});
    EXPECT_EQ(second.Entries()[0].thread, GetCurrentThreadId());
    m_stop(0);
    ASSERT_TRUE(second.WaitFinal());
    EXPECT_EQ(second.Codes(), (std::vector<int>{1, 0}));
    EXPECT_NE(second.Entries()[1].thread, GetCurrentThreadId());
    EXPECT_TRUE(first.Codes().empty());
}

TEST(VidrelleUnloadTest, UnloadingRightAfterASilentStopDoesNotCrash)
{
    ASSERT_TRUE(InstallMsvcStandIn());
    HMODULE module = LoadLibraryA("Vidrelle.dll");
    ASSERT_NE(module, nullptr);
    auto start = reinterpret_cast<StartRecordFn>(reinterpret_cast<void (*)()>(GetProcAddress(module, "StartRecord")));
    auto stop = reinterpret_cast<StopRecordFn>(reinterpret_cast<void (*)()>(GetProcAddress(module, "StopRecord")));
    const std::string folder = OutputFolder();
    ASSERT_FALSE(folder.empty());
    const std::string path = folder + "\\unload.avi";
    CallbackLog log;
    ASSERT_EQ(start(0, 0, 128, 96, 1, 0, path.c_str(), CallbackLog::Callback, &log), 1);
    stop(2);
    FreeLibrary(module);   // the host's last reference: the capture thread keeps its own
    // The library goes once the thread has closed the file. A crash in
    // unloaded code would end this process through the test main's filter.
    HANDLE never = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    for (int i = 0; i < 6000 && GetModuleHandleA("Vidrelle.dll"); ++i)
        PumpUntil(never, 10);
    CloseHandle(never);
    EXPECT_EQ(GetModuleHandleA("Vidrelle.dll"), nullptr);
    EXPECT_TRUE(log.Codes().empty()) << "nothing is reported after StopRecord(2)";
    EXPECT_TRUE(FileExists(path)) << "the file was finished";
    RemoveMsvcStandIn();
}

// ---- Recordings read back by check_recordings.py ----

std::string Hex(COLORREF c)
{
    char s[8];
    snprintf(s, sizeof s, "%02x%02x%02x", GetRValue(c), GetGValue(c), GetBValue(c));
    return s;
}

class RecordingFilesTest : public VidrelleLibraryTest {
protected:
    static void SetUpTestSuite()
    {
        VidrelleLibraryTest::SetUpTestSuite();
        ClearOutputFolder();
    }

    // Records `window` for `beforeMs`, optionally paused for `pauseMs` and
    // then on for `afterMs`; writes the manifest line.
    void Record(const char* name, const ColourWindow& window, const RECT& request, int drawCursor, POINT cursor,
                DWORD beforeMs, DWORD pauseMs, DWORD afterMs, int withSound = 0)
    {
        const std::string folder = OutputFolder();
        ASSERT_FALSE(folder.empty());
        const std::string path = folder + "\\" + name + ".avi";
        SetCursorPos(cursor.x, cursor.y);
        PumpFor(50);   // let the window paint before the first frame
        CallbackLog log;
        const DWORD started = GetTickCount();
        ASSERT_EQ(m_start(request.left, request.top, request.right, request.bottom, drawCursor, withSound,
                          path.c_str(), CallbackLog::Callback, &log),
                  1);
        PumpFor(beforeMs);
        DWORD paused = 0;
        if (pauseMs) {
            const DWORD t = GetTickCount();
            m_pause(1);
            PumpFor(pauseMs);
            m_pause(0);
            paused = GetTickCount() - t;
            PumpFor(afterMs);
        }
        const DWORD wall = GetTickCount() - started;
        m_stop(0);
        ASSERT_TRUE(log.WaitFinal());
        EXPECT_EQ(log.Codes(), std::vector<int>{0}) << "one final report, no sound trouble";
        ASSERT_TRUE(FileExists(path));

        RECT r = window.Rect();
        HDC screen = GetDC(nullptr);
        const int screenWidth = GetDeviceCaps(screen, HORZRES);
        const int screenHeight = GetDeviceCaps(screen, VERTRES);
        ReleaseDC(nullptr, screen);
        const int left = request.left < 0 ? 0 : request.left;
        const int top = request.top < 0 ? 0 : request.top;
        const int right = request.right >= screenWidth ? screenWidth - 1 : request.right;
        const int bottom = request.bottom >= screenHeight ? screenHeight - 1 : request.bottom;
        char line[512];
        snprintf(line, sizeof line,
                 "file=%s.avi width=%d height=%d colour=%s window=%ld,%ld,%ld,%ld cursor=%d cursor_at=%ld,%ld "
                 "wall_ms=%lu pause_ms=%lu sound=%d%s",
                 name, right - left, bottom - top, Hex(m_colour).c_str(), r.left - left, r.top - top,
                 r.right - left, r.bottom - top, drawCursor, cursor.x - left, cursor.y - top,
                 static_cast<unsigned long>(wall), static_cast<unsigned long>(paused), withSound,
                 // The setup's null sound device is not paced by a clock.
                 withSound ? " audio_paced=0" : "");
        AppendManifest(line);
    }

    const COLORREF m_colour = RGB(0x30, 0xA0, 0x58);
};

TEST_F(RecordingFilesTest, WindowWithCursor)
{
    ColourWindow window(100, 100, 320, 240, m_colour);
    const RECT r = window.Rect();
    Record("window", window, r, 1, POINT{r.left + 160, r.top + 120}, 2000, 0, 0);
}

TEST_F(RecordingFilesTest, PausedStretchIsLeftOut)
{
    ColourWindow window(100, 100, 160, 120, m_colour);
    const RECT r = window.Rect();
    Record("paused", window, r, 1, POINT{r.left + 40, r.top + 40}, 1000, 1500, 1000);
}

TEST_F(RecordingFilesTest, WithSoundFromTheDefaultInput)
{
    // The system's default input: the setup's null sound device.
    ColourWindow window(100, 100, 160, 120, m_colour);
    const RECT r = window.Rect();
    Record("sound", window, r, 1, POINT{r.left + 40, r.top + 40}, 2000, 0, 0, 1);
}

TEST_F(RecordingFilesTest, ClampedToTheScreen)
{
    ColourWindow window(0, 300, 200, 40, m_colour);
    const RECT r = window.Rect();
    Record("clamped", window, RECT{-20, r.top, 100000, r.bottom}, 0, POINT{600, 10}, 1000, 0, 0);
}

}  // namespace
