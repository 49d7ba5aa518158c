#include "SavePromptDlg.h"

#include <shlobj.h>

#include "DialogRules.h"
#include "gamedlg_ids.h"

namespace {

constexpr UINT_PTR kCountdownTimer = 1;
const char kSkinSection[] = "QVDLG_SavePrompt";
const char kFilter[] = "Mardavel save files(*.peg)|*.peg|All files(*.*)|*.*||";
const char kBrowseTitle[] = "请您选择自动存盘路径";

struct RuleText {
    UINT id;
    const char* watched;
};
const RuleText kWatchedTexts[] = {
    {IDC_SAVEPROMPT_RULE_ASK, "不自动保存旁观的牌局,每次都提示"},
    {IDC_SAVEPROMPT_RULE_AUTO, "自动保存旁观的牌局,不再提示"},
    {IDC_SAVEPROMPT_RULE_NEVER, "不自动保存旁观的牌局,也不再提示"},
};

}  // namespace

BEGIN_MESSAGE_MAP(CSavePromptDlg, CSkinDlg)
    ON_BN_CLICKED(IDC_SAVEPROMPT_APPLY, OnApply)
    ON_CONTROL_RANGE(BN_CLICKED, IDC_SAVEPROMPT_RULE_ASK, IDC_SAVEPROMPT_RULE_NEVER, OnRuleClicked)
    ON_WM_TIMER()
    ON_WM_CTLCOLOR()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CSavePromptDlg::CSavePromptDlg(CWnd* pParent)
    : CSkinDlg(IDD_SAVEPROMPT, pParent), m_nSecondsLeft(gamedlg::kPromptSeconds)
{
    SetSkinSection("SavePrompt");
}

CSavePromptDlg::~CSavePromptDlg()
{
    // The save-as dialog is released by the Save step once its modal call
    // has returned; nothing can be left here unless that step was unwound.
    delete m_pFileDialog;
}

void CSavePromptDlg::DoDataExchange(CDataExchange* pDX)
{
    CSkinDlg::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_SAVEPROMPT_RULE_ASK, m_nSaveRule);
}

BOOL CSavePromptDlg::OnInitDialog()
{
    CSkinDlg::OnInitDialog();
    m_apply.AttachFromIni(this, IDC_SAVEPROMPT_APPLY, kSkinSection, "IDC_SETQUIT");
    m_save.AttachFromIni(this, IDOK, kSkinSection, "IDOK");
    m_discard.AttachFromIni(this, IDCANCEL, kSkinSection, "IDCANCEL");
    if (CWnd* apply = GetDlgItem(IDC_SAVEPROMPT_APPLY))
        apply->EnableWindow(FALSE);
    if (Watching()) {
        for (const RuleText& t : kWatchedTexts)
            SetDlgItemText(t.id, t.watched);
    }
    SetTimer(kCountdownTimer, m_nPeriod, NULL);
    return TRUE;
}

void CSavePromptDlg::OnRuleClicked(UINT)
{
    if (CWnd* apply = GetDlgItem(IDC_SAVEPROMPT_APPLY))
        apply->EnableWindow(TRUE);
}

void CSavePromptDlg::Finish(int nResult)
{
    KillTimer(kCountdownTimer);
    EndDialog(nResult);
}

void CSavePromptDlg::OnOK()
{
    if (m_pRecord == NULL || m_bTimedOut || !UpdateData(TRUE))
        return;
    const CString name = m_pRecord->MakeFileName();
    delete m_pFileDialog;
    m_pFileDialog = new CFileDialog(FALSE, "peg", name, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kFilter, this);
    const INT_PTR result = m_pFileDialog->DoModal();
    // Released only now that its modal call has returned, also when the
    // countdown closed it.
    const CString path = m_pFileDialog->GetPathName();
    delete m_pFileDialog;
    m_pFileDialog = NULL;
    if (result != IDOK || m_bTimedOut)
        return;
    // A failed write has been reported by the record; the hand is still
    // there to be saved elsewhere.
    if (!m_pRecord->WriteFile(path))
        return;
    Finish(IDOK);
}

void CSavePromptDlg::OnCancel()
{
    if (m_pFileDialog != NULL || m_bBrowseOpen)
        return;
    Finish(IDCANCEL);
}

void CSavePromptDlg::OnApply()
{
    if (m_pRecord == NULL || m_bTimedOut || m_bBrowseOpen || !UpdateData(TRUE))
        return;
    m_bBrowseOpen = TRUE;
    const BOOL bWatching = Watching();
    if (m_nSaveRule == gamedlg::kRuleAutomatic) {
        CString folder;
        const BOOL bChosen = BrowseForFolder(folder);
        if (!bChosen || m_bTimedOut) {
            m_bBrowseOpen = FALSE;
            return;
        }
        // The hand just ended goes into the new folder under its default
        // name; when it cannot be written there the old folder stays and
        // the player is still asked.
        const CString oldFolder = m_pRecord->GetSaveFolder();
        m_pRecord->SetSaveFolder(folder);
        if (!m_pRecord->WriteFile(m_pRecord->MakeFileName())) {
            m_pRecord->SetSaveFolder(oldFolder);
            m_bBrowseOpen = FALSE;
            return;
        }
    }
    m_pRecord->SetSaveRule(bWatching, m_nSaveRule);
    m_pRecord->SaveSettings();
    m_bBrowseOpen = FALSE;
    Finish(IDCANCEL);
}

int CALLBACK CSavePromptDlg::BrowseCallback(HWND hWnd, UINT uMsg, LPARAM, LPARAM lpData)
{
    if (uMsg == BFFM_INITIALIZED)
        reinterpret_cast<CSavePromptDlg*>(lpData)->m_hBrowser = hWnd;
    return 0;
}

BOOL CSavePromptDlg::BrowseForFolder(CString& rFolder)
{
    char display[MAX_PATH] = "";
    BROWSEINFOA bi = {};
    bi.hwndOwner = m_hWnd;
    bi.pszDisplayName = display;
    bi.lpszTitle = kBrowseTitle;
    bi.ulFlags = BIF_RETURNONLYFSDIRS;
    bi.lpfn = BrowseCallback;
    bi.lParam = reinterpret_cast<LPARAM>(this);
    LPITEMIDLIST pidl = ::SHBrowseForFolderA(&bi);
    m_hBrowser = NULL;
    if (pidl == NULL)
        return FALSE;
    char path[MAX_PATH] = "";
    const BOOL bOk = ::SHGetPathFromIDListA(pidl, path) && path[0] != '\0';
    ::CoTaskMemFree(pidl);
    if (bOk)
        rFolder = path;
    return bOk;
}

void CSavePromptDlg::TimeOut()
{
    if (m_pFileDialog != NULL) {
        // The save-as dialog's frame is the parent of the window the object
        // holds while it runs; until it exists the next tick tries again.
        HWND hInner = m_pFileDialog->GetSafeHwnd();
        HWND hFrame = hInner != NULL ? ::GetParent(hInner) : NULL;
        if (hFrame == NULL)
            return;
        ::PostMessage(hFrame, WM_COMMAND, IDCANCEL, 0);
    } else if (m_bBrowseOpen && m_nSaveRule == gamedlg::kRuleAutomatic) {
        // Only the prompt's own browser: other windows of that title are
        // not ours to close.
        if (m_hBrowser == NULL)
            return;
        ::PostMessage(m_hBrowser, WM_COMMAND, IDCANCEL, 0);
    }
    m_bTimedOut = TRUE;
    Finish(IDCANCEL);
}

void CSavePromptDlg::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != kCountdownTimer) {
        CSkinDlg::OnTimer(nIDEvent);
        return;
    }
    if (m_bTimedOut)
        return;
    const gamedlg::CountdownTick tick = gamedlg::TickCountdown(m_nSecondsLeft);
    if (tick.expired) {
        TimeOut();
        return;
    }
    CString text;
    text.Format("%d", tick.shown);
    SetDlgItemText(IDC_SAVEPROMPT_COUNT, text);
    Invalidate();
}

HBRUSH CSavePromptDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    // The skin's text colour, then the skin shows through the controls.
    CSkinDlg::OnCtlColor(pDC, pWnd, nCtlColor);
    pDC->SetBkMode(TRANSPARENT);
    return (HBRUSH)::GetStockObject(NULL_BRUSH);
}

void CSavePromptDlg::OnDestroy()
{
    KillTimer(kCountdownTimer);
    CSkinDlg::OnDestroy();
}
