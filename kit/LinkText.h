// LinkText.h - the layout of a text with web links: line breaks (CR, LF,
// CR LF, LF CR and the two characters backslash and "n"), double-byte
// characters kept whole, mark-up links <A href="...">label</a> and bare
// addresses beginning "www." or "http://", wrapping at the client width and
// stopping at the last whole line. No window code: runs are measured through
// a callback.
#pragma once

#include "SkinLayout.h"

#include <functional>
#include <string>
#include <vector>

namespace kit {

const size_t kLinkTextMax = 1024;      // characters of window text read
const size_t kLinkAddressMax = 255;    // characters of an address kept
const int kLinkLineGap = 2;

struct TextSize
{
    int cx = 0, cy = 0;
};
typedef std::function<TextSize(const char* text, int length)> MeasureFn;
typedef bool (*LeadByteFn)(unsigned char);

struct LinkRun
{
    size_t offset = 0;   // bytes of the source text
    size_t length = 0;
    int link = -1;       // index of the link record, -1 for plain text
    int x = 0, y = 0, cx = 0, cy = 0;
};

struct LinkRecord
{
    KRect rect;             // (x, y, x + width, y + height + 2)
    std::string address;    // as written, at most 255 characters
};

struct LinkLayout
{
    std::vector<LinkRun> runs;
    std::vector<LinkRecord> links;
    bool cut = false;       // stopped before the end: no room for another line
};

LinkLayout LayoutLinkText(const char* text, size_t length, int clientWidth, int clientHeight,
                          const MeasureFn& measure, LeadByteFn isLead);

// The address to hand to the shell: "http://" and "https://" addresses as
// they are, "www." ones with "http://" in front; anything else (a file, a
// program, another scheme) gives "" and is never opened.
std::string LinkOpenAddress(const std::string& address);

// The index of the link whose rectangle holds the point, -1 for none.
int HitTestLinks(const LinkLayout& layout, int x, int y);

}  // namespace kit
