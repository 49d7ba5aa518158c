// Tokenizers, web-address escaping, path macros and the theme picture table.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "ClientText.h"

namespace {

TEST(ClientTextTest, SplitList)
{
    struct Case {
        const char* what;
        const char* text;
        int capacity;
        std::vector<std::string> items;
    };
    const Case cases[] = {
        {"blanks around the commas are dropped", " a , b ,c\t", 8, {"a", "b", "c"}},
        {"one item", "single", 8, {"single"}},
        {"empty items stay", "a,,b", 8, {"a", "", "b"}},
        {"at most the capacity", "a,b,c,d", 2, {"a", "b"}},
    };
    for (const Case& c : cases) {
        char text[64];
        strcpy(text, c.text);
        char* items[8] = {};
        const int n = SplitList(text, items, c.capacity);
        ASSERT_EQ(n, static_cast<int>(c.items.size())) << c.what;
        for (int i = 0; i < n; ++i)
            EXPECT_EQ(items[i], c.items[static_cast<size_t>(i)]) << c.what;
    }
    char* items[2];
    EXPECT_EQ(SplitList(nullptr, items, 2), 0);
    char text[] = "a";
    EXPECT_EQ(SplitList(text, nullptr, 2), 0);
    EXPECT_EQ(SplitList(text, items, 0), 0);
}

TEST(ClientTextTest, KeyValueAndItems)
{
    struct Case {
        const char* what;
        const char* text;
        int ok;
        const char* key;
        const char* value;
    };
    const Case cases[] = {
        {"equals sign", "Key=Value", 1, "Key", "Value"},
        {"blanks and equals", "  Key =  Value x", 1, "Key", "Value x"},
        {"a blank alone", "Key Value", 1, "Key", "Value"},
        {"no value", "Key = ", 0, nullptr, nullptr},
        {"no key", "=Value", 0, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        char text[64];
        strcpy(text, c.text);
        char* key = nullptr;
        char* value = nullptr;
        EXPECT_EQ(SplitKeyValue(text, &key, &value), c.ok) << c.what;
        if (c.ok) {
            EXPECT_STREQ(key, c.key) << c.what;
            EXPECT_STREQ(value, c.value) << c.what;
        }
    }

    char list[] = "  one, two;three";
    char* rest = nullptr;
    EXPECT_STREQ(NextCommaItem(list, &rest), "one");
    EXPECT_STREQ(rest, " two;three");
    EXPECT_STREQ(NextSemicolonItem(rest, &rest), "two");
    EXPECT_STREQ(NextSemicolonItem(rest, &rest), "three");
    EXPECT_EQ(rest, nullptr) << "null rest at the end";
    char empty[] = "   ";
    EXPECT_EQ(NextCommaItem(empty, &rest), nullptr);
}

TEST(ClientTextTest, Ranges)
{
    struct Case {
        const char* what;
        const char* text;
        int ok;
        int low, high;
    };
    const Case cases[] = {
        {"plain", "[3-7]", 1, 3, 7},
        {"a blank after the dash", "[10- 20]", 1, 10, 20},
        {"a comma instead of the dash", "[10,20]", 0, 0, 0},
        {"a comma before the dash", "[1,2-3]", 0, 0, 0},
        {"no closing bracket", "[1-2", 0, 0, 0},
        {"no opening bracket", "1-2]", 0, 0, 0},
    };
    for (const Case& c : cases) {
        int low = 0, high = 0;
        EXPECT_EQ(ParseRange(c.text, &low, &high), c.ok) << c.what;
        if (c.ok) {
            EXPECT_EQ(low, c.low) << c.what;
            EXPECT_EQ(high, c.high) << c.what;
        }
    }
    int a, b, c, d;
    EXPECT_EQ(ParseTwoRanges("[1-2] [3- 4]", &a, &b, &c, &d), 1);
    EXPECT_EQ(a + b + c + d, 10);
    EXPECT_EQ(ParseTwoRanges("[1-2]", &a, &b, &c, &d), 0);
}

TEST(ClientTextTest, EscapeForUrl)
{
    char out[100];
    // "A中" in UTF-8: the first byte is no lead byte, so all is copied.
    EXPECT_EQ(EscapeUtf8ForUrl("A\xE4\xB8\xAD", out, sizeof out), 4u);
    EXPECT_STREQ(out, "A\xE4\xB8\xAD");
    // "中A": every byte escaped in lower-case hexadecimal.
    EscapeUtf8ForUrl("\xE4\xB8\xAD" "A", out, sizeof out);
    EXPECT_STREQ(out, "%e4%b8%ad%41");
    // Long texts stop at 99 bytes, on whole characters and whole escapes.
    std::string many;
    for (int i = 0; i < 40; ++i)
        many += "\xE4\xB8\xAD";
    const size_t n = EscapeUtf8ForUrl(many.c_str(), out, sizeof out);
    EXPECT_EQ(n, 99u - 99u % 9u) << "33 bytes escaped, 11 whole characters";
    std::string latin = "a" + many;
    EXPECT_EQ(EscapeUtf8ForUrl(latin.c_str(), out, sizeof out), 97u) << "1 + 32 characters of 3 bytes";

    const char16_t wide[] = {0x4E2D, 'A', 0xD83D, 0xDE00, 0};
    EXPECT_EQ(Utf16ToUtf8(wide, 4), "\xE4\xB8\xAD" "A\xF0\x9F\x98\x80");
}

TEST(ClientTextTest, PathMacros)
{
    EXPECT_EQ(ExpandClientPathVars("%ClientExePath%\\a;%GameDllPath%;%ClientDllPath%%ClientDllPath%", "C:\\exe",
                                   "D:\\dll", "E:\\game"),
              "C:\\exe\\a;E:\\game;D:\\dllD:\\dll");
    EXPECT_EQ(ExpandClientPathVars("none", "x", "y", "z"), "none");
}

TEST(ClientTextTest, ThemePictures)
{
    EXPECT_STREQ(ResPicFileName(321), "BigCard.bmp");
    EXPECT_STREQ(ResPicFileName(8007), "BT_OnlyEmperor.BMP");
    EXPECT_EQ(ResPicFileName(291), nullptr) << "291 is the PNG picture, not a bitmap";
    EXPECT_EQ(ResPicFileName(1), nullptr);
    int count = 0;
    ResPicIds(&count);
    EXPECT_EQ(count, 84);
    EXPECT_STREQ(ThemePathSuffix(0), "\\theme_png\\Default.thm");
    EXPECT_STREQ(ThemePathSuffix(1), "\\theme_png\\Default");
    EXPECT_STREQ(ThemePathSuffix(2), "\\theme");
    EXPECT_STREQ(ThemePathSuffix(3), "");
}

}  // namespace
