// The chat balloon's arithmetic: setters and their refusals, DBCS-safe line
// counts that end on any width, the body origin and the twelve placements.
#include <gtest/gtest.h>

#include "BalloonLayout.h"

namespace {

// A font where every byte is 6 pixels wide (a double-byte character 12).
const int kCw = 6;
int Width(const std::string& s) { return static_cast<int>(s.size()) * kCw; }

#define HAN "\xC4\xE3"   // one double-byte character

TEST(BalloonLayout, Setters)
{
    BalloonStyle s;
    EXPECT_FALSE(BalloonSetSize(s, 0, 10));
    EXPECT_FALSE(BalloonSetSize(s, 10, -2));
    EXPECT_EQ(150, s.maxWidth) << "refused: unchanged";
    BalloonSetMinSize(s, 70, 45);
    EXPECT_TRUE(BalloonSetSize(s, 60, 10));
    EXPECT_EQ(70, s.maxWidth) << "raised to the minimum width";
    EXPECT_EQ(45, s.maxHeight) << "raised to the minimum height";
    EXPECT_TRUE(BalloonSetSize(s, 126, -1));
    EXPECT_EQ(-1, s.maxHeight) << "no upper limit stays -1";
    BalloonSetMinSize(s, 0, -3);
    EXPECT_EQ(70, s.minWidth);
    EXPECT_EQ(45, s.minHeight);
    BalloonSetTail(s, 0, 8);
    EXPECT_EQ(12, s.tailWidth);
    EXPECT_EQ(8, s.tailOffset);
    BalloonSetPadding(s, 0, 3);
    EXPECT_EQ(8, s.marginX);
    EXPECT_EQ(3, s.marginY);
    int alpha = 70;
    EXPECT_FALSE(BalloonSetAlpha(alpha, 101));
    EXPECT_EQ(70, alpha);
    EXPECT_TRUE(BalloonSetAlpha(alpha, 60));
    EXPECT_EQ(60, alpha);
}

TEST(BalloonLayout, WrapCounts)
{
    struct Case
    {
        const char* what;
        std::string text;
        int inner;
        int lines, longest;
        std::vector<std::string> expected;
    } cases[] = {
        {"fits on one line", "hello", 60, 1, 5, {"hello"}},
        {"cut at 4 bytes", "abcdefghij", 24, 3, 4, {"abcd", "efgh", "ij"}},
        {"a line feed starts a line", "ab\ncdefgh", 24, 3, 4, {"ab", "cdef", "gh"}},
        {"a double-byte character is never split", "a" HAN HAN, 24, 2, 3, {"a" HAN, HAN}},
        {"a limit in the middle of a character cuts one byte less", "abc" HAN, 24, 2, 3, {"abc", HAN}},
        {"narrower than one byte: one character a line", "ab" HAN, 3, 3, 2, {"a", "b", HAN}},
        {"no width at all: still one character a line", HAN "x", 0, 2, 2, {HAN, "x"}},
        {"a lone lead byte at the end", "abcd\xC4", 24, 2, 4, {"abcd", "\xC4"}},
        {"a trailing line feed adds no line", "ab\n", 60, 1, 2, {"ab"}},
        {"empty", "", 60, 0, 0, {}},
    };
    for (const Case& k : cases) {
        const WrapResult r = BalloonWrapCount(k.text, k.inner, kCw, Width);
        EXPECT_EQ(k.lines, r.lines) << k.what;
        EXPECT_EQ(k.longest, r.longest) << k.what;
        EXPECT_EQ(k.expected, BalloonLines(k.text, k.inner, kCw, Width)) << k.what;
    }
    EXPECT_EQ(0, BalloonWrapCount("abc", 60, 0, Width).lines) << "a font without width: nothing";
}

// A font whose double-byte characters are wider than two 'a's (18 pixels
// here): a line cut by bytes gives back whole characters until it fits, so
// nothing is drawn past the edge; the widest line is reported in pixels.
TEST(BalloonLayout, WideCharactersStillFit)
{
    const TextWidth wide = [](const std::string& s) {
        int w = 0;
        for (size_t i = 0; i < s.size(); i++) {
            if (static_cast<unsigned char>(s[i]) >= 0x81 && i + 1 < s.size()) {
                w += 18;
                i++;
            } else {
                w += kCw;
            }
        }
        return w;
    };
    struct Case
    {
        const char* what;
        std::string text;
        int inner;
        std::vector<std::string> lines;
        int widest;
    } cases[] = {
        {"two characters in four bytes do not fit 24 pixels", HAN HAN HAN, 24, {HAN, HAN, HAN}, 18},
        {"a short line that is too wide is cut too", HAN HAN, 24, {HAN, HAN}, 18},
        {"a cut inside the line gives back one character", "ab" HAN "cd", 30, {"ab" HAN, "cd"}, 30},
        {"one character wider than the balloon stays whole", HAN "x", 12, {HAN, "x"}, 18},
        {"what fits stays one line", "a" HAN, 24, {"a" HAN}, 24},
    };
    for (const Case& k : cases) {
        EXPECT_EQ(k.lines, BalloonLines(k.text, k.inner, kCw, wide)) << k.what;
        const WrapResult r = BalloonWrapCount(k.text, k.inner, kCw, wide);
        EXPECT_EQ(static_cast<int>(k.lines.size()), r.lines) << k.what;
        EXPECT_EQ(k.widest, r.widest) << k.what;
    }
}

// Text that needs more lines than the balloon is high: the last line that
// fits loses four bytes and ends in " ...". Lines 12 pixels high with a gap
// of 2 take 14 each; a line is the last when less than 12 remain below it.
TEST(BalloonLayout, OverflowEndsInAnEllipsis)
{
    struct Case
    {
        const char* what;
        std::vector<std::string> lines;
        int height;
        std::vector<std::string> shown;
    } cases[] = {
        {"everything fits", {"abcdefg", "hijk", "lm"}, 40, {"abcdefg", "hijk", "lm"}},
        {"the last line needs no room below it", {"abcdefg", "hijk"}, 26, {"abcdefg", "hijk"}},
        {"room for two of three: the second is cut", {"abcdefg", "hijklmn", "op"}, 39, {"abcdefg", "hij ..."}},
        {"room for one", {"abcdefgh", "ij"}, 25, {"abcd ..."}},
        {"a double-byte character across the cut goes whole", {"ab" HAN HAN "c", "x"}, 12, {"ab ..."}},
        {"double-byte characters only", {HAN HAN HAN HAN, "x"}, 12, {HAN HAN " ..."}},
        // B0A3 three times: every trail byte is also a lead byte, so only
        // counting from the front finds the characters.
        {"trail bytes in the lead range", {"\xB0\xA3\xB0\xA3\xB0\xA3", "x"}, 12, {"\xB0\xA3 ..."}},
        {"a lone lead byte at the end is one byte", {"abcd\xC4", "x"}, 12, {"a ..."}},
        {"four bytes or fewer: only the ellipsis", {HAN HAN, "x"}, 12, {" ..."}},
        {"no room at all: the first line is cut", {"abcdefgh", "ij"}, 0, {"abcd ..."}},
        {"no lines", {}, 40, {}},
    };
    for (const Case& k : cases)
        EXPECT_EQ(k.shown, BalloonShownLines(k.lines, k.height, 12, 2)) << k.what;
}

TEST(BalloonLayout, BodyOrigin)
{
    struct Case
    {
        int mode, x, y;
    } cases[] = {{0, 100, 50}, {1, 21, 50}, {2, 100, 11}, {3, 21, 11}, {4, 0, 0}, {-1, 0, 0}};
    for (const auto& k : cases) {
        int x, y;
        BalloonBodyOrigin(k.mode, 100, 50, 80, 40, &x, &y);
        EXPECT_EQ(k.x, x) << "mode " << k.mode;
        EXPECT_EQ(k.y, y) << "mode " << k.mode;
    }
}

TEST(BalloonLayout, TwelvePlacements)
{
    // Body (100, 100) - (200, 160).
    struct Case
    {
        const char* what;
        int tx, ty, placement;
    } cases[] = {
        {"left above, nearer in x: top edge", 90, 50, 0},
        {"left above, tie: the top edge", 50, 50, 0},
        {"left above, nearer in y: left edge", 40, 90, 3},
        {"left below, nearer in x: bottom edge", 90, 200, 6},
        {"left below, tie", 60, 200, 6},
        {"left below, nearer in y: left edge", 40, 170, 5},
        {"left beside", 50, 130, 4},
        {"right above, nearer in x", 210, 50, 2},
        {"right above, tie", 250, 50, 2},
        {"right above, nearer in y", 260, 90, 9},
        {"right below, nearer in x", 210, 200, 8},
        {"right below, tie", 240, 200, 8},
        {"right below, nearer in y", 260, 170, 11},
        {"right beside", 260, 130, 10},
        {"above the columns", 150, 50, 1},
        {"level with the top, within the columns", 150, 100, 7},
        {"below, within the columns", 150, 300, 7},
    };
    for (const Case& k : cases)
        EXPECT_EQ(k.placement, BalloonPlacement(100, 100, 100, 60, k.tx, k.ty)) << k.what;
}

}  // namespace
