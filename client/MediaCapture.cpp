#include "MediaCapture.h"

#include <cstdarg>
#include <cstdio>

const char kRecorderMissingText[] = "系统文件丢失，无法进行录像，请重装客户端后再试。";
const char kRecorderStartMissingText[] = "启动录像失败，请稍候再试。";
const char kRecordStartedText[] = "您启动游戏录像成功，再次点击结束录像";

namespace {

// Paths go into buffers of 260 characters with their terminator.
constexpr size_t kMaxPathChars = 259;

std::string Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Printf(const char* format, ...)
{
    char buffer[1024];
    va_list args;
    va_start(args, format);
    const int n = vsnprintf(buffer, sizeof(buffer), format, args);
    va_end(args);
    if (n < 0)
        return std::string();
    if ((size_t)n < sizeof(buffer))
        return std::string(buffer, (size_t)n);
    std::string text((size_t)n + 1, '\0');
    va_start(args, format);
    vsnprintf(&text[0], text.size(), format, args);
    va_end(args);
    text.resize((size_t)n);
    return text;
}

}  // namespace

std::string ChatLinePrefix(uint32_t colour, int size)
{
    return Printf("\r\n<s=%d,c=#%02X#%02X#%02X,b>", size, (unsigned)(colour & 0xFF), (unsigned)((colour >> 8) & 0xFF),
                  (unsigned)((colour >> 16) & 0xFF));
}

std::string ChatLine(const std::string& text, uint32_t colour, int size)
{
    return ChatLinePrefix(colour, size) + text;
}

std::string MediaFolder(const std::string& configured, const std::string& programFolder, const char* sub)
{
    if (!configured.empty())
        return configured;
    std::string folder = programFolder;
    if (!folder.empty() && (folder.back() == '\\' || folder.back() == '/'))
        folder.pop_back();
    return folder + "\\" + sub;
}

std::string SnapshotFileName(const std::string& folder, const MediaTime& t)
{
    return Printf("%s\\%04d年%02d月%02d日%02d时%02d分%02d秒%03d.jpg", folder.c_str(), t.year, t.month, t.day, t.hour,
                  t.minute, t.second, t.millisecond);
}

std::string RecordFileName(const std::string& folder, const MediaTime& t,
                           const std::function<bool(const std::string&)>& exists)
{
    for (int n = 1; n <= kMaxRecordCounter; n++) {
        std::string name = Printf("%s\\%04d%02d%02d%02d%02d%02d%03d.avi", folder.c_str(), t.year, t.month, t.day,
                                  t.hour, t.minute, t.second, n);
        // A name the recorder cannot take is no name at all.
        if (name.size() > kMaxPathChars)
            return std::string();
        if (!exists(name))
            return name;
    }
    return std::string();
}

std::string SnapshotSavedText(const std::string& format, const std::string& path)
{
    // The format comes from the resource library: only its one "%s" is
    // filled, any other "%" is shown as it is.
    std::string text;
    bool filled = false;
    for (size_t i = 0; i < format.size(); i++) {
        if (format[i] == '%' && i + 1 < format.size()) {
            if (format[i + 1] == 's' && !filled) {
                text += path;
                filled = true;
                i++;
                continue;
            }
            if (format[i + 1] == '%') {
                text += '%';
                i++;
                continue;
            }
        }
        text += format[i];
    }
    return text;
}

std::string FolderFullText(const std::string& folder)
{
    return Printf("请清理文件夹%s后再试。", folder.c_str());
}

std::string RecordDoneText(int code, const std::string& path)
{
    if (code == 0)
        return Printf("本盘游戏录像已完成,录像保存在%s", path.c_str());
    return Printf("本盘游戏录像失败(错误代码%d)，请稍候再试。", code);
}

// ---- The recording's control ----------------------------------------------------------------

void CRecordingControl::Toggle()
{
    if (!m_host.HasRecorder()) {
        m_host.ShowLine(kRecorderMissingText);
        return;
    }
    if (m_recording) {
        Stop(kStopByUser);
        return;
    }
    if (!m_host.HasStartEntry()) {
        m_host.ShowLine(kRecorderStartMissingText);
        return;
    }
    m_path = m_host.NewRecordPath();
    if (m_path.size() < kMinRecordPathLength)
        return;
    m_host.KeepFrameNotTopmost();
    if (m_host.StartRecorder(m_path) == 0) {
        // The recorder has told its code through the report; the button
        // keeps its normal look and the next press tries again.
        m_host.KeepFrameNotTopmost();
        return;
    }
    m_host.ShowLine(kRecordStartedText);
    m_recording = true;
    m_host.SetRecordingLook(true);
}

void CRecordingControl::BackToIdle()
{
    m_host.SetRecordingLook(false);
    m_recording = false;
    m_host.KeepFrameNotTopmost();
}

void CRecordingControl::Stop(int reason)
{
    if (!m_recording)
        return;
    BackToIdle();
    if (m_host.HasRecorder()) {
        m_host.StopRecorder(reason);
        if (reason == kStopClosing)
            m_host.LetRecorderFinish();
    }
}

void CRecordingControl::OnRecordDone(int code)
{
    m_host.ShowLine(RecordDoneText(code, m_path));
    if (m_recording)
        BackToIdle();
}
