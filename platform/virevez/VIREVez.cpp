// VIREVez.dll stand-in: the platform's music-player library. It plays
// nothing; it keeps the music names it was asked to play, the volume and the
// mute flag, and logs every call for the tests (VIREVezReadLog).
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

std::string g_log;
int g_nVolume = 50;
int g_bMute = 0;
int g_nStarted = 0;

void Log(const char* pszFormat, ...)
{
    char sz[512];
    va_list args;
    va_start(args, pszFormat);
    vsnprintf(sz, sizeof(sz), pszFormat, args);
    va_end(args);
    g_log += sz;
    g_log += '\n';
}

const char* Text(const char* psz) { return psz != NULL ? psz : "(null)"; }

} // namespace

extern "C" {

int WINAPI QVMPInit()
{
    g_nStarted = 1;
    Log("Init");
    return 1;
}
int WINAPI QVMPIsValid()
{
    Log("IsValid");
    return g_nStarted;
}
int WINAPI QVMPPlayFile(const char* pszName, int nValue)
{
    Log("PlayFile %s %d", Text(pszName), nValue);
    return 1;
}
void WINAPI QVMPStopPlayName(const char* pszName) { Log("StopPlayName %s", Text(pszName)); }
void WINAPI QVMPStopPlayID(int nId) { Log("StopPlayID %d", nId); }
int WINAPI QVMPCloseAll()
{
    Log("CloseAll");
    return 1;
}
int WINAPI QVMPDeleteMusic(int nMusic)
{
    Log("DeleteMusic %d", nMusic);
    return 1;
}
void WINAPI QVMPSetVolume(int nVolume)
{
    g_nVolume = nVolume;
    Log("SetVolume %d", nVolume);
}
void WINAPI QVMPSetMute(int bMute)
{
    g_bMute = bMute;
    Log("SetMute %d", bMute);
}
int WINAPI QVMPGetMute()
{
    Log("GetMute");
    return g_bMute;
}
void WINAPI QVMPSetVolumeF(const char* pszName, int nVolume) { Log("SetVolumeF %s %d", Text(pszName), nVolume); }
void WINAPI QVMPSetVolumeD(int nId, int nVolume) { Log("SetVolumeD %d %d", nId, nVolume); }

// Tests: the call log (copies at most cap - 1 bytes; returns its length),
// and clearing it.
int WINAPI VIREVezReadLog(char* pBuffer, int nCapacity)
{
    int n = (int)g_log.size();
    if (pBuffer != NULL && nCapacity > 0) {
        int nCopy = n < nCapacity - 1 ? n : nCapacity - 1;
        memcpy(pBuffer, g_log.data(), (size_t)nCopy);
        pBuffer[nCopy] = '\0';
    }
    return n;
}
void WINAPI VIREVezClearLog() { g_log.clear(); }

} // extern "C"
