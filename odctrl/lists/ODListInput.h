// ODListInput.h - what the list does with the mouse, the keyboard and its
// scroll bars, apart from any window: selection by click with Shift and
// Ctrl, keyboard navigation (focus row, focus cell, tree expand and
// collapse, paging), the scroll arithmetic of both bars, how many scroll
// messages a wheel turn posts, and which way a header click sorts.
//
// Rows are display rows (-2 none, -1 the band's pseudo-row); columns are
// header positions. The window (CODListCtrl) hit-tests, asks its parent
// first and then calls these; afterwards it puts the geometry's positions on
// its bars and repaints.
#pragma once

#include "ODListGeometry.h"
#include "ODListModel.h"

namespace odlist {

// Virtual keys and scroll codes as the platform numbers them.
enum InputKey : int {
    kKeyBack = 0x08,
    kKeyTab = 0x09,
    kKeyReturn = 0x0D,
    kKeyEscape = 0x1B,
    kKeySpace = 0x20,
    kKeyPrior = 0x21,
    kKeyNext = 0x22,
    kKeyEnd = 0x23,
    kKeyHome = 0x24,
    kKeyLeft = 0x25,
    kKeyUp = 0x26,
    kKeyRight = 0x27,
    kKeyDown = 0x28,
};
enum ScrollCode : int {
    kScrollLineUp = 0,
    kScrollLineDown = 1,
    kScrollPageUp = 2,
    kScrollPageDown = 3,
    kScrollThumbPosition = 4,
    kScrollThumbTrack = 5,
    kScrollTop = 6,
    kScrollBottom = 7,
};

// What lives between messages: the start of Shift ranges, and whether the
// last key-down lets the next character start an edit.
struct InputState
{
    int anchor = -2;
    bool typingStartsEdit = false;
};

// A left click on a display row (-2: no row) at a header position (-1:
// none) with the keys held. True when the click was on the cell that already
// had the focus: it starts an edit there.
bool ApplyLeftClick(ListModel& model, InputState& state, int row, int position, bool ctrl, bool shift);
// A right click selects an unselected row alone (without Shift or Ctrl).
void ApplyRightClick(ListModel& model, InputState& state, int row, bool ctrl, bool shift);

struct KeyOutcome
{
    bool runDefault = false;   // the key goes on to the default processing
    bool changed = false;      // focus, selection, tree or positions changed
};
KeyOutcome ApplyKeyDown(ListModel& model, ListGeometry& geometry, InputState& state, int key, bool ctrl,
                        bool shift);
// True when a typed character starts an edit of the focus cell.
bool CharStartsEdit(const ListModel& model, const InputState& state);

// The new top row / horizontal position for a scroll code (the geometry's
// setters keep them in range). An unknown code keeps the current one.
int VScrollTarget(ListModel& model, ListGeometry& geometry, int code, int trackPos);
int HScrollTarget(ListModel& model, ListGeometry& geometry, int code, int trackPos);

// A wheel turn: `count` scroll messages of `code`. With wheel lines -1 a
// page per notch; otherwise delta x lines / 120 lines, never more than a
// page (rows per page, at least 1) however large the user's setting is.
struct WheelPlan
{
    int code = kScrollLineUp;
    int count = 0;
};
WheelPlan PlanWheel(int delta, int wheelLines, int rowsPerPage);

// Sort direction after a click on a header column: ascending (1) for a
// column that is not the sort column, else the other direction.
int NextSortDirection(int sortColumn, int direction, int clickedColumn);

}  // namespace odlist
