// The platform environment: registry and ini readers and their defaults,
// path macros, the code-page converter, theme paths, the lobby's room record
// and notice, avatar icons, the document type and the display helpers.
#include "AppTestSupport.h"

#include "GameEnvironment.h"

namespace {

const char kShare[] = "Software\\Quorvintel\\Game\\Share";

}  // namespace

// ---- Registry ------------------------------------------------------------------------------

TEST(Registry, ReadersGiveTheirDefaultsWhenKeysOrValuesAreMissing)
{
    ScopedRegistryKey game("Software\\Quorvintel\\Game\\EnvGame");
    EXPECT_EQ(std::string(RegReadString("Software\\Quorvintel\\Game\\EnvGame", "Path")), "");
    EXPECT_EQ(std::string(RegReadString("Software\\Quorvintel\\Game\\NoSuchGame", "Path", "dflt")), "dflt");

    char buffer[16];
    memset(buffer, 'x', sizeof(buffer));
    EXPECT_FALSE(ReadGameValue("EnvGame", "Missing", buffer, sizeof(buffer), REG_SZ));
    EXPECT_EQ(std::string(buffer, sizeof(buffer)), std::string(16, '\0'));

    // The default is a text: copied up to its end, cut to the buffer.
    char out[8];
    memset(out, 'x', sizeof(out));
    EXPECT_FALSE(ReadGameRegValue("Game\\EnvGame\\Settings", "Snapshot", out, sizeof(out), "ab"));
    EXPECT_EQ(std::string(out, 3), std::string("ab\0", 3));
    EXPECT_FALSE(ReadGameRegValue("Game\\EnvGame\\Settings", "Snapshot", out, sizeof(out), "0123456789"));
    EXPECT_STREQ(out, "0123456");
}

TEST(Registry, ValuesWrittenAndReadBack)
{
    ScopedRegistryKey game("Software\\Quorvintel\\Game\\EnvGame");
    ASSERT_TRUE(WriteGameValue("EnvGame", "PlayDir", "C:\\plays"));
    game.SetDword("Music", 7);
    char buffer[64];
    ASSERT_TRUE(ReadGameValue("EnvGame", "PlayDir", buffer, sizeof(buffer), REG_SZ));
    EXPECT_STREQ(buffer, "C:\\plays");
    DWORD music = 0;
    ASSERT_TRUE(ReadGameValue("EnvGame", "Music", &music, sizeof(music), REG_DWORD));
    EXPECT_EQ(music, 7u);
    EXPECT_FALSE(ReadGameValue("EnvGame", "Music", buffer, sizeof(buffer), REG_SZ));   // wrong type
    // A value longer than the buffer is not read.
    char tiny[4];
    EXPECT_FALSE(ReadGameValue("EnvGame", "PlayDir", tiny, sizeof(tiny), REG_SZ));

    game.SetString("VideoDir", "D:\\videos");
    char out[64];
    ASSERT_TRUE(ReadGameRegValue("Game\\EnvGame", "VideoDir", out, sizeof(out), "none"));
    EXPECT_STREQ(out, "D:\\videos");
}

TEST(Registry, PlatformModuleFolders)
{
    ScopedRegistryKey game("Software\\Quorvintel\\Game\\EnvGame");
    game.SetString("path", "C:\\games\\env");
    ScopedRegistryKey share(kShare);
    share.SetString("path", "C:\\qv\\share");
    char out[MAX_PATH];
    ASSERT_TRUE(GetPlatformModuleFolder(NULL, NULL, out, sizeof(out)));
    EXPECT_EQ(std::string(out), ProgramFolder());
    ASSERT_TRUE(GetPlatformModuleFolder("EnvGame", "x.dll", out, sizeof(out)));
    EXPECT_STREQ(out, "C:\\games\\env\\x.dll");
    ASSERT_TRUE(GetPlatformModuleFolder("QVWorld", NULL, out, sizeof(out)));
    EXPECT_STREQ(out, "C:\\qv\\share");
    EXPECT_FALSE(GetPlatformModuleFolder("NoSuchGame", NULL, out, sizeof(out)));
    char small[8];
    EXPECT_FALSE(GetPlatformModuleFolder("EnvGame", NULL, small, sizeof(small)));
}

// ---- The language file ------------------------------------------------------------------------

TEST(LanguageFile, UrlsStringsAndTheP80PortFile)
{
    ScratchFolder platform;   // holds Share\LangRsc.ini and a game folder
    ScratchFolder shared;     // the registry's Share Path
    ::CreateDirectoryA((platform / "Share").c_str(), NULL);
    WriteBytes(platform / "Share\\LangRsc.ini", "[P80Port]\n8000=80\n");
    WriteBytes(shared / "LangRsc.ini", "[URL]\nHome=http://home\n[String]\n5=five\n[P80Port]\n8000=8080\n9000=90\n");
    ScopedRegistryKey share(kShare);
    share.SetString("Path", shared.Path());

    EXPECT_EQ(std::string(LangRscGetString("Home")), "http://home");
    EXPECT_EQ(std::string(LangRscGetString("Away")), "");
    EXPECT_EQ(std::string(LangRscGetStringByNumber(5)), "five");
    EXPECT_EQ(std::string(LangRscGetStringByNumber(6)), "");

    // Beside the last "\share" of the program's path.
    const std::string inShare = platform.Path() + "\\SHARE\\games\\m.exe";
    EXPECT_EQ(GetLangRscPathFor(inShare.c_str(), 8000), 80);
    EXPECT_EQ(GetLangRscPathFor(inShare.c_str(), 9000), 0);   // no entry for the port
    // Elsewhere: the program's folder has no Share\LangRsc.ini, so the Share
    // Path's file answers.
    const std::string elsewhere = platform.Path() + "\\bin\\m.exe";
    EXPECT_EQ(GetLangRscPathFor(elsewhere.c_str(), 9000), 90);
    share.SetString("Path", platform.Path() + "\\none");
    EXPECT_EQ(GetLangRscPathFor(elsewhere.c_str(), 9000), 0);
}

TEST(PathMacros, OnlyTheFirstMacroPresentIsReplaced)
{
    ScratchFolder shared;
    WriteBytes(shared / "LangRsc.ini", "[WorldPath]\nLRCworld=E:\\world\n");
    ScopedRegistryKey share(kShare);
    share.SetString("Path", shared.Path());
    ScopedRegistryKey game("Software\\Quorvintel\\Game\\EnvGame");
    game.SetString("Path", "C:\\games\\env");
    SetEnvironmentGameName("EnvGame");
    char windows[MAX_PATH], system[MAX_PATH];
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    ::GetSystemDirectoryA(system, MAX_PATH);

    struct Case {
        std::string text;
        BOOL ok;
        std::string expanded;
    } cases[] = {
        {"%Windows%\\fonts", TRUE, std::string(windows) + "\\fonts"},
        {"%system%\\x.dll", TRUE, std::string(system) + "\\x.dll"},
        {"%game%\\a%Room%\\b", TRUE, "%game%\\a" + shared.Path() + "\\b"},
        {"%game%\\save", TRUE, "C:\\games\\env\\save"},
        {"%advert%\\ad.html", TRUE, shared.Path() + "\\Advert\\ad.html"},
        {"%LRCworld%\\maps", TRUE, "E:\\world\\maps"},
        {"%LRCnone%\\maps", FALSE, "%LRCnone%\\maps"},
        {"x%LRCworld%", FALSE, "x%LRCworld%"},
        {"%WINDOWS%\\fonts", FALSE, "%WINDOWS%\\fonts"},   // case as written
        {"plain\\path", FALSE, "plain\\path"},
    };
    for (const Case& c : cases) {
        char text[MAX_PATH];
        strcpy(text, c.text.c_str());
        EXPECT_EQ(ExpandPathMacros(text, sizeof(text)), c.ok) << c.text;
        EXPECT_EQ(std::string(text), c.expanded) << c.text;
    }
    // An expansion that does not fit leaves the text as it was.
    char small[12] = "%Windows%\\f";   // "C:\\windows\\f" needs 13 bytes
    EXPECT_FALSE(ExpandPathMacros(small, sizeof(small)));
    EXPECT_STREQ(small, "%Windows%\\f");
}

// ---- Code pages ----------------------------------------------------------------------------------

TEST(CodePages, ConverterStandInAndItsAbsence)
{
    CCodePageConverter missing;
    EXPECT_FALSE(missing.Load("NoSuchConverter.dll"));
    char out[8];
    EXPECT_FALSE(missing.ConvertText(out, "Ren\xE9", sizeof(out), 1252, 936));
    EXPECT_STREQ(out, "Ren\xE9");   // copied unchanged

    CCodePageConverter converter;
    ASSERT_TRUE(converter.Load("Varcode.dll"));
    char text[32];
    ASSERT_TRUE(converter.ConvertText(text, "Ren\xE9", sizeof(text), 1252, 936));
    EXPECT_STREQ(text, "Ren\xA8\xA6");
    // Cut on a character boundary of the target: "Re" + a two-byte character
    // does not fit into 4 bytes.
    ASSERT_TRUE(converter.ConvertText(text, "Re\xE9", 4, 1252, 936));
    EXPECT_STREQ(text, "Re");
    char field[8] = "caf\xE9";
    ASSERT_TRUE(converter.ConvertInPlace(field, sizeof(field), 1252, 936));
    EXPECT_STREQ(field, "caf\xA8\xA6");
    ASSERT_TRUE(converter.ConvertText(text, "\xD6\xD0\xCE\xC4", sizeof(text), 936, 65001));
    EXPECT_STREQ(text, "\xE4\xB8\xAD\xE6\x96\x87");
}

// ---- Theme ------------------------------------------------------------------------------------

TEST(Theme, PathsAndTheThemeResourceModule)
{
    ASSERT_TRUE(InitThemePaths("EnvGame", FALSE, NULL));
    EXPECT_TRUE(IsThemeInUse());
    const std::string folder = ProgramFolder();
    EXPECT_EQ(std::string(GetProgramFolder()), folder);
    EXPECT_EQ(std::string(GetGameIniPath()), folder + "\\EnvGame.ini");
    EXPECT_EQ(std::string(GetThemeFolder()), folder + "\\Theme\\");
    EXPECT_EQ(std::string(GetThemeFile()), folder + "\\EnvGame.thm");
    ASSERT_TRUE(InitThemePaths("EnvGame", FALSE, "D:\\skins"));
    EXPECT_EQ(std::string(GetThemeFolder()), "D:\\skins\\Theme\\");
    EXPECT_EQ(std::string(GetThemeFile()), "D:\\skins\\EnvGame.thm");
    // Shared, but the program is not under "Game\EnvGame": as without.
    ASSERT_TRUE(InitThemePaths("EnvGame", TRUE, NULL));
    EXPECT_EQ(std::string(GetThemeFolder()), folder + "\\Theme\\");

    const std::string ini = folder + "\\EnvGame.ini";
    struct Case {
        const char* mode;
        BOOL ok;
        bool own;
    } cases[] = {{"0", TRUE, false}, {"2", TRUE, true}, {"1", FALSE, false}};
    for (const Case& c : cases) {
        ::WritePrivateProfileStringA("Settings", "UseThemeResDll", c.mode, ini.c_str());
        EXPECT_EQ(LoadThemeResModule("EnvGame"), c.ok) << c.mode;
        EXPECT_EQ(GetThemeResModule() == AfxGetInstanceHandle(), c.own) << c.mode;
        FreeThemeResModule();
    }
    ::DeleteFileA(ini.c_str());
    SetThemeInUse(FALSE);
}

// ---- Room record -----------------------------------------------------------------------------

namespace {

struct RoomCall {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    ULONG_PTR data;
    std::vector<uint8_t> bytes;
};
std::vector<RoomCall> g_roomCalls;

LRESULT CALLBACK RoomProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COPYDATA) {
        const COPYDATASTRUCT* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        const uint8_t* p = static_cast<const uint8_t*>(copy->lpData);
        g_roomCalls.push_back({message, wParam, 0, copy->dwData, std::vector<uint8_t>(p, p + copy->cbData)});
        return TRUE;
    }
    if (message == kRoomRefreshMessage) {
        g_roomCalls.push_back({message, wParam, lParam, 0, {}});
        return 0;
    }
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

// The lobby's side: the record with the room window's handle.
class LobbyRoom
{
public:
    LobbyRoom()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = RoomProc;
        wc.hInstance = ::GetModuleHandleA(NULL);
        wc.lpszClassName = "EnvTestRoom";
        ::RegisterClassA(&wc);
        window = ::CreateWindowExA(0, "EnvTestRoom", "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, wc.hInstance, NULL);
        mapping = ::CreateFileMappingA(INVALID_HANDLE_VALUE, NULL, PAGE_READWRITE, 0, kRoomRecordSize,
                                       kRoomRecordName);
        uint8_t* view = static_cast<uint8_t*>(::MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
        const uint32_t handle = (uint32_t)(ULONG_PTR)window;
        memcpy(view + kRoomWindowOffset, &handle, 4);
        ::UnmapViewOfFile(view);
        g_roomCalls.clear();
    }
    ~LobbyRoom()
    {
        CloseRoomRec();
        ::CloseHandle(mapping);
        ::DestroyWindow(window);
    }
    HWND window;
    HANDLE mapping;
};

}  // namespace

TEST(RoomRecord, NoticeCarriesThirtyOneCharactersValueAndZero)
{
    EXPECT_FALSE(RoomRecSetString("no lobby", 1, 0));
    LobbyRoom room;
    const std::string text40 = "0123456789012345678901234567890123456789";
    ASSERT_TRUE(RoomRecSetString(text40.c_str(), 0x12345678, 3));
    ASSERT_EQ(g_roomCalls.size(), 1u);
    const RoomCall& call = g_roomCalls[0];
    EXPECT_EQ(call.wParam, 3u);
    EXPECT_EQ(call.data, (ULONG_PTR)0xFFF03001);
    ASSERT_EQ(call.bytes.size(), 40u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(call.bytes.data())), text40.substr(0, 31));
    uint32_t value, zero;
    memcpy(&value, call.bytes.data() + 32, 4);
    memcpy(&zero, call.bytes.data() + 36, 4);
    EXPECT_EQ(value, 0x12345678u);
    EXPECT_EQ(zero, 0u);
    // The record was opened for the call only.
    EXPECT_EQ(GetRoomWindow(), nullptr);
}

TEST(RoomRecord, RefreshPostsToTheRoomWindowWhileOpen)
{
    RefreshRoom();   // not open: nothing
    LobbyRoom room;
    ASSERT_TRUE(OpenRoomRec());
    EXPECT_EQ(GetRoomWindow(), room.window);
    RefreshRoom();
    MSG msg;
    while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
        ::DispatchMessageA(&msg);
    ASSERT_EQ(g_roomCalls.size(), 1u);
    EXPECT_EQ(g_roomCalls[0].message, kRoomRefreshMessage);
    EXPECT_EQ(g_roomCalls[0].wParam, 4u);
    EXPECT_EQ(g_roomCalls[0].lParam, 0);
    // The window gone: no notice.
    ::DestroyWindow(room.window);
    EXPECT_FALSE(RoomRecSetString("late", 1, 0));
}

// ---- Avatar icons ------------------------------------------------------------------------------

TEST(AvatarIcons, FromPeopleDllInTheSharedFolder)
{
    ScopedRegistryKey share(kShare);
    share.SetString("Path", ProgramFolder());
    HICON icon = LoadAvatarIcon(3);
    ASSERT_NE(icon, nullptr);
    ::DestroyIcon(icon);
    EXPECT_EQ(LoadAvatarIcon(-1), nullptr);
    EXPECT_EQ(LoadAvatarIcon(100), nullptr);

    HDC screen = ::GetDC(NULL);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 64, 32);
    ::ReleaseDC(NULL, screen);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    RECT all = {0, 0, 64, 32};
    ::FillRect(dc, &all, (HBRUSH)::GetStockObject(BLACK_BRUSH));
    ASSERT_TRUE(DrawAvatarIcon(dc, 0, 0, 3));
    ASSERT_TRUE(DrawAvatarIcon(dc, 32, 0, 4));
    EXPECT_FALSE(DrawAvatarIcon(dc, 0, 0, -2));
    const COLORREF first = ::GetPixel(dc, 16, 16), second = ::GetPixel(dc, 48, 16);
    EXPECT_NE(first, RGB(0, 0, 0));
    EXPECT_NE(first, second);
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);

    share.SetString("Path", ProgramFolder() + "\\nowhere");
    EXPECT_EQ(LoadAvatarIcon(3), nullptr);
}

// ---- Document type -------------------------------------------------------------------------------

namespace {
std::string ClassesDefault(const std::string& key)
{
    char value[512] = "";
    LONG size = sizeof(value);
    if (::RegQueryValueA(HKEY_CLASSES_ROOT, key.c_str(), value, &size) != ERROR_SUCCESS)
        return "<missing>";
    return value;
}
}  // namespace

TEST(DocumentType, RegisteredUnderTheClassesRoot)
{
    ScopedRegistryKey share(kShare);
    share.SetString("Path", "C:\\qv\\share");
    ScopedRegistryKey game("Software\\Quorvintel\\Game\\EnvGame");
    game.SetString("Path", "C:\\games\\env");
    ScopedRegistryKey type("Quorvintel.EnvDoc", HKEY_CLASSES_ROOT);
    ScopedRegistryKey extension(".envdoc", HKEY_CLASSES_ROOT);

    ASSERT_TRUE(RegisterDocumentType("EnvDoc", "EnvGame", "Env saved game", ".envdoc", 2, TRUE, FALSE));
    EXPECT_EQ(ClassesDefault("Quorvintel.EnvDoc"), "Env saved game");
    EXPECT_EQ(ClassesDefault("Quorvintel.EnvDoc\\DefaultIcon"), "C:\\games\\env\\EnvGame_Res.Dll,2");
    EXPECT_EQ(ClassesDefault("Quorvintel.EnvDoc\\Shell\\Open\\Command"), "C:\\qv\\share\\run.exe EnvGame \"%1\"");
    EXPECT_EQ(ClassesDefault("Quorvintel.EnvDoc\\Shell\\Print\\Command"),
              "C:\\qv\\share\\run.exe EnvGame /p \"%1\"");
    EXPECT_EQ(ClassesDefault(".envdoc"), "Quorvintel.EnvDoc");

    ASSERT_TRUE(RegisterDocumentType("EnvDoc", "EnvGame", "Env saved game", ".envdoc", 2, TRUE, TRUE, "Env.exe"));
    EXPECT_EQ(ClassesDefault("Quorvintel.EnvDoc\\Shell\\Open\\Command"), "C:\\games\\env\\Env.exe \"%1\"");
    EXPECT_EQ(ClassesDefault("Quorvintel.EnvDoc\\Shell\\Print\\Command"),
              "C:\\games\\env\\Env.exe /pt \"%1\" \"%2\" \"%3\" \"%4\"");
}

// ---- Display ------------------------------------------------------------------------------------

TEST(Display, ShortenedTextsAndScreenValues)
{
    HDC dc = ::CreateCompatibleDC(NULL);
    ::SelectObject(dc, ::GetStockObject(SYSTEM_FONT));
    SIZE size;
    ::GetTextExtentPoint32A(dc, "abcdef", 6, &size);
    EXPECT_EQ(std::string(ShortenTextToWidth(dc, "abcdef", size.cx, 0)), "abcdef");
    const std::string cut = (LPCSTR)ShortenTextToWidth(dc, "abcdefghijklmnop", size.cx, 0);
    ASSERT_GE(cut.size(), 3u);
    EXPECT_EQ(cut.substr(cut.size() - 3), "...");
    EXPECT_LT(cut.size(), 16u);
    // Double-byte characters are removed whole.
    const std::string chinese = "\xD6\xD0\xCE\xC4\xD6\xD0\xCE\xC4\xD6\xD0\xCE\xC4";
    const std::string shortened = (LPCSTR)ShortenTextToWidth(dc, chinese.c_str(), size.cx, 0);
    EXPECT_EQ((shortened.size() - 3) % 2, 0u) << shortened;
    EXPECT_EQ(shortened.compare(0, shortened.size() - 3, chinese, 0, shortened.size() - 3), 0);
    ::DeleteDC(dc);

    EXPECT_GT(GetFullScreenWidth(), 0);
    EXPECT_GT(GetFullScreenHeight(), 0);
    EXPECT_FALSE(HasFewColours());
    EXPECT_FALSE(IsMainWindowMinimised());
}
