// ODListTypes.h - the owner-draw list control's records: style and mask
// bits, the cell, the row record, the item descriptor, the column record,
// the find record and the tree node. No window code: the list's data model
// (ODListModel.h) and the window both use them.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

namespace odlist {

// Style word (the low 16 bits of the list's window style).
enum StyleBits : uint32_t {
    kStyleSingleSel = 0x0001,   // selecting a row clears every other selection
    kStyleRowStep = 0x0010,     // one more pixel of row height
    kStyleNoHeader = 0x0040,
    kStyleChooser = 0x0080,     // the header's column chooser
    kStyleBand = 0x0200,        // the band below the header shows the pseudo-row
    kStyleVirtual = 0x0800,     // the parent supplies the rows
    kStyleCellFocus = 0x1000,
    kStyleTreeLook = 0x4000,
    kStyleTree = 0x8000,        // rows are added to a tree
};

// Item descriptor mask bits.
enum MaskBits : uint32_t {
    kMaskText = 0x1,
    kMaskValue2 = 0x2,
    kMaskImage = 0x4,
    kMaskStateImage = 0x8,
    kMaskValue1 = 0x10,
    kMaskExtraHeight = 0x20,
    kMaskState = 0x40,
    kMaskData = 0x80,
    kMaskIndent = 0x100,
    kMaskValue5 = 0x200,
};

// Row state bits the list keeps itself; the others are the caller's.
enum StateBits : uint32_t {
    kStateFocused = 0x1,
    kStateSelected = 0x2,
    kStateSecondFont = 0x4,
    kStateCollapsed = 0x20,
    kStateExpanded = 0x40,
    // What SetItem may not change (SetItemState may).
    kStateProtected = kStateFocused | kStateSelected | kStateCollapsed | kStateExpanded,
};

// Notification codes to the parent: -2048 - k, sent while bit k of the
// notification mask is set.
enum NotifyCodes : int {
    kNotifySelChanging = -2051,  // a non-zero answer vetoes the change
    kNotifySelChanged = -2052,
    kNotifyDeleting = -2055,
    kNotifyVirtualFill = -2056,
};

// Results of the row operations.
enum Results : int {
    kNoRow = -2,        // no row / nothing found
    kPseudoRow = -1,    // the row kept outside the rows (band, defaults)
    kRefused = -2,      // plain insertion and deletion in virtual and tree modes
    kFailed = -1,
};

// A cell text holds at most this many bytes; readers use buffers one larger.
const int kMaxCellText = 255;
const int kCellBuffer = 256;

// One cell. Kept as its values, never as text with separators, so a text
// may hold any character (the separator included) and a change of the
// separator loses nothing.
struct Cell
{
    int32_t image = -1;
    int32_t value5 = -1;
    int32_t stateImage = -1;
    int32_t value2 = -1;
    bool hasText = false;
    std::string text;

    // A cell that was never written (or written with nothing) reads absent.
    bool Absent() const { return !hasText && image == -1 && value5 == -1 && stateImage == -1 && value2 == -1; }
};

struct TreeNode;

// The row record.
struct ItemInfo
{
    std::vector<Cell> cells;  // one per column; missing cells read absent
    int32_t value1 = -1;
    int32_t extraHeight = 0;  // added to the row height while option 9 is on
    int32_t indent = -1;
    uint32_t state = 0;
    uint32_t data = 0;
    TreeNode* node = nullptr;  // tree rows only
};

// The item descriptor through which cells are read and written.
struct ODLVITEM
{
    uint32_t mask;
    int32_t item;     // row; -1 the pseudo-row
    int32_t subItem;  // column
    char* text;
    int32_t textMax;
    int32_t value2;
    int32_t image;
    int32_t stateImage;
    int32_t value1;
    int32_t extraHeight;
    int32_t indent;
    uint32_t state;
    uint32_t data;
    int32_t value5;
};
static_assert(sizeof(void*) != 4 || sizeof(ODLVITEM) == 56, "the descriptor's 32-bit layout");

// Column flags.
enum ColumnFlags : uint32_t {
    kColumnHasImage = 0x0800,
    kColumnHasText = 0x4000,
    kColumnNoFit = 0x40000,         // a divider double click leaves the width alone
    kColumnTipTemplate = 0x80000,   // the header tip is the tip template with the column text
    kColumnNoFocus = 0x4000000,     // never takes the focus cell
};

const int kDefaultColumnWidth = 200;

// The column record; also the description callers pass in.
struct ColumnInfo
{
    uint32_t flags = 0;
    int32_t width = kDefaultColumnWidth;
    int32_t minWidth = 0;
    int32_t maxWidth = 0;  // 0 or less: no maximum
    int32_t image = 0;
    std::string text;
};

// Find flags and record.
enum FindFlags : uint32_t {
    kFindText = 0x1,
    kFindPrefix = 0x2,
    kFindImage = 0x4,
    kFindStateImage = 0x8,
    kFindData = 0x10,
    kFindWrap = 0x100,
    kFindBackwards = 0x200,
};

struct ODFindInfo
{
    uint32_t flags;
    const char* text;
    int32_t image;
    int32_t stateImage;
    uint32_t data;
};

// Tree nodes are passed as handles: a node's address, or one of the values
// below (never dereferenced).
using NodeHandle = uintptr_t;
const NodeHandle kTreeRoot = 0xFFFF0000u;
const NodeHandle kInsertFirst = 0xFFFF0001u;
const NodeHandle kInsertLast = 0xFFFF0002u;
const NodeHandle kInsertSorted = 0xFFFF0003u;

struct TreeNode
{
    TreeNode* parent = nullptr;
    TreeNode* firstChild = nullptr;
    TreeNode* nextSibling = nullptr;
    int32_t item = -2;        // row; -2 until inserted
    int32_t mainColumn = -1;  // the column that stands for the row
    int32_t expanded = 0;
    int32_t level = 0;        // 1 for a child of the root
};

}  // namespace odlist
