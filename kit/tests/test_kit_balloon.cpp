// The text balloon window over a real parent: the queue through the window,
// ticks driven by sending WM_TIMER 13528, positions, the second balloon's
// start, the fade to nothing, the timer stopping when idle, and a blended
// pixel between the background and the box colour.
#include "KitTestSupport.h"

#include "TextBalloonWnd.h"

namespace {

using namespace kittest;

class CParentWnd : public CWnd
{
public:
    BOOL Make()
    {
        return CreateEx(0, AfxRegisterWndClass(0), "parent", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, NULL, NULL);
    }
};

class BalloonTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.Make());
        ASSERT_TRUE(m_balloons.Create("", WS_CHILD, CRect(0, 0, 1, 1), &m_parent, 77));
    }
    void TearDown() override
    {
        m_balloons.DestroyWindow();
        m_parent.DestroyWindow();
        PumpPendingMessages();
        AfxDeleteTempMaps();
    }
    void Tick() { m_balloons.SendMessage(WM_TIMER, kBalloonTimerId, 0); }
    CParentWnd m_parent;
    CTextBalloonWnd m_balloons;
};

TEST_F(BalloonTest, QueueLimits)
{
    EXPECT_FALSE(m_balloons.AddText(NULL));
    EXPECT_FALSE(m_balloons.AddText(""));
    EXPECT_FALSE(m_balloons.AddTextId(65000)) << "no such string";
    EXPECT_FALSE(m_balloons.IsBusy());
    // The first starts at once; ten more wait behind it; the twelfth is refused.
    for (int i = 0; i < 11; i++)
        EXPECT_TRUE(m_balloons.AddText(("text " + std::to_string(i)).c_str())) << i;
    EXPECT_FALSE(m_balloons.AddText("one too many"));
    EXPECT_TRUE(m_balloons.IsBusy());
    EXPECT_TRUE(m_balloons.IsTimerRunning());
}

TEST_F(BalloonTest, TicksMoveFadeAndStop)
{
    m_balloons.SetDisplayTime(1000);   // 11 steps
    ASSERT_TRUE(m_balloons.AddText("Hello"));
    const CTextBalloon& b = m_balloons.GetBalloon(0);
    ASSERT_FALSE(b.IsFinished());
    const CRect start = b.GetStartRect();
    EXPECT_EQ(start.top, 300 * 70 / 100) << "top at the end percentage of the parent's height";
    EXPECT_EQ(start.left + start.Width() / 2, 200) << "centred on half the parent's width";
    EXPECT_EQ(b.GetTiming().steps, 11);
    EXPECT_EQ(b.GetAlpha(), 128);
    // rise per step = 300 x 50% / 11.
    for (int step = 1; step <= 11; step++) {
        Tick();
        EXPECT_EQ(b.GetStep(), step);
        EXPECT_EQ(b.GetRect().top, start.top - (int)(step * (150.0 / 11))) << step;
    }
    EXPECT_EQ(b.GetAlpha(), 0) << "nothing left at the last step";
    EXPECT_TRUE(m_balloons.IsTimerRunning());
    Tick();
    EXPECT_TRUE(b.IsFinished());
    EXPECT_FALSE(m_balloons.IsBusy());
    EXPECT_FALSE(m_balloons.IsTimerRunning()) << "idle: the timer stops";
}

TEST_F(BalloonTest, SecondBalloonWaitsForTheFirstToRise)
{
    m_balloons.SetDisplayTime(7000);
    ASSERT_TRUE(m_balloons.AddText("first"));
    ASSERT_TRUE(m_balloons.AddText("second"));
    const CTextBalloon& first = m_balloons.GetBalloon(0);
    const CTextBalloon& second = m_balloons.GetBalloon(1);
    EXPECT_TRUE(second.IsFinished()) << "waiting";
    const int h = first.GetStartRect().Height();
    const int needed = h + (h + 5) / 5;
    int ticks = 0;
    while (second.IsFinished() && ticks < 200) {
        const int risenBefore = first.GetRisen();
        Tick();
        ticks++;
        if (second.IsFinished())
            EXPECT_LE(first.GetRisen(), needed + 3) << "not yet far enough";
        else
            EXPECT_GT(risenBefore, needed) << "started once the first had risen far enough";
    }
    EXPECT_FALSE(second.IsFinished());
}

TEST_F(BalloonTest, NegativeDisplayTimeTakesTheDefault)
{
    m_balloons.SetDisplayTime(-300);
    ASSERT_TRUE(m_balloons.AddText("x"));
    EXPECT_EQ(m_balloons.GetBalloon(0).GetTiming().steps, 71) << "the window's 7000 ms";
}

TEST_F(BalloonTest, BlendLiesBetweenBackgroundAndBox)
{
    m_balloons.SetBoxColor(kBlue);
    ASSERT_TRUE(m_balloons.AddText("WWWW"));
    const CRect r = m_balloons.GetBalloon(0).GetRect();
    Canvas canvas(400, 300, kWhite);
    m_balloons.Paint(CDC::FromHandle(canvas.dc()));
    const COLORREF c = canvas.At(r.left + r.Width() / 2, r.bottom - 2);
    // Alpha 128 of blue over white: about (127, 127, 255).
    EXPECT_GT(GetRValue(c), 100);
    EXPECT_LT(GetRValue(c), 160);
    EXPECT_EQ(GetBValue(c), 255);
    EXPECT_EQ(canvas.At(r.left - 5, r.top), kWhite) << "outside the balloon";
}

}  // namespace

// ---- The link text on a window --------------------------------------------------------------

#include "HyperLinkText.h"

namespace {

std::vector<std::string> g_opened;
void RecordOpen(LPCSTR address) { g_opened.push_back(address); }

TEST_F(BalloonTest, LinkTextHandsOnlyWebAddressesToTheShell)
{
    CHyperLinkText::OpenRoutine old = CHyperLinkText::SetOpenRoutine(RecordOpen);
    struct Case { const char* text; const char* opened; };
    const Case cases[] = {
        {"go <A href=\"http://a.cn/x\">here</a> now", "http://a.cn/x"},
        {"www.b.cn", "http://www.b.cn"},
        {"http://c.cn, more", "http://c.cn"},
    };
    for (const Case& c : cases) {
        g_opened.clear();
        CHyperLinkText link;
        ASSERT_TRUE(link.Create(c.text, WS_CHILD | WS_VISIBLE | SS_NOTIFY, CRect(10, 10, 390, 60), &m_parent, 78));
        link.SetWindowText(c.text);
        CDC* pDC = link.GetDC();
        link.Layout(pDC);
        link.ReleaseDC(pDC);
        ASSERT_EQ(link.GetLayout().links.size(), 1u) << c.text;
        const kit::KRect r = link.GetLayout().links[0].rect;
        CPoint p(r.left + 1, r.top + 1);
        link.ClientToScreen(&p);
        link.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
        EXPECT_TRUE(link.IsHot()) << c.text;
        link.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.left + 1, r.top + 1));
        ASSERT_EQ(g_opened.size(), 1u) << c.text;
        EXPECT_EQ(g_opened[0], c.opened);
        // Leaving the link: no longer hot, a click opens nothing.
        link.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(r.right + 50, r.bottom + 20));
        EXPECT_FALSE(link.IsHot());
        link.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.right + 50, r.bottom + 20));
        EXPECT_EQ(g_opened.size(), 1u);
        link.DestroyWindow();
    }
    CHyperLinkText::SetOpenRoutine(old);
}

}  // namespace
