// QVMemBitmap.cpp - the 16-bit surface: lifecycle, keys, pixels and the
// surface-to-surface operations. The pixel work itself is in SurfaceCore.
#include "QVMemBitmap.h"

#include "GdiHelpers.h"
#include "Pixel565.h"

#include <stdlib.h>
#include <string.h>

#include <new>

using qvsurf::BlitArea;
using qvsurf::DestRules;
using qvsurf::Mapping;
using qvsurf::OwnedPicture;
using qvsurf::PixRect;
using qvsurf::SurfaceView;

static_assert(sizeof(PixRect) == sizeof(RECT), "PixRect has RECT's layout");
static_assert(sizeof(BITMAPINFOHEADER) + 3 * sizeof(DWORD) == 52, "the surface's header is 52 bytes");

namespace {

// Larger surfaces are refused: far more than any skin needs, and sizes stay
// far from overflow.
const int kMaxSide = 32767;
const size_t kMaxBytes = 256u * 1024 * 1024;

PixRect ToPix(const RECT& r) { return PixRect{r.left, r.top, r.right, r.bottom}; }

// A copy of a view's area; the area is rebased to the copy.
bool Snapshot(const SurfaceView& from, const PixRect& area, OwnedPicture& copy, SurfaceView& view, PixRect& rebased)
{
    if (!copy.Allocate(area.Width(), area.Height()))
        return false;
    BlitArea a{area, 0, 0};
    qvsurf::CopyPlain(copy.view, from, a);
    view = copy.view;
    rebased = PixRect{0, 0, area.Width(), area.Height()};
    return true;
}

}  // namespace

CQVMemBitmap::CQVMemBitmap()
    : m_nWidth(0),
      m_nHeight(0),
      m_nStride(0),
      m_pBits(NULL),
      m_hDC(NULL),
      m_hOldBitmap(NULL),
      m_pDibBits(NULL),
      m_crKey(0),
      m_nKeyMode(0)
{
    memset(&m_header, 0, sizeof m_header);
    SetRectEmpty(&m_rcClip);
    m_ptOrigin.x = m_ptOrigin.y = 0;
}

CQVMemBitmap::~CQVMemBitmap()
{
    // A DC still out is dropped without copying back.
    if (m_hDC) {
        HGDIOBJ dib = SelectObject(m_hDC, m_hOldBitmap);
        DeleteObject(dib);
        DeleteDC(m_hDC);
    }
    Free();
}

void CQVMemBitmap::Free()
{
    free(m_pBits);
    m_pBits = NULL;
    memset(&m_header, 0, sizeof m_header);
    m_nWidth = m_nHeight = 0;
    m_nStride = 0;
    m_crKey = 0;
    m_nKeyMode = 0;
}

BOOL CQVMemBitmap::Create(int width, int height)
{
    Free();
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide)
        return FALSE;
    const UINT stride = qvsurf::StrideFor(width);
    const size_t bytes = static_cast<size_t>(stride) * static_cast<size_t>(height);
    if (bytes > kMaxBytes)
        return FALSE;
    m_pBits = static_cast<WORD*>(malloc(bytes));
    if (!m_pBits)
        return FALSE;
    m_nWidth = width;
    m_nHeight = height;
    m_nStride = stride;

    BITMAPINFOHEADER& h = m_header.info;
    h.biSize = sizeof(BITMAPINFOHEADER);
    h.biWidth = width;
    h.biHeight = -height;  // top row first
    h.biPlanes = 1;
    h.biBitCount = 16;
    h.biCompression = BI_BITFIELDS;
    h.biSizeImage = static_cast<DWORD>(bytes);
    h.biClrUsed = 3;
    m_header.masks[0] = 0xF800;
    m_header.masks[1] = 0x07E0;
    m_header.masks[2] = 0x001F;
    return TRUE;
}

// ---- Keys -------------------------------------------------------------------------

void CQVMemBitmap::SetKeyColor(COLORREF colour)
{
    m_nKeyMode = 1;
    m_crKey = colour;
}

void CQVMemBitmap::SetKeyColor16(WORD pixel) { SetKeyColor(RGB565ToRGB(pixel)); }

void CQVMemBitmap::SetKeyColorFromCorner() { m_nKeyMode = 2; }

void CQVMemBitmap::SetKeyColorFromPixel(int x, int y)
{
    if (m_pBits && x >= 0 && y >= 0 && x < m_nWidth && y < m_nHeight)
        SetKeyColor(GetPixel(x, y));
}

BOOL CQVMemBitmap::GetKeyColor(COLORREF* out) const
{
    if (m_nKeyMode == 0)
        return FALSE;
    if (out)
        *out = m_nKeyMode == 2 ? GetPixel(0, 0) : m_crKey;
    return TRUE;
}

WORD CQVMemBitmap::KeyPixel() const
{
    if (m_nKeyMode == 2)
        return m_pBits ? m_pBits[0] : 0;
    return RGBTo565(m_crKey);
}

WORD CQVMemBitmap::RGBTo565(COLORREF colour) { return px565::FromColorRef(colour); }

COLORREF CQVMemBitmap::RGB565ToRGB(WORD pixel) { return px565::ToColorRef(pixel); }

// ---- Pixels -------------------------------------------------------------------------

COLORREF CQVMemBitmap::GetPixel(int x, int y) const
{
    if (!m_pBits || x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight)
        return 0;
    return RGB565ToRGB(View().Row(y)[x]);
}

WORD CQVMemBitmap::GetPixel16(int x, int y) const
{
    if (!m_pBits || x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight)
        return 0;
    return View().Row(y)[x];
}

void CQVMemBitmap::FillRect(int x, int y, int width, int height, WORD colour)
{
    if (!m_pBits || width <= 0 || height <= 0)
        return;
    // In 64 bits: the origin and the size may reach the ends of the int range.
    const long long left = static_cast<long long>(x) + m_ptOrigin.x, top = static_cast<long long>(y) + m_ptOrigin.y;
    long long right = left + width, bottom = top + height;
    if (right > m_nWidth)
        right = m_nWidth;
    if (bottom > m_nHeight)
        bottom = m_nHeight;
    PixRect area{static_cast<int32_t>(left < 0 ? 0 : left), static_cast<int32_t>(top < 0 ? 0 : top),
                 static_cast<int32_t>(right < 0 ? 0 : right), static_cast<int32_t>(bottom < 0 ? 0 : bottom)};
    if (left >= m_nWidth || top >= m_nHeight || area.IsEmpty())
        return;
    qvsurf::Fill(View(), area, colour);
}

void CQVMemBitmap::ReplaceColor(WORD from, WORD to)
{
    if (m_pBits)
        qvsurf::ReplaceColor(View(), from, to);
}

void CQVMemBitmap::GrayScale(const RECT* area)
{
    if (!m_pBits)
        return;
    PixRect wanted = area ? ToPix(*area) : PixRect{0, 0, m_nWidth, m_nHeight}, clamped;
    if (qvsurf::ClampArea(&wanted, m_nWidth, m_nHeight, clamped))
        qvsurf::GrayScale(View(), clamped);
}

BOOL CQVMemBitmap::BlendColor(COLORREF colour, const RECT* area, int level, BOOL useKey)
{
    if (!m_pBits)
        return FALSE;
    PixRect wanted = area ? ToPix(*area) : PixRect{0, 0, m_nWidth, m_nHeight}, clamped;
    if (!qvsurf::ClampArea(&wanted, m_nWidth, m_nHeight, clamped))
        return TRUE;
    const WORD key = KeyPixel();
    const bool keyed = useKey && m_nKeyMode != 0;
    qvsurf::BlendColor(View(), clamped, RGBTo565(colour), level, keyed ? &key : NULL);
    return TRUE;
}

// ---- Clip and origin ------------------------------------------------------------------

void CQVMemBitmap::SetClipRect(const RECT* clip)
{
    m_rcClip = gfxgdi::ClipToSurface(clip, m_nWidth, m_nHeight);
}

void CQVMemBitmap::SetOrigin(int x, int y)
{
    m_ptOrigin.x = x;
    m_ptOrigin.y = y;
}

SurfaceView CQVMemBitmap::View() const { return SurfaceView{m_pBits, m_nWidth, m_nHeight, m_nStride}; }

DestRules CQVMemBitmap::Rules() const { return DestRules{m_ptOrigin.x, m_ptOrigin.y, ToPix(m_rcClip)}; }

// ---- Surface to surface -------------------------------------------------------------------

BOOL CQVMemBitmap::RunOp(Mapping mapping, bool withRules, const CQVMemBitmap* src, const CQVMemBitmap* mask,
                         const RECT* rect, int x, int y, AreaOp op, OpArgs args)
{
    if (!src || !src->m_pBits || !m_pBits)
        return FALSE;
    // A mask limits the source to the part it covers.
    SurfaceView source = src->View();
    if (mask) {
        if (!mask->m_pBits)
            return FALSE;
        source.width = source.width < mask->m_nWidth ? source.width : mask->m_nWidth;
        source.height = source.height < mask->m_nHeight ? source.height : mask->m_nHeight;
        args.mask = mask->View();
    }
    const PixRect wanted = rect ? ToPix(*rect) : PixRect{0, 0, src->m_nWidth, src->m_nHeight};
    const DestRules rules = withRules ? Rules() : DestRules{0, 0, PixRect{0, 0, 0, 0}};
    BlitArea a;
    if (!qvsurf::ClipMapped(mapping, wanted, source.width, source.height, x, y, m_nWidth, m_nHeight, rules, a))
        return TRUE;

    // Drawing a surface into itself: all but the plain copy read a copy.
    OwnedPicture sourceCopy, maskCopy;
    const bool aliased = src == this || mask == this;
    if (aliased && !(mapping == Mapping::Plain && op == nullptr)) {
        try {
            PixRect rebased;
            const PixRect area = a.src;
            if (!Snapshot(source, area, sourceCopy, source, rebased))
                return FALSE;
            if (mask && !Snapshot(args.mask, area, maskCopy, args.mask, rebased))
                return FALSE;
            a.src = rebased;
        } catch (const std::bad_alloc&) {
            return FALSE;
        }
    }
    if (op)
        op(View(), source, a, args);
    else
        qvsurf::CopyMapped(mapping, View(), source, a);
    return TRUE;
}

BOOL CQVMemBitmap::Blit(const CQVMemBitmap* src, const RECT* rect, int x, int y)
{
    return RunOp(Mapping::Plain, true, src, NULL, rect, x, y, nullptr, OpArgs());
}

BOOL CQVMemBitmap::BlitKeyed(const CQVMemBitmap* src, const RECT* rect, int x, int y)
{
    if (src && src->m_nKeyMode == 0)
        return Blit(src, rect, x, y);
    OpArgs args = OpArgs();
    args.key = src ? src->KeyPixel() : 0;
    return RunOp(
        Mapping::Plain, true, src, NULL, rect, x, y,
        [](const SurfaceView& d, const SurfaceView& s, const BlitArea& a, const OpArgs& o) {
            qvsurf::CopyKeyed(d, s, a, o.key);
        },
        args);
}

BOOL CQVMemBitmap::BlitMirror(const CQVMemBitmap* src, const RECT* rect, int x, int y)
{
    return RunOp(Mapping::Mirror, true, src, NULL, rect, x, y, nullptr, OpArgs());
}

BOOL CQVMemBitmap::BlitFlip(const CQVMemBitmap* src, const RECT* rect, int x, int y)
{
    return RunOp(Mapping::Flip, true, src, NULL, rect, x, y, nullptr, OpArgs());
}

BOOL CQVMemBitmap::BlitRotate180(const CQVMemBitmap* src, const RECT* rect, int x, int y)
{
    return RunOp(Mapping::Rotate180, true, src, NULL, rect, x, y, nullptr, OpArgs());
}

BOOL CQVMemBitmap::BlitRotate90(const CQVMemBitmap* src, const RECT* rect, int x, int y)
{
    return RunOp(Mapping::Rotate90, false, src, NULL, rect, x, y, nullptr, OpArgs());
}

BOOL CQVMemBitmap::BlitRotate270(const CQVMemBitmap* src, const RECT* rect, int x, int y)
{
    return RunOp(Mapping::Rotate270, false, src, NULL, rect, x, y, nullptr, OpArgs());
}

BOOL CQVMemBitmap::AlphaBlend(const CQVMemBitmap* src, const RECT* rect, int x, int y, int level)
{
    OpArgs args = OpArgs();
    args.level = level;
    return RunOp(
        Mapping::Plain, true, src, NULL, rect, x, y,
        [](const SurfaceView& d, const SurfaceView& s, const BlitArea& a, const OpArgs& o) {
            qvsurf::AlphaBlend(d, s, a, o.level);
        },
        args);
}

BOOL CQVMemBitmap::AlphaBlendMask(const CQVMemBitmap* mask, const CQVMemBitmap* src, const RECT* rect, int x, int y)
{
    if (!mask)
        return FALSE;
    return RunOp(
        Mapping::Plain, true, src, mask, rect, x, y,
        [](const SurfaceView& d, const SurfaceView& s, const BlitArea& a, const OpArgs& o) {
            qvsurf::AlphaBlendMask(d, s, o.mask, a);
        },
        OpArgs());
}

BOOL CQVMemBitmap::AlphaBlendKeyed(const CQVMemBitmap* src, const RECT* rect, int x, int y, int level)
{
    if (src && src->m_nKeyMode == 0)
        return AlphaBlend(src, rect, x, y, level);
    OpArgs args = OpArgs();
    args.level = level;
    args.key = src ? src->KeyPixel() : 0;
    return RunOp(
        Mapping::Plain, true, src, NULL, rect, x, y,
        [](const SurfaceView& d, const SurfaceView& s, const BlitArea& a, const OpArgs& o) {
            qvsurf::AlphaBlendKeyed(d, s, a, o.level, o.key);
        },
        args);
}

BOOL CQVMemBitmap::AddBlend(const CQVMemBitmap* src, const RECT* rect, int x, int y)
{
    return RunOp(
        Mapping::Plain, true, src, NULL, rect, x, y,
        [](const SurfaceView& d, const SurfaceView& s, const BlitArea& a, const OpArgs&) { qvsurf::AddBlend(d, s, a); },
        OpArgs());
}

BOOL CQVMemBitmap::AddBlendLevel(const CQVMemBitmap* src, const RECT* rect, int x, int y, int level)
{
    OpArgs args = OpArgs();
    args.level = level;
    return RunOp(
        Mapping::Plain, true, src, NULL, rect, x, y,
        [](const SurfaceView& d, const SurfaceView& s, const BlitArea& a, const OpArgs& o) {
            qvsurf::AddBlendLevel(d, s, a, o.level);
        },
        args);
}

BOOL CQVMemBitmap::AddBlendKeyed(const CQVMemBitmap* src, const RECT* rect, int x, int y)
{
    if (src && src->m_nKeyMode == 0)
        return AddBlend(src, rect, x, y);
    OpArgs args = OpArgs();
    args.key = src ? src->KeyPixel() : 0;
    return RunOp(
        Mapping::Plain, true, src, NULL, rect, x, y,
        [](const SurfaceView& d, const SurfaceView& s, const BlitArea& a, const OpArgs& o) {
            qvsurf::AddBlendKeyed(d, s, a, o.key);
        },
        args);
}

BOOL CQVMemBitmap::AddBlendLevelKeyed(const CQVMemBitmap* src, const RECT* rect, int x, int y, int level)
{
    if (src && src->m_nKeyMode == 0)
        return AddBlendLevel(src, rect, x, y, level);
    OpArgs args = OpArgs();
    args.level = level;
    args.key = src ? src->KeyPixel() : 0;
    return RunOp(
        Mapping::Plain, true, src, NULL, rect, x, y,
        [](const SurfaceView& d, const SurfaceView& s, const BlitArea& a, const OpArgs& o) {
            qvsurf::AddBlendLevelKeyed(d, s, a, o.level, o.key);
        },
        args);
}

// ---- Rotation ------------------------------------------------------------------------------

DWORD CQVMemBitmap::RotatedSize(double angle, int width, int height)
{
    return qvsurf::RotatedSize(angle, width, height);
}

BOOL CQVMemBitmap::DrawRotated(double angle, const CQVMemBitmap* src, const RECT* rect, int x, int y,
                               COLORREF background)
{
    if (!src || !src->m_pBits || !m_pBits)
        return FALSE;
    int quarters = 0;
    double rest = 0;
    if (!qvsurf::SplitAngle(angle, quarters, rest))
        return FALSE;
    if (quarters == 0 && rest == 0)
        return Blit(src, rect, x, y);
    PixRect area = rect ? ToPix(*rect) : PixRect{0, 0, src->m_nWidth, src->m_nHeight};
    if (!qvsurf::ClampArea(&area, src->m_nWidth, src->m_nHeight, area))
        return TRUE;
    try {
        // The quarter turn first, into a picture of its own.
        SurfaceView turned = src->View();
        OwnedPicture turnedCopy;
        if (quarters != 0) {
            static const Mapping kTurns[] = {Mapping::Plain, Mapping::Rotate90, Mapping::Rotate180, Mapping::Rotate270};
            const bool sideways = quarters % 2 != 0;
            if (!turnedCopy.Allocate(sideways ? area.Height() : area.Width(), sideways ? area.Width() : area.Height()))
                return FALSE;
            qvsurf::CopyMapped(kTurns[quarters], turnedCopy.view, turned, BlitArea{area, 0, 0});
            turned = turnedCopy.view;
            area = turned.Bounds();
        }
        if (rest == 0) {
            // A whole quarter turn is drawn like a plain blit of the turned picture.
            BlitArea a;
            if (!qvsurf::ClipBlit(turned.Bounds(), turned.width, turned.height, x, y, m_nWidth, m_nHeight, Rules(), a))
                return TRUE;
            qvsurf::CopyPlain(View(), turned, a);
            return TRUE;
        }
        // The area alone, as a picture of its own size.
        const SurfaceView part{turned.Row(area.top) + area.left, area.Width(), area.Height(), turned.stride};
        OwnedPicture rotated;
        if (!qvsurf::RotateByShears(part, rest, RGBTo565(background), rotated))
            return FALSE;
        BlitArea a;
        const DestRules plain{0, 0, PixRect{0, 0, 0, 0}};
        if (qvsurf::ClipBlit(rotated.view.Bounds(), rotated.view.width, rotated.view.height, x, y, m_nWidth, m_nHeight,
                             plain, a))
            qvsurf::CopyPlain(View(), rotated.view, a);
        return TRUE;
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
}
