// A themed report list for looking at it (scripts/screenshot): a tree of
// rows with expanders and dotted tree lines, check boxes and radio buttons
// (crossed ones too), a palette-coloured row, a selected row, grid lines,
// and an in-place editor open on one cell; beside it the column chooser
// listing the two hidden columns, one of them selected. It starts the
// library from "<program folder>\odctrls\Mardavel_skn.ini" as the program
// does.
#include "afxwin.h"

#include <stdio.h>

#include "ODColumnChooser.h"
#include "ODDemoApp.h"
#include "ODListCtrl.h"

namespace {

using namespace odlist;

class CDemoWnd : public CWnd
{
public:
    BOOL CreateDemo()
    {
        if (!oddemo::CreateDemoWindow(*this, "Owner-draw list", 700, 380, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)))
            return FALSE;
        CRect client;
        GetClientRect(&client);
        // The chooser's column at the right.
        const int chooserWidth = 130;
        client.right -= chooserWidth + 8;
        const DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER | kStyleTree | kStyleHorzGrid | kStyleVertGrid |
                            kStyleCellFocus | kStyleKeepSelNoFocus;
        if (!m_list.Create(style, CRect(8, 8, client.Width() - 8, client.Height() - 8), this, 1))
            return FALSE;
        m_font.CreateFont(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "DejaVu Sans");
        m_list.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_font.GetSafeHandle()), TRUE);
        // Rank and Games start hidden: the chooser lists them.
        static const char* const kNames[] = {"Player", "Seat", "Score", "Ready", "Rank", "Games"};
        static const int kWidths[] = {200, 70, 90, 120, 80, 80};
        for (int i = 0; i < 6; ++i) {
            ColumnInfo c;
            c.flags = kColumnHasText | (i == 2 ? 1u : 0u);  // the score right-aligned
            c.text = kNames[i];
            c.width = kWidths[i];
            m_list.InsertColumn(i, c);
            if (i < 4)
                m_list.ShowColumn(i, i);
        }
        const int boxLeft = client.right + 8;
        if (!m_label.Create("Hidden columns", WS_CHILD | WS_VISIBLE, CRect(boxLeft, 8, boxLeft + chooserWidth, 26),
                            this))
            return FALSE;
        m_label.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_font.GetSafeHandle()), TRUE);
        if (!m_chooser.CreateEx(WS_EX_STATICEDGE, "LISTBOX", NULL,
                                WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY,
                                CRect(boxLeft, 28, boxLeft + chooserWidth, client.Height() - 8), this, 2))
            return FALSE;
        m_chooser.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_font.GetSafeHandle()), TRUE);
        m_list.SetColumnChooser(&m_chooser);
        m_chooser.SetCurSel(1);
        m_list.InsertPaletteColor(0, RGB(255, 236, 200));
        m_list.SetTreeLines(TRUE);
        m_list.SetColor(8, RGB(96, 96, 96));
        struct Row
        {
            int parent;  // index of the parent row, -1 top level
            const char* name;
            const char* seat;
            const char* score;
            int check;
        };
        static const Row kRows[] = {
            {-1, "North table", "", "", -1},     {0, "Aldric", "1", "1250", 1},  {0, "Berenike", "2", "980", 0},
            {0, "Cosmin", "3", "1530", 3},       {0, "Dagny", "4", "770", 2},    {0, "Eluned", "5", "1105", 1},
            {-1, "South table", "", "", -1},     {6, "Faramund", "1", "640", 5}, {6, "Gisela", "2", "1320", 4},
            {6, "Hallvard", "3", "890", 6},      {-1, "Watching", "", "", -1},
        };
        NodeHandle nodes[sizeof kRows / sizeof kRows[0]] = {};
        for (size_t i = 0; i < sizeof kRows / sizeof kRows[0]; ++i) {
            const Row& r = kRows[i];
            ODLVITEM d = {};
            d.mask = kMaskText;
            d.text = const_cast<char*>(r.name);
            nodes[i] = m_list.Model().InsertTreeItem(&d, r.parent < 0 ? kTreeRoot : nodes[r.parent], kInsertLast, 0);
            const int item = m_list.Model().GetNodeData(nodes[i]);
            m_list.SetItemText(item, 1, r.seat);
            m_list.SetItemText(item, 2, r.score);
            char number[16];
            snprintf(number, sizeof number, "%d", int(i % 7) + 1);
            m_list.SetItemText(item, 4, r.parent < 0 ? "" : number);
            snprintf(number, sizeof number, "%d", 12 + int(i) * 9);
            m_list.SetItemText(item, 5, r.parent < 0 ? "" : number);
            if (r.check >= 0) {
                m_list.Model().SetItemStateImage(item, 3, r.check);
                m_list.SetItemText(item, 3, r.check & 1 ? "ready" : "waiting");
            }
            if (i == 3) {
                ODLVITEM v = {};
                v.mask = kMaskValue1;
                v.item = item;
                v.value1 = 0;
                m_list.Model().SetItem(&v);
            }
        }
        m_list.Model().Expand(nodes[0], 1);
        m_list.Model().Expand(nodes[6], 1);
        m_list.Model().SelectRange(4, 4, true, false, false, false);
        // An editor open on Berenike's score.
        m_list.SetFocus();
        m_list.Model().SetFocusCell(2, 2);
        m_list.BeginEdit(2, 2, 1);
        return TRUE;
    }

private:
    CFont m_font;
    CODListCtrl m_list;
    CStatic m_label;
    CODColumnListBox m_chooser;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return oddemo::RunWindowDemo<CDemoWnd>();
}
