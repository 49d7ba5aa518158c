// FramedPopupDlg.h - the second dialog base of the kit: a popup framed by
// ten pictures drawn in its non-client area (four corners, four edges, the
// background and a close button of four cells), with its own close button
// and an optional rounded window region; and CPopupButton, the owner-drawn
// push button that goes with it.
#pragma once

#include "PopupLayout.h"

#include "afxwin.h"

class CFramedPopupDlg : public CDialog
{
    DECLARE_DYNAMIC(CFramedPopupDlg)
public:
    // The frame pictures, in the order of their resource ids.
    enum FramePart {
        kTopLeft, kTop, kTopRight, kLeft, kRight, kBottomLeft, kBottom, kBottomRight, kBackground, kCloseButton,
        kFramePartCount
    };

    explicit CFramedPopupDlg(UINT nIDTemplate, CWnd* pParent = NULL);
    ~CFramedPopupDlg() override;

    // Loads the pictures first .. first + 9 of the given resource type from
    // the module (GIF or .bmp data). FALSE, with nothing kept, when one fails.
    BOOL LoadFrame(UINT nFirstId, LPCSTR lpszType, HMODULE hModule);
    void FreeFrame();
    BOOL IsFrameLoaded() const { return m_images[kTopLeft] != NULL; }
    HBITMAP GetFrameImage(int nPart) const;
    SIZE GetFrameSize(int nPart) const;
    kit::PopupFrameMetrics GetMetrics() const;

    // Paints the frame and the caption on the window DC.
    virtual void DrawFrame();

    // A rounded window region with this ellipse; 0 by 0 keeps the window
    // rectangular. Applied at the next size change.
    void SetCornerEllipse(int cx, int cy) { m_nEllipseWidth = cx; m_nEllipseHeight = cy; }
    BOOL IsCloseHover() const { return m_bCloseHover; }
    BOOL IsClosePressed() const { return m_bClosePressed; }

protected:
    BOOL OnInitDialog() override;
    // The pictures and, with bCaption, the window text centred in the top edge.
    void DrawFrameOn(CDC* pDC, BOOL bCaption);
    // The window rectangle moved to (0, 0).
    kit::KRect WindowBox() const;
    void SetCloseHover(BOOL bHover);
    void SetClosePressed(BOOL bPressed);

    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg void OnNcPaint();
    afx_msg BOOL OnNcActivate(BOOL bActive);
    afx_msg UINT OnNcHitTest(CPoint point);
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonUp(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    BOOL OnCloseButton(CPoint screenPoint) const;

    HBITMAP m_images[kFramePartCount] = {};
    SIZE m_sizes[kFramePartCount] = {};
    BOOL m_bCloseHover = FALSE;
    BOOL m_bClosePressed = FALSE;
    int m_nEllipseWidth = 0;
    int m_nEllipseHeight = 0;
    BOOL m_bRounded = TRUE;
    CFont m_captionFont;
};

// An owner-drawn push button: its picture (a strip of four cells: normal,
// hover, pressed, disabled) laid over the face in thirds when the face is
// larger, else stretched; the text centred in the text colour. It takes the
// mouse capture while the pointer is over it to show the hover look.
class CPopupButton : public CButton
{
    DECLARE_DYNAMIC(CPopupButton)
public:
    CPopupButton() = default;
    ~CPopupButton() override;

    // The strip; the button owns it from now on.
    void SetImages(HBITMAP hStrip);
    void SetTextColor(COLORREF cr) { m_crText = cr; }
    void SetSecondColor(COLORREF cr) { m_crSecond = cr; }
    void SetFlat(BOOL bFlat) { m_bFlat = bFlat; }
    COLORREF GetTextColor() const { return m_crText; }
    BOOL IsHover() const { return m_bHover; }
    BOOL IsPressed() const { return m_bPressed; }
    // The strip cell the button draws now.
    int GetCell() const;

protected:
    void PreSubclassWindow() override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnCaptureChanged(CWnd* pWnd);
    DECLARE_MESSAGE_MAP()

private:
    COLORREF m_crText = RGB(255, 0, 0);
    COLORREF m_crSecond = RGB(255, 255, 255);
    BOOL m_bFlat = TRUE;
    BOOL m_bHover = FALSE;
    BOOL m_bPressed = FALSE;
    BOOL m_bCaptured = FALSE;
    HBITMAP m_hImages = NULL;
};
