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
#pragma once

#include "afxwin.h"

#include <vector>

#include "ODMenuItem.h"
#include "ODMenuLayout.h"
#include "ODSkinFrame.h"

class CODMenu : public CWnd, public CODSkinFrame
{
public:
    enum
    {
        TimerOpenSub = 60099,
        TimerCloseSub = 60999,
    };
    // Item colour grid entries the theme fills (row, state).
    struct Defaults
    {
        COLORREF columnColour, textBk, imageBk, sepHiLight, sepShadow;
        COLORREF itemBkNormal, itemBkMove, itemEdgeMove, itemTextNormal, itemTextDisable;
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
    COLORREF SetItemColor(COLORREF colour, int row, int state);
    COLORREF GetItemColor(int row, int state) const;

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
    void PostNcDestroy() override {}

    void ApplyTheme();
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
};
