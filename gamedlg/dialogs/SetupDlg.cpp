#include "SetupDlg.h"

#include <shlobj.h>

#include "DialogRules.h"
#include "afxext.h"
#include "gamedlg_ids.h"

namespace {

const char kSkinSection[] = "QVDLG_setup";
const char kPictureFilter[] = "Bitmap files (*.bmp)|*.bmp|All files (*.*)|*.*||";
const char kMusicFilter[] = "MID files (*.mid)|*.mid|All files (*.*)|*.*||";
// Hide read-only, the path and the file must exist.
constexpr DWORD kOpenFlags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;   // 0x1804

struct SkinnedButton {
    UINT id;
    const char* key;
};
const SkinnedButton kSkinnedButtons[8] = {
    {IDOK, "IDOK"},
    {IDCANCEL, "IDCANCEL"},
    {IDC_SETUP_BG_COLOUR_PICK, "IDC_BKCOLOR"},
    {IDC_SETUP_BG_PICTURE_PICK, "IDC_BKBMP"},
    {IDC_SETUP_MUSIC_PICK, "IDC_MUSIC"},
    {IDC_SETUP_SHOT_PICK, "IDC_MUSIC"},
    {IDC_SETUP_VIDEO_PICK, "IDC_MUSIC"},
    {IDC_SETUP_SAVE_PICK, "IDC_MUSIC"},
};

}  // namespace

BEGIN_MESSAGE_MAP(CSetupDlg, CSkinDlg)
    ON_BN_CLICKED(IDC_SETUP_BG_COLOUR_PICK, OnPickColour)
    ON_BN_CLICKED(IDC_SETUP_BG_PICTURE_PICK, OnPickPicture)
    ON_BN_CLICKED(IDC_SETUP_MUSIC_PICK, OnPickMusic)
    ON_BN_CLICKED(IDC_SETUP_SOUND, OnSoundClicked)
    ON_BN_CLICKED(IDC_SETUP_MUSIC, OnMusicClicked)
    ON_BN_CLICKED(IDC_SETUP_SHOT_PICK, OnPickShotFolder)
    ON_BN_CLICKED(IDC_SETUP_VIDEO_PICK, OnPickVideoFolder)
    ON_BN_CLICKED(IDC_SETUP_SAVE_PICK, OnPickSaveFolder)
END_MESSAGE_MAP()

CSetupDlg::CSetupDlg(BOOL bAllowWatching, CWnd* pParent)
    : CSkinDlg(IDD_SETUP, pParent), m_bAllowWatching(bAllowWatching ? 1 : 0)
{
    SetSkinSection("setup");
}

void CSetupDlg::DoDataExchange(CDataExchange* pDX)
{
    CSkinDlg::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_SETUP_ALLOW_WATCH, m_bAllowWatching);
    DDX_Radio(pDX, IDC_SETUP_BG_DEFAULT, m_nBackground);
    DDX_Check(pDX, IDC_SETUP_MUSIC, m_bMusic);
    DDX_Check(pDX, IDC_SETUP_SOUND, m_bSoundEffects);
    DDX_Check(pDX, IDC_SETUP_SCORE_BOX, m_bScoreBox);
    DDX_Check(pDX, IDC_SETUP_TILE, m_bTile);
    DDX_Check(pDX, IDC_SETUP_SMALL_CARDS, m_bSmallCards);
    DDX_Radio(pDX, IDC_SETUP_CLOCKWISE, m_nPlayOrder);
    DDX_Check(pDX, IDC_SETUP_SCROLL_TIPS, m_bScrollTips);
    DDX_Text(pDX, IDC_SETUP_SHOT_FOLDER, m_strShotFolder);
    DDX_Text(pDX, IDC_SETUP_VIDEO_FOLDER, m_strVideoFolder);
    DDX_Radio(pDX, IDC_SETUP_OWN_ASK, m_nOwnRule);
    DDX_Radio(pDX, IDC_SETUP_WATCH_ASK, m_nWatchedRule);
    DDX_Text(pDX, IDC_SETUP_SAVE_FOLDER, m_strSaveFolder);
    DDX_Check(pDX, IDC_SETUP_PERSONAL, m_bPersonalData);
}

BOOL CSetupDlg::OnInitDialog()
{
    CSkinDlg::OnInitDialog();
    if (m_bWatchingLock) {
        if (CWnd* p = GetDlgItem(IDC_SETUP_ALLOW_WATCH))
            p->EnableWindow(FALSE);
    }
    for (int i = 0; i < 8; i++)
        m_buttons[i].AttachFromIni(this, kSkinnedButtons[i].id, kSkinSection, kSkinnedButtons[i].key);
    if (!m_bPersonalDataAvailable) {
        if (CWnd* p = GetDlgItem(IDC_SETUP_PERSONAL))
            p->EnableWindow(FALSE);
    }
    UpdateData(FALSE);
    m_nBackground = m_nSavedBackground;
    UpdateData(FALSE);
    UpdateEnabling();
    SendMessage(DM_SETDEFID, IDCANCEL, 0);
    if (CWnd* cancel = GetDlgItem(IDCANCEL))
        GotoDlgCtrl(cancel);
    return FALSE;
}

void CSetupDlg::OnOK()
{
    CSkinDlg::OnOK();
    m_nSavedBackground = m_nBackground;
}

void CSetupDlg::UpdateEnabling()
{
    const bool sound = IsDlgButtonChecked(IDC_SETUP_SOUND) != 0;
    const bool music = IsDlgButtonChecked(IDC_SETUP_MUSIC) != 0;
    const gamedlg::SetupEnabling e = gamedlg::SetupEnablingFor(sound, music);
    if (CWnd* p = GetDlgItem(IDC_SETUP_MUSIC))
        p->EnableWindow(e.music);
    if (CWnd* p = GetDlgItem(IDC_SETUP_MUSIC_PICK))
        p->EnableWindow(e.musicPicker);
}

void CSetupDlg::OnSoundClicked() { UpdateEnabling(); }
void CSetupDlg::OnMusicClicked() { UpdateEnabling(); }

BOOL CSetupDlg::PickColour(COLORREF& rColour)
{
    CColorDialog dlg(rColour, 0, this);
    if (dlg.DoModal() != IDOK)
        return FALSE;
    rColour = dlg.GetColor();
    return TRUE;
}

BOOL CSetupDlg::PickFile(LPCSTR lpszFilter, CString& rPath)
{
    CFileDialog dlg(TRUE, NULL, rPath, kOpenFlags, lpszFilter, this);
    if (dlg.DoModal() != IDOK)
        return FALSE;
    rPath = dlg.GetPathName();
    return TRUE;
}

int CALLBACK CSetupDlg::BrowseCallback(HWND hWnd, UINT uMsg, LPARAM, LPARAM lpData)
{
    if (uMsg == BFFM_INITIALIZED) {
        if (lpData != 0)
            ::SendMessageA(hWnd, BFFM_SETSELECTIONA, TRUE, lpData);
        ::SetWindowPos(hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
    return 0;
}

BOOL CSetupDlg::PickFolder(LPCSTR lpszTitle, CString& rFolder)
{
    char display[MAX_PATH] = "";
    BROWSEINFOA bi = {};
    bi.hwndOwner = m_hWnd;
    bi.pszDisplayName = display;
    bi.lpszTitle = lpszTitle;
    bi.ulFlags = BIF_RETURNONLYFSDIRS;
    bi.lpfn = BrowseCallback;
    bi.lParam = reinterpret_cast<LPARAM>(rFolder.IsEmpty() ? NULL : (LPCSTR)rFolder);
    LPITEMIDLIST pidl = ::SHBrowseForFolderA(&bi);
    if (pidl == NULL)
        return FALSE;
    char path[MAX_PATH] = "";
    const BOOL bOk = ::SHGetPathFromIDListA(pidl, path) && path[0] != '\0';
    ::CoTaskMemFree(pidl);
    if (bOk)
        rFolder = path;
    return bOk;
}

void CSetupDlg::OnPickColour()
{
    COLORREF colour = m_crBackground;
    if (!PickColour(colour))
        return;
    UpdateData(TRUE);
    m_crBackground = colour;
    m_nBackground = 1;
    UpdateData(FALSE);
}

void CSetupDlg::OnPickPicture()
{
    CString path = m_strPicture;
    if (!PickFile(kPictureFilter, path))
        return;
    UpdateData(TRUE);
    m_strPicture = path;
    m_nBackground = 2;
    UpdateData(FALSE);
}

void CSetupDlg::OnPickMusic()
{
    CString path = m_strMusicFile;
    if (!PickFile(kMusicFilter, path))
        return;
    UpdateData(TRUE);
    m_strMusicFile = path;
    m_bMusic = 1;
    UpdateData(FALSE);
    UpdateEnabling();
}

void CSetupDlg::PickFolderInto(LPCSTR lpszTitle, CString& rFolder)
{
    UpdateData(TRUE);
    CString folder = rFolder;
    if (PickFolder(lpszTitle, folder))
        rFolder = folder;
    UpdateData(FALSE);
}

void CSetupDlg::OnPickShotFolder() { PickFolderInto("请选择截图保存目录:", m_strShotFolder); }
void CSetupDlg::OnPickVideoFolder() { PickFolderInto("请选择录像文件保存目录:", m_strVideoFolder); }
void CSetupDlg::OnPickSaveFolder() { PickFolderInto("请选择牌局文件保存目录:", m_strSaveFolder); }
