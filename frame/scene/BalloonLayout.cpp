// BalloonLayout.cpp - see BalloonLayout.h.
#include "BalloonLayout.h"

#include <algorithm>

namespace {

bool IsLead(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// Where the last character before byte `end` of a text begins (counted from
// the front: a trail byte may look like a lead byte).
size_t LastCharacterStart(const std::string& text, size_t end)
{
    size_t at = 0, last = 0;
    while (at < end) {
        last = at;
        at += IsLead(static_cast<unsigned char>(text[at])) && at + 1 < text.size() ? 2 : 1;
    }
    return last;
}

}  // namespace

bool BalloonSetSize(BalloonStyle& s, int maxWidth, int maxHeight)
{
    if (maxWidth < 1 || maxHeight < -1)
        return false;
    s.maxWidth = std::max(maxWidth, s.minWidth);
    s.maxHeight = maxHeight == -1 ? -1 : std::max(maxHeight, s.minHeight);
    return true;
}

void BalloonSetMinSize(BalloonStyle& s, int width, int height)
{
    if (width > 0)
        s.minWidth = width;
    if (height > 0)
        s.minHeight = height;
}

void BalloonSetTail(BalloonStyle& s, int width, int offset)
{
    if (width != 0)
        s.tailWidth = width;
    s.tailOffset = offset;
}

void BalloonSetPadding(BalloonStyle& s, int x, int y)
{
    if (x != 0)
        s.marginX = x;
    if (y != 0)
        s.marginY = y;
}

void BalloonSetCorner(BalloonStyle& s, int width, int height)
{
    if (width != 0)
        s.cornerWidth = width;
    if (height != 0)
        s.cornerHeight = height;
}

bool BalloonSetAlpha(int& alpha, int percent)
{
    if (percent < 0 || percent > 100)
        return false;
    alpha = percent;
    return true;
}

size_t BalloonCut(const std::string& text, int per)
{
    size_t i = 0;
    const size_t limit = per > 0 ? static_cast<size_t>(per) : 0;
    while (i < text.size()) {
        const size_t step = IsLead(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
        if (i + step > limit)
            break;
        i += step;
    }
    if (i == 0 && !text.empty())
        i = IsLead(static_cast<unsigned char>(text[0])) && text.size() > 1 ? 2 : 1;
    return i;
}

std::vector<std::string> BalloonLines(const std::string& text, int innerWidth, int cw, const TextWidth& width)
{
    std::vector<std::string> lines;
    if (cw <= 0)
        return lines;
    const int per = innerWidth / cw;
    std::string rest = text;
    while (!rest.empty()) {
        const size_t feed = rest.find('\n');
        std::string line = feed == std::string::npos ? rest : rest.substr(0, feed);
        std::string after = feed == std::string::npos ? std::string() : rest.substr(feed + 1);
        if (width(line) > innerWidth) {
            size_t cut = BalloonCut(line, per);
            while (width(line.substr(0, cut)) > innerWidth) {
                const size_t shorter = LastCharacterStart(line, cut);
                if (shorter == 0)
                    break;
                cut = shorter;
            }
            after = line.substr(cut) + (feed == std::string::npos ? std::string() : "\n" + after);
            line = line.substr(0, cut);
        }
        lines.push_back(line);
        rest = after;
    }
    return lines;
}

WrapResult BalloonWrapCount(const std::string& text, int innerWidth, int cw, const TextWidth& width)
{
    WrapResult r;
    if (text.empty() || cw <= 0)
        return r;
    for (const std::string& line : BalloonLines(text, innerWidth, cw, width)) {
        r.lines++;
        r.longest = std::max(r.longest, static_cast<int>(line.size()));
        r.widest = std::max(r.widest, width(line));
    }
    return r;
}

std::string BalloonDropTail(const std::string& line, size_t bytes)
{
    size_t keep = 0;
    while (keep < line.size()) {
        const size_t step = IsLead(static_cast<unsigned char>(line[keep])) && keep + 1 < line.size() ? 2 : 1;
        if (keep + step + bytes > line.size())
            break;
        keep += step;
    }
    return line.substr(0, keep);
}

std::vector<std::string> BalloonShownLines(const std::vector<std::string>& lines, int height, int lineHeight,
                                           int gap)
{
    std::vector<std::string> shown;
    int below = height;
    for (size_t i = 0; i < lines.size(); i++) {
        below -= lineHeight + gap;
        if (i + 1 < lines.size() && below < lineHeight) {
            shown.push_back(BalloonDropTail(lines[i], 4) + " ...");
            break;
        }
        shown.push_back(lines[i]);
    }
    return shown;
}

void BalloonBodyOrigin(int mode, int ax, int ay, int w, int h, int* x, int* y)
{
    switch (mode) {
    case 0: *x = ax; *y = ay; break;
    case 1: *x = ax - w + 1; *y = ay; break;
    case 2: *x = ax; *y = ay - h + 1; break;
    case 3: *x = ax - w + 1; *y = ay - h + 1; break;
    default: *x = 0; *y = 0; break;
    }
}

int BalloonPlacement(int x0, int y0, int w, int h, int tx, int ty)
{
    const int64_t right = static_cast<int64_t>(x0) + w, bottom = static_cast<int64_t>(y0) + h;
    if (tx < x0) {
        if (ty < y0)
            return static_cast<int64_t>(x0) - tx <= static_cast<int64_t>(y0) - ty ? 0 : 3;
        if (ty > bottom)
            return static_cast<int64_t>(x0) - tx <= ty - bottom ? 6 : 5;
        return 4;
    }
    if (tx > right) {
        if (ty < y0)
            return tx - right <= static_cast<int64_t>(y0) - ty ? 2 : 9;
        if (ty > bottom)
            return tx - right <= ty - bottom ? 8 : 11;
        return 10;
    }
    return ty < y0 ? 1 : 7;
}

BalloonShape BalloonShapeFor(int x0, int y0, int w, int h, int tx, int ty, int tailWidth, int tailOffset)
{
    BalloonShape s;
    s.placement = BalloonPlacement(x0, y0, w, h, tx, ty);
    s.originX = tx < x0 ? tx : x0;
    s.originY = ty < y0 ? ty : y0;
    s.bodyLeft = x0 - s.originX;
    s.bodyTop = y0 - s.originY;
    s.bodyRight = s.bodyLeft + w;
    s.bodyBottom = s.bodyTop + h;
    s.tail[0][0] = tx - s.originX;
    s.tail[0][1] = ty - s.originY;
    // Along the edge: a run from `from` to `to`, measured from the edge's
    // start (left or top).
    int from = 0, to = 0;
    const bool horizontal = s.placement <= 2 || (s.placement >= 6 && s.placement <= 8);
    const int length = horizontal ? w : h;
    // Which end of the edge the tail sits at: 0 start, 1 middle, 2 end.
    static const int kEnd[12] = {0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 1, 2};
    switch (kEnd[s.placement]) {
    case 0:
        from = tailOffset;
        to = tailOffset + tailWidth;
        break;
    case 1:
        from = length / 2 - tailWidth / 2 + tailOffset;
        to = length / 2 + tailWidth / 2 + tailOffset;
        break;
    default:
        from = length - tailOffset;
        to = length - tailOffset - tailWidth;
        break;
    }
    int edge;
    switch (s.placement) {
    case 0: case 1: case 2: edge = s.bodyTop; break;
    case 6: case 7: case 8: edge = s.bodyBottom - 1; break;
    case 3: case 4: case 5: edge = s.bodyLeft; break;
    default: edge = s.bodyRight - 1; break;
    }
    if (horizontal) {
        s.tail[1][0] = s.bodyLeft + from;
        s.tail[1][1] = edge;
        s.tail[2][0] = s.bodyLeft + to;
        s.tail[2][1] = edge;
    } else {
        s.tail[1][0] = edge;
        s.tail[1][1] = s.bodyTop + from;
        s.tail[2][0] = edge;
        s.tail[2][1] = s.bodyTop + to;
    }
    return s;
}
