// The table's generated art, as the program finds it in its folder: every
// theme key the table loads names a picture that GDI+ reads, with the
// geometry the drawing relies on, and every fixed picture, card sheet and
// small file is there.
#include <gtest/gtest.h>

#include "afxwin.h"

#include <gdiplus.h>

#include <map>
#include <memory>
#include <string>

#include "ClientPaths.h"
#include "ClientText.h"
#include "TablePictures.h"
#include "TableThemeKeys.h"
#include "Bitmaps.h"
#include "QVBitmap.h"
#include "store/FilePaths.h"

namespace {

class TableThemeTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&s_token, &input, NULL);
    }
    static void TearDownTestSuite() { Gdiplus::GdiplusShutdown(s_token); }
    static ULONG_PTR s_token;
};
ULONG_PTR TableThemeTest::s_token = 0;

struct Size {
    int w = 0, h = 0;
};

Size ThemePictureSize(const char* section, const char* key)
{
    std::unique_ptr<GdiplusPicture> picture(
        LoadIniBitmapOrExit(GetThemePath(0), section, key, GetThemePath(1)));
    if (!picture)
        return Size{};
    return Size{(int)picture->width, (int)picture->height};
}

TEST_F(TableThemeTest, EveryThemeKeyLoads)
{
    ASSERT_TRUE(FileCanOpen(GetThemePath(0))) << "the theme file is generated into the program's folder";
    int count = 0;
    const ThemeKey* keys = TableThemeKeys(&count);
    ASSERT_EQ(count, 67);
    for (int i = 0; i < count; i++) {
        const Size size = ThemePictureSize(keys[i].section, keys[i].key);
        EXPECT_GT(size.w, 0) << keys[i].section << "/" << keys[i].key;
        EXPECT_GT(size.h, 0) << keys[i].section << "/" << keys[i].key;
    }
    for (const ThemeKey& k : {ThemeKey{"Background", "back1"}, ThemeKey{"MAIN", "BigAvatarBk"},
                              ThemeKey{"History", "BtnClose"}})
        EXPECT_GT(ThemePictureSize(k.section, k.key).w, 0) << k.section << "/" << k.key;
}

TEST_F(TableThemeTest, Geometry)
{
    struct Case {
        const char* what;
        const char* section;
        const char* key;
        int cells;
    };
    const Case cells[] = {
        {"4-state button", "Buttons", "Takeout", 4}, {"4-state button", "Buttons", "Start", 4},
        {"4-state tool button", "Buttons", "Setup", 4}, {"4-state button", "Buttons", "TrustPlayBtn", 4},
        {"10 digits", "Background", "TONum", 10}, {"10 digits", "Status", "TrustPlayNum", 10},
        {"10 digits", "Status", "RankNum", 10}, {"10 digits", "Others", "Timer", 10},
        {"4 suit quarters", "Others", "Color", 4}, {"4-state close button", "History", "BtnClose", 4},
    };
    for (const Case& c : cells) {
        const Size size = ThemePictureSize(c.section, c.key);
        EXPECT_EQ(size.w % c.cells, 0) << c.what << " " << c.key;
        EXPECT_GE(size.w / c.cells, 8) << c.what << " " << c.key;
    }
    EXPECT_GT(ThemePictureSize("Background", "DPlayer").h, 142) << "the trust band starts 142 pixels down";
    EXPECT_GE(ThemePictureSize("Background", "BtnBK").w, 150) << "the bar's middle strip is columns 50-149";
    const Size avatar = ThemePictureSize("MAIN", "BigAvatarBk");
    EXPECT_GE(avatar.w, 150) << "the waiting look's avatar is 150 wide";
    EXPECT_GE(avatar.h, 216) << "its name box is 198 pixels down";
}

TEST_F(TableThemeTest, CardSheetsAndFixedPictures)
{
    SetResPicFolders(NULL, NULL);
    CTableImage big, small;
    ASSERT_TRUE(big.LoadBitmapFile(GetThemePath(2) + "\\CardBig.bmp"));
    ASSERT_TRUE(small.LoadBitmapFile(GetThemePath(2) + "\\CardSmall.bmp"));
    EXPECT_EQ(big.Width() / 13, 71);
    EXPECT_EQ(big.Height() / 5, 96);
    EXPECT_EQ(small.Width() / 13, 54);
    EXPECT_EQ(small.Height() / 5, 72);
    // Row 4 holds the two jokers and the back; the rest is the magenta key.
    HDC dc = ::CreateCompatibleDC(NULL);
    HGDIOBJ old = ::SelectObject(dc, big.Handle());
    EXPECT_EQ(::GetPixel(dc, 71 * 8 + 35, 96 * 4 + 48), RGB(255, 0, 255)) << "an unused cell";
    EXPECT_EQ(::GetPixel(dc, 0, 0), RGB(255, 0, 255)) << "outside the rounded corner";
    EXPECT_NE(::GetPixel(dc, 71 * 2 + 35, 96 * 4 + 48), RGB(255, 0, 255)) << "the back";
    EXPECT_NE(::GetPixel(dc, 35, 48), RGB(255, 0, 255)) << "the first card";
    ::SelectObject(dc, old);
    ::DeleteDC(dc);

    int count = 0;
    const int* ids = TableFixedPictures(&count);
    for (int i = 0; i < count; i++) {
        CTableImage picture;
        EXPECT_TRUE(picture.LoadBitmapFile(GetThemeResPicPath(ids[i]))) << ids[i];
    }
    const int* all = ResPicIds(&count);
    for (int i = 0; i < count; i++)
        EXPECT_TRUE(FileCanOpen(GetThemeResPicPath(all[i]))) << all[i];
    for (int masked : {286, 8013, 8014, 326, 327, 328, 329, 336, 8011, 8012}) {
        CTableImage picture;
        ASSERT_TRUE(picture.LoadBitmapFile(GetThemeResPicPath(masked)));
        EXPECT_EQ(picture.Width() % 2, 0) << "picture and mask halves: " << masked;
    }
    CTableImage frames;
    ASSERT_TRUE(frames.LoadBitmapFile(GetThemeResPicPath(321)));
    EXPECT_EQ(frames.Width(), 3 * 71) << "three frames of the large card";
}

TEST_F(TableThemeTest, SmallFiles)
{
    char folder[MAX_PATH] = "";
    GetModuleFolder(folder);
    const std::string base = folder;
    for (const char* file : {"sound.ini", "Mardavel.emt", "QVChatSkin.bak", "face\\big\\0.gif", "face\\big\\29.gif",
                             "face\\small\\65.gif", "picture\\btn_video.png", "picture\\btn_stopVid.png",
                             "theme\\logo_0.bmp", "theme\\History.bmp", "theme\\rewards\\TaskIn.bmp"})
        EXPECT_TRUE(FileCanOpen((base + file).c_str())) << file;
    char list[256] = "";
    ::GetPrivateProfileStringA("-2147483643", "2", "", list, sizeof list, (base + "sound.ini").c_str());
    EXPECT_STREQ(list, "warning.wav") << "the time warning 0x80000005 by its decimal code";
    EXPECT_TRUE(FileCanOpen((base + "sound\\" + list).c_str()));
    Gdiplus::Bitmap face(L"face\\big\\7.gif");
    EXPECT_EQ(face.GetLastStatus(), Gdiplus::Ok);
    EXPECT_EQ(face.GetWidth(), 40u);
}

}  // namespace

namespace {

// The kick decision's buttons come from the skinned dialogs' ini beside the
// program: four looks and the shape cell, each 80 x 32.
TEST_F(TableThemeTest, KitStripsOfTheKickButtons)
{
    std::string folder = (LPCSTR)GetThemePath(2);
    folder = folder.substr(0, folder.size() - strlen("\\theme"));
    const std::string ini = folder + "\\Mardavel.thm";
    for (const char* key : {"IDB_BT_KICK", "IDB_BT_GIVEUP"}) {
        char name[MAX_PATH] = "";
        ::GetPrivateProfileStringA("respic", key, "", name, MAX_PATH, ini.c_str());
        ASSERT_NE(name[0], '\0') << key;
        CQVBitmap strip;
        ASSERT_TRUE(strip.LoadFromFile((folder + "\\Theme\\" + name).c_str())) << name;
        EXPECT_EQ(strip.Width(), 5 * 80) << name;
        EXPECT_EQ(strip.Height(), 32) << name;
    }
}

}  // namespace
