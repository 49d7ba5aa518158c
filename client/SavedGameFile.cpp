#include "SavedGameFile.h"

#include <string>

#include "store/FilePaths.h"

CString NewSavedGameName(LPCSTR lpszFolder, const std::tm& when, BOOL bWatching)
{
    const CString folder(lpszFolder != NULL ? lpszFolder : "");
    if (!folder.IsEmpty() && !DirectoryExists(folder))
        CreateDirectoryPath(folder);
    const std::string time = peg::SaveTimeText(when);
    std::string name;
    for (int suffix = 1; suffix <= 1000; suffix++) {
        name = peg::SaveFileName((LPCSTR)folder, time, bWatching != FALSE, suffix);
        if (!PathExists(name.c_str()))
            break;
    }
    return CString(name.c_str());
}

SaveFileResult WriteSavedGame(LPCSTR lpszPath, const peg::Record& record)
{
    if (lpszPath == NULL || lpszPath[0] == '\0' || !record.Exists())
        return kSaveCannotCreate;
    CString folder(lpszPath);
    const int slash = folder.ReverseFind('\\');
    folder = slash > 0 ? folder.Left(slash) : CString();
    if (!folder.IsEmpty() && !DirectoryExists(folder))
        return kSaveCannotCreate;
    const std::vector<uint8_t> bytes = record.Serialize();
    if (!WriteFileReplacing(lpszPath, bytes.data(), (uint32_t)bytes.size(), FALSE))
        return kSaveCannotWrite;
    return kSaved;
}
