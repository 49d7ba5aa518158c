// The edit control's editing engine without a window: every byte is 6
// pixels wide (a two-byte character 12), the clipboard is a string that can
// refuse, and change notices are counted. Texts are code page 936 bytes:
// "\xB0\xA1" is one character, and so is "\x81\x40" whose trail byte is
// below 0x80.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "ODEditModel.h"

namespace {

using namespace odedit;

const int kByteWidth = 6;

// No lead byte ends the text without its trail byte.
bool WellFormed(const std::string& text)
{
    size_t p = 0;
    while (p < text.size())
        p += (static_cast<unsigned char>(text[p]) & 0x80) ? 2 : 1;
    return p == text.size();
}

class FakeHost : public Host
{
public:
    int TextWidth(const char*, int n) override { return n * kByteWidth; }
    bool GetClipboardText(std::string* text) override
    {
        if (!clipboardOpens || !hasClipboard)
            return false;
        *text = clipboard;
        return true;
    }
    bool SetClipboardText(const std::string& text) override
    {
        if (!clipboardOpens)
            return false;
        clipboard = text;
        hasClipboard = true;
        return true;
    }
    void NotifyChange() override { ++notices; }

    std::string clipboard;
    bool hasClipboard = false;
    bool clipboardOpens = true;
    int notices = 0;
};

// An engine over a fake host: inner width 100, left margin 2, caret 1 wide.
struct Edit
{
    explicit Edit(const char* text = "", uint32_t style = 0)
    {
        model.SetGeometry(100, 2, 1);
        model.SetStyle(style);
        model.SetText(text);
    }
    void Type(const std::string& bytes)
    {
        for (unsigned char c : bytes)
            model.Char(c);
    }
    void Caret(int pos)
    {
        model.KeyDown(kKeyHome, false, false);
        while (model.Caret() < pos)
            model.KeyDown(kKeyRight, false, false);
    }
    FakeHost host;
    Model model{&host};
};

TEST(EditModel, CharacterBoundariesInCodePage936)
{
    struct Case
    {
        const char* what;
        std::string text;
        int pos;
        bool boundary;
        bool trail;
        int prev, next;
    };
    const Case cases[] = {
        {"start", "a\xB0\xA1" "b", 0, true, false, 0, 1},
        {"before a two-byte character", "a\xB0\xA1" "b", 1, true, false, 0, 3},
        {"inside it", "a\xB0\xA1" "b", 2, false, true, 1, 3},
        {"after it", "a\xB0\xA1" "b", 3, true, false, 1, 4},
        {"end", "a\xB0\xA1" "b", 4, true, false, 3, 4},
        {"trail byte below 0x80", "\x81\x40" "x", 1, false, true, 0, 2},
        {"after a low trail byte", "\x81\x40" "x", 2, true, false, 0, 3},
        {"0x40 after an ASCII byte is a character", "x\x40", 1, true, false, 0, 2},
        {"past the end: no boundary, steps clamped", "ab", 9, false, false, 1, 2},
        {"negative: no boundary, steps clamped", "ab", -3, false, false, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(IsCharBoundary(c.text, c.pos), c.boundary);
        EXPECT_EQ(IsTrailByte(c.text, c.pos), c.trail);
        EXPECT_EQ(PrevChar(c.text, c.pos), c.prev);
        EXPECT_EQ(NextChar(c.text, c.pos), c.next);
    }
}

TEST(EditModel, CaretAndDeletionStepOverWholeCharacters)
{
    struct Case
    {
        const char* what;
        std::string text;
        int caret;
        unsigned key;
        std::string after;
        int caretAfter;
    };
    const Case cases[] = {
        {"Backspace removes a two-byte character", "a\xB0\xA1" "b", 3, kKeyBack, "ab", 1},
        {"Backspace removes a character with a low trail byte", "a\x81\x40", 3, kKeyBack, "a", 1},
        {"Backspace removes one ASCII byte", "a\xB0\xA1" "b", 4, kKeyBack, "a\xB0\xA1", 3},
        {"Backspace at the start does nothing", "\xB0\xA1", 0, kKeyBack, "\xB0\xA1", 0},
        {"Delete removes a two-byte character", "a\xB0\xA1" "b", 1, kKeyDelete, "ab", 1},
        {"Delete removes a character with a low trail byte", "\x81\x40" "b", 0, kKeyDelete, "b", 0},
        {"Delete at the end does nothing", "a\xB0\xA1", 3, kKeyDelete, "a\xB0\xA1", 3},
        {"Left steps over both bytes", "a\xB0\xA1" "b", 3, kKeyLeft, "a\xB0\xA1" "b", 1},
        {"Left steps over a low trail byte", "a\x81\x40", 3, kKeyLeft, "a\x81\x40", 1},
        {"Up is Left", "a\xB0\xA1", 3, kKeyUp, "a\xB0\xA1", 1},
        {"Right steps over both bytes", "a\xB0\xA1" "b", 1, kKeyRight, "a\xB0\xA1" "b", 3},
        {"Down is Right", "\x81\x40", 0, kKeyDown, "\x81\x40", 2},
        {"Right at the end stays", "a", 1, kKeyRight, "a", 1},
        {"End", "a\xB0\xA1" "b", 0, kKeyEnd, "a\xB0\xA1" "b", 4},
        {"Home", "a\xB0\xA1" "b", 4, kKeyHome, "a\xB0\xA1" "b", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Edit e(c.text.c_str());
        e.Caret(c.caret);
        ASSERT_EQ(e.model.Caret(), c.caret);
        e.model.KeyDown(c.key, false, false);
        EXPECT_EQ(e.model.Text(), c.after);
        EXPECT_EQ(e.model.Caret(), c.caretAfter);
        EXPECT_TRUE(IsCharBoundary(e.model.Text(), e.model.Caret()));
    }
}

TEST(EditModel, ShiftSelectionKeepsItsAnchor)
{
    Edit e("abc\xB0\xA1" "def");
    e.Caret(5);
    e.model.KeyDown(kKeyHome, true, false);
    EXPECT_EQ(e.model.SelAnchor(), 5);
    EXPECT_EQ(e.model.SelLength(), -5) << "Shift+Home: negative length";
    EXPECT_EQ(e.model.SelStart(), 0);
    EXPECT_EQ(e.model.Caret(), 0);
    e.model.KeyDown(kKeyEnd, true, false);
    EXPECT_EQ(e.model.SelAnchor(), 5) << "the same anchor";
    EXPECT_EQ(e.model.SelLength(), 3) << "Shift+End: positive length";
    EXPECT_EQ(e.model.SelStart(), 5);
    EXPECT_EQ(e.model.GetSelText(), "def");

    // Shift+Left back across the anchor and over the two-byte character.
    for (int i = 0; i < 4; ++i)
        e.model.KeyDown(kKeyLeft, true, false);
    EXPECT_EQ(e.model.SelLength(), -2);
    EXPECT_EQ(e.model.SelStart(), 3);
    EXPECT_EQ(e.model.GetSelText(), "\xB0\xA1");
    e.model.KeyDown(kKeyRight, true, false);
    EXPECT_FALSE(e.model.HasSelection()) << "back at the anchor";
    e.model.KeyDown(kKeyRight, false, false);
    EXPECT_EQ(e.model.SelAnchor(), -1) << "a move without Shift drops the selection";
    EXPECT_FALSE(e.model.HasSelection());

    // Ctrl+A selects everything.
    e.model.KeyDown('A', false, true);
    EXPECT_EQ(e.model.GetSelText(), "abc\xB0\xA1" "def");
}

TEST(EditModel, SetSelAndGetSel)
{
    struct Case
    {
        const char* what;
        std::string text;
        int start, end;
        int getStart, getEnd;
        std::string selected;
        int caret;  // -1: unchanged (0 after SetText)
    };
    const Case cases[] = {
        {"inclusive end", "abcdef", 2, 4, 2, 4, "cde", 5},
        {"end -1 selects to the end", "abcdef", 2, -1, 2, 5, "cdef", 6},
        {"end past the text is clamped", "abcdef", 4, 99, 4, 5, "ef", 6},
        {"start past the text is clamped: no selection", "abcdef", 10, 12, 6, 5, "", -1},
        {"start at the length: no selection", "abc", 3, 5, 3, 2, "", -1},
        {"start -1: no selection", "abc", -1, 2, -1, -2, "", -1},
        {"end left of the start: nothing", "abcdef", 3, 1, 3, 2, "", -1},
        {"start inside a character moves to its start", "a\xB0\xA1" "b", 2, 3, 1, 3, "\xB0\xA1" "b", 4},
        {"end inside a character takes it whole", "a\xB0\xA1" "b", 0, 1, 0, 2, "a\xB0\xA1", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Edit e(c.text.c_str());
        e.model.SetSel(c.start, c.end);
        int s = 0, en = 0;
        e.model.GetSel(&s, &en);
        EXPECT_EQ(s, c.getStart);
        EXPECT_EQ(en, c.getEnd);
        EXPECT_EQ(e.model.GetSelText(), c.selected);
        EXPECT_EQ(e.model.Caret(), c.caret < 0 ? 0 : c.caret);
        EXPECT_LE(e.model.Caret(), e.model.Length());
        // Deleting what was selected never leaves half a character.
        e.model.KeyDown(kKeyDelete, false, false);
        EXPECT_TRUE(WellFormed(e.model.Text()));
        EXPECT_LE(e.model.Caret(), e.model.Length());
    }
}

TEST(EditModel, HitTests)
{
    // Text origin at the left margin 2; each byte 6 pixels.
    struct Case
    {
        const char* what;
        std::string text;
        int scroll;  // by a caret at the end of a long text
        int x;
        int caret;
    };
    const Case cases[] = {
        {"left half of the first character", "abc", 0, 3, 0},
        {"right half of the first character", "abc", 0, 7, 0},
        {"first pixel of the second character", "abc", 0, 8, 1},
        {"left half of a two-byte character", "a\xB0\xA1" "b", 0, 9, 1},
        {"right half of a two-byte character", "a\xB0\xA1" "b", 0, 19, 1},
        {"right of the last character", "abc", 0, 90, 3},
        {"left of the text", "abc", 0, -5, 0},
        {"empty text", "", 0, 10, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Edit e(c.text.c_str());
        EXPECT_EQ(e.model.HitTest(c.x), c.caret);
        EXPECT_TRUE(e.model.MouseDown(c.x) || c.caret == 0);
        EXPECT_EQ(e.model.Caret(), c.caret);
        e.model.MouseUp();
    }

    // With the text scrolled the hit test counts the hidden pixels.
    Edit e("");
    e.Type(std::string(30, 'x'));  // 180 pixels: caret position 2 + 180 + 2 = 184, offset 84
    ASSERT_EQ(e.model.ScrollOffset(), 84);
    EXPECT_EQ(e.model.HitTest(2), 14) << "x 2 + 84 hidden = text pixel 84: byte 14";
}

TEST(EditModel, DragSelectsFromTheButtonDownPoint)
{
    Edit e("abcdef");
    e.model.MouseDown(2 + 6 * 4);  // before 'e'
    EXPECT_TRUE(e.model.MouseMove(2 + 6 * 1 + 1));
    EXPECT_EQ(e.model.SelStart(), 1);
    EXPECT_EQ(e.model.SelLength(), -3);
    EXPECT_EQ(e.model.SelAnchor(), 4);
    EXPECT_EQ(e.model.GetSelText(), "bcd");
    e.model.MouseUp();
    EXPECT_FALSE(e.model.MouseMove(90)) << "no drag after the button is up";
    EXPECT_TRUE(e.model.MouseDown(50)) << "a click removes the selection";
    EXPECT_FALSE(e.model.HasSelection());
}

TEST(EditModel, TypingRules)
{
    struct Case
    {
        const char* what;
        uint32_t style;
        int limit;
        std::string start;
        std::string typed;
        std::string after;
    };
    const Case cases[] = {
        {"printable characters", 0, -1, "", "ab c", "ab c"},
        {"Enter types nothing", 0, -1, "a", "\r", "a"},
        {"control characters type nothing", 0, -1, "a", "\x01\x08\x1b\x7f", "a"},
        {"a two-byte character", 0, -1, "a", "\xB0\xA1", "a\xB0\xA1"},
        {"a two-byte character with a low trail byte", 0, -1, "", "\x81\x40", "\x81\x40"},
        {"a lead byte alone is not typed", 0, -1, "a", "\xB0", "a"},
        {"a lead byte whose pair is broken is dropped", 0, -1, "a", "\xB0\x01" "b", "ab"},
        {"number: digits and minus anywhere", kStyleNumber, -1, "", "1-2-", "1-2-"},
        {"number: letters and two-byte characters ignored", kStyleNumber, -1, "", "a1\xB0\xA1z2", "12"},
        {"read-only types nothing", kStyleReadOnly, -1, "a", "bc", "a"},
        {"limit: single bytes up to it", 0, 3, "", "abcd", "abc"},
        {"limit: a two-byte character that fits", 0, 3, "a", "\xB0\xA1", "a\xB0\xA1"},
        {"limit: a two-byte character refused whole", 0, 3, "ab", "\xB0\xA1", "ab"},
        {"limit: a refused lead's low trail byte is refused too", 0, 3, "ab", "\x81\x40", "ab"},
        {"limit: the next character after a refusal", 0, 3, "ab", "\xB0\xA1" "c", "abc"},
        {"limit: full", 0, 2, "ab", "c\xB0\xA1", "ab"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Edit e(c.start.c_str(), c.style);
        e.model.SetLimit(c.limit);
        e.model.KeyDown(kKeyEnd, false, false);
        e.Type(c.typed);
        EXPECT_EQ(e.model.Text(), c.after);
        EXPECT_EQ(e.model.Caret(), e.model.Length());
    }

    // A typed character replaces the selection, also within a limit.
    Edit e("abc");
    e.model.SetLimit(3);
    e.model.SetSel(1, 2);
    e.Type("\xB0\xA1");
    EXPECT_EQ(e.model.Text(), "a\xB0\xA1");
    EXPECT_EQ(e.model.Caret(), 3);
}

TEST(EditModel, OneChangeNoticePerChange)
{
    struct Case
    {
        const char* what;
        std::function<void(Edit&)> act;
        int notices;
        bool notify;
    };
    const Case cases[] = {
        {"a typed character", [](Edit& e) { e.Type("x"); }, 1, true},
        {"a two-byte character is one change", [](Edit& e) { e.Type("\xB0\xA1"); }, 1, true},
        {"Backspace", [](Edit& e) { e.model.KeyDown(kKeyBack, false, false); }, 1, true},
        {"Backspace at the start", [](Edit& e) {
             e.model.KeyDown(kKeyHome, false, false);
             e.model.KeyDown(kKeyBack, false, false);
         }, 0, true},
        {"a caret move", [](Edit& e) { e.model.KeyDown(kKeyLeft, false, false); }, 0, true},
        {"Shift+Delete cuts once", [](Edit& e) {
             e.model.SelectAll();
             e.model.KeyDown(kKeyDelete, true, false);
         }, 1, true},
        {"Ctrl+X cuts once", [](Edit& e) {
             e.model.SelectAll();
             e.model.KeyDown('X', false, true);
         }, 1, true},
        {"Ctrl+V pastes once", [](Edit& e) {
             e.host.SetClipboardText("zz");
             e.model.KeyDown('V', false, true);
         }, 1, true},
        {"Shift+Insert pastes once", [](Edit& e) {
             e.host.SetClipboardText("zz");
             e.model.KeyDown(kKeyInsert, true, false);
         }, 1, true},
        {"Cut without a selection", [](Edit& e) { e.model.Cut(); }, 0, true},
        {"Clear of a selection", [](Edit& e) {
             e.model.SetSel(0, 0);
             e.model.Clear();
         }, 1, true},
        {"notices off", [](Edit& e) { e.Type("xy"); }, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Edit e("abc");
        e.model.KeyDown(kKeyEnd, false, false);
        e.model.SetNotify(c.notify);
        e.host.notices = 0;
        c.act(e);
        EXPECT_EQ(e.host.notices, c.notices);
    }
}

TEST(EditModel, ClipboardRoundTripStripsLineBreaksOnPaste)
{
    Edit e("hello world");
    e.model.SetSel(6, 10);
    ASSERT_TRUE(e.model.Copy());
    EXPECT_EQ(e.host.clipboard, "world");
    e.model.SetSel(0, 4);
    e.model.KeyDown('X', false, true);
    EXPECT_EQ(e.host.clipboard, "hello");
    EXPECT_EQ(e.model.Text(), " world");
    e.model.KeyDown(kKeyEnd, false, false);
    e.model.KeyDown('V', false, true);
    EXPECT_EQ(e.model.Text(), " worldhello");

    struct Case
    {
        const char* what;
        std::string clipboard;
        int limit;
        std::string after;
    };
    const Case cases[] = {
        {"line breaks left out", "a\r\nb\nc\r", -1, "xyabc"},
        {"stops at a zero", std::string("ab\0cd", 5), -1, "xyab"},
        {"a half character at the end is left out", "a\xB0", -1, "xya"},
        {"two-byte characters", "\xB0\xA1\x81\x40", -1, "xy\xB0\xA1\x81\x40"},
        {"within a limit: whole characters only", "a\xB0\xA1" "b", 4, "xya"},
        {"within a limit: single bytes", "abcdef", 5, "xyabc"},
        {"only line breaks: nothing", "\r\n", -1, "xy"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Edit p("xy");
        p.model.KeyDown(kKeyEnd, false, false);
        p.model.SetLimit(c.limit);
        p.host.SetClipboardText(c.clipboard);
        p.model.Paste();
        EXPECT_EQ(p.model.Text(), c.after);
        EXPECT_EQ(p.model.Caret(), p.model.Length());
    }

    // A clipboard that cannot be opened changes nothing.
    Edit f("abc");
    f.model.SelectAll();
    f.host.clipboard = "keep";
    f.host.clipboardOpens = false;
    EXPECT_FALSE(f.model.Cut());
    EXPECT_EQ(f.model.Text(), "abc");
    EXPECT_FALSE(f.model.Paste());
    EXPECT_EQ(f.host.clipboard, "keep");
}

TEST(EditModel, PasswordAndReadOnlyRefusals)
{
    struct Case
    {
        const char* what;
        uint32_t style;
        std::function<void(Edit&)> act;
        std::string text;
        std::string clipboard;
    };
    const Case cases[] = {
        {"password: Ctrl+C", kStylePassword, [](Edit& e) { e.model.KeyDown('C', false, true); }, "secret", "old"},
        {"password: Ctrl+X", kStylePassword, [](Edit& e) { e.model.KeyDown('X', false, true); }, "secret", "old"},
        {"password: Ctrl+V", kStylePassword, [](Edit& e) { e.model.KeyDown('V', false, true); }, "secret", "old"},
        {"password: Shift+Delete", kStylePassword, [](Edit& e) { e.model.KeyDown(kKeyDelete, true, false); },
         "secret", "old"},
        {"read-only: Ctrl+C copies", kStyleReadOnly, [](Edit& e) { e.model.KeyDown('C', false, true); }, "secret",
         "secret"},
        {"read-only: Ctrl+Insert does not copy", kStyleReadOnly,
         [](Edit& e) { e.model.KeyDown(kKeyInsert, false, true); }, "secret", "old"},
        {"read-only: Ctrl+X does nothing", kStyleReadOnly, [](Edit& e) { e.model.KeyDown('X', false, true); },
         "secret", "old"},
        {"read-only: Cut does nothing", kStyleReadOnly, [](Edit& e) { e.model.Cut(); }, "secret", "old"},
        {"read-only: Ctrl+V does nothing", kStyleReadOnly, [](Edit& e) { e.model.KeyDown('V', false, true); },
         "secret", "old"},
        {"read-only: Backspace and Delete", kStyleReadOnly, [](Edit& e) {
             e.model.KeyDown(kKeyBack, false, false);
             e.model.KeyDown(kKeyDelete, false, false);
             e.model.Clear();
         }, "secret", "old"},
        {"writable: Ctrl+Insert copies", 0, [](Edit& e) { e.model.KeyDown(kKeyInsert, false, true); }, "secret",
         "secret"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Edit e("secret", c.style);
        e.host.SetClipboardText("old");
        e.model.SelectAll();
        c.act(e);
        EXPECT_EQ(e.model.Text(), c.text);
        EXPECT_EQ(e.host.clipboard, c.clipboard);
    }

    Edit p("ab\xB0\xA1", kStylePassword);
    EXPECT_EQ(p.model.ShownText(), "****") << "one password character per byte";
    char buffer[16] = "x";
    EXPECT_EQ(p.model.GetText(buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(p.model.GetTextLength(), 0);
    p.model.SetPasswordPitch(10);
    EXPECT_EQ(p.model.ShownWidth(4), 40) << "password images: one cell per byte";
}

TEST(EditModel, GetTextCounts)
{
    struct Case
    {
        const char* what;
        int size;
        int result;
        const char* copied;
    };
    const Case cases[] = {
        {"room for all", 16, 5, "hello"},
        {"room for the text and its zero", 6, 5, "hello"},
        {"one short: the zero takes the last place", 5, 4, "hell"},
        {"room for the zero only", 1, 0, ""},
        {"no room", 0, 0, "untouched"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Edit e("hello");
        char buffer[16] = "untouched";
        EXPECT_EQ(e.model.GetText(buffer, c.size), c.result);
        EXPECT_STREQ(buffer, c.copied);
    }
}

TEST(EditModel, SetTextTrimsTheEndsAndShowsTheEnd)
{
    struct Case
    {
        const char* what;
        const char* text;
        std::string stored;
        int scroll;
    };
    // Room for text: inner width 100 less both margins = 96 pixels, 16 bytes.
    const Case cases[] = {
        {"carriage return before a line feed is kept", "x\r\n", "x\r", 0},
        {"line feed before a carriage return", "x\n\r", "x", 0},
        {"left end: carriage returns, then line feeds", "\r\n\r\nx", "\r\nx", 0},
        {"inner line breaks stay", "a\r\nb", "a\r\nb", 0},
        {"a half character at the end", "ab\xB0", "ab", 0},
        {"fits exactly", "abcdefghijklmnop", "abcdefghijklmnop", 0},
        {"wider than the room: the end shows", "abcdefghijklmnopqrst", "abcdefghijklmnopqrst", 24},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Edit e;
        EXPECT_TRUE(e.model.SetText(c.text));
        EXPECT_EQ(e.model.Text(), c.stored);
        EXPECT_EQ(e.model.ScrollOffset(), c.scroll);
        EXPECT_EQ(e.model.Caret(), 0);
        EXPECT_FALSE(e.model.HasSelection());
    }
    Edit e("keep");
    EXPECT_FALSE(e.model.SetText(NULL));
    EXPECT_EQ(e.model.Text(), "keep");
}

TEST(EditModel, ScrollFollowsTheCaretAndReturnsToZero)
{
    Edit e;
    e.Type(std::string(20, 'x'));  // caret position 2 + 120 + 2 = 124 > 100
    EXPECT_EQ(e.model.ScrollOffset(), 24);
    e.model.KeyDown(kKeyHome, false, false);
    EXPECT_EQ(e.model.ScrollOffset(), 0) << "Home: the caret position is inside the width";
    e.model.KeyDown(kKeyEnd, false, false);
    EXPECT_EQ(e.model.ScrollOffset(), 24);
    for (int i = 0; i < 8; ++i)
        e.model.KeyDown(kKeyBack, false, false);
    EXPECT_EQ(e.model.ScrollOffset(), 0) << "the text shrank below the inner width";
    EXPECT_EQ(e.model.Length(), 12);

    // Left rule: the caret scrolled out on the left comes back to the margin.
    Edit f;
    f.Type(std::string(40, 'x'));  // position 2 + 240 + 2 = 244: offset 144
    ASSERT_EQ(f.model.ScrollOffset(), 144);
    for (int i = 0; i < 20; ++i)
        f.model.KeyDown(kKeyLeft, false, false);  // position 124: 124 - 144 < 2
    EXPECT_EQ(f.model.ScrollOffset(), 122);
}

TEST(EditModel, InsertTextKeepsTheCaretOnItsCharacter)
{
    struct Case
    {
        const char* what;
        int caret;
        int pos;
        std::string after;
        int caretAfter;
    };
    const Case cases[] = {
        {"at the caret (pos 0)", 1, 0, "a--\xB0\xA1" "b", 3},
        {"before the caret", 3, 1, "a--\xB0\xA1" "b", 5},
        {"after the caret", 1, 3, "a\xB0\xA1--b", 1},
        {"inside a character: at its start", 0, 2, "a--\xB0\xA1" "b", 0},
        {"past the end: at the caret", 4, 9, "a\xB0\xA1" "b--", 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Edit e("a\xB0\xA1" "b");
        e.Caret(c.caret);
        e.host.notices = 0;
        EXPECT_EQ(e.model.InsertText("--", c.pos), c.caretAfter);
        EXPECT_EQ(e.model.Text(), c.after);
        EXPECT_EQ(e.host.notices, 0);
    }
}

}  // namespace
