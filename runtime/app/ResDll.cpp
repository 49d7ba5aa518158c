#include "ResDll.h"

#include <stdio.h>
#include <string.h>

#include <memory>
#include <new>

#include "ClientServices.h"
#include "GameEnvironment.h"
#include "StringFunctions.h"
#include "store/FilePaths.h"

ResVersionInfo theResVersion;

namespace {

HMODULE g_hResDll = NULL;

// The check's outcome: which box, if any.
enum CheckFailure { kCheckOk, kNotFound, kNotResourceFile, kOutOfMemory, kIncorrectVersion, kTooOld };

void ShowFailure(CheckFailure failure, LPCSTR lpszGame)
{
    CString text;
    switch (failure) {
    case kNotFound:
        text.Format("%s_Res.dll not found !", lpszGame);
        break;
    case kNotResourceFile:
        text.Format("%s_Res.dll is not a valid resource file !", lpszGame);
        break;
    case kOutOfMemory:
        text = "Out off memory when version compare!";
        break;
    case kIncorrectVersion:
        text.Format("Incorrect version of %s_Res.dll !", lpszGame);
        break;
    case kTooOld:
        text.Format("Too old version of %s_Res.dll !", lpszGame);
        break;
    case kCheckOk:
        return;
    }
    MsgBoxText(text, MB_ICONSTOP);
}

CString ModulePath(HMODULE hModule)
{
    char szPath[MAX_PATH] = "";
    ::GetModuleFileNameA(hModule, szPath, MAX_PATH);
    szPath[MAX_PATH - 1] = '\0';
    return CString(szPath);
}

CString InstallPathOf(LPCSTR lpszGame)
{
    CString key;
    key.Format(kGameKeyFormat, lpszGame);
    CString path = RegReadString(key, "Path");
    if (!path.IsEmpty() && path[path.GetLength() - 1] != '\\')
        path += '\\';
    return path;
}

// A file's version block, read whole.
struct VersionBlock {
    std::unique_ptr<BYTE[]> data;
    VS_FIXEDFILEINFO* fixed = nullptr;
    DWORD translation = 0;

    // kCheckOk, kNotResourceFile (no block) or kOutOfMemory.
    CheckFailure Read(LPCSTR lpszPath)
    {
        DWORD dwHandle = 0;
        const DWORD dwSize = ::GetFileVersionInfoSizeA(lpszPath, &dwHandle);
        if (dwSize == 0)
            return kNotResourceFile;
        data.reset(new (std::nothrow) BYTE[dwSize]);
        if (!data)
            return kOutOfMemory;
        UINT cb = 0;
        if (!::GetFileVersionInfoA(lpszPath, 0, dwSize, data.get()) ||
            !::VerQueryValueA(data.get(), "\\", reinterpret_cast<void**>(&fixed), &cb) || fixed == nullptr ||
            cb < sizeof(VS_FIXEDFILEINFO))
            return kNotResourceFile;
        WORD* pTranslation = nullptr;
        if (::VerQueryValueA(data.get(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&pTranslation),
                             &cb) &&
            pTranslation != nullptr && cb >= 4)
            translation = MAKELONG(pTranslation[0], pTranslation[1]);
        return kCheckOk;
    }

    // A string of the block in its own translation, cut to 60 characters.
    void String(LPCSTR lpszName, char (&out)[61]) const
    {
        out[0] = '\0';
        char szBlock[128];
        snprintf(szBlock, sizeof(szBlock), "\\StringFileInfo\\%04x%04x\\%s", LOWORD(translation),
                 HIWORD(translation), lpszName);
        char* pValue = nullptr;
        UINT cch = 0;
        if (!::VerQueryValueA(data.get(), szBlock, reinterpret_cast<void**>(&pValue), &cch) || pValue == nullptr)
            return;
        const size_t n = CharBoundaryAtOrBefore(pValue, std::min<size_t>(strnlen(pValue, cch), 60));
        memcpy(out, pValue, n);
        out[n] = '\0';
    }
};

uint64_t VersionOf(DWORD dwMS, DWORD dwLS) { return (uint64_t)dwMS << 32 | dwLS; }

uint64_t VersionOfText(LPCSTR lpszText)
{
    WORD parts[4];
    ParseVersionText(lpszText, parts);
    return (uint64_t)parts[0] << 48 | (uint64_t)parts[1] << 32 | (uint64_t)parts[2] << 16 | parts[3];
}

BOOL EndsWithResource(const char* pszName)
{
    const size_t n = strlen(pszName);
    return n >= 8 && strcmp(pszName + n - 8, "Resource") == 0;
}

// How the library's version is held against the program's.
enum class VersionRule { kEqual, kString, kMinimum };

CheckFailure CheckResDll(HMODULE hLibrary, LPCSTR lpszLibraryPath, VersionRule rule, UINT nStringId,
                         LPCSTR lpszMinimum)
{
    VersionBlock program, library;
    CheckFailure failure = program.Read(ModulePath(NULL));
    if (failure == kCheckOk)
        failure = library.Read(lpszLibraryPath);
    if (failure != kCheckOk)
        return failure;
    if (program.fixed->dwFileType != VFT_APP || library.fixed->dwFileType != VFT_DLL)
        return kNotResourceFile;

    const DWORD dwProgramMS = program.fixed->dwFileVersionMS, dwProgramLS = program.fixed->dwFileVersionLS;
    const DWORD dwLibraryMS = library.fixed->dwFileVersionMS, dwLibraryLS = library.fixed->dwFileVersionLS;
    switch (rule) {
    case VersionRule::kEqual:
        if (dwProgramMS != dwLibraryMS || dwProgramLS != dwLibraryLS)
            return kIncorrectVersion;
        break;
    case VersionRule::kString: {
        CString own, theirs;
        if (!own.LoadString(::GetModuleHandleA(NULL), nStringId) || !theirs.LoadString(hLibrary, nStringId) ||
            own != theirs)
            return kIncorrectVersion;
        break;
    }
    case VersionRule::kMinimum:
        if (VersionOf(dwLibraryMS, dwLibraryLS) < VersionOfText(lpszMinimum))
            return kTooOld;
        break;
    }

    ResVersionInfo& info = theResVersion;
    info.programVersionMS = dwProgramMS;
    info.programVersionLS = dwProgramLS;
    info.libraryVersionMS = dwLibraryMS;
    info.libraryVersionLS = dwLibraryLS;
    info.programTranslation = program.translation;
    info.libraryTranslation = library.translation;
    FormatVersionText(dwProgramMS, dwProgramLS, info.programVersionText, sizeof(info.programVersionText));
    FormatVersionText(dwLibraryMS, dwLibraryLS, info.libraryVersionText, sizeof(info.libraryVersionText));
    FormatShortVersion(dwProgramMS, dwProgramLS, info.shortVersionText, sizeof(info.shortVersionText));

    program.String("InternalName", info.programInternalName);
    library.String("InternalName", info.libraryInternalName);
    const size_t nProgramName = strlen(info.programInternalName);
    if (strncmp(info.libraryInternalName, info.programInternalName, nProgramName) != 0 ||
        !EndsWithResource(info.libraryInternalName))
        return kIncorrectVersion;

    library.String("FileDescription", info.fileDescription);
    library.String("ProductName", info.productName);
    library.String("CompanyName", info.companyName);
    library.String("LegalCopyright", info.legalCopyright);
    library.String("Comments", info.comments);
    program.String("SpecialBuild", info.specialBuild);
    // The code page of the resources is known now.
    LoadCodePageConverter();
    memset(&info.osVersion, 0, sizeof(info.osVersion));
    info.osVersion.dwOSVersionInfoSize = sizeof(info.osVersion);
    ::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info.osVersion));
    return kCheckOk;
}

BOOL LoadAndCheck(LPCSTR lpszGame, VersionRule rule, UINT nStringId, LPCSTR lpszMinimum)
{
    if (lpszGame == NULL)
        return FALSE;
    FreeResDll();
    CString path;
    HMODULE hLibrary = OpenResDll(lpszGame, &path);
    if (hLibrary == NULL) {
        ShowFailure(kNotFound, lpszGame);
        return FALSE;
    }
    g_hResDll = hLibrary;
    AfxSetResourceHandle(hLibrary);
    const CheckFailure failure = CheckResDll(hLibrary, path, rule, nStringId, lpszMinimum);
    ShowFailure(failure, lpszGame);
    return failure == kCheckOk;
}

}  // namespace

void FormatVersionText(DWORD dwMS, DWORD dwLS, char* pOut, size_t nSize)
{
    snprintf(pOut, nSize, "%d.%02d.%d.%d", HIWORD(dwMS), LOWORD(dwMS), HIWORD(dwLS), LOWORD(dwLS));
}

void FormatShortVersion(DWORD dwMS, DWORD dwLS, char* pOut, size_t nSize)
{
    char szSuffix[16] = "";
    if (LOWORD(dwLS) != 255)
        snprintf(szSuffix, sizeof(szSuffix), " Beta%d", LOWORD(dwLS));
    snprintf(pOut, nSize, "%d.%02d%s", HIWORD(dwMS), LOWORD(dwMS), szSuffix);
}

HMODULE OpenResDll(LPCSTR lpszGame, CString* pPath)
{
    if (lpszGame == NULL)
        return NULL;
    char szFolder[MAX_PATH] = "";
    GetModuleFolder(szFolder);
    RemoveTrailingSlash(szFolder);
    CString path;
    path.Format("%s\\%s_Res.dll", szFolder, lpszGame);
    HMODULE hModule = ::LoadLibraryA(path);
    if (hModule == NULL) {
        CString install = InstallPathOf(lpszGame);
        RemoveTrailingSlash(install.GetBuffer(install.GetLength()));
        install.ReleaseBuffer();
        path.Format("%s\\%s_Res.dll", (LPCSTR)install, lpszGame);
        if (!install.IsEmpty())
            hModule = ::LoadLibraryA(path);
    }
    if (hModule != NULL && pPath != NULL)
        *pPath = path;
    return hModule;
}

BOOL LoadResDll(LPCSTR lpszGame) { return LoadAndCheck(lpszGame, VersionRule::kEqual, 0, NULL); }

BOOL LoadResDllByString(LPCSTR lpszGame, UINT nStringId)
{
    return LoadAndCheck(lpszGame, VersionRule::kString, nStringId, NULL);
}

BOOL LoadResDllMinVersion(LPCSTR lpszGame, LPCSTR lpszMinimumVersion)
{
    if (lpszMinimumVersion == NULL || *lpszMinimumVersion == '\0')
        return LoadResDll(lpszGame);
    return LoadAndCheck(lpszGame, VersionRule::kMinimum, 0, lpszMinimumVersion);
}

void FreeResDll()
{
    if (g_hResDll == NULL)
        return;
    if (AfxGetResourceHandle() == g_hResDll)
        AfxSetResourceHandle(AfxGetInstanceHandle());
    ::FreeLibrary(g_hResDll);
    g_hResDll = NULL;
}

HMODULE GetResDll() { return g_hResDll; }

BOOL GetInstalledVersion(LPCSTR lpszGame, DWORD* pdwHigh, DWORD* pdwLow, CString* pText)
{
    if (lpszGame == NULL)
        return FALSE;
    const CString install = InstallPathOf(lpszGame);
    static const char* const kFormats[] = {"%s%s.exe", "%s%s_Res.dll"};
    for (const char* pszFormat : kFormats) {
        CString path;
        path.Format(pszFormat, (LPCSTR)install, lpszGame);
        VersionBlock block;
        if (block.Read(path) != kCheckOk)
            continue;
        if (pdwHigh != NULL)
            *pdwHigh = block.fixed->dwFileVersionMS;
        if (pdwLow != NULL)
            *pdwLow = block.fixed->dwFileVersionLS;
        if (pText != NULL) {
            char szText[32];
            FormatVersionText(block.fixed->dwFileVersionMS, block.fixed->dwFileVersionLS, szText, sizeof(szText));
            *pText = szText;
        }
        return TRUE;
    }
    return FALSE;
}
