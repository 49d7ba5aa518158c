// Pixel-exact checks of the keyed copy and the blend of the small utilities,
// the standard font, and the memory DC's ownership of its bitmaps.
#include "GdiObjectCount.h"
#include "GdiTestSupport.h"
#include "MemDC.h"
#include "UtilityGdi.h"

#include <gtest/gtest.h>

namespace {

// A 4 x 2 source: key pixels at (0, 0) and (3, 1).
void PaintKeyedSource(Canvas& source)
{
    source.Fill(kRed);
    source.Set(1, 0, kGreen);
    source.Set(0, 0, kMagenta);
    source.Set(3, 1, kMagenta);
}

TEST(KeyedCopy, LeavesOutTheKeyPixels)
{
    Canvas source(4, 2);
    PaintKeyedSource(source);
    Canvas target(6, 4);
    target.Fill(kBlue);
    ASSERT_TRUE(KeyedCopy(target.Dc(), 1, 1, 4, 2, source.Dc(), 0, 0, kMagenta));
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 6; ++x) {
            COLORREF expected = kBlue;
            if (x >= 1 && x <= 4 && y >= 1 && y <= 2) {
                const COLORREF s = source.Get(x - 1, y - 1);
                expected = s == kMagenta ? kBlue : s;
            }
            EXPECT_EQ(target.Get(x, y), expected) << x << "," << y;
        }
    }
    EXPECT_TRUE(KeyedCopy(target.Dc(), 0, 0, 0, 5, source.Dc(), 0, 0, kMagenta));   // nothing to draw
}

TEST(BlendCopy, ByteRule)
{
    // k = (percent x 256 + 50) / 100; s + ((d - s) x k >> 8).
    EXPECT_EQ(BlendByte(200, 0, 64), 150);
    EXPECT_EQ(BlendByte(0, 255, 64), 63);
    EXPECT_EQ(BlendByte(10, 10, 64), 10);
    EXPECT_EQ(BlendByte(255, 0, 256), 0);
    EXPECT_EQ(BlendByte(255, 0, 0), 255);

    Canvas source(3, 1);   // odd width: blended in even-width copies
    Canvas target(3, 1);
    source.Fill(RGB(200, 0, 10));
    target.Fill(RGB(0, 255, 10));
    ASSERT_TRUE(BlendCopy(target.Dc(), 0, 0, 3, 1, source.Dc(), 0, 0, 25));   // k = 64
    for (int x = 0; x < 3; ++x)
        EXPECT_EQ(target.Get(x, 0), RGB(150, 63, 10));

    target.Fill(RGB(0, 255, 10));
    ASSERT_TRUE(BlendCopy(target.Dc(), 0, 0, 3, 1, source.Dc(), 0, 0, 100));   // keeps the destination
    EXPECT_EQ(target.Get(1, 0), RGB(0, 255, 10));
    ASSERT_TRUE(BlendCopy(target.Dc(), 0, 0, 3, 1, source.Dc(), 0, 0, 0));     // the source
    EXPECT_EQ(target.Get(1, 0), RGB(200, 0, 10));
    ASSERT_TRUE(BlendCopy(target.Dc(), 0, 0, 3, 1, source.Dc(), 0, 0, 250));   // held to 100
    EXPECT_EQ(target.Get(1, 0), RGB(200, 0, 10));
}

TEST(DibSection32, Layout)
{
    void* bits = nullptr;
    HBITMAP bitmap = CreateDibSection32(NULL, 5, 3, &bits);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_NE(bits, nullptr);
    DIBSECTION section = {};
    ASSERT_EQ(GetObject(bitmap, sizeof(section), &section), static_cast<int>(sizeof(section)));
    EXPECT_EQ(section.dsBmih.biSize, 40u);
    EXPECT_EQ(section.dsBmih.biBitCount, 32);
    EXPECT_EQ(section.dsBmih.biPlanes, 1);
    EXPECT_EQ(section.dsBmih.biCompression, static_cast<DWORD>(BI_RGB));
    EXPECT_EQ(section.dsBm.bmWidth, 5);
    EXPECT_EQ(section.dsBm.bmHeight, 3);
    DeleteObject(bitmap);
}

TEST(StandardFont, FromTheResourceString)
{
    HFONT font = CreateStandardFont();
    ASSERT_NE(font, nullptr);
    LOGFONTA description = {};
    GetObjectA(font, sizeof(description), &description);
    EXPECT_EQ(description.lfHeight, 14);
    EXPECT_EQ(description.lfWidth, 7);
    EXPECT_EQ(description.lfWeight, 500);
    EXPECT_EQ(description.lfCharSet, 1);
    EXPECT_STREQ(description.lfFaceName, "TestFace");   // string 29931 of this program
    DeleteObject(font);

    CFont object;
    object.Attach(CreateFontA(30, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "Other"));
    HGDIOBJ before = object.m_hObject;
    EXPECT_TRUE(ApplyStandardFont(&object));
    EXPECT_NE(object.m_hObject, before);
    EXPECT_EQ(GetObjectType(before), 0u);   // the old font was deleted
    object.GetLogFont(&description);
    EXPECT_EQ(description.lfHeight, 14);
    EXPECT_FALSE(ApplyStandardFont(nullptr));
}

// ---- CMemDC ---------------------------------------------------------------------------------

// True when the bitmap is selected into no DC (it can then be selected).
bool IsFree(HBITMAP bitmap)
{
    HDC probe = CreateCompatibleDC(NULL);
    HGDIOBJ old = SelectObject(probe, bitmap);
    if (old)
        SelectObject(probe, old);
    DeleteDC(probe);
    return old != NULL;
}

TEST(MemDC, OwnedBitmapIsDeletedAndTheOldOneRestored)
{
    HDC dc = NULL;
    HBITMAP owned = NULL;
    {
        CMemDC memory(NULL, 8, 6);
        dc = memory.GetSafeHdc();
        ASSERT_NE(dc, nullptr);
        ASSERT_NE(memory.GetBitmap(), nullptr);
        EXPECT_TRUE(memory.OwnsBitmap());
        owned = static_cast<HBITMAP>(memory.GetBitmap()->GetSafeHandle());
        EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), owned);
        BITMAP description = {};
        GetObject(owned, sizeof(description), &description);
        EXPECT_EQ(description.bmWidth, 8);
        EXPECT_EQ(description.bmHeight, 6);
    }
    EXPECT_EQ(GetObjectType(owned), 0u);
    EXPECT_EQ(GetObjectType(dc), 0u);
}

TEST(MemDC, BorrowedBitmapStaysTheCallers)
{
    CBitmap bitmap;
    bitmap.Attach(CreateDibSection32(NULL, 4, 4, nullptr));
    const HBITMAP handle = static_cast<HBITMAP>(bitmap.m_hObject);
    {
        CMemDC memory(NULL, &bitmap);
        EXPECT_FALSE(memory.OwnsBitmap());
        EXPECT_EQ(GetCurrentObject(memory.GetSafeHdc(), OBJ_BITMAP), handle);
        EXPECT_FALSE(IsFree(handle));
    }
    EXPECT_NE(GetObjectType(handle), 0u);
    EXPECT_TRUE(IsFree(handle));   // deselected
}

TEST(MemDC, SwitchingAndDetachingBitmaps)
{
    CBitmap borrowed;
    borrowed.Attach(CreateDibSection32(NULL, 2, 2, nullptr));
    CMemDC memory;
    const HGDIOBJ initial = GetCurrentObject(memory.GetSafeHdc(), OBJ_BITMAP);
    ASSERT_TRUE(memory.CreateOwnedBitmap(3, 3));
    const HBITMAP first = static_cast<HBITMAP>(memory.GetBitmap()->GetSafeHandle());
    ASSERT_TRUE(memory.SelectBitmap(&borrowed));     // the owned one is deleted on the way
    EXPECT_EQ(GetObjectType(first), 0u);
    ASSERT_TRUE(memory.CreateOwnedBitmap(5, 5));     // the borrowed one is only deselected
    EXPECT_TRUE(IsFree(static_cast<HBITMAP>(borrowed.m_hObject)));
    CBitmap* detached = memory.DetachBitmap();
    ASSERT_NE(detached, nullptr);
    EXPECT_EQ(memory.GetBitmap(), nullptr);
    EXPECT_EQ(GetCurrentObject(memory.GetSafeHdc(), OBJ_BITMAP), initial);   // the old one is back
    EXPECT_TRUE(IsFree(static_cast<HBITMAP>(detached->m_hObject)));
    EXPECT_NE(GetObjectType(detached->m_hObject), 0u);
    delete detached;                                  // the caller's now
    EXPECT_EQ(memory.DetachBitmap(), nullptr);
    EXPECT_FALSE(memory.CreateOwnedBitmap(0, 5));
    EXPECT_FALSE(memory.SelectBitmap(nullptr));
}

TEST(MemDC, LeavesTheGdiObjectCountUnchanged)
{
    CBitmap borrowed;
    borrowed.Attach(CreateDibSection32(NULL, 16, 16, nullptr));
    ASSERT_TRUE(GdiCounterSeesABrush()) << "no working GDI object counter";
    int before = 0;
    for (int i = 0; i < 51; ++i) {
        if (i == 1)
            before = CountProcessGdiObjects();   // after a first round that warms GDI's caches
        CMemDC owned(NULL, 16, 16);
        CMemDC borrowing(NULL, &borrowed);
        CMemDC switching(NULL, 8, 8);
        switching.SelectBitmap(&borrowed);   // fails: already selected into borrowing
        switching.CreateOwnedBitmap(4, 4);
        delete switching.DetachBitmap();
    }
    EXPECT_GT(before, 0);
    EXPECT_EQ(CountProcessGdiObjects(), before);
    EXPECT_TRUE(IsFree(static_cast<HBITMAP>(borrowed.m_hObject)));
}

}  // namespace
