#include "BalloonText.h"

namespace widgets {

int BalloonLineBudget(int width, int marginX, int charWidth)
{
    if (charWidth <= 0)
        return 1;
    const long long room = static_cast<long long>(width) - 2LL * marginX;
    const long long budget = room / charWidth;
    return budget < 1 ? 1 : budget > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(budget);
}

namespace {

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        const size_t nl = text.find('\n', start);
        if (nl == std::string::npos) {
            lines.push_back(text.substr(start));
            return lines;
        }
        lines.push_back(text.substr(start, nl - start));
        start = nl + 1;
    }
}

// Drops whole characters from the end until at least n bytes are gone.
std::string DropTailBytes(const std::string& s, size_t n)
{
    if (n >= s.size())
        return std::string();
    return s.substr(0, CharBoundaryAtMost936(s, s.size() - n));
}

}  // namespace

std::string TruncateBalloonLines(const std::string& text, int budget)
{
    const size_t limit = budget < 1 ? 1 : static_cast<size_t>(budget);
    std::string out;
    std::vector<std::string> lines = SplitLines(text);
    if (!text.empty() && text.back() == '\n')
        lines.pop_back();   // a final "\n" ends the last line, it starts none
    for (const std::string& line : lines) {
        if (line.size() > limit) {
            const size_t keep = limit > 3 ? limit - 3 : 0;
            out += line.substr(0, CharBoundaryAtMost936(line, keep));
            out += "...";
        } else {
            out += line;
        }
        out += '\n';
    }
    return out;
}

std::vector<std::string> BreakIntoPieces(const std::string& line, int budget)
{
    const size_t limit = budget < 1 ? 1 : static_cast<size_t>(budget);
    std::vector<std::string> pieces;
    size_t i = 0;
    while (i < line.size()) {
        const std::string rest = line.substr(i, limit + 1);
        size_t n = CharBoundaryAtMost936(rest, limit);
        if (n == 0)
            n = CharLength936(line, i);   // one character, even past a one-byte budget
        pieces.push_back(line.substr(i, n));
        i += n;
    }
    return pieces;
}

BalloonLayout LayoutBalloonText(const std::string& text, const BalloonMetrics& m, int charWidth, bool hasLink,
                                const MeasureText& measure)
{
    BalloonLayout r;
    if (charWidth <= 0)
        return r;
    const int budget = BalloonLineBudget(m.width, m.marginX, charWidth);
    r.text = TruncateBalloonLines(text, budget);
    std::string whole = r.text;
    if (!whole.empty() && whole.back() == '\n')
        whole.pop_back();
    const TextExtent all = measure(whole);
    const long long room = static_cast<long long>(m.width) - 2LL * m.marginX;

    int lines = 0;
    size_t longest = 0;
    for (const std::string& part : SplitLines(whole)) {
        if (part.empty())
            continue;
        if (measure(part).cx <= room) {
            ++lines;
            longest = part.size() > longest ? part.size() : longest;
            continue;
        }
        for (const std::string& piece : BreakIntoPieces(part, budget)) {
            ++lines;
            longest = piece.size() > longest ? piece.size() : longest;
        }
    }
    if (hasLink)
        ++lines;
    r.lines = lines;
    if (lines == 0)
        return r;

    if (lines == 1) {
        r.singleLine = true;
        if (all.cx <= static_cast<long long>(m.minWidth) - 2LL * m.marginX)
            r.contentWidth = m.minWidth;
        else if (all.cx <= room)
            r.contentWidth = all.cx + 2 * m.marginX;
        else
            return r;   // one line too wide
        r.contentHeight = all.cy + 2 * m.marginY > m.minHeight ? all.cy + 2 * m.marginY : m.minHeight;
        r.textRect = Rc{0, 0, r.contentWidth, r.contentHeight};
    } else {
        r.singleLine = false;
        long long h = static_cast<long long>(all.cy + m.lineSpacing) * lines + 2LL * m.marginY;
        if (h < m.minHeight)
            h = m.minHeight;
        if (m.height != -1 && h > m.height)
            h = m.height;
        long long w = static_cast<long long>(longest) * charWidth + 2LL * m.marginX;
        if (w < m.minWidth)
            w = m.minWidth;
        if (w > m.width)
            w = m.width;
        r.contentWidth = static_cast<int>(w);
        r.contentHeight = static_cast<int>(h > 0x3FFFFFFF ? 0x3FFFFFFF : h);
        r.textRect = Rc{m.marginX, m.marginY, r.contentWidth - m.marginX, r.contentHeight - m.marginY};
    }
    r.ok = true;
    return r;
}

std::vector<PaintLine> BreakBalloonLines(const std::string& text, const Rc& textRect, int charWidth, int lineHeight,
                                         int lineSpacing)
{
    std::vector<PaintLine> out;
    const size_t budget = static_cast<size_t>(BalloonLineBudget(textRect.Width(), 0, charWidth));
    const int step = lineHeight + lineSpacing > 0 ? lineHeight + lineSpacing : 1;
    long long y = textRect.top;
    size_t i = 0;
    while (i < text.size()) {
        PaintLine line;
        line.y = static_cast<int>(y);
        const size_t nl = text.find('\n', i);
        if (nl != std::string::npos && nl - i <= budget) {
            line.text = text.substr(i, nl - i);
            i = nl + 1;
        } else {
            const std::string rest = text.substr(i, budget + 1);
            size_t n = CharBoundaryAtMost936(rest, budget);
            if (n == 0)
                n = CharLength936(text, i);
            line.text = text.substr(i, n);
            i += n;
        }
        y += step;
        const bool more = i < text.size();
        if (more && textRect.bottom - y < lineHeight) {
            line.text = DropTailBytes(line.text, 4) + " ...";
            out.push_back(line);
            break;
        }
        out.push_back(line);
    }
    return out;
}

}  // namespace widgets
