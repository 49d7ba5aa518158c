// The owner-draw dialog's frame arithmetic and caption buttons, apart from
// any window: the frame kind by style, the client rectangle and the window
// size per kind, which frame piece is loaded, the caption buttons' states
// through press, move and release, and the bounded caption text copy.
#include <gtest/gtest.h>

#include <string.h>

#include <vector>

#include "ODDialogLayout.h"

namespace {

using namespace oddlg;

const uint32_t kPopup = 0x80000000;

TEST(DialogLayout, FrameGeometryPerStyle)
{
    Widths w;
    w.left = 3;
    w.top = 5;
    w.right = 7;
    w.bottom = 11;
    const Rect window = {100, 200, 400, 500};
    struct Case
    {
        const char* what;
        uint32_t style;
        Kind kind;
        Rect client;
        int width, height;  // window size for a client of 200 x 100
    };
    const Case cases[] = {
        // Caption: left 3, caption 25 at the top, right 7, bottom 11; the top width is not used.
        {"caption", kPopup | kCaption, KindCaption, {103, 225, 393, 489}, 210, 136},
        {"border only", kPopup | kBorder, KindBorder, {103, 205, 393, 489}, 210, 116},
        {"dialog frame without border is no caption", kPopup | kDlgFrame, KindNone, {100, 200, 400, 500}, 200, 100},
        {"no border", kPopup, KindNone, {100, 200, 400, 500}, 200, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(KindOf(c.style), c.kind);
        const Rect r = ClientRect(c.kind, window, w, 25);
        EXPECT_EQ(r.left, c.client.left);
        EXPECT_EQ(r.top, c.client.top);
        EXPECT_EQ(r.right, c.client.right);
        EXPECT_EQ(r.bottom, c.client.bottom);
        int width = 0, height = 0;
        WindowSize(c.kind, 200, 100, w, 25, &width, &height);
        EXPECT_EQ(width, c.width);
        EXPECT_EQ(height, c.height);
    }
}

TEST(DialogLayout, FramePieceChoice)
{
    struct Case
    {
        const char* what;
        Kind kind;
        const char* border;
        const char* expected;  // "edge" or "border"
    };
    const Case cases[] = {
        {"a caption takes the Edge piece", KindCaption, "0,1,-1,1,1,1,0", "edge"},
        {"border only takes the Border piece", KindBorder, "0,1,-1,1,1,1,0", "border"},
        {"border only with an empty Border piece takes the Edge piece", KindBorder, "", "edge"},
        {"border only with no Border text takes the Edge piece", KindBorder, nullptr, "edge"},
        {"no border follows the same rule", KindNone, "0,2,-1,1,1,1,0", "border"},
    };
    const char* edge = "0,9,-1,1,1,1,0";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const char* got = FramePiece(c.kind, edge, c.border);
        EXPECT_EQ(got, strcmp(c.expected, "edge") == 0 ? edge : c.border);
    }
}

// Hit codes of the caption bar: 0 system menu, 1 close, 2 maximise, 3 minimise, -1 none.
TEST(DialogLayout, CaptionButtonStates)
{
    struct Step
    {
        enum
        {
            Down,
            Move,
            Up,
            Client,
        } kind;
        int hit;
        bool maximized;
        Action action;
        bool repaint;
        int close, max, min;  // states after the step
    };
    struct Case
    {
        const char* what;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"hover, press and release close",
         {{Step::Move, 1, false, ActNone, true, 1, 0, 0},
          {Step::Move, 1, false, ActNone, false, 1, 0, 0},
          {Step::Down, 1, false, ActNone, true, 2, 0, 0},
          {Step::Up, 1, false, ActClose, true, 0, 0, 0}}},
        {"pressed, moved off: normal; released over another button triggers that one",
         {{Step::Down, 1, false, ActNone, true, 2, 0, 0},
          {Step::Move, -1, false, ActNone, true, 0, 0, 0},
          {Step::Move, -1, false, ActDefault, false, 0, 0, 0},
          {Step::Move, 3, false, ActNone, true, 0, 0, 1},
          {Step::Up, 3, false, ActMinimize, true, 0, 0, 0}}},
        {"a pressed button stays pressed under the pointer; its neighbour's hot state ends",
         {{Step::Move, 2, false, ActNone, true, 0, 1, 0},
          {Step::Down, 2, false, ActNone, true, 0, 2, 0},
          {Step::Move, 2, false, ActNone, false, 0, 2, 0},
          {Step::Move, 1, false, ActNone, true, 1, 0, 0},
          {Step::Up, 2, false, ActMaximize, true, 1, 0, 0}}},
        {"the caption (no button) of a maximised window is not dragged",
         {{Step::Down, -1, true, ActNone, false, 0, 0, 0}, {Step::Down, 0, true, ActNone, false, 0, 0, 0}}},
        {"the caption of a normal window drags by default",
         {{Step::Down, -1, false, ActDefault, false, 0, 0, 0}, {Step::Up, -1, false, ActDefault, true, 0, 0, 0}}},
        {"a move in the client area ends a hot button",
         {{Step::Move, 3, false, ActNone, true, 0, 0, 1}, {Step::Client, 0, false, ActNone, true, 0, 0, 0},
          {Step::Client, 0, false, ActNone, false, 0, 0, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CaptionButtons b;
        int n = 0;
        for (const Step& s : c.steps) {
            SCOPED_TRACE(n++);
            bool repaint = false;
            Action a = ActNone;
            switch (s.kind) {
            case Step::Down:
                a = b.ButtonDown(s.hit, s.maximized, &repaint);
                break;
            case Step::Move:
                a = b.MouseMove(s.hit, &repaint);
                break;
            case Step::Up:
                a = b.ButtonUp(s.hit, &repaint);
                break;
            case Step::Client:
                repaint = b.Reset();
                break;
            }
            EXPECT_EQ(a, s.action);
            EXPECT_EQ(repaint, s.repaint);
            EXPECT_EQ(b.states[0], s.close);
            EXPECT_EQ(b.states[1], s.max);
            EXPECT_EQ(b.states[2], s.min);
        }
    }
}

TEST(DialogLayout, CaptionTextCopyIsBounded)
{
    struct Case
    {
        const char* what;
        const char* text;
        int max;
        int copied;
        const char* result;
    };
    const Case cases[] = {
        {"room for all", "Mardavel", 20, 8, "Mardavel"},
        {"exactly room for all and the zero", "Mardavel", 9, 8, "Mardavel"},
        {"cut to max - 1: the count is what was copied", "Mardavel", 5, 4, "Mard"},
        {"max 1 leaves only the zero", "Mardavel", 1, 0, ""},
        {"max 0 writes nothing", "Mardavel", 0, 0, "untouched"},
        {"a negative max writes nothing", "Mardavel", -3, 0, "untouched"},
        {"no text", nullptr, 8, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        char buffer[32] = "untouched";
        EXPECT_EQ(CopyBounded(c.text, buffer, c.max), c.copied);
        EXPECT_STREQ(buffer, c.result);
    }
    EXPECT_EQ(CopyBounded("x", nullptr, 5), 0);
}

}  // namespace
