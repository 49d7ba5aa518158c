// The saved-game record of the table: while online it keeps the server's
// messages of the current hand (peg::Record decides which), and at the
// hand's end it saves them as a ".peg" file, asking first or not as the
// user's settings say.
#pragma once

#include "afxwin.h"

#include "PegFile.h"
#include "SavedGameFile.h"

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

    const peg::Record& Record() const { return m_record; }
    int m_nSaveAction = kSaveAsk;
    int m_nWatchSaveAction = kSaveAsk;
    CString m_strSaveFolder;
    CString m_strLastSaved;

private:
    peg::Record m_record;
};
