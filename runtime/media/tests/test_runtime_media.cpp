// Music and sounds: WAVE loading into DirectSound buffers (a recording
// DirectSound in place of the system's), overlapping plays, the failure of
// DirectSound, the music-player library's binding against its stand-in, and
// the background-music program's commands.
#include <gtest/gtest.h>

#include "FakeDirectSound.h"
#include "media/MusicPlayerDll.h"
#include "media/MusicProcessClient.h"
#include "media/WaveSound.h"
#include "app/ClientServices.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// ---- WAVE files built here ------------------------------------------------------------

void PutU16(std::vector<uint8_t>& v, unsigned x) { v.push_back((uint8_t)x); v.push_back((uint8_t)(x >> 8)); }
void PutU32(std::vector<uint8_t>& v, uint32_t x) { PutU16(v, x & 0xFFFF); PutU16(v, x >> 16); }
void PutId(std::vector<uint8_t>& v, const char* id) { v.insert(v.end(), id, id + 4); }

// RIFF/WAVE with a 'fmt ' chunk of fmtSize bytes (16 or 18 for PCM: tag,
// channels, rate, byte rate, block, bits, [extra size]) and a 'data' chunk
// whose header claims dataClaim bytes while data holds the real ones.
std::vector<uint8_t> MakeWave(unsigned tag, uint32_t fmtSize, const std::vector<uint8_t>& data, uint32_t dataClaim,
                              unsigned channels = 1)
{
    std::vector<uint8_t> fmt;
    PutU16(fmt, tag);
    PutU16(fmt, channels);
    PutU32(fmt, 8000);
    PutU32(fmt, 8000 * channels);
    PutU16(fmt, channels);
    PutU16(fmt, 8);
    PutU16(fmt, 22);                         // an extra size a PCM format must not keep
    fmt.resize(fmtSize, 0);
    std::vector<uint8_t> body;
    PutId(body, "WAVE");
    PutId(body, "fmt ");
    PutU32(body, fmtSize);
    body.insert(body.end(), fmt.begin(), fmt.end());
    if (fmtSize & 1)
        body.push_back(0);
    PutId(body, "data");
    PutU32(body, dataClaim);
    body.insert(body.end(), data.begin(), data.end());
    std::vector<uint8_t> file;
    PutId(file, "RIFF");
    PutU32(file, (uint32_t)body.size());
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

std::vector<uint8_t> Samples(size_t n)
{
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; i++)
        v[i] = (uint8_t)(i * 7 + 3);
    return v;
}

std::string WriteTemp(const std::vector<uint8_t>& bytes, const char* name)
{
    char dir[MAX_PATH];
    ::GetTempPathA(MAX_PATH, dir);
    std::string path = std::string(dir) + "mardavel_media_" + name;
    FILE* f = fopen(path.c_str(), "wb");
    if (f != NULL) {
        fwrite(bytes.data(), 1, bytes.size(), f);
        fclose(f);
    }
    return path;
}

// ---- The DirectSound in use -------------------------------------------------------------

FakeDirectSound* g_pFake = NULL;
HRESULT g_createResult = S_OK;

HRESULT WINAPI FakeCreate(LPCGUID, LPDIRECTSOUND* ppDS, LPUNKNOWN)
{
    if (FAILED(g_createResult)) {
        *ppDS = NULL;
        return g_createResult;
    }
    *ppDS = g_pFake;
    return S_OK;
}

class WaveSoundTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_pFake = &m_fake;
        g_createResult = S_OK;
        m_old = SetDirectSoundCreateRoutine(FakeCreate);
    }
    void TearDown() override { SetDirectSoundCreateRoutine(m_old); }
    FakeDirectSound m_fake;
    DirectSoundCreateRoutine m_old = NULL;
};

} // namespace

TEST(WaveFormat, ChunksByTheirOwnSize)
{
    struct Case
    {
        const char* what;
        unsigned tag;
        uint32_t size;
        unsigned channels;
        WaveFormatResult expected;
    };
    const Case cases[] = {
        {"plain PCM, 16 bytes", 1, 16, 1, kWaveFormatOk},
        {"PCM with the extra size field", 1, 18, 2, kWaveFormatOk},
        {"PCM with a longer chunk", 1, 40, 1, kWaveFormatOk},
        {"IEEE float", 3, 18, 1, kWaveFormatNotPcm},
        {"ADPCM", 2, 50, 1, kWaveFormatNotPcm},
        {"fmt chunk of 14 bytes", 1, 14, 1, kWaveFormatShort},
        {"empty fmt chunk", 1, 0, 1, kWaveFormatShort},
        {"no channels", 1, 16, 0, kWaveFormatBadValues},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> fmt;
        PutU16(fmt, c.tag);
        PutU16(fmt, c.channels);
        PutU32(fmt, 8000);
        PutU32(fmt, 8000);
        PutU16(fmt, c.channels);
        PutU16(fmt, 8);
        PutU16(fmt, 22);
        fmt.resize(c.size < 18 ? 18 : c.size, 0);
        WAVEFORMATEX format;
        EXPECT_EQ(ReadWaveFormat(fmt.data(), c.size, &format), c.expected) << c.what;
        if (c.expected == kWaveFormatOk) {
            EXPECT_EQ(format.nChannels, c.channels) << c.what;
            EXPECT_EQ(format.nSamplesPerSec, 8000u) << c.what;
            EXPECT_EQ(format.cbSize, 0) << c.what;
        }
    }
}

// A PCM file fills one buffer (flags: volume, pan and frequency control)
// with its data and makes eight duplicates.
TEST_F(WaveSoundTest, PcmFileFillsThePrimaryBufferAndEightDuplicates)
{
    const std::vector<uint8_t> samples = Samples(1001);
    for (uint32_t fmtSize : {16u, 18u}) {
        FakeDirectSound fake;
        g_pFake = &fake;
        CWaveSound sound;
        ASSERT_FALSE(sound.HasFailed());
        std::string path = WriteTemp(MakeWave(1, fmtSize, samples, (uint32_t)samples.size()), "pcm.wav");
        ASSERT_TRUE(sound.LoadFile(path.c_str())) << fmtSize;
        ASSERT_EQ(fake.descriptions.size(), 1u);
        EXPECT_EQ(fake.descriptions[0].dwSize, sizeof(DSBUFFERDESC));
        EXPECT_EQ(fake.descriptions[0].dwFlags, 0xE0u);
        EXPECT_EQ(fake.descriptions[0].dwBufferBytes, 1001u);
        EXPECT_EQ(fake.formats[0].wFormatTag, WAVE_FORMAT_PCM);
        EXPECT_EQ(fake.formats[0].cbSize, 0);
        EXPECT_EQ(fake.data, samples) << "both locked parts filled, fmt chunk of " << fmtSize;
        EXPECT_EQ(fake.buffers.size(), 9u);
        ::DeleteFileA(path.c_str());
    }
#ifndef _WIN64
    static_assert(sizeof(DSBUFFERDESC) == 36, "the buffer description is 36 bytes on the shipped build");
#endif
}

TEST_F(WaveSoundTest, BadFilesMakeNoBuffer)
{
    const std::vector<uint8_t> samples = Samples(64);
    struct Case
    {
        const char* what;
        std::vector<uint8_t> bytes;
    };
    const Case cases[] = {
        {"not PCM", MakeWave(3, 18, samples, 64)},
        {"short fmt chunk", MakeWave(1, 12, samples, 64)},
        {"data chunk longer than the file", MakeWave(1, 16, samples, 0x7FFFFFF0)},
        {"empty data chunk", MakeWave(1, 16, {}, 0)},
        {"not a RIFF file", std::vector<uint8_t>(100, 'x')},
    };
    for (const Case& c : cases) {
        FakeDirectSound fake;
        g_pFake = &fake;
        CWaveSound sound;
        std::string path = WriteTemp(c.bytes, "bad.wav");
        EXPECT_FALSE(sound.LoadFile(path.c_str())) << c.what;
        EXPECT_TRUE(fake.descriptions.empty()) << c.what;
        EXPECT_FALSE(sound.Play()) << c.what;
        ::DeleteFileA(path.c_str());
    }
    CWaveSound missing;
    EXPECT_FALSE(missing.LoadFile("C:\\no such folder\\none.wav"));
}

// Nine plays overlap (the primary buffer, then each duplicate); a tenth while
// all play starts nothing. Stop stops each and rewinds it.
TEST_F(WaveSoundTest, NinePlaysOverlapAndATenthStartsNothing)
{
    CWaveSound sound;
    std::string path = WriteTemp(MakeWave(1, 16, Samples(100), 100), "play.wav");
    ASSERT_TRUE(sound.LoadFile(path.c_str()));
    ::DeleteFileA(path.c_str());
    for (int i = 0; i < 9; i++) {
        EXPECT_TRUE(sound.Play(i == 0 ? DSBPLAY_LOOPING : 0)) << i;
        EXPECT_TRUE(m_fake.buffers[(size_t)i]->playing) << i;
    }
    EXPECT_EQ(m_fake.buffers[0]->playFlags, (DWORD)DSBPLAY_LOOPING);
    EXPECT_FALSE(sound.Play());
    m_fake.buffers[4]->playing = false;     // the fifth duplicate ends
    EXPECT_TRUE(sound.Play());
    EXPECT_TRUE(m_fake.buffers[4]->playing);
    sound.Stop();
    for (FakeBuffer* p : m_fake.buffers) {
        EXPECT_FALSE(p->playing);
        EXPECT_EQ(p->position, 0u);
    }
    HANDLE hEvent = ::CreateEventA(NULL, FALSE, FALSE, NULL);
    EXPECT_TRUE(sound.SetNotify(hEvent, 50));
    ASSERT_EQ(m_fake.buffers[0]->notifications.size(), 1u);
    EXPECT_EQ(m_fake.buffers[0]->notifications[0].dwOffset, 50u);
    EXPECT_EQ(m_fake.buffers[0]->notifications[0].hEventNotify, hEvent);
    ::CloseHandle(hEvent);
}

// Without a main window the cooperation level is refused and the sound
// notes it; the program goes on.
TEST_F(WaveSoundTest, NoMainWindowIsNoted)
{
    CWaveSound sound;
    EXPECT_FALSE(sound.HasWindow());
    EXPECT_EQ(m_fake.cooperativeLevel, (DWORD)DSSCL_NORMAL);
    EXPECT_FALSE(sound.CheckMainWindow());
}

// DirectSound that cannot be made: the failed flag is set, loads fail and
// plays do nothing.
TEST_F(WaveSoundTest, NoDirectSoundFailsLoadsQuietly)
{
    g_createResult = DSERR_NODRIVER;
    CWaveSound sound;
    EXPECT_TRUE(sound.HasFailed());
    EXPECT_FALSE(sound.HasWindow());
    std::string path = WriteTemp(MakeWave(1, 16, Samples(10), 10), "nods.wav");
    EXPECT_FALSE(sound.LoadFile(path.c_str()));
    EXPECT_FALSE(sound.LoadResource("NONE"));
    EXPECT_FALSE(sound.Play());
    sound.Stop();
    ::DeleteFileA(path.c_str());

    // The system's own DirectSound (this machine has no sound device): either
    // it fails and loads fail, or it works and the file loads.
    SetDirectSoundCreateRoutine(NULL);
    CWaveSound real;
    std::string realPath = WriteTemp(MakeWave(1, 16, Samples(800), 800), "real.wav");
    EXPECT_EQ(real.LoadFile(realPath.c_str()), !real.HasFailed());
    ::DeleteFileA(realPath.c_str());
}

// ---- The music-player library ----------------------------------------------------------

namespace {

std::string MusicLog()
{
    HMODULE h = ::GetModuleHandleA("VIREVez.dll");
    if (h == NULL)
        return "<not loaded>";
    typedef int(WINAPI * PFN_READ)(char*, int);
    typedef void(WINAPI * PFN_CLEAR)();
    PFN_READ pfnRead = reinterpret_cast<PFN_READ>(reinterpret_cast<void (*)()>(::GetProcAddress(h, "VIREVezReadLog")));
    PFN_CLEAR pfnClear = reinterpret_cast<PFN_CLEAR>(reinterpret_cast<void (*)()>(::GetProcAddress(h, "VIREVezClearLog")));
    std::string s(4096, '\0');
    int n = pfnRead(&s[0], (int)s.size());
    s.resize((size_t)(n < 4095 ? n : 4095));
    pfnClear();
    return s;
}

} // namespace

TEST(MusicPlayerDll, ForwardsToTheLibraryWithVolumesModulo100)
{
    CMusicPlayerDll music;
    ASSERT_EQ(music.Load(), 1);
    MusicLog();
    EXPECT_EQ(music.IsValid(), 1);
    music.SetVolume(100);
    music.SetVolume(150);
    music.SetVolume(42);
    music.SetVolume(-30);
    music.SetVolumeF("bgm", 250);
    music.SetVolumeD(7, 99);
    EXPECT_EQ(music.PlayFile("table.mid", 3), 1);
    music.StopPlayName("table.mid");
    music.StopPlayID(4);
    EXPECT_EQ(music.DeleteMusic(5), 1);
    music.SetMute(1);
    EXPECT_EQ(music.GetMute(), 1);
    EXPECT_EQ(music.CloseAll(), 1);
    EXPECT_EQ(MusicLog(), "IsValid\nSetVolume 0\nSetVolume 50\nSetVolume 42\nSetVolume 70\nSetVolumeF bgm 50\n"
                          "SetVolumeD 7 99\nPlayFile table.mid 3\nStopPlayName table.mid\nStopPlayID 4\n"
                          "DeleteMusic 5\nSetMute 1\nGetMute\nCloseAll\n");

    // A name longer than a path is handed on cut to 259 bytes.
    const std::string longName(400, 'n');
    music.PlayFile(longName.c_str(), 0);
    EXPECT_EQ(MusicLog(), "PlayFile " + std::string(259, 'n') + " 0\n");
}

TEST(MusicPlayerDll, MissingLibraryOrEntriesAnswerZero)
{
    const char* libraries[] = {"no_such_music_library.dll", "people.dll"};
    for (const char* library : libraries) {
        CMusicPlayerDll music;
        EXPECT_EQ(music.Load(library), 0) << library;
        EXPECT_EQ(music.IsValid(), 0) << library;
        EXPECT_EQ(music.PlayFile("x", 1), 0) << library;
        EXPECT_EQ(music.CloseAll(), 0) << library;
        EXPECT_EQ(music.DeleteMusic(1), 0) << library;
        EXPECT_EQ(music.GetMute(), 0) << library;
        music.SetVolume(10);
        music.StopPlayName("x");
        music.StopPlayID(1);
        music.SetVolumeF("x", 1);
        music.SetVolumeD(1, 1);
    }
    CMusicPlayerDll unbound;
    EXPECT_EQ(unbound.IsValid(), 0);
    EXPECT_EQ(unbound.PlayFile("x", 1), 0);
}

// ---- The background-music program ------------------------------------------------------

TEST(MusicCommand, RecordsByCommand)
{
    const HWND hSender = (HWND)(UINT_PTR)0x1234;
    struct Case
    {
        const char* what;
        UINT code;
        const char* text;
        BOOL hasText;
        ULONG_PTR dwData;
        DWORD cbData;
    };
    const std::string longText(300, 't');
    const Case cases[] = {
        {"A: a, b", 0 | 1, "x.mid", TRUE, (1u << 16) | 1, 4 + 5 + 1},
        {"A: a, not b", 16 | 1, "x.mid", TRUE, (17u << 16) | 1, 10},
        {"A: neither", 16, "", TRUE, (16u << 16) | 1, 5},
        {"B", 2, "y", TRUE, (2u << 16) | 1, 6},
        {"C: no text", 8, NULL, FALSE, 8u << 16, 4},
        {"D, text over 255 bytes", 6, longText.c_str(), TRUE, (6u << 16) | 1, 4 + 255 + 1},
    };
    for (const Case& c : cases) {
        MusicCommandRecord record;
        COPYDATASTRUCT data;
        CMusicProcessClient::BuildCommand(c.code, c.text, c.hasText, hSender, &record, &data);
        EXPECT_EQ(data.dwData, c.dwData) << c.what;
        EXPECT_EQ(data.cbData, c.cbData) << c.what;
        EXPECT_EQ(data.lpData, &record) << c.what;
        EXPECT_EQ(record.hwndSender, 0x1234u) << c.what;
        EXPECT_EQ(record.text[255], '\0') << c.what;
        if (c.hasText) {
            EXPECT_EQ(std::string(record.text), std::string(c.text).substr(0, 255)) << c.what;
        }
    }
}

namespace {

struct Received
{
    ULONG_PTR dwData;
    DWORD cbData;
    std::vector<uint8_t> bytes;
};
std::vector<Received> g_received;

LRESULT CALLBACK ReceiverProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    if (nMsg == WM_COPYDATA) {
        const COPYDATASTRUCT* p = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        const uint8_t* b = static_cast<const uint8_t*>(p->lpData);
        g_received.push_back({p->dwData, p->cbData, std::vector<uint8_t>(b, b + p->cbData)});
        return TRUE;
    }
    return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
}

} // namespace

// Commands reach a window titled "REVaved" as WM_COPYDATA, sent at once.
TEST(MusicProcessClient, CommandsReachTheMusicWindow)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ReceiverProc;
    wc.hInstance = ::GetModuleHandleA(NULL);
    wc.lpszClassName = "MardavelTestMusicReceiver";
    ::RegisterClassA(&wc);
    HWND hReceiver = ::CreateWindowExA(0, wc.lpszClassName, "REVaved", WS_POPUP, 0, 0, 10, 10, NULL, NULL,
                                       wc.hInstance, NULL);
    ASSERT_NE(hReceiver, (HWND)NULL);
    g_received.clear();
    CMusicProcessClient client = {NULL, NULL};
    client.CommandC((HWND)(UINT_PTR)0x5678);
    client.CommandA("game.mid", TRUE, FALSE, (HWND)(UINT_PTR)0x5678);
    EXPECT_EQ(client.m_hMusic, hReceiver);
    ASSERT_EQ(g_received.size(), 2u);
    EXPECT_EQ(g_received[0].dwData, (ULONG_PTR)0x80000);
    EXPECT_EQ(g_received[0].bytes, (std::vector<uint8_t>{0x78, 0x56, 0, 0}));
    EXPECT_EQ(g_received[1].dwData, (ULONG_PTR)((17u << 16) | 1));
    EXPECT_EQ(std::string((const char*)g_received[1].bytes.data() + 4), "game.mid");
    ::DestroyWindow(hReceiver);

    // The window is gone: the next command looks again and, without the
    // window, the program or a way to start it, is dropped.
    g_received.clear();
    client.CommandB("again");
    EXPECT_TRUE(g_received.empty());
}

// The stand-in program: started here, it shows its window, logs the command
// and ends on the tests' own quit command.
TEST(MusicProcessClient, StandInProgramLogsTheCommand)
{
    char dir[MAX_PATH];
    ::GetTempPathA(MAX_PATH, dir);
    std::string folder = std::string(dir) + "mardavel_revaved";
    ::CreateDirectoryA(folder.c_str(), NULL);
    std::string log = folder + "\\REVaved.log";
    ::DeleteFileA(log.c_str());
    char exe[MAX_PATH];
    ::GetModuleFileNameA(NULL, exe, MAX_PATH);
    std::string program = std::string(exe).substr(0, std::string(exe).rfind('\\')) + "\\REVaved.exe";

    HANDLE hReady = ::CreateEventA(NULL, TRUE, FALSE, "REVavedReady");
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    std::string command = "\"" + program + "\"";
    ASSERT_TRUE(::CreateProcessA(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, folder.c_str(), &si, &pi)) << program;
    ASSERT_EQ(::WaitForSingleObject(hReady, INFINITE), WAIT_OBJECT_0);
    ::CloseHandle(hReady);

    CMusicProcessClient client = {NULL, NULL};
    client.CommandD("night.mid", (HWND)(UINT_PTR)0xABCD);
    ASSERT_NE(client.m_hMusic, (HWND)NULL);
    MusicCommandRecord record;
    COPYDATASTRUCT quit;
    CMusicProcessClient::BuildCommand(0x7FFF, NULL, FALSE, NULL, &record, &quit);
    ::SendMessageA(client.m_hMusic, WM_COPYDATA, 0, (LPARAM)&quit);
    ASSERT_EQ(::WaitForSingleObject(pi.hProcess, INFINITE), WAIT_OBJECT_0);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);

    FILE* f = fopen(log.c_str(), "r");
    ASSERT_NE(f, nullptr);
    char line[512] = "";
    fgets(line, sizeof(line), f);
    fclose(f);
    EXPECT_STREQ(line, "code=6 text=1 bytes=14 sender=0000abcd night.mid\n");
    ::DeleteFileA(log.c_str());
    ::RemoveDirectoryA(folder.c_str());
}

// The sound player loads the music library on first use and forwards while
// the binding is valid.
TEST(SoundPlayerMusic, LoadsTheLibraryOnFirstUseAndForwards)
{
    CSoundPlayer player;
    player.SetMusicVolume(150);
    EXPECT_EQ(MusicLog(), "Init\nIsValid\nSetVolume 50\n");
    EXPECT_EQ(player.PlayMusicFile("hall.mid", 2), 1);
    EXPECT_EQ(MusicLog(), "IsValid\nPlayFile hall.mid 2\n");
}

// Sounds cached by resource: one sound per resource, kept when it cannot
// load; with sound off nothing is made.
TEST_F(WaveSoundTest, CachedSoundsAreMadeOncePerResource)
{
    CSoundPlayer player;
    EXPECT_FALSE(player.PlayCachedSound(4711));
    EXPECT_FALSE(player.PlayCachedSound(4711));
    EXPECT_EQ(player.GetCachedSoundCount(), 1);
    player.EnableSound(FALSE);
    EXPECT_FALSE(player.PlayCachedSound(4712));
    EXPECT_EQ(player.GetCachedSoundCount(), 1);
}
