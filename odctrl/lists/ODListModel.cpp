// ODListModel.cpp - rows, cells, the virtual cache, columns, sorting and
// searching, the display order, selection, focus and the tree.
#include "ODListModel.h"

#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <new>

#include "ODWildcard.h"

namespace odlist {

namespace {

const int kCacheSlots = 128;

// Shared by all lists of the program.
char g_separator = '|';
char g_copySeparator = '\t';
std::string g_indent = "  ";
std::string g_unwritten = "(-1,-1,-1,-1,-1)|";

void BuildUnwritten()
{
    g_unwritten = "(-1,-1,-1,-1,-1)";
    g_unwritten += g_separator;
}

int CacheSlotOf(int row)
{
    const int slot = row % kCacheSlots;
    return slot < 0 ? slot + kCacheSlots : slot;
}

// Byte-wise comparison of two texts (the multibyte order of code page 936:
// a two-byte character compares by its lead byte, then its trail byte).
int CompareText(const char* a, const char* b)
{
    const int r = strcmp(a, b);
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

int CompareInts(int a, int b)
{
    return a < b ? -1 : (a > b ? 1 : 0);
}

}  // namespace

size_t CutAtCharacter(const char* text, size_t length, size_t max)
{
    if (length <= max)
        return length;
    size_t at = 0;
    while (at < length) {
        const size_t step = (static_cast<unsigned char>(text[at]) & 0x80) && at + 1 < length ? 2 : 1;
        if (at + step > max)
            break;
        at += step;
    }
    return at;
}

// ---- Construction, style, options ------------------------------------------------------

ListModel::ListModel()
{
    BuildUnwritten();
    m_cache.resize(kCacheSlots);
}

ListModel::~ListModel()
{
    for (TreeNode* node : m_nodes)
        delete node;
}

char ListModel::Separator() { return g_separator; }
char ListModel::CopySeparator() { return g_copySeparator; }
const std::string& ListModel::IndentString() { return g_indent; }
const std::string& ListModel::UnwrittenField() { return g_unwritten; }

void ListModel::SetStyleWord(uint32_t style)
{
    const uint32_t old = m_style;
    style &= 0xFFFF;
    const bool reshaped = ((old ^ style) & (kStyleVirtual | kStyleTree | kStyleTreeLook)) != 0;
    if (reshaped) {
        // Selection and focus belong to the old shape's rows.
        ClearSelection();
        ClearFocusRow();
    }
    m_style = style;
    if ((old & kStyleCellFocus) && !(m_style & kStyleCellFocus))
        m_focusColumn = -1;
    if (reshaped) {
        // Another shape of data: the display order is made again from what
        // is stored (the identity for plain rows, the walk for a tree).
        m_order.clear();
        if (IsTree())
            RebuildTreeOrder();
        else if (!IsVirtual())
            for (int i = 0; i < int(m_rows.size()); ++i)
                m_order.push_back(i);
        m_orderChanged = true;
        for (CacheSlot& slot : m_cache)
            slot.row = -2;
        m_pseudoFilled = false;
    }
}

int ListModel::SetOption(int option, intptr_t value)
{
    const char* text = reinterpret_cast<const char*>(value);
    switch (option) {
    case 1: m_padding = int(value); break;
    case 2: m_stateImageSize = int(value); break;
    case 3: m_optionText = text ? text : ""; break;
    case 4:
        if (value < 0 || value > 2)
            return 0;
        m_gridPen = 2 - int(value);  // 0 dot, 1 dash, 2 solid as pen codes 2, 1, 0
        break;
    case 5: m_tipTemplate = text ? text : ""; break;
    case 6: m_notifyMask = uint32_t(value); break;
    case 7:
        m_useCache = value != 0;
        break;
    case 8:
        if (char(value) == 0)
            return 0;
        g_separator = char(value);
        BuildUnwritten();
        break;
    case 9: m_variableHeight = int(value); break;
    case 10: m_horzBar = int(value); break;
    case 11:
        if (value < 0 || value > 2)
            return 0;
        m_treeLook = value == 0 ? 0x4000 : (value == 1 ? 0x8000 : 0);
        break;
    case 12:
        if (value < 0 || value > 3)
            return 0;
        m_blendMode = int(value);
        break;
    case 13: m_option13 = int(value); break;
    case 14: g_copySeparator = char(value); break;
    case 15: g_indent = text ? text : ""; break;
    default: return 0;
    }
    return 1;
}

int ListModel::GetOption(int option) const
{
    switch (option) {
    case 1: return m_padding;
    case 2: return m_stateImageSize;
    case 4: return m_gridPen;
    case 6: return int(m_notifyMask);
    case 7: return m_useCache;
    case 8: return g_separator;
    case 9: return m_variableHeight;
    case 10: return m_horzBar;
    case 11: return m_treeLook;
    case 12: return m_blendMode;
    case 13: return m_option13;
    case 14: return g_copySeparator;
    default: return 0;
    }
}

intptr_t ListModel::SendNotify(Notification& n)
{
    const int bit = -2048 - n.code;
    if (bit < 0 || bit > 31 || !(m_notifyMask & (1u << bit)) || !m_host)
        return 0;
    return m_host->Notify(n);
}

// ---- Records -------------------------------------------------------------------------

ItemInfo ListModel::NewRecord() const
{
    ItemInfo record;
    record.cells.resize(m_columns.size());
    return record;
}

ItemInfo* ListModel::StoredRecord(int item)
{
    if (item == -1)
        return &m_pseudo;
    if (IsVirtual() || item < 0 || item >= int(m_rows.size()))
        return nullptr;
    return &m_rows[size_t(item)];
}

ItemInfo* ListModel::GetItemRecord(int item, int column, uint32_t mask)
{
    if (!IsVirtual())
        return StoredRecord(item);
    if (item == -1) {
        if (m_useCache && m_pseudoFilled)
            return &m_pseudo;
        m_pseudo = NewRecord();
        m_pseudoFilled = true;
        RequestVirtualRow(m_pseudo, item, column, mask);
        return &m_pseudo;
    }
    CacheSlot& slot = m_cache[size_t(CacheSlotOf(item))];
    if (m_useCache && slot.row == item && column >= 0 && size_t(column) < slot.record.cells.size() &&
        !slot.record.cells[size_t(column)].Absent())
        return &slot.record;
    slot.row = item;
    slot.record = NewRecord();
    RequestVirtualRow(slot.record, item, column, mask);
    return &slot.record;
}

void ListModel::RequestVirtualRow(ItemInfo& record, int item, int column, uint32_t mask)
{
    char text[kCellBuffer] = {};
    ODLVITEM d = {};
    d.item = item;
    d.subItem = column;
    d.mask = mask;
    d.image = d.stateImage = d.value2 = d.value5 = d.value1 = d.indent = -1;
    if (item >= 0) {
        d.mask |= kMaskText;
        d.text = text;
        d.textMax = kCellBuffer;
    }
    Notification n;
    n.code = kNotifyVirtualFill;
    n.item = item;
    n.column = column;
    n.descriptor = &d;
    SendNotify(n);
    if (item >= 0 && column >= 0 && size_t(column) < record.cells.size()) {
        Cell cell;
        cell.image = (d.mask & kMaskImage) ? d.image : -1;
        cell.value5 = (d.mask & kMaskValue5) ? d.value5 : -1;
        cell.stateImage = (d.mask & kMaskStateImage) ? d.stateImage : -1;
        cell.value2 = (d.mask & kMaskValue2) ? d.value2 : -1;
        if ((d.mask & kMaskText) && d.text) {
            // The parent may have pointed the text elsewhere; read at most a
            // cell's worth of it.
            const char* t = d.text;
            const size_t length = t == text ? strnlen(text, sizeof text - 1) : strnlen(t, kMaxCellText + 1);
            cell.hasText = true;
            cell.text.assign(t, CutAtCharacter(t, length, kMaxCellText));
        }
        record.cells[size_t(column)] = cell;
    }
    record.value1 = (d.mask & kMaskValue1) ? d.value1 : -1;
    record.extraHeight = (d.mask & kMaskExtraHeight) ? d.extraHeight : 0;
    record.state = (d.mask & kMaskState) ? d.state : 0;
    record.indent = (d.mask & kMaskIndent) ? d.indent : -1;
}

void ListModel::CacheInvalidate(int item)
{
    if (item == -1) {
        if (IsVirtual())
            m_pseudoFilled = false;
        return;
    }
    CacheSlot& slot = m_cache[size_t(CacheSlotOf(item))];
    if (slot.row == item)
        slot.row = -2;
}

const Cell* ListModel::CellOf(int item, int column)
{
    ItemInfo* record = GetItemRecord(item, column, kMaskText | kMaskImage | kMaskStateImage);
    if (!record || column < 0 || size_t(column) >= record->cells.size())
        return nullptr;
    return &record->cells[size_t(column)];
}

void ListModel::WriteCell(ItemInfo& record, int column, const Cell& cell)
{
    if (column < 0 || column >= int(m_columns.size()))
        return;
    if (record.cells.size() < m_columns.size())
        record.cells.resize(m_columns.size());
    record.cells[size_t(column)] = cell;
}

// ---- Items ---------------------------------------------------------------------------

int ListModel::GetItemCount() const
{
    return IsVirtual() ? m_virtualCount : int(m_rows.size());
}

int ListModel::GetItem(ODLVITEM* d)
{
    if (!d || d->item < -1 || d->item >= GetItemCount() || d->subItem < 0 || d->subItem >= GetColumnCount())
        return 0;
    const uint32_t asked = d->mask;
    ItemInfo* record = GetItemRecord(d->item, d->subItem, asked);
    if (!record)
        return 0;
    d->mask = 0;
    d->value1 = record->value1;
    d->extraHeight = record->extraHeight;
    d->indent = record->indent;
    if (d->value1 >= 0)
        d->mask |= kMaskValue1;
    if (d->extraHeight != 0)
        d->mask |= kMaskExtraHeight;
    if (d->indent >= 0)
        d->mask |= kMaskIndent;
    char* buffer = (asked & kMaskText) ? d->text : nullptr;
    static const Cell kAbsent;
    const Cell& cell = size_t(d->subItem) < record->cells.size() ? record->cells[size_t(d->subItem)] : kAbsent;
    d->image = cell.image;
    d->value5 = cell.value5;
    d->stateImage = cell.stateImage;
    d->value2 = cell.value2;
    if (buffer && cell.hasText && !cell.Absent() && d->textMax > 0) {
        const size_t n = std::min(cell.text.size(), size_t(d->textMax - 1));
        memcpy(buffer, cell.text.data(), n);
        buffer[n] = 0;
        d->mask |= kMaskText;
    }
    if (d->image >= 0)
        d->mask |= kMaskImage;
    if (d->value5 >= 0)
        d->mask |= kMaskValue5;
    if (d->stateImage >= 0)
        d->mask |= kMaskStateImage;
    if (d->value2 >= 0)
        d->mask |= kMaskValue2;
    d->mask |= kMaskState | kMaskData;
    d->state = GetItemState(d->item);
    d->data = record->data;
    return 1;
}

void ListModel::WriteItem(ItemInfo& record, const ODLVITEM& d)
{
    static const Cell kAbsent;
    const Cell& current =
        d.subItem >= 0 && size_t(d.subItem) < record.cells.size() ? record.cells[size_t(d.subItem)] : kAbsent;
    Cell cell = current;
    if (d.mask & kMaskText) {
        if (d.text) {
            const size_t length = strnlen(d.text, kMaxCellText + 1);
            cell.text.assign(d.text, CutAtCharacter(d.text, length, kMaxCellText));
            cell.hasText = true;
        }
        // No text given: the current text stays (or none).
    }
    if (d.mask & kMaskValue2)
        cell.value2 = d.value2;
    if (d.mask & kMaskImage)
        cell.image = d.image;
    if (d.mask & kMaskValue5)
        cell.value5 = d.value5;
    if (d.mask & kMaskStateImage)
        cell.stateImage = d.stateImage;
    if (d.mask & kMaskValue1)
        record.value1 = d.value1;
    if (d.mask & kMaskExtraHeight)
        record.extraHeight = d.extraHeight;
    if (d.mask & kMaskIndent)
        record.indent = d.indent;
    if (d.mask & kMaskData)
        record.data = d.data;
    if (d.mask & kMaskState)
        record.state = (record.state & kStateProtected) | (d.state & ~uint32_t(kStateProtected));
    WriteCell(record, d.subItem, cell);
}

int ListModel::SetItem(const ODLVITEM* d)
{
    if (!d || IsVirtual())
        return 0;
    if (d->subItem < 0 || d->subItem >= GetColumnCount())
        return 0;
    ItemInfo* record = StoredRecord(d->item);
    if (!record)
        return 0;
    WriteItem(*record, *d);
    if (m_host) {
        const int row = d->item == -1 ? -1 : ItemToDisplay(d->item);
        if (row != -2)
            m_host->InvalidateRows(row, row);
    }
    return 1;
}

int ListModel::GetItemText(int item, int column, char* buffer, int size)
{
    if (!buffer || size <= 0)
        return 0;
    buffer[0] = 0;
    ODLVITEM d = {};
    d.mask = kMaskText;
    d.item = item;
    d.subItem = column;
    d.text = buffer;
    d.textMax = size;
    if (!GetItem(&d) || !(d.mask & kMaskText))
        return 0;
    return int(strlen(buffer));
}

std::string ListModel::GetItemText(int item, int column)
{
    char buffer[kCellBuffer];
    const int n = GetItemText(item, column, buffer, sizeof buffer);
    return std::string(buffer, size_t(n));
}

template <class T>
T ListModel::GetCellField(int item, int column, uint32_t mask, T ODLVITEM::*field, T missing)
{
    ODLVITEM d = {};
    d.mask = mask;
    d.item = item;
    d.subItem = column;
    if (!GetItem(&d) || !(d.mask & mask))
        return missing;
    return d.*field;
}

template <class T>
int ListModel::SetCellField(int item, int column, uint32_t mask, T ODLVITEM::*field, T value)
{
    ODLVITEM d = {};
    d.mask = mask;
    d.item = item;
    d.subItem = column;
    d.*field = value;
    return SetItem(&d);
}

int ListModel::SetItemText(int item, int column, const char* text)
{
    return SetCellField(item, column, kMaskText, &ODLVITEM::text, const_cast<char*>(text));
}

int ListModel::GetItemImage(int item, int column)
{
    return GetCellField(item, column, kMaskImage, &ODLVITEM::image, -1);
}

int ListModel::SetItemImage(int item, int column, int image)
{
    return SetCellField(item, column, kMaskImage, &ODLVITEM::image, image);
}

int ListModel::GetItemStateImage(int item, int column)
{
    return GetCellField(item, column, kMaskStateImage, &ODLVITEM::stateImage, -1);
}

int ListModel::SetItemStateImage(int item, int column, int image)
{
    const int result = SetCellField(item, column, kMaskStateImage, &ODLVITEM::stateImage, image);
    if (result && m_host)
        m_host->RowCountChanged();
    return result;
}

uint32_t ListModel::GetItemData(int item)
{
    return GetCellField(item, 0, kMaskData, &ODLVITEM::data, 0u);
}

int ListModel::SetItemData(int item, uint32_t data)
{
    return SetCellField(item, 0, kMaskData, &ODLVITEM::data, data);
}

int ListModel::InsertItem(const char* text, int image, int stateImage, int value2)
{
    return InsertItemEx(GetItemCount(), text, image, stateImage, value2);
}

int ListModel::InsertItemEx(int index, const char* text, int image, int stateImage, int value2)
{
    ODLVITEM d = {};
    d.mask = kMaskText;
    d.item = index;
    d.text = const_cast<char*>(text);
    if (value2 >= 0) {
        d.mask |= kMaskValue2;
        d.value2 = value2;
    }
    if (image >= 0) {
        d.mask |= kMaskImage;
        d.image = image;
    }
    if (stateImage >= 0) {
        d.mask |= kMaskStateImage;
        d.stateImage = stateImage;
    }
    return InsertItem(&d);
}

int ListModel::InsertItem(const ODLVITEM* d)
{
    if (!d)
        return kFailed;
    if (m_style & (kStyleVirtual | kStyleTree))
        return kRefused;
    return InsertRecord(*d, IsListMode());
}

int ListModel::InsertItemFromPseudoRow()
{
    if (m_style & (kStyleVirtual | kStyleTree))
        return kRefused;
    ODLVITEM d = {};
    d.item = GetItemCount();
    const int item = InsertRecord(d, IsListMode());
    if (item < 0)
        return item;
    for (int column = 0; column < GetColumnCount(); ++column) {
        const Cell* cell = size_t(column) < m_pseudo.cells.size() ? &m_pseudo.cells[size_t(column)] : nullptr;
        if (cell && cell->hasText)
            SetItemText(item, column, cell->text.c_str());
    }
    return item;
}

int ListModel::InsertRecord(const ODLVITEM& desc, bool listDisplay)
{
    const int count = int(m_rows.size());
    const int item = desc.item;
    if (item < 0 || item == INT_MAX)
        return kFailed;
    try {
        ItemInfo record = NewRecord();
        if (item < count) {
            m_rows.insert(m_rows.begin() + item, std::move(record));
            // Tree rows after it moved up one.
            for (int i = item + 1; i <= count; ++i)
                if (TreeNode* node = m_rows[size_t(i)].node)
                    node->item = i;
        } else {
            // Rows between the end and the new one stay empty: their cells
            // read as absent.
            m_rows.resize(size_t(item) + 1);
            m_rows[size_t(item)] = std::move(record);
        }
        ODLVITEM d = desc;
        d.subItem = desc.subItem >= 0 && desc.subItem < GetColumnCount() ? desc.subItem : 0;
        d.mask &= ~uint32_t(kMaskState);
        if (GetColumnCount() > 0)
            WriteItem(m_rows[size_t(item)], d);
        else {
            ItemInfo& r = m_rows[size_t(item)];
            if (d.mask & kMaskValue1)
                r.value1 = d.value1;
            if (d.mask & kMaskExtraHeight)
                r.extraHeight = d.extraHeight;
            if (d.mask & kMaskIndent)
                r.indent = d.indent;
            if (d.mask & kMaskData)
                r.data = d.data;
        }
        if (desc.mask & kMaskState)
            m_rows[size_t(item)].state = desc.state & ~uint32_t(kStateProtected);
        if (listDisplay) {
            if (item < count) {
                for (int& entry : m_order)
                    if (entry >= item)
                        ++entry;
                m_order.insert(m_order.begin() + item, item);
            } else {
                // Every new row, the empty ones between included, gets its
                // display row at the end, in index order.
                for (int i = count; i <= item; ++i)
                    m_order.push_back(i);
            }
            m_orderChanged = true;
        }
    } catch (const std::bad_alloc&) {
        if (int(m_rows.size()) > count && item >= count)
            m_rows.resize(size_t(count));
        return kFailed;
    }
    if (item < count) {
        ShiftSelection(item, 1);
        if (listDisplay && m_focusRow >= item)
            ++m_focusRow;
    }
    if (m_host)
        m_host->RowCountChanged();
    return item;
}

int ListModel::DeleteItem(int item)
{
    if (m_style & (kStyleVirtual | kStyleTree))
        return kRefused;
    if (item < 0 || item >= int(m_rows.size()))
        return 0;
    // A row of the tree goes with its node (DeleteTreeItem).
    if (m_rows[size_t(item)].node)
        return 0;
    DeleteRecord(item);
    return 1;
}

void ListModel::DeleteRecord(int item)
{
    Notification n;
    n.code = kNotifyDeleting;
    n.node = reinterpret_cast<NodeHandle>(m_rows[size_t(item)].node);
    n.item = item;
    n.column = 0;
    n.value2 = m_rows[size_t(item)].data;
    SendNotify(n);
    // The parent may have changed the rows while it was told.
    if (item >= int(m_rows.size()))
        return;
    const bool inOrder = !IsTree();
    const int row = inOrder ? ItemToDisplay(item) : -2;
    Select(item, false);
    m_rows.erase(m_rows.begin() + item);
    for (int i = item; i < int(m_rows.size()); ++i)
        if (TreeNode* node = m_rows[size_t(i)].node)
            node->item = i;
    if (inOrder) {
        if (row >= 0)
            m_order.erase(m_order.begin() + row);
        for (int& entry : m_order)
            if (entry > item)
                --entry;
        m_orderChanged = true;
    }
    ShiftSelection(item + 1, -1);
    if (inOrder && row >= 0 && m_focusRow >= row) {
        m_focusRow = std::min(m_focusRow - 1, GetDisplayCount() - 1);
        SetFocusRowBit(m_focusRow);
    }
    if (m_host) {
        m_host->RowDeleted(row);
        m_host->RowCountChanged();
    }
}

int ListModel::DeleteAllItems()
{
    if (IsVirtual())
        return 0;
    while (m_root.firstChild)
        DeleteSubtree(m_root.firstChild);
    // Told in index order, each row while it still exists.
    for (int item = 0; item < int(m_rows.size()); ++item) {
        Notification n;
        n.code = kNotifyDeleting;
        n.item = item;
        n.column = 0;
        n.value2 = m_rows[size_t(item)].data;
        SendNotify(n);
    }
    for (ItemInfo& r : m_rows)
        if (r.node)
            r.node->item = -2;
    m_rows.clear();
    m_order.clear();
    m_orderChanged = true;
    m_selOrder.clear();
    m_selIndex.clear();
    m_focusRow = -2;
    if (m_host) {
        m_host->RowCountChanged();
        m_host->ScrollToTop();
    }
    return 1;
}

void ListModel::SetItemCount(int count)
{
    if (!IsVirtual())
        return;
    if (count < 0)
        count = 0;
    m_virtualCount = count;
    if (m_focusRow >= count)
        m_focusRow = count - 1;
    for (auto it = m_selOrder.begin(); it != m_selOrder.end();) {
        if (*it >= count) {
            m_selIndex.erase(*it);
            it = m_selOrder.erase(it);
        } else {
            ++it;
        }
    }
    for (CacheSlot& slot : m_cache)
        if (slot.row >= count)
            slot.row = -2;
    if (m_host) {
        m_host->InvalidateRows(-2, -2);
        m_host->RowCountChanged();
    }
}

uint32_t ListModel::GetItemState(int item)
{
    if (IsVirtual()) {
        // Focus and selection are the list's own; the other bits are what
        // the parent last said.
        uint32_t state = 0;
        if (item == -1)
            state = m_pseudoFilled ? m_pseudo.state : 0;
        else if (item >= 0 && item < m_virtualCount) {
            const CacheSlot& slot = m_cache[size_t(CacheSlotOf(item))];
            state = slot.row == item ? slot.record.state : 0;
        }
        state &= ~uint32_t(kStateFocused | kStateSelected);
        if (item >= -1 && item == m_focusRow)
            state |= kStateFocused;
        if (IsListed(item))
            state |= kStateSelected;
        return state;
    }
    const ItemInfo* record = StoredRecord(item);
    return record ? record->state : 0;
}

void ListModel::SetStateBits(int item, uint32_t value, uint32_t mask)
{
    if (IsVirtual()) {
        ItemInfo* record = nullptr;
        if (item == -1)
            record = m_pseudoFilled ? &m_pseudo : nullptr;
        else if (item >= 0) {
            CacheSlot& slot = m_cache[size_t(CacheSlotOf(item))];
            record = slot.row == item ? &slot.record : nullptr;
        }
        if (record)
            record->state = (record->state & ~mask) | (value & mask);
        return;
    }
    if (ItemInfo* record = StoredRecord(item))
        record->state = (record->state & ~mask) | (value & mask);
}

int ListModel::SetItemState(int displayRow, uint32_t value, uint32_t mask)
{
    if (displayRow < -1 || displayRow >= GetDisplayCount())
        return 0;
    const int item = DisplayToItem(displayRow);
    if (item < -1)
        return 0;
    // The selection list follows bit 2 and the focus bit 1.
    if (mask & kStateSelected)
        Select(item, (value & kStateSelected) != 0);
    if (mask & kStateFocused) {
        if (value & kStateFocused) {
            if (m_focusRow != displayRow) {
                ClearFocusRow();
                m_focusRow = displayRow;
            }
        } else if (m_focusRow == displayRow) {
            m_focusRow = -2;
        }
    }
    SetStateBits(item, value, mask);
    if (IsVirtual() || m_useCache)
        CacheInvalidate(item);
    if (m_host)
        m_host->InvalidateRows(displayRow, displayRow);
    return 1;
}

uint32_t ListModel::GetDisplayedItemState(int displayRow)
{
    if (displayRow < -1 || displayRow >= GetDisplayCount())
        return 0;
    return GetItemState(DisplayToItem(displayRow));
}

// ---- Columns -------------------------------------------------------------------------

const ColumnInfo* ListModel::GetColumn(int column) const
{
    if (column < 0 || column >= int(m_columns.size()))
        return nullptr;
    return &m_columns[size_t(column)];
}

int ListModel::InsertColumn(int index, const ColumnInfo& info)
{
    if (index < 0 || index == INT_MAX)
        return kFailed;
    try {
        ColumnInfo record = info;
        if (record.width < 0)
            record.width = kDefaultColumnWidth;
        if (!(record.flags & kColumnHasImage))
            record.image = 0;
        const int count = int(m_columns.size());
        int at = index;
        if (index < count) {
            m_columns.insert(m_columns.begin() + index, record);
        } else {
            m_columns.resize(size_t(index) + 1);
            m_columns[size_t(index)] = record;
            at = count;  // cells of the columns between are inserted too
        }
        const size_t added = m_columns.size() - size_t(count);
        for (int& column : m_shown)
            if (column >= index)
                ++column;
        if (m_sortColumn >= index)
            ++m_sortColumn;
        auto widen = [&](ItemInfo& r) {
            if (r.cells.size() >= size_t(at))
                r.cells.insert(r.cells.begin() + at, added, Cell());
            else
                r.cells.resize(m_columns.size());
        };
        // Rows stored from before a switch to virtual mode keep step too.
        widen(m_pseudo);
        for (ItemInfo& r : m_rows)
            widen(r);
        for (CacheSlot& slot : m_cache)
            slot.row = -2;
    } catch (const std::bad_alloc&) {
        return kFailed;
    }
    return index;
}

int ListModel::SetColumn(int index, const ColumnInfo& info)
{
    if (index < 0 || index >= int(m_columns.size()))
        return 0;
    ColumnInfo& record = m_columns[size_t(index)];
    // The width goes through SetColumnWidth so the total follows it.
    const int width = info.width;
    const int oldWidth = record.width;
    record = info;
    record.width = oldWidth;
    if (!(record.flags & kColumnHasImage))
        record.image = 0;
    return SetColumnWidth(index, width);
}

int ListModel::DeleteColumn(int index)
{
    if (index < 0 || index >= int(m_columns.size()))
        return 0;
    HideColumn(index);
    m_columns.erase(m_columns.begin() + index);
    for (int& column : m_shown)
        if (column > index)
            --column;
    if (m_sortColumn == index)
        m_sortColumn = -1;
    else if (m_sortColumn > index)
        --m_sortColumn;
    auto narrow = [&](ItemInfo& r) {
        if (size_t(index) < r.cells.size())
            r.cells.erase(r.cells.begin() + index);
    };
    narrow(m_pseudo);
    for (ItemInfo& r : m_rows)
        narrow(r);
    for (CacheSlot& slot : m_cache)
        slot.row = -2;
    return 1;
}

void ListModel::DeleteAllColumns()
{
    while (!m_columns.empty())
        DeleteColumn(0);
}

int ListModel::GetColumnAt(int position) const
{
    if (position < 0 || position >= int(m_shown.size()))
        return -1;
    return m_shown[size_t(position)];
}

int ListModel::GetColumnPosition(int column) const
{
    for (size_t i = 0; i < m_shown.size(); ++i)
        if (m_shown[i] == column)
            return int(i);
    return -1;
}

int ListModel::GetColumnWidth(int column) const
{
    const ColumnInfo* c = GetColumn(column);
    if (!c)
        return 0;
    int width = c->width;
    if (m_marginOn && GetColumnAt(0) == column)
        width -= m_margin;
    return width;
}

int ListModel::ApplyColumnWidth(int column, int width)
{
    ColumnInfo& c = m_columns[size_t(column)];
    if (width < 0)
        width = kDefaultColumnWidth;
    width = std::max(width, c.minWidth);
    if (c.maxWidth > 0)
        width = std::min(width, c.maxWidth);
    const int old = c.width;
    c.width = width;
    if (IsColumnShown(column))
        m_totalWidth += width - old;
    return 1;
}

int ListModel::SetColumnWidth(int column, int width)
{
    if (column < 0 || column >= int(m_columns.size()))
        return 0;
    MarginOff();
    const int result = ApplyColumnWidth(column, width);
    MarginOn();
    if (m_host && IsColumnShown(column))
        m_host->ColumnsChanged();
    return result;
}

void ListModel::MarginOn()
{
    if (m_marginOn || m_shown.empty() || m_margin < 1)
        return;
    ColumnInfo& c = m_columns[size_t(m_shown[0])];
    c.minWidth += m_margin;
    if (c.maxWidth >= 1)
        c.maxWidth += m_margin;
    ApplyColumnWidth(m_shown[0], c.width + m_margin);
    m_marginOn = true;
}

void ListModel::MarginOff()
{
    if (!m_marginOn || m_margin < 0)
        return;
    m_marginOn = false;
    if (m_shown.empty())
        return;
    ColumnInfo& c = m_columns[size_t(m_shown[0])];
    if (c.maxWidth >= 1)
        c.maxWidth -= m_margin;
    c.minWidth -= m_margin;
    int width = c.width - m_margin;
    if (c.minWidth < 1 && width < 20)
        width = 20;
    ApplyColumnWidth(m_shown[0], width);
}

void ListModel::SetLeftMargin(int pixels)
{
    MarginOff();
    m_margin = pixels;
    MarginOn();
    if (m_host)
        m_host->ColumnsChanged();
}

void ListModel::ClampFocusColumn()
{
    if (m_shown.empty())
        m_focusColumn = -1;
    else if (m_focusColumn >= int(m_shown.size()))
        m_focusColumn = int(m_shown.size()) - 1;
}

int ListModel::ShowColumn(int column, int position)
{
    if (column < 0 || column >= int(m_columns.size()) || IsColumnShown(column))
        return -1;
    MarginOff();
    const int focusColumn = GetColumnAt(m_focusColumn);
    const int index = int(m_shown.size());  // the header item goes at the end
    position = std::max(0, std::min(position, int(m_shown.size())));
    m_shown.insert(m_shown.begin() + position, column);
    m_totalWidth += m_columns[size_t(column)].width;
    if (focusColumn >= 0)
        m_focusColumn = GetColumnPosition(focusColumn);
    MarginOn();
    if (m_host)
        m_host->ColumnsChanged();
    return index;
}

int ListModel::HideColumn(int column)
{
    const int position = GetColumnPosition(column);
    if (position < 0)
        return 0;
    MarginOff();
    if (m_sortColumn == column)
        m_sortColumn = -1;
    const int focusColumn = GetColumnAt(m_focusColumn);
    m_totalWidth -= m_columns[size_t(column)].width;
    m_shown.erase(m_shown.begin() + position);
    m_focusColumn = focusColumn >= 0 ? GetColumnPosition(focusColumn) : m_focusColumn;
    ClampFocusColumn();
    MarginOn();
    if (m_host)
        m_host->ColumnsChanged();
    return 1;
}

int ListModel::HideAllColumns()
{
    for (int column = 0; column < int(m_columns.size()); ++column)
        if (IsColumnShown(column) && !HideColumn(column))
            return 0;
    return 1;
}

bool ListModel::SetShownOrder(const std::vector<int>& columns)
{
    if (columns.size() != m_shown.size() || !std::is_permutation(columns.begin(), columns.end(), m_shown.begin()))
        return false;
    MarginOff();
    const int focusColumn = GetColumnAt(m_focusColumn);
    m_shown = columns;
    if (focusColumn >= 0)
        m_focusColumn = GetColumnPosition(focusColumn);
    MarginOn();
    if (m_host)
        m_host->ColumnsChanged();
    return true;
}

int ListModel::GetSortColumn(int* direction) const
{
    if (direction)
        *direction = m_sortColumn >= 0 ? m_sortDirection : 0;
    return m_sortColumn;
}

void ListModel::SetSortMark(int column, int direction)
{
    m_sortColumn = column >= 0 && column < GetColumnCount() ? column : -1;
    m_sortDirection = direction;
}

std::string FormatColumnState(const ColumnState& state)
{
    char number[32];
    snprintf(number, sizeof number, "(%d,%d)", state.count, int(state.shown.size()));
    std::string text = number;
    for (int width : state.widths) {
        snprintf(number, sizeof number, " %d", width);
        text += number;
    }
    for (int column : state.shown) {
        snprintf(number, sizeof number, " %d", column);
        text += number;
    }
    return text;
}

bool ParseColumnState(const char* text, ColumnState* state)
{
    if (!text || !state)
        return false;
    const char* p = text;
    auto number = [&p](int* out) {
        // One separating character, then a decimal number.
        if (!*p)
            return false;
        ++p;
        while (*p == ' ')
            ++p;
        if (!((*p >= '0' && *p <= '9') || *p == '-'))
            return false;
        char* end = nullptr;
        const long long v = strtoll(p, &end, 10);
        if (end == p || v < INT_MIN || v > INT_MAX)
            return false;
        *out = int(v);
        p = end;
        return true;
    };
    if (*p != '(')
        return false;
    int count = 0, shown = 0;
    if (!number(&count) || *p != ',' || !number(&shown) || *p != ')')
        return false;
    if (count < 0 || shown < 1 || shown > count || count > 0x10000)
        return false;
    ColumnState s;
    s.count = count;
    for (int i = 0; i < count; ++i) {
        int width = 0;
        if (!number(&width) || width < 0)
            return false;
        s.widths.push_back(width);
    }
    std::vector<bool> seen(size_t(count), false);
    for (int i = 0; i < shown; ++i) {
        int column = 0;
        if (!number(&column) || column < 0 || column >= count || seen[size_t(column)])
            return false;
        seen[size_t(column)] = true;
        s.shown.push_back(column);
    }
    while (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n')
        ++p;
    if (*p)
        return false;
    *state = s;
    return true;
}

std::string ListModel::SaveColumnState()
{
    // The widths without the margin, read rather than taken off and put
    // back: taking it off may widen a narrow column, and saving changes
    // nothing.
    ColumnState state;
    state.count = GetColumnCount();
    for (int column = 0; column < GetColumnCount(); ++column)
        state.widths.push_back(std::max(0, GetColumnWidth(column)));
    state.shown = m_shown;
    return FormatColumnState(state);
}

int ListModel::LoadColumnState(const char* text)
{
    ColumnState state;
    if (!text || !*text || !ParseColumnState(text, &state) || state.count != GetColumnCount())
        return 0;
    MarginOff();
    for (int column = 0; column < state.count; ++column)
        ApplyColumnWidth(column, state.widths[size_t(column)]);
    MarginOn();
    for (size_t position = 0; position < state.shown.size(); ++position)
        ShowColumn(state.shown[position], int(position));
    if (m_host)
        m_host->ColumnsChanged();
    return 1;
}

// ---- Sorting, searching, export --------------------------------------------------------

void ListModel::SetCompareFunc(CompareFunc func, intptr_t value)
{
    m_compare = func;
    m_compareValue = value;
}

int ListModel::CompareItems(int item1, int column1, int item2, int column2)
{
    if (m_compare)
        return m_compare(item1, column1, item2, column2, m_compareValue);
    static const Cell kAbsent;
    const Cell* a = CellOf(item1, column1);
    Cell copy;
    if (a && IsVirtual()) {
        copy = *a;  // the second read may reuse the slot
        a = &copy;
    }
    const Cell& a1 = a ? *a : kAbsent;
    const Cell* b = CellOf(item2, column2);
    const Cell& b1 = b ? *b : kAbsent;
    if (!a1.hasText && !b1.hasText) {
        if (a1.stateImage >= 0 || b1.stateImage >= 0)
            return CompareInts(a1.stateImage, b1.stateImage);
        return CompareInts(a1.image, b1.image);
    }
    return CompareText(a1.hasText ? a1.text.c_str() : "", b1.hasText ? b1.text.c_str() : "");
}

int ListModel::CompareDescriptors(const ODLVITEM* a, const ODLVITEM* b) const
{
    if (!a || !b)
        return -1;
    const char* ta = (a->mask & kMaskText) && a->text ? a->text : "";
    const char* tb = (b->mask & kMaskText) && b->text ? b->text : "";
    if (!*ta && !*tb) {
        if ((a->mask & kMaskStateImage) || (b->mask & kMaskStateImage))
            return CompareInts(a->stateImage, b->stateImage);
        return CompareInts(a->image, b->image);
    }
    return CompareText(ta, tb);
}

void ListModel::SortDisplayRange(int column, int first, int last, bool ascending)
{
    first = std::max(first, 0);
    last = std::min(last, int(m_order.size()) - 1);
    // Hoare's partition against a copy of the pivot's item; the smaller
    // part is sorted by recursion, the larger by the loop, so the depth
    // stays logarithmic.
    while (first < last) {
        const int pivot = m_order[size_t(first + (last - first) / 2)];
        int i = first, j = last;
        while (i <= j) {
            // The bounds hold even against a compare function that
            // contradicts itself.
            const int sign = ascending ? 1 : -1;
            while (i < last && sign * CompareItems(m_order[size_t(i)], column, pivot, column) < 0)
                ++i;
            while (j > first && sign * CompareItems(m_order[size_t(j)], column, pivot, column) > 0)
                --j;
            if (i <= j) {
                if (i != j)
                    std::swap(m_order[size_t(i)], m_order[size_t(j)]);
                ++i;
                --j;
            }
        }
        if (j - first < last - i) {
            SortDisplayRange(column, first, j, ascending);
            first = i;
        } else {
            SortDisplayRange(column, i, last, ascending);
            last = j;
        }
    }
    m_orderChanged = true;
}

int ListModel::CompareNodes(TreeNode* a, TreeNode* b)
{
    return CompareItems(a->item, a->mainColumn >= 0 ? a->mainColumn : 0, b->item,
                        b->mainColumn >= 0 ? b->mainColumn : 0);
}

void ListModel::SortChildren(TreeNode* parent, int column, bool ascending, bool recursive)
{
    std::vector<TreeNode*> children;
    for (TreeNode* c = parent->firstChild; c; c = c->nextSibling)
        children.push_back(c);
    if (recursive)
        for (TreeNode* c : children)
            if (c->firstChild)
                SortChildren(c, column, ascending, true);
    // Each child goes after the ones it does not sort before.
    std::stable_sort(children.begin(), children.end(), [&](TreeNode* a, TreeNode* b) {
        const int r = CompareItems(a->item, column, b->item, column);
        return ascending ? r < 0 : r > 0;
    });
    TreeNode* next = nullptr;
    for (size_t i = children.size(); i-- > 0;) {
        children[i]->nextSibling = next;
        next = children[i];
    }
    parent->firstChild = next;
}

void ListModel::SortSiblings(int column, NodeHandle node, bool ascending, bool recursive)
{
    TreeNode* parent = node == kTreeRoot ? &m_root : NodeOf(node);
    if (parent)
        SortChildren(parent, column, ascending, recursive);
}

int ListModel::SortItems(int column, int direction)
{
    if (IsVirtual() || !IsColumnShown(column) || GetItemCount() == 0)
        return 0;
    SetSortMark(column, direction);
    const bool ascending = direction != 0;
    if (m_style & kStyleTree) {
        TreeNode* focused = FocusedNode();
        ClearFocusRow();
        SortChildren(&m_root, column, ascending, true);
        RebuildTreeOrder();
        Refocus(focused);
    } else {
        const int focusItem = m_focusRow >= 0 ? DisplayToItem(m_focusRow) : -2;
        SortDisplayRange(column, 0, GetDisplayCount() - 1, ascending);
        m_orderChanged = true;
        if (focusItem >= 0)
            m_focusRow = ItemToDisplay(focusItem);
    }
    if (m_host)
        m_host->InvalidateRows(-2, -2);
    return 1;
}

int ListModel::SortByHeader()
{
    int direction = 0;
    const int column = GetSortColumn(&direction);
    if (column < 0)
        return 0;
    return SortItems(column, direction);
}

int ListModel::FindItem(const ODFindInfo* info, int column, int start)
{
    if (!info)
        return -1;
    if (IsVirtual())
        return 0;
    const int count = GetItemCount();
    const bool backwards = (info->flags & kFindBackwards) != 0;
    const bool wrap = (info->flags & kFindWrap) != 0;
    // A start outside -2..count is never met again: nothing to find.
    if (start < -2 || start > count)
        return kNoRow;
    const int step = backwards ? -1 : 1;
    const size_t textLength = info->text ? strlen(info->text) : 0;
    int row = start;
    // Every row of the cycle -1..count-1 once at most.
    for (int looked = 0; looked <= count + 1; ++looked) {
        row += step;
        if (row > count - 1 || row < -1) {
            if (!wrap)
                return kNoRow;
            row = backwards ? count - 1 : -1;
        }
        if (row == start)
            return kNoRow;
        if (row < 0)
            continue;  // the pseudo-row is passed through, never found
        ODLVITEM d = {};
        char text[kCellBuffer] = {};
        d.mask = kMaskText | kMaskImage | kMaskStateImage | kMaskData;
        d.item = row;
        d.subItem = column;
        d.text = text;
        d.textMax = sizeof text;
        if (!GetItem(&d))
            continue;
        bool match = true;
        if (info->flags & kFindText) {
            if (!(d.mask & kMaskText) || !info->text)
                match = false;
            else if (info->flags & kFindPrefix)
                match = strncmp(text, info->text, textLength) == 0;
            else
                match = strcmp(text, info->text) == 0;
        }
        if (match && (info->flags & kFindImage))
            match = (d.mask & kMaskImage) && d.image == info->image;
        if (match && (info->flags & kFindStateImage))
            match = (d.mask & kMaskStateImage) && d.stateImage == info->stateImage;
        if (match && (info->flags & kFindData))
            match = d.data == info->data;
        if (match)
            return row;
    }
    return kNoRow;
}

void ListModel::GetRowText(std::string& result, int item, char separator)
{
    for (size_t position = 0; position < m_shown.size(); ++position) {
        const int column = m_shown[position];
        ODLVITEM d = {};
        char text[kCellBuffer] = {};
        d.mask = kMaskText | kMaskImage | kMaskStateImage;
        d.item = item;
        d.subItem = column;
        d.text = text;
        d.textMax = sizeof text;
        const bool read = GetItem(&d) != 0;
        if (read && position == 0 && (m_style & kStyleTree) && d.indent >= 0) {
            for (int i = 1; i < d.indent; ++i)
                result += g_indent;
            const TreeNode* node = item >= 0 && item < int(m_rows.size()) ? m_rows[size_t(item)].node : nullptr;
            result += !node || !node->firstChild ? ' ' : (node->expanded ? '-' : '+');
        }
        if (read && (d.mask & kMaskText)) {
            for (char* c = text; *c; ++c)
                if (*c == separator)
                    *c = ' ';
            result += text;
        } else if (read && (d.mask & kMaskImage)) {
            result += std::to_string(d.image);
        } else if (read && (d.mask & kMaskStateImage)) {
            result += std::to_string(d.stateImage);
        }
        result += position + 1 < m_shown.size() ? separator : '\n';
    }
}

std::string ListModel::GetSelectionText()
{
    std::string text;
    for (int row : GetSelectedRows())
        GetRowText(text, DisplayToItem(row), g_copySeparator);
    return text;
}

// ---- Display order and selection ----------------------------------------------------------

int ListModel::GetDisplayCount() const
{
    return IsVirtual() ? m_virtualCount : int(m_order.size());
}

int ListModel::DisplayToItem(int row) const
{
    if (row == -1 || row == -2)
        return row;
    if (IsVirtual())
        return row >= 0 && row < m_virtualCount ? row : -2;
    if (row < 0 || row >= int(m_order.size()))
        return -2;
    return m_order[size_t(row)];
}

int ListModel::ItemToDisplay(int item)
{
    if (item == -1)
        return -1;
    if (IsVirtual())
        return item >= 0 && item < m_virtualCount ? item : -2;
    if (item < 0 || m_order.empty())
        return -2;
    if (m_orderChanged) {
        m_reverse.assign(m_rows.size(), -2);
        for (size_t r = 0; r < m_order.size(); ++r)
            if (m_order[r] >= 0 && size_t(m_order[r]) < m_reverse.size())
                m_reverse[size_t(m_order[r])] = int(r);
        m_orderChanged = false;
    }
    return size_t(item) < m_reverse.size() ? m_reverse[size_t(item)] : -2;
}

int ListModel::SetItemOrder(const std::vector<int>& order)
{
    if (!IsListMode() || order.size() != m_order.size())
        return 0;
    // Only a rearrangement of the rows shown.
    if (!std::is_permutation(order.begin(), order.end(), m_order.begin()))
        return 0;
    const int focusItem = DisplayToItem(m_focusRow);
    m_order = order;
    m_orderChanged = true;
    if (focusItem >= 0)
        m_focusRow = ItemToDisplay(focusItem);
    if (m_host)
        m_host->InvalidateRows(-2, -2);
    return 1;
}

int ListModel::MoveItemUp(int row)
{
    if (IsVirtual() || row < 1 || row >= int(m_order.size()))
        return 0;
    std::swap(m_order[size_t(row)], m_order[size_t(row - 1)]);
    if (m_focusRow == row)
        m_focusRow = row - 1;
    else if (m_focusRow == row - 1)
        m_focusRow = row;
    m_orderChanged = true;
    if (m_host)
        m_host->InvalidateRows(-2, -2);
    return 1;
}

int ListModel::MoveItemDown(int row)
{
    if (IsVirtual() || row < 0 || row >= int(m_order.size()) - 1)
        return 0;
    return MoveItemUp(row + 1);
}

void ListModel::Select(int item, bool on)
{
    if (on) {
        if (!IsListed(item)) {
            m_selOrder.push_back(item);
            m_selIndex[item] = std::prev(m_selOrder.end());
        }
        SetStateBits(item, kStateSelected, kStateSelected);
    } else {
        auto it = m_selIndex.find(item);
        if (it != m_selIndex.end()) {
            m_selOrder.erase(it->second);
            m_selIndex.erase(it);
        }
        SetStateBits(item, 0, kStateSelected);
    }
}

void ListModel::ShiftSelection(int from, int by)
{
    m_selIndex.clear();
    for (auto it = m_selOrder.begin(); it != m_selOrder.end(); ++it) {
        if (*it >= from)
            *it += by;
        m_selIndex[*it] = it;
    }
}

void ListModel::SetFocusRowBit(int row)
{
    if (row < -1)
        return;
    const int item = DisplayToItem(row);
    if (item >= -1)
        SetStateBits(item, kStateFocused, kStateFocused);
}

void ListModel::ClearFocusRow()
{
    if (m_focusRow >= -1) {
        const int item = DisplayToItem(m_focusRow);
        if (item >= -1)
            SetStateBits(item, 0, kStateFocused);
        if (m_host)
            m_host->InvalidateRows(m_focusRow, m_focusRow);
    }
    m_focusRow = -2;
}

void ListModel::SelectRange(int first, int last, bool select, bool extend, bool toggle, bool notify)
{
    const int count = GetDisplayCount();
    if (first < -1 || first >= count)
        return;
    if ((m_style & kStyleSingleSel) && select) {
        ClearSelection();
        extend = false;
        if (m_host)
            m_host->InvalidateRows(-2, -2);
    }
    if (m_focusRow != -2 && m_focusRow != first)
        ClearFocusRow();
    m_focusRow = first;
    SetFocusRowBit(first);
    if (first > last)
        std::swap(first, last);
    first = std::max(first, -1);
    last = std::min(last, count - 1);
    if ((m_style & kStyleSingleSel) && select)
        first = last = m_focusRow;  // one row at most: the focus row
    if (select) {
        for (int row = first; row <= last; ++row) {
            const int item = DisplayToItem(row);
            if (item < -1)
                continue;
            const uint32_t old = GetItemState(item);
            const uint32_t now = toggle ? old ^ kStateSelected : old | kStateSelected;
            if (now == old)
                continue;
            Notification n;
            n.node = GetItemNode(item);
            n.item = item;
            n.column = -1;
            n.value = now;
            if (notify) {
                n.code = kNotifySelChanging;
                if (SendNotify(n) != 0)
                    continue;
            }
            Select(item, (now & kStateSelected) != 0);
            if (notify) {
                n.code = kNotifySelChanged;
                SendNotify(n);
            }
        }
    }
    if (m_host) {
        if (select)
            m_host->InvalidateRows(first, last);
        else
            m_host->InvalidateRows(m_focusRow, m_focusRow);
    }
    if (select && !extend) {
        const std::vector<int> listed(m_selOrder.begin(), m_selOrder.end());
        for (int item : listed) {
            const int row = ItemToDisplay(item);
            if (row >= first && row <= last)
                continue;
            const uint32_t old = GetItemState(item);
            if (!(old & kStateSelected))
                continue;
            Notification n;
            n.node = GetItemNode(item);
            n.item = item;
            n.column = -1;
            n.value = old & ~uint32_t(kStateSelected);
            if (notify) {
                n.code = kNotifySelChanging;
                if (SendNotify(n) != 0)
                    continue;
            }
            Select(item, false);
            if (row != -2 && m_host)
                m_host->InvalidateRows(row, row);
            if (notify) {
                n.code = kNotifySelChanged;
                SendNotify(n);
            }
        }
    }
}

void ListModel::SelectItem(int item, bool extend)
{
    const int row = ItemToDisplay(item);
    if (row >= -1)
        SelectRange(row, row, true, extend, false, false);
}

void ListModel::SelectItems(const int* items, int count, bool extend)
{
    if (!items)
        return;
    for (int i = 0; i < count; ++i)
        SelectItem(items[i], i == 0 ? extend : true);
}

void ListModel::SelectNode(NodeHandle node, bool extend)
{
    if (TreeNode* n = NodeOf(node))
        SelectItem(n->item, extend);
}

void ListModel::SelectNodes(const NodeHandle* nodes, int count, bool extend)
{
    if (!nodes)
        return;
    for (int i = 0; i < count; ++i)
        SelectNode(nodes[i], i == 0 ? extend : true);
}

void ListModel::InvertSelection()
{
    const int count = GetDisplayCount();
    if (count == 0)
        return;
    // The first call moves the focus to row 0; the second puts it back.
    const int focus = m_focusRow;
    SelectRange(0, count - 1, true, true, true, false);
    if (focus >= -1)
        SelectRange(focus, focus, false, false, false, false);
    else
        ClearFocusRow();
}

void ListModel::SelectAll()
{
    if (GetDisplayCount() == 0)
        return;
    ClearSelection();
    InvertSelection();
}

void ListModel::ClearSelection()
{
    const std::vector<int> listed(m_selOrder.begin(), m_selOrder.end());
    for (int item : listed) {
        SetStateBits(item, 0, kStateSelected);
        if (m_host) {
            const int row = ItemToDisplay(item);
            if (row != -2)
                m_host->InvalidateRows(row, row);
        }
    }
    m_selOrder.clear();
    m_selIndex.clear();
}

void ListModel::SelectByData(int column, uint32_t limit, bool extend)
{
    (void)column;
    if (!extend)
        ClearSelection();
    for (int row = 0; row < GetDisplayCount(); ++row)
        if (GetItemData(DisplayToItem(row)) <= limit)
            SelectRange(row, row, true, true, false, false);
}

void ListModel::SelectByPattern(int column, const char* pattern, bool extend)
{
    if (!extend)
        ClearSelection();
    for (int row = 0; row < GetDisplayCount(); ++row)
        if (WildcardMatch(GetItemText(DisplayToItem(row), column).c_str(), pattern))
            SelectRange(row, row, true, true, false, false);
}

int ListModel::GetNextSelected(int item)
{
    const int count = GetItemCount();
    for (int i = std::max(item + 1, -1); i < count; ++i)
        if (GetItemState(i) & kStateSelected)
            return i;
    return -2;
}

int ListModel::GetFirstSelected()
{
    return GetNextSelected(-2);
}

int ListModel::GetSelectedItems(int* buffer, int size) const
{
    std::vector<int> items(m_selOrder.begin(), m_selOrder.end());
    std::sort(items.begin(), items.end());
    if (buffer)
        for (int i = 0; i < size && i < int(items.size()); ++i)
            buffer[i] = items[size_t(i)];
    return int(items.size());
}

std::vector<int> ListModel::GetSelectedRows()
{
    std::vector<int> rows;
    for (int item : m_selOrder) {
        const int row = ItemToDisplay(item);
        if (row != -2)
            rows.push_back(row);
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

int ListModel::SetFocusCell(int row, int position)
{
    const int column = GetColumnAt(position);
    if (column >= 0 && (m_columns[size_t(column)].flags & kColumnNoFocus))
        return 0;
    if (row < -2 || row >= GetDisplayCount() || position < -1 || position >= int(m_shown.size()))
        return 0;
    if (m_focusRow >= -1 && m_focusRow != row)
        ClearFocusRow();
    m_focusColumn = position;
    m_focusRow = row;
    if (row >= -1) {
        SetFocusRowBit(row);
        if (m_host)
            m_host->InvalidateRows(row, row);
    }
    return 1;
}

void ListModel::GetFocusCell(int* row, int* position) const
{
    if (row)
        *row = m_focusRow;
    if (position)
        *position = m_focusColumn;
}

// ---- Tree ----------------------------------------------------------------------------

TreeNode* ListModel::NodeOf(NodeHandle handle) const
{
    if (handle == kTreeRoot)
        return const_cast<TreeNode*>(&m_root);
    TreeNode* node = reinterpret_cast<TreeNode*>(handle);
    return m_nodes.count(node) ? node : nullptr;
}

NodeHandle ListModel::GetItemNode(int item) const
{
    if (item < 0 || item >= int(m_rows.size()) || IsVirtual())
        return 0;
    return reinterpret_cast<NodeHandle>(m_rows[size_t(item)].node);
}

TreeNode* ListModel::FocusedNode()
{
    const int item = DisplayToItem(m_focusRow);
    if (item < 0 || item >= int(m_rows.size()))
        return nullptr;
    return m_rows[size_t(item)].node;
}

void ListModel::AppendSubtree(TreeNode* parent)
{
    // Depth first without recursion: a deep tree cannot exhaust the stack.
    std::vector<TreeNode*> stack;
    for (TreeNode* c = parent->firstChild; c; c = c->nextSibling)
        stack.push_back(c);
    std::reverse(stack.begin(), stack.end());
    while (!stack.empty()) {
        TreeNode* node = stack.back();
        stack.pop_back();
        if (node->item >= 0 && node->item < int(m_rows.size())) {
            m_order.push_back(node->item);
            ItemInfo& r = m_rows[size_t(node->item)];
            r.indent = node->level;
            r.state &= ~uint32_t(kStateCollapsed | kStateExpanded);
            if (node->firstChild)
                r.state |= node->expanded ? kStateExpanded : kStateCollapsed;
        }
        if (node->expanded) {
            const size_t at = stack.size();
            for (TreeNode* c = node->firstChild; c; c = c->nextSibling)
                stack.push_back(c);
            std::reverse(stack.begin() + long(at), stack.end());
        }
    }
}

void ListModel::RebuildTreeOrder()
{
    m_order.clear();
    // Nodes below a collapsed one keep their marks too.
    for (TreeNode* node : m_nodes)
        if (node->item >= 0 && node->item < int(m_rows.size())) {
            ItemInfo& r = m_rows[size_t(node->item)];
            r.state &= ~uint32_t(kStateCollapsed | kStateExpanded);
            if (node->firstChild)
                r.state |= node->expanded ? kStateExpanded : kStateCollapsed;
        }
    AppendSubtree(&m_root);
    m_orderChanged = true;
}

void ListModel::Refocus(TreeNode* node)
{
    if (!node) {
        m_focusRow = -1;
        SetFocusRowBit(-1);
        return;
    }
    const int row = ItemToDisplay(node->item);
    if (row < 0) {
        m_focusRow = -2;
        if (m_host)
            m_host->ScrollToTop();
        return;
    }
    m_focusRow = row;
    SetFocusRowBit(row);
    if (m_host)
        m_host->KeepInView(row);
}

NodeHandle ListModel::InsertTreeItem(const ODLVITEM* desc, NodeHandle parentHandle, NodeHandle insertAfter,
                                     int mainColumn)
{
    if (!(m_style & kStyleTree) || !desc)
        return 0;
    TreeNode* parent = NodeOf(parentHandle);
    if (!parent)
        return 0;
    TreeNode* focused = FocusedNode();
    ClearFocusRow();
    TreeNode* node = new (std::nothrow) TreeNode;
    if (!node) {
        Refocus(focused);
        return 0;
    }
    ODLVITEM d = *desc;
    d.item = int(m_rows.size());
    d.subItem = 0;
    const int item = InsertRecord(d, false);
    if (item < 0) {
        delete node;
        Refocus(focused);
        return 0;
    }
    m_nodes.insert(node);
    node->item = item;
    node->mainColumn = mainColumn;
    node->parent = parent;
    node->level = parent == &m_root ? 1 : parent->level + 1;
    TreeNode* after = nullptr;  // null: first child
    if (parent->firstChild) {
        if (insertAfter == kInsertFirst) {
            after = nullptr;
        } else if (insertAfter == kInsertSorted) {
            // Before the first child it does not sort after: the newest of
            // equal keys comes first.
            for (TreeNode* c = parent->firstChild; c; c = c->nextSibling) {
                if (CompareNodes(node, c) <= 0)
                    break;
                after = c;
            }
        } else {
            TreeNode* sibling = NodeOf(insertAfter);
            if (sibling && sibling != &m_root && sibling->parent == parent) {
                after = sibling;
            } else {
                // The last child (asked for, or an unknown sibling).
                for (after = parent->firstChild; after->nextSibling; after = after->nextSibling) {
                }
            }
        }
    }
    if (after) {
        node->nextSibling = after->nextSibling;
        after->nextSibling = node;
    } else {
        node->nextSibling = parent->firstChild;
        parent->firstChild = node;
    }
    ItemInfo& r = m_rows[size_t(item)];
    r.node = node;
    r.indent = node->level;
    RebuildTreeOrder();
    Refocus(focused);
    return reinterpret_cast<NodeHandle>(node);
}

void ListModel::Unlink(TreeNode* node)
{
    TreeNode* parent = node->parent;
    if (!parent)
        return;
    if (parent->firstChild == node) {
        parent->firstChild = node->nextSibling;
    } else {
        for (TreeNode* c = parent->firstChild; c; c = c->nextSibling)
            if (c->nextSibling == node) {
                c->nextSibling = node->nextSibling;
                break;
            }
    }
    node->parent = nullptr;
    node->nextSibling = nullptr;
}

void ListModel::FreeNode(TreeNode* node)
{
    m_nodes.erase(node);
    delete node;
}

void ListModel::DeleteSubtree(TreeNode* top)
{
    // Children first, depth first, each row told as it goes.
    while (TreeNode* child = top->firstChild) {
        TreeNode* node = child;
        while (node->firstChild)
            node = node->firstChild;
        Unlink(node);
        if (node->item >= 0 && node->item < int(m_rows.size())) {
            m_rows[size_t(node->item)].node = nullptr;
            DeleteRecord(node->item);
        }
        FreeNode(node);
    }
    Unlink(top);
    if (top->item >= 0 && top->item < int(m_rows.size())) {
        m_rows[size_t(top->item)].node = nullptr;
        DeleteRecord(top->item);
    }
    FreeNode(top);
}

int ListModel::DeleteTreeItem(NodeHandle handle)
{
    if (!(m_style & kStyleTree))
        return 0;
    TreeNode* node = NodeOf(handle);
    if (!node || node == &m_root)
        return 0;
    TreeNode* focused = FocusedNode();
    ClearFocusRow();
    bool inside = false;
    for (TreeNode* n = focused; n; n = n->parent)
        if (n == node)
            inside = true;
    if (inside)
        focused = node->nextSibling ? node->nextSibling : (node->parent != &m_root ? node->parent : nullptr);
    DeleteSubtree(node);
    RebuildTreeOrder();
    if (inside && !focused)
        m_focusRow = -2;
    else
        Refocus(focused);
    return 1;
}

int ListModel::Expand(NodeHandle handle, int code)
{
    if (!IsTree() || code < 0 || code > 2)
        return 0;
    TreeNode* node = NodeOf(handle);
    if (!node || node == &m_root)
        return 0;
    node->expanded = code == 2 ? !node->expanded : code;
    TreeNode* focused = FocusedNode();
    ClearFocusRow();
    RebuildTreeOrder();
    if (focused) {
        // The row itself when it is still shown, else its highest
        // collapsed ancestor.
        TreeNode* target = focused;
        for (TreeNode* n = focused->parent; n && n != &m_root; n = n->parent)
            if (!n->expanded)
                target = n;
        m_focusRow = ItemToDisplay(target->item);
        SetFocusRowBit(m_focusRow);
        if (target != focused || !target->expanded) {
            // Rows hidden below it lose their selection.
            std::vector<TreeNode*> stack;
            for (TreeNode* c = target->firstChild; c; c = c->nextSibling)
                stack.push_back(c);
            while (!stack.empty()) {
                TreeNode* n = stack.back();
                stack.pop_back();
                if (IsListed(n->item))
                    Select(n->item, false);
                for (TreeNode* c = n->firstChild; c; c = c->nextSibling)
                    stack.push_back(c);
            }
        }
        if (m_host && m_focusRow >= 0)
            m_host->KeepInView(m_focusRow);
    }
    if (m_host)
        m_host->InvalidateRows(-2, -2);
    return 1;
}

int ListModel::ExpandAll(NodeHandle handle, int code, int depth)
{
    TreeNode* node = NodeOf(handle);
    if (!node || !IsTree())
        return 0;
    if (node != &m_root)
        Expand(handle, code);
    if (depth == 0)
        return 1;
    std::vector<std::pair<TreeNode*, int>> stack;
    for (TreeNode* c = node->firstChild; c; c = c->nextSibling)
        stack.push_back({c, 1});
    while (!stack.empty()) {
        auto [n, level] = stack.back();
        stack.pop_back();
        Expand(reinterpret_cast<NodeHandle>(n), code);
        if (depth < 0 || level < depth)
            for (TreeNode* c = n->firstChild; c; c = c->nextSibling)
                stack.push_back({c, level + 1});
    }
    return 1;
}

NodeHandle ListModel::GetNextItem(NodeHandle handle, int code)
{
    if (code == 5)
        return reinterpret_cast<NodeHandle>(FocusedNode());
    TreeNode* node = NodeOf(handle);
    if (!node || node == &m_root)
        return code == 4 && node ? reinterpret_cast<NodeHandle>(m_root.firstChild) : 0;
    TreeNode* result = nullptr;
    switch (code) {
    case 0:
        result = node;
        while (result->parent && result->parent != &m_root)
            result = result->parent;
        break;
    case 1: result = node->nextSibling; break;
    case 2:
        for (TreeNode* c = node->parent ? node->parent->firstChild : nullptr; c && c != node; c = c->nextSibling)
            result = c;
        break;
    case 3: result = node->parent != &m_root ? node->parent : nullptr; break;
    case 4: result = node->firstChild; break;
    default: break;
    }
    return reinterpret_cast<NodeHandle>(result);
}

bool ListModel::HasChildren(NodeHandle handle) const
{
    const TreeNode* node = NodeOf(handle);
    return node && node->firstChild;
}

bool ListModel::IsParent(NodeHandle handle, NodeHandle parent) const
{
    const TreeNode* node = NodeOf(handle);
    const TreeNode* p = NodeOf(parent);
    return node && p && node->parent == p;
}

bool ListModel::IsAncestor(NodeHandle handle, NodeHandle ancestor) const
{
    const TreeNode* node = NodeOf(handle);
    const TreeNode* a = NodeOf(ancestor);
    if (!node || !a)
        return false;
    for (const TreeNode* n = node->parent; n; n = n->parent)
        if (n == a)
            return true;
    return false;
}

int ListModel::CountChildren(NodeHandle handle, bool recursive) const
{
    const TreeNode* node = NodeOf(handle);
    if (!node)
        return 0;
    int count = 0;
    std::vector<const TreeNode*> stack = {node};
    while (!stack.empty()) {
        const TreeNode* n = stack.back();
        stack.pop_back();
        for (const TreeNode* c = n->firstChild; c; c = c->nextSibling) {
            ++count;
            if (recursive)
                stack.push_back(c);
        }
    }
    return count;
}

int ListModel::GetNodeData(NodeHandle handle) const
{
    const TreeNode* node = NodeOf(handle);
    return node && node != &m_root ? node->item : -1;
}

int ListModel::SetNodeData(NodeHandle handle, int mainColumn)
{
    TreeNode* node = NodeOf(handle);
    if (!node || node == &m_root)
        return 0;
    node->mainColumn = mainColumn;
    return 1;
}

int ListModel::GetNodeMainColumn(NodeHandle handle) const
{
    const TreeNode* node = handle ? NodeOf(handle) : nullptr;
    return node && node != &m_root ? node->mainColumn : -1;
}

int ListModel::ShowNode(NodeHandle handle)
{
    TreeNode* node = NodeOf(handle);
    if (!node || node == &m_root)
        return -2;
    bool changed = false;
    for (TreeNode* n = node->parent; n && n != &m_root; n = n->parent)
        if (!n->expanded) {
            n->expanded = 1;
            changed = true;
        }
    if (changed) {
        TreeNode* focused = FocusedNode();
        ClearFocusRow();
        RebuildTreeOrder();
        if (focused) {
            m_focusRow = ItemToDisplay(focused->item);
            SetFocusRowBit(m_focusRow);
        }
    }
    return ItemToDisplay(node->item);
}

// ---- Invariants ----------------------------------------------------------------------

std::string ListModel::CheckInvariants()
{
    const int items = GetItemCount();
    const int rows = GetDisplayCount();
    if (!IsVirtual()) {
        // The order holds distinct items.
        std::vector<bool> seen(m_rows.size(), false);
        for (int item : m_order) {
            if (item < 0 || item >= int(m_rows.size()))
                return "order entry out of range";
            if (seen[size_t(item)])
                return "order entry twice";
            seen[size_t(item)] = true;
        }
        if (IsListMode() && int(m_order.size()) != items)
            return "a list row without its display row";
        for (int r = 0; r < rows; ++r)
            if (ItemToDisplay(m_order[size_t(r)]) != r)
                return "reverse map differs from the order";
        for (const ItemInfo& r : m_rows)
            if (r.cells.size() > m_columns.size())
                return "more cells than columns";
    }
    if (m_focusRow < -2 || m_focusRow >= rows)
        return "focus row out of range";
    if (m_focusRow >= -1 && !(GetItemState(DisplayToItem(m_focusRow)) & kStateFocused))
        return "focus row without its bit";
    if (m_selOrder.size() != m_selIndex.size())
        return "selection index differs from the list";
    for (int item : m_selOrder) {
        if (item < -1 || item >= items)
            return "selected item out of range";
        if (!(GetItemState(item) & kStateSelected))
            return "selected item without its bit";
    }
    if (!IsVirtual())
        for (int i = 0; i < int(m_rows.size()); ++i)
            if ((m_rows[size_t(i)].state & kStateSelected) && !IsListed(i))
                return "selected bit on an unlisted row";
    int width = 0;
    std::vector<bool> shown(m_columns.size(), false);
    for (int column : m_shown) {
        if (column < 0 || column >= int(m_columns.size()) || shown[size_t(column)])
            return "shown column out of range or twice";
        shown[size_t(column)] = true;
        width += m_columns[size_t(column)].width;
    }
    if (width != m_totalWidth)
        return "total width differs from the shown columns";
    if (m_focusColumn < -1 || m_focusColumn >= int(m_shown.size()))
        return "focus column out of range";
    // Tree: every node's row points back to it, parents and levels agree.
    for (TreeNode* node : m_nodes) {
        if (node->item < 0 || node->item >= int(m_rows.size()) || m_rows[size_t(node->item)].node != node)
            return "node and row disagree";
        if (!node->parent || (node->parent != &m_root && !m_nodes.count(node->parent)))
            return "node without a live parent";
        if (node->level != (node->parent == &m_root ? 1 : node->parent->level + 1))
            return "node level";
    }
    size_t linked = 0;
    std::vector<const TreeNode*> stack = {&m_root};
    while (!stack.empty()) {
        const TreeNode* n = stack.back();
        stack.pop_back();
        for (const TreeNode* c = n->firstChild; c; c = c->nextSibling) {
            if (c->parent != n)
                return "child with another parent";
            if (++linked > m_nodes.size())
                return "tree links loop";
            stack.push_back(c);
        }
    }
    if (linked != m_nodes.size())
        return "node not linked";
    return std::string();
}

}  // namespace odlist
