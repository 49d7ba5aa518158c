// CString under code page 936: double-byte characters are never split,
// matched by one byte, or case-mapped; formatting; buffers; resources;
// UTF-16 conversions.
//
// Chinese literals are UTF-8 in this file and GBK in the program
// (-fexec-charset=GBK). The traps are written as byte escapes: each is a GBK
// character whose trail byte is also an ASCII character.
#include <gtest/gtest.h>

#include <string>

#include "afx.h"
#include "test_core_res.h"

namespace {
#define DB_A "\x81\x41"      // 丄: trail byte 'A'
#define DB_a "\x81\x61"      // 乤: trail byte 'a'
#define DB_BSL "\x81\x5c"    // 乗: trail byte '\'
#define DB_BAR "\x81\x7c"    // 亅: trail byte '|'

std::string Bytes(const CString& s)
{
    return std::string((LPCSTR)s, s.GetLength());
}
}  // namespace

TEST(FrameworkString, RunsUnderCodePage936)
{
    ASSERT_EQ(936u, ::GetACP());
    EXPECT_TRUE(AfxIsLeadByte(0x81));
    EXPECT_FALSE(AfxIsLeadByte('A'));
    EXPECT_EQ(std::string("\xd6\xd0\xce\xc4"), Bytes("中文"));
}

TEST(FrameworkString, SearchesNeverMatchTrailBytes)
{
    CString s = "x" DB_A "A" DB_BSL "\\" DB_BAR "|";
    EXPECT_EQ(3, s.Find('A'));
    EXPECT_EQ(3, s.Find("A"));
    EXPECT_EQ(6, s.Find('\\'));
    EXPECT_EQ(6, s.ReverseFind('\\'));
    EXPECT_EQ(9, s.Find('|'));
    EXPECT_EQ(9, s.ReverseFind('|'));
    EXPECT_EQ(3, s.FindOneOf("|A"));
    EXPECT_EQ(1, s.Find(DB_A));
    EXPECT_EQ(-1, s.Find("\x41\x41"));            // 'A' 'A' across a character
    EXPECT_EQ(-1, s.Find('A', 4));
    EXPECT_EQ(7, s.Find(DB_BAR, 2));
    EXPECT_EQ(-1, s.Find("x", 100));
    EXPECT_EQ(0, s.Find("x", -5));

    // A path whose last folder name ends in a '\' trail byte.
    CString path = "C:\\game\\" DB_BSL "\\save.dat";
    EXPECT_EQ(10, path.ReverseFind('\\'));
    EXPECT_EQ("save.dat", path.Mid(path.ReverseFind('\\') + 1));
}

TEST(FrameworkString, CaseMappingLeavesDoubleByteCharactersAlone)
{
    CString s = "Ab" DB_a DB_A "Zz中文";
    s.MakeUpper();
    EXPECT_EQ(std::string("AB" DB_a DB_A "ZZ中文"), Bytes(s));
    s.MakeLower();
    EXPECT_EQ(std::string("ab" DB_a DB_A "zz中文"), Bytes(s));
}

TEST(FrameworkString, ComparisonsWithAndWithoutCase)
{
    struct Case { const char* a; const char* b; int nCase; int nNoCase; };
    const Case cases[] = {
        {"abc", "abc", 0, 0},
        {"abc", "ABC", 1, 0},
        {"中文Abc", "中文aBC", -1, 0},
        {DB_A, DB_a, -1, -1},                  // different characters, however folded
        {"a", "ab", -1, -1},
        {"", "", 0, 0},
        {"z", "中", -1, -1},                    // bytes >= 0x80 order after ASCII
    };
    for (const Case& c : cases) {
        CString a(c.a);
        int nCase = a.Compare(c.b), nNoCase = a.CompareNoCase(c.b);
        EXPECT_EQ(c.nCase, (nCase > 0) - (nCase < 0)) << c.a << " / " << c.b;
        EXPECT_EQ(c.nNoCase, (nNoCase > 0) - (nNoCase < 0)) << c.a << " / " << c.b;
    }
    CString s("abc");
    EXPECT_TRUE(s == "abc");
    EXPECT_TRUE("abc" == s);
    EXPECT_TRUE(s != CString("abd"));
    EXPECT_TRUE(s < "abd");
    EXPECT_TRUE(s >= "abc");
}

TEST(FrameworkString, TrimAndReplaceStepByCharacters)
{
    CString s = "  \t" DB_BSL "\\" DB_BSL "\r\n";
    s.Trim();
    EXPECT_EQ(std::string(DB_BSL "\\" DB_BSL), Bytes(s));
    s.TrimRight('\\');                          // the trail byte is not a '\'
    EXPECT_EQ(std::string(DB_BSL "\\" DB_BSL), Bytes(s));

    CString path = "a\\" DB_BSL "\\b";
    EXPECT_EQ(2, path.Replace('\\', '/'));
    EXPECT_EQ(std::string("a/" DB_BSL "/b"), Bytes(path));
    EXPECT_EQ(2, path.Remove('/'));
    EXPECT_EQ(std::string("a" DB_BSL "b"), Bytes(path));

    CString ends = "xx" DB_BAR "|||";
    ends.TrimRight("|");
    EXPECT_EQ(std::string("xx" DB_BAR), Bytes(ends));
    CString starts = "--=-abc";
    starts.TrimLeft("-=");
    EXPECT_EQ("abc", starts);

    CString text = "one A two A" DB_A;
    EXPECT_EQ(2, text.Replace("A", "<b>"));
    EXPECT_EQ(std::string("one <b> two <b>" DB_A), Bytes(text));
    EXPECT_EQ(0, text.Replace("", "x"));
    EXPECT_EQ(2, text.Replace("o", ""));
    EXPECT_EQ(std::string("ne <b> tw <b>" DB_A), Bytes(text));
}

TEST(FrameworkString, ExtractionClampsAndCanKeepCharactersWhole)
{
    CString s("abcdef");
    struct Case { int nFirst; int nCount; const char* pszMid; };
    const Case cases[] = {{0, 3, "abc"}, {4, 10, "ef"}, {-2, 2, "ab"}, {6, 1, ""}, {9, 1, ""}, {2, -1, ""}};
    for (const Case& c : cases)
        EXPECT_EQ(c.pszMid, s.Mid(c.nFirst, c.nCount)) << c.nFirst << "," << c.nCount;
    EXPECT_EQ("cdef", s.Mid(2));
    EXPECT_EQ("", s.Left(-1));
    EXPECT_EQ("abcdef", s.Left(100));
    EXPECT_EQ("ef", s.Right(2));
    EXPECT_EQ("abcdef", s.Right(100));
    EXPECT_EQ('\0', s.GetAt(6));
    EXPECT_EQ('f', s[5u]);

    // Byte counts that would end inside a double-byte character step back.
    CString cn("a中文b");
    const std::pair<int, const char*> whole[] = {{0, ""}, {1, "a"}, {2, "a"}, {3, "a中"}, {4, "a中"},
                                                 {5, "a中文"}, {6, "a中文b"}, {99, "a中文b"}};
    for (const auto& w : whole)
        EXPECT_EQ(std::string(CString(w.second)), Bytes(cn.LeftWhole(w.first))) << w.first;
    EXPECT_EQ(3, AfxCharBoundary("a中", 3, 3));
    EXPECT_EQ(2, AfxCharBoundary("中文", 4, 3));
    EXPECT_EQ(3, AfxCharBoundary("中\x81", 3, 3));   // a lone lead byte at the end is one byte

    CString span("中文12ab");
    EXPECT_EQ("中文", span.SpanIncluding("文中"));
    EXPECT_EQ("中文12", span.SpanExcluding("ba"));
    CString rev("a中b");
    rev.MakeReverse();
    EXPECT_EQ(std::string(CString("b中a")), Bytes(rev));
}

TEST(FrameworkString, InsertDeleteAndConcatenation)
{
    CString s("ace");
    EXPECT_EQ(4, s.Insert(1, 'b'));
    EXPECT_EQ(5, s.Insert(3, "d"));
    EXPECT_EQ(8, s.Insert(99, "xyz"));          // past the end: appended
    EXPECT_EQ(9, s.Insert(-3, "_"));            // before the start: prepended
    EXPECT_EQ("_abcdexyz", s);
    EXPECT_EQ(6, s.Delete(6, 10));
    EXPECT_EQ(5, s.Delete(0));
    EXPECT_EQ(5, s.Delete(9, 2));
    EXPECT_EQ("abcde", s);

    s += s;                                     // appending itself
    EXPECT_EQ("abcdeabcde", s);
    s = (LPCSTR)s + 5;                          // assigning a piece of itself
    EXPECT_EQ("abcde", s);
    s.Insert(0, (LPCSTR)s + 3);
    EXPECT_EQ("deabcde", s);
    EXPECT_EQ("x" + s + 'y', CString("xdeabcdey"));
    CString big;
    for (int i = 0; i < 1000; i++)
        big += "0123456789";
    EXPECT_EQ(10000, big.GetLength());
    EXPECT_EQ(9990, big.Find("0123456789", 9981));
}

TEST(FrameworkString, FormatFollowsPrintfRules)
{
    CString s;
    s.Format("%s=%d;%02X;%5.2f;%-3s|;%u", "n", -12, 10, 3.14159, "ab", 4000000000u);
    EXPECT_EQ("n=-12;0A; 3.14;ab |;4000000000", s);
    s.Format("%I64d %c %S", (__int64)-9000000000LL, 'z', L"wide");
    EXPECT_EQ("-9000000000 z wide", s);
    s.Format("%s共%d张", "牌", 54);
    EXPECT_EQ(CString("牌共54张"), s);

    // The arguments may be the string being formatted.
    s = "abc";
    s.Format("%s+%s", (LPCSTR)s, (LPCSTR)s);
    EXPECT_EQ("abc+abc", s);

    CString longText('x', 5000);
    s.Format("[%s]", (LPCSTR)longText);
    EXPECT_EQ(5002, s.GetLength());
    EXPECT_EQ(']', s[5001]);
    s.Format("%s", "");
    EXPECT_TRUE(s.IsEmpty());
}

TEST(FrameworkString, BuffersKeepLengthInsideTheAllocation)
{
    CString s;
    LPSTR p = s.GetBuffer(10);
    strcpy(p, "abc");
    s.ReleaseBuffer();
    EXPECT_EQ(3, s.GetLength());
    EXPECT_EQ("abc", s);

    // No terminator written: the length stops at the buffer's size.
    p = s.GetBuffer(16);
    int nAlloc = 16;
    memset(p, 'q', nAlloc);
    s.ReleaseBuffer();
    EXPECT_GE(s.GetLength(), nAlloc);
    EXPECT_EQ((size_t)s.GetLength(), strlen(s));

    // A requested length beyond the buffer is cut to it.
    CString t("hi");
    p = t.GetBuffer(4);
    memcpy(p, "wxyz", 4);
    t.ReleaseBuffer(1000);
    EXPECT_EQ((size_t)t.GetLength(), strlen(t));
    EXPECT_EQ(0, strncmp(t, "wxyz", 4));

    p = t.GetBufferSetLength(2);
    EXPECT_EQ(2, t.GetLength());
    EXPECT_EQ("wx", t);
    t.FreeExtra();
    EXPECT_EQ("wx", t);

    CString empty;
    EXPECT_NE(nullptr, empty.GetBuffer(0));
    empty.ReleaseBuffer();
    EXPECT_TRUE(empty.IsEmpty());
}

TEST(FrameworkString, LoadStringFromTheResourceModule)
{
    CString s;
    ASSERT_TRUE(s.LoadString(IDS_TEST_CHINESE));
    EXPECT_EQ(CString("测试字符串"), s);
    ASSERT_TRUE(s.LoadString(IDS_TEST_LONG));
    EXPECT_EQ(300, s.GetLength());
    EXPECT_FALSE(s.LoadString(IDS_TEST_MISSING));
    EXPECT_TRUE(s.IsEmpty());

    CString byId(MAKEINTRESOURCEA(IDS_TEST_CHINESE));
    EXPECT_EQ(CString("测试字符串"), byId);
    CString formatted;
    formatted.Format((UINT)IDS_TEST_FORMAT, 5);
    EXPECT_EQ(CString("共5张"), formatted);

    // A resource module without the string table: loading fails cleanly.
    AfxSetResourceHandle(::GetModuleHandleA("ntdll.dll"));
    EXPECT_FALSE(s.LoadString(::GetModuleHandleA("ntdll.dll"), IDS_TEST_CHINESE));
    EXPECT_TRUE(s.LoadString(IDS_TEST_CHINESE));   // found in the instance instead
    AfxSetResourceHandle(NULL);
}

TEST(FrameworkString, ConversionsToAndFromUtf16)
{
    CA2W wide("中文ab");
    EXPECT_STREQ(L"\x4e2d\x6587" L"ab", (LPCWSTR)wide);
    EXPECT_EQ(4, wide.GetLength());
    CW2A narrow(L"\x4e2d\x6587" L"ab");
    EXPECT_STREQ("中文ab", (LPCSTR)narrow);
    EXPECT_EQ(6, narrow.GetLength());

    CString fromWide(L"\x724c");                // 牌
    EXPECT_EQ(CString("牌"), fromWide);
    CString cut(L"\x4e2d\x6587" L"xyz", 2);
    EXPECT_EQ(CString("中文"), cut);

    BSTR bstr = CString("牌局").AllocSysString();
    EXPECT_EQ(2u, ::SysStringLen(bstr));
    EXPECT_STREQ(L"\x724c\x5c40", bstr);
    CString("x").SetSysString(&bstr);
    EXPECT_STREQ(L"x", bstr);
    ::SysFreeString(bstr);

    // Long texts leave the small inline buffers.
    CString longText('a', 500);
    CA2W longWide(longText);
    EXPECT_EQ(500, longWide.GetLength());
    CW2A back(longWide);
    EXPECT_EQ(longText, CString((LPCSTR)back));
}
