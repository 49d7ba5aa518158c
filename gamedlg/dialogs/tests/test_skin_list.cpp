// The skinned report list on a real list-view control: the scroll messages
// its two bars send for clicks, drags and the horizontal bar's auto-repeat
// (a list that cannot scroll included), the bars' look with and without a
// thumb, and a selected row that stays selected through its custom draw.
#include "GameDlgTestSupport.h"

#include "SkinListCtrl.h"
#include "gamedlg_ids.h"

#include <commctrl.h>

#include <utility>

namespace {

using namespace gamedlgtest;
using namespace reportlist;

// The parent: a visible popup that logs the list's custom-draw notices.
class CListHost : public CWnd
{
public:
    struct DrawNotice {
        DWORD stage;
        int item;
        bool selectedBefore;   // the item's selected state when the notice came
    };
    std::vector<DrawNotice> notices;
    CSkinListCtrl* pList = NULL;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_NOTIFY && pList != NULL) {
            const NMHDR* hdr = reinterpret_cast<const NMHDR*>(lParam);
            if (hdr->hwndFrom == pList->m_hWnd && hdr->code == NM_CUSTOMDRAW) {
                const NMCUSTOMDRAW* cd = reinterpret_cast<const NMCUSTOMDRAW*>(lParam);
                const int item = (int)cd->dwItemSpec;
                const bool sel = cd->dwDrawStage != CDDS_PREPAINT &&
                                 (pList->GetItemState(item, LVIS_SELECTED) & LVIS_SELECTED) != 0;
                notices.push_back({cd->dwDrawStage, item, sel});
            }
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// What the list received from its bars.
struct ListMessage {
    UINT message;
    int code;   // the scroll code, or the pixels of an LVM_SCROLL
    bool operator==(const ListMessage& o) const { return message == o.message && code == o.code; }
};
std::vector<ListMessage> g_received;
WNDPROC g_listProc = NULL;

LRESULT CALLBACK ListSpy(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_VSCROLL || message == WM_HSCROLL)
        g_received.push_back({message, (int)LOWORD(wParam)});
    else if (message == LVM_SCROLL)
        g_received.push_back({message, (int)(wParam != 0 ? wParam : lParam)});
    return ::CallWindowProcA(g_listProc, hWnd, message, wParam, lParam);
}

std::string Describe(const std::vector<ListMessage>& v)
{
    std::string s;
    for (const ListMessage& m : v) {
        s += m.message == WM_VSCROLL ? "V" : m.message == WM_HSCROLL ? "H" : "S";
        s += std::to_string(m.code) + " ";
    }
    return s;
}

class SkinListTest : public ::testing::Test
{
protected:
    static constexpr int kListWidth = 300;
    static constexpr int kListHeight = 200;
    static constexpr int kColumns = 7;

    void SetUp() override
    {
        ASSERT_TRUE(m_res.Ok()) << "Mardavel_Res.dll beside the test";
        INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES};
        ::InitCommonControlsEx(&icc);
        ASSERT_TRUE(m_host.CreateEx(0, AfxRegisterWndClass(0), "list host", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300,
                                    NULL, NULL));
    }
    void TearDown() override
    {
        if (m_list.GetSafeHwnd() != NULL)
            DropList(m_list);
        m_host.DestroyWindow();
        PumpPendingMessages();
    }

    // A report list of `rows` rows in seven 80-pixel columns, dressed and
    // spied on.
    void MakeList(int rows) { MakeListInto(m_list, rows); }
    void MakeListInto(CSkinListCtrl& list, int rows)
    {
        HWND hList = ::CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT |
                                                                LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                                       10, 10, kListWidth, kListHeight, m_host.m_hWnd, (HMENU)8033, NULL, NULL);
        ASSERT_NE(hList, (HWND)NULL);
        ASSERT_TRUE(list.SubclassWindow(hList));
        for (int c = 0; c < kColumns; c++)
            list.InsertColumn(c, "col", LVCFMT_LEFT, 80);
        for (int r = 0; r < rows; r++) {
            list.InsertItem(r, ("hand " + std::to_string(r)).c_str());
            for (int c = 1; c < kColumns; c++)
                list.SetItemText(r, c, std::to_string(r * 10 + c).c_str());
        }
        list.SetupScrollBars(FALSE);
        m_host.pList = &list;
        g_listProc = (WNDPROC)::SetWindowLongPtrA(hList, GWLP_WNDPROC, (LONG_PTR)ListSpy);
        m_pSpied = &list;
        list.UpdateWindow();
        list.RefreshBars();
        PumpPendingMessages();
        g_received.clear();
    }
    void DropList(CSkinListCtrl& list)
    {
        if (m_pSpied == &list && g_listProc != NULL && list.GetSafeHwnd() != NULL)
            ::SetWindowLongPtrA(list.m_hWnd, GWLP_WNDPROC, (LONG_PTR)g_listProc);
        if (m_pSpied == &list)
            g_listProc = NULL;
        m_host.pList = NULL;
        list.VBar().DestroyWindow();
        list.HBar().DestroyWindow();
        list.DestroyWindow();
    }

    CSkinListCtrl* m_pSpied = NULL;
    ResourceLibrary m_res;
    CListHost m_host;
    CSkinListCtrl m_list;
};

enum StepKind { kDown, kMove, kUp, kTimer };
struct Step {
    StepKind kind;
    int along;   // pointer along the bar, or the timer id
};

void Send(CSkinScrollBarBase& bar, const Step& s)
{
    const bool vertical = bar.Geometry().orientation == kVertical;
    const LPARAM at = vertical ? MAKELPARAM(6, s.along) : MAKELPARAM(s.along, 6);
    switch (s.kind) {
    case kDown:
        bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
        break;
    case kMove:
        bar.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, at);
        break;
    case kUp:
        bar.SendMessage(WM_LBUTTONUP, 0, at);
        break;
    case kTimer:
        bar.SendMessage(WM_TIMER, (WPARAM)s.along, 0);
        break;
    }
}

TEST_F(SkinListTest, BarsSendScrollMessagesForClicksAndRepeats)
{
    MakeList(40);
    const int h = kListHeight;   // the vertical bar is as tall as the list
    const int w = kListWidth;    // the horizontal bar as wide
    const UINT V = WM_VSCROLL, H = WM_HSCROLL;
    struct Case {
        const char* what;
        bool vertical;
        bool fromBottom;   // the list scrolled to its end first (thumb at the bottom)
        std::vector<Step> steps;
        std::vector<ListMessage> expected;
    };
    const Case cases[] = {
        {"down arrow: a line at the press and one at the release", true, false,
         {{kDown, h - 5}, {kUp, h - 5}}, {{V, 1}, {V, 1}}},
        {"up arrow: the same upwards", true, true, {{kDown, 22}, {kUp, 22}}, {{V, 0}, {V, 0}}},
        {"pressed down arrow, released in the track below the thumb", true, false,
         {{kDown, h - 5}, {kUp, 150}}, {{V, 1}, {V, 1}}},
        {"track below the thumb", true, false, {{kDown, 150}, {kUp, 150}}, {{V, 1}}},
        {"track above the thumb", true, true, {{kDown, 40}, {kUp, 40}}, {{V, 0}}},
        {"the cap beside the header steps up", true, true, {{kDown, 5}, {kUp, 5}}, {{V, 0}}},
        {"a click on the thumb sends nothing", true, false, {{kDown, 40}, {kUp, 40}}, {}},
        {"right arrow: nothing at the press, repeats after the delay, one at the release", false, false,
         {{kDown, w - 5}, {kTimer, 2}, {kTimer, 1}, {kTimer, 1}, {kTimer, 1}, {kUp, w - 5}, {kTimer, 1}},
         {{H, 1}, {H, 1}, {H, 1}, {H, 1}}},
        {"left arrow released before the delay", false, true, {{kDown, 5}, {kUp, 5}}, {{H, 0}}},
        {"the delay alone repeats nothing", false, false, {{kDown, w - 5}, {kTimer, 2}, {kUp, w - 5}}, {{H, 1}}},
        {"horizontal track right of the thumb", false, false, {{kDown, 200}, {kUp, 200}}, {{H, 1}}},
        {"horizontal thumb: nothing", false, false, {{kDown, 20}, {kUp, 20}}, {}},
    };
    for (const Case& c : cases) {
        m_list.SendMessage(c.vertical ? WM_VSCROLL : WM_HSCROLL, c.fromBottom ? SB_BOTTOM : SB_TOP, 0);
        m_list.RefreshBars();
        g_received.clear();
        CSkinScrollBarBase& bar = c.vertical ? (CSkinScrollBarBase&)m_list.VBar() : m_list.HBar();
        for (const Step& s : c.steps)
            Send(bar, s);
        EXPECT_EQ(g_received, c.expected) << c.what << ": got " << Describe(g_received);
        EXPECT_FALSE(bar.GetPress().dragging || bar.GetPress().backPressed || bar.GetPress().forwardPressed) << c.what;
    }
}

TEST_F(SkinListTest, DraggingTheThumbScrollsTheListByWholeRows)
{
    MakeList(40);
    CSkinVScrollBar& bar = m_list.VBar();
    const int limit = m_list.GetScrollLimit(SB_VERT);
    ASSERT_GT(limit, 0);
    CRect row;
    ASSERT_TRUE(m_list.GetItemRect(0, &row, LVIR_BOUNDS));
    const BarGeometry g = bar.Geometry();
    ASSERT_EQ(g.length, kListHeight);
    struct Case {
        const char* what;
        int pointer;
    };
    const Case cases[] = {
        {"to the middle", 120},
        {"below the track: the list's end", 400},
        {"back above the track: the first row", -50},
    };
    for (const Case& c : cases) {
        const int before = m_list.GetScrollPos(SB_VERT);
        g_received.clear();
        Send(bar, {kDown, bar.GetThumbStart() + 10});
        Send(bar, {kMove, c.pointer});
        const int start = bar.GetThumbStart();
        Send(bar, {kUp, c.pointer});
        EXPECT_EQ(start, g.DragThumb(c.pointer)) << c.what;
        const int target = g.TargetPosition(start, limit);
        EXPECT_EQ(m_list.GetScrollPos(SB_VERT), target) << c.what;
        std::vector<ListMessage> expected;
        if (target != before)
            expected.push_back({LVM_SCROLL, (target - before) * row.Height()});
        expected.push_back({WM_VSCROLL, kEndScroll});
        EXPECT_EQ(g_received, expected) << c.what << ": got " << Describe(g_received);
    }
    EXPECT_EQ(m_list.GetScrollPos(SB_VERT), 0);
}

TEST_F(SkinListTest, AListThatCannotScrollHasNoThumbToDrag)
{
    MakeList(3);
    CSkinVScrollBar& bar = m_list.VBar();
    ASSERT_EQ(m_list.GetScrollLimit(SB_VERT), 0);
    EXPECT_FALSE(bar.CanScroll());
    // Where the thumb would be: a press, a drag, a release in the track.
    Send(bar, {kDown, 40});
    Send(bar, {kMove, 150});
    Send(bar, {kUp, 150});
    EXPECT_EQ(g_received, (std::vector<ListMessage>{{WM_VSCROLL, kLineForward}})) << Describe(g_received);
    EXPECT_EQ(bar.GetThumbStart(), 30);
}

// The colour of a bitmap resource's pixel.
COLORREF ResourcePixel(UINT id, int x, int y)
{
    HBITMAP bmp = ::LoadBitmapA(AfxFindResourceHandle(MAKEINTRESOURCE(id), RT_BITMAP), MAKEINTRESOURCE(id));
    HDC dc = ::CreateCompatibleDC(NULL);
    HGDIOBJ old = ::SelectObject(dc, bmp);
    const COLORREF c = ::GetPixel(dc, x, y);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::DeleteObject(bmp);
    return c;
}

// The bar drawn into a 32-bit memory picture; the colour at a point.
COLORREF BarPixel(CSkinScrollBarBase& bar, int x, int y)
{
    CRect rc;
    bar.GetClientRect(&rc);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = rc.Width();
    bi.bmiHeader.biHeight = -rc.Height();
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = NULL;
    HBITMAP dib = ::CreateDIBSection(NULL, &bi, DIB_RGB_COLORS, &bits, NULL, 0);
    CDC dc;
    dc.CreateCompatibleDC(NULL);
    HGDIOBJ old = ::SelectObject(dc.GetSafeHdc(), dib);
    bar.Draw(&dc);
    const COLORREF c = dc.GetPixel(x, y);
    ::SelectObject(dc.GetSafeHdc(), old);
    ::DeleteObject(dib);
    return c;
}

TEST_F(SkinListTest, BarLookWithAndWithoutAThumb)
{
    // Frame colours from the pictures: the down arrow's normal and disabled
    // frames (a pixel off the arrow's point), the vertical thumb's face and
    // the track.
    const COLORREF downNormal = ResourcePixel(IDB_SKINLIST_DOWN_ARROW, 2, 2);
    const COLORREF downDisabled = ResourcePixel(IDB_SKINLIST_DOWN_ARROW, 3 * kArrowFrameWidth + 2, 2);
    const COLORREF thumbFace = ResourcePixel(IDB_SKINLIST_VTHUMB, 4, 20);
    const COLORREF track = ResourcePixel(IDB_SKINLIST_VTRACK, 5, 0);
    ASSERT_NE(downNormal, downDisabled);
    ASSERT_NE(thumbFace, track);
    struct Case {
        const char* what;
        int rows;
        COLORREF down;
        COLORREF atThumb;
    };
    const Case cases[] = {
        {"a list that scrolls: thumb at the top, down arrow usable", 40, downNormal, thumbFace},
        {"a list that cannot scroll: no thumb, down arrow disabled", 3, downDisabled, track},
    };
    for (const Case& c : cases) {
        CSkinListCtrl list;
        MakeListInto(list, c.rows);
        CSkinVScrollBar& bar = list.VBar();
        EXPECT_EQ(BarPixel(bar, 2, kListHeight - kArrowLength + 2), c.down) << c.what;
        // 30 is the thumb's first row; 20 rows into it, 4 pixels in.
        EXPECT_EQ(BarPixel(bar, 2 + 4, 30 + 20), c.atThumb) << c.what;
        DropList(list);
    }
}

TEST_F(SkinListTest, ASelectedRowStaysSelectedThroughItsCustomDraw)
{
    MakeList(10);
    m_list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
    PumpPendingMessages();
    m_host.notices.clear();
    m_list.RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    bool prePaintSelected = false, postPaintSeen = false, otherPostPaint = false;
    for (const CListHost::DrawNotice& n : m_host.notices) {
        if (n.stage == CDDS_ITEMPREPAINT && n.item == 2)
            prePaintSelected = n.selectedBefore;
        if (n.stage == CDDS_ITEMPOSTPAINT)
            (n.item == 2 ? postPaintSeen : otherPostPaint) = true;
    }
    EXPECT_TRUE(prePaintSelected) << "the row was painted through the custom draw";
    EXPECT_TRUE(postPaintSeen);
    EXPECT_FALSE(otherPostPaint) << "only the selected row asks to be told after painting";
    EXPECT_EQ(m_list.GetItemState(2, LVIS_SELECTED), (UINT)LVIS_SELECTED);
    EXPECT_EQ(m_list.GetSelectedCount(), 1u);
    // The round trip of the state leaves nothing to paint again.
    EXPECT_FALSE(::GetUpdateRect(m_list.m_hWnd, NULL, FALSE));
}

}  // namespace

namespace {

TEST_F(SkinListTest, ListHeaderAndBarsGiveBackTheirPictures)
{
    const int before = CountGdiObjects();
    ASSERT_GT(before, 0) << "the GDI object counter sees objects";
    int during = 0;
    {
        CSkinListCtrl list;
        MakeListInto(list, 40);
        list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
        list.RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        list.VBar().RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
        list.HBar().RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
        during = CountGdiObjects();
        DropList(list);
    }
    PumpPendingMessages();
    EXPECT_GT(during, before) << "the list's pictures were counted";
    EXPECT_EQ(CountGdiObjects(), before);
}

}  // namespace
