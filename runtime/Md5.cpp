#include "Md5.h"

#include <algorithm>
#include <cstring>

namespace {

const uint32_t kSines[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};

const int kShifts[64] = {7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22,
                         5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20,
                         4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
                         6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21};

uint32_t RotateLeft(uint32_t x, int n)
{
    return (x << n) | (x >> (32 - n));
}

void Transform(uint32_t state[4], const uint8_t block[64])
{
    uint32_t words[16];
    for (int i = 0; i < 16; ++i)
        words[i] = block[i * 4] | (block[i * 4 + 1] << 8) | (block[i * 4 + 2] << 16) |
                   (static_cast<uint32_t>(block[i * 4 + 3]) << 24);
    uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    for (int i = 0; i < 64; ++i) {
        uint32_t f;
        int g;
        if (i < 16) {
            f = (b & c) | (~b & d);
            g = i;
        } else if (i < 32) {
            f = (d & b) | (~d & c);
            g = (5 * i + 1) % 16;
        } else if (i < 48) {
            f = b ^ c ^ d;
            g = (3 * i + 5) % 16;
        } else {
            f = c ^ (b | ~d);
            g = (7 * i) % 16;
        }
        const uint32_t next = d;
        d = c;
        c = b;
        b = b + RotateLeft(a + f + kSines[i] + words[g], kShifts[i]);
        a = next;
    }
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
}

}  // namespace

void Md5Init(Md5Context* context)
{
    context->state[0] = 0x67452301;
    context->state[1] = 0xefcdab89;
    context->state[2] = 0x98badcfe;
    context->state[3] = 0x10325476;
    context->bitCount = 0;
    std::memset(context->buffer, 0, sizeof(context->buffer));
}

void Md5Update(Md5Context* context, const void* data, size_t length)
{
    const uint8_t* input = static_cast<const uint8_t*>(data);
    size_t filled = static_cast<size_t>((context->bitCount / 8) % 64);
    context->bitCount += static_cast<uint64_t>(length) * 8;
    while (length > 0) {
        const size_t n = std::min(length, 64 - filled);
        std::memcpy(context->buffer + filled, input, n);
        filled += n;
        input += n;
        length -= n;
        if (filled == 64) {
            Transform(context->state, context->buffer);
            filled = 0;
        }
    }
}

void Md5Final(Md5Context* context, uint8_t digest[16])
{
    const uint64_t bitCount = context->bitCount;
    static const uint8_t kPadding[64] = {0x80};
    const size_t filled = static_cast<size_t>((bitCount / 8) % 64);
    Md5Update(context, kPadding, filled < 56 ? 56 - filled : 120 - filled);
    uint8_t length[8];
    for (int i = 0; i < 8; ++i)
        length[i] = static_cast<uint8_t>(bitCount >> (8 * i));
    Md5Update(context, length, 8);
    for (int i = 0; i < 16; ++i)
        digest[i] = static_cast<uint8_t>(context->state[i / 4] >> (8 * (i % 4)));
    Md5Init(context);
}

void Md5Digest(uint8_t digest[16], const void* data, size_t length)
{
    Md5Context context;
    Md5Init(&context);
    Md5Update(&context, data, length);
    Md5Final(&context, digest);
}
