// The game dialogs with the program's dialog skin, for looking at them
// (scripts/screenshot OUT.png SECONDS build/x64/bin/gamedlg_demo.exe WHAT):
// WHAT is "saveprompt" or "saveprompt watch". The skin comes from
// "<program folder>\Mardavel.thm" and "Theme\" as the program finds it, the
// templates and pictures from Mardavel_Res.dll. Nothing is saved.
#include "SavePromptDlg.h"
#include "app/GameEnvironment.h"

#include <cstring>

namespace {

class CDemoRecord : public ISavePromptRecord
{
public:
    explicit CDemoRecord(BOOL bWatching) : m_bWatching(bWatching) {}
    BOOL IsWatching() const override { return m_bWatching; }
    CString MakeFileName() override { return "C:\\save\\demo.peg"; }
    BOOL WriteFile(LPCSTR) override { return TRUE; }
    CString GetSaveFolder() const override { return "C:\\save"; }
    void SetSaveFolder(LPCSTR) override {}
    void SetSaveRule(BOOL, int) override {}
    void SaveSettings() override {}

private:
    BOOL m_bWatching;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR lpCmdLine, int)
{
    HMODULE hRes = ::LoadLibraryA("Mardavel_Res.dll");
    if (hRes != NULL)
        AfxSetResourceHandle(hRes);
    InitThemePaths("Mardavel", FALSE, NULL);
    const char* what = lpCmdLine != NULL ? lpCmdLine : "";
    if (strstr(what, "saveprompt") != NULL) {
        CDemoRecord record(strstr(what, "watch") != NULL);
        CSavePromptDlg prompt;
        prompt.SetRecord(&record);
        prompt.m_nSaveRule = 0;
        prompt.DoModal();
    }
    return 0;
}
