// The owner-draw progress bar on a window of the test display: its range,
// position and loop arithmetic through the control and its messages, the
// gradient bar (normal, reversed, vertical, spread over the segment or the
// whole bar) and the two-colour text by pixel, an empty range, and theme
// values a caller set surviving a theme application.
#include "ODTestSupport.h"

#include "ODLibrary.h"
#include "ODProgressCtrl.h"

namespace {

using namespace odtest;

class ProgressTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateHidden(300, 200)) << "needs the test display";
        saved = CODProgressCtrl::ClassDefaults();
    }
    void TearDown() override { CODProgressCtrl::ClassDefaults() = saved; }

    // A bar of width x height with a white background, no frame, a bar of
    // one colour per end and a font without smoothing.
    void Make(CODProgressCtrl& bar, int width, int height, DWORD style = 0)
    {
        ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE | style, CRect(0, 0, width, height), &parent, 100));
        bar.SetColor(kWhite, CODProgressCtrl::ColorBk);
        bar.SetColor(kRed, CODProgressCtrl::ColorBarStart);
        bar.SetColor(kBlue, CODProgressCtrl::ColorBarEnd);
        CODProgressCtrl::ClassDefaults().borderWidth = 0;
        bar.ApplyTheme();  // the bar colours reach the gradient here
        LOGFONT lf = {};
        lf.lfHeight = -14;
        lf.lfWeight = FW_BOLD;
        lf.lfQuality = NONANTIALIASED_QUALITY;
        strcpy(lf.lfFaceName, "Tahoma");
        bar.SetFont(&lf);
    }
    std::unique_ptr<Canvas> Paint(CODProgressCtrl& bar)
    {
        CRect r;
        bar.GetClientRect(&r);
        std::unique_ptr<Canvas> c(new Canvas(r.Width(), r.Height(), kBlack));
        bar.PaintTo(CDC::FromHandle(c->dc()));
        return c;
    }

    CLogWnd parent;
    CODProgressCtrl::Defaults saved;
};

TEST_F(ProgressTest, DefaultsRangeAndMessages)
{
    CODProgressCtrl bar;
    ASSERT_TRUE(bar.Create(WS_CHILD, CRect(0, 0, 100, 10), &parent, 1));
    int lo = -1, hi = -1;
    bar.GetRange(lo, hi);
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 100);
    EXPECT_EQ(bar.GetModel().step, 1);
    EXPECT_EQ(bar.GetDisplayText(), "") << "flags 0x300 select no number";
    EXPECT_EQ(bar.GetColor(CODProgressCtrl::ColorBarStart), 0xFF0000u) << "blue";
    EXPECT_TRUE(GetPropA(bar.m_hWnd, "ODProgressCtrl") == reinterpret_cast<HANDLE>(4098));

    bar.SetRange(100, 0);
    bar.GetRange(lo, hi);
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 100);
    EXPECT_EQ(bar.SendMessage(PBM_SETPOS, 40, 0), 0);
    EXPECT_EQ(bar.SendMessage(PBM_GETPOS, 0, 0), 40);
    EXPECT_EQ(bar.SendMessage(PBM_DELTAPOS, 100, 0), 40);
    EXPECT_EQ(bar.GetPos(), 100) << "held at the upper bound";
    bar.SendMessage(PBM_SETRANGE32, 10, 20);
    EXPECT_EQ(bar.GetPos(), 20);
    EXPECT_EQ(bar.SetColor(kRed, 5), static_cast<COLORREF>(-1));
    EXPECT_EQ(bar.GetColor(5), static_cast<COLORREF>(-1));
}

TEST_F(ProgressTest, LoopModeRunsPastTheEndAndBounces)
{
    CODProgressCtrl bar;
    ASSERT_TRUE(bar.Create(WS_CHILD, CRect(0, 0, 100, 10), &parent, 1));
    bar.ModifyFlags(0, odprog::kLoop);
    bar.SetStep(10);
    for (int i = 0; i < 14; ++i)
        bar.StepIt();
    EXPECT_EQ(bar.GetPos(), 100);
    EXPECT_EQ(bar.GetModel().loopStart, 100) << "the segment's far end reached 140";
    EXPECT_FALSE(bar.GetFlags() & odprog::kReversed);
    bar.StepIt();
    EXPECT_EQ(bar.GetPos(), 10) << "wrapped";
    EXPECT_TRUE(bar.GetFlags() & odprog::kReversed) << "and flipped";
}

TEST_F(ProgressTest, GradientBarByPixel)
{
    CODProgressCtrl bar;
    Make(bar, 200, 10);
    bar.SetPos(50);
    auto c = Paint(bar);
    EXPECT_EQ(c->At(0, 5), kRed) << "the run starts at the start colour";
    EXPECT_EQ(c->At(150, 5), kWhite) << "beyond the position: the background";
    const COLORREF mid = c->At(99, 5);
    EXPECT_GT(GetRValue(mid), 90) << "over the whole bar, half way is about half way";
    EXPECT_LT(GetBValue(mid), 160);

    bar.ModifyFlags(0, odprog::kGradientOverSegment);
    c = Paint(bar);
    EXPECT_GT(GetBValue(c->At(99, 5)), 230) << "spread over the segment the end is near the end colour";

    bar.ModifyFlags(odprog::kGradientOverSegment, odprog::kReversed);
    c = Paint(bar);
    EXPECT_EQ(c->At(199, 5), kRed) << "reversed: grows from the right";
    EXPECT_EQ(c->At(50, 5), kWhite);
}

TEST_F(ProgressTest, VerticalBarGrowsFromTheBottom)
{
    CODProgressCtrl bar;
    Make(bar, 10, 100, PBS_VERTICAL);
    bar.SetPos(30);
    auto c = Paint(bar);
    EXPECT_EQ(c->At(5, 99), kRed);
    EXPECT_NE(c->At(5, 71), kWhite);
    EXPECT_EQ(c->At(5, 69), kWhite);
}

TEST_F(ProgressTest, TextTakesTheOnBarColourOverTheBar)
{
    CODProgressCtrl bar;
    Make(bar, 200, 24);
    bar.SetColor(kRed, CODProgressCtrl::ColorBarEnd);
    bar.ApplyTheme();  // a solid red bar
    bar.SetColor(kGreen, CODProgressCtrl::ColorText);
    bar.SetColor(kMagenta, CODProgressCtrl::ColorTextOnBar);
    bar.ModifyFlags(odprog::kTextMask, odprog::kTextPercent);
    bar.SetBarText("Load");
    bar.SetPos(50);
    EXPECT_EQ(bar.GetDisplayText(), "Load : 50%");
    auto c = Paint(bar);
    int green = 0, magenta = 0, misplaced = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 200; ++x) {
            const COLORREF p = c->At(x, y);
            if (p == kGreen) {
                ++green;
                misplaced += x < 100;
            } else if (p == kMagenta) {
                ++magenta;
                misplaced += x >= 100;
            }
        }
    EXPECT_GT(green, 10);
    EXPECT_GT(magenta, 10);
    EXPECT_EQ(misplaced, 0);

    // Inside the bar only, and only when it fits: at 10 % it does not.
    bar.ModifyFlags(0, odprog::kTextInsideBar);
    bar.SetPos(10);
    c = Paint(bar);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 200; ++x)
            ASSERT_TRUE(c->At(x, y) != kGreen && c->At(x, y) != kMagenta) << x << "," << y;
}

TEST_F(ProgressTest, EmptyRangeDrawsNoBarAndNoNumber)
{
    CODProgressCtrl bar;
    Make(bar, 100, 10);
    bar.ModifyFlags(odprog::kTextMask, odprog::kTextPercent);
    bar.SetRange32(5, 5);
    bar.SetPos(5);
    EXPECT_EQ(bar.GetDisplayText(), "");
    auto c = Paint(bar);
    for (int x = 0; x < 100; ++x)
        ASSERT_EQ(c->At(x, 5), kWhite) << x;
}

TEST_F(ProgressTest, ThemeApplicationKeepsWhatTheProgramSet)
{
    CODProgressCtrl bar;
    ASSERT_TRUE(bar.Create(WS_CHILD, CRect(0, 0, 100, 10), &parent, 1));
    bar.SetColor(kGreen, CODProgressCtrl::ColorText);
    const int oldMode = bar.SetBkMode(CODProgressCtrl::BkColour);
    EXPECT_EQ(oldMode, 0);
    CODProgressCtrl::ClassDefaults().colours[CODProgressCtrl::ColorText] = kCyan;
    CODProgressCtrl::ClassDefaults().colours[CODProgressCtrl::ColorTextOnBar] = kYellow;
    CODProgressCtrl::ClassDefaults().bkMode = CODProgressCtrl::BkParent;
    bar.SendMessage(ChangeThemeMsg, 0, 0);
    EXPECT_EQ(bar.GetColor(CODProgressCtrl::ColorText), kGreen);
    EXPECT_EQ(bar.GetColor(CODProgressCtrl::ColorTextOnBar), kYellow);
    EXPECT_EQ(bar.GetBkMode(), CODProgressCtrl::BkColour);
}

}  // namespace
