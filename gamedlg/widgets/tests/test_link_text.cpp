// The hyperlink label's text: the parser (anchors, bare links, line breaks,
// double-byte characters, unterminated anchors), the layout with its link
// rectangles, hit tests, and which addresses may be opened.
#include <gtest/gtest.h>

#include "LinkText.h"

using namespace widgets;

namespace {

TextExtent Mono(const std::string& s) { return TextExtent{6 * static_cast<int>(s.size()), 12}; }

std::string Drawn(const std::string& text, const LinkPiece& p) { return text.substr(p.begin, p.length); }

// The pieces as "T:x", "N", "L:caption|address".
std::vector<std::string> Describe(const std::string& text, size_t capacity = kLabelAddressCapacity)
{
    std::vector<std::string> out;
    for (const LinkPiece& p : ParseLinkText(text, capacity)) {
        switch (p.kind) {
        case PieceKind::Text: out.push_back("T:" + Drawn(text, p)); break;
        case PieceKind::NewLine: out.push_back("N"); break;
        case PieceKind::Link: out.push_back("L:" + Drawn(text, p) + "|" + p.address); break;
        }
    }
    return out;
}

TEST(LinkText, ParserTable)
{
    using V = std::vector<std::string>;
    struct Case {
        const char* what;
        std::string text;
        V expected;
    } cases[] = {
        {"plain characters", "ab", V{"T:a", "T:b"}},
        {"a bare link ends at a comma", "www.x.cn,a", V{"L:www.x.cn|www.x.cn", "T:,", "T:a"}},
        {"a bare http link ends at a blank", "http://a/b c", V{"L:http://a/b|http://a/b", "T: ", "T:c"}},
        {"any case", "WWW.X.CN", V{"L:WWW.X.CN|WWW.X.CN"}},
        {"bare link ends at a double-byte character", "www.a\xC4\xE3", V{"L:www.a|www.a", "T:\xC4\xE3"}},
        {"an anchor draws its caption and keeps its address",
         "<A href=\"http://s/r?id=1\">details</A>!", V{"L:details|http://s/r?id=1", "T:!"}},
        {"anchor tag in any case", "<a HREF=\"www.q.com\">go</a>", V{"L:go|www.q.com"}},
        {"a caption keeps a '<' that does not close it", "<A href=\"www.q\">a<b</A>", V{"L:a<b|www.q"}},
        {"a caption without </A> runs to the end", "<A href=\"www.q\">cap", V{"L:cap|www.q"}},
        {"an unterminated anchor at the very end reads nothing past it", "<A href=\"www.x", V{"L:|www.x"}},
        {"unterminated, one byte after the address", "<A href=\"www.x\"", V{"L:|www.x"}},
        {"an anchor to another scheme is plain text",
         "<A href=\"file://c\">x</A>", V{"T:<", "T:A", "T: ", "T:h", "T:r", "T:e", "T:f", "T:=", "T:\"", "T:f",
                                          "T:i", "T:l", "T:e", "T::", "T:/", "T:/", "T:c", "T:\"", "T:>", "T:x"}},
        {"a double-byte character inside an anchor's address is taken whole",
         "<A href=\"www.\xC4\xE3.cn\">c</A>", V{"L:c|www.\xC4\xE3.cn"}},
        {"line breaks: CR, LF, pairs count once, backslash-n", "a\r\nb\n\rc\rd\ne\\nf",
         V{"T:a", "N", "T:b", "N", "T:c", "N", "T:d", "N", "T:e", "N", "T:f"}},
        {"a double-byte character is one piece", "\xC4\xE3z", V{"T:\xC4\xE3", "T:z"}},
        {"a lead byte at the end is one byte", "z\xC4", V{"T:z", "T:\xC4"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Describe(c.text), c.expected);
    }
}

TEST(LinkText, AddressesAreCappedToTheRecord)
{
    const std::string longAddress = "http://" + std::string(600, 'a');
    const std::vector<LinkPiece> pieces = ParseLinkText(longAddress, kLabelAddressCapacity);
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces[0].address.size(), 511u);
    EXPECT_EQ(pieces[0].length, longAddress.size()) << "the whole link is still drawn";
    EXPECT_EQ(ParseLinkText(longAddress, 256)[0].address.size(), 255u);   // the kit's 256-byte records
}

TEST(LinkText, LayoutWrapsAndStopsAtTheBottom)
{
    // 6 x 12 per byte; a 60 x 30 client: 10 bytes per line, two lines of 14.
    const std::string text = "ab www.q.cn,xyz\nnext www.late.cn";
    const std::vector<LinkPiece> pieces = ParseLinkText(text, kLabelAddressCapacity);
    const LinkLayout l = LayoutLinkText(text, pieces, 60, 30, Mono);
    // "a" (0), "b" (6), " " (12); the link at 18 is 48 wide: it passes 60, so it wraps to y 14.
    ASSERT_GE(l.placed.size(), 4u);
    EXPECT_EQ(l.placed[3].x, 0);
    EXPECT_EQ(l.placed[3].y, 14);
    ASSERT_EQ(l.links.size(), 1u) << "the second link lies below the bottom: no rectangle";
    EXPECT_EQ(l.links[0].rect, (Rc{0, 14, 48, 28}));
    EXPECT_EQ(l.links[0].address, "www.q.cn");

    EXPECT_EQ(HitTestLinks(l.links, Pt{10, 20}), 0);
    EXPECT_EQ(HitTestLinks(l.links, Pt{48, 20}), -1);   // right edge excluded
    EXPECT_EQ(HitTestLinks(l.links, Pt{10, 5}), -1);

    // A label without links never has a rectangle to hit.
    const std::string plain = "no links here";
    EXPECT_TRUE(LayoutLinkText(plain, ParseLinkText(plain, 512), 60, 100, Mono).links.empty());
    // A client too small for anything places nothing.
    EXPECT_TRUE(LayoutLinkText(text, pieces, 60, 5, Mono).placed.empty());
}

TEST(LinkText, OnlyWebAddressesAreOpened)
{
    struct Case {
        const char* address;
        bool ok;
        const char* opened;
    } cases[] = {
        {"http://a.cn/x", true, "http://a.cn/x"},
        {"HTTPS://a.cn", true, "HTTPS://a.cn"},
        {"www.x.cn", true, "http://www.x.cn"},
        {"www.x.exe", true, "http://www.x.exe"},   // never a file next to the program
        {"file:///c:/windows/notepad.exe", false, ""},
        {"javascript:alert(1)", false, ""},
        {"c:\\x.exe", false, ""},
        {"http://", false, ""},
        {"www.", false, ""},
        {"http://a b", false, ""},
        {"", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        std::string out;
        EXPECT_EQ(NormaliseWebAddress(c.address, &out), c.ok);
        if (c.ok) {
            EXPECT_EQ(out, c.opened);
        }
    }
}

}  // namespace
