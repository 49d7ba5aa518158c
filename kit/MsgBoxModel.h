// MsgBoxModel.h - what a message box shows for a type word: its buttons
// with their skin keys, captions and results, the icon key, the default
// button and the countdown's result; and how the message is cut into lines.
// No window code.
#pragma once

#include <string>
#include <vector>

namespace kit {

// Results (the system's IDOK ... IDNO).
enum : int { kIdOk = 1, kIdCancel = 2, kIdAbort = 3, kIdRetry = 4, kIdIgnore = 5, kIdYes = 6, kIdNo = 7 };

// Caption strings of the buttons.
const unsigned kStrOk = 29700, kStrAbort = 29701, kStrRetry = 29702, kStrIgnore = 29703, kStrYes = 29704,
               kStrNo = 29705, kStrCancel = 29706;

// The type word's top bit asks for a masked entry.
const unsigned kMaskedEntryBit = 0x80000000u;

struct MsgBoxButton
{
    const char* key;        // skin key ("IDOK" ...)
    unsigned captionId;     // string resource of the caption
    int result;
};

struct MsgBoxButtons
{
    int count = 0;
    MsgBoxButton button[3] = {};
};

// By (type & 0xF): 0 OK; 1 OK, Cancel; 2 Abort, Retry, Ignore; 3 Yes, No,
// Cancel; 4 Yes, No; 5 Retry, Cancel; any other value none.
MsgBoxButtons ButtonsForType(unsigned type);

struct MsgBoxIcon
{
    const char* key;        // "ICONHAND", "ICONQUESTION", "ICONEXCLAMATION", "ICONASTERISK", "IDI_EXCLAMATION"
    unsigned systemIcon;    // IDI_HAND 32513, IDI_QUESTION 32514, IDI_EXCLAMATION 32515, IDI_ASTERISK 32516
};
MsgBoxIcon IconForType(unsigned type);

struct MsgBoxDefault
{
    int focusIndex = 0;      // the button that is the default and has the focus
    int timeoutResult = 0;   // what the countdown ends with
};
// By (type & 0xF00): 0x100 the second button when there are two, 0x200 the
// third when there are three; otherwise the first. Without buttons the
// countdown ends as closing does, with IDCANCEL.
MsgBoxDefault DefaultForType(unsigned type, const MsgBoxButtons& buttons);

// Lines cut at CR, at LF (CR LF counts once) and at backslash-"n"; an empty
// text is one empty line.
std::vector<std::string> CutMessageLines(const std::string& text);

// The narrowest the dialog may be: (button width + 10) x count + 54.
inline int MinimumBoxWidth(int buttonWidth, int count) { return (buttonWidth + 10) * count + 54; }

}  // namespace kit
