#include "ClientText.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

char* SkipBlanks(char* p)
{
    while (*p != '\0' && IsBlank(*p))
        ++p;
    return p;
}

void CutTrailingBlanks(char* begin)
{
    size_t n = strlen(begin);
    while (n > 0 && IsBlank(begin[n - 1]))
        begin[--n] = '\0';
}

char* NextItem(char* text, char** rest, char separator)
{
    if (rest != nullptr)
        *rest = nullptr;
    if (text == nullptr)
        return nullptr;
    char* start = SkipBlanks(text);
    if (*start == '\0')
        return nullptr;
    char* end = strchr(start, separator);
    if (end != nullptr) {
        *end = '\0';
        if (rest != nullptr)
            *rest = end + 1;
    }
    return start;
}

// "[a-b]" at text: the position after "]", or null.
const char* ParseOneRange(const char* text, int* low, int* high)
{
    const char* p = text;
    while (IsBlank(*p))
        ++p;
    if (*p != '[')
        return nullptr;
    ++p;
    const char* dash = p;
    // The first number, then the "-": a "," before it fails.
    while (*dash != '\0' && *dash != '-' && *dash != ']') {
        if (*dash == ',')
            return nullptr;
        ++dash;
    }
    if (*dash != '-')
        return nullptr;
    const char* close = strchr(dash, ']');
    if (close == nullptr)
        return nullptr;
    if (low != nullptr)
        *low = atoi(p);
    if (high != nullptr)
        *high = atoi(dash + 1);
    return close + 1;
}

struct ResPic {
    int id;
    const char* file;
};

const ResPic kResPics[] = {
    {237, "BT_GAMESCORE.bmp"}, {239, "BT_LASTTRICK.bmp"}, {241, "BT_PASS.bmp"}, {243, "BT_PLAYDIR.bmp"},
    {244, "BT_SEARCH.bmp"}, {245, "BT_SETUP.bmp"}, {246, "BT_SORT.bmp"}, {247, "BT_START.bmp"},
    {248, "BT_TAKEOUT.bmp"}, {249, "BT_TRUSTPLAY.bmp"}, {250, "BT_UNPLAYDIR.bmp"}, {251, "BT_UNTRUSTPLAY.bmp"},
    {257, "Pass.bmp"}, {266, "Emperor.bmp"}, {267, "HouseCarl.bmp"}, {270, "bitmap1.bmp"}, {275, "Out1.bmp"},
    {276, "Out2.bmp"}, {277, "Out3.bmp"}, {278, "Out4.bmp"}, {279, "Out5.bmp"}, {280, "TakeoutNumber.bmp"},
    {282, "BT_BeEmperor.bmp"}, {283, "BT_NoEmperor.bmp"}, {284, "BT_HideHousecarl.bmp"},
    {285, "BT_ShowHousecarl.bmp"}, {286, "MendFrame.bmp"}, {287, "MyTimer.bmp"}, {288, "MyTimerFrame.bmp"},
    {289, "OtherTimer.bmp"}, {290, "OtherTimerFrame.bmp"}, {292, "l-1.bmp"}, {293, "l-2.bmp"}, {294, "l-3.bmp"},
    {295, "l-4.bmp"}, {296, "l-5.bmp"}, {297, "r-0.bmp"}, {298, "r-1.bmp"}, {299, "r-2.bmp"}, {300, "r-3.bmp"},
    {301, "r-4.bmp"}, {302, "r-5.bmp"}, {303, "m-0.bmp"}, {304, "m-1.bmp"}, {305, "m-2.bmp"}, {306, "m-3.bmp"},
    {307, "m-4.bmp"}, {308, "m-5.bmp"}, {309, "m-6.bmp"}, {310, "m-7.bmp"}, {311, "m-8.bmp"}, {312, "m-9.bmp"},
    {313, "m-10.bmp"}, {314, "m-11.bmp"}, {315, "m-12.bmp"}, {316, "m-13.bmp"}, {317, "TrustPlay.bmp"},
    {318, "TrustExit.bmp"}, {319, "Start.bmp"}, {320, "OffLine.bmp"}, {321, "BigCard.bmp"},
    {322, "LittleCard.bmp"}, {325, "numbertray.bmp"}, {326, "emperorwin.bmp"}, {327, "emperorloss.bmp"},
    {328, "revolutionwin.bmp"}, {329, "revolutionloss.bmp"}, {331, "BT_ICONPICKER.bmp"}, {336, "draw.bmp"},
    {8001, "HouseCarlEx.bmp"}, {8002, "Farmer.bmp"}, {8004, "BT_Giveup.bmp"}, {8005, "BT_Rebell.bmp"},
    {8006, "Numberback.bmp"}, {8007, "BT_OnlyEmperor.BMP"}, {8008, "Black.bmp"}, {8009, "Red.bmp"},
    {8010, "Color.bmp"}, {8011, "SwordB.bmp"}, {8012, "SwordL.bmp"}, {8013, "kickHouseCarl.bmp"},
    {8014, "kickFarmer.bmp"}, {8015, "kickEmperor.bmp"}, {8016, "kick.bmp"},
};
constexpr int kResPicCount = static_cast<int>(sizeof(kResPics) / sizeof(kResPics[0]));
static_assert(kResPicCount == 84, "84 theme pictures replace bitmaps");

}  // namespace

// ---- Tokenizers -----------------------------------------------------------------------

int SplitList(char* text, char** items, int capacity)
{
    if (text == nullptr || items == nullptr || capacity < 1)
        return 0;
    int count = 0;
    char* p = text;
    while (count < capacity) {
        char* start = SkipBlanks(p);
        char* comma = strchr(start, ',');
        if (comma != nullptr)
            *comma = '\0';
        CutTrailingBlanks(start);
        items[count++] = start;
        if (comma == nullptr)
            break;
        p = comma + 1;
    }
    return count;
}

int SplitKeyValue(char* text, char** key, char** value)
{
    if (key != nullptr)
        *key = nullptr;
    if (value != nullptr)
        *value = nullptr;
    if (text == nullptr)
        return 0;
    char* start = SkipBlanks(text);
    char* p = start;
    while (*p != '\0' && !IsBlank(*p) && *p != '=')
        ++p;
    if (p == start)
        return 0;
    char* keyEnd = p;
    while (*p != '\0' && (IsBlank(*p) || *p == '='))
        ++p;
    if (*p == '\0')
        return 0;
    *keyEnd = '\0';
    if (key != nullptr)
        *key = start;
    if (value != nullptr)
        *value = p;
    return 1;
}

char* NextCommaItem(char* text, char** rest) { return NextItem(text, rest, ','); }

char* NextSemicolonItem(char* text, char** rest) { return NextItem(text, rest, ';'); }

int ParseRange(const char* text, int* low, int* high)
{
    return text != nullptr && ParseOneRange(text, low, high) != nullptr ? 1 : 0;
}

int ParseTwoRanges(const char* text, int* low1, int* high1, int* low2, int* high2)
{
    if (text == nullptr)
        return 0;
    const char* after = ParseOneRange(text, low1, high1);
    return after != nullptr && ParseOneRange(after, low2, high2) != nullptr ? 1 : 0;
}

// ---- Web addresses ---------------------------------------------------------------------

size_t Utf8BoundaryAtOrBefore(const char* text, size_t length, size_t maxBytes)
{
    if (length <= maxBytes)
        return length;
    size_t n = maxBytes;
    // Step back over continuation bytes to the start of the cut character.
    while (n > 0 && (static_cast<uint8_t>(text[n]) & 0xC0) == 0x80)
        --n;
    return n;
}

size_t EscapeUtf8ForUrl(const char* utf8, char* out, size_t capacity)
{
    if (out == nullptr || capacity == 0)
        return 0;
    out[0] = '\0';
    if (utf8 == nullptr)
        return 0;
    const size_t length = strlen(utf8);
    const size_t room = capacity - 1;
    if (length == 0)
        return 0;
    if (!IsCp936LeadByte(static_cast<uint8_t>(utf8[0]))) {
        const size_t n = Utf8BoundaryAtOrBefore(utf8, length, room);
        memcpy(out, utf8, n);
        out[n] = '\0';
        return n;
    }
    // Three output bytes per input byte; whole characters only.
    const size_t n = Utf8BoundaryAtOrBefore(utf8, length, room / 3);
    size_t used = 0;
    for (size_t i = 0; i < n; ++i) {
        snprintf(out + used, capacity - used, "%%%02x", static_cast<uint8_t>(utf8[i]));
        used += 3;
    }
    out[used] = '\0';
    return used;
}

std::string Utf16ToUtf8(const char16_t* text, size_t length)
{
    std::string out;
    if (text == nullptr)
        return out;
    out.reserve(length * 3);
    for (size_t i = 0; i < length; ++i) {
        uint32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < length && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// ---- Client environment record ------------------------------------------------------------

std::string ExpandClientPathVars(const std::string& text, const char* exePath, const char* dllPath,
                                 const char* gameDllPath)
{
    static const char* const kNames[3] = {"%ClientExePath%", "%ClientDllPath%", "%GameDllPath%"};
    const char* values[3] = {exePath != nullptr ? exePath : "", dllPath != nullptr ? dllPath : "",
                             gameDllPath != nullptr ? gameDllPath : ""};
    std::string out = text;
    for (int k = 0; k < 3; ++k) {
        const std::string name = kNames[k];
        size_t at = 0;
        while ((at = out.find(name, at)) != std::string::npos) {
            out.replace(at, name.size(), values[k]);
            at += strlen(values[k]);
        }
    }
    return out;
}

// ---- Theme pictures ------------------------------------------------------------------------

const char* ResPicFileName(int bitmapId)
{
    for (const ResPic& pic : kResPics) {
        if (pic.id == bitmapId)
            return pic.file;
    }
    return nullptr;
}

const int* ResPicIds(int* count)
{
    static int ids[kResPicCount];
    for (int i = 0; i < kResPicCount; ++i)
        ids[i] = kResPics[i].id;
    if (count != nullptr)
        *count = kResPicCount;
    return ids;
}

const char* ThemePathSuffix(int kind)
{
    switch (kind) {
    case 0: return "\\theme_png\\Default.thm";
    case 1: return "\\theme_png\\Default";
    case 2: return "\\theme";
    default: return "";
    }
}
