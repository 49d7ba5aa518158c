// The skinned pop-up menu window on the test display, with a fixed work area
// (1024 x 728, the task bar below): filled from a menu with a sub-menu, its
// placement near the right edge, the keyboard through a sub-menu to a chosen
// command posted to the notify window with the chain destroyed, the digit
// "0", and the menu closing when the focus leaves the chain; entries with
// pictures of their own or strip cells, their animation while hot and the
// tip text, a checked entry left by the mouse, the delayed closing of a
// sub-menu, a side panel, colours of the caller's own over a reload, and
// the captions of normal and checked entries, and the frame's widths from
// the theme's frame pictures.
#include "ODTestSupport.h"

#include "ODLibrary.h"
#include "ODMenu.h"
#include "graphics/image/DibImageList.h"

namespace {

using namespace odtest;

odmenu::Rect FixedWorkArea() { return odmenu::Rect{0, 0, 1024, 728}; }

class Notify : public CWnd
{
public:
    std::vector<WPARAM> commands;
    BOOL Make()
    {
        return CreateEx(0, AfxRegisterWndClass(0), "notify", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, NULL, NULL);
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND)
            commands.push_back(wParam);
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class MenuTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        saved = CODMenu::s_workArea;
        CODMenu::s_workArea = &FixedWorkArea;
        ASSERT_TRUE(notify.Make()) << "needs the test display";
        bar = CreatePopupMenu();
        sub = CreatePopupMenu();
        AppendMenuA(sub, MF_STRING, 201, "Alpha");
        AppendMenuA(sub, MF_STRING, 202, "Beta");
        AppendMenuA(bar, MF_STRING, 101, "Open");
        AppendMenuA(bar, MF_SEPARATOR, 0, NULL);
        AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "Recent");
        AppendMenuA(bar, MF_STRING | MF_CHECKED, 102, "Exit");
    }
    void TearDown() override
    {
        CODMenu::s_workArea = saved;
        DestroyMenu(bar);
    }
    odmenu::Rect (*saved)() = nullptr;
    Notify notify;
    HMENU bar = NULL, sub = NULL;
};

TEST_F(MenuTest, LoadedFromAMenu)
{
    CODMenu menu;
    ASSERT_TRUE(menu.Create(&notify, 1));
    menu.LoadFromMenu(bar);
    ASSERT_EQ(menu.GetItemCount(), 4);
    EXPECT_EQ(menu.GetItemId(0), 101u);
    EXPECT_TRUE(menu.GetItem(1) == NULL) << "a separator";
    EXPECT_STREQ(menu.GetItem(2)->GetCaption(), "Recent");
    ASSERT_TRUE(menu.GetSubMenu(2) != NULL);
    EXPECT_EQ(menu.GetSubMenu(2)->GetItemCount(), 2);
    EXPECT_EQ(menu.GetSubMenu(2)->GetParentMenu(), &menu);
    EXPECT_EQ(menu.GetItem(3)->GetState(), 1) << "checked";
    EXPECT_EQ(menu.AddItem("x", 1, "", FALSE, 5), 0) << "a bad column";
    EXPECT_FALSE(menu.Create(&notify, -1));
}

TEST_F(MenuTest, OpensLeftOfAPointNearTheRightEdge)
{
    CODMenu menu;
    ASSERT_TRUE(menu.Create(&notify, 1));
    menu.LoadFromMenu(bar);
    ASSERT_TRUE(menu.TrackPopup(0, 1000, 100, &notify));
    CRect w;
    menu.GetWindowRect(&w);
    EXPECT_EQ(w.right, 1000) << "opens to the left of the point";
    EXPECT_EQ(w.top, 100);
    EXPECT_TRUE(menu.IsWindowVisible());
    menu.DestroyWindow();
    ASSERT_TRUE(menu.Create(&notify, 1));
    menu.LoadFromMenu(bar);
    menu.TrackPopup(0x4000, 1000, 700, &notify);
    menu.GetWindowRect(&w);
    EXPECT_EQ(w.right, 1024) << "pushed against the right edge";
    EXPECT_EQ(w.bottom, 728) << "never over the task bar";
}

TEST_F(MenuTest, KeyboardThroughASubMenuChoosesACommand)
{
    CODMenu menu;
    ASSERT_TRUE(menu.Create(&notify, 1));
    menu.LoadFromMenu(bar);
    ASSERT_TRUE(menu.TrackPopup(0, 100, 100, &notify));
    menu.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(menu.GetHotItem(), 0);
    menu.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(menu.GetHotItem(), 2) << "the separator is skipped";
    menu.SendMessage(WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(menu.m_hWnd != NULL) << "an entry with a sub-menu is not chosen";
    menu.SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
    CODMenu* child = menu.GetSubMenu(2);
    ASSERT_TRUE(child->IsWindowVisible());
    EXPECT_EQ(child->GetHotItem(), 0) << "the sub-menu's first entry is hot";
    child->SendMessage(WM_KEYDOWN, VK_DOWN, 0);
    child->SendMessage(WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(WaitUntil([&] { return !notify.commands.empty(); }));
    EXPECT_EQ(notify.commands[0], 202u);
    EXPECT_TRUE(menu.m_hWnd == NULL) << "the chain is destroyed";
    EXPECT_TRUE(child->m_hWnd == NULL);
}

TEST_F(MenuTest, DigitZeroIsTheEleventhEntry)
{
    CODMenu menu;
    ASSERT_TRUE(menu.Create(&notify, 1));
    for (int i = 0; i < 10; ++i)
        menu.AddItem("item", 300 + i, "", TRUE);
    ASSERT_TRUE(menu.TrackPopup(0, 100, 100, &notify));
    menu.SendMessage(WM_KEYDOWN, '3', 0);
    EXPECT_EQ(menu.GetHotItem(), 2);
    menu.SendMessage(WM_KEYDOWN, '0', 0);
    EXPECT_EQ(menu.GetHotItem(), 2) << "no eleventh entry: nothing new";
    menu.SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(menu.m_hWnd == NULL);
    PumpPendingMessages();
    EXPECT_TRUE(notify.commands.empty());
}

TEST_F(MenuTest, LosingTheFocusClosesIt)
{
    CODMenu menu;
    ASSERT_TRUE(menu.Create(&notify, 1));
    menu.LoadFromMenu(bar);
    ASSERT_TRUE(menu.TrackPopup(0, 100, 100, &notify));
    ASSERT_TRUE(menu.IsWindowVisible());
    menu.SendMessage(WM_KILLFOCUS, reinterpret_cast<WPARAM>(notify.m_hWnd), 0);
    EXPECT_TRUE(menu.m_hWnd == NULL);
}


// Exposes the rows and the painting.
class TestMenu : public CODMenu
{
public:
    using CODMenu::Paint;
    using CODMenu::RowRect;
    // A mouse move to the middle of a row (a new screen point each time).
    void HoverRow(int index, int column = 0)
    {
        const CRect r = RowRect(column, index);
        SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(r.CenterPoint().x + (m_nudge ^= 1), r.CenterPoint().y));
    }
    int m_nudge = 0;
};

// A strip of w x h cells of one colour each.
void LoadCells(CBitmap& b, int w, int h, std::initializer_list<COLORREF> colours)
{
    std::vector<COLORREF> c(colours);
    b.Attach(MakeBitmap(w * static_cast<int>(c.size()), h, [&](int x, int) { return c[static_cast<size_t>(x / w)]; }));
}

TEST_F(MenuTest, EntryPicturesAndStripCellsSizeTheColumns)
{
    TestMenu menu;
    ASSERT_TRUE(menu.Create(&notify, 1));
    menu.AddItem("Deal", 1);
    menu.AddItem("Pass", 2);
    menu.AddItem("", 0);
    CBitmap picture;
    LoadCells(picture, 20, 18, {kRed, kGreen});
    struct Case
    {
        const char* what;
        int index, slot;
        BOOL expected;
    };
    const Case cases[] = {
        {"the left slot", 0, CODMenuItem::ImageLeft, TRUE},
        {"the right slot", 1, CODMenuItem::ImageRight, TRUE},
        {"the background slot is not an entry picture", 0, CODMenuItem::ImageBack, FALSE},
        {"a separator has no slots", 2, CODMenuItem::ImageLeft, FALSE},
        {"no such entry", 7, CODMenuItem::ImageLeft, FALSE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(menu.SetItemImage(c.index, c.slot, &picture, -1, 2, 1, 2, 50), c.expected) << c.what;
    EXPECT_FALSE(menu.SetItemImage(0, CODMenuItem::ImageLeft, "", 0)) << "an empty description gives no picture";
    ASSERT_TRUE(menu.GetItemImage(0) != NULL);
    EXPECT_EQ(menu.GetItem(0)->GetImage(CODMenuItem::ImageLeft), menu.GetItemImage(0));
    EXPECT_TRUE(menu.GetItemImage(2) == NULL) << "two pictures kept, the failures freed";

    menu.Measure();
    EXPECT_EQ(menu.GetSizes().leftColumn, 21) << "picture width + 1";
    EXPECT_EQ(menu.GetSizes().rightColumn, 21);
    EXPECT_GE(menu.GetSizes().itemHeight, 18 + 2 + 2);

    // Strip cells serve entries without a picture of their own.
    CODMenu cells;
    ASSERT_TRUE(cells.Create(&notify, 1));
    cells.AddItem("Deal", 1);
    CQVDibImageList strip;
    ASSERT_TRUE(strip.Create(30, 26, 2, 1));
    CBitmap b;
    LoadCells(b, 30, 26, {kBlue});
    ASSERT_EQ(strip.AddBitmap(static_cast<HBITMAP>(b.GetSafeHandle()), FALSE, 0), 0);
    cells.SetImageStrip(&strip);
    EXPECT_TRUE(cells.SetItemCell(0, CODMenuItem::ImageLeft, 0));
    EXPECT_FALSE(cells.SetItemCell(0, 3, 0)) << "no fourth cell number";
    cells.Measure();
    EXPECT_EQ(cells.GetSizes().leftColumn, 31);
    EXPECT_GE(cells.GetSizes().itemHeight, 26 + 2 + 2);
}

TEST_F(MenuTest, HotEntryAnimatesAndGivesItsTip)
{
    TestMenu menu;
    ASSERT_TRUE(menu.Create(&notify, 1));
    menu.SetDefaultTip("Choose a command");
    menu.AddItem("Deal", 1, "Deal the cards again");
    menu.AddItem("Pass", 2);
    CBitmap picture;
    LoadCells(picture, 16, 16, {kRed, kGreen, kBlue});
    ASSERT_TRUE(menu.SetItemImage(0, CODMenuItem::ImageLeft, &picture, -1, 3, 1, 3, 40));
    ASSERT_TRUE(menu.TrackPopup(0, 100, 100, &notify));
    CODSkinImage* image = menu.GetItemImage(0);

    menu.HoverRow(0);
    EXPECT_EQ(menu.GetHotItem(), 0);
    EXPECT_STREQ(menu.GetCurrentTip(), "Deal the cards again");
    EXPECT_EQ(menu.GetItem(0)->GetState(), 2);
    const int frame = image->GetCurrentFrame();
    menu.SendMessage(WM_TIMER, 0);  // the picture's timer: its index among the item pictures
    EXPECT_EQ(image->GetCurrentFrame(), (frame + 1) % 3);

    menu.HoverRow(1);
    EXPECT_STREQ(menu.GetCurrentTip(), "Choose a command") << "an entry without a tip";
    EXPECT_EQ(image->GetCurrentFrame(), 0) << "stopped and rewound";
    EXPECT_EQ(menu.GetItem(0)->GetState(), 0);
    menu.DestroyWindow();
}

TEST_F(MenuTest, CheckedEntryReturnsToCheckedWhenTheMouseLeaves)
{
    TestMenu menu;
    ASSERT_TRUE(menu.Create(&notify, 1));
    menu.LoadFromMenu(bar);
    ASSERT_TRUE(menu.TrackPopup(0, 100, 100, &notify));
    menu.HoverRow(3);
    EXPECT_EQ(menu.GetItem(3)->GetState(), 2);
    menu.SendMessage(WM_MOUSELEAVE);
    EXPECT_EQ(menu.GetItem(3)->GetState(), 1) << "checked, not normal";
    EXPECT_EQ(menu.GetHotItem(), -1);
    menu.HoverRow(1);
    EXPECT_EQ(menu.GetHotItem(), -1) << "a separator is never hot";
    menu.DestroyWindow();
}

TEST_F(MenuTest, SubMenuOpensAfterTheDelayAndClosesWhenLeft)
{
    TestMenu menu;
    ASSERT_TRUE(menu.Create(&notify, 1));
    menu.LoadFromMenu(bar);
    ASSERT_TRUE(menu.TrackPopup(0, 100, 100, &notify));
    CODMenu* child = menu.GetSubMenu(2);
    menu.HoverRow(2);
    EXPECT_FALSE(child->IsWindowVisible()) << "not before the delay";
    menu.SendMessage(WM_TIMER, CODMenu::TimerOpenSub);
    ASSERT_TRUE(child->IsWindowVisible());
    menu.HoverRow(0);
    EXPECT_TRUE(child->IsWindowVisible()) << "closing waits for the delay too";
    menu.HoverRow(2);
    menu.SendMessage(WM_TIMER, CODMenu::TimerCloseSub);
    EXPECT_TRUE(child->IsWindowVisible()) << "coming back cancelled the closing";
    menu.HoverRow(0);
    menu.SendMessage(WM_TIMER, CODMenu::TimerCloseSub);
    EXPECT_FALSE(child->IsWindowVisible());
    menu.DestroyWindow();
}

TEST_F(MenuTest, TopPanelWidensTheMenuAndIsPainted)
{
    TestMenu menu;
    ASSERT_TRUE(menu.Create(&notify, 1));
    menu.LoadFromMenu(bar);
    ASSERT_TRUE(menu.TrackPopup(0, 100, 100, &notify));
    CRect plain;
    menu.GetWindowRect(&plain);
    EXPECT_FALSE(menu.GetPanelVisible(CODMenu::PanelTop));
    EXPECT_FALSE(menu.SetPanelVisible(TRUE, 4)) << "no fifth panel";
    EXPECT_FALSE(menu.GetPanelVisible(-1));
    menu.SetPanelVisible(TRUE, CODMenu::PanelTop);
    menu.GetPanel(CODMenu::PanelTop)->SetItemHeight(12);
    menu.GetPanel(CODMenu::PanelTop)->SetColors(kGreen, kGreen);
    ASSERT_TRUE(menu.TrackPopup(0, 100, 100, &notify));
    CRect withPanel;
    menu.GetWindowRect(&withPanel);
    EXPECT_EQ(withPanel.Height(), plain.Height() + 12);
    EXPECT_EQ(withPanel.Width(), plain.Width());
    Canvas c(withPanel.Width(), withPanel.Height(), kBlack);
    menu.Paint(CDC::FromHandle(c.dc()));
    EXPECT_EQ(c.At(withPanel.Width() / 2, 1 + 6), kGreen) << "the panel under the one-pixel frame";
    EXPECT_EQ(menu.RowRect(0, 0).top, 1 + 12 + 2) << "the rows start below the panel";
    menu.DestroyWindow();
}

TEST_F(MenuTest, CallersColoursStayOverAReload)
{
    CODMenu::Defaults saved = CODMenu::ClassDefaults();
    CODMenu menu;
    ASSERT_TRUE(menu.Create(&notify, 1));
    EXPECT_EQ(menu.SetTextBkColor(kRed), saved.textBk);
    CODMenu::ClassDefaults().textBk = kBlue;
    CODMenu::ClassDefaults().imageBk = kYellow;
    menu.ReloadTheme();
    EXPECT_EQ(menu.GetTextBkColor(), kRed);
    EXPECT_EQ(menu.GetImageBkColor(), kYellow);
    CODMenu::ClassDefaults() = saved;
}


TEST_F(MenuTest, NormalAndCheckedEntriesShowTheirCaptions)
{
    TestMenu menu;
    ASSERT_TRUE(menu.Create(&notify, 1));
    LOGFONT lf = {};
    lf.lfHeight = -14;
    lf.lfWeight = FW_BOLD;
    lf.lfQuality = NONANTIALIASED_QUALITY;  // exact text pixels
    strcpy(lf.lfFaceName, "Tahoma");
    menu.SetFont(lf);  // entries take the menu's font when added
    menu.AddItem("WWWW", 1);
    menu.AddItem("WWWW", 2);
    menu.SetItemChecked(1, TRUE);
    ASSERT_TRUE(menu.TrackPopup(0, 100, 100, &notify));
    CRect client;
    menu.GetClientRect(&client);
    Canvas c(client.Width(), client.Height(), kWhite);
    menu.Paint(CDC::FromHandle(c.dc()));
    const COLORREF text = GetSysColor(COLOR_MENUTEXT);
    for (int row = 0; row < 2; ++row) {
        const CRect r = menu.RowRect(0, row);
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                n += c.At(x, y) == text;
        EXPECT_GT(n, 10) << "row " << row << ": the caption in the menu text colour";
    }
    menu.DestroyWindow();
}

TEST_F(MenuTest, FramePicturesFromTheThemeGiveTheFrameWidths)
{
    // The generated theme's "ODMenu" frame: edges 4 pixels thick.
    TempDir dir;
    ASSERT_TRUE(CopyFileA((ThemeFolder() + "Kelvarin.dll").c_str(), dir.File("Kelvarin.dll").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA((ThemeFolder() + "Mardavel_skn.ini").c_str(), dir.File("Mardavel_skn.ini").c_str(), FALSE))
        << "the build generates the theme";
    const CODMenu::Defaults saved = CODMenu::ClassDefaults();
    ASSERT_TRUE(ODInitLibrary(dir.File("Mardavel_skn.ini").c_str(), OD_THEME_LOOSE_FILES));
    {
        CODMenu menu;
        ASSERT_TRUE(menu.Create(&notify, 1));
        menu.LoadFromMenu(bar);
        EXPECT_FALSE(menu.CODSkinFrame::GetImage(CODSkinFrame::EdgeLeft).IsEmpty());
        ASSERT_TRUE(menu.TrackPopup(0, 100, 100, &notify));
        int w[4];
        menu.GetBorderWidths(w);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(w[i], 4) << i;
        CRect client;
        menu.GetClientRect(&client);
        EXPECT_EQ(client.Width(), menu.GetSizes().columnWidth + 8);
        // A frame picture of the caller's own stays over a reload.
        menu.SetFrameImage(CODSkinFrame::EdgeLeft, "");
        menu.ReloadTheme();
        EXPECT_TRUE(menu.CODSkinFrame::GetImage(CODSkinFrame::EdgeLeft).IsEmpty());
        EXPECT_FALSE(menu.CODSkinFrame::GetImage(CODSkinFrame::EdgeRight).IsEmpty());
        menu.DestroyWindow();
    }
    ODExitLibrary();
    CODMenu::ClassDefaults() = saved;
}

}  // namespace
