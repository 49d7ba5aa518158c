// The kit's bitmap buttons on a real dialog: the face from the skin ini with
// its "dlgbutton.bmp" fallback and five-cell shape, the cell each state
// draws, sounds through the sound seam, a click only when released over the
// button, and the owner-drawn button's images and strips.
#include "KitTestSupport.h"

#include "CoolButton.h"

namespace {

using namespace kittest;

const std::vector<COLORREF> kFace = {RGB(10, 0, 0), RGB(20, 0, 0), RGB(30, 0, 0), RGB(40, 0, 0)};

class CHostDlg : public CDialog
{
public:
    std::vector<UINT> commands;   // posted commands (no control handle)

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        if (lParam == 0)
            commands.push_back(LOWORD(wParam));
        return TRUE;
    }
};

class ButtonTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_theme.Ok());
        ASSERT_TRUE(WriteStrip(m_theme.Image("dlgbutton.bmp"), 10, 8, kFace));
        m_template.Add(0x0080, 100, "", 10, 10, 40, 14, BS_PUSHBUTTON);
        m_template.Add(0x0080, 101, "", 60, 10, 40, 14, BS_PUSHBUTTON);
        ASSERT_TRUE(m_host.CreateIndirect(m_template.Get(), NULL));
        m_host.SetWindowPos(NULL, 100, 100, 300, 200, SWP_NOZORDER | SWP_SHOWWINDOW);
        PumpPendingMessages();
        SetCursorPos(1279, 1023);   // far from every button
    }
    void TearDown() override
    {
        m_host.DestroyWindow();
        PumpPendingMessages();
        AfxDeleteTempMaps();
    }
    // The cell DrawItem paints onto a canvas.
    COLORREF Drawn(CCoolButton& b)
    {
        Canvas canvas(20, 20, kWhite);
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_BUTTON;
        dis.hwndItem = b.GetSafeHwnd();
        dis.hDC = canvas.dc();
        GetClientRect(b.GetSafeHwnd(), &dis.rcItem);
        b.DrawItem(&dis);
        return canvas.At(2, 2);
    }
    TempTheme m_theme;
    DialogTemplate m_template{"Host", 200, 100, WS_POPUP | WS_CAPTION};
    CHostDlg m_host;
};

TEST_F(ButtonTest, FaceFallsBackToDlgbuttonBmp)
{
    CCoolButton b;
    ASSERT_TRUE(b.AttachFromIni(&m_host, 100, "QVDLG_Test", "IDOK", 11, 12));
    CRect rc;
    b.GetWindowRect(&rc);
    EXPECT_EQ(rc.Width(), 10) << "a quarter of the strip";
    EXPECT_EQ(rc.Height(), 8);
    EXPECT_FALSE(b.IsFiveCell());
    EXPECT_EQ(b.GetCommandId(), 100u);
    EXPECT_EQ(Drawn(b), kFace[0]);
}

TEST_F(ButtonTest, ACommaSelectsTheFiveCellShapedFace)
{
    // Fifth cell: left half black (inside), right half the key (the strip's
    // bottom-right colour).
    ASSERT_TRUE(WriteBmp(m_theme.Image("five.bmp"), 50, 8, [](int x, int) {
        if (x < 40)
            return kFace[x / 10];
        return (x - 40) < 5 ? kBlack : kMagenta;
    }));
    m_theme.Set("QVDLG", "IDOK", "5,  five.bmp");
    CCoolButton b;
    ASSERT_TRUE(b.AttachFromIni(&m_host, 100, "QVDLG_Test", "IDOK"));
    EXPECT_TRUE(b.IsFiveCell());
    EXPECT_EQ(b.GetCellWidth(), 10);
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(b.GetSafeHwnd(), rgn), ERROR);
    EXPECT_TRUE(PtInRegion(rgn, 2, 2));
    EXPECT_FALSE(PtInRegion(rgn, 7, 2)) << "key pixels of the fifth cell are outside";
    DeleteObject(rgn);
    EXPECT_EQ(Drawn(b), kFace[0]) << "drawn through the fifth cell's mask";
}

TEST_F(ButtonTest, StateCellsOfTheCoolButton)
{
    CCoolButton b;
    ASSERT_TRUE(b.AttachFromIni(&m_host, 100, "QVDLG_Test", "IDOK"));
    EXPECT_EQ(Drawn(b), kFace[0]);
    EXPECT_EQ(b.GetLastDrawnState(), 0);
    CRect rc;
    b.GetWindowRect(&rc);
    SetCursorPos(rc.left + 3, rc.top + 3);
    EXPECT_EQ(Drawn(b), kFace[1]) << "cursor over it: hover cell";
    b.EnableWindow(FALSE);
    EXPECT_EQ(Drawn(b), kFace[3]) << "disabled: cell 3 even under the cursor";
    EXPECT_EQ(b.GetLastDrawnState(), 3);
    b.EnableWindow(TRUE);
    SetCursorPos(1279, 1023);
    EXPECT_EQ(Drawn(b), kFace[0]);
    b.SetUseAlternate(TRUE);
    EXPECT_EQ(Drawn(b), kFace[0]) << "no alternate face loaded: the face";
    CQVBitmap alt;
    const std::vector<uint8_t> altBytes = MakeBmp24(40, 8, [](int, int) { return kGreen; });
    ASSERT_TRUE(alt.CreateFromFileBytes(altBytes.data(), altBytes.size()));
    b.SetAlternateFace((HBITMAP)alt.Detach());
    EXPECT_EQ(Drawn(b), kGreen);
}

TEST_F(ButtonTest, HoverSoundThroughTheSeamNoneWhenDisabled)
{
    SoundRecorder sounds;
    CCoolButton b;
    ASSERT_TRUE(b.AttachFromIni(&m_host, 100, "QVDLG_Test", "IDOK", 11, 12));
    b.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(sounds.Played(), std::vector<UINT>{11});
    EXPECT_EQ(GetCapture(), b.GetSafeHwnd()) << "over it: the button holds the mouse";
    // Pressing plays the press sound. The button reads the mouse button's
    // state from the thread's key state, which the test sets.
    sounds.Clear();
    BYTE keys[256];
    ASSERT_TRUE(GetKeyboardState(keys));
    keys[VK_LBUTTON] = 0x80;
    ASSERT_TRUE(SetKeyboardState(keys));
    b.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    keys[VK_LBUTTON] = 0;
    ASSERT_TRUE(SetKeyboardState(keys));
    EXPECT_EQ(sounds.Played(), std::vector<UINT>{12});
    b.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    PumpPendingMessages();
    sounds.Clear();
    b.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    b.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(200, 3));
    EXPECT_NE(GetCapture(), b.GetSafeHwnd()) << "off it: released";
    sounds.Clear();
    b.EnableWindow(FALSE);
    b.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    b.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    EXPECT_TRUE(sounds.Played().empty()) << "a disabled button is silent";

    CCoolButton quiet;
    ASSERT_TRUE(quiet.AttachFromIni(&m_host, 101, "QVDLG_Test", "IDOK", 0, 0));
    quiet.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_TRUE(sounds.Played().empty()) << "sound 0 is none";
}

TEST_F(ButtonTest, ClickOnlyWhenReleasedOverTheButton)
{
    CCoolButton b;
    ASSERT_TRUE(b.AttachFromIni(&m_host, 100, "QVDLG_Test", "IDOK"));
    struct Case { const char* what; bool enabled; int x, y; size_t commands; };
    const Case cases[] = {
        {"released over it", true, 3, 3, 1},
        {"released left of it", true, -20, 3, 0},
        {"released below it", true, 3, 30, 0},
        {"released over its neighbour's place", true, 120, 3, 0},
        {"disabled", false, 3, 3, 0},
    };
    for (const Case& c : cases) {
        m_host.commands.clear();
        b.EnableWindow(c.enabled);
        b.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        b.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM((WORD)(short)c.x, (WORD)(short)c.y));
        PumpPendingMessages();
        EXPECT_EQ(m_host.commands.size(), c.commands) << c.what;
        if (!m_host.commands.empty()) {
            EXPECT_EQ(m_host.commands[0], 100u) << c.what;
        }
    }
    ReleaseCapture();
}

COLORREF DrawnOwner(CQVBitmapButton2& b, UINT state)
{
    Canvas canvas(40, 20, kWhite);
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_BUTTON;
    dis.itemState = state;
    dis.hDC = canvas.dc();
    dis.rcItem = {0, 0, 10, 8};
    b.DrawItem(&dis);
    return canvas.At(2, 2);
}

TEST_F(ButtonTest, BitmapButtonWithOnlyANormalImage)
{
    CQVBitmapButton2 b;
    ASSERT_TRUE(b.LoadBitmaps(501)) << "the normal image alone is enough";
    EXPECT_EQ(b.GetCellWidth(), 8);
    const UINT states[] = {0, ODS_SELECTED, ODS_FOCUS, ODS_DISABLED, ODS_SELECTED | ODS_FOCUS};
    for (UINT s : states)
        EXPECT_EQ(DrawnOwner(b, s), kRed) << "state " << s;
    CQVBitmapButton2 missing;
    EXPECT_FALSE(missing.LoadBitmaps(501, 999)) << "a requested image that fails";
    CQVBitmapButton2 copy;
    EXPECT_TRUE(copy.LoadBitmaps(501, 0, 501));
    EXPECT_TRUE(copy.GetSelected().IsLoaded()) << "focus without selected: selected copies normal";
    EXPECT_NE(copy.GetSelected().GetSafeHandle(), copy.GetNormal().GetSafeHandle());
}

TEST_F(ButtonTest, BitmapButtonStripCells)
{
    ASSERT_TRUE(WriteStrip(m_theme.Image("strip.bmp"), 10, 8, kFace));
    m_theme.Set("QVDLG", "Strip", "strip.bmp");
    CQVBitmapButton2 b;
    ASSERT_TRUE(b.LoadStripFromIni(101, "QVDLG_Test", "Strip", &m_host));
    EXPECT_EQ(b.GetMode(), CQVBitmapButton2::kModeStrip);
    CRect rc;
    b.GetWindowRect(&rc);
    EXPECT_EQ(rc.Width(), 10);
    struct Case { const char* what; UINT state; int cell; };
    const Case cases[] = {
        {"normal", 0, 0},
        {"focus", ODS_FOCUS, 1},
        {"selected", ODS_SELECTED, 2},
        {"disabled", ODS_DISABLED, 3},
        {"selected and focus", ODS_SELECTED | ODS_FOCUS, 2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DrawnOwner(b, c.state), kFace[c.cell]) << c.what;
    CQVBitmapButton2 none;
    EXPECT_FALSE(none.LoadStripFromIni(100, "QVDLG_Test", "Nothing", &m_host)) << "empty in both sections";
}

}  // namespace
