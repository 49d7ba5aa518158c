// CRoundTipWnd: the window around a picture, on each side of the point, the
// display timer and hiding.
#include "WidgetTestSupport.h"

#include "AnimatedImage.h"
#include "RoundTipWnd.h"

using namespace wtest;

namespace {

std::wstring TipPicture(const char* name)
{
    std::string s = std::string(WIDGET_TEST_DATA) + "/" + name;
    return std::wstring(s.begin(), s.end());
}

class RoundTipTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(owner.CreateShown(560, 400, 600, 500));
        ASSERT_TRUE(tip.CreateTip());
    }
    void TearDown() override
    {
        tip.DestroyWindow();
        owner.DestroyWindow();
    }
    CTestParent owner;
    CRoundTipWnd tip{&owner};
};

TEST_F(RoundTipTest, WindowAroundThePictureOnEachSide)
{
    // A 20 x 20 picture: W = 44, H = 40, the window 44 x 50; the point is in
    // the owner's client coordinates.
    struct Case {
        const char* what;
        BOOL up, left;
        CPoint topLeft;
    } cases[] = {
        {"own seat: above-left", TRUE, TRUE, {200 - 44 + 12, 200 - 40 - 10}},
        {"positions 1-2: below-right", FALSE, FALSE, {200 - 12, 200}},
        {"positions 3-4: below-left", FALSE, TRUE, {200 - 44 + 12, 200}},
        {"above-right", TRUE, FALSE, {188, 150}},
    };
    CPoint origin(0, 0);
    owner.ClientToScreen(&origin);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const POINT pt = {200, 200};
        tip.Show(TipPicture("three_frames.gif").c_str(), &pt, c.up, c.left);
        CRect rc;
        tip.GetWindowRect(&rc);
        EXPECT_EQ(rc.TopLeft(), c.topLeft + origin);
        EXPECT_EQ(rc.Width(), 44);
        EXPECT_EQ(rc.Height(), 50);
        EXPECT_TRUE(tip.IsWindowVisible());
        ASSERT_NE(tip.GetPicture(), nullptr);
        EXPECT_TRUE(tip.GetPicture()->IsThreadRunning());
        EXPECT_NE(tip.GetTimer(), 0u);
    }
    tip.Hide();
    EXPECT_FALSE(tip.IsWindowVisible());
    EXPECT_EQ(tip.GetTimer(), 0u);
    EXPECT_FALSE(tip.IsUp());
}

TEST_F(RoundTipTest, DisplayTimeEndsTheTipAndZeroKeepsIt)
{
    tip.SetDisplayTime(100);
    const POINT pt = {300, 300};
    tip.Show(TipPicture("one_frame.gif").c_str(), &pt, TRUE, TRUE);
    ASSERT_TRUE(PumpUntil([&] { return !tip.IsWindowVisible(); }));
    EXPECT_EQ(tip.GetPicture(), nullptr) << "the picture goes with the tip";

    tip.SetDisplayTime(0);
    tip.Show(TipPicture("three_frames.gif").c_str(), &pt, TRUE, TRUE);
    EXPECT_EQ(tip.GetTimer(), 0u) << "no display timer: up until hidden";
    EXPECT_TRUE(tip.IsWindowVisible());
}

TEST_F(RoundTipTest, DestroyedWhilePlayingStopsThePicture)
{
    const POINT pt = {300, 300};
    tip.Show(TipPicture("long_delays.gif").c_str(), &pt, FALSE, FALSE);
    ASSERT_NE(tip.GetPicture(), nullptr);
    tip.DestroyWindow();
    EXPECT_EQ(tip.GetPicture(), nullptr);
}

}  // namespace
