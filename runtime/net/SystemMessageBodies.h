// Bodies of the platform's system messages, read bounded by the body's
// length. Every reader answers false (or the "invalid" kind) when the body
// is shorter than its fixed fields; texts end at their zero byte, at the end
// of their field or at the end of the body, whichever comes first.
#pragma once

#include <cstdint>
#include <string>

#include "NetMessages.h"

// The text at `offset`, at most maxLength bytes (0: to the end of the body).
std::string ReadBodyText(const uint8_t* body, uint32_t length, uint32_t offset, uint32_t maxLength = 0);

// 0x225: u32 string id (0xFFFFFFFF: no box), u32 box flags, u32 expected
// answer, u32 open flag (0xFFFFFFFF: do not open), u32 close flag, u32 lost
// flag, u32 text length, the text block, then an optional u32 code page.
// The text block holds the first text and, after its zero byte, the second.
struct OpenAddressBody {
    uint32_t stringId = 0;
    uint32_t boxFlags = 0;
    uint32_t expectedAnswer = 0;
    uint32_t openFlag = 0;
    uint32_t closeFlag = 0;
    uint32_t lostFlag = 0;
    std::string firstText;
    std::string secondText;
    uint32_t codePage = 936;
};
constexpr uint32_t kNoBoxStringId = 0xFFFFFFFFu;
constexpr uint32_t kDoNotOpen = 0xFFFFFFFFu;
bool ParseOpenAddressBody(const uint8_t* body, uint32_t length, OpenAddressBody& out);

// 0x230: u32 query id, u32 dialog style, u32 dialog argument, u32 wants
// text, text. A body of exactly 16 bytes is ignored.
struct QueryBody {
    uint32_t queryId = 0;
    uint32_t style = 0;
    uint32_t argument = 0;
    uint32_t wantsText = 0;
    std::string text;
};
enum class QueryKind { kInvalid, kIgnored, kQuery };
QueryKind ParseQueryBody(const uint8_t* body, uint32_t length, QueryBody& out);

// 0x234: u32 string id, u32 box flags, u32 box argument, text.
struct ServerBoxBody {
    uint32_t stringId = 0;
    uint32_t boxFlags = 0;
    uint32_t argument = 0;
    std::string text;
};
bool ParseServerBoxBody(const uint8_t* body, uint32_t length, ServerBoxBody& out);

// 0x8000021B: u16 mode, u16 counts (low byte: times used, high byte: the
// limit), user name.
struct TrustStateBody {
    uint16_t mode = 0;
    uint8_t used = 0;
    uint8_t limit = 0;
    std::string userName;
};
bool ParseTrustStateBody(const uint8_t* body, uint32_t length, TrustStateBody& out);

// Box flags that the server may choose: buttons, icon and default button.
// Modality, service and desktop flags are dropped.
inline uint32_t ServerBoxFlags(uint32_t flags) { return flags & 0x0FFFu; }

// True for an address that the client may open: "http://" or "https://"
// (letters in any case) followed by at least one character, with no control
// characters and no quote.
bool IsWebAddress(const std::string& address);
