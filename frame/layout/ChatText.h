// ChatText.h - the speaker and the balloon text of a chat line as the chat
// control hands it to the frame: "[name]：text", "[name<...>]：text", or
// "[name]对[other]：text" (the addressee goes in front of the balloon text).
//
// The line is code page 936 text: it is read character by character, so a
// trail byte that happens to be '[', ']' or '<' (GBK trail bytes run from
// 0x40 to 0xFE) is never taken for one, and the full-width colon is only
// found where it is a character of its own.
#pragma once

#include <string>

struct ChatLine
{
    std::string speaker;
    std::string balloon;
};

// False when the line has no speaker or no full-width colon after it.
bool ParseChatLine(const std::string& text, ChatLine* line);
