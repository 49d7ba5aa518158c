// The skinned scroll bar's model and geometry: range, page and position
// rules, thumb size, arrows/track/thumb along the bar, hit codes, the value
// of a thumb drag and the image strip's cells. Expected values are worked
// out by hand beside each case.
#include <gtest/gtest.h>

#include <vector>

#include "ODScrollModel.h"

using namespace odscroll;

namespace {

struct Op
{
    enum Kind { kRange, kPage, kPos, kTrack } kind;
    int a, b;
};

Model Apply(const std::vector<Op>& ops, int* lastResult = nullptr)
{
    Model m;
    for (const Op& op : ops) {
        int r = 0;
        switch (op.kind) {
        case Op::kRange: r = SetRange(m, op.a, op.b); break;
        case Op::kPage: SetPage(m, op.a); break;
        case Op::kPos: r = SetPos(m, op.a); break;
        case Op::kTrack: r = SetTrackPos(m, op.a); break;
        }
        if (lastResult)
            *lastResult = r;
    }
    return m;
}

}  // namespace

TEST(ScrollModel, RangePagePositionTable)
{
    struct Case {
        const char* what;
        std::vector<Op> ops;
        int min, maxPos, page, pos, reportedMax, limit;
    };
    const Case cases[] = {
        // Defaults: max position 101 and page 10 report a maximum of 101 + 10 - 1.
        {"defaults", {}, 0, 101, 10, 0, 110, 101},
        // 100 - 10 + 1 = 91.
        {"range 0..100 with the default page", {{Op::kRange, 0, 100}}, 0, 91, 10, 0, 100, 91},
        {"a position beyond the end is held at it", {{Op::kRange, 0, 100}, {Op::kPos, 500, 0}}, 0, 91, 10, 91, 100,
         91},
        {"a position before the start is held at it", {{Op::kRange, 20, 100}, {Op::kPos, -5, 0}}, 20, 91, 10, 20,
         100, 71},
        // The range shrinks under the position: 50 - 10 + 1 = 41.
        {"a smaller range pulls the position in", {{Op::kRange, 0, 100}, {Op::kPos, 80, 0}, {Op::kRange, 0, 50}}, 0,
         41, 10, 41, 50, 41},
        // Page 10 -> 30: the max position moves by 10 - 30 to 71; the reported max stays 100.
        {"a bigger page lowers the max position", {{Op::kRange, 0, 100}, {Op::kPos, 90, 0}, {Op::kPage, 30, 0}}, 0,
         71, 30, 71, 100, 71},
        {"max equal to min hides the bar and zeroes the page", {{Op::kRange, 5, 5}}, 5, -4, 0, 5, -5, 1},
        {"max below min hides the bar too", {{Op::kRange, 10, 3}}, 10, -6, 0, 10, -7, 1},
        // 50 - 100 + 1 = -49: the two ends cross, the position stays at min.
        {"a page larger than the range", {{Op::kPage, 100, 0}, {Op::kRange, 0, 50}, {Op::kPos, 7, 0}}, 0, -49, 100,
         0, 50, 1},
        // 32-bit positions far beyond 16 bits: 2e9 - 1e6 + 1.
        {"32-bit range", {{Op::kPage, 1000000, 0}, {Op::kRange, 0, 2000000000}, {Op::kPos, 1999000000, 0}}, 0,
         1999000001, 1000000, 1999000000, 2000000000, 1999000001},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Model m = Apply(c.ops);
        EXPECT_EQ(m.min, c.min);
        EXPECT_EQ(m.maxPos, c.maxPos);
        EXPECT_EQ(m.page, c.page);
        EXPECT_EQ(GetPos(m), c.pos);
        int min = 0, max = 0;
        GetRange(m, &min, &max);
        EXPECT_EQ(min, c.min);
        EXPECT_EQ(max, c.reportedMax);
        EXPECT_EQ(Limit(m), c.limit);
    }
}

TEST(ScrollModel, SettersReturnThePreviousValueAndHiddenRanges)
{
    Model m;
    EXPECT_EQ(SetRange(m, 0, 100), kRangeShown);
    EXPECT_EQ(SetPos(m, 40), 0);
    EXPECT_EQ(SetPos(m, 1000), 40);
    EXPECT_EQ(m.pos, 91);
    EXPECT_EQ(SetTrackPos(m, -3), 0);
    EXPECT_EQ(m.trackPos, 0);
    EXPECT_EQ(SetTrackPos(m, 60), 0);
    EXPECT_EQ(m.trackPos, 60);
    EXPECT_EQ(SetRange(m, 0, 0), kRangeHidden);
    EXPECT_EQ(m.page, 0);
}

TEST(ScrollModel, ThumbSizeByMode)
{
    struct Case {
        const char* what;
        int page, min, max, fixed;
        int mode, value;
    };
    const Case cases[] = {
        // 10 * 100 / (100 - 0 + 1) = 9 (integer division).
        {"percentage of the page", 10, 0, 100, -1, kThumbPercent, 9},
        // 50 * 100 / 51 = 98.
        {"a page nearly the range", 50, 0, 50, -1, kThumbPercent, 98},
        // 200 * 100 / 51 = 392, held at 100.
        {"never above 100", 200, 0, 50, -1, kThumbPercent, 100},
        {"a fixed thumb wins", 10, 0, 100, 24, kThumbFixed, 24},
        // 1e6 * 100 / (2e9 + 1) = 0 in 64 bits (no overflow of page x 100).
        {"large values", 1000000, 0, 2000000000, -1, kThumbPercent, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Model m;
        m.fixedThumb = c.fixed;
        SetPage(m, c.page);
        SetRange(m, c.min, c.max);
        EXPECT_EQ(m.thumbMode, c.mode);
        EXPECT_EQ(m.thumbValue, c.value);
    }
    Model m;
    ApplyFixedThumb(m, 30);
    EXPECT_EQ(m.thumbMode, kThumbFixed);
    EXPECT_EQ(m.thumbValue, 30);
    ApplyFixedThumb(m, -1);
    EXPECT_EQ(m.thumbMode, kThumbFixed) << "-1 leaves the mode as it was";
}

TEST(ScrollGeometry, ArrowsTrackAndThumb)
{
    struct Case {
        const char* what;
        int length, arrow, minThumb, percent, value;
        Span first, second, track, thumb;
    };
    // Range 0..100, page 10: max position 91.
    const Case cases[] = {
        // Track 18..82 (64). Thumb 10% of 64 = 6, below the smallest 8 -> 8.
        {"at the start", 100, 18, 8, 10, 0, {0, 18}, {82, 100}, {18, 82}, {18, 26}},
        // 18 + (64 - 8) * 91 / 91 = 74.
        {"at the end", 100, 18, 8, 10, 91, {0, 18}, {82, 100}, {18, 82}, {74, 82}},
        // 18 + 56 * 45 / 91 = 18 + 27 = 45 (2520 / 91 = 27.7).
        {"in the middle", 100, 18, 8, 10, 45, {0, 18}, {82, 100}, {18, 82}, {45, 53}},
        // 50% of 64 = 32: 18 + 32 * 45 / 91 = 18 + 15 = 33 (1440 / 91 = 15.8).
        {"a half-track thumb", 100, 18, 8, 50, 45, {0, 18}, {82, 100}, {18, 82}, {33, 65}},
        // Track 18..22 (4): the smallest thumb of 8 is held at 4.
        {"a smallest thumb longer than the track", 40, 18, 8, 10, 45, {0, 18}, {22, 40}, {18, 22}, {18, 22}},
        // Arrows of 18 on a 20-pixel bar share it: 10 each, no track.
        {"arrows longer than half the bar", 20, 18, 8, 10, 45, {0, 10}, {10, 20}, {10, 10}, {10, 10}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Model m;
        SetRange(m, 0, 100);
        m.thumbMode = kThumbPercent;
        m.thumbValue = int16_t(c.percent);
        GeometryInput in;
        in.length = c.length;
        in.arrowSize = c.arrow;
        in.minThumb = c.minThumb;
        const Geometry g = Layout(m, in, c.value);
        EXPECT_EQ(g.firstArrow.start, c.first.start);
        EXPECT_EQ(g.firstArrow.end, c.first.end);
        EXPECT_EQ(g.secondArrow.start, c.second.start);
        EXPECT_EQ(g.secondArrow.end, c.second.end);
        EXPECT_EQ(g.track.start, c.track.start);
        EXPECT_EQ(g.track.end, c.track.end);
        EXPECT_EQ(g.thumb.start, c.thumb.start);
        EXPECT_EQ(g.thumb.end, c.thumb.end);
        EXPECT_EQ(g.trackBefore.start, c.track.start);
        EXPECT_EQ(g.trackBefore.end, c.thumb.start);
        EXPECT_EQ(g.trackAfter.start, c.thumb.end);
        EXPECT_EQ(g.trackAfter.end, c.track.end);
    }
}

TEST(ScrollGeometry, ThumbAtTheStartWhenNothingScrollsAndSystemSize)
{
    Model m;
    SetRange(m, 0, 5);      // max position 5 - 10 + 1 = -4: nothing to scroll
    m.thumbMode = kThumbSystem;
    GeometryInput in;
    in.length = 100;
    in.systemThumb = 17;
    const Geometry g = Layout(m, in, 3);
    EXPECT_EQ(g.thumb.start, 18);
    EXPECT_EQ(g.thumb.Length(), 17);
}

TEST(ScrollGeometry, HitTestTable)
{
    Model m;
    SetRange(m, 0, 100);
    m.thumbMode = kThumbPercent;
    m.thumbValue = 10;
    GeometryInput in;
    in.length = 100;
    const Geometry g = Layout(m, in, 45);  // thumb 45..53 (see above)
    struct Case {
        const char* what;
        int along;
        int horizontal, vertical;
    };
    const Case cases[] = {
        {"first arrow", 0, 0, 30},
        {"first arrow's last pixel", 17, 0, 30},
        {"track before the thumb", 18, 2, 32},
        {"just before the thumb", 44, 2, 32},
        {"thumb", 45, 10, 10},
        {"thumb's last pixel", 52, 10, 10},
        {"track after the thumb", 53, 3, 33},
        {"second arrow", 82, 1, 31},
        {"last pixel", 99, 1, 31},
        {"outside", 100, -1, -1},
        {"before the bar", -1, -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(HitTest(g, c.along, false), c.horizontal);
        EXPECT_EQ(HitTest(g, c.along, true), c.vertical);
    }
}

TEST(ScrollGeometry, DragValueTable)
{
    struct Case {
        const char* what;
        int percent, along, offset;
        int value;
    };
    // Range 0..100, page 10 (max position 91), bar 100 with arrows of 18:
    // track 64, thumb 8 (10%) leaves 56 pixels of travel.
    const Case cases[] = {
        // d = 18 + 4 - 4 - 18 = 0 -> 0.
        {"thumb at the track start", 10, 22, 4, 0},
        // d = 46 - 0 - 18 = 28: 28 / 56 * 91 = 45.5 -> 45.
        {"half way", 10, 46, 0, 45},
        // d = 74 - 18 = 56 -> 91.
        {"end of the travel", 10, 74, 0, 91},
        {"beyond the end is held", 10, 99, 0, 91},
        {"before the start is held", 10, 0, 5, 0},
        // A full-track thumb leaves no travel: the range's start, never a division by zero.
        {"thumb fills the track", 100, 60, 3, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Model m;
        SetRange(m, 0, 100);
        m.thumbMode = kThumbPercent;
        m.thumbValue = int16_t(c.percent);
        GeometryInput in;
        in.length = 100;
        const Geometry g = Layout(m, in, 0);
        EXPECT_EQ(DragValue(m, g, c.along, c.offset), c.value);
    }
}

TEST(ScrollGeometry, RepeatCodes)
{
    const struct {
        int part, code;
    } cases[] = {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {30, 0}, {31, 1}, {32, 2}, {33, 3}, {10, -1}, {-1, -1}};
    for (const auto& c : cases)
        EXPECT_EQ(RepeatCode(c.part), c.code) << c.part;
}

TEST(ScrollStrip, CellsOfTheStripAtSize13)
{
    // The container's cells of 13: the strip is 4 x 13 + 4 x 13 + 13 = 117
    // wide and 3 x 13 = 39 high.
    Cells c{13, 13, 13, 13};
    struct Case {
        const char* what;
        bool vertical;
        int part, row;
        SourceRect expected;
    };
    const Case cases[] = {
        {"up arrow, normal", true, kDrawFirstArrow, 0, {0, 0, 13, 13}},
        {"down arrow, hot", true, kDrawSecondArrow, 1, {13, 13, 13, 13}},
        {"vertical track slice, pressed", true, kDrawTrack, 2, {39, 26, 13, 1}},
        {"left arrow", false, kDrawFirstArrow, 0, {52, 0, 13, 13}},
        {"right arrow, pressed", false, kDrawSecondArrow, 2, {65, 26, 13, 13}},
        {"horizontal track half", false, kDrawTrackAfter, 0, {91, 0, 1, 13}},
        {"size box, right-hand", true, kDrawSizeBoxRight, 2, {104, 0, 13, 13}},
        {"size box, left-hand", false, kDrawSizeBoxLeft, 0, {104, 13, 13, 13}},
    };
    for (const Case& t : cases) {
        SCOPED_TRACE(t.what);
        const SourceRect r = PartSource(c, t.vertical, t.part, t.row);
        EXPECT_EQ(r.x, t.expected.x);
        EXPECT_EQ(r.y, t.expected.y);
        EXPECT_EQ(r.width, t.expected.width);
        EXPECT_EQ(r.height, t.expected.height);
        EXPECT_LE(r.x + r.width, 117);
        EXPECT_LE(r.y + r.height, 39);
    }
    // Thumb pieces: halves of 13 are 6 (down); caps drawn 7 long (up).
    const SourceRect vStart = ThumbSource(c, true, kThumbStartCap, 1);
    EXPECT_EQ(vStart.x, 26);
    EXPECT_EQ(vStart.y, 13);
    EXPECT_EQ(vStart.height, 6);
    const SourceRect vMiddle = ThumbSource(c, true, kThumbMiddle, 0);
    EXPECT_EQ(vMiddle.y, 6);
    EXPECT_EQ(vMiddle.height, 1);
    const SourceRect hEnd = ThumbSource(c, false, kThumbEndCap, 0);
    EXPECT_EQ(hEnd.x, 52 + 26 + 6);
    EXPECT_EQ(hEnd.width, 6);
    EXPECT_EQ(ThumbCapLength(c, true), 7);
    EXPECT_EQ(RowOfState(kStatePressed | kStateHot), 2);
    EXPECT_EQ(RowOfState(kStateHot | kStateDisabled), 1);
    EXPECT_EQ(RowOfState(kStateDisabled), 0);
}
