// ODNcMgrWnd.h - CODNcMgrWnd, the common base of the library's scrolling
// hosts (the scroll-bar container, the combo drop-downs, the scroll
// control). It adds a one-pixel frame in the border colour painted in the
// non-client area (only with WS_BORDER and no window region), a redraw
// switch that also freezes the skinned bars of a CSBContainerWnd parent, and
// an optional background image drawn by mode (1 copy, 3 tile, others
// stretch).
//
// Theme section "ODNcMgrWnd": "ColorBorder" (blue). A colour the owner set
// with SetBorderColor stays over a theme change.
#pragma once

#include "afxwin.h"

#include "QVMemBitmap.h"

class CODNcMgrWnd : public CWnd
{
    DECLARE_DYNAMIC(CODNcMgrWnd)
public:
    CODNcMgrWnd();
    ~CODNcMgrWnd() override;

    void SetBorderColor(COLORREF colour, BOOL redraw = TRUE);
    COLORREF GetBorderColor() const { return m_borderColour; }
    BOOL HasCustomBorder() const { return m_customBorder; }
    // Stores the switch, sends WM_SETREDRAW to the window and, inside a
    // CSBContainerWnd, to both of the container's bars; switched on it
    // repaints the window at once.
    virtual void SetRedraw(BOOL redraw = TRUE);
    BOOL IsRedrawOn() const { return m_redraw; }

    // Background image; each returns the loader's result.
    BOOL SetBkImage(HBITMAP bitmap, int mode, BOOL redraw = TRUE);
    BOOL SetBkImageFromResource(UINT id, int mode, BOOL redraw = TRUE);
    BOOL SetBkImageFromTypedResource(UINT id, int mode, LPCSTR type, int typeIndex, WORD language,
                                     BOOL redraw = TRUE);
    BOOL SetBkImageFromFile(LPCSTR path, int mode, BOOL redraw = TRUE);
    void DrawBkImage(CDC* pDC, const RECT* rect);
    BOOL HasBkImage() const { return m_bkImage && m_bkImage->GetBits() != NULL; }

    // Whether the frame is drawn at all: WS_BORDER and no window region.
    BOOL WantsFrame() const;
    // The frame over a DC of the window's whole size.
    void DrawFrame(CDC* pDC);

    static void LoadTheme();
    static COLORREF s_borderColour;

protected:
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnNcPaint();
    DECLARE_MESSAGE_MAP()

    // Takes the class colour again unless the owner chose one, then posts
    // WM_NCPAINT.
    void RefreshBorder();
    void PaintFrameNow();

private:
    BOOL LoadedBitmap(HBITMAP bitmap, int mode, BOOL redraw);

    COLORREF m_borderColour;
    BOOL m_customBorder = FALSE;
    BOOL m_redraw = TRUE;
    CQVDib16* m_bkImage;
    int m_bkMode = 0;
};

// The typed-resource type names of the library ("ODRES_BITMAP", "ODRES_GIF",
// "ODRES_JPEG", "ODRES_PNG") by index; the first for any other index.
LPCSTR ODResourceTypeName(int typeIndex);
