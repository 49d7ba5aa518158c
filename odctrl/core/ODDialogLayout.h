// ODDialogLayout.h - the owner-draw dialog's frame arithmetic and its
// caption buttons, apart from any window; CODDialog (ODDialog.h) applies
// them to its non-client messages.
//
// Frame kinds by window style: a caption (both WS_BORDER and WS_DLGFRAME
// bits) gives a caption bar of its own height above the client area and
// the left, right and bottom border widths around it; WS_BORDER alone gives
// the four border widths; any other style has no non-client area.
//
// Caption buttons are numbered as the caption bar hit-tests them: 1 close,
// 2 maximise, 3 minimise (0, the system menu, and -1 count as none). Their
// states (index 0 close, 1 maximise, 2 minimise) are 0 normal, 1 hot,
// 2 pressed.
#pragma once

#include <stdint.h>

namespace oddlg {

const uint32_t kBorder = 0x00800000;    // WS_BORDER
const uint32_t kDlgFrame = 0x00400000;  // WS_DLGFRAME
const uint32_t kCaption = kBorder | kDlgFrame;

enum Kind
{
    KindNone,
    KindBorder,
    KindCaption,
};
Kind KindOf(uint32_t style);

// Border widths in the frame's order: left, top, right, bottom.
struct Widths
{
    int left = 0, top = 0, right = 0, bottom = 0;
};

struct Rect
{
    int left = 0, top = 0, right = 0, bottom = 0;
};

// The client rectangle inside a window rectangle (non-client calculation).
Rect ClientRect(Kind kind, const Rect& window, const Widths& w, int captionHeight);
// The window size that keeps a client area of (width, height).
void WindowSize(Kind kind, int clientWidth, int clientHeight, const Widths& w, int captionHeight, int* width,
                int* height);

// Which of the two descriptions of one frame piece a dialog loads: with a
// caption the Edge piece, without one the Border piece unless that is empty.
const char* FramePiece(Kind kind, const char* edge, const char* border);

// What the dialog does with a non-client mouse message after the caption
// buttons have seen it.
enum Action
{
    ActDefault,   // default processing
    ActNone,      // nothing more (the message is swallowed)
    ActClose,     // post WM_CLOSE
    ActMaximize,  // maximise, or restore a maximised window
    ActMinimize,  // minimise, or restore a minimised window
};

struct CaptionButtons
{
    int states[3] = {0, 0, 0};

    // Each returns what to do and sets *repaint when a state changed.
    Action ButtonDown(int hit, bool maximized, bool* repaint);
    Action MouseMove(int hit, bool* repaint);
    Action ButtonUp(int hit, bool* repaint);
    // A move in the client area: every button back to normal.
    bool Reset();
};

// Copies at most max - 1 bytes of text and a terminating zero into buffer;
// the bytes copied (0 and nothing written for max <= 0 or no buffer).
int CopyBounded(const char* text, char* buffer, int max);

}  // namespace oddlg
