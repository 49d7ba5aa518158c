// QVLobby.exe: the lobby stand-in.
//
//   QVLobby.exe [options] PROGRAM VALUE...
//
// Starts PROGRAM with the launch record made of the VALUEs (13 or 14 of
// them, in the order of the command-line launch, chair 1-based), waits for it
// to end while answering its windows' messages, and exits with its exit
// code. Options:
//   --mapping NAME   put the record into a file mapping named NAME and give
//                    the program only that name (else the values themselves)
//   --trailer HEX    the record's last 4 bytes (8 hexadecimal digits), with
//                    --mapping
//   --room           make the room record "QV_ROOM_REC" and its room window
//   --switch         make the window titled "switch window"
//   --record FILE    append one line per message the windows receive:
//                      room-notice wparam=W data=0xD size=S text=T value=V zero=Z
//                      room-refresh wparam=W lparam=L
//                      switch wparam=W lparam=L
//                    and "exit CODE" at the end
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "app/GameEnvironment.h"
#include "app/LaunchInfo.h"

namespace {

const UINT kSwitchMessage = 0x1212;
const char kSwitchTitle[] = "switch window";

std::string g_recordFile;

void Record(const char* format, ...)
{
    if (g_recordFile.empty())
        return;
    char line[512];
    va_list args;
    va_start(args, format);
    vsnprintf(line, sizeof(line), format, args);
    va_end(args);
    FILE* file = fopen(g_recordFile.c_str(), "ab");
    if (file == nullptr)
        return;
    fprintf(file, "%s\n", line);
    fclose(file);
}

LRESULT CALLBACK RoomWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COPYDATA) {
        const COPYDATASTRUCT* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        RoomNotice notice;
        memset(&notice, 0, sizeof(notice));
        if (copy->lpData != nullptr)
            memcpy(&notice, copy->lpData, copy->cbData < sizeof(notice) ? copy->cbData : sizeof(notice));
        notice.text[sizeof(notice.text) - 1] = '\0';
        Record("room-notice wparam=%u data=0x%08lX size=%lu text=%s value=%u zero=%u", (unsigned)wParam,
               (unsigned long)copy->dwData, (unsigned long)copy->cbData, notice.text, notice.value, notice.zero);
        return TRUE;
    }
    if (message == kRoomRefreshMessage) {
        Record("room-refresh wparam=%u lparam=%ld", (unsigned)wParam, (long)lParam);
        return 0;
    }
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

LRESULT CALLBACK SwitchWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kSwitchMessage) {
        Record("switch wparam=%u lparam=%ld", (unsigned)wParam, (long)lParam);
        return 0;
    }
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

HWND MakeWindow(const char* className, const char* title, WNDPROC proc, HWND parent)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = proc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = className;
    ::RegisterClassA(&wc);
    return ::CreateWindowExA(0, className, title, WS_POPUP, 0, 0, 1, 1, parent, nullptr, wc.hInstance, nullptr);
}

// A named mapping of size bytes; the view in *view.
HANDLE MakeMapping(const char* name, DWORD size, uint8_t** view)
{
    HANDLE mapping = ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, size, name);
    if (mapping == nullptr)
        return nullptr;
    *view = static_cast<uint8_t*>(::MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, size));
    if (*view == nullptr) {
        ::CloseHandle(mapping);
        return nullptr;
    }
    memset(*view, 0, size);
    return mapping;
}

std::string Quoted(const char* text)
{
    std::string quoted = "\"";
    quoted += text;
    quoted += "\"";
    return quoted;
}

int Usage()
{
    fprintf(stderr, "usage: QVLobby [--mapping NAME [--trailer HEX]] [--room] [--switch] [--record FILE] "
                    "PROGRAM VALUE...\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    const char* mappingName = nullptr;
    uint32_t trailer = 0;
    bool room = false, switchWindow = false;
    int i = 1;
    for (; i < argc && strncmp(argv[i], "--", 2) == 0; i++) {
        const std::string option = argv[i];
        if (option == "--mapping" && i + 1 < argc)
            mappingName = argv[++i];
        else if (option == "--trailer" && i + 1 < argc)
            trailer = (uint32_t)strtoul(argv[++i], nullptr, 16);
        else if (option == "--record" && i + 1 < argc)
            g_recordFile = argv[++i];
        else if (option == "--room")
            room = true;
        else if (option == "--switch")
            switchWindow = true;
        else
            return Usage();
    }
    if (i >= argc)
        return Usage();
    const char* program = argv[i++];
    const int valueCount = argc - i;
    char* const* values = argv + i;

    // The room record with its window.
    HANDLE roomMapping = nullptr;
    uint8_t* roomView = nullptr;
    HWND roomWindow = nullptr;
    if (room) {
        roomMapping = MakeMapping(kRoomRecordName, kRoomRecordSize, &roomView);
        roomWindow = MakeWindow("QVLobbyRoom", "room", RoomWindowProc, HWND_MESSAGE);
        if (roomMapping == nullptr || roomWindow == nullptr) {
            fprintf(stderr, "QVLobby: cannot make the room record\n");
            return 3;
        }
        const uint32_t handle = (uint32_t)(ULONG_PTR)roomWindow;
        memcpy(roomView + kRoomWindowOffset, &handle, sizeof(handle));
    }
    HWND switchHandle = nullptr;
    if (switchWindow) {
        switchHandle = MakeWindow("QVLobbySwitch", kSwitchTitle, SwitchWindowProc, nullptr);
        if (switchHandle == nullptr) {
            fprintf(stderr, "QVLobby: cannot make the switch window\n");
            return 3;
        }
    }

    // The launch record: arguments, or a mapping named on the command line.
    std::string commandLine = Quoted(program);
    HANDLE launchMapping = nullptr;
    if (mappingName != nullptr) {
        uint8_t* view = nullptr;
        launchMapping = MakeMapping(mappingName, sizeof(GameLaunchInfo), &view);
        if (launchMapping == nullptr) {
            fprintf(stderr, "QVLobby: cannot make the launch mapping\n");
            return 3;
        }
        GameLaunchInfo info;
        FillLaunchInfoFromArguments(valueCount, values, &info);
        memcpy(info.reserved, &trailer, sizeof(trailer));
        memcpy(view, &info, sizeof(info));
        ::UnmapViewOfFile(view);
        commandLine += " " + Quoted(mappingName);
    } else {
        for (int v = 0; v < valueCount; v++)
            commandLine += " " + Quoted(values[v]);
    }

    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        fprintf(stderr, "QVLobby: cannot start %s (%lu)\n", program, (unsigned long)::GetLastError());
        return 3;
    }
    ::CloseHandle(process.hThread);

    // The lobby's windows answer while the game runs.
    for (;;) {
        const DWORD wait = ::MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, INFINITE, QS_ALLINPUT);
        if (wait == WAIT_OBJECT_0)
            break;
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    // Messages the game posted just before it ended.
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        ::DispatchMessageA(&msg);
    DWORD exitCode = 0;
    ::GetExitCodeProcess(process.hProcess, &exitCode);
    ::CloseHandle(process.hProcess);
    Record("exit %lu", (unsigned long)exitCode);

    if (launchMapping != nullptr)
        ::CloseHandle(launchMapping);
    if (switchHandle != nullptr)
        ::DestroyWindow(switchHandle);
    if (roomWindow != nullptr)
        ::DestroyWindow(roomWindow);
    if (roomView != nullptr)
        ::UnmapViewOfFile(roomView);
    if (roomMapping != nullptr)
        ::CloseHandle(roomMapping);
    return (int)exitCode;
}
