#include "DialogRules.h"

namespace gamedlg {

CountdownTick TickCountdown(int& secondsLeft)
{
    CountdownTick tick;
    if (secondsLeft <= 0) {
        secondsLeft = 0;
        tick.expired = true;
        return tick;
    }
    tick.shown = secondsLeft;
    secondsLeft--;
    return tick;
}

// ---- Set-title dialog ---------------------------------------------------------------------

namespace {

constexpr int kRowTop = 100;
constexpr int kRowPitch = 40;
constexpr int kRowClickLeft = 388;
constexpr int kRowClickRight = 457;   // exclusive, as the rectangle's right edge
constexpr int kRowClickHeight = 39;
constexpr int kIconSpanLeft = 239;
constexpr int kIconSpan = 133;
constexpr int kIconSize = 23;

}  // namespace

int TitleRecordAt(int count, int page, int row)
{
    if (count <= 0 || page < 0 || row < 0 || row >= kTitlesPerPage)
        return -1;
    const long long index = (long long)count - (long long)kTitlesPerPage * page - 1 - row;
    return index >= 0 && index < count ? (int)index : -1;
}

int TitlePageCount(int count)
{
    if (count <= 0)
        return 1;
    return count / kTitlesPerPage + (count % kTitlesPerPage != 0 ? 1 : 0);
}

bool TitleNextEnabled(int count, int page) { return page + 1 < TitlePageCount(count); }

bool TitlePrevEnabled(int page) { return page > 0; }

int TitleRowAt(int x, int y)
{
    if (x < kRowClickLeft || x >= kRowClickRight || y < kRowTop)
        return -1;
    const int row = (y - kRowTop) / kRowPitch;
    if (row >= kTitlesPerPage || y >= kRowTop + kRowPitch * row + kRowClickHeight)
        return -1;
    return row;
}

int TitleIconX(int shown, int i)
{
    if (shown < 0)
        shown = 0;
    if (shown > kTitleCategories)
        shown = kTitleCategories;
    return kIconSpanLeft + (kIconSpan - kIconSize * shown) / 2 + kIconSize * i;
}

bool ShouldSendTitleRequest(const TitleRequestCheck& check)
{
    if (check.chosen < 0 || check.chosen >= check.count || check.chosen == check.current)
        return false;
    return check.lastRequest == 0 || (uint32_t)(check.now - check.lastRequest) > kTitleRequestGapMs;
}

bool IsWebAddress(const char* address)
{
    if (address == nullptr)
        return false;
    auto startsWith = [address](const char* prefix, int* length) {
        int i = 0;
        for (; prefix[i] != '\0'; i++) {
            char c = address[i];
            if (c >= 'A' && c <= 'Z')
                c = (char)(c - 'A' + 'a');
            if (c != prefix[i])
                return false;
        }
        *length = i;
        return true;
    };
    int prefix = 0;
    if (!startsWith("http://", &prefix) && !startsWith("https://", &prefix))
        return false;
    if (address[prefix] == '\0')
        return false;
    for (const char* p = address; *p != '\0'; p++) {
        const unsigned char c = (unsigned char)*p;
        if (c <= ' ' || c == 0x7F)
            return false;
    }
    return true;
}

// ---- Setup dialog -------------------------------------------------------------------------

SetupEnabling SetupEnablingFor(bool soundEffects, bool music)
{
    SetupEnabling e;
    e.music = soundEffects;
    e.musicPicker = soundEffects && music;
    return e;
}

}  // namespace gamedlg
