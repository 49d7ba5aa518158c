// The balloon's text layout with a fixed-pitch measure (6 x 12 per byte):
// truncation including double-byte characters and tiny budgets, line counts,
// body sizes, and the painted lines.
#include <gtest/gtest.h>

#include "BalloonText.h"

using namespace widgets;

namespace {

const int kA = 6;    // width of "a"
const int kH = 12;   // line height
TextExtent Mono(const std::string& s) { return TextExtent{kA * static_cast<int>(s.size()), kH}; }

const std::string kNi = "\xC4\xE3";   // a two-byte character of code page 936

TEST(BalloonText, BudgetNeverBelowOneCharacter)
{
    EXPECT_EQ(BalloonLineBudget(150, 8, 6), 22);   // (150 - 16) / 6
    EXPECT_EQ(BalloonLineBudget(16, 8, 6), 1);     // nothing left: one character
    EXPECT_EQ(BalloonLineBudget(10, 8, 6), 1);     // negative room (the unsigned original underflowed)
    EXPECT_EQ(BalloonLineBudget(150, 8, 0), 1);
}

TEST(BalloonText, TruncationTable)
{
    struct Case {
        const char* what;
        std::string text;
        int budget;
        std::string expected;
    } cases[] = {
        {"short line kept, followed by a line feed", "abc", 16, "abc\n"},
        {"40 bytes, budget 16: 13 bytes and ...", std::string(40, 'x'), 16, std::string(13, 'x') + "...\n"},
        {"a double-byte character across byte 13 goes whole", std::string(12, 'x') + kNi + std::string(26, 'y'), 16,
         std::string(12, 'x') + "...\n"},
        {"double-byte character ending at byte 13 stays", std::string(11, 'x') + kNi + std::string(27, 'y'), 16,
         std::string(11, 'x') + kNi + "...\n"},
        {"each line on its own", "abcdefgh\nab", 5, "ab...\nab\n"},
        {"budget 3: nothing kept but ...", "abcdef", 3, "...\n"},
        {"budget 1", "abcdef", 1, "...\n"},
        {"budget 0 is treated as 1 (no underflow)", "abcdef", 0, "...\n"},
        {"empty lines kept", "a\n\nb", 5, "a\n\nb\n"},
        {"a final line feed starts no line", "a\n", 5, "a\n"},
        {"empty text", "", 5, "\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(TruncateBalloonLines(c.text, c.budget), c.expected);
    }
}

TEST(BalloonText, PiecesStepWholeCharacters)
{
    EXPECT_EQ(BreakIntoPieces("abcdefg", 3), (std::vector<std::string>{"abc", "def", "g"}));
    EXPECT_EQ(BreakIntoPieces("ab" + kNi + "c", 3), (std::vector<std::string>{"ab", kNi + "c"}));
    // A budget of one byte still takes a whole double-byte character per piece.
    EXPECT_EQ(BreakIntoPieces(kNi + kNi, 1), (std::vector<std::string>{kNi, kNi}));
    EXPECT_EQ(BreakIntoPieces("ab", 0), (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(BreakIntoPieces("", 4).empty());
}

TEST(BalloonText, LayoutTable)
{
    BalloonMetrics m;   // width 150, no height limit, min 20 x 20, margins 8, spacing 8
    struct Case {
        const char* what;
        std::string text;
        bool link;
        bool ok, single;
        int lines, w, h;
    } cases[] = {
        {"abc: one centred line, width max(20, 18 + 16)", "abc", false, true, true, 1, 34, 28},
        {"a: 6 + 16", "a", false, true, true, 1, 22, 28},
        {"two lines: longest x 6 + 16, (12 + 8) x 2 + 16", "abcd\nab", false, true, false, 2, 40, 56},
        {"a link line makes one line two", "abc", true, true, false, 2, 34, 56},
        {"a long line wraps into pieces: 30 bytes at 22 per line", std::string(30, 'x'), false, true, false, 1, 0, 0},
        {"no text, no link: no layout", "", false, false, true, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const BalloonLayout r = LayoutBalloonText(c.text, m, kA, c.link, Mono);
        EXPECT_EQ(r.ok, c.ok);
        if (!c.ok)
            continue;
        if (c.w == 0)
            continue;   // checked below
        EXPECT_EQ(r.singleLine, c.single);
        EXPECT_EQ(r.lines, c.lines);
        EXPECT_EQ(r.contentWidth, c.w);
        EXPECT_EQ(r.contentHeight, c.h);
    }
    // A 30-byte line is cut first (budget 22: 19 bytes + "..."), so it fits one line of 22 bytes.
    const BalloonLayout cut = LayoutBalloonText(std::string(30, 'x'), m, kA, false, Mono);
    EXPECT_EQ(cut.text, std::string(19, 'x') + "...\n");
    EXPECT_TRUE(cut.singleLine);
    EXPECT_EQ(cut.contentWidth, 22 * kA + 16);
    EXPECT_EQ(cut.textRect, (Rc{0, 0, 148, 28}));

    // Height capped by the style's height, raised to the minimum height.
    BalloonMetrics capped = m;
    capped.height = 50;
    EXPECT_EQ(LayoutBalloonText("a\nb\nc\nd", capped, kA, false, Mono).contentHeight, 50);
    BalloonMetrics tall = m;
    tall.minWidth = 150;
    tall.minHeight = 150;
    const BalloonLayout r = LayoutBalloonText("a\nb", tall, kA, false, Mono);
    EXPECT_EQ(r.contentHeight, 150);
    EXPECT_EQ(r.contentWidth, 150);
    EXPECT_EQ(r.textRect, (Rc{8, 8, 142, 142}));

    // A line narrower than the minimum width less the margins takes the minimum width.
    BalloonMetrics wide = m;
    wide.minWidth = 100;
    EXPECT_EQ(LayoutBalloonText("abc", wide, kA, false, Mono).contentWidth, 100);

    // No width of "a": nothing changes.
    EXPECT_FALSE(LayoutBalloonText("abc", m, 0, false, Mono).ok);
}

TEST(BalloonText, TinyBudgetsNeverHang)
{
    // A width smaller than the margins, or a font wider than the balloon:
    // every layout still ends, one character per step.
    BalloonMetrics m;
    for (int width : {1, 8, 16, 17, 20}) {
        SCOPED_TRACE(width);
        m.width = width;
        const BalloonLayout r = LayoutBalloonText("ab" + kNi + "cd\n" + kNi, m, 40, true, Mono);
        EXPECT_GE(r.lines, 2);
        const std::vector<PaintLine> lines = BreakBalloonLines(r.text, Rc{0, 0, width, 500}, 40, kH, 8);
        EXPECT_FALSE(lines.empty());
        for (const PaintLine& l : lines)
            EXPECT_LE(l.text.size(), 6u);
    }
}

TEST(BalloonText, PaintedLines)
{
    // A text rectangle of 60 x 70: 10 bytes per line, lines 20 apart.
    const Rc rc{8, 8, 68, 78};
    struct Case {
        const char* what;
        std::string text;
        std::vector<std::string> lines;
    } cases[] = {
        {"lines up to each line feed", "ab\ncd\n", {"ab", "cd"}},
        {"a long line broken at the budget", "abcdefghijklmno\n", {"abcdefghij", "klmno"}},
        {"a break does not split a character", "abcdefghi" + kNi + "z\n", {"abcdefghi", kNi + "z"}},
        {"too many lines: the last that fits ends in ' ...'", "l1\nl2\nline3333\nl4\nl5\n", {"l1", "l2", "line ..."}},
        {"a short last line is not over-read", "l1\nl2\nab\nl4\n", {"l1", "l2", " ..."}},
        {"a double-byte tail is dropped whole", "l1\nl2\nab" + kNi + kNi + "\nl4\n", {"l1", "l2", "ab ..."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<PaintLine> lines = BreakBalloonLines(c.text, rc, kA, kH, 8);
        std::vector<std::string> texts;
        for (const PaintLine& l : lines)
            texts.push_back(l.text);
        EXPECT_EQ(texts, c.lines);
        for (size_t i = 0; i < lines.size(); ++i)
            EXPECT_EQ(lines[i].y, 8 + 20 * static_cast<int>(i));
    }
}

}  // namespace
