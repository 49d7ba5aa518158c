// ODDialog.h - CODDialog, the owner-draw library's skinned dialog base: a
// dialog that computes and paints its own non-client area (a skin frame from
// theme pictures and the library's caption bar with close, maximise and
// minimise buttons of its own; the system caption is never drawn), fills its
// client area with a two-colour gradient or a background picture, and hands
// its owner-draw statics and buttons a copy of that background so they can
// look transparent. Theme section "ODDialog" (the caption bar reads its
// "Title..." keys from the same section).
//
// Values the caller sets through the setters are its own: a theme reload
// ("ChangeThemeMsg") takes the theme's value only for the others. The frame
// arithmetic and the caption buttons' states are ODDialogLayout.h.
//
// Animated pictures run on the dialog's timers: 60001-60003 caption start,
// centre and end, 60004 the caption text, 60005 the client background,
// 60006-60010 caption system menu, minimise, maximise, close and restore,
// 60011-60018 the frame's left, right, top, bottom and four corners.
#pragma once

#include "afxwin.h"

#include "ODDialogLayout.h"
#include "ODGradient.h"
#include "ODLibrary.h"
#include "ODSkinFrame.h"
#include "ODSkinImage.h"
#include "ODTitleBar.h"
#include "ODTooltip.h"

class CODDialog : public CDialog, public CODSkinFrame, public CODTitleBar
{
    DECLARE_DYNAMIC(CODDialog)
public:
    enum
    {
        TimerCaptionStart = 60001,
        TimerCaptionText = 60004,
        TimerClientImage = 60005,
        TimerCaptionButtons = 60006,
        TimerFrame = 60011,
        TimerLast = 60018,
    };
    // The seventeen picture descriptions: the client background, the eight
    // Edge pieces, the eight Border pieces (each in the frame's order).
    enum
    {
        ImgClient = 0,
        ImgEdge = 1,
        ImgBorder = 9,
        ImgDescCount = 17,
    };
    static constexpr int kDescSize = 128;

    struct Defaults
    {
        COLORREF borderColour;
        COLORREF clientStart, clientEnd;
        int clientBkMode;
        char images[ImgDescCount][kDescSize];
    };
    static Defaults& ClassDefaults();
    static void LoadTheme();

    CODDialog();                                       // caption height 25
    explicit CODDialog(UINT nIDTemplate, CWnd* pParent = NULL);  // caption height 20
    ~CODDialog() override;

    virtual void ApplyTheme();
    virtual void PaintChildBackgrounds(CDC* pDC);

    // start -1 keeps the start colour; end -1 takes the start colour.
    void SetClientColors(COLORREF start, COLORREF end = static_cast<COLORREF>(-1));
    void GetClientColors(COLORREF* start, COLORREF* end) const;
    // 1: the client shows "ClientBkImg"; other values: the gradient. The old mode.
    int SetClientBkMode(int mode);
    int GetClientBkMode() const { return m_clientBkMode; }
    COLORREF SetBorderColor(COLORREF colour);
    COLORREF GetBorderColor() const { return m_borderColour; }
    // A picture description of ImgClient .. ImgBorder + 7, the caller's own.
    void SetImageDescription(int index, LPCSTR description);
    LPCSTR GetImageDescription(int index) const;

    CString SetTooltipText(LPCSTR text);
    CString GetTooltipText() const { return m_tipText; }
    void EnableTooltip();
    void RelayToTooltip(UINT message, WPARAM wParam, LPARAM lParam);
    CODTooltip& GetTooltip() { return m_tooltip; }

    int SetUserValue(int value);
    int GetUserValue() const { return m_userValue; }

    // The caption's plain text: at most max - 1 bytes and a zero; the bytes copied.
    using CDialog::GetWindowText;
    int GetWindowText(LPSTR buffer, int max) const;
    int GetWindowTextLength() const;

    int GetCaptionHeight() const { return m_captionHeight; }
    DWORD GetSavedStyle() const { return m_savedStyle; }
    CSize GetDefaultClientSize() const { return CSize(m_defaultClientWidth, m_defaultClientHeight); }
    const oddlg::CaptionButtons& GetCaptionButtons() const { return m_buttons; }
    CODSkinImage& GetClientImage() { return m_clientImage; }
    CODGradient& GetClientGradient() { return m_gradient; }

    // Sends (the record's send flag) or posts the record's message to the
    // window and every descendant marked "ODDialog".
    static void BroadcastToDialogs(HWND hWnd, const ODBroadcastRecord& record);

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    void InitState();
    void SetImageOwners();
    oddlg::Kind Kind() const;
    oddlg::Widths Widths() const;
    void NcPaint();
    void UpdateRegion();
    HRGN FrameTransparentRegion(int width, int height);
    LRESULT OnNcCalcSize(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcMouse(UINT message, WPARAM wParam, LPARAM lParam);
    BOOL EraseBackground(CDC* pDC);
    void LoadClientImage();

    COLORREF m_borderColour;
    BOOL m_borderColourSet;
    COLORREF m_clientStart;
    BOOL m_clientStartSet;
    COLORREF m_clientEnd;
    BOOL m_clientEndSet;
    int m_clientBkMode;
    BOOL m_clientBkModeSet;
    char m_images[ImgDescCount][kDescSize];
    BOOL m_imageSet[ImgDescCount];
    CODTooltip m_tooltip;
    CODSkinImage m_clientImage;
    CODGradient m_gradient;
    CString m_tipText;
    int m_userValue;
    int m_captionHeight;
    DWORD m_savedStyle;
    int m_defaultClientWidth, m_defaultClientHeight;
    oddlg::CaptionButtons m_buttons;
};
