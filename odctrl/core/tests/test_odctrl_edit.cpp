// The owner-draw edit control on windows of the test display, with the
// generated theme: one window-class registration, a template's edit
// replaced in place and in the tab order, the password character from the
// theme, the text setter's trimming and scroll offset, the text messages'
// counts and the password refusals, one EN_CHANGE per change from posted
// keys and characters, the clipboard round trip, the context menu's items
// and commands, and the selection painted in its colours.
#include "ODTestSupport.h"

#include <ole2.h>

#include <map>

#include "ODEdit.h"
#include "ODLibrary.h"

namespace {

using namespace odtest;

// The keys held down, as the edit reads them through its seam.
std::map<int, bool> g_keys;
SHORT WINAPI FakeKeyState(int key) { return g_keys[key] ? static_cast<SHORT>(0x8000) : 0; }

// A hidden parent that keeps the EN_CHANGE notices it receives.
class CParentWnd : public CWnd
{
public:
    BOOL CreateHidden()
    {
        return CreateEx(0, AfxRegisterWndClass(0), "edit parent", WS_POPUP, 0, 0, 400, 200, NULL, NULL);
    }
    std::vector<HWND> changes;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE)
            changes.push_back(reinterpret_cast<HWND>(lParam));
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

std::string ClipboardText()
{
    std::string s;
    if (!OpenClipboard(NULL))
        return "<closed>";
    HANDLE h = GetClipboardData(CF_TEXT);
    const char* p = h ? static_cast<const char*>(GlobalLock(h)) : nullptr;
    if (p) {
        s = p;
        GlobalUnlock(h);
    }
    CloseClipboard();
    return s;
}

bool PutClipboardText(const std::string& text)
{
    if (!OpenClipboard(NULL))
        return false;
    EmptyClipboard();
    HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    memcpy(GlobalLock(g), text.c_str(), text.size() + 1);
    GlobalUnlock(g);
    const bool ok = SetClipboardData(CF_TEXT, g) != NULL;
    CloseClipboard();
    return ok;
}

class EditTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(OleInitialize(NULL)));
        saved = CODEdit::ClassDefaults();
        savedKeys = CODEdit::s_keyState;
        CODEdit::s_keyState = FakeKeyState;
        g_keys.clear();
        const std::vector<unsigned char> b = ReadFileBytes(ThemeFolder() + "Mardavel_skn.ini");
        theme.assign(b.begin(), b.end());
        ASSERT_FALSE(theme.empty()) << "the build generates " << ThemeFolder() << "Mardavel_skn.ini";
        ASSERT_TRUE(CopyFileA((ThemeFolder() + "Kelvarin.dll").c_str(), dir.File("Kelvarin.dll").c_str(), FALSE));
        ini = dir.File("Mardavel_skn.ini");
        ASSERT_TRUE(parent.CreateHidden()) << "needs the test display";
    }
    void TearDown() override
    {
        parent.DestroyWindow();
        ODExitLibrary();
        CODEdit::ClassDefaults() = saved;
        CODEdit::s_keyState = savedKeys;
        OleUninitialize();
    }
    void StartTheme(const std::string& extra = "")
    {
        ASSERT_TRUE(WriteText(ini, theme + extra));
        ASSERT_TRUE(ODInitLibrary(ini.c_str(), OD_THEME_LOOSE_FILES));
    }
    static void PlainFont(CODEdit& e)
    {
        LOGFONT lf = {};
        lf.lfHeight = -13;
        lf.lfWeight = FW_NORMAL;
        lf.lfQuality = NONANTIALIASED_QUALITY;
        strcpy(lf.lfFaceName, "Tahoma");
        e.SetFont(&lf, FALSE);
    }
    void Key(CODEdit& e, UINT key, bool shift = false, bool ctrl = false)
    {
        g_keys[VK_SHIFT] = shift;
        g_keys[VK_CONTROL] = ctrl;
        e.SendMessage(WM_KEYDOWN, key, 0);
        g_keys.clear();
    }
    static void Type(CODEdit& e, const std::string& bytes)
    {
        for (unsigned char c : bytes)
            e.SendMessage(WM_CHAR, c, 0);
    }
    // The notices posted so far.
    size_t Changes()
    {
        PumpPendingMessages();
        return parent.changes.size();
    }

    TempDir dir;
    std::string theme, ini;
    CParentWnd parent;
    CODEdit::Defaults saved;
    SHORT(WINAPI* savedKeys)(int) = nullptr;
};

TEST_F(EditTest, WindowClassIsRegisteredOnce)
{
    UnregisterClassA("ODEDIT", AfxGetInstanceHandle());
    WNDCLASSA wc = {};
    ASSERT_FALSE(GetClassInfoA(AfxGetInstanceHandle(), "ODEDIT", &wc));
    bool thrown = false;
    try {
        CODEdit first;
        ASSERT_TRUE(GetClassInfoA(AfxGetInstanceHandle(), "ODEDIT", &wc));
        EXPECT_EQ(wc.style, static_cast<UINT>(CS_VREDRAW | CS_HREDRAW));
        EXPECT_EQ(wc.hbrBackground, reinterpret_cast<HBRUSH>(16));
        CODEdit second;  // a second registration would fail and throw
        EXPECT_TRUE(GetClassInfoA(AfxGetInstanceHandle(), "ODEDIT", &wc));
    } catch (CResourceException* e) {
        thrown = true;
        e->Delete();
    }
    EXPECT_FALSE(thrown);
}

TEST_F(EditTest, ReplaceDlgItemKeepsIdRectangleAndTabOrder)
{
    StartTheme();
    HWND items[3];
    for (int i = 0; i < 3; ++i) {
        items[i] = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP, 10, 10 + 30 * i, 120,
                                   22, parent.m_hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(100 + i)), NULL,
                                   NULL);
        ASSERT_NE(items[i], nullptr);
    }
    CODEdit edit;
    ASSERT_TRUE(edit.ReplaceDlgItem(WS_BORDER | ES_PASSWORD, 101, &parent));
    EXPECT_FALSE(IsWindow(items[1])) << "the old item is destroyed";
    EXPECT_EQ(edit.GetDlgCtrlID(), 101);
    EXPECT_EQ(parent.GetDlgItem(101)->m_hWnd, edit.m_hWnd);
    CRect r;
    edit.GetWindowRect(&r);
    parent.ScreenToClient(&r);
    EXPECT_EQ(r, CRect(10, 40, 130, 62));
    EXPECT_EQ(GetWindow(edit.m_hWnd, GW_HWNDPREV), items[0]) << "tab order: after the first item";
    EXPECT_EQ(GetWindow(edit.m_hWnd, GW_HWNDNEXT), items[2]);
    const DWORD style = edit.GetStyle();
    EXPECT_EQ(style & CODEdit::kForcedStyle, CODEdit::kForcedStyle);
    EXPECT_FALSE(style & WS_BORDER) << "the control draws its own frame";
    EXPECT_TRUE(edit.GetEditStyle() & ES_PASSWORD);
    EXPECT_TRUE(GetPropA(edit.m_hWnd, "ODEdit") == reinterpret_cast<HANDLE>(4097));
    EXPECT_TRUE(GetPropA(edit.m_hWnd, "ODCtrl") == reinterpret_cast<HANDLE>(4096));
    char cls[16] = {};
    GetClassNameA(edit.m_hWnd, cls, sizeof cls);
    EXPECT_STREQ(cls, "ODEDIT");
    EXPECT_EQ(edit.SendMessage(WM_GETDLGCODE), static_cast<LRESULT>(DLGC_WANTARROWS | DLGC_WANTCHARS));

    // SubclassEditWindow takes the window's own style, id and parent.
    CODEdit other;
    ASSERT_TRUE(other.SubclassEditWindow(items[2]));
    EXPECT_EQ(other.GetDlgCtrlID(), 102);
    EXPECT_EQ(GetWindow(other.m_hWnd, GW_HWNDPREV), edit.m_hWnd);
    CODEdit none;
    EXPECT_FALSE(none.ReplaceDlgItem(0, 555, &parent)) << "no such item";
    EXPECT_EQ(none.m_hWnd, nullptr);
}

TEST_F(EditTest, PasswordCharacterIsTheThemeValuesFirstCharacter)
{
    StartTheme("\n[ODEdit]\nPwdChar=xy\n");
    CODEdit e;
    ASSERT_TRUE(e.Create(NULL, "", ES_PASSWORD, CRect(0, 0, 100, 24), &parent, 5));
    EXPECT_EQ(e.GetPasswordChar(), 'x');
    e.SetText("ab\xB0\xA1");
    EXPECT_EQ(e.GetModel().ShownText(), "xxxx") << "one character per byte";

    // The password control gives nothing away and refuses WM_SETTEXT.
    char buffer[16] = "x";
    EXPECT_EQ(e.SendMessage(WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer)), 0);
    EXPECT_EQ(e.SendMessage(WM_GETTEXTLENGTH), 0);
    EXPECT_EQ(e.SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("new")), 0);
    EXPECT_EQ(e.GetModel().Text(), "ab\xB0\xA1");
}

TEST_F(EditTest, SetTextTrimsAndShowsTheEndOfAWideText)
{
    StartTheme();
    CODEdit e;
    ASSERT_TRUE(e.Create(NULL, "", 0, CRect(0, 0, 80, 24), &parent, 5));
    PlainFont(e);
    e.SetText("\r\nabc\r\n");
    EXPECT_EQ(e.GetModel().Text(), "abc\r") << "carriage returns, then line feeds, at each end";
    EXPECT_EQ(e.GetModel().ScrollOffset(), 0);

    const std::string wide = "The quick brown fox jumps over the lazy dog";
    e.SetText(wide.c_str());
    const CRect inner = e.GetInnerRect();
    CClientDC dc(&e);
    LOGFONT lf;
    e.GetFont(&lf);
    CFont font;
    font.CreateFontIndirect(&lf);
    CFont* old = dc.SelectObject(&font);
    const int width = dc.GetTextExtent(wide.c_str(), static_cast<int>(wide.size())).cx;
    dc.SelectObject(old);
    const int margin = e.GetLeftMargin();
    ASSERT_GT(width, inner.Width());
    EXPECT_EQ(e.GetModel().ScrollOffset(), width - (inner.Width() - 2 * margin));
    // The text's right end lands inside the inner rectangle.
    const int end = inner.left + margin + width - e.GetModel().ScrollOffset();
    EXPECT_LE(end, inner.right);
    EXPECT_GT(end, inner.right - margin - 1);

    // A shorter text scrolls back to 0; a NULL text changes nothing.
    e.SetText("ab");
    EXPECT_EQ(e.GetModel().ScrollOffset(), 0);
    e.SetText(NULL);
    EXPECT_EQ(e.GetModel().Text(), "ab");
}

TEST_F(EditTest, TextMessagesCount)
{
    StartTheme();
    CODEdit e;
    ASSERT_TRUE(e.Create(NULL, "hello", 0, CRect(0, 0, 100, 24), &parent, 5));
    struct Case
    {
        const char* what;
        WPARAM size;
        LRESULT result;
        const char* copied;
    };
    const Case cases[] = {
        {"room for all", 16, 5, "hello"},
        {"one byte short", 5, 4, "hell"},
        {"room for the zero only", 1, 0, ""},
        {"no room", 0, 0, "untouched"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        char buffer[16] = "untouched";
        EXPECT_EQ(e.SendMessage(WM_GETTEXT, c.size, reinterpret_cast<LPARAM>(buffer)), c.result);
        EXPECT_STREQ(buffer, c.copied);
    }
    EXPECT_EQ(e.SendMessage(WM_GETTEXTLENGTH), 5);
    EXPECT_EQ(e.SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("x\r\n")), 1);
    EXPECT_EQ(e.GetModel().Text(), "x\r");
    EXPECT_EQ(e.SendMessage(WM_SETTEXT, 0, 0), 1) << "NULL sets an empty text";
    EXPECT_EQ(e.GetModel().Text(), "");
}

TEST_F(EditTest, OneChangeNoticePerChange)
{
    StartTheme();
    CODEdit e;
    ASSERT_TRUE(e.Create(NULL, "", 0, CRect(0, 0, 200, 24), &parent, 7));
    struct Case
    {
        const char* what;
        std::function<void()> act;
        size_t notices;
        const char* text;
    };
    const Case cases[] = {
        {"three characters", [&] { Type(e, "abc"); }, 3, "abc"},
        {"a two-byte character", [&] { Type(e, "\xB0\xA1"); }, 1, "abc\xB0\xA1"},
        {"Backspace", [&] { Key(e, VK_BACK); }, 1, "abc"},
        {"Left and Shift+Home", [&] {
             Key(e, VK_LEFT);
             Key(e, VK_HOME, true);
         }, 0, "abc"},
        {"Ctrl+X", [&] { Key(e, 'X', false, true); }, 1, "c"},
        {"Ctrl+V", [&] { Key(e, 'V', false, true); }, 1, "abc"},
        {"Shift+Delete with nothing selected", [&] { Key(e, VK_DELETE, true); }, 0, "abc"},
        {"WM_CLEAR of a selection", [&] {
             e.SetSel(0, 0);
             e.SendMessage(WM_CLEAR);
         }, 1, "bc"},
        {"Enter", [&] { Type(e, "\r"); }, 0, "bc"},
    };
    ASSERT_TRUE(PutClipboardText("ab"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const size_t before = Changes();
        c.act();
        EXPECT_EQ(Changes() - before, c.notices);
        EXPECT_EQ(e.GetModel().Text(), c.text);
    }
    for (HWND h : parent.changes)
        EXPECT_EQ(h, e.m_hWnd) << "lParam is the edit's window";
}

TEST_F(EditTest, ClipboardRoundTrip)
{
    StartTheme();
    CODEdit e;
    ASSERT_TRUE(e.Create(NULL, "one \xB0\xA1 two", 0, CRect(0, 0, 200, 24), &parent, 5));
    e.SetSel(4, 5);
    EXPECT_EQ(e.SendMessage(WM_COPY), 0);
    EXPECT_EQ(ClipboardText(), "\xB0\xA1");
    e.SetSel(0, 3);
    e.SendMessage(WM_CUT);
    EXPECT_EQ(ClipboardText(), "one ");
    EXPECT_EQ(e.GetModel().Text(), "\xB0\xA1 two");
    ASSERT_TRUE(PutClipboardText("line\r\nbreak\n"));
    Key(e, VK_END);
    e.SendMessage(WM_PASTE);
    EXPECT_EQ(e.GetModel().Text(), "\xB0\xA1 twolinebreak") << "line breaks left out";

    // Read-only: WM_COPY works, Ctrl+Insert does not, paste is refused.
    e.SetReadOnly(TRUE);
    e.SelectAll();
    ASSERT_TRUE(PutClipboardText("old"));
    Key(e, VK_INSERT, false, true);
    EXPECT_EQ(ClipboardText(), "old");
    Key(e, 'C', false, true);
    EXPECT_EQ(ClipboardText(), "\xB0\xA1 twolinebreak");
    Key(e, 'V', false, true);
    EXPECT_EQ(e.GetModel().Text(), "\xB0\xA1 twolinebreak");
}

TEST_F(EditTest, ContextMenuItemsAndCommands)
{
    StartTheme("\n[ODEdit]\nMenuSelAll=All\n");
    CODEdit e;
    ASSERT_TRUE(e.Create(NULL, "abc", 0, CRect(0, 0, 200, 24), &parent, 5));
    e.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(e.m_hWnd), MAKELPARAM(20, 20));
    CODMenu& menu = e.GetMenu();
    ASSERT_NE(menu.m_hWnd, nullptr);
    struct Item
    {
        UINT id;
        const char* caption;
    };
    const Item items[] = {{9001, "\xBC\xF4\xC7\xD0"}, {9002, "\xB8\xB4\xD6\xC6"}, {9003, "\xD5\xB3\xCC\xF9"},
                          {9004, "\xC9\xBE\xB3\xFD"}, {0, nullptr},             {9005, "All"}};
    ASSERT_EQ(menu.GetItemCount(), 6);
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(menu.GetItemId(i), items[i].id);
        if (items[i].caption) {
            ASSERT_NE(menu.GetItem(i), nullptr);
            EXPECT_STREQ(static_cast<LPCSTR>(menu.GetItem(i)->GetCaption()), items[i].caption);
        } else {
            EXPECT_EQ(menu.GetItem(i), nullptr) << "separator";
        }
    }
    menu.DestroyWindow();

    struct Case
    {
        const char* what;
        UINT id;
        const char* text;
        const char* clipboard;
        const char* selected;
    };
    ASSERT_TRUE(PutClipboardText("X"));
    const Case cases[] = {
        {"select all", 9005, "abc", "X", "abc"},
        {"copy", 9002, "abc", "abc", "abc"},
        {"delete", 9004, "", "abc", ""},
        {"paste", 9003, "abc", "abc", ""},
        {"cut after select all", 0, "", "abc", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.id)
            e.SendMessage(WM_COMMAND, c.id, 0);
        else {
            e.SendMessage(WM_COMMAND, 9005, 0);
            e.SendMessage(WM_COMMAND, 9001, 0);
        }
        EXPECT_EQ(e.GetModel().Text(), c.text);
        EXPECT_EQ(ClipboardText(), c.clipboard);
        CString sel;
        e.GetSelText(sel);
        EXPECT_STREQ(static_cast<LPCSTR>(sel), c.selected);
    }
}

TEST_F(EditTest, SelectionIsPaintedInItsColours)
{
    StartTheme("\n[ODEdit]\nSelBkgndColor=#0#0#255\nSelTextColor=#255#255#255\nBkgndColor=#255#255#255\n"
               "BorderWidth=2\nBorderColor=#255#0#0\n");
    CODEdit e;
    ASSERT_TRUE(e.Create(NULL, "abcdef", 0, CRect(0, 0, 120, 24), &parent, 5));
    PlainFont(e);
    e.SetSel(2, 3);
    CRect client;
    e.GetClientRect(&client);
    Canvas canvas(client.Width(), client.Height(), kBlack);
    e.PaintTo(CDC::FromHandle(canvas.dc()));
    EXPECT_EQ(canvas.At(0, 0), kRed) << "frame";
    EXPECT_EQ(canvas.At(1, 12), kRed);
    EXPECT_EQ(canvas.At(2, 2), kWhite) << "background";
    // The selected run starts after "ab" and is as wide as "cd".
    CFont font;
    LOGFONT lf;
    e.GetFont(&lf);
    font.CreateFontIndirect(&lf);
    HGDIOBJ old = SelectObject(canvas.dc(), font.m_hObject);
    SIZE ab, cd;
    GetTextExtentPoint32A(canvas.dc(), "ab", 2, &ab);
    GetTextExtentPoint32A(canvas.dc(), "cd", 2, &cd);
    TEXTMETRICA tm;
    GetTextMetricsA(canvas.dc(), &tm);
    SelectObject(canvas.dc(), old);
    const int x = 2 + e.GetLeftMargin() + ab.cx;
    const int y = 2 + (client.Height() - 4 - tm.tmHeight) / 2;
    int blue = 0;
    for (int i = x; i < x + cd.cx; ++i)
        blue += canvas.At(i, y + 1) == kBlue;
    EXPECT_GT(blue, cd.cx / 2) << "the selection's background";
    EXPECT_EQ(canvas.At(x - 1, y + 1), kWhite);
    EXPECT_EQ(canvas.At(x + cd.cx, y + 1), kWhite);
}

}  // namespace
