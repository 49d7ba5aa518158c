// What a change of the table's options asks the table to do, the
// personal-data value, the music rule and the table options block.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "TableTools.h"

namespace {

TableOptions Base()
{
    TableOptions o;
    o.backgroundMode = 0;
    o.settings.bkColor = 0x8000;
    o.settings.bkBmp = "C:\\pictures\\old.bmp";
    o.settings.tile = 1;
    o.settings.soundEf = 1;
    o.settings.music = 1;
    o.settings.musicFile = "C:\\music\\a.mid";
    o.playDirection = 0;
    o.allowWatch = 1;
    return o;
}

std::string Flags(const OptionsChange& c)
{
    std::string s;
    s += c.cancelled ? "c" : "";
    s += c.loadPicture ? "l" : "";
    s += c.repaint ? "r" : "";
    s += c.restartMusic ? "m" : "";
    s += c.direction ? "d" : "";
    s += c.watching ? "w" : "";
    return s;
}

TEST(TableOptions, WhatAChangeAsksForAndWhenItIsDropped)
{
    struct Case {
        const char* what;
        void (*edit)(TableOptions&);
        // c cancelled, l picture loaded, r repaint, m music restarted,
        // d direction turned, w watching sent to the board
        const char* change;
    };
    const Case cases[] = {
        {"nothing changed", [](TableOptions&) {}, ""},
        {"colour mode", [](TableOptions& o) { o.backgroundMode = 1; }, "r"},
        {"another colour", [](TableOptions& o) { o.settings.bkColor = 0x112233; }, "r"},
        {"own picture, new file",
         [](TableOptions& o) {
             o.backgroundMode = 2;
             o.settings.bkBmp = "C:\\b.bmp";
         },
         "lr"},
        {"own picture chosen without a file drops everything",
         [](TableOptions& o) {
             o.backgroundMode = 2;
             o.settings.bkBmp = "";
             o.settings.music = 0;
             o.playDirection = 1;
         },
         "c"},
        {"own picture, same file: only the mode", [](TableOptions& o) { o.backgroundMode = 2; }, "r"},
        {"a new file while the theme's picture is shown is kept, not loaded",
         [](TableOptions& o) { o.settings.bkBmp = "C:\\c.bmp"; }, ""},
        {"tiling in the theme's mode", [](TableOptions& o) { o.settings.tile = 0; }, ""},
        {"tiling in the own picture's mode",
         [](TableOptions& o) {
             o.backgroundMode = 2;
             o.settings.tile = 0;
         },
         "r"},
        {"small cards", [](TableOptions& o) { o.settings.smallCard = 1; }, "r"},
        {"music off", [](TableOptions& o) { o.settings.music = 0; }, "m"},
        {"another music file while on", [](TableOptions& o) { o.settings.musicFile = "C:\\b.mid"; }, "m"},
        {"another music file while off",
         [](TableOptions& o) {
             o.settings.music = 0;
             o.settings.musicFile = "C:\\b.mid";
         },
         "m"},
        {"sound effects alone", [](TableOptions& o) { o.settings.soundEf = 0; }, ""},
        {"play direction", [](TableOptions& o) { o.playDirection = 1; }, "rd"},
        {"watching", [](TableOptions& o) { o.allowWatch = 0; }, "w"},
    };
    for (const Case& c : cases) {
        TableOptions after = Base();
        c.edit(after);
        EXPECT_EQ(Flags(CompareOptions(Base(), after)), c.change) << c.what;
    }
}

TEST(TableOptions, PersonalDataAndMusic)
{
    // "PersonalData" 1 shown, -1 hidden, 0 unknown: (p + 1) / 2 and back.
    EXPECT_EQ(PersonalDataChoice(1), 1);
    EXPECT_EQ(PersonalDataChoice(-1), 0);
    EXPECT_EQ(PersonalDataChoice(0), 0);
    EXPECT_EQ(PersonalDataFromChoice(1), 1);
    EXPECT_EQ(PersonalDataFromChoice(0), -1);
    EXPECT_TRUE(MusicPlays(1, 1));
    EXPECT_FALSE(MusicPlays(1, 0)) << "no music without sound effects";
    EXPECT_FALSE(MusicPlays(0, 1));
}

std::vector<uint8_t> OptionsMessage(uint32_t claimed, uint32_t bodyBytes)
{
    std::vector<uint8_t> m(12 + bodyBytes);
    const uint32_t id = 0x80026023, result = 1;
    memcpy(&m[0], &id, 4);
    memcpy(&m[4], &claimed, 4);
    memcpy(&m[8], &result, 4);
    for (uint32_t i = 0; i < bodyBytes / 4; i++) {
        const uint32_t v = 100 + i;   // body word i
        memcpy(&m[12 + 4 * i], &v, 4);
    }
    return m;
}

TEST(TableOptionsMessage, ValuesFromBodyOffset4AndNoneFromOutsideTheBody)
{
    struct Case {
        const char* what;
        uint32_t claimed, present;   // body length in the header, body bytes received
        size_t cut;                  // bytes of the message kept (0: all)
        bool read;
        int values;                  // values taken; value i is body word i + 1 = 101 + i
    };
    const Case cases[] = {
        {"the server's 60-byte summary: fourteen values, the last 0", 60, 60, 0, true, 14},
        {"a 64-byte body: all fifteen", 64, 64, 0, true, 15},
        {"a longer body: fifteen, the rest ignored", 80, 80, 0, true, 15},
        {"an empty body: all 0", 0, 0, 0, true, 0},
        {"a body of 6 bytes: no whole value after the first word", 6, 6, 0, true, 0},
        {"a body shorter than its length says", 64, 40, 0, false, 0},
        {"the header alone, cut", 64, 64, 10, false, 0},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> m = OptionsMessage(c.claimed, c.present);
        if (c.cut != 0)
            m.resize(c.cut);
        uint32_t out[kTableOptionValues];
        for (uint32_t& v : out)
            v = 7;
        EXPECT_EQ(ReadTableOptions(m.data(), m.size(), out), c.read) << c.what;
        for (int i = 0; i < kTableOptionValues; i++) {
            const uint32_t want = !c.read ? 7u : (i < c.values ? 101u + (uint32_t)i : 0u);
            EXPECT_EQ(out[i], want) << c.what << ", value " << i;
        }
    }
    uint32_t out[kTableOptionValues] = {};
    EXPECT_FALSE(ReadTableOptions(nullptr, 0, out)) << "no message";
}

}  // namespace
