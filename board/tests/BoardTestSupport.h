// Test host for the board: the entry points (natively the static library's,
// with BOARD_TEST_USE_DLL the DLL's, loaded by name) and a callback that keeps
// a copy of everything the board reports.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "BoardInterface.h"

struct BoardApi {
    PFN_QVBoardCreate create = nullptr;
    PFN_QVBoardEvent event = nullptr;
    PFN_QVBoardDestory destroy = nullptr;
};

// The entry points under test; fails the test run when they cannot be bound.
const BoardApi& TheBoardApi();

struct CallbackCopy {
    BoardCallbackRecord record;
    std::vector<uint8_t> message;  // codes 0, 3, 4, 5, 7, 8: a copy of the message
    std::string text;              // codes 10 and 13: the text
};

class TestHost {
public:
    static int32_t QVBOARD_CALL Callback(BoardCallbackRecord* record);

    uintptr_t Cookie() { return reinterpret_cast<uintptr_t>(this); }
    std::vector<const CallbackCopy*> Calls(uint32_t code) const;
    std::vector<std::string> Logs() const;
    bool Logged(const std::string& line) const;
    void Clear() { calls.clear(); }

    std::vector<CallbackCopy> calls;
    std::map<uint32_t, int32_t> results;  // answer per code; 1 when not listed
    std::function<void(const BoardCallbackRecord&)> onCallback;
};

BoardPlayerRecord MakePlayer(uint32_t userId, uint8_t identify, uint8_t seat, const char* name);

// A message block of exactly MsgSize bytes (so that sanitizers see any read
// past it), freed with the vector.
std::vector<uint8_t> MessageBytes(uint32_t id, uint32_t extra, const void* body, uint32_t length);
inline NetMsgHeader* AsMsg(std::vector<uint8_t>& bytes)
{
    return reinterpret_cast<NetMsgHeader*>(bytes.data());
}
