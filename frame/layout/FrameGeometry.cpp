// FrameGeometry.cpp - see FrameGeometry.h.
#include "FrameGeometry.h"

#include <algorithm>
#include <cstdint>

AreaRect PlaceButton(int anchor, const AreaRect& layout, const AreaRect& c)
{
    const int cw = c.Width(), ch = c.Height();
    const int l = layout.l, t = layout.t, r = layout.r, b = layout.b;
    int w = r - l, h = b - t;
    if (ch < b - t) {
        h = ch;
        w = (r - l - ch) / 2;
    }
    int x, y;
    switch (anchor) {
    case kAnchorLT: x = l; y = t; break;
    case kAnchorRT: x = cw - r; y = t; break;
    case kAnchorLB: x = l; y = ch - b; break;
    case kAnchorRB: x = cw - r; y = ch - b; break;
    case kAnchorCL: x = cw / 2 - r; y = t; break;
    case kAnchorCT: x = l; y = ch / 2 - b; break;
    case kAnchorCR: x = cw / 2 + l; y = t; break;
    case kAnchorCB: x = l; y = ch / 2 + t; break;
    default: x = (cw - (r - l)) / 2; y = (ch - (b - t)) / 2; break;
    }
    if (h <= 0)
        return AreaRect();
    return AreaRect(c.l + x, c.t + y, c.l + x + w, c.t + y + h);
}

std::vector<DockPlace> LayoutDockItems(const AreaRect& area, const std::vector<DockItem>& items)
{
    std::vector<DockPlace> out(items.size());
    AreaRect f = area;
    for (size_t i = 0; i < items.size(); i++) {
        const DockItem& item = items[i];
        DockPlace& p = out[i];
        if (!item.exists) {
            p.skipped = true;
            continue;
        }
        if (f.IsEmpty()) {
            p.rect = AreaRect();
            p.repaint = false;
            continue;
        }
        const int side = item.mode & 0xFF;
        const int fw = f.Width(), fh = f.Height();
        int w = fw, h = fh;
        if ((item.mode & kDockKeepWidth) != 0)
            w = std::min(fw, item.own.Width());
        if ((item.mode & kDockKeepHeight) != 0)
            h = std::min(fh, item.own.Height());
        switch (side) {
        case kDockLeft:
            p.rect = AreaRect(f.l, f.t, f.l + w, f.b);
            f.l += w;
            break;
        case kDockTop:
            p.rect = AreaRect(f.l, f.t, f.r, f.t + h);
            f.t += h;
            break;
        case kDockRight:
            p.rect = AreaRect(f.r - w, f.t, f.r, f.b);
            f.r -= w;
            break;
        case kDockBottom:
            p.rect = AreaRect(f.l, f.b - h, f.r, f.b);
            f.b -= h;
            break;
        default:
            p.rect = f;
            f = AreaRect(f.l, f.t, f.l, f.t);
            break;
        }
    }
    return out;
}

int DockInsertIndex(const std::vector<int>& modes, int newMode)
{
    const int side = newMode & 0xFF;
    if (side >= kDockLeft && side <= kDockBottom) {
        for (size_t i = 0; i < modes.size(); i++) {
            if ((modes[i] & (kDockKeepWidth | kDockKeepHeight)) == 0)
                return static_cast<int>(i);
        }
    }
    return static_cast<int>(modes.size());
}

FrameSizes ComputeFrameSizes(int w, int h)
{
    FrameSizes s;
    if (w >= 800 && h >= 600) {
        s.minimum = {800, 600};
        if (w >= 1024 && h >= 768) {
            s.maximum = {w, h};
            s.normal = {1024, 768};
        } else {
            s.maximum = {w >= 1024 ? 1024 : w, h >= 768 ? 768 : h};
            s.normal = s.maximum;
        }
    } else {
        s.minimum = {std::min(w, 800), std::min(h, 600)};
        s.maximum = s.minimum;
        s.normal = s.minimum;
    }
    return s;
}

AreaRect RestoredPlacement(int left, int top, int width, int height, const FrameSizes& sizes, int screenW,
                            int screenH)
{
    if (width < 1 || height < 1)
        return AreaRect(0, 0, sizes.maximum.cx, sizes.maximum.cy);
    // A stored size is raised to the minimum and, so that a damaged value
    // cannot make a window larger than the screen allows, cut to the maximum.
    int64_t w = std::max(width, sizes.minimum.cx), h = std::max(height, sizes.minimum.cy);
    w = std::min<int64_t>(w, std::max(sizes.maximum.cx, sizes.minimum.cx));
    h = std::min<int64_t>(h, std::max(sizes.maximum.cy, sizes.minimum.cy));
    int64_t x = left, y = top;
    if (x > static_cast<int64_t>(screenW) - 20)
        x = screenW - w;
    if (y > static_cast<int64_t>(screenH) - 20)
        y = screenH - h;
    if (x + w < 20)
        x = 0;
    if (y + h < 20)
        y = 0;
    return AreaRect(static_cast<int>(x), static_cast<int>(y), static_cast<int>(x + w), static_cast<int>(y + h));
}

namespace {

// The rectangle moved (not resized beyond the area) so that it lies inside
// the work area, never left of or above it.
AreaRect KeepInside(AreaRect r, const AreaRect& area)
{
    const int w = std::min(r.Width(), area.Width()), h = std::min(r.Height(), area.Height());
    int x = r.l, y = r.t;
    if (x + w > area.r)
        x = area.r - w;
    if (y + h > area.b)
        y = area.b - h;
    x = std::max(x, area.l);
    y = std::max(y, area.t);
    return AreaRect(x, y, x + w, y + h);
}

AreaRect Centred(int w, int h, const AreaRect& area)
{
    const int x = area.l + (area.Width() - w) / 2, y = area.t + (area.Height() - h) / 2;
    return AreaRect(x, y, x + w, y + h);
}

}  // namespace

AreaRect NextMaximizeRect(const AreaRect& current, const FrameSizes& sizes, const AreaRect& workArea,
                           MaximizeState& state)
{
    const FrameSize now = {current.Width(), current.Height()};
    const AreaRect maxRect(workArea.l, workArea.t, workArea.l + sizes.maximum.cx, workArea.t + sizes.maximum.cy);
    if (now == sizes.minimum && !(sizes.minimum == sizes.maximum))
        return maxRect;
    if (now == sizes.maximum) {
        // Back to the size the window had before, else the remembered size
        // from the profile, else the normal size, centred.
        if (state.lastRestored.l != kNoRestoredPosition && !state.lastRestored.IsEmpty())
            return KeepInside(state.lastRestored, maxRect);
        if (state.resizeX >= sizes.minimum.cx && state.resizeY >= sizes.minimum.cy) {
            const int w = std::min(state.resizeX, sizes.maximum.cx), h = std::min(state.resizeY, sizes.maximum.cy);
            AreaRect r = Centred(w, h, maxRect);
            r = AreaRect(maxRect.l + state.resizeL, r.t, maxRect.l + state.resizeL + w, r.b);
            return KeepInside(r, maxRect);
        }
        return KeepInside(Centred(sizes.normal.cx, sizes.normal.cy, maxRect), maxRect);
    }
    state.lastRestored = current;
    return maxRect;
}

int FrameHitTest(const HitTestInput& in)
{
    if (in.onTitleButton)
        return kHitDefault;
    if (in.title.Contains(in.x, in.y)) {
        const AreaRect about(in.title.l + in.about.l, in.title.t + in.about.t, in.title.l + in.about.r,
                              in.title.t + in.about.b);
        return about.Contains(in.x, in.y) ? kHitDefault : kHitCaption;
    }
    if (!in.hasRoot || !in.root.Contains(in.x, in.y)) {
        if (in.grip >= 1 && in.grip <= 9 && in.backWidth > 20 && in.x >= in.clientW - in.grip &&
            in.y >= in.clientH - in.grip && in.x < in.clientW && in.y < in.clientH)
            return kHitBottomRight;
        return kHitCaption;
    }
    return kHitDefault;
}
