#include "LinkText.h"

#include <cctype>
#include <cstring>

namespace kit {

namespace {

bool StartsNoCase(const char* text, size_t length, size_t at, const char* prefix)
{
    const size_t n = std::strlen(prefix);
    if (at > length || length - at < n)
        return false;
    for (size_t i = 0; i < n; i++)
        if (std::tolower(static_cast<unsigned char>(text[at + i])) != std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

// Blank, comma, closing parenthesis, a byte of 128 or more, and (so a link
// never swallows a line break) any control character.
bool EndsBareAddress(unsigned char c)
{
    return c <= ' ' || c == ',' || c == ')' || c >= 128;
}

bool EndsMarkupAddress(unsigned char c)
{
    return c == '"' || EndsBareAddress(c);
}

size_t FindNoCase(const char* text, size_t length, size_t from, const char* what)
{
    for (size_t i = from; i < length; i++)
        if (StartsNoCase(text, length, i, what))
            return i;
    return length;
}

class Layouter
{
public:
    Layouter(int width, int height, const MeasureFn& measure, LinkLayout& out)
        : m_width(width), m_height(height), m_measure(measure), m_out(out)
    {
        m_lineHeight = m_measure(" ", 1).cy;
    }

    void NewLine()
    {
        m_y += m_lineHeight + kLinkLineGap;
        m_x = 0;
    }

    // FALSE when the run no longer fits: layout stops.
    bool Place(const char* text, size_t offset, size_t length, int link)
    {
        const TextSize s = m_measure(text + offset, static_cast<int>(length));
        if (m_x > 0 && m_x + s.cx > m_width) {
            m_y += s.cy + kLinkLineGap;
            m_x = 0;
        }
        if (m_y + s.cy + kLinkLineGap > m_height) {
            m_out.cut = true;
            return false;
        }
        LinkRun run;
        run.offset = offset;
        run.length = length;
        run.link = link;
        run.x = m_x;
        run.y = m_y;
        run.cx = s.cx;
        run.cy = s.cy;
        m_out.runs.push_back(run);
        if (link >= 0)
            m_out.links[link].rect = {m_x, m_y, m_x + s.cx, m_y + s.cy + kLinkLineGap};
        m_lineHeight = s.cy;
        m_x += s.cx;
        return true;
    }

    int AddLink(const char* text, size_t from, size_t to)
    {
        LinkRecord r;
        r.address.assign(text + from, to - from > kLinkAddressMax ? kLinkAddressMax : to - from);
        m_out.links.push_back(r);
        return static_cast<int>(m_out.links.size()) - 1;
    }

private:
    int m_width, m_height;
    const MeasureFn& m_measure;
    LinkLayout& m_out;
    int m_x = 0, m_y = 0;
    int m_lineHeight = 0;
};

}  // namespace

LinkLayout LayoutLinkText(const char* text, size_t length, int clientWidth, int clientHeight,
                          const MeasureFn& measure, LeadByteFn isLead)
{
    LinkLayout out;
    if (text == nullptr || !measure)
        return out;
    const size_t n = length < kLinkTextMax ? length : kLinkTextMax;
    Layouter lay(clientWidth, clientHeight, measure, out);
    size_t i = 0;
    while (i < n) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\r' || c == '\n') {
            size_t j = i + 1;
            if (j < n && (text[j] == '\r' || text[j] == '\n') && static_cast<unsigned char>(text[j]) != c)
                j++;
            lay.NewLine();
            i = j;
            continue;
        }
        if (c == '\\' && i + 1 < n && text[i + 1] == 'n') {
            lay.NewLine();
            i += 2;
            continue;
        }
        if (StartsNoCase(text, n, i, "</a>")) {
            i += 4;
            continue;
        }
        if (StartsNoCase(text, n, i, "<A href=\"www.") || StartsNoCase(text, n, i, "<A href=\"http://")) {
            const size_t from = i + 9;
            size_t to = from;
            while (to < n && !EndsMarkupAddress(static_cast<unsigned char>(text[to])))
                to++;
            // The label follows the closing quote and bracket; every look
            // ahead stays inside the text.
            const size_t labelFrom = to + 2 < n ? to + 2 : n;
            const size_t labelTo = FindNoCase(text, n, labelFrom, "</a>");
            if (labelTo > labelFrom) {
                const int link = lay.AddLink(text, from, to);
                if (!lay.Place(text, labelFrom, labelTo - labelFrom, link)) {
                    out.links.pop_back();
                    break;
                }
            }
            i = labelTo;
            continue;
        }
        if (StartsNoCase(text, n, i, "www.") || StartsNoCase(text, n, i, "http://")) {
            size_t to = i;
            while (to < n && !EndsBareAddress(static_cast<unsigned char>(text[to])))
                to++;
            const int link = lay.AddLink(text, i, to);
            if (!lay.Place(text, i, to - i, link)) {
                out.links.pop_back();
                break;
            }
            i = to;
            continue;
        }
        const size_t step = (isLead != nullptr && isLead(c) && i + 1 < n) ? 2 : 1;
        if (!lay.Place(text, i, step, -1))
            break;
        i += step;
    }
    return out;
}

std::string LinkOpenAddress(const std::string& address)
{
    for (unsigned char c : address)
        if (c <= ' ' || c == '"' || c >= 128)
            return std::string();
    auto starts = [&](const char* p) {
        const size_t n = std::strlen(p);
        if (address.size() <= n)
            return false;
        for (size_t i = 0; i < n; i++)
            if (std::tolower(static_cast<unsigned char>(address[i])) != p[i])
                return false;
        return true;
    };
    if (starts("http://") || starts("https://"))
        return address;
    if (starts("www."))
        return "http://" + address;
    return std::string();
}

int HitTestLinks(const LinkLayout& layout, int x, int y)
{
    for (size_t i = 0; i < layout.links.size(); i++)
        if (layout.links[i].rect.Contains(x, y))
            return static_cast<int>(i);
    return -1;
}

}  // namespace kit
