// ODWaitDlg.h - CODWaitDlg, the library's modeless "please wait" box: an
// animated image, a line of text, an optional progress bar kept moving by a
// timer, and an optional cancel button. Each Show lays it out around its
// contents (ODBoxLayout.h), centres it on the desktop and shows it; the
// button posts 0x499 (WM_USER + 153) to the notify window (else the parent)
// and hides the box.
//
// Theme section "ODWaitDlg": "ImageID", "TextID", "ProgressID", "BtnID"
// (control ids in the template), "DialogID" (the template the owner creates
// the box from), "Image" (the image's description) and "Mode" (the progress
// bar's run: 0 up, 1 down, other values back and forth). Ids, image and mode
// the program set stay its own over a theme reload. Timer 1000 moves the
// progress bar.
#pragma once

#include "afxwin.h"

#include "ODButton.h"
#include "ODDialog.h"
#include "ODProgressCtrl.h"
#include "ODStatic.h"

class CODWaitDlg : public CODDialog
{
public:
    enum
    {
        TimerProgress = 1000,
        MsgCancelled = WM_USER + 153,  // 0x499
    };
    static constexpr int kImageSize = 128;

    struct Defaults
    {
        int imageId, textId, progressId, dialogId, buttonId;
        char image[kImageSize];
        int mode;
    };
    static Defaults& ClassDefaults();
    static void LoadTheme();

    CODWaitDlg();
    ~CODWaitDlg() override;

    // Creates the box modeless from the theme's "DialogID" template; FALSE
    // when the theme has none or the window cannot be made.
    BOOL CreateFromTheme(CWnd* pParent = NULL);

    // A NULL string keeps its previous value; the interval in milliseconds
    // (0: no progress bar). Lays out and shows the box; nothing without a window.
    void Show(LPCSTR text, LPCSTR buttonCaption, int interval, LPCSTR title);
    void Hide();
    int SetMode(int mode);
    int GetMode() const { return m_mode; }
    // The control and template ids; each the old value.
    int SetImageId(int id);
    int SetTextId(int id);
    int SetProgressId(int id);
    int SetButtonId(int id);
    void SetImageDescription(LPCSTR description);
    void SetNotifyWindow(CWnd* pWnd) { m_notify = pWnd; }
    void SetCaptioned(BOOL captioned) { m_captioned = captioned; }
    void SetCentreText(BOOL centre) { m_centreText = centre; }
    BOOL IsCancelled() const { return m_cancelled; }
    int GetInterval() const { return m_interval; }
    int GetDialogId() const { return m_dialogId; }

    CODStatic& GetImageStatic() { return m_image; }
    CODStatic& GetTextStatic() { return m_textStatic; }
    CODProgressCtrl& GetProgress() { return m_progress; }
    CODButton& GetButton() { return m_button; }

    BOOL OnInitDialog() override;
    void ApplyTheme() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void LoadImage();
    void UpdateStep();

    BOOL m_cancelled;
    int m_imageId;
    BOOL m_imageIdSet;
    int m_textId;
    BOOL m_textIdSet;
    int m_progressId;
    BOOL m_progressIdSet;
    int m_dialogId;
    BOOL m_dialogIdSet;
    int m_buttonId;
    BOOL m_buttonIdSet;
    char m_imageDesc[kImageSize];
    BOOL m_imageDescSet;
    int m_mode;
    BOOL m_modeSet;
    CODStatic m_image;
    CODStatic m_textStatic;
    CODProgressCtrl m_progress;
    CODButton m_button;
    BOOL m_captioned;
    CString m_buttonCaption;
    CString m_title;
    CString m_text;
    int m_interval;
    BOOL m_centreText;
    CWnd* m_notify;
    void* m_template;
};
