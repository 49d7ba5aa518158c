// The library core: start from loose files and from a pack, each failure
// with its message box and result, the class loaders' order, reload on the
// theme message (and a failed reload), the accessors on the generated
// default theme, skin-image descriptions, the broadcast callbacks, the theme
// window, DDX and hostile theme input.
#include "ODTestSupport.h"

#include <stdio.h>
#include <string.h>

#include "ODLibrary.h"
#include "ODProgressBlock.h"
#include "ODSkinImage.h"
#include "ODThemeManager.h"
#include "ODThemeWnd.h"
#include "ODTxtMov.h"
#include "store/QVPackFile.h"

namespace {

using namespace odtest;

// Boxes land here instead of on the screen.
class CLibraryTestApp : public CWinApp
{
public:
    CLibraryTestApp() : CWinApp("ODLibraryTest") {}
    std::vector<std::string> boxes;
    std::vector<UINT> boxTypes;
    int DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT) override
    {
        boxes.push_back(lpszPrompt);
        boxTypes.push_back(nType);
        return IDOK;
    }
};
CLibraryTestApp theApp;

std::vector<int> g_loaderCalls;
template <int N>
void FakeLoader()
{
    g_loaderCalls.push_back(N);
}
const ODThemeLoader kFakes[OD_LOADER_COUNT] = {
    FakeLoader<0>,  FakeLoader<1>,  FakeLoader<2>,  FakeLoader<3>,  FakeLoader<4>,  FakeLoader<5>,
    FakeLoader<6>,  FakeLoader<7>,  FakeLoader<8>,  FakeLoader<9>,  FakeLoader<10>, FakeLoader<11>,
    FakeLoader<12>, FakeLoader<13>, FakeLoader<14>, FakeLoader<15>, FakeLoader<16>, FakeLoader<17>,
};

std::string ReadText(const std::string& path)
{
    const std::vector<unsigned char> b = ReadFileBytes(path);
    return std::string(b.begin(), b.end());
}

// Each test starts from a stopped library with its own copy of the
// generated theme, and leaves the loader table and the drawing parts'
// class defaults as it found them.
class LibraryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(ODIsLibraryInitialized());
        for (int i = 0; i < OD_LOADER_COUNT; ++i)
            m_saved[i] = ODGetThemeLoader(static_cast<ODThemeLoaderSlot>(i));
        for (int i = 0; i < CODTxtMov::ColorCount; ++i)
            m_txtColours[i] = CODTxtMov::GetDefaultColor(i);
        m_block = CODProgressBlock::ClassDefaults();
        theApp.boxes.clear();
        theApp.boxTypes.clear();
        g_loaderCalls.clear();
        m_ini = m_dir.File("Mardavel_skn.ini");
        m_theme = ReadText(ThemeFolder() + "Mardavel_skn.ini");
        ASSERT_FALSE(m_theme.empty()) << "the build generates " << ThemeFolder() << "Mardavel_skn.ini";
        ASSERT_TRUE(CopyFileA((ThemeFolder() + "Kelvarin.dll").c_str(), m_dir.File("Kelvarin.dll").c_str(), FALSE));
    }
    void TearDown() override
    {
        ODExitLibrary();
        for (int i = 0; i < OD_LOADER_COUNT; ++i)
            ODSetThemeLoader(static_cast<ODThemeLoaderSlot>(i), m_saved[i]);
        for (int i = 0; i < CODTxtMov::ColorCount; ++i)
            CODTxtMov::SetDefaultColor(i, m_txtColours[i]);
        CODProgressBlock::ClassDefaults() = m_block;
    }
    void UseFakeLoaders()
    {
        for (int i = 0; i < OD_LOADER_COUNT; ++i)
            ODSetThemeLoader(static_cast<ODThemeLoaderSlot>(i), kFakes[i]);
    }
    // The generated theme with extra lines (a section of the tests).
    void WriteTheme(const std::string& extra = "") { ASSERT_TRUE(WriteText(m_ini, m_theme + extra)); }

    TempDir m_dir;
    std::string m_ini;
    std::string m_theme;
    ODThemeLoader m_saved[OD_LOADER_COUNT] = {};
    COLORREF m_txtColours[CODTxtMov::ColorCount] = {};
    CODProgressBlock::Defaults m_block = {};
};

std::vector<int> AllSlots()
{
    std::vector<int> v;
    for (int i = 0; i < OD_LOADER_COUNT; ++i)
        v.push_back(i);
    return v;
}

// ---- Loose files ------------------------------------------------------------------------------------

TEST_F(LibraryTest, LooseFilesStartAndRunEachLoaderOnceInOrder)
{
    WriteTheme();
    UseFakeLoaders();
    ASSERT_TRUE(ODInitLibrary(m_ini.c_str(), OD_THEME_LOOSE_FILES));
    EXPECT_TRUE(theApp.boxes.empty());
    EXPECT_TRUE(ODIsLibraryInitialized());
    EXPECT_EQ(g_loaderCalls, AllSlots());
    EXPECT_NE(ODGetResourceModule(), nullptr);
    char module[MAX_PATH];
    GetModuleFileNameA(ODGetResourceModule(), module, MAX_PATH);
    EXPECT_EQ(CString(module).CompareNoCase(m_dir.File("Kelvarin.dll").c_str()), 0) << "ResFile from the ini's folder";

    // A second start changes nothing.
    EXPECT_TRUE(ODInitLibrary("C:\\other.pak", OD_THEME_PACK));
    EXPECT_STREQ(ODGetThemePath(), m_ini.c_str());
    EXPECT_EQ(ODGetThemeMode(), OD_THEME_LOOSE_FILES);
    EXPECT_EQ(g_loaderCalls.size(), static_cast<size_t>(OD_LOADER_COUNT));

    // The theme window: hidden, with both properties.
    const HWND wnd = ODGetThemeWnd().m_hWnd;
    ASSERT_TRUE(IsWindow(wnd));
    EXPECT_FALSE(IsWindowVisible(wnd));
    EXPECT_EQ(reinterpret_cast<INT_PTR>(GetPropA(wnd, "ODCtrl")), 4096);
    EXPECT_EQ(reinterpret_cast<INT_PTR>(GetPropA(wnd, "ODThemeWnd")), 4096);

    EXPECT_TRUE(ODExitLibrary());
    EXPECT_FALSE(ODIsLibraryInitialized());
    EXPECT_FALSE(IsWindow(wnd));
    EXPECT_EQ(ODGetResourceModule(), nullptr);
    EXPECT_FALSE(ODExitLibrary()) << "not started";
}

TEST_F(LibraryTest, TheDefaultSlotsLoadTheDrawingParts)
{
    WriteTheme();
    ASSERT_TRUE(ODInitLibrary(m_ini.c_str(), OD_THEME_LOOSE_FILES));
    // make_default_theme.py: TxtMovNormalColor #20#30#60, ODProgress BlockSpace 2, BlockMode 1.
    EXPECT_EQ(CODTxtMov::GetDefaultColor(CODTxtMov::ColorNormal), RGB(20, 30, 60));
    EXPECT_EQ(CODTxtMov::GetDefaultColor(CODTxtMov::ColorVisited), RGB(120, 40, 140));
    EXPECT_EQ(CODProgressBlock::ClassDefaults().space, 2);
    EXPECT_EQ(CODProgressBlock::ClassDefaults().mode, 1);
    EXPECT_STREQ(CODProgressBlock::ClassDefaults().verticalImage, "0,115,-1,2,2,1,0");
    CODProgressBlock block;
    block.ApplyDefaults(NULL, FALSE);
    EXPECT_EQ(block.GetImage().GetCellSize(), CSize(8, 12)) << "the horizontal bar's block cells";
}

TEST_F(LibraryTest, LooseFailuresTable)
{
    struct Case {
        const char* what;
        const char* ini;       // text of the ini ("-": no file)
        bool dll;              // Kelvarin.dll beside it
        BOOL result;
        std::vector<std::string> boxes;
    };
    const Case cases[] = {
        {"no ini, no library: both messages", "-", false, FALSE,
         {CODThemeManager::kMsgNoIni, CODThemeManager::kMsgNoResFile}},
        {"no ini: its message, then the default library", "-", true, TRUE, {CODThemeManager::kMsgNoIni}},
        {"an ini of binary junk reads as missing", "\x01\x02\0\x03", true, TRUE, {CODThemeManager::kMsgNoIni}},
        {"ResFile names a missing library", "[Resource]\r\nResFile=Missing.dll\r\n", true, FALSE,
         {CODThemeManager::kMsgNoResFile}},
        {"an absurdly long ResFile", nullptr, true, FALSE, {CODThemeManager::kMsgNoResFile}},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const std::string ini = dir.File("t_skn.ini");
        if (!c.ini) {
            ASSERT_TRUE(WriteText(ini, "[Resource]\r\nResFile=" + std::string(250, 'x') + ".dll\r\n"));
        } else if (strcmp(c.ini, "-") != 0) {
            ASSERT_TRUE(WriteText(ini, std::string(c.ini, c.ini[0] == '\x01' ? 4 : strlen(c.ini))));
        }
        if (c.dll) {
            ASSERT_TRUE(CopyFileA((ThemeFolder() + "Kelvarin.dll").c_str(), dir.File("Kelvarin.dll").c_str(), FALSE));
        }
        theApp.boxes.clear();
        theApp.boxTypes.clear();
        EXPECT_EQ(ODInitLibrary(ini.c_str(), OD_THEME_LOOSE_FILES), c.result) << c.what;
        EXPECT_EQ(ODIsLibraryInitialized(), c.result) << c.what;
        EXPECT_EQ(theApp.boxes, c.boxes) << c.what;
        for (UINT type : theApp.boxTypes)
            EXPECT_EQ(type & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP)) << c.what;
        ODExitLibrary();
    }
    theApp.boxes.clear();
    EXPECT_FALSE(ODInitLibrary(NULL, OD_THEME_LOOSE_FILES)) << "no path";
    EXPECT_TRUE(theApp.boxes.empty());
}

TEST_F(LibraryTest, ResFileWithABackslashIsUsedUnchanged)
{
    TempDir other;
    const std::string library = other.File("Themes.dll");
    ASSERT_TRUE(CopyFileA((ThemeFolder() + "Kelvarin.dll").c_str(), library.c_str(), FALSE));
    std::string theme = m_theme;
    const size_t at = theme.find("ResFile=Kelvarin.dll");
    ASSERT_NE(at, std::string::npos);
    theme.replace(at, strlen("ResFile=Kelvarin.dll"), "ResFile=" + library);
    ASSERT_TRUE(WriteText(m_ini, theme));
    ASSERT_TRUE(ODInitLibrary(m_ini.c_str(), OD_THEME_LOOSE_FILES));
    char module[MAX_PATH];
    GetModuleFileNameA(ODGetResourceModule(), module, MAX_PATH);
    EXPECT_EQ(CString(module).CompareNoCase(library.c_str()), 0);
    ODExitLibrary();
}

TEST_F(LibraryTest, AccessorsOnTheDefaultTheme)
{
    WriteTheme("\r\n[Test]\r\nPoint=(5)\r\nPair=(3,-4)\r\nEmpty=\r\nHex=#10#20\r\nWord=red\r\n");
    ASSERT_TRUE(ODInitLibrary(m_ini.c_str(), OD_THEME_LOOSE_FILES));
    EXPECT_EQ(ODGetThemeColor("ODStatic", "BorderColor", 0), RGB(90, 130, 190));
    EXPECT_EQ(ODGetThemeColorEx("ODStatic", "BorderColor", 0), RGB(90, 130, 190));
    EXPECT_EQ(ODGetThemeColor("ODStatic", "BorderWidth", 0), 4u) << "numbers through the colour accessor";
    EXPECT_EQ(ODGetThemeColor("Test", "Hex", 7), RGB(10, 20, 0));
    EXPECT_EQ(ODGetThemeColor("Test", "Word", 7), 0u);
    EXPECT_EQ(ODGetThemeColor("Test", "Empty", 7), 7u);
    EXPECT_EQ(ODGetThemeColor("Test", "Missing", 7), 7u);
    EXPECT_EQ(ODGetThemeColor("NoSection", "Hex", 9), 9u);
    POINT p = {77, 88};
    EXPECT_EQ(ODGetThemePoint("Test", "Point", &p), 1);
    EXPECT_EQ(p.x, 5);
    EXPECT_EQ(p.y, 0);
    EXPECT_EQ(ODGetThemePoint("Test", "Pair", &p), 2);
    EXPECT_EQ(p.y, -4);
    p = {77, 88};
    EXPECT_EQ(ODGetThemePoint("Test", "Empty", &p), 0);
    EXPECT_EQ(p.x, 77) << "left unchanged";
    char buffer[8];
    EXPECT_EQ(ODGetThemeString("Resource", "ResFile", "d", buffer, sizeof buffer), 7);
    EXPECT_STREQ(buffer, "Kelvari") << "cut to the buffer";
    ODGetThemeString("Resource", "None", "dflt", buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "dflt");

    // Images: frame_left (id 100) is 4 x 8, its outer column frame_dark.
    HBITMAP edge = ODGetThemeImage(100, "QVImage");
    ASSERT_NE(edge, nullptr);
    BITMAP bm;
    GetObject(edge, sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, 4);
    EXPECT_EQ(bm.bmHeight, 8);
    Canvas canvas(4, 8, kBlack);
    HDC memory = CreateCompatibleDC(canvas.dc());
    HGDIOBJ old = SelectObject(memory, edge);
    BitBlt(canvas.dc(), 0, 0, 4, 8, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(edge);
    EXPECT_EQ(canvas.At(0, 3), RGB(40, 70, 120));
    EXPECT_EQ(canvas.At(2, 3), RGB(200, 220, 245));
    EXPECT_EQ(ODGetThemeImage(0, "QVImage"), nullptr) << "id 0";
    EXPECT_EQ(ODGetThemeImage(999, "QVImage"), nullptr) << "missing";
    EXPECT_EQ(ODGetThemeImage(100, NULL), nullptr) << "no type";
    HBITMAP drop = ODGetThemeImage(130, "GIF");
    ASSERT_NE(drop, nullptr) << "the combo's drop button, a GIF resource";
    DeleteObject(drop);
    EXPECT_EQ(ODGetThemeEntry("frame_left.bmp"), nullptr) << "no pack entries in loose mode";
    HBITMAP named = ODGetThemeManager().GetImage("ODButton", "ImageBtnOut", "QVImage");
    EXPECT_NE(named, nullptr) << "an image named by a key's id";
    DeleteObject(named);
    EXPECT_EQ(ODGetThemeManager().GetImage("ODButton", "NoSuchKey", "QVImage"), nullptr);
    HCURSOR hand = ODGetThemeCursor(200);
    EXPECT_NE(hand, nullptr);
    EXPECT_EQ(ODGetThemeCursor(999), nullptr);
    void* dialog = ODGetThemeDialog(2001);
    ASSERT_NE(dialog, nullptr);
    const WORD* head = static_cast<const WORD*>(dialog);
    EXPECT_EQ(head[0], 1) << "a DIALOGEX template begins with 1, 0xFFFF";
    EXPECT_EQ(head[1], 0xFFFF);
    free(dialog);
    EXPECT_EQ(ODGetThemeDialog(1), nullptr);
}

TEST_F(LibraryTest, SkinImageDescriptionsTable)
{
    WriteTheme();
    ASSERT_TRUE(ODInitLibrary(m_ini.c_str(), OD_THEME_LOOSE_FILES));
    struct Case {
        const char* what;
        const char* description;
        bool loaded;
        CSize cell;
        bool transparent;
    };
    const Case cases[] = {
        {"0,100: image 100 as one cell, opaque", "0,100", true, CSize(4, 8), false},
        {"a corner with its transparent pixel", "0,104,0,1,1,1,0", true, CSize(8, 8), true},
        {"two cells of two states", "0,115,-1,2,2,1,0", true, CSize(8, 12), false},
        {"kind 2 does nothing", "2,100", false, CSize(0, 0), false},
        {"one field does nothing", "0", false, CSize(0, 0), false},
        {"empty does nothing", "", false, CSize(0, 0), false},
        {"cells 0 load nothing", "0,100,-1,0", false, CSize(0, 0), false},
        {"a missing image", "0,999", false, CSize(0, 0), false},
        {"a negative interval is refused", "0,100,-1,1,1,1,-5", false, CSize(0, 0), false},
        {"absurd counts load cells of no width", "0,100,-1,99999999,99999999,99999999,0", true, CSize(0, 8), false},
        {"a GIF file that is not there", "1,C:\\nowhere\\busy.gif", false, CSize(0, 0), false},
    };
    for (const Case& c : cases) {
        CODSkinImage image;
        ODLoadSkinImage(c.description, &image);
        EXPECT_EQ(!image.IsEmpty(), c.loaded) << c.what;
        EXPECT_EQ(image.GetCellSize(), c.cell) << c.what;
        EXPECT_EQ(image.IsTransparent() != FALSE, c.transparent) << c.what;
        Canvas canvas(16, 16, kBlack);
        image.Draw(CDC::FromHandle(canvas.dc()), CRect(0, 0, 16, 16), 99999);  // never crashes
    }
    ODLoadSkinImage("0,100", NULL);  // no image object: nothing
}

// ---- Reload -----------------------------------------------------------------------------------------------

TEST_F(LibraryTest, ThemeMessageReloadsAChangedValue)
{
    WriteTheme("\r\n[Test]\r\nValue=#1#2#3\r\n");
    UseFakeLoaders();
    ASSERT_TRUE(ODInitLibrary(m_ini.c_str(), OD_THEME_LOOSE_FILES));
    EXPECT_EQ(ODGetThemeColor("Test", "Value", 0), RGB(1, 2, 3));
    WriteTheme("\r\n[Test]\r\nValue=#4#5#6\r\n");
    g_loaderCalls.clear();
    EXPECT_EQ(::SendMessageA(ODGetThemeWnd().m_hWnd, ChangeThemeMsg, 0, 0), 0);
    EXPECT_EQ(ODGetThemeColor("Test", "Value", 0), RGB(4, 5, 6));
    EXPECT_EQ(g_loaderCalls, AllSlots());
    EXPECT_TRUE(ODIsLibraryInitialized());

    // Through the broadcast record a host would use.
    WriteTheme("\r\n[Test]\r\nValue=#7#8#9\r\n");
    ODBroadcastRecord record = g_ODBroadcastRecord;
    EXPECT_EQ(record.message, ChangeThemeMsg);
    EXPECT_EQ(record.message, ::RegisterWindowMessageA("ChangeThemeMsg"));
    record.send = TRUE;
    EXPECT_TRUE(ODBroadcastToThemeWnds(ODGetThemeWnd().m_hWnd, reinterpret_cast<LPARAM>(&record)));
    EXPECT_EQ(ODGetThemeColor("Test", "Value", 0), RGB(7, 8, 9));
}

TEST_F(LibraryTest, FailedReloadKeepsTheFlagAndRunsNoLoader)
{
    WriteTheme("\r\n[Test]\r\nValue=#1#2#3\r\n");
    UseFakeLoaders();
    ASSERT_TRUE(ODInitLibrary(m_ini.c_str(), OD_THEME_LOOSE_FILES));
    ASSERT_TRUE(WriteText(m_ini, "[Resource]\r\nResFile=Gone.dll\r\n[Test]\r\nValue=#4#5#6\r\n"));
    g_loaderCalls.clear();
    theApp.boxes.clear();
    ::SendMessageA(ODGetThemeWnd().m_hWnd, ChangeThemeMsg, 0, 0);
    EXPECT_EQ(theApp.boxes, std::vector<std::string>{CODThemeManager::kMsgNoResFile});
    EXPECT_TRUE(g_loaderCalls.empty());
    EXPECT_TRUE(ODIsLibraryInitialized()) << "the flag stays";
    // The old theme is gone: the store holds what was read of the new ini
    // before its library failed.
    EXPECT_EQ(ODGetThemeColor("Test", "Value", 0), RGB(4, 5, 6));
    EXPECT_EQ(ODGetResourceModule(), nullptr);
}

// ---- Pack mode ------------------------------------------------------------------------------------

// A 24-bit .bmp of w x h in one colour.
std::vector<unsigned char> SolidBmp(int w, int h, COLORREF c)
{
    const int stride = (w * 3 + 3) & ~3;
    std::vector<unsigned char> f(54 + static_cast<size_t>(stride) * h, 0);
    auto put32 = [&](size_t at, uint32_t v) { memcpy(&f[at], &v, 4); };
    f[0] = 'B';
    f[1] = 'M';
    put32(2, static_cast<uint32_t>(f.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(w));
    put32(22, static_cast<uint32_t>(h));
    f[26] = 1;
    f[28] = 24;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            unsigned char* p = &f[54 + static_cast<size_t>(y) * stride + x * 3];
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
        }
    return f;
}

// A 16 x 16 monochrome .cur with its hot spot at (3, 5).
std::vector<unsigned char> SmallCursor()
{
    std::vector<unsigned char> f;
    auto put = [&](const void* p, size_t n) {
        const unsigned char* b = static_cast<const unsigned char*>(p);
        f.insert(f.end(), b, b + n);
    };
    const uint16_t dir[3] = {0, 2, 1};
    put(dir, sizeof dir);
    const uint32_t imageSize = 40 + 8 + 16 * 4 * 2;
    const unsigned char entry[16] = {16, 16, 0, 0, 3, 0, 5, 0,
                                     static_cast<unsigned char>(imageSize), 0, 0, 0, 22, 0, 0, 0};
    put(entry, sizeof entry);
    BITMAPINFOHEADER h = {};
    h.biSize = 40;
    h.biWidth = 16;
    h.biHeight = 32;
    h.biPlanes = 1;
    h.biBitCount = 1;
    put(&h, sizeof h);
    const unsigned char palette[8] = {0, 0, 0, 0, 255, 255, 255, 0};
    put(palette, sizeof palette);
    std::vector<unsigned char> xorMask(64, 0x00), andMask(64, 0x0F);
    put(xorMask.data(), xorMask.size());
    put(andMask.data(), andMask.size());
    return f;
}

TEST_F(LibraryTest, PackModeStartsAndReadsItsEntries)
{
    const std::string pack = m_dir.File("theme.pak");
    {
        CQVPackFile p;
        ASSERT_TRUE(p.Open(pack.c_str(), TRUE));
        const std::string ini =
            "[Resource]\r\nQVImage100=edge.bmp\r\nCursor200=hand.cur\r\nDialog2001=wait.dlg\r\n"
            "[ODStatic]\r\nBorderColor=#1#2#3\r\n[ODTxtMov]\r\nTxtMovLinkerColor=#9#8#7\r\n";
        ASSERT_TRUE(p.AddEntry("QVTheme.ini", ini.data(), static_cast<uint32_t>(ini.size()), 0));
        const std::vector<unsigned char> bmp = SolidBmp(6, 4, RGB(10, 200, 30));
        ASSERT_TRUE(p.AddEntry("edge.bmp", bmp.data(), static_cast<uint32_t>(bmp.size()), 0, NULL, 0, TRUE));
        const std::vector<unsigned char> cur = SmallCursor();
        ASSERT_TRUE(p.AddEntry("hand.cur", cur.data(), static_cast<uint32_t>(cur.size()), 0));
        ASSERT_TRUE(p.AddEntry("wait.dlg", "template", 8, 0));
    }
    const bool tempCurBefore = GetFileAttributesA("temp.cur") != INVALID_FILE_ATTRIBUTES;
    ASSERT_TRUE(ODInitLibrary(pack.c_str(), OD_THEME_PACK));
    EXPECT_TRUE(theApp.boxes.empty());
    EXPECT_EQ(ODGetResourceModule(), nullptr) << "no resource library in pack mode";
    EXPECT_EQ(ODGetThemeColor("ODStatic", "BorderColor", 0), RGB(1, 2, 3));
    EXPECT_EQ(CODTxtMov::GetDefaultColor(CODTxtMov::ColorLink), RGB(9, 8, 7)) << "loaders ran";

    HBITMAP image = ODGetThemeImage(100, "QVImage");
    ASSERT_NE(image, nullptr);
    BITMAP bm;
    GetObject(image, sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, 6);
    DeleteObject(image);
    HBITMAP entry = ODGetThemeEntry("EDGE.BMP");
    EXPECT_NE(entry, nullptr) << "entry names compare without case";
    DeleteObject(entry);
    EXPECT_EQ(ODGetThemeImage(101, "QVImage"), nullptr);

    HCURSOR cursor = ODGetThemeCursor(200);
    ASSERT_NE(cursor, nullptr);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 3u);
    EXPECT_EQ(info.yHotspot, 5u);
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    DestroyCursor(cursor);
    EXPECT_EQ(GetFileAttributesA("temp.cur") != INVALID_FILE_ATTRIBUTES, tempCurBefore)
        << "no fixed temporary file in the current folder";
    EXPECT_EQ(ODGetThemeCursor(201), nullptr);

    void* dialog = ODGetThemeDialog(2001);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(memcmp(dialog, "template", 8), 0);
    free(dialog);
    EXPECT_EQ(ODGetThemeDialog(2002), nullptr);
}

TEST_F(LibraryTest, PackFailuresTable)
{
    const std::string pack = m_dir.File("bad.pak");
    struct Case {
        const char* what;
        std::function<void()> make;
        std::string box;
    };
    CString missingText;
    missingText.Format(CODThemeManager::kMsgNoPackFormat, pack.c_str());
    const Case cases[] = {
        {"no pack", [&] { DeleteFileA(pack.c_str()); }, std::string(missingText)},
        {"a pack without QVTheme.ini",
         [&] {
             DeleteFileA(pack.c_str());
             CQVPackFile p;
             p.Open(pack.c_str(), TRUE);
             p.AddEntry("other.ini", "[a]\r\n", 5, 0);
         },
         CODThemeManager::kMsgNoPackIni},
        {"a file that is no pack", [&] { ASSERT_TRUE(WriteText(pack, std::string(300, 'x'))); }, std::string(missingText)},
        {"a pack whose entry runs past the file's end",
         [&] {
             DeleteFileA(pack.c_str());
             {
                 CQVPackFile p;
                 p.Open(pack.c_str(), TRUE);
                 p.AddEntry("QVTheme.ini", "[Resource]\r\n", 12, 0);
             }
             std::vector<unsigned char> b = ReadFileBytes(pack);
             ASSERT_GT(b.size(), 145u + 276);
             const int32_t huge = 0x7FFFFF00;
             memcpy(&b[145 + 264], &huge, 4);  // the entry's stored length
             ASSERT_TRUE(WriteFileBytes(pack, b));
         },
         CODThemeManager::kMsgNoPackIni},
    };
    for (const Case& c : cases) {
        c.make();
        theApp.boxes.clear();
        EXPECT_FALSE(ODInitLibrary(pack.c_str(), OD_THEME_PACK)) << c.what;
        EXPECT_FALSE(ODIsLibraryInitialized()) << c.what;
        ASSERT_EQ(theApp.boxes.size(), 1u) << c.what;
        if (!c.box.empty()) {
            EXPECT_EQ(theApp.boxes[0], c.box) << c.what;
        }
    }
}

// ---- Broadcast, DDX, tables --------------------------------------------------------------------

TEST_F(LibraryTest, BroadcastReachesMarkedDescendantsOnly)
{
    const UINT message = ::RegisterWindowMessageA("ODLibraryTestBroadcast");
    CLogWnd parent, a, b, c, d;
    ASSERT_TRUE(parent.CreateHidden());
    ASSERT_TRUE(a.CreateChild(&parent, 1));
    ASSERT_TRUE(b.CreateChild(&parent, 2));
    ASSERT_TRUE(c.CreateChild(&b, 3));
    ASSERT_TRUE(d.CreateChild(&a, 4));
    for (CLogWnd* w : {&parent, &a, &b, &c, &d})
        w->noteMessage = message;
    ASSERT_TRUE(ODSetCtrlProps(a.m_hWnd, OD_BUTTON_ID));
    ASSERT_TRUE(ODSetCtrlProps(c.m_hWnd, OD_STATIC_ID));
    ::SetPropA(d.m_hWnd, "ODCtrl", reinterpret_cast<HANDLE>(4097));  // not 4096
    ::SetPropA(c.m_hWnd, "ODThemeWnd", reinterpret_cast<HANDLE>(4096));

    ODBroadcastRecord record = {message, 1, 2, TRUE};
    EXPECT_TRUE(ODBroadcastToControls(parent.m_hWnd, reinterpret_cast<LPARAM>(&record)));
    EXPECT_EQ(parent.noted.size(), 0u);
    EXPECT_EQ(a.noted.size(), 1u);
    EXPECT_EQ(b.noted.size(), 0u) << "no property";
    EXPECT_EQ(c.noted.size(), 1u) << "a grandchild";
    EXPECT_EQ(d.noted.size(), 0u) << "the wrong value";

    record.send = FALSE;  // posted
    EXPECT_TRUE(ODBroadcastToControls(parent.m_hWnd, reinterpret_cast<LPARAM>(&record)));
    EXPECT_EQ(a.noted.size(), 1u) << "not yet";
    PumpPendingMessages();
    EXPECT_EQ(a.noted.size(), 2u);
    EXPECT_EQ(c.noted.size(), 2u);

    record.send = TRUE;
    EXPECT_TRUE(ODBroadcastToThemeWnds(parent.m_hWnd, reinterpret_cast<LPARAM>(&record)));
    EXPECT_EQ(c.noted.size(), 3u);
    EXPECT_EQ(a.noted.size(), 2u);
    EXPECT_TRUE(ODBroadcastToControls(parent.m_hWnd, 0)) << "no record: goes on";

    ODRemoveCtrlProps(a.m_hWnd, OD_BUTTON_ID);
    EXPECT_EQ(GetPropA(a.m_hWnd, "ODCtrl"), nullptr);
    EXPECT_EQ(GetPropA(a.m_hWnd, "ODButton"), nullptr);
    ::RemovePropA(d.m_hWnd, "ODCtrl");
    ODRemoveCtrlProps(c.m_hWnd, OD_STATIC_ID);
    ::RemovePropA(c.m_hWnd, "ODThemeWnd");
    parent.DestroyWindow();
}

class CODEdit : public CWnd
{
    DECLARE_DYNAMIC(CODEdit)
};
IMPLEMENT_DYNAMIC(CODEdit, CWnd)

struct ReplaceLog
{
    CWnd* control = nullptr;
    HWND item = NULL;
    BOOL answer = TRUE;
} g_replace;

BOOL RecordReplace(CWnd* control, HWND item)
{
    g_replace.control = control;
    g_replace.item = item;
    return g_replace.answer;
}

TEST_F(LibraryTest, DdxHandsTheItemToTheClassTakeOver)
{
    CLogWnd dialog;
    ASSERT_TRUE(dialog.CreateHidden());
    const HWND item = CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 0, 50, 20, dialog.m_hWnd,
                                      reinterpret_cast<HMENU>(100), NULL, NULL);
    ASSERT_NE(item, nullptr);
    const ODReplaceControlProc saved = ODSetReplaceControl(OD_REPLACE_EDIT, RecordReplace);
    CDataExchange dx(&dialog, FALSE);

    CODEdit edit;
    g_replace = ReplaceLog();
    ODDDXPrepareCtrl(&dx, 100, &edit);
    EXPECT_EQ(g_replace.control, &edit);
    EXPECT_EQ(g_replace.item, item);

    g_replace = ReplaceLog();
    g_replace.answer = FALSE;
    bool thrown = false;
    try {
        ODDDXPrepareCtrl(&dx, 100, &edit);
    } catch (CNotSupportedException* e) {
        thrown = true;
        e->Delete();
    }
    EXPECT_TRUE(thrown) << "a refused take-over";

    CWnd other;
    g_replace = ReplaceLog();
    ODDDXPrepareCtrl(&dx, 100, &other);
    EXPECT_EQ(g_replace.control, nullptr) << "another class is left alone";
    ODDDXPrepareCtrl(&dx, 100, NULL);
    CODEdit existing;
    existing.m_hWnd = item;  // a control that has its window
    ODDDXPrepareCtrl(&dx, 100, &existing);
    existing.m_hWnd = NULL;
    EXPECT_EQ(g_replace.control, nullptr);

    ODSetReplaceControl(OD_REPLACE_EDIT, saved);
    dialog.DestroyWindow();
}

TEST(LibraryTables, PropertiesLoadersAndListColours)
{
    const char* const names[] = {"ODEdit",     "ODProgressCtrl", "ODStatic",   "ODDialog",   "ODButton",
                                 "ODListBox",  "ODNcMgrWnd",     "ODToolTip",  "ODListCtrl", "ODComboBox",
                                 "ODTabCtrl",  "ODHeaderCtrl",   "SBContainer", "ScrollBarEx"};
    for (int id = 4097; id <= 4110; ++id)
        EXPECT_STREQ(ODGetCtrlTypeName(id), names[id - 4097]);
    EXPECT_EQ(ODGetCtrlTypeName(4096), nullptr);
    EXPECT_EQ(ODGetCtrlTypeName(4111), nullptr);

    struct Slot {
        ODThemeLoaderSlot slot;
        const char* className;
        const char* section;
    };
    const Slot slots[] = {
        {OD_LOADER_EDIT, "CODEdit", "ODEdit"},           {OD_LOADER_NCMGRWND, "CODNcMgrWnd", "ODNcMgrWnd"},
        {OD_LOADER_SBCONTAINER, "CSBContainerWnd", "SBContainer"},
        {OD_LOADER_SCROLLBAR, "CODScrollBarCtrl", "ScrollBarEx"},
        {OD_LOADER_COMBOLIST, "CODComboList", "ODComboBox"},
    };
    for (const Slot& s : slots) {
        EXPECT_STREQ(ODGetThemeLoaderClass(s.slot), s.className);
        EXPECT_STREQ(ODGetThemeLoaderSection(s.slot), s.section);
    }
    EXPECT_EQ(ODSetThemeLoader(OD_LOADER_COUNT, FakeLoader<0>), nullptr) << "no such slot";

    const int indexes[OD_LC_COUNT] = {COLOR_WINDOW,     COLOR_HIGHLIGHT,     COLOR_BTNFACE,     COLOR_WINDOWTEXT,
                                      COLOR_HIGHLIGHTTEXT, COLOR_WINDOWTEXT, COLOR_BTNFACE,     COLOR_BTNFACE,
                                      COLOR_3DLIGHT,    COLOR_BTNSHADOW,     COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW};
    for (int i = 0; i < OD_LC_COUNT; ++i)
        EXPECT_EQ(g_ODListCtrlColors[i], GetSysColor(indexes[i])) << g_ODListCtrlColorKeys[i];
    EXPECT_STREQ(g_ODListCtrlColorKeys[OD_LC_TEXT_SELECTED_NOFOCUS], "ColorTextSelectedNoFocus");
    EXPECT_STREQ(g_szODListSpacer, "  ");
}

}  // namespace
