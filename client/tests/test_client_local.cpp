// Mardavel.exe started without a launch record: the local game. The frame
// holds the table window and no chat pane, the recording library is the one
// of the program's folder (not one of the same name in the current folder),
// and a close ends the program at once with code 0.
#include "GameProcessSupport.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "TableDriver.h"

namespace {

using namespace gameprocess;

std::string Lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return (char)std::tolower(c); });
    return s;
}

// The full path of a module of the process, by file name; empty when absent.
std::string ModulePath(HANDLE process, const char* name)
{
    HMODULE modules[512];
    DWORD needed = 0;
    if (!::EnumProcessModules(process, modules, sizeof modules, &needed))
        return "";
    const DWORD count = std::min<DWORD>(needed / sizeof(HMODULE), 512);
    for (DWORD i = 0; i < count; i++) {
        char path[MAX_PATH] = "";
        if (::GetModuleFileNameExA(process, modules[i], path, MAX_PATH) == 0)
            continue;
        const std::string p = Lower(path);
        const std::string n = Lower(name);
        if (p.size() >= n.size() && p.compare(p.size() - n.size(), n.size(), n) == 0 &&
            (p.size() == n.size() || p[p.size() - n.size() - 1] == '\\'))
            return path;
    }
    return "";
}

class ClientLocal : public ::testing::Test
{
protected:
    void SetUp() override
    {
        game.SetString("Path", folder.Path());
        share.SetString("Path", ProgramFolder());
        const std::string from = ProgramFolder();
        ASSERT_TRUE(::CopyFileA((from + "\\mardavel_local_bk.bgd").c_str(),
                                (folder / "mardavel_local_bk.bgd").c_str(), FALSE));
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
        // A library of the recorder's name in the current folder: never the
        // one to load.
        ASSERT_TRUE(::CopyFileA((from + "\\Tallowend.dll").c_str(), (folder / "Vidrelle.dll").c_str(), FALSE));
    }

    ScratchFolder folder;
    ScopedRegistryKey game{kGameKey};
    ScopedRegistryKey share{kShareKey};
};

TEST_F(ClientLocal, FrameWithoutChatRecorderFromTheProgramFolderCloseEndsAtOnce)
{
    const std::string line = "\"" + ProgramFolder() + "\\Mardavel.exe\"";
    std::vector<char> command(line.begin(), line.end());
    command.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    // The current folder is the scratch folder with the decoy library.
    ASSERT_TRUE(::CreateProcessA(NULL, command.data(), NULL, NULL, FALSE, 0, NULL, folder.Path().c_str(), &startup,
                                 &process));
    ::CloseHandle(process.hThread);
    HWND frame = NULL;
    // The test's time-out (ctest) bounds a program that never shows its table.
    while (frame == NULL || !::IsWindowVisible(::GetDlgItem(frame, tabledriver::kTableWindowId))) {
        ASSERT_EQ(::WaitForSingleObject(process.hProcess, 50), (DWORD)WAIT_TIMEOUT)
            << "the program ended before its table showed:\n" << ReadText(folder / "Mardavel.log");
        frame = tabledriver::FindTableFrame(process.dwProcessId);
    }
    EXPECT_EQ(::GetDlgItem(frame, tabledriver::kChatPaneId), (HWND)NULL) << "no chat pane in the local game";
    const std::string recorder = ModulePath(process.hProcess, "Vidrelle.dll");
    EXPECT_EQ(Lower(recorder), Lower(ProgramFolder() + "\\Vidrelle.dll")) << "the recorder of the program's folder";

    ::PostMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(::WaitForSingleObject(process.hProcess, INFINITE), (DWORD)WAIT_OBJECT_0);
    DWORD code = 1;
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hProcess);
    EXPECT_EQ(code, 0u) << "without a connection a close needs no question";
}

}  // namespace
