// ODMsgDlg.h - CODMsgDlg, the library's message box, and its entry
// ODMessageBox. The box is an owner-draw dialog (CODDialog) built from a
// dialog template of the theme: an icon static, a text static with moving
// text mark-up and up to four owner-draw buttons, laid out around their
// contents (ODBoxLayout.h) and run modally. It answers with the Windows
// message box's result codes; Esc and the caption's close button give 2
// (IDCANCEL), a countdown that runs out or a theme without a usable
// template gives -1.
//
// Theme section "ODMsgDlg": "ImageID", "TextID", "DialogID", "Btn1ID" ..
// "Btn4ID" (control ids in the template and the template's id), the icon
// image descriptions "MB_ICONWARNING", "MB_ICONINFORMATION",
// "MB_ICONQUESTION", "MB_ICONSTOP", and comma-separated button captions per
// button type ("MB_OK", "MB_OKCANCEL" ...). Timer 1001 counts down once a
// second while a timeout runs.
#pragma once

#include "afxwin.h"

#include "ODBoxLayout.h"
#include "ODButton.h"
#include "ODDialog.h"
#include "ODStatic.h"

class CODMsgDlg : public CODDialog
{
public:
    enum
    {
        TimerCountdown = 1001,
        // Results beside the message box's own.
        ResultTimeout = -1,
        ResultNoTemplate = -1,
        ResultCancel = 2,
    };
    // The ten theme texts, in the order of their keys.
    enum
    {
        TextIconWarning,
        TextIconInformation,
        TextIconQuestion,
        TextIconStop,
        TextAbortRetryIgnore,
        TextOkCancel,
        TextRetryCancel,
        TextYesNo,
        TextYesNoCancel,
        TextOk,
        TextCount
    };
    static constexpr int kTextSize = 128;

    struct Defaults
    {
        int imageId, textId, dialogId;
        int buttonIds[odbox::kMaxButtons];
        char texts[TextCount][kTextSize];
    };
    static Defaults& ClassDefaults();
    static void LoadTheme();
    // The theme key of each text.
    static LPCSTR TextKey(int index);

    // Seam: the plain message box shown when the theme names no template.
    static int (*s_plainMessageBox)(LPCSTR text);

    CODMsgDlg(LPCSTR text, LPCSTR caption, UINT style, int timeout, BOOL moving, CWnd* pParent);
    ~CODMsgDlg() override;

    // Template id 0: the plain message "对话框资源错误" and -1. A template
    // the theme cannot give: -1. Else the dialog's result.
    INT_PTR DoModal() override;

    // Caption of button i (0..3); the old one.
    CString SetButtonCaption(int index, LPCSTR caption);
    CString GetButtonCaption(int index) const;
    int GetButtonCount() const { return m_buttons.count; }
    int GetButtonResult(int index) const;
    int GetCountdown() const { return m_countdown; }
    // The caption the box shows ("%d " and the caption while counting down).
    CString GetShownCaption() const { return m_shownCaption; }
    CODStatic& GetIconStatic() { return m_icon; }
    CODStatic& GetTextStatic() { return m_textStatic; }
    CODButton& GetButton(int index) { return m_buttonCtrls[index & 3]; }

    BOOL OnInitDialog() override;
    void OnCancel() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ShowCaption();

    int m_iconId, m_textId, m_templateId;
    int m_buttonIds[odbox::kMaxButtons];
    char m_texts[TextCount][kTextSize];
    CODStatic m_icon;
    CODStatic m_textStatic;
    CODButton m_buttonCtrls[odbox::kMaxButtons];
    odbox::Buttons m_buttons;
    CString m_caption;
    CString m_message;
    CString m_shownCaption;
    UINT m_style;
    int m_timeout;
    void* m_template;
    BOOL m_centre;
    int m_countdown;
    BOOL m_moving;
};

// Shows the library's message box and returns the pressed button's result
// (IDOK 1 ... IDNO 7), 2 when cancelled, -1 when the countdown (seconds;
// 0 or less for none) runs out or the theme names no template.
int ODMessageBox(LPCSTR text, LPCSTR caption, UINT style, int timeout = 0, BOOL moving = FALSE,
                 CWnd* pParent = NULL);
