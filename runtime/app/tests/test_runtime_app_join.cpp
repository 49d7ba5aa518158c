// The launch record in each of its forms, the join request's bytes, the
// join reply read against its body, the order of the player list and the
// chat control's column records.
#include "AppTestSupport.h"

#include <string.h>

#include "ChatSetup.h"
#include "LaunchInfo.h"
#include "TableJoin.h"
#include "net/MessageFrame.h"

namespace {

// The 13 values of a command-line launch after the program name.
std::vector<std::string> LaunchValues()
{
    return {"3", "alice", "Alice", "text44", "84", "text86", "127.0.0.1", "26100", "text168", "chat424", "464",
            "text466", "484"};
}

LaunchSource ReadFrom(const std::vector<std::string>& arguments, GameLaunchInfo* info)
{
    std::vector<std::string> copy = arguments;
    std::vector<char*> argv;
    for (std::string& a : copy)
        argv.push_back(&a[0]);
    argv.push_back(nullptr);
    return ReadLaunchInfoFrom((int)copy.size(), argv.data(), info);
}

std::vector<std::string> WithProgram(std::vector<std::string> values)
{
    values.insert(values.begin(), "Mardavel.exe");
    return values;
}

// A named mapping holding bytes, closed at the end of the scope.
class ScopedMapping
{
public:
    ScopedMapping(const char* name, const void* bytes, DWORD size)
    {
        m_handle = ::CreateFileMappingA(INVALID_HANDLE_VALUE, NULL, PAGE_READWRITE, 0, size, name);
        void* view = ::MapViewOfFile(m_handle, FILE_MAP_ALL_ACCESS, 0, 0, size);
        memcpy(view, bytes, size);
        ::UnmapViewOfFile(view);
    }
    ~ScopedMapping() { ::CloseHandle(m_handle); }

private:
    HANDLE m_handle;
};

}  // namespace

// ---- Launch record -------------------------------------------------------------------

TEST(LaunchRecord, FourteenArgumentsFillEveryFieldAndLowerTheChair)
{
    GameLaunchInfo info;
    memset(&info, 0xCC, sizeof(info));
    ASSERT_EQ(ReadFrom(WithProgram(LaunchValues()), &info), kLaunchArguments);
    EXPECT_EQ(info.chair, 2u);
    EXPECT_STREQ(info.userName, "alice");
    EXPECT_STREQ(info.nickname, "Alice");
    EXPECT_STREQ(info.text44, "text44");
    EXPECT_EQ(info.value84, 84);
    EXPECT_STREQ(info.text86, "text86");
    EXPECT_STREQ(info.serverHost, "127.0.0.1");
    EXPECT_EQ(info.serverPort, 26100);
    EXPECT_STREQ(info.text168, "text168");
    EXPECT_STREQ(info.chatText, "chat424");
    EXPECT_EQ(info.chatValue, 464);
    EXPECT_STREQ(info.text466, "text466");
    EXPECT_EQ(info.value484, 484u);
    EXPECT_EQ(info.value488, 0u);   // only 13 values
    const uint8_t zero[4] = {0, 0, 0, 0};
    EXPECT_EQ(memcmp(info.reserved, zero, 4), 0);
}

TEST(LaunchRecord, FifteenArgumentsCarryTheLastNumber)
{
    std::vector<std::string> values = LaunchValues();
    values.push_back("488");
    GameLaunchInfo info;
    ASSERT_EQ(ReadFrom(WithProgram(values), &info), kLaunchArguments);
    EXPECT_EQ(info.value488, 488u);
}

TEST(LaunchRecord, LongTextsAreCutOnACharacterBoundaryAndTerminated)
{
    std::vector<std::string> values = LaunchValues();
    values[1] = std::string(30, 'u');
    // 18 ASCII bytes then a double-byte character that would end at byte 20.
    values[2] = std::string(18, 'n') + "\xD6\xD0";
    GameLaunchInfo info;
    ASSERT_EQ(ReadFrom(WithProgram(values), &info), kLaunchArguments);
    EXPECT_EQ(std::string(info.userName), std::string(19, 'u'));
    EXPECT_EQ(std::string(info.nickname), std::string(18, 'n'));
}

TEST(LaunchRecord, OtherArgumentCountsGiveLocalMode)
{
    for (int count : {1, 3, 12, 13, 16, 20}) {
        std::vector<std::string> arguments(1, "Mardavel.exe");
        for (int i = 1; i < count; i++)
            arguments.push_back(i < 14 ? LaunchValues()[(size_t)(i - 1) % 13] : "1");
        GameLaunchInfo info;
        EXPECT_EQ(ReadFrom(arguments, &info), kLaunchNone) << count << " arguments";
    }
}

TEST(LaunchRecord, MappingKeepsItsTrailingBytesAndGetsTerminatedTexts)
{
    GameLaunchInfo record;
    memset(&record, 'x', sizeof(record));   // no text is terminated
    record.chair = 6;
    record.serverPort = 26100;
    record.value484 = 7;
    record.value488 = 9;
    const uint8_t trailer[4] = {0xDE, 0xAD, 0xBE, 0xEF};
    memcpy(record.reserved, trailer, 4);
    ScopedMapping mapping("apptest_launch_ok", &record, sizeof(record));

    GameLaunchInfo info;
    ASSERT_EQ(ReadFrom({"Mardavel.exe", "apptest_launch_ok"}, &info), kLaunchMapping);
    EXPECT_EQ(info.chair, 5u);
    EXPECT_EQ(std::string(info.userName), std::string(19, 'x'));
    EXPECT_EQ(std::string(info.serverHost), std::string(39, 'x'));
    EXPECT_EQ(std::string(info.text168), std::string(255, 'x'));
    EXPECT_EQ(std::string(info.text466), std::string(15, 'x'));
    EXPECT_EQ(info.value488, 9u);
    EXPECT_EQ(memcmp(info.reserved, trailer, 4), 0);
}

TEST(LaunchRecord, MissingMappingGivesLocalModeAndAShortOneIsRefused)
{
    GameLaunchInfo info;
    // A file name (a saved game to replay) names no mapping.
    EXPECT_EQ(ReadFrom({"Mardavel.exe", "C:\\games\\hand.peg"}, &info), kLaunchNone);
    // The system maps whole pages: past its 100 bytes the record reads as
    // zeros, so it has no server.
    const std::vector<uint8_t> shortRecord(100, 1);
    ScopedMapping mapping("apptest_launch_short", shortRecord.data(), (DWORD)shortRecord.size());
    EXPECT_EQ(ReadFrom({"Mardavel.exe", "apptest_launch_short"}, &info), kLaunchRefused);
}

TEST(LaunchRecord, UnusableRecordsAreRefused)
{
    struct Case {
        size_t index;
        const char* value;
    } cases[] = {{0, "0"}, {1, ""}, {6, ""}, {7, "0"}, {7, "x"}};
    for (const Case& c : cases) {
        std::vector<std::string> values = LaunchValues();
        values[c.index] = c.value;
        GameLaunchInfo info;
        EXPECT_EQ(ReadFrom(WithProgram(values), &info), kLaunchRefused) << c.index << "=" << c.value;
        EXPECT_EQ(info.chair, 0u);
    }
    GameLaunchInfo record;
    memset(&record, 0, sizeof(record));   // chair 0 would wrap round
    strcpy(record.userName, "bob");
    strcpy(record.serverHost, "127.0.0.1");
    record.serverPort = 1;
    ScopedMapping mapping("apptest_launch_chair0", &record, sizeof(record));
    GameLaunchInfo info;
    EXPECT_EQ(ReadFrom({"Mardavel.exe", "apptest_launch_chair0"}, &info), kLaunchRefused);
}

// ---- Join request ------------------------------------------------------------------------

TEST(JoinRequest, IsTheExact108ByteBody)
{
    GameLaunchInfo info;
    std::vector<std::string> values = LaunchValues();
    values[0] = "7";   // watching
    ASSERT_EQ(ReadFrom(WithProgram(values), &info), kLaunchArguments);
    const std::vector<uint8_t> message = BuildJoinRequest(info);

    std::vector<uint8_t> expected = {0x00, 0x02, 0, 0, 108, 0, 0, 0};
    auto field = [&](const std::string& text, size_t n) {
        std::vector<uint8_t> f(n, 0);
        memcpy(f.data(), text.data(), text.size());
        expected.insert(expected.end(), f.begin(), f.end());
    };
    field("alice", 20);
    field("text86", 40);
    field("text44", 40);
    expected.insert(expected.end(), {84, 0, 6, 0, 3, 0, 0, 0});
    ASSERT_EQ(message.size(), 8u + 108u);
    EXPECT_EQ(message, expected);
}

// ---- Join reply ---------------------------------------------------------------------------

TEST(JoinReply, ReadsPlayersAndBlobs)
{
    const std::vector<ReplyPlayer> players = {{0, "a", "A", 10}, {1, "b", "B", 11}, {2, "c", "C", 12}};
    struct Case {
        const char* what;
        std::vector<std::vector<uint8_t>> blobs;
        uint32_t blob1, blob2;
        bool hasBlob1;
    } cases[] = {
        {"no blobs", {}, 0, 0, false},
        {"first blob only", {{'1', ',', '2', 0}}, 4, 0, true},
        {"both blobs", {{'o', 0}, {'x', 'y', 'z'}}, 2, 3, true},
        {"empty first blob, second blob", {{}, {'q'}}, 0, 1, true},
    };
    for (const Case& c : cases) {
        uint8_t* message = JoinReplyMessage(JoinReplyBody(players, 0x1234, c.blobs));
        JoinReply reply;
        ASSERT_TRUE(ParseJoinReply(message, &reply)) << c.what;
        EXPECT_EQ(reply.result, 1u);
        EXPECT_EQ(reply.count, 3);
        EXPECT_EQ(reply.secondValue, 0x1234);
        EXPECT_STREQ(reply.records[2].userName, "c");
        EXPECT_EQ(reply.records[1].value, 11u);
        EXPECT_EQ(reply.blob1Length, c.blob1) << c.what;
        EXPECT_EQ(reply.blob1 != nullptr, c.hasBlob1) << c.what;
        EXPECT_EQ(reply.blob2Length, c.blob2) << c.what;
        if (c.blob2 != 0) {
            EXPECT_EQ(memcmp(reply.blob2, c.blobs[1].data(), c.blob2), 0);
        }
        free(message);
    }
}

TEST(JoinReply, BodiesWhoseCountsOrLengthsDoNotFitAreRefused)
{
    const std::vector<ReplyPlayer> players = {{0, "a", "A"}, {1, "b", "B"}};
    const std::vector<uint8_t> good = JoinReplyBody(players, 0, {{'o', 'k', 0}, {'z'}});
    const size_t recordsEnd = 4 + 2 * 48;
    auto patched = [&](size_t offset, uint32_t value, size_t bytes) {
        std::vector<uint8_t> body = good;
        memcpy(body.data() + offset, &value, bytes);
        return body;
    };
    struct Case {
        const char* what;
        std::vector<uint8_t> body;
    } cases[] = {
        {"empty body", {}},
        {"three bytes", {1, 0, 0}},
        {"count past the body", patched(0, 3, 2)},
        {"count 65535", patched(0, 0xFFFF, 2)},
        {"first blob past the body", patched(recordsEnd, 100, 4)},
        {"first blob length 0xFFFFFFFF", patched(recordsEnd, 0xFFFFFFFF, 4)},
        {"second blob past the body", patched(recordsEnd + 4 + 3, 2, 4)},
        {"second blob length 0xFFFFFFF0", patched(recordsEnd + 4 + 3, 0xFFFFFFF0, 4)},
        {"cut blob length", std::vector<uint8_t>(good.begin(), good.begin() + recordsEnd + 2)},
        {"cut second blob length", std::vector<uint8_t>(good.begin(), good.begin() + recordsEnd + 4 + 3 + 3)},
    };
    for (const Case& c : cases) {
        uint8_t* message = JoinReplyMessage(c.body);
        JoinReply reply;
        EXPECT_FALSE(ParseJoinReply(message, &reply)) << c.what;
        EXPECT_EQ(reply.records, nullptr) << c.what;
        free(message);
    }
}

TEST(JoinReply, UnterminatedNamesAreTerminatedInPlace)
{
    const std::vector<ReplyPlayer> players = {{0, std::string(20, 'u'), std::string(20, 'n')}};
    uint8_t* message = JoinReplyMessage(JoinReplyBody(players, 0, {}));
    JoinReply reply;
    ASSERT_TRUE(ParseJoinReply(message, &reply));
    EXPECT_EQ(std::string(reply.records[0].userName), std::string(19, 'u'));
    EXPECT_EQ(std::string(reply.records[0].nickname), std::string(19, 'n'));
    free(message);
}

// ---- Player order ------------------------------------------------------------------------------

namespace {

std::vector<int> Order(const std::vector<ReplyPlayer>& players, uint32_t ownChair, PlayerOrderResult expected)
{
    uint8_t* message = JoinReplyMessage(JoinReplyBody(players, 0, {}));
    JoinReply reply;
    EXPECT_TRUE(ParseJoinReply(message, &reply));
    std::vector<int> order;
    EXPECT_EQ(OrderJoinedPlayers(reply.records, reply.count, ownChair, &order), expected);
    free(message);
    return order;
}

std::vector<ReplyPlayer> FivePlayers()
{
    return {{0, "p0", "P0"}, {1, "p1", "P1"}, {2, "p2", "P2"}, {3, "p3", "P3"}, {4, "p4", "P4"}};
}

}  // namespace

TEST(PlayerOrder, OwnPlayerFirstThenDescendingReplyPositions)
{
    const std::vector<int> expected[5] = {
        {0, 4, 3, 2, 1}, {1, 0, 4, 3, 2}, {2, 1, 0, 4, 3}, {3, 2, 1, 0, 4}, {4, 3, 2, 1, 0}};
    for (uint32_t own = 0; own < 5; own++)
        EXPECT_EQ(Order(FivePlayers(), own, kPlayerOrderOk), expected[own]) << "own chair " << own;
}

TEST(PlayerOrder, EmptyNamesAreSkippedButKeepTheirPlaces)
{
    std::vector<ReplyPlayer> players = FivePlayers();
    players[1].user = "";
    players[3].user = "";
    // Seated: records 0, 2, 4; own record 2 is at place 1 of the three.
    EXPECT_EQ(Order(players, 2, kPlayerOrderOk), (std::vector<int>{2, 0, 4}));
    EXPECT_EQ(Order(players, 4, kPlayerOrderOk), (std::vector<int>{4, 2, 0}));
    // One player alone.
    EXPECT_EQ(Order({{3, "solo", "S"}}, 3, kPlayerOrderOk), (std::vector<int>{0}));
}

TEST(PlayerOrder, NoPlayersOrNoOwnSeatFail)
{
    std::vector<ReplyPlayer> empty = FivePlayers();
    for (ReplyPlayer& p : empty)
        p.user = "";
    EXPECT_TRUE(Order(empty, 0, kPlayerOrderNoPlayers).empty());
    EXPECT_TRUE(Order(FivePlayers(), 7, kPlayerOrderNoOwnSeat).empty());
    std::vector<ReplyPlayer> ownEmpty = FivePlayers();
    ownEmpty[2].user = "";
    EXPECT_TRUE(Order(ownEmpty, 2, kPlayerOrderNoOwnSeat).empty());
}

// ---- Chat records ------------------------------------------------------------------------------

namespace {

uint32_t U32At(const uint8_t* p, size_t offset)
{
    uint32_t v;
    memcpy(&v, p + offset, 4);
    return v;
}

std::string TextAt(const uint8_t* p, size_t offset) { return reinterpret_cast<const char*>(p + offset); }

// The fake chat control: the calls in order.
struct FakeChat {
    std::vector<std::string> calls;
    std::vector<uint8_t> definition, row;
    std::string text86;
    int32_t secondValue = -1;

    void CallDispid57(BOOL flag) { calls.push_back("57:" + std::to_string(flag)); }
    void SetStringProperty18(LPCSTR text) { calls.push_back(std::string("18:") + text); }
    void SetShortProperty19(uint16_t value) { calls.push_back("19:" + std::to_string(value)); }
    void CallDispid35() { calls.push_back("35"); }
    void CallDispid49(const void* record, uint32_t length)
    {
        calls.push_back("49:" + std::to_string(length));
        definition.assign((const uint8_t*)record, (const uint8_t*)record + length);
    }
    void CallDispid47(const void* record, uint32_t length, LPCSTR text, LPCSTR empty1, LPCSTR empty2,
                      int32_t value, int32_t zero)
    {
        calls.push_back("47:" + std::to_string(length) + ":" + empty1 + empty2 + ":" + std::to_string(zero));
        row.assign((const uint8_t*)record, (const uint8_t*)record + length);
        text86 = text;
        secondValue = value;
    }
};

GameLaunchInfo ChatLaunchInfo()
{
    GameLaunchInfo info;
    std::vector<std::string> values = LaunchValues();
    values[12] = "-5";
    EXPECT_EQ(ReadFrom(WithProgram(values), &info), kLaunchArguments);
    return info;
}

}  // namespace

TEST(ChatRecords, ColumnsTotalsAndSizes)
{
    const GameLaunchInfo info = ChatLaunchInfo();
    struct Case {
        const char* title1;
        const char* title2;
        const char* watch;
        uint32_t total;
        std::vector<uint32_t> sizes;
    } cases[] = {
        {nullptr, nullptr, nullptr, 56, {20, 20}},
        {nullptr, nullptr, "", 56, {20, 20}},
        {nullptr, nullptr, "watched", 80, {20, 20, 20}},
        {nullptr, "score", nullptr, 76, {20, 20, 16}},
        {"level", "score", "watched", 120, {20, 20, 16, 16, 20}},
    };
    for (const Case& c : cases) {
        ChatRecords records;
        BuildChatRecords(info, c.title1, c.title2, c.watch, &records);
        EXPECT_EQ(records.length, c.total);
        EXPECT_EQ(U32At(records.definition, 0), c.total);
        EXPECT_EQ(U32At(records.row, 0), c.total);
        ASSERT_EQ(U32At(records.row, 4), (uint32_t)c.sizes.size());
        for (size_t i = 0; i < c.sizes.size(); i++)
            EXPECT_EQ(U32At(records.row, 8 + 4 * i), c.sizes[i]);
    }
}

TEST(ChatRecords, RowValuesAndTitles)
{
    const GameLaunchInfo info = ChatLaunchInfo();
    ChatRecords records;
    BuildChatRecords(info, nullptr, "score", "a-very-long-watched-player-name", &records);
    // Header 8 + 4 sizes; fields at 24, 44, 64 and 80, 100 bytes in all.
    EXPECT_EQ(records.length, 100u);
    EXPECT_EQ(TextAt(records.row, 24), "alice");
    EXPECT_EQ(TextAt(records.row, 44), "Alice");
    EXPECT_EQ(TextAt(records.row, 64), "-5");   // the number at 484, not the text at 466
    EXPECT_EQ(TextAt(records.row, 80), std::string("a-very-long-watched-player-name").substr(0, 19));
    EXPECT_EQ(TextAt(records.definition, 24), "用户名");
    EXPECT_EQ(TextAt(records.definition, 44), "昵称");
    EXPECT_EQ(TextAt(records.definition, 64), "score");
    EXPECT_EQ(TextAt(records.definition, 80), "旁观对象");
    for (size_t i = 100; i < kChatRecordSize; i++)
        ASSERT_EQ(records.row[i], 0) << i;
}

TEST(ChatRecords, ApplyCallsTheControlInOrder)
{
    theLaunchInfo = ChatLaunchInfo();
    FakeChat chat;
    ApplyLaunchInfoToChat(&chat, IDS_APP_COLUMN_LEVEL, 0, nullptr, 0, TRUE);
    const std::vector<std::string> expected = {"57:1", "18:chat424", "19:464", "35", "49:76", "47:76::0"};
    EXPECT_EQ(chat.calls, expected);
    EXPECT_EQ(TextAt(chat.definition.data(), 60), "等级");
    EXPECT_EQ(TextAt(chat.row.data(), 60), "text466");
    EXPECT_EQ(chat.text86, "text86");
    EXPECT_EQ(chat.secondValue, (int32_t)GetJoinSecondValue());
}
