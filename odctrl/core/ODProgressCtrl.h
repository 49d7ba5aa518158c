// ODProgressCtrl.h - CODProgressCtrl, the library's progress bar. It keeps
// its own range, position and step (ODProgressMath.h), answers the progress
// bar messages (PBM_SETPOS ...) from them, and paints itself: a background
// (colour, theme image, or the parent's background), a bar in one of four
// looks (gradient, stretched bar image, the block look, a growing image), a
// frame, and a text (a prefix with the percentage or the position) drawn in
// the text colour outside the bar and the text-on-bar colour over it. In
// loop mode a segment of fixed span runs through the bar and bounces.
//
// Theme section "ODProgress"; a value the program set stays its own over a
// theme reload. Timers: 1 block image, 3 background image, 4 bar image, 5
// grow image.
#pragma once

#include "afxwin.h"
#include "afxcmn.h"

#include "ODDrawing.h"
#include "ODGradient.h"
#include "ODProgressBlock.h"
#include "ODProgressMath.h"
#include "ODSkinFrame.h"
#include "ODSkinImage.h"
#include "ODTooltip.h"

class CODProgressCtrl : public CProgressCtrl, public CODGradient, public CODProgressBlock, public CODSkinFrame
{
public:
    enum
    {
        ColorBk = 0,
        ColorText = 1,
        ColorTextOnBar = 2,
        ColorBarStart = 3,
        ColorBarEnd = 4,
        ColorCount = 5,
    };
    enum
    {
        ImgBk,
        ImgVertBk,
        ImgBar,
        ImgVertBar,
        ImgGrow,
        ImgVertGrow,
        ImgSpare,
        ImgCount
    };
    enum
    {
        BkColour = 0,
        BkImage = 1,
        BkParent = 2,
    };
    enum
    {
        BarGradient = 0,
        BarImage = 1,
        BarBlocks = 2,
        BarGrow = 3,
    };
    static constexpr int kImageValueSize = 128;

    CODProgressCtrl();
    ~CODProgressCtrl() override;

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) override;

    // ---- Range and position ----
    void SetRange(short a, short b) { SetRange32(a, b); }
    void SetRange32(int a, int b);
    void GetRange(int& lower, int& upper) const;
    int SetPos(int pos);
    int OffsetPos(int delta);
    int SetStep(int step);
    int StepIt() { return OffsetPos(m_model.step); }
    int GetPos() const { return m_model.pos; }
    const odprog::Model& GetModel() const { return m_model; }
    int GetLoopSpan() const { return m_model.span; }

    // ---- Looks ----
    int SetBkMode(int mode);
    int GetBkMode() const { return m_bkMode; }
    int SetPrgMode(int mode);
    int GetPrgMode() const { return m_prgMode; }
    void ModifyFlags(UINT remove, UINT add);
    UINT GetFlags() const { return m_model.flags; }
    // -1 for an index outside 0..4 (nothing changed).
    COLORREF SetColor(COLORREF colour, int index);
    COLORREF GetColor(int index) const;
    void SetFont(const LOGFONT* lf);
    void GetFont(LOGFONT* lf) const;
    void SetTextAngle(int degrees);
    int GetTextAngle() const { return m_angle; }
    // The control owns the region; NULL clears it.
    void SetClipRegion(HRGN region);
    // A caller's image description (128 bytes at most) for one of the six
    // images; it stays over a theme reload.
    void SetImage(int which, LPCSTR description);

    // ---- Texts ----
    CString SetBarText(LPCSTR text);
    CString GetBarText() const { return m_barText; }
    void SetTooltipText(LPCSTR text, UINT kind);
    CString SetTooltipText(LPCSTR text);
    CString GetTooltipText() const { return m_tipText; }
    UINT SetTooltipKind(UINT kind);
    UINT GetTooltipKind() const { return m_tipKind; }
    // The text the bar shows now and the tooltip's.
    CString GetDisplayText() const;
    CString GetTipDisplayText() const;

    // Raises the thickness across the bar to its images' and the block
    // look's; the window's new size.
    CSize FitToContent(CSize& size);
    BOOL EnableTooltip();
    CODTooltip& GetTooltip() { return m_tooltip; }

    virtual void ApplyTheme();
    virtual void OnPosChanged(int pos);
    virtual BOOL CanChangePos(int oldPos, int newPos);
    virtual void DrawBar(CDC* pDC, const RECT& rect);
    virtual void DrawBorder(CDC* pDC, const RECT& rect);
    virtual void DrawBackground(CDC* pDC, const RECT& rect);
    // Paints the whole control into a DC (the paint handler's body).
    void PaintTo(CDC* pDC);

    static void LoadTheme();

    // The class values (read by LoadTheme from "ODProgress").
    struct Defaults
    {
        COLORREF colours[ColorCount];
        int bkMode, prgMode;
        COLORREF borderColour;
        int borderWidth;
        char images[ImgCount][kImageValueSize];
    };
    static Defaults& ClassDefaults();

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PreSubclassWindow() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    void CommonSetUp();
    int SetPosCore(int pos, BOOL force);
    int MovePos(bool relative, int value);
    void LoadImageInto(CODSkinImage& image, int horizontal, int vertical, int drawMode);
    void DrawGradientBar(CDC* pDC, const CRect& rect, bool vertical, bool reversed);
    void DrawImageBar(CDC* pDC, const CRect& rect, CODSkinImage& image, bool vertical, bool reversed, bool grow);
    void DrawText(CDC* pDC, const CRect& rect, bool vertical, bool reversed);
    CRect SegmentRect(const CRect& rect, int start, int end, bool vertical, bool reversed) const;
    void RefreshTip();

    CODCachedImage m_parentCache;
    COLORREF m_colours[ColorCount];
    BOOL m_colourSet[ColorCount];
    int m_bkMode;
    BOOL m_bkModeSet;
    int m_prgMode;
    BOOL m_prgModeSet;
    COLORREF m_borderColour;
    BOOL m_borderColourSet;
    int m_borderWidth;
    BOOL m_borderWidthSet;
    char m_images[ImgCount][kImageValueSize];
    BOOL m_imageSet[ImgCount];
    LOGFONT m_textFont;
    int m_tipKind;
    int m_angle;
    HRGN m_clip;
    CString m_tipText;
    CString m_barText;
    odprog::Model m_model;
    CODSkinImage m_bkImage;
    CODSkinImage m_barImage;
    CODSkinImage m_growImage;
    CODTooltip m_tooltip;
    BOOL m_hover;
};
