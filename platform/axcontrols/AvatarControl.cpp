// Stand-in of the avatar control: records the avatar data block it is given
// (method 8) and draws a generated 150 x 190 picture from it, scaled to its
// window.
#include "StandIn.h"
#include "AxControls.h"

#include <string>

namespace {

const int kPictureWidth = 150;
const int kPictureHeight = 190;
const int kMaxBlock = 4096;

class AvatarControl : public StandIn::Control
{
public:
    AvatarControl() : Control(CLSID_QVAvatar, DIID_QVControlEvents) {}

    HRESULT Call(DISPID id, WORD, DISPPARAMS* pParams, VARIANT* pResult) override
    {
        if (id == DISPID_ABOUTBOX || id == 39 || id == 40)
            return S_OK;
        if (id < 1 || id > 38)
            return DISP_E_MEMBERNOTFOUND;
        if (id == 8)
            ReadBlock(pParams);
        if (id == 14) {
            VARIANT* pValue = StandIn::Arg(pParams, 0);
            if (pValue != NULL && pValue->vt == VT_I4)
                m_nValue = pValue->lVal;
            Redraw();
        }
        if (id == 16)
            return S_OK;
        pResult->vt = VT_I4;
        pResult->lVal = id;
        return S_OK;
    }

    void Paint(HDC hdc, const RECT& rect) override
    {
        // Drawn at 150 x 190 and stretched to the window.
        HDC hMem = CreateCompatibleDC(hdc);
        HBITMAP hBitmap = CreateCompatibleBitmap(hdc, kPictureWidth, kPictureHeight);
        HGDIOBJ hOldBitmap = SelectObject(hMem, hBitmap);
        DrawPicture(hMem);
        SetStretchBltMode(hdc, COLORONCOLOR);
        StretchBlt(hdc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, hMem, 0, 0,
                   kPictureWidth, kPictureHeight, SRCCOPY);
        SelectObject(hMem, hOldBitmap);
        DeleteObject(hBitmap);
        DeleteDC(hMem);
    }

private:
    void ReadBlock(DISPPARAMS* pParams)
    {
        VARIANT* pBlock = StandIn::Arg(pParams, 0);
        VARIANT* pSize = StandIn::Arg(pParams, 1);
        if (pBlock == NULL || pSize == NULL || pBlock->vt != (VT_BYREF | VT_I4) || pBlock->plVal == NULL
            || pSize->vt != VT_I4 || pSize->lVal <= 0 || pSize->lVal > kMaxBlock) {
            StandIn::Log("block refused");
            return;
        }
        const char* p = reinterpret_cast<const char*>(pBlock->plVal);
        int n = (int)pSize->lVal;
        int nText = 0;
        while (nText < n && p[nText] != '\0')
            nText++;
        int nZeros = 0;
        for (int i = nText; i < n; i++)
            if (p[i] == '\0')
                nZeros++;
        m_data.assign(p, (size_t)nText);
        StandIn::Log("block " + std::to_string(n) + " text=" + m_data + " zeros=" + std::to_string(nZeros));
        Redraw();
    }

    void DrawPicture(HDC hdc) const
    {
        unsigned hash = 2166136261u;
        for (unsigned char c : m_data)
            hash = (hash ^ c) * 16777619u;
        COLORREF back = RGB(90 + (hash & 0x7F), 90 + ((hash >> 8) & 0x7F), 90 + ((hash >> 16) & 0x7F));
        RECT all = {0, 0, kPictureWidth, kPictureHeight};
        HBRUSH hBack = CreateSolidBrush(back);
        FillRect(hdc, &all, hBack);
        DeleteObject(hBack);
        HBRUSH hSkin = CreateSolidBrush(RGB(245, 210, 170));
        HBRUSH hCloth = CreateSolidBrush(RGB(40, 60, 120));
        HGDIOBJ hOldBrush = SelectObject(hdc, hCloth);
        HGDIOBJ hOldPen = SelectObject(hdc, GetStockObject(BLACK_PEN));
        Ellipse(hdc, 25, 110, 125, 230);          // shoulders
        SelectObject(hdc, hSkin);
        Ellipse(hdc, 45, 30, 105, 100);           // head
        SelectObject(hdc, GetStockObject(BLACK_BRUSH));
        Ellipse(hdc, 60, 55, 66, 61);
        Ellipse(hdc, 84, 55, 90, 61);
        SelectObject(hdc, hOldBrush);
        SelectObject(hdc, hOldPen);
        DeleteObject(hSkin);
        DeleteObject(hCloth);
        SetBkMode(hdc, TRANSPARENT);
        SetTextColor(hdc, RGB(255, 255, 255));
        HGDIOBJ hOldFont = SelectObject(hdc, GetStockObject(DEFAULT_GUI_FONT));
        RECT text = {2, 4, kPictureWidth - 2, 24};
        DrawTextA(hdc, m_data.c_str(), (int)m_data.size(), &text, DT_CENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
        char sz[32];
        snprintf(sz, sizeof(sz), "%ld", (long)m_nValue);
        RECT value = {2, kPictureHeight - 22, kPictureWidth - 2, kPictureHeight - 4};
        DrawTextA(hdc, sz, -1, &value, DT_CENTER | DT_SINGLELINE);
        SelectObject(hdc, hOldFont);
    }

    std::string m_data;
    LONG m_nValue = 0;
};

StandIn::Control* CreateAvatar() { return new AvatarControl; }

} // namespace

const StandIn::ClassEntry StandIn::g_classes[] = {
    {&CLSID_QVAvatar, L"QVAvatar.AvatarCtrl", L"Avatar control", CreateAvatar},
};
const int StandIn::g_nClasses = 1;
