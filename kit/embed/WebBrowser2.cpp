#include "WebBrowser2.h"

#include <exdisp.h>

namespace {

// Navigate (URL, Flags, TargetFrameName, PostData, Headers) of the browser's
// dispatch interface.
const DISPID kDispidNavigate = 104;

}  // namespace

const CLSID& CWebBrowser2::GetClsid()
{
    return CLSID_WebBrowser;
}

BOOL CWebBrowser2::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CreateControl(GetClsid(), NULL, dwStyle, rect, pParentWnd, nID);
}

BOOL CWebBrowser2::Navigate(LPCSTR lpszAddress)
{
    if (GetControlUnknown() == NULL || lpszAddress == NULL || *lpszAddress == '\0')
        return FALSE;
    // The optional arguments as empty variants: the browser's defaults.
    VARIANT flags, target, postData, headers;
    ::VariantInit(&flags);
    ::VariantInit(&target);
    ::VariantInit(&postData);
    ::VariantInit(&headers);
    return InvokeHelper(kDispidNavigate, DISPATCH_METHOD, VT_EMPTY, NULL,
                        (const BYTE*)(VTS_BSTR VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT), lpszAddress,
                        &flags, &target, &postData, &headers);
}
