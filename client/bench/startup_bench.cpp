// mardavel_startup_bench.exe: start-up to first paint, seen from outside the
// same way for every program: the time from CreateProcess until the
// program's window is visible with nothing left to paint (for Mardavel.exe:
// the table window inside the frame). Programs compared side by side in one
// run, alternating: the bare window program, the same painting Chinese text,
// and Mardavel.exe in local mode (no server). Prints medians and the ratio to
// the bare window. Run under Wine from the program's folder:
//   scripts/wine-run.sh build/x64/bin/mardavel_startup_bench.exe [rounds] [program.exe...]
// Further programs of the same folder (a build of Mardavel.exe kept from
// before a change, say) are measured the same way, alongside.
// (Processor use of another process is not reported by Wine's
// GetProcessTimes; the idle figure is read from /proc on the Linux side:
// utime + stime of the Mardavel.exe process over ten seconds.)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr UINT kTableWindowId = 0xE900;

struct Find {
    DWORD pid;
    bool table;      // look for the table window inside a frame
    HWND found;
};

bool Painted(HWND hWnd)
{
    return ::IsWindowVisible(hWnd) && !::GetUpdateRect(hWnd, NULL, FALSE);
}

BOOL CALLBACK FindPainted(HWND hWnd, LPARAM lParam)
{
    Find* find = reinterpret_cast<Find*>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    if (pid != find->pid || !::IsWindowVisible(hWnd))
        return TRUE;
    HWND target = find->table ? ::GetDlgItem(hWnd, kTableWindowId) : hWnd;
    RECT rect = {};
    if (target != NULL && ::GetClientRect(target, &rect) && rect.right > 0 && rect.bottom > 0 && Painted(target)) {
        find->found = hWnd;
        return FALSE;
    }
    return TRUE;
}

std::string Folder()
{
    char path[MAX_PATH];
    ::GetModuleFileNameA(NULL, path, MAX_PATH);
    std::string s = path;
    return s.substr(0, s.rfind('\\'));
}

double Now()
{
    static LARGE_INTEGER frequency = {};
    if (frequency.QuadPart == 0)
        ::QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return (double)t.QuadPart / (double)frequency.QuadPart;
}

// Seconds from start to the first paint; the process is left running in
// *process (ended by the caller). Negative when it never painted.
double TimeToPaint(const std::string& commandLine, bool table, PROCESS_INFORMATION* process)
{
    std::vector<char> command(commandLine.begin(), commandLine.end());
    command.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    const double start = Now();
    if (!::CreateProcessA(NULL, command.data(), NULL, NULL, FALSE, 0, NULL, Folder().c_str(), &startup, process))
        return -1;
    Find find = {process->dwProcessId, table, NULL};
    for (;;) {
        ::EnumWindows(FindPainted, reinterpret_cast<LPARAM>(&find));
        if (find.found != NULL)
            return Now() - start;
        if (::WaitForSingleObject(process->hProcess, 2) == WAIT_OBJECT_0)
            return -1;
        if (Now() - start > 120)
            return -1;
    }
}

void End(PROCESS_INFORMATION& process)
{
    ::TerminateProcess(process.hProcess, 0);
    ::WaitForSingleObject(process.hProcess, INFINITE);
    ::CloseHandle(process.hProcess);
    ::CloseHandle(process.hThread);
}

double Median(std::vector<double> v)
{
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    const std::string folder = Folder();
    // The platform's folders as its set-up leaves them: the shared folder
    // (the owner-draw theme) and the game's folder (the frame's layout) are
    // the program's folder here.
    for (const char* name : {"Software\\Quorvintel\\Game\\Mardavel", "Software\\Quorvintel\\Game\\Share"}) {
        HKEY key = NULL;
        ::RegCreateKeyExA(HKEY_CURRENT_USER, name, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL);
        const std::string path = folder + "\\";
        ::RegSetValueExA(key, "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                         (DWORD)path.size() + 1);
        ::RegCloseKey(key);
    }

    struct Program {
        std::string name;
        std::string command;
        bool table;
        std::vector<double> seconds;
    };
    std::vector<Program> programs = {
        {"bare window", "\"" + folder + "\\bench_bare_window.exe\"", false, {}},
        {"bare window, Chinese text", "\"" + folder + "\\bench_bare_window.exe\" zh", false, {}},
        {"Mardavel.exe (local), the table", "\"" + folder + "\\Mardavel.exe\"", true, {}},
    };
    for (int i = 2; i < argc; i++)
        programs.push_back({std::string(argv[i]) + " (local), the table", "\"" + folder + "\\" + argv[i] + "\"", true, {}});
    for (int r = 0; r < rounds; r++)
        for (Program& p : programs) {
            PROCESS_INFORMATION process = {};
            const double s = TimeToPaint(p.command, p.table, &process);
            if (s >= 0)
                p.seconds.push_back(s);
            else
                printf("%s: no paint in round %d\n", p.name.c_str(), r + 1);
            End(process);
        }
    const double bare = Median(programs[0].seconds);
    printf("start-up to first paint, median of %d (warm Wine server):\n", rounds);
    for (const Program& p : programs)
        printf("  %-40s %8.1f ms   x%.2f of the bare window\n", p.name.c_str(), Median(p.seconds) * 1000,
               bare > 0 ? Median(p.seconds) / bare : 0.0);

    return 0;
}
