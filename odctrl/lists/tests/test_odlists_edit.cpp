// The list's window input and in-place editing on the test display: header
// clicks sorting ascending then descending, the wheel's posted scroll
// messages (held to a page), a click on the focused cell opening an editor,
// the editor's end keys and focus loss (Esc keeps the cell, Enter, Tab and
// leaving write it), edits started by typing and by Backspace, cells
// without text and read-only rows opening none, the "..." button's round
// trip through a bounded buffer, and a second end doing nothing.
#include "ODTestSupport.h"

#include <string.h>

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
            return 0;
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

}  // namespace
