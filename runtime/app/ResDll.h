// The game's resource library "<game>_Res.dll": loaded at start-up, made the
// module the framework loads resources from, and checked against the
// program by the version blocks of both files. The check also collects the
// version and "about" texts that the client shows elsewhere.
#pragma once

#include "afxwin.h"

#include <cstdint>

// What the check read.
struct ResVersionInfo {
    DWORD programVersionMS, programVersionLS;
    DWORD libraryVersionMS, libraryVersionLS;
    DWORD programTranslation, libraryTranslation;   // language in the low word, code page in the high
    char programVersionText[32];                    // "%d.%02d.%d.%d"
    char libraryVersionText[32];
    char shortVersionText[32];                      // "%d.%02d" and " Beta%d" unless 255
    char programInternalName[61];
    char libraryInternalName[61];
    char fileDescription[61];
    char productName[61];
    char companyName[61];
    char legalCopyright[61];
    char comments[61];
    char specialBuild[61];                          // the program's
    OSVERSIONINFOEXA osVersion;
};
extern ResVersionInfo theResVersion;

// "%d.%02d.%d.%d" of a file version.
void FormatVersionText(DWORD dwMS, DWORD dwLS, char* pOut, size_t nSize);
// "%d.%02d%s": the suffix " Beta%d" of the low half of dwLS unless it is 255.
void FormatShortVersion(DWORD dwMS, DWORD dwLS, char* pOut, size_t nSize);

// Loads "<program folder>\<game>_Res.dll", else the same name in the
// install folder (the game's "Path"). The handle, or NULL.
HMODULE OpenResDll(LPCSTR lpszGame, CString* pPath = NULL);
// Loads, installs as the resource module and checks the library: file types,
// equal file versions and the internal names. 1 on success; each refusal
// shows its box (stop icon) and leaves a loaded library installed.
BOOL LoadResDll(LPCSTR lpszGame);
// The same, comparing one string of the string table in place of the
// versions.
BOOL LoadResDllByString(LPCSTR lpszGame, UINT nStringId);
// The same, refusing only a library older than the four-part version text
// ("Too old version of %s_Res.dll !"); no text: LoadResDll.
BOOL LoadResDllMinVersion(LPCSTR lpszGame, LPCSTR lpszMinimumVersion);
// Frees the held library (the resource module falls back to the program).
void FreeResDll();
HMODULE GetResDll();
// The file version of "<install path><game>.exe", else of
// "<install path><game>_Res.dll". 0 when neither has a version block.
BOOL GetInstalledVersion(LPCSTR lpszGame, DWORD* pdwHigh, DWORD* pdwLow, CString* pText);
