// The game widgets on a table-coloured window, for looking at them
// (scripts/screenshot): a row of picture buttons in their four states, the
// chat-action picker open with its grid, a balloon with a link line, a
// picture tip and a tooltip (argument "hover": the buttons alone, the second
// one hovered). The pictures are drawn here with GDI+.
#include "afxwin.h"

#include <gdiplus.h>

#include <memory>
#include <string>
#include <vector>

#include "BalloonWnd.h"
#include "Bitmaps.h"
#include "ChatActionPicker.h"
#include "PngButton.h"
#include "RoundTipWnd.h"
#include "ToolTipObjWnd.h"
#include "WidgetServices.h"

namespace {

const int kWidth = 900, kHeight = 640;

// A strip of four round buttons with soft edges: normal, hover, pressed, disabled.
Gdiplus::Bitmap* MakeButtonStrip()
{
    auto* strip = new Gdiplus::Bitmap(4 * 64, 40, PixelFormat32bppARGB);
    Gdiplus::Graphics g(strip);
    g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    g.Clear(Gdiplus::Color(0, 0, 0, 0));
    const Gdiplus::Color fills[4] = {Gdiplus::Color(255, 60, 120, 200), Gdiplus::Color(255, 90, 170, 250),
                                     Gdiplus::Color(255, 30, 80, 150), Gdiplus::Color(255, 130, 130, 130)};
    const WCHAR* labels[4] = {L"Normal", L"Hover", L"Pressed", L"Off"};
    Gdiplus::FontFamily family(L"DejaVu Sans");
    Gdiplus::Font font(&family, 10, Gdiplus::FontStyleBold, Gdiplus::UnitPixel);
    Gdiplus::SolidBrush white(Gdiplus::Color(255, 255, 255, 255));
    Gdiplus::StringFormat centred;
    centred.SetAlignment(Gdiplus::StringAlignmentCenter);
    centred.SetLineAlignment(Gdiplus::StringAlignmentCenter);
    for (int i = 0; i < 4; ++i) {
        Gdiplus::SolidBrush fill(fills[i]);
        g.FillEllipse(&fill, i * 64 + 2, 2, 60, 36);
        g.DrawString(labels[i], -1, &font, Gdiplus::RectF((Gdiplus::REAL)(i * 64), 0, 64, 40), &centred, &white);
    }
    return strip;
}

// Picker pictures: small coloured faces with their number, saved as PNG files.
std::wstring MakeFace(const std::wstring& folder, int n, int size)
{
    Gdiplus::Bitmap face(size, size, PixelFormat32bppARGB);
    Gdiplus::Graphics g(&face);
    g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    g.Clear(Gdiplus::Color(0, 0, 0, 0));
    Gdiplus::SolidBrush yellow(Gdiplus::Color(255, 250, 200 - (n * 5) % 120, 40 + (n * 37) % 180));
    g.FillEllipse(&yellow, 1, 1, size - 2, size - 2);
    Gdiplus::SolidBrush dark(Gdiplus::Color(255, 60, 40, 20));
    Gdiplus::FontFamily family(L"DejaVu Sans");
    Gdiplus::Font font(&family, (Gdiplus::REAL)(size / 2 - 2), Gdiplus::FontStyleBold, Gdiplus::UnitPixel);
    Gdiplus::StringFormat centred;
    centred.SetAlignment(Gdiplus::StringAlignmentCenter);
    centred.SetLineAlignment(Gdiplus::StringAlignmentCenter);
    const std::wstring label = std::to_wstring(n);
    g.DrawString(label.c_str(), -1, &font, Gdiplus::RectF(0, 0, (Gdiplus::REAL)size, (Gdiplus::REAL)size), &centred,
                 &dark);
    const std::wstring path = folder + L"face" + std::to_wstring(size) + L"_" + label + L".png";
    SaveImagePng(&face, path.c_str());
    return path;
}

std::string Narrow(const std::wstring& w) { return std::string(w.begin(), w.end()); }

class CDemoWnd : public CWnd
{
public:
    // hoverOnly: the buttons alone, the second one hovered (the hover cell is
    // the focus cell, which an open picker would take).
    BOOL CreateDemo(bool hoverOnly)
    {
        if (!CreateEx(0, AfxRegisterWndClass(0, ::LoadCursor(NULL, IDC_ARROW)), "Game widgets",
                      WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 20, 20, kWidth, kHeight, NULL, NULL))
            return FALSE;
        // The table's off-screen picture: a green felt with a lighter band.
        HDC screen = ::GetDC(m_hWnd);
        m_surface = ::CreateCompatibleDC(screen);
        m_bitmap = ::CreateCompatibleBitmap(screen, kWidth, kHeight);
        ::ReleaseDC(m_hWnd, screen);
        m_old = ::SelectObject(m_surface, m_bitmap);
        for (int y = 0; y < kHeight; ++y) {
            HBRUSH b = ::CreateSolidBrush(RGB(20, 90 + y * 60 / kHeight, 50));
            RECT row = {0, y, kWidth, y + 1};
            ::FillRect(m_surface, &row, b);
            ::DeleteObject(b);
        }
        SetTableSurface(m_hWnd, m_surface);
        m_tip.Create(m_hWnd);
        SetAppToolTip(&m_tip);

        m_strip.reset(MakeButtonStrip());
        for (int i = 0; i < 4; ++i) {
            m_buttons[i].Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(40 + i * 80, 540, 40 + i * 80, 540),
                                this, 200 + i);
            m_buttons[i].Init(200 + i, m_strip.get(), 0, 4, 0);
        }
        m_buttons[2].SetState(TRUE);            // pressed
        m_buttons[3].EnableWindow(FALSE);       // disabled

        if (hoverOnly) {
            ::UpdateWindow(m_hWnd);
            CRect rc;
            m_buttons[1].GetWindowRect(&rc);
            ::SetCursorPos(rc.left + 32, rc.top + 20);   // the real cursor stays on it
            m_buttons[1].SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(32, 20));
            return TRUE;
        }

        char temp[MAX_PATH];
        ::GetTempPathA(MAX_PATH, temp);
        const std::wstring folder(temp, temp + strlen(temp));
        m_picker.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(420, 540, 420, 540), this, 330);
        m_picker.Init(330, m_strip.get(), 0, 4, 0);
        for (int i = 0; i < 30; ++i)
            m_picker.AddItem(Narrow(MakeFace(folder, i, 32)).c_str());
        for (int i = 0; i < 66; ++i)
            m_picker.AddItem2(Narrow(MakeFace(folder, i, 24)).c_str());
        m_picker.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));   // open the grid

        m_balloon.Create(this);
        m_balloon.SetHideDelay(0);
        m_balloon.UpdateTailValues(12, 8);
        m_balloon.SetMinSize(150, 150);
        m_balloon.SetSize(170, 200);
        m_balloon.SetAlphaPercent(90);
        m_balloon.SetTextColor(0x3C64C8);
        m_balloon.SetTailValues(40, -15);
        m_balloon.SetLinkText("<A href=\"http://www.mardavel.com/record?u=demo\">Player record</A>");
        m_balloon.Popup("Player: demo\nScore: 1200\nGames: 87 (won 51)\nA long line that the balloon cuts short",
                        690, 260, 660, 300, 2);

        m_roundTip.reset(new CRoundTipWnd(this));
        m_roundTip->CreateTip();
        m_roundTip->SetDisplayTime(0);
        const std::wstring face = MakeFace(folder, 7, 40);
        const POINT seat = {560, 420};
        m_roundTip->Show(face.c_str(), &seat, TRUE, TRUE);

        POINT at = {160, 120};
        ClientToScreen(&at);
        m_tip.ShowTipAt(at, "Tooltip: the tip at a point");
        return TRUE;
    }
    ~CDemoWnd() override
    {
        SetTableSurface(NULL, NULL);
        SetAppToolTip(nullptr);
        if (m_surface != NULL) {
            ::SelectObject(m_surface, m_old);
            ::DeleteObject(m_bitmap);
            ::DeleteDC(m_surface);
        }
    }

protected:
    afx_msg void OnPaint()
    {
        CPaintDC dc(this);
        ::BitBlt(dc.m_hDC, 0, 0, kWidth, kHeight, m_surface, 0, 0, SRCCOPY);
        ::SetBkMode(dc.m_hDC, TRANSPARENT);
        ::SetTextColor(dc.m_hDC, RGB(230, 240, 230));
        ::TextOutA(dc.m_hDC, 40, 515, "CPngButton: normal, hover, pressed, disabled", 44);
        ::TextOutA(dc.m_hDC, 420, 515, "picker button", 13);
    }
    afx_msg void OnDestroy()
    {
        ::PostQuitMessage(0);
        CWnd::OnDestroy();
    }
    DECLARE_MESSAGE_MAP()

private:
    HDC m_surface = NULL;
    HBITMAP m_bitmap = NULL;
    HGDIOBJ m_old = NULL;
    std::unique_ptr<Gdiplus::Bitmap> m_strip;
    CPngButton m_buttons[4];
    CChatActionButton m_picker;
    CBalloonWnd m_balloon;
    std::unique_ptr<CRoundTipWnd> m_roundTip;
    CToolTipObjWnd m_tip;
};

BEGIN_MESSAGE_MAP(CDemoWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR lpCmdLine, int)
{
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok)
        return 1;
    int result = 0;
    {
        CDemoWnd wnd;
        if (!wnd.CreateDemo(lpCmdLine != nullptr && strstr(lpCmdLine, "hover") != nullptr))
            return 2;
        MSG msg;
        while (::GetMessageA(&msg, NULL, 0, 0) > 0) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        result = static_cast<int>(msg.wParam);
    }
    Gdiplus::GdiplusShutdown(token);
    return result;
}
