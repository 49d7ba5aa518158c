#include "RC6Cipher.h"

#include <cstring>

namespace {

const uint32_t kP32 = 0xB7E15163u;
const uint32_t kQ32 = 0x9E3779B9u;
// Only the first 160 bits (20 characters) of this text are used.
const char kFallbackKey[] = "wpxqtanbe*lkvmzsrac83Tbnqyopfscv$RLm.ejw";
const uint32_t kFallbackKeyBits = 160;

inline uint32_t Rotl(uint32_t x, uint32_t n)
{
    n &= 31;
    return n ? (x << n) | (x >> (32 - n)) : x;
}

inline uint32_t Rotr(uint32_t x, uint32_t n)
{
    n &= 31;
    return n ? (x >> n) | (x << (32 - n)) : x;
}

uint32_t LoadWord(const BYTE* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void StoreWord(BYTE* p, uint32_t v)
{
    p[0] = BYTE(v);
    p[1] = BYTE(v >> 8);
    p[2] = BYTE(v >> 16);
    p[3] = BYTE(v >> 24);
}

} // namespace

CRC6Cipher::CRC6Cipher() : m_S(), m_keySet(FALSE)
{
}

CRC6Cipher::~CRC6Cipher()
{
    SecureZeroMemory(m_S, sizeof(m_S));
}

void CRC6Cipher::SetKey(const void* key, uint32_t bits)
{
    uint32_t words = key ? bits / 32 : 0;
    if (words == 0) {
        SetFallbackKey();
        return;
    }
    if (words > uint32_t(kMaxKeyWords))
        words = kMaxKeyWords;

    uint32_t L[kMaxKeyWords];
    const BYTE* bytes = static_cast<const BYTE*>(key);
    for (uint32_t w = 0; w < words; ++w)
        L[w] = LoadWord(bytes + 4 * w);

    m_S[0] = kP32;
    for (int i = 1; i < kScheduleWords; ++i)
        m_S[i] = m_S[i - 1] + kQ32;

    uint32_t A = 0, B = 0;
    uint32_t i = 0, j = 0;
    const uint32_t steps = 3 * uint32_t(kScheduleWords > int(words) ? kScheduleWords : int(words));
    for (uint32_t s = 0; s < steps; ++s) {
        A = m_S[i] = Rotl(m_S[i] + A + B, 3);
        B = L[j] = Rotl(L[j] + A + B, A + B);
        i = (i + 1) % kScheduleWords;
        j = (j + 1) % words;
    }
    SecureZeroMemory(L, sizeof(L));
    m_keySet = TRUE;
}

void CRC6Cipher::SetFallbackKey()
{
    SetKey(kFallbackKey, kFallbackKeyBits);
}

void CRC6Cipher::EncryptBlock(BYTE* block) const
{
    uint32_t A = LoadWord(block), B = LoadWord(block + 4);
    uint32_t C = LoadWord(block + 8), D = LoadWord(block + 12);
    B += m_S[0];
    D += m_S[1];
    for (int r = 1; r <= kRounds; ++r) {
        const uint32_t t = Rotl(B * (2 * B + 1), 5);
        const uint32_t u = Rotl(D * (2 * D + 1), 5);
        A = Rotl(A ^ t, u) + m_S[2 * r];
        C = Rotl(C ^ u, t) + m_S[2 * r + 1];
        const uint32_t oldA = A;
        A = B; B = C; C = D; D = oldA;
    }
    A += m_S[2 * kRounds + 2];
    C += m_S[2 * kRounds + 3];
    StoreWord(block, A);
    StoreWord(block + 4, B);
    StoreWord(block + 8, C);
    StoreWord(block + 12, D);
}

void CRC6Cipher::DecryptBlock(BYTE* block) const
{
    uint32_t A = LoadWord(block), B = LoadWord(block + 4);
    uint32_t C = LoadWord(block + 8), D = LoadWord(block + 12);
    C -= m_S[2 * kRounds + 3];
    A -= m_S[2 * kRounds + 2];
    for (int r = kRounds; r >= 1; --r) {
        const uint32_t oldD = D;
        D = C; C = B; B = A; A = oldD;
        const uint32_t u = Rotl(D * (2 * D + 1), 5);
        const uint32_t t = Rotl(B * (2 * B + 1), 5);
        C = Rotr(C - m_S[2 * r + 1], t) ^ u;
        A = Rotr(A - m_S[2 * r], u) ^ t;
    }
    D -= m_S[1];
    B -= m_S[0];
    StoreWord(block, A);
    StoreWord(block + 4, B);
    StoreWord(block + 8, C);
    StoreWord(block + 12, D);
}

void CRC6Cipher::MaskTail(BYTE* tail, uint32_t count)
{
    for (uint32_t k = 0; k < count; ++k)
        tail[k] ^= kTailMask;
}

uint32_t CRC6Cipher::EncryptBuffer(void* buffer, uint32_t length)
{
    if (!buffer)
        return length;
    if (!m_keySet)
        SetFallbackKey();
    BYTE* p = static_cast<BYTE*>(buffer);
    const uint32_t whole = length / 16;
    for (uint32_t b = 0; b < whole; ++b)
        EncryptBlock(p + 16 * b);
    MaskTail(p + 16 * whole, length % 16);
    return length;
}

uint32_t CRC6Cipher::DecryptBuffer(void* buffer, uint32_t length)
{
    if (!buffer)
        return length;
    if (!m_keySet)
        SetFallbackKey();
    BYTE* p = static_cast<BYTE*>(buffer);
    const uint32_t whole = length / 16;
    for (uint32_t b = 0; b < whole; ++b)
        DecryptBlock(p + 16 * b);
    MaskTail(p + 16 * whole, length % 16);
    return length;
}

uint32_t Crc32Update(const void* data, int length, uint32_t value)
{
    static uint32_t table[256];
    static const bool ready = [] {
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
        return true;
    }();
    (void)ready;
    if (!data || length < 1)
        return value;
    const BYTE* p = static_cast<const BYTE*>(data);
    for (int k = 0; k < length; ++k)
        value = (value >> 8) ^ table[(value ^ p[k]) & 0xFF];
    return value;
}

const char* GetCryptMarker()
{
    return "QUORVINTEL_CRYPTDATA";
}
