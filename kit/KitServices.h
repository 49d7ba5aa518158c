// KitServices.h - what the kit puts into the runtime's hooks: every message
// box of the program (MsgBoxText, MsgBoxId, MsgBoxEx) as the kit's box, the
// join's progress window as the kit's wait dialog, and the server's query
// (message 0x230) answered through the entry box. The program calls
// InstallKitServices once at start-up; its connection UI object forwards
// AskQuery to KitAskQuery.
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
