// What the tests that start Mardavel.exe as a process share: the program's
// registry keys, the game's folder filled with the frame's layout, the
// platform's chat control registered for the test's run, and the online
// launch command line.
#pragma once

#include "AppTestSupport.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace gameprocess {

constexpr char kGameKey[] = "Software\\Quorvintel\\Game\\Mardavel";
constexpr char kSettingsKey[] = "Software\\Quorvintel\\Game\\Mardavel\\Settings";
constexpr char kShareKey[] = "Software\\Quorvintel\\Game\\Share";

// Copies the frame's layout file `layout` and its pictures from the program's
// folder into the game's folder (the "Path" value points there).
inline void CopyGameLayout(const ScratchFolder& folder, const char* layout)
{
    const std::string from = ProgramFolder();
    ASSERT_TRUE(::CopyFileA((from + "\\" + layout).c_str(), (folder / layout).c_str(), FALSE));
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

// The chat and avatar control stand-ins of the build tree (the chat pane and
// the seats' portraits), registered the way the platform's set-up registers
// the real ones, and unregistered at the end.
class ChatControlRegistration
{
public:
    ChatControlRegistration() = default;
    ChatControlRegistration(const ChatControlRegistration&) = delete;
    ChatControlRegistration& operator=(const ChatControlRegistration&) = delete;
    ~ChatControlRegistration()
    {
        for (HMODULE& module : m_modules) {
            if (module != NULL) {
                Call(module, "DllUnregisterServer");
                ::FreeLibrary(module);
            }
            module = NULL;
        }
    }

    void Register()
    {
        const char* const names[2] = {"QVChatEx.dll", "QVAvatar.dll"};
        for (int i = 0; i < 2; i++) {
            m_modules[i] = ::LoadLibraryA((ProgramFolder() + "\\" + names[i]).c_str());
            ASSERT_NE(m_modules[i], nullptr) << "the control stand-in is missing: " << names[i];
            ASSERT_EQ(Call(m_modules[i], "DllRegisterServer"), S_OK) << names[i];
        }
    }

private:
    static HRESULT Call(HMODULE module, const char* entry)
    {
        typedef HRESULT(WINAPI * PFN_REGISTER)();
        PFN_REGISTER pfn =
            reinterpret_cast<PFN_REGISTER>(reinterpret_cast<void (*)()>(::GetProcAddress(module, entry)));
        return pfn != NULL ? pfn() : E_NOTIMPL;
    }

    HMODULE m_modules[2] = {NULL, NULL};
};

// Starts Mardavel.exe with the 14-argument launch command line of user alice
// joining the server at 127.0.0.1:port.
inline bool StartOnline(const std::string& port, PROCESS_INFORMATION* process)
{
    const std::string line = "\"" + ProgramFolder() + "\\Mardavel.exe\" 1 alice Alice - 0 - 127.0.0.1 " + port +
                             " - - 0 - 0 0";
    std::vector<char> command(line.begin(), line.end());
    command.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    if (!::CreateProcessA(NULL, command.data(), NULL, NULL, FALSE, 0, NULL, ProgramFolder().c_str(), &startup,
                          process))
        return false;
    ::CloseHandle(process->hThread);
    return true;
}

// A test of Mardavel.exe against the table server stand-in, whose port
// run_with_tableserver.sh names: the game's folder and keys (sound off), the
// frame's layout, the control stand-ins registered; Log() reads the
// program's log lines.
class OnlineClientTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const char* port = getenv("MARDAVEL_TABLESERVER_PORT");
        ASSERT_NE(port, nullptr) << "no table server: run through run_with_tableserver.sh";
        m_port = port;
        game.SetString("Path", folder.Path());
        settings.SetDword("SoundEf", 0);
        share.SetString("Path", ProgramFolder());
        CopyGameLayout(folder, "Mardavel_bk.bgd");
        chatControl.Register();
    }

    std::vector<std::string> Log() { return SplitLines(ReadText(folder / "Mardavel.log")); }

    std::string m_port;
    ScratchFolder folder;
    ScopedRegistryKey game{kGameKey};
    ScopedRegistryKey settings{kSettingsKey};
    ScopedRegistryKey share{kShareKey};
    ChatControlRegistration chatControl;
};

// Whether a line starts with `start`; the rest of the first such line.
inline bool HasLineStartingWith(const std::vector<std::string>& lines, const std::string& start,
                                std::string* rest = nullptr)
{
    for (const std::string& line : lines)
        if (line.compare(0, start.size(), start) == 0) {
            if (rest != nullptr)
                *rest = line.substr(start.size());
            return true;
        }
    return false;
}

}  // namespace gameprocess
