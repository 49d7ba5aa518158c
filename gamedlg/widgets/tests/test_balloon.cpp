// CBalloonWnd (setters and their refusals, opacity, shape, layout in its own
// font, the link line, hiding) and CHyperLinkLabel (links from its text,
// capture only over links, only web addresses opened).
#include "WidgetTestSupport.h"

#include "BalloonWnd.h"
#include "HyperLinkLabel.h"

using namespace wtest;

namespace {

const ::testing::Environment* const g_gdiplus = ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

class BalloonTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateShown(600, 400, 600, 500));
        ASSERT_TRUE(balloon.Create(&parent));
    }
    void TearDown() override
    {
        balloon.DestroyWindow();
        parent.DestroyWindow();
    }
    // Width of "a" in the balloon's current font, as its layout measures it.
    int CharWidth()
    {
        HDC dc = ::GetDC(balloon.m_hWnd);
        HGDIOBJ old = ::SelectObject(dc, balloon.GetCurrentFont());
        SIZE s = {};
        ::GetTextExtentPoint32A(dc, "a", 1, &s);
        ::SelectObject(dc, old);
        ::ReleaseDC(balloon.m_hWnd, dc);
        return s.cx;
    }
    SIZE Extent(const char* text)
    {
        HDC dc = ::GetDC(balloon.m_hWnd);
        HGDIOBJ old = ::SelectObject(dc, balloon.GetCurrentFont());
        SIZE s = {};
        ::GetTextExtentPoint32A(dc, text, (int)strlen(text), &s);
        ::SelectObject(dc, old);
        ::ReleaseDC(balloon.m_hWnd, dc);
        return s;
    }
    CTestParent parent;
    CBalloonWnd balloon;
};

TEST_F(BalloonTest, SetterRefusals)
{
    struct Case {
        const char* what;
        int w, h;
        bool ok;
        int width, height;
    } sizes[] = {
        {"ordinary", 170, 200, true, 170, 200},
        {"no height limit", 170, -1, true, 170, -1},
        {"width 0 refused", 0, 10, false, 170, -1},
        {"height below -1 refused", 10, -2, false, 170, -1},
        {"raised to the minimum", 5, 5, true, 20, 20},
    };
    for (const Case& c : sizes) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(balloon.SetSize(c.w, c.h) != FALSE, c.ok);
        EXPECT_EQ(balloon.GetStyle().nWidth, c.width);
        EXPECT_EQ(balloon.GetStyle().nHeight, c.height);
    }
    EXPECT_FALSE(balloon.SetAlphaPercent(101));
    EXPECT_EQ(balloon.GetAlphaPercent(), 70u);
    EXPECT_TRUE(balloon.SetAlphaPercent(100));

    LOGFONTA before = {}, after = {};
    ::GetObjectA(balloon.GetCurrentFont(), sizeof before, &before);
    EXPECT_EQ(before.lfHeight, 14) << "the current font starts as font 1";
    EXPECT_FALSE(balloon.SelectFont(2)) << "index 2 is ignored";
    ::GetObjectA(balloon.GetCurrentFont(), sizeof after, &after);
    EXPECT_EQ(after.lfHeight, 14);
    EXPECT_TRUE(balloon.SelectFont(0));
    ::GetObjectA(balloon.GetCurrentFont(), sizeof after, &after);
    EXPECT_EQ(after.lfHeight, 12);

    balloon.SetMinSize(0, 150);   // 0 keeps the width
    EXPECT_EQ(balloon.GetStyle().nMinWidth, 20);
    EXPECT_EQ(balloon.GetStyle().nMinHeight, 150);
    balloon.SetMargins(0, 4);
    EXPECT_EQ(balloon.GetStyle().nMarginX, 8);
    EXPECT_EQ(balloon.GetStyle().nMarginY, 4);
    balloon.SetCorner(6, 0);
    EXPECT_EQ(balloon.GetStyle().nCornerWidth, 6);
    EXPECT_EQ(balloon.GetStyle().nCornerHeight, 12);
    balloon.UpdateTailValues(0, 8);   // base 0 keeps the base
    EXPECT_EQ(balloon.GetStyle().nTailBase, 12);
    EXPECT_EQ(balloon.GetStyle().nTailOffset, 8);
    balloon.SetTailValues(40, -15);
    EXPECT_EQ(balloon.GetStyle().nTailBase, 40);
    EXPECT_EQ(balloon.GetStyle().nTailOffset, -15);
}

TEST_F(BalloonTest, OneLineTextShowsLayeredAndShapedWithTheTail)
{
    balloon.SetLinkText("");
    balloon.SetHideDelay(0);
    balloon.Popup("abc", 100, 100, 80, 60, 0);   // target above-left of the body
    ASSERT_TRUE(balloon.IsWindowVisible());
    EXPECT_TRUE(balloon.IsShown());
    EXPECT_TRUE(balloon.IsSingleLine());
    const int cx = Extent("abc").cx;
    EXPECT_EQ(balloon.GetContentSize().cx, std::max(20, cx + 16));
    EXPECT_EQ(balloon.GetTailPlacement(), 0) << "up 40, left 20: the top edge";

    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(::GetLayeredWindowAttributes(balloon.m_hWnd, NULL, &alpha, &flags));
    EXPECT_EQ(alpha, 70 * 255 / 100);
    EXPECT_EQ(flags, (DWORD)LWA_ALPHA);

    // The window starts at the target (case 0) and its region holds the apex and the body.
    CRect rc;
    balloon.GetWindowRect(&rc);
    CPoint origin(80, 60);
    parent.ClientToScreen(&origin);
    EXPECT_EQ(rc.TopLeft(), origin);
    HRGN rgn = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(balloon.GetWindowRgn(rgn), ERROR);
    EXPECT_TRUE(::PtInRegion(rgn, 20 + 10, 40 + 10)) << "inside the body";
    EXPECT_FALSE(::PtInRegion(rgn, 2, 30)) << "beside the tail";
    ::DeleteObject(rgn);

    balloon.SendMessage(WM_RBUTTONUP, 0, 0);   // a right click hides it
    EXPECT_FALSE(balloon.IsWindowVisible());
    EXPECT_FALSE(balloon.IsShown());
    EXPECT_TRUE(balloon.GetText().IsEmpty());
}

TEST_F(BalloonTest, OpacityTable)
{
    balloon.SetLinkText("");
    for (UINT percent : {100u, 0u, 90u}) {
        SCOPED_TRACE(percent);
        ASSERT_TRUE(balloon.SetAlphaPercent(percent));
        balloon.Popup("x", 100, 100, 100, 300, 0);
        BYTE alpha = 1;
        ASSERT_TRUE(::GetLayeredWindowAttributes(balloon.m_hWnd, NULL, &alpha, NULL));
        EXPECT_EQ(alpha, (BYTE)(percent * 255 / 100));
    }
}

TEST_F(BalloonTest, LinkLineMakesSeveralLinesAndPlacesTheLabel)
{
    balloon.SetLinkText("<A href=\"http://x.cn/p?id=7\">详细战绩查询</A>");
    balloon.Popup("abc", 100, 200, 300, 210, 2);
    EXPECT_FALSE(balloon.IsSingleLine()) << "one text line and the link line";
    CHyperLinkLabel& label = balloon.GetLinkLabel();
    ASSERT_TRUE(label.IsWindowVisible());
    CRect rcLabel;
    label.GetWindowRect(&rcLabel);
    balloon.ScreenToClient(&rcLabel);
    const RECT& text = balloon.GetTextRect();
    EXPECT_EQ(rcLabel.left, text.left + 20);
    EXPECT_EQ(rcLabel.top, text.bottom - 20);
    EXPECT_EQ(rcLabel.Height(), 20);
}

TEST_F(BalloonTest, LongAndDoubleByteTextIsCutNotOverrun)
{
    balloon.SetLinkText("");
    const int a = CharWidth();
    ASSERT_GT(a, 0);
    // A width that leaves 16 characters of "a" (and half of one spare): a
    // 40-byte line keeps 13 and "...".
    ASSERT_TRUE(balloon.SetSize(16 * a + a / 2 + 16, -1));
    balloon.Popup(CString('a', 40), 100, 100, 100, 300, 0);
    EXPECT_EQ(balloon.GetText(), CString('a', 13) + "...\n");
    EXPECT_TRUE(balloon.IsSingleLine());
    // Tiny widths and huge fonts never hang: a width of one pixel.
    ASSERT_TRUE(balloon.SetSize(1, -1));
    balloon.SetMinSize(1, 1);
    balloon.SetSize(1, -1);
    balloon.Popup("ab\xC4\xE3" "cd\n\xC4\xE3\xC4\xE3", 100, 100, 100, 300, 0);
    EXPECT_TRUE(balloon.IsShown());
    balloon.UpdateWindow();   // paints its lines
}

TEST_F(BalloonTest, PopupWithoutAWindowDoesNothing)
{
    CBalloonWnd bare;
    bare.Popup("text", 10, 10, 0, 0, 0);
    EXPECT_FALSE(bare.IsShown());
}

TEST_F(BalloonTest, HidesAfterItsDelay)
{
    balloon.SetLinkText("");
    balloon.SetHideDelay(100);
    balloon.Popup("bye", 100, 100, 100, 300, 0);
    ASSERT_TRUE(balloon.IsWindowVisible());
    ASSERT_TRUE(PumpUntil([&] { return !balloon.IsWindowVisible(); }));
    EXPECT_FALSE(balloon.IsShown());
}

// ---- Hyperlink label ------------------------------------------------------------------------------

std::vector<std::string>& Opened()
{
    static std::vector<std::string> v;
    return v;
}
BOOL RecordOpen(const char* address)
{
    Opened().push_back(address);
    return TRUE;
}

class LinkLabelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateShown(760, 560, 400, 200));
        ASSERT_TRUE(label.Create("", WS_CHILD | WS_VISIBLE, CRect(10, 10, 310, 60), &parent, 1));
        m_old = CHyperLinkLabel::SetOpenAddressRoutine(&RecordOpen);
        Opened().clear();
    }
    void TearDown() override
    {
        CHyperLinkLabel::SetOpenAddressRoutine(m_old);
        label.DestroyWindow();
        parent.DestroyWindow();
    }
    void SetText(const char* text)
    {
        label.ResetLinks();
        label.SetWindowText(text);
        label.Invalidate();
        label.UpdateWindow();
    }
    CPoint Screen(int x, int y)
    {
        CPoint p(x, y);
        label.ClientToScreen(&p);
        return p;
    }
    void Hover(int x, int y)
    {
        const CPoint p = Screen(x, y);
        label.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
    }
    CTestParent parent;
    CHyperLinkLabel label;
    CHyperLinkLabel::OpenAddressRoutine m_old = nullptr;
};

TEST_F(LinkLabelTest, AnchorOpensItsAddressAndCapturesOnlyOverTheLink)
{
    SetText("<A href=\"www.game.cn/r?u=1\">record</A> more text");
    ASSERT_EQ(label.GetLinks().size(), 1u);
    const widgets::Rc r = label.GetLinks()[0].rect;
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);

    Hover(r.right + 5, 5);   // text, not a link
    EXPECT_FALSE(label.IsOverLink());
    EXPECT_NE(::GetCapture(), label.m_hWnd);

    Hover(2, 2);
    EXPECT_TRUE(label.IsOverLink());
    EXPECT_EQ(::GetCapture(), label.m_hWnd);
    label.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    ASSERT_EQ(Opened().size(), 1u);
    EXPECT_EQ(Opened()[0], "http://www.game.cn/r?u=1");

    label.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(r.right + 5, 5));   // off the link: capture given back
    EXPECT_FALSE(label.IsOverLink());
    EXPECT_NE(::GetCapture(), label.m_hWnd);
}

TEST_F(LinkLabelTest, TextWithoutLinksNeverCaptures)
{
    SetText("plain words, no address");
    EXPECT_TRUE(label.GetLinks().empty());
    for (int x = 0; x < 300; x += 20)
        Hover(x, 5);
    EXPECT_FALSE(label.IsOverLink());
    EXPECT_NE(::GetCapture(), label.m_hWnd);
}

TEST_F(LinkLabelTest, BareLinkEndsAtTheCommaAndUnterminatedAnchorsAreSafe)
{
    SetText("see www.a.cn, then");
    ASSERT_EQ(label.GetLinks().size(), 1u);
    EXPECT_EQ(label.GetLinks()[0].address, "www.a.cn");
    SetText("<A href=\"www.x");   // ends inside the tag: nothing read past the text
    ASSERT_EQ(label.GetLinks().size(), 1u);
    EXPECT_EQ(label.GetLinks()[0].address, "www.x");
}

TEST_F(BalloonTest, RepositionShiftsOrShapesAgain)
{
    balloon.SetLinkText("");
    balloon.SetHideDelay(0);
    balloon.Popup("move me", 100, 100, 80, 60, 0);
    CRect before;
    balloon.GetWindowRect(&before);
    const int placement = balloon.GetTailPlacement();

    // Anchor and target moved by the same amount: the window moves with them.
    balloon.Reposition(0, 110, 105, 90, 65);
    CRect after;
    balloon.GetWindowRect(&after);
    EXPECT_EQ(after.TopLeft(), before.TopLeft() + CPoint(10, 5));
    EXPECT_EQ(after.Size(), before.Size());
    EXPECT_EQ(balloon.GetTailPlacement(), placement);

    // The target moved apart: laid out again, the tail now below (case 7).
    balloon.Reposition(0, 110, 105, 130, 400);
    EXPECT_EQ(balloon.GetTailPlacement(), 7);
    EXPECT_TRUE(balloon.IsWindowVisible());
    EXPECT_EQ(balloon.GetText(), "move me\n");

    // Hidden: nothing happens.
    balloon.Hide();
    balloon.Reposition(0, 300, 300, 300, 300);
    EXPECT_FALSE(balloon.IsWindowVisible());
}

}  // namespace
