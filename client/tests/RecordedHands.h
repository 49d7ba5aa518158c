// Whole hands played by a table of the board library (the table harness: a
// referee and five player boards) and recorded into a .peg for one seat the
// way the table window records: every message that reached the seat (to all,
// and to the seat), from the deal to the score, through peg::Record.
#pragma once

#include <gtest/gtest.h>

#include <ctime>
#include <vector>

#include "MardavelTableHarness.h"
#include "PegFile.h"

struct RecordedHand {
    std::vector<uint8_t> file;
    std::vector<uint8_t> score;   // the score message as the seat got it
    BoardGameState referee{};     // the referee's table when it scored
};

inline const peg::Record::Names& RecordedHandNames()
{
    static const peg::Record::Names names = {{"alice", "bot1", "bot2", "bot3", "bot4"},
                                             {"Alice", "Bot One", "Bot Two", "Bot Three", "Bot Four"}};
    return names;
}

inline std::tm RecordedHandTime()
{
    std::tm t{};
    t.tm_year = 126;
    t.tm_mon = 11;
    t.tm_mday = 11;
    t.tm_hour = 4;
    return t;
}

inline RecordedHand RecordHand(uint32_t seed, int seat)
{
    constexpr uint32_t kDeal = 0x80026001;
    constexpr uint32_t kScore = 0x80026006;
    RecordedHand out;
    TableHarness table(seed, true);
    table.Setup({}, {});
    bool scored = false;
    table.afterDelivery = [&]() {
        if (!scored && table.Count().hands == 1) {
            out.referee = table.RefereeState();
            scored = true;
        }
    };
    EXPECT_TRUE(table.PlayHands(1)) << "seed " << seed;
    EXPECT_TRUE(scored);
    EXPECT_TRUE(table.Problems().empty()) << table.Problems().front();
    peg::Record record;
    for (const TableHarness::Sent& sent : table.Referee().sent) {
        const bool toSeat = sent.code == kCbSendAll ||
                            ((sent.code == kCbSendSeatAndWatchers || sent.code == kCbSendSeat) && sent.seat == seat);
        if (!toSeat)
            continue;
        if (sent.Id() == kDeal && record.Exists() && !out.score.empty())
            break;   // the next hand's deal
        record.Take(sent.bytes.data(), sent.bytes.size(), RecordedHandNames(), static_cast<uint32_t>(seat),
                    RecordedHandTime());
        if (sent.Id() == kScore)
            out.score = sent.bytes;
    }
    out.file = record.Serialize();
    return out;
}
