// The split grid's division: resize, hiding for lack of room, drags, wheel
// turns, hide keys, the slider stretch and the stored proportion.
#include <gtest/gtest.h>

#include "SplitModel.h"

#include "FramePrint.h"

namespace {

// Side by side, 50 pixels high, E pixels wide, slider 4, minimum sizes 60.
SplitModel SideBySide(int e, int first = 0, int second = 0)
{
    SplitModel m;
    m.thickness = 4;
    m.SetDefaultSize(first, second);
    m.rect = AreaRect(0, 0, e, 50);
    return m;
}

TEST(SplitModel, TooSmallForBothSidesThenRoomAgain)
{
    SplitModel m = SideBySide(100);
    m.Layout();
    // 100 < 60 + 4 + 60: hide both (A) with m1 = m2 hides the second side.
    EXPECT_TRUE(m.forceHide);
    EXPECT_TRUE(m.side[0].visible);
    EXPECT_FALSE(m.side[1].visible);
    EXPECT_EQ(96, m.spliteFrom);
    EXPECT_EQ(AreaRect(0, 0, 96, 50), m.side[0].rect);

    m.rect = AreaRect(0, 0, 124, 50);
    m.Layout();
    // 124 * 4 / 5 = 99, but 124 - 4 - 99 < 60: first = 124 - 4 - 60 = 60.
    EXPECT_FALSE(m.forceHide);
    EXPECT_TRUE(m.side[0].visible && m.side[1].visible);
    EXPECT_EQ(AreaRect(0, 0, 60, 50), m.side[0].rect);
    EXPECT_EQ(AreaRect(64, 0, 124, 50), m.side[1].rect);
    EXPECT_EQ(60, m.leftWidth);
    EXPECT_EQ(64, m.rightWidth);
    EXPECT_EQ(124, m.totalWidth);
}

TEST(SplitModel, ResizeTable)
{
    struct Case
    {
        const char* what;
        int e, a, b, hide, keep, m1, m2;
        bool firstShown, secondShown;
        int spliteFrom;
    } cases[] = {
        {"4:1 of 400", 400, 4, 1, kHideBoth, kKeepNone, 60, 60, true, true, 320},
        {"keep left holds the first side at its minimum", 400, 4, 1, kHideBoth, kKeepLeft, 60, 60, true, true, 60},
        {"keep right holds the second side at its minimum", 400, 4, 1, kHideBoth, kKeepRight, 60, 60, true, true,
         336},
        {"1:3 of 400", 400, 1, 3, kHideBoth, kKeepNone, 60, 60, true, true, 100},
        {"raised to the first minimum", 400, 1, 99, kHideBoth, kKeepNone, 60, 60, true, true, 60},
        {"missing defsize: 4:1", 400, 0, 0, kHideBoth, kKeepNone, 60, 60, true, true, 320},
        {"too small, hide L: the first side goes", 100, 4, 1, kHideLeft, kKeepNone, 60, 60, false, true, 0},
        {"too small, hide N: the second side goes", 100, 4, 1, kHideNone, kKeepNone, 60, 60, true, false, 96},
        {"too small, hide R: the second side goes", 100, 4, 1, kHideRight, kKeepNone, 60, 60, true, false, 96},
        {"too small, hide A with m1 < m2: the first side goes", 100, 4, 1, kHideBoth, kKeepNone, 50, 60, false, true,
         0},
    };
    for (const Case& k : cases) {
        SplitModel m = SideBySide(k.e, k.a, k.b);
        m.hide = k.hide;
        m.keepSide = k.keep;
        m.minFirst = static_cast<int16_t>(k.m1);
        m.minSecond = static_cast<int16_t>(k.m2);
        m.Layout();
        EXPECT_EQ(k.firstShown, m.side[0].visible) << k.what;
        EXPECT_EQ(k.secondShown, m.side[1].visible) << k.what;
        EXPECT_EQ(k.spliteFrom, m.spliteFrom) << k.what;
    }
}

TEST(SplitModel, StackedAndMargins)
{
    SplitModel m;
    m.stacked = true;
    m.thickness = 4;
    m.SetDefaultSize(0, 0);  // stacked default 1:2
    m.rect = AreaRect(10, 20, 60, 320);
    m.side[0].margins = AreaRect(1, 2, 3, 4);
    m.Layout();
    // 300 * 1 / 3 = 100: top [20, 120) less (1,2,3,4); bottom [124, 320).
    EXPECT_EQ(AreaRect(11, 22, 57, 116), m.side[0].rect);
    EXPECT_EQ(AreaRect(10, 124, 60, 320), m.side[1].rect);
}

TEST(SplitModel, StoredProportionThatCannotDivide)
{
    // A stored TotalWidth of 0 or below, or below LeftWidth, falls back to
    // the default 4:1.
    for (int16_t total : {static_cast<int16_t>(0), static_cast<int16_t>(-5), static_cast<int16_t>(9)}) {
        SplitModel m = SideBySide(400);
        m.leftWidth = 10;
        m.totalWidth = total;
        m.Layout();
        EXPECT_EQ(320, m.spliteFrom) << "total " << total;
    }
    // A splitter of extent 0 (minimum sizes 0, no slider) keeps its proportion,
    // so the next resize still divides.
    SplitModel m = SideBySide(0);
    m.thickness = 0;
    m.minFirst = m.minSecond = 0;
    m.Layout();
    EXPECT_EQ(5, m.totalWidth);
    m.rect = AreaRect(0, 0, 200, 50);
    m.Layout();
    EXPECT_EQ(160, m.spliteFrom);
}

TEST(SplitModel, SixteenBitProportion)
{
    SplitModel m = SideBySide(40000);
    m.Apply(30000);
    // 30000 : 10000 scaled into 32767: 24575 : 8192.
    EXPECT_EQ(24575, m.leftWidth);
    EXPECT_EQ(8192, m.rightWidth);
    EXPECT_EQ(32767, m.totalWidth);
    m.Resize();
    EXPECT_EQ(29999, m.spliteFrom);   // 40000 * 24575 / 32767

    m.SetDefaultSize(40000, 40000);
    EXPECT_EQ(16383, m.leftWidth);
    EXPECT_EQ(16384, m.rightWidth);
}

TEST(SplitModel, DragSequence)
{
    SplitModel m = SideBySide(400);
    m.Layout();
    m.Apply(200);
    struct Step
    {
        const char* what;
        int d;
        bool taken;
        bool firstShown, secondShown;
        int spliteFrom;
    } steps[] = {
        {"towards the start, still above the minimum", -100, true, true, true, 100},
        {"below the minimum but wider than the slider: refused", -60, false, true, true, 100},
        {"thinner than the slider: the first side hides", -97, true, false, true, 0},
        {"first side hidden: towards the start refused", -10, false, false, true, 0},
        {"not past the first minimum: refused", 50, false, false, true, 0},
        {"past the first minimum: shown again", 70, true, true, true, 70},
        {"second side below its minimum: refused", 270, false, true, true, 70},
        {"second side thinner than the slider: it hides", 323, true, true, false, 396},
        {"second side hidden: towards the end refused", 10, false, true, false, 396},
        {"back by less than the second minimum: refused", -50, false, true, false, 396},
        {"back past the second minimum: shown again", -100, true, true, true, 296},
    };
    for (const Step& s : steps) {
        EXPECT_EQ(s.taken, m.Move(s.d)) << s.what;
        EXPECT_EQ(s.firstShown, m.side[0].visible) << s.what;
        EXPECT_EQ(s.secondShown, m.side[1].visible) << s.what;
        EXPECT_EQ(s.spliteFrom, m.spliteFrom) << s.what;
        EXPECT_FALSE(m.forceHide) << s.what;
    }
    EXPECT_EQ(AreaRect(300, 0, 400, 50), m.side[1].rect);
}

TEST(SplitModel, Wheel)
{
    struct Case
    {
        int delta;
        int thickness;
        bool drag;
        bool taken;
        int spliteFrom;
    } cases[] = {
        {120, 4, true, true, 260},   // +60
        {-120, 4, true, true, 140},  // -60
        {121, 4, true, true, 260},   // 121 / 2 = 60
        {-121, 4, true, true, 140},  // truncated towards zero
        {120, 0, true, false, 200},  // no slider
        {120, 4, false, false, 200}, // drag off
    };
    for (const auto& k : cases) {
        SplitModel m = SideBySide(400);
        m.Layout();
        m.Apply(200);
        m.thickness = k.thickness;
        m.drag = k.drag;
        EXPECT_EQ(k.taken, m.Wheel(k.delta)) << k.delta;
        EXPECT_EQ(k.spliteFrom, m.spliteFrom) << k.delta;
    }
}

TEST(SplitModel, HideKeys)
{
    SplitModel m = SideBySide(400);
    m.Layout();
    m.Apply(200);
    EXPECT_FALSE(m.HideKey(3)) << "unknown key";
    EXPECT_TRUE(m.HideKey(kKeyRight));
    EXPECT_FALSE(m.side[1].visible);
    EXPECT_EQ(396, m.spliteFrom);
    EXPECT_FALSE(m.HideKey(kKeyLeft)) << "key 1 while the second side is hidden";
    EXPECT_TRUE(m.HideKey(kKeyRight)) << "shown again with the stored 200:400";
    EXPECT_TRUE(m.side[1].visible);
    EXPECT_EQ(200, m.spliteFrom);
    EXPECT_TRUE(m.HideKey(kKeyLeft));
    EXPECT_FALSE(m.side[0].visible);
    EXPECT_EQ(0, m.spliteFrom);
    EXPECT_EQ(AreaRect(4, 0, 400, 50), m.side[1].rect);
    EXPECT_FALSE(m.HideKey(kKeyRight)) << "key 2 while the first side is hidden";
    EXPECT_TRUE(m.HideKey(kKeyLeft));
    EXPECT_EQ(200, m.spliteFrom);

    m.forceHide = true;
    EXPECT_FALSE(m.HideKey(kKeyLeft)) << "nothing while forced hidden";
}

TEST(SplitModel, SliderStretch)
{
    struct Case
    {
        const char* what;
        bool stacked;
        int thickness, keepLength, insetStart, insetEnd;
        AreaRect expected;
    } cases[] = {
        {"keep length 50 centred in 200", false, 4, 50, 0, 0, {110, 95, 114, 145}},
        {"insets 5 and 7", false, 4, 0, 5, 7, {110, 25, 114, 213}},
        {"keep length longer than the slider: insets", false, 4, 300, 5, 7, {110, 25, 114, 213}},
        {"no slider", false, 0, 0, 0, 0, {0, 0, 0, 0}},
        {"stacked, keep length 100 in 400", true, 6, 100, 0, 0, {160, 120, 260, 126}},
    };
    for (const Case& k : cases) {
        SplitModel m;
        m.stacked = k.stacked;
        m.thickness = k.thickness;
        m.keepLength = k.keepLength;
        m.keepInsetStart = k.insetStart;
        m.keepInsetEnd = k.insetEnd;
        m.rect = AreaRect(10, 20, 410, 220);
        m.spliteFrom = 100;
        EXPECT_EQ(k.expected, m.SliderRect()) << k.what;
    }
}

}  // namespace
