// Text with web links, as the hyperlink label draws it: anchors
// <A href="address">caption</A> (only addresses beginning "www." or
// "http://"), bare "www." and "http://" links, line breaks (CR, LF, their
// pairs, and the two characters "\n"), and everything else one character
// (code page 936) at a time. The parser never reads past the text, whatever
// its anchors look like; the layout wraps pieces at the width and stops at
// the bottom, and only links that were placed get a rectangle.
#pragma once

#include <string>
#include <vector>

#include "BalloonText.h"   // MeasureText, TextExtent
#include "WidgetGeometry.h"

namespace widgets {

enum class PieceKind { Text, NewLine, Link };

struct LinkPiece {
    PieceKind kind = PieceKind::Text;
    size_t begin = 0;     // the bytes drawn (a link's caption or address)
    size_t length = 0;
    std::string address;  // links only, at most the capacity less one byte
};

// The label's limits: the text it reads and the link record's address field.
constexpr size_t kLabelTextLimit = 1023;
constexpr size_t kLabelAddressCapacity = 512;

std::vector<LinkPiece> ParseLinkText(const std::string& text, size_t addressCapacity);

struct PlacedPiece {
    size_t piece = 0;   // index into the parsed pieces
    int x = 0;
    int y = 0;
};
struct LinkRect {
    Rc rect;            // (x, y, x + cx, y + cy + 2)
    std::string address;
};
struct LinkLayout {
    std::vector<PlacedPiece> placed;
    std::vector<LinkRect> links;
};

// Places the pieces from (0, 0): a piece that would pass the width starts a
// new line (unless it begins one), a new line advances by the line height
// + 2, and the first piece that would pass the bottom ends the layout.
LinkLayout LayoutLinkText(const std::string& text, const std::vector<LinkPiece>& pieces, int clientWidth,
                          int clientHeight, const MeasureText& measure);

// The first link whose rectangle holds the point, or -1.
int HitTestLinks(const std::vector<LinkRect>& links, Pt point);

// Whether an address may be opened: only web addresses. "http://" and
// "https://" addresses as they are, "www." ones with "http://" put before;
// everything else (files, other schemes, control characters) is refused.
bool NormaliseWebAddress(const std::string& address, std::string* out);

}  // namespace widgets
