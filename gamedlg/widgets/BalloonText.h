// Text layout of the balloon: lines cut to the balloon's width, the body's
// size from the lines, and the lines as the balloon paints them. Text is
// code page 936; cuts and breaks fall on character boundaries, every step
// advances by at least one character, and tiny or zero budgets are treated as
// one character, so no input can make the layout loop or read out of bounds.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "WidgetGeometry.h"

namespace widgets {

struct TextExtent {
    int cx = 0;
    int cy = 0;
};
// Measures a piece of text in the balloon's font.
using MeasureText = std::function<TextExtent(const std::string&)>;

struct BalloonMetrics {
    int width = 150;        // maximum content width
    int height = -1;        // maximum content height, -1 = none
    int minWidth = 20;
    int minHeight = 20;
    int marginX = 8;
    int marginY = 8;
    int lineSpacing = 8;
};

// Bytes per line: (width - 2 x margin) / width of "a", at least 1.
int BalloonLineBudget(int width, int marginX, int charWidth);

// Every line (split at "\n") longer than the budget is cut to budget - 3
// bytes on a character boundary and "..." appended; every line is followed
// by "\n".
std::string TruncateBalloonLines(const std::string& text, int budget);

// Splits a line into pieces of at most budget bytes on character boundaries
// (a piece holds at least one character).
std::vector<std::string> BreakIntoPieces(const std::string& line, int budget);

struct BalloonLayout {
    bool ok = false;          // false: no layout (no line, no "a" width, one line too wide)
    bool singleLine = true;
    int lines = 0;
    int contentWidth = 0;
    int contentHeight = 0;
    Rc textRect;
    std::string text;         // the truncated text
};

// Lays the text out: truncation, line count (one more with a link line),
// body size and text rectangle.
BalloonLayout LayoutBalloonText(const std::string& text, const BalloonMetrics& m, int charWidth, bool hasLink,
                                const MeasureText& measure);

struct PaintLine {
    std::string text;
    int y = 0;
};

// The lines the balloon draws in the text rectangle: up to the next "\n"
// when it lies within the budget, else the budget's bytes; when text remains
// but the next line would not fit, the last line ends in " ..." and the rest
// is dropped.
std::vector<PaintLine> BreakBalloonLines(const std::string& text, const Rc& textRect, int charWidth, int lineHeight,
                                         int lineSpacing);

}  // namespace widgets
