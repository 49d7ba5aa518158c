// Who sits where on the table, and what the room told the client at the join.
//
// Seats are numbered 0-4 as the board numbers them; view positions 0-4 are
// places on the screen: 0 the own place at the bottom, then lower left (1),
// upper left (2), upper right (3) and lower right (4). The play direction
// decides which way round the other seats follow the own one.
//
// The lobby's chairs (zero-based once the launch record is read) 0-4 are
// the five seats; 5-9 watch seats 0-4.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int kTableSeats = 5;
constexpr int kRoomSettingCount = 10;

// Views of the left side (positions 1 and 2) and of the right side (3, 4).
inline bool IsLeftView(int view) { return view == 1 || view == 2; }
inline bool IsRightView(int view) { return view == 3 || view == 4; }

// The seat shown at each view position for the own chair c of n players:
// direction 0 puts c+1..c+4 at positions 1..4, any other direction c+4..c+1
// (all modulo n). A count below 1 is taken as five.
void ComputeSeatViews(int ownChair, int playerCount, int playDirection, int views[kTableSeats]);
// The view position of a seat in such a mapping, or -1.
int ViewOfSeat(const int views[kTableSeats], int seat);

// A launch chair (zero-based): a seat for chairs 0-4, watching seat chair - 5
// for chairs 5-9. FALSE for any other chair.
bool ResolveLaunchChair(uint32_t chair, bool* watching, int* seat);

// The ten room settings from the room's option text: decimal values
// separated by commas, at most ten read, missing values 0. Then: a tenth
// value of 1 becomes personalData; a tenth value below 1 clears the first
// eight; a sixth value of 0 clears the seventh.
void ParseRoomSettings(const char* text, size_t length, int personalData, int32_t settings[kRoomSettingCount]);

// One seat's record of the application: the names (copied, always
// terminated), the chair word, and the places the table layout and the seat
// drawing write.
struct SeatLayoutRecord {
    char userName[20];
    char nickName[20];
    uint16_t chair;
    uint16_t reserved;
    int32_t portraitLeft, portraitTop;
    int32_t handLeft, handTop;
    int32_t nameLeft, nameTop;
    int32_t playedLeft, playedTop;
    int32_t nameWidth, nameHeight;
    int32_t panelLeft, panelTop;
    int32_t markLeft, markTop;
};
static_assert(sizeof(SeatLayoutRecord) == 100, "seat record is 100 bytes");

// One joined player as the seat records take it.
struct SeatPlayer {
    const char* userName;
    const char* nickName;
    uint32_t chair;
};

// Fills the five seat records from the players: each player goes to the
// record of his chair (chairs of 5 and above, and second players of one
// chair, are left out); records of empty chairs keep empty names. Layout
// fields are cleared.
void FillSeatRecords(const SeatPlayer* players, int count, SeatLayoutRecord records[kTableSeats]);
