// ImageCache.cpp - pictures, ini stores and files by name from a folder or
// a resource pack.
#include "ImageCache.h"

#include <limits.h>
#include <stdio.h>

#include <new>

#include "store/QVIniFile.h"
#include "store/QVPackFile.h"

namespace {

// True when the path's last character is a backslash (not the trail byte of
// a double-byte character).
bool EndsWithBackslash(LPCSTR path)
{
    bool last = false;
    for (const char* p = path; *p; p++) {
        last = false;
        if (IsDBCSLeadByte(static_cast<BYTE>(*p)) && p[1]) {
            p++;
            continue;
        }
        last = *p == '\\';
    }
    return last;
}

}  // namespace

CImageCache::CImageCache() : m_images(10), m_hMutex(NULL), m_pPack(NULL) {}

CImageCache::~CImageCache()
{
    Close();
    if (m_hMutex)
        CloseHandle(m_hMutex);
}

void CImageCache::SetMutex(HANDLE mutex)
{
    if (m_hMutex && m_hMutex != mutex)
        CloseHandle(m_hMutex);
    m_hMutex = mutex;
}

bool CImageCache::Lock() const
{
    if (!m_hMutex)
        return false;
    const DWORD result = WaitForSingleObject(m_hMutex, kMutexWaitMs);
    // After a time-out the work goes on unguarded, and the mutex (which this
    // thread does not own) is not released afterwards.
    return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
}

void CImageCache::Unlock(bool locked) const
{
    if (locked)
        ReleaseMutex(m_hMutex);
}

void CImageCache::FreeAllUnlocked()
{
    POSITION pos = m_images.GetStartPosition();
    while (pos) {
        CString name;
        void* value = NULL;
        m_images.GetNextAssoc(pos, name, value);
        delete static_cast<Entry*>(value);
    }
    m_images.RemoveAll();
}

void CImageCache::FreeAll()
{
    const bool locked = Lock();
    FreeAllUnlocked();
    Unlock(locked);
}

int CImageCache::Open(LPCSTR path)
{
    Close();
    if (!path || !*path)
        return kNoSource;
    FILE* file = fopen(path, "rb");
    if (file) {
        fclose(file);
        m_pPack = new (std::nothrow) CQVPackFile;
        if (!m_pPack)
            return kPackAllocFailed;
        if (!m_pPack->Open(path, FALSE)) {
            delete m_pPack;
            m_pPack = NULL;
            return kPackOpenFailed;
        }
        m_folder = path;
        return kOpened;
    }
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        m_folder = path;
        if (!EndsWithBackslash(path))
            m_folder += '\\';
        return kOpened;
    }
    return kNoSource;
}

void CImageCache::Close()
{
    if (m_pPack) {
        m_pPack->Close();
        delete m_pPack;
        m_pPack = NULL;
    }
    m_folder.Empty();
    FreeAll();
}

CImageCache::Entry* CImageCache::Find(LPCSTR name) const
{
    void* value = NULL;
    if (!name || !m_images.Lookup(name, value))
        return NULL;
    return static_cast<Entry*>(value);
}

BOOL CImageCache::ReadPackEntry(LPCSTR name, void** data, DWORD* size)
{
    *data = NULL;
    *size = 0;
    uint32_t length = 0;
    if (!m_pPack || !name || !m_pPack->ReadEntry(name, data, &length))
        return FALSE;
    *size = length;
    return TRUE;
}

BOOL CImageCache::LoadPicture(LPCSTR name, CImageObj& image)
{
    if (m_pPack) {
        void* data;
        DWORD size;
        if (!ReadPackEntry(name, &data, &size))
            return FALSE;
        const BOOL loaded = image.LoadMemory(data, size);
        CQVPackFile::FreeData(data);
        return loaded;
    }
    if (m_folder.IsEmpty())
        return FALSE;  // never opened
    return image.LoadFile(m_folder + name);
}

BOOL CImageCache::Load(LPCSTR name)
{
    if (!name)
        return FALSE;
    Entry* fresh = new (std::nothrow) Entry;
    if (!fresh)
        return FALSE;
    fresh->useCount = 0;
    if (!LoadPicture(name, fresh->image)) {
        delete fresh;
        return FALSE;
    }
    Entry* old = Find(name);
    if (old) {
        // Its holders keep their pointer; the object takes the new picture.
        const BOOL copied = old->image.CopyFrom(fresh->image.GetBitmap(), fresh->image.GetBPP());
        delete fresh;
        return copied;
    }
    m_images.SetAt(name, fresh);
    return TRUE;
}

CImageObj* CImageCache::FindOrLoad(LPCSTR name)
{
    const bool locked = Lock();
    Entry* entry = Find(name);
    if (!entry && Load(name))
        entry = Find(name);
    Unlock(locked);
    return entry ? &entry->image : NULL;
}

CImageObj* CImageCache::AddRef(LPCSTR name)
{
    Entry* entry = Find(name);
    if (!entry)
        return NULL;
    entry->useCount++;
    return &entry->image;
}

void CImageCache::Release(LPCSTR name, BOOL force)
{
    Entry* entry = Find(name);
    if (!entry)
        return;
    ASSERT(!force || entry->useCount <= 1);
    if (!force) {
        entry->useCount--;
        if (entry->useCount > 0)
            return;
    }
    m_images.RemoveKey(name);
    delete entry;
}

CString CImageCache::FindName(const CImageObj* image)
{
    CString found;
    const bool locked = Lock();
    POSITION pos = m_images.GetStartPosition();
    while (pos && image) {
        CString name;
        void* value = NULL;
        m_images.GetNextAssoc(pos, name, value);
        if (&static_cast<Entry*>(value)->image == image) {
            found = name;
            break;
        }
    }
    Unlock(locked);
    return found;
}

CQVIniFile* CImageCache::LoadIniFile(LPCSTR name)
{
    if (!name)
        return NULL;
    CQVIniFile* ini = new (std::nothrow) CQVIniFile;
    if (!ini)
        return NULL;
    BOOL loaded = FALSE;
    if (m_pPack) {
        void* data;
        DWORD size;
        if (ReadPackEntry(name, &data, &size)) {
            loaded = size <= static_cast<DWORD>(INT_MAX) && ini->LoadFromMemory(data, static_cast<int>(size));
            CQVPackFile::FreeData(data);
        }
    } else if (!m_folder.IsEmpty()) {
        loaded = ini->LoadFile(m_folder + name);
    }
    if (!loaded) {
        delete ini;
        return NULL;
    }
    return ini;
}

CQVIniFile* CImageCache::LoadIniFileFromFolder(LPCSTR name)
{
    if (!m_pPack)
        return LoadIniFile(name);
    return new (std::nothrow) CQVIniFile;
}

void CImageCache::DeleteIniFile(CQVIniFile* ini)
{
    if (!ini)
        return;
    ini->Clear();
    delete ini;
}

DWORD CImageCache::ReadFile(LPCSTR name, void** data)
{
    if (!data)
        return 0;
    *data = NULL;
    if (!name)
        return 0;
    if (m_pPack) {
        DWORD size;
        if (!ReadPackEntry(name, data, &size))
            return 0;
        return size;
    }
    if (m_folder.IsEmpty())
        return 0;
    HANDLE file = CreateFileA(m_folder + name, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    DWORD high = 0;
    const DWORD size = GetFileSize(file, &high);
    DWORD read = 0;
    BYTE* buffer = NULL;
    if (size != INVALID_FILE_SIZE && high == 0 && size > 0 && size <= kMaxFileSize)
        buffer = new (std::nothrow) BYTE[size];
    if (buffer && (!::ReadFile(file, buffer, size, &read, NULL) || read != size)) {
        delete[] buffer;
        buffer = NULL;
    }
    CloseHandle(file);
    if (!buffer)
        return 0;
    *data = buffer;
    return size;
}

void CImageCache::FreeBuffer(void* data)
{
    // Folder and pack buffers are both new[] arrays of bytes.
    CQVPackFile::FreeData(data);
}

BOOL CImageCache::FileExists(LPCSTR name)
{
    if (!name)
        return FALSE;
    if (m_pPack) {
        void* data;
        DWORD size;
        if (!ReadPackEntry(name, &data, &size))
            return FALSE;
        CQVPackFile::FreeData(data);
        return TRUE;
    }
    if (m_folder.IsEmpty())
        return FALSE;
    HANDLE file = CreateFileA(m_folder + name, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    CloseHandle(file);
    return TRUE;
}

CString CImageCache::GetFolder() const { return m_pPack ? CString() : m_folder; }
