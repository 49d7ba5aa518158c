// CMusicPlayerDll: the platform's music-player library VIREVez.dll, bound at
// run time. Every operation does nothing (and answers 0) while its entry is
// missing; volumes are taken modulo 100.
#pragma once

#include <windows.h>

class CMusicPlayerDll
{
public:
    typedef int(WINAPI* PFN_VOID)();
    typedef int(WINAPI* PFN_NAME_VALUE)(const char*, int);
    typedef void(WINAPI* PFN_NAME)(const char*);
    typedef void(WINAPI* PFN_INT_NORESULT)(int);
    typedef int(WINAPI* PFN_INT)(int);
    typedef void(WINAPI* PFN_NAME_VOLUME)(const char*, int);
    typedef void(WINAPI* PFN_INT_INT)(int, int);

    CMusicPlayerDll();
    ~CMusicPlayerDll();
    CMusicPlayerDll(const CMusicPlayerDll&) = delete;
    CMusicPlayerDll& operator=(const CMusicPlayerDll&) = delete;

    // Loads the library (the name is for tests) and starts it: QVMPInit's
    // result, 0 when the library or that entry is missing.
    int Load(LPCSTR lpszLibrary = "VIREVez.dll");
    BOOL IsLoaded() const { return m_hModule != NULL; }
    int IsValid();
    int PlayFile(LPCSTR lpszName, int nValue);
    void StopPlayName(LPCSTR lpszName);
    void StopPlayID(int nId);
    int CloseAll();
    int DeleteMusic(int nMusic);
    void SetVolume(int nVolume);
    void SetMute(int bMute);
    int GetMute();
    void SetVolumeF(LPCSTR lpszName, int nVolume);
    void SetVolumeD(int nId, int nVolume);
    void Free();

    // The volume handed on: modulo 100, never negative.
    static int VolumeOf(int nVolume) { return ((nVolume % 100) + 100) % 100; }

private:
    HMODULE m_hModule;
    PFN_VOID m_pfnInit;
    PFN_VOID m_pfnIsValid;
    PFN_NAME_VALUE m_pfnPlayFile;
    PFN_NAME m_pfnStopPlayName;
    PFN_INT_NORESULT m_pfnStopPlayID;
    PFN_VOID m_pfnCloseAll;
    PFN_INT m_pfnDeleteMusic;
    PFN_INT_NORESULT m_pfnSetVolume;
    PFN_INT_NORESULT m_pfnSetMute;
    PFN_VOID m_pfnGetMute;
    PFN_NAME_VOLUME m_pfnSetVolumeF;
    PFN_INT_INT m_pfnSetVolumeD;
};
