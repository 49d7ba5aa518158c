// The table window's online-time task: the server's task messages (status,
// definition, progress, the stage verdict and the result), the task timer
// that counts the online seconds and reports each stage, the reward blink,
// the task files in the per-user folder that bring the task back after a
// restart, and the prize commands. The task's rules are CTaskState's
// (TaskRewards.h); nothing of this runs while watching.
#include "GameWnd.h"

#include <gdiplus.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "Bitmaps.h"
#include "ClientPaths.h"
#include "ClientServices.h"
#include "GameClientApp.h"
#include "MardavelBoard.h"
#include "MsgPack.h"
#include "PngButton.h"
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
            m_bTaskShown = TRUE;
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
            m_bTaskShown = TRUE;
            WriteTaskFile(m_task.result);
            UpdatePrizeButtons();
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
    UpdatePrizeButtons();
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
    if (read) {
        m_taskFileLoaded[dwResult] = TRUE;
        m_bTaskShown = TRUE;
    }
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

// ---- The task panel ---------------------------------------------------------------------------------

namespace {

const char kDetailsCaption[] = "点击了解详情";
const char kTaskFontFace[] = "宋体";
constexpr COLORREF kTaskTitleColour = RGB(255, 255, 255);
constexpr COLORREF kDetailsColour = RGB(255, 255, 0);
constexpr COLORREF kDetailsHoverColour = RGB(255, 0, 0);
constexpr int kTaskTitleHeight = 13;
constexpr int kDetailsHeight = 12;
// The title's top above the area's middle: on the panel, and over the bar.
constexpr int kPanelTitleRise = 10;
constexpr int kProgressTitleRise = 20;
constexpr int kDetailsDrop = 9;
constexpr int kPrizeStates = 4;

// The pictures of "\rewards" the panel draws: the empty and the full bar,
// and the reward icon's two blink looks.
const char kBarEmpty[] = "TaskTime.bmp";
const char kBarFull[] = "TaskIn.bmp";
const char* const kRewardIcon[2] = {"Button_Frame1.bmp", "Button_Frame2.bmp"};
const char* const kRewardPictures[] = {"TaskTime.bmp",      "Colon.bmp",         "Button_BK.bmp",
                                       "Button_Frame1.bmp", "Button_Frame2.bmp", "TaskIn.bmp"};

struct PrizeButtonDef {
    int id;
    const char* picture;
};
const PrizeButtonDef kPrizeButtons[] = {
    {kBtnPrizeFetch, "PrizeReceive.bmp"},
    {kBtnPrizeDraw, "PrizeDraw.bmp"},
    {kBtnLookUp, "LookUp.bmp"},
};

// A bitmap file as a GDI+ picture (the buttons' kind); null when it cannot
// be read.
GdiplusPicture* LoadButtonPicture(const CString& path)
{
    const int n = ::MultiByteToWideChar(CP_ACP, 0, path, -1, NULL, 0);
    if (n <= 0)
        return NULL;
    std::wstring wide((size_t)n, L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, path, -1, &wide[0], n);
    std::unique_ptr<GdiplusPicture> picture(new GdiplusPicture);
    picture->image = Gdiplus::Bitmap::FromFile(wide.c_str());
    if (!GetImageSize(picture.get()))
        return NULL;
    return picture.release();
}

CRect Rect(const LayoutRect& r) { return CRect(r.left, r.top, r.right, r.bottom); }

}  // namespace

void CGameWnd::CreateTaskPanel()
{
    m_taskFont.CreateFont(kTaskTitleHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, kTaskFontFace);
    m_detailsFont.CreateFont(kDetailsHeight, 0, 0, 0, FW_NORMAL, FALSE, TRUE, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, kTaskFontFace);
    // A reward picture that does not load draws nothing; the table goes on.
    const CString folder = GetThemePath(2) + "\\rewards\\";
    for (const char* name : kRewardPictures) {
        std::unique_ptr<CTableImage> image(new CTableImage);
        if (image->LoadBitmapFile(folder + name))
            image->MakeKeyTransparent();
        m_pictures.rewards[name] = std::move(image);
    }
    for (const PrizeButtonDef& def : kPrizeButtons) {
        std::unique_ptr<CTableImage> picture(new CTableImage);
        GdiplusPicture* loaded = LoadButtonPicture(folder + def.picture);
        std::unique_ptr<CPngButton> button(new CPngButton);
        if (loaded == NULL || !picture->FromPicture(loaded) ||
            !button->Create("", WS_CHILD | BS_OWNERDRAW, CRect(0, 0, 0, 0), this, (UINT)def.id) ||
            !button->Init((UINT)def.id, picture->Picture()->image, kButtonClickSound, kPrizeStates, 0)) {
            CString line;
            line.Format("[CreateTaskPanel] prize button %d not made", def.id);
            WriteGameLog(line);
            continue;
        }
        if (m_tooltip.GetSafeHwnd() != NULL)
            m_tooltip.AddTool(button.get(), "");
        m_pictures.rewards[def.picture] = std::move(picture);
        m_buttons.push_back(std::move(button));
        m_buttonIds.push_back(def.id);
    }
}

void CGameWnd::LayoutTaskArea(int cx, SIZE tool)
{
    CGameClientApp* app = GetClientApp();
    if (app == NULL || tool.cx <= 0 || tool.cy <= 0)
        return;
    // Below the name of the seat at view position 4, above the upper tool row.
    const int seat = app->m_views[4];
    const SeatLayoutRecord& r = app->m_seats[seat >= 0 && seat < kTableSeats ? seat : 0];
    int upperRow = 0x7FFFFFFF;
    CRect client;
    GetClientRect(&client);
    for (const ButtonPlace& place : ToolButtonPlaces(cx, client.bottom, tool.cx, tool.cy))
        upperRow = place.y < upperRow ? place.y : upperRow;
    m_taskArea = TaskArea(cx, r.nameTop + r.nameHeight, tool.cx, upperRow);
    for (int id : {kBtnPrizeFetch, kBtnPrizeDraw, kBtnLookUp})
        if (CPngButton* button = DYNAMIC_DOWNCAST(CPngButton, TableButton(id))) {
            SIZE size = {0, 0};
            button->GetImageInfo(&size);
            const LayoutSize at = PrizeButtonPlace(m_taskArea, size.cx);
            button->SetWindowPos(NULL, at.cx, at.cy, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
        }
}

void CGameWnd::UpdatePrizeButtons()
{
    BOOL fetch = FALSE, draw = FALSE, lookUp = FALSE;
    const int stage = m_task.PrizeStage();
    if (m_bTaskShown && !IsWatching()) {
        if (m_bRewardAvailable && stage >= 0) {
            fetch = m_task.stages[stage].kind == 0;
            draw = !fetch;
        } else if (m_task.result == kTaskDone || m_task.result == kTaskExpired) {
            lookUp = TRUE;
        }
    }
    const int shownPrize = fetch ? kBtnPrizeFetch : (draw ? kBtnPrizeDraw : 0);
    if (shownPrize != 0 && m_tooltip.GetSafeHwnd() != NULL)
        if (CWnd* button = TableButton(shownPrize)) {
            const TaskStage& s = m_task.stages[stage];
            m_tooltip.UpdateTipText(CString(s.tip, (int)strnlen(s.tip, sizeof s.tip)), button);
        }
    const struct {
        int id;
        BOOL show;
    } wanted[] = {{kBtnPrizeFetch, fetch}, {kBtnPrizeDraw, draw}, {kBtnLookUp, lookUp}};
    for (const auto& w : wanted)
        if (CWnd* button = TableButton(w.id))
            if (((button->GetStyle() & WS_VISIBLE) != 0) != (w.show != FALSE))
                button->ShowWindow(w.show ? SW_SHOWNA : SW_HIDE);
}

BOOL CGameWnd::IsOverDetails(CPoint point) const
{
    return m_bTaskShown && m_task.result == kTaskNoEvent && m_detailsRect.Contains(point.x, point.y);
}

void CGameWnd::DrawTaskPanel(CDC& dc)
{
    CGameClientApp* app = GetClientApp();
    if (app == NULL || !app->IsOnline() || IsWatching() || !m_bTaskShown || m_taskArea.IsEmpty()) {
        UpdatePrizeButtons();
        return;
    }
    const int centreX = (m_taskArea.left + m_taskArea.right) / 2;
    const int middle = (m_taskArea.top + m_taskArea.bottom) / 2;
    const BOOL idleBeforeFirstHand =
        app->m_state.Exists() && app->m_state.Phase() == kPhaseIdle && app->m_state.Get()->handsFinished == 0;
    const BOOL progress = m_task.result == kTaskInProgress && !idleBeforeFirstHand;
    const int oldMode = dc.SetBkMode(TRANSPARENT);
    const COLORREF oldColour = dc.SetTextColor(kTaskTitleColour);
    CFont* oldFont = dc.SelectObject(&m_taskFont);
    const int titleTop = middle - (progress ? kProgressTitleRise : kPanelTitleRise);
    CRect title(m_taskArea.left, titleTop, m_taskArea.right, titleTop + kTaskTitleHeight + 2);
    dc.DrawText(CString(m_task.title.c_str()), title, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
    m_detailsRect = LayoutRect();
    if (progress) {
        const CTableImage& empty = m_pictures.Rewards(kBarEmpty);
        const CTableImage& full = m_pictures.Rewards(kBarFull);
        m_taskBar = TaskBarRect(m_taskArea, LayoutSize{empty.Width(), empty.Height()});
        if (empty.IsLoaded())
            empty.Draw(dc.GetSafeHdc(), m_taskBar.left, m_taskBar.top);
        const int filled = TaskBarFill(m_task.stages, m_task.elapsed, m_taskBar.Width());
        if (full.IsLoaded() && filled > 0) {
            const int width = filled < full.Width() ? filled : full.Width();
            full.Draw(dc.GetSafeHdc(), m_taskBar.left, m_taskBar.top, width, full.Height(), 0, 0, width, full.Height());
        }
    } else if (m_task.result == kTaskNoEvent) {
        dc.SelectObject(&m_detailsFont);
        const CString caption(kDetailsCaption);
        const CSize size = dc.GetTextExtent(caption);
        m_detailsRect.left = centreX - size.cx / 2;
        m_detailsRect.top = middle + kDetailsDrop;
        m_detailsRect.right = m_detailsRect.left + size.cx;
        m_detailsRect.bottom = m_detailsRect.top + size.cy;
        dc.SetTextColor(m_bDetailsHover ? kDetailsHoverColour : kDetailsColour);
        CRect box = Rect(m_detailsRect);
        dc.DrawText(caption, box, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
    }
    if (m_bRewardAvailable) {
        const CTableImage& icon = m_pictures.Rewards(kRewardIcon[m_bRewardBlink ? 1 : 0]);
        if (icon.IsLoaded()) {
            const LayoutSize at = RewardIconPlace(m_taskArea, LayoutSize{icon.Width(), icon.Height()});
            icon.Draw(dc.GetSafeHdc(), at.cx, at.cy);
        }
    }
    dc.SelectObject(oldFont);
    dc.SetTextColor(oldColour);
    dc.SetBkMode(oldMode);
    UpdatePrizeButtons();
}

void CGameWnd::UpdateDetailsHover(CPoint point)
{
    const BOOL over = IsOverDetails(point);
    if (over)
        ::SetCursor(::LoadCursor(NULL, IDC_HAND));
    if (over == m_bDetailsHover)
        return;
    m_bDetailsHover = over;
    CRect caption = Rect(m_detailsRect);
    InvalidateRect(caption, FALSE);
}

BOOL CGameWnd::OpenDetailsAt(CPoint point)
{
    if (!IsOverDetails(point) || IsWatching())
        return FALSE;
    const std::string address =
        m_task.PrizeAddress([this](const std::string& text) { return std::string((LPCSTR)ExpandAddress(text.c_str())); });
    if (!address.empty())
        OpenWebAddress(address.c_str());
    return TRUE;
}
