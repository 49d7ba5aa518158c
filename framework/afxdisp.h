// afxdisp.h - calling ActiveX controls and other dispatch objects.
//
// A parameter list is a zero-terminated string of VTS_* codes, one per
// argument; the arguments follow as C varargs:
//   VTS_I2, VTS_BOOL, VTS_I1, VTS_UI1  int (promoted)
//   VTS_I4                            long
//   VTS_I8                            LONGLONG
//   VTS_R4, VTS_R8                    double (promoted)
//   VTS_BSTR                          LPCSTR (ANSI text, NULL for an empty one)
//   VTS_DISPATCH, VTS_UNKNOWN         IDispatch*, IUnknown* (borrowed)
//   VTS_VARIANT                       const VARIANT* (borrowed)
//   VTS_P...                          a pointer to the value (by reference;
//                                     VTS_PBOOL points at a VARIANT_BOOL)
// Results: VT_EMPTY none; VT_I2 short*; VT_I4 long*; VT_BOOL BOOL*;
// VT_R4 float*; VT_R8 double*; VT_BSTR CString*; VT_DISPATCH IDispatch**,
// VT_UNKNOWN IUnknown** (the caller releases); VT_VARIANT VARIANT* (the
// caller clears).
//
// Nothing here throws: a failed call is traced and leaves the neutral result
// (0, FALSE, an empty text, NULL, VT_EMPTY).
#pragma once

#include "afxwin.h"

#include <ocidl.h>
#include <olectl.h>

#define VTS_NONE     ""
#define VTS_I2       "\x02"
#define VTS_I4       "\x03"
#define VTS_R4       "\x04"
#define VTS_R8       "\x05"
#define VTS_BSTR     "\x08"
#define VTS_DISPATCH "\x09"
#define VTS_BOOL     "\x0B"
#define VTS_VARIANT  "\x0C"
#define VTS_UNKNOWN  "\x0D"
#define VTS_I1       "\x10"
#define VTS_UI1      "\x11"
#define VTS_I8       "\x14"       // LONGLONG
#define VTS_PI2      "\x42"
#define VTS_PI4      "\x43"
#define VTS_PR4      "\x44"
#define VTS_PR8      "\x45"
#define VTS_PBSTR    "\x48"
#define VTS_PDISPATCH "\x49"
#define VTS_PBOOL    "\x4B"
#define VTS_PVARIANT "\x4C"

// The by-reference bit of a VTS_* code.
#define VT_MFCBYREF 0x40

// One call on a dispatch object (see the head of this file). FALSE when the
// object is NULL, a parameter code is unknown, the call fails or its result
// does not convert to vtRet.
BOOL AFXAPI AfxDispatchInvokeV(IDispatch* pDispatch, DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet,
                               const BYTE* pbParamInfo, va_list argList);
BOOL AFX_CDECL AfxDispatchInvoke(IDispatch* pDispatch, DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet,
                                 const BYTE* pbParamInfo, ...);

// Attaches a sink to the source's connection point for iid; with bRefCount
// FALSE the source's reference does not keep the sink alive. FALSE (and a
// zero cookie) when the source has no such point or refuses the sink.
BOOL AFXAPI AfxConnectionAdvise(IUnknown* pUnkSrc, REFIID iid, IUnknown* pUnkSink, BOOL bRefCount, DWORD* pdwCookie);
BOOL AFXAPI AfxConnectionUnadvise(IUnknown* pUnkSrc, REFIID iid, IUnknown* pUnkSink, BOOL bRefCount, DWORD dwCookie);

// OLE for the calling thread (once per thread; later calls only report).
BOOL AFXAPI AfxOleInitThread();
