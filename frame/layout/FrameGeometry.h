// FrameGeometry.h - the game frame's rectangle arithmetic without windows:
// button placement by anchor, the docking of an area's windows, the frame's
// three sizes from the work area, the placement kept in the profile, the
// maximise cycle and the skinned hit test.
//
// Rectangles are half open: (l, t) is inside, (r, b) is not. Every division
// truncates towards zero, as the frame's layout file expects.
#pragma once

#include <cstdint>
#include <vector>

struct AreaRect
{
    int l = 0, t = 0, r = 0, b = 0;

    AreaRect() = default;
    AreaRect(int left, int top, int right, int bottom) : l(left), t(top), r(right), b(bottom) {}

    int Width() const { return r - l; }
    int Height() const { return b - t; }
    bool IsEmpty() const { return r <= l || b <= t; }
    bool Contains(int x, int y) const { return x >= l && x < r && y >= t && y < b; }
    bool operator==(const AreaRect& o) const { return l == o.l && t == o.t && r == o.r && b == o.b; }
    bool operator!=(const AreaRect& o) const { return !(*this == o); }
};

// Anchors of buttons and pictures: LT 1, RT 2, LB 3, RB 4, CL 5, CT 6, CR 7,
// CB 8; 0 centres.
enum FrameAnchor
{
    kAnchorNone = 0,
    kAnchorLT = 1,
    kAnchorRT = 2,
    kAnchorLB = 3,
    kAnchorRB = 4,
    kAnchorCL = 5,
    kAnchorCT = 6,
    kAnchorCR = 7,
    kAnchorCB = 8,
};

// Where a button of layout rectangle `layout` goes in container c. A
// container lower than the button gives the button the container's height
// and half of (width - container height) as its width. A height of 0 or less
// gives an empty rectangle.
AreaRect PlaceButton(int anchor, const AreaRect& layout, const AreaRect& c);

// ---- Docking of an area's windows -------------------------------------------------------------

enum DockMode
{
    kDockFill = 0,
    kDockLeft = 1,
    kDockTop = 2,
    kDockRight = 3,
    kDockBottom = 4,
    kDockKeepWidth = 0x100,
    kDockKeepHeight = 0x200,
};

struct DockItem
{
    int mode = kDockFill;     // low 8 bits the side, plus the keep bits
    AreaRect own;            // the item's own size (for the keep bits)
    bool exists = true;       // items without a window are skipped
};

struct DockPlace
{
    AreaRect rect;           // (left, top, right, bottom) of the window
    bool repaint = true;      // false when the free space was already used up
    bool skipped = false;     // the item has no window
};

// Lays the items out in order inside `area`.
std::vector<DockPlace> LayoutDockItems(const AreaRect& area, const std::vector<DockItem>& items);

// Where a new item goes in a list of items with these modes: ahead of the
// first item without a keep bit when the new item docks to a side (1..4),
// else at the end.
int DockInsertIndex(const std::vector<int>& modes, int newMode);

// ---- The frame's sizes and placement ----------------------------------------------------------

struct FrameSize
{
    int cx = 0, cy = 0;
    bool operator==(const FrameSize& o) const { return cx == o.cx && cy == o.cy; }
};

struct FrameSizes
{
    FrameSize minimum, maximum, normal;
};

// The three sizes for a work area of w x h.
FrameSizes ComputeFrameSizes(int w, int h);

// The window rectangle at start from the profile's left, top, width and
// height, for a screen of screenW x screenH: no stored size gives the
// maximum size at (0, 0).
AreaRect RestoredPlacement(int left, int top, int width, int height, const FrameSizes& sizes, int screenW,
                            int screenH);

// Last restored rectangle, -4000 everywhere while unset.
constexpr int kNoRestoredPosition = -4000;

struct MaximizeState
{
    AreaRect lastRestored{kNoRestoredPosition, kNoRestoredPosition, kNoRestoredPosition,
                           kNoRestoredPosition};
    // From the profile: MainFrame/resizeX, resizeY, resizeL (0: none).
    int resizeX = 0, resizeY = 0, resizeL = 0;
};

// The next rectangle of the maximise cycle from the window rectangle
// `current` inside the work area; may update the remembered rectangle.
AreaRect NextMaximizeRect(const AreaRect& current, const FrameSizes& sizes, const AreaRect& workArea,
                           MaximizeState& state);

// ---- Hit test ------------------------------------------------------------------------------------

enum FrameHit
{
    kHitDefault = -1,         // the window's default handling
    kHitCaption = 2,          // HTCAPTION
    kHitBottomRight = 17,     // HTBOTTOMRIGHT
};

struct HitTestInput
{
    int x = 0, y = 0;                 // client point
    bool onTitleButton = false;
    AreaRect title;                  // caption band
    AreaRect about;                  // relative to the caption band's top-left
    bool hasRoot = false;
    AreaRect root;                   // the root area's rectangle
    int grip = 0;                     // resize grip side (used when 1..9)
    int backWidth = 0;                // the back image's width
    int clientW = 0, clientH = 0;
};

int FrameHitTest(const HitTestInput& in);
