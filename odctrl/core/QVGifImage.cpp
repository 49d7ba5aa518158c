// QVGifImage.cpp - binding of REVUVIVA.dll and the open-GIF wrapper.
#include "QVGifImage.h"

namespace {

enum Entry
{
    kGetNextRawFrameData,
    kGetGlobalColorIndexData,
    kGetGlobalColorIndexTotal,
    kGetNextImage,
    kGetImageSize,
    kCloseGifHandle,
    kLoadGifFromMem,
    kLoadGifFile,
    kReset,
    kCreateCurrentBmp,
};

}  // namespace

const char* const CGifTgaBinding::kEntryNames[kEntryCount] = {
    "GetNextRawFrameData", "GetGlobalColorIndexData", "GetGlobalColorIndexTotal", "GetNextImage",
    "GetImageSize",        "CloseGifHandle",          "LoadGifFromMem",           "LoadGifFile",
    "Reset",               "CreateCurrentBmp",        "LoadTGAFile",              "LoadTgaFromMem",
    "CreateBitmapFromTGA", "CloseTGAHandle",          "GetTgaWidth",              "GetTgaHeight",
    "GetTgaPalNum",        "GetTgaPixelDepth",        "GetTgaGetImageData",       "GetTgaGetImagePalData",
    "GetTgaGetImageAlphaData",
};

CGifTgaBinding::CGifTgaBinding(const char* dllName)
    : m_dllName(dllName), m_module(NULL), m_bound(false), m_failed(false), m_attempts(0), m_entries()
{
    InitializeSRWLock(&m_lock);
}

CGifTgaBinding::~CGifTgaBinding()
{
    // The process's binding lives to the process's end; a test's own frees
    // its library.
    if (m_module)
        FreeLibrary(m_module);
}

BOOL CGifTgaBinding::Bind()
{
    if (m_bound.load(std::memory_order_acquire))
        return TRUE;
    if (m_failed.load(std::memory_order_acquire))
        return FALSE;
    AcquireSRWLockExclusive(&m_lock);
    BOOL result = FALSE;
    if (m_bound.load(std::memory_order_relaxed)) {
        result = TRUE;  // another thread bound it meanwhile
    } else if (!m_failed.load(std::memory_order_relaxed)) {
        ++m_attempts;
        HMODULE module = LoadLibraryA(m_dllName);
        if (module) {
            bool complete = true;
            for (int i = 0; i < kEntryCount; ++i) {
                m_entries[i] = GetProcAddress(module, kEntryNames[i]);
                if (i < kRequiredEntries && !m_entries[i])
                    complete = false;
            }
            if (complete) {
                m_module = module;
                m_bound.store(true, std::memory_order_release);
                result = TRUE;
            } else {
                for (FARPROC& e : m_entries)
                    e = NULL;
                FreeLibrary(module);
            }
        }
        if (!result)
            m_failed.store(true, std::memory_order_release);
    }
    ReleaseSRWLockExclusive(&m_lock);
    return result;
}

FARPROC CGifTgaBinding::Entry(int index) const
{
    if (index < 0 || index >= kEntryCount || !m_bound.load(std::memory_order_acquire))
        return NULL;
    return m_entries[index];
}

CGifTgaBinding& GifTgaLibrary()
{
    static CGifTgaBinding binding("REVUVIVA.dll");
    return binding;
}

BOOL BindGifTgaDll() { return GifTgaLibrary().Bind(); }

// ---- CQVGifImage ---------------------------------------------------------------------------------

CQVGifImage::CQVGifImage(CGifTgaBinding* binding) : m_pBinding(binding ? binding : &GifTgaLibrary()), m_hGif(NULL) {}

CQVGifImage::~CQVGifImage() { Close(); }

void CQVGifImage::Close()
{
    if (m_hGif) {
        if (auto close = m_pBinding->EntryAs<CloseGifHandleProc>(kCloseGifHandle))
            close(m_hGif);
        m_hGif = NULL;
    }
}

int CQVGifImage::LoadFile(LPCSTR path)
{
    Close();
    if (!path || !m_pBinding->Bind())
        return kLoadFailed;
    m_hGif = m_pBinding->EntryAs<LoadGifFileProc>(kLoadGifFile)(path);
    return m_hGif ? kLoaded : kLoadFailed;
}

int CQVGifImage::LoadFromMem(const BYTE* data, DWORD size, BOOL headerPresent)
{
    Close();
    if (!data || !m_pBinding->Bind())
        return kLoadFailed;
    m_hGif = m_pBinding->EntryAs<LoadGifFromMemProc>(kLoadGifFromMem)(data, size, headerPresent);
    return m_hGif ? kLoaded : kLoadFailed;
}

BOOL CQVGifImage::GetImageSize(int* width, int* height, COLORREF* background)
{
    auto fn = m_pBinding->EntryAs<GetImageSizeProc>(kGetImageSize);
    return fn && m_hGif ? fn(m_hGif, width, height, background) : 0;
}

BOOL CQVGifImage::GetNextImage(int* x, int* y, int* width, int* height, HBITMAP* bitmap, BOOL* transparent,
                               int* transparentIndex, HPALETTE* palette, int* disposal, int* delayMs)
{
    auto fn = m_pBinding->EntryAs<GetNextImageProc>(kGetNextImage);
    return fn && m_hGif ? fn(m_hGif, x, y, width, height, bitmap, transparent, transparentIndex, palette, disposal, delayMs)
                        : 0;
}

HBITMAP CQVGifImage::CreateCurrentBmp()
{
    auto fn = m_pBinding->EntryAs<CreateCurrentBmpProc>(kCreateCurrentBmp);
    return fn && m_hGif ? fn(m_hGif) : NULL;
}

BOOL CQVGifImage::Reset()
{
    auto fn = m_pBinding->EntryAs<ResetProc>(kReset);
    return fn && m_hGif ? fn(m_hGif) : 0;
}

REVUVIVA_FRAME* CQVGifImage::GetNextRawFrameData()
{
    auto fn = m_pBinding->EntryAs<GetNextRawFrameDataProc>(kGetNextRawFrameData);
    return fn && m_hGif ? fn(m_hGif) : NULL;
}

int CQVGifImage::GetGlobalColorIndexTotal(int* backgroundIndex)
{
    auto fn = m_pBinding->EntryAs<GetGlobalColorIndexTotalProc>(kGetGlobalColorIndexTotal);
    return fn && m_hGif ? fn(m_hGif, backgroundIndex) : 0;
}

BOOL CQVGifImage::GetGlobalColorIndexData(BYTE* rgb, DWORD size)
{
    auto fn = m_pBinding->EntryAs<GetGlobalColorIndexDataProc>(kGetGlobalColorIndexData);
    return fn && m_hGif ? fn(m_hGif, rgb, size) : 0;
}
