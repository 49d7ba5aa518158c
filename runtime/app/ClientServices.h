// Services that the rest of the client calls: picking the server address to
// register with, reading a module's version, message boxes, and sounds and
// MIDI music.
#pragma once

#include "afxwin.h"

#include <cstdint>
#include <string>
#include <vector>

// ---- Server address selection ------------------------------------------------------------

constexpr uint32_t kRegisterRequestId = 0x65B;
constexpr int kMaxServerTries = 3;

struct RegisterRequestBody {
    char name[20];
    char text[128];
};
static_assert(sizeof(RegisterRequestBody) == 148, "register request body is 148 bytes");

struct ServerCandidate {
    std::string address;
    int speed = -1;             // -1: not measured
};

// The candidates for a host: section "RegisterIP" of "<folder>\LangRsc.ini",
// key = the host; a value shorter than 2 characters means the host alone,
// else the comma-separated addresses (empty pieces skipped). Each gets its
// speed from section "NetSpeed" of "<folder>\netspeed1.dat", key = the
// address up to its last '.'. Sorted by ascending speed, the first of equal
// speeds first (unmeasured ones come first).
std::vector<ServerCandidate> GetServerCandidates(LPCSTR lpszHost, LPCSTR lpszFolder);

// What the chosen server answered.
struct ServerSelection {
    CString text;
    uint32_t value = 0;
};

// Tries the first three candidates in order: connects (failure: the next),
// sends 0x65B {name, text} and waits for its reply. A reply with result 1
// gives the text after the first body word and that word: 1. Any other reply,
// or a wait that fails, ends the selection with 0.
BOOL SelectServerAddresses(ServerSelection* pOut, LPCSTR lpszHost, UINT nPort, LPCSTR lpszName, LPCSTR lpszText,
                           LPCSTR lpszFolder);

// ---- Module version ------------------------------------------------------------------------

class CModuleVersion
{
public:
    CModuleVersion();
    ~CModuleVersion();
    CModuleVersion(const CModuleVersion&) = delete;
    CModuleVersion& operator=(const CModuleVersion&) = delete;

    // Reads the version of a file (NULL: the program). 0 when it has no
    // version information (the numbers stay 0, the text empty).
    BOOL Load(LPCSTR lpszPath = NULL);
    // Loads "<Share Path>\<file>".
    BOOL LoadShareModule(LPCSTR lpszFileName);
    // A string value of the version information; language or code page of
    // 65535 or more take the first translation. Empty when missing.
    CString GetStringValue(LPCSTR lpszName, UINT nLanguage = 0xFFFF, UINT nCodePage = 0xFFFF) const;
    // 1 when the loaded version is the same as or newer than the text (four
    // numbers separated by '.' or ','); 0 when older or nothing is loaded.
    BOOL Compare(LPCSTR lpszVersion) const;
    // 1 when all four numbers are equal to the text's.
    BOOL IsEqual(LPCSTR lpszVersion) const;
    void FreeBuffer();

    BOOL IsLoaded() const { return m_pBuffer != nullptr; }
    LPCSTR GetPath() const { return m_szPath; }
    LPCSTR GetText() const { return m_szText; }

    char m_szPath[MAX_PATH];
    BYTE* m_pBuffer;
    WORD m_wMajor, m_wMinor, m_wBuild, m_wRevision;
    char m_szText[64];
};

// The four numbers of a version text separated by '.' or ',' (at most 63
// characters); missing ones are 0.
void ParseVersionText(LPCSTR lpszText, WORD parts[4]);

// ---- Message boxes ---------------------------------------------------------------------------

// One box to show. The routine in place answers with the button pressed and,
// when asked, the entry text (MsgBoxEx) in entryText.
struct MsgBoxRequest {
    CString text;
    UINT nType = MB_OK;
    int nCountdown = -1;        // seconds until the box closes by itself; -1 none
    CWnd* pOwner = nullptr;
    BOOL bSkinned = FALSE;      // the theme is in use: the skinned box
    BOOL bWantsEntry = FALSE;   // a text entry (masked when nType's top bit is set)
    CString entryText;          // the box's texts after it closed, joined
};
typedef int (*MsgBoxRoutine)(MsgBoxRequest& request);
// Who shows the boxes: the skinned dialog kit puts its two box classes here
// and tests their recorder. Returns the previous routine; NULL puts back the
// default, the framework's message box.
MsgBoxRoutine SetMsgBoxRoutine(MsgBoxRoutine routine);

int MsgBoxText(LPCSTR lpszText, UINT nType = MB_OK, CWnd* pOwner = NULL);
int MsgBoxText(LPCSTR lpszText, UINT nType, int nCountdown);
int MsgBoxId(UINT nStringId, UINT nType = MB_OK, CWnd* pOwner = NULL);
int MsgBoxId(UINT nStringId, UINT nType, int nCountdown);
// With ppEntry, the box asks for a text; *ppEntry becomes a new heap block
// (free it with delete[]) of the box's texts joined, or NULL when both are
// empty.
int MsgBoxEx(LPCSTR lpszText, UINT nType, int nCountdown, char** ppEntry);
// The same as MsgBoxText / MsgBoxId after cancelling the modes of the main
// window's children (open menus, drags, captures).
int ShowMessageText(LPCSTR lpszText, UINT nType = MB_ICONINFORMATION, CWnd* pOwner = NULL);
int ShowMessageId(UINT nStringId, UINT nType = MB_ICONINFORMATION, CWnd* pOwner = NULL);

// ---- Sounds and MIDI ---------------------------------------------------------------------------

// The routines that reach the sound system (PlaySound and mciSendString by
// default); tests put recorders in their place. Each setter returns the
// previous routine; NULL puts back the default.
typedef BOOL(WINAPI* PlaySoundRoutine)(LPCSTR pszSound, HMODULE hModule, DWORD dwFlags);
typedef DWORD(WINAPI* MciSendRoutine)(LPCSTR lpszCommand, LPSTR lpszReturn, UINT cchReturn, HWND hCallback);
PlaySoundRoutine SetPlaySoundRoutine(PlaySoundRoutine routine);
MciSendRoutine SetMciSendRoutine(MciSendRoutine routine);

// The process's sound player.
class CWaveSound;
class CMusicPlayerDll;

class CSoundPlayer
{
public:
    CSoundPlayer() = default;
    ~CSoundPlayer();
    CSoundPlayer(const CSoundPlayer&) = delete;
    CSoundPlayer& operator=(const CSoundPlayer&) = delete;

    void EnableSound(BOOL bEnable) { m_bSoundEnabled = bEnable; }
    BOOL IsSoundEnabled() const { return m_bSoundEnabled; }
    void SetMusic(BOOL bMusic) { m_bMusic = bMusic; }
    BOOL IsMusic() const { return m_bMusic; }

    // Stops the current sound and plays a WAVE resource of the resource
    // module asynchronously (no default sound). Nothing when sound is off.
    BOOL PlayResource(UINT nResourceId);
    // Plays a .wav file asynchronously, with further flags.
    BOOL PlayFile(LPCSTR lpszPath, DWORD dwFlags = 0);
    void Stop();

    // A WAVE resource of the resource module through its own DirectSound
    // sound, made and loaded on first use and kept (key: module and id), so
    // that plays of it overlap. Nothing when sound is off or it cannot load.
    BOOL PlayCachedSound(UINT nResourceId, DWORD dwFlags = 0);
    void StopCachedSounds();
    int GetCachedSoundCount() const { return (int)m_sounds.size(); }

    // Music through the music-player library, loaded on first use; without a
    // valid binding these do nothing and answer 0.
    BOOL LoadMusicPlayerDll();
    int PlayMusicFile(LPCSTR lpszName, int nValue);
    void StopMusicName(LPCSTR lpszName);
    void StopMusicId(int nId);
    int CloseAllMusic();
    int DeleteMusic(int nMusic);
    void SetMusicVolume(int nVolume);
    void SetMusicMute(BOOL bMute);
    int GetMusicMute();
    void SetMusicVolumeF(LPCSTR lpszName, int nVolume);
    void SetMusicVolumeD(int nId, int nVolume);

private:
    CMusicPlayerDll* ValidMusic();

    struct CachedSound
    {
        CString key;
        CWaveSound* pSound;
    };
    BOOL m_bSoundEnabled = TRUE;
    BOOL m_bMusic = FALSE;
    std::vector<CachedSound> m_sounds;
    CMusicPlayerDll* m_pMusic = nullptr;
};
extern CSoundPlayer theSoundPlayer;

BOOL PlaySoundRes(UINT nResourceId);
BOOL PlayWaveFile(LPCSTR lpszPath, DWORD dwFlags = 0);
void StopSound();
// "close sq", "open "<path>" type sequencer alias sq", "play sq from 0 notify"
// (notifying the main window when there is one).
BOOL PlayMidiMusic(LPCSTR lpszPath);
BOOL PlayMidiFile(LPCSTR lpszPath);
void StopMidiMusic();

// The trace routine of the table window: does nothing, returns 1.
int AlwaysTrue(LPCSTR lpszFormat, ...);
