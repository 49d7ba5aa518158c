// The skinned list box on the test display: insert answers, the
// notifications of clicks, SetCurSel and the notify switch (1006 before
// LBN_SELCHANGE), selection by style through the mouse with Ctrl and Shift,
// the wrapping arrow keys scrolling the target into view, the highlight
// following the tracked item and images beside or under the text (pixels),
// fixed owner-drawn rows of the measured height, the theme's colours replacing an
// owner's, bad indexes refused, ResetContent forgetting the current item
// and anchor, the font and item height, and the top index and hit test of
// rows of different heights under a scroll offset.
#include "ODTestSupport.h"

#include <utility>
#include <vector>

#include "ODLibrary.h"
#include "ODListBox.h"

namespace {

using namespace odtest;

const UINT kListId = 7;

// The list's parent: records (id, code) of every WM_COMMAND.
class CListParent : public CWnd
{
public:
    std::vector<std::pair<UINT, UINT>> commands;
    BOOL CreateHidden() { return CreateEx(0, AfxRegisterWndClass(0), "lp", WS_POPUP, 0, 0, 400, 300, NULL, NULL); }
    std::vector<UINT> Codes() const
    {
        std::vector<UINT> out;
        for (const auto& c : commands)
            out.push_back(c.second);
        return out;
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND) {
            commands.push_back({LOWORD(wParam), HIWORD(wParam)});
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

bool g_ctrl = false, g_shift = false;
SHORT WINAPI FakeKeyState(int key)
{
    const bool down = (key == VK_CONTROL && g_ctrl) || (key == VK_SHIFT && g_shift);
    return down ? static_cast<SHORT>(0x8000) : 0;
}

// Rows of 10, 30, 5, 20, 15, 40 pixels (tops 0, 10, 40, 45, 65, 80; 120 in all).
class CVariableList : public CODListBox
{
public:
    void MeasureItem(LPMEASUREITEMSTRUCT mi) override
    {
        static const UINT kHeights[] = {10, 30, 5, 20, 15, 40};
        mi->itemHeight = kHeights[mi->itemID % 6];
    }
};

// Records the owner-draw calls: (item, action, state).
class COwnerDrawnList : public CODListBox
{
public:
    struct Call
    {
        UINT item, action, state;
    };
    std::vector<Call> calls;
    void DrawItem(LPDRAWITEMSTRUCT di) override { calls.push_back({di->itemID, di->itemAction, di->itemState}); }
};

// Fixed rows of 30: the hook's answer at creation.
class CTallRows : public CODListBox
{
public:
    void MeasureItem(LPMEASUREITEMSTRUCT mi) override
    {
        EXPECT_EQ(mi->CtlType, UINT(ODT_LISTBOX));
        EXPECT_EQ(mi->itemID, 0u);
        mi->itemHeight = 30;
    }
};

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

class ListBoxTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateHidden()) << "needs the test display";
        savedKeyState = CODListBox::s_keyState;
        CODListBox::s_keyState = FakeKeyState;
        g_ctrl = g_shift = false;
    }
    void TearDown() override
    {
        CODListBox::s_keyState = savedKeyState;
        ODExitLibrary();
    }

    // A 200 x 120 list (ten rows of 12) with items "item 0" .. "item n-1".
    void Make(CODListBox& list, DWORD style, int items)
    {
        ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | style, CRect(0, 0, 200, 120), &parent, kListId));
        for (int i = 0; i < items; ++i)
            list.AddString(("item " + std::to_string(i)).c_str(), DWORD(100 + i));
        parent.commands.clear();
    }
    // Row i's middle in client coordinates at scroll position 0.
    static LPARAM Row(int i) { return At(50, i * 12 + 6); }

    std::vector<int> Selected(CODListBox& list)
    {
        std::vector<int> out(size_t(list.GetCount()) + 1);
        out.resize(size_t(list.GetSelItems(list.GetCount() + 1, out.data())));
        return out;
    }

    CListParent parent;
    SHORT(WINAPI* savedKeyState)(int) = nullptr;
};

TEST_F(ListBoxTest, InsertPositionsAnswerTheLastIndex)
{
    CODListBox list;
    Make(list, 0, 0);
    EXPECT_EQ(list.AddString("b", 5), 0);
    EXPECT_EQ(list.InsertString(-1, "a"), 1) << "first, answering count - 1";
    EXPECT_EQ(list.InsertString(99, "d"), 2);
    EXPECT_EQ(list.InsertString(2, "c"), 3);
    const char* order[] = {"a", "b", "c", "d"};
    for (int i = 0; i < 4; ++i) {
        CString text;
        list.GetText(i, text);
        EXPECT_STREQ(text, order[i]);
    }
    EXPECT_EQ(list.GetItemData(1), 5u);
    ODLBITEM item = {0, "img", 9, ODLB_SELECTED, ODLB_TEXT | ODLB_IMAGE, 3, ODLB_IMAGE_UNDER};
    EXPECT_EQ(list.InsertItem(1, item), 4);
    ODLBITEM back = {};
    ASSERT_TRUE(list.GetItem(1, back));
    EXPECT_STREQ(back.text, "img");
    EXPECT_EQ(back.state, 0u) << "insertion clears the state";
    EXPECT_EQ(back.image, 3);
    EXPECT_EQ(back.placement, ODLB_IMAGE_UNDER);
    EXPECT_EQ(list.DeleteString(1), 4);
    // The scroll height follows the rows: 4 x 12.
    CSize total;
    list.GetDeviceScrollSizes(nullptr, &total, nullptr, nullptr);
    EXPECT_EQ(total.cy, 48);
}

TEST_F(ListBoxTest, Notifications)
{
    const UINT kClicked = CODListBox::NotifyItemClicked;
    struct Case {
        const char* what;
        std::function<void(CODListBox&)> act;
        std::vector<UINT> codes;
    };
    const Case cases[] = {
        {"a click: 1006 then LBN_SELCHANGE", [](CODListBox& l) { l.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Row(2)); },
         {kClicked, LBN_SELCHANGE}},
        {"a click on the selected item: the same again",
         [](CODListBox& l) {
             l.SetNotify(FALSE);
             l.SetCurSel(2);
             l.SetNotify(TRUE);
             l.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Row(2));
         },
         {kClicked, LBN_SELCHANGE}},
        {"a click below the items: nothing", [](CODListBox& l) { l.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(50, 110)); },
         {}},
        {"a double click: LBN_DBLCLK", [](CODListBox& l) { l.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, Row(1)); },
         {LBN_DBLCLK}},
        {"SetCurSel: LBN_SELCHANGE", [](CODListBox& l) { l.SetCurSel(3); }, {LBN_SELCHANGE}},
        {"SetCurSel of a bad index: nothing", [](CODListBox& l) { EXPECT_EQ(l.SetCurSel(5), LB_ERR); }, {}},
        {"the pointer moving selects silently", [](CODListBox& l) { l.SendMessage(WM_MOUSEMOVE, 0, Row(4)); }, {}},
        {"an arrow key: LBN_SELCHANGE", [](CODListBox& l) { l.SendMessage(WM_KEYDOWN, VK_DOWN, 0); },
         {LBN_SELCHANGE}},
        {"the switch off: a click sends nothing",
         [](CODListBox& l) {
             EXPECT_TRUE(l.SetNotify(FALSE));
             l.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Row(1));
             l.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
         },
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CODListBox list;
        Make(list, 0, 5);
        c.act(list);
        EXPECT_EQ(parent.Codes(), c.codes);
        for (const auto& cmd : parent.commands)
            EXPECT_EQ(cmd.first, kListId);
    }
}

TEST_F(ListBoxTest, SelectionStylesThroughTheMouse)
{
    struct Click {
        int row;
        bool ctrl, shift;
    };
    struct Case {
        const char* what;
        DWORD style;
        std::vector<Click> clicks;
        std::vector<int> selected;
        int curSel;
    };
    const Case cases[] = {
        {"single", 0, {{1, false, false}, {3, true, true}}, {3}, 3},
        {"multiple toggles", LBS_MULTIPLESEL, {{1, false, false}, {3, false, false}, {1, false, false}}, {3}, 3},
        {"extended: Ctrl adds", LBS_EXTENDEDSEL, {{1, false, false}, {3, true, false}}, {1, 3}, 1},
        {"extended: Shift ranges from the anchor", LBS_EXTENDEDSEL, {{4, false, false}, {1, false, true}}, {1, 2, 3, 4},
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CODListBox list;
        Make(list, c.style, 6);
        for (const Click& k : c.clicks) {
            g_ctrl = k.ctrl;
            g_shift = k.shift;
            list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Row(k.row));
        }
        g_ctrl = g_shift = false;
        EXPECT_EQ(Selected(list), c.selected);
        EXPECT_EQ(list.GetCurSel(), c.curSel);
        if (c.style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) {
            EXPECT_EQ(list.SetCurSel(0), LB_ERR) << "SetCurSel does nothing here";
            EXPECT_EQ(Selected(list), c.selected);
        }
    }
}

TEST_F(ListBoxTest, SelectStringCanLeaveTwoItemsSelected)
{
    CODListBox list;
    Make(list, 0, 5);
    list.SetCurSel(3);
    parent.commands.clear();
    EXPECT_EQ(list.SelectString(-1, "item 1"), 1);
    EXPECT_EQ(Selected(list), (std::vector<int>{1, 3}));
    EXPECT_EQ(list.GetCurSel(), 1);
    EXPECT_TRUE(parent.commands.empty());
    EXPECT_EQ(list.SelectString(1, "item 1"), LB_ERR) << "no wrap past the end";
}

TEST_F(ListBoxTest, ArrowKeysWrapAndScrollTheTargetIntoView)
{
    // 20 rows of 12 in a 120-pixel client: ten rows show at a time.
    struct Case {
        const char* what;
        int selected;
        UINT key;
        int target;
        int topIndex;  // after the key
    };
    const Case cases[] = {
        {"down within the page", 3, VK_DOWN, 4, 0},
        {"up on the first item: the last, scrolled to its top (19 x 12)", 0, VK_UP, 19, 10},
        {"down on the last item: the first, scrolled to 0", 19, VK_DOWN, 0, 0},
        {"down past the page: two rows' step", 9, VK_DOWN, 10, 2},
        {"another key: the same item", 5, VK_RIGHT, 5, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CODListBox list;
        Make(list, 0, 20);
        list.SetNotify(FALSE);
        list.SetCurSel(c.selected);
        list.SetNotify(TRUE);
        if (c.selected == 19)
            list.SetTopIndex(10);
        list.SendMessage(WM_KEYDOWN, c.key, 0);
        EXPECT_EQ(list.GetCurSel(), c.target);
        EXPECT_EQ(list.GetCurrentItem(), c.target);
        EXPECT_EQ(Selected(list).size(), 1u);
        EXPECT_EQ(list.GetTopIndex(), c.topIndex);
        EXPECT_EQ(parent.Codes().size(), c.target != c.selected ? 1u : 0u);
    }
    CODListBox list;
    Make(list, 0, 0);
    list.SendMessage(WM_KEYDOWN, VK_DOWN, 0);  // nothing to select
    EXPECT_EQ(list.GetCurSel(), LB_ERR);
    EXPECT_EQ(UINT(list.SendMessage(WM_GETDLGCODE, 0, 0)) & UINT(DLGC_WANTARROWS), UINT(DLGC_WANTARROWS));
}

TEST_F(ListBoxTest, TheHighlightFollowsTheTrackedItem)
{
    CODListBox list;
    Make(list, 0, 6);
    const COLORREF normal = kWhite, sel = kBlue;
    list.SetNormalBkColor(normal);
    list.SetSelBkColor(sel);
    list.SendMessage(WM_MOUSEMOVE, 0, Row(1));
    list.SetCurSel(3);
    Canvas canvas(200, 120, kRed);
    CDC* dc = CDC::FromHandle(canvas.dc());
    list.PaintTo(dc, CRect(0, 0, 200, 120));
    // Row i fills y = 12 i .. 12 i + 11; pixel (190, 12 i + 1) is clear of the text.
    EXPECT_EQ(canvas.At(190, 13), sel) << "the tracked row 1";
    EXPECT_EQ(canvas.At(190, 37), normal) << "the selected row 3";
    EXPECT_EQ(canvas.At(190, 100), normal) << "below the rows: the background";
    // An arrow key moves the highlight; no fill colour leaves the paper.
    list.SendMessage(WM_KEYDOWN, VK_DOWN, 0);  // from the selected item (3) to 4
    list.SetNormalBkColor(CODListBox::NoFill);
    canvas.Fill(kRed);
    list.PaintTo(dc, CRect(0, 0, 200, 120));
    EXPECT_EQ(canvas.At(190, 49), sel);
    // The paint's own paper (the window colour) shows where nothing fills.
    EXPECT_EQ(canvas.At(190, 13), ::GetSysColor(COLOR_WINDOW) & 0xFFFFFF);
}

TEST_F(ListBoxTest, ImagesBesideOrUnderTheText)
{
    // 16 x 16 red images (the top-left pixel green: the list takes its
    // corner as the transparent colour); rows 20 high. Row 0 is the highlighted (tracked)
    // row but not selected, so its image is drawn untinted. Beside: the
    // image at the indent, the fill from indent + 16 (the text 2 further);
    // under: the fill from indent + 16 as well, the text over the image.
    HBITMAP red = MakeBitmap(16, 16, [](int x, int y) { return x == 0 && y == 0 ? kGreen : kRed; });
    CImageList images;
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR32, 1, 0));
    ASSERT_EQ(images.Add(CBitmap::FromHandle(red), kMagenta), 0);
    ::DeleteObject(red);
    struct Case {
        const char* what;
        UINT placement;
        int indent;
        int lastImageX, firstFillX;
    };
    const Case cases[] = {
        {"beside, no indent", ODLB_IMAGE_BESIDE, 0, 15, 16},
        {"beside, indent 4", ODLB_IMAGE_BESIDE, 4, 19, 20},
        {"under, indent 3", ODLB_IMAGE_UNDER, 3, 18, 19},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CODListBox list;
        Make(list, 0, 0);
        list.SetImageList(&images);
        list.SetItemHeight(0, 20);
        list.SetIndent(c.indent);
        list.SetNormalBkColor(kWhite);
        list.SetSelBkColor(kBlue);
        ODLBITEM item = {0, "", 0, 0, ODLB_TEXT | ODLB_IMAGE, 0, c.placement};
        list.InsertItem(0, item);
        list.InsertItem(1, item);
        list.SendMessage(WM_MOUSEMOVE, 0, At(100, 5));
        list.SetCurSel(1);
        Canvas canvas(200, 120, kBlack);
        list.PaintTo(CDC::FromHandle(canvas.dc()), CRect(0, 0, 200, 120));
        EXPECT_EQ(canvas.At(c.indent, 10), kRed);
        EXPECT_EQ(canvas.At(c.lastImageX, 10), kRed);
        EXPECT_EQ(canvas.At(c.firstFillX, 10), kBlue);
        EXPECT_EQ(canvas.At(190, 10), kBlue);
        if (c.indent > 0) {
            EXPECT_EQ(canvas.At(c.indent - 1, 10), kWhite) << "the indent shows the background";
        }
        EXPECT_EQ(canvas.At(c.firstFillX, 30), kWhite) << "row 1 is not the highlighted row";
    }
}

TEST_F(ListBoxTest, OwnerDrawnStylesCallTheHook)
{
    COwnerDrawnList list;
    Make(list, LBS_OWNERDRAWFIXED, 3);
    list.SendMessage(WM_MOUSEMOVE, 0, Row(1));  // current and selected
    Canvas canvas(200, 120);
    list.PaintTo(CDC::FromHandle(canvas.dc()), CRect(0, 0, 200, 120));
    ASSERT_EQ(list.calls.size(), 4u);
    EXPECT_EQ(list.calls[0].action, UINT(ODA_DRAWENTIRE)) << "the background first";
    const UINT states[] = {0, ODS_SELECTED | CODListBox::CurrentItemState, 0};
    for (UINT i = 0; i < 3; ++i) {
        EXPECT_EQ(list.calls[i + 1].item, i);
        EXPECT_EQ(list.calls[i + 1].action, UINT(ODA_SELECT));
        EXPECT_EQ(list.calls[i + 1].state, states[i]);
    }
}

TEST_F(ListBoxTest, FixedOwnerDrawnRowsTakeTheMeasuredHeight)
{
    CTallRows list;
    Make(list, LBS_OWNERDRAWFIXED, 3);
    EXPECT_EQ(list.GetItemHeight(0), 30);
    CRect r;
    list.GetItemRect(2, &r);
    EXPECT_EQ(r.top, 60);
    EXPECT_EQ(list.ItemFromPoint(5, 45), 1);
}

TEST_F(ListBoxTest, TheThemesColoursReplaceAnOwnersAtAThemeChange)
{
    const std::vector<unsigned char> b = ReadFileBytes(ThemeFolder() + "Mardavel_skn.ini");
    ASSERT_FALSE(b.empty()) << "the build generates " << ThemeFolder() << "Mardavel_skn.ini";
    TempDir dir;
    ASSERT_TRUE(CopyFileA((ThemeFolder() + "Kelvarin.dll").c_str(), dir.File("Kelvarin.dll").c_str(), FALSE));
    const std::string ini = dir.File("Mardavel_skn.ini");
    ASSERT_TRUE(WriteText(ini, std::string(b.begin(), b.end()) +
                                   "\r\n[ODListBox]\r\nColorNormalBk=#1#2#3\r\nColorSelBk=#10#20#30\r\n"
                                   "ColorNormalText=#4#5#6\r\nColorSelText=#7#8#9\r\nColorHotText=#11#12#13\r\n"));
    const COLORREF saved[] = {CODListBox::s_colours[0], CODListBox::s_colours[1], CODListBox::s_colours[2],
                              CODListBox::s_colours[3], CODListBox::s_colours[4]};
    ASSERT_TRUE(ODInitLibrary(ini.c_str(), OD_THEME_LOOSE_FILES));
    CODListBox list;
    Make(list, 0, 2);
    EXPECT_EQ(list.GetNormalBkColor(), RGB(1, 2, 3));
    EXPECT_EQ(list.GetSelBkColor(), RGB(10, 20, 30));
    EXPECT_EQ(list.GetNormalTextColor(), RGB(4, 5, 6));
    EXPECT_EQ(list.GetSelTextColor(), RGB(7, 8, 9));
    EXPECT_EQ(list.GetHotTextColor(), RGB(11, 12, 13));
    EXPECT_EQ(list.SetSelBkColor(kGreen), RGB(10, 20, 30)) << "the previous colour";
    EXPECT_EQ(list.SetHotTextColor(kGreen), RGB(11, 12, 13));
    list.SendMessage(ODGetThemeMessage(), 0, 0);
    EXPECT_EQ(list.GetSelBkColor(), RGB(10, 20, 30));
    EXPECT_EQ(list.GetHotTextColor(), RGB(11, 12, 13));
    // The selected row paints in the theme's colour.
    list.SendMessage(WM_MOUSEMOVE, 0, Row(0));
    Canvas canvas(200, 120);
    list.PaintTo(CDC::FromHandle(canvas.dc()), CRect(0, 0, 200, 120));
    EXPECT_EQ(canvas.At(190, 1), RGB(10, 20, 30));
    EXPECT_EQ(canvas.At(190, 13), RGB(1, 2, 3));
    std::copy(saved, saved + 5, CODListBox::s_colours);
}

TEST_F(ListBoxTest, BadIndexesAreRefused)
{
    CODListBox list;
    Make(list, LBS_OWNERDRAWVARIABLE, 3);
    for (int bad : {-1, 3, 1000}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(list.DeleteString(bad), LB_ERR);
        EXPECT_EQ(list.SetCurSel(bad), LB_ERR);
        EXPECT_EQ(list.SetSel(bad, TRUE), LB_ERR);
        EXPECT_EQ(list.GetItemData(bad), DWORD(LB_ERR));
        EXPECT_EQ(list.SetItemData(bad, 1), LB_ERR);
        EXPECT_EQ(list.GetItemHeight(bad), LB_ERR);
        EXPECT_EQ(list.SetItemHeight(bad, 30), LB_ERR);
        CRect r;
        EXPECT_EQ(list.GetItemRect(bad, &r), LB_ERR);
        EXPECT_EQ(list.SetTopIndex(bad), LB_ERR);
        ODLBITEM item;
        EXPECT_FALSE(list.GetItem(bad, item));
        CString text = "x";
        list.GetText(bad, text);
        EXPECT_STREQ(text, "");
        list.SetItemText(bad, "y");
    }
    EXPECT_EQ(list.GetCount(), 3);
    EXPECT_TRUE(parent.commands.empty());
}

TEST_F(ListBoxTest, ResetContentForgetsTheCurrentItemAndAnchor)
{
    CODListBox list;
    Make(list, LBS_EXTENDEDSEL, 8);
    list.SendMessage(WM_MOUSEMOVE, 0, Row(6));
    list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Row(6));
    ASSERT_EQ(list.GetCurrentItem(), 6);
    ASSERT_EQ(list.GetAnchor(), 6);
    list.ResetContent();
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.GetCurrentItem(), LB_ERR);
    EXPECT_EQ(list.GetAnchor(), LB_ERR);
    CSize total;
    list.GetDeviceScrollSizes(nullptr, &total, nullptr, nullptr);
    EXPECT_EQ(total, CSize(0, 0));
    // Three new items: a shift click ranges from the first, and nothing
    // paints a highlight for a row that is gone.
    for (const char* t : {"a", "b", "c"})
        list.AddString(t);
    g_shift = true;
    list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Row(2));
    g_shift = false;
    EXPECT_EQ(Selected(list), (std::vector<int>{0, 1, 2}));
}

TEST_F(ListBoxTest, FontAndItemHeight)
{
    CODListBox list;
    Make(list, 0, 3);
    LOGFONT lf = {};
    list.GetLogFont(&lf);
    EXPECT_EQ(lf.lfHeight, -12);
    EXPECT_EQ(lf.lfCharSet, GB2312_CHARSET);
    EXPECT_STREQ(lf.lfFaceName, "\xCB\xCE\xCC\xE5");
    CFont font;
    LOGFONT big = {};
    big.lfHeight = -20;
    lstrcpyA(big.lfFaceName, "DejaVu Sans");
    ASSERT_TRUE(font.CreateFontIndirect(&big));
    list.SetFont(&font, FALSE);
    EXPECT_EQ(list.GetItemHeight(0), 12) << "without redraw the height stays";
    list.GetLogFont(&lf);
    EXPECT_EQ(lf.lfHeight, -20);
    list.SetFont(&font, TRUE);
    EXPECT_EQ(list.GetItemHeight(0), 20);
    CRect r;
    list.GetItemRect(2, &r);
    EXPECT_EQ(r, CRect(0, 40, 200, 60));
    EXPECT_GT(list.GetTextWidth(0), 0);
}

TEST_F(ListBoxTest, TopIndexAndHitTestWithVariableHeightsScrolled)
{
    CVariableList list;
    Make(list, LBS_OWNERDRAWVARIABLE, 0);
    list.MoveWindow(0, 0, 200, 50);  // client 50 high
    for (int i = 0; i < 12; ++i)
        list.AddString("v");
    list.MoveWindow(0, 0, 201, 50);  // a new width measures every row
    EXPECT_EQ(list.GetItemHeight(1), 30);
    // Rows (tops): 0 (0) 1 (10) 2 (40) 3 (45) 4 (65) 5 (80) 6 (120) 7 (130)
    // 8 (160) 9 (165) 10 (185) 11 (200); 240 in all.
    CSize total;
    list.GetDeviceScrollSizes(nullptr, &total, nullptr, nullptr);
    EXPECT_EQ(total.cy, 240);
    struct Case {
        const char* what;
        int scrollY;
        int topIndex;
        int y;     // client row hit
        int item;
    };
    const Case cases[] = {
        {"unscrolled: row 0 on top; y 40 is row 2's top", 0, 0, 40, 2},
        {"scrolled 12: row 1 on top; y 33 is document 45, row 3", 12, 1, 33, 3},
        {"scrolled 44: row 2's last pixel on top; y 1 is document 45, row 3", 44, 2, 1, 3},
        {"scrolled 190 (the limit): row 10; y 49 is document 239, row 11", 190, 10, 49, 11},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        list.ScrollToDevicePosition(0, c.scrollY);
        EXPECT_EQ(list.GetDeviceScrollPosition().y, c.scrollY);
        EXPECT_EQ(list.GetTopIndex(), c.topIndex);
        EXPECT_EQ(list.ItemFromPoint(5, c.y), c.item);
    }
    list.SetTopIndex(4);
    EXPECT_EQ(list.GetDeviceScrollPosition().y, 65);
}

TEST_F(ListBoxTest, PaintingGivesBackItsGdiObjects)
{
    CODListBox list;
    Make(list, 0, 8);
    list.SendMessage(WM_MOUSEMOVE, 0, Row(2));
    Canvas canvas(200, 120);
    CDC* dc = CDC::FromHandle(canvas.dc());
    list.PaintTo(dc, CRect(0, 0, 200, 120));
    const int before = CountGdiObjects();
    ASSERT_GT(before, 0) << "the counter sees objects";
    for (int i = 0; i < 20; ++i)
        list.PaintTo(dc, CRect(0, 0, 200, 120));
    list.GetTextWidth(1);
    EXPECT_EQ(CountGdiObjects(), before);
}

}  // namespace
