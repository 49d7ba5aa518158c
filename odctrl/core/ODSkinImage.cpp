// ODSkinImage.cpp - cells, drawing, regions and animation of the skin image.
#include "ODSkinImage.h"

#include <ctype.h>
#include <string.h>

#include <string>

#include "QVGifImage.h"
#include "graphics/BitmapRegions.h"
#include "graphics/DibFunctions.h"
#include "graphics/GdiHelpers.h"

namespace {

// A GIF of more frames keeps only these (each frame holds two GDI objects).
const size_t kMaxGifFrames = 1000;

// count copies of unit, the k-th moved by (k x dx, k x dy); unit is kept.
HRGN RepeatRgn(HRGN unit, int count, int dx, int dy)
{
    HRGN result = CreateRectRgn(0, 0, 0, 0);
    HRGN block = CreateRectRgn(0, 0, 0, 0);
    HRGN moved = CreateRectRgn(0, 0, 0, 0);
    if (!result || !block || !moved) {
        for (HRGN r : {result, block, moved})
            if (r)
                DeleteObject(r);
        return NULL;
    }
    CombineRgn(block, unit, NULL, RGN_COPY);
    long long placed = 0, blockCount = 1;
    for (long long n = count; n > 0; n >>= 1) {
        if (n & 1) {
            CombineRgn(moved, block, NULL, RGN_COPY);
            OffsetRgn(moved, static_cast<int>(placed * dx), static_cast<int>(placed * dy));
            CombineRgn(result, result, moved, RGN_OR);
            placed += blockCount;
        }
        if (n > 1) {
            CombineRgn(moved, block, NULL, RGN_COPY);
            OffsetRgn(moved, static_cast<int>(blockCount * dx), static_cast<int>(blockCount * dy));
            CombineRgn(block, block, moved, RGN_OR);
            blockCount *= 2;
        }
    }
    DeleteObject(block);
    DeleteObject(moved);
    return result;
}

std::string Trimmed(LPCSTR text)
{
    std::string s = text ? text : "";
    size_t b = 0, e = s.size();
    while (b < e && isspace(static_cast<unsigned char>(s[b])))
        ++b;
    while (e > b && isspace(static_cast<unsigned char>(s[e - 1])))
        --e;
    return s.substr(b, e - b);
}

// A 32-bit top-down DIB section of w x h.
HBITMAP Dib32(HDC dc, int w, int h, DWORD** bits)
{
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    return CreateDIBSection(dc, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(bits), NULL, 0);
}

}  // namespace

// ---- CODMaskedCopy ------------------------------------------------------------------------------------

CODMaskedCopy::CODMaskedCopy()
    : m_width(0), m_height(0), m_colour(NULL), m_mask(NULL), m_colourDC(NULL), m_maskDC(NULL), m_oldColour(NULL),
      m_oldMask(NULL)
{
}

CODMaskedCopy::~CODMaskedCopy() { Free(); }

void CODMaskedCopy::Free()
{
    if (m_colourDC) {
        SelectObject(m_colourDC, m_oldColour);
        DeleteDC(m_colourDC);
    }
    if (m_maskDC) {
        SelectObject(m_maskDC, m_oldMask);
        DeleteDC(m_maskDC);
    }
    if (m_colour)
        DeleteObject(m_colour);
    if (m_mask)
        DeleteObject(m_mask);
    m_colour = m_mask = NULL;
    m_colourDC = m_maskDC = NULL;
    m_width = m_height = 0;
}

BOOL CODMaskedCopy::Build(const CQVDib16& surface)
{
    Free();
    COLORREF key;
    const int w = surface.GetWidth(), h = surface.GetHeight();
    if (!surface.HasPixels() || !surface.GetKeyColor(&key))
        return FALSE;
    DWORD *colour = NULL, *mask = NULL, *keyBits = NULL;
    m_colourDC = CreateCompatibleDC(NULL);
    m_maskDC = CreateCompatibleDC(NULL);
    m_colour = Dib32(m_colourDC, w, h, &colour);
    m_mask = Dib32(m_maskDC, w, h, &mask);
    // The key as the surface draws it: a one-pixel surface of the key.
    CQVDib16 one;
    gfxgdi::GdiObjectHolder keyDib(Dib32(NULL, 1, 1, &keyBits));
    gfxgdi::BitmapDC keyDC;
    const bool keyKnown = one.Create(1, 1) && keyDib.Get() && keyDC.Select(static_cast<HBITMAP>(keyDib.Get()));
    if (keyKnown) {
        const WORD pixel = surface.GetKeyMode() == 2 ? surface.GetPixel16(0, 0) : CQVDib16::RGBTo565(key);
        one.FillRect(0, 0, 1, 1, pixel);
        one.Draw(keyDC, NULL, 0, 0);
    }
    if (!keyKnown || !m_colourDC || !m_maskDC || !m_colour || !m_mask) {
        Free();
        return FALSE;
    }
    m_oldColour = SelectObject(m_colourDC, m_colour);
    m_oldMask = SelectObject(m_maskDC, m_mask);
    // A copy of the pixels (the library's surfaces keep no origin or clip).
    const RECT all = {0, 0, w, h};
    surface.Draw(m_colourDC, &all, 0, 0);
    GdiFlush();
    const DWORD keyDrawn = keyBits[0] & 0x00FFFFFF;
    const size_t count = static_cast<size_t>(w) * static_cast<size_t>(h);
    for (size_t i = 0; i < count; ++i) {
        const bool transparent = (colour[i] & 0x00FFFFFF) == keyDrawn;
        mask[i] = transparent ? 0x00FFFFFF : 0;
        if (transparent)
            colour[i] = 0;
    }
    m_width = w;
    m_height = h;
    return TRUE;
}

BOOL CODMaskedCopy::Draw(HDC dc, const RECT& src, int x, int y) const
{
    if (!m_colourDC || !dc)
        return FALSE;
    RECT r = src;
    r.left = r.left < 0 ? 0 : r.left;
    r.top = r.top < 0 ? 0 : r.top;
    r.right = r.right > m_width ? m_width : r.right;
    r.bottom = r.bottom > m_height ? m_height : r.bottom;
    if (r.right <= r.left || r.bottom <= r.top)
        return TRUE;
    x += r.left - src.left;
    y += r.top - src.top;
    const int w = r.right - r.left, h = r.bottom - r.top;
    return BitBlt(dc, x, y, w, h, m_maskDC, r.left, r.top, SRCAND) &&
           BitBlt(dc, x, y, w, h, m_colourDC, r.left, r.top, SRCPAINT);
}

// ---- CODSkinImage ---------------------------------------------------------------------------------------

CODSkinImage::CODSkinImage() : CODSkinImage(NULL, 0, FALSE) {}

CODSkinImage::CODSkinImage(CWnd* pOwner, UINT nTimerId, BOOL bClientArea)
    : m_nInterval(300), m_nDrawMode(DrawPlain), m_nTimerId(nTimerId), m_pOwner(pOwner), m_bUseOwnerTimer(TRUE),
      m_bClientArea(bClientArea), m_nFrames(0), m_nStates(0), m_nCurrentFrame(-1), m_bRunning(FALSE),
      m_bTimerStarted(FALSE), m_cxCell(0), m_cyCell(0), m_rcLast(0, 0, 0, 0), m_crBackground(0),
      m_nSourceKind(SourceNone), m_bEmpty(TRUE), m_bTransparent(FALSE), m_bVertical(FALSE)
{
}

CODSkinImage::~CODSkinImage() { Release(); }

void CODSkinImage::SetOwner(CWnd* pOwner, UINT nTimerId, BOOL bClientArea)
{
    m_pOwner = pOwner;
    m_nTimerId = nTimerId;
    m_bClientArea = bClientArea;
}

// ---- Loading ---------------------------------------------------------------------------------------

BOOL CODSkinImage::CreateFromBitmap(CBitmap* pBitmap, int transparent, int cells, int states, int frames,
                                    int interval, BOOL vertical)
{
    const HBITMAP bitmap = pBitmap ? static_cast<HBITMAP>(pBitmap->m_hObject) : NULL;
    if (!bitmap || cells < 1 || states < 1 || frames < 1 || interval < 0 || m_bRunning)
        return FALSE;
    Release();
    BITMAP bm;
    std::unique_ptr<CQVDib16> surface(new CQVDib16);
    if (GetObject(bitmap, sizeof bm, &bm) == 0 || !surface->LoadFromBitmap(bitmap))
        return FALSE;
    const int w = surface->GetWidth(), h = surface->GetHeight();
    m_bVertical = vertical;
    m_bTransparent = transparent != kOpaque;
    if (vertical) {
        m_cxCell = w / frames;
        m_cyCell = h / states;
    } else {
        m_cxCell = w / cells;
        m_cyCell = h;
    }
    if (m_bTransparent) {
        HRGN region = NULL;
        if (transparent >= 0 && transparent <= 3) {
            const int x = (transparent == 2 || transparent == 3) ? w - 1 : 0;
            const int y = (transparent == 1 || transparent == 3) ? h - 1 : 0;
            surface->SetKeyColorFromPixel(x, y);
            region = CreateRegionFromPixel(bitmap, x, y);
        } else {
            surface->SetKeyColor(static_cast<COLORREF>(transparent));
            region = CreateRegionFromBitmap(bitmap, static_cast<COLORREF>(transparent));
        }
        if (region) {
            const DWORD size = GetRegionData(region, 0, NULL);
            if (size > 0) {
                m_regionData.resize(size);
                if (GetRegionData(region, size, reinterpret_cast<RGNDATA*>(m_regionData.data())) != size)
                    m_regionData.clear();
            }
            DeleteObject(region);
        }
    }
    m_pSurface = std::move(surface);
    m_nStates = states;
    m_nFrames = frames;
    m_nInterval = interval;
    m_nCurrentFrame = 0;
    m_nSourceKind = SourceBitmap;
    m_bEmpty = FALSE;
    return TRUE;
}

BOOL CODSkinImage::LoadFromFile(LPCSTR path)
{
    if (m_bRunning)
        return FALSE;
    Release();
    std::unique_ptr<CQVGifImage> gif(new CQVGifImage);
    const std::string trimmed = Trimmed(path);
    if (gif->LoadFile(trimmed.c_str()) != CQVGifImage::kLoaded)
        return FALSE;
    int w = 0, h = 0;
    COLORREF background = 0;
    gif->GetImageSize(&w, &h, &background);
    m_cxCell = w;
    m_cyCell = h;
    m_crBackground = background;
    for (;;) {
        Frame f;
        HPALETTE palette = NULL;
        if (gif->GetNextImage(&f.x, &f.y, &f.width, &f.height, &f.bitmap, &f.transparent, &f.transparentIndex,
                              &palette, &f.further, &f.delay) != 1)
            break;
        f.second = palette;
        if (m_frames.size() >= kMaxGifFrames) {
            DeleteObject(f.bitmap);
            DeleteObject(f.second);
            break;
        }
        m_frames.push_back(f);
        ++m_nFrames;
        m_nCurrentFrame = 0;
        m_nSourceKind = SourceGif;
    }
    m_pGif = std::move(gif);
    m_nStates = 1;
    m_bEmpty = FALSE;
    return TRUE;
}

void CODSkinImage::Release()
{
    if (m_bEmpty)
        return;
    StopAnimation(FALSE);
    m_ticker.Stop();
    m_pSurface.reset();
    m_pMasked.reset();
    m_pGif.reset();
    for (Frame& f : m_frames) {
        if (f.bitmap)
            DeleteObject(f.bitmap);
        if (f.second)
            DeleteObject(f.second);
    }
    m_frames.clear();
    m_tiles.clear();
    m_regionData.clear();
    m_bRunning = FALSE;
    m_bTimerStarted = FALSE;
    m_cxCell = m_cyCell = 0;
    m_nCurrentFrame = -1;
    m_nFrames = 0;
    m_nStates = 0;
    m_nSourceKind = SourceNone;
    m_bTransparent = FALSE;
    m_bEmpty = TRUE;
}

// ---- Settings -----------------------------------------------------------------------------------------

int CODSkinImage::SetDrawMode(int mode)
{
    const int old = m_nDrawMode;
    m_nDrawMode = mode;
    return old;
}

int CODSkinImage::SetInterval(int ms)
{
    const int old = m_nInterval;
    if (ms >= 0)
        m_nInterval = ms;
    return old;
}

BOOL CODSkinImage::SetUseOwnerTimer(BOOL use)
{
    const BOOL old = m_bUseOwnerTimer;
    m_bUseOwnerTimer = use;
    return old;
}

int CODSkinImage::GetFrameDelay(int frame) const
{
    if (frame < 0 || frame >= static_cast<int>(m_frames.size()))
        return -1;
    return m_frames[static_cast<size_t>(frame)].delay;
}

// ---- Drawing -------------------------------------------------------------------------------------------

int CODSkinImage::CellIndex(int state, int frame) const
{
    if (state < 0 || state >= m_nStates)
        state = 0;
    return m_nFrames * state + frame;
}

CRect CODSkinImage::CellRect(int state, int frame) const
{
    if (state < 0 || state >= m_nStates)
        state = 0;
    if (m_bVertical)
        return CRect(CPoint(m_cxCell * frame, m_cyCell * state), CSize(m_cxCell, m_cyCell));
    return CRect(CPoint(m_cxCell * CellIndex(state, frame), 0), CSize(m_cxCell, m_cyCell));
}

void CODSkinImage::DrawGifFrameAt(HDC dc, int x, int y)
{
    const int current = m_nCurrentFrame.load();
    if (current < 0 || current >= static_cast<int>(m_frames.size()))
        return;
    const Frame& f = m_frames[static_cast<size_t>(current)];
    // The cell's area around the frame takes the background colour.
    HRGN cell = CreateRectRgn(x, y, x + m_cxCell, y + m_cyCell);
    HRGN inside = CreateRectRgn(x + f.x, y + f.y, x + f.x + f.width, y + f.y + f.height);
    HBRUSH brush = CreateSolidBrush(m_crBackground);
    if (cell && inside && brush && CombineRgn(cell, cell, inside, RGN_DIFF) != ERROR)
        FillRgn(dc, cell, brush);
    for (HGDIOBJ o : {static_cast<HGDIOBJ>(cell), static_cast<HGDIOBJ>(inside), static_cast<HGDIOBJ>(brush)})
        if (o)
            DeleteObject(o);
    if (f.transparent)
        DrawBitmapMasked(f.bitmap, m_crBackground, 1, dc, x + f.x, y + f.y);
    else
        DrawBitmap(dc, f.bitmap, x + f.x, y + f.y);
}

void CODSkinImage::DrawCellAt(HDC dc, int x, int y, int state)
{
    if (m_nSourceKind == SourceGif) {
        DrawGifFrameAt(dc, x, y);
        return;
    }
    if (!m_pSurface)
        return;
    const CRect cell = CellRect(state, m_nCurrentFrame.load());
    if (!m_bTransparent) {
        m_pSurface->Draw(dc, &cell, x, y);
        return;
    }
    if (!m_pMasked) {
        m_pMasked.reset(new CODMaskedCopy);
        m_pMasked->Build(*m_pSurface);
    }
    if (!m_pMasked->Draw(dc, cell, x, y))
        m_pSurface->DrawTransparent(dc, &cell, x, y);
}

CODSkinImage::TileCopy* CODSkinImage::TiledCopy(int cell, int width, int height)
{
    if (!m_pSurface || m_cxCell <= 0 || m_cyCell <= 0 || width <= 0 || height <= 0)
        return NULL;
    TileCopy* entry = NULL;
    for (TileCopy& t : m_tiles) {
        if (t.cell == cell) {
            if (t.surface && t.surface->GetWidth() >= width && t.surface->GetHeight() >= height)
                return &t;
            entry = &t;
            break;
        }
    }
    if (!entry) {
        m_tiles.push_back(TileCopy{cell, nullptr, nullptr});
        entry = &m_tiles.back();
    }
    // Copies only grow: they keep the larger of the old and the asked size.
    if (entry->surface) {
        width = width > entry->surface->GetWidth() ? width : entry->surface->GetWidth();
        height = height > entry->surface->GetHeight() ? height : entry->surface->GetHeight();
    }
    entry->masked.reset();
    entry->surface.reset(new CQVDib16);
    CQVDib16& copy = *entry->surface;
    if (!copy.Create(width, height)) {
        entry->surface.reset();
        return NULL;
    }
    COLORREF key;
    if (m_pSurface->GetKeyColor(&key)) {
        copy.SetKeyColor(key);
        copy.FillRect(0, 0, width, height, CQVDib16::RGBTo565(key));
    }
    // The cell's rectangle of the current frame of this cell index.
    const int frame = m_nFrames > 0 ? cell % m_nFrames : 0;
    const int state = m_nFrames > 0 ? cell / m_nFrames : 0;
    const CRect source = CellRect(state, frame);
    for (int y = 0; y < height; y += m_cyCell)
        for (int x = 0; x < width; x += m_cxCell)
            copy.Blit(m_pSurface.get(), &source, x, y);
    if (m_bTransparent) {
        entry->masked.reset(new CODMaskedCopy);
        if (!entry->masked->Build(copy))
            entry->masked.reset();
    }
    return entry;
}

void CODSkinImage::Draw(CDC* pDC, const RECT& rect, int state)
{
    const HDC dc = pDC->GetSafeHdc();
    const int current = m_nCurrentFrame.load();
    if (!dc || m_nSourceKind == SourceNone || rect.right <= rect.left || rect.bottom <= rect.top || current < 0 ||
        current >= m_nFrames)
        return;
    {
        std::lock_guard<std::mutex> lock(m_lastLock);
        m_rcLast = rect;
    }
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    switch (m_nDrawMode) {
    case DrawPlain:
        DrawCellAt(dc, rect.left, rect.top, state);
        break;
    case DrawTile:
        if (m_nSourceKind == SourceGif) {
            if (m_cxCell <= 0 || m_cyCell <= 0)
                break;
            for (int y = rect.top; y < rect.bottom; y += m_cyCell)
                for (int x = rect.left; x < rect.right; x += m_cxCell)
                    DrawGifFrameAt(dc, x, y);
        } else if (const TileCopy* tile = TiledCopy(CellIndex(state, current), w, h)) {
            const RECT part = {0, 0, w, h};
            if (!m_bTransparent)
                tile->surface->Draw(dc, &part, rect.left, rect.top);
            else if (!tile->masked || !tile->masked->Draw(dc, part, rect.left, rect.top))
                tile->surface->DrawTransparent(dc, &part, rect.left, rect.top);
        }
        break;
    case DrawStretch: {
        if (m_cxCell <= 0 || m_cyCell <= 0)
            break;
        const int sw = w > m_cxCell ? w : m_cxCell;
        const int sh = h > m_cyCell ? h : m_cyCell;
        gfxgdi::GdiObjectHolder bitmap(CreateCompatibleBitmap(dc, sw, sh));
        gfxgdi::BitmapDC memory(dc);
        if (!bitmap.Get() || !memory.Select(static_cast<HBITMAP>(bitmap.Get())))
            break;
        BitBlt(memory, 0, 0, sw, sh, dc, rect.left, rect.top, SRCCOPY);
        DrawCellAt(memory, 0, 0, state);
        const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, rect.left, rect.top, sw, sh, memory, 0, 0, m_cxCell, m_cyCell, SRCCOPY);
        SetStretchBltMode(dc, oldMode);
        break;
    }
    default:
        break;
    }
}

// ---- Animation ------------------------------------------------------------------------------------------

bool CODSkinImage::OwnerTimerUsable() const
{
    return m_bUseOwnerTimer && m_pOwner && ::IsWindow(m_pOwner->m_hWnd);
}

BOOL CODSkinImage::StartAnimation()
{
    if (m_nFrames < 2)
        return 0;
    if (!m_bRunning)
        m_bRunning = Start();
    return m_bRunning;
}

BOOL CODSkinImage::StopAnimation(BOOL rewind)
{
    if (m_nFrames < 1)
        return 0;
    if (m_bRunning && Stop() > 0) {
        m_bRunning = FALSE;
        if (rewind)
            m_nCurrentFrame = 0;
    }
    return !m_bRunning;
}

BOOL CODSkinImage::Start()
{
    if (OwnerTimerUsable()) {
        ::SetTimer(m_pOwner->m_hWnd, m_nTimerId, static_cast<UINT>(m_nInterval), NULL);
        m_bTimerStarted = TRUE;
        return 1;
    }
    m_bTimerStarted = FALSE;
    return m_ticker.Start(TickerStep, this);
}

BOOL CODSkinImage::Stop()
{
    if (m_bTimerStarted) {
        if (m_pOwner && ::IsWindow(m_pOwner->m_hWnd))
            ::KillTimer(m_pOwner->m_hWnd, m_nTimerId);
        m_bTimerStarted = FALSE;
        return 1;
    }
    return m_ticker.Stop();
}

DWORD CODSkinImage::TickerStep(void* self) { return static_cast<CODSkinImage*>(self)->Step(); }

void CODSkinImage::AdvanceFrame()
{
    if (m_nFrames < 1)
        return;
    if (OwnerTimerUsable() && m_nSourceKind == SourceGif) {
        // Each GIF frame keeps its own delay: the timer is set anew.
        ::KillTimer(m_pOwner->m_hWnd, m_nTimerId);
        const DWORD period = Step();
        ::SetTimer(m_pOwner->m_hWnd, m_nTimerId, period, NULL);
        return;
    }
    Step();
}

DWORD CODSkinImage::Step()
{
    CRect repaint;
    {
        std::lock_guard<std::mutex> lock(m_lastLock);
        repaint = m_rcLast;
    }
    if (m_nDrawMode == DrawPlain) {
        repaint.right = repaint.left + m_cxCell;
        repaint.bottom = repaint.top + m_cyCell;
    }
    Invalidate(repaint);
    const int current = m_nCurrentFrame.load();
    m_nCurrentFrame = current + 1 >= m_nFrames ? 0 : current + 1;
    if (m_nSourceKind == SourceGif && current >= 0 && current < static_cast<int>(m_frames.size()) &&
        m_frames[static_cast<size_t>(current)].delay > 0)
        return static_cast<DWORD>(m_frames[static_cast<size_t>(current)].delay);
    return static_cast<DWORD>(m_nInterval);
}

void CODSkinImage::Invalidate(const RECT& rect)
{
    if (!OwnerTimerUsable())
        return;
    if (m_bClientArea)
        ::InvalidateRect(m_pOwner->m_hWnd, &rect, TRUE);
    else
        ::SendMessageA(m_pOwner->m_hWnd, WM_NCPAINT, 0, 0);
}

// ---- Regions ---------------------------------------------------------------------------------------------

bool CODSkinImage::HasRegion() const
{
    return !m_regionData.empty() && !m_bEmpty && m_nDrawMode != DrawStretch && m_bTransparent;
}

HRGN CODSkinImage::StoredRegion() const
{
    return ExtCreateRegion(NULL, static_cast<DWORD>(m_regionData.size()),
                           reinterpret_cast<const RGNDATA*>(m_regionData.data()));
}

HRGN CODSkinImage::RepeatedRegion(int width, int height) const
{
    HRGN unit = StoredRegion();
    if (!unit || m_cxCell <= 0 || m_cyCell <= 0)
        return unit;
    const int across = width > 0 ? (width + m_cxCell - 1) / m_cxCell : 0;
    const int down = height > 0 ? (height + m_cyCell - 1) / m_cyCell : 0;
    HRGN row = RepeatRgn(unit, across, m_cxCell, 0);
    DeleteObject(unit);
    if (!row)
        return NULL;
    HRGN all = RepeatRgn(row, down, 0, m_cyCell);
    DeleteObject(row);
    return all;
}

HRGN CODSkinImage::GetRegion(const RECT& rect, int /*state*/)
{
    HRGN region = NULL;
    if (HasRegion()) {
        if (m_nDrawMode == DrawPlain)
            region = StoredRegion();
        else if (m_nDrawMode == DrawTile)
            region = RepeatedRegion(rect.right - rect.left, rect.bottom - rect.top);
    }
    if (!region)
        return CreateRectRgnIndirect(&rect);
    OffsetRgn(region, rect.left, rect.top);
    return region;
}

HRGN CODSkinImage::GetRegionInRect(const RECT& rect, int /*state*/)
{
    if (!HasRegion() || rect.right <= rect.left || rect.bottom <= rect.top)
        return NULL;
    HRGN region = NULL;
    CRect limit(rect);
    if (m_nDrawMode == DrawPlain) {
        region = StoredRegion();
        limit = CRect(CPoint(rect.left, rect.top), CSize(m_cxCell, m_cyCell));
    } else if (m_nDrawMode == DrawTile) {
        region = RepeatedRegion(rect.right - rect.left, rect.bottom - rect.top);
    }
    if (!region)
        return NULL;
    OffsetRgn(region, rect.left, rect.top);
    HRGN cut = CreateRectRgnIndirect(&limit);
    if (cut) {
        CombineRgn(region, region, cut, RGN_AND);
        DeleteObject(cut);
    }
    return region;
}
