// ODButton.h - CODButton, the library's push button, check box and radio
// button. A dialog item or a created button is subclassed into it; it
// becomes owner-drawn and draws every state itself: colours, a 3D or solid
// frame, an icon or picture face ("In" while hovered, pressed or checked,
// "Out" otherwise), the caption. It tracks the mouse for a hover state with
// an optional sound, keeps its own check state, can open a web address or
// drop a menu when clicked, carries an optional rich tooltip, and takes its
// default colours and pictures from the theme section "ODButton".
//
// Kinds: the button type (the style's low bits) BS_CHECKBOX, BS_AUTOCHECKBOX,
// BS_3STATE and BS_AUTO3STATE make a check box; BS_RADIOBUTTON and
// BS_AUTORADIOBUTTON a radio button; every other type a push button
// (BS_DEFPUSHBUTTON the default one).
//
// Setters return 0 on success and an error number otherwise (ErrColorIndex,
// ErrAlign, ErrShift, ErrPressedStyle; 1 when a picture or cursor cannot be
// loaded). A colour of CLR_NONE (0xFFFFFFFF) is not painted. Colours a
// caller set survive a theme reload; a system colour change resets them all.
//
// The sound, the shell and the menu go through seams a test can replace.
// Only http:// and https:// addresses are opened.
#pragma once

#include "afxwin.h"

#include "graphics/QVMemBitmap.h"
#include "ODTooltip.h"
#include "OrnMenu.h"

class CODButton : public CButton
{
    DECLARE_DYNAMIC(CODButton)
public:
    enum
    {
        ColBkIn = 0,
        ColFgIn,
        ColBkOut,
        ColFgOut,
        ColBkFocus,
        ColFgFocus,
        ColSolidBorder,
        Col3DTopLeft,
        Col3DBottomRight,
        ColCheckFgIn,
        ColCheckFgOut,
        ColCheckFgFocus,
        ColRadioFgIn,
        ColRadioFgOut,
        ColRadioFgFocus,
        ColCount
    };
    enum
    {
        AlignLeft = 0,
        AlignTop = 1,
        AlignRight = 2,
        AlignOverlap = 3,
    };
    enum
    {
        ErrLoad = 1,
        ErrColorIndex = 3,
        ErrAlign = 4,
        ErrShift = 5,
        ErrPressedStyle = 6,
        ErrNotTransparent = 5,
    };
    // Special "Out" faces made from the "In" face.
    static const INT_PTR kGreyCopy = -2;
    static const INT_PTR kDarkerCopy = -3;
    static constexpr int kTextSize = 260;
    // Images of the theme (resource type "QVImage").
    enum
    {
        ImgChecked,
        ImgUnchecked,
        ImgRadioed,
        ImgUnradioed,
        ImgOut,
        ImgIn,
        ImgCount
    };

    CODButton();
    ~CODButton() override;

    // ---- Faces ----
    DWORD SetIcon(HICON in, HICON out);  // out: a handle, NULL, kGreyCopy or kDarkerCopy cast
    DWORD SetIcon(UINT inId, int cxIn, int cyIn, INT_PTR outId, int cxOut, int cyOut);
    DWORD SetBitmaps(BOOL takeOwnership, HBITMAP in, COLORREF transIn, HBITMAP out, COLORREF transOut);
    DWORD SetBitmaps(UINT inId, COLORREF transIn, INT_PTR outId, COLORREF transOut);
    // Typed resources of the skin module: the type's name, or with none the
    // library's type of that index (ODResourceType); flags: the resource's
    // language.
    DWORD SetBitmaps(UINT inId, COLORREF transIn, INT_PTR outId, COLORREF transOut, LPCSTR type, int typeIndex,
                     WORD flags);
    // Picture files (any format the image decoder reads).
    DWORD SetBitmaps(LPCSTR inFile, COLORREF transIn, LPCSTR outFile, COLORREF transOut);
    DWORD FitToImage(BOOL makeIrregular);

    // ---- Look ----
    DWORD SetFlat(BOOL flat, BOOL repaint = TRUE);
    DWORD SetImageAlign(int align, BOOL repaint = TRUE);
    DWORD SetPressOffset(int x, int y);
    DWORD SetPressedStyle(int style, BOOL repaint = TRUE);
    DWORD ResetColors(BOOL repaint = TRUE, BOOL setFlag = FALSE);
    DWORD SetColor(int index, COLORREF colour, BOOL repaint = TRUE);
    DWORD GetColor(int index, COLORREF* colour) const;
    DWORD ShiftColor(int index, int shift, BOOL repaint = TRUE);
    BOOL IsColorSet(int index) const { return index >= 0 && index < ColCount && m_colorSet[index]; }
    DWORD SetTrackWhenInactive(BOOL track);
    DWORD SetHoverCursor(UINT cursorId, BOOL repaint = TRUE);
    DWORD EnableBorder(BOOL enable, BOOL repaint = TRUE);
    DWORD SetFocusRectWhenFlat(BOOL draw, BOOL repaint = TRUE);
    DWORD SetTransparent(BOOL repaint = TRUE);
    DWORD CaptureBackground(CDC* pParentDC);
    DWORD SetFont(const LOGFONT& lf, BOOL repaint = TRUE);
    void GetFont(LOGFONT* lf) const { *lf = m_font; }
    DWORD SetImageMargin(int x, int y);
    DWORD SetTextOffset(int x, int y);
    BOOL SetTextCentered(BOOL centred, BOOL repaint = TRUE);

    // ---- Check state ----
    void SetCheck(int check, BOOL repaint = TRUE);
    int GetCheck() const { return m_checked; }

    // ---- Behaviour ----
    DWORD SetTooltipText(LPCSTR text, BOOL activate = TRUE);
    DWORD SetTooltipText(UINT textId, BOOL activate = TRUE);
    DWORD ActivateTooltip(BOOL activate = TRUE);
    DWORD UseBalloonTooltip();
    CODTooltip* GetTooltip() { return &m_tooltip; }
    BOOL IsDefaultButton() const { return m_isDefault; }
    // At most kTextSize - 1 bytes are kept; NULL clears.
    DWORD SetURL(LPCSTR url);
    LPCSTR GetURL() const { return m_url; }
    // which 0: entering, else clicking. A NULL name clears; with a module the
    // name is a resource id.
    DWORD SetSound(LPCSTR name, HMODULE module, int which, BOOL async);
    // The drop-down menu (its first sub-menu is tracked); the button does not
    // own it. owner receives the chosen command; callback gets message with
    // the sub-menu as wParam and lParam before the menu opens.
    void SetMenu(HMENU menu, HWND owner);
    // The button's own drop-down menu (empty until filled; its first
    // sub-menu drops down, in place of a menu given to SetMenu).
    OrnMenu& GetMenu() { return m_ornMenu; }
    void SetMenuOwner(HWND owner) { m_menuOwner = owner; }
    void SetMenuCallback(HWND window, UINT message, LPARAM lParam);

    // ---- State for drawing and tests ----
    BOOL IsCheckBox() const { return m_isCheckBox; }
    BOOL IsRadio() const { return m_isRadio; }
    BOOL IsHovering() const { return m_hovering; }
    BOOL IsFlat() const { return m_flat; }
    BOOL HasBorder() const { return m_drawBorder; }
    BOOL IsTransparent() const { return m_transparent; }
    CPoint GetPressOffset() const { return m_pressOffset; }
    CPoint GetTextOffset() const { return m_textOffset; }
    CPoint GetImageMargin() const { return m_imageMargin; }
    int GetImageAlign() const { return m_imageAlign; }
    UINT GetButtonType() const { return m_buttonType; }
    BOOL GetTextCentered() const { return m_textCentered; }
    const CQVDib16& GetImage(int which) const { return m_images[which & 1].surface; }

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    virtual DWORD SetTransparentFlag(BOOL repaint) { return SetTransparent(repaint); }
    virtual void DrawBackground(CDC* pDC, CRect* rect);
    virtual void DrawBorder(CDC* pDC, CRect* rect);
    virtual void DrawIconImage(CDC* pDC, BOOL hasCaption, const CRect& item, CRect* caption, BOOL pressed, BOOL disabled);
    virtual void DrawBitmapImage(CDC* pDC, BOOL hasCaption, const CRect& item, CRect* caption, BOOL pressed, BOOL disabled);
    virtual void DrawCaption(CDC* pDC, const CString& text, const CRect& item, CRect* caption, BOOL pressed, BOOL disabled);

    static void LoadTheme();
    void ReloadTheme();

    struct Defaults
    {
        COLORREF colours[ColCount];
        UINT images[ImgCount];
        COLORREF trans[ImgCount];
        int sizeToContent;
        int makeIrregular;
    };
    static Defaults& ClassDefaults();

    // Seams.
    static BOOL (*s_playSound)(LPCSTR name, HMODULE module, DWORD flags);
    static BOOL (*s_openUrl)(HWND owner, LPCSTR url);
    static UINT (*s_trackMenu)(HMENU menu, UINT flags, int x, int y, HWND owner);

protected:
    struct Face
    {
        HICON icon = NULL;
        int width = 0, height = 0;
    };
    struct Picture
    {
        CQVDib16 surface;
        int width = 0, height = 0;
        COLORREF trans = CLR_NONE;
    };
    struct Sound
    {
        char name[kTextSize] = "";
        LPCSTR resource = NULL;  // a resource id (module set)
        HMODULE module = NULL;
        DWORD flags = 0;
    };

    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    void ApplyKind(BOOL fit);
    void ThemeBitmaps(int in, int out);
    void FreeIcons();
    void FreeImages();
    DWORD LoadedBitmaps(HBITMAP in, COLORREF transIn, INT_PTR outId, HBITMAP out, COLORREF transOut);
    HMENU DropDownMenu() const;
    void EndHover();
    void OnMouseMove();
    void OnClicked();
    void Play(int which);
    void PlaceImage(BOOL hasCaption, const CRect& item, CRect* caption, BOOL pressed, int width, int height,
                    CRect* image) const;
    BOOL UseInFace() const;
    void Repaint(BOOL repaint);

    BOOL m_flat;
    BOOL m_hovering;
    BOOL m_transparent;
    BOOL m_pressed, m_focused, m_disabled;
    BOOL m_isDefault;
    BOOL m_isCheckBox, m_isRadio;
    int m_imageAlign;
    BOOL m_drawBorder;
    BOOL m_focusRectWhenFlat;
    COLORREF m_colors[ColCount];
    BOOL m_colorSet[ColCount];
    HWND m_menuOwner;
    BOOL m_menuShown;
    LOGFONT m_font;
    CPoint m_imageMargin;
    CPoint m_pressOffset;
    CPoint m_textOffset;
    BOOL m_themeImages;
    HMENU m_menu;
    OrnMenu m_ornMenu;
    HCURSOR m_cursor;
    CODTooltip m_tooltip;
    BOOL m_textCentered;
    CQVDib16* m_background;
    BOOL m_trackWhenInactive;
    int m_checked;
    UINT m_buttonType;
    BOOL m_balloonTooltip;
    char m_url[kTextSize];
    Face m_icons[2];
    Picture m_images[2];
    struct
    {
        HWND window;
        UINT message;
        LPARAM lParam;
    } m_menuCallback;
    Sound m_sounds[2];
    HFONT m_hFont;
};
