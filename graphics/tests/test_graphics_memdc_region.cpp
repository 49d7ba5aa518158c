// The region of the bitmap held by the runtime's memory DC.
#include <gtest/gtest.h>

#include <afxwin.h>

#include "MemDC.h"

TEST(MemDCRegion, TheHeldBitmapWithKeyZeroFromTheFirstPixel)
{
    CMemDC dc(NULL, 6, 4);
    dc.PatBlt(0, 0, 6, 4, WHITENESS);
    dc.SetPixel(1, 2, RGB(0, 0, 0));
    dc.SetPixel(4, 0, RGB(10, 20, 30));
    HRGN r = dc.CreateRegionFromKey(0);
    ASSERT_TRUE(r != NULL);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ((x == 1 && y == 2) || (x == 4 && y == 0), PtInRegion(r, x, y) != 0) << x << "," << y;
    DeleteObject(r);
    // An explicit key (black cannot be one: 0 means the first pixel).
    r = dc.CreateRegionFromKey(RGB(10, 20, 30));
    ASSERT_TRUE(r != NULL);
    EXPECT_FALSE(PtInRegion(r, 4, 0));
    EXPECT_TRUE(PtInRegion(r, 1, 2));
    EXPECT_TRUE(PtInRegion(r, 0, 0));
    DeleteObject(r);
    // Without a bitmap there is no region.
    CMemDC none;
    EXPECT_TRUE(none.CreateRegionFromKey(0) == NULL);
}
