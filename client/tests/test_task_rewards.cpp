// The online-time task, titles and honour: the stage arithmetic and the
// task timer, every server body cut short and made longer, lengths that do
// not fit their fields, the award lines, the linked notice's links and the
// task files.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <functional>
#include <string>
#include <vector>

#include "TaskRewards.h"

namespace {

using Bytes = std::vector<uint8_t>;

void PutU32(Bytes& b, size_t at, uint32_t v)
{
    if (b.size() < at + 4)
        b.resize(at + 4);
    memcpy(b.data() + at, &v, 4);
}
void PutText(Bytes& b, size_t at, const std::string& text)
{
    if (b.size() < at + text.size())
        b.resize(at + text.size());
    memcpy(b.data() + at, text.data(), text.size());
}

void SetStages(TaskStage stages[kTaskStages], uint32_t m0, uint32_t m1, uint32_t m2, uint32_t m3)
{
    const uint32_t minutes[4] = {m0, m1, m2, m3};
    for (int i = 0; i < kTaskStages; i++) {
        stages[i] = TaskStage{};
        stages[i].minutes = minutes[i];
        stages[i].kind = (uint32_t)(i & 1);
        snprintf(stages[i].tip, sizeof(stages[i].tip), "prize %d", i);
    }
}

// ---- Bodies as the server sends them ------------------------------------------------------------

Bytes DefinitionBody(const std::string& fetch, const std::string& draw, const std::string& prefix)
{
    Bytes b(240);
    TaskStage stages[kTaskStages];
    SetStages(stages, 10, 30, 60, 120);
    memcpy(b.data(), stages, sizeof(stages));
    PutText(b, 160, "online task");
    PutU32(b, 224, 1);
    PutU32(b, 228, (uint32_t)fetch.size());
    PutU32(b, 232, (uint32_t)draw.size());
    PutU32(b, 236, (uint32_t)prefix.size());
    PutText(b, 240, fetch + draw + prefix);
    return b;
}

Bytes ResultBody(const std::string& address, const std::string& prefix)
{
    Bytes b(88);
    PutU32(b, 4, 1);
    PutU32(b, 8, kTaskDone);
    PutText(b, 12, "done task");
    PutU32(b, 76, 0);
    PutU32(b, 80, (uint32_t)address.size());
    PutU32(b, 84, (uint32_t)prefix.size());
    PutText(b, 88, address + prefix);
    return b;
}

Bytes TitleRecordBytes(const std::string& title, uint32_t id)
{
    Bytes b(64);
    PutText(b, 0, title);
    PutU32(b, 40, id);
    return b;
}

Bytes TitleListBody(const std::vector<std::pair<std::string, uint32_t>>& titles)
{
    Bytes b(28);
    PutU32(b, 24, (uint32_t)titles.size());
    for (const auto& t : titles) {
        const Bytes r = TitleRecordBytes(t.first, t.second);
        b.insert(b.end(), r.begin(), r.end());
    }
    return b;
}

Bytes HonourPayload(const std::vector<std::pair<int32_t, int32_t>>& pairs)
{
    Bytes b(4);
    PutU32(b, 0, (uint32_t)pairs.size());
    for (const auto& p : pairs) {
        PutU32(b, b.size(), (uint32_t)p.first);
        PutU32(b, b.size(), (uint32_t)p.second);
    }
    return b;
}

Bytes AwardPayload(const std::vector<std::pair<std::string, std::vector<std::pair<std::string, uint32_t>>>>& groups)
{
    Bytes b(4);
    PutU32(b, 0, (uint32_t)groups.size());
    for (const auto& g : groups) {
        const size_t at = b.size();
        b.resize(at + 24);
        PutText(b, at, g.first);
        PutU32(b, at + 20, (uint32_t)g.second.size());
        for (const auto& t : g.second) {
            const Bytes r = TitleRecordBytes(t.first, t.second);
            b.insert(b.end(), r.begin(), r.end());
        }
    }
    return b;
}

Bytes NoticeBody(int32_t count, const std::string& text)
{
    Bytes b(416);
    PutU32(b, 4, (uint32_t)count);
    for (int i = 0; i < 4; i++)
        PutText(b, 8 + (size_t)i * 101, "news " + std::to_string(i));
    PutText(b, 416, text);
    b.push_back(0);
    return b;
}

// Each parser as a yes/no over a body.
struct Parser {
    const char* what;
    std::function<bool(const uint8_t*, size_t)> parse;
    Bytes body;
    bool longerAccepted;   // the body with bytes added after it
};

std::vector<Parser> Parsers()
{
    return {
        {"task status", [](const uint8_t* d, size_t n) { TaskStatusBody o; return ParseTaskStatus(d, n, &o); },
         Bytes(12, 1), true},
        {"task definition",
         [](const uint8_t* d, size_t n) { TaskDefinitionBody o; return ParseTaskDefinition(d, n, &o); },
         DefinitionBody("http://f.test/", "http://d.test/", "http://login.test/?u="), true},
        {"task progress", [](const uint8_t* d, size_t n) { TaskProgressBody o; return ParseTaskProgress(d, n, &o); },
         Bytes(12, 2), true},
        {"stage reply", [](const uint8_t* d, size_t n) { uint32_t v; return ParseStageReply(d, n, &v); }, Bytes(8, 3),
         true},
        {"task result", [](const uint8_t* d, size_t n) { TaskResultBody o; return ParseTaskResult(d, n, &o); },
         ResultBody("http://r.test/", "http://l.test/"), true},
        {"title list",
         [](const uint8_t* d, size_t n) { std::vector<ServerTitle> o; return ParseTitleList(d, n, &o); },
         TitleListBody({{"a**b", 3}, {"c", 4}}), true},
        {"honour table",
         [](const uint8_t* d, size_t n) { std::vector<HonourEntry> o; return ParseHonourTable(d, n, &o); },
         HonourPayload({{3, 10}, {4, 20}}), false},
        {"title award",
         [](const uint8_t* d, size_t n) { std::vector<TitleAwardGroup> o; return ParseTitleAward(d, n, &o); },
         AwardPayload({{"alice", {{"t1", 3}}}, {"bob", {{"t2", 4}, {"t3", 5}}}}), true},
        {"linked notice", [](const uint8_t* d, size_t n) { LinkedNotice o; return ParseLinkedNotice(d, n, &o); },
         NoticeBody(2, "href0=http://n.test/0xa0>"), true},
    };
}

TEST(TaskRewardsTest, EveryParserGivenShortAndLongBodies)
{
    for (const Parser& p : Parsers()) {
        EXPECT_TRUE(p.parse(p.body.data(), p.body.size())) << p.what << ": the whole body";
        EXPECT_FALSE(p.parse(nullptr, 0)) << p.what << ": no body";
        // Every shorter body, each in a block of exactly its size (the
        // sanitizers see a read past it).
        for (size_t n = 0; n < p.body.size(); n++) {
            const Bytes cut(p.body.begin(), p.body.begin() + (long)n);
            std::unique_ptr<uint8_t[]> block(new uint8_t[n + 1]);
            if (n > 0)
                memcpy(block.get(), cut.data(), n);
            if (p.parse(block.get(), n)) {
                // Only the texts of a notice may end early.
                EXPECT_STREQ(p.what, "linked notice") << "a body of " << n << " bytes accepted";
                EXPECT_GE(n, 416u) << p.what;
            }
        }
        Bytes longer = p.body;
        longer.insert(longer.end(), 11, 0x5A);
        EXPECT_EQ(p.parse(longer.data(), longer.size()), p.longerAccepted) << p.what << ": 11 bytes more";
    }
}

TEST(TaskRewardsTest, LengthsThatDoNotFitAreRefused)
{
    const std::string a255(255, 'a'), a256(256, 'a');
    struct Case {
        const char* what;
        Bytes body;
        bool definition;   // else a result
        bool ok;
    };
    Bytes huge = DefinitionBody("x", "y", "z");
    PutU32(huge, 228, 0xFFFFFFFFu);
    Bytes wraps = DefinitionBody("x", "y", "z");   // three lengths whose sum wraps 32 bits
    PutU32(wraps, 228, 0x80000000u);
    PutU32(wraps, 232, 0x80000000u);
    Bytes beyond = ResultBody("http://r.test/", "");
    PutU32(beyond, 84, 5);
    const Case cases[] = {
        {"addresses of 255 characters fit their fields", DefinitionBody(a255, a255, a255), true, true},
        {"an address of 256 does not", DefinitionBody(a256, "", ""), true, false},
        {"a length of 2^32 - 1", huge, true, false},
        {"lengths that wrap", wraps, true, false},
        {"a result address of 256", ResultBody(a256, ""), false, false},
        {"a prefix past the body's end", beyond, false, false},
        {"a result of 255 and 255", ResultBody(a255, a255), false, true},
    };
    for (const Case& c : cases) {
        if (c.definition) {
            TaskDefinitionBody out;
            EXPECT_EQ(ParseTaskDefinition(c.body.data(), c.body.size(), &out), c.ok) << c.what;
            if (c.ok) {
                EXPECT_EQ(out.fetchAddress.size(), 255u) << c.what;
            }
        } else {
            TaskResultBody out;
            EXPECT_EQ(ParseTaskResult(c.body.data(), c.body.size(), &out), c.ok) << c.what;
        }
    }
}

TEST(TaskRewardsTest, DefinitionAndResultFields)
{
    Bytes body = DefinitionBody("http://f.test/", "http://d.test/", "");
    memset(body.data() + 160, 'T', 64);   // a title without its terminator
    memset(body.data() + 8, 'p', 32);     // the first tip too
    TaskDefinitionBody def;
    ASSERT_TRUE(ParseTaskDefinition(body.data(), body.size(), &def));
    EXPECT_EQ(def.title, std::string(64, 'T'));
    EXPECT_EQ(strlen(def.stages[0].tip), 31u);
    EXPECT_EQ(def.fetchAddress, "http://f.test/");
    EXPECT_EQ(def.drawAddress, "http://d.test/");
    EXPECT_EQ(def.loginPrefix, "");

    CTaskState task;
    task.loginPrefix = "http://old.test/";
    task.ApplyDefinition(def);
    EXPECT_EQ(task.loginPrefix, "http://old.test/") << "an empty prefix leaves the old one";
    EXPECT_EQ(task.currentAddress, "http://f.test/") << "stage 0 is a fetch";
    task.ApplyProgress(10 * 60);
    EXPECT_EQ(task.currentAddress, "http://d.test/") << "stage 1 is a draw";

    const Bytes result = ResultBody("http://r.test/", "http://l.test/");
    TaskResultBody res;
    ASSERT_TRUE(ParseTaskResult(result.data(), result.size(), &res));
    EXPECT_EQ(res.result, (uint32_t)kTaskDone);
    EXPECT_EQ(res.resultAddress, "http://r.test/");
    EXPECT_EQ(res.loginPrefix, "http://l.test/");
}

TEST(TaskRewardsTest, StageArithmetic)
{
    TaskStage stages[kTaskStages];
    SetStages(stages, 10, 30, 60, 120);
    struct Case {
        const char* what;
        int32_t elapsed;
        int reached;
        int32_t countdown;
    };
    const Case cases[] = {
        {"nothing yet", 0, 0, 600},
        {"one second short of the first", 599, 0, 1},
        {"exactly m0 x 60 reaches stage 1", 600, 1, 1200},
        {"between the second and third", 2000, 2, 1600},
        {"the last stage exactly", 7200, 4, -1},
        {"long past the last", 100000, 4, -1},
        {"negative elapsed time", -5, 0, 605},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StagesReached(stages, c.elapsed), c.reached) << c.what;
        EXPECT_EQ(StageCountdown(stages, c.elapsed), c.countdown) << c.what;
    }
    TaskStage huge[kTaskStages];
    SetStages(huge, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu);
    EXPECT_EQ(StagesReached(huge, 0x7FFFFFFF), 0);
    EXPECT_EQ(StageCountdown(huge, 0), 0x7FFFFFFF) << "minutes beyond 32-bit seconds do not wrap";
}

// The bar's fill, worked by hand: stages at 10, 30, 60 and 120 minutes
// (600, 1800, 3600, 7200 s) on a 202-pixel bar give pieces of 50, 50, 50
// and 52 (the last takes the remainder). 300 s is half of the first piece:
// 25. 1200 s is the first piece and (1200 - 600) / (1800 - 600) of the
// second: 50 + 25 = 75. 5400 s: 150 + 52 x 1800 / 3600 = 176.
TEST(TaskRewardsTest, ProgressBarFill)
{
    TaskStage stages[kTaskStages];
    SetStages(stages, 10, 30, 60, 120);
    struct Case {
        const char* what;
        int32_t elapsed;
        int width;
        int filled;
    };
    const Case cases[] = {
        {"nothing yet", 0, 202, 0},
        {"negative elapsed time", -30, 202, 0},
        {"half the first stage", 300, 202, 25},
        {"the first stage exactly", 600, 202, 50},
        {"half way to the second", 1200, 202, 75},
        {"half way to the last", 5400, 202, 176},
        {"the last stage fills the remainder too", 7200, 202, 202},
        {"long past the last", 1000000, 202, 202},
        {"a bar of no width", 5400, 0, 0},
        {"a bar narrower than the pieces", 7200, 3, 3},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TaskBarFill(stages, c.elapsed, c.width), c.filled) << c.what;
    // Stages out of order or at 0 minutes: a stage at or below the one before
    // is full once reached and never divides by a zero span.
    TaskStage odd[kTaskStages];
    SetStages(odd, 0, 0, 5, 2);
    EXPECT_EQ(TaskBarFill(odd, 1, 100), 50) << "two stages at 0 minutes are full at once";
    // 150 s: half way to 5 minutes (12 of a 25-pixel piece), and the stage at
    // 2 minutes is full, as the stage count takes it for reached.
    EXPECT_EQ(TaskBarFill(odd, 150, 100), 25 + 25 + 12 + 25);
    EXPECT_EQ(TaskBarFill(odd, 300, 100), 100);
    TaskStage huge[kTaskStages];
    SetStages(huge, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu);
    EXPECT_EQ(TaskBarFill(huge, 0x7FFFFFFF, 400), 0) << "minutes beyond 32-bit seconds do not overflow";
}

// The task area of a 1024-pixel table with 36-pixel tool buttons, the name
// of view position 4 ending at 180 and the upper tool row at 500: left 1024
// - 108 - 40 = 876, top 190, bottom 490; middle (190 + 490) / 2 = 340,
// centre (876 + 1024) / 2 = 950.
TEST(TaskRewardsTest, TaskPanelPlaces)
{
    const LayoutRect area = TaskArea(1024, 180, 36, 500);
    EXPECT_EQ(area.left, 876);
    EXPECT_EQ(area.top, 190);
    EXPECT_EQ(area.right, 1024);
    EXPECT_EQ(area.bottom, 490);
    const LayoutSize prize = PrizeButtonPlace(area, 60);
    EXPECT_EQ(prize.cx, 950 - 30);
    EXPECT_EQ(prize.cy, 340 + 9);
    const LayoutSize icon = RewardIconPlace(area, LayoutSize{81, 30});
    EXPECT_EQ(icon.cx, 950 - 40) << "an odd width's half truncates";
    EXPECT_EQ(icon.cy, 340 + 6);
    const LayoutRect bar = TaskBarRect(area, LayoutSize{120, 6});
    EXPECT_EQ(bar.left, 890);
    EXPECT_EQ(bar.top, 340);
    EXPECT_EQ(bar.Width(), 120);
    EXPECT_EQ(bar.bottom, 346) << "clear of the reward icon at 346";
}

TEST(TaskRewardsTest, TaskTimer)
{
    CTaskState task;
    SetStages(task.stages, 1, 2, 3, 4);
    task.ApplyProgress(59);
    ASSERT_EQ(task.countdown, 1);

    TaskTimerStep step = task.TimerStep();   // 59 -> 60, countdown 0
    EXPECT_FALSE(step.sendStage);
    EXPECT_EQ(task.elapsed, 60);
    step = task.TimerStep();                 // countdown 0: report the stage
    EXPECT_TRUE(step.sendStage);
    EXPECT_TRUE(step.stopTimer);
    EXPECT_TRUE(step.restartTimer);
    EXPECT_EQ(task.stagesReached, 1);
    EXPECT_EQ(task.countdown, 60);

    // A known result sends no more stages.
    task.resultKnown = true;
    task.countdown = 0;
    EXPECT_FALSE(task.TimerStep().sendStage);

    // All four reached: countdown -1, done, the timer stops without a repaint.
    CTaskState last;
    SetStages(last.stages, 1, 2, 3, 4);
    last.ApplyProgress(240);
    last.countdown = 0;
    step = last.TimerStep();
    EXPECT_TRUE(step.stopTimer);
    EXPECT_FALSE(step.restartTimer);
    EXPECT_FALSE(step.repaint);
    EXPECT_EQ(last.countdown, -1);
    EXPECT_EQ(last.result, (uint32_t)kTaskDone);
    EXPECT_TRUE(last.TimerStep().stopTimer) << "countdown -1 stops the timer";
}

TEST(TaskRewardsTest, RefusedStage)
{
    struct Case {
        const char* what;
        int32_t elapsed, after;
        int reached;
    };
    const Case cases[] = {
        {"under 120 seconds: back to 0", 100, 0, 0},
        {"120 off", 700, 580, 0},
        {"stays in its stage", 2000, 1880, 2},
    };
    for (const Case& c : cases) {
        CTaskState task;
        SetStages(task.stages, 10, 30, 60, 120);
        task.ApplyProgress(c.elapsed);
        task.RefuseStage();
        EXPECT_EQ(task.elapsed, c.after) << c.what;
        EXPECT_EQ(task.stagesReached, c.reached) << c.what;
        EXPECT_EQ(task.countdown, StageCountdown(task.stages, c.after)) << c.what;
    }
}

TEST(TaskRewardsTest, PrizeAddress)
{
    auto expand = [](const std::string& a) { return a + "&t=1"; };
    struct Case {
        const char* what;
        const char* current;
        uint32_t login;
        const char* prefix;
        const char* opened;
    };
    const Case cases[] = {
        {"no address: nothing", "", 0, "", ""},
        {"plain", "http://p.test/", 0, "http://l.test/", "http://p.test/"},
        {"through the login prefix, expanded", "http://p.test/", 1, "http://l.test/?to=", "http://l.test/?to=http://p.test/&t=1"},
        {"through login without a prefix: nothing", "http://p.test/", 1, "", ""},
    };
    for (const Case& c : cases) {
        CTaskState task;
        task.currentAddress = c.current;
        task.openThroughLogin = c.login;
        task.loginPrefix = c.prefix;
        EXPECT_EQ(task.PrizeAddress(expand), c.opened) << c.what;
    }
}

TEST(TaskRewardsTest, TitlesHonourAndAwards)
{
    std::vector<ServerTitle> titles;
    Bytes list = TitleListBody({{"a**b", 3}, {std::string(40, 'x'), 4}});
    ASSERT_TRUE(ParseTitleList(list.data(), list.size(), &titles));
    ASSERT_EQ(titles.size(), 2u);
    EXPECT_EQ(titles[0].title, "a**b");
    EXPECT_EQ(titles[1].title, std::string(40, 'x')) << "a full title field is cut at its end";
    EXPECT_EQ(titles[1].titleId, 4u);
    PutU32(list, 24, 3);
    EXPECT_FALSE(ParseTitleList(list.data(), list.size(), &titles)) << "a count past the body";

    struct HonourCase {
        const char* what;
        Bytes payload;
        bool ok;
        size_t kept;
    };
    Bytes mismatch = HonourPayload({{3, 10}, {4, 20}});
    PutU32(mismatch, 0, 3);
    const HonourCase honours[] = {
        {"two pairs", HonourPayload({{3, 10}, {4, 20}}), true, 2},
        {"no pairs", HonourPayload({}), false, 0},
        {"a count that does not match the body", mismatch, false, 0},
        {"negative values are left out", HonourPayload({{3, -1}, {-2, 5}, {6, 7}}), true, 1},
    };
    for (const HonourCase& c : honours) {
        std::vector<HonourEntry> table;
        EXPECT_EQ(ParseHonourTable(c.payload.data(), c.payload.size(), &table), c.ok) << c.what;
        EXPECT_EQ(table.size(), c.kept) << c.what;
    }
    const std::vector<HonourEntry> table = {{3, 10}, {4, 0}};
    EXPECT_EQ(HonourOf(table, 3), 10);
    EXPECT_EQ(HonourOf(table, 9), 0);

    std::vector<TitleAwardGroup> groups;
    for (uint32_t count : {0u, 6u}) {
        Bytes award = AwardPayload({{"alice", {{"t", 1}}}});
        PutU32(award, 0, count);
        EXPECT_FALSE(ParseTitleAward(award.data(), award.size(), &groups)) << count << " groups";
    }
    Bytes tooMany = AwardPayload({{"alice", {{"t", 1}}}});
    PutU32(tooMany, 24, 2);
    EXPECT_FALSE(ParseTitleAward(tooMany.data(), tooMany.size(), &groups)) << "more titles than the payload";

    EXPECT_EQ(TitleAwardText("alice", "大**将", 0), "恭喜玩家[alice]获得称号【大将】!");
    EXPECT_EQ(TitleAwardText("bob", "x", 15), "恭喜玩家[bob]获得称号【x】,并获得15点荣誉值!");
    EXPECT_EQ(TitleAwardText("bob", "x", -3), "恭喜玩家[bob]获得称号【x】!");
}

TEST(TaskRewardsTest, LinkedNotice)
{
    struct Case {
        const char* what;
        int32_t count;
        std::string text;
        bool ok;
        std::vector<std::string> links;
    };
    const Case cases[] = {
        {"two links", 2, "<a href0=http://a.test/ xa0><a href1=http://b.test/ xa1>", true,
         {"http://a.test/ ", "http://b.test/ ", "", ""}},
        {"count -1", -1, "href0=http://a.test/_a0>", true, {"http://a.test/", "", "", ""}},
        {"an end marker missing", 1, "href0=http://a.test/", true, {"", "", "", ""}},
        {"an end marker right after the start", 1, "href0=a0>", true, {"", "", "", ""}},
        {"a count of 5", 5, "", false, {"", "", "", ""}},
        {"a count of 0", 0, "", false, {"", "", "", ""}},
    };
    for (const Case& c : cases) {
        const Bytes body = NoticeBody(c.count, c.text);
        LinkedNotice notice;
        EXPECT_EQ(ParseLinkedNotice(body.data(), body.size(), &notice), c.ok) << c.what;
        if (!c.ok)
            continue;
        EXPECT_EQ(notice.count, c.count) << c.what;
        EXPECT_EQ(notice.names[1], "news 1") << c.what;
        for (int i = 0; i < 4; i++)
            EXPECT_EQ(notice.links[i], c.links[i]) << c.what << " link " << i;
    }
    // A text that runs to the body's end without a terminator.
    Bytes open = NoticeBody(1, "");
    open.back() = 'z';
    LinkedNotice notice;
    EXPECT_TRUE(ParseLinkedNotice(open.data(), open.size(), &notice));
}

TEST(TaskRewardsTest, Requests)
{
    uint8_t message[kTaskRequestSize];
    BuildTaskRequest(kMsgStageReached, 3, 1234, message);
    const uint8_t expected[kTaskRequestSize] = {0x35, 0x60, 0x02, 0x00, 8, 0, 0, 0, 3, 0, 0, 0, 0xD2, 0x04, 0, 0};
    EXPECT_EQ(memcmp(message, expected, sizeof(expected)), 0);
}

TEST(TaskRewardsTest, TaskFiles)
{
    CTaskState task;
    task.key = 77;
    task.title = std::string(80, 't');      // longer than its field
    task.openThroughLogin = 1;
    task.fetchAddress = "http://f.test/";
    task.drawAddress = "http://d.test/";
    task.loginPrefix = "http://l.test/";
    SetStages(task.stages, 10, 30, 60, 120);
    task.ApplyProgress(700);
    const Bytes image = task.TaskInImage();
    ASSERT_EQ(image.size(), 1000u);
    EXPECT_TRUE(FileHoldsKey(image.data(), image.size(), 77));
    EXPECT_FALSE(FileHoldsKey(image.data(), image.size(), 78));

    struct Case {
        const char* what;
        Bytes data;
        uint32_t key;
        bool ok;
    };
    Bytes unterminated = image;
    memset(unterminated.data() + 72, 'u', 256);
    const Case cases[] = {
        {"the file written", image, 77, true},
        {"another task's file", image, 78, false},
        {"a short file", Bytes(image.begin(), image.begin() + 999), 77, false},
        {"no file", Bytes(), 77, false},
        {"a field without its terminator", unterminated, 77, true},
    };
    for (const Case& c : cases) {
        CTaskState read;
        read.elapsed = 700;
        EXPECT_EQ(read.ReadTaskIn(c.data.data(), c.data.size(), c.key), c.ok) << c.what;
        if (!c.ok)
            continue;
        EXPECT_EQ(read.title, std::string(63, 't')) << c.what;
        EXPECT_EQ(read.fetchAddress, "http://f.test/") << c.what;
        EXPECT_LE(read.drawAddress.size(), 256u) << c.what;
        EXPECT_EQ(read.stages[3].minutes, 120u) << c.what;
        EXPECT_EQ(read.currentAddress, read.drawAddress) << c.what << ": chosen by the stage reached";
    }

    task.result = kTaskDone;
    task.currentAddress = "http://r.test/";
    const Bytes result = task.ResultImage();
    ASSERT_EQ(result.size(), 584u);
    CTaskState back;
    ASSERT_TRUE(back.ReadResult(result.data(), result.size(), 77));
    EXPECT_EQ(back.currentAddress, "http://r.test/");
    EXPECT_EQ(back.loginPrefix, "http://l.test/");
    EXPECT_FALSE(back.ReadResult(result.data(), 583, 77));

    EXPECT_STREQ(TaskFileName(kTaskInProgress), "\\TaskIn.dat");
    EXPECT_STREQ(TaskFileName(kTaskExpired), "\\TaskPast.dat");
    EXPECT_STREQ(TaskFileName(kTaskNoEvent), "\\NoEvent.dat");
    EXPECT_EQ(TaskFileName(4), nullptr);
}

}  // namespace
