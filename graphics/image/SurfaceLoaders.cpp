// The 16-bit surface's loaders of encoded pictures: decoded to a bitmap by
// the image decoder, copied into the surface, the bitmap deleted.
#include "graphics/QVMemBitmap.h"
#include "ImageDecoder.h"

namespace {

BOOL LoadAndDelete(CQVMemBitmap& surface, HBITMAP bitmap)
{
    if (!bitmap)
        return FALSE;
    const BOOL loaded = surface.LoadFromBitmap(bitmap);
    DeleteObject(bitmap);
    return loaded;
}

}  // namespace

BOOL CQVMemBitmap::LoadFromResourceOrFile(HMODULE module, LPCSTR name, LPCSTR type, WORD language)
{
    return LoadAndDelete(*this, LoadResourceOrFile(module, name, type, language));
}

BOOL CQVMemBitmap::LoadFromEncoded(const BYTE* data, DWORD size)
{
    return LoadAndDelete(*this, DecodeImage(data, size));
}
