// ODScrollCtrl.h - CODScrollCtrl, a scrolling child window with a document
// view's scroll arithmetic (a logical total in a mapping mode, page and line
// steps, centring, scale-to-fit, bars shown only when needed, the wheel) and
// a double-buffered, overridable OnDraw; and CODScrollView, a view hosting
// one CODScrollCtrl inside one CSBContainerWnd.
//
// Inside a CSBContainerWnd every bar request goes to the container's
// skinned bars, whose thickness stands outside the control (0 here);
// elsewhere the window's own native bars serve. A thumb drag is read as the
// bar's 32-bit track position, not the 16 bits of the message.
#pragma once

#include "ODNcMgrWnd.h"
#include "ODSBContainerWnd.h"
#include "ODScrollBarCtrl.h"
#include "ODScrollLayout.h"

class CODScrollCtrl : public CODNcMgrWnd
{
    DECLARE_DYNAMIC(CODScrollCtrl)
public:
    enum
    {
        ScaleToFit = -1,
        NoRequest = 0xFF,  // an axis without a scroll request in OnScroll's code
    };
    // CalcWindowRect's kinds of adjustment.
    enum
    {
        AdjustBorder = 0,
        AdjustOutside = 1,
    };

    CODScrollCtrl();
    ~CODScrollCtrl() override;

    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    void SetScrollSizes(int mapMode, SIZE total, SIZE page = SIZE{0, 0}, SIZE line = SIZE{0, 0});
    void SetScaleToFitSize(SIZE total);
    void GetDeviceScrollSizes(int* mapMode, SIZE* total, SIZE* page, SIZE* line) const;
    CSize GetTotalSize() const { return m_totalLog; }
    CPoint GetDeviceScrollPosition();
    CPoint GetScrollPosition();
    void ScrollToPosition(POINT point);
    void ScrollToDevicePosition(int x, int y);
    void CenterOnPoint(POINT point);
    void SetCentre(BOOL centre) { m_centre = centre; }
    void SetScrollWindow(BOOL scroll) { m_scrollWindow = scroll; }
    void EnablePainting(BOOL enable) { m_paintingEnabled = enable; }
    // Fills the client parts right of and below the device total (client
    // coordinates, as in WM_ERASEBKGND).
    void FillOutsideRect(CDC* pDC, CBrush* pBrush);
    // Resizes the parent frame so that the client area (without bars) is the
    // device total; with shrinkOnly an axis is never made larger. Nothing
    // without a parent frame.
    void ResizeParentToFit(BOOL shrinkOnly = TRUE);
    void CalcWindowRect(LPRECT rect, UINT adjustType = AdjustBorder) override;

    // ---- Bars: the container's when the parent is one, else the window's own ----
    CSBContainerWnd* Container() const;
    int GetScrollPos(int bar);
    int SetScrollPos(int bar, int pos, BOOL redraw = TRUE);
    void GetScrollRange(int bar, int* min, int* max);
    void SetScrollRange(int bar, int min, int max, BOOL redraw = TRUE);
    BOOL GetScrollInfo(int bar, SCROLLINFO* info, UINT mask = SIF_ALL);
    BOOL SetScrollInfo(int bar, SCROLLINFO* info, BOOL redraw = TRUE);
    void ShowScrollBar(UINT bar, BOOL show = TRUE);
    BOOL IsBarVisible(int bar);
    int GetScrollLimit(int bar);
    virtual CODScrollBarCtrl* GetScrollBarCtrl(int bar);
    void SetRedraw(BOOL redraw = TRUE) override;
    // Thickness of the bars beside the control: 0 inside a container.
    void GetScrollBarSizes(int* vertWidth, int* horzHeight);

    virtual void OnDraw(CDC* pDC);
    // Draws the contents under the client rectangle `area` into pDC at the
    // same place, double-buffered (what WM_PAINT does for its rectangle).
    void PaintTo(CDC* pDC, const CRect& area);
    virtual LPCSTR GetWindowClassName() const { return "ODScrollCtrl"; }
    virtual CSize GetTenthSize(SIZE size, BOOL horz, BOOL vert);
    // Code: low byte the horizontal request, high byte the vertical one.
    virtual BOOL OnScroll(UINT code, UINT pos, BOOL doScroll = TRUE);
    virtual BOOL OnScrollBy(SIZE by, BOOL doScroll = TRUE);
    void UpdateBars();

    static int s_wheelLines;  // read once from the system; 3 until then

protected:
    afx_msg void OnPaint();
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    DECLARE_MESSAGE_MAP()

private:
    int TrackPos(int bar);
    void UpdateBarsOnce();
    // The client size as if no bar stood beside the control: inside a
    // container the container's client area, else the client area plus the
    // native bars the styles show.
    CSize TrueClientSize();

    BOOL m_paintingEnabled = TRUE;
    BOOL m_scrollWindow = TRUE;
    int m_mapMode = 0;
    CSize m_totalLog;
    CSize m_totalDev;
    CSize m_pageDev;
    CSize m_lineDev;
    BOOL m_centre = FALSE;
    BOOL m_updatingBars = FALSE;
};

class CODScrollView : public CView
{
    DECLARE_DYNCREATE(CODScrollView)
public:
    CODScrollView();
    ~CODScrollView() override;

    virtual CODScrollCtrl* GetScrollCtrl() { return &m_ctrl; }
    CSBContainerWnd& GetContainer() { return m_container; }
    void OnInitialUpdate() override;
    void OnDraw(CDC* pDC) override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

    void SetScrollSizes(int mapMode, SIZE total, SIZE page = SIZE{0, 0}, SIZE line = SIZE{0, 0})
    {
        m_ctrl.SetScrollSizes(mapMode, total, page, line);
    }
    CPoint GetScrollPosition() { return m_ctrl.GetScrollPosition(); }
    CPoint GetDeviceScrollPosition() { return m_ctrl.GetDeviceScrollPosition(); }
    void ScrollToPosition(POINT point) { m_ctrl.ScrollToPosition(point); }

protected:
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnSetFocus(CWnd* pOld);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

private:
    CSBContainerWnd m_container;
    CODScrollCtrl m_ctrl;
    BOOL m_initialised = FALSE;
    DWORD m_ctrlStyle = 0;
};
