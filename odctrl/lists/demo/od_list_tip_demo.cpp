// A list whose narrow name column cuts its texts off, with the cell tip shown
// over one of them, for looking at it (scripts/screenshot): the tip lies over
// the cell and shows the whole text. The list feeds the tip from its hover
// calls, as a list that wants tips does.
#include "afxwin.h"

#include "ODDemoApp.h"
#include "ODListCtrl.h"
#include "ODListTipWnd.h"

namespace {

using namespace odlist;

// The test display draws no layered windows: this tip shows itself at once,
// as on a system without them (it is the same tip otherwise).
class CPlainTip : public CODListTipCtrl
{
public:
    CPlainTip() { m_layered = false; }
};

class CTipList : public CODListCtrl
{
public:
    CPlainTip m_tip;

protected:
    void OnCellHover(const ODListHover& hover) override
    {
        m_tip.Show(hover.rect, hover.text.c_str(), hover.font);
    }
};

class CDemoWnd : public CWnd
{
public:
    BOOL CreateDemo()
    {
        if (!oddemo::CreateDemoWindow(*this, "List tip", 420, 260, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)))
            return FALSE;
        CRect client;
        GetClientRect(&client);
        const DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER | kStyleHorzGrid | kStyleVertGrid | 0x2000;
        if (!m_list.Create(style, CRect(8, 8, client.Width() - 8, client.Height() - 8), this, 1))
            return FALSE;
        m_font.CreateFont(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "DejaVu Sans");
        m_list.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_font.GetSafeHandle()), TRUE);
        static const char* const kNames[] = {"Table", "Players"};
        static const int kWidths[] = {110, 120};
        for (int i = 0; i < 2; ++i) {
            ColumnInfo c;
            c.flags = kColumnHasText;
            c.text = kNames[i];
            c.width = kWidths[i];
            m_list.InsertColumn(i, c);
            m_list.ShowColumn(i, i);
        }
        static const char* const kTables[] = {"North", "The long table by the window at the back", "South",
                                              "Beginners welcome, slow play"};
        for (int i = 0; i < 4; ++i) {
            const int item = m_list.InsertItem(kTables[i]);
            m_list.SetItemText(item, 1, i % 2 ? "5 seated" : "3 seated");
        }
        m_list.SetFocus();
        if (!m_list.m_tip.Create(&m_list))
            return FALSE;
        SetTimer(1, 500, NULL);
        return TRUE;
    }

protected:
    // As a hover over the second row's name would show it, once the window
    // is on the screen.
    afx_msg void OnTimer(UINT_PTR)
    {
        KillTimer(1);
        CRect cell;
        m_list.GetContentItemRect(1, 0, &cell, kPartText);
        m_list.m_tip.Show(cell, m_list.GetItemText(1, 0).c_str(), NULL);
    }
    DECLARE_MESSAGE_MAP()

private:
    CFont m_font;
    CTipList m_list;
};

BEGIN_MESSAGE_MAP(CDemoWnd, CWnd)
    ON_WM_TIMER()
END_MESSAGE_MAP()

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return oddemo::RunWindowDemo<CDemoWnd>();
}
