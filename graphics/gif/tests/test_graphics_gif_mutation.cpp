// Bounded, deterministic mutation of the GIF and BMP fixtures. Every mutant
// sits at the very end of readable memory (GuardedBuffer), so a read past the
// input faults at once; each must be refused or decoded, with no GDI object
// left behind.
#include <gtest/gtest.h>

#include <stdint.h>

#include "GifDecoder.h"
#include "GifPicture.h"
#include "GifTestSupport.h"
#include "GdiObjectCount.h"
#include "runtime/store/tests/StoreTestFiles.h"

using namespace giftest;

namespace {

// The same mutants on every run: the generator is a seeded xorshift32.
Bytes Mutate(const Bytes& seed, TestRandom& random)
{
    Bytes b = seed;
    if (b.empty())
        return b;
    static const uint32_t kExtremes[] = {0, 1, 2, 0x7F, 0x80, 0xFF, 0x100, 0x7FFF, 0x8000, 0xFFFF,
                                         0x10000, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};
    const int edits = 1 + random.Below(4);
    for (int e = 0; e < edits && !b.empty(); ++e) {
        const size_t at = random.Below(static_cast<uint32_t>(b.size()));
        switch (random.Below(6)) {
        case 0:  // flip a bit
            b[at] ^= static_cast<uint8_t>(1u << random.Below(8));
            break;
        case 1:  // a random byte
            b[at] = static_cast<uint8_t>(random.Next());
            break;
        case 2: {  // an extreme 16- or 32-bit value (sizes, offsets, counts)
            const uint32_t v = kExtremes[random.Below(sizeof kExtremes / sizeof kExtremes[0])];
            const size_t width = random.Below(2) ? 2 : 4;
            for (size_t i = 0; i < width && at + i < b.size(); ++i)
                b[at + i] = static_cast<uint8_t>(v >> (8 * i));
            break;
        }
        case 3:  // cut the data short
            b.resize(at);
            break;
        case 4: {  // repeat a piece
            const size_t length = 1 + random.Below(16);
            const size_t end = at + length < b.size() ? at + length : b.size();
            Bytes piece(b.begin() + at, b.begin() + end);
            b.insert(b.begin() + random.Below(static_cast<uint32_t>(b.size())), piece.begin(), piece.end());
            break;
        }
        default: {  // drop a piece
            const size_t length = 1 + random.Below(8);
            b.erase(b.begin() + at, b.begin() + (at + length < b.size() ? at + length : b.size()));
            break;
        }
        }
    }
    return b;
}

int GdiObjects() { return CountProcessGdiObjects(); }

// Runs every reading path over one input.
void Exercise(const Bytes& input)
{
    GuardedBuffer buffer(input);
    ASSERT_TRUE(buffer.data() != nullptr || input.empty());

    gifcore::Reader reader;
    for (bool header : {true, false}) {
        if (reader.Open(buffer.data(), buffer.size(), header)) {
            gifcore::Image image;
            for (int i = 0; i < 64 && reader.ReadImage(image) == gifcore::ReadResult::Image; ++i)
                ASSERT_EQ(static_cast<size_t>(image.stride) * image.height, image.pixels.size());
        }
    }

    CGifReader gdi;
    if (gdi.OpenMemory(buffer.data(), buffer.size(), TRUE) == 0) {
        for (int i = 0; i < 64; ++i) {
            HBITMAP bitmap = NULL;
            HPALETTE palette = NULL;
            const int r = gdi.ReadImage(NULL, NULL, NULL, NULL, &bitmap, NULL, NULL, &palette, NULL, NULL);
            DeleteObject(bitmap);
            DeleteObject(palette);
            if (r != 1)
                break;
        }
        gdi.Rewind();
        for (int i = 0; i < 64; ++i) {
            GifFrameRecord* record = gdi.NextImage();
            if (!record)
                break;
            ASSERT_EQ(record->stride * record->height, record->pixelBytes);
            FreeGifFrameRecord(record);
        }
    }
    DeleteObject(DecodeGifPicture(buffer.data(), buffer.size()));
}

const char* const kSeeds[] = {"anim.gif",         "interlaced8.gif", "interlaced11.gif", "noise.gif",
                              "noise_interlaced.gif", "rows87a.gif", "rows24.bmp",       "rows8bit.bmp",
                              "mono.bmp"};

}  // namespace

TEST(GifMutation, EveryPrefixOfEveryFixture)
{
    ASSERT_TRUE(GdiCounterSeesABrush()) << "no working GDI object counter";
    // The first decode sets up what GDI keeps for the process (the screen's
    // device contexts): counted from after it.
    ASSERT_NO_FATAL_FAILURE(Exercise(ReadFixture(kSeeds[0])));
    const int before = GdiObjects();
    for (const char* name : kSeeds) {
        const Bytes seed = ReadFixture(name);
        ASSERT_FALSE(seed.empty()) << name;
        // Long files: every prefix near the start and the end, a stride between.
        const size_t step = seed.size() > 600 ? seed.size() / 300 : 1;
        for (size_t length = 0; length <= seed.size();
             length += (length < 200 || seed.size() - length < 200) ? 1 : step)
            ASSERT_NO_FATAL_FAILURE(Exercise(Bytes(seed.begin(), seed.begin() + length))) << name << " " << length;
    }
    EXPECT_LE(GdiObjects(), before + 2);
}

TEST(GifMutation, RandomEditsOfEveryFixture)
{
    ASSERT_TRUE(GdiCounterSeesABrush()) << "no working GDI object counter";
    const int before = GdiObjects();
    TestRandom random(0x6D617264);
    int decoded = 0, refused = 0;
    for (const char* name : kSeeds) {
        const Bytes seed = ReadFixture(name);
        ASSERT_FALSE(seed.empty()) << name;
        const int rounds = seed.size() > 4000 ? 150 : 600;
        for (int i = 0; i < rounds; ++i) {
            const Bytes mutant = Mutate(seed, random);
            ASSERT_NO_FATAL_FAILURE(Exercise(mutant)) << name << " round " << i;
            HBITMAP b = DecodeGifPicture(mutant.data(), static_cast<DWORD>(mutant.size()));
            (b ? decoded : refused)++;
            DeleteObject(b);
        }
    }
    EXPECT_LE(GdiObjects(), before + 2);
    // Both outcomes occur: the mutants are neither all harmless nor all fatal.
    EXPECT_GT(decoded, 0);
    EXPECT_GT(refused, 0);
    printf("mutants decoded %d, refused %d\n", decoded, refused);
}
