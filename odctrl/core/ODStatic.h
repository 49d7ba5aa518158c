// ODStatic.h - CODStatic, the library's static control. It paints its own
// background (a two-colour gradient, a theme image, or a copy of the
// parent's background so that it looks transparent), a frame, an icon when
// one is set, and its text through the moving text CODTxtMov, so that the
// text can carry mark-up, move, and hold links that open with the shell. It
// changes the cursor over links and shows a tooltip.
//
// Theme section "ODStatic"; a value the program set stays its own over a
// theme reload. Timers: 1 the moving text, 2 the background image.
// Message 0xBD11 opens the link under the mouse (a click on a link posts
// it); a link that cannot be opened beeps and says so in a message box.
#pragma once

#include "afxwin.h"

#include "ODDrawing.h"
#include "ODGradient.h"
#include "ODLibrary.h"
#include "ODSkinFrame.h"
#include "ODSkinImage.h"
#include "ODTooltip.h"
#include "ODTxtMov.h"

class CODStatic : public CStatic, public CODGradient, public CODSkinFrame
{
public:
    enum
    {
        BkGradient = 0,
        BkImage = 1,
        BkParent = 2,
    };
    enum
    {
        TimerText = 1,
        TimerImage = 2,
        MsgOpenLink = 0xBD11,
    };
    static constexpr int kImageValueSize = 128;

    CODStatic();
    ~CODStatic() override;

    BOOL Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID = 0xffff) override;

    // start -1 keeps the start colour; end -1 takes the start colour.
    void SetBkColor(COLORREF start, COLORREF end = static_cast<COLORREF>(-1));
    void GetBkColor(COLORREF& start, COLORREF& end) const;
    int SetBkMode(int mode);
    int GetBkMode() const { return m_bkMode; }
    int SetTxtMovStopOnFocus(int stop);
    int GetTxtMovStopOnFocus() const { return m_stopOnFocus; }
    // A caller's background image description (127 characters at most).
    void SetBkImage(LPCSTR description);
    CString SetTooltipText(LPCSTR text);
    CString GetTooltipText() const { return m_tooltipText; }
    // The static owns the cursors it is given.
    void SetNormalCursor(HCURSOR cursor);
    void SetFocusCursor(HCURSOR cursor);

    void SetText(LPCSTR text);
    CString GetText() const;
    void SetTextColor(COLORREF colour, int kind);
    COLORREF GetTextColor(int kind) const;
    void SetFont(const LOGFONT& lf);
    void GetFont(LOGFONT& lf) const;
    void SetTextMargins(const RECT& margins) { m_margins = margins; }

    // Resizes the static to its content (what 0: the background image's cell
    // in mode 1, what 1: the text's extent); the window's size after it.
    CSize AutoSize(CSize& size, int what);
    // Keeps the part of the parent's background DC under the static's client
    // area (inset by the frame) for mode 2.
    void CopyParentBackground(CDC* pParentDC);
    // Sends (record's send flag) or posts the message to the window and every
    // descendant that is an owner-draw static.
    static void BroadcastToStatics(HWND hWnd, const ODBroadcastRecord& record);

    CODTxtMov& GetTxtMov() { return m_text; }
    CODTooltip& GetTooltip() { return m_tooltip; }
    CODSkinImage& GetBkImage() { return m_bkImage; }
    CString GetCurrentTip() const { return m_currentTip; }

    virtual void ApplyTheme();
    virtual void DrawText(CDC* pDC, const RECT& rect);
    virtual void DrawBorder(CDC* pDC, const RECT& rect);
    virtual void DrawBackground(CDC* pDC, const RECT& rect);
    // The paint handler's body on any DC.
    void PaintTo(CDC* pDC);

    static void LoadTheme();
    struct Defaults
    {
        COLORREF borderColour;
        int borderWidth;
        COLORREF bkStart, bkEnd;
        int stopOnFocus;
        int bkMode;
        char bkImage[kImageValueSize];
        UINT normalCursor, focusCursor;
    };
    static Defaults& ClassDefaults();

    // Seams: the shell's open (a result above 32 is success) and the
    // failure notice (a beep and a message box).
    static INT_PTR (*s_shellOpen)(HWND owner, LPCSTR target);
    static void (*s_linkFailed)(HWND owner, LPCSTR message);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PreSubclassWindow() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    void CommonSetUp();
    void InitFont();
    void LoadBkImage();
    void OnMouseMove(CPoint point);
    void OpenLink();
    CRect Inner(const CRect& client) const;

    HCURSOR m_focusCursor;
    HCURSOR m_normalCursor;
    HCURSOR m_themeFocusCursor;
    COLORREF m_borderColour;
    BOOL m_borderColourSet;
    int m_borderWidth;
    BOOL m_borderWidthSet;
    COLORREF m_bkStart;
    BOOL m_bkStartSet;
    COLORREF m_bkEnd;
    BOOL m_bkEndSet;
    int m_bkMode;
    BOOL m_bkModeSet;
    int m_stopOnFocus;
    BOOL m_stopOnFocusSet;
    char m_bkImageValue[kImageValueSize];
    BOOL m_bkImageSet;
    UINT m_normalCursorId;
    BOOL m_normalCursorSet;
    UINT m_focusCursorId;
    BOOL m_focusCursorSet;
    CODCachedImage m_parentCache;
    CODTooltip m_tooltip;
    CODTxtMov m_text;
    CODSkinImage m_bkImage;
    CString m_tooltipText;
    RECT m_margins;
    BOOL m_hover;
    CODTxtMov* m_mover;
    CString m_currentTip;
};
