#include "DisplayServices.h"

#include "StringFunctions.h"

#include <algorithm>
#include <cstring>
#include <string>

// ---- Text fitting ----------------------------------------------------------------------

int FitLineLength(const char* text, int fitCount)
{
    if (!text || !*text)
        return 0;
    size_t length = CharBoundaryAtOrBefore(text, fitCount > 0 ? static_cast<size_t>(fitCount) : 0);
    if (length == 0)
        length = CharLengthAt(text);
    for (size_t i = 0; i < length; ++i) {
        if (text[i] == '\n')
            return static_cast<int>(i + 1);
    }
    return static_cast<int>(length);
}

int DrawTextFit(HDC dc, const char* text, int width, RECT* rect, BOOL measureOnly)
{
    if (!text)
        return 1;
    if (!rect)
        return 0;
    TEXTMETRICA metrics = {};
    if (!GetTextMetricsA(dc, &metrics))
        return 0;
    const int rowHeight = metrics.tmHeight;
    // Longest run measured at once; a line never gets longer than this.
    const int kMeasureLimit = 4096;
    int top = rect->top;
    for (const char* p = text; *p;) {
        const int remaining = static_cast<int>(std::min<size_t>(std::strlen(p), kMeasureLimit));
        int fit = 0;
        SIZE extent = {};
        if (!GetTextExtentExPointA(dc, p, remaining, width, &fit, nullptr, &extent))
            return 0;
        const int length = FitLineLength(p, fit);
        if (!measureOnly) {
            std::string line(p, static_cast<size_t>(length));
            std::replace(line.begin(), line.end(), '\r', ' ');
            std::replace(line.begin(), line.end(), '\n', ' ');
            RECT row = {rect->left, top, rect->right, top + rowHeight};
            DrawTextA(dc, line.c_str(), static_cast<int>(line.size()), &row,
                      DT_SINGLELINE | DT_EXPANDTABS | DT_NOPREFIX);
        }
        top += rowHeight;
        p += length;
    }
    if (measureOnly) {
        rect->right = rect->left + width;
        rect->bottom = top;
    }
    return 1;
}

// ---- Sliding windows ---------------------------------------------------------------------

namespace {

bool OutsidePosition(int direction, const RECT& target, POINT* outside)
{
    const LONG w = target.right - target.left;
    const LONG h = target.bottom - target.top;
    *outside = {target.left, target.top};
    switch (direction) {
    case 1: outside->x -= w; return true;
    case 2: outside->y -= h; return true;
    case 3: outside->x += w; return true;
    case 4: outside->y += h; return true;
    default: return false;
    }
}

LONG Between(LONG from, LONG to, DWORD elapsed, DWORD duration)
{
    return from + static_cast<LONG>(static_cast<int64_t>(to - from) * elapsed / duration);
}

BOOL Slide(HWND window, int direction, const RECT& target, DWORD duration, BOOL slideIn)
{
    POINT outside;
    if (!IsWindow(window) || !OutsidePosition(direction, target, &outside))
        return FALSE;
    const int w = target.right - target.left;
    const int h = target.bottom - target.top;
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD elapsed = std::min(GetTickCount() - start, duration);
        const POINT at = SlidePosition(direction, target, elapsed, duration, slideIn);
        SetWindowPos(window, NULL, at.x, at.y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
        UpdateWindow(window);
        RedrawWindow(GetDesktopWindow(), nullptr, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        if (elapsed >= duration)
            return TRUE;
        Sleep(10);
    }
}

}  // namespace

POINT SlidePosition(int direction, const RECT& target, DWORD elapsed, DWORD duration, BOOL slideIn)
{
    POINT outside;
    const POINT inside = {target.left, target.top};
    if (!OutsidePosition(direction, target, &outside))
        return inside;
    const POINT from = slideIn ? outside : inside;
    const POINT to = slideIn ? inside : outside;
    if (elapsed >= duration)
        return to;
    return {Between(from.x, to.x, elapsed, duration), Between(from.y, to.y, elapsed, duration)};
}

BOOL SlideWindowIn(HWND window, int direction, const RECT& target, DWORD duration)
{
    return Slide(window, direction, target, duration, TRUE);
}

BOOL SlideWindowOut(HWND window, int direction, const RECT& target, DWORD duration)
{
    return Slide(window, direction, target, duration, FALSE);
}

// ---- Display ---------------------------------------------------------------------------

namespace {

LONG WINAPI DefaultChangeDisplaySettings(DEVMODEA* mode, DWORD flags)
{
    return ChangeDisplaySettingsA(mode, flags);
}

ChangeDisplaySettingsRoutine g_changeDisplaySettings = DefaultChangeDisplaySettings;

}  // namespace

ChangeDisplaySettingsRoutine SetChangeDisplaySettingsRoutine(ChangeDisplaySettingsRoutine routine)
{
    ChangeDisplaySettingsRoutine previous = g_changeDisplaySettings;
    g_changeDisplaySettings = routine ? routine : DefaultChangeDisplaySettings;
    return previous;
}

int SetDisplayMode(int bitsPerPixel, int width, int height)
{
    DEVMODEA mode = {};
    mode.dmSize = sizeof(mode);
    if (!EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode))
        return 0;
    mode.dmBitsPerPel = static_cast<DWORD>(bitsPerPixel);
    mode.dmPelsWidth = static_cast<DWORD>(width);
    mode.dmPelsHeight = static_cast<DWORD>(height);
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFREQUENCY;
    if (g_changeDisplaySettings(&mode, CDS_TEST) != DISP_CHANGE_SUCCESSFUL)
        return 0;
    return g_changeDisplaySettings(&mode, CDS_UPDATEREGISTRY) == DISP_CHANGE_SUCCESSFUL ? 1 : 0;
}

void GetScreenSize(int* width, int* height)
{
    HDC screen = GetDC(NULL);
    if (width)
        *width = GetDeviceCaps(screen, HORZRES);
    if (height)
        *height = GetDeviceCaps(screen, VERTRES);
    ReleaseDC(NULL, screen);
}
