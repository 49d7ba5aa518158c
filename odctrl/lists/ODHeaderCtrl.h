// ODHeaderCtrl.h - CODHeaderCtrl, the library's column header: every item is
// drawn by the library (background and left-shadow images, image, text,
// bitmap, sort arrow, divider lines); each column keeps extras
// (ODHeaderItemEx: width limits, fixed width, tooltip text, two owner
// values) that follow inserts and deletes; columns can be fitted to the
// parent's width (auto fit) and resized only within their limits; and
// columns are reordered by dragging, with a drag image window and a drop
// marker of two arrows, the parent told through HDN_BEGINDRAG /
// HDN_ENDDRAG and free to take over or veto.
//
// Theme section "ODHeaderCtrl": "ColorText", "ColorDividerLight",
// "ColorDividerDark", "HeaderImageID", "LeftShadowImageID". A divider colour
// of 0xFFFFFFFF draws no line.
#pragma once

#include "afxcmn.h"

#include <string>
#include <vector>

#include "ODHeaderLayout.h"
#include "QVMemBitmap.h"

struct ODHeaderItemEx
{
    int flags = 0;     // odheader::ItemExFlags
    int minWidth = 0;
    int maxWidth = 0;  // < 1: unlimited
    std::string tooltip;
    int ownerValue = 0;
    int ownerValue2 = 0;
};

class CODHeaderCtrl;

// The column under the pointer while it is dragged: the header's look of
// the item record (which the caller keeps alive), with the header's sort
// arrow when the item is the header's sort column (-1: no header item).
class CODFHDragWnd : public CWnd
{
public:
    BOOL Create(const RECT& screenRect, CODHeaderCtrl* header, int item, HDITEMA* record);

protected:
    void PostNcDestroy() override { delete this; }
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

private:
    CODHeaderCtrl* m_header = nullptr;
    int m_item = -1;
    HDITEMA* m_record = nullptr;
};

// The drop marker: two arrows above and below the header at the drop place.
class CODFHDropWnd : public CWnd
{
public:
    ~CODFHDropWnd() override;
    BOOL Create(int headerHeight, COLORREF colour);
    void SetColor(COLORREF colour);
    void MoveTo(POINT screenPoint);
    int Height() const { return m_height; }

protected:
    void PostNcDestroy() override { delete this; }
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

private:
    COLORREF m_colour = RGB(255, 0, 0);
    HBRUSH m_brush = nullptr;
    int m_height = 0;
};

class CODHeaderCtrl : public CHeaderCtrl
{
    DECLARE_DYNCREATE(CODHeaderCtrl)
public:
    enum
    {
        ToolId = 0xFF37ED5D,
        DropOverHeader = 0,
        DropOverArea = 1,
        DropNotRemovable = 2,
        DropElsewhere = -1,
    };

    CODHeaderCtrl();
    ~CODHeaderCtrl() override;

    // 1 margin, 2 arrow size (width low word, height high word), 3 widen
    // layout, 4 drag cursor id, 5 drop area window, 6 tooltips, 7 auto fit.
    BOOL SetProperty(int index, LPARAM value);
    BOOL GetItemEx(int index, ODHeaderItemEx* ex);
    BOOL InsertItemEx(int index, const ODHeaderItemEx* ex);
    BOOL SetItemEx(int index, const ODHeaderItemEx* ex);
    int GetItemFlags(int index) const;
    BOOL SetItemFlags(int index, int flags);
    int GetItemOwnerValue(int index) const;
    int ExtrasCount() const { return int(m_extras.size()); }
    void SetSortColumn(int column, int direction);
    int GetSortColumn(int* direction = nullptr) const;
    int GetDropZone() const { return m_dropZone; }
    int GetHeight();
    void SetHeight(int height) { m_fixedHeight = height; }
    BOOL IsFitting() const { return m_fitting; }
    BOOL IsAutoFit() const { return m_autoFit; }
    void FitColumns() { FitColumnsFrom(-1); }
    void FitColumnsFrom(int column);
    COLORREF SetTextColor(COLORREF colour, BOOL redraw = TRUE);
    void SetDividerColors(COLORREF dark, COLORREF light, BOOL redraw = TRUE);
    void ShowSortArrow(BOOL show, BOOL redraw = TRUE);
    void SetMarkerColor(COLORREF colour);
    BOOL SetBkImage(HBITMAP bitmap, int mode, BOOL redraw = TRUE);
    BOOL SetLeftShadowImage(HBITMAP bitmap, BOOL deleteBitmap, BOOL redraw = TRUE);
    COLORREF GetBkColor() const { return m_bkColour; }
    COLORREF GetTextColor() const { return m_textColour; }

    // The limits a divider drag of the item may take.
    odheader::DragLimits DividerLimits(int item);
    // Draws the whole header into a DC of its client size (what WM_PAINT copies).
    void PaintTo(CDC* pDC);
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    virtual void DrawItemContent(CDC* pDC, CRect rect, HDITEMA* item, BOOL sortColumn, int direction);
    // The tooltip text of the item under a client point (empty: none).
    std::string TooltipAt(CPoint point);
    int HotDivider() const { return m_hotDivider; }
    BOOL IsColumnDragging() const { return m_columnDragging; }
    CWnd* DropMarker() const { return m_dropMarker; }
    CWnd* DragImage() const { return m_dragImage; }

    static void LoadTheme();
    static COLORREF s_textColour, s_dividerLight, s_dividerDark;
    static int s_headerImageId, s_leftShadowImageId;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;
    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

private:
    friend class CODFHDragWnd;
    void ApplyTheme(int bkMode);
    int MeasureWidth(int index, BOOL withArrow);
    int SetHotDividerValue(int divider);
    LRESULT NotifyParent(UINT code, int button);
    int ItemAt(CPoint point, int* order = nullptr);
    void EndColumnDrag();
    BOOL OnButtonDown(UINT flags, CPoint point);
    void OnButtonUp(CPoint point);
    void OnMove(UINT flags, CPoint point);
    std::vector<int> DisplayOrder();

    BOOL m_doubleBuffer = TRUE;
    int m_margin = 6;
    int m_imageWidth = 0, m_imageHeight = 0;
    int m_arrowWidth = 8, m_arrowHeight = 8;
    BOOL m_widenLayout = FALSE;
    int m_dragCursorId = 0;
    HWND m_dropArea = nullptr;
    CRect m_dropAreaRect;
    int m_dropZone = 0;
    int m_hotItem = -1;
    int m_hotOrder = -1;
    BOOL m_hotResizable = FALSE;
    UINT m_hitFlags = 0;
    HDITEMA m_pressed = {};
    char m_pressedText[80] = {};
    int m_pressedItem = -1;
    int m_pressedOrder = -1;
    BOOL m_autoFit = FALSE;
    BOOL m_fitting = FALSE;
    BOOL m_resizing = FALSE;
    int m_hotDivider = -1;
    COLORREF m_markerColour = RGB(255, 0, 0);
    CODFHDropWnd* m_dropMarker = nullptr;
    BOOL m_buttonHeld = FALSE;
    BOOL m_columnDragging = FALSE;
    CODFHDragWnd* m_dragImage = nullptr;
    CPoint m_buttonPoint;
    int m_sortDirection = 0;
    int m_sortColumn = -1;
    std::vector<ODHeaderItemEx> m_extras;
    COLORREF m_arrowLight = RGB(150, 128, 89);
    COLORREF m_arrowDark = RGB(10, 2, 0);
    COLORREF m_bkColour;
    COLORREF m_textColour;
    COLORREF m_dividerLight;
    COLORREF m_dividerDark;
    LOGFONTA m_font = {};
    int m_fixedHeight = -1;
    CQVDib16 m_bkImage;
    int m_bkMode = 3;
    CQVDib16 m_leftShadow;
    BOOL m_showSortArrow = TRUE;
};
