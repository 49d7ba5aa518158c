// The online-time task, titles and honour without a window: the task's
// stage record and files, the server's task, title, honour, award and
// linked-notice bodies, the stage arithmetic and the task's state as the
// table window keeps it.
//
// Every body is read within its real length. A body whose counts or lengths
// run past its end, or whose addresses do not fit the 256-byte fields they
// are kept in (and written to disk in), is refused as a whole; texts are cut
// at their fields' ends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "TableLayout.h"

// ---- Records and files ----------------------------------------------------------------------------

#pragma pack(push, 1)
struct TaskStage {
    uint32_t minutes;   // online minutes to reach the stage
    uint32_t kind;      // 0 fetch the prize, 1 draw for it
    char tip[32];       // the prize button's tooltip
};
struct TaskInFileImage {
    uint32_t key;
    char title[64];
    uint32_t openThroughLogin;
    char drawAddress[256];
    char fetchAddress[256];
    char loginPrefix[256];
    TaskStage stages[4];
};
struct TaskResultFileImage {
    uint32_t key;
    char title[64];
    uint32_t openThroughLogin;
    char currentAddress[256];
    char loginPrefix[256];
};
struct TitleRecord {
    char title[40];      // may hold "**" marks
    uint32_t titleId;
    uint8_t unread[20];
};
#pragma pack(pop)
static_assert(sizeof(TaskStage) == 40, "task stage record is 40 bytes");
static_assert(sizeof(TaskInFileImage) == 1000, "TaskIn.dat is 1000 bytes");
static_assert(offsetof(TaskInFileImage, drawAddress) == 72, "TaskIn.dat layout");
static_assert(offsetof(TaskInFileImage, fetchAddress) == 328, "TaskIn.dat layout");
static_assert(offsetof(TaskInFileImage, loginPrefix) == 584, "TaskIn.dat layout");
static_assert(offsetof(TaskInFileImage, stages) == 840, "TaskIn.dat layout");
static_assert(sizeof(TaskResultFileImage) == 584, "task result files are 584 bytes");
static_assert(offsetof(TaskResultFileImage, loginPrefix) == 328, "task result file layout");
static_assert(sizeof(TitleRecord) == 64, "title record is 64 bytes");
static_assert(offsetof(TitleRecord, titleId) == 40, "title record layout");

constexpr int kTaskStages = 4;
constexpr size_t kMaxAddressChars = 255;   // an address field with its terminator

// Result kinds, which also name the task files.
enum TaskResult : uint32_t {
    kTaskInProgress = 0,
    kTaskDone = 1,
    kTaskExpired = 2,
    kTaskNoEvent = 3,
};
// "\TaskIn.dat", "\TaskDone.dat", "\TaskPast.dat", "\NoEvent.dat"; null
// for another kind.
const char* TaskFileName(uint32_t result);

// ---- Messages ---------------------------------------------------------------------------------------

enum TaskMessageId : uint32_t {
    kMsgTaskStatus = 0x26027,
    kMsgTaskResult = 0x26028,
    kMsgTaskProgress = 0x26029,
    kMsgTaskDefinition = 0x26030,
    kMsgTaskRequest = 0x26031,
    kMsgStageReached = 0x26035,
    kMsgTitleList = 0x80026021,
    kMsgLinkedNotice = 0x80026026,
};

struct TaskStatusBody {
    uint32_t key = 0;
    uint32_t result = 0;
};
bool ParseTaskStatus(const uint8_t* body, size_t size, TaskStatusBody* out);

struct TaskDefinitionBody {
    TaskStage stages[kTaskStages] = {};
    std::string title;
    uint32_t openThroughLogin = 0;
    std::string fetchAddress, drawAddress, loginPrefix;
};
bool ParseTaskDefinition(const uint8_t* body, size_t size, TaskDefinitionBody* out);

struct TaskProgressBody {
    int32_t elapsed = 0;
    uint32_t startCounting = 0;
};
bool ParseTaskProgress(const uint8_t* body, size_t size, TaskProgressBody* out);

// The stage reply's verdict; 0xFFFFFFFF refuses the stage.
constexpr uint32_t kStageRefused = 0xFFFFFFFFu;
bool ParseStageReply(const uint8_t* body, size_t size, uint32_t* verdict);

struct TaskResultBody {
    uint32_t stopCounting = 0;
    uint32_t result = 0;
    std::string title;
    uint32_t openThroughLogin = 0;
    std::string resultAddress, loginPrefix;
};
bool ParseTaskResult(const uint8_t* body, size_t size, TaskResultBody* out);

struct ServerTitle {
    std::string title;   // as sent, marks included
    uint32_t titleId = 0;
};
bool ParseTitleList(const uint8_t* body, size_t size, std::vector<ServerTitle>* out);

struct HonourEntry {
    int32_t titleId = 0;
    int32_t honour = 0;
};
// Accepted only when the count is at least 1 and the payload holds exactly
// that many pairs; pairs with a negative value are left out.
bool ParseHonourTable(const uint8_t* payload, size_t size, std::vector<HonourEntry>* out);
// The honour points of a title (0 when the table has none).
int32_t HonourOf(const std::vector<HonourEntry>& table, uint32_t titleId);

struct TitleAwardGroup {
    std::string userName;
    std::vector<ServerTitle> titles;
};
// 1 to 5 groups, each within the payload.
bool ParseTitleAward(const uint8_t* payload, size_t size, std::vector<TitleAwardGroup>* out);
// "恭喜玩家[%s]获得称号【%s】!" or, with honour above 0, ",并获得%d点荣誉值!".
std::string TitleAwardText(const std::string& user, const std::string& title, int32_t honour);

struct LinkedNotice {
    int32_t count = 0;        // 1..4, or -1
    std::string names[4];
    std::string links[4];     // the part after "href<i>=" up to before "a<i>>"; empty without them
};
bool ParseLinkedNotice(const uint8_t* body, size_t size, LinkedNotice* out);
std::string NoticeLink(const std::string& text, int i);

// The two requests: {u8 seat, three zero bytes, u32 value} after the header.
constexpr size_t kTaskRequestSize = 8 + 8;
void BuildTaskRequest(uint32_t id, int seat, uint32_t value, uint8_t out[kTaskRequestSize]);

// ---- Stage arithmetic -------------------------------------------------------------------------------

// The highest k with elapsed >= minutes[k] x 60 gives k + 1; none gives 0.
int StagesReached(const TaskStage stages[kTaskStages], int32_t elapsed);
// Seconds to the next stage; -1 when all four are reached.
int32_t StageCountdown(const TaskStage stages[kTaskStages], int32_t elapsed);

// ---- The task panel's places -------------------------------------------------------------------------
//
// Client pixels of the table window (TableLayout.h's conventions); halvings
// truncate toward zero.

// The task area: from 10 below the name of the seat at view position 4 to
// 10 above the upper tool row, from three tool widths and 40 pixels left of
// the right edge to the right edge.
LayoutRect TaskArea(int clientWidth, int view4NameBottom, int toolWidth, int upperRowTop);
// The one place of the three prize buttons: centred across the area, its
// top 9 below the area's middle.
LayoutSize PrizeButtonPlace(const LayoutRect& area, int prizeWidth);
// The reward icon's top-left: centred across the area, 6 below its middle.
LayoutSize RewardIconPlace(const LayoutRect& area, LayoutSize icon);
// The progress bar: the bar picture's size, centred across the area, its top
// on the middle (above the reward icon and the prize buttons).
LayoutRect TaskBarRect(const LayoutRect& area, LayoutSize bar);
// How many of the bar's pixels are filled: the bar is four equal pieces
// (the last takes the remainder), one per stage; piece k fills with the
// seconds from stage k - 1's minutes (0 for the first) to stage k's.
int TaskBarFill(const TaskStage stages[kTaskStages], int32_t elapsed, int barWidth);

// ---- The task's state ---------------------------------------------------------------------------------

struct TaskTimerStep {
    bool sendStage = false;    // send 0x26035 with the elapsed seconds
    bool stopTimer = false;
    bool restartTimer = false;
    bool repaint = true;
};

class CTaskState
{
public:
    uint32_t key = 0;
    uint32_t result = kTaskInProgress;
    std::string title;
    TaskStage stages[kTaskStages] = {};
    std::string fetchAddress, drawAddress, currentAddress, loginPrefix;
    uint32_t openThroughLogin = 0;
    int32_t elapsed = 0;
    int32_t countdown = 0;
    int stagesReached = 0;
    bool resultKnown = false;

    void ApplyDefinition(const TaskDefinitionBody& body);
    void ApplyProgress(int32_t elapsedSeconds);
    void ApplyResult(const TaskResultBody& body);
    // Recomputes the stages reached and the countdown, and the current
    // address from the stage reached.
    void Recompute();
    // One tick of the task timer.
    TaskTimerStep TimerStep();
    // A refused stage: 120 seconds off (not below 0).
    void RefuseStage();
    // The stage whose prize the buttons offer (the last one reached), or -1.
    int PrizeStage() const { return stagesReached > 0 ? stagesReached - 1 : -1; }
    // The address a prize command opens: empty when nothing may open.
    std::string PrizeAddress(const std::function<std::string(const std::string&)>& expand) const;

    // The file images; a read takes a file only with its key and its whole
    // size, and cuts every text at its field's end.
    std::vector<uint8_t> TaskInImage() const;
    std::vector<uint8_t> ResultImage() const;
    bool ReadTaskIn(const uint8_t* data, size_t size, uint32_t wantedKey);
    bool ReadResult(const uint8_t* data, size_t size, uint32_t wantedKey);
};
// True when a file's first word is the key (the write is then skipped).
bool FileHoldsKey(const uint8_t* data, size_t size, uint32_t key);
