// ODListCtrl.h - CODListCtrl, the library's list window over its data model
// (odlist::ListModel) and geometry (odlist::ListGeometry), and
// CODListView, a view whose client area is one list inside a scroll-bar
// container.
//
// The window registers the class "ODListCtrl", keeps a header child (id 0)
// showing the model's shown columns, tells its parent through WM_NOTIFY
// (codes -2048 - k under the notification mask; item notifications as
// NMODLISTITEM, the virtual fill as NMODLISTDESC, whose descriptor the
// parent fills), lays out on every size change and puts both scroll
// positions on its own bars or, inside a CSBContainerWnd, on the
// container's. Destroying the window deletes every row first, so the parent
// hears -2055 once per row.
#pragma once

#include "afxwin.h"

#include <vector>

#include "ODHeaderCtrl.h"
#include "ODListDrawLogic.h"
#include "ODListInplaceEdit.h"
#include "ODListInput.h"
#include "ODListGeometry.h"
#include "ODListHeaderCtrl.h"
#include "ODListModel.h"
#include "ODSBContainerWnd.h"

struct NMODLISTITEM
{
    NMHDR hdr;
    odlist::NodeHandle node;
    int item;
    int column;
    uint32_t value;
    uint32_t value2;
};

struct NMODLISTDESC
{
    NMHDR hdr;
    odlist::ODLVITEM item;
};

// Codes of the painting and input notifications.
enum ODListNotifyCode : int {
    kNotifyDrawExtra = -2048,     // NMODLISTEXTRA: a row's extra area
    kNotifyDrawCell = -2063,      // NMODLISTDRAWCELL: the parent draws the cell
    kNotifyFocusLost = -2067,     // NMODLISTITEM, value: the window getting the focus
    kNotifyClick = -2049,         // NMODLISTMOUSE, after the selection changed
    kNotifyDoubleClick = -2050,   // NMODLISTMOUSE
    kNotifyHeaderClick = -2053,   // NMODLISTITEM: column
    kNotifyColumnChanged = -2054, // NMODLISTITEM: row -2, column
    kNotifyKey = -2059,           // NMODLISTKEY
    kNotifyDividerDblClick = -2060,  // NMODLISTITEM: column
    kNotifyRightClick = -2061,    // NMODLISTMOUSE
    kNotifyExpanderClick = -2064, // NMODLISTITEM: row, column; non-zero keeps the node as it is
    kNotifyToggled = -2065,       // NMODLISTITEM: row
    kNotifyHeaderRightClick = -2066,  // NMODLISTITEM: column = the header item hit (-1 none); non-zero takes it over
};

// Mouse notifications: the point in client coordinates and the key flags.
struct NMODLISTMOUSE
{
    NMHDR hdr;
    POINT point;
    UINT flags;
};

// -2059: a key pressed over the list.
struct NMODLISTKEY
{
    NMHDR hdr;
    int key;
    int row;
    int column;
    uint32_t data;
};

// What OnCellHover gets: the cell's text part, its text and the fonts.
struct ODListHover
{
    RECT rect;
    std::string text;
    HFONT font;
    HFONT boldFont;
};

// -2048: the part of a row below its normal height.
struct NMODLISTEXTRA
{
    NMHDR hdr;
    int item;
    HDC dc;
    RECT rect;
};

// -2063: a cell the parent draws.
struct NMODLISTDRAWCELL
{
    NMHDR hdr;
    odlist::ODLVITEM item;
    HDC dc;
    RECT rect;
};

// A hollow rectangle in a pen of that style, width and colour; nothing for
// PS_NULL or colour -1.
void DrawStyledRect(CDC* pDC, const RECT& rect, int penStyle, COLORREF colour, int width);

class CODColumnListBox;

class CODListCtrl : public CWnd, protected odlist::ListHost
{
    DECLARE_DYNAMIC(CODListCtrl)
public:
    CODListCtrl();
    ~CODListCtrl() override;

    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    // The initialiser: properties, the header, the font, the style word,
    // the first layout. 0 when the header cannot be made.
    virtual BOOL Initialise();

    odlist::ListModel& Model() { return m_model; }
    odlist::ListGeometry& Geometry() { return m_geometry; }
    CODHeaderCtrl* GetHeaderCtrl() { return m_header.m_hWnd ? &m_header : nullptr; }

    // ---- Items and columns (the model's, with the window kept in step) ----
    int InsertItem(const char* text, int image = -1, int stateImage = -1, int value2 = -1)
    {
        return m_model.InsertItem(text, image, stateImage, value2);
    }
    int DeleteItem(int item) { return m_model.DeleteItem(item); }
    int DeleteAllItems() { return m_model.DeleteAllItems(); }
    int GetItemCount() const { return m_model.GetItemCount(); }
    int SetItemText(int item, int column, const char* text) { return m_model.SetItemText(item, column, text); }
    std::string GetItemText(int item, int column) { return m_model.GetItemText(item, column); }
    // Column changes refill a linked column chooser; refreshChooser FALSE
    // leaves it to a FillColumns after a run of changes.
    int InsertColumn(int index, const odlist::ColumnInfo& info, BOOL refreshChooser = TRUE);
    int SetColumn(int index, const odlist::ColumnInfo& info, BOOL refreshChooser = TRUE);
    int DeleteColumn(int index);
    void DeleteAllColumns();
    int ShowColumn(int column, int position) { return m_model.ShowColumn(column, position); }
    int HideColumn(int column) { return m_model.HideColumn(column); }
    int SetColumnWidth(int column, int width) { return m_model.SetColumnWidth(column, width); }
    // Links the column chooser (null: none; both windows made first): it
    // lists the hidden columns and is refilled whenever the shown ones
    // change, and the header takes it as the area a column is dragged out to.
    void SetColumnChooser(CODColumnListBox* chooser);
    CODColumnListBox* GetColumnChooser() const { return m_chooser; }
    // The column layout in the application's profile; 0 without one.
    BOOL SaveColumnState(LPCSTR section, LPCSTR entry);
    int LoadColumnState(LPCSTR section, LPCSTR entry);
    int SetOption(int option, intptr_t value);
    int SetRowHeight(int height);
    // Both image lists (either may be null); 0 when a list has no image 0.
    BOOL SetImageList(HIMAGELIST small, HIMAGELIST state);

    // (character height + external leading) x lines in the font; -1
    // without a device context.
    int GetTextHeight(HFONT font, int lines);
    // The height of the text word-wrapped in `rect`, or without one as wide
    // as the shown columns; -1 without a device context.
    int MeasureText(HFONT font, LPCSTR text, const RECT* rect);
    // The width a cell needs (padding, images, text); column -1: the default
    // column width and the row height.
    int GetItemWidth(int item, int column, RECT* rect, BOOL textOnly);

    // The user's wheel setting ("WheelScrollLines" of "Control Panel\Desktop"
    // in HKEY_CURRENT_USER); 3 when it cannot be read.
    virtual int GetWheelScrollLines();

    // ---- Background bitmap and palette ----
    // Keeps the bitmap's size and colours (the bitmap is deleted); the
    // palette's result, 0 without bitmap.
    int SetBkImage(HBITMAP bitmap);
    int InsertPaletteColor(int index, COLORREF colour);
    int RemovePaletteColor(int index);
    void ClearPalette();
    COLORREF GetPaletteColor(int index) const;
    HPALETTE GetPalette() const { return m_palette; }

    // The selected rows in display order, as text lines, onto the clipboard
    // (CF_TEXT). FALSE when the clipboard cannot be had or nothing fits.
    BOOL CopySelectionToClipboard();

    // ---- Scrolling ----
    static BOOL IsSBContainer(CWnd* wnd);
    BOOL SetScrollInfo(int bar, SCROLLINFO* info, BOOL redraw = TRUE);
    BOOL GetScrollInfo(int bar, SCROLLINFO* info, UINT mask = SIF_ALL);
    void ShowScrollBar(UINT bar, BOOL show = TRUE);
    void Layout(int width, int height);
    // Puts range, page and position on a bar (0 horizontal, 1 vertical).
    void SetScrollPosition(int bar, int pos);
    int EnsureVisible(int item, BOOL partialOk);
    // Expands every ancestor of the node, then brings its row into view.
    int EnsureNodeVisible(odlist::NodeHandle node, BOOL partialOk);

    // The window style and the list's style word together: bit 0x0010
    // adds or takes back the row height's extra pixel, removing 0x1000
    // clears the focus column; then the list lays itself out again.
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);

    // ---- Theme and painting (ODListCtrlPaint.cpp) ----
    // Reads the section "ODListCtrl" into the class values (each key with
    // the current value as default).
    static void LoadTheme();
    // The class colours into this list, the theme's background and edge
    // images; repaints.
    void ApplyTheme();
    // Copies of the three edge images (NULL: none); with deleteBitmaps the
    // handles passed are deleted afterwards, each once.
    void SetBkImages(BOOL deleteBitmaps, HBITMAP topLeft, HBITMAP left, HBITMAP top);
    // The background image by resource name from the library's resource
    // module; 0 when it cannot be loaded.
    int SetBkImage(LPCSTR resourceName);
    // Index 1..8: background, background selected, selected without focus,
    // text, text selected, text selected without focus, grid, tree lines.
    // The old colour; another index returns itself and changes nothing.
    COLORREF SetColor(int index, COLORREF colour, BOOL redraw = TRUE);
    COLORREF GetColor(int index) const;
    void SetFocusRectStyle(COLORREF colour, int penStyle);
    void SetTreeLines(BOOL on);
    void SetDoubleBuffer(BOOL on) { m_doubleBuffer = on; }
    BOOL HasFocus() const { return m_hasFocus; }
    // WM_SETREDRAW with the flag kept; switched on: both scroll positions
    // again and a repaint.
    void SetRedraw(BOOL redraw = TRUE);
    // A bar's position (0 horizontal, 1 vertical), its tracking position
    // while tracking; at most the total width / row count; 0 unreadable.
    int GetScrollPosition(int bar, BOOL tracking);

    // The whole paint into a DC whose clip box says what to draw.
    virtual void DrawItems(CDC* pDC);
    virtual void DrawRow(CDC* pDC, const RECT& rowRect, const RECT& clip, int displayRow, odlist::ODLVITEM* item,
                         BOOL odd);
    virtual void DrawCell(CDC* pDC, const RECT& cellRect, odlist::ODLVITEM* item);
    virtual int DrawCellImage(CDC* pDC, const RECT& cellRect, odlist::ODLVITEM* item);
    virtual int DrawCellStateImage(CDC* pDC, const RECT& cellRect, odlist::ODLVITEM* item);
    virtual int DrawCellText(CDC* pDC, const RECT& cellRect, odlist::ODLVITEM* item);
    virtual int DrawExpander(CDC* pDC, const RECT& rect, BOOL expanded);
    virtual BOOL DrawBackground(CDC* pDC, const RECT& rect, COLORREF colour);

    // Cell geometry with rows counted from display row 0 (not the scroll
    // position); parts as odlist::CellPart. 0 on failure.
    int GetContentCellRect(int displayRow, int position, RECT* rect, int part);
    int GetContentItemRect(int item, int column, RECT* rect, int part);
    int GetCellFitWidth(int item, int column, RECT* rect, BOOL textPart);
    void SizeColumnToFit(int column);

    // ---- In-place editing (ODListInplaceEdit.cpp) ----
    // Opens an editor on a display row (-1 the band's pseudo-row) and header
    // position; key: 1 a click, else the key or character that started it.
    // 1 when an editor is open.
    virtual BOOL BeginEdit(int row, int position, int key);
    // Closes the open editor; with commit the record's text (or the
    // editor's) becomes the cell's.
    virtual void EndEdit(BOOL commit, NMODLISTEDIT* record);
    HWND GetEditor() const { return m_editor; }

    // ---- Small setters (ODListCtrlExtras.cpp) ----
    // The state bits of an item's display row, the selection list kept in
    // step with bit 2; 0 for an item not on display.
    int SetItemSelected(int item, uint32_t value, uint32_t mask);
    // The state word of an item, read through its display row (0 when it is
    // not on display).
    uint32_t QueryItemState(int item);
    // Lets the user drag the header's columns to new places (HDS_DRAGDROP).
    void EnableHeaderDragDrop(BOOL on);
    // The colour the selection and focus blends of the row images use
    // (default COLOR_HIGHLIGHT).
    void SetImageBlendColor(COLORREF colour);

    static odlist::ListColours s_colours;
    static int s_bkImageId, s_topLeftImageId, s_topImageId, s_leftImageId;

protected:
    // ListHost: what the model asks of the window.
    intptr_t Notify(odlist::Notification& n) override;
    void InvalidateRows(int first, int last) override;
    void KeepInView(int displayRow) override;
    void RowDeleted(int displayRow) override;
    void ScrollToTop() override;
    void RowCountChanged() override;
    void ColumnsChanged() override;

    void PreSubclassWindow() override;
    afx_msg void OnDestroy();
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnVScroll(UINT code, UINT pos, CScrollBar* bar);
    afx_msg void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
    afx_msg BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
    // Painting's messages.
    afx_msg LRESULT OnSetFontMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnThemeChange(WPARAM wParam, LPARAM lParam);
    afx_msg void OnSetFocus(CWnd* pOld);
    afx_msg void OnKillFocus(CWnd* pNew);
    afx_msg void OnNcCalcSize(BOOL calcValidRects, NCCALCSIZE_PARAMS* params);
    afx_msg void OnNcPaint();
    afx_msg BOOL OnQueryNewPalette();
    afx_msg void OnPaletteChanged(CWnd* pFocusWnd);
    afx_msg void OnSettingChange(UINT flags, LPCTSTR section);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT hitTest, UINT message);
    // Input's messages (ODListCtrlInput.cpp).
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT flags, CPoint point);
    afx_msg void OnRButtonDown(UINT flags, CPoint point);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnKeyDown(UINT key, UINT repeat, UINT flags);
    afx_msg void OnChar(UINT ch, UINT repeat, UINT flags);
    afx_msg UINT OnGetDlgCode();
    afx_msg void OnWindowPosChanging(WINDOWPOS* pos);
    afx_msg void OnHeaderItemChanged(NMHDR* hdr, LRESULT* result);
    afx_msg void OnHeaderItemClick(NMHDR* hdr, LRESULT* result);
    afx_msg void OnHeaderBeginDrag(NMHDR* hdr, LRESULT* result);
    afx_msg void OnHeaderEndDrag(NMHDR* hdr, LRESULT* result);
    afx_msg void OnHeaderDividerDblClick(NMHDR* hdr, LRESULT* result);
    afx_msg void OnEditorEnded(UINT id, NMHDR* hdr, LRESULT* result);
    // What other code asks as of the platform's list view (ODListCtrlExtras.cpp).
    afx_msg LRESULT OnFindItemA(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetItemTextA(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetItemTextA(WPARAM wParam, LPARAM lParam);
    // A derived list may show a tip for the cell under the pointer.
    virtual void OnCellHover(const ODListHover& hover);
    DECLARE_MESSAGE_MAP()

private:
    void SyncHeader();
    int HeaderHeight();
    // Array colours then the bitmap's: a logical palette up to 256 entries,
    // a half-tone palette above; 0 when there are no entries.
    int BuildPalette();

    // Sends a record (its header filled here) to the parent when the
    // notification mask lets the code through; the parent's answer.
    LRESULT NotifyParent(int code, NMHDR* record);
    friend class CODListInPlaceEdit;
    friend class CODColumnListBox;
    // Refills the chooser; unless always, only when the columns shown or
    // their count changed since its last fill.
    void RefreshChooser(bool always);
    void ReleaseBoxes();
    CODColumnListBox* m_chooser = nullptr;
    std::vector<int> m_chooserKey;
    std::vector<CODColumnListBox*> m_boxes;  // every box attached to this list
    friend class CODListHeaderCtrl;
    friend class CODListTipCtrl;  // shows a cell's text in the rows' font
    // -2066 for the header item under a right click; the parent's answer.
    LRESULT NotifyHeaderRightClick(int headerItem);
    LRESULT NotifyMouse(int code, UINT flags, CPoint point);
    odlist::ODHitTestInfo HitAt(CPoint point);
    // Expands or collapses the node hit and tells the parent (-2065).
    void ToggleNode(const odlist::ODHitTestInfo& hit);
    // Range, page and position onto the window's own bar, redrawn only
    // when what it shows changed.
    void SetOwnBar(int bar, SCROLLINFO* info);
    // Whether the rows' pixels may be moved instead of painted again.
    bool CanShiftRows();
    // Both positions onto the bars (after input moved them).
    void ApplyPositions();
    // Ends an open editor keeping its text.
    void EndOpenEdit();
    // The header's order after a drag, read at the next paint.
    void ReadHeaderOrder();
    odlist::InputState m_input;
    bool m_orderPending = false;
    int m_editItem = -2, m_editColumn = -1;
    // Painting's state.
    void DrawFocusRect(CDC* pDC, const RECT& rect, COLORREF background, bool grid);
    void DrawTreeLines(CDC* pDC);
    HBITMAP CopyBitmap(HBITMAP source);
    void FreeImages();
    HFONT RowFont(bool bold);
    odlist::RowLookInput LookInput(int displayRow, const odlist::ODLVITEM& item);
    odlist::ListColours m_colours = s_colours;
    HBITMAP m_bkImage = NULL;
    HBITMAP m_edges[3] = {};  // top-left, left, top
    CFont m_normalFont, m_boldFont;
    BOOL m_doubleBuffer = TRUE;
    BOOL m_hasFocus = FALSE;
    BOOL m_redraw = TRUE;
    BOOL m_treeLines = FALSE;
    COLORREF m_focusColour = 0;
    int m_focusPen = PS_DOT;
    HWND m_editor = NULL;  // the open in-place editor
    COLORREF m_paintText = 0;  // the text colour DrawCellText uses
    int m_paintBandLeft = 0;
    int m_wheelLines = 3;
    HIMAGELIST m_smallImages = NULL, m_stateImages = NULL;
    COLORREF m_blendColour = ::GetSysColor(COLOR_HIGHLIGHT);
    odlist::ListModel m_model;
    odlist::ListGeometry m_geometry{m_model};
    CODListHeaderCtrl m_header;
    CFont m_font;
    bool m_laying = false;
    bool m_syncing = false;
    bool m_creating = false;
    std::vector<odlist::Colour> m_paletteColors;
    std::vector<RGBQUAD> m_bkColors;
    int m_bkColorCount = 0;  // entries the bitmap brings (above 256: half-tone)
    int m_bkWidth = 0, m_bkHeight = 0;
    HPALETTE m_palette = NULL;
};

class CODListView : public CView
{
    DECLARE_DYNCREATE(CODListView)
public:
    CODListView();
    ~CODListView() override;

    virtual CODListCtrl* GetListCtrlPtr() { return &m_list; }
    CODListCtrl& GetListCtrl() { return m_list; }
    CSBContainerWnd& GetContainer() { return m_container; }
    BOOL IsInitialised() const { return m_initialised; }
    void OnInitialUpdate() override;
    void OnDraw(CDC* pDC) override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

protected:
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnSetFocus(CWnd* pOld);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

private:
    BOOL m_initialised = FALSE;
    CSBContainerWnd m_container;
    CODListCtrl m_list;
    DWORD m_listStyle = 0;
};
