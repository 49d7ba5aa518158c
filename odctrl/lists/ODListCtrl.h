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
#include "ODListGeometry.h"
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
    int InsertColumn(int index, const odlist::ColumnInfo& info) { return m_model.InsertColumn(index, info); }
    int ShowColumn(int column, int position) { return m_model.ShowColumn(column, position); }
    int HideColumn(int column) { return m_model.HideColumn(column); }
    int SetColumnWidth(int column, int width) { return m_model.SetColumnWidth(column, width); }
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
    DECLARE_MESSAGE_MAP()

private:
    void SyncHeader();
    int HeaderHeight();
    // Array colours then the bitmap's: a logical palette up to 256 entries,
    // a half-tone palette above; 0 when there are no entries.
    int BuildPalette();

    odlist::ListModel m_model;
    odlist::ListGeometry m_geometry{m_model};
    CODHeaderCtrl m_header;
    CFont m_font;
    bool m_laying = false;
    bool m_syncing = false;
    bool m_creating = false;
    std::vector<COLORREF> m_paletteColors;
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
