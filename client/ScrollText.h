// The scrolling text label's movement and texts, without a window: where the
// text stands after each tick in each of the four directions, the lines of
// a text (a trailing line break adds an empty last line), the clock and date
// texts, and the pause while the mouse is over the label.
#pragma once

#include <ctime>
#include <string>
#include <vector>

enum ScrollDirection { kScrollLeft = 0, kScrollRight = 1, kScrollUp = 2, kScrollDown = 3 };

constexpr int kScrollDefaultStep = 5;
constexpr unsigned kScrollDefaultInterval = 100;   // ms

struct ScrollBox {
    int left, top, right, bottom;
};

// One tick: the text moves by the step until it has left the box wholly,
// then re-enters from the opposite edge.
void ScrollTick(int direction, int step, int textWidth, int textHeight, const ScrollBox& client, int* x, int* y);

// The lines of a text split at "\n"; a text ending in "\n" has an empty last line.
std::vector<std::string> TextLines(const std::string& text);

// "%H:%M:%S" with the clock shown, else the date "%Y-%m-%d".
std::string ClockText(const std::tm& now, bool clock);

// The scroll timer's state through mouse moves: moving in stops it (when the
// label pauses on hover), leaving restarts it at the default step and
// interval whatever it was before.
struct ScrollTimer {
    bool running = false;
    int step = kScrollDefaultStep;
    unsigned interval = kScrollDefaultInterval;
};
void ScrollOnMouseEnter(ScrollTimer& timer, bool pauseOnHover);
void ScrollOnMouseLeave(ScrollTimer& timer, bool pauseOnHover);
