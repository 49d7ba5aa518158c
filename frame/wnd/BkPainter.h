// BkPainter.h - CBkPainter, the base of every area of the frame's layout,
// and CAreaPainter, the area that holds child windows.
//
// A painter owns a rectangle of the frame, draws its background into the
// frame's back image from the keys of its layout section, lays out what it
// holds, draws overlays into the work image and takes the mouse input the
// frame routes to it. Every live painter is in the current area host's
// painter list from its creation to its destruction.
//
// Drawing goes into a CImageObj (the "draw context"): its clip rectangle
// limits the drawing, its origin moves it.
#pragma once

#include <afxwin.h>

#include "FrameGeometry.h"
#include "SimplePtrArray.h"

class CImageObj;
class CImageCache;
class CQVIniFile;

class CBkPainter
{
public:
    enum
    {
        kTypeArea = 2,
        kTypeSplitter = 3,
        kTypeScene = 4,
    };

    explicit CBkPainter(int type);
    // Slot 0: leaves the host's painter list.
    virtual ~CBkPainter();
    CBkPainter(const CBkPainter&) = delete;
    CBkPainter& operator=(const CBkPainter&) = delete;

    // Stores the three values, joins the host's painter list and answers the
    // creation hook.
    BOOL Create(LPCSTR name, LPCSTR section, CBkPainter* parent);

    // ---- Slots 1-15 -----------------------------------------------------------------------
    virtual BOOL OnCreate() = 0;
    virtual BOOL DrawContent(CImageObj* dc) = 0;
    virtual void Layout() = 0;
    virtual void OnVisibleChanged() = 0;
    virtual void DrawBackground(CImageObj* dc);
    virtual void OnMouseDown(int x, int y) = 0;
    virtual void OnButtonUp(int x, int y, int flag) = 0;
    virtual void OnDoubleClick(int x, int y) = 0;
    virtual void OnMouseMove(int x, int y) = 0;
    virtual void DrawOverlay(CImageObj* dc) = 0;
    virtual void OnMouseWheel(int delta) = 0;
    virtual void OnHook12(int a, int b) = 0;
    virtual void OnHook13(int a, int b) = 0;
    virtual void UpdateButtons() = 0;
    virtual void OnButtonKey(int key) = 0;

    // ---- Keys, drawing, redraw ------------------------------------------------------------
    // `bkp_draw`, `bkp_pic`, `bkp_chn` and the nine edge pictures of the
    // section; the pictures stay the cache's.
    void LoadKeys(CQVIniFile* ini, LPCSTR section, CImageCache* cache);
    // Background and content of a visible, named, non-empty painter inside
    // the context's clip; 1 when the content drew.
    BOOL DrawTree(CImageObj* dc);
    // Slot 14, then the host's Redraw of the painter's rectangle (or of sub,
    // relative to the painter's top-left).
    void RedrawPainter(const RECT* sub = NULL);
    // Nothing when unchanged; else stored and laid out (slot 3).
    void SetRect(const RECT& rect);
    // Nothing when unchanged; else stored and slot 4.
    void SetVisible(BOOL visible);

    int GetType() const { return m_nType; }
    const CRect& GetRect() const { return m_rect; }
    BOOL IsVisible() const { return m_bVisible; }
    const CString& GetName() const { return m_strName; }
    const CString& GetSection() const { return m_strSection; }
    CBkPainter* GetParent() const { return m_pParent; }
    const CRect& GetMargins() const { return m_margins; }
    void SetMargins(const RECT& margins) { m_margins = margins; }
    int GetBackgroundMode() const { return m_nBkMode; }

    // Pictures of the background (tests and the layout set them directly).
    enum Edge
    {
        kEdgeLT, kEdgeTop, kEdgeRT, kEdgeRight, kEdgeRB, kEdgeBottom, kEdgeLB, kEdgeLeft, kEdgeCT, kEdgeCount
    };
    void SetBackground(int mode, COLORREF colour, CImageObj* picture, CImageObj* second);
    void SetEdge(int edge, CImageObj* picture) { m_pEdges[edge] = picture; }

protected:
    // The picture tiled over rect (rows, then columns); nothing for a
    // picture of zero width or height.
    static void Tile(CImageObj* dc, const CImageObj* picture, const CRect& rect, BOOL keyed);
    // The picture stretched to the rectangle's size into a temporary image,
    // drawn at its top-left (keyed with the transparent colour, or opaque).
    static void DrawStretched(CImageObj* dc, const CImageObj* picture, const CRect& rect, BOOL keyed,
                              COLORREF key);

    int m_nType;
    CRect m_rect;
    BOOL m_bVisible;
    CBkPainter* m_pParent;
    CString m_strName;
    CString m_strSection;
    CRect m_margins;
    CImageObj* m_pEdges[kEdgeCount];
    CImageObj* m_pPicture;
    CImageObj* m_pSecond;
    COLORREF m_crBack;
    int m_nBkMode;
};

// A picture of the cache by name (NULL when there is none), given the
// frame's transparent colour as its key when it has no key of its own.
CImageObj* GetKeyedPicture(CImageCache* cache, LPCSTR name);

// An area that holds child windows, docked to its sides or filling it.
class CAreaPainter : public CBkPainter
{
public:
    struct Item
    {
        CWnd* window;
        int mode;             // DockMode (FrameGeometry.h)
        CRect rect;           // the window's own size for the keep bits
    };

    CAreaPainter();
    ~CAreaPainter() override;

    BOOL OnCreate() override { return TRUE; }
    BOOL DrawContent(CImageObj*) override { return FALSE; }
    void Layout() override;
    void OnVisibleChanged() override;
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

    // The index of the window's item when it is listed already, else the
    // new item count (0 when the item could not be added).
    int AddItem(CWnd* window, int mode, const RECT& rect);
    int AddItem(CWnd* window, int mode = 0);
    void RemoveItem(CWnd* window);
    int GetItemCount() const { return m_items.GetCount(); }
    const Item* GetItem(int index) const { return m_items.GetAt(index); }

protected:
    CSimplePtrArray<Item> m_items;
};
