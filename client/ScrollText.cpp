#include "ScrollText.h"

#include <cstdio>

void ScrollTick(int direction, int step, int textWidth, int textHeight, const ScrollBox& client, int* x, int* y)
{
    switch (direction) {
    case kScrollLeft:
        if (*x > client.left - textWidth)
            *x -= step;
        else
            *x = client.right;
        break;
    case kScrollRight:
        if (*x < client.right)
            *x += step;
        else
            *x = client.left - textWidth;
        break;
    case kScrollUp:
        if (*y > client.top - textHeight)
            *y -= step;
        else
            *y = client.bottom;
        break;
    case kScrollDown:
        if (*y < client.bottom)
            *y += step;
        else
            *y = client.top - textHeight;
        break;
    default:
        break;
    }
}

std::vector<std::string> TextLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            return lines;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
}

std::string ClockText(const std::tm& now, bool clock)
{
    char text[32];
    strftime(text, sizeof text, clock ? "%H:%M:%S" : "%Y-%m-%d", &now);
    return text;
}

void ScrollOnMouseEnter(ScrollTimer& timer, bool pauseOnHover)
{
    if (pauseOnHover)
        timer.running = false;
}

void ScrollOnMouseLeave(ScrollTimer& timer, bool pauseOnHover)
{
    if (!pauseOnHover)
        return;
    timer.running = true;
    timer.step = kScrollDefaultStep;
    timer.interval = kScrollDefaultInterval;
}
