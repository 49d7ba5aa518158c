#include "KitServices.h"

#include "MsgBoxDlg.h"
#include "NoticeLayout.h"
#include "WaitDlg.h"
#include "WebTipDlg.h"
#include "app/AppStrings.h"
#include "app/TableJoin.h"
#include "net/NetStrings.h"

#include <memory>

namespace {

std::unique_ptr<CWaitDlg>& JoinWindow()
{
    static std::unique_ptr<CWaitDlg> s_dlg;
    return s_dlg;
}

std::unique_ptr<CQVWebTipDlg>& WebNotice()
{
    static std::unique_ptr<CQVWebTipDlg> s_dlg;
    return s_dlg;
}

CString TextOf(UINT nStringId)
{
    if (nStringId == 0)
        nStringId = IDS_NET_CONNECTING;
    CString s = LoadAppString(nStringId);
    if (s.IsEmpty())
        s = LoadNetString(nStringId);
    return s;
}

}  // namespace

void KitJoinProgress(int nStep, UINT nStringId)
{
    std::unique_ptr<CWaitDlg>& dlg = JoinWindow();
    switch (nStep) {
    case kJoinProgressOpen:
    case kJoinProgressText:
        if (!dlg)
            dlg.reset(new CWaitDlg(NULL, (LPCSTR)NULL, FALSE));
        if (!dlg->Layout(TextOf(nStringId), FALSE))
            dlg.reset();
        break;
    case kJoinProgressClose:
        dlg.reset();
        break;
    default:
        break;
    }
}

BOOL IsKitJoinProgressOpen()
{
    return JoinWindow() && JoinWindow()->GetSafeHwnd() != NULL;
}

int KitAskQuery(LPCSTR lpszText, UINT nStyle, UINT, BOOL bWantsText, CString& rAnswerText)
{
    rAnswerText.Empty();
    if (!bWantsText)
        return MsgBoxText(lpszText, nStyle & 0x0FFF);
    char* pEntry = NULL;
    const int nResult = MsgBoxEx(lpszText, nStyle & 0x0FFF, 0, &pEntry);
    if (pEntry != NULL) {
        rAnswerText = pEntry;
        delete[] pEntry;
    }
    return nResult;
}

BOOL KitShowWebNotice(CWnd* pParent, LPCSTR lpszTitle, LPCSTR lpszAddress, UINT nWidth, UINT nHeight)
{
    RECT work = {0, 0, 1024, 768};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    int cx = 0, cy = 0;
    kit::WebNoticeSize(nWidth, nHeight, work.right - work.left, work.bottom - work.top, &cx, &cy);
    std::unique_ptr<CQVWebTipDlg>& dlg = WebNotice();
    if (!dlg)
        dlg.reset(new CQVWebTipDlg(pParent));
    if (dlg->GetSafeHwnd() == NULL) {
        if (!dlg->Create(cx, cy))
            return FALSE;
    } else {
        dlg->SetWindowPos(NULL, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        dlg->CenterWindow();
    }
    dlg->SetPageTitle(lpszTitle);
    return dlg->Navigate(lpszAddress);
}

void KitCloseWebNotice()
{
    WebNotice().reset();
}

CQVWebTipDlg* GetKitWebNotice()
{
    return WebNotice().get();
}

void InstallKitServices()
{
    InstallKitMessageBoxes();
    SetJoinProgressRoutine(KitJoinProgress);
}
