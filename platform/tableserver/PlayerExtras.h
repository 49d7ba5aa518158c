// The platform's extras around a game that the stand-in serves with fixed
// contents: the seated players' information records, the honour points per
// title, the player's title list and a title award, and one online-time task
// of four stages with its status, definition, progress, stage verdicts and
// result. The default table sends them to a player who takes a seat; the
// scripted mode sends any of them by name ("extra NAME", Script.h).
//
// Every body is built here once, so the table and the scripts send the same
// bytes. Texts are code page 936, as the client reads them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tableserver {

namespace msgid {
constexpr uint32_t kPlayerInfo = 0x26013;       // n 124-byte records (the referee's announcement)
constexpr uint32_t kTitleAward = 0x26014;       // {u32 g, g x {char[20] user, u32 t, t x 64-byte title}}
constexpr uint32_t kTitleListRequest = 0x26021; // {char[20] user}
constexpr uint32_t kHonourTable = 0x26024;      // {u32 n, n x {i32 title id, i32 honour}}
constexpr uint32_t kTaskStatus = 0x26027;       // {u32 key, u32 0, u32 result}
constexpr uint32_t kTaskResult = 0x26028;
constexpr uint32_t kTaskProgress = 0x26029;     // {u32 0, u32 elapsed, u32 start counting}
constexpr uint32_t kTaskDefinition = 0x26030;
constexpr uint32_t kTaskRequest = 0x26031;      // {u8 seat, 3 x 0, u32 result kind}
constexpr uint32_t kStageReached = 0x26035;     // in: {u8 seat, 3 x 0, u32 elapsed}; out: {u32 0, u32 verdict}
constexpr uint32_t kTitleList = 0x80026021;     // 24 bytes, u32 count, count x 64-byte title
}  // namespace msgid

constexpr size_t kPlayerInfoSize = 124;
constexpr size_t kTitleRecordSize = 64;
constexpr uint32_t kTaskKey = 20261211;
// The task's stages: minutes online to reach each.
constexpr uint32_t kTaskStageMinutes[4] = {1, 3, 5, 10};
// The progress a task request is answered with: 5 seconds short of the first
// stage, so a client reports a stage soon after it asks.
constexpr uint32_t kTaskStartElapsed = 55;
constexpr uint32_t kStageRefused = 0xFFFFFFFFu;

// The five seats' records, one per name in seat order (an empty name gives
// an empty record). Every player is shown with the same figures; the title
// is the second of the title list.
std::vector<uint8_t> PlayerInfoEntries(const std::vector<std::string>& seatNames);

// The honour table's pairs (without the count) and their number.
std::vector<uint8_t> HonourEntries(uint32_t* count);
// The whole body of 0x26024: the count, then the pairs.
std::vector<uint8_t> HonourTableBody();
// 0x80026021's body: 24 unread bytes, the count, the records.
std::vector<uint8_t> TitleListBody();
// An award of the first title to one user (the block of 0x26014).
std::vector<uint8_t> TitleAwardBlock(const std::string& userName);

std::vector<uint8_t> TaskStatusBody(uint32_t result);
// Stages, title, open-through-login 0, then the fetch page, the draw page
// and an empty login prefix.
std::vector<uint8_t> TaskDefinitionBody();
std::vector<uint8_t> TaskProgressBody(uint32_t elapsed, bool startCounting);
// The verdict on a reported elapsed time: the number of stages it reaches
// (1..4), or kStageRefused when it reaches none.
uint32_t StageVerdict(uint32_t elapsed);
std::vector<uint8_t> StageVerdictBody(uint32_t verdict);
// Stop counting, the result kind, the title, and the result page.
std::vector<uint8_t> TaskResultBody(uint32_t result);

// The message id and body of an extra by its script name: "player-info"
// (with the seats' names), "honour", "titles", "award" (to the first
// name given), "task-status", "task-definition", "task-progress",
// "stage-ok", "stage-refused", "task-done", "task-no-event". False for
// another name.
bool ExtraByName(const std::string& name, const std::vector<std::string>& seatNames, const std::string& userName,
                 uint32_t* id, std::vector<uint8_t>* body);

}  // namespace tableserver
