// The setup dialog on the resource library's template: the music controls
// following sound effects, the pickers (a cancelled one changes nothing),
// the data exchange of every field both ways, and what the caller's flags
// disable.
#include "GameDlgTestSupport.h"

#include "SetupDlg.h"
#include "gamedlg_ids.h"

namespace {

using namespace gamedlgtest;

// The pickers answered by the test: no answer is a cancelled picker.
class CTestSetup : public CSetupDlg
{
public:
    using CSetupDlg::CSetupDlg;
    std::function<BOOL(COLORREF&)> colour;
    std::function<BOOL(LPCSTR, CString&)> file;
    std::function<BOOL(LPCSTR, CString&)> folder;
    std::vector<std::string> filters, titles;

protected:
    BOOL PickColour(COLORREF& c) override { return colour ? colour(c) : FALSE; }
    BOOL PickFile(LPCSTR filter, CString& path) override
    {
        filters.push_back(filter);
        return file ? file(filter, path) : FALSE;
    }
    BOOL PickFolder(LPCSTR title, CString& f) override
    {
        titles.push_back(title);
        return folder ? folder(title, f) : FALSE;
    }
};
typedef CScripted<CTestSetup> CSetup;

class SetupTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_res.Ok()) << "Mardavel_Res.dll beside the test";
        ASSERT_TRUE(WriteDialogSkin(m_theme, "QVDLG_setup",
                                    {"IDOK", "IDCANCEL", "IDC_BKCOLOR", "IDC_BKBMP", "IDC_MUSIC"}));
    }
    void TearDown() override { PumpPendingMessages(); }

    ResourceLibrary m_res;
    TempTheme m_theme;
};

TEST_F(SetupTest, MusicControlsFollowSoundEffects)
{
    struct Case {
        const char* what;
        int sound, music;
        std::vector<UINT> clicks;
        bool musicEnabled, pickerEnabled;
    };
    const Case cases[] = {
        {"sound and music on", 1, 1, {}, true, true},
        {"sound on, music off: no picker", 1, 0, {}, true, false},
        {"sound off: neither", 0, 1, {}, false, false},
        {"unchecking sound disables both", 1, 1, {IDC_SETUP_SOUND}, false, false},
        {"checking sound again brings both back", 1, 1, {IDC_SETUP_SOUND, IDC_SETUP_SOUND}, true, true},
        {"sound back on, music off: the check only", 0, 0, {IDC_SETUP_SOUND}, true, false},
        {"checking music enables the picker", 1, 0, {IDC_SETUP_MUSIC}, true, true},
        {"unchecking music disables the picker", 1, 1, {IDC_SETUP_MUSIC}, true, false},
    };
    for (const Case& c : cases) {
        CSetup dlg;
        dlg.m_bSoundEffects = c.sound;
        dlg.m_bMusic = c.music;
        bool music = false, picker = false;
        dlg.script = [&](CSetup& d) {
            for (UINT id : c.clicks)
                d.Click(id);
            music = d.Enabled(IDC_SETUP_MUSIC);
            picker = d.Enabled(IDC_SETUP_MUSIC_PICK);
            d.Press(IDCANCEL);
        };
        EXPECT_EQ(dlg.DoModal(), IDCANCEL) << c.what;
        EXPECT_EQ(music, c.musicEnabled) << c.what;
        EXPECT_EQ(picker, c.pickerEnabled) << c.what;
    }
}

TEST_F(SetupTest, PickersChangeOnlyWhatTheyChose)
{
    struct Case {
        const char* what;
        UINT button;
        bool answer;
        int background;   // after OK
        COLORREF colour;
        const char* picture;
        int music;
        const char* musicFile;
        const char* shot;
        const char* save;
        const char* askedTitle;   // the folder browser's title, or the file filter
    };
    const Case cases[] = {
        {"colour picker cancelled", IDC_SETUP_BG_COLOUR_PICK, false, 0, RGB(1, 2, 3), "C:\\old.bmp", 0, "C:\\old.mid",
         "C:\\shots", "C:\\saves", ""},
        {"colour chosen", IDC_SETUP_BG_COLOUR_PICK, true, 1, RGB(10, 20, 30), "C:\\old.bmp", 0, "C:\\old.mid",
         "C:\\shots", "C:\\saves", ""},
        {"picture picker cancelled", IDC_SETUP_BG_PICTURE_PICK, false, 0, RGB(1, 2, 3), "C:\\old.bmp", 0,
         "C:\\old.mid", "C:\\shots", "C:\\saves", "Bitmap files (*.bmp)|*.bmp|All files (*.*)|*.*||"},
        {"picture chosen", IDC_SETUP_BG_PICTURE_PICK, true, 2, RGB(1, 2, 3), "C:\\new.bmp", 0, "C:\\old.mid",
         "C:\\shots", "C:\\saves", "Bitmap files (*.bmp)|*.bmp|All files (*.*)|*.*||"},
        {"music file chosen checks music", IDC_SETUP_MUSIC_PICK, true, 0, RGB(1, 2, 3), "C:\\old.bmp", 1,
         "C:\\new.mid", "C:\\shots", "C:\\saves", "MID files (*.mid)|*.mid|All files (*.*)|*.*||"},
        {"music picker cancelled", IDC_SETUP_MUSIC_PICK, false, 0, RGB(1, 2, 3), "C:\\old.bmp", 0, "C:\\old.mid",
         "C:\\shots", "C:\\saves", "MID files (*.mid)|*.mid|All files (*.*)|*.*||"},
        {"screenshot folder chosen", IDC_SETUP_SHOT_PICK, true, 0, RGB(1, 2, 3), "C:\\old.bmp", 0, "C:\\old.mid",
         "D:\\chosen", "C:\\saves", "请选择截图保存目录:"},
        {"save folder browser cancelled", IDC_SETUP_SAVE_PICK, false, 0, RGB(1, 2, 3), "C:\\old.bmp", 0,
         "C:\\old.mid", "C:\\shots", "C:\\saves", "请选择牌局文件保存目录:"},
        {"save folder chosen", IDC_SETUP_SAVE_PICK, true, 0, RGB(1, 2, 3), "C:\\old.bmp", 0, "C:\\old.mid",
         "C:\\shots", "D:\\chosen", "请选择牌局文件保存目录:"},
    };
    for (const Case& c : cases) {
        CSetup dlg;
        dlg.m_nSavedBackground = 0;
        dlg.m_crBackground = RGB(1, 2, 3);
        dlg.m_strPicture = "C:\\old.bmp";
        dlg.m_bSoundEffects = 1;
        dlg.m_strMusicFile = "C:\\old.mid";
        dlg.m_strShotFolder = "C:\\shots";
        dlg.m_strSaveFolder = "C:\\saves";
        dlg.colour = [&](COLORREF& colour) {
            colour = RGB(10, 20, 30);
            return c.answer;
        };
        dlg.file = [&](LPCSTR filter, CString& path) {
            path = strstr(filter, "MID") != NULL ? "C:\\new.mid" : "C:\\new.bmp";
            return c.answer;
        };
        dlg.folder = [&](LPCSTR, CString& f) {
            f = "D:\\chosen";
            return c.answer;
        };
        bool radioShown = false;
        dlg.script = [&](CSetup& d) {
            d.SendMessage(WM_COMMAND, MAKEWPARAM(c.button, BN_CLICKED), (LPARAM)d.GetDlgItem(c.button)->m_hWnd);
            const UINT radios[3] = {IDC_SETUP_BG_DEFAULT, IDC_SETUP_BG_COLOUR, IDC_SETUP_BG_PICTURE};
            radioShown = d.IsDlgButtonChecked(radios[c.background]) == BST_CHECKED;
            d.Press(IDOK);
        };
        EXPECT_EQ(dlg.DoModal(), IDOK) << c.what;
        EXPECT_TRUE(radioShown) << c.what << ": the radio shows the background kind";
        EXPECT_EQ(dlg.m_nSavedBackground, c.background) << c.what;
        EXPECT_EQ(dlg.m_crBackground, c.colour) << c.what;
        EXPECT_EQ(dlg.m_strPicture, CString(c.picture)) << c.what;
        EXPECT_EQ(dlg.m_bMusic, c.music) << c.what;
        EXPECT_EQ(dlg.m_strMusicFile, CString(c.musicFile)) << c.what;
        EXPECT_EQ(dlg.m_strShotFolder, CString(c.shot)) << c.what;
        EXPECT_EQ(dlg.m_strSaveFolder, CString(c.save)) << c.what;
        if (c.askedTitle[0] != '\0') {
            const std::vector<std::string>& asked = dlg.filters.empty() ? dlg.titles : dlg.filters;
            EXPECT_EQ(asked, std::vector<std::string>{c.askedTitle}) << c.what;
        }
    }
}

// Every exchanged field with a value differing from its default.
void FillFields(CSetupDlg& d)
{
    d.m_bAllowWatching = 1;
    d.m_nSavedBackground = 2;
    d.m_bMusic = 1;
    d.m_bSoundEffects = 1;
    d.m_bScoreBox = 1;
    d.m_bTile = 1;
    d.m_bSmallCards = 1;
    d.m_nPlayOrder = 1;
    d.m_bScrollTips = 1;
    d.m_strShotFolder = "C:\\shots";
    d.m_strVideoFolder = "C:\\videos";
    d.m_nOwnRule = 2;
    d.m_nWatchedRule = 1;
    d.m_strSaveFolder = "C:\\saves";
    d.m_bPersonalData = 1;
    d.m_bPersonalDataAvailable = 1;
}

TEST_F(SetupTest, EveryFieldIsShownAndComesBack)
{
    struct Shown {
        const char* what;
        UINT id;
        UINT checked;
    };
    const Shown shown[] = {
        {"allow watching", IDC_SETUP_ALLOW_WATCH, BST_CHECKED},
        {"picture background", IDC_SETUP_BG_PICTURE, BST_CHECKED},
        {"not the default background", IDC_SETUP_BG_DEFAULT, BST_UNCHECKED},
        {"music", IDC_SETUP_MUSIC, BST_CHECKED},
        {"sound effects", IDC_SETUP_SOUND, BST_CHECKED},
        {"score box", IDC_SETUP_SCORE_BOX, BST_CHECKED},
        {"tile", IDC_SETUP_TILE, BST_CHECKED},
        {"small cards", IDC_SETUP_SMALL_CARDS, BST_CHECKED},
        {"anticlockwise", IDC_SETUP_ANTICLOCKWISE, BST_CHECKED},
        {"not clockwise", IDC_SETUP_CLOCKWISE, BST_UNCHECKED},
        {"scrolling tips", IDC_SETUP_SCROLL_TIPS, BST_CHECKED},
        {"own games never saved", IDC_SETUP_OWN_NEVER, BST_CHECKED},
        {"watched games saved", IDC_SETUP_WATCH_AUTO, BST_CHECKED},
        {"personal data", IDC_SETUP_PERSONAL, BST_CHECKED},
    };
    // Unchanged: what went in comes back.
    CSetup dlg;
    FillFields(dlg);
    std::vector<std::string> wrong;
    CString shot, video, save;
    UINT defaultButton = 0;
    dlg.script = [&](CSetup& d) {
        for (const Shown& s : shown)
            if (d.IsDlgButtonChecked(s.id) != s.checked)
                wrong.push_back(s.what);
        shot = d.Text(IDC_SETUP_SHOT_FOLDER);
        video = d.Text(IDC_SETUP_VIDEO_FOLDER);
        save = d.Text(IDC_SETUP_SAVE_FOLDER);
        defaultButton = LOWORD(d.SendMessage(DM_GETDEFID));
        d.Press(IDOK);
    };
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(wrong.empty()) << "shown wrongly: " << (wrong.empty() ? "" : wrong[0]);
    EXPECT_EQ(shot, "C:\\shots");
    EXPECT_EQ(video, "C:\\videos");
    EXPECT_EQ(save, "C:\\saves");
    EXPECT_EQ(defaultButton, (UINT)IDCANCEL) << "Cancel is the default button";
    EXPECT_EQ(dlg.m_bAllowWatching, 1);
    EXPECT_EQ(dlg.m_nBackground, 2);
    EXPECT_EQ(dlg.m_nSavedBackground, 2);
    EXPECT_EQ(dlg.m_bMusic, 1);
    EXPECT_EQ(dlg.m_bSoundEffects, 1);
    EXPECT_EQ(dlg.m_bScoreBox, 1);
    EXPECT_EQ(dlg.m_bTile, 1);
    EXPECT_EQ(dlg.m_bSmallCards, 1);
    EXPECT_EQ(dlg.m_nPlayOrder, 1);
    EXPECT_EQ(dlg.m_bScrollTips, 1);
    EXPECT_EQ(dlg.m_strShotFolder, "C:\\shots");
    EXPECT_EQ(dlg.m_strVideoFolder, "C:\\videos");
    EXPECT_EQ(dlg.m_nOwnRule, 2);
    EXPECT_EQ(dlg.m_nWatchedRule, 1);
    EXPECT_EQ(dlg.m_strSaveFolder, "C:\\saves");
    EXPECT_EQ(dlg.m_bPersonalData, 1);

    // Changed in the controls: the new values come back.
    CSetup changed;
    FillFields(changed);
    changed.script = [&](CSetup& d) {
        for (UINT id : {IDC_SETUP_BG_DEFAULT, IDC_SETUP_CLOCKWISE, IDC_SETUP_OWN_AUTO, IDC_SETUP_WATCH_NEVER,
                        IDC_SETUP_ALLOW_WATCH, IDC_SETUP_TILE, IDC_SETUP_SMALL_CARDS, IDC_SETUP_SCROLL_TIPS,
                        IDC_SETUP_SCORE_BOX, IDC_SETUP_PERSONAL, IDC_SETUP_MUSIC})
            d.Click(id);
        d.SetDlgItemText(IDC_SETUP_SHOT_FOLDER, "E:\\s");
        d.SetDlgItemText(IDC_SETUP_VIDEO_FOLDER, "E:\\v");
        d.SetDlgItemText(IDC_SETUP_SAVE_FOLDER, "E:\\g");
        d.Press(IDOK);
    };
    EXPECT_EQ(changed.DoModal(), IDOK);
    EXPECT_EQ(changed.m_nSavedBackground, 0);
    EXPECT_EQ(changed.m_nPlayOrder, 0);
    EXPECT_EQ(changed.m_nOwnRule, 1);
    EXPECT_EQ(changed.m_nWatchedRule, 2);
    EXPECT_EQ(changed.m_bAllowWatching, 0);
    EXPECT_EQ(changed.m_bTile, 0);
    EXPECT_EQ(changed.m_bSmallCards, 0);
    EXPECT_EQ(changed.m_bScrollTips, 0);
    EXPECT_EQ(changed.m_bScoreBox, 0);
    EXPECT_EQ(changed.m_bPersonalData, 0);
    EXPECT_EQ(changed.m_bMusic, 0);
    EXPECT_EQ(changed.m_bSoundEffects, 1);
    EXPECT_EQ(changed.m_strShotFolder, "E:\\s");
    EXPECT_EQ(changed.m_strVideoFolder, "E:\\v");
    EXPECT_EQ(changed.m_strSaveFolder, "E:\\g");

    // Cancelled: the caller reads nothing back; the saved kind stays.
    CSetup cancelled;
    FillFields(cancelled);
    cancelled.script = [&](CSetup& d) {
        d.Click(IDC_SETUP_BG_COLOUR);
        d.Press(IDCANCEL);
    };
    EXPECT_EQ(cancelled.DoModal(), IDCANCEL);
    EXPECT_EQ(cancelled.m_nSavedBackground, 2);
}

TEST_F(SetupTest, CallerFlagsDisableTheirBoxes)
{
    struct Case {
        const char* what;
        BOOL lock;
        int personalAvailable;
        bool watchEnabled, personalEnabled;
    };
    const Case cases[] = {
        {"nothing locked", FALSE, 1, true, true},
        {"the watching lock", TRUE, 1, false, true},
        {"no personal data", FALSE, 0, true, false},
    };
    for (const Case& c : cases) {
        CSetup dlg(TRUE);
        dlg.m_bWatchingLock = c.lock;
        dlg.m_bPersonalDataAvailable = c.personalAvailable;
        bool watch = false, personal = false, watchChecked = false;
        dlg.script = [&](CSetup& d) {
            watch = d.Enabled(IDC_SETUP_ALLOW_WATCH);
            personal = d.Enabled(IDC_SETUP_PERSONAL);
            watchChecked = d.IsDlgButtonChecked(IDC_SETUP_ALLOW_WATCH) == BST_CHECKED;
            d.Press(IDCANCEL);
        };
        EXPECT_EQ(dlg.DoModal(), IDCANCEL) << c.what;
        EXPECT_EQ(watch, c.watchEnabled) << c.what;
        EXPECT_EQ(personal, c.personalEnabled) << c.what;
        EXPECT_TRUE(watchChecked) << c.what << ": the seat's watching flag is shown";
    }
}

}  // namespace
