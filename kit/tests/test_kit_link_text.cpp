// The hyperlink text layout with a fixed-width measure (every byte 6 pixels
// wide, 10 high): mark-up and bare links, where addresses end, DBCS
// neighbours, line breaks, wrapping and cutting, truncated mark-up, and which
// addresses may be opened.
#include <gtest/gtest.h>

#include "LinkText.h"

#include <cstring>
#include <memory>
#include <string>

namespace {

using namespace kit;

const int kCharW = 6, kCharH = 10;

TextSize Fixed(const char*, int length) { return {length * kCharW, kCharH}; }
bool GbkLead(unsigned char b) { return b >= 0x81 && b <= 0xFE; }

LinkLayout Lay(const std::string& s, int w = 1000, int h = 1000)
{
    return LayoutLinkText(s.data(), s.size(), w, h, Fixed, GbkLead);
}

// The visible text of the runs, '|' between runs on different lines.
std::string Visible(const std::string& s, const LinkLayout& l)
{
    std::string out;
    int y = -1;
    for (const LinkRun& r : l.runs) {
        if (y >= 0 && r.y != y)
            out += '|';
        y = r.y;
        out += r.link >= 0 ? "[" + s.substr(r.offset, r.length) + "]" : s.substr(r.offset, r.length);
    }
    return out;
}

TEST(LinkText, ParserTable)
{
    struct Case
    {
        const char* what;
        std::string text;
        std::string visible;                 // link runs in brackets, lines split by '|'
        std::vector<std::string> addresses;
    };
    const Case cases[] = {
        {"mark-up link between words", "see <A href=\"http://a.cn/x\">here</a> now", "see [here] now", {"http://a.cn/x"}},
        {"mark-up with www. and any case", "<a HREF=\"www.b.cn\">B</A>!", "[B]!", {"www.b.cn"}},
        {"bare http:// ends at a comma", "go http://c.cn/p, then", "go [http://c.cn/p], then", {"http://c.cn/p"}},
        {"bare www. ends at a blank", "www.d.cn x", "[www.d.cn] x", {"www.d.cn"}},
        {"bare address ends at ')'", "(http://e.cn)", "([http://e.cn])", {"http://e.cn"}},
        {"'<' in a label stays in the label", "<A href=\"http://f.cn\">a<b</a>.", "[a<b].", {"http://f.cn"}},
        {"DBCS right after a bare address ends it", "http://g.cn\xC4\xE3\xBA\xC3", "[http://g.cn]\xC4\xE3\xBA\xC3",
         {"http://g.cn"}},
        {"DBCS before a link", "\xC4\xE3www.h.cn", "\xC4\xE3[www.h.cn]", {"www.h.cn"}},
        {"backslash-n breaks the line", "a\\nb", "a|b", {}},
        {"CR LF counts once", "a\r\nb", "a|b", {}},
        {"LF CR counts once", "a\n\rb", "a|b", {}},
        {"LF LF is two breaks", "a\n\nb", "a|b", {}},
        {"a lone backslash is text", "a\\b", "a\\b", {}},
        {"a closing tag alone is skipped", "x</a>y", "xy", {}},
        {"https:// is not a link start", "https://i.cn", "https://i.cn", {}},
        {"other mark-up is plain text", "<A href=\"ftp://j\">k</a>", "<A href=\"ftp://j\">k", {}},
        {"a bare link stops at a line break", "http://k.cn\nnext", "[http://k.cn]|next", {"http://k.cn"}},
    };
    for (const Case& c : cases) {
        const LinkLayout l = Lay(c.text);
        EXPECT_EQ(Visible(c.text, l), c.visible) << c.what;
        ASSERT_EQ(l.links.size(), c.addresses.size()) << c.what;
        for (size_t i = 0; i < c.addresses.size(); i++)
            EXPECT_EQ(l.links[i].address, c.addresses[i]) << c.what;
        EXPECT_FALSE(l.cut) << c.what;
    }
}

TEST(LinkText, LinkRectanglesAndPositions)
{
    const std::string s = "ab <A href=\"http://x.cn\">LINK</a>";
    const LinkLayout l = Lay(s);
    ASSERT_EQ(l.links.size(), 1u);
    // "ab " is three runs of 6 pixels: the label starts at 18.
    const KRect r = l.links[0].rect;
    EXPECT_EQ(r.left, 18);
    EXPECT_EQ(r.right, 18 + 4 * kCharW);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.bottom, kCharH + 2) << "two pixels below the text for the underline";
    EXPECT_EQ(HitTestLinks(l, 20, 5), 0);
    EXPECT_EQ(HitTestLinks(l, 17, 5), -1);
    EXPECT_EQ(HitTestLinks(l, 20, kCharH + 2), -1);
}

TEST(LinkText, WrapsAtTheWidthAndCutsAtTheLastWholeLine)
{
    // 10 characters fit a line of 60; lines are 12 apart; 3 lines fit 36.
    const std::string s(40, 'x');
    LinkLayout l = Lay(s, 60, 36);
    ASSERT_FALSE(l.runs.empty());
    EXPECT_TRUE(l.cut);
    EXPECT_EQ(l.runs.size(), 30u) << "three whole lines of ten";
    EXPECT_EQ(l.runs.back().y, 24);
    EXPECT_EQ(l.runs[10].x, 0);
    EXPECT_EQ(l.runs[10].y, 12);
    // One pixel less: only two lines.
    l = Lay(s, 60, 35);
    EXPECT_EQ(l.runs.size(), 20u);
    // A link run moves whole to the next line.
    const std::string t = "abcdefgh http://z.cn";
    l = Lay(t, 60, 100);
    ASSERT_EQ(l.links.size(), 1u);
    EXPECT_EQ(l.links[0].rect.left, 0);
    EXPECT_EQ(l.links[0].rect.top, 12);
    // A link that does not fit under the cut leaves no record behind.
    l = Lay("abc\nhttp://q.cn", 100, 13);
    EXPECT_TRUE(l.links.empty());
    EXPECT_TRUE(l.cut);
}

TEST(LinkText, TruncatedMarkupNeverReadsPastItsEnd)
{
    // Each text is copied to a buffer of exactly its length, so a read past
    // the end is caught by the sanitizers of the native trees.
    const char* const texts[] = {
        "<A href=\"http://",
        "<A href=\"http://a",
        "<A href=\"http://a\"",
        "<A href=\"www.a\">",
        "<A href=\"www.a\">lab",
        "<A href=\"www.",
        "<A hr",
        "</a",
        "\\",
        "http://",
        "www.",
        "\xC4",
    };
    for (const char* t : texts) {
        const size_t n = strlen(t);
        std::unique_ptr<char[]> exact(new char[n]);
        memcpy(exact.get(), t, n);
        const LinkLayout l = LayoutLinkText(exact.get(), n, 1000, 1000, Fixed, GbkLead);
        for (const LinkRun& r : l.runs)
            EXPECT_LE(r.offset + r.length, n) << t;
        for (const LinkRecord& rec : l.links)
            EXPECT_LE(rec.address.size(), n) << t;
    }
    // Addresses are kept to 255 characters; the text to 1024.
    const std::string longAddress = "http://" + std::string(400, 'a');
    LinkLayout l = Lay(longAddress, 100000, 100);
    ASSERT_EQ(l.links.size(), 1u);
    EXPECT_EQ(l.links[0].address.size(), kLinkAddressMax);
    l = Lay(std::string(5000, 'y'), 100000, 100);
    EXPECT_EQ(l.runs.size(), kLinkTextMax);
}

TEST(LinkText, OnlyWebAddressesAreOpened)
{
    struct Case { const char* address; const char* opened; };
    const Case cases[] = {
        {"http://a.cn/x", "http://a.cn/x"},
        {"HTTP://a.cn", "HTTP://a.cn"},
        {"https://a.cn", "https://a.cn"},
        {"www.a.cn", "http://www.a.cn"},
        {"www.", ""},
        {"http://", ""},
        {"c:\\windows\\system32\\calc.exe", ""},
        {"file:///c:/x", ""},
        {"javascript:alert(1)", ""},
        {"http://a.cn/\"x", ""},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LinkOpenAddress(c.address), c.opened) << c.address;
}

}  // namespace
