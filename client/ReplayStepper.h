// Replaying a saved game: the hand of a ".peg" file rebuilt on the board so
// that every seat's cards are known, then stepped through play by play or
// round by round, forwards and backwards.
//
// Opening reads the whole file into a new game and checks it before the
// current one is touched: besides what the .peg reader checks, every play
// names a seat 0-4 and at most 52 cards that lie inside its message, the
// deal and the score are long enough for what is read from them, the
// decisions move cards between real seats, no card count leaves 0-52, and no
// seat collects more than 52 cards over its plays and the cards left at the
// end. A file that fails keeps the game that was open, so nothing ever reads
// a released buffer and no hand entry is written past a seat's 52.
//
// Preparation writes the hands into the board's table state (through the
// board's card event, entry by entry), the card counts, the emperor and the
// guard, sorts the hands, and hands the decision messages to the table as if
// they came from the server. A step forward hands one play to the table; a
// step back asks the board to take the play back. Positions run from 0 (no
// play made) to the step count (every play made).
//
// The board and the table window are reached through ReplayTarget, so the
// stepper runs against the real board library in the native tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "MardavelState.h"
#include "PegFile.h"

namespace replay {

// Board events the replay raises.
constexpr int32_t kEvBoardMessage = 1;
constexpr int32_t kEvIdentity = 0x1008;
constexpr int32_t kEvSortOwnHand = 10040;
constexpr int32_t kEvLiveFlag = 10059;
constexpr int32_t kEvSetCard = 10060;
constexpr int32_t kEvTakeBack = 10061;

// Most plays in one round, one per seat.
constexpr int kRoundPlays = 5;
// The finishing place of a seat that never empties its hand.
constexpr int kNoPlace = 5;
// Card ids a saved hand may hold: the four packs and the two marked jokers,
// and the hidden card.
constexpr uint32_t kHighestCardId = 217;
constexpr uint32_t kHiddenCard = 255;

// What the table window shows for the hand's result (the result pictures).
enum ReplayOutcome {
    kOutcomeNone = -1,
    kOutcomeSideWonEven = 0,   // the recorded seat was emperor or guard: result code even
    kOutcomeSideWonOdd = 1,    // emperor or guard: odd code
    kOutcomeOtherOdd = 2,      // another seat: odd code
    kOutcomeOtherEven = 3,     // another seat: even code
    kOutcomeDraw = 4,          // result code 7
};
constexpr uint32_t kResultDraw = 7;

enum LoadStatus {
    kLoadOk = 0,
    kLoadTooShort,          // shorter than the header and the info
    kLoadBadFile,           // the .peg reader refused it (see fileStatus)
    kLoadBadDeal,           // a deal too short, or a card count above 52
    kLoadBadDecision,       // an emperor decision too short, with a seat out of range, or moving too many cards
    kLoadBadPlay,           // a play too short, with a seat out of range, over 52 cards or a bad card id
    kLoadBadScore,          // the score too short, its cards outside it, a bad guard seat or card id
    kLoadHandOver52,        // a seat collects more than 52 cards
};
const char* LoadStatusText(LoadStatus status);

// The buttons of the replay panel at a position.
struct ReplayButtons {
    bool restart = false;
    bool previousStep = false;
    bool previousRound = false;
    bool nextStep = false;
    bool nextRound = false;
    bool operator==(const ReplayButtons& o) const
    {
        return restart == o.restart && previousStep == o.previousStep && previousRound == o.previousRound &&
               nextStep == o.nextStep && nextRound == o.nextRound;
    }
};
ReplayButtons ButtonsAt(int position, int stepCount);

// The board and the table window, as the replay uses them.
class ReplayTarget
{
public:
    virtual ~ReplayTarget() = default;
    // The board's table state, written in place; null when there is none.
    virtual BoardGameState* State() = 0;
    // A board event; nonzero on success.
    virtual int32_t BoardEvent(int32_t code, int32_t a, int32_t b, void* param) = 0;
    // A recorded message handed to the table as if it came from the server.
    virtual void FeedMessage(uint8_t* message, size_t size) = 0;
    // The table window's per-seat play marks and its play counter.
    virtual void SetFirstPlayMark(int /*seat*/, bool /*on*/) {}
    virtual bool SecondPlayMark(int /*seat*/) { return false; }
    virtual void CountPlayBack() {}
    virtual void SetOutcome(int /*outcome*/) {}
    // After each preparation and step.
    virtual void Repaint() {}
    virtual void UpdateButtons(int /*position*/, const ReplayButtons& /*buttons*/) {}
};

// One play of the hand.
struct ReplayPlay {
    int seat = 0;
    int secondSeat = -1;              // the body's second word (the seat after it)
    std::vector<uint8_t> message;     // the whole message, in its own block
};

// A checked saved game.
struct ReplayGame {
    std::vector<uint8_t> bytes;       // the whole file
    peg::File file;
    std::vector<ReplayPlay> plays;    // the 0x26005 entries in file order
    peg::ReadStatus fileStatus = peg::kReadOk;
};

// Reads and checks a whole file. On failure `out` is left as it was.
LoadStatus LoadGame(std::vector<uint8_t> bytes, ReplayGame* out);

class CReplayStepper
{
public:
    // Takes a checked game (replacing the open one) and prepares it. The
    // caller checks first with LoadGame.
    void Take(ReplayGame&& game);
    // Forgets the game: no steps, every button off.
    void Clear();
    bool Loaded() const { return m_loaded; }
    const ReplayGame& Game() const { return m_game; }

    // Rebuilds the hand on the board from the game's start; position 0.
    bool Prepare(ReplayTarget& target, int sortModeSetting);
    void StepForward(ReplayTarget& target);
    void StepBack(ReplayTarget& target);
    void StepRound(ReplayTarget& target);
    void StepRoundBack(ReplayTarget& target);

    int Position() const { return m_position; }
    int StepCount() const { return static_cast<int>(m_game.plays.size()); }
    // The play at a position, null at the end (or outside).
    const uint8_t* StepMessage(int position) const;
    // Positions by message: the slot of a play (the end's null included), or
    // -1; the slot before it (-1 for the first or an unknown one); the slot
    // of the same seat's last earlier play (-1 for none or a null message).
    int IndexOf(const uint8_t* message) const;
    int PrevStepIndex(const uint8_t* message) const;
    int PrevStepOfSeat(const uint8_t* message) const;

    // From the last preparation.
    int CardCount(int seat) const { return m_cardCount[seat]; }
    int Collected(int seat) const { return m_collected[seat]; }
    int FinishingPlace(int seat) const { return m_place[seat]; }
    int EmperorSeat() const { return m_emperor; }
    int GuardSeat() const { return m_guard; }
    int Outcome() const { return m_outcome; }

private:
    void TakeBackAt(ReplayTarget& target, int index);
    void Finish(ReplayTarget& target, int buttonsPosition);

    bool m_loaded = false;
    ReplayGame m_game;
    int m_position = 0;
    int m_cardCount[kBoardSeats] = {};
    int m_collected[kBoardSeats] = {};
    int m_place[kBoardSeats] = {kNoPlace, kNoPlace, kNoPlace, kNoPlace, kNoPlace};
    int m_emperor = -1;
    int m_guard = -1;
    int m_outcome = kOutcomeNone;
};

// The replay outcome of a hand's result code for the recorded seat.
int OutcomeOf(uint32_t resultCode, bool recordedSeatOnEmperorSide);

}  // namespace replay
