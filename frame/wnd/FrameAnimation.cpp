// FrameAnimation.cpp - see FrameAnimation.h.
#include "FrameAnimation.h"

#include <algorithm>

#include "ImageObj.h"
#include "SceneClock.h"

namespace {

RECT WholeOf(const CImageObj* picture)
{
    RECT r = {0, 0, picture->GetWidth(), picture->GetHeight()};
    return r;
}

RECT Placed(const RECT& source, int x, int y)
{
    RECT r = {x, y, x + (source.right - source.left), y + (source.bottom - source.top)};
    return r;
}

void Join(RECT* into, const RECT& r)
{
    if (IsRectEmpty(&r))
        return;
    if (IsRectEmpty(into))
        *into = r;
    else
        UnionRect(into, into, &r);
}

}  // namespace

CFrameAnimation::CFrameAnimation()
    : m_pDefinition(NULL), m_bPlaying(FALSE), m_dwStart(0), m_nForcedCell(-1), m_hNotify(NULL), m_nNotify(0),
      m_wNotify(0), m_lNotify(0), m_pfnCallback(NULL), m_nCallback1(0), m_nCallback2(0), m_bTrack(TRUE)
{
}

CFrameAnimation::CFrameAnimation(const EffectDefinition* definition, const PictureLookup& lookup)
    : CFrameAnimation()
{
    SetDefinition(definition, lookup);
}

CFrameAnimation::~CFrameAnimation() = default;

void CFrameAnimation::SetDefinition(const EffectDefinition* definition, const PictureLookup& lookup)
{
    m_pDefinition = definition;
    m_states.clear();
    m_pictures.clear();
    m_channels.clear();
    m_bPlaying = FALSE;
    m_dwStart = 0;
    m_nForcedCell = -1;
    if (definition == NULL)
        return;
    m_states.resize(definition->layers.size());
    for (const EffectLayer& layer : definition->layers) {
        std::vector<CImageObj*> pictures, channels;
        for (const EffectFrame& frame : layer.frames) {
            pictures.push_back(lookup && !frame.picture.empty() ? lookup(frame.picture) : NULL);
            channels.push_back(lookup && !frame.channel.empty() ? lookup(frame.channel) : NULL);
        }
        m_pictures.push_back(std::move(pictures));
        m_channels.push_back(std::move(channels));
    }
}

void CFrameAnimation::Start()
{
    if (m_pDefinition == NULL)
        return;
    m_bPlaying = TRUE;
    m_dwStart = SceneTickCount();
}

void CFrameAnimation::Stop()
{
    if (m_pDefinition == NULL)
        return;
    m_bPlaying = FALSE;
    m_dwStart = 0;
}

void CFrameAnimation::SetNotifyMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    m_hNotify = window;
    m_nNotify = message;
    m_wNotify = wParam;
    m_lNotify = lParam;
}

void CFrameAnimation::SetNotifyCallback(NotifyCallback callback, UINT_PTR first, UINT_PTR second)
{
    m_pfnCallback = callback;
    m_nCallback1 = first;
    m_nCallback2 = second;
}

DWORD CFrameAnimation::Elapsed() const { return SceneTickCount() - m_dwStart; }

bool CFrameAnimation::SourceOf(const EffectLayer& layer, const EffectFrame& frame, const CImageObj* picture,
                               RECT* source) const
{
    *source = WholeOf(picture);
    if (layer.hasGrid && frame.source < kRectReferenceBase) {
        const int columns = layer.cellWidth > 0 ? picture->GetWidth() / layer.cellWidth : 0;
        const int rows = layer.cellHeight > 0 ? picture->GetHeight() / layer.cellHeight : 0;
        // A picture that holds no whole cell has no cell to show.
        if (columns <= 0 || rows <= 0)
            return false;
        const int cells = columns * rows;
        int cell = m_nForcedCell >= 0 ? m_nForcedCell : (frame.source == 0 ? 0 : static_cast<int>(frame.source) - 1);
        if (cell < 0 || cell >= cells)
            cell = 0;
        int column, row;
        if (layer.order == 0) {
            column = cell / rows;
            row = cell % rows;
        } else {
            row = cell / columns;
            column = cell % columns;
        }
        source->left = column * layer.cellWidth;
        source->top = row * layer.cellHeight;
        source->right = source->left + layer.cellWidth;
        source->bottom = source->top + layer.cellHeight;
        return true;
    }
    if (layer.hasGrid)
        return true;   // a rectangle reference on a grid layer: the whole picture
    if (frame.source >= kRectReferenceBase) {
        const size_t index = frame.source - kRectReferenceBase;
        if (index < m_pDefinition->sources.size()) {
            const EffectRect& r = m_pDefinition->sources[index];
            RECT wanted = {r.l, r.t, r.r, r.b};
            RECT whole = *source;
            if (!IntersectRect(source, &wanted, &whole))
                return false;
        }
    }
    return true;
}

bool CFrameAnimation::Pick(size_t index, DWORD elapsed, int x, int y, const Overrides* overrides, Picked* out,
                           bool* finished) const
{
    const EffectLayer& layer = m_pDefinition->layers[index];
    bool ran = false;
    int frame = EffectFrameAt(layer, elapsed, NULL, &ran);
    if (overrides != NULL && overrides->frame >= 0)
        frame = overrides->frame;
    if (ran) {
        *finished = true;
        return false;
    }
    if (frame < 0 || static_cast<size_t>(frame) >= layer.frames.size() || m_pictures[index][frame] == NULL)
        return false;
    const EffectFrame& f = layer.frames[frame];
    int px = 0, py = 0;
    EffectPathOffsetAt(layer, elapsed, &px, &py, &ran);
    if (ran) {
        *finished = true;
        return false;
    }
    int opacity = layer.step & 0xFF;
    if (f.mode > 1) {
        opacity = EffectOpacityAt(layer, elapsed, &ran);
        if (ran) {
            *finished = true;
            return false;
        }
    }
    out->frame = &f;
    out->picture = m_pictures[index][frame];
    out->channel = m_channels[index][frame];
    out->x = layer.baseX + x + f.x + px;
    out->y = layer.baseY + y + f.y + py;
    out->opacity = opacity;
    if (overrides != NULL) {
        out->x += overrides->dx;
        out->y += overrides->dy;
        if (overrides->opacity >= 0)
            out->opacity = overrides->opacity;
    }
    if (overrides != NULL && overrides->source != NULL)
        out->source = *overrides->source;
    else if (!SourceOf(layer, f, out->picture, &out->source))
        return false;
    return true;
}

void CFrameAnimation::Draw(int x, int y, CImageObj* image)
{
    if (m_bPlaying)
        DrawAt(x, y, image, 0, NULL);
}

void CFrameAnimation::DrawAt(int x, int y, CImageObj* image, DWORD elapsed, const Overrides* overrides)
{
    if (m_pDefinition == NULL || image == NULL)
        return;
    if (elapsed == 0)
        elapsed = Elapsed();
    size_t finished = 0;
    const size_t count = m_pDefinition->layers.size();
    for (size_t i = 0; i < count; i++) {
        Picked p;
        bool ran = false;
        if (Pick(i, elapsed, x, y, overrides, &p, &ran))
            DrawOne(image, p.picture, p.channel, p.frame->mode, p.x, p.y, p.opacity, &p.source);
        if (ran)
            finished++;
    }
    if (count > 0 && finished >= count)
        Finish();
}

void CFrameAnimation::DrawFrame(int x, int y, CImageObj* image, int frame, int opacity, const RECT* rect)
{
    if (m_pDefinition == NULL || image == NULL || frame < 0)
        return;
    for (size_t i = 0; i < m_pDefinition->layers.size(); i++) {
        const EffectLayer& layer = m_pDefinition->layers[i];
        if (static_cast<size_t>(frame) >= layer.frames.size() || m_pictures[i][frame] == NULL)
            continue;
        const EffectFrame& f = layer.frames[frame];
        const CImageObj* picture = m_pictures[i][frame];
        RECT source = WholeOf(picture);
        if (layer.hasGrid) {
            if (rect == NULL)
                continue;
            source = *rect;
        } else if (!SourceOf(layer, f, picture, &source)) {
            continue;
        }
        DrawOne(image, picture, m_channels[i][frame], f.mode, layer.baseX + x + f.x, layer.baseY + y + f.y,
                opacity, &source);
    }
}

RECT CFrameAnimation::Update(int x, int y)
{
    RECT result = {};
    if (m_pDefinition == NULL)
        return result;
    const DWORD elapsed = Elapsed();
    size_t finished = 0;
    const size_t count = m_pDefinition->layers.size();
    for (size_t i = 0; i < count; i++) {
        Picked p;
        bool ran = false;
        const bool shows = Pick(i, elapsed, x, y, NULL, &p, &ran);
        if (ran)
            finished++;
        LayerState& s = m_states[i];
        const RECT before = s.frame != NULL ? Placed(s.source, s.x, s.y) : RECT{};
        LayerState now;
        if (shows) {
            now.x = static_cast<int16_t>(p.x);
            now.y = static_cast<int16_t>(p.y);
            now.frame = p.frame;
            now.picture = p.picture;
            now.channel = p.channel;
            now.opacity = p.opacity;
            now.source = p.source;
        }
        const RECT after = now.frame != NULL ? Placed(now.source, now.x, now.y) : RECT{};
        const bool changed = now.frame != s.frame || now.x != s.x || now.y != s.y || now.opacity != s.opacity ||
                             !EqualRect(&now.source, &s.source);
        if (!m_bTrack) {
            Join(&result, after);
        } else if (changed) {
            Join(&result, before);
            Join(&result, after);
        }
        s = now;
    }
    if (count > 0 && finished >= count)
        Finish();
    return result;
}

void CFrameAnimation::DrawStates(CImageObj* image)
{
    if (image == NULL)
        return;
    for (const LayerState& s : m_states) {
        if (s.frame != NULL && s.picture != NULL)
            DrawOne(image, s.picture, s.channel, s.frame->mode, s.x, s.y, s.opacity, &s.source);
    }
}

RECT CFrameAnimation::GetBounds() const
{
    RECT bounds = {};
    if (m_pDefinition == NULL)
        return bounds;
    for (const LayerState& s : m_states) {
        if (s.frame != NULL && s.picture != NULL)
            Join(&bounds, Placed(s.source, s.x, s.y));
    }
    return bounds;
}

BOOL CFrameAnimation::HitTest(int x, int y) const
{
    for (const LayerState& s : m_states) {
        if (s.frame == NULL || s.picture == NULL)
            continue;
        const RECT r = Placed(s.source, s.x, s.y);
        const POINT pt = {x, y};
        if (!PtInRect(&r, pt))
            continue;
        int lx = x - s.x + s.source.left, ly = y - s.y + s.source.top;
        if (s.channel != NULL) {
            if (lx >= s.channel->GetWidth() || ly >= s.channel->GetHeight()) {
                lx -= s.source.left;
                ly -= s.source.top;
            }
            if (GetRValue(s.channel->GetPixelColor(lx, ly)) > 8)
                return TRUE;
            continue;
        }
        const COLORREF pixel = s.picture->GetPixelColor(lx, ly);
        COLORREF key = 0;
        const bool keyed = s.picture->GetBkColor(&key) != FALSE;
        const int grey = (GetRValue(pixel) + GetGValue(pixel) + GetBValue(pixel)) / 3;
        switch (s.frame->mode) {
        case 1:
            if (keyed && pixel != key)
                return TRUE;
            break;
        case 2:
            if (keyed && pixel != key && s.opacity >= 9)
                return TRUE;
            break;
        case 3:
            if (s.opacity >= 9 && grey > 8)
                return TRUE;
            break;
        case 4:
            if (s.opacity > 8)
                return TRUE;
            break;
        default: return TRUE;
        }
    }
    return FALSE;
}

void CFrameAnimation::Finish()
{
    m_bPlaying = FALSE;
    if (m_hNotify != NULL && m_nNotify != 0)
        ::SendMessage(m_hNotify, m_nNotify, m_wNotify, m_lNotify);
    if (m_pfnCallback != NULL)
        m_pfnCallback(this, m_nCallback1, m_nCallback2);
}

void CFrameAnimation::DrawOne(CImageObj* target, const CImageObj* picture, const CImageObj* channel, int mode, int x,
                              int y, int opacity, const RECT* source)
{
    if (target == NULL || picture == NULL || picture->IsEmpty())
        return;
    const RECT whole = WholeOf(picture);
    const RECT src = source != NULL ? *source : whole;
    if (channel != NULL && !channel->IsEmpty()) {
        const int w = src.right - src.left, h = src.bottom - src.top;
        if (channel->GetWidth() == picture->GetWidth() && channel->GetHeight() == picture->GetHeight()) {
            target->DrawToImageEx(picture, channel, &src, x, y, &src);
            return;
        }
        if (channel->GetWidth() >= w && channel->GetHeight() >= h) {
            const RECT mask = {0, 0, w, h};
            target->DrawToImageEx(picture, channel, &src, x, y, &mask);
            return;
        }
        // A channel smaller than the source: the rest of the source is not
        // shown (its mask is black).
        CImageObj scratch;
        if (!scratch.Create(w, h, 24))
            return;
        scratch.BlendDraw1(channel, NULL, 0, 0);
        const RECT mask = {0, 0, w, h};
        target->DrawToImageEx(picture, &scratch, &src, x, y, &mask);
        return;
    }
    switch (mode) {
    case 1: target->BlendDraw2(picture, &src, x, y); break;
    case 2: target->BlendDraw4(picture, &src, x, y, opacity); break;
    case 3: target->BlendDraw5(picture, &src, x, y, opacity); break;
    case 4: target->BlendDraw3(picture, &src, x, y, opacity); break;
    default: target->BlendDraw1(picture, &src, x, y); break;
    }
}
