#include "LaunchInfo.h"

#include <stdlib.h>
#include <string.h>

#include "StringFunctions.h"

GameLaunchInfo theLaunchInfo;

namespace {

// Copies text into a field of size bytes: cut on a character boundary,
// always terminated, the rest of the field zero.
template <size_t N>
void CopyField(char (&field)[N], const char* text)
{
    memset(field, 0, N);
    if (text == NULL)
        return;
    const size_t length = CharBoundaryAtOrBefore(text, N - 1);
    memcpy(field, text, length);
}

template <size_t N>
void TerminateField(char (&field)[N])
{
    field[N - 1] = '\0';
}

uint32_t ParseU32(const char* text) { return text != NULL ? (uint32_t)atol(text) : 0; }

}  // namespace

void FillLaunchInfoFromArguments(int count, char* const* fields, GameLaunchInfo* info)
{
    memset(info, 0, sizeof(*info));
    auto field = [&](int i) -> const char* { return i < count ? fields[i] : NULL; };
    info->chair = ParseU32(field(0));
    CopyField(info->userName, field(1));
    CopyField(info->nickname, field(2));
    CopyField(info->text44, field(3));
    info->value84 = (uint16_t)ParseU32(field(4));
    CopyField(info->text86, field(5));
    CopyField(info->serverHost, field(6));
    info->serverPort = (uint16_t)ParseU32(field(7));
    CopyField(info->text168, field(8));
    CopyField(info->chatText, field(9));
    info->chatValue = (uint16_t)ParseU32(field(10));
    CopyField(info->text466, field(11));
    info->value484 = ParseU32(field(12));
    info->value488 = ParseU32(field(13));
}

BOOL ReadLaunchInfoFromMapping(const char* mappingName, GameLaunchInfo* info)
{
    HANDLE hMapping = ::OpenFileMappingA(FILE_MAP_READ, FALSE, mappingName);
    if (hMapping == NULL)
        return FALSE;
    // A mapping smaller than the record cannot be mapped at this size.
    const void* pView = ::MapViewOfFile(hMapping, FILE_MAP_READ, 0, 0, sizeof(GameLaunchInfo));
    if (pView == NULL) {
        ::CloseHandle(hMapping);
        return FALSE;
    }
    memcpy(info, pView, sizeof(*info));
    ::UnmapViewOfFile(pView);
    ::CloseHandle(hMapping);
    // The lobby's texts are read as texts: each ends inside its field.
    TerminateField(info->userName);
    TerminateField(info->nickname);
    TerminateField(info->text44);
    TerminateField(info->text86);
    TerminateField(info->serverHost);
    TerminateField(info->text168);
    TerminateField(info->chatText);
    TerminateField(info->text466);
    return TRUE;
}

BOOL IsLaunchInfoUsable(const GameLaunchInfo& info)
{
    return info.chair != 0 && info.userName[0] != '\0' && info.serverHost[0] != '\0' && info.serverPort != 0;
}

LaunchSource ReadLaunchInfoFrom(int argc, char* const* argv, GameLaunchInfo* info)
{
    LaunchSource source;
    if (argc == 14 || argc == 15) {
        FillLaunchInfoFromArguments(argc - 1, argv + 1, info);
        source = kLaunchArguments;
    } else if (argc == 2 && argv[1] != NULL && ReadLaunchInfoFromMapping(argv[1], info)) {
        source = kLaunchMapping;
    } else {
        return kLaunchNone;
    }
    // Checked before the chair is lowered: chair 0 would wrap round.
    if (!IsLaunchInfoUsable(*info)) {
        memset(info, 0, sizeof(*info));
        return kLaunchRefused;
    }
    info->chair -= 1;
    return source;
}

int LaunchArgumentCount() { return __argc; }

int ReadLaunchInfo()
{
    const LaunchSource source = ReadLaunchInfoFrom(__argc, __argv, &theLaunchInfo);
    if (source == kLaunchRefused)
        return -1;
    return source == kLaunchNone ? 0 : 1;
}
