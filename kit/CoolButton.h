// CoolButton.h - the kit's bitmap-faced buttons.
//
// CCoolButton replaces a dialog's push button: its face is a strip of four
// cells (normal, hover, pressed, disabled), or five whose fifth gives the
// window its shape; optionally drawn see-through over the parent with the
// face's top-left colour as key, and flashing. It plays WAVE resource sounds
// on hover and press (0: none) and posts WM_COMMAND only when the left
// button is released over it. Its window text, when it has one, is drawn
// centred over the face.
//
// CQVBitmapButton2 is an owner-drawn CButton with an image per state or a
// strip of cells (modes 1, 5, 2, 6 below).
#pragma once

#include "QVBitmap.h"

class CCoolButton : public CWnd
{
    DECLARE_DYNAMIC(CCoolButton)
public:
    CCoolButton() = default;
    ~CCoolButton() override;

    // Each attach may first subclass the dialog item (bSubclass) and fails
    // when that fails. Nonzero when the face loaded.
    BOOL AttachFromIni(CWnd* pParent, UINT nId, LPCSTR lpszSection, LPCSTR lpszKey, UINT nHoverSound = 0,
                       UINT nPressSound = 0, BOOL bSubclass = TRUE);
    BOOL AttachFromFile(CWnd* pParent, UINT nId, LPCSTR lpszPath, UINT nHoverSound = 0, UINT nPressSound = 0,
                        BOOL bSubclass = TRUE);
    BOOL AttachFromFileShaped(CWnd* pParent, UINT nId, LPCSTR lpszPath, BOOL bFiveCells, UINT nHoverSound = 0,
                              UINT nPressSound = 0, BOOL bSubclass = TRUE);
    BOOL AttachFromResource(CWnd* pParent, UINT nId, HINSTANCE hModule, UINT nBitmapId, UINT nHoverSound = 0,
                            UINT nPressSound = 0, BOOL bSubclass = TRUE);
    BOOL Attach(CWnd* pParent, UINT nId, LPCSTR lpszPath, BOOL bSubclass = TRUE);
    BOOL AttachTransparent(CWnd* pParent, UINT nId, LPCSTR lpszPath, BOOL bTransparent);

    void SetAlternateFace(HBITMAP hBitmap);
    BOOL LoadAlternateFaceResource(UINT nId);
    BOOL LoadAlternateFaceFile(LPCSTR lpszPath);
    void SetUseAlternate(BOOL bUse);
    // Replaces any running flash timer with a 300 ms one.
    void StartFlash(UINT nTimerId);

    int GetLastDrawnState() const { return m_nLastState; }
    BOOL IsFiveCell() const { return m_bFiveCell; }
    int GetCellWidth() const;
    UINT GetCommandId() const { return m_nCommand; }
    COLORREF GetKeyColour() const { return m_crKey; }
    CQVBitmap& GetFace() { return m_face; }
    // Whether a point (client coordinates of the button) is over the button.
    BOOL IsOver(POINT point) const;

    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

protected:
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnCaptureChanged(CWnd* pWnd);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

private:
    BOOL BeginAttach(CWnd* pParent, UINT nId, BOOL bSubclass);
    BOOL FinishAttach(UINT nId, UINT nHoverSound, UINT nPressSound);
    void UpdateState(POINT point);
    void DrawCell(HDC hdc, int nCell, const RECT& rc);
    void DrawCaption(HDC hdc, const RECT& rc);

    UINT m_nCommand = 0;
    CQVBitmap m_face;
    CQVBitmap m_alternate;
    BOOL m_bUseAlternate = FALSE;
    int m_nLastState = -1;
    UINT m_nHoverSound = 0;
    UINT m_nPressSound = 0;
    BOOL m_bClicking = FALSE;
    BOOL m_bTransparent = FALSE;
    COLORREF m_crKey = 0;
    COLORREF m_crText = RGB(0, 0, 0);   // caption; skinned: "ctrltextcolor"
    BOOL m_bFiveCell = FALSE;
    UINT_PTR m_nFlashTimer = (UINT_PTR)-1;
    int m_nFlashPhase = 1;
};

class CQVBitmapButton2 : public CButton
{
    DECLARE_DYNAMIC(CQVBitmapButton2)
public:
    // Image modes.
    enum : int {
        kModeImages = 1,         // one image per state, drawn whole
        kModeStrip = 2,          // four cells: normal, focus, selected, disabled
        kModeMaskedImages = 5,   // one image per state, its right half the mask
        kModeShapedStrip = 6,    // five cells, the fifth the shape and mask
    };

    CQVBitmapButton2() = default;
    ~CQVBitmapButton2() override;

    BOOL LoadBitmaps(UINT nNormal, UINT nSelected = 0, UINT nFocus = 0, UINT nDisabled = 0);
    BOOL AutoLoad(UINT nId, CWnd* pParent);
    BOOL LoadStrip(UINT nId, LPCSTR lpszPath, CWnd* pParent, UINT nHoverSound = 0, UINT nPressSound = 0,
                   BOOL bSubclass = TRUE, BOOL bShaped = FALSE);
    BOOL LoadStripFromIni(UINT nId, LPCSTR lpszSection, LPCSTR lpszKey, CWnd* pParent, UINT nHoverSound = 0,
                          UINT nPressSound = 0, BOOL bSubclass = TRUE, BOOL bShaped = FALSE);
    BOOL ReloadStrip(BOOL bAlternate, LPCSTR lpszPath);
    void SetAlternateImage(HBITMAP hBitmap);
    BOOL LoadAlternateImageResource(UINT nId);
    BOOL LoadAlternateImageFile(LPCSTR lpszPath);
    BOOL LoadAlternateImageFromIni(LPCSTR lpszSection, LPCSTR lpszKey);
    void SetUseAlternate(BOOL bUse);
    void EnableSounds(BOOL bEnable) { m_bSounds = bEnable; }

    int GetMode() const { return m_nMode; }
    int GetCellWidth() const { return m_nCellWidth; }
    int GetCellHeight() const { return m_nCellHeight; }
    CQVBitmap& GetNormal() { return m_normal; }
    CQVBitmap& GetSelected() { return m_selected; }

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

protected:
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    DECLARE_MESSAGE_MAP()

private:
    BOOL IsOver(POINT point) const;
    void ApplyStripLayout();
    void BuildShape();

    UINT m_nHoverSound = 0;
    UINT m_nPressSound = 0;
    BOOL m_bSounds = TRUE;
    BOOL m_bMaskShaped = FALSE;
    CQVBitmap m_normal;
    CQVBitmap m_selected;
    CQVBitmap m_focus;
    CQVBitmap m_disabled;
    CQVBitmap m_alternate;
    BOOL m_bUseAlternate = FALSE;
    HRGN m_hRegion = NULL;
    BOOL m_bMayTakeFocus = TRUE;
    int m_nMode = kModeImages;
    int m_nCellWidth = 0;
    int m_nCellHeight = 0;
};
