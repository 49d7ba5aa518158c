// IconFunctions.cpp - icons, cursors, icon files and image lists.
#include "IconFunctions.h"

#include <afx.h>

#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "IconFile.h"
#include "graphics/QVMemBitmap.h"
#include "store/FilePaths.h"

namespace {

const COLORREF kIconBackground = 0x808000;
const DWORD kIconFormatVersion = 0x30000;
const int kMaxStringChars = 1024;

// The screen DC for as long as the object lives.
class ScreenDC
{
public:
    ScreenDC() : m_dc(GetDC(NULL)) {}
    ~ScreenDC()
    {
        if (m_dc)
            ReleaseDC(NULL, m_dc);
    }
    operator HDC() const { return m_dc; }

private:
    HDC m_dc;
};

// The bitmaps GetIconInfo hands out, deleted with the object.
class IconParts
{
public:
    explicit IconParts(HICON icon) : m_info(), m_ok(icon && GetIconInfo(icon, &m_info)) {}
    ~IconParts()
    {
        if (m_ok) {
            if (m_info.hbmMask)
                DeleteObject(m_info.hbmMask);
            if (m_info.hbmColor)
                DeleteObject(m_info.hbmColor);
        }
    }
    // Colour icons only: monochrome icons (no colour bitmap) are not taken.
    bool Ok() const { return m_ok && m_info.hbmMask && m_info.hbmColor; }
    const ICONINFO& Info() const { return m_info; }

private:
    ICONINFO m_info;  // before m_ok: filled by its initialiser
    bool m_ok;
};

DWORD RowBytes(int width, int bitCount) { return ((static_cast<DWORD>(width) * bitCount + 31) / 32) * 4; }

// A file's whole content; false when it cannot be read or is larger than
// maxSize. *missing tells a file that is not there.
bool ReadWholeFile(LPCSTR path, DWORD maxSize, std::vector<uint8_t>* bytes, bool* missing)
{
    *missing = false;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        *missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        return false;
    }
    DWORD high = 0;
    const DWORD size = GetFileSize(file, &high);
    bool ok = size != INVALID_FILE_SIZE && high == 0 && size <= maxSize;
    if (ok) {
        bytes->resize(size);
        DWORD read = 0;
        ok = size == 0 || (::ReadFile(file, bytes->data(), size, &read, NULL) && read == size);
    }
    CloseHandle(file);
    return ok;
}

BOOL WriteBytes(LPCSTR path, const std::vector<uint8_t>& bytes)
{
    if (!path || bytes.empty())
        return FALSE;
    return WriteFileReplacing(path, bytes.data(), static_cast<uint32_t>(bytes.size()));
}

// The icon as an .ico image: its colour DIB with the height doubled, the
// colour table and rows, then the mask rows.
bool MakeIconImage(HICON icon, iconfile::Image* image)
{
    IconParts parts(icon);
    if (!parts.Ok())
        return false;
    BITMAPINFO* header = NULL;
    BYTE* colour = NULL;
    DWORD headerSize = 0, colourSize = 0;
    if (!GetBitmapDib(parts.Info().hbmColor, &header, &headerSize, &colour, &colourSize))
        return false;
    const int width = header->bmiHeader.biWidth;
    const int height = header->bmiHeader.biHeight;

    // The mask as 1-bit rows of the same size.
    struct
    {
        BITMAPINFOHEADER h;
        RGBQUAD colours[2];
    } maskInfo = {};
    maskInfo.h.biSize = sizeof(BITMAPINFOHEADER);
    maskInfo.h.biWidth = width;
    maskInfo.h.biHeight = height;
    maskInfo.h.biPlanes = 1;
    maskInfo.h.biBitCount = 1;
    const DWORD maskSize = RowBytes(width, 1) * height;
    std::vector<uint8_t> mask(maskSize);
    bool ok;
    {
        ScreenDC screen;
        ok = GetDIBits(screen, parts.Info().hbmMask, 0, static_cast<UINT>(height), mask.data(),
                       reinterpret_cast<BITMAPINFO*>(&maskInfo), DIB_RGB_COLORS) == height;
    }
    if (ok) {
        header->bmiHeader.biHeight = height * 2;
        header->bmiHeader.biSizeImage = colourSize + maskSize;
        const int depth = header->bmiHeader.biPlanes * header->bmiHeader.biBitCount;
        image->entry = iconfile::Entry();
        image->entry.width = static_cast<uint8_t>(width >= 256 ? 0 : width);
        image->entry.height = static_cast<uint8_t>(height >= 256 ? 0 : height);
        image->entry.colorCount = static_cast<uint8_t>(depth < 8 ? 1 << depth : 0);
        image->entry.planes = header->bmiHeader.biPlanes;
        image->entry.bitCount = header->bmiHeader.biBitCount;
        const BYTE* h = reinterpret_cast<const BYTE*>(header);
        image->bytes.assign(h, h + headerSize);
        image->bytes.insert(image->bytes.end(), colour, colour + colourSize);
        image->bytes.insert(image->bytes.end(), mask.begin(), mask.end());
    }
    free(header);
    free(colour);
    return ok;
}

// The icon group `group` of a module as an .ico file.
BOOL WriteGroupOfModule(HMODULE module, LPCSTR group, LPCSTR path)
{
    HRSRC info = FindResourceA(module, group, RT_GROUP_ICON);
    HGLOBAL block = info ? LoadResource(module, info) : NULL;
    const BYTE* data = block ? static_cast<const BYTE*>(LockResource(block)) : NULL;
    std::vector<iconfile::GroupEntry> entries;
    if (!data || !iconfile::ParseGroup(data, SizeofResource(module, info), &entries))
        return FALSE;
    std::vector<iconfile::Image> images;
    for (const iconfile::GroupEntry& e : entries) {
        HRSRC iconInfo = FindResourceA(module, MAKEINTRESOURCEA(e.id), RT_ICON);
        HGLOBAL iconBlock = iconInfo ? LoadResource(module, iconInfo) : NULL;
        const BYTE* bytes = iconBlock ? static_cast<const BYTE*>(LockResource(iconBlock)) : NULL;
        const DWORD size = iconInfo ? SizeofResource(module, iconInfo) : 0;
        if (!bytes || size == 0)
            return FALSE;
        iconfile::Image image;
        image.entry.width = e.width;
        image.entry.height = e.height;
        image.entry.colorCount = e.colorCount;
        image.entry.reserved = 0;
        image.entry.planes = e.planes;
        image.entry.bitCount = e.bitCount;
        // The resource's own size, not the group's word for it.
        image.bytes.assign(bytes, bytes + size);
        images.push_back(image);
    }
    return WriteBytes(path, iconfile::Build(images));
}

// Names of a module's icon groups: strings copied, integer ids kept.
struct GroupNames
{
    std::vector<std::string> names;
    std::vector<ULONG_PTR> ids;  // 0 where the name is a string
};

BOOL CALLBACK CollectGroupName(HMODULE, LPCSTR, LPSTR name, LONG_PTR context)
{
    GroupNames* found = reinterpret_cast<GroupNames*>(context);
    if (IS_INTRESOURCE(name)) {
        found->ids.push_back(reinterpret_cast<ULONG_PTR>(name));
        found->names.push_back(std::string());
    } else {
        found->ids.push_back(0);
        found->names.push_back(name);
    }
    return TRUE;
}

// The header of a 32-bit top-down DIB of width x height.
BITMAPINFO TopDown32(int width, int height)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    return info;
}

}  // namespace

HBITMAP ImageListImageToBitmap(HIMAGELIST imageList, int index)
{
    int width = 0, height = 0;
    if (!imageList || index < 0 || index >= ImageList_GetImageCount(imageList) ||
        !ImageList_GetIconSize(imageList, &width, &height) || width < 1 || height < 1)
        return NULL;
    ScreenDC screen;
    HBITMAP bitmap = screen ? CreateCompatibleBitmap(screen, width, height) : NULL;
    HDC dc = screen ? CreateCompatibleDC(screen) : NULL;
    bool drawn = false;
    if (bitmap && dc) {
        HGDIOBJ old = SelectObject(dc, bitmap);
        RECT all = {0, 0, width, height};
        HBRUSH background = CreateSolidBrush(kIconBackground);
        FillRect(dc, &all, background);
        DeleteObject(background);
        drawn = ImageList_Draw(imageList, index, dc, 0, 0, ILD_TRANSPARENT) != FALSE;
        SelectObject(dc, old);
    }
    if (dc)
        DeleteDC(dc);
    if (!drawn && bitmap) {
        DeleteObject(bitmap);
        bitmap = NULL;
    }
    return bitmap;
}

HIMAGELIST BitmapStripToImageList(HBITMAP bitmap, int imageWidth, const COLORREF* key)
{
    BITMAP bm;
    if (!bitmap || imageWidth < 1 || GetObject(bitmap, sizeof bm, &bm) == 0 || bm.bmWidth < imageWidth ||
        bm.bmHeight < 1)
        return NULL;
    // ImageList_AddMasked blacks out the key pixels of what it is given:
    // it gets a copy.
    HBITMAP copy = static_cast<HBITMAP>(CopyImage(bitmap, IMAGE_BITMAP, 0, 0, 0));
    if (!copy)
        return NULL;
    COLORREF mask = key ? *key : CLR_INVALID;
    if (!key) {
        HDC dc = CreateCompatibleDC(NULL);
        if (dc) {
            HGDIOBJ old = SelectObject(dc, copy);
            mask = GetPixel(dc, 0, 0);
            SelectObject(dc, old);
            DeleteDC(dc);
        }
    }
    const int count = bm.bmWidth / imageWidth;
    HIMAGELIST list = NULL;
    if (mask != CLR_INVALID)
        list = ImageList_Create(imageWidth, bm.bmHeight, ILC_COLOR8 | ILC_MASK, count, 10);
    if (list && ImageList_AddMasked(list, copy, mask) < 0) {
        ImageList_Destroy(list);
        list = NULL;
    }
    DeleteObject(copy);
    return list;
}

HCURSOR LoadAnimatedCursor(UINT resourceId)
{
    HMODULE module = AfxGetResourceHandle();
    if (!module)
        module = GetModuleHandle(NULL);
    HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(resourceId), "ANICURSORS");
    HGLOBAL block = info ? LoadResource(module, info) : NULL;
    BYTE* data = block ? static_cast<BYTE*>(LockResource(block)) : NULL;
    const DWORD size = info ? SizeofResource(module, info) : 0;
    if (!data || size == 0)
        return NULL;
    return reinterpret_cast<HCURSOR>(
        CreateIconFromResourceEx(data, size, FALSE, kIconFormatVersion, 0, 0, LR_DEFAULTCOLOR));
}

int LoadResourceBlock(HMODULE module, LPCSTR name, BOOL text, WORD language, void** out)
{
    if (!out)
        return 0;
    *out = NULL;
    if (text) {
        if (!IS_INTRESOURCE(name))
            return 0;
        const UINT id = static_cast<UINT>(reinterpret_cast<ULONG_PTR>(name));
        // Strings live in blocks of 16: counted UTF-16 strings one after another.
        HRSRC info = FindResourceExA(module, RT_STRING, MAKEINTRESOURCEA(id / 16 + 1), language);
        HGLOBAL block = info ? LoadResource(module, info) : NULL;
        const WCHAR* p = block ? static_cast<const WCHAR*>(LockResource(block)) : NULL;
        if (!p)
            return 0;
        const WCHAR* end = p + SizeofResource(module, info) / sizeof(WCHAR);
        for (UINT i = 0; i < id % 16; i++) {
            if (p >= end || *p > end - p - 1)
                return 0;
            p += 1 + *p;
        }
        if (p >= end || *p == 0 || *p > end - p - 1)
            return 0;
        const int chars = *p > kMaxStringChars ? kMaxStringChars : *p;
        const int bytes = WideCharToMultiByte(CP_ACP, 0, p + 1, chars, NULL, 0, NULL, NULL);
        char* copy = bytes > 0 ? static_cast<char*>(malloc(static_cast<size_t>(bytes) + 1)) : NULL;
        if (!copy)
            return 0;
        WideCharToMultiByte(CP_ACP, 0, p + 1, chars, copy, bytes, NULL, NULL);
        copy[bytes] = '\0';
        *out = copy;
        return bytes;
    }
    HRSRC info = FindResourceExA(module, RT_DIALOG, name, language);
    HGLOBAL block = info ? LoadResource(module, info) : NULL;
    const void* data = block ? LockResource(block) : NULL;
    const DWORD size = info ? SizeofResource(module, info) : 0;
    if (!data || size == 0 || size > 0x7FFFFFFF)
        return 0;
    void* copy = malloc(size);
    if (!copy)
        return 0;
    memcpy(copy, data, size);
    *out = copy;
    return static_cast<int>(size);
}

HICON CreateIconFromGroupData(const BYTE* data, DWORD size)
{
    std::vector<iconfile::Entry> entries;
    if (!iconfile::ParseDirectory(data, size, &entries))
        return NULL;
    const iconfile::Entry& first = entries[0];
    BYTE* image = const_cast<BYTE*>(data + first.imageOffset);  // only read
    int width, height, bitCount;
    if (!iconfile::ImageSize(first, image, first.bytesInRes, &width, &height, &bitCount))
        return NULL;
    HICON icon = CreateIconFromResourceEx(image, first.bytesInRes, TRUE, kIconFormatVersion, width, height, 0);
    if (!icon && bitCount != 16)
        icon = CreateIconFromResourceEx(image, first.bytesInRes, TRUE, kIconFormatVersion, 0, 0, 0);
    return icon;
}

BOOL GetBitmapDib(HBITMAP bitmap, BITMAPINFO** header, DWORD* headerSize, BYTE** bits, DWORD* bitsSize)
{
    if (!header || !headerSize)
        return FALSE;
    *header = NULL;
    *headerSize = 0;
    if (bits)
        *bits = NULL;
    if (bitsSize)
        *bitsSize = 0;
    BITMAP bm;
    if (!bitmap || GetObject(bitmap, sizeof bm, &bm) == 0 || bm.bmWidth < 1 || bm.bmHeight < 1)
        return FALSE;
    const int depth = bm.bmPlanes * bm.bmBitsPixel;
    const int bitCount = depth <= 1 ? 1 : depth <= 4 ? 4 : depth <= 8 ? 8 : depth <= 16 ? 16 : depth <= 24 ? 24 : 32;
    const DWORD colours = bitCount <= 8 ? 1u << bitCount : 0;
    const DWORD rowsSize = RowBytes(bm.bmWidth, bitCount) * static_cast<DWORD>(bm.bmHeight);

    // GDI writes into the header it is given: room for every colour.
    struct
    {
        BITMAPINFOHEADER h;
        RGBQUAD colours[256 + 3];
    } info = {};
    info.h.biSize = sizeof(BITMAPINFOHEADER);
    info.h.biWidth = bm.bmWidth;
    info.h.biHeight = bm.bmHeight;
    info.h.biPlanes = 1;
    info.h.biBitCount = static_cast<WORD>(bitCount);
    info.h.biCompression = BI_RGB;
    info.h.biSizeImage = rowsSize;
    info.h.biClrUsed = colours;

    std::vector<BYTE> rows(rowsSize);
    bool ok;
    {
        ScreenDC screen;
        ok = GetDIBits(screen, bitmap, 0, static_cast<UINT>(bm.bmHeight), rows.data(),
                       reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS) == bm.bmHeight;
    }
    if (!ok)
        return FALSE;
    info.h.biCompression = BI_RGB;
    info.h.biSizeImage = rowsSize;
    info.h.biClrUsed = colours;
    const DWORD size = sizeof(BITMAPINFOHEADER) + colours * sizeof(RGBQUAD);
    BITMAPINFO* packed = static_cast<BITMAPINFO*>(malloc(size));
    BYTE* copy = bits ? static_cast<BYTE*>(malloc(rowsSize)) : NULL;
    if (!packed || (bits && !copy)) {
        free(packed);
        free(copy);
        return FALSE;
    }
    memcpy(packed, &info, size);
    *header = packed;
    *headerSize = size;
    if (bits) {
        memcpy(copy, rows.data(), rowsSize);
        *bits = copy;
        if (bitsSize)
            *bitsSize = rowsSize;
    }
    return TRUE;
}

BOOL WriteIconFile(HICON icon, LPCSTR path)
{
    iconfile::Image image;
    if (!path || !MakeIconImage(icon, &image))
        return FALSE;
    return WriteBytes(path, iconfile::Build(std::vector<iconfile::Image>(1, image)));
}

BOOL AddIconToFile(HICON icon, LPCSTR path, BOOL append)
{
    if (!append)
        return WriteIconFile(icon, path);
    if (!path)
        return FALSE;
    std::vector<uint8_t> bytes;
    bool missing;
    if (!ReadWholeFile(path, kMaxIconFileSize, &bytes, &missing))
        return missing ? WriteIconFile(icon, path) : FALSE;
    std::vector<iconfile::Image> images;
    if (!iconfile::ParseFile(bytes.data(), bytes.size(), &images) || images.size() >= iconfile::kMaxImages)
        return FALSE;
    iconfile::Image image;
    if (!MakeIconImage(icon, &image))
        return FALSE;
    images.push_back(image);
    return WriteBytes(path, iconfile::Build(images));
}

HICON CreateGrayIcon(HICON icon)
{
    IconParts parts(icon);
    if (!parts.Ok())
        return NULL;
    BITMAP bm;
    if (GetObject(parts.Info().hbmColor, sizeof bm, &bm) == 0 || bm.bmWidth < 1 || bm.bmHeight < 1)
        return NULL;
    BITMAPINFO info = TopDown32(bm.bmWidth, bm.bmHeight);
    ScreenDC screen;
    void* bits = NULL;
    HBITMAP grey = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    if (!grey || !bits) {
        if (grey)
            DeleteObject(grey);
        return NULL;
    }
    HICON result = NULL;
    if (GetDIBits(screen, parts.Info().hbmColor, 0, static_cast<UINT>(bm.bmHeight), bits, &info, DIB_RGB_COLORS) ==
        bm.bmHeight) {
        BYTE* p = static_cast<BYTE*>(bits);
        for (LONG i = 0; i < bm.bmWidth * bm.bmHeight; i++, p += 4) {
            if ((p[0] | p[1] | p[2]) == 0)
                continue;
            const BYTE v = static_cast<BYTE>(0.299 * p[2] + 0.587 * p[1] + 0.114 * p[0]);
            p[0] = p[1] = p[2] = v;
        }
        ICONINFO made = parts.Info();
        made.hbmColor = grey;
        result = CreateIconIndirect(&made);
    }
    DeleteObject(grey);
    return result;
}

BOOL WriteIconGroupFile(LPCSTR moduleFile, LPCSTR group, LPCSTR path)
{
    if (!moduleFile || !path)
        return FALSE;
    HMODULE module = LoadLibraryExA(moduleFile, NULL, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return FALSE;
    const BOOL written = WriteGroupOfModule(module, group, path);
    FreeLibrary(module);
    return written;
}

BOOL WriteIconGroupByIndex(LPCSTR moduleFile, int index, LPCSTR path)
{
    if (!moduleFile || !path || index < 0)
        return FALSE;
    HMODULE module = LoadLibraryExA(moduleFile, NULL, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return FALSE;
    GroupNames groups;
    EnumResourceNamesA(module, RT_GROUP_ICON, CollectGroupName, reinterpret_cast<LONG_PTR>(&groups));
    BOOL written = FALSE;
    if (static_cast<size_t>(index) < groups.ids.size()) {
        LPCSTR name = groups.ids[index] ? MAKEINTRESOURCEA(groups.ids[index]) : groups.names[index].c_str();
        written = WriteGroupOfModule(module, name, path);
    }
    FreeLibrary(module);
    return written;
}

HICON CreateIconFromSurface(const CQVMemBitmap* surface)
{
    if (!surface || !surface->HasPixels())
        return NULL;
    const int width = surface->GetWidth();
    const int height = surface->GetHeight();
    const WORD key = surface->GetPixel16(0, 0);

    BITMAPINFO info = TopDown32(width, height);
    void* bits = NULL;
    HBITMAP colour;
    {
        ScreenDC screen;
        colour = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    }
    // Monochrome bitmaps take rows of whole 16-bit words; 1 = transparent.
    const size_t maskRow = ((static_cast<size_t>(width) + 15) / 16) * 2;
    std::vector<BYTE> maskBits(maskRow * height, 0);
    if (colour && bits) {
        DWORD* out = static_cast<DWORD*>(bits);
        for (int y = 0; y < height; y++)
            for (int x = 0; x < width; x++) {
                const WORD pixel = surface->GetPixel16(x, y);
                if (pixel == key) {
                    maskBits[y * maskRow + x / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
                    out[y * width + x] = 0;
                } else {
                    const COLORREF c = CQVMemBitmap::RGB565ToRGB(pixel);
                    out[y * width + x] = static_cast<DWORD>(GetRValue(c)) << 16 | GetGValue(c) << 8 | GetBValue(c);
                }
            }
    }
    HBITMAP mask = CreateBitmap(width, height, 1, 1, maskBits.data());
    HICON icon = NULL;
    if (colour && bits && mask) {
        ICONINFO made = {TRUE, static_cast<DWORD>(width / 2), static_cast<DWORD>(height / 2), mask, colour};
        icon = CreateIconIndirect(&made);
    }
    if (mask)
        DeleteObject(mask);
    if (colour)
        DeleteObject(colour);
    return icon;
}
