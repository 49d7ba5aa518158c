// Leaving in the middle of a hand, end to end: Mardavel.exe joins the table
// server stand-in, plays its seat into the hand, and is closed. The leave
// question shows; handing the seat over asks the server for trust-play
// leave (0x21A), and the server's answer closes the program by itself.
//
// run_with_tableserver.sh starts the server and names its port in
// MARDAVEL_TABLESERVER_PORT.
#include "AppTestSupport.h"

#include <windows.h>

#include <string>
#include <vector>

#include "TableDriver.h"
#include "client_ids.h"

namespace {

const char kGameKey[] = "Software\\Quorvintel\\Game\\Mardavel";
const char kSettingsKey[] = "Software\\Quorvintel\\Game\\Mardavel\\Settings";
const char kShareKey[] = "Software\\Quorvintel\\Game\\Share";

bool HasLine(const std::vector<std::string>& lines, const std::string& start)
{
    for (const std::string& line : lines)
        if (line.compare(0, start.size(), start) == 0)
            return true;
    return false;
}

struct FindLeave {
    DWORD pid;
    HWND dialog;
};
BOOL CALLBACK FindLeaveDialog(HWND hWnd, LPARAM lParam)
{
    auto* find = reinterpret_cast<FindLeave*>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    if (pid == find->pid && ::IsWindowVisible(hWnd) && ::GetDlgItem(hWnd, IDC_TRUSTEXIT_LEAVE) != NULL) {
        find->dialog = hWnd;
        return FALSE;
    }
    return TRUE;
}

class ClientLeave : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const char* port = getenv("MARDAVEL_TABLESERVER_PORT");
        ASSERT_NE(port, nullptr) << "no table server: run through run_with_tableserver.sh";
        m_port = port;
        game.SetString("Path", folder.Path());
        settings.SetDword("SaveAction", 2);
        settings.SetDword("SoundEf", 0);
        share.SetString("Path", ProgramFolder());
        CopyGameLayout();
        m_chatControl = ::LoadLibraryA((ProgramFolder() + "\\QVChatEx.dll").c_str());
        ASSERT_NE(m_chatControl, nullptr) << "the chat control stand-in is missing";
        ASSERT_EQ(CallChatControl("DllRegisterServer"), S_OK);
    }
    void TearDown() override
    {
        if (m_chatControl != NULL) {
            CallChatControl("DllUnregisterServer");
            ::FreeLibrary(m_chatControl);
        }
    }

    void CopyGameLayout()
    {
        const std::string from = ProgramFolder();
        ASSERT_TRUE(::CopyFileA((from + "\\Mardavel_bk.bgd").c_str(), (folder / "Mardavel_bk.bgd").c_str(), FALSE));
        ::CreateDirectoryA((folder / "picture").c_str(), NULL);
        WIN32_FIND_DATAA found;
        HANDLE find = ::FindFirstFileA((from + "\\picture\\*.*").c_str(), &found);
        ASSERT_NE(find, INVALID_HANDLE_VALUE) << "the frame's pictures are missing";
        do {
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
                ASSERT_TRUE(::CopyFileA((from + "\\picture\\" + found.cFileName).c_str(),
                                        (folder / ("picture\\" + std::string(found.cFileName))).c_str(), FALSE));
            }
        } while (::FindNextFileA(find, &found));
        ::FindClose(find);
    }

    HRESULT CallChatControl(const char* entry)
    {
        typedef HRESULT(WINAPI * PFN_REGISTER)();
        PFN_REGISTER pfn = reinterpret_cast<PFN_REGISTER>(
            reinterpret_cast<void (*)()>(::GetProcAddress(m_chatControl, entry)));
        return pfn != NULL ? pfn() : E_NOTIMPL;
    }

    std::vector<std::string> Log() { return SplitLines(ReadText(folder / "Mardavel.log")); }

    std::string m_port;
    HMODULE m_chatControl = NULL;
    ScratchFolder folder;
    ScopedRegistryKey game{kGameKey};
    ScopedRegistryKey settings{kSettingsKey};
    ScopedRegistryKey share{kShareKey};
};

}  // namespace

TEST_F(ClientLeave, HandingTheSeatOverInAHandLeavesThroughTheServer)
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

    // Into the hand: the own seat plays once. The test's time-out (ctest)
    // bounds a hand that never comes.
    HWND frame = NULL;
    tabledriver::CSeatPlayer player;
    bool ended = false;
    while (player.Plays() < 1) {
        if (::WaitForSingleObject(process.hProcess, 50) == WAIT_OBJECT_0) {
            ended = true;
            break;
        }
        if (frame == NULL) {
            frame = tabledriver::FindTableFrame(process.dwProcessId);
            continue;
        }
        player.Step(::GetDlgItem(frame, tabledriver::kTableWindowId));
    }
    ASSERT_FALSE(ended) << "the program ended before its seat played: " << ReadText(folder / "Mardavel.log");

    // Closing asks; the question offers handing the seat over.
    ::PostMessageA(frame, WM_CLOSE, 0, 0);
    FindLeave find = {process.dwProcessId, NULL};
    while (find.dialog == NULL) {
        ASSERT_EQ(::WaitForSingleObject(process.hProcess, 50), (DWORD)WAIT_TIMEOUT)
            << "the program ended without asking: " << ReadText(folder / "Mardavel.log");
        ::EnumWindows(FindLeaveDialog, (LPARAM)&find);
    }
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(find.dialog, IDC_TRUSTEXIT_LEAVE)));
    ::PostMessageA(find.dialog, WM_COMMAND, MAKEWPARAM(IDC_TRUSTEXIT_LEAVE, BN_CLICKED),
                   (LPARAM)::GetDlgItem(find.dialog, IDC_TRUSTEXIT_LEAVE));

    // The server's answer closes the program.
    EXPECT_EQ(::WaitForSingleObject(process.hProcess, INFINITE), (DWORD)WAIT_OBJECT_0);
    DWORD code = 1;
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hProcess);
    const std::vector<std::string> log = Log();
    EXPECT_EQ(code, 0u) << ReadText(folder / "Mardavel.log");
    EXPECT_TRUE(HasLine(log, "[ConfirmLeave] hand over and leave")) << ReadText(folder / "Mardavel.log");
}
