// The list's window input and in-place editing on the test display: header
// clicks sorting ascending then descending, a header column dragged to a new
// place or off the header, the divider double click fitting the widest cell,
// expander clicks and double clicks toggling nodes (the parent asked first),
// the focus loss telling the window getting the focus, the wheel's posted
// scroll messages (held to a page), a click on the focused cell opening an
// editor, the editor's end keys and focus loss (Esc keeps the cell, Enter,
// Tab and leaving write it), edits started by typing and by Backspace, cells
// without text and read-only rows opening none, the "..." button's round
// trip through a bounded buffer, a second end doing nothing, and the combo
// editor a parent opens (its starting key, end keys, focus loss, the keys it
// keeps, its one end and its deletion).
#include "ODTestSupport.h"

#include <string.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ODLibrary.h"
#include "ODListCtrl.h"
#include "ODListTestSupport.h"

namespace {

using namespace odtest;
using namespace odlist;
using odlisttest::Column;

// A parent that logs the list's notification codes and answers the editing
// ones as told.
class CEditParent : public CWnd
{
public:
    std::vector<int> codes;
    std::vector<int> endKeys;
    std::string buttonText;  // what the -2062 buffer held
    int askButton = 0;       // -2057: ask the default editor for a button
    HWND ownEditor = NULL;   // -2057: open this window instead
    LRESULT endAnswer = 0;   // -2058
    bool fillButtonBuffer = false;
    // -2057: the parent opens this editor itself (its window, 0 none).
    std::function<HWND(NMODLISTEDIT*)> openEditor;
    std::vector<NMODLISTITEM> items;  // the item notifications, in order
    std::map<int, LRESULT> answers;   // what the parent answers other codes

    BOOL CreateShown()
    {
        if (!CreateEx(0, AfxRegisterWndClass(0), "parent", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, NULL, NULL))
            return FALSE;
        ::SetForegroundWindow(m_hWnd);
        ::SetActiveWindow(m_hWnd);
        return TRUE;
    }
    int Count(int code) const
    {
        int n = 0;
        for (int c : codes)
            n += c == code;
        return n;
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_NOTIFY) {
            NMHDR* hdr = reinterpret_cast<NMHDR*>(lParam);
            const int code = int(hdr->code);
            codes.push_back(code);
            if (code == kNotifyBeginEdit) {
                NMODLISTEDIT* e = reinterpret_cast<NMODLISTEDIT*>(lParam);
                e->button = askButton;
                if (openEditor) {
                    e->editor = openEditor(e);
                    return 1;
                }
                if (ownEditor) {
                    e->editor = ownEditor;
                    return 1;
                }
                return 0;
            }
            if (code == kNotifyEndEdit) {
                endKeys.push_back(reinterpret_cast<NMODLISTEDIT*>(lParam)->key);
                return endAnswer;
            }
            if (code == kNotifyEditButton) {
                NMODLISTEDIT* e = reinterpret_cast<NMODLISTEDIT*>(lParam);
                buttonText = e->text;
                if (fillButtonBuffer) {
                    memset(e->text, 'x', kCellBuffer);  // no terminator: the list must add one
                    return 1;
                }
                return 0;
            }
            if (code == kNotifyExpanderClick || code == kNotifyToggled || code == kNotifyFocusLost ||
                code == kNotifyDividerDblClick)
                items.push_back(*reinterpret_cast<const NMODLISTITEM*>(lParam));
            const auto answer = answers.find(code);
            return answer == answers.end() ? 0 : answer->second;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// A list whose user asked for a million wheel lines.
class CWheelList : public CODListCtrl
{
public:
    int lines = 3;
    int GetWheelScrollLines() override { return lines; }
};

class ListEditTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateShown()) << "needs the test display";
        ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | kStyleCellFocus, CRect(0, 0, 300, 200), &parent, 7));
        ASSERT_TRUE(other.Create("other", WS_CHILD | WS_VISIBLE, CRect(310, 0, 390, 30), &parent, 8));
        list.InsertColumn(0, Column("Name", 120));
        list.InsertColumn(1, Column("Score", 80));
        list.ShowColumn(0, 0);
        list.ShowColumn(1, 1);
        for (const char* name : {"north", "east", "south"})
            list.InsertItem(name);
        list.SetItemText(0, 1, "12");
        list.SetFocus();
        ASSERT_EQ(::GetFocus(), list.m_hWnd) << "the list takes the focus";
    }
    void TearDown() override
    {
        if (list.m_hWnd)
            list.DestroyWindow();
        parent.DestroyWindow();
        PumpPendingMessages();
    }
    // Waits until the editor's window is gone (closed by its posted WM_CLOSE).
    bool EditorClosed(HWND editor)
    {
        return WaitUntil([&] { return !::IsWindow(editor); });
    }
    std::string EditorText()
    {
        char text[kCellBuffer * 2] = {};
        ::GetWindowTextA(list.GetEditor(), text, sizeof text);
        return text;
    }
    POINT CellCentre(int row, int position)
    {
        RECT r = {};
        list.GetContentCellRect(row, position, &r, kPartCell);
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }

    CEditParent parent;
    CWheelList list;
    CButton other;
};

TEST_F(ListEditTest, EndKeysAndFocusLoss)
{
    struct Case
    {
        const char* what;
        UINT key;  // 0: the focus goes to another window
        const char* cell;
        int reported;
    };
    const Case cases[] = {
        {"Esc leaves the cell unchanged", VK_ESCAPE, "north", 27},
        {"Enter writes it", VK_RETURN, "changed", 13},
        {"Tab writes it", VK_TAB, "changed", 9},
        {"leaving the editor writes it", 0, "changed", 13},
    };
    for (const Case& k : cases) {
        list.SetItemText(0, 0, "north");
        parent.endKeys.clear();
        ASSERT_TRUE(list.BeginEdit(0, 0, 1)) << k.what;
        HWND editor = list.GetEditor();
        ASSERT_TRUE(::IsWindow(editor)) << k.what;
        EXPECT_EQ(::GetFocus(), editor) << k.what;
        EXPECT_EQ(EditorText(), "north") << k.what;
        ::SetWindowTextA(editor, "changed");
        if (k.key)
            ::SendMessageA(editor, WM_KEYDOWN, k.key, 0);
        else
            other.SetFocus();
        ASSERT_TRUE(EditorClosed(editor)) << k.what;
        EXPECT_EQ(list.GetItemText(0, 0), k.cell) << k.what;
        ASSERT_EQ(parent.endKeys.size(), 1u) << k.what;
        EXPECT_EQ(parent.endKeys[0], k.reported) << k.what;
        EXPECT_EQ(list.GetEditor(), HWND(NULL)) << k.what;
        list.SetFocus();
    }
}

TEST_F(ListEditTest, TheParentCanRefuseTheText)
{
    parent.endAnswer = 1;
    ASSERT_TRUE(list.BeginEdit(1, 0, 1));
    HWND editor = list.GetEditor();
    ::SetWindowTextA(editor, "changed");
    ::SendMessageA(editor, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(EditorClosed(editor));
    EXPECT_EQ(list.GetItemText(1, 0), "east");
}

TEST_F(ListEditTest, TypingAndBackspaceStartEdits)
{
    struct Case
    {
        const char* what;
        UINT key, ch;
        const char* text;
    };
    const Case cases[] = {
        {"a letter replaces the text", 'A', 'a', "a"},
        {"Backspace removes the last character", VK_BACK, 8, "nort"},
    };
    for (const Case& k : cases) {
        list.Model().SetFocusCell(0, 0);
        ::SendMessageA(list.m_hWnd, WM_KEYDOWN, k.key, 0);
        ::SendMessageA(list.m_hWnd, WM_CHAR, k.ch, 0);
        HWND editor = list.GetEditor();
        ASSERT_TRUE(::IsWindow(editor)) << k.what;
        EXPECT_EQ(EditorText(), k.text) << k.what;
        ::SendMessageA(editor, WM_KEYDOWN, VK_ESCAPE, 0);
        ASSERT_TRUE(EditorClosed(editor)) << k.what;
        list.SetFocus();
    }
    EXPECT_EQ(list.GetItemText(0, 0), "north");

    // Ctrl held: the letter starts nothing.
    BYTE keys[256];
    ::GetKeyboardState(keys);
    BYTE held[256];
    memcpy(held, keys, sizeof held);
    held[VK_CONTROL] = 0x80;
    ::SetKeyboardState(held);
    list.Model().SetFocusCell(0, 0);
    ::SendMessageA(list.m_hWnd, WM_KEYDOWN, 'A', 0);
    ::SendMessageA(list.m_hWnd, WM_CHAR, 1, 0);
    ::SetKeyboardState(keys);
    EXPECT_EQ(list.GetEditor(), HWND(NULL)) << "Ctrl+letter opens no editor";
}

TEST_F(ListEditTest, CellsWithoutTextAndReadOnlyRows)
{
    EXPECT_FALSE(list.BeginEdit(1, 1, 1)) << "a cell never written";
    EXPECT_EQ(list.GetEditor(), HWND(NULL));
    EXPECT_EQ(parent.Count(kNotifyBeginEdit), 1) << "the parent was asked";

    list.Model().SetItemState(2, kStateReadOnly, kStateReadOnly);
    parent.codes.clear();
    EXPECT_FALSE(list.BeginEdit(2, 0, 1));
    EXPECT_EQ(parent.Count(kNotifyBeginEdit), 0) << "a read-only row is refused before the parent is asked";
    EXPECT_FALSE(list.BeginEdit(-1, 0, 1)) << "no band, no pseudo-row edit";
    EXPECT_FALSE(list.BeginEdit(0, -1, 1)) << "no column";
}

TEST_F(ListEditTest, AParentsOwnEditor)
{
    CEdit own;
    ASSERT_TRUE(own.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 20), &list, 99));
    parent.ownEditor = own.m_hWnd;
    ASSERT_TRUE(list.BeginEdit(0, 1, 1));
    EXPECT_EQ(list.GetEditor(), own.m_hWnd);
    EXPECT_EQ(::GetFocus(), own.m_hWnd);
    parent.ownEditor = NULL;
    own.DestroyWindow();
}

TEST_F(ListEditTest, TheButtonRoundTripThroughABoundedBuffer)
{
    parent.askButton = 1;
    parent.fillButtonBuffer = true;
    ASSERT_TRUE(list.BeginEdit(0, 0, 1));
    HWND editor = list.GetEditor();
    CODListInPlaceEdit* edit = DYNAMIC_DOWNCAST(CODListInPlaceEdit, CWnd::FromHandlePermanent(editor));
    ASSERT_NE(edit, nullptr);
    CWnd* button = edit->GetButton();
    ASSERT_NE(button, nullptr) << "the parent asked for a button";
    CRect e, b;
    ::GetWindowRect(editor, &e);
    button->GetWindowRect(&b);
    EXPECT_EQ(b.left, e.right) << "right of the edit";
    EXPECT_EQ(b.Width(), e.Height()) << "square";
    button->SetFocus();
    EXPECT_EQ(parent.buttonText, "north");
    EXPECT_TRUE(::IsWindow(editor)) << "the editor stays open";
    EXPECT_EQ(::GetFocus(), editor) << "and has the focus back";
    EXPECT_EQ(EditorText(), std::string(kMaxCellText, 'x')) << "the parent's text, cut to a cell's length";
    ::SendMessageA(editor, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(EditorClosed(editor));
    EXPECT_EQ(list.GetItemText(0, 0), std::string(kMaxCellText, 'x'));
}

TEST_F(ListEditTest, ASecondEndDoesNothing)
{
    ASSERT_TRUE(list.BeginEdit(0, 0, 1));
    HWND editor = list.GetEditor();
    CODListInPlaceEdit* edit = DYNAMIC_DOWNCAST(CODListInPlaceEdit, CWnd::FromHandlePermanent(editor));
    ASSERT_NE(edit, nullptr);
    edit->EndEdit();
    edit->EndEdit();
    ASSERT_TRUE(EditorClosed(editor));
    EXPECT_EQ(parent.Count(kNotifyEndEdit), 1);
}

TEST_F(ListEditTest, ScrollingEndsTheEditKeepingTheText)
{
    ASSERT_TRUE(list.BeginEdit(0, 0, 1));
    HWND editor = list.GetEditor();
    ::SetWindowTextA(editor, "scrolled");
    ::SendMessageA(list.m_hWnd, WM_VSCROLL, SB_LINEDOWN, 0);
    ASSERT_TRUE(EditorClosed(editor));
    EXPECT_EQ(list.GetItemText(0, 0), "scrolled");
}

TEST_F(ListEditTest, ClickingTheFocusedCellOpensAnEditor)
{
    const POINT p = CellCentre(1, 1);
    list.SetItemText(1, 1, "7");
    ::SendMessageA(list.m_hWnd, WM_LBUTTONDOWN, 0, MAKELPARAM(p.x, p.y));
    EXPECT_EQ(list.GetEditor(), HWND(NULL)) << "the first click focuses the cell";
    const POINT q = CellCentre(1, 0);
    ::SendMessageA(list.m_hWnd, WM_LBUTTONDOWN, 0, MAKELPARAM(q.x, q.y));
    EXPECT_EQ(list.GetEditor(), HWND(NULL)) << "a click on another cell moves the focus";
    ::SendMessageA(list.m_hWnd, WM_LBUTTONDOWN, 0, MAKELPARAM(q.x, q.y));
    ASSERT_NE(list.GetEditor(), HWND(NULL)) << "a click on the focused cell edits it";
    EXPECT_EQ(EditorText(), "east");
    EXPECT_EQ(parent.Count(kNotifyClick), 3);
}

TEST_F(ListEditTest, HeaderClicksSortAscendingThenDescending)
{
    list.SetItemText(0, 1, "12");
    list.SetItemText(1, 1, "7");
    list.SetItemText(2, 1, "30");
    auto order = [&] {
        std::string s;
        for (int r = 0; r < 3; ++r)
            s += list.GetItemText(list.Model().DisplayToItem(r), 0) + " ";
        return s;
    };
    NMHEADERA nm = {};
    nm.hdr.hwndFrom = list.GetHeaderCtrl()->m_hWnd;
    nm.hdr.idFrom = 0;
    nm.hdr.code = HDN_ITEMCLICKA;
    nm.iItem = 0;
    list.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
    EXPECT_EQ(order(), "east north south ");
    EXPECT_EQ(parent.Count(kNotifyHeaderClick), 1);
    list.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
    EXPECT_EQ(order(), "south north east ") << "the same column again: descending";
    int direction = -1;
    EXPECT_EQ(list.GetHeaderCtrl()->GetSortColumn(&direction), 0);
    EXPECT_EQ(direction, 0);
}

TEST_F(ListEditTest, TheWheelPostsItsLinesHeldToAPage)
{
    for (int i = 0; i < 40; ++i)
        list.InsertItem("row");
    auto posted = [&](int delta, int* code) {
        PumpPendingMessages();
        ::SendMessageA(list.m_hWnd, WM_MOUSEWHEEL, MAKEWPARAM(0, delta), 0);
        int n = 0;
        MSG msg;
        while (::PeekMessageA(&msg, list.m_hWnd, WM_VSCROLL, WM_VSCROLL, PM_REMOVE)) {
            *code = LOWORD(msg.wParam);
            ++n;
        }
        return n;
    };
    int code = -1;
    list.lines = 3;
    list.SendMessage(WM_SETTINGCHANGE, 0, 0);
    EXPECT_EQ(posted(120, &code), 3) << "a notch with 3 lines";
    EXPECT_EQ(code, SB_LINEUP);
    EXPECT_EQ(posted(-120, &code), 3);
    EXPECT_EQ(code, SB_LINEDOWN);
    list.lines = 1000000;
    list.SendMessage(WM_SETTINGCHANGE, 0, 0);
    const int page = list.Geometry().GetCountPerPage();
    ASSERT_GT(page, 0);
    EXPECT_EQ(posted(120, &code), page) << "a huge setting posts a page of lines, not a million";
}

// ---- The combo editor a parent opens -------------------------------------------------------

// A combo editor that counts its deletions.
class CCountedCombo : public CODListInPlaceCombo
{
public:
    using CODListInPlaceCombo::CODListInPlaceCombo;
    ~CCountedCombo() override { ++s_deleted; }
    static int s_deleted;
};
int CCountedCombo::s_deleted = 0;

class ListComboTest : public ListEditTest
{
protected:
    // The parent answers -2057 with a combo of that style over the cell,
    // holding three choices and the cell's text (a drop-down list selects
    // it), the starting key applied.
    void OpenCombos(DWORD style)
    {
        parent.openEditor = [this, style](NMODLISTEDIT* e) {
            combo = new CCountedCombo(e->item, e->column);
            CRect r(e->rect);
            r.bottom += 80;
            if (!combo->Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | style, r, &list, 21)) {
                delete combo;
                combo = nullptr;
                return HWND(NULL);
            }
            for (const char* choice : {"apple", "berry", "cherry"})
                combo->AddString(choice);
            if ((style & 3) == CBS_DROPDOWNLIST)
                combo->SelectString(-1, e->text ? e->text : "");
            else
                combo->SetWindowText(startText.c_str());
            combo->OnEditKey(e->key);
            return combo->m_hWnd;
        };
    }
    std::string ComboText()
    {
        char text[kCellBuffer] = {};
        if (combo && combo->m_hWnd)
            combo->GetWindowText(text, sizeof text);
        return text;
    }
    // A key the way the message loop delivers it: the framework's
    // pre-translation from the focus window up, then the window itself.
    void PressKey(UINT key)
    {
        MSG msg = {};
        msg.hwnd = ::GetFocus();
        msg.message = WM_KEYDOWN;
        msg.wParam = key;
        if (!CWnd::WalkPreTranslateTree(NULL, &msg))
            ::SendMessageA(msg.hwnd, WM_KEYDOWN, key, 0);
    }

    CCountedCombo* combo = nullptr;
    std::string startText;
};

TEST_F(ListComboTest, TheStartingKeyIsTypedIntoDropDowns)
{
    struct Case
    {
        const char* what;
        DWORD style;
        int key;
        const char* text;
    };
    const Case cases[] = {
        {"a drop-down takes the character", CBS_DROPDOWN | CBS_AUTOHSCROLL, 'c', "c"},
        {"a drop-down list picks the choice it starts", CBS_DROPDOWNLIST, 'c', "cherry"},
        {"a click types nothing", CBS_DROPDOWN | CBS_AUTOHSCROLL, 1, ""},
        {"Enter types nothing", CBS_DROPDOWN | CBS_AUTOHSCROLL, 13, ""},
        {"a simple combo gets no character", CBS_SIMPLE | CBS_AUTOHSCROLL, 'c', ""},
    };
    for (const Case& k : cases) {
        OpenCombos(k.style);
        list.SetItemText(0, 0, "none of them");
        ASSERT_TRUE(list.BeginEdit(0, 0, k.key)) << k.what;
        ASSERT_NE(combo, nullptr) << k.what;
        HWND editor = combo->m_hWnd;
        EXPECT_EQ(list.GetEditor(), editor) << k.what;
        EXPECT_TRUE(editor == ::GetFocus() || ::IsChild(editor, ::GetFocus())) << k.what << ": the combo has the focus";
        PumpPendingMessages();  // the posted character
        EXPECT_EQ(ComboText(), k.text) << k.what;
        PressKey(VK_ESCAPE);
        ASSERT_TRUE(EditorClosed(editor)) << k.what;
        combo = nullptr;
        list.SetFocus();
    }
}

TEST_F(ListComboTest, EndKeysAndFocusLoss)
{
    struct Case
    {
        const char* what;
        UINT key;  // 0: the focus goes to another window
        const char* cell;
        int reported;
    };
    const Case cases[] = {
        {"Esc leaves the cell unchanged", VK_ESCAPE, "north", 27},
        {"Enter writes it", VK_RETURN, "berry", 13},
        {"Tab writes it", VK_TAB, "berry", 9},
        {"leaving the combo writes it", 0, "berry", 13},
    };
    OpenCombos(CBS_DROPDOWN | CBS_AUTOHSCROLL);
    for (const Case& k : cases) {
        list.SetItemText(0, 0, "north");
        parent.endKeys.clear();
        CCountedCombo::s_deleted = 0;
        startText = "north";
        ASSERT_TRUE(list.BeginEdit(0, 0, 1)) << k.what;
        HWND editor = combo->m_hWnd;
        EXPECT_EQ(ComboText(), "north") << k.what;
        combo->SetCurSel(1);
        EXPECT_EQ(ComboText(), "berry") << k.what;
        if (k.key)
            PressKey(k.key);
        else
            other.SetFocus();
        ASSERT_TRUE(EditorClosed(editor)) << k.what;
        EXPECT_EQ(list.GetItemText(0, 0), k.cell) << k.what;
        ASSERT_EQ(parent.endKeys.size(), 1u) << k.what << ": one end";
        EXPECT_EQ(parent.endKeys[0], k.reported) << k.what;
        EXPECT_EQ(list.GetEditor(), HWND(NULL)) << k.what;
        EXPECT_EQ(CCountedCombo::s_deleted, 1) << k.what << ": the object went with its window";
        combo = nullptr;
        list.SetFocus();
    }
}

TEST_F(ListComboTest, KeysTheComboKeepsAndASecondEnd)
{
    OpenCombos(CBS_DROPDOWNLIST);
    ASSERT_TRUE(list.BeginEdit(0, 0, 1));
    HWND editor = combo->m_hWnd;
    EXPECT_EQ(::SendMessageA(editor, WM_GETDLGCODE, 0, 0), LRESULT(DLGC_WANTALLKEYS));
    MSG msg = {};
    msg.hwnd = ::GetFocus();
    msg.message = WM_SYSCHAR;
    msg.wParam = 'x';
    EXPECT_TRUE(CWnd::WalkPreTranslateTree(NULL, &msg)) << "Alt+key is swallowed";
    EXPECT_EQ(list.GetEditor(), editor) << "and ends nothing";
    combo->EndEdit();
    combo->EndEdit();
    ASSERT_TRUE(EditorClosed(editor));
    EXPECT_EQ(parent.Count(kNotifyEndEdit), 1) << "only the first end is told";
}

// ---- Header drag, divider double click, expanders, focus loss ------------------------------

TEST_F(ListEditTest, DraggingAHeaderColumnReordersTheList)
{
    CODHeaderCtrl* header = list.GetHeaderCtrl();
    ASSERT_NE(header, nullptr);
    ASSERT_TRUE(header->GetStyle() & HDS_DRAGDROP);
    CRect h;
    header->GetClientRect(&h);
    struct Case
    {
        const char* what;
        DWORD style;
        CPoint drop;  // in the header's client area
        std::vector<int> shown;
    };
    const Case cases[] = {
        {"dropped after the second column", 0, CPoint(190, h.Height() / 2), {1, 0}},
        {"dropped off the header with 0x0100: hidden", kStyleHideOnDragOut, CPoint(60, 150), {1}},
        {"dropped off the header without it: nothing", 0, CPoint(60, 150), {0, 1}},
    };
    auto headerTexts = [&] {
        std::vector<std::string> texts;
        std::vector<int> order(size_t(header->GetItemCount()));
        header->GetOrderArray(order.data(), int(order.size()));
        for (int index : order) {
            char text[64] = {};
            HDITEMA item = {};
            item.mask = HDI_TEXT;
            item.pszText = text;
            item.cchTextMax = sizeof text;
            header->GetItem(index, &item);
            texts.push_back(text);
        }
        return texts;
    };
    const char* const names[] = {"Name", "Score"};
    for (const Case& k : cases) {
        list.HideColumn(1);
        list.HideColumn(0);
        list.ShowColumn(0, 0);
        list.ShowColumn(1, 1);
        list.ModifyStyle(kStyleHideOnDragOut, k.style);
        list.UpdateWindow();
        header->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, h.Height() / 2));
        header->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(32, h.Height() / 2));
        header->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(k.drop.x, k.drop.y));
        ASSERT_TRUE(header->IsColumnDragging()) << k.what;
        header->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(k.drop.x, k.drop.y));
        list.Invalidate(FALSE);
        list.UpdateWindow();  // the new order is read at the next paint
        EXPECT_EQ(list.Model().GetShownColumns(), k.shown) << k.what;
        std::vector<std::string> expected;
        for (int column : k.shown)
            expected.push_back(names[column]);
        EXPECT_EQ(headerTexts(), expected) << k.what << ": the header shows the list's order";
        // The cells follow: the first position shows the first shown column.
        RECT first = {};
        ASSERT_TRUE(list.GetContentCellRect(0, 0, &first, kPartCell)) << k.what;
        EXPECT_EQ(first.right - first.left, list.Model().GetColumnWidth(k.shown[0])) << k.what;
    }
    list.ModifyStyle(kStyleHideOnDragOut, 0);
}

TEST_F(ListEditTest, DividerDoubleClickFitsTheWidestCell)
{
    LOGFONTA lf = {};
    lf.lfHeight = -15;
    lstrcpyA(lf.lfFaceName, "Arial");
    HFONT font = ::CreateFontIndirectA(&lf);
    lf.lfWeight = FW_BOLD;
    HFONT bold = ::CreateFontIndirectA(&lf);
    ASSERT_TRUE(font && bold);
    list.SendMessage(WM_SETFONT, WPARAM(font), FALSE);
    list.SetItemText(2, 0, "a much longer name");
    list.SetItemText(1, 0, "a much longer nam");
    auto textWidth = [](HFONT f, const char* text) {
        HDC dc = ::GetDC(NULL);
        HGDIOBJ old = ::SelectObject(dc, f);
        SIZE size = {};
        ::GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
        ::SelectObject(dc, old);
        ::ReleaseDC(NULL, dc);
        return int(size.cx);
    };
    const int margin = 6;  // the cell margin on either side
    struct Case
    {
        const char* what;
        uint32_t flags;
        LRESULT answer;
        bool boldRow;
        int expected;  // -1: unchanged
    };
    const int plain = margin + textWidth(font, "a much longer name") + margin;
    const int boldFit = std::max(plain, margin + textWidth(bold, "a much longer nam") + margin);
    ASSERT_GT(boldFit, plain) << "the bold row is the widest";
    const Case cases[] = {
        {"fits the widest cell", 0, 0, false, plain},
        {"measures a bold row in the bold font", 0, 0, true, boldFit},
        {"the parent handles it", 0, 1, false, -1},
        {"a column that keeps its width", kColumnNoFit, 0, false, -1},
    };
    for (const Case& k : cases) {
        ColumnInfo c = *list.Model().GetColumn(0);
        c.flags = (c.flags & ~uint32_t(kColumnNoFit)) | k.flags;
        list.Model().SetColumn(0, c);
        list.SetColumnWidth(0, 40);
        list.Model().SetItemState(1, k.boldRow ? uint32_t(kStateSecondFont) : 0u, kStateSecondFont);
        parent.answers[kNotifyDividerDblClick] = k.answer;
        parent.items.clear();
        NMHEADERA nm = {};
        nm.hdr.hwndFrom = list.GetHeaderCtrl()->m_hWnd;
        nm.hdr.code = HDN_DIVIDERDBLCLICKA;
        nm.iItem = 0;
        list.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
        ASSERT_EQ(parent.items.size(), 1u) << k.what << ": the parent is asked first";
        EXPECT_EQ(parent.items[0].column, 0) << k.what;
        const int width = k.expected < 0 ? 40 : k.expected;
        EXPECT_EQ(list.Model().GetColumnWidth(0), width) << k.what;
        HDITEMA item = {};
        item.mask = HDI_WIDTH;
        list.GetHeaderCtrl()->GetItem(0, &item);
        EXPECT_EQ(item.cxy, width) << k.what << ": the header too";
    }
    list.SendMessage(WM_SETFONT, 0, FALSE);
    ::DeleteObject(font);
    ::DeleteObject(bold);
}

TEST_F(ListEditTest, ExpanderClicksAndDoubleClicksToggleNodes)
{
    CODListCtrl tree;
    ASSERT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE | kStyleTree, CRect(0, 0, 300, 200), &parent, 9));
    tree.InsertColumn(0, Column("Name", 150));
    tree.ShowColumn(0, 0);
    ODLVITEM d = {};
    d.mask = kMaskText;
    d.text = const_cast<char*>("north");
    const NodeHandle north = tree.Model().InsertTreeItem(&d, kTreeRoot, kInsertLast, 0);
    d.text = const_cast<char*>("east");
    tree.Model().InsertTreeItem(&d, kTreeRoot, kInsertLast, 0);
    d.text = const_cast<char*>("child");
    const NodeHandle child = tree.Model().InsertTreeItem(&d, north, kInsertLast, 0);
    d.text = const_cast<char*>("grandchild");
    tree.Model().InsertTreeItem(&d, child, kInsertLast, 0);
    ASSERT_EQ(tree.Model().GetDisplayCount(), 2) << "collapsed";
    const int h = tree.Geometry().GetRowHeight();
    const int top = tree.Geometry().ContentRect().top;

    struct Case
    {
        const char* what;
        bool doubleClick;
        int row;             // the display row clicked
        LRESULT answer;      // to -2064 (a click) or -2050 (a double click)
        std::vector<int> codes;
        int rowsAfter;
    };
    const Case cases[] = {
        {"the expander: asked, then toggled and told", false, 0, 0, {kNotifyExpanderClick, kNotifyToggled}, 3},
        {"the parent keeps the node as it is", false, 0, 1, {kNotifyExpanderClick}, 3},
        {"a second click collapses it", false, 0, 0, {kNotifyExpanderClick, kNotifyToggled}, 2},
        {"a double click on the text toggles it", true, 0, 0, {kNotifyToggled}, 3},
        {"a double click the parent takes", true, 0, 1, {}, 3},
        {"a double click on a node with children of its own", true, 1, 0, {kNotifyToggled}, 4},
        {"a double click on a leaf", true, 2, 0, {}, 4},
    };
    for (const Case& k : cases) {
        ODHitTestInfo hit = {};
        if (k.doubleClick) {
            RECT text = {};
            ASSERT_TRUE(tree.GetContentCellRect(k.row, 0, &text, kPartCell)) << k.what;
            hit.x = text.right - 10;
        } else {
            hit.x = h / 2;  // the expander of a top-level row
        }
        hit.y = top + k.row * h + h / 2;
        tree.Geometry().HitTest(&hit);
        ASSERT_EQ(hit.displayRow, k.row) << k.what;
        ASSERT_EQ((hit.flags & kHitExpander) != 0, !k.doubleClick) << k.what;
        parent.items.clear();
        parent.answers.clear();
        parent.answers[k.doubleClick ? kNotifyDoubleClick : kNotifyExpanderClick] = k.answer;
        tree.SendMessage(k.doubleClick ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN, 0, MAKELPARAM(hit.x, hit.y));
        std::vector<int> codes;
        for (const NMODLISTITEM& n : parent.items) {
            if (n.hdr.hwndFrom != tree.m_hWnd || n.hdr.code == UINT(kNotifyFocusLost))
                continue;
            codes.push_back(int(n.hdr.code));
            EXPECT_EQ(n.item, k.row) << k.what << ": the row";
            if (int(n.hdr.code) == kNotifyExpanderClick) {
                EXPECT_EQ(n.column, 0) << k.what << ": the column";
            }
        }
        EXPECT_EQ(codes, k.codes) << k.what;
        EXPECT_EQ(tree.Model().GetDisplayCount(), k.rowsAfter) << k.what;
    }
    parent.answers.clear();
    tree.DestroyWindow();
}

TEST_F(ListEditTest, LosingTheFocusTellsTheWindowGettingIt)
{
    struct Case
    {
        const char* what;
        std::function<HWND()> move;  // moves the focus; the window that got it
        BOOL focusLook;              // the list still looks focused
    };
    const Case cases[] = {
        {"another window takes it", [&] { other.SetFocus(); return other.m_hWnd; }, FALSE},
        {"the list's own editor takes it",
         [&] {
             list.BeginEdit(0, 0, 1);
             return list.GetEditor();
         },
         TRUE},
        {"no window takes it", [&] { ::SetFocus(NULL); return HWND(NULL); }, FALSE},
    };
    for (const Case& k : cases) {
        list.SetFocus();
        ASSERT_TRUE(list.HasFocus()) << k.what;
        parent.items.clear();
        const HWND to = k.move();
        ASSERT_EQ(::GetFocus(), to) << k.what;
        std::vector<NMODLISTITEM> lost;
        for (const NMODLISTITEM& n : parent.items)
            if (int(n.hdr.code) == kNotifyFocusLost)
                lost.push_back(n);
        ASSERT_EQ(lost.size(), 1u) << k.what;
        EXPECT_EQ(lost[0].hdr.hwndFrom, list.m_hWnd) << k.what;
        EXPECT_EQ(lost[0].hdr.idFrom, 7u) << k.what;
        EXPECT_EQ(lost[0].value, uint32_t(reinterpret_cast<uintptr_t>(to))) << k.what;
        EXPECT_EQ(list.HasFocus(), k.focusLook) << k.what;
        if (HWND editor = list.GetEditor()) {
            ::SendMessageA(editor, WM_KEYDOWN, VK_ESCAPE, 0);
            ASSERT_TRUE(EditorClosed(editor)) << k.what;
        }
    }
}

}  // namespace
