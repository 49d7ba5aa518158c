// The table's messages: ids, the join request and reply, the platform's
// notices, and the bridge between wire messages and the board's flat blocks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "MessageFrame.h"
#include "NetMsgHeader.h"

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__,
              "wire records are copied in place on a little-endian host");

namespace tableserver {

// ---- Message ids --------------------------------------------------------------

namespace msgid {
// Platform messages (table and connection layer).
constexpr uint32_t kSpeedTest = 0x110;       // {u32 previous result, u32 tick} -> reply echoes the tick
constexpr uint32_t kFlags174 = 0x174;        // 28 bytes, no reply
constexpr uint32_t kRelayStatistics = 0x1A9; // 8 bytes, no reply
constexpr uint32_t kJoin = 0x200;            // table join, answered by 0x80000200
constexpr uint32_t kKeepAlive = 0x201;       // empty, no reply
constexpr uint32_t kLeave = 0x202;           // empty, answered by 0x80000202
constexpr uint32_t kLeave203 = 0x203;        // empty, handled as kLeave
constexpr uint32_t kEmptyRequest = 0x208;    // empty, no reply
constexpr uint32_t kTrustQuit = 0x21A;       // {char[20] name} -> 0x8000021A
constexpr uint32_t kTrustPlay = 0x21B;       // {u32 request, char[20] name} -> 0x8000021B
constexpr uint32_t kPlayerOffline = 0x229;   // {name\0}, server -> clients
constexpr uint32_t kPlayerBack = 0x22A;      // {name\0}, server -> clients
constexpr uint32_t kQueryAnswer = 0x80000230;
constexpr uint32_t kLocalAddress = 0x80000231;
constexpr uint32_t kPortHeader = 0x663;      // {u32 port, u32 value}, before the join
constexpr uint32_t kEndOfGame = 0xFFFFFFFF;  // result word says why; {name\0}

// Game messages (the board's and the table window's).
constexpr uint32_t kGameFirst = 0x26000;
constexpr uint32_t kGameLast = 0x260FF;
constexpr uint32_t kReady = 0x26000;
constexpr uint32_t kDeal = 0x80026001;
constexpr uint32_t kEmperorChoice = 0x26002;
constexpr uint32_t kEmperorResult = 0x80026003;
constexpr uint32_t kGuardChoice = 0x26004;
constexpr uint32_t kPlay = 0x26005;
constexpr uint32_t kScore = 0x80026006;
constexpr uint32_t kWatchersMaySee = 0x26007;
constexpr uint32_t kIdle = 0x26008;
constexpr uint32_t kKickChoice = 0x26010;
constexpr uint32_t kFace = 0x26011;
constexpr uint32_t kSetTitle = 0x26020;      // {u32 seat, u32 title id}
constexpr uint32_t kSeatPlayer = 0x26022;    // the board's own form of kSetTitle, same body
constexpr uint32_t kBoardData = 0x80000280;
}  // namespace msgid

inline uint32_t ReplyId(uint32_t requestId) { return requestId | kReplyBit; }

// Result words.
constexpr uint32_t kResultOk = 1;
constexpr uint32_t kJoinIllegalUser = 4;   // "发现非法用户名企图登录！"
constexpr uint32_t kJoinNotNow = 3;        // any other value: "现在无法进入游戏通道..."
constexpr uint32_t kEndOfGameDoubleLogin = 2;

// ---- Table ---------------------------------------------------------------------

constexpr int kSeatCount = 5;
constexpr uint16_t kCodePage = 936;

// ---- Join request 0x200 ----------------------------------------------------------

struct JoinRequestBody {
    char userName[20];
    char text20[40];   // launch record offset 86
    char text60[40];   // launch record offset 44
    uint16_t value100; // launch record offset 84
    uint16_t chair;    // zero-based; from the seat count on: watching seat chair - 5
    uint8_t kind;      // 3
    uint8_t reserved[3];
};
static_assert(sizeof(JoinRequestBody) == 108, "join request body is 108 bytes");
static_assert(offsetof(JoinRequestBody, value100) == 100, "join request layout");
static_assert(offsetof(JoinRequestBody, chair) == 102, "join request layout");
static_assert(offsetof(JoinRequestBody, kind) == 104, "join request layout");

struct JoinRequest {
    std::string userName;
    uint16_t chair = 0;
};

// Reads a join body. False with the reason when it is too short or its user
// name is not a terminated text; an empty name is read (the table refuses it).
bool ParseJoinRequest(const std::vector<uint8_t>& body, JoinRequest& out, std::string& why);

// ---- Join reply 0x80000200 --------------------------------------------------------

// One player record of the reply.
struct JoinPlayerRecord {
    uint32_t chairAndCodePage;  // chair in the low 16 bits, code page in the high 16
    char userName[20];
    char nickname[20];
    uint32_t value;
};
static_assert(sizeof(JoinPlayerRecord) == 48, "join player record is 48 bytes");
static_assert(offsetof(JoinPlayerRecord, userName) == 4, "join player record layout");
static_assert(offsetof(JoinPlayerRecord, nickname) == 24, "join player record layout");
static_assert(offsetof(JoinPlayerRecord, value) == 44, "join player record layout");

struct JoinSeat {
    std::string userName;  // empty: the chair is empty (the record is still sent)
    std::string nickname;
    uint32_t value = 0;
};

// Body of a successful reply: u16 count, u16 second value (0), one record per
// chair, then u32 length and the room's option text with its zero byte.
std::vector<uint8_t> BuildJoinReplyBody(const std::vector<JoinSeat>& seats,
                                        const std::string& roomOptions);
Message JoinReply(uint32_t result, std::vector<uint8_t> body = {});

// ---- Notices ------------------------------------------------------------------

// A zero-terminated text as a whole body (0x229, 0x22A, 0x80000202, 0xFFFFFFFF).
std::vector<uint8_t> TextBody(const std::string& text);
// A fixed 20-byte name field, zero-padded, at most 19 characters.
void PutName20(std::vector<uint8_t>& out, const std::string& name);
// Reads a name field of at most `size` bytes at `offset`; false when the body
// is shorter than offset + 1 or the field has no zero byte within size and
// the body.
bool ReadName(const std::vector<uint8_t>& body, size_t offset, size_t size, std::string& out);

// Trust-play state 0x8000021B: {u16 mode, u8 times used, u8 limit, name\0}.
// Mode 0 left trust play, 1 entered it, 2 entered it on a time-out.
Message TrustStateNotice(uint32_t result, uint16_t mode, uint8_t used, uint8_t limit,
                         const std::string& name);

// ---- Board bridge ---------------------------------------------------------------

// The message as one block, header then body, as the board reads it. The
// block's storage is 4-byte aligned.
class FlatMessage {
public:
    explicit FlatMessage(const Message& message);
    NetMsgHeader* get() { return reinterpret_cast<NetMsgHeader*>(words_.data()); }

private:
    std::vector<uint32_t> words_;
};

// A block the board produced, as a message. False when its declared length is
// above the cap.
bool MessageFromBoard(const NetMsgHeader* block, Message& out);

// Little-endian helpers for bodies.
void PutU16(std::vector<uint8_t>& out, uint16_t v);
void PutU32(std::vector<uint8_t>& out, uint32_t v);
uint32_t GetU32(const uint8_t* p);

}  // namespace tableserver
