// Texts of the game connection: the string ids of its boxes and notices,
// and the literal notice texts.
//
// The string table of the resource library holds the texts by id; when the
// resource library has no such string, the built-in copy below is used, so a
// box never comes up empty. Texts are code page 936 at run time (the sources
// are UTF-8 compiled with -fexec-charset=GBK).
#pragma once

#include <winsock2.h>

#include "afx.h"

enum NetStringId : UINT {
    IDS_NET_SEND_TOO_LONG = 29674,        // "发送网络消息失败。错误码：0x0406。"
    IDS_NET_RESET_BY_SERVER = 29900,
    IDS_NET_SERVICE_NOT_STARTED = 29901,
    IDS_NET_ABANDONED = 29902,
    IDS_NET_ABORTED = 29903,
    IDS_NET_PROXY_UNREACHABLE = 29904,
    IDS_NET_PROXY_REFUSED = 29905,
    IDS_NET_OTHER_ERROR = 29906,
    IDS_NET_TIMED_OUT = 29907,
    IDS_NET_CONNECTING = 29908,
    IDS_NET_NO_INTERNET = 29909,
    IDS_NET_WAIT_LONGER = 29910,          // yes/no question of a wait that timed out
    IDS_NET_DOUBLE_LOGIN = 29917,
    IDS_NET_OWN_ROOM_LOST = 29918,
    IDS_NET_PLAYER_LEFT = 29919,          // %s
    IDS_NET_PLAYER_FORCED_OUT = 29920,    // %s
    IDS_NET_PLAYER_LOST = 29921,          // %s
    IDS_NET_FATAL_UNKNOWN = 29922,
    IDS_NET_PLAYER_OFFLINE = 29929,       // %s
    IDS_NET_PLAYER_BACK = 29930,          // %s
    IDS_NET_CONNECTION_LOST = 29934,
    IDS_NET_OTHER_ROOM_LOST = 29935,      // %s
    IDS_NET_TRUST_REFUSED = 29940,
    IDS_NET_UNTRUST_REFUSED = 29941,
    IDS_NET_UNTRUST_OVER_LIMIT = 29942,   // %d
    IDS_NET_TRUST_ON = 29943,             // %d %d
    IDS_NET_TRUST_QUIT_REFUSED = 29944,
    IDS_NET_WEALTH_HEADER = 29945,
    IDS_NET_TRUST_TIMEOUT = 29946,        // %d %d
    IDS_NET_TRUST_OFF = 29947,            // %d %d
};

// The text of a string id: from the resource library when it has it, else
// the built-in copy (empty for an id the connection does not know).
CString LoadNetString(UINT nId);
// The built-in copy only; NULL for an unknown id.
LPCSTR BuiltInNetString(UINT nId);

// Literal notices (each with the user name for %s).
extern const char kNoticePlayerOffline[];   // "[%s] 断线了..."
extern const char kNoticePlayerBack[];      // "[%s] 断线后回来了"
extern const char kNoticeUntrusted[];       // "[%s] 解除了托管状态"
extern const char kNoticeTrustTimeout[];    // "[%s] 因为超时进入了托管状态，现在由服务器暂时代他玩..."
extern const char kNoticeTrusted[];         // "[%s] 进入了托管状态，现在由服务器暂时代他玩..."
extern const char kNoticeTrustQuit[];       // "[%s] 托管退出了游戏"
extern const char kWealthLine[];            // "[%s] : %d\n"

// The string id of the box for a socket error of the connection; 0 for the
// errors that show no box (-1: out of memory or a close the program made;
// 10200: the caller cancelled).
UINT ErrorStringIdOf(int nError);
