#include "TaskRewards.h"

#include <cstdio>
#include <cstring>

namespace {

uint32_t U32(const uint8_t* p) { return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24; }

// A text field that may lack its terminator.
std::string FieldText(const void* field, size_t size)
{
    const char* text = static_cast<const char*>(field);
    return std::string(text, strnlen(text, size));
}

// A text of `length` bytes (not terminated) at `at`, cut at a NUL inside it.
std::string SpanText(const uint8_t* at, size_t length)
{
    return FieldText(at, length);
}

// Copies a text into a field, always terminated.
template <size_t N>
void PutField(char (&field)[N], const std::string& text)
{
    memset(field, 0, N);
    memcpy(field, text.data(), text.size() < N - 1 ? text.size() : N - 1);
}

void CutStageTips(TaskStage stages[kTaskStages])
{
    for (int i = 0; i < kTaskStages; i++)
        stages[i].tip[sizeof(stages[i].tip) - 1] = '\0';
}

// Three (or two) lengths after a fixed part: each must fit an address field
// and all together must lie within the body.
bool LengthsFit(const uint32_t* lengths, int count, size_t available)
{
    size_t total = 0;
    for (int i = 0; i < count; i++) {
        if (lengths[i] > kMaxAddressChars)
            return false;
        total += lengths[i];
    }
    return total <= available;
}

}  // namespace

const char* TaskFileName(uint32_t result)
{
    switch (result) {
    case kTaskInProgress: return "\\TaskIn.dat";
    case kTaskDone: return "\\TaskDone.dat";
    case kTaskExpired: return "\\TaskPast.dat";
    case kTaskNoEvent: return "\\NoEvent.dat";
    default: return nullptr;
    }
}

// ---- Messages ---------------------------------------------------------------------------------------

bool ParseTaskStatus(const uint8_t* body, size_t size, TaskStatusBody* out)
{
    if (body == nullptr || size < 12)
        return false;
    out->key = U32(body);
    out->result = U32(body + 8);
    return true;
}

bool ParseTaskDefinition(const uint8_t* body, size_t size, TaskDefinitionBody* out)
{
    constexpr size_t kFixed = 240;
    if (body == nullptr || size < kFixed)
        return false;
    const uint32_t lengths[3] = {U32(body + 228), U32(body + 232), U32(body + 236)};
    if (!LengthsFit(lengths, 3, size - kFixed))
        return false;
    memcpy(out->stages, body, sizeof(out->stages));
    CutStageTips(out->stages);
    out->title = FieldText(body + 160, 64);
    out->openThroughLogin = U32(body + 224);
    const uint8_t* text = body + kFixed;
    out->fetchAddress = SpanText(text, lengths[0]);
    out->drawAddress = SpanText(text + lengths[0], lengths[1]);
    out->loginPrefix = SpanText(text + lengths[0] + lengths[1], lengths[2]);
    return true;
}

bool ParseTaskProgress(const uint8_t* body, size_t size, TaskProgressBody* out)
{
    if (body == nullptr || size < 12)
        return false;
    out->elapsed = (int32_t)U32(body + 4);
    out->startCounting = U32(body + 8);
    return true;
}

bool ParseStageReply(const uint8_t* body, size_t size, uint32_t* verdict)
{
    if (body == nullptr || size < 8)
        return false;
    *verdict = U32(body + 4);
    return true;
}

bool ParseTaskResult(const uint8_t* body, size_t size, TaskResultBody* out)
{
    constexpr size_t kFixed = 88;
    if (body == nullptr || size < kFixed)
        return false;
    const uint32_t lengths[2] = {U32(body + 80), U32(body + 84)};
    if (!LengthsFit(lengths, 2, size - kFixed))
        return false;
    out->stopCounting = U32(body + 4);
    out->result = U32(body + 8);
    out->title = FieldText(body + 12, 64);
    out->openThroughLogin = U32(body + 76);
    out->resultAddress = SpanText(body + kFixed, lengths[0]);
    out->loginPrefix = SpanText(body + kFixed + lengths[0], lengths[1]);
    return true;
}

bool ParseTitleList(const uint8_t* body, size_t size, std::vector<ServerTitle>* out)
{
    out->clear();
    constexpr size_t kFirst = 28;
    if (body == nullptr || size < kFirst)
        return false;
    const uint32_t count = U32(body + 24);
    if (count > (size - kFirst) / sizeof(TitleRecord))
        return false;
    for (uint32_t i = 0; i < count; i++) {
        const uint8_t* record = body + kFirst + (size_t)i * sizeof(TitleRecord);
        ServerTitle entry;
        entry.title = FieldText(record, 40);
        entry.titleId = U32(record + 40);
        out->push_back(entry);
    }
    return true;
}

bool ParseHonourTable(const uint8_t* payload, size_t size, std::vector<HonourEntry>* out)
{
    out->clear();
    if (payload == nullptr || size < 4)
        return false;
    const uint32_t count = U32(payload);
    if (count < 1 || count != (size - 4) / 8)
        return false;
    for (uint32_t i = 0; i < count; i++) {
        HonourEntry entry;
        entry.titleId = (int32_t)U32(payload + 4 + (size_t)i * 8);
        entry.honour = (int32_t)U32(payload + 8 + (size_t)i * 8);
        if (entry.titleId >= 0 && entry.honour >= 0)
            out->push_back(entry);
    }
    return true;
}

int32_t HonourOf(const std::vector<HonourEntry>& table, uint32_t titleId)
{
    for (const HonourEntry& entry : table)
        if ((uint32_t)entry.titleId == titleId)
            return entry.honour;
    return 0;
}

bool ParseTitleAward(const uint8_t* payload, size_t size, std::vector<TitleAwardGroup>* out)
{
    out->clear();
    if (payload == nullptr || size < 4)
        return false;
    const uint32_t groups = U32(payload);
    if (groups < 1 || groups > 5)
        return false;
    size_t at = 4;
    for (uint32_t g = 0; g < groups; g++) {
        if (size - at < 24)
            return false;
        TitleAwardGroup group;
        group.userName = FieldText(payload + at, 20);
        const uint32_t titles = U32(payload + at + 20);
        at += 24;
        if (titles > (size - at) / sizeof(TitleRecord))
            return false;
        for (uint32_t t = 0; t < titles; t++, at += sizeof(TitleRecord)) {
            ServerTitle entry;
            entry.title = FieldText(payload + at, 40);
            entry.titleId = U32(payload + at + 40);
            group.titles.push_back(entry);
        }
        out->push_back(group);
    }
    return true;
}

std::string TitleAwardText(const std::string& user, const std::string& title, int32_t honour)
{
    std::string stripped;
    for (size_t i = 0; i < title.size(); i++) {
        if (title.compare(i, 2, "**") == 0) {
            i++;
            continue;
        }
        stripped += title[i];
    }
    std::string text = "恭喜玩家[" + user + "]获得称号【" + stripped + "】";
    if (honour > 0)
        text += ",并获得" + std::to_string(honour) + "点荣誉值";
    return text + "!";
}

std::string NoticeLink(const std::string& text, int i)
{
    char start[16], end[16];
    snprintf(start, sizeof(start), "href%d=", i);
    snprintf(end, sizeof(end), "a%d>", i);
    const size_t from = text.find(start);
    if (from == std::string::npos)
        return std::string();
    const size_t first = from + strlen(start);
    const size_t to = text.find(end, first);
    // The link ends one character before the end marker; a missing marker,
    // or one too close, gives no link.
    if (to == std::string::npos || to < first + 1)
        return std::string();
    return text.substr(first, to - 1 - first);
}

bool ParseLinkedNotice(const uint8_t* body, size_t size, LinkedNotice* out)
{
    constexpr size_t kText = 416;
    if (body == nullptr || size < kText)
        return false;
    const int32_t count = (int32_t)U32(body + 4);
    if (count != -1 && (count < 1 || count > 4))
        return false;
    out->count = count;
    const std::string text = FieldText(body + kText, size - kText);
    for (int i = 0; i < 4; i++) {
        out->names[i] = FieldText(body + 8 + (size_t)i * 101, 101);
        out->links[i] = NoticeLink(text, i);
    }
    return true;
}

void BuildTaskRequest(uint32_t id, int seat, uint32_t value, uint8_t out[kTaskRequestSize])
{
    memset(out, 0, kTaskRequestSize);
    const uint32_t length = 8;
    memcpy(out, &id, 4);
    memcpy(out + 4, &length, 4);
    out[8] = (uint8_t)seat;
    memcpy(out + 12, &value, 4);
}

// ---- Stage arithmetic -------------------------------------------------------------------------------

int StagesReached(const TaskStage stages[kTaskStages], int32_t elapsed)
{
    for (int k = kTaskStages - 1; k >= 0; k--)
        if ((int64_t)elapsed >= (int64_t)stages[k].minutes * 60)
            return k + 1;
    return 0;
}

int32_t StageCountdown(const TaskStage stages[kTaskStages], int32_t elapsed)
{
    const int reached = StagesReached(stages, elapsed);
    if (reached >= kTaskStages)
        return -1;
    const int64_t left = (int64_t)stages[reached].minutes * 60 - elapsed;
    // Minutes from the server may not fit the seconds' 32 bits: kept at the largest.
    return left > 0x7FFFFFFF ? 0x7FFFFFFF : (int32_t)left;
}

// ---- The task panel's places -------------------------------------------------------------------------

LayoutRect TaskArea(int clientWidth, int view4NameBottom, int toolWidth, int upperRowTop)
{
    LayoutRect area;
    area.left = clientWidth - 3 * toolWidth - 40;
    area.top = view4NameBottom + 10;
    area.right = clientWidth;
    area.bottom = upperRowTop - 10;
    return area;
}

LayoutSize PrizeButtonPlace(const LayoutRect& area, int prizeWidth)
{
    LayoutSize place;
    place.cx = (area.left + area.right) / 2 - prizeWidth / 2;
    place.cy = (area.top + area.bottom) / 2 + 9;
    return place;
}

LayoutSize RewardIconPlace(const LayoutRect& area, LayoutSize icon)
{
    LayoutSize place;
    place.cx = (area.left + area.right) / 2 - icon.cx / 2;
    place.cy = (area.top + area.bottom) / 2 + 6;
    return place;
}

LayoutRect TaskBarRect(const LayoutRect& area, LayoutSize bar)
{
    LayoutRect rect;
    rect.left = (area.left + area.right) / 2 - bar.cx / 2;
    rect.top = (area.top + area.bottom) / 2;
    rect.right = rect.left + bar.cx;
    rect.bottom = rect.top + bar.cy;
    return rect;
}

int TaskBarFill(const TaskStage stages[kTaskStages], int32_t elapsed, int barWidth)
{
    if (barWidth <= 0 || elapsed <= 0)
        return 0;
    const int piece = barWidth / kTaskStages;
    int64_t filled = 0;
    int64_t from = 0;
    for (int k = 0; k < kTaskStages; k++) {
        const int width = k + 1 < kTaskStages ? piece : barWidth - piece * (kTaskStages - 1);
        const int64_t to = (int64_t)stages[k].minutes * 60;
        if (elapsed >= to)
            filled += width;
        else if (to > from && elapsed > from)
            filled += (int64_t)width * (elapsed - from) / (to - from);
        if (to > from)
            from = to;
    }
    return (int)filled;
}

// ---- The task's state ---------------------------------------------------------------------------------

void CTaskState::Recompute()
{
    stagesReached = StagesReached(stages, elapsed);
    countdown = StageCountdown(stages, elapsed);
    if (stagesReached < kTaskStages)
        currentAddress = stages[stagesReached].kind == 0 ? fetchAddress : drawAddress;
}

void CTaskState::ApplyDefinition(const TaskDefinitionBody& body)
{
    memcpy(stages, body.stages, sizeof(stages));
    title = body.title;
    openThroughLogin = body.openThroughLogin;
    fetchAddress = body.fetchAddress;
    drawAddress = body.drawAddress;
    if (!body.loginPrefix.empty())
        loginPrefix = body.loginPrefix;
    Recompute();
}

void CTaskState::ApplyProgress(int32_t elapsedSeconds)
{
    elapsed = elapsedSeconds < 0 ? 0 : elapsedSeconds;
    Recompute();
}

void CTaskState::ApplyResult(const TaskResultBody& body)
{
    result = body.result;
    resultKnown = true;
    title = body.title;
    currentAddress = body.resultAddress;
    if (!body.loginPrefix.empty())
        loginPrefix = body.loginPrefix;
    openThroughLogin = body.openThroughLogin;
}

TaskTimerStep CTaskState::TimerStep()
{
    TaskTimerStep step;
    if (countdown > 0) {
        elapsed++;
        countdown--;
        return step;
    }
    if (countdown == 0) {
        step.sendStage = !resultKnown;
        step.stopTimer = true;
        stagesReached = StagesReached(stages, elapsed);
        countdown = StageCountdown(stages, elapsed);
        if (countdown == -1) {
            result = kTaskDone;
            step.repaint = false;
        } else {
            step.restartTimer = true;
        }
        return step;
    }
    step.stopTimer = true;
    return step;
}

void CTaskState::RefuseStage()
{
    elapsed = elapsed > 120 ? elapsed - 120 : 0;
    Recompute();
}

std::string CTaskState::PrizeAddress(const std::function<std::string(const std::string&)>& expand) const
{
    if (currentAddress.empty())
        return std::string();
    if (openThroughLogin == 0)
        return currentAddress;
    if (loginPrefix.empty())
        return std::string();
    return expand ? expand(loginPrefix + currentAddress) : loginPrefix + currentAddress;
}

std::vector<uint8_t> CTaskState::TaskInImage() const
{
    TaskInFileImage image = {};
    image.key = key;
    PutField(image.title, title);
    image.openThroughLogin = openThroughLogin;
    PutField(image.drawAddress, drawAddress);
    PutField(image.fetchAddress, fetchAddress);
    PutField(image.loginPrefix, loginPrefix);
    memcpy(image.stages, stages, sizeof(image.stages));
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&image);
    return std::vector<uint8_t>(bytes, bytes + sizeof(image));
}

std::vector<uint8_t> CTaskState::ResultImage() const
{
    TaskResultFileImage image = {};
    image.key = key;
    PutField(image.title, title);
    image.openThroughLogin = openThroughLogin;
    PutField(image.currentAddress, currentAddress);
    PutField(image.loginPrefix, loginPrefix);
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&image);
    return std::vector<uint8_t>(bytes, bytes + sizeof(image));
}

bool CTaskState::ReadTaskIn(const uint8_t* data, size_t size, uint32_t wantedKey)
{
    TaskInFileImage image;
    if (data == nullptr || size < sizeof(image) || U32(data) != wantedKey)
        return false;
    memcpy(&image, data, sizeof(image));
    key = image.key;
    title = FieldText(image.title, sizeof(image.title));
    openThroughLogin = image.openThroughLogin;
    drawAddress = FieldText(image.drawAddress, sizeof(image.drawAddress));
    fetchAddress = FieldText(image.fetchAddress, sizeof(image.fetchAddress));
    loginPrefix = FieldText(image.loginPrefix, sizeof(image.loginPrefix));
    memcpy(stages, image.stages, sizeof(stages));
    CutStageTips(stages);
    Recompute();
    return true;
}

bool CTaskState::ReadResult(const uint8_t* data, size_t size, uint32_t wantedKey)
{
    TaskResultFileImage image;
    if (data == nullptr || size < sizeof(image) || U32(data) != wantedKey)
        return false;
    memcpy(&image, data, sizeof(image));
    key = image.key;
    title = FieldText(image.title, sizeof(image.title));
    openThroughLogin = image.openThroughLogin;
    currentAddress = FieldText(image.currentAddress, sizeof(image.currentAddress));
    loginPrefix = FieldText(image.loginPrefix, sizeof(image.loginPrefix));
    return true;
}

bool FileHoldsKey(const uint8_t* data, size_t size, uint32_t key)
{
    return data != nullptr && size >= 4 && U32(data) == key;
}
