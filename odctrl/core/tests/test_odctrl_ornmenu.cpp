// The owner-draw menu with images under Wine (version class 1, so the
// classic look unless a test asks for the flat one): loading a menu bar
// template (plain top level, owner-drawn levels below, accelerator parts
// aligned), item sizes, the WM_MENUCHAR answer, the shared image list
// replaced in place, items drawn by pixel in both looks, removal by text at
// the ends of a level, the GDI objects a menu gives back, images taken from
// a toolbar resource and check-mark bitmaps, and inserts by position and by
// command.
#include "ODTestSupport.h"

#include "OrnMenu.h"

namespace {

using namespace odtest;

const int kW = OrnMenu::kImageWidth, kH = OrnMenu::kImageHeight;

// An image list of 16 x 15 one-colour images.
void MakeList(CImageList& list, std::initializer_list<COLORREF> colours)
{
    ASSERT_TRUE(list.Create(kW, kH, ILC_COLOR32 | ILC_MASK, 0, 1));
    for (COLORREF c : colours) {
        HBITMAP b = MakeBitmap(kW, kH, [c](int, int) { return c; });
        ImageList_Add(list.GetSafeHandle(), b, NULL);
        DeleteObject(b);
    }
}

int MenuTextWidth(const std::wstring& text)
{
    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = sizeof ncm;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
    HFONT font = CreateFontIndirectA(&ncm.lfMenuFont);
    HDC dc = CreateCompatibleDC(NULL);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE s = {};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &s);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(font);
    return s.cx;
}

class OrnMenuTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        saved = OrnMenu::Styles();
        OrnMenu::SetSystemForTesting(1, 0);  // a newer NT without the XP theme: not themed
    }
    void TearDown() override
    {
        OrnMenu::Styles() = saved;
        OrnMenu::SetSystemForTesting(-1, -1);
    }
    // Draws a menu level's item into a canvas of 120 x 22.
    std::unique_ptr<Canvas> Draw(OrnMenu& menu, int position, UINT state)
    {
        std::unique_ptr<Canvas> c(new Canvas(120, 22, kBlack));
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_MENU;
        dis.itemID = static_cast<UINT>(menu.GetEntry(position)->command);
        dis.itemState = state;
        dis.hwndItem = reinterpret_cast<HWND>(menu.m_hMenu);
        dis.hDC = c->dc();
        dis.rcItem = CRect(0, 0, 120, 22);
        dis.itemData = reinterpret_cast<ULONG_PTR>(menu.GetEntry(position));
        menu.DrawItem(&dis);
        return c;
    }
    ornmenu::StyleSettings saved;
};

TEST_F(OrnMenuTest, LoadsATemplateWithAPlainTopLevel)
{
    OrnMenu bar;
    ASSERT_TRUE(bar.LoadMenu(300));
    EXPECT_TRUE(bar.IsLoadedFromTemplate());
    ASSERT_EQ(GetMenuItemCount(bar.m_hMenu), 2);
    struct Top
    {
        const char* caption;
        bool popup;
    };
    const Top tops[] = {{"&File", true}, {"&Help", false}};
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(tops[i].caption);
        MENUITEMINFOA mii = {};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_FTYPE | MIIM_SUBMENU;
        ASSERT_TRUE(GetMenuItemInfoA(bar.m_hMenu, i, TRUE, &mii));
        EXPECT_FALSE(mii.fType & MFT_OWNERDRAW) << "the menu bar is not owner-drawn";
        EXPECT_EQ(mii.hSubMenu != NULL, tops[i].popup);
        char caption[64] = "";
        GetMenuStringA(bar.m_hMenu, i, caption, sizeof caption, MF_BYPOSITION);
        EXPECT_STREQ(caption, tops[i].caption);
    }
    EXPECT_EQ(GetMenuItemID(bar.m_hMenu, 1), 601u);

    OrnMenu* file = bar.GetSubMenuByText(L"&File");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(file->GetEntryCount(), 5);
    ASSERT_EQ(GetMenuItemCount(file->m_hMenu), 5);
    for (int i = 0; i < 5; ++i) {
        MENUITEMINFOA mii = {};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_FTYPE | MIIM_DATA;
        ASSERT_TRUE(GetMenuItemInfoA(file->m_hMenu, i, TRUE, &mii));
        EXPECT_TRUE(mii.fType & MFT_OWNERDRAW) << i;
        EXPECT_EQ(mii.dwItemData, reinterpret_cast<ULONG_PTR>(file->GetEntry(i))) << i;
    }
    EXPECT_TRUE(file->GetEntry(2)->flags & MF_SEPARATOR);
    int position = -1;
    OrnMenu* recent = bar.FindMenuByCommand(512, &position);
    ASSERT_NE(recent, nullptr);
    EXPECT_EQ(recent, file->GetSubMenuByText(L"&Recent"));
    EXPECT_EQ(position, 1);
    EXPECT_EQ(file->GetEntry(4)->text, L"E&xit") << "the level went on after the nested pop-up";

    // The parts before the tab are padded to one width: at least the widest with a space.
    std::wstring open, save, right;
    ornmenu::SplitAtTabs(file->GetEntry(0)->text, &open, &right);
    EXPECT_EQ(right, L"Ctrl+O");
    ornmenu::SplitAtTabs(file->GetEntry(1)->text, &save, &right);
    EXPECT_EQ(open.substr(0, 6), L"&Open ");
    const int target = MenuTextWidth(L"Save &As ");
    EXPECT_GE(MenuTextWidth(open), target);
    EXPECT_GE(MenuTextWidth(save), target);
    EXPECT_LT(MenuTextWidth(open.substr(0, open.size() - 1)), target) << "no more spaces than needed";

    // A later append keeps the top level plain.
    ASSERT_TRUE(bar.AppendItemW(L"&Tools", 0, 700));
    MENUITEMINFOA mii = {};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE;
    ASSERT_TRUE(GetMenuItemInfoA(bar.m_hMenu, 2, TRUE, &mii));
    EXPECT_FALSE(mii.fType & MFT_OWNERDRAW);

    // A missing template fails and leaves the menu as it was.
    EXPECT_FALSE(bar.LoadMenu(399));
    EXPECT_EQ(GetMenuItemCount(bar.m_hMenu), 3);
}

TEST_F(OrnMenuTest, ItemSizes)
{
    OrnMenu menu;
    ASSERT_TRUE(menu.AppendItemW(L"Deal again", 0, 10));
    ASSERT_TRUE(menu.AppendItemW(L"", 0, 0));
    EXPECT_TRUE(menu.GetEntry(1)->flags & MF_SEPARATOR) << "command id 0 is a separator";
    const int cy = GetSystemMetrics(SM_CYMENU);
    const int text = MenuTextWidth(L"Deal again");
    struct Case
    {
        const char* what;
        int style;
        int position;
        int width, height;
    };
    const Case cases[] = {
        {"classic item: text and two image widths", 0, 0, text + 2 * kW + 1, std::max(cy, 4 + kH)},
        {"classic separator: half the menu bar or half the image", 0, 1, 0, std::max(cy / 2, (kH + 4) / 2)},
        {"flat item: column, text and gap", 1, 0, kW + text + 7 + 8, std::max(cy, 7 + kH)},
        {"flat separator", 1, 1, 0, std::max(cy / 2, (kH + 7) / 2)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OrnMenu::Styles().otherStyle = c.style;
        MEASUREITEMSTRUCT mis = {};
        mis.CtlType = ODT_MENU;
        mis.itemData = reinterpret_cast<ULONG_PTR>(menu.GetEntry(c.position));
        menu.MeasureItem(&mis);
        EXPECT_EQ(static_cast<int>(mis.itemWidth), c.width);
        EXPECT_EQ(static_cast<int>(mis.itemHeight), c.height);
    }
}

TEST_F(OrnMenuTest, MenuCharFindsTheMnemonicAndConvertsForeignItems)
{
    OrnMenu bar;
    ASSERT_TRUE(bar.LoadMenu(300));
    OrnMenu* file = bar.GetSubMenuByText(L"&File");
    ASSERT_NE(file, nullptr);
    struct Case
    {
        const char* what;
        UINT c, flags;
        OrnMenu* menu;
        LRESULT expected;
    };
    const Case cases[] = {
        {"Save &As by its lower-case key", 'a', MF_POPUP, file, MAKELRESULT(1, MNC_EXECUTE)},
        {"E&xit by its upper-case key", 'X', MF_POPUP, file, MAKELRESULT(4, MNC_EXECUTE)},
        {"no such mnemonic", 'q', MF_POPUP, file, 0},
        {"not a pop-up", 'a', 0, file, 0},
        {"no menu", 'a', MF_POPUP, nullptr, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(OrnMenu::FindMnemonic(c.c, c.flags, c.menu), c.expected) << c.what;

    // An item put in by the system directly is converted before the search.
    ASSERT_TRUE(AppendMenuA(file->m_hMenu, MF_STRING, 520, "&Zoom"));
    EXPECT_EQ(OrnMenu::FindMnemonic('z', MF_POPUP, file), MAKELRESULT(5, MNC_EXECUTE));
    EXPECT_EQ(file->GetEntryCount(), 6);
    MENUITEMINFOA mii = {};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE | MIIM_DATA;
    ASSERT_TRUE(GetMenuItemInfoA(file->m_hMenu, 5, TRUE, &mii));
    EXPECT_TRUE(mii.fType & MFT_OWNERDRAW);
    EXPECT_EQ(mii.dwItemData, reinterpret_cast<ULONG_PTR>(file->GetEntry(5)));
    EXPECT_EQ(file->GetEntry(0)->text.substr(0, 5), L"&Open") << "the existing entries are kept";
}

TEST_F(OrnMenuTest, SharedImageReplacedInPlace)
{
    CImageList colours;
    MakeList(colours, {kRed, kGreen, kBlue});
    const int first = OrnMenu::AddIconToImageList(&colours, 0, 9001);
    ASSERT_GE(first, 0);
    HIMAGELIST shared = OrnMenu::GetSharedImageList();
    ASSERT_NE(shared, nullptr);
    const int count = ImageList_GetImageCount(shared);
    EXPECT_EQ(OrnMenu::AddIconToImageList(&colours, 1, 9001), first) << "same command, same index";
    EXPECT_EQ(ImageList_GetImageCount(shared), count) << "replaced, not added";
    Canvas c(kW, kH, kBlack);
    ImageList_Draw(shared, first, c.dc(), 0, 0, ILD_NORMAL);
    EXPECT_EQ(c.At(5, 5), kGreen);
    EXPECT_EQ(OrnMenu::AddIconToImageList(&colours, 7, 9003), -1) << "no such icon";

    // The flat look keeps faded and shadow images: three ids for the command.
    OrnMenu::Styles().otherStyle = 1;
    const int flat = OrnMenu::AddIconToImageList(&colours, 2, 9002);
    ASSERT_EQ(flat, count);
    const std::vector<uint32_t>& ids = OrnMenu::GetSharedImageIds();
    ASSERT_EQ(ids.size(), static_cast<size_t>(count + 3));
    EXPECT_TRUE(ornmenu::HasExtraImages(ids, flat));
    EXPECT_EQ(ImageList_GetImageCount(shared), count + 3);

    // An item of a command with a shared image finds it.
    OrnMenu menu;
    ASSERT_TRUE(menu.AppendItemW(L"Blue", 0, 9002));
    EXPECT_EQ(menu.GetEntry(0)->sharedIndex, flat);
}

TEST_F(OrnMenuTest, ClassicLookByPixel)
{
    OrnMenu::Styles().otherStyle = 0;
    CImageList colours;
    MakeList(colours, {kRed});
    OrnMenu menu;
    ASSERT_TRUE(menu.AppendItemWithImageListW(L"Red", 0, 20, &colours, 0));
    ASSERT_TRUE(menu.AppendItemW(L"Marked", 0, 21));
    const COLORREF menuBk = GetSysColor(COLOR_MENU), highlight = GetSysColor(COLOR_HIGHLIGHT);
    ASSERT_NE(menuBk, highlight);

    auto c = Draw(menu, 0, ODS_SELECTED);
    EXPECT_EQ(c->At(kW + 5, 11), highlight) << "the selection starts at image width + 5";
    EXPECT_EQ(c->At(118, 2), highlight);
    EXPECT_EQ(c->At(kW + 4, 11), menuBk) << "the image box keeps the menu colour";
    EXPECT_EQ(c->At(2 + 5, 1 + 2 + 5), kRed) << "the image at the box's left + 2, top + 2";
    c = Draw(menu, 0, 0);
    EXPECT_EQ(c->At(60, 11), menuBk) << "not selected";

    // Checked without an image: the box in the menu colour lightened by 0.6 and a mark in the menu text colour.
    c = Draw(menu, 1, ODS_CHECKED);
    const int top = (22 - kH - 4) / 2;
    EXPECT_EQ(c->At(kW + 2, top + kH + 2), ornmenu::LightenColor(menuBk, 0.6));
    int marks = 0;
    for (int y = top + 4; y < top + 12; ++y)
        for (int x = 4; x < 12; ++x)
            marks += c->At(x, y) == GetSysColor(COLOR_MENUTEXT);
    EXPECT_GT(marks, 5) << "the check mark";
}

TEST_F(OrnMenuTest, FlatLookByPixel)
{
    OrnMenu::Styles().otherStyle = 1;
    OrnMenu menu;
    ASSERT_TRUE(menu.AppendItemW(L"Plain", 0, 30));
    ASSERT_TRUE(menu.AppendItemW(L"Marked", 0, 31));
    const COLORREF frame = GetSysColor(COLOR_HIGHLIGHT);
    auto c = Draw(menu, 0, ODS_SELECTED);
    EXPECT_EQ(c->At(60, 11), ornmenu::LightenColor(frame, 0.85)) << "the lightened selection (not themed)";
    EXPECT_EQ(c->At(0, 11), frame) << "its one-pixel frame";
    EXPECT_EQ(c->At(119, 0), frame);
    c = Draw(menu, 0, 0);
    EXPECT_EQ(c->At(2, 11), ornmenu::LightenColor(GetSysColor(COLOR_BTNFACE), 0.25)) << "the image column";
    EXPECT_EQ(c->At(60, 11), GetSysColor(COLOR_WINDOW)) << "the item";

    // Checked without an image: a 16 x 16 box centred in the 23-pixel column, framed.
    c = Draw(menu, 1, ODS_CHECKED);
    const int bx = ornmenu::CentreOffset(kW + 7, 16), by = ornmenu::CentreOffset(22, 16);
    EXPECT_EQ(c->At(bx, by + 8), frame);
    EXPECT_EQ(c->At(bx + 14, by + 14), ornmenu::LightenColor(frame, 0.85));
}

TEST_F(OrnMenuTest, RemovalByTextStaysInsideTheLevel)
{
    OrnMenu menu;
    for (const wchar_t* t : {L"A", L"B", L"C", L"D"})
        ASSERT_TRUE(menu.AppendItemW(t, 0, 40 + t[0]));
    struct Case
    {
        const char* what;
        const wchar_t* text;
        int mode;
        bool remove;
        std::vector<std::wstring> left;
    };
    const Case cases[] = {
        {"mode 3 at the end: the item and the one before", L"D", 3, false, {L"A", L"B"}},
        {"mode 2 at the start: the item only", L"A", 2, true, {L"B"}},
        {"a missing text", L"Z", 1, false, {L"B"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.remove)
            menu.RemoveItemByTextW(c.text, c.mode);
        else
            menu.DeleteItemByTextW(c.text, c.mode);
        ASSERT_EQ(menu.GetEntryCount(), static_cast<int>(c.left.size()));
        EXPECT_EQ(GetMenuItemCount(menu.m_hMenu), menu.GetEntryCount());
        for (size_t i = 0; i < c.left.size(); ++i)
            EXPECT_EQ(menu.GetEntry(static_cast<int>(i))->text, c.left[i]);
    }
    // A removed pop-up stays the caller's, whole.
    OrnMenu* sub = menu.AppendPopupW(L"Sub");
    ASSERT_NE(sub, nullptr);
    ASSERT_TRUE(sub->AppendItemW(L"Inner", 0, 77));
    const HMENU handle = sub->m_hMenu;
    EXPECT_TRUE(menu.RemoveItemByTextW(L"Sub"));
    EXPECT_TRUE(IsMenu(handle));
    EXPECT_EQ(GetMenuItemCount(handle), 1);
    MENUITEMINFOA mii = {};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_DATA;
    ASSERT_TRUE(GetMenuItemInfoA(handle, 0, TRUE, &mii));
    EXPECT_EQ(reinterpret_cast<const OrnMenuEntry*>(mii.dwItemData)->text, L"Inner") << "its entries are kept";
    DestroyMenu(handle);

    std::wstring text;
    EXPECT_TRUE(menu.GetItemText(40 + 'B', text));
    EXPECT_EQ(text, L"B");
    EXPECT_TRUE(menu.ModifyItemW(L"Bee", 40 + 'B'));
    EXPECT_TRUE(menu.GetItemText(0, text, MF_BYPOSITION));
    EXPECT_EQ(text, L"Bee");
}

TEST_F(OrnMenuTest, PopupsAndImagesAreGivenBack)
{
    CImageList colours;
    MakeList(colours, {kRed, kGreen});
    int before = 0;
    for (int round = 0; round < 3; ++round) {
        if (round == 1) {
            before = CountGdiObjects();
            ASSERT_GT(before, 0) << "the counter sees objects";
        }
        OrnMenu menu;
        ASSERT_TRUE(menu.LoadMenu(300));
        OrnMenu* file = menu.GetSubMenuByText(L"&File");
        ASSERT_NE(file, nullptr);
        OrnMenu* extra = file->AppendPopupW(L"&More");
        ASSERT_NE(extra, nullptr);
        ASSERT_TRUE(extra->AppendItemWithImageListW(L"Green", 0, 801, &colours, 1));
        ASSERT_TRUE(file->DeleteItem(801));
        ASSERT_TRUE(extra->AppendItemWithImageListW(L"Red", 0, 802, &colours, 0));
        auto c = Draw(*extra, 0, ODS_SELECTED);
    }
    EXPECT_EQ(CountGdiObjects(), before);
}

TEST_F(OrnMenuTest, ImagesFromAToolbarResourceAndCheckMarkBitmaps)
{
    OrnMenu::Styles().otherStyle = 0;
    // Toolbar 400: buttons 901, a separator, 902; its bitmap: image 0 red, image 1 green.
    OrnMenu menu;
    struct Case
    {
        const char* what;
        UINT command;
        int toolbar;
        COLORREF colour;  // CLR_NONE: no image
    };
    const Case cases[] = {
        {"the first button's image", 901, 400, kRed},
        {"the separator is not counted", 902, 400, kGreen},
        {"a command the toolbar lacks", 903, 400, CLR_NONE},
        {"a missing toolbar", 904, 401, CLR_NONE},
    };
    int position = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(menu.AppendItemW(L"Tool", 0, c.command, c.toolbar)) << "the item is added either way";
        const OrnMenuEntry* e = menu.GetEntry(position++);
        if (c.colour == CLR_NONE) {
            EXPECT_EQ(e->sharedIndex, -1);
            continue;
        }
        ASSERT_GE(e->sharedIndex, 0);
        Canvas canvas(kW, kH, kBlack);
        ImageList_Draw(OrnMenu::GetSharedImageList(), e->sharedIndex, canvas.dc(), 0, 0, ILD_NORMAL);
        EXPECT_EQ(canvas.At(8, 7), c.colour);
    }

    // Check-mark bitmaps (here bitmap 400 for both states, red on its left) replace the drawn mark.
    OrnMenu marks;
    marks.SetCheckMarkImages(400, 400);
    ASSERT_TRUE(marks.AppendItemW(L"Marked", 0, 920));
    auto c = Draw(marks, 0, ODS_CHECKED);
    const int top = ornmenu::ImageBoxTop(22, kH);
    EXPECT_EQ(c->At(2 + 4, top + 2 + 4), kRed) << "the normal check-mark image in the box";
    marks.SetCheckMarkImages(0, 400);  // both ids are needed: nothing changes
    c = Draw(marks, 0, ODS_CHECKED | ODS_SELECTED);
    EXPECT_EQ(c->At(2 + 4, top + 2 + 4), kRed) << "the selected check-mark image";
}

TEST_F(OrnMenuTest, InsertByPositionAndByCommand)
{
    OrnMenu bar;
    ASSERT_TRUE(bar.LoadMenu(300));
    OrnMenu* file = bar.GetSubMenuByText(L"&File");
    ASSERT_NE(file, nullptr);
    OrnMenu* recent = file->GetSubMenuByText(L"&Recent");
    ASSERT_NE(recent, nullptr);
    struct Case
    {
        const char* what;
        OrnMenu* on;
        UINT position, flags, id;
        BOOL result;
        OrnMenu* level;  // where the item lands
        int at;
    };
    const Case cases[] = {
        {"by command, found in a nested level", &bar, 512, MF_BYCOMMAND, 530, TRUE, recent, 1},
        {"by position at the front", file, 0, MF_BYPOSITION, 531, TRUE, file, 0},
        {"by position -1 appends", file, static_cast<UINT>(-1), MF_BYPOSITION, 532, TRUE, file, 6},
        {"by position past the end appends", recent, 40, MF_BYPOSITION, 533, TRUE, recent, 3},
        {"an unknown command", &bar, 999, MF_BYCOMMAND, 534, FALSE, nullptr, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.on->InsertItemW(c.position, L"New", c.flags, c.id), c.result);
        if (!c.level)
            continue;
        EXPECT_EQ(GetMenuItemCount(c.level->m_hMenu), c.level->GetEntryCount());
        EXPECT_EQ(GetMenuItemID(c.level->m_hMenu, c.at), c.id);
        ASSERT_NE(c.level->GetEntry(c.at), nullptr);
        EXPECT_EQ(c.level->GetEntry(c.at)->command, c.id);
        MENUITEMINFOA mii = {};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_FTYPE | MIIM_DATA;
        ASSERT_TRUE(GetMenuItemInfoA(c.level->m_hMenu, c.at, TRUE, &mii));
        EXPECT_TRUE(mii.fType & MFT_OWNERDRAW);
        EXPECT_EQ(mii.dwItemData, reinterpret_cast<ULONG_PTR>(c.level->GetEntry(c.at)));
    }
    // Modifying by text reaches the nested level; a null text keeps the text.
    EXPECT_TRUE(bar.ModifyItemByTextW(L"Two again", L"Two"));
    EXPECT_EQ(bar.FindEntryByCommand(512)->text, L"Two again");
    EXPECT_TRUE(bar.ModifyItemW(NULL, 512));
    EXPECT_EQ(bar.FindEntryByCommand(512)->text, L"Two again");
    EXPECT_FALSE(bar.ModifyItemByTextW(L"x", L"No such item"));
}

}  // namespace
