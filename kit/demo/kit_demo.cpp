// The kit's dialogs with the default dialog skin, for looking at them
// (scripts/screenshot build/x64/bin/kit_demo.exe dialog|msgbox|about|notice|webtip):
// the skin comes from "<program folder>\Mardavel.thm" and "Theme\" as the
// program finds it, the templates and strings from Mardavel_Res.dll; the web
// notice shows its page in the browser stand-in (QVWebBrowser.dll).
#include "AboutDlg.h"
#include "AxControls.h"
#include "AxStandInTest.h"
#include "MsgBoxDlg.h"
#include "NoticeDlg.h"
#include "WebTipDlg.h"
#include "SkinDlg.h"
#include "TextBalloonWnd.h"
#include "app/GameEnvironment.h"

#include <exdisp.h>

#include <cstring>

namespace {

class CDemoDlg : public CSkinDlg
{
public:
    CDemoDlg() : CSkinDlg(IDD_KIT_WAIT) { SetSkinSection("Wait"); }
    CCoolButton m_button;
    CTextBalloonWnd m_balloons;

protected:
    BOOL OnInitDialog() override
    {
        CSkinDlg::OnInitDialog();
        SetWindowText("Skinned dialog");
        SetWindowPos(NULL, 0, 0, 360, 200, SWP_NOMOVE | SWP_NOZORDER);
        m_button.AttachFromIni(this, IDC_KIT_WAIT_CANCEL, GetSkinSection(), "IDCANCEL");
        GetDlgItem(IDC_KIT_WAIT_CANCEL)->SetWindowText("取消(&C)");
        GetDlgItem(IDC_KIT_WAIT_CANCEL)->MoveWindow(144, 150, 72, 24);
        GetDlgItem(IDC_KIT_WAIT_TEXT)->SetWindowText("A skinned dialog of the kit");
        GetDlgItem(IDC_KIT_WAIT_TEXT)->MoveWindow(20, 40, 300, 20);
        CenterWindow();
        return TRUE;
    }
};

// Runs the messages of a modeless window until it hides.
void RunWhileVisible(CWnd& wnd)
{
    MSG msg;
    while (wnd.GetSafeHwnd() != NULL && wnd.IsWindowVisible() && ::GetMessageA(&msg, NULL, 0, 0) > 0) {
        if (!::IsDialogMessageA(wnd.GetSafeHwnd(), &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR lpCmdLine, int)
{
    HMODULE hRes = ::LoadLibraryA("Mardavel_Res.dll");
    if (hRes != NULL)
        AfxSetResourceHandle(hRes);
    InitThemePaths("Mardavel", FALSE, NULL);
    const char* what = lpCmdLine != NULL ? lpCmdLine : "";
    if (strstr(what, "msgbox") != NULL) {
        CQVMsgBoxDlg box("这是一个消息框。\\n详情请见 http://www.example.cn/help ，谢谢。", MB_YESNOCANCEL | MB_ICONQUESTION, 30);
        box.DoModal();
    } else if (strstr(what, "about") != NULL) {
        CQVAboutDlg about;
        about.SetTexts("Mardavel\n五人纸牌游戏 1.0 Build 7", "Quorvintel\nwww.example.cn");
        about.DoModal();
    } else if (strstr(what, "notice") != NULL) {
        CQVNoticeDlg notice("正在与游戏服务器连接...\n请稍候。", TRUE);
        RunWhileVisible(notice);
    } else if (strstr(what, "webtip") != NULL) {
        AfxOleInitThread();
        CStandInServer browser;
        if (!browser.ServeAs("QVWebBrowser.dll", CLSID_QVWebBrowser, CLSID_WebBrowser))
            return 1;
        CQVWebTipDlg tip;
        if (!tip.Create(420, 300))
            return 1;
        tip.SetPageTitle("今日活动");
        tip.Navigate("http://www.example.cn/notice/today.htm");
        RunWhileVisible(tip);
    } else {
        CDemoDlg dlg;
        dlg.DoModal();
    }
    return 0;
}
