// The value forms of the layout file.
#include <gtest/gtest.h>

#include <climits>

#include "LayoutValues.h"

#include "FramePrint.h"

namespace {

TEST(LayoutValues, ButtonSpecs)
{
    struct Case
    {
        const char* what;
        const char* text;
        bool ok;
        int key, anchor;
        AreaRect rect;
        const char* picture;
    } cases[] = {
        {"plain", "exit,RT,(10,4,30,24),btn_close.bmp", true, 1, 2, {10, 4, 30, 24}, "btn_close.bmp"},
        {"blanks and letter case", " MAX , lt ,( 1, 2 ,3,4 ), pic ", true, 2, 1, {1, 2, 3, 4}, "pic"},
        {"mute is key 7", "mute,CB,(0,0,20,20),rec.bmp", true, 7, 8, {0, 0, 20, 20}, "rec.bmp"},
        {"left and right of hide buttons", "left,CL,(0,0,8,30),l.bmp", true, 1, 5, {0, 0, 8, 30}, "l.bmp"},
        {"a number key, an unknown anchor", "9,XX,(0,0,20,20),a", true, 9, 0, {0, 0, 20, 20}, "a"},
        {"key 0 is invalid", "0,LT,(0,0,20,20),a", false, 0, 0, {}, ""},
        {"an unknown word is 0", "bogus,LT,(0,0,20,20),a", false, 0, 0, {}, ""},
        {"three numbers", "exit,RT,(10,4,30),x", false, 0, 0, {}, ""},
        {"no picture", "exit,RT,(1,2,3,4),", false, 0, 0, {}, ""},
        {"empty", "", false, 0, 0, {}, ""},
        {"huge numbers are cut to the int range", "exit,RT,(99999999999,-99999999999,0,0),x", true, 1, 2,
         {INT_MAX, INT_MIN, 0, 0}, "x"},
    };
    for (const Case& k : cases) {
        ButtonDef s;
        ASSERT_EQ(k.ok, ParseButtonDef(k.text, &s)) << k.what;
        if (!k.ok)
            continue;
        EXPECT_EQ(k.key, s.key) << k.what;
        EXPECT_EQ(k.anchor, s.anchor) << k.what;
        EXPECT_EQ(k.rect, s.rect) << k.what;
        EXPECT_EQ(k.picture, s.picture) << k.what;
    }
    ButtonDef s;
    s.rect = AreaRect(0, 0, 3, 10);
    EXPECT_FALSE(s.HasUsableRect()) << "3 wide";
    s.rect = AreaRect(0, 0, 4, 4);
    EXPECT_TRUE(s.HasUsableRect()) << "right > left + 3 and bottom > top + 3";
}

TEST(LayoutValues, CaptionBand)
{
    struct Case
    {
        const char* text;
        bool ok;
        AreaRect band;   // of an 800 x 600 window, default height 26
    } cases[] = {
        {"T,30", true, {0, 0, 800, 30}},
        {"b, 40", true, {0, 560, 800, 600}},
        {" L,12", true, {0, 0, 12, 600}},
        {"R,10", true, {790, 0, 800, 600}},
        {"T,9", false, {0, 0, 800, 26}},
        {"X,30", false, {0, 0, 800, 26}},
        {"T", false, {0, 0, 800, 26}},
    };
    for (const Case& k : cases) {
        CaptionPos pos;
        const bool ok = ParseCaptionPos(k.text, &pos);
        EXPECT_EQ(k.ok, ok) << k.text;
        EXPECT_EQ(k.band, CaptionBand(ok ? &pos : nullptr, 800, 600, 26)) << k.text;
    }
    EXPECT_EQ(AreaRect(0, 0, 36, 30), ClampAboutRect(AreaRect(-5, -5, 100, 100), AreaRect(0, 0, 800, 30)));
    EXPECT_EQ(AreaRect(10, 8, 10, 8), ClampAboutRect(AreaRect(10, 8, 2, 1), AreaRect(0, 0, 800, 30)));
    EXPECT_EQ(AreaRect(2, 2, 22, 22), ClampAboutRect(AreaRect(2, 2, 22, 22), AreaRect(0, 0, 800, 30)));
}

TEST(LayoutValues, ColoursAndBackgrounds)
{
    uint32_t c = 0xFF00FF;
    EXPECT_TRUE(ParseColour("255,0,128", &c));
    EXPECT_EQ(0x8000FFu, c);
    c = 0xFF00FF;
    EXPECT_FALSE(ParseColour("255", &c)) << "no comma: the colour stays";
    EXPECT_EQ(0xFF00FFu, c);
    EXPECT_TRUE(ParseColourAfterComma("S,(1,2,3)", &c));
    EXPECT_EQ(0x030201u, c);

    struct Case
    {
        const char* text;
        int mode;
        uint32_t colour;
    } cases[] = {
        {"S,(10,20,30)", kBkSolid, 0x1E140A},
        {"s", kBkSolid, 0},
        {"p", kBkTiled, 0},
        {" L", kBkStretched, 0},
        {"Centre", kBkCentred, 0},
        {"", kBkNone, 0},
        {"X", kBkNone, 0},
    };
    for (const Case& k : cases) {
        uint32_t colour = 0;
        EXPECT_EQ(k.mode, ParseBackgroundMode(k.text, &colour)) << k.text;
        EXPECT_EQ(k.colour, colour) << k.text;
    }
}

TEST(LayoutValues, CaptionFontAndItems)
{
    CaptionFont f;
    ParseCaptionFont("Tahoma,12,B,I", &f);
    EXPECT_EQ("Tahoma", f.face);
    EXPECT_EQ(12, f.height);
    EXPECT_TRUE(f.bold);
    EXPECT_TRUE(f.italic);
    ParseCaptionFont("Arial,-14, b", &f);
    EXPECT_EQ(-14, f.height);
    EXPECT_TRUE(f.bold);
    EXPECT_FALSE(f.italic);
    ParseCaptionFont(std::string(40, 'A') + ",12", &f);
    EXPECT_EQ(std::string(31, 'A'), f.face) << "the face field holds 31 bytes and a NUL";

    CaptionItem it;
    ASSERT_TRUE(ParseCaptionItem("LT,5,3,logo.bmp", &it));
    EXPECT_EQ("logo.bmp", it.name);
    const AreaRect band(0, 0, 800, 30);
    struct Case
    {
        const char* anchor;
        int x, y;
    } cases[] = {
        {"LT", 5, 3}, {"LB", 5, 17}, {"RT", 775, 3}, {"RB", 775, 17}, {"MT", 390, 10}, {"", 5, 3},
    };
    for (const Case& k : cases) {
        it.anchor = k.anchor;
        int x = 0, y = 0;
        PlaceCaptionItem(it, band, 20, 10, &x, &y);
        EXPECT_EQ(k.x, x) << k.anchor;
        EXPECT_EQ(k.y, y) << k.anchor;
    }
    EXPECT_FALSE(ParseCaptionItem("LT,5", &it));
}

TEST(LayoutValues, NumbersAndCuts)
{
    int v[3] = {0, 0, 0};
    EXPECT_EQ(2, ParseNumbers("2:1", ':', v, 2));
    EXPECT_EQ(2, v[0]);
    EXPECT_EQ(1, v[1]);
    EXPECT_EQ(0, ParseNumbers("a:b", ':', v, 2));
    EXPECT_EQ(1, ParseNumbers("7,x,9", ',', v, 3));
    EXPECT_EQ(INT_MAX, ParseInt("123456789012345678901234567890"));
    EXPECT_EQ(-3, ParseInt("  -3xyz"));

    // 258 ASCII bytes and a double-byte character: the character does not fit
    // in 259 bytes and is left out whole.
    const std::string text = std::string(258, 'a') + "\xB0\xA1";
    EXPECT_EQ(std::string(258, 'a'), CutLayoutValue(text));
    EXPECT_EQ(std::string(259, 'b'), CutLayoutValue(std::string(400, 'b')));
    EXPECT_EQ('T', FirstLetter("  t,1"));
    EXPECT_EQ(0, FirstLetter("   "));
}

}  // namespace
