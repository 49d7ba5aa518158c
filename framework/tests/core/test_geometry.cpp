// CRect / CPoint / CSize arithmetic.
#include <gtest/gtest.h>

#include "afx.h"

TEST(FrameworkGeometry, RectangleOperations)
{
    CRect r(10, 20, 110, 70);
    EXPECT_EQ(100, r.Width());
    EXPECT_EQ(50, r.Height());
    EXPECT_EQ(CPoint(60, 45), r.CenterPoint());
    EXPECT_TRUE(r.PtInRect(CPoint(10, 20)));
    EXPECT_FALSE(r.PtInRect(CPoint(110, 20)));  // right and bottom are outside
    EXPECT_FALSE(r.PtInRect(CPoint(10, 70)));

    r.TopLeft() = CPoint(0, 0);
    EXPECT_EQ(CRect(0, 0, 110, 70), r);
    r.BottomRight() += CSize(-10, -20);
    EXPECT_EQ(CRect(0, 0, 100, 50), r);

    CRect moved = r + CPoint(5, 5);
    moved.InflateRect(1, 2);
    EXPECT_EQ(CRect(4, 3, 106, 57), moved);
    moved.DeflateRect(1, 2, 3, 4);
    EXPECT_EQ(CRect(5, 5, 103, 53), moved);

    CRect reversed(50, 40, 10, 20);
    EXPECT_TRUE(reversed.IsRectEmpty());
    reversed.NormalizeRect();
    EXPECT_EQ(CRect(10, 20, 50, 40), reversed);

    struct Case { CRect a, b, inter, uni; BOOL bInter; };
    const Case cases[] = {
        {CRect(0, 0, 10, 10), CRect(5, 5, 20, 20), CRect(5, 5, 10, 10), CRect(0, 0, 20, 20), TRUE},
        {CRect(0, 0, 10, 10), CRect(10, 0, 20, 10), CRect(), CRect(0, 0, 20, 10), FALSE},  // touching
        {CRect(0, 0, 10, 10), CRect(), CRect(), CRect(0, 0, 10, 10), FALSE},             // empty side
    };
    for (const Case& c : cases) {
        CRect inter, uni;
        EXPECT_EQ(c.bInter, inter.IntersectRect(&c.a, &c.b));
        EXPECT_EQ(c.inter, inter);
        uni.UnionRect(&c.a, &c.b);
        EXPECT_EQ(c.uni, uni);
    }

    CRect rest;
    EXPECT_TRUE(rest.SubtractRect(CRect(0, 0, 10, 10), CRect(0, 0, 4, 10)));
    EXPECT_EQ(CRect(4, 0, 10, 10), rest);
    EXPECT_TRUE(rest.SubtractRect(CRect(0, 0, 10, 10), CRect(2, 2, 4, 4)));   // a hole: unchanged
    EXPECT_EQ(CRect(0, 0, 10, 10), rest);
    EXPECT_FALSE(rest.SubtractRect(CRect(0, 0, 10, 10), CRect(-1, -1, 11, 11)));
}

TEST(FrameworkGeometry, PointsFromMessageWordsAreSigned)
{
    CPoint pt((DWORD)MAKELONG(-5, 300));
    EXPECT_EQ(-5, pt.x);
    EXPECT_EQ(300, pt.y);
    EXPECT_EQ(CSize(3, 4), CPoint(5, 7) - CPoint(2, 3));
    EXPECT_EQ(CPoint(7, 10), CPoint(5, 7) + CSize(2, 3));
}
