// The skinned dialog in resource-module mode: with "UseThemeResDll" = 1 the
// game "KitResTest" loads KitResTest_thm.dll from the program folder, and
// every image key of the skin is an "id,kind" pair read from it (kind 0 a
// bitmap, 3 a "GIF" resource). A failing background or restore picture ends
// the skin set-up early with success; a failing close button still fails.
// The module's pictures: tests/fixtures/make_theme_res.py.
#include "KitTestSupport.h"

#include "SkinDlg.h"

namespace {

using namespace kittest;

const char kGame[] = "KitResTest";

std::string ProgramFolder()
{
    char path[MAX_PATH];
    GetModuleFileNameA(NULL, path, MAX_PATH);
    std::string s = path;
    return s.substr(0, s.rfind('\\'));
}

class ThemeModuleTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        m_root = std::string(base) + "kitres_" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(m_root.c_str(), NULL);
        ASSERT_TRUE(InitThemePaths(kGame, FALSE, m_root.c_str()));
        m_gameIni = ProgramFolder() + "\\" + kGame + ".ini";
        ASSERT_EQ(std::string(GetGameIniPath()), m_gameIni);
        WritePrivateProfileStringA("Settings", "UseThemeResDll", "1", m_gameIni.c_str());
        ASSERT_TRUE(LoadThemeResModule(kGame)) << "KitResTest_thm.dll beside the test";
        ASSERT_NE(KitThemeModule(), (HINSTANCE)NULL);
        Set("QVDLG", "backgrdbmp", "601,0");
        Set("QVDLG", "backgrdbmpNA", "602,3");
        Set("QVDLG", "titleclose", "603,0");
        Set("QVDLG", "BorderWidth", "9");
    }
    void TearDown() override
    {
        FreeThemeResModule();
        DeleteFileA(m_gameIni.c_str());
        DeleteFileA(SkinIni().c_str());
        RemoveDirectoryA(m_root.c_str());
        SetThemeInUse(FALSE);
        PumpPendingMessages();
        AfxDeleteTempMaps();
    }
    std::string SkinIni() const { return m_root + "\\" + kGame + ".thm"; }
    void Set(const char* section, const char* key, const char* value)
    {
        WritePrivateProfileStringA(section, key, value, SkinIni().c_str());
    }
    BOOL Make(CSkinDlg& dlg)
    {
        dlg.SetSkinSection("Res");
        if (!dlg.CreateIndirect(m_template.Get(), NULL))
            return FALSE;
        dlg.SetWindowPos(NULL, 40, 40, 240, 160, SWP_NOZORDER | SWP_NOACTIVATE);
        PumpPendingMessages();
        return TRUE;
    }
    std::string m_root, m_gameIni;
    DialogTemplate m_template{"Resource skin", 160, 100};
};

TEST_F(ThemeModuleTest, ImagesComeFromTheModuleByIdAndKind)
{
    Set("QVDLG_Res", "usetitlemax", "1");
    Set("QVDLG_Res", "titlemax", "604,0");
    // In resource mode the value keeps its comma: it is the pair itself.
    Set("QVDLG", "titlerestore", "605,0");
    CSkinDlg dlg;
    ASSERT_TRUE(Make(dlg));
    EXPECT_EQ(dlg.GetBackground().Width(), 30);
    EXPECT_EQ(dlg.GetBackground().Height(), 30);
    ASSERT_TRUE(dlg.GetInactiveBackground().IsLoaded()) << "kind 3: the GIF resource";
    EXPECT_EQ(dlg.GetInactiveBackground().Width(), 30);
    EXPECT_EQ(dlg.GetBorderWidth(), 9) << "the keys after the images are read";
    ASSERT_EQ(dlg.GetCaptionButtons().GetCount(), 2);
    EXPECT_EQ(dlg.GetCaptionButtons().GetButtonRect(1).right - dlg.GetCaptionButtons().GetButtonRect(1).left, 12)
        << "close strip 48 wide: cells of 12";
    EXPECT_EQ(GetWindowLongPtr(dlg.GetSafeHwnd(), GWLP_USERDATA), kSkinDlgUserData);
    ASSERT_NE(dlg.GetFrameRegion(), (HRGN)NULL);
    EXPECT_EQ(KitFindCachedRegion("601,0"), dlg.GetFrameRegion()) << "cached under the key's value";

    // The GIF's pixels: cell (1, 1) of the inactive picture.
    HDC screen = GetDC(NULL);
    HDC mem = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(mem, dlg.GetInactiveBackground().GetSafeHandle());
    EXPECT_EQ(GetPixel(mem, 15, 15), RGB(200, 60, 60));
    EXPECT_EQ(GetPixel(mem, 0, 0), kMagenta);
    SelectObject(mem, old);
    DeleteDC(mem);
    ReleaseDC(NULL, screen);
    dlg.DestroyWindow();
}

TEST_F(ThemeModuleTest, AMissingPictureEndsTheSetUpEarlyWithSuccess)
{
    struct Case {
        const char* what;
        const char* key;
        const char* value;
        bool created;
        int buttons;       // caption buttons made before the set-up ended
        int border;        // 9 when the ini's value was read, else the default 4
        bool marked;       // GWL_USERDATA set (the last step)
    };
    const Case cases[] = {
        {"no such active background", "backgrdbmp", "699,0", true, 0, 4, false},
        {"active background of an unknown kind", "backgrdbmp", "601,7", true, 0, 4, false},
        {"no such inactive background", "backgrdbmpNA", "699,3", true, 0, 4, false},
        {"inactive background under the wrong kind", "backgrdbmpNA", "602,0", true, 0, 4, false},
        {"no such restore picture", "titlerestore", "699,0", true, 1, 9, false},
        {"no such close button: no dialog", "titleclose", "699,0", false, 0, 0, false},
    };
    for (const Case& c : cases) {
        Set("QVDLG_Res", "usetitlemax", "1");
        Set("QVDLG_Res", "titlemax", "604,0");
        Set("QVDLG", "titlerestore", "605,0");
        Set("QVDLG", c.key, c.value);
        CSkinDlg dlg;
        const BOOL made = Make(dlg);
        EXPECT_EQ(made != FALSE, c.created) << c.what;
        if (made) {
            EXPECT_EQ(dlg.GetCaptionButtons().GetCount(), c.buttons) << c.what;
            EXPECT_EQ(dlg.GetBorderWidth(), c.border) << c.what;
            EXPECT_EQ(GetWindowLongPtr(dlg.GetSafeHwnd(), GWLP_USERDATA) == kSkinDlgUserData, c.marked) << c.what;
            dlg.DestroyWindow();
        }
        // Back to the good values.
        Set("QVDLG", "backgrdbmp", "601,0");
        Set("QVDLG", "backgrdbmpNA", "602,3");
        Set("QVDLG", "titleclose", "603,0");
        Set("QVDLG", "titlerestore", "605,0");
    }
}

TEST_F(ThemeModuleTest, WithoutTheModuleThePairsAreFileNames)
{
    // The module is missing: the program runs in file mode, where "601,0" names
    // no file, so the dialog cannot be made.
    WritePrivateProfileStringA("Settings", "UseThemeResDll", "1", m_gameIni.c_str());
    FreeThemeResModule();
    EXPECT_FALSE(LoadThemeResModule("KitResTestMissing"));
    EXPECT_EQ(KitThemeModule(), (HINSTANCE)NULL);
    CSkinDlg dlg;
    EXPECT_FALSE(Make(dlg));
}

}  // namespace
