// Where the table's marks go: the button bar's pictures, the emperor's mark,
// the role marks beside the portraits, the played-count figure between the
// left seats and the designated card's suit beside the own portrait. Pure
// arithmetic on the sizes of the pictures; the table window draws there.
// Same conventions as TableLayout.h (client pixels, integer halvings).
#pragma once

#include "TableLayout.h"

// The emperor's mark: the remaining-count box's top-left moved 3 pixels
// right and 84 up (36 less the portrait's height).
void EmperorMarkPlace(const SeatLayoutRecord& record, int view, LayoutSize leftNumBk, int* left, int* top);

// A role mark (all drawn at the size of "FarmerSign"): 5 pixels right of the
// portrait box, for the right-hand seats ending 5 pixels left of it; its top
// the box's top plus twice the mark's height less 27.
void RoleMarkPlace(const SeatLayoutRecord& record, int view, LayoutSize farmerSign, int* left, int* top);

// The played-count figure: shown online while a play lies on the table and
// the seat that made it is not the seat to act.
bool PlayedCountShown(const BoardGameState& s, bool online);
// "TONumBK" centred across the area between the two left seats' panels; the
// digits of "TONum" (ten cells) centred on its height.
struct PlayedCountPlaces {
    int backLeft, backTop;
    int digitTop;
    int cellWidth;
};
PlayedCountPlaces PlayedCountLayout(int areaWidth, int upperLeftPanelTop, int lowerLeftPanelTop, int lPlayerHeight,
                                    LayoutSize back, LayoutSize digits);

// The designated card's suit: a quarter of "Color" (four columns) at its
// natural size, its left a quarter width plus 10 left of the own portrait
// box, its top the box's top; the rank in a 20 x 25 box 6 pixels right of
// the quarter's centre and 4 below its top.
struct DesignatedCardPlaces {
    LayoutRect quarter;   // on the table
    int sourceLeft;       // in "Color"
    LayoutRect rank;
    bool darkRed;         // rows 0 and 2
};
// False when no suit quarter belongs to the card (a joker, a number outside
// the packs).
bool DesignatedCardLayout(int portraitLeft, int portraitTop, LayoutSize color, int cardNumber,
                          DesignatedCardPlaces* out);
// The card's column of the sheet (rank 0-12) of a card number.
inline int DesignatedCardColumn(int cardNumber) { return (cardNumber % kPackCards) % 13; }

// Who passed in the trick on the table. The board announces every play and
// pass of a seat (callback 10010); a seat's pass stands until the seat plays,
// a new trick is led or the next deal comes.
class PassedSeats
{
public:
    // An announcement of the board for a seat: a pass marks it, a play
    // clears it; other announcements change nothing.
    void Announce(uint32_t announcement, int seat);
    // A play or pass of `seat` was applied (callback 10006). When the turn
    // went back to the seat that leads (every other seat passed, or the
    // leader passed its lead on), a new trick is led: every mark goes.
    void Applied(const BoardGameState& s, int seat);
    void Clear();
    bool Passed(int seat) const { return seat >= 0 && seat < kTableSeats && m_passed[seat] != 0; }

private:
    uint32_t m_passed[kTableSeats] = {};
};

// The pass mark of a seat: it passed, still holds cards and shows no play;
// online never for the seat to act (its turn took its last play away).
bool PassMarkShown(const BoardGameState& s, const PassedSeats& passed, int seat, bool online);

// The theme's background picture (mode 0) in the table area. In an area
// larger than the picture both ways the picture's top-left 100 x 100 is
// stretched over the area first and the picture drawn over it at its
// natural size, centred, from its pixel (1, 1): its first row and column
// are left out, so nothing outside the picture is read. In any other area
// the whole picture is stretched over it.
struct BackgroundPlan {
    bool centred;
    LayoutRect under;        // the 100 x 100 corner stretched here (centred only)
    LayoutRect picture;      // where the picture's pixels go
    int sourceLeft, sourceTop;
};
BackgroundPlan PlanThemeBackground(const LayoutRect& area, LayoutSize picture);
