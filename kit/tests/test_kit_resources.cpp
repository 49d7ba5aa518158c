// The kit's resources in the resource library: every template, string,
// picture and cursor the kit loads by id is there, with the library's
// version block; the buttons' click sound (WAVE 262,
// kit/art/make_button_sound.py) is a PCM WAVE that the program's sound
// loader reads.
#include <gtest/gtest.h>

#include "kit_ids.h"
#include "media/WaveSound.h"

#include <windows.h>

#include <cstdint>
#include <cstring>

namespace {

uint32_t U32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | ((uint32_t)p[3] << 24); }

TEST(KitResources, EveryResourceTheKitLoadsIsThere)
{
    HMODULE hRes = LoadLibraryA("Mardavel_Res.dll");
    ASSERT_NE(hRes, (HMODULE)NULL) << "Mardavel_Res.dll beside the test";
    struct Case
    {
        const char* what;
        LPCSTR type;
        UINT id;
    };
    const Case cases[] = {
        {"skinned message box", RT_DIALOG, IDD_KIT_MSGBOX},
        {"wait dialog", RT_DIALOG, IDD_KIT_WAIT},
        {"plain message box", RT_DIALOG, IDD_KIT_PLAIN_MSGBOX},
        {"About box", RT_DIALOG, IDD_KIT_ABOUT},
        {"notice dialog", RT_DIALOG, IDD_KIT_NOTICE},
        {"web notice popup", RT_DIALOG, IDD_KIT_WEBTIP},
        {"web notice frame, first", "GIF", IDR_KIT_WEBTIP_FRAME},
        {"web notice frame, last", "GIF", IDR_KIT_WEBTIP_FRAME + 9},
        {"link texts' hand cursor", "HANDCURSOR", IDR_KIT_HANDCURSOR},
        {"buttons' click sound", "WAVE", IDR_KIT_BUTTON_SOUND},
    };
    for (const Case& c : cases)
        EXPECT_NE(FindResourceA(hRes, MAKEINTRESOURCEA(c.id), c.type), (HRSRC)NULL) << c.what;

    const UINT strings[] = {IDS_KIT_OK, IDS_KIT_ABORT, IDS_KIT_RETRY, IDS_KIT_IGNORE, IDS_KIT_YES, IDS_KIT_NO,
                            IDS_KIT_CANCEL, IDS_KIT_ABOUT_TITLE};
    for (UINT id : strings) {
        char text[64] = {};
        EXPECT_GT(LoadStringA(hRes, id, text, sizeof(text)), 0) << "string " << id;
    }

    char path[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(hRes, path, MAX_PATH), 0u);
    DWORD dwHandle = 0;
    EXPECT_GT(GetFileVersionInfoSizeA(path, &dwHandle), 0u) << "the version block";
    FreeLibrary(hRes);
}

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
