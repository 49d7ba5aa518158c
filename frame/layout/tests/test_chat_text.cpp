// Speakers and balloon texts of chat lines in code page 936, with names
// whose trail bytes are '[' or ']'.
#include <gtest/gtest.h>

#include "ChatText.h"

namespace {

// Code page 936 bytes: ：A3BA, 对B6D4, 张D5C5, 三C8FD, 你C4E3, 好BAC3; the
// characters 815B and 815D have trail bytes '[' and ']'.
#define COLON "\xA3\xBA"
#define TO "\xB6\xD4"
#define ZHANG "\xD5\xC5"
#define HELLO "\xC4\xE3\xBA\xC3"
#define TRAIL_OPEN "\x81\x5B"
#define TRAIL_CLOSE "\x81\x5D"

TEST(ChatText, Lines)
{
    struct Case
    {
        const char* what;
        const char* text;
        bool ok;
        const char* speaker;
        const char* balloon;
    } cases[] = {
        {"plain", "[" ZHANG "]" COLON HELLO, true, ZHANG, HELLO},
        {"a tag ends the name", "[Bob<c=255>]" COLON "hi", true, "Bob", "hi"},
        {"the addressee in front", "[Bob]" TO "[Ann]" COLON "hi", true, "Bob", "[Ann],hi"},
        {"an addressee needs a character before its ]", "[Bob]" TO "]" COLON "hi", true, "Bob", "hi"},
        {"a trail byte ] inside the name", "[A" TRAIL_CLOSE "B]" COLON "hi", true, "A" TRAIL_CLOSE "B", "hi"},
        {"a trail byte [ before the name", TRAIL_OPEN "[Bob]" COLON "hi", true, "Bob", "hi"},
        {"a trail byte [ only: no speaker", TRAIL_OPEN "Bob]" COLON "hi", false, "", ""},
        {"no [", "Bob]" COLON "hi", false, "", ""},
        {"no end of the name", "[Bob" COLON "hi", false, "", ""},
        {"no colon", "[Bob]: hi", false, "", ""},
        // A3 BA straddling two characters: "\xB0\xA3" then "\xBA\xA1".
        {"colon bytes across two characters", "[Bob]\xB0\xA3\xBA\xA1", false, "", ""},
        {"the colon found after the name only", "[B" COLON "b]" COLON "hi", true, "B" COLON "b", "hi"},
        {"an empty balloon", "[Bob]" COLON, true, "Bob", ""},
        {"a lone lead byte at the end", "[Bob]" COLON "\x81", true, "Bob", "\x81"},
        {"empty", "", false, "", ""},
    };
    for (const Case& k : cases) {
        ChatLine line;
        ASSERT_EQ(k.ok, ParseChatLine(k.text, &line)) << k.what;
        if (!k.ok)
            continue;
        EXPECT_EQ(k.speaker, line.speaker) << k.what;
        EXPECT_EQ(k.balloon, line.balloon) << k.what;
    }
}

}  // namespace
