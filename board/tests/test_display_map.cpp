// The player side's display-object map: entries, the map ini with its range
// keys, and the events that reach mapped objects.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "BoardIni.h"
#include "BoardTestSupport.h"
#include "MardavelBoard.h"

namespace {

namespace fs = std::filesystem;

int RunOk(CBoardClient&, ScriptMapEntry&, int32_t value) { return value != 0; }

// A game board with a few entries of its own, as a game adds them.
class MapBoard : public CMardavelBoard {
public:
    int32_t okVar = -5;
    int32_t btnVar = -5;
    std::vector<std::string> objectEvents;

    int AddAreaTable() override
    {
        CMardavelBoard::AddAreaTable();
        AddMap("okButton", &okVar, &RunOk);
        AddMap("Btn2", &btnVar, nullptr);
        AddMap("plain", nullptr, nullptr);
        return 1;
    }
    int OnDisplayObjectEvent(int32_t code, ScriptMapEntry& entry, int32_t value) override
    {
        objectEvents.push_back(std::to_string(code) + " " + entry.name + " " + std::to_string(value));
        return 1;
    }
};

class DisplayMap : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::temp_directory_path() / (std::string("board-map-") + info->name());
        fs::create_directories(dir_);
        std::memset(&init_, 0, sizeof init_);
        SetPath(init_.mapIniPath, (dir_ / "map.ini").string());
        SetPath(init_.clientExePath, "C:\\Game");
        SetPath(init_.clientDllPath, "C:\\Game\\dll");
        SetPath(init_.gameDllPath, "C:\\Game\\mardavel");
    }
    void TearDown() override { fs::remove_all(dir_); }

    static void SetPath(char (&field)[260], const std::string& value)
    {
        std::strncpy(field, value.c_str(), sizeof field - 1);
    }
    void WriteMap(const std::string& text)
    {
        std::ofstream(dir_ / "map.ini", std::ios::binary) << text;
    }
    int Load(int32_t mode = kBoardModePlayer)
    {
        EXPECT_EQ(board_.Init(mode, &TestHost::Callback, host_.Cookie(), &init_), 1);
        return board_.OnEvent(kEvLoadDisplayMap, 0, 0, nullptr);
    }
    std::vector<std::string> Created() const
    {
        std::vector<std::string> lines;
        for (const CallbackCopy* c : host_.Calls(kCbCreateDisplayObject))
            lines.push_back(std::to_string(c->record.userId) + "|" + c->text);
        return lines;
    }

    fs::path dir_;
    BoardInitBlock init_;
    TestHost host_;
    MapBoard board_;
};

TEST_F(DisplayMap, CreatesEveryObjectAndSetsTheMappedEntries)
{
    WriteMap("[ObjList]\n"
             "okButton = 3, 100\n"
             "areaTable=9,200,5\n"
             "btn[1-2] = 4, 30%d, 1\n"
             "[Prop]\n"
             "okButton = pic=%ClientExePath%\\ok.bmp;dll=%GameDllPath%\n"
             "areaTable=\"x=1\"\n"
             "btn[1-2] = name=btn%d;path=%ClientDllPath%\n");
    EXPECT_EQ(Load(), 1);
    EXPECT_EQ(Created(), (std::vector<std::string>{
                             "3|id=100;pic=C:\\Game\\ok.bmp;dll=C:\\Game\\mardavel",
                             "9|id=205;x=1",
                             "4|id=302;name=btn1;path=C:\\Game\\dll",
                             "4|id=303;name=btn2;path=C:\\Game\\dll",
                         }));
    EXPECT_EQ(board_.okVar, 100);
    EXPECT_EQ(board_.AreaVariable(), 205);
    EXPECT_EQ(board_.btnVar, 303);  // "Btn2": names are compared without case
    ScriptMapEntry* ok = board_.FindMapEntryById(100);
    ASSERT_NE(ok, nullptr);
    EXPECT_STREQ(ok->name, "okButton");
    EXPECT_EQ(ok->kind, 3);
    EXPECT_TRUE(host_.Logged("Warning ! ,Not find varName : btn1 "));
}

TEST_F(DisplayMap, SkipsBadKeysWithTheirLogLines)
{
    WriteMap("[ObjList]\n"
             "noMap=\n"
             "noProp=1,2\n"
             "oneField=7\n"
             "plain = 1 , 2 , 3\n"
             "[Prop]\n"
             "noMap=a\n"
             "oneField=b\n"
             "plain=c\n");
    EXPECT_EQ(Load(), 1);
    EXPECT_EQ(Created(), std::vector<std::string>{"1|id=5;c"});
    EXPECT_TRUE(host_.Logged("Read MapLine Failed : noMap"));
    EXPECT_TRUE(host_.Logged("Read PropLine Failed : noProp"));
    EXPECT_TRUE(host_.Logged("MapLine 7 Error n < 2 !!!"));
}

TEST_F(DisplayMap, ARefusedObjectEndsTheLoad)
{
    WriteMap("[ObjList]\nfirst=1,1\nsecond=1,2\n[Prop]\nfirst=a\nsecond=b\n");
    host_.results[kCbCreateDisplayObject] = 0;
    EXPECT_EQ(Load(), -1);
    EXPECT_EQ(Created().size(), 1u);
    EXPECT_TRUE(host_.Logged("QVBCB_GAMEEVT_LOADDISOBJ failed !!!first "));
}

TEST_F(DisplayMap, RangesAreBounded)
{
    WriteMap("[ObjList]\n"
             "huge[0-99999999]=1,%d\n"
             "backwards[5-1]=1,%d\n"
             "spaced[ 7 , 8 ]=2,%d\n"
             "notRange[a-b]=3,1\n"
             "[Prop]\n"
             "huge[0-99999999]=p\n"
             "backwards[5-1]=p\n"
             "spaced[ 7 , 8 ]=q%d\n"
             "notRange[a-b]=r\n");
    EXPECT_EQ(Load(), 1);
    EXPECT_EQ(Created(), (std::vector<std::string>{"2|id=7;q7", "2|id=8;q8", "3|id=1;r"}));
}

TEST_F(DisplayMap, RefereeAndMissingFileFail)
{
    EXPECT_EQ(Load(), -1);  // no file written
    EXPECT_TRUE(Created().empty());
    MapBoard referee;
    TestHost host;
    ASSERT_EQ(referee.Init(kBoardModeReferee, &TestHost::Callback, host.Cookie(), &init_), 1);
    EXPECT_EQ(referee.OnEvent(kEvLoadDisplayMap, 0, 0, nullptr), -1);
}

TEST_F(DisplayMap, ObjectEventsReachMappedObjectsOnly)
{
    WriteMap("[ObjList]\nokButton=3,100\nBtn2=4,101\n[Prop]\nokButton=a\nBtn2=b\n");
    ASSERT_EQ(Load(), 1);
    EXPECT_EQ(board_.OnEvent(2, 100, 7, nullptr), 1);
    EXPECT_EQ(board_.OnEvent(8, 101, 0, nullptr), 1);
    EXPECT_EQ(board_.objectEvents, (std::vector<std::string>{"2 okButton 7", "8 Btn2 0"}));
    // An id without entry goes on to the game level, which accepts it.
    EXPECT_EQ(board_.CBoardClient::OnEvent(3, 555, 0, nullptr), 0);
    EXPECT_EQ(board_.OnEvent(3, 555, 0, nullptr), 1);

    EXPECT_EQ(board_.OnEvent(kEvRunMapFunction, 100, 1, nullptr), 1);
    EXPECT_EQ(board_.OnEvent(kEvRunMapFunction, 100, 0, nullptr), -1);
    EXPECT_EQ(board_.CBoardClient::OnEvent(kEvRunMapFunction, 101, 1, nullptr), 0);  // no function
}

TEST(DisplayMapEntries, The201stEntryIsRefused)
{
    TestHost host;
    CBoardClient board;
    ASSERT_EQ(board.Init(kBoardModePlayer, &TestHost::Callback, host.Cookie(), nullptr), 1);
    EXPECT_EQ(board.MapEntryCount(), 1);  // "areaTable"
    ScriptMapEntry* area = board.FindMapEntryByName("AREATABLE");
    ASSERT_NE(area, nullptr);
    EXPECT_EQ(area->kind, 9);
    EXPECT_EQ(area->objectId, 0);
    std::vector<int32_t> vars(200);
    for (int i = 1; i < 200; ++i)
        ASSERT_EQ(board.AddMap(("e" + std::to_string(i)).c_str(), &vars[i], nullptr), 1);
    EXPECT_TRUE(host.Logs().empty());
    EXPECT_EQ(board.AddMap("one-too-many", &vars[0], nullptr), 0);
    EXPECT_EQ(board.MapEntryCount(), 200);
    EXPECT_EQ(host.Logs(), std::vector<std::string>{"CBoardClient::AddMap Failed "});
    ScriptMapEntry* last = board.FindMapEntryByName("e199");
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->kind, -1);
    EXPECT_EQ(last->objectId, -1);
    EXPECT_EQ(last->varIndex, 199);
    EXPECT_EQ(last->funcIndex, -1);
}

TEST(BoardIni, ReadsLikeTheProfileFunctions)
{
    const std::string text = "\xEF\xBB\xBF; comment\n"
                             "top=ignored\n"
                             "[objlist]\r\n"
                             "  Key One = \"quoted value\" \r\n"
                             "key two=second\n"
                             "KEY ONE=later duplicate\n"
                             "bare\n"
                             "[Other]\n"
                             "key two=other section\n";
    CBoardIni ini;
    ini.LoadText(text.data(), text.size());
    EXPECT_EQ(ini.KeyNames("ObjList", 4096),
              (std::vector<std::string>{"Key One", "key two", "KEY ONE", "bare"}));
    EXPECT_EQ(ini.Value("OBJLIST", "key one", 256), "quoted value");
    EXPECT_EQ(ini.Value("ObjList", "key two", 4), "sec");
    EXPECT_EQ(ini.Value("ObjList", "bare", 256), "");
    EXPECT_EQ(ini.Value("ObjList", "top", 256), "");
    // Names that do not fit the list's bytes are left out.
    EXPECT_EQ(ini.KeyNames("ObjList", 1 + 8 + 8), (std::vector<std::string>{"Key One", "key two"}));
}

}  // namespace
