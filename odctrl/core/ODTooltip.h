// ODTooltip.h - CODTooltip, the library's rich tooltip: a top-most pop-up
// that an owner window feeds with its mouse and key messages (RelayEvent).
// It keeps a registry of tools (at most one per window: a window, an id, a
// rectangle in that window's client coordinates, a text in the mark-up of
// ODTipMarkup.h, an icon, a background bitmap and per-tool settings), shows
// the text of the tool under the mouse after the initial delay (timer
// 0x100), hides it after the auto-pop delay (timer 0x101) or on a click or
// a key, and paints a balloon: a rounded, optionally pointed region, a
// background by effect kind (solid, 64-band gradients, the generated
// pictures of ODTipEffect.h, or the tool's bitmap), a shadow, a border, an
// icon and the text. Theme section "ODToolTip" (palette entries 16-24).
//
// Settings whose mask bit is clear in a tool take the tooltip's defaults
// when the tool is shown. Setters given a registered tool id change that
// tool and set its mask bit; any other id (-1) changes the default.
//
// Handles: the registry owns each record's icon and bitmap (destroyed when
// the record is replaced, removed or cleared); the record being shown is a
// copy that borrows them. An icon the tooltip loaded for a text shown at a
// point belongs to the tooltip until the next such show.
//
// User-interface thread only.
#pragma once

#include "afxwin.h"

#include <commctrl.h>

#include <vector>

#include "ODDrawing.h"
#include "ODTipMarkup.h"

// One tool of the registry.
class CODToolInfo
{
public:
    // Mask bits of the settings a tool has of its own.
    enum
    {
        MaskBehaviour = 1,
        MaskEffect = 2,
        MaskColors = 4,
        MaskStyle = 8,
        MaskDisplay = 16,
    };

    CODToolInfo();
    ~CODToolInfo();
    // Destroys the icon and deletes the bitmap this record owns.
    void FreeHandles();

    HWND hWnd;
    UINT nId;
    RECT rect;
    HICON hIcon;
    HBITMAP hBitmap;
    CString text;
    UINT mask;
    UINT behaviour;
    UINT style;
    UINT effect;
    UINT display;
    UINT effectParam;
    COLORREF colors[3];  // background begin, middle, end
};

class CODTooltip : public CWnd
{
public:
    // Drawing flags (behaviour).
    enum
    {
        BehPointer = 0x1,
        BehShadow = 0x2,
        BehRounded = 0x4,
        BehTextCentre = 0x8,
        BehTextBottom = 0x10,
        BehIconCentre = 0x20,
        BehIconBottom = 0x40,
        BehNoActiveWindow = 0x100,
        BehDisabledChildren = 0x200,
        BehDefault = 0x27,
    };
    // Display flags.
    enum
    {
        DispRestartInTool = 0x1,
        DispStayOverTip = 0x4,
        DispNoPopOverTip = 0x8,
        DispNoAutoPop = 0x10,
    };
    // Geometry indexes.
    enum
    {
        GeoCornerWidth,
        GeoCornerHeight,
        GeoMarginX,
        GeoMarginY,
        GeoShadowX,
        GeoShadowY,
        GeoPointerBase,
        GeoPointerHeight,
        GeoPointerDistance,
        GeoBorderWidth,
        GeoBorderHeight,
        GeoCount
    };
    // Palette entries of the theme colours.
    enum
    {
        PalFg = 16,
        PalBkBegin,
        PalBkMid,
        PalBkEnd,
        PalLink,
        PalVisited,
        PalHover,
        PalShadow,
        PalBorder,
        PalCount
    };
    enum
    {
        TimerShow = 0x100,
        TimerPop = 0x101,
        DelayAutoPop = 2,
        DelayInitial = 3,
        NotifyShow = 1124,  // WM_NOTIFY code sent before a tip is shown
    };
    // Named images (mark-up "img").
    struct NamedImage
    {
        CString name;
        UINT id;
        BYTE kind;  // 0 icon, 1 bitmap, 2 bitmap with a mask colour
        COLORREF mask;
    };
    // The record sent with notification 1124; the receiver may change it.
    struct NMTOOLTIP
    {
        NMHDR hdr;
        CODToolInfo* tool;
    };

    CODTooltip();
    ~CODTooltip() override;

    BOOL Create(CWnd* pOwner, BOOL bBalloon = TRUE);

    // ---- Registry ----
    int AddTool(CWnd* pWnd, LPCSTR text, LPCRECT rect = NULL, UINT nId = 0);
    int AddTool(CWnd* pWnd, LPCSTR text, HICON hIcon, HBITMAP hBitmap, LPCRECT rect = NULL, UINT nId = 0);
    int AddTool(CWnd* pWnd, UINT textId, UINT iconId, int iconSize, UINT bitmapId, LPCRECT rect = NULL,
                UINT nId = 0);
    void UpdateTipText(LPCSTR text, CWnd* pWnd, UINT nId = 0);
    void UpdateTipText(UINT textId, CWnd* pWnd, UINT nId = 0);
    BOOL RemoveTool(int index);
    void RemoveAllTools();
    int GetToolCount() const { return static_cast<int>(m_tools.size()); }
    const CODToolInfo* GetTool(int index) const;
    int FindToolById(UINT nId) const;

    // Shows a text at a screen point at once, outside the registry.
    void ShowAtPoint(CPoint point, LPCSTR text, HICON hIcon = NULL);
    void ShowAtPoint(CPoint point, UINT textId, UINT iconId = 0);

    // ---- Named images and the image list ----
    int AddNamedImage(LPCSTR name, UINT id, int kind, COLORREF mask = 0);
    int FindNamedImage(LPCSTR name) const;
    int FindNamedImage(UINT id) const;
    BOOL RemoveNamedImage(int index);
    BOOL SetImageList(HBITMAP bitmap, int cx, int cy, COLORREF mask);
    BOOL SetImageList(UINT bitmapId, int cx, int cy, COLORREF mask);
    HIMAGELIST GetImageList(SIZE* size) const;

    // ---- Relay ----
    void RelayEvent(MSG* pMsg);
    void Activate(BOOL bActivate) { m_bEnabled = bActivate; }
    BOOL IsActive() const { return m_bEnabled; }
    void Hide();

    // ---- Settings (tool id, or -1 for the default) ----
    void SetBehaviour(UINT flags = BehDefault, int nTool = -1);
    UINT GetBehaviour(int nTool = -1) const;
    void SetToolStyle(UINT style, int nTool = -1);
    UINT GetToolStyle(int nTool = -1) const;
    void SetDisplayFlags(UINT flags, int nTool = -1);
    UINT GetDisplayFlags(int nTool = -1) const;
    void SetEffect(UINT kind, UINT param = 0, int nTool = -1);
    UINT GetEffect(UINT* param = NULL, int nTool = -1) const;
    void SetBkColors(COLORREF begin, COLORREF middle, COLORREF end, int nTool = -1);
    void GetBkColors(COLORREF* begin, COLORREF* middle, COLORREF* end, int nTool = -1) const;
    void SetMask(UINT mask, int nTool);
    void SetDelayTime(int kind, UINT ms);
    UINT GetDelayTime(int kind) const;
    void SetGeometry(int index, int value);
    int GetGeometry(int index) const;
    void SetGeometryPreset(BOOL bBalloon);
    void SetNotify(BOOL bOwner);
    void SetNotify(HWND hWnd) { m_hNotify = hWnd; }
    HWND GetNotify() const { return m_hNotify; }

    void SetFont(const LOGFONT& lf) { m_font = lf; }
    void SetFont(LPCSTR face, int points, BOOL italic, BOOL bold, BOOL underline, BOOL strikeOut);
    void GetFont(LOGFONT* lf) const { *lf = m_font; }
    void SetDefaultFont();

    // Entries 0-24; an index of 25 or more is ignored (and reads entry 16).
    void SetColor(int index, COLORREF colour);
    COLORREF GetColor(int index) const;
    void ResetColors();

    // Measures (measuring) or draws a mark-up text into the rectangle; the
    // size of the laid-out text.
    CSize Render(CDC* pDC, const RECT& rect, LPCSTR text, BOOL measuring);
    // Builds the effect picture for a shown tool of kind 7 to 15.
    void PrepareBackgroundEffect(const RECT& rect, int kind, int grain, int shadePercent, COLORREF shadeColour);
    const CODDib& GetEffectImage() const { return m_effect; }
    // 64-band linear fill.
    static void FillGradient(CDC* pDC, const RECT& rect, COLORREF from, COLORREF to, BOOL horizontal);

    // ---- State for the owner and its tests ----
    int GetWaitingTool() const { return m_nWaiting; }
    int GetShownTool() const { return m_nShown; }
    int GetPlacement() const { return m_nPlacement; }
    const CODToolInfo& GetCurrentRecord() const { return m_current; }
    // The window shape of the last show, in window coordinates (NULL: none).
    HRGN GetBalloonRegion() const { return m_hBalloonRgn; }

    static void LoadTheme();
    static COLORREF GetThemeColor(int paletteIndex);

    // Seams: where the cursor is, which top-level window is under a screen point, and the
    // rand() of the effects.
    static BOOL (*s_getCursorPos)(POINT* point);
    static HWND (*s_windowFromPoint)(POINT screen);
    static int (*s_random)();

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void OnPaint();
    void OnTimer(UINT_PTR id);
    void OnDestroy();

    int StoreTool(CODToolInfo* info);
    int ToolIndex(int nTool) const;
    int HitTest(POINT screen) const;
    BOOL MouseOverTip() const;
    void StartTool(int index, BOOL delay);
    void ShowTool();
    void ShowAt(CPoint anchor);
    void FillDefaults(CODToolInfo& info) const;
    void BuildRegions(const CRect& window, CPoint anchor);
    void FreeRegions();
    void PaintBalloon(CDC* pDC, const CRect& client);
    void DrawBackground(CDC* pDC, const CRect& rect);

    std::vector<CODToolInfo*> m_tools;
    std::vector<NamedImage> m_images;
    odtip::Lines m_lines;
    HWND m_hNotify;
    CWnd* m_pOwner;
    int m_nPlacement;
    int m_nWaiting;
    int m_nShown;
    LOGFONT m_font;
    COLORREF m_palette[PalCount];
    BOOL m_paletteSet[PalCount];
    int m_geometry[GeoCount];
    UINT m_defBehaviour;
    UINT m_defStyle;
    UINT m_defEffect;
    UINT m_defEffectParam;
    UINT m_defDisplay;
    COLORREF m_defColors[3];
    UINT m_delayPop;
    UINT m_delayInitial;
    CPoint m_lastPos;
    CPoint m_anchor;
    HRGN m_hBalloonRgn;  // body and pointer (paint clip, border)
    HRGN m_hShadowRgn;   // the same moved by the shadow offsets, or NULL
    HIMAGELIST m_hImageList;
    CSize m_imageSize;
    CSize m_iconSize;
    CSize m_textSize;
    CODToolInfo m_current;
    HICON m_hPointIcon;  // icon loaded for ShowAtPoint
    CODDib m_effect;
    BOOL m_bEnabled;

    static COLORREF s_theme[PalCount - PalFg];
};
