// CControlBar, CToolBar and system-colour bitmaps.
#include "winstate.h"

#include "afxext.h"

IMPLEMENT_DYNAMIC(CControlBar, CWnd)
IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

namespace {

// The resource layout of a toolbar (type 241).
struct ToolBarResource
{
    WORD wVersion;
    WORD wWidth;
    WORD wHeight;
    WORD wItemCount;
    // WORD aItems[wItemCount]
};
static_assert(sizeof(ToolBarResource) == 8, "toolbar resource header is four words");

}  // namespace

HBITMAP AFXAPI AfxLoadSysColorBitmap(HINSTANCE hInst, HRSRC hRsrc, BOOL bMono)
{
    if (hRsrc == NULL)
        return NULL;
    HGLOBAL hGlobal = ::LoadResource(hInst, hRsrc);
    const BYTE* pData = hGlobal != NULL ? static_cast<const BYTE*>(::LockResource(hGlobal)) : NULL;
    DWORD dwSize = ::SizeofResource(hInst, hRsrc);
    if (pData == NULL || dwSize < sizeof(BITMAPINFOHEADER))
        return NULL;

    // Every size in the header is checked against the resource's length.
    BITMAPINFOHEADER header;
    memcpy(&header, pData, sizeof(header));
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biSize > dwSize || header.biWidth <= 0 ||
        header.biHeight == 0 || header.biWidth > 0x8000 || header.biHeight > 0x8000 || header.biHeight < -0x8000 ||
        header.biPlanes != 1 || header.biCompression != BI_RGB)
        return NULL;
    DWORD nColors = header.biClrUsed;
    if (header.biBitCount <= 8 && nColors == 0)
        nColors = 1u << header.biBitCount;
    if (nColors > 256)
        return NULL;
    DWORD dwTableOffset = header.biSize;
    DWORD dwBitsOffset = dwTableOffset + nColors * sizeof(RGBQUAD);
    DWORD dwStride = ((DWORD)header.biWidth * header.biBitCount + 31) / 32 * 4;
    DWORD dwHeight = (DWORD)(header.biHeight < 0 ? -header.biHeight : header.biHeight);
    if (header.biBitCount == 0 || dwBitsOffset > dwSize || (ULONGLONG)dwStride * dwHeight > dwSize - dwBitsOffset)
        return NULL;

    // A private copy of the header and colour table with the standard greys
    // mapped to the system's button colours.
    struct
    {
        BITMAPINFOHEADER bmiHeader;
        RGBQUAD bmiColors[256];
    } info;
    memset(&info, 0, sizeof(info));
    info.bmiHeader = header;
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    memcpy(info.bmiColors, pData + dwTableOffset, nColors * sizeof(RGBQUAD));
    static const struct { COLORREF clrFrom; int nSysColor; } kMap[] = {
        {RGB(0x00, 0x00, 0x00), COLOR_BTNTEXT},
        {RGB(0x80, 0x80, 0x80), COLOR_BTNSHADOW},
        {RGB(0xC0, 0xC0, 0xC0), COLOR_BTNFACE},
        {RGB(0xFF, 0xFF, 0xFF), COLOR_BTNHIGHLIGHT},
    };
    for (DWORD i = 0; i < nColors; i++) {
        RGBQUAD& quad = info.bmiColors[i];
        COLORREF clr = RGB(quad.rgbRed, quad.rgbGreen, quad.rgbBlue);
        for (const auto& entry : kMap) {
            if (clr == entry.clrFrom) {
                COLORREF clrNew = bMono ? (entry.nSysColor == COLOR_BTNTEXT ? RGB(0, 0, 0) : RGB(255, 255, 255))
                                        : ::GetSysColor(entry.nSysColor);
                quad.rgbRed = GetRValue(clrNew);
                quad.rgbGreen = GetGValue(clrNew);
                quad.rgbBlue = GetBValue(clrNew);
                break;
            }
        }
    }

    HDC hDCScreen = ::GetDC(NULL);
    HBITMAP hBitmap = ::CreateCompatibleBitmap(hDCScreen, header.biWidth, (int)dwHeight);
    if (hBitmap != NULL) {
        HDC hDCGlyphs = ::CreateCompatibleDC(hDCScreen);
        HGDIOBJ hOld = ::SelectObject(hDCGlyphs, hBitmap);
        ::StretchDIBits(hDCGlyphs, 0, 0, header.biWidth, (int)dwHeight, 0, 0, header.biWidth, (int)dwHeight,
                        pData + dwBitsOffset, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, SRCCOPY);
        ::SelectObject(hDCGlyphs, hOld);
        ::DeleteDC(hDCGlyphs);
    }
    ::ReleaseDC(NULL, hDCScreen);
    return hBitmap;
}

/////////////////////////////////////////////////////////////////////////////
// CToolBar

CToolBar::CToolBar() : m_hbmImageWell(NULL), m_sizeButton(23, 22), m_sizeImage(16, 15)
{
}

CToolBar::~CToolBar()
{
    DestroyWindow();
    if (m_hbmImageWell != NULL)
        ::DeleteObject(m_hbmImageWell);
}

BOOL CToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    return CreateEx(pParentWnd, 0, dwStyle, CRect(0, 0, 0, 0), nID);
}

BOOL CToolBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect, UINT nID)
{
    AfxInitCommonControls();
    SetBarStyle(dwStyle);
    DWORD dwWindowStyle = (dwStyle & ~CBRS_ALL) | dwCtrlStyle | CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NODIVIDER |
                          CCS_NORESIZE;
    if (!CWnd::Create(TOOLBARCLASSNAMEA, NULL, dwWindowStyle, CRect(0, 0, 100, 100), pParentWnd, nID))
        return FALSE;
    ::SendMessageA(m_hWnd, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SetSizes(m_sizeButton, m_sizeImage);
    if (m_hbmImageWell != NULL) {
        HBITMAP hbm = m_hbmImageWell;
        m_hbmImageWell = NULL;
        SetBitmap(hbm);
    }
    SyncButtons();
    return TRUE;
}

void CToolBar::SetSizes(SIZE sizeButton, SIZE sizeImage)
{
    m_sizeButton = sizeButton;
    m_sizeImage = sizeImage;
    if (m_hWnd != NULL) {
        ::SendMessageA(m_hWnd, TB_SETBITMAPSIZE, 0, MAKELPARAM(sizeImage.cx, sizeImage.cy));
        ::SendMessageA(m_hWnd, TB_SETBUTTONSIZE, 0, MAKELPARAM(sizeButton.cx, sizeButton.cy));
    }
}

BOOL CToolBar::LoadToolBar(LPCTSTR lpszResourceName)
{
    if (lpszResourceName == NULL)
        return FALSE;
    HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, RT_TOOLBAR);
    HRSRC hRsrc = ::FindResourceA(hInst, lpszResourceName, RT_TOOLBAR);
    if (hRsrc == NULL)
        return FALSE;
    HGLOBAL hGlobal = ::LoadResource(hInst, hRsrc);
    const BYTE* pData = hGlobal != NULL ? static_cast<const BYTE*>(::LockResource(hGlobal)) : NULL;
    DWORD dwSize = ::SizeofResource(hInst, hRsrc);
    if (pData == NULL || dwSize < sizeof(ToolBarResource))
        return FALSE;
    ToolBarResource header;
    memcpy(&header, pData, sizeof(header));
    if (header.wVersion != 1 || header.wWidth == 0 || header.wHeight == 0 ||
        sizeof(ToolBarResource) + (DWORD)header.wItemCount * sizeof(WORD) > dwSize)
        return FALSE;

    CArray<UINT, UINT> ids;
    ids.SetSize(header.wItemCount);
    for (int i = 0; i < header.wItemCount; i++) {
        WORD wID;
        memcpy(&wID, pData + sizeof(ToolBarResource) + i * sizeof(WORD), sizeof(WORD));
        ids[i] = wID;
    }
    if (!SetButtons(ids.GetData(), ids.GetSize()))
        return FALSE;
    SetSizes(CSize(header.wWidth + 7, header.wHeight + 7), CSize(header.wWidth, header.wHeight));
    return LoadBitmap(lpszResourceName);
}

BOOL CToolBar::LoadBitmap(LPCTSTR lpszResourceName)
{
    HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, RT_BITMAP);
    HRSRC hRsrc = ::FindResourceA(hInst, lpszResourceName, RT_BITMAP);
    if (hRsrc == NULL)
        return FALSE;
    HBITMAP hbm = AfxLoadSysColorBitmap(hInst, hRsrc);
    return hbm != NULL && SetBitmap(hbm);
}

BOOL CToolBar::SetBitmap(HBITMAP hbmImageWell)
{
    if (hbmImageWell == NULL)
        return FALSE;
    if (m_hbmImageWell != NULL && m_hbmImageWell != hbmImageWell)
        ::DeleteObject(m_hbmImageWell);
    m_hbmImageWell = hbmImageWell;
    if (m_hWnd != NULL) {
        BITMAP bm = {};
        ::GetObjectA(hbmImageWell, sizeof(bm), &bm);
        TBADDBITMAP tbab = {NULL, reinterpret_cast<UINT_PTR>(hbmImageWell)};
        int nImages = m_sizeImage.cx > 0 ? bm.bmWidth / m_sizeImage.cx : 0;
        ::SendMessageA(m_hWnd, TB_ADDBITMAP, nImages, reinterpret_cast<LPARAM>(&tbab));
    }
    return TRUE;
}

BOOL CToolBar::SetButtons(const UINT* lpIDArray, int nIDCount)
{
    if (nIDCount < 0)
        return FALSE;
    m_buttons.RemoveAll();
    int iImage = 0;
    for (int i = 0; i < nIDCount; i++) {
        Button button;
        button.nID = lpIDArray != NULL ? lpIDArray[i] : 0;
        if (lpIDArray == NULL || button.nID == 0) {
            button.nStyle = TBBS_SEPARATOR;
            button.iImage = 0;
        } else {
            button.nStyle = TBBS_BUTTON;
            button.iImage = iImage++;
        }
        m_buttons.Add(button);
    }
    SyncButtons();
    return TRUE;
}

void CToolBar::SyncButtons()
{
    if (m_hWnd == NULL)
        return;
    while (::SendMessageA(m_hWnd, TB_DELETEBUTTON, 0, 0))
        ;
    for (int i = 0; i < m_buttons.GetSize(); i++) {
        const Button& b = m_buttons.ElementAt(i);
        TBBUTTON tbb = {};
        tbb.idCommand = (int)b.nID;
        tbb.fsStyle = (BYTE)LOWORD(b.nStyle);
        tbb.fsState = TBSTATE_ENABLED;
        tbb.iBitmap = (b.nStyle & TBBS_SEPARATOR) ? 8 : b.iImage;
        ::SendMessageA(m_hWnd, TB_ADDBUTTONS, 1, reinterpret_cast<LPARAM>(&tbb));
    }
}

int CToolBar::CommandToIndex(UINT nIDFind) const
{
    for (int i = 0; i < m_buttons.GetSize(); i++) {
        const Button& b = m_buttons.ElementAt(i);
        if (b.nID == nIDFind && !(b.nStyle & TBBS_SEPARATOR))
            return i;
    }
    return -1;
}

UINT CToolBar::GetItemID(int nIndex) const
{
    if (nIndex < 0 || nIndex >= m_buttons.GetSize())
        return 0;
    return m_buttons.ElementAt(nIndex).nID;
}

void CToolBar::GetItemRect(int nIndex, LPRECT lpRect) const
{
    ::SetRectEmpty(lpRect);
    if (m_hWnd != NULL && nIndex >= 0 && nIndex < m_buttons.GetSize())
        ::SendMessageA(m_hWnd, TB_GETITEMRECT, nIndex, reinterpret_cast<LPARAM>(lpRect));
}

UINT CToolBar::GetButtonStyle(int nIndex) const
{
    if (nIndex < 0 || nIndex >= m_buttons.GetSize())
        return 0;
    return m_buttons.ElementAt(nIndex).nStyle;
}

void CToolBar::SetButtonStyle(int nIndex, UINT nStyle)
{
    if (nIndex < 0 || nIndex >= m_buttons.GetSize())
        return;
    m_buttons.ElementAt(nIndex).nStyle = nStyle;
    SyncButtons();
}

void CToolBar::GetButtonInfo(int nIndex, UINT& nID, UINT& nStyle, int& iImage) const
{
    if (nIndex < 0 || nIndex >= m_buttons.GetSize()) {
        nID = 0;
        nStyle = 0;
        iImage = -1;
        return;
    }
    const Button& b = m_buttons.ElementAt(nIndex);
    nID = b.nID;
    nStyle = b.nStyle;
    iImage = b.iImage;
}

void CToolBar::SetButtonInfo(int nIndex, UINT nID, UINT nStyle, int iImage)
{
    if (nIndex < 0 || nIndex >= m_buttons.GetSize())
        return;
    Button& b = m_buttons.ElementAt(nIndex);
    b.nID = nID;
    b.nStyle = nStyle;
    b.iImage = iImage;
    SyncButtons();
}
