// The skin manager over a private skin folder: Init's refusals, the lines
// LoadSkins takes and the result folders they set, the fetches that
// HandleNetSkinData asks for, and hostile server text refused.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "FrameTestSupport.h"
#include "SkinManager.h"

namespace {

// 15 June 2026, noon.
void WINAPI FixedClock(SYSTEMTIME* t)
{
    memset(t, 0, sizeof *t);
    t->wYear = 2026;
    t->wMonth = 6;
    t->wDay = 15;
    t->wHour = 12;
}

class TestManager : public CSkinManager, public ISkinDownloader
{
public:
    explicit TestManager(const std::string& share) : m_share(share)
    {
        SetDownloader(this);
        SetClock(FixedClock);
    }
    std::string ReadSharePath() override { return m_share; }
    std::string ReadGamePath() override { return "C:\\Game"; }
    void Trace(const char* text) override { traces.push_back(text); }
    void RequestPack(const char* packName, uint32_t version) override
    {
        fetches.push_back(std::string(packName) + "@" + std::to_string(version));
    }

    std::vector<std::string> traces, fetches;

private:
    std::string m_share;
};

const char kIdentity[] = "Mardavel_skin_1";

class SkinManager : public ::testing::Test
{
protected:
    void SetUp() override
    {
        share = frametest::MakeTempFolder("frame_skin_");
        ASSERT_FALSE(share.empty());
        share.pop_back();   // no trailing backslash
        for (const char* dir : {"\\skin", "\\skin\\Mardavel", "\\skin\\Mardavel\\pack1", "\\skin\\Mardavel\\pack2"})
            ASSERT_TRUE(CreateDirectoryA((share + dir).c_str(), NULL));
        ASSERT_TRUE(frametest::WriteText(share + "\\skin\\Mardavel\\pack1\\version.ini", "[Version]\nVersion=1.0.0.2\n"));
    }
    void Lines(const std::string& body)
    {
        ASSERT_TRUE(frametest::WriteText(share + "\\skin\\ZozeRidadoDodu.ini", "[Mardavel]\n" + body));
    }
    std::string Folder(const char* identity) { return share + "\\skin\\Mardavel\\" + identity; }

    std::string share;
};

TEST_F(SkinManager, Init)
{
    TestManager m(share);
    EXPECT_FALSE(m.Init("", kIdentity));
    EXPECT_FALSE(m.Init("Mardavel", NULL));
    ASSERT_EQ(2u, m.traces.size());
    EXPECT_EQ("调用Init，无效的参数（pcszGameName=，pcszSkinIdentify=Mardavel_skin_1）", m.traces[0]);
    EXPECT_TRUE(m.Init("Mardavel", kIdentity));
    EXPECT_EQ(share + "\\skin\\ZozeRidadoDodu.ini", m.GetIniPath());
    EXPECT_FALSE(m.Init("Other", kIdentity)) << "a second Init is refused";
    EXPECT_EQ("已经调用过Init()函数了", m.traces.back());
    EXPECT_EQ(share + "\\skin", m.GetSkinFolder()) << "the first game stays";

    TestManager fresh(share);
    EXPECT_FALSE(fresh.LoadSkins());
    EXPECT_EQ("请先调用Init()设置游戏的信息！", fresh.traces.back());
}

TEST_F(SkinManager, ParseIniLine)
{
    TestManager m(share);
    SkinLine e;
    EXPECT_FALSE(m.ParseIniLine("1,Mardavel_skin_1,pack1,2026/1/1-2026/12/31,p1,1.0.0.2", &e)) << "six fields";
    EXPECT_EQ("ParseIniLine(1,Mardavel_skin_1,pack1,2026/1/1-2026/12/31,p1,1.0.0.2),缺少皮肤包版本", m.traces.back());
    EXPECT_FALSE(m.ParseIniLine("1", &e));
    EXPECT_EQ("ParseIniLine(1),缺少皮肤标志名", m.traces.back());
    ASSERT_TRUE(m.ParseIniLine("7,a,b,r,p,1.2.3.4,15", &e));
    EXPECT_EQ(7, e.id);
    EXPECT_EQ(11, e.flags) << "bit 2 dropped";
    ASSERT_TRUE(m.ParseIniLine("7,a,b,r,p,1.2.3.4,4", &e));
    EXPECT_EQ(0, e.flags);
    EXPECT_FALSE(m.ParseIniLine("7,a,..,r,p,1,1", &e)) << "an identity leaving the folder";
    EXPECT_FALSE(m.ParseIniLine("7,a,b\\c,r,p,1,1", &e));
    EXPECT_FALSE(m.ParseIniLine("7,a,b,r,..\\p,1,1", &e)) << "a pack name leaving the folder";
    EXPECT_EQ(0x01020304u, CSkinManager::VersionNumber("1.2.3.4"));
    EXPECT_EQ(0x01000002u, CSkinManager::VersionNumber("1.0.0.2"));
}

TEST_F(SkinManager, LoadSkinsTakesMatchingLines)
{
    struct Case
    {
        const char* what;
        const char* line;
        BOOL result;
        bool paths[4];
    } cases[] = {
        {"flags 9: paths 1, 2 and 3", "a=1,Mardavel_skin_1,pack1,2026/1/1-2026/12/31,p1,1.0.0.2,9\n", TRUE,
         {true, true, true, false}},
        {"flags 2: paths 2 and 4", "a=1,Mardavel_skin_1,pack1,2026/1/1-2026/12/31,p1,1.0.0.2,2\n", TRUE,
         {false, true, false, true}},
        {"flags 4 sets nothing", "a=1,Mardavel_skin_1,pack1,2026/1/1-2026/12/31,p1,1.0.0.2,4\n", FALSE, {}},
        {"id 0 is never used", "a=0,Mardavel_skin_1,pack1,2026/1/1-2026/12/31,p1,1.0.0.2,9\n", FALSE, {}},
        {"another flag name", "a=1,Other,pack1,2026/1/1-2026/12/31,p1,1.0.0.2,9\n", FALSE, {}},
        {"not now", "a=1,Mardavel_skin_1,pack1,2027/1/1-2027/12/31,p1,1.0.0.2,9\n", FALSE, {}},
        {"the second of two ranges covers now",
         "a=1,Mardavel_skin_1,pack1,2025/1/1-2025/2/1&2026/6/1-2026/6/30,p1,1.0.0.2,9\n", TRUE,
         {true, true, true, false}},
        {"another version", "a=1,Mardavel_skin_1,pack1,2026/1/1-2026/12/31,p1,1.0.0.3,9\n", FALSE, {}},
        {"no version.ini", "a=1,Mardavel_skin_1,pack2,2026/1/1-2026/12/31,p2,,9\n", FALSE, {}},
        {"six fields", "a=1,Mardavel_skin_1,pack1,2026/1/1-2026/12/31,p1,1.0.0.2\n", FALSE, {}},
    };
    for (const Case& k : cases) {
        Lines(k.line);
        TestManager m(share);
        ASSERT_TRUE(m.Init("Mardavel", kIdentity));
        EXPECT_EQ(k.result, m.LoadSkins()) << k.what;
        for (int i = 0; i < 4; i++)
            EXPECT_EQ(k.paths[i] ? Folder("pack1") : std::string("C:\\Game"), m.GetResultPath(i + 1))
                << k.what << ", path " << i + 1;
    }
}

TEST_F(SkinManager, NetSkinDataFetchesWhatIsMissing)
{
    Lines("");
    TestManager m(share);
    ASSERT_TRUE(m.Init("Mardavel", kIdentity));
    const std::string section = std::string("k1=1,Mardavel_skin_1,pack2,2026/1/1-2026/12/31,p2,2.0.0.1,9") + '\0' +
                                "k2=1,Mardavel_skin_1,pack1,2026/1/1-2026/12/31,p1,1.0.0.2,9" + '\0' +   // up to date
                                "k3=1,Mardavel_skin_1,pack3,2027/1/1-2027/2/1,p3,1.0.0.0,1" + '\0' +    // to come
                                "k4=1,Mardavel_skin_1,pack4,2025/1/1-2025/2/1,p4,1.0.0.0,1" + '\0' +    // over
                                "k5=0,Mardavel_skin_1,pack5,2026/1/1-2026/12/31,p5,1.0.0.0,1" + '\0' +  // id 0
                                "k6=1,Other,pack6,2026/1/1-2026/12/31,p6,1.0.0.0,1" + '\0' +
                                "k7=1,Mardavel_skin_1,..,2026/1/1-2026/12/31,p7,1.0.0.0,1" + '\0' + '\0';
    m.HandleNetSkinData(section.data(), section.size());
    EXPECT_EQ((std::vector<std::string>{"p2@" + std::to_string(0x02000001u), "p3@" + std::to_string(0x01000000u)}),
              m.fetches)
        << "one fetch per line that needs its pack";
    EXPECT_STREQ("", m.GetResultPath(1)) << "result paths untouched";
}

TEST_F(SkinManager, NetSkinDataWithoutItsEndIsRefused)
{
    Lines("old=1,Mardavel_skin_1,pack2,2026/1/1-2026/12/31,p2,2.0.0.1,9\n");
    TestManager m(share);
    ASSERT_TRUE(m.Init("Mardavel", kIdentity));
    const std::string text = "k1=1,Mardavel_skin_1,pack9,2026/1/1-2026/12/31,p9,2.0.0.1,9";
    m.HandleNetSkinData(text.data(), text.size());   // no NUL at all
    const std::string single = text + '\0';
    m.HandleNetSkinData(single.data(), single.size());   // one NUL, no empty string
    EXPECT_TRUE(m.fetches.empty());
    char value[256] = "";
    GetPrivateProfileStringA("Mardavel", "old", "", value, sizeof value, m.GetIniPath());
    EXPECT_STRNE("", value) << "the ini was not touched";
}

}  // namespace
