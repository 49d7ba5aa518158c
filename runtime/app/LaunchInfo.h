// The launch record: what the lobby hands the game client when it starts it
// (who the user is, which chair he takes, which game server to use).
//
// The lobby passes it either as 13 or 14 arguments after the program name,
// or as one argument naming a file mapping that holds the 496-byte record.
// Chairs are 1-based there; the record held by the program is zero-based
// (chairs from the seat count on mean watching).
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

struct GameLaunchInfo {
    uint32_t chair;             // zero-based once read
    char userName[20];          // own identity
    char nickname[20];
    char text44[40];            // copied into the join request
    uint16_t value84;           // copied into the join request
    char text86[40];            // copied into the join request
    char serverHost[40];        // dotted address or name
    uint16_t serverPort;
    char text168[256];
    char chatText[40];          // the chat control's string property 18
    uint16_t chatValue;         // the chat control's short property 19
    char text466[16];
    uint32_t value484;
    uint32_t value488;          // handed to the application's join hooks
    uint8_t reserved[4];        // not filled from the command line
};
static_assert(sizeof(GameLaunchInfo) == 496, "launch record is 496 bytes");
static_assert(offsetof(GameLaunchInfo, userName) == 4, "launch record layout");
static_assert(offsetof(GameLaunchInfo, nickname) == 24, "launch record layout");
static_assert(offsetof(GameLaunchInfo, text44) == 44, "launch record layout");
static_assert(offsetof(GameLaunchInfo, value84) == 84, "launch record layout");
static_assert(offsetof(GameLaunchInfo, text86) == 86, "launch record layout");
static_assert(offsetof(GameLaunchInfo, serverHost) == 126, "launch record layout");
static_assert(offsetof(GameLaunchInfo, serverPort) == 166, "launch record layout");
static_assert(offsetof(GameLaunchInfo, text168) == 168, "launch record layout");
static_assert(offsetof(GameLaunchInfo, chatText) == 424, "launch record layout");
static_assert(offsetof(GameLaunchInfo, chatValue) == 464, "launch record layout");
static_assert(offsetof(GameLaunchInfo, text466) == 466, "launch record layout");
static_assert(offsetof(GameLaunchInfo, value484) == 484, "launch record layout");
static_assert(offsetof(GameLaunchInfo, value488) == 488, "launch record layout");
static_assert(offsetof(GameLaunchInfo, reserved) == 492, "launch record layout");

// The process's launch record.
extern GameLaunchInfo theLaunchInfo;

// What reading the record found.
enum LaunchSource : int {
    kLaunchRefused = -1,        // a record came, but it cannot be used
    kLaunchNone = 0,            // no record: local mode
    kLaunchArguments = 1,       // from 13 or 14 arguments
    kLaunchMapping = 2,         // from a file mapping
};

// Fills the record from the arguments (argv[0] is the program): 14 or 15
// arguments in all give the fields in order (the last number is 0 with 14);
// 2 arguments name a file mapping. Strings are cut to their fields and
// always terminated; numbers are decimal. The chair is lowered by 1. A record
// whose chair is 0 or whose user name, server host or port is empty is
// refused (the record is then zeroed). With any other count, or a mapping
// that cannot be opened or mapped at 496 bytes, there is no record (a
// mapping shorter than that reads as zeros past its end, and is refused).
LaunchSource ReadLaunchInfoFrom(int argc, char* const* argv, GameLaunchInfo* info);
// The same with the process's own arguments into theLaunchInfo: 1 when the
// client was started by the lobby, 0 without a record, -1 for a refused one.
int ReadLaunchInfo();
// The number of the process's arguments, the program name counted.
int LaunchArgumentCount();

// The parts, for the lobby stand-in and the tests.
void FillLaunchInfoFromArguments(int count, char* const* fields, GameLaunchInfo* info);
BOOL ReadLaunchInfoFromMapping(const char* mappingName, GameLaunchInfo* info);
BOOL IsLaunchInfoUsable(const GameLaunchInfo& info);
