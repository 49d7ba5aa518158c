// Screenshots and video recordings of the main frame, without a window: the
// names of the picture and video files, the chat's system lines that tell
// the user about them, and the recording's control (start, stop, the
// recorder's report) over a host that does the platform's part.
//
// The recording control keeps the recording flag and the recording path. Its
// host owns the recording library and the frame's video caption button; the
// button shows its recording look exactly while the flag is set, so a start
// the recorder refuses leaves it as it was. The recorder's report reaches
// OnRecordDone on the frame's own thread (the host posts it there).
//
// Texts are code page 936 at run time, like every text of the client.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

// The local time the names are made from.
struct MediaTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
};

// The prefix of a chat system line: "\r\n<s=size,c=#RR#GG#BB,b>" from a
// COLORREF (red in the low byte).
std::string ChatLinePrefix(uint32_t colour, int size);
// The prefix and the text.
std::string ChatLine(const std::string& text, uint32_t colour, int size);
// The colour and size of the screenshot and recording lines: blue, 10.
constexpr uint32_t kSystemLineColour = 0x00FF0000;
constexpr int kSystemLineSize = 10;

// The folder of pictures or videos: the configured one, else the program's
// folder (with or without a final backslash) and "\" + sub.
std::string MediaFolder(const std::string& configured, const std::string& programFolder, const char* sub);
constexpr char kSnapshotSubfolder[] = "snapshot";
constexpr char kVideoSubfolder[] = "Video";

// "<folder>\YYYY年MM月DD日HH时MM分SS秒mmm.jpg".
std::string SnapshotFileName(const std::string& folder, const MediaTime& time);

// The first "<folder>\YYYYMMDDhhmmssNNN.avi" with NNN from 001 to 999 for
// which exists() is false; empty when all 999 exist.
constexpr int kMaxRecordCounter = 999;
std::string RecordFileName(const std::string& folder, const MediaTime& time,
                           const std::function<bool(const std::string&)>& exists);

// The system lines of screenshots and recordings.
std::string SnapshotSavedText(const std::string& format, const std::string& path);
std::string FolderFullText(const std::string& folder);
std::string RecordDoneText(int code, const std::string& path);

// A recording path shorter than this is no name (MakeRecordFileName found none).
constexpr size_t kMinRecordPathLength = 19;
// Stop reasons: the user's toggle or the end of a hand, and the frame closing.
constexpr int kStopByUser = 0;
constexpr int kStopClosing = 2;

// What the recording control asks of the frame.
class IRecorderHost
{
public:
    virtual ~IRecorderHost() = default;
    // The recording library is loaded.
    virtual bool HasRecorder() = 0;
    // The library exports "StartRecord".
    virtual bool HasStartEntry() = 0;
    // Calls "StartRecord" for the frame's window rectangle with the path; its
    // result (0: refused, the recorder has reported why).
    virtual int StartRecorder(const std::string& path) = 0;
    // Calls "StopRecord" with the reason when the library exports it.
    virtual void StopRecorder(int reason) = 0;
    // A new video path, or empty (the host has told the user why).
    virtual std::string NewRecordPath() = 0;
    virtual void ShowLine(const std::string& text) = 0;
    // The video caption button's look: recording or normal.
    virtual void SetRecordingLook(bool recording) = 0;
    // The frame made not topmost and shown.
    virtual void KeepFrameNotTopmost() = 0;
    // After a stop for closing: lets the recorder finish its file.
    virtual void LetRecorderFinish() = 0;
};

class CRecordingControl
{
public:
    explicit CRecordingControl(IRecorderHost& host) : m_host(host) {}

    // Caption key 7 and Ctrl+R: stops a running recording, else starts one.
    void Toggle();
    // Stops a running recording; nothing when none runs.
    void Stop(int reason);
    // The recorder's report, on the frame's thread.
    void OnRecordDone(int code);

    bool IsRecording() const { return m_recording; }
    const std::string& Path() const { return m_path; }

private:
    void BackToIdle();

    IRecorderHost& m_host;
    bool m_recording = false;
    std::string m_path;
};

// The texts the control shows.
extern const char kRecorderMissingText[];
extern const char kRecorderStartMissingText[];
extern const char kRecordStartedText[];
