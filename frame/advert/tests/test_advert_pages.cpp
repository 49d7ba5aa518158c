// Advert page choice and local page names.
#include <gtest/gtest.h>

#include "AdvertPages.h"

#include <set>
#include <string>

TEST(AdvertPages, DefaultPageByPageId)
{
    struct Case
    {
        int id;
        const char* page;
    };
    const Case cases[] = {
        {1003, "file://S:\\share\\default_hzh.htm"}, {1009, "file://S:\\share\\default_hzh.htm"},
        {1004, "file://S:\\share\\warning60.htm"},   {1006, "file://S:\\share\\exitad.htm"},
        {1007, "file://S:\\share\\exdlgad.htm"},     {1005, "file://S:\\share\\gg.htm"},
        {1008, "file://S:\\share\\gg.htm"},          {0, "file://S:\\share\\gg.htm"},
        {-1, "file://S:\\share\\gg.htm"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(advert::DefaultPage(c.id, "S:\\share"), c.page) << c.id;
}

TEST(AdvertPages, ChoiceOfPageForAnArea)
{
    const std::set<std::string> existing = {"S:\\share\\Advert\\2\\own.htm"};
    auto exists = [&existing](const std::string& p) { return existing.count(p) != 0; };
    struct Case
    {
        const char* what;
        const char* value;
        int area, id;
        const char* page;
    };
    const Case cases[] = {
        {"remote page unchanged", "http://ads.example/a?x=1", 2, 1003, "http://ads.example/a?x=1"},
        {"remote page in capitals", "HTTP://ADS.EXAMPLE/", 2, 1003, "HTTP://ADS.EXAMPLE/"},
        {"https is not taken as remote", "https://ads.example/", 5, 1006, "file://S:\\share\\exitad.htm"},
        {"own page that exists", "own.htm", 2, 1003, "file://S:\\share\\Advert\\2\\own.htm"},
        {"own page of another area", "own.htm", 3, 1004, "file://S:\\share\\warning60.htm"},
        {"no value", "", 2, 1007, "file://S:\\share\\exdlgad.htm"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(advert::ChoosePage(c.value, "S:\\share", c.area, c.id, exists), c.page) << c.what;
}

TEST(AdvertPages, LocalPageNamesAreBounded)
{
    struct Case
    {
        const char* what;
        std::string name;
        bool ok;
        std::string result;
    };
    const Case cases[] = {
        {"extension replaced", "ad01.gif", true, "ad01.htm"},
        {"last dot counts", "a.b.swf", true, "a.b.htm"},
        {"no dot refused", "page", false, ""},
        {"dot at the end", "page.", true, "page.htm"},
        {"259 bytes with a dot near the end", std::string(250, 'p') + ".abcdefgh", true, std::string(250, 'p') + ".htm"},
        {"dot only beyond 259 bytes", std::string(300, 'p') + ".gif", false, ""},
        {"result too long", std::string(257, 'p') + ".g", false, ""},
    };
    for (const Case& c : cases) {
        std::string result;
        EXPECT_EQ(advert::LocalPageName(c.name.c_str(), &result), c.ok) << c.what;
        EXPECT_EQ(result, c.result) << c.what;
    }
    std::string result;
    EXPECT_FALSE(advert::LocalPageName(nullptr, &result));
}
