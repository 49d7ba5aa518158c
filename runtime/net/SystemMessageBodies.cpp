#include "SystemMessageBodies.h"

#include <cstring>

#include "MessageFrame.h"

std::string ReadBodyText(const uint8_t* body, uint32_t length, uint32_t offset, uint32_t maxLength)
{
    if (!body || offset >= length)
        return std::string();
    uint32_t available = length - offset;
    if (maxLength != 0 && maxLength < available)
        available = maxLength;
    const char* text = reinterpret_cast<const char*>(body + offset);
    const void* end = memchr(text, 0, available);
    return std::string(text, end ? static_cast<const char*>(end) - text : available);
}

bool ParseOpenAddressBody(const uint8_t* body, uint32_t length, OpenAddressBody& out)
{
    if (!body || length < 28)
        return false;
    const uint32_t textLength = ReadWireU32(body + 24);
    if (uint64_t(28) + textLength > length)
        return false;
    out.stringId = ReadWireU32(body);
    out.boxFlags = ReadWireU32(body + 4);
    out.expectedAnswer = ReadWireU32(body + 8);
    out.openFlag = ReadWireU32(body + 12);
    out.closeFlag = ReadWireU32(body + 16);
    out.lostFlag = ReadWireU32(body + 20);
    out.firstText = ReadBodyText(body, 28 + textLength, 28);
    const uint32_t second = 28 + uint32_t(out.firstText.size()) + 1;
    out.secondText = second < 28 + textLength ? ReadBodyText(body, 28 + textLength, second) : std::string();
    out.codePage = length - 28 - textLength >= 4 ? ReadWireU32(body + 28 + textLength) : 936;
    return true;
}

QueryKind ParseQueryBody(const uint8_t* body, uint32_t length, QueryBody& out)
{
    if (!body || length < 16)
        return QueryKind::kInvalid;
    if (length == 16)
        return QueryKind::kIgnored;
    out.queryId = ReadWireU32(body);
    out.style = ReadWireU32(body + 4);
    out.argument = ReadWireU32(body + 8);
    out.wantsText = ReadWireU32(body + 12);
    out.text = ReadBodyText(body, length, 16);
    return QueryKind::kQuery;
}

bool ParseServerBoxBody(const uint8_t* body, uint32_t length, ServerBoxBody& out)
{
    if (!body || length < 12)
        return false;
    out.stringId = ReadWireU32(body);
    out.boxFlags = ReadWireU32(body + 4);
    out.argument = ReadWireU32(body + 8);
    out.text = ReadBodyText(body, length, 12);
    return true;
}

bool ParseTrustStateBody(const uint8_t* body, uint32_t length, TrustStateBody& out)
{
    if (!body || length < 4)
        return false;
    out.mode = ReadWireU16(body);
    out.used = body[2];
    out.limit = body[3];
    out.userName = ReadBodyText(body, length, 4);
    return true;
}

namespace {

// The address starts with the scheme (lower case), letters compared
// without case, and goes on after it.
bool StartsWithScheme(const std::string& address, const char* scheme)
{
    const size_t length = strlen(scheme);
    if (address.size() <= length)
        return false;
    for (size_t i = 0; i < length; ++i) {
        char c = address[i];
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
        if (c != scheme[i])
            return false;
    }
    return true;
}

}  // namespace

bool IsWebAddress(const std::string& address)
{
    if (!StartsWithScheme(address, "http://") && !StartsWithScheme(address, "https://"))
        return false;
    // No control characters, and no quote: the shell puts the address into
    // the browser's command line, where a quote would end it.
    for (unsigned char c : address)
        if (c < 0x20 || c == 0x7F || c == '"')
            return false;
    return true;
}
