// A window with the chat, avatar and advert stand-in controls, for a look
// at them on the test display: embed_showcase [seconds].
#include "AxControls.h"
#include "AxStandInTest.h"
#include "QVAdCtrl.h"
#include "QVAvatar.h"
#include "QVChatEx.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

class CShowcaseWnd : public CWnd
{
public:
    BOOL CreateShowcase()
    {
        return CreateEx(0, AfxRegisterWndClass(0, NULL, (HBRUSH)(COLOR_BTNFACE + 1)), "Embedded controls",
                        WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 40, 40, 720, 460, NULL, NULL);
    }
};

} // namespace

int main(int argc, char** argv)
{
    int nSeconds = argc > 1 ? atoi(argv[1]) : 5;
    AfxOleInitThread();
    CStandInServer chatServer, avatarServer, advertServer;
    if (!chatServer.Serve("QVChatEx.dll", CLSID_QVChatEx) || !avatarServer.Serve("QVAvatar.dll", CLSID_QVAvatar)
        || !advertServer.Serve("QVAdCtrl.ocx", CLSID_QVAdCtrl)) {
        fprintf(stderr, "embed_showcase: stand-in controls not found\n");
        return 1;
    }
    CShowcaseWnd wnd;
    if (!wnd.CreateShowcase())
        return 1;
    CQVChatEx* pChat = CreateChatControl();
    pChat->Create(WS_CHILD | WS_VISIBLE, CRect(10, 10, 370, 410), &wnd, 29741);
    pChat->CallDispid75("\r\n<s=10,c=#00#00#FF,b>Welcome to table 7");
    pChat->CallDispid75("\r\n<s=10,c=#00#00#00,b>player1: good luck");
    pChat->CallDispid52(4, "player2: have fun");
    pChat->CallDispid75("\r\n<s=10,c=#00#00#FF,b>screenshot saved");

    CAvatarPanel panel;
    panel.SetupAvatar("face=3;hat=1", 2500, &wnd, 20022, 2);
    panel.Place(390, 10, 12, 0, 0);

    char dir[MAX_PATH];
    ::GetTempPathA(MAX_PATH, dir);
    std::string page = std::string(dir) + "mardavel_showcase_ad.htm";
    FILE* f = fopen(page.c_str(), "w");
    if (f != NULL) {
        fputs("<html><body><b>Mardavel</b> tournament tonight: five seats, four packs.</body></html>", f);
        fclose(f);
    }
    CQVAdCtrl ad;
    ad.Create(WS_CHILD | WS_VISIBLE, CRect(390, 220, 700, 300), &wnd, 3);
    ad.m_bVersion = FALSE;
    ad.ShowPage((std::string(dir) + "mardavel_showcase_ad.gif").c_str(), TRUE);

    DWORD dwEnd = ::GetTickCount() + (DWORD)nSeconds * 1000;
    MSG msg;
    while ((LONG)(dwEnd - ::GetTickCount()) > 0) {
        while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::MsgWaitForMultipleObjects(0, NULL, FALSE, 50, QS_ALLINPUT);
    }
    ad.DestroyWindow();
    panel.DestroyWindow();
    delete pChat;
    wnd.DestroyWindow();
    ::DeleteFileA(page.c_str());
    return 0;
}
