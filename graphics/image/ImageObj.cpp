// ImageObj.cpp - the image object: loading, depths, background colour,
// clip and the image-to-image drawings. The device side is in
// ImageObjGdi.cpp, the pixel arithmetic in ImagePixels.cpp.
#include "ImageObj.h"

#include <string.h>

#include "GdiHelpers.h"
#include "ImagePixels.h"
#include "QVRectList.h"

using imgpix::Rect;
using imgpix::View;

namespace {

const int kMaxSide = 65535;

Rect ToRect(const RECT& r) { return Rect{r.left, r.top, r.right, r.bottom}; }

// Where drawings into an image land: its origin and clip.
imgpix::DestRules DestRulesOf(const POINT& origin, const RECT& clip)
{
    imgpix::DestRules rules;
    rules.originX = origin.x;
    rules.originY = origin.y;
    rules.clip = ToRect(clip);
    return rules;
}

// Calls draw(d, s) for each piece of the clipped area (d, s) that lies in
// the dirty areas: bands above the area are passed over, the walk ends at
// the first band below it; an empty rectangle in a band stands for the whole
// area. 0 when any piece failed.
template <class F>
int ForEachDirtyPiece(const CQVRectList* areas, const View& source, const Rect& d, const Rect& s, F draw)
{
    if (!areas)
        return draw(d, s);
    int result = 1;
    for (int b = 0; b < areas->GetBandCount(); b++) {
        const DirtyBand* band = areas->GetBand(b);
        if (band->bottom <= d.top)
            continue;
        if (d.bottom <= band->top)
            break;
        for (int i = 0; i < band->rects.GetCount(); i++) {
            const RECT* r = band->rects.GetAt(i);
            Rect part = d;
            if (r->left < r->right && r->top < r->bottom) {
                part = imgpix::Intersect(d, ToRect(*r));
                if (part.IsEmpty())
                    continue;
            }
            Rect piece = imgpix::Intersect(imgpix::SourceFor(d, s, part), source.Bounds());
            if (piece.IsEmpty() || piece.Width() != part.Width() || piece.Height() != part.Height())
                continue;
            if (!draw(part, piece))
                result = 0;
        }
    }
    return result;
}

}  // namespace

CImageObj::CImageObj()
    : m_pBitmap(NULL), m_hDC(NULL), m_hOldBitmap(NULL), m_pDibBits(NULL), m_pAreas(NULL), m_hDib(NULL)
{
    SetRectEmpty(&m_rcClip);
    m_ptOrigin.x = m_ptOrigin.y = 0;
}

CImageObj::~CImageObj() { Unload(); }

void CImageObj::Unload()
{
    FreeDC();  // a DC still out loses its drawing: the picture goes anyway
    if (m_pBitmap)
        FreeImage_Unload(m_pBitmap);
    m_pBitmap = NULL;
}

int CImageObj::GetWidth() const { return m_pBitmap ? static_cast<int>(FreeImage_GetWidth(m_pBitmap)) : 0; }
int CImageObj::GetHeight() const { return m_pBitmap ? static_cast<int>(FreeImage_GetHeight(m_pBitmap)) : 0; }
int CImageObj::GetBPP() const { return m_pBitmap ? static_cast<int>(FreeImage_GetBPP(m_pBitmap)) : 0; }

// Below 8 bits the picture becomes 8 bits, from 9 to 23 bits 24 bits.
BOOL CImageObj::Normalize()
{
    if (!m_pBitmap)
        return FALSE;
    const unsigned bpp = FreeImage_GetBPP(m_pBitmap);
    FIBITMAP* converted = NULL;
    if (bpp < 8)
        converted = FreeImage_ConvertTo8Bits(m_pBitmap);
    else if (bpp > 8 && bpp < 24)
        converted = FreeImage_ConvertTo24Bits(m_pBitmap);
    else
        return TRUE;
    FreeImage_Unload(m_pBitmap);
    m_pBitmap = converted;
    return m_pBitmap != NULL;
}

BOOL CImageObj::LoadFile(LPCSTR path)
{
    if (!path || strlen(path) < 4)
        return FALSE;
    Unload();
    FREE_IMAGE_FORMAT format = FreeImage_GetFileType(path, 0);
    if (format == FIF_UNKNOWN)
        format = FreeImage_GetFIFFromFilename(path);
    if (format == FIF_UNKNOWN || !FreeImage_FIFSupportsReading(format))
        return FALSE;
    m_pBitmap = FreeImage_Load(format, path, 0);
    return Normalize();
}

BOOL CImageObj::LoadMemory(const void* data, DWORD size)
{
    Unload();
    if (!data || size == 0)
        return FALSE;
    // FreeImage only reads from a stream over the caller's bytes.
    FIMEMORY* stream = FreeImage_OpenMemory(static_cast<BYTE*>(const_cast<void*>(data)), size);
    if (!stream)
        return FALSE;
    const FREE_IMAGE_FORMAT format = FreeImage_GetFileTypeFromMemory(stream, 0);
    if (format != FIF_UNKNOWN && FreeImage_FIFSupportsReading(format))
        m_pBitmap = FreeImage_LoadFromMemory(format, stream, 0);
    FreeImage_CloseMemory(stream);
    return Normalize();
}

BOOL CImageObj::Create(int width, int height, int bpp)
{
    Unload();
    SetRectEmpty(&m_rcClip);
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide)
        return FALSE;
    m_pBitmap = FreeImage_Allocate(width, height, bpp, 0, 0, 0);
    return m_pBitmap != NULL;
}

BOOL CImageObj::ConvertTo(int bpp)
{
    if (!m_pBitmap || GetBPP() == bpp)
        return FALSE;
    FIBITMAP* converted = NULL;
    switch (bpp) {
    case 8: converted = FreeImage_ConvertTo8Bits(m_pBitmap); break;
    case 24: converted = FreeImage_ConvertTo24Bits(m_pBitmap); break;
    case 32: converted = FreeImage_ConvertTo32Bits(m_pBitmap); break;
    default: return FALSE;
    }
    if (!converted)
        return FALSE;
    FreeDC();
    FreeImage_Unload(m_pBitmap);
    m_pBitmap = converted;
    return TRUE;
}

BOOL CImageObj::CopyFrom(FIBITMAP* source, int bpp)
{
    Unload();
    if (!source)
        return FALSE;
    if (static_cast<int>(FreeImage_GetBPP(source)) == bpp)
        m_pBitmap = FreeImage_Clone(source);
    else if (bpp == 8)
        m_pBitmap = FreeImage_ConvertTo8Bits(source);
    else if (bpp == 24)
        m_pBitmap = FreeImage_ConvertTo24Bits(source);
    else if (bpp == 32)
        m_pBitmap = FreeImage_ConvertTo32Bits(source);
    return m_pBitmap != NULL;
}

BOOL CImageObj::Attach(FIBITMAP* source, int bpp)
{
    if (!source || static_cast<int>(FreeImage_GetBPP(source)) != bpp || source == m_pBitmap)
        return FALSE;
    Unload();
    m_pBitmap = source;
    return TRUE;
}

BOOL CImageObj::GetBkColor(COLORREF* colour) const
{
    if (!m_pBitmap || !FreeImage_HasBackgroundColor(m_pBitmap))
        return FALSE;
    RGBQUAD q;
    if (!FreeImage_GetBackgroundColor(m_pBitmap, &q))
        return FALSE;
    if (colour)
        *colour = RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
    return TRUE;
}

BOOL CImageObj::SetBkColor(COLORREF colour)
{
    if (!m_pBitmap)
        return FALSE;
    RGBQUAD q;
    q.rgbRed = GetRValue(colour);
    q.rgbGreen = GetGValue(colour);
    q.rgbBlue = GetBValue(colour);
    q.rgbReserved = 1;
    return FreeImage_SetBackgroundColor(m_pBitmap, &q);
}

BOOL CImageObj::SetBkColorFromCorner() { return m_pBitmap ? SetBkColor(GetPixelColor(0, 0)) : FALSE; }

void CImageObj::SetClipRect(const RECT* clip)
{
    m_rcClip = gfxgdi::ClipToSurface(clip, GetWidth(), GetHeight());
}

void CImageObj::SetOrigin(int x, int y)
{
    m_ptOrigin.x = x;
    m_ptOrigin.y = y;
}

void CImageObj::SetSource(const CQVRectList* areas)
{
    m_pAreas = areas;
    SetRectEmpty(&m_rcClip);
}

COLORREF CImageObj::GetPixelColor(int x, int y) const
{
    if (!m_pBitmap || x < 0 || y < 0 || x >= GetWidth() || y >= GetHeight())
        return 0;
    const unsigned bpp = FreeImage_GetBPP(m_pBitmap);
    const unsigned line = static_cast<unsigned>(GetHeight() - y - 1);
    if (bpp < 16) {
        BYTE index;
        if (!FreeImage_GetPixelIndex(m_pBitmap, static_cast<unsigned>(x), line, &index))
            return 0;
        const RGBQUAD* palette = FreeImage_GetPalette(m_pBitmap);
        if (bpp < 1 || bpp > 8 || index >= (1u << bpp) || !palette || index >= FreeImage_GetColorsUsed(m_pBitmap))
            return 0;
        return RGB(palette[index].rgbRed, palette[index].rgbGreen, palette[index].rgbBlue);
    }
    RGBQUAD q;
    if (!FreeImage_GetPixelColor(m_pBitmap, static_cast<unsigned>(x), line, &q))
        return 0;
    return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
}

BOOL CImageObj::FillRect(int x, int y, int width, int height, COLORREF colour)
{
    if (!m_pBitmap || FreeImage_GetImageType(m_pBitmap) != FIT_BITMAP)
        return FALSE;
    const int bpp = GetBPP();
    if (bpp <= 16)
        return FALSE;
    long long left = static_cast<long long>(x) + m_ptOrigin.x;
    long long top = static_cast<long long>(y) + m_ptOrigin.y;
    long long right = left + width;
    long long bottom = top + height;
    if (left < 0)
        left = 0;
    if (top < 0)
        top = 0;
    if (right > GetWidth())
        right = GetWidth();
    if (bottom > GetHeight())
        bottom = GetHeight();
    if (left >= right || top >= bottom)
        return TRUE;
    const int n = bpp / 8;
    const BYTE pixel[4] = {GetBValue(colour), GetGValue(colour), GetRValue(colour), static_cast<BYTE>(colour >> 24)};
    for (long long row = top; row < bottom; row++) {
        BYTE* out = FreeImage_GetScanLine(m_pBitmap, GetHeight() - 1 - static_cast<int>(row)) + left * n;
        for (long long col = left; col < right; col++, out += n)
            memcpy(out, pixel, n >= 4 ? 4 : 3);
    }
    return TRUE;
}

bool CImageObj::MakeView(View& view) const
{
    view = View();
    if (!m_pBitmap)
        return false;
    view.bits = FreeImage_GetBits(m_pBitmap);
    view.pitch = static_cast<int>(FreeImage_GetPitch(m_pBitmap));
    view.width = GetWidth();
    view.height = GetHeight();
    view.bpp = GetBPP();
    const FREE_IMAGE_TYPE type = FreeImage_GetImageType(m_pBitmap);
    view.typeOk = type == FIT_BITMAP || type == FIT_RGB16;
    // FreeImage's RGBQUAD is blue, green, red, reserved: the layout of Bgra.
    view.palette = reinterpret_cast<const imgpix::Bgra*>(FreeImage_GetPalette(m_pBitmap));
    view.paletteSize = view.palette ? static_cast<int>(FreeImage_GetColorsUsed(m_pBitmap)) : 0;
    if (view.paletteSize > 256)
        view.paletteSize = 256;
    view.transparent = FreeImage_IsTransparent(m_pBitmap) != FALSE;
    view.alphaTable = FreeImage_GetTransparencyTable(m_pBitmap);
    view.alphaCount = view.alphaTable ? static_cast<int>(FreeImage_GetTransparencyCount(m_pBitmap)) : 0;
    if (view.alphaCount > 256)
        view.alphaCount = 256;
    RGBQUAD bk;
    if (FreeImage_HasBackgroundColor(m_pBitmap) && FreeImage_GetBackgroundColor(m_pBitmap, &bk)) {
        view.hasBackground = true;
        view.background = imgpix::Bgra{bk.rgbBlue, bk.rgbGreen, bk.rgbRed, 0};
    }
    return view.HasPixels();
}

BOOL CImageObj::Draw(int op, const CImageObj* source, const RECT* rect, int x, int y, int level)
{
    View dst, src;
    if (!source || !MakeView(dst) || !source->MakeView(src))
        return FALSE;
    const imgpix::DestRules rules = DestRulesOf(m_ptOrigin, m_rcClip);
    Rect sourceArea, d, s;
    if (rect)
        sourceArea = ToRect(*rect);
    if (!imgpix::ClipFrame(rect ? &sourceArea : NULL, src.width, src.height, dst.width, dst.height, rules, x, y, &d, &s))
        return TRUE;
    const imgpix::Op kind = static_cast<imgpix::Op>(op);
    return ForEachDirtyPiece(m_pAreas, src, d, s, [&](const Rect& dp, const Rect& sp) {
        return imgpix::RunOp(kind, dst, src, dp, sp, level);
    });
}

BOOL CImageObj::BlendDraw1(const CImageObj* source, const RECT* rect, int x, int y)
{
    return Draw(static_cast<int>(imgpix::Op::Opaque), source, rect, x, y, 0);
}

BOOL CImageObj::BlendDraw2(const CImageObj* source, const RECT* rect, int x, int y)
{
    return Draw(static_cast<int>(imgpix::Op::Keyed), source, rect, x, y, 0);
}

BOOL CImageObj::BlendDraw3(const CImageObj* source, const RECT* rect, int x, int y, int level)
{
    return Draw(static_cast<int>(imgpix::Op::Alpha), source, rect, x, y, level);
}

BOOL CImageObj::BlendDraw4(const CImageObj* source, const RECT* rect, int x, int y, int level)
{
    return Draw(static_cast<int>(imgpix::Op::KeyedAlpha), source, rect, x, y, level);
}

BOOL CImageObj::BlendDraw5(const CImageObj* source, const RECT* rect, int x, int y, int level)
{
    return Draw(static_cast<int>(imgpix::Op::Additive), source, rect, x, y, level);
}

BOOL CImageObj::DrawMasked(const CImageObj* source, const CImageObj* mask, const RECT* rect, int x, int y,
                           const RECT* maskRect)
{
    View dst, src, msk;
    if (!mask || !MakeView(dst) || !mask->m_pBitmap)
        return FALSE;
    if (dst.bpp < 24)
        return FALSE;
    // The caller's mask may be shared (the image cache hands pictures to
    // several users): a mask of another depth is read through a copy.
    CImageObj converted;
    const CImageObj* weights = mask;
    if (mask->GetBPP() != 8) {
        if (!converted.CopyFrom(mask->m_pBitmap, 8))
            return FALSE;
        weights = &converted;
    }
    if (!weights->MakeView(msk))
        return FALSE;

    const imgpix::DestRules rules = DestRulesOf(m_ptOrigin, m_rcClip);
    Rect area, d, s;
    if (rect)
        area = ToRect(*rect);

    if (!source) {
        // Darkening: the mask is the source of the frame.
        if (!imgpix::ClipFrame(rect ? &area : NULL, msk.width, msk.height, dst.width, dst.height, rules, x, y, &d, &s))
            return TRUE;
        return ForEachDirtyPiece(m_pAreas, msk, d, s,
                                 [&](const Rect& dp, const Rect& mp) { return imgpix::Darken(dst, msk, dp, mp); });
    }

    if (!source->MakeView(src))
        return FALSE;
    if (src.width != msk.width || src.height != msk.height)
        return FALSE;
    const Rect whole = src.Bounds();
    const Rect s0 = rect ? area : whole;
    const Rect m0 = maskRect ? ToRect(*maskRect) : s0;
    if (m0.Width() != s0.Width() || m0.Height() != s0.Height())
        return FALSE;
    if (!imgpix::ClipFrame(&s0, src.width, src.height, dst.width, dst.height, rules, x, y, &d, &s))
        return TRUE;
    return ForEachDirtyPiece(m_pAreas, src, d, s, [&](const Rect& dp, const Rect& sp) {
        // The mask area moves with the source area; what falls outside the
        // mask is not drawn.
        Rect mp = {m0.left + (sp.left - s0.left), m0.top + (sp.top - s0.top), 0, 0};
        mp.right = mp.left + sp.Width();
        mp.bottom = mp.top + sp.Height();
        const Rect inside = imgpix::Intersect(mp, msk.Bounds());
        if (inside.IsEmpty())
            return 1;
        const Rect cut = {inside.left - mp.left, inside.top - mp.top, inside.right - mp.left, inside.bottom - mp.top};
        const Rect dcut = {dp.left + cut.left, dp.top + cut.top, dp.left + cut.right, dp.top + cut.bottom};
        const Rect scut = {sp.left + cut.left, sp.top + cut.top, sp.left + cut.right, sp.top + cut.bottom};
        return imgpix::MaskedDraw(dst, src, msk, dcut, scut, inside);
    });
}

BOOL CImageObj::DrawToImage(const CImageObj* source, const CImageObj* mask, const RECT* rect, int x, int y)
{
    if (!source)
        return FALSE;
    return DrawMasked(source, mask, rect, x, y, NULL);
}

BOOL CImageObj::DrawToImageEx(const CImageObj* source, const CImageObj* mask, const RECT* rect, int x, int y,
                              const RECT* maskRect)
{
    if (!source)
        return FALSE;
    return DrawMasked(source, mask, rect, x, y, maskRect);
}

BOOL CImageObj::DrawFrom8Bit(const CImageObj* mask, const RECT* rect, int x, int y)
{
    return DrawMasked(NULL, mask, rect, x, y, NULL);
}
