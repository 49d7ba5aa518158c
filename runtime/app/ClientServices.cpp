#include "ClientServices.h"

#include "media/MusicPlayerDll.h"
#include "media/WaveSound.h"

#include <mmsystem.h>
#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>

#include "AppStrings.h"
#include "GameEnvironment.h"
#include "StringFunctions.h"
#include "net/GameSocket.h"
#include "net/MessageFrame.h"
#include "net/NetStrings.h"

// ---- Server address selection ------------------------------------------------------------

namespace {

std::string ReadProfile(LPCSTR lpszFile, LPCSTR lpszSection, LPCSTR lpszKey, DWORD nChars)
{
    std::string value(nChars + 1, '\0');
    ::GetPrivateProfileStringA(lpszSection, lpszKey, "", &value[0], nChars + 1, lpszFile);
    value.resize(strlen(value.c_str()));
    return value;
}

// The speed of an address: "NetSpeed" keyed by the address up to its last '.'.
int MeasuredSpeed(const std::string& speedFile, const std::string& address)
{
    const size_t dot = address.rfind('.');
    const std::string key = dot == std::string::npos ? address : address.substr(0, dot);
    return (int)::GetPrivateProfileIntA("NetSpeed", key.c_str(), -1, speedFile.c_str());
}

// One try at one address: 1 selected, 0 stop, -1 next address.
int TryServer(const std::string& address, UINT nPort, const RegisterRequestBody& body, ServerSelection* pOut)
{
    CGameSocket connection;
    connection.SetAskFlags(FALSE);
    if (!connection.Connect(address.c_str(), nPort, FALSE)) {
        connection.Close();
        return -1;
    }
    const std::vector<uint8_t> request = BuildNetMessage(kRegisterRequestId, &body, sizeof(body));
    uint8_t* pReply = nullptr;
    int nOutcome = 0;
    if (connection.SendMsg(request.data(), reinterpret_cast<void**>(&pReply)) && pReply != nullptr) {
        const uint32_t length = MsgBodyLength(pReply);
        if (MsgResult(pReply) == 1 && length >= 4) {
            const uint8_t* pBody = MsgBody(pReply);
            pOut->value = ReadWireU32(pBody);
            // The text ends at its zero byte or at the end of the body.
            const char* pText = reinterpret_cast<const char*>(pBody + 4);
            const size_t nMax = length - 4;
            const void* pZero = memchr(pText, 0, nMax);
            pOut->text = CString(pText, (int)(pZero != nullptr ? (const char*)pZero - pText : (ptrdiff_t)nMax));
            nOutcome = 1;
        }
    }
    free(pReply);
    connection.Close();
    return nOutcome;
}

template <size_t N>
void CopyField(char (&field)[N], LPCSTR lpszText)
{
    memset(field, 0, N);
    if (lpszText != NULL)
        memcpy(field, lpszText, CharBoundaryAtOrBefore(lpszText, N - 1));
}

}  // namespace

std::vector<ServerCandidate> GetServerCandidates(LPCSTR lpszHost, LPCSTR lpszFolder)
{
    std::vector<ServerCandidate> candidates;
    if (lpszHost == NULL || *lpszHost == '\0')
        return candidates;
    const std::string folder = lpszFolder != NULL ? lpszFolder : "";
    const std::string list = ReadProfile((folder + "\\LangRsc.ini").c_str(), "RegisterIP", lpszHost, 16384);
    if (list.size() < 2) {
        candidates.push_back({lpszHost, -1});
    } else {
        size_t start = 0;
        while (start <= list.size()) {
            size_t comma = list.find(',', start);
            if (comma == std::string::npos)
                comma = list.size();
            if (comma > start)
                candidates.push_back({list.substr(start, comma - start), -1});
            start = comma + 1;
        }
    }
    const std::string speedFile = folder + "\\netspeed1.dat";
    for (ServerCandidate& candidate : candidates)
        candidate.speed = MeasuredSpeed(speedFile, candidate.address);
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const ServerCandidate& a, const ServerCandidate& b) { return a.speed < b.speed; });
    return candidates;
}

BOOL SelectServerAddresses(ServerSelection* pOut, LPCSTR lpszHost, UINT nPort, LPCSTR lpszName, LPCSTR lpszText,
                           LPCSTR lpszFolder)
{
    if (pOut == NULL)
        return FALSE;
    *pOut = ServerSelection();
    RegisterRequestBody body;
    CopyField(body.name, lpszName);
    CopyField(body.text, lpszText);
    const std::vector<ServerCandidate> candidates = GetServerCandidates(lpszHost, lpszFolder);
    const size_t nTries = std::min(candidates.size(), (size_t)kMaxServerTries);
    for (size_t i = 0; i < nTries; i++) {
        const int nOutcome = TryServer(candidates[i].address, nPort, body, pOut);
        if (nOutcome >= 0)
            return nOutcome == 1;
    }
    return FALSE;
}

// ---- Module version ------------------------------------------------------------------------

void ParseVersionText(LPCSTR lpszText, WORD parts[4])
{
    parts[0] = parts[1] = parts[2] = parts[3] = 0;
    if (lpszText == NULL)
        return;
    char szText[64];
    memcpy(szText, lpszText, CharBoundaryAtOrBefore(lpszText, sizeof(szText) - 1));
    szText[CharBoundaryAtOrBefore(lpszText, sizeof(szText) - 1)] = '\0';
    const char* p = szText;
    for (int i = 0; i < 4 && *p != '\0'; i++) {
        parts[i] = (WORD)atoi(p);
        while (*p != '\0' && *p != '.' && *p != ',')
            p++;
        if (*p != '\0')
            p++;
    }
}

CModuleVersion::CModuleVersion()
    : m_pBuffer(nullptr), m_wMajor(0), m_wMinor(0), m_wBuild(0), m_wRevision(0)
{
    m_szPath[0] = '\0';
    m_szText[0] = '\0';
}

CModuleVersion::~CModuleVersion() { FreeBuffer(); }

void CModuleVersion::FreeBuffer()
{
    delete[] m_pBuffer;
    m_pBuffer = nullptr;
}

BOOL CModuleVersion::Load(LPCSTR lpszPath)
{
    FreeBuffer();
    m_wMajor = m_wMinor = m_wBuild = m_wRevision = 0;
    m_szText[0] = '\0';
    char szPath[MAX_PATH] = "";
    if (lpszPath == NULL) {
        ::GetModuleFileNameA(NULL, szPath, MAX_PATH - 1);
    } else {
        memcpy(szPath, lpszPath, CharBoundaryAtOrBefore(lpszPath, MAX_PATH - 1));
    }
    szPath[MAX_PATH - 1] = '\0';
    strcpy(m_szPath, szPath);

    DWORD dwHandle = 0;
    const DWORD dwSize = ::GetFileVersionInfoSizeA(m_szPath, &dwHandle);
    if (dwSize == 0)
        return FALSE;
    m_pBuffer = new (std::nothrow) BYTE[dwSize];
    if (m_pBuffer == nullptr)
        return FALSE;
    VS_FIXEDFILEINFO* pInfo = nullptr;
    UINT cbInfo = 0;
    if (!::GetFileVersionInfoA(m_szPath, 0, dwSize, m_pBuffer) ||
        !::VerQueryValueA(m_pBuffer, "\\", reinterpret_cast<void**>(&pInfo), &cbInfo) || pInfo == nullptr ||
        cbInfo < sizeof(VS_FIXEDFILEINFO)) {
        FreeBuffer();
        return FALSE;
    }
    m_wMajor = HIWORD(pInfo->dwFileVersionMS);
    m_wMinor = LOWORD(pInfo->dwFileVersionMS);
    m_wBuild = HIWORD(pInfo->dwFileVersionLS);
    m_wRevision = LOWORD(pInfo->dwFileVersionLS);
    snprintf(m_szText, sizeof(m_szText), "%d.%d.%d.%d", m_wMajor, m_wMinor, m_wBuild, m_wRevision);
    return TRUE;
}

BOOL CModuleVersion::LoadShareModule(LPCSTR lpszFileName)
{
    CString path;
    path.Format("%s\\%s", (LPCSTR)GetSharePath(), lpszFileName != NULL ? lpszFileName : "");
    return Load(path);
}

CString CModuleVersion::GetStringValue(LPCSTR lpszName, UINT nLanguage, UINT nCodePage) const
{
    if (m_pBuffer == nullptr || lpszName == NULL)
        return CString();
    if (nLanguage >= 0xFFFF || nCodePage >= 0xFFFF) {
        WORD* pTranslation = nullptr;
        UINT cb = 0;
        if (!::VerQueryValueA(m_pBuffer, "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&pTranslation),
                              &cb) ||
            pTranslation == nullptr || cb < 4)
            return CString();
        nLanguage = pTranslation[0];
        nCodePage = pTranslation[1];
    }
    CString block;
    block.Format("\\StringFileInfo\\%04x%04x\\%s", nLanguage, nCodePage, lpszName);
    char* pValue = nullptr;
    UINT cch = 0;
    if (!::VerQueryValueA(m_pBuffer, block, reinterpret_cast<void**>(&pValue), &cch) || pValue == nullptr)
        return CString();
    return CString(pValue, (int)strnlen(pValue, cch));
}

BOOL CModuleVersion::Compare(LPCSTR lpszVersion) const
{
    if (!IsLoaded())
        return FALSE;
    WORD other[4];
    ParseVersionText(lpszVersion, other);
    const WORD own[4] = {m_wMajor, m_wMinor, m_wBuild, m_wRevision};
    for (int i = 0; i < 4; i++) {
        if (own[i] != other[i])
            return own[i] > other[i];
    }
    return TRUE;
}

BOOL CModuleVersion::IsEqual(LPCSTR lpszVersion) const
{
    WORD other[4];
    ParseVersionText(lpszVersion, other);
    return m_wMajor == other[0] && m_wMinor == other[1] && m_wBuild == other[2] && m_wRevision == other[3];
}

// ---- Message boxes ---------------------------------------------------------------------------

namespace {

int DefaultMsgBox(MsgBoxRequest& request)
{
    HWND hOwner = request.pOwner != nullptr ? request.pOwner->GetSafeHwnd() : NULL;
    if (hOwner == NULL) {
        CWnd* pMain = AfxGetMainWnd();
        hOwner = pMain != nullptr ? pMain->GetSafeHwnd() : NULL;
    }
    return ::MessageBoxA(hOwner, request.text, AfxGetAppName(), request.nType & ~0x80000000u);
}

MsgBoxRoutine g_pfnMsgBox = DefaultMsgBox;

int RunBox(MsgBoxRequest& request)
{
    request.bSkinned = IsThemeInUse();
    if (request.nCountdown <= 0)
        request.nCountdown = -1;
    return g_pfnMsgBox(request);
}

CString TextOfId(UINT nStringId)
{
    const CString text = LoadAppString(nStringId);
    return text.IsEmpty() ? LoadNetString(nStringId) : text;
}

BOOL CALLBACK PostCancelMode(HWND hChild, LPARAM)
{
    ::PostMessageA(hChild, WM_CANCELMODE, 0, 0);
    return TRUE;
}

void CancelModesOfMainWindow()
{
    CWnd* pMain = AfxGetMainWnd();
    HWND hMain = pMain != nullptr ? pMain->GetSafeHwnd() : NULL;
    if (hMain != NULL)
        ::EnumChildWindows(hMain, PostCancelMode, 0);
}

}  // namespace

MsgBoxRoutine SetMsgBoxRoutine(MsgBoxRoutine routine)
{
    MsgBoxRoutine previous = g_pfnMsgBox;
    g_pfnMsgBox = routine != nullptr ? routine : DefaultMsgBox;
    return previous;
}

int MsgBoxText(LPCSTR lpszText, UINT nType, CWnd* pOwner)
{
    MsgBoxRequest request;
    request.text = lpszText != NULL ? lpszText : "";
    request.nType = nType;
    request.pOwner = pOwner;
    return RunBox(request);
}

int MsgBoxText(LPCSTR lpszText, UINT nType, int nCountdown)
{
    MsgBoxRequest request;
    request.text = lpszText != NULL ? lpszText : "";
    request.nType = nType;
    request.nCountdown = nCountdown;
    return RunBox(request);
}

int MsgBoxId(UINT nStringId, UINT nType, CWnd* pOwner) { return MsgBoxText(TextOfId(nStringId), nType, pOwner); }

int MsgBoxId(UINT nStringId, UINT nType, int nCountdown)
{
    return MsgBoxText(TextOfId(nStringId), nType, nCountdown);
}

int MsgBoxEx(LPCSTR lpszText, UINT nType, int nCountdown, char** ppEntry)
{
    MsgBoxRequest request;
    request.text = lpszText != NULL ? lpszText : "";
    request.nType = nType;
    request.nCountdown = nCountdown;
    request.bWantsEntry = ppEntry != NULL;
    const int nResult = RunBox(request);
    if (ppEntry != NULL) {
        *ppEntry = NULL;
        if (!request.entryText.IsEmpty()) {
            const int n = request.entryText.GetLength();
            *ppEntry = new char[(size_t)n + 1];
            memcpy(*ppEntry, (LPCSTR)request.entryText, (size_t)n + 1);
        }
    }
    return nResult;
}

int ShowMessageText(LPCSTR lpszText, UINT nType, CWnd* pOwner)
{
    CancelModesOfMainWindow();
    return MsgBoxText(lpszText, nType, pOwner);
}

int ShowMessageId(UINT nStringId, UINT nType, CWnd* pOwner)
{
    CancelModesOfMainWindow();
    return MsgBoxId(nStringId, nType, pOwner);
}

// ---- Sounds and MIDI ---------------------------------------------------------------------------

namespace {

BOOL WINAPI DefaultPlaySound(LPCSTR pszSound, HMODULE hModule, DWORD dwFlags)
{
    return ::PlaySoundA(pszSound, hModule, dwFlags);
}

DWORD WINAPI DefaultMciSend(LPCSTR lpszCommand, LPSTR lpszReturn, UINT cchReturn, HWND hCallback)
{
    return ::mciSendStringA(lpszCommand, lpszReturn, cchReturn, hCallback);
}

PlaySoundRoutine g_pfnPlaySound = DefaultPlaySound;
MciSendRoutine g_pfnMciSend = DefaultMciSend;

HWND MainWindowHandle()
{
    CWnd* pMain = AfxGetMainWnd();
    return pMain != nullptr ? pMain->GetSafeHwnd() : NULL;
}

}  // namespace

CSoundPlayer theSoundPlayer;

PlaySoundRoutine SetPlaySoundRoutine(PlaySoundRoutine routine)
{
    PlaySoundRoutine previous = g_pfnPlaySound;
    g_pfnPlaySound = routine != nullptr ? routine : DefaultPlaySound;
    return previous;
}

MciSendRoutine SetMciSendRoutine(MciSendRoutine routine)
{
    MciSendRoutine previous = g_pfnMciSend;
    g_pfnMciSend = routine != nullptr ? routine : DefaultMciSend;
    return previous;
}

BOOL CSoundPlayer::PlayResource(UINT nResourceId)
{
    if (!m_bSoundEnabled)
        return FALSE;
    Stop();
    return g_pfnPlaySound(MAKEINTRESOURCEA(nResourceId), AfxGetResourceHandle(),
                          SND_RESOURCE | SND_ASYNC | SND_NODEFAULT);
}

BOOL CSoundPlayer::PlayFile(LPCSTR lpszPath, DWORD dwFlags)
{
    if (!m_bSoundEnabled || lpszPath == NULL)
        return FALSE;
    return g_pfnPlaySound(lpszPath, NULL, SND_FILENAME | SND_ASYNC | dwFlags);
}

void CSoundPlayer::Stop() { g_pfnPlaySound(NULL, NULL, SND_PURGE); }

CSoundPlayer::~CSoundPlayer()
{
    for (CachedSound& c : m_sounds)
        delete c.pSound;
    delete m_pMusic;
}

BOOL CSoundPlayer::PlayCachedSound(UINT nResourceId, DWORD dwFlags)
{
    if (!m_bSoundEnabled)
        return FALSE;
    CString key;
    key.Format("%Id_%u", (INT_PTR)AfxGetResourceHandle(), nResourceId);
    CWaveSound* pSound = nullptr;
    for (CachedSound& c : m_sounds)
        if (c.key == key)
            pSound = c.pSound;
    if (pSound == nullptr) {
        // Kept even when it does not load, so a missing sound is looked for once.
        pSound = new CWaveSound;
        pSound->LoadResource(MAKEINTRESOURCEA(nResourceId));
        m_sounds.push_back({key, pSound});
    }
    pSound->CheckMainWindow();
    return pSound->Play(dwFlags);
}

void CSoundPlayer::StopCachedSounds()
{
    for (CachedSound& c : m_sounds)
        c.pSound->Stop();
}

BOOL CSoundPlayer::LoadMusicPlayerDll()
{
    if (m_pMusic == nullptr)
        m_pMusic = new CMusicPlayerDll;
    if (!m_pMusic->IsLoaded())
        m_pMusic->Load();
    return m_pMusic->IsLoaded();
}

CMusicPlayerDll* CSoundPlayer::ValidMusic()
{
    if (m_pMusic == nullptr || !m_pMusic->IsLoaded())
        LoadMusicPlayerDll();
    return m_pMusic->IsValid() ? m_pMusic : nullptr;
}

int CSoundPlayer::PlayMusicFile(LPCSTR lpszName, int nValue)
{
    CMusicPlayerDll* p = ValidMusic();
    return p != nullptr ? p->PlayFile(lpszName, nValue) : 0;
}

void CSoundPlayer::StopMusicName(LPCSTR lpszName)
{
    if (CMusicPlayerDll* p = ValidMusic())
        p->StopPlayName(lpszName);
}

void CSoundPlayer::StopMusicId(int nId)
{
    if (CMusicPlayerDll* p = ValidMusic())
        p->StopPlayID(nId);
}

int CSoundPlayer::CloseAllMusic()
{
    CMusicPlayerDll* p = ValidMusic();
    return p != nullptr ? p->CloseAll() : 0;
}

int CSoundPlayer::DeleteMusic(int nMusic)
{
    CMusicPlayerDll* p = ValidMusic();
    return p != nullptr ? p->DeleteMusic(nMusic) : 0;
}

void CSoundPlayer::SetMusicVolume(int nVolume)
{
    if (CMusicPlayerDll* p = ValidMusic())
        p->SetVolume(nVolume);
}

void CSoundPlayer::SetMusicMute(BOOL bMute)
{
    if (CMusicPlayerDll* p = ValidMusic())
        p->SetMute(bMute);
}

int CSoundPlayer::GetMusicMute()
{
    CMusicPlayerDll* p = ValidMusic();
    return p != nullptr ? p->GetMute() : 0;
}

void CSoundPlayer::SetMusicVolumeF(LPCSTR lpszName, int nVolume)
{
    if (CMusicPlayerDll* p = ValidMusic())
        p->SetVolumeF(lpszName, nVolume);
}

void CSoundPlayer::SetMusicVolumeD(int nId, int nVolume)
{
    if (CMusicPlayerDll* p = ValidMusic())
        p->SetVolumeD(nId, nVolume);
}

BOOL PlaySoundRes(UINT nResourceId) { return theSoundPlayer.PlayResource(nResourceId); }
BOOL PlayWaveFile(LPCSTR lpszPath, DWORD dwFlags) { return theSoundPlayer.PlayFile(lpszPath, dwFlags); }
void StopSound() { theSoundPlayer.Stop(); }

BOOL PlayMidiMusic(LPCSTR lpszPath)
{
    if (lpszPath == NULL || *lpszPath == '\0' || strchr(lpszPath, '"') != NULL)
        return FALSE;
    g_pfnMciSend("close sq", NULL, 0, NULL);
    // The path is quoted: folders with blanks are common.
    CString open;
    open.Format("open \"%s\" type sequencer alias sq", lpszPath);
    if (g_pfnMciSend(open, NULL, 0, NULL) != 0)
        return FALSE;
    return g_pfnMciSend("play sq from 0 notify", NULL, 0, MainWindowHandle()) == 0;
}

BOOL PlayMidiFile(LPCSTR lpszPath) { return PlayMidiMusic(lpszPath); }

void StopMidiMusic() { g_pfnMciSend("close sq", NULL, 0, NULL); }

int AlwaysTrue(LPCSTR, ...) { return 1; }
