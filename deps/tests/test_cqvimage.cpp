// CQVImage.dll as the program reaches it: through its import library, from files and from
// memory. The fixtures (fixtures/make_fixtures.py) have exactly known pixels.
#include <gtest/gtest.h>
#include <windows.h>

#include <FreeImage.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

std::string ExeFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p(path);
    return p.substr(0, p.find_last_of('\\') + 1);
}

std::string FixturePath(const char* name)
{
    return ExeFolder() + "fixtures\\cqvimage\\" + name;
}

std::vector<BYTE> ReadFixture(const char* name)
{
    std::vector<BYTE> bytes;
    FILE* f = fopen(FixturePath(name).c_str(), "rb");
    if (!f)
        return bytes;
    BYTE buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0)
        bytes.insert(bytes.end(), buf, buf + n);
    fclose(f);
    return bytes;
}

struct BitmapDeleter {
    void operator()(FIBITMAP* dib) const { FreeImage_Unload(dib); }
};
using Bitmap = std::unique_ptr<FIBITMAP, BitmapDeleter>;

struct MemoryDeleter {
    void operator()(FIMEMORY* mem) const { FreeImage_CloseMemory(mem); }
};
using Memory = std::unique_ptr<FIMEMORY, MemoryDeleter>;

// The library reports failures through this callback; the tests keep the last message.
std::string g_lastMessage;
void KeepMessage(FREE_IMAGE_FORMAT, const char* message)  // cdecl, as the library calls it
{
    g_lastMessage = message ? message : "";
}

Bitmap LoadFile(const char* name, int flags = 0)
{
    std::string path = FixturePath(name);
    FREE_IMAGE_FORMAT fif = FreeImage_GetFileType(path.c_str(), 0);
    if (fif == FIF_UNKNOWN)
        fif = FreeImage_GetFIFFromFilename(path.c_str());
    if (fif == FIF_UNKNOWN || !FreeImage_FIFSupportsReading(fif))
        return nullptr;
    return Bitmap(FreeImage_Load(fif, path.c_str(), flags));
}

Bitmap LoadBytes(std::vector<BYTE> bytes, int flags = 0)
{
    Memory mem(FreeImage_OpenMemory(bytes.data(), static_cast<DWORD>(bytes.size())));
    if (!mem)
        return nullptr;
    FREE_IMAGE_FORMAT fif = FreeImage_GetFileTypeFromMemory(mem.get(), 0);
    if (fif == FIF_UNKNOWN || !FreeImage_FIFSupportsReading(fif))
        return nullptr;
    return Bitmap(FreeImage_LoadFromMemory(fif, mem.get(), flags));
}

// FreeImage rows are stored bottom-up: row y counted from the top is scan line height-1-y.
unsigned Row(FIBITMAP* dib, unsigned fromTop) { return FreeImage_GetHeight(dib) - 1 - fromTop; }

BYTE IndexAt(FIBITMAP* dib, unsigned x, unsigned yFromTop)
{
    BYTE index = 0xEE;
    EXPECT_TRUE(FreeImage_GetPixelIndex(dib, x, Row(dib, yFromTop), &index));
    return index;
}

struct Rgba {
    int r, g, b, a;
};

Rgba ColorAt(FIBITMAP* dib, unsigned x, unsigned yFromTop)
{
    RGBQUAD q = {};
    EXPECT_TRUE(FreeImage_GetPixelColor(dib, x, Row(dib, yFromTop), &q));
    return {q.rgbRed, q.rgbGreen, q.rgbBlue, q.rgbReserved};
}

Rgba PaletteEntry(FIBITMAP* dib, unsigned index)
{
    const RGBQUAD* pal = FreeImage_GetPalette(dib);
    if (!pal || index >= FreeImage_GetColorsUsed(dib))
        return {-1, -1, -1, -1};
    return {pal[index].rgbRed, pal[index].rgbGreen, pal[index].rgbBlue, 0};
}

// Channels within tol of the expected ones; a < 0 skips the alpha check.
::testing::AssertionResult Near(Rgba got, Rgba want, int tol = 0)
{
    auto off = [tol](int a, int b) { return a - b > tol || b - a > tol; };
    if (off(got.r, want.r) || off(got.g, want.g) || off(got.b, want.b) || (want.a >= 0 && off(got.a, want.a)))
        return ::testing::AssertionFailure() << "got (" << got.r << "," << got.g << "," << got.b << "," << got.a
                                             << ") want (" << want.r << "," << want.g << "," << want.b << ","
                                             << want.a << ") tolerance " << tol;
    return ::testing::AssertionSuccess();
}

bool SamePixels(FIBITMAP* a, FIBITMAP* b)
{
    if (!a || !b || FreeImage_GetWidth(a) != FreeImage_GetWidth(b) ||
        FreeImage_GetHeight(a) != FreeImage_GetHeight(b) || FreeImage_GetBPP(a) != FreeImage_GetBPP(b))
        return false;
    for (unsigned y = 0; y < FreeImage_GetHeight(a); ++y)
        if (memcmp(FreeImage_GetScanLine(a, y), FreeImage_GetScanLine(b, y), FreeImage_GetLine(a)) != 0)
            return false;
    return true;
}

class CQVImage : public ::testing::Test {
protected:
    void SetUp() override
    {
        FreeImage_SetOutputMessage(KeepMessage);
        g_lastMessage.clear();
    }
};

TEST_F(CQVImage, IsTheDllBesideTheProgramWithUndecoratedExports)
{
    HMODULE dll = GetModuleHandleA("CQVImage.dll");
    ASSERT_NE(dll, nullptr);
    char path[MAX_PATH] = {};
    GetModuleFileNameA(dll, path, MAX_PATH);
    EXPECT_EQ(std::string(path), ExeFolder() + "CQVImage.dll");
    // The names a program looks up at run time are the plain ones on both targets.
    EXPECT_EQ(reinterpret_cast<void*>(GetProcAddress(dll, "FreeImage_Load")), reinterpret_cast<void*>(&FreeImage_Load));
    EXPECT_NE(GetProcAddress(dll, "FreeImage_ConvertTo32Bits"), nullptr);
    EXPECT_STREQ(FreeImage_GetVersion(), "3.18.0");
}

// A library named *.fip beside the program is not loaded as a plug-in when the DLL starts.
TEST_F(CQVImage, LoadsNoExternalPlugins)
{
    const std::string fip = ExeFolder() + "cqvimage_probe.fip";
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string second = std::string(temp) + "cqvimage_second_" + std::to_string(GetCurrentProcessId()) + ".dll";
    ASSERT_TRUE(CopyFileA((ExeFolder() + "cqvimage_fip_probe.dll").c_str(), fip.c_str(), FALSE));
    ASSERT_TRUE(CopyFileA((ExeFolder() + "CQVImage.dll").c_str(), second.c_str(), FALSE));
    // A second copy of the DLL initialises itself again, now with the probe in place.
    HMODULE copy = LoadLibraryA(second.c_str());
    EXPECT_NE(copy, nullptr);
    char mark[16] = {};
    EXPECT_EQ(GetEnvironmentVariableA("CQVIMAGE_FIP_PROBE", mark, sizeof mark), 0u) << mark;
    if (copy)
        FreeLibrary(copy);
    DeleteFileA(second.c_str());
    DeleteFileA(fip.c_str());
}

TEST_F(CQVImage, KeepsEveryFormatNumberAndReadsOnlyTheBuiltFormats)
{
    ASSERT_EQ(FreeImage_GetFIFCount(), 37);
    struct Case { FREE_IMAGE_FORMAT fif; const char* name; bool reads; };
    const Case cases[] = {
        {FIF_BMP, "BMP", true},   {FIF_ICO, "ICO", true},       {FIF_JPEG, "JPEG", true},
        {FIF_PNG, "PNG", true},   {FIF_TIFF, "TIFF", false},    {FIF_GIF, "GIF", true},
        {FIF_FAXG3, "G3", false},    {FIF_EXR, "EXR", false},      {FIF_PFM, "PFM", true},
        {FIF_RAW, "RAW", false},  {FIF_WEBP, "WebP", false},    {FIF_JXR, "JPEG-XR", false},
        {FIF_TARGA, "TARGA", true},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(FreeImage_GetFormatFromFIF(c.fif), c.name) << c.fif;
        EXPECT_EQ(FreeImage_FIFSupportsReading(c.fif) != 0, c.reads) << c.name;
    }
    EXPECT_EQ(FreeImage_GetFIFFromFilename("x.tif"), FIF_TIFF);
    EXPECT_EQ(FreeImage_GetFIFFromFilename("x.gif"), FIF_GIF);
    BYTE tiff[16] = {'I', 'I', 42, 0, 8, 0, 0, 0};
    Memory mem(FreeImage_OpenMemory(tiff, sizeof tiff));
    EXPECT_EQ(FreeImage_GetFileTypeFromMemory(mem.get(), 0), FIF_UNKNOWN);
    EXPECT_EQ(FreeImage_LoadFromMemory(FIF_TIFF, mem.get(), 0), nullptr);
}

TEST_F(CQVImage, LoadsEachFixtureAlikeFromFileAndFromMemory)
{
    struct Case { const char* name; FREE_IMAGE_FORMAT fif; unsigned width, height, bpp; FREE_IMAGE_COLOR_TYPE color; };
    const Case cases[] = {
        {"pal_trns.png", FIF_PNG, 8, 4, 8, FIC_PALETTE},     // 4-bit PNG with tRNS: held as 8 bits
        {"rgb_trns.png", FIF_PNG, 4, 2, 32, FIC_RGBALPHA},   // colour key: expanded to alpha
        {"indexed.gif", FIF_GIF, 8, 4, 4, FIC_PALETTE},      // 4 colours: 4 bits
        {"pal4.bmp", FIF_BMP, 5, 3, 4, FIC_PALETTE},
        {"v5_32.bmp", FIF_BMP, 4, 2, 32, FIC_RGBALPHA},
        {"topdown24.bmp", FIF_BMP, 3, 2, 24, FIC_RGB},
        {"three.ico", FIF_ICO, 16, 16, 4, FIC_PALETTE},      // the first image of three
        {"color.jpg", FIF_JPEG, 16, 16, 24, FIC_RGB},
        {"grayprog.jpg", FIF_JPEG, 16, 16, 8, FIC_MINISBLACK},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = FixturePath(c.name);
        EXPECT_EQ(FreeImage_GetFileType(path.c_str(), 0), c.fif);
        std::vector<BYTE> bytes = ReadFixture(c.name);
        ASSERT_FALSE(bytes.empty());
        Memory mem(FreeImage_OpenMemory(bytes.data(), static_cast<DWORD>(bytes.size())));
        EXPECT_EQ(FreeImage_GetFileTypeFromMemory(mem.get(), 0), c.fif);

        Bitmap fromFile = LoadFile(c.name);
        Bitmap fromMemory = LoadBytes(bytes);
        ASSERT_TRUE(fromFile && fromMemory) << g_lastMessage;
        EXPECT_TRUE(SamePixels(fromFile.get(), fromMemory.get()));
        FIBITMAP* dib = fromFile.get();
        EXPECT_EQ(FreeImage_GetImageType(dib), FIT_BITMAP);
        EXPECT_EQ(FreeImage_GetWidth(dib), c.width);
        EXPECT_EQ(FreeImage_GetHeight(dib), c.height);
        EXPECT_EQ(FreeImage_GetBPP(dib), c.bpp);
        EXPECT_EQ(FreeImage_GetColorType(dib), c.color);
        EXPECT_EQ(FreeImage_GetPitch(dib) % 4, 0u);
        EXPECT_GE(FreeImage_GetPitch(dib), (c.width * c.bpp + 7) / 8);
        // Every picture converts to the three depths the program works in.
        for (unsigned bpp : {8u, 24u, 32u}) {
            Bitmap converted(bpp == 8    ? FreeImage_ConvertTo8Bits(dib)
                             : bpp == 24 ? FreeImage_ConvertTo24Bits(dib)
                                         : FreeImage_ConvertTo32Bits(dib));
            ASSERT_TRUE(converted) << bpp;
            EXPECT_EQ(FreeImage_GetBPP(converted.get()), bpp);
            EXPECT_EQ(FreeImage_GetWidth(converted.get()), c.width);
            EXPECT_EQ(FreeImage_GetHeight(converted.get()), c.height);
        }
    }
}

TEST_F(CQVImage, PalettePngKeepsIndicesTransparencyAndBackground)
{
    Bitmap dib = LoadFile("pal_trns.png");
    ASSERT_TRUE(dib);
    for (unsigned y = 0; y < 4; ++y)
        for (unsigned x = 0; x < 8; ++x)
            ASSERT_EQ(IndexAt(dib.get(), x, y), (x + y) % 4) << x << "," << y;
    EXPECT_TRUE(Near(PaletteEntry(dib.get(), 0), {255, 0, 0, -1}));
    EXPECT_TRUE(Near(PaletteEntry(dib.get(), 3), {255, 255, 255, -1}));

    EXPECT_TRUE(FreeImage_IsTransparent(dib.get()));
    ASSERT_EQ(FreeImage_GetTransparencyCount(dib.get()), 2u);
    const BYTE* table = FreeImage_GetTransparencyTable(dib.get());
    ASSERT_NE(table, nullptr);
    // Entries past the count read as opaque.
    EXPECT_EQ(table[0], 0);
    EXPECT_EQ(table[1], 128);
    EXPECT_EQ(table[2], 255);
    EXPECT_EQ(table[255], 255);

    RGBQUAD bk = {};
    ASSERT_TRUE(FreeImage_HasBackgroundColor(dib.get()));
    ASSERT_TRUE(FreeImage_GetBackgroundColor(dib.get(), &bk));
    EXPECT_TRUE(Near({bk.rgbRed, bk.rgbGreen, bk.rgbBlue, -1}, {0, 0, 255, -1}));

    Bitmap c8(FreeImage_ConvertTo8Bits(dib.get()));
    Bitmap c24(FreeImage_ConvertTo24Bits(dib.get()));
    Bitmap c32(FreeImage_ConvertTo32Bits(dib.get()));
    ASSERT_TRUE(c8 && c24 && c32);
    EXPECT_EQ(IndexAt(c8.get(), 1, 0), 1);
    EXPECT_TRUE(Near(ColorAt(c24.get(), 1, 0), {0, 255, 0, -1}));
    // The transparency table becomes the alpha channel.
    EXPECT_TRUE(Near(ColorAt(c32.get(), 0, 0), {255, 0, 0, 0}));
    EXPECT_TRUE(Near(ColorAt(c32.get(), 1, 0), {0, 255, 0, 128}));
    EXPECT_TRUE(Near(ColorAt(c32.get(), 2, 0), {0, 0, 255, 255}));
    EXPECT_TRUE(FreeImage_IsTransparent(c32.get()));
}

TEST_F(CQVImage, ColourKeyedPngBecomesAlpha)
{
    Bitmap dib = LoadFile("rgb_trns.png");
    ASSERT_TRUE(dib);
    EXPECT_TRUE(FreeImage_IsTransparent(dib.get()));
    EXPECT_TRUE(Near(ColorAt(dib.get(), 0, 0), {255, 0, 255, 0}));
    EXPECT_TRUE(Near(ColorAt(dib.get(), 1, 0), {255, 0, 0, 255}));
    EXPECT_TRUE(Near(ColorAt(dib.get(), 3, 0), {0, 255, 0, 255}));
    EXPECT_TRUE(Near(ColorAt(dib.get(), 0, 1), {0, 0, 255, 255}));
    RGBQUAD bk = {};
    ASSERT_TRUE(FreeImage_GetBackgroundColor(dib.get(), &bk));
    EXPECT_TRUE(Near({bk.rgbRed, bk.rgbGreen, bk.rgbBlue, -1}, {255, 255, 255, -1}));

    Bitmap c24(FreeImage_ConvertTo24Bits(dib.get()));
    ASSERT_TRUE(c24);
    EXPECT_TRUE(Near(ColorAt(c24.get(), 1, 0), {255, 0, 0, -1}));
    Bitmap c8(FreeImage_ConvertTo8Bits(dib.get()));
    ASSERT_TRUE(c8);
    EXPECT_EQ(FreeImage_GetColorType(c8.get()), FIC_MINISBLACK);
    EXPECT_NEAR(IndexAt(c8.get(), 1, 0), 54, 1);  // red at Rec. 709 luminance
}

TEST_F(CQVImage, GifKeepsIndicesTransparentIndexAndBackground)
{
    Bitmap dib = LoadFile("indexed.gif");
    ASSERT_TRUE(dib);
    for (unsigned y = 0; y < 4; ++y)
        for (unsigned x = 0; x < 8; ++x)
            ASSERT_EQ(IndexAt(dib.get(), x, y), (x + y) % 4) << x << "," << y;
    EXPECT_TRUE(Near(PaletteEntry(dib.get(), 2), {0, 0, 255, -1}));
    EXPECT_TRUE(FreeImage_IsTransparent(dib.get()));
    EXPECT_EQ(FreeImage_GetTransparentIndex(dib.get()), 3);
    const BYTE* table = FreeImage_GetTransparencyTable(dib.get());
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table[3], 0);
    EXPECT_EQ(table[0], 255);
    RGBQUAD bk = {};
    ASSERT_TRUE(FreeImage_GetBackgroundColor(dib.get(), &bk));
    EXPECT_TRUE(Near({bk.rgbRed, bk.rgbGreen, bk.rgbBlue, -1}, {0, 255, 0, -1}));

    Bitmap c8(FreeImage_ConvertTo8Bits(dib.get()));
    Bitmap c32(FreeImage_ConvertTo32Bits(dib.get()));
    ASSERT_TRUE(c8 && c32);
    EXPECT_EQ(FreeImage_GetColorType(c8.get()), FIC_PALETTE);
    EXPECT_EQ(IndexAt(c8.get(), 3, 0), 3);
    EXPECT_TRUE(Near(PaletteEntry(c8.get(), 3), {255, 255, 255, -1}));
    EXPECT_TRUE(Near(ColorAt(c32.get(), 3, 0), {255, 255, 255, 0}));
    EXPECT_TRUE(Near(ColorAt(c32.get(), 0, 0), {255, 0, 0, 255}));
}

TEST_F(CQVImage, FourBitBmpKeepsItsPaletteThroughConversion)
{
    Bitmap dib = LoadFile("pal4.bmp");
    ASSERT_TRUE(dib);
    EXPECT_EQ(FreeImage_GetColorsUsed(dib.get()), 16u);
    for (unsigned y = 0; y < 3; ++y)
        for (unsigned x = 0; x < 5; ++x)
            ASSERT_EQ(IndexAt(dib.get(), x, y), (x + 2 * y) % 16) << x << "," << y;
    EXPECT_TRUE(Near(PaletteEntry(dib.get(), 8), {128, 127, 8, -1}));
    EXPECT_FALSE(FreeImage_IsTransparent(dib.get()));
    EXPECT_FALSE(FreeImage_HasBackgroundColor(dib.get()));

    Bitmap c8(FreeImage_ConvertTo8Bits(dib.get()));
    Bitmap c24(FreeImage_ConvertTo24Bits(dib.get()));
    Bitmap c32(FreeImage_ConvertTo32Bits(dib.get()));
    ASSERT_TRUE(c8 && c24 && c32);
    EXPECT_EQ(FreeImage_GetColorType(c8.get()), FIC_PALETTE);
    EXPECT_EQ(IndexAt(c8.get(), 4, 2), 8);
    EXPECT_TRUE(Near(PaletteEntry(c8.get(), 8), {128, 127, 8, -1}));
    EXPECT_TRUE(Near(ColorAt(c24.get(), 4, 2), {128, 127, 8, -1}));
    EXPECT_TRUE(Near(ColorAt(c32.get(), 4, 2), {128, 127, 8, 255}));
}

TEST_F(CQVImage, BmpWithV5HeaderAndTopDownBmpLoad)
{
    // A BITMAPV5HEADER with an alpha mask, as image editors write them.
    Bitmap v5 = LoadFile("v5_32.bmp");
    ASSERT_TRUE(v5) << g_lastMessage;
    EXPECT_TRUE(Near(ColorAt(v5.get(), 0, 0), {255, 0, 0, 255}));
    EXPECT_TRUE(Near(ColorAt(v5.get(), 1, 0), {0, 255, 0, 128}));
    EXPECT_TRUE(Near(ColorAt(v5.get(), 2, 0), {0, 0, 255, 0}));
    EXPECT_TRUE(Near(ColorAt(v5.get(), 0, 1), {0, 0, 0, 255}));
    Bitmap c24(FreeImage_ConvertTo24Bits(v5.get()));
    ASSERT_TRUE(c24);
    EXPECT_TRUE(Near(ColorAt(c24.get(), 1, 0), {0, 255, 0, -1}));

    Bitmap td = LoadFile("topdown24.bmp");
    ASSERT_TRUE(td);
    EXPECT_TRUE(Near(ColorAt(td.get(), 0, 0), {255, 0, 0, -1}));
    EXPECT_TRUE(Near(ColorAt(td.get(), 2, 0), {0, 0, 255, -1}));
    EXPECT_TRUE(Near(ColorAt(td.get(), 0, 1), {255, 255, 255, -1}));
}

TEST_F(CQVImage, IconGivesEachImageAndItsMask)
{
    Bitmap first = LoadFile("three.ico");
    ASSERT_TRUE(first);
    EXPECT_EQ(IndexAt(first.get(), 9, 0), 9);
    Bitmap c24(FreeImage_ConvertTo24Bits(first.get()));
    ASSERT_TRUE(c24);
    EXPECT_TRUE(Near(ColorAt(c24.get(), 9, 0), {144, 111, 9, -1}));

    // ICO_MAKEALPHA turns the AND mask into alpha: the left half is transparent.
    Bitmap masked = LoadFile("three.ico", ICO_MAKEALPHA);
    ASSERT_TRUE(masked);
    EXPECT_EQ(FreeImage_GetBPP(masked.get()), 32u);
    EXPECT_EQ(ColorAt(masked.get(), 0, 0).a, 0);
    EXPECT_EQ(ColorAt(masked.get(), 9, 0).a, 255);

    std::vector<BYTE> bytes = ReadFixture("three.ico");
    Memory mem(FreeImage_OpenMemory(bytes.data(), static_cast<DWORD>(bytes.size())));
    FIMULTIBITMAP* pages = FreeImage_LoadMultiBitmapFromMemory(FIF_ICO, mem.get(), 0);
    ASSERT_NE(pages, nullptr);
    EXPECT_EQ(FreeImage_GetPageCount(pages), 3);
    struct Page { int index; unsigned size, bpp; Rgba pixel; };
    const Page expected[] = {{1, 32, 32, {10, 20, 30, 200}}, {2, 48, 32, {200, 100, 50, 255}}};
    for (const Page& p : expected) {
        FIBITMAP* page = FreeImage_LockPage(pages, p.index);
        ASSERT_NE(page, nullptr) << p.index;
        EXPECT_EQ(FreeImage_GetWidth(page), p.size);
        EXPECT_EQ(FreeImage_GetBPP(page), p.bpp);
        EXPECT_TRUE(Near(ColorAt(page, 0, 0), p.pixel));
        FreeImage_UnlockPage(pages, page, FALSE);
    }
    FreeImage_CloseMultiBitmap(pages, 0);
}

TEST_F(CQVImage, JpegDecodesColourAndProgressiveGrey)
{
    Bitmap color = LoadFile("color.jpg");
    ASSERT_TRUE(color);
    const struct { unsigned x, y; Rgba want; } quadrants[] = {
        {3, 3, {255, 0, 0, -1}}, {12, 3, {0, 255, 0, -1}}, {3, 12, {0, 0, 255, -1}}, {12, 12, {255, 255, 255, -1}}};
    for (const auto& q : quadrants)
        EXPECT_TRUE(Near(ColorAt(color.get(), q.x, q.y), q.want, 12)) << q.x << "," << q.y;
    Bitmap c8(FreeImage_ConvertTo8Bits(color.get()));
    ASSERT_TRUE(c8);
    EXPECT_NEAR(IndexAt(c8.get(), 12, 12), 255, 4);
    EXPECT_NEAR(IndexAt(c8.get(), 12, 3), 182, 6);  // green at Rec. 709 luminance

    Bitmap grey = LoadFile("grayprog.jpg");
    ASSERT_TRUE(grey);
    EXPECT_NEAR(IndexAt(grey.get(), 12, 12), 255, 4);
    EXPECT_NEAR(IndexAt(grey.get(), 3, 12), 18, 6);  // blue
    Bitmap c32(FreeImage_ConvertTo32Bits(grey.get()));
    ASSERT_TRUE(c32);
    EXPECT_TRUE(Near(ColorAt(c32.get(), 12, 12), {255, 255, 255, 255}, 4));
}

TEST_F(CQVImage, SavedPngAndJpegLoadBack)
{
    Bitmap dib = LoadFile("v5_32.bmp");
    ASSERT_TRUE(dib);
    for (FREE_IMAGE_FORMAT fif : {FIF_PNG, FIF_JPEG}) {
        SCOPED_TRACE(FreeImage_GetFormatFromFIF(fif));
        Bitmap source(fif == FIF_JPEG ? FreeImage_ConvertTo24Bits(dib.get()) : FreeImage_Clone(dib.get()));
        Memory mem(FreeImage_OpenMemory(nullptr, 0));
        ASSERT_TRUE(FreeImage_SaveToMemory(fif, source.get(), mem.get(), fif == FIF_JPEG ? JPEG_QUALITYSUPERB : 0));
        FreeImage_SeekMemory(mem.get(), 0, SEEK_SET);  // saving leaves the stream at its end
        Bitmap back(FreeImage_LoadFromMemory(fif, mem.get(), 0));
        ASSERT_TRUE(back);
        if (fif == FIF_PNG)
            EXPECT_TRUE(SamePixels(source.get(), back.get()));
        else
            EXPECT_TRUE(Near(ColorAt(back.get(), 3, 0), {255, 255, 255, -1}, 24));
    }
}

void PutLE32(std::vector<BYTE>& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<BYTE>(v >> (8 * i));
}

void PutBE32(std::vector<BYTE>& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<BYTE>(v >> (24 - 8 * i));
}

// Changes the size in the IHDR chunk and keeps the chunk's checksum right.
void SetPngSize(std::vector<BYTE>& b, uint32_t width, uint32_t height)
{
    PutBE32(b, 16, width);
    PutBE32(b, 20, height);
    PutBE32(b, 29, FreeImage_ZLibCRC32(0, &b[12], 17));
}

// Damaged input gives NULL (and a message), never a crash.
TEST_F(CQVImage, TruncatedFilesGiveNull)
{
    struct Case { const char* name; size_t keep; };
    const Case cases[] = {
        {"pal_trns.png", 0},  {"pal_trns.png", 8},  {"pal_trns.png", 40}, {"pal_trns.png", 90},
        {"indexed.gif", 6},   {"indexed.gif", 13},  {"indexed.gif", 30},
        {"pal4.bmp", 2},      {"pal4.bmp", 20},     {"pal4.bmp", 60},
        {"v5_32.bmp", 100},
        {"three.ico", 6},     {"three.ico", 40},    {"three.ico", 60},
        {"color.jpg", 2},     {"color.jpg", 100},   {"grayprog.jpg", 150},
    };
    for (const Case& c : cases) {
        std::vector<BYTE> bytes = ReadFixture(c.name);
        ASSERT_LT(c.keep, bytes.size());
        bytes.resize(c.keep);
        Bitmap dib = LoadBytes(bytes);
        EXPECT_FALSE(dib) << c.name << " cut to " << c.keep << " bytes";
    }
}

// No picture is allocated above 256 MiB of pixels, whatever a header claims.
TEST_F(CQVImage, RefusesBitmapsAbove256MiB)
{
    Bitmap largest(FreeImage_Allocate(8192, 8192, 32, 0, 0, 0));
    EXPECT_TRUE(largest);
    largest.reset();
    EXPECT_FALSE(Bitmap(FreeImage_Allocate(8192, 8193, 32, 0, 0, 0)));
    EXPECT_FALSE(Bitmap(FreeImage_Allocate(0x40000000, 3, 4, 0, 0, 0)));
}

TEST_F(CQVImage, CorruptFilesGiveNull)
{
    struct Case { const char* what; const char* name; void (*spoil)(std::vector<BYTE>&); };
    const Case cases[] = {
        {"PNG IHDR checksum", "pal_trns.png", [](std::vector<BYTE>& b) { b[29] ^= 0xFF; }},
        {"PNG 100000 x 100000", "pal_trns.png", [](std::vector<BYTE>& b) { SetPngSize(b, 100000, 100000); }},
        {"PNG compressed data", "pal_trns.png", [](std::vector<BYTE>& b) { for (size_t i = 70; i < 90; ++i) b[i] = 0x55; }},
        {"BMP width 2^30", "pal4.bmp", [](std::vector<BYTE>& b) { PutLE32(b, 18, 0x40000000u); }},
        {"BMP height -2^31", "pal4.bmp", [](std::vector<BYTE>& b) { PutLE32(b, 22, 0x80000000u); }},
        {"BMP 0 planes 7 bits", "pal4.bmp", [](std::vector<BYTE>& b) { b[26] = 0; b[28] = 7; }},
        {"BMP header size 5000", "pal4.bmp", [](std::vector<BYTE>& b) { PutLE32(b, 14, 5000); }},
        {"GIF unknown block", "indexed.gif", [](std::vector<BYTE>& b) { b[33] = 0x99; }},
        {"ICO entry beyond the file", "three.ico", [](std::vector<BYTE>& b) { PutLE32(b, 18, 0x7FFFFFF0u); }},
        {"ICO entry size 0", "three.ico", [](std::vector<BYTE>& b) { PutLE32(b, 14, 0); PutLE32(b, 18, 0); }},
        {"JPEG frame header", "color.jpg", [](std::vector<BYTE>& b) { for (size_t i = 2; i < 60; ++i) b[i] = 0xFF; }},
    };
    for (const Case& c : cases) {
        std::vector<BYTE> bytes = ReadFixture(c.name);
        ASSERT_FALSE(bytes.empty());
        c.spoil(bytes);
        Bitmap dib = LoadBytes(bytes);
        EXPECT_FALSE(dib) << c.what;
    }
    EXPECT_FALSE(LoadFile("missing.png"));
    EXPECT_FALSE(LoadBytes({}));
    std::vector<BYTE> noise(4096);
    for (size_t i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<BYTE>(i * 2654435761u >> 13);
    EXPECT_FALSE(LoadBytes(noise));
}

}  // namespace
