// ScenePainter.h - CQVScenePainter: the painter of the frame's "game" area,
// where the table scene is drawn. Here it holds the area and answers the
// frame's calls; the scene itself (seats, items, balloons, effects) is drawn
// by the scene code built on it.
#pragma once

#include "BkPainter.h"

class CQVScenePainter : public CBkPainter
{
public:
    CQVScenePainter();
    ~CQVScenePainter() override;

    BOOL OnCreate() override { return TRUE; }
    BOOL DrawContent(CImageObj*) override { return FALSE; }
    void Layout() override {}
    void OnVisibleChanged() override {}
    void OnMouseDown(int x, int y) override;
    void OnButtonUp(int, int, int) override {}
    void OnDoubleClick(int, int) override {}
    void OnMouseMove(int, int) override {}
    void DrawOverlay(CImageObj*) override {}
    void OnMouseWheel(int) override {}
    void OnHook12(int, int) override {}
    void OnHook13(int, int) override {}
    void UpdateButtons() override {}
    void OnButtonKey(int) override {}

    // The scene list of the area's section; 1 on success.
    virtual BOOL ReadSceneInfo(CQVIniFile* ini, LPCSTR section);
    virtual BOOL HasScene() const { return FALSE; }
    virtual BOOL LoadFirstScene() { return TRUE; }
    // The 30 ms animation tick; with redraw FALSE only the overlay items'
    // state is brought up to date.
    virtual void OnTick(BOOL redraw);
    // A chat text shown as a balloon at a player's seat.
    virtual void ShowBalloon(int index, LPCSTR text);
    // Drops the pending press and hover state (after a layout load).
    virtual void ClearPending() {}
};
