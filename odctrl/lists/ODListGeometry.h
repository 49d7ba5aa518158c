// ODListGeometry.h - where the list's rows and cells lie, apart from any
// window: the header, band and content rectangles, row heights, the rows
// visible from the top row, both scroll ranges and the header's placement,
// bringing a row into view, row and cell rectangles and hit testing.
//
// The content starts below the header area (the header, plus with style
// kStyleBand a band one row high plus twice the dialog frame). Every row is
// the row height high (never below 1, raised by the image lists), plus its
// extraHeight while option 9 is on. One indent level is one row height wide.
// A cell is, from its left edge: the indent (first shown column only), the
// padding, the image and padding when it has one, the state image and
// padding when it has one, then the text up to one padding before the right
// edge.
#pragma once

#include "ODListModel.h"
#include "ODScrollLayout.h"

namespace odlist {

using odscroll::Rect;

// Hit-test flags.
enum HitFlags : uint32_t {
    kHitNowhere = 0x1,
    kHitImage = 0x2,
    kHitStateImage = 0x4,
    kHitText = 0x8,
    kHitExtra = 0x10,
    kHitExpander = 0x20,
    kHitBand = 0x40,
    kHitAbove = 0x100,
    kHitBelow = 0x200,
    kHitRight = 0x400,
    kHitLeft = 0x800,
};

struct ODHitTestInfo
{
    int32_t x;
    int32_t y;
    uint32_t flags;
    NodeHandle node;
    int32_t item;
    int32_t column;
    int32_t displayRow;
    int32_t position;
    Rect rect;
};

// Cell parts of GetCellRect.
enum CellPart { kPartCell = 0, kPartImage = 1, kPartStateImage = 2, kPartText = 3, kPartTextToEnd = 4 };

// One scroll bar's settings.
struct BarInfo
{
    int min = 0, max = 0, page = 0, pos = 0;
    bool shown = false;
};

class ListGeometry
{
public:
    explicit ListGeometry(ListModel& model) : m_model(model) {}

    // Client size and the header's own height; the style word decides the
    // band and whether the header takes room.
    void Layout(int width, int height, int headerHeight);
    void SetDialogFrame(int cy) { m_dlgFrame = cy; }
    const Rect& ClientRect() const { return m_client; }
    const Rect& HeaderRect() const { return m_header; }
    const Rect& HeaderArea() const { return m_headerArea; }
    const Rect& BandRect() const { return m_band; }
    const Rect& ContentRect() const { return m_content; }

    // Row height: at least 1.
    int SetRowHeight(int height);
    int GetRowHeight() const { return m_rowHeight; }
    int RowHeightOf(int displayRow);
    // Image sizes; each raises the row height to at least its height + 1.
    void SetImageSize(int width, int height);
    void SetStateImageSize(int width, int height);
    int ImageWidth() const { return m_imageWidth; }
    int StateImageWidth() const { return m_stateWidth; }

    // ---- Scrolling ----
    int GetTopIndex() const { return m_top; }
    int GetHorzPos() const { return m_horz; }
    // Positions are held inside their ranges.
    void SetTopIndex(int row);
    void SetHorzPos(int pos);
    // Rows visible from `from` (the top row for -1) downwards, or upwards
    // ending at `from`: the count; first and last row out.
    int GetVisibleRows(int from, int* first, int* last, bool backwards);
    int GetCountPerPage();
    BarInfo HorzBar();
    BarInfo VertBar();
    // The header moves with the horizontal position and is never narrower
    // than the content.
    void HeaderPlacement(int* x, int* width);
    bool IsItemVisible(int item);
    int EnsureVisible(int item, bool partialOk);
    void EnsureColumnVisible(int position);
    int PageUp();
    int PageDown();
    // How far the rows move up (negative: down) when the top row goes from
    // `from` to `to`; 0 when they do not move or move `limit` pixels or more
    // (nothing of the old picture would stay in view).
    int RowShift(int from, int to, int limit);

    // ---- Rectangles and hit testing ----
    int GetRowRect(int displayRow, int position, Rect* rect, int part);
    int GetCellRect(int item, int column, Rect* rect, int part);
    // A part of the cell of (item, column) at header position `position`
    // whose whole rectangle is `cell`; 0 when the part does not fit.
    int NarrowCell(int item, int column, int position, const Rect& cell, int part, Rect* rect);
    int HitTest(ODHitTestInfo* info);

private:
    int ColumnLeft(int position) const;  // in content coordinates before scrolling
    int RowTop(int displayRow);

    ListModel& m_model;
    Rect m_client, m_header, m_headerArea, m_band, m_content;
    int m_dlgFrame = 3;
    int m_rowHeight = 10;
    int m_imageWidth = 0, m_imageHeight = 0;
    int m_stateWidth = 0, m_stateHeight = 0;
    int m_top = 0;
    int m_horz = 0;
};

}  // namespace odlist
