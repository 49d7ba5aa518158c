// The application object: message loop, pre-translation, idle, profile,
// command line; frames loaded from resources, toolbars, file dialogs.
#include "test_support.h"

#include "afxext.h"
#include "fw_test_res.h"

#include <string>
#include <vector>

namespace {

const char kRegistryKey[] = "MardavelFrameworkTest";

class CTestApp : public CWinApp
{
public:
    CTestApp() : CWinApp("FrameworkWinTest") {}

    std::vector<LONG> m_idleCounts;
    int m_nKeysPreTranslated = 0;
    std::vector<std::string> m_boxes;

    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN)
            m_nKeysPreTranslated++;
        return CWinApp::PreTranslateMessage(pMsg);
    }
    BOOL OnIdle(LONG lCount) override
    {
        m_idleCounts.push_back(lCount);
        return CWinApp::OnIdle(lCount);
    }
    int ExitInstance() override { return CWinApp::ExitInstance() + 70; }
    int DoMessageBox(LPCTSTR lpszPrompt, UINT, UINT) override
    {
        m_boxes.push_back(lpszPrompt);
        return IDOK;
    }
};

CTestApp theApp;

}  // namespace

TEST(App, IsTheApplicationObject)
{
    EXPECT_EQ(AfxGetApp(), &theApp);
    EXPECT_EQ(AfxGetThread(), &theApp);
    EXPECT_STREQ(AfxGetAppName(), "FrameworkWinTest");
    EXPECT_EQ(AfxMessageBox("消息"), IDOK);
    ASSERT_EQ(theApp.m_boxes.size(), 1u);
    EXPECT_EQ(theApp.m_boxes[0], "消息");
}

/////////////////////////////////////////////////////////////////////////////
// Message loop

namespace {

const UINT WM_TEST_QUIT_LATER = WM_APP + 20;
int g_nFramesDeleted = 0;

class CTestFrame : public CFrameWnd
{
public:
    ~CTestFrame() override { g_nFramesDeleted++; }

    CWnd m_child;
    int m_nSaves = 0;
    int m_nChildKeysSeen = 0;

    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN && pMsg->hwnd == m_child.m_hWnd)
            m_nChildKeysSeen++;
        return CFrameWnd::PreTranslateMessage(pMsg);
    }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpcs)
    {
        if (CFrameWnd::OnCreate(lpcs) == -1)
            return -1;
        return m_child.Create(NULL, NULL, WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50), this, 1) ? 0 : -1;
    }
    afx_msg void OnSave() { m_nSaves++; }
    afx_msg LRESULT OnQuitLater(WPARAM, LPARAM)
    {
        SetTimer(1, 50, NULL);
        return 0;
    }
    afx_msg void OnTimer(UINT_PTR) { DestroyWindow(); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_TIMER()
    ON_COMMAND(ID_TEST_SAVE, OnSave)
    ON_MESSAGE(WM_TEST_QUIT_LATER, OnQuitLater)
END_MESSAGE_MAP()

}  // namespace

TEST(App, RunPreTranslatesFromTheFocusWindowUpAndEndsWithTheMainWindow)
{
    TestResources resources;
    ASSERT_NE(resources.Handle(), (HMODULE)NULL);
    g_nFramesDeleted = 0;
    theApp.m_idleCounts.clear();
    theApp.m_nKeysPreTranslated = 0;

    CTestFrame* pFrame = new CTestFrame;
    ASSERT_TRUE(pFrame->LoadFrame(IDR_TEST_FRAME, WS_OVERLAPPEDWINDOW));
    theApp.m_pMainWnd = pFrame;
    CString strTitle;
    pFrame->GetWindowText(strTitle);
    EXPECT_STREQ((LPCSTR)strTitle, "框架窗口标题");   // the part before '\n'
    EXPECT_NE(pFrame->m_hAccelTable, (HACCEL)NULL);

    // Ctrl+S for the child: the frame's accelerator turns it into the command.
    BYTE keys[256];
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    pFrame->m_child.PostMessage(WM_KEYDOWN, 'S', 0);
    pFrame->PostMessage(WM_TEST_QUIT_LATER);

    int nResult = theApp.Run();
    keys[VK_CONTROL] = 0;
    ::SetKeyboardState(keys);

    EXPECT_EQ(nResult, 70);   // ExitInstance's result (WM_QUIT carried 0)
    EXPECT_EQ(g_nFramesDeleted, 1);
    EXPECT_EQ(theApp.m_pMainWnd, (CWnd*)NULL);
    EXPECT_EQ(theApp.m_nKeysPreTranslated, 1);
    ASSERT_FALSE(theApp.m_idleCounts.empty());
    EXPECT_EQ(theApp.m_idleCounts[0], 0);
    bool bSecondIdle = false;
    for (LONG l : theApp.m_idleCounts)
        bSecondIdle |= l == 1;
    EXPECT_TRUE(bSecondIdle);
}

namespace {

int g_nLastSaves = -1;
int g_nLastChildKeys = -1;

class CRecordingFrame : public CTestFrame
{
public:
    ~CRecordingFrame() override
    {
        g_nLastSaves = m_nSaves;
        g_nLastChildKeys = m_nChildKeysSeen;
    }
};

}  // namespace

TEST(App, AcceleratorsOfTheMainFrameWorkForKeysOfItsChildren)
{
    TestResources resources;
    ASSERT_NE(resources.Handle(), (HMODULE)NULL);
    CRecordingFrame* pFrame = new CRecordingFrame;
    ASSERT_TRUE(pFrame->LoadFrame(IDR_TEST_FRAME, WS_OVERLAPPEDWINDOW));
    theApp.m_pMainWnd = pFrame;

    BYTE keys[256];
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    pFrame->m_child.PostMessage(WM_KEYDOWN, 'S', 0);
    pFrame->m_child.PostMessage(WM_KEYDOWN, 'X', 0);   // no accelerator
    // A window outside the frame (no owner) gets the frame's accelerators too.
    CWnd loose;
    ASSERT_TRUE(loose.CreateEx(0, AfxRegisterWndClass(0), "loose", WS_POPUP, 0, 0, 10, 10, NULL, NULL));
    loose.PostMessage(WM_KEYDOWN, 'S', 0);
    pFrame->PostMessage(WM_TEST_QUIT_LATER);
    theApp.Run();
    keys[VK_CONTROL] = 0;
    ::SetKeyboardState(keys);

    EXPECT_EQ(g_nLastChildKeys, 2);
    EXPECT_EQ(g_nLastSaves, 2);
    loose.DestroyWindow();
}

/////////////////////////////////////////////////////////////////////////////
// Profile

namespace {

class ProfileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\MardavelFrameworkTest");
        theApp.SetRegistryKey(kRegistryKey);
    }
    void TearDown() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\MardavelFrameworkTest"); }

    static void SetRawValue(LPCSTR lpszSubKey, LPCSTR lpszName, DWORD dwType, const void* pData, DWORD cbData)
    {
        HKEY hKey = NULL;
        ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, lpszSubKey, 0, NULL, 0, KEY_WRITE, NULL, &hKey, NULL),
                  ERROR_SUCCESS);
        ::RegSetValueExA(hKey, lpszName, 0, dwType, static_cast<const BYTE*>(pData), cbData);
        ::RegCloseKey(hKey);
    }
    static bool RawDword(LPCSTR lpszSubKey, LPCSTR lpszName, DWORD* pdw)
    {
        DWORD cb = sizeof(DWORD);
        return ::RegGetValueA(HKEY_CURRENT_USER, lpszSubKey, lpszName, RRF_RT_REG_DWORD, NULL, pdw, &cb) ==
               ERROR_SUCCESS;
    }
};

}  // namespace

TEST_F(ProfileTest, ValuesRoundTripUnderTheApplicationsKey)
{
    EXPECT_STREQ(theApp.m_pszRegistryKey, kRegistryKey);
    EXPECT_STREQ(theApp.m_pszProfileName, "FrameworkWinTest");

    EXPECT_EQ(theApp.GetProfileInt("Settings", "PlayDir", 9), 9u);   // missing
    EXPECT_TRUE(theApp.WriteProfileInt("Settings", "PlayDir", 1));
    EXPECT_EQ(theApp.GetProfileInt("Settings", "PlayDir", 9), 1u);
    EXPECT_TRUE(theApp.WriteProfileInt("Settings", "Negative", -5));
    EXPECT_EQ((int)theApp.GetProfileInt("Settings", "Negative", 0), -5);

    const char* kPath = "C:\\存档\\游戏";
    EXPECT_STREQ((LPCSTR)theApp.GetProfileString("Settings", "AutoSavePath", "无"), "无");
    EXPECT_TRUE(theApp.WriteProfileString("Settings", "AutoSavePath", kPath));
    EXPECT_STREQ((LPCSTR)theApp.GetProfileString("Settings", "AutoSavePath"), kPath);

    DWORD dw = 0;
    ASSERT_TRUE(RawDword("Software\\MardavelFrameworkTest\\FrameworkWinTest\\Settings", "PlayDir", &dw));
    EXPECT_EQ(dw, 1u);

    // An empty section is the application's key itself.
    EXPECT_TRUE(theApp.WriteProfileInt("", "KeyValue1", 0x126000));
    ASSERT_TRUE(RawDword("Software\\MardavelFrameworkTest\\FrameworkWinTest", "KeyValue1", &dw));
    EXPECT_EQ(dw, 0x126000u);
    EXPECT_EQ(theApp.GetProfileInt("", "KeyValue1", 0), 0x126000u);

    // Deleting an entry, then a section; the application's key cannot be deleted this way.
    EXPECT_TRUE(theApp.WriteProfileString("Settings", "AutoSavePath", NULL));
    EXPECT_STREQ((LPCSTR)theApp.GetProfileString("Settings", "AutoSavePath", "无"), "无");
    EXPECT_TRUE(theApp.WriteProfileString("Settings", NULL, NULL));
    EXPECT_EQ(theApp.GetProfileInt("Settings", "PlayDir", 9), 9u);
    EXPECT_FALSE(theApp.WriteProfileString("", NULL, NULL));
    EXPECT_EQ(theApp.GetProfileInt("", "KeyValue1", 0), 0x126000u);

    HKEY hAppKey = theApp.GetAppRegistryKey();
    ASSERT_NE(hAppKey, (HKEY)NULL);
    ::RegCloseKey(hAppKey);
}

TEST_F(ProfileTest, ValuesOfTheWrongShapeReadAsTheDefault)
{
    const char* kSettings = "Software\\MardavelFrameworkTest\\FrameworkWinTest\\Settings";
    SetRawValue(kSettings, "IntAsString", REG_SZ, "5", 2);
    WORD wShort = 3;
    SetRawValue(kSettings, "ShortInt", REG_BINARY, &wShort, sizeof(wShort));
    SetRawValue(kSettings, "StringAsBinary", REG_BINARY, "abc", 3);
    SetRawValue(kSettings, "Unterminated", REG_SZ, "abc", 3);   // stored without its zero
    SetRawValue(kSettings, "Empty", REG_SZ, "", 0);

    EXPECT_EQ(theApp.GetProfileInt("Settings", "IntAsString", 4), 4u);
    EXPECT_EQ(theApp.GetProfileInt("Settings", "ShortInt", 4), 4u);
    EXPECT_STREQ((LPCSTR)theApp.GetProfileString("Settings", "StringAsBinary", "d"), "d");
    EXPECT_STREQ((LPCSTR)theApp.GetProfileString("Settings", "Unterminated", "d"), "abc");
    EXPECT_STREQ((LPCSTR)theApp.GetProfileString("Settings", "Empty", "d"), "");

    std::string strHuge(100 * 1024, 'x');
    SetRawValue(kSettings, "Huge", REG_SZ, strHuge.c_str(), (DWORD)strHuge.size() + 1);
    EXPECT_STREQ((LPCSTR)theApp.GetProfileString("Settings", "Huge", "d"), "d");
}

TEST_F(ProfileTest, TheProfileNameCanBeSwitchedForACall)
{
    // The runtime reads the platform's shared key this way.
    LPCTSTR lpszOld = theApp.m_pszProfileName;
    theApp.m_pszProfileName = "Share";
    EXPECT_TRUE(theApp.WriteProfileInt("Proxy", "ProxyEnable", 1));
    theApp.m_pszProfileName = lpszOld;
    DWORD dw = 0;
    EXPECT_TRUE(RawDword("Software\\MardavelFrameworkTest\\Share\\Proxy", "ProxyEnable", &dw));
    EXPECT_EQ(dw, 1u);
    EXPECT_EQ(theApp.GetProfileInt("Proxy", "ProxyEnable", 0), 0u);   // not in the game's key
}

TEST_F(ProfileTest, WithoutARegistryKeyTheProfileIsAnIniFile)
{
    char szPath[MAX_PATH];
    ::GetTempPathA(MAX_PATH, szPath);
    lstrcatA(szPath, "fw_profile_test.ini");
    ::DeleteFileA(szPath);
    LPCTSTR lpszOldKey = theApp.m_pszRegistryKey;
    LPCTSTR lpszOldProfile = theApp.m_pszProfileName;
    theApp.m_pszRegistryKey = NULL;
    theApp.m_pszProfileName = szPath;
    EXPECT_TRUE(theApp.WriteProfileInt("Settings", "Music", 3));
    EXPECT_TRUE(theApp.WriteProfileString("Settings", "MusicFile", "音乐.mid"));
    EXPECT_EQ(theApp.GetProfileInt("Settings", "Music", 0), 3u);
    EXPECT_STREQ((LPCSTR)theApp.GetProfileString("Settings", "MusicFile"), "音乐.mid");
    EXPECT_STREQ((LPCSTR)theApp.GetProfileString("Settings", "Missing", "d"), "d");
    theApp.m_pszRegistryKey = lpszOldKey;
    theApp.m_pszProfileName = lpszOldProfile;
    ::DeleteFileA(szPath);
}

/////////////////////////////////////////////////////////////////////////////
// Command line

TEST(App, CommandLineParsing)
{
    struct Case { const char* cmdLine; const char* fileName; int shellCommand; BOOL bSplash; } cases[] = {
        {"", "", CCommandLineInfo::FileNew, TRUE},
        {"game.peg", "game.peg", CCommandLineInfo::FileOpen, TRUE},
        {"  \"C:\\My Games\\a b.peg\"  ", "C:\\My Games\\a b.peg", CCommandLineInfo::FileOpen, TRUE},
        {"/nologo -p x.peg", "x.peg", CCommandLineInfo::FilePrint, FALSE},
        {"a\\\\\\\"b", "a\\\"b", CCommandLineInfo::FileOpen, TRUE},      // 2n+1 backslashes: a literal quote
        {"\"a\\\\\" second", "a\\", CCommandLineInfo::FileOpen, TRUE},   // 2n backslashes: the quote groups
        // A double-byte character whose second byte is a backslash (乗 is
        // 81 5C in code page 936) before the closing quote.
        {"\"D:\\\x81\x5c\" next", "D:\\\x81\x5c", CCommandLineInfo::FileOpen, TRUE},
    };
    LPTSTR lpOld = theApp.m_lpCmdLine;
    for (const Case& c : cases) {
        std::string cmdLine = c.cmdLine;
        theApp.m_lpCmdLine = &cmdLine[0];
        CCommandLineInfo info;
        theApp.ParseCommandLine(info);
        EXPECT_STREQ((LPCSTR)info.m_strFileName, c.fileName) << c.cmdLine;
        EXPECT_EQ((int)info.m_nShellCommand, c.shellCommand) << c.cmdLine;
        EXPECT_EQ(info.m_bShowSplash, c.bSplash) << c.cmdLine;
    }
    theApp.m_lpCmdLine = lpOld;
}

/////////////////////////////////////////////////////////////////////////////
// Toolbars and common dialogs

TEST(ToolBar, LoadsButtonsAndTheImageWellFromTheResources)
{
    TestResources resources;
    ASSERT_NE(resources.Handle(), (HMODULE)NULL);
    CToolBar bar;
    ASSERT_TRUE(bar.LoadToolBar(IDR_TEST_TOOLBAR));
    ASSERT_EQ(bar.GetCount(), 4);
    EXPECT_EQ(bar.CommandToIndex(ID_TEST_OPEN), 2);
    EXPECT_EQ(bar.CommandToIndex(12345), -1);
    struct Case { int index; UINT id; UINT style; int image; } cases[] = {
        {0, ID_TEST_SAVE, TBBS_BUTTON, 0},
        {1, 0, TBBS_SEPARATOR, 0},
        {2, ID_TEST_OPEN, TBBS_BUTTON, 1},
        {3, ID_TEST_PRINT, TBBS_BUTTON, 2},
        {4, 0, 0, -1},    // out of range
        {-1, 0, 0, -1},
    };
    for (const Case& c : cases) {
        UINT nID = 99;
        UINT nStyle = 99;
        int iImage = 99;
        bar.GetButtonInfo(c.index, nID, nStyle, iImage);
        EXPECT_EQ(nID, c.id) << c.index;
        EXPECT_EQ(nStyle, c.style) << c.index;
        EXPECT_EQ(iImage, c.image) << c.index;
    }
    EXPECT_EQ(bar.GetButtonSize(), CSize(23, 22));
    EXPECT_EQ(bar.GetImageSize(), CSize(16, 15));

    // The bitmap's light grey, black, white and dark grey images became the
    // system's button colours.
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(NULL));
    HGDIOBJ hOld = dc.SelectObject(bar.GetImageWell());
    EXPECT_EQ(dc.GetPixel(0, 0), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(dc.GetPixel(16, 0), ::GetSysColor(COLOR_BTNTEXT));
    EXPECT_EQ(dc.GetPixel(32, 0), ::GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(dc.GetPixel(48, 0), ::GetSysColor(COLOR_BTNSHADOW));
    dc.SelectObject(hOld);

    // The window takes the buttons.
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "p", WS_POPUP, 0, 0, 200, 50, NULL, NULL));
    ASSERT_TRUE(bar.Create(&parent));
    EXPECT_EQ(bar.SendMessage(TB_BUTTONCOUNT), 4);
    parent.DestroyWindow();
}

TEST(ToolBar, MalformedOrMissingResourcesAreRefused)
{
    TestResources resources;
    ASSERT_NE(resources.Handle(), (HMODULE)NULL);
    CToolBar bar;
    EXPECT_FALSE(bar.LoadToolBar(IDR_TEST_BADTOOLBAR));   // claims more buttons than it holds
    EXPECT_EQ(bar.GetCount(), 0);
    EXPECT_FALSE(bar.LoadToolBar(12345));
}

TEST(FileDialog, TheFilterSplitsAtBarsButNotInsideDoubleByteCharacters)
{
    // 亅 is 81 7C in code page 936: its second byte is '|'.
    CFileDialog dlg(TRUE, "peg", "存档.peg", OFN_HIDEREADONLY, "存档\x81\x7c(*.peg)|*.peg|All (*.*)|*.*||");
    std::vector<std::string> parts;
    for (LPCSTR p = dlg.m_ofn.lpstrFilter; *p != '\0'; p += strlen(p) + 1)
        parts.push_back(p);
    std::vector<std::string> expected = {"存档\x81\x7c(*.peg)", "*.peg", "All (*.*)", "*.*"};
    EXPECT_EQ(parts, expected);
    EXPECT_STREQ(dlg.m_ofn.lpstrFile, "存档.peg");
    EXPECT_STREQ(dlg.m_ofn.lpstrDefExt, "peg");
}

/////////////////////////////////////////////////////////////////////////////
// Program entry

namespace {

DWORD RunProbe(const char* lpszArgument)
{
    char szCmdLine[MAX_PATH];
    lstrcpyA(szCmdLine, "fw_winmain_probe.exe ");
    lstrcatA(szCmdLine, lpszArgument);
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!::CreateProcessA(NULL, szCmdLine, NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi))
        return (DWORD)-1;
    DWORD dwExitCode = (DWORD)-2;
    if (::WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0)
        ::GetExitCodeProcess(pi.hProcess, &dwExitCode);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return dwExitCode;
}

}  // namespace

TEST(App, TheFrameworksEntryPointRunsTheApplication)
{
    // InitInstance, the loop until the main window closes, ExitInstance's code.
    EXPECT_EQ(RunProbe("run"), 40u);
    // A failed InitInstance still ends through ExitInstance.
    EXPECT_EQ(RunProbe("fail"), 41u);
}
