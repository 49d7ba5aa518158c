// ODListInput.cpp - the list's mouse, keyboard and scroll rules.
#include "ODListInput.h"

#include <stdlib.h>

#include <algorithm>

namespace odlist {

namespace {

// The focus moved to `row` by a navigation key: Ctrl moves the focus only,
// Shift selects from the anchor, neither selects the row alone and makes it
// the anchor.
void MoveFocus(ListModel& model, ListGeometry& geometry, InputState& state, int row, bool ctrl, bool shift)
{
    if (ctrl && !shift) {
        model.SelectRange(row, row, false, true, false, true);
    } else if (shift && state.anchor >= -1) {
        // SelectRange puts the focus on its first row.
        model.SelectRange(row, state.anchor, true, false, false, true);
    } else {
        model.SelectRange(row, row, true, false, false, true);
        state.anchor = row;
    }
    if (row >= 0)
        geometry.EnsureVisible(model.DisplayToItem(row), false);
}

bool IsFocusable(const ListModel& model, int position)
{
    const ColumnInfo* c = model.GetColumn(model.GetColumnAt(position));
    return c && !(c->flags & kColumnNoFocus);
}

}  // namespace

bool ApplyLeftClick(ListModel& model, InputState& state, int row, int position, bool ctrl, bool shift)
{
    int oldRow = -2, oldColumn = -1;
    model.GetFocusCell(&oldRow, &oldColumn);
    const uint32_t style = model.GetStyleWord();
    const int column = (style & kStyleCellFocus) && position >= 0 && IsFocusable(model, position) ? position : -1;
    if (row == -2) {
        model.ClearSelection();
        return false;
    }
    bool startEdit = false;
    if (shift && !ctrl) {
        model.SelectRange(row, state.anchor >= -1 ? state.anchor : row, true, false, false, true);
    } else if (ctrl && !shift) {
        model.SelectRange(row, row, true, true, true, true);
        state.anchor = row;
    } else if (ctrl && shift) {
        model.SelectRange(row, state.anchor >= -1 ? state.anchor : row, true, true, false, true);
        state.anchor = row;
    } else {
        model.SelectRange(row, row, true, false, false, true);
        state.anchor = row;
        startEdit = oldRow == row && oldColumn == column && column >= 0 &&
                    (row == -1 || (style & kStyleCellFocus));
    }
    model.SetFocusCell(row, column);
    return startEdit;
}

void ApplyRightClick(ListModel& model, InputState& state, int row, bool ctrl, bool shift)
{
    if (row < -1 || ctrl || shift)
        return;
    const int item = model.DisplayToItem(row);
    if (item < -1 || (model.GetItemState(item) & kStateSelected))
        return;
    model.SelectRange(row, row, true, false, false, true);
    state.anchor = row;
}

KeyOutcome ApplyKeyDown(ListModel& model, ListGeometry& geometry, InputState& state, int key, bool ctrl, bool shift)
{
    KeyOutcome out;
    state.typingStartsEdit = false;
    const uint32_t style = model.GetStyleWord();
    const bool band = (style & kStyleBand) != 0;
    const int count = model.GetDisplayCount();
    int focus = -2, column = -1;
    model.GetFocusCell(&focus, &column);
    const bool tree = (style & kStyleTree) != 0;
    const bool cellFocus = (style & kStyleCellFocus) != 0;

    switch (key) {
    case kKeyEscape: out.runDefault = true; return out;
    case kKeySpace:
        if (focus >= -1 && focus < count) {
            model.SelectRange(focus, focus, true, true, ctrl, true);
            model.SetFocusCell(focus, column);
            out.changed = true;
        }
        return out;
    case kKeyUp:
    case kKeyDown: {
        int row = -3;
        if (key == kKeyUp) {
            if (focus > 0)
                row = focus - 1;
            else if (focus == 0 && band)
                row = -1;
        } else if (focus == -2) {
            row = count > 0 || band ? (band ? -1 : 0) : -3;
        } else if (focus < count - 1) {
            row = focus + 1;
        }
        if (row < -1 || row >= count)
            return out;
        MoveFocus(model, geometry, state, row, ctrl, shift);
        model.SetFocusCell(row, column);
        out.changed = true;
        return out;
    }
    case kKeyPrior:
    case kKeyNext: {
        if (count == 0)
            return out;
        int first = 0, last = 0;
        geometry.GetVisibleRows(-1, &first, &last, false);
        // The last fully visible row.
        Rect r;
        if (last > first && geometry.GetRowRect(last, -1, &r, kPartCell) && r.bottom > geometry.ContentRect().bottom)
            --last;
        if (key == kKeyNext) {
            if (focus == last) {
                geometry.SetTopIndex(VScrollTarget(model, geometry, kScrollPageDown, 0));
                geometry.GetVisibleRows(-1, &first, &last, false);
                if (last > first && geometry.GetRowRect(last, -1, &r, kPartCell) &&
                    r.bottom > geometry.ContentRect().bottom)
                    --last;
            }
            last = std::min(last, count - 1);
            MoveFocus(model, geometry, state, last, ctrl, shift);
            model.SetFocusCell(last, column);
        } else {
            if (focus == first) {
                geometry.SetTopIndex(VScrollTarget(model, geometry, kScrollPageUp, 0));
                first = geometry.GetTopIndex();
            }
            MoveFocus(model, geometry, state, first, ctrl, shift);
            model.SetFocusCell(first, column);
        }
        out.changed = true;
        return out;
    }
    case kKeyHome:
    case kKeyEnd: {
        const int target = key == kKeyHome ? 0 : count - 1;
        if (count == 0 || focus == target) {
            out.runDefault = true;
            return out;
        }
        geometry.SetTopIndex(VScrollTarget(model, geometry, key == kKeyHome ? kScrollTop : kScrollBottom, 0));
        if (!shift)
            state.anchor = target;
        if (ctrl)
            model.SelectRange(target, target, false, true, false, true);
        else {
            model.SelectRange(target, state.anchor >= -1 ? state.anchor : target, true, false, false, true);
        }
        model.SetFocusCell(target, column);
        out.changed = true;
        out.runDefault = true;
        return out;
    }
    case kKeyLeft:
    case kKeyRight: {
        if (tree && column < 0 && focus >= 0) {
            const int item = model.DisplayToItem(focus);
            const NodeHandle node = model.GetItemNode(item);
            const TreeNode* n = node ? reinterpret_cast<const TreeNode*>(node) : nullptr;
            if (!n)
                return out;
            if (key == kKeyLeft) {
                if (n->expanded && n->firstChild) {
                    model.Expand(node, 0);
                } else if (n->parent && n->parent->parent) {
                    const int row = model.ItemToDisplay(n->parent->item);
                    MoveFocus(model, geometry, state, row, false, false);
                } else if (band) {
                    MoveFocus(model, geometry, state, -1, false, false);
                } else {
                    return out;
                }
            } else {
                if (!n->expanded && n->firstChild) {
                    model.Expand(node, 1);
                } else if (n->expanded && n->firstChild) {
                    const int row = model.ItemToDisplay(n->firstChild->item);
                    MoveFocus(model, geometry, state, row, false, false);
                } else {
                    return out;
                }
            }
            out.changed = true;
            return out;
        }
        if (!cellFocus) {
            geometry.SetHorzPos(HScrollTarget(model, geometry, key == kKeyLeft ? 0 : 1, 0));
            out.changed = true;
            return out;
        }
        const int shown = model.GetVisibleColumnCount();
        int next = column;
        if (key == kKeyLeft) {
            next = column - 1;
            while (next >= 0 && !IsFocusable(model, next))
                --next;
            if (next < 0)
                next = -1;
        } else {
            int p = column + 1;
            while (p < shown && !IsFocusable(model, p))
                ++p;
            if (p < shown)
                next = p;
        }
        if (next != column && focus >= -1) {
            model.SetFocusCell(focus, next);
            if (next >= 0)
                geometry.EnsureColumnVisible(next);
            out.changed = true;
        }
        return out;
    }
    default:
        state.typingStartsEdit = !ctrl;
        out.runDefault = true;
        return out;
    }
}

bool CharStartsEdit(const ListModel& model, const InputState& state)
{
    int row = -2, column = -1;
    model.GetFocusCell(&row, &column);
    return state.typingStartsEdit && column >= 0 && (row == -1 || (row >= 0 && (model.GetStyleWord() & kStyleCellFocus)));
}

int VScrollTarget(ListModel& model, ListGeometry& geometry, int code, int trackPos)
{
    const int top = geometry.GetTopIndex();
    const int count = model.GetDisplayCount();
    switch (code) {
    case kScrollLineUp: return std::max(top - 1, 0);
    case kScrollLineDown: return top + geometry.GetCountPerPage() < count ? top + 1 : top;
    case kScrollPageUp: {
        // The page that ends just above the current top.
        if (top <= 0)
            return 0;
        int first = top - 1;
        geometry.GetVisibleRows(top - 1, &first, nullptr, true);
        return std::max(first, 0);
    }
    case kScrollPageDown: return top + std::max(geometry.GetCountPerPage(), 1);
    case kScrollThumbPosition:
    case kScrollThumbTrack: return trackPos;
    case kScrollTop: return 0;
    case kScrollBottom: {
        if (count == 0)
            return 0;
        int first = count - 1;
        geometry.GetVisibleRows(count - 1, &first, nullptr, true);
        return std::max(first, 0);
    }
    default: return top;
    }
}

int HScrollTarget(ListModel& model, ListGeometry& geometry, int code, int trackPos)
{
    const int pos = geometry.GetHorzPos();
    const int width = geometry.ContentRect().Width();
    const int total = model.GetTotalWidth();
    const int step = std::max(width / 8, 1);
    switch (code) {
    case kScrollLineUp: return std::max(pos - step, 0);
    case kScrollLineDown: return std::max(0, std::min(pos + step, total - width));
    case kScrollPageUp: return std::max(pos - width, 0);
    case kScrollPageDown: return std::min(pos + width, total);
    case kScrollThumbPosition:
    case kScrollThumbTrack: return trackPos;
    case kScrollTop: return 0;
    case kScrollBottom: return total;
    default: return pos;
    }
}

WheelPlan PlanWheel(int delta, int wheelLines, int rowsPerPage)
{
    WheelPlan plan;
    if (wheelLines == -1) {
        const int pages = delta / 120;
        plan.code = pages > 0 ? kScrollPageUp : kScrollPageDown;
        plan.count = abs(pages);
        return plan;
    }
    const long long lines = (long long)delta * wheelLines / 120;
    plan.code = lines > 0 ? kScrollLineUp : kScrollLineDown;
    plan.count = int(std::min<long long>(lines < 0 ? -lines : lines, std::max(rowsPerPage, 1)));
    return plan;
}

int NextSortDirection(int sortColumn, int direction, int clickedColumn)
{
    if (clickedColumn != sortColumn)
        return 1;
    return direction ? 0 : 1;
}

}  // namespace odlist
