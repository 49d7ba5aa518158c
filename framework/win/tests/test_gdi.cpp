// GDI wrappers: objects, device contexts and their handles.
#include "test_support.h"

#include "afxcmn.h"

namespace {

// A window that paints with every kind of wrapper.
class CPaintingWnd : public CWnd
{
public:
    int m_nPaints = 0;

protected:
    afx_msg void OnPaint()
    {
        CPaintDC dc(this);
        CRect rect;
        GetClientRect(&rect);

        CFont font;
        font.CreatePointFont(90, "宋体", &dc);
        CFont* pOldFont = dc.SelectObject(&font);
        CPen pen(PS_SOLID, 2, RGB(10, 20, 30));
        CPen* pOldPen = dc.SelectObject(&pen);
        CBrush brush(RGB(200, 100, 50));
        CBrush* pOldBrush = dc.SelectObject(&brush);
        dc.Rectangle(&rect);
        dc.SetBkMode(TRANSPARENT);
        dc.DrawText(CString("文字"), &rect, DT_CENTER | DT_SINGLELINE | DT_VCENTER);

        // Off-screen drawing through a memory DC and bitmap.
        CDC memDC;
        memDC.CreateCompatibleDC(&dc);
        CBitmap bitmap;
        bitmap.CreateCompatibleBitmap(&dc, 20, 20);
        CBitmap* pOldBitmap = memDC.SelectObject(&bitmap);
        memDC.FillSolidRect(0, 0, 20, 20, RGB(1, 2, 3));
        dc.BitBlt(0, 0, 20, 20, &memDC, 0, 0, SRCCOPY);
        memDC.SelectObject(pOldBitmap);

        CRgn rgn;
        rgn.CreateRoundRectRgn(0, 0, 30, 30, 5, 5);
        dc.FillRgn(&rgn, &brush);

        dc.SelectObject(pOldBrush);
        dc.SelectObject(pOldPen);
        dc.SelectObject(pOldFont);
        m_nPaints++;
    }
    afx_msg BOOL OnEraseBkgnd(CDC* pDC)
    {
        CClientDC dc(this);   // a second DC of the window while painting
        CRect rect;
        GetClientRect(&rect);
        pDC->FillSolidRect(&rect, RGB(255, 255, 255));
        return TRUE;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPaintingWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

int CreatePaintDestroy()
{
    CPaintingWnd wnd;
    if (!wnd.CreateEx(0, AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW), "paint", WS_POPUP | WS_BORDER, 0, 0, 200, 120,
                      NULL, NULL))
        return -1;
    // Not activated: on the test display (no window manager) hiding an
    // active or framed window waits two seconds.
    wnd.ShowWindow(SW_SHOWNOACTIVATE);
    wnd.RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    {
        CWindowDC dc(&wnd);
        dc.SetPixel(1, 1, RGB(9, 9, 9));
    }
    CDC* pDC = wnd.GetDC();
    pDC->SelectStockObject(BLACK_PEN);
    wnd.ReleaseDC(pDC);
    int nPaints = wnd.m_nPaints;
    wnd.DestroyWindow();
    PumpPendingMessages();
    AfxDeleteTempMaps();
    return nPaints;
}

}  // namespace

TEST(Gdi, TheHandleCounterSeesAnUndeletedObject)
{
    int nBefore = CountGdiObjects();
    ASSERT_GE(nBefore, 0) << "no way to count GDI objects";
    HBRUSH hBrush = ::CreateSolidBrush(RGB(1, 2, 3));
    EXPECT_EQ(CountGdiObjects(), nBefore + 1);
    ::DeleteObject(hBrush);
    EXPECT_EQ(CountGdiObjects(), nBefore);
}

TEST(Gdi, NoHandleLeaksAcrossCreatePaintDestroy)
{
    // The first cycle makes the display driver's objects that live on.
    ASSERT_GT(CreatePaintDestroy(), 0);
    int nBefore = CountGdiObjects();
    for (int i = 0; i < 3; i++)
        ASSERT_GT(CreatePaintDestroy(), 0);
    EXPECT_EQ(CountGdiObjects(), nBefore);
}

TEST(Gdi, ObjectsDeleteWhatTheyHoldAndLetGoOnDetach)
{
    HFONT hFont;
    {
        CFont font;
        LOGFONTA lf = {};
        lf.lfHeight = -12;
        lstrcpyA(lf.lfFaceName, "宋体");
        ASSERT_TRUE(font.CreateFontIndirect(&lf));
        EXPECT_FALSE(font.CreateFontIndirect(&lf));   // one handle per object
        hFont = font;
        LOGFONTA back = {};
        EXPECT_GT(font.GetLogFont(&back), 0);
        EXPECT_STREQ(back.lfFaceName, "宋体");
    }
    EXPECT_EQ(::GetObjectType(hFont), 0u);   // deleted with the object

    HBRUSH hBrush;
    {
        CBrush brush(RGB(4, 5, 6));
        hBrush = (HBRUSH)brush.Detach();
    }
    EXPECT_EQ(::GetObjectType(hBrush), (DWORD)OBJ_BRUSH);   // detached: the caller owns it
    ::DeleteObject(hBrush);
}

TEST(Gdi, TemporaryWrappersHaveTheObjectsOwnClassAndOwnNothing)
{
    CBitmap bitmap;
    CDC memDC;
    ASSERT_TRUE(memDC.CreateCompatibleDC(NULL));
    ASSERT_TRUE(bitmap.CreateBitmap(8, 8, 1, 32, NULL));
    CBitmap* pOld = memDC.SelectObject(&bitmap);
    ASSERT_NE(pOld, (CBitmap*)NULL);
    EXPECT_TRUE(pOld->IsKindOf(RUNTIME_CLASS(CBitmap)));
    CGdiObject* pFont = memDC.SelectStockObject(SYSTEM_FONT);
    EXPECT_TRUE(pFont->IsKindOf(RUNTIME_CLASS(CFont)));
    memDC.SelectObject(pFont);
    EXPECT_TRUE(memDC.GetCurrentBitmap()->IsKindOf(RUNTIME_CLASS(CBitmap)));
    HGDIOBJ hCurrent = memDC.GetCurrentBitmap()->m_hObject;
    EXPECT_EQ(hCurrent, bitmap.m_hObject);

    // FillSolidRect paints through the background colour.
    memDC.FillSolidRect(1, 1, 3, 3, RGB(10, 20, 30));
    EXPECT_EQ(memDC.GetPixel(2, 2), RGB(10, 20, 30));
    EXPECT_EQ(memDC.GetBkColor(), RGB(10, 20, 30));
    memDC.Draw3dRect(0, 0, 8, 8, RGB(255, 0, 0), RGB(0, 0, 255));
    EXPECT_EQ(memDC.GetPixel(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(memDC.GetPixel(7, 7), RGB(0, 0, 255));
    memDC.SelectObject(pOld);

    // The temporary wrappers go at idle time; their handles stay.
    AfxDeleteTempMaps();
    EXPECT_EQ(::GetObjectType(bitmap.m_hObject), (DWORD)OBJ_BITMAP);
    EXPECT_EQ(::GetObjectType(::GetStockObject(SYSTEM_FONT)), (DWORD)OBJ_FONT);
}

TEST(Gdi, RegionOperations)
{
    CRgn a;
    CRgn b;
    CRgn both;
    ASSERT_TRUE(a.CreateRectRgn(0, 0, 10, 10));
    ASSERT_TRUE(b.CreateRectRgn(5, 5, 20, 20));
    ASSERT_TRUE(both.CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(both.CombineRgn(&a, &b, RGN_OR), COMPLEXREGION);
    EXPECT_TRUE(both.PtInRegion(15, 15));
    EXPECT_FALSE(both.PtInRegion(15, 2));
    both.OffsetRgn(100, 0);
    CRect box;
    both.GetRgnBox(&box);
    EXPECT_EQ(box, CRect(100, 0, 120, 20));
    CRgn copy;
    ASSERT_TRUE(copy.CreateRectRgn(0, 0, 0, 0));
    EXPECT_NE(copy.CopyRgn(&both), ERROR);
    EXPECT_TRUE(copy.EqualRgn(&both));
}

TEST(Gdi, ImageListsAddDrawAndExtract)
{
    CImageList images;
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 1));
    CDC screen;
    screen.Attach(::GetDC(NULL));
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&screen, 32, 16));
    ::ReleaseDC(NULL, screen.Detach());
    EXPECT_EQ(images.Add(&bitmap, RGB(255, 0, 255)), 0);
    EXPECT_EQ(images.GetImageCount(), 2);
    IMAGEINFO info = {};
    EXPECT_TRUE(images.GetImageInfo(1, &info));
    HICON hIcon = images.ExtractIcon(0);
    ASSERT_NE(hIcon, (HICON)NULL);
    EXPECT_EQ(images.Add(hIcon), 2);
    ::DestroyIcon(hIcon);
    EXPECT_EQ(CImageList::FromHandle(images.m_hImageList)->GetImageCount(), 3);
    AfxDeleteTempMaps();
    EXPECT_EQ(images.GetImageCount(), 3);   // the temporary wrapper did not destroy the list
}
