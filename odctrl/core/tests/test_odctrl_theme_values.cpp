// The theme value grammar: colours, points, skin-image descriptions, the
// field splitter, the hexadecimal reader and the resource library's path.
#include <gtest/gtest.h>

#include <limits.h>
#include <string.h>

#include <string>

#include "ODThemeValues.h"

namespace {

const uint32_t kDefault = 0x00ABCDEF;

TEST(ThemeColor, Table)
{
    struct Case {
        const char* what;
        const char* value;
        uint32_t expected;
    };
    const Case cases[] = {
        {"three components: pure red", "#255#0#0", 0x000000FF},
        {"blue goes to the high byte", "#1#2#3", 0x00030201},
        {"two components: blue 0", "#10#20", 0x0000140A},
        {"a component that does not parse ends the reading", "#10#x#30", 0x0000000A},
        {"letters after # give 0", "#abc", 0},
        {"components are not clamped", "#300#0#0", 300},
        {"a negative component spreads over the word", "#-1#0#0", 0xFFFFFFFF},
        {"a decimal number is the colour itself", "16777215", 0x00FFFFFF},
        {"leading blanks and a sign", "  -1", 0xFFFFFFFF},
        {"reading stops at the first non-digit", "123abc", 123},
        {"letters give 0", "white", 0},
        {"empty gives the default", "", kDefault},
        {"null gives the default", nullptr, kDefault},
        {"a number beyond int is held at INT_MAX", "99999999999999999999", static_cast<uint32_t>(INT_MAX)},
        {"a component beyond int is held too", "#99999999999#0#0", static_cast<uint32_t>(INT_MAX)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(odtheme::ParseColor(c.value, kDefault), c.expected) << c.what;
}

TEST(ThemeColor, OnlyTheFirst255BytesAreRead)
{
    // The value is read into a 256-byte buffer: a digit at byte 256 is cut.
    std::string value(255, '0');
    value[254] = '7';
    EXPECT_EQ(odtheme::ParseColor(value.c_str(), kDefault), 7u);
    value += "9";
    EXPECT_EQ(odtheme::ParseColor(value.c_str(), kDefault), 7u);
}

TEST(ThemePoint, Table)
{
    struct Case {
        const char* what;
        const char* value;
        int count;
        int x, y;  // expected point (starts at 77, 88)
    };
    const Case cases[] = {
        {"both values", "(5,6)", 2, 5, 6},
        {"negative values", "(-5,-6)", 2, -5, -6},
        {"blanks before numbers", "( 5, 6)", 2, 5, 6},
        {"one value: y becomes 0", "(5)", 1, 5, 0},
        {"one value and a comma", "(5,)", 1, 5, 0},
        {"empty: unchanged", "", 0, 77, 88},
        {"no parenthesis: unchanged", "5,6", 0, 77, 88},
        {"letters: unchanged", "(a,b)", 0, 77, 88},
        {"null: unchanged", nullptr, 0, 77, 88},
    };
    for (const Case& c : cases) {
        int x = 77, y = 88;
        EXPECT_EQ(odtheme::ParsePoint(c.value, &x, &y), c.count) << c.what;
        EXPECT_EQ(x, c.x) << c.what;
        EXPECT_EQ(y, c.y) << c.what;
    }
}

TEST(SkinImageDesc, Table)
{
    struct Case {
        const char* what;
        const char* text;
        bool read;
        int kind, id, transparent, cells, states, frames, interval;
        const char* path;
    };
    const Case cases[] = {
        {"kind and id: the other fields keep their defaults", "0,120", true, 0, 120, -1, 1, 1, 1, 0, "120"},
        {"all seven fields", "0,7,2,8,4,2,150", true, 0, 7, 2, 8, 4, 2, 150, "7"},
        {"an eighth field is dropped", "0,7,2,8,4,2,150,99", true, 0, 7, 2, 8, 4, 2, 150, "7"},
        {"an empty field reads as 0", "0,7,,3", true, 0, 7, 0, 3, 1, 1, 0, "7"},
        {"a GIF file", "1,C:\\skin\\busy.gif", true, 1, 0, -1, 1, 1, 1, 0, "C:\\skin\\busy.gif"},
        {"another kind is read and left to the caller", "2,120", true, 2, 120, -1, 1, 1, 1, 0, "120"},
        {"one field: nothing", "0", false, 0, 0, 0, 0, 0, 0, 0, ""},
        {"empty: nothing", "", false, 0, 0, 0, 0, 0, 0, 0, ""},
        {"absurd numbers are held at int's range", "0,99999999999,-99999999999", true, 0, INT_MAX, INT_MIN, 1, 1, 1,
         0, "99999999999"},
    };
    for (const Case& c : cases) {
        odtheme::SkinImageDesc d;
        d.kind = -77;
        const bool read = odtheme::ParseSkinImageDesc(c.text, &d);
        EXPECT_EQ(read, c.read) << c.what;
        if (!read) {
            EXPECT_EQ(d.kind, -77) << c.what << ": untouched";
            continue;
        }
        EXPECT_EQ(d.kind, c.kind) << c.what;
        EXPECT_EQ(d.id, c.id) << c.what;
        EXPECT_EQ(d.transparent, c.transparent) << c.what;
        EXPECT_EQ(d.cells, c.cells) << c.what;
        EXPECT_EQ(d.states, c.states) << c.what;
        EXPECT_EQ(d.frames, c.frames) << c.what;
        EXPECT_EQ(d.interval, c.interval) << c.what;
        EXPECT_STREQ(d.path, c.path) << c.what;
    }
}

TEST(SkinImageDesc, LongPathIsCutToItsField)
{
    const std::string text = "1," + std::string(2000, 'p');
    odtheme::SkinImageDesc d;
    ASSERT_TRUE(odtheme::ParseSkinImageDesc(text.c_str(), &d));
    EXPECT_EQ(strlen(d.path), odtheme::kSkinFieldSize - 1);
}

TEST(SplitFields, Table)
{
    struct Case {
        const char* what;
        const char* text;
        int maxFields;
        size_t fieldSize;
        int count;
        const char* fields[3];  // what the three buffers hold afterwards ("-" untouched)
    };
    const Case cases[] = {
        {"an empty field in the middle", "a,,b", 3, 16, 3, {"a", "", "b"}},
        {"more fields than buffers: count all, write three", "a,b,c,d,e", 3, 16, 5, {"a", "b", "c"}},
        {"fewer fields than buffers", "a", 3, 16, 1, {"a", "-", "-"}},
        {"maxFields 0 writes nothing and counts 0", "a,b", 0, 16, 0, {"-", "-", "-"}},
        {"maxFields below 0 likewise", "a,b", -1, 16, 0, {"-", "-", "-"}},
        {"an empty text is one empty field", "", 3, 16, 1, {"", "-", "-"}},
        {"a null text is one empty field", nullptr, 3, 16, 1, {"", "-", "-"}},
        {"fields are cut to the buffer", "abcdefgh,xy", 2, 4, 2, {"abc", "xy", "-"}},
        {"a double-byte character is never halved", "a\xc4\xe3,b", 2, 3, 2, {"a", "b", "-"}},
        {"a trailing separator gives an empty last field", "a,", 3, 16, 2, {"a", "", "-"}},
    };
    for (const Case& c : cases) {
        char buffers[3][16];
        for (auto& b : buffers)
            strcpy(b, "-");
        const std::string text = c.text ? c.text : "";
        const int count = ODSplitFields(',', c.text, c.maxFields, c.fieldSize, buffers[0], buffers[1], buffers[2]);
        EXPECT_EQ(count, c.count) << c.what;
        for (int i = 0; i < 3; ++i)
            EXPECT_STREQ(buffers[i], c.fields[i]) << c.what << " field " << i;
        if (c.text) {
            EXPECT_EQ(text, c.text) << c.what << ": the input is not changed";
        }
    }
}

TEST(ParseHex, Table)
{
    struct Case {
        const char* what;
        const char* text;
        uint32_t expected;
    };
    const Case cases[] = {
        {"a letter that is no digit takes a place", "1g2", 0x102},
        {"empty", "", 0},
        {"null", nullptr, 0},
        {"upper case", "FF", 0xFF},
        {"lower case", "ff", 0xFF},
        {"mixed", "aB3", 0xAB3},
        {"eight digits", "DEADBEEF", 0xDEADBEEF},
        {"digits beyond the eighth fall off", "1DEADBEEF", 0xDEADBEEF},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ODParseHex(c.text), c.expected) << c.what;
}

TEST(ParseHex, ConstInputIsNotWritten)
{
    // A text in read-only memory: upper-casing it in place would crash.
    static const char kText[] = "abc";
    EXPECT_EQ(ODParseHex(kText), 0xABCu);
    EXPECT_STREQ(kText, "abc");
}

TEST(ResolveResFile, Table)
{
    struct Case {
        const char* what;
        const char* ini;
        const char* resFile;
        size_t size;
        bool ok;
        const char* expected;
    };
    const Case cases[] = {
        {"a bare name goes to the ini's folder", "C:\\share\\odctrls\\Game_skn.ini", "Kelvarin.dll", 260, true,
         "C:\\share\\odctrls\\Kelvarin.dll"},
        {"a name with a backslash is used unchanged", "C:\\share\\odctrls\\Game_skn.ini", "D:\\res\\Other.dll", 260,
         true, "D:\\res\\Other.dll"},
        {"a relative path with a backslash too", "C:\\x\\a.ini", "sub\\r.dll", 260, true, "sub\\r.dll"},
        {"an ini without a folder", "a.ini", "r.dll", 260, true, "r.dll"},
        {"a result that does not fit", "C:\\share\\odctrls\\Game_skn.ini", "Kelvarin.dll", 20, false, ""},
        {"exactly fitting", "C:\\a.ini", "b.dll", 9, true, "C:\\b.dll"},
    };
    for (const Case& c : cases) {
        char out[260] = "junk";
        EXPECT_EQ(odtheme::ResolveResFile(c.ini, c.resFile, out, c.size), c.ok) << c.what;
        EXPECT_STREQ(out, c.expected) << c.what;
    }
}

}  // namespace
