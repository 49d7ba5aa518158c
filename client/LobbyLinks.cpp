#include "LobbyLinks.h"

#include <shlwapi.h>

#include <cstring>
#include <vector>

#include "ClientServices.h"
#include "ClientText.h"

std::string EscapeUserName(const char* name)
{
    if (name == NULL)
        return std::string();
    char escaped[2084] = "";   // the longest address the shell takes
    DWORD size = sizeof(escaped);
    if (FAILED(::UrlEscapeA(name, escaped, &size, 0)))
        return std::string();
    return escaped;
}

void EncodeSelectName(const char* name, char out[kSelectNameSize])
{
    memset(out, 0, kSelectNameSize);
    const std::string escaped = EscapeUserName(name);
    const int wideLength = ::MultiByteToWideChar(CP_ACP, 0, escaped.c_str(), -1, NULL, 0);
    if (wideLength <= 1)
        return;
    std::vector<wchar_t> wide((size_t)wideLength);
    ::MultiByteToWideChar(CP_ACP, 0, escaped.c_str(), -1, wide.data(), wideLength);
    const int utf8Length = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), -1, NULL, 0, NULL, NULL);
    if (utf8Length <= 1)
        return;
    std::vector<char> utf8((size_t)utf8Length);
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), -1, utf8.data(), utf8Length, NULL, NULL);
    const size_t keep = Utf8BoundaryAtOrBefore(utf8.data(), (size_t)utf8Length - 1, kSelectNameSize - 1);
    memcpy(out, utf8.data(), keep);
}

BOOL ReadRoomRecord(uint8_t record[kRoomRecordBytes], const char* mappingName)
{
    HANDLE mapping = ::OpenFileMappingA(FILE_MAP_READ, FALSE, mappingName);
    if (mapping == NULL)
        return FALSE;
    const uint8_t* view = static_cast<const uint8_t*>(::MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, kRoomMappingSize));
    BOOL copied = FALSE;
    if (view != NULL) {
        // The view must really be the lobby's size: a smaller mapping is
        // refused by the mapping call, and its pages are checked here too.
        MEMORY_BASIC_INFORMATION info = {};
        if (::VirtualQuery(view, &info, sizeof(info)) == sizeof(info) && info.RegionSize >= kRoomMappingSize) {
            memcpy(record, view + kRoomRecordAt, kRoomRecordBytes);
            copied = TRUE;
        }
        ::UnmapViewOfFile(view);
    }
    ::CloseHandle(mapping);
    return copied;
}

std::string FetchTicket(const char* userName, const char* shareFolder, uint8_t roomRecord[kRoomRecordBytes])
{
    if (shareFolder == NULL || shareFolder[0] == '\0')
        return std::string();
    std::string folder = shareFolder;
    if (folder.back() == '\\')
        folder.pop_back();
    const std::string ini = folder + "\\LangRsc.ini";
    std::vector<char> section(32768);
    DWORD n = ::GetPrivateProfileSectionA("P80Port", section.data(), (DWORD)section.size(), ini.c_str());
    const uint32_t port = ParseRegisterPort(section.data(), n);
    n = ::GetPrivateProfileSectionA("RegisterIP", section.data(), (DWORD)section.size(), ini.c_str());
    for (const RegisterEntry& entry : ParseRegisterEntries(section.data(), n)) {
        for (const std::string& address : entry.addresses) {
            ReadRoomRecord(roomRecord);
            char text[kRoomRecordBytes + 1] = "";
            memcpy(text, roomRecord, kRoomRecordBytes);
            ServerSelection selection;
            if (SelectServerAddresses(&selection, address.c_str(), port, userName, text, folder.c_str()) &&
                !selection.text.IsEmpty())
                return (LPCSTR)selection.text;
        }
    }
    return std::string();
}
