// Painting one screen of a 100,000-row list and scrolling it a page at a
// time: the owner-draw list against the platform's list view (report view,
// the same rows and columns, both windows 640 x 480 on the display), in one
// run. Each paint is an invalidation and UpdateWindow, so both controls do
// their whole WM_PAINT; each scroll is WM_VSCROLL SB_PAGEDOWN (SB_TOP after
// the last page) followed by UpdateWindow, and a line scroll the same with
// SB_LINEDOWN (what a wheel notch posts three of). The two take turns in blocks of
// rounds, the one measured raised above the other, so a machine whose load
// changes during the run weighs on both alike; the figures are the medians
// of the blocks. Prints the times and the ratios.
// Not a test; it needs a display:
//   xvfb-run -a scripts/wine-run.sh build/x64/bin/bench_odlists_paint.exe
#include "afxwin.h"

#include <commctrl.h>
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ODListCtrl.h"

namespace {

int kRows = 100000;  // or the first argument
const int kColumns = 4;
const int kBlocks = 8;         // turns each
const int kBlockRounds = 25;   // paints and scrolls in a turn
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
    std::vector<double> paint, scroll, line;
};

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// One block of each measurement on a list window whose host is raised.
void MeasureBlock(HWND host, HWND wnd, int* step, Times* t)
{
    ::SetWindowPos(host, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::UpdateWindow(host);
    ::UpdateWindow(wnd);
    double start = Now();
    for (int i = 0; i < kBlockRounds; ++i) {
        ::InvalidateRect(wnd, NULL, FALSE);
        ::UpdateWindow(wnd);
    }
    t->paint.push_back((Now() - start) / kBlockRounds);
    start = Now();
    for (int i = 0; i < kBlockRounds; ++i, ++*step) {
        ::SendMessageA(wnd, WM_VSCROLL, MAKEWPARAM(*step % 50 == 49 ? SB_TOP : SB_PAGEDOWN, 0), 0);
        ::UpdateWindow(wnd);
    }
    t->scroll.push_back((Now() - start) / kBlockRounds);
    start = Now();
    for (int i = 0; i < kBlockRounds; ++i) {
        ::SendMessageA(wnd, WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
        ::UpdateWindow(wnd);
    }
    t->line.push_back((Now() - start) / kBlockRounds);
}

class CHost : public CWnd
{
public:
    BOOL CreateHost(const char* title)
    {
        // Shown once the rows are in: filling is not what is measured.
        return CreateEx(0, AfxRegisterWndClass(0), title, WS_POPUP, 0, 0, 640, 480, NULL, NULL);
    }
};

void FillOurs(CODListCtrl& list)
{
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
}

void FillPlatform(HWND view)
{
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
    CHost oursHost, platformHost;
    oursHost.CreateHost("ours");
    platformHost.CreateHost("platform");
    CODListCtrl list;
    list.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 640, 480), &oursHost, 1);
    FillOurs(list);
    HWND view = ::CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 640, 480,
                                  platformHost.m_hWnd, HMENU(1), ::GetModuleHandleA(NULL), NULL);
    FillPlatform(view);
    oursHost.ShowWindow(SW_SHOWNA);
    platformHost.ShowWindow(SW_SHOWNA);
    Times ours, platform;
    int oursStep = 0, platformStep = 0;
    for (int b = 0; b < kBlocks; ++b) {
        MeasureBlock(oursHost.m_hWnd, list.m_hWnd, &oursStep, &ours);
        MeasureBlock(platformHost.m_hWnd, view, &platformStep, &platform);
    }
    printf("%d rows, %d columns, 640 x 480, %d blocks of %d rounds each, medians\n", kRows, kColumns, kBlocks,
           kBlockRounds);
    const double oursPaint = Median(ours.paint), platformPaint = Median(platform.paint);
    const double oursScroll = Median(ours.scroll), platformScroll = Median(platform.scroll);
    printf("paint one screen:  ours %8.3f ms   list view %8.3f ms   ratio %.2fx\n", oursPaint, platformPaint,
           platformPaint / oursPaint);
    printf("scroll one page:   ours %8.3f ms   list view %8.3f ms   ratio %.2fx\n", oursScroll, platformScroll,
           platformScroll / oursScroll);
    const double oursLine = Median(ours.line), platformLine = Median(platform.line);
    printf("scroll one line:   ours %8.3f ms   list view %8.3f ms   ratio %.2fx\n", oursLine, platformLine,
           platformLine / oursLine);
    printf("(ratio = list view time / our time; above 1: ours is faster)\n");
    ::DestroyWindow(view);
    list.DestroyWindow();
    platformHost.DestroyWindow();
    oursHost.DestroyWindow();
    return 0;
}
