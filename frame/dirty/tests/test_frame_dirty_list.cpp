// The pointer array and the dirty-rectangle list.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "QVPtrArray.h"
#include "QVRectList.h"

namespace {

RECT R(int l, int t, int r, int b)
{
    RECT x = {l, t, r, b};
    return x;
}

std::vector<int> Values(const CQVPtrArray<int>& a)
{
    std::vector<int> out;
    for (int i = 0; i < a.GetCount(); i++)
        out.push_back(*a.GetAt(i));
    return out;
}

TEST(PtrArray, InsertPositions)
{
    int v[6] = {0, 1, 2, 3, 4, 5};
    struct Case
    {
        int index;
        std::vector<int> expected;
    } cases[] = {
        {0, {5, 1, 2, 3}},
        {-1, {5, 1, 2, 3}},
        {1, {1, 5, 2, 3}},
        {2, {1, 2, 5, 3}},
        {3, {1, 2, 3, 5}},
        {99, {1, 2, 3, 5}},
    };
    for (const Case& c : cases) {
        CQVPtrArray<int> a;
        a.Add(&v[1]);
        a.Add(&v[2]);
        a.Add(&v[3]);
        EXPECT_EQ(1, a.InsertAt(c.index, &v[5]));
        EXPECT_EQ(c.expected, Values(a)) << "index " << c.index;
    }
}

TEST(PtrArray, GrowsByStepAndRemoves)
{
    int v[11];
    CQVPtrArray<int> a;
    for (int i = 0; i < 10; i++) {
        v[i] = i;
        a.Add(&v[i]);
    }
    EXPECT_EQ(10, a.GetCapacity());
    v[10] = 10;
    a.Add(&v[10]);
    EXPECT_EQ(20, a.GetCapacity());
    EXPECT_EQ(11, a.GetCount());
    EXPECT_EQ(NULL, a.GetAt(11));
    EXPECT_EQ(NULL, a.GetAt(-1));

    a.RemoveAt(0);
    a.RemoveAt(5);
    a.RemoveAt(42);  // outside: nothing
    EXPECT_EQ((std::vector<int>{1, 2, 3, 4, 5, 7, 8, 9, 10}), Values(a));
}

// All rectangles of the list, band by band.
std::vector<RECT> AllRects(const CQVRectList& list)
{
    std::vector<RECT> out;
    for (int b = 0; b < list.GetBandCount(); b++) {
        const DirtyBand* band = list.GetBand(b);
        for (int i = 0; i < band->rects.GetCount(); i++)
            out.push_back(*band->rects.GetAt(i));
    }
    return out;
}

bool Same(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// The list holds exactly one rectangle, `want`.
::testing::AssertionResult HoldsOnly(const CQVRectList& list, const RECT& want)
{
    const std::vector<RECT> all = AllRects(list);
    if (all.size() != 1)
        return ::testing::AssertionFailure() << all.size() << " rectangles instead of one";
    const RECT& r = all[0];
    if (!Same(want, r))
        return ::testing::AssertionFailure() << "holds " << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    return ::testing::AssertionSuccess();
}

TEST(RectList, SameRectangleTwiceGivesOne)
{
    CQVRectList list;
    list.AddDirtyRect(R(10, 10, 20, 20));
    list.AddDirtyRect(R(10, 10, 20, 20));
    ASSERT_EQ(1, list.GetBandCount());
    ASSERT_TRUE(HoldsOnly(list, R(10, 10, 20, 20)));
}

TEST(RectList, CoveringRectangleReplacesTheOld)
{
    CQVRectList list;
    list.AddDirtyRect(R(10, 10, 20, 20));
    list.AddDirtyRect(R(5, 5, 30, 30));
    ASSERT_TRUE(HoldsOnly(list, R(5, 5, 30, 30)));
    EXPECT_EQ(5, list.GetBand(0)->top);
    EXPECT_EQ(30, list.GetBand(0)->bottom);
}

TEST(RectList, StackedEqualWidthsFuse)
{
    CQVRectList list;
    list.AddDirtyRect(R(0, 10, 10, 20));
    list.AddDirtyRect(R(0, 0, 10, 10));  // touches from above: one band, one rectangle
    ASSERT_TRUE(HoldsOnly(list, R(0, 0, 10, 20)));
}

TEST(RectList, RectangleSpanningThreeBandsJoinsThem)
{
    CQVRectList list;
    list.AddDirtyRect(R(0, 0, 5, 5));
    list.AddDirtyRect(R(10, 10, 15, 15));
    list.AddDirtyRect(R(20, 20, 25, 25));
    ASSERT_EQ(3, list.GetBandCount());
    list.AddDirtyRect(R(40, 2, 45, 22));
    ASSERT_EQ(1, list.GetBandCount());
    EXPECT_EQ(0, list.GetBand(0)->top);
    EXPECT_EQ(25, list.GetBand(0)->bottom);
    EXPECT_EQ(4u, AllRects(list).size());
}

TEST(RectList, OutsideTheAreaAddsNothingAndInsideIsCut)
{
    CQVRectList list;
    list.SetAreaRect(R(0, 0, 100, 50));
    list.AddDirtyRect(R(200, 0, 300, 40));
    list.AddDirtyRect(R(10, 10, 10, 20));  // empty
    EXPECT_EQ(0, list.GetBandCount());
    list.AddDirtyRect(R(-10, 40, 20, 70));
    ASSERT_TRUE(HoldsOnly(list, R(0, 40, 20, 50)));
    list.ClearDirty();
    EXPECT_EQ(0, list.GetBandCount());
}

TEST(RectList, NewBandsKeepTheirOrder)
{
    CQVRectList list;
    list.AddDirtyRect(R(0, 50, 10, 60));
    list.AddDirtyRect(R(0, 10, 10, 20));
    list.AddDirtyRect(R(0, 30, 10, 40));
    ASSERT_EQ(3, list.GetBandCount());
    EXPECT_EQ(10, list.GetBand(0)->top);
    EXPECT_EQ(30, list.GetBand(1)->top);
    EXPECT_EQ(50, list.GetBand(2)->top);
}

// Checks the list's invariants and that it covers exactly `expected`
// (a W x H grid of flags).
constexpr int W = 64, H = 48;

void CheckList(const CQVRectList& list, const std::vector<char>& expected, const char* what)
{
    std::vector<char> covered(W * H, 0);
    int lastBottom = -1;
    for (int b = 0; b < list.GetBandCount(); b++) {
        const DirtyBand* band = list.GetBand(b);
        ASSERT_LT(band->top, band->bottom) << what;
        ASSERT_LE(lastBottom, band->top) << what << ": bands overlap or are out of order";
        lastBottom = band->bottom;
        for (int i = 0; i < band->rects.GetCount(); i++) {
            const RECT& r = *band->rects.GetAt(i);
            ASSERT_TRUE(r.left < r.right && r.top < r.bottom) << what;
            ASSERT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= W && r.bottom <= H) << what << ": outside the area";
            ASSERT_TRUE(r.top >= band->top && r.bottom <= band->bottom) << what << ": outside its band";
            for (int y = r.top; y < r.bottom; y++)
                for (int x = r.left; x < r.right; x++) {
                    ASSERT_EQ(0, covered[y * W + x]) << what << ": rectangles overlap at " << x << "," << y;
                    covered[y * W + x] = 1;
                }
        }
    }
    ASSERT_TRUE(covered == expected) << what << ": the union differs from the inputs";
}

TEST(RectList, RandomInsertsKeepTheInvariantsAndTheUnion)
{
    std::mt19937 rng(1234);
    for (int round = 0; round < 300; round++) {
        CQVRectList list;
        list.SetAreaRect(R(0, 0, W, H));
        std::vector<char> expected(W * H, 0);
        const int inserts = 1 + static_cast<int>(rng() % 40);
        for (int k = 0; k < inserts; k++) {
            // Some rectangles stick out of the area; some are small, some
            // share edges (coordinates on a coarse grid every other round).
            const int grid = (round % 2) ? 4 : 1;
            int l = static_cast<int>(rng() % (W / grid + 4)) * grid - 4;
            int t = static_cast<int>(rng() % (H / grid + 4)) * grid - 4;
            int w = 1 + static_cast<int>(rng() % (round % 3 == 0 ? 40 : 12));
            int h = 1 + static_cast<int>(rng() % (round % 3 == 0 ? 30 : 12));
            list.AddDirtyRect(R(l, t, l + w, t + h));
            for (int y = t; y < t + h; y++)
                for (int x = l; x < l + w; x++)
                    if (x >= 0 && y >= 0 && x < W && y < H)
                        expected[y * W + x] = 1;
            char what[64];
            snprintf(what, sizeof what, "round %d insert %d", round, k);
            CheckList(list, expected, what);
            if (HasFatalFailure())
                return;
        }
    }
}

}  // namespace
