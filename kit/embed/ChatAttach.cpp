// The chat control's part of the game connection.
#include "ChatAttach.h"

#include "app/ChatSetup.h"

#include <cstdlib>

BOOL JoinAndAttachChat(CGameSocket& socket, CQVChatEx* pChat, UINT nTitle1, UINT nTitle2, LPCSTR pszWatchTarget,
                       BOOL bAsk)
{
    uint8_t* pReply = NULL;
    JoinReply reply;
    BOOL bJoined = JoinFromLaunch(socket, bAsk, &pReply, &reply);
    free(pReply);
    if (bJoined && pChat != NULL && pChat->GetSafeHwnd() != NULL)
        ApplyLaunchInfoToChat(pChat, nTitle1, nTitle2, pszWatchTarget);
    return bJoined;
}

void AddWealthRecordToChat(CQVChatEx* pChat, const WealthRecord& record, uint32_t value)
{
    if (pChat == NULL || pChat->GetSafeHwnd() == NULL)
        return;
    char szName[sizeof(record.userName) + 1];
    memcpy(szName, record.userName, sizeof(record.userName));
    szName[sizeof(record.userName)] = '\0';
    pChat->CallDispid64(szName, (long)value);
}
