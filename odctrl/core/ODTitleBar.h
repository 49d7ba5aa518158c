// ODTitleBar.h - CODTitleBar, the owner-drawn caption of the library's
// dialogs: a background (a two-colour gradient, or start, centre and end
// images), the system-menu, minimise, maximise/restore and close buttons as
// skin images at theme positions (ODTitleLayout.h), and the caption text
// through a moving text that can scroll it. The dialog owns the window and
// the mouse; it tells the caption bar its style bits, button states and its
// active, maximised and minimised state, and asks it to draw, to hit-test
// and for its minimum width and window-shape regions.
//
// Theme keys are read from the dialog's section by LoadTitleBarTheme; a
// value the owner set stays its own over ApplyTheme.
#pragma once

#include "afxwin.h"

#include "ODGradient.h"
#include "ODSkinImage.h"
#include "ODTitleLayout.h"
#include "ODTxtMov.h"

class CODTitleBar
{
public:
    enum
    {
        ImgStart,
        ImgCenter,
        ImgEnd,
        ImgSysMenu,
        ImgMin,
        ImgMax,
        ImgClose,
        ImgRestore,
        ImgCount
    };
    // Button positions (theme points).
    enum
    {
        PosSysMenu,
        PosMin,
        PosMax,
        PosClose,
        PosText,
        PosCount
    };
    static constexpr int kImageValueSize = 128;

    struct Defaults
    {
        POINT positions[PosCount];
        COLORREF textColour;
        COLORREF startColour, endColour;
        int bkMode;
        int align;
        float move;
        char images[ImgCount][kImageValueSize];
    };
    static Defaults& ClassDefaults();
    static void LoadTitleBarTheme(LPCSTR section);

    CODTitleBar();
    virtual ~CODTitleBar();

    void SetColors(COLORREF start, COLORREF end = static_cast<COLORREF>(-1));
    void GetColors(COLORREF* start, COLORREF* end) const;
    int SetBkMode(int mode);
    int GetBkMode() const { return m_bkMode; }
    // index 0 close, 1 maximise, 2 minimise; 0 and nothing changed otherwise.
    int SetButtonState(int index, int state);
    int GetButtonState(int index) const;
    void SetInactive(BOOL inactive) { m_inactive = inactive; }
    BOOL IsInactive() const { return m_inactive; }
    void SetMaximized(BOOL v) { m_maximized = v; }
    BOOL IsMaximized() const { return m_maximized; }
    void SetMinimized(BOOL v) { m_minimized = v; }
    BOOL IsMinimized() const { return m_minimized; }
    DWORD SetStyleFlags(DWORD style);
    DWORD GetStyleFlags() const { return m_style; }
    // The owner's own position or image description (kept over ApplyTheme).
    void SetPosition(int which, POINT p);
    void SetImage(int which, LPCSTR description);
    void SetText(LPCSTR text) { m_text.SetText(text); }
    CODTxtMov& GetTxtMov() { return m_text; }
    CODSkinImage& GetImage(int which) { return m_images[which]; }

    virtual void Draw(CDC* pDC, const RECT* caption);
    // 0 system menu, 1 close, 2 maximise or restore, 3 minimise, -1 none.
    int HitTest(const RECT* caption, POINT point) const;
    int GetMinWidth(CDC* pDC);
    void ApplyTheme();
    HRGN GetWindowRegion(const RECT& rect);
    HRGN GetClipRegion(const RECT& rect);
    odtitle::Layout Arrange(const RECT& caption) const;

private:
    odtitle::Input LayoutInput() const;
    void LoadImage(int which);
    HRGN BackgroundRegion(const RECT& rect, bool centred);

    POINT m_positions[PosCount];
    BOOL m_positionSet[PosCount];
    COLORREF m_textColour;
    BOOL m_textColourSet;
    COLORREF m_startColour, m_endColour;
    BOOL m_coloursSet;
    int m_bkMode;
    BOOL m_bkModeSet;
    int m_align;
    BOOL m_alignSet;
    float m_move;
    BOOL m_moveSet;
    char m_imageValues[ImgCount][kImageValueSize];
    BOOL m_imageSet[ImgCount];
    DWORD m_style;
    int m_states[3];
    BOOL m_inactive;
    BOOL m_maximized;
    BOOL m_minimized;
    CODGradient m_gradient;
    CODSkinImage m_images[ImgCount];
    CODTxtMov m_text;
};

inline void LoadTitleBarTheme(LPCSTR section) { CODTitleBar::LoadTitleBarTheme(section); }
