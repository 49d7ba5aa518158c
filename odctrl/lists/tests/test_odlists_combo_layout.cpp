// The combo boxes' geometry: the drop-down below, above near the screen's
// bottom, right-aligned near its right edge; the edit and the button over
// the client area; the window height for the selection row; the drop-down
// height fitted to the rows. Expected values are worked out beside each row.
#include <gtest/gtest.h>

#include <climits>

#include "ODComboLayout.h"

using namespace odcombo;

namespace {

void ExpectRect(const Rect& r, const Rect& want)
{
    EXPECT_EQ(r.left, want.left);
    EXPECT_EQ(r.top, want.top);
    EXPECT_EQ(r.right, want.right);
    EXPECT_EQ(r.bottom, want.bottom);
}

}  // namespace

TEST(ComboLayout, DropDownPlacement)
{
    struct Case {
        const char* what;
        Rect combo;
        int width, height;
        Rect want;
    };
    // Screen 1024 x 768 in every row.
    const Case cases[] = {
        {"below, left-aligned", {100, 100, 300, 122}, 200, 150, {100, 122, 300, 272}},
        {"ending exactly on the screen's bottom stays below (622 + 146 = 768)", {100, 600, 300, 622}, 200, 146,
         {100, 622, 300, 768}},
        {"one pixel past the bottom goes above (600 - 147 = 453)", {100, 600, 300, 622}, 200, 147,
         {100, 453, 300, 600}},
        {"at the screen's bottom edge: above", {10, 746, 210, 768}, 200, 200, {10, 546, 210, 746}},
        {"past the right edge: aligned to the combo's right (1000 - 300 = 700)", {800, 100, 1000, 122}, 300, 100,
         {700, 122, 1000, 222}},
        {"ending exactly on the right edge stays left-aligned", {824, 100, 1000, 122}, 200, 100,
         {824, 122, 1024, 222}},
        {"near both edges: above and right-aligned", {900, 700, 1010, 722}, 250, 100, {760, 600, 1010, 700}},
        {"a negative size is empty", {100, 100, 300, 122}, -5, -5, {100, 122, 100, 122}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ExpectRect(DropDownRect(c.combo, c.width, c.height, 1024, 768), c.want);
    }
}

TEST(ComboLayout, DropDownAtTheLimitsDoesNotOverflow)
{
    const Rect r = DropDownRect(Rect{INT_MAX - 10, INT_MAX - 10, INT_MAX, INT_MAX}, INT_MAX, INT_MAX, 1024, 768);
    // Above and to the left by INT_MAX: inside the int range, never wrapped.
    EXPECT_LE(r.left, r.right);
    EXPECT_LE(r.top, r.bottom);
    EXPECT_EQ(r.right, INT_MAX);
    EXPECT_EQ(r.bottom, INT_MAX - 10);
}

TEST(ComboLayout, EditAndButton)
{
    struct Case {
        const char* what;
        int width, height, button;
        Rect edit, buttonRect;
    };
    const Case cases[] = {
        {"the button at the right edge (120 - 20 = 100)", 120, 20, 20, {0, 0, 100, 20}, {100, 0, 120, 20}},
        {"a button as wide as the area leaves no edit", 20, 20, 20, {0, 0, 0, 20}, {0, 0, 20, 20}},
        {"a button wider than the area is cut to it", 15, 20, 20, {0, 0, 0, 20}, {0, 0, 15, 20}},
        {"no button: the edit takes everything", 120, 18, 0, {0, 0, 120, 18}, {120, 0, 120, 18}},
        {"negative sizes count as 0", -4, -4, -4, {0, 0, 0, 0}, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Parts p = LayOutParts(c.width, c.height, c.button);
        ExpectRect(p.edit, c.edit);
        ExpectRect(p.button, c.buttonRect);
    }
}

TEST(ComboLayout, WindowHeightAndFittedDropDown)
{
    // A window of 26 with a client of 22 (2-pixel frame) for a row of 20: 26 - 22 + 20.
    EXPECT_EQ(WindowHeightFor(26, 22, 20), 24);
    EXPECT_EQ(WindowHeightFor(20, 20, 30), 30) << "no frame";

    struct Case {
        const char* what;
        int current, count, firstTop, lastBottom, want;
    };
    const Case cases[] = {
        {"five rows of 14 (70 + 2) replace 200", 200, 5, 0, 70, 72},
        {"rows taller than the drop-down keep it", 200, 40, 0, 560, 200},
        {"equal (198 + 2) keeps it", 200, 15, 0, 198, 200},
        {"scrolled rows count from the first row's top: 30 - (-40) + 2", 200, 5, -40, 30, 72},
        {"no rows: unchanged", 200, 0, 0, 0, 200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(FitDropDownHeight(c.current, c.count, c.firstTop, c.lastBottom), c.want);
    }
}
