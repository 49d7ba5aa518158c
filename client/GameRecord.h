// The saved-game record of the table: while online it keeps the server's
// messages of the current hand (peg::Record decides which), and at the
// hand's end it saves them as a ".peg" file, asking first or not as the
// user's settings say.
#pragma once

#include "afxwin.h"

#include "PegFile.h"
#include "ReplayStepper.h"
#include "SavedGameFile.h"

class CReplayPanelDlg;

// Save actions of "SaveAction" and "SPSaveAction".
constexpr int kSaveAsk = 0;
constexpr int kSaveAutomatic = 1;

class CGameRecord
{
public:
    CGameRecord() = default;

    // "SaveAction" (0), "SPSaveAction" (0) and "AutoSavePath" (empty: the
    // program's folder and "\save") of the profile section "Settings".
    void LoadSettings();
    void SaveSettings();

    // A message the table received, the whole block of `size` bytes.
    peg::RecordResult RecordMessage(const uint8_t* message, size_t size, const peg::Record::Names& names,
                                    uint32_t seat);

    // At a hand's end: asks, saves or does neither, with receiving stopped
    // meanwhile. The path written, empty when nothing was.
    CString PromptSave(BOOL bOnline, BOOL bWatching);
    // The path of a new saved game in the save folder (created when missing).
    CString MakeFileName(BOOL bWatching);
    SaveFileResult WriteFile(LPCSTR lpszPath);

    // ---- Replay of a saved game (local mode) -----------------------------------------
    // Reads and checks the whole file, then puts the recorded names on the
    // seats, makes the recorded seat the own seat and prepares the hand on
    // the board. A file that fails is reported and leaves the open game.
    BOOL OpenFile(LPCSTR lpszPath);
    // The open game from its start again (the file is not read again).
    void Restart();
    void PrepareReplay();
    void StepForward();
    void StepBack();
    void StepRound();
    void StepRoundBack();
    // Sets the replay panel's buttons for a position.
    void UpdateButtons(int nPosition);
    int IndexOf(const uint8_t* pMessage) const;
    int PrevStepIndex(const uint8_t* pMessage) const;
    int PrevStepOfSeat(const uint8_t* pMessage) const;
    const replay::CReplayStepper& Replay() const { return m_replay; }
    CReplayPanelDlg* m_pReplayPanel = NULL;
    int m_nReplaySeat = 0;
    int m_nReplayOutcome = replay::kOutcomeNone;

    const peg::Record& Record() const { return m_record; }
    int m_nSaveAction = kSaveAsk;
    int m_nWatchSaveAction = kSaveAsk;
    CString m_strSaveFolder;
    CString m_strLastSaved;

private:
    void FillSeatsFromFile();
    void Step(void (replay::CReplayStepper::*step)(replay::ReplayTarget&));

    peg::Record m_record;
    replay::CReplayStepper m_replay;
};
