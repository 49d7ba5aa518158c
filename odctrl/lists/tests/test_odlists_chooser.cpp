// The list's column chooser under the test display, its drag driven through
// the virtuals with screen points (the drag list's own mouse handling is the
// platform's): the box lists the hidden columns only and the list keeps it
// filled; an entry dropped on the header is shown at the marked divider, on
// a list showing no column at position 0, and stays hidden when dropped off
// the header or back on the box; fixed columns and empty places start no
// drag; entries are painted as faces in the list's colours (pixels); the box
// is the header's drop area; either window may go first.
#include "ODTestSupport.h"

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "ODColumnChooser.h"
#include "ODListCtrl.h"
#include "ODListTestSupport.h"

namespace {

using namespace odtest;
using namespace odlist;
using odlisttest::Column;

typedef std::vector<std::pair<std::string, int>> Entries;

const DWORD kBoxStyle = WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY;

// A box that leaves some columns out and fixes others.
class CTestChooser : public CODColumnListBox
{
public:
    std::set<int> unlisted, fixed;
    BOOL IsColumnListed(int column) override { return unlisted.count(column) == 0; }
    BOOL IsColumnFixed(int column) override { return fixed.count(column) != 0; }
};

Entries Listed(const CListBox& box)
{
    Entries entries;
    for (int i = 0; i < box.GetCount(); ++i) {
        CString text;
        box.GetText(i, text);
        entries.emplace_back(std::string(text), int(box.GetItemData(i)));
    }
    return entries;
}

BOOL CALLBACK CountDragImage(HWND wnd, LPARAM data)
{
    char name[64] = {};
    ::GetClassNameA(wnd, name, sizeof name);
    if (lstrcmpA(name, "MFCODFHDragWnd") == 0)
        ++*reinterpret_cast<int*>(data);
    return TRUE;
}

// The drag image windows of this thread.
int DragImages()
{
    int count = 0;
    ::EnumThreadWindows(::GetCurrentThreadId(), CountDragImage, reinterpret_cast<LPARAM>(&count));
    return count;
}

// Columns "Name", "Seat", "Score", "Ready" (0-3) of 100 pixels; Name and
// Score shown; the box beside the list.
class ChooserTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateHidden(520, 300)) << "needs the test display";
        ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE, CRect(10, 10, 410, 210), &parent, 7));
        const char* const names[] = {"Name", "Seat", "Score", "Ready"};
        for (int i = 0; i < 4; ++i)
            list.InsertColumn(i, Column(names[i], 100));
        ASSERT_TRUE(box.Create(kBoxStyle, CRect(420, 10, 510, 210), &parent, 8));
        list.SetColumnChooser(&box);
        Reset();
    }
    void TearDown() override
    {
        if (box.m_hWnd)
            box.DestroyWindow();
        if (list.m_hWnd)
            list.DestroyWindow();
        parent.DestroyWindow();
    }
    // Name and Score shown, in that order.
    void Reset()
    {
        list.Model().HideAllColumns();
        list.ShowColumn(0, 0);
        list.ShowColumn(2, 1);
    }
    CPoint EntryPoint(int index)
    {
        CRect r;
        box.GetItemRect(index, &r);
        CPoint p = r.CenterPoint();
        box.ClientToScreen(&p);
        return p;
    }
    // A screen point in the header, dx pixels into the item at a position.
    CPoint HeaderPoint(int position, int dx)
    {
        CODHeaderCtrl* header = list.GetHeaderCtrl();
        const int index = int(header->SendMessage(HDM_ORDERTOINDEX, position, 0));
        CRect r;
        header->SendMessage(HDM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
        CPoint p(r.left + dx, r.CenterPoint().y);
        header->ClientToScreen(&p);
        return p;
    }
    // A screen point of the list's rows, away from the header.
    CPoint RowsPoint()
    {
        CPoint p(100, 150);
        list.ClientToScreen(&p);
        return p;
    }
    std::vector<int> Shown() { return list.Model().GetShownColumns(); }

    CLogWnd parent;
    CODListCtrl list;
    CTestChooser box;
};

// ---- Filling -------------------------------------------------------------------------------

TEST_F(ChooserTest, TheBoxListsTheHiddenColumnsAndTheListKeepsItFilled)
{
    struct Step
    {
        const char* what;
        std::function<void()> change;
        Entries expected;
    };
    const Step steps[] = {
        {"linked: the hidden columns in column order", [] {}, {{"Seat", 1}, {"Ready", 3}}},
        {"a hidden column joins", [&] { list.HideColumn(0); }, {{"Name", 0}, {"Seat", 1}, {"Ready", 3}}},
        {"a shown column leaves", [&] { list.ShowColumn(3, 0); }, {{"Name", 0}, {"Seat", 1}}},
        {"an inserted column joins and the indexes move",
         [&] { list.InsertColumn(1, Column("Extra", 50)); },
         {{"Name", 0}, {"Extra", 1}, {"Seat", 2}}},
        {"a new caption", [&] { list.SetColumn(1, Column("Bonus", 50)); }, {{"Name", 0}, {"Bonus", 1}, {"Seat", 2}}},
        {"a deleted column leaves", [&] { list.DeleteColumn(1); }, {{"Name", 0}, {"Seat", 1}}},
        {"an insert without refreshing leaves the box as it was",
         [&] { list.InsertColumn(4, Column("Late", 50), FALSE); },
         {{"Name", 0}, {"Seat", 1}}},
        {"until the box is filled", [&] { box.FillColumns(); }, {{"Name", 0}, {"Seat", 1}, {"Late", 4}}},
        {"the box's filter leaves a column out",
         [&] {
             box.unlisted = {1};
             box.FillColumns();
         },
         {{"Name", 0}, {"Late", 4}}},
        {"every column hidden",
         [&] {
             box.unlisted.clear();
             list.Model().HideAllColumns();
         },
         {{"Name", 0}, {"Seat", 1}, {"Score", 2}, {"Ready", 3}, {"Late", 4}}},
        {"every column shown: empty",
         [&] {
             for (int c = 0; c < 5; ++c)
                 list.ShowColumn(c, c);
         },
         {}},
        {"every column deleted", [&] { list.DeleteAllColumns(); }, {}},
    };
    for (const Step& s : steps) {
        s.change();
        EXPECT_EQ(Listed(box), s.expected) << s.what;
    }
}

TEST_F(ChooserTest, AWidthChangeKeepsTheBoxAsItIs)
{
    box.SetCurSel(1);
    list.SetColumnWidth(0, 150);
    EXPECT_EQ(box.GetCurSel(), 1) << "not refilled: the selection stays";
    list.HideColumn(0);
    EXPECT_EQ(Listed(box), (Entries{{"Name", 0}, {"Seat", 1}, {"Ready", 3}}));
}

TEST_F(ChooserTest, SetListCtrlRefusesNullAndEmptiesTheBox)
{
    EXPECT_EQ(box.GetListCtrl(), &list);
    EXPECT_EQ(list.GetColumnChooser(), &box);
    EXPECT_FALSE(box.SetListCtrl(nullptr));
    EXPECT_EQ(box.GetListCtrl(), &list);
    EXPECT_EQ(box.GetCount(), 2);
    EXPECT_TRUE(box.SetListCtrl(&list));
    EXPECT_EQ(box.GetCount(), 0);
    EXPECT_TRUE(box.FillColumns());
    EXPECT_EQ(box.GetCount(), 2);
}

// ---- Dragging ------------------------------------------------------------------------------

TEST_F(ChooserTest, AnEntryDroppedOnTheHeaderIsShownAtTheMarkedDivider)
{
    struct Case
    {
        const char* what;
        bool noneShown;
        int entry;                         // dragged entry
        std::function<CPoint()> at;        // where it is dropped
        bool viaHeader;                    // dragged over the header first
        int divider;                       // the header's mark while there
        UINT cursor;
        std::vector<int> shown;
        Entries listed;
    };
    const Case cases[] = {
        {"right of Score's centre: after it", false, 0, [&] { return HeaderPoint(1, 80); }, false, 2, DL_MOVECURSOR,
         {0, 2, 1}, {{"Ready", 3}}},
        {"left of Name's centre: first", false, 1, [&] { return HeaderPoint(0, 10); }, false, 0, DL_MOVECURSOR,
         {3, 0, 2}, {{"Seat", 1}}},
        {"right of Name's centre: between", false, 1, [&] { return HeaderPoint(0, 70); }, false, 1, DL_MOVECURSOR,
         {0, 3, 2}, {{"Seat", 1}}},
        {"on the rows, off the header: stays hidden", false, 0, [&] { return RowsPoint(); }, false, -1,
         DL_STOPCURSOR, {0, 2}, {{"Seat", 1}, {"Ready", 3}}},
        {"over the header, then back on the box: stays hidden", false, 0, [&] { return EntryPoint(1); }, true, -1,
         DL_MOVECURSOR, {0, 2}, {{"Seat", 1}, {"Ready", 3}}},
        {"a list showing no column: position 0 wherever the drop", true, 1, [&] { return RowsPoint(); }, false, -1,
         DL_STOPCURSOR, {1}, {{"Name", 0}, {"Score", 2}, {"Ready", 3}}},
    };
    CODHeaderCtrl* header = list.GetHeaderCtrl();
    ASSERT_NE(header, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Reset();
        if (c.noneShown)
            list.Model().HideAllColumns();
        ASSERT_TRUE(box.BeginDrag(EntryPoint(c.entry)));
        CWnd* image = box.DragImage();
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(DragImages(), 1);
        CRect r;
        image->GetWindowRect(&r);
        CRect client;
        box.GetClientRect(&client);
        EXPECT_EQ(r.Width(), client.Width()) << "as wide as the box";
        EXPECT_EQ(r.Height(), box.GetItemHeight(0)) << "one entry high";

        if (c.viaHeader) {
            box.Dragging(HeaderPoint(0, 10));
            EXPECT_EQ(header->HotDivider(), 0);
        }
        const CPoint at = c.at();
        EXPECT_EQ(box.Dragging(at), c.cursor);
        EXPECT_EQ(header->HotDivider(), c.divider);
        EXPECT_EQ(header->DropMarker() != nullptr, c.divider >= 0);
        image->GetWindowRect(&r);
        EXPECT_EQ(r.left + r.Width() / 2, at.x) << "the image centred on the pointer";
        EXPECT_EQ(r.top + r.Height() / 2, at.y);
        EXPECT_TRUE(image->IsWindowVisible());

        box.Dropped(c.entry, at);
        EXPECT_EQ(Shown(), c.shown);
        EXPECT_EQ(Listed(box), c.listed);
        EXPECT_EQ(box.DragImage(), nullptr);
        EXPECT_EQ(DragImages(), 0);
        EXPECT_EQ(header->HotDivider(), -1);
        EXPECT_EQ(header->DropMarker(), nullptr);
        const int columns = list.GetHeaderCtrl()->GetItemCount();
        EXPECT_EQ(columns, int(c.shown.size())) << "the header shows what the list shows";
    }
}

TEST_F(ChooserTest, NoDragOfAFixedColumnOrFromNoEntry)
{
    struct Case
    {
        const char* what;
        std::set<int> fixed;
        bool allShown;
        std::function<CPoint()> at;
    };
    const Case cases[] = {
        {"a fixed column", {1}, false, [&] { return EntryPoint(0); }},
        {"below the last entry", {}, false,
         [&] {
             CPoint p(20, 180);
             box.ClientToScreen(&p);
             return p;
         }},
        {"an empty box", {}, true, [&] { return EntryPoint(0); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Reset();
        box.fixed = c.fixed;
        if (c.allShown) {
            list.ShowColumn(1, 2);
            list.ShowColumn(3, 3);
        }
        const std::vector<int> before = Shown();
        EXPECT_FALSE(box.BeginDrag(c.at()));
        EXPECT_EQ(box.DragImage(), nullptr);
        EXPECT_EQ(DragImages(), 0);
        // Even when the drag list goes on, a drop shows nothing.
        box.Dragging(HeaderPoint(0, 70));
        box.Dropped(0, HeaderPoint(0, 70));
        EXPECT_EQ(Shown(), before);
    }
    // The entry beside the fixed one still drags.
    Reset();
    box.fixed = {1};
    EXPECT_TRUE(box.BeginDrag(EntryPoint(1)));
    box.CancelDrag(EntryPoint(1));
}

TEST_F(ChooserTest, ACancelledDragLeavesEverythingAsItWas)
{
    CODHeaderCtrl* header = list.GetHeaderCtrl();
    ASSERT_TRUE(box.BeginDrag(EntryPoint(0)));
    EXPECT_EQ(box.Dragging(HeaderPoint(1, 80)), UINT(DL_MOVECURSOR));
    EXPECT_EQ(header->HotDivider(), 2);
    box.CancelDrag(HeaderPoint(1, 80));
    EXPECT_EQ(box.DragImage(), nullptr);
    EXPECT_EQ(DragImages(), 0);
    EXPECT_EQ(header->HotDivider(), -1);
    EXPECT_EQ(header->DropMarker(), nullptr);
    box.Dropped(0, HeaderPoint(1, 80));
    EXPECT_EQ(Shown(), (std::vector<int>{0, 2})) << "a drop after the cancel shows nothing";
}

TEST_F(ChooserTest, AColumnDraggedOffTheHeaderOntoTheBoxIsHidden)
{
    // The box is the header's drop area, which counts while it is visible.
    list.ModifyStyle(0, kStyleHideOnDragOut);
    parent.ShowWindow(SW_SHOWNA);
    CODHeaderCtrl* header = list.GetHeaderCtrl();
    CPoint press = HeaderPoint(0, 30), over = EntryPoint(0);
    header->ScreenToClient(&press);
    header->ScreenToClient(&over);
    header->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(press.x, press.y));
    header->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(press.x + 40, press.y));
    header->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(over.x, over.y));
    EXPECT_EQ(header->GetDropZone(), CODHeaderCtrl::DropOverArea);
    header->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(over.x, over.y));
    parent.ShowWindow(SW_HIDE);
    EXPECT_EQ(Shown(), (std::vector<int>{2}));
    EXPECT_EQ(Listed(box), (Entries{{"Name", 0}, {"Seat", 1}, {"Ready", 3}}));
}

TEST(ChooserLifetime, EitherWindowMayGoFirst)
{
    CLogWnd parent;
    ASSERT_TRUE(parent.CreateHidden(520, 300)) << "needs the test display";
    struct Case
    {
        const char* what;
        bool chooser;    // linked by the list, else attached by the box alone
        bool listFirst;
    };
    const Case cases[] = {
        {"the list goes first", true, true},
        {"the box goes first", true, false},
        {"a box attached alone, the list first", false, true},
        {"a box attached alone goes first", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CODListCtrl* list = new CODListCtrl;
        CODColumnListBox* box = new CODColumnListBox;
        ASSERT_TRUE(list->Create(WS_CHILD | WS_VISIBLE, CRect(10, 10, 410, 210), &parent, 7));
        ASSERT_TRUE(box->Create(kBoxStyle, CRect(420, 10, 510, 210), &parent, 8));
        list->InsertColumn(0, Column("Name", 100));
        list->InsertColumn(1, Column("Seat", 100));
        list->ShowColumn(0, 0);
        if (c.chooser) {
            list->SetColumnChooser(box);
        } else {
            box->SetListCtrl(list);
            box->FillColumns();
        }
        CRect r;
        box->GetItemRect(0, &r);
        CPoint p = r.CenterPoint();
        box->ClientToScreen(&p);
        ASSERT_TRUE(box->BeginDrag(p));
        ASSERT_EQ(DragImages(), 1);
        if (c.listFirst) {
            list->DestroyWindow();
            EXPECT_FALSE(box->BeginDrag(p)) << "no header to drop on";
            delete list;
            EXPECT_EQ(box->GetListCtrl(), nullptr);
            EXPECT_EQ(box->GetCount(), 0) << "its entries named the list's columns";
            EXPECT_EQ(DragImages(), 0) << "the drag ended with the list";
            EXPECT_FALSE(box->FillColumns());
            box->Dropped(0, p);
            box->DestroyWindow();
            delete box;
        } else {
            box->DestroyWindow();
            delete box;
            EXPECT_EQ(list->GetColumnChooser(), nullptr);
            EXPECT_EQ(DragImages(), 0) << "the drag ended with the box";
            EXPECT_EQ(list->GetHeaderCtrl()->HotDivider(), -1);
            EXPECT_EQ(list->HideColumn(0), 1);
            list->DestroyWindow();
            delete list;
        }
    }
    parent.DestroyWindow();
}

// ---- Painting and size ---------------------------------------------------------------------

TEST_F(ChooserTest, EntriesArePaintedAsFacesInTheListsColours)
{
    // The list's 3D colours apart from the system's, so the pixels tell
    // whose colours were used.
    const ListColours saved = CODListCtrl::s_colours;
    CODListCtrl::s_colours.c[kClr3DHilight] = RGB(255, 0, 255);
    CODListCtrl::s_colours.c[kClr3DDkShadow] = RGB(0, 0, 255);
    CODListCtrl::s_colours.c[kClr3DFace] = RGB(0, 255, 0);
    list.ApplyTheme();
    CODListCtrl::s_colours = saved;
    const COLORREF window = ::GetSysColor(COLOR_WINDOW), text = ::GetSysColor(COLOR_WINDOWTEXT),
                   shadow = ::GetSysColor(COLOR_3DSHADOW), hilight = ::GetSysColor(COLOR_3DHILIGHT),
                   face = ::GetSysColor(COLOR_3DFACE);

    struct Case
    {
        const char* what;
        bool framed, selected, fixed, empty;
        COLORREF topLeft, bottomRight, inside;  // inside: 2 pixels in
        std::vector<COLORREF> textIn, textNotIn;
    };
    const Case cases[] = {
        {"an empty box: window colour", true, false, false, true, window, window, window, {}, {text}},
        {"framed: the list's edges and face", true, false, false, false, RGB(255, 0, 255), RGB(0, 0, 255),
         RGB(0, 255, 0), {text}, {}},
        {"framed and selected: shadow inside the face", true, true, false, false, RGB(255, 0, 255), RGB(0, 0, 255),
         shadow, {hilight}, {text}},
        {"framed, a fixed column: embossed text", true, false, true, false, RGB(255, 0, 255), RGB(0, 0, 255),
         RGB(0, 255, 0), {hilight, shadow}, {text}},
        {"framed, a fixed column selected", true, true, true, false, RGB(255, 0, 255), RGB(0, 0, 255), shadow,
         {face}, {text, hilight}},
        {"a push button without the static edge", false, false, false, false, hilight,
         ::GetSysColor(COLOR_3DDKSHADOW), ::GetSysColor(COLOR_BTNFACE), {text}, {}},
    };
    CFont font;  // plain pixels: no smoothing
    font.CreateFont(-12, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0, "Tahoma");
    const int w = 90, h = 20;
    Canvas canvas(w, h);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        box.ModifyStyleEx(c.framed ? 0 : WS_EX_STATICEDGE, c.framed ? WS_EX_STATICEDGE : 0);
        box.fixed = c.fixed ? std::set<int>{1} : std::set<int>{};
        Reset();
        if (c.empty) {
            list.ShowColumn(1, 2);
            list.ShowColumn(3, 3);
        }
        canvas.Fill(RGB(1, 2, 3));
        HGDIOBJ old = ::SelectObject(canvas.dc(), font.GetSafeHandle());
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_LISTBOX;
        dis.itemID = c.empty ? UINT(-1) : 0;  // entry 0: Seat, column 1
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = c.selected ? ODS_SELECTED : 0;
        dis.hwndItem = box.m_hWnd;
        dis.hDC = canvas.dc();
        dis.rcItem = RECT{0, 0, w, h};
        box.DrawItem(&dis);
        ::SelectObject(canvas.dc(), old);
        GdiFlush();
        EXPECT_EQ(canvas.At(0, 0), c.topLeft);
        EXPECT_EQ(canvas.At(w - 1, h - 1), c.bottomRight);
        EXPECT_EQ(canvas.At(w - 3, h / 2), c.inside) << "right of the text";
        if (c.framed && !c.empty) {
            EXPECT_EQ(canvas.At(1, h / 2), RGB(0, 255, 0)) << "the face ring";
        }
        std::set<COLORREF> seen;
        for (int y = 2; y < h - 2; ++y)
            for (int x = 2; x < w - 2; ++x)
                seen.insert(canvas.At(x, y));
        for (COLORREF colour : c.textIn)
            EXPECT_TRUE(seen.count(colour)) << "text colour " << std::hex << colour;
        for (COLORREF colour : c.textNotIn)
            EXPECT_FALSE(seen.count(colour)) << "no pixel of " << std::hex << colour;
    }
}

TEST_F(ChooserTest, ADisabledBoxErasesInButtonFace)
{
    Canvas canvas(90, 200);
    for (bool enabled : {true, false}) {
        SCOPED_TRACE(enabled ? "enabled" : "disabled");
        box.EnableWindow(enabled);
        canvas.Fill(RGB(1, 2, 3));
        box.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.dc()), 0);
        GdiFlush();
        const COLORREF expected = ::GetSysColor(enabled ? COLOR_WINDOW : COLOR_BTNFACE);
        EXPECT_EQ(canvas.At(5, 5), expected);
        EXPECT_EQ(canvas.At(80, 190), expected);
    }
}

TEST_F(ChooserTest, EntriesAreTwoPixelsTallerThanMeasured)
{
    // A plain owner-drawn box of the same style measures the height the
    // chooser starts from.
    HWND plain = ::CreateWindowExA(0, "LISTBOX", NULL, kBoxStyle, 0, 0, 90, 100, parent.m_hWnd, (HMENU)20, NULL, NULL);
    ASSERT_NE(plain, HWND(NULL));
    const int measured = int(::SendMessageA(plain, LB_GETITEMHEIGHT, 0, 0));
    ASSERT_GT(measured, 0);
    EXPECT_EQ(box.GetItemHeight(0), measured + 2) << "created";

    CODColumnListBox subclassed;
    ASSERT_TRUE(subclassed.SubclassWindow(plain));
    EXPECT_EQ(subclassed.GetItemHeight(0), measured + 2) << "subclassed";
    subclassed.DestroyWindow();
}

}  // namespace
