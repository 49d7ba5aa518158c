#include "CardPicking.h"

#include <cstring>

namespace {

int Clamp52(int n) { return n < 0 ? 0 : (n > kCardAreaSize ? kCardAreaSize : n); }

}  // namespace

int CountCardsOfColumn(int column, const CardEntry* entries, int count)
{
    if (entries == nullptr)
        return 0;
    int n = 0;
    for (int i = 0; i < Clamp52(count); ++i) {
        if (entries[i].rank == column)
            ++n;
    }
    return n;
}

CHandSelection::CHandSelection(const CardEntry* hand, int count)
{
    memset(m_cards, 0, sizeof m_cards);
    m_count = hand != nullptr ? Clamp52(count) : 0;
    if (m_count > 0)
        memcpy(m_cards, hand, sizeof(CardEntry) * static_cast<size_t>(m_count));
    CountSelected();
}

int CHandSelection::CountSelected()
{
    m_selected = 0;
    for (int i = 0; i < m_count; ++i) {
        if (IsSelected(i))
            ++m_selected;
    }
    return m_selected;
}

void CHandSelection::Toggle(int index)
{
    if (index < 0 || index >= m_count)
        return;
    m_cards[index].flags ^= kCardSelected;
    m_selected += IsSelected(index) ? 1 : -1;
}

void CHandSelection::ClearSelection()
{
    for (int i = 0; i < m_count; ++i)
        m_cards[i].flags &= static_cast<uint8_t>(~kCardSelected);
    m_selected = 0;
}

int CHandSelection::SelectColumn(int column, int n, int start)
{
    if (column > 14 || n <= 0 || start < 0 || start >= m_count)
        return 0;
    int taken = 0;
    int remembered = -1;
    auto visit = [&](int i) {
        if (m_cards[i].rank != column || IsSelected(i))
            return false;
        if (column < 13 && (m_cards[i].flags & kCardMarkBits) != 0 && i < 8) {
            if (remembered != 0)
                remembered = i;
            return false;
        }
        Toggle(i);
        return ++taken >= n;
    };
    for (int i = start; i >= 0; --i) {
        if (visit(i))
            return taken;
    }
    for (int i = start + 1; i < m_count; ++i) {
        if (visit(i))
            return taken;
    }
    if (remembered >= 0 && !IsSelected(remembered)) {
        Toggle(remembered);
        ++taken;
    }
    return taken;
}

int CHandSelection::SelectJokers(int n, bool bigOnly)
{
    int taken = 0;
    const int passes[2] = {bigOnly ? 14 : 13, 14};
    for (int pass = 0; pass < (bigOnly ? 1 : 2); ++pass) {
        for (int i = m_count - 1; i >= 0 && taken < n; --i) {
            if (m_cards[i].rank == passes[pass] && !IsSelected(i)) {
                Toggle(i);
                ++taken;
            }
        }
    }
    return taken;
}

void CHandSelection::ClearDragMarks()
{
    for (int i = 0; i < m_count; ++i)
        m_cards[i].flags &= static_cast<uint8_t>(~kCardDragMark);
}

void CHandSelection::MarkRange(int lo, int hi)
{
    if (lo > hi) {
        const int t = lo;
        lo = hi;
        hi = t;
    }
    for (int i = lo < 0 ? 0 : lo; i <= hi && i < m_count; ++i)
        m_cards[i].flags |= kCardDragMark;
}

void CHandSelection::SelectMarked()
{
    for (int i = 0; i < m_count; ++i) {
        if ((m_cards[i].flags & kCardDragMark) != 0)
            m_cards[i].flags |= kCardSelected;
    }
    ClearDragMarks();
    CountSelected();
}

void ClickCard(CHandSelection& hand, int index, const ClickContext& context)
{
    if (index < 0 || index >= hand.Count())
        return;
    hand.ClearDragMarks();
    const int r = hand.Card(index).rank;
    int ownCount = hand.Count();
    CardEntry own[kCardAreaSize];
    for (int i = 0; i < ownCount; ++i)
        own[i] = hand.Card(i);
    const int k = CountCardsOfColumn(r, own, ownCount);

    if (context.leads) {
        if (r < 13 && hand.SelectedCount() == 0 && context.ownToPlay)
            hand.SelectColumn(r, k, index);
        else
            hand.Toggle(index);
        return;
    }

    const int n = Clamp52(context.trickCount);
    if (context.trick == nullptr || n == 0) {
        hand.Toggle(index);
        return;
    }
    const int j = CountCardsOfColumn(13, context.trick, n);
    const int ownSmall = CountCardsOfColumn(13, own, ownCount);
    const int ownBig = CountCardsOfColumn(14, own, ownCount);
    const int lastColumn = context.trick[n - 1].rank;

    if (r >= 13 || r <= lastColumn || k + ownSmall + ownBig < n || j > ownBig) {
        hand.Toggle(index);
        return;
    }
    if (hand.SelectedCount() == 0) {
        if (j > 0) {
            hand.SelectJokers(j, true);
            if (j + k < n) {
                hand.SelectJokers(n - j - k, false);
                hand.SelectColumn(r, k, index);
            } else {
                hand.SelectColumn(r, n - j, index);
            }
        } else if (n > k) {
            hand.SelectColumn(r, k, index);
            hand.SelectJokers(n - k, false);
        } else {
            hand.SelectColumn(r, n, index);
        }
        return;
    }
    if (hand.SelectedCount() >= n - 1) {
        hand.Toggle(index);
        return;
    }
    for (int i = 0; i < hand.Count(); ++i) {
        if (hand.IsSelected(i) && hand.Card(i).rank < 13) {
            hand.Toggle(index);
            return;
        }
    }
    int s14 = 0;
    for (int i = 0; i < hand.Count(); ++i) {
        if (hand.IsSelected(i) && hand.Card(i).rank == 14)
            ++s14;
    }
    if (j > s14)
        hand.SelectColumn(14, j - s14, hand.Count() - 1);
    const int s = hand.SelectedCount();
    if (s + k < n) {
        hand.SelectJokers(n - s - k, false);
        hand.SelectColumn(r, k, index);
    } else {
        hand.SelectColumn(r, n - s, index);
    }
}

int MarkDrag(CHandSelection& hand, int a, int b)
{
    if (a < 0 || b < 0 || a >= hand.Count() || b >= hand.Count())
        return -1;
    int from = a < b ? a : b;
    for (int i = 0; i < from; ++i) {
        if ((hand.Flags(i) & kCardDragMark) != 0) {
            from = i;
            break;
        }
    }
    hand.ClearDragMarks();
    if (a != b)
        hand.MarkRange(a, b);
    return from;
}

bool ReleaseOnHand(CHandSelection& hand, int a, int b, const ClickContext& context)
{
    if (a < 0 || a >= hand.Count())
        return false;
    if (a != b)
        hand.SelectMarked();
    else
        ClickCard(hand, a, context);
    return true;
}

void CtrlPress(CHandSelection& hand, int index)
{
    if (index < 0 || index >= hand.Count())
        return;
    if (hand.IsSelected(index)) {
        if (hand.SelectedCount() >= 1)
            hand.ClearSelection();
        return;
    }
    if (hand.SelectedCount() != 1)
        return;
    int other = -1;
    for (int i = 0; i < hand.Count(); ++i) {
        if (hand.IsSelected(i))
            other = i;
    }
    const int lo = other < index ? other : index;
    const int hi = other < index ? index : other;
    for (int i = lo; i <= hi; ++i) {
        if (!hand.IsSelected(i))
            hand.Toggle(i);
    }
}
