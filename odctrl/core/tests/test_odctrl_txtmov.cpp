// The moving text on a device context: colours of plain and link cells,
// alignment, hover and visited links, the settings' bounds, the movement on
// the owner's timer and on a worker thread that is stopped and joined.
#include "ODTestSupport.h"

#include "ODTxtMov.h"

namespace {

using namespace odtest;

class TestTxtMov : public CODTxtMov
{
public:
    using CODTxtMov::CODTxtMov;
    using CODTxtMov::m_fBlockPos;
    using CODTxtMov::m_rowOffsets;
};

// A font without smoothing, so text pixels have exactly the text colour.
void PlainFont(CODTxtMov& t)
{
    LOGFONT lf = {};
    lf.lfHeight = -14;
    lf.lfWeight = FW_NORMAL;
    lf.lfQuality = NONANTIALIASED_QUALITY;
    strcpy(lf.lfFaceName, "Tahoma");
    t.SetFont(&lf);
}

// The box of the pixels of one colour on the canvas (empty when none).
CRect PixelsOf(const Canvas& c, COLORREF colour)
{
    CRect box(0, 0, 0, 0);
    bool any = false;
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x)
            if (c.At(x, y) == colour) {
                if (!any)
                    box = CRect(x, y, x + 1, y + 1);
                box.left = x < box.left ? x : box.left;
                box.top = y < box.top ? y : box.top;
                box.right = x + 1 > box.right ? x + 1 : box.right;
                box.bottom = y + 1 > box.bottom ? y + 1 : box.bottom;
                any = true;
            }
    return box;
}

void SetColours(CODTxtMov& t)
{
    t.SetColor(kRed, CODTxtMov::ColorNormal);
    t.SetColor(kGreen, CODTxtMov::ColorFocus);
    t.SetColor(kBlue, CODTxtMov::ColorLink);
    t.SetColor(kMagenta, CODTxtMov::ColorLinkFocus);
    t.SetColor(kCyan, CODTxtMov::ColorVisited);
}

TEST(TxtMov, PlainTextInTheNormalColourInsideItsExtent)
{
    CODTxtMov t;
    PlainFont(t);
    SetColours(t);
    t.SetText("Hello");
    Canvas canvas(200, 50, kWhite);
    t.Draw(CDC::FromHandle(canvas.dc()), CRect(10, 10, 190, 40));
    const CSize extent = t.GetExtent();
    ASSERT_GT(extent.cx, 10);
    const CRect red = PixelsOf(canvas, kRed);
    ASSERT_FALSE(red.IsRectEmpty());
    EXPECT_GE(red.left, 10);
    EXPECT_LE(red.right, 10 + extent.cx);
    EXPECT_GE(red.top, 10);
    EXPECT_LE(red.bottom, 10 + extent.cy);
    CString plain;
    t.GetPlainText(plain);
    EXPECT_STREQ(plain, "Hello");
}

TEST(TxtMov, CentredLinkRowIsUnderlinedAndHoverFindsIt)
{
    CODTxtMov t;
    PlainFont(t);
    SetColours(t);
    t.SetMarkup("<TR Align=CENTER><TD href=http://x.cn ToolTip=tip TextColor=1,2>go</TD></TR>");
    Canvas canvas(200, 40, kWhite);
    const CRect rect(0, 0, 200, 40);
    t.Draw(CDC::FromHandle(canvas.dc()), rect);
    const CSize extent = t.GetExtent();
    const int left = (200 - extent.cx) / 2;
    const CRect blue = PixelsOf(canvas, kBlue);
    ASSERT_FALSE(blue.IsRectEmpty()) << "a link with a two-number colour takes the link colour";
    EXPECT_GE(blue.left, left);
    EXPECT_LE(blue.right, left + extent.cx);
    // The underline: one row of link pixels across most of the text.
    int widest = 0;
    for (int y = blue.top; y < blue.bottom; ++y) {
        int run = 0;
        for (int x = blue.left; x < blue.right; ++x)
            run += canvas.At(x, y) == kBlue;
        widest = run > widest ? run : widest;
    }
    EXPECT_GE(widest, extent.cx - 2) << "underlined";

    CString out;
    EXPECT_FALSE(t.GetFocusedLink(out, 1)) << "the mouse is outside";
    t.SetMousePos(TRUE, CPoint(left + extent.cx / 2, extent.cy / 2));
    t.Draw(CDC::FromHandle(canvas.dc()), rect);
    ASSERT_TRUE(t.GetFocusedLink(out, 1));
    EXPECT_STREQ(out, "http://x.cn");
    ASSERT_TRUE(t.GetFocusedLink(out, 2));
    EXPECT_STREQ(out, "tip");
    ASSERT_TRUE(t.GetFocusedLink(out, 0));
    EXPECT_STREQ(out, "go");
    canvas.Fill(kWhite);
    t.Draw(CDC::FromHandle(canvas.dc()), rect);
    EXPECT_FALSE(PixelsOf(canvas, kMagenta).IsRectEmpty()) << "the hovered link in colour 3";
    EXPECT_TRUE(PixelsOf(canvas, kBlue).IsRectEmpty());

    t.MarkVisited();
    t.SetMousePos(FALSE, CPoint(0, 0));
    canvas.Fill(kWhite);
    t.Draw(CDC::FromHandle(canvas.dc()), rect);
    EXPECT_FALSE(PixelsOf(canvas, kCyan).IsRectEmpty()) << "visited";
    EXPECT_FALSE(t.GetFocusedLink(out, 1));
}

TEST(TxtMov, SettingsAndTheirBounds)
{
    CODTxtMov t;
    EXPECT_EQ(t.GetInterval(), 25);
    EXPECT_EQ(t.SetInterval(0), 25);
    EXPECT_EQ(t.GetInterval(), 25) << "SetInterval(0) changes nothing";
    EXPECT_EQ(t.SetInterval(-5), 25);
    EXPECT_EQ(t.SetInterval(40), 25);
    EXPECT_EQ(t.GetInterval(), 40);

    EXPECT_EQ(t.SetColor(kRed, 5), static_cast<COLORREF>(-1));
    EXPECT_EQ(t.GetColor(-1), static_cast<COLORREF>(-1));
    const COLORREF saved = CODTxtMov::GetDefaultColor(CODTxtMov::ColorLink);
    EXPECT_EQ(saved, RGB(0, 0, 255));
    t.SetColor(kRed, CODTxtMov::ColorNormal);
    CODTxtMov::SetDefaultColor(CODTxtMov::ColorLink, kYellow);
    CODTxtMov::SetDefaultColor(CODTxtMov::ColorNormal, kGreen);
    t.ApplyDefaultColors();
    EXPECT_EQ(t.GetColor(CODTxtMov::ColorLink), kYellow) << "follows the class";
    EXPECT_EQ(t.GetColor(CODTxtMov::ColorNormal), kRed) << "set on the object";
    CODTxtMov::SetDefaultColor(CODTxtMov::ColorLink, saved);
    CODTxtMov::SetDefaultColor(CODTxtMov::ColorNormal, RGB(0, 0, 0));

    LOGFONT lf;
    t.GetFont(&lf);
    EXPECT_EQ(lf.lfHeight, -14);
    EXPECT_EQ(lf.lfCharSet, GB2312_CHARSET);
    EXPECT_STREQ(lf.lfFaceName, "宋体");
    CODTxtMov owned(NULL, 3, TRUE);
    owned.GetFont(&lf);
    EXPECT_EQ(lf.lfHeight, 12);

    t.SetText("a\nb");
    EXPECT_EQ(t.GetRowCount(), 2);
    EXPECT_TRUE(t.SetCellText(0, 0, "countdown 5"));
    CString cell;
    EXPECT_TRUE(t.GetCellText(0, 0, cell));
    EXPECT_STREQ(cell, "countdown 5");
    EXPECT_FALSE(t.SetCellText(2, 0, "x")) << "bad row";
    CODTxtMov::CellInfo info = {};
    info.text = "link";
    info.href = "http://y";
    info.textColor = info.focusColor = info.visitedColor = static_cast<COLORREF>(-1);
    EXPECT_TRUE(t.SetCell(1, 0, info));
    EXPECT_FALSE(t.SetCell(1, 1, info)) << "bad cell";
    CODTxtMov::RowInfo row = {4, -2.0f, 10, 1};
    EXPECT_TRUE(t.SetRowInfo(1, row));
    EXPECT_FALSE(t.SetRowInfo(-1, row));
    CODTxtMov::RowInfo back = {};
    ASSERT_TRUE(t.GetRowInfo(1, &back));
    EXPECT_EQ(back.pos, 4);
    EXPECT_EQ(back.align, 1);
}

TEST(TxtMov, TicksMoveRowsAndTheBlock)
{
    TestTxtMov t;
    PlainFont(t);
    t.SetMarkup("<TR MovingPos=-1.5 MaxOffset=20><TD>run</TD></TR>");
    t.SetVertStep(2.0f);
    Canvas canvas(100, 30, kWhite);
    t.Draw(CDC::FromHandle(canvas.dc()), CRect(0, 0, 100, 30));
    for (int i = 0; i < 3; ++i)
        t.OnTick();
    ASSERT_EQ(t.m_rowOffsets.size(), 1u);
    EXPECT_FLOAT_EQ(t.m_rowOffsets[0], -4.5f);
    EXPECT_FLOAT_EQ(t.m_fBlockPos, 6.0f);
    // Past -(20 + 100) the row starts again at 0 when it is drawn.
    t.m_rowOffsets[0] = -121.5f;
    t.Draw(CDC::FromHandle(canvas.dc()), CRect(0, 0, 100, 30));
    EXPECT_FLOAT_EQ(t.m_rowOffsets[0], 0.0f);
    t.ResetPositions();
    EXPECT_FLOAT_EQ(t.m_fBlockPos, 0.0f);
}

TEST(TxtMov, OwnerTimerMovesAndRepaints)
{
    CLogWnd owner;
    ASSERT_TRUE(owner.CreateHidden());
    TestTxtMov t(&owner, 5, TRUE);
    int ticks = 0;
    owner.onTimer = [&](UINT_PTR id) {
        if (id == 5) {
            t.OnTick();
            ++ticks;
        }
    };
    t.SetMarkup("<TR MovingPos=-1><TD>marquee</TD></TR>");
    Canvas canvas(200, 30, kWhite);
    t.Draw(CDC::FromHandle(canvas.dc()), CRect(0, 0, 200, 30));
    ValidateRect(owner.m_hWnd, NULL);
    t.SetInterval(10);
    ASSERT_TRUE(t.EnableMoving(TRUE));
    ASSERT_TRUE(WaitUntil([&] { return ticks >= 2; }));
    EXPECT_LT(t.m_rowOffsets[0], 0.0f);
    EXPECT_FALSE(t.EnableMoving(FALSE));
    EXPECT_FALSE(KillTimer(owner.m_hWnd, 5)) << "the timer is gone";
    owner.DestroyWindow();
}

TEST(TxtMov, WorkerThatRepaintsTheOwnerStopsWithoutDeadlock)
{
    // The owner has a window but the text does not use its timer: a worker
    // thread ticks and repaints the owner (UpdateWindow sends to this
    // thread), while this thread stops and joins it.
    CLogWnd owner;
    ASSERT_TRUE(owner.CreateHidden());
    owner.ShowWindow(SW_SHOWNOACTIVATE);
    for (int round = 0; round < 5; ++round) {
        TestTxtMov t(&owner, 5, TRUE);
        t.SetUseOwnerTimer(FALSE);
        t.SetMarkup("<TR MovingPos=-2><TD>worker</TD></TR>");
        CClientDC dc(&owner);
        t.Draw(&dc, CRect(0, 0, 200, 30));
        t.SetInterval(10);
        ASSERT_TRUE(t.EnableMoving(TRUE));
        ASSERT_TRUE(WaitUntil([&] { return t.m_rowOffsets[0] < -4.0f; })) << "the worker ticks";
        EXPECT_FALSE(t.EnableMoving(FALSE)) << "stopped and joined";
        const float stopped = t.m_rowOffsets[0];
        PumpPendingMessages();
        EXPECT_EQ(t.m_rowOffsets[0], stopped) << "no tick after the stop";
    }
    owner.DestroyWindow();
}

}  // namespace
