// ODTabCtrl.h - CODTabCtrl, the library's skinned tab control over the
// system tab control. It fills itself with the back-tab colour (around its
// visible child windows, the arrows among them) and leaves
// the page and the tabs to hooks (empty here; a derived class draws them),
// calling them for the page first, then every tab from the last to the
// first, the selected tab last. The system's scroll arrows (the up-down
// child it makes when the tabs overflow) are taken over by a skinned
// CODSpinButtonCtrl as soon as they appear: at subclassing, after a resize
// and after an insertion (either character form of TCM_INSERTITEM).
//
// Drawing modes 0..2: 1 and 2 give the control the style
// TCS_OWNERDRAWFIXED, 0 takes it away. Theme section "ODTabCtrl": "ColorBorder",
// "ColorSelTab", "ColorBackTab", "ColorTabText", "ColorBackTabText",
// "DefBkImage" (a 2 x 2-cell picture) and the spin buttons' pictures
// "Flip{Left,Right,Top,Bottom}{Out,In}Image" (type "QVIMAGE"); a spin
// button the theme has no picture for keeps its "<" or ">" caption.
#pragma once

#include "afxcmn.h"

#include "ODSkinImage.h"
#include "ODSpinButtonCtrl.h"

class CODTabCtrl : public CTabCtrl
{
    DECLARE_DYNAMIC(CODTabCtrl)
public:
    enum
    {
        ColBorder,
        ColSelTab,
        ColBackTab,
        ColTabText,
        ColBackTabText,
        ColCount
    };
    // Theme picture ids of the spin buttons.
    enum
    {
        FlipLeftOut,
        FlipLeftIn,
        FlipRightOut,
        FlipRightIn,
        FlipTopOut,
        FlipTopIn,
        FlipBottomOut,
        FlipBottomIn,
        FlipCount
    };
    enum
    {
        PageOverlap = 2,  // the page starts this far above the display area
    };

    explicit CODTabCtrl(int drawMode = 0);
    ~CODTabCtrl() override;

    // FALSE for a mode outside 0..2 (nothing changes).
    BOOL SetDrawMode(int mode);
    int GetDrawMode() const { return m_drawMode; }
    void SetMarkItem(int index);
    int GetMarkItem() const { return m_markItem; }
    COLORREF SetBorderColor(COLORREF colour) { return SetColour(ColBorder, colour); }
    COLORREF SetSelTabColor(COLORREF colour) { return SetColour(ColSelTab, colour); }
    COLORREF SetBackTabColor(COLORREF colour) { return SetColour(ColBackTab, colour); }
    COLORREF SetTabTextColor(COLORREF colour) { return SetColour(ColTabText, colour); }
    COLORREF SetBackTabTextColor(COLORREF colour) { return SetColour(ColBackTabText, colour); }
    COLORREF GetColor(int index) const { return index >= 0 && index < ColCount ? m_colours[index] : 0; }
    BOOL SetBkBitmap(HBITMAP bitmap);
    BOOL LoadBkImage(int id);
    CODSkinImage& GetBkImage() { return m_bkImage; }
    void SetLogFont(const LOGFONT* font, BOOL redraw = TRUE);
    void GetLogFont(LOGFONT* font) const;
    BOOL IsSpinAttached() const { return m_spinAttached; }
    CODSpinButtonCtrl& GetSpin() { return m_spin; }

    static void LoadTheme();
    void ApplyTheme();

    // Hooks: one tab, the page, one tab's frame.
    void DrawItem(LPDRAWITEMSTRUCT draw) override;
    virtual void DrawPage(LPDRAWITEMSTRUCT draw);
    virtual void DrawItemFrame(LPDRAWITEMSTRUCT draw);
    virtual COLORREF GetTabBkColor();
    virtual COLORREF GetTabTextColor();

    static COLORREF s_colours[ColCount];
    static int s_bkImageId;
    static int s_flipImageIds[FlipCount];

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

private:
    void AttachSpin();
    COLORREF SetColour(int index, COLORREF colour);
    void SkinSpinButtons();

    int m_markItem = -1;
    int m_drawMode = 0;
    COLORREF m_colours[ColCount];
    int m_bkImageId = 0;
    CODSkinImage m_bkImage;
    BOOL m_spinAttached = FALSE;
    CODSpinButtonCtrl m_spin;
    LOGFONT m_font;
};
