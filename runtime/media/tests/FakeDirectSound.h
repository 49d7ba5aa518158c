// A DirectSound object for tests: buffers keep their bytes and a playing
// flag, and the object records what it was asked to make.
#pragma once

#include <windows.h>
#include <mmsystem.h>
#include <dsound.h>

#include <string>
#include <vector>

class FakeBuffer : public IDirectSoundBuffer, public IDirectSoundNotify
{
public:
    explicit FakeBuffer(std::vector<BYTE>* pData) : m_pData(pData) {}
    virtual ~FakeBuffer() = default;
    LONG refs = 1;
    bool playing = false;
    DWORD playFlags = 0;
    DWORD position = 1;
    std::vector<DSBPOSITIONNOTIFY> notifications;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (riid == IID_IUnknown || riid == IID_IDirectSoundBuffer)
            *ppv = static_cast<IDirectSoundBuffer*>(this);
        else if (riid == IID_IDirectSoundNotify)
            *ppv = static_cast<IDirectSoundNotify*>(this);
        else {
            *ppv = NULL;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return (ULONG)++refs; }
    STDMETHODIMP_(ULONG) Release() override { return (ULONG)--refs; }   // the fake owns its buffers
    STDMETHODIMP GetCaps(LPDSBCAPS) override { return E_NOTIMPL; }
    STDMETHODIMP GetCurrentPosition(LPDWORD p, LPDWORD) override { *p = position; return S_OK; }
    STDMETHODIMP GetFormat(LPWAVEFORMATEX, DWORD, LPDWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetVolume(LPLONG) override { return E_NOTIMPL; }
    STDMETHODIMP GetPan(LPLONG) override { return E_NOTIMPL; }
    STDMETHODIMP GetFrequency(LPDWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetStatus(LPDWORD p) override { *p = playing ? DSBSTATUS_PLAYING : 0; return S_OK; }
    STDMETHODIMP Initialize(LPDIRECTSOUND, LPCDSBUFFERDESC) override { return E_NOTIMPL; }
    STDMETHODIMP Lock(DWORD dwOffset, DWORD dwBytes, LPVOID* p1, LPDWORD n1, LPVOID* p2, LPDWORD n2, DWORD) override
    {
        // Two parts, as a ring buffer gives them when the lock wraps.
        if (dwOffset != 0 || dwBytes != m_pData->size())
            return DSERR_INVALIDPARAM;
        DWORD nFirst = dwBytes / 2;
        *p1 = m_pData->data();
        *n1 = nFirst;
        *p2 = dwBytes - nFirst ? m_pData->data() + nFirst : NULL;
        *n2 = dwBytes - nFirst;
        return S_OK;
    }
    STDMETHODIMP Play(DWORD, DWORD, DWORD dwFlags) override
    {
        playing = true;
        playFlags = dwFlags;
        return S_OK;
    }
    STDMETHODIMP SetCurrentPosition(DWORD p) override { position = p; return S_OK; }
    STDMETHODIMP SetFormat(LPCWAVEFORMATEX) override { return E_NOTIMPL; }
    STDMETHODIMP SetVolume(LONG) override { return S_OK; }
    STDMETHODIMP SetPan(LONG) override { return S_OK; }
    STDMETHODIMP SetFrequency(DWORD) override { return S_OK; }
    STDMETHODIMP Stop() override { playing = false; return S_OK; }
    STDMETHODIMP Unlock(LPVOID, DWORD, LPVOID, DWORD) override { return S_OK; }
    STDMETHODIMP Restore() override { return S_OK; }
    STDMETHODIMP SetNotificationPositions(DWORD n, LPCDSBPOSITIONNOTIFY p) override
    {
        notifications.assign(p, p + n);
        return S_OK;
    }

private:
    std::vector<BYTE>* m_pData;
};

class FakeDirectSound : public IDirectSound
{
public:
    ~FakeDirectSound()
    {
        for (FakeBuffer* p : buffers)
            delete p;
    }
    LONG refs = 1;
    HWND cooperativeWindow = (HWND)-1;
    DWORD cooperativeLevel = 0;
    std::vector<DSBUFFERDESC> descriptions;
    std::vector<WAVEFORMATEX> formats;
    std::vector<BYTE> data;                  // shared by the primary buffer and its duplicates
    std::vector<FakeBuffer*> buffers;        // [0] primary, then the duplicates

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (riid == IID_IUnknown || riid == IID_IDirectSound) {
            *ppv = this;
            AddRef();
            return S_OK;
        }
        *ppv = NULL;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return (ULONG)++refs; }
    STDMETHODIMP_(ULONG) Release() override { return (ULONG)--refs; }
    STDMETHODIMP CreateSoundBuffer(LPCDSBUFFERDESC pDesc, LPDIRECTSOUNDBUFFER* ppBuffer, LPUNKNOWN) override
    {
        descriptions.push_back(*pDesc);
        formats.push_back(*pDesc->lpwfxFormat);
        data.assign(pDesc->dwBufferBytes, 0xEE);
        buffers.push_back(new FakeBuffer(&data));
        *ppBuffer = buffers.back();
        return S_OK;
    }
    STDMETHODIMP GetCaps(LPDSCAPS) override { return E_NOTIMPL; }
    STDMETHODIMP DuplicateSoundBuffer(LPDIRECTSOUNDBUFFER, LPDIRECTSOUNDBUFFER* ppDup) override
    {
        buffers.push_back(new FakeBuffer(&data));
        *ppDup = buffers.back();
        return S_OK;
    }
    STDMETHODIMP SetCooperativeLevel(HWND hWnd, DWORD dwLevel) override
    {
        cooperativeWindow = hWnd;
        cooperativeLevel = dwLevel;
        return hWnd != NULL ? S_OK : DSERR_INVALIDPARAM;
    }
    STDMETHODIMP Compact() override { return S_OK; }
    STDMETHODIMP GetSpeakerConfig(LPDWORD) override { return E_NOTIMPL; }
    STDMETHODIMP SetSpeakerConfig(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP Initialize(LPCGUID) override { return S_OK; }
};
