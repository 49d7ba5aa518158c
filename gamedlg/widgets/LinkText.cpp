#include "LinkText.h"

namespace widgets {

namespace {

bool StartsWithNoCase(const std::string& s, size_t at, const char* prefix)
{
    for (size_t k = 0; prefix[k] != '\0'; ++k) {
        if (at + k >= s.size())
            return false;
        char c = s[at + k];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        char p = prefix[k];
        if (p >= 'A' && p <= 'Z')
            p = static_cast<char>(p - 'A' + 'a');
        if (c != p)
            return false;
    }
    return true;
}

bool IsWebStart(const std::string& s, size_t at)
{
    return StartsWithNoCase(s, at, "www.") || StartsWithNoCase(s, at, "http://");
}

std::string CapAddress(const std::string& s, size_t begin, size_t end, size_t capacity)
{
    const std::string a = s.substr(begin, end - begin);
    const size_t room = capacity > 0 ? capacity - 1 : 0;
    return a.size() <= room ? a : a.substr(0, CharBoundaryAtMost936(a, room));
}

size_t FindCloseTag(const std::string& s, size_t from)
{
    for (size_t i = from; i < s.size(); ++i)
        if (StartsWithNoCase(s, i, "</a>"))
            return i;
    return s.size();
}

}  // namespace

std::vector<LinkPiece> ParseLinkText(const std::string& text, size_t addressCapacity)
{
    std::vector<LinkPiece> pieces;
    const size_t n = text.size();
    size_t i = 0;
    while (i < n) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        LinkPiece p;
        if (c == '\r' || c == '\n') {
            const char other = c == '\r' ? '\n' : '\r';
            p.kind = PieceKind::NewLine;
            p.begin = i;
            p.length = i + 1 < n && text[i + 1] == other ? 2 : 1;
            i += p.length;
            pieces.push_back(p);
            continue;
        }
        if (c == '\\' && i + 1 < n && text[i + 1] == 'n') {
            p.kind = PieceKind::NewLine;
            p.begin = i;
            p.length = 2;
            i += 2;
            pieces.push_back(p);
            continue;
        }
        if (StartsWithNoCase(text, i, "</a>")) {
            i += 4;
            continue;
        }
        if (StartsWithNoCase(text, i, "<a href=\"") && IsWebStart(text, i + 9)) {
            // The address runs to a quote, blank, ',', ')', '>' or a stray
            // byte >= 0x80; a whole double-byte character belongs to it.
            size_t e = i + 9;
            while (e < n) {
                const unsigned char b = static_cast<unsigned char>(text[e]);
                if (b == '"' || b == ' ' || b == ',' || b == ')' || b == '>')
                    break;
                if (b >= 0x80) {
                    if (IsLeadByte936(b) && e + 1 < n) {
                        e += 2;
                        continue;
                    }
                    break;
                }
                ++e;
            }
            // The caption starts after the closing quote and '>', never past the text.
            const size_t captionBegin = e + 2 < n ? e + 2 : n;
            const size_t captionEnd = FindCloseTag(text, captionBegin);
            p.kind = PieceKind::Link;
            p.begin = captionBegin;
            p.length = captionEnd - captionBegin;
            p.address = CapAddress(text, i + 9, e, addressCapacity);
            pieces.push_back(p);
            i = captionEnd;
            continue;
        }
        if (IsWebStart(text, i)) {
            size_t e = i;
            while (e < n) {
                const unsigned char b = static_cast<unsigned char>(text[e]);
                if (b == ' ' || b == ',' || b == ')' || b == '>' || b >= 0x80)
                    break;
                ++e;
            }
            p.kind = PieceKind::Link;
            p.begin = i;
            p.length = e - i;
            p.address = CapAddress(text, i, e, addressCapacity);
            pieces.push_back(p);
            i = e;
            continue;
        }
        p.kind = PieceKind::Text;
        p.begin = i;
        p.length = CharLength936(text, i);
        i += p.length;
        pieces.push_back(p);
    }
    return pieces;
}

LinkLayout LayoutLinkText(const std::string& text, const std::vector<LinkPiece>& pieces, int clientWidth,
                          int clientHeight, const MeasureText& measure)
{
    LinkLayout out;
    long long x = 0, y = 0, lineHeight = 0;
    for (size_t k = 0; k < pieces.size(); ++k) {
        const LinkPiece& p = pieces[k];
        if (p.kind == PieceKind::NewLine) {
            x = 0;
            y += lineHeight + 2;
            continue;
        }
        if (p.begin > text.size())
            break;
        const TextExtent e = measure(text.substr(p.begin, p.length));
        if (y + e.cy + 2 > clientHeight)
            break;
        lineHeight = e.cy;
        if (x > 0 && x + e.cx > clientWidth) {
            x = 0;
            y += e.cy + 2;
            if (y + e.cy + 2 > clientHeight)
                break;
        }
        PlacedPiece placed;
        placed.piece = k;
        placed.x = static_cast<int>(x);
        placed.y = static_cast<int>(y);
        out.placed.push_back(placed);
        if (p.kind == PieceKind::Link) {
            LinkRect r;
            r.rect = Rc{placed.x, placed.y, static_cast<int>(x + e.cx), static_cast<int>(y + e.cy + 2)};
            r.address = p.address;
            out.links.push_back(r);
        }
        x += e.cx;
    }
    return out;
}

int HitTestLinks(const std::vector<LinkRect>& links, Pt point)
{
    for (size_t i = 0; i < links.size(); ++i)
        if (links[i].rect.Contains(point))
            return static_cast<int>(i);
    return -1;
}

bool NormaliseWebAddress(const std::string& address, std::string* out)
{
    for (unsigned char c : address)
        if (c < 0x21 || c == 0x7F || c == '"')
            return false;
    if (StartsWithNoCase(address, 0, "http://") || StartsWithNoCase(address, 0, "https://")) {
        if (address.size() <= (StartsWithNoCase(address, 0, "https://") ? 8u : 7u))
            return false;   // a scheme alone
        *out = address;
        return true;
    }
    if (StartsWithNoCase(address, 0, "www.") && address.size() > 4) {
        *out = "http://" + address;
        return true;
    }
    return false;
}

}  // namespace widgets
