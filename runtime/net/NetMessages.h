// Message ids, limits and wire records of the game connection.
//
// Every record here is little-endian and identical on the 32- and 64-bit
// builds; the connection reads them from the body bounded by its length.
#pragma once

#include <cstddef>
#include <cstdint>

#include "board/NetMsgHeader.h"

// ---- The header's flag bits ------------------------------------------------------

// Bit 30 of the id on the wire: the body is compressed (u32 raw length, then
// the compressed bytes). Never for netmsg::kEndOfGame, whose bits are all set.
constexpr uint32_t kMsgCompressedBit = 0x40000000u;
// A reply's id is its request's id with the long-header bit set.
inline uint32_t ReplyIdOf(uint32_t requestId) { return requestId | kMsgLongHeaderBit; }

// ---- Limits ----------------------------------------------------------------------

// Largest message the connection sends, header included.
constexpr uint32_t kMaxSentMessage = 0x10000;
// Largest message it takes from the server, header included, and the largest
// body a compressed body may declare. Anything longer closes the connection.
constexpr uint32_t kMaxReceivedMessage = 4u * 1024 * 1024;
constexpr uint32_t kMaxExpandedBody = kMaxReceivedMessage - kMsgLongHeaderSize;
// Number of requests that may wait for their replies at once.
constexpr int kReplyWaitSlots = 10;

// The ids live in their own namespace: the board's headers have names of
// their own for some of them.
namespace netmsg {

// ---- Requests the connection sends -------------------------------------------------

constexpr uint32_t kRequest100 = 0x100;       // a request that blocks others while it waits
constexpr uint32_t kFlags174 = 0x174;         // 28-byte flag record, no reply
constexpr uint32_t kJoin = 0x200;             // table join
constexpr uint32_t kKeepAlive = 0x201;        // idle keep-alive
constexpr uint32_t kLeave = 0x202;            // the user leaves
constexpr uint32_t kLeave203 = 0x203;         // leave, second form
constexpr uint32_t kEmptyRequest208 = 0x208;
constexpr uint32_t kTrustQuit = 0x21A;        // {char[20] own user name}
constexpr uint32_t kPortHeader = 0x663;       // {u32 requested port, u32 value}

// ---- System messages of the server (handled by the connection itself) -------------

constexpr uint32_t kTransforms = 0x160;
constexpr uint32_t kRegisterProcess = 0x1A1;
constexpr uint32_t kOpenAddress = 0x225;
constexpr uint32_t kPlayerOffline = 0x229;
constexpr uint32_t kPlayerBack = 0x22A;
constexpr uint32_t kMayClose = 0x22D;
constexpr uint32_t kQuery = 0x230;
constexpr uint32_t kLocalAddress = 0x231;
constexpr uint32_t kServerBox = 0x234;
constexpr uint32_t kStatusRecord = 0x244;
constexpr uint32_t kNoticePopup = 0x249;
constexpr uint32_t kLeaveReply = 0x80000202;
constexpr uint32_t kConnectionLost = 0x80000219;
constexpr uint32_t kTrustQuitReply = 0x8000021A;
constexpr uint32_t kTrustState = 0x8000021B;
constexpr uint32_t kTrustPermission = 0x8000021C;
constexpr uint32_t kQueryAnswer = 0x80000230;
constexpr uint32_t kLocalAddressReply = 0x80000231;
constexpr uint32_t kWealth = 0x80000233;
constexpr uint32_t kEndOfGame = 0xFFFFFFFFu;

}  // namespace netmsg

// ---- Records -----------------------------------------------------------------------

// Size of the user-name fields of the platform's records.
constexpr size_t kUserNameField = 20;

// 0x174 body.
struct Flags174Body {
    uint32_t value;
    uint32_t zero;
    uint32_t flags[5];
};
static_assert(sizeof(Flags174Body) == 28, "0x174 body is 28 bytes");

// One record of 0x80000233: the wealth change of one player at the end of a hand.
struct WealthRecord {
    char userName[kUserNameField];
    uint32_t value;
    int32_t wealthChange;
};
static_assert(sizeof(WealthRecord) == 28, "wealth record is 28 bytes");
static_assert(offsetof(WealthRecord, value) == 20, "wealth record layout");

// 0x249 body: the web notice popup.
struct NoticePopupBody {
    char title[128];
    char address[512];
    uint32_t width;
    uint32_t height;
};
static_assert(sizeof(NoticePopupBody) == 648, "notice popup body is 648 bytes");
static_assert(offsetof(NoticePopupBody, width) == 640, "notice popup layout");

// 0x244: the status record kept by the connection; it starts with the name.
constexpr size_t kStatusRecordSize = 44;

// Error codes of the connection beside the system's socket errors.
constexpr int kNetErrorNone = 0;
constexpr int kNetErrorNoBox = -1;            // out of memory, or a close the program made: no box
constexpr int kNetErrorCancelled = 10200;     // the caller's cancel flag ended a wait
constexpr int kNetErrorProxyConnect = 10201;  // the proxy could not be reached
constexpr int kNetErrorProxyRefused = 10202;  // the proxy refused the handshake
constexpr int kNetErrorWaitFailed = 10203;    // a request's wait for its reply failed
constexpr int kNetErrorInitial = 10300;       // nothing has happened yet
// A message that cannot be read: longer than kMaxReceivedMessage, or a
// compressed body that does not expand to the length it declares.
constexpr int kNetErrorBadMessage = 10040;    // the system's "message too long"
