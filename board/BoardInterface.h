// Host interface of the board library: the three entry points, the callback
// and the records that cross between host and board.
//
// The library is Mardavel_Board.dll on Windows (exports through
// Mardavel_Board.def, standard calling convention, undecorated names) and the
// static library mardavel_board_core natively, with the same entry points.
#pragma once

#include <cstddef>
#include <cstdint>

#include "NetMsgHeader.h"

#if defined(_WIN32)
#define QVBOARD_CALL __stdcall
#else
#define QVBOARD_CALL
#endif

// ---- Records ------------------------------------------------------------------

// A seated player or a watcher. The same 88 bytes in memory, in the board-data
// stream and in the host's player arrays.
struct BoardPlayerRecord {
    uint32_t userId;
    uint8_t identify;      // 253 marks the seat's own player in export requests
    uint8_t seat;          // 0-4; bit 7 set = watching that seat, not playing
    char userName[20];
    char nickname[20];
    uint8_t reserved46[2];
    int32_t scoreTotal;
    uint32_t wins;
    uint32_t losses;
    uint32_t draws;
    uint32_t reserved64;
    uint32_t games;
    uint8_t reserved72[12];
    uint32_t flags;        // kPlayerFlag*
};
static_assert(sizeof(BoardPlayerRecord) == 88, "BoardPlayerRecord is 88 bytes");
static_assert(offsetof(BoardPlayerRecord, identify) == 4, "BoardPlayerRecord layout");
static_assert(offsetof(BoardPlayerRecord, seat) == 5, "BoardPlayerRecord layout");
static_assert(offsetof(BoardPlayerRecord, userName) == 6, "BoardPlayerRecord layout");
static_assert(offsetof(BoardPlayerRecord, nickname) == 26, "BoardPlayerRecord layout");
static_assert(offsetof(BoardPlayerRecord, scoreTotal) == 48, "BoardPlayerRecord layout");
static_assert(offsetof(BoardPlayerRecord, wins) == 52, "BoardPlayerRecord layout");
static_assert(offsetof(BoardPlayerRecord, games) == 68, "BoardPlayerRecord layout");
static_assert(offsetof(BoardPlayerRecord, flags) == 84, "BoardPlayerRecord layout");

constexpr uint8_t kSeatWatchingBit = 0x80;
constexpr uint8_t kIdentifyOwnPlayer = 253;

constexpr uint32_t kPlayerFlagReady = 0x02;
constexpr uint32_t kPlayerFlagMarked = 0x04;
constexpr uint32_t kPlayerFlagTrustPlay = 0x20;
constexpr uint32_t kPlayerFlagOffline = 0x40;

// Initialisation block, copied into the board at creation. The values in
// brackets are those a host fills in.
struct BoardInitBlock {
    uint32_t size;              // (1388)
    uint32_t codePage;          // (936)
    char mapIniPath[260];       // display-object map ini (player side)
    char reserved268[260];
    char clientExePath[260];    // substituted for "%ClientExePath%"
    char clientDllPath[260];    // substituted for "%ClientDllPath%"
    char gameDllPath[260];      // substituted for "%GameDllPath%"
    uint32_t reserved1308[3];
    char role[32];              // ("Client")
    uint8_t reserved1352[24];
    uint32_t ownUserId;
    uint8_t ownIdentifyPlusOne; // own identify + 1 (1)
    uint8_t reserved1381;
    uint16_t value1382;         // (255)
    uint32_t reserved1384;
};
static_assert(sizeof(BoardInitBlock) == 1388, "BoardInitBlock is 1388 bytes");
static_assert(offsetof(BoardInitBlock, mapIniPath) == 8, "BoardInitBlock layout");
static_assert(offsetof(BoardInitBlock, clientExePath) == 528, "BoardInitBlock layout");
static_assert(offsetof(BoardInitBlock, clientDllPath) == 788, "BoardInitBlock layout");
static_assert(offsetof(BoardInitBlock, gameDllPath) == 1048, "BoardInitBlock layout");
static_assert(offsetof(BoardInitBlock, role) == 1320, "BoardInitBlock layout");
static_assert(offsetof(BoardInitBlock, ownUserId) == 1376, "BoardInitBlock layout");
static_assert(offsetof(BoardInitBlock, ownIdentifyPlusOne) == 1380, "BoardInitBlock layout");
static_assert(offsetof(BoardInitBlock, value1382) == 1382, "BoardInitBlock layout");

// What the board hands its host. Eleven 32-bit words (44 bytes) in the 32-bit
// build; in the 64-bit build the cookie and the three parameters are
// pointer-sized, in the same order. All fields a code does not name are zero.
// The record lives on the board's stack and is valid during the call only.
struct BoardCallbackRecord {
    uintptr_t cookie;       // word 0: the cookie given to QVBoardCreate
    uint32_t code;          // word 1: kCb*
    intptr_t p1;            // word 2: as a rule a message pointer or a value
    intptr_t p2;            // word 3: a seat, a size or a value
    union {
        intptr_t p3;        // word 4
        char recipient[20]; // code 7: words 4-8, at most 19 characters and a zero
    };
    int32_t userId;         // word 9 (code 7: -1)
    int32_t identify;       // word 10 (code 7: 255)
};
static_assert(offsetof(BoardCallbackRecord, recipient) == offsetof(BoardCallbackRecord, p3),
              "the recipient text starts at p3");
#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(BoardCallbackRecord) == 44, "BoardCallbackRecord is eleven words");
static_assert(offsetof(BoardCallbackRecord, code) == 4, "BoardCallbackRecord layout");
static_assert(offsetof(BoardCallbackRecord, p1) == 8, "BoardCallbackRecord layout");
static_assert(offsetof(BoardCallbackRecord, p2) == 12, "BoardCallbackRecord layout");
static_assert(offsetof(BoardCallbackRecord, p3) == 16, "BoardCallbackRecord layout");
static_assert(offsetof(BoardCallbackRecord, userId) == 36, "BoardCallbackRecord layout");
static_assert(offsetof(BoardCallbackRecord, identify) == 40, "BoardCallbackRecord layout");
#endif

typedef int32_t(QVBOARD_CALL* BoardCallback)(BoardCallbackRecord* record);

// Parameter of event 0x1005: who the export is for, and where the board puts
// the message it built (valid until the board's next export).
struct PlayerExportRequest {
    uint32_t userId;
    uint32_t identify;
    NetMsgHeader* message;
};
#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(PlayerExportRequest) == 12, "PlayerExportRequest is three words");
#endif

// ---- Codes --------------------------------------------------------------------

enum BoardMode : int32_t {
    kBoardModeReferee = 0,
    kBoardModePlayer = 1,
};

// Events the framework layer handles.
enum BoardFrameworkEvent : int32_t {
    kEvGameMessage = 1,
    kEvAddPlayer = 0x1001,
    kEvRemovePlayer = 0x1002,
    kEvSetOption = 0x1003,
    kEvExportPlayers = 0x1004,
    kEvBuildPlayerExport = 0x1005,
    kEvImportBoardData = 0x1006,
    kEvSendBoardData = 0x1007,
    kEvOwnIdentity = 0x1008,
    kEvWatcher = 0x1009,
    kEvTrustPlay = 0x100A,
    kEvSeatFlag = 0x100B,
    kEvOffline = 0x100C,
    kEvReadSeatValues = 0x100D,
};

// Events the client layer (player side) handles.
enum BoardClientEvent : int32_t {
    kEvLoadDisplayMap = 0,
    kEvDisplayObjectFirst = 2,
    kEvDisplayObjectLast = 8,
    kEvRunMapFunction = 10,
};

// Option ids of event 0x1003 beyond the plain rule options (below 1000).
constexpr int32_t kOptionList = 1000;
constexpr int32_t kOptionSpareValue = 2000;

// Framework callback codes.
enum BoardCallbackCode : uint32_t {
    kCbSendAll = 0,
    kCbSendSeatAndWatchers = 3,
    kCbSendSeat = 4,
    kCbSendWatchers = 5,
    kCbSendRecipient = 7,
    kCbSendReferee = 8,
    kCbHandScored = 9,
    kCbCreateDisplayObject = 10,
    kCbLog = 13,
    kCbBoardImported = 14,
    kCbAutoActionState = 15,
    kCbObjectState = 16,
    kCbMatchGoesOn = 17,
    kCbHoldMessages = 18,
};

// Base messages every game shares.
constexpr uint32_t kMsgPlayerMarked = 553;
constexpr uint32_t kMsgPlayerUnmarked = 554;
constexpr uint32_t kMsgPlayerOffline = 0x8000021A;
constexpr uint32_t kMsgTrustState = 0x8000021B;
constexpr uint32_t kMsgBoardData = 0x80000280;
constexpr uint32_t kMsgPlayerBoardData = 0x80000281;

// Version of the board-data stream: "1.0.0.1", one byte per part.
constexpr uint32_t kBoardDataVersion = 0x01000001;

// ---- Entry points ----------------------------------------------------------------

typedef void* BoardHandle;

extern "C" {
// Creates a board (mode 0 referee, 1 player); null on failure. `reserved` is
// not read; a null init block leaves the board's copy all zero.
BoardHandle QVBOARD_CALL QVBoardCreate(int32_t mode, BoardCallback callback, uintptr_t cookie,
                                       int32_t reserved, const BoardInitBlock* init);
// 1 handled, -1 handled and failed, 0 not handled. identify is reduced to its
// low 16 bits.
int32_t QVBOARD_CALL QVBoardEvent(BoardHandle board, int32_t code, int32_t userId,
                                  int32_t identify, void* param);
// Destroys a board; null is ignored. Called from inside one of the board's own
// callbacks, the board is destroyed when that event returns, and it calls the
// host no more.
void QVBOARD_CALL QVBoardDestory(BoardHandle board);
}

typedef BoardHandle(QVBOARD_CALL* PFN_QVBoardCreate)(int32_t, BoardCallback, uintptr_t, int32_t,
                                                     const BoardInitBlock*);
typedef int32_t(QVBOARD_CALL* PFN_QVBoardEvent)(BoardHandle, int32_t, int32_t, int32_t, void*);
typedef void(QVBOARD_CALL* PFN_QVBoardDestory)(BoardHandle);
