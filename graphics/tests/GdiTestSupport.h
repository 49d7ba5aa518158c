// Helpers of the graphics tests that draw through GDI: a 32-bit canvas in
// a memory DC whose pixels can be read directly, and pictures made of
// known colours.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "QVMemBitmap.h"

namespace gfxtest {

// A top-down 32-bit DIB section selected into a memory DC.
class Canvas
{
public:
    Canvas(int width, int height, COLORREF fill = RGB(0, 0, 0)) : m_w(width), m_h(height)
    {
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = width;
        bi.bmiHeader.biHeight = -height;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        m_dc = CreateCompatibleDC(NULL);
        m_bitmap = CreateDIBSection(m_dc, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits), NULL, 0);
        m_old = SelectObject(m_dc, m_bitmap);
        Fill(fill);
    }
    ~Canvas()
    {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return m_dc; }
    int width() const { return m_w; }
    int height() const { return m_h; }

    void Fill(COLORREF c)
    {
        GdiFlush();
        for (int i = 0; i < m_w * m_h; ++i)
            m_bits[i] = ToBits(c);
    }
    void Set(int x, int y, COLORREF c)
    {
        GdiFlush();
        m_bits[y * m_w + x] = ToBits(c);
    }
    COLORREF At(int x, int y) const
    {
        GdiFlush();
        const DWORD p = m_bits[y * m_w + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }

private:
    static DWORD ToBits(COLORREF c) { return GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c); }

    int m_w, m_h;
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
    DWORD* m_bits;
};

// A surface whose pixel (x, y) is a colour that survives 565 exactly and
// differs from its neighbours: red from x, green from y, blue constant.
inline void FillPattern(CQVMemBitmap& s, int blue5 = 9)
{
    for (int y = 0; y < s.GetHeight(); ++y)
        for (int x = 0; x < s.GetWidth(); ++x) {
            const POINT o = s.GetOrigin();
            s.FillRect(x - o.x, y - o.y, 1, 1, static_cast<WORD>((x % 32) << 11 | (y % 64) << 5 | blue5));
        }
}

inline COLORREF PatternColour(int x, int y, int blue5 = 9)
{
    return CQVMemBitmap::RGB565ToRGB(static_cast<WORD>((x % 32) << 11 | (y % 64) << 5 | blue5));
}

// A DIB section of any depth with the given colour at every pixel.
inline HBITMAP SolidDib(int width, int height, int bits, COLORREF colour)
{
    void* p = NULL;
    HBITMAP b = CQVMemBitmap::CreateDIBSectionEx(width, height, bits, &p);
    HDC dc = CreateCompatibleDC(NULL);
    HGDIOBJ old = SelectObject(dc, b);
    HBRUSH brush = CreateSolidBrush(colour);
    RECT r = {0, 0, width, height};
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    SelectObject(dc, old);
    DeleteDC(dc);
    return b;
}

// A temporary folder of the test, removed with its files.
class TempFolder
{
public:
    TempFolder()
    {
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        m_path = std::string(base) + "gfxtest" + std::to_string(GetCurrentProcessId()) + "_" +
                 std::to_string(GetTickCount());
        CreateDirectoryA(m_path.c_str(), NULL);
    }
    ~TempFolder()
    {
        WIN32_FIND_DATAA fd;
        HANDLE h = FindFirstFileA((m_path + "\\*").c_str(), &fd);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                    DeleteFileA((m_path + "\\" + fd.cFileName).c_str());
            } while (FindNextFileA(h, &fd));
            FindClose(h);
        }
        RemoveDirectoryA(m_path.c_str());
    }
    std::string File(const char* name) const { return m_path + "\\" + name; }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

inline std::vector<unsigned char> ReadFileBytes(const std::string& path)
{
    std::vector<unsigned char> data;
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (f == INVALID_HANDLE_VALUE)
        return data;
    DWORD size = GetFileSize(f, NULL), got = 0;
    data.resize(size);
    if (size && !ReadFile(f, data.data(), size, &got, NULL))
        data.clear();
    CloseHandle(f);
    return data;
}

inline bool WriteFileBytes(const std::string& path, const std::vector<unsigned char>& data)
{
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (f == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = data.empty() || (WriteFile(f, data.data(), (DWORD)data.size(), &written, NULL) && written == data.size());
    CloseHandle(f);
    return ok;
}

}  // namespace gfxtest
