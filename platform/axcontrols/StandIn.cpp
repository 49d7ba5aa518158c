// Common part of the stand-in controls: COM plumbing, the in-place window,
// the call log and the module's exports.
#include "StandIn.h"

#include <olectl.h>

#include <cstdio>
#include <cstring>

namespace StandIn {

namespace {

HMODULE g_hModule = NULL;
LONG g_nObjects = 0;
LONG g_nLocks = 0;
CRITICAL_SECTION g_logLock;
std::string* g_pLog = NULL;
Control* g_pLast = NULL;
wchar_t g_szWndClass[64] = L"";

const int kMaxSinks = 8;

} // namespace

// The control's one connection point; it shares the control's count.
class Control::Point : public IConnectionPoint
{
public:
    explicit Point(Control* pOwner) : m_pOwner(pOwner) { memset(m_sinks, 0, sizeof(m_sinks)); }
    virtual ~Point()
    {
        for (IDispatch*& p : m_sinks)
            if (p != NULL)
                p->Release();
    }
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (riid == IID_IUnknown || riid == IID_IConnectionPoint) {
            *ppv = this;
            AddRef();
            return S_OK;
        }
        *ppv = NULL;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return m_pOwner->AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return m_pOwner->Release(); }
    STDMETHODIMP GetConnectionInterface(IID* piid) override
    {
        *piid = m_pOwner->m_iidEvents;
        return S_OK;
    }
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** pp) override
    {
        *pp = m_pOwner;
        m_pOwner->AddRef();
        return S_OK;
    }
    STDMETHODIMP Advise(IUnknown* pUnk, DWORD* pdwCookie) override
    {
        IDispatch* pSink = NULL;
        if (pUnk == NULL || pdwCookie == NULL)
            return E_POINTER;
        if (FAILED(pUnk->QueryInterface(m_pOwner->m_iidEvents, reinterpret_cast<void**>(&pSink)))
            && FAILED(pUnk->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&pSink))))
            return CONNECT_E_CANNOTCONNECT;
        for (int i = 0; i < kMaxSinks; i++) {
            if (m_sinks[i] == NULL) {
                m_sinks[i] = pSink;
                *pdwCookie = (DWORD)(i + 1);
                Log("advise " + std::to_string(i + 1));
                return S_OK;
            }
        }
        pSink->Release();
        return CONNECT_E_ADVISELIMIT;
    }
    STDMETHODIMP Unadvise(DWORD dwCookie) override
    {
        if (dwCookie < 1 || dwCookie > (DWORD)kMaxSinks || m_sinks[dwCookie - 1] == NULL)
            return CONNECT_E_NOCONNECTION;
        IDispatch* pSink = m_sinks[dwCookie - 1];
        m_sinks[dwCookie - 1] = NULL;
        pSink->Release();
        Log("unadvise " + std::to_string(dwCookie));
        return S_OK;
    }
    STDMETHODIMP EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }

    void Fire(DISPID id, DISPPARAMS* pParams)
    {
        IDispatch* sinks[kMaxSinks];
        for (int i = 0; i < kMaxSinks; i++) {
            sinks[i] = m_sinks[i];
            if (sinks[i] != NULL)
                sinks[i]->AddRef();
        }
        for (IDispatch* p : sinks) {
            if (p != NULL) {
                p->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, pParams, NULL, NULL, NULL);
                p->Release();
            }
        }
    }

private:
    Control* m_pOwner;
    IDispatch* m_sinks[kMaxSinks];
};

void Log(const std::string& line)
{
    EnterCriticalSection(&g_logLock);
    if (g_pLog != NULL) {
        *g_pLog += line;
        *g_pLog += '\n';
    }
    LeaveCriticalSection(&g_logLock);
}

std::string ToAnsi(const wchar_t* psz, int nLength)
{
    if (psz == NULL || nLength == 0)
        return std::string();
    int n = WideCharToMultiByte(CP_ACP, 0, psz, nLength, NULL, 0, NULL, NULL);
    if (n <= 0)
        return std::string();
    std::string s((size_t)n, '\0');
    WideCharToMultiByte(CP_ACP, 0, psz, nLength, &s[0], n, NULL, NULL);
    if (nLength < 0 && !s.empty() && s.back() == '\0')
        s.pop_back();
    return s;
}

HMODULE Module() { return g_hModule; }

VARIANT* Arg(DISPPARAMS* pParams, UINT nIndex)
{
    if (pParams == NULL || nIndex >= pParams->cArgs)
        return NULL;
    return &pParams->rgvarg[pParams->cArgs - 1 - nIndex];
}

static std::string DescribeOne(const VARIANT& v)
{
    char buf[64];
    switch (v.vt) {
    case VT_I2: snprintf(buf, sizeof(buf), "I2:%d", (int)v.iVal); return buf;
    case VT_I4: snprintf(buf, sizeof(buf), "I4:%ld", (long)v.lVal); return buf;
    case VT_BOOL: return v.boolVal ? "BOOL:1" : "BOOL:0";
    case VT_I8: snprintf(buf, sizeof(buf), "I8:%lld", (long long)v.llVal); return buf;
    case VT_R8: snprintf(buf, sizeof(buf), "R8:%g", v.dblVal); return buf;
    case VT_BSTR: {
        // Line breaks are written as \r and \n: one call, one line.
        std::string text = ToAnsi(v.bstrVal, v.bstrVal ? (int)SysStringLen(v.bstrVal) : 0);
        std::string out = "BSTR:";
        for (char c : text)
            out += c == '\r' ? std::string("\\r") : c == '\n' ? std::string("\\n") : std::string(1, c);
        return out;
    }
    case VT_DISPATCH: return v.pdispVal ? "DISPATCH" : "DISPATCH:null";
    case VT_UNKNOWN: return v.punkVal ? "UNKNOWN" : "UNKNOWN:null";
    case VT_BYREF | VT_I4:
        if (v.plVal == NULL)
            return "PI4:null";
        snprintf(buf, sizeof(buf), "PI4:%ld", (long)*v.plVal);
        return buf;
    case VT_BYREF | VT_I2:
        if (v.piVal == NULL)
            return "PI2:null";
        snprintf(buf, sizeof(buf), "PI2:%d", (int)*v.piVal);
        return buf;
    default: snprintf(buf, sizeof(buf), "VT%u", (unsigned)v.vt); return buf;
    }
}

std::string DescribeArgs(const DISPPARAMS* pParams)
{
    std::string s;
    if (pParams == NULL)
        return s;
    for (UINT i = 0; i < pParams->cArgs; i++) {
        if (i)
            s += ',';
        s += DescribeOne(pParams->rgvarg[pParams->cArgs - 1 - i]);
    }
    return s;
}

Control::Control(const CLSID& clsid, const IID& iidEvents, const IID& iidMain)
    : m_clsid(clsid), m_iidEvents(iidEvents), m_iidMain(iidMain), m_nRef(1), m_pPoint(NULL), m_pSite(NULL), m_pInPlaceSite(NULL),
      m_hWnd(NULL)
{
    m_extent.cx = 5000;
    m_extent.cy = 5000;
    m_pPoint = new Point(this);
    InterlockedIncrement(&g_nObjects);
    g_pLast = this;
}

Control::~Control()
{
    InPlaceDeactivate();
    if (m_pSite != NULL)
        m_pSite->Release();
    delete m_pPoint;
    if (g_pLast == this)
        g_pLast = NULL;
    InterlockedDecrement(&g_nObjects);
}

Control* Control::LastCreated() { return g_pLast; }

void Control::Paint(HDC hdc, const RECT& rect)
{
    FillRect(hdc, &rect, (HBRUSH)GetStockObject(WHITE_BRUSH));
}

void Control::Fire(DISPID id, VARIANT* pArgsFirstToLast, UINT nArgs)
{
    // The event's array holds the last argument first.
    VARIANT args[16];
    if (nArgs > 16)
        nArgs = 16;
    for (UINT i = 0; i < nArgs; i++)
        args[nArgs - 1 - i] = pArgsFirstToLast[i];
    DISPPARAMS params = {nArgs ? args : NULL, NULL, nArgs, 0};
    AddRef();
    m_pPoint->Fire(id, &params);
    Release();
}

void Control::Redraw() const
{
    if (m_hWnd != NULL)
        InvalidateRect(m_hWnd, NULL, TRUE);
}

STDMETHODIMP Control::QueryInterface(REFIID riid, void** ppv)
{
    if (ppv == NULL)
        return E_POINTER;
    *ppv = NULL;
    if (riid == IID_IUnknown || riid == IID_IDispatch)
        *ppv = static_cast<IDispatch*>(this);
    else if (riid == IID_IConnectionPointContainer)
        *ppv = static_cast<IConnectionPointContainer*>(this);
    else if (riid == IID_IOleObject)
        *ppv = static_cast<IOleObject*>(this);
    else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceObject)
        *ppv = static_cast<IOleInPlaceObject*>(this);
    else if (riid == m_iidMain)
        *ppv = static_cast<IDispatch*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) Control::AddRef() { return (ULONG)InterlockedIncrement(&m_nRef); }

STDMETHODIMP_(ULONG) Control::Release()
{
    LONG n = InterlockedDecrement(&m_nRef);
    if (n == 0)
        delete this;
    return (ULONG)n;
}

STDMETHODIMP Control::GetTypeInfoCount(UINT* pn)
{
    *pn = 0;
    return S_OK;
}
STDMETHODIMP Control::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }
STDMETHODIMP Control::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return DISP_E_UNKNOWNNAME; }

STDMETHODIMP Control::Invoke(DISPID id, REFIID, LCID, WORD wFlags, DISPPARAMS* pParams, VARIANT* pResult,
                             EXCEPINFO*, UINT*)
{
    const char* kind = (wFlags & DISPATCH_PROPERTYGET) && !(wFlags & DISPATCH_METHOD) ? "g"
        : (wFlags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) ? "p" : "m";
    Log(std::string(kind) + std::to_string((long)id) + "(" + DescribeArgs(pParams) + ")");
    VARIANT result;
    VariantInit(&result);
    HRESULT hr = Call(id, wFlags, pParams, &result);
    if (pResult != NULL)
        *pResult = result;
    else
        VariantClear(&result);
    return hr;
}

STDMETHODIMP Control::EnumConnectionPoints(IEnumConnectionPoints**) { return E_NOTIMPL; }

STDMETHODIMP Control::FindConnectionPoint(REFIID riid, IConnectionPoint** ppPoint)
{
    *ppPoint = NULL;
    if (riid != m_iidEvents)
        return CONNECT_E_NOCONNECTION;
    *ppPoint = m_pPoint;
    AddRef();
    return S_OK;
}

STDMETHODIMP Control::SetClientSite(IOleClientSite* pSite)
{
    if (pSite != NULL)
        pSite->AddRef();
    if (m_pSite != NULL)
        m_pSite->Release();
    m_pSite = pSite;
    return S_OK;
}

STDMETHODIMP Control::GetClientSite(IOleClientSite** ppSite)
{
    *ppSite = m_pSite;
    if (m_pSite != NULL)
        m_pSite->AddRef();
    return S_OK;
}

STDMETHODIMP Control::SetHostNames(LPCOLESTR, LPCOLESTR) { return S_OK; }
STDMETHODIMP Control::Close(DWORD)
{
    InPlaceDeactivate();
    return S_OK;
}
STDMETHODIMP Control::SetMoniker(DWORD, IMoniker*) { return E_NOTIMPL; }
STDMETHODIMP Control::GetMoniker(DWORD, DWORD, IMoniker**) { return E_NOTIMPL; }
STDMETHODIMP Control::InitFromData(IDataObject*, BOOL, DWORD) { return E_NOTIMPL; }
STDMETHODIMP Control::GetClipboardData(DWORD, IDataObject**) { return E_NOTIMPL; }

STDMETHODIMP Control::DoVerb(LONG iVerb, LPMSG, IOleClientSite* pSite, LONG, HWND hwndParent, LPCRECT prcPos)
{
    if (iVerb != OLEIVERB_INPLACEACTIVATE && iVerb != OLEIVERB_SHOW && iVerb != OLEIVERB_UIACTIVATE
        && iVerb != OLEIVERB_PRIMARY)
        return OLEOBJ_S_INVALIDVERB;
    if (m_hWnd != NULL)
        return S_OK;
    if (pSite == NULL)
        pSite = m_pSite;
    if (pSite == NULL)
        return E_UNEXPECTED;
    if (FAILED(pSite->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&m_pInPlaceSite))))
        return E_NOINTERFACE;
    if (m_pInPlaceSite->CanInPlaceActivate() != S_OK) {
        m_pInPlaceSite->Release();
        m_pInPlaceSite = NULL;
        return E_FAIL;
    }
    m_pInPlaceSite->OnInPlaceActivate();
    HWND hwndHost = NULL;
    m_pInPlaceSite->GetWindow(&hwndHost);
    if (hwndHost == NULL)
        hwndHost = hwndParent;
    RECT rect = {0, 0, 100, 100};
    RECT clip;
    IOleInPlaceFrame* pFrame = NULL;
    IOleInPlaceUIWindow* pDoc = NULL;
    OLEINPLACEFRAMEINFO info;
    memset(&info, 0, sizeof(info));
    info.cb = sizeof(info);
    if (SUCCEEDED(m_pInPlaceSite->GetWindowContext(&pFrame, &pDoc, &rect, &clip, &info))) {
        if (pFrame != NULL)
            pFrame->Release();
        if (pDoc != NULL)
            pDoc->Release();
    }
    if (prcPos != NULL)
        rect = *prcPos;
    m_hWnd = CreateWindowExW(0, g_szWndClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, rect.left, rect.top,
                             rect.right - rect.left, rect.bottom - rect.top, hwndHost, NULL, g_hModule, this);
    pSite->ShowObject();
    return m_hWnd != NULL ? S_OK : E_FAIL;
}

STDMETHODIMP Control::EnumVerbs(IEnumOLEVERB**) { return OLEOBJ_E_NOVERBS; }
STDMETHODIMP Control::Update() { return S_OK; }
STDMETHODIMP Control::IsUpToDate() { return S_OK; }
STDMETHODIMP Control::GetUserClassID(CLSID* pClsid)
{
    *pClsid = m_clsid;
    return S_OK;
}
STDMETHODIMP Control::GetUserType(DWORD, LPOLESTR*) { return OLE_S_USEREG; }
STDMETHODIMP Control::SetExtent(DWORD, SIZEL* pSize)
{
    m_extent = *pSize;
    return S_OK;
}
STDMETHODIMP Control::GetExtent(DWORD, SIZEL* pSize)
{
    *pSize = m_extent;
    return S_OK;
}
STDMETHODIMP Control::Advise(IAdviseSink*, DWORD*) { return E_NOTIMPL; }
STDMETHODIMP Control::Unadvise(DWORD) { return E_NOTIMPL; }
STDMETHODIMP Control::EnumAdvise(IEnumSTATDATA**) { return E_NOTIMPL; }
STDMETHODIMP Control::GetMiscStatus(DWORD, DWORD* pStatus)
{
    *pStatus = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_INSIDEOUT
        | OLEMISC_RECOMPOSEONRESIZE;
    return S_OK;
}
STDMETHODIMP Control::SetColorScheme(LOGPALETTE*) { return E_NOTIMPL; }

STDMETHODIMP Control::GetWindow(HWND* phwnd)
{
    *phwnd = m_hWnd;
    return m_hWnd != NULL ? S_OK : E_FAIL;
}
STDMETHODIMP Control::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

STDMETHODIMP Control::InPlaceDeactivate()
{
    if (m_hWnd != NULL) {
        HWND hWnd = m_hWnd;
        m_hWnd = NULL;
        SetWindowLongPtrW(hWnd, GWLP_USERDATA, 0);
        DestroyWindow(hWnd);
    }
    if (m_pInPlaceSite != NULL) {
        IOleInPlaceSite* pSite = m_pInPlaceSite;
        m_pInPlaceSite = NULL;
        pSite->OnInPlaceDeactivate();
        pSite->Release();
    }
    return S_OK;
}

STDMETHODIMP Control::UIDeactivate() { return S_OK; }

STDMETHODIMP Control::SetObjectRects(LPCRECT prcPos, LPCRECT)
{
    if (m_hWnd != NULL && prcPos != NULL)
        MoveWindow(m_hWnd, prcPos->left, prcPos->top, prcPos->right - prcPos->left, prcPos->bottom - prcPos->top,
                   TRUE);
    return S_OK;
}

STDMETHODIMP Control::ReactivateAndUndo() { return E_NOTIMPL; }

LRESULT CALLBACK Control::WndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    Control* pThis = reinterpret_cast<Control*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    switch (nMsg) {
    case WM_NCCREATE:
        SetWindowLongPtrW(hWnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        break;
    case WM_ERASEBKGND:
        return 1;
    case WM_PRINTCLIENT:
        if (pThis != NULL) {
            RECT rect;
            GetClientRect(hWnd, &rect);
            pThis->Paint(reinterpret_cast<HDC>(wParam), rect);
        }
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC hdc = BeginPaint(hWnd, &ps);
        RECT rect;
        GetClientRect(hWnd, &rect);
        if (pThis != NULL)
            pThis->Paint(hdc, rect);
        EndPaint(hWnd, &ps);
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcW(hWnd, nMsg, wParam, lParam);
}

namespace {

class Factory : public IClassFactory
{
public:
    explicit Factory(const ClassEntry* pEntry) : m_pEntry(pEntry) {}
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *ppv = this;
            AddRef();
            return S_OK;
        }
        *ppv = NULL;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override
    {
        InterlockedIncrement(&g_nLocks);
        return 2;
    }
    STDMETHODIMP_(ULONG) Release() override
    {
        InterlockedDecrement(&g_nLocks);
        return 1;
    }
    STDMETHODIMP CreateInstance(IUnknown* pOuter, REFIID riid, void** ppv) override
    {
        *ppv = NULL;
        if (pOuter != NULL)
            return CLASS_E_NOAGGREGATION;
        Control* pControl = m_pEntry->pfnCreate();
        if (pControl == NULL)
            return E_OUTOFMEMORY;
        HRESULT hr = pControl->QueryInterface(riid, ppv);
        pControl->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL bLock) override
    {
        if (bLock)
            InterlockedIncrement(&g_nLocks);
        else
            InterlockedDecrement(&g_nLocks);
        return S_OK;
    }

private:
    const ClassEntry* m_pEntry;
};

bool SetKey(const std::wstring& key, const wchar_t* pszName, const std::wstring& value)
{
    HKEY hKey;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, NULL, 0, KEY_WRITE, NULL, &hKey, NULL) != ERROR_SUCCESS)
        return false;
    LONG err = RegSetValueExW(hKey, pszName, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                              (DWORD)((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(hKey);
    return err == ERROR_SUCCESS;
}

std::wstring ClsidText(const CLSID& clsid)
{
    wchar_t sz[64];
    StringFromGUID2(clsid, sz, 64);
    return sz;
}

} // namespace

} // namespace StandIn

using namespace StandIn;

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID)
{
    if (dwReason == DLL_PROCESS_ATTACH) {
        g_hModule = hInstance;
        DisableThreadLibraryCalls(hInstance);
        InitializeCriticalSection(&g_logLock);
        g_pLog = new std::string;
        // One window class per module, so two stand-ins live side by side.
        swprintf(g_szWndClass, 64, L"StandInControl%p", (void*)hInstance);
        WNDCLASSW wc;
        memset(&wc, 0, sizeof(wc));
        wc.lpfnWndProc = Control::WndProc;
        wc.hInstance = hInstance;
        wc.lpszClassName = g_szWndClass;
        wc.hCursor = LoadCursor(NULL, IDC_ARROW);
        RegisterClassW(&wc);
    } else if (dwReason == DLL_PROCESS_DETACH) {
        UnregisterClassW(g_szWndClass, hInstance);
    }
    return TRUE;
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv)
{
    static Factory* s_factories[8] = {};
    *ppv = NULL;
    for (int i = 0; i < g_nClasses && i < 8; i++) {
        if (clsid == *g_classes[i].pClsid) {
            if (s_factories[i] == NULL)
                s_factories[i] = new Factory(&g_classes[i]);
            return s_factories[i]->QueryInterface(riid, ppv);
        }
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

extern "C" HRESULT WINAPI DllCanUnloadNow() { return (g_nObjects == 0 && g_nLocks == 0) ? S_OK : S_FALSE; }

extern "C" HRESULT WINAPI DllRegisterServer()
{
    wchar_t szPath[MAX_PATH];
    GetModuleFileNameW(g_hModule, szPath, MAX_PATH);
    for (int i = 0; i < g_nClasses; i++) {
        const ClassEntry& e = g_classes[i];
        std::wstring clsid = ClsidText(*e.pClsid);
        std::wstring key = L"CLSID\\" + clsid;
        std::wstring progId = e.pszProgId;
        bool ok = SetKey(key, NULL, e.pszName) && SetKey(key + L"\\InprocServer32", NULL, szPath)
            && SetKey(key + L"\\InprocServer32", L"ThreadingModel", L"Apartment")
            && SetKey(key + L"\\ProgID", NULL, progId + L".1")
            && SetKey(key + L"\\VersionIndependentProgID", NULL, progId)
            && SetKey(progId + L".1\\CLSID", NULL, clsid) && SetKey(progId + L"\\CLSID", NULL, clsid)
            && SetKey(progId + L"\\CurVer", NULL, progId + L".1");
        if (!ok)
            return SELFREG_E_CLASS;
    }
    return S_OK;
}

extern "C" HRESULT WINAPI DllUnregisterServer()
{
    for (int i = 0; i < g_nClasses; i++) {
        const ClassEntry& e = g_classes[i];
        RegDeleteTreeW(HKEY_CLASSES_ROOT, (L"CLSID\\" + ClsidText(*e.pClsid)).c_str());
        RegDeleteTreeW(HKEY_CLASSES_ROOT, (std::wstring(e.pszProgId) + L".1").c_str());
        RegDeleteTreeW(HKEY_CLASSES_ROOT, e.pszProgId);
    }
    return S_OK;
}

// The call log: copies at most cap - 1 bytes and a terminator; returns the
// log's whole length.
extern "C" int WINAPI StandInReadLog(char* pBuffer, int nCapacity)
{
    EnterCriticalSection(&g_logLock);
    int nLength = (int)g_pLog->size();
    if (pBuffer != NULL && nCapacity > 0) {
        int n = nLength < nCapacity - 1 ? nLength : nCapacity - 1;
        memcpy(pBuffer, g_pLog->data(), (size_t)n);
        pBuffer[n] = '\0';
    }
    LeaveCriticalSection(&g_logLock);
    return nLength;
}

extern "C" void WINAPI StandInClearLog()
{
    EnterCriticalSection(&g_logLock);
    g_pLog->clear();
    LeaveCriticalSection(&g_logLock);
}

// Fires an event of the newest live control of the module (arguments first
// to last); FALSE when there is none.
extern "C" BOOL WINAPI StandInFireEvent(DISPID id, VARIANT* pArgs, UINT nArgs)
{
    Control* pControl = Control::LastCreated();
    if (pControl == NULL)
        return FALSE;
    pControl->Fire(id, pArgs, nArgs);
    return TRUE;
}
