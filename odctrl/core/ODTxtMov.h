// ODTxtMov.h - CODTxtMov ("ODTxtMov" in the theme), the library's rich,
// optionally moving text: rows of cells, each cell a piece of text that may
// be a link with its own colours, tooltip and font. Rows can run sideways on
// their own (a marquee per row) and the whole block can run up or down; the
// text repeats so it runs on without end. The content comes from plain lines
// (SetText) or from the row-and-cell mark-up (SetMarkup); both readers and
// the marquee arithmetic are in ODTxtMovModel.h.
//
// The owner window paints it (Draw with its DC and the text's rectangle),
// forwards the mouse (SetMousePos) for link hover, asks for the link under
// the mouse on a click (GetFocusedLink) and calls OnTick on its WM_TIMER with
// the text's timer id. An owner without a window is served by a worker
// thread, which is stopped and joined, never killed; the content is guarded
// by a lock that the worker's ticks and the painting share.
//
// Colours by index: 0 normal text, 1 hovered text, 2 link, 3 hovered link,
// 4 visited link. Their class defaults come from the theme section
// "ODTxtMov" (LoadTxtMovColors); a colour set on an object stays its own.
#pragma once

#include "afxwin.h"

#include <mutex>
#include <vector>

#include "ODTicker.h"
#include "ODTxtMovModel.h"

class CODTxtMov
{
public:
    enum
    {
        ColorNormal = 0,
        ColorFocus = 1,
        ColorLink = 2,
        ColorLinkFocus = 3,
        ColorVisited = 4,
        ColorCount = 5,
    };

    struct RowInfo
    {
        int pos;        // empty space above the row
        float speed;    // pixels per tick sideways
        int maxOffset;  // extra distance before the row's copy
        int align;      // 0 left, 1 centre, 2 right
    };
    struct CellInfo
    {
        CString text;
        CString href;
        CString tooltip;
        int pos;                 // empty space left of the cell
        COLORREF textColor;      // -1: the object's colours
        COLORREF focusColor;
        COLORREF visitedColor;
        const LOGFONT* font;     // NULL: the object's font (GetCell: NULL when the cell has none)
    };

    CODTxtMov();  // font: -14, GB2312, "宋体"
    CODTxtMov(CWnd* pOwner, UINT nTimerId, BOOL bClientArea);  // font: 12, "宋体"
    virtual ~CODTxtMov();
    CODTxtMov(const CODTxtMov&) = delete;
    CODTxtMov& operator=(const CODTxtMov&) = delete;

    void SetOwner(CWnd* pOwner, UINT nTimerId, BOOL bClientArea);

    // ---- Content ----
    void SetText(LPCSTR text);
    void SetMarkup(LPCSTR text);
    void GetPlainText(CString& out) const;
    int GetRowCount() const;
    int GetCellCount(int row) const;
    BOOL SetRowInfo(int row, const RowInfo& info);
    BOOL GetRowInfo(int row, RowInfo* info) const;
    // Bad indexes do nothing (FALSE). Setting a cell makes it a link when
    // its href is not empty.
    BOOL SetCell(int row, int cell, const CellInfo& info);
    BOOL GetCell(int row, int cell, CellInfo* info) const;
    // One cell's text only.
    BOOL GetCellText(int row, int cell, CString& out) const;
    BOOL SetCellText(int row, int cell, LPCSTR text);

    // ---- Look ----
    // The old colour; -1 and nothing changed for an index outside 0..4.
    COLORREF SetColor(COLORREF colour, int index);
    COLORREF GetColor(int index) const;
    virtual void ApplyDefaultColors();
    void SetFont(const LOGFONT* font);  // ignored when NULL
    void GetFont(LOGFONT* font) const;
    void SetTextFont(const LOGFONT* font) { SetFont(font); }
    void GetTextFont(LOGFONT* font) const { GetFont(font); }
    int SetDefaultPos(int pos);
    int GetDefaultPos() const { return m_nDefaultPos; }
    // The default alignment and that of every row; the old default.
    int SetAlign(int align);
    int GetAlign() const { return m_nDefaultAlign; }
    int SetVertAlign(int align);
    int GetVertAlign() const { return m_nVertAlign; }
    int SetVertGap(int gap);
    int GetVertGap() const { return m_nVertGap; }
    float SetVertStep(float step);
    float GetVertStep() const { return m_fVertStep; }
    BOOL SetUseOwnerTimer(BOOL use);
    BOOL GetUseOwnerTimer() const { return m_bUseOwnerTimer; }
    // 0 (and below) changes nothing; a running mover restarts with the new
    // period. The old interval.
    int SetInterval(int ms);
    int GetInterval() const { return m_nInterval; }

    // ---- Layout, mouse, movement ----
    // (widest row, total height) of the last layout.
    CSize GetExtent() const;
    // Lays the text out on the DC and gives its extent.
    void Measure(SIZE* size, CDC* pDC);
    // Stores the mouse (in the owner's coordinates), forgets the hovered
    // cell and repaints; the next paint finds the cell under the mouse.
    void SetMousePos(BOOL inside, CPoint point);
    // The pointer for hit testing: kind 1 inside the text at point, any
    // other kind outside (SetMousePos).
    void SetArea(int kind, CPoint point) { SetMousePos(kind == 1, point); }
    // With the mouse over a cell: its tooltip (which 2), link (1) or text
    // (anything else) and 1; else 0.
    BOOL GetFocusedLink(CString& out, int which) const;
    // The hovered link cell becomes visited.
    void MarkVisited();
    BOOL EnableMoving(BOOL on);
    BOOL IsMoving() const { return m_bMoving; }
    // The object that moves the text (an owner stops it with EnableMoving),
    // NULL while the text does not move.
    CODTxtMov* GetMover() { return m_bMoving ? this : NULL; }
    void ResetPositions();

    // Draws the text into the rectangle; with a NULL DC, invalidates the
    // rows at their places in the last rectangle instead.
    virtual void Draw(CDC* pDC, const RECT& rect);
    // One tick of the movement (from the owner's WM_TIMER).
    virtual void OnTick();
    virtual BOOL StartMover(BOOL start);
    virtual void Invalidate(const RECT& rect, BOOL erase);
    virtual void Update();

    // The class defaults of the five colours.
    static COLORREF GetDefaultColor(int index);
    static void SetDefaultColor(int index, COLORREF colour);

protected:
    void Init(CWnd* pOwner, UINT nTimerId, BOOL bClientArea);
    void ReplaceRows(odtxt::Rows rows);
    bool OwnerTimerUsable() const;
    bool OwnerWindow() const;
    void Tick();
    static DWORD TickerStep(void* self);
    // Per row widths and heights on the DC.
    void Layout(HDC dc);
    HFONT CellFont(const odtxt::Cell& cell, bool& owned);
    void ForgetFonts();
    void DrawBlock(HDC dc, const CRect& r, int y, std::vector<CRect>& invalid);
    void DrawRow(HDC dc, const CRect& r, size_t row, int x, int y, std::vector<CRect>& invalid);
    COLORREF CellColour(const odtxt::Cell& cell) const;

    COLORREF m_colours[ColorCount];
    BOOL m_colourSet[ColorCount];
    LOGFONT m_font;
    int m_nDefaultPos;
    int m_nDefaultAlign;
    int m_nVertAlign;
    int m_nVertGap;
    float m_fVertStep;
    int m_nInterval;
    CWnd* m_pOwner;
    BOOL m_bUseOwnerTimer;
    BOOL m_bClientArea;
    UINT m_nTimerId;
    int m_nFocusRow, m_nFocusCell;
    BOOL m_bMouseInside;
    CPoint m_ptMouse;
    BOOL m_bMoving;
    BOOL m_bTimerStarted;
    CRect m_rect;
    std::vector<int> m_rowWidths;
    std::vector<int> m_rowHeights;
    int m_nTotalHeight;
    float m_fBlockPos;
    std::vector<float> m_rowOffsets;
    odtxt::Rows m_rows;
    std::vector<LOGFONT> m_cellFonts;  // fonts of cells set by SetCell
    HFONT m_hFont[2];                  // the object's font, plain and underlined
    CODTicker m_ticker;
    mutable std::recursive_mutex m_lock;
};

// Reads the class defaults of the moving text's colours from the theme
// section "ODTxtMov" (the current defaults stand for missing keys).
void LoadTxtMovColors();
