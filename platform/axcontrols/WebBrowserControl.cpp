// Stand-in of the system's web browser control for the notice popup: there
// is no HTML engine here, so it keeps the address it was sent to (Navigate,
// method 104), answers it as its location (property 211) and shows it as
// text; "about:blank" shows an empty page.
//
// It answers to its own class id (CLSID_QVWebBrowser, for registration);
// tests serve it under the web browser's class id in their own process
// (CStandInServer::ServeAs), so the program creates it as it creates the
// real browser.
#include "StandIn.h"
#include "AxControls.h"

#include <exdisp.h>

#include <string>

namespace {

class WebBrowserControl : public StandIn::Control
{
public:
    WebBrowserControl() : Control(CLSID_QVWebBrowser, DIID_DWebBrowserEvents2) {}

    HRESULT Call(DISPID id, WORD wFlags, DISPPARAMS* pParams, VARIANT* pResult) override
    {
        switch (id) {
        case QVWEB_NAVIGATE: {
            VARIANT* pAddress = StandIn::Arg(pParams, 0);
            if (pAddress == NULL || pAddress->vt != VT_BSTR)
                return DISP_E_TYPEMISMATCH;
            m_address = StandIn::ToAnsi(pAddress->bstrVal, pAddress->bstrVal ? (int)SysStringLen(pAddress->bstrVal) : 0);
            Redraw();
            return S_OK;
        }
        case QVWEB_LOCATIONURL: {
            if ((wFlags & DISPATCH_PROPERTYGET) == 0 || pResult == NULL)
                return DISP_E_MEMBERNOTFOUND;
            const int n = MultiByteToWideChar(CP_ACP, 0, m_address.data(), (int)m_address.size(), NULL, 0);
            pResult->vt = VT_BSTR;
            pResult->bstrVal = SysAllocStringLen(NULL, (UINT)n);
            if (n > 0)
                MultiByteToWideChar(CP_ACP, 0, m_address.data(), (int)m_address.size(), pResult->bstrVal, n);
            return S_OK;
        }
        default:
            return DISP_E_MEMBERNOTFOUND;
        }
    }

    void Paint(HDC hdc, const RECT& rect) override
    {
        FillRect(hdc, &rect, (HBRUSH)GetStockObject(WHITE_BRUSH));
        if (m_address.empty() || m_address == "about:blank")
            return;
        HGDIOBJ hOld = SelectObject(hdc, GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(hdc, TRANSPARENT);
        SetTextColor(hdc, RGB(0, 0, 160));
        RECT text = {rect.left + 8, rect.top + 8, rect.right - 8, rect.bottom - 8};
        const std::string shown = "web page: " + m_address;
        DrawTextA(hdc, shown.c_str(), (int)shown.size(), &text, DT_WORDBREAK | DT_NOPREFIX);
        SelectObject(hdc, hOld);
    }

private:
    std::string m_address;
};

StandIn::Control* CreateBrowser() { return new WebBrowserControl; }

} // namespace

const StandIn::ClassEntry StandIn::g_classes[] = {
    {&CLSID_QVWebBrowser, L"QVWebBrowser.Browser", L"Notice browser stand-in", CreateBrowser},
};
const int StandIn::g_nClasses = 1;
