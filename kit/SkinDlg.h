// SkinDlg.h - the kit's skinned dialog base. A CSkinDlg given a skin
// section (SetSkinSection before creation) removes the system frame and
// draws its background as a nine-grid, an optional shaped frame, its title
// and caption buttons from the dialog skin ini; it resizes by its own hit
// zones and hides or shows itself on the lobby's WM_COPYDATA notice. With no
// section every handler falls back to the plain dialog's behaviour.
//
// Keys (own section "QVDLG_<name>", then "QVDLG", then the default):
// "backgrdbmp" ("dialogBK.jpg"), "backgrdbmpNA" ("dialogBKNA.jpg"),
// "AnomalyFrame" (1), "Resize" (own section only, 0), "usetitlemax" (0),
// "ctrlcolor" (0x808080), "ctrltextcolor" (0xFFFFFF), "BorderWidth" (4),
// "CaptionHeight" (20), "titlealign" (1), "title", "titlefont" (string
// 29931), "titlecolor" (0xFFFFFF), "titlemax", "titlerestore" ("QVDLG"
// only), "titleclose" (required), "SysBtnRight" (6), "SysBtnTop" (3).
#pragma once

#include "QVBitmap.h"
#include "SkinLayout.h"

// Commands of the caption buttons.
const UINT ID_SKIN_CLOSE = 29735;       // posts WM_CLOSE
const UINT ID_SKIN_MAXIMIZE = 29754;    // toggles maximise / restore
// The user data of every skinned dialog window: others recognise them by it.
const LONG_PTR kSkinDlgUserData = 10011;
// The lobby's hide/show notice: WM_COPYDATA with dwData 0xEBEBEB00 + 0 (hide) or 1 (show).
const ULONG_PTR kLobbyNoticeBase = 0xEBEBEB00;
const UINT kTitleFontStringId = 29931;

// Caption buttons of one window: strips of four cells (normal, hover,
// pressed, fourth), at most 15, placed in a row.
class CSkinImageSet : public CObject
{
public:
    static const int kMaxButtons = 15;

    CSkinImageSet() = default;
    CSkinImageSet(const CSkinImageSet&) = delete;
    CSkinImageSet& operator=(const CSkinImageSet&) = delete;

    void SetOwner(CWnd* pOwner) { m_pOwner = pOwner; }
    // The image from the section's key, then "QVDLG". FALSE when 15 exist or
    // no image loads. The two further values are not used.
    BOOL AddButton(UINT nCommand, LPCSTR lpszSection, LPCSTR lpszKey, CWnd* pOwner, int nUnused1, int nUnused2,
                   int nHitCode);
    // The same with the image given (tests, derived windows).
    BOOL AddButtonImage(UINT nCommand, HBITMAP hImage, int nHitCode);
    void GetBarRect(RECT* pRect) const;
    void PlaceButtons(int x, int y);
    int HitTest(POINT point) const;
    int FindButton(UINT nCommand) const;
    void OnButtonDown(POINT point);
    void OnButtonUp(POINT point);
    void OnMouseMove(POINT point);
    void ReleasePress() { m_bPressed = FALSE; }
    int GetState(int nIndex) const;
    void SetState(int nState, int nIndex);
    void ShowButton(int nCmdShow, int nIndex);
    void SetAlternate(BOOL bAlternate, int nIndex);
    BOOL SetImage(int nIndex, HBITMAP hImage);
    BOOL LoadImage(int nIndex, LPCSTR lpszPath);
    BOOL LoadAlternateFromValue(int nIndex, const CString& value);
    void ExcludeButtons(CDC* pDC);
    void DrawButtons(CDC* pDC);
    int GetCount() const { return m_nCount; }
    RECT GetButtonRect(int nIndex) const;
    BOOL IsAlternate(int nIndex) const;

private:
    struct Button
    {
        UINT nCommand = 0;
        CQVBitmap image;
        BOOL bAlternate = FALSE;
        CQVBitmap alternate;
        RECT rect = {0, 0, 0, 0};
        BOOL bVisible = TRUE;
        int nState = 0;
        int nHitCode = kit::kNoButtonHit;
    };
    void Repaint(int nIndex);
    BOOL Valid(int nIndex) const { return nIndex >= 0 && nIndex < m_nCount; }

    int m_nSpacing = kit::kCaptionButtonSpacing;
    CWnd* m_pOwner = nullptr;
    BOOL m_bPressed = FALSE;
    int m_nCount = 0;
    Button m_buttons[kMaxButtons];
    int m_nSavedDC = -1;
};

class CSkinDlg : public CDialog
{
    DECLARE_DYNAMIC(CSkinDlg)
public:
    CSkinDlg();
    explicit CSkinDlg(UINT nIDTemplate, CWnd* pParent = NULL);
    ~CSkinDlg() override;

    void SetSkinSection(LPCSTR lpszName);
    LPCSTR GetSkinSection() const { return m_strSection; }
    BOOL IsSkinned() const { return !m_strSection.IsEmpty(); }
    INT_PTR DoModal() override;
    void GetInnerClientRect(RECT* pRect) const;
    void SetShowCaption(BOOL bShow) { m_bShowCaption = bShow; }
    BOOL GetShowCaption() const { return m_bShowCaption; }
    void DrawGroupFrame(CDC* pDC, UINT nItemId, COLORREF crText, COLORREF crDark, COLORREF crLight);

    // A new region for the window, or NULL for none.
    virtual HRGN GetWindowRegion();
    virtual void OnPrePaint(CDC* pDC);
    virtual void OnDrawExtra(CDC* pDC);

    // What the skin set up (read once at creation).
    int GetBorderWidth() const { return m_nBorderWidth; }
    int GetCaptionHeight() const { return m_nCaptionHeight; }
    BOOL IsResizable() const { return m_bResizable; }
    BOOL IsShapedFrame() const { return m_bShapedFrame; }
    HRGN GetFrameRegion() const { return m_hFrameRegion; }
    COLORREF GetControlTextColour() const { return m_crControlText; }
    COLORREF GetTitleColour() const { return m_crTitle; }
    int GetTitleAlign() const { return m_nTitleAlign; }
    CFont* GetTitleFont() { return &m_titleFont; }
    CSkinImageSet& GetCaptionButtons() { return m_buttons; }
    BOOL IsInModalLoop() const { return m_bInModalLoop; }
    const kit::HitZones& GetHitZones() const { return m_zones; }
    CQVBitmap& GetBackground() { return m_background; }
    CQVBitmap& GetInactiveBackground() { return m_inactiveBackground; }
    // Paints background, caption buttons and title onto a DC (the paint
    // handler's middle step).
    void PaintSkin(CDC* pDC);

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void ToggleMaximize();
    void PlaceCaptionButtons(int cx);

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnNcPaint();
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg UINT OnNcHitTest(CPoint point);
    afx_msg BOOL OnNcActivate(BOOL bActive);
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonUp(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
    afx_msg void OnNcMouseMove(UINT nHitTest, CPoint point);
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    afx_msg BOOL OnCopyData(CWnd* pWnd, COPYDATASTRUCT* pCopyDataStruct);
    DECLARE_MESSAGE_MAP()

private:
    int SetUpSkin();
    void ApplyWindowRegion();

    BOOL m_bWasVisible = TRUE;
    CQVBitmap m_background;
    CQVBitmap m_inactiveBackground;
    int m_nCellWidth = 0;
    int m_nCellHeight = 0;
    HBRUSH m_hControlBrush = NULL;
    BOOL m_bShowCaption = TRUE;
    CFont m_titleFont;
    int m_nTitleAlign = 1;
    COLORREF m_crTitle = RGB(255, 255, 255);
    BOOL m_bShapedFrame = TRUE;
    BOOL m_bResizable = FALSE;
    COLORREF m_crControlText = RGB(255, 255, 255);
    CString m_strSection;
    kit::HitZones m_zones;
    CSkinImageSet m_buttons;
    int m_nBorderWidth = 4;
    int m_nCaptionHeight = 20;
    BOOL m_bInModalLoop = FALSE;
    int m_nMaximizeIndex = 0;
    BOOL m_bMaximizeEnabled = FALSE;
    HRGN m_hFrameRegion = NULL;   // the cache's, not owned
};
