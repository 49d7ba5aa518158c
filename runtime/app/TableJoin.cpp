#include "TableJoin.h"

#include <stdlib.h>
#include <string.h>

#include "AppStrings.h"
#include "ClientServices.h"
#include "GameEnvironment.h"
#include "net/GameSocket.h"
#include "net/MessageFrame.h"
#include "net/NetStrings.h"

namespace {

JoinProgressRoutine g_pfnJoinProgress = nullptr;
uint16_t g_wJoinSecondValue = 0;

template <size_t N, size_t M>
void CopyText(char (&to)[N], const char (&from)[M])
{
    static_assert(N >= M, "the field holds the whole text");
    memcpy(to, from, M);
    to[N - 1] = '\0';
}

// The application's wait cursor for the length of a scope.
struct WaitCursorScope {
    WaitCursorScope()
    {
        if (CWinApp* pApp = AfxGetApp())
            pApp->DoWaitCursor(1);
    }
    ~WaitCursorScope()
    {
        if (CWinApp* pApp = AfxGetApp())
            pApp->DoWaitCursor(-1);
    }
};

void Progress(int nStep, UINT nStringId)
{
    if (g_pfnJoinProgress != nullptr)
        g_pfnJoinProgress(nStep, nStringId);
}

}  // namespace

// ---- Request ----------------------------------------------------------------------------

void BuildJoinRequestBody(const GameLaunchInfo& info, JoinRequestBody* body)
{
    memset(body, 0, sizeof(*body));
    CopyText(body->userName, info.userName);
    CopyText(body->text86, info.text86);
    CopyText(body->text44, info.text44);
    body->value84 = info.value84;
    body->chair = (uint16_t)info.chair;
    body->kind = kJoinRequestKind;
}

std::vector<uint8_t> BuildJoinRequest(const GameLaunchInfo& info)
{
    JoinRequestBody body;
    BuildJoinRequestBody(info, &body);
    return BuildNetMessage(netmsg::kJoin, &body, sizeof(body));
}

// ---- Reply ------------------------------------------------------------------------------

namespace {

BOOL ReadJoinReply(uint8_t* message, JoinReply* reply)
{
    if (message == nullptr)
        return FALSE;
    reply->result = MsgResult(message);
    uint8_t* body = const_cast<uint8_t*>(MsgBody(message));
    const uint32_t length = MsgBodyLength(message);
    if (length < 4)
        return FALSE;
    const uint16_t count = ReadWireU16(body);
    const uint64_t recordsEnd = 4 + uint64_t(count) * sizeof(JoinPlayerRecord);
    if (recordsEnd > length)
        return FALSE;
    reply->count = count;
    reply->secondValue = ReadWireU16(body + 2);
    reply->records = reinterpret_cast<JoinPlayerRecord*>(body + 4);
    for (int i = 0; i < count; i++) {
        reply->records[i].userName[sizeof(reply->records[i].userName) - 1] = '\0';
        reply->records[i].nickname[sizeof(reply->records[i].nickname) - 1] = '\0';
    }

    // u32 length and bytes of each blob; the second only after a first that
    // ends inside the body.
    uint32_t offset = (uint32_t)recordsEnd;
    for (int nBlob = 0; nBlob < 2 && offset < length; nBlob++) {
        if (length - offset < 4)
            return FALSE;
        const uint32_t blobLength = ReadWireU32(body + offset);
        offset += 4;
        if (blobLength > length - offset)
            return FALSE;
        if (nBlob == 0) {
            reply->blob1Length = blobLength;
            reply->blob1 = body + offset;
        } else {
            reply->blob2Length = blobLength;
            reply->blob2 = body + offset;
        }
        offset += blobLength;
    }
    return TRUE;
}

}  // namespace

BOOL ParseJoinReply(uint8_t* message, JoinReply* reply)
{
    *reply = JoinReply();
    if (ReadJoinReply(message, reply))
        return TRUE;
    *reply = JoinReply();
    return FALSE;
}

// ---- Order ------------------------------------------------------------------------------

PlayerOrderResult OrderJoinedPlayers(const JoinPlayerRecord* records, int count, uint32_t ownChair,
                                     std::vector<int>* order)
{
    order->clear();
    std::vector<int> seated;
    int nOwn = -1;
    for (int i = 0; i < count; i++) {
        if (records[i].userName[0] == '\0')
            continue;
        if ((records[i].chairAndCodePage & 0xFFFF) == ownChair && nOwn < 0)
            nOwn = (int)seated.size();
        seated.push_back(i);
    }
    if (seated.empty())
        return kPlayerOrderNoPlayers;
    if (nOwn < 0)
        return kPlayerOrderNoOwnSeat;
    const int n = (int)seated.size();
    for (int j = 0; j < n; j++)
        order->push_back(seated[(size_t)(((nOwn - j) % n + n) % n)]);
    return kPlayerOrderOk;
}

// ---- Joining ----------------------------------------------------------------------------

JoinProgressRoutine SetJoinProgressRoutine(JoinProgressRoutine routine)
{
    JoinProgressRoutine previous = g_pfnJoinProgress;
    g_pfnJoinProgress = routine;
    return previous;
}

uint16_t GetJoinSecondValue() { return g_wJoinSecondValue; }

namespace {

// Nicknames written in another code page than the client's are converted
// into it; every chair word keeps its chair only.
void ConvertNicknames(JoinReply& reply)
{
    const UINT nOwnCodePage = GetClientCodePage();
    for (int i = 0; i < reply.count; i++) {
        JoinPlayerRecord& record = reply.records[i];
        const UINT nCodePage = record.chairAndCodePage >> 16;
        if (nCodePage != 0 && nCodePage != nOwnCodePage)
            ConvertCodePageInPlace(record.nickname, (int)sizeof(record.nickname), nCodePage, nOwnCodePage);
        record.chairAndCodePage &= 0xFFFF;
    }
}

// A refused join: the connection closes and the box says why.
void RefuseJoin(CGameSocket& socket, UINT nStringId, BOOL bShowBox)
{
    socket.Close();
    if (bShowBox)
        MsgBoxId(nStringId, MB_ICONSTOP, -1);
}

}  // namespace

BOOL EnterGameChannel(CGameSocket& socket, const GameLaunchInfo& info, BOOL bAsk, uint8_t** ppReplyMessage,
                      JoinReply* reply)
{
    *ppReplyMessage = nullptr;
    *reply = JoinReply();
    WaitCursorScope waitCursor;

    Progress(kJoinProgressOpen, IDS_NET_CONNECTING);
    if (!socket.Connect(info.serverHost, info.serverPort, TRUE)) {
        Progress(kJoinProgressClose, 0);
        return FALSE;
    }
    Progress(kJoinProgressText, IDS_APP_READING_PLAYERS);
    Progress(kJoinProgressClose, 0);

    // A join after an earlier one (which left receiving stopped) must read
    // its reply.
    socket.StartReceive();
    const std::vector<uint8_t> request = BuildJoinRequest(info);
    uint8_t* pReply = nullptr;
    if (!socket.SendMsg(request.data(), reinterpret_cast<void**>(&pReply)) || pReply == nullptr)
        return FALSE;
    socket.StopReceive();

    const uint32_t result = MsgResult(pReply);
    socket.SetJoinResult(result);
    if ((result & 0xFF) == kJoinResultOk && ParseJoinReply(pReply, reply)) {
        g_wJoinSecondValue = reply->secondValue;
        ConvertNicknames(*reply);
        *ppReplyMessage = pReply;
        return TRUE;
    }
    free(pReply);
    *reply = JoinReply();
    if ((result & 0xFF) == kJoinResultIllegalUser)
        RefuseJoin(socket, IDS_APP_ILLEGAL_USER, bAsk);
    else
        RefuseJoin(socket, IDS_APP_CHANNEL_CLOSED, TRUE);
    return FALSE;
}

BOOL JoinFromLaunch(CGameSocket& socket, BOOL bAsk, uint8_t** ppReplyMessage, JoinReply* reply)
{
    *ppReplyMessage = nullptr;
    *reply = JoinReply();
    const int argc = LaunchArgumentCount();
    if ((argc == 14 || argc == 15) && ReadLaunchInfo() != 1) {
        if (bAsk)
            MsgBoxId(IDS_APP_LOBBY_ONLY, MB_ICONSTOP, -1);
        return FALSE;
    }
    return EnterGameChannel(socket, theLaunchInfo, bAsk, ppReplyMessage, reply);
}
