// The music-player library's binding.
#include "MusicPlayerDll.h"

#include <cstring>

namespace {

// Names are handed on through a bounded copy of their own.
struct NameCopy
{
    explicit NameCopy(LPCSTR psz)
    {
        size_t n = psz != NULL ? strnlen(psz, sizeof(text) - 1) : 0;
        if (n != 0)
            memcpy(text, psz, n);
        text[n] = '\0';
    }
    char text[MAX_PATH];
};

template <typename T> T Entry(HMODULE hModule, const char* pszName)
{
    return reinterpret_cast<T>(reinterpret_cast<void (*)()>(::GetProcAddress(hModule, pszName)));
}

} // namespace

CMusicPlayerDll::CMusicPlayerDll()
    : m_hModule(NULL), m_pfnInit(NULL), m_pfnIsValid(NULL), m_pfnPlayFile(NULL), m_pfnStopPlayName(NULL),
      m_pfnStopPlayID(NULL), m_pfnCloseAll(NULL), m_pfnDeleteMusic(NULL), m_pfnSetVolume(NULL), m_pfnSetMute(NULL),
      m_pfnGetMute(NULL), m_pfnSetVolumeF(NULL), m_pfnSetVolumeD(NULL)
{
}

CMusicPlayerDll::~CMusicPlayerDll()
{
    Free();
}

void CMusicPlayerDll::Free()
{
    if (m_hModule != NULL)
        ::FreeLibrary(m_hModule);
    m_hModule = NULL;
    m_pfnInit = m_pfnIsValid = m_pfnCloseAll = m_pfnGetMute = NULL;
    m_pfnPlayFile = NULL;
    m_pfnStopPlayName = NULL;
    m_pfnStopPlayID = m_pfnSetVolume = m_pfnSetMute = NULL;
    m_pfnDeleteMusic = NULL;
    m_pfnSetVolumeF = NULL;
    m_pfnSetVolumeD = NULL;
}

int CMusicPlayerDll::Load(LPCSTR lpszLibrary)
{
    Free();
    m_hModule = ::LoadLibraryA(lpszLibrary);
    if (m_hModule == NULL)
        return 0;
    m_pfnInit = Entry<PFN_VOID>(m_hModule, "QVMPInit");
    m_pfnIsValid = Entry<PFN_VOID>(m_hModule, "QVMPIsValid");
    m_pfnPlayFile = Entry<PFN_NAME_VALUE>(m_hModule, "QVMPPlayFile");
    m_pfnStopPlayName = Entry<PFN_NAME>(m_hModule, "QVMPStopPlayName");
    m_pfnStopPlayID = Entry<PFN_INT_NORESULT>(m_hModule, "QVMPStopPlayID");
    m_pfnCloseAll = Entry<PFN_VOID>(m_hModule, "QVMPCloseAll");
    m_pfnDeleteMusic = Entry<PFN_INT>(m_hModule, "QVMPDeleteMusic");
    m_pfnSetVolume = Entry<PFN_INT_NORESULT>(m_hModule, "QVMPSetVolume");
    m_pfnSetMute = Entry<PFN_INT_NORESULT>(m_hModule, "QVMPSetMute");
    m_pfnGetMute = Entry<PFN_VOID>(m_hModule, "QVMPGetMute");
    m_pfnSetVolumeF = Entry<PFN_NAME_VOLUME>(m_hModule, "QVMPSetVolumeF");
    m_pfnSetVolumeD = Entry<PFN_INT_INT>(m_hModule, "QVMPSetVolumeD");
    return m_pfnInit != NULL ? m_pfnInit() : 0;
}

int CMusicPlayerDll::IsValid() { return m_pfnIsValid != NULL ? m_pfnIsValid() : 0; }

int CMusicPlayerDll::PlayFile(LPCSTR lpszName, int nValue)
{
    if (m_pfnPlayFile == NULL)
        return 0;
    NameCopy name(lpszName);
    return m_pfnPlayFile(name.text, nValue);
}

void CMusicPlayerDll::StopPlayName(LPCSTR lpszName)
{
    if (m_pfnStopPlayName != NULL) {
        NameCopy name(lpszName);
        m_pfnStopPlayName(name.text);
    }
}

void CMusicPlayerDll::StopPlayID(int nId)
{
    if (m_pfnStopPlayID != NULL)
        m_pfnStopPlayID(nId);
}

int CMusicPlayerDll::CloseAll() { return m_pfnCloseAll != NULL ? m_pfnCloseAll() : 0; }

int CMusicPlayerDll::DeleteMusic(int nMusic) { return m_pfnDeleteMusic != NULL ? m_pfnDeleteMusic(nMusic) : 0; }

void CMusicPlayerDll::SetVolume(int nVolume)
{
    if (m_pfnSetVolume != NULL)
        m_pfnSetVolume(VolumeOf(nVolume));
}

void CMusicPlayerDll::SetMute(int bMute)
{
    if (m_pfnSetMute != NULL)
        m_pfnSetMute(bMute);
}

int CMusicPlayerDll::GetMute() { return m_pfnGetMute != NULL ? m_pfnGetMute() : 0; }

void CMusicPlayerDll::SetVolumeF(LPCSTR lpszName, int nVolume)
{
    if (m_pfnSetVolumeF != NULL) {
        NameCopy name(lpszName);
        m_pfnSetVolumeF(name.text, VolumeOf(nVolume));
    }
}

void CMusicPlayerDll::SetVolumeD(int nId, int nVolume)
{
    if (m_pfnSetVolumeD != NULL)
        m_pfnSetVolumeD(nId, VolumeOf(nVolume));
}
