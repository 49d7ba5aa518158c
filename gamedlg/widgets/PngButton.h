// CPngButton: the owner-drawn push button of the table window and the game
// dialogs. It shows one cell of a strip image with an alpha channel (cells
// side by side: 0 normal, 1 hover, 2 pressed, 3 disabled), composited over
// a copy of what the table window painted behind it, so that soft edges blend
// into the table.
//
// Hover is the keyboard focus: the button takes the focus (and the mouse
// capture) while the mouse is over its visible pixels, whose bounding box is
// the hit rectangle of the cell drawn last, and gives it away when the mouse
// leaves; entering plays the hover sound once. The image stays the caller's.
#pragma once

#include <afxwin.h>
#include <gdiplus.h>

class CPngButton : public CButton
{
    DECLARE_DYNAMIC(CPngButton)
public:
    CPngButton();
    ~CPngButton() override;

    // Stores the id and the sounds, then sets the image (SetImage's result).
    BOOL Init(UINT nId, Gdiplus::Image* pImage, UINT nHoverSound, int nStateCount, UINT nPressSound);
    // The hover sound; the press sound only replaces one already set.
    void SetSounds(UINT nHoverSound, UINT nPressSound);
    void SetSoundOn(BOOL bOn) { m_bSoundOn = bOn; }
    // Takes the strip and sizes the window to one cell (top-left kept).
    // FALSE, with nothing changed, for no image, an image without size or a
    // state count below 1.
    BOOL SetImage(Gdiplus::Image* pImage, int nStateCount);
    void GetImageInfo(SIZE* pSize) const;
    UINT GetId() const { return m_nId; }
    void PlayClickSound(UINT nSoundId);
    BOOL HitTest(POINT pt) const { return ::PtInRect(&m_rcHit, pt); }
    void Redraw(BOOL bErase = TRUE);
    BOOL ShowWindow(int nCmdShow, BOOL bRemember = FALSE);

    const RECT& GetHitRect() const { return m_rcHit; }
    Gdiplus::Image* GetImage() const { return m_pImage; }

    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;

protected:
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnMove(int x, int y);
    DECLARE_MESSAGE_MAP()

    // Gives the focus away, only when this button holds it.
    void DropFocus();
    // Copies the table's picture under the button into m_hBackground.
    void CaptureBackground();

private:
    RECT m_rcHit;
    Gdiplus::Image* m_pImage;
    int m_nStateCount;
    int m_nCellWidth;
    int m_nCellHeight;
    UINT m_nId;
    UINT m_nHoverSound;
    UINT m_nPressSound;
    BOOL m_bSoundOn;
    BOOL m_bMouseOutside;
    HBITMAP m_hBackground;
};
