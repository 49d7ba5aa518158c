// The advert control's wrapper.
#include "QVAdCtrl.h"

#include "AdvertPages.h"
#include "AxControls.h"
#include "app/ClientServices.h"

IMPLEMENT_DYNCREATE(CQVAdCtrl, CWnd)

CQVAdCtrl::CQVAdCtrl() : m_bVersion(FALSE), m_bPageRequested(FALSE)
{
    CModuleVersion version;
    m_bVersion = version.LoadShareModule("QVAdCtrl.ocx") && version.Compare("2.2.0.0");
}

const CLSID& CQVAdCtrl::GetClsid()
{
    return CLSID_QVAdCtrl;
}

BOOL CQVAdCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CreateControl(CLSID_QVAdCtrl, NULL, dwStyle, rect, pParentWnd, nID);
}

int CQVAdCtrl::ShowPage(LPCSTR lpszText, BOOL bFlag)
{
    if (lpszText == NULL || *lpszText == '\0')
        return 0;
    m_bPageRequested = TRUE;
    if (m_bVersion) {
        ShowAddress(1, 0, lpszText);
        if (bFlag)
            ShowFile(0, NULL, 0, 0, 0, 0);
        return 1;
    }
    if (bFlag)
        ShowLocalPage(lpszText);
    return 0;
}

BOOL CQVAdCtrl::ShowLocalPage(LPCSTR lpszName)
{
    std::string file;
    if (!advert::LocalPageName(lpszName, &file))
        return FALSE;
    DWORD dwAttributes = ::GetFileAttributesA(file.c_str());
    if (dwAttributes == INVALID_FILE_ATTRIBUTES || (dwAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return FALSE;
    ShowFile(0, file.c_str(), 0, 0, 0, 0);
    return TRUE;
}

void CQVAdCtrl::CallDispid1(long nCode, long nValue)
{
    InvokeHelper(1, DISPATCH_METHOD, VT_EMPTY, NULL, (const BYTE*)(VTS_I4 VTS_I4), nCode, nValue);
}

long CQVAdCtrl::GetHostWindow()
{
    long result = 0;
    InvokeHelper(2, DISPATCH_METHOD, VT_I4, &result, (const BYTE*)VTS_NONE);
    return result;
}

void CQVAdCtrl::CallDispid3(long nValue)
{
    InvokeHelper(3, DISPATCH_METHOD, VT_EMPTY, NULL, (const BYTE*)VTS_I4, nValue);
}

long CQVAdCtrl::CallDispid4()
{
    long result = 0;
    InvokeHelper(4, DISPATCH_METHOD, VT_I4, &result, (const BYTE*)VTS_NONE);
    return result;
}

void CQVAdCtrl::SetOwnerWindow(HWND hOwner)
{
    // Window handles keep 32 significant bits.
    InvokeHelper(5, DISPATCH_METHOD, VT_EMPTY, NULL, (const BYTE*)VTS_I4, (long)(LONG_PTR)hOwner);
}

void CQVAdCtrl::CallDispid6()
{
    InvokeHelper(6, DISPATCH_METHOD, VT_EMPTY, NULL, (const BYTE*)VTS_NONE);
}

void CQVAdCtrl::ShowFile(long nKind, LPCSTR lpszPage, long p3, long p4, long p5, long p6)
{
    InvokeHelper(9, DISPATCH_METHOD, VT_EMPTY, NULL, (const BYTE*)(VTS_I4 VTS_BSTR VTS_I4 VTS_I4 VTS_I4 VTS_I4),
                 nKind, lpszPage, p3, p4, p5, p6);
}

void CQVAdCtrl::CallDispid10(long p1, long p2, long p3, long p4, long p5)
{
    InvokeHelper(10, DISPATCH_METHOD, VT_EMPTY, NULL, (const BYTE*)(VTS_I4 VTS_I4 VTS_I4 VTS_I4 VTS_I4), p1, p2,
                 p3, p4, p5);
}

void CQVAdCtrl::CallDispid11(long p1, long p2, long p3, long p4, long p5, long p6, long p7, long p8)
{
    InvokeHelper(11, DISPATCH_METHOD, VT_EMPTY, NULL,
                 (const BYTE*)(VTS_I4 VTS_I4 VTS_I4 VTS_I4 VTS_I4 VTS_I4 VTS_I4 VTS_I4), p1, p2, p3, p4, p5, p6, p7,
                 p8);
}

void CQVAdCtrl::CallDispid12(long p1, long p2, long p3, long p4, long p5, long p6, long p7)
{
    InvokeHelper(12, DISPATCH_METHOD, VT_EMPTY, NULL, (const BYTE*)(VTS_I4 VTS_I4 VTS_I4 VTS_I4 VTS_I4 VTS_I4 VTS_I4),
                 p1, p2, p3, p4, p5, p6, p7);
}

void CQVAdCtrl::ShowAddress(long nKind, long nValue, LPCSTR lpszAddress)
{
    InvokeHelper(13, DISPATCH_METHOD, VT_EMPTY, NULL, (const BYTE*)(VTS_I4 VTS_I4 VTS_BSTR), nKind, nValue,
                 lpszAddress);
}

void NotifyAdControls(HWND hWnd, long nCode, long nValue, CQVAdCtrl* const* ppControls, int nCount)
{
    if (ppControls == NULL)
        return;
    for (int i = 0; i < nCount; i++) {
        CQVAdCtrl* pControl = ppControls[i];
        if (pControl != NULL && pControl->GetSafeHwnd() != NULL
            && (HWND)(LONG_PTR)pControl->GetHostWindow() == hWnd)
            pControl->CallDispid1(nCode, nValue);
    }
}
