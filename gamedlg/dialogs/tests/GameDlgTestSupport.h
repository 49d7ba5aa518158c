// Helpers of the game dialogs' window tests: the resource library as the
// framework's resource module, a temporary dialog skin, a temporary folder,
// and dialogs that run a script once their modal loop runs.
#pragma once

#include "KitTestSupport.h"

#include <functional>
#include <string>
#include <vector>

namespace gamedlgtest {

using namespace kittest;

// Posted to a scripted dialog: run the script (its modal loop is running).
const UINT WM_SCRIPT = WM_APP + 7;
// Posted to a scripted dialog: run the follow-up step once, or post itself
// again while its condition does not hold yet (a nested modal loop, such as
// a common dialog's, dispatches it).
const UINT WM_SCRIPT_STEP = WM_APP + 8;

// Mardavel_Res.dll beside the test, the framework's resource module while
// the object lives.
class ResourceLibrary
{
public:
    ResourceLibrary() : m_hModule(::LoadLibraryA("Mardavel_Res.dll"))
    {
        if (m_hModule != NULL)
            AfxSetResourceHandle(m_hModule);
    }
    ~ResourceLibrary()
    {
        AfxSetResourceHandle(NULL);
        if (m_hModule != NULL)
            ::FreeLibrary(m_hModule);
    }
    bool Ok() const { return m_hModule != NULL; }

private:
    HMODULE m_hModule;
};

// A temporary folder, removed with its files.
class TempFolder
{
public:
    TempFolder()
    {
        static int s_count = 0;
        char base[MAX_PATH];
        ::GetTempPathA(MAX_PATH, base);
        m_path = std::string(base) + "gamedlgtest_" + std::to_string(::GetCurrentProcessId()) + "_" +
                 std::to_string(++s_count);
        ::CreateDirectoryA(m_path.c_str(), NULL);
    }
    ~TempFolder()
    {
        for (const std::string& f : Files())
            ::DeleteFileA((m_path + "\\" + f).c_str());
        ::RemoveDirectoryA(m_path.c_str());
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return m_path; }
    std::vector<std::string> Files() const
    {
        std::vector<std::string> names;
        WIN32_FIND_DATAA fd;
        HANDLE h = ::FindFirstFileA((m_path + "\\*").c_str(), &fd);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                    names.push_back(fd.cFileName);
            } while (::FindNextFileA(h, &fd));
            ::FindClose(h);
        }
        return names;
    }

private:
    std::string m_path;
};

// A dialog skin with a plain background, a close button and a button face,
// the face given to the keys of one section.
inline bool WriteDialogSkin(const TempTheme& theme, const char* section, const std::vector<const char*>& keys)
{
    if (!theme.Ok())
        return false;
    if (!WriteBmp(theme.Image("bg.bmp"), 60, 60, [](int x, int y) {
            return (x == 0 && y == 0) ? kMagenta : RGB(40, 60, 90);
        }))
        return false;
    if (!WriteStrip(theme.Image("close.bmp"), 12, 10, {kRed, kGreen, kBlue, kBlack}))
        return false;
    if (!WriteStrip(theme.Image("face.bmp"), 40, 16, {kGreen, kYellow, kCyan, kBlack}))
        return false;
    theme.Set("QVDLG", "backgrdbmp", "bg.bmp");
    theme.Set("QVDLG", "titleclose", "close.bmp");
    for (const char* key : keys)
        theme.Set(section, key, "face.bmp");
    return true;
}

// A dialog that runs `script` once its modal loop runs and `step` on each
// WM_SCRIPT_STEP until the step answers true.
template <class Dlg>
class CScripted : public Dlg
{
public:
    using Dlg::Dlg;
    std::function<void(CScripted&)> script;
    std::function<bool(CScripted&)> step;
    int m_nSteps = 0;

    BOOL OnInitDialog() override
    {
        const BOOL r = Dlg::OnInitDialog();
        this->PostMessage(WM_SCRIPT);
        return r;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_SCRIPT) {
            if (script)
                script(*this);
            return 0;
        }
        if (message == WM_SCRIPT_STEP) {
            m_nSteps++;
            if (step && !step(*this))
                this->PostMessage(WM_SCRIPT_STEP);
            return 0;
        }
        return Dlg::WindowProc(message, wParam, lParam);
    }
    void Press(UINT id) { this->PostMessage(WM_COMMAND, id, 0); }
    // A real click on a button control (BM_CLICK: button down and up).
    void Click(UINT id) { ::SendMessage(this->GetDlgItem(id)->GetSafeHwnd(), BM_CLICK, 0, 0); }
    void Tick(UINT_PTR nTimer) { this->SendMessage(WM_TIMER, nTimer, 0); }
    bool Enabled(UINT id)
    {
        CWnd* p = this->GetDlgItem(id);
        return p != NULL && p->IsWindowEnabled();
    }
    CString Text(UINT id)
    {
        CString s;
        this->GetDlgItemText(id, s);
        return s;
    }
};

}  // namespace gamedlgtest
