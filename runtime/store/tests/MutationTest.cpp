// Corrupted ini texts, enciphered ini texts, packs and folder bundles fed to
// the readers: a bounded, deterministic run that must end without a crash,
// without a hang and without writing outside its folder.
#include "store/BlockCompress.h"
#include "store/FilePaths.h"
#include "store/QVIniFile.h"
#include "store/QVPackFile.h"
#include "store/RC6Cipher.h"

#include "StoreTestFiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

const int kRounds = 600;

// One of a few kinds of damage: flipped bytes, cut, inserted bytes that mean
// something to the readers, or a 32-bit field overwritten with an extreme.
std::vector<uint8_t> Mutate(std::vector<uint8_t> bytes, TestRandom& random)
{
    static const uint8_t kMeaningful[] = { 0, '\r', '\n', '[', ']', '=', ';', ' ', 0xFF, 0x80, 3, 1, 2 };
    static const uint32_t kExtreme[] = { 0, 1, 0x7FFFFFFF, 0x80000000u, 0xFFFFFFFFu, 276, 145 };
    const int edits = 1 + int(random.Below(4));
    for (int e = 0; e < edits && !bytes.empty(); ++e) {
        const size_t at = random.Below(uint32_t(bytes.size()));
        switch (random.Below(5)) {
        case 0:
            bytes[at] ^= uint8_t(1u << random.Below(8));
            break;
        case 1:
            bytes.resize(at);
            break;
        case 2:
            bytes.insert(bytes.begin() + at, kMeaningful[random.Below(sizeof(kMeaningful))]);
            break;
        case 3:
            if (at + 4 <= bytes.size())
                WriteLe32(&bytes[at], kExtreme[random.Below(7)]);
            break;
        default:
            bytes[at] = kMeaningful[random.Below(sizeof(kMeaningful))];
            break;
        }
    }
    return bytes;
}

void ReadEverything(CQVIniFile& ini)
{
    char names[4096];
    const int n = ini.GetSectionNames(names, sizeof(names));
    ASSERT_LE(n, int(sizeof(names)));
    for (const char* section = names; n > 0 && *section; section += strlen(section) + 1) {
        char keys[4096];
        const int k = ini.GetKeyNames(section, keys, sizeof(keys));
        ASSERT_LE(k, int(sizeof(keys)));
        for (const char* key = keys; k > 0 && *key; key += strlen(key) + 1) {
            char value[64];
            ini.GetString(section, key, "", value, sizeof(value));
            ini.GetInt(section, key, 0);
        }
    }
}

std::vector<uint8_t> SampleIni()
{
    const std::string text =
        "top=1\r\n; comment\r\n[Main]\r\nWidth = 800 ; px\r\nTitle=\"Mardavel\"\r\n"
        "[Seat]\r\nx=1\r\ny=2\r\n[seat]\r\nx=3\r\n[Empty]\r\n";
    return std::vector<uint8_t>(text.begin(), text.end());
}

std::vector<uint8_t> EncipheredIni()
{
    std::vector<uint8_t> body = SampleIni();
    CRC6Cipher cipher;
    cipher.SetKey(CQVIniFile::kDefaultKey, 64);
    cipher.EncryptBuffer(body.data(), uint32_t(body.size()));
    std::vector<uint8_t> out(4 + body.size());
    WriteLe32(out.data(), CQVIniFile::kEncipheredMagic);
    memcpy(out.data() + 4, body.data(), body.size());
    return out;
}

} // namespace

TEST(Mutation, IniTextsPlainAndEnciphered)
{
    TestRandom random(2024);
    const std::vector<uint8_t> samples[] = { SampleIni(), EncipheredIni() };
    for (int round = 0; round < kRounds; ++round) {
        const std::vector<uint8_t> text = Mutate(samples[round % 2], random);
        CQVIniFile ini;
        ini.LoadFromMemory(text.data(), int(text.size()), round % 3 == 0);
        ReadEverything(ini);
    }
}

TEST(Mutation, PacksOpenedReadOnlyAndWritable)
{
    ScratchFolder folder;
    const std::string original = folder / "sample.pak";
    {
        CQVPackFile pack;
        ASSERT_TRUE(pack.Open(original.c_str(), TRUE));
        const std::vector<uint8_t> text = CompressibleBytes(3000, 1);
        ASSERT_TRUE(pack.AddEntry("text", text.data(), 3000, 0, "extra", 5, TRUE));
        ASSERT_TRUE(pack.AddEntry("raw", "raw bytes", 9, 0));
        ASSERT_TRUE(pack.AddEntry("gone", "deleted", 7, 0));
        ASSERT_TRUE(pack.DeleteEntry("gone", 1));
        ASSERT_TRUE(pack.AddEntry("last", "end", 3, 0, "x", 1));
    }
    const std::vector<uint8_t> sample = ReadBytes(original);
    const std::string path = folder / "mutated.pak";
    TestRandom random(77);
    for (int round = 0; round < kRounds; ++round) {
        ASSERT_TRUE(WriteBytes(path, Mutate(sample, random)));
        CQVPackFile pack;
        if (!pack.Open(path.c_str(), round % 2 == 1))
            continue;
        int position = 0;
        while (PackEntryInfo* info = pack.EnumEntries(position)) {
            void* data = nullptr;
            void* extra = nullptr;
            uint32_t length = 0, extraLength = 0;
            if (pack.ReadEntry(info->name, &data, &length, &extra, &extraLength)) {
                CQVPackFile::FreeData(data);
                CQVPackFile::FreeData(extra);
            }
            delete info;
        }
        if (!pack.IsReadOnly()) {
            pack.AddEntry("added", "new", 3, 1);
            pack.DeleteEntry("raw", 1);
        }
    }
    EXPECT_EQ(ListFolder(folder.Path()), (std::vector<std::string>{ "mutated.pak", "sample.pak" }));
}

TEST(Mutation, BundleStreamsStayInsideTheirFolder)
{
    ScratchFolder folder;
    const std::string source = folder / "source";
    ASSERT_TRUE(CreateDirectoryPath((source + "\\sub\\deeper").c_str()));
    ASSERT_TRUE(WriteBytes(source + "\\a.txt", "alpha"));
    ASSERT_TRUE(WriteBytes(source + "\\sub\\b.txt", "beta"));
    ASSERT_TRUE(WriteBytes(source + "\\sub\\deeper\\c.txt", "gamma"));
    BYTE* data = nullptr;
    uint32_t used = 0, capacity = 0;
    ASSERT_TRUE(PackFolder(source.c_str(), &data, &used, &capacity));
    const std::vector<uint8_t> stream(data, data + used);
    free(data);

    const std::string sandbox = folder / "sandbox";
    const std::string target = sandbox + "\\target";
    ASSERT_TRUE(CreateDirectoryPath(sandbox.c_str()));
    TestRandom random(5);
    for (int round = 0; round < kRounds; ++round) {
        const std::vector<uint8_t> bytes = Mutate(stream, random);
        UnpackFolderStream(target.c_str(), bytes.data(), uint32_t(bytes.size()));
        if (round % 50 == 49)
            DeleteTree(target.c_str());
    }
    // Nothing was written beside the target folder.
    const std::vector<std::string> left = ListFolder(sandbox);
    EXPECT_TRUE(left.empty() || left == std::vector<std::string>{ "target" });
    EXPECT_EQ(ListFolder(folder.Path()), (std::vector<std::string>{ "sandbox", "source" }));
}

TEST(Mutation, CompressedBlocks)
{
    const std::vector<uint8_t> raw = CompressibleBytes(8000, 12);
    uint32_t length = 8000;
    BYTE* block = CompressBlock(raw.data(), &length, kDefaultCompressLevel, 0);
    ASSERT_NE(block, nullptr);
    const std::vector<uint8_t> sample(block, block + length);
    FreeBlock(block);
    TestRandom random(31);
    for (int round = 0; round < kRounds; ++round) {
        std::vector<uint8_t> bytes = Mutate(sample, random);
        uint32_t size = uint32_t(bytes.size());
        BYTE* out = UncompressBlock(bytes.data(), &size);
        if (out) {
            EXPECT_LE(size, kMaxBlockRawLength);
        }
        FreeBlock(out);
    }
}
