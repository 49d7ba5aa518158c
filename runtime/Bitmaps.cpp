#include "Bitmaps.h"

#include "Conversions.h"
#include "GdiScratch.h"

#include <cstring>
#include <string>

using runtime_gdi::CSelectedBitmap;

namespace {

HBITMAP CreateDib24(HDC dc, int width, int height, BYTE** bits)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, NULL, 0);
    *bits = static_cast<BYTE*>(pixels);
    return bitmap;
}

void DefaultFatalPicture(const char* text, const char* caption)
{
    MessageBoxA(NULL, text, caption, MB_OK | MB_ICONWARNING);
    ExitProcess(static_cast<UINT>(-1));
}

FatalPictureRoutine g_fatalPicture = DefaultFatalPicture;

}  // namespace

// ---- Bitmaps named in ini files ------------------------------------------------------------

CString IniPicturePath(const char* iniPath, const char* section, const char* key, const char* folder)
{
    char name[261] = {};
    GetPrivateProfileStringA(section, key, "", name, 260, iniPath);
    CString path;
    if (folder)
        path.Format("%s\\%s", folder, name);
    else
        path = name;
    return path;
}

HBITMAP LoadIniBitmap(const char* iniPath, const char* section, const char* key, const char* folder)
{
    const CString path = IniPicturePath(iniPath, section, key, folder);
    return static_cast<HBITMAP>(LoadImageA(NULL, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
}

BOOL GetImageSize(GdiplusPicture* picture)
{
    if (!picture || !picture->image)
        return FALSE;
    picture->width = picture->image->GetWidth();
    picture->height = picture->image->GetHeight();
    const Gdiplus::Status status = picture->image->GetLastStatus();
    if (status != Gdiplus::Ok)
        picture->status = status;
    return status == Gdiplus::Ok;
}

FatalPictureRoutine SetFatalPictureRoutine(FatalPictureRoutine routine)
{
    FatalPictureRoutine previous = g_fatalPicture;
    g_fatalPicture = routine ? routine : DefaultFatalPicture;
    return previous;
}

GdiplusPicture* LoadIniBitmapOrExit(const char* iniPath, const char* section, const char* key,
                                    const char* folder)
{
    const CString path = IniPicturePath(iniPath, section, key, folder);
    GdiplusPicture* picture = new GdiplusPicture;
    if (WCHAR* wide = AnsiToWideAlloc(path)) {
        picture->image = new Gdiplus::Image(wide);
        delete[] wide;
    }
    GetImageSize(picture);
    if (picture->width == 0 || picture->height == 0) {
        delete picture;
        const CString text = path + "加载错误！\n\n点击确定退出程序。";
        g_fatalPicture(text, "错误");
        return nullptr;
    }
    return picture;
}

// ---- Bitmaps -------------------------------------------------------------------------------

int GetBitmapWidth(HBITMAP bitmap)
{
    BITMAP description = {};
    return bitmap && GetObject(bitmap, sizeof(description), &description) ? description.bmWidth : 0;
}

int GetBitmapHeight(HBITMAP bitmap)
{
    BITMAP description = {};
    return bitmap && GetObject(bitmap, sizeof(description), &description) ? description.bmHeight : 0;
}

BOOL TransparentBlit(HDC target, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                     int sourceWidth, int sourceHeight, COLORREF key)
{
    if (width <= 0 || height <= 0)
        return TRUE;
    if (key == 0)
        key = GetPixel(source, sourceX, sourceY);
    CSelectedBitmap image(target, CreateCompatibleBitmap(target, width, height), true);
    CSelectedBitmap mask(target, CreateBitmap(width, height, 1, 1, nullptr), true);
    if (!image.Ok() || !mask.Ok())
        return FALSE;

    if (sourceWidth == width && sourceHeight == height) {
        BitBlt(image.Dc(), 0, 0, width, height, source, sourceX, sourceY, SRCCOPY);
    } else {
        SetStretchBltMode(image.Dc(), COLORONCOLOR);
        StretchBlt(image.Dc(), 0, 0, width, height, source, sourceX, sourceY, sourceWidth, sourceHeight, SRCCOPY);
    }
    // Mask: key pixels white, the rest black.
    SetBkColor(image.Dc(), key);
    BitBlt(mask.Dc(), 0, 0, width, height, image.Dc(), 0, 0, SRCCOPY);
    // The image's key pixels become black.
    SetBkColor(image.Dc(), RGB(0, 0, 0));
    SetTextColor(image.Dc(), RGB(255, 255, 255));
    BitBlt(image.Dc(), 0, 0, width, height, mask.Dc(), 0, 0, SRCAND);
    // The target keeps its pixels under the key and takes the image elsewhere.
    const COLORREF oldBack = SetBkColor(target, RGB(255, 255, 255));
    const COLORREF oldText = SetTextColor(target, RGB(0, 0, 0));
    BitBlt(target, x, y, width, height, mask.Dc(), 0, 0, SRCAND);
    BitBlt(target, x, y, width, height, image.Dc(), 0, 0, SRCPAINT);
    SetBkColor(target, oldBack);
    SetTextColor(target, oldText);
    return TRUE;
}

BOOL AlphaMaskBlit(HDC target, int x, int y, int width, int height, HBITMAP image, int imageX, int imageY,
                   HBITMAP mask, int maskX, int maskY)
{
    if (width <= 0 || height <= 0)
        return TRUE;
    BYTE* imageBits = nullptr;
    BYTE* maskBits = nullptr;
    BYTE* targetBits = nullptr;
    CSelectedBitmap imageCopy(target, CreateDib24(target, width, height, &imageBits), true);
    CSelectedBitmap maskCopy(target, CreateDib24(target, width, height, &maskBits), true);
    CSelectedBitmap targetCopy(target, CreateDib24(target, width, height, &targetBits), true);
    if (!imageCopy.Ok() || !maskCopy.Ok() || !targetCopy.Ok())
        return FALSE;
    {
        CSelectedBitmap imageSource(target, image, false);
        CSelectedBitmap maskSource(target, mask, false);
        if (!imageSource.Ok() || !maskSource.Ok())
            return FALSE;
        BitBlt(imageCopy.Dc(), 0, 0, width, height, imageSource.Dc(), imageX, imageY, SRCCOPY);
        BitBlt(maskCopy.Dc(), 0, 0, width, height, maskSource.Dc(), maskX, maskY, SRCCOPY);
    }
    BitBlt(targetCopy.Dc(), 0, 0, width, height, target, x, y, SRCCOPY);
    GdiFlush();
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~static_cast<size_t>(3);
    for (int row = 0; row < height; ++row) {
        const size_t start = stride * static_cast<size_t>(row);
        for (int column = 0; column < width; ++column) {
            const size_t at = start + static_cast<size_t>(column) * 3;
            const int alpha = maskBits[at];
            for (int channel = 0; channel < 3; ++channel)
                targetBits[at + channel] = static_cast<BYTE>(
                    (imageBits[at + channel] * alpha + targetBits[at + channel] * (255 - alpha)) >> 8);
        }
    }
    BitBlt(target, x, y, width, height, targetCopy.Dc(), 0, 0, SRCCOPY);
    return TRUE;
}

BOOL BlitBitmap(HDC target, int x, int y, int width, int height, HBITMAP bitmap, int sourceX, int sourceY,
                DWORD rasterOperation)
{
    CSelectedBitmap source(target, bitmap, false);
    if (!source.Ok())
        return FALSE;
    return BitBlt(target, x, y, width, height, source.Dc(), sourceX, sourceY, rasterOperation);
}

// ---- GDI+ ------------------------------------------------------------------------------------

Gdiplus::Status DrawImageAlpha(Gdiplus::Graphics* graphics, Gdiplus::Image* image, const Gdiplus::Rect& target,
                               const Gdiplus::Rect& source, BYTE alpha)
{
    if (!graphics || !image)
        return Gdiplus::InvalidParameter;
    if (alpha == 255)
        return graphics->DrawImage(image, target, source.X, source.Y, source.Width, source.Height,
                                   Gdiplus::UnitPixel);
    Gdiplus::ColorMatrix matrix = {{{1, 0, 0, 0, 0},
                                    {0, 1, 0, 0, 0},
                                    {0, 0, 1, 0, 0},
                                    {0, 0, 0, alpha / 255.0f, 0},
                                    {0, 0, 0, 0, 1}}};
    Gdiplus::ImageAttributes attributes;
    attributes.SetColorMatrix(&matrix, Gdiplus::ColorMatrixFlagsDefault, Gdiplus::ColorAdjustTypeBitmap);
    return graphics->DrawImage(image, target, source.X, source.Y, source.Width, source.Height, Gdiplus::UnitPixel,
                               &attributes);
}

Gdiplus::Image* LoadImageFromResource(HMODULE module, LPCSTR name, LPCSTR type)
{
    HRSRC resource = FindResourceA(module, name, type);
    if (!resource)
        return nullptr;
    const DWORD size = SizeofResource(module, resource);
    HGLOBAL loaded = LoadResource(module, resource);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data || size == 0)
        return nullptr;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!block)
        return nullptr;
    void* copy = GlobalLock(block);
    if (!copy) {
        GlobalFree(block);
        return nullptr;
    }
    std::memcpy(copy, data, size);
    GlobalUnlock(block);
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream))) {   // the stream frees the block
        GlobalFree(block);
        return nullptr;
    }
    Gdiplus::Image* image = Gdiplus::Image::FromStream(stream);
    stream->Release();   // the image holds its own reference
    if (image && image->GetLastStatus() != Gdiplus::Ok) {
        delete image;
        image = nullptr;
    }
    return image;
}

Gdiplus::Bitmap* LoadGdiplusBitmap(const WCHAR* path, BOOL colourManaged)
{
    if (!path)
        return nullptr;
    Gdiplus::Bitmap* bitmap = new Gdiplus::Bitmap(path, colourManaged);
    if (bitmap->GetLastStatus() != Gdiplus::Ok) {
        delete bitmap;
        return nullptr;
    }
    return bitmap;
}

BOOL CloneImageArgb(Gdiplus::Image* image, Gdiplus::Bitmap** clone)
{
    if (!clone)
        return FALSE;
    *clone = nullptr;
    if (!image || image->GetType() != Gdiplus::ImageTypeBitmap)
        return FALSE;
    const UINT width = image->GetWidth();
    const UINT height = image->GetHeight();
    if (width == 0 || height == 0)
        return FALSE;
    Gdiplus::Bitmap* source = static_cast<Gdiplus::Bitmap*>(image);
    Gdiplus::Bitmap* copy = new Gdiplus::Bitmap(static_cast<INT>(width), static_cast<INT>(height),
                                                PixelFormat32bppARGB);
    Gdiplus::Rect area(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    Gdiplus::BitmapData from = {};
    Gdiplus::BitmapData to = {};
    bool ok = copy->GetLastStatus() == Gdiplus::Ok &&
              source->LockBits(&area, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &from) == Gdiplus::Ok;
    if (ok) {
        ok = copy->LockBits(&area, Gdiplus::ImageLockModeWrite, PixelFormat32bppARGB, &to) == Gdiplus::Ok;
        if (ok) {
            for (UINT row = 0; row < height; ++row)
                std::memcpy(static_cast<BYTE*>(to.Scan0) + static_cast<ptrdiff_t>(row) * to.Stride,
                            static_cast<const BYTE*>(from.Scan0) + static_cast<ptrdiff_t>(row) * from.Stride,
                            static_cast<size_t>(width) * 4);
            ok = copy->UnlockBits(&to) == Gdiplus::Ok;
        }
        source->UnlockBits(&from);
    }
    if (!ok) {
        delete copy;
        return FALSE;
    }
    *clone = copy;
    return TRUE;
}

Gdiplus::Status SaveImagePng(Gdiplus::Image* image, const WCHAR* path)
{
    if (!image || !path)
        return Gdiplus::InvalidParameter;
    CLSID png;
    if (GetEncoderClsid(L"image/png", &png) < 0)
        return Gdiplus::UnknownImageFormat;
    const std::wstring temporary = std::wstring(path) + L".tmp";
    const Gdiplus::Status status = image->Save(temporary.c_str(), &png, nullptr);
    if (status != Gdiplus::Ok) {
        DeleteFileW(temporary.c_str());
        return status;
    }
    if (!MoveFileExW(temporary.c_str(), path, MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileW(temporary.c_str());
        return Gdiplus::Win32Error;
    }
    return Gdiplus::Ok;
}
