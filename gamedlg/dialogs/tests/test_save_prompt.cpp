// The save prompt on the resource library's template: the countdown and its
// time-out, the Apply button's enabling, the rules it stores for own and
// watched games, Apply with automatic saving (the hand goes into the chosen
// folder), Save through the real save-as dialog, and the time-out closing an
// open save-as dialog or the prompt's own folder browser, and nothing else.
#include "GameDlgTestSupport.h"

#include "SavePromptDlg.h"
#include "gamedlg_ids.h"

#include <dlgs.h>

#include <fstream>
#include <iterator>

namespace {

using namespace gamedlgtest;

constexpr UINT_PTR kCountdownTimer = 1;
// Long enough that only the test's own ticks count.
constexpr UINT kNoRealTicks = 0x7FFFFFF0;

// The saved-game record: writes a small file where it is told to.
class CFakeRecord : public ISavePromptRecord
{
public:
    BOOL m_bWatching = FALSE;
    CString m_strFolder;
    int m_nOwnRule = 0;
    int m_nWatchedRule = 0;
    int m_nSettingsWritten = 0;
    BOOL m_bFailWrites = FALSE;
    std::vector<std::string> m_written;
    int m_nWriteCalls = 0;

    BOOL IsWatching() const override { return m_bWatching; }
    CString MakeFileName() override { return m_strFolder + "\\hand.peg"; }
    BOOL WriteFile(LPCSTR lpszPath) override
    {
        m_nWriteCalls++;
        if (m_bFailWrites)
            return FALSE;
        std::ofstream f(lpszPath, std::ios::binary);
        f << "QV";
        if (!f)
            return FALSE;
        m_written.push_back(lpszPath);
        return TRUE;
    }
    CString GetSaveFolder() const override { return m_strFolder; }
    void SetSaveFolder(LPCSTR lpszFolder) override { m_strFolder = lpszFolder; }
    void SetSaveRule(BOOL bWatched, int nRule) override { (bWatched ? m_nWatchedRule : m_nOwnRule) = nRule; }
    void SaveSettings() override { m_nSettingsWritten++; }
};

// The prompt with a folder browser the test answers (none: the shell's).
class CTestPrompt : public CSavePromptDlg
{
public:
    using CSavePromptDlg::CSavePromptDlg;
    std::function<BOOL(CString&)> browse;
    int m_nBrowsed = 0;

protected:
    BOOL BrowseForFolder(CString& rFolder) override
    {
        m_nBrowsed++;
        return browse ? browse(rFolder) : CSavePromptDlg::BrowseForFolder(rFolder);
    }
};
typedef CScripted<CTestPrompt> CPrompt;

class SavePromptTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_res.Ok()) << "Mardavel_Res.dll beside the test";
        ASSERT_TRUE(WriteDialogSkin(m_theme, "QVDLG_SavePrompt", {"IDOK", "IDCANCEL", "IDC_SETQUIT"}));
        m_record.m_strFolder = m_saves.Path().c_str();
    }
    void TearDown() override { PumpPendingMessages(); }

    // Runs a prompt with the test's record; the result of its modal run.
    INT_PTR Run(CPrompt& prompt, int nInitialRule = 0)
    {
        prompt.SetRecord(&m_record);
        prompt.m_nSaveRule = nInitialRule;
        prompt.SetCountdownPeriod(kNoRealTicks);
        return prompt.DoModal();
    }

    ResourceLibrary m_res;
    TempTheme m_theme;
    TempFolder m_saves;
    CFakeRecord m_record;
};

TEST_F(SavePromptTest, CountsDownFromThirtyThenClosesAsDeclined)
{
    CPrompt prompt;
    std::vector<CString> shown;
    int afterLastNumber = -1;
    prompt.script = [&](CPrompt& p) {
        for (int i = 0; i < 30; i++) {
            p.Tick(kCountdownTimer);
            shown.push_back(p.Text(IDC_SAVEPROMPT_COUNT));
        }
        afterLastNumber = p.SecondsLeft();
        p.Tick(kCountdownTimer);   // the time-out
    };
    EXPECT_EQ(Run(prompt), IDCANCEL);
    ASSERT_EQ(shown.size(), 30u);
    for (int i = 0; i < 30; i++)
        EXPECT_EQ(shown[i], CString(std::to_string(30 - i).c_str())) << "tick " << i;
    EXPECT_EQ(afterLastNumber, 0);
    EXPECT_TRUE(prompt.HasTimedOut());
    EXPECT_EQ(m_record.m_nWriteCalls, 0);
    EXPECT_EQ(m_record.m_nSettingsWritten, 0);
}

TEST_F(SavePromptTest, AnyRuleClickEnablesApply)
{
    struct Case {
        const char* what;
        UINT radio;   // 0: no click
        bool enabled;
    };
    const Case cases[] = {
        {"no click leaves it disabled", 0, false},
        {"ask every time", IDC_SAVEPROMPT_RULE_ASK, true},
        {"save automatically", IDC_SAVEPROMPT_RULE_AUTO, true},
        {"never save", IDC_SAVEPROMPT_RULE_NEVER, true},
    };
    for (const Case& c : cases) {
        CPrompt prompt;
        bool before = true, after = false;
        prompt.script = [&](CPrompt& p) {
            before = p.Enabled(IDC_SAVEPROMPT_APPLY);
            if (c.radio != 0)
                p.Click(c.radio);
            after = p.Enabled(IDC_SAVEPROMPT_APPLY);
            p.Press(IDCANCEL);
        };
        EXPECT_EQ(Run(prompt), IDCANCEL) << c.what;
        EXPECT_FALSE(before) << c.what;
        EXPECT_EQ(after, c.enabled) << c.what;
        EXPECT_EQ(m_record.m_nSettingsWritten, 0) << c.what;
    }
}

TEST_F(SavePromptTest, ApplyStoresTheRuleOfOwnOrWatchedGames)
{
    struct Case {
        const char* what;
        BOOL watching;
        UINT radio;
        int own;
        int watched;
        const char* firstText;
    };
    const Case cases[] = {
        {"own game, never save", FALSE, IDC_SAVEPROMPT_RULE_NEVER, 2, 7, "不自动保存自己的牌局,每次都提示"},
        {"own game, ask", FALSE, IDC_SAVEPROMPT_RULE_ASK, 0, 7, "不自动保存自己的牌局,每次都提示"},
        {"watched game, never save", TRUE, IDC_SAVEPROMPT_RULE_NEVER, 7, 2, "不自动保存旁观的牌局,每次都提示"},
        {"watched game, ask", TRUE, IDC_SAVEPROMPT_RULE_ASK, 7, 0, "不自动保存旁观的牌局,每次都提示"},
    };
    for (const Case& c : cases) {
        m_record = CFakeRecord();
        m_record.m_strFolder = m_saves.Path().c_str();
        m_record.m_bWatching = c.watching;
        m_record.m_nOwnRule = 7;
        m_record.m_nWatchedRule = 7;
        CPrompt prompt;
        CString first, second, third;
        prompt.script = [&](CPrompt& p) {
            first = p.Text(IDC_SAVEPROMPT_RULE_ASK);
            p.Click(c.radio);
            p.Press(IDC_SAVEPROMPT_APPLY);
        };
        EXPECT_EQ(Run(prompt, 1), IDCANCEL) << c.what;
        EXPECT_EQ(first, CString(c.firstText)) << c.what;
        EXPECT_EQ(m_record.m_nOwnRule, c.own) << c.what;
        EXPECT_EQ(m_record.m_nWatchedRule, c.watched) << c.what;
        EXPECT_EQ(m_record.m_nSettingsWritten, 1) << c.what;
        EXPECT_EQ(m_record.m_nWriteCalls, 0) << c.what;
        EXPECT_EQ(prompt.m_nBrowsed, 0) << c.what;
    }
}

TEST_F(SavePromptTest, ApplyWithAutomaticSavingSavesTheHandIntoTheChosenFolder)
{
    TempFolder chosen;
    CPrompt prompt;
    prompt.browse = [&](CString& folder) {
        folder = chosen.Path().c_str();
        return TRUE;
    };
    prompt.script = [&](CPrompt& p) {
        p.Click(IDC_SAVEPROMPT_RULE_AUTO);
        p.Press(IDC_SAVEPROMPT_APPLY);
    };
    EXPECT_EQ(Run(prompt), IDCANCEL);
    EXPECT_EQ(prompt.m_nBrowsed, 1);
    EXPECT_EQ(m_record.m_strFolder, CString(chosen.Path().c_str()));
    ASSERT_EQ(m_record.m_written.size(), 1u);
    EXPECT_EQ(m_record.m_written[0], chosen.Path() + "\\hand.peg");
    EXPECT_EQ(chosen.Files(), std::vector<std::string>{"hand.peg"});
    EXPECT_TRUE(m_saves.Files().empty());
    EXPECT_EQ(m_record.m_nOwnRule, 1);
    EXPECT_EQ(m_record.m_nSettingsWritten, 1);
}

TEST_F(SavePromptTest, ApplyStaysInThePromptWhenTheFolderIsNotTakenOrTheHandNotWritten)
{
    struct Case {
        const char* what;
        BOOL chosen;
        BOOL failWrite;
        int writes;
    };
    const Case cases[] = {
        {"the browser is cancelled", FALSE, FALSE, 0},
        {"the hand cannot be written in the chosen folder", TRUE, TRUE, 1},
    };
    for (const Case& c : cases) {
        m_record = CFakeRecord();
        m_record.m_strFolder = m_saves.Path().c_str();
        m_record.m_bFailWrites = c.failWrite;
        TempFolder other;
        CPrompt prompt;
        prompt.browse = [&](CString& folder) {
            folder = other.Path().c_str();
            return c.chosen;
        };
        BOOL stillOpen = FALSE, applyEnabled = FALSE;
        prompt.script = [&](CPrompt& p) {
            p.Click(IDC_SAVEPROMPT_RULE_AUTO);
            p.SendMessage(WM_COMMAND, IDC_SAVEPROMPT_APPLY, 0);
            stillOpen = ::IsWindow(p.m_hWnd) && !p.IsBrowseOpen();
            applyEnabled = p.Enabled(IDC_SAVEPROMPT_APPLY);
            p.Press(IDCANCEL);
        };
        EXPECT_EQ(Run(prompt), IDCANCEL) << c.what;
        EXPECT_TRUE(stillOpen) << c.what;
        EXPECT_TRUE(applyEnabled) << c.what;
        EXPECT_EQ(m_record.m_nWriteCalls, c.writes) << c.what;
        EXPECT_EQ(m_record.m_strFolder, CString(m_saves.Path().c_str())) << c.what;
        EXPECT_EQ(m_record.m_nOwnRule, 0) << c.what;
        EXPECT_EQ(m_record.m_nSettingsWritten, 0) << c.what;
    }
}

// The save-as dialog's frame while the Save step runs, or NULL.
HWND SaveAsFrame(CSavePromptDlg& prompt)
{
    CFileDialog* dialog = prompt.GetFileDialog();
    HWND inner = dialog != NULL ? dialog->GetSafeHwnd() : NULL;
    return inner != NULL ? ::GetParent(inner) : NULL;
}

TEST_F(SavePromptTest, SaveWritesWhereTheSaveAsDialogSaysAndEndsWithTheRuleTaken)
{
    CPrompt prompt;
    const std::string target = m_saves.Path() + "\\chosen.peg";
    prompt.script = [&](CPrompt& p) {
        p.Click(IDC_SAVEPROMPT_RULE_NEVER);
        p.Press(IDOK);
        p.PostMessage(WM_SCRIPT_STEP);
    };
    prompt.step = [&](CPrompt& p) {
        HWND frame = SaveAsFrame(p);
        if (frame == NULL)
            return false;
        // The file name box: the explorer dialog's combo (cmb13) or edit (edt1).
        ::SendMessageA(frame, CDM_SETCONTROLTEXT, cmb13, (LPARAM)target.c_str());
        ::SendMessageA(frame, CDM_SETCONTROLTEXT, edt1, (LPARAM)target.c_str());
        ::PostMessageA(frame, WM_COMMAND, IDOK, 0);
        return true;
    };
    EXPECT_EQ(Run(prompt), IDOK);
    EXPECT_EQ(prompt.m_nSaveRule, 2);
    ASSERT_EQ(m_record.m_written.size(), 1u);
    EXPECT_EQ(_stricmp(m_record.m_written[0].c_str(), target.c_str()), 0) << m_record.m_written[0];
    EXPECT_EQ(m_saves.Files(), std::vector<std::string>{"chosen.peg"});
    EXPECT_EQ(prompt.GetFileDialog(), (CFileDialog*)NULL);
    EXPECT_EQ(m_record.m_nSettingsWritten, 0);
}

TEST_F(SavePromptTest, TimeOutCancelsAnOpenSaveAsDialogAndWritesNothing)
{
    CPrompt prompt;
    int ticks = 0;
    prompt.script = [&](CPrompt& p) {
        p.Press(IDOK);
        p.PostMessage(WM_SCRIPT_STEP);
    };
    prompt.step = [&](CPrompt& p) {
        if (SaveAsFrame(p) == NULL)
            return false;
        // The whole countdown runs while the save-as dialog is open.
        while (!p.HasTimedOut() && ticks < 40) {
            p.Tick(kCountdownTimer);
            ticks++;
        }
        return true;
    };
    EXPECT_EQ(Run(prompt), IDCANCEL);
    EXPECT_EQ(ticks, 31);
    EXPECT_TRUE(prompt.HasTimedOut());
    EXPECT_EQ(prompt.GetFileDialog(), (CFileDialog*)NULL);
    EXPECT_EQ(m_record.m_nWriteCalls, 0);
    EXPECT_TRUE(m_saves.Files().empty());
}

TEST_F(SavePromptTest, TimeOutClosesOnlyThePromptsOwnFolderBrowser)
{
    // Another program's window with the browser's usual title.
    HWND other = ::CreateWindowExA(0, "STATIC", "浏览文件夹", WS_POPUP | WS_VISIBLE, 0, 0, 120, 40, NULL, NULL,
                                   NULL, NULL);
    ASSERT_NE(other, (HWND)NULL);
    CPrompt prompt;
    HWND browser = NULL;
    prompt.script = [&](CPrompt& p) {
        p.Click(IDC_SAVEPROMPT_RULE_AUTO);
        p.Press(IDC_SAVEPROMPT_APPLY);
        p.PostMessage(WM_SCRIPT_STEP);
    };
    prompt.step = [&](CPrompt& p) {
        browser = p.GetFolderBrowser();
        if (browser == NULL)
            return false;
        for (int i = 0; i < 40 && !p.HasTimedOut(); i++)
            p.Tick(kCountdownTimer);
        return true;
    };
    EXPECT_EQ(Run(prompt), IDCANCEL);
    EXPECT_EQ(prompt.m_nBrowsed, 1);
    EXPECT_NE(browser, (HWND)NULL);
    EXPECT_FALSE(::IsWindow(browser));
    EXPECT_TRUE(::IsWindow(other));
    EXPECT_EQ(m_record.m_nWriteCalls, 0);
    EXPECT_EQ(m_record.m_nSettingsWritten, 0);
    ::DestroyWindow(other);
}

}  // namespace
