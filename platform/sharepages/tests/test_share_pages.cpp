// The shared folder's default advert pages are there for every area the
// program falls back on, each a whole HTML page with a title.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

std::string ReadFileText(const std::string& path)
{
    std::string text;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (h == INVALID_HANDLE_VALUE)
        return text;
    char buf[4096];
    DWORD n = 0;
    while (ReadFile(h, buf, sizeof(buf), &n, NULL) && n > 0)
        text.append(buf, n);
    CloseHandle(h);
    return text;
}

TEST(SharePages, DefaultPageOfEveryAreaIsThere)
{
    struct Case
    {
        const char* what;
        const char* file;
    };
    const Case cases[] = {
        {"areas 1003 and 1009", "default_hzh.htm"},
        {"area 1004", "warning60.htm"},
        {"area 1006", "exitad.htm"},
        {"area 1007", "exdlgad.htm"},
        {"every other area", "gg.htm"},
    };
    char folder[MAX_PATH];
    const DWORD n = GetModuleFileNameA(NULL, folder, MAX_PATH);
    ASSERT_TRUE(n > 0 && n < MAX_PATH);
    std::string dir(folder, n);
    dir.resize(dir.find_last_of('\\') + 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string text = ReadFileText(dir + c.file);
        ASSERT_FALSE(text.empty()) << dir + c.file;
        EXPECT_EQ(text.compare(0, 6, "<html>"), 0);
        EXPECT_NE(text.find("<title>"), std::string::npos);
        EXPECT_NE(text.find("</body>"), std::string::npos);
        EXPECT_NE(text.find("</html>"), std::string::npos);
    }
}

}  // namespace
