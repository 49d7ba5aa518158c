// The skinned combo boxes and their drop-downs on the test display: the
// CB_* and text message answers (the copied length, a password edit
// refused), the CBN_* sequences of opening, accepting, cancelling and focus,
// one CBN_SELCHANGE from SetCurSel, the drop-down above a combo at the
// screen's bottom, a dialog's native combo replaced in place (directly and
// through the dialog data exchange), the face of a drop-down list (picture
// and text by pixels), Enter, Escape and the arrows in both
// drop-downs (through the pre-translating message loop), focus moving to a
// container scroll bar keeping the list open, and a real click on the drop
// button closing an open list for good.
#include "ODTestSupport.h"

#include <gtest/gtest-spi.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ODComboBox.h"
#include "ODLibrary.h"

namespace {

using namespace odtest;

const UINT kComboId = 50;
const UINT kOtherId = 51;

// The combos' parent: a shown top-level window that logs the CBN_* codes
// its combos send and the list notices passed on to it.
class CComboParent : public CWnd
{
public:
    std::vector<UINT> codes;
    std::vector<int> notices;
    HWND combo = NULL;
    // Another program's window became the active one.
    bool disturbed = false;

    BOOL CreateAt(int x, int y)
    {
        return CreateEx(0, AfxRegisterWndClass(0, ::LoadCursor(NULL, IDC_ARROW)), "combos",
                        WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, x, y, 320, 240, NULL, NULL);
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND && combo && reinterpret_cast<HWND>(lParam) == combo) {
            codes.push_back(HIWORD(wParam));
            return 0;
        }
        if (message == WM_NOTIFY) {
            notices.push_back(int(reinterpret_cast<const NMHDR*>(lParam)->code));
            return 0;
        }
        if (message == WM_ACTIVATEAPP && !wParam)
            disturbed = true;
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// Dispatches what is queued, each message offered to the windows'
// PreTranslateMessage first, as the framework's own loop does.
void PumpTranslated()
{
    MSG msg;
    while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        if (!CWnd::WalkPreTranslateTree(NULL, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
}

// A key pressed in the window that has the focus, through the loop.
void PressKey(UINT key)
{
    const HWND focus = ::GetFocus();
    ASSERT_TRUE(focus != NULL) << "a window has the keyboard focus";
    ::PostMessageA(focus, WM_KEYDOWN, key, 1);
    PumpTranslated();
}

// A click at a point of a window's client area, through the loop.
void Click(CWnd& wnd, int x, int y)
{
    CPoint screen(x, y);
    wnd.ClientToScreen(&screen);
    ::SetCursorPos(screen.x, screen.y);
    ::PostMessageA(wnd.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    ::PostMessageA(wnd.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    PumpTranslated();
}

const char* const kSeats[] = {"North", "East", "South", "West", "Centre"};

typedef std::vector<UINT> Codes;

class ComboTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // The pointer away from every window: a list shown under it would track it.
        ::SetCursorPos(0, 0);
        ASSERT_TRUE(parent.CreateAt(100, 100));
    }
    void TearDown() override
    {
        if (parent.m_hWnd)
            parent.DestroyWindow();
    }

    // Runs a body that needs the keyboard focus (the drop-downs close when
    // the focus leaves the program) with the parent in the foreground. The
    // test display is shared with other programs' tests: when one of them
    // takes the foreground during a run, that run does not count and the
    // body runs again; the failures of the first undisturbed run are
    // reported (or those of the last run, marked, when none was undisturbed).
    void Undisturbed(const std::function<void()>& body)
    {
        const int kAttempts = 6;
        for (int attempt = 1;; ++attempt) {
            ::SetCursorPos(0, 0);
            parent.SetForegroundWindow();
            const bool front = WaitUntil([&] {
                PumpTranslated();
                return ::GetForegroundWindow() == parent.m_hWnd;
            });
            parent.codes.clear();
            parent.disturbed = !front;
            ::testing::TestPartResultArray results;
            {
                ::testing::ScopedFakeTestPartResultReporter intercept(
                    ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &results);
                body();
            }
            PumpTranslated();
            if (parent.disturbed && attempt < kAttempts)
                continue;
            for (int i = 0; i < results.size(); ++i) {
                const ::testing::TestPartResult& r = results.GetTestPartResult(i);
                if (r.failed())
                    ADD_FAILURE_AT(r.file_name() ? r.file_name() : "?", r.line_number())
                        << r.message()
                        << (parent.disturbed ? "\n(another program took the foreground in every run)" : "");
            }
            return;
        }
    }

    // A combo of the class at (10, 10), 140 wide, with the five seats.
    template <class T>
    void Make(T& combo, DWORD style = 0, int x = 10, int y = 10)
    {
        ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | style, CRect(x, y, x + 140, y + 24), &parent,
                                 kComboId));
        for (const char* s : kSeats)
            combo.AddString(s);
        parent.combo = combo.m_hWnd;
        PumpTranslated();
        parent.codes.clear();
    }
    void Open(CODComboBase& combo)
    {
        combo.GetButton()->SendMessage(BM_CLICK);
        PumpTranslated();
        ASSERT_TRUE(combo.GetDroppedState());
        ASSERT_TRUE(combo.GetDropDownWnd()->IsWindowVisible());
        parent.codes.clear();
    }
    static CString EditText(CODComboBase& combo)
    {
        CString text;
        combo.GetEditText(text);
        return text;
    }

    CComboParent parent;
};

// ---- Messages ------------------------------------------------------------------------------------

TEST_F(ComboTest, TextMessagesAnswerTheCopiedLength)
{
    CODComboBox box;
    Make(box);
    EXPECT_EQ(box.SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Seven seats")), 1);
    EXPECT_EQ(EditText(box), "Seven seats");
    EXPECT_EQ(box.SendMessage(WM_GETTEXTLENGTH), 11);
    struct Case {
        const char* what;
        WPARAM size;
        LRESULT answer;
        const char* text;
    };
    const Case cases[] = {
        {"room for everything", 64, 11, "Seven seats"},
        {"room for the text and its terminator exactly", 12, 11, "Seven seats"},
        {"one byte short: ten copied, ten answered", 11, 10, "Seven seat"},
        {"room for four", 5, 4, "Seve"},
        {"room for the terminator only", 1, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        char buffer[64];
        memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(box.SendMessage(WM_GETTEXT, c.size, reinterpret_cast<LPARAM>(buffer)), c.answer);
        EXPECT_STREQ(buffer, c.text);
    }
    char untouched[4] = "abc";
    EXPECT_EQ(box.SendMessage(WM_GETTEXT, 0, reinterpret_cast<LPARAM>(untouched)), 0) << "no room";
    EXPECT_STREQ(untouched, "abc");
    EXPECT_EQ(box.SendMessage(WM_GETTEXT, 10, 0), 0) << "no buffer";
    EXPECT_EQ(box.SendMessage(WM_SETTEXT, 0, 0), 1) << "a null text empties the edit";
    EXPECT_EQ(EditText(box), "");
}

TEST_F(ComboTest, PasswordEditRefusesTheTextMessages)
{
    CODComboList list;
    Make(list);
    list.SetEditText("hidden");
    list.GetEditCtrl()->ModifyStyle(0, ES_PASSWORD);
    char buffer[16] = "untouched";
    EXPECT_EQ(list.SendMessage(WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer)), 0);
    EXPECT_STREQ(buffer, "untouched");
    EXPECT_EQ(list.SendMessage(WM_GETTEXTLENGTH), 0);
    EXPECT_EQ(list.SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("other")), 0);
    EXPECT_EQ(EditText(list), "hidden") << "nothing changed";
}

TEST_F(ComboTest, CurSelMessagesOfBothClasses)
{
    CODComboBox box;
    CODComboList list;
    CODComboBase* const combos[] = {&box, &list};
    for (CODComboBase* combo : combos) {
        SCOPED_TRACE(combo->GetRuntimeClass()->m_lpszClassName);
        Make(*combo);
        EXPECT_EQ(combo->SendMessage(CB_GETCURSEL), CB_ERR) << "nothing selected yet";
        struct Case {
            const char* what;
            WPARAM index;
            LRESULT answer;
            int selected;
            const char* edit;
            Codes codes;
        };
        const Case cases[] = {
            {"a valid index", 2, 2, 2, "South", {CBN_SELCHANGE}},
            {"the count itself is refused", 5, 0, 2, "South", {}},
            {"a negative index is refused", WPARAM(-1), 0, 2, "South", {}},
            {"the last item", 4, 4, 4, "Centre", {CBN_SELCHANGE}},
            {"the first item", 0, 0, 0, "North", {CBN_SELCHANGE}},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            parent.codes.clear();
            EXPECT_EQ(combo->SendMessage(CB_SETCURSEL, c.index), c.answer);
            EXPECT_EQ(combo->SendMessage(CB_GETCURSEL), c.selected);
            EXPECT_EQ(EditText(*combo), c.edit);
            EXPECT_EQ(parent.codes, c.codes);
        }
        char text[8];
        EXPECT_EQ(combo->GetLBText(3, text, sizeof text), 4);
        EXPECT_STREQ(text, "West");
        EXPECT_EQ(combo->GetLBText(3, text, 3), 2) << "cut to the buffer";
        EXPECT_STREQ(text, "We");
        EXPECT_EQ(combo->GetLBText(5, text, sizeof text), CB_ERR);
        EXPECT_FALSE(combo->GetDroppedState());
        combo->DestroyWindow();
        parent.combo = NULL;
    }
}

// ---- SetCurSel ------------------------------------------------------------------------------------

TEST_F(ComboTest, SetCurSelSendsOneNotificationAndLeavesTheDropDownAlone)
{
    Undisturbed([&] {
        CODComboBox box;
        Make(box);
        box.InsertString(5, "");
        struct Case {
            const char* what;
            int index;
            int answer;
            int selected;
            const char* edit;
            Codes codes;
        };
        const Case cases[] = {
            {"an item with text: one CBN_SELCHANGE", 1, 1, 1, "East", {CBN_SELCHANGE}},
            {"an item without text is selected silently", 5, 5, 5, "East", {}},
            {"a bad index is refused", 9, CB_ERR, 5, "East", {}},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            parent.codes.clear();
            EXPECT_EQ(box.SetCurSel(c.index), c.answer);
            PumpTranslated();
            EXPECT_EQ(box.GetCurSel(), c.selected);
            EXPECT_EQ(EditText(box), c.edit);
            EXPECT_EQ(parent.codes, c.codes) << "no SELENDOK or CLOSEUP of a list that never opened";
            EXPECT_FALSE(box.GetDroppedState());
            EXPECT_FALSE(box.GetDropDownWnd()->IsWindowVisible());
        }

        // While open, the choice closes the list as one taken from it.
        Open(box);
        box.SetCurSel(3);
        EXPECT_EQ(parent.codes, (Codes{CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP}));
        EXPECT_FALSE(box.GetDropDownWnd()->IsWindowVisible());

        CODComboList list;
        ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE, CRect(10, 60, 150, 84), &parent, kOtherId));
        list.AddString("One");
        list.AddString("Two");
        parent.combo = list.m_hWnd;
        parent.codes.clear();
        EXPECT_EQ(list.SetCurSel(1), 1);
        EXPECT_EQ(parent.codes, (Codes{CBN_SELCHANGE})) << "the list control's own change is not reported again";
        EXPECT_EQ(list.GetCurSel(), 1);
        EXPECT_EQ(EditText(list), "Two");
    });
}

// ---- Opening, accepting, cancelling, focus ------------------------------------------------------------

TEST_F(ComboTest, OpenAndCloseByTheButton)
{
    Undisturbed([&] {
        CODComboBox box;
        Make(box);
        box.GetButton()->SendMessage(BM_CLICK);
        PumpTranslated();
        EXPECT_EQ(parent.codes, (Codes{CBN_DROPDOWN}));
        EXPECT_TRUE(box.GetDroppedState());
        EXPECT_TRUE(box.GetDropDownWnd()->IsWindowVisible());
        parent.codes.clear();
        box.GetButton()->SendMessage(BM_CLICK);
        PumpTranslated();
        EXPECT_EQ(parent.codes, (Codes{CBN_SELENDOK, CBN_CLOSEUP}));
        EXPECT_FALSE(box.GetDroppedState());
        EXPECT_FALSE(box.GetDropDownWnd()->IsWindowVisible());
    });
}

TEST_F(ComboTest, AClickInTheListBoxAccepts)
{
    Undisturbed([&] {
        CODComboBox box;
        Make(box);
        Open(box);
        CODListBox* list = box.GetListBox();
        CRect row;
        ASSERT_NE(list->GetItemRect(2, &row), LB_ERR);
        Click(*list, row.left + 5, row.top + 2);
        EXPECT_EQ(parent.codes, (Codes{CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP}));
        EXPECT_EQ(box.GetCurSel(), 2);
        EXPECT_EQ(EditText(box), "South");
        EXPECT_FALSE(box.GetDropDownWnd()->IsWindowVisible());
    });
}

TEST_F(ComboTest, AClickInTheListControlAccepts)
{
    Undisturbed([&] {
        CODComboList combo;
        Make(combo);
        Open(combo);
        CODListCtrl* list = combo.GetListCtrl();
        RECT cell;
        ASSERT_TRUE(list->GetContentCellRect(3, 0, &cell, 0));
        Click(*list, cell.left + 5, cell.top + 2);
        // The row's selection change reports the choice, the click accepts it.
        EXPECT_EQ(parent.codes, (Codes{CBN_SELCHANGE, CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP}));
        EXPECT_EQ(combo.GetCurSel(), 3);
        EXPECT_EQ(EditText(combo), "West");
        EXPECT_FALSE(combo.GetDropDownWnd()->IsWindowVisible());
        EXPECT_EQ(::GetFocus(), combo.GetEditCtrl()->m_hWnd) << "the edit takes the focus";
    });
}

TEST_F(ComboTest, AClickOnTheComboWhileOpenCancels)
{
    Undisturbed([&] {
        CODComboBox box;
        Make(box);
        struct Case {
            const char* what;
            bool onButton;
        };
        const Case cases[] = {
            {"on the edit", false},
            {"on the button: consumed, the list stays closed", true},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            Open(box);
            box.SetCurSel(-1);
            CWnd& target = c.onButton ? static_cast<CWnd&>(*box.GetButton()) : *box.GetEditCtrl();
            Click(target, 4, 4);
            EXPECT_EQ(parent.codes, (Codes{CBN_SELENDCANCEL, CBN_CLOSEUP}));
            EXPECT_FALSE(box.GetDroppedState());
            EXPECT_FALSE(box.GetDropDownWnd()->IsWindowVisible());
        }
    });
}

TEST_F(ComboTest, ADropDownListOpensByAClickOnItsFace)
{
    Undisturbed([&] {
        CODComboBox box;
        Make(box, CBS_DROPDOWNLIST);
        EXPECT_FALSE(box.GetEditCtrl()->IsWindowVisible()) << "the face is painted, not edited";
        EXPECT_TRUE(box.GetEditCtrl()->GetEditStyle() & ES_READONLY);
        Click(box, 10, 5);
        EXPECT_EQ(parent.codes, (Codes{CBN_DROPDOWN}));
        EXPECT_TRUE(box.GetDroppedState());
    });
}

TEST_F(ComboTest, FocusNotifications)
{
    Undisturbed([&] {
        CODComboBox box;
        Make(box);
        CWnd other;
        ASSERT_TRUE(
            other.Create(AfxRegisterWndClass(0), "", WS_CHILD | WS_VISIBLE, CRect(200, 10, 240, 30), &parent, 9));
        other.SetFocus();
        PumpTranslated();
        parent.codes.clear();
        box.SetFocus();
        // The combo passes the focus on to its edit at once.
        EXPECT_EQ(parent.codes, (Codes{CBN_SETFOCUS, CBN_KILLFOCUS}));
        EXPECT_EQ(::GetFocus(), box.GetEditCtrl()->m_hWnd);
        parent.codes.clear();
        box.GetEditCtrl()->PostMessage(WM_CHAR, 'q', 1);
        PumpTranslated();
        EXPECT_EQ(parent.codes, (Codes{CBN_EDITCHANGE})) << "typing";
        EXPECT_EQ(EditText(box), "q");
    });
}

// ---- The face of a drop-down list ----------------------------------------------------------------------

// The leftmost column holding a pixel that is neither white nor skip; -1 for none.
int LeftmostInk(const Canvas& c, COLORREF skip)
{
    for (int x = 0; x < c.width(); ++x)
        for (int y = 0; y < c.height(); ++y) {
            const COLORREF p = c.At(x, y);
            if (p != kWhite && p != skip)
                return x;
        }
    return -1;
}

TEST_F(ComboTest, TheFaceShowsTheSelectedItem)
{
    CODComboBox box;
    Make(box, CBS_DROPDOWNLIST);
    CImageList images;
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR32, 1, 0));
    // A red square in a white frame (the frame's colour is the list's transparent key).
    HBITMAP red = MakeBitmap(16, 16, [](int x, int y) { return x < 2 || x > 13 || y < 2 || y > 13 ? kWhite : kRed; });
    images.Add(CBitmap::FromHandle(red), kWhite);
    ::DeleteObject(red);
    box.SetImageList(&images);
    const ODLBITEM pictured = {0, "Seat", 0, 0, ODLB_TEXT | ODLB_IMAGE, 0, ODLB_IMAGE_BESIDE};
    ASSERT_EQ(box.InsertItem(5, pictured), 5);
    struct Case {
        const char* what;
        int select;
        bool image;
        int firstInk;  // the leftmost column of text, -1 no text
    };
    const Case cases[] = {
        {"nothing selected: nothing drawn", -1, false, -1},
        {"a text item from the left edge", 1, false, 0},
        {"an image item: the picture in the corner, the text 16 + 2 further right", 5, true, 18},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.select >= 0)
            box.SetCurSel(c.select);
        Canvas canvas(120, 20, kWhite);
        CDC* dc = CDC::FromHandle(canvas.dc());
        box.DrawItem(dc, CRect(0, 0, 120, 20));
        EXPECT_EQ(canvas.At(8, 8) == kRed, c.image);
        const int ink = LeftmostInk(canvas, c.image ? kRed : kWhite);
        if (c.firstInk < 0) {
            EXPECT_EQ(ink, -1);
        } else {
            // Glyphs start a pixel or two into their cell.
            EXPECT_GE(ink, c.firstInk);
            EXPECT_LE(ink, c.firstInk + 3);
        }
    }
}

// ---- Placement and fitting ------------------------------------------------------------------------

TEST_F(ComboTest, TheDropDownOpensAboveNearTheScreensBottom)
{
    Undisturbed([&] {
        const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
        struct Case {
            const char* what;
            int parentTop;
            bool above;
        };
        const Case cases[] = {
            {"room below", 100, false},
            {"at the screen's bottom", screenHeight - 60, true},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            parent.SetWindowPos(NULL, 100, c.parentTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            CODComboBox box;
            Make(box);
            box.SetDroppedHeight(150);
            Open(box);
            CRect combo, drop, want;
            box.GetWindowRect(&combo);
            box.GetDropDownWnd()->GetWindowRect(&drop);
            box.GetDroppedControlRect(&want);
            EXPECT_EQ(drop, want);
            EXPECT_EQ(drop.left, combo.left);
            EXPECT_EQ(drop.Width(), combo.Width()) << "as wide as the combo";
            EXPECT_EQ(drop.Height(), 150);
            if (c.above) {
                EXPECT_EQ(drop.bottom, combo.top);
            } else {
                EXPECT_EQ(drop.top, combo.bottom);
            }
            const HWND dropWindow = box.GetDropDownWnd()->m_hWnd;
            box.DestroyWindow();
            EXPECT_FALSE(::IsWindow(dropWindow)) << "the drop-down goes with the combo";
        }
    });
}

TEST_F(ComboTest, LayoutAndFittedHeight)
{
    CODComboBox box;
    Make(box);
    CRect client, button, edit;
    box.GetClientRect(&client);
    EXPECT_EQ(client.Height(), CODComboBase::DefaultSelectionHeight);
    box.GetButton()->GetWindowRect(&button);
    box.ScreenToClient(&button);
    EXPECT_EQ(button, CRect(client.right - 20, 0, client.right, client.bottom));
    box.SetButtonWidth(30);
    box.GetButton()->GetWindowRect(&button);
    box.GetEditCtrl()->GetWindowRect(&edit);
    box.ScreenToClient(&button);
    box.ScreenToClient(&edit);
    EXPECT_EQ(button.left, client.right - 30);
    EXPECT_EQ(edit.right, button.left) << "the edit ends at the button";
    EXPECT_EQ(box.GetDropDown()->GetContainer()->VertBarWidth(), 30);
    box.SetItemHeight(-1, 26);
    box.GetClientRect(&client);
    EXPECT_EQ(client.Height(), 26);

    // Five rows of the list box's height: 5 x 14 + 2 = 72 replaces 200.
    const int rowHeight = box.GetItemHeight(0);
    box.FitDropDownHeight();
    EXPECT_EQ(box.GetDroppedHeight(), 5 * rowHeight + 2);
}

// ---- Replacing a dialog's combo ------------------------------------------------------------------------

INT_PTR CALLBACK NoDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// A modeless dialog of 200 x 120 units with one native drop-down combo
// (id kComboId at 10,10 units, 80 wide, 60 high when dropped) holding three items.
HWND MakeDialogWithCombo()
{
    std::vector<BYTE> bytes;
    auto append = [&](const void* p, size_t n) {
        const BYTE* b = static_cast<const BYTE*>(p);
        bytes.insert(bytes.end(), b, b + n);
    };
    auto word = [&](WORD w) { append(&w, 2); };
    auto align = [&] {
        while (bytes.size() % 4)
            bytes.push_back(0);
    };
    DLGTEMPLATE t = {};
    t.style = WS_POPUP | WS_VISIBLE | DS_SETFONT;
    t.cdit = 1;
    t.cx = 200;
    t.cy = 120;
    append(&t, sizeof t);
    word(0);  // menu
    word(0);  // class
    word(0);  // title
    word(8);
    for (const char* f = "Tahoma"; *f; ++f)
        word(WORD(*f));
    word(0);
    align();
    DLGITEMTEMPLATE item = {};
    item.style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWN;
    item.x = 10;
    item.y = 10;
    item.cx = 80;
    item.cy = 60;
    item.id = WORD(kComboId);
    append(&item, sizeof item);
    word(0xFFFF);
    word(0x0085);  // COMBOBOX
    word(0);       // no text
    word(0);       // no creation data
    HWND dialog = ::CreateDialogIndirectParamA(NULL, reinterpret_cast<LPCDLGTEMPLATE>(bytes.data()), NULL,
                                               NoDialogProc, 0);
    if (dialog)
        for (const char* s : {"Rules", "Seats", "Scores"})
            ::SendDlgItemMessageA(dialog, kComboId, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
    return dialog;
}

TEST(ComboReplace, ADialogComboIsReplacedInPlace)
{
    struct Case {
        const char* what;
        bool throughDataExchange;
        bool list;
    };
    const Case cases[] = {
        {"CODComboBox by ReplaceDlgItem", false, false},
        {"CODComboList by ReplaceWindow", false, true},
        {"CODComboBox through the data exchange", true, false},
        {"CODComboList through the data exchange", true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const HWND dialog = MakeDialogWithCombo();
        ASSERT_TRUE(dialog != NULL);
        CWnd* dialogWnd = CWnd::FromHandle(dialog);
        const HWND native = ::GetDlgItem(dialog, kComboId);
        ASSERT_TRUE(native != NULL);
        RECT droppedRect;
        ::SendMessageA(native, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&droppedRect));
        CRect place;
        ::GetWindowRect(native, &place);
        dialogWnd->ScreenToClient(&place);

        std::unique_ptr<CODComboBase> combo;
        if (c.list)
            combo.reset(new CODComboList);
        else
            combo.reset(new CODComboBox);
        if (c.throughDataExchange) {
            CDataExchange dx(dialogWnd, FALSE);
            ODDDXPrepareCtrl(&dx, kComboId, combo.get());
        } else if (c.list) {
            EXPECT_TRUE(combo->ReplaceWindow(native));
        } else {
            EXPECT_TRUE(combo->ReplaceDlgItem(kComboId, dialogWnd));
        }
        ASSERT_TRUE(combo->m_hWnd != NULL);
        EXPECT_FALSE(::IsWindow(native)) << "the native combo is gone";
        EXPECT_EQ(::GetDlgItem(dialog, kComboId), combo->m_hWnd) << "same id";
        CRect now;
        combo->GetWindowRect(&now);
        dialogWnd->ScreenToClient(&now);
        EXPECT_EQ(now.TopLeft(), place.TopLeft()) << "same position";
        EXPECT_EQ(now.Width(), place.Width());
        EXPECT_EQ(combo->GetStyle() & 0xFFFF0000u, CODComboBase::ReplaceStyle);
        EXPECT_EQ(combo->GetStyle() & 3, 0u) << "the native style bits are not kept";
        EXPECT_EQ(combo->GetDroppedHeight(), droppedRect.bottom - droppedRect.top);
        ASSERT_EQ(combo->GetCount(), 3);
        CString text;
        combo->GetLBText(2, text);
        EXPECT_EQ(text, "Scores");
        combo->GetLBText(0, text);
        EXPECT_EQ(text, "Rules");
        ::DestroyWindow(dialog);
    }
}

TEST(ComboReplace, MissingItemsAreRefused)
{
    const HWND dialog = MakeDialogWithCombo();
    ASSERT_TRUE(dialog != NULL);
    CODComboBox box;
    EXPECT_FALSE(box.ReplaceDlgItem(kComboId + 7, CWnd::FromHandle(dialog)));
    EXPECT_FALSE(box.ReplaceWindow(NULL));
    EXPECT_FALSE(box.ReplaceWindow(reinterpret_cast<HWND>(static_cast<INT_PTR>(0x7FFF0))));
    EXPECT_TRUE(box.m_hWnd == NULL);
    EXPECT_TRUE(::IsWindow(::GetDlgItem(dialog, kComboId))) << "the native combo stays";
    ::DestroyWindow(dialog);
}

// ---- Keys in the drop-downs ------------------------------------------------------------------------------

// The pointer resting on a row of the open list box (which highlights and
// selects that row without a notification).
void Hover(CODListBox& list, int row)
{
    CRect r;
    list.GetItemRect(row, &r);
    CPoint at(5, r.top + 2);
    list.ClientToScreen(&at);
    ::SetCursorPos(at.x, at.y);
    ASSERT_TRUE(WaitUntil([&] {
        PumpTranslated();
        return list.GetCurrentItem() == row;
    }));
}

TEST_F(ComboTest, KeysInTheListBoxDropDown)
{
    Undisturbed([&] {
        CODComboBox box;
        Make(box);
        struct Case {
            const char* what;
            int before;  // the selection before opening
            int hover;   // the row the pointer rests on, -1 none
            bool unselect;  // the hovered row's selection taken away (nothing selected, the row still tracked)
            UINT key;
            Codes codes;
            int after;
            const char* edit;
            bool open;
        };
        const Case cases[] = {
            {"Escape cancels, the selection stays", 1, -1, false, VK_ESCAPE, {CBN_SELENDCANCEL, CBN_CLOSEUP}, 1, "East",
             false},
            {"Escape after the pointer highlighted a row keeps the old selection", 1, 3, false, VK_ESCAPE,
             {CBN_SELENDCANCEL, CBN_CLOSEUP}, 1, "East", false},
            {"Down moves and stays open", 1, -1, false, VK_DOWN, {CBN_SELCHANGE}, 2, "South", true},
            {"Up moves and stays open", 1, -1, false, VK_UP, {CBN_SELCHANGE}, 0, "North", true},
            {"Up from the first row wraps to the last", 0, -1, false, VK_UP, {CBN_SELCHANGE}, 4, "Centre", true},
            {"Enter accepts the selection as it is", 3, -1, false, VK_RETURN, {CBN_SELENDOK, CBN_CLOSEUP}, 3, "West",
             false},
            {"Enter takes the row the pointer highlighted", 0, 2, false, VK_RETURN,
             {CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP}, 2, "South", false},
            {"Enter selects the tracked row when nothing is selected", 1, 4, true, VK_RETURN,
             {CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP}, 4, "Centre", false},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            if (box.GetDroppedState())
                box.ToggleDropDown(TRUE);
            ::SetCursorPos(0, 0);
            box.SetCurSel(c.before);
            Open(box);
            CODListBox& list = *box.GetListBox();
            if (c.hover >= 0)
                Hover(list, c.hover);
            if (c.unselect) {
                list.SetSel(c.hover, FALSE);
                ASSERT_EQ(list.GetCurSel(), LB_ERR);
                ASSERT_EQ(list.GetCurrentItem(), c.hover);
            }
            parent.codes.clear();
            EXPECT_EQ(::GetFocus(), box.GetDropDownWnd()->m_hWnd) << "the shown drop-down has the keys";
            PressKey(c.key);
            EXPECT_EQ(parent.codes, c.codes);
            EXPECT_EQ(box.GetCurSel(), c.after);
            EXPECT_EQ(EditText(box), c.edit);
            EXPECT_EQ(box.GetDroppedState() != FALSE, c.open);
            EXPECT_EQ(box.GetDropDownWnd()->IsWindowVisible() != FALSE, c.open);
        }
    });
}

TEST_F(ComboTest, KeysInTheListControlDropDown)
{
    Undisturbed([&] {
        CODComboList combo;
        Make(combo);
        struct Case {
            const char* what;
            UINT key;
            Codes codes;
            int after;
            const char* edit;
            bool open;
        };
        const Case cases[] = {
            {"Escape cancels, the selection stays", VK_ESCAPE, {CBN_SELENDCANCEL, CBN_CLOSEUP}, 1, "East", false},
            // The key notice reports the row it leaves, the selection change the row it reaches.
            {"Down moves and stays open", VK_DOWN, {CBN_SELCHANGE, CBN_SELCHANGE}, 2, "South", true},
            {"Enter accepts once", VK_RETURN, {CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP}, 1, "East", false},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            if (combo.GetDroppedState())
                combo.ToggleDropDown(TRUE);
            combo.SetCurSel(1);
            Open(combo);
            EXPECT_EQ(::GetFocus(), combo.GetListCtrl()->m_hWnd) << "the list control has the focus";
            PressKey(c.key);
            EXPECT_EQ(parent.codes, c.codes);
            EXPECT_EQ(combo.GetCurSel(), c.after);
            EXPECT_EQ(EditText(combo), c.edit);
            EXPECT_EQ(combo.GetDroppedState() != FALSE, c.open);
            EXPECT_EQ(combo.GetDropDownWnd()->IsWindowVisible() != FALSE, c.open);
        }
    });
}

// ---- Focus and the scroll bars ----------------------------------------------------------------------------

TEST_F(ComboTest, FocusOnAScrollBarKeepsTheListOpen)
{
    Undisturbed([&] {
        CODComboBox box;
        CODComboList combo;
        Make(box);
        ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(10, 60, 150, 84), &parent, kOtherId));
        for (int i = 0; i < 40; ++i) {
            const std::string s = "Table " + std::to_string(i + 1);
            box.AddString(s.c_str());
            combo.AddString(s.c_str());
        }
        CWnd other;
        ASSERT_TRUE(
            other.Create(AfxRegisterWndClass(0), "", WS_CHILD | WS_VISIBLE, CRect(200, 10, 240, 30), &parent, 9));
        struct Case {
            const char* what;
            CODComboBase* combo;
            HWND keeper;  // the window that has the focus afterwards
        };
        const Case cases[] = {
            {"list box: the drop-down takes the focus back", &box, NULL},
            {"list control: the list takes it back", &combo, combo.GetListCtrl()->m_hWnd},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            parent.combo = c.combo->m_hWnd;
            Open(*c.combo);
            CSBContainerWnd* container = c.combo->GetDropDownWnd()->GetContainer();
            CODScrollBarCtrl* bar = container->GetScrollBarCtrl(SB_VERT);
            ASSERT_TRUE(bar && bar->m_hWnd);
            EXPECT_TRUE(container->IsVertBarVisible()) << "45 rows need the bar";
            bar->SetFocus();
            PumpTranslated();
            EXPECT_TRUE(c.combo->GetDroppedState());
            EXPECT_TRUE(c.combo->GetDropDownWnd()->IsWindowVisible());
            EXPECT_EQ(parent.codes, Codes{});
            EXPECT_EQ(::GetFocus(), c.keeper ? c.keeper : c.combo->GetDropDownWnd()->m_hWnd);

            // Elsewhere: closed with cancel.
            other.SetFocus();
            PumpTranslated();
            EXPECT_EQ(parent.codes, (Codes{CBN_SELENDCANCEL, CBN_CLOSEUP}));
            EXPECT_FALSE(c.combo->GetDroppedState());
            EXPECT_FALSE(c.combo->GetDropDownWnd()->IsWindowVisible());
            EXPECT_EQ(::GetFocus(), other.m_hWnd) << "the window the user chose keeps the focus";
        }
    });
}

// ---- A real click on the drop button while the list is open -------------------------------------------------

// Presses and releases the left button over a window's client point with
// real input, dispatching through the loop until the release has been handled.
void RealClick(CWnd& wnd, int x, int y)
{
    CPoint screen(x, y);
    wnd.ClientToScreen(&screen);
    ASSERT_TRUE(::SetCursorPos(screen.x, screen.y));
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ASSERT_EQ(::SendInput(2, in, sizeof in[0]), 2u);
    bool released = false;
    ASSERT_TRUE(WaitUntil([&] {
        MSG msg;
        while (!released && ::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            if (!CWnd::WalkPreTranslateTree(NULL, &msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
            released = msg.message == WM_LBUTTONUP;
        }
        return released;
    })) << "the release arrives";
    PumpTranslated();
}

TEST_F(ComboTest, ARealClickOnTheButtonClosesTheOpenListForGood)
{
    Undisturbed([&] {
        CODComboBox box;
        CODComboList combo;
        Make(box);
        ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(10, 60, 150, 84), &parent, kOtherId));
        combo.AddString("One");
        combo.AddString("Two");
        CODComboBase* const combos[] = {&box, &combo};
        for (CODComboBase* c : combos) {
            SCOPED_TRACE(c->GetRuntimeClass()->m_lpszClassName);
            parent.combo = c->m_hWnd;
            Open(*c);
            CRect button;
            c->GetButton()->GetClientRect(&button);
            RealClick(*c->GetButton(), button.Width() / 2, button.Height() / 2);
            EXPECT_EQ(parent.codes, (Codes{CBN_SELENDCANCEL, CBN_CLOSEUP})) << "not opened again";
            EXPECT_FALSE(c->GetDroppedState());
            EXPECT_FALSE(c->GetDropDownWnd()->IsWindowVisible());

            // The next click opens it as usual.
            parent.codes.clear();
            RealClick(*c->GetButton(), button.Width() / 2, button.Height() / 2);
            EXPECT_EQ(parent.codes, (Codes{CBN_DROPDOWN}));
            EXPECT_TRUE(c->GetDroppedState());
            c->ToggleDropDown(TRUE);
        }
    });
}

}  // namespace
