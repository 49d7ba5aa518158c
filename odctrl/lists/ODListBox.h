// ODListBox.h - CODListBox, the library's skinned list box: a scroll
// control (CODScrollCtrl) that keeps its own item records (ODListBoxModel.h),
// paints them in the theme's colours with an optional image per item,
// selects by mouse and arrow keys by its list-box style, and reports to its
// parent with WM_COMMAND list-box notifications. It does not wrap the system
// list box; it is also the drop-down list of the combo box.
//
// Notifications (WM_COMMAND, wParam = id | code << 16, lParam = the list's
// window, to GetParent(); only while the notify switch is on):
// LBN_SELCHANGE, LBN_DBLCLK and NotifyItemClicked (1006: an item was
// clicked, just before that click's LBN_SELCHANGE).
//
// The highlighted row is the current (tracked) item, moved by the pointer
// and the arrow keys; the selected bits are what GetCurSel and GetSelItems
// answer. Operations taking an index answer LB_ERR (or do nothing) for an
// index that names no item. Fixed owner-drawn rows (LBS_OWNERDRAWFIXED) are
// as high as MeasureItem says at creation; variable ones are measured again
// whenever the width changes.
//
// Theme section "ODListBox": "ColorNormalBk", "ColorSelBk",
// "ColorNormalText", "ColorSelText", "ColorHotText" (kept, not painted).
// A colour 0xFFFFFFFF is not filled. A theme change takes all five again,
// also over colours an owner set.
#pragma once

#include <memory>

#include "afxcmn.h"

#include "ODListBoxModel.h"
#include "ODScrollCtrl.h"

class CQVDibImageList;

// An item as InsertItem takes it and GetItem gives it. text: the item's
// text (copied on insertion when flags has ODLB_TEXT; from GetItem it stays
// valid until the item changes).
struct ODLBITEM
{
    UINT height;  // with LBS_OWNERDRAWVARIABLE only
    LPCSTR text;
    DWORD data;
    UINT state;      // ODLB_SELECTED
    UINT flags;      // ODLB_TEXT | ODLB_IMAGE
    int image;       // index in the image list, -1 none
    UINT placement;  // ODLB_IMAGE_BESIDE or ODLB_IMAGE_UNDER (text over the image)
};
#ifndef _WIN64
static_assert(sizeof(ODLBITEM) == 28, "seven 32-bit fields in a 32-bit process");
#endif
const UINT ODLB_TEXT = odlistbox::kFlagText;
const UINT ODLB_IMAGE = odlistbox::kFlagImage;
const UINT ODLB_SELECTED = odlistbox::kStateSelected;
const UINT ODLB_IMAGE_BESIDE = odlistbox::kImageBeside;
const UINT ODLB_IMAGE_UNDER = odlistbox::kImageUnder;

class CODListBox : public CODScrollCtrl
{
    DECLARE_DYNCREATE(CODListBox)
public:
    enum
    {
        NotifyItemClicked = 1006,
        LineSize = 14,
        ImageGap = 2,               // between an image and the text beside it
        CurrentItemState = 0x0040,  // DrawItem's state bit of the current item
    };
    static const COLORREF NoFill = 0xFFFFFFFF;

    CODListBox();
    ~CODListBox() override;

    // ---- Items and text ----
    int AddString(LPCSTR text, DWORD data = 0);
    int InsertString(int index, LPCSTR text);
    // count - 1 (the last index, wherever the item went), or -1 when the
    // list cannot grow.
    int InsertItem(int index, const ODLBITEM& item);
    int DeleteString(int index);  // the new count
    void ResetContent();
    int GetCount() const { return odlistbox::Count(m_model); }
    void GetText(int index, CString& text) const;
    void SetItemText(int index, LPCSTR text);
    DWORD GetItemData(int index) const;  // LB_ERR for a bad index
    int SetItemData(int index, DWORD data);
    BOOL GetItem(int index, ODLBITEM& item) const;
    int FindStringExact(int start, LPCSTR text) const;
    // Selects the found item too (other selections stay; nothing is sent).
    int SelectString(int start, LPCSTR text);
    // compare: < 0 when a goes before b; NULL compares texts with lstrcmpA.
    void SortItems(odlistbox::Compare compare = nullptr);

    // ---- Selection ----
    int GetCurSel() const { return odlistbox::CurSel(m_model); }
    // Single-selection styles only; sends LBN_SELCHANGE. The index, or LB_ERR.
    int SetCurSel(int index);
    int SetSel(int index, BOOL on = TRUE);
    int GetSelCount() const { return odlistbox::SelCount(m_model); }
    int GetSelItems(int max, int* indexes) const { return odlistbox::SelItems(m_model, max, indexes); }
    int GetCurrentItem() const { return m_model.current; }
    int GetAnchor() const { return m_model.anchor; }
    // The notify switch; the previous value.
    BOOL SetNotify(BOOL notify);
    BOOL GetNotify() const { return m_notify; }

    // ---- Geometry and scrolling ----
    int GetItemHeight(int index) const;
    int SetItemHeight(int index, int height);
    // Document coordinates; LB_ERR for a bad index.
    int GetItemRect(int index, LPRECT rect) const;
    int GetTopIndex();
    int SetTopIndex(int index);
    void SetHorizontalExtent(int width);
    int GetHorizontalExtent() const { return m_horzExtent; }
    // rect (optional) receives the item's rectangle in document coordinates.
    BOOL IsItemVisible(int index, LPRECT rect, BOOL partial);
    int ItemFromPoint(int x, int y);  // client coordinates
    int GetTextWidth(int index);

    // ---- Look ----
    void SetFont(CFont* font, BOOL redraw = TRUE);
    void GetLogFont(LOGFONT* font) const;
    void SetImageList(CImageList* images);
    // The list's copy of the images (NULL before SetImageList).
    CQVDibImageList* GetDibImageList() const { return m_images.get(); }
    int SetIndent(int pixels);
    COLORREF SetNormalBkColor(COLORREF colour, BOOL redraw = TRUE);
    COLORREF SetSelBkColor(COLORREF colour, BOOL redraw = TRUE);
    COLORREF SetSelTextColor(COLORREF colour, BOOL redraw = TRUE);
    COLORREF SetHotTextColor(COLORREF colour, BOOL redraw = TRUE);
    COLORREF GetNormalBkColor() const { return m_colours[ColNormalBk]; }
    COLORREF GetSelBkColor() const { return m_colours[ColSelBk]; }
    COLORREF GetNormalTextColor() const { return m_colours[ColNormalText]; }
    COLORREF GetSelTextColor() const { return m_colours[ColSelText]; }
    COLORREF GetHotTextColor() const { return m_colours[ColHotText]; }
    static void LoadTheme();
    void ApplyThemeColors();

    // Hooks of the owner-drawn styles (LBS_OWNERDRAWFIXED, VARIABLE).
    virtual void MeasureItem(LPMEASUREITEMSTRUCT measure);
    virtual void DrawItem(LPDRAWITEMSTRUCT draw);

    LPCSTR GetWindowClassName() const override { return "ODListBox"; }
    void OnDraw(CDC* pDC) override;

    // Class colours (the theme's, or the defaults).
    enum
    {
        ColNormalBk,
        ColSelBk,
        ColNormalText,
        ColSelText,
        ColHotText,
        ColCount
    };
    static COLORREF s_colours[ColCount];
    // Seam: the state of Shift and Ctrl (GetAsyncKeyState).
    static SHORT(WINAPI* s_keyState)(int key);

protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT flags, CPoint point);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnKeyDown(UINT key, UINT repeat, UINT flags);
    afx_msg UINT OnGetDlgCode();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    DECLARE_MESSAGE_MAP()

private:
    void Notify(UINT code);
    void SyncStyle() const;
    // The scroll sizes again: the extent (or 0) by the total height.
    void UpdateScrollSizes();
    void MeasureAll();
    int RowRight() const;
    CRect VisibleBand();
    void Repaint(BOOL erase);
    COLORREF SetColour(int index, COLORREF colour, BOOL redraw);

    mutable odlistbox::State m_model;
    int m_horzExtent = 0;
    CSize m_page;
    int m_measuredWidth = -1;
    std::unique_ptr<CQVDibImageList> m_images;
    int m_indent = 0;
    COLORREF m_colours[ColCount];
    LOGFONT m_font;
    BOOL m_notify = TRUE;
};
