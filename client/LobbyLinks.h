// What web addresses need from the platform: the user name escaped for an
// address, the name for the strength page's "%SelectName%", the lobby's room
// record from its shared memory, and the login ticket asked of the lobby's
// registration servers.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "PlayerInfo.h"

// The name escaped for a web address (empty when it cannot be).
std::string EscapeUserName(const char* name);

// The name escaped, then from the system code page to UTF-8, at most 99
// bytes (never cut inside a character), in a zero-filled buffer.
constexpr size_t kSelectNameSize = 100;
void EncodeSelectName(const char* name, char out[kSelectNameSize]);

// Copies the room record out of the lobby's mapping (name "QV_ROOM_REC" unless
// given). FALSE, with the record left as it was, when the mapping is missing
// or smaller than the lobby's.
constexpr char kRoomMappingName[] = "QV_ROOM_REC";
BOOL ReadRoomRecord(uint8_t record[kRoomRecordBytes], const char* mappingName = kRoomMappingName);

// The login ticket: for each address of the "RegisterIP" entries of
// "<shareFolder>\LangRsc.ini" in turn, the room record is read again and the
// lobby's server there asked; the first non-empty answer. Empty without the
// file or the section.
std::string FetchTicket(const char* userName, const char* shareFolder, uint8_t roomRecord[kRoomRecordBytes]);
