// The table window's online-time task: the server's task messages (status,
// definition, progress, the stage verdict and the result), the task timer
// that counts the online seconds and reports each stage, the reward blink,
// the task files in the per-user folder that bring the task back after a
// restart, and the prize commands. The task's rules are CTaskState's
// (TaskRewards.h); nothing of this runs while watching.
#include "GameWnd.h"

#include <cstdio>
#include <string>
#include <vector>

#include "ClientPaths.h"
#include "ClientServices.h"
#include "GameClientApp.h"
#include "MardavelBoard.h"
#include "MsgPack.h"
#include "TaskRewards.h"

namespace {

const char kStageRefusedText[] = "网络异常，任务校验失败，您的任务进度被重置!";
constexpr COLORREF kTaskLineColour = RGB(0, 0, 255);
constexpr int kTaskLineSize = 10;
constexpr UINT kTaskTimerMs = 1000;
constexpr UINT kRewardBlinkMs = 350;
// The largest task file there is.
constexpr size_t kTaskFileLimit = sizeof(TaskInFileImage);

std::string TaskFilePath(uint32_t result)
{
    const char* name = TaskFileName(result);
    if (name == NULL)
        return std::string();
    CString folder = GetUserDataFolder();
    if (folder.IsEmpty())
        return std::string();
    if (folder.Right(1) == "\\")
        folder = folder.Left(folder.GetLength() - 1);
    return std::string((LPCSTR)folder) + name;
}

// At most `limit` bytes of a file; empty when it cannot be opened.
std::vector<uint8_t> ReadFileBytes(const std::string& path, size_t limit)
{
    std::vector<uint8_t> bytes;
    FILE* file = fopen(path.c_str(), "rb");
    if (file == NULL)
        return bytes;
    bytes.resize(limit);
    bytes.resize(fread(bytes.data(), 1, limit, file));
    fclose(file);
    return bytes;
}

}  // namespace

void CGameWnd::OnTaskMessage(const uint8_t* pMessage, size_t nSize)
{
    if (IsWatching() || pMessage == NULL || nSize < 8)
        return;
    const NetMsgHeader* header = reinterpret_cast<const NetMsgHeader*>(pMessage);
    const size_t headerSize = MsgHeaderSize(header->id);
    if (nSize < headerSize)
        return;
    const uint8_t* body = pMessage + headerSize;
    const size_t length = nSize - headerSize;
    bool ok = false;
    switch (header->id) {
    case kMsgTaskStatus: {
        TaskStatusBody status;
        if ((ok = ParseTaskStatus(body, length, &status)) == true)
            OnTaskStatus(status.key, status.result);
        break;
    }
    case kMsgTaskDefinition: {
        TaskDefinitionBody definition;
        if ((ok = ParseTaskDefinition(body, length, &definition)) == true) {
            m_task.ApplyDefinition(definition);
            WriteTaskFile(kTaskInProgress);
        }
        break;
    }
    case kMsgTaskProgress: {
        TaskProgressBody progress;
        if ((ok = ParseTaskProgress(body, length, &progress)) == true) {
            m_task.ApplyProgress(progress.elapsed);
            if (progress.startCounting != 0)
                SetTimer(kTimerTask, kTaskTimerMs, NULL);
        }
        break;
    }
    case kMsgStageReached: {
        uint32_t verdict = 0;
        if ((ok = ParseStageReply(body, length, &verdict)) == true)
            OnStageVerdict(verdict);
        break;
    }
    case kMsgTaskResult: {
        TaskResultBody result;
        if ((ok = ParseTaskResult(body, length, &result)) == true) {
            m_task.ApplyResult(result);
            if (result.stopCounting != 0) {
                KillTimer(kTimerTask);
                KillTimer(kTimerReward);
                m_bRewardAvailable = FALSE;
            }
            WriteTaskFile(m_task.result);
        }
        break;
    }
    default:
        return;
    }
    CString line;
    line.Format("[OnTaskMessage] 0x%X %s stage %d elapsed %d result %u", (unsigned)header->id,
                ok ? "taken" : "malformed, ignored", m_task.stagesReached, (int)m_task.elapsed,
                (unsigned)m_task.result);
    WriteGameLog(line);
    Invalidate(FALSE);
}

void CGameWnd::OnTaskStatus(uint32_t dwKey, uint32_t dwResult)
{
    m_task.key = dwKey;
    m_task.result = dwResult;
    if (ReadTaskFile(dwResult))
        return;
    CGameClientApp* app = GetClientApp();
    const BOOL idleBeforeFirstHand = app != NULL && app->m_state.Exists() && app->m_state.Phase() == kPhaseIdle &&
                                     app->m_state.Get()->handsFinished == 0;
    if (!idleBeforeFirstHand)
        return;
    uint8_t request[kTaskRequestSize];
    BuildTaskRequest(kMsgTaskRequest, OwnSeat(), dwResult, request);
    SendGameMessage(request);
}

void CGameWnd::OnStageVerdict(uint32_t dwVerdict)
{
    if (dwVerdict == kStageRefused) {
        KillTimer(kTimerTask);
        AppendChatLine(kStageRefusedText, kTaskLineColour, kTaskLineSize);
        m_task.RefuseStage();
        SetTimer(kTimerTask, kTaskTimerMs, NULL);
        return;
    }
    m_bRewardAvailable = TRUE;
    SetTimer(kTimerReward, kRewardBlinkMs, NULL);
}

BOOL CGameWnd::OnTaskTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == kTimerReward) {
        m_bRewardBlink = !m_bRewardBlink;
        Invalidate(FALSE);
        return TRUE;
    }
    if (nIDEvent != kTimerTask)
        return FALSE;
    const TaskTimerStep step = m_task.TimerStep();
    if (step.sendStage) {
        uint8_t message[kTaskRequestSize];
        BuildTaskRequest(kMsgStageReached, OwnSeat(), (uint32_t)m_task.elapsed, message);
        SendGameMessage(message);
    }
    if (step.stopTimer)
        KillTimer(kTimerTask);
    if (step.restartTimer)
        SetTimer(kTimerTask, kTaskTimerMs, NULL);
    if (step.repaint)
        Invalidate(FALSE);
    return TRUE;
}

BOOL CGameWnd::ReadTaskFile(uint32_t dwResult)
{
    if (dwResult > kTaskNoEvent || m_taskFileLoaded[dwResult])
        return FALSE;
    const std::vector<uint8_t> bytes = ReadFileBytes(TaskFilePath(dwResult), kTaskFileLimit);
    const BOOL read = dwResult == kTaskInProgress ? m_task.ReadTaskIn(bytes.data(), bytes.size(), m_task.key)
                                                  : m_task.ReadResult(bytes.data(), bytes.size(), m_task.key);
    if (read)
        m_taskFileLoaded[dwResult] = TRUE;
    return read;
}

BOOL CGameWnd::WriteTaskFile(uint32_t dwResult)
{
    const std::string path = TaskFilePath(dwResult);
    if (path.empty())
        return FALSE;
    const std::vector<uint8_t> existing = ReadFileBytes(path, 4);
    if (FileHoldsKey(existing.data(), existing.size(), m_task.key))
        return TRUE;
    const std::vector<uint8_t> image = dwResult == kTaskInProgress ? m_task.TaskInImage() : m_task.ResultImage();
    // Written beside and moved into place: a failed write leaves no file.
    const std::string temporary = path + ".tmp";
    FILE* file = fopen(temporary.c_str(), "wb");
    bool written = file != NULL && fwrite(image.data(), 1, image.size(), file) == image.size();
    if (file != NULL)
        written = fclose(file) == 0 && written;
    if (!written || !::MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        ::DeleteFileA(temporary.c_str());
        ::DeleteFileA(path.c_str());
        WriteGameLog("[WriteTaskFile] not written");
        return FALSE;
    }
    return TRUE;
}

void CGameWnd::OnPrizeCommand()
{
    KillTimer(kTimerReward);
    m_bRewardBlink = FALSE;
    Invalidate(FALSE);
    const std::string address =
        m_task.PrizeAddress([this](const std::string& text) { return std::string((LPCSTR)ExpandAddress(text.c_str())); });
    if (!address.empty())
        OpenWebAddress(address.c_str());
}
