// The table window's decisions that need no window: where a server message
// goes, what may be sent, how the trust-play notices read, what each board
// callback and each phase shows, what each command asks of the board, and
// the automatic action when the own clock runs out.
//
// Messages are flat byte blocks as the connection hands them over: u32 id,
// u32 body length, a u32 result word when bit 31 of the id is set, then the
// body. Every reader here takes the block's real size and checks it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "MardavelState.h"

// ---- Messages ---------------------------------------------------------------------

namespace tablemsg {
constexpr uint32_t kReady = 0x26000;
constexpr uint32_t kDeal = 0x80026001;
constexpr uint32_t kEmperorChoice = 0x26002;
constexpr uint32_t kEmperorResult = 0x80026003;
constexpr uint32_t kGuardChoice = 0x26004;
constexpr uint32_t kPlay = 0x26005;
constexpr uint32_t kHandResult = 0x80026006;
constexpr uint32_t kIdle = 0x26008;
constexpr uint32_t kKickChoice = 0x26010;
constexpr uint32_t kFace = 0x26011;
constexpr uint32_t kHandRecord = 0x26012;
constexpr uint32_t kTitleList = 0x80026021;
constexpr uint32_t kTableOptions = 0x80026023;
constexpr uint32_t kRelayedBlock = 0x26024;
constexpr uint32_t kTrustRequest = 0x21B;
constexpr uint32_t kBoardData = 0x80000280;
constexpr uint32_t kSkinData = 0x248;
constexpr uint32_t kAdvert = 0x205;
constexpr uint32_t kLinkedNotice = 0x80026026;
}  // namespace tablemsg

uint32_t MessageId(const uint8_t* message);
// Bytes of a message's header (8, or 12 for a reply).
inline uint32_t MessageHeaderBytes(uint32_t id) { return (id & 0x80000000u) != 0 ? 12u : 8u; }
// The body and its length, when the whole message lies within `size` bytes.
bool MessageBody(const uint8_t* message, size_t size, const uint8_t** body, uint32_t* length);

// Where the dispatcher sends a message it got from the connection.
enum NetRoute {
    kRouteIgnore = 0,
    kRouteGameMessage,   // the game-message entry
    kRouteSkinData,      // 0x248: the skin manager
    kRouteAdvert,        // 0x205: the frame's advertising area
    kRouteLinkedNotice,  // 0x80026026: the reward and task system
    kRouteTask,          // task messages
};
NetRoute RouteOfMessage(uint32_t id);

// What the game-message entry does with a message (after recording it).
enum GameMessageKind {
    kToBoard = 0,
    kHandResultToBoard,   // the hand-result text is cleared first
    kTitleListOnly,
    kTableOptionsOnly,
};
GameMessageKind GameMessageKindOf(uint32_t id);

// Sending: a message whose body is 65529 bytes or more, or whose id is
// 0x100000 or more, is refused.
constexpr uint32_t kMaxSendBody = 65528;
constexpr uint32_t kMaxSendId = 0xFFFFF;
bool MaySendMessage(const uint8_t* message);

// The trust-play status notice (handler code 2, message 0x8000021B): the
// reply's result word, then the body: u16 mode (non-zero: in trust play),
// the u16 counts (low byte the trust plays used, high byte the limit), then
// the user name. The table names the low byte the allowed number and the
// high byte the times, and shows times - allowed + 1 as the releases left.
struct TrustStatus {
    uint32_t result = 0;
    uint16_t inTrust = 0;
    uint8_t allowed = 0;
    uint8_t times = 0;
    char userName[21] = {};   // at most 20 bytes of the body, terminated
};
bool ParseTrustStatus(const uint8_t* message, size_t size, TrustStatus* status);
// Case-insensitive comparison of at most 20 bytes of two user names.
bool SameUserName(const char* a, const char* b);

// Message 0x21B: u32 request (1 start, 0 end, 2 taken over on time-out),
// then the user name in 20 bytes (at most 19 characters and a NUL).
constexpr size_t kTrustRequestSize = 8 + 24;
void BuildTrustRequest(uint32_t request, const char* userName, uint8_t out[kTrustRequestSize]);
// A message with an empty body.
void BuildEmptyMessage(uint32_t id, uint8_t out[8]);

// ---- Board callbacks -------------------------------------------------------------

// The string of a hand result code (1-7); 0 for a code out of range.
constexpr int kDrawResultString = 45;
int HandResultStringId(int resultCode);
// The picture shown during the result pause: -1 none, else 0 emperor wins,
// 1 emperor loses, 2 rebellion wins, 3 rebellion loses, 4 draw.
int ResultPauseKind(int resultCode, int ownSeat, int emperorSeat, int guardSeat);
// "emperorwin.bmp" ... "draw.bmp" of a pause kind; null for -1.
const char* ResultPictureFile(int kind);
// Its picture id among the fixed pictures (326-329, 336); 0 for -1.
int ResultPictureId(int kind);

// A button's change: left as it is, shown, or hidden; and enabled,
// disabled or left.
enum ButtonShow : int8_t { kLeave = 0, kShow = 1, kHide = -1 };
struct ButtonChange {
    ButtonShow show = kLeave;
    ButtonShow enable = kLeave;   // kShow enables, kHide disables
    bool redraw = false;
};

// The emperor-decision buttons of phase 1 and what the board answered to
// its two queries.
struct EmperorQuery {
    bool threeIdentical = false;   // 10055 with 3 answered a card
    bool fourIdentical = false;    // 10055 with 4 answered a card
    bool bothMarked = false;       // 10056 answered 1
};
struct EmperorButtons {
    ButtonChange become;    // 201
    ButtonChange decline;   // 202
    ButtonChange alone;     // 199
    ButtonChange giveUp;    // 198
    bool waitingHint = false;      // show string 37 for the seat to act
    bool clearFlag10 = false;      // clear game flag 0x10 in the table state
};
// Whether the emperor decision is simultaneous: byte 3873 and game flag 0x1.
bool IsSimultaneousDecision(const BoardGameState& s);
EmperorButtons EmperorButtonsFor(const BoardGameState& s, int ownSeat, const EmperorQuery& query);

// The guard and kick buttons of phase 2.
struct GuardButtons {
    ButtonChange show;       // 203
    ButtonChange hide;       // 204
    ButtonChange kick;       // 323
    ButtonChange noKick;     // 324
    int statusString = 0;    // 38, 50 or 52; 0 none
};
inline int KickMode(const BoardGameState& s) { return static_cast<int>((s.ruleFlags >> 8) & 0xF); }
GuardButtons GuardButtonsFor(const BoardGameState& s, int ownSeat, bool watching, bool trustPlay);

// The play row of phase 3.
struct PlayButtons {
    bool visible = false;    // 205, 206, 207 shown (else hidden)
    bool passEnabled = false;
};
// The own seat leads the trick: the seat to play made the play to beat.
bool OwnSeatLeads(const BoardGameState& s, int ownSeat);
PlayButtons PlayButtonsFor(const BoardGameState& s, int ownSeat, bool watching, bool trustPlay);

// ---- Commands ------------------------------------------------------------------------

// The board event of a decision command, or 0 for an id without one.
int32_t CommandBoardEvent(int commandId);
// Whether the play button may be pressed: leading with a card selected, or
// following with at least as many cards selected as the play to beat holds.
bool PlayButtonEnabled(bool leads, int selectedCount, int playCount, bool watching);

// What the own seat does when its clock runs out.
enum AutoActionKind {
    kAutoNothing = 0,
    kAutoStart,           // 10000, then a redraw
    kAutoNoKick,          // 10058
    kAutoGuardHidden,     // 10021
    kAutoTrustRequest,    // 0x21B with request 2
};
AutoActionKind AutoActionFor(const BoardGameState* s, bool watching);

// ---- Sounds ----------------------------------------------------------------------------

// Picks one name of a comma-separated list ("a.wav, b.wav"): blanks around
// the names are dropped, empty names skipped; `pick` chooses among the
// names left (taken modulo their number). Empty when there are none.
int CountSoundNames(const char* list);
bool PickSoundName(const char* list, unsigned pick, char* out, size_t capacity);
