// WAVE sounds in DirectSound buffers.
#include "WaveSound.h"

#include <cstring>

namespace {

HRESULT WINAPI DefaultDirectSoundCreate(LPCGUID pGuid, LPDIRECTSOUND* ppDS, LPUNKNOWN pOuter)
{
    typedef HRESULT(WINAPI * PFN)(LPCGUID, LPDIRECTSOUND*, LPUNKNOWN);
    static PFN s_pfn = NULL;
    static bool s_bTried = false;
    if (!s_bTried) {
        s_bTried = true;
        HMODULE hModule = ::LoadLibraryA("dsound.dll");
        if (hModule != NULL)
            s_pfn = reinterpret_cast<PFN>(reinterpret_cast<void (*)()>(::GetProcAddress(hModule, "DirectSoundCreate")));
    }
    if (s_pfn == NULL) {
        *ppDS = NULL;
        return DSERR_NODRIVER;
    }
    return s_pfn(pGuid, ppDS, pOuter);
}

DirectSoundCreateRoutine g_pfnCreate = DefaultDirectSoundCreate;

uint16_t ReadU16(const uint8_t* p) { return (uint16_t)(p[0] | (p[1] << 8)); }
uint32_t ReadU32(const uint8_t* p) { return (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) | ((uint32_t)p[3] << 24); }

// The largest sound a buffer holds (DirectSound's own limit).
const DWORD kMaxDataBytes = DSBSIZE_MAX;

} // namespace

DirectSoundCreateRoutine SetDirectSoundCreateRoutine(DirectSoundCreateRoutine routine)
{
    DirectSoundCreateRoutine old = g_pfnCreate;
    g_pfnCreate = routine != NULL ? routine : DefaultDirectSoundCreate;
    return old;
}

WaveFormatResult ReadWaveFormat(const void* pChunk, uint32_t nChunkSize, WAVEFORMATEX* pFormat)
{
    memset(pFormat, 0, sizeof(*pFormat));
    if (pChunk == NULL || nChunkSize < 16)
        return kWaveFormatShort;
    const uint8_t* p = static_cast<const uint8_t*>(pChunk);
    pFormat->wFormatTag = ReadU16(p);
    pFormat->nChannels = ReadU16(p + 2);
    pFormat->nSamplesPerSec = ReadU32(p + 4);
    pFormat->nAvgBytesPerSec = ReadU32(p + 8);
    pFormat->nBlockAlign = ReadU16(p + 12);
    pFormat->wBitsPerSample = ReadU16(p + 14);
    pFormat->cbSize = 0;                      // PCM has no extra bytes
    if (pFormat->wFormatTag != WAVE_FORMAT_PCM)
        return kWaveFormatNotPcm;
    if (pFormat->nChannels == 0 || pFormat->wBitsPerSample == 0 || pFormat->nBlockAlign == 0)
        return kWaveFormatBadValues;
    return kWaveFormatOk;
}

CWaveSound::CWaveSound()
    : m_pDirectSound(NULL), m_pPrimary(NULL), m_pNotify(NULL), m_bWindow(FALSE), m_bFailed(FALSE)
{
    memset(m_pDuplicates, 0, sizeof(m_pDuplicates));
    m_szPath[0] = '\0';
    CWnd* pMain = AfxGetMainWnd();
    m_bWindow = pMain != NULL && pMain->GetSafeHwnd() != NULL;
    if (FAILED(g_pfnCreate(NULL, &m_pDirectSound, NULL)) || m_pDirectSound == NULL) {
        m_pDirectSound = NULL;
        m_bFailed = TRUE;
        m_bWindow = FALSE;
        return;
    }
    if (FAILED(m_pDirectSound->SetCooperativeLevel(m_bWindow ? pMain->GetSafeHwnd() : NULL, DSSCL_NORMAL)))
        m_bWindow = FALSE;
}

CWaveSound::~CWaveSound()
{
    if (m_pNotify != NULL)
        m_pNotify->Release();
    for (IDirectSoundBuffer*& p : m_pDuplicates)
        if (p != NULL)
            p->Release();
    if (m_pPrimary != NULL)
        m_pPrimary->Release();
    if (m_pDirectSound != NULL)
        m_pDirectSound->Release();
}

BOOL CWaveSound::CheckMainWindow()
{
    if (m_bWindow || m_pDirectSound == NULL)
        return m_bWindow;
    CWnd* pMain = AfxGetMainWnd();
    if (pMain != NULL && pMain->GetSafeHwnd() != NULL
        && SUCCEEDED(m_pDirectSound->SetCooperativeLevel(pMain->GetSafeHwnd(), DSSCL_NORMAL)))
        m_bWindow = TRUE;
    return m_bWindow;
}

BOOL CWaveSound::LoadFile(LPCSTR lpszPath)
{
    if (lpszPath == NULL)
        return FALSE;
    size_t n = strnlen(lpszPath, sizeof(m_szPath));
    if (n >= sizeof(m_szPath))
        return FALSE;                         // a cut path would name another file
    memcpy(m_szPath, lpszPath, n + 1);
    return LoadFile();
}

BOOL CWaveSound::LoadFile()
{
    if (m_pDirectSound == NULL || m_pPrimary != NULL || m_szPath[0] == '\0')
        return FALSE;
    HMMIO hmmio = ::mmioOpenA(m_szPath, NULL, MMIO_READ | MMIO_ALLOCBUF);
    if (hmmio == NULL)
        return FALSE;
    return Load(hmmio);
}

BOOL CWaveSound::LoadResource(LPCSTR lpszName)
{
    if (m_pDirectSound == NULL || m_pPrimary != NULL || lpszName == NULL)
        return FALSE;
    HMODULE hModule = AfxGetResourceHandle();
    HRSRC hInfo = ::FindResourceA(hModule, lpszName, "WAVE");
    if (hInfo == NULL)
        return FALSE;
    HGLOBAL hData = ::LoadResource(hModule, hInfo);
    DWORD dwSize = ::SizeofResource(hModule, hInfo);
    void* pData = hData != NULL ? ::LockResource(hData) : NULL;
    if (pData == NULL || dwSize == 0)
        return FALSE;
    MMIOINFO info;
    memset(&info, 0, sizeof(info));
    info.fccIOProc = FOURCC_MEM;
    info.pchBuffer = static_cast<HPSTR>(pData);
    info.cchBuffer = (LONG)dwSize;
    HMMIO hmmio = ::mmioOpenA(NULL, &info, MMIO_READ);
    if (hmmio == NULL)
        return FALSE;
    return Load(hmmio);
}

BOOL CWaveSound::Load(HMMIO hmmio)
{
    BOOL bOk = FALSE;
    MMCKINFO riff, chunk;
    memset(&riff, 0, sizeof(riff));
    memset(&chunk, 0, sizeof(chunk));
    riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
    do {
        if (::mmioDescend(hmmio, &riff, NULL, MMIO_FINDRIFF) != MMSYSERR_NOERROR)
            break;
        chunk.ckid = mmioFOURCC('f', 'm', 't', ' ');
        if (::mmioDescend(hmmio, &chunk, &riff, MMIO_FINDCHUNK) != MMSYSERR_NOERROR)
            break;
        // The format by the chunk's own size: 16 bytes for plain PCM.
        uint8_t raw[18] = {0};
        LONG nRead = (LONG)(chunk.cksize < sizeof(raw) ? chunk.cksize : sizeof(raw));
        if (::mmioRead(hmmio, reinterpret_cast<HPSTR>(raw), nRead) != nRead)
            break;
        WAVEFORMATEX format;
        if (ReadWaveFormat(raw, chunk.cksize, &format) != kWaveFormatOk)
            break;
        if (::mmioAscend(hmmio, &chunk, 0) != MMSYSERR_NOERROR)
            break;
        chunk.ckid = mmioFOURCC('d', 'a', 't', 'a');
        if (::mmioDescend(hmmio, &chunk, &riff, MMIO_FINDCHUNK) != MMSYSERR_NOERROR)
            break;
        // The data must be there before a buffer of its size is made.
        LONG nEnd = ::mmioSeek(hmmio, 0, SEEK_END);
        if (nEnd < 0 || ::mmioSeek(hmmio, (LONG)chunk.dwDataOffset, SEEK_SET) != (LONG)chunk.dwDataOffset)
            break;
        if (chunk.cksize == 0 || chunk.cksize > kMaxDataBytes || chunk.cksize > (DWORD)nEnd - chunk.dwDataOffset)
            break;

        DSBUFFERDESC desc;
        memset(&desc, 0, sizeof(desc));
        desc.dwSize = sizeof(DSBUFFERDESC);
        desc.dwFlags = kBufferFlags;
        desc.dwBufferBytes = chunk.cksize;
        desc.lpwfxFormat = &format;
        if (FAILED(m_pDirectSound->CreateSoundBuffer(&desc, &m_pPrimary, NULL)) || m_pPrimary == NULL) {
            m_pPrimary = NULL;
            break;
        }
        void* p1 = NULL;
        void* p2 = NULL;
        DWORD n1 = 0, n2 = 0;
        if (FAILED(m_pPrimary->Lock(0, chunk.cksize, &p1, &n1, &p2, &n2, 0)))
            break;
        bool bRead = ::mmioRead(hmmio, static_cast<HPSTR>(p1), (LONG)n1) == (LONG)n1;
        if (bRead && p2 != NULL && n2 != 0)
            bRead = ::mmioRead(hmmio, static_cast<HPSTR>(p2), (LONG)n2) == (LONG)n2;
        m_pPrimary->Unlock(p1, n1, p2, n2);
        if (!bRead)
            break;
        bOk = TRUE;
    } while (false);
    ::mmioClose(hmmio, 0);
    if (!bOk)
        return FALSE;
    for (IDirectSoundBuffer*& p : m_pDuplicates) {
        if (FAILED(m_pDirectSound->DuplicateSoundBuffer(m_pPrimary, &p)) || p == NULL) {
            p = NULL;
            return FALSE;
        }
    }
    return TRUE;
}

BOOL CWaveSound::IsPlaying(IDirectSoundBuffer* pBuffer)
{
    DWORD dwStatus = 0;
    return pBuffer != NULL && SUCCEEDED(pBuffer->GetStatus(&dwStatus)) && (dwStatus & DSBSTATUS_PLAYING) != 0;
}

BOOL CWaveSound::Play(DWORD dwFlags)
{
    if (m_pPrimary == NULL)
        return FALSE;
    if (!IsPlaying(m_pPrimary))
        return SUCCEEDED(m_pPrimary->Play(0, 0, dwFlags));
    for (IDirectSoundBuffer* p : m_pDuplicates)
        if (p != NULL && !IsPlaying(p))
            return SUCCEEDED(p->Play(0, 0, dwFlags));
    return FALSE;
}

void CWaveSound::Stop()
{
    if (IsPlaying(m_pPrimary)) {
        m_pPrimary->Stop();
        m_pPrimary->SetCurrentPosition(0);
    }
    for (IDirectSoundBuffer* p : m_pDuplicates) {
        if (IsPlaying(p)) {
            p->Stop();
            p->SetCurrentPosition(0);
        }
    }
}

BOOL CWaveSound::SetNotify(HANDLE hEvent, DWORD dwOffset)
{
    if (m_pPrimary == NULL)
        return FALSE;
    if (m_pNotify == NULL
        && FAILED(m_pPrimary->QueryInterface(IID_IDirectSoundNotify, reinterpret_cast<void**>(&m_pNotify)))) {
        m_pNotify = NULL;
        return FALSE;
    }
    DSBPOSITIONNOTIFY position;
    position.dwOffset = dwOffset;
    position.hEventNotify = hEvent;
    return SUCCEEDED(m_pNotify->SetNotificationPositions(1, &position));
}
