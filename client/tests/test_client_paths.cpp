// Folders, picture paths, conversions and the environment record of the
// client, on Windows (under Wine in the tests).
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "ClientPaths.h"
#include "ClientText.h"
#include "store/FilePaths.h"

namespace {

std::string ProgramFolder()
{
    char folder[MAX_PATH] = "";
    GetModuleFolder(folder);
    RemoveTrailingSlash(folder);
    return folder;
}

std::string TempFolder(const char* name)
{
    char temp[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + name;
    DeleteTree(folder.c_str());
    CreateDirectoryPath(folder.c_str());
    return folder;
}

void Touch(const std::string& path)
{
    CreateDirectoryPath(path.substr(0, path.rfind('\\')).c_str());
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ::CloseHandle(file);
}

TEST(ClientPathsTest, ThemePaths)
{
    const std::string folder = ProgramFolder();
    EXPECT_EQ(std::string(GetThemePath(0)), folder + "\\theme_png\\Default.thm");
    EXPECT_EQ(std::string(GetThemePath(1)), folder + "\\theme_png\\Default");
    EXPECT_EQ(std::string(GetThemePath(2)), folder + "\\theme");
    EXPECT_EQ(std::string(GetThemePath(7)), folder);
}

TEST(ClientPathsTest, ResPicPaths)
{
    const std::string base = TempFolder("client_respic_base");
    const std::string profile = TempFolder("client_respic_profile");
    SetResPicFolders(base.c_str(), (profile + "\\").c_str());
    Touch(base + "\\theme\\respic\\BigCard.bmp");
    Touch(profile + "\\theme\\respic\\OffLine.bmp");
    struct Case {
        const char* what;
        int id;
        std::string expected;
    };
    const Case cases[] = {
        {"in the base folder", 321, base + "\\theme\\respic\\BigCard.bmp"},
        {"only in the profile folder", 320, profile + "\\theme\\respic\\OffLine.bmp"},
        {"in neither: the profile's path all the same", 319, profile + "\\theme\\respic\\Start.bmp"},
        {"an id without a picture", 291, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(std::string(GetThemeResPicPath(c.id)), c.expected) << c.what;
    Touch(profile + "\\theme\\respic\\l-0.png");
    char narrow[MAX_PATH];
    ::WideCharToMultiByte(CP_ACP, 0, GetResPngPath(291), -1, narrow, MAX_PATH, NULL, NULL);
    EXPECT_EQ(std::string(narrow), profile + "\\theme\\respic\\l-0.png");
    EXPECT_EQ(GetResPngPath(292)[0], 0);
    SetResPicFolders("", "");
    DeleteTree(base.c_str());
    DeleteTree(profile.c_str());
}

TEST(ClientPathsTest, UserDataFolder)
{
    const CString folder = GetUserDataFolder();
    ASSERT_FALSE(folder.IsEmpty()) << "the documents folder is known under Wine";
    EXPECT_TRUE(std::string(folder).find("\\Sybrant\\mardavel") != std::string::npos);
    EXPECT_TRUE(DirectoryExists(folder)) << "created when missing";
}

TEST(ClientPathsTest, ConversionsStopOnWholeCharacters)
{
    ASSERT_EQ(::GetACP(), 936u) << "the tests run with code page 936";
    WCHAR wide[kConvertBufferSize];
    // 120 Chinese characters: 99 units fit, none cut.
    std::wstring many(120, L'\x4E2D');
    char narrow[kConvertBufferSize];
    EXPECT_EQ(WideToAnsi(many.c_str(), narrow), 98) << "49 double-byte characters";
    EXPECT_EQ((unsigned char)narrow[0], 0xD6u);
    std::string gbk;
    for (int i = 0; i < 60; i++)
        gbk += "\xD6\xD0";
    EXPECT_EQ(AnsiToWide(gbk.c_str(), wide), 60);
    EXPECT_EQ(wide[0], 0x4E2D);
    std::string utf8;
    for (int i = 0; i < 120; i++)
        utf8 += "\xE4\xB8\xAD";
    EXPECT_EQ(Utf8ToWide(utf8.c_str(), wide), 99);
    EXPECT_EQ(WideToUtf8String(L"\x4E2D" L"A"), "\xE4\xB8\xAD" "A");
    char escaped[kConvertBufferSize];
    EscapeForUrl(L"\x4E2D", escaped);
    EXPECT_STREQ(escaped, "%e4%b8%ad");
    EscapeForUrl(L"a\x4E2D", escaped);
    EXPECT_STREQ(escaped, "a\xE4\xB8\xAD") << "a text that begins with a Latin letter is copied";
}

TEST(ClientPathsTest, EnvironmentRecord)
{
    ClientEnvRecord& env = TheClientEnv();
    EXPECT_EQ(env.size, 1388u);
    EXPECT_EQ(env.codePage, 936u);
    EXPECT_STREQ(env.name, "Client");
    EXPECT_EQ(env.value1382, 255);
    strcpy(env.clientExePath, "C:\\client");
    strcpy(env.clientDllPath, "C:\\dll\\");
    EXPECT_EQ(std::string(ExpandClientPathVars("%ClientExePath%\\a.exe;%ClientDllPath%b.dll")),
              "C:\\client\\a.exe;C:\\dll\\b.dll");
    const std::string folder = TempFolder("client_env");
    const std::string ini = folder + "\\client.ini";
    ::WritePrivateProfileStringA("Paths", "Game", "%GameDllPath%\\Mardavel_Board.dll", ini.c_str());
    strcpy(env.iniFile, ini.c_str());
    strcpy(env.gameDllPath, "D:\\games");
    EXPECT_EQ(std::string(ReadClientIniValue("Paths", "Game")), "D:\\games\\Mardavel_Board.dll");
    EXPECT_EQ(std::string(ReadClientIniValue("Paths", "Missing")), "");
    // A monitor program that is not there is not started; with a blank in
    // the folder the program path is quoted and named, never split.
    strcpy(env.clientDllPath, (folder + "\\with blank\\").c_str());
    EXPECT_FALSE(StartMonitor());
    StopMonitor();   // nothing to stop
    memset(env.clientExePath, 0, sizeof env.clientExePath);
    memset(env.clientDllPath, 0, sizeof env.clientDllPath);
    memset(env.gameDllPath, 0, sizeof env.gameDllPath);
    memset(env.iniFile, 0, sizeof env.iniFile);
    DeleteTree(folder.c_str());
}

}  // namespace
