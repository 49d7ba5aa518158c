// The split grid on a fake host: drag, wheel, hide buttons and double click
// sequences, the splitter's keys, the profile, and the button's states.
#include <gtest/gtest.h>

#include <memory>

#include "FrameTestSupport.h"
#include "ImageCache.h"
#include "SpliteGrid.h"
#include "store/QVIniFile.h"

using frametest::FakeHost;
using frametest::MakePicture;

namespace {

class CFrameTestApp : public CWinApp
{
public:
    CFrameTestApp() : CWinApp("MardavelFrameAreas") {}
};
CFrameTestApp theApp;

const COLORREF kFrameColours[5] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(128, 128, 128),
                                   RGB(255, 255, 0)};

// A folder with the hide-button strip (four 4-pixel frames) and a grid of
// two areas built from a splitter section.
class SplitGrid : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        theApp.SetRegistryKey("MardavelFrameTest");
        folder = frametest::MakeTempFolder("frame_grid_");
        ASSERT_FALSE(folder.empty());
        ASSERT_TRUE(frametest::WriteBmp(folder + "hide.bmp", 16, 20, [](int x, int) { return kFrameColours[x / 4]; }));
    }

    // A grid of the section; its stored state is removed first unless kept.
    void Build(const char* section, const char* name = "grid", const CRect& rect = CRect(0, 0, 400, 100),
               bool keepProfile = false)
    {
        if (!keepProfile)
            theApp.WriteProfileString(CString("GD_") + name, NULL, NULL);
        ASSERT_EQ(CImageCache::kOpened, cache.Open(folder.c_str()));
        ASSERT_TRUE(ini.LoadFromMemory(section, static_cast<int>(strlen(section))));
        grid.reset(new CSpliteGrid);
        left = new CAreaPainter;
        right = new CAreaPainter;
        ASSERT_TRUE(grid->Create(name, "g", NULL));
        left->Create("left", "l", grid.get());
        right->Create("right", "r", grid.get());
        grid->SetChildren(left, right);
        ASSERT_TRUE(grid->LoadInfo(&ini, "g", &cache));
        grid->SetRect(rect);
    }

    static std::string folder;
    FakeHost host;
    CImageCache cache;
    CQVIniFile ini;
    std::unique_ptr<CSpliteGrid> grid;
    CAreaPainter* left = nullptr;
    CAreaPainter* right = nullptr;
};
std::string SplitGrid::folder;

const char kGrid[] =
    "[g]\nframe=h\ndefsize=1:1\nslsize=4\nslpic=S,(200,200,200)\nminsize=60,60\nhide=A\n"
    "btn_left=left,CT,(0,0,4,20),hide.bmp\nbtn_right=right,CB,(0,0,4,20),hide.bmp\n";

TEST_F(SplitGrid, KeysAndPlacement)
{
    Build(kGrid, "grid_keys");
    EXPECT_EQ(CRect(0, 0, 200, 100), left->GetRect());
    EXPECT_EQ(CRect(204, 0, 400, 100), right->GetRect());
    EXPECT_EQ(CRect(200, 0, 204, 100), grid->GetSliderRect());
    ASSERT_EQ(2, grid->GetButtonCount());
    // CT against the slider: (l, Ch/2 - b) = (0, 30); CB: (l, Ch/2 + t) = (0, 50).
    EXPECT_EQ(CRect(200, 30, 204, 50), grid->FindHideButton(kKeyLeft)->m_rcPlaced);
    EXPECT_EQ(CRect(200, 50, 204, 70), grid->FindHideButton(kKeyRight)->m_rcPlaced);
    EXPECT_EQ(grid.get(), grid->FindHideButton(kKeyLeft)->m_pOwner);
}

TEST_F(SplitGrid, NoSliderPictureNoSlider)
{
    Build("[g]\nframe=h\ndefsize=1:1\nslsize=4\n", "grid_noslider");
    EXPECT_EQ(CRect(0, 0, 200, 100), left->GetRect());
    EXPECT_EQ(CRect(200, 0, 400, 100), right->GetRect()) << "the children touch";
    grid->OnMouseDown(200, 10);
    EXPECT_FALSE(host.captured);
    grid->OnMouseWheel(120);
    grid->OnDoubleClick(200, 10);
    EXPECT_EQ(CRect(0, 0, 200, 100), left->GetRect());
    EXPECT_TRUE(host.redraws.empty());
}

TEST_F(SplitGrid, DragHidesAndShows)
{
    Build(kGrid, "grid_drag");
    grid->OnMouseDown(202, 10);
    ASSERT_TRUE(host.captured);
    EXPECT_EQ(grid.get(), host.GetAreaCapture());
    EXPECT_EQ(grid.get(), host.m_pPressedArea);

    grid->OnMouseMove(152, 10);   // -50
    EXPECT_EQ(CRect(0, 0, 150, 100), left->GetRect());
    EXPECT_EQ(CRect(154, 0, 400, 100), right->GetRect());
    EXPECT_FALSE(host.redraws.empty()) << "a taken move redraws the splitter";

    grid->OnMouseMove(5, 10);     // -147: thinner than the slider
    EXPECT_FALSE(left->IsVisible());
    EXPECT_EQ(CRect(4, 0, 400, 100), right->GetRect());

    grid->OnMouseMove(40, 10);    // +35: not past the first minimum
    EXPECT_FALSE(left->IsVisible());
    grid->OnMouseMove(100, 10);   // +95 from the last taken point
    EXPECT_TRUE(left->IsVisible());
    EXPECT_EQ(CRect(0, 0, 95, 100), left->GetRect());

    host.ReleaseCapture();
    grid->OnButtonUp(100, 10, 1);
    grid->OnMouseMove(300, 10);   // no capture: nothing moves
    EXPECT_EQ(CRect(0, 0, 95, 100), left->GetRect());
}

TEST_F(SplitGrid, WheelMovesByHalfTheAmount)
{
    Build(kGrid, "grid_wheel");
    grid->OnMouseWheel(120);
    EXPECT_EQ(CRect(0, 0, 260, 100), left->GetRect());
    grid->OnMouseWheel(-120);
    grid->OnMouseWheel(-120);
    EXPECT_EQ(CRect(0, 0, 140, 100), left->GetRect());
}

TEST_F(SplitGrid, HideButtonAndDoubleClick)
{
    Build(kGrid, "grid_buttons");
    CBkButton* hideLeft = grid->FindHideButton(kKeyLeft);
    CBkButton* hideRight = grid->FindHideButton(kKeyRight);
    grid->OnMouseDown(202, 35);
    EXPECT_EQ(hideLeft, host.m_pPressedButton) << "the press went to the button, not to a drag";
    EXPECT_EQ(NULL, host.GetAreaCapture());
    hideLeft->OnRelease(CPoint(202, 35));
    EXPECT_FALSE(left->IsVisible());
    EXPECT_EQ(CRect(4, 0, 400, 100), right->GetRect());
    EXPECT_TRUE(hideLeft->m_bShown);
    EXPECT_TRUE(hideLeft->m_bOther) << "the left button shows its other state";
    EXPECT_FALSE(hideRight->m_bShown);

    // The slider is now at 0: a double click on it (off the buttons) shows
    // the hidden side again.
    grid->OnDoubleClick(2, 90);
    EXPECT_TRUE(left->IsVisible());
    EXPECT_EQ(CRect(0, 0, 200, 100), left->GetRect());
    // Two hide buttons, both sides shown: a double click does nothing.
    grid->OnDoubleClick(202, 90);
    EXPECT_TRUE(left->IsVisible() && right->IsVisible());
}

TEST_F(SplitGrid, TooSmallForcesOneSideHidden)
{
    Build(kGrid, "grid_small", CRect(0, 0, 100, 100));
    EXPECT_FALSE(right->IsVisible());
    EXPECT_FALSE(grid->FindHideButton(kKeyLeft)->m_bShown);
    EXPECT_FALSE(grid->FindHideButton(kKeyRight)->m_bShown);
    grid->OnMouseDown(97, 10);
    EXPECT_FALSE(host.captured) << "no drag while forced hidden";
    grid->SetRect(CRect(0, 0, 124, 100));
    EXPECT_TRUE(left->IsVisible() && right->IsVisible());
    EXPECT_EQ(CRect(0, 0, 60, 100), left->GetRect());
}

TEST_F(SplitGrid, HidingTheSplitterKeepsItsSides)
{
    Build(kGrid, "grid_visible");
    grid->OnButtonKey(kKeyRight);
    EXPECT_FALSE(right->IsVisible());
    grid->SetVisible(FALSE);
    EXPECT_FALSE(left->IsVisible());
    grid->SetVisible(TRUE);
    EXPECT_TRUE(left->IsVisible());
    EXPECT_FALSE(right->IsVisible()) << "the side hidden before stays hidden";
}

TEST_F(SplitGrid, ProfileSaveAndLoad)
{
    theApp.WriteProfileString("GD_grid_profile", NULL, NULL);
    Build(kGrid, "grid_profile");
    grid->OnMouseWheel(120);   // 260 : 400
    grid->OnButtonKey(kKeyRight);
    grid.reset();              // saves
    EXPECT_EQ(260u, theApp.GetProfileInt("GD_grid_profile", "LeftWidth", 0));
    EXPECT_EQ(400u, theApp.GetProfileInt("GD_grid_profile", "TotalWidth", 0));
    EXPECT_EQ(0u, theApp.GetProfileInt("GD_grid_profile", "RightShow", 7));

    Build(kGrid, "grid_profile", CRect(0, 0, 400, 100), true);
    grid->SetRect(CRect(0, 0, 800, 100));
    EXPECT_EQ(CRect(0, 0, 520, 100), left->GetRect()) << "800 * 260 / 400";
}

TEST_F(SplitGrid, StoredTotalWidthThatCannotDivide)
{
    struct Case
    {
        int total;
    } cases[] = {{0}, {-5}, {-32768}};
    for (const Case& k : cases) {
        theApp.WriteProfileString("GD_grid_total", NULL, NULL);
        theApp.WriteProfileInt("GD_grid_total", "LeftWidth", 10);
        theApp.WriteProfileInt("GD_grid_total", "TotalWidth", k.total);
        Build(kGrid, "grid_total", CRect(0, 0, 400, 100), true);
        // defsize 1:1 stands in for the stored proportion.
        EXPECT_EQ(CRect(0, 0, 200, 100), left->GetRect()) << "TotalWidth " << k.total;
        grid.reset();
        cache.Close();
    }
}

// ---- The button's states --------------------------------------------------------------------

class ButtonStates : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(MakePicture(strip, 16, 20, [](int x, int) { return kFrameColours[x / 4]; }));
        ASSERT_TRUE(MakePicture(wide, 20, 20, [](int x, int) { return kFrameColours[x / 4]; }));
        CString name;
        ASSERT_TRUE(button.Parse("help,LT,(10,10,14,30),strip.bmp", &name));
        EXPECT_EQ(CString("strip.bmp"), name);
        button.SetPicture(&strip);
        button.SetTips("Help", "");
        button.Place(CRect(0, 0, 100, 50));
        back.Create(100, 50, 24);
    }
    COLORREF Drawn()
    {
        back.FillRect(0, 0, 100, 50, RGB(0, 0, 0));
        button.Draw(&back, 0, 0);
        return back.GetPixelColor(11, 15);
    }
    FakeHost host;
    CImageObj strip, wide, back;
    CBkButton button;
};

TEST_F(ButtonStates, Sequence)
{
    EXPECT_EQ(CRect(10, 10, 14, 30), button.m_rcPlaced);
    EXPECT_EQ(kFrameColours[0], Drawn());
    button.OnMouseMove(CPoint(11, 15));
    EXPECT_EQ(CBkButton::kHover, button.m_nState);
    EXPECT_EQ(kFrameColours[1], Drawn());
    ASSERT_EQ(1u, host.tips.size());
    EXPECT_EQ("Help", host.tips[0]);
    EXPECT_TRUE(button.OnPress(CPoint(11, 15)));
    EXPECT_EQ(&button, host.m_pPressedButton);
    EXPECT_EQ(kFrameColours[2], Drawn());
    button.OnMouseMove(CPoint(50, 40));
    EXPECT_EQ(CBkButton::kPressedOutside, button.m_nState);
    EXPECT_EQ(kFrameColours[0], Drawn());
    button.OnMouseMove(CPoint(12, 20));
    EXPECT_EQ(CBkButton::kPressedInside, button.m_nState);
    button.OnRelease(CPoint(12, 20));
    EXPECT_EQ(CBkButton::kNormal, button.m_nState);
    EXPECT_EQ(NULL, host.m_pPressedButton);
    EXPECT_EQ(std::vector<int>{4}, host.keys) << "help is key 4";
    EXPECT_FALSE(host.buttonRedraws.empty());

    button.OnPress(CPoint(11, 15));
    button.OnRelease(CPoint(60, 40));
    EXPECT_EQ(1u, host.keys.size()) << "released outside: no key";
}

TEST_F(ButtonStates, LooksAndRefusals)
{
    struct Case
    {
        const char* what;
        BOOL enabled, down, inert;
        int state;
        int frame;          // -1: nothing drawn
    } cases[] = {
        {"disabled", FALSE, FALSE, FALSE, CBkButton::kNormal, 3},
        {"down: normal shows pressed", TRUE, TRUE, FALSE, CBkButton::kNormal, 2},
        {"down: pressed shows normal", TRUE, TRUE, FALSE, CBkButton::kPressedInside, 0},
        {"down: pressed outside", TRUE, TRUE, FALSE, CBkButton::kPressedOutside, 2},
        {"inert: not drawn in its normal state", TRUE, FALSE, TRUE, CBkButton::kNormal, -1},
        {"inert hover still drawn", TRUE, FALSE, TRUE, CBkButton::kHover, 1},
    };
    for (const Case& k : cases) {
        button.m_bEnabled = k.enabled;
        button.m_bDown = k.down;
        button.m_bInert = k.inert;
        button.m_nState = k.state;
        EXPECT_EQ(k.frame < 0 ? RGB(0, 0, 0) : kFrameColours[k.frame], Drawn()) << k.what;
    }
    button.m_bEnabled = FALSE;
    button.m_bInert = FALSE;
    button.m_nState = CBkButton::kNormal;
    EXPECT_FALSE(button.OnPress(CPoint(11, 15))) << "disabled";
    button.m_bEnabled = TRUE;
    button.m_bInert = TRUE;
    EXPECT_FALSE(button.OnPress(CPoint(11, 15))) << "inert";
    button.m_bInert = FALSE;
    button.SetShown(FALSE, FALSE);
    EXPECT_FALSE(button.HitTest(CPoint(11, 15)));
    EXPECT_EQ(RGB(0, 0, 0), Drawn()) << "hidden";
}

TEST_F(ButtonStates, FiveFramesReportNoKey)
{
    button.SetPicture(&wide);
    EXPECT_TRUE(button.OnPress(CPoint(11, 15)));
    button.OnRelease(CPoint(11, 15));
    EXPECT_TRUE(host.keys.empty());
}

TEST_F(ButtonStates, OtherStateAndSetters)
{
    CImageObj other;
    ASSERT_TRUE(MakePicture(other, 16, 20, [](int, int) { return RGB(7, 7, 7); }));
    CSpliteGrid::SetOwner(&button, &other);
    CSpliteGrid::SetShowFlag(&button, TRUE, TRUE);
    EXPECT_TRUE(host.buttonRedraws.empty()) << "unchanged: no redraw";
    button.SetOtherState(TRUE, TRUE);
    EXPECT_EQ(1u, host.buttonRedraws.size());
    EXPECT_EQ(RGB(7, 7, 7), Drawn());
    CSpliteGrid::SetMode(&button, CBkButton::kHover, TRUE);
    EXPECT_EQ(2u, host.buttonRedraws.size());
    EXPECT_FALSE(button.Parse("help,LT,(10,10,13,30),x.bmp", NULL)) << "3 pixels wide";
    EXPECT_FALSE(button.Parse("nothing,LT,(10,10,30,30),x.bmp", NULL)) << "key 0";
}

}  // namespace
