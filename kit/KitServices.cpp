#include "KitServices.h"

#include "MsgBoxDlg.h"
#include "WaitDlg.h"
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

void InstallKitServices()
{
    InstallKitMessageBoxes();
    SetJoinProgressRoutine(KitJoinProgress);
}
