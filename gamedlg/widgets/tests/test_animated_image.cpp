// CAnimatedImage on the GIF pictures of tests/data (made by make_gifs.py):
// frame counts and delays, the order of waits with an injected wait, no
// thread for one frame, a prompt end while paused.
#include "WidgetTestSupport.h"

#include "AnimatedImage.h"

using namespace wtest;

namespace {

const ::testing::Environment* const g_gdiplus = ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

std::wstring DataPath(const char* name)
{
    std::string s = std::string(WIDGET_TEST_DATA) + "/" + name;
    return std::wstring(s.begin(), s.end());
}

// The injected wait: records each wait; after kWanted waits it tells the
// test and then blocks until the stop event ends it.
struct WaitRecorder {
    static constexpr size_t kWanted = 7;
    static std::vector<DWORD>& Waits()
    {
        static std::vector<DWORD> v;
        return v;
    }
    static HANDLE& Enough()
    {
        static HANDLE h = ::CreateEventA(NULL, TRUE, FALSE, NULL);
        return h;
    }
    static DWORD Wait(HANDLE hStop, DWORD ms)
    {
        Waits().push_back(ms);
        if (Waits().size() < kWanted)
            return WAIT_TIMEOUT;
        ::SetEvent(Enough());
        return ::WaitForSingleObject(hStop, INFINITE);
    }
};

class AnimatedImageTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(parent.CreateShown()); }
    void TearDown() override
    {
        CAnimatedImage::SetWaitRoutine(nullptr);
        parent.DestroyWindow();
    }
    CTestParent parent;
};

TEST_F(AnimatedImageTest, FramesAndDelaysOfThePictures)
{
    struct Case {
        const char* what;
        const char* file;
        UINT frames;
        std::vector<DWORD> delays;
    } cases[] = {
        {"one frame", "one_frame.gif", 1, {100}},
        {"delays 10, 20, 30", "three_frames.gif", 3, {100, 200, 300}},
        {"no delays in the picture: the default, no crash", "no_delays.gif", 3, {100, 100, 100}},
        {"zero delays: the default, no spinning", "zero_delays.gif", 2, {100, 100}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CAnimatedImage image(DataPath(c.file).c_str(), FALSE);
        ASSERT_EQ(image.GetLoadStatus(), Gdiplus::Ok);
        EXPECT_EQ(image.GetFrameCount(), c.frames);
        EXPECT_EQ(image.GetDelays(), c.delays);
        EXPECT_EQ(image.GetSize().cx, 20);
        EXPECT_EQ(image.GetSize().cy, 20);
        EXPECT_TRUE(image.IsPlayable());
    }
}

TEST_F(AnimatedImageTest, SingleFramePlaysNoThread)
{
    CAnimatedImage image(DataPath("one_frame.gif").c_str(), FALSE);
    EXPECT_FALSE(image.Play(parent.m_hWnd, 0, 0));
    EXPECT_FALSE(image.IsThreadRunning());
    image.SetPause(TRUE);   // ignored
}

TEST_F(AnimatedImageTest, MissingFileIsHarmless)
{
    CAnimatedImage image(DataPath("no_such_picture.gif").c_str(), FALSE);
    EXPECT_NE(image.GetLoadStatus(), Gdiplus::Ok);
    EXPECT_EQ(image.GetFrameCount(), 0u);
    EXPECT_FALSE(image.Play(parent.m_hWnd, 0, 0));
}

TEST_F(AnimatedImageTest, WaitsFollowTheDelaysInTurn)
{
    struct Case {
        const char* file;
        std::vector<DWORD> expected;
    } cases[] = {
        // After the first draw: the delay of frame 1, then 2, then 0 ...
        {"three_frames.gif", {200, 300, 100, 200, 300, 100, 200}},
        {"no_delays.gif", {100, 100, 100, 100, 100, 100, 100}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        WaitRecorder::Waits().clear();
        ::ResetEvent(WaitRecorder::Enough());
        CAnimatedImage::SetWaitRoutine(&WaitRecorder::Wait);
        {
            CAnimatedImage image(DataPath(c.file).c_str(), FALSE);
            ASSERT_TRUE(image.Play(parent.m_hWnd, 5, 5));
            EXPECT_TRUE(image.IsThreadRunning());
            ASSERT_EQ(::WaitForSingleObject(WaitRecorder::Enough(), 30000), WAIT_OBJECT_0);
        }   // destruction stops and joins the thread
        EXPECT_EQ(WaitRecorder::Waits(), c.expected);
    }
}

// The play thread waits in the injected routine until the test lets it go.
struct PauseGate {
    static HANDLE& Entered()
    {
        static HANDLE h = ::CreateEventA(NULL, FALSE, FALSE, NULL);
        return h;
    }
    static HANDLE& Release()
    {
        static HANDLE h = ::CreateEventA(NULL, FALSE, FALSE, NULL);
        return h;
    }
    static LONG& Calls()
    {
        static LONG n = 0;
        return n;
    }
    static DWORD Wait(HANDLE hStop, DWORD)
    {
        ::InterlockedIncrement(&Calls());
        ::SetEvent(Entered());
        HANDLE handles[2] = {hStop, Release()};
        return ::WaitForMultipleObjects(2, handles, FALSE, INFINITE) == WAIT_OBJECT_0 ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
    }
};

TEST_F(AnimatedImageTest, DestroyingWhilePausedEndsTheThread)
{
    // The picture's own delays are 11 minutes: only the stop event can end a
    // wait in time (a hang fails the test through its time-out).
    CAnimatedImage::SetWaitRoutine(&PauseGate::Wait);
    PauseGate::Calls() = 0;
    {
        CAnimatedImage image(DataPath("long_delays.gif").c_str(), FALSE);
        ASSERT_TRUE(image.Play(parent.m_hWnd, 0, 0));
        ASSERT_EQ(::WaitForSingleObject(PauseGate::Entered(), 30000), WAIT_OBJECT_0);
        image.SetPause(TRUE);
        ::SetEvent(PauseGate::Release());   // the thread goes on into the paused state
    }
    // Paused: no frame was drawn and waited for after the pause.
    EXPECT_EQ(PauseGate::Calls(), 1);
}

TEST_F(AnimatedImageTest, DestroyingDuringALongDelayEndsTheThread)
{
    CAnimatedImage image(DataPath("long_delays.gif").c_str(), FALSE);
    ASSERT_TRUE(image.Play(parent.m_hWnd, 0, 0));
    // The destructor sets the stop event; the real wait of 655 s ends at once.
}

}  // namespace
