// ChatBalloonWnd.h - CChatBalloonWnd: the speech balloon the table scene
// shows beside a seat when a player's chat text arrives.
//
// A borderless, semi-transparent popup shaped as a rounded body with a tail
// whose tip touches the speaker, an optional shadow, the text word-wrapped in
// a GB2312 font, hidden again after its display time or on a click. The
// arithmetic (style and its setters, wrapping, body origin, the twelve tail
// placements and the shape) is BalloonLayout.h; this class measures text,
// builds the regions and paints.
#pragma once

#include <afxwin.h>

#include <string>

#include "BalloonLayout.h"

class CChatBalloonWnd : public CWnd
{
public:
    static constexpr UINT_PTR kHideTimer = 1;
    static constexpr UINT_PTR kRetryTimer = 2;
    static constexpr UINT kRetryMs = 50;

    CChatBalloonWnd();
    ~CChatBalloonWnd() override;

    // A hidden popup owned by the parent (points are in its client
    // coordinates; none: screen coordinates) and the two fonts.
    BOOL Create(CWnd* parent);
    void Show(LPCSTR text, int ax, int ay, int tx, int ty, int mode);
    // Only while shown: moves with the speaker.
    void Move(int ax, int ay, int tx, int ty, int mode);
    void Hide();

    void SetTail(int width, int offset) { BalloonSetTail(m_style, width, offset); }
    BOOL SetSize(int maxWidth, int maxHeight) { return BalloonSetSize(m_style, maxWidth, maxHeight); }
    void SetMinSize(int width, int height) { BalloonSetMinSize(m_style, width, height); }
    void SetPadding(int x, int y) { BalloonSetPadding(m_style, x, y); }
    void SetCorner(int width, int height) { BalloonSetCorner(m_style, width, height); }
    void SetShadow(int x, int y, int percent);
    void SetFrame(COLORREF colour, int width);
    void SetHideTime(int ms) { m_style.hideTime = ms; }
    void SetStyle(const BalloonStyle& style) { m_style = style; }
    void SetAlpha(int percent) { BalloonSetAlpha(m_nAlpha, percent); }
    void SelectFont(int index);
    void SetHideOnClick(BOOL hide) { m_bHideOnClick = hide; }

    BOOL IsShown() const { return m_bVisible; }
    const BalloonStyle& GetStyle() const { return m_style; }
    int GetAlpha() const { return m_nAlpha; }
    const std::string& GetText() const { return m_text; }
    SIZE GetBodySize() const { return SIZE{m_nBodyWidth, m_nBodyHeight}; }
    POINT GetBodyOrigin() const { return POINT{m_nBodyLeft, m_nBodyTop}; }
    const RECT& GetTextRect() const { return m_rcText; }
    BOOL IsSingleLine() const { return m_bSingleLine; }
    int GetPlacement() const { return m_nPlacement; }
    HRGN GetBodyRegion() const { return m_hBody; }

protected:
    afx_msg void OnPaint();
    afx_msg void OnTimer(UINT_PTR id);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg void OnRButtonUp(UINT flags, CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    void ApplyAlpha();
    void Measure(HDC dc);
    void BuildShape();
    void DrawLines(HDC dc, const RECT& rect);
    void OnRelease(UINT message, UINT flags, CPoint point);

    BOOL m_bHideOnClick;
    BOOL m_bVisible;
    int m_nAlpha;
    int m_nMode;
    HFONT m_hFont;
    HFONT m_hFont0;
    HFONT m_hFont1;
    HRGN m_hBody;
    HRGN m_hShadow;
    CWnd* m_pParent;
    BOOL m_bSingleLine;
    std::string m_text;
    BalloonStyle m_style;
    int m_nBodyLeft, m_nBodyTop;
    int m_nAnchorX, m_nAnchorY;
    int m_nTargetX, m_nTargetY;
    int m_nWindowX, m_nWindowY;
    int m_nBodyWidth, m_nBodyHeight;
    RECT m_rcText;
    int m_nPlacement;
};
