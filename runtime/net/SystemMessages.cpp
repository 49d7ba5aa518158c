// The platform's system messages: CGameSocket::OnMessage and the handlers
// behind it. Every body is read bounded by its length; a body shorter than
// its fixed fields is consumed and ignored.
#include "GameSocket.h"

#include <cstring>
#include <new>
#include <vector>

#include "NetStrings.h"
#include "app/GameEnvironment.h"
#include "StringFunctions.h"
#include "SystemMessageBodies.h"

namespace {

const char kProcessKey[] = "Software\\Quorvintel\\Game\\Share\\Settings\\MPID";
const char kSwitchWindowTitle[] = "switch window";
const UINT kSwitchWindowMessage = 0x1212;

const uint32_t kResultOk = 1;
const UINT kStopIcon = MB_ICONSTOP;

// The body's leading text (a user name), bounded by the body.
std::string LeadingName(const void* pMessage, uint32_t nMaxLength = 0)
{
    return ReadBodyText(MsgBody(pMessage), MsgBodyLength(pMessage), 0, nMaxLength);
}

CString FormatWithName(UINT nStringId, const std::string& name)
{
    CString text;
    text.Format(LoadNetString(nStringId), name.c_str());
    return text;
}

CString FormatNotice(const char* pszFormat, const std::string& name)
{
    CString text;
    text.Format(pszFormat, name.c_str());
    return text;
}

// The program's file name without its folder.
CString ModuleFileName()
{
    char szPath[MAX_PATH] = "";
    ::GetModuleFileNameA(NULL, szPath, sizeof(szPath));
    const char* pszName = strrchr(szPath, '\\');
    return CString(pszName != NULL ? pszName + 1 : szPath);
}

}  // namespace

BOOL CGameSocket::OnMessage(void* pMessage)
{
    const uint32_t id = MsgId(pMessage);
    const uint32_t nLength = MsgBodyLength(pMessage);
    const uint8_t* pBody = MsgBody(pMessage);
    switch (id) {
    case netmsg::kTransforms:
        InstallTransforms(pMessage);
        return TRUE;
    case netmsg::kRegisterProcess:
        RegisterProcess(TRUE);
        return TRUE;
    case netmsg::kOpenAddress:
        HandleOpenAddress(pMessage);
        return TRUE;
    case netmsg::kPlayerOffline:
        if (nLength > 0) {
            ShowNotice(FormatNotice(kNoticePlayerOffline, LeadingName(pMessage)));
            OnPlayerOffline(pMessage);
        }
        return TRUE;
    case netmsg::kPlayerBack:
        if (nLength > 0) {
            ShowNotice(FormatNotice(kNoticePlayerBack, LeadingName(pMessage)));
            OnPlayerBack(pMessage);
        }
        return TRUE;
    case netmsg::kMayClose:
        if (nLength >= 4)
            m_bMayClose = ReadWireU32(pBody);
        return TRUE;
    case netmsg::kQuery:
        HandleQuery(pMessage);
        return TRUE;
    case netmsg::kLocalAddress:
        HandleLocalAddress();
        return TRUE;
    case netmsg::kServerBox:
        HandleServerBox(pMessage);
        return TRUE;
    case netmsg::kStatusRecord:
        HandleStatusRecord(pMessage);
        return TRUE;
    case netmsg::kNoticePopup:
        if (!m_bNoticesEnabled)
            return FALSE;
        OnNoticePopup(pMessage);
        return TRUE;
    case netmsg::kLeaveReply:
        HandleLeaveReply(pMessage);
        return FALSE;
    case netmsg::kConnectionLost:
        OnConnectionLost();
        return TRUE;
    case netmsg::kTrustQuitReply:
        OnTrustPlayerQuit(pMessage);
        return TRUE;
    case netmsg::kTrustState:
        HandleTrustState(pMessage);
        return TRUE;
    case netmsg::kTrustPermission:
        m_dwTrustPermission = MsgResult(pMessage);
        return TRUE;
    case netmsg::kWealth:
        HandleWealth(pMessage);
        return TRUE;
    case netmsg::kEndOfGame:
        HandleEndOfGame(pMessage);
        return FALSE;
    default:
        return FALSE;
    }
}

/////////////////////////////////////////////////////////////////////////////
// Stream transforms (0x160)

void CGameSocket::InstallTransforms(const void* pMessage)
{
    TransformBody body;
    if (!ParseTransformBody(MsgBody(pMessage), MsgBodyLength(pMessage), body))
        return;
    try {
        auto sendTransform = std::make_unique<CStreamTransform>(body.sendKey, body.sendKeyLength, body.sendParameter);
        auto receiveTransform =
            std::make_unique<CStreamTransform>(body.receiveKey, body.receiveKeyLength, body.receiveParameter);
        m_sendTransform = std::move(sendTransform);
        m_receiveTransform = std::move(receiveTransform);
        // Bytes read behind this message are read through the new transform:
        // the next of them may make a whole message only now.
        QueueNextRead();
    } catch (const std::bad_alloc&) {
        OnClose(kNetErrorNoBox);
    }
}

/////////////////////////////////////////////////////////////////////////////
// Players, the connection's state and the end of the game

void CGameSocket::OnPlayerOffline(void* pMessage)
{
    ShowNotice(FormatWithName(IDS_NET_PLAYER_OFFLINE, LeadingName(pMessage)));
}

void CGameSocket::OnPlayerBack(void* pMessage)
{
    ShowNotice(FormatWithName(IDS_NET_PLAYER_BACK, LeadingName(pMessage)));
}

void CGameSocket::OnCloseNotice(void*)
{
    m_nStateCode = 6;
    OnClose(kNetErrorNoBox);
}

void CGameSocket::OnTrustStateNotice(void*)
{
}

void CGameSocket::OnTrustQuitNotice(void*)
{
}

void CGameSocket::OnConnectionLost()
{
    m_bLost = TRUE;
    m_bMayClose = TRUE;
    if (m_bAsk)
        ShowIdBox(IDS_NET_CONNECTION_LOST, MB_ICONINFORMATION);
    HWND hMain = MainWindow();
    if (hMain != NULL)
        ::SendMessageA(hMain, WM_CLOSE, 0, 0);
}

void CGameSocket::HandleLeaveReply(const void* pMessage)
{
    const std::string name = LeadingName(pMessage);
    Close();
    m_nStateCode = 5;
    if (m_bAsk)
        ShowTextBox(FormatWithName(IDS_NET_PLAYER_LEFT, name), kStopIcon);
    OnClose(kNetErrorNoBox);
}

void CGameSocket::HandleEndOfGame(const void* pMessage)
{
    const std::string name = LeadingName(pMessage);
    CString text;
    UINT nStringId = 0;   // a text without the name goes by its id
    switch (MsgResult(pMessage)) {
    case 1:
        m_nStateCode = 1;
        text = FormatWithName(IDS_NET_PLAYER_FORCED_OUT, name);
        break;
    case 2:
        m_nStateCode = 2;
        nStringId = IDS_NET_DOUBLE_LOGIN;
        break;
    case 4:
        m_nStateCode = 3;
        if (IsOwnUserName(name.c_str()))
            nStringId = IDS_NET_OWN_ROOM_LOST;
        else
            text = FormatWithName(IDS_NET_OTHER_ROOM_LOST, name);
        break;
    case 8:
        m_nStateCode = 4;
        text = FormatWithName(IDS_NET_PLAYER_LOST, name);
        break;
    default:
        m_nStateCode = 0;
        nStringId = IDS_NET_FATAL_UNKNOWN;
        break;
    }
    Close();
    if (m_bAsk) {
        if (nStringId != 0)
            ShowIdBox(nStringId, kStopIcon);
        else
            ShowTextBox(text, kStopIcon);
    }
    OnClose(kNetErrorNoBox);
}

void CGameSocket::HandleStatusRecord(const void* pMessage)
{
    if (MsgBodyLength(pMessage) < kStatusRecordSize)
        return;
    const std::string name = ReadBodyText(MsgBody(pMessage), kStatusRecordSize, 0);
    const CString& watched = m_strWatchedUserName.IsEmpty() ? m_strOwnUserName : m_strWatchedUserName;
    if (watched.CompareNoCase(name.c_str()) == 0)
        memcpy(m_statusRecord, MsgBody(pMessage), kStatusRecordSize);
}

/////////////////////////////////////////////////////////////////////////////
// Trust play

void CGameSocket::HandleTrustState(const void* pMessage)
{
    TrustStateBody body;
    if (!ParseTrustStateBody(MsgBody(pMessage), MsgBodyLength(pMessage), body))
        return;
    const int nBoxArgument = 5;
    if (MsgResult(pMessage) != kResultOk) {
        if (body.mode == 1) {
            ShowIdBox(IDS_NET_TRUST_REFUSED, 0, nBoxArgument);
        } else if (body.limit != 0) {
            CString text;
            text.Format(LoadNetString(IDS_NET_UNTRUST_OVER_LIMIT), (int)body.limit);
            ShowTextBox(text, 0, nBoxArgument);
        } else {
            ShowIdBox(IDS_NET_UNTRUST_REFUSED, 0, nBoxArgument);
        }
        OnTrustStateNotice(const_cast<void*>(pMessage));
        return;
    }
    OnTrustStateNotice(const_cast<void*>(pMessage));
    if (!IsOwnUserName(body.userName.c_str())) {
        const char* pszNotice = body.mode == 0 ? kNoticeUntrusted : body.mode == 2 ? kNoticeTrustTimeout : kNoticeTrusted;
        ShowNotice(FormatNotice(pszNotice, body.userName));
        return;
    }
    const UINT nStringId = body.mode == 1 ? IDS_NET_TRUST_ON : body.mode == 2 ? IDS_NET_TRUST_TIMEOUT : IDS_NET_TRUST_OFF;
    CString text;
    text.Format(LoadNetString(nStringId), (int)body.used, (int)body.limit);
    HWND hMain = MainWindow();
    if (hMain != NULL && ::IsWindowVisible(hMain))
        ShowStateText(text, MB_ICONINFORMATION, body.mode == 1 || body.mode == 2 ? 0 : nBoxArgument);
    else
        ShowTextBox(text, MB_ICONINFORMATION, body.mode == 1 || body.mode == 2 ? 0 : nBoxArgument);
}

uint32_t CGameSocket::RequestTrustQuit()
{
    char szName[kUserNameField] = {0};
    const size_t nKept = CharBoundaryAtOrBefore(m_strOwnUserName, kUserNameField - 1);
    memcpy(szName, (LPCSTR)m_strOwnUserName, nKept);
    const std::vector<uint8_t> request = BuildNetMessage(netmsg::kTrustQuit, szName, sizeof(szName));
    void* pReply = NULL;
    if (!SendMsg(request.data(), &pReply, netmsg::kTrustQuitReply)) {
        // Handled as the server's refusal.
        const std::vector<uint8_t> refusal = BuildNetMessage(netmsg::kTrustQuitReply, szName, sizeof(szName), 0);
        OnTrustPlayerQuit(refusal.data());
        return 0;
    }
    const uint32_t dwResult = MsgResult(pReply);
    OnTrustPlayerQuit(pReply);
    FreeNetMessage(pReply);
    return dwResult;
}

void CGameSocket::OnTrustPlayerQuit(const void* pMessage)
{
    const std::string name = LeadingName(pMessage, kUserNameField);
    if (!IsOwnUserName(name.c_str())) {
        ShowNotice(FormatNotice(kNoticeTrustQuit, name));
        OnTrustQuitNotice(const_cast<void*>(pMessage));
        return;
    }
    if (MsgResult(pMessage) == kResultOk) {
        m_bQuitting = TRUE;
        Close();
        HWND hMain = MainWindow();
        if (hMain != NULL)
            ::SendMessageA(hMain, WM_CLOSE, 0, 0);
        return;
    }
    ShowIdBox(IDS_NET_TRUST_QUIT_REFUSED, 0, 5);
}

/////////////////////////////////////////////////////////////////////////////
// End-of-hand wealth (0x80000233)

void CGameSocket::HandleWealth(const void* pMessage)
{
    const uint32_t nCount = MsgBodyLength(pMessage) / sizeof(WealthRecord);
    const uint8_t* pBody = MsgBody(pMessage);
    for (uint32_t i = 0; i < nCount && m_pUi->HasChatControl(); i++) {
        WealthRecord record;
        memcpy(&record, pBody + i * sizeof(WealthRecord), sizeof(record));
        record.userName[kUserNameField - 1] = '\0';
        m_pUi->AddWealthRecord(record, record.value);
    }
    HWND hMain = MainWindow();
    if (nCount == 0 || MsgResult(pMessage) != kResultOk || hMain == NULL || !::IsWindowVisible(hMain))
        return;
    CString text = LoadNetString(IDS_NET_WEALTH_HEADER);
    for (uint32_t i = 0; i < nCount; i++) {
        const uint8_t* pRecord = pBody + i * sizeof(WealthRecord);
        CString line;
        line.Format(kWealthLine, ReadBodyText(pRecord, kUserNameField, 0).c_str(),
                    (int)ReadWireU32(pRecord + offsetof(WealthRecord, wealthChange)));
        text += line;
    }
    ShowTextBox(text, MB_ICONINFORMATION, 30);
}

/////////////////////////////////////////////////////////////////////////////
// Boxes, addresses and queries of the server

CString CGameSocket::ConvertFromCodePage(const std::string& text, UINT nCodePage) const
{
    // Into the client's code page (string 29936) with the code-page
    // converter that names go through; the system's conversion only when no
    // converter is bound.
    const UINT nClientCodePage = GetClientCodePage();
    if (text.empty() || nCodePage == 0 || nCodePage == nClientCodePage)
        return CString(text.c_str());
    if (LoadCodePageConverter()) {
        std::vector<char> converted(text.size() * 2 + 2, '\0');
        if (ConvertCodePageText(converted.data(), text.c_str(), (int)converted.size(), nCodePage, nClientCodePage))
            return CString(converted.data());
    }
    if (nCodePage == ::GetACP())
        return CString(text.c_str());
    const int nWide = ::MultiByteToWideChar(nCodePage, 0, text.data(), (int)text.size(), NULL, 0);
    if (nWide <= 0)
        return CString(text.c_str());
    std::wstring wide((size_t)nWide, L'\0');
    ::MultiByteToWideChar(nCodePage, 0, text.data(), (int)text.size(), &wide[0], nWide);
    return CString(wide.c_str(), nWide);
}

void CGameSocket::HandleOpenAddress(const void* pMessage)
{
    OpenAddressBody body;
    if (!ParseOpenAddressBody(MsgBody(pMessage), MsgBodyLength(pMessage), body))
        return;
    const CString first = ConvertFromCodePage(body.firstText, body.codePage);
    const CString address = body.stringId == 0 ? ConvertFromCodePage(body.secondText, body.codePage) : first;
    BOOL bOpen = body.openFlag != kDoNotOpen;
    if (body.stringId != kNoBoxStringId) {
        const UINT nFlags = ServerBoxFlags(body.boxFlags);
        const int nAnswer = body.stringId == 0 ? ShowTextBox(first, nFlags) : ShowIdBox(body.stringId, nFlags);
        if ((uint32_t)nAnswer != body.expectedAnswer)
            bOpen = FALSE;
    }
    // Only web addresses are opened: nothing the server names is run.
    if (bOpen && !address.IsEmpty() && IsWebAddress((LPCSTR)address))
        m_pUi->OpenAddress(address);
    if (body.closeFlag != 0)
        Close();
    if (body.lostFlag != 0) {
        m_bMayClose = TRUE;
        m_bLost = TRUE;
        OnCloseNotice(NULL);
    }
}

void CGameSocket::HandleServerBox(const void* pMessage)
{
    ServerBoxBody body;
    if (!ParseServerBoxBody(MsgBody(pMessage), MsgBodyLength(pMessage), body))
        return;
    const UINT nFlags = ServerBoxFlags(body.boxFlags);
    if (body.stringId != 0)
        ShowIdBox(body.stringId, nFlags, (int)body.argument);
    else
        ShowTextBox(body.text.c_str(), nFlags, (int)body.argument);
}

void CGameSocket::HandleQuery(const void* pMessage)
{
    QueryBody query;
    if (ParseQueryBody(MsgBody(pMessage), MsgBodyLength(pMessage), query) != QueryKind::kQuery)
        return;
    CString answerText;
    StopReceive();
    PostCancelModeToMainChildren();
    const int nAnswer = m_pUi->AskQuery(query.text.c_str(), query.style, query.argument, query.wantsText != 0, answerText);
    StartReceive();
    const size_t nText = query.wantsText != 0 && !answerText.IsEmpty() ? answerText.GetLength() + 1 : 0;
    std::vector<uint8_t> body(8 + nText);
    WriteWireU32(body.data(), query.queryId);
    WriteWireU32(body.data() + 4, (uint32_t)nAnswer);
    if (nText != 0)
        memcpy(body.data() + 8, (LPCSTR)answerText, nText);
    const std::vector<uint8_t> reply = BuildNetMessage(netmsg::kQueryAnswer, body.data(), (uint32_t)body.size(), 0);
    SendMsg(reply.data());
}

void CGameSocket::HandleLocalAddress()
{
    SOCKADDR_IN local;
    int nLength = sizeof(local);
    if (m_hSocket == INVALID_SOCKET || !GetSockName((SOCKADDR*)&local, &nLength) || local.sin_family != AF_INET)
        return;
    uint8_t body[8];
    memcpy(body, &local.sin_addr.s_addr, 4);   // as stored: network order
    WriteWireU32(body + 4, local.sin_port);     // as stored: network order
    const std::vector<uint8_t> reply = BuildNetMessage(netmsg::kLocalAddressReply, body, sizeof(body), 0);
    SendMsg(reply.data());
}

void CGameSocket::OnNoticePopup(void* pMessage)
{
    if (MsgBodyLength(pMessage) < sizeof(NoticePopupBody))
        return;
    NoticePopupBody popup;
    memcpy(&popup, MsgBody(pMessage), sizeof(popup));
    popup.title[sizeof(popup.title) - 1] = '\0';
    popup.address[sizeof(popup.address) - 1] = '\0';
    if (popup.address[0] == '\0' || !IsWebAddress(popup.address))
        return;
    StopReceive();
    m_pUi->ShowWebNotice(popup.title, popup.address, ReadWireU32(&popup.width), ReadWireU32(&popup.height));
    StartReceive();
}

/////////////////////////////////////////////////////////////////////////////
// Process registration (0x1A1)

void CGameSocket::RegisterProcess(BOOL bRegister)
{
    m_bRegistered = bRegister;
    const CString name = ModuleFileName();
    HKEY hKey;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, kProcessKey, 0, NULL, 0, KEY_SET_VALUE, NULL, &hKey, NULL) ==
        ERROR_SUCCESS) {
        if (bRegister) {
            const DWORD dwProcessId = ::GetCurrentProcessId();
            ::RegSetValueExA(hKey, name, 0, REG_DWORD, (const BYTE*)&dwProcessId, sizeof(dwProcessId));
        } else {
            ::RegDeleteValueA(hKey, name);
        }
        ::RegCloseKey(hKey);
    }
    HWND hSwitch = ::FindWindowA(NULL, kSwitchWindowTitle);
    if (hSwitch != NULL)
        ::PostMessageA(hSwitch, kSwitchWindowMessage, bRegister ? 1 : 0, 0);
}
