// The edit control's engine driven by random key, character, mouse,
// selection and clipboard sequences: each input byte picks an operation and
// the following bytes are its arguments. Nothing may read or write out of
// bounds; after every operation the caret and the selection lie inside the
// text, the caret is never inside a two-byte character, no lead byte ends
// the text without its trail byte, the offset is never negative and the
// text stays within a limit it started within.
#include <stddef.h>
#include <stdint.h>

#include <string>

#include "ODEditModel.h"

namespace {

class Host : public odedit::Host
{
public:
    int TextWidth(const char* s, int n) override
    {
        int w = 0;
        for (int i = 0; i < n; ++i)
            w += (static_cast<unsigned char>(s[i]) & 0x80) ? 6 : 5;
        return w;
    }
    bool GetClipboardText(std::string* text) override
    {
        if (!open)
            return false;
        *text = clipboard;
        return true;
    }
    bool SetClipboardText(const std::string& text) override
    {
        if (!open)
            return false;
        clipboard = text;
        return true;
    }
    void NotifyChange() override { ++notices; }
    std::string clipboard;
    bool open = true;
    long notices = 0;
};

bool WellFormed(const std::string& text)
{
    size_t p = 0;
    while (p < text.size())
        p += (static_cast<unsigned char>(text[p]) & 0x80) ? 2 : 1;
    return p == text.size();
}

void Check(const odedit::Model& m, int limit)
{
    const int n = m.Length();
    if (m.Caret() < 0 || m.Caret() > n || !odedit::IsCharBoundary(m.Text(), m.Caret()))
        __builtin_trap();
    if (!WellFormed(m.Text()))
        __builtin_trap();
    if (m.ScrollOffset() < 0)
        __builtin_trap();
    if (m.HasSelection()) {
        const int start = m.SelStart();
        const int end = start + (m.SelLength() < 0 ? -m.SelLength() : m.SelLength());
        if (start < 0 || end > n || !odedit::IsCharBoundary(m.Text(), start) ||
            !odedit::IsCharBoundary(m.Text(), end))
            __builtin_trap();
    }
    if (limit >= 0 && n > limit)
        __builtin_trap();
}

// Bytes of the input as a short string (length byte first).
std::string TakeText(const uint8_t*& p, const uint8_t* end)
{
    if (p >= end)
        return std::string();
    size_t n = *p++ % 24;
    if (n > static_cast<size_t>(end - p))
        n = static_cast<size_t>(end - p);
    std::string s(reinterpret_cast<const char*>(p), n);
    p += n;
    return s;
}

int TakeInt(const uint8_t*& p, const uint8_t* end)
{
    if (p >= end)
        return 0;
    return static_cast<int>(static_cast<int8_t>(*p++));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const uint8_t* p = data;
    const uint8_t* end = data + size;
    Host host;
    odedit::Model m(&host);
    // First byte: style bits and the limit.
    const uint8_t setup = *p++;
    uint32_t style = 0;
    if (setup & 1)
        style |= odedit::kStylePassword;
    if (setup & 2)
        style |= odedit::kStyleReadOnly;
    if (setup & 4)
        style |= odedit::kStyleNumber;
    m.SetStyle(style);
    m.SetGeometry(60 + (setup >> 4) * 4, 2, 1);
    const int limit = (setup & 8) ? (setup >> 4) : -1;
    m.SetText(TakeText(p, end).c_str());
    // The limit holds for what is typed and pasted, not for a text set before it.
    int bound = limit >= 0 && m.Length() <= limit ? limit : -1;
    m.SetLimit(limit);
    static const unsigned kKeys[] = {odedit::kKeyBack,  odedit::kKeyEnd,    odedit::kKeyHome, odedit::kKeyLeft,
                                     odedit::kKeyUp,    odedit::kKeyRight,  odedit::kKeyDown, odedit::kKeyInsert,
                                     odedit::kKeyDelete, 'A', 'C', 'V', 'X'};
    int steps = 0;
    while (p < end && ++steps < 400) {
        const uint8_t op = *p++;
        switch (op % 12) {
        case 0:
        case 1:
        case 2: {
            const std::string bytes = TakeText(p, end);
            for (unsigned char c : bytes)
                m.Char(c);
            break;
        }
        case 3:
            if (p < end) {
                const uint8_t k = *p++;
                m.KeyDown(kKeys[k % (sizeof kKeys / sizeof kKeys[0])], (k & 0x40) != 0, (k & 0x80) != 0);
            }
            break;
        case 4: {
            const int a = TakeInt(p, end);
            const int b = TakeInt(p, end);
            m.SetSel(a, b);
            break;
        }
        case 5:
            m.MouseDown(TakeInt(p, end) * 2);
            break;
        case 6:
            m.MouseMove(TakeInt(p, end) * 2);
            break;
        case 7:
            m.MouseUp();
            break;
        case 8:
            host.clipboard = TakeText(p, end);
            host.open = (op & 0x10) == 0;
            break;
        case 9:
            switch ((op >> 4) % 5) {
            case 0: m.Clear(); break;
            case 1: m.Copy(); break;
            case 2: m.Cut(); break;
            case 3: m.Paste(); break;
            default: m.SelectAll(); break;
            }
            break;
        case 10: {
            const std::string s = TakeText(p, end);
            m.InsertText(s, TakeInt(p, end));
            bound = -1;  // inserting is not bound by the limit
            break;
        }
        default: {
            char buffer[32];
            const int n = m.GetText(buffer, (op >> 4) * 2);
            if (n < 0 || n > 31)
                __builtin_trap();
            int a = 0, b = 0;
            m.GetSel(&a, &b);
            (void)m.GetSelText();
            (void)m.HitTest(TakeInt(p, end) * 3);
            break;
        }
        }
        Check(m, bound);
    }
    return 0;
}
