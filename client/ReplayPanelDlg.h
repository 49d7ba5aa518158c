// CReplayPanelDlg: the panel beside the table in local mode, where a saved
// game is opened and stepped through. Six buttons over a picture: open,
// restart, previous and next step, previous and next round; the saved-game
// record does the work and sets the buttons for each position.
#pragma once

#include "afxwin.h"

#include "QVBitmap.h"
#include "ReplayStepper.h"

class CGameRecord;

class CReplayPanelDlg : public CDialog
{
public:
    explicit CReplayPanelDlg(CGameRecord& record, CWnd* pParent = NULL);
    ~CReplayPanelDlg() override;

    // The buttons for a position of the open game.
    void SetButtons(const replay::ReplayButtons& buttons);
    void EnableAllButtons();
    // The name the open button's dialog starts with: the save folder (or the
    // profile's "AutoSavePath") and "\*.peg" until a file was opened, then
    // the last file chosen.
    CString InitialFileName() const;
    const CString& LastPath() const { return m_strLastPath; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnPaint();
    void OnSize(UINT nType, int cx, int cy);
    void OnOpen();
    void OnRestart();
    void OnNextStep();
    void OnNextRound();
    void OnPreviousRound();
    void OnPreviousStep();
    DECLARE_MESSAGE_MAP()

private:
    void EnableButton(int nId, BOOL bEnable);
    void KeepTemplatePlaces();

    CGameRecord& m_record;
    CQVBitmap m_background;
    BOOL m_bNoFileYet = TRUE;
    CString m_strLastPath;
    // The buttons' places in the template (open, restart, previous step,
    // next step, previous round, next round).
    CRect m_places[6];
    BOOL m_bPlacesKept = FALSE;
};
