#include "QVBitmap.h"

#include "BmpFormat.h"
#include "StringFunctions.h"

#include <ocidl.h>
#include <olectl.h>

#include <algorithm>
#include <vector>

namespace {

int DefaultScreenBits()
{
    HDC hdc = ::GetDC(NULL);
    const int bits = ::GetDeviceCaps(hdc, BITSPIXEL) * ::GetDeviceCaps(hdc, PLANES);
    ::ReleaseDC(NULL, hdc);
    return bits;
}

CQVBitmap::ScreenBitsRoutine g_screenBits = DefaultScreenBits;

// Larger picture files are refused before anything is read.
const DWORD kMaxPictureFile = 64u * 1024 * 1024;

BOOL ReadFileRange(LPCSTR lpszPath, DWORD nOffset, DWORD nLength, std::vector<BYTE>& out, BOOL bWhole)
{
    HANDLE h = ::CreateFileA(lpszPath, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (h == INVALID_HANDLE_VALUE)
        return FALSE;
    LARGE_INTEGER size;
    BOOL ok = ::GetFileSizeEx(h, &size) && size.QuadPart <= kMaxPictureFile;
    if (ok) {
        const DWORD nFile = (DWORD)size.QuadPart;
        if (bWhole) {
            nOffset = 0;
            nLength = nFile;
        } else if (nOffset > nFile) {
            ok = FALSE;
        } else if (nLength == 0) {
            nLength = nFile - nOffset;
        } else if (nLength > nFile - nOffset) {
            ok = FALSE;   // the window reaches past the end: a short read
        }
    }
    if (ok && nLength == 0)
        ok = FALSE;
    if (ok) {
        out.resize(nLength);
        LARGE_INTEGER pos;
        pos.QuadPart = nOffset;
        DWORD nRead = 0;
        ok = ::SetFilePointerEx(h, pos, NULL, FILE_BEGIN) && ::ReadFile(h, out.data(), nLength, &nRead, NULL) &&
             nRead == nLength;
    }
    ::CloseHandle(h);
    return ok;
}

}  // namespace

BEGIN_MESSAGE_MAP(CQVToolTipCtrl, CToolTipCtrl)
    ON_MESSAGE(WM_DISABLEMODAL, OnDisableModal)
END_MESSAGE_MAP()

CQVBitmap::ScreenBitsRoutine CQVBitmap::SetScreenBitsRoutine(ScreenBitsRoutine routine)
{
    ScreenBitsRoutine old = g_screenBits;
    g_screenBits = routine != NULL ? routine : DefaultScreenBits;
    return old;
}

CQVBitmap::~CQVBitmap()
{
    Clear();
}

void CQVBitmap::Clear()
{
    if (m_hPalette != NULL) {
        ::DeleteObject(m_hPalette);
        m_hPalette = NULL;
    }
    m_nPaletteColors = 0;
    DeleteObject();
}

int CQVBitmap::Width() const
{
    BITMAP bm;
    return m_hObject != NULL && ::GetObject(m_hObject, sizeof bm, &bm) ? bm.bmWidth : 0;
}

int CQVBitmap::Height() const
{
    BITMAP bm;
    return m_hObject != NULL && ::GetObject(m_hObject, sizeof bm, &bm) ? bm.bmHeight : 0;
}

BOOL CQVBitmap::GetSize(SIZE* pSize) const
{
    BITMAP bm;
    if (m_hObject == NULL || !::GetObject(m_hObject, sizeof bm, &bm))
        return FALSE;
    pSize->cx = bm.bmWidth;
    pSize->cy = bm.bmHeight;
    return TRUE;
}

BOOL CQVBitmap::CreatePaletteFromDIB(const BITMAPINFO* pInfo)
{
    if (pInfo == NULL || pInfo->bmiHeader.biSize < sizeof(BITMAPINFOHEADER))
        return FALSE;
    const BITMAPINFOHEADER& h = pInfo->bmiHeader;
    UINT nColors = h.biClrUsed;
    if (nColors == 0 && h.biBitCount <= 8)
        nColors = 1u << h.biBitCount;
    if (h.biBitCount <= 8)
        nColors = std::min<UINT>(nColors, 1u << h.biBitCount);
    nColors = std::min<UINT>(nColors, 256);
    if (h.biBitCount > 8 || nColors == 0 || g_screenBits() > 8)
        return FALSE;
    std::vector<BYTE> buf(sizeof(LOGPALETTE) + nColors * sizeof(PALETTEENTRY));
    LOGPALETTE* pLog = reinterpret_cast<LOGPALETTE*>(buf.data());
    pLog->palVersion = 0x300;
    pLog->palNumEntries = (WORD)nColors;
    const RGBQUAD* pTable = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(pInfo) + h.biSize);
    for (UINT i = 0; i < nColors; i++) {
        pLog->palPalEntry[i].peRed = pTable[i].rgbRed;
        pLog->palPalEntry[i].peGreen = pTable[i].rgbGreen;
        pLog->palPalEntry[i].peBlue = pTable[i].rgbBlue;
        pLog->palPalEntry[i].peFlags = 0;
    }
    if (m_hPalette != NULL)
        ::DeleteObject(m_hPalette);
    m_hPalette = ::CreatePalette(pLog);
    m_nPaletteColors = m_hPalette != NULL ? (int)nColors : 0;
    return m_hPalette != NULL;
}

BOOL CQVBitmap::CreateFromDIB(const BITMAPINFO* pInfo, BOOL bPalette)
{
    Clear();
    if (pInfo == NULL)
        return FALSE;
    const BITMAPINFOHEADER& h = pInfo->bmiHeader;
    UINT nColors = h.biClrUsed;
    if (nColors == 0 && h.biBitCount <= 8)
        nColors = 1u << h.biBitCount;
    nColors = std::min<UINT>(nColors, 256);
    const BYTE* pBits = reinterpret_cast<const BYTE*>(pInfo) + h.biSize + 4 * nColors;
    if (h.biSize == sizeof(BITMAPINFOHEADER) && h.biCompression == BI_BITFIELDS)
        pBits += 12;
    if (bPalette)
        CreatePaletteFromDIB(pInfo);
    HDC hdc = ::GetDC(NULL);
    HPALETTE hOld = NULL;
    if (m_hPalette != NULL) {
        hOld = ::SelectPalette(hdc, m_hPalette, FALSE);
        ::RealizePalette(hdc);
    }
    HBITMAP hBitmap = ::CreateDIBitmap(hdc, &h, CBM_INIT, pBits, pInfo, DIB_RGB_COLORS);
    if (hOld != NULL)
        ::SelectPalette(hdc, hOld, FALSE);
    ::ReleaseDC(NULL, hdc);
    if (hBitmap == NULL) {
        Clear();
        return FALSE;
    }
    Attach(hBitmap);
    return TRUE;
}

BOOL CQVBitmap::CreateFromFileBytes(const BYTE* pData, size_t nSize, BOOL bPalette)
{
    bmpfmt::Info info;
    if (pData == NULL || bmpfmt::CheckFile(pData, nSize, nSize, &info) != bmpfmt::Check::Ok)
        return FALSE;
    if (info.headerSize < sizeof(BITMAPINFOHEADER))
        return FALSE;   // core headers are not read here
    // The DIB as CreateFromDIB expects it: header, colour table, pixels.
    const size_t nTable = bmpfmt::kFileHeaderSize + info.headerSize + 4u * std::min<uint32_t>(info.colors, 256) +
                          ((info.compression == BI_BITFIELDS && info.headerSize == sizeof(BITMAPINFOHEADER)) ? 12 : 0);
    std::vector<BYTE> dib;
    dib.reserve(nTable - bmpfmt::kFileHeaderSize + info.pixelBytes);
    dib.assign(pData + bmpfmt::kFileHeaderSize, pData + nTable);
    dib.insert(dib.end(), pData + info.offBits, pData + info.offBits + info.pixelBytes);
    BITMAPINFOHEADER* pHeader = reinterpret_cast<BITMAPINFOHEADER*>(dib.data());
    if (info.bitCount <= 8)
        pHeader->biClrUsed = info.colors;
    return CreateFromDIB(reinterpret_cast<const BITMAPINFO*>(dib.data()), bPalette);
}

BOOL CQVBitmap::LoadResourceBitmap(UINT nResourceId, BOOL bAsDib)
{
    if (nResourceId == 0 || !bAsDib) {
        Clear();
        return LoadBitmap(nResourceId);
    }
    return LoadResourceBitmap(AfxGetResourceHandle(), nResourceId);
}

BOOL CQVBitmap::LoadResourceBitmap(HINSTANCE hModule, UINT nResourceId)
{
    Clear();
    HRSRC hRes = ::FindResourceA(hModule, MAKEINTRESOURCEA(nResourceId), (LPCSTR)RT_BITMAP);
    if (hRes == NULL)
        return FALSE;
    const DWORD nSize = ::SizeofResource(hModule, hRes);
    HGLOBAL hData = ::LoadResource(hModule, hRes);
    const BYTE* p = hData != NULL ? static_cast<const BYTE*>(::LockResource(hData)) : NULL;
    if (p == NULL || nSize < sizeof(BITMAPINFOHEADER))
        return FALSE;
    // A resource bitmap is a file without its 14-byte header: check it as one.
    std::vector<BYTE> file(bmpfmt::kFileHeaderSize + nSize);
    const BITMAPINFOHEADER* h = reinterpret_cast<const BITMAPINFOHEADER*>(p);
    UINT nColors = h->biClrUsed;
    if (nColors == 0 && h->biBitCount <= 8)
        nColors = 1u << h->biBitCount;
    const uint32_t nOff = bmpfmt::kFileHeaderSize + h->biSize + 4 * std::min<UINT>(nColors, 256) +
                          ((h->biSize == sizeof(BITMAPINFOHEADER) && h->biCompression == BI_BITFIELDS) ? 12 : 0);
    bmpfmt::FileHeader fh = bmpfmt::MakeFileHeader(nSize, nOff - bmpfmt::kFileHeaderSize);
    memcpy(file.data(), &fh, sizeof fh);
    memcpy(file.data() + bmpfmt::kFileHeaderSize, p, nSize);
    return CreateFromFileBytes(file.data(), file.size(), TRUE);
}

BOOL CQVBitmap::LoadFromFile(LPCSTR lpszPath, BOOL bPalette, DWORD nOffset, DWORD nLength)
{
    if (lpszPath == NULL || *lpszPath == '\0')
        return FALSE;
    std::vector<BYTE> data;
    if (StrFindNoCase(lpszPath, ".bmp") != NULL) {
        if (!ReadFileRange(lpszPath, nOffset, nLength, data, FALSE))
            return FALSE;
        if (data.size() < 2 || data[0] != 'B' || data[1] != 'M')
            return FALSE;
        return CreateFromFileBytes(data.data(), data.size(), bPalette);
    }
    if (!ReadFileRange(lpszPath, 0, 0, data, TRUE))
        return FALSE;
    return LoadFromPictureBytes(data.data(), data.size());
}

BOOL CQVBitmap::LoadFromPictureBytes(const void* pData, size_t nSize)
{
    HBITMAP hBitmap = DecodePicture(pData, nSize);
    if (hBitmap == NULL)
        return FALSE;
    Clear();
    Attach(hBitmap);
    return TRUE;
}

HBITMAP CQVBitmap::DecodePicture(const void* pData, size_t nSize)
{
    if (pData == NULL || nSize == 0 || nSize > kMaxPictureFile)
        return NULL;
    HGLOBAL hGlobal = ::GlobalAlloc(GMEM_MOVEABLE, nSize);
    if (hGlobal == NULL)
        return NULL;
    void* p = ::GlobalLock(hGlobal);
    memcpy(p, pData, nSize);
    ::GlobalUnlock(hGlobal);
    const HRESULT hrInit = ::CoInitializeEx(NULL, COINIT_APARTMENTTHREADED);
    HBITMAP hResult = NULL;
    IStream* pStream = NULL;
    if (SUCCEEDED(::CreateStreamOnHGlobal(hGlobal, TRUE, &pStream))) {
        IPicture* pPicture = NULL;
        if (SUCCEEDED(::OleLoadPicture(pStream, (LONG)nSize, FALSE, IID_IPicture, (void**)&pPicture)) &&
            pPicture != NULL) {
            OLE_XSIZE_HIMETRIC hmWidth = 0;
            OLE_YSIZE_HIMETRIC hmHeight = 0;
            pPicture->get_Width(&hmWidth);
            pPicture->get_Height(&hmHeight);
            HDC hScreen = ::GetDC(NULL);
            const int cx = ::MulDiv(hmWidth, ::GetDeviceCaps(hScreen, LOGPIXELSX), 2540);
            const int cy = ::MulDiv(hmHeight, ::GetDeviceCaps(hScreen, LOGPIXELSY), 2540);
            if (cx > 0 && cy > 0 && cx <= bmpfmt::kMaxSide && cy <= bmpfmt::kMaxSide) {
                HDC hMem = ::CreateCompatibleDC(hScreen);
                HBITMAP hBitmap = ::CreateCompatibleBitmap(hScreen, cx, cy);
                if (hMem != NULL && hBitmap != NULL) {
                    HGDIOBJ hOld = ::SelectObject(hMem, hBitmap);
                    if (SUCCEEDED(pPicture->Render(hMem, 0, 0, cx, cy, 0, hmHeight, hmWidth, -hmHeight, NULL)))
                        hResult = hBitmap;
                    ::SelectObject(hMem, hOld);
                }
                if (hResult == NULL && hBitmap != NULL)
                    ::DeleteObject(hBitmap);
                if (hMem != NULL)
                    ::DeleteDC(hMem);
            }
            ::ReleaseDC(NULL, hScreen);
            pPicture->Release();
        }
        pStream->Release();   // frees the memory too
    } else {
        ::GlobalFree(hGlobal);
    }
    if (SUCCEEDED(hrInit))
        ::CoUninitialize();
    return hResult;
}

HBITMAP CQVBitmap::LoadImageFromModule(HINSTANCE hModule, UINT nResourceId, int nKind)
{
    static const char* const kTypes[] = {NULL, "JPG", "JPEG", "GIF"};
    if (nKind == 0)
        return ::LoadBitmapA(hModule, MAKEINTRESOURCEA(nResourceId));
    if (nKind < 1 || nKind > 3)
        return NULL;
    HRSRC hRes = ::FindResourceA(hModule, MAKEINTRESOURCEA(nResourceId), kTypes[nKind]);
    if (hRes == NULL)
        return NULL;
    const DWORD nSize = ::SizeofResource(hModule, hRes);
    HGLOBAL hData = ::LoadResource(hModule, hRes);
    const void* p = hData != NULL ? ::LockResource(hData) : NULL;
    return p != NULL ? DecodePicture(p, nSize) : NULL;
}

void CQVBitmap::SelectPaletteInto(CDC* pDC, BOOL bBackground)
{
    if (m_hPalette != NULL && pDC != NULL) {
        ::SelectPalette(pDC->GetSafeHdc(), m_hPalette, bBackground);
        ::RealizePalette(pDC->GetSafeHdc());
    }
}

void CQVBitmap::RealizePaletteIn(CWnd* pWnd, CDC* pDC, BOOL bBackground)
{
    if (m_hPalette == NULL)
        return;
    if (pDC != NULL) {
        SelectPaletteInto(pDC, bBackground);
        return;
    }
    HDC hdc = ::GetDC(pWnd->GetSafeHwnd());
    ::SelectPalette(hdc, m_hPalette, bBackground);
    ::RealizePalette(hdc);
    ::ReleaseDC(pWnd->GetSafeHwnd(), hdc);
}

void CQVBitmap::BlitCell(HDC hTarget, HDC hSource, int x, int y, int w, int h, int sx, int sy, BOOL bMasked, int mx,
                         int my)
{
    if (!bMasked) {
        ::BitBlt(hTarget, x, y, w, h, hSource, sx, sy, m_dwRop);
        return;
    }
    // Off screen: the target's pixels, the mask ANDed, the image ORed, back.
    HDC hOff = ::CreateCompatibleDC(hTarget);
    HBITMAP hOffBmp = ::CreateCompatibleBitmap(hTarget, w, h);
    if (hOff == NULL || hOffBmp == NULL) {
        if (hOffBmp != NULL)
            ::DeleteObject(hOffBmp);
        if (hOff != NULL)
            ::DeleteDC(hOff);
        ::BitBlt(hTarget, x, y, w, h, hSource, mx, my, SRCAND);
        ::BitBlt(hTarget, x, y, w, h, hSource, sx, sy, SRCPAINT);
        return;
    }
    HGDIOBJ hOld = ::SelectObject(hOff, hOffBmp);
    ::BitBlt(hOff, 0, 0, w, h, hTarget, x, y, SRCCOPY);
    ::BitBlt(hOff, 0, 0, w, h, hSource, mx, my, SRCAND);
    ::BitBlt(hOff, 0, 0, w, h, hSource, sx, sy, SRCPAINT);
    ::BitBlt(hTarget, x, y, w, h, hOff, 0, 0, SRCCOPY);
    ::SelectObject(hOff, hOld);
    ::DeleteObject(hOffBmp);
    ::DeleteDC(hOff);
}

BOOL CQVBitmap::DrawImage(CDC* pDC, int x, int y, int cx, int cy, UINT nFlags, const POINT* pSrc,
                          const POINT* pMask, const SIZE* pSrcSize)
{
    SIZE full;
    if (pDC == NULL || !GetSize(&full))
        return FALSE;
    HDC hTarget = pDC->GetSafeHdc();
    HDC hMem = ::CreateCompatibleDC(hTarget);
    if (hMem == NULL)
        return FALSE;
    HGDIOBJ hOldBmp = ::SelectObject(hMem, m_hObject);
    HPALETTE hOldPalTarget = NULL, hOldPalMem = NULL;
    if (m_hPalette != NULL) {
        hOldPalTarget = ::SelectPalette(hTarget, m_hPalette, m_bPaletteBackground);
        hOldPalMem = ::SelectPalette(hMem, m_hPalette, m_bPaletteBackground);
        ::RealizePalette(hTarget);
        ::RealizePalette(hMem);
    }

    POINT src = pSrc != NULL ? *pSrc : POINT{0, 0};
    SIZE size = pSrcSize != NULL ? *pSrcSize : full;
    const BOOL bMasked = (nFlags & kMasked) != 0;
    POINT mask = {0, 0};
    if (bMasked) {
        if (pMask != NULL) {
            mask = *pMask;
        } else {
            mask.x = full.cx / 2;
            mask.y = 0;
            if (pSrc == NULL && pSrcSize == NULL)
                size.cx = full.cx / 2;
        }
    }

    int nSaved = 0;
    if (cx != 0 && cy != 0) {
        nSaved = ::SaveDC(hTarget);
        ::IntersectClipRect(hTarget, x, y, x + cx, y + cy);
    }

    if (nFlags & kTile) {
        // A zero-sized tile covers nothing: stop rather than loop.
        if (size.cx > 0 && size.cy > 0) {
            for (int ty = y; ty < y + cy; ty += size.cy)
                for (int tx = x; tx < x + cx; tx += size.cx) {
                    RECT tile = {tx, ty, tx + size.cx, ty + size.cy};
                    if (::RectVisible(hTarget, &tile))
                        BlitCell(hTarget, hMem, tx, ty, size.cx, size.cy, src.x, src.y, bMasked, mask.x, mask.y);
                }
        }
    } else if (nFlags & kStretch) {
        const int nMode = ::SetStretchBltMode(hTarget, COLORONCOLOR);
        if (bMasked) {
            ::StretchBlt(hTarget, x, y, cx, cy, hMem, mask.x, mask.y, size.cx, size.cy, SRCAND);
            ::StretchBlt(hTarget, x, y, cx, cy, hMem, src.x, src.y, size.cx, size.cy, SRCPAINT);
        } else {
            ::StretchBlt(hTarget, x, y, cx, cy, hMem, src.x, src.y, size.cx, size.cy, m_dwRop);
        }
        ::SetStretchBltMode(hTarget, nMode);
    } else {
        if (nFlags & kCentreX)
            x += (cx - size.cx) / 2;
        if (nFlags & kCentreY)
            y += (cy - size.cy) / 2;
        if (size.cx > 0 && size.cy > 0)
            BlitCell(hTarget, hMem, x, y, size.cx, size.cy, src.x, src.y, bMasked, mask.x, mask.y);
    }

    if (nSaved != 0)
        ::RestoreDC(hTarget, nSaved);
    if (m_hPalette != NULL) {
        ::SelectPalette(hMem, hOldPalMem, TRUE);
        ::SelectPalette(hTarget, hOldPalTarget, TRUE);
        ::RealizePalette(hTarget);
    }
    ::SelectObject(hMem, hOldBmp);
    ::DeleteDC(hMem);
    return TRUE;
}

BOOL CQVBitmap::DrawToDC(CDC* pDC, const RECT* pRect, UINT nFlags, const POINT* pSrc, const POINT* pMask,
                         const SIZE* pSrcSize)
{
    if (pDC == NULL)
        return FALSE;
    RECT r;
    if (pRect != NULL) {
        r = *pRect;
    } else {
        HWND hWnd = ::WindowFromDC(pDC->GetSafeHdc());
        if (hWnd == NULL || !::GetClientRect(hWnd, &r))
            return FALSE;
        r.right--;
        r.bottom--;
    }
    return DrawImage(pDC, r.left, r.top, r.right - r.left + 1, r.bottom - r.top + 1, nFlags, pSrc, pMask, pSrcSize);
}

BOOL CQVBitmap::DrawNineGrid(CDC* pDC, const RECT& rect, int nInflate, BOOL bFillCentre)
{
    SIZE full;
    if (pDC == NULL || !GetSize(&full))
        return FALSE;
    const int cw = full.cx / 3, ch = full.cy / 3;
    if (cw <= 0 || ch <= 0)
        return FALSE;
    CRect r(rect);
    r.InflateRect(nInflate, nInflate);
    const SIZE cell = {cw, ch};
    auto part = [&](int col, int row, int x, int y, int cx, int cy, UINT flags) {
        if ((flags & kTile) && (cx <= 0 || cy <= 0))
            return;
        const POINT src = {col * cw, row * ch};
        DrawImage(pDC, x, y, cx, cy, flags, &src, NULL, &cell);
    };
    const int innerW = r.Width() - 2 * cw, innerH = r.Height() - 2 * ch;
    // Edges and centre first, corners last so they stay whole.
    part(1, 0, r.left + cw, r.top, innerW, ch, kTile);
    part(1, 2, r.left + cw, r.bottom - ch, innerW, ch, kTile);
    part(0, 1, r.left, r.top + ch, cw, innerH, kTile);
    part(2, 1, r.right - cw, r.top + ch, cw, innerH, kTile);
    if (bFillCentre)
        part(1, 1, r.left + cw, r.top + ch, innerW, innerH, kTile);
    part(0, 0, r.left, r.top, 0, 0, 0);
    part(2, 0, r.right - cw, r.top, 0, 0, 0);
    part(0, 2, r.left, r.bottom - ch, 0, 0, 0);
    part(2, 2, r.right - cw, r.bottom - ch, 0, 0, 0);
    return TRUE;
}
