#include "ImageTestSupport.h"

#include <stdio.h>
#include <string.h>

namespace imgtest {

void PutU32(std::vector<uint8_t>& bytes, size_t offset, uint32_t value)
{
    for (int i = 0; i < 4; i++)
        bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

namespace {

void PutU16(std::vector<uint8_t>& bytes, size_t offset, uint16_t value)
{
    bytes[offset] = static_cast<uint8_t>(value);
    bytes[offset + 1] = static_cast<uint8_t>(value >> 8);
}

}  // namespace

std::vector<uint8_t> MakeBmp(int width, int height, int bpp, const std::vector<uint32_t>& palette,
                             const std::function<uint32_t(int x, int y)>& pixel, bool topDown)
{
    const size_t rowBytes = ((static_cast<size_t>(width) * bpp + 31) / 32) * 4;
    const size_t tableBytes = palette.size() * 4;
    const size_t offBits = 14 + 40 + tableBytes;
    std::vector<uint8_t> out(offBits + rowBytes * height, 0);
    out[0] = 'B';
    out[1] = 'M';
    PutU32(out, 2, static_cast<uint32_t>(out.size()));
    PutU32(out, 10, static_cast<uint32_t>(offBits));
    PutU32(out, 14, 40);
    PutU32(out, 18, static_cast<uint32_t>(width));
    PutU32(out, 22, static_cast<uint32_t>(topDown ? -height : height));
    PutU16(out, 26, 1);
    PutU16(out, 28, static_cast<uint16_t>(bpp));
    PutU32(out, 34, static_cast<uint32_t>(rowBytes * height));
    PutU32(out, 46, static_cast<uint32_t>(palette.size()));
    for (size_t i = 0; i < palette.size(); i++) {
        out[54 + i * 4] = static_cast<uint8_t>(palette[i]);
        out[54 + i * 4 + 1] = static_cast<uint8_t>(palette[i] >> 8);
        out[54 + i * 4 + 2] = static_cast<uint8_t>(palette[i] >> 16);
    }
    for (int y = 0; y < height; y++) {
        const int fileRow = topDown ? y : height - 1 - y;
        uint8_t* row = &out[offBits + rowBytes * fileRow];
        for (int x = 0; x < width; x++) {
            const uint32_t v = pixel(x, y);
            switch (bpp) {
            case 1: row[x / 8] |= static_cast<uint8_t>((v & 1) << (7 - x % 8)); break;
            case 4: row[x / 2] |= static_cast<uint8_t>((v & 15) << (x % 2 ? 0 : 4)); break;
            case 8: row[x] = static_cast<uint8_t>(v); break;
            case 16: {
                const uint16_t p = static_cast<uint16_t>(((v >> 19) & 31) << 10 | ((v >> 11) & 31) << 5 | ((v >> 3) & 31));
                row[x * 2] = static_cast<uint8_t>(p);
                row[x * 2 + 1] = static_cast<uint8_t>(p >> 8);
                break;
            }
            case 24:
            case 32: {
                const int n = bpp / 8;
                row[x * n] = static_cast<uint8_t>(v);
                row[x * n + 1] = static_cast<uint8_t>(v >> 8);
                row[x * n + 2] = static_cast<uint8_t>(v >> 16);
                if (n == 4)
                    row[x * n + 3] = static_cast<uint8_t>(v >> 24);
                break;
            }
            }
        }
    }
    return out;
}

FIBITMAP* MakeTrueColour(int width, int height, int bpp, const std::function<uint32_t(int x, int y)>& pixel)
{
    FIBITMAP* b = FreeImage_Allocate(width, height, bpp, 0, 0, 0);
    const int n = bpp / 8;
    for (int y = 0; y < height; y++) {
        BYTE* row = FreeImage_GetScanLine(b, height - 1 - y);
        for (int x = 0; x < width; x++) {
            const uint32_t v = pixel(x, y);
            row[x * n] = static_cast<BYTE>(v);
            row[x * n + 1] = static_cast<BYTE>(v >> 8);
            row[x * n + 2] = static_cast<BYTE>(v >> 16);
            if (n == 4)
                row[x * n + 3] = static_cast<BYTE>(v >> 24);
        }
    }
    return b;
}

FIBITMAP* MakeIndexed(int width, int height, const std::vector<uint32_t>& palette,
                      const std::function<uint8_t(int x, int y)>& index)
{
    FIBITMAP* b = FreeImage_Allocate(width, height, 8, 0, 0, 0);
    RGBQUAD* pal = FreeImage_GetPalette(b);
    for (size_t i = 0; i < palette.size() && i < 256; i++) {
        pal[i].rgbBlue = static_cast<BYTE>(palette[i]);
        pal[i].rgbGreen = static_cast<BYTE>(palette[i] >> 8);
        pal[i].rgbRed = static_cast<BYTE>(palette[i] >> 16);
    }
    for (int y = 0; y < height; y++) {
        BYTE* row = FreeImage_GetScanLine(b, height - 1 - y);
        for (int x = 0; x < width; x++)
            row[x] = index(x, y);
    }
    return b;
}

uint32_t RgbAt(FIBITMAP* bitmap, int x, int y)
{
    const int n = static_cast<int>(FreeImage_GetBPP(bitmap)) / 8;
    const BYTE* p = FreeImage_GetScanLine(bitmap, static_cast<int>(FreeImage_GetHeight(bitmap)) - 1 - y) + x * n;
    return static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[0];
}

TempFolder::TempFolder()
{
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    static int counter = 0;
    char name[MAX_PATH];
    snprintf(name, sizeof name, "%simgtest_%lu_%d\\", base, GetCurrentProcessId(), ++counter);
    CreateDirectoryA(name, NULL);
    m_path = name;
}

TempFolder::~TempFolder()
{
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((m_path + "*").c_str(), &found);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileA((m_path + found.cFileName).c_str());
        } while (FindNextFileA(h, &found));
        FindClose(h);
    }
    RemoveDirectoryA(m_path.c_str());
}

std::vector<uint32_t> BitmapPixels(HBITMAP bitmap, int* width, int* height)
{
    BITMAP bm;
    if (GetObject(bitmap, sizeof bm, &bm) == 0)
        return {};
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = bm.bmWidth;
    info.bmiHeader.biHeight = -bm.bmHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    std::vector<uint32_t> out(static_cast<size_t>(bm.bmWidth) * bm.bmHeight);
    HDC screen = GetDC(NULL);
    GetDIBits(screen, bitmap, 0, bm.bmHeight, out.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(NULL, screen);
    for (uint32_t& p : out)
        p &= 0xFFFFFF;
    if (width)
        *width = bm.bmWidth;
    if (height)
        *height = bm.bmHeight;
    return out;
}

std::vector<uint8_t> ReadAll(const std::string& path)
{
    std::vector<uint8_t> out;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f)
        return out;
    int c;
    while ((c = fgetc(f)) != EOF)
        out.push_back(static_cast<uint8_t>(c));
    fclose(f);
    return out;
}

std::string TempFolder::Write(const std::string& name, const std::vector<uint8_t>& bytes) const
{
    const std::string path = m_path + name;
    FILE* f = fopen(path.c_str(), "wb");
    if (f) {
        if (!bytes.empty())
            fwrite(bytes.data(), 1, bytes.size(), f);
        fclose(f);
    }
    return path;
}

Canvas::Canvas(int width, int height, uint32_t fill) : m_width(width), m_height(height), m_bits(nullptr)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    m_dc = CreateCompatibleDC(NULL);
    m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    m_bits = static_cast<uint32_t*>(bits);
    m_old = SelectObject(m_dc, m_bitmap);
    Fill(fill);
}

Canvas::~Canvas()
{
    SelectObject(m_dc, m_old);
    DeleteObject(m_bitmap);
    DeleteDC(m_dc);
}

uint32_t Canvas::At(int x, int y) const
{
    GdiFlush();
    return m_bits[y * m_width + x] & 0xFFFFFF;
}

void Canvas::Fill(uint32_t rgb)
{
    GdiFlush();
    for (int i = 0; i < m_width * m_height; i++)
        m_bits[i] = rgb;
}

void Canvas::CopyFrom(HBITMAP bitmap)
{
    HDC src = CreateCompatibleDC(NULL);
    HGDIOBJ old = SelectObject(src, bitmap);
    BitBlt(m_dc, 0, 0, m_width, m_height, src, 0, 0, SRCCOPY);
    SelectObject(src, old);
    DeleteDC(src);
}

}  // namespace imgtest
