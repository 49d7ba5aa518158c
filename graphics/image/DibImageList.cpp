// DibImageList.cpp - the surface image list.
#include "DibImageList.h"

#include <afxwin.h>
#include <afxcmn.h>

#include <stdlib.h>

#include <new>

#include "graphics/QVMemBitmap.h"

namespace {

// A surface of width x height, cleared to black; NULL when it cannot be made.
CQVMemBitmap* NewSurface(long long width, long long height)
{
    if (width < 1 || height < 1 || width > 0x7FFFFFFF || height > 0x7FFFFFFF)
        return NULL;
    CQVMemBitmap* surface = new (std::nothrow) CQVMemBitmap;
    if (!surface)
        return NULL;
    if (!surface->Create(static_cast<int>(width), static_cast<int>(height))) {
        delete surface;
        return NULL;
    }
    surface->FillRect(0, 0, static_cast<int>(width), static_cast<int>(height), 0);
    return surface;
}

}  // namespace

CQVDibImageList::CQVDibImageList()
    : m_pStrip(NULL), m_nCapacity(0), m_nGrowBy(0), m_nCount(0), m_nWidth(0), m_nHeight(0),
      m_crHighlight(GetSysColor(COLOR_HIGHLIGHT))
{
}

CQVDibImageList::~CQVDibImageList() { Clear(); }

void CQVDibImageList::Clear()
{
    delete m_pStrip;
    m_pStrip = NULL;
    m_nCapacity = 0;
    m_nGrowBy = 0;
    m_nCount = 0;
}

RECT CQVDibImageList::ImageRect(int index) const
{
    RECT r = {index * m_nWidth, 0, (index + 1) * m_nWidth, m_nHeight};
    return r;
}

BOOL CQVDibImageList::Create(int width, int height, int capacity, int growBy)
{
    Clear();
    m_nWidth = width;
    m_nHeight = height;
    if (width < 1 || height < 1)
        return FALSE;
    m_nCapacity = capacity < 0 ? 0 : capacity;
    m_nCount = 0;
    m_nGrowBy = growBy < 1 ? kDefaultGrowBy : growBy;
    if (m_nCapacity == 0)
        return TRUE;
    m_pStrip = NewSurface(static_cast<long long>(m_nCapacity) * width, height);
    if (!m_pStrip) {
        Clear();
        return FALSE;
    }
    return TRUE;
}

BOOL CQVDibImageList::CreateFromImageList(CImageList* imageList)
{
    if (!imageList)
        return FALSE;
    Clear();
    HIMAGELIST list = imageList->GetSafeHandle();
    const int n = ImageList_GetImageCount(list);
    m_nCount = m_nCapacity = n;
    m_nGrowBy = kDefaultGrowBy;
    if (n < 1) {
        m_nCount = m_nCapacity = 0;
        m_nWidth = m_nHeight = 0;
        return TRUE;
    }
    IMAGEINFO info;
    if (!ImageList_GetImageInfo(list, 0, &info)) {
        m_nCount = m_nCapacity = 0;
        m_nWidth = m_nHeight = 0;
        return TRUE;
    }
    if (!Create(info.rcImage.right - info.rcImage.left, info.rcImage.bottom - info.rcImage.top, n, kDefaultGrowBy)) {
        Clear();
        return FALSE;
    }
    for (int i = 0; i < n; i++) {
        HICON icon = ImageList_GetIcon(list, i, ILD_NORMAL);
        if (!icon) {
            Clear();
            return FALSE;
        }
        const int added = AddIcon(icon);
        DestroyIcon(icon);
        if (added < 0) {
            Clear();
            return FALSE;
        }
    }
    SetKeyColorFromCorner();
    return TRUE;
}

BOOL CQVDibImageList::CreateFromSurface(const CQVMemBitmap* surface, int imageWidth)
{
    Clear();
    if (!surface || !surface->HasPixels() || imageWidth < 1)
        return FALSE;
    const int capacity = surface->GetWidth() / imageWidth;
    if (capacity < 1)
        return FALSE;
    CQVMemBitmap* strip = NewSurface(surface->GetWidth(), surface->GetHeight());
    if (!strip)
        return FALSE;
    strip->Blit(surface, NULL, 0, 0);
    COLORREF key;
    if (surface->GetKeyMode() == 2)
        strip->SetKeyColorFromCorner();
    else if (surface->GetKeyColor(&key))
        strip->SetKeyColor(key);
    m_pStrip = strip;
    m_nWidth = imageWidth;
    m_nHeight = surface->GetHeight();
    m_nCapacity = m_nCount = capacity;
    m_nGrowBy = kDefaultGrowBy;
    return TRUE;
}

int CQVDibImageList::AddIcon(HICON icon)
{
    ICONINFO info;
    if (!icon || !GetIconInfo(icon, &info))
        return -1;
    int result = -1;
    HDC screen = ::GetDC(NULL);
    HDC canvas = screen ? CreateCompatibleDC(screen) : NULL;
    HDC parts = screen ? CreateCompatibleDC(screen) : NULL;
    HBITMAP bitmap = screen && m_nWidth > 0 && m_nHeight > 0 ? CreateCompatibleBitmap(screen, m_nWidth, m_nHeight) : NULL;
    // Icons without a colour bitmap (monochrome icons) are not taken.
    if (canvas && parts && bitmap && info.hbmColor && info.hbmMask) {
        HGDIOBJ oldCanvas = SelectObject(canvas, bitmap);
        // The icon is laid on the reference background through its mask.
        RECT all = {0, 0, m_nWidth, m_nHeight};
        HBRUSH background = CreateSolidBrush(kIconBackground);
        ::FillRect(canvas, &all, background);
        DeleteObject(background);

        HGDIOBJ oldParts = SelectObject(parts, info.hbmMask);
        BOOL allOpaque = TRUE;
        for (int x = 0; x < m_nWidth && allOpaque; x++)
            for (int y = 0; y < m_nHeight; y++)
                if (::GetPixel(parts, x, y) != RGB(0, 0, 0)) {
                    allOpaque = FALSE;
                    break;
                }
        BitBlt(canvas, 0, 0, m_nWidth, m_nHeight, parts, 0, 0, SRCAND);
        SelectObject(parts, info.hbmColor);
        BitBlt(canvas, 0, 0, m_nWidth, m_nHeight, parts, 0, 0, SRCPAINT);
        SelectObject(parts, oldParts);
        SelectObject(canvas, oldCanvas);
        result = AddBitmap(bitmap, allOpaque, kIconBackground);
    }
    if (bitmap)
        DeleteObject(bitmap);
    if (parts)
        DeleteDC(parts);
    if (canvas)
        DeleteDC(canvas);
    if (screen)
        ::ReleaseDC(NULL, screen);
    if (info.hbmMask)
        DeleteObject(info.hbmMask);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    return result;
}

int CQVDibImageList::AddBitmap(HBITMAP bitmap, BOOL useKey, COLORREF key)
{
    CQVMemBitmap* surface = new (std::nothrow) CQVMemBitmap;
    if (!surface)
        return -1;
    int result = -1;
    if (surface->LoadFromBitmap(bitmap))
        result = Add(surface, useKey, key);
    delete surface;
    return result;
}

int CQVDibImageList::Add(CQVMemBitmap* source, BOOL useKey, COLORREF key)
{
    if (!source || !source->HasPixels() || m_nWidth < 1 || m_nHeight < 1)
        return -1;
    if (m_nCount >= m_nCapacity) {
        const long long capacity = static_cast<long long>(m_nCapacity) + m_nGrowBy;
        CQVMemBitmap* strip = NewSurface(capacity * m_nWidth, m_nHeight);
        if (!strip)
            return -1;
        if (m_nCapacity > 0 && m_pStrip) {
            const RECT old = {0, 0, m_nCapacity * m_nWidth, m_nHeight};
            if (!strip->Blit(m_pStrip, &old, 0, 0)) {
                delete strip;
                return -1;
            }
            COLORREF colour;
            if (m_pStrip->GetKeyMode() == 2)
                strip->SetKeyColorFromCorner();
            else if (m_pStrip->GetKeyColor(&colour))
                strip->SetKeyColor(colour);
        }
        delete m_pStrip;
        m_pStrip = strip;
        m_nCapacity = static_cast<int>(capacity);
    }
    const WORD sourceKey = useKey ? CQVMemBitmap::RGBTo565(key) : source->GetPixel16(0, 0);
    COLORREF stripKey;
    if (m_pStrip->GetKeyColor(&stripKey))
        source->ReplaceColor(sourceKey, CQVMemBitmap::RGBTo565(stripKey));
    const RECT area = {0, 0, m_nWidth, m_nHeight};
    m_pStrip->Blit(source, &area, m_nCount * m_nWidth, 0);
    m_nCount++;
    return m_nCount - 1;
}

BOOL CQVDibImageList::Remove(int index)
{
    if (!m_pStrip || index < 0 || index >= m_nCount)
        return FALSE;
    for (int i = index + 1; i < m_nCount; i++) {
        const RECT from = ImageRect(i);
        m_pStrip->Blit(m_pStrip, &from, (i - 1) * m_nWidth, 0);
    }
    m_nCount--;
    m_pStrip->FillRect(m_nCount * m_nWidth, 0, m_nWidth, m_nHeight, 0);
    return TRUE;
}

BOOL CQVDibImageList::SetKeyColorFromCorner()
{
    if (m_pStrip)
        m_pStrip->SetKeyColorFromCorner();
    return TRUE;
}

void CQVDibImageList::SetKeyColor(COLORREF colour)
{
    if (m_pStrip)
        m_pStrip->SetKeyColor(colour);
}

BOOL CQVDibImageList::Draw(CDC* target, int index, int x, int y, UINT flags)
{
    if (!m_pStrip || index < 0 || index >= m_nCount)
        return FALSE;
    HDC dc = target->GetSafeHdc();
    const RECT source = ImageRect(index);

    if (flags & kTransparent) {
        // The key is whichever top corner of the image is nearer to the icon
        // background (the left one on a tie); it stays on the strip.
        const int k = CQVMemBitmap::RGBTo565(kIconBackground);
        const int a = m_pStrip->GetPixel16(source.left, 0);
        const int b = m_pStrip->GetPixel16(source.right - 1, 0);
        const bool left = abs(a - k) <= abs(b - k);
        m_pStrip->SetKeyColorFromPixel(left ? source.left : source.right - 1, 0);

        CQVMemBitmap image;
        if (!image.Create(m_nWidth, m_nHeight))
            return FALSE;
        image.Blit(m_pStrip, &source, 0, 0);
        if (left)
            image.SetKeyColorFromCorner();
        else
            image.SetKeyColorFromPixel(m_nWidth - 1, 0);
        if (flags & kStrongTint)
            image.BlendColor(m_crHighlight, NULL, 150, TRUE);
        else if (flags & kLightTint)
            image.BlendColor(m_crHighlight, NULL, 220, TRUE);
        return image.DrawTransparent(dc, NULL, x, y);
    }

    if (!(flags & (kStrongTint | kLightTint)))
        return m_pStrip->Draw(dc, &source, x, y);
    CQVMemBitmap image;
    if (!image.Create(m_nWidth, m_nHeight))
        return FALSE;
    image.FillRect(0, 0, m_nWidth, m_nHeight, CQVMemBitmap::RGBTo565(m_crHighlight));
    image.AlphaBlend(m_pStrip, &source, 0, 0, (flags & kStrongTint) ? 25 : 50);
    return image.Draw(dc, NULL, x, y);
}

HBITMAP CQVDibImageList::GetBitmap(int index)
{
    if (!m_pStrip || index < 0 || index >= m_nCount)
        return NULL;
    HDC screen = ::GetDC(NULL);
    if (!screen)
        return NULL;
    HBITMAP bitmap = CreateCompatibleBitmap(screen, m_nWidth, m_nHeight);
    HDC dc = CreateCompatibleDC(screen);
    ::ReleaseDC(NULL, screen);
    if (bitmap && dc) {
        HGDIOBJ old = SelectObject(dc, bitmap);
        const RECT source = ImageRect(index);
        if (!m_pStrip->Draw(dc, &source, 0, 0)) {
            SelectObject(dc, old);
            DeleteObject(bitmap);
            bitmap = NULL;
        } else {
            SelectObject(dc, old);
        }
    } else if (bitmap) {
        DeleteObject(bitmap);
        bitmap = NULL;
    }
    if (dc)
        DeleteDC(dc);
    return bitmap;
}
