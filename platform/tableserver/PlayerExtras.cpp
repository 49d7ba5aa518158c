#include "PlayerExtras.h"

#include <algorithm>
#include <cstring>

#include "TableProtocol.h"

namespace tableserver {

namespace {

// Code page 936: "初出茅庐", "皇城**守卫", "每日在线有礼" and the four prizes
// "一等奖", "二等奖", "三等奖", "特等奖".
const char kTitleFirst[] = "\xb3\xf5\xb3\xf6\xc3\xa9\xc2\xae";
const char kTitleSecond[] = "\xbb\xca\xb3\xc7**\xca\xd8\xce\xc0";
const char kTaskTitle[] = "\xc3\xbf\xc8\xd5\xd4\xda\xcf\xdf\xd3\xd0\xc0\xf1";
const char* const kPrizeTips[4] = {"\xd2\xbb\xb5\xc8\xbd\xb1", "\xb6\xfe\xb5\xc8\xbd\xb1",
                                   "\xc8\xfd\xb5\xc8\xbd\xb1", "\xcc\xd8\xb5\xc8\xbd\xb1"};
// Prize kinds of the four stages: 0 fetch, 1 draw.
constexpr uint32_t kStageKinds[4] = {0, 1, 0, 1};
const char kFetchPage[] = "http://127.0.0.1/prize/fetch";
const char kDrawPage[] = "http://127.0.0.1/prize/draw";
const char kResultPage[] = "http://127.0.0.1/prize/result";

constexpr uint32_t kFirstTitleId = 1;
constexpr uint32_t kSecondTitleId = 2;
constexpr int32_t kFirstTitleHonour = 10;
constexpr int32_t kSecondTitleHonour = 50;

void PutText(std::vector<uint8_t>& out, const std::string& text, size_t size)
{
    std::vector<uint8_t> field(size, 0);
    std::memcpy(field.data(), text.data(), std::min(text.size(), size - 1));
    out.insert(out.end(), field.begin(), field.end());
}

void PutI32(std::vector<uint8_t>& out, int32_t v) { PutU32(out, static_cast<uint32_t>(v)); }

std::vector<uint8_t> TitleRecord(const char* title, uint32_t id)
{
    std::vector<uint8_t> record;
    PutText(record, title, 40);
    PutU32(record, id);
    record.resize(kTitleRecordSize, 0);
    return record;
}

}  // namespace

std::vector<uint8_t> PlayerInfoEntries(const std::vector<std::string>& seatNames)
{
    std::vector<uint8_t> out;
    for (const std::string& name : seatNames) {
        std::vector<uint8_t> r;
        PutText(r, name, 20);
        if (name.empty()) {
            r.resize(kPlayerInfoSize, 0);
        } else {
            PutI32(r, 12);       // rated games
            PutI32(r, 20);       // games needed before ranking
            PutI32(r, 123456);   // strength 1234.56
            PutI32(r, 0);        // standing
            PutI32(r, 12);       // season games
            PutU32(r, 0);
            PutI32(r, 4);        // as emperor, of which won
            PutI32(r, 3);
            PutI32(r, 3);        // as guard
            PutI32(r, 1);
            PutI32(r, 0);        // in revolt
            PutI32(r, 0);
            PutU32(r, kSecondTitleId);
            PutText(r, kTitleSecond, 40);
            PutI32(r, 3);        // title level
            PutI32(r, 60);       // honour
            PutU32(r, 0);
        }
        out.insert(out.end(), r.begin(), r.end());
    }
    return out;
}

std::vector<uint8_t> HonourEntries(uint32_t* count)
{
    std::vector<uint8_t> out;
    PutU32(out, kFirstTitleId);
    PutI32(out, kFirstTitleHonour);
    PutU32(out, kSecondTitleId);
    PutI32(out, kSecondTitleHonour);
    *count = 2;
    return out;
}

std::vector<uint8_t> HonourTableBody()
{
    uint32_t count = 0;
    const std::vector<uint8_t> entries = HonourEntries(&count);
    std::vector<uint8_t> out;
    PutU32(out, count);
    out.insert(out.end(), entries.begin(), entries.end());
    return out;
}

std::vector<uint8_t> TitleListBody()
{
    std::vector<uint8_t> out(24, 0);
    PutU32(out, 2);
    for (const std::vector<uint8_t>& r : {TitleRecord(kTitleFirst, kFirstTitleId), TitleRecord(kTitleSecond, kSecondTitleId)})
        out.insert(out.end(), r.begin(), r.end());
    return out;
}

std::vector<uint8_t> TitleAwardBlock(const std::string& userName)
{
    std::vector<uint8_t> out;
    PutU32(out, 1);
    PutText(out, userName, 20);
    PutU32(out, 1);
    const std::vector<uint8_t> r = TitleRecord(kTitleFirst, kFirstTitleId);
    out.insert(out.end(), r.begin(), r.end());
    return out;
}

std::vector<uint8_t> TaskStatusBody(uint32_t result)
{
    std::vector<uint8_t> out;
    PutU32(out, kTaskKey);
    PutU32(out, 0);
    PutU32(out, result);
    return out;
}

std::vector<uint8_t> TaskDefinitionBody()
{
    std::vector<uint8_t> out;
    for (int i = 0; i < 4; i++) {
        PutU32(out, kTaskStageMinutes[i]);
        PutU32(out, kStageKinds[i]);
        PutText(out, kPrizeTips[i], 32);
    }
    PutText(out, kTaskTitle, 64);
    PutU32(out, 0);   // opened as it is, not through the login page
    const std::string fetch = kFetchPage, draw = kDrawPage;
    PutU32(out, static_cast<uint32_t>(fetch.size()));
    PutU32(out, static_cast<uint32_t>(draw.size()));
    PutU32(out, 0);
    out.insert(out.end(), fetch.begin(), fetch.end());
    out.insert(out.end(), draw.begin(), draw.end());
    return out;
}

std::vector<uint8_t> TaskProgressBody(uint32_t elapsed, bool startCounting)
{
    std::vector<uint8_t> out;
    PutU32(out, 0);
    PutU32(out, elapsed);
    PutU32(out, startCounting ? 1 : 0);
    return out;
}

uint32_t StageVerdict(uint32_t elapsed)
{
    uint32_t stages = 0;
    for (uint32_t minutes : kTaskStageMinutes)
        if (elapsed >= minutes * 60)
            stages++;
    return stages > 0 ? stages : kStageRefused;
}

std::vector<uint8_t> StageVerdictBody(uint32_t verdict)
{
    std::vector<uint8_t> out;
    PutU32(out, 0);
    PutU32(out, verdict);
    return out;
}

std::vector<uint8_t> TaskResultBody(uint32_t result)
{
    std::vector<uint8_t> out;
    PutU32(out, 0);
    PutU32(out, 1);   // stop counting
    PutU32(out, result);
    PutText(out, kTaskTitle, 64);
    PutU32(out, 0);
    const std::string page = kResultPage;
    PutU32(out, static_cast<uint32_t>(page.size()));
    PutU32(out, 0);
    out.insert(out.end(), page.begin(), page.end());
    return out;
}

bool ExtraByName(const std::string& name, const std::vector<std::string>& seatNames, const std::string& userName,
                 uint32_t* id, std::vector<uint8_t>* body)
{
    if (name == "player-info") {
        *id = msgid::kPlayerInfo;
        *body = PlayerInfoEntries(seatNames);
    } else if (name == "honour") {
        *id = msgid::kHonourTable;
        *body = HonourTableBody();
    } else if (name == "titles") {
        *id = msgid::kTitleList;
        *body = TitleListBody();
    } else if (name == "award") {
        *id = msgid::kTitleAward;
        *body = TitleAwardBlock(userName);
    } else if (name == "task-status") {
        *id = msgid::kTaskStatus;
        *body = TaskStatusBody(0);
    } else if (name == "task-definition") {
        *id = msgid::kTaskDefinition;
        *body = TaskDefinitionBody();
    } else if (name == "task-progress") {
        *id = msgid::kTaskProgress;
        *body = TaskProgressBody(kTaskStartElapsed, true);
    } else if (name == "stage-ok") {
        *id = msgid::kStageReached;
        *body = StageVerdictBody(1);
    } else if (name == "stage-refused") {
        *id = msgid::kStageReached;
        *body = StageVerdictBody(kStageRefused);
    } else if (name == "task-done") {
        *id = msgid::kTaskResult;
        *body = TaskResultBody(1);
    } else if (name == "task-no-event") {
        *id = msgid::kTaskResult;
        *body = TaskResultBody(3);
    } else {
        return false;
    }
    return true;
}

}  // namespace tableserver
