// The caption bar's button places and hit tests on a caption of 300 x 30 at
// (10, 5): each button 20 x 16 unless said, close 4 from the right edge,
// maximise and minimise 2 from their right neighbours, the system menu 3
// from the left.
#include <gtest/gtest.h>

#include "ODTitleLayout.h"

namespace {

using namespace odtitle;

Input Standard(uint32_t style)
{
    Input in;
    in.style = style;
    const int xs[ButtonCount] = {3, 4, 2, 2};
    for (int b = 0; b < ButtonCount; ++b) {
        in.buttons[b].loaded = true;
        in.buttons[b].x = xs[b];
        in.buttons[b].y = kCentred;
        in.buttons[b].width = 20;
        in.buttons[b].height = 16;
    }
    in.textX = 5;
    return in;
}

const Rect kCaption = [] {
    Rect r;
    r.left = 10;
    r.top = 5;
    r.right = 310;
    r.bottom = 35;
    return r;
}();

TEST(TitleLayout, AllButtons)
{
    const Layout l = Arrange(Standard(kSysMenu | kMaximizeBox | kMinimizeBox), kCaption);
    struct Expect
    {
        int left, right;
    };
    // close: right 310 - 4 = 306; maximise: right 286 - 2 = 284; minimise: 264 - 2 = 262.
    const Expect e[ButtonCount] = {{13, 33}, {286, 306}, {264, 284}, {242, 262}};
    for (int b = 0; b < ButtonCount; ++b) {
        SCOPED_TRACE(b);
        ASSERT_TRUE(l.present[b]);
        EXPECT_EQ(l.buttons[b].left, e[b].left);
        EXPECT_EQ(l.buttons[b].right, e[b].right);
        EXPECT_EQ(l.buttons[b].top, 5 + (30 - 16) / 2) << "y 0xFFFF centres";
    }
    EXPECT_EQ(l.text.left, 33 + 5);
    EXPECT_EQ(l.text.right, 242);
}

TEST(TitleLayout, VerticalPositions)
{
    struct Case
    {
        const char* what;
        int y, top;
    };
    const Case cases[] = {
        {"0xFFFF centres", kCentred, 12},
        {"0 at the top", 0, 5},
        {"3 below the top", 3, 8},
        {"-2: the top two pixels above the bottom", -2, 33},
    };
    for (const auto& c : cases) {
        Input in = Standard(kSysMenu);
        in.buttons[Close].y = c.y;
        const Layout l = Arrange(in, kCaption);
        EXPECT_EQ(l.buttons[Close].top, c.top) << c.what;
        EXPECT_EQ(HitTest(l, l.buttons[Close].left, l.buttons[Close].top), Close) << c.what;
        EXPECT_EQ(HitTest(l, l.buttons[Close].left, l.buttons[Close].bottom), -1) << c.what;
    }
}

TEST(TitleLayout, MissingButtonsAndRestoreImages)
{
    // Without a maximise box the minimise button stands next to close.
    Layout l = Arrange(Standard(kSysMenu | kMinimizeBox), kCaption);
    EXPECT_FALSE(l.present[Maximize]);
    EXPECT_EQ(l.buttons[Minimize].right, 286 - 2);
    // No system-menu style: neither the system menu nor close.
    l = Arrange(Standard(kMaximizeBox), kCaption);
    EXPECT_FALSE(l.present[SysMenu]);
    EXPECT_FALSE(l.present[Close]);
    EXPECT_EQ(l.buttons[Maximize].right, 310 - 2);
    EXPECT_EQ(l.text.left, 10 + 5);
    // An image that is not loaded leaves the button out.
    Input in = Standard(kSysMenu | kMaximizeBox | kMinimizeBox);
    in.buttons[Close].loaded = false;
    l = Arrange(in, kCaption);
    EXPECT_FALSE(l.present[Close]);
    EXPECT_EQ(l.buttons[Maximize].right, 308);
    // Maximised with a restore image of 24 x 18: maximise takes its size.
    in = Standard(kSysMenu | kMaximizeBox | kMinimizeBox);
    in.maximized = true;
    in.restoreLoaded = true;
    in.restoreWidth = 24;
    in.restoreHeight = 18;
    l = Arrange(in, kCaption);
    EXPECT_TRUE(l.restore[Maximize]);
    EXPECT_FALSE(l.restore[Minimize]);
    EXPECT_EQ(l.buttons[Maximize].left, 284 - 24);
    EXPECT_EQ(l.buttons[Minimize].right, 260 - 2);
    // Maximised without restore cells keeps the maximise image.
    in.restoreLoaded = false;
    l = Arrange(in, kCaption);
    EXPECT_FALSE(l.restore[Maximize]);
}

TEST(TitleLayout, HitTestOrderAndMinWidth)
{
    const Input in = Standard(kSysMenu | kMaximizeBox | kMinimizeBox);
    const Layout l = Arrange(in, kCaption);
    EXPECT_EQ(HitTest(l, 15, 20), SysMenu);
    EXPECT_EQ(HitTest(l, 300, 20), Close);
    EXPECT_EQ(HitTest(l, 270, 20), Maximize);
    EXPECT_EQ(HitTest(l, 250, 20), Minimize);
    EXPECT_EQ(HitTest(l, 150, 20), -1);
    EXPECT_EQ(HitTest(l, 300, 6), -1) << "above the centred button";
    // 3 + 20 + 4 + 20 + 2 + 20 + 2 + 20 + text x 5 + text 100.
    EXPECT_EQ(MinWidth(in, 100), 196);
    EXPECT_EQ(MinWidth(Standard(0), 100), 105);
}

}  // namespace
