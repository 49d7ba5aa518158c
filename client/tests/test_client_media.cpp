// Screenshots and video recordings of the running program: Mardavel.exe joins
// the table server stand-in and is sent the screenshot and recording commands
// (Ctrl+S and Ctrl+R) the way its accelerators send them.
//
// The screenshot is a JPEG of the whole frame in the configured "Snapshot"
// folder, named by the time to the millisecond, and the same picture is on
// the clipboard. The recording goes through the recording library
// (Vidrelle.dll) into the "VideoDir" folder; its end is reported by the
// recorder from its capture thread and must reach the frame on the frame's
// own thread. The recorder asks for the "MSVC" compressor, which Wine only
// has as a decoder: the test installs the recorder's test encoder as that
// codec for the run, the way a codec's set-up installs it, and puts back
// what was there.
//
// The video is read back here by its RIFF headers, and copied to
// bin/client-media-out for check_media_video.py, which reads it with ffprobe.
//
// run_with_tableserver.sh starts the server and names its port in
// MARDAVEL_TABLESERVER_PORT.
#include "GameProcessSupport.h"

#include <windows.h>
#include <gdiplus.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "RecorderCore.h"
#include "TableDriver.h"

namespace {

using namespace gameprocess;

constexpr UINT kScreenshotCommand = 32773;
constexpr UINT kRecordingCommand = 32772;
constexpr char kDriversKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Drivers32";
constexpr char kCodecValue[] = "vidc.MSVC";

// The test encoder installed as the system's "MSVC" video codec for the
// scope; the value it replaces is put back.
class ScopedCodecInstall
{
public:
    ScopedCodecInstall() = default;
    ScopedCodecInstall(const ScopedCodecInstall&) = delete;
    ScopedCodecInstall& operator=(const ScopedCodecInstall&) = delete;
    ~ScopedCodecInstall()
    {
        if (!m_installed)
            return;
        HKEY key;
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kDriversKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
            return;
        if (m_hadValue)
            ::RegSetValueExA(key, kCodecValue, 0, REG_SZ, (const BYTE*)m_previous.c_str(),
                             (DWORD)m_previous.size() + 1);
        else
            ::RegDeleteValueA(key, kCodecValue);
        ::RegCloseKey(key);
    }

    void Install()
    {
        const std::string library = ProgramFolder() + "\\MsvcTestCodec.dll";
        ASSERT_NE(::GetFileAttributesA(library.c_str()), INVALID_FILE_ATTRIBUTES) << "the test codec is missing";
        ASSERT_EQ(library.find(' '), std::string::npos) << "a codec path may not hold blanks: " << library;
        HKEY key;
        ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kDriversKey, 0, NULL, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                                    NULL, &key, NULL),
                  ERROR_SUCCESS);
        char previous[MAX_PATH] = "";
        DWORD size = sizeof(previous) - 1, type = 0;
        m_hadValue = ::RegQueryValueExA(key, kCodecValue, NULL, &type, (BYTE*)previous, &size) == ERROR_SUCCESS;
        m_previous = previous;
        const LONG set =
            ::RegSetValueExA(key, kCodecValue, 0, REG_SZ, (const BYTE*)library.c_str(), (DWORD)library.size() + 1);
        ::RegCloseKey(key);
        ASSERT_EQ(set, ERROR_SUCCESS);
        m_installed = true;
    }

private:
    bool m_installed = false;
    bool m_hadValue = false;
    std::string m_previous;
};

std::vector<std::string> FilesLike(const std::string& folder, const char* pattern)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE find = ::FindFirstFileA((folder + "\\" + pattern).c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            names.push_back(found.cFileName);
    } while (::FindNextFileA(find, &found));
    ::FindClose(find);
    return names;
}

bool HasLine(const std::vector<std::string>& lines, const std::string& line)
{
    for (const std::string& l : lines)
        if (l == line)
            return true;
    return false;
}

// The rest of the first line that starts with `start`, or false.
bool LineAfter(const std::vector<std::string>& lines, const std::string& start, std::string* rest)
{
    for (const std::string& l : lines)
        if (l.compare(0, start.size(), start) == 0) {
            *rest = l.substr(start.size());
            return true;
        }
    return false;
}

int CountLines(const std::vector<std::string>& lines, const std::string& line)
{
    int n = 0;
    for (const std::string& l : lines)
        n += l == line;
    return n;
}

// GDI+ for reading the JPEG back.
class GdiplusSession
{
public:
    GdiplusSession()
    {
        Gdiplus::GdiplusStartupInput input;
        m_ok = Gdiplus::GdiplusStartup(&m_token, &input, NULL) == Gdiplus::Ok;
    }
    ~GdiplusSession()
    {
        if (m_ok)
            Gdiplus::GdiplusShutdown(m_token);
    }
    bool Ok() const { return m_ok; }

private:
    ULONG_PTR m_token = 0;
    bool m_ok = false;
};

std::wstring Wide(const std::string& text)
{
    const int n = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, NULL, 0);
    std::wstring wide(n > 0 ? n : 1, L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], n);
    wide.resize(wcslen(wide.c_str()));
    return wide;
}

class ClientMedia : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const char* port = getenv("MARDAVEL_TABLESERVER_PORT");
        ASSERT_NE(port, nullptr) << "no table server: run through run_with_tableserver.sh";
        ASSERT_EQ(::GetACP(), 936u) << "the tests run with code page 936 (LANG=zh_CN.UTF-8)";
        m_port = port;
        game.SetString("Path", folder.Path());
        settings.SetDword("SaveAction", 2);
        settings.SetDword("SoundEf", 0);
        m_shots = folder / "shots";
        m_videos = folder / "videos";
        settings.SetString("Snapshot", m_shots);
        settings.SetString("VideoDir", m_videos);
        share.SetString("Path", ProgramFolder());
        CopyGameLayout(folder, "Mardavel_bk.bgd");
        chatControl.Register();
    }

    void TearDown() override
    {
        if (m_process.hProcess != NULL) {
            ::TerminateProcess(m_process.hProcess, 1);
            ::WaitForSingleObject(m_process.hProcess, INFINITE);
            ::CloseHandle(m_process.hProcess);
        }
    }

    // Starts the program and waits for its frame with the table window.
    void StartAndFindFrame()
    {
        ASSERT_TRUE(StartOnline(m_port, &m_process));
        while ((m_frame = tabledriver::FindTableFrame(m_process.dwProcessId)) == NULL ||
               !::IsWindowVisible(m_frame))
            ASSERT_EQ(::WaitForSingleObject(m_process.hProcess, 50), (DWORD)WAIT_TIMEOUT)
                << "the program ended before its frame showed: " << ReadText(folder / "Mardavel.log");
    }

    // Waits (the test's time-out bounds it) until the log holds a line
    // starting with `start`; its rest.
    std::string WaitForLogLine(const std::string& start)
    {
        std::string rest;
        while (!LineAfter(Log(), start, &rest)) {
            if (::WaitForSingleObject(m_process.hProcess, 50) != WAIT_TIMEOUT) {
                ADD_FAILURE() << "the program ended without \"" << start << "\": " << ReadText(folder / "Mardavel.log");
                return std::string();
            }
        }
        return rest;
    }

    void Command(UINT id)
    {
        DWORD_PTR result = 0;
        ASSERT_NE(::SendMessageTimeoutA(m_frame, WM_COMMAND, MAKEWPARAM(id, 0), 0, SMTO_NORMAL, INFINITE, &result),
                  0);
    }

    std::vector<std::string> Log() { return SplitLines(ReadText(folder / "Mardavel.log")); }

    std::string m_port;
    std::string m_shots;
    std::string m_videos;
    PROCESS_INFORMATION m_process = {};
    HWND m_frame = NULL;
    ScratchFolder folder;
    ScopedRegistryKey game{kGameKey};
    ScopedRegistryKey settings{kSettingsKey};
    ScopedRegistryKey share{kShareKey};
    ChatControlRegistration chatControl;
};

}  // namespace

TEST_F(ClientMedia, ScreenshotIsAJpegOfTheFrameAndOnTheClipboard)
{
    GdiplusSession gdiplus;
    ASSERT_TRUE(gdiplus.Ok());
    ASSERT_TRUE(::OpenClipboard(NULL));
    ::EmptyClipboard();
    ::CloseClipboard();

    StartAndFindFrame();
    RECT frame;
    ASSERT_TRUE(::GetWindowRect(m_frame, &frame));
    Command(kScreenshotCommand);

    // One picture, named by the time to the millisecond, in the configured folder.
    const std::vector<std::string> shots = FilesLike(m_shots, "*.jpg");
    ASSERT_EQ(shots.size(), 1u) << ReadText(folder / "Mardavel.log");
    int year, month, day, hour, minute, second, millisecond;
    char tail[8] = "";
    ASSERT_EQ(sscanf(shots[0].c_str(), "%4d年%2d月%2d日%2d时%2d分%2d秒%3d%4s", &year, &month, &day, &hour, &minute,
                     &second, &millisecond, tail),
              8)
        << shots[0];
    EXPECT_STREQ(tail, ".jpg");
    EXPECT_EQ(shots[0].size(), strlen("2026年12月11日07时15分42秒123.jpg")) << "two digits each, three for the ms";

    // The file is a JPEG of the frame's whole window.
    const std::string path = m_shots + "\\" + shots[0];
    Gdiplus::Bitmap picture(Wide(path).c_str());
    ASSERT_EQ(picture.GetLastStatus(), Gdiplus::Ok) << path;
    GUID format;
    ASSERT_EQ(picture.GetRawFormat(&format), Gdiplus::Ok);
    EXPECT_TRUE(IsEqualGUID(format, Gdiplus::ImageFormatJPEG));
    EXPECT_EQ((LONG)picture.GetWidth(), frame.right - frame.left);
    EXPECT_EQ((LONG)picture.GetHeight(), frame.bottom - frame.top);

    // The clipboard holds the same picture.
    ASSERT_TRUE(::OpenClipboard(NULL));
    HANDLE dib = ::GetClipboardData(CF_DIB);
    ASSERT_NE(dib, nullptr) << "no picture on the clipboard";
    const auto* header = static_cast<const BITMAPINFOHEADER*>(::GlobalLock(dib));
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->biWidth, frame.right - frame.left);
    EXPECT_EQ(std::abs(header->biHeight), frame.bottom - frame.top);
    ::GlobalUnlock(dib);
    ::CloseClipboard();

    // The chat's line names the file.
    EXPECT_TRUE(HasLine(Log(), "[ShowSystemLine] 您成功截图，截图文件保存在：" + path + "。"))
        << ReadText(folder / "Mardavel.log");
}

TEST_F(ClientMedia, RecordingStartedAndStoppedFromTheFrame)
{
    ScopedCodecInstall codec;
    codec.Install();
    if (HasFatalFailure())
        return;
    StartAndFindFrame();
    RECT frame;
    ASSERT_TRUE(::GetWindowRect(m_frame, &frame));

    // Started: the line, the button's recording look, and a file.
    Command(kRecordingCommand);
    std::vector<std::string> log = Log();
    ASSERT_TRUE(HasLine(log, "[ShowSystemLine] 您启动游戏录像成功，再次点击结束录像")) << ReadText(folder / "Mardavel.log");
    EXPECT_TRUE(HasLine(log, "[SetRecordingLook] recording"));
    std::vector<std::string> videos;
    while ((videos = FilesLike(m_videos, "*.avi")).empty())
        ASSERT_EQ(::WaitForSingleObject(m_process.hProcess, 50), (DWORD)WAIT_TIMEOUT);
    ASSERT_EQ(videos.size(), 1u);
    EXPECT_EQ(videos[0].size(), strlen("20261211071542001.avi"));
    EXPECT_EQ(videos[0].substr(14), "001.avi");
    const std::string path = m_videos + "\\" + videos[0];

    // Stopped by the second press: the look goes back at once; the
    // recorder's report arrives later, from its capture thread, and is
    // handled on the frame's thread.
    Command(kRecordingCommand);
    EXPECT_TRUE(HasLine(Log(), "[SetRecordingLook] normal"));
    const std::string done = WaitForLogLine("[OnRecordDone] code ");
    const DWORD frameThread = ::GetWindowThreadProcessId(m_frame, NULL);
    EXPECT_EQ(done, "0 thread " + std::to_string(frameThread)) << "the report reached another thread";
    log = Log();
    EXPECT_TRUE(HasLine(log, "[ShowSystemLine] 本盘游戏录像已完成,录像保存在" + path)) << ReadText(folder / "Mardavel.log");
    EXPECT_EQ(CountLines(log, "[SetRecordingLook] recording"), 1);
    EXPECT_EQ(CountLines(log, "[SetRecordingLook] normal"), 1);

    // The file: an AVI of the frame's rectangle (clamped to the screen) in
    // the compressor's format, with at least one frame.
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    vidrelle::RiffChunk root;
    std::string error;
    ASSERT_TRUE(vidrelle::ParseRiff(bytes.data(), bytes.size(), root, error)) << error;
    EXPECT_EQ(root.listType, "AVI ");
    const vidrelle::RiffChunk* hdrl = root.FindList("hdrl");
    ASSERT_NE(hdrl, nullptr);
    const vidrelle::RiffChunk* avih = hdrl->Find("avih");
    ASSERT_NE(avih, nullptr);
    ASSERT_GE(avih->size, 40u);
    vidrelle::CaptureRect expected = {frame.left, frame.top, frame.right, frame.bottom};
    ASSERT_TRUE(vidrelle::ClampCaptureRect(expected, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)));
    const uint8_t* h = bytes.data() + avih->dataOffset;
    EXPECT_GE(vidrelle::ReadU32(h + 16), 1u) << "total frames";
    EXPECT_EQ((int32_t)vidrelle::ReadU32(h + 32), expected.right - expected.left);
    EXPECT_EQ((int32_t)vidrelle::ReadU32(h + 36), expected.bottom - expected.top);
    const vidrelle::RiffChunk* strl = hdrl->FindList("strl");
    ASSERT_NE(strl, nullptr);
    const vidrelle::RiffChunk* strh = strl->Find("strh");
    ASSERT_NE(strh, nullptr);
    EXPECT_EQ(std::string((const char*)bytes.data() + strh->dataOffset, 4), "vids");
    const vidrelle::RiffChunk* movi = root.FindList("movi");
    ASSERT_NE(movi, nullptr);
    EXPECT_FALSE(movi->children.empty()) << "no frame written";

    // For the ffprobe check: the file and what it must hold.
    const std::string out = ProgramFolder() + "\\client-media-out";
    ::CreateDirectoryA(out.c_str(), NULL);
    ASSERT_TRUE(::CopyFileA(path.c_str(), (out + "\\recording.avi").c_str(), FALSE));
    std::ofstream expect(out + "\\expected.txt");
    expect << (expected.right - expected.left) << " " << (expected.bottom - expected.top) << "\n";
}
