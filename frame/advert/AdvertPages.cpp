// Advert page choice.
#include "AdvertPages.h"

#include <cctype>
#include <cstring>

namespace advert {

namespace {

const size_t kMaxPath = 259;

} // namespace

std::string DefaultPage(int nPageId, const std::string& share)
{
    const char* file = "gg.htm";
    switch (nPageId) {
    case 1003:
    case 1009: file = "default_hzh.htm"; break;
    case 1004: file = "warning60.htm"; break;
    case 1006: file = "exitad.htm"; break;
    case 1007: file = "exdlgad.htm"; break;
    default: break;
    }
    return "file://" + share + "\\" + file;
}

std::string AreaPagePath(const std::string& share, int nArea, const std::string& file)
{
    return share + "\\Advert\\" + std::to_string(nArea) + "\\" + file;
}

bool IsRemotePage(const std::string& value)
{
    std::string lower(value);
    for (char& c : lower)
        c = (char)tolower((unsigned char)c);
    return lower.find("http://") != std::string::npos;
}

std::string ChoosePage(const std::string& value, const std::string& share, int nArea, int nPageId,
                       const std::function<bool(const std::string&)>& fileExists)
{
    if (IsRemotePage(value))
        return value;
    if (!value.empty()) {
        std::string path = AreaPagePath(share, nArea, value);
        if (path.size() <= kMaxPath && fileExists && fileExists(path))
            return "file://" + path;
    }
    return DefaultPage(nPageId, share);
}

bool LocalPageName(const char* pszName, std::string* pResult)
{
    pResult->clear();
    if (pszName == nullptr)
        return false;
    std::string name(pszName, strnlen(pszName, kMaxPath));
    size_t dot = name.rfind('.');
    if (dot == std::string::npos)
        return false;
    name.resize(dot);
    name += ".htm";
    if (name.size() > kMaxPath)
        return false;
    *pResult = name;
    return true;
}

} // namespace advert
