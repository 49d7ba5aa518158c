// Internal helper of the runtime's drawing code: a memory DC with a bitmap
// selected into it for the length of a scope.
#pragma once

#include <windows.h>

namespace runtime_gdi {

class CSelectedBitmap
{
public:
    // Selects bitmap into a new DC compatible with compatible; when owned the
    // bitmap is deleted with this object. Ok() is false when the DC can't be
    // made or the bitmap is selected into another DC.
    CSelectedBitmap(HDC compatible, HBITMAP bitmap, bool owned) : m_bitmap(bitmap), m_owned(owned)
    {
        m_dc = bitmap ? CreateCompatibleDC(compatible) : NULL;
        if (m_dc) {
            m_old = SelectObject(m_dc, m_bitmap);
            if (!m_old) {
                DeleteDC(m_dc);
                m_dc = NULL;
            }
        }
    }
    ~CSelectedBitmap()
    {
        if (m_dc) {
            SelectObject(m_dc, m_old);
            DeleteDC(m_dc);
        }
        if (m_owned && m_bitmap)
            DeleteObject(m_bitmap);
    }
    CSelectedBitmap(const CSelectedBitmap&) = delete;
    CSelectedBitmap& operator=(const CSelectedBitmap&) = delete;

    bool Ok() const { return m_dc != NULL; }
    HDC Dc() const { return m_dc; }

private:
    HBITMAP m_bitmap;
    bool m_owned;
    HDC m_dc = NULL;
    HGDIOBJ m_old = NULL;
};

}  // namespace runtime_gdi
