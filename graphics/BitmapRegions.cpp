// BitmapRegions.cpp - regions from pictures.
#include "BitmapRegions.h"

#include "DibFunctions.h"
#include "GdiHelpers.h"
#include "Pixel565.h"
#include "QVMemBitmap.h"
#include "RegionRuns.h"

#include <stdlib.h>

#include <new>
#include <vector>

using gfxgdi::BitmapDC;
using gfxgdi::GdiObjectHolder;
using rgnruns::Rect32;
using rgnruns::RunBlock;

namespace {

// Regions made block by block and joined into one.
class RegionJoin
{
public:
    RegionJoin() : m_region(NULL), m_failed(false) {}
    ~RegionJoin()
    {
        if (m_region)
            DeleteObject(m_region);
    }
    RegionJoin(const RegionJoin&) = delete;
    RegionJoin& operator=(const RegionJoin&) = delete;

    bool Add(const void* data, DWORD bytes)
    {
        HRGN part = ExtCreateRegion(NULL, bytes, static_cast<const RGNDATA*>(data));
        if (!part) {
            m_failed = true;
            return false;
        }
        if (!m_region) {
            m_region = part;
            return true;
        }
        const int combined = CombineRgn(m_region, m_region, part, RGN_OR);
        DeleteObject(part);
        if (combined == ERROR) {
            m_failed = true;
            return false;
        }
        return true;
    }
    // The joined region (NULL after a failure or when nothing was added).
    HRGN Take()
    {
        HRGN r = m_failed ? NULL : m_region;
        if (r)
            m_region = NULL;
        return r;
    }

private:
    HRGN m_region;
    bool m_failed;
};

// Runs of pixels other than key in a 565 picture, 800 rectangles at a time.
HRGN RegionOf565(const qvsurf::SurfaceView& view, WORD key)
{
    try {
        RunBlock block(true);
        RegionJoin join;
        auto flush = [&join](const void* data, uint32_t bytes) { return join.Add(data, bytes); };
        bool ok = true;
        rgnruns::ScanRuns(
            view.width, view.height, [&view, key](int32_t x, int32_t y) { return view.Row(y)[x] == key; },
            [&](const Rect32& r) {
                if (ok)
                    ok = block.Add(r, flush);
            });
        if (!ok)
            return NULL;
        if (block.Count() && !join.Add(block.Data(), rgnruns::BlockBytes(block.Count())))
            return NULL;
        return join.Take();
    } catch (const std::bad_alloc&) {
        return NULL;
    }
}

// The bitmap as a 16-bit top-down picture, or NULL.
HBITMAP CopyAs565(HBITMAP bitmap, qvsurf::SurfaceView& view)
{
    BITMAP bm;
    if (!bitmap || GetObject(bitmap, sizeof bm, &bm) == 0)
        return NULL;
    const int width = bm.bmWidth, height = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;
    void* bits = NULL;
    HBITMAP dib = CQVMemBitmap::CreateDIBSectionEx(width, height, 16, &bits);
    if (!dib)
        return NULL;
    if (!CopyBitmap(dib, bitmap, NULL, NULL, NULL)) {
        DeleteObject(dib);
        return NULL;
    }
    GdiFlush();
    view = qvsurf::SurfaceView{static_cast<uint16_t*>(bits), width, height, qvsurf::StrideFor(width)};
    return dib;
}

}  // namespace

HRGN CreateRegionFromBitmap(HBITMAP bitmap, COLORREF key)
{
    qvsurf::SurfaceView view;
    GdiObjectHolder dib(CopyAs565(bitmap, view));
    if (!dib.Get())
        return NULL;
    return RegionOf565(view, px565::FromColorRef(key));
}

HRGN CreateRegionFromPixel(HBITMAP bitmap, int x, int y)
{
    qvsurf::SurfaceView view;
    GdiObjectHolder dib(CopyAs565(bitmap, view));
    if (!dib.Get())
        return NULL;
    if (x < 0)
        x = view.width - 1;
    if (y < 0)
        y = view.height - 1;
    if (x >= view.width || y >= view.height)
        return NULL;
    return RegionOf565(view, view.Row(y)[x]);
}

HRGN CreateRegionFromBitmapKey(HBITMAP bitmap, COLORREF key, int tolerance)
{
    return tolerance == 0 ? CreateRegionFromBitmap(bitmap, key) : NULL;
}

HRGN CreateRegionFromKey(HDC dc, HBITMAP bitmap, COLORREF key)
{
    BITMAP bm;
    if (!dc || !bitmap || GetObject(bitmap, sizeof bm, &bm) == 0)
        return NULL;
    const int width = bm.bmWidth, height = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;
    if (key == 0)
        key = GetPixel(dc, 0, 0);
    if (key == CLR_INVALID)
        return NULL;

    // Every depth is read as 32-bit pixels (0x00RRGGBB) from the DC.
    void* bits = NULL;
    GdiObjectHolder dib(CQVMemBitmap::CreateDIBSectionEx(width, height, 32, &bits));
    BitmapDC copy(dc);
    if (!dib.Get() || !copy.Select(static_cast<HBITMAP>(dib.Get())) ||
        !BitBlt(copy, 0, 0, width, height, dc, 0, 0, SRCCOPY))
        return NULL;
    GdiFlush();
    const uint32_t* pixels = static_cast<const uint32_t*>(bits);
    const uint32_t keyRgb = (key & 0xFF) << 16 | (key & 0xFF00) | (key >> 16 & 0xFF);
    const bool as565 = bm.bmBitsPixel == 16;
    const uint16_t key565 = px565::FromColorRef(key);
    auto isKey = [&](int32_t x, int32_t y) {
        const uint32_t p = pixels[static_cast<size_t>(y) * width + x] & 0xFFFFFF;
        if (as565)
            return px565::FromColorRef((p >> 16) | (p & 0xFF00) | (p & 0xFF) << 16) == key565;
        return p == keyRgb;
    };
    try {
        RunBlock block(false, static_cast<uint32_t>(height));
        rgnruns::ScanRuns(width, height, isKey, [&block](const Rect32& r) {
            block.Add(r, [](const void*, uint32_t) { return true; });
        });
        return ExtCreateRegion(NULL, block.BufferBytes(), static_cast<const RGNDATA*>(block.Data()));
    } catch (const std::bad_alloc&) {
        return NULL;
    }
}
