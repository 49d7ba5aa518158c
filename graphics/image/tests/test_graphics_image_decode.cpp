// The JPEG and PNG library bindings and the image decoder: format routing,
// BMP depths, malformed BMPs, GIF through the decoder, round trips through
// the support libraries, resources and files.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "graphics/QVMemBitmap.h"

#include "ImageDecoder.h"
#include "ImageLibs.h"
#include "ImageTestSupport.h"

using namespace imgtest;

namespace {

const int kTinyBmpResource = 101;  // fixtures/tiny24.bmp: red green blue / white black grey
const int kTinyGifResource = 102;  // fixtures/tiny.gif: the same picture, by ImageMagick
const int kDialogResource = 201;

std::string ProgramFolder()
{
    char path[MAX_PATH];
    GetModuleFileNameA(NULL, path, MAX_PATH);
    *strrchr(path, '\\') = '\0';
    return path;
}

// The depth of a DIB section; 0 for other bitmaps.
int DibDepth(HBITMAP bitmap)
{
    DIBSECTION ds;
    if (GetObject(bitmap, sizeof ds, &ds) != sizeof ds)
        return 0;
    return ds.dsBm.bmBitsPixel;
}

const std::vector<uint32_t> kTinyPixels = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000, 0x808080};

// Bytes placed at the very end of a readable page: reading one byte past
// them faults, so an over-read shows as a crash.
class GuardedBytes
{
public:
    explicit GuardedBytes(const std::vector<uint8_t>& bytes)
    {
        m_base = static_cast<BYTE*>(VirtualAlloc(NULL, 2 * kPage, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        DWORD old;
        VirtualProtect(m_base + kPage, kPage, PAGE_NOACCESS, &old);
        m_data = m_base + kPage - bytes.size();
        memcpy(m_data, bytes.data(), bytes.size());
        m_size = static_cast<DWORD>(bytes.size());
    }
    ~GuardedBytes() { VirtualFree(m_base, 0, MEM_RELEASE); }
    const BYTE* Data() const { return m_data; }
    DWORD Size() const { return m_size; }

private:
    static const size_t kPage = 65536;
    BYTE* m_base;
    BYTE* m_data;
    DWORD m_size;
};

// ---- Bindings ---------------------------------------------------------------------

TEST(ImageLibs, TheProgramsLibrariesBind)
{
    EXPECT_TRUE(JpegLibrary().Bind());
    EXPECT_TRUE(PngLibrary().Bind());
    EXPECT_TRUE(JpegLibrary().Entry(9) != NULL);  // FreeDataHandle: bound, no forwarder
    EXPECT_TRUE(PngLibrary().Entry(0) != NULL);   // LoadPNGFile likewise
}

TEST(ImageLibs, MissingLibraryIsNeverRetried)
{
    const std::string name = "mardavel_late_vedad.dll";
    const std::string path = ProgramFolder() + "\\" + name;
    DeleteFileA(path.c_str());
    {
        CImageLibBinding binding(name.c_str(), kJpegEntryNames, 10);
        EXPECT_FALSE(binding.Bind());
        EXPECT_TRUE(binding.HasFailed());
        // The library turns up later: the binding does not look again.
        ASSERT_TRUE(CopyFileA((ProgramFolder() + "\\VEDAD.dll").c_str(), path.c_str(), FALSE));
        EXPECT_FALSE(binding.Bind());
        EXPECT_EQ(NULL, binding.Entry(3));
        CImageLibBinding fresh(name.c_str(), kJpegEntryNames, 10);
        EXPECT_TRUE(fresh.Bind());
        EXPECT_TRUE(fresh.Entry(3) != NULL);
    }
    DeleteFileA(path.c_str());
}

TEST(ImageLibs, LibraryLackingOneEntryIsRefused)
{
    CImageLibBinding binding("vedad_partial.dll", kJpegEntryNames, 10);
    EXPECT_FALSE(binding.Bind());
    EXPECT_TRUE(binding.HasFailed());
    EXPECT_EQ(NULL, binding.Entry(0));
    EXPECT_EQ(NULL, GetModuleHandleA("vedad_partial.dll"));  // freed again
    // The same library binds when only its nine entries are asked for.
    CImageLibBinding nine("vedad_partial.dll", kJpegEntryNames, 9);
    EXPECT_TRUE(nine.Bind());
    EXPECT_TRUE(nine.Entry(8) != NULL);
}

// ---- Format routing -----------------------------------------------------------------

TEST(ImageDecoder, FormatByFirstBytes)
{
    struct Case
    {
        const char* bytes;
        size_t size;
        ImageFormat expected;
    } cases[] = {
        {"GIF89", 5, ImageFormat::None},
        {"GIF87a..", 8, ImageFormat::Gif},
        {"GIF89a..", 8, ImageFormat::Gif},
        {"GIF88a..", 8, ImageFormat::Jpeg},
        {"\x89PNG\r\n\x1a\n", 8, ImageFormat::Png},
        {"xPNG\r\n..", 8, ImageFormat::Png},  // byte 0 is not looked at
        {"\x89PNG\n\r..", 8, ImageFormat::Jpeg},
        {"BM......", 8, ImageFormat::Bmp},
        {"\xFF\xD8\xFF\xE0..", 8, ImageFormat::Jpeg},
        {"plain text", 10, ImageFormat::Jpeg},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, GetImageFormat(reinterpret_cast<const BYTE*>(c.bytes), static_cast<DWORD>(c.size)))
            << c.bytes;
    EXPECT_EQ(ImageFormat::None, GetImageFormat(NULL, 100));
}

TEST(ImageDecoder, ShortDataAndRefusedJpegGiveNothing)
{
    EXPECT_EQ(NULL, DecodeImage(reinterpret_cast<const BYTE*>("BM\x05\0\0"), 5));
    EXPECT_EQ(NULL, DecodeImage(NULL, 0));
    const char text[] = "This is no picture at all, just text.";
    EXPECT_EQ(NULL, DecodeImage(reinterpret_cast<const BYTE*>(text), sizeof text));
}

// ---- BMP ---------------------------------------------------------------------------

TEST(ImageDecoder, BmpKeepsItsDepthAndColours)
{
    const std::vector<uint32_t> palette16 = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0x00FFFF, 0xFF00FF, 0x808080,
                                             0x400000, 0x004000, 0x000040, 0x404000, 0x004040, 0x400040, 0xC0C0C0, 0xFFFFFF};
    std::vector<uint32_t> palette256(256);
    for (int i = 0; i < 256; i++)
        palette256[i] = static_cast<uint32_t>(i * 0x010203) & 0xFFFFFF;
    struct Case
    {
        int bpp;
        std::vector<uint32_t> palette;
    } cases[] = {
        {1, {0x102030, 0xF0E0D0}}, {4, palette16}, {8, palette256}, {16, {}}, {24, {}}, {32, {}},
    };
    for (const Case& c : cases) {
        const int w = 9, h = 3;
        auto value = [&](int x, int y) -> uint32_t {
            if (c.bpp <= 8)
                return static_cast<uint32_t>((x * 7 + y * 3) % c.palette.size());
            return static_cast<uint32_t>(0x080000 * x + 0x000800 * y + 0x38);
        };
        std::vector<uint8_t> bmp = MakeBmp(w, h, c.bpp, c.palette, value);
        HBITMAP bitmap = DecodeImage(bmp.data(), static_cast<DWORD>(bmp.size()));
        ASSERT_TRUE(bitmap != NULL) << c.bpp;
        EXPECT_EQ(c.bpp, DibDepth(bitmap)) << c.bpp;
        int gw, gh;
        std::vector<uint32_t> px = BitmapPixels(bitmap, &gw, &gh);
        ASSERT_EQ(w, gw);
        ASSERT_EQ(h, gh);
        for (int y = 0; y < h; y++)
            for (int x = 0; x < w; x++) {
                const uint32_t expected = c.bpp <= 8 ? c.palette[value(x, y)] : value(x, y);
                const uint32_t mask = c.bpp == 16 ? 0xF8F8F8 : 0xFFFFFF;
                ASSERT_EQ(expected & mask, px[y * w + x] & mask) << c.bpp << " at " << x << "," << y;
            }
        DeleteObject(bitmap);
    }
}

TEST(ImageDecoder, TopDownBmpCopiesItsRows)
{
    std::vector<uint8_t> bmp = MakeBmp(3, 4, 24, {}, [](int, int y) { return 0x102030u * (y + 1); }, true);
    HBITMAP bitmap = DecodeImage(bmp.data(), static_cast<DWORD>(bmp.size()));
    ASSERT_TRUE(bitmap != NULL);
    std::vector<uint32_t> px = BitmapPixels(bitmap);
    for (int y = 0; y < 4; y++)
        EXPECT_EQ(0x102030u * (y + 1), px[y * 3]) << y;
    DeleteObject(bitmap);
}

TEST(ImageDecoder, MalformedBmpsAreRefused)
{
    const std::vector<uint8_t> good = MakeBmp(4, 3, 24, {}, [](int x, int) { return 0x111111u * x; });
    const uint32_t size = static_cast<uint32_t>(good.size());
    struct Case
    {
        const char* what;
        size_t offset;  // a u32 field, or SIZE_MAX to cut the data
        uint32_t value;
    } cases[] = {
        {"size field differs", kBmpFileSize, size + 1},
        {"huge negative height", kBmpHeight, 0x80000001u},
        {"height that overruns", kBmpHeight, 4},
        {"height 0", kBmpHeight, 0},
        {"bits offset past the end", kBmpOffBits, size + 10},
        {"bits offset inside the headers", kBmpOffBits, 20},
        {"bits offset under 54", kBmpOffBits, 50},
        {"width that overflows", kBmpWidth, 0x40000001u},
        {"negative width", kBmpWidth, 0xFFFFFFFEu},
        {"unknown depth", kBmpBitCount, 7},
        {"header size 12", 14, 12},
        {"huge header size", 14, 0x7FFFFFFFu},
        {"run-length compression", 30, 1},
        {"rows cut off", SIZE_MAX, 8},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bad = good;
        if (c.offset == SIZE_MAX) {
            bad.resize(bad.size() - c.value);
            PutU32(bad, kBmpFileSize, static_cast<uint32_t>(bad.size()));
        } else if (c.offset == kBmpBitCount) {
            bad[kBmpBitCount] = 7;
        } else {
            PutU32(bad, c.offset, c.value);
        }
        GuardedBytes data(bad);
        HBITMAP bitmap = DecodeImage(data.Data(), data.Size());
        EXPECT_EQ(NULL, bitmap) << c.what;
        if (bitmap)
            DeleteObject(bitmap);
    }
    // The untouched picture decodes from the same guarded place.
    GuardedBytes data(good);
    HBITMAP bitmap = DecodeImage(data.Data(), data.Size());
    EXPECT_TRUE(bitmap != NULL);
    DeleteObject(bitmap);
}

// Random changes to the headers of valid files: every result is NULL or a
// bitmap whose pixels lay inside the data; nothing reads past the data.
TEST(ImageDecoder, MutatedBmpsAreHandledSafely)
{
    const std::vector<uint8_t> seeds[] = {
        MakeBmp(5, 4, 24, {}, [](int x, int y) { return 0x010203u * (x + y); }),
        MakeBmp(7, 3, 8, std::vector<uint32_t>(256, 0x123456), [](int x, int) { return static_cast<uint32_t>(x); }),
        MakeBmp(9, 2, 1, {0, 0xFFFFFF}, [](int x, int) { return static_cast<uint32_t>(x & 1); }),
        MakeBmp(3, 3, 32, {}, [](int x, int) { return 0xFF000000u | x; }, true),
    };
    const uint32_t interesting[] = {0, 1, 12, 40, 54, 0x7FFFFFFF, 0x80000000u, 0xFFFFFFFFu, 0x10000, 1078};
    std::mt19937 rng(20240611);
    int decoded = 0;
    for (int round = 0; round < 4000; round++) {
        std::vector<uint8_t> bytes = seeds[round % 4];
        const size_t headerEnd = bytes[10] + (bytes[11] << 8);  // the seeds' bits offset (< 65536)
        const int changes = 1 + static_cast<int>(rng() % 4);
        for (int k = 0; k < changes; k++) {
            switch (rng() % 4) {
            case 0: bytes[rng() % headerEnd] = static_cast<uint8_t>(rng()); break;
            case 1: {
                const size_t fields[] = {2, 10, 14, 18, 22, 26, 28, 30, 34, 46};
                PutU32(bytes, fields[rng() % 10], interesting[rng() % 10]);
                break;
            }
            case 2: bytes.resize(bytes.size() - rng() % (bytes.size() / 2)); break;
            default: PutU32(bytes, 2, static_cast<uint32_t>(bytes.size())); break;
            }
        }
        if (bytes.size() < 6)
            continue;
        GuardedBytes data(bytes);
        HBITMAP bitmap = DecodeImage(data.Data(), data.Size());
        if (!bitmap)
            continue;
        decoded++;
        DIBSECTION ds;
        ASSERT_EQ(static_cast<int>(sizeof ds), GetObject(bitmap, sizeof ds, &ds)) << round;
        const uint64_t rows = static_cast<uint64_t>(ds.dsBm.bmWidthBytes) * ds.dsBm.bmHeight;
        const uint32_t offBits = bytes[10] | bytes[11] << 8 | bytes[12] << 16 | static_cast<uint32_t>(bytes[13]) << 24;
        EXPECT_LE(offBits + rows, bytes.size()) << round;
        DeleteObject(bitmap);
    }
    EXPECT_GT(decoded, 0);  // some mutations leave a valid picture
}

// ---- GIF, JPEG and PNG ------------------------------------------------------------

TEST(ImageDecoder, GifBecomesAScreenBitmap)
{
    HBITMAP bitmap = LoadResourceOrFile(GetModuleHandle(NULL), MAKEINTRESOURCEA(kTinyGifResource), RT_RCDATA,
                                        MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
    ASSERT_TRUE(bitmap != NULL);
    EXPECT_EQ(0, DibDepth(bitmap));  // redrawn through its palette
    EXPECT_EQ(kTinyPixels, BitmapPixels(bitmap));
    DeleteObject(bitmap);

    // Cut short after the colour table: no image.
    HRSRC info = FindResourceA(NULL, MAKEINTRESOURCEA(kTinyGifResource), RT_RCDATA);
    const BYTE* gif = static_cast<const BYTE*>(LockResource(LoadResource(NULL, info)));
    EXPECT_EQ(NULL, DecodeImage(gif, 13 + 24));
}

// A packed 24-bit DIB in global memory: left half red, right half blue.
HGLOBAL MakeGlobalDib(int width, int height)
{
    const size_t rowBytes = ((width * 24 + 31) / 32) * 4;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(BITMAPINFOHEADER) + rowBytes * height);
    BYTE* p = static_cast<BYTE*>(GlobalLock(block));
    BITMAPINFOHEADER* h = reinterpret_cast<BITMAPINFOHEADER*>(p);
    h->biSize = sizeof *h;
    h->biWidth = width;
    h->biHeight = height;
    h->biPlanes = 1;
    h->biBitCount = 24;
    BYTE* bits = p + sizeof *h;
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            BYTE* px = bits + y * rowBytes + x * 3;
            px[0] = x < width / 2 ? 0 : 255;
            px[2] = x < width / 2 ? 255 : 0;
        }
    GlobalUnlock(block);
    return block;
}

TEST(ImageDecoder, JpegRoundTripThroughTheLibrary)
{
    TempFolder folder;
    const std::string path = folder.Path() + "snapshot.jpg";
    HGLOBAL dib = MakeGlobalDib(32, 16);
    ASSERT_TRUE(imagelibs::WriteDibToJpeg(dib, path.c_str(), 95));
    GlobalFree(dib);
    const std::vector<uint8_t> jpeg = ReadAll(path);
    ASSERT_GT(jpeg.size(), 100u);
    EXPECT_EQ(ImageFormat::Jpeg, GetImageFormat(jpeg.data(), static_cast<DWORD>(jpeg.size())));

    HBITMAP bitmap = DecodeImage(jpeg.data(), static_cast<DWORD>(jpeg.size()));
    ASSERT_TRUE(bitmap != NULL);
    int w, h;
    std::vector<uint32_t> px = BitmapPixels(bitmap, &w, &h);
    ASSERT_EQ(32, w);
    ASSERT_EQ(16, h);
    auto similar = [](uint32_t got, uint32_t want) {
        for (int shift = 0; shift < 24; shift += 8)
            if (abs(static_cast<int>((got >> shift) & 0xFF) - static_cast<int>((want >> shift) & 0xFF)) > 24)
                return false;
        return true;
    };
    EXPECT_TRUE(similar(px[8 * 32 + 4], 0xFF0000)) << std::hex << px[8 * 32 + 4];
    EXPECT_TRUE(similar(px[8 * 32 + 28], 0x0000FF)) << std::hex << px[8 * 32 + 28];
    DeleteObject(bitmap);

    // The same file read by LoadResourceOrFile.
    bitmap = LoadResourceOrFile(NULL, path.c_str(), NULL, 0);
    EXPECT_TRUE(bitmap != NULL);
    DeleteObject(bitmap);
}

TEST(ImageDecoder, PngRoundTripThroughTheLibrary)
{
    std::vector<uint8_t> bmp = MakeBmp(3, 2, 24, {}, [](int x, int y) { return kTinyPixels[y * 3 + x]; });
    HBITMAP source = DecodeImage(bmp.data(), static_cast<DWORD>(bmp.size()));
    ASSERT_TRUE(source != NULL);
    HGLOBAL png = NULL;
    const DWORD bytes = imagelibs::WriteBmpToPNGMem(source, &png);
    DeleteObject(source);
    ASSERT_GT(bytes, 8u);
    const BYTE* data = static_cast<const BYTE*>(GlobalLock(png));
    EXPECT_EQ(ImageFormat::Png, GetImageFormat(data, bytes));
    HBITMAP bitmap = DecodeImage(data, bytes);
    ASSERT_TRUE(bitmap != NULL);
    EXPECT_EQ(kTinyPixels, BitmapPixels(bitmap));
    DeleteObject(bitmap);

    // A broken PNG is refused by the library.
    std::vector<uint8_t> broken(data, data + bytes);
    GlobalUnlock(png);
    GlobalFree(png);
    broken.resize(40);
    EXPECT_EQ(NULL, DecodeImage(broken.data(), static_cast<DWORD>(broken.size())));
}

// ---- Resources and files ------------------------------------------------------------

TEST(ImageDecoder, ResourcesAndFiles)
{
    HBITMAP bitmap = LoadResourceOrFile(GetModuleHandle(NULL), MAKEINTRESOURCEA(kTinyBmpResource), RT_RCDATA,
                                        MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
    ASSERT_TRUE(bitmap != NULL);
    EXPECT_EQ(24, DibDepth(bitmap));
    EXPECT_EQ(kTinyPixels, BitmapPixels(bitmap));
    DeleteObject(bitmap);
    EXPECT_EQ(NULL, LoadResourceOrFile(GetModuleHandle(NULL), MAKEINTRESOURCEA(999), RT_RCDATA, 0));

    TempFolder folder;
    const std::string picture = folder.Write("picture.bmp", MakeBmp(2, 2, 8, {0x112233, 0x445566}, [](int x, int) {
        return static_cast<uint32_t>(x);
    }));
    bitmap = LoadResourceOrFile(NULL, picture.c_str(), NULL, 0);
    ASSERT_TRUE(bitmap != NULL);
    EXPECT_EQ(8, DibDepth(bitmap));
    EXPECT_EQ((std::vector<uint32_t>{0x112233, 0x445566, 0x112233, 0x445566}), BitmapPixels(bitmap));
    DeleteObject(bitmap);

    const std::string empty = folder.Write("empty.bmp", {});
    EXPECT_EQ(NULL, LoadResourceOrFile(NULL, empty.c_str(), NULL, 0));
    EXPECT_EQ(NULL, LoadResourceOrFile(NULL, (folder.Path() + "missing.bmp").c_str(), NULL, 0));
    EXPECT_EQ(NULL, LoadResourceOrFile(NULL, NULL, NULL, 0));
}

// The 16-bit surface reads pictures through the decoder: the same picture
// from a resource (BMP and GIF), a file and a block in memory.
TEST(ImageDecoder, SurfaceLoadsThroughTheDecoder)
{
    const std::vector<WORD> tiny565 = {0xF800, 0x07E0, 0x001F, 0xFFFF, 0x0000, 0x8410};
    auto surfacePixels = [](const CQVMemBitmap& surface) {
        std::vector<WORD> out;
        for (int y = 0; y < surface.GetHeight(); ++y)
            for (int x = 0; x < surface.GetWidth(); ++x)
                out.push_back(surface.GetPixel16(x, y));
        return out;
    };
    const std::vector<uint8_t> bmp = MakeBmp(3, 2, 24, {}, [](int x, int y) { return kTinyPixels[y * 3 + x]; });
    TempFolder folder;
    const std::string file = folder.Write("tiny.bmp", bmp);

    struct Case { const char* what; std::function<BOOL(CQVMemBitmap&)> load; };
    const Case cases[] = {
        {"bmp resource", [](CQVMemBitmap& s) {
             return s.LoadFromResourceOrFile(GetModuleHandle(NULL), MAKEINTRESOURCEA(kTinyBmpResource), RT_RCDATA, 0); }},
        {"gif resource", [](CQVMemBitmap& s) {
             return s.LoadFromResourceOrFile(GetModuleHandle(NULL), MAKEINTRESOURCEA(kTinyGifResource), RT_RCDATA, 0); }},
        {"file", [&](CQVMemBitmap& s) { return s.LoadFromFile(file.c_str()); }},
        {"encoded", [&](CQVMemBitmap& s) { return s.LoadFromEncoded(bmp.data(), static_cast<DWORD>(bmp.size())); }},
    };
    for (const Case& c : cases) {
        CQVMemBitmap surface;
        ASSERT_TRUE(c.load(surface)) << c.what;
        EXPECT_EQ(3, surface.GetWidth()) << c.what;
        EXPECT_EQ(tiny565, surfacePixels(surface)) << c.what;
    }

    CQVMemBitmap surface;
    EXPECT_FALSE(surface.LoadFromResourceOrFile(GetModuleHandle(NULL), MAKEINTRESOURCEA(999), RT_RCDATA, 0));
    EXPECT_FALSE(surface.LoadFromFile((folder.Path() + "missing.bmp").c_str()));
    EXPECT_FALSE(surface.LoadFromEncoded(bmp.data(), 5));
    EXPECT_FALSE(surface.HasPixels());
}

TEST(ImageDecoder, DialogTemplateCopy)
{
    void* copy = reinterpret_cast<void*>(1);
    const DWORD size = LoadDialogTemplate(&copy, GetModuleHandle(NULL), MAKEINTRESOURCEA(kDialogResource));
    ASSERT_GT(size, 0u);
    ASSERT_TRUE(copy != NULL);
    HRSRC info = FindResourceA(NULL, MAKEINTRESOURCEA(kDialogResource), RT_DIALOG);
    EXPECT_EQ(SizeofResource(NULL, info), size);
    EXPECT_EQ(0, memcmp(copy, LockResource(LoadResource(NULL, info)), size));
    free(copy);

    copy = reinterpret_cast<void*>(1);
    EXPECT_EQ(0u, LoadDialogTemplate(&copy, GetModuleHandle(NULL), MAKEINTRESOURCEA(999)));
    EXPECT_EQ(NULL, copy);
}

}  // namespace
