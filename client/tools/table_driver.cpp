// mardavel_table_driver.exe: plays the own seat of a running Mardavel.exe
// for scripts/run on a private display.
//
//   mardavel_table_driver.exe LOGFILE PICTURE
//
// Presses the table's buttons until the program's log says the hand was
// saved ("[PromptSave] saved <path>"), saves a picture of the window then,
// prints "saved game: <path>" and "picture: <path>", and ends (exit 0); exit
// 1 when the table window went away first or no hand was saved within ten
// minutes.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "TableDriver.h"

namespace {

bool SavedGameOfLog(const char* logPath, std::string* saved)
{
    FILE* f = fopen(logPath, "rb");
    if (f == NULL)
        return false;
    char line[1024];
    const char prefix[] = "[PromptSave] saved ";
    bool found = false;
    while (fgets(line, sizeof(line), f) != NULL) {
        if (strncmp(line, prefix, sizeof(prefix) - 1) == 0) {
            *saved = line + sizeof(prefix) - 1;
            while (!saved->empty() && (saved->back() == '\n' || saved->back() == '\r'))
                saved->pop_back();
            found = true;
        }
    }
    fclose(f);
    return found;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: mardavel_table_driver LOGFILE PICTURE\n");
        return 2;
    }
    const char* logPath = argv[1];
    const char* picture = argv[2];
    tabledriver::CSeatPlayer player;
    HWND frame = NULL;
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < 600000) {
        ::Sleep(50);
        if (frame == NULL) {
            frame = tabledriver::FindTableFrame(0);
            continue;
        }
        if (!::IsWindow(frame)) {
            fprintf(stderr, "the table closed before a hand was saved\n");
            return 1;
        }
        std::string saved;
        if (SavedGameOfLog(logPath, &saved)) {
            tabledriver::SaveWindowPicture(frame, picture);
            printf("saved game: %s\npicture: %s\n", saved.c_str(), picture);
            return 0;
        }
        player.Step(::GetDlgItem(frame, tabledriver::kTableWindowId));
    }
    fprintf(stderr, "no hand was saved in time\n");
    return 1;
}
