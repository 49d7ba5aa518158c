// RC6-32/20 in electronic-codebook mode over whole 16-byte blocks, the
// cipher of enciphered ini store files.
#pragma once

#include <windows.h>

#include <cstdint>

class CRC6Cipher
{
public:
    static constexpr int kRounds = 20;
    static constexpr int kScheduleWords = 2 * kRounds + 4;   // 44
    static constexpr int kMaxKeyWords = 64;                  // 256 key bytes
    // XORed into the bytes after the last whole block, both directions.
    static constexpr BYTE kTailMask = 0x5A;

    CRC6Cipher();
    virtual ~CRC6Cipher();

    // Expands the key: its first bits / 32 little-endian words are the key
    // words (bytes after the last whole word are not used). A key without a
    // whole word takes the fallback key.
    void SetKey(const void* key, uint32_t bits);

    // Enciphers (deciphers) the buffer in place; returns the length. Without
    // a key set, the fallback key is set first.
    uint32_t EncryptBuffer(void* buffer, uint32_t length);
    uint32_t DecryptBuffer(void* buffer, uint32_t length);

    // One 16-byte block, in place.
    void EncryptBlock(BYTE* block) const;
    void DecryptBlock(BYTE* block) const;

private:
    void SetFallbackKey();
    static void MaskTail(BYTE* tail, uint32_t count);

    uint32_t m_S[kScheduleWords];
    BOOL m_keySet;
};

// Reflected CRC-32 (polynomial 0xEDB88320) without inversions: the caller
// supplies the start value and inverts the result as it needs. A length below
// 1 gives the value back unchanged.
uint32_t Crc32Update(const void* data, int length, uint32_t value);

// The marker text "QUORVINTEL_CRYPTDATA".
const char* GetCryptMarker();
