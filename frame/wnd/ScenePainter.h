// ScenePainter.h - CQVScenePainter: the painter of the frame's "game" area,
// where the table scene is drawn.
//
// A scene file ("<name>.scn" in the program's folder) gives the seats (an
// avatar box, a name box and a chat balloon per seat, each at an anchor of
// the area), the name font and colour, and the layers: lower layers
// (pictures, avatars, names) are drawn into the frame's back image; overlay
// layers (buttons, effects, pictures) are drawn over it into the work image
// and are the only ones that move: on the 30 ms tick every overlay item
// reports what changed, the rectangles are merged in the dirty list and the
// frame redraws just those. Buttons and effects of overlay layers take the
// mouse; items registered under a name can be found, shown and hidden by the
// game.
//
// The scene's pictures and effect files come from its pack through an
// effect cache; a scene switch opens the new pack first and keeps the old
// scene when that fails.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "BkPainter.h"
#include "QVRectList.h"
#include "SceneFile.h"
#include "SceneText.h"

class CChatBalloonWnd;
class CEffectCache;
class CQVSceneItem;
class CQVSceneButton;
class CQVIniFile;
class CGamePlayer;

// An item's entry in the painter's name table.
struct SceneNameEntry
{
    CQVSceneItem* item;
    std::string name;
};

class CQVScenePainter : public CBkPainter
{
public:
    CQVScenePainter();
    ~CQVScenePainter() override;

    BOOL OnCreate() override { return TRUE; }
    // The lower layers into the back image.
    BOOL DrawContent(CImageObj* dc) override;
    // The seat positions for the area's new rectangle.
    void Layout() override;
    void OnVisibleChanged() override {}
    // A press offered to the buttons and effects of the overlay layers.
    void OnMouseDown(int x, int y) override;
    void OnButtonUp(int, int, int) override {}
    void OnDoubleClick(int, int) override {}
    void OnMouseMove(int x, int y) override;
    // The overlay layers over the area.
    void DrawOverlay(CImageObj* dc) override;
    void OnMouseWheel(int) override {}
    void OnHook12(int, int) override {}
    void OnHook13(int, int) override {}
    void UpdateButtons() override {}
    void OnButtonKey(int) override {}

    // ---- Hooks for the painters of particular games ----------------------------------------
    virtual void OnLayerDrawn(int layer, CImageObj* dc);
    virtual BOOL HitTestLayer(int layer, int x, int y);
    virtual void OnLayerMouseMove(int layer, int x, int y, int flags);
    virtual BOOL OnLayerButton(int layer, int x, int y);
    virtual BOOL OnSceneLoaded(CQVIniFile* ini);
    // A non-zero answer replaces an expired effect's removal value.
    virtual int OnItemExpired(CQVSceneItem* item);
    virtual void OnNameDrawn(LPCSTR userName, CImageObj* target, int x, int y);

    // ---- Scenes -------------------------------------------------------------------------------
    // The scene list of the area's section; 1.
    virtual BOOL ReadSceneInfo(CQVIniFile* ini, LPCSTR section);
    int GetSceneCount() const { return static_cast<int>(m_sceneNames.size()); }
    const std::string& GetSceneName(int index) const { return m_sceneNames[static_cast<size_t>(index)]; }
    virtual BOOL HasScene() const { return !m_strSceneFile.empty(); }
    // The first listed scene, else the one named after the game's layout.
    virtual BOOL LoadFirstScene();
    // "<app path><name>.scn" loaded (name NULL: the given ini); 1 on success.
    BOOL LoadScene(CQVIniFile* ini, LPCSTR name);
    BOOL InitLoadScene(CQVIniFile* ini);

    // ---- Ticks and redraws ---------------------------------------------------------------------
    // The animation tick: with redraw the dirty list is rebuilt and redrawn;
    // without, only the items' state is brought up to date.
    virtual void OnTick(BOOL redraw);
    void OnAnimTimer() { OnTick(TRUE); }
    void DrawOverlayRect(CImageObj* dc, const RECT& clip);
    void DrawOverlayDirty(CImageObj* dc);
    const CQVRectList& GetDirtyList() const { return m_dirty; }

    // ---- Seats, names and balloons --------------------------------------------------------------
    // The point of an anchor code relative to the area's top-left, or
    // (kNoScenePosition, kNoScenePosition).
    ScenePoint GetAnchorPoint(int code) const;
    int GetAvatarCount() const { return static_cast<int>(m_avatarPos.size()); }
    ScenePoint GetAvatarPosition(int seat) const;
    int GetNameCount() const { return static_cast<int>(m_namePos.size()); }
    ScenePoint GetNamePosition(int seat) const;
    // The avatar box (width, height after the default-size limits).
    SIZE GetAvatarBox() const;
    BOOL DrawNames(CImageObj* dc);
    void DrawName(CImageObj* dc, int index, CGamePlayer* player);
    // The chat text as a balloon at the seat (index -1: nothing).
    virtual void ShowBalloon(int index, LPCSTR text);
    CChatBalloonWnd* GetBalloon(int seat) const;
    // Drops the pending press (after a layout load).
    virtual void ClearPending();

    // ---- Items ----------------------------------------------------------------------------------
    SceneNameEntry* SetName(LPCSTR name, CQVSceneItem* item);
    void RemoveName(CQVSceneItem* item);
    CQVSceneItem* FindNamedItem(LPCSTR name) const;
    void SetItemStateByName(LPCSTR name, int state);
    int GetItemStateByName(LPCSTR name) const;
    // The item put into layer index (past the last: a new layer); 1 on
    // success, 0 when the layer does not take it (the item stays the
    // caller's).
    BOOL AddSceneItem(CQVSceneItem* item, int layer, int state);
    // An item from section "sceneitem" (not put into a layer), or NULL.
    CQVSceneItem* CreateSceneItem(CQVIniFile* ini, LPCSTR key);
    // A picture named in section "scenepic", or NULL.
    CImageObj* GetScenePicture(CQVIniFile* ini, LPCSTR key);

    int GetLayerCount() const { return static_cast<int>(m_layers.size()); }
    int GetLayerKind(int layer) const { return m_layers[static_cast<size_t>(layer)]->kind; }
    int GetLayerItemCount(int layer) const { return static_cast<int>(m_layers[static_cast<size_t>(layer)]->items.size()); }
    CQVSceneItem* GetLayerItem(int layer, int index) const;
    CEffectCache* GetCache() const { return m_pCache.get(); }
    const SceneDescription& GetDescription() const { return m_scene; }
    const std::string& GetSceneFile() const { return m_strSceneFile; }

    // The press lock: the button that took the last press and when.
    CQVSceneButton* m_pPressedButton;
    DWORD m_dwPressTime;
    int m_nPressInterval;

protected:
    struct Layer
    {
        int kind;
        std::vector<CQVSceneItem*> items;
    };

    // Frees every item, layer, seat and balloon.
    void EmptyScene();
    // Leaves the name table, then deleted.
    void DeleteItem(CQVSceneItem* item);
    void LoadLayerItems(Layer* layer, const SceneLayerDef& def);
    CQVSceneItem* MakeItem(char kind, const std::string& data, const std::string& draw, const std::string& name,
                           const std::string& tip, const std::string& otherTip);
    void DrawAvatars(CImageObj* dc, BOOL names);
    void DrawLayerItems(Layer* layer, CImageObj* dc, int ox, int oy);
    void Log(LPCSTR format, LPCSTR value);

    SceneDescription m_scene;
    std::vector<ScenePoint> m_avatarPos;
    std::vector<ScenePoint> m_namePos;
    std::vector<CChatBalloonWnd*> m_balloons;      // by seat, made on first use
    std::unique_ptr<CEffectCache> m_pCache;
    std::vector<std::string> m_sceneNames;
    std::string m_strFirstScene;
    std::string m_strSceneFile;
    CQVRectList m_dirty;
    std::vector<Layer*> m_layers;
    std::vector<SceneNameEntry*> m_names;          // sorted by name, bytes unsigned
};
