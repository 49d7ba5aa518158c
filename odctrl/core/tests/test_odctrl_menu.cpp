// The skinned pop-up menu window on the test display, with a fixed work area
// (1024 x 728, the task bar below): filled from a menu with a sub-menu, its
// placement near the right edge, the keyboard through a sub-menu to a chosen
// command posted to the notify window with the chain destroyed, the digit
// "0", and the menu closing when the focus leaves the chain.
#include "ODTestSupport.h"

#include "ODMenu.h"

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

}  // namespace
