// The game dialogs' decisions that need no window: the save prompt's
// countdown, the set-title dialog's pages, rows and request throttle, which
// member links may be opened, and the setup dialog's enabling. The dialog
// classes beside this file are thin shells over it.
#pragma once

#include <cstdint>

namespace gamedlg {

// ---- Save prompt --------------------------------------------------------------------------

// Save rules of own and watched games.
enum SaveRule { kRuleAsk = 0, kRuleAutomatic = 1, kRuleNever = 2 };
constexpr int kPromptSeconds = 30;

// One tick of the prompt's countdown: while seconds are left the number to
// show (the count then goes down by one); at 0 the prompt times out.
struct CountdownTick {
    bool expired = false;
    int shown = 0;
};
CountdownTick TickCountdown(int& secondsLeft);

// ---- Set-title dialog ---------------------------------------------------------------------

constexpr int kTitlesPerPage = 5;
constexpr uint32_t kTitleRequestGapMs = 3000;
constexpr int kTitleCategories = 4;

// The record shown in row `row` of page `page` (newest first: count - 5p - 1
// downwards), or -1 when the row is empty.
int TitleRecordAt(int count, int page, int row);
// Number of pages: count / 5, plus one for a remainder (at least one).
int TitlePageCount(int count);
bool TitleNextEnabled(int count, int page);
bool TitlePrevEnabled(int page);

// The row whose click area (388, 100 + 40r)-(457, 139 + 40r) holds the
// point, or -1.
int TitleRowAt(int x, int y);
// The category icons of a row: `shown` icons 23 x 23, 23 apart, centred in
// the 133-pixel span from x = 239; x of icon i.
int TitleIconX(int shown, int i);
constexpr int TitleIconY(int row) { return 108 + 40 * row; }

// The set-title request's throttle: a request goes out when the chosen title
// is a record, is not the title in use, and the last request (0: none yet)
// was more than 3000 ms ago. Tick counts wrap; the difference is unsigned.
struct TitleRequestCheck {
    int chosen = -1;
    int current = -1;
    int count = 0;
    uint32_t now = 0;
    uint32_t lastRequest = 0;
};
bool ShouldSendTitleRequest(const TitleRequestCheck& check);

// Whether an address may be handed to the browser: "http://" or "https://"
// (letters in either case) followed by at least one character, and no
// control characters or blanks anywhere.
bool IsWebAddress(const char* address);

// ---- Setup dialog -------------------------------------------------------------------------

// The music check is usable only with sound effects on; the music-file
// picker only with both.
struct SetupEnabling {
    bool music = false;
    bool musicPicker = false;
};
SetupEnabling SetupEnablingFor(bool soundEffects, bool music);

}  // namespace gamedlg
