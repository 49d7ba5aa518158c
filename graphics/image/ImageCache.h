// ImageCache.h - CImageCache: pictures, ini stores and raw files by name
// from one folder or one resource pack.
//
// Pictures are loaded once into image objects kept under their names
// (exactly as spelt: names are case-sensitive keys) with a use count; the
// cache owns them and users must not free them. A picture lives until its
// last Release, a forced Release, FreeAll or Close.
//
// An optional mutex (attached by the user, never created here) guards the
// table in FreeAll, FindOrLoad and FindName. Its waits end after 5000 ms,
// after which the operation goes on unguarded; AddRef and Release never
// take it.
#pragma once

#include <afx.h>

#include "ImageObj.h"

class CQVIniFile;
class CQVPackFile;

class CImageCache
{
public:
    // Open results.
    enum
    {
        kOpened = 0,
        kPackAllocFailed = 1,
        kPackOpenFailed = 2,
        kNoSource = 3,
    };
    static const DWORD kMutexWaitMs = 5000;

    CImageCache();
    virtual ~CImageCache();
    CImageCache(const CImageCache&) = delete;
    CImageCache& operator=(const CImageCache&) = delete;

    // Empties the table (every picture is freed).
    virtual void FreeAll();

    // A resource pack file, or a folder (a trailing backslash is added).
    int Open(LPCSTR path);
    void Close();

    // Takes over a mutex handle (closed with the cache); NULL detaches.
    void SetMutex(HANDLE mutex);
    BOOL HasMutex() const { return m_hMutex != NULL; }

    // Loads a picture into a new entry with use count 0. A name already in
    // the table keeps its image object (so its holders stay valid) and
    // receives the new picture. 0 when the picture cannot be loaded.
    BOOL Load(LPCSTR name);
    // The picture of that name, loaded when missing; NULL when it cannot be.
    // The use count does not change.
    CImageObj* FindOrLoad(LPCSTR name);
    CImageObj* Get(LPCSTR name) { return FindOrLoad(name); }
    // One more user of a cached picture; NULL when the name is not cached.
    CImageObj* AddRef(LPCSTR name);
    // One user less: at a count of 0 or below, or with force, the picture is
    // freed (a forced release must not happen while others hold it).
    void Release(LPCSTR name, BOOL force);
    // The name of a cached picture; empty when it is not in the table.
    CString FindName(const CImageObj* image);
    int GetImageCount() const { return static_cast<int>(m_images.GetCount()); }

    // A new ini store loaded from the source; NULL when it cannot be read.
    CQVIniFile* LoadIniFile(LPCSTR name);
    // The same in folder mode; in pack mode an empty store.
    CQVIniFile* LoadIniFileFromFolder(LPCSTR name);
    void DeleteIniFile(CQVIniFile* ini);

    // The whole file (or pack entry) in a new buffer freed with FreeBuffer;
    // its size, 0 when it cannot be read or is empty.
    DWORD ReadFile(LPCSTR name, void** data);
    static void FreeBuffer(void* data);
    BOOL FileExists(LPCSTR name);
    // The folder (ending with a backslash); empty in pack mode.
    CString GetFolder() const;

    // Files read from a folder larger than this are refused.
    static const DWORD kMaxFileSize = 256u * 1024 * 1024;

protected:
    struct Entry
    {
        LONG useCount;
        CImageObj image;
    };

    // Waits for the mutex when there is one; true when it was taken.
    bool Lock() const;
    void Unlock(bool locked) const;
    Entry* Find(LPCSTR name) const;
    BOOL LoadPicture(LPCSTR name, CImageObj& image);
    BOOL ReadPackEntry(LPCSTR name, void** data, DWORD* size);
    void FreeAllUnlocked();

    CMapStringToPtr m_images;
    HANDLE m_hMutex;
    CString m_folder;
    CQVPackFile* m_pPack;
};
