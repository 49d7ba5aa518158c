// CardLayout.h - where a card lies on a card sheet and which draws are
// refused. Pure arithmetic, no Windows types.
//
// A card face code holds the suit (1-4) in bits 4-7 and the rank (1-14) in
// bits 0-3. A sheet is 14 columns by 4 rows of cards of one size: row =
// suit - 1, column = rank - 1; its last cell (column 13, row 3) is the mask,
// the card's shape in black on white.
#pragma once

namespace cardlayout {

// Draw results.
enum
{
    kDrawn = 1,
    kNoTargetDc = 10,
    kSizeNotLoaded = 20,
    kBadRank = 30,
    kBadSuit = 40,
    kBadSizeKind = 100,
};

constexpr int kColumns = 14;
constexpr int kRows = 4;
constexpr int kSizeKinds = 4;

struct CardSize
{
    int sizeFlag;
    int width;
    int height;
    int bitmapId;  // in the card library
};

// The four size kinds, in the order the card library is read.
constexpr CardSize kLoadOrder[kSizeKinds] = {
    {1, 54, 72, 135},
    {4, 27, 38, 132},
    {2, 42, 56, 133},
    {8, 71, 96, 131},
};

constexpr int kLargestWidth = 71;
constexpr int kLargestHeight = 96;

// The size kind of a flag; nullptr for anything but 1, 2, 4 and 8.
inline const CardSize* SizeOf(int sizeFlag)
{
    for (const CardSize& s : kLoadOrder)
        if (s.sizeFlag == sizeFlag)
            return &s;
    return nullptr;
}

// Index 0-3 of a size flag (1, 2, 4, 8); -1 for anything else.
inline int SizeIndex(int sizeFlag)
{
    switch (sizeFlag) {
    case 1: return 0;
    case 2: return 1;
    case 4: return 2;
    case 8: return 3;
    default: return -1;
    }
}

inline int SuitOf(int faceCode) { return faceCode >> 4; }
inline int RankOf(int faceCode) { return faceCode & 0x0F; }

// The checks of a draw, in their order: target, size loaded, suit, rank,
// size kind. kDrawn when the card can be drawn.
inline int CheckDraw(bool haveTarget, int loadedFlags, int faceCode, int sizeFlag)
{
    if (!haveTarget)
        return kNoTargetDc;
    if ((loadedFlags & sizeFlag) == 0)
        return kSizeNotLoaded;
    const int suit = SuitOf(faceCode);
    if (suit < 1 || suit > 4)
        return kBadSuit;
    const int rank = RankOf(faceCode);
    if (rank < 1 || rank > 14)
        return kBadRank;
    if (!SizeOf(sizeFlag))
        return kBadSizeKind;
    return kDrawn;
}

struct Cell
{
    int x;
    int y;
};

// Top-left corner of a card's cell and of the mask cell.
inline Cell CardCell(int faceCode, const CardSize& size)
{
    return Cell{(RankOf(faceCode) - 1) * size.width, (SuitOf(faceCode) - 1) * size.height};
}

inline Cell MaskCell(const CardSize& size)
{
    return Cell{(kColumns - 1) * size.width, (kRows - 1) * size.height};
}

// The table painter's own 2 x 2 sheets: 0x1E at column 0 row 0, 0x2E at
// column 0 row 1, 0x3E at column 1 row 0, the mask at column 1 row 1. Each
// special code is chosen by one bit of the sheet's choice mask (1, 2, 4).
inline bool SpecialCell(int faceCode, int choiceMask, const CardSize& size, Cell* cell)
{
    int column, row, bit;
    switch (faceCode) {
    case 0x1E: column = 0, row = 0, bit = 1; break;
    case 0x2E: column = 0, row = 1, bit = 2; break;
    case 0x3E: column = 1, row = 0, bit = 4; break;
    default: return false;
    }
    if ((choiceMask & bit) == 0)
        return false;
    *cell = Cell{column * size.width, row * size.height};
    return true;
}

inline Cell SpecialMaskCell(const CardSize& size) { return Cell{size.width, size.height}; }

}  // namespace cardlayout
