// Picking the own cards: a click picks a card or a whole group that can beat
// the play on the table, a drag selects every card it passed, a Ctrl click
// extends or clears the selection.
//
// CHandSelection works on a copy of the own hand's card entries (the board's
// table state is written back by the caller through its one writer, entry by
// entry, from Flags()). Selection is flag 0x04 of an entry, the drag mark
// flag 0x80; the card's column (byte 1) is 0-12 for the ranks, 13 the small
// and 14 the big joker; flag bits 0 and 1 mark the two marked cards.
#pragma once

#include <cstdint>

#include "MardavelState.h"

constexpr uint8_t kCardDragMark = 0x80;
constexpr uint8_t kCardMarkBits = 0x03;

// Cards of a column among the entries.
int CountCardsOfColumn(int column, const CardEntry* entries, int count);

class CHandSelection
{
public:
    CHandSelection(const CardEntry* hand, int count);

    int Count() const { return m_count; }
    const CardEntry& Card(int index) const { return m_cards[index]; }
    bool IsSelected(int index) const { return (m_cards[index].flags & kCardSelected) != 0; }
    int SelectedCount() const { return m_selected; }
    // Counts the selected cards again (after drag marks became selections).
    int CountSelected();

    // Turns a card's selection over.
    void Toggle(int index);
    void ClearSelection();
    // Selects up to n unselected cards of the column, walking from start
    // down to 0 and then up from start + 1; below column 13 a marked card
    // among the first eight is passed over and taken only when the walk
    // found too few. The number newly selected; 0 for a column above 14, n
    // of 0 or less, or a start outside the hand.
    int SelectColumn(int column, int n, int start);
    // From the last card: up to n small jokers, then big ones for the rest
    // (bigOnly: big jokers only). The number selected.
    int SelectJokers(int n, bool bigOnly);

    void ClearDragMarks();
    // Marks the cards from index lo to hi (both included).
    void MarkRange(int lo, int hi);
    // Every card with the drag mark becomes selected; the marks are cleared.
    void SelectMarked();

    // The flags of every entry, for writing back.
    uint8_t Flags(int index) const { return m_cards[index].flags; }

private:
    CardEntry m_cards[kCardAreaSize];
    int m_count = 0;
    int m_selected = 0;
};

// A click on card `index` of the own hand (pressed and released on it).
struct ClickContext {
    bool leads = false;            // the seat to play made the play to beat
    bool ownToPlay = false;        // the own seat is the seat to play
    const CardEntry* trick = nullptr;   // the play to beat
    int trickCount = 0;
};
void ClickCard(CHandSelection& hand, int index, const ClickContext& context);

// A drag step, pressed on card a and now over card b: the drag marks run
// from one to the other, both included (none when they are the same card).
// Returns the first card whose look changed (the lower of the new range and
// of the cards marked before), from which the hand is drawn again; -1 when
// a or b is not a card and nothing changed.
int MarkDrag(CHandSelection& hand, int a, int b);
// The left button released over card b (-1 outside the hand) after a press
// on card a: a drag (b differs from a) selects the marked cards, a click
// (b equals a) picks as ClickCard. False, and nothing changed, when the
// press hit no card.
bool ReleaseOnHand(CHandSelection& hand, int a, int b, const ClickContext& context);
// A press with Ctrl during the play: on a selected card it clears the
// selection; on an unselected card while exactly one card is selected it also
// selects every card between the two.
void CtrlPress(CHandSelection& hand, int index);
