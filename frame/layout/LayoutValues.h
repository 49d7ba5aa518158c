// LayoutValues.h - the value forms of the game's layout file: colours,
// rectangles, caption-button texts, anchors, the caption band, the caption
// font, the area and splitter keys.
//
// Numbers are read as decimal with an optional sign; a value outside the int
// range is cut to it, so no text can overflow the arithmetic that follows.
// Sizes that the frame keeps in narrower fields are cut to those fields.
#pragma once

#include <cstdint>
#include <string>

#include "FrameGeometry.h"

// Values are read into buffers of this many bytes (the terminating NUL
// included), so at most kLayoutValueMax - 1 bytes of a value count.
constexpr int kLayoutValueMax = 260;

// A value cut to the buffer size, never in the middle of a double-byte
// character of code page 936.
std::string CutLayoutValue(const std::string& value, int bufferSize = kLayoutValueMax);

// The key word of a caption or hide button: exit 1, max 2, min 3, help 4,
// setting 5, photo 6, mute 7, left 1, right 2 (letter case ignored); any
// other text read as a number.
int ParseButtonKey(const std::string& text);

// Two anchor letters: LT 1, RT 2, LB 3, RB 4, CL 5, CT 6, CR 7, CB 8, else 0.
int ParseAnchor(const std::string& letters);

// "r,g,b" as 0x00BBGGRR; false when the text holds no comma.
bool ParseColour(const std::string& text, uint32_t* colour);
// "(r,g,b)" after the first comma, as in "S,(255,0,0)".
bool ParseColourAfterComma(const std::string& text, uint32_t* colour);

// "l,t,r,b".
bool ParseRect(const std::string& text, AreaRect* rect);

// A caption or hide button: "key,anchor,(l,t,r,b),picture".
struct ButtonDef
{
    int key = 0;
    int anchor = 0;
    AreaRect rect;
    std::string picture;

    // The rectangle is usable: more than 3 pixels wide and high.
    bool HasUsableRect() const
    {
        return int64_t{rect.r} > int64_t{rect.l} + 3 && int64_t{rect.b} > int64_t{rect.t} + 3;
    }
};
// False for an empty text, a key of 0 or a text not in the form.
bool ParseButtonDef(const std::string& text, ButtonDef* def);

// `title`/`pos`: a side letter (T, B, L, R) and a size; valid only when the
// size is at least 10.
struct CaptionPos
{
    char side = 0;
    int size = 0;
};
bool ParseCaptionPos(const std::string& text, CaptionPos* pos);
// The caption band of a W x H window; without a valid position the band is
// the top `defaultHeight` rows.
AreaRect CaptionBand(const CaptionPos* pos, int w, int h, int defaultHeight);

// `title`/`aboutrect` in the band: l and t at least 0, r at least l, b at
// least t, width and height at most min(36, band's).
AreaRect ClampAboutRect(const AreaRect& about, const AreaRect& band);

// `title`/`textfont`: "face,height[,B][,I]".
struct CaptionFont
{
    std::string face;         // at most 31 bytes (LOGFONT's face field)
    int height = 0;
    bool bold = false;
    bool italic = false;
};
void ParseCaptionFont(const std::string& text, CaptionFont* font);

// `pic%d` "anchor,x,y,name" and `textrect` "anchor,x,y,flags".
struct CaptionItem
{
    std::string anchor;       // two letters: first L, R or M; second T or B
    int x = 0, y = 0;
    std::string name;         // the picture name, or the text flags
};
bool ParseCaptionItem(const std::string& text, CaptionItem* item);
// Where a w x h picture of the item goes in the band.
void PlaceCaptionItem(const CaptionItem& item, const AreaRect& band, int w, int h, int* x, int* y);

// `bkp_draw`: S solid (colour after the first comma), P tiled, L stretched,
// C centred, else 0.
enum BackgroundMode
{
    kBkNone = 0,
    kBkSolid = 1,
    kBkTiled = 2,
    kBkStretched = 3,
    kBkCentred = 4,
};
int ParseBackgroundMode(const std::string& text, uint32_t* colour);

// The first non-blank character, upper-cased; 0 for a blank text.
char FirstLetter(const std::string& text);

// "a:b" (`defsize`), "a,b" (`minsize`), "a,b,c" (`keeparea`): the numbers
// read, each cut to the int range; returns how many were read.
int ParseNumbers(const std::string& text, char separator, int* values, int count);

// A decimal number (atoi rules: leading blanks, a sign, digits) cut to the
// int range.
int ParseInt(const std::string& text);
