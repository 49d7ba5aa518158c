#include "AnimatedImage.h"

#include <process.h>

#include "FrameTiming.h"
#include "afxwin.h"

namespace {

DWORD DefaultWait(HANDLE hStop, DWORD dwMilliseconds) { return ::WaitForSingleObject(hStop, dwMilliseconds); }
CAnimatedImage::WaitRoutine g_pfnWait = nullptr;

CAnimatedImage::WaitRoutine CurrentWait()
{
    CAnimatedImage::WaitRoutine pfn = g_pfnWait;
    return pfn != nullptr ? pfn : &DefaultWait;
}

// A stream over a copy of the resource's bytes that frees them on release.
IStream* OpenResourceStream(LPCSTR lpszName, LPCSTR lpszType)
{
    HMODULE hModule = AfxGetResourceHandle();
    HRSRC hRes = ::FindResourceA(hModule, lpszName, lpszType);
    if (hRes == NULL)
        return nullptr;
    const DWORD dwSize = ::SizeofResource(hModule, hRes);
    HGLOBAL hData = ::LoadResource(hModule, hRes);
    const void* pData = hData != NULL ? ::LockResource(hData) : nullptr;
    if (pData == nullptr || dwSize == 0)
        return nullptr;
    HGLOBAL hCopy = ::GlobalAlloc(GMEM_MOVEABLE, dwSize);
    if (hCopy == NULL)
        return nullptr;
    void* pCopy = ::GlobalLock(hCopy);
    memcpy(pCopy, pData, dwSize);
    ::GlobalUnlock(hCopy);
    IStream* pStream = nullptr;
    if (FAILED(::CreateStreamOnHGlobal(hCopy, TRUE, &pStream))) {
        ::GlobalFree(hCopy);
        return nullptr;
    }
    return pStream;
}

}  // namespace

CAnimatedImage::WaitRoutine CAnimatedImage::SetWaitRoutine(WaitRoutine pfn)
{
    WaitRoutine pOld = g_pfnWait;
    g_pfnWait = pfn;
    return pOld;
}

CAnimatedImage::CAnimatedImage(const WCHAR* pszPath, BOOL bUseICM) : Gdiplus::Image(pszPath, bUseICM), m_pStream(nullptr)
{
    Init();
    m_bPlayable = TRUE;
    ReadFrames();
}

CAnimatedImage::CAnimatedImage(LPCSTR lpszName, LPCSTR lpszType) : CAnimatedImage(OpenResourceStream(lpszName, lpszType), 0)
{
}

CAnimatedImage::CAnimatedImage(IStream* pStream, int) : Gdiplus::Image(pStream, TRUE), m_pStream(pStream)
{
    Init();
    ReadFrames();
}

void CAnimatedImage::Init()
{
    m_hThread = NULL;
    m_hRunEvent = ::CreateEventA(NULL, TRUE, TRUE, NULL);
    m_hStopEvent = ::CreateEventA(NULL, TRUE, FALSE, NULL);
    m_hWnd = NULL;
    m_nFrameCount = 0;
    m_nFrameCounter = 0;
    m_bPlayable = FALSE;
    m_bPaused = FALSE;
    m_x = m_y = 0;
    m_size.cx = m_size.cy = 0;
    m_loadStatus = Gdiplus::GenericError;
}

void CAnimatedImage::ReadFrames()
{
    m_loadStatus = GetLastStatus();
    if (m_loadStatus != Gdiplus::Ok)
        return;
    m_size.cx = (LONG)GetWidth();
    m_size.cy = (LONG)GetHeight();
    const UINT nDimensions = GetFrameDimensionsCount();
    if (nDimensions == 0)
        return;
    std::vector<GUID> dimensions(nDimensions);
    if (GetFrameDimensionsList(dimensions.data(), nDimensions) != Gdiplus::Ok)
        return;
    m_nFrameCount = Gdiplus::Image::GetFrameCount(&dimensions[0]);

    // The delays, checked against the frame count: a picture without the
    // property, or with fewer values than frames, gets the default delay.
    std::vector<uint32_t> values;
    const UINT nSize = GetPropertyItemSize(PropertyTagFrameDelay);
    if (nSize >= sizeof(Gdiplus::PropertyItem)) {
        std::vector<BYTE> buffer(nSize);
        auto* pItem = reinterpret_cast<Gdiplus::PropertyItem*>(buffer.data());
        if (GetPropertyItem(PropertyTagFrameDelay, nSize, pItem) == Gdiplus::Ok && pItem->value != nullptr &&
            pItem->type == PropertyTagTypeLong) {
            const BYTE* pEnd = buffer.data() + buffer.size();
            const BYTE* pValue = static_cast<const BYTE*>(pItem->value);
            size_t nCount = pItem->length / sizeof(uint32_t);
            if (pValue < buffer.data() || pValue > pEnd)
                nCount = 0;
            else if (nCount > (size_t)(pEnd - pValue) / sizeof(uint32_t))
                nCount = (size_t)(pEnd - pValue) / sizeof(uint32_t);
            values.resize(nCount);
            if (nCount != 0)
                memcpy(values.data(), pValue, nCount * sizeof(uint32_t));
        }
    }
    const std::vector<uint32_t> delays = widgets::FrameDelaysMs(values.data(), values.size(), m_nFrameCount);
    m_delays.assign(delays.begin(), delays.end());
}

CAnimatedImage::~CAnimatedImage()
{
    if (m_hThread != NULL) {
        // Stop first, then resume: a paused thread wakes to end, never to draw once more.
        ::SetEvent(m_hStopEvent);
        ::SetEvent(m_hRunEvent);
        ::WaitForSingleObject(m_hThread, INFINITE);
        ::CloseHandle(m_hThread);
        m_hThread = NULL;
    }
    if (m_hRunEvent != NULL)
        ::CloseHandle(m_hRunEvent);
    if (m_hStopEvent != NULL)
        ::CloseHandle(m_hStopEvent);
    if (m_pStream != nullptr)
        m_pStream->Release();
}

BOOL CAnimatedImage::Play(HWND hWnd, int x, int y)
{
    m_hWnd = hWnd;
    m_x = x;
    m_y = y;
    if (!m_bPlayable || m_nFrameCount < 2 || m_hThread != NULL || m_hRunEvent == NULL || m_hStopEvent == NULL)
        return m_hThread != NULL;
    unsigned nId = 0;
    m_hThread = (HANDLE)_beginthreadex(NULL, 0, &CAnimatedImage::ThreadProc, this, CREATE_SUSPENDED, &nId);
    if (m_hThread == NULL)
        return FALSE;
    ::ResumeThread(m_hThread);
    return TRUE;
}

void CAnimatedImage::SetPause(BOOL bPause)
{
    if (m_nFrameCount < 2)
        return;
    m_bPaused = bPause;
    if (bPause)
        ::ResetEvent(m_hRunEvent);
    else
        ::SetEvent(m_hRunEvent);
}

unsigned __stdcall CAnimatedImage::ThreadProc(void* pParam)
{
    static_cast<CAnimatedImage*>(pParam)->PlayLoop();
    return 0;
}

void CAnimatedImage::PlayLoop()
{
    const WaitRoutine pfnWait = CurrentWait();
    std::vector<uint32_t> delays(m_delays.begin(), m_delays.end());
    m_nFrameCounter = 0;
    for (;;) {
        ::WaitForSingleObject(m_hRunEvent, INFINITE);
        if (::WaitForSingleObject(m_hStopEvent, 0) == WAIT_OBJECT_0)
            break;   // woken from a pause only to end
        HDC hDC = m_hWnd != NULL && ::IsWindow(m_hWnd) ? ::GetDC(m_hWnd) : NULL;   // never the screen
        if (hDC != NULL) {
            {
                Gdiplus::Graphics graphics(hDC);
                graphics.DrawImage(this, m_x, m_y, (INT)m_size.cx, (INT)m_size.cy);
            }
            ::ReleaseDC(m_hWnd, hDC);
        }
        SelectActiveFrame(&Gdiplus::FrameDimensionTime, m_nFrameCounter);
        const DWORD dwWait = widgets::NextFrameWait(delays, &m_nFrameCounter);
        if (pfnWait(m_hStopEvent, dwWait) == WAIT_OBJECT_0)
            break;
    }
}
