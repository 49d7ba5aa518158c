// Helpers shared by the game board's sources: message blocks, body words and
// checks of a table state read from a stream.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "Board.h"
#include "ByteBuffer.h"
#include "MardavelCards.h"
#include "MardavelPlay.h"
#include "MardavelState.h"
#include "MsgPack.h"

namespace mardavel_board {

// A message block the board made; freed after the host's callback returned.
struct MsgFree {
    void operator()(NetMsgHeader* msg) const { gpFree(msg); }
};
using OwnedMsg = std::unique_ptr<NetMsgHeader, MsgFree>;

inline NetMsgHeader* ShortMessage(uint32_t id, const void* body, uint32_t length)
{
    if (length == 0)
        return MsgBuildPlain(id, {});
    return MsgBuildPlain(id, {{static_cast<int32_t>(length), body}});
}

inline NetMsgHeader* LongMessage(uint32_t id, uint32_t extra, const void* body, uint32_t length)
{
    if (length == 0)
        return MsgBuild(id, extra, {});
    return MsgBuild(id, extra, {{static_cast<int32_t>(length), body}});
}

// The first `count` little-endian words of the body; false when it is shorter.
inline bool ReadWords(const NetMsgHeader* msg, uint32_t* words, uint32_t count)
{
    if (!msg || msg->length < 4 * count)
        return false;
    std::memcpy(words, MsgBody(msg), 4 * count);
    return true;
}

// File name without its folders, for log lines that name their source.
inline const char* SourceName(const char* path)
{
    const char* name = path;
    for (const char* p = path; *p; ++p)
        if (*p == '/' || *p == '\\')
            name = p + 1;
    return name;
}

// A message whose body is shorter than its fields: logged and refused.
inline int ShortBody(CBoard& board, const NetMsgHeader* msg)
{
    board.Log("CMardavelBoard::ProcessMsg, message %08x too short (%u bytes)", msg->id, msg->length);
    return -1;
}

// Writes a pointer into the host's pointer-sized place.
inline int StorePointer(void* place, const void* pointer)
{
    if (!place)
        return -1;
    std::memcpy(place, &pointer, sizeof pointer);
    return 1;
}

// A recipient text: at most 19 characters of the first 20 bytes.
inline void CopyRecipient(char (&out)[20], const uint8_t* text)
{
    std::memcpy(out, text, sizeof out);
    out[sizeof out - 1] = '\0';
}

// Every card of a seat replaced by the hidden card.
inline void HideHand(BoardGameState& s, int seat)
{
    const int n = HandCount(s, seat);
    for (int i = 0; i < kCardAreaSize; ++i)
        s.hands[seat][i] = i < n ? MakeCardEntry(kHiddenCardId, s) : CardEntry{};
}

// Counts, seats and places of a state from a stream lie in their ranges.
inline bool TableStateIsSound(const BoardGameState& s)
{
    auto seatOrNone = [](int32_t seat) { return seat >= -1 && seat < kBoardSeats; };
    auto count = [](int64_t n) { return n >= 0 && n <= kCardAreaSize; };
    if (s.phase > kPhasePlay || !seatOrNone(s.seatToAct) || !seatOrNone(s.leadSeat) ||
        !seatOrNone(s.emperorSeat) || !seatOrNone(s.guardSeat) || !count(s.trickCount) ||
        !count(s.checkCount) || s.outCount < 0 || s.outCount > kBoardSeats || s.readyCount < 0 ||
        s.readyCount > kBoardSeats)
        return false;
    for (int i = 0; i < kBoardSeats; ++i) {
        const SeatState& seat = s.seats[i];
        if (!count(seat.cardsInHand) || !count(seat.cardsDealt) || !count(seat.tableCardCount) ||
            s.finishPlace[i] < 0 || s.finishPlace[i] > kBoardSeats)
            return false;
    }
    return true;
}

// A board-data stream (long header, cursor in the first word) that holds the
// leading version, the player records and a sound table state after them.
inline bool StreamHoldsSoundTable(const NetMsgHeader* stream)
{
    constexpr uint64_t kHead = 12;  // two versions and the player count
    const uint64_t left = stream->id <= stream->length ? stream->length - stream->id : 0;
    if (left < kHead)
        return false;
    const uint8_t* at = reinterpret_cast<const uint8_t*>(stream) + kMsgLongHeaderSize + stream->id;
    uint32_t count = 0;
    std::memcpy(&count, at + 8, 4);
    const uint64_t records = static_cast<uint64_t>(count) * sizeof(BoardPlayerRecord);
    if (left < kHead + records + sizeof(BoardGameState))
        return false;
    BoardGameState state;
    std::memcpy(&state, at + kHead + records, sizeof state);
    return TableStateIsSound(state);
}

}  // namespace mardavel_board

#include "MardavelBoard.h"

// Applies a decision or a play as if the seat's player had sent it.
class CMardavelBoard::ActingSeat {
public:
    ActingSeat(CMardavelBoard& board, int seat)
        : m_board(board),
          m_userId(board.m_senderUserId),
          m_identify(board.m_senderIdentify),
          m_seat(board.m_senderSeat),
          m_watching(board.m_senderWatching)
    {
        const BoardPlayerRecord& p = board.m_state.seats[seat].player;
        board.m_senderUserId = p.userId;
        board.m_senderIdentify = p.identify;
        board.m_senderSeat = static_cast<uint8_t>(seat);
        board.m_senderWatching = false;
    }
    ~ActingSeat()
    {
        m_board.m_senderUserId = m_userId;
        m_board.m_senderIdentify = m_identify;
        m_board.m_senderSeat = m_seat;
        m_board.m_senderWatching = m_watching;
    }
    ActingSeat(const ActingSeat&) = delete;
    ActingSeat& operator=(const ActingSeat&) = delete;

private:
    CMardavelBoard& m_board;
    uint32_t m_userId;
    uint8_t m_identify;
    uint8_t m_seat;
    bool m_watching;
};
