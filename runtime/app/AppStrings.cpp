#include "AppStrings.h"

namespace {

struct AppString {
    UINT id;
    const char* text;
};

const AppString kBuiltIn[] = {
    {IDS_APP_LOBBY_ONLY, "本游戏只能从游戏大厅中进入，请安装并启动游戏大厅。"},
    {IDS_APP_READING_PLAYERS, "正在读取游戏者信息..."},
    {IDS_APP_CHANNEL_CLOSED, "现在无法进入游戏通道，请过一会儿再试试"},
    {IDS_APP_ILLEGAL_USER, "发现非法用户名企图登录！"},
    {IDS_APP_COLUMN_USER, "用户名"},
    {IDS_APP_COLUMN_NICKNAME, "昵称"},
    {IDS_APP_COLUMN_LEVEL, "等级"},
    {IDS_APP_COLUMN_SCORE, "积分"},
    {IDS_APP_COLUMN_WATCHED, "旁观对象"},
};

}  // namespace

LPCSTR BuiltInAppString(UINT nId)
{
    for (const AppString& s : kBuiltIn)
        if (s.id == nId)
            return s.text;
    return NULL;
}

CString LoadAppString(UINT nId)
{
    CString text;
    if (text.LoadString(nId))
        return text;
    LPCSTR lpszBuiltIn = BuiltInAppString(nId);
    return CString(lpszBuiltIn != NULL ? lpszBuiltIn : "");
}
