// The recorder's sound track: the WAV file's layout, the choice of the
// compressed format, and recordings with a sound device of the test's own
// (buffers filled with a marker and handed back on a device thread), which
// show the paused stretch absent, codes 14 and 15 keeping the video at the
// output path, and a failed merge keeping the video.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "CaptureRecorder.h"
#include "MsvcStandIn.h"
#include "RecorderCore.h"
#include "RecorderTestSupport.h"

using vidrelle::ParseRiff;
using vidrelle::ReadU16;
using vidrelle::ReadU32;
using vidrelle::RiffChunk;

namespace {

WAVEFORMATEX RecordedFormat()
{
    WAVEFORMATEX f = {};
    f.wFormatTag = WAVE_FORMAT_PCM;
    f.nChannels = 2;
    f.nSamplesPerSec = 22050;
    f.nAvgBytesPerSec = 88200;
    f.nBlockAlign = 4;
    f.wBitsPerSample = 16;
    return f;
}

RiffChunk ReadRiff(const std::string& path, std::vector<unsigned char>& bytes)
{
    bytes = ReadWholeFile(path);
    RiffChunk root;
    std::string error;
    EXPECT_TRUE(ParseRiff(bytes.data(), bytes.size(), root, error)) << path << ": " << error;
    return root;
}

TEST(WaveFileWriterTest, LayoutEmptyAndWritten)
{
    const std::string folder = OutputFolder();
    ASSERT_FALSE(folder.empty());
    struct Case {
        const char* what;
        std::vector<DWORD> writes;
        uint32_t dataSize;
    };
    const Case cases[] = {
        {"an empty recording: 'fmt ' 18 and an empty 'data'", {}, 0},
        {"one buffer", {4000}, 4000},
        {"three buffers and an odd tail", {4000, 4000, 3}, 8003},
    };
    const WAVEFORMATEX format = RecordedFormat();
    for (const Case& c : cases) {
        const std::string path = folder + "\\layout.wav";
        DeleteFileA(path.c_str());
        {
            WaveFileWriter writer(path.c_str(), &format);
            ASSERT_TRUE(writer.IsOpen()) << c.what;
            EXPECT_FALSE(writer.Open()) << c.what << ": already open";
            std::vector<char> buf(4000, 0x5A);
            for (DWORD n : c.writes)
                EXPECT_TRUE(writer.Write(buf.data(), n)) << c.what;
        }
        std::vector<unsigned char> bytes;
        const RiffChunk root = ReadRiff(path, bytes);
        EXPECT_EQ(root.listType, "WAVE") << c.what;
        ASSERT_EQ(root.children.size(), 2u) << c.what;
        const RiffChunk& fmt = root.children[0];
        EXPECT_EQ(fmt.id, "fmt ") << c.what;
        ASSERT_EQ(fmt.size, 18u) << c.what;
        const unsigned char* f = bytes.data() + fmt.dataOffset;
        EXPECT_EQ(ReadU16(f), 1) << c.what;            // PCM
        EXPECT_EQ(ReadU16(f + 2), 2) << c.what;        // stereo
        EXPECT_EQ(ReadU32(f + 4), 22050u) << c.what;
        EXPECT_EQ(ReadU32(f + 8), 88200u) << c.what;
        EXPECT_EQ(ReadU16(f + 12), 4) << c.what;
        EXPECT_EQ(ReadU16(f + 14), 16) << c.what;
        EXPECT_EQ(ReadU16(f + 16), 0) << c.what;       // no extra bytes
        EXPECT_EQ(root.children[1].id, "data") << c.what;
        EXPECT_EQ(root.children[1].size, c.dataSize) << c.what;
        EXPECT_EQ(root.size, bytes.size() - 8) << c.what << ": the RIFF size is put right";
    }
    // A path that cannot be created leaves the writer closed.
    WaveFileWriter bad("C:\\no\\such\\folder\\x.wav", &format);
    EXPECT_FALSE(bad.IsOpen());
    EXPECT_FALSE(bad.Write("x", 1));
}

// ---- A sound device and compression manager of the test's own ----

struct FakeSound {
    // Behaviour
    bool capsFail = false;
    DWORD formats = WAVE_FORMAT_2S16 | WAVE_FORMAT_1M08;
    bool openFails = false;
    int addFailsAfter = -1;   // AddBuffer fails once this many were added
    std::vector<WORD> suggestable = {WAVE_FORMAT_ADPCM, WAVE_FORMAT_PCM};
    bool metricsFail = false;
    DWORD resetBytes = 0;     // what each buffer handed back by a reset holds (0x55s)
    CaptureRecorder* stopOnStart = nullptr;   // asked to stop as the device starts

    // State
    CRITICAL_SECTION lock;
    std::deque<WAVEHDR*> queued;
    int added = 0;
    DWORD_PTR callback = 0;
    DWORD_PTR instance = 0;
    bool open = false;
    HANDLE queueFull = CreateEventA(nullptr, TRUE, FALSE, nullptr);   // three buffers wait
    std::vector<WORD> suggested;

    FakeSound() { InitializeCriticalSection(&lock); }
    ~FakeSound()
    {
        CloseHandle(queueFull);
        DeleteCriticalSection(&lock);
    }
};
FakeSound* g_fake = nullptr;

const HWAVEIN kFakeHandle = reinterpret_cast<HWAVEIN>(0x5EED);

struct Delivery {
    WAVEHDR* header;
    DWORD_PTR callback, instance;
};

DWORD WINAPI DeviceThread(void* arg)
{
    // The device hands buffers back on a thread of its own.
    auto* d = static_cast<Delivery*>(arg);
    reinterpret_cast<void(CALLBACK*)(HWAVEIN, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR)>(d->callback)(
        kFakeHandle, WIM_DATA, d->instance, reinterpret_cast<DWORD_PTR>(d->header), 0);
    delete d;
    return 0;
}

void HandBack(WAVEHDR* h)
{
    h->dwFlags |= WHDR_DONE;
    h->dwFlags &= ~WHDR_INQUEUE;
    HANDLE t = CreateThread(nullptr, 0, DeviceThread, new Delivery{h, g_fake->callback, g_fake->instance}, 0, nullptr);
    WaitForSingleObject(t, INFINITE);
    CloseHandle(t);
}

MMRESULT WINAPI FakeCaps(UINT_PTR, LPWAVEINCAPSA caps, UINT)
{
    if (g_fake->capsFail)
        return MMSYSERR_BADDEVICEID;
    caps->dwFormats = g_fake->formats;
    return MMSYSERR_NOERROR;
}
MMRESULT WINAPI FakeOpen(LPHWAVEIN wave, UINT, LPCWAVEFORMATEX, DWORD_PTR callback, DWORD_PTR instance, DWORD flags)
{
    EXPECT_EQ(flags & CALLBACK_TYPEMASK, DWORD(CALLBACK_FUNCTION));
    if (g_fake->openFails)
        return MMSYSERR_ALLOCATED;
    g_fake->callback = callback;
    g_fake->instance = instance;
    g_fake->open = true;
    *wave = kFakeHandle;
    return MMSYSERR_NOERROR;
}
MMRESULT WINAPI FakePrepare(HWAVEIN, LPWAVEHDR h, UINT)
{
    h->dwFlags |= WHDR_PREPARED;
    return MMSYSERR_NOERROR;
}
MMRESULT WINAPI FakeUnprepare(HWAVEIN, LPWAVEHDR h, UINT)
{
    h->dwFlags &= ~WHDR_PREPARED;
    return MMSYSERR_NOERROR;
}
MMRESULT WINAPI FakeAdd(HWAVEIN, LPWAVEHDR h, UINT)
{
    EnterCriticalSection(&g_fake->lock);
    if (g_fake->addFailsAfter >= 0 && g_fake->added >= g_fake->addFailsAfter) {
        LeaveCriticalSection(&g_fake->lock);
        return MMSYSERR_NOMEM;
    }
    ++g_fake->added;
    h->dwFlags |= WHDR_INQUEUE;
    g_fake->queued.push_back(h);
    if (g_fake->queued.size() == 3)
        SetEvent(g_fake->queueFull);
    LeaveCriticalSection(&g_fake->lock);
    return MMSYSERR_NOERROR;
}
MMRESULT WINAPI FakeStart(HWAVEIN)
{
    if (g_fake->stopOnStart)
        g_fake->stopOnStart->StopRecord(0);
    return MMSYSERR_NOERROR;
}
MMRESULT WINAPI FakeStop(HWAVEIN)
{
    return MMSYSERR_NOERROR;
}
MMRESULT WINAPI FakeReset(HWAVEIN)
{
    for (;;) {
        EnterCriticalSection(&g_fake->lock);
        WAVEHDR* h = nullptr;
        if (!g_fake->queued.empty()) {
            h = g_fake->queued.front();
            g_fake->queued.pop_front();
        }
        LeaveCriticalSection(&g_fake->lock);
        if (!h)
            return MMSYSERR_NOERROR;
        h->dwBytesRecorded = std::min<DWORD>(g_fake->resetBytes, h->dwBufferLength);
        memset(h->lpData, 0x55, h->dwBytesRecorded);
        HandBack(h);
    }
}
MMRESULT WINAPI FakeClose(HWAVEIN)
{
    g_fake->open = false;
    return MMSYSERR_NOERROR;
}
MMRESULT WINAPI FakeMetrics(HACMOBJ, UINT, LPVOID value)
{
    if (g_fake->metricsFail)
        return MMSYSERR_ERROR;
    *static_cast<DWORD*>(value) = 50;
    return MMSYSERR_NOERROR;
}
MMRESULT WINAPI FakeSuggest(HACMDRIVER, LPWAVEFORMATEX source, LPWAVEFORMATEX dest, DWORD size, DWORD flags)
{
    EXPECT_EQ(flags, DWORD(ACM_FORMATSUGGESTF_WFORMATTAG));
    g_fake->suggested.push_back(dest->wFormatTag);
    for (WORD tag : g_fake->suggestable)
        if (tag == dest->wFormatTag) {
            memset(dest, 0, size);
            *dest = *source;
            dest->wFormatTag = tag;
            return MMSYSERR_NOERROR;
        }
    return ACMERR_NOTPOSSIBLE;
}

RecorderPlatform FakePlatform()
{
    RecorderPlatform p = SystemRecorderPlatform();
    p.waveInGetDevCapsA = FakeCaps;
    p.waveInOpen = FakeOpen;
    p.waveInPrepareHeader = FakePrepare;
    p.waveInUnprepareHeader = FakeUnprepare;
    p.waveInAddBuffer = FakeAdd;
    p.waveInStart = FakeStart;
    p.waveInStop = FakeStop;
    p.waveInReset = FakeReset;
    p.waveInClose = FakeClose;
    p.acmMetrics = FakeMetrics;
    p.acmFormatSuggest = FakeSuggest;
    return p;
}

class RecorderSoundTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_fake = &m_fake;
        ASSERT_TRUE(InstallMsvcStandIn());
        m_folder = OutputFolder();
        ASSERT_FALSE(m_folder.empty());
    }
    void TearDown() override
    {
        RemoveMsvcStandIn();
        g_fake = nullptr;
    }
    std::string Path(const char* name) const { return m_folder + "\\" + name; }

    // Fills the oldest queued buffer with `marker` and hands it back; waits
    // until the recorder has queued it again.
    void Deliver(unsigned char marker)
    {
        ASSERT_TRUE(PumpUntil(m_fake.queueFull, 60000));
        EnterCriticalSection(&m_fake.lock);
        WAVEHDR* h = m_fake.queued.front();
        m_fake.queued.pop_front();
        ResetEvent(m_fake.queueFull);
        LeaveCriticalSection(&m_fake.lock);
        memset(h->lpData, marker, h->dwBufferLength);
        h->dwBytesRecorded = h->dwBufferLength;
        HandBack(h);
        ASSERT_TRUE(PumpUntil(m_fake.queueFull, 60000)) << "the buffer went back to the device";
    }

    FakeSound m_fake;
    std::string m_folder;
};

TEST_F(RecorderSoundTest, FormatChoice)
{
    struct Case {
        const char* what;
        std::vector<WORD> suggestable;
        bool metricsFail;
        int flag;
        WORD tag;
        std::vector<WORD> asked;
    };
    const Case cases[] = {
        {"MPEG layer-3 first", {0x55, 2, 1}, false, 1, 0x55, {0x55}},
        {"no MPEG layer-3: ADPCM", {2, 1}, false, 1, 2, {0x55, 2}},
        {"PCM last", {1}, false, 1, 1, {0x55, 2, 1}},
        {"nothing suggested: the stream's own format", {}, false, 0, 0, {0x55, 2, 1}},
        {"no largest format size", {2}, true, 0, 0, {}},
    };
    for (const Case& c : cases) {
        CaptureRecorder recorder(FakePlatform());
        m_fake.suggestable = c.suggestable;
        m_fake.metricsFail = c.metricsFail;
        m_fake.suggested.clear();
        recorder.ChooseSoundFormat();
        EXPECT_EQ(recorder.CompressedFormatFlag(), c.flag) << c.what;
        if (c.flag) {
            EXPECT_EQ(recorder.CompressedFormat()->wFormatTag, c.tag) << c.what;
        }
        EXPECT_EQ(m_fake.suggested, c.asked) << c.what;
    }
}

TEST(RecorderSoundSystemTest, WineSuggestsAdpcm)
{
    CaptureRecorder recorder;
    recorder.ChooseSoundFormat();
    ASSERT_EQ(recorder.CompressedFormatFlag(), 1);
    EXPECT_EQ(recorder.CompressedFormat()->wFormatTag, WAVE_FORMAT_ADPCM) << "no MPEG layer-3 encoder here";
}

// The sound samples of a merged AVI: the '01wb' chunks of its 'movi' list.
std::vector<unsigned char> AudioOf(const std::string& path)
{
    std::vector<unsigned char> bytes;
    const RiffChunk root = ReadRiff(path, bytes);
    std::vector<unsigned char> audio;
    const RiffChunk* movi = root.FindList("movi");
    if (!movi)
        return audio;
    std::vector<const RiffChunk*> chunks;
    for (const RiffChunk& c : movi->children) {
        if (c.id == "LIST")
            for (const RiffChunk& r : c.children)
                chunks.push_back(&r);
        else
            chunks.push_back(&c);
    }
    for (const RiffChunk* c : chunks)
        if (c->id.substr(2) == "wb")
            audio.insert(audio.end(), bytes.begin() + c->dataOffset, bytes.begin() + c->dataOffset + c->size);
    return audio;
}

TEST_F(RecorderSoundTest, PausedSoundIsLeftOutOfTheMergedFile)
{
    m_fake.suggestable = {};   // uncompressed, so the samples can be read back
    CaptureRecorder recorder(FakePlatform());
    CallbackLog log;
    const std::string out = Path("sound-paused.avi");
    ASSERT_EQ(recorder.StartRecord(0, 0, 64, 48, 0, 1, out.c_str(), CallbackLog::Callback, &log), 1);
    Deliver(0x11);
    Deliver(0x11);
    recorder.PauseRecord(1);
    Deliver(0x22);
    recorder.PauseRecord(0);
    Deliver(0x33);
    recorder.StopRecord(0);
    ASSERT_TRUE(log.WaitFinal());
    ASSERT_TRUE(recorder.WaitForCaptureThread(60000));
    EXPECT_EQ(log.Codes(), std::vector<int>{0});
    EXPECT_FALSE(m_fake.open) << "the device was closed";
    EXPECT_FALSE(FileExists(recorder.TempVideoPath())) << "temporary files are deleted";
    EXPECT_FALSE(FileExists(recorder.TempSoundPath()));

    const std::vector<unsigned char> audio = AudioOf(out);
    std::vector<unsigned char> expected(8000, 0x11);
    expected.insert(expected.end(), 4000, 0x33);
    EXPECT_EQ(audio.size(), expected.size());
    EXPECT_TRUE(audio == expected) << "two buffers before the pause, one after, none from it";
    AppendManifest("file=sound-paused.avi width=64 height=48 colour=none window=0,0,0,0 cursor=0 cursor_at=0,0 "
                   "wall_ms=0 pause_ms=0 sound=1 audio_ms=136");   // 12000 bytes / 88200 B/s
}

TEST_F(RecorderSoundTest, StoppedBeforeAnyBufferCameBack)
{
    // A loaded machine may stop a recording before the device handed back a
    // single buffer. What the reset hands back was recorded before the stop
    // and is kept; with nothing at all there is nothing to merge, and the
    // video alone reaches the output (a merge of no sound used to fail: 16).
    m_fake.suggestable = {};
    // The stop may also come while the sound starts, before the first frame
    // of the loop: the recording still holds that frame and takes the sound.
    struct Case {
        const char* what;
        DWORD resetBytes;
        size_t audioBytes;
        bool stopAsTheSoundStarts;
    };
    const Case cases[] = {
        {"the reset hands back part-filled buffers", 1000, 3000, false},
        {"the reset hands back empty buffers", 0, 0, false},
        {"stopped as the sound starts, part-filled buffers", 1000, 3000, true},
        {"stopped as the sound starts, empty buffers", 0, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        m_fake.resetBytes = c.resetBytes;
        m_fake.queued.clear();
        ResetEvent(m_fake.queueFull);
        CaptureRecorder recorder(FakePlatform());
        m_fake.stopOnStart = c.stopAsTheSoundStarts ? &recorder : nullptr;
        CallbackLog log;
        const std::string out = Path("sound-at-stop.avi");
        DeleteFileA(out.c_str());
        ASSERT_EQ(recorder.StartRecord(0, 0, 64, 48, 0, 1, out.c_str(), CallbackLog::Callback, &log), 1);
        ASSERT_TRUE(PumpUntil(m_fake.queueFull, 60000)) << "three buffers queued";
        recorder.StopRecord(0);
        ASSERT_TRUE(log.WaitFinal());
        ASSERT_TRUE(recorder.WaitForCaptureThread(60000));
        EXPECT_EQ(log.Codes(), std::vector<int>{0});
        EXPECT_FALSE(m_fake.open);
        std::vector<unsigned char> bytes;
        EXPECT_EQ(ReadRiff(out, bytes).listType, "AVI ");
        EXPECT_EQ(AudioOf(out), std::vector<unsigned char>(c.audioBytes, 0x55));
        EXPECT_FALSE(FileExists(recorder.TempVideoPath()));
        EXPECT_FALSE(FileExists(recorder.TempSoundPath()));
        m_fake.stopOnStart = nullptr;
    }
}

TEST_F(RecorderSoundTest, CompressedSoundWithTheSystemsManager)
{
    RecorderPlatform platform = FakePlatform();
    platform.acmMetrics = SystemRecorderPlatform().acmMetrics;
    platform.acmFormatSuggest = SystemRecorderPlatform().acmFormatSuggest;
    CaptureRecorder recorder(platform);
    CallbackLog log;
    const std::string out = Path("sound-adpcm.avi");
    ASSERT_EQ(recorder.StartRecord(0, 0, 64, 48, 0, 1, out.c_str(), CallbackLog::Callback, &log), 1);
    for (int i = 0; i < 10; ++i)
        Deliver(static_cast<unsigned char>(i * 16));
    recorder.StopRecord(0);
    ASSERT_TRUE(log.WaitFinal());
    ASSERT_TRUE(recorder.WaitForCaptureThread(60000));
    EXPECT_EQ(log.Codes(), std::vector<int>{0});
    EXPECT_EQ(recorder.CompressedFormat()->wFormatTag, WAVE_FORMAT_ADPCM);
    // Wine's AVISave does not compress the sound, so the merge saves again with
    // the recorded PCM; every delivered byte is in the file. (Wine then writes
    // a stream length in chunks rather than samples, which ffprobe reads as
    // almost no sound: the bytes are checked here, not with ffprobe.)
    EXPECT_EQ(AudioOf(out).size(), 40000u);
}

TEST_F(RecorderSoundTest, SoundTroubleKeepsTheVideoAtTheOutputPath)
{
    struct Case {
        const char* what;
        bool capsFail;
        DWORD formats;
        bool openFails;
        int addFailsAfter;
        int code;
    };
    const Case cases[] = {
        {"caps query fails", true, WAVE_FORMAT_2S16, false, -1, kRecordSoundFormat},
        {"no 22 kHz 16-bit stereo", false, WAVE_FORMAT_1M08 | WAVE_FORMAT_4S16, false, -1, kRecordSoundFormat},
        {"the device does not open", false, WAVE_FORMAT_2S16, true, -1, kRecordSoundStart},
        {"only two buffers queue", false, WAVE_FORMAT_2S16, false, 2, kRecordSoundStart},
    };
    for (const Case& c : cases) {
        m_fake.capsFail = c.capsFail;
        m_fake.formats = c.formats;
        m_fake.openFails = c.openFails;
        m_fake.addFailsAfter = c.addFailsAfter;
        m_fake.added = 0;
        m_fake.queued.clear();
        CaptureRecorder recorder(FakePlatform());
        CallbackLog log;
        const std::string out = Path("sound-dropped.avi");
        DeleteFileA(out.c_str());
        ASSERT_EQ(recorder.StartRecord(0, 0, 64, 48, 0, 1, out.c_str(), CallbackLog::Callback, &log), 1) << c.what;
        recorder.StopRecord(0);
        ASSERT_TRUE(log.WaitFinal()) << c.what;
        ASSERT_TRUE(recorder.WaitForCaptureThread(60000)) << c.what;
        const auto entries = log.Entries();
        ASSERT_EQ(entries.size(), 2u) << c.what;
        EXPECT_EQ(entries[0].code, c.code) << c.what;
        EXPECT_NE(entries[0].thread, GetCurrentThreadId()) << c.what;
        EXPECT_EQ(entries[1].code, 0) << c.what;
        EXPECT_TRUE(FileExists(out)) << c.what << ": the video reaches the output path";
        EXPECT_FALSE(m_fake.open) << c.what;
        EXPECT_TRUE(m_fake.queued.empty()) << c.what << ": queued buffers came back";
        std::vector<unsigned char> bytes;
        const RiffChunk root = ReadRiff(out, bytes);
        EXPECT_EQ(root.listType, "AVI ") << c.what;
    }
}

TEST_F(RecorderSoundTest, FailedMergeKeepsTheVideo)
{
    m_fake.suggestable = {};
    CaptureRecorder recorder(FakePlatform());
    CallbackLog log;
    // The output folder does not exist: the merge fails and so does the copy,
    // so the temporary video is the one copy left.
    ASSERT_EQ(recorder.StartRecord(0, 0, 64, 48, 0, 1, "C:\\no\\such\\folder\\out.avi", CallbackLog::Callback, &log),
              1);
    Deliver(0x44);
    recorder.StopRecord(0);
    ASSERT_TRUE(log.WaitFinal());
    ASSERT_TRUE(recorder.WaitForCaptureThread(60000));
    EXPECT_EQ(log.Codes(), std::vector<int>{kRecordMergeFailed});
    EXPECT_TRUE(FileExists(recorder.TempVideoPath())) << recorder.TempVideoPath();
    EXPECT_FALSE(FileExists(recorder.TempSoundPath()));
    DeleteFileA(recorder.TempVideoPath());
}

TEST(MergeSoundTest, MissingInputs)
{
    const std::string folder = OutputFolder();
    ASSERT_FALSE(folder.empty());
    const std::string out = folder + "\\merge-out.avi";
    EXPECT_EQ(CaptureRecorder::MergeSound("C:\\missing.avi", "C:\\missing.wav", out.c_str(), 0, nullptr, 0, 1),
              kMergeVideoOpen);
    // A real video beside a missing sound file.
    const std::string video = folder + "\\merge-video.avi";
    {
        ASSERT_TRUE(InstallMsvcStandIn());
        CaptureRecorder recorder;
        CallbackLog log;
        ASSERT_EQ(recorder.StartRecord(0, 0, 64, 48, 0, 0, video.c_str(), CallbackLog::Callback, &log), 1);
        PumpFor(500);
        recorder.StopRecord(0);
        ASSERT_TRUE(log.WaitFinal());
        recorder.WaitForCaptureThread(60000);
    }
    EXPECT_EQ(CaptureRecorder::MergeSound(video.c_str(), "C:\\missing.wav", out.c_str(), 0, nullptr, 0, 1),
              kMergeSoundOpen);
    // A WAV file in the place of the video: no video stream.
    const std::string wav = folder + "\\merge-sound.wav";
    const WAVEFORMATEX format = RecordedFormat();
    {
        WaveFileWriter writer(wav.c_str(), &format);
        std::vector<char> buf(4000, 1);
        writer.Write(buf.data(), 4000);
    }
    EXPECT_EQ(CaptureRecorder::MergeSound(wav.c_str(), wav.c_str(), out.c_str(), 0, nullptr, 0, 1), kMergeVideoOpen);
    // The merge hands the video to the compressor it names.
    EXPECT_EQ(CaptureRecorder::MergeSound(video.c_str(), wav.c_str(), out.c_str(), 0, nullptr, 0, 1), kMergeOk);
    RemoveMsvcStandIn();
}

}  // namespace
