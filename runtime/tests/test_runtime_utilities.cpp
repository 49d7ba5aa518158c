// Small utilities: random numbers, addresses, files, ini values, strings,
// hashes, numbers, level tables and user-name classes.
//
// Chinese literals are UTF-8 here and GBK at run time; "\x81\x5C" is one
// double-byte character whose trail byte is '\'. The double-byte checks that
// follow the ANSI code page need code page 936 (the test environment's).
#include "Conversions.h"
#include "RuntimeTestSupport.h"
#include "SmallUtilities.h"
#include "StringFunctions.h"
#include "UserNameCheck.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(Random, SequenceFromAFixedState)
{
    CRandom random;
    random.SetState(12345);
    const int bounds[] = {100, 100, 7, 32768, 1};
    const int expected[] = {1, 96, 1, 23577, 0};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(random.Next(bounds[i]), expected[i]) << i;
    EXPECT_EQ(static_cast<uint32_t>(random.GetState()), 0xCB74992Au);
    EXPECT_EQ(random.Next(0), 0);    // no division by zero
    EXPECT_EQ(random.Next(-5), 0);
    EXPECT_EQ(static_cast<uint32_t>(random.GetState()), 0xCB74992Au);
}

TEST(Addresses, TextForms)
{
    char text[16];
    AddressToTextNetOrder(0x0100007F, text, sizeof(text));
    EXPECT_STREQ(text, "127.0.0.1");
    AddressToTextHostOrder(0xC0A80102, text, sizeof(text));
    EXPECT_STREQ(text, "192.168.1.2");
    EXPECT_EQ(TextToAddress("127.0.0.1"), 0x0100007Fu);
    EXPECT_EQ(TextToAddress(nullptr), 0xFFFFFFFFu);

    const struct {
        const char* text;
        BOOL dotted;
    } cases[] = {
        {"1.2.3.4", TRUE}, {"255.255.255.255", TRUE}, {"1.2.3", FALSE},   {"1.2.3.4.5", FALSE},
        {"256.1.1.1", FALSE}, {"1..3.4", FALSE},   {" 1.2.3.4", FALSE}, {"1.2.3.4 ", FALSE},
        {"0001.2.3.4", FALSE}, {"", FALSE},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsDottedIp(c.text), c.dotted) << c.text;
}

TEST(Addresses, HostAndPort)
{
    const struct {
        const char* text;
        const char* host;
        uint32_t address;
        int port;
    } cases[] = {
        {"127.0.0.1:8080", "127.0.0.1", 0x0100007F, 8080},
        {"10.0.0.2 443", "10.0.0.2", 0x0200000A, 443},
        {"game.example", "game.example", 0xFFFFFFFF, 0},
        {"abcdefghijabcdefghijabcdefghijabcdefghijXYZ:1", "abcdefghijabcdefghijabcdefghijabcdefghi", 0xFFFFFFFF, 1},
        // 20 double-byte characters cut to 19 whole ones (38 bytes).
        {"中文中文中文中文中文中文中文中文中文中文:5", "中文中文中文中文中文中文中文中文中文中", 0xFFFFFFFF, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        char host[40];
        std::memset(host, 'Z', sizeof(host));
        uint32_t address = 0;
        int port = -1;
        EXPECT_TRUE(ParseHostPort(c.text, host, &address, &port));
        EXPECT_STREQ(host, c.host);
        EXPECT_EQ(address, c.address);
        EXPECT_EQ(port, c.port);
    }
    char host[40];
    EXPECT_FALSE(ParseHostPort("", host, nullptr, nullptr));
}

TEST(Files, CreateMeasureAndDeleteATree)
{
    TempFolder folder;
    const std::string deep = folder.File("a\\b\\中文\\d");
    EXPECT_TRUE(CreateFolderPath(deep.c_str()));
    EXPECT_TRUE(IsPathPresent(deep.c_str()));
    EXPECT_TRUE(CreateFolderPath((deep + "\\").c_str()));   // trailing '\' and existing folders
    TempFolder::WriteAll(deep + "\\x.txt", "12345");
    TempFolder::WriteAll(folder.File("a\\y.txt"), "1");
    EXPECT_EQ(GetFileSizeOfPath((deep + "\\x.txt").c_str()), 5u);
    EXPECT_EQ(GetFileSizeOfPath(folder.File("none.txt").c_str()), 0u);

    EXPECT_TRUE(DeletePath((folder.File("a") + "\\").c_str()));
    EXPECT_FALSE(IsPathPresent(folder.File("a").c_str()));
    EXPECT_FALSE(DeletePath(folder.File("a").c_str()));
    TempFolder::WriteAll(folder.File("z.txt"), "z");
    EXPECT_TRUE(DeletePath(folder.File("z.txt").c_str()));
    EXPECT_FALSE(IsPathPresent(folder.File("z.txt").c_str()));
}

TEST(Files, FolderAndFileNameOfAPath)
{
    const struct {
        const char* path;
        const char* folder;
        const char* name;
    } cases[] = {
        {"C:\\game\\a.ini", "C:\\game\\", "a.ini"},
        {"C:a.ini", "C:", "a.ini"},
        {"a.ini", "", "a.ini"},
        {"C:\\game\\", "C:\\game\\", ""},
        {"C:\\\x81\x5C.ini", "C:\\", "\x81\x5C.ini"},   // the trail byte is no separator
        {"D:\\中文\\文件.txt", "D:\\中文\\", "文件.txt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        char folder[64];
        FolderOfPath(c.path, folder, sizeof(folder));
        EXPECT_STREQ(folder, c.folder);
        EXPECT_STREQ(FileNameOfPath(c.path), c.name);
    }
    char small[4];
    FolderOfPath("C:\\game\\a.ini", small, sizeof(small));
    EXPECT_STREQ(small, "C:\\");
}

class IniValues : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_file = m_folder.File("values.ini");
        TempFolder::WriteAll(m_file,
                             "[s]\r\n"
                             "text=0123456789012345678901234567890123456789\r\n"
                             "int=-42\r\n"
                             "big=9000000000\r\n"
                             "hex=0x10\r\n"
                             "addr=192.168.0.1\r\n"
                             "server=10.1.2.3:7000\r\n"
                             "pair=3,4\r\n"
                             "single=7\r\n"
                             "blue=0x0000FF\r\n"
                             "blueDecimal=255\r\n"
                             "one=5\r\n"
                             "rgb=255,128,0\r\n"
                             "red=0xFF0000\r\n");
    }
    const char* File() const { return m_file.c_str(); }

    TempFolder m_folder;
    std::string m_file;
};

TEST_F(IniValues, Readers)
{
    char text[64];
    IniReadString("s", "text", "dflt", text, sizeof(text), File());
    EXPECT_STREQ(text, "0123456789012345678901234567890");   // 32 characters with the zero
    IniReadString("s", "missing", "dflt", text, sizeof(text), File());
    EXPECT_STREQ(text, "dflt");
    IniReadString("s", "text", "dflt", text, 5, File());
    EXPECT_STREQ(text, "0123");
    EXPECT_EQ(IniReadInt("s", "int", 1, File()), -42);
    EXPECT_EQ(IniReadInt("s", "missing", 1, File()), 1);
    EXPECT_EQ(IniReadInt64("s", "big", 1, File()), 9000000000LL);
    EXPECT_EQ(IniReadNumber("s", "hex", 1, File()), 16);
    EXPECT_EQ(IniReadAddress("s", "addr", 1, File()), 0xC0A80001u);
    char host[40];
    uint32_t address = 0;
    int port = 0;
    EXPECT_TRUE(IniReadHostPort("s", "server", host, &address, &port, File()));
    EXPECT_STREQ(host, "10.1.2.3");
    EXPECT_EQ(port, 7000);
    EXPECT_FALSE(IniReadHostPort("s", "missing", host, &address, &port, File()));
}

TEST_F(IniValues, ColoursAndPairs)
{
    const struct {
        const char* key;
        COLORREF colour;
    } cases[] = {
        {"blue", 0x00FF0000},         // "0x0000FF": bytes 0 and 2 swapped
        {"blueDecimal", 0x00FF0000},
        {"one", 5},                   // one character: its number
        {"rgb", 0x000080FF},          // a + (b << 8) + (c << 16)
        {"red", 0x000000FF},
        {"missing", 0x00123456},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IniReadIntsV("s", c.key, 0x00123456, File()), c.colour) << c.key;

    int pair[2] = {-1, -1};
    EXPECT_TRUE(IniReadStringV("s", "pair", pair, File()));
    EXPECT_EQ(pair[0], 3);
    EXPECT_EQ(pair[1], 4);
    EXPECT_TRUE(IniReadStringV("s", "single", pair, File()));
    EXPECT_EQ(pair[0], 7);
    EXPECT_EQ(pair[1], 4);   // no comma: the second is left
    EXPECT_FALSE(IniReadStringV("s", "missing", pair, File()));
    EXPECT_EQ(pair[0], 7);
}

TEST_F(IniValues, Writers)
{
    EXPECT_TRUE(IniWriteString("w", "name", "中文", File()));
    EXPECT_TRUE(IniWriteInt("w", "n", -7, File()));
    EXPECT_TRUE(IniWriteInt64("w", "big", -9000000000LL, File()));
    char text[32];
    IniReadString("w", "name", "", text, sizeof(text), File());
    EXPECT_STREQ(text, "中文");
    EXPECT_EQ(IniReadInt("w", "n", 0, File()), -7);
    EXPECT_EQ(IniReadInt64("w", "big", 0, File()), -9000000000LL);
}

TEST(Strings, TabsDoubleBytesAndNames)
{
    char tabs[] = "a\tb\t";
    EXPECT_EQ(TabsToSpaces(tabs), 1);
    EXPECT_STREQ(tabs, "a b ");
    EXPECT_EQ(TabsToSpaces(tabs), 0);

    char replaced[16] = "Ab ab AB";
    EXPECT_EQ(StrReplaceNoCase(replaced, sizeof(replaced), "ab", "x"), 1);
    EXPECT_STREQ(replaced, "x x x");

    EXPECT_TRUE(EndsInsideDoubleByte("中文", 1));
    EXPECT_FALSE(EndsInsideDoubleByte("中文", 2));
    EXPECT_TRUE(EndsInsideDoubleByte("a中", 2));
    EXPECT_FALSE(EndsInsideDoubleByte("ab", 1));
    EXPECT_EQ(CountCharacters("a中文b"), 4);
    EXPECT_EQ(CountCharacters(""), 0);

    const struct {
        const char* name;
        BOOL valid;
    } names[] = {
        {"Player_1", TRUE}, {"it's", FALSE}, {"abcdefghijklmno", TRUE}, {"abcdefghijklmnop", FALSE},
        {"tab\there", FALSE}, {"中文", FALSE}, {"~!@#", TRUE},
    };
    for (const auto& c : names)
        EXPECT_EQ(IsValidName(c.name), c.valid) << c.name;
}

TEST(Strings, Hashes)
{
    EXPECT_EQ(TextHash("abcd"), 0x61626364u);
    EXPECT_EQ(TextHash("abcde"), 0x61626364u + 0x65u);
    EXPECT_EQ(TextHash("abcdabcd"), 2u * 0x61626364u);
    EXPECT_EQ(TextHashUpper("abCd"), TextHash("ABCD"));
    EXPECT_EQ(TextHashUpper("\x81\x61" "a"), TextHash("\x81\x61" "A"));   // trail 'a' kept
    EXPECT_EQ(BlockHash("abcde", 5), TextHash("abcde"));
    EXPECT_EQ(TextHash(""), 0u);
}

TEST(Numbers, TextAndHexadecimal)
{
    const struct {
        const char* text;
        int32_t value;
    } cases[] = {
        {"123", 123}, {"-12", -12}, {"+7", 7}, {"0x1f", 31}, {"0XFF", 255}, {"abc", 0}, {"", 0}, {" 42", 42},
        {"x1", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NumberFromText(c.text), c.value) << c.text;

    const uint8_t bytes[] = {0x00, 0x7F, 0xAB, 0xFF};
    char hex[9];
    BytesToHex(bytes, 4, hex, sizeof(hex));
    EXPECT_STREQ(hex, "007FABFF");
    BytesToHex(bytes, 4, hex, 6);   // whole bytes only
    EXPECT_STREQ(hex, "007F");
    uint8_t back[4] = {};
    EXPECT_EQ(HexToBytes("007fabFF", back, 4), 4u);
    EXPECT_EQ(std::memcmp(back, bytes, 4), 0);
    EXPECT_EQ(HexToBytes("0A0G", back, 4), 1u);
    EXPECT_EQ(HexToBytes("0A0B0C", back, 2), 2u);
    EXPECT_EQ(HexToBytes("ABC", back, 4), 1u);
    EXPECT_EQ(HexDigitValue('f'), 15);
    EXPECT_EQ(HexDigitValue('g'), -1);
}

TEST(Levels, PointTableAtItsBounds)
{
    const struct {
        int64_t points;
        int level;
        int step;
    } cases[] = {
        {-5, 0, 5},  {0, 0, 5},     {1, 1, 5},     {299, 1, 5},   {300, 2, 5},    {929, 3, 5},
        {930, 4, 10}, {1949, 6, 10}, {1950, 7, 15}, {3059, 9, 15}, {3060, 10, 20}, {3849, 11, 20},
        {3850, 12, 20}, {1000000, 12, 20},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LevelByPoints(c.points), c.level) << c.points;
        EXPECT_EQ(StepByPoints(c.points), c.step) << c.points;
    }
    EXPECT_EQ(LevelLowerBound(1), 0);
    EXPECT_EQ(LevelLowerBound(2), 300);
    EXPECT_EQ(LevelLowerBound(12), 3850);
    EXPECT_EQ(LevelLowerBound(13), 0);
    for (int level = 2; level <= 12; ++level) {
        EXPECT_EQ(LevelByPoints(LevelLowerBound(level)), level);
        EXPECT_EQ(LevelByPoints(LevelLowerBound(level) - 1), level - 1);
    }

    const time_t since = 1000000000;
    EXPECT_EQ(LevelByDays(since, since + 299 * 86400 + 86399), 1);
    EXPECT_EQ(LevelByDays(since, since + 300 * 86400), 2);
    EXPECT_EQ(LevelByDays(since, since - 86400), 0);
    EXPECT_EQ(StepByDays(since, since + 930 * 86400), 10);
}

TEST(Levels, AmountTableAtItsBounds)
{
    const struct {
        int64_t amount;
        int level;
    } cases[] = {
        {0, 0}, {1, 1}, {499, 1}, {500, 2}, {999, 2}, {1000, 3}, {65535999, 18}, {65536000, 19},
        {131071999, 19}, {131072000, 20}, {4000000000LL, 20},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LevelByAmount(c.amount), c.level) << c.amount;
    EXPECT_EQ(AmountLevelLowerBound(1), 1);
    EXPECT_EQ(AmountLevelLowerBound(2), 500);
    EXPECT_EQ(AmountLevelLowerBound(20), 131072000);
    EXPECT_EQ(AmountLevelLowerBound(21), 0);
    for (int level = 2; level <= 20; ++level)
        EXPECT_EQ(LevelByAmount(AmountLevelLowerBound(level)), level);
}

TEST(UserNames, Classes)
{
    const struct {
        const char* name;
        int nameClass;
    } cases[] = {
        {"ab", 1},
        {"a", 0},                                   // at least 2 bytes
        {"Player_1~*@!%#^.-", 1},
        {"abcdefghijklmnopqrs", 1},                 // 19 characters
        {"abcdefghijklmnopqrst", 0},
        {"bad name", 0},
        {"a'b", 0},
        {"张三", 2},
        {"\xA3\xC1\xA3\xC2", 2},                    // full-width letters (row 0xA3)
        {"\xA1\xA1\xD5\xC5", 0},                    // ideographic space
        {"\xA2\xA1\xD5\xC5", 0},                    // unassigned cell of row 0xA2 in GB2312
        {"\xA2\xB1\xD5\xC5", 2},                    // "1." of row 0xA2
        {"\xD7\xF9\xD5\xC5", 2},
        {"\xD7\xFA\xD5\xC5", 0},                    // unassigned cells 0xD7FA-0xD7FE
        {"\xA4\xA1\xD5\xC5", 0},                    // kana row: neither class
        {"\x81\x80\xD5\xC5", 3},                    // GBK/3 character, trail outside 0x41-0x7A
        {"\xAA\xA0\xD5\xC5", 3},
        {"\x81\x41\xD5\xC5", 4},                    // trail byte 'A'
        {"\xB0\x7A", 4},
        {"\x81\x7F\xD5\xC5", 0},                    // no trail 0x7F
        {"\x81\x40\xD5\xC5", 3},
        {"张a", 0},                                 // single- and double-byte mixed
        {"a张", 0},
        {"张三李四王五", 2},                         // 12 bytes
        {"张三李四王五赵", 0},
        {"\xD5", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckUserName(c.name), c.nameClass) << c.name;
    EXPECT_EQ(CheckUserName(nullptr), 0);
}

TEST(Process, MemoryAndCommandInterpreter)
{
    SIZE_T workingSet = 0;
    SIZE_T peak = 0;
    ASSERT_TRUE(GetProcessMemory(&workingSet, &peak));
    EXPECT_GT(workingSet, 0u);
    EXPECT_GE(peak, workingSet);
    EXPECT_STREQ(GetCommandInterpreter(), "CMD");
}

}  // namespace
