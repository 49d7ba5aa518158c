// PopupLayout.h - the arithmetic of the framed popups: where the close
// button sits in the frame, what a point of the window is (client, close
// button, caption, nothing), which close-button cell a state draws, and how
// a picture is laid over a larger face in thirds. No window code.
#pragma once

#include "SkinLayout.h"

#include <vector>

namespace kit {

// The hit codes a framed popup answers with (winuser.h values).
const int kHitClient = 1;

// Sizes of the frame pictures a popup's geometry depends on.
struct PopupFrameMetrics
{
    int leftWidth = 0;     // left edge picture
    int rightWidth = 0;    // right edge picture
    int topHeight = 0;     // top edge picture
    int bottomHeight = 0;  // bottom edge picture
    int closeWidth = 0;    // the close button's strip of four cells
    int closeHeight = 0;
};

// The client area inside a window rectangle: less each edge picture.
KRect PopupClientRect(const KRect& window, const PopupFrameMetrics& m);

// The close button in the frame: one cell wide, 4 pixels plus the left
// edge's width in from the right, centred on the top edge's middle.
KRect PopupCloseRect(const KRect& window, const PopupFrameMetrics& m);

// The caption strip: the window's width, from 4 below its top over the top
// edge's height.
KRect PopupCaptionRect(const KRect& window, const PopupFrameMetrics& m);

// What the point (same coordinates as window) is: kHitClient inside the
// client area, kHitSysMenu on the close button, kHitCaption on the caption
// strip, else kHitNowhere. *onClose says whether it is the close button.
int PopupHitTest(const KRect& window, const PopupFrameMetrics& m, int x, int y, bool* onClose);

// The close button's cell: 2 pressed, 1 hovered, 0 otherwise (the fourth
// cell is not drawn).
inline int PopupCloseCell(bool hover, bool pressed) { return pressed ? 2 : hover ? 1 : 0; }

// One copy of a run of the picture onto the face: `length` pixels from
// source position `from` to face position `to`.
struct Span
{
    int to, from, length;
    bool operator==(const Span& o) const { return to == o.to && from == o.from && length == o.length; }
};

// A picture `source` long laid over a face `target` long in thirds: its
// first third at the start, its last third at the end, the middle third
// repeated between them (cut at the last third). A face no longer than the
// picture, or a picture under 3 pixels, gets the whole picture repeated and
// cut at the end. Empty when either length is not positive.
std::vector<Span> ThirdsSpans(int source, int target);

// Whether a face is tiled in thirds (larger than the picture in a direction
// and nowhere smaller) or the picture is stretched over it.
inline bool TileInThirds(int sourceWidth, int sourceHeight, int targetWidth, int targetHeight)
{
    return targetWidth >= sourceWidth && targetHeight >= sourceHeight &&
           (targetWidth > sourceWidth || targetHeight > sourceHeight);
}

}  // namespace kit
