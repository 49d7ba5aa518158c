// ODTxtMovModel.h - the content of the moving text (CODTxtMov, ODTxtMov.h)
// and its readers, apart from any window: rows of cells made from plain
// lines or from the row-and-cell mark-up, and the marquee arithmetic that
// places a moving row or block and its repeated copy.
//
// Mark-up: rows "<TR head>cells</TR>", cells "<TD head>text</TD>". Row
// attributes Pos, Align (LEFT, CENTER, RIGHT in any case), MovingPos (pixels
// per tick, may be a fraction), MaxOffset; cell attributes Pos, href, ToolTip,
// TextColor, FocusColor, VisitedColor ("r,g,b"). An attribute is written
// name=value; the value runs to the next space. Names are matched as whole
// words, so "Pos" is never read out of "MovingPos". Names, tags and values
// are case-sensitive except the Align words.
//
// Colours are COLORREF values (0x00BBGGRR); kNoColor leaves the choice to the
// object's colours.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

namespace odtxt {

const uint32_t kNoColor = 0xFFFFFFFFu;

// Cell kind flags.
const int kPlain = 1;
const int kLink = 2;
const int kFocused = 16;  // the mouse is over the cell
const int kVisited = 32;

// Row alignment and block alignment.
const int kAlignLeft = 0;    // also top
const int kAlignCenter = 1;
const int kAlignRight = 2;   // also bottom

// Fastest a row or block may move, in pixels per tick; a speed read from a
// text is held at this.
const float kMaxSpeed = 100000.0f;
// Largest space before a row or cell and largest extra distance of a
// marquee, in pixels either way; larger values (from a text or a caller) are
// held at this.
const int kMaxPos = 1 << 20;
inline int ClampPos(int v) { return v > kMaxPos ? kMaxPos : (v < -kMaxPos ? -kMaxPos : v); }

struct Cell
{
    std::string text;
    std::string href;
    std::string tooltip;
    uint32_t textColor = kNoColor;
    uint32_t focusColor = kNoColor;
    uint32_t visitedColor = kNoColor;
    int font = -1;  // the owner's own font of this cell (-1: the object's font)
    int pos = 0;    // empty space left of the cell, pixels
    int kind = kPlain;
};

struct Row
{
    std::vector<Cell> cells;
    int pos = 0;         // empty space above the row, pixels
    float speed = 0.0f;  // pixels per tick sideways (negative: to the left)
    int maxOffset = 0;   // extra distance before the row's copy
    int align = kAlignLeft;
};

typedef std::vector<Row> Rows;

// Plain lines: the text cut at every "\n", each piece one row with one plain
// cell (" " for an empty piece).
Rows ParsePlainLines(const char* text, int defaultPos, int defaultAlign);

// Plain text with links: lines end at CR, LF, CR LF, LF CR and at the two
// characters '\' 'n'; in a line "www." or "http" (any case), with at least
// five characters left, starts a link that runs to the first space, ',',
// ')' or byte of 0x80 or more. Links are link cells (text = href), the text
// between them plain cells; an empty line is one cell holding " ".
Rows ParsePlainWithLinks(const char* text, int defaultPos, int defaultAlign);

// The mark-up; text without "<TR", or without a complete row, is read by
// ParsePlainWithLinks.
Rows ParseMarkup(const char* text, int defaultPos, int defaultAlign);

// The texts of every cell, rows joined by "\n".
std::string PlainText(const Rows& rows);

// "r,g,b" as a colour (each channel & 255); kNoColor unless the value is
// exactly three numbers.
uint32_t ParseColorTriple(const std::string& value);

// ---- Marquee arithmetic ------------------------------------------------------

// The distance after which a moving run repeats: extra + max(space, extent).
int WrapDistance(int extra, int space, int extent);
// An offset that has moved further than wrap (its integer part beyond it
// either way) starts again at 0.
float WrapOffset(float offset, int wrap);
// Where a run is drawn for an offset: at origin + trunc(offset), and its copy
// wrap behind it (before it when the offset is positive, after it else);
// places beyond int's range are held at its ends.
struct Places
{
    int first;
    int copy;
};
Places PlaceRun(float offset, int origin, int wrap);
// Alignment inside space for a run of extent: centre (space - extent) / 2,
// right/bottom space - extent, else 0 (held at int's range).
int AlignShift(int align, int space, int extent);
// offset + speed, held at +-(2^24) so it stays an exact float and an int.
float Advance(float offset, float speed);

}  // namespace odtxt
