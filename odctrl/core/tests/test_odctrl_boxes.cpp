// The library's message box and wait box on the test display with the
// generated theme (templates 2002 and 2001 of Kelvarin.dll, 32-pixel icons,
// a 16-pixel busy image). The modal message box is driven from inside its
// own loop: a scripted box posts itself the test's steps once it is laid
// out, and timer ticks are posted instead of waited for.
#include "ODTestSupport.h"

#include <functional>

#include "ODLibrary.h"
#include "ODMsgDlg.h"
#include "ODWaitDlg.h"

namespace {

using namespace odtest;

const UINT kStep = WM_APP + 7;

std::vector<std::string> g_plainBoxes;
int RecordPlainBox(LPCSTR text)
{
    g_plainBoxes.push_back(text);
    return IDOK;
}

// A message box that notes its layout and runs the test's step once its
// modal loop runs. The real countdown timer is stopped: ticks are posted.
class ScriptedMsgDlg : public CODMsgDlg
{
public:
    using CODMsgDlg::CODMsgDlg;
    std::function<void(ScriptedMsgDlg&)> step;
    std::vector<std::string> captions;
    HWND focus = NULL;
    int focusIndex = -1;
    CRect client, icon, text, buttons[4];
    bool shown[4] = {};

    BOOL OnInitDialog() override
    {
        const BOOL r = CODMsgDlg::OnInitDialog();
        KillTimer(TimerCountdown);
        captions.push_back(static_cast<LPCSTR>(GetShownCaption()));
        GetClientRect(&client);
        icon = ChildRect(GetIconStatic());
        text = ChildRect(GetTextStatic());
        for (int i = 0; i < 4; ++i) {
            buttons[i] = ChildRect(GetButton(i));
            shown[i] = GetButton(i).m_hWnd && (GetButton(i).GetStyle() & WS_VISIBLE);
        }
        PostMessage(kStep);
        return r;
    }
    // A click on button i as the button sends it.
    void Click(int i)
    {
        PostMessage(WM_COMMAND, MAKEWPARAM(GetButton(i).GetDlgCtrlID(), BN_CLICKED),
                    reinterpret_cast<LPARAM>(GetButton(i).m_hWnd));
    }

protected:
    CRect ChildRect(CWnd& w)
    {
        CRect r(0, 0, 0, 0);
        if (w.m_hWnd) {
            w.GetWindowRect(&r);
            ScreenToClient(&r);
        }
        return r;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == kStep) {
            focus = ::GetFocus();
            for (int i = 0; i < 4; ++i)
                if (focus && GetButton(i).m_hWnd == focus)
                    focusIndex = i;
            if (step)
                step(*this);
            return 0;
        }
        const LRESULT r = CODMsgDlg::WindowProc(message, wParam, lParam);
        if (message == WM_TIMER && wParam == TimerCountdown)
            captions.push_back(static_cast<LPCSTR>(GetShownCaption()));
        return r;
    }
};

class BoxTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        savedMsg = CODMsgDlg::ClassDefaults();
        savedWait = CODWaitDlg::ClassDefaults();
        savedPlain = CODMsgDlg::s_plainMessageBox;
        CODMsgDlg::s_plainMessageBox = RecordPlainBox;
        g_plainBoxes.clear();
        const std::vector<unsigned char> b = ReadFileBytes(ThemeFolder() + "Mardavel_skn.ini");
        theme.assign(b.begin(), b.end());
        ASSERT_FALSE(theme.empty()) << "the build generates " << ThemeFolder() << "Mardavel_skn.ini";
        ASSERT_TRUE(CopyFileA((ThemeFolder() + "Kelvarin.dll").c_str(), dir.File("Kelvarin.dll").c_str(), FALSE));
        ini = dir.File("Mardavel_skn.ini");
    }
    void TearDown() override
    {
        ODExitLibrary();
        CODMsgDlg::ClassDefaults() = savedMsg;
        CODWaitDlg::ClassDefaults() = savedWait;
        CODMsgDlg::s_plainMessageBox = savedPlain;
    }
    // The generated theme with lines of the test's own after it (a later key wins).
    void StartTheme(const std::string& extra = "")
    {
        ASSERT_TRUE(WriteText(ini, theme + extra));
        if (ODIsLibraryInitialized())
            ODLoadTheme();
        else
            ASSERT_TRUE(ODInitLibrary(ini.c_str(), OD_THEME_LOOSE_FILES));
    }

    TempDir dir;
    std::string theme, ini;
    CODMsgDlg::Defaults savedMsg;
    CODWaitDlg::Defaults savedWait;
    int (*savedPlain)(LPCSTR) = nullptr;
};

// ---- Message box ------------------------------------------------------------------------------

TEST_F(BoxTest, MessageBoxButtonsResultsAndDefaultButton)
{
    StartTheme("\n[ODMsgDlg]\nMB_YESNO= Sure , Never,  Later \n");
    const std::string kOk = "\xC8\xB7\xB6\xA8", kCancel = "\xC8\xA1\xCF\xFB";
    struct Case
    {
        const char* what;
        UINT style;
        int click;   // button index the step presses
        int result;  // what DoModal answers
        std::vector<std::string> captions;
        int focus;   // index of the button with the focus
    };
    const Case cases[] = {
        {"MB_OK | MB_ICONWARNING", MB_OK | MB_ICONWARNING, 0, IDOK, {kOk}, 0},
        {"style 6 is MB_OK", 6, 0, IDOK, {kOk}, 0},
        {"MB_OKCANCEL, second", MB_OKCANCEL, 1, IDCANCEL, {kOk, kCancel}, 0},
        {"MB_YESNO from the theme: three trimmed captions", MB_YESNO, 0, IDYES, {"Sure", "Never", "Later"}, 0},
        {"MB_YESNO third button keeps result 2", MB_YESNO, 2, 2, {"Sure", "Never", "Later"}, 0},
        {"MB_YESNO | MB_DEFBUTTON2", MB_YESNO | MB_DEFBUTTON2, 1, IDNO, {"Sure", "Never", "Later"}, 1},
        {"MB_ABORTRETRYIGNORE | MB_DEFBUTTON3", MB_ABORTRETRYIGNORE | MB_DEFBUTTON3, 2, IDIGNORE,
         {"\xB7\xC5\xC6\xFA", "\xD6\xD8\xCA\xD4", "\xBA\xF6\xC2\xD4"}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedMsgDlg d("A message for the box", "Table", c.style, 0, FALSE, NULL);
        d.step = [&c](ScriptedMsgDlg& box) { box.Click(c.click); };
        EXPECT_EQ(d.DoModal(), c.result);
        ASSERT_EQ(d.GetButtonCount(), static_cast<int>(c.captions.size()));
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(d.shown[i], i < d.GetButtonCount()) << "button " << i;
            if (i < d.GetButtonCount()) {
                EXPECT_EQ(std::string(d.GetButtonCaption(i)), c.captions[static_cast<size_t>(i)]);
            }
        }
        EXPECT_EQ(d.focusIndex, c.focus) << "default button";
        EXPECT_EQ(d.captions.front(), "Table");
    }
}

TEST_F(BoxTest, MessageBoxLayout)
{
    StartTheme();
    ScriptedMsgDlg d("Layout", "Title", MB_YESNOCANCEL | MB_ICONQUESTION, 0, FALSE, NULL);
    d.step = [](ScriptedMsgDlg& box) { box.PostMessage(WM_CLOSE); };
    EXPECT_EQ(d.DoModal(), IDCANCEL) << "the caption's close button";
    // The icon of the question class: 32 x 32 at (10, 10).
    EXPECT_EQ(d.icon, CRect(10, 10, 42, 42));
    EXPECT_EQ(d.text.left, 52);
    EXPECT_GT(d.text.Width(), 0);
    EXPECT_EQ(d.text.top, d.text.Height() < 32 ? 10 + (32 - d.text.Height()) / 2 : 10) << "centred on the icon";
    const int content = std::max(32, d.text.Height());
    int tallest = 0, right = 0;
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(d.buttons[i].top, 10 + content + 10);
        tallest = std::max(tallest, d.buttons[i].Height());
        if (i > 0) {
            EXPECT_EQ(d.buttons[i].left, right + 10) << "10 pixels between buttons";
        }
        right = d.buttons[i].right;
    }
    EXPECT_EQ(d.client.Height(), tallest + content + 30);
    const int rowLeft = d.buttons[0].left, rowRight = d.buttons[2].right;
    // The row's right end is (row width + client width) / 2, the row width counting 10 after each button.
    EXPECT_LE(abs((rowLeft + rowRight - 10) - d.client.Width()), 1) << "the row is centred";
    EXPECT_GE(d.client.Width(), d.text.right + 10);
}

TEST_F(BoxTest, MessageBoxCancelAndCountdown)
{
    StartTheme();
    {
        ScriptedMsgDlg d("Esc", "T", MB_YESNO, 0, FALSE, NULL);
        d.step = [](ScriptedMsgDlg& box) { box.GetButton(1).PostMessage(WM_KEYDOWN, VK_ESCAPE, 0); };
        EXPECT_EQ(d.DoModal(), IDCANCEL) << "Esc, though button 2 is the shown No";
    }
    {
        ScriptedMsgDlg d("Counting", "Table", MB_OK, 5, FALSE, NULL);
        d.step = [](ScriptedMsgDlg& box) {
            for (int i = 0; i < 5; ++i)
                box.PostMessage(WM_TIMER, CODMsgDlg::TimerCountdown, 0);
        };
        EXPECT_EQ(d.DoModal(), -1) << "the countdown ran out";
        const std::vector<std::string> expected = {"5 Table", "4 Table", "3 Table", "2 Table", "1 Table", "0 Table"};
        EXPECT_EQ(d.captions, expected);
    }
    {
        // An empty caption takes the application's name.
        ScriptedMsgDlg d("Named", "", MB_OK, 0, FALSE, NULL);
        d.step = [](ScriptedMsgDlg& box) { box.Click(0); };
        EXPECT_EQ(d.DoModal(), IDOK);
        EXPECT_EQ(d.captions.front(), std::string(AfxGetAppName() ? AfxGetAppName() : ""));
    }
}

// The entry point end to end: a window hook clicks the first button once the
// dialog has been initialised.
HHOOK g_hook = NULL;
LRESULT CALLBACK ClickAfterInit(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPRETSTRUCT* m = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && m->message == WM_INITDIALOG) {
        HWND yes = ::GetDlgItem(m->hwnd, 1);
        ::PostMessageA(m->hwnd, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), reinterpret_cast<LPARAM>(yes));
    }
    return ::CallNextHookEx(g_hook, code, wParam, lParam);
}

TEST_F(BoxTest, MessageBoxEntryAndMissingTemplates)
{
    StartTheme();
    g_hook = SetWindowsHookExA(WH_CALLWNDPROCRET, ClickAfterInit, NULL, GetCurrentThreadId());
    ASSERT_NE(g_hook, nullptr);
    EXPECT_EQ(ODMessageBox("Yes?", "Question", MB_YESNO | MB_ICONQUESTION), IDYES);
    UnhookWindowsHookEx(g_hook);
    EXPECT_TRUE(g_plainBoxes.empty());

    StartTheme("\n[ODMsgDlg]\nDialogID=0\n");
    EXPECT_EQ(ODMessageBox("No template", "T", MB_OK), -1);
    ASSERT_EQ(g_plainBoxes.size(), 1u);
    EXPECT_EQ(g_plainBoxes[0], "\xB6\xD4\xBB\xB0\xBF\xF2\xD7\xCA\xD4\xB4\xB4\xED\xCE\xF3");

    StartTheme("\n[ODMsgDlg]\nDialogID=9999\n");
    EXPECT_EQ(ODMessageBox("Unloadable template", "T", MB_OK), -1);
    EXPECT_EQ(g_plainBoxes.size(), 1u) << "an unloadable template shows nothing";
}

// ---- Wait box ---------------------------------------------------------------------------------

class WaitTest : public BoxTest
{
protected:
    void Open(CODWaitDlg& w)
    {
        ASSERT_TRUE(owner.CreateHidden()) << "needs the test display";
        owner.noteMessage = CODWaitDlg::MsgCancelled;
        ASSERT_TRUE(w.CreateFromTheme(&owner));
    }
    static CRect ChildRect(CWnd& parent, CWnd& w)
    {
        CRect r;
        w.GetWindowRect(&r);
        parent.ScreenToClient(&r);
        return r;
    }
    CLogWnd owner;
};

TEST_F(WaitTest, LayoutPerShow)
{
    StartTheme();
    CODWaitDlg w;
    Open(w);
    struct Case
    {
        const char* what;
        const char* button;
        int interval;
        bool progress, hasButton;
    };
    const Case cases[] = {
        {"progress and button", "Stop", 100, true, true},
        {"no progress bar with interval 0", "Stop", 0, false, true},
        {"no button with an empty caption", "", 100, true, false},
        {"neither: the box ends 10 below the row", "", 0, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        w.Show("Connecting to the table", c.button, c.interval, "Wait");
        EXPECT_TRUE(w.IsWindowVisible());
        const CRect image = ChildRect(w, w.GetImageStatic());
        const CRect text = ChildRect(w, w.GetTextStatic());
        EXPECT_EQ(image, CRect(10, 10, 26, 26)) << "the busy image's 16-pixel cell";
        EXPECT_EQ(text.left, 36);
        const int row = std::max(16, text.Height());
        CRect client;
        w.GetClientRect(&client);
        int bottom = 10 + row + 10;
        EXPECT_EQ(w.GetProgress().IsWindowVisible() != FALSE, c.progress);
        if (c.progress) {
            const CRect bar = ChildRect(w, w.GetProgress());
            EXPECT_EQ(bar.left, 10);
            EXPECT_EQ(bar.right, client.Width() - 10);
            EXPECT_EQ(bar.top, bottom);
            bottom = bar.bottom + 10;
        }
        EXPECT_EQ(w.GetButton().IsWindowVisible() != FALSE, c.hasButton);
        if (c.hasButton) {
            const CRect b = ChildRect(w, w.GetButton());
            EXPECT_EQ(b.top, bottom);
            EXPECT_LE(abs(b.left + b.right - client.Width()), 1) << "centred";
            CString caption;
            w.GetButton().GetWindowText(caption);
            EXPECT_STREQ(static_cast<LPCSTR>(caption), c.button);
            bottom = b.bottom + 10;
        }
        EXPECT_EQ(client.Height(), bottom);
        EXPECT_GE(client.Width(), text.right + 10);
    }
    w.Hide();
    EXPECT_FALSE(w.IsWindowVisible());
}

TEST_F(WaitTest, ProgressTimerModes)
{
    StartTheme();
    CODWaitDlg w;
    Open(w);
    w.Show("Busy", "", 1000, "Wait");
    struct Case
    {
        const char* what;
        int mode;
        int start;
        std::vector<int> positions;
    };
    // A range of 0..3 keeps the runs short; each tick turns or wraps, then the bar steps.
    const Case cases[] = {
        {"mode 0 wraps to the start", 0, 2, {3, 1, 2}},
        {"mode 1 runs down and wraps to the top", 1, 1, {0, 2, 1}},
        {"mode 2 turns at the top and the bottom", 2, 2, {3, 2, 1, 0, 1, 2}},
        {"any other mode bounces", 5, 2, {3, 2, 1, 0, 1, 2}},
    };
    w.GetProgress().SetRange32(0, 3);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        w.SetMode(c.mode);
        w.GetProgress().SetPos(c.start);
        std::vector<int> seen;
        for (size_t i = 0; i < c.positions.size(); ++i) {
            w.SendMessage(WM_TIMER, CODWaitDlg::TimerProgress, 0);
            seen.push_back(w.GetProgress().GetPos());
        }
        EXPECT_EQ(seen, c.positions);
    }
    // The real timer moves the bar.
    w.SetMode(0);
    w.GetProgress().SetPos(0);
    w.Show(NULL, NULL, 10, NULL);
    EXPECT_TRUE(WaitUntil([&] { return w.GetProgress().GetPos() > 0; }));
    w.Hide();
}

TEST_F(WaitTest, CancelPostsToTheNotifyWindowElseTheParent)
{
    StartTheme();
    CODWaitDlg w;
    Open(w);
    CLogWnd notify;
    ASSERT_TRUE(notify.CreateHidden());
    notify.noteMessage = CODWaitDlg::MsgCancelled;
    struct Case
    {
        const char* what;
        CWnd* notifyWnd;
        CLogWnd* receiver;
    };
    const Case cases[] = {{"the notify window", &notify, &notify}, {"no notify window: the parent", NULL, &owner}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        notify.noted.clear();
        owner.noted.clear();
        w.SetNotifyWindow(c.notifyWnd);
        w.Show("Wait", "Stop", 0, "T");
        ASSERT_FALSE(w.IsCancelled());
        w.SendMessage(WM_COMMAND, MAKEWPARAM(2, BN_CLICKED), reinterpret_cast<LPARAM>(w.GetButton().m_hWnd));
        EXPECT_TRUE(w.IsCancelled());
        EXPECT_FALSE(w.IsWindowVisible());
        PumpPendingMessages();
        EXPECT_EQ(c.receiver->noted, std::vector<UINT>{0x499});
        EXPECT_EQ(notify.noted.size() + owner.noted.size(), 1u);
    }
}

TEST_F(WaitTest, ModeSetByTheProgramSurvivesAThemeReload)
{
    StartTheme();
    CODWaitDlg mine, theirs;
    Open(mine);
    ASSERT_TRUE(theirs.CreateFromTheme(&owner));
    mine.SetMode(1);
    EXPECT_EQ(theirs.GetMode(), 0);
    StartTheme("\n[ODWaitDlg]\nMode=2\n");
    mine.SendMessage(ODGetThemeMessage());
    theirs.SendMessage(ODGetThemeMessage());
    EXPECT_EQ(mine.GetMode(), 1);
    EXPECT_EQ(theirs.GetMode(), 2);
    EXPECT_EQ(mine.GetProgress().GetModel().step, -1) << "mode 1 runs down";
}

}  // namespace
