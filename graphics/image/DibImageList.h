// DibImageList.h - CQVDibImageList: a row of equally sized small images
// (the icons of owner-drawn lists, headers and menus) side by side in one
// 16-bit surface, drawn plainly, transparently or with a highlight tint.
//
// Image i takes the strip's columns i * width .. (i + 1) * width - 1. The
// strip's colour key marks the transparent colour of all images; 0x808000
// is the background icons are drawn on and the reference for choosing a
// transparent colour. The strip only grows, by the grow step; columns not
// yet filled are black.
#pragma once

#include <windows.h>

class CDC;
class CImageList;
class CQVMemBitmap;

class CQVDibImageList
{
public:
    // Draw flags; kStrongTint wins over kLightTint.
    enum
    {
        kTransparent = 1,
        kStrongTint = 2,
        kLightTint = 4,
    };
    static const COLORREF kIconBackground = 0x808000;
    static const int kDefaultGrowBy = 10;

    CQVDibImageList();
    virtual ~CQVDibImageList();
    CQVDibImageList(const CQVDibImageList&) = delete;
    CQVDibImageList& operator=(const CQVDibImageList&) = delete;

    // Frees the strip; capacity, grow step and count become 0 (the image
    // size and the highlight colour stay).
    void Clear();
    // Room for capacity images of width x height (no strip for capacity 0).
    BOOL Create(int width, int height, int capacity, int growBy);
    // A copy of a Windows image list's images; 0 when one cannot be taken.
    BOOL CreateFromImageList(CImageList* imageList);
    // The images of a surface cut into pieces imageWidth wide.
    BOOL CreateFromSurface(const CQVMemBitmap* surface, int imageWidth);

    // Each add answers the new image's index, or -1 leaving the list as it
    // was.
    int AddIcon(HICON icon);
    int AddBitmap(HBITMAP bitmap, BOOL useKey, COLORREF key);
    // Pixels of the source equal to its key (the key given, else its top-left
    // pixel) become the strip's key colour: the source is changed.
    int Add(CQVMemBitmap* source, BOOL useKey, COLORREF key);
    // Moves the images after index one place to the left.
    BOOL Remove(int index);

    // The strip's key becomes its top-left pixel; 1.
    BOOL SetKeyColorFromCorner();
    void SetKeyColor(COLORREF colour);

    // One image at (x, y); flags as above. 1 when drawn.
    BOOL Draw(CDC* target, int index, int x, int y, UINT flags);
    // A new screen-compatible bitmap holding one image (the caller owns it).
    HBITMAP GetBitmap(int index);

    int GetCount() const { return m_nCount; }
    int GetCapacity() const { return m_nCapacity; }
    int GetGrowBy() const { return m_nGrowBy; }
    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }
    COLORREF GetHighlightColor() const { return m_crHighlight; }
    const CQVMemBitmap* GetStrip() const { return m_pStrip; }

protected:
    RECT ImageRect(int index) const;

    CQVMemBitmap* m_pStrip;
    int m_nCapacity;
    int m_nGrowBy;
    int m_nCount;
    int m_nWidth;
    int m_nHeight;
    COLORREF m_crHighlight;
};
