// GdiHelpers.h - small helpers shared by the GDI side of the graphics
// library (not part of its interface).
#pragma once

#include <windows.h>

namespace gfxgdi {

// True when the file at path is a .bmp whose headers fit the file (see
// bmpfmt::CheckFile); checked before GDI is asked to read it.
bool IsSoundBmpFile(LPCTSTR path);

// The part of *clip inside a width x height surface; an empty rectangle
// when there is no clip or none of it lies inside.
inline RECT ClipToSurface(const RECT* clip, int width, int height)
{
    RECT none;
    SetRectEmpty(&none);
    if (!clip)
        return none;
    RECT r = *clip;
    if (r.left < 0)
        r.left = 0;
    if (r.top < 0)
        r.top = 0;
    if (r.right > width)
        r.right = width;
    if (r.bottom > height)
        r.bottom = height;
    return r.left < r.right && r.top < r.bottom ? r : none;
}

// A DC compatible with the screen that selects one bitmap and puts the
// previous one back and deletes itself when it goes.
class BitmapDC
{
public:
    explicit BitmapDC(HDC compatibleWith = NULL) : m_dc(CreateCompatibleDC(compatibleWith)), m_old(NULL) {}
    ~BitmapDC()
    {
        if (m_old)
            SelectObject(m_dc, m_old);
        if (m_dc)
            DeleteDC(m_dc);
    }
    BitmapDC(const BitmapDC&) = delete;
    BitmapDC& operator=(const BitmapDC&) = delete;

    // False when there is no DC or the bitmap cannot be selected (for
    // instance because another DC holds it).
    bool Select(HBITMAP bitmap)
    {
        if (!m_dc || !bitmap)
            return false;
        HGDIOBJ old = SelectObject(m_dc, bitmap);
        if (!old || old == HGDI_ERROR)
            return false;
        if (!m_old)
            m_old = old;
        return true;
    }
    HDC Get() const { return m_dc; }
    operator HDC() const { return m_dc; }

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

// The screen's DC for as long as the object lives.
class ScreenDC
{
public:
    ScreenDC() : m_dc(::GetDC(NULL)) {}
    ~ScreenDC()
    {
        if (m_dc)
            ::ReleaseDC(NULL, m_dc);
    }
    ScreenDC(const ScreenDC&) = delete;
    ScreenDC& operator=(const ScreenDC&) = delete;
    HDC Get() const { return m_dc; }
    operator HDC() const { return m_dc; }

private:
    HDC m_dc;
};

// A GDI object deleted when the holder goes, unless released.
class GdiObjectHolder
{
public:
    explicit GdiObjectHolder(HGDIOBJ object = NULL) : m_object(object) {}
    ~GdiObjectHolder()
    {
        if (m_object)
            DeleteObject(m_object);
    }
    GdiObjectHolder(const GdiObjectHolder&) = delete;
    GdiObjectHolder& operator=(const GdiObjectHolder&) = delete;
    HGDIOBJ Get() const { return m_object; }
    HGDIOBJ Release()
    {
        HGDIOBJ o = m_object;
        m_object = NULL;
        return o;
    }

private:
    HGDIOBJ m_object;
};

}  // namespace gfxgdi
