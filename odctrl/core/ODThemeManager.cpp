// ODThemeManager.cpp - opening the theme and reading its values and pictures.
#include "ODThemeManager.h"

#include <stdio.h>
#include <string.h>

#include <vector>

#include "ODSkinImage.h"
#include "ODThemeValues.h"
#include "graphics/image/IconFile.h"
#include "graphics/image/ImageDecoder.h"

const char CODThemeManager::kMsgNoIni[] = "无法找到配置文件，初始化自绘控件类库失败！";
const char CODThemeManager::kMsgNoResFile[] = "无法找到资源文件，初始化自绘控件类库失败！";
const char CODThemeManager::kMsgNoPackFormat[] = "无法找到资源包%s，初始化自绘控件类库失败";
const char CODThemeManager::kMsgNoPackIni[] = "无法在资源包中找到配置文件，初始化自绘控件类库失败！";

namespace {

const char kResource[] = "Resource";
const char kPackIni[] = "QVTheme.ini";
const WORD kNeutral = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);

void ShowFailure(LPCSTR text) { AfxMessageBox(text, MB_OK | MB_ICONSTOP, 0); }

// Frees a pack entry's blocks when it goes.
struct EntryData
{
    void* data = NULL;
    uint32_t length = 0;
    ~EntryData() { CQVPackFile::FreeData(data); }
};

}  // namespace

CODThemeManager::CODThemeManager() : m_nMode(ModeLooseFiles), m_hModule(NULL) {}

CODThemeManager::~CODThemeManager() { Close(); }

void CODThemeManager::Close()
{
    if (m_hModule) {
        FreeLibrary(m_hModule);
        m_hModule = NULL;
    }
    m_pack.Close();
    m_ini.Clear();
}

BOOL CODThemeManager::Init(LPCSTR path, int mode)
{
    if (!path)
        return 0;
    Close();
    m_nMode = mode ? ModeLooseFiles : ModePack;
    return m_nMode == ModeLooseFiles ? InitLoose(path) : InitPack(path);
}

BOOL CODThemeManager::InitLoose(LPCSTR path)
{
    if (!m_ini.LoadFile(path))
        ShowFailure(kMsgNoIni);  // every key then reads as missing
    char resFile[256];
    m_ini.GetString(kResource, "ResFile", "Kelvarin.dll", resFile, sizeof resFile);
    char library[MAX_PATH];
    if (odtheme::ResolveResFile(path, resFile, library, sizeof library))
        m_hModule = LoadLibraryA(library);
    if (!m_hModule) {
        ShowFailure(kMsgNoResFile);
        return 0;
    }
    return 1;
}

BOOL CODThemeManager::InitPack(LPCSTR path)
{
    if (!m_pack.Open(path, FALSE)) {
        CString text;
        text.Format(kMsgNoPackFormat, path);
        ShowFailure(text);
        return 0;
    }
    EntryData entry;
    BOOL loaded = FALSE;
    if (!m_pack.ReadEntry(kPackIni, &entry.data, &entry.length))
        ShowFailure(kMsgNoPackIni);
    else if (entry.length <= kMaxPackIni)
        loaded = m_ini.LoadFromMemory(entry.data, static_cast<int>(entry.length));
    if (!loaded)
        m_pack.Close();  // a pack that failed is not held open
    return loaded;
}

// ---- Values ------------------------------------------------------------------------------------------

int CODThemeManager::GetString(LPCSTR section, LPCSTR key, LPCSTR def, LPSTR buffer, int size)
{
    return m_ini.GetString(section, key, def, buffer, size);
}

int CODThemeManager::GetInt(LPCSTR section, LPCSTR key, int def) { return m_ini.GetInt(section, key, def); }

int CODThemeManager::GetSectionNames(LPSTR buffer, int size) { return m_ini.GetSectionNames(buffer, size); }

int CODThemeManager::GetKeyNames(LPCSTR section, LPSTR buffer, int size)
{
    return m_ini.GetKeyNames(section, buffer, size);
}

COLORREF CODThemeManager::GetColor(LPCSTR section, LPCSTR key, COLORREF def)
{
    char value[odtheme::kColorValueBuffer] = "";
    m_ini.GetString(section, key, "", value, sizeof value);
    return odtheme::ParseColor(value, def);
}

int CODThemeManager::GetPoint(LPCSTR section, LPCSTR key, POINT* point)
{
    char value[256] = "";
    m_ini.GetString(section, key, "", value, sizeof value);
    int x = 0, y = 0;
    const int count = odtheme::ParsePoint(value, &x, &y);
    if (count > 0 && point) {
        point->x = x;
        point->y = y;
    }
    return count;
}

// ---- Pictures ----------------------------------------------------------------------------------------

BOOL CODThemeManager::ReadNamedEntry(LPCSTR prefix, UINT id, void** data, uint32_t* length)
{
    char key[64];
    snprintf(key, sizeof key, "%s%d", prefix, static_cast<int>(id));
    char name[kEntryNameSize] = "";
    m_ini.GetString(kResource, key, "", name, sizeof name);
    return name[0] && m_pack.ReadEntry(name, data, length);
}

HBITMAP CODThemeManager::GetImage(LPCSTR section, LPCSTR key, LPCSTR type)
{
    if (m_nMode == ModePack) {
        char name[kEntryNameSize] = "";
        m_ini.GetString(section, key, "", name, sizeof name);
        return LoadImageFromPack(name);
    }
    const int id = m_ini.GetInt(section, key, -1);
    return id == -1 ? NULL : LoadImage(static_cast<UINT>(id), type);
}

HBITMAP CODThemeManager::LoadImage(UINT id, LPCSTR type)
{
    if (!type || id == 0)
        return NULL;
    if (m_nMode == ModePack) {
        char key[64];
        snprintf(key, sizeof key, "QVImage%d", static_cast<int>(id));
        char name[kEntryNameSize] = "";
        m_ini.GetString(kResource, key, "", name, sizeof name);
        return LoadImageFromPack(name);
    }
    if (!m_hModule)
        return NULL;
    const LPCSTR resource = MAKEINTRESOURCEA(id & 0xFFFF);
    HBITMAP bitmap = LoadResourceOrFile(m_hModule, resource, type, kNeutral);
    if (!bitmap)
        bitmap = LoadBitmapA(m_hModule, resource);
    return bitmap;
}

HBITMAP CODThemeManager::LoadImageFromPack(LPCSTR name)
{
    if (m_nMode != ModePack || !name || !*name)
        return NULL;
    EntryData entry;
    if (!m_pack.ReadEntry(name, &entry.data, &entry.length))
        return NULL;
    return DecodeImage(static_cast<const BYTE*>(entry.data), entry.length);
}

HCURSOR ODCursorFromCurData(const BYTE* data, DWORD size)
{
    std::vector<iconfile::Entry> entries;
    if (!data || !iconfile::ParseDirectory(data, size, &entries, true) || entries.empty())
        return NULL;
    const iconfile::Header* header = reinterpret_cast<const iconfile::Header*>(data);
    if (header->type != iconfile::kCursorType)
        return NULL;
    // The resource form of a cursor image: its hot spot, then the image.
    const iconfile::Entry& e = entries[0];
    std::vector<BYTE> resource(4 + e.bytesInRes);
    const WORD hotSpot[2] = {e.planes, e.bitCount};
    memcpy(resource.data(), hotSpot, sizeof hotSpot);
    memcpy(resource.data() + 4, data + e.imageOffset, e.bytesInRes);
    return reinterpret_cast<HCURSOR>(CreateIconFromResourceEx(resource.data(), static_cast<DWORD>(resource.size()),
                                                              FALSE, 0x00030000, 0, 0, LR_DEFAULTCOLOR));
}

HCURSOR CODThemeManager::LoadCursor(UINT id)
{
    if (m_nMode == ModeLooseFiles)
        return m_hModule ? ::LoadCursorA(m_hModule, MAKEINTRESOURCEA(id & 0xFFFF)) : NULL;
    EntryData entry;
    if (!ReadNamedEntry("Cursor", id, &entry.data, &entry.length))
        return NULL;
    const BYTE* bytes = static_cast<const BYTE*>(entry.data);
    if (HCURSOR cursor = ODCursorFromCurData(bytes, entry.length))
        return cursor;
    // Other cursor formats (animated cursors) go through a file of their own
    // in the temporary folder.
    char folder[MAX_PATH], file[MAX_PATH];
    const DWORD n = GetTempPathA(sizeof folder, folder);
    if (n == 0 || n >= sizeof folder || !GetTempFileNameA(folder, "odc", 0, file))
        return NULL;
    HCURSOR cursor = NULL;
    HANDLE h = CreateFileA(file, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, NULL);
    if (h != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        const BOOL ok = WriteFile(h, bytes, entry.length, &written, NULL) && written == entry.length;
        CloseHandle(h);
        if (ok)
            cursor = LoadCursorFromFileA(file);
    }
    DeleteFileA(file);
    return cursor;
}

void* CODThemeManager::LoadDialogTemplate(UINT id, DWORD* size)
{
    if (size)
        *size = 0;
    if (m_nMode == ModePack) {
        EntryData entry;
        if (!ReadNamedEntry("Dialog", id, &entry.data, &entry.length) || entry.length == 0)
            return NULL;
        void* copy = malloc(entry.length);
        if (copy) {
            memcpy(copy, entry.data, entry.length);
            if (size)
                *size = entry.length;
        }
        return copy;
    }
    if (!m_hModule)
        return NULL;
    void* copy = NULL;
    const DWORD length = ::LoadDialogTemplate(&copy, m_hModule, MAKEINTRESOURCEA(id & 0xFFFF));
    if (size)
        *size = length;
    return copy;
}

void CODThemeManager::LoadSkinImage(LPCSTR description, CODSkinImage* image)
{
    odtheme::SkinImageDesc d;
    if (!image || !odtheme::ParseSkinImageDesc(description, &d))
        return;
    if (d.kind == 0) {
        if (d.cells < 1)
            return;
        HBITMAP bitmap = LoadImage(static_cast<UINT>(d.id), "QVImage");
        if (!bitmap)
            return;
        CBitmap temporary;
        temporary.Attach(bitmap);
        image->CreateFromBitmap(&temporary, d.transparent, d.cells, d.states, d.frames, d.interval, FALSE);
        temporary.DeleteObject();
    } else if (d.kind == 1) {
        image->LoadFromFile(d.path);
    }
}
