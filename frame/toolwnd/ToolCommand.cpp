// The tool bar component's command event and the tool area's background.
#include "ToolCommand.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace toolwnd {

int ParseBackgroundMode(const char* pszText, uint32_t* pColour)
{
    if (pszText == nullptr)
        return kModeFrame;
    const char* p = pszText;
    while (*p != '\0' && !isalpha((unsigned char)*p))
        p++;
    switch (tolower((unsigned char)*p)) {
    case 's': {
        const char* comma = strchr(p, ',');
        int r = 0, g = 0, b = 0;
        if (comma != nullptr && sscanf(comma + 1, " (%d,%d,%d)", &r, &g, &b) == 3)
            *pColour = (uint32_t)(r & 0xFF) | ((uint32_t)(g & 0xFF) << 8) | ((uint32_t)(b & 0xFF) << 16);
        return kModeColour;
    }
    case 'l': return kModeStretch;
    case 'p': return kModeCentre;
    case 'h': return kModeFit;
    case 'b': return kModeFrame2;
    default: return kModeFrame;
    }
}

CentreCut CentrePicture(int nPictureWidth, int nPictureHeight, int nAreaWidth, int nAreaHeight)
{
    CentreCut cut = {false, 0, 0};
    if (nPictureWidth >= nAreaWidth && nPictureHeight >= nAreaHeight) {
        cut.fits = true;
        cut.srcX = (nPictureWidth - nAreaWidth) / 2;
        cut.srcY = (nPictureHeight - nAreaHeight) / 2;
    }
    return cut;
}

void MovePosition(int* pX, int* pY, int dx, int dy)
{
    if (!(dx < 0 && -(int64_t)dx > *pX))
        *pX += dx;
    if (!(dy < 0 && -(int64_t)dy > *pY))
        *pY += dy;
}

namespace {

void Halves(double number, int32_t* pA, int32_t* pB)
{
    // Truncated to a 64-bit integer; numbers beyond its range saturate.
    int64_t n = 0;
    if (std::isnan(number))
        n = 0;
    else if (number >= 9.2233720368547758e18)
        n = INT64_MAX;
    else if (number <= -9.2233720368547758e18)
        n = INT64_MIN;
    else
        n = (int64_t)number;
    *pA = (int32_t)(uint32_t)((uint64_t)n & 0xFFFFFFFFu);
    *pB = (int32_t)(uint32_t)((uint64_t)n >> 32);
}

} // namespace

int HandleToolCommand(const ToolCommand& c, IToolFrame& frame, IToolComponent& component)
{
    int32_t a = 0, b = 0;
    Halves(c.number, &a, &b);
    if (frame.QueryObject(c.id, c.mode) == 0) {
        component.ShowObject(c.id, false);
        return 0;
    }
    const Rect window = frame.WindowRectOnScreen();
    const uint64_t hwnd = frame.WindowHandle();
    int boxW = 0, boxH = 0;
    frame.AvatarBox(&boxW, &boxH);
    auto placeAtAvatar = [&](int x, int y) {
        component.PlaceObject(c.id, hwnd, window.left + x - (boxW >> 1), window.top + y - (boxH >> 1), boxW, boxH);
        component.ShowObject(c.id, true);
    };
    if (c.mode == 3) {
        if (c.target == 1) {
            frame.DragStart(3, c.id, c.value, a, b);
            return 1;
        }
        if (c.target == 2) {
            for (int seat : frame.PlayerSeats()) {
                int x = 0, y = 0;
                if (!frame.AvatarPosition(seat, &x, &y))
                    continue;
                placeAtAvatar(x, y);
                frame.DropDone(3, 2, c.id, a, b);
            }
            return 1;
        }
        if (c.target == 3) {
            int x = 0, y = 0;
            if (!frame.AvatarPosition(0, &x, &y)) {
                component.ShowObject(c.id, false);
                return 0;
            }
            placeAtAvatar(x, y);
            frame.DropDone(3, 3, c.id, a, b);
            return 1;
        }
        const Rect area = frame.SceneArea();
        component.PlaceObject(c.id, hwnd, window.left + area.left, window.top + area.top, area.right - area.left,
                              area.bottom - area.top);
        component.ShowObject(c.id, true);
        frame.DropDone(3, c.target, c.id, a, b);
        return 1;
    }
    if (c.mode == 2) {
        if (c.target == 1) {
            frame.DragStart(2, c.id, c.value, a, b);
            return 1;
        }
        if (c.target == 2 || c.target == 3) {
            frame.Hook(c.target, c.id, c.value, a, b);
            return 1;
        }
        const Rect area = frame.SceneArea();
        component.PlaceObject(c.id, hwnd, area.left, area.top, area.right - area.left, area.bottom - area.top);
        component.ShowObject(c.id, true);
        frame.DropDone(2, c.target, c.id, a, b);
        return 1;
    }
    return 1;
}

} // namespace toolwnd
