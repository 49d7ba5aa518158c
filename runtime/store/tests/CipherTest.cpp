// The ini store's cipher: RC6-32/20 against the published vectors, the key
// word rule, the tail mask, and the CRC-32 beside it.
#include "store/RC6Cipher.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<uint8_t> Hex(const char* text)
{
    std::vector<uint8_t> out;
    for (size_t i = 0; text[i] && text[i + 1]; i += 2) {
        unsigned value = 0;
        sscanf(text + i, "%2x", &value);
        out.push_back(uint8_t(value));
    }
    return out;
}

struct Rc6Vector
{
    const char* key;
    const char* plain;
    const char* cipher;
};

// The vectors published with RC6 for 128-, 192- and 256-bit keys.
const Rc6Vector kVectors[] = {
    { "00000000000000000000000000000000",
      "00000000000000000000000000000000", "8fc3a53656b1f778c129df4e9848a41e" },
    { "0123456789abcdef0112233445566778",
      "02132435465768798a9bacbdcedfe0f1", "524e192f4715c6231f51f6367ea43f18" },
    { "000000000000000000000000000000000000000000000000",
      "00000000000000000000000000000000", "6cd61bcb190b30384e8a3f168690ae82" },
    { "0123456789abcdef0112233445566778899aabbccddeeff0",
      "02132435465768798a9bacbdcedfe0f1", "688329d019e505041e52e92af95291d4" },
    { "0000000000000000000000000000000000000000000000000000000000000000",
      "00000000000000000000000000000000", "8f5fbd0510d15fa893fa3fda6e857ec2" },
    { "0123456789abcdef0112233445566778899aabbccddeeff01032547698badcfe",
      "02132435465768798a9bacbdcedfe0f1", "c8241816f0d7e48920ad16a1674e5d48" },
};

std::vector<uint8_t> Enciphered(const char* key, std::vector<uint8_t> data)
{
    CRC6Cipher cipher;
    cipher.SetKey(key, uint32_t(strlen(key) * 8));
    cipher.EncryptBuffer(data.data(), uint32_t(data.size()));
    return data;
}

} // namespace

TEST(RC6Cipher, PublishedVectorsBothDirections)
{
    for (const Rc6Vector& v : kVectors) {
        SCOPED_TRACE(v.key);
        const std::vector<uint8_t> key = Hex(v.key);
        std::vector<uint8_t> block = Hex(v.plain);
        CRC6Cipher cipher;
        cipher.SetKey(key.data(), uint32_t(key.size() * 8));
        EXPECT_EQ(cipher.EncryptBuffer(block.data(), 16), 16u);
        EXPECT_EQ(block, Hex(v.cipher));
        cipher.DecryptBuffer(block.data(), 16);
        EXPECT_EQ(block, Hex(v.plain));
    }
}

TEST(RC6Cipher, BlocksAreIndependent)
{
    // Electronic codebook: equal plain blocks give equal cipher blocks.
    std::vector<uint8_t> data(48, 0x41);
    data = Enciphered("KZVRQDMX", data);
    EXPECT_EQ(0, memcmp(data.data(), data.data() + 16, 16));
    EXPECT_EQ(0, memcmp(data.data(), data.data() + 32, 16));
    EXPECT_NE(data[0], 0x41);
}

TEST(RC6Cipher, KeyUsesOnlyWholeWords)
{
    const std::vector<uint8_t> plain(40, 0x5C);
    // "KZVRQDMX12" has two whole words, as "KZVRQDMX" has.
    EXPECT_EQ(Enciphered("KZVRQDMX12", plain), Enciphered("KZVRQDMX", plain));
    EXPECT_NE(Enciphered("KZVRQDMX1234", plain), Enciphered("KZVRQDMX", plain));
}

TEST(RC6Cipher, FallbackKeyWhenNoneOrNoWholeWord)
{
    const std::vector<uint8_t> plain(32, 0x33);
    // Only the first 160 bits of the fallback text count.
    const std::vector<uint8_t> fallback = Enciphered("wpxqtanbe*lkvmzsrac8", plain);

    std::vector<uint8_t> unkeyed = plain;
    CRC6Cipher cipher;
    cipher.EncryptBuffer(unkeyed.data(), uint32_t(unkeyed.size()));
    EXPECT_EQ(unkeyed, fallback);

    EXPECT_EQ(Enciphered("abc", plain), fallback);
}

TEST(RC6Cipher, TailBytesAreOnlyMasked)
{
    const std::vector<uint8_t> plain = { 'a', 'b', 'c', 0, 0xFF, '\r', '\n' };
    std::vector<uint8_t> data = Enciphered("KZVRQDMX", plain);
    for (size_t i = 0; i < plain.size(); ++i)
        EXPECT_EQ(data[i], plain[i] ^ CRC6Cipher::kTailMask);
    // The same step in both directions: enciphering twice restores the bytes.
    EXPECT_EQ(Enciphered("KZVRQDMX", data), plain);

    // After whole blocks the tail is masked the same way.
    std::vector<uint8_t> longer(21, 0x10);
    longer = Enciphered("KZVRQDMX", longer);
    for (size_t i = 16; i < 21; ++i)
        EXPECT_EQ(longer[i], 0x10 ^ CRC6Cipher::kTailMask);
}

TEST(RC6Cipher, RoundTripOfEveryLength)
{
    std::vector<uint8_t> plain(100);
    for (size_t i = 0; i < plain.size(); ++i)
        plain[i] = uint8_t(i * 37 + 11);
    for (size_t length = 0; length <= plain.size(); ++length) {
        std::vector<uint8_t> data(plain.begin(), plain.begin() + length);
        CRC6Cipher cipher;
        cipher.SetKey("a key string", 96);
        cipher.EncryptBuffer(data.data(), uint32_t(length));
        if (length >= 16) {
            EXPECT_NE(0, memcmp(data.data(), plain.data(), 16)) << length;
        }
        EXPECT_EQ(cipher.DecryptBuffer(data.data(), uint32_t(length)), length);
        EXPECT_EQ(0, memcmp(data.data(), plain.data(), length)) << length;
    }
}

TEST(Crc32Update, StandardCheckValueAndEmptyInput)
{
    const char* check = "123456789";
    EXPECT_EQ(~Crc32Update(check, 9, 0xFFFFFFFFu), 0xCBF43926u);
    // Piecewise updates give the same value.
    const uint32_t first = Crc32Update(check, 4, 0xFFFFFFFFu);
    EXPECT_EQ(~Crc32Update(check + 4, 5, first), 0xCBF43926u);
    EXPECT_EQ(Crc32Update(check, 0, 0x1234u), 0x1234u);
    EXPECT_EQ(Crc32Update(check, -5, 0x1234u), 0x1234u);
    EXPECT_STREQ(GetCryptMarker(), "QUORVINTEL_CRYPTDATA");
}
