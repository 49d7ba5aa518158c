// The owner-draw static on windows of the test display: background modes
// (gradient, an image mode without an image, the parent's background),
// the frame width moving the text, the font taken from a dialog ancestor or
// the icon-title font, AutoSize, and a link that cannot be opened.
#include "ODTestSupport.h"

#include "ODLibrary.h"
#include "ODStatic.h"

namespace {

using namespace odtest;

class StaticTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateHidden(300, 200)) << "needs the test display";
        saved = CODStatic::ClassDefaults();
        savedOpen = CODStatic::s_shellOpen;
        savedFailed = CODStatic::s_linkFailed;
    }
    void TearDown() override
    {
        CODStatic::ClassDefaults() = saved;
        CODStatic::s_shellOpen = savedOpen;
        CODStatic::s_linkFailed = savedFailed;
    }
    void PlainFont(CODStatic& s)
    {
        LOGFONT lf = {};
        lf.lfHeight = -14;
        lf.lfWeight = FW_NORMAL;
        lf.lfQuality = NONANTIALIASED_QUALITY;
        strcpy(lf.lfFaceName, "Tahoma");
        s.SetFont(lf);
    }
    std::unique_ptr<Canvas> Paint(CODStatic& s)
    {
        CRect r;
        s.GetClientRect(&r);
        std::unique_ptr<Canvas> c(new Canvas(r.Width(), r.Height(), kBlack));
        s.PaintTo(CDC::FromHandle(c->dc()));
        return c;
    }

    CLogWnd parent;
    CODStatic::Defaults saved;
    INT_PTR (*savedOpen)(HWND, LPCSTR) = nullptr;
    void (*savedFailed)(HWND, LPCSTR) = nullptr;
};

TEST_F(StaticTest, BackgroundModes)
{
    CODStatic s;
    ASSERT_TRUE(s.Create("", WS_CHILD, CRect(0, 0, 60, 30), &parent, 1));
    EXPECT_TRUE(GetPropA(s.m_hWnd, "ODStatic") == reinterpret_cast<HANDLE>(4099));
    EXPECT_TRUE(s.GetStyle() & SS_NOTIFY);
    s.SetBkColor(kRed);  // end -1: the same colour
    COLORREF a, b;
    s.GetBkColor(a, b);
    EXPECT_EQ(b, kRed);
    auto c = Paint(s);
    EXPECT_EQ(c->At(30, 15), kRed) << "mode 0: the gradient";
    EXPECT_EQ(c->At(0, 0), 0xFFFFFFu) << "the frame in white, one pixel";

    EXPECT_EQ(s.SetBkMode(CODStatic::BkImage), CODStatic::BkGradient);
    c = Paint(s);
    EXPECT_EQ(c->At(30, 15), kRed) << "mode 1 without an image: still the gradient";

    // Mode 2: what the parent painted under the static (a green picture here).
    s.SetBkMode(CODStatic::BkParent);
    s.SetWindowPos(NULL, 20, 10, 60, 30, SWP_NOZORDER);
    Canvas parentPicture(300, 200, kGreen);
    for (int y = 0; y < 200; ++y)
        parentPicture.Set(50, y, kBlue);  // the static's column 30 lies at parent x 50
    s.CopyParentBackground(CDC::FromHandle(parentPicture.dc()));
    c = Paint(s);
    EXPECT_EQ(c->At(10, 15), kGreen);
    EXPECT_EQ(c->At(30, 15), kBlue) << "the parent's pixels at the static's place";
}

// The leftmost pixel of a colour (-1 when none).
int Leftmost(const Canvas& c, COLORREF colour)
{
    for (int x = 0; x < c.width(); ++x)
        for (int y = 0; y < c.height(); ++y)
            if (c.At(x, y) == colour)
                return x;
    return -1;
}

TEST_F(StaticTest, FrameWidthMovesTheText)
{
    CODStatic::ClassDefaults().borderWidth = 0;
    CODStatic s;
    ASSERT_TRUE(s.Create("HHH", WS_CHILD, CRect(0, 0, 80, 30), &parent, 1));
    PlainFont(s);
    s.SetTextColor(kBlue, CODTxtMov::ColorNormal);
    s.SetBkColor(kWhite);
    auto c = Paint(s);
    const int at0 = Leftmost(*c, kBlue);
    ASSERT_GE(at0, 0);
    CODStatic::ClassDefaults().borderWidth = 3;
    s.SendMessage(ODGetThemeMessage(), 0, 0);
    c = Paint(s);
    EXPECT_EQ(Leftmost(*c, kBlue), at0 + 3);
}

INT_PTR CALLBACK NoDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

TEST_F(StaticTest, FontFromTheDialogAncestorElseTheIconTitleFont)
{
    // A dialog whose template gives it a 20-point font, a plain child inside
    // it, and the static inside that child.
    std::vector<WORD> t(64, 0);
    DLGTEMPLATE* d = reinterpret_cast<DLGTEMPLATE*>(t.data());
    d->style = WS_POPUP | DS_SETFONT;
    d->cx = 100;
    d->cy = 50;
    WORD* w = reinterpret_cast<WORD*>(d + 1);
    *w++ = 0;   // no menu
    *w++ = 0;   // the dialog class
    *w++ = 0;   // no title
    *w++ = 20;  // points
    for (const char* f = "Tahoma"; *f; ++f)
        *w++ = static_cast<WORD>(*f);
    *w++ = 0;
    HWND dialog = CreateDialogIndirectParamA(NULL, d, NULL, NoDialogProc, 0);
    ASSERT_TRUE(dialog != NULL);
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
    ASSERT_TRUE(font != NULL) << "the dialog keeps its font";
    LOGFONT want = {};
    GetObjectA(font, sizeof want, &want);
    CWnd* dialogWnd = CWnd::FromHandle(dialog);
    CLogWnd middle;
    ASSERT_TRUE(middle.CreateChild(dialogWnd, 5));
    CODStatic inDialog;
    ASSERT_TRUE(inDialog.Create("x", WS_CHILD, CRect(0, 0, 20, 20), &middle, 6));
    LOGFONT got;
    inDialog.GetFont(got);
    EXPECT_EQ(got.lfHeight, want.lfHeight) << "the dialog's font";
    EXPECT_STREQ(got.lfFaceName, want.lfFaceName);

    CODStatic plain;
    ASSERT_TRUE(plain.Create("x", WS_CHILD, CRect(0, 0, 20, 20), &parent, 7));
    LOGFONT iconTitle;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof iconTitle, &iconTitle, 0));
    plain.GetFont(got);
    EXPECT_EQ(got.lfHeight, iconTitle.lfHeight);
    EXPECT_STREQ(got.lfFaceName, iconTitle.lfFaceName);
    inDialog.DestroyWindow();
    middle.DestroyWindow();
    DestroyWindow(dialog);
}

TEST_F(StaticTest, AutoSizeToTheText)
{
    CODStatic s;
    ASSERT_TRUE(s.Create("Hello world", WS_CHILD, CRect(5, 5, 20, 20), &parent, 1));
    PlainFont(s);
    RECT margins = {2, 1, 4, 3};
    s.SetTextMargins(margins);
    CSize size;
    s.AutoSize(size, 1);
    CClientDC dc(&s);
    SIZE text;
    s.GetTxtMov().Measure(&text, &dc);
    EXPECT_EQ(size.cx, 1 + 1 + 2 + 4 + text.cx);
    EXPECT_EQ(size.cy, 1 + 1 + 1 + 3 + text.cy);
    CRect w;
    s.GetWindowRect(&w);
    parent.ScreenToClient(&w);
    EXPECT_EQ(w.TopLeft(), CPoint(5, 5)) << "the top-left corner stays";
    CSize same;
    s.AutoSize(same, 0);
    EXPECT_EQ(same, size) << "mode 0 without an image leaves the size";
}

std::vector<std::string> g_opened, g_failures;
INT_PTR OpenFails(HWND, LPCSTR target)
{
    g_opened.push_back(target);
    return 2;  // ERROR_FILE_NOT_FOUND
}
INT_PTR OpenWorks(HWND, LPCSTR target)
{
    g_opened.push_back(target);
    return 42;
}
void RecordFailure(HWND, LPCSTR message) { g_failures.push_back(message); }

TEST_F(StaticTest, LinkThatCannotBeOpenedTellsTheUser)
{
    g_opened.clear();
    g_failures.clear();
    CODStatic::s_linkFailed = &RecordFailure;
    CODStatic s;
    ASSERT_TRUE(s.Create("", WS_CHILD, CRect(0, 0, 200, 30), &parent, 1));
    PlainFont(s);
    s.SetText("<TR><TD href=bad://place>LinkLinkLink</TD></TR>");
    s.GetTxtMov().SetArea(1, CPoint(6, 6));
    Paint(s);  // the paint finds the cell under the mouse
    CString link;
    ASSERT_TRUE(s.GetTxtMov().GetFocusedLink(link, 1));
    CODStatic::s_shellOpen = &OpenFails;
    s.SendMessage(CODStatic::MsgOpenLink, 0, 0);
    ASSERT_EQ(g_opened.size(), 1u);
    EXPECT_EQ(g_opened[0], "bad://place");
    ASSERT_EQ(g_failures.size(), 1u);
    EXPECT_EQ(g_failures[0], "Unable to execute file bad://place\n");
    CODStatic::s_shellOpen = &OpenWorks;
    s.SendMessage(CODStatic::MsgOpenLink, 0, 0);
    EXPECT_EQ(g_opened.size(), 2u);
    EXPECT_EQ(g_failures.size(), 1u) << "an opened link tells nothing";
}

}  // namespace
