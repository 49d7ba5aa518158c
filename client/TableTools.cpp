#include "TableTools.h"

#include <cstring>

#include "TableRules.h"

OptionsChange CompareOptions(const TableOptions& before, const TableOptions& after)
{
    const TableSettings& was = before.settings;
    const TableSettings& now = after.settings;
    OptionsChange c;
    if (after.backgroundMode == 2 && now.bkBmp != was.bkBmp) {
        if (now.bkBmp.empty()) {
            c.cancelled = true;
            return c;
        }
        c.loadPicture = true;
        c.repaint = true;
    }
    if (after.backgroundMode != before.backgroundMode || now.bkColor != was.bkColor)
        c.repaint = true;
    if (after.backgroundMode == 2 && now.tile != was.tile)
        c.repaint = true;
    if (now.smallCard != was.smallCard)
        c.repaint = true;
    if (now.music != was.music || (now.music != 0 && now.musicFile != was.musicFile))
        c.restartMusic = true;
    if ((after.playDirection != 0) != (before.playDirection != 0)) {
        c.direction = true;
        c.repaint = true;
    }
    c.watching = (after.allowWatch != 0) != (before.allowWatch != 0);
    return c;
}

bool ReadTableOptions(const uint8_t* message, size_t size, uint32_t out[kTableOptionValues])
{
    const uint8_t* body = nullptr;
    uint32_t length = 0;
    if (!MessageBody(message, size, &body, &length))
        return false;
    for (int i = 0; i < kTableOptionValues; i++) {
        const size_t at = 4 + 4 * (size_t)i;
        out[i] = 0;
        if (at + 4 <= length)
            memcpy(&out[i], body + at, 4);
    }
    return true;
}
