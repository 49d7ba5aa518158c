// QVBitmap.h - the kit's picture: a device-dependent bitmap loaded from a
// .bmp file, from any picture the system's OLE loader decodes (JPEG, GIF),
// from bitmap or typed picture resources, with a palette on palette screens,
// drawn plainly, centred, tiled, stretched, masked or as a nine-grid.
#pragma once

#include "afxwin.h"
#include "afxcmn.h"

class CQVBitmap : public CBitmap
{
public:
    // Drawing flags of DrawImage.
    enum : UINT {
        kCentreX = 1,
        kCentreY = 2,
        kTile = 4,
        kStretch = 8,
        kMasked = 16,
    };

    CQVBitmap() = default;
    ~CQVBitmap() override;
    CQVBitmap(const CQVBitmap&) = delete;
    CQVBitmap& operator=(const CQVBitmap&) = delete;

    // The screen's bits per pixel, asked through a replaceable routine so the
    // palette branch can be checked on a true-colour display. NULL puts back
    // the default; returns the previous routine.
    typedef int (*ScreenBitsRoutine)();
    static ScreenBitsRoutine SetScreenBitsRoutine(ScreenBitsRoutine routine);

    // Palette of a DIB with at most 8 bits per pixel, made only on a screen of
    // 8 bits or fewer. The colour count is capped at 256 and at what the depth
    // holds.
    BOOL CreatePaletteFromDIB(const BITMAPINFO* pInfo);
    // Replaces the bitmap with one made from a packed DIB whose pixels follow
    // the colour table. FALSE (empty) when it cannot be made.
    BOOL CreateFromDIB(const BITMAPINFO* pInfo, BOOL bPalette = TRUE);
    // The same from the bytes of a .bmp file, every header field checked
    // against the bytes there are. FALSE for anything malformed.
    BOOL CreateFromFileBytes(const BYTE* pData, size_t nSize, BOOL bPalette = TRUE);
    // 0: the system loader on the application's resource module; otherwise
    // the RT_BITMAP resource as a DIB.
    BOOL LoadResourceBitmap(UINT nResourceId, BOOL bAsDib = TRUE);
    BOOL LoadResourceBitmap(HINSTANCE hModule, UINT nResourceId);
    // A path holding ".bmp" (any case) is read as a bitmap file (nLength 0:
    // from nOffset to the end); any other through the OLE picture loader.
    BOOL LoadFromFile(LPCSTR lpszPath, BOOL bPalette = TRUE, DWORD nOffset = 0, DWORD nLength = 0);
    // The bytes of a picture decoded by the OLE loader into a screen bitmap.
    BOOL LoadFromPictureBytes(const void* pData, size_t nSize);

    BOOL DrawImage(CDC* pDC, int x, int y, int cx, int cy, UINT nFlags = 0, const POINT* pSrc = NULL,
                   const POINT* pMask = NULL, const SIZE* pSrcSize = NULL);
    BOOL Draw(CDC* pDC, int x, int y, UINT nFlags = 0, const POINT* pSrc = NULL, const POINT* pMask = NULL,
              const SIZE* pSrcSize = NULL)
    {
        return DrawImage(pDC, x, y, 0, 0, nFlags, pSrc, pMask, pSrcSize);
    }
    // The rectangle counts inclusively (right - left + 1 wide); NULL: the
    // client rectangle of the DC's window.
    BOOL DrawToDC(CDC* pDC, const RECT* pRect = NULL, UINT nFlags = 0, const POINT* pSrc = NULL,
                  const POINT* pMask = NULL, const SIZE* pSrcSize = NULL);
    // Three by three equal cells: corners as they are, edges tiled between
    // them, the centre tiled only with bFillCentre. Nothing for pictures
    // under 3 pixels.
    BOOL DrawNineGrid(CDC* pDC, const RECT& rect, int nInflate = 0, BOOL bFillCentre = TRUE);

    BOOL GetSize(SIZE* pSize) const;
    int Width() const;
    int Height() const;
    BOOL IsLoaded() const { return m_hObject != NULL; }

    void RealizePaletteIn(CWnd* pWnd, CDC* pDC = NULL, BOOL bBackground = TRUE);
    void SelectPaletteInto(CDC* pDC, BOOL bBackground);
    void SetRasterOp(DWORD dwRop) { m_dwRop = dwRop; }
    void SetPaletteBackground(BOOL bBackground) { m_bPaletteBackground = bBackground; }
    HPALETTE GetPalette() const { return m_hPalette; }
    int GetPaletteColors() const { return m_nPaletteColors; }
    void Clear();

    // Kind 0 a bitmap resource, 1 "JPG", 2 "JPEG", 3 "GIF" typed resources
    // decoded by the OLE loader; other kinds none. The caller owns the result.
    static HBITMAP LoadImageFromModule(HINSTANCE hModule, UINT nResourceId, int nKind);
    // The OLE loader on bytes; NULL on failure. The caller owns the result.
    static HBITMAP DecodePicture(const void* pData, size_t nSize);

private:
    void BlitCell(HDC hTarget, HDC hSource, int x, int y, int w, int h, int sx, int sy, BOOL bMasked, int mx, int my);

    DWORD m_dwRop = SRCCOPY;
    BOOL m_bPaletteBackground = TRUE;
    HPALETTE m_hPalette = NULL;
    int m_nPaletteColors = 0;
};

// A tooltip control that stays active through modal states.
class CQVToolTipCtrl : public CToolTipCtrl
{
protected:
    afx_msg LRESULT OnDisableModal(WPARAM, LPARAM) { return 0; }
    DECLARE_MESSAGE_MAP()
};
