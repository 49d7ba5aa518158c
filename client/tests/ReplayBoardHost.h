// A player board of the board library as the replay's target, the way the
// table window hosts it for a saved game: its own seat's identity, the live
// flag off, the table state read through the board's pointer; recorded
// messages go to the board as game messages. Keeps what the replay told the
// table window (play marks, the play counter, the buttons).
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "BoardInterface.h"
#include "ReplayStepper.h"

class ReplayBoardHost : public replay::ReplayTarget
{
public:
    explicit ReplayBoardHost(int ownSeat, const char* userName = "alice")
    {
        m_board = QVBoardCreate(kBoardModePlayer, &ReplayBoardHost::Callback, reinterpret_cast<uintptr_t>(this), 0,
                                nullptr);
        if (m_board == nullptr)
            return;
        BoardPlayerRecord identity{};
        identity.seat = static_cast<uint8_t>(ownSeat);
        strncpy(identity.userName, userName, sizeof identity.userName - 1);
        m_ready = QVBoardEvent(m_board, replay::kEvLiveFlag, -1, 0, nullptr) > 0 &&
                  QVBoardEvent(m_board, replay::kEvIdentity, -1, -1, &identity) > 0 &&
                  QVBoardEvent(m_board, 10050, -1, -1, &m_state) > 0 && m_state != nullptr;
    }
    ~ReplayBoardHost() override { QVBoardDestory(m_board); }
    ReplayBoardHost(const ReplayBoardHost&) = delete;
    ReplayBoardHost& operator=(const ReplayBoardHost&) = delete;

    bool Ready() const { return m_ready; }

    BoardGameState* State() override { return m_state; }
    int32_t BoardEvent(int32_t code, int32_t a, int32_t b, void* param) override
    {
        return QVBoardEvent(m_board, code, a, b, param);
    }
    void FeedMessage(uint8_t* message, size_t /*size*/) override
    {
        ++fed;
        QVBoardEvent(m_board, replay::kEvBoardMessage, -1, -1, message);
    }
    void SetFirstPlayMark(int seat, bool on) override
    {
        if (seat >= 0 && seat < kBoardSeats)
            firstMark[seat] = on;
    }
    bool SecondPlayMark(int seat) override { return seat >= 0 && seat < kBoardSeats && secondMark[seat]; }
    void CountPlayBack() override { --playCounter; }
    void SetOutcome(int value) override { outcome = value; }
    void Repaint() override { ++repaints; }
    void UpdateButtons(int position, const replay::ReplayButtons& buttons) override
    {
        buttonsPosition = position;
        lastButtons = buttons;
    }

    int fed = 0;
    int repaints = 0;
    int playCounter = 0;
    int outcome = -1;
    int buttonsPosition = -1;
    bool firstMark[kBoardSeats] = {};
    bool secondMark[kBoardSeats] = {};
    replay::ReplayButtons lastButtons;
    std::vector<std::string> logs;

private:
    static int32_t QVBOARD_CALL Callback(BoardCallbackRecord* record)
    {
        auto* self = reinterpret_cast<ReplayBoardHost*>(record->cookie);
        if (record->code == kCbLog && record->p1 != 0)
            self->logs.emplace_back(reinterpret_cast<const char*>(record->p1));
        return 1;
    }

    BoardHandle m_board = nullptr;
    BoardGameState* m_state = nullptr;
    bool m_ready = false;
};
