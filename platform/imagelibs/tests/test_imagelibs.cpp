// VEDAD.dll and DAVUZ.dll bound by name as the program binds them, plus the packed-DIB
// checks they share.
#include <gtest/gtest.h>
#include <windows.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "davuz.h"
#include "pictures.h"
#include "vedad.h"

namespace {

std::string ExeFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p(path);
    return p.substr(0, p.find_last_of('\\') + 1);
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A fresh folder for the files a test writes, removed with what is in it.
class ScratchFolder {
public:
    ScratchFolder()
    {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        path_ = std::string(temp) + "imagelibs-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~ScratchFolder()
    {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((path_ + "\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                    DeleteFileA((path_ + "\\" + found.cFileName).c_str());
            } while (FindNextFileA(search, &found));
            FindClose(search);
        }
        RemoveDirectoryA(path_.c_str());
    }
    std::string File(const char* name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

class Library {
public:
    explicit Library(const char* name) : module_(LoadLibraryA((ExeFolder() + name).c_str())) {}
    ~Library()
    {
        if (module_)
            FreeLibrary(module_);
    }
    bool Loaded() const { return module_ != nullptr; }
    template <typename Proc>
    Proc Get(const char* name) const
    {
        return reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
    }

private:
    HMODULE module_;
};

struct Rgb {
    int r, g, b;
};

// 16 x 16 quadrants, as seen from the top: red, green / blue, white.
Rgb QuadrantColor(int x, int y)
{
    static const Rgb colors[] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
    return colors[(y >= 8) * 2 + (x >= 8)];
}

// A packed 24-bit DIB of the quadrants in a movable global block (rows bottom-up).
HGLOBAL MakeQuadrantDib()
{
    const int size = 16, stride = 48;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(BITMAPINFOHEADER) + stride * size);
    BYTE* p = static_cast<BYTE*>(GlobalLock(block));
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = size;
    header.biHeight = size;
    header.biPlanes = 1;
    header.biBitCount = 24;
    memcpy(p, &header, sizeof header);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            BYTE* px = p + sizeof header + stride * (size - 1 - y) + 3 * x;
            Rgb c = QuadrantColor(x, y);
            px[0] = static_cast<BYTE>(c.b);
            px[1] = static_cast<BYTE>(c.g);
            px[2] = static_cast<BYTE>(c.r);
        }
    GlobalUnlock(block);
    return block;
}

// A top-down 32-bit DIB section filled by fill(x, y) -> 0xAARRGGBB.
HBITMAP MakeSection(int width, int height, uint32_t (*fill)(int, int))
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            static_cast<uint32_t*>(bits)[y * width + x] = fill(x, y);
    return bitmap;
}

// Every pixel of a bitmap as 0xAARRGGBB, rows top first; bits per pixel in *depth.
std::vector<uint32_t> PixelsOf(HBITMAP bitmap, int* width, int* height, int* depth)
{
    DIBSECTION section = {};
    GetObjectA(bitmap, sizeof section, &section);
    *width = section.dsBm.bmWidth;
    *height = section.dsBm.bmHeight;
    *depth = section.dsBm.bmBitsPixel;
    std::vector<uint32_t> pixels(static_cast<size_t>(*width) * *height);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = *width;
    info.bmiHeader.biHeight = -*height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    HDC dc = CreateCompatibleDC(nullptr);
    GetDIBits(dc, bitmap, 0, *height, pixels.data(), &info, DIB_RGB_COLORS);
    DeleteDC(dc);
    return pixels;
}

::testing::AssertionResult ShowsQuadrants(HBITMAP bitmap, int tolerance)
{
    int width = 0, height = 0, depth = 0;
    std::vector<uint32_t> pixels = PixelsOf(bitmap, &width, &height, &depth);
    if (width != 16 || height != 16)
        return ::testing::AssertionFailure() << "size " << width << "x" << height;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            if ((x % 8) == 0 || (x % 8) == 7 || (y % 8) == 0 || (y % 8) == 7)
                continue;  // JPEG blurs the edges between quadrants
            uint32_t p = pixels[y * 16 + x];
            Rgb want = QuadrantColor(x, y);
            int got[3] = {static_cast<int>(p >> 16 & 255), static_cast<int>(p >> 8 & 255), static_cast<int>(p & 255)};
            int expected[3] = {want.r, want.g, want.b};
            for (int c = 0; c < 3; ++c)
                if (abs(got[c] - expected[c]) > tolerance) {
                    char text[64];
                    snprintf(text, sizeof text, "pixel %d,%d is 0x%06X", x, y, static_cast<unsigned>(p & 0xFFFFFF));
                    return ::testing::AssertionFailure() << text;
                }
        }
    return ::testing::AssertionSuccess();
}

uint32_t Crc32(const BYTE* data, size_t size)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

void PutBE32(std::vector<BYTE>& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<BYTE>(v >> (24 - 8 * i));
}

std::vector<BYTE> BlockBytes(HGLOBAL block, DWORD size)
{
    const BYTE* p = static_cast<const BYTE*>(GlobalLock(block));
    std::vector<BYTE> bytes(p, p + size);
    GlobalUnlock(block);
    return bytes;
}

class ImageLibs : public ::testing::Test {
protected:
    Library vedad{"VEDAD.dll"};
    Library davuz{"DAVUZ.dll"};
    ScratchFolder scratch;

    void SetUp() override { ASSERT_TRUE(vedad.Loaded() && davuz.Loaded()); }

    // JPEG bytes of the quadrant picture.
    std::vector<BYTE> QuadrantJpeg(int quality)
    {
        auto write = vedad.Get<WriteDibToJpegMEMProc>("WriteDibToJpegMEM");
        HGLOBAL dib = MakeQuadrantDib();
        HGLOBAL jpeg = nullptr;
        DWORD size = write(dib, quality, &jpeg);
        GlobalFree(dib);
        if (!size)
            return {};
        std::vector<BYTE> bytes = BlockBytes(jpeg, size);
        GlobalFree(jpeg);
        return bytes;
    }

    // PNG bytes of a 3 x 2 picture with alpha.
    std::vector<BYTE> SmallPng()
    {
        auto write = davuz.Get<WriteImageDataToPNGMemProc>("WriteImageDataToPNGMem");
        const BYTE rows[2][12] = {{0, 0, 255, 255, 0, 255, 0, 128, 255, 0, 0, 0}, {9, 9, 9, 255, 9, 9, 9, 255, 9, 9, 9, 255}};
        HGLOBAL png = nullptr;
        DWORD size = write(&rows[0][0], 3, 2, 32, 12, IMAGE_ROWS_TOPDOWN, &png);
        if (!size)
            return {};
        std::vector<BYTE> bytes = BlockBytes(png, size);
        GlobalFree(png);
        return bytes;
    }
};

TEST_F(ImageLibs, EveryEntryIsExportedUnderItsPlainName)
{
    for (const char* name : {"LoadJpgFileImageData", "LoadJpgImageDataFromMem", "LoadJpgFile", "LoadJpgFromMem",
                             "WriteBitmapToJpeg", "WriteDibToJpeg", "WriteDibToJpegMEM", "GetPointerFromHandleLock",
                             "UnLockDataHandle", "FreeDataHandle"})
        EXPECT_NE(vedad.Get<FARPROC>(name), nullptr) << name;
    for (const char* name : {"LoadPNGFile", "LoadPNGFromMem", "WriteBmpToPNGMem", "WriteBmpToPNGFile",
                             "WriteImageDataToPNGMem"})
        EXPECT_NE(davuz.Get<FARPROC>(name), nullptr) << name;
}

// The table's snapshot: a global DIB written to a file whose name has Chinese characters.
TEST_F(ImageLibs, JpegRoundTripOfAGlobalDibThroughFileAndMemory)
{
    auto writeFile = vedad.Get<WriteDibToJpegProc>("WriteDibToJpeg");
    auto loadFile = vedad.Get<LoadJpgFileProc>("LoadJpgFile");
    auto writeMem = vedad.Get<WriteDibToJpegMEMProc>("WriteDibToJpegMEM");
    auto loadMem = vedad.Get<LoadJpgFromMemProc>("LoadJpgFromMem");
    auto lock = vedad.Get<GetPointerFromHandleLockProc>("GetPointerFromHandleLock");
    auto unlock = vedad.Get<UnLockDataHandleProc>("UnLockDataHandle");
    auto release = vedad.Get<FreeDataHandleProc>("FreeDataHandle");
    HGLOBAL dib = MakeQuadrantDib();

    const std::string path = scratch.File("2024年05月06日07时08分09秒010.jpg");
    ASSERT_TRUE(writeFile(dib, path.c_str(), 80));
    EXPECT_TRUE(FileExists(path));
    EXPECT_FALSE(FileExists(path + ".part"));
    HBITMAP bitmap = nullptr;
    HPALETTE palette = reinterpret_cast<HPALETTE>(1);
    int width = 0, height = 0;
    ASSERT_TRUE(loadFile(path.c_str(), &bitmap, &palette, &width, &height));
    EXPECT_EQ(palette, nullptr);
    EXPECT_EQ(width, 16);
    EXPECT_EQ(height, 16);
    EXPECT_TRUE(ShowsQuadrants(bitmap, 24));
    DeleteObject(bitmap);

    HGLOBAL jpeg = nullptr;
    DWORD size = writeMem(dib, 95, &jpeg);
    ASSERT_GT(size, 0u);
    const BYTE* bytes = static_cast<const BYTE*>(lock(jpeg));
    ASSERT_NE(bytes, nullptr);
    ASSERT_TRUE(loadMem(bytes, size, &bitmap, nullptr, nullptr, nullptr));
    EXPECT_TRUE(ShowsQuadrants(bitmap, 16));
    DeleteObject(bitmap);
    EXPECT_TRUE(unlock(jpeg));
    EXPECT_TRUE(release(jpeg));
    GlobalFree(dib);
}

TEST_F(ImageLibs, JpegQualityIsApplied)
{
    std::vector<BYTE> low = QuadrantJpeg(5), high = QuadrantJpeg(100), clamped = QuadrantJpeg(1000);
    ASSERT_FALSE(low.empty());
    EXPECT_LT(low.size(), high.size());
    EXPECT_EQ(clamped, high);
}

TEST_F(ImageLibs, JpegImageDataComesBottomUpOrTopDown)
{
    auto load = vedad.Get<LoadJpgImageDataFromMemProc>("LoadJpgImageDataFromMem");
    auto release = vedad.Get<FreeDataHandleProc>("FreeDataHandle");
    std::vector<BYTE> jpeg = QuadrantJpeg(100);
    ASSERT_FALSE(jpeg.empty());
    for (DWORD flags : {0u, IMAGE_ROWS_TOPDOWN}) {
        HGLOBAL rows = nullptr;
        DWORD size = 0;
        int width = 0, height = 0, bpp = 0, stride = 0;
        ASSERT_TRUE(load(jpeg.data(), static_cast<DWORD>(jpeg.size()), &rows, &size, &width, &height, &bpp, &stride,
                         flags));
        EXPECT_EQ(width, 16);
        EXPECT_EQ(height, 16);
        EXPECT_EQ(bpp, 24);
        EXPECT_EQ(stride, 48);
        EXPECT_EQ(size, 48u * 16u);
        std::vector<BYTE> bytes = BlockBytes(rows, size);
        // The first stored row is the bottom one (blue, white) unless rows come top first.
        const BYTE* first = &bytes[4 * 3];
        if (flags & IMAGE_ROWS_TOPDOWN)
            EXPECT_TRUE(first[2] > 200 && first[1] < 40 && first[0] < 40) << "red expected";
        else
            EXPECT_TRUE(first[0] > 200 && first[1] < 40 && first[2] < 40) << "blue expected";
        EXPECT_TRUE(release(rows));
    }
}

TEST_F(ImageLibs, GreyRowsWrittenAsJpegReadBackAsGreyImageData)
{
    auto write = vedad.Get<WriteBitmapToJpegProc>("WriteBitmapToJpeg");
    auto load = vedad.Get<LoadJpgFileImageDataProc>("LoadJpgFileImageData");
    // 10 x 4 grey rows with a padded stride, bottom-up: the top row (stored last) is white.
    std::vector<BYTE> rows(12 * 4, 0);
    memset(&rows[12 * 3], 255, 10);
    const std::string path = scratch.File("grey.jpg");
    ASSERT_TRUE(write(rows.data(), 10, 4, 8, 12, 0, path.c_str(), 100));
    HGLOBAL data = nullptr;
    DWORD size = 0;
    int width = 0, height = 0, bpp = 0, stride = 0;
    ASSERT_TRUE(load(path.c_str(), &data, &size, &width, &height, &bpp, &stride, IMAGE_ROWS_TOPDOWN));
    EXPECT_EQ(bpp, 8);
    EXPECT_EQ(stride, 12);
    std::vector<BYTE> back = BlockBytes(data, size);
    EXPECT_GT(back[2], 200);               // top row
    EXPECT_LT(back[12 * 3 + 2], 60);       // bottom row
    GlobalFree(data);
}

TEST_F(ImageLibs, PngRoundTripsAreExact)
{
    auto toMem = davuz.Get<WriteBmpToPNGMemProc>("WriteBmpToPNGMem");
    auto toFile = davuz.Get<WriteBmpToPNGFileProc>("WriteBmpToPNGFile");
    auto fromMem = davuz.Get<LoadPNGFromMemProc>("LoadPNGFromMem");
    auto fromFile = davuz.Get<LoadPNGFileProc>("LoadPNGFile");
    struct Case {
        const char* what;
        uint32_t (*fill)(int, int);
        int depth;  // of the picture read back
    };
    const Case cases[] = {
        {"opaque", [](int x, int y) -> uint32_t { return static_cast<uint32_t>(x * 40) << 16 | (y * 30) << 8 | 7; }, 24},
        {"alpha", [](int x, int y) -> uint32_t { return static_cast<uint32_t>(x * 50) << 24 | (y * 30) << 8 | 200; }, 32},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HBITMAP source = MakeSection(5, 3, c.fill);
        int w = 0, h = 0, depth = 0;
        std::vector<uint32_t> want = PixelsOf(source, &w, &h, &depth);
        if (c.depth == 24)
            for (uint32_t& p : want)
                p &= 0xFFFFFF;

        HGLOBAL png = nullptr;
        DWORD size = toMem(source, &png);
        ASSERT_GT(size, 0u);
        std::vector<BYTE> bytes = BlockBytes(png, size);
        GlobalFree(png);
        HBITMAP back = nullptr;
        int width = 0, height = 0;
        ASSERT_TRUE(fromMem(bytes.data(), size, &back, nullptr, &width, &height));
        EXPECT_EQ(width, 5);
        EXPECT_EQ(height, 3);
        std::vector<uint32_t> got = PixelsOf(back, &w, &h, &depth);
        EXPECT_EQ(depth, c.depth);
        if (c.depth == 24)
            for (uint32_t& p : got)
                p &= 0xFFFFFF;
        EXPECT_EQ(got, want);
        DeleteObject(back);

        const std::string path = scratch.File("图片.png");
        ASSERT_TRUE(toFile(source, path.c_str()));
        ASSERT_TRUE(fromFile(path.c_str(), &back, nullptr, nullptr, nullptr));
        got = PixelsOf(back, &w, &h, &depth);
        if (c.depth == 24)
            for (uint32_t& p : got)
                p &= 0xFFFFFF;
        EXPECT_EQ(got, want);
        DeleteObject(back);
        DeleteObject(source);
    }
}

TEST_F(ImageLibs, PngFromImageDataKeepsAlphaAndGrey)
{
    auto write = davuz.Get<WriteImageDataToPNGMemProc>("WriteImageDataToPNGMem");
    auto load = davuz.Get<LoadPNGFromMemProc>("LoadPNGFromMem");
    std::vector<BYTE> png = SmallPng();
    ASSERT_FALSE(png.empty());
    HBITMAP bitmap = nullptr;
    ASSERT_TRUE(load(png.data(), static_cast<DWORD>(png.size()), &bitmap, nullptr, nullptr, nullptr));
    int w = 0, h = 0, depth = 0;
    std::vector<uint32_t> got = PixelsOf(bitmap, &w, &h, &depth);
    DeleteObject(bitmap);
    EXPECT_EQ(depth, 32);
    EXPECT_EQ(got[0], 0xFFFF0000u);
    EXPECT_EQ(got[1], 0x8000FF00u);
    EXPECT_EQ(got[2], 0x000000FFu);
    EXPECT_EQ(got[3], 0xFF090909u);

    const BYTE grey[2][4] = {{10, 20, 30, 0}, {40, 50, 60, 0}};  // bottom row first
    HGLOBAL block = nullptr;
    DWORD size = write(&grey[0][0], 3, 2, 8, 4, 0, &block);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> bytes = BlockBytes(block, size);
    GlobalFree(block);
    ASSERT_TRUE(load(bytes.data(), size, &bitmap, nullptr, nullptr, nullptr));
    got = PixelsOf(bitmap, &w, &h, &depth);
    DeleteObject(bitmap);
    EXPECT_EQ(got[0] & 0xFFFFFF, 0x282828u);  // top left: 40
    EXPECT_EQ(got[5] & 0xFFFFFF, 0x1E1E1Eu);  // bottom right: 30
}

TEST_F(ImageLibs, BadInputGivesZeroAndHandsNothingOut)
{
    auto loadJpg = vedad.Get<LoadJpgFromMemProc>("LoadJpgFromMem");
    auto loadPng = davuz.Get<LoadPNGFromMemProc>("LoadPNGFromMem");
    std::vector<BYTE> jpeg = QuadrantJpeg(90), png = SmallPng();
    ASSERT_FALSE(jpeg.empty() || png.empty());

    std::vector<BYTE> wideJpeg = jpeg;  // frame header claims 20000 x 16
    for (size_t i = 0; i + 8 < wideJpeg.size(); ++i)
        if (wideJpeg[i] == 0xFF && wideJpeg[i + 1] == 0xC0) {
            wideJpeg[i + 7] = 20000 >> 8;
            wideJpeg[i + 8] = 20000 & 255;
            break;
        }
    std::vector<BYTE> widePng = png;  // IHDR claims 20000 x 2, with a right checksum
    PutBE32(widePng, 16, 20000);
    PutBE32(widePng, 29, Crc32(&widePng[12], 17));
    std::vector<BYTE> noise(3000);
    for (size_t i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<BYTE>(i * 2654435761u >> 11);

    struct Case {
        const char* what;
        std::vector<BYTE> bytes;
        bool isPng;
    };
    const Case cases[] = {
        {"empty JPEG", {}, false},
        {"five bytes", {0xFF, 0xD8, 0xFF, 0xE0, 0}, false},
        {"JPEG cut in half", std::vector<BYTE>(jpeg.begin(), jpeg.begin() + jpeg.size() / 2), false},
        {"JPEG 20000 wide", wideJpeg, false},
        {"noise as JPEG", noise, false},
        {"PNG as JPEG", png, false},
        {"empty PNG", {}, true},
        {"PNG cut before its end", std::vector<BYTE>(png.begin(), png.end() - 20), true},
        {"PNG 20000 wide", widePng, true},
        {"noise as PNG", noise, true},
        {"JPEG as PNG", jpeg, true},
    };
    for (const Case& c : cases) {
        HBITMAP bitmap = reinterpret_cast<HBITMAP>(1);
        int width = -1;
        const BYTE* data = c.bytes.empty() ? nullptr : c.bytes.data();
        const DWORD size = static_cast<DWORD>(c.bytes.size());
        BOOL ok = c.isPng ? loadPng(data, size, &bitmap, nullptr, &width, nullptr)
                          : loadJpg(data, size, &bitmap, nullptr, &width, nullptr);
        EXPECT_FALSE(ok) << c.what;
        EXPECT_EQ(bitmap, nullptr) << c.what;
        EXPECT_EQ(width, 0) << c.what;
    }
    EXPECT_FALSE(loadJpg(jpeg.data(), static_cast<DWORD>(jpeg.size()), nullptr, nullptr, nullptr, nullptr));
    HBITMAP bitmap = nullptr;
    EXPECT_FALSE(vedad.Get<LoadJpgFileProc>("LoadJpgFile")(scratch.File("missing.jpg").c_str(), &bitmap, nullptr,
                                                           nullptr, nullptr));
    EXPECT_FALSE(davuz.Get<LoadPNGFileProc>("LoadPNGFile")(nullptr, &bitmap, nullptr, nullptr, nullptr));
    EXPECT_EQ(davuz.Get<WriteBmpToPNGMemProc>("WriteBmpToPNGMem")(nullptr, nullptr), 0u);
}

TEST_F(ImageLibs, FailedWritesLeaveNoFile)
{
    auto write = vedad.Get<WriteDibToJpegProc>("WriteDibToJpeg");
    HGLOBAL dib = MakeQuadrantDib();
    const std::string inMissingFolder = scratch.File("no such folder\\shot.jpg");
    EXPECT_FALSE(write(dib, inMissingFolder.c_str(), 80));

    BITMAPINFOHEADER* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(dib));
    header->biHeight = 17;  // one row more than the block holds
    GlobalUnlock(dib);
    const std::string path = scratch.File("bad.jpg");
    EXPECT_FALSE(write(dib, path.c_str(), 80));
    EXPECT_FALSE(FileExists(path));
    EXPECT_FALSE(FileExists(path + ".part"));
    EXPECT_FALSE(write(nullptr, path.c_str(), 80));
    GlobalFree(dib);
}

// A packed 8-bit DIB: 40-byte header, 256 colours, 3 x 2 rows of 4 bytes.
std::vector<BYTE> EightBitDib()
{
    std::vector<BYTE> dib(40 + 1024 + 8, 0);
    BITMAPINFOHEADER header = {};
    header.biSize = 40;
    header.biWidth = 3;
    header.biHeight = 2;
    header.biPlanes = 1;
    header.biBitCount = 8;
    memcpy(dib.data(), &header, sizeof header);
    return dib;
}

TEST(PackedDib, LayoutIsCheckedAgainstTheBlock)
{
    struct Case {
        const char* what;
        void (*change)(BITMAPINFOHEADER*);
        int dropBytes;
        bool ok;
        size_t bitsOffset;
    };
    const Case cases[] = {
        {"as made", [](BITMAPINFOHEADER*) {}, 0, true, 1064},
        {"top-down", [](BITMAPINFOHEADER* h) { h->biHeight = -2; }, 0, true, 1064},
        {"two colours", [](BITMAPINFOHEADER* h) { h->biClrUsed = 2; }, 0, true, 48},
        {"masks at 32 bits", [](BITMAPINFOHEADER* h) { h->biBitCount = 32; h->biCompression = BI_BITFIELDS; h->biClrUsed = 1; }, 0, true, 56},
        {"one byte short", [](BITMAPINFOHEADER*) {}, 1, false, 0},
        {"core header", [](BITMAPINFOHEADER* h) { h->biSize = 12; }, 0, false, 0},
        {"header larger than the block", [](BITMAPINFOHEADER* h) { h->biSize = 5000; }, 0, false, 0},
        {"no planes", [](BITMAPINFOHEADER* h) { h->biPlanes = 0; }, 0, false, 0},
        {"7 bits", [](BITMAPINFOHEADER* h) { h->biBitCount = 7; }, 0, false, 0},
        {"width 0", [](BITMAPINFOHEADER* h) { h->biWidth = 0; }, 0, false, 0},
        {"width -3", [](BITMAPINFOHEADER* h) { h->biWidth = -3; }, 0, false, 0},
        {"width 20000", [](BITMAPINFOHEADER* h) { h->biWidth = 20000; }, 0, false, 0},
        {"height 0", [](BITMAPINFOHEADER* h) { h->biHeight = 0; }, 0, false, 0},
        {"height INT_MIN", [](BITMAPINFOHEADER* h) { h->biHeight = INT_MIN; }, 0, false, 0},
        {"height 3", [](BITMAPINFOHEADER* h) { h->biHeight = 3; }, 0, false, 0},
        {"257 colours", [](BITMAPINFOHEADER* h) { h->biClrUsed = 257; }, 0, false, 0},
        {"run-length coded", [](BITMAPINFOHEADER* h) { h->biCompression = BI_RLE8; }, 0, false, 0},
        {"masks at 24 bits", [](BITMAPINFOHEADER* h) { h->biBitCount = 24; h->biCompression = BI_BITFIELDS; }, 0, false, 0},
    };
    for (const Case& c : cases) {
        std::vector<BYTE> dib = EightBitDib();
        c.change(reinterpret_cast<BITMAPINFOHEADER*>(dib.data()));
        imagelibs::PackedDibLayout layout;
        EXPECT_EQ(imagelibs::ParsePackedDib(dib.data(), dib.size() - c.dropBytes, &layout), c.ok) << c.what;
        if (c.ok) {
            EXPECT_EQ(layout.bitsOffset, c.bitsOffset) << c.what;
            EXPECT_EQ(layout.height, 2) << c.what;
        }
    }
    imagelibs::PackedDibLayout layout;
    EXPECT_FALSE(imagelibs::ParsePackedDib(nullptr, 100, &layout));
}

}  // namespace
