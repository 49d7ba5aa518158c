// DispatchCall.h - one typed dispatch call on a control window. The wrappers
// of the embedded controls name each method by its dispatch id, its
// parameter codes (VTS_*, afxdisp.h) and its result type; the call itself
// (and its neutral result when the control is missing or refuses) is the
// window's InvokeHelper.
#pragma once

#include "afxdisp.h"

namespace dispatch {

// The variant type a result of type R is asked for as.
template <typename R> struct ResultType;
template <> struct ResultType<long> { static const VARTYPE vt = VT_I4; };
template <> struct ResultType<short> { static const VARTYPE vt = VT_I2; };
template <> struct ResultType<BOOL> { static const VARTYPE vt = VT_BOOL; };
template <> struct ResultType<CString> { static const VARTYPE vt = VT_BSTR; };
template <> struct ResultType<IDispatch*> { static const VARTYPE vt = VT_DISPATCH; };

// A method with a result; args in the order of the parameter codes.
template <typename R, typename... Args>
R Method(CWnd& wnd, DISPID id, const char* params, Args... args)
{
    R result = R();
    wnd.InvokeHelper(id, DISPATCH_METHOD, ResultType<R>::vt, &result, reinterpret_cast<const BYTE*>(params), args...);
    return result;
}

// A method without a result.
template <typename... Args>
void Call(CWnd& wnd, DISPID id, const char* params, Args... args)
{
    wnd.InvokeHelper(id, DISPATCH_METHOD, VT_EMPTY, NULL, reinterpret_cast<const BYTE*>(params), args...);
}

// A property's value.
template <typename R>
R Get(const CWnd& wnd, DISPID id)
{
    R result = R();
    wnd.GetProperty(id, ResultType<R>::vt, &result);
    return result;
}

}  // namespace dispatch
