// ODListBoxModel.cpp - the list box's items, selection and row geometry.
#include "ODListBoxModel.h"

#include <string.h>

#include <algorithm>
#include <new>
#include <stdexcept>

namespace odlistbox {

bool IsVariable(const State& s) { return (s.style & kStyleOwnerDrawVariable) != 0; }

bool IsMultiSelect(const State& s) { return (s.style & (kStyleMultipleSel | kStyleExtendedSel)) != 0; }

namespace {

void Changed(const State& s) { s.topsStale = true; }

// Tops of every item plus the total at [count] (variable style).
const std::vector<int64_t>& Tops(const State& s)
{
    if (s.topsStale || s.tops.size() != s.items.size() + 1) {
        s.tops.resize(s.items.size() + 1);
        int64_t y = 0;
        for (size_t i = 0; i < s.items.size(); ++i) {
            s.tops[i] = y;
            y += s.items[i].height;
        }
        s.tops[s.items.size()] = y;
        s.topsStale = false;
    }
    return s.tops;
}

}  // namespace

// ---- Items ----------------------------------------------------------------------------------

int Insert(State& s, int index, const Item& item)
{
    try {
        Item copy = item;
        copy.state = 0;
        if (!(copy.flags & kFlagText))
            copy.text.clear();
        const int count = Count(s);
        const int at = index <= 0 ? 0 : (index >= count ? count : index);
        s.items.insert(s.items.begin() + at, std::move(copy));
    } catch (const std::bad_alloc&) {
        return kErr;
    } catch (const std::length_error&) {
        return kErr;
    }
    Changed(s);
    return Count(s) - 1;
}

int Delete(State& s, int index)
{
    if (!Valid(s, index))
        return kErr;
    s.items.erase(s.items.begin() + index);
    Changed(s);
    const int count = Count(s);
    if (s.anchor == index || s.anchor >= count)
        s.anchor = kNone;
    if (s.current >= count)
        s.current = kNone;
    return count;
}

void Reset(State& s)
{
    std::vector<Item>().swap(s.items);
    Changed(s);
    s.current = kNone;
    s.anchor = kNone;
}

int FindExact(const State& s, int start, const std::string& text)
{
    for (int i = std::max(0, start + 1); i < Count(s); ++i)
        if (s.items[size_t(i)].text == text)
            return i;
    return kNone;
}

int CompareTextBytes(const Item& a, const Item& b) { return strcmp(a.text.c_str(), b.text.c_str()); }

void Sort(State& s, Compare compare)
{
    if (!compare)
        compare = CompareTextBytes;
    // A merge sort: a comparison that is not a strict order gives some
    // order, never a read outside the items.
    std::stable_sort(s.items.begin(), s.items.end(),
                     [compare](const Item& a, const Item& b) { return compare(a, b) < 0; });
    Changed(s);
}

// ---- Selection --------------------------------------------------------------------------------

int CurSel(const State& s)
{
    for (int i = 0; i < Count(s); ++i)
        if (s.items[size_t(i)].state & kStateSelected)
            return i;
    return kNone;
}

int SelCount(const State& s)
{
    int n = 0;
    for (const Item& item : s.items)
        if (item.state & kStateSelected)
            ++n;
    return n;
}

int SelItems(const State& s, int max, int* out)
{
    int n = 0;
    for (int i = 0; i < Count(s) && n < max && out; ++i)
        if (s.items[size_t(i)].state & kStateSelected)
            out[n++] = i;
    return n;
}

void ClearSelection(State& s)
{
    for (Item& item : s.items)
        item.state &= ~kStateSelected;
}

int SetCurSel(State& s, int index)
{
    if (IsMultiSelect(s) || !Valid(s, index))
        return kErr;
    ClearSelection(s);
    s.items[size_t(index)].state |= kStateSelected;
    return index;
}

int SetSel(State& s, int index, bool on)
{
    if (!Valid(s, index))
        return kErr;
    if (on)
        s.items[size_t(index)].state |= kStateSelected;
    else
        s.items[size_t(index)].state &= ~kStateSelected;
    return 0;
}

bool Click(State& s, int index, bool ctrl, bool shift)
{
    if (!Valid(s, index))
        return false;
    Item& item = s.items[size_t(index)];
    if (s.style & kStyleMultipleSel) {
        item.state ^= kStateSelected;
    } else if (s.style & kStyleExtendedSel) {
        if (ctrl) {
            item.state ^= kStateSelected;
            s.anchor = index;
        } else {
            ClearSelection(s);
            if (!shift) {
                item.state |= kStateSelected;
                s.anchor = index;
            } else {
                const int from = Valid(s, s.anchor) ? s.anchor : 0;
                const int lo = std::min(from, index), hi = std::max(from, index);
                for (int i = lo; i <= hi; ++i)
                    s.items[size_t(i)].state |= kStateSelected;
            }
        }
    } else {
        ClearSelection(s);
        item.state |= kStateSelected;
    }
    return true;
}

bool Track(State& s, int index)
{
    if (index == s.current)
        return false;
    s.current = index;
    if (Valid(s, index)) {
        ClearSelection(s);
        s.items[size_t(index)].state |= kStateSelected;
    }
    return true;
}

KeyMove KeyDown(State& s, Key key)
{
    KeyMove m;
    m.start = CurSel(s);
    ClearSelection(s);
    m.step = 2 * int(key);
    if (s.items.empty())
        return m;
    int target = m.start + int(key);
    if (target < 0)
        target = Count(s) - 1;
    else if (target >= Count(s))
        target = 0;
    m.target = target;
    s.current = target;
    s.items[size_t(target)].state |= kStateSelected;
    return m;
}

// ---- Geometry -----------------------------------------------------------------------------------

int ItemHeight(const State& s, int index)
{
    if (!IsVariable(s))
        return s.itemHeight;
    return Valid(s, index) ? int(std::min<uint32_t>(s.items[size_t(index)].height, 0x7FFFFFFF)) : 0;
}

int64_t ItemTop(const State& s, int index)
{
    const int clamped = std::max(0, std::min(index, Count(s)));
    if (!IsVariable(s))
        return int64_t(clamped) * s.itemHeight;
    return Tops(s)[size_t(clamped)];
}

int64_t TotalHeight(const State& s) { return ItemTop(s, Count(s)); }

bool SetItemHeight(State& s, int index, int height)
{
    if (height < 0)
        return false;
    if (IsVariable(s)) {
        if (!Valid(s, index))
            return false;
        s.items[size_t(index)].height = uint32_t(height);
        Changed(s);
        return true;
    }
    s.itemHeight = height;
    return true;
}

bool Visible(const State& s, int index, int64_t bandTop, int64_t bandBottom)
{
    if (!Valid(s, index))
        return false;
    const int64_t top = ItemTop(s, index);
    return top < bandBottom && top + ItemHeight(s, index) > bandTop;
}

int TopIndex(const State& s, int64_t bandTop, int64_t bandBottom)
{
    const int count = Count(s);
    if (count < 3) {
        for (int i = 0; i < count; ++i)
            if (Visible(s, i, bandTop, bandBottom))
                return i;
        return kNone;
    }
    // The item at lo ends above the band (or is the first), the one at hi
    // starts below it (or is the last): a visible item between them is met.
    int lo = 0, hi = count - 1;
    while (hi - lo > 1) {
        const int mid = (lo + hi) / 2;
        const int64_t top = ItemTop(s, mid), bottom = top + ItemHeight(s, mid);
        if (top < bandBottom && bottom > bandTop) {
            int first = mid;
            while (first > 0 && Visible(s, first - 1, bandTop, bandBottom))
                --first;
            return first;
        }
        if (bottom <= bandTop)
            lo = mid;
        else
            hi = mid;
    }
    if (Visible(s, 0, bandTop, bandBottom))
        return 0;
    if (Visible(s, count - 1, bandTop, bandBottom))
        return count - 1;
    return kNone;
}

int ItemFromPoint(const State& s, int64_t x, int64_t y, int64_t left, int64_t right)
{
    if (x < left || x >= right)
        return kNone;
    const int count = Count(s);
    auto covers = [&s, y](int i) {
        const int64_t top = ItemTop(s, i);
        return y >= top && y < top + ItemHeight(s, i);
    };
    if (count <= 2) {
        for (int i = 0; i < count; ++i)
            if (covers(i))
                return i;
        return kNone;
    }
    int lo = 0, hi = count - 1;
    while (hi - lo > 1) {
        const int mid = (lo + hi) / 2;
        if (covers(mid))
            return mid;
        if (y < ItemTop(s, mid))
            hi = mid;
        else
            lo = mid;
    }
    if (covers(0))
        return 0;
    if (covers(count - 1))
        return count - 1;
    return kNone;
}

}  // namespace odlistbox
