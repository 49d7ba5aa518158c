// ODMenu.h - CODMenu, the library's own pop-up menu: a top-most tool window
// with its entries in one or more columns (CODMenuItem records, NULL for a
// separator), sub-menus as child CODMenu windows opened after a hover delay
// or from the keyboard, kept inside the work area (the task bar avoided), a
// skin frame around it, and the chosen command posted as WM_COMMAND to the
// notify window. Measuring, placement and the keyboard's moves are
// ODMenuLayout.h. Theme section "ODMenu".
//
// The chain is the top-level menu and its sub-menus: choosing an entry, the
// Escape key, or the focus going to a window outside the chain destroys the
// top-level window, which closes the whole chain.
//
// Around the columns: four side panels (top, bottom, left, right; each a
// CODMenuStyle record whose item height is its thickness) shown on request,
// a background picture over the item area, and the frame's pictures from the
// theme. Entries may carry pictures of their own (left and right), animated
// while the entry is hot on the timer whose id is the picture's index among
// the menu's item pictures; entries without one draw a cell of the shared
// image strip. The hot entry's tip text is the tooltip's text.
#pragma once

#include "afxwin.h"

#include <vector>

#include "ODMenuItem.h"
#include "ODMenuLayout.h"
#include "ODSkinFrame.h"
#include "ODTooltip.h"

class CQVDibImageList;

class CODMenu : public CWnd, public CODSkinFrame
{
public:
    enum
    {
        TimerOpenSub = 60099,
        TimerCloseSub = 60999,
        // Background, the eight frame pictures, the four panels.
        TimerBackground = 60001,
        TimerFrame = 60002,
        TimerPanel = 60010,
    };
    enum
    {
        PanelTop = 0,
        PanelBottom = 1,
        PanelLeft = 2,
        PanelRight = 3,
        PanelCount = 4,
    };
    static constexpr int kDescSize = 128;
    // Item colour grid entries the theme fills (row, state).
    struct Defaults
    {
        COLORREF columnColour, textBk, imageBk, sepHiLight, sepShadow;
        COLORREF itemBkNormal, itemBkMove, itemEdgeMove, itemTextNormal, itemTextDisable;
        char frames[8][kDescSize];  // in the frame's order: edges left, right, top, bottom, then the corners
    };
    static Defaults& ClassDefaults();
    static void LoadTheme();

    CODMenu();
    ~CODMenu() override;

    // Column count at least 0; FALSE for a negative count or a failed window.
    BOOL Create(CWnd* pParent, int columns, BOOL notTopMost = FALSE);
    // Fills column 0 from a menu (sub-menus become child menus).
    void LoadFromMenu(HMENU menu, int column = 0);
    // An empty text adds a separator. The new entry's index; 0 for a bad column.
    int AddItem(LPCSTR text, UINT id, LPCSTR tip = "", BOOL clickable = FALSE, int column = 0);
    BOOL AttachSubMenu(int index, CODMenu* child, int column = 0);
    BOOL SetItemEnabled(int index, BOOL enabled, int column = 0);
    BOOL SetItemChecked(int index, BOOL checked, int column = 0);
    CODMenuItem* GetItem(int index, int column = 0) const;
    UINT GetItemId(int index, int column = 0) const;
    CODMenu* GetSubMenu(int index, int column = 0) const;
    int GetColumnCount() const { return static_cast<int>(m_columns.size()); }
    int GetItemCount(int column = 0) const;
    int SetSeparatorIndent(int indent);
    int GetSeparatorIndent() const { return m_separatorIndent; }
    COLORREF SetItemColor(COLORREF colour, int row, int state);
    COLORREF GetItemColor(int row, int state) const;

    // A picture of the entry's own in slot 0 (left) or 2 (right): from a
    // bitmap cut into cells, or from an image description. FALSE (nothing
    // kept) for a bad entry or slot or a picture that cannot be made.
    BOOL SetItemImage(int index, int slot, CBitmap* bitmap, int transparent, int cells, int states, int frames,
                      int interval, int column = 0);
    BOOL SetItemImage(int index, int slot, LPCSTR description, int column = 0);
    // One of the entry's three cell numbers into the shared strip.
    BOOL SetItemCell(int index, int slot, WORD cell, int column = 0);
    CQVDibImageList* SetImageStrip(CQVDibImageList* strip);
    CQVDibImageList* GetImageStrip() const { return m_strip; }
    LOGFONT SetFont(const LOGFONT& lf);
    void GetFont(LOGFONT* lf) const { *lf = m_font; }
    int SetUserValue(int value);
    int GetUserValue() const { return m_userValue; }
    int SetSubMenuDelay(int ms);
    BOOL SetPanelVisible(BOOL visible, int panel);
    BOOL GetPanelVisible(int panel) const;
    CODMenuStyle* GetPanel(int panel);
    CODSkinImage& GetBackground() { return m_background; }
    CString SetDefaultTip(LPCSTR text);
    CString GetCurrentTip() const { return m_currentTip; }
    CODTooltip& GetTooltip() { return m_tooltip; }
    CODSkinImage* GetItemImage(int timerId) const;

    // The menu's own colours (kept over a theme reload); each the old value.
    COLORREF SetTextBkColor(COLORREF c);
    COLORREF GetTextBkColor() const { return m_colours.textBk; }
    COLORREF SetImageBkColor(COLORREF c);
    COLORREF GetImageBkColor() const { return m_colours.imageBk; }
    COLORREF SetSepHiLightColor(COLORREF c);
    COLORREF GetSepHiLightColor() const { return m_colours.sepHiLight; }
    COLORREF SetSepShadowColor(COLORREF c);
    COLORREF GetSepShadowColor() const { return m_colours.sepShadow; }
    COLORREF SetColumnColor(COLORREF c);
    COLORREF GetColumnColor() const { return m_colours.columnColour; }
    // A frame picture description of the menu's own (index in the frame's order).
    void SetFrameImage(int index, LPCSTR description);
    // Colours and frame pictures from the theme, except those set by the caller.
    void ReloadTheme();

    // Lays out and shows the menu at (x, y) for the notify window.
    BOOL TrackPopup(UINT flags, int x, int y, CWnd* pNotify);
    int GetHotColumn() const { return m_hotColumn; }
    int GetHotItem() const { return m_hotItem; }
    const odmenu::Sizes& GetSizes() const { return m_sizes; }
    CODMenu* GetParentMenu() const { return m_parentMenu; }
    CODMenu* GetTopMenu();

    virtual void Measure();

    // Seam: the work area (the screen less the task bar).
    static odmenu::Rect (*s_workArea)();

protected:
    struct Column
    {
        std::vector<CODMenuItem*> items;
        std::vector<CODMenu*> subs;
        std::vector<UINT> ids;
        std::vector<BOOL> clickable;
    };

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void PostNcDestroy() override {}

    void ApplyTheme();
    CRect ItemArea() const;
    void LeaveEntry(int column, int index);
    void UpdateTip();
    void StopAnimations();
    BOOL KeepItemImage(int index, int slot, int column, CODSkinImage* image);
    CRect ContentRect() const;
    CRect RowRect(int column, int index) const;
    void HitTestPoint(CPoint client, int* column, int* index) const;
    void SetHot(int column, int index);
    void OnKey(UINT key);
    void OpenSubMenu(int column, int index);
    void CloseSubMenus();
    void Choose(int column, int index);
    void Paint(CDC* pDC);
    bool InChain(HWND hWnd);
    void FreeEntries();
    std::vector<std::vector<bool>> Separators() const;

    std::vector<Column> m_columns;
    odmenu::Sizes m_sizes;
    LOGFONT m_font;
    CWnd* m_pNotify;
    CODMenu* m_parentMenu;
    COLORREF m_grid[4][5];
    BOOL m_gridSet[4][5];
    Defaults m_colours;
    int m_separatorIndent;
    int m_hotColumn, m_hotItem;
    BOOL m_topLevel;
    BOOL m_destroying;
    CPoint m_lastMouse;
    CPoint m_subPos;

    CString m_defaultTip, m_currentTip;
    CODSkinImage m_background;
    CODMenuStyle m_panels[PanelCount];
    BOOL m_panelVisible[PanelCount];
    CODTooltip m_tooltip;
    std::vector<CODSkinImage*> m_itemImages;
    CQVDibImageList* m_strip;
    int m_subDelay;
    int m_userValue;
    int m_pendingCloseColumn, m_pendingCloseItem;
    BOOL m_colourSet[5];  // textBk, imageBk, sepHiLight, sepShadow, columnColour
    char m_frames[8][kDescSize];
    BOOL m_frameSet[8];
};
