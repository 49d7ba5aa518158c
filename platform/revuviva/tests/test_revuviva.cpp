// REVUVIVA.dll bound by name: the 21 entries, GIF frames with their offsets,
// delays, disposal and transparency, the handles' misuse, TGA pictures of
// every kind, and bounded mutation of both formats.
#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "GdiObjectCount.h"
#include "revuviva.h"

namespace {

using Bytes = std::vector<BYTE>;

struct Api
{
    HMODULE module = NULL;
    GetNextRawFrameDataProc GetNextRawFrameData;
    GetGlobalColorIndexDataProc GetGlobalColorIndexData;
    GetGlobalColorIndexTotalProc GetGlobalColorIndexTotal;
    GetNextImageProc GetNextImage;
    GetImageSizeProc GetImageSize;
    CloseGifHandleProc CloseGifHandle;
    LoadGifFromMemProc LoadGifFromMem;
    LoadGifFileProc LoadGifFile;
    ResetProc Reset;
    CreateCurrentBmpProc CreateCurrentBmp;
    LoadTGAFileProc LoadTGAFile;
    LoadTgaFromMemProc LoadTgaFromMem;
    CreateBitmapFromTGAProc CreateBitmapFromTGA;
    CloseTGAHandleProc CloseTGAHandle;
    GetTgaWidthProc GetTgaWidth;
    GetTgaHeightProc GetTgaHeight;
    GetTgaPalNumProc GetTgaPalNum;
    GetTgaPixelDepthProc GetTgaPixelDepth;
    GetTgaGetImageDataProc GetTgaGetImageData;
    GetTgaGetImagePalDataProc GetTgaGetImagePalData;
    GetTgaGetImageAlphaDataProc GetTgaGetImageAlphaData;
};

// The entry names in the order the binding resolves them.
const char* const kEntries[21] = {
    "GetNextRawFrameData", "GetGlobalColorIndexData", "GetGlobalColorIndexTotal", "GetNextImage",
    "GetImageSize",        "CloseGifHandle",          "LoadGifFromMem",           "LoadGifFile",
    "Reset",               "CreateCurrentBmp",        "LoadTGAFile",              "LoadTgaFromMem",
    "CreateBitmapFromTGA", "CloseTGAHandle",          "GetTgaWidth",              "GetTgaHeight",
    "GetTgaPalNum",        "GetTgaPixelDepth",        "GetTgaGetImageData",       "GetTgaGetImagePalData",
    "GetTgaGetImageAlphaData",
};

template <typename T>
void BindOne(HMODULE m, const char* name, T& slot)
{
    slot = reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(m, name)));
}

const Api& Library()
{
    static Api api = [] {
        Api a;
        a.module = LoadLibraryA("REVUVIVA.dll");
        if (!a.module)
            return a;
        HMODULE m = a.module;
        BindOne(m, kEntries[0], a.GetNextRawFrameData);
        BindOne(m, kEntries[1], a.GetGlobalColorIndexData);
        BindOne(m, kEntries[2], a.GetGlobalColorIndexTotal);
        BindOne(m, kEntries[3], a.GetNextImage);
        BindOne(m, kEntries[4], a.GetImageSize);
        BindOne(m, kEntries[5], a.CloseGifHandle);
        BindOne(m, kEntries[6], a.LoadGifFromMem);
        BindOne(m, kEntries[7], a.LoadGifFile);
        BindOne(m, kEntries[8], a.Reset);
        BindOne(m, kEntries[9], a.CreateCurrentBmp);
        BindOne(m, kEntries[10], a.LoadTGAFile);
        BindOne(m, kEntries[11], a.LoadTgaFromMem);
        BindOne(m, kEntries[12], a.CreateBitmapFromTGA);
        BindOne(m, kEntries[13], a.CloseTGAHandle);
        BindOne(m, kEntries[14], a.GetTgaWidth);
        BindOne(m, kEntries[15], a.GetTgaHeight);
        BindOne(m, kEntries[16], a.GetTgaPalNum);
        BindOne(m, kEntries[17], a.GetTgaPixelDepth);
        BindOne(m, kEntries[18], a.GetTgaGetImageData);
        BindOne(m, kEntries[19], a.GetTgaGetImagePalData);
        BindOne(m, kEntries[20], a.GetTgaGetImageAlphaData);
        return a;
    }();
    return api;
}

Bytes ReadFile(const std::string& path)
{
    Bytes bytes;
    if (FILE* f = fopen(path.c_str(), "rb")) {
        BYTE buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, f)) > 0)
            bytes.insert(bytes.end(), buffer, buffer + n);
        fclose(f);
    }
    return bytes;
}

Bytes Gif(const char* name) { return ReadFile(std::string("fixtures\\gif\\") + name); }
Bytes Tga(const char* name) { return ReadFile(std::string("fixtures\\revuviva\\") + name); }

// A bitmap's pixels as 0x00RRGGBB, top row first.
std::vector<uint32_t> Pixels(HBITMAP bitmap)
{
    std::vector<uint32_t> out;
    BITMAP bm;
    if (!bitmap || !GetObject(bitmap, sizeof bm, &bm))
        return out;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = bm.bmWidth;
    info.bmiHeader.biHeight = -bm.bmHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    out.resize(static_cast<size_t>(bm.bmWidth) * bm.bmHeight);
    HDC screen = GetDC(NULL);
    GetDIBits(screen, bitmap, 0, bm.bmHeight, out.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(NULL, screen);
    for (uint32_t& p : out)
        p &= 0xFFFFFF;
    return out;
}

uint32_t Rgb32(COLORREF c) { return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF); }

const COLORREF kRows[8] = {RGB(255, 0, 0),   RGB(0, 255, 0),   RGB(0, 0, 255),   RGB(255, 255, 0),
                           RGB(255, 0, 255), RGB(0, 255, 255), RGB(128, 64, 32), RGB(32, 64, 128)};
const int kGreys[8] = {0, 20, 40, 80, 120, 160, 200, 255};

// A copy of the data that ends where readable memory ends.
class GuardedBuffer
{
public:
    explicit GuardedBuffer(const Bytes& data)
    {
        const size_t page = 4096, pages = (data.size() + page - 1) / page;
        base_ = static_cast<BYTE*>(VirtualAlloc(NULL, (pages + 1) * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD old;
        VirtualProtect(base_ + pages * page, page, PAGE_NOACCESS, &old);
        data_ = base_ + pages * page - data.size();
        if (!data.empty())
            memcpy(data_, data.data(), data.size());
        size_ = static_cast<DWORD>(data.size());
    }
    ~GuardedBuffer() { VirtualFree(base_, 0, MEM_RELEASE); }
    const BYTE* data() const { return data_; }
    DWORD size() const { return size_; }

private:
    BYTE* base_;
    BYTE* data_;
    DWORD size_;
};

class Revuviva : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_NE(nullptr, Library().module) << "REVUVIVA.dll beside the test"; }
    const Api& lib = Library();
};

}  // namespace

TEST_F(Revuviva, ExportsEveryEntry)
{
    for (const char* name : kEntries)
        EXPECT_NE(nullptr, reinterpret_cast<void*>(GetProcAddress(lib.module, name))) << name;
}

// ---- GIF ------------------------------------------------------------------------------------

TEST_F(Revuviva, AnimationFrames)
{
    const Bytes gif = Gif("anim.gif");
    ASSERT_FALSE(gif.empty());
    HGIFIMAGE h = lib.LoadGifFromMem(gif.data(), static_cast<DWORD>(gif.size()), TRUE);
    ASSERT_NE(nullptr, h);
    int width = 0, height = 0;
    COLORREF background = 1;
    ASSERT_TRUE(lib.GetImageSize(h, &width, &height, &background));
    EXPECT_EQ(16, width);
    EXPECT_EQ(12, height);
    EXPECT_EQ(RGB(255, 0, 0), background);  // a plain COLORREF

    int backgroundIndex = -1;
    EXPECT_EQ(2, lib.GetGlobalColorIndexTotal(h, &backgroundIndex));
    EXPECT_EQ(0, backgroundIndex);
    BYTE table[6] = {};
    EXPECT_FALSE(lib.GetGlobalColorIndexData(h, table, 5));
    ASSERT_TRUE(lib.GetGlobalColorIndexData(h, table, 6));
    EXPECT_EQ(0, memcmp(table, "\xFF\0\0\0\0\0", 6));

    struct Frame
    {
        int x, y, width, height, delay, disposal;
        BOOL transparent;
        COLORREF colour;
    } frames[] = {
        {0, 0, 16, 12, 50, 1, FALSE, RGB(255, 0, 0)},
        {3, 2, 5, 4, 70, 2, FALSE, RGB(0, 0, 255)},
        {1, 6, 6, 3, 1000, 3, TRUE, RGB(0, 255, 0)},
    };
    for (const Frame& f : frames) {
        int x = -1, y = -1, w = 0, fh = 0, index = -1, disposal = -1, delay = -1;
        BOOL transparent = -1;
        HBITMAP bitmap = NULL;
        HPALETTE palette = NULL;
        ASSERT_EQ(TRUE,
                  lib.GetNextImage(h, &x, &y, &w, &fh, &bitmap, &transparent, &index, &palette, &disposal, &delay));
        EXPECT_EQ(f.x, x);
        EXPECT_EQ(f.y, y);
        EXPECT_EQ(f.width, w);
        EXPECT_EQ(f.height, fh);
        EXPECT_EQ(f.delay, delay);
        EXPECT_EQ(f.disposal, disposal);
        EXPECT_EQ(f.transparent, transparent);
        EXPECT_EQ(2u, GetPaletteEntries(palette, 0, 0, NULL));
        const std::vector<uint32_t> pixels = Pixels(bitmap);
        ASSERT_EQ(static_cast<size_t>(w * fh), pixels.size());
        if (f.transparent) {
            // The transparent pixels carry the background colour; keyed on it,
            // only the one drawn point reaches the target.
            EXPECT_EQ(1, index);
            for (int i = 0; i < w * fh; ++i)
                EXPECT_EQ(i == w + 1 ? Rgb32(f.colour) : Rgb32(background), pixels[i]) << i;
            HDC screen = GetDC(NULL);
            HDC target = CreateCompatibleDC(screen), source = CreateCompatibleDC(screen);
            HBITMAP canvas = CreateCompatibleBitmap(screen, w, fh);
            ReleaseDC(NULL, screen);
            HGDIOBJ oldCanvas = SelectObject(target, canvas), oldSource = SelectObject(source, bitmap);
            RECT all = {0, 0, w, fh};
            FillRect(target, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            ASSERT_TRUE(TransparentBlt(target, 0, 0, w, fh, source, 0, 0, w, fh, background));
            SelectObject(source, oldSource);
            SelectObject(target, oldCanvas);
            DeleteDC(source);
            DeleteDC(target);
            const std::vector<uint32_t> drawn = Pixels(canvas);
            DeleteObject(canvas);
            for (int i = 0; i < w * fh; ++i)
                EXPECT_EQ(i == w + 1 ? Rgb32(f.colour) : 0xFFFFFFu, drawn[i]) << i;
        } else {
            for (uint32_t p : pixels)
                EXPECT_EQ(Rgb32(f.colour), p);
        }
        DeleteObject(bitmap);
        DeleteObject(palette);
    }
    // The end: 0, and every output zeroed.
    int x = 7, w = 7;
    HBITMAP bitmap = reinterpret_cast<HBITMAP>(1);
    HPALETTE palette = reinterpret_cast<HPALETTE>(1);
    EXPECT_EQ(FALSE, lib.GetNextImage(h, &x, NULL, &w, NULL, &bitmap, NULL, NULL, &palette, NULL, NULL));
    EXPECT_EQ(0, x);
    EXPECT_EQ(0, w);
    EXPECT_EQ(NULL, bitmap);
    EXPECT_EQ(NULL, palette);

    // The last frame again, then from the start.
    HBITMAP current = lib.CreateCurrentBmp(h);
    const std::vector<uint32_t> again = Pixels(current);
    ASSERT_EQ(18u, again.size());
    EXPECT_EQ(Rgb32(RGB(0, 255, 0)), again[7]);
    EXPECT_EQ(Rgb32(background), again[0]);
    DeleteObject(current);
    ASSERT_TRUE(lib.Reset(h));
    ASSERT_TRUE(lib.GetNextImage(h, NULL, NULL, &w, NULL, NULL, NULL, NULL, NULL, NULL, NULL));
    EXPECT_EQ(16, w);

    // Raw frames: records the caller frees.
    ASSERT_TRUE(lib.Reset(h));
    int count = 0;
    while (REVUVIVA_FRAME* frame = lib.GetNextRawFrameData(h)) {
        EXPECT_EQ(sizeof(REVUVIVA_FRAME), frame->recordSize);
        EXPECT_EQ(static_cast<uint32_t>(frames[count].width), frame->width);
        EXPECT_EQ(static_cast<uint32_t>(frames[count].delay), frame->delayMs);
        EXPECT_EQ(frame->stride * frame->height, frame->pixelBytes);
        EXPECT_EQ(reinterpret_cast<uint8_t*>(frame + 1), frame->pixels);
        DeleteObject(frame->palette);
        GlobalFree(frame);
        ++count;
    }
    EXPECT_EQ(3, count);
    EXPECT_TRUE(lib.CloseGifHandle(h));
}

TEST_F(Revuviva, OpeningGifs)
{
    HGIFIMAGE h = lib.LoadGifFile("fixtures\\gif\\noise.gif");
    ASSERT_NE(nullptr, h);
    int w = 0, fh = 0;
    HBITMAP bitmap = NULL;
    HPALETTE palette = NULL;
    ASSERT_TRUE(lib.GetNextImage(h, NULL, NULL, &w, &fh, &bitmap, NULL, NULL, &palette, NULL, NULL));
    EXPECT_EQ(96, w);
    EXPECT_EQ(80, fh);
    EXPECT_EQ(256u, GetPaletteEntries(palette, 0, 0, NULL));
    DeleteObject(bitmap);
    DeleteObject(palette);
    EXPECT_TRUE(lib.CloseGifHandle(h));

    EXPECT_EQ(nullptr, lib.LoadGifFile("fixtures\\gif\\missing.gif"));
    EXPECT_EQ(nullptr, lib.LoadGifFile("fixtures\\gif\\rows24.bmp"));
    EXPECT_EQ(nullptr, lib.LoadGifFile(NULL));

    // Without the header the data starts at the logical screen descriptor.
    const Bytes gif = Gif("interlaced8.gif");
    EXPECT_EQ(nullptr, lib.LoadGifFromMem(gif.data() + 6, static_cast<DWORD>(gif.size() - 6), TRUE));
    h = lib.LoadGifFromMem(gif.data() + 6, static_cast<DWORD>(gif.size() - 6), FALSE);
    ASSERT_NE(nullptr, h);
    ASSERT_TRUE(lib.GetNextImage(h, NULL, NULL, &w, &fh, NULL, NULL, NULL, NULL, NULL, NULL));
    EXPECT_EQ(3, w);
    EXPECT_EQ(8, fh);
    EXPECT_TRUE(lib.CloseGifHandle(h));
    EXPECT_EQ(nullptr, lib.LoadGifFromMem(gif.data(), 5, TRUE));
    EXPECT_EQ(nullptr, lib.LoadGifFromMem(NULL, 100, TRUE));
}

TEST_F(Revuviva, HandlesThatAreNotOpen)
{
    const Bytes gif = Gif("anim.gif");
    HGIFIMAGE closed = lib.LoadGifFromMem(gif.data(), static_cast<DWORD>(gif.size()), TRUE);
    ASSERT_TRUE(lib.CloseGifHandle(closed));
    int local = 0;
    HGIFIMAGE bogus = reinterpret_cast<HGIFIMAGE>(&local);
    for (HGIFIMAGE h : {static_cast<HGIFIMAGE>(NULL), closed, bogus}) {
        int w = 5, fh = 5, index = 5;
        COLORREF c = 5;
        HBITMAP bitmap = reinterpret_cast<HBITMAP>(1);
        BYTE table[768];
        EXPECT_FALSE(lib.GetImageSize(h, &w, &fh, &c));
        EXPECT_EQ(0, w);
        EXPECT_EQ(0u, c);
        EXPECT_FALSE(lib.GetNextImage(h, NULL, NULL, &w, &fh, &bitmap, NULL, &index, NULL, NULL, NULL));
        EXPECT_EQ(NULL, bitmap);
        EXPECT_EQ(nullptr, lib.GetNextRawFrameData(h));
        EXPECT_EQ(0, lib.GetGlobalColorIndexTotal(h, &index));
        EXPECT_EQ(0, index);
        EXPECT_FALSE(lib.GetGlobalColorIndexData(h, table, sizeof table));
        EXPECT_FALSE(lib.Reset(h));
        EXPECT_EQ(NULL, lib.CreateCurrentBmp(h));
        EXPECT_FALSE(lib.CloseGifHandle(h));
    }
    HTGAIMAGE tgaBogus = reinterpret_cast<HTGAIMAGE>(&local);
    for (HTGAIMAGE t : {static_cast<HTGAIMAGE>(NULL), tgaBogus}) {
        EXPECT_EQ(0, lib.GetTgaWidth(t));
        EXPECT_EQ(0, lib.GetTgaHeight(t));
        EXPECT_EQ(0, lib.GetTgaPalNum(t));
        EXPECT_EQ(0, lib.GetTgaPixelDepth(t));
        EXPECT_EQ(nullptr, lib.GetTgaGetImageData(t));
        EXPECT_EQ(nullptr, lib.GetTgaGetImagePalData(t));
        EXPECT_EQ(nullptr, lib.GetTgaGetImageAlphaData(t));
        EXPECT_EQ(NULL, lib.CreateBitmapFromTGA(t));
        EXPECT_FALSE(lib.CloseTGAHandle(t));
    }
    // A GIF handle is no TGA handle and the other way round.
    HGIFIMAGE h = lib.LoadGifFromMem(gif.data(), static_cast<DWORD>(gif.size()), TRUE);
    const Bytes tga = Tga("rows24.tga");
    HTGAIMAGE t = lib.LoadTgaFromMem(tga.data(), static_cast<DWORD>(tga.size()));
    ASSERT_NE(nullptr, h);
    ASSERT_NE(nullptr, t);
    EXPECT_TRUE(lib.CloseGifHandle(h));
    EXPECT_TRUE(lib.CloseTGAHandle(t));
}

// ---- TGA ------------------------------------------------------------------------------------

TEST_F(Revuviva, TgaPicturesOfEveryKind)
{
    struct Case
    {
        const char* name;
        int depth, palette;
        bool grey;
    } cases[] = {
        {"rows24.tga", 24, 0, false},      {"rows24_rle.tga", 24, 0, false}, {"rows_map.tga", 8, 8, false},
        {"rows_map_rle.tga", 8, 8, false}, {"greys.tga", 8, 0, true},        {"greys_rle.tga", 8, 0, true},
    };
    for (const Case& c : cases) {
        const Bytes tga = Tga(c.name);
        ASSERT_FALSE(tga.empty()) << c.name;
        HTGAIMAGE t = lib.LoadTgaFromMem(tga.data(), static_cast<DWORD>(tga.size()));
        ASSERT_NE(nullptr, t) << c.name;
        EXPECT_EQ(3, lib.GetTgaWidth(t));
        EXPECT_EQ(8, lib.GetTgaHeight(t));
        EXPECT_EQ(c.depth, lib.GetTgaPixelDepth(t)) << c.name;
        EXPECT_EQ(c.palette, lib.GetTgaPalNum(t)) << c.name;
        EXPECT_EQ(c.palette != 0, lib.GetTgaGetImagePalData(t) != nullptr) << c.name;
        EXPECT_EQ(nullptr, lib.GetTgaGetImageAlphaData(t)) << c.name;
        const BYTE* bgra = lib.GetTgaGetImageData(t);
        ASSERT_NE(nullptr, bgra);
        HBITMAP bitmap = lib.CreateBitmapFromTGA(t);
        const std::vector<uint32_t> pixels = Pixels(bitmap);
        ASSERT_EQ(24u, pixels.size());
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 3; ++x) {
                const COLORREF want = c.grey ? RGB(kGreys[y], kGreys[y], kGreys[y]) : kRows[y];
                const BYTE* p = bgra + (y * 3 + x) * 4;
                EXPECT_EQ(RGB(p[2], p[1], p[0]), want) << c.name << " " << x << "," << y;
                EXPECT_EQ(255, p[3]);
                EXPECT_EQ(Rgb32(want), pixels[y * 3 + x]) << c.name;
            }
        DeleteObject(bitmap);
        EXPECT_TRUE(lib.CloseTGAHandle(t));
    }
}

TEST_F(Revuviva, TgaAlphaAndOrigin)
{
    const Bytes tga = Tga("alpha32_rle.tga");
    HTGAIMAGE t = lib.LoadTgaFromMem(tga.data(), static_cast<DWORD>(tga.size()));
    ASSERT_NE(nullptr, t);
    EXPECT_EQ(32, lib.GetTgaPixelDepth(t));
    const BYTE* alpha = lib.GetTgaGetImageAlphaData(t);
    const BYTE* bgra = lib.GetTgaGetImageData(t);
    ASSERT_NE(nullptr, alpha);
    const int alphas[4] = {255, 127, 63, 0};
    const COLORREF colours[3] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(alphas[y], alpha[y * 5 + x]) << x << "," << y;
            EXPECT_EQ(alphas[y], bgra[(y * 5 + x) * 4 + 3]);
            if (y < 3) {
                const BYTE* p = bgra + (y * 5 + x) * 4;
                EXPECT_EQ(colours[y], RGB(p[2], p[1], p[0]));
            }
        }
    EXPECT_TRUE(lib.CloseTGAHandle(t));

    // The origin bits: top-down rows, right-to-left columns.
    Bytes topDown = Tga("rows24.tga");
    topDown[17] |= 0x20;
    t = lib.LoadTgaFromMem(topDown.data(), static_cast<DWORD>(topDown.size()));
    ASSERT_NE(nullptr, t);
    bgra = lib.GetTgaGetImageData(t);
    EXPECT_EQ(kRows[7], RGB(bgra[2], bgra[1], bgra[0]));
    EXPECT_TRUE(lib.CloseTGAHandle(t));

    // A 2 x 1 true-colour picture written right to left.
    Bytes mirrored = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 1, 0, 24, 0x10, 1, 2, 3, 4, 5, 6};
    t = lib.LoadTgaFromMem(mirrored.data(), static_cast<DWORD>(mirrored.size()));
    ASSERT_NE(nullptr, t);
    bgra = lib.GetTgaGetImageData(t);
    EXPECT_EQ(0, memcmp(bgra, "\x04\x05\x06\xFF\x01\x02\x03\xFF", 8));
    EXPECT_TRUE(lib.CloseTGAHandle(t));

    // A colour index outside the map reads as black.
    Bytes outside = {0, 1, 1, 0, 0, 1, 0, 24, 0, 0, 0, 0, 2, 0, 1, 0, 8, 0, 10, 20, 30, 0, 7};
    t = lib.LoadTgaFromMem(outside.data(), static_cast<DWORD>(outside.size()));
    ASSERT_NE(nullptr, t);
    bgra = lib.GetTgaGetImageData(t);
    EXPECT_EQ(0, memcmp(bgra, "\x0A\x14\x1E\xFF\x00\x00\x00\xFF", 8));
    EXPECT_TRUE(lib.CloseTGAHandle(t));

    EXPECT_NE(nullptr, t = lib.LoadTGAFile("fixtures\\revuviva\\greys_rle.tga"));
    EXPECT_TRUE(lib.CloseTGAHandle(t));
    EXPECT_EQ(nullptr, lib.LoadTGAFile("fixtures\\revuviva\\missing.tga"));
}

TEST_F(Revuviva, TgaHeadersThatAreRefused)
{
    const Bytes good = Tga("rows24.tga");
    ASSERT_EQ(90u, good.size());
    auto with = [&](size_t at, std::initializer_list<BYTE> bytes) {
        Bytes b = good;
        for (BYTE v : bytes)
            b[at++] = v;
        return b;
    };
    struct Case
    {
        const char* name;
        Bytes data;
    } cases[] = {
        {"seventeen bytes", Bytes(good.begin(), good.begin() + 17)},
        {"one pixel short", Bytes(good.begin(), good.end() - 1)},
        {"type 0 (no picture)", with(2, {0})},
        {"type 4", with(2, {4})},
        {"type 32", with(2, {32})},
        {"colour map type 2", with(1, {2})},
        {"colour-mapped without a map", with(2, {1})},
        {"zero width", with(12, {0, 0})},
        {"zero height", with(14, {0, 0})},
        {"65535 x 65535", with(12, {0xFF, 0xFF, 0xFF, 0xFF})},
        {"20 bits per pixel", with(16, {20})},
        {"identification field past the end", with(0, {200})},
        {"colour map past the end", with(1, {1, 2, 0, 0, 0xFF, 0xFF, 24})},
        {"colour map entries of 12 bits", with(1, {1, 2, 0, 0, 1, 0, 12})},
    };
    for (const Case& c : cases) {
        GuardedBuffer buffer(c.data);
        HTGAIMAGE t = lib.LoadTgaFromMem(buffer.data(), buffer.size());
        EXPECT_EQ(nullptr, t) << c.name;
        lib.CloseTGAHandle(t);
    }
    // A run that would go past the last pixel is cut, not followed.
    Bytes rle = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 1, 0, 24, 0, 0xFF, 1, 2, 3};
    HTGAIMAGE t = lib.LoadTgaFromMem(rle.data(), static_cast<DWORD>(rle.size()));
    ASSERT_NE(nullptr, t);
    EXPECT_TRUE(lib.CloseTGAHandle(t));
}

// ---- Bounded mutation --------------------------------------------------------------------------

TEST_F(Revuviva, MutatedInputsAreReadOrRefused)
{
    ASSERT_TRUE(GdiCounterSeesABrush()) << "no working GDI object counter";
    const int before = CountProcessGdiObjects();
    uint32_t state = 0x52455655;
    auto next = [&state] {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    };
    struct Seed
    {
        Bytes data;
        bool gif;
    };
    std::vector<Seed> seeds;
    for (const char* name : {"anim.gif", "interlaced11.gif", "noise_interlaced.gif"})
        seeds.push_back({Gif(name), true});
    for (const char* name : {"rows24.tga", "rows24_rle.tga", "rows_map.tga", "rows_map_rle.tga", "greys_rle.tga",
                             "alpha32_rle.tga"})
        seeds.push_back({Tga(name), false});

    auto exercise = [&](const Bytes& input, bool gif) {
        GuardedBuffer buffer(input);
        if (gif) {
            if (HGIFIMAGE h = lib.LoadGifFromMem(buffer.data(), buffer.size(), TRUE)) {
                for (int i = 0; i < 32; ++i) {
                    HBITMAP b = NULL;
                    HPALETTE p = NULL;
                    const BOOL more = lib.GetNextImage(h, NULL, NULL, NULL, NULL, &b, NULL, NULL, &p, NULL, NULL);
                    DeleteObject(b);
                    DeleteObject(p);
                    if (!more)
                        break;
                }
                lib.CloseGifHandle(h);
            }
        } else if (HTGAIMAGE t = lib.LoadTgaFromMem(buffer.data(), buffer.size())) {
            ASSERT_GT(lib.GetTgaWidth(t), 0);
            DeleteObject(lib.CreateBitmapFromTGA(t));
            lib.CloseTGAHandle(t);
        }
    };
    for (const Seed& seed : seeds) {
        ASSERT_FALSE(seed.data.empty());
        const size_t step = seed.data.size() > 400 ? seed.data.size() / 200 : 1;
        for (size_t n = 0; n <= seed.data.size(); n += step)
            ASSERT_NO_FATAL_FAILURE(exercise(Bytes(seed.data.begin(), seed.data.begin() + n), seed.gif)) << n;
        for (int round = 0; round < 400; ++round) {
            Bytes b = seed.data;
            const int edits = 1 + next() % 4;
            for (int e = 0; e < edits && !b.empty(); ++e) {
                const size_t at = next() % b.size();
                switch (next() % 4) {
                case 0: b[at] ^= static_cast<BYTE>(1u << (next() % 8)); break;
                case 1: b[at] = static_cast<BYTE>(next()); break;
                case 2: b[at] = (next() & 1) ? 0xFF : 0x00; break;
                default: b.resize(at); break;
                }
            }
            ASSERT_NO_FATAL_FAILURE(exercise(b, seed.gif)) << round;
        }
    }
    EXPECT_LE(CountProcessGdiObjects(), before + 2);
}
