// Texts of the application base: the string ids of its boxes, progress texts
// and chat column titles, with a built-in copy of each. (29908, the
// connecting text, is the connection's: IDS_NET_CONNECTING.)
//
// The resource library's string table holds the texts by id; when it has no
// such string the built-in copy is used, so a box never comes up empty.
#pragma once

#include "afx.h"

enum AppStringId : UINT {
    IDS_APP_LOBBY_ONLY = 29912,          // "本游戏只能从游戏大厅中进入，请安装并启动游戏大厅。"
    IDS_APP_READING_PLAYERS = 29913,     // "正在读取游戏者信息..."
    IDS_APP_CHANNEL_CLOSED = 29914,      // "现在无法进入游戏通道，请过一会儿再试试"
    IDS_APP_ILLEGAL_USER = 29915,        // "发现非法用户名企图登录！"
    IDS_APP_COLUMN_USER = 29923,         // "用户名"
    IDS_APP_COLUMN_NICKNAME = 29924,     // "昵称"
    IDS_APP_COLUMN_LEVEL = 29925,        // "等级"
    IDS_APP_COLUMN_SCORE = 29926,        // "积分"
    IDS_APP_COLUMN_WATCHED = 29927,      // "旁观对象"
    IDS_APP_CODE_PAGE = 29936,           // the client's code page number ("936"); no built-in copy
};

// The text of a string id: the resource library's, else the built-in copy
// (empty for an id of another part of the program).
CString LoadAppString(UINT nId);
// The built-in copy only; NULL for an unknown id.
LPCSTR BuiltInAppString(UINT nId);
