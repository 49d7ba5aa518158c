// The main road end to end: Mardavel.exe, started with a 14-argument launch
// command line, joins the table server stand-in, declares ready and plays a
// whole hand against the four bot seats. The test plays the own seat the way
// a user does, by pressing the table's buttons: start, the emperor and guard
// decisions, and in the play phase the hint and then the play button. The
// hand's end is saved automatically ("SaveAction" = 1); the saved game must
// pass the checking reader, run from the deal to the score, and its five
// scores must sum to zero.
//
// run_with_tableserver.sh starts the server and names its port in
// MARDAVEL_TABLESERVER_PORT. MARDAVEL_SHOTS_DIR, when set, receives two
// pictures of the window (in the middle of the hand and at the result).
#include "AppTestSupport.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <numeric>

#include "PegFile.h"
#include "TableRules.h"

namespace {

const char kGameKey[] = "Software\\Quorvintel\\Game\\Mardavel";
const char kSettingsKey[] = "Software\\Quorvintel\\Game\\Mardavel\\Settings";
const char kShareKey[] = "Software\\Quorvintel\\Game\\Share";
constexpr UINT kTableWindowId = 0xE900;
// A bound on the whole hand, so a hang fails the test instead of the run.
constexpr DWORD kHandDeadlineMs = 240000;

struct FindFrame {
    DWORD pid;
    HWND frame;
};

BOOL CALLBACK FindFrameOfProcess(HWND hWnd, LPARAM lParam)
{
    FindFrame* find = reinterpret_cast<FindFrame*>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    if (pid == find->pid && ::GetDlgItem(hWnd, kTableWindowId) != NULL) {
        find->frame = hWnd;
        return FALSE;
    }
    return TRUE;
}

bool Visible(HWND table, int id)
{
    HWND button = ::GetDlgItem(table, id);
    return button != NULL && ::IsWindowVisible(button);
}

bool Usable(HWND table, int id) { return Visible(table, id) && ::IsWindowEnabled(::GetDlgItem(table, id)); }

void Press(HWND table, int id) { ::PostMessageA(table, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

// The window's pixels from the screen as a 24-bit .bmp.
bool SaveWindowPicture(HWND hWnd, const std::string& path)
{
    RECT rect;
    if (!::GetWindowRect(hWnd, &rect))
        return false;
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    HDC screen = ::GetDC(NULL);
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = NULL;
    HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, w, h, screen, rect.left, rect.top, SRCCOPY);
    ::GdiFlush();
    const int stride = ((w * 3) + 3) & ~3;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info.bmiHeader);
    file.bfSize = file.bfOffBits + stride * h;
    bool ok = false;
    if (FILE* f = fopen(path.c_str(), "wb")) {
        ok = fwrite(&file, sizeof(file), 1, f) == 1 && fwrite(&info.bmiHeader, sizeof(info.bmiHeader), 1, f) == 1 &&
             fwrite(bits, stride * h, 1, f) == 1;
        fclose(f);
    }
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(NULL, screen);
    return ok;
}

bool HasLineStartingWith(const std::vector<std::string>& lines, const std::string& start, std::string* rest = nullptr)
{
    for (const std::string& line : lines)
        if (line.compare(0, start.size(), start) == 0) {
            if (rest != nullptr)
                *rest = line.substr(start.size());
            return true;
        }
    return false;
}

class ClientEndToEnd : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const char* port = getenv("MARDAVEL_TABLESERVER_PORT");
        ASSERT_NE(port, nullptr) << "no table server: run through run_with_tableserver.sh";
        m_port = port;
        game.SetString("Path", folder.Path());
        settings.SetDword("SaveAction", 1);
        settings.SetString("AutoSavePath", folder / "save");
        settings.SetDword("SoundEf", 0);
        share.SetString("Path", ProgramFolder());
    }

    std::vector<std::string> Log() { return SplitLines(ReadText(folder / "Mardavel.log")); }

    std::string m_port;
    ScratchFolder folder;
    ScopedRegistryKey game{kGameKey};
    ScopedRegistryKey settings{kSettingsKey};
    ScopedRegistryKey share{kShareKey};
};

}  // namespace

TEST_F(ClientEndToEnd, OneWholeHandIsPlayedSavedAndReadBack)
{
    const std::string line = "\"" + ProgramFolder() + "\\Mardavel.exe\" 1 alice Alice - 0 - 127.0.0.1 " + m_port +
                             " - - 0 - 0 0";
    std::vector<char> command(line.begin(), line.end());
    command.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(::CreateProcessA(NULL, command.data(), NULL, NULL, FALSE, 0, NULL, ProgramFolder().c_str(), &startup,
                                 &process));
    ::CloseHandle(process.hThread);

    const char* shots = getenv("MARDAVEL_SHOTS_DIR");
    const DWORD start = ::GetTickCount();
    HWND frame = NULL, table = NULL;
    bool pressedPlay = false, middleShot = false, resultShot = false, saved = false;
    int plays = 0;
    std::string savedPath;
    while (::GetTickCount() - start < kHandDeadlineMs) {
        if (::WaitForSingleObject(process.hProcess, 50) == WAIT_OBJECT_0)
            break;
        if (table == NULL) {
            FindFrame find = {process.dwProcessId, NULL};
            ::EnumWindows(FindFrameOfProcess, (LPARAM)&find);
            frame = find.frame;
            table = frame != NULL ? ::GetDlgItem(frame, kTableWindowId) : NULL;
            continue;
        }
        const std::vector<std::string> log = Log();
        if (HasLineStartingWith(log, "[PromptSave] saved ", &savedPath)) {
            saved = true;
            break;
        }
        if (!resultShot && HasLineStartingWith(log, "[OnHandResult]")) {
            resultShot = true;
            if (shots != nullptr)
                SaveWindowPicture(frame, std::string(shots) + "\\client-hand-result.bmp");
        }
        if (Usable(table, 200)) {
            Press(table, 200);
        } else if (Usable(table, 201)) {
            Press(table, 201);
        } else if (Usable(table, 202)) {
            Press(table, 202);
        } else if (Visible(table, 198)) {
            Press(table, 198);
        } else if (Visible(table, 204)) {
            Press(table, 204);
        } else if (Visible(table, 324)) {
            Press(table, 324);
        } else if (Visible(table, 206)) {
            if (!pressedPlay && Usable(table, 206)) {
                Press(table, 206);
                pressedPlay = true;
                if (++plays == 3 && !middleShot && shots != nullptr) {
                    middleShot = true;
                    SaveWindowPicture(frame, std::string(shots) + "\\client-hand-middle.bmp");
                }
            } else if (!Usable(table, 206) && Usable(table, 207)) {
                Press(table, 207);
                pressedPlay = false;
            }
            // The hint's selection arrives with the next look at the buttons.
            ::Sleep(0);
            continue;
        }
        pressedPlay = false;
        ::Sleep(0);
    }
    const std::vector<std::string> log = Log();
    ::TerminateProcess(process.hProcess, 0);
    ::WaitForSingleObject(process.hProcess, 10000);
    ::CloseHandle(process.hProcess);

    ASSERT_TRUE(saved) << ReadText(folder / "Mardavel.log");
    EXPECT_TRUE(HasLineStartingWith(log, "[InitInstance] table ready"));
    EXPECT_GT(plays, 0) << "the own seat played through the play button";

    const std::vector<uint8_t> bytes = ReadBytes(savedPath);
    peg::File file;
    ASSERT_EQ(peg::ReadFile(bytes.data(), bytes.size(), &file), peg::kReadOk) << savedPath;
    ASSERT_GE(file.entries.size(), 3u);
    EXPECT_EQ(file.entries.front().id, tablemsg::kDeal);
    EXPECT_EQ(file.entries.back().id, tablemsg::kHandResult);
    EXPECT_EQ(std::string(file.info.userNames[0]), "alice");
    EXPECT_EQ(file.info.seat, 0u);
    // The score message: the reply header (12 bytes), then five scores.
    const peg::Entry& score = file.entries.back();
    ASSERT_GE(score.length, 12u + 20u);
    int32_t scores[5];
    memcpy(scores, bytes.data() + score.offset + 12, sizeof(scores));
    EXPECT_EQ(std::accumulate(scores, scores + 5, 0), 0)
        << scores[0] << " " << scores[1] << " " << scores[2] << " " << scores[3] << " " << scores[4];
    size_t plays26005 = 0;
    for (const peg::Entry& entry : file.entries)
        plays26005 += entry.id == tablemsg::kPlay ? 1 : 0;
    EXPECT_GT(plays26005, 5u) << "the plays of the hand are in the record";
}
