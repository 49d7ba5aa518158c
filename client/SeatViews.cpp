#include "SeatViews.h"

#include <cstdlib>
#include <cstring>

namespace {

void CopyName(char (&field)[20], const char* text)
{
    memset(field, 0, sizeof field);
    if (text != nullptr)
        strncpy(field, text, sizeof field - 1);
}

}  // namespace

void ComputeSeatViews(int ownChair, int playerCount, int playDirection, int views[kTableSeats])
{
    const int n = playerCount >= 1 ? playerCount : kTableSeats;
    const int c = ((ownChair % n) + n) % n;
    for (int position = 0; position < kTableSeats; ++position) {
        const int offset = playDirection == 0 ? position : (kTableSeats - position) % kTableSeats;
        views[position] = (c + offset) % n;
    }
}

int ViewOfSeat(const int views[kTableSeats], int seat)
{
    for (int position = 0; position < kTableSeats; ++position) {
        if (views[position] == seat)
            return position;
    }
    return -1;
}

bool ResolveLaunchChair(uint32_t chair, bool* watching, int* seat)
{
    if (chair >= 2 * static_cast<uint32_t>(kTableSeats))
        return false;
    const bool watch = chair >= static_cast<uint32_t>(kTableSeats);
    if (watching != nullptr)
        *watching = watch;
    if (seat != nullptr)
        *seat = static_cast<int>(watch ? chair - kTableSeats : chair);
    return true;
}

void ParseRoomSettings(const char* text, size_t length, int personalData, int32_t settings[kRoomSettingCount])
{
    memset(settings, 0, sizeof(int32_t) * kRoomSettingCount);
    if (text != nullptr) {
        // A bounded copy: the text comes from the server and may lack its end.
        char buffer[512];
        const size_t n = length < sizeof buffer - 1 ? length : sizeof buffer - 1;
        memcpy(buffer, text, n);
        buffer[n] = '\0';
        const char* p = buffer;
        for (int i = 0; i < kRoomSettingCount && *p != '\0'; ++i) {
            char* end = nullptr;
            const long value = strtol(p, &end, 10);
            if (end == p)
                break;
            settings[i] = static_cast<int32_t>(value);
            p = end;
            while (*p == ' ')
                ++p;
            if (*p != ',')
                break;
            ++p;
        }
    }
    if (settings[9] == 1)
        settings[9] = personalData;
    if (settings[9] < 1) {
        for (int i = 0; i < 8; ++i)
            settings[i] = 0;
    }
    if (settings[5] == 0)
        settings[6] = 0;
}

void FillSeatRecords(const SeatPlayer* players, int count, SeatLayoutRecord records[kTableSeats])
{
    memset(records, 0, sizeof(SeatLayoutRecord) * kTableSeats);
    for (int seat = 0; seat < kTableSeats; ++seat)
        records[seat].chair = static_cast<uint16_t>(seat);
    bool taken[kTableSeats] = {};
    for (int i = 0; players != nullptr && i < count; ++i) {
        const uint32_t chair = players[i].chair;
        if (chair >= static_cast<uint32_t>(kTableSeats) || taken[chair])
            continue;
        taken[chair] = true;
        CopyName(records[chair].userName, players[i].userName);
        CopyName(records[chair].nickName, players[i].nickName);
    }
}
