// The saved-game record in local mode: opening a saved game and stepping
// through it on the table (replay::CReplayStepper does the work; this file
// binds it to the application, the table window and the replay panel).
#include "GameRecord.h"

#include "ClientServices.h"
#include "GameClientApp.h"
#include "GameWnd.h"
#include "MainFrame.h"
#include "ReplayPanelDlg.h"

namespace {

const char kSettings[] = "Settings";
// Most characters of the file name in the title.
constexpr int kTitleNameLength = 128;

// The table window and the board as the replay uses them.
class CTableReplayTarget : public replay::ReplayTarget
{
public:
    CTableReplayTarget(CGameClientApp& app, CGameRecord& record) : m_app(app), m_record(record) {}

    BoardGameState* State() override { return *m_app.m_state.Slot(); }
    int32_t BoardEvent(int32_t code, int32_t a, int32_t b, void* param) override
    {
        return m_app.m_pGameWnd != NULL ? m_app.m_pGameWnd->BoardEvent(code, a, b, param) : 0;
    }
    void FeedMessage(uint8_t* message, size_t size) override
    {
        if (m_app.m_pGameWnd != NULL)
            m_app.m_pGameWnd->OnGameMessage(message, size);
    }
    void SetOutcome(int outcome) override { m_record.m_nReplayOutcome = outcome; }
    void Repaint() override
    {
        if (m_app.m_pGameWnd != NULL && m_app.m_pGameWnd->GetSafeHwnd() != NULL)
            m_app.m_pGameWnd->Invalidate(FALSE);
    }
    void UpdateButtons(int position, const replay::ReplayButtons& /*buttons*/) override
    {
        m_record.UpdateButtons(position);
    }

private:
    CGameClientApp& m_app;
    CGameRecord& m_record;
};

std::vector<uint8_t> ReadWholeFile(LPCSTR lpszPath, int* pError)
{
    std::vector<uint8_t> bytes;
    *pError = 0;
    HANDLE file = ::CreateFileA(lpszPath, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        *pError = 1;
        return bytes;
    }
    LARGE_INTEGER size = {};
    if (!::GetFileSizeEx(file, &size) || size.QuadPart > (LONGLONG)peg::kMaxFileSize) {
        ::CloseHandle(file);
        *pError = 3;
        return bytes;
    }
    try {
        bytes.resize((size_t)size.QuadPart);
    } catch (...) {
        ::CloseHandle(file);
        *pError = 2;
        bytes.clear();
        return bytes;
    }
    DWORD read = 0;
    const BOOL ok = bytes.empty() || ::ReadFile(file, bytes.data(), (DWORD)bytes.size(), &read, NULL);
    ::CloseHandle(file);
    if (!ok || read != bytes.size()) {
        *pError = 2;
        bytes.clear();
    }
    return bytes;
}

// The file's name after its last backslash, in its long form.
CString TitleNameOf(LPCSTR lpszPath)
{
    char longPath[MAX_PATH] = "";
    const DWORD n = ::GetLongPathNameA(lpszPath, longPath, MAX_PATH);
    CString path = (n > 0 && n < MAX_PATH) ? CString(longPath) : CString(lpszPath);
    const int slash = path.ReverseFind('\\');
    CString name = slash >= 0 ? path.Mid(slash + 1) : path;
    if (name.GetLength() > kTitleNameLength)
        name = name.Left(kTitleNameLength);
    return name;
}

void LogPosition(const replay::CReplayStepper& replay, const BoardGameState* state)
{
    CString line;
    line.Format("[Replay] %d/%d", replay.Position(), replay.StepCount());
    if (state != NULL) {
        CString hands = " hands";
        for (int s = 0; s < kBoardSeats; s++) {
            CString one;
            one.Format(" %u", (unsigned)state->seats[s].cardsInHand);
            hands += one;
        }
        line += hands;
    }
    WriteGameLog(line);
}

}  // namespace

void CGameRecord::FillSeatsFromFile()
{
    CGameClientApp* app = GetClientApp();
    if (app == NULL || !m_replay.Loaded())
        return;
    const peg::Info& info = m_replay.Game().file.info;
    const int count = app->m_nPlayerCount < kTableSeats ? app->m_nPlayerCount : kTableSeats;
    for (int i = 0; i < count; i++) {
        SeatLayoutRecord& seat = app->m_seats[i];
        memset(seat.userName, 0, sizeof(seat.userName));
        memset(seat.nickName, 0, sizeof(seat.nickName));
        strncpy(seat.userName, info.userNames[i], sizeof(seat.userName) - 1);
        strncpy(seat.nickName, info.nickNames[i], sizeof(seat.nickName) - 1);
        seat.chair = (uint16_t)i;
    }
    m_nReplaySeat = (int)info.seat;
}

BOOL CGameRecord::OpenFile(LPCSTR lpszPath)
{
    CGameClientApp* app = GetClientApp();
    if (app == NULL || lpszPath == NULL)
        return FALSE;
    // The new game is read and checked whole before the open one is let go,
    // so a file that fails leaves the open game as it was.
    int error = 0;
    std::vector<uint8_t> bytes = ReadWholeFile(lpszPath, &error);
    if (error == 1) {
        ShowMessageText("打开存盘文件失败", MB_ICONEXCLAMATION);
        return FALSE;
    }
    if (error == 2 || (error == 0 && bytes.size() < peg::kHeaderSize)) {
        ShowMessageText("读取文件失败", MB_ICONEXCLAMATION);
        return FALSE;
    }
    replay::ReplayGame game;
    const replay::LoadStatus status = error == 0 ? replay::LoadGame(std::move(bytes), &game) : replay::kLoadBadFile;
    if (status != replay::kLoadOk) {
        CString line;
        line.Format("[OpenFile] %s: %s", lpszPath, replay::LoadStatusText(status));
        WriteGameLog(line);
        ShowMessageText("文件错误, 无法打开", MB_ICONEXCLAMATION);
        return FALSE;
    }

    // The recorded seat is the table's own seat.
    const int seat = (int)game.file.info.seat;
    m_replay.Take(std::move(game));
    FillSeatsFromFile();
    app->SetOwnSeat(seat);
    app->UpdateSeatViews();

    CTableReplayTarget target(*app, *this);
    BOOL ok = target.BoardEvent(replay::kEvLiveFlag, -1, app->IsOnline() ? 1 : 0, NULL) > 0;
    if (ok) {
        BoardPlayerRecord identity = {};
        identity.seat = (uint8_t)seat;
        strncpy(identity.userName, app->OwnUserName(), sizeof(identity.userName) - 1);
        ok = target.BoardEvent(replay::kEvIdentity, -1, -1, &identity) > 0;
    }
    if (!ok) {
        WriteGameLog("[OpenFile] the board refused the replay");
        m_replay.Clear();
        UpdateButtons(0);
        return FALSE;
    }
    PrepareReplay();

    CString title;
    title.Format("Mardavel (单机版) (打开存盘文件：%s)", (LPCSTR)TitleNameOf(lpszPath));
    if (CWnd* frame = AfxGetMainWnd()) {
        frame->SetWindowText(title);
        frame->SendMessage(WM_NCPAINT, 1, 0);
    }
    CString line;
    line.Format("[OpenFile] %s: %d plays", lpszPath, m_replay.StepCount());
    WriteGameLog(line);
    return TRUE;
}

void CGameRecord::PrepareReplay()
{
    CGameClientApp* app = GetClientApp();
    if (app == NULL || !m_replay.Loaded())
        return;
    CTableReplayTarget target(*app, *this);
    const int sortMode = (int)app->GetProfileInt(kSettings, "SortMode", 1);
    m_replay.Prepare(target, sortMode);
    LogPosition(m_replay, target.State());
}

void CGameRecord::Restart()
{
    if (!m_replay.Loaded())
        return;
    FillSeatsFromFile();
    PrepareReplay();
}

void CGameRecord::StepForward() { Step(&replay::CReplayStepper::StepForward); }
void CGameRecord::StepBack() { Step(&replay::CReplayStepper::StepBack); }
void CGameRecord::StepRound() { Step(&replay::CReplayStepper::StepRound); }
void CGameRecord::StepRoundBack() { Step(&replay::CReplayStepper::StepRoundBack); }

void CGameRecord::Step(void (replay::CReplayStepper::*step)(replay::ReplayTarget&))
{
    CGameClientApp* app = GetClientApp();
    if (app == NULL || !m_replay.Loaded())
        return;
    CTableReplayTarget target(*app, *this);
    (m_replay.*step)(target);
    LogPosition(m_replay, target.State());
}

void CGameRecord::UpdateButtons(int nPosition)
{
    if (m_pReplayPanel != NULL && m_pReplayPanel->GetSafeHwnd() != NULL)
        m_pReplayPanel->SetButtons(replay::ButtonsAt(nPosition, m_replay.Loaded() ? m_replay.StepCount() : 0));
}

int CGameRecord::IndexOf(const uint8_t* pMessage) const { return m_replay.IndexOf(pMessage); }
int CGameRecord::PrevStepIndex(const uint8_t* pMessage) const { return m_replay.PrevStepIndex(pMessage); }
int CGameRecord::PrevStepOfSeat(const uint8_t* pMessage) const { return m_replay.PrevStepOfSeat(pMessage); }
