// An owner-draw dialog with four owner-draw edits (plain text, a two-byte
// text with part of it selected and the caret shown, a password, a
// read-only one) and, beside it, a wait box with its progress bar
// (scripts/screenshot OUT.png 6 build/x64/bin/od_edit_demo.exe). With the
// argument "msgbox" the library's message box (Yes / No / Cancel, question
// icon, a 30-second countdown) opens over the dialog instead of the wait
// box. It starts the library from "<program folder>\odctrls\Mardavel_skn.ini"
// as the program does; the pictures are the generated theme's.
#include "afxwin.h"

#include "ODDemoApp.h"
#include "ODDialog.h"
#include "ODEdit.h"
#include "ODMsgDlg.h"
#include "ODStatic.h"
#include "ODWaitDlg.h"

namespace {

const UINT kOpenBoxTimer = 9;

class CDemoDialog : public CODDialog
{
public:
    bool m_messageBox = false;

protected:
    BOOL OnInitDialog() override
    {
        CODDialog::OnInitDialog();
        LOGFONT lf = {};
        lf.lfHeight = -13;
        lf.lfWeight = FW_NORMAL;
        strcpy(lf.lfFaceName, "Tahoma");
        const char* labels[4] = {"Name", "Chinese", "Password", "Read-only"};
        for (int i = 0; i < 4; ++i) {
            m_labels[i].Create(labels[i], WS_CHILD | WS_VISIBLE, CRect(16, 22 + 34 * i, 96, 42 + 34 * i), this,
                               20 + i);
            m_labels[i].SetBkMode(CODStatic::BkParent);
            const int none[4] = {0, 0, 0, 0};
            m_labels[i].SetBorderWidths(NULL, none);
            m_labels[i].SetFont(lf);
            const DWORD style = i == 2 ? ES_PASSWORD : (i == 3 ? ES_READONLY : 0);
            m_edits[i].Create(NULL, "", style, CRect(100, 18 + 34 * i, 320, 42 + 34 * i), this, 30 + i);
            m_edits[i].SetFont(&lf, FALSE);
        }
        m_edits[0].SetText("Player seven");
        // GBK bytes of a two-byte text with ASCII around it; the two-byte
        // characters in the middle are selected.
        m_edits[1].SetText("abc \xD6\xD0\xCE\xC4\xB1\xE0\xBC\xAD xyz");
        m_edits[2].SetText("secret");
        m_edits[3].SetText("Seat 3, read only");
        m_edits[1].SetFocus();
        m_edits[1].SetSel(4, 9);
        SetTimer(kOpenBoxTimer, 700, NULL);
        return FALSE;
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_TIMER && wParam == kOpenBoxTimer) {
            KillTimer(kOpenBoxTimer);
            if (m_messageBox) {
                ODMessageBox("The hand is not finished.\nLeave the table now?", "Mardavel",
                             MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2, 30, FALSE, this);
            } else if (m_wait.CreateFromTheme(this)) {
                m_wait.Show("Waiting for the other players...", "Stop", 200, "Please wait");
                CRect r;
                GetWindowRect(&r);
                m_wait.SetWindowPos(NULL, r.right + 20, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
                m_wait.GetProgress().SetPos(60);
                m_edits[1].SetFocus();
            }
            return 0;
        }
        return CODDialog::WindowProc(message, wParam, lParam);
    }

    CODStatic m_labels[4];
    CODEdit m_edits[4];
    CODWaitDlg m_wait;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR cmdLine, int)
{
    oddemo::ThemeLibrary library;
    if (!library.Started())
        return oddemo::kExitNoLibrary;
    OleInitialize(NULL);
    int result = oddemo::kExitNoWindow;
    {
        CDemoDialog dialog;
        dialog.m_messageBox = cmdLine && strstr(cmdLine, "msgbox") != NULL;
        if (oddemo::CreateDemoDialog(dialog, "Mardavel - edits", 200, 150,
                                     WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE))
            result = oddemo::RunMessageLoop(dialog.m_hWnd, oddemo::Dispatch::PreTranslate);
    }
    OleUninitialize();
    return result;
}
