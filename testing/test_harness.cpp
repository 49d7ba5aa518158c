// The environment every Windows test relies on: code page 936, a display for
// windows, resource-only libraries read by name, undecorated stdcall exports,
// and fonts that draw Chinese glyphs.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "GdiObjectCount.h"
#include "harness_res_ids.h"

TEST(Harness, AnsiCodePageIs936)
{
    EXPECT_EQ(GetACP(), 936u);
    // Narrow literals are compiled to GBK bytes.
    EXPECT_STREQ("宋体", "\xCB\xCE\xCC\xE5");
}

TEST(Harness, WindowIsCreatedOnTheTestDisplay)
{
    HWND wnd = CreateWindowA("STATIC", "窗口", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(wnd, nullptr) << "no window: is the test X display running?";
    char title[32] = {};
    GetWindowTextA(wnd, title, sizeof title);
    EXPECT_STREQ(title, "窗口");
    EXPECT_TRUE(DestroyWindow(wnd));
}

TEST(Harness, ResourceLibraryStringsReadBackByteForByte)
{
    HMODULE res = LoadLibraryExA("harness_res.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(res, nullptr);
    struct Case { UINT id; const char* expected; } cases[] = {
        {IDS_HARNESS_GREETING, "加载错误！\n\n点击确定退出程序。"},
        {IDS_HARNESS_FONT, "宋体"},
        {IDS_HARNESS_PATH, "路径\\文件"},
    };
    for (const Case& c : cases) {
        char buf[256] = {};
        int n = LoadStringA(res, c.id, buf, sizeof buf);
        EXPECT_EQ(std::string(buf, n), std::string(c.expected)) << "string " << c.id;
    }
    FreeLibrary(res);
}

TEST(Harness, ResourceLibraryVersionBlock)
{
    char path[MAX_PATH] = {};
    HMODULE res = LoadLibraryExA("harness_res.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(res, nullptr);
    GetModuleFileNameA(GetModuleHandleA(nullptr), path, MAX_PATH);
    FreeLibrary(res);
    std::string file(path);
    file = file.substr(0, file.find_last_of('\\') + 1) + "harness_res.dll";

    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(file.c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(file.c_str(), 0, size, block.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT len = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &len));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010002u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00030004u);
    char* text = nullptr;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\StringFileInfo\\080403a8\\FileDescription",
                               reinterpret_cast<void**>(&text), &len));
    EXPECT_STREQ(text, "资源库");
}

TEST(Harness, StdcallExportFoundByPlainName)
{
    HMODULE lib = LoadLibraryA("harness_stdcall.dll");
    ASSERT_NE(lib, nullptr);
    using AddFn = int(WINAPI*)(int, int);
    auto add = reinterpret_cast<AddFn>(reinterpret_cast<void*>(GetProcAddress(lib, "HarnessAdd")));
    ASSERT_NE(add, nullptr);
    EXPECT_EQ(add(40, 2), 42);
    // The decorated forms must not be what is exported.
    EXPECT_EQ(GetProcAddress(lib, "HarnessAdd@8"), nullptr);
    EXPECT_EQ(GetProcAddress(lib, "_HarnessAdd@8"), nullptr);
    FreeLibrary(lib);
}

// Draws one character into a monochrome memory bitmap and returns its bits.
static std::vector<unsigned char> RenderGlyph(HDC dc, const char* ch)
{
    const int size = 48;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = size;
    bi.bmiHeader.biHeight = -size;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bmp);
    RECT r = {0, 0, size, size};
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    TextOutA(dc, 4, 4, ch, lstrlenA(ch));
    GdiFlush();
    const unsigned char* p = static_cast<const unsigned char*>(bits);
    std::vector<unsigned char> out(p, p + size * size * 4);
    SelectObject(dc, old);
    DeleteObject(bmp);
    return out;
}

TEST(Harness, SongFaceDrawsDistinctChineseGlyphs)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT font = CreateFontA(-32, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, "宋体");
    HGDIOBJ oldFont = SelectObject(dc, font);
    char face[64] = {};
    GetTextFaceA(dc, sizeof face, face);
    EXPECT_STREQ(face, "宋体");
    // Missing glyphs all draw as the same box; real ones differ.
    auto song = RenderGlyph(dc, "宋");
    auto ti = RenderGlyph(dc, "体");
    auto blank = RenderGlyph(dc, "");
    EXPECT_NE(song, blank);
    EXPECT_NE(song, ti);
    SelectObject(dc, oldFont);
    DeleteObject(font);
    DeleteDC(dc);
}

// The leak checks' counter: a brush left undeleted shows in the count.
TEST(Harness, GdiObjectCounterSeesALeakedBrush)
{
    const int before = CountProcessGdiObjects();
    ASSERT_GE(before, 0) << "no GDI object count on this system";
    HBRUSH leaked = CreateSolidBrush(RGB(10, 20, 30));
    ASSERT_NE(leaked, nullptr);
    EXPECT_EQ(CountProcessGdiObjects(), before + 1);
    HGDIOBJ stock = GetStockObject(BLACK_BRUSH);   // stock objects are not counted
    EXPECT_NE(stock, nullptr);
    EXPECT_EQ(CountProcessGdiObjects(), before + 1);
    DeleteObject(leaked);
    EXPECT_EQ(CountProcessGdiObjects(), before);
    EXPECT_TRUE(GdiCounterSeesABrush());
}
