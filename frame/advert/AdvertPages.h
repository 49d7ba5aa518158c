// Which page an advert area shows: a remote page named by the configuration,
// the area's own local page in the shared folder, or the default page of the
// area's page id. No window code: the native builds test and fuzz it.
#pragma once

#include <functional>
#include <string>

namespace advert {

// "file://<share>\default_hzh.htm" (ids 1003, 1009), "warning60.htm" (1004),
// "exitad.htm" (1006), "exdlgad.htm" (1007), "gg.htm" (every other id).
std::string DefaultPage(int nPageId, const std::string& share);

// "<share>\Advert\<area>\<file>".
std::string AreaPagePath(const std::string& share, int nArea, const std::string& file);

// True when the value holds "http://" (in any case).
bool IsRemotePage(const std::string& value);

// The page for an area: a remote value unchanged; else the area's own file as
// a "file://" address when it exists (fileExists is asked with the path);
// else the default page of the id.
std::string ChoosePage(const std::string& value, const std::string& share, int nArea, int nPageId,
                       const std::function<bool(const std::string&)>& fileExists);

// The local page of a name: at most 259 bytes of it, the part from its last
// '.' on replaced by ".htm". False for a name without '.' or when the result
// would not fit in 259 bytes.
bool LocalPageName(const char* pszName, std::string* pResult);

} // namespace advert
