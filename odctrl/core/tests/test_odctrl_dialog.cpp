// The owner-draw dialog on the test display, with the generated theme
// (frame edges 4 pixels wide, no caption pictures): the frame geometry per
// style and the border widths taken from the pictures, the frame pieces a
// border-only dialog loads, the caption buttons driven by non-client mouse
// messages, a theme reload that keeps the caller's values, the background
// handed to an owner-draw static, the bounded caption text, and the window
// region cut at the frame's transparent corners.
#include "ODTestSupport.h"

#include "ODDialog.h"
#include "ODLibrary.h"
#include "ODStatic.h"

namespace {

using namespace odtest;

// An in-memory dialog template: a caption text, a size in dialog units and
// the MS Shell Dlg style font; no items.
class DialogTemplate
{
public:
    DialogTemplate(const char* caption, int cx, int cy, DWORD style)
    {
        DLGTEMPLATE t = {};
        t.style = style | DS_SETFONT;
        t.cx = static_cast<short>(cx);
        t.cy = static_cast<short>(cy);
        Append(&t, sizeof t);
        Word(0);  // menu
        Word(0);  // class
        Text(caption);
        Word(8);
        Text("Tahoma");
    }
    LPCDLGTEMPLATE Get() const { return reinterpret_cast<LPCDLGTEMPLATE>(m_bytes.data()); }

private:
    void Append(const void* p, size_t n)
    {
        const BYTE* b = static_cast<const BYTE*>(p);
        m_bytes.insert(m_bytes.end(), b, b + n);
    }
    void Word(WORD w) { Append(&w, 2); }
    void Text(const char* s)
    {
        wchar_t w[128];
        const int n = MultiByteToWideChar(CP_ACP, 0, s, -1, w, 128);
        Append(w, static_cast<size_t>(n > 0 ? n : 1) * 2);
    }
    std::vector<BYTE> m_bytes;
};

const DWORD kCaptionStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MAXIMIZEBOX | WS_MINIMIZEBOX;

class DialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        savedDialog = CODDialog::ClassDefaults();
        savedTitle = CODTitleBar::ClassDefaults();
        theme = ReadText(ThemeFolder() + "Mardavel_skn.ini");
        ASSERT_FALSE(theme.empty()) << "the build generates " << ThemeFolder() << "Mardavel_skn.ini";
        ASSERT_TRUE(CopyFileA((ThemeFolder() + "Kelvarin.dll").c_str(), dir.File("Kelvarin.dll").c_str(), FALSE));
        ini = dir.File("Mardavel_skn.ini");
    }
    void TearDown() override
    {
        ODExitLibrary();
        CODDialog::ClassDefaults() = savedDialog;
        CODTitleBar::ClassDefaults() = savedTitle;
    }
    // The generated theme with lines of the tests' own after it (a later
    // key of one section wins).
    void StartTheme(const std::string& extra = "")
    {
        ASSERT_TRUE(WriteText(ini, theme + extra));
        if (ODIsLibraryInitialized())
            ODLoadTheme();
        else
            ASSERT_TRUE(ODInitLibrary(ini.c_str(), OD_THEME_LOOSE_FILES));
    }
    static std::string ReadText(const std::string& path)
    {
        const std::vector<unsigned char> b = ReadFileBytes(path);
        return std::string(b.begin(), b.end());
    }
    // A modeless dialog of 150 x 80 dialog units.
    bool Open(CODDialog& d, DWORD style, const char* caption = "Table")
    {
        DialogTemplate t(caption, 150, 80, style);
        return d.CreateIndirect(t.Get(), NULL) != FALSE;
    }
    static CRect WindowRect(CWnd& w)
    {
        CRect r;
        w.GetWindowRect(&r);
        return r;
    }
    static CPoint ClientOrigin(CWnd& w)
    {
        CPoint p(0, 0);
        w.ClientToScreen(&p);
        const CRect r = WindowRect(w);
        return CPoint(p.x - r.left, p.y - r.top);
    }

    TempDir dir;
    std::string theme, ini;
    CODDialog::Defaults savedDialog;
    CODTitleBar::Defaults savedTitle;
};

TEST_F(DialogTest, GeometryPerStyleWithBorderWidthsFromThePictures)
{
    StartTheme();
    struct Case
    {
        const char* what;
        DWORD style;
        bool templateConstructor;
        CPoint clientOrigin;  // in the window
        CSize frame;          // window size less client size
    };
    // The generated frame pictures: left and right edges 4 wide, top and bottom 4 high; no caption centre
    // picture, so the caption keeps the constructor's height.
    const Case cases[] = {
        {"caption, default constructor", kCaptionStyle, false, CPoint(4, 25), CSize(8, 29)},
        {"caption, template constructor", kCaptionStyle, true, CPoint(4, 20), CSize(8, 24)},
        {"border only", WS_POPUP | WS_BORDER, false, CPoint(4, 4), CSize(8, 8)},
        {"no border", WS_POPUP, false, CPoint(0, 0), CSize(0, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<CODDialog> d(c.templateConstructor ? new CODDialog(1, NULL) : new CODDialog);
        ASSERT_TRUE(Open(*d, c.style)) << "needs the test display";
        EXPECT_TRUE(GetPropA(d->m_hWnd, "ODDialog") == reinterpret_cast<HANDLE>(4100));
        EXPECT_FALSE(d->GetStyle() & WS_SYSMENU) << "the system menu is the dialog's own";
        EXPECT_EQ(d->GetSavedStyle() & WS_SYSMENU, c.style & WS_SYSMENU);
        CRect client;
        d->GetClientRect(&client);
        CRect units(0, 0, 150, 80);
        d->MapDialogRect(&units);
        EXPECT_EQ(client.Size(), units.Size()) << "the template's client size is kept";
        EXPECT_EQ(ClientOrigin(*d), c.clientOrigin);
        EXPECT_EQ(WindowRect(*d).Size() - client.Size(), c.frame);
        d->DestroyWindow();
    }
}

TEST_F(DialogTest, WithoutPicturesTheFrameKeepsItsOwnWidths)
{
    // Empty frame pictures in the theme: the frame's default width of 2 stays.
    StartTheme();
    for (int i = CODDialog::ImgEdge; i < CODDialog::ImgDescCount; ++i)
        CODDialog::ClassDefaults().images[i][0] = 0;
    CODDialog d;
    ASSERT_TRUE(Open(d, kCaptionStyle));
    int w[4];
    d.GetBorderWidths(w);
    EXPECT_EQ(w[0], 2);
    EXPECT_EQ(w[2], 2);
    EXPECT_EQ(d.GetCaptionHeight(), 25);
    EXPECT_EQ(ClientOrigin(d), CPoint(2, 25));
    d.DestroyWindow();
}

TEST_F(DialogTest, BorderOnlyDialogTakesBorderPiecesElseEdgePieces)
{
    // Border pieces: the 8 x 8 static tile on the left, the others empty.
    StartTheme("\n[ODDialog]\nBorderLeftImg=0,140,-1,1,1,1,0\nBorderRightImg=\nBorderTopImg=\nBorderBottomImg=\n"
               "BorderLeftTopImg=\nBorderRightTopImg=\nBorderLeftBottomImg=\nBorderRightBottomImg=\n");
    CODDialog d;
    ASSERT_TRUE(Open(d, WS_POPUP | WS_BORDER));
    EXPECT_EQ(d.CODSkinFrame::GetImage(CODSkinFrame::EdgeLeft).GetCellSize(), CSize(8, 8)) << "its Border piece";
    EXPECT_EQ(d.CODSkinFrame::GetImage(CODSkinFrame::EdgeRight).GetCellSize(), CSize(4, 8)) << "the Edge piece";
    EXPECT_EQ(d.CODSkinFrame::GetImage(CODSkinFrame::CornerTopLeft).GetCellSize(), CSize(8, 8));
    EXPECT_EQ(ClientOrigin(d), CPoint(8, 4));

    CODDialog captioned;
    ASSERT_TRUE(Open(captioned, kCaptionStyle));
    EXPECT_EQ(captioned.CODSkinFrame::GetImage(CODSkinFrame::EdgeLeft).GetCellSize(), CSize(4, 8))
        << "a caption dialog takes the Edge piece";
    captioned.DestroyWindow();
    d.DestroyWindow();
}

// Caption buttons: close, maximise and minimise pictures of 16 x 14 from the theme's four-state
// button strip, placed 4, 2 and 2 pixels from their right neighbours.
class CaptionTest : public DialogTest
{
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        StartTheme("\n[ODDialog]\nTitleExitBtnImg=0,121,-1,4,4,1,0\nTitleMaxBtnImg=0,121,-1,4,4,1,0\n"
                   "TitleMinBtnImg=0,121,-1,4,4,1,0\nTitleZoomBtnImg=0,121,-1,4,4,1,0\n"
                   "TitleExitBtnPos=(4,65535)\nTitleMaxBtnPos=(2,65535)\nTitleMinBtnPos=(2,65535)\n");
        ASSERT_TRUE(Open(d, kCaptionStyle)) << "needs the test display";
        d.SetWindowPos(NULL, 50, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    }
    void TearDown() override
    {
        if (d.m_hWnd)
            d.DestroyWindow();
        DialogTest::TearDown();
    }
    // The screen point at the middle of a caption button (1 close, 2 maximise, 3 minimise), or on the
    // caption left of every button (0).
    LPARAM At(int button)
    {
        const CRect w = WindowRect(d);
        const CRect caption(0, 0, w.Width(), d.GetCaptionHeight());
        const odtitle::Layout l = d.Arrange(caption);
        if (button == 0)
            return MAKELPARAM(w.left + 40, w.top + 10);
        EXPECT_TRUE(l.present[button]) << button;
        const odtitle::Rect& r = l.buttons[button];
        return MAKELPARAM(w.left + (r.left + r.right) / 2, w.top + (r.top + r.bottom) / 2);
    }
    bool ClosePosted()
    {
        MSG m;
        return PeekMessageA(&m, d.m_hWnd, WM_CLOSE, WM_CLOSE, PM_REMOVE) != FALSE;
    }
    CODDialog d;
};

TEST_F(CaptionTest, PressMoveOffAndReleaseOverAnotherButton)
{
    d.SendMessage(WM_NCMOUSEMOVE, HTCAPTION, At(1));
    EXPECT_EQ(d.GetButtonState(0), 1) << "close is hot";
    d.SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, At(1));
    EXPECT_EQ(d.GetButtonState(0), 2) << "close is pressed";
    d.SendMessage(WM_NCMOUSEMOVE, HTCAPTION, At(0));
    EXPECT_EQ(d.GetButtonState(0), 0) << "moved off: normal again";
    d.SendMessage(WM_NCMOUSEMOVE, HTCAPTION, At(2));
    EXPECT_EQ(d.GetButtonState(1), 1);
    d.SendMessage(WM_NCLBUTTONUP, HTCAPTION, At(2));
    EXPECT_FALSE(ClosePosted()) << "released over maximise: close is not triggered";
    EXPECT_TRUE(d.IsZoomed()) << "maximise triggered";
    EXPECT_TRUE(d.IsMaximized());
    EXPECT_EQ(d.GetButtonState(1), 0);

    // Maximised: a press on the caption is swallowed (no drag), the window stays where it is.
    const CRect before = WindowRect(d);
    d.SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, At(0));
    EXPECT_EQ(WindowRect(d), before);
    // Maximise again restores it.
    d.SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, At(2));
    d.SendMessage(WM_NCLBUTTONUP, HTCAPTION, At(2));
    EXPECT_FALSE(d.IsZoomed());
    EXPECT_FALSE(d.IsMaximized());

    // Close posts WM_CLOSE; a client move ends a hot button.
    d.SendMessage(WM_NCLBUTTONUP, HTCAPTION, At(1));
    EXPECT_TRUE(ClosePosted());
    d.SendMessage(WM_NCMOUSEMOVE, HTCAPTION, At(3));
    EXPECT_EQ(d.GetButtonState(2), 1);
    d.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(d.GetButtonState(2), 0);
}

TEST_F(CaptionTest, MinimiseAndRestoreFollowTheCaptionBar)
{
    d.SendMessage(WM_NCLBUTTONUP, HTCAPTION, At(3));
    EXPECT_TRUE(d.IsIconic());
    EXPECT_TRUE(d.IsMinimized());
    d.ShowWindow(SW_RESTORE);
    EXPECT_FALSE(d.IsMinimized()) << "WM_SIZE clears the flags";
    EXPECT_FALSE(d.IsMaximized());
}

TEST_F(DialogTest, ThemeReloadSwitchesToTheImageAndKeepsTheCallersValues)
{
    StartTheme();
    CODDialog d;
    ASSERT_TRUE(Open(d, kCaptionStyle));
    d.SetClientColors(kRed);
    d.SetBorderColor(kBlue);
    CRect client;
    d.GetClientRect(&client);
    Canvas c(client.Width(), client.Height(), kBlack);
    d.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(c.dc()));
    EXPECT_EQ(c.At(10, 10), kRed) << "the gradient in the caller's colours";
    EXPECT_EQ(d.GetClientBkMode(), 0);

    // A new theme: the client background picture, other colours.
    StartTheme("\n[ODDialog]\nClientBkMode=1\nClientStartColor=#0#255#0\nBorderColor=#0#255#0\n");
    const ODBroadcastRecord record = {ODGetThemeMessage(), 0, 0, TRUE};
    CODDialog::BroadcastToDialogs(d.m_hWnd, record);
    EXPECT_EQ(d.GetClientBkMode(), 1);
    EXPECT_FALSE(d.GetClientImage().IsEmpty()) << "\"ClientBkImg\" loaded";
    COLORREF start, end;
    d.GetClientColors(&start, &end);
    EXPECT_EQ(start, kRed) << "the caller's colours stay";
    EXPECT_EQ(d.GetBorderColor(), kBlue);
    c.Fill(kBlack);
    d.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(c.dc()));
    EXPECT_NE(c.At(10, 10), kRed) << "the picture, not the gradient";
    EXPECT_EQ(c.At(3, 10), c.At(3 + 8, 10 + 64)) << "the 8 x 64 picture tiled";

    // A mode the caller set stays over a reload.
    d.SetClientBkMode(0);
    EXPECT_TRUE(d.GetClientImage().IsEmpty());
    d.SendMessage(ODGetThemeMessage());
    EXPECT_EQ(d.GetClientBkMode(), 0);
    d.DestroyWindow();
}

TEST_F(DialogTest, ChildStaticTakesTheDialogsBackground)
{
    StartTheme();
    CODDialog d;
    ASSERT_TRUE(Open(d, kCaptionStyle));
    d.SetClientColors(kGreen);
    CODStatic s;
    ASSERT_TRUE(s.Create("", WS_CHILD | WS_VISIBLE, CRect(10, 10, 70, 40), &d, 100));
    s.SetBkMode(CODStatic::BkParent);
    CRect client;
    d.GetClientRect(&client);
    Canvas dialogPicture(client.Width(), client.Height(), kBlack);
    d.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dialogPicture.dc()));
    CRect r;
    s.GetClientRect(&r);
    Canvas c(r.Width(), r.Height(), kBlack);
    s.PaintTo(CDC::FromHandle(c.dc()));
    EXPECT_EQ(c.At(r.Width() / 2, r.Height() / 2), kGreen) << "the dialog's gradient under the static";
    s.DestroyWindow();
    d.DestroyWindow();
}

TEST_F(DialogTest, CaptionTextIsBounded)
{
    StartTheme();
    CODDialog d;
    ASSERT_TRUE(Open(d, kCaptionStyle, "Mardavel table"));
    EXPECT_EQ(d.GetWindowTextLength(), 14);
    char buffer[16] = "untouched";
    EXPECT_EQ(d.GetWindowText(buffer, 5), 4) << "the count of bytes copied";
    EXPECT_STREQ(buffer, "Mard");
    strcpy(buffer, "untouched");
    EXPECT_EQ(d.GetWindowText(buffer, 0), 0);
    EXPECT_STREQ(buffer, "untouched");
    d.SetWindowText("Other");
    EXPECT_EQ(d.GetWindowText(buffer, sizeof buffer), 5);
    EXPECT_STREQ(buffer, "Other");

    EXPECT_EQ(d.SetUserValue(7), 0);
    EXPECT_EQ(d.GetUserValue(), 7);
    d.DestroyWindow();
}

TEST_F(DialogTest, OpeningAndPaintingLeaksNoGdiObjects)
{
    StartTheme();
    int before = 0;
    for (int i = 0; i < 4; ++i) {
        if (i == 1) {
            before = CountGdiObjects();  // after the first dialog made what is kept for the process
            ASSERT_GT(before, 0) << "the counter sees objects";
        }
        CODDialog d;
        ASSERT_TRUE(Open(d, kCaptionStyle));
        d.ShowWindow(SW_SHOW);
        d.SendMessage(WM_NCPAINT, 1);
        d.RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
        d.DestroyWindow();
    }
    EXPECT_EQ(CountGdiObjects(), before);
}


TEST_F(DialogTest, WindowRegionCutsTheFramesTransparentCorners)
{
    // The generated corner pictures are 8 x 8 quarter circles with magenta (their transparent colour)
    // outside: the outer corner pixel is transparent, the inner one is not.
    StartTheme();
    struct Case
    {
        const char* what;
        DWORD style;
        bool region;
        bool topCornerCut;
    };
    const Case cases[] = {
        {"border only: all four corners", WS_POPUP | WS_BORDER, true, true},
        {"caption: the caption's top corners stay, the bottom ones are cut", kCaptionStyle, true, false},
        {"no border: no region", WS_POPUP, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CODDialog d;
        ASSERT_TRUE(Open(d, c.style));
        d.SetWindowPos(NULL, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
        HRGN r = CreateRectRgn(0, 0, 0, 0);
        const int kind = GetWindowRgn(d.m_hWnd, r);
        EXPECT_EQ(kind != ERROR, c.region);
        if (c.region) {
            EXPECT_EQ(PtInRegion(r, 0, 0) == FALSE, c.topCornerCut);
            EXPECT_FALSE(PtInRegion(r, 0, 199)) << "bottom-left corner";
            EXPECT_FALSE(PtInRegion(r, 299, 199)) << "bottom-right corner";
            EXPECT_TRUE(PtInRegion(r, 7, 192)) << "inside the corner's quarter circle";
            EXPECT_TRUE(PtInRegion(r, 150, 100)) << "the client area";
            EXPECT_TRUE(PtInRegion(r, 150, 199)) << "the bottom edge";
        }
        DeleteObject(r);
        d.DestroyWindow();
    }
}

}  // namespace
