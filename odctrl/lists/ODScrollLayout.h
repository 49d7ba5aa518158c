// ODScrollLayout.h - the scroll-bar container's layout and the scroll
// control's arithmetic apart from any window.
//
// Container: the horizontal bar takes the bottom row, the vertical bar a
// column at the right (at the left with a left-hand scroll bar) above that
// row; where both meet is the corner box, and the hosted child gets the rest.
//
// Scroll control: a bar is needed on an axis when the total is larger than
// the client area; a needed bar takes its thickness from the other axis,
// which may make the other bar needed too. Positions run from 0 to the total
// less the client size. Scroll codes step by lines or pages, jump to the
// top, the bottom or the thumb's 32-bit track position, and every result is
// held inside [0, limit].
#pragma once

#include <stdint.h>

namespace odscroll {

struct Rect
{
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool operator==(const Rect& o) const
    {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

struct ContainerInput
{
    int width = 0, height = 0;  // client size
    bool horzVisible = false;
    bool vertVisible = false;
    bool leftScrollBar = false;  // WS_EX_LEFTSCROLLBAR
    int vertWidth = 13;          // the vertical bar's column
    int horzHeight = 13;         // the horizontal bar's row
};

struct ContainerLayout
{
    Rect horzBar;  // empty when hidden
    Rect vertBar;
    Rect corner;   // empty unless both bars show
    Rect child;    // what is left for the hosted child
};

ContainerLayout LayOutContainer(const ContainerInput& in);

// ---- Scroll control --------------------------------------------------------

struct Size
{
    int cx = 0, cy = 0;
    bool operator==(const Size& o) const { return cx == o.cx && cy == o.cy; }
};

struct BarPlan
{
    bool horz = false, vert = false;  // bars needed
    Size client;                      // client size left beside the needed bars
    Size range;                       // total - client, at least 0
    Size pos;                         // the position held inside the range
};

// The bars a device total needs in a client area (bar sizes 0 inside a
// container, whose bars stand outside the control).
BarPlan PlanBars(Size total, Size client, int vertWidth, int horzHeight, Size pos);

// Scroll codes (the system's SB_* values).
enum ScrollCode {
    kLineUp = 0,
    kLineDown = 1,
    kPageUp = 2,
    kPageDown = 3,
    kThumbPosition = 4,
    kThumbTrack = 5,
    kTop = 6,
    kBottom = 7,
    kEndScroll = 8,
};

// The position a code asks for on one axis, before clamping: lines and pages
// step from `current`, the thumb track takes `trackPos`, top 0 and bottom
// 0x7FFFFFFF; other codes keep `current`.
int64_t RequestedPosition(int code, int current, int line, int page, int trackPos);
// A requested position held inside [0, limit].
int ClampToLimit(int64_t requested, int limit);

// The wheel's displacement on one axis: `lines` from the system (-1 pages
// a notch), `delta` the wheel delta (positive away from the user, which
// scrolls back). A notch never moves more than one page either way.
int WheelDisplacement(int delta, int lines, int lineSize, int pageSize);

// Where the contents start when centred: -(client - total) / 2 on an axis
// whose total is smaller than the client size, else the position.
int CentredPosition(int pos, int total, int client);

// A tenth of each asked component.
Size TenthSize(Size size, bool horz, bool vert);

// The position that puts `point` at the client's centre on one axis: 0
// without that axis's bar style or below 0, at most the limit.
int CentreOn(int point, int client, int limit, bool axisScrolls);

}  // namespace odscroll
