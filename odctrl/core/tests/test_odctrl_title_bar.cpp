// The caption bar drawn on a memory DC: each button image is a strip of
// four one-colour cells (state k in colour k), so the pixel at a button
// tells which state it was drawn in; the restore image while maximised; the
// hit test through the class; the minimum width; the regions of the image
// background.
#include "ODTestSupport.h"

#include "ODTitleBar.h"

namespace {

using namespace odtest;

const COLORREF kStateColours[4] = {kRed, kGreen, kBlue, kYellow};

BOOL Load(CODSkinImage& image, HBITMAP bitmap, int transparent, int cells, int states)
{
    CBitmap b;
    b.Attach(bitmap);
    const BOOL ok = image.CreateFromBitmap(&b, transparent, cells, states, 1, 0, FALSE);
    b.DeleteObject();
    return ok;
}

// A strip of four cells of w x h, cell k in kStateColours[k].
void LoadStates(CODSkinImage& image, int w, int h)
{
    ASSERT_TRUE(Load(image, MakeBitmap(4 * w, h, [w](int x, int) { return kStateColours[x / w]; }), -1, 4, 4));
}

class TitleBarTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        bar.SetStyleFlags(WS_SYSMENU | WS_MAXIMIZEBOX | WS_MINIMIZEBOX);
        bar.SetColors(kWhite);
        const POINT at[CODTitleBar::PosCount] = {{2, 0xFFFF}, {2, 0xFFFF}, {2, 0xFFFF}, {4, 0xFFFF}, {5, 0}};
        for (int i = 0; i < CODTitleBar::PosCount; ++i)
            bar.SetPosition(i, at[i]);
        for (int i : {CODTitleBar::ImgSysMenu, CODTitleBar::ImgMin, CODTitleBar::ImgMax, CODTitleBar::ImgClose})
            LoadStates(bar.GetImage(i), 16, 14);
    }
    // The colour at the middle of a button after drawing on a 300 x 30 caption.
    COLORREF At(const Canvas& c, int button)
    {
        const odtitle::Layout l = bar.Arrange(caption);
        const odtitle::Rect& r = l.buttons[button];
        return c.At((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    CODTitleBar bar;
    const CRect caption = CRect(0, 0, 300, 30);
};

TEST_F(TitleBarTest, ButtonStatesActiveAndInactive)
{
    EXPECT_EQ(bar.SetButtonState(0, 0), 0);  // close
    EXPECT_EQ(bar.SetButtonState(1, 2), 0);  // maximise pressed
    EXPECT_EQ(bar.SetButtonState(2, 1), 0);  // minimise hot
    EXPECT_EQ(bar.SetButtonState(3, 1), 0) << "out of range";
    EXPECT_EQ(bar.GetButtonState(3), 0);
    Canvas active(300, 30, kBlack);
    bar.Draw(CDC::FromHandle(active.dc()), &caption);
    EXPECT_EQ(At(active, odtitle::SysMenu), kRed);
    EXPECT_EQ(At(active, odtitle::Close), kRed);
    EXPECT_EQ(At(active, odtitle::Maximize), kBlue);
    EXPECT_EQ(At(active, odtitle::Minimize), kGreen);
    EXPECT_EQ(active.At(150, 2), kWhite) << "the gradient background";

    bar.SetInactive(TRUE);
    Canvas inactive(300, 30, kBlack);
    bar.Draw(CDC::FromHandle(inactive.dc()), &caption);
    EXPECT_EQ(At(inactive, odtitle::SysMenu), kGreen) << "system menu in state 1";
    EXPECT_EQ(At(inactive, odtitle::Close), kYellow) << "state 0 becomes 3";
    EXPECT_EQ(At(inactive, odtitle::Maximize), kBlue) << "other states stay";
    EXPECT_EQ(At(inactive, odtitle::Minimize), kGreen);
}

TEST_F(TitleBarTest, RestoreImageAndHitTest)
{
    LoadStates(bar.GetImage(CODTitleBar::ImgRestore), 20, 14);
    bar.SetMaximized(TRUE);
    const odtitle::Layout l = bar.Arrange(caption);
    EXPECT_TRUE(l.restore[odtitle::Maximize]);
    EXPECT_EQ(l.buttons[odtitle::Maximize].right - l.buttons[odtitle::Maximize].left, 20);
    // close 280..296, restore 258..278, minimise 240..256, system menu 2..18.
    const struct
    {
        POINT p;
        int hit;
    } cases[] = {{{10, 15}, 0}, {{290, 15}, 1}, {{260, 15}, 2}, {{250, 15}, 3}, {{150, 15}, -1}, {{290, 1}, -1}};
    for (const auto& c : cases)
        EXPECT_EQ(bar.HitTest(&caption, c.p), c.hit) << c.p.x << "," << c.p.y;
    EXPECT_EQ(bar.HitTest(NULL, cases[0].p), -1);
}

TEST_F(TitleBarTest, MinimumWidth)
{
    bar.SetText("Caption");
    Canvas c(300, 30, kBlack);
    CDC* dc = CDC::FromHandle(c.dc());
    SIZE text;
    bar.GetTxtMov().Measure(&text, dc);
    // 2 + 16 (menu) + 4 + 16 (close) + 2 + 16 (max) + 2 + 16 (min) + 5 (text x) + text.
    EXPECT_EQ(bar.GetMinWidth(dc), 79 + text.cx);
    bar.SetStyleFlags(WS_SYSMENU);
    EXPECT_EQ(bar.GetMinWidth(dc), 2 + 16 + 4 + 16 + 5 + text.cx);
}

TEST_F(TitleBarTest, RegionsOfTheImageBackground)
{
    // Plain gradient background: the window region is the rectangle, no clip region.
    HRGN w = bar.GetWindowRegion(caption);
    ASSERT_TRUE(w != NULL);
    EXPECT_TRUE(PtInRegion(w, 0, 0));
    DeleteObject(w);
    EXPECT_TRUE(bar.GetClipRegion(caption) == NULL);

    // Images: a start cell of 10 x 30 whose top-left pixel (magenta) is cut
    // out, a centre and an end cell without transparent pixels.
    const auto corner = [](int x, int y) { return (x == 0 && y == 0) ? kMagenta : kCyan; };
    ASSERT_TRUE(Load(bar.GetImage(CODTitleBar::ImgStart), MakeBitmap(20, 30, corner), kMagenta, 2, 2));
    ASSERT_TRUE(Load(bar.GetImage(CODTitleBar::ImgCenter), MakeBitmap(8, 30, corner), kMagenta, 2, 2));
    ASSERT_TRUE(Load(bar.GetImage(CODTitleBar::ImgEnd), MakeBitmap(20, 30, corner), kMagenta, 2, 2));
    bar.SetBkMode(1);
    // SetBkMode loads from the theme values (none here): give the images again.
    ASSERT_TRUE(Load(bar.GetImage(CODTitleBar::ImgStart), MakeBitmap(20, 30, corner), kMagenta, 2, 2));
    ASSERT_TRUE(Load(bar.GetImage(CODTitleBar::ImgCenter), MakeBitmap(8, 30, corner), kMagenta, 2, 2));
    ASSERT_TRUE(Load(bar.GetImage(CODTitleBar::ImgEnd), MakeBitmap(20, 30, corner), kMagenta, 2, 2));
    const CRect at(100, 50, 400, 80);
    HRGN clip = bar.GetClipRegion(at);
    ASSERT_TRUE(clip != NULL);
    EXPECT_FALSE(PtInRegion(clip, 100, 50)) << "the start image's transparent corner";
    EXPECT_TRUE(PtInRegion(clip, 101, 50));
    EXPECT_TRUE(PtInRegion(clip, 250, 60)) << "the centre, moved by the rectangle's top-left";
    EXPECT_FALSE(PtInRegion(clip, 390, 50)) << "the end image's corner";
    DeleteObject(clip);
}

}  // namespace
