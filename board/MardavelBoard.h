// The game board: a CBoardClient that holds the table of one five-seat game.
//
// This is the board's frame only: the table state, the rule options and the
// game's messages and events plug in at the places marked below. Until they
// do, every event that no framework layer handles is accepted (1), and every
// game message is left unhandled.
#pragma once

#include "Board.h"

class CMardavelBoard : public CBoardClient {
public:
    CMardavelBoard() = default;
    ~CMardavelBoard() override = default;

    // Framework and client layers first; the game's event codes (4110-4116,
    // 10000-10061) are handled here. Unknown codes answer 1.
    int OnEvent(int32_t code, int32_t userId, int32_t identify, void* param) override;

    // Base messages first; the game's messages (0x26000-0x26024 and the
    // referee's replies) are handled here.
    int ProcessMsg(NetMsgHeader* msg) override;

    // The stream's leading version, then the framework's part, then the table
    // state (with the cards the recipient may not see hidden).
    int ExportBoardData(NetMsgHeader** stream, int32_t a, int32_t b, int32_t seat,
                        int32_t identify) override;
    // Checks the leading version, reads the framework's part, then the table
    // state; tells the host to refresh (callback 14).
    int ImportBoardData(NetMsgHeader* stream) override;

protected:
    // Table state in the board-data stream: written after the player records
    // for one recipient, and read back on the player side.
    virtual int WriteTableState(NetMsgHeader** stream, int32_t seat, int32_t identify);
    virtual int ReadTableState(NetMsgHeader* stream);
};
