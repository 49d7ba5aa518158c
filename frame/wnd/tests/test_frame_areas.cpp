// Area painters: every background mode drawn pixel for pixel, the docking of
// an area's windows, and the painter list of the host.
#include <gtest/gtest.h>

#include "BkPainter.h"
#include "FrameTestSupport.h"
#include "LayoutValues.h"

using frametest::FakeHost;
using frametest::MakePicture;

namespace {

const COLORREF kBlack = RGB(0, 0, 0);

// A painter of the plain kind with the name "a" at (10,5)-(50,35) of a
// 60 x 40 back image.
struct AreaFixture
{
    FakeHost host;
    CAreaPainter painter;
    CImageObj back;

    AreaFixture()
    {
        back.Create(60, 40, 24);
        back.FillRect(0, 0, 60, 40, kBlack);
        painter.Create("a", "a", NULL);
        painter.SetRect(CRect(10, 5, 50, 35));
    }
    COLORREF At(int x, int y) const { return back.GetPixelColor(x, y); }
};

COLORREF Encoded(int x, int y) { return RGB(x * 4, y * 5, 100); }

TEST(AreaBackground, Solid)
{
    AreaFixture f;
    f.painter.SetBackground(kBkSolid, RGB(10, 20, 30), NULL, NULL);
    EXPECT_EQ(FALSE, f.painter.DrawTree(&f.back)) << "an area's content are windows: nothing drawn";
    for (int y = 0; y < 40; y++)
        for (int x = 0; x < 60; x++) {
            const bool inside = x >= 10 && x < 50 && y >= 5 && y < 35;
            ASSERT_EQ(inside ? RGB(10, 20, 30) : kBlack, f.At(x, y)) << x << "," << y;
        }
}

TEST(AreaBackground, SolidFollowsTheClip)
{
    AreaFixture f;
    f.painter.SetBackground(kBkSolid, RGB(10, 20, 30), NULL, NULL);
    const RECT clip = {0, 0, 30, 40};
    f.back.SetClipRect(&clip);
    f.painter.DrawTree(&f.back);
    EXPECT_EQ(RGB(10, 20, 30), f.At(29, 20));
    EXPECT_EQ(kBlack, f.At(30, 20)) << "outside the clip";
    const RECT after = f.back.GetClipRect();
    EXPECT_TRUE(EqualRect(&clip, &after)) << "the previous clip is restored";
}

TEST(AreaBackground, TiledFromTheTopLeft)
{
    AreaFixture f;
    CImageObj tile;
    ASSERT_TRUE(MakePicture(tile, 7, 5, Encoded));
    f.painter.SetBackground(kBkTiled, 0, &tile, NULL);
    f.painter.DrawTree(&f.back);
    for (int y = 5; y < 35; y++)
        for (int x = 10; x < 50; x++)
            ASSERT_EQ(Encoded((x - 10) % 7, (y - 5) % 5), f.At(x, y)) << x << "," << y;
    EXPECT_EQ(kBlack, f.At(50, 20));
    EXPECT_EQ(kBlack, f.At(20, 35));
}

TEST(AreaBackground, StretchedAndCentred)
{
    {
        // Two pixels, red and blue, stretched over 40 x 30: the left half red.
        AreaFixture f;
        CImageObj pic;
        ASSERT_TRUE(MakePicture(pic, 2, 1, [](int x, int) { return x == 0 ? RGB(255, 0, 0) : RGB(0, 0, 255); }));
        f.painter.SetBackground(kBkStretched, 0, &pic, NULL);
        f.painter.DrawTree(&f.back);
        EXPECT_EQ(RGB(255, 0, 0), f.At(10, 5));
        EXPECT_EQ(RGB(255, 0, 0), f.At(28, 34));
        EXPECT_EQ(RGB(0, 0, 255), f.At(31, 5));
        EXPECT_EQ(RGB(0, 0, 255), f.At(49, 34));
        EXPECT_EQ(kBlack, f.At(9, 5));
    }
    {
        // A larger picture: its centre part. Offset ((60-40)/2, (50-30)/2).
        AreaFixture f;
        CImageObj pic;
        ASSERT_TRUE(MakePicture(pic, 60, 50, Encoded));
        f.painter.SetBackground(kBkCentred, 0, &pic, NULL);
        f.painter.DrawTree(&f.back);
        for (int y = 5; y < 35; y++)
            for (int x = 10; x < 50; x++)
                ASSERT_EQ(Encoded(x - 10 + 10, y - 5 + 10), f.At(x, y)) << x << "," << y;
    }
    {
        // A smaller picture is stretched instead.
        AreaFixture f;
        CImageObj pic;
        ASSERT_TRUE(MakePicture(pic, 2, 1, [](int x, int) { return x == 0 ? RGB(255, 0, 0) : RGB(0, 0, 255); }));
        f.painter.SetBackground(kBkCentred, 0, &pic, NULL);
        f.painter.DrawTree(&f.back);
        EXPECT_EQ(RGB(255, 0, 0), f.At(10, 5));
        EXPECT_EQ(RGB(0, 0, 255), f.At(49, 34));
    }
}

TEST(AreaBackground, SecondPictureOverTheTiles)
{
    AreaFixture f;
    CImageObj tile, second;
    ASSERT_TRUE(MakePicture(tile, 4, 4, [](int, int) { return RGB(0, 128, 0); }));
    // Left half magenta (the transparent colour), right half white; stretched
    // to the area's 40 x 30 it covers x >= 30.
    ASSERT_TRUE(MakePicture(second, 2, 1, [](int x, int) { return x == 0 ? RGB(255, 0, 255) : RGB(255, 255, 255); }));
    f.painter.SetBackground(kBkTiled, 0, &tile, &second);
    f.painter.DrawTree(&f.back);
    EXPECT_EQ(RGB(0, 128, 0), f.At(12, 10)) << "the tile shows through the transparent half";
    EXPECT_EQ(RGB(255, 255, 255), f.At(45, 10));
}

TEST(AreaBackground, EdgesAndCorners)
{
    AreaFixture f;
    CImageObj top, left, corner, inside;
    ASSERT_TRUE(MakePicture(top, 1, 2, [](int, int) { return RGB(0, 255, 0); }));
    ASSERT_TRUE(MakePicture(left, 2, 1, [](int, int) { return RGB(0, 0, 255); }));
    ASSERT_TRUE(MakePicture(corner, 3, 3, [](int, int) { return RGB(255, 0, 0); }));
    ASSERT_TRUE(MakePicture(inside, 1, 1, [](int, int) { return RGB(9, 9, 9); }));
    f.painter.SetBackground(kBkSolid, RGB(50, 50, 50), NULL, NULL);
    f.painter.SetEdge(CBkPainter::kEdgeTop, &top);
    f.painter.SetEdge(CBkPainter::kEdgeBottom, &top);
    f.painter.SetEdge(CBkPainter::kEdgeLeft, &left);
    f.painter.SetEdge(CBkPainter::kEdgeRight, &left);
    f.painter.SetEdge(CBkPainter::kEdgeCT, &inside);
    for (int e : {CBkPainter::kEdgeLT, CBkPainter::kEdgeRT, CBkPainter::kEdgeLB, CBkPainter::kEdgeRB})
        f.painter.SetEdge(e, &corner);
    f.painter.DrawTree(&f.back);
    struct Case
    {
        const char* what;
        int x, y;
        COLORREF expected;
    } cases[] = {
        {"top-left corner", 10, 5, RGB(255, 0, 0)},     {"top-right corner", 49, 7, RGB(255, 0, 0)},
        {"bottom-left corner", 12, 34, RGB(255, 0, 0)}, {"bottom-right corner", 47, 32, RGB(255, 0, 0)},
        {"top edge", 30, 6, RGB(0, 255, 0)},            {"bottom edge", 30, 33, RGB(0, 255, 0)},
        {"left edge", 11, 20, RGB(0, 0, 255)},          {"right edge", 48, 20, RGB(0, 0, 255)},
        {"inside", 30, 20, RGB(9, 9, 9)},               {"outside", 9, 20, kBlack},
    };
    for (const Case& k : cases)
        EXPECT_EQ(k.expected, f.At(k.x, k.y)) << k.what;
}

TEST(AreaBackground, NotDrawn)
{
    struct Case
    {
        const char* what;
        const char* name;
        BOOL visible;
        CRect rect;
        int mode;
    } cases[] = {
        {"an empty name", "", TRUE, CRect(10, 5, 50, 35), kBkSolid},
        {"hidden", "a", FALSE, CRect(10, 5, 50, 35), kBkSolid},
        {"no width", "a", TRUE, CRect(10, 5, 10, 35), kBkSolid},
        {"no bkp_draw: no background", "a", TRUE, CRect(10, 5, 50, 35), kBkNone},
    };
    for (const Case& k : cases) {
        FakeHost host;
        CAreaPainter p;
        p.Create(k.name, "s", NULL);
        p.SetRect(k.rect);
        p.SetVisible(k.visible);
        CImageObj pic;
        ASSERT_TRUE(MakePicture(pic, 1, 1, [](int, int) { return RGB(1, 2, 3); }));
        p.SetBackground(k.mode, RGB(10, 20, 30), NULL, NULL);
        p.SetEdge(CBkPainter::kEdgeLT, k.mode == kBkNone ? &pic : NULL);
        CImageObj back;
        back.Create(60, 40, 24);
        back.FillRect(0, 0, 60, 40, kBlack);
        p.DrawTree(&back);
        EXPECT_EQ(kBlack, back.GetPixelColor(10, 5)) << k.what;
        EXPECT_EQ(kBlack, back.GetPixelColor(30, 20)) << k.what;
    }
}

// ---- Docking and the painter list -----------------------------------------------------------

class ChildWindows : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "areas", WS_POPUP, 0, 0, 200, 100, NULL, NULL));
        for (CWnd& w : child)
            ASSERT_TRUE(w.Create(AfxRegisterWndClass(0), "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 5, 5), &parent, 0));
    }
    CRect Placed(CWnd& w)
    {
        CRect r;
        w.GetWindowRect(&r);
        parent.ScreenToClient(&r);
        return r;
    }
    FakeHost host;
    CWnd parent;
    CWnd child[3];
};

TEST_F(ChildWindows, DockedAndFilled)
{
    CAreaPainter area;
    area.Create("a", "a", NULL);
    EXPECT_EQ(1, area.AddItem(&child[0], kDockFill));
    EXPECT_EQ(0, area.AddItem(&child[0], kDockLeft)) << "the same window twice: its index";
    EXPECT_EQ(1, area.GetItemCount());
    // A docked item goes before the first item without a keep bit.
    EXPECT_EQ(2, area.AddItem(&child[1], kDockTop | kDockKeepHeight, CRect(0, 0, 0, 20)));
    EXPECT_EQ(&child[1], area.GetItem(0)->window);
    area.SetRect(CRect(10, 10, 110, 90));
    EXPECT_EQ(CRect(10, 10, 110, 30), Placed(child[1]));
    EXPECT_EQ(CRect(10, 30, 110, 90), Placed(child[0]));

    // A fill item followed by a docked item (appended after a fill item that
    // has no keep bit is impossible through AddItem: a fill item goes last).
    CAreaPainter second;
    second.Create("b", "b", NULL);
    second.AddItem(&child[2], kDockFill);
    second.AddItem(&child[2], kDockLeft);
    EXPECT_EQ(1, second.GetItemCount());
}

TEST_F(ChildWindows, FillThenDockedGetsNothing)
{
    CAreaPainter area;
    area.Create("a", "a", NULL);
    area.AddItem(&child[0], kDockFill);
    area.AddItem(&child[1], kDockRight | kDockKeepWidth, CRect(0, 0, 30, 0));
    area.AddItem(&child[2], kDockFill);
    // Items: right (kept), fill, fill: the second fill finds no space.
    area.SetRect(CRect(0, 0, 100, 50));
    EXPECT_EQ(CRect(70, 0, 100, 50), Placed(child[1]));
    EXPECT_EQ(CRect(0, 0, 70, 50), Placed(child[0]));
    EXPECT_EQ(CRect(0, 0, 0, 0), Placed(child[2]));
}

TEST_F(ChildWindows, HidingTheAreaHidesItsWindows)
{
    CAreaPainter area;
    area.Create("a", "a", NULL);
    parent.ShowWindow(SW_SHOW);
    area.AddItem(&child[0], kDockFill);
    area.AddItem(&child[1], kDockLeft);
    area.SetVisible(FALSE);
    EXPECT_FALSE(child[0].IsWindowVisible());
    EXPECT_FALSE(child[1].IsWindowVisible());
    area.SetVisible(TRUE);
    EXPECT_TRUE(child[0].IsWindowVisible());
    EXPECT_TRUE(child[1].IsWindowVisible());
    area.RemoveItem(&child[0]);
    EXPECT_EQ(1, area.GetItemCount());
}

TEST(PainterList, JoinsAndLeaves)
{
    FakeHost host;
    CAreaPainter* a = new CAreaPainter;
    CAreaPainter* b = new CAreaPainter;
    a->Create("a", "a", NULL);
    b->Create("b", "b", NULL);
    EXPECT_TRUE(host.HasPainter(a));
    EXPECT_EQ(2, host.m_painters.GetCount());
    host.m_pPressedArea = a;
    delete a;
    EXPECT_FALSE(host.HasPainter(a));
    EXPECT_EQ(NULL, host.m_pPressedArea) << "a deleted painter is no longer the pressed area";
    delete b;
    EXPECT_EQ(0, host.m_painters.GetCount());
}

}  // namespace
