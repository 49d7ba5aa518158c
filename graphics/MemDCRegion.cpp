// MemDCRegion.cpp - the region of the bitmap a runtime memory DC holds.
#include <afxwin.h>

#include "MemDC.h"

#include "BitmapRegions.h"

HRGN CMemDC::CreateRegionFromKey(COLORREF key)
{
    CBitmap* bitmap = GetBitmap();
    return ::CreateRegionFromKey(GetSafeHdc(), bitmap ? static_cast<HBITMAP>(bitmap->GetSafeHandle()) : NULL, key);
}
