// The card painter on pixels: refusal codes and their order, every card code
// of every size against its cell of the VEZezur.dll stand-in's sheets, the
// offset point, the alpha path, stretching, and the table painter's special
// sheets.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "CardPainter.h"
#include "GdiObjectCount.h"
#include "runtime/tests/GdiTestSupport.h"

using namespace cardlayout;

namespace {

// The test canvas over a background whose every channel varies, so AND
// and OR both show; pixels are 0x00RRGGBB.
class Surface : public Canvas
{
public:
    Surface(int width, int height) : Canvas(width, height) { FillPattern(); }
    HDC dc() const { return Dc(); }
    std::vector<uint32_t> Pixels() const { return RawPixels(); }
    int width() const { return Width(); }
    void FillPattern()
    {
        for (int y = 0; y < Height(); ++y)
            for (int x = 0; x < Width(); ++x)
                SetRaw(x, y, static_cast<DWORD>(((x * 37 + y * 11) & 255) << 16 | ((x * 13 + y * 29) & 255) << 8 |
                                                ((x * 7 + y * 3 + 128) & 255)));
    }
};

// A bitmap's pixels, 0x00RRGGBB, top row first.
struct Picture
{
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    uint32_t at(int x, int y) const { return pixels[y * width + x]; }
};

Picture ReadPicture(HBITMAP bitmap)
{
    Picture p;
    BITMAP bm;
    if (!bitmap || !GetObject(bitmap, sizeof bm, &bm))
        return p;
    p.width = bm.bmWidth;
    p.height = bm.bmHeight;
    p.pixels.resize(static_cast<size_t>(p.width) * p.height);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = p.width;
    info.bmiHeader.biHeight = -p.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    HDC screen = GetDC(NULL);
    GetDIBits(screen, bitmap, 0, p.height, p.pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(NULL, screen);
    for (uint32_t& v : p.pixels)
        v &= 0xFFFFFF;
    return p;
}

// What a masked draw leaves at every pixel of the surface: inside the
// destination (bg AND mask) OR card, the background elsewhere.
std::vector<uint32_t> Expected(const std::vector<uint32_t>& background, int surfaceWidth, const Picture& sheet,
                               Cell card, Cell mask, int x, int y, int width, int height)
{
    std::vector<uint32_t> out = background;
    for (int j = 0; j < height; ++j)
        for (int i = 0; i < width; ++i) {
            uint32_t& p = out[(y + j) * surfaceWidth + x + i];
            p = (p & sheet.at(mask.x + i, mask.y + j)) | sheet.at(card.x + i, card.y + j);
        }
    return out;
}

// Where the tests expect a card and the mask, written out here rather than
// taken from the code under test: column = rank - 1, row = suit - 1; the
// mask in column 13 of row 3.
Cell SheetCell(int code, const CardSize& size)
{
    return Cell{((code & 15) - 1) * size.width, ((code >> 4) - 1) * size.height};
}

Cell SheetMask(const CardSize& size) { return Cell{13 * size.width, 3 * size.height}; }

int CountDifferences(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b)
{
    int n = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        n += (a[i] & 0xFFFFFF) != (b[i] & 0xFFFFFF);
    return n + static_cast<int>(a.size() > b.size() ? a.size() - b.size() : b.size() - a.size());
}

std::string ProgramFolder()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(NULL, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\'));
}

int GdiObjects() { return CountProcessGdiObjects(); }

}  // namespace

// ---- Layout and refusals (pure) -------------------------------------------------------

TEST(CardLayout, RefusalCodesInTheirOrder)
{
    struct Case
    {
        bool dc;
        int loaded, code, size, result;
    } cases[] = {
        {false, 0, 0x00, 3, kNoTargetDc},     // everything wrong: the target first
        {true, 8, 0x00, 1, kSizeNotLoaded},   // then the size
        {true, 8, 0x11, 2, kSizeNotLoaded},   // a valid size that was not loaded
        {true, 15, 0x11, 0, kSizeNotLoaded},  // no size at all
        {true, 15, 0x11, 16, kSizeNotLoaded},
        {true, 9, 0x0F, 8, kBadSuit},         // suit 0 and rank 15: the suit first
        {true, 9, 0x51, 8, kBadSuit},
        {true, 9, 0x1F5, 8, kBadSuit},
        {true, 9, -1, 8, kBadSuit},
        {true, 9, 0x10, 8, kBadRank},
        {true, 9, 0x1F, 8, kBadRank},
        {true, 9, 0x1F, 3, kBadRank},         // rank before the size kind
        {true, 9, 0x11, 3, kBadSizeKind},     // 3 overlaps a loaded size but is no kind
        {true, 9, 0x11, 9, kBadSizeKind},
        {true, 9, 0x11, 8, kDrawn},
        {true, 9, 0x4E, 1, kDrawn},
        {true, 15, 0x2A, 4, kDrawn},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.result, CheckDraw(c.dc, c.loaded, c.code, c.size))
            << c.dc << " " << c.loaded << " " << std::hex << c.code << " " << c.size;
}

TEST(CardLayout, Cells)
{
    const CardSize& large = *SizeOf(8);
    EXPECT_EQ(71, large.width);
    EXPECT_EQ(131, large.bitmapId);
    EXPECT_EQ(0, CardCell(0x11, large).x);  // 0x11 at size 8: the top-left cell
    EXPECT_EQ(0, CardCell(0x11, large).y);
    EXPECT_EQ(MaskCell(large).x, CardCell(0x4E, large).x);  // 0x4E is the mask cell itself
    EXPECT_EQ(MaskCell(large).y, CardCell(0x4E, large).y);
    EXPECT_EQ(13 * 71, MaskCell(large).x);
    EXPECT_EQ(3 * 96, MaskCell(large).y);
    const CardSize& normal = *SizeOf(1);
    EXPECT_EQ(9 * 54, CardCell(0x2A, normal).x);
    EXPECT_EQ(72, CardCell(0x2A, normal).y);
    EXPECT_EQ(nullptr, SizeOf(3));
    EXPECT_EQ(nullptr, SizeOf(0));

    Cell c;
    EXPECT_TRUE(SpecialCell(0x1E, 1, normal, &c));
    EXPECT_EQ(0, c.x);
    EXPECT_EQ(0, c.y);
    EXPECT_TRUE(SpecialCell(0x2E, 2, normal, &c));
    EXPECT_EQ(0, c.x);
    EXPECT_EQ(72, c.y);
    EXPECT_TRUE(SpecialCell(0x3E, 4, normal, &c));
    EXPECT_EQ(54, c.x);
    EXPECT_EQ(0, c.y);
    EXPECT_FALSE(SpecialCell(0x1E, 6, normal, &c));
    EXPECT_FALSE(SpecialCell(0x2E, 5, normal, &c));
    EXPECT_FALSE(SpecialCell(0x3E, 3, normal, &c));
    EXPECT_FALSE(SpecialCell(0x4E, 7, normal, &c));
}

// ---- Loading -------------------------------------------------------------------------------

TEST(CardPainterLoad, TheStandInLibrary)
{
    CCardPainter painter;
    // By the bare name: the program's folder is searched first.
    ASSERT_TRUE(painter.LoadCards(9, NULL));
    EXPECT_EQ(9, painter.GetLoadedFlags());
    EXPECT_EQ(NULL, painter.GetSheet(2));

    CCardPainter all;
    ASSERT_TRUE(all.LoadCards(15, ProgramFolder().c_str()));
    EXPECT_EQ(15, all.GetLoadedFlags());
    struct Sheet
    {
        int flag, width, height;
    } sheets[] = {{1, 756, 288}, {2, 588, 224}, {4, 378, 152}, {8, 994, 384}};
    for (const Sheet& s : sheets) {
        BITMAP bm;
        ASSERT_EQ(static_cast<int>(sizeof bm), GetObject(all.GetSheet(s.flag), sizeof bm, &bm)) << s.flag;
        EXPECT_EQ(s.width, bm.bmWidth) << s.flag;
        EXPECT_EQ(s.height, bm.bmHeight) << s.flag;
    }

    // The art: every cell differs from every other, the mask is the card's
    // shape (black inside, white in the corners) and each card is black
    // outside that shape.
    for (const Sheet& s : sheets) {
        const Picture sheet = ReadPicture(all.GetSheet(s.flag));
        const CardSize& size = *SizeOf(s.flag);
        std::set<std::vector<uint32_t>> cells;
        for (int row = 0; row < kRows; ++row)
            for (int column = 0; column < kColumns; ++column) {
                std::vector<uint32_t> cell;
                for (int y = 0; y < size.height; ++y)
                    for (int x = 0; x < size.width; ++x)
                        cell.push_back(sheet.at(column * size.width + x, row * size.height + y));
                cells.insert(cell);
            }
        EXPECT_EQ(static_cast<size_t>(kRows * kColumns), cells.size()) << s.flag;
        const Cell mask = SheetMask(size);
        EXPECT_EQ(0xFFFFFFu, sheet.at(mask.x, mask.y)) << s.flag;
        EXPECT_EQ(0u, sheet.at(mask.x + size.width / 2, mask.y + size.height / 2)) << s.flag;
        int strayInk = 0;
        for (int row = 0; row < kRows; ++row)
            for (int column = 0; column < kColumns - 1 || (column == kColumns - 1 && row < 3); ++column)
                for (int y = 0; y < size.height; ++y)
                    for (int x = 0; x < size.width; ++x)
                        if (sheet.at(mask.x + x, mask.y + y) != 0)
                            strayInk += sheet.at(column * size.width + x, row * size.height + y) != 0;
        EXPECT_EQ(0, strayInk) << s.flag;
    }
}

TEST(CardPainterLoad, FailuresKeepWhatWasLoaded)
{
    ASSERT_TRUE(GdiCounterSeesABrush()) << "no working GDI object counter";
    const int before = GdiObjects();
    {
        CCardPainter painter;
        EXPECT_FALSE(painter.LoadCards(15, "Z:\\no\\such\\folder"));
        EXPECT_EQ(0, painter.GetLoadedFlags());
        ASSERT_TRUE(painter.LoadCards(1, NULL));
        EXPECT_FALSE(painter.LoadCards(8, "Z:\\no\\such\\folder"));
        EXPECT_EQ(1, painter.GetLoadedFlags());
        Surface s(60, 80);
        RECT r = {0, 0, 54, 72};
        EXPECT_EQ(kDrawn, painter.Draw(s.dc(), 0x11, r, 1));
        EXPECT_EQ(kSizeNotLoaded, painter.Draw(s.dc(), 0x11, r, 8));
        // Loading the same size again replaces its sheet.
        ASSERT_TRUE(painter.LoadCards(1, NULL));
        ASSERT_TRUE(painter.LoadCards(1, NULL));
        // A folder name too long for a path.
        EXPECT_FALSE(painter.LoadCards(1, std::string(400, 'a').c_str()));
    }
    EXPECT_LE(GdiObjects(), before + 1);
}

// ---- Drawing --------------------------------------------------------------------------------

TEST(CardPainterDraw, EveryCodeOfEverySizeDrawsItsCell)
{
    CCardPainter painter;
    ASSERT_TRUE(painter.LoadCards(15, NULL));
    for (const CardSize& size : kLoadOrder) {
        const Picture sheet = ReadPicture(painter.GetSheet(size.sizeFlag));
        Surface target(size.width + 9, size.height + 11);
        const std::vector<uint32_t> background = target.Pixels();
        for (int suit = 1; suit <= 4; ++suit)
            for (int rank = 1; rank <= 14; ++rank) {
                const int code = suit << 4 | rank;
                target.FillPattern();
                const RECT r = {5, 7, 5 + size.width, 7 + size.height};
                ASSERT_EQ(kDrawn, painter.Draw(target.dc(), code, r, size.sizeFlag));
                const std::vector<uint32_t> want = Expected(background, target.width(), sheet, SheetCell(code, size),
                                                            SheetMask(size), 5, 7, size.width, size.height);
                ASSERT_EQ(0, CountDifferences(want, target.Pixels()))
                    << "size " << size.sizeFlag << " code " << std::hex << code;
            }
    }
}

TEST(CardPainterDraw, RefusedDrawsLeaveTheTarget)
{
    CCardPainter painter;
    ASSERT_TRUE(painter.LoadCards(9, NULL));
    Surface target(80, 100);
    const std::vector<uint32_t> before = target.Pixels();
    const RECT r = {0, 0, 71, 96};
    EXPECT_EQ(kNoTargetDc, painter.Draw(NULL, 0x11, r, 8));
    EXPECT_EQ(kSizeNotLoaded, painter.Draw(target.dc(), 0x11, r, 2));
    EXPECT_EQ(kBadSuit, painter.Draw(target.dc(), 0x51, r, 8));
    EXPECT_EQ(kBadRank, painter.Draw(target.dc(), 0x1F, r, 8));
    EXPECT_EQ(kBadSizeKind, painter.Draw(target.dc(), 0x11, r, 9));
    EXPECT_EQ(kNoTargetDc, painter.DrawSized(NULL, 0x11, 0, 0, 8));
    EXPECT_EQ(kBadRank, painter.DrawSized(target.dc(), 0x10, 0, 0, 8));
    EXPECT_EQ(0, CountDifferences(before, target.Pixels()));

    // An empty or inverted rectangle draws nothing and is no error.
    const RECT empty = {10, 10, 10, 40};
    const RECT inverted = {30, 30, 10, 10};
    EXPECT_EQ(kDrawn, painter.Draw(target.dc(), 0x11, empty, 8));
    EXPECT_EQ(kDrawn, painter.Draw(target.dc(), 0x11, inverted, 8));
    EXPECT_EQ(0, CountDifferences(before, target.Pixels()));

    CCardPainter unloaded;
    EXPECT_EQ(kSizeNotLoaded, unloaded.Draw(target.dc(), 0x11, r, 8));
}

TEST(CardPainterDraw, OffsetPointMovesBothCells)
{
    CCardPainter painter;
    ASSERT_TRUE(painter.LoadCards(8, NULL));
    const CardSize& size = *SizeOf(8);
    const Picture sheet = ReadPicture(painter.GetSheet(8));
    Surface target(60, 70);
    const std::vector<uint32_t> background = target.Pixels();
    // A part of the card: 30 x 40 from (12, 20) inside the cell of 0x23.
    const POINT offset = {12, 20};
    const RECT r = {4, 6, 34, 46};
    ASSERT_EQ(kDrawn, painter.Draw(target.dc(), 0x23, r, 8, 0, &offset));
    Cell card = SheetCell(0x23, size), mask = SheetMask(size);
    card.x += 12, card.y += 20, mask.x += 12, mask.y += 20;
    EXPECT_EQ(0, CountDifferences(Expected(background, 60, sheet, card, mask, 4, 6, 30, 40), target.Pixels()));
}

TEST(CardPainterDraw, AlphaAtItsBoundaryLevels)
{
    CCardPainter painter;
    ASSERT_TRUE(painter.LoadCards(1, NULL));
    const CardSize& size = *SizeOf(1);
    const Picture sheet = ReadPicture(painter.GetSheet(1));
    Surface target(size.width, size.height);
    const std::vector<uint32_t> background = target.Pixels();
    const std::vector<uint32_t> opaque =
        Expected(background, size.width, sheet, SheetCell(0x3D, size), SheetMask(size), 0, 0, size.width, size.height);
    const RECT r = {0, 0, size.width, size.height};

    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, 0};
    ASSERT_EQ(kDrawn, painter.Draw(target.dc(), 0x3D, r, 1, 0, NULL, &blend));
    EXPECT_EQ(0, CountDifferences(opaque, target.Pixels()));

    target.FillPattern();
    blend.SourceConstantAlpha = 0;
    ASSERT_EQ(kDrawn, painter.Draw(target.dc(), 0x3D, r, 1, 0, NULL, &blend));
    EXPECT_EQ(0, CountDifferences(background, target.Pixels()));

    target.FillPattern();
    blend.SourceConstantAlpha = 128;
    ASSERT_EQ(kDrawn, painter.Draw(target.dc(), 0x3D, r, 1, 0, NULL, &blend));
    const std::vector<uint32_t> half = target.Pixels();
    int outside = 0;
    for (size_t i = 0; i < half.size(); ++i)
        for (int shift = 0; shift <= 16; shift += 8) {
            const int s = opaque[i] >> shift & 255, d = background[i] >> shift & 255, got = half[i] >> shift & 255;
            const int want = (s * 128 + d * 127) / 255;
            outside += got < want - 1 || got > want + 1;
        }
    EXPECT_EQ(0, outside);
}

TEST(CardPainterDraw, SizedDrawDefaultsAndStretches)
{
    CCardPainter painter;
    ASSERT_TRUE(painter.LoadCards(8, NULL));
    const CardSize& size = *SizeOf(8);
    const Picture sheet = ReadPicture(painter.GetSheet(8));

    // Sizes of 0 are the card's own size: the same as the rectangle form.
    Surface target(2 * size.width + 4, 2 * size.height + 4);
    const std::vector<uint32_t> background = target.Pixels();
    ASSERT_EQ(kDrawn, painter.DrawSized(target.dc(), 0x47, 2, 3, 8));
    EXPECT_EQ(0, CountDifferences(Expected(background, target.width(), sheet, SheetCell(0x47, size), SheetMask(size),
                                           2, 3, size.width, size.height),
                                  target.Pixels()));

    // Twice the size, larger than the 71 x 96 work bitmap: every pixel of the
    // destination comes from its source pixel.
    target.FillPattern();
    ASSERT_EQ(kDrawn, painter.DrawSized(target.dc(), 0x47, 2, 3, 8, 0, 0, 2 * size.width, 2 * size.height));
    const std::vector<uint32_t> got = target.Pixels();
    const Cell card = SheetCell(0x47, size), mask = SheetMask(size);
    int wrong = 0;
    for (int y = 0; y < 2 * size.height; ++y)
        for (int x = 0; x < 2 * size.width; ++x) {
            const size_t at = (3 + y) * target.width() + 2 + x;
            const uint32_t want = (background[at] & sheet.at(mask.x + x / 2, mask.y + y / 2)) |
                                  sheet.at(card.x + x / 2, card.y + y / 2);
            wrong += (got[at] & 0xFFFFFF) != want;
        }
    EXPECT_EQ(0, wrong);
}

// ---- The table painter -------------------------------------------------------------------

TEST(TableCardPainter, SpecialSheets)
{
    ASSERT_TRUE(GdiCounterSeesABrush()) << "no working GDI object counter";
    const int before = GdiObjects();
    {
        CTableCardPainter painter;
        ASSERT_TRUE(painter.LoadCards(9, NULL));
        EXPECT_FALSE(painter.LoadSpecialSheet(3, 501, 7));   // not a size
        EXPECT_FALSE(painter.LoadSpecialSheet(1, 599, 7));   // no such bitmap
        EXPECT_FALSE(painter.LoadSpecialSheet(1, 502, 7));   // too small for 2 x 2 cards of 54 x 72
        EXPECT_EQ(0, painter.GetSpecialFlags());
        ASSERT_TRUE(painter.LoadSpecialSheet(1, 501, 1 | 4));  // 0x1E and 0x3E, not 0x2E
        EXPECT_EQ(1, painter.GetSpecialFlags());

        HBITMAP special = LoadBitmapA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(501));
        const Picture specialSheet = ReadPicture(special);
        DeleteObject(special);
        const Picture mainSheet = ReadPicture(painter.GetSheet(1));
        const CardSize& size = *SizeOf(1);
        Surface target(size.width, size.height);
        const std::vector<uint32_t> background = target.Pixels();
        const RECT r = {0, 0, size.width, size.height};
        struct Case
        {
            int code;
            bool special;
            Cell cell;
        } cases[] = {
            {0x1E, true, {0, 0}},
            {0x3E, true, {54, 0}},
            {0x2E, false, SheetCell(0x2E, size)},  // its bit is not in the choice mask
            {0x11, false, SheetCell(0x11, size)},
        };
        for (const Case& c : cases) {
            const Picture& sheet = c.special ? specialSheet : mainSheet;
            const Cell mask = c.special ? Cell{size.width, size.height} : SheetMask(size);
            target.FillPattern();
            ASSERT_EQ(kDrawn, painter.Draw(target.dc(), c.code, r, 1));
            EXPECT_EQ(0, CountDifferences(Expected(background, size.width, sheet, c.cell, mask, 0, 0, size.width,
                                                   size.height),
                                          target.Pixels()))
                << std::hex << c.code;
            target.FillPattern();
            ASSERT_EQ(kDrawn, painter.DrawSized(target.dc(), c.code, 0, 0, 1));
            EXPECT_EQ(0, CountDifferences(Expected(background, size.width, sheet, c.cell, mask, 0, 0, size.width,
                                                   size.height),
                                          target.Pixels()))
                << std::hex << c.code << " sized";
        }

        // 0x2E once its bit is chosen; the sheet is replaced.
        ASSERT_TRUE(painter.LoadSpecialSheet(1, 501, 2));
        target.FillPattern();
        ASSERT_EQ(kDrawn, painter.Draw(target.dc(), 0x2E, r, 1));
        EXPECT_EQ(0, CountDifferences(Expected(background, size.width, specialSheet, Cell{0, 72},
                                               Cell{size.width, size.height}, 0, 0, size.width, size.height),
                                      target.Pixels()));

        // The special sheet serves its own size only; no target is refused.
        Surface large(71, 96);
        const Picture largeSheet = ReadPicture(painter.GetSheet(8));
        const std::vector<uint32_t> largeBackground = large.Pixels();
        ASSERT_EQ(kDrawn, painter.DrawSized(large.dc(), 0x2E, 0, 0, 8));
        EXPECT_EQ(0, CountDifferences(Expected(largeBackground, 71, largeSheet, SheetCell(0x2E, *SizeOf(8)),
                                               SheetMask(*SizeOf(8)), 0, 0, 71, 96),
                                      large.Pixels()));
        EXPECT_EQ(kNoTargetDc, painter.Draw(NULL, 0x2E, r, 1));
        EXPECT_EQ(kNoTargetDc, painter.DrawSized(NULL, 0x2E, 0, 0, 1));
        EXPECT_EQ(kBadSizeKind, painter.DrawSized(target.dc(), 0x2E, 0, 0, 3));

        // A zero choice mask sends everything to the base.
        ASSERT_TRUE(painter.LoadSpecialSheet(1, 501, 0));
        target.FillPattern();
        ASSERT_EQ(kDrawn, painter.Draw(target.dc(), 0x1E, r, 1));
        EXPECT_EQ(0, CountDifferences(Expected(background, size.width, mainSheet, SheetCell(0x1E, size),
                                               SheetMask(size), 0, 0, size.width, size.height),
                                      target.Pixels()));
    }
    EXPECT_LE(GdiObjects(), before + 1);
}
