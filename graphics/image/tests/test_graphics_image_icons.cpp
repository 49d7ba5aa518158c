// Icons and cursors: the .ico layout and hostile directories, icons written
// and read back, appended files, grey icons, icon groups of a module,
// animated cursors, resource strings and DIBs of bitmaps.
#include <gtest/gtest.h>

#include "IconFile.h"
#include "IconFunctions.h"
#include "ImageTestSupport.h"
#include "graphics/QVMemBitmap.h"

using namespace imgtest;

namespace {

const int kIconGroupResource = 301;   // fixtures/group.ico: 32 x 32 and 16 x 16, red with a blue square
const int kAnimatedCursor = 401;      // fixtures/one.ani: one 32 x 32 frame, hot spot (16, 16)
const int kStringResource = 1001;     // "Hello icons"
const int kDialogResource = 201;

std::string ProgramPath()
{
    char path[MAX_PATH];
    GetModuleFileNameA(NULL, path, MAX_PATH);
    return path;
}

// The icon's colour pixels (0x00RRGGBB) and mask bits (1 = transparent), top row first.
struct IconPixels
{
    int width = 0, height = 0;
    std::vector<uint32_t> colour;
    std::vector<bool> transparent;
};

IconPixels ReadIcon(HICON icon)
{
    IconPixels out;
    ICONINFO info;
    if (!GetIconInfo(icon, &info))
        return out;
    out.colour = BitmapPixels(info.hbmColor, &out.width, &out.height);
    for (uint32_t m : BitmapPixels(info.hbmMask))
        out.transparent.push_back(m != 0);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return out;
}

// A 16-bit surface of 8 x 6: magenta corner colour (transparent in the
// icon), a red left half and a green right half below the first row.
void MakeSurface(CQVMemBitmap& s)
{
    ASSERT_TRUE(s.Create(8, 6));
    s.FillRect(0, 0, 8, 6, CQVMemBitmap::RGBTo565(RGB(255, 0, 255)));
    s.FillRect(0, 1, 4, 5, CQVMemBitmap::RGBTo565(RGB(255, 0, 0)));
    s.FillRect(4, 1, 4, 5, CQVMemBitmap::RGBTo565(RGB(0, 255, 0)));
}

// ---- The file layout ----------------------------------------------------------------

TEST(IconFile, BuildAndParse)
{
    iconfile::Image a, b;
    a.entry.width = 16;
    a.entry.bitCount = 32;
    a.bytes.assign(40, 1);
    b.entry.width = 0;  // 256
    b.bytes.assign(7, 2);
    const std::vector<uint8_t> file = iconfile::Build({a, b});
    ASSERT_EQ(6u + 32 + 47, file.size());
    std::vector<iconfile::Entry> entries;
    ASSERT_TRUE(iconfile::ParseDirectory(file.data(), file.size(), &entries));
    ASSERT_EQ(2u, entries.size());
    EXPECT_EQ(38u, entries[0].imageOffset);
    EXPECT_EQ(40u, entries[0].bytesInRes);
    EXPECT_EQ(78u, entries[1].imageOffset);
    std::vector<iconfile::Image> images;
    ASSERT_TRUE(iconfile::ParseFile(file.data(), file.size(), &images));
    EXPECT_EQ(b.bytes, images[1].bytes);
    EXPECT_TRUE(iconfile::Build({}).empty());
}

// An .ico of one 4 x 4 32-bit image with one u32/u16 field overwritten.
std::vector<uint8_t> HostileIco(size_t offset, uint32_t value, int width)
{
    iconfile::Image image;
    image.entry.width = 4;
    image.entry.height = 4;
    image.entry.planes = 1;
    image.entry.bitCount = 32;
    image.bytes.assign(40 + 64 + 16, 0);
    const uint32_t header[] = {40, 4, 8};
    memcpy(image.bytes.data(), header, sizeof header);
    image.bytes[12] = 1;
    image.bytes[14] = 32;
    std::vector<uint8_t> file = iconfile::Build({image});
    for (int i = 0; i < width; i++)
        file[offset + i] = static_cast<uint8_t>(value >> (8 * i));
    return file;
}

TEST(IconFile, HostileDirectoriesAreRefused)
{
    struct Case
    {
        const char* what;
        size_t offset;
        uint32_t value;
        int width;
    } cases[] = {
        {"reserved not 0", 0, 1, 2},
        {"cursor type", 2, 2, 2},
        {"no images", 4, 0, 2},
        {"more entries than fit", 4, 200, 2},
        {"size 0", 6 + 8, 0, 4},
        {"size past the end", 6 + 8, 500, 4},
        {"offset past the end", 6 + 12, 5000, 4},
        {"offset that wraps", 6 + 12, 0xFFFFFFF0u, 4},
        {"offset inside the directory", 6 + 12, 4, 4},
        {"image claims more rows", 22 + 8, 4000, 4},
        {"image header size 0", 22, 0, 4},
        {"image depth 7", 22 + 14, 7, 2},
    };
    const bool layoutOnly[] = {true, true, true, true, true, true, true, true, true, false, false, false};
    TempFolder folder;
    HICON icon = LoadIcon(NULL, IDI_APPLICATION);
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; i++) {
        const Case& c = cases[i];
        const std::vector<uint8_t> file = HostileIco(c.offset, c.value, c.width);
        if (layoutOnly[i]) {
            EXPECT_FALSE(iconfile::ParseDirectory(file.data(), file.size(), NULL)) << c.what;
        }
        EXPECT_EQ(NULL, CreateIconFromGroupData(file.data(), static_cast<DWORD>(file.size()))) << c.what;
        // Appending to such a file fails and leaves it as it was.
        if (layoutOnly[i]) {
            const std::string path = folder.Write("hostile.ico", file);
            EXPECT_FALSE(AddIconToFile(icon, path.c_str(), TRUE)) << c.what;
            EXPECT_EQ(file, ReadAll(path)) << c.what;
        }
    }
    const std::vector<uint8_t> good = HostileIco(0, 0, 2);
    EXPECT_TRUE(iconfile::ParseDirectory(good.data(), good.size(), NULL));
    EXPECT_FALSE(iconfile::ParseDirectory(good.data(), 5, NULL));
    EXPECT_FALSE(iconfile::ParseDirectory(good.data(), 21, NULL));
    HICON made = CreateIconFromGroupData(good.data(), static_cast<DWORD>(good.size()));
    EXPECT_TRUE(made != NULL);
    DestroyIcon(made);
}

// ---- Icons written and read back ---------------------------------------------------------

TEST(Icons, SurfaceIconWrittenAndReadBack)
{
    CQVMemBitmap surface;
    MakeSurface(surface);
    HICON icon = CreateIconFromSurface(&surface);
    ASSERT_TRUE(icon != NULL);
    IconPixels made = ReadIcon(icon);
    ASSERT_EQ(8, made.width);
    EXPECT_TRUE(made.transparent[3]);  // first row: the corner colour
    EXPECT_FALSE(made.transparent[8 + 1]);
    EXPECT_EQ(0xFF0000u, made.colour[8 + 1]);
    EXPECT_EQ(0x00FF00u, made.colour[5 * 8 + 7]);
    ICONINFO info;
    ASSERT_TRUE(GetIconInfo(icon, &info));
    EXPECT_TRUE(info.fIcon);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);

    TempFolder folder;
    const std::string path = folder.Path() + "made.ico";
    ASSERT_TRUE(WriteIconFile(icon, path.c_str()));
    const std::vector<uint8_t> file = ReadAll(path);
    std::vector<iconfile::Entry> entries;
    ASSERT_TRUE(iconfile::ParseDirectory(file.data(), file.size(), &entries));
    ASSERT_EQ(1u, entries.size());
    EXPECT_EQ(22u, entries[0].imageOffset);
    EXPECT_EQ(8, entries[0].width);
    EXPECT_EQ(6, entries[0].height);
    EXPECT_EQ(12, static_cast<int>(reinterpret_cast<const int32_t*>(&file[22])[2]));  // height doubled

    HICON back = static_cast<HICON>(LoadImageA(NULL, path.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE));
    ASSERT_TRUE(back != NULL);
    IconPixels read = ReadIcon(back);
    EXPECT_EQ(made.width, read.width);
    EXPECT_EQ(made.height, read.height);
    EXPECT_EQ(made.transparent, read.transparent);
    for (size_t i = 0; i < made.colour.size(); i++)
        if (!made.transparent[i]) {
            ASSERT_EQ(made.colour[i], read.colour[i]) << i;
        }
    DestroyIcon(back);

    // The same bytes through the icon-directory reader.
    HICON fromData = CreateIconFromGroupData(file.data(), static_cast<DWORD>(file.size()));
    ASSERT_TRUE(fromData != NULL);
    EXPECT_EQ(8, ReadIcon(fromData).width);
    DestroyIcon(fromData);

    // Appending keeps the first image and adds the second after it.
    HICON second = CreateGrayIcon(icon);
    ASSERT_TRUE(AddIconToFile(second, path.c_str(), TRUE));
    const std::vector<uint8_t> two = ReadAll(path);
    std::vector<iconfile::Image> images;
    ASSERT_TRUE(iconfile::ParseFile(two.data(), two.size(), &images));
    ASSERT_EQ(2u, images.size());
    EXPECT_TRUE(std::equal(images[0].bytes.begin(), images[0].bytes.end(), file.begin() + 22));
    // Without append the file starts again; a missing file is started.
    ASSERT_TRUE(AddIconToFile(second, path.c_str(), FALSE));
    ASSERT_TRUE(iconfile::ParseFile(ReadAll(path).data(), ReadAll(path).size(), &images));
    EXPECT_EQ(1u, images.size());
    const std::string fresh = folder.Path() + "fresh.ico";
    ASSERT_TRUE(AddIconToFile(second, fresh.c_str(), TRUE));
    EXPECT_FALSE(ReadAll(fresh).empty());
    DestroyIcon(second);
    DestroyIcon(icon);
    EXPECT_FALSE(WriteIconFile(NULL, path.c_str()));
}

TEST(Icons, GreyIcon)
{
    CQVMemBitmap surface;
    ASSERT_TRUE(surface.Create(4, 1));
    surface.FillRect(0, 0, 1, 1, CQVMemBitmap::RGBTo565(RGB(255, 0, 255)));  // transparent
    surface.FillRect(1, 0, 1, 1, CQVMemBitmap::RGBTo565(RGB(255, 0, 0)));
    surface.FillRect(2, 0, 1, 1, CQVMemBitmap::RGBTo565(RGB(0, 255, 0)));
    surface.FillRect(3, 0, 1, 1, CQVMemBitmap::RGBTo565(RGB(0, 0, 255)));
    HICON icon = CreateIconFromSurface(&surface);
    HICON grey = CreateGrayIcon(icon);
    ASSERT_TRUE(grey != NULL);
    IconPixels before = ReadIcon(icon), after = ReadIcon(grey);
    EXPECT_EQ(before.transparent, after.transparent);  // the mask stays
    EXPECT_EQ(0u, after.colour[0]);                    // black stays black
    EXPECT_EQ(0x4C4C4Cu, after.colour[1]);             // 0.299 * 255 = 76.2
    EXPECT_EQ(0x959595u, after.colour[2]);             // 0.587 * 255 = 149.7
    EXPECT_EQ(0x1D1D1Du, after.colour[3]);             // 0.114 * 255 = 29.1
    DestroyIcon(grey);
    DestroyIcon(icon);
    EXPECT_EQ(NULL, CreateGrayIcon(NULL));
}

TEST(Icons, IconGroupsOfAModule)
{
    TempFolder folder;
    const std::string byName = folder.Path() + "group.ico";
    ASSERT_TRUE(WriteIconGroupFile(ProgramPath().c_str(), MAKEINTRESOURCEA(kIconGroupResource), byName.c_str()));
    const std::vector<uint8_t> file = ReadAll(byName);
    std::vector<iconfile::Image> images;
    ASSERT_TRUE(iconfile::ParseFile(file.data(), file.size(), &images));
    ASSERT_EQ(2u, images.size());
    EXPECT_EQ(32, images[0].entry.width);
    EXPECT_EQ(16, images[1].entry.width);
    EXPECT_EQ(38u, ReadAll(byName).size() - images[0].bytes.size() - images[1].bytes.size());  // 6 + 2 x 16

    HICON read = static_cast<HICON>(LoadImageA(NULL, byName.c_str(), IMAGE_ICON, 32, 32, LR_LOADFROMFILE));
    ASSERT_TRUE(read != NULL);
    IconPixels px = ReadIcon(read);
    EXPECT_EQ(0xFF0000u, px.colour[1 * 32 + 1]);
    EXPECT_EQ(0x0000FFu, px.colour[16 * 32 + 16]);
    DestroyIcon(read);

    const std::string byIndex = folder.Path() + "first.ico";
    ASSERT_TRUE(WriteIconGroupByIndex(ProgramPath().c_str(), 0, byIndex.c_str()));
    EXPECT_EQ(file, ReadAll(byIndex));
    EXPECT_FALSE(WriteIconGroupByIndex(ProgramPath().c_str(), 1, byIndex.c_str()));
    EXPECT_FALSE(WriteIconGroupFile(ProgramPath().c_str(), MAKEINTRESOURCEA(999), byIndex.c_str()));
    EXPECT_FALSE(WriteIconGroupFile((folder.Path() + "missing.dll").c_str(), MAKEINTRESOURCEA(1), byIndex.c_str()));
}

// ---- Cursors, resources, DIBs ------------------------------------------------------------

TEST(Icons, AnimatedCursor)
{
    HCURSOR cursor = LoadAnimatedCursor(kAnimatedCursor);
    ASSERT_TRUE(cursor != NULL);
    ICONINFO info;
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(16u, info.xHotspot);
    EXPECT_EQ(16u, info.yHotspot);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyCursor(cursor);
    EXPECT_EQ(NULL, LoadAnimatedCursor(999));
}

TEST(Icons, ResourceStringsAndDialogs)
{
    const WORD neutral = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);
    void* block = NULL;
    EXPECT_EQ(11, LoadResourceBlock(GetModuleHandle(NULL), MAKEINTRESOURCEA(kStringResource), TRUE, neutral, &block));
    ASSERT_TRUE(block != NULL);
    EXPECT_STREQ("Hello icons", static_cast<char*>(block));
    free(block);
    EXPECT_EQ(5, LoadResourceBlock(GetModuleHandle(NULL), MAKEINTRESOURCEA(1003), TRUE, neutral, &block));
    free(block);
    block = reinterpret_cast<void*>(1);
    EXPECT_EQ(0, LoadResourceBlock(GetModuleHandle(NULL), MAKEINTRESOURCEA(1002), TRUE, neutral, &block));
    EXPECT_EQ(NULL, block);
    EXPECT_EQ(0, LoadResourceBlock(GetModuleHandle(NULL), MAKEINTRESOURCEA(5000), TRUE, neutral, &block));

    const int size = LoadResourceBlock(GetModuleHandle(NULL), MAKEINTRESOURCEA(kDialogResource), FALSE, neutral, &block);
    ASSERT_GT(size, 0);
    HRSRC info = FindResourceA(NULL, MAKEINTRESOURCEA(kDialogResource), RT_DIALOG);
    EXPECT_EQ(0, memcmp(block, LockResource(LoadResource(NULL, info)), size));
    free(block);
}

TEST(Icons, DibOfABitmap)
{
    // An 8-bit DIB section with a chosen colour table.
    struct
    {
        BITMAPINFOHEADER h;
        RGBQUAD colours[256];
    } bi = {};
    bi.h.biSize = sizeof(BITMAPINFOHEADER);
    bi.h.biWidth = 5;
    bi.h.biHeight = 2;
    bi.h.biPlanes = 1;
    bi.h.biBitCount = 8;
    for (int i = 0; i < 256; i++)
        bi.colours[i] = RGBQUAD{static_cast<BYTE>(i), static_cast<BYTE>(255 - i), 7, 0};
    void* bits = NULL;
    HBITMAP bitmap = CreateDIBSection(NULL, reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS, &bits, NULL, 0);
    memset(bits, 3, 16);
    BITMAPINFO* header = NULL;
    BYTE* rows = NULL;
    DWORD headerSize = 0, rowsSize = 0;
    ASSERT_TRUE(GetBitmapDib(bitmap, &header, &headerSize, &rows, &rowsSize));
    EXPECT_EQ(40u + 256 * 4, headerSize);
    EXPECT_EQ(16u, rowsSize);  // 8 bytes a row
    EXPECT_EQ(8, header->bmiHeader.biBitCount);
    EXPECT_EQ(200, header->bmiColors[200].rgbBlue);
    EXPECT_EQ(3, rows[9]);
    free(header);
    free(rows);
    // Without rows only the header is made.
    ASSERT_TRUE(GetBitmapDib(bitmap, &header, &headerSize, NULL, NULL));
    free(header);
    DeleteObject(bitmap);

    Canvas canvas(3, 3, 0x102030);
    ASSERT_TRUE(GetBitmapDib(canvas.Bitmap(), &header, &headerSize, &rows, &rowsSize));
    EXPECT_EQ(40u, headerSize);  // 32 bits: no colour table
    EXPECT_EQ(32, header->bmiHeader.biBitCount);
    EXPECT_EQ(0x30, rows[0]);
    EXPECT_EQ(0x10, rows[2]);
    free(header);
    free(rows);
    EXPECT_FALSE(GetBitmapDib(NULL, &header, &headerSize, NULL, NULL));
}

}  // namespace
