// The chat-action picker: opening and closing, the grid and its page
// buttons, a choice sent to the parent with the popup's page, out-of-range
// choices, an empty page, tooltip records removed with the popup, repeated
// open and close cycles.
#include "WidgetTestSupport.h"

#include "AnimatedImage.h"
#include "ChatActionPicker.h"
#include "ToolTipObjWnd.h"
#include "WidgetServices.h"

using namespace wtest;

namespace {

const UINT kPickerId = 330;

CString DataFile(const char* name) { return CString(WIDGET_TEST_DATA) + "/" + name; }

class ChatPickerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateShown(500, 380, 700, 600));
        ASSERT_TRUE(tip.Create(parent.m_hWnd));
        SetAppToolTip(&tip);
        strip = MakeArgbBitmap(200, 50, [](int, int) -> Gdiplus::ARGB { return 0xFF336699; });
        ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(300, 500, 300, 500), &parent,
                                  kPickerId));
        ASSERT_TRUE(button.Init(kPickerId, strip.get(), 262, 4, 0));
        // Page 1: 30 animated pictures; page 2: 66, alternating two files so
        // that an item's path tells which page it came from.
        for (int i = 0; i < 30; ++i)
            button.AddItem(DataFile("three_frames.gif"));
        for (int i = 0; i < 66; ++i)
            button.AddItem2(DataFile(i % 2 ? "no_delays.gif" : "zero_delays.gif"));
        button.AddItem("");   // adds nothing
    }
    void TearDown() override
    {
        button.DestroyWindow();
        SetAppToolTip(nullptr);
        parent.DestroyWindow();
    }

    void Click() { button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5)); }
    CHoverTextButton* Child(UINT id)
    {
        for (CHoverTextButton* c : button.GetPopup()->GetChildren())
            if ((UINT)c->GetDlgCtrlID() == id)
                return c;
        return nullptr;
    }
    void Command(UINT id)
    {
        button.GetPopup()->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)Child(id)->m_hWnd);
    }
    static std::string Narrow(const WCHAR* w)
    {
        std::string s;
        for (; w != nullptr && *w; ++w)
            s.push_back((char)*w);
        return s;
    }
    static bool EndsWith(const std::string& s, const std::string& tail)
    {
        return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
    }

    CTestParent parent;
    CToolTipObjWnd tip;
    std::unique_ptr<Gdiplus::Bitmap> strip;
    CChatActionButton button;
};

TEST_F(ChatPickerTest, OpensPageOneAboveTheButtonAndClosesOnTheNextClick)
{
    EXPECT_EQ(button.GetCount(), 30);
    EXPECT_EQ(button.GetCount(2), 66);
    Click();
    CChatActionPicker* popup = button.GetPopup();
    ASSERT_NE(popup, nullptr);
    ASSERT_TRUE(popup->IsWindowVisible());
    EXPECT_TRUE(parent.commands.empty()) << "opening is no click for the parent";
    EXPECT_EQ(popup->GetPage(), 1);
    EXPECT_EQ(popup->GetColumns(), 6);
    EXPECT_EQ(popup->GetRows(), 5);
    EXPECT_EQ(popup->GetChildren().size(), 32u) << "30 cells and 2 page buttons";
    // Pictures of 20 x 20: cells of 30; the grid opens upwards from the button's
    // top-left moved 40 to the left, with a 30-pixel strip below.
    CRect rcButton, rcPopup;
    button.GetWindowRect(&rcButton);
    popup->GetWindowRect(&rcPopup);
    EXPECT_EQ(rcPopup, CRect(rcButton.left - 40, rcButton.top - 5 * 30 - 30, rcButton.left - 40 + 6 * 30, rcButton.top));
    EXPECT_TRUE(Child(kPickerNextPageId)->IsWindowEnabled());
    EXPECT_FALSE(Child(kPickerPrevPageId)->IsWindowEnabled());
    EXPECT_EQ(tip.GetTools().size(), 30u) << "one tip per cell";
    EXPECT_STREQ(tip.GetTools()[0].pszText, "笑");

    Click();
    EXPECT_EQ(button.GetPopup(), nullptr);
    EXPECT_TRUE(tip.GetTools().empty()) << "the cells' tips go with the popup";
}

TEST_F(ChatPickerTest, ChoiceOnPageTwoReachesTheParentWithThatPage)
{
    Click();
    Command(kPickerNextPageId);   // posted: the popup is replaced after this click
    ASSERT_TRUE(PumpUntil([&] { return button.GetPopup() != nullptr && button.GetPopup()->GetPage() == 2; }));
    CChatActionPicker* popup = button.GetPopup();
    EXPECT_EQ(popup->GetColumns(), 9);
    EXPECT_EQ(popup->GetRows(), 8);
    EXPECT_FALSE(Child(kPickerNextPageId)->IsWindowEnabled());
    EXPECT_TRUE(Child(kPickerPrevPageId)->IsWindowEnabled());
    EXPECT_EQ(tip.GetTools().size(), 66u) << "page 1's tips were removed with its popup";
    EXPECT_STREQ(tip.GetTools()[65].pszText, "双心");
    CRect rcButton, rcPopup;
    button.GetWindowRect(&rcButton);
    popup->GetWindowRect(&rcPopup);
    EXPECT_EQ(rcPopup.left, rcButton.left - 40 - 18);

    Command(kPickerFirstItemId + 5);
    EXPECT_FALSE(popup->IsWindowVisible()) << "the popup hides itself";
    ASSERT_EQ(parent.commands.size(), 1u);
    EXPECT_EQ(parent.commands[0], std::make_pair(kPickerId, 0u));
    EXPECT_EQ(button.GetSelected(), 5);
    EXPECT_EQ(button.GetSelectedPage(), 2);
    EXPECT_TRUE(EndsWith(Narrow(button.GetItemPath(5)), "no_delays.gif")) << "page 2's sixth path";
    EXPECT_TRUE(EndsWith(Narrow(button.GetItemPath(1, 5)), "three_frames.gif"));
}

TEST_F(ChatPickerTest, AReceivedActionDoesNotChangeThePageOfAnOpenPopup)
{
    Click();
    Command(kPickerNextPageId);
    ASSERT_TRUE(PumpUntil([&] { return button.GetPopup() != nullptr && button.GetPopup()->GetPage() == 2; }));
    button.SetPage(1);   // a chat action from another seat arrives meanwhile
    Command(kPickerFirstItemId + 40);   // valid on page 2 (66), not on page 1 (30)
    ASSERT_EQ(parent.commands.size(), 1u);
    EXPECT_EQ(button.GetSelected(), 40);
    EXPECT_EQ(button.GetSelectedPage(), 2);
}

TEST_F(ChatPickerTest, OutOfRangeChoicesSendNothing)
{
    Click();
    for (WPARAM i : {(WPARAM)30, (WPARAM)1000, (WPARAM)-1})
        button.SendMessage(WM_PICKER_CHOSEN, i, 0);
    EXPECT_TRUE(parent.commands.empty());
    EXPECT_EQ(button.GetSelected(), 0);
}

TEST_F(ChatPickerTest, AfterAChoiceTheNextClickOpensAgain)
{
    Click();
    Command(kPickerFirstItemId + 2);
    ASSERT_NE(button.GetPopup(), nullptr);
    EXPECT_FALSE(button.GetPopup()->IsWindowVisible());
    Click();
    ASSERT_NE(button.GetPopup(), nullptr);
    EXPECT_TRUE(button.GetPopup()->IsWindowVisible());
    EXPECT_EQ(button.GetPopup()->GetPage(), 1);
    EXPECT_EQ(tip.GetTools().size(), 30u);
}

TEST_F(ChatPickerTest, HoveredCellPlaysAndIsStoppedWithThePopup)
{
    Click();
    CHoverTextButton* cell = Child(kPickerFirstItemId);
    ASSERT_NE(cell, nullptr);
    cell->SendMessage(WM_MOUSEHOVER, 0, 0);
    cell->UpdateWindow();
    ASSERT_NE(cell->GetAnimation(), nullptr);
    EXPECT_TRUE(cell->GetAnimation()->IsThreadRunning());
    Click();   // the popup goes while the cell is hovered: its thread is joined first
    EXPECT_EQ(button.GetPopup(), nullptr);
}

TEST_F(ChatPickerTest, TwoOpenCloseCyclesLeaveNothingBehind)
{
    Click();
    Click();   // warm up: classes registered, first allocations made
    const int before = CountGdiObjects();
    ASSERT_GT(before, 0);
    for (int i = 0; i < 2; ++i) {
        Click();
        ASSERT_NE(button.GetPopup(), nullptr);
        Command(kPickerNextPageId);
        ASSERT_TRUE(PumpUntil([&] { return button.GetPopup() != nullptr && button.GetPopup()->GetPage() == 2; }));
        Click();
        EXPECT_EQ(button.GetPopup(), nullptr);
    }
    PumpPendingMessages();
    EXPECT_EQ(CountGdiObjects(), before);
    EXPECT_TRUE(tip.GetTools().empty());
}

// A face is read when it is first needed, not when it is added: a file put
// in place after AddItem is the picture shown. A file still missing then
// gives a picture that says so.
TEST(ChatPickerFaces, ReadWhenFirstNeeded)
{
    CTestParent parent;
    ASSERT_TRUE(parent.CreateShown(500, 380, 700, 600));
    auto strip = MakeArgbBitmap(200, 50, [](int, int) -> Gdiplus::ARGB { return 0xFF336699; });
    CChatActionButton button;
    ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(300, 500, 300, 500), &parent,
                              kPickerId));
    ASSERT_TRUE(button.Init(kPickerId, strip.get(), 0, 4, 0));
    char temp[MAX_PATH];
    ASSERT_NE(::GetTempPathA(MAX_PATH, temp), 0u);
    const CString late = CString(temp) + "picker_late_face.gif";
    const CString never = CString(temp) + "picker_no_such_face.gif";
    ::DeleteFileA(late);
    ::DeleteFileA(never);
    button.AddItem(late);
    button.AddItem(never);
    button.AddItem2(late);
    ASSERT_TRUE(::CopyFileA(DataFile("three_frames.gif"), late, FALSE));

    Gdiplus::Image* first = button.GetImage(0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetLastStatus(), Gdiplus::Ok) << "the file as it is when first asked for";
    EXPECT_EQ(first->GetWidth(), 20u);
    EXPECT_EQ(button.GetImage(0), first) << "read once";
    Gdiplus::Image* missing = button.GetImage(1);
    ASSERT_NE(missing, nullptr) << "a missing face is still an item";
    EXPECT_NE(missing->GetLastStatus(), Gdiplus::Ok);

    button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ASSERT_NE(button.GetPopup(), nullptr);
    button.SendMessage(WM_PICKER_PAGE, 2, 0);
    ASSERT_NE(button.GetPopup(), nullptr) << "page 2's face read when the page opened";
    EXPECT_EQ(button.GetPopup()->GetPage(), 2);
    EXPECT_EQ(button.GetPopup()->GetChildren().size(), 3u) << "one cell and the two page buttons";
    button.DestroyWindow();
    parent.DestroyWindow();
    ::DeleteFileA(late);
}

TEST(ChatPickerEmpty, AnEmptyPageOpensNothing)
{
    CTestParent parent;
    ASSERT_TRUE(parent.CreateShown());
    auto strip = MakeArgbBitmap(200, 50, [](int, int) -> Gdiplus::ARGB { return 0xFF336699; });
    CChatActionButton button;
    ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(10, 10, 10, 10), &parent, kPickerId));
    ASSERT_TRUE(button.Init(kPickerId, strip.get(), 0, 4, 0));
    button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(button.GetPopup(), nullptr);
    EXPECT_EQ(button.GetItemPath(0), nullptr);
    EXPECT_EQ(button.GetImage(0), nullptr);
    button.SendMessage(WM_PICKER_CHOSEN, 0, 0);
    EXPECT_TRUE(parent.commands.empty());
    button.DestroyWindow();
    parent.DestroyWindow();
}

}  // namespace
