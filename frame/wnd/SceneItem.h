// SceneItem.h - the items the layers of a table scene hold: pictures,
// effects (an animation that may glide along a path) and buttons (a strip
// of frames: normal, hover, pressed, disabled).
//
// An item stands at an anchor of the current scene painter (an area point,
// an avatar or a name) plus its offset; it keeps the rectangle it last
// covered until the painter's tick takes it for the dirty list, and it may
// be registered under a unique name so that the game can address it.
// Positions are frame coordinates (the painter's area left and top added).
#pragma once

#include <afxwin.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "EffectFile.h"
#include "FrameAnimation.h"

class CImageObj;
class CEffectCache;
class CQVScenePainter;
struct SceneNameEntry;

// A point of a path: an anchor code, an offset and the time to get there.
struct SceneWaypoint
{
    uint8_t code;
    int16_t x, y;
    uint32_t duration;
};

class CQVSceneItem
{
public:
    enum
    {
        kPicture = 0,
        kEffect = 1,
        kButton = 2,
    };
    // Button flags of OnMouseMove.
    enum
    {
        kLeftDown = 1,
        kRightDown = 2,
        kMouseOwner = 4,
    };

    explicit CQVSceneItem(int kind);
    // Leaves the name table of the current scene painter.
    virtual ~CQVSceneItem();
    CQVSceneItem(const CQVSceneItem&) = delete;
    CQVSceneItem& operator=(const CQVSceneItem&) = delete;

    // ---- Slots 1-11 -----------------------------------------------------------------------
    // The item's line after its kind letter, its draw and name texts; the
    // pictures and effects come from the scene's cache. 1 on success.
    virtual BOOL LoadData(LPCSTR data, LPCSTR draw, LPCSTR name, CEffectCache* cache) = 0;
    virtual void Draw(CImageObj* dc, int ox, int oy) = 0;
    virtual void OnStateChanged(BOOL redraw) = 0;
    virtual void MoveBy(int dx, int dy, DWORD duration) = 0;
    virtual void MoveTo(int code, int x, int y, DWORD duration) = 0;
    virtual void SetPath(std::vector<SceneWaypoint>& points, BOOL take, BOOL fromHere, DWORD back) = 0;
    virtual void SetPathArray(const SceneWaypoint* points, int count, BOOL fromHere, DWORD back);
    // The rectangle that changed since the last tick (empty when none).
    virtual RECT Tick(int ox, int oy) = 0;
    virtual BOOL HitTest(int x, int y);
    virtual void OnMouseMove(int x, int y, int flags);
    RECT TakePrevRect();

    // ---- State and name -------------------------------------------------------------------
    void SetState(int state, BOOL redraw);
    // "state,name" or "name": registers the name; whether the item has one.
    BOOL SetNameText(LPCSTR text);

    int GetKind() const { return m_nKind; }
    int GetState() const { return m_nState; }
    int GetRemoval() const { return m_nRemoval; }
    void SetRemoval(int value) { m_nRemoval = static_cast<uint8_t>(value); }
    int GetAnchor() const { return m_nAnchor; }
    int GetX() const { return m_x; }
    int GetY() const { return m_y; }
    const SceneNameEntry* GetNameEntry() const { return m_pName; }
    LPCSTR GetName() const;
    void ForgetName() { m_pName = NULL; }

protected:
    // The base line: anchor, offset; rest is the picture or effect name.
    BOOL ParseBase(LPCSTR data, std::string* rest);
    static CQVScenePainter* Painter();
    // The anchor's point plus the offset, relative to the area; false when
    // the anchor has no position.
    BOOL AreaPosition(int code, int x, int y, POINT* pt) const;
    // The same in frame coordinates.
    BOOL FramePosition(POINT* pt) const;
    void JoinPrev(const RECT& r);
    void Log(LPCSTR format, LPCSTR value) const;

    uint8_t m_nKind;
    uint8_t m_nRemoval;
    uint8_t m_nState;
    uint8_t m_nAnchor;
    int16_t m_x, m_y;
    RECT m_rcPrev;
    SceneNameEntry* m_pName;
};

class CQVScenePicture : public CQVSceneItem
{
public:
    CQVScenePicture();
    BOOL LoadData(LPCSTR data, LPCSTR draw, LPCSTR name, CEffectCache* cache) override;
    void Draw(CImageObj* dc, int ox, int oy) override;
    void OnStateChanged(BOOL redraw) override;
    void MoveBy(int dx, int dy, DWORD duration) override;
    void MoveTo(int code, int x, int y, DWORD duration) override;
    void SetPath(std::vector<SceneWaypoint>& points, BOOL take, BOOL fromHere, DWORD back) override;
    RECT Tick(int ox, int oy) override;

    int GetDrawMode() const { return m_nMode; }
    CImageObj* GetPicture() const { return m_pPicture; }

private:
    BOOL FrameRect(RECT* r) const;

    uint8_t m_nMode;
    uint8_t m_nAlpha;
    CImageObj* m_pPicture;
    CImageObj* m_pSecond;
};

class CQVSceneButton : public CQVSceneItem
{
public:
    CQVSceneButton();
    BOOL LoadData(LPCSTR data, LPCSTR draw, LPCSTR name, CEffectCache* cache) override;
    void Draw(CImageObj* dc, int ox, int oy) override;
    void OnStateChanged(BOOL redraw) override;
    void MoveBy(int dx, int dy, DWORD duration) override;
    void MoveTo(int code, int x, int y, DWORD duration) override;
    void SetPath(std::vector<SceneWaypoint>& points, BOOL take, BOOL fromHere, DWORD back) override;
    RECT Tick(int ox, int oy) override;
    BOOL HitTest(int x, int y) override;
    void OnMouseMove(int x, int y, int flags) override;

    void SetEnabled(BOOL enabled);
    void SetAlternate(BOOL alternate);
    void SetTips(LPCSTR tip, LPCSTR otherTip);
    int GetCurrentFrame() const { return m_nFrame; }
    int GetFrameWidth() const { return m_nFrameWidth; }
    BOOL IsEnabled() const { return m_bEnabled; }
    BOOL IsPressed() const { return m_dwPress != 0; }
    // The button's box in frame coordinates; false without picture or
    // position.
    BOOL GetBox(RECT* box) const;

private:
    void RecordBox();

    CImageObj* m_pPicture;
    CImageObj* m_pAlternate;
    CImageObj* m_pChannel;
    uint8_t m_bAlternate, m_nFrameWidth, m_nHover, m_nDisabled, m_bEnabled, m_nPlain, m_nCount, m_nFrame;
    DWORD m_dwPress;
    DWORD m_dwHover;
    CString m_strTip;
    CString m_strOtherTip;
};

class CQVSceneEffect : public CQVSceneItem
{
public:
    CQVSceneEffect();
    ~CQVSceneEffect() override;
    BOOL LoadData(LPCSTR data, LPCSTR draw, LPCSTR name, CEffectCache* cache) override;
    void Draw(CImageObj* dc, int ox, int oy) override;
    void OnStateChanged(BOOL redraw) override;
    void MoveBy(int dx, int dy, DWORD duration) override;
    void MoveTo(int code, int x, int y, DWORD duration) override;
    void SetPath(std::vector<SceneWaypoint>& points, BOOL take, BOOL fromHere, DWORD back) override;
    void SetPathArray(const SceneWaypoint* points, int count, BOOL fromHere, DWORD back) override;
    RECT Tick(int ox, int oy) override;
    BOOL HitTest(int x, int y) override;
    void StopPath();

    CFrameAnimation& GetAnimation() { return m_animation; }
    size_t GetPathLength() const { return m_path.size(); }
    DWORD GetStartTick() const { return m_dwStart; }

    // An effect that shows a text picture and, with a fade time, fades it
    // out; it owns its definition and picture. NULL on failure.
    static CQVSceneEffect* CreateTextEffectItem(LPCSTR text, const LOGFONT& font, COLORREF colour, DWORD fade);

private:
    static constexpr DWORD kPathDone = 0x80000000u;
    // The path from the current place (with fromHere) through the points
    // whose anchors resolve, and back in `back` ms.
    void BuildPath(const SceneWaypoint* points, size_t count, BOOL fromHere, DWORD back);
    RECT UpdateAt(int ox, int oy);

    CFrameAnimation m_animation;
    std::vector<SceneWaypoint> m_path;
    DWORD m_dwStart;
    std::unique_ptr<EffectDefinition> m_pOwnDefinition;
    std::unique_ptr<CImageObj> m_pOwnPicture;
};

// The item of a kind letter (P, E, B), or NULL.
CQVSceneItem* CreateSceneItemOfKind(char kind);
