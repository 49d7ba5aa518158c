// BalloonLayout.h - the chat balloon's arithmetic without the window: the
// style and its setters, the DBCS-aware line count and line cutting, the
// body's origin from the anchor and the twelve placements of the tail.
//
// Texts are code page 936: a lead byte (0x81..0xFE) and its trail byte are
// one character and are never split. Every cut takes at least one whole
// character, so no width, however narrow, makes the wrapping loop.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct BalloonStyle
{
    int hideTime = 2000;
    int frameWidth = 1;
    uint32_t frameColour = 0x3C3C3C;
    uint32_t textColour = 0x000000;
    uint32_t fillColour = 0xFFDEA8;
    int maxWidth = 150;
    int maxHeight = -1;
    int minWidth = 20;
    int minHeight = 20;
    int tailWidth = 12;
    int tailOffset = 16;
    int marginX = 8;
    int marginY = 8;
    int cornerWidth = 12;
    int cornerHeight = 12;
    int shadowY = 0;
    int shadowX = 0;
    int shadowPercent = 25;
    int lineGap = 2;
};
static_assert(sizeof(BalloonStyle) == 19 * 4, "the style record is 19 32-bit fields");

// The setters of the balloon, with their refusals.
bool BalloonSetSize(BalloonStyle& s, int maxWidth, int maxHeight);
void BalloonSetMinSize(BalloonStyle& s, int width, int height);
void BalloonSetTail(BalloonStyle& s, int width, int offset);
void BalloonSetPadding(BalloonStyle& s, int x, int y);
void BalloonSetCorner(BalloonStyle& s, int width, int height);
// 0..100 stored, anything else ignored; returns whether it was stored.
bool BalloonSetAlpha(int& alpha, int percent);

// The pixel width of a text in the balloon's font.
using TextWidth = std::function<int(const std::string&)>;

// The length in bytes of the first line of at most `per` bytes cut off a
// text without splitting a double-byte character; at least one character.
size_t BalloonCut(const std::string& text, int per);

// A line cut at `per` bytes fits the inner width when every byte is as wide
// as 'a' and every double-byte character twice as wide (the balloon's font).
// With a font whose glyphs are wider than that, the cut line gives back whole
// characters from its end until its pixels fit (one character at least), so
// no text is drawn past the balloon's edge.
struct WrapResult
{
    int lines = 0;
    int longest = 0;          // bytes of the longest line
    int widest = 0;           // pixels of the widest line
};
// Lines of a text against the inner width, cw being the width of 'a'.
WrapResult BalloonWrapCount(const std::string& text, int innerWidth, int cw, const TextWidth& width);
// The lines the multi-line drawing produces (the same cutting).
std::vector<std::string> BalloonLines(const std::string& text, int innerWidth, int cw, const TextWidth& width);

// The line without its last `bytes` bytes, cut before the character that
// would be split, so a double-byte character goes whole.
std::string BalloonDropTail(const std::string& line, size_t bytes);
// The lines the multi-line drawing shows in a rectangle `height` pixels high
// when each line takes lineHeight + gap: when text remains after a line that
// leaves less than one line height below it, that line loses its last four
// bytes (whole characters) and ends in " ...", and the rest is dropped.
std::vector<std::string> BalloonShownLines(const std::vector<std::string>& lines, int height, int lineHeight,
                                           int gap);

// The body's top-left for an anchor mode (0..3; other modes give (0, 0)).
void BalloonBodyOrigin(int mode, int ax, int ay, int w, int h, int* x, int* y);
// The tail's placement 0..11 for a body at (x0, y0) of w x h and a target.
int BalloonPlacement(int x0, int y0, int w, int h, int tx, int ty);

// The window of a balloon: its origin (parent coordinates), the body and the
// tail triangle in window coordinates. The triangle's first point is the
// target; its base lies on the placement's edge (the last row or column for
// the bottom and right edges).
struct BalloonShape
{
    int placement = 0;
    int originX = 0, originY = 0;
    int bodyLeft = 0, bodyTop = 0, bodyRight = 0, bodyBottom = 0;
    int tail[3][2] = {};
};
BalloonShape BalloonShapeFor(int x0, int y0, int w, int h, int tx, int ty, int tailWidth, int tailOffset);
