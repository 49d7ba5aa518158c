// The list's painting, pixel by pixel on a memory DC: the background alone
// when there are no rows, palette rows (an index past the palette paints the
// background), a row's extra area drawn by the parent, selection with and
// without the focus, the check-box and radio pictures, the focus rectangle
// inside the grid, background tiles moving with the horizontal scroll,
// expanders and dotted tree lines, a theme change replacing colours set
// earlier, the row height from the font; on the window, the whole client
// painted and the scroll bar up to date after every step.
#include "ODTestSupport.h"

#include <functional>
#include <set>
#include <vector>

#include "ODLibrary.h"
#include "ODListCtrl.h"
#include "ODListTestSupport.h"

namespace {

using namespace odtest;
using namespace odlist;
using odlisttest::Column;

const COLORREF kBack = RGB(250, 250, 250);
const COLORREF kSel = RGB(0, 0, 160);
const COLORREF kSelNoFocus = RGB(200, 200, 0);
const COLORREF kText = RGB(0, 0, 0);
const COLORREF kGrid = RGB(0, 160, 0);
const COLORREF kPalette0 = RGB(255, 128, 0);
const int kRow = 18;

// A parent that paints the extra area of the rows it is told about.
class CPaintParent : public CLogWnd
{
public:
    std::vector<NMODLISTEXTRA> extras;
    COLORREF extraColour = RGB(255, 0, 255);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_NOTIFY && int(reinterpret_cast<NMHDR*>(lParam)->code) == kNotifyDrawExtra) {
            const NMODLISTEXTRA* e = reinterpret_cast<const NMODLISTEXTRA*>(lParam);
            extras.push_back(*e);
            HBRUSH brush = ::CreateSolidBrush(extraColour);
            ::FillRect(e->dc, &e->rect, brush);
            ::DeleteObject(brush);
            return 0;
        }
        return CLogWnd::WindowProc(message, wParam, lParam);
    }
};

class ListPaintTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateHidden(400, 300)) << "needs the test display";
        ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), &parent, 7));
        list.InsertColumn(0, Column("Name", 120));
        list.InsertColumn(1, Column("Score", 80));
        list.ShowColumn(0, 0);
        list.ShowColumn(1, 1);
        list.SetRowHeight(kRow);
        list.SetColor(1, kBack);
        list.SetColor(2, kSel);
        list.SetColor(3, kSelNoFocus);
        list.SetColor(4, kText);
        list.SetColor(7, kGrid);
        top = list.Geometry().ContentRect().top;
    }
    void TearDown() override
    {
        if (list.m_hWnd)
            list.DestroyWindow();
        parent.DestroyWindow();
    }
    // The whole client area drawn into the canvas.
    void Paint()
    {
        canvas.Fill(RGB(1, 2, 3));
        CDC dc;
        dc.Attach(canvas.dc());
        list.DrawItems(&dc);
        dc.Detach();
        GdiFlush();
    }
    int Count(int x0, int y0, int x1, int y1, COLORREF c)
    {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                n += canvas.At(x, y) == c;
        return n;
    }
    void SetValue1(int item, int value1)
    {
        ODLVITEM d = {};
        d.mask = kMaskValue1;
        d.item = item;
        d.value1 = value1;
        ASSERT_TRUE(list.Model().SetItem(&d));
    }

    CPaintParent parent;
    CODListCtrl list;
    Canvas canvas{300, 200};
    int top = 0;
};

TEST_F(ListPaintTest, AnEmptyListPaintsOnlyBackgroundAndGrid)
{
    list.ModifyStyle(0, kStyleVertGrid | kStyleHorzGrid);
    Paint();
    std::set<COLORREF> seen;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x)
            seen.insert(canvas.At(x, y));
    EXPECT_EQ(seen, (std::set<COLORREF>{kBack, kGrid}));
    // Vertical grid lines at the right edge of each column: x 119 and 199.
    EXPECT_EQ(canvas.At(119, 150), kGrid);
    EXPECT_EQ(canvas.At(199, 150), kGrid);
    EXPECT_EQ(canvas.At(120, 150), kBack);

    // With an empty-list text it shows in the text colour near the top.
    list.SetOption(3, reinterpret_cast<intptr_t>("Nothing here"));
    Paint();
    EXPECT_GT(300 * list.Geometry().GetRowHeight() - Count(0, top + 2, 300, top + 2 + list.Geometry().GetRowHeight(), kBack),
              10)
        << "text drawn (antialiased: any colour but the background)";
}

TEST_F(ListPaintTest, PaletteRowsAndIndexesPastThePalette)
{
    for (const char* name : {"north", "east", "south", "west"})
        list.InsertItem(name);
    list.InsertPaletteColor(0, kPalette0);
    SetValue1(0, 0);      // palette colour 0 on an even row
    SetValue1(2, 9);      // past the palette: the background
    SetValue1(3, 1 << 30);
    Paint();
    EXPECT_EQ(canvas.At(190, top + 2), kPalette0) << "row 0, value1 0";
    EXPECT_EQ(canvas.At(190, top + kRow + 2), kBack) << "row 1, no value1";
    EXPECT_EQ(canvas.At(190, top + 2 * kRow + 2), kBack) << "row 2, value1 past the palette";
    EXPECT_EQ(canvas.At(190, top + 3 * kRow + 2), kBack) << "row 3, value1 far past the palette";

    // Odd rows on palette colour 0 with style bit 0x0008.
    SetValue1(0, -1);
    list.ModifyStyle(0, kStyleOddRows);
    Paint();
    EXPECT_EQ(canvas.At(190, top + 2), kBack);
    EXPECT_EQ(canvas.At(190, top + kRow + 2), kPalette0);
}

TEST_F(ListPaintTest, TheParentDrawsARowsExtraArea)
{
    for (const char* name : {"north", "east"})
        list.InsertItem(name);
    list.InsertPaletteColor(0, kPalette0);
    SetValue1(1, 0);  // row 1 in palette colour 0 shows where it starts
    ODLVITEM d = {};
    d.mask = kMaskExtraHeight;
    d.item = 0;
    d.extraHeight = 6;
    ASSERT_TRUE(list.Model().SetItem(&d));
    struct Case
    {
        const char* what;
        int variable;  // option 9
        int extra;
        bool told;
    };
    const Case cases[] = {
        {"variable heights: the parent draws below the row", 1, 6, true},
        {"fixed heights: no extra area", 0, 6, false},
        {"a row without extra height", 1, 0, false},
    };
    for (const Case& k : cases) {
        list.SetOption(9, k.variable);
        d.extraHeight = k.extra;
        ASSERT_TRUE(list.Model().SetItem(&d));
        parent.extras.clear();
        Paint();
        const int nextTop = top + kRow + (k.told ? k.extra : 0);
        EXPECT_EQ(canvas.At(190, nextTop), kPalette0) << k.what << ": the next row starts below";
        EXPECT_EQ(canvas.At(190, nextTop - 1), k.told ? parent.extraColour : kBack) << k.what;
        ASSERT_EQ(parent.extras.size(), k.told ? 1u : 0u) << k.what;
        if (!k.told)
            continue;
        const NMODLISTEXTRA& e = parent.extras[0];
        EXPECT_EQ(e.hdr.hwndFrom, list.m_hWnd) << k.what;
        EXPECT_EQ(e.item, 0) << k.what;
        // The row band (both columns, 200 wide) below the normal height.
        EXPECT_EQ(CRect(e.rect), CRect(0, top + kRow, 200, top + kRow + k.extra)) << k.what;
        EXPECT_EQ(canvas.At(100, top + kRow), parent.extraColour) << k.what << ": drawn on the list's DC";
        EXPECT_EQ(canvas.At(250, top + kRow), kBack) << k.what << ": right of the band";
    }
}

TEST_F(ListPaintTest, SelectionWithAndWithoutTheFocus)
{
    for (const char* name : {"north", "east"})
        list.InsertItem(name);
    list.Model().SelectRange(1, 1, true, false, false, false);
    const int y = top + kRow + 2;
    struct Case
    {
        const char* what;
        bool focus;
        DWORD style;
        COLORREF expected;
    };
    const Case cases[] = {
        {"with the focus", true, 0, kSel},
        {"without the focus the row looks unselected", false, 0, kBack},
        {"without the focus, style 0x0002", false, kStyleKeepSelNoFocus, kSelNoFocus},
    };
    for (const Case& k : cases) {
        list.ModifyStyle(kStyleKeepSelNoFocus, k.style);
        list.SendMessage(k.focus ? WM_SETFOCUS : WM_KILLFOCUS, 0, 0);
        EXPECT_EQ(list.HasFocus(), k.focus ? TRUE : FALSE) << k.what;
        Paint();
        EXPECT_EQ(canvas.At(190, y), k.expected) << k.what;
        EXPECT_EQ(canvas.At(190, top + 2), kBack) << k.what << ": the other row";
    }
}

TEST_F(ListPaintTest, CheckBoxesAndRadioButtons)
{
    // Each row's first cell has one state image; the box sits after the
    // cell margin (6), state-image size row height - 2 after a font.
    const int images[] = {0, 1, 2, 3, 4, 5, 6, 7, 9};
    for (int image : images)
        list.InsertItem("cell", -1, image);
    Paint();
    const int margin = list.Model().GetOption(1);
    const int side = list.Geometry().StateImageWidth();
    ASSERT_GT(side, 4);
    auto boxCount = [&](int row, COLORREF c) {
        const int y0 = top + row * kRow;
        return Count(margin, y0, margin + side + 2, y0 + kRow, c);
    };
    for (int row = 0; row < 9; ++row) {
        const int image = images[row];
        const bool cross = image >= 0 && image <= 7 && (image & 2);
        if (cross)
            EXPECT_GT(boxCount(row, RGB(255, 0, 0)), side) << "state image " << image << " has a red cross";
        else
            EXPECT_EQ(boxCount(row, RGB(255, 0, 0)), 0) << "state image " << image << " has no cross";
    }
    // Picture by picture: an unchecked box differs from a checked one, a
    // radio button from a box, and 9 draws what 0 draws.
    auto picture = [&](int row) {
        std::vector<COLORREF> p;
        const int y0 = top + row * kRow;
        for (int y = y0; y < y0 + kRow; ++y)
            for (int x = margin; x < margin + side; ++x)
                p.push_back(canvas.At(x, y));
        return p;
    };
    EXPECT_NE(picture(0), picture(1)) << "checked";
    EXPECT_NE(picture(0), picture(4)) << "radio";
    EXPECT_NE(picture(4), picture(5)) << "checked radio";
    EXPECT_EQ(picture(8), picture(0)) << "state image 9 is an empty box";
}

TEST_F(ListPaintTest, FocusRectangleStaysInsideTheGrid)
{
    for (const char* name : {"north", "east"})
        list.InsertItem(name);
    list.ModifyStyle(0, kStyleHorzGrid | kStyleVertGrid);
    const int rowHeight = list.Geometry().GetRowHeight();
    list.SetFocusRectStyle(RGB(255, 0, 0), PS_SOLID);
    list.Model().SetFocusCell(1, -1);
    list.SendMessage(WM_SETFOCUS, 0, 0);
    Paint();
    const int rowTop = top + rowHeight, rowBottom = rowTop + rowHeight;
    const COLORREF red = RGB(255, 0, 0);
    EXPECT_EQ(canvas.At(1, rowTop + 5), red) << "left side one pixel in";
    EXPECT_NE(canvas.At(0, rowTop + 5), red);
    EXPECT_EQ(canvas.At(198, rowTop + 5), red) << "right side one pixel inside the last column's grid line";
    EXPECT_EQ(canvas.At(199, rowTop + 5), kGrid);
    EXPECT_EQ(canvas.At(60, rowBottom - 2), red) << "bottom one pixel above the grid line";
    EXPECT_EQ(canvas.At(60, rowBottom - 1), kGrid);
    EXPECT_EQ(canvas.At(60, rowTop), red) << "top on the row's top";

    // No focus rectangle while the list has no focus.
    list.SendMessage(WM_KILLFOCUS, 0, 0);
    Paint();
    EXPECT_EQ(Count(0, rowTop, 300, rowBottom, red), 0);
}

TEST_F(ListPaintTest, TilesFollowTheHorizontalScroll)
{
    // A 16 x 16 tile whose column 0 is red and the rest white, over columns
    // wider than the list.
    list.SetColumnWidth(0, 400);
    list.SetBkImage(MakeBitmap(16, 16, [](int x, int) { return x == 0 ? kRed : kWhite; }));
    struct Case
    {
        int scroll;
        int firstRedX;  // (16 - scroll mod 16) mod 16 inside the content
    };
    for (const Case& k : {Case{0, 0}, Case{5, 11}, Case{21, 11}, Case{16, 0}}) {
        list.SetScrollPosition(SB_HORZ, k.scroll);
        ASSERT_EQ(list.Geometry().GetHorzPos(), k.scroll);
        Paint();
        const int y = top + 40;
        int firstRed = -1;
        for (int x = 0; x < 40 && firstRed < 0; ++x)
            if (canvas.At(x, y) == kRed)
                firstRed = x;
        EXPECT_EQ(firstRed, k.firstRedX) << "scrolled " << k.scroll;
        EXPECT_EQ(canvas.At(k.firstRedX + 16, y), kRed) << "scrolled " << k.scroll;
    }
}

TEST_F(ListPaintTest, ExpandersAndDottedTreeLines)
{
    list.ModifyStyle(0, kStyleTree);
    list.SetColor(8, RGB(255, 0, 255));  // tree lines
    list.SetTreeLines(TRUE);
    const COLORREF shadow = CODListCtrl::s_colours[kClr3DShadow];
    ODLVITEM d = {};
    d.mask = kMaskText;
    d.text = const_cast<char*>("root");
    const NodeHandle a = list.Model().InsertTreeItem(&d, kTreeRoot, kInsertLast, 0);
    d.text = const_cast<char*>("second");
    list.Model().InsertTreeItem(&d, kTreeRoot, kInsertLast, 0);
    d.text = const_cast<char*>("child");
    list.Model().InsertTreeItem(&d, a, kInsertLast, 0);
    ASSERT_EQ(list.Model().GetDisplayCount(), 2) << "collapsed";
    // The expanders alone first: the tree lines run through their centres.
    list.SetTreeLines(FALSE);
    Paint();
    // Row 0 (indent 1): the expander in the square [0, h) of the row;
    // centre (h / 2, top + h / 2); the outer box from centre - 4.
    const int h = list.Geometry().GetRowHeight();
    const int cx = h / 2, cy = top + h / 2;
    EXPECT_EQ(canvas.At(cx - 4, cy - 4), shadow) << "outer box corner";
    EXPECT_EQ(canvas.At(cx - 3, cy - 3), kBack) << "inner box";
    EXPECT_EQ(canvas.At(cx, cy - 2), kText) << "the plus's vertical bar: collapsed";
    EXPECT_EQ(canvas.At(cx - 2, cy), kText) << "its horizontal bar";

    list.Model().Expand(a, 1);
    ASSERT_EQ(list.Model().GetDisplayCount(), 3);
    Paint();
    EXPECT_EQ(canvas.At(cx, cy - 2), kBack) << "expanded: a minus";
    EXPECT_EQ(canvas.At(cx - 2, cy), kText);
    list.SetTreeLines(TRUE);
    Paint();
    // The line from the root node down to its sibling (row 2) runs at the
    // expander centre: dotted, every second pixel.
    const COLORREF line = RGB(255, 0, 255);
    int on = 0, off = 0;
    for (int y = cy + 6; y < top + 2 * h; ++y)
        (canvas.At(cx, y) == line ? on : off) += 1;
    EXPECT_GT(on, 3);
    EXPECT_GE(off, on - 1) << "dotted, not solid";
    // The child's stub at indent 2: from x = 2h + h/2 - 2 back to 2h - h/2.
    const int childY = top + h + h / 2;
    EXPECT_GT(Count(2 * h - h / 2, childY, 2 * h + h / 2 - 1, childY + 1, line), 2);

    list.SetTreeLines(FALSE);
    Paint();
    EXPECT_EQ(Count(0, top, 300, 200, line), 0) << "tree lines off";
}

TEST_F(ListPaintTest, ThemeChangeReplacesSetColours)
{
    list.InsertItem("north");
    const ListColours saved = CODListCtrl::s_colours;
    CODListCtrl::s_colours.c[kClrBackground] = kMagenta;  // what the theme now says
    list.SetColor(1, kGreen);
    Paint();
    EXPECT_EQ(canvas.At(250, 150), kGreen);
    list.SendMessage(ODGetThemeMessage(), 0, 0);
    Paint();
    EXPECT_EQ(canvas.At(250, 150), kMagenta) << "the colour set earlier is replaced";
    EXPECT_EQ(list.GetColor(1), kMagenta);
    EXPECT_EQ(list.SetColor(9, kRed), COLORREF(9)) << "an index past 8 changes nothing";
    EXPECT_EQ(list.GetColor(9), COLORREF(-1));
    CODListCtrl::s_colours = saved;
}

TEST_F(ListPaintTest, RowHeightFollowsTheFont)
{
    struct Case
    {
        const char* what;
        int fontHeight;
        DWORD style;
    };
    for (const Case& k : {Case{"a small font", -11, 0}, Case{"a large font", -24, 0},
                          Case{"with the grid step", -11, kStyleHorzGrid}}) {
        list.ModifyStyle(kStyleHorzGrid, k.style);
        HFONT font = ::CreateFontA(k.fontHeight, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Tahoma");
        ASSERT_NE(font, HFONT(NULL));
        HDC dc = ::GetDC(NULL);
        HGDIOBJ old = ::SelectObject(dc, font);
        TEXTMETRICA tm = {};
        ::GetTextMetricsA(dc, &tm);
        ::SelectObject(dc, old);
        ::ReleaseDC(NULL, dc);
        list.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        const int expected = tm.tmHeight + tm.tmExternalLeading + 2 + (k.style ? 1 : 0);
        EXPECT_EQ(list.Geometry().GetRowHeight(), expected) << k.what;
        EXPECT_EQ(list.Geometry().StateImageWidth(), expected - 2) << k.what;
        list.SendMessage(WM_SETFONT, 0, FALSE);
        ::DeleteObject(font);
    }
}

TEST_F(ListPaintTest, TheWindowPaintsItsWholeClientBelowTheHeader)
{
    // Through its own WM_PAINT (a memory bitmap of the clip box, which
    // starts below the header): the last pixel rows too.
    list.InsertItem("north");
    parent.ShowWindow(SW_SHOWNA);
    list.Invalidate(FALSE);
    list.UpdateWindow();
    CRect client;
    list.GetClientRect(&client);
    HDC dc = ::GetDC(list.m_hWnd);
    ASSERT_NE(dc, HDC(NULL));
    for (int y : {top + 1, int(client.Height()) / 2, int(client.Height()) - 1})
        EXPECT_EQ(::GetPixel(dc, client.Width() - 2, y), kBack) << "row " << y;
    ::ReleaseDC(list.m_hWnd, dc);
    parent.ShowWindow(SW_HIDE);
}

TEST_F(ListPaintTest, ScrollingShowsWhatAFullPaintShows)
{
    // Rows still in view keep their pixels and only the rows uncovered are
    // painted, where everything over the rows moves with them; elsewhere
    // the whole list is painted again. Either way, after every step the
    // window shows what a full paint shows.
    struct Case
    {
        const char* what;
        std::function<void()> setUp;
        bool shifts;  // a line step paints only the row uncovered
    };
    ODLVITEM extra = {};
    extra.mask = kMaskExtraHeight;
    extra.extraHeight = 7;
    const Case cases[] = {
        {"selection, focus rectangle and solid grids",
         [&] {
             list.ModifyStyle(0, kStyleHorzGrid | kStyleVertGrid);
             list.Model().SelectRange(5, 6, true, false, false, false);
             list.Model().SetFocusCell(7, -1);
             list.SendMessage(WM_SETFOCUS, 0, 0);
         },
         true},
        {"the band row", [&] { list.ModifyStyle(0, kStyleBand); }, true},
        {"rows of their own heights",
         [&] {
             for (int item : {2, 3, 9, 30}) {
                 extra.item = item;
                 list.Model().SetItem(&extra);
             }
         },
         true},
        {"a tree with expanders",
         [&] {
             list.Model().DeleteAllItems();
             list.ModifyStyle(0, kStyleTree);
             ODLVITEM d = {};
             d.mask = kMaskText;
             d.text = const_cast<char*>("node");
             for (int i = 0; i < 20; ++i) {
                 const NodeHandle n = list.Model().InsertTreeItem(&d, kTreeRoot, kInsertLast, 0);
                 for (int j = 0; j < 3; ++j)
                     list.Model().InsertTreeItem(&d, n, kInsertLast, 0);
                 if (i % 2 == 0)
                     list.Model().Expand(n, 1);
             }
         },
         true},
        {"dotted tree lines: painted again",
         [&] {
             list.Model().DeleteAllItems();
             list.ModifyStyle(0, kStyleTree);
             list.SetTreeLines(TRUE);
             ODLVITEM d = {};
             d.mask = kMaskText;
             d.text = const_cast<char*>("node");
             const NodeHandle root = list.Model().InsertTreeItem(&d, kTreeRoot, kInsertLast, 0);
             for (int i = 0; i < 60; ++i)
                 list.Model().InsertTreeItem(&d, root, kInsertLast, 0);
             list.Model().InsertTreeItem(&d, kTreeRoot, kInsertLast, 0);
             list.Model().Expand(root, 1);
         },
         false},
        {"a dotted vertical grid: painted again",
         [&] {
             list.ModifyStyle(0, kStyleVertGrid | kStyleHorzGrid);  // rows of 19: an odd step
             list.SetOption(4, 0);
         },
         false},
        {"a background image: painted again",
         [&] { list.SetBkImage(MakeBitmap(16, 16, [](int x, int y) { return (x + y) % 5 ? kWhite : kRed; })); },
         false},
    };
    const int steps[] = {SB_LINEDOWN, SB_LINEDOWN, SB_PAGEDOWN, SB_LINEUP, SB_PAGEUP, SB_BOTTOM, SB_LINEUP, SB_TOP};
    Canvas shown(300, 200), full(300, 200);
    auto capture = [&](Canvas& c) {
        HDC dc = ::GetDC(list.m_hWnd);
        ::BitBlt(c.dc(), 0, 0, 300, 200, dc, 0, 0, SRCCOPY);
        ::ReleaseDC(list.m_hWnd, dc);
        GdiFlush();
    };
    auto differences = [&] {
        int n = 0;
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 300; ++x)
                n += shown.At(x, y) != full.At(x, y);
        return n;
    };
    parent.ShowWindow(SW_SHOWNA);
    for (const Case& k : cases) {
        list.Model().DeleteAllItems();
        list.ModifyStyle(kStyleHorzGrid | kStyleVertGrid | kStyleBand | kStyleTree, 0);
        list.SetTreeLines(FALSE);
        list.SetOption(4, 2);  // solid grid lines
        list.SetBkImage(HBITMAP(NULL));
        list.SendMessage(WM_KILLFOCUS, 0, 0);
        for (int i = 0; i < 60; ++i)
            list.InsertItem(i % 3 ? "row" : "a longer row");
        k.setUp();
        list.SetScrollPosition(SB_VERT, 0);
        list.UpdateWindow();
        ASSERT_GT(list.Model().GetDisplayCount(), 2 * list.Geometry().GetCountPerPage()) << k.what;
        for (size_t i = 0; i < sizeof steps / sizeof steps[0]; ++i) {
            const int before = list.Geometry().GetTopIndex();
            list.SendMessage(WM_VSCROLL, MAKEWPARAM(steps[i], 0), 0);
            ASSERT_NE(list.Geometry().GetTopIndex(), before) << k.what << ", step " << i;
            if (i == 0) {
                CRect update;
                ASSERT_TRUE(list.GetUpdateRect(&update)) << k.what;
                const Rect& c = list.Geometry().ContentRect();
                EXPECT_EQ(update.Height() < c.Height(), k.shifts) << k.what << ": painted " << update.Height();
            }
            list.UpdateWindow();
            capture(shown);
            list.Invalidate(FALSE);
            list.UpdateWindow();
            capture(full);
            EXPECT_EQ(differences(), 0) << k.what << ", step " << i;
        }
    }
    list.SetBkImage(HBITMAP(NULL));
    parent.ShowWindow(SW_HIDE);
}

TEST_F(ListPaintTest, TheScrollBarShowsEveryStep)
{
    // The bar is redrawn only when what it shows changed: after every step
    // its pixels are those a full repaint of the frame gives.
    for (int i = 0; i < 200; ++i)
        list.InsertItem("row");
    parent.ShowWindow(SW_SHOWNA);
    list.UpdateWindow();
    auto barPixels = [&] {
        SCROLLBARINFO info = {};
        info.cbSize = sizeof info;
        CRect window;
        list.GetWindowRect(&window);
        std::vector<COLORREF> pixels;
        if (!::GetScrollBarInfo(list.m_hWnd, OBJID_VSCROLL, &info) || (info.rgstate[0] & STATE_SYSTEM_INVISIBLE))
            return pixels;
        const CRect bar(info.rcScrollBar);
        Canvas shot(bar.Width(), bar.Height());
        HDC dc = ::GetWindowDC(list.m_hWnd);
        ::BitBlt(shot.dc(), 0, 0, bar.Width(), bar.Height(), dc, bar.left - window.left, bar.top - window.top, SRCCOPY);
        ::ReleaseDC(list.m_hWnd, dc);
        GdiFlush();
        for (int y = 0; y < bar.Height(); ++y)
            for (int x = 0; x < bar.Width(); ++x)
                pixels.push_back(shot.At(x, y));
        return pixels;
    };
    struct Case
    {
        const char* what;
        std::function<void()> step;
    };
    auto scroll = [&](int code) { return [&, code] { list.SendMessage(WM_VSCROLL, MAKEWPARAM(code, 0), 0); }; };
    const Case cases[] = {
        {"a page down moves the thumb", scroll(SB_PAGEDOWN)},
        {"a line down", scroll(SB_LINEDOWN)},
        {"to the bottom", scroll(SB_BOTTOM)},
        {"back to the top", scroll(SB_TOP)},
        {"more rows shrink the thumb",
         [&] {
             for (int i = 0; i < 2000; ++i)
                 list.InsertItem("more");
         }},
        {"a line in a long list may leave the thumb where it was", scroll(SB_LINEDOWN)},
        {"fewer rows grow it again", [&] { list.DeleteAllItems(); for (int i = 0; i < 40; ++i) list.InsertItem("row"); }},
    };
    for (const Case& k : cases) {
        k.step();
        list.UpdateWindow();
        const std::vector<COLORREF> shown = barPixels();
        ASSERT_FALSE(shown.empty()) << k.what << ": the bar is shown";
        ::RedrawWindow(list.m_hWnd, NULL, NULL, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOCHILDREN);
        EXPECT_TRUE(shown == barPixels()) << k.what;
    }
    parent.ShowWindow(SW_HIDE);
}

TEST_F(ListPaintTest, PaintingGivesBackItsGdiObjects)
{
    for (int i = 0; i < 30; ++i)
        list.InsertItem("row", -1, i % 8);
    list.ModifyStyle(0, kStyleHorzGrid | kStyleVertGrid);
    list.Model().SelectRange(3, 5, true, false, false, false);
    // Both kinds of paint once (the header and bars make what they keep),
    // then many times more: nothing more is held.
    parent.ShowWindow(SW_SHOWNA);
    auto paintBoth = [&] {
        Paint();
        list.Invalidate(FALSE);
        list.UpdateWindow();
    };
    paintBoth();
    const int before = CountGdiObjects();
    ASSERT_GT(before, 0) << "the counter sees the canvas and the list's fonts";
    for (int i = 0; i < 20; ++i)
        paintBoth();
    EXPECT_EQ(CountGdiObjects(), before);
    parent.ShowWindow(SW_HIDE);
}

}  // namespace
