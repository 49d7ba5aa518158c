// What a message box shows for a type word, and how its text is cut.
#include <gtest/gtest.h>

#include "MsgBoxModel.h"

#include <string>
#include <vector>

namespace {

using namespace kit;

TEST(MsgBoxModel, ButtonsByType)
{
    struct Case
    {
        unsigned type;
        std::vector<std::string> keys;
        std::vector<unsigned> captions;
        std::vector<int> results;
    };
    const Case cases[] = {
        {0x00, {"IDOK"}, {29700}, {1}},
        {0x01, {"IDOK", "IDCANCEL"}, {29700, 29706}, {1, 2}},
        {0x02, {"IDABORT", "IDRETRY", "IDIGNORE"}, {29701, 29702, 29703}, {3, 4, 5}},
        {0x03, {"IDYES", "IDNO", "IDCANCEL"}, {29704, 29705, 29706}, {6, 7, 2}},
        {0x24, {"IDYES", "IDNO"}, {29704, 29705}, {6, 7}},
        {0x05, {"IDRETRY", "IDCANCEL"}, {29702, 29706}, {4, 2}},
        {0x06, {}, {}, {}},
        {0x0F, {}, {}, {}},
        {0x80000001u, {"IDOK", "IDCANCEL"}, {29700, 29706}, {1, 2}},
    };
    for (const Case& c : cases) {
        const MsgBoxButtons b = ButtonsForType(c.type);
        ASSERT_EQ(b.count, (int)c.keys.size()) << std::hex << c.type;
        for (int i = 0; i < b.count; i++) {
            EXPECT_EQ(b.button[i].key, c.keys[i]) << std::hex << c.type;
            EXPECT_EQ(b.button[i].captionId, c.captions[i]) << std::hex << c.type;
            EXPECT_EQ(b.button[i].result, c.results[i]) << std::hex << c.type;
        }
    }
}

TEST(MsgBoxModel, IconKeysByType)
{
    struct Case { unsigned type; const char* key; unsigned icon; };
    const Case cases[] = {
        {0x10, "ICONHAND", 32513},        {0x20, "ICONQUESTION", 32514}, {0x30, "ICONEXCLAMATION", 32515},
        {0x40, "ICONASTERISK", 32516},    {0x00, "IDI_EXCLAMATION", 32515}, {0x50, "IDI_EXCLAMATION", 32515},
        {0x124, "ICONQUESTION", 32514},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(IconForType(c.type).key, c.key) << std::hex << c.type;
        EXPECT_EQ(IconForType(c.type).systemIcon, c.icon) << std::hex << c.type;
    }
}

TEST(MsgBoxModel, DefaultButtonAndTimeoutResult)
{
    struct Case { const char* what; unsigned type; int focus; int timeout; };
    const Case cases[] = {
        {"OK/Cancel, first", 0x001, 0, 1},
        {"OK/Cancel, DEFBUTTON2", 0x101, 1, 2},
        {"OK alone, DEFBUTTON2 has no second", 0x100, 0, 1},
        {"Yes/No/Cancel, DEFBUTTON3", 0x203, 2, 2},
        {"Yes/No, DEFBUTTON3 has no third", 0x204, 0, 6},
        {"Abort/Retry/Ignore, DEFBUTTON2", 0x102, 1, 4},
        {"DEFBUTTON4 is the first", 0x303, 0, 6},
        {"no buttons: the countdown closes", 0x006, 0, 2},
    };
    for (const Case& c : cases) {
        const MsgBoxDefault d = DefaultForType(c.type, ButtonsForType(c.type));
        EXPECT_EQ(d.focusIndex, c.focus) << c.what;
        EXPECT_EQ(d.timeoutResult, c.timeout) << c.what;
    }
}

TEST(MsgBoxModel, LineCutting)
{
    struct Case { const char* what; std::string text; std::vector<std::string> lines; };
    const Case cases[] = {
        {"backslash-n", "a\\nb", {"a", "b"}},
        {"CR LF once", "a\r\nb", {"a", "b"}},
        {"LF", "a\nb", {"a", "b"}},
        {"CR", "a\rb", {"a", "b"}},
        {"an empty line counts", "a\n\nb", {"a", "", "b"}},
        {"empty text", "", {""}},
        {"trailing break", "a\n", {"a", ""}},
        {"a lone backslash", "a\\", {"a\\"}},
        {"backslash then other", "a\\tb", {"a\\tb"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CutMessageLines(c.text), c.lines) << c.what;
    EXPECT_EQ(MinimumBoxWidth(60, 3), 264);
}

}  // namespace
