// ODListModel.h - the owner-draw list control's data, apart from any window.
//
// Rows are row records (ItemInfo) addressed by item index; the display order
// maps display rows (what the user sees, after sorting or tree expansion) to
// item indices. Three shapes share the store: a plain list, a tree of rows
// (style kStyleTree) whose display order is the walk of the expanded nodes,
// and virtual mode (kStyleVirtual), where the parent supplies rows on demand
// through a 128-slot cache and display rows equal item indices. Row -1 is the
// pseudo-row: a record kept outside the rows that carries a cell for every
// column (shown in the band, copied by an insert without descriptor).
//
// Columns have records of their own and cells in every row; any subset is
// shown, in any order (the shown array lists column indices by header
// position). A left margin sits on the column at position 0.
//
// The selection is a list of item indices in the order they were selected,
// each row of it also carrying state bit 2; the focus is a display row with
// state bit 1 and a header position. Every change of selection passes
// through SelectRange, which asks the parent first (-2051; a non-zero answer
// vetoes that row) and tells it afterwards (-2052).
//
// The window (CODListCtrl) owns one model, passes its notifications on as
// WM_NOTIFY and repaints what the host calls name. CheckInvariants says what
// is inconsistent, for tests and the fuzzer.
#pragma once

#include <stdint.h>

#include <list>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "ODListTypes.h"

namespace odlist {

// What a notification carries: the item layout (node, item, column and two
// values) or, for the virtual fill, the descriptor the parent answers in.
struct Notification
{
    int code = 0;
    NodeHandle node = 0;
    int item = -2;
    int column = -1;
    uint32_t value = 0;
    uint32_t value2 = 0;
    ODLVITEM* descriptor = nullptr;
};

// The window side of the model.
class ListHost
{
public:
    virtual ~ListHost() = default;
    // The parent's answer; called only for codes whose mask bit is set.
    virtual intptr_t Notify(Notification& n) = 0;
    // Display rows first..last need painting; (-2, -2) everything.
    virtual void InvalidateRows(int first, int last) { (void)first, (void)last; }
    // A display row should be brought into view (the focus after a change).
    virtual void KeepInView(int displayRow) { (void)displayRow; }
    // A display row was removed; the view keeps the rows in view.
    virtual void RowDeleted(int displayRow) { (void)displayRow; }
    virtual void ScrollToTop() {}
    // Rows were added or removed (the vertical range is re-applied).
    virtual void RowCountChanged() {}
    // Shown columns or their widths changed (the horizontal range, the header).
    virtual void ColumnsChanged() {}
};

using CompareFunc = int (*)(int item1, int column1, int item2, int column2, intptr_t value);

class ListModel
{
public:
    ListModel();
    ~ListModel();
    ListModel(const ListModel&) = delete;
    ListModel& operator=(const ListModel&) = delete;

    void SetHost(ListHost* host) { m_host = host; }

    // ---- Style and options ----
    uint32_t GetStyleWord() const { return m_style; }
    // Removing kStyleCellFocus clears the focus column.
    void SetStyleWord(uint32_t style);
    bool IsVirtual() const { return (m_style & kStyleVirtual) != 0; }
    bool IsTree() const { return (m_style & (kStyleTree | kStyleTreeLook)) != 0; }
    // Options 1..15; 0 for another option or a refused value, else 1. The
    // string options (3, 5, 15) take a const char* in `value`.
    int SetOption(int option, intptr_t value);
    int GetOption(int option) const;
    const std::string& GetOptionText() const { return m_optionText; }
    const std::string& GetTipTemplate() const { return m_tipTemplate; }
    // Shared by all lists of the program.
    static char Separator();
    static char CopySeparator();
    static const std::string& IndentString();
    static const std::string& UnwrittenField();

    // ---- Items ----
    int GetItem(ODLVITEM* item);
    int SetItem(const ODLVITEM* item);
    int GetItemText(int item, int column, char* buffer, int size);
    std::string GetItemText(int item, int column);
    int SetItemText(int item, int column, const char* text);
    int GetItemImage(int item, int column);
    int SetItemImage(int item, int column, int image);
    int GetItemStateImage(int item, int column);
    int SetItemStateImage(int item, int column, int image);
    uint32_t GetItemData(int item);
    int SetItemData(int item, uint32_t data);
    int InsertItem(const char* text, int image = -1, int stateImage = -1, int value2 = -1);
    int InsertItemEx(int index, const char* text, int image = -1, int stateImage = -1, int value2 = -1);
    int InsertItem(const ODLVITEM* item);
    // A row whose texts are copied from the pseudo-row's cells.
    int InsertItemFromPseudoRow();
    int DeleteItem(int item);
    int DeleteAllItems();
    void SetItemCount(int count);
    int GetItemCount() const;
    int SetItemState(int displayRow, uint32_t value, uint32_t mask);
    uint32_t GetDisplayedItemState(int displayRow);
    uint32_t GetItemState(int item);

    // ---- Notifications ----
    intptr_t SendNotify(Notification& n);

    // ---- Columns ----
    int GetColumnCount() const { return int(m_columns.size()); }
    const ColumnInfo* GetColumn(int column) const;
    int InsertColumn(int index, const ColumnInfo& info);
    int SetColumn(int index, const ColumnInfo& info);
    int DeleteColumn(int index);
    void DeleteAllColumns();
    int ShowColumn(int column, int position);
    int HideColumn(int column);
    int HideAllColumns();
    bool IsColumnShown(int column) const { return GetColumnPosition(column) >= 0; }
    int GetVisibleColumnCount() const { return int(m_shown.size()); }
    int GetColumnAt(int position) const;
    int GetColumnPosition(int column) const;
    int GetColumnWidth(int column) const;
    int SetColumnWidth(int column, int width);
    void SetLeftMargin(int pixels);
    int GetLeftMargin() const { return m_margin; }
    int GetTotalWidth() const { return m_totalWidth; }
    // The shown columns by header position.
    const std::vector<int>& GetShownColumns() const { return m_shown; }
    // A new header order (the header's items were dragged): column indices
    // by position; refused unless it is a permutation of the shown columns.
    bool SetShownOrder(const std::vector<int>& columns);
    int GetSortColumn(int* direction) const;
    void SetSortMark(int column, int direction);
    std::string SaveColumnState();
    int LoadColumnState(const char* text);

    // ---- Sorting, searching, export ----
    void SetCompareFunc(CompareFunc func, intptr_t value);
    CompareFunc GetCompareFunc() const { return m_compare; }
    virtual int CompareItems(int item1, int column1, int item2, int column2);
    int CompareDescriptors(const ODLVITEM* a, const ODLVITEM* b) const;
    // direction non-zero: ascending.
    int SortItems(int column, int direction);
    int SortByHeader();
    void SortDisplayRange(int column, int first, int last, bool ascending);
    void SortSiblings(int column, NodeHandle node, bool ascending, bool recursive);
    int FindItem(const ODFindInfo* info, int column, int start);
    void GetRowText(std::string& result, int item, char separator);
    // The selected rows in display order, each as GetRowText with the copy
    // separator (what goes to the clipboard).
    std::string GetSelectionText();

    // ---- Display order and selection ----
    int GetDisplayCount() const;
    int DisplayToItem(int row) const;
    int ItemToDisplay(int item);
    int SetItemOrder(const std::vector<int>& order);
    int MoveItemUp(int row);
    int MoveItemDown(int row);
    virtual void SelectRange(int first, int last, bool select, bool extend, bool toggle, bool notify);
    void SelectItem(int item, bool extend);
    void SelectItems(const int* items, int count, bool extend);
    void SelectNode(NodeHandle node, bool extend);
    void SelectNodes(const NodeHandle* nodes, int count, bool extend);
    void InvertSelection();
    void SelectAll();
    void ClearSelection();
    void SelectByData(int column, uint32_t limit, bool extend);
    // Selects every display row whose cell text in the column matches the
    // pattern (WildcardMatch); unless extend, the selection is cleared first.
    void SelectByPattern(int column, const char* pattern, bool extend);
    int GetFirstSelected();
    int GetNextSelected(int item);
    int GetSelectedItems(int* buffer, int size) const;
    std::vector<int> GetSelectedRows();
    // The selection list in the order the rows were selected.
    std::vector<int> GetSelectionList() const { return {m_selOrder.begin(), m_selOrder.end()}; }
    int SetFocusCell(int row, int position);
    void GetFocusCell(int* row, int* position) const;
    int GetFocusRow() const { return m_focusRow; }

    // ---- Tree ----
    NodeHandle InsertTreeItem(const ODLVITEM* item, NodeHandle parent, NodeHandle insertAfter, int mainColumn);
    int DeleteTreeItem(NodeHandle node);
    int Expand(NodeHandle node, int code);
    int ExpandAll(NodeHandle node, int code, int depth);
    NodeHandle GetNextItem(NodeHandle node, int code);
    bool HasChildren(NodeHandle node) const;
    bool IsParent(NodeHandle node, NodeHandle parent) const;
    bool IsAncestor(NodeHandle node, NodeHandle ancestor) const;
    int CountChildren(NodeHandle node, bool recursive) const;
    int GetNodeData(NodeHandle node) const;
    int SetNodeData(NodeHandle node, int mainColumn);
    // The node's main column; -1 for none or no node.
    int GetNodeMainColumn(NodeHandle node) const;
    NodeHandle GetItemNode(int item) const;
    // Expands every ancestor; the display row of the node (-2 when none).
    int ShowNode(NodeHandle node);

    // Empty when every invariant holds, else what is wrong.
    std::string CheckInvariants();

private:
    struct CacheSlot
    {
        int row = -2;
        ItemInfo record;
    };

    bool IsListMode() const { return !IsVirtual() && !IsTree(); }
    ItemInfo* GetItemRecord(int item, int column, uint32_t mask);
    // One field of one cell through a descriptor that asks for (or carries)
    // only the field under mask; reading gives missing when the cell is
    // absent or the field unset.
    template <class T>
    T GetCellField(int item, int column, uint32_t mask, T ODLVITEM::*field, T missing);
    template <class T>
    int SetCellField(int item, int column, uint32_t mask, T ODLVITEM::*field, T value);
    void RequestVirtualRow(ItemInfo& record, int item, int column, uint32_t mask);
    ItemInfo* StoredRecord(int item);
    void WriteCell(ItemInfo& record, int column, const Cell& cell);
    void WriteItem(ItemInfo& record, const ODLVITEM& d);
    ItemInfo NewRecord() const;
    int InsertRecord(const ODLVITEM& d, bool listDisplay);
    void DeleteRecord(int item);
    void SetStateBits(int item, uint32_t value, uint32_t mask);
    void CacheInvalidate(int item);
    const Cell* CellOf(int item, int column);
    void Select(int item, bool on);
    bool IsListed(int item) const { return m_selIndex.count(item) != 0; }
    void ShiftSelection(int from, int by);
    void SetFocusRowBit(int row);
    void ClearFocusRow();
    // Margin bracket: taken off before a header change, put on after.
    void MarginOff();
    void MarginOn();
    int ApplyColumnWidth(int column, int width);
    void ClampFocusColumn();
    // Tree helpers.
    TreeNode* NodeOf(NodeHandle handle) const;
    TreeNode* ParentOf(NodeHandle handle) const;
    void RebuildTreeOrder();
    void AppendSubtree(TreeNode* node);
    void Refocus(TreeNode* node);
    void DeleteSubtree(TreeNode* node);
    void Unlink(TreeNode* node);
    void FreeNode(TreeNode* node);
    TreeNode* FocusedNode();
    void SortChildren(TreeNode* parent, int column, bool ascending, bool recursive);
    int CompareNodes(TreeNode* a, TreeNode* b);

    ListHost* m_host = nullptr;
    uint32_t m_style = 0;

    // Rows.
    std::vector<ItemInfo> m_rows;
    ItemInfo m_pseudo;
    bool m_pseudoFilled = false;
    int m_virtualCount = 0;
    std::vector<CacheSlot> m_cache;

    // Columns.
    std::vector<ColumnInfo> m_columns;
    std::vector<int> m_shown;  // column by header position
    int m_totalWidth = 0;
    int m_margin = 0;
    bool m_marginOn = false;
    int m_sortColumn = -1;
    int m_sortDirection = 0;

    // Order, selection, focus.
    std::vector<int> m_order;
    std::vector<int> m_reverse;
    bool m_orderChanged = true;
    std::list<int> m_selOrder;
    std::unordered_map<int, std::list<int>::iterator> m_selIndex;
    int m_focusRow = -2;
    int m_focusColumn = -1;

    // Tree.
    TreeNode m_root;
    std::unordered_set<TreeNode*> m_nodes;

    // Options.
    int m_padding = 6;
    int m_stateImageSize = (8 << 16) | 8;
    std::string m_optionText;
    int m_gridPen = 0;
    std::string m_tipTemplate = "Sort by: %s";
    uint32_t m_notifyMask = 0xFFFFFFFFu;
    int m_useCache = 1;
    int m_variableHeight = 1;
    int m_horzBar = 1;
    int m_treeLook = 0x4000;
    int m_blendMode = 0;
    int m_option13 = 0xFFFFFF;

    CompareFunc m_compare = nullptr;
    intptr_t m_compareValue = 0;
};

// Column state text: "(count,shown)" then every column's width, then the
// shown columns by position, each after a blank.
struct ColumnState
{
    int count = 0;
    std::vector<int> widths;
    std::vector<int> shown;
};
std::string FormatColumnState(const ColumnState& state);
// False for anything but that shape with widths >= 0 and shown columns
// that are distinct, below the count and at least one.
bool ParseColumnState(const char* text, ColumnState* state);

// Cuts a text to at most `max` bytes without splitting a two-byte character
// (a byte with the high bit set starts one).
size_t CutAtCharacter(const char* text, size_t length, size_t max);

}  // namespace odlist
