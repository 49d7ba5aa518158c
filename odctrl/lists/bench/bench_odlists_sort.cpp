// Inserting 100,000 rows and sorting them by their text: the owner-draw
// list's data model against the platform's list view (LVM_INSERTITEM,
// LVM_SORTITEMS on a hidden report view), in one run, three rounds each;
// prints the times and the ratio. Not a test; it needs a display:
//   xvfb-run -a scripts/wine-run.sh build/x64/bin/bench_odlists_sort.exe
#include <windows.h>
#include <commctrl.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ODListModel.h"

namespace {

const int kRows = 100000;
const int kRounds = 3;

double Now()
{
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return double(c.QuadPart) * 1000.0 / double(f.QuadPart);
}

std::vector<std::string> MakeTexts()
{
    // Pseudo-random names of 6 to 13 letters, some repeated.
    std::vector<std::string> texts;
    unsigned seed = 12345;
    for (int i = 0; i < kRows; ++i) {
        seed = seed * 1103515245u + 12345u;
        std::string s = "player";
        const int n = int((seed >> 16) % 8);
        for (int k = 0; k < n; ++k) {
            seed = seed * 1103515245u + 12345u;
            s += char('a' + (seed >> 16) % 26);
        }
        texts.push_back(s);
    }
    return texts;
}

struct Times
{
    double insert = 0, sort = 0;
};

Times Ours(const std::vector<std::string>& texts, bool* sorted)
{
    odlist::ListModel model;
    odlist::ColumnInfo c;
    model.InsertColumn(0, c);
    model.ShowColumn(0, 0);
    Times t;
    double start = Now();
    for (const std::string& s : texts)
        model.InsertItem(s.c_str());
    t.insert = Now() - start;
    start = Now();
    model.SortItems(0, 1);
    t.sort = Now() - start;
    *sorted = true;
    for (int r = 1; r < model.GetDisplayCount() && *sorted; ++r)
        *sorted = model.GetItemText(model.DisplayToItem(r - 1), 0) <= model.GetItemText(model.DisplayToItem(r), 0);
    return t;
}

const std::vector<std::string>* g_texts = nullptr;

int CALLBACK CompareByText(LPARAM a, LPARAM b, LPARAM)
{
    return strcmp((*g_texts)[size_t(a)].c_str(), (*g_texts)[size_t(b)].c_str());
}

Times Platform(const std::vector<std::string>& texts, bool* sorted)
{
    HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_POPUP | LVS_REPORT, 0, 0, 400, 300, NULL, NULL,
                                GetModuleHandleA(NULL), NULL);
    Times t;
    if (!list) {
        printf("the platform's list view could not be created (no display?)\n");
        *sorted = false;
        return t;
    }
    LVCOLUMNA col = {};
    col.mask = LVCF_WIDTH | LVCF_TEXT;
    col.cx = 200;
    col.pszText = const_cast<char*>("Name");
    SendMessageA(list, LVM_INSERTCOLUMNA, 0, LPARAM(&col));
    g_texts = &texts;
    double start = Now();
    for (int i = 0; i < int(texts.size()); ++i) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = i;
        item.pszText = const_cast<char*>(texts[size_t(i)].c_str());
        item.lParam = i;
        SendMessageA(list, LVM_INSERTITEMA, 0, LPARAM(&item));
    }
    t.insert = Now() - start;
    start = Now();
    SendMessageA(list, LVM_SORTITEMS, 0, LPARAM(CompareByText));
    t.sort = Now() - start;
    *sorted = SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == LRESULT(texts.size());
    char prev[64] = "", cur[64];
    for (int r = 0; r < int(texts.size()) && *sorted; ++r) {
        LVITEMA item = {};
        item.iSubItem = 0;
        item.pszText = cur;
        item.cchTextMax = sizeof cur;
        SendMessageA(list, LVM_GETITEMTEXTA, r, LPARAM(&item));
        *sorted = strcmp(prev, cur) <= 0;
        strcpy(prev, cur);
    }
    DestroyWindow(list);
    return t;
}

}  // namespace

int main()
{
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    const std::vector<std::string> texts = MakeTexts();
    printf("%d rows, sorted by text, best of %d rounds\n", kRows, kRounds);
    Times ours = {1e30, 1e30}, platform = {1e30, 1e30};
    bool oursSorted = true, platformSorted = true;
    for (int round = 0; round < kRounds; ++round) {
        bool ok = false;
        const Times o = Ours(texts, &ok);
        oursSorted = oursSorted && ok;
        const Times p = Platform(texts, &ok);
        platformSorted = platformSorted && ok;
        ours = {std::min(ours.insert, o.insert), std::min(ours.sort, o.sort)};
        platform = {std::min(platform.insert, p.insert), std::min(platform.sort, p.sort)};
        printf("round %d: ours insert %.1f ms sort %.1f ms; list view insert %.1f ms sort %.1f ms\n", round + 1,
               o.insert, o.sort, p.insert, p.sort);
    }
    printf("ours:      insert %8.1f ms  sort %8.1f ms  total %8.1f ms  (%s)\n", ours.insert, ours.sort,
           ours.insert + ours.sort, oursSorted ? "sorted" : "NOT SORTED");
    printf("list view: insert %8.1f ms  sort %8.1f ms  total %8.1f ms  (%s)\n", platform.insert, platform.sort,
           platform.insert + platform.sort, platformSorted ? "sorted" : "NOT SORTED");
    printf("ratio (list view / ours): insert %.2fx  sort %.2fx  total %.2fx\n", platform.insert / ours.insert,
           platform.sort / ours.sort, (platform.insert + platform.sort) / (ours.insert + ours.sort));
    return oursSorted && platformSorted ? 0 : 1;
}
