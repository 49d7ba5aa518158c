// QVMemBitmapGdi.cpp - the 16-bit surface towards GDI: its memory DC,
// drawing to devices (plain, keyed, stretched), conversion from and to
// bitmaps, and the DIB section routines.
#include "QVMemBitmap.h"

#include "GdiHelpers.h"

#include <stdlib.h>
#include <string.h>

using gfxgdi::BitmapDC;
using gfxgdi::GdiObjectHolder;
using gfxgdi::ScreenDC;
using qvsurf::BlitArea;
using qvsurf::PixRect;
using qvsurf::SurfaceView;

namespace {

// A device counts as this large when drawings to it are clipped.
const int kDeviceSide = 65535;

int DefaultDeviceDepth(HDC dc) { return GetDeviceCaps(dc, BITSPIXEL); }

CQVMemBitmap::DeviceDepthQuery g_deviceDepth = DefaultDeviceDepth;

// The surface's header cut to rows [top, top + rows).
BITMAPINFOHEADER RowsHeader(const BITMAPINFO* header, int rows, UINT stride)
{
    BITMAPINFOHEADER h = header->bmiHeader;
    h.biHeight = -rows;
    h.biSizeImage = stride * static_cast<UINT>(rows);
    return h;
}

// SetDIBitsToDevice of a part of the pixels: only the rows of the part are
// handed over, so top-down addressing of the source never matters.
int SetRows(HDC dc, const BITMAPINFO* header, const SurfaceView& view, const BlitArea& a)
{
    struct
    {
        BITMAPINFOHEADER info;
        DWORD masks[3];
    } cut;
    const int rows = a.src.Height();
    cut.info = RowsHeader(header, rows, view.stride);
    memcpy(cut.masks, header->bmiColors, sizeof cut.masks);
    return SetDIBitsToDevice(dc, a.dstX, a.dstY, static_cast<DWORD>(a.src.Width()), static_cast<DWORD>(rows),
                             a.src.left, 0, 0, static_cast<UINT>(rows), view.Row(a.src.top),
                             reinterpret_cast<const BITMAPINFO*>(&cut), DIB_RGB_COLORS);
}

// Device colours put back when the drawing ends, whichever way it ends.
class DeviceColours
{
public:
    DeviceColours(HDC dc, COLORREF background, COLORREF text)
        : m_dc(dc), m_background(SetBkColor(dc, background)), m_text(SetTextColor(dc, text))
    {
    }
    ~DeviceColours()
    {
        SetBkColor(m_dc, m_background);
        SetTextColor(m_dc, m_text);
    }
    DeviceColours(const DeviceColours&) = delete;
    DeviceColours& operator=(const DeviceColours&) = delete;

private:
    HDC m_dc;
    COLORREF m_background;
    COLORREF m_text;
};

}  // namespace

CQVMemBitmap::DeviceDepthQuery CQVMemBitmap::SetDeviceDepthQuery(DeviceDepthQuery query)
{
    DeviceDepthQuery previous = g_deviceDepth;
    g_deviceDepth = query ? query : DefaultDeviceDepth;
    return previous;
}

// ---- Memory DC -------------------------------------------------------------------------------

HDC CQVMemBitmap::GetDC()
{
    if (m_hDC) {
        OutputDebugStringA("\r\nError:在没有释放先前GetDC得到的句柄情况下又调用了CQVMemBitmap的GetDC()\r\n");
        return NULL;
    }
    if (!m_pBits)
        return NULL;
    void* bits = NULL;
    GdiObjectHolder dib(CreateDIBSectionEx(m_nWidth, m_nHeight, 16, &bits));
    if (!dib.Get())
        return NULL;
    HDC dc = CreateCompatibleDC(NULL);
    if (!dc)
        return NULL;
    // The DC starts with the picture as it is (a plain copy: the origin and
    // the clip rectangle are for drawing into the surface, not for this).
    GdiFlush();
    memcpy(bits, m_pBits, static_cast<size_t>(m_nStride) * m_nHeight);
    m_hOldBitmap = SelectObject(dc, dib.Release());
    m_hDC = dc;
    m_pDibBits = static_cast<WORD*>(bits);
    return dc;
}

BOOL CQVMemBitmap::ReleaseDC(HDC dc)
{
    if (!m_hDC)
        return FALSE;
    if (dc != m_hDC) {
        OutputDebugStringA("\r\nError:在CQVMemBitmap的ReleaseDC中释放的HDC与开始分配的句柄不同\r\n");
        return FALSE;
    }
    HGDIOBJ dib = SelectObject(m_hDC, m_hOldBitmap);
    GdiFlush();
    // Copied back only while the surface still has the size it had.
    DIBSECTION ds;
    if (m_pBits && GetObject(dib, sizeof ds, &ds) == sizeof ds && ds.dsBm.bmWidth == m_nWidth &&
        ds.dsBm.bmHeight == m_nHeight)
        memcpy(m_pBits, m_pDibBits, static_cast<size_t>(m_nStride) * m_nHeight);
    DeleteObject(dib);
    DeleteDC(m_hDC);
    m_hDC = NULL;
    m_hOldBitmap = NULL;
    m_pDibBits = NULL;
    return TRUE;
}

// ---- Drawing to devices --------------------------------------------------------------------------

BOOL CQVMemBitmap::ClipForDevice(const RECT* rect, int x, int y, BlitArea& a) const
{
    const PixRect wanted = rect ? PixRect{rect->left, rect->top, rect->right, rect->bottom}
                                : PixRect{0, 0, m_nWidth, m_nHeight};
    return qvsurf::ClipBlit(wanted, m_nWidth, m_nHeight, x, y, kDeviceSide, kDeviceSide, Rules(), a);
}

BOOL CQVMemBitmap::Draw(HDC dc, const RECT* rect, int x, int y) const
{
    if (!dc || !m_pBits)
        return FALSE;
    BlitArea a;
    if (!ClipForDevice(rect, x, y, a))
        return TRUE;
    return SetRows(dc, GetHeader(), View(), a) == a.src.Height();
}

// The whole picture at (0, 0), without origin or clip rectangle.
BOOL CQVMemBitmap::DrawRaw(HDC dc) const
{
    const BlitArea all{PixRect{0, 0, m_nWidth, m_nHeight}, 0, 0};
    return SetRows(dc, GetHeader(), View(), all) == m_nHeight;
}

BOOL CQVMemBitmap::DrawTransparent(HDC dc, const RECT* rect, int x, int y) const
{
    if (m_nKeyMode == 0)
        return Draw(dc, rect, x, y);
    if (!dc || !m_pBits)
        return FALSE;
    BlitArea a;
    if (!ClipForDevice(rect, x, y, a))
        return TRUE;
    if (g_deviceDepth(dc) == 16)
        return DrawKeyed16(dc, a);
    return DrawMasked(dc, a);
}

// On a 16-bit device: the device's area is read into a 565 DIB section, the
// non-key pixels are copied over it and it is put back.
BOOL CQVMemBitmap::DrawKeyed16(HDC dc, const BlitArea& a) const
{
    const int w = a.src.Width(), h = a.src.Height();
    void* bits = NULL;
    GdiObjectHolder dib(CreateDIBSectionEx(w, h, 16, &bits));
    BitmapDC work(dc);
    if (!dib.Get() || !work.Select(static_cast<HBITMAP>(dib.Get())))
        return FALSE;
    if (!BitBlt(work, 0, 0, w, h, dc, a.dstX, a.dstY, SRCCOPY))
        return FALSE;
    GdiFlush();
    const SurfaceView area{static_cast<uint16_t*>(bits), w, h, qvsurf::StrideFor(w)};
    qvsurf::CopyKeyed(area, View(), BlitArea{a.src, 0, 0}, KeyPixel());
    return BitBlt(dc, a.dstX, a.dstY, w, h, work, 0, 0, SRCCOPY);
}

// On other devices: a monochrome mask of the key pixels; the device keeps
// its pixels under the mask (AND) and gets the picture with its key pixels
// blackened (OR).
BOOL CQVMemBitmap::DrawMasked(HDC dc, const BlitArea& a) const
{
    const DeviceColours colours(dc, RGB(255, 255, 255), RGB(0, 0, 0));

    GdiObjectHolder image(CreateCompatibleBitmap(dc, m_nWidth, m_nHeight));
    BitmapDC imageDC(dc);
    if (!image.Get() || !imageDC.Select(static_cast<HBITMAP>(image.Get())) || !DrawRaw(imageDC))
        return FALSE;

    // The mask colour: with the corner key the first pixel as drawn; with a
    // key colour the first pixel of the drawn area (row by row, left to
    // right) equal to it, or else the nearest one (|pixel - key| of the
    // COLORREF values; the first of equals wins). So the key still works
    // when the device shows no pixel exactly in the key colour.
    COLORREF maskColour = CLR_INVALID;
    if (m_nKeyMode == 2) {
        maskColour = ::GetPixel(imageDC, 0, 0);
    } else {
        uint32_t nearest = UINT32_MAX;
        for (int y = a.src.top; y < a.src.bottom && nearest != 0; ++y)
            for (int x = a.src.left; x < a.src.right && nearest != 0; ++x) {
                const COLORREF pixel = ::GetPixel(imageDC, x, y);
                if (pixel == CLR_INVALID)
                    continue;
                const uint32_t distance = pixel > m_crKey ? pixel - m_crKey : m_crKey - pixel;
                if (distance < nearest) {
                    nearest = distance;
                    maskColour = pixel;
                }
            }
    }
    if (maskColour == CLR_INVALID)
        return FALSE;

    GdiObjectHolder mask(::CreateBitmap(m_nWidth, m_nHeight, 1, 1, NULL));
    BitmapDC maskDC(dc);
    if (!mask.Get() || !maskDC.Select(static_cast<HBITMAP>(mask.Get())))
        return FALSE;
    SetBkColor(imageDC, maskColour);
    SetTextColor(imageDC, RGB(0, 0, 0));
    if (!BitBlt(maskDC, 0, 0, m_nWidth, m_nHeight, imageDC, 0, 0, SRCCOPY))
        return FALSE;
    SetBkColor(imageDC, RGB(0, 0, 0));
    SetTextColor(imageDC, RGB(255, 255, 255));
    if (!BitBlt(imageDC, 0, 0, m_nWidth, m_nHeight, maskDC, 0, 0, SRCAND))
        return FALSE;

    const int w = a.src.Width(), h = a.src.Height();
    return BitBlt(dc, a.dstX, a.dstY, w, h, maskDC, a.src.left, a.src.top, SRCAND) &&
           BitBlt(dc, a.dstX, a.dstY, w, h, imageDC, a.src.left, a.src.top, SRCPAINT);
}

BOOL CQVMemBitmap::StretchDraw(HDC dc, const RECT* srcRect, const RECT* dstRect) const
{
    if (!dc || !m_pBits)
        return FALSE;
    const RECT whole = {0, 0, m_nWidth, m_nHeight};
    const RECT& s = srcRect ? *srcRect : whole;
    const RECT& d = dstRect ? *dstRect : whole;
    GdiObjectHolder image(CreateCompatibleBitmap(dc, m_nWidth, m_nHeight));
    BitmapDC imageDC(dc);
    if (!image.Get() || !imageDC.Select(static_cast<HBITMAP>(image.Get())))
        return FALSE;
    const BOOL drawn = DrawRaw(imageDC);
    SetStretchBltMode(imageDC, COLORONCOLOR);
    SetStretchBltMode(dc, COLORONCOLOR);
    const BOOL stretched = StretchBlt(dc, d.left, d.top, d.right - d.left, d.bottom - d.top, imageDC, s.left, s.top,
                                      s.right - s.left, s.bottom - s.top, SRCCOPY);
    return drawn && stretched;
}

BOOL CQVMemBitmap::StretchBlit(const CQVMemBitmap* src, const RECT* srcRect, const RECT* dstRect)
{
    if (!src || !src->m_pBits || !m_pBits)
        return FALSE;
    PixRect s = srcRect ? PixRect{srcRect->left, srcRect->top, srcRect->right, srcRect->bottom}
                        : PixRect{0, 0, src->m_nWidth, src->m_nHeight};
    PixRect d = dstRect ? PixRect{dstRect->left, dstRect->top, dstRect->right, dstRect->bottom}
                        : PixRect{0, 0, m_nWidth, m_nHeight};
    if (!qvsurf::ClipStretch(s, src->m_nWidth, src->m_nHeight, d, m_nWidth, m_nHeight, m_ptOrigin.x, m_ptOrigin.y))
        return TRUE;
    if (s.Width() == d.Width() && s.Height() == d.Height()) {
        // The clip is done already: a plain copy of the areas.
        qvsurf::CopyPlain(View(), src->View(), BlitArea{s, d.left, d.top});
        return TRUE;
    }
    HDC dc = GetDC();
    if (!dc)
        return FALSE;
    const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    struct
    {
        BITMAPINFOHEADER info;
        DWORD masks[3];
    } cut;
    cut.info = RowsHeader(src->GetHeader(), s.Height(), src->m_nStride);
    memcpy(cut.masks, src->m_header.masks, sizeof cut.masks);
    const int rows = StretchDIBits(dc, d.left, d.top, d.Width(), d.Height(), s.left, 0, s.Width(), s.Height(),
                                   src->View().Row(s.top), reinterpret_cast<const BITMAPINFO*>(&cut), DIB_RGB_COLORS,
                                   SRCCOPY);
    SetStretchBltMode(dc, oldMode);
    ReleaseDC(dc);
    return rows != static_cast<int>(GDI_ERROR) && rows != 0;
}

// ---- Bitmaps -------------------------------------------------------------------------------------

HBITMAP CQVMemBitmap::CreateBitmap() const
{
    if (!m_pBits)
        return NULL;
    HDC screen = GetWindowDC(NULL);
    if (!screen)
        return NULL;
    GdiObjectHolder bitmap(CreateCompatibleBitmap(screen, m_nWidth, m_nHeight));
    bool drawn = false;
    {
        BitmapDC dc(screen);
        drawn = bitmap.Get() && dc.Select(static_cast<HBITMAP>(bitmap.Get())) && DrawRaw(dc);
    }
    ::ReleaseDC(NULL, screen);
    return drawn ? static_cast<HBITMAP>(bitmap.Release()) : NULL;
}

BOOL CQVMemBitmap::LoadFromBitmap(HBITMAP bitmap)
{
    BITMAP bm;
    if (!bitmap || GetObject(bitmap, sizeof bm, &bm) == 0)
        return FALSE;
    if (!Create(bm.bmWidth, bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight))
        return FALSE;
    bool copied = false;
    {
        ScreenDC screen;
        void* bits = NULL;
        GdiObjectHolder dib(screen.Get() ? CreateDIBSection(screen, GetHeader(), DIB_RGB_COLORS, &bits, NULL, 0) : NULL);
        BitmapDC from(screen), to(screen);
        if (dib.Get() && from.Select(bitmap) && to.Select(static_cast<HBITMAP>(dib.Get())) &&
            BitBlt(to, 0, 0, m_nWidth, m_nHeight, from, 0, 0, SRCCOPY)) {
            GdiFlush();
            memcpy(m_pBits, bits, static_cast<size_t>(m_nStride) * m_nHeight);
            copied = true;
        }
    }
    if (!copied)
        Free();
    return copied;
}

BOOL CQVMemBitmap::LoadFromBmpFile(HINSTANCE instance, LPCTSTR path)
{
    if (!path || !gfxgdi::IsSoundBmpFile(path))
        return FALSE;
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImage(instance, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    if (!bitmap)
        return FALSE;
    const BOOL loaded = LoadFromBitmap(bitmap);
    DeleteObject(bitmap);
    return loaded;
}

// ---- DIB routines ------------------------------------------------------------------------------------

HBITMAP CQVMemBitmap::CreateDIBSectionEx(int width, int height, int bitsPerPixel, void** bits)
{
    UINT colours = 0;
    UINT rowBytes = 0;
    switch (bitsPerPixel) {
    case 1: case 2: case 4: case 8:
        colours = 1u << bitsPerPixel;
        rowBytes = ((static_cast<UINT>(width) * bitsPerPixel + 31) / 32) * 4;
        break;
    case 16:
        colours = 3;
        rowBytes = (static_cast<UINT>(width) * 2 + 2) & ~3u;
        break;
    case 24: rowBytes = (static_cast<UINT>(width) * 3 + 3) & ~3u; break;
    case 32: rowBytes = static_cast<UINT>(width) * 4; break;
    default: return NULL;
    }
    if (width <= 0 || height <= 0 || width > 32767 || height > 32767)
        return NULL;

    struct
    {
        BITMAPINFOHEADER info;
        RGBQUAD colours[256];
    } header;
    memset(&header, 0, sizeof header);
    BITMAPINFOHEADER& h = header.info;
    h.biSize = sizeof(BITMAPINFOHEADER);
    h.biWidth = width;
    h.biHeight = -height;
    h.biPlanes = 1;
    h.biBitCount = static_cast<WORD>(bitsPerPixel);
    h.biCompression = bitsPerPixel == 16 ? BI_BITFIELDS : BI_RGB;
    h.biSizeImage = rowBytes * static_cast<UINT>(height);
    h.biClrUsed = colours;
    if (bitsPerPixel == 16) {
        static const DWORD kMasks[3] = {0xF800, 0x07E0, 0x001F};
        memcpy(header.colours, kMasks, sizeof kMasks);
    } else if (colours) {
        PALETTEENTRY entries[256];
        const UINT n = GetPaletteEntries(static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), 0, colours, entries);
        for (UINT i = 0; i < n && i < colours; ++i) {
            header.colours[i].rgbRed = entries[i].peRed;
            header.colours[i].rgbGreen = entries[i].peGreen;
            header.colours[i].rgbBlue = entries[i].peBlue;
        }
    }
    ScreenDC screen;
    void* pixels = NULL;
    HBITMAP dib = CreateDIBSection(screen, reinterpret_cast<const BITMAPINFO*>(&header), DIB_RGB_COLORS, &pixels, NULL, 0);
    if (!dib || !pixels) {
        if (dib)
            DeleteObject(dib);
        return NULL;
    }
    if (bits)
        *bits = pixels;
    else
        memset(pixels, 0, h.biSizeImage);
    return dib;
}

UINT CQVMemBitmap::DibNumColors(const void* header)
{
    if (!header)
        return 0;
    const BITMAPINFOHEADER* info = static_cast<const BITMAPINFOHEADER*>(header);
    WORD bitCount;
    if (info->biSize == sizeof(BITMAPCOREHEADER)) {
        bitCount = static_cast<const BITMAPCOREHEADER*>(header)->bcBitCount;
    } else {
        if (info->biClrUsed)
            return info->biClrUsed;
        bitCount = info->biBitCount;
    }
    switch (bitCount) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
    }
}

UINT CQVMemBitmap::DibPaletteSize(const void* header)
{
    if (!header)
        return 0;
    const bool core = static_cast<const BITMAPINFOHEADER*>(header)->biSize == sizeof(BITMAPCOREHEADER);
    return DibNumColors(header) * (core ? sizeof(RGBTRIPLE) : sizeof(RGBQUAD));
}
