// Small decisions of the table window that need no window: which chat face
// may be shown and how its tip points, the trust-play band's text and digit,
// whether asking for trust play needs a confirmation, the previous trick
// kept for the previous-trick command, the pace of drag steps over the own
// hand, and where the designated card's tip area lies.
#pragma once

#include <cstdint>

#include "MardavelState.h"

// ---- Chat faces ----------------------------------------------------------------------

// Face lists of message 0x26011: 1 the large faces (0-29), 2 the small ones (0-65).
constexpr uint32_t kFaceListLarge = 1;
constexpr uint32_t kFaceListSmall = 2;
constexpr uint32_t kLargeFaces = 30;
constexpr uint32_t kSmallFaces = 66;

struct FaceMessage {
    uint32_t face = 0;
    uint32_t seat = 0;
    uint32_t list = 0;
};
// The face message (header and 12-byte body, `size` bytes in all): false
// when it is short, or its seat, list or face number is out of range.
bool ParseFaceMessage(const uint8_t* message, size_t size, FaceMessage* out);
// Message 0x26011 with the chosen face, the own seat and the list.
constexpr size_t kFaceMessageSize = 8 + 12;
void BuildFaceMessage(uint32_t face, uint32_t seat, uint32_t list, uint8_t out[kFaceMessageSize]);

// The two flags of the face tip: pointing from the own seat, and opening
// to the left (the own seat and view positions 3 and 4).
struct FaceTipFlags {
    bool ownSeat;
    bool second;
};
FaceTipFlags FaceTipFlagsFor(int seat, int ownSeat, int viewPosition);

// ---- Trust play ----------------------------------------------------------------------

// The band over the own seat in trust play, for n = times - allowed + 1
// (from the server's counters): n = 0 shows the second text and a disabled
// cancel button; otherwise the first text, the digit n (clamped to 9; none
// when n is negative) and the cancel button.
struct TrustBand {
    bool secondText = false;
    int digit = -1;               // cell of the ten-digit strip, -1 none
    bool cancelEnabled = true;
};
TrustBand TrustBandFor(int times, int allowed);

// Asking for trust play before the next-to-last hand of a match of L hands
// (the hand on, counted from 1, below L - 1) asks the user first; ending it
// never does.
bool TrustPlayNeedsConfirm(bool trustOn, int handsPerMatch, int handNumber);

// ---- Previous trick -------------------------------------------------------------------

// What each seat showed on the table in the trick before the current one:
// the table state's last-plays block (five areas of 52 entries, 1,300
// bytes) and the counts. Taken when a new trick starts; shown by swapping
// it into the state and back.
class CPreviousTrick
{
public:
    bool Valid() const { return m_valid; }
    void Clear() { m_valid = false; }
    // Keeps the state's last plays as the previous trick.
    void Capture(const BoardGameState& s);
    // Puts the previous trick into the state, keeping the current one.
    bool ShowIn(BoardGameState& s);
    // Puts the current trick back.
    void Restore(BoardGameState& s);
    bool Showing() const { return m_showing; }

private:
    CardEntry m_cards[kBoardSeats][kCardAreaSize] = {};
    uint32_t m_counts[kBoardSeats] = {};
    CardEntry m_savedCards[kBoardSeats][kCardAreaSize] = {};
    uint32_t m_savedCounts[kBoardSeats] = {};
    bool m_valid = false;
    bool m_showing = false;
};
static_assert(sizeof(CardEntry) * kBoardSeats * kCardAreaSize == 1300, "the last-plays block is 1,300 bytes");

// ---- Drag over the own hand -------------------------------------------------------

// Drag steps are taken at most once per 50 ms.
constexpr uint32_t kDragStepMs = 50;
class CDragPace
{
public:
    explicit CDragPace(uint32_t start = 0) : m_last(start) {}
    // True (and the stamp renewed) when the step comes 50 ms or more after
    // the last one taken; the tick count may wrap.
    bool Take(uint32_t now);

private:
    uint32_t m_last;
};

// ---- The designated card's tip --------------------------------------------------

// 60 by 23 pixels, starting 70 pixels left of the own portrait and at its
// vertical middle; in the table window's coordinates (the tip itself is
// placed in screen coordinates).
struct TipArea {
    int left, top, right, bottom;
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};
TipArea DesignatedCardTipArea(int portraitLeft, int portraitTop, int portraitHeight);

// Whether the table shows the designated card: its byte set, not in the
// emperor decision, and a card named.
bool DesignatedCardShown(const BoardGameState& s);
enum TipAction { kTipKeep = 0, kTipShow, kTipHide };
// A mouse move: the tip shows on entering the area while the card is shown,
// and hides on leaving it or when the card is no longer shown.
TipAction DesignatedTipStep(bool tipShown, bool cardShown, bool inArea);
