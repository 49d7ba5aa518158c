// The game dialogs with the program's dialog skin, for looking at them
// (scripts/screenshot OUT.png SECONDS build/x64/bin/gamedlg_demo.exe WHAT):
// WHAT is "saveprompt", "saveprompt watch", "reportlist", "settitle" or
// "setup". The skin comes from "<program folder>\Mardavel.thm" and "Theme\"
// as the program finds it, the set-title pictures from "gamedlg_title\",
// the templates and pictures from Mardavel_Res.dll. Nothing is saved.
#include "SavePromptDlg.h"
#include "SetTitleDlg.h"
#include "SetupDlg.h"
#include "SkinListCtrl.h"
#include "app/GameEnvironment.h"

#include <commctrl.h>

#include <cstring>
#include <vector>

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

class CDemoTitles : public ISetTitleHost
{
public:
    CDemoTitles()
    {
        const char* names[] = {"新手上路", "牌桌常客", "赛季**精英", "限量**金牌", "会员**之星", "皇帝之友", "侍卫长"};
        for (int i = 0; i < 7; i++) {
            TitleEntry e;
            e.name = names[i];
            e.id = 200 + (uint32_t)i;
            e.number = i + 1;
            e.level = i + 1;
            for (int c = 0; c < 4; c++)
                e.categories[c] = ((i + c) % 3) == 0;
            m_titles.push_back(e);
        }
        char path[MAX_PATH] = "";
        ::GetModuleFileNameA(NULL, path, MAX_PATH);
        m_folder = path;
        m_folder = m_folder.Left(m_folder.ReverseFind('\\')) + "\\gamedlg_title";
    }
    int GetTitleCount() const override { return (int)m_titles.size(); }
    BOOL GetTitle(int i, TitleEntry& e) const override
    {
        if (i < 0 || i >= (int)m_titles.size())
            return FALSE;
        e = m_titles[(size_t)i];
        return TRUE;
    }
    uint32_t GetCurrentTitleId() const override { return 205; }
    int GetHonour() const override { return 1280; }
    BOOL IsMember() const override { return FALSE; }
    void RequestTitle(uint32_t) override {}
    CString GetMemberPage() override { return "https://www.quorvintel.example/member"; }
    CString GetSkinIni() const override { return m_folder + "\\title.ini"; }
    CString GetSkinFolder() const override { return m_folder; }

private:
    std::vector<TitleEntry> m_titles;
    CString m_folder;
};

// A dark window holding a report list of hands, as the hand history shows it.
void RunReportList()
{
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&icc);
    CWnd host;
    host.CreateEx(0, AfxRegisterWndClass(0, NULL, ::CreateSolidBrush(RGB(20, 40, 24))), "Report list",
                  WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 100, 100, 480, 320, NULL, NULL);
    HWND hList = ::CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL |
                                                            LVS_SHOWSELALWAYS,
                                   12, 12, 420, 240, host.m_hWnd, (HMENU)8033, NULL, NULL);
    CSkinListCtrl list;
    list.SubclassWindow(hList);
    const char* heads[] = {"局数", "东家", "南家", "西家", "北家", "中家", "合计"};
    for (int c = 0; c < 7; c++)
        list.InsertColumn(c, heads[c], LVCFMT_CENTER, 70);
    for (int r = 0; r < 20; r++) {
        CString text;
        text.Format("第%d局", r + 1);
        list.InsertItem(r, text);
        for (int c = 1; c < 7; c++) {
            text.Format("%3d", ((r * 7 + c * 13) % 41) - 20);
            list.SetItemText(r, c, text);
        }
    }
    list.SetupScrollBars(FALSE);
    list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
    MSG msg;
    while (::IsWindow(host.m_hWnd) && ::GetMessageA(&msg, NULL, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

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
    } else if (strstr(what, "reportlist") != NULL) {
        RunReportList();
    } else if (strstr(what, "settitle") != NULL) {
        Gdiplus::GdiplusStartupInput input;
        ULONG_PTR token = 0;
        Gdiplus::GdiplusStartup(&token, &input, nullptr);
        {
            CDemoTitles titles;
            CSetTitleDlg dlg(&titles);
            if (dlg.Create(CWnd::GetDesktopWindow())) {
                dlg.Open();
                MSG msg;
                while (::IsWindow(dlg.m_hWnd) && ::GetMessageA(&msg, NULL, 0, 0) > 0) {
                    ::TranslateMessage(&msg);
                    ::DispatchMessageA(&msg);
                }
            }
        }
        Gdiplus::GdiplusShutdown(token);
    } else if (strstr(what, "setup") != NULL) {
        CSetupDlg setup(TRUE);
        setup.m_nSavedBackground = 1;
        setup.m_bSoundEffects = 1;
        setup.m_bMusic = 1;
        setup.m_bTile = 1;
        setup.m_bPersonalDataAvailable = 1;
        setup.m_strShotFolder = "C:\\Mardavel\\snapshot";
        setup.m_strVideoFolder = "C:\\Mardavel\\Video";
        setup.m_strSaveFolder = "C:\\Mardavel\\save";
        setup.m_nWatchedRule = 2;
        setup.DoModal();
    }
    return 0;
}
