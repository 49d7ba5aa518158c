// ODSkinImage.h - CODSkinImage, the picture of the owner-draw library: a
// bitmap cut into a grid of equal cells (states x animation frames), or the
// frames of an animated GIF; drawn at a rectangle's top-left, tiled or
// stretched; turned into window regions; animated on a timer of its owner
// window or, without one, on a worker thread.
//
// Cells: the cell of (state, frame) has the index frames x state + frame; a
// state outside 0 .. states - 1 counts as state 0. A horizontal strip (the
// layout every caller uses) is cut into `cells` cells across its whole
// height, cell i at x = cell width x i; a grid (vertical) has the frames
// across and the states down. A GIF has one state and a frame per GIF frame,
// each with its own delay (0: the image's interval).
//
// Transparency: mode -1 none; 0, 1, 2, 3 the colour of the top-left,
// bottom-left, top-right, bottom-right pixel; any other value is a colour
// (so the colours 0 to 3 cannot be given). Pixels of that colour are left
// out of drawing and of the image's region.
//
// The owner of an animated image calls AdvanceFrame when its WM_TIMER with
// the image's timer id arrives. A worker thread (images whose owner has no
// window) only moves the current frame; it is stopped and joined, never
// killed.
#pragma once

#include "afxwin.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

#include "ODTicker.h"
#include "graphics/QVMemBitmap.h"

class CQVGifImage;

// A keyed surface prepared for fast transparent drawing: two 32-bit pictures
// of the surface as its own Draw shows it, the colours with the key's pixels
// black and a mask white at the key's pixels. Drawing is an AND of the mask
// and an OR of the colours: two blits on any device, instead of building a
// mask at every draw.
class CODMaskedCopy
{
public:
    CODMaskedCopy();
    ~CODMaskedCopy();
    CODMaskedCopy(const CODMaskedCopy&) = delete;
    CODMaskedCopy& operator=(const CODMaskedCopy&) = delete;

    // FALSE for a surface without pixels or key, or when GDI refuses.
    BOOL Build(const CQVDib16& surface);
    // The area src of the picture with its top-left at (x, y).
    BOOL Draw(HDC dc, const RECT& src, int x, int y) const;
    BOOL IsBuilt() const { return m_colourDC != NULL; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }

private:
    void Free();

    int m_width, m_height;
    HBITMAP m_colour, m_mask;
    HDC m_colourDC, m_maskDC;
    HGDIOBJ m_oldColour, m_oldMask;
};

class CODSkinImage
{
public:
    // Draw modes.
    enum
    {
        DrawPlain = 0,    // one cell at the rectangle's top-left
        DrawTile = 1,     // the cell repeated over the rectangle
        DrawStretch = 2,  // the cell stretched over the rectangle (at least the cell's size)
    };
    // Source kinds.
    enum
    {
        SourceNone = 0,
        SourceBitmap = 1,
        SourceGif = 2,
    };
    // Transparent mode: no transparent colour.
    static constexpr int kOpaque = -1;

    CODSkinImage();
    CODSkinImage(CWnd* pOwner, UINT nTimerId, BOOL bClientArea);
    virtual ~CODSkinImage();  // Release()
    CODSkinImage(const CODSkinImage&) = delete;
    CODSkinImage& operator=(const CODSkinImage&) = delete;

    // The window that receives the timer and is repainted as the image
    // animates; bClientArea: the image lies in its client area (else in its
    // non-client area, repainted with WM_NCPAINT).
    void SetOwner(CWnd* pOwner, UINT nTimerId, BOOL bClientArea);

    // A copy of the bitmap cut into cells. FALSE (the image as it was) for a
    // NULL bitmap, cells, states or frames below 1, an interval below 0, a
    // running animation; FALSE (the image empty) when the bitmap cannot be
    // copied.
    BOOL CreateFromBitmap(CBitmap* pBitmap, int transparent, int cells, int states, int frames, int interval,
                          BOOL vertical);
    // The frames of an animated GIF file (path trimmed of white space), read
    // through the GIF/TGA library. FALSE (the image empty) when the library
    // or the file cannot be read, or while running.
    BOOL LoadFromFile(LPCSTR path);
    BOOL CreateFromGifFile(LPCSTR path) { return LoadFromFile(path); }

    // Draws the current frame of the state into the rectangle in the draw
    // mode. Nothing for a NULL DC, an empty image or rectangle.
    virtual void Draw(CDC* pDC, const RECT& rect, int state);

    int SetDrawMode(int mode);
    int GetDrawMode() const { return m_nDrawMode; }
    int SetInterval(int ms);
    int GetInterval() const { return m_nInterval; }
    BOOL SetUseOwnerTimer(BOOL use);
    BOOL GetUseOwnerTimer() const { return m_bUseOwnerTimer; }

    CSize GetCellSize() const { return CSize(m_cxCell, m_cyCell); }
    void GetCellSize(SIZE* size) const
    {
        if (size)
            *size = GetCellSize();
    }
    int GetStateCount() const { return m_nStates; }
    int GetFrameCount() const { return m_nFrames; }
    int GetSourceKind() const { return m_nSourceKind; }
    int GetCurrentFrame() const { return m_nCurrentFrame.load(); }
    BOOL IsEmpty() const { return m_bEmpty; }
    BOOL IsRunning() const { return m_bRunning; }
    BOOL IsTransparent() const { return m_bTransparent; }
    // The delay of a GIF frame in milliseconds (0: the interval); -1 for a
    // frame that does not exist.
    int GetFrameDelay(int frame) const;

    // Starts the animation (frames per state must be 2 or more); the
    // running flag.
    BOOL StartAnimation();
    BOOL Play() { return StartAnimation(); }
    // Stops it, back to frame 0 when rewind; TRUE when no animation runs
    // afterwards (0 when the image has no frames).
    BOOL StopAnimation(BOOL rewind);

    // The next frame, from the owner's WM_TIMER.
    virtual void AdvanceFrame();
    virtual BOOL Start();
    virtual BOOL Stop();
    // Repaints the rectangle of the owner (only with its window timer).
    virtual void Invalidate(const RECT& rect);

    // The region of the image's opaque pixels placed at the rectangle (the
    // whole bitmap at its top-left; tiled in cell steps in tile mode); the
    // plain rectangle for an opaque image, a stretched one or without region
    // data. Never NULL; the caller deletes it.
    HRGN GetRegion(const RECT& rect, int state);
    // The same cut to the rectangle (mode 0: to one cell at its top-left);
    // NULL where GetRegion gives the plain rectangle, or for an empty rectangle.
    HRGN GetRegionInRect(const RECT& rect, int state);

    // Frees everything and marks the image empty.
    void Release();

protected:
    struct Frame
    {
        HBITMAP bitmap = NULL;
        HGDIOBJ second = NULL;  // the library's second picture (its palette): only freed
        int x = 0, y = 0, width = 0, height = 0;
        BOOL transparent = FALSE;
        int transparentIndex = 0;
        int delay = 0;    // milliseconds; 0: the interval
        int further = 0;  // the library's further value (its disposal method)
    };
    struct TileCopy
    {
        int cell;
        std::unique_ptr<CQVDib16> surface;
        std::unique_ptr<CODMaskedCopy> masked;  // transparent images: the prepared copy
    };

    // One step: repaint the last rectangle, move to the next frame; the
    // period until the next step.
    DWORD Step();
    bool OwnerTimerUsable() const;
    int CellIndex(int state, int frame) const;
    CRect CellRect(int state, int frame) const;
    // Draws the cell of the state at (x, y), transparent when the image is.
    void DrawCellAt(HDC dc, int x, int y, int state);
    void DrawGifFrameAt(HDC dc, int x, int y);
    TileCopy* TiledCopy(int cell, int width, int height);
    // The stored region repeated over width x height in cell steps from (0, 0).
    HRGN RepeatedRegion(int width, int height) const;
    HRGN StoredRegion() const;
    bool HasRegion() const;
    static DWORD TickerStep(void* self);

    int m_nInterval;
    int m_nDrawMode;
    UINT m_nTimerId;
    CWnd* m_pOwner;
    BOOL m_bUseOwnerTimer;
    BOOL m_bClientArea;
    int m_nFrames;
    int m_nStates;
    std::unique_ptr<CQVDib16> m_pSurface;
    std::unique_ptr<CODMaskedCopy> m_pMasked;  // transparent bitmap sources, made on first draw
    CODTicker m_ticker;
    std::atomic<int> m_nCurrentFrame;
    BOOL m_bRunning;
    BOOL m_bTimerStarted;  // the running animation uses the owner's timer (else the worker)
    int m_cxCell, m_cyCell;
    CRect m_rcLast;  // the last Draw's rectangle; a worker's step reads it
    mutable std::mutex m_lastLock;
    std::unique_ptr<CQVGifImage> m_pGif;
    std::vector<Frame> m_frames;
    COLORREF m_crBackground;
    int m_nSourceKind;
    BOOL m_bEmpty;
    BOOL m_bTransparent;
    BOOL m_bVertical;
    std::vector<TileCopy> m_tiles;
    std::vector<BYTE> m_regionData;
};
