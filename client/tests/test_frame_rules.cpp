// The main frame's rules without a window: the close sequence decided from
// the connection's flags, the restored and maximised boxes, the fixed
// registry values; and the table's folder settings.
#include <gtest/gtest.h>

#include "FrameRules.h"
#include "TableSettings.h"

namespace {

TEST(FrameRulesTest, CloseSequence)
{
    struct Case {
        const char* what;
        CloseState state;
        CloseAction action;
    };
    auto state = [](bool mayClose, bool lost, bool open, bool trustQuit, bool table) {
        CloseState s;
        s.mayClose = mayClose;
        s.lost = lost;
        s.socketOpen = open;
        s.trustQuit = trustQuit;
        s.hasTable = table;
        return s;
    };
    const Case cases[] = {
        {"the server forbids closing: refused without a word", state(false, false, true, false, true), kCloseRefused},
        {"forbidden wins over a lost connection", state(false, true, false, false, true), kCloseRefused},
        {"lost connection: leave and end, no question", state(true, true, false, false, true), kCloseLeaveAndEnd},
        {"lost beats an open socket", state(true, true, true, false, true), kCloseLeaveAndEnd},
        {"seated with an open socket: the table asks", state(true, false, true, false, true), kCloseAskFirst},
        {"open socket but no table window: nothing", state(true, false, true, false, false), kCloseRefused},
        {"seat handed to automatic play: end now", state(true, false, true, true, true), kCloseEndNow},
        {"socket closed: end now", state(true, false, false, false, true), kCloseEndNow},
        {"local mode (no socket, no table): end now", state(true, false, false, false, false), kCloseEndNow},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecideClose(c.state), c.action) << c.what;
}

TEST(FrameRulesTest, RestoredAndMaximisedBoxes)
{
    struct Case {
        const char* what;
        bool maximised;
        int desktop, l, t, r, b;
        int x, y, cx, cy;
    };
    const Case cases[] = {
        {"restored on 1280x1024: 1024x768 centred", false, 1280, 0, 0, 1280, 994, 128, 113, 1024, 768},
        {"restored on a work area lower than 768: exactly its height", false, 1280, 0, 0, 1280, 700, 128, 0, 1024,
         700},
        {"restored inside a work area that does not start at 0", false, 1280, 0, 30, 1280, 730, 128, 30, 1024, 700},
        {"maximised: desktop width, work-area height", true, 1280, 0, 0, 1280, 994, 0, 0, 1280, 994},
        {"maximised below a top task bar", true, 1280, 0, 40, 1280, 1024, 0, 40, 1280, 984},
        {"an empty work area gives an empty box, never a negative one", false, 1280, 0, 100, 1280, 50, 128, 75,
         1024, 0},
    };
    for (const Case& c : cases) {
        const FrameBox box = c.maximised ? MaximisedFrameBox(c.desktop, c.l, c.t, c.r, c.b)
                                         : RestoredFrameBox(c.l, c.t, c.r, c.b);
        EXPECT_EQ(box.x, c.x) << c.what;
        EXPECT_EQ(box.y, c.y) << c.what;
        EXPECT_EQ(box.cx, c.cx) << c.what;
        EXPECT_EQ(box.cy, c.cy) << c.what;
    }
}

TEST(FrameRulesTest, KeyValuesWrittenOnlyWhenOneDiffers)
{
    const int kept[3] = {0x126000, 0x26000, 0x26001};
    const int missing[3] = {0, 0, 0};
    const int oneOff[3] = {0x126000, 0x26000, 0x26002};
    EXPECT_FALSE(FrameKeyValuesNeedWriting(kept));
    EXPECT_TRUE(FrameKeyValuesNeedWriting(missing));
    EXPECT_TRUE(FrameKeyValuesNeedWriting(oneOff));
}

TEST(TableSettingsTest, DefaultsAndFolders)
{
    const TableSettings defaults;
    EXPECT_EQ(defaults.bkColor, 0x8000u) << "a green table";
    EXPECT_EQ(defaults.tile, 1);
    EXPECT_EQ(defaults.smallCard, 0);
    EXPECT_EQ(defaults.flyTipText, 0);
    EXPECT_EQ(defaults.music, 0);
    struct Case {
        const char* what;
        const char* value;
        const char* program;
        const char* suffix;
        const char* expected;
    };
    const Case cases[] = {
        {"empty snapshot: the program folder's", "", "C:\\Game\\Mardavel", "\\snapshot",
         "C:\\Game\\Mardavel\\snapshot"},
        {"a trailing backslash is not doubled", "", "C:\\Game\\Mardavel\\", "\\Video", "C:\\Game\\Mardavel\\Video"},
        {"a set value is kept unchanged", "D:\\pictures", "C:\\Game\\Mardavel", "\\snapshot", "D:\\pictures"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FolderSetting(c.value, c.program, c.suffix), c.expected) << c.what;
}

}  // namespace
