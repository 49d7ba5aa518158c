// Where everything of the table goes: the seats' panels, portraits, names,
// hands and plays, the waiting look before the first hand, the button rows,
// and the small choices of the drawing (which card cell, which status
// picture, which role mark, which digits). Pure arithmetic on sizes the
// window measures; the window draws at these places.
//
// Coordinates are client pixels of the table window, x to the right and y
// down; a rectangle holds left, top, right and bottom. Halvings are integer
// divisions truncated toward zero, as C++ divides.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "MardavelState.h"
#include "SeatViews.h"

struct LayoutRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

struct LayoutSize {
    int cx = 0, cy = 0;
};

constexpr int kPortraitWidth = 100;
constexpr int kPortraitHeight = 120;
constexpr int kOtherCardStep = 15;
constexpr int kRaisedCardLift = 20;
// The own hand's step on a local table (a fixed step, whatever the hand).
constexpr int kLocalOwnStep = 13;

// ---- Table metrics and seat layout ---------------------------------------------------------

struct TableLayoutInput {
    LayoutRect area;             // the client rectangle
    LayoutSize dPlayer;          // "DPlayer", the own panel
    LayoutSize lPlayer;          // "LPlayer", a side panel
    bool smallCards = false;     // setting "SmallCard"
    int phase = 0;
    bool online = true;
    int ownCardCount = 0;
    int views[kTableSeats] = {0, 1, 2, 3, 4};   // seat at each view position
    // Measured in the drawing font: each seat's "%s[%s]" text, and "(99)".
    LayoutSize nameText[kTableSeats];
    int width99 = 0;
};

struct TableMetrics {
    LayoutRect area;
    int cardWidth = 71, cardHeight = 96;
    int ownStep = 15;
};

// Card size and own-hand step: 71 x 96, or 54 x 72 with small cards during a
// hand; a 15-pixel step for at most 34 cards in an area at least 700 wide,
// else 13.
TableMetrics ComputeTableMetrics(const TableLayoutInput& in);
// Fills the geometry of the five seat records (names are left alone).
TableMetrics LayoutTable(const TableLayoutInput& in, SeatLayoutRecord records[kTableSeats]);

// The rectangle of a seat's hand for n cards: for the own seat from 20
// pixels above the hand's top to its bottom; for other seats empty at the
// hand's position (right-hand seats moved left by 12 per card of a row plus 42).
LayoutRect HandRect(const SeatLayoutRecord& record, int view, int cardCount, const TableMetrics& m);
// The own card under a point: tested from the last card to the first, a
// selected card 20 pixels higher. -1 for none.
int HitTestHand(const LayoutRect& handRect, const CardEntry* hand, int count, const TableMetrics& m, int x, int y);

// A seat's last play: its rectangle and the left offset of each card in it.
struct PlayLayout {
    LayoutRect rect;
    std::vector<int> offsets;
};
PlayLayout LastPlayLayout(const SeatLayoutRecord& record, int view, const CardEntry* cards, int count,
                          const TableMetrics& m);
// The centre of the pass mark of a seat.
void PassMarkCentre(const SeatLayoutRecord& record, int view, int* x, int* y);

// The remaining-count box: the size of "LeftNumBK", 2 pixels beside the
// portrait box (left of it for right-hand seats), its bottom 2 pixels above
// the portrait's bottom.
LayoutRect RemainingCountBox(const SeatLayoutRecord& record, int view, LayoutSize leftNumBk);

// ---- The seat drawing ---------------------------------------------------------------------

// Whether the remaining-count box and figure of a seat are drawn.
struct RemainingCountInput {
    bool ownSeat = false;
    bool watching = false;
    uint32_t allowWatchingWord = 0;
    int threshold = 0;         // the few-cards threshold (0 off)
    int count = 0;
    bool warning = false;      // the seat's few-cards warning flag
    int flashStep = 0;
};
bool ShowRemainingCount(const RemainingCountInput& in);

// The status picture of a seat's flags (first match): left to automatic play
// (the board's mark 0x04) "TrustExit.bmp" 318, off line (0x40) "OffLine.bmp"
// 320, trust play (0x20) "TrustPlay.bmp" 317, ready (0x02) "Start.bmp" 319;
// 0 for none.
int StatusPictureId(uint32_t flags);

// Cards of another seat: one position per card.
struct CardPlace {
    int x, y;
};
// Online, between hands: rows of at most (n + q) / (q + 1), q = (n - 1) / 14,
// cards 12 apart, rows 15 apart, the first at the rectangle's top + 4 - 6q.
std::vector<CardPlace> OnlineOtherHandPlaces(const LayoutRect& handRect, int n);
// Local table: one row of n up to 12, else two rows of n / 2 rounded up,
// cards 15 apart, the second row 18 lower.
std::vector<CardPlace> LocalOtherHandPlaces(int handLeft, int handTop, int n);

// The waiting look before the first hand.
struct WaitingSeatPlaces {
    int frameLeft, frameTop;
    int markLeft, markTop;
    int titleLeft, titleTop;
    int statusLeft, statusTop;
    LayoutRect nameBox;
    int avatarLeft, avatarTop;
};
// w, h: "BigAvatarBk"; mark: "Ready"; titleWidth: "TitleBK01"; textHeight
// of the name in the drawing font.
WaitingSeatPlaces WaitingSeatLayout(const LayoutRect& area, int view, LayoutSize bigAvatar, LayoutSize mark,
                                    int titleWidth, int textHeight);
// The spacing between a side's two frames and the own frame's distance from
// the bottom, by the area's height.
void WaitingSpacing(int areaHeight, int frameHeight, int* spacing, int* gap);

// The own start button in the waiting look: centred in the area, its bottom
// 35 pixels above the own frame.
void WaitingStartButton(const LayoutRect& area, int frameTop, LayoutSize button, int* left, int* top);

// The playing look. The status mark kept in the seat record: own seat
// (portrait + 10, portrait top - 4), left seats (+ 58, + 143), right seats
// (+ 42, + 143).
void PlayingStatusMark(const SeatLayoutRecord& record, int view, int* left, int* top);
// The status picture's top-left: 6 below the portrait box, 35 right of it
// for the own and left seats, 49 left of it for the right seats.
void StatusPicturePlace(const SeatLayoutRecord& record, int view, int* left, int* top);
// The finishing-order mark beside the portrait box: ending 8 left of it for
// the right seats, starting 5 right of it for the others; its top the box's
// bottom less twice the mark's height less 6.
void FinishMarkPlace(const SeatLayoutRecord& record, int view, LayoutSize mark, int* left, int* top);

// The own seat's trust-play band: the own panel below its top 142 pixels;
// the text centred across the band with its bottom on the band's middle; the
// digit cell at the text's left + 91 and top + 6.
struct TrustBandPlaces {
    LayoutRect band;
    int textLeft, textTop;
    int digitLeft, digitTop;
};
TrustBandPlaces TrustBandLayout(int ownPanelLeft, int ownPanelTop, LayoutSize dPlayer, LayoutSize text);

// A seat's turn-clock bar (frame size given): the own seat's 4 pixels above
// its portrait box, another seat's 4 pixels below its panel, at the portrait
// box's left (the right seats' bar ends at the box's right edge).
LayoutRect ClockBarRect(const SeatLayoutRecord& record, int view, LayoutSize frame, int panelHeight);

// ---- Pictures and figures -----------------------------------------------------------------

// A card sheet's cell: 13 columns and 5 rows of equal cells, the sheet's
// width and height divided by them (integer division).
inline LayoutSize CardSheetCell(int sheetWidth, int sheetHeight) { return LayoutSize{sheetWidth / 13, sheetHeight / 5}; }
// The card sheet cell of an entry: column and row (13 x 5 cells). Jokers are
// columns 0 and 1 of row 4, the back column 2 of row 4; a hidden card, a
// card drawn face down, or an entry outside the sheet draws the back.
void CardCell(const CardEntry& entry, bool faceDown, int* column, int* row);
// The rank written on the designated card: "3".."10", "J", "Q", "K", "A", "2".
std::string DesignatedRankText(int column);
// The suit quarter of "Color" for a card number, or -1 (jokers, none).
int DesignatedSuitQuarter(int cardNumber);

// The digits of the played-count figure: one digit at +75 below 10, the tens
// at +70 and the units at +86 from 10 (clamped to 99).
struct DigitPlace {
    int digit;
    int offset;
};
std::vector<DigitPlace> PlayedCountDigits(int count);
// A digit cell of a ten-cell strip: the count clamped to 0-9.
inline int DigitCell(int value) { return value < 0 ? 0 : (value > 9 ? 9 : value); }

// The role mark of a seat (Part of the table's marks): 0 none, 1
// "HouseCarlSign2", 2 "HouseCarlSign", 3 "FarmerSign", 4 "kickHouseCarl.bmp",
// 5 "kickFarmer.bmp". Only in phases 0, 2 and 3.
int RoleMark(const BoardGameState& s, int seat);
// The finishing-order mark 1-5 of a place, or 0 for a place outside 1-5.
inline int FinishMark(int place) { return place >= 1 && place <= 5 ? place : 0; }

// ---- Button rows ---------------------------------------------------------------------------

struct ButtonPlace {
    int id;
    int x, y;
};

// The tool buttons (each w x h): lower row 213, 208, 211, 332 from the right,
// its top the table's bottom less 147 less h; the upper row 210, 212, 209,
// 330, 10 + h above it.
std::vector<ButtonPlace> ToolButtonPlaces(int width, int tableBottom, int w, int h);
// The left edge of a row of n buttons of width w, 6 apart.
int DecisionRowLeft(int areaWidth, int n, int w);

// The decision buttons of the table's phase.
struct DecisionLayoutInput {
    int areaWidth = 0;
    int areaBottom = 0;
    int phase = 0;
    LayoutSize start, ranking, titles, emperor, guard, kick, pass;
    bool simultaneous = false;     // byte 3873 and game flag 0x1
    bool ownDecides = false;       // the own seat is the seat at 3680
    bool option12 = false;
    bool bothMarked = false;       // query 10056 answered 1
    int roomSetting1 = 0, roomSetting3 = 0;
};
std::vector<ButtonPlace> DecisionButtonPlaces(const DecisionLayoutInput& in);

// The button bar "BtnBK": two rows; the lower row's top is the area's bottom
// - b / 2 - 147 (b the height of the "Setup" picture), the upper one b + 10
// higher. Right-aligned at natural size while the first hand is pending or
// the bar fits right of its least left edge (own panel + 525, + 485 while
// pending); otherwise from that edge, the picture's middle strip stretched.
struct ButtonBarLayout {
    int lowerTop, upperTop;
    int left;
    bool stretched;
};
ButtonBarLayout ButtonBar(const LayoutRect& area, LayoutSize bar, int setupHeight, int ownPanelLeft,
                          bool firstHandPending);
