// ODColumnChooser.h - CODColumnListBox, the companion box of a CODListCtrl
// that lists the list's hidden columns. The user drags an entry onto the
// list's header: the header marks the divider nearest the pointer, and on
// the drop the column is shown there (on a list that shows no column, at
// position 0 wherever the drop). The list fills the box and refills it
// whenever the columns it shows change (CODListCtrl::SetColumnChooser).
//
// The box is a drag list (comctl32's MakeDragList): its parent reflects the
// drag notifications to BeginDrag, Dragging, CancelDrag and Dropped, which
// take screen points. It is owner-drawn (LBS_OWNERDRAWFIXED with
// LBS_HASSTRINGS), one button-like face per entry: framed in the list's 3D
// colours with WS_EX_STATICEDGE, a push button without; a fixed column
// (IsColumnFixed) is embossed and cannot be dragged. Each entry holds the
// column's caption as text and the column index as item data.
#pragma once

#include "afxcmn.h"

#include "ODHeaderCtrl.h"

class CODListCtrl;

class CODColumnListBox : public CDragListBox
{
    DECLARE_DYNAMIC(CODColumnListBox)
public:
    CODColumnListBox();
    ~CODColumnListBox() override;

    // Attaches the list (a null list is refused: FALSE) and empties the box.
    // The list lets go of the box when either goes; CODListCtrl::SetColumnChooser
    // attaches it and keeps it filled.
    BOOL SetListCtrl(CODListCtrl* list);
    CODListCtrl* GetListCtrl() const { return m_list; }
    // Empties the box and lists every hidden column IsColumnListed accepts,
    // in column order. FALSE without a list or a window.
    BOOL FillColumns();

    // A derived box leaves columns out of the list, or keeps them in place.
    virtual BOOL IsColumnListed(int column);
    virtual BOOL IsColumnFixed(int column);

    // The drag, with screen points: an entry under the point starts it
    // (not a fixed one); the drag image follows the pointer and the header
    // marks the divider under it; the drop shows the column there.
    BOOL BeginDrag(CPoint point) override;
    UINT Dragging(CPoint point) override;
    void CancelDrag(CPoint point) override;
    void Dropped(int sourceIndex, CPoint point) override;
    void DrawItem(LPDRAWITEMSTRUCT dis) override;

    // The drag image while a drag runs, else null.
    CWnd* DragImage() const { return m_dragWnd; }

protected:
    void PreSubclassWindow() override;
    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

private:
    friend class CODListCtrl;
    enum { kCaptionSize = 80 };
    // The list's header window, null without one.
    CODHeaderCtrl* Header() const;
    // Detaches from the list, ending a drag.
    void LeaveList();
    // Takes the header's divider mark away and destroys the drag image.
    void EndDragLook();
    void AddItemHeight();

    CODListCtrl* m_list = nullptr;
    int m_draggedColumn = -1;
    CRect m_clientRect;
    int m_dragBottom = 0;
    HDITEMA m_dragItem = {};  // what the drag image draws
    char m_caption[kCaptionSize] = {};
    CODFHDragWnd* m_dragWnd = nullptr;
    CRect m_boxRect;
    CRect m_headerRect;
    int m_markedDivider = -1;
    bool m_heightPending = false;  // created, not subclassed: the height after WM_CREATE
};
