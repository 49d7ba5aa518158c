#include "KitSkin.h"

#include "SmallUtilities.h"
#include "app/GameEnvironment.h"

#include <cstdio>
#include <vector>

const char kCommonSkinSection[] = "QVDLG";

namespace {

const int kRegionNameSize = 64;

struct RegionRecord
{
    char name[kRegionNameSize];
    HRGN hRegion;
};

std::vector<RegionRecord>& RegionCache()
{
    static std::vector<RegionRecord> s_cache;
    return s_cache;
}

}  // namespace

CString KitSkinIniPath()
{
    return GetThemeFile();
}

CString KitSkinImageFolder()
{
    return GetThemeFolder();
}

HINSTANCE KitThemeModule()
{
    return GetThemeResMode() != 0 ? GetThemeResModule() : NULL;
}

CString KitReadSkinString(LPCSTR lpszSection, LPCSTR lpszKey, LPCSTR lpszDefault)
{
    const CString ini = KitSkinIniPath();
    char common[512];
    char own[512];
    ::GetPrivateProfileStringA(kCommonSkinSection, lpszKey, lpszDefault, common, sizeof common, ini);
    ::GetPrivateProfileStringA(lpszSection, lpszKey, common, own, sizeof own, ini);
    return CString(own);
}

int KitReadSkinInt(LPCSTR lpszSection, LPCSTR lpszKey, int nDefault)
{
    const CString ini = KitSkinIniPath();
    const int nCommon = (int)::GetPrivateProfileIntA(kCommonSkinSection, lpszKey, nDefault, ini);
    return (int)::GetPrivateProfileIntA(lpszSection, lpszKey, nCommon, ini);
}

int KitReadOwnInt(LPCSTR lpszSection, LPCSTR lpszKey, int nDefault)
{
    return (int)::GetPrivateProfileIntA(lpszSection, lpszKey, nDefault, KitSkinIniPath());
}

COLORREF KitReadSkinColour(LPCSTR lpszSection, LPCSTR lpszKey, COLORREF crDefault)
{
    const CString ini = KitSkinIniPath();
    const COLORREF crCommon = IniReadIntsV(kCommonSkinSection, lpszKey, crDefault, ini);
    return IniReadIntsV(lpszSection, lpszKey, crCommon, ini);
}

BOOL KitLoadSkinImageValue(CQVBitmap& image, const CString& value)
{
    if (value.IsEmpty())
        return FALSE;
    HINSTANCE hModule = KitThemeModule();
    if (hModule != NULL) {
        int pair[2] = {0, 0};
        if (sscanf(value, "%d,%d", &pair[0], &pair[1]) < 1 || pair[0] <= 0)
            return FALSE;
        HBITMAP hBitmap = CQVBitmap::LoadImageFromModule(hModule, (UINT)pair[0], pair[1]);
        if (hBitmap == NULL)
            return FALSE;
        image.Clear();
        image.Attach(hBitmap);
        return TRUE;
    }
    return image.LoadFromFile(KitSkinImageFolder() + value, TRUE);
}

BOOL KitLoadSkinImage(CQVBitmap& image, LPCSTR lpszSection, LPCSTR lpszKey, LPCSTR lpszDefault, CString* pName)
{
    const CString value = KitReadSkinString(lpszSection, lpszKey, KitThemeModule() != NULL ? "" : lpszDefault);
    if (pName != NULL)
        *pName = value;
    return KitLoadSkinImageValue(image, value);
}

HRGN KitFindCachedRegion(LPCSTR lpszName)
{
    if (lpszName == NULL)
        return NULL;
    for (const RegionRecord& r : RegionCache())
        if (_strnicmp(r.name, lpszName, kRegionNameSize - 1) == 0)
            return r.hRegion;
    return NULL;
}

HRGN KitCacheRegion(LPCSTR lpszName, HRGN hRegion)
{
    if (lpszName == NULL || hRegion == NULL)
        return NULL;
    RegionRecord r;
    lstrcpynA(r.name, lpszName, kRegionNameSize);
    r.hRegion = hRegion;
    try {
        std::vector<RegionRecord>& cache = RegionCache();
        cache.insert(cache.begin(), r);
    } catch (...) {
        ::DeleteObject(hRegion);
        return NULL;   // no record: the dialog goes without a region
    }
    return hRegion;
}

int KitCachedRegionCount()
{
    return (int)RegionCache().size();
}

void KitClearRegionCache()
{
    for (const RegionRecord& r : RegionCache())
        ::DeleteObject(r.hRegion);
    RegionCache().clear();
}
