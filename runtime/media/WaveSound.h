// CWaveSound: one WAVE sound in DirectSound buffers, loaded from a file or a
// "WAVE" resource through the multimedia file functions. Up to nine plays of
// the sound overlap (the primary buffer and eight duplicates).
#pragma once

#include "afxwin.h"

#include <mmsystem.h>
#include <dsound.h>

#include <cstdint>

// The routine that makes the DirectSound object (DirectSoundCreate of
// dsound.dll by default); tests put their own in its place. Returns the
// previous one; NULL puts back the default.
typedef HRESULT(WINAPI* DirectSoundCreateRoutine)(LPCGUID pGuid, LPDIRECTSOUND* ppDS, LPUNKNOWN pOuter);
DirectSoundCreateRoutine SetDirectSoundCreateRoutine(DirectSoundCreateRoutine routine);

// Results of reading a 'fmt ' chunk.
enum WaveFormatResult
{
    kWaveFormatOk = 0,
    kWaveFormatShort = 1,        // fewer than the 16 bytes of a PCM format
    kWaveFormatNotPcm = 2,       // a format tag other than 1
    kWaveFormatBadValues = 3,    // no channels, no bits or no block size
};
// Reads a format chunk of the given size (only min(size, 18) bytes are
// looked at); the extra-size field of a PCM format is 0.
WaveFormatResult ReadWaveFormat(const void* pChunk, uint32_t nChunkSize, WAVEFORMATEX* pFormat);

class CWaveSound
{
public:
    enum { kDuplicates = 8, kBufferFlags = DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME };

    CWaveSound();
    ~CWaveSound();
    CWaveSound(const CWaveSound&) = delete;
    CWaveSound& operator=(const CWaveSound&) = delete;

    // Loads the file named by the path field; 1 on success, 0 on failure.
    BOOL LoadFile();
    BOOL LoadFile(LPCSTR lpszPath);
    // Loads the "WAVE" resource of that name from the resource module.
    BOOL LoadResource(LPCSTR lpszName);
    // Plays the primary buffer, or else the first idle duplicate; FALSE when
    // nothing could be started (not loaded, or all nine playing).
    BOOL Play(DWORD dwFlags = 0);
    void Stop();
    // One notification position (offset, event) on the primary buffer.
    BOOL SetNotify(HANDLE hEvent, DWORD dwOffset);
    // Sets the cooperation level once the main window exists.
    BOOL CheckMainWindow();

    BOOL HasFailed() const { return m_bFailed; }
    BOOL HasWindow() const { return m_bWindow; }
    BOOL IsLoaded() const { return m_pPrimary != NULL; }

    IDirectSound* m_pDirectSound;
    IDirectSoundBuffer* m_pPrimary;
    IDirectSoundBuffer* m_pDuplicates[kDuplicates];
    IDirectSoundNotify* m_pNotify;
    BOOL m_bWindow;
    BOOL m_bFailed;
    char m_szPath[1024];

private:
    BOOL Load(HMMIO hmmio);
    static BOOL IsPlaying(IDirectSoundBuffer* pBuffer);
};
