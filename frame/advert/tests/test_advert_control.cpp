// The advert control's wrapper against the stand-in control: showing pages
// with and without the version flag, local page names, and the forwarding to
// the controls of one window.
#include <gtest/gtest.h>

#include "AxControls.h"
#include "AxStandInTest.h"
#include "QVAdCtrl.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

class Host : public CWnd
{
public:
    BOOL CreateHost()
    {
        return CreateEx(0, AfxRegisterWndClass(0), "adverts", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 300, 200, NULL, NULL);
    }
};

class AdvertControl : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxOleInitThread());
        ASSERT_TRUE(m_server.Serve("QVAdCtrl.ocx", CLSID_QVAdCtrl));
        ASSERT_TRUE(m_host.CreateHost());
        ASSERT_TRUE(m_ad.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 100), &m_host, 1));
        char dir[MAX_PATH];
        ::GetTempPathA(MAX_PATH, dir);
        m_folder = std::string(dir);
        m_server.ClearLog();
    }
    void TearDown() override
    {
        m_ad.DestroyWindow();
        m_host.DestroyWindow();
        m_server.Revoke();
    }
    std::vector<std::string> TakeLog()
    {
        std::vector<std::string> lines = Lines(m_server.ReadLog());
        m_server.ClearLog();
        return lines;
    }
    CStandInServer m_server;
    Host m_host;
    CQVAdCtrl m_ad;
    std::string m_folder;
};

} // namespace

TEST_F(AdvertControl, ShowPageWithAndWithoutTheVersionFlag)
{
    std::string page = m_folder + "mardavel_ad_page.htm";
    FILE* f = fopen(page.c_str(), "w");
    ASSERT_NE(f, nullptr);
    fputs("<html><body>local advert</body></html>", f);
    fclose(f);
    std::string asked = m_folder + "mardavel_ad_page.gif";
    struct Case
    {
        const char* what;
        BOOL version;
        const char* text;
        BOOL flag;
        int result;
        BOOL requested;
        std::vector<std::string> log;
    };
    const Case cases[] = {
        {"empty text", TRUE, "", TRUE, 0, FALSE, {}},
        {"new control, flag", TRUE, "http://ads.example/a", TRUE, 1, TRUE,
         {"m13(I4:1,I4:0,BSTR:http://ads.example/a)", "m9(I4:0,BSTR:,I4:0,I4:0,I4:0,I4:0)"}},
        {"new control, no flag", TRUE, "http://ads.example/b", FALSE, 1, TRUE,
         {"m13(I4:1,I4:0,BSTR:http://ads.example/b)"}},
        {"old control, flag: local page", FALSE, asked.c_str(), TRUE, 0, TRUE,
         {"m9(I4:0,BSTR:" + page + ",I4:0,I4:0,I4:0,I4:0)"}},
        {"old control, no flag", FALSE, asked.c_str(), FALSE, 0, TRUE, {}},
    };
    for (const Case& c : cases) {
        m_ad.m_bVersion = c.version;
        m_ad.m_bPageRequested = FALSE;
        EXPECT_EQ(m_ad.ShowPage(c.text, c.flag), c.result) << c.what;
        EXPECT_EQ(m_ad.m_bPageRequested, c.requested) << c.what;
        EXPECT_EQ(TakeLog(), c.log) << c.what;
    }
    ::DeleteFileA(page.c_str());
}

TEST_F(AdvertControl, LocalPagesOnlyWhenTheFileExists)
{
    EXPECT_FALSE(m_ad.ShowLocalPage("no extension"));
    EXPECT_FALSE(m_ad.ShowLocalPage((m_folder + "mardavel_missing.swf").c_str()));
    EXPECT_FALSE(m_ad.ShowLocalPage(std::string(400, 'x').c_str()));
    EXPECT_TRUE(TakeLog().empty());
}

TEST_F(AdvertControl, NotifyReachesOnlyTheControlsOfTheWindow)
{
    Host other;
    ASSERT_TRUE(other.CreateHost());
    CQVAdCtrl elsewhere;
    ASSERT_TRUE(elsewhere.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50), &other, 2));
    m_server.ClearLog();
    CQVAdCtrl notCreated;
    CQVAdCtrl* controls[] = {&m_ad, &elsewhere, &notCreated, NULL};
    NotifyAdControls(m_host.GetSafeHwnd(), 7, 8, controls, 4);
    EXPECT_EQ(TakeLog(), (std::vector<std::string>{"m2()", "m1(I4:7,I4:8)", "m2()"}));
    elsewhere.DestroyWindow();
    other.DestroyWindow();
}
