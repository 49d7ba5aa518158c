// ODSBContainerWnd.h - CSBContainerWnd, the scroll-bar container: a window
// that hosts one scrolling child and replaces the child's native bars by two
// skinned bars of its own (CODScrollBarCtrl, ids 0xEA00 horizontal and
// 0xEA01 vertical). A hosted control that finds a "CSBContainerWnd" parent
// sends every bar request here (the scroll interface below) and hears the
// bars' actions as WM_HSCROLL / WM_VSCROLL / WM_MOUSEWHEEL. The container
// passes the child's commands and notifications on to its own parent.
//
// Layout (odscroll::LayOutContainer): the horizontal bar takes the bottom
// row, the vertical bar a column at the right (left with
// WS_EX_LEFTSCROLLBAR); the corner where they meet is painted as the
// vertical bar's size box. Bar indexes: 0 horizontal, 1 vertical, 3 both.
//
// Theme section "SBContainer": "ScrollSize" 13, "ScrollImageID" 0 (type
// "QVImage"), "MinSliderSize" 8.
#pragma once

#include "ODNcMgrWnd.h"
#include "ODScrollBarCtrl.h"

class CSBContainerWnd : public CODNcMgrWnd
{
    DECLARE_DYNCREATE(CSBContainerWnd)
public:
    enum
    {
        HorzBarId = 0xEA00,
        VertBarId = 0xEA01,
        BothBars = 3,
    };

    CSBContainerWnd();
    ~CSBContainerWnd() override;

    BOOL Create(const RECT& rect, CWnd* parent, UINT id, DWORD style = WS_CHILD | WS_VISIBLE);
    // The hosted control (not owned); its owner stores it right after
    // creating it inside the container.
    void SetHostedChild(CWnd* child) { m_child = child; }
    CWnd* GetHostedChild() const { return m_child; }

    // The bar of an index (0, 1), null otherwise.
    virtual CODScrollBarCtrl* GetScrollBarCtrl(int bar);
    virtual void DrawCorner(CDC* pDC, const RECT* rect);

    // ---- Scroll interface ----
    int GetScrollPos(int bar);
    int SetScrollPos(int bar, int pos, BOOL redraw = TRUE);
    void GetScrollRange(int bar, int* min, int* max);
    void SetScrollRange(int bar, int min, int max, BOOL redraw = TRUE);
    BOOL SetScrollInfo(int bar, SCROLLINFO* info, BOOL redraw = TRUE);
    BOOL GetScrollInfo(int bar, SCROLLINFO* info, UINT mask = SIF_ALL);
    int GetScrollLimit(int bar);
    void ShowScrollBar(UINT bar, BOOL show = TRUE);
    BOOL IsHorzBarVisible();
    BOOL IsVertBarVisible();
    void SetScrollBarSizes(int vertWidth, int horzHeight);
    void SetArrowSizes(int horz, int vert);
    void SetMinSliderSize(int horz, int vert);
    BOOL SetBarImage(int bar, HBITMAP bitmap, BOOL deleteBitmap);
    BOOL SetBarImageFromResource(int bar, UINT id);
    BOOL SetBarImageFromTypedResource(int bar, UINT id, LPCSTR type, int typeIndex, WORD language);
    BOOL SetBarImageFromFile(int bar, LPCSTR path);
    void SetImageCellSizes(int bar, int hWidth, int hHeight, int vWidth, int vHeight);
    void EnableBarPainting(BOOL enable);

    int VertBarWidth() const { return m_vertWidth; }
    int HorzBarHeight() const { return m_horzHeight; }
    // The corner box in client coordinates (empty unless both bars show).
    CRect CornerRect();

    static void LoadTheme();
    void ApplyTheme();
    static int s_scrollSize;
    static int s_scrollImageId;
    static int s_minSliderSize;

protected:
    void PreSubclassWindow() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

private:
    BOOL BuildBars();
    void Relayout();

    CWnd* m_child = nullptr;
    CODScrollBarCtrl m_horzBar;
    CODScrollBarCtrl m_vertBar;
    int m_vertWidth = 13;
    int m_horzHeight = 13;
    int m_horzArrow = 13;
    int m_vertArrow = 13;
    int m_lastWidth = -1;
    int m_lastHeight = -1;
    BOOL m_createdByCreate = FALSE;
};
