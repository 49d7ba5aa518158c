// Stand-in of the chat control (QVChatEx.dll): keeps every property it is
// given, answers each method with a result of the method's type, and shows
// the lines appended to it (methods 75 and 52) below a header naming its
// version.
#include "StandIn.h"
#include "AxControls.h"

#include <deque>
#include <map>

namespace {

enum PropertyKind { kLong, kBool, kText, kShort, kDispatch, kNone };

PropertyKind KindOfProperty(DISPID id)
{
    if ((id >= 1 && id <= 14) || id == 16 || id == 17 || id == 34)
        return kLong;
    if (id == 15)
        return kBool;
    if (id == 18 || id == 20 || id == 31 || id == 32)
        return kText;
    if (id == 19 || id == DISPID_BORDERSTYLE || id == DISPID_APPEARANCE)
        return kShort;
    if ((id >= 21 && id <= 30) || id == 33)
        return kDispatch;
    return kNone;
}

enum ResultKind { rNone, rBool, rLong };

ResultKind KindOfResult(DISPID id)
{
    switch (id) {
    case 35: case 40: case 45: case 46: case 47: case 48: case 49: case 50: case 51: case 56: case 61: case 62:
    case 63: case 65: case 67: case 68: case 69: case 72: case 88:
        return rBool;
    case 44: case 64: case 66: case 71: case 73:
        return rLong;
    default:
        return rNone;
    }
}

// Drops the rich-text tags ("<...>") and line breaks of an appended line.
std::string PlainText(const std::string& s)
{
    std::string out;
    bool bTag = false;
    for (char c : s) {
        if (c == '<')
            bTag = true;
        else if (c == '>' && bTag)
            bTag = false;
        else if (!bTag && c != '\r' && c != '\n')
            out += c;
    }
    return out;
}

class ChatControl : public StandIn::Control
{
public:
    ChatControl() : Control(CLSID_QVChatEx, DIID_QVControlEvents) {}
    ~ChatControl() override
    {
        for (auto& p : m_properties)
            VariantClear(&p.second);
    }

    HRESULT Call(DISPID id, WORD wFlags, DISPPARAMS* pParams, VARIANT* pResult) override
    {
        PropertyKind prop = KindOfProperty(id);
        if (prop != kNone && !(wFlags & DISPATCH_METHOD))
            return Property(id, prop, wFlags, pParams, pResult);
        if (id == DISPID_ABOUTBOX)
            return S_OK;
        if (id < 35 || id > 89)
            return DISP_E_MEMBERNOTFOUND;
        // Pointer arguments get a value the caller can recognise.
        for (UINT i = 0; i < pParams->cArgs; i++) {
            VARIANT& v = pParams->rgvarg[i];
            if (v.vt == (VT_BYREF | VT_I4) && v.plVal != NULL)
                *v.plVal = id * 100;
        }
        if (id == 75 || id == 52) {
            VARIANT* pText = StandIn::Arg(pParams, id == 75 ? 0 : 1);
            if (pText != NULL && pText->vt == VT_BSTR) {
                m_lines.push_back(PlainText(StandIn::ToAnsi(pText->bstrVal,
                                                             (int)SysStringLen(pText->bstrVal))));
                if (m_lines.size() > 200)
                    m_lines.pop_front();
                Redraw();
            }
        }
        switch (KindOfResult(id)) {
        case rBool:
            pResult->vt = VT_BOOL;
            pResult->boolVal = VARIANT_TRUE;
            break;
        case rLong: {
            // The text methods answer their number plus 1000, the others
            // their id times 1000 plus 7.
            VARIANT* pNumber = StandIn::Arg(pParams, 1);
            pResult->vt = VT_I4;
            pResult->lVal = (pNumber != NULL && pNumber->vt == VT_I4) ? pNumber->lVal + 1000 : id * 1000 + 7;
            break;
        }
        default:
            break;
        }
        return S_OK;
    }

    void Paint(HDC hdc, const RECT& rect) override
    {
        FillRect(hdc, &rect, (HBRUSH)GetStockObject(WHITE_BRUSH));
        HFONT hFont = (HFONT)GetStockObject(DEFAULT_GUI_FONT);
        HGDIOBJ hOld = SelectObject(hdc, hFont);
        SetBkMode(hdc, TRANSPARENT);
        TEXTMETRICA tm;
        GetTextMetricsA(hdc, &tm);
        int nLine = tm.tmHeight + 2;
        RECT header = {rect.left, rect.top, rect.right, rect.top + nLine + 4};
        HBRUSH hHeader = CreateSolidBrush(RGB(40, 90, 160));
        FillRect(hdc, &header, hHeader);
        DeleteObject(hHeader);
        SetTextColor(hdc, RGB(255, 255, 255));
        std::string title = "QVChatEx " + Version();
        TextOutA(hdc, rect.left + 4, rect.top + 2, title.c_str(), (int)title.size());
        SetTextColor(hdc, RGB(0, 0, 0));
        int y = rect.bottom - nLine;
        for (auto it = m_lines.rbegin(); it != m_lines.rend() && y > header.bottom; ++it, y -= nLine)
            TextOutA(hdc, rect.left + 4, y, it->c_str(), (int)it->size());
        SelectObject(hdc, hOld);
        FrameRect(hdc, &rect, (HBRUSH)GetStockObject(GRAY_BRUSH));
    }

private:
    HRESULT Property(DISPID id, PropertyKind kind, WORD wFlags, DISPPARAMS* pParams, VARIANT* pResult)
    {
        static const VARTYPE types[] = {VT_I4, VT_BOOL, VT_BSTR, VT_I2, VT_DISPATCH};
        VARTYPE vt = types[kind];
        if (wFlags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
            VARIANT* pValue = StandIn::Arg(pParams, 0);
            if (pValue == NULL || pParams->cNamedArgs != 1 || pParams->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
                return DISP_E_PARAMNOTOPTIONAL;
            VARIANT copy;
            VariantInit(&copy);
            if (FAILED(VariantChangeType(&copy, pValue, 0, vt)))
                return DISP_E_TYPEMISMATCH;
            VariantClear(&m_properties[id]);
            m_properties[id] = copy;
            return S_OK;
        }
        auto it = m_properties.find(id);
        if (it != m_properties.end())
            return VariantCopy(pResult, &it->second);
        pResult->vt = vt;
        if (vt == VT_BSTR)
            pResult->bstrVal = SysAllocString(L"");
        else
            pResult->llVal = 0;
        return S_OK;
    }

    static std::string Version()
    {
        char szPath[MAX_PATH];
        GetModuleFileNameA(StandIn::Module(), szPath, MAX_PATH);
        DWORD dwHandle = 0;
        DWORD n = GetFileVersionInfoSizeA(szPath, &dwHandle);
        std::string text = "?";
        if (n != 0) {
            std::string buf(n, '\0');
            VS_FIXEDFILEINFO* pInfo = NULL;
            UINT nLen = 0;
            if (GetFileVersionInfoA(szPath, 0, n, &buf[0]) && VerQueryValueA(&buf[0], "\\", (void**)&pInfo, &nLen)) {
                char sz[64];
                snprintf(sz, sizeof(sz), "%u.%u.%u.%u", HIWORD(pInfo->dwFileVersionMS),
                         LOWORD(pInfo->dwFileVersionMS), HIWORD(pInfo->dwFileVersionLS),
                         LOWORD(pInfo->dwFileVersionLS));
                text = sz;
            }
        }
        return text;
    }

    std::map<DISPID, VARIANT> m_properties;
    std::deque<std::string> m_lines;
};

StandIn::Control* CreateChat() { return new ChatControl; }

} // namespace

const StandIn::ClassEntry StandIn::g_classes[] = {
    {&CLSID_QVChatEx, L"QVChatEx.ChatCtrl", L"Chat control", CreateChat},
};
const int StandIn::g_nClasses = 1;
