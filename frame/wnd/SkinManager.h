// SkinManager.h - CSkinManager: which downloadable skin packs the game uses.
//
// The platform's shared skin folder holds "ZozeRidadoDodu.ini" with a section
// per game; each key is a skin line "id,flag name,identity,time ranges,pack
// name,pack version,flags". LoadSkins takes the lines that belong to this
// game's skin identity, apply now and match their pack's installed version,
// and points up to four result folders at their packs. HandleNetSkinData
// writes fresh lines from the server into the ini and asks the downloader for
// every pack that is missing or out of date while its time is current or to
// come.
//
// Server text is checked before use: a section text without its closing
// double NUL, and lines whose identity or pack name could leave the skin
// folder (a "..", a slash, a backslash or a colon), are refused.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

class CTimeRangeList;

class ISkinDownloader
{
public:
    virtual ~ISkinDownloader() = default;
    // One fetch of a pack by name and version (dotted version as one number,
    // the first part in the top byte).
    virtual void RequestPack(const char* packName, uint32_t version) = 0;
};

struct SkinLine
{
    int id = 0;
    char flagName[32] = "";
    char identity[32] = "";
    std::string ranges;       // '-' within a range, '&' between ranges
    char packName[32] = "";
    char packVersion[32] = "";
    int flags = 0;            // bits 0, 1 and 3 only
};

class CSkinManager
{
public:
    CSkinManager();
    virtual ~CSkinManager();

    BOOL Init(const char* pcszGameName, const char* pcszSkinIdentify);
    BOOL LoadSkins();
    // The section body: key=value strings, each NUL-terminated, ended by an
    // empty string, within length bytes.
    void HandleNetSkinData(const char* text, size_t length);

    // Splits a skin line; FALSE (with one trace) when a field is missing.
    BOOL ParseIniLine(const char* line, SkinLine* entry);
    // "a.b.c.d" as one number, the first part in the top byte.
    static uint32_t VersionNumber(const char* text);

    void SetDownloader(ISkinDownloader* downloader) { m_pDownloader = downloader; }
    // The clock of the time ranges (tests); NULL: the local time.
    void SetClock(void(WINAPI* clock)(SYSTEMTIME*)) { m_pfnClock = clock; }

    const char* GetResultPath(int use) const { return use >= 1 && use <= 4 ? m_szResult[use - 1] : ""; }
    const char* GetSkinFolder() const { return m_szSkinFolder; }
    const char* GetIniPath() const { return m_szIniPath; }

protected:
    // The "Path" value of HKCU "Software\Quorvintel\Game\share" and of the
    // game's own key; empty when absent.
    virtual std::string ReadSharePath();
    virtual std::string ReadGamePath();
    // The manager's trace routine (a no-op here).
    virtual void Trace(const char* text);

    std::string PackVersion(const char* identity);
    BOOL ParseRanges(const std::string& text, CTimeRangeList& ranges);
    static bool SafeName(const char* name);

    char m_szGameName[32];
    char m_szSkinIdentify[32];
    char m_szSkinFolder[MAX_PATH];
    char m_szIniPath[MAX_PATH];
    char m_szResult[4][MAX_PATH];
    ISkinDownloader* m_pDownloader;
    void(WINAPI* m_pfnClock)(SYSTEMTIME*);
};
