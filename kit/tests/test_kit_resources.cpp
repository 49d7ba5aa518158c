// The kit's sound in the resource library: the buttons' click sound (WAVE
// 262, kit/art/make_button_sound.py) is a PCM WAVE that the program's sound
// loader reads.
#include <gtest/gtest.h>

#include "kit_ids.h"
#include "media/WaveSound.h"

#include <windows.h>

#include <cstdint>
#include <cstring>

namespace {

uint32_t U32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | ((uint32_t)p[3] << 24); }

TEST(KitResources, ButtonSoundIsAPcmWave)
{
    HMODULE hRes = LoadLibraryA("Mardavel_Res.dll");
    ASSERT_NE(hRes, (HMODULE)NULL) << "Mardavel_Res.dll beside the test";
    HRSRC hInfo = FindResourceA(hRes, MAKEINTRESOURCEA(IDR_KIT_BUTTON_SOUND), "WAVE");
    ASSERT_NE(hInfo, (HRSRC)NULL) << "WAVE 262";
    const uint32_t size = SizeofResource(hRes, hInfo);
    const uint8_t* p = static_cast<const uint8_t*>(LockResource(LoadResource(hRes, hInfo)));
    ASSERT_NE(p, nullptr);
    ASSERT_GE(size, 12u);
    EXPECT_EQ(memcmp(p, "RIFF", 4), 0);
    EXPECT_EQ(memcmp(p + 8, "WAVE", 4), 0);
    EXPECT_LE(U32(p + 4) + 8, size) << "the RIFF chunk lies inside the resource";

    // The chunks by their own sizes.
    WAVEFORMATEX format = {};
    bool bFormat = false;
    uint32_t nData = 0;
    for (uint32_t at = 12; at + 8 <= size;) {
        const uint32_t nChunk = U32(p + at + 4);
        ASSERT_LE(at + 8 + nChunk, size);
        if (memcmp(p + at, "fmt ", 4) == 0) {
            EXPECT_EQ(ReadWaveFormat(p + at + 8, nChunk, &format), kWaveFormatOk);
            bFormat = true;
        } else if (memcmp(p + at, "data", 4) == 0) {
            nData = nChunk;
        }
        at += 8 + nChunk + (nChunk & 1);
    }
    ASSERT_TRUE(bFormat);
    EXPECT_EQ(format.wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(format.nChannels, 1);
    EXPECT_EQ(format.nSamplesPerSec, 22050u);
    EXPECT_EQ(format.wBitsPerSample, 16);
    // 60 ms: 22050 * 60 / 1000 = 1323 samples of 2 bytes.
    EXPECT_EQ(nData, 1323u * 2);
    FreeLibrary(hRes);
}

}  // namespace
