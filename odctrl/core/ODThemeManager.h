// ODThemeManager.h - CODThemeManager, the owner of the owner-draw theme: the
// theme ini (parsed into one ini store in both modes) and where its pictures
// come from.
//
// Loose-file mode (1): the ini is a file; section "Resource", key "ResFile"
// (default "Kelvarin.dll", a bare name taken from the ini's folder) names the
// resource library that holds the images ("QVImage" and other typed
// resources by id, or bitmaps), cursors and dialog templates.
// Pack mode (0): the theme path is a resource pack; its entry "QVTheme.ini"
// is the ini, and the keys "QVImage<id>", "Cursor<id>" and "Dialog<id>" of
// section "Resource" name the pack entries of images, cursors and dialog
// templates.
//
// Every failure of Init shows one message box (stop icon) through the
// framework's box routine and, except for a missing loose ini, returns 0.
// Missing keys give the caller's default; missing pictures give NULL and no
// message. Values follow the grammar of ODThemeValues.h. User-interface
// thread only (the ini store has its own lock).
#pragma once

#include "afxwin.h"

#include "store/QVIniFile.h"
#include "store/QVPackFile.h"

class CODSkinImage;

class CODThemeManager
{
public:
    enum
    {
        ModePack = 0,
        ModeLooseFiles = 1,
    };
    // The texts of the four failures.
    static const char kMsgNoIni[];        // the loose ini cannot be read (Init goes on)
    static const char kMsgNoResFile[];    // the resource library cannot be loaded
    static const char kMsgNoPackFormat[]; // the pack cannot be opened ("%s": the path)
    static const char kMsgNoPackIni[];    // the pack has no "QVTheme.ini"
    // Entry names and values are read into buffers of this size.
    static constexpr int kEntryNameSize = 260;
    // Largest theme ini taken from a pack.
    static constexpr uint32_t kMaxPackIni = 16u * 1024 * 1024;

    CODThemeManager();
    virtual ~CODThemeManager();  // Close(), then the ini store and pack go
    CODThemeManager(const CODThemeManager&) = delete;
    CODThemeManager& operator=(const CODThemeManager&) = delete;

    // Opens the theme at path in the mode; 1/0 (see above). The previous
    // theme is closed first.
    BOOL Init(LPCSTR path, int mode);
    // Frees the resource library (loose mode), closes the pack and clears
    // the ini store.
    void Close();
    int GetMode() const { return m_nMode; }

    // The ini store's reads.
    int GetString(LPCSTR section, LPCSTR key, LPCSTR def, LPSTR buffer, int size);
    int GetInt(LPCSTR section, LPCSTR key, int def);
    int GetSectionNames(LPSTR buffer, int size);
    int GetKeyNames(LPCSTR section, LPSTR buffer, int size);
    // A colour (or number) by the colour grammar; def when missing or empty.
    COLORREF GetColor(LPCSTR section, LPCSTR key, COLORREF def);
    // "(x,y)": the count of numbers read; the point is written when at least
    // one was (y 0 when only x), else left.
    int GetPoint(LPCSTR section, LPCSTR key, POINT* point);

    // The image a key names: a pack entry name (pack mode) or an id (loose
    // mode; -1, the default, gives NULL). The caller owns the bitmap.
    HBITMAP GetImage(LPCSTR section, LPCSTR key, LPCSTR type);
    // Image id (its low 16 bits) of a resource type: a typed resource decoded
    // (GIF, PNG, BMP, JPEG), else a bitmap resource; in pack mode the entry of
    // "QVImage<id>". NULL for id 0, a NULL type or a missing image.
    HBITMAP LoadImage(UINT id, LPCSTR type);
    // The decoded pack entry; NULL in loose mode or when it is missing.
    HBITMAP LoadImageFromPack(LPCSTR name);
    // A cursor by id; from a pack entry it is built in memory (a unique
    // temporary file only for other cursor formats), never in the current
    // folder.
    HCURSOR LoadCursor(UINT id);
    // A malloc'ed copy of a dialog template (the caller frees it); NULL when
    // missing. size gets its length when given.
    void* LoadDialogTemplate(UINT id, DWORD* size = NULL);
    // The resource library (loose mode), NULL in pack mode or when none.
    HMODULE GetModule() const { return m_hModule; }
    // Fills a skin image from a description (see ODLoadSkinImage).
    void LoadSkinImage(LPCSTR description, CODSkinImage* image);

private:
    BOOL InitLoose(LPCSTR path);
    BOOL InitPack(LPCSTR path);
    // The pack entry named by "<prefix><id>" of section "Resource".
    BOOL ReadNamedEntry(LPCSTR prefix, UINT id, void** data, uint32_t* length);

    CQVPackFile m_pack;
    CQVIniFile m_ini;
    int m_nMode;
    HMODULE m_hModule;
};

// A cursor from the bytes of a .cur file (its first image), or NULL.
HCURSOR ODCursorFromCurData(const BYTE* data, DWORD size);
