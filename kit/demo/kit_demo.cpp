// The kit's dialogs with the default dialog skin, for looking at them
// (scripts/screenshot build/x64/bin/kit_demo.exe dialog|msgbox|about): the
// skin comes from "<program folder>\Mardavel.thm" and "Theme\" as the program
// finds it, the templates and strings from Mardavel_Res.dll.
#include "AboutDlg.h"
#include "MsgBoxDlg.h"
#include "SkinDlg.h"
#include "TextBalloonWnd.h"
#include "app/GameEnvironment.h"

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
    } else {
        CDemoDlg dlg;
        dlg.DoModal();
    }
    return 0;
}
