// CardPainter.cpp - card drawing from the card sheets.
#include "CardPainter.h"

#include <stdio.h>

#include "afx.h"

using cardlayout::CardSize;
using cardlayout::Cell;

namespace {

const char kCardLibrary[] = "VEZezur.dll";

// The work bitmap grows for larger destinations up to this size a side;
// anything beyond is cut.
constexpr int kMaxWorkSide = 2048;

constexpr DWORD kRopCopy = SRCCOPY;     // 0xCC0020
constexpr DWORD kRopAnd = SRCAND;       // 0x8800C6
constexpr DWORD kRopPaint = SRCPAINT;   // 0xEE0086

HBITMAP MakeScreenBitmap(int width, int height)
{
    HDC screen = ::GetDC(NULL);
    if (!screen)
        return NULL;
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    ::ReleaseDC(NULL, screen);
    return bitmap;
}

// A sheet must hold all its cells.
bool SheetFits(HBITMAP sheet, int cellWidth, int cellHeight, int columns, int rows)
{
    BITMAP bm;
    return ::GetObject(sheet, sizeof bm, &bm) == sizeof bm && bm.bmWidth >= columns * cellWidth &&
           bm.bmHeight >= rows * cellHeight;
}

Cell Moved(Cell c, const POINT* offset)
{
    if (offset) {
        c.x += offset->x;
        c.y += offset->y;
    }
    return c;
}

}  // namespace

// ---- CCardPainter ------------------------------------------------------------------

CCardPainter::CCardPainter() = default;

CCardPainter::~CCardPainter()
{
    for (HBITMAP& sheet : m_sheets) {
        if (sheet)
            ::DeleteObject(sheet);
        sheet = NULL;
    }
    ReleaseWorkSurfaces();
}

void CCardPainter::ReleaseWorkSurfaces()
{
    if (m_workDc && m_workOldBitmap)
        ::SelectObject(m_workDc, m_workOldBitmap);
    if (m_workBitmap)
        ::DeleteObject(m_workBitmap);
    if (m_workDc)
        ::DeleteDC(m_workDc);
    if (m_sheetDc)
        ::DeleteDC(m_sheetDc);
    m_workBitmap = NULL;
    m_workOldBitmap = NULL;
    m_workDc = NULL;
    m_sheetDc = NULL;
    m_workWidth = m_workHeight = 0;
}

BOOL CCardPainter::MakeWorkSurfaces()
{
    if (!m_sheetDc)
        m_sheetDc = ::CreateCompatibleDC(NULL);
    if (!m_workDc)
        m_workDc = ::CreateCompatibleDC(NULL);
    if (!m_sheetDc || !m_workDc)
        return FALSE;
    if (!m_workBitmap) {
        m_workBitmap = MakeScreenBitmap(cardlayout::kLargestWidth, cardlayout::kLargestHeight);
        if (!m_workBitmap)
            return FALSE;
        m_workOldBitmap = ::SelectObject(m_workDc, m_workBitmap);
        m_workWidth = cardlayout::kLargestWidth;
        m_workHeight = cardlayout::kLargestHeight;
    }
    return TRUE;
}

BOOL CCardPainter::EnsureWorkSize(int width, int height)
{
    if (width <= m_workWidth && height <= m_workHeight)
        return TRUE;
    const int newWidth = width > m_workWidth ? (width < kMaxWorkSide ? width : kMaxWorkSide) : m_workWidth;
    const int newHeight = height > m_workHeight ? (height < kMaxWorkSide ? height : kMaxWorkSide) : m_workHeight;
    HBITMAP bigger = MakeScreenBitmap(newWidth, newHeight);
    if (!bigger)
        return FALSE;
    ::SelectObject(m_workDc, bigger);
    ::DeleteObject(m_workBitmap);
    m_workBitmap = bigger;
    m_workWidth = newWidth;
    m_workHeight = newHeight;
    return width <= m_workWidth && height <= m_workHeight;
}

BOOL CCardPainter::LoadCards(int sizeFlags, LPCSTR folder)
{
    if (!MakeWorkSurfaces())
        return FALSE;

    char path[MAX_PATH];
    if (folder && *folder) {
        const int n = snprintf(path, sizeof path, "%s\\%s", folder, kCardLibrary);
        if (n < 0 || n >= static_cast<int>(sizeof path))
            return FALSE;
    } else {
        snprintf(path, sizeof path, "%s", kCardLibrary);
    }
    // The library holds pictures only: it is mapped as data, so no code of
    // a file found by the search runs in this process.
    HMODULE library = ::LoadLibraryExA(path, NULL, LOAD_LIBRARY_AS_DATAFILE);
    if (!library)
        return FALSE;

    BOOL ok = TRUE;
    for (const CardSize& size : cardlayout::kLoadOrder) {
        if ((sizeFlags & size.sizeFlag) == 0)
            continue;
        HBITMAP sheet = ::LoadBitmapA(library, MAKEINTRESOURCEA(size.bitmapId));
        if (sheet && !SheetFits(sheet, size.width, size.height, cardlayout::kColumns, cardlayout::kRows)) {
            ::DeleteObject(sheet);
            sheet = NULL;
        }
        if (!sheet) {
            ok = FALSE;
            break;
        }
        HBITMAP& slot = m_sheets[cardlayout::SizeIndex(size.sizeFlag)];
        if (slot)
            ::DeleteObject(slot);
        slot = sheet;
        m_loadedFlags |= size.sizeFlag;
    }
    ::FreeLibrary(library);
    return ok;
}

HBITMAP CCardPainter::GetSheet(int sizeFlag) const
{
    const int index = cardlayout::SizeIndex(sizeFlag);
    return index < 0 ? NULL : m_sheets[index];
}

void CCardPainter::MaskedDraw(HDC target, HBITMAP sheet, Cell card, Cell mask, int sourceWidth, int sourceHeight,
                              int x, int y, int width, int height, const BLENDFUNCTION* blend)
{
    if (width <= 0 || height <= 0 || sourceWidth <= 0 || sourceHeight <= 0 || !m_workDc || !m_sheetDc)
        return;
    if (!EnsureWorkSize(width, height)) {
        // Cut to the work bitmap, keeping the scale.
        if (width > m_workWidth) {
            sourceWidth = static_cast<int>(static_cast<long long>(sourceWidth) * m_workWidth / width);
            width = m_workWidth;
        }
        if (height > m_workHeight) {
            sourceHeight = static_cast<int>(static_cast<long long>(sourceHeight) * m_workHeight / height);
            height = m_workHeight;
        }
        if (sourceWidth <= 0 || sourceHeight <= 0)
            return;
    }

    HGDIOBJ oldSheet = ::SelectObject(m_sheetDc, sheet);
    ::BitBlt(m_workDc, 0, 0, width, height, target, x, y, kRopCopy);
    if (sourceWidth == width && sourceHeight == height) {
        ::BitBlt(m_workDc, 0, 0, width, height, m_sheetDc, mask.x, mask.y, kRopAnd);
        ::BitBlt(m_workDc, 0, 0, width, height, m_sheetDc, card.x, card.y, kRopPaint);
    } else {
        const int oldMode = ::SetStretchBltMode(m_workDc, COLORONCOLOR);
        ::StretchBlt(m_workDc, 0, 0, width, height, m_sheetDc, mask.x, mask.y, sourceWidth, sourceHeight, kRopAnd);
        ::StretchBlt(m_workDc, 0, 0, width, height, m_sheetDc, card.x, card.y, sourceWidth, sourceHeight, kRopPaint);
        ::SetStretchBltMode(m_workDc, oldMode);
    }
    if (blend)
        ::AlphaBlend(target, x, y, width, height, m_workDc, 0, 0, width, height, *blend);
    else
        ::BitBlt(target, x, y, width, height, m_workDc, 0, 0, kRopCopy);
    ::SelectObject(m_sheetDc, oldSheet);
}

int CCardPainter::Draw(HDC target, int faceCode, const RECT& destination, int sizeFlag, int /*unused*/,
                       const POINT* offset, const BLENDFUNCTION* blend)
{
    const int check = cardlayout::CheckDraw(target != NULL, m_loadedFlags, faceCode, sizeFlag);
    if (check != cardlayout::kDrawn)
        return check;
    const CardSize& size = *cardlayout::SizeOf(sizeFlag);
    const int width = destination.right - destination.left;
    const int height = destination.bottom - destination.top;
    MaskedDraw(target, GetSheet(sizeFlag), Moved(cardlayout::CardCell(faceCode, size), offset),
               Moved(cardlayout::MaskCell(size), offset), width, height, destination.left, destination.top, width,
               height, blend);
    return cardlayout::kDrawn;
}

int CCardPainter::DrawSized(HDC target, int faceCode, int x, int y, int sizeFlag, int sourceWidth, int sourceHeight,
                            int destinationWidth, int destinationHeight, const POINT* offset,
                            const BLENDFUNCTION* blend)
{
    const int check = cardlayout::CheckDraw(target != NULL, m_loadedFlags, faceCode, sizeFlag);
    if (check != cardlayout::kDrawn)
        return check;
    const CardSize& size = *cardlayout::SizeOf(sizeFlag);
    MaskedDraw(target, GetSheet(sizeFlag), Moved(cardlayout::CardCell(faceCode, size), offset),
               Moved(cardlayout::MaskCell(size), offset), sourceWidth ? sourceWidth : size.width,
               sourceHeight ? sourceHeight : size.height, x, y, destinationWidth ? destinationWidth : size.width,
               destinationHeight ? destinationHeight : size.height, blend);
    return cardlayout::kDrawn;
}

// ---- CTableCardPainter --------------------------------------------------------------

CTableCardPainter::CTableCardPainter() = default;

CTableCardPainter::~CTableCardPainter()
{
    for (HBITMAP& sheet : m_specialSheets) {
        if (sheet)
            ::DeleteObject(sheet);
        sheet = NULL;
    }
}

BOOL CTableCardPainter::LoadSpecialSheet(int sizeFlag, UINT bitmapId, int choiceMask)
{
    LPCSTR name = MAKEINTRESOURCEA(bitmapId);
    HBITMAP sheet = ::LoadBitmapA(AfxFindResourceHandle(name, RT_BITMAP), name);
    if (!sheet)
        return FALSE;
    const CardSize* size = cardlayout::SizeOf(sizeFlag);
    if (!size || !SheetFits(sheet, size->width, size->height, 2, 2)) {
        ::DeleteObject(sheet);
        return FALSE;
    }
    const int index = cardlayout::SizeIndex(sizeFlag);
    if (m_specialSheets[index])
        ::DeleteObject(m_specialSheets[index]);
    m_specialSheets[index] = sheet;
    m_choiceMasks[index] = choiceMask;
    m_specialFlags |= sizeFlag;
    return TRUE;
}

bool CTableCardPainter::FindSpecial(int faceCode, int sizeFlag, HBITMAP* sheet, Cell* cell) const
{
    const int index = cardlayout::SizeIndex(sizeFlag);
    if (index < 0 || (m_specialFlags & sizeFlag) == 0 || m_choiceMasks[index] == 0)
        return false;
    if (!cardlayout::SpecialCell(faceCode, m_choiceMasks[index], *cardlayout::SizeOf(sizeFlag), cell))
        return false;
    *sheet = m_specialSheets[index];
    return true;
}

int CTableCardPainter::Draw(HDC target, int faceCode, const RECT& destination, int sizeFlag, int unused,
                            const POINT* offset, const BLENDFUNCTION* blend)
{
    HBITMAP sheet;
    Cell cell;
    if (!FindSpecial(faceCode, sizeFlag, &sheet, &cell))
        return CCardPainter::Draw(target, faceCode, destination, sizeFlag, unused, offset, blend);
    if (!target)
        return cardlayout::kNoTargetDc;
    const int width = destination.right - destination.left;
    const int height = destination.bottom - destination.top;
    const Cell mask = cardlayout::SpecialMaskCell(*cardlayout::SizeOf(sizeFlag));
    MaskedDraw(target, sheet, Moved(cell, offset), Moved(mask, offset), width, height, destination.left,
               destination.top, width, height, blend);
    return cardlayout::kDrawn;
}

int CTableCardPainter::DrawSized(HDC target, int faceCode, int x, int y, int sizeFlag, int sourceWidth,
                                 int sourceHeight, int destinationWidth, int destinationHeight, const POINT* offset,
                                 const BLENDFUNCTION* blend)
{
    HBITMAP sheet;
    Cell cell;
    if (!FindSpecial(faceCode, sizeFlag, &sheet, &cell))
        return CCardPainter::DrawSized(target, faceCode, x, y, sizeFlag, sourceWidth, sourceHeight, destinationWidth,
                                       destinationHeight, offset, blend);
    if (!target)
        return cardlayout::kNoTargetDc;
    const CardSize& size = *cardlayout::SizeOf(sizeFlag);
    MaskedDraw(target, sheet, Moved(cell, offset), Moved(cardlayout::SpecialMaskCell(size), offset),
               sourceWidth ? sourceWidth : size.width, sourceHeight ? sourceHeight : size.height, x, y,
               destinationWidth ? destinationWidth : size.width, destinationHeight ? destinationHeight : size.height,
               blend);
    return cardlayout::kDrawn;
}
