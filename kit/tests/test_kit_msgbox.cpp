// The message boxes with the resource library's templates: buttons and
// results by type, icons, the default button and the countdown driven by
// WM_TIMER, line cutting, entry and masked entry, and the runtime's box
// routine choosing the skinned or the plain look.
#include "KitTestSupport.h"

#include "MsgBoxDlg.h"

#include <functional>

namespace {

using namespace kittest;

const UINT WM_SCRIPT = WM_APP + 7;

// A box that runs a script once its modal loop runs.
template <class Box>
class CScripted : public Box
{
public:
    using Box::Box;
    std::function<void(CScripted&)> script;
    BOOL m_bButtonVisible[3] = {};
    CString m_captions[3];
    BOOL m_bEntryVisible = FALSE, m_bMaskedVisible = FALSE, m_bCountdownVisible = FALSE;
    BOOL m_bSkinned = FALSE;

    BOOL OnInitDialog() override
    {
        const BOOL r = Box::OnInitDialog();
        this->PostMessage(WM_SCRIPT);
        return r;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_SCRIPT) {
            const UINT ids[3] = {IDC_KIT_MSG_BUTTON1, IDC_KIT_MSG_BUTTON2, IDC_KIT_MSG_BUTTON3};
            for (int i = 0; i < 3; i++) {
                CWnd* p = this->GetDlgItem(ids[i]);
                m_bButtonVisible[i] = p != NULL && (p->GetStyle() & WS_VISIBLE);
                if (p != NULL)
                    p->GetWindowText(m_captions[i]);
            }
            m_bEntryVisible = (this->GetDlgItem(IDC_KIT_MSG_ENTRY)->GetStyle() & WS_VISIBLE) != 0;
            m_bMaskedVisible = (this->GetDlgItem(IDC_KIT_MSG_ENTRY_MASKED)->GetStyle() & WS_VISIBLE) != 0;
            m_bCountdownVisible = (this->GetDlgItem(IDC_KIT_MSG_COUNTDOWN)->GetStyle() & WS_VISIBLE) != 0;
            m_bSkinned = ::GetWindowLongPtr(this->m_hWnd, GWLP_USERDATA) == kSkinDlgUserData;
            if (script)
                script(*this);
            return 0;
        }
        return Box::WindowProc(message, wParam, lParam);
    }
    void Press(UINT id) { this->PostMessage(WM_COMMAND, id, 0); }
    void TimerTick() { this->SendMessage(WM_TIMER, kMsgBoxCountdownTimer, 0); }
};
typedef CScripted<CQVMsgBoxDlg> CSkinnedBox;
typedef CScripted<CQVPlainMsgBox> CPlainBox;

class MsgBoxTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(m_res, (HMODULE)NULL) << "Mardavel_Res.dll beside the test";
        AfxSetResourceHandle(m_res);
        ASSERT_TRUE(m_theme.Ok());
        ASSERT_TRUE(WriteBmp(m_theme.Image("bg.bmp"), 60, 60, [](int x, int y) {
            return (x == 0 && y == 0) ? kMagenta : RGB(40, 60, 90);
        }));
        ASSERT_TRUE(WriteStrip(m_theme.Image("close.bmp"), 12, 10, {kRed, kGreen, kBlue, kBlack}));
        ASSERT_TRUE(WriteStrip(m_theme.Image("dlgbutton.bmp"), 60, 20, {kGreen, kYellow, kCyan, kBlack}));
        m_theme.Set("QVDLG", "backgrdbmp", "bg.bmp");
        m_theme.Set("QVDLG", "titleclose", "close.bmp");
    }
    void TearDown() override
    {
        AfxSetResourceHandle(NULL);
        PumpPendingMessages();
        AfxDeleteTempMaps();
    }
    HMODULE m_res = LoadLibraryA("Mardavel_Res.dll");
    TempTheme m_theme;
};

std::string Gbk(const wchar_t* w)
{
    char buf[64];
    WideCharToMultiByte(936, 0, w, -1, buf, sizeof buf, NULL, NULL);
    return buf;
}

TEST_F(MsgBoxTest, ButtonsAndResultsByType)
{
    struct Case { const char* what; UINT type; int buttons; UINT press; int result; };
    const Case cases[] = {
        {"OK", MB_OK, 1, IDC_KIT_MSG_BUTTON1, IDOK},
        {"question yes/no, second pressed", 0x24, 2, IDC_KIT_MSG_BUTTON2, IDNO},
        {"question yes/no, first pressed", 0x24, 2, IDC_KIT_MSG_BUTTON1, IDYES},
        {"abort/retry/ignore, third", MB_ABORTRETRYIGNORE, 3, IDC_KIT_MSG_BUTTON3, IDIGNORE},
        {"yes/no/cancel, third", MB_YESNOCANCEL, 3, IDC_KIT_MSG_BUTTON3, IDCANCEL},
        {"retry/cancel, first", MB_RETRYCANCEL, 2, IDC_KIT_MSG_BUTTON1, IDRETRY},
        {"type 6: no button, closing ends it", 6, 0, IDCANCEL, IDCANCEL},
    };
    for (int skinned = 0; skinned < 2; skinned++) {
        for (const Case& c : cases) {
            int result = 0;
            BOOL visible[3];
            CString captions[3];
            auto script = [&](auto& box) {
                for (int i = 0; i < 3; i++) {
                    visible[i] = box.m_bButtonVisible[i];
                    captions[i] = box.m_captions[i];
                }
                box.Press(c.press);
            };
            if (skinned) {
                CSkinnedBox box("message", c.type, 0);
                box.script = script;
                result = (int)box.DoModal();
            } else {
                CPlainBox box("message", c.type, 0);
                box.script = script;
                result = (int)box.DoModal();
            }
            EXPECT_EQ(result, c.result) << c.what << " skinned " << skinned;
            for (int i = 0; i < 3; i++)
                EXPECT_EQ(visible[i] != FALSE, i < c.buttons) << c.what << " button " << i;
            if (c.type == 0x24) {
                EXPECT_EQ(std::string(captions[0]), Gbk(L"是(&Y)"));
                EXPECT_EQ(std::string(captions[1]), Gbk(L"否(&N)"));
            }
        }
    }
}

TEST_F(MsgBoxTest, CountdownEndsWithTheDefaultButtonsResult)
{
    struct Case { const char* what; UINT type; int countdown; int ticks; int result; };
    const Case cases[] = {
        {"OK/Cancel, DEFBUTTON2, 3 s", MB_OKCANCEL | MB_DEFBUTTON2, 3, 3, IDCANCEL},
        {"OK/Cancel, first, 2 s", MB_OKCANCEL, 2, 2, IDOK},
        {"yes/no/cancel, DEFBUTTON3", MB_YESNOCANCEL | MB_DEFBUTTON3, 1, 1, IDCANCEL},
        {"yes/no, DEFBUTTON2", MB_YESNO | MB_DEFBUTTON2, 2, 2, IDNO},
    };
    for (int skinned = 0; skinned < 2; skinned++) {
        for (const Case& c : cases) {
            CString shownBeforeLast;
            BOOL countdownVisible = FALSE;
            auto script = [&](auto& box) {
                countdownVisible = box.m_bCountdownVisible;
                for (int i = 0; i < c.ticks - 1; i++)
                    box.TimerTick();
                box.GetDlgItemText(IDC_KIT_MSG_COUNTDOWN, shownBeforeLast);
                box.TimerTick();
            };
            int result;
            if (skinned) {
                CSkinnedBox box("counting", c.type, c.countdown);
                box.script = script;
                result = (int)box.DoModal();
            } else {
                CPlainBox box("counting", c.type, c.countdown);
                box.script = script;
                result = (int)box.DoModal();
            }
            EXPECT_EQ(result, c.result) << c.what;
            EXPECT_TRUE(countdownVisible) << c.what;
            EXPECT_EQ(std::string(shownBeforeLast), "1") << c.what;
        }
    }
    // Pressing a button stops the countdown: later ticks change nothing.
    CPlainBox box("x", MB_OKCANCEL, 5);
    box.script = [](CPlainBox& b) {
        b.SendMessage(WM_COMMAND, IDC_KIT_MSG_BUTTON2, 0);
        b.TimerTick();
    };
    EXPECT_EQ(box.DoModal(), IDCANCEL);
    EXPECT_FALSE(box.Core().m_bTimer);
    // Without a countdown the static is hidden.
    CPlainBox quiet("x", MB_OK, 0);
    BOOL visible = TRUE;
    quiet.script = [&](CPlainBox& b) { visible = b.m_bCountdownVisible; b.Press(IDC_KIT_MSG_BUTTON1); };
    quiet.DoModal();
    EXPECT_FALSE(visible);
}

TEST_F(MsgBoxTest, EntryAndMaskedEntry)
{
    struct Case { const char* what; UINT type; BOOL masked; };
    const Case cases[] = {{"plain entry", MB_OKCANCEL, FALSE}, {"masked entry", MB_OKCANCEL | 0x80000000u, TRUE}};
    for (const Case& c : cases) {
        CSkinnedBox box(TRUE, "name?", c.type, 0);
        BOOL entry = FALSE, masked = FALSE;
        box.script = [&](CSkinnedBox& b) {
            entry = b.m_bEntryVisible;
            masked = b.m_bMaskedVisible;
            b.SetDlgItemText(c.masked ? IDC_KIT_MSG_ENTRY_MASKED : IDC_KIT_MSG_ENTRY, "secret");
            b.Press(IDC_KIT_MSG_BUTTON1);
        };
        EXPECT_EQ(box.DoModal(), IDOK) << c.what;
        EXPECT_EQ(entry, !c.masked) << c.what;
        EXPECT_EQ(masked, c.masked) << c.what;
        EXPECT_EQ(box.GetChosen(), IDOK);
        EXPECT_STREQ(c.masked ? box.GetMaskedEntry() : box.GetEntry(), "secret") << c.what;
    }
    CPlainBox none("no entry", MB_OK, 0);
    BOOL entry = TRUE, masked = TRUE;
    none.script = [&](CPlainBox& b) { entry = b.m_bEntryVisible; masked = b.m_bMaskedVisible; b.Press(IDC_KIT_MSG_BUTTON1); };
    none.DoModal();
    EXPECT_FALSE(entry);
    EXPECT_FALSE(masked);
}

TEST_F(MsgBoxTest, MessageLinesAreCutAtBackslashN)
{
    CPlainBox box("first\\nsecond", MB_OK, 0);
    std::vector<int> rows;
    box.script = [&](CPlainBox& b) {
        CDC* pDC = b.Core().m_text.GetDC();
        b.Core().m_text.Layout(pDC);
        b.Core().m_text.ReleaseDC(pDC);
        for (const kit::LinkRun& r : b.Core().m_text.GetLayout().runs)
            if (rows.empty() || rows.back() != r.y)
                rows.push_back(r.y);
        b.Press(IDC_KIT_MSG_BUTTON1);
    };
    box.DoModal();
    EXPECT_EQ(rows.size(), 2u) << "two lines, none cut off";
}

// The runtime's routine: the look is chosen by the theme flag.
HHOOK g_hook = NULL;
LONG_PTR g_userData = -1;
LRESULT CALLBACK PressFirst(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE) {
        HWND h = (HWND)wParam;
        if (GetDlgItem(h, IDC_KIT_MSG_BUTTON1) != NULL) {
            g_userData = GetWindowLongPtr(h, GWLP_USERDATA);
            SetDlgItemTextA(h, IDC_KIT_MSG_ENTRY, "typed answer");
            PostMessage(h, WM_COMMAND, IDC_KIT_MSG_BUTTON1, 0);
        }
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

TEST_F(MsgBoxTest, RuntimeRoutineChoosesTheLook)
{
    g_hook = SetWindowsHookEx(WH_CBT, PressFirst, NULL, GetCurrentThreadId());
    ASSERT_NE(g_hook, (HHOOK)NULL);
    MsgBoxRoutine old = SetMsgBoxRoutine(KitMessageBox);
    SetThemeInUse(TRUE);
    g_userData = -1;
    EXPECT_EQ(MsgBoxText("skinned", MB_YESNO), IDYES);
    EXPECT_EQ(g_userData, kSkinDlgUserData) << "theme in use: the skinned box";
    SetThemeInUse(FALSE);
    g_userData = -1;
    EXPECT_EQ(MsgBoxText("plain", MB_OKCANCEL), IDOK);
    EXPECT_NE(g_userData, -1) << "a box came up";
    EXPECT_NE(g_userData, kSkinDlgUserData) << "no theme: the plain box";
    // A skin that cannot be made (no close button) falls back to the plain box.
    SetThemeInUse(TRUE);
    m_theme.Remove("QVDLG", "titleclose");
    g_userData = -1;
    EXPECT_EQ(MsgBoxText("fallback", MB_OK), IDOK);
    EXPECT_NE(g_userData, kSkinDlgUserData);
    SetMsgBoxRoutine(old);
    UnhookWindowsHookEx(g_hook);
}

}  // namespace

// ---- The wait dialog (same templates library) ----------------------------------------------

#include "WaitDlg.h"

namespace {

TEST_F(MsgBoxTest, WaitDialogLayoutTable)
{
    struct Case { const char* what; BOOL button; BOOL topmost; BOOL caption; bool captionShown; };
    const Case cases[] = {
        {"text only", FALSE, FALSE, FALSE, false},
        {"with the button", TRUE, FALSE, FALSE, true},
        {"topmost", FALSE, TRUE, FALSE, true},
        {"caption asked for", FALSE, FALSE, TRUE, true},
    };
    const char* texts[] = {"short", "a rather longer text that needs more than two hundred pixels of width"};
    for (const char* text : texts) {
        for (const Case& c : cases) {
            CWaitDlg dlg(NULL, (LPCSTR)NULL, FALSE);
            if (c.topmost) {
                ASSERT_TRUE(dlg.Layout("", FALSE));
                dlg.SetTopMost();
            }
            ASSERT_TRUE(dlg.Layout(text, c.button, c.caption)) << c.what;
            EXPECT_TRUE(dlg.IsSkinned());
            EXPECT_EQ(dlg.GetShowCaption() != FALSE, c.captionShown) << c.what;
            const CSize t = dlg.GetTextSize();
            const CSize inner = dlg.GetInnerSize();
            EXPECT_EQ(inner.cx, std::max<int>(t.cx + 56, 200)) << c.what;
            CRect rb;
            dlg.GetDlgItem(IDC_KIT_WAIT_CANCEL)->GetWindowRect(&rb);
            const int h = c.button ? rb.Height() + 56 + t.cy : (c.topmost ? t.cy + 48 : 48);
            EXPECT_EQ(inner.cy, h) << c.what;
            CRect rw;
            dlg.GetWindowRect(&rw);
            EXPECT_EQ(rw.Width(), inner.cx + 2 * dlg.GetBorderWidth()) << c.what;
            EXPECT_EQ(rw.Height(), inner.cy + dlg.GetBorderWidth() +
                                       (c.captionShown ? dlg.GetCaptionHeight() : dlg.GetBorderWidth()))
                << c.what;
            EXPECT_EQ(dlg.GetDlgItem(IDC_KIT_WAIT_CANCEL)->IsWindowVisible() != FALSE, c.button != FALSE) << c.what;
            EXPECT_TRUE(dlg.IsWindowVisible());
        }
    }
}

TEST_F(MsgBoxTest, WaitDialogCancelsFromItsButtonAndCaption)
{
    const UINT commands[] = {IDC_KIT_WAIT_CANCEL, ID_SKIN_CLOSE};
    for (UINT id : commands) {
        CWaitDlg dlg(NULL, (LPCSTR)NULL, TRUE);
        ASSERT_TRUE(dlg.Layout("waiting", TRUE));
        dlg.SendMessage(WM_COMMAND, id, 0);
        EXPECT_FALSE(dlg.IsWindowVisible()) << id;
    }
}

}  // namespace

// ---- The About box ---------------------------------------------------------------------------

#include "AboutDlg.h"

namespace {

TEST_F(MsgBoxTest, AboutBoxSizeAndControlsMovedInsideTheFrame)
{
    CDialog plain;
    ASSERT_TRUE(plain.Create(IDD_KIT_ABOUT, NULL));
    CQVAboutDlg about;
    about.SetTexts("Mardavel\nGame 1.0 Build7", "Quorvintel\n(c)");
    ASSERT_TRUE(about.Create(IDD_KIT_ABOUT, NULL));
    CRect rw;
    about.GetWindowRect(&rw);
    EXPECT_EQ(rw.Width(), 340) << "2 x 4 + 332";
    EXPECT_EQ(rw.Height(), 109) << "20 + 4 + 85";
    const UINT ids[] = {IDC_KIT_ABOUT_ICON, IDC_KIT_ABOUT_TEXT1, IDC_KIT_ABOUT_TEXT2, IDOK};
    for (UINT id : ids) {
        CRect a, p;
        about.GetDlgItem(id)->GetWindowRect(&a);
        about.ScreenToClient(&a);
        plain.GetDlgItem(id)->GetWindowRect(&p);
        plain.ScreenToClient(&p);
        EXPECT_EQ(a.left, p.left + 4) << id;
        EXPECT_EQ(a.top, p.top + 20) << id;
    }
    // Every control lies inside the frame.
    RECT inner;
    about.GetInnerClientRect(&inner);
    for (UINT id : ids) {
        CRect a;
        about.GetDlgItem(id)->GetWindowRect(&a);
        about.ScreenToClient(&a);
        if (a.IsRectEmpty())
            continue;   // an icon static without an icon has no size
        EXPECT_GE(a.left, inner.left) << id;
        EXPECT_GE(a.top, inner.top) << id;
        EXPECT_LE(a.right, inner.right) << id << " inside the frame";
        EXPECT_LE(a.bottom, inner.bottom) << id << " inside the frame";
    }
    CString title;
    about.GetWindowText(title);
    EXPECT_EQ(std::string(title).compare(0, 4, Gbk(L"关于")), 0) << "the title from string 29933";
    CString t1;
    about.GetDlgItem(IDC_KIT_ABOUT_TEXT1)->GetWindowText(t1);
    EXPECT_STREQ(t1, "Mardavel\nGame 1.0 Build7");
    about.DestroyWindow();
    plain.DestroyWindow();
}

}  // namespace

// ---- The runtime's hooks ----------------------------------------------------------------------

#include "KitServices.h"
#include "net/NetStrings.h"

namespace {

TEST_F(MsgBoxTest, QueryAnsweredThroughTheEntryBox)
{
    g_hook = SetWindowsHookEx(WH_CBT, PressFirst, NULL, GetCurrentThreadId());
    ASSERT_NE(g_hook, (HHOOK)NULL);
    MsgBoxRoutine old = SetMsgBoxRoutine(KitMessageBox);
    CString answer;
    EXPECT_EQ(KitAskQuery("Your name?", MB_OKCANCEL, 0, TRUE, answer), IDOK);
    EXPECT_STREQ(answer, "typed answer");
    EXPECT_EQ(KitAskQuery("Sure?", MB_YESNO, 0, FALSE, answer), IDYES);
    EXPECT_TRUE(answer.IsEmpty());
    SetMsgBoxRoutine(old);
    UnhookWindowsHookEx(g_hook);
}

TEST_F(MsgBoxTest, JoinProgressWindowOpensShowsAndCloses)
{
    KitJoinProgress(1, 0);
    ASSERT_TRUE(IsKitJoinProgressOpen());
    KitJoinProgress(2, 29913);
    EXPECT_TRUE(IsKitJoinProgressOpen());
    KitJoinProgress(3, 0);
    EXPECT_FALSE(IsKitJoinProgressOpen());
    KitJoinProgress(3, 0);   // closing twice is harmless
    EXPECT_FALSE(IsKitJoinProgressOpen());
    EXPECT_FALSE(LoadNetString(IDS_NET_CONNECTING).IsEmpty()) << "the connecting text exists";
}

}  // namespace
