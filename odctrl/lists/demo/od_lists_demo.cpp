// A scroll view with both skinned bars and a column header caught in the
// middle of a column drag, for looking at them (scripts/screenshot). It
// starts the library from "<program folder>\odctrls\Mardavel_skn.ini" as the
// program does, so the bars and the header take the default theme's strip
// and background.
#include "afxwin.h"

#include "ODDemoApp.h"
#include "ODHeaderCtrl.h"
#include "ODSBContainerWnd.h"
#include "ODScrollCtrl.h"

namespace {

// A grid of numbered cells, 40 x 30 cells of 60 x 24.
class CGridCtrl : public CODScrollCtrl
{
public:
    void OnDraw(CDC* pDC) override
    {
        pDC->SetBkMode(TRANSPARENT);
        for (int row = 0; row < 30; ++row)
            for (int col = 0; col < 40; ++col) {
                CRect cell(col * 60, row * 24, col * 60 + 60, row * 24 + 24);
                pDC->FillSolidRect(&cell, (row + col) % 2 ? RGB(245, 248, 255) : RGB(225, 235, 250));
                char text[16];
                wsprintfA(text, "%c%d", 'A' + col % 26, row + 1);
                pDC->DrawText(text, -1, &cell, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            }
    }
};

class CDemoWnd : public CWnd
{
public:
    BOOL CreateDemo()
    {
        if (!oddemo::CreateDemoWindow(*this, "Scroll view and header", 540, 400))
            return FALSE;
        CRect client;
        GetClientRect(&client);
        if (!m_header.Create(WS_CHILD | WS_VISIBLE | HDS_HORZ | HDS_DRAGDROP | HDS_BUTTONS,
                             CRect(0, 0, client.Width(), 24), this, 1))
            return FALSE;
        static const char* const kNames[] = {"Player", "Seat", "Score", "Hands", "Wins"};
        for (int i = 0; i < 5; ++i) {
            HDITEMA item = {};
            item.mask = HDI_WIDTH | HDI_TEXT | HDI_FORMAT;
            item.cxy = 100;
            item.pszText = const_cast<char*>(kNames[i]);
            item.fmt = HDF_LEFT | HDF_STRING;
            ::SendMessageA(m_header.m_hWnd, HDM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
        }
        m_header.SetSortColumn(2, 1);
        if (!m_container.Create(CRect(0, 24, client.Width(), client.Height()), this, 2))
            return FALSE;
        if (!m_grid.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, client.Width(), client.Height() - 24), &m_container, 3))
            return FALSE;
        m_container.SetHostedChild(&m_grid);
        m_grid.SetScrollSizes(MM_TEXT, CSize(40 * 60, 30 * 24), CSize(0, 0), CSize(60, 24));
        m_grid.ScrollToDevicePosition(120, 48);
        // Column "Player" picked up and carried over "Hands": the drag image
        // follows the pointer, the marker stands at the drop place.
        m_header.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 12));
        m_header.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(370, 12));
        return TRUE;
    }

private:
    CODHeaderCtrl m_header;
    CSBContainerWnd m_container;
    CGridCtrl m_grid;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return oddemo::RunWindowDemo<CDemoWnd>();
}
