// FrameAnimation.h - CFrameAnimation: one effect definition played on the
// table scene.
//
// From the time since Start it works out, per layer, the frame that is due
// (EffectFrameAt), where it stands (base point, frame offset, path offset)
// and how opaque it is, then draws it, or keeps it as the layer's state for
// the scene's dirty rectangles, mouse hits and later drawing. When every
// layer has run out, Finish tells the owner (a message and/or a callback).
//
// The definition holds picture names; the animation takes the pictures from
// a lookup at SetDefinition (the effect cache, which keeps them alive while
// the definition is kept).
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "EffectFile.h"

class CImageObj;

class CFrameAnimation
{
public:
    using PictureLookup = std::function<CImageObj*(const std::string&)>;
    using NotifyCallback = void (*)(CFrameAnimation* animation, UINT_PTR first, UINT_PTR second);

    CFrameAnimation();
    CFrameAnimation(const EffectDefinition* definition, const PictureLookup& lookup);
    virtual ~CFrameAnimation();
    CFrameAnimation(const CFrameAnimation&) = delete;
    CFrameAnimation& operator=(const CFrameAnimation&) = delete;

    // Playing stops; every layer state starts empty.
    void SetDefinition(const EffectDefinition* definition, const PictureLookup& lookup);
    const EffectDefinition* GetDefinition() const { return m_pDefinition; }
    void Start();
    void Stop();
    BOOL IsPlaying() const { return m_bPlaying; }
    DWORD GetStartTick() const { return m_dwStart; }
    void SetForcedCell(int cell) { m_nForcedCell = cell; }
    void SetNotifyMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void SetNotifyCallback(NotifyCallback callback, UINT_PTR first, UINT_PTR second);
    // With tracking (the default) Update reports only what changed.
    void SetTrackChanges(BOOL track) { m_bTrack = track; }

    // Overrides of DrawAt (negative or NULL: computed).
    struct Overrides
    {
        int frame = -1;
        int dx = 0, dy = 0;
        int opacity = -1;
        const RECT* source = NULL;
    };
    // While playing: every layer at the time since Start.
    void Draw(int x, int y, CImageObj* image);
    // Every layer at elapsed ms (0: since Start).
    void DrawAt(int x, int y, CImageObj* image, DWORD elapsed, const Overrides* overrides);
    // Frame n of every layer that has one.
    void DrawFrame(int x, int y, CImageObj* image, int frame, int opacity, const RECT* rect);
    // The layer states for the time since Start; the rectangle to repaint.
    RECT Update(int x, int y);
    void DrawStates(CImageObj* image);
    RECT GetBounds() const;
    BOOL HitTest(int x, int y) const;

    // Playing stops; the message is sent and the callback called when set.
    virtual void Finish();

    // A frame drawn with its mode and opacity (shared with the scene's text
    // effects and tests).
    static void DrawOne(CImageObj* target, const CImageObj* picture, const CImageObj* channel, int mode, int x,
                        int y, int opacity, const RECT* source);

private:
    struct Picked
    {
        const EffectFrame* frame = NULL;
        const CImageObj* picture = NULL;
        const CImageObj* channel = NULL;
        int x = 0, y = 0;
        int opacity = 0;
        RECT source = {};
    };
    struct LayerState
    {
        int x = -10000, y = 0;
        const EffectFrame* frame = NULL;
        const CImageObj* picture = NULL;
        const CImageObj* channel = NULL;
        int opacity = 0;
        RECT source = {};
    };

    // The layer at elapsed; false when it shows nothing (finished set when
    // it has run out).
    bool Pick(size_t layer, DWORD elapsed, int x, int y, const Overrides* overrides, Picked* out,
              bool* finished) const;
    // The source of a frame: a cell, a rectangle of the definition or the
    // whole picture; false when a cell does not fit the picture.
    bool SourceOf(const EffectLayer& layer, const EffectFrame& frame, const CImageObj* picture, RECT* source) const;
    DWORD Elapsed() const;

    const EffectDefinition* m_pDefinition;
    BOOL m_bPlaying;
    DWORD m_dwStart;
    int m_nForcedCell;
    HWND m_hNotify;
    UINT m_nNotify;
    WPARAM m_wNotify;
    LPARAM m_lNotify;
    NotifyCallback m_pfnCallback;
    UINT_PTR m_nCallback1, m_nCallback2;
    std::vector<LayerState> m_states;
    // Per layer, per frame: the picture and channel picture found.
    std::vector<std::vector<CImageObj*>> m_pictures, m_channels;
    BOOL m_bTrack;
};
