// The players' information records and what the table makes of them: the
// payload read within its length, the records matched to seats, the tip's
// lines, the own strength line, the games-needed counter, the throttles, web
// address templates and the lobby's server sections.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "PlayerInfo.h"

namespace {

// Copies the text into the field; a text as long as the field fills it
// without a terminator, as the server may send it.
template <size_t N>
void SetField(char (&field)[N], const char* text)
{
    memset(field, 0, N);
    memcpy(field, text, std::min(strlen(text), N));
}

PlayerInfoRecord Record(const char* name)
{
    PlayerInfoRecord r = {};
    SetField(r.userName, name);
    return r;
}

std::vector<uint8_t> Payload(uint32_t declared, const std::vector<PlayerInfoRecord>& records)
{
    std::vector<uint8_t> bytes(4 + records.size() * sizeof(PlayerInfoRecord));
    memcpy(bytes.data(), &declared, 4);
    if (!records.empty())
        memcpy(bytes.data() + 4, records.data(), records.size() * sizeof(PlayerInfoRecord));
    return bytes;
}

// Records alone, as the referee announces them.
std::vector<uint8_t> Records(const std::vector<PlayerInfoRecord>& records)
{
    std::vector<uint8_t> bytes(records.size() * sizeof(PlayerInfoRecord));
    memcpy(bytes.data(), records.data(), bytes.size());
    return bytes;
}

// Each byte is 8 pixels wide.
int ByteWidth(const std::string& text) { return (int)text.size() * 8; }

TEST(PlayerInfoTest, PayloadIsReadWithinItsLength)
{
    PlayerInfoRecord unterminated = Record("x");
    memset(unterminated.userName, 'n', sizeof(unterminated.userName));
    memset(unterminated.title, 't', sizeof(unterminated.title));
    struct Case {
        const char* what;
        std::vector<uint8_t> payload;
        bool ok;
        size_t records;
    };
    std::vector<uint8_t> oneAndAHalf = Payload(2, {Record("a"), Record("b")});
    oneAndAHalf.resize(4 + 124 + 60);
    const Case cases[] = {
        {"no count at all", {1, 0, 0}, false, 0},
        {"a count and nothing else", Payload(0, {}), true, 0},
        {"two records as declared", Payload(2, {Record("a"), Record("b")}), true, 2},
        {"a count beyond the payload is cut to it", Payload(5, {Record("a")}), true, 1},
        {"a huge count is cut to the payload", Payload(0xFFFFFFFFu, {Record("a"), Record("b")}), true, 2},
        {"half a record is not a record", oneAndAHalf, true, 1},
        {"fewer declared than present: the declared ones", Payload(1, {Record("a"), Record("b")}), true, 1},
        {"fields without their terminator", Payload(1, {unterminated}), true, 1},
        {"the announcement: one record without a count", Records({Record("a")}), true, 1},
        {"the announcement: five records without a count",
         Records({Record("a"), Record("b"), Record("c"), Record("d"), Record("e")}), true, 5},
        {"the announcement's record without its terminators", Records({unterminated}), true, 1},
    };
    for (const Case& c : cases) {
        std::vector<PlayerInfoRecord> records;
        EXPECT_EQ(ParsePlayerInfoPayload(c.payload.data(), c.payload.size(), &records), c.ok) << c.what;
        ASSERT_EQ(records.size(), c.records) << c.what;
        for (const PlayerInfoRecord& r : records) {
            EXPECT_LT(strlen(r.userName), sizeof(r.userName)) << c.what;
            EXPECT_LT(strlen(r.title), sizeof(r.title)) << c.what;
        }
    }
}

TEST(PlayerInfoTest, RecordsMatchSeatsByName)
{
    const char* const seats[kInfoSeats] = {"alice", "bob", "", "dora", "erik"};
    struct Case {
        const char* what;
        std::vector<const char*> names;
        uint32_t declared;
        std::vector<int> matched;
        bool all;
    };
    const Case cases[] = {
        {"four records: matched, yet not all received", {"alice", "bob", "dora", "erik"}, 4, {0, 1, 3, 4}, false},
        {"a name of no seat is dropped; an empty seat matches nothing", {"zed", "", "bob"}, 3, {1}, false},
        {"five records: all received", {"alice", "bob", "carl", "dora", "erik"}, 5, {0, 1, 3, 4}, true},
        {"a count of five over fewer records is not all", {"alice", "bob"}, 5, {0, 1}, false},
    };
    for (const Case& c : cases) {
        std::vector<PlayerInfoRecord> records;
        for (const char* name : c.names) {
            records.push_back(Record(name));
            records.back().honour = 7;
        }
        const std::vector<uint8_t> payload = Payload(c.declared, records);
        CPlayerInfoTable table;
        EXPECT_TRUE(table.Apply(payload.data(), payload.size(), seats)) << c.what;
        std::vector<int> matched;
        for (int seat = 0; seat < kInfoSeats; seat++)
            if (table.Has(seat)) {
                matched.push_back(seat);
                EXPECT_STREQ(table.Record(seat).userName, seats[seat]) << c.what;
                EXPECT_EQ(table.Record(seat).honour, 7) << c.what;
            }
        EXPECT_EQ(matched, c.matched) << c.what;
        EXPECT_EQ(table.AllReceived(), c.all) << c.what;
    }
    // The announcement's five records without a count: all received.
    const std::vector<uint8_t> five =
        Records({Record("alice"), Record("bob"), Record("carl"), Record("dora"), Record("erik")});
    CPlayerInfoTable table;
    EXPECT_TRUE(table.Apply(five.data(), five.size(), seats));
    EXPECT_TRUE(table.AllReceived());
    EXPECT_TRUE(table.Has(0) && table.Has(4) && !table.Has(2));
}

TEST(PlayerInfoTest, TipLines)
{
    struct Case {
        const char* what;
        const char* title;
        int32_t rated, score, honour;
        int32_t emperor[2], guard[2], revolt[2];
        const char* text;
    };
    const Case cases[] = {
        {"unrated, no title, no season", "", 0, 12345, 3, {0, 0}, {0, 0}, {0, 0},
         "ID:alice\n称号:暂无\n实力分:暂无\n荣誉值:3\n赛季登基成功率:暂无\n赛季护驾成功率:暂无\n赛季革命成功率:暂无"},
        {"a title of only marks leaves the line empty", "**", 1, 12345, 0, {3, 1}, {4, 4}, {-1, 0},
         "ID:alice\n称号:\n实力分:123.45\n荣誉值:0\n赛季登基成功率:33.33%\n赛季护驾成功率:100.00%\n赛季革命成功率:暂无"},
        {"marks removed; rates padded to five", "ab**cd", 2, -50, -4, {8, 1}, {1, 0}, {0, 5},
         "ID:alice\n称号:abcd\n实力分:-0.50\n荣誉值:-4\n赛季登基成功率:12.50%\n赛季护驾成功率: 0.00%\n赛季革命成功率:暂无"},
        {"a wide title is cut where it reaches 80 pixels", "abcdefghijkl", 1, 0, 0, {0, 0}, {0, 0}, {0, 0},
         "ID:alice\n称号:abcdefghij..\n实力分:0.00\n荣誉值:0\n赛季登基成功率:暂无\n赛季护驾成功率:暂无\n赛季革命成功率:暂无"},
    };
    for (const Case& c : cases) {
        PlayerInfoRecord r = Record("alice");
        SetField(r.title, c.title);
        r.ratedGames = c.rated;
        r.score100 = c.score;
        r.honour = c.honour;
        r.emperorGames = c.emperor[0];
        r.emperorWins = c.emperor[1];
        r.guardGames = c.guard[0];
        r.guardWins = c.guard[1];
        r.revoltGames = c.revolt[0];
        r.revoltWins = c.revolt[1];
        EXPECT_EQ(FormatPlayerInfo(r, ByteWidth), c.text) << c.what;
    }
}

TEST(PlayerInfoTest, TitleCutKeepsDoubleByteCharactersWhole)
{
    // Four two-byte characters. At 12 pixels a byte the fourth character
    // reaches 80 (96): nothing is cut; at 20 pixels the second does (80).
    const std::string title = "\xB3\xC6\xBA\xC5\xB3\xC6\xBA\xC5";
    auto wide = [](const std::string& t) { return (int)t.size() * 12; };
    EXPECT_EQ(FitTipTitle(title, wide), title + "..");
    auto wider = [](const std::string& t) { return (int)t.size() * 20; };
    EXPECT_EQ(FitTipTitle(title, wider), title.substr(0, 4) + "..");
    EXPECT_EQ(FitTipTitle("abc", ByteWidth), "abc");
}

TEST(PlayerInfoTest, OwnStrengthAndTitleLines)
{
    PlayerInfoRecord r = Record("alice");
    r.score100 = 98765;
    r.honour = 42;
    EXPECT_EQ(OwnStrengthText(r), "实力分:987.65   荣誉值:42");
    EXPECT_EQ(OwnTitleText(r), "称号:未设置");
    SetField(r.title, "**A**B");
    EXPECT_EQ(OwnTitleText(r), "称号:AB");
}

TEST(PlayerInfoTest, TaskTip)
{
    const uint32_t minutes[4] = {10, 30, 60, 120};
    EXPECT_EQ(TaskTipText(minutes, 1), "今日任务:\n累计有效时长10分钟  已完成\n累计有效时长30分钟  进行中\n"
                                       "累计有效时长60分钟  未开始\n累计有效时长120分钟  未开始");
    EXPECT_EQ(TaskTipText(minutes, 4).find("进行中"), std::string::npos);
}

// Code page 936 bytes: "皇城" b b ca b3 c7, "守卫" ca d8 ce c0.
TEST(PlayerInfoTest, TitleBannerText)
{
    using Parts = std::vector<std::vector<std::string>>;
    struct Case {
        const char* what;
        std::string title;
        Parts parts;
    };
    const Case cases[] = {
        {"two-byte characters stay whole", "\xbb\xca\xb3\xc7", {{"\xbb\xca", "\xb3\xc7"}}},
        {"each part apart", "\xbb\xca**\xca\xd8\xce\xc0", {{"\xbb\xca"}, {"\xca\xd8", "\xce\xc0"}}},
        {"single bytes one a line", "ab", {{"a", "b"}}},
        {"only marks: nothing", "****", {}},
        {"empty: nothing", "", {}},
        {"marks at the ends are left out", "**a**", {{"a"}}},
        {"a lead byte at the end stands alone", "a\xbb", {{"a", "\xbb"}}},
        {"a lead byte before the marks does not take a star", "\xbb**b", {{"\xbb"}, {"b"}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BannerParts(c.title), c.parts) << c.what;
    const struct {
        int characters;
        int size;
    } sizes[] = {{0, 28}, {1, 28}, {3, 28}, {4, 22}, {5, 19}, {6, 17}, {9, 11}, {10, 10}, {40, 10}};
    for (const auto& c : sizes)
        EXPECT_EQ(BannerFontSize(c.characters), c.size) << c.characters << " characters";
}

TEST(PlayerInfoTest, GamesCounter)
{
    struct Case {
        const char* what;
        int32_t needed, played, standing;
        CounterKind kind;
        int number;
    };
    const Case cases[] = {
        {"games still needed", 20, 5, 0, kCounterNeeded, 15},
        {"ranked: the standing", 20, 20, 7, kCounterStanding, 7},
        {"enough games but no standing yet: nothing", 20, 25, 0, kCounterNone, 0},
        {"no games played: nothing", 20, 0, 3, kCounterNone, 0},
        {"a negative need: nothing", -1, 5, 3, kCounterNone, 0},
        {"nothing needed: the standing", 0, 1, 1, kCounterStanding, 1},
    };
    for (const Case& c : cases) {
        const CounterChoice choice = ChooseGamesCounter(c.needed, c.played, c.standing);
        EXPECT_EQ(choice.kind, c.kind) << c.what;
        EXPECT_EQ(choice.number, c.number) << c.what;
    }
    EXPECT_EQ(BannerLevel(0), 0);
    EXPECT_EQ(BannerLevel(1), 1);
    EXPECT_EQ(BannerLevel(10), 10);
    EXPECT_EQ(BannerLevel(11), 0);
}

TEST(PlayerInfoTest, Throttle)
{
    struct Case {
        const char* what;
        std::vector<uint32_t> calls;
        std::vector<bool> accepted;
    };
    const Case cases[] = {
        {"the first call at any tick count, even 0", {0}, {true}},
        {"two clicks within one second run once", {5000, 5999}, {true, false}},
        {"a refused call does not move the stamp", {5000, 5600, 6000}, {true, false, true}},
        {"across the tick count's wrap", {0xFFFFFF00u, 0x000000F0u, 0x00000300u}, {true, false, true}},
    };
    for (const Case& c : cases) {
        CThrottle throttle(kUserActionIntervalMs);
        std::vector<bool> accepted;
        for (uint32_t now : c.calls)
            accepted.push_back(throttle.Accept(now));
        EXPECT_EQ(accepted, c.accepted) << c.what;
    }
    CThrottle reset(kUserActionIntervalMs);
    reset.Stamp(100);
    EXPECT_FALSE(reset.Accept(500)) << "a stamp from outside counts as a call";
}

TEST(PlayerInfoTest, WebAddresses)
{
    struct Case {
        const char* what;
        const char* address;
        bool openable;
    };
    const Case cases[] = {
        {"http", "http://example.test/a?b=1", true},
        {"https in capitals", "HTTPS://example.test/", true},
        {"a scheme and nothing after it", "http://", false},
        {"a local program", "C:\\Windows\\system32\\calc.exe", false},
        {"another scheme", "file:///C:/x.txt", false},
        {"a quote that would end the argument", "http://a.test/\" -x", false},
        {"a control character", "http://a.test/\n", false},
        {"empty", "", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsOpenableWebAddress(c.address), c.openable) << c.what;
}

TEST(PlayerInfoTest, UrlTemplates)
{
    int fetched = 0;
    auto ticket = [&]() {
        fetched++;
        return std::string("T0K");
    };
    struct Case {
        const char* what;
        const char* address;
        const char* user;
        const char* expanded;
        int fetches;
    };
    const Case cases[] = {
        {"name and ticket", "http://s.test/p?u=%UserName%&t=%Ticket%&again=%Ticket%", "a b",
         "http://s.test/p?u=a%20b&t=T0K&again=T0K", 1},
        {"no ticket asked for: none fetched", "http://s.test/%UserName%", "a b", "http://s.test/a%20b", 0},
        {"not logged in: unchanged", "http://s.test/%UserName%/%Ticket%", "", "http://s.test/%UserName%/%Ticket%", 0},
    };
    for (const Case& c : cases) {
        fetched = 0;
        EXPECT_EQ(ExpandUrlTemplate(c.address, c.user, c.user[0] ? "a%20b" : "", ticket), c.expanded) << c.what;
        EXPECT_EQ(fetched, c.fetches) << c.what;
    }
}

TEST(PlayerInfoTest, LobbyServerSections)
{
    struct PortCase {
        const char* what;
        std::string section;
        uint32_t port;
    };
    const PortCase ports[] = {
        {"the number after =", std::string("Port=8080\0\0", 11), 8080},
        {"absent", std::string("\0", 1), kDefaultRegisterPort},
        {"zero", std::string("Port=0\0\0", 8), kDefaultRegisterPort},
        {"not a port", std::string("Port=99999999\0\0", 15), kDefaultRegisterPort},
        {"a line without = first", std::string("junk\0P=81\0\0", 11), 81},
    };
    for (const PortCase& c : ports)
        EXPECT_EQ(ParseRegisterPort(c.section.data(), c.section.size()), c.port) << c.what;

    const std::string section("main=10.0.0.1, 10.0.0.2,,\0junk\0spare=10.0.0.3\0\0", 46);
    const std::vector<RegisterEntry> entries = ParseRegisterEntries(section.data(), section.size());
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].line, "main=10.0.0.1, 10.0.0.2,,");
    EXPECT_EQ(entries[0].addresses, (std::vector<std::string>{"10.0.0.1", "10.0.0.2"}));
    EXPECT_EQ(entries[1].addresses, (std::vector<std::string>{"10.0.0.3"}));
    // A section cut off without its final NUL is read only as far as it goes.
    const std::string cut("main=10.0.0.9", 13);
    ASSERT_EQ(ParseRegisterEntries(cut.data(), cut.size()).size(), 1u);
}

}  // namespace
