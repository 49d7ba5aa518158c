// The set-title dialog, modeless and kept: paging with Prev and Next and the
// rows a click picks, the set-title request only for another title and not
// twice within 3 s (the dialog reopened in between), OK and Close hiding it,
// a title list arriving later, the member link opened only for a web
// address, and a missing skin picture failing the dialog alone.
#include "GameDlgTestSupport.h"

#include "SetTitleDlg.h"
#include "gamedlg_ids.h"

namespace {

using namespace gamedlgtest;

class CFakeTitleHost : public ISetTitleHost
{
public:
    std::vector<TitleEntry> titles;
    uint32_t currentId = 0;
    BOOL member = FALSE;
    CString memberPage = "https://shop.example/member?user=u1";
    std::vector<uint32_t> requested;
    std::string skinFolder;

    void SetCount(int n)
    {
        titles.clear();
        for (int i = 0; i < n; i++) {
            TitleEntry e;
            e.name.Format("title%d", i);
            e.id = 100 + (uint32_t)i;
            e.number = i + 1;
            e.level = i % 10 + 1;
            e.categories[i % 4] = true;
            titles.push_back(e);
        }
    }
    int GetTitleCount() const override { return (int)titles.size(); }
    BOOL GetTitle(int nIndex, TitleEntry& rEntry) const override
    {
        if (nIndex < 0 || nIndex >= (int)titles.size())
            return FALSE;
        rEntry = titles[(size_t)nIndex];
        return TRUE;
    }
    uint32_t GetCurrentTitleId() const override { return currentId; }
    int GetHonour() const override { return 1234; }
    BOOL IsMember() const override { return member; }
    void RequestTitle(uint32_t nTitleId) override { requested.push_back(nTitleId); }
    CString GetMemberPage() override { return memberPage; }
    CString GetSkinIni() const override { return (skinFolder + "\\title.ini").c_str(); }
    CString GetSkinFolder() const override { return skinFolder.c_str(); }
};

class CTestTitleDlg : public CSetTitleDlg
{
public:
    using CSetTitleDlg::CSetTitleDlg;
    uint32_t clock = 100000;
    std::vector<std::string> opened;

protected:
    uint32_t Now() const override { return clock; }
    void OpenLink(LPCSTR lpszAddress) override { opened.push_back(lpszAddress); }
};

class SetTitleTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&s_gdiplus, &input, nullptr);
    }
    static void TearDownTestSuite() { Gdiplus::GdiplusShutdown(s_gdiplus); }

    void SetUp() override
    {
        ASSERT_TRUE(m_res.Ok()) << "Mardavel_Res.dll beside the test";
        m_host.skinFolder = m_skin.Path();
        const std::string ini = m_skin.Path() + "\\title.ini";
        auto picture = [&](const char* key, const char* file, int w, int h, COLORREF c) {
            ASSERT_TRUE(WriteBmp(m_skin.Path() + "\\" + file, w, h, [c](int, int) { return c; }));
            ::WritePrivateProfileStringA("Title", key, file, ini.c_str());
        };
        picture("SetTitleDlgRadio1", "radio1.bmp", 14, 14, kWhite);
        picture("SetTitleDlgRadio2", "radio2.bmp", 14, 14, kRed);
        for (int i = 1; i <= 4; i++)
            picture(("SetTitleDlgTitleIcon" + std::to_string(i)).c_str(), ("icon" + std::to_string(i) + ".bmp").c_str(),
                    23, 23, RGB(40 * i, 200, 60));
        for (const char* key : {"SetTitleDlgCLose", "SetTitleDlgOK", "SetTitleDlgPre", "SetTitleDlgNext"}) {
            ASSERT_TRUE(WriteStrip(m_skin.Path() + "\\" + key + ".bmp", 30, 18, {kGreen, kYellow, kCyan, kBlue}));
            ::WritePrivateProfileStringA("Title", key, (std::string(key) + ".bmp").c_str(), ini.c_str());
        }
        ASSERT_TRUE(WriteBmp(m_skin.Path() + "\\SetTitleBk.bmp", 470, 380, [](int, int) { return RGB(30, 20, 10); }));
        ASSERT_TRUE(m_owner.CreateEx(0, AfxRegisterWndClass(0), "table", WS_POPUP, 0, 0, 200, 100, NULL, NULL));
    }
    void TearDown() override
    {
        m_owner.DestroyWindow();
        PumpPendingMessages();
    }

    static void Command(CSetTitleDlg& dlg, UINT id)
    {
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)dlg.Button(id).GetSafeHwnd());
    }
    static void ClickRow(CSetTitleDlg& dlg, int row)
    {
        dlg.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(400, 100 + 40 * row + 10));
        dlg.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(400, 100 + 40 * row + 10));
    }

    static ULONG_PTR s_gdiplus;
    ResourceLibrary m_res;
    TempFolder m_skin;
    CFakeTitleHost m_host;
    CWnd m_owner;
};
ULONG_PTR SetTitleTest::s_gdiplus = 0;

TEST_F(SetTitleTest, PagesAndTheRowsAClickPicks)
{
    enum { kNext = IDC_SETTITLE_NEXT, kPrev = IDC_SETTITLE_PREV };
    struct Case {
        const char* what;
        int count;
        std::vector<UINT> presses;
        int page;
        bool next, prev;
        int row;       // clicked after the presses
        int chosen;    // the record chosen by it (-1: the current one stays)
    };
    const Case cases[] = {
        {"7 titles open on the newest five", 7, {}, 0, true, false, 0, 6},
        {"7 titles, last row of the first page", 7, {}, 0, true, false, 4, 2},
        {"7 titles, second page", 7, {kNext}, 1, false, true, 1, 0},
        {"7 titles, an empty row picks nothing", 7, {kNext}, 1, false, true, 3, -1},
        {"Next on the last page stays", 7, {kNext, kNext}, 1, false, true, 0, 1},
        {"back to the first page", 7, {kNext, kPrev}, 0, true, false, 2, 4},
        {"5 titles: one page", 5, {kNext}, 0, false, false, 4, 0},
        {"10 titles, second page", 10, {kNext}, 1, false, true, 4, 0},
        {"no titles", 0, {}, 0, false, false, 0, -1},
    };
    for (const Case& c : cases) {
        m_host.SetCount(c.count);
        m_host.currentId = 9999;   // in use: none of the list
        CTestTitleDlg dlg(&m_host);
        ASSERT_TRUE(dlg.Create(&m_owner)) << c.what;
        EXPECT_FALSE(dlg.IsWindowVisible()) << c.what << ": made hidden";
        dlg.Open();
        for (UINT id : c.presses)
            Command(dlg, id);
        EXPECT_EQ(dlg.GetPage(), c.page) << c.what;
        EXPECT_EQ(dlg.Button(IDC_SETTITLE_NEXT).IsWindowEnabled() != FALSE, c.next) << c.what;
        EXPECT_EQ(dlg.Button(IDC_SETTITLE_PREV).IsWindowEnabled() != FALSE, c.prev) << c.what;
        ClickRow(dlg, c.row);
        EXPECT_EQ(dlg.GetChosen(), c.chosen) << c.what;
    }
}

TEST_F(SetTitleTest, RequestsOnlyAnotherTitleAndNotTwiceWithinThreeSeconds)
{
    enum Kind { kChoose, kOk, kClose, kWait, kReopen };
    struct Step {
        Kind kind;
        int value;   // the row to choose, or the milliseconds to wait
    };
    struct Case {
        const char* what;
        std::vector<Step> steps;
        std::vector<uint32_t> requested;
    };
    // 7 titles (ids 100..106), the one in use is record 4 (id 104, row 2).
    const Case cases[] = {
        {"another title is asked for", {{kChoose, 0}, {kOk, 0}}, {106}},
        {"the title in use sends nothing", {{kChoose, 2}, {kOk, 0}}, {}},
        {"OK without a choice keeps the title in use", {{kOk, 0}}, {}},
        {"Close sends nothing", {{kChoose, 0}, {kClose, 0}}, {}},
        {"a second OK within 3 s, reopened in between, sends nothing",
         {{kChoose, 0}, {kOk, 0}, {kWait, 1000}, {kReopen, 0}, {kChoose, 1}, {kOk, 0}}, {106}},
        {"exactly 3 s later is still too soon",
         {{kChoose, 0}, {kOk, 0}, {kWait, 3000}, {kReopen, 0}, {kChoose, 1}, {kOk, 0}}, {106}},
        {"more than 3 s later goes out",
         {{kChoose, 0}, {kOk, 0}, {kWait, 3001}, {kReopen, 0}, {kChoose, 1}, {kOk, 0}}, {106, 105}},
    };
    m_host.SetCount(7);
    m_host.currentId = 104;
    for (const Case& c : cases) {
        m_host.requested.clear();
        CTestTitleDlg dlg(&m_host);
        ASSERT_TRUE(dlg.Create(&m_owner)) << c.what;
        dlg.Open();
        EXPECT_EQ(dlg.GetCurrent(), 4) << c.what;
        EXPECT_EQ(dlg.GetChosen(), 4) << c.what;
        for (const Step& s : c.steps) {
            switch (s.kind) {
            case kChoose:
                ClickRow(dlg, s.value);
                break;
            case kOk:
                Command(dlg, IDOK);
                EXPECT_FALSE(dlg.IsWindowVisible()) << c.what << ": OK hides it";
                break;
            case kClose:
                Command(dlg, IDCANCEL);
                EXPECT_FALSE(dlg.IsWindowVisible()) << c.what << ": Close hides it";
                break;
            case kWait:
                dlg.clock += (uint32_t)s.value;
                break;
            case kReopen:
                dlg.Open();
                EXPECT_TRUE(dlg.IsWindowVisible()) << c.what;
                break;
            }
        }
        EXPECT_EQ(m_host.requested, c.requested) << c.what;
        EXPECT_TRUE(::IsWindow(dlg.m_hWnd)) << c.what << ": kept, not destroyed";
    }
}

TEST_F(SetTitleTest, ARefreshTakesTheNewTitleList)
{
    m_host.SetCount(3);
    m_host.currentId = 101;
    CTestTitleDlg dlg(&m_host);
    ASSERT_TRUE(dlg.Create(&m_owner));
    dlg.Open();
    EXPECT_EQ(dlg.GetCurrent(), 1);
    EXPECT_FALSE(dlg.Button(IDC_SETTITLE_NEXT).IsWindowEnabled());
    // A title list of 8 arrives; the title in use is now the newest.
    m_host.SetCount(8);
    m_host.currentId = 107;
    dlg.Refresh();
    EXPECT_EQ(dlg.GetCurrent(), 7);
    EXPECT_TRUE(dlg.Button(IDC_SETTITLE_NEXT).IsWindowEnabled());
    Command(dlg, IDC_SETTITLE_NEXT);
    ClickRow(dlg, 2);
    EXPECT_EQ(dlg.GetChosen(), 0);
}

TEST_F(SetTitleTest, MemberLinkOpensOnlyWebAddressesForNonMembers)
{
    struct Case {
        const char* what;
        BOOL member;
        const char* page;
        bool opened;
    };
    const Case cases[] = {
        {"https page", FALSE, "https://shop.example/member?user=u1", true},
        {"http page", FALSE, "http://shop.example/member", true},
        {"a program path", FALSE, "C:\\windows\\system32\\calc.exe", false},
        {"a file address", FALSE, "file:///C:/autoexec.bat", false},
        {"empty", FALSE, "", false},
        {"a member has no link", TRUE, "https://shop.example/member", false},
    };
    m_host.SetCount(2);
    for (const Case& c : cases) {
        m_host.member = c.member;
        m_host.memberPage = c.page;
        CTestTitleDlg dlg(&m_host);
        ASSERT_TRUE(dlg.Create(&m_owner)) << c.what;
        dlg.Open();
        const CRect link = dlg.GetMemberLinkRect();
        dlg.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(link.left + 5, link.top + 5));
        ASSERT_EQ(dlg.opened.size(), c.opened ? 1u : 0u) << c.what;
        if (c.opened) {
            EXPECT_EQ(dlg.opened[0], c.page) << c.what;
        }
        // Outside the link nothing opens.
        dlg.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(link.right + 5, link.top + 5));
        EXPECT_EQ(dlg.opened.size(), c.opened ? 1u : 0u) << c.what;
    }
}

TEST_F(SetTitleTest, AMissingPictureFailsTheDialogOnly)
{
    m_host.SetCount(3);
    ::WritePrivateProfileStringA("Title", "SetTitleDlgTitleIcon3", "gone.bmp", m_host.GetSkinIni());
    CTestTitleDlg dlg(&m_host);
    EXPECT_FALSE(dlg.Create(&m_owner));
    EXPECT_EQ(dlg.GetSafeHwnd(), (HWND)NULL);
    dlg.Open();   // nothing to show, nothing breaks
}

}  // namespace
