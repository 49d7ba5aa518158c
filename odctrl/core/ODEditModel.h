// ODEditModel.h - the editing engine of the library's single-line edit
// control, apart from any window: the text, the caret, the selection around
// its anchor, the horizontal scroll offset, typing with its limits, the keys,
// click and drag selection, hit tests and the clipboard texts. CODEdit is the
// window over it: it feeds messages in, asks the host interface below for
// text widths, the clipboard and change notices, and paints what it reads
// back.
//
// The text is a byte string in code page 936. A byte with the high bit set
// is the lead byte of a two-byte character whose trail byte may be any byte
// (0x81 0x40 is one character). Positions are byte indexes; every caret
// move, deletion and hit test takes a two-byte character whole, and the
// engine never leaves half a character in the text: a lead byte typed alone
// waits for its trail byte before either is inserted, and a pasted or set
// text loses a lead byte that ends it without its trail.
//
// Selection: the selection start is the left end (-1 for none), the anchor
// the fixed end of a keyboard, mouse or programmatic selection, the length
// is signed (negative left of the anchor) and the caret sits at
// anchor + length while a selection is being extended. A selection exists
// while start >= 0 and length != 0.
//
// Scrolling: the caret's position in pixels is the left margin, the width
// of the shown text before the caret, the caret width and one more pixel.
// After a move to the right the offset grows until that position fits the
// inner width; after a move to the left it shrinks until the position is
// right of the left margin; whenever the position is inside the inner width
// the offset returns to 0.
#pragma once

#include <stdint.h>

#include <string>

namespace odedit {

// Window style bits the engine reads.
const uint32_t kStylePassword = 0x20;   // ES_PASSWORD
const uint32_t kStyleReadOnly = 0x800;  // ES_READONLY
const uint32_t kStyleNumber = 0x2000;   // ES_NUMBER

// Virtual keys of KeyDown.
const unsigned kKeyBack = 0x08;
const unsigned kKeyEnd = 0x23;
const unsigned kKeyHome = 0x24;
const unsigned kKeyLeft = 0x25;
const unsigned kKeyUp = 0x26;
const unsigned kKeyRight = 0x27;
const unsigned kKeyDown = 0x28;
const unsigned kKeyInsert = 0x2D;
const unsigned kKeyDelete = 0x2E;

// What the engine needs from its window.
class Host
{
public:
    virtual ~Host() {}
    // Width in pixels of the first n bytes of s drawn in the control's font.
    virtual int TextWidth(const char* s, int n) = 0;
    // The clipboard's text; false when it cannot be opened or holds none.
    virtual bool GetClipboardText(std::string* text) = 0;
    // Puts text on the clipboard; false (clipboard untouched) on failure.
    virtual bool SetClipboardText(const std::string& text) = 0;
    // The text changed (the window posts EN_CHANGE to its parent).
    virtual void NotifyChange() = 0;
};

// True when a walk from the start of text (stepping two bytes at each byte
// with the high bit set) lands on pos; 0 and the length always do.
bool IsCharBoundary(const std::string& text, int pos);
// The character boundary before pos (0 at the start) and after it (the
// length at the end); pos is clamped to 0..length first.
int PrevChar(const std::string& text, int pos);
int NextChar(const std::string& text, int pos);
// The last boundary at or before pos.
int BoundaryAtOrBefore(const std::string& text, int pos);
// True when pos is the trail byte of a two-byte character.
bool IsTrailByte(const std::string& text, int pos);

class Model
{
public:
    explicit Model(Host* host);

    // ---- State --------------------------------------------------------------------------------
    const std::string& Text() const { return m_text; }
    int Length() const { return static_cast<int>(m_text.size()); }
    int Caret() const { return m_caret; }
    int SelStart() const { return m_selStart; }
    int SelAnchor() const { return m_selAnchor; }
    int SelLength() const { return m_selLength; }
    bool HasSelection() const { return m_selStart >= 0 && m_selLength != 0; }
    int ScrollOffset() const { return m_scroll; }
    int DragAnchor() const { return m_dragAnchor; }
    bool Dragging() const { return m_dragging; }
    bool CaretShown() const { return m_caretShown; }
    void SetCaretShown(bool shown) { m_caretShown = shown; }
    // A lead byte typed and waiting for its trail byte (0 for none).
    unsigned char PendingLead() const { return m_pendingLead; }

    uint32_t Style() const { return m_style; }
    void SetStyle(uint32_t style) { m_style = style; }
    // Sets or clears the read-only bit; the new style.
    uint32_t SetReadOnly(bool readOnly);
    bool IsPassword() const { return (m_style & kStylePassword) != 0; }
    bool IsReadOnly() const { return (m_style & kStyleReadOnly) != 0; }
    // The most bytes the text may hold; -1 for no limit (the default).
    int Limit() const { return m_limit; }
    void SetLimit(int limit) { m_limit = limit < 0 ? -1 : limit; }
    bool GetNotify() const { return m_notify; }
    bool SetNotify(bool notify);
    // The character a password control shows for each byte.
    char PasswordChar() const { return m_passwordChar; }
    void SetPasswordChar(char c) { m_passwordChar = c ? c : '*'; }
    // Non-zero: a password control shows images in cells of this pitch
    // instead of password characters.
    void SetPasswordPitch(int pitch) { m_passwordPitch = pitch > 0 ? pitch : 0; }
    int PasswordPitch() const { return m_passwordPitch; }
    // The inner rectangle's width, the left text margin and the caret width.
    void SetGeometry(int innerWidth, int leftMargin, int caretWidth);
    int InnerWidth() const { return m_innerWidth; }
    int LeftMargin() const { return m_leftMargin; }

    // ---- What is drawn -----------------------------------------------------------------------
    // The shown string: the text, or one password character per byte.
    std::string ShownText() const;
    // Width of the shown string's first n bytes (password images: n cells).
    int ShownWidth(int bytes);
    // The caret's position in pixels used for scrolling (see above).
    int CaretPosition();
    // Caret position for x relative to the inner left edge.
    int HitTest(int x);

    // ---- Operations ----------------------------------------------------------------------------
    // Replaces the whole text (the window's SetText): nothing for NULL;
    // carriage returns then line feeds trimmed from the right end and from
    // the left end; no selection, caret at the start; the offset shows the
    // end of a text wider than the control. False for NULL.
    bool SetText(const char* text);
    // start -1 (or below): no selection. Otherwise start (clamped to the
    // text, to the start of its character) to the inclusive end (-1: the
    // text's end; clamped; taken to the end of its character); an end left of
    // the start selects nothing. A selection moves the caret to its right end
    // and scrolls.
    void SetSel(int start, int end);
    // start = selection start, end = start + |length| - 1 (inclusive).
    void GetSel(int* start, int* end) const;
    std::string GetSelText() const;
    void SelectAll() { SetSel(0, -1); }
    // Removes the selection (the text stays).
    void RemoveSelection();
    // Deletes the selection; false when there is none or the control is read-only.
    bool Clear();
    // The selection to the clipboard; false for a password control, an
    // empty selection or a clipboard failure.
    bool Copy();
    // Copy, then Clear and a change notice; nothing in a read-only or
    // password control or when the copy fails.
    bool Cut();
    // The clipboard's text (up to its first zero, carriage returns and line
    // feeds left out) replaces the selection at the caret, within the limit
    // taking whole characters only; nothing in a read-only or password
    // control. A change notice when the text changed.
    bool Paste();
    // Inserts text at pos when 0 < pos <= length, else at the caret (both
    // taken to a character start); the caret advances by the inserted
    // length when the insertion is at or before it; the selection is
    // removed. No notice. The new caret.
    int InsertText(const std::string& text, int pos);

    // A WM_CHAR byte (see the window's typing rules). True when the text changed.
    bool Char(unsigned int c);
    // A WM_KEYDOWN key with the state of Shift and Ctrl. True when the text changed.
    bool KeyDown(unsigned int key, bool shift, bool ctrl);
    // Mouse at x relative to the inner left edge. True when a repaint is due.
    bool MouseDown(int x);
    bool MouseMove(int x);
    void MouseUp() { m_dragging = false; }
    void CancelDrag() { m_dragging = false; }

    // WM_GETTEXT: 0 for a password control or a size of 0; else copies at
    // most size - 1 bytes and a zero and returns the bytes copied.
    int GetText(char* buffer, int size) const;
    // WM_GETTEXTLENGTH: 0 for a password control.
    int GetTextLength() const { return IsPassword() ? 0 : Length(); }

    // Scroll rules after a move to the right or to the left.
    void ScrollRight();
    void ScrollLeft();

private:
    void Notify();
    void DropPendingLead() { m_pendingLead = 0; }
    void NoSelection();
    void DeleteSelection();
    void InsertAt(int pos, const std::string& bytes);
    void MoveCaret(int to, bool shift);

    Host* m_host;
    std::string m_text;
    uint32_t m_style = 0;
    int m_caret = 0;
    int m_selStart = -1;
    int m_selAnchor = -1;
    int m_selLength = 0;
    int m_scroll = 0;
    int m_dragAnchor = 0;
    bool m_dragging = false;
    bool m_caretShown = false;
    int m_limit = -1;
    bool m_notify = true;
    char m_passwordChar = '*';
    int m_passwordPitch = 0;
    int m_innerWidth = 0;
    int m_leftMargin = 2;
    int m_caretWidth = 1;
    // Two-byte input: the lead byte held until its trail byte comes, and
    // whether the trail byte of a refused lead byte is to be refused too.
    unsigned char m_pendingLead = 0;
    bool m_leadSeen = false;
    bool m_refuseTrail = false;
    // Notices sent during the key being handled (one per change).
    int m_noticesInKey = 0;
    bool m_inKey = false;
};

}  // namespace odedit
