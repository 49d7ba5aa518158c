// The header control on the test display: extras following inserts and
// deletes, fixed columns (no resize cursor, no divider double click), auto
// fit, divider limits, dividers and sort arrow by pixel, tooltip text, the
// theme; and column drag and drop: the reorder, the parent's vetoes, no drag
// without HDS_DRAGDROP, the drop zones and the marker's shape.
#include "ODTestSupport.h"

#include <memory>
#include <algorithm>
#include <numeric>
#include <vector>

#include "ODHeaderCtrl.h"
#include "ODLibrary.h"

namespace {

using namespace odtest;

// The header's parent: records notification codes and answers them.
class CHeaderParent : public CWnd
{
public:
    std::vector<UINT> codes;
    LRESULT beginAnswer = 0;
    LRESULT endAnswer = 0;

    BOOL CreateHidden() { return CreateEx(0, AfxRegisterWndClass(0), "hp", WS_POPUP, 0, 0, 400, 200, NULL, NULL); }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_NOTIFY) {
            const NMHDR* hdr = reinterpret_cast<const NMHDR*>(lParam);
            codes.push_back(hdr->code);
            if (hdr->code == HDN_BEGINDRAG)
                return beginAnswer;
            if (hdr->code == HDN_ENDDRAG)
                return endAnswer;
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

LPARAM At(int x, int y)
{
    return MAKELPARAM(x, y);
}

class HeaderTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(parent.CreateHidden()) << "needs the test display"; }

    // Columns "A".."D" of 100 each: 0..100, 100..200, 200..300, 300..400.
    void Make(CODHeaderCtrl& header, DWORD style = HDS_DRAGDROP, int columns = 4)
    {
        ASSERT_TRUE(header.Create(WS_CHILD | WS_VISIBLE | HDS_HORZ | style, CRect(0, 0, 400, 24), &parent, 5));
        for (int i = 0; i < columns; ++i)
            Insert(header, i, 100);
    }
    static void Insert(CODHeaderCtrl& header, int at, int width)
    {
        char text[2] = {char('A' + at), 0};
        HDITEMA item = {};
        item.mask = HDI_WIDTH | HDI_TEXT | HDI_FORMAT;
        item.cxy = width;
        item.pszText = text;
        item.fmt = HDF_LEFT | HDF_STRING;
        ASSERT_GE(::SendMessageA(header.m_hWnd, HDM_INSERTITEMA, at, reinterpret_cast<LPARAM>(&item)), 0);
    }
    static int Width(CODHeaderCtrl& header, int index)
    {
        HDITEMA item = {};
        item.mask = HDI_WIDTH;
        ::SendMessageA(header.m_hWnd, HDM_GETITEMA, index, reinterpret_cast<LPARAM>(&item));
        return item.cxy;
    }
    static std::vector<int> Order(CODHeaderCtrl& header)
    {
        std::vector<int> order(size_t(header.GetItemCount()));
        header.GetOrderArray(order.data(), int(order.size()));
        return order;
    }

    CHeaderParent parent;
};

TEST_F(HeaderTest, ExtrasFollowInsertsAndDeletes)
{
    CODHeaderCtrl header;
    Make(header, 0, 2);
    ODHeaderItemEx ex;
    ex.ownerValue = 11;
    ASSERT_TRUE(header.SetItemEx(0, &ex));
    ex.ownerValue = 22;
    ASSERT_TRUE(header.SetItemEx(1, &ex));
    Insert(header, 1, 50);                // between them
    ASSERT_EQ(header.ExtrasCount(), 3);
    EXPECT_EQ(header.GetItemOwnerValue(0), 11);
    EXPECT_EQ(header.GetItemOwnerValue(1), 0) << "new extras are empty";
    EXPECT_EQ(header.GetItemOwnerValue(2), 22);
    Insert(header, 99, 50);               // beyond the count: appended
    EXPECT_EQ(header.ExtrasCount(), 4);
    EXPECT_EQ(header.GetItemOwnerValue(2), 22);
    header.DeleteItem(0);
    EXPECT_EQ(header.ExtrasCount(), 3);
    EXPECT_EQ(header.GetItemOwnerValue(1), 22);
    EXPECT_FALSE(header.SetItemEx(3, &ex));
    EXPECT_EQ(header.GetItemOwnerValue(7), 0);
}

TEST_F(HeaderTest, InsertItemExClampsAndFixedColumnsReportTheirWidth)
{
    CODHeaderCtrl header;
    Make(header, 0, 3);
    struct Case {
        const char* what;
        int index, flags, min, max;
        int width;      // after InsertItemEx
        int reportedMin, reportedMax;
    };
    const Case cases[] = {
        {"below the minimum", 0, 0, 120, 0, 120, 120, 0},
        {"above the maximum", 1, 0, 0, 80, 80, 0, 80},
        {"fixed: no clamp, its width as both limits", 2, odheader::kExFixedWidth, 150, 300, 100, 100, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ODHeaderItemEx ex;
        ex.flags = c.flags;
        ex.minWidth = c.min;
        ex.maxWidth = c.max;
        ASSERT_TRUE(header.InsertItemEx(c.index, &ex));
        EXPECT_EQ(Width(header, c.index), c.width);
        ODHeaderItemEx out;
        ASSERT_TRUE(header.GetItemEx(c.index, &out));
        EXPECT_EQ(out.minWidth, c.reportedMin);
        EXPECT_EQ(out.maxWidth, c.reportedMax);
    }
    ODHeaderItemEx fit;
    fit.flags = odheader::kExFitContent;
    ASSERT_TRUE(header.InsertItemEx(0, &fit));
    EXPECT_LT(Width(header, 0), 40) << "a one-letter column measured: margins and a letter";
    EXPECT_FALSE(header.InsertItemEx(5, &fit));
}

TEST_F(HeaderTest, AFixedColumnHasNoResizeCursorAndNoDividerDoubleClick)
{
    CODHeaderCtrl header;
    Make(header, 0, 2);
    header.SetItemFlags(0, odheader::kExFixedWidth);
    parent.ShowWindow(SW_SHOWNA);
    const HCURSOR arrow = ::LoadCursor(NULL, IDC_ARROW);
    struct Case {
        const char* what;
        int x;
        bool arrowOnly;
    };
    const Case cases[] = {
        {"divider of the fixed column", 100, true},
        {"divider of a resizable column", 200, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CPoint screen(c.x, 12);
        header.ClientToScreen(&screen);
        // The native control places its divider cursor by the real pointer.
        ::SetCursorPos(screen.x, screen.y);
        header.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
        ::SetCursor(NULL);
        header.SendMessage(WM_SETCURSOR, WPARAM(header.m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(::GetCursor() == arrow, c.arrowOnly);
    }
    parent.codes.clear();
    header.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, At(100, 12));
    EXPECT_TRUE(parent.codes.empty()) << "swallowed";
    parent.ShowWindow(SW_HIDE);
    ::ClipCursor(NULL);
}

TEST_F(HeaderTest, AutoFitKeepsTheSumAtTheParentsWidthWithinLimits)
{
    CODHeaderCtrl header;
    Make(header, 0, 3);
    ODHeaderItemEx capped;
    capped.maxWidth = 60;
    header.SetItemEx(1, &capped);
    header.SetProperty(7, 1);
    EXPECT_TRUE(header.IsAutoFit());
    // Parent 400 wide: 100/100/100 scaled to 133/133/133 (+1), the middle held at 60.
    EXPECT_EQ(Width(header, 1), 60);
    EXPECT_EQ(Width(header, 0) + Width(header, 1) + Width(header, 2), 400);
    parent.SetWindowPos(NULL, 0, 0, 700, 200, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    header.FitColumns();
    EXPECT_EQ(Width(header, 0) + Width(header, 1) + Width(header, 2), 700);
    EXPECT_EQ(Width(header, 1), 60);
    EXPECT_FALSE(header.IsFitting());
}

TEST_F(HeaderTest, DividerLimitsLeaveRoomForTheFollowingColumns)
{
    CODHeaderCtrl header;
    Make(header, 0, 3);
    ODHeaderItemEx ex;
    ex.minWidth = 30;
    header.SetItemEx(0, &ex);
    ex.minWidth = 150;
    header.SetItemEx(1, &ex);
    ex.minWidth = 120;
    header.SetItemEx(2, &ex);
    odheader::DragLimits l = header.DividerLimits(0);
    EXPECT_EQ(l.smallest, 30);
    EXPECT_EQ(l.largest, odheader::kUnlimitedWidth) << "without auto fit: its own limits";
    header.SetProperty(7, 2);  // auto fit on without fitting now
    l = header.DividerLimits(0);
    // The header is 400 wide: 400 - 150 - 120 = 130.
    EXPECT_EQ(l.largest, 130);
    ex.minWidth = 300;
    header.SetItemEx(2, &ex);
    l = header.DividerLimits(0);
    EXPECT_EQ(l.largest, 30) << "following minimums past the room: held at the smallest";
    // A press on the divider keeps the pointer where the width stays within
    // them: here exactly at 30 from the column's left edge.
    parent.ShowWindow(SW_SHOWNA);
    header.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(100, 12));
    CRect clip;
    ::GetClipCursor(&clip);
    CPoint edge(30, 0);
    header.ClientToScreen(&edge);
    EXPECT_EQ(clip.left, edge.x);
    EXPECT_EQ(clip.right, edge.x + 1);
    header.SendMessage(WM_LBUTTONUP, 0, At(100, 12));
    ::GetClipCursor(&clip);
    EXPECT_EQ(clip.Width(), ::GetSystemMetrics(SM_CXVIRTUALSCREEN)) << "released with the button";
    ::ClipCursor(NULL);
    parent.ShowWindow(SW_HIDE);
}

TEST_F(HeaderTest, DividersAndSortArrowByPixel)
{
    CODHeaderCtrl header;
    Make(header, 0, 2);
    header.SetDividerColors(kRed, kGreen, FALSE);
    header.SetSortColumn(1, 1);
    std::unique_ptr<Canvas> c(new Canvas(400, 24, kBlack));
    header.PaintTo(CDC::FromHandle(c->dc()));
    // Column 0 ends at 100: dark line at x 99, light at x 100, rows 2..21.
    EXPECT_EQ(c->At(99, 12), kRed);
    EXPECT_EQ(c->At(100, 12), kGreen);
    EXPECT_EQ(c->At(99, 1), header.GetBkColor()) << "the lines start 2 below the top";
    // The sort arrow of column 1 (pointing up): its apex at the top centre of
    // an 8 x 8 triangle, (24 - 8 - 1) / 2 = 7 from the top; its right edge in
    // the light pen (150,128,89), its left edge in the dark pen (10,2,0).
    bool light = false, dark = false;
    for (int y = 7; y <= 15; ++y)
        for (int x = 100; x < 200; ++x) {
            light |= c->At(x, y) == RGB(150, 128, 89);
            dark |= c->At(x, y) == RGB(10, 2, 0);
        }
    EXPECT_TRUE(light);
    EXPECT_TRUE(dark);
    // 0xFFFFFFFF draws no line.
    header.SetDividerColors(0xFFFFFFFF, 0xFFFFFFFF, FALSE);
    c.reset(new Canvas(400, 24, kBlack));
    header.PaintTo(CDC::FromHandle(c->dc()));
    EXPECT_EQ(c->At(99, 12), header.GetBkColor());
    EXPECT_EQ(c->At(100, 12), header.GetBkColor());
}

TEST_F(HeaderTest, TooltipTextOfTheItemUnderThePointer)
{
    CODHeaderCtrl header;
    Make(header, 0, 2);
    ODHeaderItemEx ex;
    ex.tooltip = std::string(100, 'x');  // longer than the reply's 80 characters
    header.SetItemEx(1, &ex);
    CPoint screen(150, 12);
    header.ClientToScreen(&screen);
    header.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
    NMTTDISPINFOW info = {};
    info.hdr.hwndFrom = NULL;
    info.hdr.idFrom = CODHeaderCtrl::ToolId;
    info.hdr.code = TTN_NEEDTEXTW;
    header.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    ASSERT_EQ(info.lpszText, info.szText);
    EXPECT_EQ(std::wstring(info.szText), std::wstring(79, L'x')) << "cut and terminated in the buffer";
    EXPECT_EQ(header.TooltipAt(CPoint(150, 12)), ex.tooltip);
    EXPECT_EQ(header.TooltipAt(CPoint(50, 12)), "");
}

TEST_F(HeaderTest, ThemeReloadTakesTheClassColours)
{
    const COLORREF saved = CODHeaderCtrl::s_textColour;
    CODHeaderCtrl header;
    Make(header, 0, 1);
    CODHeaderCtrl::s_textColour = kCyan;
    header.SendMessage(ODGetThemeMessage(), 0, 0);
    EXPECT_EQ(header.GetTextColor(), kCyan);
    CODHeaderCtrl::s_textColour = saved;
}

// ---- Drag and drop -------------------------------------------------------------------------

TEST_F(HeaderTest, DraggingAColumnReordersIt)
{
    struct Case {
        const char* what;
        DWORD style;
        LRESULT begin, end;
        int dropX;
        std::vector<int> order;
        bool image;
    };
    const Case cases[] = {
        // Column 0 dropped right of column 2's centre: divider 3, position 2.
        {"dropped after the third column", HDS_DRAGDROP, 0, 0, 280, {1, 2, 0, 3}, true},
        {"dropped on its own place", HDS_DRAGDROP, 0, 0, 80, {0, 1, 2, 3}, true},
        {"the parent vetoes the drop", HDS_DRAGDROP, 0, 1, 280, {0, 1, 2, 3}, true},
        {"the parent runs the drag", HDS_DRAGDROP, 1, 0, 280, {0, 1, 2, 3}, false},
        {"no drag without HDS_DRAGDROP", 0, 0, 0, 280, {0, 1, 2, 3}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        parent.codes.clear();
        parent.beginAnswer = c.begin;
        parent.endAnswer = c.end;
        CODHeaderCtrl header;
        Make(header, c.style);
        header.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(30, 12));
        header.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(32, 12));  // inside the drag box
        EXPECT_EQ(std::count(parent.codes.begin(), parent.codes.end(), UINT(HDN_BEGINDRAG)), 0);
        header.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(c.dropX, 12));
        const bool dragging = c.style & HDS_DRAGDROP;
        EXPECT_EQ(header.IsColumnDragging() != FALSE, dragging);
        EXPECT_EQ(header.DragImage() != nullptr, c.image);
        if (c.image && c.dropX == 280) {
            EXPECT_NE(header.DropMarker(), nullptr);
        }
        if (!c.image) {
            EXPECT_EQ(header.DropMarker(), nullptr);
        }
        header.SendMessage(WM_LBUTTONUP, 0, At(c.dropX, 12));
        std::vector<UINT> dragCodes;
        for (UINT code : parent.codes)
            if (code == UINT(HDN_BEGINDRAG) || code == UINT(HDN_ENDDRAG))
                dragCodes.push_back(code);
        EXPECT_EQ(dragCodes, dragging ? (std::vector<UINT>{UINT(HDN_BEGINDRAG), UINT(HDN_ENDDRAG)}) : std::vector<UINT>{});
        EXPECT_EQ(Order(header), c.order);
        EXPECT_FALSE(header.IsColumnDragging());
        EXPECT_EQ(header.DragImage(), nullptr);
        EXPECT_EQ(header.DropMarker(), nullptr);
        EXPECT_NE(::GetCapture(), header.m_hWnd);
    }
}

TEST_F(HeaderTest, DropZonesOffTheHeader)
{
    CWnd area;
    ASSERT_TRUE(area.Create(AfxRegisterWndClass(0), "area", WS_CHILD | WS_VISIBLE, CRect(0, 100, 400, 200), &parent, 9));
    parent.ShowWindow(SW_SHOWNA);
    struct Case {
        const char* what;
        int flags;
        int y;
        int zone;
    };
    const Case cases[] = {
        {"over the header", 0, 12, CODHeaderCtrl::DropOverHeader},
        {"over the drop area", 0, 150, CODHeaderCtrl::DropOverArea},
        {"elsewhere", 0, 60, CODHeaderCtrl::DropElsewhere},
        {"a column that may not leave the header", odheader::kExNotRemovable, 150, CODHeaderCtrl::DropNotRemovable},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CODHeaderCtrl header;
        Make(header);
        header.SetProperty(5, reinterpret_cast<LPARAM>(area.m_hWnd));
        header.SetItemFlags(0, c.flags);
        header.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(30, 12));
        header.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(250, 12));
        header.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(250, c.y));
        EXPECT_EQ(header.GetDropZone(), c.zone);
        if (c.zone == CODHeaderCtrl::DropNotRemovable) {
            EXPECT_EQ(::GetCursor(), ::LoadCursor(NULL, IDC_NO));
        }
        header.SendMessage(WM_LBUTTONUP, 0, At(250, c.y));
        EXPECT_EQ(header.GetDropZone(), c.zone) << "readable after the drop";
        if (c.zone != CODHeaderCtrl::DropOverHeader) {
            EXPECT_EQ(Order(header), (std::vector<int>{0, 1, 2, 3})) << "no move off the items";
        }
    }
    parent.ShowWindow(SW_HIDE);
}

TEST_F(HeaderTest, TheDropMarkerIsTwoArrowsAroundTheHeader)
{
    CODHeaderCtrl header;
    Make(header);
    EXPECT_EQ(header.SetHotDivider(2), 2);
    CWnd* marker = header.DropMarker();
    ASSERT_NE(marker, nullptr);
    CRect r;
    marker->GetWindowRect(&r);
    EXPECT_EQ(r.Width(), 12);
    EXPECT_EQ(r.Height(), 24 + 20);
    CPoint divider(200 - 1, 12);
    header.ClientToScreen(&divider);
    EXPECT_EQ(r.left, divider.x - 6) << "1 pixel left of column 2's left edge, centred";
    EXPECT_EQ(r.top + r.Height() / 2, divider.y);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(marker->m_hWnd, region), ERROR);
    EXPECT_TRUE(PtInRegion(region, 6, 5)) << "the arrow above";
    EXPECT_TRUE(PtInRegion(region, 6, 44 - 5)) << "the arrow below";
    EXPECT_FALSE(PtInRegion(region, 6, 22)) << "nothing over the header itself";
    EXPECT_FALSE(PtInRegion(region, 0, 0));
    DeleteObject(region);
    EXPECT_EQ(header.SetHotDivider(-1), -1);
    EXPECT_EQ(header.DropMarker(), nullptr);
}

TEST_F(HeaderTest, CancelModeEndsADrag)
{
    CODHeaderCtrl header;
    Make(header);
    header.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(30, 12));
    header.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(280, 12));
    ASSERT_TRUE(header.IsColumnDragging());
    header.SendMessage(WM_CANCELMODE, 0, 0);
    EXPECT_FALSE(header.IsColumnDragging());
    EXPECT_EQ(header.DragImage(), nullptr);
    EXPECT_EQ(header.DropMarker(), nullptr);
    EXPECT_EQ(Order(header), (std::vector<int>{0, 1, 2, 3}));
}

}  // namespace
