// ImageObjGdi.cpp - the image object's device side: resources, GDI
// bitmaps, drawing to a device, the memory DC and stretched drawing into
// another image.
#include "ImageObj.h"

#include <string.h>

#include "ImagePixels.h"

using imgpix::Rect;

namespace {

// The device counts as 65535 x 65535 pixels.
const int kDeviceSide = 65535;

Rect ToRect(const RECT& r) { return Rect{r.left, r.top, r.right, r.bottom}; }

// A DIB section in the picture's own format (FreeImage's header, palette and
// masks) and the bytes of its pixels; NULL on failure.
HBITMAP CreateMatchingDib(HDC dc, FIBITMAP* bitmap, void** bits)
{
    *bits = NULL;
    HBITMAP dib = CreateDIBSection(dc, FreeImage_GetInfo(bitmap), DIB_RGB_COLORS, bits, NULL, 0);
    if (dib && !*bits) {
        DeleteObject(dib);
        dib = NULL;
    }
    return dib;
}

size_t PixelBytes(FIBITMAP* bitmap)
{
    return static_cast<size_t>(FreeImage_GetPitch(bitmap)) * FreeImage_GetHeight(bitmap);
}

// The pixels of a bitmap that is selected into some other DC (so it cannot
// be selected for a blit) read with GetDIBits in the picture's format. GDI
// writes the header it is given, so it gets a copy; the colours it reports
// become the picture's palette.
bool ReadSelectedBitmap(HDC screen, HBITMAP bitmap, FIBITMAP* picture)
{
    struct
    {
        BITMAPINFOHEADER header;
        RGBQUAD colours[256];
    } info;
    memset(&info, 0, sizeof info);
    const unsigned colours = FreeImage_GetColorsUsed(picture) > 256 ? 256 : FreeImage_GetColorsUsed(picture);
    const BITMAPINFO* own = FreeImage_GetInfo(picture);
    info.header = own->bmiHeader;
    if (colours)
        memcpy(info.colours, own->bmiColors, colours * sizeof(RGBQUAD));
    else if (info.header.biCompression == BI_BITFIELDS)
        memcpy(info.colours, own->bmiColors, 3 * sizeof(DWORD));
    const int height = static_cast<int>(FreeImage_GetHeight(picture));
    if (GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), FreeImage_GetBits(picture),
                  reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS) != height)
        return false;
    if (colours && FreeImage_GetPalette(picture))
        memcpy(FreeImage_GetPalette(picture), info.colours, colours * sizeof(RGBQUAD));
    return true;
}

}  // namespace

BOOL CImageObj::LoadResource(HMODULE module, LPCSTR name, LPCSTR type, WORD language)
{
    if (!module)
        return LoadFile(name);
    Unload();
    HRSRC info = FindResourceExA(module, type, name, language);
    if (!info)
        return FALSE;
    const DWORD size = SizeofResource(module, info);
    HGLOBAL block = ::LoadResource(module, info);
    const void* data = block ? LockResource(block) : NULL;
    if (!data || size == 0)
        return FALSE;
    return LoadMemory(data, size);
}

BOOL CImageObj::LoadFromBitmap(HBITMAP bitmap, int bpp)
{
    BITMAP bm;
    if (!bitmap || GetObject(bitmap, sizeof bm, &bm) != sizeof bm)
        return FALSE;
    if (bpp == 0)
        bpp = bm.bmBitsPixel;
    if (!Create(bm.bmWidth, bm.bmHeight, bpp))
        return FALSE;

    BOOL done = FALSE;
    HDC screen = GetWindowDC(NULL);
    void* bits = NULL;
    HBITMAP dib = CreateMatchingDib(screen, m_pBitmap, &bits);
    HDC from = CreateCompatibleDC(screen);
    HDC to = CreateCompatibleDC(screen);
    if (dib && from && to) {
        HGDIOBJ oldFrom = SelectObject(from, bitmap);
        HGDIOBJ oldTo = SelectObject(to, dib);
        if (oldFrom && oldTo && BitBlt(to, 0, 0, bm.bmWidth, bm.bmHeight, from, 0, 0, SRCCOPY)) {
            GdiFlush();
            memcpy(FreeImage_GetBits(m_pBitmap), bits, PixelBytes(m_pBitmap));
            done = TRUE;
        } else if (!oldFrom) {
            done = ReadSelectedBitmap(screen, bitmap, m_pBitmap);
        }
        if (oldFrom)
            SelectObject(from, oldFrom);
        if (oldTo)
            SelectObject(to, oldTo);
    }
    if (from)
        DeleteDC(from);
    if (to)
        DeleteDC(to);
    if (dib)
        DeleteObject(dib);
    if (screen)
        ::ReleaseDC(NULL, screen);
    if (!done) {
        Unload();
        return FALSE;
    }
    return Normalize();
}

BOOL CImageObj::DrawToDC(HDC dc, const RECT* source, int x, int y) const
{
    if (!m_pBitmap || !dc)
        return FALSE;
    Rect area, d, s;
    if (source)
        area = ToRect(*source);
    const imgpix::DestRules device;
    if (!imgpix::ClipFrame(source ? &area : NULL, GetWidth(), GetHeight(), kDeviceSide, kDeviceSide, device, x, y, &d,
                           &s))
        return TRUE;
    const int lines = SetDIBitsToDevice(dc, d.left, d.top, static_cast<DWORD>(d.Width()), static_cast<DWORD>(d.Height()),
                                        s.left, GetHeight() - s.bottom, 0, static_cast<UINT>(GetHeight()),
                                        FreeImage_GetBits(m_pBitmap), FreeImage_GetInfo(m_pBitmap), DIB_RGB_COLORS);
    return lines == d.Height();
}

BOOL CImageObj::StretchToDC(HDC dc, const RECT* destination, const RECT* source) const
{
    if (!m_pBitmap || !dc)
        return FALSE;
    const RECT whole = {0, 0, GetWidth(), GetHeight()};
    const RECT s = source ? *source : whole;
    const RECT d = destination ? *destination : whole;
    if (s.right <= s.left || s.bottom <= s.top)
        return TRUE;
    const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, d.left, d.top, d.right - d.left, d.bottom - d.top, s.left, GetHeight() - s.bottom,
                  s.right - s.left, s.bottom - s.top, FreeImage_GetBits(m_pBitmap), FreeImage_GetInfo(m_pBitmap),
                  DIB_RGB_COLORS, SRCCOPY);
    if (oldMode)
        SetStretchBltMode(dc, oldMode);
    return TRUE;
}

HDC CImageObj::GetDC()
{
    if (m_hDC || !m_pBitmap)
        return NULL;
    HDC dc = CreateCompatibleDC(NULL);
    if (!dc)
        return NULL;
    // The section takes the picture's own colour table, so the pixels
    // written back by ReleaseDC still mean the picture's colours.
    void* bits = NULL;
    HBITMAP dib = CreateMatchingDib(dc, m_pBitmap, &bits);
    HGDIOBJ old = dib ? SelectObject(dc, dib) : NULL;
    if (!old) {
        if (dib)
            DeleteObject(dib);
        DeleteDC(dc);
        return NULL;
    }
    memcpy(bits, FreeImage_GetBits(m_pBitmap), PixelBytes(m_pBitmap));
    m_hDC = dc;
    m_hOldBitmap = old;
    m_hDib = dib;
    m_pDibBits = static_cast<BYTE*>(bits);
    return dc;
}

BOOL CImageObj::ReleaseDC(HDC dc)
{
    if (!dc || dc != m_hDC)
        return FALSE;
    GdiFlush();
    if (m_pBitmap)
        memcpy(FreeImage_GetBits(m_pBitmap), m_pDibBits, PixelBytes(m_pBitmap));
    FreeDC();
    return TRUE;
}

void CImageObj::FreeDC()
{
    if (!m_hDC)
        return;
    SelectObject(m_hDC, m_hOldBitmap);
    DeleteObject(m_hDib);
    DeleteDC(m_hDC);
    m_hDC = NULL;
    m_hOldBitmap = NULL;
    m_hDib = NULL;
    m_pDibBits = NULL;
}

BOOL CImageObj::StretchToDCEx(const CImageObj* source, const RECT* srcRect, const RECT* dstRect)
{
    if (!source || !m_pBitmap || !source->m_pBitmap)
        return FALSE;
    const Rect srcBounds = {0, 0, source->GetWidth(), source->GetHeight()};
    const Rect dstBounds = {0, 0, GetWidth(), GetHeight()};
    const Rect s0 = srcRect ? ToRect(*srcRect) : srcBounds;
    Rect d0 = dstRect ? ToRect(*dstRect) : dstBounds;
    if (s0.IsEmpty() || d0.IsEmpty())
        return FALSE;
    d0.left += m_ptOrigin.x;
    d0.right += m_ptOrigin.x;
    d0.top += m_ptOrigin.y;
    d0.bottom += m_ptOrigin.y;
    const double fx = static_cast<double>(d0.Width()) / s0.Width();
    const double fy = static_cast<double>(d0.Height()) / s0.Height();

    const Rect s1 = imgpix::Intersect(s0, srcBounds);
    const Rect d1 = imgpix::Intersect(d0, dstBounds);
    if (s1.IsEmpty() || d1.IsEmpty())
        return FALSE;
    // The destination edges follow the source's cut (scaled), and are cut to
    // the destination again; the source edges then follow the destination's
    // cut (scaled back). Changes are truncated toward zero.
    const Rect mapped = {d0.left + static_cast<int>((s1.left - s0.left) * fx),
                         d0.top + static_cast<int>((s1.top - s0.top) * fy),
                         d0.right + static_cast<int>((s1.right - s0.right) * fx),
                         d0.bottom + static_cast<int>((s1.bottom - s0.bottom) * fy)};
    const Rect d = imgpix::Intersect(mapped, d1);
    if (d.IsEmpty())
        return FALSE;
    Rect s = {s0.left + static_cast<int>((d.left - d0.left) / fx), s0.top + static_cast<int>((d.top - d0.top) / fy),
              s0.right + static_cast<int>((d.right - d0.right) / fx),
              s0.bottom + static_cast<int>((d.bottom - d0.bottom) / fy)};
    s = imgpix::Intersect(s, s1);
    if (s.IsEmpty())
        return FALSE;

    if (s.Width() == d.Width() && s.Height() == d.Height()) {
        const RECT piece = {s.left, s.top, s.right, s.bottom};
        return BlendDraw1(source, &piece, d.left - m_ptOrigin.x, d.top - m_ptOrigin.y);
    }
    HDC dc = GetDC();
    if (!dc)
        return FALSE;
    const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    const int lines = StretchDIBits(dc, d.left, d.top, d.Width(), d.Height(), s.left, source->GetHeight() - s.bottom,
                                    s.Width(), s.Height(), FreeImage_GetBits(source->m_pBitmap),
                                    FreeImage_GetInfo(source->m_pBitmap), DIB_RGB_COLORS, SRCCOPY);
    if (oldMode)
        SetStretchBltMode(dc, oldMode);
    ReleaseDC(dc);
    return lines != static_cast<int>(GDI_ERROR);
}
