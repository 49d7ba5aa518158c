// Screenshot and video names, the chat's system lines, and the recording's
// control against a host that writes down what it is asked.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "MediaCapture.h"

namespace {

const MediaTime kTime = {2026, 3, 7, 9, 5, 4, 42};

TEST(MediaCaptureTest, ChatLinePrefix)
{
    struct Case {
        const char* what;
        uint32_t colour;
        int size;
        const char* prefix;
    };
    const Case cases[] = {
        {"blue at size 10: the blue part is the third", 0x00FF0000, 10, "\r\n<s=10,c=#00#00#FF,b>"},
        {"red is the low byte of the colour", 0x000000FF, 12, "\r\n<s=12,c=#FF#00#00,b>"},
        {"each part two upper-case digits", 0x000A0B0C, 9, "\r\n<s=9,c=#0C#0B#0A,b>"},
        {"the high byte of the colour is not a part", 0xFF000000, 10, "\r\n<s=10,c=#00#00#00,b>"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChatLinePrefix(c.colour, c.size), c.prefix) << c.what;
    EXPECT_EQ(ChatLine("ok", kSystemLineColour, kSystemLineSize), "\r\n<s=10,c=#00#00#FF,b>ok");
}

TEST(MediaCaptureTest, Folders)
{
    struct Case {
        const char* what;
        const char* configured;
        const char* program;
        const char* sub;
        const char* folder;
    };
    const Case cases[] = {
        {"the configured folder wins", "D:\\shots", "C:\\game", kSnapshotSubfolder, "D:\\shots"},
        {"none configured: under the program's folder", "", "C:\\game", kSnapshotSubfolder, "C:\\game\\snapshot"},
        {"a program folder with its final backslash", "", "C:\\game\\", kVideoSubfolder, "C:\\game\\Video"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MediaFolder(c.configured, c.program, c.sub), c.folder) << c.what;
}

TEST(MediaCaptureTest, SnapshotNameCarriesTheMillisecond)
{
    EXPECT_EQ(SnapshotFileName("C:\\s", kTime), "C:\\s\\2026年03月07日09时05分04秒042.jpg");
}

TEST(MediaCaptureTest, RecordNameCounter)
{
    struct Case {
        const char* what;
        int existing;  // names 1..existing exist
        const char* name;
    };
    const Case cases[] = {
        {"a free second: 001", 0, "C:\\v\\20260307090504001.avi"},
        {"001 taken (two starts in one second): 002", 1, "C:\\v\\20260307090504002.avi"},
        {"998 taken: the last name", 998, "C:\\v\\20260307090504999.avi"},
        {"all 999 taken: no name", 999, ""},
    };
    for (const Case& c : cases) {
        std::vector<std::string> asked;
        const std::string name = RecordFileName("C:\\v", kTime, [&](const std::string& path) {
            asked.push_back(path);
            return (int)asked.size() <= c.existing;
        });
        EXPECT_EQ(name, c.name) << c.what;
        EXPECT_EQ(asked.size(), (size_t)std::min(c.existing + 1, kMaxRecordCounter)) << c.what;
    }
}

TEST(MediaCaptureTest, RecordNameTooLongForTheRecorderIsNoName)
{
    const std::string folder(240, 'f');  // + 22 characters of name: 262
    EXPECT_EQ(RecordFileName(folder, kTime, [](const std::string&) { return false; }), "");
    const std::string fits(237, 'f');  // 259
    EXPECT_EQ(RecordFileName(fits, kTime, [](const std::string&) { return false; }).size(), 259u);
}

TEST(MediaCaptureTest, Texts)
{
    struct Case {
        const char* what;
        std::string text;
        const char* expected;
    };
    const Case cases[] = {
        {"screenshot line from the resource format", SnapshotSavedText("您成功截图，截图文件保存在：%s。", "C:\\a.jpg"),
         "您成功截图，截图文件保存在：C:\\a.jpg。"},
        {"a format with other conversions shows them as they are", SnapshotSavedText("%d %s %s 100%%", "p"),
         "%d p %s 100%"},
        {"a path with a percent sign is not a format", SnapshotSavedText("at %s", "C:\\100%s"), "at C:\\100%s"},
        {"recording written", RecordDoneText(0, "C:\\v\\1.avi"), "本盘游戏录像已完成,录像保存在C:\\v\\1.avi"},
        {"recording failed with the recorder's code", RecordDoneText(12, "C:\\v\\1.avi"),
         "本盘游戏录像失败(错误代码12)，请稍候再试。"},
        {"folder full", FolderFullText("C:\\v"), "请清理文件夹C:\\v后再试。"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.text, c.expected) << c.what;
}

// ---- The recording's control --------------------------------------------------------------------

class FakeRecorderHost : public IRecorderHost
{
public:
    bool hasRecorder = true;
    bool hasStart = true;
    int startResult = 1;
    std::string path = "C:\\game\\Video\\20260307090504001.avi";
    bool recordingLook = false;
    std::vector<std::string> log;

    bool HasRecorder() override { return hasRecorder; }
    bool HasStartEntry() override { return hasStart; }
    int StartRecorder(const std::string& p) override
    {
        log.push_back("start " + p);
        return startResult;
    }
    void StopRecorder(int reason) override { log.push_back("stop " + std::to_string(reason)); }
    std::string NewRecordPath() override { return path; }
    void ShowLine(const std::string& text) override { log.push_back("line " + text); }
    void SetRecordingLook(bool recording) override
    {
        recordingLook = recording;
        log.push_back(recording ? "look recording" : "look normal");
    }
    void KeepFrameNotTopmost() override { log.push_back("not topmost"); }
    void LetRecorderFinish() override { log.push_back("finish"); }
};

using Log = std::vector<std::string>;
const std::string kPath = "C:\\game\\Video\\20260307090504001.avi";

TEST(RecordingControlTest, StartingFromIdle)
{
    struct Case {
        const char* what;
        bool hasRecorder, hasStart;
        std::string path;
        int startResult;
        bool recording;
        Log log;
    };
    const Case cases[] = {
        {"no library: its line, nothing else", false, true, kPath, 1, false, {std::string("line ") + kRecorderMissingText}},
        {"no StartRecord: its line, nothing else", true, false, kPath, 1, false,
         {std::string("line ") + kRecorderStartMissingText}},
        {"no free name (the host told why): nothing", true, true, "", 1, false, {}},
        {"a path of 18 characters is no name", true, true, "C:\\v\\123456789.avi", 1, false, {}},
        {"started: line, flag, recording look", true, true, kPath, 1, true,
         {"not topmost", "start " + kPath, std::string("line ") + kRecordStartedText, "look recording"}},
        {"refused: the look stays normal and no line of ours", true, true, kPath, 0, false,
         {"not topmost", "start " + kPath, "not topmost"}},
    };
    for (const Case& c : cases) {
        FakeRecorderHost host;
        host.hasRecorder = c.hasRecorder;
        host.hasStart = c.hasStart;
        host.path = c.path;
        host.startResult = c.startResult;
        CRecordingControl control(host);
        control.Toggle();
        EXPECT_EQ(control.IsRecording(), c.recording) << c.what;
        EXPECT_EQ(host.recordingLook, c.recording) << c.what;
        EXPECT_EQ(host.log, c.log) << c.what;
    }
}

TEST(RecordingControlTest, StoppingAndReports)
{
    struct Case {
        const char* what;
        bool start;                  // a recording runs first
        std::vector<int> steps;      // >= 0: a report with that code; -1 toggle; -10 - reason: Stop(reason)
        bool recording;
        Log log;                     // after the start
    };
    const Case cases[] = {
        {"toggled again: stop with reason 0, the look back", true, {-1}, false,
         {"look normal", "not topmost", "stop 0"}},
        {"the stop's report afterwards: the done line only", true, {-1, 0}, false,
         {"look normal", "not topmost", "stop 0", "line " + RecordDoneText(0, kPath)}},
        {"closing: reason 2, then the recorder finishes its file", true, {-12}, false,
         {"look normal", "not topmost", "stop 2", "finish"}},
        {"the recorder ends by itself (code 0): line, look back, flag clear", true, {0}, false,
         {"line " + RecordDoneText(0, kPath), "look normal", "not topmost"}},
        {"the recorder fails after the start: the code's line, idle again", true, {12}, false,
         {"line " + RecordDoneText(12, kPath), "look normal", "not topmost"}},
        {"a stop while idle does nothing", false, {-10, -12}, false, {}},
        {"a refused start's report: only the line", false, {1}, false, {"line " + RecordDoneText(1, kPath)}},
    };
    for (const Case& c : cases) {
        FakeRecorderHost host;
        CRecordingControl control(host);
        if (c.start) {
            control.Toggle();
            ASSERT_TRUE(control.IsRecording()) << c.what;
        }
        host.log.clear();
        for (int step : c.steps) {
            if (step >= 0)
                control.OnRecordDone(step);
            else if (step == -1)
                control.Toggle();
            else
                control.Stop(-10 - step);
        }
        EXPECT_EQ(control.IsRecording(), c.recording) << c.what;
        EXPECT_FALSE(host.recordingLook) << c.what;
        EXPECT_EQ(host.log, c.log) << c.what;
    }
}

TEST(RecordingControlTest, StopWithTheLibraryGoneStillGoesIdle)
{
    FakeRecorderHost host;
    CRecordingControl control(host);
    control.Toggle();
    host.hasRecorder = false;
    host.log.clear();
    control.Stop(kStopClosing);
    EXPECT_FALSE(control.IsRecording());
    EXPECT_EQ(host.log, (Log{"look normal", "not topmost"}));
}

}  // namespace
