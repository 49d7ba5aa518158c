// The resource library check against small resource libraries beside the
// program (this program is version 1.2.3.4, internal name "AppCheck"), and
// the module version reader.
#include "AppTestSupport.h"

#include "GameEnvironment.h"
#include "ResDll.h"

namespace {

struct ResDllCheck : ::testing::Test {
    void TearDown() override { FreeResDll(); }
    AppBoxRecorder boxes;

    std::string LastBox() const { return boxes.calls.empty() ? "" : boxes.calls.back().text; }
};

}  // namespace

TEST_F(ResDllCheck, EachLibraryIsAcceptedOrRefusedWithItsBox)
{
    struct Case {
        const char* game;
        BOOL ok;
        const char* box;
    } cases[] = {
        {"Right", TRUE, ""},
        {"Older", FALSE, "Incorrect version of Older_Res.dll !"},
        {"Newer", FALSE, "Incorrect version of Newer_Res.dll !"},
        {"BadName", FALSE, "Incorrect version of BadName_Res.dll !"},
        {"OtherApp", FALSE, "Incorrect version of OtherApp_Res.dll !"},
        {"AppType", FALSE, "AppType_Res.dll is not a valid resource file !"},
        {"NoVersion", FALSE, "NoVersion_Res.dll is not a valid resource file !"},
        {"Missing", FALSE, "Missing_Res.dll not found !"},
    };
    for (const Case& c : cases) {
        boxes.calls.clear();
        EXPECT_EQ(LoadResDll(c.game), c.ok) << c.game;
        EXPECT_EQ(LastBox(), c.box) << c.game;
        if (!boxes.calls.empty()) {
            EXPECT_EQ(boxes.calls.back().type, (UINT)MB_ICONSTOP);
        }
        // A library that was found stays installed, checked or not.
        if (strcmp(c.game, "Missing") != 0) {
            EXPECT_NE(GetResDll(), nullptr) << c.game;
            EXPECT_EQ(AfxGetResourceHandle(), GetResDll()) << c.game;
        }
    }
    FreeResDll();
    EXPECT_EQ(GetResDll(), nullptr);
    EXPECT_EQ(AfxGetResourceHandle(), AfxGetInstanceHandle());
}

TEST_F(ResDllCheck, ASuccessfulCheckFillsTheVersionRecord)
{
    ASSERT_TRUE(LoadResDll("Right"));
    const ResVersionInfo& v = theResVersion;
    EXPECT_EQ(v.programVersionMS, 0x00010002u);
    EXPECT_EQ(v.programVersionLS, 0x00030004u);
    EXPECT_STREQ(v.programVersionText, "1.02.3.4");
    EXPECT_STREQ(v.libraryVersionText, "1.02.3.4");
    EXPECT_STREQ(v.shortVersionText, "1.02 Beta4");
    EXPECT_EQ(v.programTranslation, 0x03A80804u);
    EXPECT_STREQ(v.programInternalName, "AppCheck");
    EXPECT_STREQ(v.libraryInternalName, "AppCheckResource");
    EXPECT_STREQ(v.fileDescription, "Right_Res description");
    EXPECT_STREQ(v.productName, "Mardavel test");
    EXPECT_STREQ(v.companyName, "Quorvintel test");
    EXPECT_STREQ(v.legalCopyright, "(c) test");
    EXPECT_STREQ(v.comments, "test module");
    EXPECT_STREQ(v.specialBuild, "special test_runtime_app_resdll");
    EXPECT_GT(v.osVersion.dwMajorVersion, 0u);
    // Strings now come from the library.
    CString text;
    ASSERT_TRUE(text.LoadString(100));
    EXPECT_EQ(std::string(text), "right");
}

TEST_F(ResDllCheck, MinimumVersionRefusesOnlyOlderLibraries)
{
    struct Case {
        const char* game;
        const char* minimum;
        BOOL ok;
    } cases[] = {
        {"Older", "1.2.3.3", TRUE},  {"Older", "1.2.3.4", FALSE}, {"Newer", "1.2.3.4", TRUE},
        {"Newer", "1,2,4,0", TRUE},  {"Newer", "1.2.4.1", FALSE}, {"Newer", "", FALSE},
        {"Right", NULL, TRUE},
    };
    for (const Case& c : cases) {
        boxes.calls.clear();
        EXPECT_EQ(LoadResDllMinVersion(c.game, c.minimum), c.ok) << c.game << " " << (c.minimum ? c.minimum : "-");
        if (!c.ok && c.minimum != NULL && *c.minimum != '\0') {
            EXPECT_EQ(LastBox(), std::string("Too old version of ") + c.game + "_Res.dll !");
        }
    }
}

TEST_F(ResDllCheck, StringComparisonReplacesTheVersionTest)
{
    EXPECT_TRUE(LoadResDllByString("Newer", 100));     // its string 100 is the program's
    EXPECT_FALSE(LoadResDllByString("Older", 100));    // its string differs
    EXPECT_EQ(LastBox(), "Incorrect version of Older_Res.dll !");
    EXPECT_FALSE(LoadResDllByString("Right", 4711));   // no such string
}

TEST(ResDllTexts, ShortVersionSuffix)
{
    char text[32];
    FormatShortVersion(0x00020005, 0x000300FF, text, sizeof(text));
    EXPECT_STREQ(text, "2.05");
    FormatShortVersion(0x00020005, 0x00030003, text, sizeof(text));
    EXPECT_STREQ(text, "2.05 Beta3");
    FormatVersionText(0x0001000A, 0x00020003, text, sizeof(text));
    EXPECT_STREQ(text, "1.10.2.3");
}

TEST(ResDllTexts, InstalledVersionFromTheInstallFolder)
{
    ScopedRegistryKey right("Software\\Quorvintel\\Game\\Newer");
    right.SetString("Path", ProgramFolder());
    DWORD high = 0, low = 0;
    CString text;
    ASSERT_TRUE(GetInstalledVersion("Newer", &high, &low, &text));
    EXPECT_EQ(high, 0x00010002u);
    EXPECT_EQ(low, 0x00040000u);
    EXPECT_EQ(std::string(text), "1.02.4.0");
    ScopedRegistryKey none("Software\\Quorvintel\\Game\\NoVersion");
    none.SetString("Path", ProgramFolder());
    EXPECT_FALSE(GetInstalledVersion("NoVersion", &high, &low, &text));
}

// ---- Module version ----------------------------------------------------------------------

TEST(ModuleVersion, ReadsAndComparesFourNumbers)
{
    CModuleVersion version;
    ASSERT_TRUE(version.Load((ProgramFolder() + "\\Right_Res.dll").c_str()));
    EXPECT_STREQ(version.GetText(), "1.2.3.4");
    struct Case {
        const char* text;
        BOOL compare, equal;
    } cases[] = {
        {"1.2.3.4", TRUE, TRUE}, {"1.2.2.9", TRUE, FALSE}, {"1.3", FALSE, FALSE}, {"1,2,3,4", TRUE, TRUE},
        {"0.9.9.9", TRUE, FALSE}, {"1.2.3.5", FALSE, FALSE}, {"", TRUE, FALSE},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(version.Compare(c.text), c.compare) << c.text;
        EXPECT_EQ(version.IsEqual(c.text), c.equal) << c.text;
    }
    EXPECT_EQ(std::string(version.GetStringValue("CompanyName")), "Quorvintel test");
    EXPECT_EQ(std::string(version.GetStringValue("CompanyName", 0x804, 936)), "Quorvintel test");
    EXPECT_EQ(std::string(version.GetStringValue("Nothing")), "");
}

TEST(ModuleVersion, NothingLoadedComparesFalse)
{
    CModuleVersion version;
    EXPECT_FALSE(version.Compare("0.0.0.0"));
    EXPECT_FALSE(version.Load((ProgramFolder() + "\\NoVersion_Res.dll").c_str()));
    EXPECT_FALSE(version.Compare("0.0.0.0"));
    EXPECT_STREQ(version.GetText(), "");
    ScopedRegistryKey share("Software\\Quorvintel\\Game\\Share");
    share.SetString("Path", ProgramFolder());
    EXPECT_TRUE(version.LoadShareModule("Older_Res.dll"));
    EXPECT_STREQ(version.GetText(), "1.2.3.3");
    EXPECT_TRUE(version.Load());   // the program
    EXPECT_STREQ(version.GetText(), "1.2.3.4");
}
