#include "UserNameCheck.h"

#include <cstring>

namespace {

const size_t kMaxAsciiName = 19;
const size_t kMaxDoubleByteName = 12;

bool IsAsciiNameChar(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
           (c != 0 && std::strchr("_~*@!%#^.-", c));
}

// Cells of GB2312 row 2 (lead 0xA2) that hold no character.
bool IsUnassignedRow2Cell(unsigned char trail)
{
    return (trail >= 0xA1 && trail <= 0xB0) || trail == 0xE3 || trail == 0xE4 || trail == 0xEF ||
           trail == 0xF0 || trail == 0xFD || trail == 0xFE;
}

bool IsGb2312NameChar(unsigned char lead, unsigned char trail)
{
    if (trail < 0xA1 || trail > 0xFE)
        return false;
    if (lead >= 0xA1 && lead <= 0xA3) {
        if (lead == 0xA1 && trail == 0xA1)
            return false;
        return !(lead == 0xA2 && IsUnassignedRow2Cell(trail));
    }
    if (lead >= 0xB0 && lead <= 0xF7)
        return !(lead == 0xD7 && trail >= 0xFA);
    return false;
}

bool IsGbkNameChar(unsigned char lead, unsigned char trail)
{
    if (trail == 0x7F)
        return false;
    if (lead >= 0x81 && lead <= 0xA0)
        return trail >= 0x40 && trail <= 0xFE;
    if (lead >= 0xAA && lead <= 0xFE)
        return trail >= 0x40 && trail <= 0xA0;
    return false;
}

int CheckAsciiName(const unsigned char* p, size_t length)
{
    if (length > kMaxAsciiName)
        return 0;
    for (size_t i = 0; i < length; ++i) {
        if (!IsAsciiNameChar(p[i]))
            return 0;
    }
    return 1;
}

int CheckDoubleByteName(const unsigned char* p, size_t length)
{
    if (length > kMaxDoubleByteName || length % 2 != 0)
        return 0;
    int nameClass = 2;
    for (size_t i = 0; i < length; i += 2) {
        const unsigned char lead = p[i];
        const unsigned char trail = p[i + 1];
        if (IsGb2312NameChar(lead, trail))
            continue;
        if (!IsGbkNameChar(lead, trail))
            return 0;
        const int charClass = (trail >= 0x41 && trail <= 0x7A) ? 4 : 3;
        if (charClass > nameClass)
            nameClass = charClass;
    }
    return nameClass;
}

}  // namespace

int CheckUserName(const char* name)
{
    if (!name)
        return 0;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(name);
    const size_t length = std::strlen(name);
    if (length < 2)
        return 0;
    return p[0] < 0x80 ? CheckAsciiName(p, length) : CheckDoubleByteName(p, length);
}
