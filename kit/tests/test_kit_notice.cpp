// The notice dialog and the web notice popup on real windows, with the
// resource library's templates and frame (kit/art/make_popup_frame.py: top
// edge 30, other edges 6, corners 10 wide with magenta outside a radius of
// 6) and the browser stand-in (QVWebBrowser.dll) served in place of the web
// browser: its call log shows what the popup asked the browser to open.
#include "KitTestSupport.h"

#include "AxControls.h"
#include "AxStandInTest.h"
#include "KitServices.h"
#include "NoticeDlg.h"
#include "WebTipDlg.h"
#include "kit_ids.h"

#include <exdisp.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using namespace kittest;

// "温馨提示" and "活动" in code page 936.
const char kCaption[] = "\xCE\xC2\xDC\xB0\xCC\xE1\xCA\xBE";
const char kTitle[] = "\xBB\xEE\xB6\xAF";
const char kPage[] = "http://www.example.cn/notice/today.htm";

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// The browser calls of a log: the addresses Navigate was given, in order.
std::vector<std::string> Navigations(const std::string& log)
{
    std::vector<std::string> out;
    const std::string head = "m104(BSTR:";
    for (const std::string& line : Lines(log)) {
        if (line.compare(0, head.size(), head) != 0)
            continue;
        const size_t end = line.find(',', head.size());
        out.push_back(line.substr(head.size(), end == std::string::npos ? std::string::npos : end - head.size()));
    }
    return out;
}

// A class factory that makes nothing: the browser control cannot be created.
class CRefusingFactory : public IClassFactory
{
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *ppv = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *ppv = NULL;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown*, REFIID, void** ppv) override
    {
        *ppv = NULL;
        return E_OUTOFMEMORY;
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};

// A visible owner window the popups centre on.
class COwnerWnd : public CWnd
{
public:
    BOOL Make()
    {
        return CreateEx(0, AfxRegisterWndClass(0, NULL, (HBRUSH)(COLOR_BTNFACE + 1)), "owner",
                        WS_POPUP | WS_VISIBLE, 100, 80, 640, 480, NULL, NULL);
    }
};

CRect WindowRectOf(HWND hWnd)
{
    CRect rc;
    ::GetWindowRect(hWnd, &rc);
    return rc;
}

/////////////////////////////////////////////////////////////////////////////
// Web notice popup

class WebTip : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(m_res, (HMODULE)NULL) << "Mardavel_Res.dll beside the test";
        AfxSetResourceHandle(m_res);
        ASSERT_TRUE(AfxOleInitThread());
        ASSERT_TRUE(m_browser.ServeAs("QVWebBrowser.dll", CLSID_QVWebBrowser, CLSID_WebBrowser))
            << "the browser stand-in QVWebBrowser.dll beside the test";
        m_browser.ClearLog();
        ASSERT_TRUE(m_owner.Make());
    }
    void TearDown() override
    {
        m_owner.DestroyWindow();
        m_browser.Revoke();
        AfxSetResourceHandle(NULL);
        PumpPendingMessages();
        AfxDeleteTempMaps();
        if (m_res != NULL)
            FreeLibrary(m_res);
    }
    std::vector<std::string> TakeNavigations()
    {
        std::vector<std::string> out = Navigations(m_browser.ReadLog());
        m_browser.ClearLog();
        return out;
    }
    // A click (press and release) on the popup's close button.
    void ClickClose(CQVWebTipDlg& tip)
    {
        const CRect rc = WindowRectOf(tip.GetSafeHwnd());
        const kit::KRect close = kit::PopupCloseRect({0, 0, rc.Width(), rc.Height()}, tip.GetMetrics());
        const LPARAM at = MAKELPARAM(rc.left + (close.left + close.right) / 2, rc.top + (close.top + close.bottom) / 2);
        tip.SendMessage(WM_NCLBUTTONDOWN, HTSYSMENU, at);
        tip.SendMessage(WM_NCLBUTTONUP, HTSYSMENU, at);
    }

    HMODULE m_res = LoadLibraryA("Mardavel_Res.dll");
    CStandInServer m_browser;
    COwnerWnd m_owner;
};

TEST_F(WebTip, NavigateBeforeCreateFails)
{
    CQVWebTipDlg tip(&m_owner);
    EXPECT_FALSE(tip.Navigate(kPage));
    EXPECT_TRUE(tip.GetAddress().IsEmpty());
    EXPECT_EQ(tip.GetSafeHwnd(), (HWND)NULL);
    EXPECT_TRUE(TakeNavigations().empty());
}

TEST_F(WebTip, CreateFailsWithoutFrameOrBrowser)
{
    struct Case
    {
        const char* what;
        bool ownResources;     // the test's module: the template without the frame pictures
        bool refuseBrowser;    // the browser's class makes no control
    };
    const Case cases[] = {
        {"frame pictures missing", true, false},
        {"browser control cannot be made", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CRefusingFactory refusing;
        DWORD dwCookie = 0;
        if (c.refuseBrowser) {
            m_browser.Revoke();
            ASSERT_HRESULT_SUCCEEDED(::CoRegisterClassObject(CLSID_WebBrowser, &refusing, CLSCTX_INPROC_SERVER,
                                                             REGCLS_MULTIPLEUSE, &dwCookie));
        }
        if (c.ownResources)
            AfxSetResourceHandle(::GetModuleHandleA(NULL));
        CQVWebTipDlg tip(&m_owner);
        EXPECT_FALSE(tip.Create(320, 240));
        EXPECT_EQ(tip.GetSafeHwnd(), (HWND)NULL);
        EXPECT_FALSE(tip.Navigate(kPage));
        AfxSetResourceHandle(m_res);
        if (dwCookie != 0) {
            ::CoRevokeClassObject(dwCookie);
            ASSERT_TRUE(m_browser.ServeAs("QVWebBrowser.dll", CLSID_QVWebBrowser, CLSID_WebBrowser));
        }
        EXPECT_TRUE(TakeNavigations().empty());
    }
}

TEST_F(WebTip, CreateMakesAHiddenFramedPopupWithItsBrowser)
{
    CQVWebTipDlg tip(&m_owner);
    ASSERT_TRUE(tip.Create(320, 240));
    EXPECT_FALSE(tip.IsWindowVisible());
    const CRect rc = WindowRectOf(tip.GetSafeHwnd());
    EXPECT_EQ(rc.Width(), 320);
    EXPECT_EQ(rc.Height(), 240);
    // Centred on the owner (100, 80, 740, 560).
    EXPECT_NEAR(rc.CenterPoint().x, 420, 1);
    EXPECT_NEAR(rc.CenterPoint().y, 320, 1);
    EXPECT_EQ(tip.GetExStyle() & WS_EX_TOPMOST, 0u);

    // The browser fills the inside of the frame: 6 in from the sides and
    // the bottom, 30 from the top.
    HWND hBrowser = ::GetDlgItem(tip.GetSafeHwnd(), CQVWebTipDlg::kBrowserId);
    ASSERT_NE(hBrowser, (HWND)NULL);
    EXPECT_EQ(hBrowser, tip.GetBrowser().GetSafeHwnd());
    const CRect inner = WindowRectOf(hBrowser);
    EXPECT_EQ(inner.left - rc.left, 6);
    EXPECT_EQ(inner.top - rc.top, 30);
    EXPECT_EQ(rc.right - inner.right, 6);
    EXPECT_EQ(rc.bottom - inner.bottom, 6);

    CString text;
    tip.GetWindowText(text);
    EXPECT_STREQ(text, kCaption);
    EXPECT_STREQ(tip.GetCaption(), kCaption);
}

TEST_F(WebTip, RegionCutsTheCornersOnly)
{
    CQVWebTipDlg tip(&m_owner);
    ASSERT_TRUE(tip.Create(320, 240));
    HRGN hRegion = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(::GetWindowRgn(tip.GetSafeHwnd(), hRegion), ERROR);
    struct Case
    {
        const char* what;
        int x, y;
        bool inside;
    };
    // Corners are rounded with a radius of 6 in pictures 10 wide.
    const Case cases[] = {
        {"top-left corner pixel", 0, 0, false},
        {"top-right corner pixel", 319, 0, false},
        {"bottom-left corner pixel", 0, 239, false},
        {"bottom-right corner pixel", 319, 239, false},
        {"inside the top-left rounding", 6, 6, true},
        {"inside the bottom-right rounding", 313, 233, true},
        {"top edge between the corners", 160, 0, true},
        {"left edge below the corner", 0, 120, true},
        {"the middle", 160, 120, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(::PtInRegion(hRegion, c.x, c.y) != FALSE, c.inside) << c.what;
    ::DeleteObject(hRegion);

    // A new size gets a new region: the new bottom-right corner is cut.
    tip.SetWindowPos(NULL, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    hRegion = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(::GetWindowRgn(tip.GetSafeHwnd(), hRegion), ERROR);
    EXPECT_FALSE(::PtInRegion(hRegion, 399, 299));
    EXPECT_TRUE(::PtInRegion(hRegion, 319, 239));
    ::DeleteObject(hRegion);
}

TEST_F(WebTip, NavigateOpensThePageAndShowsThePopup)
{
    CQVWebTipDlg tip(&m_owner);
    ASSERT_TRUE(tip.Create(320, 240));
    EXPECT_TRUE(tip.Navigate(kPage));
    EXPECT_EQ(TakeNavigations(), std::vector<std::string>{kPage});
    EXPECT_STREQ(tip.GetAddress(), kPage);
    EXPECT_TRUE(tip.IsWindowVisible());
    EXPECT_TRUE(tip.GetBrowser().IsWindowVisible());
}

TEST_F(WebTip, OnlyWebAddressesAreOpened)
{
    struct Case
    {
        const char* what;
        const char* address;
        bool opened;
    };
    const Case cases[] = {
        {"http", "http://www.example.cn/a.htm", true},
        {"https", "https://www.example.cn/a.htm", true},
        {"scheme in capitals", "HTTP://WWW.EXAMPLE.CN/", true},
        {"a local file", "file:///C:/windows/win.ini", false},
        {"a program path", "C:\\windows\\notepad.exe", false},
        {"script", "javascript:alert(1)", false},
        {"another scheme", "ftp://www.example.cn/", false},
        {"the blank page from outside", "about:blank", false},
        {"scheme alone", "http://", false},
        {"empty", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CQVWebTipDlg tip(&m_owner);
        ASSERT_TRUE(tip.Create(320, 240));
        EXPECT_EQ(tip.Navigate(c.address) != FALSE, c.opened);
        EXPECT_EQ(tip.IsWindowVisible() != FALSE, c.opened);
        const std::vector<std::string> opened = TakeNavigations();
        if (c.opened)
            EXPECT_EQ(opened, std::vector<std::string>{c.address});
        else
            EXPECT_TRUE(opened.empty());
    }
    CQVWebTipDlg tip(&m_owner);
    EXPECT_FALSE(tip.Navigate(NULL));
}

TEST_F(WebTip, CloseLeavesTheBrowserBlankAndANewNavigationWorks)
{
    struct Case
    {
        const char* what;
        bool closeButton;   // else the cancel command (Escape)
    };
    const Case cases[] = {
        {"close button", true},
        {"cancel command", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CQVWebTipDlg tip(&m_owner);
        ASSERT_TRUE(tip.Create(320, 240));
        ASSERT_TRUE(tip.Navigate(kPage));
        TakeNavigations();
        if (c.closeButton)
            ClickClose(tip);
        else
            tip.SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        EXPECT_FALSE(tip.IsWindowVisible());
        EXPECT_EQ(TakeNavigations(), std::vector<std::string>{"about:blank"});
        EXPECT_STREQ(tip.GetAddress(), "about:blank");
        ASSERT_NE(tip.GetSafeHwnd(), (HWND)NULL);   // kept for the next notice

        // The same address loads again, and the popup shows again.
        EXPECT_TRUE(tip.Navigate(kPage));
        EXPECT_EQ(TakeNavigations(), std::vector<std::string>{kPage});
        EXPECT_TRUE(tip.IsWindowVisible());
        EXPECT_STREQ(tip.GetAddress(), kPage);
    }
}

TEST_F(WebTip, PageTitleInTheCaption)
{
    CQVWebTipDlg tip(&m_owner);
    ASSERT_TRUE(tip.Create(320, 240));
    struct Case
    {
        const char* what;
        const char* title;
        std::string caption;
    };
    const Case cases[] = {
        {"an empty title keeps the caption", "", kCaption},
        {"NULL keeps it", NULL, kCaption},
        {"a title follows the caption", kTitle, std::string(kCaption) + " - " + kTitle},
        {"an empty title after one keeps it", "", std::string(kCaption) + " - " + kTitle},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        tip.SetPageTitle(c.title);
        EXPECT_EQ(std::string(tip.GetCaption()), c.caption);
        CString text;
        tip.GetWindowText(text);
        EXPECT_EQ(std::string(text), c.caption);
    }
}

TEST_F(WebTip, CaptionIsPaintedInTheTopEdge)
{
    CQVWebTipDlg tip(&m_owner);
    ASSERT_TRUE(tip.Create(320, 240));
    ASSERT_TRUE(tip.Navigate(kPage));
    tip.SetWindowPos(&CWnd::wndTopMost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    tip.RedrawWindow(NULL, NULL, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    PumpPendingMessages();
    // Black text from y 8 on, centred; the band's own colours are blue.
    auto darkPixels = [&](int left, int right) {
        HDC hdc = ::GetWindowDC(tip.GetSafeHwnd());
        int n = 0;
        for (int y = 8; y < 22; y++)
            for (int x = left; x < right; x++) {
                const COLORREF c = ::GetPixel(hdc, x, y);
                n += GetRValue(c) < 40 && GetGValue(c) < 40 && GetBValue(c) < 40;
            }
        ::ReleaseDC(tip.GetSafeHwnd(), hdc);
        return n;
    };
    EXPECT_GT(darkPixels(130, 190), 0) << "caption in the middle of the top edge";
    EXPECT_EQ(darkPixels(20, 80), 0) << "nothing at the left of a short caption";
}

TEST_F(WebTip, CreateAgainReplacesThePopup)
{
    CQVWebTipDlg tip(&m_owner);
    ASSERT_TRUE(tip.Create(320, 240));
    ASSERT_TRUE(tip.Navigate(kPage));
    const HWND hOld = tip.GetSafeHwnd();
    ASSERT_TRUE(tip.Create(400, 300));
    EXPECT_FALSE(::IsWindow(hOld));
    const CRect rc = WindowRectOf(tip.GetSafeHwnd());
    EXPECT_EQ(rc.Width(), 400);
    EXPECT_EQ(rc.Height(), 300);
    EXPECT_FALSE(tip.IsWindowVisible());
    TakeNavigations();
    EXPECT_TRUE(tip.Navigate(kPage));
    EXPECT_EQ(TakeNavigations(), std::vector<std::string>{kPage});
}

TEST_F(WebTip, NoGdiObjectsLeftBehind)
{
    const int before = CountGdiObjects();
    ASSERT_GT(before, 0) << "the GDI object counter sees the process's objects";
    for (int i = 0; i < 3; i++) {
        CQVWebTipDlg tip(&m_owner);
        ASSERT_TRUE(tip.Create(320, 240));
        ASSERT_TRUE(tip.Navigate(kPage));
        tip.RedrawWindow(NULL, NULL, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
        PumpPendingMessages();
    }
    PumpPendingMessages();
    EXPECT_LE(CountGdiObjects(), before + 2);
}

TEST_F(WebTip, ServerNoticeIsShownInTheOnePopupAndBounded)
{
    RECT work;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
    // First notice: the popup is made, titled and opened on the address.
    ASSERT_TRUE(KitShowWebNotice(&m_owner, kTitle, kPage, 300, 200));
    CQVWebTipDlg* pTip = GetKitWebNotice();
    ASSERT_NE(pTip, nullptr);
    const HWND hTip = pTip->GetSafeHwnd();
    EXPECT_TRUE(pTip->IsWindowVisible());
    EXPECT_EQ(WindowRectOf(hTip).Size(), CSize(300, 200));
    EXPECT_EQ(std::string(pTip->GetCaption()), std::string(kCaption) + " - " + kTitle);
    EXPECT_EQ(TakeNavigations(), std::vector<std::string>{kPage});

    // The next one reuses it; a size from the server never exceeds the screen
    // nor falls below the frame's minimum.
    struct Case
    {
        const char* what;
        UINT width, height;
        int expectedWidth, expectedHeight;
    };
    const Case cases[] = {
        {"larger than the screen", 0xFFFFFFFFu, 90000, (int)(work.right - work.left), (int)(work.bottom - work.top)},
        {"zero", 0, 0, kit::kMinWebNoticeWidth, kit::kMinWebNoticeHeight},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(KitShowWebNotice(&m_owner, "", kPage, c.width, c.height));
        EXPECT_EQ(GetKitWebNotice()->GetSafeHwnd(), hTip);
        EXPECT_EQ(WindowRectOf(hTip).Size(), CSize(c.expectedWidth, c.expectedHeight));
    }

    // A file address from the server is not opened.
    TakeNavigations();
    EXPECT_FALSE(KitShowWebNotice(&m_owner, "", "file:///C:/windows/win.ini", 300, 200));
    EXPECT_TRUE(TakeNavigations().empty());

    // The connection closes: the popup goes.
    KitCloseWebNotice();
    EXPECT_EQ(GetKitWebNotice(), nullptr);
    EXPECT_FALSE(::IsWindow(hTip));
}

/////////////////////////////////////////////////////////////////////////////
// Notice dialog

class Notice : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(m_res, (HMODULE)NULL) << "Mardavel_Res.dll beside the test";
        AfxSetResourceHandle(m_res);
        ASSERT_TRUE(m_owner.Make());
    }
    void TearDown() override
    {
        m_owner.DestroyWindow();
        AfxSetResourceHandle(NULL);
        PumpPendingMessages();
        AfxDeleteTempMaps();
        if (m_res != NULL)
            FreeLibrary(m_res);
    }
    static CSize TextSize(CQVNoticeDlg& dlg, const char* text)
    {
        CClientDC dc(&dlg);
        CFont* pOld = dc.SelectObject(dlg.GetFont());
        CRect r(0, 0, 0, 0);
        dc.DrawText(text, &r, DT_CALCRECT | DT_NOPREFIX);
        dc.SelectObject(pOld);
        return r.Size();
    }
    static CRect ChildInClient(CQVNoticeDlg& dlg, int id)
    {
        CRect r;
        dlg.GetDlgItem(id)->GetWindowRect(&r);
        dlg.ScreenToClient(&r);
        return r;
    }

    HMODULE m_res = LoadLibraryA("Mardavel_Res.dll");
    COwnerWnd m_owner;
};

TEST_F(Notice, LayoutByButtonAndTopmost)
{
    struct Case
    {
        const char* what;
        bool button, topMost;
    };
    const Case cases[] = {
        {"with the cancel button", true, false},
        {"without a button", false, false},
        {"topmost without a button", false, true},
        {"topmost with the button", true, true},
    };
    const char* text = "\xD5\xFD\xD4\xDA\xD3\xEB\xD3\xCE\xCF\xB7\xB7\xFE\xCE\xF1\xC6\xF7\xC1\xAC\xBD\xD3...";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CQVNoticeDlg dlg((LPCSTR)NULL, FALSE, &m_owner);
        if (c.topMost)
            dlg.SetTopMost();
        ASSERT_TRUE(dlg.ShowText(text, c.button));
        EXPECT_TRUE(dlg.IsWindowVisible());
        EXPECT_EQ((dlg.GetStyle() & WS_CAPTION) == WS_CAPTION, c.button) << "a caption bar only with the button";
        CWnd* pButton = dlg.GetDlgItem(IDC_KIT_NOTICE_CANCEL);
        EXPECT_EQ(pButton->IsWindowVisible() != FALSE, c.button);
        EXPECT_EQ((dlg.GetExStyle() & WS_EX_TOPMOST) != 0, c.topMost);

        // The text static is the text's size, 2 higher.
        const CSize size = TextSize(dlg, text);
        const CRect textRect = ChildInClient(dlg, IDC_KIT_NOTICE_TEXT);
        EXPECT_EQ(textRect.Width(), size.cx);
        EXPECT_EQ(textRect.Height(), size.cy + 2);

        // Width: the text's right edge in window coordinates + 32.
        CRect window, textScreen;
        dlg.GetWindowRect(&window);
        dlg.GetDlgItem(IDC_KIT_NOTICE_TEXT)->GetWindowRect(&textScreen);
        EXPECT_EQ(window.Width(), textScreen.right - window.left + 32);
        const kit::NoticeMetrics& m = dlg.GetMetrics();
        const int expected = textRect.bottom + (c.button ? m.buttonOffset : c.topMost ? m.clientToWindow : m.textToBottom);
        EXPECT_EQ(window.Height(), expected);

        // Centred on the owner (100, 80, 740, 560).
        EXPECT_NEAR(window.CenterPoint().x, 420, 1);
        EXPECT_NEAR(window.CenterPoint().y, 320, 1);

        if (c.button) {
            // The button below the text, centred, wholly in the client area.
            CRect client;
            dlg.GetClientRect(&client);
            const CRect button = ChildInClient(dlg, IDC_KIT_NOTICE_CANCEL);
            EXPECT_GE(button.top, textRect.bottom);
            EXPECT_LE(button.bottom, client.bottom);
            EXPECT_NEAR(button.left, client.right - button.right, 1);
        }
    }
}

TEST_F(Notice, ConstructorsShowAtOnceOnlyWithAText)
{
    struct Case
    {
        const char* what;
        const char* text;
        UINT id;
        bool shown;
        std::string expected;
    };
    CString cancel;
    cancel.LoadString(IDS_KIT_CANCEL);
    ASSERT_FALSE(cancel.IsEmpty());
    const Case cases[] = {
        {"a text", "Hello", 0, true, "Hello"},
        {"an empty text", "", 0, false, ""},
        {"no text", NULL, 0, false, ""},
        {"a string id", NULL, IDS_KIT_CANCEL, true, std::string(cancel)},
        {"string id 0", NULL, 0, false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<CQVNoticeDlg> dlg(c.id != 0 ? new CQVNoticeDlg(c.id, FALSE, &m_owner)
                                                    : new CQVNoticeDlg(c.text, FALSE, &m_owner));
        EXPECT_EQ(dlg->IsCreated() != FALSE, c.shown);
        EXPECT_EQ(dlg->GetSafeHwnd() != NULL, c.shown);
        if (c.shown) {
            EXPECT_TRUE(dlg->IsWindowVisible());
            CString shown;
            dlg->GetDlgItemText(IDC_KIT_NOTICE_TEXT, shown);
            EXPECT_EQ(std::string(shown), c.expected);
        }
    }
}

TEST_F(Notice, CancelHidesAndANewTextShowsAgain)
{
    CQVNoticeDlg dlg("short", TRUE, &m_owner);
    ASSERT_TRUE(dlg.IsWindowVisible());
    CRect before;
    dlg.GetWindowRect(&before);

    // Enter does nothing; the cancel button hides and marks it cancelled.
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(dlg.IsWindowVisible());
    EXPECT_FALSE(dlg.IsCancelled());
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_KIT_NOTICE_CANCEL, BN_CLICKED),
                    (LPARAM)dlg.GetDlgItem(IDC_KIT_NOTICE_CANCEL)->GetSafeHwnd());
    EXPECT_TRUE(dlg.IsCancelled());
    EXPECT_FALSE(dlg.IsWindowVisible());

    // A longer text of two lines: shown again, larger, no longer cancelled.
    ASSERT_TRUE(dlg.ShowText("a much longer notice line than before\nand a second line", TRUE));
    EXPECT_FALSE(dlg.IsCancelled());
    EXPECT_TRUE(dlg.IsWindowVisible());
    CRect after;
    dlg.GetWindowRect(&after);
    EXPECT_GT(after.Width(), before.Width());
    EXPECT_GT(after.Height(), before.Height());

    dlg.SetCancelled();
    EXPECT_TRUE(dlg.IsCancelled());
}

TEST_F(Notice, DestroyedWithItsObject)
{
    HWND hWnd = NULL;
    {
        CQVNoticeDlg dlg("going", FALSE, &m_owner);
        hWnd = dlg.GetSafeHwnd();
        ASSERT_TRUE(::IsWindow(hWnd));
    }
    EXPECT_FALSE(::IsWindow(hWnd));
}

}  // namespace
