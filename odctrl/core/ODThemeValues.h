// ODThemeValues.h - the value grammar of the owner-draw theme ini, read on
// plain text: colours, points, skin-image descriptions, the field splitter
// and the hexadecimal reader. No window code; the theme manager hands these
// the strings it reads from the ini store.
//
// Conventions:
//   - colours are COLORREF values (0x00BBGGRR) held in uint32_t;
//   - numbers are read as atoi reads them (leading blanks, a sign, digits up
//     to the first non-digit, no digits = 0), except that a value beyond the
//     range of int is held at INT_MAX or INT_MIN instead of overflowing;
//   - a NULL text reads as an empty one.
#pragma once

#include <stddef.h>
#include <stdint.h>

namespace odtheme {

// Longest value the colour reader looks at: the theme reads colour values
// into a 256-byte buffer, so what lies beyond 255 bytes is cut off first.
const size_t kColorValueBuffer = 256;

// atoi, held at the ends of int's range.
int ReadInt(const char* text);

// "#r#g#b" (each decimal; components that do not parse count as 0, none is
// clamped) gives (b << 16) | (g << 8) | r; an empty text gives fallback;
// anything else is a decimal number taken as the colour itself.
uint32_t ParseColor(const char* value, uint32_t fallback);

// "(x,y)": the number of values read (0, 1 or 2). With 1 or 2, *x gets the
// first and *y the second (0 when only one was read); with 0 both are left.
int ParsePoint(const char* value, int* x, int* y);

// One skin-image description: "kind,id,transparent,cells,states,frames,
// interval" (kind 0) or "1,path" (kind 1, an animated GIF file).
struct SkinImageDesc
{
    int kind = 0;
    int id = 0;
    int transparent = -1;
    int cells = 1;
    int states = 1;
    int frames = 1;
    int interval = 0;
    char path[512] = {};  // field 2 as text (kind 1)
};
// Width of each field the description is split into.
const size_t kSkinFieldSize = 512;
// False (and *out untouched) for an empty text or fewer than two fields;
// absent fields keep the defaults above.
bool ParseSkinImageDesc(const char* text, SkinImageDesc* out);

// Splits text at each separator. Field k goes, cut to fieldSize - 1 bytes
// (never in the middle of a double-byte character) and terminated, into
// outputs[k] while k < maxFields; further fields are dropped. Returns the
// number of fields in the text (separators + 1, which may exceed
// maxFields); 0 with maxFields 0 or below. The text is not changed. A field
// size of 0 writes nothing.
int SplitFieldsInto(char separator, const char* text, int maxFields, size_t fieldSize, char* const* outputs);

// The hexadecimal value of a text, read from its last character to its
// first: the k-th character from the end adds digit x 16^k for 0-9, A-F and
// a-f; any other character adds nothing but takes its place. The text is
// not changed; digits beyond the eighth from the end fall off the 32 bits.
uint32_t ParseHex(const char* text);

// The resource library named by "ResFile" for a theme ini at iniPath: a name
// holding a backslash unchanged, a bare name in the ini's folder (the path up
// to and including its last backslash put in front). False when the result
// does not fit into size bytes (out is then empty).
bool ResolveResFile(const char* iniPath, const char* resFile, char* out, size_t size);

// The lead-byte rule of code page 936 used when cutting texts.
inline bool IsLeadByte936(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

}  // namespace odtheme

// Splits text at each occurrence of separator into the buffers that follow
// fieldSize (each at least fieldSize bytes), as odtheme::SplitFieldsInto
// with the outputs given one by one: maxFields buffers must follow.
int ODSplitFields(char separator, const char* text, int maxFields, size_t fieldSize, ...);
// The hexadecimal reader under the library's name (see odtheme::ParseHex).
inline uint32_t ODParseHex(const char* text) { return odtheme::ParseHex(text); }
