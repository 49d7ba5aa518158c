// ODEditModel.cpp - the edit control's editing engine (see the header).
#include "ODEditModel.h"

#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <vector>

namespace odedit {

namespace {

bool IsLead(unsigned char b) { return (b & 0x80) != 0; }

// A byte that may follow a lead byte typed alone: GBK trail bytes.
bool CanTrail(unsigned int c) { return c >= 0x40 && c <= 0xFF && c != 0x7F; }

// Leaves out a lead byte that ends the text without its trail byte.
void DropHalfCharacter(std::string* s)
{
    const int n = static_cast<int>(s->size());
    int pos = 0;
    while (pos < n) {
        const int step = IsLead(static_cast<unsigned char>((*s)[static_cast<size_t>(pos)])) ? 2 : 1;
        if (pos + step > n) {
            s->resize(static_cast<size_t>(pos));
            return;
        }
        pos += step;
    }
}

}  // namespace

// ---- Character boundaries ------------------------------------------------------------------------

bool IsCharBoundary(const std::string& text, int pos)
{
    const int n = static_cast<int>(text.size());
    if (pos <= 0 || pos >= n)
        return pos == 0 || pos == n;
    int p = 0;
    while (p < pos)
        p += IsLead(static_cast<unsigned char>(text[static_cast<size_t>(p)])) ? 2 : 1;
    return p == pos;
}

int BoundaryAtOrBefore(const std::string& text, int pos)
{
    const int n = static_cast<int>(text.size());
    if (pos <= 0)
        return 0;
    if (pos >= n)
        return n;
    int p = 0;
    for (;;) {
        const int next = p + (IsLead(static_cast<unsigned char>(text[static_cast<size_t>(p)])) ? 2 : 1);
        if (next > pos)
            return p;
        p = next;
    }
}

int PrevChar(const std::string& text, int pos)
{
    const int n = static_cast<int>(text.size());
    pos = std::min(std::max(pos, 0), n);
    if (pos == 0)
        return 0;
    return BoundaryAtOrBefore(text, pos - 1);
}

int NextChar(const std::string& text, int pos)
{
    const int n = static_cast<int>(text.size());
    pos = BoundaryAtOrBefore(text, std::min(std::max(pos, 0), n));
    if (pos >= n)
        return n;
    return std::min(n, pos + (IsLead(static_cast<unsigned char>(text[static_cast<size_t>(pos)])) ? 2 : 1));
}

bool IsTrailByte(const std::string& text, int pos)
{
    const int n = static_cast<int>(text.size());
    if (pos <= 0 || pos >= n)
        return false;
    const int start = BoundaryAtOrBefore(text, pos);
    return start != pos;
}

// ---- Model ---------------------------------------------------------------------------------------

Model::Model(Host* host) : m_host(host) {}

uint32_t Model::SetReadOnly(bool readOnly)
{
    if (readOnly)
        m_style |= kStyleReadOnly;
    else
        m_style &= ~kStyleReadOnly;
    return m_style;
}

bool Model::SetNotify(bool notify)
{
    const bool old = m_notify;
    m_notify = notify;
    return old;
}

void Model::SetGeometry(int innerWidth, int leftMargin, int caretWidth)
{
    m_innerWidth = std::max(innerWidth, 0);
    m_leftMargin = std::max(leftMargin, 0);
    m_caretWidth = std::max(caretWidth, 0);
}

std::string Model::ShownText() const
{
    return IsPassword() ? std::string(m_text.size(), m_passwordChar) : m_text;
}

int Model::ShownWidth(int bytes)
{
    bytes = std::min(std::max(bytes, 0), Length());
    if (bytes == 0)
        return 0;
    if (IsPassword()) {
        if (m_passwordPitch > 0)
            return bytes * m_passwordPitch;
        const std::string shown(static_cast<size_t>(bytes), m_passwordChar);
        return m_host->TextWidth(shown.data(), bytes);
    }
    return m_host->TextWidth(m_text.data(), bytes);
}

int Model::CaretPosition() { return m_leftMargin + ShownWidth(m_caret) + m_caretWidth + 1; }

int Model::HitTest(int x)
{
    // The first character whose right edge lies past x. The widths of longer
    // prefixes never shrink, so the character is found by halving over the
    // character starts, with a logarithmic number of measurements (a long
    // text measured once per character would take quadratic time).
    const int n = Length();
    std::vector<int> starts;
    starts.reserve(static_cast<size_t>(n) + 1);
    for (int pos = 0; pos < n;) {
        starts.push_back(pos);
        pos = std::min(n, pos + (IsLead(static_cast<unsigned char>(m_text[static_cast<size_t>(pos)])) ? 2 : 1));
    }
    starts.push_back(n);
    size_t lo = 0, hi = starts.size() - 1;   // answer among characters [lo, hi); hi: none
    while (lo < hi) {
        const size_t mid = lo + (hi - lo) / 2;
        if (m_leftMargin + ShownWidth(starts[mid + 1]) - m_scroll > x)
            hi = mid;
        else
            lo = mid + 1;
    }
    return starts[lo];
}

void Model::ScrollRight()
{
    const int x = CaretPosition();
    if (x - m_scroll > m_innerWidth)
        m_scroll = x - m_innerWidth;
    if (x < m_innerWidth)
        m_scroll = 0;
    m_scroll = std::max(m_scroll, 0);
}

void Model::ScrollLeft()
{
    const int x = CaretPosition();
    if (x - m_scroll < m_leftMargin)
        m_scroll = x - m_leftMargin;
    if (x < m_innerWidth)
        m_scroll = 0;
    m_scroll = std::max(m_scroll, 0);
}

void Model::Notify()
{
    if (!m_notify)
        return;
    if (m_inKey)
        ++m_noticesInKey;
    if (m_host)
        m_host->NotifyChange();
}

void Model::NoSelection()
{
    m_selStart = -1;
    m_selAnchor = -1;
    m_selLength = 0;
}

void Model::RemoveSelection()
{
    DropPendingLead();
    NoSelection();
}

void Model::DeleteSelection()
{
    if (!HasSelection())
        return;
    const int n = Length();
    const int start = std::min(std::max(m_selStart, 0), n);
    const int end = std::min(start + abs(m_selLength), n);
    m_text.erase(static_cast<size_t>(start), static_cast<size_t>(end - start));
    m_caret = start;
    NoSelection();
    m_dragAnchor = m_caret;
}

void Model::InsertAt(int pos, const std::string& bytes)
{
    m_text.insert(static_cast<size_t>(pos), bytes);
    // The anchor of a selection being extended no longer names the same place.
    NoSelection();
}

// ---- Text --------------------------------------------------------------------------------------------

bool Model::SetText(const char* text)
{
    if (!text)
        return false;
    DropPendingLead();
    std::string s = text;
    // Each end loses its carriage returns, then its line feeds ("x\r\n" keeps
    // its carriage return).
    const auto trimRight = [&s](char c) {
        while (!s.empty() && s.back() == c)
            s.pop_back();
    };
    const auto trimLeft = [&s](char c) {
        size_t i = 0;
        while (i < s.size() && s[i] == c)
            ++i;
        s.erase(0, i);
    };
    trimRight('\r');
    trimRight('\n');
    trimLeft('\r');
    trimLeft('\n');
    DropHalfCharacter(&s);
    m_text = s;
    NoSelection();
    m_caret = 0;
    m_dragAnchor = 0;
    // The offset that shows the end of a text wider than the room for it.
    const int width = ShownWidth(Length());
    const int room = m_innerWidth - 2 * m_leftMargin;
    if (width - m_scroll > room)
        m_scroll = width - room;
    if (width - m_scroll < m_leftMargin)
        m_scroll = width - m_leftMargin;
    if (width < room)
        m_scroll = 0;
    m_scroll = std::max(m_scroll, 0);
    return true;
}

int Model::GetText(char* buffer, int size) const
{
    if (!buffer || size <= 0)
        return 0;
    if (IsPassword()) {
        buffer[0] = 0;
        return 0;
    }
    const int n = std::min(size - 1, Length());
    memcpy(buffer, m_text.data(), static_cast<size_t>(n));
    buffer[n] = 0;
    return n;
}

// ---- Selection -----------------------------------------------------------------------------------

void Model::SetSel(int start, int end)
{
    DropPendingLead();
    if (start < 0) {
        NoSelection();
        return;
    }
    const int n = Length();
    start = BoundaryAtOrBefore(m_text, std::min(start, n));
    int length = 0;
    if (start < n) {
        if (end == -1)
            length = n - start;
        else if (end >= start)
            length = NextChar(m_text, std::min(end, n - 1)) - start;
    }
    m_selStart = start;
    m_selLength = length;
    if (length == 0) {
        m_selAnchor = -1;
        return;
    }
    const int old = m_caret;
    m_selAnchor = start;
    m_caret = start + length;
    if (m_caret >= old)
        ScrollRight();
    else
        ScrollLeft();
}

void Model::GetSel(int* start, int* end) const
{
    if (start)
        *start = m_selStart;
    if (end)
        *end = m_selStart + abs(m_selLength) - 1;
}

std::string Model::GetSelText() const
{
    if (!HasSelection())
        return std::string();
    const int n = Length();
    const int start = std::min(m_selStart, n);
    const int end = std::min(start + abs(m_selLength), n);
    return m_text.substr(static_cast<size_t>(start), static_cast<size_t>(end - start));
}

// ---- Clipboard -----------------------------------------------------------------------------------

bool Model::Clear()
{
    DropPendingLead();
    if (IsReadOnly() || !HasSelection())
        return false;
    DeleteSelection();
    ScrollLeft();
    Notify();
    return true;
}

bool Model::Copy()
{
    if (IsPassword() || !HasSelection())
        return false;
    const std::string s = GetSelText();
    if (s.empty() || !m_host)
        return false;
    return m_host->SetClipboardText(s);
}

bool Model::Cut()
{
    DropPendingLead();
    if (IsReadOnly() || IsPassword() || !Copy())
        return false;
    DeleteSelection();
    ScrollLeft();
    Notify();
    return true;
}

bool Model::Paste()
{
    DropPendingLead();
    if (IsReadOnly() || IsPassword() || !m_host)
        return false;
    std::string clip;
    if (!m_host->GetClipboardText(&clip))
        return false;
    const size_t zero = clip.find('\0');
    if (zero != std::string::npos)
        clip.resize(zero);
    clip.erase(std::remove_if(clip.begin(), clip.end(), [](char c) { return c == '\r' || c == '\n'; }),
               clip.end());
    DropHalfCharacter(&clip);
    if (clip.empty())
        return false;
    const std::string old = m_text;
    DeleteSelection();
    m_caret = BoundaryAtOrBefore(m_text, m_caret);
    if (m_limit < 0) {
        InsertAt(m_caret, clip);
        m_caret += static_cast<int>(clip.size());
    } else {
        // Whole characters while they fit.
        const int n = static_cast<int>(clip.size());
        int take = 0;
        while (take < n) {
            const int next = NextChar(clip, take);
            if (Length() + next > m_limit)
                break;
            take = next;
        }
        if (take > 0) {
            InsertAt(m_caret, clip.substr(0, static_cast<size_t>(take)));
            m_caret += take;
        }
    }
    m_dragAnchor = m_caret;
    ScrollRight();
    if (m_text != old)
        Notify();
    return m_text != old;
}

int Model::InsertText(const std::string& text, int pos)
{
    DropPendingLead();
    std::string s = text;
    DropHalfCharacter(&s);
    const int n = Length();
    m_caret = BoundaryAtOrBefore(m_text, std::min(std::max(m_caret, 0), n));
    const int at = (pos > 0 && pos <= n) ? BoundaryAtOrBefore(m_text, pos) : m_caret;
    InsertAt(at, s);
    if (at <= m_caret)
        m_caret += static_cast<int>(s.size());
    return m_caret;
}

// ---- Typing ----------------------------------------------------------------------------------------

bool Model::Char(unsigned int c)
{
    // The byte after a lead byte is its trail byte when it can be one.
    const bool trail = m_leadSeen && CanTrail(c);
    if (c > 0xFF || c == 13 || IsReadOnly()) {
        m_pendingLead = 0;
        m_leadSeen = m_refuseTrail = false;
        return false;
    }
    if ((m_style & kStyleNumber) && !((c >= '0' && c <= '9') || c == '-')) {
        m_pendingLead = 0;
        m_leadSeen = m_refuseTrail = false;
        return false;
    }
    if (m_leadSeen && !trail) {
        // The lead byte's pair is broken: the lead byte is not typed.
        m_pendingLead = 0;
        m_leadSeen = m_refuseTrail = false;
    }
    const int used = Length() - (HasSelection() ? abs(m_selLength) : 0);
    std::string bytes;
    if (trail) {
        const unsigned char lead = m_pendingLead;
        const bool refused = m_refuseTrail || lead == 0 || (m_limit >= 0 && used + 2 > m_limit);
        m_pendingLead = 0;
        m_leadSeen = m_refuseTrail = false;
        if (refused)
            return false;
        bytes.push_back(static_cast<char>(lead));
        bytes.push_back(static_cast<char>(c));
    } else if (c & 0x80) {
        if (c < 0x81)
            return false;  // not a character
        m_leadSeen = true;
        if (m_limit >= 0 && used + 2 > m_limit) {
            m_refuseTrail = true;
            m_pendingLead = 0;
        } else {
            m_refuseTrail = false;
            m_pendingLead = static_cast<unsigned char>(c);
        }
        return false;
    } else {
        if (c < 0x20 || c == 0x7F)
            return false;
        if (m_limit >= 0 && used >= m_limit)
            return false;
        bytes.push_back(static_cast<char>(c));
    }
    DeleteSelection();
    m_caret = BoundaryAtOrBefore(m_text, m_caret);
    InsertAt(m_caret, bytes);
    m_caret += static_cast<int>(bytes.size());
    m_dragAnchor = m_caret;
    m_caretShown = true;
    ScrollRight();
    Notify();
    return true;
}

// ---- Keys ----------------------------------------------------------------------------------------------

void Model::MoveCaret(int to, bool shift)
{
    if (shift) {
        if (m_selAnchor < 0)
            m_selAnchor = m_caret;
        m_selLength = to - m_selAnchor;
        m_selStart = m_selAnchor + std::min(m_selLength, 0);
    } else {
        NoSelection();
    }
    m_caret = to;
    m_caretShown = true;
}

bool Model::KeyDown(unsigned int key, bool shift, bool ctrl)
{
    DropPendingLead();
    m_leadSeen = m_refuseTrail = false;
    const std::string before = m_text;
    m_inKey = true;
    m_noticesInKey = 0;
    const int n = Length();
    m_caret = BoundaryAtOrBefore(m_text, std::min(std::max(m_caret, 0), n));
    switch (key) {
    case kKeyBack:
        if (IsReadOnly())
            break;
        if (HasSelection()) {
            DeleteSelection();
            ScrollLeft();
        } else if (m_caret > 0) {
            const int p = PrevChar(m_text, m_caret);
            m_text.erase(static_cast<size_t>(p), static_cast<size_t>(m_caret - p));
            m_caret = p;
            NoSelection();
            m_caretShown = true;
            ScrollLeft();
        }
        break;
    case kKeyEnd:
        MoveCaret(n, shift);
        ScrollRight();
        break;
    case kKeyHome:
        MoveCaret(0, shift);
        ScrollLeft();
        break;
    case kKeyLeft:
    case kKeyUp:
        if (m_caret > 0) {
            MoveCaret(PrevChar(m_text, m_caret), shift);
            ScrollLeft();
        } else if (!shift) {
            NoSelection();
        }
        break;
    case kKeyRight:
    case kKeyDown:
        if (m_caret < n) {
            MoveCaret(NextChar(m_text, m_caret), shift);
            ScrollRight();
        } else if (!shift) {
            NoSelection();
        }
        break;
    case kKeyInsert:
        if (shift && !ctrl)
            Paste();
        else if (ctrl && !shift && !IsReadOnly())
            Copy();
        break;
    case kKeyDelete:
        if (IsReadOnly())
            break;
        if (shift) {
            Cut();
        } else if (HasSelection()) {
            DeleteSelection();
            ScrollLeft();
        } else if (m_caret < n) {
            const int next = NextChar(m_text, m_caret);
            m_text.erase(static_cast<size_t>(m_caret), static_cast<size_t>(next - m_caret));
            NoSelection();
        }
        break;
    case 'A':
        if (ctrl)
            SelectAll();
        break;
    case 'C':
        if (ctrl)
            Copy();
        break;
    case 'V':
        if (ctrl && !IsReadOnly())
            Paste();
        break;
    case 'X':
        if (ctrl && !IsReadOnly())
            Cut();
        break;
    default:
        break;
    }
    const bool changed = m_text != before;
    if (changed)
        m_dragAnchor = std::min(m_dragAnchor, Length());
    if (changed && m_noticesInKey == 0)
        Notify();
    m_inKey = false;
    return changed;
}

// ---- Mouse -------------------------------------------------------------------------------------------

bool Model::MouseDown(int x)
{
    DropPendingLead();
    m_leadSeen = m_refuseTrail = false;
    const bool hadSelection = HasSelection();
    NoSelection();
    const int hit = HitTest(x);
    const bool moved = hit != m_caret;
    m_caret = hit;
    m_dragAnchor = hit;
    m_dragging = true;
    m_caretShown = true;
    return moved || hadSelection;
}

bool Model::MouseMove(int x)
{
    if (!m_dragging || m_text.empty())
        return false;
    const int oldCaret = m_caret, oldStart = m_selStart, oldLength = m_selLength, oldScroll = m_scroll;
    m_dragAnchor = BoundaryAtOrBefore(m_text, std::min(m_dragAnchor, Length()));
    const int hit = HitTest(x);
    m_caret = hit;
    m_selStart = std::min(hit, m_dragAnchor);
    m_selLength = hit - m_dragAnchor;
    m_selAnchor = m_dragAnchor;
    if (x > m_innerWidth)
        ScrollRight();
    else if (x < 0)
        ScrollLeft();
    return m_caret != oldCaret || m_selStart != oldStart || m_selLength != oldLength || m_scroll != oldScroll;
}

}  // namespace odedit
