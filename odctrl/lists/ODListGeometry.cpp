// ODListGeometry.cpp - the list's layout, scrolling arithmetic, rectangles
// and hit testing.
#include "ODListGeometry.h"

#include <algorithm>

namespace odlist {

namespace {

bool Contains(const Rect& r, int x, int y)
{
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

}  // namespace

void ListGeometry::Layout(int width, int height, int headerHeight)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    const uint32_t style = m_model.GetStyleWord();
    m_client = {0, 0, width, height};
    const int headerBottom = (style & kStyleNoHeader) ? 0 : std::min(std::max(headerHeight, 0), height);
    m_header = {0, 0, width, headerBottom};
    m_headerArea = m_header;
    m_band = Rect();
    if (style & kStyleBand) {
        const int bandBottom = std::min(headerBottom + m_rowHeight + 2 * m_dlgFrame, height);
        m_headerArea.bottom = bandBottom;
        m_band = {0, headerBottom, width, bandBottom};
    }
    m_content = {0, m_headerArea.bottom, width, height};
    SetHorzPos(m_horz);
    SetTopIndex(m_top);
}

int ListGeometry::SetRowHeight(int height)
{
    m_rowHeight = std::max(height, 1);
    return m_rowHeight;
}

void ListGeometry::SetImageSize(int width, int height)
{
    m_imageWidth = std::max(width, 0);
    m_imageHeight = std::max(height, 0);
    m_rowHeight = std::max(m_rowHeight, m_imageHeight + 1);
}

void ListGeometry::SetStateImageSize(int width, int height)
{
    m_stateWidth = std::max(width, 0);
    m_stateHeight = std::max(height, 0);
    m_rowHeight = std::max(m_rowHeight, m_stateHeight + 1);
}

int ListGeometry::RowHeightOf(int displayRow)
{
    int height = m_rowHeight;
    if (m_model.GetOption(9)) {
        ODLVITEM d = {};
        d.item = m_model.DisplayToItem(displayRow);
        d.mask = kMaskExtraHeight;
        if (d.item >= 0 && m_model.GetColumnCount() > 0 && m_model.GetItem(&d) && d.extraHeight > 0)
            height += d.extraHeight;
    }
    return height;
}

// ---- Scrolling -----------------------------------------------------------------------

int ListGeometry::GetVisibleRows(int from, int* first, int* last, bool backwards)
{
    const int count = m_model.GetDisplayCount();
    const int space = m_content.Height();
    if (from < 0)
        from = backwards ? count - 1 : m_top;
    int n = 0, used = 0, row = from;
    if (!backwards) {
        // The last row counted may show only in part.
        for (; row < count && used < space; ++row, ++n)
            used += RowHeightOf(row);
        if (first)
            *first = from;
        if (last)
            *last = n ? from + n - 1 : from - 1;
    } else {
        // Upwards, whole rows only, at least the row itself.
        for (; row >= 0; --row) {
            const int h = RowHeightOf(row);
            if (n > 0 && used + h > space)
                break;
            used += h;
            ++n;
        }
        if (first)
            *first = from - n + 1;
        if (last)
            *last = from;
    }
    return n;
}

int ListGeometry::GetCountPerPage()
{
    return GetVisibleRows(m_top, nullptr, nullptr, false);
}

void ListGeometry::SetTopIndex(int row)
{
    const int count = m_model.GetDisplayCount();
    m_top = std::max(0, std::min(row, count - 1));
}

void ListGeometry::SetHorzPos(int pos)
{
    const BarInfo bar = HorzBar();
    const int limit = bar.shown ? std::max(0, bar.max - bar.page + 1) : 0;
    m_horz = std::max(0, std::min(pos, limit));
}

BarInfo ListGeometry::HorzBar()
{
    BarInfo bar;
    const int total = m_model.GetTotalWidth();
    bar.page = std::max(m_content.Width(), 0);
    bar.max = total > bar.page ? total - 1 : 0;
    bar.pos = m_horz;
    bar.shown = bar.max > 0;
    return bar;
}

BarInfo ListGeometry::VertBar()
{
    BarInfo bar;
    const int count = m_model.GetDisplayCount();
    bar.page = GetVisibleRows(m_top, nullptr, nullptr, false);
    bar.max = bar.page < count ? count - 1 : 0;
    bar.pos = m_top;
    bar.shown = bar.max > 0;
    return bar;
}

void ListGeometry::HeaderPlacement(int* x, int* width)
{
    if (x)
        *x = -m_horz;
    if (width)
        *width = std::max(m_model.GetTotalWidth(), m_content.Width());
}

bool ListGeometry::IsItemVisible(int item)
{
    const int row = m_model.ItemToDisplay(item);
    if (row < 0)
        return false;
    int last = 0;
    GetVisibleRows(m_top, nullptr, &last, false);
    return row >= m_top && row <= last;
}

int ListGeometry::EnsureVisible(int item, bool partialOk)
{
    (void)partialOk;
    const int row = m_model.ItemToDisplay(item);
    if (row < 0)
        return 0;
    int last = 0;
    GetVisibleRows(m_top, nullptr, &last, false);
    if (row < m_top) {
        m_top = row;
    } else if (row > last || (row == last && row > m_top && RowTop(row) + RowHeightOf(row) > m_content.bottom)) {
        // The page that ends with it.
        int first = row;
        GetVisibleRows(row, &first, nullptr, true);
        m_top = first;
    }
    return 1;
}

void ListGeometry::EnsureColumnVisible(int position)
{
    if (position < 0 || position >= m_model.GetVisibleColumnCount())
        return;
    const int left = ColumnLeft(position);
    const int right = left + m_model.GetColumn(m_model.GetColumnAt(position))->width;
    const int width = m_content.Width();
    if (left < m_horz)
        SetHorzPos(left);
    else if (right > m_horz + width)
        SetHorzPos(std::min(left, right - width));
}

int ListGeometry::PageUp()
{
    SetTopIndex(std::max(0, m_top - GetCountPerPage()));
    return m_top;
}

int ListGeometry::PageDown()
{
    SetTopIndex(m_top + GetCountPerPage());
    return m_top;
}

// ---- Rectangles ----------------------------------------------------------------------

int ListGeometry::ColumnLeft(int position) const
{
    int left = 0;
    for (int p = 0; p < position && p < m_model.GetVisibleColumnCount(); ++p)
        left += m_model.GetColumn(m_model.GetColumnAt(p))->width;
    return left;
}

int ListGeometry::RowShift(int from, int to, int limit)
{
    const int count = m_model.GetDisplayCount();
    if (from == to || from < 0 || to < 0 || from >= count || to >= count || limit <= 0)
        return 0;
    int shift = 0;
    for (int r = std::min(from, to); r < std::max(from, to); ++r) {
        shift += RowHeightOf(r);
        if (shift >= limit)
            return 0;
    }
    return to > from ? shift : -shift;
}

int ListGeometry::RowTop(int displayRow)
{
    int top = m_content.top;
    for (int r = m_top; r < displayRow; ++r)
        top += RowHeightOf(r);
    return top;
}

int ListGeometry::GetRowRect(int displayRow, int position, Rect* rect, int part)
{
    if (!rect || (position < 0 && part != kPartCell))
        return 0;
    Rect r;
    if (displayRow == -1) {
        r = m_band;
        if (r.IsEmpty())
            return 0;
    } else {
        int last = 0;
        GetVisibleRows(m_top, nullptr, &last, false);
        if (displayRow < m_top || displayRow > last)
            return 0;
        r.top = RowTop(displayRow);
        r.bottom = r.top + m_rowHeight;
        r.left = m_content.left;
        r.right = m_content.right;
    }
    r.left -= m_horz;
    r.right -= m_horz;
    if (position >= 0) {
        if (position >= m_model.GetVisibleColumnCount())
            return 0;
        r.left += ColumnLeft(position);
        r.right = part == kPartTextToEnd ? m_content.left - m_horz + m_model.GetTotalWidth()
                                         : r.left + m_model.GetColumn(m_model.GetColumnAt(position))->width;
    }
    *rect = r;
    return 1;
}

int ListGeometry::GetCellRect(int item, int column, Rect* rect, int part)
{
    if (!rect || part < kPartCell || part > kPartTextToEnd)
        return 0;
    const int position = m_model.GetColumnPosition(column);
    const int row = m_model.ItemToDisplay(item);
    if (position < 0 || row == -2)
        return 0;
    Rect cell;
    if (!GetRowRect(row, part == kPartTextToEnd ? 0 : position, &cell, part))
        return 0;
    if (part == kPartCell) {
        *rect = cell;
        return 1;
    }
    return NarrowCell(item, column, position, cell, part, rect);
}

int ListGeometry::NarrowCell(int item, int column, int position, const Rect& cell, int part, Rect* rect)
{
    if (part == kPartCell) {
        *rect = cell;
        return 1;
    }
    ODLVITEM d = {};
    d.item = item;
    d.subItem = column;
    d.mask = kMaskImage | kMaskStateImage | kMaskIndent;
    if (!m_model.GetItem(&d))
        return 0;
    const int pad = m_model.GetOption(1);
    int left = cell.left;
    if (position == 0 && d.indent > 0) {
        left += d.indent * m_rowHeight;
        if (left >= cell.right)
            return 0;
    }
    const bool image = (d.mask & kMaskImage) != 0;
    const bool state = (d.mask & kMaskStateImage) != 0;
    int x = left + pad;
    Rect r = cell;
    if (part == kPartImage) {
        if (!image)
            return 0;
        r.left = x;
        r.right = x + m_imageWidth;
    } else {
        if (image)
            x += m_imageWidth + pad;
        if (part == kPartStateImage) {
            if (!state)
                return 0;
            r.left = x;
            r.right = x + m_stateWidth;
        } else {
            if (state)
                x += m_stateWidth + pad;
            r.left = x;
            r.right = cell.right - pad;
            if (r.right <= r.left)
                return 0;
        }
    }
    // Every part ends at least one padding before the cell's edge.
    if (r.right > cell.right - pad)
        return 0;
    *rect = r;
    return 1;
}

int ListGeometry::HitTest(ODHitTestInfo* info)
{
    if (!info)
        return -2;
    info->node = 0;
    info->item = -2;
    info->column = -1;
    info->displayRow = -2;
    info->position = -1;
    info->flags = 0;
    info->rect = Rect();
    const int x = info->x, y = info->y;
    Rect band = m_band;
    band.right -= 2 * m_dlgFrame;
    const bool inBand = !band.IsEmpty() && Contains(band, x, y);
    if (!inBand && !Contains(m_content, x, y)) {
        if (y < m_content.top)
            info->flags |= kHitAbove;
        if (y >= m_content.bottom)
            info->flags |= kHitBelow;
        if (x < m_content.left)
            info->flags |= kHitLeft;
        if (x >= m_content.right)
            info->flags |= kHitRight;
        return -2;
    }
    // The column under the point.
    auto findColumn = [&]() {
        const int cx = x + m_horz - m_content.left;
        int left = 0;
        for (int p = 0; p < m_model.GetVisibleColumnCount(); ++p) {
            const int width = m_model.GetColumn(m_model.GetColumnAt(p))->width;
            if (cx >= left && cx < left + width) {
                info->position = p;
                info->column = m_model.GetColumnAt(p);
                return;
            }
            left += width;
        }
    };
    if (inBand) {
        findColumn();
        if (info->column < 0)
            return -2;
        info->item = -1;
        info->displayRow = -1;
        info->flags = kHitBand;
        info->rect = m_band;
        return -1;
    }
    // The row under the point.
    const int count = m_model.GetDisplayCount();
    int top = m_content.top;
    int row = m_top;
    for (; row < count && top < m_content.bottom; ++row) {
        const int h = RowHeightOf(row);
        if (y >= top && y < top + h)
            break;
        top += h;
    }
    if (row >= count || top >= m_content.bottom) {
        info->flags = kHitNowhere;
        return -2;
    }
    findColumn();
    const int item = m_model.DisplayToItem(row);
    info->item = item;
    info->displayRow = row;
    info->node = m_model.GetItemNode(item);
    if (y >= top + m_rowHeight) {
        // The row's extra part below its cells.
        info->flags = kHitExtra;
        info->rect = {m_content.left, top + m_rowHeight, m_content.right, top + RowHeightOf(row)};
        return item;
    }
    // A tree row whose node names a main column stands as a whole for it;
    // its parts are those of the first shown column.
    int partColumn = info->column;
    bool wholeRow = false;
    const int mainColumn = m_model.GetNodeMainColumn(info->node);
    if (mainColumn >= 0 && mainColumn < m_model.GetColumnCount() && m_model.GetVisibleColumnCount() > 0) {
        info->column = mainColumn;
        info->position = 0;
        partColumn = m_model.GetColumnAt(0);
        wholeRow = true;
    }
    if (partColumn < 0) {
        info->flags = kHitNowhere;
        return item;
    }
    Rect cell;
    GetCellRect(item, partColumn, &cell, kPartCell);
    if (wholeRow)
        GetRowRect(row, -1, &info->rect, kPartCell);
    else
        info->rect = cell;
    ODLVITEM d = {};
    d.item = item;
    d.subItem = partColumn;
    d.mask = kMaskIndent;
    m_model.GetItem(&d);
    const uint32_t state = m_model.GetItemState(item);
    if (m_model.GetColumnPosition(partColumn) == 0 && d.indent > 0 && (state & (kStateCollapsed | kStateExpanded))) {
        const Rect square = {cell.left + (d.indent - 1) * m_rowHeight, cell.top, cell.left + d.indent * m_rowHeight,
                             cell.top + m_rowHeight};
        if (Contains(square, x, y)) {
            info->flags = kHitExpander;
            info->rect = square;
            return item;
        }
    }
    Rect part;
    if (GetCellRect(item, partColumn, &part, kPartImage) && Contains(part, x, y))
        info->flags = kHitImage;
    else if (GetCellRect(item, partColumn, &part, kPartStateImage) && Contains(part, x, y))
        info->flags = kHitStateImage;
    else if (GetCellRect(item, partColumn, &part, kPartText) && Contains(part, x, y))
        info->flags = kHitText;
    else
        info->flags = kHitNowhere;
    return item;
}

}  // namespace odlist
