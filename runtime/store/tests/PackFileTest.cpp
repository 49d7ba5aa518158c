// The resource pack: writing, reading, deleting, compaction, upgrade of old
// packs, and the refusal of damaged files.
#include "store/QVPackFile.h"

#include "StoreTestFiles.h"
#include "store/BlockCompress.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

namespace {

// "Take the real length" in PackBytes::AddRecord.
const int32_t kAuto = INT32_MIN;

std::string Entry(CQVPackFile& pack, const char* name)
{
    void* data = nullptr;
    uint32_t length = 0;
    if (!pack.ReadEntry(name, &data, &length))
        return "<none>";
    std::string text(static_cast<char*>(data), length);
    CQVPackFile::FreeData(data);
    return text;
}

// A pack file put together byte by byte.
struct PackBytes
{
    std::vector<uint8_t> bytes;

    explicit PackBytes(uint32_t version = CQVPackFile::kVersion, const char* name = "test")
    {
        bytes.resize(version == CQVPackFile::kOldVersion ? 137 : 145, 0);
        memcpy(bytes.data(), "VUR", 4);
        strcpy(reinterpret_cast<char*>(&bytes[4]), name);
        WriteLe32(&bytes[132], version);
    }
    void AddRecord(const char* name, const std::string& data, const std::string& extra = "",
                   uint8_t state = 0, int32_t storedLength = kAuto, uint32_t compressed = 0,
                   int32_t extraLength = kAuto)
    {
        PackRecord record;
        memset(&record, 0, sizeof(record));
        record.state = state;
        memcpy(record.name, name, std::min(strlen(name), sizeof(record.name)));
        record.storedLength = storedLength != kAuto ? storedLength : int32_t(data.size());
        record.compressed = compressed;
        record.extraLength = extraLength != kAuto ? extraLength : int32_t(extra.size());
        const uint8_t* p = reinterpret_cast<const uint8_t*>(&record);
        bytes.insert(bytes.end(), p, p + sizeof(record));
        bytes.insert(bytes.end(), data.begin(), data.end());
        bytes.insert(bytes.end(), extra.begin(), extra.end());
    }
};

class PackFileTest : public testing::Test
{
protected:
    ScratchFolder folder;
    std::string path = folder / "skin.pak";
};

} // namespace

TEST_F(PackFileTest, NewPackHasAHeaderAndNoEntries)
{
    CQVPackFile pack;
    EXPECT_EQ(pack.CountEntries(), -1);
    ASSERT_TRUE(pack.Open(path.c_str(), TRUE));
    EXPECT_EQ(pack.CountEntries(), 0);
    EXPECT_EQ(pack.GetVersion(), CQVPackFile::kVersion);
    EXPECT_STREQ(pack.GetName(), "\xCE\xB4\xC3\xFC\xC3\xFB");   // 未命名 in code page 936
    pack.Close();
    const std::vector<uint8_t> file = ReadBytes(path);
    ASSERT_EQ(file.size(), 144u);
    EXPECT_EQ(0, memcmp(file.data(), "VUR\0", 4));
    EXPECT_EQ(ReadLe32(&file[132]), 257u);
    EXPECT_FALSE(FileExists(path + ".tmp"));
}

TEST_F(PackFileTest, ReadOnlyOpenOfAMissingPackCreatesNothing)
{
    CQVPackFile pack;
    EXPECT_FALSE(pack.Open(path.c_str(), FALSE));
    EXPECT_FALSE(FileExists(path));
    ASSERT_TRUE(WriteBytes(path, ""));
    EXPECT_FALSE(pack.Open(path.c_str(), FALSE));   // an empty file is no pack
    EXPECT_TRUE(pack.Open(path.c_str(), TRUE));     // but becomes one when writable
    EXPECT_EQ(ReadBytes(path).size(), 144u);
}

TEST_F(PackFileTest, AddReadReplaceDeleteAndReopen)
{
    const std::vector<uint8_t> bigBytes = CompressibleBytes(10000, 4);
    const std::string big(bigBytes.begin(), bigBytes.end());
    {
        CQVPackFile pack;
        ASSERT_TRUE(pack.Open(path.c_str(), TRUE));
        EXPECT_TRUE(pack.AddEntry("layout.ini", "[S]\r\nk=v\r\n", 10, 0));
        EXPECT_TRUE(pack.AddEntry("Back.bmp", big.data(), uint32_t(big.size()), 0, "meta", 4, TRUE));
        EXPECT_FALSE(pack.AddEntry("LAYOUT.INI", "x", 1, 0));   // replace mode 0: refused
        EXPECT_FALSE(pack.AddEntry("empty", "x", 0, 0));
        EXPECT_FALSE(pack.AddEntry(nullptr, "x", 1, 0));
        EXPECT_FALSE(pack.AddEntry("null", nullptr, 1, 0));
        EXPECT_FALSE(pack.AddEntry(std::string(260, 'n').c_str(), "x", 1, 0));
        EXPECT_TRUE(pack.AddEntry(std::string(259, 'n').c_str(), "x", 1, 0));
        EXPECT_EQ(pack.CountEntries(), 3);
        EXPECT_EQ(Entry(pack, "LAYOUT.ini"), "[S]\r\nk=v\r\n");
        EXPECT_EQ(Entry(pack, "back.bmp"), big);

        void* data = nullptr;
        void* extra = nullptr;
        uint32_t length = 0, extraLength = 0;
        ASSERT_TRUE(pack.ReadEntry("Back.bmp", &data, &length, &extra, &extraLength));
        EXPECT_EQ(std::string(static_cast<char*>(extra), extraLength), "meta");
        CQVPackFile::FreeData(data);
        CQVPackFile::FreeData(extra);
        ASSERT_TRUE(pack.ReadEntry("layout.ini", &data, &length, &extra, &extraLength));
        EXPECT_EQ(extra, nullptr);
        EXPECT_EQ(extraLength, 0u);
        CQVPackFile::FreeData(data);
        EXPECT_FALSE(pack.ReadEntry("layout.ini", nullptr, &length));

        EXPECT_TRUE(pack.AddEntry("layout.ini", "new", 3, 1));   // replace
        EXPECT_EQ(Entry(pack, "layout.ini"), "new");
        EXPECT_EQ(pack.CountEntries(), 3);
    }
    {
        CQVPackFile pack;
        ASSERT_TRUE(pack.Open(path.c_str(), FALSE));
        EXPECT_TRUE(pack.IsReadOnly());
        EXPECT_EQ(pack.CountEntries(), 3);
        EXPECT_EQ(Entry(pack, "layout.ini"), "new");
        EXPECT_EQ(Entry(pack, "Back.bmp"), big);
        EXPECT_FALSE(pack.AddEntry("more", "x", 1, 0));
        EXPECT_FALSE(pack.DeleteEntry("layout.ini", 1));
    }
    {
        CQVPackFile pack;
        ASSERT_TRUE(pack.Open(path.c_str(), TRUE));
        EXPECT_FALSE(pack.DeleteEntry("layout.ini", 0));   // modes are 1, 2, 3
        EXPECT_FALSE(pack.DeleteEntry("layout.ini", 4));
        EXPECT_TRUE(pack.DeleteEntry("layout.ini", 2));
        EXPECT_FALSE(pack.DeleteEntry("layout.ini", 2));
        EXPECT_FALSE(pack.FindEntry("layout.ini"));
        EXPECT_EQ(Entry(pack, "layout.ini"), "<none>");
        EXPECT_EQ(pack.CountEntries(), 2);
    }
    CQVPackFile pack;
    ASSERT_TRUE(pack.Open(path.c_str(), FALSE));
    EXPECT_EQ(pack.CountEntries(), 2);
    EXPECT_FALSE(pack.FindEntry("layout.ini"));
    EXPECT_TRUE(pack.FindEntry("BACK.BMP"));
}

TEST_F(PackFileTest, CompressionIsKeptOnlyWhenItShrinksTheData)
{
    const std::vector<uint8_t> text = CompressibleBytes(5000, 8);
    const std::vector<uint8_t> noise = TestRandom(8).Bytes(5000);
    CQVPackFile pack;
    ASSERT_TRUE(pack.Open(path.c_str(), TRUE));
    ASSERT_TRUE(pack.AddEntry("text", text.data(), 5000, 0, nullptr, 0, TRUE));
    ASSERT_TRUE(pack.AddEntry("noise", noise.data(), 5000, 0, nullptr, 0, TRUE));
    ASSERT_TRUE(pack.AddEntry("small", "tiny", 4, 0, nullptr, 0, TRUE));

    int position = 0;
    std::vector<PackEntryInfo> infos;
    while (PackEntryInfo* info = pack.EnumEntries(position)) {
        infos.push_back(*info);
        delete info;
    }
    ASSERT_EQ(infos.size(), 3u);
    EXPECT_STREQ(infos[0].name, "text");
    EXPECT_EQ(infos[0].compressed, 1u);
    EXPECT_LT(infos[0].storedLength, 2500);
    EXPECT_EQ(infos[1].compressed, 0u);
    EXPECT_EQ(infos[1].storedLength, 5000);
    EXPECT_EQ(infos[2].compressed, 0u);   // below the smallest compressed block
    EXPECT_EQ(Entry(pack, "text"), std::string(text.begin(), text.end()));
    EXPECT_EQ(Entry(pack, "noise"), std::string(noise.begin(), noise.end()));
}

TEST_F(PackFileTest, DeletedEntriesStayUntilCopy)
{
    const std::string payload(3000, 'p');
    CQVPackFile pack;
    ASSERT_TRUE(pack.Open(path.c_str(), TRUE));
    pack.SetName("Theme pack");
    ASSERT_TRUE(pack.AddEntry("a", payload.data(), 3000, 0, "xa", 2));
    ASSERT_TRUE(pack.AddEntry("b", "bee", 3, 0));
    ASSERT_TRUE(pack.AddEntry("a", "second a", 8, 3));   // replace: the old one is deleted
    ASSERT_TRUE(pack.DeleteEntry("b", 1));
    const size_t before = ReadBytes(path).size();
    EXPECT_EQ(before, 144 + 1 + 3 * 276 + 3000 + 2 + 3 + 8);

    const std::string copy = folder / "compact.pak";
    ASSERT_TRUE(pack.CopyTo(copy.c_str()));
    EXPECT_STREQ(pack.GetPath(), copy.c_str());
    EXPECT_FALSE(pack.IsReadOnly());
    EXPECT_EQ(pack.CountEntries(), 1);
    EXPECT_EQ(Entry(pack, "a"), "second a");
    EXPECT_STREQ(pack.GetName(), "Theme pack");
    EXPECT_EQ(ReadBytes(copy).size(), 144 + 1 + 276 + 8u);
    EXPECT_EQ(ReadBytes(path).size(), before);   // the old file is left as it was
    EXPECT_FALSE(FileExists(copy + ".tmp"));
    EXPECT_TRUE(pack.CopyTo(copy.c_str()));      // its own path: nothing to do
    EXPECT_TRUE(pack.AddEntry("c", "sea", 3, 0));   // the copy is writable
}

TEST_F(PackFileTest, NameIsCutAt127AndIgnoredWhenReadOnly)
{
    {
        CQVPackFile pack;
        ASSERT_TRUE(pack.Open(path.c_str(), TRUE));
        pack.SetName(std::string(200, 'N').c_str());
        EXPECT_EQ(strlen(pack.GetName()), 127u);
    }
    CQVPackFile pack;
    ASSERT_TRUE(pack.Open(path.c_str(), FALSE));
    EXPECT_EQ(std::string(pack.GetName()), std::string(127, 'N'));
    pack.SetName("other");
    EXPECT_EQ(strlen(pack.GetName()), 127u);
}

TEST_F(PackFileTest, TruncatedTailOpensWithTheEntriesBeforeIt)
{
    PackBytes bytes;
    bytes.AddRecord("one", "1111");
    bytes.AddRecord("two", "2222", "ex");
    const size_t whole = bytes.bytes.size();
    bytes.AddRecord("three", std::string(100, '3'));
    struct CutCase
    {
        const char* name;
        size_t keep;
    };
    const CutCase cuts[] = {
        { "inside a record", whole + 100 },
        { "inside the data", whole + 276 + 50 },
        { "one byte short", bytes.bytes.size() - 1 },
    };
    for (const CutCase& cut : cuts) {
        SCOPED_TRACE(cut.name);
        ASSERT_TRUE(WriteBytes(path, bytes.bytes.data(), cut.keep));
        CQVPackFile pack;
        ASSERT_TRUE(pack.Open(path.c_str(), FALSE));
        EXPECT_EQ(pack.CountEntries(), 2);
        EXPECT_EQ(Entry(pack, "two"), "2222");
        EXPECT_EQ(ReadBytes(path).size(), cut.keep);   // read-only: left alone
        pack.Close();
        ASSERT_TRUE(pack.Open(path.c_str(), TRUE));
        EXPECT_EQ(pack.CountEntries(), 2);
        EXPECT_EQ(ReadBytes(path).size(), whole);      // writable: cut back
        EXPECT_TRUE(pack.AddEntry("three", "3", 1, 0));
        EXPECT_EQ(Entry(pack, "three"), "3");
    }
}

TEST_F(PackFileTest, LengthsThatPointOutsideTheFileEndTheDirectory)
{
    struct BadRecord
    {
        const char* name;
        int32_t storedLength;
        int32_t extraLength;
        const char* recordName;
    };
    const BadRecord cases[] = {
        { "huge stored length", 0x7FFFFFFF, 0, "bad" },
        { "stored length just past the end", 11, 0, "bad" },
        { "zero stored length", 0, 0, "bad" },
        { "negative stored length", -5, 0, "bad" },
        { "huge extra length", 10, 0x7FFFFFF0, "bad" },
        { "name without its NUL", 10, 0, nullptr },
    };
    for (const BadRecord& c : cases) {
        SCOPED_TRACE(c.name);
        PackBytes bytes;
        bytes.AddRecord("good", "fine");
        std::string longName(300, 'L');
        bytes.AddRecord(c.recordName ? c.recordName : longName.c_str(), std::string(10, 'd'), "",
                        0, c.storedLength, 0, c.extraLength);
        ASSERT_TRUE(WriteBytes(path, bytes.bytes));
        CQVPackFile pack;
        ASSERT_TRUE(pack.Open(path.c_str(), FALSE));
        EXPECT_EQ(pack.CountEntries(), 1);
        EXPECT_EQ(Entry(pack, "good"), "fine");
        EXPECT_FALSE(pack.FindEntry("bad"));
    }
    // A record that is whole but does not fit what follows it ends the
    // directory there too: the next "record" is read from inside its data.
    PackBytes shifted;
    shifted.AddRecord("good", "fine");
    shifted.AddRecord("bad", std::string(300, 'd'), "", 0, 20);
    ASSERT_TRUE(WriteBytes(path, shifted.bytes));
    CQVPackFile pack;
    ASSERT_TRUE(pack.Open(path.c_str(), TRUE));
    EXPECT_EQ(pack.CountEntries(), 2);
    EXPECT_EQ(Entry(pack, "bad"), std::string(20, 'd'));
    EXPECT_EQ(ReadBytes(path).size(), 145 + 276 + 4 + 276 + 20u);
}

TEST_F(PackFileTest, DamagedCompressedEntryGivesNothing)
{
    const std::vector<uint8_t> text = CompressibleBytes(4000, 6);
    uint32_t length = 4000;
    BYTE* block = CompressBlock(text.data(), &length, kDefaultCompressLevel, 0);
    ASSERT_NE(block, nullptr);
    std::string stored(reinterpret_cast<char*>(block), length);
    FreeBlock(block);

    struct DamageCase
    {
        const char* name;
        std::string stored;
    };
    std::string lying = stored;
    WriteLe32(&lying[0], 0x7FFFFFFF);
    std::string garbled = stored;
    for (size_t i = 8; i < garbled.size(); i += 5)
        garbled[i] = char(garbled[i] ^ 0x33);
    const DamageCase cases[] = {
        { "declared length far too big", lying },
        { "garbled data", garbled },
        { "prefix only", stored.substr(0, 4) },
    };
    for (const DamageCase& c : cases) {
        SCOPED_TRACE(c.name);
        PackBytes bytes;
        bytes.AddRecord("img", c.stored, "", 0, kAuto, 1);
        ASSERT_TRUE(WriteBytes(path, bytes.bytes));
        CQVPackFile pack;
        ASSERT_TRUE(pack.Open(path.c_str(), FALSE));
        EXPECT_TRUE(pack.FindEntry("img"));
        EXPECT_EQ(Entry(pack, "img"), "<none>");
    }
}

TEST_F(PackFileTest, BadHeadersAreRefused)
{
    struct HeaderCase
    {
        const char* name;
        std::vector<uint8_t> bytes;
    };
    std::vector<HeaderCase> cases;
    PackBytes good;
    good.AddRecord("a", "b");
    std::vector<uint8_t> magic = good.bytes;
    magic[0] = 'X';
    cases.push_back({ "wrong magic", magic });
    std::vector<uint8_t> version = good.bytes;
    WriteLe32(&version[132], 258);
    cases.push_back({ "unknown version", version });
    cases.push_back({ "cut inside the header", std::vector<uint8_t>(good.bytes.begin(), good.bytes.begin() + 100) });
    cases.push_back({ "cut inside the time stamp", std::vector<uint8_t>(good.bytes.begin(), good.bytes.begin() + 140) });
    for (const HeaderCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(WriteBytes(path, c.bytes));
        CQVPackFile pack;
        EXPECT_FALSE(pack.Open(path.c_str(), TRUE));
        EXPECT_EQ(pack.CountEntries(), -1);
        EXPECT_STREQ(pack.GetPath(), "");
        EXPECT_EQ(ReadBytes(path), c.bytes);   // a file that is no pack is not touched
    }
    // A header without its in-progress byte is a pack without entries.
    ASSERT_TRUE(WriteBytes(path, good.bytes.data(), 144));
    CQVPackFile pack;
    ASSERT_TRUE(pack.Open(path.c_str(), TRUE));
    EXPECT_EQ(pack.CountEntries(), 0);
    EXPECT_TRUE(pack.AddEntry("x", "y", 1, 0));
    EXPECT_EQ(Entry(pack, "x"), "y");
}

TEST_F(PackFileTest, OldPackOpensReadOnlyAndUpgrades)
{
    PackBytes old(CQVPackFile::kOldVersion, "old pack");
    old.AddRecord("a.ini", "[A]\r\n", "extra");
    old.AddRecord("gone", "zz", "", CQVPackFile::kDeleted);
    old.AddRecord("b.bmp", std::string(500, 'b'));
    ASSERT_TRUE(WriteBytes(path, old.bytes));
    ASSERT_TRUE(WriteBytes(path + ".idx", "stale index"));

    CQVPackFile pack;
    ASSERT_TRUE(pack.Open(path.c_str(), TRUE));
    EXPECT_TRUE(pack.IsReadOnly());
    EXPECT_EQ(pack.GetVersion(), CQVPackFile::kOldVersion);
    EXPECT_EQ(pack.CountEntries(), 2);
    EXPECT_EQ(Entry(pack, "a.ini"), "[A]\r\n");
    EXPECT_FALSE(pack.AddEntry("c", "c", 1, 0));

    ASSERT_TRUE(pack.Upgrade());
    EXPECT_EQ(pack.GetVersion(), CQVPackFile::kVersion);
    EXPECT_FALSE(pack.IsReadOnly());
    EXPECT_STREQ(pack.GetPath(), path.c_str());
    EXPECT_STREQ(pack.GetName(), "old pack");
    EXPECT_EQ(pack.CountEntries(), 2);
    EXPECT_EQ(Entry(pack, "b.bmp"), std::string(500, 'b'));
    void* data;
    void* extra;
    uint32_t length, extraLength;
    ASSERT_TRUE(pack.ReadEntry("a.ini", &data, &length, &extra, &extraLength));
    EXPECT_EQ(std::string(static_cast<char*>(extra), extraLength), "extra");
    CQVPackFile::FreeData(data);
    CQVPackFile::FreeData(extra);
    EXPECT_FALSE(FileExists(path + ".bak"));
    EXPECT_FALSE(FileExists(path + ".idx"));
    EXPECT_EQ(ReadLe32(&ReadBytes(path)[132]), 257u);
    EXPECT_TRUE(pack.Upgrade());   // nothing to do now
}

TEST_F(PackFileTest, LeftoverBackupReplacesAMissingPack)
{
    PackBytes bytes;
    bytes.AddRecord("kept", "value");
    ASSERT_TRUE(WriteBytes(path + ".bak", bytes.bytes));
    CQVPackFile pack;
    ASSERT_TRUE(pack.Open(path.c_str(), FALSE));
    EXPECT_FALSE(pack.IsReadOnly());   // taken back writable
    EXPECT_EQ(Entry(pack, "kept"), "value");
    EXPECT_TRUE(FileExists(path));
    EXPECT_FALSE(FileExists(path + ".bak"));
}

TEST_F(PackFileTest, ClosedPackRefusesEverything)
{
    CQVPackFile pack;
    void* data;
    uint32_t length;
    int position = 0;
    EXPECT_FALSE(pack.ReadEntry("x", &data, &length));
    EXPECT_FALSE(pack.AddEntry("x", "y", 1, 0));
    EXPECT_FALSE(pack.FindEntry("x"));
    EXPECT_EQ(pack.EnumEntries(position), nullptr);
    EXPECT_FALSE(pack.CopyTo((folder / "copy.pak").c_str()));
    EXPECT_FALSE(pack.WriteHeader());
    EXPECT_TRUE(pack.Upgrade());
    EXPECT_FALSE(pack.Open(nullptr, TRUE));
}

TEST(PackBackupName, ExtensionOfTheFileNameBecomesBak)
{
    struct NameCase
    {
        const char* path;
        const char* expected;   // null: does not fit
        size_t capacity;
    };
    const NameCase cases[] = {
        { "C:\\skins\\blue.pak", "C:\\skins\\blue.bak", MAX_PATH },
        { "C:\\skins.v2\\blue", "C:\\skins.v2\\blue.bak", MAX_PATH },
        { "theme.old.pak", "theme.old.bak", MAX_PATH },
        { "a.pak", "a.bak", 6 },
        { "a.pak", nullptr, 5 },
    };
    for (const NameCase& c : cases) {
        char buffer[MAX_PATH];
        EXPECT_EQ(MakeBackupName(c.path, buffer, c.capacity), c.expected != nullptr) << c.path;
        if (c.expected) {
            EXPECT_STREQ(buffer, c.expected);
        }
    }
}
