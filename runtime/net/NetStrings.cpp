#include "NetStrings.h"

namespace {

struct NetString {
    UINT id;
    const char* text;
};

// The two texts that the resource library has no fixed wording for (29930,
// 29934) are the connection's own.
const NetString kBuiltIn[] = {
    {IDS_NET_SEND_TOO_LONG, "发送网络消息失败。错误码：0x0406。"},
    {IDS_NET_RESET_BY_SERVER, "错误\n\n网络连接被服务器复位"},
    {IDS_NET_SERVICE_NOT_STARTED, "错误\n\n服务没有启动，请尝试连接其它服务器"},
    {IDS_NET_ABANDONED, "错误\n\nWindows Socket放弃了连接，连接被复位"},
    {IDS_NET_ABORTED, "错误\n\n由于超时或其它原因引起连接被中断"},
    {IDS_NET_PROXY_UNREACHABLE, "错误\n\n无法与代理服务器建立连接，请检查代理服务器是否正常工作"},
    {IDS_NET_PROXY_REFUSED, "错误\n\n无法通过代理服务器建立连接，请检查代理服务器是否支持SOCKS协议"},
    {IDS_NET_OTHER_ERROR, "错误\n\n由于网络错误或者其它原因引起连接被中断"},
    {IDS_NET_TIMED_OUT, "错误\n\n由于连接、发送或者接收超时，连接被中断"},
    {IDS_NET_CONNECTING, "正在与游戏服务器连接..."},
    {IDS_NET_NO_INTERNET, "无法与服务器连接。\n\n请检查 Internet 是否连通"},
    {IDS_NET_WAIT_LONGER, "数据发送或接收超时，是否需要继续等待？"},
    {IDS_NET_DOUBLE_LOGIN,
     "***警告***：\n\n发现另一位用户以您的用户名和口令进入了游戏室，您与服务器的连接已经断开。\n\n"
     "为了保证您自身的利益，请千万不要将用户名和密码告诉他人。"},
    {IDS_NET_OWN_ROOM_LOST, "***警告***：\n\n您的游戏室已经与服务器失去联系，游戏无法继续进行"},
    {IDS_NET_PLAYER_LEFT, "[%s] 已经退出该游戏，游戏结束"},
    {IDS_NET_PLAYER_FORCED_OUT, "[%s] 已强行退出游戏，游戏结束"},
    {IDS_NET_PLAYER_LOST, "[%s] 与游戏服务器失去联系，可能已经断线，游戏结束"},
    {IDS_NET_FATAL_UNKNOWN, "出现未知类型的致命错误，游戏结束"},
    {IDS_NET_PLAYER_OFFLINE, "[%s]断线了，\n\n稍等一会儿，他可能会重新连通的。"},
    {IDS_NET_PLAYER_BACK, "[%s]断线后又回来了。"},
    {IDS_NET_CONNECTION_LOST, "与游戏服务器的连接已经断开，游戏无法继续进行。"},
    {IDS_NET_OTHER_ROOM_LOST, "***警告***：\n\n[%s]的游戏室已经与服务器失去联系，游戏无法继续进行"},
    {IDS_NET_TRUST_REFUSED, "服务器不允许托管游戏。"},
    {IDS_NET_UNTRUST_REFUSED, "服务器不允许解除托管游戏。"},
    {IDS_NET_UNTRUST_OVER_LIMIT, "您在这局游戏的托管次数已经超过%d，不能再解除托管。"},
    {IDS_NET_TRUST_ON, "游戏托管中... 您已经托管了%d次，托管超过%d次将不能解除托管。"},
    {IDS_NET_TRUST_QUIT_REFUSED, "服务器不允许托管退出。"},
    {IDS_NET_WEALTH_HEADER, "本局游戏结束后财富值的输赢：\n\n"},
    {IDS_NET_TRUST_TIMEOUT, "超时自动托管中... 您已经托管了%d次，托管超过%d次将不能解除托管。"},
    {IDS_NET_TRUST_OFF, "已经成功解除托管，您已经托管了%d次，托管超过%d次将不能解除托管。"},
};

}  // namespace

const char kNoticePlayerOffline[] = "[%s] 断线了...";
const char kNoticePlayerBack[] = "[%s] 断线后回来了";
const char kNoticeUntrusted[] = "[%s] 解除了托管状态";
const char kNoticeTrustTimeout[] = "[%s] 因为超时进入了托管状态，现在由服务器暂时代他玩...";
const char kNoticeTrusted[] = "[%s] 进入了托管状态，现在由服务器暂时代他玩...";
const char kNoticeTrustQuit[] = "[%s] 托管退出了游戏";
const char kWealthLine[] = "[%s] : %d\n";

LPCSTR BuiltInNetString(UINT nId)
{
    for (const NetString& s : kBuiltIn)
        if (s.id == nId)
            return s.text;
    return NULL;
}

CString LoadNetString(UINT nId)
{
    CString text;
    if (text.LoadString(nId) && !text.IsEmpty())
        return text;
    LPCSTR builtIn = BuiltInNetString(nId);
    return builtIn != NULL ? CString(builtIn) : CString();
}

UINT ErrorStringIdOf(int nError)
{
    switch (nError) {
    case 0:
    case WSAECONNRESET:          // 10054
        return IDS_NET_RESET_BY_SERVER;
    case WSAECONNREFUSED:        // 10061
        return IDS_NET_SERVICE_NOT_STARTED;
    case WSAENETRESET:           // 10052
        return IDS_NET_ABANDONED;
    case WSAECONNABORTED:        // 10053
        return IDS_NET_ABORTED;
    case 10201:                  // the proxy could not be reached
        return IDS_NET_PROXY_UNREACHABLE;
    case 10202:                  // the proxy refused the handshake
        return IDS_NET_PROXY_REFUSED;
    case WSAETIMEDOUT:           // 10060
        return IDS_NET_TIMED_OUT;
    case WSAHOST_NOT_FOUND:      // 11001
        return IDS_NET_NO_INTERNET;
    case -1:
    case 10200:                  // cancelled by the caller
        return 0;
    default:
        return IDS_NET_OTHER_ERROR;
    }
}
