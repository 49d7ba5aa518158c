// CSavePromptDlg: the end-of-hand question whether the hand just played (or
// watched) is saved as a .peg file, with the standing save rule offered
// beside it. It counts down 30 seconds and then closes as if declined.
//
// Results: IDOK after a successful Save (the radio choice exchanged into
// m_nSaveRule, which the caller takes as its rule); IDCANCEL after Discard,
// Apply and quit (which stores the rule itself) or the time-out.
//
// The saved-game record belongs to the table client; the prompt reaches it
// through ISavePromptRecord.
#pragma once

#include "afxext.h"
#include "afxwin.h"

#include "CoolButton.h"
#include "SkinDlg.h"

// What the prompt uses of the saved-game record.
class ISavePromptRecord
{
public:
    virtual ~ISavePromptRecord() = default;
    // Whether the hand was watched rather than played.
    virtual BOOL IsWatching() const = 0;
    // The default path of the hand just ended, in the automatic save folder.
    virtual CString MakeFileName() = 0;
    // Writes the hand to exactly that path; reports its own failures to the
    // user. TRUE when the file was written.
    virtual BOOL WriteFile(LPCSTR lpszPath) = 0;
    virtual CString GetSaveFolder() const = 0;
    virtual void SetSaveFolder(LPCSTR lpszFolder) = 0;
    // The rule of own games (bWatched FALSE) or of watched games.
    virtual void SetSaveRule(BOOL bWatched, int nRule) = 0;
    // Writes both rules and the folder to the profile.
    virtual void SaveSettings() = 0;
};

class CSavePromptDlg : public CSkinDlg
{
public:
    explicit CSavePromptDlg(CWnd* pParent = NULL);
    ~CSavePromptDlg() override;

    void SetRecord(ISavePromptRecord* pRecord) { m_pRecord = pRecord; }
    // The radio choice: set by the caller before the run (its rule in
    // force), exchanged with radio group 1020.
    int m_nSaveRule = 0;

    // The countdown's period; 1000 ms unless a test drives the ticks itself.
    void SetCountdownPeriod(UINT nMs) { m_nPeriod = nMs; }
    int SecondsLeft() const { return m_nSecondsLeft; }
    BOOL HasTimedOut() const { return m_bTimedOut; }
    BOOL IsBrowseOpen() const { return m_bBrowseOpen; }
    // The save-as dialog while it runs (its frame is the window's parent).
    CFileDialog* GetFileDialog() const { return m_pFileDialog; }
    // The prompt's own folder browser while it is open.
    HWND GetFolderBrowser() const { return m_hBrowser; }

protected:
    // The shell's folder browser owned by the prompt; TRUE with a folder
    // chosen. Tests answer it without the shell.
    virtual BOOL BrowseForFolder(CString& rFolder);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnCancel() override;
    afx_msg void OnApply();
    afx_msg void OnRuleClicked(UINT nId);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    static int CALLBACK BrowseCallback(HWND hWnd, UINT uMsg, LPARAM lParam, LPARAM lpData);
    void Finish(int nResult);
    void TimeOut();
    BOOL Watching() const { return m_pRecord != NULL && m_pRecord->IsWatching(); }

    CCoolButton m_save;
    CCoolButton m_discard;
    CCoolButton m_apply;
    ISavePromptRecord* m_pRecord = NULL;
    BOOL m_bBrowseOpen = FALSE;
    int m_nSecondsLeft;
    CFileDialog* m_pFileDialog = NULL;
    BOOL m_bTimedOut = FALSE;
    UINT m_nPeriod = 1000;
    HWND m_hBrowser = NULL;
};
