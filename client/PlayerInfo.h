// The seated players' information from the server, without a window: the
// 124-byte record, the payload that carries them, the five records kept by
// seat, the texts of the information tip and of the own strength line, the
// games-needed counter's choice, the throttles of two user actions, web
// address templates, the lobby's server sections and the check that only
// web addresses are opened.
//
// Everything the server sends is read within the payload's real length, and
// its texts are cut at their fields' ends before they are used.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// ---- The record -------------------------------------------------------------------------------

#pragma pack(push, 1)
struct PlayerInfoRecord {
    char userName[20];        // zero-terminated
    int32_t ratedGames;       // the strength is shown only above 0
    int32_t gamesNeeded;      // before ranking
    int32_t score100;         // strength x 100
    int32_t standing;         // once ranked
    int32_t seasonGames;
    uint8_t unread1[4];
    int32_t emperorGames, emperorWins;
    int32_t guardGames, guardWins;
    int32_t revoltGames, revoltWins;
    uint32_t titleId;         // 0: none
    char title[40];           // zero-terminated; "**" splits it into parts
    int32_t titleLevel;       // 1..10
    int32_t honour;
    uint8_t unread2[4];
};
#pragma pack(pop)
static_assert(sizeof(PlayerInfoRecord) == 124, "player information record is 124 bytes");
static_assert(offsetof(PlayerInfoRecord, emperorGames) == 44, "player information layout");
static_assert(offsetof(PlayerInfoRecord, titleId) == 68, "player information layout");
static_assert(offsetof(PlayerInfoRecord, title) == 72, "player information layout");
static_assert(offsetof(PlayerInfoRecord, titleLevel) == 112, "player information layout");
static_assert(offsetof(PlayerInfoRecord, honour) == 116, "player information layout");

constexpr int kInfoSeats = 5;

// The records of a payload {u32 n, n records}, or of whole records alone
// (the referee's announcement, told apart by its size, a multiple of 124):
// as many as the payload really holds (a count beyond it is cut to it), each
// with its name and title ending inside their fields. False when not even
// the count is there.
bool ParsePlayerInfoPayload(const uint8_t* payload, size_t size, std::vector<PlayerInfoRecord>* out);

// The five seats' records.
class CPlayerInfoTable
{
public:
    // Matches every record of the payload to the seat whose player name
    // equals its first 20 bytes; unmatched records are dropped. A count of
    // 5 marks all five received. False for a payload without a count.
    bool Apply(const uint8_t* payload, size_t size, const char* const seatNames[kInfoSeats]);
    const PlayerInfoRecord& Record(int seat) const;
    bool Has(int seat) const { return seat >= 0 && seat < kInfoSeats && m_has[seat]; }
    bool AllReceived() const { return m_allReceived; }
    void SetTitleId(int seat, uint32_t titleId);

private:
    PlayerInfoRecord m_records[kInfoSeats] = {};
    bool m_has[kInfoSeats] = {};
    bool m_allReceived = false;
};

// ---- Texts ------------------------------------------------------------------------------------

// The text without every "**".
std::string StripTitleMarks(const std::string& title);
// Width of a text in the tip's font, in pixels.
using TextWidthFn = std::function<int(const std::string&)>;
// The tip's title: cut after the character (double-byte characters kept
// whole) at which the width reaches 80 pixels, and ".." appended.
std::string FitTipTitle(const std::string& title, const TextWidthFn& width);
constexpr int kTipTitleWidth = 80;
// The information tip's lines.
std::string FormatPlayerInfo(const PlayerInfoRecord& record, const TextWidthFn& width);
// The own strength line: "实力分:%0.2f   荣誉值:%d", and the title line.
std::string OwnStrengthText(const PlayerInfoRecord& record);
std::string OwnTitleText(const PlayerInfoRecord& record);
// The task tip from the four stages' minutes and the stages reached.
std::string TaskTipText(const uint32_t minutes[4], int stagesReached);

// ---- The games-needed counter -------------------------------------------------------------------

enum CounterKind { kCounterNone, kCounterNeeded, kCounterStanding };
struct CounterChoice {
    CounterKind kind = kCounterNone;
    int number = 0;
};
// From the own record's games needed, season games and standing.
CounterChoice ChooseGamesCounter(int32_t needed, int32_t played, int32_t standing);
// The title banner's level (1..10); 0 when the record's level is out of range.
int BannerLevel(int32_t level);
// The title banner's text: each "**" part of the title (empty parts left
// out), each part as its characters, one a line; a two-byte character of
// code page 936 stays whole (a lead byte at the end stands alone).
std::vector<std::vector<std::string>> BannerParts(const std::string& title);
// The banner's font size for a part of n characters: 28 up to three, 22 for
// four, 19 for five, then 2 less for each character more, at least 10.
int BannerFontSize(int characters);

// ---- Throttles ----------------------------------------------------------------------------------

// An action allowed once per interval of tick counts (32-bit, wrapping).
class CThrottle
{
public:
    explicit CThrottle(uint32_t intervalMs) : m_interval(intervalMs) {}
    // True (and stamped) when no accepted call lies less than the interval back.
    bool Accept(uint32_t now);
    void Stamp(uint32_t now);

private:
    uint32_t m_interval;
    uint32_t m_last = 0;
    bool m_stamped = false;
};
constexpr uint32_t kUserActionIntervalMs = 1000;

// ---- Web addresses ------------------------------------------------------------------------------

// Only "http://" and "https://" addresses (any case, something after the
// scheme, no control characters or quotes) are handed to the shell.
bool IsOpenableWebAddress(const std::string& address);
// Replaces every occurrence of `what`.
std::string ReplaceAll(std::string text, const std::string& what, const std::string& with);
// The template with "%UserName%" replaced by the escaped name and, when
// "%Ticket%" occurs, that by the ticket fetched once; unchanged when no user
// is logged in (empty name).
std::string ExpandUrlTemplate(const std::string& address, const std::string& userName,
                              const std::string& escapedUserName, const std::function<std::string()>& fetchTicket);

// The lobby's server sections of "LangRsc.ini": the port after "=" on the
// "P80Port" section's first entry line (2000 when absent or 0), and the
// "RegisterIP" entries: a name and its comma-separated addresses. The
// sections come as the platform hands them: lines ending in NUL, an empty
// line last.
constexpr uint32_t kDefaultRegisterPort = 2000;
uint32_t ParseRegisterPort(const char* section, size_t size);
struct RegisterEntry {
    std::string line;                    // the whole entry line
    std::vector<std::string> addresses;
};
std::vector<RegisterEntry> ParseRegisterEntries(const char* section, size_t size);

// The lobby's room record: 128 bytes at 23,720 of its 42,536-byte mapping.
constexpr size_t kRoomMappingSize = 42536;
constexpr size_t kRoomRecordAt = 23720;
constexpr size_t kRoomRecordBytes = 128;
