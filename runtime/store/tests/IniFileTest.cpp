// The ini store: the line grammar as a table of cases, limits, the forms it
// is stored in, saving and reloading, and the name lists.
#include "store/QVIniFile.h"

#include "StoreTestFiles.h"
#include "store/BlockCompress.h"
#include "store/FilePaths.h"
#include "store/RC6Cipher.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

const char* const kUnnamed = nullptr;

struct Lookup
{
    const char* section;
    const char* key;
    const char* value;   // null: the key is missing
};

struct ParseCase
{
    const char* name;
    std::string text;
    std::vector<Lookup> lookups;
    std::string sectionNames;   // GetSectionNames' list, NULs included
};

std::string Get(CQVIniFile& ini, const char* section, const char* key)
{
    char buffer[256];
    ini.GetString(section, key, "<missing>", buffer, sizeof(buffer));
    return buffer;
}

std::string SectionNames(CQVIniFile& ini)
{
    char buffer[512];
    const int n = ini.GetSectionNames(buffer, sizeof(buffer));
    return std::string(buffer, n > 0 ? size_t(n) : 0);
}

std::string KeyNames(CQVIniFile& ini, const char* section)
{
    char buffer[512];
    const int n = ini.GetKeyNames(section, buffer, sizeof(buffer));
    return std::string(buffer, n > 0 ? size_t(n) : 0);
}

std::string Enciphered(const std::string& text, const char* key)
{
    std::string out(4, '\0');
    WriteLe32(&out[0], CQVIniFile::kEncipheredMagic);
    std::string body = text;
    CRC6Cipher cipher;
    cipher.SetKey(key, uint32_t(strlen(key) * 8));
    cipher.EncryptBuffer(&body[0], uint32_t(body.size()));
    return out + body;
}

std::string Deciphered(const std::vector<uint8_t>& file, const char* key)
{
    EXPECT_GE(file.size(), 4u);
    EXPECT_EQ(ReadLe32(file.data()), CQVIniFile::kEncipheredMagic);
    std::string body(file.begin() + 4, file.end());
    CRC6Cipher cipher;
    cipher.SetKey(key, uint32_t(strlen(key) * 8));
    cipher.DecryptBuffer(&body[0], uint32_t(body.size()));
    return body;
}

// A longer settings text: a wrong key turns it into bytes that hold a NUL.
std::string LongSettings()
{
    std::string text = "; layout\r\n[Main]\r\n";
    for (int i = 0; i < 200; ++i)
        text += "Key" + std::to_string(i) + "=" + std::to_string(i * 7) + "\r\n";
    return text;
}

} // namespace

TEST(IniFile, LineGrammarTable)
{
    const std::vector<ParseCase> cases = {
        { "spaces around = and a trailing comment", "[S]\r\n  key  =  some value  ; note\r\n",
          { { "S", "key", "some value" } }, std::string("S\0\0", 3) },
        { "lines that define nothing",
          "[S]\n=x\nk1=\nk2=   \nk3=;only comment\n[   ]\n[open\nplain text\n",
          { { "S", "k1", nullptr }, { "S", "k2", nullptr }, { "S", "k3", nullptr },
            { "S", "plain text", nullptr } },
          std::string("S\0\0", 3) },
        { "tab before a key is part of the key", "[S]\n\tkey=v\n",
          { { "S", "\tkey", "v" }, { "S", "key", nullptr } }, std::string("S\0\0", 3) },
        { "tabs in values are kept, quotes too", "[S]\nk=\t\"a b\"\t\n",
          { { "S", "k", "\t\"a b\"\t" } }, std::string("S\0\0", 3) },
        { "headers differing in case form one section", "[Seat]\na=1\n[SEAT]\nb=2\n",
          { { "Seat", "a", "1" }, { "seat", "b", "2" } }, std::string("Seat\0\0", 6) },
        { "a repeated key takes the last value", "[S]\nKey=1\nkey=2\nKEY=3\n",
          { { "S", "key", "3" } }, std::string("S\0\0", 3) },
        { "keys before any header are in the unnamed section", "top=1\n[S]\nk=2\n",
          { { kUnnamed, "top", "1" }, { "S", "top", nullptr }, { kUnnamed, "k", nullptr } },
          std::string("S\0\0", 3) },
        { "comments and blank lines", "; c\n\n   ;indented comment\n[S]\r\n\r\n;k=1\nk=2\n",
          { { "S", "k", "2" } }, std::string("S\0\0", 3) },
        { "lone CR, lone LF and CR LF all end lines", "[A]\ra=1\nb=2\r\nc=3",
          { { "A", "a", "1" }, { "A", "b", "2" }, { "A", "c", "3" } },
          std::string("A\0\0", 3) },
        { "header name trimmed of spaces, text after ] ignored", "  [ Name Two ] tail\nk=v\n",
          { { "Name Two", "k", "v" } }, std::string("Name Two\0\0", 10) },
        { "only the first = splits", "[S]\nurl=a=b=c\n", { { "S", "url", "a=b=c" } },
          std::string("S\0\0", 3) },
        { "sections keep the order of first appearance", "[B]\n[A]\nx=1\n[b]\ny=2\n[C]\n",
          { { "A", "x", "1" }, { "B", "y", "2" } }, std::string("B\0A\0C\0\0", 7) },
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(c.name);
        CQVIniFile ini;
        ASSERT_TRUE(ini.LoadFromMemory(c.text.data(), int(c.text.size())));
        for (const Lookup& l : c.lookups)
            EXPECT_EQ(Get(ini, l.section, l.key), l.value ? l.value : "<missing>")
                << (l.section ? l.section : "(unnamed)") << " / " << l.key;
        EXPECT_EQ(SectionNames(ini), c.sectionNames);
    }
}

TEST(IniFile, FirstSpellingOfKeysAndSectionsIsKept)
{
    const std::string text = "[Main]\nWidth=1\nwidth=2\n[MAIN]\nHeight=3\n";
    CQVIniFile ini;
    ASSERT_TRUE(ini.LoadFromMemory(text.data(), int(text.size())));
    EXPECT_EQ(KeyNames(ini, "main"), std::string("Width\0Height\0\0", 14));
    EXPECT_EQ(ini.GetInt("MAIN", "WIDTH", -1), 2);
}

TEST(IniFile, DoubleByteNamesUnderCodePage936)
{
    if (GetACP() != 936)
        FAIL() << "the ANSI code page is " << GetACP() << ", not 936: run under the test prefix";
    // Trail bytes equal to "]", "A" and "a": neither a header end nor a letter.
    const std::string text = "[\xB5\x5D]\nk=1\n[\xB5\x41]\nk=2\n[\xB5\x61]\nk=3\n";
    CQVIniFile ini;
    ASSERT_TRUE(ini.LoadFromMemory(text.data(), int(text.size())));
    EXPECT_EQ(Get(ini, "\xB5\x5D", "k"), "1");
    EXPECT_EQ(Get(ini, "\xB5\x41", "k"), "2");
    EXPECT_EQ(Get(ini, "\xB5\x61", "k"), "3");

    // A value is never cut inside a double-byte character.
    const std::string value = "k=a\xD6\xD0\xCE\xC4\n";
    ASSERT_TRUE(ini.LoadFromMemory(value.data(), int(value.size())));
    char buffer[3];
    EXPECT_EQ(ini.GetString(kUnnamed, "k", nullptr, buffer, sizeof(buffer)), 1);
    EXPECT_STREQ(buffer, "a");
}

TEST(IniFile, LineLengthLimit)
{
    const std::string fits = "[S]\nk=" + std::string(CQVIniFile::kLineLimit - 3, 'x') + "\n";
    CQVIniFile ini;
    EXPECT_TRUE(ini.LoadFromMemory(fits.data(), int(fits.size())));
    EXPECT_TRUE(ini.IsLoaded());

    // A line of 8191 characters stops the load; what came before stays, but
    // the store is not loaded (and is never written).
    const std::string tooLong =
        "[S]\na=1\nk=" + std::string(CQVIniFile::kLineLimit - 2, 'x') + "\nb=2\n";
    EXPECT_FALSE(ini.LoadFromMemory(tooLong.data(), int(tooLong.size())));
    EXPECT_FALSE(ini.IsLoaded());
    EXPECT_EQ(Get(ini, "S", "a"), "1");
    EXPECT_EQ(Get(ini, "S", "b"), "<missing>");
}

TEST(IniFile, NulByteRefusesTheText)
{
    const std::string text("[S]\nk=v\0w\n", 11);
    CQVIniFile ini;
    EXPECT_FALSE(ini.LoadFromMemory(text.data(), int(text.size())));
    EXPECT_FALSE(ini.IsLoaded());
    EXPECT_EQ(SectionNames(ini), "");
}

TEST(IniFile, EmptyTextsLoadAsEmptyStore)
{
    ScratchFolder folder;
    const std::string path = folder / "empty.ini";
    ASSERT_TRUE(WriteBytes(path, ""));
    CQVIniFile ini;
    EXPECT_TRUE(ini.LoadFile(path.c_str()));
    EXPECT_TRUE(ini.IsLoaded());
    char buffer[8];
    EXPECT_EQ(ini.GetSectionNames(buffer, sizeof(buffer)), 0);
    EXPECT_TRUE(ini.LoadFromMemory(nullptr, 0));
    EXPECT_TRUE(ini.LoadFromMemory("x", -3));

    EXPECT_FALSE(ini.LoadFile((folder / "missing.ini").c_str()));
    EXPECT_FALSE(FileExists(folder / "missing.ini"));
    EXPECT_TRUE(ini.LoadFile((folder / "created.ini").c_str(), FALSE, nullptr, TRUE));
    EXPECT_TRUE(FileExists(folder / "created.ini"));
}

TEST(IniFile, GetStringAndGetIntResults)
{
    const std::string text = "[S]\nname=Mardavel\nnum= -42xyz\nword=abc\n";
    CQVIniFile ini;
    ASSERT_TRUE(ini.LoadFromMemory(text.data(), int(text.size())));
    ini.SetString("S", "long", std::string(CQVIniFile::kMaxValueLength + 1, 'y').c_str());

    char buffer[16];
    EXPECT_EQ(ini.GetString("S", "name", nullptr, buffer, sizeof(buffer)), 8);
    EXPECT_STREQ(buffer, "Mardavel");
    EXPECT_EQ(ini.GetString("S", "name", nullptr, buffer, 5), 4);
    EXPECT_STREQ(buffer, "Mard");
    EXPECT_EQ(ini.GetString("S", "name", nullptr, buffer, 1), 0);
    EXPECT_STREQ(buffer, "");
    // A key without a value: "" and 1; with the default: the default.
    EXPECT_EQ(ini.GetString("S", "long", "dflt", buffer, sizeof(buffer)), 1);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(ini.GetString("S", "none", "dflt", buffer, sizeof(buffer)), 4);
    EXPECT_STREQ(buffer, "dflt");
    strcpy(buffer, "untouched");
    EXPECT_EQ(ini.GetString("S", "none", nullptr, buffer, sizeof(buffer)), 0);
    EXPECT_STREQ(buffer, "untouched");
    EXPECT_EQ(ini.GetString("S", nullptr, "d", buffer, sizeof(buffer)), 0);
    EXPECT_EQ(ini.GetString("S", "name", "d", nullptr, 10), 0);
    EXPECT_EQ(ini.GetString("S", "name", "d", buffer, 0), 0);

    EXPECT_EQ(ini.GetInt("S", "num", 7), -42);
    EXPECT_EQ(ini.GetInt("S", "word", 7), 0);
    EXPECT_EQ(ini.GetInt("S", "long", 7), 7);
    EXPECT_EQ(ini.GetInt("S", "none", 7), 7);
    EXPECT_EQ(ini.GetInt("S", nullptr, 7), 7);
}

TEST(IniFile, NameListsInSmallBuffers)
{
    const std::string text = "[ab]\n[cde]\n[f]\n";
    CQVIniFile ini;
    ASSERT_TRUE(ini.LoadFromMemory(text.data(), int(text.size())));
    struct SizeCase
    {
        int size;
        std::string expected;
    };
    const SizeCase cases[] = {
        { 64, std::string("ab\0cde\0f\0\0", 10) },
        { 10, std::string("ab\0cde\0f\0\0", 10) },
        { 9, std::string("ab\0cde\0\0\0", 9) },   // "f" needs 3 bytes, 2 left
        { 8, std::string("ab\0cde\0\0", 8) },     // 1 byte left: one NUL
        { 7, std::string("ab\0\0\0", 5) },        // "cde" needs 5 bytes, 4 left
        { 6, std::string("ab\0\0\0", 5) },        // "cde" does not fit with two more
        { 4, std::string("ab\0\0", 4) },
        { 3, std::string("\0\0", 2) },
        { 2, std::string("\0\0", 2) },
        { 1, "" },
    };
    for (const SizeCase& c : cases) {
        char buffer[80];
        memset(buffer, 'Z', sizeof(buffer));
        const int n = ini.GetSectionNames(buffer, c.size);
        EXPECT_EQ(std::string(buffer, n > 0 ? size_t(n) : 0), c.expected) << "size " << c.size;
        EXPECT_EQ(buffer[c.size], 'Z') << "size " << c.size;
    }
    EXPECT_EQ(ini.GetKeyNames("ab", nullptr, 10), 0);
    EXPECT_EQ(KeyNames(ini, "ab"), "");        // empty section
    EXPECT_EQ(KeyNames(ini, "nope"), "");

    CQVIniFile empty;
    char buffer[8];
    EXPECT_EQ(empty.GetSectionNames(buffer, sizeof(buffer)), 0);
}

TEST(IniFile, SaveAndReloadGiveTheSameStore)
{
    ScratchFolder folder;
    const std::string path = folder / "saved.ini";
    {
        CQVIniFile ini;
        ASSERT_TRUE(ini.LoadFile(path.c_str(), FALSE, nullptr, TRUE));
        ini.SetString("Second", "b", "2");
        ini.SetString("First", "a", "1");
        ini.SetString(kUnnamed, "top", "t");
        ini.SetInt("Second", "n", -15);
        ini.SetString("Second", "Empty", "");
        ini.SetString("second", "B", "3");
        ASSERT_TRUE(ini.Save());
        EXPECT_FALSE(ini.IsModified());
    }
    // The unnamed section first, each named one after an empty line; the
    // key with an empty value is written as "Empty=".
    EXPECT_EQ(ReadText(path),
              "top=t\r\n\r\n[Second]\r\nb=3\r\nn=-15\r\nEmpty=\r\n\r\n[First]\r\na=1\r\n");

    CQVIniFile again;
    ASSERT_TRUE(again.LoadFile(path.c_str()));
    EXPECT_EQ(SectionNames(again), std::string("Second\0First\0\0", 14));
    EXPECT_EQ(KeyNames(again, "Second"), std::string("b\0n\0\0", 5));
    EXPECT_EQ(Get(again, kUnnamed, "top"), "t");
    EXPECT_EQ(again.GetInt("Second", "n", 0), -15);
    EXPECT_EQ(Get(again, "First", "a"), "1");
    again.SetString("First", "a", "changed");
    again.Clear();   // saves the change
    EXPECT_EQ(ReadText(path),
              "top=t\r\n\r\n[Second]\r\nb=3\r\nn=-15\r\n\r\n[First]\r\na=changed\r\n");
}

TEST(IniFile, StoreIsWrittenOnlyAfterAChange)
{
    ScratchFolder folder;
    const std::string path = folder / "layout.ini";
    const std::string original = "; kept comment\r\n[S]\r\nk = v\r\nnovalue=\r\n";
    ASSERT_TRUE(WriteBytes(path, original));
    {
        CQVIniFile ini;
        ASSERT_TRUE(ini.LoadFile(path.c_str()));
        EXPECT_EQ(Get(ini, "S", "k"), "v");
    }
    EXPECT_EQ(ReadText(path), original);
    {
        CQVIniFile ini;
        ASSERT_TRUE(ini.LoadFile(path.c_str()));
        EXPECT_TRUE(ini.DeleteSection("nothing"));
        EXPECT_FALSE(ini.IsModified());
        EXPECT_TRUE(ini.DeleteKey("S", "nothing"));
        EXPECT_TRUE(ini.IsModified());   // DeleteKey marks in every case
        EXPECT_FALSE(ini.DeleteKey("S", nullptr));
    }
    EXPECT_EQ(ReadText(path), "\r\n[S]\r\nk=v\r\n");
}

TEST(IniFile, EncipheredStoreReadsAndStaysEnciphered)
{
    ScratchFolder folder;
    const std::string path = folder / "theme.ini";
    const std::string text = LongSettings();
    const std::string file = Enciphered(text, CQVIniFile::kDefaultKey);
    ASSERT_TRUE(WriteBytes(path, file));

    {   // Read with the plain flag, as the program does: nothing is rewritten.
        CQVIniFile ini;
        ASSERT_TRUE(ini.LoadFile(path.c_str()));
        EXPECT_TRUE(ini.IsEnciphered());
        EXPECT_FALSE(ini.IsModified());
        EXPECT_EQ(ini.GetInt("Main", "Key199", 0), 199 * 7);
    }
    EXPECT_EQ(ReadText(path), file);

    {   // A change is written back enciphered, under the key it was read with.
        CQVIniFile ini;
        ASSERT_TRUE(ini.LoadFile(path.c_str()));
        ini.SetString("Main", "Key0", "zero");
    }
    const std::string body = Deciphered(ReadBytes(path), CQVIniFile::kDefaultKey);
    EXPECT_EQ(body.substr(0, 21), "\r\n[Main]\r\nKey0=zero\r\n");

    // An own key: right key loads, wrong key fails and leaves the store empty.
    const std::string own = Enciphered(text, "SecretKey!");
    CQVIniFile ini;
    EXPECT_TRUE(ini.LoadFromMemory(own.data(), int(own.size()), TRUE, "SecretKey!"));
    EXPECT_EQ(ini.GetInt("Main", "Key5", 0), 35);
    EXPECT_FALSE(ini.LoadFromMemory(own.data(), int(own.size()), TRUE, "WrongKey!!"));
    EXPECT_EQ(SectionNames(ini), "");
    EXPECT_FALSE(ini.LoadFromMemory(own.data(), int(own.size()), TRUE, nullptr));
}

TEST(IniFile, NewStoreTakesTheRequestedForm)
{
    ScratchFolder folder;
    const std::string path = folder / "new.dat";
    {
        CQVIniFile ini;
        ASSERT_TRUE(ini.LoadFile(path.c_str(), TRUE, "OwnKey12", TRUE));
        ini.SetString("S", "k", "v");
    }
    EXPECT_EQ(Deciphered(ReadBytes(path), "OwnKey12"), "\r\n[S]\r\nk=v\r\n");
    CQVIniFile ini;
    ASSERT_TRUE(ini.LoadFile(path.c_str(), TRUE, "OwnKey12"));
    EXPECT_EQ(Get(ini, "S", "k"), "v");
}

TEST(IniFile, FailedSaveLeavesTheOldFile)
{
    ScratchFolder folder;
    const std::string path = folder / "keep.ini";
    const std::string original = "[S]\r\nk=old\r\n";
    ASSERT_TRUE(WriteBytes(path, original));
    // A folder where the temporary file would go makes the write fail.
    char temp[MAX_PATH];
    ASSERT_TRUE(GetReplacingTempName(path.c_str(), temp, sizeof(temp)));
    ASSERT_TRUE(CreateDirectoryA(temp, NULL));

    CQVIniFile ini;
    ASSERT_TRUE(ini.LoadFile(path.c_str()));
    ini.SetString("S", "k", "new");
    EXPECT_FALSE(ini.Save());
    EXPECT_TRUE(ini.IsModified());
    EXPECT_EQ(ReadText(path), original);

    ASSERT_TRUE(RemoveDirectoryA(temp));
    EXPECT_TRUE(ini.Save());
    EXPECT_EQ(ReadText(path), "\r\n[S]\r\nk=new\r\n");
    EXPECT_FALSE(FileExists(temp));

    // Without a path and without a file name there is nowhere to save.
    CQVIniFile memory;
    const std::string text = "[S]\nk=v\n";
    ASSERT_TRUE(memory.LoadFromMemory(text.data(), int(text.size())));
    memory.SetString("S", "k", "w");
    EXPECT_FALSE(memory.Save());
    EXPECT_TRUE(memory.Save((folder / "elsewhere.ini").c_str()));
    EXPECT_EQ(ReadText(folder / "elsewhere.ini"), "\r\n[S]\r\nk=w\r\n");
}

TEST(IniFile, SetStringRefusesWhatWouldNotReadBack)
{
    const std::string text = "[S]\nk=v\n";
    CQVIniFile ini;
    ASSERT_TRUE(ini.LoadFromMemory(text.data(), int(text.size())));
    ini.SetString("S", "k", "line\r\n[Injected]\r\nx=1");
    ini.SetString("S", "a=b", "1");
    ini.SetString("S", "", "1");
    ini.SetString("Bad]Name", "k", "1");
    ini.SetString("", "k", "1");
    ini.SetString("S", nullptr, "1");
    ini.SetString("S", "k2", nullptr);
    EXPECT_FALSE(ini.IsModified());
    EXPECT_EQ(Get(ini, "S", "k"), "v");
    EXPECT_EQ(SectionNames(ini), std::string("S\0\0", 3));

    // The unnamed section, created by a set, stands first.
    ini.SetString(kUnnamed, "top", "1");
    EXPECT_EQ(Get(ini, kUnnamed, "top"), "1");
    EXPECT_EQ(KeyNames(ini, kUnnamed), std::string("top\0\0", 5));
}

TEST(IniFile, ConcurrentReadersAndAWriter)
{
    const std::string text = LongSettings();
    CQVIniFile ini;
    ASSERT_TRUE(ini.LoadFromMemory(text.data(), int(text.size())));
    std::atomic<int> wrong(0);
    auto reader = [&ini, &wrong](int id) {
        for (int round = 0; round < 2000; ++round) {
            const int key = (round * 13 + id) % 200;
            const std::string name = "Key" + std::to_string(key);
            if (ini.GetInt("Main", name.c_str(), -1) != key * 7)
                ++wrong;
        }
    };
    auto writer = [&ini] {
        for (int round = 0; round < 2000; ++round)
            ini.SetInt("Other", ("W" + std::to_string(round % 50)).c_str(), round);
    };
    std::thread a(reader, 1), b(reader, 2), w(writer);
    a.join();
    b.join();
    w.join();
    EXPECT_EQ(wrong.load(), 0);
    EXPECT_EQ(ini.GetInt("Other", "W49", -1), 1999);
}
