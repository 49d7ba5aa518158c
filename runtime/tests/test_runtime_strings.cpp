// String, number and token functions over code-page-936 text.
//
// Chinese literals are UTF-8 in this source and GBK at run time (the build
// compiles with -fexec-charset=GBK). Cases that need particular bytes (a trail
// byte equal to an ASCII character) spell them as escapes: "\x81\x5C" is one
// double-byte character whose trail byte is '\'.
#include "StringFunctions.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// A double-byte character whose trail byte is the given ASCII character.
#define DB(trail) "\x81" trail

ptrdiff_t OffsetOf(const char* base, const char* found)
{
    return found ? found - base : -1;
}

TEST(StringFunctions, CharacterLengths)
{
    EXPECT_EQ(CharLengthAt(""), 0u);
    EXPECT_EQ(CharLengthAt("a"), 1u);
    EXPECT_EQ(CharLengthAt("中"), 2u);
    EXPECT_EQ(CharLengthAt(DB("\x5C")), 2u);
    EXPECT_EQ(CharLengthAt("\x81"), 1u);       // a lead byte at the end stands alone
    EXPECT_EQ(CharLengthAt("\x81\x7F"), 1u);   // 0x7F is no trail byte
    EXPECT_EQ(CharBoundaryAtOrBefore("中文", 3), 2u);
    EXPECT_EQ(CharBoundaryAtOrBefore("a中", 2), 1u);
    EXPECT_EQ(CharBoundaryAtOrBefore("ab", 10), 2u);
}

struct FindCase {
    const char* text;
    const char* pattern;
    ptrdiff_t noCase;       // offset, -1 for none
    ptrdiff_t withCase;
};

TEST(StringFunctions, FindMatchesWholeCharactersOnly)
{
    const FindCase cases[] = {
        {"Hello World", "WORLD", 6, -1},
        {"Hello World", "World", 6, 6},
        {"", "a", -1, -1},
        {"abc", "", 0, 0},
        {DB("A") "a", "a", 2, 2},            // the trail 'A' is not a letter
        {DB("A"), "A", -1, -1},
        {"中文Abc", "aBC", 4, -1},
        {"中文", "文", 2, 2},
        {"\xD6\xD0\xCE\xC4", "\xD0\xCE", -1, -1},   // bytes across two characters
        {"中", "\xD6", -1, -1},                      // half a character
        {"[" DB("]") "]", "]", 3, 3},
    };
    for (const FindCase& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(OffsetOf(c.text, StrFindNoCase(c.text, c.pattern)), c.noCase);
        EXPECT_EQ(OffsetOf(c.text, StrFindChars(c.text, c.pattern)), c.withCase);
    }
    EXPECT_EQ(StrFindNoCase(static_cast<const char*>(nullptr), "a"), nullptr);
    EXPECT_EQ(StrFindNoCase("a", nullptr), nullptr);
}

TEST(StringFunctions, ParseNumber)
{
    const struct {
        const char* text;
        int32_t value;
        uint32_t unsignedValue;
    } cases[] = {
        {"abc123", 123, 123},
        {"-45", 45, 45},                      // the sign is skipped like any other character
        {"0x1F", 31, 31},
        {"val=0X10", 16, 16},
        {"x0x", 0, 0},                        // prefix without a digit
        {"", 0, 0},
        {"none", 0, 0},
        {"中12文", 12, 12},
        {"0xFFFFFFFF", -1, 0xFFFFFFFFu},
        {"99999999999", INT32_MAX, 1215752191u},   // clamped / wrapped
        {"4294967295", INT32_MAX, 4294967295u},
        {"007", 7, 7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseNumber(c.text), c.value);
        EXPECT_EQ(ParseNumberU(c.text), c.unsignedValue);
    }
    EXPECT_EQ(ParseNumber(nullptr), 0);
}

TEST(StringFunctions, ParseDottedQuad)
{
    const struct {
        const char* text;
        uint32_t value;
    } cases[] = {
        {"192.168.1.2", 0xC0A80102u},
        {"ip: 10.0.0.1", 0x0A000001u},
        {"1.2", 0x01020000u},
        {"256.1.1.300", 0x0001012Cu},
        {",1.2.3.4", 0u},                     // a ',' ends the skipping
        {"", 0u},
        {"a1.2.3.4.5", 0x01020304u},
        {"地址1.2.3.4", 0x01020304u},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseDottedQuad(c.text), c.value);
    }
}

TEST(StringFunctions, NextTokenWalksAList)
{
    const char* text = "  one, 中文\tthree ,,";
    char token[16];
    const char* p = NextToken(text, token, sizeof(token));
    EXPECT_STREQ(token, "one");
    p = NextToken(p, token, sizeof(token));
    EXPECT_STREQ(token, "中文");
    p = NextToken(p, token, sizeof(token));
    EXPECT_STREQ(token, "three");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(*p, 0);
    p = NextToken(p, token, sizeof(token));
    EXPECT_STREQ(token, "");
    EXPECT_EQ(NextToken(static_cast<const char*>(nullptr), token, sizeof(token)), nullptr);
}

TEST(StringFunctions, NextTokenCutsOnCharacterBoundary)
{
    const struct {
        const char* text;
        size_t size;
        const char* token;
    } cases[] = {
        {"中文字,x", 4, "中"},      // 3 bytes would split 文
        {"中文字,x", 5, "中文"},
        {"abcdef x", 4, "abc"},
        {"abcdef x", 0, "abcdef"},   // no limit
        {DB("\x5C") "\\ x", 3, DB("\x5C")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        char token[32];
        std::memset(token, 'Z', sizeof(token));
        const char* rest = NextToken(c.text, token, c.size);
        EXPECT_STREQ(token, c.token);
        ASSERT_NE(rest, nullptr);
        EXPECT_TRUE(*rest == 'x' || *rest == 0) << rest;   // the whole token was skipped
    }
}

TEST(StringFunctions, NextIntToken)
{
    int32_t value = 99;
    const char* p = NextIntToken(" 12, -3 ,4", &value);
    EXPECT_EQ(value, 12);
    p = NextIntToken(p, &value);
    EXPECT_EQ(value, -3);
    p = NextIntToken(p, &value);
    EXPECT_EQ(value, 4);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(NextIntToken(p, &value), nullptr);   // empty rest
    EXPECT_EQ(NextIntToken(static_cast<const char*>(nullptr), &value), nullptr);
    EXPECT_EQ(value, 0);

    // A double-byte token reads as 0 and is skipped whole.
    p = NextIntToken("5,中文,7", &value);
    EXPECT_EQ(value, 5);
    p = NextIntToken(p, &value);
    EXPECT_EQ(value, 0);
    p = NextIntToken(p, &value);
    EXPECT_EQ(value, 7);
}

struct ReplaceCase {
    const char* name;
    int (*replace)(char*, size_t, const char*, const char*);
    const char* text;
    size_t capacity;
    const char* oldText;
    const char* newText;
    int result;
    const char* after;
};

TEST(StringFunctions, ReplaceRefusesWhatDoesNotFit)
{
    const ReplaceCase cases[] = {
        {"all, new holds old", ReplaceAll, "a-b-c", 32, "-", "+-+", 1, "a+-+b+-+c"},
        {"all, exact fit", ReplaceAll, "a-b-c", 10, "-", "+-+", 1, "a+-+b+-+c"},
        {"all, one byte short", ReplaceAll, "a-b-c", 9, "-", "+-+", 0, "a-b-c"},
        {"first", ReplaceFirst, "aXbX", 8, "X", "", 1, "abX"},
        {"first, absent", ReplaceFirst, "abc", 8, "X", "Y", 0, "abc"},
        {"all, no case", ReplaceAllNoCase, "Foo foo FOO", 16, "foo", "x", 1, "x x x"},
        {"first, no case", ReplaceFirstNoCase, "Foo foo", 16, "FOO", "bar", 1, "bar foo"},
        {"empty old", ReplaceAll, "abc", 8, "", "x", 0, "abc"},
        {"null new", ReplaceAll, "abc", 8, "b", nullptr, 0, "abc"},
        {"trail byte untouched", ReplaceAll, DB("\x5C") "\\", 8, "\\", "/", 1, DB("\x5C") "/"},
        {"trail letter untouched", ReplaceAllNoCase, DB("a"), 8, "A", "b", 0, DB("a")},
        {"chinese", ReplaceAll, "中文中文", 16, "文", "国", 1, "中国中国"},
    };
    for (const ReplaceCase& c : cases) {
        SCOPED_TRACE(c.name);
        char buffer[64];
        std::memset(buffer, 'Z', sizeof(buffer));
        std::strcpy(buffer, c.text);
        EXPECT_EQ(c.replace(buffer, c.capacity, c.oldText, c.newText), c.result);
        EXPECT_STREQ(buffer, c.after);
        EXPECT_EQ(buffer[c.capacity], 'Z') << "wrote past the capacity";
    }
}

TEST(StringFunctions, InsertAt)
{
    const struct {
        const char* text;
        size_t capacity;
        size_t position;
        const char* insert;
        int result;
        const char* after;
    } cases[] = {
        {"abc", 8, 1, "XY", 1, "aXYbc"},
        {"abc", 8, 3, "XY", 1, "abcXY"},
        {"abc", 8, 4, "XY", 0, "abc"},       // past the end
        {"abc", 8, 1, "", 1, "abc"},
        {"abc", 5, 1, "XY", 0, "abc"},       // would need 6 bytes
        {"abc", 6, 1, "XY", 1, "aXYbc"},
        {"中文", 8, 1, "X", 0, "中文"},       // inside a character
        {"中文", 8, 2, "X", 1, "中X文"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.after);
        char buffer[32];
        std::memset(buffer, 'Z', sizeof(buffer));
        std::strcpy(buffer, c.text);
        EXPECT_EQ(InsertAt(buffer, c.capacity, c.position, c.insert), c.result);
        EXPECT_STREQ(buffer, c.after);
        EXPECT_EQ(buffer[c.capacity], 'Z');
    }
}

TEST(StringFunctions, SkipAndTrim)
{
    EXPECT_STREQ(SkipChar("  x ", ' '), "x ");
    EXPECT_STREQ(SkipChar("", ' '), "");
    EXPECT_STREQ(SkipCharsIn(" \r\n\tkey", " \r\n"), "\tkey");   // a tab is not in the set
    EXPECT_STREQ(SkipCharsIn("中 ", " "), "中 ");

    const struct {
        const char* text;
        const char* trimmed;
    } trims[] = {
        {"ab  ", "ab"},
        {"  ", ""},
        {"a b", "a b"},
        {"中文  ", "中文"},
    };
    for (const auto& c : trims) {
        char buffer[16];
        std::strcpy(buffer, c.text);
        EXPECT_STREQ(TrimRightChar(buffer, ' '), c.trimmed);
    }
    char slashes[] = DB("\x5C") "\\\\";
    EXPECT_STREQ(TrimRightChar(slashes, '\\'), DB("\x5C"));
    char onlyTrail[] = DB("\x5C");
    EXPECT_STREQ(TrimRightChar(onlyTrail, '\\'), DB("\x5C"));

    char value[] = "val \r\n";
    EXPECT_STREQ(TrimRightCharsIn(value, " \r\n"), "val");
    char spaces[] = "a\t ";
    EXPECT_STREQ(TrimRightCharsIn(spaces, " "), "a\t");

    EXPECT_EQ(HasChar("abc", 'b'), 1);
    EXPECT_EQ(HasChar("abc", 'z'), 0);
    EXPECT_EQ(HasChar("abc", 0), 0);
    EXPECT_EQ(HasChar(nullptr, 'a'), 0);
}

TEST(StringFunctions, CutBetweenAndBracketed)
{
    const struct {
        const char* text;
        bool bracketed;
        char open;
        char close;
        const char* result;   // null for none
        const char* textAfter;
    } cases[] = {
        {"key=value;rest", false, '=', ';', "value", "key=value"},
        {"abc", false, 0, 'b', "a", "a"},
        {"abc", false, 'x', 'b', nullptr, "abc"},
        {"abc=", false, '=', ';', nullptr, "abc="},   // nothing follows
        {"a=b", false, '=', ';', "b", "a=b"},         // no end: not cut
        {"[sec]x", true, '[', ']', "sec", "[sec"},
        {"[sec", true, '[', ']', nullptr, "[sec"},
        {"[]", true, '[', ']', "", "["},
        {"[" DB("]") "]", true, '[', ']', DB("]"), "[" DB("]")},
        {"[中文]", true, '[', ']', "中文", "[中文"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        char buffer[32];
        std::strcpy(buffer, c.text);
        char* result = c.bracketed ? Bracketed(buffer, c.open, c.close) : CutBetween(buffer, c.open, c.close);
        if (c.result)
            EXPECT_STREQ(result, c.result);
        else
            EXPECT_EQ(result, nullptr);
        EXPECT_STREQ(buffer, c.textAfter);
    }
}

TEST(StringFunctions, CutAtAndAfterChar)
{
    char text[] = "a;b;c";
    EXPECT_STREQ(CutAtChar(text, ';'), "a");
    char trail[] = DB("|") "|x";
    EXPECT_STREQ(CutAtChar(trail, '|'), DB("|"));
    EXPECT_STREQ(AfterChar("a=b", '='), "b");
    EXPECT_STREQ(AfterChar("ab", '='), "");
    EXPECT_STREQ(AfterChar(DB("@") "@v", '@'), "v");
    EXPECT_EQ(AfterChar(static_cast<const char*>(nullptr), '='), nullptr);
}

TEST(StringFunctions, StreamReaders)
{
    static const char block[] = "abc\0中文\0-17\0\x01\x02\x03\x04";
    const char* end = block + sizeof(block) - 1;
    char token[8];
    const char* p = ReadToken(block, token, sizeof(token), end);
    EXPECT_STREQ(token, "abc");
    const char* second = p;
    p = ReadToken(p, token, 4, end);             // "中文" cut to whole characters
    EXPECT_STREQ(token, "中");
    EXPECT_EQ(p, second + 5);
    int32_t number = 0;
    p = ReadIntToken(p, &number, end);
    EXPECT_EQ(number, -17);
    uint32_t word = 0;
    p = ReadU32(p, &word, end);
    EXPECT_EQ(word, 0x04030201u);
    EXPECT_EQ(p, end);

    // Nothing is read past the end of the block.
    EXPECT_EQ(ReadU32(end - 3, &word, end), nullptr);
    EXPECT_EQ(ReadToken(block, token, sizeof(token), block + 3), nullptr);
    EXPECT_STREQ(token, "");
    EXPECT_EQ(ReadIntToken(block + 4, &number, block + 6), nullptr);
    EXPECT_EQ(ReadToken(block, token, sizeof(token)), block + 4);   // unbounded form
}

TEST(StringFunctions, CompareIntsSortsExtremes)
{
    int32_t a = 3, b = 1;
    EXPECT_EQ(CompareInts(&a, &b), 2);
    int32_t values[] = {INT32_MAX, -1, INT32_MIN, 0, 1, INT32_MIN + 1};
    std::qsort(values, 6, sizeof(int32_t), CompareInts);
    const int32_t sorted[] = {INT32_MIN, INT32_MIN + 1, -1, 0, 1, INT32_MAX};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(values[i], sorted[i]);
}

TEST(StringFunctions, XorBytes)
{
    char text[] = "abc";
    XorBytes(text, 0, 0x20);   // below 1: the string length
    EXPECT_STREQ(text, "ABC");
    XorBytes(text, 2, 0x20);
    EXPECT_STREQ(text, "abC");
}

}  // namespace
