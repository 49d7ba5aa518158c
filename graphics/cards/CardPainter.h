// CardPainter.h - draws playing cards from the card sheets of the card
// library VEZezur.dll, through each sheet's mask so that only the card's
// shape covers the background, plainly or blended with a constant alpha.
#pragma once

#include <windows.h>

#include "CardLayout.h"

// One card picture: suit 1-4 in bits 4-7, rank 1-14 in bits 0-3.
typedef BYTE CardFaceCode;

class CCardPainter
{
public:
    CCardPainter();
    virtual ~CCardPainter();
    CCardPainter(const CCardPainter&) = delete;
    CCardPainter& operator=(const CCardPainter&) = delete;

    // Makes the two memory DCs and the work bitmap, then takes the sheets of
    // the sizes named in `sizeFlags` (1, 2, 4, 8) from "<folder>\VEZezur.dll",
    // or from "VEZezur.dll" by the system's search when folder is NULL or
    // empty. 1 on success; 0 when a DC, the work bitmap or a sheet cannot be
    // made (a missing library, a missing or too small bitmap). Sizes taken
    // before a failure stay usable.
    BOOL LoadCards(int sizeFlags, LPCSTR folder);

    // Draws the card into the rectangle: the rectangle's width and height of
    // the card's cell (moved by `offset` when given), alpha-blended with
    // `blend` when given. Answers 1 drawn, 10 no target, 20 size not loaded,
    // 40 bad suit, 30 bad rank, 100 bad size flag (checked in that order).
    virtual int Draw(HDC target, int faceCode, const RECT& destination, int sizeFlag, int unused = 0,
                     const POINT* offset = NULL, const BLENDFUNCTION* blend = NULL);

    // Draws the card at (x, y), stretched from sourceWidth x sourceHeight of
    // its cell to destinationWidth x destinationHeight; a size of 0 means the
    // card size of the size kind. Same results as Draw.
    virtual int DrawSized(HDC target, int faceCode, int x, int y, int sizeFlag, int sourceWidth = 0,
                          int sourceHeight = 0, int destinationWidth = 0, int destinationHeight = 0,
                          const POINT* offset = NULL, const BLENDFUNCTION* blend = NULL);

    int GetLoadedFlags() const { return m_loadedFlags; }
    HBITMAP GetSheet(int sizeFlag) const;

protected:
    // The masked draw: the target's area goes into the work DC, the mask
    // cell is combined with AND and the card cell with OR, then the result
    // is copied (or alpha-blended) back. The cells are read at
    // sourceWidth x sourceHeight and stretched to the destination's size.
    void MaskedDraw(HDC target, HBITMAP sheet, cardlayout::Cell card, cardlayout::Cell mask, int sourceWidth,
                    int sourceHeight, int x, int y, int width, int height, const BLENDFUNCTION* blend);

private:
    BOOL MakeWorkSurfaces();
    BOOL EnsureWorkSize(int width, int height);
    void ReleaseWorkSurfaces();

    int m_loadedFlags = 0;
    HBITMAP m_sheets[cardlayout::kSizeKinds] = {};
    HDC m_sheetDc = NULL;
    HDC m_workDc = NULL;
    HBITMAP m_workBitmap = NULL;
    HGDIOBJ m_workOldBitmap = NULL;
    int m_workWidth = 0;
    int m_workHeight = 0;
};

// The table window's card painter: three special face codes (0x1E, 0x2E,
// 0x3E) can come from 2 x 2 sheets of the program's own resources.
class CTableCardPainter : public CCardPainter
{
public:
    CTableCardPainter();
    ~CTableCardPainter() override;

    BOOL LoadCards(int sizeFlags, LPCSTR folder) { return CCardPainter::LoadCards(sizeFlags, folder); }

    // Takes bitmap `bitmapId` from the resources (the framework's resource
    // search) as the special sheet of a size (1, 2, 4, 8); `choiceMask`
    // selects which special codes it serves (1: 0x1E, 2: 0x2E, 4: 0x3E).
    // 0 when the bitmap cannot be loaded or the flag is not a size.
    BOOL LoadSpecialSheet(int sizeFlag, UINT bitmapId, int choiceMask);
    int GetSpecialFlags() const { return m_specialFlags; }

    int Draw(HDC target, int faceCode, const RECT& destination, int sizeFlag, int unused = 0,
             const POINT* offset = NULL, const BLENDFUNCTION* blend = NULL) override;
    int DrawSized(HDC target, int faceCode, int x, int y, int sizeFlag, int sourceWidth = 0, int sourceHeight = 0,
                  int destinationWidth = 0, int destinationHeight = 0, const POINT* offset = NULL,
                  const BLENDFUNCTION* blend = NULL) override;

private:
    // The special sheet's cell for the code, or false when the base draws it.
    bool FindSpecial(int faceCode, int sizeFlag, HBITMAP* sheet, cardlayout::Cell* cell) const;

    HBITMAP m_specialSheets[cardlayout::kSizeKinds] = {};
    int m_choiceMasks[cardlayout::kSizeKinds] = {};
    int m_specialFlags = 0;
};
