// The table window's tool arithmetic without windows: the options the setup
// dialog exchanges with the table and what a change of them asks the table
// to do, the personal-data value, the music rule and the table options block.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "TableLayout.h"
#include "TableSettings.h"

// The options as the setup dialog shows them and hands them back.
struct TableOptions {
    TableSettings settings;   // as the window holds them ("Settings")
    int backgroundMode = 0;   // 0 the theme's picture, 1 "BkColor", 2 the picture "BkBmp"
    int playDirection = 0;    // 1 shows the seats the other way round
    int allowWatch = 0;       // the own seat lets others watch
    int saveAction = 0;       // own hands: 0 ask, 1 automatic, 2 never
    int spSaveAction = 0;     // watched hands, likewise
    std::string autoSavePath;
    int personalChoice = 0;   // show personal data (from the next start)
};

// What the table does after the dialog ended with OK.
struct OptionsChange {
    // An own picture chosen without a file: the whole change is dropped.
    bool cancelled = false;
    // The own picture's file changed and is loaded (a file that cannot be
    // loaded drops the whole change too).
    bool loadPicture = false;
    // The table is laid out and composed again.
    bool repaint = false;
    // The music is started or stopped by the new options.
    bool restartMusic = false;
    // The play direction turned over: the seat views and the button follow.
    bool direction = false;
    // The own seat's watching permission changed: the board tells the server.
    bool watching = false;
};
OptionsChange CompareOptions(const TableOptions& before, const TableOptions& after);

// "PersonalData" is 1 (shown), -1 (hidden) or 0 (not known); the dialog's
// check box holds the choice 1 or 0.
inline int PersonalDataChoice(int personalData) { return (personalData + 1) / 2; }
inline int PersonalDataFromChoice(int choice) { return choice != 0 ? 1 : -1; }

// The background music plays only with sound effects on as well.
inline bool MusicPlays(int music, int soundEffects) { return music != 0 && soundEffects != 0; }


// The table options of message 0x80026023 (the whole message, `size` bytes
// received): fifteen values from body offset 4. Only whole values inside
// the body are taken and the rest are 0 (the server's summary is 60 bytes,
// one value short of the fifteen). False, with `out` untouched, for a
// message without a complete header or body.
constexpr int kTableOptionValues = 15;
bool ReadTableOptions(const uint8_t* message, size_t size, uint32_t out[kTableOptionValues]);
