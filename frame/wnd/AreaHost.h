// AreaHost.h - IAreaHost: the services the game frame offers the areas,
// splitters, buttons and the scene drawn inside it.
//
// Painters never talk to the frame window directly: they reach it through
// the process-wide current area host (set by the frame when it is created)
// to redraw rectangles, hold the mouse, show a tip, get a device context,
// render a text picture or look up players and their avatar pictures. Every
// redraw copies the affected rectangles from the back image into the work
// image, lets the owner draw into the work image and copies the rectangles
// from the work image to the window.
#pragma once

#include <afxwin.h>

#include "SimplePtrArray.h"

class CBkPainter;
class CBkButton;
class CImageObj;
class CQVRectList;
class CQVScenePainter;
class CGamePlayer;
class CQVSceneItem;

class IAreaHost
{
public:
    IAreaHost();
    virtual ~IAreaHost();

    // ---- Services, in slot order ----------------------------------------------------------
    // The back image under rect into the work image, the button over it, the
    // rectangle to the window.
    virtual void RedrawRect(CBkButton* button, const RECT& rect) = 0;
    // The mouse goes to the holder (an area, or the pressed button when null).
    virtual void SetAreaCapture(CBkPainter* area) = 0;
    virtual void UpdateTip(LPCSTR text, const RECT& rect) = 0;
    // One rectangle of the window drawn again (the painter's overlay on top).
    virtual void Redraw(const RECT& rect, CBkPainter* painter) = 0;
    // The area that holds the mouse, or NULL (also while a button holds it).
    virtual CBkPainter* GetAreaCapture() = 0;
    virtual void RedrawDirty(CQVRectList* dirty) = 0;
    virtual void RedrawSceneRect(const RECT& rect) = 0;
    virtual CString GetAppPath() = 0;
    virtual void WriteLog(LPCSTR text) = 0;
    // A scene button's press has played out (name NULL: an unnamed button);
    // the game's frame acts on it.
    virtual void OnSceneButton(LPCSTR name, CQVSceneItem* item);
    // A caption button's key (exit 1, max 2, min 3, help 4, setting 5,
    // photo 6, mute 7); nothing in the base frame.
    virtual void OnTitleButtonKey(int key);
    // A named effect of the scene was clicked.
    virtual void OnSceneEffectHit(LPCSTR name, CQVSceneItem* item);
    virtual CGamePlayer* GetPlayer(int index) = 0;
    // The avatar picture of a player (150 x 190), made when missing.
    virtual CImageObj* GetAvatarPicture(LPCSTR userName) = 0;
    virtual CDC* GetHostDC() = 0;
    virtual void ReleaseHostDC(CDC* dc) = 0;
    virtual int GetAvatarWidth() { return kAvatarWidth; }
    virtual int GetAvatarHeight() { return kAvatarHeight; }
    // A new 24-bit picture of the text on the transparent colour (the caller
    // deletes it); NULL for an empty extent.
    virtual CImageObj* MakeTextPicture(LPCSTR text, const LOGFONT& font, COLORREF colour, BOOL horizontal) = 0;
    virtual COLORREF GetTransparentColor() = 0;

    // ---- Painter list ---------------------------------------------------------------------
    void AddPainter(CBkPainter* painter);
    void RemovePainter(CBkPainter* painter);
    BOOL HasPainter(const CBkPainter* painter) const;

    static constexpr int kAvatarWidth = 150;
    static constexpr int kAvatarHeight = 190;

    CQVScenePainter* m_pScenePainter;
    HCURSOR m_hArrowCursor;
    HCURSOR m_hSizeNSCursor;
    HCURSOR m_hSizeWECursor;
    CBkButton* m_pPressedButton;
    CBkPainter* m_pPressedArea;
    CSimplePtrArray<CBkPainter> m_painters;
    int m_nBalloonTime;       // milliseconds
    BOOL m_bBalloonsOn;
};

// The process-wide current area host (NULL before a frame is created).
IAreaHost* GetAreaHost();
void SetAreaHost(IAreaHost* host);
