// Feeds arbitrary bytes to the board as messages (event 1) and as board-data
// streams (event 0x1006 / message 0x80000280), on a referee and a player
// board, through the packing library's readers, and as a display-object map
// file (event 0). The first byte picks the target; message blocks are exactly
// as long as their header says, so the sanitizers see any read past a body.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "BoardInterface.h"
#include "MsgPack.h"

namespace {

int32_t QVBOARD_CALL IgnoreCallback(BoardCallbackRecord*)
{
    return 1;
}

BoardPlayerRecord Player(uint32_t userId, uint8_t identify, uint8_t seat, char tag)
{
    BoardPlayerRecord r;
    std::memset(&r, 0, sizeof r);
    r.userId = userId;
    r.identify = identify;
    r.seat = seat;
    r.userName[0] = tag;
    return r;
}

BoardHandle Referee()
{
    BoardHandle h = QVBoardCreate(kBoardModeReferee, &IgnoreCallback, 1, 0, nullptr);
    for (uint8_t s = 0; s < 5; ++s) {
        BoardPlayerRecord p = Player(100u + s, 0, s, static_cast<char>('a' + s));
        QVBoardEvent(h, kEvAddPlayer, 0, 0, &p);
    }
    BoardPlayerRecord w = Player(200, 1, 0x81, 'w');
    QVBoardEvent(h, kEvAddPlayer, 0, 0, &w);
    return h;
}

BoardHandle PlayerBoard()
{
    BoardInitBlock init;
    std::memset(&init, 0, sizeof init);
    init.ownUserId = 102;
    init.ownIdentifyPlusOne = 1;
    return QVBoardCreate(kBoardModePlayer, &IgnoreCallback, 1, 0, &init);
}

// A message block of header + body, the header's id from the input.
std::vector<uint8_t> Message(uint32_t id, uint32_t extra, const uint8_t* body, size_t size)
{
    const uint32_t header = MsgHeaderSize(id);
    std::vector<uint8_t> bytes(header + size);
    const NetMsgHeader h{id, static_cast<uint32_t>(size), extra};
    std::memcpy(bytes.data(), &h, header);
    if (size)
        std::memcpy(bytes.data() + header, body, size);
    return bytes;
}

uint32_t Word(const uint8_t*& data, size_t& size)
{
    uint32_t w = 0;
    const size_t n = size < 4 ? size : 4;
    std::memcpy(&w, data, n);
    data += n;
    size -= n;
    return w;
}

void ReadWithPackers(const uint8_t* data, size_t size)
{
    const int32_t n1 = static_cast<int32_t>(Word(data, size)) % 300;
    const int32_t n2 = static_cast<int32_t>(Word(data, size)) % 300;
    // Each reader on the header form it is made for.
    for (uint32_t id : {0x26000u, 0x80026000u}) {
        const bool isLong = (id & kMsgLongHeaderBit) != 0;
        const uint32_t header = MsgHeaderSize(id);
        auto bytes = Message(id, 0, data, size);
        auto* msg = reinterpret_cast<NetMsgHeader*>(bytes.data());
        std::vector<uint8_t> d1(n1 < 0 ? -n1 : n1), d2(n2 < 0 ? -n2 : n2);
        if (isLong)
            MsgParseEx(msg, {{n1, d1.data()}, {n2, d2.data()}});
        else
            MsgParse(msg, {{n1, d1.data()}, {n2, d2.data()}});
        msg->id = 0;
        char text[16];
        uint32_t length = 0;
        for (;;) {
            const bool read = isLong ? StreamRead(msg, d1.data(), n1, d2.data(), n2)
                                     : StreamReadPlain(msg, d1.data(), n1, d2.data(), n2);
            if (!read && !StreamTake(msg, header, n1) &&
                !StreamReadString(msg, header, text, sizeof text) &&
                !StreamPeekString(msg, header, &length) && !(isLong && StreamTakeBytes(msg, 1)))
                break;
        }
    }
}

int32_t QVBOARD_CALL CreateObjects(BoardCallbackRecord* r)
{
    // Refuse some objects so that the failure path runs too.
    return r->code == kCbCreateDisplayObject ? (r->userId != 13) : 1;
}

void LoadMapFile(const uint8_t* data, size_t size)
{
    static const std::string path = "/tmp/fuzz-board-map-" + std::to_string(getpid()) + ".ini";
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    BoardInitBlock init;
    std::memset(&init, 0, sizeof init);
    std::memcpy(init.mapIniPath, path.c_str(), path.size() + 1);
    std::memset(init.clientExePath, 'E', sizeof init.clientExePath);  // no zero: bounded reads
    std::strcpy(init.gameDllPath, "%d%GameDllPath%");
    BoardHandle h = QVBoardCreate(kBoardModePlayer, &CreateObjects, 1, 0, &init);
    QVBoardEvent(h, kEvLoadDisplayMap, 0, 0, nullptr);
    for (int32_t code = 2; code <= 10; ++code)
        QVBoardEvent(h, code, static_cast<int32_t>(size % 7), 1, nullptr);
    QVBoardDestory(h);
    std::remove(path.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const uint8_t mode = data[0] % 5;
    ++data;
    --size;
    if (mode == 3) {
        ReadWithPackers(data, size);
        return 0;
    }
    if (mode == 4) {
        LoadMapFile(data, size);
        return 0;
    }

    BoardHandle referee = Referee();
    BoardHandle player = PlayerBoard();
    if (mode == 0 || mode == 1) {
        // id, extra word, sender (a seat of the table, or anyone), then the body.
        const uint32_t id = Word(data, size);
        const uint32_t extra = Word(data, size);
        const uint32_t sender = Word(data, size);
        auto bytes = Message(id, extra, data, size);
        auto* msg = reinterpret_cast<NetMsgHeader*>(bytes.data());
        if (mode == 0)
            QVBoardEvent(referee, kEvGameMessage, static_cast<int32_t>(100 + sender % 7), 0, msg);
        else
            QVBoardEvent(player, kEvGameMessage, -1, -1, msg);
    } else {
        // A board-data stream, both ways in.
        auto bytes = Message(kMsgBoardData, 1, data, size);
        auto* msg = reinterpret_cast<NetMsgHeader*>(bytes.data());
        QVBoardEvent(player, kEvImportBoardData, 0, 0, msg);
        QVBoardEvent(player, kEvGameMessage, -1, -1, msg);
        // Whatever was imported exports again.
        PlayerExportRequest request{102, kIdentifyOwnPlayer, nullptr};
        QVBoardEvent(referee, kEvBuildPlayerExport, 0, 0, &request);
        BoardPlayerRecord seats[5];
        QVBoardEvent(player, kEvExportPlayers, 5, 0, seats);
    }
    QVBoardDestory(referee);
    QVBoardDestory(player);
    return 0;
}
