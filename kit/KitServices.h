// KitServices.h - what the kit puts into the runtime's hooks: every message
// box of the program (MsgBoxText, MsgBoxId, MsgBoxEx) as the kit's box, the
// join's progress window as the kit's wait dialog, and the server's query
// (message 0x230) answered through the entry box, and the server's web
// notice (message 0x249) shown in the web notice popup. The program calls
// InstallKitServices once at start-up; its connection UI object forwards
// AskQuery to KitAskQuery, ShowWebNotice to KitShowWebNotice and
// CloseWebNotice to KitCloseWebNotice.
#pragma once

#include "afxwin.h"

void InstallKitServices();
// The join's progress window: 1 opens it with the string (0: "connecting"),
// 2 shows a string, 3 closes it.
void KitJoinProgress(int nStep, UINT nStringId);
BOOL IsKitJoinProgressOpen();
// A box with the query's text and style; with bWantsText an entry whose text
// comes back in rAnswerText. Returns the button pressed.
int KitAskQuery(LPCSTR lpszText, UINT nStyle, UINT nArgument, BOOL bWantsText, CString& rAnswerText);
// The server's web notice: the one popup is made on first use (owned by
// pParent) and kept; each notice sizes it (bounded by the screen), titles it
// and opens the address (http:// and https:// only). FALSE when nothing was
// shown.
BOOL KitShowWebNotice(CWnd* pParent, LPCSTR lpszTitle, LPCSTR lpszAddress, UINT nWidth, UINT nHeight);
// Destroys the popup (the connection closed).
void KitCloseWebNotice();
class CQVWebTipDlg;
CQVWebTipDlg* GetKitWebNotice();
