// KitSkin.h - where the kit's dialogs find their skin: the dialog skin ini
// (the theme file), the skin image folder and, in resource-module mode, the
// theme resource module; reading keys with the "QVDLG" fallback; the
// process-wide cache of frame regions.
#pragma once

#include "QVBitmap.h"

// The common section every dialog section falls back to.
extern const char kCommonSkinSection[];   // "QVDLG"

CString KitSkinIniPath();
CString KitSkinImageFolder();
// The theme resource module when resource-module mode is on, else NULL.
HINSTANCE KitThemeModule();

// Own section, then "QVDLG", then the default.
CString KitReadSkinString(LPCSTR lpszSection, LPCSTR lpszKey, LPCSTR lpszDefault = "");
int KitReadSkinInt(LPCSTR lpszSection, LPCSTR lpszKey, int nDefault);
COLORREF KitReadSkinColour(LPCSTR lpszSection, LPCSTR lpszKey, COLORREF crDefault);
// The own section only.
int KitReadOwnInt(LPCSTR lpszSection, LPCSTR lpszKey, int nDefault);

// An image key: in resource-module mode the value "id,kind" loaded from the
// theme module, else the image folder followed by the value, loaded from the
// file. lpszDefault is the file-mode value when the key is missing from both
// sections. pszName (optional) receives the value used (file mode).
BOOL KitLoadSkinImage(CQVBitmap& image, LPCSTR lpszSection, LPCSTR lpszKey, LPCSTR lpszDefault = "",
                      CString* pName = NULL);
// The same from a value already read.
BOOL KitLoadSkinImageValue(CQVBitmap& image, const CString& value);

// The frame-region cache: names of at most 63 characters, compared without
// case; new records go in front; the cache owns the regions.
HRGN KitFindCachedRegion(LPCSTR lpszName);
HRGN KitCacheRegion(LPCSTR lpszName, HRGN hRegion);
int KitCachedRegionCount();
// Frees every cached region (end of the program, tests).
void KitClearRegionCache();
