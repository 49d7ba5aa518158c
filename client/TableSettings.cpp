#include "TableSettings.h"

std::string FolderSetting(const std::string& value, const std::string& programFolder, const char* suffix)
{
    if (!value.empty())
        return value;
    std::string folder = programFolder;
    while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/'))
        folder.pop_back();
    return folder + suffix;
}
