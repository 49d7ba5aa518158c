// Stand-in of the advert control (QVAdCtrl.ocx): there is no HTML engine
// here, so it shows the text of a local page (method 9) with its tags taken
// out, or the address of a remote page (method 13). Method 2 answers its
// owner window (method 5), or else the window that holds it.
#include "StandIn.h"
#include "AxControls.h"

#include <cstdio>
#include <string>

namespace {

const size_t kMaxPageBytes = 64 * 1024;

std::string PageText(const std::string& path)
{
    FILE* f = fopen(path.c_str(), "rb");
    if (f == NULL)
        return "(page not found: " + path + ")";
    std::string raw(kMaxPageBytes, '\0');
    raw.resize(fread(&raw[0], 1, kMaxPageBytes, f));
    fclose(f);
    std::string text;
    bool bTag = false;
    for (char c : raw) {
        if (c == '<')
            bTag = true;
        else if (c == '>')
            bTag = false;
        else if (!bTag && c != '\r')
            text += c;
    }
    return text;
}

class AdvertControl : public StandIn::Control
{
public:
    AdvertControl() : Control(CLSID_QVAdCtrl, DIID_QVControlEvents) {}

    HRESULT Call(DISPID id, WORD, DISPPARAMS* pParams, VARIANT* pResult) override
    {
        switch (id) {
        case 2: {
            // The owner it was given (method 5), else the window that holds
            // its site.
            HWND hHost = NULL;
            if (GetControlWindow() != NULL && GetParent(GetControlWindow()) != NULL)
                hHost = GetParent(GetParent(GetControlWindow()));
            pResult->vt = VT_I4;
            pResult->lVal = m_nOwner != 0 ? m_nOwner : (LONG)(LONG_PTR)hHost;
            return S_OK;
        }
        case 5: {
            VARIANT* pOwner = StandIn::Arg(pParams, 0);
            if (pOwner != NULL && pOwner->vt == VT_I4)
                m_nOwner = pOwner->lVal;
            return S_OK;
        }
        case 4:
            pResult->vt = VT_I4;
            pResult->lVal = 4;
            return S_OK;
        case 9: {
            VARIANT* pPage = StandIn::Arg(pParams, 1);
            if (pPage != NULL && pPage->vt == VT_BSTR && pPage->bstrVal != NULL && SysStringLen(pPage->bstrVal) != 0) {
                m_text = PageText(StandIn::ToAnsi(pPage->bstrVal, (int)SysStringLen(pPage->bstrVal)));
                Redraw();
            }
            return S_OK;
        }
        case 13: {
            VARIANT* pAddress = StandIn::Arg(pParams, 2);
            if (pAddress != NULL && pAddress->vt == VT_BSTR) {
                m_text = "remote page: " + StandIn::ToAnsi(pAddress->bstrVal, (int)SysStringLen(pAddress->bstrVal));
                Redraw();
            }
            return S_OK;
        }
        case 1: case 3: case 6: case 10: case 11: case 12:
            return S_OK;
        default:
            return DISP_E_MEMBERNOTFOUND;
        }
    }

    void Paint(HDC hdc, const RECT& rect) override
    {
        HBRUSH hBack = CreateSolidBrush(RGB(255, 248, 210));
        FillRect(hdc, &rect, hBack);
        DeleteObject(hBack);
        FrameRect(hdc, &rect, (HBRUSH)GetStockObject(GRAY_BRUSH));
        HGDIOBJ hOld = SelectObject(hdc, GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(hdc, TRANSPARENT);
        SetTextColor(hdc, RGB(120, 60, 0));
        RECT text = {rect.left + 4, rect.top + 4, rect.right - 4, rect.bottom - 4};
        const std::string& shown = m_text.empty() ? std::string("QVAdCtrl 2.2.0.0") : m_text;
        DrawTextA(hdc, shown.c_str(), (int)shown.size(), &text, DT_WORDBREAK | DT_NOPREFIX);
        SelectObject(hdc, hOld);
    }

private:
    std::string m_text;
    LONG m_nOwner = 0;
};

StandIn::Control* CreateAdvert() { return new AdvertControl; }

} // namespace

const StandIn::ClassEntry StandIn::g_classes[] = {
    {&CLSID_QVAdCtrl, L"QVAdCtrl.AdCtrl", L"Advert control", CreateAdvert},
};
const int StandIn::g_nClasses = 1;
