// Conversions and system services: wide strings, GDI+ encoders, the fault
// reporter (through the Tallowend.dll stand-in), the mail client, text
// fitting, sliding windows and display modes.
//
// Chinese literals are UTF-8 here and GBK at run time (code page 936).
#include "Conversions.h"
#include "DisplayServices.h"
#include "RuntimeTestSupport.h"

#include <gdiplus.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

TEST(Conversions, WideAndAnsiCopies)
{
    WCHAR* wide = AnsiToWideAlloc("中文abc");
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(std::wstring(wide), std::wstring(L"\u4E2D\u6587abc"));
    char* ansi = WideToAnsiAlloc(wide);
    ASSERT_NE(ansi, nullptr);
    EXPECT_STREQ(ansi, "中文abc");
    delete[] wide;
    delete[] ansi;
    EXPECT_EQ(AnsiToWideAlloc(nullptr), nullptr);
    EXPECT_EQ(WideToAnsiAlloc(nullptr), nullptr);
    WCHAR* empty = AnsiToWideAlloc("");
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty[0], 0);
    delete[] empty;
}

TEST(Conversions, EncoderLookup)
{
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    ASSERT_EQ(Gdiplus::GdiplusStartup(&token, &input, nullptr), Gdiplus::Ok);
    CLSID clsid = {};
    EXPECT_GE(GetEncoderClsid(L"image/png", &clsid), 0);
    EXPECT_GE(GetEncoderClsid(L"image/bmp", &clsid), 0);
    EXPECT_EQ(GetEncoderClsid(L"image/none", &clsid), -1);
    Gdiplus::GdiplusShutdown(token);
}

TEST(FaultReporter, ForwardsPointerSizedTextsToTallowend)
{
    TempFolder folder;
    const std::string report = folder.File("faults.txt");
    SetEnvironmentVariableA("TALLOWEND_REPORT_FILE", report.c_str());

    // A text placed above 4 GB on the 64-bit build: its address must arrive
    // whole.
    char* high = static_cast<char*>(
        VirtualAlloc(nullptr, 4096, MEM_RESERVE | MEM_COMMIT | MEM_TOP_DOWN, PAGE_READWRITE));
    ASSERT_NE(high, nullptr);
    if (sizeof(void*) == 8) {
        EXPECT_GT(reinterpret_cast<uintptr_t>(high), 0xFFFFFFFFu);
    }
    strcpy(high, "服务器文本");
    EXPECT_TRUE(PostFaultReport(97, 739, high, 0, 427, "context", 0));
    EXPECT_TRUE(PostFaultReport(97, 739, nullptr, 5, 435, nullptr, 1));
    VirtualFree(high, 0, MEM_RELEASE);
    SetEnvironmentVariableA("TALLOWEND_REPORT_FILE", nullptr);

    EXPECT_EQ(TempFolder::ReadAll(report),
              "PostFault 97 739 \"服务器文本\" 0 427 \"context\" 0\n"
              "PostFault 97 739 null 5 435 null 1\n");
}

TEST(FaultReporter, MissingLibraryDoesNothing)
{
    CFaultReporterBinding missing("NoSuchFaultReporter.dll");
    EXPECT_FALSE(missing.Post(1, 2, 3, 4, 5, 6, 7));
    EXPECT_FALSE(missing.Post(1, 2, 3, 4, 5, 6, 7));   // looked up once, still nothing
    CFaultReporterBinding noExport("kernel32.dll");
    EXPECT_FALSE(noExport.Post(1, 2, 3, 4, 5, 6, 7));
}

TEST(SystemServices, VersionStringAndImageList)
{
    char productName[256] = {};
    DWORD size = sizeof(productName);
    const bool haveName = RegGetValueA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows NT\\CurrentVersion",
                                       "ProductName", RRF_RT_REG_SZ, nullptr, productName, &size) == ERROR_SUCCESS;
    char text[512];
    ASSERT_EQ(GetWindowsVersionString(text, sizeof(text)), haveName ? 1 : 0);
    if (haveName) {
        const std::string value = text;
        EXPECT_EQ(value.rfind(std::string(productName) + "(", 0), 0u) << value;
        EXPECT_EQ(value.back(), ')');
    }
    char tiny[4];
    if (haveName) {
        EXPECT_EQ(GetWindowsVersionString(tiny, sizeof(tiny)), 1);
        EXPECT_EQ(strlen(tiny), 3u);
    }
    EXPECT_NE(GetSystemImageList(TRUE), nullptr);
}

struct ShellCall {
    std::string verb, file, parameters;
    INT show;
};
std::vector<ShellCall> g_shellCalls;

HINSTANCE WINAPI RecordShellExecute(HWND, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR, INT show)
{
    g_shellCalls.push_back({verb ? verb : "", file ? file : "", parameters ? parameters : "<null>", show});
    return reinterpret_cast<HINSTANCE>(42);
}

TEST(MailClient, SplitsTheCommandAtQuotes)
{
    const struct {
        const char* command;
        BOOL ok;
        const char* program;
        const char* parameters;
    } cases[] = {
        {"\"C:\\Program Files\\Mail\\mail.exe\" /mailurl:%1", TRUE, "C:\\Program Files\\Mail\\mail.exe", " /mailurl:%1"},
        {"C:\\mail.exe \"%1\" /compose", TRUE, "C:\\mail.exe", "\"%1\" /compose"},
        {"C:\\mail.exe", TRUE, "C:\\mail.exe", ""},
        {"\"C:\\邮件\\mail.exe\"", TRUE, "C:\\邮件\\mail.exe", ""},
        {"\"\"", FALSE, "", ""},
        {"", FALSE, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        CString program;
        CString parameters;
        EXPECT_EQ(SplitMailCommand(c.command, &program, &parameters), c.ok);
        if (c.ok) {
            EXPECT_STREQ(program, c.program);
            EXPECT_STREQ(parameters, c.parameters);
        }
    }
}

TEST(MailClient, StartsTheRegisteredClient)
{
    const char* mailKey = "SOFTWARE\\Clients\\Mail";
    HKEY key = NULL;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, mailKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    char previous[256] = {};
    DWORD previousSize = sizeof(previous);
    const bool hadDefault = RegQueryValueExA(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(previous),
                                             &previousSize) == ERROR_SUCCESS;
    RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>("RuntimeTestMail"), 16);
    HKEY command = NULL;
    RegCreateKeyExA(key, "RuntimeTestMail\\shell\\open\\command", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &command,
                    nullptr);
    const char commandLine[] = "\"%RUNTIME_TEST_MAIL%\\mail.exe\" /compose";
    RegSetValueExA(command, nullptr, 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(commandLine), sizeof(commandLine));
    RegCloseKey(command);
    SetEnvironmentVariableA("RUNTIME_TEST_MAIL", "C:\\Mail Folder");

    g_shellCalls.clear();
    ShellExecuteRoutine previousRoutine = SetShellExecuteRoutine(RecordShellExecute);
    EXPECT_EQ(LaunchMailClient(), 1);
    ASSERT_EQ(g_shellCalls.size(), 1u);
    EXPECT_EQ(g_shellCalls[0].verb, "open");
    EXPECT_EQ(g_shellCalls[0].file, "C:\\Mail Folder\\mail.exe");
    EXPECT_EQ(g_shellCalls[0].parameters, " /compose");
    EXPECT_EQ(g_shellCalls[0].show, SW_SHOWNORMAL);

    // An expanded command longer than 256 characters is not started cut short.
    SetEnvironmentVariableA("RUNTIME_TEST_MAIL", std::string(300, 'x').c_str());
    EXPECT_EQ(LaunchMailClient(), 0);
    EXPECT_EQ(g_shellCalls.size(), 1u);

    // No client registered under the name.
    RegDeleteTreeA(key, "RuntimeTestMail");
    EXPECT_EQ(LaunchMailClient(), 0);
    SetShellExecuteRoutine(previousRoutine);
    SetEnvironmentVariableA("RUNTIME_TEST_MAIL", nullptr);
    if (hadDefault)
        RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(previous), previousSize);
    else
        RegDeleteValueA(key, nullptr);
    RegCloseKey(key);
}

TEST(MessageBoxes, IndirectBoxAnswersTheButtonPressed)
{
    const char* caption = "RuntimeTestBox";
    std::thread presser([caption] {
        for (int attempt = 0; attempt < 500; ++attempt) {
            if (HWND box = FindWindowA("#32770", caption)) {
                PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
                return;
            }
            Sleep(10);
        }
    });
    const int pressed = ShowMessageBoxIndirect(NULL, "text", caption, MB_OKCANCEL, IDI_INFORMATION, NULL);
    presser.join();
    EXPECT_EQ(pressed, IDCANCEL);
}

// ---- Text fitting ---------------------------------------------------------------------------

TEST(TextFitting, LineLengths)
{
    const struct {
        const char* text;
        int fit;
        int length;
    } cases[] = {
        {"abcdef", 4, 4},
        {"ab\ncd", 5, 3},      // ends after the line feed
        {"ab\r\ncd", 6, 4},
        {"\n\n", 2, 1},
        {"中文字", 3, 2},       // never inside a character
        {"中文字", 0, 2},       // at least one character
        {"abc", 0, 1},
        {"abc", 10, 3},
        {"", 5, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FitLineLength(c.text, c.fit), c.length) << c.text << " fit " << c.fit;
}

class TextFittingDC : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dc = CreateCompatibleDC(NULL);
        m_bitmap = CreateCompatibleBitmap(GetDC(NULL), 200, 200);
        m_oldBitmap = SelectObject(m_dc, m_bitmap);
        m_font = CreateFontA(16, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, "宋体");
        m_oldFont = SelectObject(m_dc, m_font);
        TEXTMETRICA metrics;
        GetTextMetricsA(m_dc, &metrics);
        m_rowHeight = metrics.tmHeight;
    }
    void TearDown() override
    {
        SelectObject(m_dc, m_oldFont);
        SelectObject(m_dc, m_oldBitmap);
        DeleteObject(m_font);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    int Width(const char* text) const
    {
        SIZE size;
        GetTextExtentPoint32A(m_dc, text, static_cast<int>(strlen(text)), &size);
        return size.cx;
    }
    int Rows(const char* text, int width)
    {
        RECT rect = {10, 20, 0, 0};
        EXPECT_EQ(DrawTextFit(m_dc, text, width, &rect, TRUE), 1);
        EXPECT_EQ(rect.right, 10 + width);
        return (rect.bottom - 20) / m_rowHeight;
    }

    HDC m_dc = NULL;
    HBITMAP m_bitmap = NULL;
    HGDIOBJ m_oldBitmap = NULL;
    HFONT m_font = NULL;
    HGDIOBJ m_oldFont = NULL;
    int m_rowHeight = 0;
};

TEST_F(TextFittingDC, MeasuresRowsByCharacterCount)
{
    ASSERT_GT(m_rowHeight, 0);
    EXPECT_EQ(Rows("abc\ndef", 1000), 2);
    EXPECT_EQ(Rows("\n\n", 1000), 2);
    EXPECT_EQ(Rows("", 1000), 0);
    EXPECT_EQ(Rows("aaaaaaaaaaaaaaaaaaaa", Width("aaaaa")), 4);          // 20 characters, 5 a row
    EXPECT_EQ(Rows("中文中文中文", Width("中文") + Width("中") / 2), 3);   // whole characters only
    EXPECT_EQ(Rows("中文ab", 1), 4);                                      // too narrow: one a row
    RECT untouched = {1, 2, 3, 4};
    EXPECT_EQ(DrawTextFit(m_dc, nullptr, 100, &untouched, TRUE), 1);
}

TEST_F(TextFittingDC, DrawsEachLineInItsRow)
{
    RECT all = {0, 0, 200, 200};
    FillRect(m_dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetTextColor(m_dc, RGB(0, 0, 0));
    SetBkMode(m_dc, TRANSPARENT);
    RECT rect = {0, 0, 200, 200};
    ASSERT_EQ(DrawTextFit(m_dc, "\nWWW", 200, &rect, FALSE), 1);
    auto inkInRow = [this](int row) {
        for (int y = row * m_rowHeight; y < (row + 1) * m_rowHeight; ++y)
            for (int x = 0; x < 60; ++x)
                if (GetPixel(m_dc, x, y) != RGB(255, 255, 255))
                    return true;
        return false;
    };
    EXPECT_FALSE(inkInRow(0));   // the line feed shows as a space
    EXPECT_TRUE(inkInRow(1));
    EXPECT_FALSE(inkInRow(2));
}

// ---- Sliding windows and display modes --------------------------------------------------------

TEST(SlidingWindows, Positions)
{
    const RECT target = {100, 50, 300, 150};   // 200 x 100
    const struct {
        int direction;
        BOOL in;
        DWORD elapsed;
        LONG x, y;
    } cases[] = {
        {1, TRUE, 0, -100, 50},  {1, TRUE, 50, 0, 50},     {1, TRUE, 100, 100, 50}, {1, TRUE, 150, 100, 50},
        {2, TRUE, 0, 100, -50},  {3, TRUE, 0, 300, 50},    {4, TRUE, 0, 100, 150},  {4, FALSE, 0, 100, 50},
        {4, FALSE, 100, 100, 150}, {3, FALSE, 25, 150, 50},
    };
    for (const auto& c : cases) {
        const POINT at = SlidePosition(c.direction, target, c.elapsed, 100, c.in);
        EXPECT_EQ(at.x, c.x) << c.direction << " " << c.elapsed;
        EXPECT_EQ(at.y, c.y) << c.direction << " " << c.elapsed;
    }
    const POINT immediate = SlidePosition(1, target, 0, 0, TRUE);
    EXPECT_EQ(immediate.x, 100);
}

TEST(SlidingWindows, EndsExactlyAtTheTarget)
{
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "slide", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, NULL,
                                  NULL, NULL, NULL);
    ASSERT_NE(window, nullptr);
    const RECT target = {100, 100, 260, 180};
    EXPECT_TRUE(SlideWindowIn(window, 2, target, 60));
    RECT rect;
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, 100);
    EXPECT_EQ(rect.top, 100);
    EXPECT_EQ(rect.right, 260);
    EXPECT_EQ(rect.bottom, 180);
    EXPECT_TRUE(SlideWindowOut(window, 3, target, 0));
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, 260);
    EXPECT_FALSE(SlideWindowIn(window, 5, target, 10));
    DestroyWindow(window);
    EXPECT_FALSE(SlideWindowIn(window, 1, target, 10));
}

struct DisplayCall {
    DWORD flags;
    DWORD bits, width, height, fields;
};
std::vector<DisplayCall> g_displayCalls;
LONG g_testAnswer = DISP_CHANGE_SUCCESSFUL;

LONG WINAPI RecordDisplayChange(DEVMODEA* mode, DWORD flags)
{
    g_displayCalls.push_back({flags, mode->dmBitsPerPel, mode->dmPelsWidth, mode->dmPelsHeight, mode->dmFields});
    return (flags & CDS_TEST) ? g_testAnswer : DISP_CHANGE_SUCCESSFUL;
}

TEST(DisplayModes, AppliesOnlyWhatPassedTheTest)
{
    ChangeDisplaySettingsRoutine previous = SetChangeDisplaySettingsRoutine(RecordDisplayChange);
    g_displayCalls.clear();
    g_testAnswer = DISP_CHANGE_BADMODE;
    EXPECT_EQ(SetDisplayMode(16, 800, 600), 0);
    ASSERT_EQ(g_displayCalls.size(), 1u);   // the test only
    EXPECT_EQ(g_displayCalls[0].flags, static_cast<DWORD>(CDS_TEST));

    g_displayCalls.clear();
    g_testAnswer = DISP_CHANGE_SUCCESSFUL;
    EXPECT_EQ(SetDisplayMode(16, 800, 600), 1);
    ASSERT_EQ(g_displayCalls.size(), 2u);
    EXPECT_EQ(g_displayCalls[1].flags, static_cast<DWORD>(CDS_UPDATEREGISTRY));
    EXPECT_EQ(g_displayCalls[1].bits, 16u);
    EXPECT_EQ(g_displayCalls[1].width, 800u);
    EXPECT_EQ(g_displayCalls[1].height, 600u);
    EXPECT_EQ(g_displayCalls[1].fields,
              static_cast<DWORD>(DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFREQUENCY));
    SetChangeDisplaySettingsRoutine(previous);

    int width = 0;
    int height = 0;
    GetScreenSize(&width, &height);
    EXPECT_EQ(width, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(height, GetSystemMetrics(SM_CYSCREEN));
}

}  // namespace
