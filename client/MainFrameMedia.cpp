// The main frame's screenshots and recordings: the caption keys 6 and 7 (and
// Ctrl+S, Ctrl+R) run here. The recording's rules are CRecordingControl's
// (MediaCapture.h); this file is its host on the frame: the recording
// library's exports, the video caption button's look, the chat control's
// system lines. The recorder reports from its capture thread, so its
// callback posts the code to the frame's window and everything else happens
// on the frame's own thread.
#include "MainFrame.h"

#include <cstring>

#include "ClientServices.h"
#include "GameClientApp.h"
#include "GameEnvironment.h"
#include "MediaCapture.h"
#include "SpliteGrid.h"
#include "client_ids.h"
#include "store/FilePaths.h"
#include "QVChatEx.h"

namespace {

// The recording library's two exports.
typedef int(__cdecl* StartRecordProc)(int left, int top, int right, int bottom, int drawCursor, int withSound,
                                      const char* path, void(__cdecl* callback)(void*, int), void* user);
typedef int(__cdecl* StopRecordProc)(int reason);

constexpr char kSettingsSubKey[] = "Game\\Mardavel\\Settings";

// How long the frame lets a recorder that was told to stop finish its file
// before the close goes on.
constexpr DWORD kRecorderFinishMs = 500;

template <typename Proc>
Proc Export(HMODULE module, const char* name)
{
    if (module == NULL)
        return NULL;
    return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

}  // namespace

// ---- The recording control's host --------------------------------------------------------------

class CFrameRecorderHost : public IRecorderHost
{
public:
    explicit CFrameRecorderHost(CMainFrame& frame) : m_frame(frame) {}

    bool HasRecorder() override { return m_frame.m_hRecorder != NULL; }
    bool HasStartEntry() override { return Export<StartRecordProc>(m_frame.m_hRecorder, "StartRecord") != NULL; }

    int StartRecorder(const std::string& path) override
    {
        StartRecordProc start = Export<StartRecordProc>(m_frame.m_hRecorder, "StartRecord");
        if (start == NULL)
            return 0;
        CRect rect;
        m_frame.GetWindowRect(&rect);
        // The user value is the frame's window, not the frame object: a
        // report that comes after the frame has gone finds no window.
        return start(rect.left, rect.top, rect.right, rect.bottom, 1, 0, path.c_str(), &CMainFrame::RecordCallback,
                     (void*)m_frame.GetSafeHwnd());
    }

    void StopRecorder(int reason) override
    {
        if (StopRecordProc stop = Export<StopRecordProc>(m_frame.m_hRecorder, "StopRecord"))
            stop(reason);
    }

    std::string NewRecordPath() override
    {
        char path[MAX_PATH] = "";
        m_frame.MakeRecordFileName(path);
        return path;
    }

    void ShowLine(const std::string& text) override { m_frame.ShowSystemLine(text.c_str()); }

    void SetRecordingLook(bool recording) override
    {
        CBkButton* button = m_frame.m_pVideoButton;
        if (button == NULL)
            return;
        button->SetOtherState(recording ? TRUE : FALSE, TRUE);
        button->SetShown(TRUE, TRUE);
        CString line;
        line.Format("[SetRecordingLook] %s", recording ? "recording" : "normal");
        m_frame.WriteLog(line);
    }

    void KeepFrameNotTopmost() override
    {
        m_frame.SetWindowPos(&CWnd::wndNoTopMost, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
    }

    void LetRecorderFinish() override { ::Sleep(kRecorderFinishMs); }

private:
    CMainFrame& m_frame;
};

void CMainFrame::CreateRecordingControl()
{
    m_pRecorderHost = new CFrameRecorderHost(*this);
    m_pRecording = new CRecordingControl(*m_pRecorderHost);
}

void CMainFrame::DeleteRecordingControl()
{
    delete m_pRecording;
    m_pRecording = NULL;
    delete m_pRecorderHost;
    m_pRecorderHost = NULL;
}

// ---- Lines, screenshots, recordings -------------------------------------------------------------

void CMainFrame::ShowSystemLine(LPCSTR text)
{
    if (text == NULL)
        return;
    CString log;
    log.Format("[ShowSystemLine] %s", text);
    WriteLog(log);
    CGameClientApp* app = GetClientApp();
    if (app == NULL || app->m_pChat == NULL || app->m_pChat->GetSafeHwnd() == NULL)
        return;
    app->m_pChat->CallDispid75(ChatLine(text, kSystemLineColour, kSystemLineSize).c_str());
}

void CMainFrame::TakeScreenshot()
{
    CGameClientApp* app = GetClientApp();
    char path[MAX_PATH] = "";
    if (app == NULL || !app->SaveSnapshot(path, 80))
        return;
    CString format;
    format.LoadString(IDS_CLIENT_SNAPSHOT_SAVED);
    ShowSystemLine(SnapshotSavedText((LPCSTR)format, path).c_str());
}

void CMainFrame::ToggleRecording()
{
    if (m_pRecording != NULL)
        m_pRecording->Toggle();
}

void CMainFrame::StopRecording(int reason)
{
    if (m_pRecording != NULL)
        m_pRecording->Stop(reason);
}

BOOL CMainFrame::IsRecording() const { return m_pRecording != NULL && m_pRecording->IsRecording(); }

void CMainFrame::MakeRecordFileName(char* buffer)
{
    if (buffer == NULL)
        return;
    buffer[0] = '\0';
    char configured[MAX_PATH] = "";
    ReadGameRegValue(kSettingsSubKey, "VideoDir", configured, sizeof(configured), "");
    const std::string folder = MediaFolder(configured, GetProgramFolder(), kVideoSubfolder);
    CreateDirectoryPath(folder.c_str());
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    const MediaTime time = {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond,
                            now.wMilliseconds};
    const std::string name = RecordFileName(folder, time, [](const std::string& path) {
        return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    });
    if (name.empty()) {
        ShowSystemLine(FolderFullText(folder).c_str());
        return;
    }
    lstrcpynA(buffer, name.c_str(), MAX_PATH);
}

void __cdecl CMainFrame::RecordCallback(void* user, int code)
{
    HWND frame = reinterpret_cast<HWND>(user);
    if (frame != NULL && ::IsWindow(frame))
        ::PostMessageA(frame, WM_RECORD_DONE, (WPARAM)code, 0);
}

LRESULT CMainFrame::OnRecordDone(WPARAM wParam, LPARAM)
{
    CString log;
    log.Format("[OnRecordDone] code %d thread %lu", (int)wParam, (unsigned long)::GetCurrentThreadId());
    WriteLog(log);
    if (m_pRecording != NULL)
        m_pRecording->OnRecordDone((int)wParam);
    return 0;
}
