// A memory device context that owns or borrows the bitmap selected into it
// and puts back the bitmap that was selected before.
#pragma once

#include <afxwin.h>

class CMemDC : public CDC
{
public:
    // A DC compatible with the target (the screen for NULL) and no bitmap yet.
    explicit CMemDC(HDC target = NULL);
    // The same with the bitmap selected; the bitmap stays the caller's.
    CMemDC(HDC target, CBitmap* bitmap);
    // The same with a new bitmap of that size compatible with the target,
    // selected and owned.
    CMemDC(HDC target, int width, int height);
    ~CMemDC() override;

    // Deselects the current bitmap (deleting it when owned) and selects the
    // given one, borrowed. FALSE when it can't be selected.
    BOOL SelectBitmap(CBitmap* bitmap);
    // Deselects the current bitmap (deleting it when owned) and selects a new
    // compatible bitmap of that size, owned. FALSE when it can't be made.
    BOOL CreateOwnedBitmap(int width, int height);
    // Deselects the bitmap, puts the previous one back and hands the bitmap to
    // the caller (who deletes it when this DC owned it); null when none.
    CBitmap* DetachBitmap();

    CBitmap* GetBitmap() const { return m_pBitmap; }
    BOOL OwnsBitmap() const { return m_bOwned; }

    // A region of the held bitmap's pixels that differ from the key colour
    // (key 0: the colour of pixel (0, 0)); built with the region routines of
    // the graphics code, which define it.
    HRGN CreateRegionFromKey(COLORREF key);

private:
    void ReleaseBitmap();

    HDC m_hTarget;
    CBitmap* m_pBitmap = nullptr;
    BOOL m_bOwned = FALSE;
    HBITMAP m_hOldBitmap = NULL;
};
