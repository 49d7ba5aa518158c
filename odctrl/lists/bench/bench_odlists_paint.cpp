// Painting one screen of a 100,000-row list and scrolling it a page at a
// time: the owner-draw list against the platform's list view (report view,
// the same rows and columns, both windows 640 x 480 on the display), in one
// run. Each paint is an invalidation and UpdateWindow, so both controls do
// their whole WM_PAINT; each scroll is WM_VSCROLL SB_PAGEDOWN (SB_TOP after
// the last page) followed by UpdateWindow. Prints the times and the ratios.
// Not a test; it needs a display:
//   xvfb-run -a scripts/wine-run.sh build/x64/bin/bench_odlists_paint.exe
#include "afxwin.h"

#include <commctrl.h>
#include <stdio.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "ODListCtrl.h"

namespace {

int kRows = 100000;  // or the first argument
const int kColumns = 4;
const int kRounds = 200;
const char* const kNames[kColumns] = {"Player", "Seat", "Score", "Hands"};

double Now()
{
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return double(c.QuadPart) * 1000.0 / double(f.QuadPart);
}

std::string CellText(int row, int column)
{
    char text[64];
    switch (column) {
    case 0: snprintf(text, sizeof text, "player%05d", (row * 7919) % kRows); break;
    case 1: snprintf(text, sizeof text, "%d", row % 5 + 1); break;
    case 2: snprintf(text, sizeof text, "%d", (row * 31) % 1000); break;
    default: snprintf(text, sizeof text, "%d", row % 97); break;
    }
    return text;
}

struct Times
{
    double paint = 0, scroll = 0;
};

Times Measure(HWND wnd)
{
    Times t;
    ::UpdateWindow(wnd);
    double start = Now();
    for (int i = 0; i < kRounds; ++i) {
        ::InvalidateRect(wnd, NULL, FALSE);
        ::UpdateWindow(wnd);
    }
    t.paint = (Now() - start) / kRounds;
    start = Now();
    for (int i = 0; i < kRounds; ++i) {
        ::SendMessageA(wnd, WM_VSCROLL, MAKEWPARAM(i % 50 == 49 ? SB_TOP : SB_PAGEDOWN, 0), 0);
        ::UpdateWindow(wnd);
    }
    t.scroll = (Now() - start) / kRounds;
    return t;
}

class CHost : public CWnd
{
public:
    BOOL CreateHost(const char* title, int x)
    {
        // Shown once the rows are in: filling is not what is measured.
        return CreateEx(0, AfxRegisterWndClass(0), title, WS_POPUP, x, 0, 640, 480, NULL, NULL);
    }
};

Times Ours()
{
    CHost host;
    host.CreateHost("ours", 0);
    CODListCtrl list;
    list.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 640, 480), &host, 1);
    for (int c = 0; c < kColumns; ++c) {
        odlist::ColumnInfo info;
        info.flags = odlist::kColumnHasText;
        info.text = kNames[c];
        info.width = 150;
        list.InsertColumn(c, info);
        list.ShowColumn(c, c);
    }
    for (int r = 0; r < kRows; ++r) {
        const int item = list.InsertItem(CellText(r, 0).c_str());
        for (int c = 1; c < kColumns; ++c)
            list.SetItemText(item, c, CellText(r, c).c_str());
    }
    host.ShowWindow(SW_SHOWNA);
    const Times t = Measure(list.m_hWnd);
    list.DestroyWindow();
    host.DestroyWindow();
    return t;
}

Times Platform()
{
    CHost host;
    host.CreateHost("platform", 0);
    HWND view = ::CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 640, 480,
                                  host.m_hWnd, HMENU(1), ::GetModuleHandleA(NULL), NULL);
    for (int c = 0; c < kColumns; ++c) {
        LVCOLUMNA col = {};
        col.mask = LVCF_TEXT | LVCF_WIDTH;
        col.cx = 150;
        col.pszText = const_cast<char*>(kNames[c]);
        ::SendMessageA(view, LVM_INSERTCOLUMNA, c, reinterpret_cast<LPARAM>(&col));
    }
    ::SendMessageA(view, LVM_SETITEMCOUNT, kRows, 0);
    for (int r = 0; r < kRows; ++r) {
        std::string text = CellText(r, 0);
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = r;
        item.pszText = const_cast<char*>(text.c_str());
        const int index = int(::SendMessageA(view, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        for (int c = 1; c < kColumns; ++c) {
            text = CellText(r, c);
            LVITEMA sub = {};
            sub.iSubItem = c;
            sub.pszText = const_cast<char*>(text.c_str());
            ::SendMessageA(view, LVM_SETITEMTEXTA, index, reinterpret_cast<LPARAM>(&sub));
        }
    }
    host.ShowWindow(SW_SHOWNA);
    const Times t = Measure(view);
    ::DestroyWindow(view);
    host.DestroyWindow();
    return t;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && atoi(argv[1]) > 0)
        kRows = atoi(argv[1]);
    setvbuf(stdout, NULL, _IONBF, 0);
    printf("building the lists...\n");
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&icc);
    const Times ours = Ours();
    const Times platform = Platform();
    printf("%d rows, %d columns, 640 x 480, %d rounds each\n", kRows, kColumns, kRounds);
    printf("paint one screen:  ours %8.3f ms   list view %8.3f ms   ratio %.2fx\n", ours.paint, platform.paint,
           platform.paint / ours.paint);
    printf("scroll one page:   ours %8.3f ms   list view %8.3f ms   ratio %.2fx\n", ours.scroll, platform.scroll,
           platform.scroll / ours.scroll);
    printf("(ratio = list view time / our time; above 1: ours is faster)\n");
    return 0;
}
