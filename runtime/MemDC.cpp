#include "MemDC.h"

CMemDC::CMemDC(HDC target) : m_hTarget(target)
{
    Attach(::CreateCompatibleDC(target));
}

CMemDC::CMemDC(HDC target, CBitmap* bitmap) : CMemDC(target)
{
    SelectBitmap(bitmap);
}

CMemDC::CMemDC(HDC target, int width, int height) : CMemDC(target)
{
    CreateOwnedBitmap(width, height);
}

CMemDC::~CMemDC()
{
    ReleaseBitmap();
    DeleteDC();
}

void CMemDC::ReleaseBitmap()
{
    if (!m_pBitmap)
        return;
    ::SelectObject(m_hDC, m_hOldBitmap);
    if (m_bOwned)
        delete m_pBitmap;   // its destructor deletes the GDI object
    m_pBitmap = nullptr;
    m_bOwned = FALSE;
    m_hOldBitmap = NULL;
}

BOOL CMemDC::SelectBitmap(CBitmap* bitmap)
{
    ReleaseBitmap();
    if (!m_hDC || !bitmap || !bitmap->GetSafeHandle())
        return FALSE;
    HGDIOBJ old = ::SelectObject(m_hDC, bitmap->GetSafeHandle());
    if (!old)
        return FALSE;
    m_hOldBitmap = static_cast<HBITMAP>(old);
    m_pBitmap = bitmap;
    m_bOwned = FALSE;
    return TRUE;
}

BOOL CMemDC::CreateOwnedBitmap(int width, int height)
{
    ReleaseBitmap();
    if (!m_hDC || width <= 0 || height <= 0)
        return FALSE;
    HDC compatible = m_hTarget ? m_hTarget : ::GetDC(NULL);
    HBITMAP handle = ::CreateCompatibleBitmap(compatible, width, height);
    if (!m_hTarget)
        ::ReleaseDC(NULL, compatible);
    CBitmap* bitmap = handle ? new (std::nothrow) CBitmap : nullptr;
    if (!bitmap) {
        if (handle)
            ::DeleteObject(handle);
        return FALSE;
    }
    bitmap->Attach(handle);
    if (!SelectBitmap(bitmap)) {
        delete bitmap;
        return FALSE;
    }
    m_bOwned = TRUE;
    return TRUE;
}

CBitmap* CMemDC::DetachBitmap()
{
    CBitmap* bitmap = m_pBitmap;
    if (bitmap)
        ::SelectObject(m_hDC, m_hOldBitmap);
    m_pBitmap = nullptr;
    m_bOwned = FALSE;
    m_hOldBitmap = NULL;
    return bitmap;
}
