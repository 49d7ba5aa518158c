// ODScrollBarCtrl.h - CODScrollBarCtrl, the library's skinned scroll bar.
//
// A window of its own class ("ODScrollBarCtrl") with its own scroll model
// (odscroll::Model: range, page, position, track position), hit testing,
// auto-repeat, hover highlighting and two looks: a classic look from frame
// controls and colours, and a skinned look cut from one image strip. The
// bar never moves its own position on arrow, page or wheel actions: it
// reports them to its parent as WM_HSCROLL / WM_VSCROLL (code in the low
// word, the position - or the track position for SB_THUMBTRACK - in the
// high word) and the parent sets the position back. A parent that needs
// positions beyond 16 bits reads the track position with GetTrackPos.
//
// A pressed arrow or track half steps once at once, then after 430 ms
// (timer 5) every 50 ms (timer 3) while the pointer stays on it. Theme
// section "ScrollBarEx" ("FixedSliderSize", -1 for none).
#pragma once

#include "afxwin.h"

#include "ODScrollModel.h"
#include "QVMemBitmap.h"

class CODScrollBarCtrl : public CWnd
{
public:
    enum
    {
        TimerRepeat = 3,
        TimerFirstDelay = 5,
        TimerBlink = 6,
        FirstDelayMs = 430,
        RepeatMs = 50,
        FocusLostCode = 10,  // WM_COMMAND code sent to the parent on focus loss
    };
    // One drawing request.
    struct DrawRequest
    {
        CDC* pDC;
        RECT rect;
        int part;   // odscroll::DrawPart
        int state;  // odscroll::DrawState bits
    };

    CODScrollBarCtrl();
    ~CODScrollBarCtrl() override;

    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    // ---- Scroll model ----
    void SetScrollRange(int min, int max, BOOL redraw = TRUE);
    void GetScrollRange(int* min, int* max) const;
    void SetPageSize(int page, BOOL redraw = TRUE);
    int GetPageSize() const { return m_model.page; }
    int SetScrollPos(int pos, BOOL redraw = TRUE);
    int GetScrollPos() const;
    int SetTrackPos(int pos, BOOL redraw = TRUE);
    int GetTrackPos() const { return m_model.trackPos; }
    BOOL SetScrollInfo(const SCROLLINFO* info, BOOL redraw = TRUE);
    BOOL GetScrollInfo(SCROLLINFO* info, UINT mask) const;
    int GetScrollLimit() const { return odscroll::Limit(m_model); }
    const odscroll::Model& Model() const { return m_model; }

    // ---- Look ----
    void SetTrackColor(COLORREF colour);
    void SetThumbColor(COLORREF colour);
    void SetHotThumb(COLORREF colour, int value, BOOL hotTracking);
    void SetGripStyle(int style);
    void SetMinThumb(int length) { m_minThumb = length; }
    void SetArrowSize(int size) { m_arrowSize = size; }
    int GetArrowSize() const { return m_arrowSize; }
    void SetFixedThumb(int length);
    void SetOptionFlag(int flag) { m_optionFlag = flag; }
    void SetReservedValue(int value) { m_reserved = value; }
    void EnableBar(BOOL enable);
    void ShowBar(BOOL show);
    BOOL IsShown() const { return m_shown; }
    void EnablePainting(BOOL enable) { m_paintingEnabled = enable; }
    BOOL IsPaintingEnabled() const { return m_paintingEnabled; }
    BOOL EnableArrows(UINT flags);
    BOOL IsHorizontal() const { return m_horizontal == 1; }

    // ---- Image strip ----
    BOOL SetImage(HBITMAP bitmap, BOOL deleteBitmap);
    BOOL SetImageFromResource(UINT id);
    BOOL SetImageFromTypedResource(UINT id, LPCSTR type, int typeIndex, WORD language);
    BOOL SetImageFromFile(LPCSTR path);
    void SetImageCellSizes(int hWidth, int hHeight, int vWidth, int vHeight);
    BOOL HasImage() const { return m_image.GetBits() != NULL && m_image.GetWidth() > 0; }
    const CQVDib16& Image() const { return m_image; }

    // Draws one request (classic or strip look).
    virtual void DrawPart(const DrawRequest& request);
    // Draws the whole bar into a DC of its client size (what WM_PAINT copies).
    void PaintTo(CDC* pDC);

    // ---- Geometry (client coordinates) ----
    odscroll::Geometry Layout(int value) const;
    // The part under a client point.
    int HitTest(CPoint point) const;
    // The rectangle of a span along the bar.
    CRect SpanRect(const odscroll::Span& span) const;
    int PressedPart() const { return m_pressedPart; }
    int HotPart() const { return m_hotPart; }
    BOOL IsDragging() const { return m_thumbDragged; }
    BOOL IsCaptured() const { return m_captured; }

    static void LoadTheme();
    static int s_fixedSliderSize;

protected:
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PreSubclassWindow() override;

    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg void OnTimer(UINT_PTR id);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT hitTest, UINT message);
    afx_msg BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
    afx_msg void OnKeyDown(UINT key, UINT repeat, UINT flags);
    afx_msg UINT OnGetDlgCode();
    afx_msg void OnSetFocus(CWnd* pOld);
    afx_msg void OnKillFocus(CWnd* pNew);
    afx_msg void OnCaptureChanged(CWnd* pWnd);
    DECLARE_MESSAGE_MAP()

private:
    void ApplyTheme();
    void Repaint();
    void Notify(int code);
    void RepeatStep();
    int Along(CPoint point) const { return m_horizontal == 1 ? point.x : point.y; }
    void DrawClassic(const DrawRequest& r);
    void DrawFromStrip(const DrawRequest& r);

    odscroll::Model m_model;
    BOOL m_shown = FALSE;
    int m_minThumb = 8;
    int m_optionFlag = 0;
    COLORREF m_trackColour;
    COLORREF m_thumbColour;
    COLORREF m_hotThumbColour;
    int m_hotValue = 0;
    BOOL m_hotTracking = FALSE;
    BOOL m_trackPressed = FALSE;
    int m_horizontal = -1;
    int m_reserved = 1;
    BOOL m_firstArrowEnabled = TRUE;
    BOOL m_secondArrowEnabled = TRUE;
    BOOL m_firstArrowPressed = FALSE;
    BOOL m_secondArrowPressed = FALSE;
    BOOL m_thumbDragged = FALSE;
    BOOL m_captured = FALSE;
    BOOL m_hoverTracking = FALSE;
    BOOL m_pointerInside = FALSE;
    int m_pressedPart = -1;
    int m_dragOffset = 0;
    CPoint m_lastPoint;     // the pointer's last client position
    int m_gripStyle = 1;
    BOOL m_focus = FALSE;
    BOOL m_blink = TRUE;
    int m_arrowSize = 18;
    int m_hotPart = -1;
    BOOL m_paintingEnabled = TRUE;
    CQVDib16 m_image;
    odscroll::Cells m_cells;
};
