#include "TablePictures.h"

#include <gdiplus.h>

#include <string.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <thread>

#include "Bitmaps.h"
#include "Conversions.h"

namespace {

constexpr COLORREF kKeyColour = RGB(255, 0, 255);

}  // namespace

CTableImage::~CTableImage()
{
    ReleaseSourceDC();
    if (m_hBitmap != NULL)
        ::DeleteObject(m_hBitmap);
}

void CTableImage::ReleaseSourceDC()
{
    if (m_hSourceDC != NULL) {
        ::SelectObject(m_hSourceDC, m_hOldBitmap);
        ::DeleteDC(m_hSourceDC);
    }
    m_hSourceDC = NULL;
    m_hOldBitmap = NULL;
}

HDC CTableImage::SourceDC(HDC hDC) const
{
    if (m_hSourceDC == NULL && m_hBitmap != NULL) {
        m_hSourceDC = ::CreateCompatibleDC(hDC);
        if (m_hSourceDC != NULL)
            m_hOldBitmap = ::SelectObject(m_hSourceDC, m_hBitmap);
    }
    return m_hSourceDC;
}

int CTableImage::LeadingClearColumns(int cellWidth, int cellHeight) const
{
    DIBSECTION dib;
    if (!m_bAlpha || cellWidth <= 0 || cellHeight <= 0 || ::GetObject(m_hBitmap, sizeof dib, &dib) != sizeof dib ||
        dib.dsBm.bmBits == NULL || dib.dsBm.bmBitsPixel != 32)
        return cellWidth;
    const uint8_t* bits = static_cast<const uint8_t*>(dib.dsBm.bmBits);
    const int stride = dib.dsBm.bmWidthBytes;
    int widest = 0;
    for (int top = 0; top + cellHeight <= m_height; top += cellHeight)
        for (int left = 0; left + cellWidth <= m_width; left += cellWidth) {
            // Not fully opaque counts as clear. An empty cell (no card in it)
            // is never drawn.
            int cellWidest = 0;
            bool opaque = false;
            for (int y = top; y < top + cellHeight; y++) {
                const uint32_t* row = reinterpret_cast<const uint32_t*>(bits + (size_t)y * stride) + left;
                int clear = 0;
                while (clear < cellWidth && (row[clear] >> 24) != 0xFF)
                    clear++;
                opaque = opaque || clear < cellWidth;
                cellWidest = clear > cellWidest ? clear : cellWidest;
            }
            if (opaque && cellWidest > widest)
                widest = cellWidest;
        }
    return widest;
}

BOOL CTableImage::FromPicture(GdiplusPicture* picture)
{
    m_pPicture.reset(picture);
    if (picture == NULL || picture->image == NULL || picture->width == 0 || picture->height == 0)
        return FALSE;
    const int w = (int)picture->width, h = (int)picture->height;
    BITMAPINFO info;
    memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = NULL;
    HBITMAP hBitmap = ::CreateDIBSection(NULL, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    if (hBitmap == NULL)
        return FALSE;
    // Premultiplied pixels for AlphaBlend, straight from GDI+.
    Gdiplus::Bitmap copy(w, h, w * 4, PixelFormat32bppPARGB, static_cast<BYTE*>(bits));
    {
        Gdiplus::Graphics graphics(&copy);
        graphics.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
        graphics.DrawImage(picture->image, Gdiplus::Rect(0, 0, w, h), 0, 0, w, h, Gdiplus::UnitPixel);
    }
    // A picture without a transparent pixel is copied, not blended.
    const uint32_t* pixel = static_cast<const uint32_t*>(bits);
    const size_t count = (size_t)w * (size_t)h;
    size_t opaque = 0;
    while (opaque < count && (pixel[opaque] >> 24) == 0xFF)
        opaque++;
    ReleaseSourceDC();
    if (m_hBitmap != NULL)
        ::DeleteObject(m_hBitmap);
    m_hBitmap = hBitmap;
    m_width = w;
    m_height = h;
    m_bAlpha = TRUE;
    m_bOpaque = opaque == count;
    return TRUE;
}

BOOL CTableImage::LoadPictureFile(LPCSTR lpszPath)
{
    WCHAR* wide = AnsiToWideAlloc(lpszPath);
    if (wide == NULL)
        return FALSE;
    GdiplusPicture* picture = new GdiplusPicture;
    picture->image = new Gdiplus::Image(wide);
    delete[] wide;
    GetImageSize(picture);
    if (picture->width == 0 || picture->height == 0) {
        delete picture;
        return FALSE;
    }
    return FromPicture(picture);
}

void RunPictureJobs(const std::vector<std::function<void()>>& jobs)
{
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const size_t threads = std::min<size_t>(std::min(4u, cores), jobs.size());
    std::atomic<size_t> next(0);
    auto work = [&jobs, &next] {
        for (size_t i = next++; i < jobs.size(); i = next++)
            jobs[i]();
    };
    std::vector<std::thread> pool;
    for (size_t t = 1; t < threads; t++)
        pool.emplace_back([&work] {
            // The picture decoders are COM objects; this thread is ours.
            const HRESULT com = ::CoInitializeEx(NULL, COINIT_MULTITHREADED);
            work();
            if (SUCCEEDED(com))
                ::CoUninitialize();
        });
    work();   // the calling thread too, as its COM stands
    for (std::thread& t : pool)
        t.join();
}

BOOL CTableImage::LoadBitmapFile(LPCSTR lpszPath)
{
    HBITMAP hBitmap = (HBITMAP)::LoadImageA(NULL, lpszPath, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    if (hBitmap == NULL)
        return FALSE;
    ReleaseSourceDC();
    if (m_hBitmap != NULL)
        ::DeleteObject(m_hBitmap);
    m_hBitmap = hBitmap;
    m_width = GetBitmapWidth(hBitmap);
    m_height = GetBitmapHeight(hBitmap);
    m_bAlpha = FALSE;
    m_bOpaque = FALSE;
    return TRUE;
}

BOOL CTableImage::MakeKeyTransparent()
{
    if (m_hBitmap == NULL || m_bAlpha)
        return m_hBitmap != NULL;
    ReleaseSourceDC();
    BITMAPINFO info;
    memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = m_width;
    info.bmiHeader.biHeight = -m_height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = NULL;
    HBITMAP hAlpha = ::CreateDIBSection(NULL, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    if (hAlpha == NULL)
        return FALSE;
    HDC hScreen = ::GetDC(NULL);
    const int lines = ::GetDIBits(hScreen, m_hBitmap, 0, (UINT)m_height, bits, &info, DIB_RGB_COLORS);
    ::ReleaseDC(NULL, hScreen);
    if (lines != m_height) {
        ::DeleteObject(hAlpha);
        return FALSE;
    }
    // Opaque everywhere but the key colour, which becomes fully transparent
    // (premultiplied: all four bytes 0).
    uint32_t* pixel = static_cast<uint32_t*>(bits);
    const size_t count = (size_t)m_width * (size_t)m_height;
    for (size_t i = 0; i < count; i++)
        pixel[i] = (pixel[i] & 0x00FFFFFFu) == 0x00FF00FFu ? 0u : (pixel[i] | 0xFF000000u);
    ::DeleteObject(m_hBitmap);
    m_hBitmap = hAlpha;
    m_bAlpha = TRUE;
    return TRUE;
}

void CTableImage::Draw(HDC hDC, int x, int y, int w, int h, int sx, int sy, int sw, int sh) const
{
    if (m_hBitmap == NULL || w <= 0 || h <= 0 || sw <= 0 || sh <= 0)
        return;
    if (!::RectVisible(hDC, CRect(x, y, x + w, y + h)))
        return;
    HDC hMem = SourceDC(hDC);
    if (hMem == NULL)
        return;
    if (m_bAlpha && !m_bOpaque) {
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        ::AlphaBlend(hDC, x, y, w, h, hMem, sx, sy, sw, sh, blend);
    } else if (w == sw && h == sh) {
        ::BitBlt(hDC, x, y, w, h, hMem, sx, sy, SRCCOPY);
    } else {
        ::SetStretchBltMode(hDC, COLORONCOLOR);
        ::StretchBlt(hDC, x, y, w, h, hMem, sx, sy, sw, sh, SRCCOPY);
    }
}

void CTableImage::DrawKeyed(HDC hDC, int x, int y, int w, int h, int sx, int sy, int sw, int sh) const
{
    if (m_hBitmap == NULL || w <= 0 || h <= 0)
        return;
    if (m_bAlpha) {
        Draw(hDC, x, y, w, h, sx, sy, sw, sh);
        return;
    }
    if (!::RectVisible(hDC, CRect(x, y, x + w, y + h)))
        return;
    if (HDC hMem = SourceDC(hDC))
        ::TransparentBlt(hDC, x, y, w, h, hMem, sx, sy, sw, sh, kKeyColour);
}

void CTableImage::DrawMasked(HDC hDC, int x, int y, int w, int h) const
{
    if (m_hBitmap == NULL || w <= 0 || h <= 0 || 2 * w > m_width || h > m_height)
        return;
    if (!::RectVisible(hDC, CRect(x, y, x + w, y + h)))
        return;
    HDC hMem = SourceDC(hDC);
    if (hMem == NULL)
        return;
    // The mask (black shown, white left out) ANDed, then the picture ORed.
    ::BitBlt(hDC, x, y, w, h, hMem, w, 0, SRCAND);
    ::BitBlt(hDC, x, y, w, h, hMem, 0, 0, SRCPAINT);
}

const CTableImage& TablePictures::Theme(const char* section, const char* key) const
{
    static const CTableImage empty;
    const auto it = theme.find(std::string(section) + "/" + key);
    return it != theme.end() && it->second ? *it->second : empty;
}

const CTableImage& TablePictures::Fixed(int id) const
{
    static const CTableImage empty;
    const auto it = fixed.find(id);
    return it != fixed.end() && it->second ? *it->second : empty;
}

const CTableImage& TablePictures::Rewards(const char* name) const
{
    static const CTableImage empty;
    const auto it = rewards.find(name);
    return it != rewards.end() && it->second ? *it->second : empty;
}
