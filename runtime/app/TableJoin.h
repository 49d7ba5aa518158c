// The table join: the join request 0x200 built from the launch record, its
// reply 0x80000200 read and checked against its body, the order of the
// player list, and the join itself over the game connection.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "LaunchInfo.h"

class CGameSocket;

// ---- Join request ----------------------------------------------------------------------

struct JoinRequestBody {
    char userName[20];          // launch record offset 4
    char text86[40];            // launch record offset 86
    char text44[40];            // launch record offset 44
    uint16_t value84;           // launch record offset 84
    uint16_t chair;             // zero-based; from the seat count on: watching
    uint8_t kind;               // 3
    uint8_t reserved[3];        // sent as zero
};
static_assert(sizeof(JoinRequestBody) == 108, "join request body is 108 bytes");
static_assert(offsetof(JoinRequestBody, text86) == 20, "join request layout");
static_assert(offsetof(JoinRequestBody, text44) == 60, "join request layout");
static_assert(offsetof(JoinRequestBody, value84) == 100, "join request layout");
static_assert(offsetof(JoinRequestBody, chair) == 102, "join request layout");
static_assert(offsetof(JoinRequestBody, kind) == 104, "join request layout");

constexpr uint8_t kJoinRequestKind = 3;

void BuildJoinRequestBody(const GameLaunchInfo& info, JoinRequestBody* body);
// The whole message (header and body).
std::vector<uint8_t> BuildJoinRequest(const GameLaunchInfo& info);

// ---- Join reply --------------------------------------------------------------------------

struct JoinPlayerRecord {
    uint32_t chairAndCodePage;  // chair in the low 16 bits, the sender's code page in the high 16
    char userName[20];
    char nickname[20];
    uint32_t value;
};
static_assert(sizeof(JoinPlayerRecord) == 48, "join player record is 48 bytes");
static_assert(offsetof(JoinPlayerRecord, userName) == 4, "join player record layout");
static_assert(offsetof(JoinPlayerRecord, nickname) == 24, "join player record layout");
static_assert(offsetof(JoinPlayerRecord, value) == 44, "join player record layout");

// Result words of the reply (low byte).
constexpr uint32_t kJoinResultOk = 1;
constexpr uint32_t kJoinResultIllegalUser = 4;

// A reply as read: every pointer points into the reply message, which must
// outlive it.
struct JoinReply {
    uint32_t result = 0;
    uint16_t count = 0;
    uint16_t secondValue = 0;
    JoinPlayerRecord* records = nullptr;
    uint32_t blob1Length = 0;
    const uint8_t* blob1 = nullptr;
    uint32_t blob2Length = 0;
    const uint8_t* blob2 = nullptr;
};

// Reads a successful reply (a whole message whose size the connection
// checked). Every count and length is checked against the body: FALSE when
// the records or a blob run past it, or a blob's length is cut. A body that
// ends right after the records has no blobs; the second blob is there only
// when the first ends inside the body. The name fields are terminated in
// place (their last byte).
BOOL ParseJoinReply(uint8_t* message, JoinReply* reply);

// ---- Player order -------------------------------------------------------------------------

enum PlayerOrderResult { kPlayerOrderOk, kPlayerOrderNoPlayers, kPlayerOrderNoOwnSeat };

// The player list's order: the indices of the reply records that have a
// user name, the own chair's record first, then the ones before it in the
// reply in descending order, wrapping round (entry j is the player at
// (p - j) mod n of those records, p the own one's place).
PlayerOrderResult OrderJoinedPlayers(const JoinPlayerRecord* records, int count, uint32_t ownChair,
                                     std::vector<int>* order);

// ---- Joining --------------------------------------------------------------------------------

// The progress window of the join (the wait or notice dialog of the skinned
// dialog kit, which installs it): step 1 opens it (with the connecting text
// when the connection shows progress, else string id 0), 2 shows a text, 3
// closes it. None installed: no window.
enum JoinProgressStep { kJoinProgressOpen = 1, kJoinProgressText = 2, kJoinProgressClose = 3 };
typedef void (*JoinProgressRoutine)(int nStep, UINT nStringId);
JoinProgressRoutine SetJoinProgressRoutine(JoinProgressRoutine routine);

// Connects to the record's server and joins the table. On success the reply
// message (the caller's, free it with free()) and its reading: nicknames of a
// code page other than the client's are converted into it and the code-page
// halves of the chair words cleared; receiving stays stopped. On failure 0,
// with the boxes of the result (illegal user 29915 with bAsk, every other
// refusal 29914) and the connection closed.
BOOL EnterGameChannel(CGameSocket& socket, const GameLaunchInfo& info, BOOL bAsk, uint8_t** ppReplyMessage,
                      JoinReply* reply);

// The second value of the last successful join reply (the game's own use).
uint16_t GetJoinSecondValue();

// Joins again after start-up with the launch record: with 13 or 14
// arguments the record is read again first (none: box 29912 with bAsk, and
// 0). The reply as with EnterGameChannel.
BOOL JoinFromLaunch(CGameSocket& socket, BOOL bAsk, uint8_t** ppReplyMessage, JoinReply* reply);
