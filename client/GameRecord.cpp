#include "GameRecord.h"

#include <ctime>

#include "ClientPaths.h"
#include "ClientServices.h"
#include "GameApp.h"
#include "SavePromptDlg.h"
#include "net/GameClientSocket.h"
#include "store/FilePaths.h"

namespace {

const char kSettings[] = "Settings";

std::tm LocalNow()
{
    const time_t now = time(NULL);
    std::tm when{};
    localtime_s(&when, &now);
    return when;
}

// What the save prompt uses of the record: the hand's default name, writing
// it, and the rules and folder it may change.
class CRecordForPrompt : public ISavePromptRecord
{
public:
    CRecordForPrompt(CGameRecord& record, BOOL bWatching) : m_record(record), m_bWatching(bWatching) {}
    const CString& Written() const { return m_strWritten; }

    BOOL IsWatching() const override { return m_bWatching; }
    CString MakeFileName() override { return m_record.MakeFileName(m_bWatching); }
    BOOL WriteFile(LPCSTR lpszPath) override
    {
        if (m_record.WriteFile(lpszPath) != kSaved)
            return FALSE;
        m_strWritten = lpszPath;
        return TRUE;
    }
    CString GetSaveFolder() const override { return m_record.m_strSaveFolder; }
    void SetSaveFolder(LPCSTR lpszFolder) override { m_record.m_strSaveFolder = lpszFolder; }
    void SetSaveRule(BOOL bWatched, int nRule) override
    {
        (bWatched ? m_record.m_nWatchSaveAction : m_record.m_nSaveAction) = nRule;
    }
    void SaveSettings() override { m_record.SaveSettings(); }

private:
    CGameRecord& m_record;
    BOOL m_bWatching;
    CString m_strWritten;
};

}  // namespace

void CGameRecord::LoadSettings()
{
    CWinApp* app = AfxGetApp();
    if (app == NULL)
        return;
    m_nSaveAction = (int)app->GetProfileInt(kSettings, "SaveAction", kSaveAsk);
    m_nWatchSaveAction = (int)app->GetProfileInt(kSettings, "SPSaveAction", kSaveAsk);
    m_strSaveFolder = app->GetProfileString(kSettings, "AutoSavePath", "");
    if (m_strSaveFolder.IsEmpty())
        m_strSaveFolder = GetExeFolder() + "\\save";
}

void CGameRecord::SaveSettings()
{
    CWinApp* app = AfxGetApp();
    if (app == NULL)
        return;
    app->WriteProfileInt(kSettings, "SaveAction", m_nSaveAction);
    app->WriteProfileInt(kSettings, "SPSaveAction", m_nWatchSaveAction);
    app->WriteProfileString(kSettings, "AutoSavePath", m_strSaveFolder);
}

peg::RecordResult CGameRecord::RecordMessage(const uint8_t* message, size_t size, const peg::Record::Names& names,
                                             uint32_t seat)
{
    const peg::RecordResult result = m_record.Take(message, size, names, seat, LocalNow());
    if (result == peg::kRecordBadLength)
        WriteGameLog("[RecordMessage] 错误的消息长度!");
    else if (result == peg::kRecordNoMemory)
        WriteGameLog("[RecordMessage] 存盘时分配内存错误!");
    return result;
}

CString CGameRecord::MakeFileName(BOOL bWatching)
{
    CString folder = m_strSaveFolder;
    if (folder.IsEmpty() && AfxGetApp() != NULL)
        folder = AfxGetApp()->GetProfileString(kSettings, "AutoSavePath", "");
    if (folder.IsEmpty())
        folder = GetExeFolder() + "\\save";
    while (folder.GetLength() > 3 && folder[folder.GetLength() - 1] == '\\')
        folder = folder.Left(folder.GetLength() - 1);
    return NewSavedGameName(folder, LocalNow(), bWatching);
}

SaveFileResult CGameRecord::WriteFile(LPCSTR lpszPath)
{
    const SaveFileResult result = WriteSavedGame(lpszPath, m_record);
    if (result == kSaveCannotCreate)
        MsgBoxText("存盘错误, 无法创建文件, 请检查存盘路径是否正确!", MB_ICONEXCLAMATION);
    else if (result == kSaveCannotWrite)
        MsgBoxText("存盘错误, 无法写文件!", MB_ICONEXCLAMATION);
    return result;
}

CString CGameRecord::PromptSave(BOOL bOnline, BOOL bWatching)
{
    CString saved;
    if (!bOnline || !m_record.Exists())
        return saved;
    theGameSocket.StopReceive();
    const int action = bWatching ? m_nWatchSaveAction : m_nSaveAction;
    if (action == kSaveAutomatic) {
        const CString path = MakeFileName(bWatching);
        if (WriteFile(path) == kSaved)
            saved = path;
    } else if (action == kSaveAsk) {
        // The prompt saves the hand itself when the player asks it to; on
        // OK the rule chosen in it becomes the rule in force.
        CRecordForPrompt link(*this, bWatching);
        CSavePromptDlg prompt(AfxGetMainWnd());
        prompt.SetRecord(&link);
        prompt.m_nSaveRule = action;
        if (prompt.DoModal() == IDOK)
            (bWatching ? m_nWatchSaveAction : m_nSaveAction) = prompt.m_nSaveRule;
        saved = link.Written();
    }
    // The hand has been offered: a later update between hands must not ask
    // or save it again.
    m_record.Clear();
    theGameSocket.StartReceive();
    if (!saved.IsEmpty()) {
        m_strLastSaved = saved;
        WriteGameLog("[PromptSave] saved " + saved);
    }
    return saved;
}
