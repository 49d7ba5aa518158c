// Text fitting, sliding window animations and display settings.
#pragma once

#include <afx.h>

// ---- Text fitting ----------------------------------------------------------------------

// Bytes of the next line of a text broken by character count: the fitCount
// bytes that fit the width, ending early after a line feed, never inside a
// double-byte character and at least one character (so a width too narrow for
// any character still makes progress). 0 at the end of the text.
int FitLineLength(const char* text, int fitCount);

// Breaks the text into lines of as many characters as fit into width (a line
// also ends after a line feed) and draws each with DrawText (single line,
// tabs expanded, no prefix) in the next row of the rectangle, one text height
// below the last; CR and LF show as spaces. With measureOnly nothing is drawn
// and the rectangle gets right = left + width and bottom = the end of the last
// row. 1 on success (also for a null text), 0 when measuring fails.
int DrawTextFit(HDC dc, const char* text, int width, RECT* rect, BOOL measureOnly);

// ---- Sliding windows ---------------------------------------------------------------------
//
// Directions: 1 from/to the left, 2 the top, 3 the right, 4 the bottom; the
// window travels its own width or height outside the target rectangle.

// Top-left corner of the sliding window after elapsed of duration
// milliseconds; exactly the end position once elapsed reaches duration.
POINT SlidePosition(int direction, const RECT& target, DWORD elapsed, DWORD duration, BOOL slideIn);
// Move the window in to (or out from) the target rectangle over duration
// milliseconds by GetTickCount time, repainting the window and the desktop at
// each step. FALSE for a bad window or direction.
BOOL SlideWindowIn(HWND window, int direction, const RECT& target, DWORD duration);
BOOL SlideWindowOut(HWND window, int direction, const RECT& target, DWORD duration);

// ---- Display ---------------------------------------------------------------------------

// The routine that changes display settings (ChangeDisplaySettings by
// default); tests put a recorder in its place. Returns the previous one.
typedef LONG(WINAPI* ChangeDisplaySettingsRoutine)(DEVMODEA*, DWORD);
ChangeDisplaySettingsRoutine SetChangeDisplaySettingsRoutine(ChangeDisplaySettingsRoutine routine);

// Sets bits per pixel, width and height on the current display settings
// (frequency kept), tests the change and only then applies it and stores it
// in the registry. 1 on success.
int SetDisplayMode(int bitsPerPixel, int width, int height);
// The screen's horizontal and vertical resolution.
void GetScreenSize(int* width, int* height);
