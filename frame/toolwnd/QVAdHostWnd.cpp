// The tool area and its component.
#include "QVAdHostWnd.h"

#include "AxControls.h"
#include "ImageCache.h"
#include "ImageObj.h"
#include "store/QVIniFile.h"

#include <cstring>

namespace {

void DefaultBox(LPCSTR lpszText)
{
    ::MessageBoxA(NULL, lpszText, "", MB_OK);
}

CQVAdHostWnd::BoxRoutine g_pfnBox = DefaultBox;

} // namespace

const char* const CQVAdHostWnd::kPictureKeys[kPictureCount] = {
    "toolbkp_lt", "toolbkp_top", "toolbkp_rt", "toolbkp_right", "toolbkp_rb",
    "toolbkp_bottom", "toolbkp_lb", "toolbkp_left", "toolbkp_ct"};

CQVAdHostWnd::BoxRoutine CQVAdHostWnd::SetBoxRoutine(BoxRoutine pfnBox)
{
    BoxRoutine old = g_pfnBox;
    g_pfnBox = pfnBox != NULL ? pfnBox : DefaultBox;
    return old;
}

// The event sink: a dispatch object for the component's event interface that
// hands every event to its window.
class CToolEventSink : public IDispatch
{
public:
    explicit CToolEventSink(CQVAdHostWnd* pOwner) : m_nRef(1), m_pOwner(pOwner) {}
    void Detach() { m_pOwner = NULL; }

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == DIID_QVToolBarEvents) {
            *ppv = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = NULL;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return (ULONG)::InterlockedIncrement(&m_nRef); }
    STDMETHODIMP_(ULONG) Release() override
    {
        LONG n = ::InterlockedDecrement(&m_nRef);
        if (n == 0)
            delete this;
        return (ULONG)n;
    }
    STDMETHODIMP GetTypeInfoCount(UINT* pn) override
    {
        *pn = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return DISP_E_UNKNOWNNAME; }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* pParams, VARIANT* pResult, EXCEPINFO*,
                        UINT*) override
    {
        int nResult = m_pOwner != NULL ? m_pOwner->OnComponentEvent(id, pParams) : 0;
        if (pResult != NULL) {
            ::VariantInit(pResult);
            pResult->vt = VT_I4;
            pResult->lVal = nResult;
        }
        return S_OK;
    }

private:
    virtual ~CToolEventSink() = default;
    LONG m_nRef;
    CQVAdHostWnd* m_pOwner;
};

// The component's calls by dispatch id.
class CQVAdHostWnd::Component : public toolwnd::IToolComponent
{
public:
    explicit Component(IDispatch* pDispatch) : m_pDispatch(pDispatch) {}
    void PlaceObject(uint32_t id, uint64_t hwndOwner, int x, int y, int cx, int cy) override
    {
        AfxDispatchInvoke(m_pDispatch, QVTOOL_PLACEOBJECT, DISPATCH_METHOD, VT_EMPTY, NULL,
                          (const BYTE*)(VTS_I4 VTS_I4 VTS_I4 VTS_I4 VTS_I4 VTS_I4), (long)id,
                          (long)(uint32_t)hwndOwner, (long)x, (long)y, (long)cx, (long)cy);
    }
    void ShowObject(uint32_t id, bool bShow) override
    {
        AfxDispatchInvoke(m_pDispatch, QVTOOL_SHOWOBJECT, DISPATCH_METHOD, VT_EMPTY, NULL,
                          (const BYTE*)(VTS_I4 VTS_I4), (long)id, bShow ? 1L : 0L);
    }

private:
    IDispatch* m_pDispatch;
};

BEGIN_MESSAGE_MAP(CQVAdHostWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_SYSCOMMAND()
END_MESSAGE_MAP()

CQVAdHostWnd::CQVAdHostWnd()
    : m_pComponent(NULL), m_crBack(0), m_nMode(toolwnd::kModeFrame), m_bStarted(FALSE), m_pSink(NULL),
      m_dwCookie(0), m_nToolX(0), m_nToolY(0), m_pFrame(NULL), m_pServices(NULL)
{
    memset(m_pPictures, 0, sizeof(m_pPictures));
}

CQVAdHostWnd::~CQVAdHostWnd()
{
    DetachSink();
    if (m_pComponent != NULL)
        m_pComponent->Release();
    m_pComponent = NULL;
}

void CQVAdHostWnd::DetachSink()
{
    if (m_pSink == NULL)
        return;
    if (m_dwCookie != 0
        && !AfxConnectionUnadvise(m_pComponent, DIID_QVToolBarEvents, m_pSink, TRUE, m_dwCookie))
        g_pfnBox("连接点释放失败");
    m_dwCookie = 0;
    m_pSink->Detach();
    m_pSink->Release();
    m_pSink = NULL;
}

void CQVAdHostWnd::LoadToolSkin(LPCSTR lpszMode, CQVIniFile* pIni, LPCSTR lpszSection, CImageCache* pCache)
{
    uint32_t colour = m_crBack;
    m_nMode = toolwnd::ParseBackgroundMode(lpszMode, &colour);
    m_crBack = (COLORREF)colour;
    if (m_nMode <= toolwnd::kModeColour || pIni == NULL || pCache == NULL || lpszSection == NULL)
        return;
    for (int i = 0; i < kPictureCount; i++) {
        char szName[260] = "";
        pIni->GetString(lpszSection, kPictureKeys[i], "", szName, (int)sizeof(szName));
        szName[sizeof(szName) - 1] = '\0';
        m_pPictures[i] = szName[0] != '\0' ? pCache->FindOrLoad(szName) : NULL;
    }
}

int CQVAdHostWnd::Start()
{
    if (m_bStarted)
        return 1;
    DetachSink();
    if (m_pComponent != NULL) {
        m_pComponent->Release();
        m_pComponent = NULL;
    }
    AfxOleInitThread();
    IUnknown* pUnknown = NULL;
    if (SUCCEEDED(::CoCreateInstance(CLSID_QVToolBar, NULL, CLSCTX_ALL, IID_IUnknown,
                                     reinterpret_cast<void**>(&pUnknown))) && pUnknown != NULL) {
        if (SUCCEEDED(::OleRun(pUnknown))
            && FAILED(pUnknown->QueryInterface(IID_IQVToolBar, reinterpret_cast<void**>(&m_pComponent))))
            m_pComponent = NULL;
        pUnknown->Release();
    }
    if (m_pComponent == NULL)
        return 0;

    m_pSink = new CToolEventSink(this);
    IConnectionPointContainer* pContainer = NULL;
    if (FAILED(m_pComponent->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&pContainer)))) {
        g_pfnBox("连接失败2");
    } else {
        pContainer->Release();
        if (!AfxConnectionAdvise(m_pComponent, DIID_QVToolBarEvents, m_pSink, TRUE, &m_dwCookie))
            g_pfnBox("连接失败3");
    }

    long nValue6 = 0;
    AfxDispatchInvoke(m_pComponent, QVTOOL_VALUE6, DISPATCH_PROPERTYGET, VT_I4, &nValue6, NULL);
    CWnd* pMain = AfxGetMainWnd();
    if (nValue6 != 0 && pMain != NULL && pMain->GetSafeHwnd() != NULL)
        AfxDispatchInvoke(m_pComponent, QVTOOL_MODE, DISPATCH_METHOD, VT_EMPTY, NULL, (const BYTE*)VTS_I4, 3L);
    if (m_pServices != NULL) {
        int nCount = m_pServices->GetStartupSettingCount();
        for (int i = 0; i < nCount; i++) {
            CString name;
            long nSetting = 0;
            m_pServices->GetStartupSetting(i, name, nSetting);
            AfxDispatchInvoke(m_pComponent, QVTOOL_CONFIGURE, DISPATCH_METHOD, VT_EMPTY, NULL,
                              (const BYTE*)(VTS_BSTR VTS_I4), (LPCSTR)name, nSetting);
        }
    }
    AfxDispatchInvoke(m_pComponent, QVTOOL_START, DISPATCH_METHOD, VT_EMPTY, NULL, (const BYTE*)VTS_NONE);
    if (GetSafeHwnd() != NULL) {
        CRect rect;
        GetWindowRect(&rect);
        if (GetParent() != NULL)
            GetParent()->ScreenToClient(&rect);
        m_nToolX = rect.left;
        m_nToolY = rect.top;
        GetClientRect(&rect);
        if (toolwnd::ResizesComponent(rect.Width(), rect.Height()))
            AfxDispatchInvoke(m_pComponent, QVTOOL_PLACE, DISPATCH_METHOD, VT_EMPTY, NULL,
                              (const BYTE*)(VTS_I4 VTS_I4 VTS_I4 VTS_I4), 0L, 0L, (long)rect.Width(),
                              (long)rect.Height());
    }
    m_bStarted = TRUE;
    return 1;
}

BOOL CQVAdHostWnd::PutValue(long nValue)
{
    return AfxDispatchInvoke(m_pComponent, QVTOOL_PUTVALUE, DISPATCH_METHOD, VT_EMPTY, NULL, (const BYTE*)VTS_I4,
                             nValue);
}

BOOL CQVAdHostWnd::Invoke(long nValue)
{
    return AfxDispatchInvoke(m_pComponent, QVTOOL_INVOKE, DISPATCH_METHOD, VT_EMPTY, NULL,
                             (const BYTE*)(VTS_I4 VTS_I4), nValue, 0L);
}

namespace {

// The argument at a position from the first, converted; false when missing
// or not convertible.
bool ArgAs(const DISPPARAMS* pParams, UINT nIndex, VARTYPE vt, VARIANT* pOut)
{
    ::VariantInit(pOut);
    if (pParams == NULL || nIndex >= pParams->cArgs)
        return false;
    VARIANT* pArg = &pParams->rgvarg[pParams->cArgs - 1 - nIndex];
    return SUCCEEDED(::VariantChangeType(pOut, pArg, 0, vt));
}

} // namespace

int CQVAdHostWnd::OnComponentEvent(DISPID nEvent, const DISPPARAMS* pParams)
{
    VARIANT v[6];
    switch (nEvent) {
    case 1: {
        // (identifier, number, mode, target, unused, value), all six present
        // and of their types.
        if (m_pComponent == NULL || m_pFrame == NULL || pParams == NULL || pParams->cArgs < 6)
            return 0;
        if (!ArgAs(pParams, 0, VT_UI4, &v[0]) || !ArgAs(pParams, 1, VT_R8, &v[1]) || !ArgAs(pParams, 2, VT_I4, &v[2])
            || !ArgAs(pParams, 3, VT_I4, &v[3]) || !ArgAs(pParams, 5, VT_I4, &v[5]))
            return 0;
        toolwnd::ToolCommand command = {(uint32_t)v[0].ulVal, v[1].dblVal, (int)v[2].lVal, (int)v[3].lVal,
                                        (int)v[5].lVal};
        Component component(m_pComponent);
        return toolwnd::HandleToolCommand(command, *m_pFrame, component);
    }
    case 2:
        if (!ArgAs(pParams, 0, VT_UI4, &v[0]))
            return 0;
        if (m_pServices != NULL)
            m_pServices->SendGameMessage((uint32_t)v[0].ulVal);
        return 1;
    case 4: {
        if (!ArgAs(pParams, 0, VT_BSTR, &v[0]))
            return 0;
        CString text(v[0].bstrVal, v[0].bstrVal != NULL ? (int)::SysStringLen(v[0].bstrVal) : 0);
        ::VariantClear(&v[0]);
        if (m_pServices != NULL)
            m_pServices->ChatText(text);
        return 1;
    }
    case 5:
        if (!ArgAs(pParams, 0, VT_I4, &v[0]) || !ArgAs(pParams, 1, VT_I4, &v[1]))
            return 0;
        toolwnd::MovePosition(&m_nToolX, &m_nToolY, (int)v[0].lVal, (int)v[1].lVal);
        AfxDispatchInvoke(m_pComponent, QVTOOL_SETPOSITION, DISPATCH_METHOD, VT_EMPTY, NULL,
                          (const BYTE*)(VTS_I4 VTS_I4), (long)m_nToolX, (long)m_nToolY);
        return 1;
    default:
        return 0;                             // 3, 6 and unknown events: nothing
    }
}

int CQVAdHostWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    return CWnd::OnCreate(lpCreateStruct);
}

void CQVAdHostWnd::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (m_pComponent != NULL && toolwnd::ResizesComponent(cx, cy))
        AfxDispatchInvoke(m_pComponent, QVTOOL_PLACE, DISPATCH_METHOD, VT_EMPTY, NULL,
                          (const BYTE*)(VTS_I4 VTS_I4 VTS_I4 VTS_I4), 0L, 0L, (long)cx, (long)cy);
}

BOOL CQVAdHostWnd::OnEraseBkgnd(CDC*)
{
    return TRUE;                              // all drawn in OnPaint
}

void CQVAdHostWnd::OnPaint()
{
    CPaintDC dc(this);
    CRect rect;
    GetClientRect(&rect);
    Paint(&dc, rect);
}

void CQVAdHostWnd::Paint(CDC* pDC, const CRect& rect)
{
    CImageObj* pCentre = m_pPictures[kCentrePicture];
    switch (m_nMode) {
    case toolwnd::kModeColour:
        pDC->FillSolidRect(&rect, m_crBack);
        return;
    case toolwnd::kModeStretch:
        if (pCentre != NULL)
            pCentre->StretchToDC(pDC->GetSafeHdc(), &rect, NULL);
        return;
    case toolwnd::kModeCentre:
    case toolwnd::kModeFit: {
        if (pCentre == NULL)
            return;
        toolwnd::CentreCut cut = toolwnd::CentrePicture(pCentre->GetWidth(), pCentre->GetHeight(), rect.Width(),
                                                        rect.Height());
        if (cut.fits) {
            RECT source = {cut.srcX, cut.srcY, cut.srcX + rect.Width(), cut.srcY + rect.Height()};
            pCentre->StretchToDC(pDC->GetSafeHdc(), &rect, &source);
        } else if (m_nMode == toolwnd::kModeFit) {
            pCentre->StretchToDC(pDC->GetSafeHdc(), &rect, NULL);
        }
        return;
    }
    default: {
        if (m_pServices == NULL || GetParent() == NULL)
            return;
        CRect inFrame;
        GetWindowRect(&inFrame);
        GetParent()->ScreenToClient(&inFrame);
        m_pServices->DrawFrameBackground(pDC, inFrame);
        return;
    }
    }
}

void CQVAdHostWnd::OnSysCommand(UINT nID, LPARAM lParam)
{
    CWnd* pParent = GetParent();
    if (pParent != NULL)
        pParent->PostMessage(WM_SYSCOMMAND, nID, lParam);
}
