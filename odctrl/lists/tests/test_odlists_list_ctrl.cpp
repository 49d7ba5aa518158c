// The list window on the test display: its parent hears -2055 once per row
// when it is destroyed, the virtual fill answered through WM_NOTIFY, the
// selection copied to the clipboard as text, the header showing the shown
// columns, scroll ranges on the container's bars or the window's own, and
// the list view initialising once.
#include "ODTestSupport.h"

#include <vector>

#include "ODLibrary.h"
#include "ODListCtrl.h"
#include "ODListTestSupport.h"

namespace {

using namespace odtest;
using namespace odlist;
using odlisttest::Column;

// A parent that logs the list's notifications and fills virtual rows.
class CParent : public CWnd
{
public:
    std::vector<NMODLISTITEM> items;
    int fills = 0;

    BOOL CreateHidden()
    {
        return CreateEx(0, AfxRegisterWndClass(0), "parent", WS_POPUP, 0, 0, 400, 300, NULL, NULL);
    }
    int Count(int code) const
    {
        int n = 0;
        for (const NMODLISTITEM& i : items)
            n += int(i.hdr.code) == code;
        return n;
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_NOTIFY) {
            const NMHDR* hdr = reinterpret_cast<const NMHDR*>(lParam);
            if (int(hdr->code) == kNotifyVirtualFill) {
                ++fills;
                ODLVITEM& d = reinterpret_cast<NMODLISTDESC*>(lParam)->item;
                if ((d.mask & kMaskText) && d.text)
                    wsprintfA(d.text, "row %d", d.item);
                return 0;
            }
            if (int(hdr->code) <= -2048 && int(hdr->code) > -2080)
                items.push_back(*reinterpret_cast<const NMODLISTITEM*>(lParam));
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class ListCtrlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateHidden()) << "needs the test display";
        ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), &parent, 7));
        list.InsertColumn(0, Column("Name", 120));
        list.InsertColumn(1, Column("Score", 80));
        list.ShowColumn(0, 0);
        list.ShowColumn(1, 1);
    }
    void TearDown() override
    {
        if (list.m_hWnd)
            list.DestroyWindow();
        parent.DestroyWindow();
    }

    CParent parent;
    CODListCtrl list;
};

TEST_F(ListCtrlTest, DestroyingTheWindowTellsTheParentOncePerRow)
{
    EXPECT_EQ(::GetPropA(list.m_hWnd, "ODListCtrl"), reinterpret_cast<HANDLE>(INT_PTR(4105)));
    for (const char* name : {"north", "east", "south"})
        list.InsertItem(name);
    list.Model().SetItemData(1, 42);
    list.DestroyWindow();
    ASSERT_EQ(parent.Count(kNotifyDeleting), 3);
    std::vector<int> rows;
    for (const NMODLISTITEM& i : parent.items) {
        rows.push_back(i.item);
        EXPECT_EQ(i.hdr.idFrom, 7u);
        EXPECT_EQ(i.column, 0);
    }
    EXPECT_EQ(rows, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(parent.items[1].value2, 42u) << "the row's data";
}

TEST_F(ListCtrlTest, TheParentFillsVirtualRows)
{
    list.Model().SetStyleWord(kStyleVirtual);
    list.Model().SetItemCount(500);
    EXPECT_GT(parent.fills, 0) << "the visible rows were asked for their heights";
    parent.fills = 0;
    EXPECT_EQ(list.GetItemText(321, 0), "row 321");
    EXPECT_EQ(list.GetItemText(321, 0), "row 321");
    EXPECT_EQ(parent.fills, 1) << "the second read from the cache";
    list.SetOption(6, int(~(1u << 8)));  // -2056 off: nothing asked, nothing read
    EXPECT_EQ(list.GetItemText(400, 0), "");
    EXPECT_EQ(parent.fills, 1);
}

TEST_F(ListCtrlTest, TheSelectionGoesToTheClipboardAsText)
{
    list.InsertItem("north");
    list.SetItemText(0, 1, "12");
    list.InsertItem("east\tside");
    list.SetItemText(1, 1, "7");
    list.InsertItem("south");
    list.Model().SelectRange(2, 2, true, false, false, false);
    list.Model().SelectRange(0, 0, true, true, false, false);
    ASSERT_TRUE(list.CopySelectionToClipboard());
    ASSERT_TRUE(::OpenClipboard(parent.m_hWnd));
    HANDLE data = ::GetClipboardData(CF_TEXT);
    ASSERT_NE(data, HANDLE(NULL));
    const char* text = static_cast<const char*>(::GlobalLock(data));
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, "north\t12\nsouth\t\n");
    ::GlobalUnlock(data);
    ::CloseClipboard();
}

TEST_F(ListCtrlTest, TheHeaderShowsTheShownColumns)
{
    CODHeaderCtrl* header = list.GetHeaderCtrl();
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->GetItemCount(), 2);
    list.InsertColumn(2, Column("Seat", 60));
    list.ShowColumn(2, 0);
    list.HideColumn(1);
    ASSERT_EQ(header->GetItemCount(), 2);
    const int expectedWidths[] = {60, 120};
    for (int position = 0; position < 2; ++position) {
        HDITEMA item = {};
        char text[32] = "";
        item.mask = HDI_WIDTH | HDI_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        ASSERT_TRUE(header->SendMessage(HDM_GETITEMA, position, reinterpret_cast<LPARAM>(&item)));
        EXPECT_EQ(item.cxy, expectedWidths[position]);
        EXPECT_STREQ(text, position == 0 ? "Seat" : "Name");
    }
    // The header moves with the horizontal position and is as wide as the
    // columns when they are wider than the list.
    list.SetColumnWidth(0, 400);
    CRect rect;
    header->GetWindowRect(&rect);
    EXPECT_EQ(rect.Width(), 460);
}

TEST_F(ListCtrlTest, ScrollRangesOnTheWindowsOwnBarsOrTheContainers)
{
    for (int i = 0; i < 100; ++i)
        list.InsertItem("row");
    EXPECT_TRUE(list.GetStyle() & WS_VSCROLL) << "created directly: the native bar";
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE;
    ASSERT_TRUE(::GetScrollInfo(list.m_hWnd, SB_VERT, &info));
    EXPECT_EQ(info.nMax, 99);

    CSBContainerWnd container;
    ASSERT_TRUE(container.Create(CRect(0, 0, 300, 200), &parent, 9));
    CODListCtrl inside;
    ASSERT_TRUE(inside.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), &container, 10));
    container.SetHostedChild(&inside);
    parent.ShowWindow(SW_SHOWNA);
    inside.InsertColumn(0, Column("Name", 500));
    inside.ShowColumn(0, 0);
    for (int i = 0; i < 100; ++i)
        inside.InsertItem("row");
    EXPECT_TRUE(container.IsVertBarVisible());
    EXPECT_TRUE(container.IsHorzBarVisible()) << "500 pixels of columns";
    EXPECT_FALSE(inside.GetStyle() & WS_VSCROLL);
    int min = -1, max = -1;
    container.GetScrollRange(1, &min, &max);
    EXPECT_EQ(max, 99);
    container.GetScrollRange(0, &min, &max);
    EXPECT_EQ(max, 499);
    // The container's bar scrolls the list.
    inside.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0), 0);
    EXPECT_EQ(inside.Geometry().GetTopIndex(), inside.Geometry().GetCountPerPage());
    EXPECT_EQ(container.GetScrollPos(1), inside.Geometry().GetTopIndex());
    inside.DestroyWindow();
    container.DestroyWindow();
    parent.ShowWindow(SW_HIDE);
}

TEST_F(ListCtrlTest, StyleChangesReachTheListsOwnStyleWord)
{
    list.InsertItem("a");
    const int height = list.Geometry().GetRowHeight();
    list.ModifyStyle(0, kStyleRowStep | kStyleCellFocus);
    EXPECT_EQ(list.Geometry().GetRowHeight(), height + 1);
    ASSERT_EQ(list.Model().SetFocusCell(0, 1), 1);
    list.ModifyStyle(kStyleRowStep | kStyleCellFocus, 0);
    EXPECT_EQ(list.Geometry().GetRowHeight(), height);
    int row = -2, position = -2;
    list.Model().GetFocusCell(&row, &position);
    EXPECT_EQ(position, -1) << "cell focus off: no focus column";
    EXPECT_EQ(row, 0);
}

// A DIB section of 4 bits (16 colours) or 8 bits (256 colours).
HBITMAP TableBitmap(int colours)
{
    struct
    {
        BITMAPINFOHEADER h;
        RGBQUAD table[256];
    } bmi = {};
    bmi.h.biSize = sizeof bmi.h;
    bmi.h.biWidth = 4;
    bmi.h.biHeight = 4;
    bmi.h.biPlanes = 1;
    bmi.h.biBitCount = colours <= 16 ? 4 : 8;
    bmi.h.biClrUsed = DWORD(colours);
    for (int i = 0; i < colours; ++i)
        bmi.table[i] = {BYTE(i), BYTE(255 - i), 7, 0};
    void* bits = nullptr;
    return ::CreateDIBSection(NULL, reinterpret_cast<BITMAPINFO*>(&bmi), DIB_RGB_COLORS, &bits, NULL, 0);
}

TEST_F(ListCtrlTest, PaletteFromItsColoursAndTheBackground)
{
    HPALETTE halftone = ::CreateHalftonePalette(NULL);
    ASSERT_NE(halftone, HPALETTE(NULL));
    WORD halftoneEntries = 0;
    ::GetObjectA(halftone, sizeof halftoneEntries, &halftoneEntries);
    ::DeleteObject(halftone);
    struct Case {
        const char* what;
        int colours;      // palette colours before the bitmap
        int bitmapColours;  // 0: no bitmap
        int result;
        int entries;      // -1: the half-tone palette
    };
    const Case cases[] = {
        {"no colours: no palette", 0, 0, 0, 0},
        {"two colours", 2, 0, 1, 2},
        {"one colour and 16 from the bitmap", 1, 16, 1, 17},
        {"256 from the bitmap and one colour: half-tone", 1, 256, 1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        list.ClearPalette();
        list.SetBkImage(HBITMAP(NULL));
        for (int i = 0; i < c.colours; ++i)
            EXPECT_EQ(list.InsertPaletteColor(i, RGB(10 * i, 20, 30)), i);
        int result = list.GetPalette() != NULL;
        if (c.bitmapColours)
            result = list.SetBkImage(TableBitmap(c.bitmapColours));
        EXPECT_EQ(result, c.result);
        WORD entries = 0;
        if (list.GetPalette())
            ::GetObjectA(list.GetPalette(), sizeof entries, &entries);
        EXPECT_EQ(int(entries), c.entries < 0 ? int(halftoneEntries) : c.entries);
        if (c.entries == 17) {
            PALETTEENTRY e[2] = {};
            ASSERT_EQ(::GetPaletteEntries(list.GetPalette(), 0, 2, e), 2u);
            EXPECT_EQ(RGB(e[0].peRed, e[0].peGreen, e[0].peBlue), RGB(0, 20, 30)) << "the array's colour first";
            EXPECT_EQ(RGB(e[1].peRed, e[1].peGreen, e[1].peBlue), RGB(7, 255, 0)) << "then the bitmap's";
        }
    }
    EXPECT_EQ(list.RemovePaletteColor(5), 0) << "past the end";
    EXPECT_EQ(list.RemovePaletteColor(0), 1);
    EXPECT_EQ(list.InsertPaletteColor(-1, 0), -1);
    EXPECT_EQ(list.GetWheelScrollLines(), 3) << "the prefix's WheelScrollLines";
}

TEST_F(ListCtrlTest, TextMeasuresAndCellWidths)
{
    list.InsertItem("abc", 0);
    list.Geometry().SetImageSize(16, 16);
    HFONT font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    HDC dc = ::GetDC(list.m_hWnd);
    HGDIOBJ old = ::SelectObject(dc, font);
    TEXTMETRICA tm = {};
    ::GetTextMetricsA(dc, &tm);
    SIZE abc = {};
    ::GetTextExtentPoint32A(dc, "abc", 3, &abc);
    ::SelectObject(dc, old);
    ::ReleaseDC(list.m_hWnd, dc);
    EXPECT_EQ(list.GetTextHeight(font, 2), 2 * (tm.tmHeight + tm.tmExternalLeading));
    RECT narrow = {0, 0, 30, 0};
    EXPECT_GT(list.MeasureText(font, "several words that wrap", &narrow), tm.tmHeight) << "wrapped lines";
    // The list's font is the default GUI font (its parent has none).
    EXPECT_EQ(list.GetItemWidth(0, 0, nullptr, FALSE), 6 + 16 + 6 + abc.cx + 6);
    EXPECT_EQ(list.GetItemWidth(0, 0, nullptr, TRUE), 6 + abc.cx + 6);
    RECT r = {};
    EXPECT_EQ(list.GetItemWidth(0, -1, &r, FALSE), 200);
    EXPECT_EQ(r.bottom, list.Geometry().GetRowHeight());
}

TEST(ListView, InitialisesOnceAndResizesOnlyAfterwards)
{
    CCreateContext context = {};
    context.m_pNewViewClass = RUNTIME_CLASS(CODListView);
    CFrameWnd* frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(NULL, "frame", WS_POPUP, CRect(0, 0, 300, 200), NULL, NULL, 0, &context))
        << "needs the test display";
    auto* view = static_cast<CODListView*>(frame->GetActiveView());
    ASSERT_NE(view, nullptr);
    // A resize before the first update leaves the container alone.
    frame->SetWindowPos(NULL, 0, 0, 320, 220, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(view->GetContainer().m_hWnd, HWND(NULL));
    frame->InitialUpdateFrame(FALSE);
    ASSERT_TRUE(view->IsInitialised());
    const HWND container = view->GetContainer().m_hWnd;
    const HWND list = view->GetListCtrl().m_hWnd;
    ASSERT_NE(list, HWND(NULL));
    EXPECT_EQ(::GetParent(list), container);
    EXPECT_EQ(view->GetContainer().GetHostedChild(), &view->GetListCtrl());
    EXPECT_TRUE(view->GetListCtrl().GetStyle() & WS_TABSTOP);
    view->OnInitialUpdate();  // a document reloaded
    EXPECT_EQ(view->GetContainer().m_hWnd, container);
    EXPECT_EQ(view->GetListCtrl().m_hWnd, list);
    int children = 0;
    for (HWND c = ::GetWindow(view->m_hWnd, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
        ++children;
    EXPECT_EQ(children, 1);
    frame->SetWindowPos(NULL, 0, 0, 360, 260, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CRect viewClient, containerRect;
    view->GetClientRect(&viewClient);
    view->GetContainer().GetWindowRect(&containerRect);
    EXPECT_EQ(containerRect.Size(), viewClient.Size());
    frame->DestroyWindow();
}

}  // namespace
