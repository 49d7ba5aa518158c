// The saved-game codec: the bytes of a record against a file laid out by hand
// (tests/data/make_golden_peg.py), which messages the record keeps, and the
// reader's refusals of damaged files.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "PegFile.h"

namespace {

std::vector<uint8_t> Message(uint32_t id, const std::vector<uint8_t>& body, uint32_t result = 1)
{
    std::vector<uint8_t> m;
    auto put = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i)
            m.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    put(id);
    put(static_cast<uint32_t>(body.size()));
    if (id & 0x80000000u)
        put(result);
    m.insert(m.end(), body.begin(), body.end());
    return m;
}

std::vector<uint8_t> Words(std::initializer_list<int32_t> words)
{
    std::vector<uint8_t> out;
    for (int32_t w : words) {
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<uint8_t>(static_cast<uint32_t>(w) >> (8 * i)));
    }
    return out;
}

std::tm GoldenTime()
{
    std::tm t{};
    t.tm_year = 124;
    t.tm_mon = 2;
    t.tm_mday = 5;
    t.tm_hour = 14;
    t.tm_min = 7;
    t.tm_sec = 9;
    t.tm_wday = 2;
    return t;
}

const peg::Record::Names kNames = {{"alice", "bot1", "bot2", "bot3", "bot4"},
                                   {"Alice", "Bot One", "Bot Two", "Bot Three", "Bot Four"}};

std::vector<uint8_t> ReadWhole(const std::string& path)
{
    std::vector<uint8_t> bytes;
    FILE* file = fopen(path.c_str(), "rb");
    if (file == nullptr)
        return bytes;
    uint8_t buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + n);
    fclose(file);
    return bytes;
}

peg::Record GoldenRecord()
{
    peg::Record record;
    const std::tm when = GoldenTime();
    const auto deal = Message(0x80026001, {3, 44, 43, 43, 43, 43});
    const auto play = Message(0x26005, Words({2, -1, 2, 7, 61}));
    const auto score = Message(0x80026006, Words({12, -3}));
    for (const auto* m : {&deal, &play, &score})
        EXPECT_EQ(record.Take(m->data(), m->size(), kNames, 2, when), peg::kRecordTaken);
    return record;
}

TEST(PegFileTest, RecordMatchesTheFileLaidOutByHand)
{
    const std::vector<uint8_t> golden = ReadWhole(std::string(CLIENT_TEST_DATA) + "/golden.peg");
    ASSERT_EQ(golden.size(), 390u) << "golden.peg missing or changed";
    const std::vector<uint8_t> bytes = GoldenRecord().Serialize();
    EXPECT_EQ(bytes, golden);

    peg::File file;
    ASSERT_EQ(peg::ReadFile(golden.data(), golden.size(), &file), peg::kReadOk);
    ASSERT_EQ(file.entries.size(), 3u);
    EXPECT_EQ(file.entries[0].id, 0x80026001u);
    EXPECT_EQ(file.entries[0].length, 18u) << "a reply's entry counts its 12-byte header";
    EXPECT_EQ(file.entries[1].length, 28u) << "a plain entry counts an 8-byte header";
    EXPECT_EQ(file.entries[2].id, 0x80026006u);
    EXPECT_EQ(file.info.seat, 2u);
    EXPECT_STREQ(file.info.nickNames[3], "Bot Three");
}

TEST(PegFileTest, AsctimeText)
{
    EXPECT_EQ(peg::AsctimeText(GoldenTime()), "Tue Mar  5 14:07:09 2024\n");
    std::tm t = GoldenTime();
    t.tm_mday = 25;
    t.tm_wday = 1;
    t.tm_mon = 11;
    EXPECT_EQ(peg::AsctimeText(t), "Mon Dec 25 14:07:09 2024\n");
}

TEST(PegFileTest, WhichMessagesTheRecordKeeps)
{
    struct Case {
        const char* what;
        std::vector<std::vector<uint8_t>> messages;
        bool exists;
        size_t entries;
    };
    const auto deal = Message(0x80026001, {0, 1, 1, 1, 1, 1});
    const auto play = Message(0x26005, Words({1, -1, 0}));
    const auto ready = Message(0x26000, Words({1}));
    const auto score = Message(0x80026006, Words({0}));
    const auto handRecord = Message(0x26012, Words({12, 0x26000, 4, 1}));   // one entry of L 12
    const Case cases[] = {
        {"a play before any deal is not kept", {play, score}, false, 0},
        {"the deal starts a record", {deal, play}, true, 2},
        {"a second deal starts afresh", {deal, play, play, deal}, true, 1},
        {"ids outside the table are ignored", {deal, ready, ready}, true, 1},
        {"decisions, plays, kicks, results and the score", {deal, Message(0x26002, Words({1, 1})),
                                                             Message(0x80026003, Words({2})),
                                                             Message(0x26004, Words({2, 0})),
                                                             Message(0x26010, Words({0})), play, score},
         true, 7},
        {"the server's record of the hand becomes the data", {play, handRecord, play}, true, 2},
    };
    for (const Case& c : cases) {
        peg::Record record;
        for (const auto& m : c.messages)
            record.Take(m.data(), m.size(), kNames, 0, GoldenTime());
        EXPECT_EQ(record.Exists(), c.exists) << c.what;
        if (!c.exists)
            continue;
        const std::vector<uint8_t> bytes = record.Serialize();
        peg::File file;
        ASSERT_EQ(peg::ReadFile(bytes.data(), bytes.size(), &file), peg::kReadOk) << c.what;
        EXPECT_EQ(file.entries.size(), c.entries) << c.what;
        EXPECT_EQ(file.info.dataLength, bytes.size() - peg::kDataOffset) << c.what;
    }
}

TEST(PegFileTest, BadMessagesAreRefused)
{
    peg::Record record;
    const auto deal = Message(0x80026001, {0, 1, 1, 1, 1, 1});
    ASSERT_EQ(record.Take(deal.data(), deal.size(), kNames, 0, GoldenTime()), peg::kRecordTaken);
    auto cut = Message(0x26005, Words({1, -1, 0}));
    EXPECT_EQ(record.Take(cut.data(), cut.size() - 1, kNames, 0, GoldenTime()), peg::kRecordBadLength)
        << "a body longer than the bytes handed over";
    EXPECT_EQ(record.Take(cut.data(), 7, kNames, 0, GoldenTime()), peg::kRecordBadLength) << "no whole header";
    EXPECT_TRUE(record.Exists()) << "the record stays";
    EXPECT_EQ(record.Append(cut.data(), 0), peg::kRecordBadLength) << "a length of 0";
    peg::Record none;
    EXPECT_EQ(none.Append(cut.data(), static_cast<uint32_t>(cut.size())), peg::kRecordNoRecord);
}

TEST(PegFileTest, ReaderRefusesDamagedFiles)
{
    const std::vector<uint8_t> good = GoldenRecord().Serialize();
    auto with = [&](size_t offset, std::vector<uint8_t> bytes) {
        std::vector<uint8_t> f = good;
        if (f.size() < offset + bytes.size())
            f.resize(offset + bytes.size());
        memcpy(f.data() + offset, bytes.data(), bytes.size());
        return f;
    };
    auto lengthFixed = [](std::vector<uint8_t> f) {
        const uint32_t n = static_cast<uint32_t>(f.size() - peg::kDataOffset);
        memcpy(f.data() + peg::kHeaderSize + 204, &n, 4);
        return f;
    };
    std::vector<uint8_t> truncated(good.begin(), good.end() - 3);
    std::vector<uint8_t> oversized(peg::kMaxFileSize + 1, 0);
    memcpy(oversized.data(), good.data(), peg::kDataOffset);
    std::vector<uint8_t> endMark = good;
    endMark.insert(endMark.end(), {0, 0, 0, 0});
    std::vector<uint8_t> endMarkThenMore = endMark;
    endMarkThenMore.insert(endMarkThenMore.end(), {1, 2, 3, 4});
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        peg::ReadStatus status;
    };
    const Case cases[] = {
        {"the file as written", good, peg::kReadOk},
        {"fewer than 104 bytes", std::vector<uint8_t>(good.begin(), good.begin() + 103), peg::kReadShortHeader},
        {"another magic", with(0, {'Q', 'W'}), peg::kReadBadMagic},
        {"another version is read as any other", with(2, {1, 0}), peg::kReadOk},
        {"a header without the info", std::vector<uint8_t>(good.begin(), good.begin() + 200),
         peg::kReadShortInfo},
        {"a seat of 9", with(peg::kHeaderSize + 200, {9, 0, 0, 0}), peg::kReadBadSeat},
        {"cut off in the last entry", truncated, peg::kReadBadLength},
        {"cut off, length field mended", lengthFixed(truncated), peg::kReadBadEntry},
        {"an entry longer than the file", lengthFixed(with(peg::kDataOffset, {0xFF, 0, 0, 0})),
         peg::kReadBadEntry},
        {"an entry shorter than a header", lengthFixed(with(peg::kDataOffset, {4, 0, 0, 0})),
         peg::kReadBadEntry},
        {"an entry whose message says another length",
         lengthFixed(with(peg::kDataOffset + 4 + 4, {7, 0, 0, 0})), peg::kReadBadEntry},
        {"a zero length ends the data at the end", lengthFixed(endMark), peg::kReadOk},
        {"a zero length with bytes after it", lengthFixed(endMarkThenMore), peg::kReadBadEntry},
        {"a file above the size cap", lengthFixed(oversized), peg::kReadTooLarge},
    };
    for (const Case& c : cases) {
        peg::File file;
        EXPECT_EQ(peg::ReadFile(c.bytes.data(), c.bytes.size(), &file), c.status) << c.what;
    }
}

TEST(PegFileTest, ReaderTerminatesNames)
{
    std::vector<uint8_t> bytes = GoldenRecord().Serialize();
    memset(bytes.data() + peg::kHeaderSize, 'x', 200);   // every name field full
    peg::File file;
    ASSERT_EQ(peg::ReadFile(bytes.data(), bytes.size(), &file), peg::kReadOk);
    EXPECT_EQ(strlen(file.info.userNames[0]), 19u);
    EXPECT_EQ(strlen(file.info.nickNames[4]), 19u);
}

TEST(PegFileTest, SaveFileNames)
{
    struct Case {
        const char* what;
        const char* folder;
        bool watching;
        int suffix;
        const char* expected;
    };
    const Case cases[] = {
        {"own game", "C:\\save", false, 1, "C:\\save\\自己的20240305140709.peg"},
        {"watched game", "C:\\save\\", true, 1, "C:\\save\\旁观的20240305140709.peg"},
        {"second save in the same second", "C:\\save", false, 2, "C:\\save\\自己的20240305140709-2.peg"},
    };
    const std::string time = peg::SaveTimeText(GoldenTime());
    EXPECT_EQ(time, "20240305140709");
    for (const Case& c : cases)
        EXPECT_EQ(peg::SaveFileName(c.folder, time, c.watching, c.suffix), c.expected) << c.what;
}

}  // namespace
