// ODBoxLayout.h - the arithmetic of the library's message box (CODMsgDlg)
// and wait box (CODWaitDlg), apart from any window: the message box's
// button types, icon classes, default button, caption texts from the theme
// and the countdown caption; where both boxes place their icon or image,
// text, progress bar and buttons (10 pixels between all of them); and the
// wait box's progress timer step per mode.
#pragma once

#include <stdint.h>

#include <string>

namespace odbox {

struct Size
{
    int cx = 0, cy = 0;
};
struct Rect
{
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

const int kMargin = 10;
const int kMaxButtons = 4;
// Longest caption a theme text gives a button, in bytes.
const int kCaptionField = 15;

// ---- Message box ------------------------------------------------------------------------------

// The buttons of a style (style & 0x0F): MB_OKCANCEL 1, MB_ABORTRETRYIGNORE
// 2, MB_YESNOCANCEL 3, MB_YESNO 4, MB_RETRYCANCEL 5; every other value is
// MB_OK. Results are the message box's (IDOK 1 ... IDNO 7); slots the type
// does not set keep 0, 1, 2, 3.
struct Buttons
{
    int count = 1;
    const char* themeKey = "MB_OK";
    std::string captions[kMaxButtons];
    int results[kMaxButtons] = {0, 1, 2, 3};
};
Buttons ButtonsOf(uint32_t style);
// The theme's caption text for the type ("确定,取消" ...): split at commas
// into at most four fields cut to 15 bytes (never inside a two-byte
// character) and trimmed of blanks. At least one field sets the count and
// replaces the captions of the same index; results stay. An empty text
// leaves the type's captions.
void ApplyThemeCaptions(const char* text, Buttons* buttons);
// The theme key of the icon image (style & 0xF0): 0x40 information, 0x20
// question, 0x10 stop, every other value the warning icon.
const char* IconKey(uint32_t style);
// The button that takes the focus (0-based): MB_DEFBUTTON4 (0x300) the
// fourth, 0x200 the third, 0x100 the second, else the first; a button
// beyond the count falls back to the first.
int DefaultButton(uint32_t style, int count);
// "%d " of the seconds followed by the caption.
std::string CountdownCaption(int seconds, const std::string& caption);

struct MessageLayout
{
    Size client;
    Rect icon, text;
    Rect buttons[kMaxButtons];
};
// icon I, text T, the shown buttons' sizes, the width the caption bar needs.
// Client height = tallest button + max(Ih, Th) + 30; width = max(buttons'
// widths each + 10, Iw + Tw + 20) + 10, at least the caption's width. Icon at
// (10, 10), text right of it (moved down to the icon's middle when centred
// and the icon is taller); the buttons in a row 10 below them, their right
// end at the middle of the client plus half the row (centred) or 10 from the
// right edge.
MessageLayout LayoutMessage(Size icon, Size text, const Size* buttons, int count, int captionWidth, bool centre);

// ---- Wait box ---------------------------------------------------------------------------------

struct WaitInput
{
    Size image, text;
    Size button;          // the cancel button's window size
    bool hasButton = true;  // a non-empty button caption
    int progressWidth = 0;  // the progress bar's client width
    int progressHeight = 0;
    bool hasProgress = false;  // an interval other than 0
    int captionWidth = 0;
    bool centreText = true;
};
struct WaitLayout
{
    Size client;
    Rect image, text, progress, button;
};
WaitLayout LayoutWait(const WaitInput& in);

// Timer 1000 of the wait box: before the bar steps, mode 0 jumps from the
// top back to low, mode 1 from the bottom to high, other modes turn the step
// at either end (+1 / -1). *pos and *step in and out.
void ProgressTick(int mode, int low, int high, int* pos, int* step);

}  // namespace odbox
