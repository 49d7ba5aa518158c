// The game connection and the chat control: joining again and handing the
// launch record to the chat control, and the end-of-hand wealth records.
#pragma once

#include "QVChatEx.h"
#include "app/TableJoin.h"
#include "net/NetMessages.h"

class CGameSocket;

// Joins the table again with the launch record (JoinFromLaunch) and, when
// that succeeds and the chat control has a window, hands it the launch
// record's texts (ApplyLaunchInfoToChat with the given titles and watched
// player). The join's result; the reply message is not kept.
BOOL JoinAndAttachChat(CGameSocket& socket, CQVChatEx* pChat, UINT nTitle1, UINT nTitle2, LPCSTR pszWatchTarget,
                       BOOL bAsk);

// One wealth record for the chat control (method 64 with the player's name
// and the value); nothing without a control window.
void AddWealthRecordToChat(CQVChatEx* pChat, const WealthRecord& record, uint32_t value);
