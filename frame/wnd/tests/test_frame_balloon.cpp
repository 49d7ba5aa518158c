// The chat balloon window: body sizes from the text, the tail's placement
// and the window's region, opacity, the setters' refusals, hiding by timer
// and by click, and the scene showing a seat's balloon.
#include <gtest/gtest.h>

#include "ChatBalloonWnd.h"
#include "test_support.h"

namespace {

class BalloonTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(balloon.Create(NULL)); }
    CChatBalloonWnd balloon;
};

TEST_F(BalloonTest, BodySizeAndPlacement)
{
    balloon.SetTail(16, 8);
    balloon.SetMinSize(70, 45);
    ASSERT_TRUE(balloon.SetSize(126, 100));
    balloon.SetHideTime(0);
    balloon.Show("hi", 100, 100, 90, 60, 0);
    EXPECT_TRUE(balloon.IsShown());
    EXPECT_TRUE(balloon.IsSingleLine());
    EXPECT_EQ(70, balloon.GetBodySize().cx) << "a short line: exactly the minimum width";
    EXPECT_EQ(45, balloon.GetBodySize().cy);
    EXPECT_EQ(0, balloon.GetPlacement()) << "target left of and above the body, nearer the top";
    RECT box;
    ASSERT_NE(ERROR, GetRgnBox(balloon.GetBodyRegion(), &box));
    // Window origin (90, 60): the body at (10, 40) 70 x 45, the tail's tip at
    // (0, 0).
    EXPECT_LE(box.left, 2) << "the tail reaches to its tip (a polygon region may leave out the tip's pixel)";
    EXPECT_LE(box.top, 2);
    EXPECT_NEAR(80, box.right, 1) << "rounded regions may leave out the last column";
    EXPECT_NEAR(85, box.bottom, 1);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(balloon.GetSafeHwnd(), NULL, &alpha, &flags));
    EXPECT_EQ(70 * 255 / 100, alpha);
    EXPECT_FALSE(KillTimer(balloon.GetSafeHwnd(), CChatBalloonWnd::kHideTimer)) << "hide time 0: no timer";

    struct Case
    {
        const char* what;
        int tx, ty, mode;
        int placement;
    } cases[] = {
        {"directly above the columns", 120, 20, 0, 1},
        {"level with the top, inside the columns", 120, 100, 0, 7},
        {"tie left/above: top edge", 60, 60, 0, 0},
        {"tie right/above: top edge", 210, 60, 0, 2},
        {"right, below, tie: bottom edge", 210, 185, 0, 8},
        {"left beside", 10, 120, 0, 4},
        {"anchor mode 3: body above-left of the anchor", 160, 150, 3, 11},
    };
    for (const auto& k : cases) {
        balloon.Show("hi", 100, 100, k.tx, k.ty, k.mode);
        EXPECT_EQ(k.placement, balloon.GetPlacement()) << k.what;
    }

    // Empty text keeps the layout.
    balloon.Show("a much longer line of text that wraps", 100, 100, 90, 60, 0);
    const SIZE wrapped = balloon.GetBodySize();
    EXPECT_FALSE(balloon.IsSingleLine());
    EXPECT_LE(wrapped.cy, 100) << "at most the maximum height";
    balloon.Show("", 100, 100, 90, 60, 0);
    EXPECT_EQ(wrapped.cx, balloon.GetBodySize().cx);
    EXPECT_EQ(wrapped.cy, balloon.GetBodySize().cy);
}

TEST_F(BalloonTest, SettersRefuse)
{
    EXPECT_FALSE(balloon.SetSize(0, 10));
    EXPECT_FALSE(balloon.SetSize(10, -2));
    EXPECT_TRUE(balloon.SetSize(10, -1));
    EXPECT_EQ(balloon.GetStyle().minWidth, balloon.GetStyle().maxWidth) << "raised to the minimum width";
    EXPECT_EQ(-1, balloon.GetStyle().maxHeight);
    balloon.SetAlpha(101);
    EXPECT_EQ(70, balloon.GetAlpha());
    balloon.SetAlpha(0);
    EXPECT_EQ(0, balloon.GetAlpha());
    balloon.SetTail(0, 3);
    EXPECT_EQ(12, balloon.GetStyle().tailWidth) << "a width of 0 is not stored";
    EXPECT_EQ(3, balloon.GetStyle().tailOffset);
}

TEST_F(BalloonTest, HidesOnTimerAndClick)
{
    balloon.SetHideTime(1);
    balloon.Show("bye", 50, 50, 40, 30, 0);
    ASSERT_TRUE(balloon.IsShown());
    // Wait for the hide timer's message itself.
    MSG msg;
    while (balloon.IsShown() && GetMessageA(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    EXPECT_FALSE(balloon.IsShown());
    EXPECT_TRUE(balloon.GetText().empty());

    balloon.SetHideTime(0);
    balloon.Show("click", 50, 50, 40, 30, 0);
    balloon.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_FALSE(balloon.IsShown());
    balloon.SetHideOnClick(FALSE);
    balloon.Show("stays", 50, 50, 40, 30, 0);
    balloon.SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(balloon.IsShown());
    balloon.Hide();
    EXPECT_FALSE(IsWindowVisible(balloon.GetSafeHwnd()));
}

TEST_F(BalloonTest, MovesWithItsSpeaker)
{
    balloon.SetHideTime(0);
    balloon.Show("hello", 100, 100, 90, 60, 0);
    CRect before;
    balloon.GetWindowRect(&before);
    balloon.Move(110, 105, 100, 65, 0);
    CRect after;
    balloon.GetWindowRect(&after);
    EXPECT_EQ(before.left + 10, after.left);
    EXPECT_EQ(before.top + 5, after.top);
    EXPECT_EQ(110, balloon.GetBodyOrigin().x);
    EXPECT_EQ("hello", balloon.GetText());
}

}  // namespace
