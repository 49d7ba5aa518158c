// The game program of the end-to-end test: the application base's start-up
// as a real program, started by the lobby stand-in. After the start-up it
// writes the player list to its log, sends the lobby a room notice and a
// refresh, registers and unregisters its process, leaves the table and ends
// (the base then writes the log's end line). Boxes are written to the log
// and answered with OK.
#include "afxwin.h"

#include <stdio.h>

#include "ClientServices.h"
#include "GameApp.h"
#include "GameEnvironment.h"
#include "net/GameClientSocket.h"

namespace {

int LogBox(MsgBoxRequest& request)
{
    CString line("[MsgBox] ");
    line += request.text;
    WriteGameLog(line);
    return IDOK;
}

BOOL MpidPresent()
{
    char name[MAX_PATH] = "";
    ::GetModuleFileNameA(NULL, name, MAX_PATH);
    const char* file = strrchr(name, '\\') != NULL ? strrchr(name, '\\') + 1 : name;
    DWORD value = 0, size = sizeof(value);
    return ::RegGetValueA(HKEY_CURRENT_USER, "Software\\Quorvintel\\Game\\Share\\Settings\\MPID", file,
                          RRF_RT_REG_DWORD, NULL, &value, &size) == ERROR_SUCCESS &&
           value == ::GetCurrentProcessId();
}

class CEndToEndApp : public CGameApp
{
public:
    CEndToEndApp() : CGameApp("AppEndToEnd") { m_nSeatCount = 5; }

    BOOL InitInstance() override
    {
        SetMsgBoxRoutine(LogBox);
        theGameSocket.SetAskFlags(FALSE);
        if (!CGameApp::InitInstance())
            return FALSE;
        CString line;
        line.Format("[EndToEnd] online %d watcher %d own chair %u players %d", m_bOnline, m_bWatcher, m_nOwnChair,
                    GetPlayerCount());
        WriteLog(line);
        for (int i = 0; i < GetPlayerCount(); i++) {
            const CGamePlayer* player = GetPlayer(i);
            line.Format("[EndToEnd] player %d %s chair %u position %u", i, player->m_pszUserName, player->m_nChair,
                        player->m_nPosition);
            WriteLog(line);
        }
        if (m_bOnline) {
            RoomRecSetString("a room notice longer than thirty-one characters", 42, 7);
            if (OpenRoomRec()) {
                RefreshRoom();
                CloseRoomRec();
            }
            theGameSocket.RegisterProcess(TRUE);
            line.Format("[EndToEnd] registered %d", MpidPresent());
            WriteLog(line);
            theGameSocket.RegisterProcess(FALSE);
            line.Format("[EndToEnd] unregistered %d", !MpidPresent());
            WriteLog(line);
            theGameSocket.LeaveAndClose();
        }
        ::PostQuitMessage(0);
        return TRUE;
    }

    void OnLaunchValue(uint32_t nValue, uint32_t nLength, const uint8_t* pBlob1, BOOL bWatching) override
    {
        CString line;
        line.Format("[EndToEnd] launch value %u watching %d options %.*s", nValue, bWatching, (int)nLength,
                    pBlob1 != NULL ? (const char*)pBlob1 : "");
        WriteLog(line);
    }
};

CEndToEndApp theApp;

}  // namespace
