// The rich tooltip window under the test display: the tool registry, the
// relay state machine driven by relayed mouse moves and WM_TIMER, the
// notification that changes only the shown copy, the palette and the theme
// reload, the balloon's pixels (solid, 64-band gradient, effect picture,
// border, shadow) and the mark-up measured on a memory DC.
#include "ODTestSupport.h"

#include "ODLibrary.h"
#include "ODTipEffect.h"
#include "ODTooltip.h"

namespace {

using namespace odtest;

POINT g_cursor = {0, 0};
BOOL FakeCursor(POINT* p)
{
    *p = g_cursor;
    return TRUE;
}

// The tests' windows share the display with other tests running at the same time, so the
// window under a point is asked of our own owner only: its rectangle, or nothing.
HWND g_owner = NULL;
HWND FakeWindowFromPoint(POINT screen)
{
    RECT r;
    if (g_owner && ::GetWindowRect(g_owner, &r) && ::PtInRect(&r, screen))
        return g_owner;
    return NULL;
}

class TestTooltip : public CODTooltip
{
public:
    using CODTooltip::m_current;
    using CODTooltip::PaintBalloon;
};

// The owner: a visible top-level window at (100, 100) with two children,
// A at (10, 20) and B at (150, 20), each 100 x 100. It records the
// notifications it gets and may rewrite the shown text.
class Owner : public CWnd
{
public:
    CLogWnd a, b;
    std::vector<RECT> notifiedRects;
    CString replaceText;

    bool Make()
    {
        if (!CreateEx(0, AfxRegisterWndClass(0), "owner", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, NULL, NULL))
            return false;
        if (!a.CreateChild(this, 1) || !b.CreateChild(this, 2))
            return false;
        a.SetWindowPos(NULL, 10, 20, 100, 100, SWP_NOZORDER | SWP_SHOWWINDOW);
        b.SetWindowPos(NULL, 150, 20, 100, 100, SWP_NOZORDER | SWP_SHOWWINDOW);
        UpdateWindow();
        return true;
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_NOTIFY) {
            auto* nm = reinterpret_cast<CODTooltip::NMTOOLTIP*>(lParam);
            if (nm->hdr.code == CODTooltip::NotifyShow) {
                notifiedRects.push_back(nm->tool->rect);
                if (!replaceText.IsEmpty())
                    nm->tool->text = replaceText;
                return 0;
            }
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// A mouse move relayed from a child at client (x, y); the cursor follows.
void Move(CODTooltip& tip, CWnd& child, int x, int y)
{
    POINT screen = {x, y};
    ::ClientToScreen(child.m_hWnd, &screen);
    g_cursor = screen;
    MSG m = {};
    m.hwnd = child.m_hWnd;
    m.message = WM_MOUSEMOVE;
    m.lParam = MAKELPARAM(x, y);
    m.pt = screen;
    tip.RelayEvent(&m);
}

bool TimerWasSet(CODTooltip& tip, UINT id) { return ::KillTimer(tip.m_hWnd, id) != 0; }

class TooltipTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CODTooltip::s_getCursorPos = &FakeCursor;
        CODTooltip::s_windowFromPoint = &FakeWindowFromPoint;
        ASSERT_TRUE(owner.Make()) << "needs the test display";
        g_owner = owner.m_hWnd;
        ASSERT_TRUE(tip.Create(&owner, TRUE));
        tip.SetBehaviour(CODTooltip::BehDefault | CODTooltip::BehNoActiveWindow);
    }
    void TearDown() override
    {
        CODTooltip::s_getCursorPos = saved;
        CODTooltip::s_windowFromPoint = savedUnder;
        g_owner = NULL;
    }

    BOOL (*saved)(POINT*) = CODTooltip::s_getCursorPos;
    HWND (*savedUnder)(POINT) = CODTooltip::s_windowFromPoint;
    Owner owner;
    TestTooltip tip;
};

TEST_F(TooltipTest, RegistryReplacesUpdatesAndRemoves)
{
    const CRect r1(1, 2, 30, 40), r2(5, 6, 7, 8);
    EXPECT_EQ(tip.AddTool(&owner.a, "first", &r1, 11), 1);
    EXPECT_EQ(tip.AddTool(&owner.b, "second", NULL, 12), 1);
    EXPECT_EQ(tip.GetToolCount(), 2);
    // The same window again: the record is replaced whole, the count stays.
    EXPECT_EQ(tip.AddTool(&owner.a, "third", &r2, 13), 1);
    ASSERT_EQ(tip.GetToolCount(), 2);
    EXPECT_EQ(tip.GetTool(0)->nId, 13u);
    EXPECT_STREQ(tip.GetTool(0)->text, "third");
    EXPECT_TRUE(EqualRect(&tip.GetTool(0)->rect, &r2));
    EXPECT_TRUE(IsRectEmpty(&tip.GetTool(1)->rect)) << "a null rectangle gives an empty one";
    // UpdateTipText finds the record by id; the window is not compared.
    tip.UpdateTipText("changed", &owner.a, 12);
    EXPECT_STREQ(tip.GetTool(1)->text, "changed");
    tip.UpdateTipText("nobody", &owner.a, 99);
    EXPECT_STREQ(tip.GetTool(0)->text, "third");
    // Removing moves the later records down.
    EXPECT_TRUE(tip.RemoveTool(0));
    ASSERT_EQ(tip.GetToolCount(), 1);
    EXPECT_EQ(tip.GetTool(0)->nId, 12u);
    EXPECT_FALSE(tip.RemoveTool(5));
}

TEST_F(TooltipTest, NamedImagesAndPalette)
{
    struct Case
    {
        const char* what;
        const char* name;
        UINT id;
        int kind;
        int result;
    };
    const Case cases[] = {
        {"an icon", "Star", 5, 0, 0},
        {"a masked bitmap", "Coin", 6, 2, 1},
        {"an empty name", "", 7, 0, -1},
        {"id 0", "Zero", 0, 1, -1},
        {"kind 3", "Three", 8, 3, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(tip.AddNamedImage(c.name, c.id, c.kind, 0xFF00FF), c.result) << c.what;
    EXPECT_EQ(tip.FindNamedImage("STAR"), 0) << "names ignore case";
    EXPECT_EQ(tip.FindNamedImage(6u), 1);
    EXPECT_EQ(tip.FindNamedImage("none"), -1);
    EXPECT_TRUE(tip.RemoveNamedImage(0));
    EXPECT_EQ(tip.FindNamedImage("Coin"), 0);

    EXPECT_EQ(tip.GetColor(9), 0x00FF00u) << "the sixteen standard colours";
    tip.SetColor(16, kRed);
    tip.SetColor(25, kBlue);
    tip.SetColor(-1, kBlue);
    EXPECT_EQ(tip.GetColor(16), kRed);
    EXPECT_EQ(tip.GetColor(25), kRed) << "25 and above read entry 16";
    EXPECT_EQ(tip.GetColor(99), kRed);
}

TEST_F(TooltipTest, RelayStateMachine)
{
    tip.AddTool(&owner.a, "Alpha", NULL, 1);
    tip.AddTool(&owner.b, "Beta", NULL, 2);

    // Over A: waiting for the initial delay, nothing shown yet.
    Move(tip, owner.a, 10, 10);
    EXPECT_EQ(tip.GetWaitingTool(), 0);
    EXPECT_EQ(tip.GetShownTool(), -1);
    EXPECT_FALSE(tip.IsWindowVisible());
    tip.SendMessage(WM_TIMER, CODTooltip::TimerShow, 0);
    EXPECT_TRUE(tip.IsWindowVisible());
    EXPECT_EQ(tip.GetShownTool(), 0);
    EXPECT_TRUE(TimerWasSet(tip, CODTooltip::TimerPop)) << "auto-pop after 5000 ms";

    // The same screen position again does nothing (no new delay starts).
    tip.Hide();
    Move(tip, owner.a, 10, 10);
    EXPECT_FALSE(TimerWasSet(tip, CODTooltip::TimerShow));
    EXPECT_FALSE(tip.IsWindowVisible());

    // Inside the shown tool with display flag 1: the delay starts again.
    Move(tip, owner.a, 11, 10);
    EXPECT_TRUE(TimerWasSet(tip, CODTooltip::TimerShow));
    tip.SendMessage(WM_TIMER, CODTooltip::TimerShow, 0);
    ASSERT_TRUE(tip.IsWindowVisible());

    // From A to B while shown: at once, without the delay.
    tip.SetDelayTime(CODTooltip::DelayAutoPop, 0);
    Move(tip, owner.b, 10, 10);
    EXPECT_TRUE(tip.IsWindowVisible());
    EXPECT_EQ(tip.GetShownTool(), 1);
    EXPECT_STREQ(tip.GetCurrentRecord().text, "Beta");
    EXPECT_FALSE(TimerWasSet(tip, CODTooltip::TimerShow));
    EXPECT_FALSE(TimerWasSet(tip, CODTooltip::TimerPop)) << "auto-pop 0: it stays";

    // The timer of a tool the cursor has left shows nothing.
    Move(tip, owner.a, 20, 20);
    g_cursor.x += 3;
    tip.SendMessage(WM_TIMER, CODTooltip::TimerShow, 0);
    EXPECT_FALSE(tip.IsWindowVisible());

    // A button press hides; a move over no tool clears both indexes.
    Move(tip, owner.a, 30, 30);
    tip.SendMessage(WM_TIMER, CODTooltip::TimerShow, 0);
    ASSERT_TRUE(tip.IsWindowVisible());
    MSG press = {};
    press.hwnd = owner.a.m_hWnd;
    press.message = WM_LBUTTONDOWN;
    press.lParam = MAKELPARAM(30, 30);
    tip.RelayEvent(&press);
    EXPECT_FALSE(tip.IsWindowVisible());
    POINT empty = {280, 150};
    ::ClientToScreen(owner.m_hWnd, &empty);
    g_cursor = empty;
    MSG away = {};
    away.hwnd = owner.m_hWnd;
    away.message = WM_MOUSEMOVE;
    away.lParam = MAKELPARAM(280, 150);
    tip.RelayEvent(&away);
    EXPECT_EQ(tip.GetWaitingTool(), -1);
    EXPECT_EQ(tip.GetShownTool(), -1);
}

TEST_F(TooltipTest, TextShownAtAPointBlocksTheRelayUntilTheNextHide)
{
    tip.AddTool(&owner.a, "Alpha", NULL, 1);
    tip.ShowAtPoint(CPoint(400, 300), "At a point");
    EXPECT_TRUE(tip.IsWindowVisible());
    EXPECT_EQ(tip.GetWaitingTool(), -2);
    Move(tip, owner.a, 10, 10);
    EXPECT_EQ(tip.GetWaitingTool(), -2) << "relayed moves are ignored";
    tip.Hide();
    Move(tip, owner.a, 12, 10);
    EXPECT_EQ(tip.GetWaitingTool(), 0) << "after the hide the relay works again";
}

TEST_F(TooltipTest, NotificationChangesOnlyTheShownCopy)
{
    const CRect r(2, 3, 50, 60);
    tip.AddTool(&owner.a, "Alpha", &r, 1);
    tip.SetNotify(TRUE);
    owner.replaceText = "Changed";
    Move(tip, owner.a, 10, 10);
    tip.SendMessage(WM_TIMER, CODTooltip::TimerShow, 0);
    ASSERT_TRUE(tip.IsWindowVisible());
    EXPECT_STREQ(tip.GetCurrentRecord().text, "Changed");
    EXPECT_STREQ(tip.GetTool(0)->text, "Alpha");
    ASSERT_EQ(owner.notifiedRects.size(), 1u);
    const CRect inOwner(12, 23, 60, 80);  // A lies at (10, 20) in the owner
    EXPECT_TRUE(EqualRect(&owner.notifiedRects[0], &inOwner));
    EXPECT_TRUE(EqualRect(&tip.GetCurrentRecord().rect, &r)) << "the shown record keeps its rectangle";
}

TEST_F(TooltipTest, ThemeReloadKeepsExplicitEntries)
{
    TempDir dir;
    ASSERT_TRUE(CopyFileA((ThemeFolder() + "Kelvarin.dll").c_str(), dir.File("Kelvarin.dll").c_str(), FALSE));
    ASSERT_TRUE(WriteText(dir.File("t.ini"), "[Resource]\r\nResFile=Kelvarin.dll\r\n[ODToolTip]\r\n"
                                             "ColorBkBegin=#1#2#3\r\nColorBkMid=#4#5#6\r\n"));
    const COLORREF before[2] = {CODTooltip::GetThemeColor(17), CODTooltip::GetThemeColor(18)};
    tip.SetColor(17, kMagenta);
    ASSERT_TRUE(ODInitLibrary(dir.File("t.ini").c_str(), OD_THEME_LOOSE_FILES));
    EXPECT_EQ(CODTooltip::GetThemeColor(18), RGB(4, 5, 6));
    tip.SendMessage(ODGetThemeMessage(), 0, 0);
    EXPECT_EQ(tip.GetColor(17), kMagenta) << "set by the program";
    EXPECT_EQ(tip.GetColor(18), RGB(4, 5, 6)) << "follows the theme";
    ODExitLibrary();
    // Put the class values back for the other tests.
    ASSERT_TRUE(WriteText(dir.File("t.ini"), "[Resource]\r\nResFile=Kelvarin.dll\r\n[ODToolTip]\r\nColorBkBegin=" +
                                                 std::to_string(before[0]) + "\r\nColorBkMid=" +
                                                 std::to_string(before[1]) + "\r\n"));
    ASSERT_TRUE(ODInitLibrary(dir.File("t.ini").c_str(), OD_THEME_LOOSE_FILES));
    ODExitLibrary();
}

// ---- The balloon's pixels ----------------------------------------------------------------------

class BalloonPixels : public TooltipTest
{
protected:
    // Shows a plain balloon (no pointer, corners or shadow unless asked) and
    // paints it onto a white canvas of the window's size.
    void Paint(UINT behaviour, UINT effect, UINT param = 0)
    {
        tip.SetGeometryPreset(FALSE);
        tip.SetBehaviour(behaviour | CODTooltip::BehNoActiveWindow);
        tip.SetEffect(effect, param);
        tip.SetColor(CODTooltip::PalBkBegin, kRed);
        tip.SetColor(CODTooltip::PalBkMid, kGreen);
        tip.SetColor(CODTooltip::PalBkEnd, kBlue);
        tip.SetColor(CODTooltip::PalBorder, kBlack);
        tip.SetColor(CODTooltip::PalShadow, kGrey);
        tip.ShowAtPoint(CPoint(300, 300), "      ");
        CRect w;
        tip.GetWindowRect(&w);
        width = w.Width();
        height = w.Height();
        canvas.reset(new Canvas(width, height, kWhite));
        tip.PaintBalloon(CDC::FromHandle(canvas->dc()), CRect(0, 0, width, height));
    }
    int width = 0, height = 0;
    std::unique_ptr<Canvas> canvas;
};

// The colour of pixel x of a 64-band fill over 0..length, worked out from
// the band formula: band i covers (length i) >> 6 .. (length (i + 1)) >> 6.
COLORREF BandColour(int x, int length, COLORREF f, COLORREF t)
{
    for (int i = 0; i < 64; ++i)
        if (x >= (length * i) >> 6 && x < (length * (i + 1)) >> 6) {
            auto ch = [&](int shift) {
                const int a = (f >> shift) & 0xFF, b = (t >> shift) & 0xFF;
                return static_cast<COLORREF>(((a * 64 + i * (b - a)) >> 6) & 0xFF) << shift;
            };
            return ch(0) | ch(8) | ch(16);
        }
    return CLR_INVALID;
}

TEST_F(BalloonPixels, SolidFillAndBorder)
{
    Paint(0, 0);
    EXPECT_EQ(canvas->At(0, 0), kBlack) << "border";
    EXPECT_EQ(canvas->At(2, height / 2), kRed) << "kind 0: ColorBkBegin";
    Paint(0, 17);
    EXPECT_EQ(canvas->At(2, height / 2), kRed) << "kind 17 without a bitmap: ColorBkBegin";
}

TEST_F(BalloonPixels, GradientKindsUseThePaletteNotTheToolColours)
{
    tip.SetBkColors(kYellow, kCyan, kMagenta);
    Paint(0, 1);
    // The fill covers the client less one pixel at right and bottom; the
    // balloon (two pixels narrower than the window) shows it inside its border.
    const int length = width - 1;
    for (int x : {1, 5, length / 2, width - 4})
        EXPECT_EQ(canvas->At(x, height / 2), BandColour(x, length, kRed, kBlue)) << x;
    Paint(0, 5);  // left half red to green, right half green to blue
    const int mid = length / 2;
    EXPECT_EQ(canvas->At(1, height / 2), BandColour(1, mid, kRed, kGreen));
    EXPECT_EQ(canvas->At(mid + 1, height / 2), BandColour(1, length - mid, kGreen, kBlue));
}

TEST_F(BalloonPixels, EffectKindsUseTheToolColours)
{
    // Kind 7, grain 0, rand() held at 0: every pixel is index 128, which is
    // (begin + 127 middle) / 128 shaded 5 % towards begin.
    int (*savedRandom)() = CODTooltip::s_random;
    CODTooltip::s_random = [] { return 0; };
    tip.SetBkColors(kRed, kBlue, kGreen);
    Paint(0, 7, 0);
    CODTooltip::s_random = savedRandom;
    uint8_t palette[256][3];
    odtip::BuildEffectPalette(kRed, kBlue, kGreen, 5, kRed, palette);
    const COLORREF expected = RGB(palette[128][0], palette[128][1], palette[128][2]);
    EXPECT_EQ(canvas->At(3, height / 2), expected);
    EXPECT_EQ(tip.GetEffectImage().GetWidth(), width - 2) << "the picture has the balloon's size";
}

TEST_F(BalloonPixels, ShadowMasksWhatLiesBeyondTheBody)
{
    tip.SetGeometryPreset(FALSE);
    tip.SetBehaviour(CODTooltip::BehShadow | CODTooltip::BehNoActiveWindow);
    tip.SetGeometry(CODTooltip::GeoShadowX, 4);
    tip.SetGeometry(CODTooltip::GeoShadowY, 4);
    tip.SetColor(CODTooltip::PalBkBegin, kRed);
    tip.SetColor(CODTooltip::PalShadow, kGrey);
    tip.ShowAtPoint(CPoint(300, 300), "      ");
    CRect w;
    tip.GetWindowRect(&w);
    Canvas c(w.Width(), w.Height(), kWhite);
    tip.PaintBalloon(CDC::FromHandle(c.dc()), CRect(0, 0, w.Width(), w.Height()));
    // Balloon w - 2 by h - 2; body 4 smaller; the shadow is the body moved by (4, 4).
    const int bw = w.Width() - 2 - 4, bh = w.Height() - 2 - 4;
    EXPECT_EQ(c.At(bw / 2, bh / 2), kRed) << "the body covers the shadow";
    EXPECT_EQ(c.At(bw + 1, bh + 1), kGrey) << "white masked with the shadow colour";
    EXPECT_EQ(c.At(bw + 1, 1), kWhite) << "outside body and shadow";
}

TEST_F(TooltipTest, ShowAndHideLeakNoGdiObjects)
{
    tip.SetEffect(9, 10);
    tip.ShowAtPoint(CPoint(300, 300), "<b>warm</b> up<br><ct=255>red");
    tip.UpdateWindow();
    tip.Hide();
    const int before = CountGdiObjects();
    ASSERT_GT(before, 0) << "the counter sees the objects";
    for (int i = 0; i < 20; ++i) {
        tip.SetEffect(i % 19, 10);
        tip.ShowAtPoint(CPoint(300, 300), "<b>warm</b> up<br><ct=255>red<hr=50%>");
        tip.UpdateWindow();
        tip.Hide();
    }
    EXPECT_EQ(CountGdiObjects(), before);
}

// ---- The renderer on a memory DC ----------------------------------------------------------------

TEST_F(TooltipTest, RendererMeasuresWithTheDCsFont)
{
    LOGFONT lf = {};
    lf.lfHeight = -14;
    lf.lfWeight = FW_NORMAL;
    lf.lfQuality = NONANTIALIASED_QUALITY;
    strcpy(lf.lfFaceName, "Tahoma");
    tip.SetFont(lf);
    Canvas c(400, 200, kWhite);
    CDC* dc = CDC::FromHandle(c.dc());
    // The widths the renderer should find, measured here with the same fonts.
    HFONT normal = CreateFontIndirectA(&lf);
    LOGFONT bold = lf;
    bold.lfWeight = 800;
    HFONT heavy = CreateFontIndirectA(&bold);
    auto extent = [&](HFONT f, const char* s) {
        HGDIOBJ old = SelectObject(c.dc(), f);
        SIZE sz;
        GetTextExtentPoint32A(c.dc(), s, static_cast<int>(strlen(s)), &sz);
        TEXTMETRICA tm;
        GetTextMetricsA(c.dc(), &tm);
        SelectObject(c.dc(), old);
        return std::make_pair(sz, tm);
    };
    const auto lt = extent(normal, "a<b");
    const auto x = extent(heavy, "x");
    const auto y = extent(normal, "y");
    const int stop = 4 * lt.second.tmAveCharWidth;
    struct Case
    {
        const char* what;
        const char* text;
        int width, height;
    };
    const Case cases[] = {
        {"two < print one", "a<<b", lt.first.cx, lt.first.cy},
        {"bold then plain", "<b>x</b>y", x.first.cx + y.first.cx, lt.first.cy},
        {"t=2 at the left edge", "<t=2>y", 2 * stop + y.first.cx, lt.first.cy},
        {"br=3", "y<br=3>y", y.first.cx, 4 * lt.first.cy},
        {"an unknown tag joins the text", "a<<<zz>b", lt.first.cx, lt.first.cy},
    };
    for (const auto& k : cases) {
        const CSize s = tip.Render(dc, CRect(0, 0, 400, 200), k.text, TRUE);
        EXPECT_EQ(s.cx, k.width) << k.what;
        EXPECT_EQ(s.cy, k.height) << k.what;
    }
    // cti=9 draws in palette entry 9 (0x00FF00); cti=30 leaves entry 16.
    tip.SetColor(16, kBlue);
    tip.Render(dc, CRect(0, 0, 400, 200), "<cti=9>HH<cti=30>HH", TRUE);
    tip.Render(dc, CRect(0, 0, 400, 200), "<cti=9>HH<cti=30>HH", FALSE);
    int green = 0, blue = 0;
    for (int yy = 0; yy < 40; ++yy)
        for (int xx = 0; xx < 400; ++xx) {
            green += c.At(xx, yy) == kGreen;
            blue += c.At(xx, yy) == kBlue;
        }
    EXPECT_GT(green, 10);
    EXPECT_EQ(blue, 0);
    DeleteObject(normal);
    DeleteObject(heavy);
}

}  // namespace
