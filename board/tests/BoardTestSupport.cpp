#include "BoardTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "MsgPack.h"

#if defined(BOARD_TEST_USE_DLL)
#include <windows.h>
#endif

const BoardApi& TheBoardApi()
{
    static const BoardApi api = [] {
        BoardApi a;
#if defined(BOARD_TEST_USE_DLL)
        HMODULE dll = LoadLibraryA("Mardavel_Board.dll");
        if (dll) {
            a.create = reinterpret_cast<PFN_QVBoardCreate>(
                reinterpret_cast<void*>(GetProcAddress(dll, "QVBoardCreate")));
            a.event = reinterpret_cast<PFN_QVBoardEvent>(
                reinterpret_cast<void*>(GetProcAddress(dll, "QVBoardEvent")));
            a.destroy = reinterpret_cast<PFN_QVBoardDestory>(
                reinterpret_cast<void*>(GetProcAddress(dll, "QVBoardDestory")));
        }
#else
        a.create = &QVBoardCreate;
        a.event = &QVBoardEvent;
        a.destroy = &QVBoardDestory;
#endif
        return a;
    }();
    if (!api.create || !api.event || !api.destroy) {
        ADD_FAILURE() << "board entry points not bound";
        std::abort();
    }
    return api;
}

int32_t QVBOARD_CALL TestHost::Callback(BoardCallbackRecord* record)
{
    auto* host = reinterpret_cast<TestHost*>(record->cookie);
    CallbackCopy copy;
    copy.record = *record;
    switch (record->code) {
    case kCbSendAll:
    case kCbSendSeatAndWatchers:
    case kCbSendSeat:
    case kCbSendWatchers:
    case kCbSendRecipient:
    case kCbSendReferee: {
        const auto* msg = reinterpret_cast<const NetMsgHeader*>(record->p1);
        const auto* bytes = reinterpret_cast<const uint8_t*>(msg);
        copy.message.assign(bytes, bytes + MsgSize(msg));
        break;
    }
    case kCbCreateDisplayObject:
    case kCbLog:
        copy.text = reinterpret_cast<const char*>(record->p1);
        break;
    default:
        break;
    }
    host->calls.push_back(copy);
    if (host->onCallback)
        host->onCallback(*record);
    const auto it = host->results.find(record->code);
    return it == host->results.end() ? 1 : it->second;
}

std::vector<const CallbackCopy*> TestHost::Calls(uint32_t code) const
{
    std::vector<const CallbackCopy*> found;
    for (const CallbackCopy& c : calls) {
        if (c.record.code == code)
            found.push_back(&c);
    }
    return found;
}

std::vector<std::string> TestHost::Logs() const
{
    std::vector<std::string> lines;
    for (const CallbackCopy* c : Calls(kCbLog))
        lines.push_back(c->text);
    return lines;
}

bool TestHost::Logged(const std::string& line) const
{
    for (const std::string& l : Logs()) {
        if (l == line)
            return true;
    }
    return false;
}

BoardPlayerRecord MakePlayer(uint32_t userId, uint8_t identify, uint8_t seat, const char* name)
{
    BoardPlayerRecord r;
    std::memset(&r, 0, sizeof r);
    r.userId = userId;
    r.identify = identify;
    r.seat = seat;
    std::strncpy(r.userName, name, sizeof r.userName - 1);
    std::string nick = std::string("nick-") + name;
    std::strncpy(r.nickname, nick.c_str(), sizeof r.nickname - 1);
    r.scoreTotal = -static_cast<int32_t>(userId);
    r.wins = userId * 2;
    return r;
}

std::vector<uint8_t> MessageBytes(uint32_t id, uint32_t extra, const void* body, uint32_t length)
{
    const uint32_t headerSize = MsgHeaderSize(id);
    std::vector<uint8_t> bytes(headerSize + length);
    NetMsgHeader header{id, length, extra};
    std::memcpy(bytes.data(), &header, headerSize);
    if (length)
        std::memcpy(bytes.data() + headerSize, body, length);
    return bytes;
}
