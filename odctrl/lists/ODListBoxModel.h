// ODListBoxModel.h - the skinned list box's items and their arithmetic apart
// from its window: the item store (insert positions, deletion, reset, text
// search, sorting), selection by style, the mouse and arrow-key selection
// rules, and the rows' vertical geometry (fixed or per-item heights) with the
// top-index and hit-test searches.
//
// Conventions: indexes are 0-based; -1 (kNone) means no item. Vertical
// positions are document coordinates (0 = the top of the first item) taken
// in 64 bits, so many tall items cannot overflow. An item covers the rows
// top <= y < top + height. A band is the visible strip [top, bottom) of the
// document. Every operation that takes an index checks it and answers kErr
// (or does nothing) for an index that names no item.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

namespace odlistbox {

const int kNone = -1;
const int kErr = -1;  // LB_ERR

// Style bits the list box reads (the list-box style values).
const uint32_t kStyleOwnerDrawFixed = 0x0010;
const uint32_t kStyleOwnerDrawVariable = 0x0020;
const uint32_t kStyleMultipleSel = 0x0008;
const uint32_t kStyleExtendedSel = 0x0800;

// Item flags and state.
const uint32_t kFlagText = 1;
const uint32_t kFlagImage = 2;
const uint32_t kStateSelected = 2;
// Image placement.
const uint32_t kImageBeside = 0;
const uint32_t kImageUnder = 1;

const int kDefaultItemHeight = 12;

struct Item
{
    uint32_t height = 0;  // used with the variable-height style only
    std::string text;     // held only with kFlagText
    uint32_t data = 0;
    uint32_t state = 0;
    uint32_t flags = 0;
    int32_t image = -1;
    uint32_t placement = kImageBeside;
};

struct State
{
    std::vector<Item> items;
    uint32_t style = 0;
    int itemHeight = kDefaultItemHeight;  // fixed-height rows
    int current = kNone;                  // the tracked (highlighted) item
    int anchor = kNone;                   // start of a shift-click range

    // Item tops for the variable style; rebuilt when stale.
    mutable std::vector<int64_t> tops;
    mutable bool topsStale = true;
};

bool IsVariable(const State& s);
bool IsMultiSelect(const State& s);  // multiple or extended selection
inline int Count(const State& s) { return int(s.items.size()); }
inline bool Valid(const State& s, int index) { return index >= 0 && index < Count(s); }

// ---- Items ----------------------------------------------------------------------------------

// Inserts a copy of item (its state cleared; its text dropped unless it has
// kFlagText): index <= 0 at the front, 0 < index < count before that item,
// index >= count at the end. Answers the index of the last item (count - 1),
// or kErr when the store cannot grow (nothing changed).
int Insert(State& s, int index, const Item& item);
// Removes an item; the new count, or kErr for a bad index. An anchor on
// the removed item becomes kNone, and so does an anchor or current item
// left past the new end; other numbers stay as they are.
int Delete(State& s, int index);
// Removes every item; the current item and the anchor become kNone.
void Reset(State& s);
// The first index after start (start + 1 .. end, no wrap) whose text equals
// text byte for byte; kNone when none.
int FindExact(const State& s, int start, const std::string& text);
// Orders the items by compare (< 0: a before b). Selected bits travel with
// their items; the current item and anchor stay as numbers.
typedef int (*Compare)(const Item& a, const Item& b);
void Sort(State& s, Compare compare);
// Byte order of the texts (strcmp).
int CompareTextBytes(const Item& a, const Item& b);

// ---- Selection --------------------------------------------------------------------------------

int CurSel(const State& s);  // first selected item or kNone
int SelCount(const State& s);
// Up to max selected indexes in ascending order; the number written.
int SelItems(const State& s, int max, int* out);
void ClearSelection(State& s);
// Single-selection styles only: clears every selected bit and selects index.
// kErr for a bad index or a multiple-selection style (nothing changed),
// else the index.
int SetCurSel(State& s, int index);
// Sets or clears one item's selected bit; kErr for a bad index.
int SetSel(State& s, int index, bool on);

// A left click on an item (a valid index): the selection by style. With the
// multiple style the item toggles; with the extended style Ctrl toggles it
// and makes it the anchor, Shift selects anchor (none counts as 0) .. index
// only, and a plain click selects it alone and makes it the anchor; other
// styles select it alone. False for a bad index.
bool Click(State& s, int index, bool ctrl, bool shift);
// The pointer moved over index (kNone: over no item). When the current item
// changes to a valid item it becomes the only selected one. True when the
// current item changed.
bool Track(State& s, int index);

// An arrow key: kKeyUp, kKeyDown or kKeyOther.
enum Key { kKeyUp = -1, kKeyOther = 0, kKeyDown = 1 };
struct KeyMove
{
    int start = kNone;   // the first selected item before the key
    int target = kNone;  // the item selected after it (kNone: empty list)
    int step = 0;        // -2 up, +2 down, 0 for other keys
};
// Clears the selection; with items, selects the item before or after the
// first selected one, wrapping at both ends (no selection: a non-arrow key
// and Up select the last item, Down the first) and makes it the current item.
KeyMove KeyDown(State& s, Key key);

// ---- Geometry -----------------------------------------------------------------------------------

int ItemHeight(const State& s, int index);  // the row's height; 0 for a bad index
int64_t ItemTop(const State& s, int index);  // top of the row; the total for index >= count
int64_t TotalHeight(const State& s);
// Sets the common height (fixed) or one item's height (variable); false for
// a bad index in the variable style or a negative height.
bool SetItemHeight(State& s, int index, int height);

// Whether the item's rows meet the band [bandTop, bandBottom).
bool Visible(const State& s, int index, int64_t bandTop, int64_t bandBottom);
// The first item meeting the band, or kNone; a binary search over the items.
int TopIndex(const State& s, int64_t bandTop, int64_t bandBottom);
// The item covering document row y (and column x inside [left, right)), or
// kNone; a binary search over the items.
int ItemFromPoint(const State& s, int64_t x, int64_t y, int64_t left, int64_t right);

}  // namespace odlistbox
