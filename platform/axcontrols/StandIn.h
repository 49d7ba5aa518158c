// Common part of the stand-in ActiveX controls and COM components: a
// windowed, in-place activated control with a dispatch interface (ids fixed,
// no type information), one outgoing event interface reached by connection
// point, and a call log.
//
// Every call that reaches Invoke is written to the module's call log as one
// line "<kind><id>(<arguments>)", kind m (method), g (property get) or p
// (property put), arguments first to last as TYPE:value (I2, I4, BOOL 0/1,
// BSTR text in the ANSI code page, PI4 the pointed-at value, DISPATCH,
// UNKNOWN, R8). Tests read the log through the exported StandInReadLog.
//
// Each module defines StandIn::g_classes (its classes) and registers them
// with regsvr32 (DllRegisterServer).
#pragma once

#include <windows.h>
#include <ole2.h>
#include <ocidl.h>
#include <olectl.h>

#include <string>

namespace StandIn {

class Control;

struct ClassEntry
{
    const CLSID* pClsid;
    const wchar_t* pszProgId;
    const wchar_t* pszName;
    Control* (*pfnCreate)();
};
extern const ClassEntry g_classes[];
extern const int g_nClasses;

void Log(const std::string& line);
std::string DescribeArgs(const DISPPARAMS* pParams);
// The argument at a position counted from the first declared parameter, or
// NULL when there are fewer.
VARIANT* Arg(DISPPARAMS* pParams, UINT nIndex);
std::string ToAnsi(const wchar_t* psz, int nLength = -1);
HMODULE Module();

class Control : public IDispatch, public IConnectionPointContainer, public IOleObject, public IOleInPlaceObject
{
public:
    // iidMain: a dispatch interface of its own the control also answers to.
    Control(const CLSID& clsid, const IID& iidEvents, const IID& iidMain = IID_IDispatch);
    virtual ~Control();

    // The control's own behaviour: called after the call is logged. The
    // result variant is set by the control (VT_EMPTY for none).
    virtual HRESULT Call(DISPID id, WORD wFlags, DISPPARAMS* pParams, VARIANT* pResult) = 0;
    virtual void Paint(HDC hdc, const RECT& rect);

    // Calls every attached sink; args are first to last.
    void Fire(DISPID id, VARIANT* pArgsFirstToLast, UINT nArgs);
    HWND GetControlWindow() const { return m_hWnd; }
    void Redraw() const;
    static Control* LastCreated();

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    // IDispatch
    STDMETHODIMP GetTypeInfoCount(UINT* pn) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD wFlags, DISPPARAMS* pParams, VARIANT* pResult,
                        EXCEPINFO*, UINT* puArgErr) override;
    // IConnectionPointContainer
    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints**) override;
    STDMETHODIMP FindConnectionPoint(REFIID riid, IConnectionPoint** ppPoint) override;
    // IOleObject
    STDMETHODIMP SetClientSite(IOleClientSite* pSite) override;
    STDMETHODIMP GetClientSite(IOleClientSite** ppSite) override;
    STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override;
    STDMETHODIMP Close(DWORD) override;
    STDMETHODIMP SetMoniker(DWORD, IMoniker*) override;
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override;
    STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override;
    STDMETHODIMP GetClipboardData(DWORD, IDataObject**) override;
    STDMETHODIMP DoVerb(LONG iVerb, LPMSG, IOleClientSite* pSite, LONG, HWND hwndParent, LPCRECT prcPos) override;
    STDMETHODIMP EnumVerbs(IEnumOLEVERB**) override;
    STDMETHODIMP Update() override;
    STDMETHODIMP IsUpToDate() override;
    STDMETHODIMP GetUserClassID(CLSID* pClsid) override;
    STDMETHODIMP GetUserType(DWORD, LPOLESTR*) override;
    STDMETHODIMP SetExtent(DWORD, SIZEL* pSize) override;
    STDMETHODIMP GetExtent(DWORD, SIZEL* pSize) override;
    STDMETHODIMP Advise(IAdviseSink*, DWORD*) override;
    STDMETHODIMP Unadvise(DWORD) override;
    STDMETHODIMP EnumAdvise(IEnumSTATDATA**) override;
    STDMETHODIMP GetMiscStatus(DWORD, DWORD* pStatus) override;
    STDMETHODIMP SetColorScheme(LOGPALETTE*) override;
    // IOleWindow / IOleInPlaceObject
    STDMETHODIMP GetWindow(HWND* phwnd) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override;
    STDMETHODIMP InPlaceDeactivate() override;
    STDMETHODIMP UIDeactivate() override;
    STDMETHODIMP SetObjectRects(LPCRECT prcPos, LPCRECT) override;
    STDMETHODIMP ReactivateAndUndo() override;

    static LRESULT CALLBACK WndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

private:
    class Point;
    friend class Point;
    CLSID m_clsid;
    IID m_iidEvents;
    IID m_iidMain;
    LONG m_nRef;
    Point* m_pPoint;
    IOleClientSite* m_pSite;
    IOleInPlaceSite* m_pInPlaceSite;
    HWND m_hWnd;
    SIZEL m_extent;
};

} // namespace StandIn
