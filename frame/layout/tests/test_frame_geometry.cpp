// Button placement, docking, the frame's sizes and placement, the maximise
// cycle and the skinned hit test.
#include <gtest/gtest.h>

#include <climits>

#include "FrameGeometry.h"

#include "FramePrint.h"

namespace {

TEST(ButtonPlacement, EveryAnchor)
{
    // Container (100,50)-(300,80): Cw 200, Ch 30. Button (5,4)-(25,24): 20 x 20.
    const AreaRect c(100, 50, 300, 80), lay(5, 4, 25, 24);
    struct Case
    {
        const char* what;
        int anchor;
        AreaRect expected;
    } cases[] = {
        {"LT: (l, t)", 1, {105, 54, 125, 74}},
        {"RT: (Cw - r, t) = (175, 4)", 2, {275, 54, 295, 74}},
        {"LB: (l, Ch - b) = (5, 6)", 3, {105, 56, 125, 76}},
        {"RB: (175, 6)", 4, {275, 56, 295, 76}},
        {"CL: (Cw/2 - r, t) = (75, 4)", 5, {175, 54, 195, 74}},
        {"CT: (l, Ch/2 - b) = (5, -9)", 6, {105, 41, 125, 61}},
        {"CR: (Cw/2 + l, t) = (105, 4)", 7, {205, 54, 225, 74}},
        {"CB: (l, Ch/2 + t) = (5, 19)", 8, {105, 69, 125, 89}},
        {"none: centred ((200-20)/2, (30-20)/2)", 0, {190, 55, 210, 75}},
        {"unknown anchor centres too", 42, {190, 55, 210, 75}},
    };
    for (const Case& k : cases)
        EXPECT_EQ(k.expected, PlaceButton(k.anchor, lay, c)) << k.what;
}

TEST(ButtonPlacement, ContainerLowerThanButton)
{
    // Ch 10 < 20: h = 10, w = (30 - 10) / 2 = 10.
    EXPECT_EQ(AreaRect(0, 0, 10, 10), PlaceButton(1, AreaRect(0, 0, 30, 20), AreaRect(0, 0, 100, 10)));
    // Centred by the layout size: x = (100 - 30) / 2, y = (10 - 20) / 2 = -5.
    EXPECT_EQ(AreaRect(35, -5, 45, 5), PlaceButton(0, AreaRect(0, 0, 30, 20), AreaRect(0, 0, 100, 10)));
    // A container of height 0 leaves nothing.
    EXPECT_TRUE(PlaceButton(1, AreaRect(0, 0, 30, 20), AreaRect(0, 0, 100, 0)).IsEmpty());
}

TEST(Docking, ItemsInOrder)
{
    const AreaRect area(0, 0, 100, 80);
    struct Case
    {
        const char* what;
        std::vector<DockItem> items;
        std::vector<AreaRect> expected;
        std::vector<bool> repaint;
    } cases[] = {
        {"left keeps its width, top its height, right takes the rest, bottom finds nothing",
         {{kDockLeft | kDockKeepWidth, {0, 0, 20, 5}, true},
          {kDockTop | kDockKeepHeight, {0, 0, 5, 10}, true},
          {kDockRight, {}, true},
          {kDockBottom, {}, true}},
         {{0, 0, 20, 80}, {20, 0, 100, 10}, {20, 10, 100, 80}, {0, 0, 0, 0}},
         {true, true, true, false}},
        {"a fill item followed by a docked item: the docked one gets (0,0,0,0)",
         {{kDockFill, {}, true}, {kDockLeft, {}, true}},
         {{0, 0, 100, 80}, {0, 0, 0, 0}},
         {true, false}},
        {"right and bottom with own sizes; a kept width larger than the space is cut",
         {{kDockRight | kDockKeepWidth, {0, 0, 30, 0}, true},
          {kDockBottom | kDockKeepHeight, {0, 0, 0, 15}, true},
          {kDockLeft | kDockKeepWidth, {0, 0, 500, 0}, true}},
         {{70, 0, 100, 80}, {0, 65, 70, 80}, {0, 0, 70, 65}},
         {true, true, true}},
        {"an item without a window is skipped and leaves the space",
         {{kDockLeft | kDockKeepWidth, {0, 0, 10, 0}, false}, {kDockFill, {}, true}},
         {{0, 0, 0, 0}, {0, 0, 100, 80}},
         {true, true}},
    };
    for (const Case& k : cases) {
        const std::vector<DockPlace> out = LayoutDockItems(area, k.items);
        ASSERT_EQ(k.expected.size(), out.size()) << k.what;
        for (size_t i = 0; i < out.size(); i++) {
            EXPECT_EQ(k.expected[i], out[i].rect) << k.what << " item " << i;
            EXPECT_EQ(k.repaint[i], out[i].repaint) << k.what << " item " << i;
        }
    }
}

TEST(Docking, InsertIndex)
{
    EXPECT_EQ(2, DockInsertIndex({0x101, 0x202, 0, 1}, kDockLeft)) << "before the first item without a keep bit";
    EXPECT_EQ(4, DockInsertIndex({0x101, 0x202, 0, 1}, kDockFill)) << "fill items are appended";
    EXPECT_EQ(1, DockInsertIndex({0x101}, kDockRight)) << "all items keep a size: appended";
    EXPECT_EQ(0, DockInsertIndex({}, kDockBottom));
    EXPECT_EQ(0, DockInsertIndex({kDockFill}, kDockTop | kDockKeepHeight));
}

TEST(FrameSizes, FromTheWorkArea)
{
    struct Case
    {
        int w, h;
        FrameSize minimum, maximum, normal;
    } cases[] = {
        {1280, 1024, {800, 600}, {1280, 1024}, {1024, 768}},
        {1024, 768, {800, 600}, {1024, 768}, {1024, 768}},
        {1000, 700, {800, 600}, {1000, 700}, {1000, 700}},
        {1100, 700, {800, 600}, {1024, 700}, {1024, 700}},
        {900, 800, {800, 600}, {900, 768}, {900, 768}},
        {640, 480, {640, 480}, {640, 480}, {640, 480}},
        {900, 500, {800, 500}, {800, 500}, {800, 500}},
    };
    for (const Case& k : cases) {
        const FrameSizes s = ComputeFrameSizes(k.w, k.h);
        EXPECT_TRUE(s.minimum == k.minimum) << k.w << "x" << k.h;
        EXPECT_TRUE(s.maximum == k.maximum) << k.w << "x" << k.h;
        EXPECT_TRUE(s.normal == k.normal) << k.w << "x" << k.h;
    }
}

TEST(FramePlacement, FromTheProfile)
{
    const FrameSizes s = ComputeFrameSizes(1280, 1024);
    struct Case
    {
        const char* what;
        int l, t, w, h;
        AreaRect expected;
    } cases[] = {
        {"nothing stored: the maximum at (0,0)", 0, 0, 0, 0, {0, 0, 1280, 1024}},
        {"a negative height: the maximum", 10, 10, 900, -5, {0, 0, 1280, 1024}},
        {"kept as stored", 10, 20, 900, 700, {10, 20, 910, 720}},
        {"raised to the minimum", 10, 20, 500, 400, {10, 20, 810, 620}},
        {"left beyond the screen: screen width - width", 1270, 20, 900, 700, {380, 20, 1280, 720}},
        {"top beyond the screen: screen height - height", 10, 1010, 900, 700, {10, 324, 910, 1024}},
        {"too far left: left 0", -950, 20, 900, 700, {0, 20, 900, 720}},
        {"too far up: top 0", 10, -690, 900, 700, {10, 0, 910, 700}},
        {"a damaged width is cut to the maximum", 0, 0, INT_MAX, INT_MAX, {0, 0, 1280, 1024}},
    };
    for (const Case& k : cases)
        EXPECT_EQ(k.expected, RestoredPlacement(k.l, k.t, k.w, k.h, s, 1280, 1024)) << k.what;
}

TEST(FrameMaximize, TheCycle)
{
    const FrameSizes s = ComputeFrameSizes(1280, 1024);
    const AreaRect work(0, 0, 1280, 1024);
    {
        MaximizeState st;
        EXPECT_EQ(work, NextMaximizeRect(AreaRect(100, 100, 900, 700), s, work, st)) << "minimum -> maximum";
        // From the maximum without anything remembered: the normal size, centred.
        EXPECT_EQ(AreaRect(128, 128, 1152, 896), NextMaximizeRect(work, s, work, st));
    }
    {
        MaximizeState st;
        EXPECT_EQ(work, NextMaximizeRect(AreaRect(50, 60, 950, 760), s, work, st)) << "other -> maximum";
        EXPECT_EQ(AreaRect(50, 60, 950, 760), NextMaximizeRect(work, s, work, st)) << "back where it was";
    }
    {
        MaximizeState st;
        st.resizeX = 1000;
        st.resizeY = 700;
        st.resizeL = 30;
        // The profile's size at its left, centred vertically ((1024 - 700) / 2).
        EXPECT_EQ(AreaRect(30, 162, 1030, 862), NextMaximizeRect(work, s, work, st));
    }
    {
        MaximizeState st;
        st.lastRestored = AreaRect(1200, 1000, 2100, 1700);
        EXPECT_EQ(AreaRect(380, 324, 1280, 1024), NextMaximizeRect(work, s, work, st)) << "kept inside";
    }
    {
        const FrameSizes small = ComputeFrameSizes(640, 480);
        const AreaRect area(0, 0, 640, 480);
        MaximizeState st;
        EXPECT_EQ(area, NextMaximizeRect(area, small, area, st)) << "one size only: stays";
    }
}

TEST(FrameHitTest, Table)
{
    HitTestInput base;
    base.title = AreaRect(0, 0, 800, 30);
    base.about = AreaRect(4, 4, 30, 26);
    base.hasRoot = true;
    base.root = AreaRect(5, 30, 795, 595);
    base.grip = 8;
    base.backWidth = 800;
    base.clientW = 800;
    base.clientH = 600;
    struct Case
    {
        const char* what;
        int x, y;
        bool onButton;
        int grip, backWidth;
        bool hasRoot;
        int expected;
    } cases[] = {
        {"a caption button", 700, 10, true, 8, 800, true, kHitDefault},
        {"the about rectangle", 10, 10, false, 8, 800, true, kHitDefault},
        {"the caption", 100, 10, false, 8, 800, true, kHitCaption},
        {"inside the root area", 400, 300, false, 8, 800, true, kHitDefault},
        {"the border", 2, 300, false, 8, 800, true, kHitCaption},
        {"the grip square", 796, 596, false, 8, 800, true, kHitBottomRight},
        {"just left of the grip", 791, 596, false, 8, 800, true, kHitCaption},
        {"grip 0", 796, 596, false, 0, 800, true, kHitCaption},
        {"grip 10", 796, 596, false, 10, 800, true, kHitCaption},
        {"a back image 20 pixels wide", 796, 596, false, 8, 20, true, kHitCaption},
        {"no root area", 400, 300, false, 8, 800, false, kHitCaption},
    };
    for (const Case& k : cases) {
        HitTestInput in = base;
        in.x = k.x;
        in.y = k.y;
        in.onTitleButton = k.onButton;
        in.grip = k.grip;
        in.backWidth = k.backWidth;
        in.hasRoot = k.hasRoot;
        EXPECT_EQ(k.expected, FrameHitTest(in)) << k.what;
    }
}

}  // namespace
