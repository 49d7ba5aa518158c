// ActiveX control hosting for CWnd, dispatch calls by id, and connection
// points.
//
// The window made by CreateControl is a plain child window of the
// framework's; the system's ActiveX host (atl.dll: AtlAxCreateControlEx)
// makes the control, activates it in place inside that window and keeps it
// sized to the window. The CWnd keeps the control's IUnknown and IDispatch
// for InvokeHelper/GetProperty/SetProperty and lets them go with the window.
#include "afxdisp.h"

#include <vector>

struct COleControlSite
{
    IUnknown* pUnkControl = NULL;
    IDispatch* pDispatch = NULL;
    IUnknown* pContainer = NULL;
};

namespace {

typedef BOOL(WINAPI* PFN_AXWININIT)();
typedef HRESULT(WINAPI* PFN_AXCREATECONTROLEX)(LPCOLESTR, HWND, IStream*, IUnknown**, IUnknown**, REFIID,
                                                IUnknown*);

struct AxHost
{
    BOOL bTried = FALSE;
    PFN_AXCREATECONTROLEX pfnCreateEx = NULL;
};

// atl.dll's host, loaded once for the process.
PFN_AXCREATECONTROLEX GetAxCreateControlEx()
{
    static AxHost host;
    if (!host.bTried) {
        host.bTried = TRUE;
        HMODULE hAtl = ::LoadLibraryA("atl.dll");
        if (hAtl == NULL) {
            ::AfxTrace("ActiveX: atl.dll not found (%lu)\n", ::GetLastError());
            return NULL;
        }
        PFN_AXWININIT pfnInit = reinterpret_cast<PFN_AXWININIT>(
            reinterpret_cast<void (*)()>(::GetProcAddress(hAtl, "AtlAxWinInit")));
        PFN_AXCREATECONTROLEX pfnCreateEx = reinterpret_cast<PFN_AXCREATECONTROLEX>(
            reinterpret_cast<void (*)()>(::GetProcAddress(hAtl, "AtlAxCreateControlEx")));
        if (pfnInit == NULL || pfnCreateEx == NULL || !pfnInit()) {
            ::AfxTrace("ActiveX: atl.dll has no usable control host\n");
            return NULL;
        }
        host.pfnCreateEx = pfnCreateEx;
    }
    return host.pfnCreateEx;
}

// The result slot before a call: whatever happens, the caller reads a
// defined, neutral value.
void ClearResult(VARTYPE vtRet, void* pvRet)
{
    if (pvRet == NULL)
        return;
    switch (vtRet) {
    case VT_I2: *static_cast<short*>(pvRet) = 0; break;
    case VT_I4: *static_cast<long*>(pvRet) = 0; break;
    case VT_BOOL: *static_cast<BOOL*>(pvRet) = FALSE; break;
    case VT_R4: *static_cast<float*>(pvRet) = 0; break;
    case VT_R8: *static_cast<double*>(pvRet) = 0; break;
    case VT_UI1: *static_cast<BYTE*>(pvRet) = 0; break;
    case VT_BSTR: static_cast<CString*>(pvRet)->Empty(); break;
    case VT_DISPATCH: *static_cast<IDispatch**>(pvRet) = NULL; break;
    case VT_UNKNOWN: *static_cast<IUnknown**>(pvRet) = NULL; break;
    case VT_VARIANT: ::VariantInit(static_cast<VARIANT*>(pvRet)); break;
    default: break;
    }
}

bool IsResultType(VARTYPE vt)
{
    switch (vt) {
    case VT_EMPTY: case VT_I2: case VT_I4: case VT_BOOL: case VT_R4: case VT_R8: case VT_UI1:
    case VT_BSTR: case VT_DISPATCH: case VT_UNKNOWN: case VT_VARIANT:
        return true;
    default:
        return false;
    }
}

// Moves a call's result into the caller's slot; false when it does not
// convert (the slot then stays neutral).
bool StoreResult(VARIANT& result, VARTYPE vtRet, void* pvRet)
{
    if (vtRet == VT_EMPTY || pvRet == NULL) {
        ::VariantClear(&result);
        return true;
    }
    if (vtRet == VT_VARIANT) {
        *static_cast<VARIANT*>(pvRet) = result;   // the caller owns it now
        ::VariantInit(&result);
        return true;
    }
    if (result.vt != vtRet && FAILED(::VariantChangeType(&result, &result, 0, vtRet))) {
        ::VariantClear(&result);
        return false;
    }
    switch (vtRet) {
    case VT_I2: *static_cast<short*>(pvRet) = result.iVal; break;
    case VT_I4: *static_cast<long*>(pvRet) = result.lVal; break;
    case VT_BOOL: *static_cast<BOOL*>(pvRet) = result.boolVal != VARIANT_FALSE; break;
    case VT_R4: *static_cast<float*>(pvRet) = result.fltVal; break;
    case VT_R8: *static_cast<double*>(pvRet) = result.dblVal; break;
    case VT_UI1: *static_cast<BYTE*>(pvRet) = result.bVal; break;
    case VT_BSTR:
        *static_cast<CString*>(pvRet) = result.bstrVal != NULL
            ? CString(result.bstrVal, (int)::SysStringLen(result.bstrVal)) : CString();
        break;
    case VT_DISPATCH:
        *static_cast<IDispatch**>(pvRet) = result.pdispVal;
        ::VariantInit(&result);
        return true;
    case VT_UNKNOWN:
        *static_cast<IUnknown**>(pvRet) = result.punkVal;
        ::VariantInit(&result);
        return true;
    default:
        break;
    }
    ::VariantClear(&result);
    return true;
}

// Reads one argument of the code from the list into the variant; false for
// an unknown code. Texts are made here and cleared by the caller.
bool ReadArgument(BYTE code, va_list& argList, VARIANT& arg)
{
    ::VariantInit(&arg);
    if (code & VT_MFCBYREF) {
        VARTYPE vt = (VARTYPE)(code & ~VT_MFCBYREF);
        void* p = va_arg(argList, void*);
        switch (vt) {
        case VT_I2: case VT_I4: case VT_R4: case VT_R8: case VT_BSTR: case VT_DISPATCH: case VT_BOOL:
        case VT_VARIANT:
            arg.vt = (VARTYPE)(vt | VT_BYREF);
            arg.byref = p;
            return true;
        default:
            return false;
        }
    }
    switch (code) {
    case VT_I2: arg.vt = VT_I2; arg.iVal = (short)va_arg(argList, int); return true;
    case VT_I4: arg.vt = VT_I4; arg.lVal = va_arg(argList, long); return true;
    case VT_I8: arg.vt = VT_I8; arg.llVal = va_arg(argList, LONGLONG); return true;
    case VT_R4: arg.vt = VT_R4; arg.fltVal = (float)va_arg(argList, double); return true;
    case VT_R8: arg.vt = VT_R8; arg.dblVal = va_arg(argList, double); return true;
    case VT_BOOL:
        arg.vt = VT_BOOL;
        arg.boolVal = va_arg(argList, BOOL) ? VARIANT_TRUE : VARIANT_FALSE;
        return true;
    case VT_I1: arg.vt = VT_I1; arg.cVal = (CHAR)va_arg(argList, int); return true;
    case VT_UI1: arg.vt = VT_UI1; arg.bVal = (BYTE)va_arg(argList, int); return true;
    case VT_BSTR: {
        LPCSTR psz = va_arg(argList, LPCSTR);
        arg.vt = VT_BSTR;
        if (psz != NULL && *psz != '\0') {
            CA2W wide(psz);
            arg.bstrVal = ::SysAllocStringLen(wide, (UINT)wide.GetLength());
        }
        return true;
    }
    case VT_DISPATCH: arg.vt = VT_DISPATCH; arg.pdispVal = va_arg(argList, IDispatch*); return true;
    case VT_UNKNOWN: arg.vt = VT_UNKNOWN; arg.punkVal = va_arg(argList, IUnknown*); return true;
    case VT_VARIANT: {
        const VARIANT* pv = va_arg(argList, const VARIANT*);
        arg.vt = VT_VARIANT | VT_BYREF;       // the callee sees the caller's variant
        arg.pvarVal = const_cast<VARIANT*>(pv);
        return pv != NULL;
    }
    default:
        return false;
    }
}

} // namespace

/////////////////////////////////////////////////////////////////////////////
// Dispatch calls

BOOL AFXAPI AfxDispatchInvokeV(IDispatch* pDispatch, DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet,
                               const BYTE* pbParamInfo, va_list argList)
{
    ClearResult(vtRet, pvRet);
    if (pDispatch == NULL) {
        ::AfxTrace("dispatch %ld: no object\n", (long)dwDispID);
        return FALSE;
    }
    if (!IsResultType(vtRet)) {
        ::AfxTrace("dispatch %ld: result type %u not supported\n", (long)dwDispID, (unsigned)vtRet);
        return FALSE;
    }

    size_t nArgs = pbParamInfo != NULL ? strlen(reinterpret_cast<const char*>(pbParamInfo)) : 0;
    std::vector<VARIANT> args(nArgs);
    bool bArgsOk = true;
    for (size_t i = 0; i < nArgs; i++) {
        // The first parameter is the last element of the array.
        if (!ReadArgument(pbParamInfo[i], argList, args[nArgs - 1 - i])) {
            ::AfxTrace("dispatch %ld: parameter code %u not supported\n", (long)dwDispID, (unsigned)pbParamInfo[i]);
            ::VariantInit(&args[nArgs - 1 - i]);
            bArgsOk = false;
        }
    }

    HRESULT hr = E_INVALIDARG;
    VARIANT result;
    ::VariantInit(&result);
    if (bArgsOk) {
        DISPID dispidNamed = DISPID_PROPERTYPUT;
        DISPPARAMS params = {nArgs ? args.data() : NULL, NULL, (UINT)nArgs, 0};
        if (wFlags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
            params.rgdispidNamedArgs = &dispidNamed;
            params.cNamedArgs = 1;
        }
        EXCEPINFO excep;
        memset(&excep, 0, sizeof(excep));
        UINT nArgErr = (UINT)-1;
        hr = pDispatch->Invoke(dwDispID, IID_NULL, 0, wFlags, &params,
                               vtRet != VT_EMPTY ? &result : NULL, &excep, &nArgErr);
        if (hr == DISP_E_EXCEPTION) {
            if (excep.pfnDeferredFillIn != NULL)
                excep.pfnDeferredFillIn(&excep);
            ::AfxTrace("dispatch %ld: the object raised 0x%08lx\n", (long)dwDispID,
                       (unsigned long)(excep.scode != 0 ? excep.scode : (SCODE)excep.wCode));
            ::SysFreeString(excep.bstrSource);
            ::SysFreeString(excep.bstrDescription);
            ::SysFreeString(excep.bstrHelpFile);
        } else if (FAILED(hr)) {
            ::AfxTrace("dispatch %ld: failed 0x%08lx (argument %u)\n", (long)dwDispID, (unsigned long)hr, nArgErr);
        }
    }
    for (size_t i = 0; i < nArgs; i++)
        if (args[i].vt == VT_BSTR)
            ::SysFreeString(args[i].bstrVal);

    if (FAILED(hr)) {
        ::VariantClear(&result);
        return FALSE;
    }
    if (!StoreResult(result, vtRet, pvRet)) {
        ::AfxTrace("dispatch %ld: result does not convert to type %u\n", (long)dwDispID, (unsigned)vtRet);
        return FALSE;
    }
    return TRUE;
}

BOOL AFX_CDECL AfxDispatchInvoke(IDispatch* pDispatch, DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet,
                                 const BYTE* pbParamInfo, ...)
{
    va_list argList;
    va_start(argList, pbParamInfo);
    BOOL bResult = AfxDispatchInvokeV(pDispatch, dwDispID, wFlags, vtRet, pvRet, pbParamInfo, argList);
    va_end(argList);
    return bResult;
}

/////////////////////////////////////////////////////////////////////////////
// Connection points

BOOL AFXAPI AfxConnectionAdvise(IUnknown* pUnkSrc, REFIID iid, IUnknown* pUnkSink, BOOL bRefCount, DWORD* pdwCookie)
{
    if (pdwCookie != NULL)
        *pdwCookie = 0;
    if (pUnkSrc == NULL || pUnkSink == NULL || pdwCookie == NULL)
        return FALSE;
    IConnectionPointContainer* pContainer = NULL;
    if (FAILED(pUnkSrc->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&pContainer))))
        return FALSE;
    IConnectionPoint* pPoint = NULL;
    HRESULT hr = pContainer->FindConnectionPoint(iid, &pPoint);
    pContainer->Release();
    if (FAILED(hr) || pPoint == NULL)
        return FALSE;
    hr = pPoint->Advise(pUnkSink, pdwCookie);
    pPoint->Release();
    if (FAILED(hr)) {
        *pdwCookie = 0;
        return FALSE;
    }
    if (!bRefCount)
        pUnkSink->Release();
    return TRUE;
}

BOOL AFXAPI AfxConnectionUnadvise(IUnknown* pUnkSrc, REFIID iid, IUnknown* pUnkSink, BOOL bRefCount, DWORD dwCookie)
{
    if (pUnkSrc == NULL || pUnkSink == NULL)
        return FALSE;
    IConnectionPointContainer* pContainer = NULL;
    if (FAILED(pUnkSrc->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&pContainer))))
        return FALSE;
    IConnectionPoint* pPoint = NULL;
    HRESULT hr = pContainer->FindConnectionPoint(iid, &pPoint);
    pContainer->Release();
    if (FAILED(hr) || pPoint == NULL)
        return FALSE;
    if (!bRefCount)
        pUnkSink->AddRef();                   // the source lets go of one reference
    hr = pPoint->Unadvise(dwCookie);
    pPoint->Release();
    if (FAILED(hr) && !bRefCount)
        pUnkSink->Release();
    return SUCCEEDED(hr);
}

BOOL AFXAPI AfxOleInitThread()
{
    static thread_local HRESULT s_hr = S_FALSE;
    static thread_local bool s_bDone = false;
    if (!s_bDone) {
        s_bDone = true;
        s_hr = ::OleInitialize(NULL);
        if (FAILED(s_hr))
            ::AfxTrace("OleInitialize failed 0x%08lx\n", (unsigned long)s_hr);
    }
    return SUCCEEDED(s_hr);
}

/////////////////////////////////////////////////////////////////////////////
// CWnd as a control site

BOOL CWnd::CreateControl(REFCLSID clsid, LPCTSTR pszWindowName, DWORD dwStyle, const RECT& rect,
                         CWnd* pParentWnd, UINT nID)
{
    WCHAR szClsid[64];
    if (::StringFromGUID2(clsid, szClsid, 64) == 0)
        return FALSE;
    return CreateControl(CW2A(szClsid), pszWindowName, dwStyle, rect, pParentWnd, nID);
}

BOOL CWnd::CreateControl(LPCTSTR pszClass, LPCTSTR pszWindowName, DWORD dwStyle, const RECT& rect,
                         CWnd* pParentWnd, UINT nID)
{
    if (m_hWnd != NULL || pszClass == NULL || *pszClass == '\0')
        return FALSE;
    AfxOleInitThread();
    PFN_AXCREATECONTROLEX pfnCreateEx = GetAxCreateControlEx();
    if (pfnCreateEx == NULL)
        return FALSE;
    if (!CreateEx(0, AfxRegisterWndClass(0), pszWindowName, dwStyle | WS_CLIPCHILDREN, rect, pParentWnd, nID))
        return FALSE;

    IUnknown* pContainer = NULL;
    IUnknown* pControl = NULL;
    HRESULT hr = pfnCreateEx(CA2W(pszClass), m_hWnd, NULL, &pContainer, &pControl, IID_NULL, NULL);
    if (FAILED(hr) || pControl == NULL) {
        ::AfxTrace("ActiveX: control %s not created (0x%08lx)\n", pszClass, (unsigned long)hr);
        if (pControl != NULL)
            pControl->Release();
        if (pContainer != NULL)
            pContainer->Release();
        DestroyWindow();
        return FALSE;
    }
    COleControlSite* pSite = new COleControlSite;
    pSite->pUnkControl = pControl;
    pSite->pContainer = pContainer;
    if (FAILED(pControl->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&pSite->pDispatch))))
        pSite->pDispatch = NULL;
    m_pCtrlSite = pSite;
    return TRUE;
}

void CWnd::ReleaseControlSite()
{
    COleControlSite* pSite = m_pCtrlSite;
    if (pSite == NULL)
        return;
    m_pCtrlSite = NULL;
    if (pSite->pDispatch != NULL)
        pSite->pDispatch->Release();
    if (pSite->pUnkControl != NULL)
        pSite->pUnkControl->Release();
    if (pSite->pContainer != NULL)
        pSite->pContainer->Release();
    delete pSite;
}

IUnknown* CWnd::GetControlUnknown() const
{
    return m_pCtrlSite != NULL ? m_pCtrlSite->pUnkControl : NULL;
}

BOOL CWnd::InvokeHelperV(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet, const BYTE* pbParamInfo,
                         va_list argList)
{
    IDispatch* pDispatch = m_pCtrlSite != NULL ? m_pCtrlSite->pDispatch : NULL;
    return AfxDispatchInvokeV(pDispatch, dwDispID, wFlags, vtRet, pvRet, pbParamInfo, argList);
}

BOOL AFX_CDECL CWnd::InvokeHelper(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet,
                                  const BYTE* pbParamInfo, ...)
{
    va_list argList;
    va_start(argList, pbParamInfo);
    BOOL bResult = InvokeHelperV(dwDispID, wFlags, vtRet, pvRet, pbParamInfo, argList);
    va_end(argList);
    return bResult;
}

BOOL CWnd::GetProperty(DISPID dwDispID, VARTYPE vtProp, void* pvProp) const
{
    IDispatch* pDispatch = m_pCtrlSite != NULL ? m_pCtrlSite->pDispatch : NULL;
    return AfxDispatchInvoke(pDispatch, dwDispID, DISPATCH_PROPERTYGET, vtProp, pvProp, NULL);
}

BOOL AFX_CDECL CWnd::SetProperty(DISPID dwDispID, VARTYPE vtProp, ...)
{
    BYTE params[2] = {(BYTE)vtProp, 0};
    WORD wFlags = (vtProp == VT_DISPATCH || vtProp == VT_UNKNOWN) ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT;
    va_list argList;
    va_start(argList, vtProp);
    BOOL bResult = InvokeHelperV(dwDispID, wFlags, VT_EMPTY, NULL, params, argList);
    va_end(argList);
    return bResult;
}
