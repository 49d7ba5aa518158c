// The recorder object: packed frames from bitmaps, a thread that cannot be
// made, a missing compressor, the return to idle after a recording that
// ended by itself, silence after a silent stop, a stop during a pause, and
// the temporary names.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "CaptureRecorder.h"
#include "MsvcStandIn.h"
#include "RecorderTestSupport.h"

namespace {

HBITMAP MakeBitmap(int width, int height, int bits, COLORREF fill)
{
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = nullptr;
    if (bits == 0) {
        bitmap = CreateCompatibleBitmap(screen, width, height);
    } else {
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bi.bmiHeader.biWidth = width;
        bi.bmiHeader.biHeight = height;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = WORD(bits);
        void* p = nullptr;
        bitmap = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &p, nullptr, 0);
    }
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    HBRUSH brush = CreateSolidBrush(fill);
    RECT r = {0, 0, width, height};
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

TEST(BitmapToDibTest, HeaderColourTableAndPixels)
{
    CaptureRecorder recorder;
    struct Case {
        const char* what;
        int width, height, bits;
        DWORD sizeImage, colours;
    };
    const Case cases[] = {
        {"101 x 75 at 24 bits: stride 304", 101, 75, 24, 304 * 75, 0},
        {"16 bits: no colour table", 33, 7, 16, 68 * 7, 0},
        {"32 bits", 10, 3, 32, 40 * 3, 0},
        {"8 bits: a 256-entry colour table", 13, 4, 8, 16 * 4, 256},
    };
    for (const Case& c : cases) {
        HBITMAP bitmap = MakeBitmap(c.width, c.height, 32, RGB(0x20, 0x80, 0xF0));
        HGLOBAL dib = recorder.BitmapToDib(bitmap, c.bits);
        DeleteObject(bitmap);
        ASSERT_NE(dib, nullptr) << c.what;
        auto* h = static_cast<BITMAPINFOHEADER*>(GlobalLock(dib));
        EXPECT_EQ(h->biSize, 40u) << c.what;
        EXPECT_EQ(h->biWidth, c.width) << c.what;
        EXPECT_EQ(h->biHeight, c.height) << c.what;
        EXPECT_EQ(h->biPlanes, 1) << c.what;
        EXPECT_EQ(h->biBitCount, c.bits) << c.what;
        EXPECT_EQ(h->biCompression, DWORD(BI_RGB)) << c.what;
        EXPECT_EQ(h->biSizeImage, c.sizeImage) << c.what;
        EXPECT_EQ(h->biClrUsed, c.colours) << c.what;
        EXPECT_EQ(GlobalSize(dib), 40 + 4 * c.colours + c.sizeImage) << c.what;
        if (c.bits == 24) {
            const BYTE* px = reinterpret_cast<const BYTE*>(h) + 40;   // blue, green, red
            EXPECT_EQ(px[0], 0xF0);
            EXPECT_EQ(px[1], 0x80);
            EXPECT_EQ(px[2], 0x20);
        }
        if (c.bits == 16) {   // 5-5-5: 0x20 >> 3 = 4, 0x80 >> 3 = 16, 0xF0 >> 3 = 30
            const BYTE* px = reinterpret_cast<const BYTE*>(h) + 40;
            EXPECT_EQ(px[0] | (px[1] << 8), (4 << 10) | (16 << 5) | 30);
        }
        GlobalUnlock(dib);
        GlobalFree(dib);
    }
}

TEST(CaptureFrameTest, ScreenAreaAtTheFrameDepth)
{
    CaptureRecorder recorder;
    ColourWindow window(40, 40, 64, 64, RGB(0xF8, 0x00, 0x00));
    PumpFor(50);
    BITMAPINFOHEADER* frame = recorder.CaptureFrame(48, 48, 16, 8);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->biBitCount, recorder.FrameBits());
    EXPECT_LE(recorder.FrameBits(), 16) << "the compressor takes 16 bits at most";
    EXPECT_EQ(frame->biWidth, 16);
    EXPECT_EQ(frame->biHeight, 8);
    if (frame->biBitCount == 16) {
        const BYTE* px = reinterpret_cast<const BYTE*>(frame) + 40;
        EXPECT_EQ(px[0] | (px[1] << 8), 31 << 10) << "pure red in 5-5-5";
    }
    CaptureRecorder::FreeFrame(frame);
}

HANDLE FailingThreadStarter(LPTHREAD_START_ROUTINE, void*, DWORD*)
{
    return nullptr;
}

class CaptureRecorderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(InstallMsvcStandIn());
        m_folder = OutputFolder();
        ASSERT_FALSE(m_folder.empty());
    }
    void TearDown() override { RemoveMsvcStandIn(); }
    std::string Path(const char* name) const { return m_folder + "\\" + name; }
    std::string m_folder;
};

TEST_F(CaptureRecorderTest, NoThreadReportsSevenOnTheCallersThread)
{
    RecorderPlatform platform = SystemRecorderPlatform();
    platform.createThread = FailingThreadStarter;
    CaptureRecorder recorder(platform);
    CallbackLog log;
    EXPECT_EQ(recorder.StartRecord(0, 0, 64, 48, 0, 0, Path("nothread.avi").c_str(), CallbackLog::Callback, &log), 0);
    ASSERT_EQ(log.Codes(), std::vector<int>{7});
    EXPECT_EQ(log.Entries()[0].thread, GetCurrentThreadId());
    EXPECT_EQ(recorder.State(), kStateIdle);
}

TEST_F(CaptureRecorderTest, MissingCompressorEndsOnceAndTheNextStartIsTaken)
{
    CaptureRecorder recorder;
    RemoveMsvcStandIn();   // Wine's own "MSVC" decodes only
    CallbackLog failed;
    ASSERT_EQ(recorder.StartRecord(0, 0, 64, 48, 0, 0, Path("nocodec.avi").c_str(), CallbackLog::Callback, &failed),
              1);
    ASSERT_TRUE(failed.WaitFinal());
    ASSERT_TRUE(recorder.WaitForCaptureThread(60000));
    ASSERT_EQ(failed.Codes().size(), 1u);
    const int code = failed.Codes()[0];
    EXPECT_TRUE(code == kRecordCompressedStream || code == kRecordSetFormat) << code;
    EXPECT_NE(failed.Entries()[0].thread, GetCurrentThreadId());
    EXPECT_EQ(recorder.State(), kStateIdle) << "a recording that ended by itself leaves the recorder idle";

    ASSERT_TRUE(InstallMsvcStandIn());
    CallbackLog next;
    ASSERT_EQ(recorder.StartRecord(0, 0, 64, 48, 0, 0, Path("after-failure.avi").c_str(), CallbackLog::Callback, &next),
              1);
    recorder.StopRecord(0);
    ASSERT_TRUE(next.WaitFinal());
    ASSERT_TRUE(recorder.WaitForCaptureThread(60000));
    EXPECT_EQ(next.Codes(), std::vector<int>{0});
    EXPECT_TRUE(FileExists(Path("after-failure.avi")));
}

TEST_F(CaptureRecorderTest, NothingIsReportedAfterASilentStop)
{
    CaptureRecorder recorder;
    CallbackLog log;
    ASSERT_EQ(recorder.StartRecord(0, 0, 64, 48, 1, 0, Path("silent.avi").c_str(), CallbackLog::Callback, &log), 1);
    recorder.StopRecord(2);
    ASSERT_TRUE(recorder.WaitForCaptureThread(60000));
    EXPECT_TRUE(log.Codes().empty());
    EXPECT_EQ(recorder.State(), kStateSilentStop);
    EXPECT_TRUE(FileExists(Path("silent.avi")));
}

TEST_F(CaptureRecorderTest, AStopEndsAPause)
{
    CaptureRecorder recorder;
    CallbackLog log;
    ASSERT_EQ(recorder.StartRecord(0, 0, 64, 48, 0, 0, Path("pause-stop.avi").c_str(), CallbackLog::Callback, &log), 1);
    recorder.PauseRecord(1);
    recorder.StopRecord(0);
    ASSERT_TRUE(log.WaitFinal());
    ASSERT_TRUE(recorder.WaitForCaptureThread(60000));
    EXPECT_EQ(log.Codes(), std::vector<int>{0});
}

TEST_F(CaptureRecorderTest, UnwritableOutputReportsNine)
{
    CaptureRecorder recorder;
    CallbackLog log;
    ASSERT_EQ(recorder.StartRecord(0, 0, 64, 48, 0, 0, "C:\\no\\such\\folder\\x.avi", CallbackLog::Callback, &log), 1);
    ASSERT_TRUE(log.WaitFinal());
    ASSERT_TRUE(recorder.WaitForCaptureThread(60000));
    EXPECT_EQ(log.Codes(), std::vector<int>{9});
    EXPECT_EQ(recorder.State(), kStateIdle);
}

TEST(TempNameTest, FixedNameFirstThenNumbered)
{
    CaptureRecorder recorder;
    ASSERT_NE(recorder.TempFolder()[0], 0);
    const std::string folder = recorder.TempFolder();
    struct Case {
        const char* what;
        bool video;
        const char* fixed;
        const char* prefix;
        const char* suffix;
    };
    const Case cases[] = {
        {"video", true, "\\~temp.avi", "\\~temp", ".avi"},
        {"sound", false, "\\~temp001.wav", "\\~temp", ".wav"},
    };
    for (const Case& c : cases) {
        const std::string fixed = folder + c.fixed;
        DeleteFileA(fixed.c_str());
        c.video ? recorder.MakeTempVideoName() : recorder.MakeTempSoundName();
        EXPECT_EQ(std::string(c.video ? recorder.TempVideoPath() : recorder.TempSoundPath()), fixed) << c.what;
        EXPECT_FALSE(FileExists(fixed)) << c.what << ": the test file is removed again";
        // The fixed name is taken: a numbered one.
        HANDLE held = CreateFileA(fixed.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        c.video ? recorder.MakeTempVideoName() : recorder.MakeTempSoundName();
        const std::string numbered = c.video ? recorder.TempVideoPath() : recorder.TempSoundPath();
        EXPECT_NE(numbered, fixed) << c.what;
        EXPECT_EQ(numbered.rfind(folder + c.prefix, 0), 0u) << numbered;
        EXPECT_EQ(numbered.substr(numbered.size() - 4), c.suffix) << numbered;
        CloseHandle(held);
        DeleteFileA(fixed.c_str());
    }
}

}  // namespace

namespace {

// The display the recordings ran on: the runner names the depth it started.
TEST(ScreenDepthTest, MatchesTheDisplay)
{
    const char* expected = getenv("VIDRELLE_EXPECT_BPP");
    ASSERT_TRUE(expected && *expected) << "VIDRELLE_EXPECT_BPP is not set";
    CaptureRecorder recorder;
    EXPECT_EQ(recorder.BitsPerPixel(), atoi(expected));
    EXPECT_EQ(recorder.FrameBits(), 16);
}

}  // namespace
