// CSetupDlg: the player's options: sound effects and music, play order, the
// table's background (default pattern, colour or picture, tiled or not),
// watching, small cards, scrolling tips, the score box, the folders for
// screenshots, videos and saved games, the save rules of own and watched
// games, and the personal-data display.
//
// The dialog only exchanges values: the table window fills the public
// fields, runs it, and after IDOK reads them back and applies them. The
// colour, file and folder pickers are virtual so that tests answer them.
#pragma once

#include "afxwin.h"

#include "CoolButton.h"
#include "SkinDlg.h"

class CSetupDlg : public CSkinDlg
{
public:
    // bAllowWatching: the own seat's watching flag in the board's table
    // state (FALSE when there is none).
    explicit CSetupDlg(BOOL bAllowWatching = FALSE, CWnd* pParent = NULL);

    // ---- Exchanged with the controls -----------------------------------------------------
    int m_bAllowWatching;            // 230
    int m_nBackground = -1;          // 219 / 220 / 222: default, colour, picture
    int m_bMusic = 0;                // 226
    int m_bSoundEffects = 0;         // 225
    int m_bScoreBox = 0;             // 8007
    int m_bTile = 0;                 // 224
    int m_bSmallCards = 0;           // 231
    int m_nPlayOrder = 0;            // 228 / 229: clockwise, anticlockwise
    int m_bScrollTips = 0;           // 232
    CString m_strShotFolder;         // 1027
    CString m_strVideoFolder;        // 1030
    int m_nOwnRule = 0;              // 1025 / 1028 / 1029: ask, automatic, never
    int m_nWatchedRule = 0;          // 1033 / 1034 / 1035
    CString m_strSaveFolder;         // 8009
    int m_bPersonalData = 0;         // 340

    // ---- Set by the caller only -----------------------------------------------------------
    // FALSE disables the personal-data check box.
    int m_bPersonalDataAvailable = 0;
    // The background kind carried over the exchange: the caller puts the
    // kind in force here; after IDOK it holds the one chosen.
    int m_nSavedBackground = 0;
    COLORREF m_crBackground = 0;
    CString m_strPicture;
    CString m_strMusicFile;
    // The table client's lock on watching: disables the allow-watching box.
    BOOL m_bWatchingLock = FALSE;

protected:
    // The colour picker starting at rColour; TRUE with a colour chosen.
    virtual BOOL PickColour(COLORREF& rColour);
    // An open-file dialog starting at rPath with the filter; TRUE with a file.
    virtual BOOL PickFile(LPCSTR lpszFilter, CString& rPath);
    // The shell's folder browser (file-system folders only), opened at
    // rFolder and topmost; TRUE with a folder chosen.
    virtual BOOL PickFolder(LPCSTR lpszTitle, CString& rFolder);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    afx_msg void OnPickColour();
    afx_msg void OnPickPicture();
    afx_msg void OnPickMusic();
    afx_msg void OnSoundClicked();
    afx_msg void OnMusicClicked();
    afx_msg void OnPickShotFolder();
    afx_msg void OnPickVideoFolder();
    afx_msg void OnPickSaveFolder();
    DECLARE_MESSAGE_MAP()

private:
    static int CALLBACK BrowseCallback(HWND hWnd, UINT uMsg, LPARAM lParam, LPARAM lpData);
    void UpdateEnabling();
    void PickFolderInto(LPCSTR lpszTitle, CString& rFolder);

    CCoolButton m_buttons[8];
};
