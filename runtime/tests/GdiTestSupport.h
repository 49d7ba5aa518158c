// A 32-bit top-down DIB section in a memory DC, with its pixels at hand, for
// pixel-exact drawing tests.
#pragma once

#include <windows.h>
#include <stdint.h>

#include <vector>

class Canvas
{
public:
    Canvas(int width, int height) : m_width(width), m_height(height)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        m_bitmap = CreateDIBSection(NULL, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_pixels), NULL, 0);
        m_dc = CreateCompatibleDC(NULL);
        m_old = SelectObject(m_dc, m_bitmap);
    }
    ~Canvas()
    {
        SelectObject(m_dc, m_old);
        DeleteDC(m_dc);
        DeleteObject(m_bitmap);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Dc() const { return m_dc; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

    void Fill(COLORREF colour)
    {
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x)
                Set(x, y, colour);
    }
    void Set(int x, int y, COLORREF colour)
    {
        GdiFlush();
        m_pixels[y * m_width + x] = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    }
    COLORREF Get(int x, int y) const
    {
        GdiFlush();
        const DWORD p = m_pixels[y * m_width + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    DWORD Raw(int x, int y) const
    {
        GdiFlush();
        return m_pixels[y * m_width + x];
    }
    void SetRaw(int x, int y, DWORD value)
    {
        GdiFlush();
        m_pixels[y * m_width + x] = value;
    }
    // Every pixel's raw value, top row first.
    std::vector<uint32_t> RawPixels() const
    {
        GdiFlush();
        return std::vector<uint32_t>(m_pixels, m_pixels + m_width * m_height);
    }
    // Takes the bitmap out of the DC (to select it elsewhere) and puts it back.
    HBITMAP Release()
    {
        SelectObject(m_dc, m_old);
        return m_bitmap;
    }
    void Restore() { SelectObject(m_dc, m_bitmap); }

private:
    int m_width;
    int m_height;
    HBITMAP m_bitmap = NULL;
    DWORD* m_pixels = nullptr;
    HDC m_dc = NULL;
    HGDIOBJ m_old = NULL;
};

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kMagenta = RGB(255, 0, 255);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);
