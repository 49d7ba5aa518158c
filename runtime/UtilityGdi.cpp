#include "UtilityGdi.h"

#include "GdiScratch.h"

using runtime_gdi::CSelectedBitmap;

namespace {

const UINT kStandardFontNameId = 29931;

}  // namespace

BOOL KeyedCopy(HDC target, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
               COLORREF key)
{
    if (width <= 0 || height <= 0)
        return TRUE;
    CSelectedBitmap work(target, CreateCompatibleBitmap(target, width, height), true);
    if (!work.Ok())
        return FALSE;
    CSelectedBitmap mask(target, CreateBitmap(width, height, 1, 1, nullptr), true);
    if (!mask.Ok())
        return FALSE;

    BitBlt(work.Dc(), 0, 0, width, height, target, x, y, SRCCOPY);
    const COLORREF oldSourceBack = SetBkColor(source, key);
    BitBlt(mask.Dc(), 0, 0, width, height, source, sourceX, sourceY, SRCCOPY);
    SetBkColor(source, oldSourceBack);

    // Mask bits become white (key pixels) and black (the rest) in the work DC.
    SetBkColor(work.Dc(), RGB(255, 255, 255));
    SetTextColor(work.Dc(), RGB(0, 0, 0));
    BitBlt(work.Dc(), 0, 0, width, height, source, sourceX, sourceY, SRCINVERT);
    BitBlt(work.Dc(), 0, 0, width, height, mask.Dc(), 0, 0, SRCAND);
    BitBlt(work.Dc(), 0, 0, width, height, source, sourceX, sourceY, SRCINVERT);
    BitBlt(target, x, y, width, height, work.Dc(), 0, 0, SRCCOPY);
    return TRUE;
}

BYTE BlendByte(BYTE source, BYTE destination, int k)
{
    return static_cast<BYTE>(source + (((destination - source) * k) >> 8));
}

BOOL BlendCopy(HDC target, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
               int percent)
{
    if (width <= 0 || height <= 0)
        return TRUE;
    percent = percent < 0 ? 0 : (percent > 100 ? 100 : percent);
    const int k = (percent * 256 + 50) / 100;
    const int evenWidth = (width + 1) & ~1;
    void* sourceBits = nullptr;
    void* targetBits = nullptr;
    CSelectedBitmap sourceCopy(target, CreateDibSection32(target, evenWidth, height, &sourceBits), true);
    CSelectedBitmap targetCopy(target, CreateDibSection32(target, evenWidth, height, &targetBits), true);
    if (!sourceCopy.Ok() || !targetCopy.Ok())
        return FALSE;
    BitBlt(sourceCopy.Dc(), 0, 0, width, height, source, sourceX, sourceY, SRCCOPY);
    BitBlt(targetCopy.Dc(), 0, 0, width, height, target, x, y, SRCCOPY);
    GdiFlush();
    const BYTE* s = static_cast<const BYTE*>(sourceBits);
    BYTE* d = static_cast<BYTE*>(targetBits);
    const size_t count = static_cast<size_t>(evenWidth) * static_cast<size_t>(height) * 4;
    for (size_t i = 0; i < count; ++i)
        d[i] = BlendByte(s[i], d[i], k);
    BitBlt(target, x, y, width, height, targetCopy.Dc(), 0, 0, SRCCOPY);
    return TRUE;
}

HBITMAP CreateDibSection32(HDC dc, int width, int height, void** bits)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, NULL, 0);
    if (bits)
        *bits = bitmap ? pixels : nullptr;
    return bitmap;
}

HFONT CreateStandardFont()
{
    char faceName[LF_FACESIZE] = {};
    LoadStringA(AfxGetResourceHandle(), kStandardFontNameId, faceName, sizeof(faceName));
    return CreateFontA(14, 7, 0, 0, 500, FALSE, FALSE, FALSE, 1, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       DEFAULT_QUALITY, DEFAULT_PITCH, faceName);
}

BOOL ApplyStandardFont(CFont* font)
{
    if (!font)
        return FALSE;
    HFONT standard = CreateStandardFont();
    if (!standard)
        return FALSE;
    font->DeleteObject();
    return font->Attach(standard);
}
