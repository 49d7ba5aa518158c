// The owner-draw menu's arithmetic and text rules: the version classes, the
// classic-theme name, the style matrix, LightenColor, item sizes, tab
// splitting and alignment, the mnemonic search and the shared image ids.
#include <gtest/gtest.h>

#include <string.h>

#include "OrnMenuLogic.h"

namespace {

using namespace ornmenu;

TEST(OrnMenuLogic, VersionClasses)
{
    struct Case
    {
        const char* what;
        bool win9x;
        unsigned major, minor;
        int expected;
    };
    const Case cases[] = {
        {"Windows 3.x family", true, 3, 95, 0},
        {"95", true, 4, 0, 2},
        {"98", true, 4, 10, 3},
        {"Me", true, 4, 90, 4},
        {"NT 4.0", false, 4, 0, 5},
        {"2000", false, 5, 0, 6},
        {"XP", false, 5, 1, 7},
        {"Server 2003 is another NT", false, 5, 2, 1},
        {"7 (and Wine's default) is another NT", false, 6, 1, 1},
        {"10", false, 10, 0, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(VersionClass(c.win9x, c.major, c.minor), c.expected) << c.what;
}

TEST(OrnMenuLogic, ClassicThemeName)
{
    struct Case
    {
        const char* what;
        const char* value;
        bool expected;
    };
    const Case cases[] = {
        {"the classic theme", "C:\\WINDOWS\\Resources\\Themes\\Windows Classic.theme", true},
        {"any case", "c:\\x\\WINDOWS CLASSIC.THEME", true},
        {"the name alone", "Windows Classic.theme", true},
        {"another theme", "C:\\WINDOWS\\Resources\\Themes\\Luna.theme", false},
        {"a longer suffix", "Windows Classic.theme.bak", false},
        {"too short", "Classic.theme", false},
        {"empty", "", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsClassicThemeName(c.value, strlen(c.value) + 1), c.expected) << c.what;
    EXPECT_FALSE(IsClassicThemeName(nullptr, 10));

    // A value of 260 bytes without a terminating zero is read only to its length.
    char value[300];
    memset(value, 'x', sizeof value);
    const char suffix[] = "Windows Classic.theme";
    memcpy(value + 260 - (sizeof suffix - 1), suffix, sizeof suffix - 1);
    EXPECT_TRUE(IsClassicThemeName(value, 260)) << "ends at byte 260";
    EXPECT_FALSE(IsClassicThemeName(value, 250)) << "cut before the suffix ends";
}

TEST(OrnMenuLogic, StyleMatrix)
{
    StyleSettings s;  // themed 1, other 0; select-disabled 1 in style 0, 0 in style 1
    struct Case
    {
        const char* what;
        int versionClass;
        bool classic, palette;
        int style;
        bool selectDisabled;
    };
    const Case cases[] = {
        {"XP with its theme: flat", 7, false, false, 1, false},
        {"XP with the classic theme: classic", 7, true, false, 0, true},
        {"XP themed on a palette display: classic", 7, false, true, 0, false},
        {"2000: classic", 6, false, false, 0, true},
        {"newer NT (class 1): classic", 1, false, false, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const bool themed = IsThemedOs(c.versionClass, c.classic);
        EXPECT_EQ(DrawingStyle(s, themed, c.palette), c.style);
        EXPECT_EQ(SelectDisabled(s, themed), c.selectDisabled);
    }
    s.otherStyle = 1;
    EXPECT_EQ(DrawingStyle(s, false, false), 1) << "the setting for unthemed systems";
    EXPECT_EQ(DrawingStyle(s, false, true), 0) << "a palette display always draws classic";
}

TEST(OrnMenuLogic, LightenColor)
{
    struct Case
    {
        const char* what;
        uint32_t colour;
        double f;
        uint32_t expected;
    };
    const Case cases[] = {
        // c + (255 - c) * f, truncated: 0 + 255 * 0.5 = 127; 100 + 155 * 0.5 = 177; 200 + 55 * 0.5 = 227.
        {"half way", 0xC86400, 0.5, 0xE3B17F},
        {"f 1 is white", 0x123456, 1.0, 0xFFFFFF},
        {"the menu grey (212,208,200)", 0xC8D0D4, 0.5, 0xE3E7E9},  // 212+21=233 208+23=231 200+27=227
        {"f 0 changes nothing", 0x123456, 0.0, 0x123456},
        {"f above 1 changes nothing", 0x123456, 1.5, 0x123456},
        {"a negative f changes nothing", 0x123456, -0.2, 0x123456},
        {"white stays white", 0xFFFFFF, 0.3, 0xFFFFFF},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LightenColor(c.colour, c.f), c.expected) << c.what;
}

TEST(OrnMenuLogic, MeasureItem)
{
    struct Case
    {
        const char* what;
        bool separator;
        int style;
        bool keep;
        int imageHeight, cyMenu, text;
        int width, height;
    };
    const Case cases[] = {
        // Separators: max(cyMenu / 2, (image height + margin) / 2).
        {"separator, half the menu bar", true, 0, true, 15, 19, 0, 0, 9},
        {"separator, a taller image wins", true, 0, true, 30, 19, 0, 0, 17},       // (30 + 4) / 2
        {"separator, style 1 margin 7", true, 1, true, 15, 19, 0, 0, 11},          // (15 + 7) / 2
        // Items: style 0 width = text + 2 x 16 + 1; style 1 = 16 + text + margin + 8.
        {"style 0 item", false, 0, true, 15, 19, 50, 83, 19},                      // max(19, 4 + 15)
        {"style 0 item, tall image", false, 0, true, 20, 19, 50, 83, 24},
        {"style 1 item with extra images", false, 1, true, 15, 19, 50, 81, 22},    // 16+50+7+8; 7+15
        {"style 1 item without extra images", false, 1, false, 15, 19, 50, 78, 19},  // margin 4
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Size s = MeasureItem(c.separator, c.style, c.keep, 16, c.imageHeight, c.cyMenu, c.text);
        EXPECT_EQ(s.width, c.width);
        EXPECT_EQ(s.height, c.height);
    }
}

TEST(OrnMenuLogic, TabsSplitAndAlign)
{
    std::wstring left, right;
    SplitAtTabs(L"&Open\tCtrl+O", &left, &right);
    EXPECT_EQ(left, L"&Open");
    EXPECT_EQ(right, L"Ctrl+O");
    SplitAtTabs(L"a\tmiddle\tend", &left, &right);
    EXPECT_EQ(left, L"a") << "before the first tab";
    EXPECT_EQ(right, L"end") << "after the last tab";
    SplitAtTabs(L"plain", &left, &right);
    EXPECT_EQ(left, L"plain");
    EXPECT_TRUE(right.empty());

    // Widths of 5 per character: the widest left part with a space is "Save &As " = 45.
    std::vector<std::wstring> items = {L"&Open\tCtrl+O", L"Save &As\tCtrl+S", L"E&xit", L"", L"Go\t\tF5"};
    AlignTabs(items, [](const std::wstring& t) { return static_cast<int>(t.size()) * 5; });
    EXPECT_EQ(items[0], L"&Open    \tCtrl+O");
    EXPECT_EQ(items[1], L"Save &As \tCtrl+S");
    EXPECT_EQ(items[2], L"E&xit") << "no tab: unchanged";
    EXPECT_EQ(items[3], L"");
    EXPECT_EQ(items[4], L"Go       \t\tF5") << "the rest kept from the tab on";

    // A measure that never grows ends the padding.
    std::vector<std::wstring> stuck = {L"a\tb", L"long\tc"};
    AlignTabs(stuck, [](const std::wstring& t) { return t == L"long " ? 10 : 0; });
    EXPECT_LE(stuck[0].size(), 20u);
}

TEST(OrnMenuLogic, FindMnemonic)
{
    const std::vector<std::wstring> captions = {L"&Open", L"Save &As", L"", L"&Recent", L"E&xit", L"A&&B"};
    struct Case
    {
        const char* what;
        wchar_t c;
        int expected;
    };
    const Case cases[] = {
        {"first item", L'o', 0},
        {"upper case key", L'A', 1},
        {"upper case caption letter", L'r', 3},
        {"inside the word", L'x', 4},
        {"no such mnemonic", L'z', -1},
        {"the first match wins", L'&', 5},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindMnemonic(captions, c.c), c.expected) << c.what;
    EXPECT_EQ(FindMnemonic({}, L'a'), -1);
}

TEST(OrnMenuLogic, SharedImageIds)
{
    std::vector<uint32_t> ids;
    AddResult r = AddImageId(ids, 100, false);
    EXPECT_EQ(r.index, 0);
    EXPECT_FALSE(r.replaced);
    r = AddImageId(ids, 200, true);
    EXPECT_EQ(r.index, 1);
    EXPECT_EQ(ids, (std::vector<uint32_t>{100, 200, 200, 200})) << "normal, faded, shadow";
    EXPECT_TRUE(HasExtraImages(ids, 1));
    EXPECT_FALSE(HasExtraImages(ids, 0));

    // A command that has an image keeps its index.
    r = AddImageId(ids, 200, true);
    EXPECT_EQ(r.index, 1);
    EXPECT_TRUE(r.replaced);
    EXPECT_TRUE(r.extraInPlace);
    r = AddImageId(ids, 100, true);
    EXPECT_EQ(r.index, 0);
    EXPECT_TRUE(r.replaced);
    EXPECT_FALSE(r.extraInPlace) << "it was added without extra images";
    EXPECT_EQ(ids.size(), 4u);
    EXPECT_EQ(FindImageId(ids, 200), 1);
    EXPECT_EQ(FindImageId(ids, 300), -1);
    EXPECT_FALSE(HasExtraImages(ids, 3)) << "no entries past the end";
    EXPECT_FALSE(HasExtraImages(ids, -1));
}

TEST(OrnMenuLogic, ImagePlacement)
{
    EXPECT_EQ(CentreOffset(23, 16), 4);  // (23 - 16 + 1) / 2
    EXPECT_EQ(CentreOffset(22, 15), 4);
    EXPECT_EQ(CentreOffset(10, 16), 0) << "never negative";
    EXPECT_EQ(ImageBoxTop(25, 15), 3);  // (25 - 15 - 4) / 2
    EXPECT_EQ(ImageBoxTop(15, 15), 0);
}


// A template in the resource layout: u16 flags, u16 id (not for pop-ups), UTF-16 caption and zero.
class TemplateBytes
{
public:
    TemplateBytes() { Word(0), Word(0); }
    TemplateBytes& Item(uint16_t flags, uint16_t id, const wchar_t* text)
    {
        Word(flags);
        if (!(flags & 0x10))
            Word(id);
        for (const wchar_t* t = text; *t; ++t)
            Word(static_cast<uint16_t>(*t));
        Word(0);
        return *this;
    }
    std::vector<uint8_t> bytes;

private:
    void Word(uint16_t w)
    {
        bytes.push_back(static_cast<uint8_t>(w));
        bytes.push_back(static_cast<uint8_t>(w >> 8));
    }
};

TEST(OrnMenuLogic, MenuTemplateLevels)
{
    const uint16_t P = 0x10, E = 0x80;
    TemplateBytes t;
    t.Item(P, 0, L"&File")
        .Item(0, 501, L"&Open\tCtrl+O")
        .Item(P, 0, L"&Recent")
        .Item(E, 511, L"One")
        .Item(P | E, 0, L"&More")  // the last item of File is a pop-up: File ends with More's level
        .Item(E, 521, L"Deep")
        .Item(E, 601, L"&Help")
        .Item(0, 999, L"after the end");
    const std::vector<TemplateItem> items = ReadMenuTemplate(t.bytes.data(), t.bytes.size());
    struct Expect
    {
        const wchar_t* caption;
        int parent;
        uint16_t flags;
    };
    const Expect e[] = {{L"&File", -1, P},   {L"&Open\tCtrl+O", 0, 0}, {L"&Recent", 0, P}, {L"One", 2, 0},
                        {L"&More", 0, P},    {L"Deep", 4, 0},           {L"&Help", -1, 0}};
    ASSERT_EQ(items.size(), sizeof e / sizeof e[0]) << "nothing is read after the top level's last item";
    for (size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(items[i].caption, e[i].caption);
        EXPECT_EQ(items[i].parent, e[i].parent);
        EXPECT_EQ(items[i].flags, e[i].flags) << "MF_END is taken off";
    }
    EXPECT_EQ(items[1].id, 501);
    EXPECT_EQ(items[6].id, 601);

    // Cut short: the items read so far stay; a caption without its zero is dropped.
    struct Cut
    {
        const char* what;
        size_t size;
        size_t items;
    };
    const Cut cuts[] = {
        {"no header", 3, 0},
        {"the header alone", 4, 0},
        {"inside the first caption", 10, 0},
        {"after the first item", 4 + 2 + 12, 1},
        {"inside the second item's id", 4 + 2 + 12 + 3, 1},
    };
    for (const Cut& c : cuts)
        EXPECT_EQ(ReadMenuTemplate(t.bytes.data(), c.size).size(), c.items) << c.what;
    // A header offset past the data reads nothing.
    std::vector<uint8_t> far = t.bytes;
    far[2] = 0xFF;
    far[3] = 0xFF;
    EXPECT_TRUE(ReadMenuTemplate(far.data(), far.size()).empty());
    EXPECT_TRUE(ReadMenuTemplate(nullptr, 10).empty());
}

}  // namespace
