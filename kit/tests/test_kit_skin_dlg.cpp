// The skinned dialog on a real window: which section a key comes from, when
// creation fails, the shared frame region and its corners, the hit test,
// caption buttons and their commands, the lobby's hide/show notice,
// painting, and the unskinned dialog that stays plain.
#include "KitTestSupport.h"

#include "SkinDlg.h"

namespace {

using namespace kittest;

const COLORREF kKey = kMagenta;
// The background: 30 x 30, cells of 10, each its own colour; key pixels in
// the outer corners of the four corner cells.
COLORREF CellColour(int col, int row) { return RGB(20 + 40 * col, 20 + 40 * row, 100); }
COLORREF Background(int x, int y)
{
    const bool key = (x <= 1 && y <= 1) || (x >= 28 && y <= 1) || (x <= 1 && y >= 28) || (x >= 28 && y >= 28);
    return key ? kKey : CellColour(x / 10, y / 10);
}
COLORREF InactiveCell(int col, int row) { return RGB(200, 20 + 40 * col, 20 + 40 * row); }
const std::vector<COLORREF> kCloseCells = {RGB(1, 200, 1), RGB(2, 200, 2), RGB(3, 200, 3), RGB(4, 200, 4)};

class CTestSkinDlg : public CSkinDlg
{
public:
    int m_nCancels = 0;
    int m_nCloses = 0;
    void OnCancel() override { m_nCancels++; }

protected:
    afx_msg void OnClose() { m_nCloses++; CSkinDlg::OnClose(); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTestSkinDlg, CSkinDlg)
    ON_WM_CLOSE()
END_MESSAGE_MAP()

class SkinDlgTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_theme.Ok());
        ASSERT_TRUE(WriteBmp(m_theme.Image("bg.bmp"), 30, 30, Background));
        ASSERT_TRUE(WriteBmp(m_theme.Image("bgna.bmp"), 30, 30, [](int x, int y) {
            return Background(x, y) == kKey ? kKey : InactiveCell(x / 10, y / 10);
        }));
        ASSERT_TRUE(WriteStrip(m_theme.Image("close.bmp"), 12, 10, kCloseCells));
        ASSERT_TRUE(WriteStrip(m_theme.Image("max.bmp"), 12, 10, {kRed, kRed, kRed, kRed}));
        ASSERT_TRUE(WriteStrip(m_theme.Image("restore.bmp"), 12, 10, {kBlue, kBlue, kBlue, kBlue}));
        m_theme.Set("QVDLG", "backgrdbmp", "bg.bmp");
        m_theme.Set("QVDLG", "backgrdbmpNA", "bgna.bmp");
        m_theme.Set("QVDLG", "titleclose", "close.bmp");
    }
    void TearDown() override
    {
        PumpPendingMessages();
        AfxDeleteTempMaps();
    }
    // A modeless skinned dialog of 200 x 100 dialog units, shown at (50, 50).
    BOOL Make(CSkinDlg& dlg, const char* section = "Test", bool show = true)
    {
        if (section != nullptr)
            dlg.SetSkinSection(section);
        if (!dlg.CreateIndirect(m_template.Get(), NULL))
            return FALSE;
        dlg.SetWindowPos(NULL, 50, 50, 300, 200, SWP_NOZORDER | (show ? SWP_SHOWWINDOW : 0));
        PumpPendingMessages();
        return TRUE;
    }
    TempTheme m_theme;
    DialogTemplate m_template{"Skinned", 200, 100};
};

TEST_F(SkinDlgTest, KeysComeFromTheSectionThenQvdlgThenTheDefault)
{
    struct Case
    {
        const char* what;
        const char* own;      // value in "QVDLG_Test", or NULL
        const char* common;   // value in "QVDLG", or NULL
        const char* key;
        int expected;
    };
    const Case cases[] = {
        {"border from the own section", "6", "5", "BorderWidth", 6},
        {"border from QVDLG", NULL, "5", "BorderWidth", 5},
        {"border default", NULL, NULL, "BorderWidth", 4},
        {"caption from the own section", "30", "25", "CaptionHeight", 30},
        {"caption default", NULL, NULL, "CaptionHeight", 20},
        {"Resize only counts in the own section", NULL, "1", "Resize", 0},
        {"Resize in the own section", "1", NULL, "Resize", 1},
        {"AnomalyFrame 0 from QVDLG", NULL, "0", "AnomalyFrame", 0},
        {"AnomalyFrame default", NULL, NULL, "AnomalyFrame", 1},
        {"titlealign 2 is kept as 1", "2", NULL, "titlealign", 1},
        {"titlealign default 1 is kept as 4", NULL, NULL, "titlealign", 4},
    };
    for (const Case& c : cases) {
        c.own ? m_theme.Set("QVDLG_Test", c.key, c.own) : m_theme.Remove("QVDLG_Test", c.key);
        c.common ? m_theme.Set("QVDLG", c.key, c.common) : m_theme.Remove("QVDLG", c.key);
        CSkinDlg dlg;
        ASSERT_TRUE(Make(dlg)) << c.what;
        int value = 0;
        const std::string key = c.key;
        if (key == "BorderWidth") value = dlg.GetBorderWidth();
        if (key == "CaptionHeight") value = dlg.GetCaptionHeight();
        if (key == "Resize") value = dlg.IsResizable();
        if (key == "AnomalyFrame") value = dlg.IsShapedFrame();
        if (key == "titlealign") value = dlg.GetTitleAlign();
        EXPECT_EQ(value, c.expected) << c.what;
        dlg.DestroyWindow();
        m_theme.Remove("QVDLG_Test", c.key);
        m_theme.Remove("QVDLG", c.key);
    }
    // Colours follow the same chain.
    m_theme.Set("QVDLG", "ctrltextcolor", "1,2,3");
    m_theme.Set("QVDLG", "titlecolor", "10,20,30");
    m_theme.Set("QVDLG_Test", "titlecolor", "40,50,60");
    CSkinDlg dlg;
    ASSERT_TRUE(Make(dlg));
    EXPECT_EQ(dlg.GetControlTextColour(), RGB(1, 2, 3));
    EXPECT_EQ(dlg.GetTitleColour(), RGB(40, 50, 60));
    dlg.DestroyWindow();
}

TEST_F(SkinDlgTest, BackgroundFallsBackToQvdlgThenTheDefaultName)
{
    // The own section names a picture that exists: it is used.
    ASSERT_TRUE(WriteBmp(m_theme.Image("own.bmp"), 30, 30, [](int, int) { return kYellow; }));
    m_theme.Set("QVDLG_Test", "backgrdbmp", "own.bmp");
    CSkinDlg own;
    ASSERT_TRUE(Make(own));
    EXPECT_EQ(own.GetBackground().Width(), 30);
    Canvas c1(300, 200, kWhite);
    own.GetBackground().Draw(CDC::FromHandle(c1.dc()), 0, 0);
    EXPECT_EQ(c1.At(15, 15), kYellow);
    own.DestroyWindow();
    m_theme.Remove("QVDLG_Test", "backgrdbmp");

    // Neither section: "dialogBK.jpg" in the image folder; missing, creation fails.
    m_theme.Remove("QVDLG", "backgrdbmp");
    CSkinDlg none;
    EXPECT_FALSE(Make(none)) << "file mode: no active background, no dialog";
    EXPECT_EQ(none.GetSafeHwnd(), (HWND)NULL);
}

TEST_F(SkinDlgTest, CreationFailsWithoutACloseButtonImage)
{
    m_theme.Remove("QVDLG", "titleclose");
    CSkinDlg dlg;
    EXPECT_FALSE(Make(dlg));
    m_theme.Set("QVDLG", "titleclose", "nothere.bmp");
    CSkinDlg dlg2;
    EXPECT_FALSE(Make(dlg2));
    // A missing inactive background is not an error.
    m_theme.Set("QVDLG", "titleclose", "close.bmp");
    m_theme.Set("QVDLG", "backgrdbmpNA", "nothere.bmp");
    CSkinDlg dlg3;
    EXPECT_TRUE(Make(dlg3));
    EXPECT_FALSE(dlg3.GetInactiveBackground().IsLoaded());
    EXPECT_EQ(GetWindowLongPtr(dlg3.GetSafeHwnd(), GWLP_USERDATA), kSkinDlgUserData);
    dlg3.DestroyWindow();

    // In file mode the active background must load.
    struct Case
    {
        const char* what;
        const char* background;
    };
    const Case cases[] = {
        {"active background file missing", "nothere.bmp"},
        {"active background not a picture", "close.txt"},
    };
    ASSERT_TRUE(WriteBytes(m_theme.Image("close.txt"), {'n', 'o', 't', ' ', 'a', ' ', 'b', 'm', 'p'}));
    for (const Case& c : cases) {
        m_theme.Set("QVDLG", "backgrdbmp", c.background);
        CSkinDlg dlg4;
        EXPECT_FALSE(Make(dlg4)) << c.what;
        EXPECT_EQ(dlg4.GetSafeHwnd(), (HWND)NULL) << c.what;
    }
}

TEST_F(SkinDlgTest, EqualBackgroundNamesShareOneCachedRegion)
{
    // A name of its own so earlier tests' records do not interfere; longer
    // than 63 characters, so only its first 63 count.
    const std::string name = "shared_" + std::string(70, 'x') + ".bmp";
    ASSERT_TRUE(WriteBmp(m_theme.Image(name), 30, 30, Background));
    m_theme.Set("QVDLG_Test", "backgrdbmp", name);
    const int before = KitCachedRegionCount();
    CSkinDlg a, b;
    ASSERT_TRUE(Make(a));
    ASSERT_TRUE(Make(b));
    EXPECT_EQ(KitCachedRegionCount(), before + 1) << "the second dialog builds none";
    ASSERT_NE(a.GetFrameRegion(), (HRGN)NULL);
    EXPECT_EQ(a.GetFrameRegion(), b.GetFrameRegion());
    std::string upper = name;
    for (char& ch : upper)
        ch = (char)toupper((unsigned char)ch);
    EXPECT_EQ(KitFindCachedRegion(upper.substr(0, 63).c_str()), a.GetFrameRegion())
        << "names compare without case, on 63 characters";
    a.DestroyWindow();
    b.DestroyWindow();
}

TEST_F(SkinDlgTest, ShapedRegionLeavesTheKeyedCornerPixelsOut)
{
    CSkinDlg dlg;
    ASSERT_TRUE(Make(dlg));
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(dlg.GetSafeHwnd(), rgn), ERROR);
    const int W = 300, H = 200;
    struct Probe { const char* what; int x, y; bool inside; };
    const Probe probes[] = {
        {"top-left key pixel", 0, 0, false},
        {"top-left key pixel (1,1)", 1, 1, false},
        {"top-left cell body", 2, 2, true},
        {"top-right key pixel on the last column", W - 1, 0, false},
        {"top-right key pixel, one column in", W - 2, 1, false},
        {"top-right body next to the key", W - 3, 0, true},
        {"top-right body", W - 1, 5, true},
        {"bottom-left key", 0, H - 1, false},
        {"bottom-left body", 5, H - 5, true},
        {"bottom-right key", W - 1, H - 1, false},
        {"bottom-right body", W - 5, H - 5, true},
        {"middle of the top edge", W / 2, 0, true},
        {"top edge between body and a small corner cell: no notch", W - 12, 2, true},
        {"left edge above a small corner cell: no notch", 3, H - 12, true},
        {"middle of the left edge", 0, H / 2, true},
        {"centre", W / 2, H / 2, true},
    };
    for (const Probe& p : probes)
        EXPECT_EQ(PtInRegion(rgn, p.x, p.y) != FALSE, p.inside) << p.what;
    DeleteObject(rgn);
    dlg.DestroyWindow();

    m_theme.Set("QVDLG_Test", "AnomalyFrame", "0");
    CSkinDlg square;
    ASSERT_TRUE(Make(square));
    HRGN whole = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(square.GetSafeHwnd(), whole), ERROR);
    EXPECT_TRUE(PtInRegion(whole, 0, 0));
    EXPECT_TRUE(PtInRegion(whole, W - 1, H - 1));
    DeleteObject(whole);
    square.DestroyWindow();
}

LRESULT HitAt(CWnd& w, int x, int y)
{
    CRect rc;
    w.GetWindowRect(&rc);
    return w.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(rc.left + x, rc.top + y));
}

TEST_F(SkinDlgTest, HitTestThroughTheWindow)
{
    m_theme.Set("QVDLG_Test", "Resize", "1");
    CSkinDlg dlg;
    ASSERT_TRUE(Make(dlg));
    const RECT close = dlg.GetCaptionButtons().GetButtonRect(dlg.GetCaptionButtons().FindButton(ID_SKIN_CLOSE));
    EXPECT_EQ(close.right, 300 - 6) << "placed SysBtnRight from the right";
    EXPECT_EQ(close.top, 3) << "at SysBtnTop";
    EXPECT_EQ(close.right - close.left, 12) << "a quarter of the strip";
    EXPECT_EQ(HitAt(dlg, 0, 100), HTLEFT);
    EXPECT_EQ(HitAt(dlg, 299, 199), HTBOTTOMRIGHT);
    EXPECT_EQ(HitAt(dlg, 10, 10), HTSYSMENU);
    EXPECT_EQ(HitAt(dlg, close.left + 2, close.top + 2), HTCLOSE);
    EXPECT_EQ(HitAt(dlg, 150, 12), HTCAPTION);
    EXPECT_EQ(HitAt(dlg, 150, 100), HTCLIENT);
    dlg.ShowWindow(SW_MAXIMIZE);
    PumpPendingMessages();
    ASSERT_TRUE(dlg.IsZoomed());
    EXPECT_EQ(HitAt(dlg, 0, 100), HTCLIENT) << "maximised: no edge zones";
    EXPECT_EQ(HitAt(dlg, 1, 1), HTCAPTION);
    dlg.DestroyWindow();
}

TEST_F(SkinDlgTest, CaptionButtonStatesAndTheirCommands)
{
    m_theme.Set("QVDLG_Test", "usetitlemax", "1");
    m_theme.Set("QVDLG_Test", "titlemax", "max.bmp");
    m_theme.Set("QVDLG", "titlerestore", "2,  restore.bmp");
    CTestSkinDlg dlg;
    ASSERT_TRUE(Make(dlg));
    CSkinImageSet& set = dlg.GetCaptionButtons();
    ASSERT_EQ(set.GetCount(), 2);
    EXPECT_EQ(set.FindButton(ID_SKIN_MAXIMIZE), 0);
    const int ci = set.FindButton(ID_SKIN_CLOSE);
    const RECT close = set.GetButtonRect(ci);
    const RECT max = set.GetButtonRect(0);
    EXPECT_EQ(max.right + 1, close.left) << "buttons one pixel apart";
    CRect rc;
    dlg.GetWindowRect(&rc);
    const LPARAM onClose = MAKELPARAM(rc.left + close.left + 3, rc.top + close.top + 3);
    const LPARAM offButtons = MAKELPARAM(rc.left + 150, rc.top + 10);

    dlg.SendMessage(WM_NCMOUSEMOVE, HTCLOSE, onClose);
    EXPECT_EQ(set.GetState(ci), 1) << "hover";
    dlg.SendMessage(WM_NCLBUTTONDOWN, HTCLOSE, onClose);
    EXPECT_EQ(set.GetState(ci), 2) << "pressed";
    dlg.SendMessage(WM_NCLBUTTONUP, HTCLOSE, offButtons);
    PumpPendingMessages();
    EXPECT_EQ(dlg.m_nCloses, 0) << "released elsewhere: no command";
    dlg.SendMessage(WM_NCLBUTTONDOWN, HTCLOSE, onClose);
    dlg.SendMessage(WM_NCLBUTTONUP, HTCLOSE, onClose);
    EXPECT_EQ(set.GetState(ci), 0);
    PumpPendingMessages();
    EXPECT_EQ(dlg.m_nCloses, 1) << "29735 posts WM_CLOSE";
    EXPECT_EQ(dlg.m_nCancels, 1) << "and closing cancels the dialog";
    EXPECT_EQ(set.GetState(5), -1) << "out of range";

    // The maximise button: 29754 toggles, the restore picture shows when maximised.
    dlg.PostMessage(WM_COMMAND, ID_SKIN_MAXIMIZE, 0);
    PumpPendingMessages();
    EXPECT_TRUE(dlg.IsZoomed());
    EXPECT_TRUE(set.IsAlternate(0));
    dlg.SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, offButtons);
    PumpPendingMessages();
    EXPECT_FALSE(dlg.IsZoomed()) << "a caption double click toggles back";
    EXPECT_FALSE(set.IsAlternate(0));
    dlg.DestroyWindow();
}

TEST_F(SkinDlgTest, LobbyNoticeHidesAndShows)
{
    struct Case
    {
        const char* what;
        bool visibleBefore;
        ULONG_PTR first, second;
        BOOL firstResult, secondResult;
        bool visibleAfter;
    };
    const Case cases[] = {
        {"visible: hide then show", true, 0xEBEBEB00, 0xEBEBEB01, TRUE, TRUE, true},
        {"hidden before the notice stays hidden", false, 0xEBEBEB00, 0xEBEBEB01, TRUE, TRUE, false},
        {"hide alone", true, 0xEBEBEB00, 0xEBEBEB07, TRUE, TRUE, false},
        {"any low byte answers TRUE", true, 0xEBEBEB42, 0xEBEBEB43, TRUE, TRUE, true},
        {"foreign data answers FALSE", true, 0x12345600, 0xEBEB0000, FALSE, FALSE, true},
    };
    for (const Case& c : cases) {
        CSkinDlg dlg;
        ASSERT_TRUE(Make(dlg, "Test", c.visibleBefore)) << c.what;
        COPYDATASTRUCT cd = {c.first, 0, NULL};
        EXPECT_EQ(dlg.SendMessage(WM_COPYDATA, 0, (LPARAM)&cd), c.firstResult) << c.what;
        cd.dwData = c.second;
        EXPECT_EQ(dlg.SendMessage(WM_COPYDATA, 0, (LPARAM)&cd), c.secondResult) << c.what;
        EXPECT_EQ(dlg.IsWindowVisible() != FALSE, c.visibleAfter) << c.what;
        dlg.DestroyWindow();
    }
}

// A modal run: hidden by hand, then the notice pair shows it because the
// modal loop runs.
class CModalNoticeDlg : public CSkinDlg
{
public:
    BOOL m_bShownByNotice = FALSE;
    BOOL m_bFlagDuringRun = FALSE;

protected:
    BOOL OnInitDialog() override
    {
        CSkinDlg::OnInitDialog();
        PostMessage(WM_APP + 1);
        return TRUE;
    }
    afx_msg LRESULT OnStep(WPARAM, LPARAM)
    {
        m_bFlagDuringRun = IsInModalLoop();
        ShowWindow(SW_HIDE);
        COPYDATASTRUCT cd = {0xEBEBEB00, 0, NULL};
        SendMessage(WM_COPYDATA, 0, (LPARAM)&cd);
        cd.dwData = 0xEBEBEB01;
        SendMessage(WM_COPYDATA, 0, (LPARAM)&cd);
        m_bShownByNotice = IsWindowVisible();
        EndDialog(IDOK);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CModalNoticeDlg, CSkinDlg)
    ON_MESSAGE(WM_APP + 1, OnStep)
END_MESSAGE_MAP()

TEST_F(SkinDlgTest, LobbyNoticeShowsAModalDialogEvenIfHidden)
{
    CModalNoticeDlg dlg;
    dlg.SetSkinSection("Test");
    ASSERT_TRUE(dlg.InitModalIndirect(m_template.Get()));
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(dlg.m_bFlagDuringRun);
    EXPECT_TRUE(dlg.m_bShownByNotice);
    EXPECT_FALSE(dlg.IsInModalLoop());
}

TEST_F(SkinDlgTest, PaintsTheNineGridButtonsAndInactiveBackground)
{
    CSkinDlg dlg;
    ASSERT_TRUE(Make(dlg));
    CSkinImageSet& set = dlg.GetCaptionButtons();
    const int ci = set.FindButton(ID_SKIN_CLOSE);
    const RECT close = set.GetButtonRect(ci);
    dlg.SetActiveWindow();
    ASSERT_EQ(GetActiveWindow(), dlg.GetSafeHwnd());
    Canvas canvas(300, 200, kWhite);
    dlg.PaintSkin(CDC::FromHandle(canvas.dc()));
    EXPECT_EQ(canvas.At(5, 5), CellColour(0, 0));
    EXPECT_EQ(canvas.At(150, 5), CellColour(1, 0)) << "top edge tiled";
    EXPECT_EQ(canvas.At(150, 100), CellColour(1, 1)) << "centre filled";
    EXPECT_EQ(canvas.At(295, 195), CellColour(2, 2));
    EXPECT_EQ(canvas.At(close.left + 1, close.top + 1), kCloseCells[0]);
    set.SetState(1, ci);
    dlg.PaintSkin(CDC::FromHandle(canvas.dc()));
    EXPECT_EQ(canvas.At(close.left + 1, close.top + 1), kCloseCells[1]);
    set.SetState(9, ci);
    dlg.PaintSkin(CDC::FromHandle(canvas.dc()));
    EXPECT_EQ(canvas.At(close.left + 1, close.top + 1), kCloseCells[3]) << "other states draw the fourth cell";

    // Another window active: the inactive background.
    CWnd other;
    ASSERT_TRUE(other.CreateEx(0, AfxRegisterWndClass(0), "other", WS_POPUP | WS_VISIBLE, 500, 400, 20, 20, NULL, NULL));
    other.SetActiveWindow();
    ASSERT_EQ(GetActiveWindow(), other.GetSafeHwnd());
    dlg.PaintSkin(CDC::FromHandle(canvas.dc()));
    EXPECT_EQ(canvas.At(5, 5), InactiveCell(0, 0));
    EXPECT_EQ(canvas.At(150, 100), InactiveCell(1, 1));
    other.DestroyWindow();
    dlg.DestroyWindow();
}

TEST_F(SkinDlgTest, SectionAndFontNamesAreBounded)
{
    const std::string longFace(100, 'F');
    m_theme.Set("QVDLG", "titlefont", longFace);
    CSkinDlg dlg;
    dlg.SetSkinSection(std::string(600, 'n').c_str());
    EXPECT_EQ(strlen(dlg.GetSkinSection()), 255u);
    dlg.SetSkinSection("Test");
    ASSERT_TRUE(Make(dlg, nullptr));
    LOGFONT lf = {};
    ASSERT_TRUE(dlg.GetTitleFont()->GetLogFont(&lf));
    EXPECT_EQ(std::string(lf.lfFaceName), std::string(31, 'F'));
    EXPECT_EQ(lf.lfHeight, 12);
    EXPECT_EQ(lf.lfWeight, 500);
    dlg.DestroyWindow();
}

TEST_F(SkinDlgTest, WithoutASectionTheDialogStaysPlain)
{
    CSkinDlg dlg;
    ASSERT_TRUE(Make(dlg, nullptr));
    EXPECT_FALSE(dlg.IsSkinned());
    EXPECT_NE(GetWindowLongPtr(dlg.GetSafeHwnd(), GWLP_USERDATA), kSkinDlgUserData);
    CRect rc, client;
    dlg.GetWindowRect(&rc);
    dlg.GetClientRect(&client);
    EXPECT_LT(client.Height(), rc.Height()) << "the system frame stays";
    EXPECT_EQ(HitAt(dlg, rc.Width() / 2, 5), HTCAPTION) << "the system's own caption";
    COPYDATASTRUCT cd = {0xEBEBEB00, 0, NULL};
    EXPECT_EQ(dlg.SendMessage(WM_COPYDATA, 0, (LPARAM)&cd), FALSE);
    EXPECT_TRUE(dlg.IsWindowVisible());
    RECT inner;
    dlg.GetInnerClientRect(&inner);
    EXPECT_EQ(CRect(inner), client);
    dlg.DestroyWindow();
}

TEST_F(SkinDlgTest, InnerClientRectLeavesBorderAndCaption)
{
    CSkinDlg dlg;
    ASSERT_TRUE(Make(dlg));
    RECT r;
    dlg.GetInnerClientRect(&r);
    EXPECT_EQ(CRect(r), CRect(4, 20, 296, 196));
    dlg.SetShowCaption(FALSE);
    dlg.GetInnerClientRect(&r);
    EXPECT_EQ(CRect(r), CRect(4, 4, 296, 196));
    dlg.DestroyWindow();
}

TEST_F(SkinDlgTest, DialogsLeakNoGdiObjects)
{
    {   // the first one fills the region cache
        CSkinDlg warm;
        ASSERT_TRUE(Make(warm));
        warm.DestroyWindow();
    }
    PumpPendingMessages();
    AfxDeleteTempMaps();
    const int before = CountGdiObjects();
    ASSERT_GT(before, 0);
    for (int i = 0; i < 10; i++) {
        CSkinDlg dlg;
        ASSERT_TRUE(Make(dlg));
        dlg.UpdateWindow();
        dlg.DestroyWindow();
    }
    PumpPendingMessages();
    AfxDeleteTempMaps();
    EXPECT_EQ(CountGdiObjects(), before);
}

}  // namespace
