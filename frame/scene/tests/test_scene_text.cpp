// Anchor codes and their points, layer kinds, and the name format's literal
// substitution.
#include <gtest/gtest.h>

#include "SceneText.h"

namespace {

TEST(SceneText, AnchorWords)
{
    struct Case
    {
        const char* text;
        int avatars;
        int fallback;
        bool names;
        int code;
    } cases[] = {
        {"LT", -1, 0, false, 1}, {"t", -1, 0, false, 2},      {"rt", -1, 0, false, 3},   {"R", -1, 0, false, 4},
        {"RB", -1, 0, false, 5}, {"bottom", -1, 0, false, 6}, {"lb", -1, 0, false, 7},   {"L", -1, 0, false, 8},
        {"Lx", -1, 0, false, 8}, {"RBig", -1, 0, false, 5},   {"zz", -1, 0, false, 0},   {"", -1, 0, false, 0},
        {" lt", -1, 0, false, 1},
        {"A3 (avatars off)", -1, 0, false, 0},
        {"A3", 5, 0, false, 18},                                 // 16 + 2
        {"a1", 5, 0, false, 16},
        {"A9 past the count: the fallback", 5, 2, false, 18},
        {"A0: the fallback", 5, 4, false, 20},
        {"A-7: the fallback", 5, 1, false, 17},
        {"N2", 5, 0, true, 49},
        {"N2 (names off)", 5, 0, false, 0},
        {"A99999999999999999999", 5, 3, false, 19},
    };
    for (const auto& k : cases)
        EXPECT_EQ(k.code, ParseSceneAnchor(k.text, k.avatars, k.fallback, k.names)) << k.text;
}

TEST(SceneText, AnchorPoints)
{
    const std::vector<ScenePoint> avatars = {{10, 20}, {30, 40}};
    const std::vector<ScenePoint> names = {{5, 6}};
    // Area 101 x 51: halves by shift, 50 and 25.
    struct Case
    {
        int code;
        ScenePoint p;
    } cases[] = {
        {0, {50, 25}},  {1, {0, 0}},    {2, {50, 0}},   {3, {101, 0}},  {4, {101, 25}}, {5, {101, 51}},
        {6, {50, 51}},  {7, {0, 51}},   {8, {0, 25}},   {9, {-10000, -10000}},         {15, {-10000, -10000}},
        {16, {10, 20}}, {17, {30, 40}}, {18, {-10000, -10000}}, {48, {5, 6}},        {49, {-10000, -10000}},
        {-3, {-10000, -10000}},
    };
    for (const auto& k : cases)
        EXPECT_TRUE(ResolveSceneAnchor(k.code, 101, 51, avatars, names) == k.p) << "code " << k.code;
}

TEST(SceneText, LayerStyles)
{
    struct Case
    {
        const char* style;
        int kind;
    } cases[] = {
        {"Back", 0}, {"avatar", 1}, {"AvatarName", 2}, {"A n", 2}, {"names", 3}, {" Over", 4},
        {"effect", 5}, {"Mask", 6}, {"x", -1}, {"", -1}, {"   ", -1},
    };
    for (const auto& k : cases)
        EXPECT_EQ(k.kind, ParseLayerStyle(k.style)) << k.style;
}

TEST(SceneText, NameFormat)
{
    EXPECT_EQ("%s\n%n", SceneNameFormat(""));
    EXPECT_EQ("%n\n%s\\n", SceneNameFormat("%n\\n%s\\n")) << "only the first backslash-n";
    struct Case
    {
        const char* what;
        const char* format;
        const char* user;
        const char* nick;
        const char* expected;
    } cases[] = {
        {"the default", "%s\n%n", "bob", "Bobby", "bob\nBobby"},
        {"a %n in the user name stays as it is", "%s\n%n", "b%nb", "N%s", "b%nb\nN%s"},
        {"only the first of each", "%s %s %n %n", "u", "k", "u %s k %n"},
        {"nickname first", "%n(%s)", "u", "k", "k(u)"},
        {"no placeholders", "plain", "u", "k", "plain"},
        {"a lone percent", "100%", "u", "k", "100%"},
    };
    for (const auto& k : cases)
        EXPECT_EQ(k.expected, FormatSceneName(k.format, k.user, k.nick)) << k.what;
}

}  // namespace
