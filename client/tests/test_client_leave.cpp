// Leaving in the middle of a hand, end to end: Mardavel.exe joins the table
// server stand-in, plays its seat into the hand, and is closed. The leave
// question shows; handing the seat over asks the server for trust-play
// leave (0x21A), and the server's answer closes the program by itself.
//
// run_with_tableserver.sh starts the server and names its port in
// MARDAVEL_TABLESERVER_PORT.
#include "GameProcessSupport.h"

#include <windows.h>

#include <string>
#include <vector>

#include "TableDriver.h"
#include "client_ids.h"

namespace {

using namespace gameprocess;


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

class ClientLeave : public OnlineClientTest
{
protected:
    void SetUp() override
    {
        OnlineClientTest::SetUp();
        if (HasFatalFailure())
            return;
        settings.SetDword("SaveAction", 2);
    }
};

}  // namespace

TEST_F(ClientLeave, HandingTheSeatOverInAHandLeavesThroughTheServer)
{
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(StartOnline(m_port, &process));

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
