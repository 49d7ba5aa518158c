// MD5 against the test suite of RFC 1321.
#include "Md5.h"
#include "SmallUtilities.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>

namespace {

std::string Upper(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string HexOf(const uint8_t digest[16])
{
    char hex[33];
    BytesToHex(digest, 16, hex, sizeof(hex));
    return hex;
}

const struct {
    const char* message;
    const char* digest;
} kRfc1321Suite[] = {
    {"", "d41d8cd98f00b204e9800998ecf8427e"},
    {"a", "0cc175b9c0f1b6a831c399e269772661"},
    {"abc", "900150983cd24fb0d6963f7d28e17f72"},
    {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
    {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
    {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
    {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
     "57edf4a22be3c955ac49da2e2107b67a"},
};

TEST(Md5, Rfc1321Suite)
{
    for (const auto& c : kRfc1321Suite) {
        uint8_t digest[16];
        Md5Digest(digest, c.message, std::strlen(c.message));
        EXPECT_EQ(HexOf(digest), Upper(c.digest)) << c.message;
    }
}

TEST(Md5, PiecewiseUpdatesGiveTheSameDigest)
{
    for (const auto& c : kRfc1321Suite) {
        const size_t length = std::strlen(c.message);
        for (size_t piece : {1u, 3u, 63u, 64u, 65u}) {
            Md5Context context;
            Md5Init(&context);
            for (size_t at = 0; at < length; at += piece)
                Md5Update(&context, c.message + at, std::min(piece, length - at));
            uint8_t digest[16];
            Md5Final(&context, digest);
            EXPECT_EQ(HexOf(digest), Upper(c.digest)) << c.message << " in pieces of " << piece;
        }
    }
}

TEST(Md5, HexTextBackToBytes)
{
    uint8_t digest[16];
    Md5Digest(digest, "abc", 3);
    uint8_t back[16] = {};
    EXPECT_EQ(HexToBytes(kRfc1321Suite[2].digest, back, sizeof(back)), 16u);
    EXPECT_EQ(std::memcmp(back, digest, 16), 0);
}

}  // namespace
