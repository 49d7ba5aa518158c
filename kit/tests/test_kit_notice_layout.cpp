// The notice dialog's arithmetic: sizes with and without the cancel button
// and when topmost, the button centred under the text.
#include <gtest/gtest.h>

#include "NoticeLayout.h"

namespace {

using namespace kit;

// Measured from a template: button top 74, text bottom 56 (window
// coordinates), client height 76, button 13 below the text.
NoticeMetrics Template()
{
    NoticeMetrics m;
    m.buttonOffset = 74 + 5;
    m.textToBottom = 56;
    m.clientToWindow = 76 + 5;
    m.buttonGap = 13;
    return m;
}

TEST(NoticeLayout, SizesByButtonAndTopmost)
{
    struct Case
    {
        const char* what;
        bool button, topMost;
        int clientLeft, frameWidth;
        int width, height;
        bool caption;
    };
    // Text static at (54, 18) in client coordinates, text 120 x 12: its
    // rectangle is (54, 18, 174, 32); width = clientLeft + 174 + 32.
    const Case cases[] = {
        {"with the button: caption, text bottom + button offset", true, false, 3, 6, 3 + 174 + 32, 32 + 79, true},
        {"the button wins over topmost", true, true, 3, 6, 3 + 174 + 32, 32 + 79, true},
        {"without: no caption, text bottom + text-to-bottom", false, false, 0, 0, 174 + 32, 32 + 56, false},
        {"topmost without: the client-to-window height instead", false, true, 0, 0, 174 + 32, 32 + 81, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const NoticeLayout l = LayoutNotice(Template(), 54, 18, 120, 12, c.clientLeft, c.frameWidth, 75, 21,
                                            c.button, c.topMost);
        EXPECT_EQ(l.text.left, 54);
        EXPECT_EQ(l.text.top, 18);
        EXPECT_EQ(l.text.Width(), 120);
        EXPECT_EQ(l.text.Height(), 14);   // the text's height + 2
        EXPECT_EQ(l.width, c.width);
        EXPECT_EQ(l.height, c.height);
        EXPECT_EQ(l.caption, c.caption);
        EXPECT_EQ(l.button.Width() > 0, c.button);
    }
}

TEST(NoticeLayout, ButtonCentredUnderTheText)
{
    const NoticeLayout l = LayoutNotice(Template(), 54, 18, 120, 12, 3, 6, 75, 21, true, false);
    // Client width 209 - 6 = 203: left (203 - 75) / 2 = 64; top 32 + 13.
    EXPECT_EQ(l.button.left, 64);
    EXPECT_EQ(l.button.right, 139);
    EXPECT_EQ(l.button.top, 45);
    EXPECT_EQ(l.button.bottom, 66);
    EXPECT_GE(l.button.top, l.text.bottom);
}

TEST(NoticeLayout, NegativeSizesCountAsZero)
{
    const NoticeLayout l = LayoutNotice(Template(), 10, 10, -5, -7, 0, 0, -1, -1, true, false);
    EXPECT_EQ(l.text.Width(), 0);
    EXPECT_EQ(l.text.Height(), 2);
    EXPECT_EQ(l.button.Width(), 0);
    EXPECT_EQ(l.width, 10 + 32);
}

TEST(NoticeLayout, WebNoticeSizeIsBounded)
{
    struct Case
    {
        const char* what;
        uint32_t width, height;
        int maxWidth, maxHeight;
        int expectedWidth, expectedHeight;
    };
    const Case cases[] = {
        {"a size that fits", 400, 300, 1024, 768, 400, 300},
        {"zero takes the minimum", 0, 0, 1024, 768, 160, 120},
        {"larger than the screen is cut to it", 5000, 4000, 1024, 768, 1024, 768},
        {"the largest values", 0xFFFFFFFFu, 0x80000000u, 1024, 768, 1024, 768},
        {"a screen smaller than the minimum", 400, 300, 100, 50, 160, 120},
    };
    for (const Case& c : cases) {
        int w = -1, h = -1;
        WebNoticeSize(c.width, c.height, c.maxWidth, c.maxHeight, &w, &h);
        EXPECT_EQ(w, c.expectedWidth) << c.what;
        EXPECT_EQ(h, c.expectedHeight) << c.what;
    }
}

}  // namespace
