// The moving text's content readers (plain lines, plain text with links,
// the row-and-cell mark-up) and the marquee arithmetic.
#include <gtest/gtest.h>

#include <limits.h>
#include <math.h>

#include <string>

#include "ODTxtMovModel.h"

namespace {

using odtxt::Rows;

// Rows as text: rows split by " | ", cells by ";", each cell
// kind:text[->href], so one string shows a whole reading.
std::string Show(const Rows& rows)
{
    std::string s;
    for (size_t r = 0; r < rows.size(); ++r) {
        if (r)
            s += " | ";
        for (size_t c = 0; c < rows[r].cells.size(); ++c) {
            const odtxt::Cell& cell = rows[r].cells[c];
            if (c)
                s += ";";
            s += (cell.kind == odtxt::kLink ? "L:" : "P:") + cell.text;
            if (!cell.href.empty() && cell.href != cell.text)
                s += "->" + cell.href;
        }
    }
    return s;
}

TEST(TxtMovPlain, LinesTable)
{
    struct Case {
        const char* what;
        const char* text;
        const char* shown;
    };
    const Case cases[] = {
        {"one line", "hello", "P:hello"},
        {"lines at \\n", "a\nb", "P:a | P:b"},
        {"an empty piece holds one space", "a\n\nb", "P:a | P:  | P:b"},
        {"no links are looked for", "see http://x.org", "P:see http://x.org"},
        {"null is one empty row", nullptr, "P: "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Show(odtxt::ParsePlainLines(c.text, 3, 1)), c.shown) << c.what;
    const Rows rows = odtxt::ParsePlainLines("x", 3, 1);
    EXPECT_EQ(rows[0].pos, 3) << "default row position";
    EXPECT_EQ(rows[0].align, 1) << "default alignment";
}

TEST(TxtMovPlain, LinksTable)
{
    struct Case {
        const char* what;
        const char* text;
        const char* shown;
    };
    const Case cases[] = {
        {"a word, a link up to the comma, the rest from the comma on", "see http://a.b/c, then more",
         "P:see ;L:http://a.b/c;P:, then more"},
        {"www. in any case", "go WWW.x.cn now", "P:go ;L:WWW.x.cn;P: now"},
        {"a link ends at a parenthesis", "(http://x)y", "P:(;L:http://x;P:)y"},
        {"a link ends at a byte of 0x80 or more", "http://x\xc4\xe3", "L:http://x;P:\xc4\xe3"},
        {"fewer than five characters left: no link", "a http", "P:a http"},
        {"a link at the line's end leaves no plain cell after it", "x http://y", "P:x ;L:http://y"},
        {"CR, LF, CR LF and LF CR end lines", "a\rb\nc\r\nd\n\re", "P:a | P:b | P:c | P:d | P:e"},
        {"so do backslash and n", "a\\nb", "P:a | P:b"},
        {"an empty line holds one space", "a\n\nb", "P:a | P:  | P:b"},
        {"two links in a row", "http://a http://b", "L:http://a;P: ;L:http://b"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Show(odtxt::ParseMarkup(c.text, 0, 0)), c.shown) << c.what;
}

TEST(TxtMovMarkup, RowsAndCellsTable)
{
    struct Case {
        const char* what;
        const char* text;
        const char* shown;
    };
    const Case cases[] = {
        {"one row, two cells", "<TR><TD>a</TD><TD>b</TD></TR>", "P:a;P:b"},
        {"a link cell shows its text, not the link", "<TR Align=CENTER><TD href=http://x>go</TD></TR>",
         "L:go->http://x"},
        {"two rows", "<TR><TD>a</TD></TR><TR><TD>b</TD></TR>", "P:a | P:b"},
        {"a row without > is skipped", "<TR</TR><TR><TD>b</TD></TR>", "P:b"},
        {"\"<TR\" without \"</TR>\" is plain text", "<TR><TD>a</TD>", "P:<TR><TD>a</TD>"},
        {"a cell without </TD> ends the row's cells", "<TR><TD>a</TD><TD>b</TR>", "P:a"},
        {"a cell whose inside has no > is skipped", "<TR><TD</TD><TD>b</TD></TR>", "P:b"},
        {"text outside rows is dropped", "x<TR><TD>a</TD></TR>y", "P:a"},
        {"tags are case-sensitive", "<tr><td>a</td></tr>", "P:<tr><td>a</td></tr>"},
        {"a row without cells", "<TR></TR>", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Show(odtxt::ParseMarkup(c.text, 0, 0)), c.shown) << c.what;
}

TEST(TxtMovMarkup, RowAttributes)
{
    struct Case {
        const char* what;
        const char* head;
        int pos;
        int align;
        float speed;
        int maxOffset;
    };
    const Case cases[] = {
        {"none", "", 0, 0, 0, 0},
        {"all four", " Pos=4 Align=RIGHT MovingPos=-1.5 MaxOffset=30", 4, 2, -1.5f, 30},
        {"align in any case", " Align=center", 0, 1, 0, 0},
        {"an unknown align word leaves the default", " Align=MIDDLE", 0, 0, 0, 0},
        {"spaces around =", " Pos = 7", 7, 0, 0, 0},
        {"a name without = is absent", " Pos 7", 0, 0, 0, 0},
        {"Pos is not read out of MovingPos", " MovingPos=3 Pos=2", 2, 0, 3.0f, 0},
        {"MovingPos alone leaves Pos at 0", " MovingPos=3", 0, 0, 3.0f, 0},
        {"a speed that is not a number reads 0", " MovingPos=fast", 0, 0, 0, 0},
        {"an absurd speed is held", " MovingPos=1e300", 0, 0, odtxt::kMaxSpeed, 0},
        {"NaN is no number", " MovingPos=nan", 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        const std::string text = std::string("<TR") + c.head + "><TD>x</TD></TR>";
        const Rows rows = odtxt::ParseMarkup(text.c_str(), 9, 2);
        ASSERT_EQ(rows.size(), 1u) << c.what;
        EXPECT_EQ(rows[0].pos, c.pos) << c.what;
        EXPECT_EQ(rows[0].align, c.align) << c.what;
        EXPECT_FLOAT_EQ(rows[0].speed, c.speed) << c.what;
        EXPECT_EQ(rows[0].maxOffset, c.maxOffset) << c.what;
    }
}

TEST(TxtMovMarkup, CellAttributes)
{
    const Rows rows = odtxt::ParseMarkup(
        "<TR><TD Pos=5 href=http://x ToolTip=tip TextColor=1,2,3 FocusColor=255,0,256 VisitedColor=1,2>a b</TD></TR>",
        0, 0);
    ASSERT_EQ(rows.size(), 1u);
    ASSERT_EQ(rows[0].cells.size(), 1u);
    const odtxt::Cell& c = rows[0].cells[0];
    EXPECT_EQ(c.text, "a b");
    EXPECT_EQ(c.pos, 5);
    EXPECT_EQ(c.href, "http://x");
    EXPECT_EQ(c.tooltip, "tip");
    EXPECT_EQ(c.kind, odtxt::kLink);
    EXPECT_EQ(c.textColor, 0x030201u);
    EXPECT_EQ(c.focusColor, 0x0000FFu) << "each channel & 255";
    EXPECT_EQ(c.visitedColor, odtxt::kNoColor) << "two numbers: the object's colour";
}

TEST(TxtMovMarkup, ColourTriples)
{
    struct Case {
        const char* what;
        const char* value;
        uint32_t expected;
    };
    const Case cases[] = {
        {"three numbers", "10,20,30", 0x1E140A},
        {"two numbers", "10,20", odtxt::kNoColor},
        {"four numbers", "1,2,3,4", odtxt::kNoColor},
        {"a word", "1,red,3", odtxt::kNoColor},
        {"empty", "", odtxt::kNoColor},
        {"negative wraps through & 255", "-1,0,0", 0x0000FF},
    };
    for (const Case& c : cases)
        EXPECT_EQ(odtxt::ParseColorTriple(c.value), c.expected) << c.what;
}

TEST(TxtMovModel, PlainTextJoinsRows)
{
    EXPECT_EQ(odtxt::PlainText(odtxt::ParseMarkup("<TR><TD>a</TD><TD>b</TD></TR><TR><TD>c</TD></TR>", 0, 0)), "ab\nc");
}

TEST(TxtMovMarquee, RowMovingLeftWrapsAndItsCopyFollows)
{
    // A row 80 wide in a rectangle 100 wide, max offset 20: wrap 120. It
    // moves 1.5 to the left per tick and starts again once its whole part
    // passes -120.
    const int wrap = odtxt::WrapDistance(20, 100, 80);
    EXPECT_EQ(wrap, 120);
    float offset = 0;
    int ticks = 0;
    bool wrapped = false;
    for (; ticks < 200 && !wrapped; ++ticks) {
        offset = odtxt::WrapOffset(odtxt::Advance(offset, -1.5f), wrap);
        wrapped = offset == 0;
        if (!wrapped) {
            const odtxt::Places p = odtxt::PlaceRun(offset, 10, wrap);
            EXPECT_EQ(p.first, 10 + static_cast<int>(truncf(offset)));
            EXPECT_EQ(p.copy, p.first + wrap) << "the copy fills the space behind it";
        }
    }
    // -121.5 is the first offset whose whole part lies beyond 120: tick 81.
    EXPECT_EQ(ticks, 81);

    const odtxt::Places right = odtxt::PlaceRun(30.7f, 0, 120);
    EXPECT_EQ(right.first, 30);
    EXPECT_EQ(right.copy, -90) << "moving right, the copy comes before";
}

TEST(TxtMovMarquee, AlignAndHostileNumbers)
{
    EXPECT_EQ(odtxt::AlignShift(odtxt::kAlignLeft, 100, 40), 0);
    EXPECT_EQ(odtxt::AlignShift(odtxt::kAlignCenter, 100, 41), 29);
    EXPECT_EQ(odtxt::AlignShift(odtxt::kAlignRight, 100, 40), 60);
    EXPECT_EQ(odtxt::AlignShift(odtxt::kAlignCenter, 40, 101), -30) << "truncated toward zero";
    EXPECT_EQ(odtxt::Advance(NAN, 1), 0.0f);
    EXPECT_EQ(odtxt::Advance(0, INFINITY), 0.0f);
    EXPECT_EQ(odtxt::Advance(1.6e7f, 1e6f), 16777216.0f);
    EXPECT_EQ(odtxt::WrapOffset(NAN, 10), 0.0f);
    EXPECT_EQ(odtxt::WrapDistance(2147483647, 2147483647, 0), 16777216);
    // Places past int's range are held at its ends (a row far down the text).
    EXPECT_EQ(odtxt::PlaceRun(0.0f, INT_MAX, 16777216).copy, INT_MAX);
    EXPECT_EQ(odtxt::PlaceRun(5.0f, INT_MIN, 16777216).copy, INT_MIN);
    EXPECT_EQ(odtxt::AlignShift(odtxt::kAlignRight, INT_MAX, INT_MIN), INT_MAX);
    const odtxt::Rows rows = odtxt::ParseMarkup("<TR Pos=99999999 MaxOffset=-99999999><TD Pos=99999999>x</TD></TR>", 0, 0);
    EXPECT_EQ(rows[0].pos, odtxt::kMaxPos) << "positions from a text are held";
    EXPECT_EQ(rows[0].maxOffset, -odtxt::kMaxPos);
    EXPECT_EQ(rows[0].cells[0].pos, odtxt::kMaxPos);
}

}  // namespace
