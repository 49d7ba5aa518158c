// The owner-draw button on windows of the test display: which kind a
// button style makes, the theme reload with a caller's and the system's
// colours, the setters' error numbers, ShiftColor's clamping, the caption's
// press offset by pixel, FitToImage and its region, BM_SETCHECK, radio
// groups, the drop-down menu's command, the button's own drop-down menu with
// its measuring and mnemonics, faces from picture files and typed
// resources, and web addresses and sounds through the seams.
#include "ODTestSupport.h"

#include <mmsystem.h>

#include "ODButton.h"
#include "ODDrawing.h"
#include "ODLibrary.h"

namespace {

using namespace odtest;

class ButtonTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateHidden(400, 300)) << "needs the test display";
        saved = CODButton::ClassDefaults();
        CODButton::ClassDefaults().sizeToContent = 0;  // no theme pictures in these tests
        savedPlay = CODButton::s_playSound;
        savedOpen = CODButton::s_openUrl;
        savedTrack = CODButton::s_trackMenu;
    }
    void TearDown() override
    {
        CODButton::ClassDefaults() = saved;
        CODButton::s_playSound = savedPlay;
        CODButton::s_openUrl = savedOpen;
        CODButton::s_trackMenu = savedTrack;
    }
    CODButton* Make(DWORD style, UINT id, const char* text = "OK", CRect r = CRect(10, 10, 90, 40))
    {
        buttons.emplace_back(new CODButton);
        EXPECT_TRUE(buttons.back()->Create(text, WS_CHILD | WS_VISIBLE | style, r, &parent, id));
        return buttons.back().get();
    }

    CLogWnd parent;
    std::vector<std::unique_ptr<CODButton>> buttons;
    CODButton::Defaults saved;
    BOOL (*savedPlay)(LPCSTR, HMODULE, DWORD) = nullptr;
    BOOL (*savedOpen)(HWND, LPCSTR) = nullptr;
    UINT (*savedTrack)(HMENU, UINT, int, int, HWND) = nullptr;
};

TEST_F(ButtonTest, KindTable)
{
    CODButton::ClassDefaults().colours[CODButton::ColCheckFgOut] = kRed;
    CODButton::ClassDefaults().colours[CODButton::ColRadioFgOut] = kBlue;
    struct Case
    {
        const char* what;
        DWORD style;
        bool check, radio, isDefault;
        CPoint press, text;
        bool border, centred;
        COLORREF captionOut;
    };
    const COLORREF pushText = saved.colours[CODButton::ColFgOut];
    const Case cases[] = {
        {"push button", BS_PUSHBUTTON, false, false, false, {1, 1}, {0, 0}, false, true, pushText},
        {"default push button", BS_DEFPUSHBUTTON, false, false, true, {1, 1}, {0, 0}, false, true, pushText},
        {"check box", BS_CHECKBOX, true, false, false, {0, 0}, {2, 0}, false, false, kRed},
        {"auto check box", BS_AUTOCHECKBOX, true, false, false, {0, 0}, {2, 0}, false, false, kRed},
        {"three-state check box", BS_AUTO3STATE, true, false, false, {0, 0}, {2, 0}, false, false, kRed},
        {"radio button", BS_RADIOBUTTON, false, true, false, {0, 0}, {2, 0}, false, false, kBlue},
        {"auto radio button", BS_AUTORADIOBUTTON, false, true, false, {0, 0}, {2, 0}, false, false, kBlue},
        {"a group box is no check box", BS_GROUPBOX, false, false, false, {1, 1}, {0, 0}, false, true, pushText},
        {"an owner-draw button is no check box", BS_OWNERDRAW, false, false, false, {1, 1}, {0, 0}, false, true,
         pushText},
    };
    UINT id = 100;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CODButton* b = Make(c.style, id++);
        EXPECT_EQ(b->IsCheckBox(), c.check);
        EXPECT_EQ(b->IsRadio(), c.radio);
        EXPECT_EQ(b->IsDefaultButton(), c.isDefault);
        EXPECT_EQ(b->GetPressOffset(), c.press);
        EXPECT_EQ(b->GetTextOffset(), c.text);
        EXPECT_EQ(b->HasBorder(), c.border);
        EXPECT_EQ(b->GetTextCentered(), c.centred);
        EXPECT_EQ(b->IsTransparent(), c.check || c.radio);
        COLORREF caption = 0;
        b->GetColor(CODButton::ColFgOut, &caption);
        EXPECT_EQ(caption, c.captionOut);
        EXPECT_EQ(b->GetStyle() & 0xF, static_cast<DWORD>(BS_OWNERDRAW));
        EXPECT_EQ(b->GetButtonType(), c.style & 0x1F);
        EXPECT_TRUE(GetPropA(b->m_hWnd, "ODButton") == reinterpret_cast<HANDLE>(4101));
    }
}

TEST_F(ButtonTest, ThemeReloadAndSystemColours)
{
    CODButton* push = Make(BS_PUSHBUTTON, 1);
    CODButton* radio = Make(BS_AUTORADIOBUTTON, 2);
    push->SetColor(CODButton::ColBkOut, kMagenta);
    CODButton::ClassDefaults().colours[CODButton::ColBkOut] = kCyan;
    CODButton::ClassDefaults().colours[CODButton::ColFgIn] = kGreen;
    CODButton::ClassDefaults().colours[CODButton::ColRadioFgIn] = kYellow;
    // A theme change re-reads the section (no theme is open: the values stay).
    push->SendMessage(ODGetThemeMessage(), 0, 0);
    radio->SendMessage(ODGetThemeMessage(), 0, 0);
    COLORREF c = 0;
    push->GetColor(CODButton::ColBkOut, &c);
    EXPECT_EQ(c, kMagenta) << "set by the program";
    push->GetColor(CODButton::ColFgIn, &c);
    EXPECT_EQ(c, kGreen) << "follows the theme";
    radio->GetColor(CODButton::ColFgIn, &c);
    EXPECT_EQ(c, kYellow) << "a radio button keeps its radio caption colours";
    // A system colour change clears every explicit flag.
    push->SendMessage(WM_SYSCOLORCHANGE, 0, 0);
    push->GetColor(CODButton::ColBkOut, &c);
    EXPECT_EQ(c, kCyan);
    EXPECT_FALSE(push->IsColorSet(CODButton::ColBkOut));
}

TEST_F(ButtonTest, SetterErrorNumbers)
{
    CODButton* b = Make(BS_PUSHBUTTON, 1);
    struct Case
    {
        const char* what;
        DWORD result, expected;
    };
    const Case cases[] = {
        {"colour index 14", b->SetColor(14, kRed), 0},
        {"colour index 15", b->SetColor(15, kRed), 3},
        {"colour index -1", b->SetColor(-1, kRed), 3},
        {"alignment 3", b->SetImageAlign(3), 0},
        {"alignment 4", b->SetImageAlign(4), 4},
        {"shift 255", b->ShiftColor(0, 255), 0},
        {"shift 256", b->ShiftColor(0, 256), 5},
        {"shift -256", b->ShiftColor(0, -256), 5},
        {"shift of index 15", b->ShiftColor(15, 1), 3},
        {"pressed style 0", b->SetPressedStyle(0), 0},
        {"pressed style 1", b->SetPressedStyle(1), 0},
        {"pressed style 2", b->SetPressedStyle(2), 6},
        {"no bitmap", b->SetBitmaps(FALSE, NULL, CLR_NONE, NULL, CLR_NONE), 1},
        {"a missing cursor", b->SetHoverCursor(54321), 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.result, c.expected) << c.what;
    EXPECT_EQ(b->GetPressOffset(), CPoint(0, 2)) << "pressed style 1";
    EXPECT_EQ(b->GetImageAlign(), 3);
}

TEST_F(ButtonTest, ShiftColorKeepsEveryChannelInRange)
{
    CODButton* b = Make(BS_PUSHBUTTON, 1);
    struct Case
    {
        COLORREF from;
        int shift;
        COLORREF to;
    };
    const Case cases[] = {
        {RGB(100, 100, 100), 20, RGB(120, 120, 120)},
        {RGB(250, 10, 100), 10, RGB(255, 15, 105)},  // reduced to +5
        {RGB(250, 10, 100), -20, RGB(240, 0, 90)},   // reduced to -10
        {RGB(0, 0, 0), -5, RGB(0, 0, 0)},
    };
    for (const auto& c : cases) {
        b->SetColor(CODButton::ColBkIn, c.from);
        b->ResetColors(FALSE, FALSE);
        b->SetColor(CODButton::ColBkIn, c.from);
        EXPECT_EQ(b->ShiftColor(CODButton::ColBkIn, c.shift), 0u);
        COLORREF got = 0;
        b->GetColor(CODButton::ColBkIn, &got);
        EXPECT_EQ(got, c.to) << c.shift;
        EXPECT_TRUE(b->IsColorSet(CODButton::ColBkIn));
    }
}

// The box of the caption's pixels when the item is drawn in a state.
CRect CaptionBox(CODButton& b, UINT state)
{
    CRect client;
    b.GetClientRect(&client);
    Canvas c(client.Width(), client.Height(), kBlack);
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_BUTTON;
    dis.hwndItem = b.m_hWnd;
    dis.hDC = c.dc();
    dis.rcItem = client;
    dis.itemState = state;
    b.DrawItem(&dis);
    CRect box(0, 0, 0, 0);
    bool any = false;
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x)
            if (c.At(x, y) == kRed) {
                if (!any)
                    box = CRect(x, y, x + 1, y + 1);
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
                any = true;
            }
    return box;
}

TEST_F(ButtonTest, OnlyPushButtonsMoveTheirCaptionWhenPressed)
{
    LOGFONT lf = {};
    lf.lfHeight = -14;
    lf.lfWeight = FW_BOLD;
    lf.lfQuality = NONANTIALIASED_QUALITY;
    strcpy(lf.lfFaceName, "Tahoma");
    for (DWORD style : {static_cast<DWORD>(BS_PUSHBUTTON), static_cast<DWORD>(BS_AUTOCHECKBOX)}) {
        CODButton* b = Make(style, 1, "Go");
        b->SetFont(lf);
        for (int i : {CODButton::ColFgIn, CODButton::ColFgOut, CODButton::ColFgFocus})
            b->SetColor(i, kRed);
        for (int i : {CODButton::ColBkIn, CODButton::ColBkOut, CODButton::ColBkFocus})
            b->SetColor(i, kWhite);
        const CRect up = CaptionBox(*b, 0);
        const CRect down = CaptionBox(*b, ODS_SELECTED);
        ASSERT_FALSE(up.IsRectEmpty());
        const CPoint moved = down.TopLeft() - up.TopLeft();
        if (style == BS_PUSHBUTTON)
            EXPECT_EQ(moved, CPoint(1, 1)) << "push button";
        else
            EXPECT_EQ(moved, CPoint(0, 0)) << "check box";
    }
}

TEST_F(ButtonTest, FitToImageTakesItsSizeAndCutsBlackPixels)
{
    CODButton* b = Make(BS_PUSHBUTTON, 1, "");
    // 30 x 12, a black column at x = 0 and a black pixel at (15, 6).
    HBITMAP in = MakeBitmap(30, 12, [](int x, int y) { return (x == 0 || (x == 15 && y == 6)) ? kBlack : kRed; });
    ASSERT_EQ(b->SetBitmaps(TRUE, in, CLR_NONE, NULL, CLR_NONE), 0u);
    EXPECT_EQ(b->FitToImage(FALSE), 0u);
    CRect w;
    b->GetWindowRect(&w);
    EXPECT_EQ(w.Size(), CSize(30, 12));
    EXPECT_EQ(b->GetImageMargin(), CPoint(0, 0));
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(b->m_hWnd, rgn), ERROR) << "no region without the irregular flag";
    b->FitToImage(TRUE);
    ASSERT_NE(GetWindowRgn(b->m_hWnd, rgn), ERROR);
    EXPECT_FALSE(PtInRegion(rgn, 0, 5)) << "black column";
    EXPECT_FALSE(PtInRegion(rgn, 15, 6)) << "black pixel";
    EXPECT_TRUE(PtInRegion(rgn, 14, 6));
    EXPECT_TRUE(PtInRegion(rgn, 29, 11));
    DeleteObject(rgn);
}

TEST_F(ButtonTest, CheckMessagesAndRadioGroups)
{
    CODButton* check = Make(BS_AUTOCHECKBOX, 10);
    check->SendMessage(BM_SETCHECK, BST_INDETERMINATE, 0);
    EXPECT_EQ(check->SendMessage(BM_GETCHECK, 0, 0), 1) << "2 counts as checked";
    check->SendMessage(BM_SETCHECK, 7, 0);
    EXPECT_EQ(check->GetCheck(), 0);
    // A click toggles a check box.
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(10, BN_CLICKED), reinterpret_cast<LPARAM>(check->m_hWnd));
    EXPECT_EQ(check->GetCheck(), 1);

    CODButton* r1 = Make(BS_AUTORADIOBUTTON | WS_GROUP, 21, "a", CRect(10, 50, 90, 70));
    CODButton* r2 = Make(BS_AUTORADIOBUTTON, 22, "b", CRect(10, 80, 90, 100));
    CODButton* r3 = Make(BS_AUTORADIOBUTTON, 23, "c", CRect(10, 110, 90, 130));
    CODButton* other = Make(BS_AUTORADIOBUTTON | WS_GROUP, 24, "d", CRect(10, 140, 90, 160));
    r1->SetCheck(1);
    other->SetCheck(1);
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(22, BN_CLICKED), reinterpret_cast<LPARAM>(r2->m_hWnd));
    EXPECT_EQ(r1->GetCheck(), 0);
    EXPECT_EQ(r2->GetCheck(), 1);
    EXPECT_EQ(r3->GetCheck(), 0);
    EXPECT_EQ(other->GetCheck(), 1) << "another group is left alone";
}

std::vector<std::string> g_urls;
BOOL RecordUrl(HWND, LPCSTR url)
{
    g_urls.push_back(url);
    return TRUE;
}
struct SoundCall
{
    std::string name;
    DWORD flags;
};
std::vector<SoundCall> g_sounds;
BOOL RecordSound(LPCSTR name, HMODULE, DWORD flags)
{
    g_sounds.push_back(SoundCall{name, flags});
    return TRUE;
}
HMENU g_tracked = NULL;
UINT PickSecond(HMENU menu, UINT flags, int, int, HWND)
{
    g_tracked = menu;
    EXPECT_EQ(flags, static_cast<UINT>(TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY));
    return GetMenuItemID(menu, 1);
}

TEST_F(ButtonTest, DropDownMenuPostsTheChosenCommand)
{
    CODButton::s_trackMenu = &PickSecond;
    CODButton* b = Make(BS_PUSHBUTTON, 30);
    HMENU bar = CreateMenu(), sub = CreatePopupMenu();
    AppendMenuA(sub, MF_STRING, 501, "one");
    AppendMenuA(sub, MF_STRING, 502, "two");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "menu");
    CLogWnd owner;
    ASSERT_TRUE(owner.CreateHidden());
    owner.noteMessage = WM_COMMAND;
    const UINT callbackMessage = WM_USER + 77;
    b->SetMenu(bar, owner.m_hWnd);
    b->SetMenuCallback(owner.m_hWnd, callbackMessage, 9);
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(30, BN_CLICKED), reinterpret_cast<LPARAM>(b->m_hWnd));
    EXPECT_EQ(g_tracked, sub) << "the first sub-menu is tracked";
    ASSERT_TRUE(WaitUntil([&] { return !owner.noted.empty(); }));
    DestroyMenu(bar);

    // A menu without a sub-menu drops nothing.
    g_tracked = NULL;
    HMENU flat = CreateMenu();
    AppendMenuA(flat, MF_STRING, 600, "flat");
    b->SetMenu(flat, owner.m_hWnd);
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(30, BN_CLICKED), reinterpret_cast<LPARAM>(b->m_hWnd));
    EXPECT_EQ(g_tracked, nullptr);
    DestroyMenu(flat);
}

TEST_F(ButtonTest, WebAddressesAndSounds)
{
    g_urls.clear();
    g_sounds.clear();
    CODButton::s_openUrl = &RecordUrl;
    CODButton::s_playSound = &RecordSound;
    CODButton* b = Make(BS_PUSHBUTTON, 40);
    struct Case
    {
        const char* url;
        bool opened;
    };
    const Case cases[] = {
        {"http://example.com/a", true},
        {"HTTPS://example.com/b", true},
        {"file:///c:/windows/system32/calc.exe", false},
        {"c:\\windows\\notepad.exe", false},
        {"javascript:alert(1)", false},
    };
    for (const auto& c : cases) {
        g_urls.clear();
        b->SetURL(c.url);
        parent.SendMessage(WM_COMMAND, MAKEWPARAM(40, BN_CLICKED), reinterpret_cast<LPARAM>(b->m_hWnd));
        EXPECT_EQ(g_urls.size(), c.opened ? 1u : 0u) << c.url;
    }
    // A long address is kept to 259 bytes.
    const std::string longUrl = "http://" + std::string(400, 'x');
    b->SetURL(longUrl.c_str());
    EXPECT_EQ(strlen(b->GetURL()), 259u);

    const std::string longName(400, 's');
    b->SetSound(longName.c_str(), NULL, 1, TRUE);
    b->SetSound("hover.wav", NULL, 0, FALSE);
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(40, BN_CLICKED), reinterpret_cast<LPARAM>(b->m_hWnd));
    ASSERT_EQ(g_sounds.size(), 1u);
    EXPECT_EQ(g_sounds[0].name.size(), 259u) << "the name is bounded";
    EXPECT_EQ(g_sounds[0].flags, static_cast<DWORD>(SND_FILENAME | SND_NODEFAULT | SND_NOWAIT | SND_ASYNC));
    b->SetSound(NULL, NULL, 1, FALSE);
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(40, BN_CLICKED), reinterpret_cast<LPARAM>(b->m_hWnd));
    EXPECT_EQ(g_sounds.size(), 1u) << "a cleared sound plays nothing";
}


TEST_F(ButtonTest, OwnDropDownMenuMeasuresAndAnswersMnemonics)
{
    CODButton::s_trackMenu = &PickSecond;
    CODButton* b = Make(BS_PUSHBUTTON, 31);
    OrnMenu* drop = b->GetMenu().AppendPopupW(L"menu");
    ASSERT_NE(drop, nullptr);
    ASSERT_TRUE(drop->AppendItemW(L"&Deal", 0, 701));
    ASSERT_TRUE(drop->AppendItemW(L"&Pass", 0, 702));
    CLogWnd owner;
    ASSERT_TRUE(owner.CreateHidden());
    owner.noteMessage = WM_COMMAND;
    b->SetMenuOwner(owner.m_hWnd);
    g_tracked = NULL;
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(31, BN_CLICKED), reinterpret_cast<LPARAM>(b->m_hWnd));
    EXPECT_EQ(g_tracked, drop->m_hMenu) << "the own menu's first sub-menu drops down";
    ASSERT_TRUE(WaitUntil([&] { return !owner.noted.empty(); }));

    // The tracked menu's owner is the button: its items are measured and its mnemonics found there.
    MEASUREITEMSTRUCT mis = {};
    mis.CtlType = ODT_MENU;
    mis.itemID = 701;
    mis.itemData = reinterpret_cast<ULONG_PTR>(drop->GetEntry(0));
    EXPECT_TRUE(b->SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis)));
    EXPECT_GE(static_cast<int>(mis.itemHeight), GetSystemMetrics(SM_CYMENU));
    EXPECT_GT(mis.itemWidth, 2u * OrnMenu::kImageWidth);
    EXPECT_EQ(b->SendMessage(WM_MENUCHAR, MAKEWPARAM('p', MF_POPUP), reinterpret_cast<LPARAM>(drop->m_hMenu)),
              MAKELRESULT(1, MNC_EXECUTE));
    EXPECT_EQ(b->SendMessage(WM_MENUCHAR, MAKEWPARAM('q', MF_POPUP), reinterpret_cast<LPARAM>(drop->m_hMenu)), 0);
}

// A 24-bit BMP file of one colour.
std::vector<unsigned char> BmpFile(int w, int h, COLORREF c)
{
    const int stride = (w * 3 + 3) & ~3;
    std::vector<unsigned char> f(54 + static_cast<size_t>(stride * h), 0);
    auto put32 = [&](size_t at, uint32_t v) { memcpy(&f[at], &v, 4); };
    f[0] = 'B';
    f[1] = 'M';
    put32(2, static_cast<uint32_t>(f.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(w));
    put32(22, static_cast<uint32_t>(h));
    f[26] = 1;
    f[28] = 24;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            unsigned char* p = &f[54 + static_cast<size_t>(y * stride + x * 3)];
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
        }
    return f;
}

TEST_F(ButtonTest, BitmapsFromFilesAndTypedResources)
{
    CODButton* b = Make(BS_PUSHBUTTON, 50, "");
    TempDir dir;
    ASSERT_TRUE(WriteFileBytes(dir.File("in.bmp"), BmpFile(30, 20, kRed)));
    ASSERT_TRUE(WriteFileBytes(dir.File("out.bmp"), BmpFile(30, 20, kGreen)));
    struct Case
    {
        const char* what;
        std::string in, out;
        DWORD result;
        COLORREF inColour, outColour;
    };
    const Case cases[] = {
        {"both files", dir.File("in.bmp"), dir.File("out.bmp"), 0, kRed, kGreen},
        {"no Out file: the In face alone", dir.File("in.bmp"), "", 0, kRed, CLR_NONE},
        {"a missing In file", dir.File("none.bmp"), dir.File("out.bmp"), 1, CLR_NONE, CLR_NONE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(b->SetBitmaps(c.in.c_str(), CLR_NONE, c.out.c_str(), CLR_NONE), c.result);
        for (int face = 0; face < 2; ++face) {
            const COLORREF expected = face == 0 ? c.inColour : c.outColour;
            EXPECT_EQ(b->GetImage(face).HasPixels() != FALSE, expected != CLR_NONE) << face;
            if (expected != CLR_NONE) {
                EXPECT_EQ(b->GetImage(face).GetPixel(3, 3), expected) << face;
            }
        }
    }

    // The typed resource 101 of the program (the skin module when none is set): a blue 4 x 2 picture.
    EXPECT_EQ(b->SetBitmaps(101, CLR_NONE, 0, CLR_NONE, NULL, OD_RES_BITMAP, 0), 0u);
    ASSERT_TRUE(b->GetImage(0).HasPixels());
    EXPECT_EQ(b->GetImage(0).GetWidth(), 4);
    EXPECT_EQ(b->GetImage(0).GetPixel(1, 1), kBlue);
    EXPECT_EQ(b->SetBitmaps(101, CLR_NONE, 0, CLR_NONE, "ODRES_BITMAP", 3, 0), 0u) << "a type name wins over the index";
    EXPECT_EQ(b->SetBitmaps(102, CLR_NONE, 0, CLR_NONE, NULL, OD_RES_BITMAP, 0), 1u) << "no such resource";
    EXPECT_FALSE(b->GetImage(0).HasPixels()) << "a failure frees the faces";
    EXPECT_EQ(b->SetBitmaps(101, CLR_NONE, 0, CLR_NONE, NULL, 9, 0), 1u) << "no type of that index";
}

}  // namespace
