// The table window's rules without a window: routing of server messages, the
// send limits, the trust-play notices, the result pause, the per-phase
// buttons, the commands and the automatic action, and the sound lists.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "TableRules.h"

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

BoardGameState State()
{
    BoardGameState s;
    InitBoardGameState(s);
    return s;
}

TEST(TableRulesTest, RoutingTable)
{
    struct Case {
        uint32_t id;
        NetRoute route;
        GameMessageKind kind;
    };
    const Case cases[] = {
        {0x26000, kRouteGameMessage, kToBoard},          {0x80026001, kRouteGameMessage, kToBoard},
        {0x26002, kRouteGameMessage, kToBoard},          {0x80026003, kRouteGameMessage, kToBoard},
        {0x26004, kRouteGameMessage, kToBoard},          {0x26005, kRouteGameMessage, kToBoard},
        {0x80026006, kRouteGameMessage, kHandResultToBoard},
        {0x26007, kRouteGameMessage, kToBoard},          {0x26009, kRouteGameMessage, kToBoard},
        {0x26010, kRouteGameMessage, kToBoard},          {0x80000280, kRouteGameMessage, kToBoard},
        {0x26011, kRouteGameMessage, kToBoard},          {0x26012, kRouteGameMessage, kToBoard},
        {0x26013, kRouteGameMessage, kToBoard},          {0x26014, kRouteGameMessage, kToBoard},
        {0x80026021, kRouteGameMessage, kTitleListOnly}, {0x80026023, kRouteGameMessage, kTableOptionsOnly},
        {0x26024, kRouteGameMessage, kToBoard},
        {0x26036, kRouteGameMessage, kToBoard},          {0x248, kRouteSkinData, kToBoard},
        {0x205, kRouteAdvert, kToBoard},                 {0x80026026, kRouteLinkedNotice, kToBoard},
        {0x26030, kRouteTask, kToBoard},                 {0x26027, kRouteTask, kToBoard},
        {0x26028, kRouteTask, kToBoard},                 {0x26029, kRouteTask, kToBoard},
        {0x26035, kRouteTask, kToBoard},                 {0x26008, kRouteIgnore, kToBoard},
        {0x26001, kRouteIgnore, kToBoard},               {0, kRouteIgnore, kToBoard},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RouteOfMessage(c.id), c.route) << std::hex << c.id;
        if (c.route == kRouteGameMessage) {
            EXPECT_EQ(GameMessageKindOf(c.id), c.kind) << std::hex << c.id;
        }
    }
}

TEST(TableRulesTest, SendLimits)
{
    struct Case {
        const char* what;
        uint32_t id, bodyLength;
        bool may;
    };
    const Case cases[] = {
        {"body of 65528 bytes", 0x26005, 65528, true},
        {"body of 65529 bytes", 0x26005, 65529, false},
        {"id 0xFFFFF", 0xFFFFF, 0, true},
        {"id 0x100000", 0x100000, 0, false},
        {"a reply id", 0x80026001, 0, false},
    };
    for (const Case& c : cases) {
        uint8_t header[8];
        memcpy(header, &c.id, 4);
        memcpy(header + 4, &c.bodyLength, 4);
        EXPECT_EQ(MaySendMessage(header), c.may) << c.what;
    }
    EXPECT_FALSE(MaySendMessage(nullptr));
}

TEST(TableRulesTest, TrustStatus)
{
    // 0x8000021B: the result word, u16 mode, u8 used (allowed), u8 limit (times), the name.
    std::vector<uint8_t> body = {1, 0, 2, 5};
    const char name[] = "Alice";
    body.insert(body.end(), name, name + sizeof name);
    const auto m = Message(0x8000021B, body, 1);
    TrustStatus s;
    ASSERT_TRUE(ParseTrustStatus(m.data(), m.size(), &s));
    EXPECT_EQ(s.result, 1u);
    EXPECT_EQ(s.inTrust, 1);
    EXPECT_EQ(s.allowed, 2);
    EXPECT_EQ(s.times, 5);
    EXPECT_STREQ(s.userName, "Alice");
    EXPECT_TRUE(SameUserName(s.userName, "alice"));
    EXPECT_FALSE(SameUserName(s.userName, "alicia"));

    // A name of 30 letters without an end: 20 bytes are taken.
    std::vector<uint8_t> longBody = {1, 0, 2, 5};
    longBody.insert(longBody.end(), 30, 'z');
    const auto longName = Message(0x8000021B, longBody, 1);
    ASSERT_TRUE(ParseTrustStatus(longName.data(), longName.size(), &s));
    EXPECT_EQ(strlen(s.userName), 20u);
    // A notice that ends before its counters is refused.
    const auto shortNotice = Message(0x8000021B, {1, 0}, 1);
    EXPECT_FALSE(ParseTrustStatus(shortNotice.data(), shortNotice.size(), &s));
    EXPECT_FALSE(ParseTrustStatus(m.data(), 15, &s)) << "the block ends before the counters";
}

TEST(TableRulesTest, TrustRequestBody)
{
    uint8_t out[kTrustRequestSize];
    BuildTrustRequest(2, "alice", out);
    uint32_t words[3];
    memcpy(words, out, 12);
    EXPECT_EQ(words[0], 0x21Bu);
    EXPECT_EQ(words[1], 24u);
    EXPECT_EQ(words[2], 2u);
    EXPECT_STREQ(reinterpret_cast<char*>(out + 12), "alice");
    BuildTrustRequest(1, "a-name-of-twenty-five-char", out);
    EXPECT_EQ(strlen(reinterpret_cast<char*>(out + 12)), 19u) << "19 characters and the end";
}

TEST(TableRulesTest, ResultPause)
{
    struct Case {
        const char* what;
        int result, own, emperor, guard, kind;
    };
    const Case cases[] = {
        {"guard after result 2", 2, 1, 0, 1, 0},    {"guard after result 1", 1, 1, 0, 1, 1},
        {"emperor after result 2", 2, 0, 0, 1, 0},  {"emperor after result 1", 1, 0, 0, 1, 1},
        {"other seat after result 2", 2, 3, 0, 1, 3}, {"other seat after result 1", 1, 3, 0, 1, 2},
        {"other seat after result 5", 5, 3, 0, 1, 2}, {"emperor after result 6", 6, 0, 0, 0, 0},
        {"result 7 for the emperor", 7, 0, 0, 1, 4}, {"result 7 for any seat", 7, 4, 0, 1, 4},
        {"watcher (own -1) after result 4", 4, -1, 0, 1, 3}, {"no result code", 0, 0, 0, 1, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ResultPauseKind(c.result, c.own, c.emperor, c.guard), c.kind) << c.what;
    EXPECT_STREQ(ResultPictureFile(0), "emperorwin.bmp");
    EXPECT_STREQ(ResultPictureFile(4), "draw.bmp");
    EXPECT_EQ(ResultPictureFile(-1), nullptr);
    const int strings[] = {0, 39, 40, 41, 42, 46, 47, kDrawResultString, 0};
    for (int code = 0; code <= 8; ++code)
        EXPECT_EQ(HandResultStringId(code), strings[code]) << "code " << code;
}

TEST(TableRulesTest, EmperorButtonsMatrix)
{
    struct Case {
        const char* what;
        bool simultaneous;
        bool ownActs;
        bool designated;      // byte 3874
        bool option12;
        bool ownLeads;        // the own seat is the seat at 3668
        bool flag10;
        EmperorQuery query;
        ButtonShow become, becomeEnable, decline, declineEnable, alone, giveUp;
        bool hint, clear10;
    };
    const Case cases[] = {
        {"simultaneous, own turn", true, true, false, false, false, false, {}, kShow, kLeave, kShow, kLeave,
         kShow, kLeave, false, false},
        {"simultaneous, own turn, designated card, three identical", true, true, true, false, false, false,
         {true, false, false}, kShow, kShow, kShow, kLeave, kShow, kLeave, false, false},
        {"simultaneous, designated card, no three identical: 201 disabled", true, true, true, false, false,
         false, {}, kShow, kHide, kShow, kLeave, kShow, kLeave, false, false},
        {"simultaneous, option 12 without both marked cards", true, true, false, true, false, false, {}, kShow,
         kLeave, kHide, kLeave, kShow, kLeave, false, false},
        {"simultaneous, option 12 with both marked cards", true, true, false, true, false, false,
         {false, false, true}, kShow, kLeave, kShow, kLeave, kShow, kLeave, false, false},
        {"simultaneous, another seat: 199 and 198, no 201", true, false, false, false, false, false, {}, kLeave,
         kLeave, kLeave, kLeave, kShow, kShow, false, false},
        {"seat by seat, own turn", false, true, false, false, false, false, {}, kShow, kLeave, kShow, kShow,
         kLeave, kLeave, false, false},
        {"seat by seat, own turn, option 12", false, true, false, true, false, false, {}, kShow, kLeave, kHide,
         kLeave, kLeave, kLeave, false, false},
        {"seat by seat, designated, card came back: 202 by four identical", false, true, true, false, true,
         true, {true, false, false}, kShow, kShow, kShow, kHide, kLeave, kLeave, false, true},
        {"seat by seat, designated, card came back, four identical", false, true, true, false, true, true,
         {true, true, false}, kShow, kShow, kShow, kShow, kLeave, kLeave, false, true},
        {"seat by seat, another seat: all hidden, waiting hint", false, false, false, false, false, false, {},
         kHide, kLeave, kHide, kLeave, kHide, kHide, true, false},
    };
    for (const Case& c : cases) {
        BoardGameState s = State();
        s.phase = 1;
        s.optJointFirstDecision = c.simultaneous ? 1 : 0;
        s.tableFlags = (c.simultaneous ? 0x1u : 0u) | (c.flag10 ? 0x10u : 0u);
        s.seatToAct = c.ownActs ? 2 : 3;
        s.leadSeat = c.ownLeads ? 2 : 4;
        s.optNoGuardCard = c.designated ? 1 : 0;
        if (c.option12)
            s.ruleFlags |= kRuleFlagOption12;
        const EmperorButtons b = EmperorButtonsFor(s, 2, c.query);
        EXPECT_EQ(b.become.show, c.become) << c.what;
        EXPECT_EQ(b.become.enable, c.becomeEnable) << c.what;
        EXPECT_EQ(b.decline.show, c.decline) << c.what;
        EXPECT_EQ(b.decline.enable, c.declineEnable) << c.what;
        EXPECT_EQ(b.alone.show, c.alone) << c.what;
        EXPECT_EQ(b.giveUp.show, c.giveUp) << c.what;
        EXPECT_EQ(b.waitingHint, c.hint) << c.what;
        EXPECT_EQ(b.clearFlag10, c.clear10) << c.what;
    }
}

TEST(TableRulesTest, GuardAndPlayButtons)
{
    BoardGameState s = State();
    s.phase = 2;
    s.emperorSeat = 0;
    s.guardSeat = 2;
    GuardButtons g = GuardButtonsFor(s, 2, false, false);
    EXPECT_EQ(g.show.show, kShow) << "the guard decides";
    EXPECT_EQ(g.hide.show, kShow);
    g = GuardButtonsFor(s, 3, false, false);
    EXPECT_EQ(g.show.show, kHide) << "another seat waits for the guard";
    EXPECT_EQ(g.statusString, 38);
    s.readyMarks[2] = 1;
    g = GuardButtonsFor(s, 2, false, false);
    EXPECT_EQ(g.show.show, kHide) << "the guard has decided";
    EXPECT_EQ(g.statusString, 50);

    s.ruleFlags |= 0x300 | kRuleFlagOption12;
    s.guardSeat = 0;
    g = GuardButtonsFor(s, 3, false, false);
    EXPECT_EQ(g.show.show, kLeave) << "kick mode leaves the guard buttons";
    EXPECT_EQ(g.kick.show, kShow);
    EXPECT_EQ(GuardButtonsFor(s, 0, false, false).kick.show, kHide) << "the emperor has them hidden";
    EXPECT_EQ(GuardButtonsFor(s, 3, false, true).kick.show, kHide) << "in trust play";
    s.tableFlags |= 0x40;
    EXPECT_EQ(GuardButtonsFor(s, 3, false, false).kick.show, kHide) << "game flag 0x40";

    BoardGameState p = State();
    p.phase = 3;
    p.seatToAct = 1;
    p.leadSeat = 1;
    PlayButtons b = PlayButtonsFor(p, 1, false, false);
    EXPECT_TRUE(b.visible);
    EXPECT_FALSE(b.passEnabled) << "the seat that leads may not pass";
    p.leadSeat = 4;
    EXPECT_TRUE(PlayButtonsFor(p, 1, false, false).passEnabled);
    EXPECT_FALSE(PlayButtonsFor(p, 1, true, false).visible) << "watching";
    EXPECT_FALSE(PlayButtonsFor(p, 1, false, true).visible) << "trust play";
    EXPECT_FALSE(PlayButtonsFor(p, 2, false, false).visible) << "another seat's turn";
}

TEST(TableRulesTest, Commands)
{
    const struct {
        int id;
        int32_t event;
    } table[] = {{198, 10011}, {199, 10042}, {200, 10000}, {201, 10010}, {202, 10011}, {203, 10020},
                 {204, 10021}, {205, 10031}, {206, 10030}, {323, 10057}, {324, 10058}, {207, 0},
                 {208, 0},     {-100, 0},    {0, 0}};
    for (const auto& row : table)
        EXPECT_EQ(CommandBoardEvent(row.id), row.event) << "command " << row.id;

    struct Case {
        const char* what;
        bool leads;
        int selected, playCount;
        bool watching, enabled;
    };
    const Case cases[] = {
        {"leading with one card", true, 1, 0, false, true},
        {"leading with none", true, 0, 0, false, false},
        {"following a pair with two", false, 2, 2, false, true},
        {"following a pair with one", false, 1, 2, false, false},
        {"following with more", false, 3, 2, false, true},
        {"watching", true, 3, 0, true, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PlayButtonEnabled(c.leads, c.selected, c.playCount, c.watching), c.enabled) << c.what;
}

TEST(TableRulesTest, AutomaticAction)
{
    struct Case {
        const char* what;
        uint32_t phase, ruleFlags;
        bool watching;
        AutoActionKind kind;
    };
    const Case cases[] = {
        {"between hands: start", 0, 0, false, kAutoStart},
        {"guard decision: stay hidden", 2, 0, false, kAutoGuardHidden},
        {"kick decision: give up the kick", 2, 0x100, false, kAutoNoKick},
        {"emperor decision: trust request", 1, 0, false, kAutoTrustRequest},
        {"playing: trust request, never a play", 3, 0, false, kAutoTrustRequest},
        {"watching: nothing", 3, 0, true, kAutoNothing},
    };
    for (const Case& c : cases) {
        BoardGameState s = State();
        s.phase = c.phase;
        s.ruleFlags = c.ruleFlags;
        EXPECT_EQ(AutoActionFor(&s, c.watching), c.kind) << c.what;
    }
    EXPECT_EQ(AutoActionFor(nullptr, false), kAutoNothing) << "no table state";
}

TEST(TableRulesTest, SoundNames)
{
    char out[32];
    EXPECT_EQ(CountSoundNames(" a.wav , b.wav,,c.wav "), 3);
    ASSERT_TRUE(PickSoundName(" a.wav , b.wav,,c.wav ", 1, out, sizeof out));
    EXPECT_STREQ(out, "b.wav");
    ASSERT_TRUE(PickSoundName("a.wav,b.wav,c.wav", 5, out, sizeof out));
    EXPECT_STREQ(out, "c.wav") << "taken modulo the count";
    EXPECT_FALSE(PickSoundName("", 0, out, sizeof out));
    EXPECT_FALSE(PickSoundName(" , ", 0, out, sizeof out));
    EXPECT_FALSE(PickSoundName("a-name-longer-than-the-buffer.wav", 0, out, 8));
}

}  // namespace
