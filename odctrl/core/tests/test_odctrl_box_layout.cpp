// The message box's and wait box's arithmetic without windows: button
// types, theme captions, icons, default buttons, the countdown caption, both
// layouts and the progress timer's modes. Captions are code page 936 bytes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ODBoxLayout.h"

namespace {

using namespace odbox;

const std::string kOk = "\xC8\xB7\xB6\xA8", kCancel = "\xC8\xA1\xCF\xFB", kAbort = "\xB7\xC5\xC6\xFA",
                  kRetry = "\xD6\xD8\xCA\xD4", kIgnore = "\xBA\xF6\xC2\xD4", kYes = "\xCA\xC7", kNo = "\xB7\xF1";

TEST(BoxLayout, ButtonTypes)
{
    struct Case
    {
        const char* what;
        uint32_t style;
        const char* key;
        std::vector<std::string> captions;
        std::vector<int> results;
    };
    const Case cases[] = {
        {"MB_OK", 0x00, "MB_OK", {kOk}, {1}},
        {"MB_OKCANCEL", 0x01, "MB_OKCANCEL", {kOk, kCancel}, {1, 2}},
        {"MB_ABORTRETRYIGNORE", 0x02, "MB_ABORTRETRYIGNORE", {kAbort, kRetry, kIgnore}, {3, 4, 5}},
        {"MB_YESNOCANCEL", 0x03, "MB_YESNOCANCEL", {kYes, kNo, kCancel}, {6, 7, 2}},
        {"MB_YESNO", 0x04, "MB_YESNO", {kYes, kNo}, {6, 7}},
        {"MB_RETRYCANCEL", 0x05, "MB_RETRYCANCEL", {kRetry, kCancel}, {4, 2}},
        {"type 6 is MB_OK", 0x06, "MB_OK", {kOk}, {1}},
        {"type 15 is MB_OK", 0x0F, "MB_OK", {kOk}, {1}},
        {"icon and default bits do not change the type", 0x134, "MB_YESNO", {kYes, kNo}, {6, 7}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Buttons b = ButtonsOf(c.style);
        EXPECT_STREQ(b.themeKey, c.key);
        ASSERT_EQ(b.count, static_cast<int>(c.captions.size()));
        for (int i = 0; i < b.count; ++i) {
            EXPECT_EQ(b.captions[i], c.captions[static_cast<size_t>(i)]);
            EXPECT_EQ(b.results[i], c.results[static_cast<size_t>(i)]);
        }
        for (int i = b.count; i < kMaxButtons; ++i)
            EXPECT_EQ(b.results[i], i) << "a slot the type does not set keeps its first value";
    }
}

TEST(BoxLayout, ThemeCaptionsAreSplitCutAndTrimmed)
{
    struct Case
    {
        const char* what;
        uint32_t style;
        const char* text;
        std::vector<std::string> captions;
        std::vector<int> results;
    };
    const Case cases[] = {
        {"empty text keeps the type's captions", 0x00, "", {kOk}, {1}},
        {"three captions for a two-button type", 0x04, " Sure , No way,  Later ", {"Sure", "No way", "Later"},
         {6, 7, 2}},
        {"one caption for a three-button type", 0x03, "Yes", {"Yes"}, {6}},
        {"more than four fields: four", 0x00, "a,b,c,d,e", {"a", "b", "c", "d"}, {1, 1, 2, 3}},
        {"cut to 15 bytes, then trimmed", 0x00, "  0123456789abcdefgh", {"0123456789abc"}, {1}},
        {"never inside a two-byte character", 0x00, "0123456789abcd\xC8\xB7", {"0123456789abcd"}, {1}},
        {"two-byte captions", 0x01, "\xCA\xC7,\xB7\xF1", {kYes, kNo}, {1, 2}},
        {"an empty field is an empty caption", 0x01, "OK,", {"OK", ""}, {1, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Buttons b = ButtonsOf(c.style);
        ApplyThemeCaptions(c.text, &b);
        ASSERT_EQ(b.count, static_cast<int>(c.captions.size()));
        for (int i = 0; i < b.count; ++i) {
            EXPECT_EQ(b.captions[i], c.captions[static_cast<size_t>(i)]);
            EXPECT_EQ(b.results[i], c.results[static_cast<size_t>(i)]);
        }
    }
}

TEST(BoxLayout, IconAndDefaultButton)
{
    struct IconCase
    {
        uint32_t style;
        const char* key;
    };
    const IconCase icons[] = {{0x40, "MB_ICONINFORMATION"}, {0x20, "MB_ICONQUESTION"}, {0x10, "MB_ICONSTOP"},
                              {0x30, "MB_ICONWARNING"},     {0x00, "MB_ICONWARNING"},  {0x50, "MB_ICONWARNING"},
                              {0x44, "MB_ICONINFORMATION"}};
    for (const IconCase& c : icons) {
        SCOPED_TRACE(c.style);
        EXPECT_STREQ(IconKey(c.style), c.key);
    }
    struct DefCase
    {
        const char* what;
        uint32_t style;
        int count;
        int index;
    };
    const DefCase defs[] = {
        {"first by default", 0x004, 2, 0},       {"MB_DEFBUTTON2", 0x104, 2, 1},
        {"MB_DEFBUTTON3", 0x203, 3, 2},          {"MB_DEFBUTTON4", 0x300, 4, 3},
        {"a third of two buttons: the first", 0x204, 2, 0},
    };
    for (const DefCase& c : defs) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(DefaultButton(c.style, c.count), c.index);
    }
    EXPECT_EQ(CountdownCaption(5, "Table"), "5 Table");
    EXPECT_EQ(CountdownCaption(0, ""), "0 ");
}

TEST(BoxLayout, MessageLayout)
{
    // Hand calculation for icon 32 x 32, text 100 x 16, buttons 60 x 24 and 50 x 20:
    //   buttons' width B = 70 + 60 = 130, tallest 24; W = max(130, 32 + 100 + 20) + 10 = 162,
    //   H = 24 + 32 + 30 = 86; text at 52, 10 + (32 - 16) / 2 = 18; row top 10 + 32 + 10 = 52;
    //   centred: right end (130 + 162) / 2 = 146, last button 96..146, first 26..86;
    //   right-aligned: right end 152, last 102..152, first 32..92.
    const Size two[] = {{60, 24}, {50, 20}};
    struct Case
    {
        const char* what;
        Size icon, text;
        int count;
        int captionWidth;
        bool centre;
        Size client;
        Rect text_;
        Rect first, last;
    };
    const Case cases[] = {
        {"centred", {32, 32}, {100, 16}, 2, 0, true, {162, 86}, {52, 18, 152, 34}, {26, 52, 86, 76},
         {96, 52, 146, 72}},
        {"right-aligned", {32, 32}, {100, 16}, 2, 0, false, {162, 86}, {52, 10, 152, 26}, {32, 52, 92, 76},
         {102, 52, 152, 72}},
        {"caption wider", {32, 32}, {100, 16}, 2, 300, true, {300, 86}, {52, 18, 152, 34}, {95, 52, 155, 76},
         {165, 52, 215, 72}},
        {"text taller than the icon", {16, 16}, {40, 50}, 1, 0, true, {86, 104}, {36, 10, 76, 60}, {18, 70, 78, 94},
         {18, 70, 78, 94}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const MessageLayout l = LayoutMessage(c.icon, c.text, two, c.count, c.captionWidth, c.centre);
        EXPECT_EQ(l.client.cx, c.client.cx);
        EXPECT_EQ(l.client.cy, c.client.cy);
        EXPECT_EQ(l.icon.left, 10);
        EXPECT_EQ(l.icon.top, 10);
        EXPECT_EQ(l.icon.Width(), c.icon.cx);
        EXPECT_EQ(l.text.left, c.text_.left);
        EXPECT_EQ(l.text.top, c.text_.top);
        EXPECT_EQ(l.text.right, c.text_.right);
        const Rect& first = l.buttons[0];
        const Rect& last = l.buttons[c.count - 1];
        EXPECT_EQ(first.left, c.first.left);
        EXPECT_EQ(first.top, c.first.top);
        EXPECT_EQ(first.right, c.first.right);
        EXPECT_EQ(first.bottom, c.first.bottom);
        EXPECT_EQ(last.left, c.last.left);
        EXPECT_EQ(last.bottom, c.last.bottom);
    }
}

TEST(BoxLayout, WaitLayout)
{
    // Image 32 x 32, text 80 x 16, button 75 x 23, progress bar 120 x 12:
    //   content = max(75, 32 + 80 + 10) = 122, inner 142; row 32.
    struct Case
    {
        const char* what;
        bool progress, button;
        int captionWidth;
        Size client;
        Rect bar, button_;
    };
    const Case cases[] = {
        {"all parts", true, true, 0, {142, 52 + 22 + 33}, {10, 52, 132, 64}, {33, 74, 108, 97}},
        {"no progress bar", false, true, 0, {142, 52 + 33}, {0, 0, 0, 0}, {33, 52, 108, 75}},
        {"no button: the box ends 10 below the row", false, false, 0, {142, 52}, {0, 0, 0, 0}, {0, 0, 0, 0}},
        {"wide caption", true, false, 200, {200, 74}, {10, 52, 190, 64}, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WaitInput in;
        in.image = {32, 32};
        in.text = {80, 16};
        in.button = {75, 23};
        in.hasButton = c.button;
        in.hasProgress = c.progress;
        in.progressWidth = 120;
        in.progressHeight = 12;
        in.captionWidth = c.captionWidth;
        const WaitLayout l = LayoutWait(in);
        EXPECT_EQ(l.client.cx, c.client.cx);
        EXPECT_EQ(l.client.cy, c.client.cy);
        EXPECT_EQ(l.image.left, 10);
        EXPECT_EQ(l.text.left, 52);
        EXPECT_EQ(l.text.top, 18) << "centred against the taller image";
        if (c.progress) {
            EXPECT_EQ(l.progress.left, c.bar.left);
            EXPECT_EQ(l.progress.top, c.bar.top);
            EXPECT_EQ(l.progress.right, c.bar.right);
            EXPECT_EQ(l.progress.bottom, c.bar.bottom);
        }
        if (c.button) {
            EXPECT_EQ(l.button.left, c.button_.left);
            EXPECT_EQ(l.button.top, c.button_.top);
            EXPECT_EQ(l.button.right, c.button_.right);
        }
    }
    // A progress bar wider than the rest widens the box.
    WaitInput wide;
    wide.image = {16, 16};
    wide.text = {20, 10};
    wide.hasButton = false;
    wide.hasProgress = true;
    wide.progressWidth = 300;
    wide.progressHeight = 10;
    EXPECT_EQ(LayoutWait(wide).client.cx, 320);
    wide.hasProgress = false;
    EXPECT_EQ(LayoutWait(wide).client.cx, 66);
}

TEST(BoxLayout, ProgressTimerModes)
{
    // Positions over 8 ticks of a 0..3 range: each tick turns or wraps, then the bar steps.
    struct Case
    {
        const char* what;
        int mode;
        int step;
        std::vector<int> positions;
    };
    const Case cases[] = {
        {"mode 0 runs up and wraps to low", 0, 1, {1, 2, 3, 1, 2, 3, 1, 2}},
        {"mode 1 runs down and wraps to high", 1, -1, {2, 1, 0, 2, 1, 0, 2, 1}},
        {"mode 2 bounces", 2, 1, {1, 2, 3, 2, 1, 0, 1, 2}},
        {"any other mode bounces", 7, 1, {1, 2, 3, 2, 1, 0, 1, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        int pos = c.mode == 1 ? 3 : 0;
        int step = c.step;
        std::vector<int> seen;
        for (int i = 0; i < 8; ++i) {
            ProgressTick(c.mode, 0, 3, &pos, &step);
            pos = std::min(std::max(pos + step, 0), 3);
            seen.push_back(pos);
        }
        EXPECT_EQ(seen, c.positions);
    }
}

}  // namespace
