// ODDrawing.cpp - resource module, bitmaps by mode, off-screen DCs, the
// palette picture and the cached background.
#include "ODDrawing.h"

#include <string.h>

#include <string>

#include "graphics/DibFunctions.h"
#include "graphics/GdiHelpers.h"
#include "graphics/TileLayout.h"

// ---- Resource module and type names ------------------------------------------------------

namespace {

HMODULE g_hResource = NULL;

const char* const kTypeNames[4] = {"ODRES_BITMAP", "ODRES_GIF", "ODRES_JPEG", "ODRES_PNG"};

}  // namespace

HMODULE ODSetResourceHandle(HMODULE module)
{
    const HMODULE old = g_hResource;
    g_hResource = module;
    return old;
}

HMODULE ODGetResourceHandle()
{
    if (!g_hResource)
        g_hResource = AfxGetInstanceHandle();
    return g_hResource;
}

LPCSTR ODGetResourceTypeName(int index)
{
    return index >= 0 && index < 4 ? kTypeNames[index] : NULL;
}

// ---- Bitmaps into rectangles ----------------------------------------------------------------

void ODDrawBitmapInRect(CDC* pDC, const RECT& rect, HBITMAP bitmap, int mode)
{
    DrawBitmapByMode(pDC, &rect, bitmap, mode == OD_DRAW_PLAIN || mode == OD_DRAW_TILE ? mode : OD_DRAW_STRETCH);
}

void ODDrawBitmapInRect(CDC* pDC, const RECT& rect, HBITMAP bitmap, int mode, COLORREF key)
{
    if (key == CLR_INVALID) {
        ODDrawBitmapInRect(pDC, rect, bitmap, mode);
        return;
    }
    const HDC dc = pDC->GetSafeHdc();
    BITMAP bm;
    if (!dc || !bitmap || GetObject(bitmap, sizeof bm, &bm) == 0)
        return;
    gfxgdi::BitmapDC memory(dc);
    if (!memory.Select(bitmap))
        return;
    const int srcW = bm.bmWidth, srcH = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;
    const int dstW = rect.right - rect.left, dstH = rect.bottom - rect.top;
    const HDC memoryDC = memory.Get();
    const int layoutMode = mode == OD_DRAW_PLAIN || mode == OD_DRAW_TILE ? mode : OD_DRAW_STRETCH;
    const bool laidOut = tiles::Layout(layoutMode, dstW, dstH, srcW, srcH, [&](const tiles::Piece& p) {
        TransparentBlt(dc, rect.left + p.dstX, rect.top + p.dstY, p.width, p.height, memoryDC, p.srcX, p.srcY,
                       p.width, p.height, key);
    });
    if (!laidOut && dstW > 0 && dstH > 0 && srcW > 0 && srcH > 0)
        TransparentBlt(dc, rect.left, rect.top, dstW, dstH, memoryDC, 0, 0, srcW, srcH, key);
}

// ---- CODMemDC -------------------------------------------------------------------------------------

CODMemDC::CODMemDC() : m_bCreated(FALSE), m_rcTarget(0, 0, 0, 0), m_hOldBitmap(NULL), m_pTarget(NULL) {}

CODMemDC::~CODMemDC()
{
    Flush(TRUE);
    m_bitmap.DeleteObject();
}

BOOL CODMemDC::Create(CDC* pTarget, const RECT& rect)
{
    if (m_bCreated)
        return TRUE;
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (!pTarget || !pTarget->GetSafeHdc() || w <= 0 || h <= 0 || !CreateCompatibleDC(pTarget))
        return FALSE;
    if (!m_bitmap.CreateCompatibleBitmap(pTarget, w, h)) {
        DeleteDC();
        return FALSE;
    }
    m_hOldBitmap = ::SelectObject(m_hDC, m_bitmap.m_hObject);
    m_pTarget = pTarget;
    m_rcTarget = rect;
    m_bCreated = TRUE;
    return TRUE;
}

void CODMemDC::Flush(BOOL copyBack)
{
    if (!m_bCreated)
        return;
    if (copyBack && m_pTarget)
        ::BitBlt(m_pTarget->GetSafeHdc(), m_rcTarget.left, m_rcTarget.top, m_rcTarget.Width(), m_rcTarget.Height(),
                 m_hDC, 0, 0, SRCCOPY);
    ::SelectObject(m_hDC, m_hOldBitmap);
    m_hOldBitmap = NULL;
    m_bitmap.DeleteObject();
    DeleteDC();
    m_bCreated = FALSE;
}

CRect CODMemDC::ToLocal(const RECT& rect) const
{
    CRect r(rect);
    r.OffsetRect(-m_rcTarget.left, -m_rcTarget.top);
    return r;
}

CPoint CODMemDC::ToLocal(POINT point) const
{
    return CPoint(point.x - m_rcTarget.left, point.y - m_rcTarget.top);
}

BOOL CODMemDC::CopyFromTarget()
{
    if (!m_bCreated || !m_pTarget)
        return FALSE;
    return ::BitBlt(m_hDC, 0, 0, m_rcTarget.Width(), m_rcTarget.Height(), m_pTarget->GetSafeHdc(), m_rcTarget.left,
                    m_rcTarget.top, SRCCOPY);
}

// ---- CODBackDC ----------------------------------------------------------------------------------

CODBackDC::CODBackDC(CDC* pTarget, const RECT* rect, BOOL copyBackground)
    : m_hOldBitmap(NULL), m_pTarget(pTarget), m_rect(0, 0, 0, 0), m_bOffScreen(FALSE)
{
    if (!pTarget || !pTarget->GetSafeHdc())
        return;
    if (rect)
        m_rect = *rect;
    else
        ::GetClipBox(pTarget->m_hDC, &m_rect);
    const int w = m_rect.Width(), h = m_rect.Height();
    if (!pTarget->IsPrinting() && w > 0 && h > 0 && CreateCompatibleDC(pTarget)) {
        if (m_bitmap.CreateCompatibleBitmap(pTarget, w, h)) {
            m_hOldBitmap = ::SelectObject(m_hDC, m_bitmap.m_hObject);
            ::SetWindowOrgEx(m_hDC, m_rect.left, m_rect.top, NULL);
            if (copyBackground)
                ::BitBlt(m_hDC, m_rect.left, m_rect.top, w, h, pTarget->m_hDC, m_rect.left, m_rect.top, SRCCOPY);
            m_bOffScreen = TRUE;
            return;
        }
        DeleteDC();
    }
    // Straight onto the target: its handles are borrowed.
    m_hDC = pTarget->m_hDC;
    m_hAttribDC = pTarget->m_hAttribDC;
    m_bPrinting = pTarget->m_bPrinting;
}

CODBackDC::~CODBackDC()
{
    if (m_bOffScreen) {
        ::BitBlt(m_pTarget->m_hDC, m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), m_hDC, m_rect.left,
                 m_rect.top, SRCCOPY);
        ::SelectObject(m_hDC, m_hOldBitmap);
    } else {
        m_hDC = NULL;  // borrowed: released, not deleted
        m_hAttribDC = NULL;
    }
    m_bitmap.DeleteObject();
}

// ---- CODDib ---------------------------------------------------------------------------------------

CODDib::CODDib()
    : m_pBlock(NULL), m_nBlockSize(0), m_header(), m_nStride(0), m_nPaletteEntries(0), m_hSection(NULL),
      m_hMemDC(NULL), m_pSectionBits(NULL)
{
}

CODDib::~CODDib() { Free(); }

void CODDib::Free()
{
    if (m_hMemDC)
        ::DeleteDC(m_hMemDC);
    if (m_hSection)
        ::DeleteObject(m_hSection);
    free(m_pBlock);
    m_hMemDC = NULL;
    m_hSection = NULL;
    m_pSectionBits = NULL;
    m_pBlock = NULL;
    m_nBlockSize = 0;
    memset(&m_header, 0, sizeof m_header);
    m_nStride = 0;
    m_nPaletteEntries = 0;
}

BITMAPINFOHEADER* CODDib::Create(int width, int height, int bitCount)
{
    Free();
    if (width < 1 || height < 1)
        return NULL;
    int entries;
    switch (bitCount) {
    case 1: entries = 2; break;
    case 4: entries = 16; break;
    case 8: entries = 256; break;
    case 16:
    case 24:
    case 32: entries = 0; break;
    default: return NULL;
    }
    const unsigned long long stride = ((static_cast<unsigned long long>(bitCount) * width + 31) >> 5) << 2;
    const unsigned long long image = stride * static_cast<unsigned long long>(height);
    if (image > kMaxImageBytes)
        return NULL;
    const DWORD size = static_cast<DWORD>(sizeof(BITMAPINFOHEADER) + entries * sizeof(RGBQUAD) + image);
    BYTE* block = static_cast<BYTE*>(calloc(size, 1));
    if (!block)
        return NULL;
    m_header.biSize = sizeof(BITMAPINFOHEADER);
    m_header.biWidth = width;
    m_header.biHeight = height;
    m_header.biPlanes = 1;
    m_header.biBitCount = static_cast<WORD>(bitCount);
    m_header.biCompression = BI_RGB;
    m_header.biSizeImage = static_cast<DWORD>(image);
    memcpy(block, &m_header, sizeof m_header);
    m_pBlock = block;
    m_nBlockSize = size;
    m_nStride = static_cast<int>(stride);
    m_nPaletteEntries = entries;
    return reinterpret_cast<BITMAPINFOHEADER*>(m_pBlock);
}

BOOL CODDib::CopyFrom(const CODDib& other)
{
    if (&other == this)
        return TRUE;
    if (!other.m_pBlock) {
        Free();
        return FALSE;
    }
    if (!Create(other.GetWidth(), other.GetHeight(), other.GetBitCount()))
        return FALSE;
    memcpy(m_pBlock, other.m_pBlock, m_nBlockSize);
    return TRUE;
}

BYTE* CODDib::GetBits() const
{
    return m_pBlock ? m_pBlock + sizeof(BITMAPINFOHEADER) + m_nPaletteEntries * sizeof(RGBQUAD) : NULL;
}

void CODDib::Fill(BYTE index)
{
    if (m_pBlock)
        memset(GetBits(), index, m_header.biSizeImage);
}

void CODDib::SetPixelIndex(int x, int y, BYTE index)
{
    if (!m_pBlock || m_nPaletteEntries == 0 || x < 0 || y < 0 || x >= GetWidth() || y >= GetHeight())
        return;
    BYTE* row = GetBits() + static_cast<size_t>(GetHeight() - y - 1) * m_nStride;
    switch (GetBitCount()) {
    case 8:
        row[x] = index;
        break;
    case 4: {
        BYTE& b = row[x / 2];
        b = (x & 1) ? static_cast<BYTE>((b & 0xF0) | (index & 0x0F)) : static_cast<BYTE>((b & 0x0F) | (index << 4));
        break;
    }
    case 1: {
        const BYTE bit = static_cast<BYTE>(0x80 >> (x & 7));
        BYTE& b = row[x / 8];
        b = (index & 1) ? static_cast<BYTE>(b | bit) : static_cast<BYTE>(b & ~bit);
        break;
    }
    }
}

void CODDib::SetPaletteEntry(int index, BYTE r, BYTE g, BYTE b)
{
    if (!m_pBlock || index < 0 || index >= m_nPaletteEntries)
        return;
    RGBQUAD* entry = reinterpret_cast<RGBQUAD*>(m_pBlock + sizeof(BITMAPINFOHEADER)) + index;
    entry->rgbBlue = b;
    entry->rgbGreen = g;
    entry->rgbRed = r;
    entry->rgbReserved = 0;
}

RGBQUAD CODDib::GetPaletteEntry(int index) const
{
    RGBQUAD q = {};
    if (m_pBlock && index >= 0 && index < m_nPaletteEntries)
        q = reinterpret_cast<const RGBQUAD*>(m_pBlock + sizeof(BITMAPINFOHEADER))[index];
    return q;
}

void CODDib::MakeGrayPalette()
{
    if (!m_pBlock || m_nPaletteEntries == 0)
        return;
    for (int i = 0; i < m_nPaletteEntries; ++i)
        SetPaletteEntry(i, static_cast<BYTE>(i), static_cast<BYTE>(i), static_cast<BYTE>(i));
    SetPaletteEntry(0, 0, 0, 0);
    SetPaletteEntry(m_nPaletteEntries - 1, 255, 255, 255);
}

void CODDib::MakeShadePalette(COLORREF colour, int percent)
{
    if (!m_pBlock || m_nPaletteEntries == 0)
        return;
    percent = percent < 0 ? 0 : (percent > 100 ? 100 : percent);
    RGBQUAD* entries = reinterpret_cast<RGBQUAD*>(m_pBlock + sizeof(BITMAPINFOHEADER));
    for (int i = 0; i < m_nPaletteEntries; ++i) {
        RGBQUAD& e = entries[i];
        e.rgbBlue = static_cast<BYTE>((e.rgbBlue * (100 - percent) + GetBValue(colour) * percent) / 100);
        e.rgbGreen = static_cast<BYTE>((e.rgbGreen * (100 - percent) + GetGValue(colour) * percent) / 100);
        e.rgbRed = static_cast<BYTE>((e.rgbRed * (100 - percent) + GetRValue(colour) * percent) / 100);
    }
}

BOOL CODDib::CreateSection(HDC dc, int x, int y)
{
    if (!m_pBlock || !dc)
        return FALSE;
    if (!m_hSection) {
        m_hSection = ::CreateDIBSection(dc, reinterpret_cast<const BITMAPINFO*>(m_pBlock), DIB_RGB_COLORS,
                                        &m_pSectionBits, NULL, 0);
        if (m_hSection && !m_pSectionBits) {
            ::DeleteObject(m_hSection);
            m_hSection = NULL;
        }
        if (!m_hSection)
            return FALSE;
    }
    if (!m_hMemDC) {
        m_hMemDC = ::CreateCompatibleDC(dc);
        if (!m_hMemDC)
            return FALSE;
    }
    GdiFlush();
    memcpy(m_pSectionBits, GetBits(), m_header.biSizeImage);
    const HGDIOBJ old = ::SelectObject(m_hMemDC, m_hSection);
    const BOOL ok = ::BitBlt(dc, x, y, GetWidth(), GetHeight(), m_hMemDC, 0, 0, SRCCOPY);
    ::SelectObject(m_hMemDC, old);
    return ok;
}

BOOL CODDib::SaveBmp(LPCSTR fileName) const
{
    if (!fileName || !*fileName || !m_pBlock)
        return FALSE;
    BITMAPFILEHEADER fh = {};
    fh.bfType = 0x4D42;  // "BM"
    fh.bfSize = m_nBlockSize + sizeof fh;
    fh.bfOffBits = static_cast<DWORD>(sizeof fh + sizeof(BITMAPINFOHEADER) + m_nPaletteEntries * sizeof(RGBQUAD));
    static_assert(sizeof(BITMAPFILEHEADER) == 14, "the .bmp file header is 14 bytes");

    const std::string temp = std::string(fileName) + ".tmp";
    HANDLE file = ::CreateFileA(temp.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    DWORD written1 = 0, written2 = 0;
    const BOOL ok = ::WriteFile(file, &fh, sizeof fh, &written1, NULL) && written1 == sizeof fh &&
                    ::WriteFile(file, m_pBlock, m_nBlockSize, &written2, NULL) && written2 == m_nBlockSize;
    ::CloseHandle(file);
    if (!ok || !::MoveFileExA(temp.c_str(), fileName, MOVEFILE_REPLACE_EXISTING)) {
        ::DeleteFileA(temp.c_str());
        return FALSE;
    }
    return TRUE;
}

// ---- CODCachedImage ------------------------------------------------------------------------------

CODCachedImage::CODCachedImage() : m_bCached(FALSE) {}

BOOL CODCachedImage::BuildCache(CDC* pSource, const RECT& rect, POINT sourcePoint)
{
    Reset();
    const HDC source = pSource->GetSafeHdc();
    if (!source)
        return 0;
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0)
        return 1;
    gfxgdi::GdiObjectHolder bitmap(::CreateCompatibleBitmap(source, w, h));
    bool copied = false;
    {
        gfxgdi::BitmapDC copy(source);  // selects the bitmap back out when it goes
        copied = bitmap.Get() && copy.Select(static_cast<HBITMAP>(bitmap.Get())) &&
                 ::BitBlt(copy, 0, 0, w, h, source, sourcePoint.x, sourcePoint.y, SRCCOPY);
    }
    if (copied)
        m_bCached = LoadFromBitmap(static_cast<HBITMAP>(bitmap.Get()));
    return 1;
}

BOOL CODCachedImage::Draw(CDC* pTarget, CDC* pSource, const RECT& rect, POINT sourcePoint)
{
    if (!pTarget->GetSafeHdc() || !pSource->GetSafeHdc())
        return 0;
    if (!m_bCached)
        BuildCache(pSource, rect, sourcePoint);
    if (m_bCached)
        CQVDib16::Draw(pTarget->m_hDC, NULL, rect.left, rect.top);
    return 1;
}

void CODCachedImage::Reset()
{
    Free();
    m_bCached = FALSE;
}
