// OrnMenu.cpp - the owner-draw menu with images.
#include "OrnMenu.h"

#include <string.h>

#include <algorithm>
#include <memory>

IMPLEMENT_DYNAMIC(OrnMenu, CMenu)

namespace {

const UINT kListFlags = ILC_COLORDDB | ILC_MASK;

struct Shared
{
    int versionClass = -1;  // -1: not asked yet
    int classic = -1;
    int versionOverride = -1;
    int classicOverride = -1;
    HIMAGELIST images = NULL;
    std::vector<uint32_t> ids;
    std::vector<HMENU> popups;
    ornmenu::StyleSettings styles;
};

Shared& G()
{
    static Shared s;
    return s;
}

std::wstring Widen(LPCSTR text)
{
    if (!text)
        return std::wstring();
    const int n = ::MultiByteToWideChar(CP_ACP, 0, text, -1, NULL, 0);
    if (n <= 0)
        return std::wstring();
    std::wstring w(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text, -1, &w[0], n);
    w.resize(static_cast<size_t>(n - 1));
    return w;
}

std::string Narrow(const std::wstring& text)
{
    const int n = ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, NULL, 0, NULL, NULL);
    if (n <= 0)
        return std::string();
    std::string s(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, &s[0], n, NULL, NULL);
    s.resize(static_cast<size_t>(n - 1));
    return s;
}

void Unregister(HMENU menu)
{
    auto& v = G().popups;
    v.erase(std::remove(v.begin(), v.end(), menu), v.end());
}

bool KeepExtraImages()
{
    return ornmenu::StyleInForce(G().styles, OrnMenu::IsThemedOs() != FALSE) == 1 && G().styles.keepFadedShadow;
}

// The menu font of the system (the non-client metrics).
HFONT MenuFont()
{
    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = sizeof ncm;
    if (!::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0))
        return NULL;
    return ::CreateFontIndirectA(&ncm.lfMenuFont);
}

int TextWidth(HDC dc, const std::wstring& text)
{
    SIZE s = {0, 0};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &s);
    return s.cx;
}

// A bitmap of the image size holding icon i of a list drawn on the button
// face colour.
HBITMAP IconToBitmap(HIMAGELIST list, int index, int width, int height)
{
    HDC screen = ::GetDC(NULL);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP b = ::CreateCompatibleBitmap(screen, width, height);
    ::ReleaseDC(NULL, screen);
    HGDIOBJ old = ::SelectObject(dc, b);
    RECT r = {0, 0, width, height};
    ::FillRect(dc, &r, ::GetSysColorBrush(COLOR_BTNFACE));
    HICON icon = ::ImageList_GetIcon(list, index, ILD_NORMAL);
    if (icon) {
        ::DrawIconEx(dc, 0, 0, icon, width, height, 0, NULL, DI_NORMAL);
        ::DestroyIcon(icon);
    }
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return b;
}

// Every pixel of the bitmap that differs from the background becomes
// colour(pixel).
template <typename F>
void Recolour(HBITMAP b, int width, int height, COLORREF background, F colour)
{
    HDC dc = ::CreateCompatibleDC(NULL);
    HGDIOBJ old = ::SelectObject(dc, b);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const COLORREF c = ::GetPixel(dc, x, y);
            if (c != background)
                ::SetPixel(dc, x, y, colour(c));
        }
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
}

// The button face as the screen shows it (the colour a fill with it leaves).
COLORREF FaceColour()
{
    HDC dc = ::CreateCompatibleDC(NULL);
    HBITMAP b = ::CreateCompatibleBitmap(dc, 1, 1);
    HGDIOBJ old = ::SelectObject(dc, b);
    RECT r = {0, 0, 1, 1};
    ::FillRect(dc, &r, ::GetSysColorBrush(COLOR_BTNFACE));
    const COLORREF c = ::GetPixel(dc, 0, 0);
    ::SelectObject(dc, old);
    ::DeleteObject(b);
    ::DeleteDC(dc);
    return c;
}

// A monochrome mask of a bitmap: 1 where the pixel is the background.
HBITMAP MaskOf(HBITMAP b, int width, int height, COLORREF background)
{
    HBITMAP mask = ::CreateBitmap(width, height, 1, 1, NULL);
    HDC src = ::CreateCompatibleDC(NULL);
    HDC dst = ::CreateCompatibleDC(NULL);
    HGDIOBJ o1 = ::SelectObject(src, b);
    HGDIOBJ o2 = ::SelectObject(dst, mask);
    ::SetBkColor(src, background);
    ::BitBlt(dst, 0, 0, width, height, src, 0, 0, SRCCOPY);
    ::SelectObject(src, o1);
    ::SelectObject(dst, o2);
    ::DeleteDC(src);
    ::DeleteDC(dst);
    return mask;
}

// The faded (0) and shadow (1) copies of an image of the list.
HBITMAP ExtraImage(HIMAGELIST list, int index, int width, int height, int which)
{
    HBITMAP b = IconToBitmap(list, index, width, height);
    const COLORREF face = FaceColour();
    if (which == 0) {
        Recolour(b, width, height, face, [](COLORREF c) { return ornmenu::LightenColor(c, 0.3); });
    } else {
        COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
        if (!OrnMenu::IsThemedOs())
            shadow = ornmenu::LightenColor(shadow, 0.49);
        Recolour(b, width, height, face, [shadow](COLORREF) { return shadow; });
    }
    return b;
}

// The toolbar resource of that id: the image index of the command (images
// are numbered over the non-separators) and the image size; FALSE when the
// resource is missing, malformed or lacks the command.
BOOL ToolbarImage(int bitmapId, UINT_PTR command, int* image, int* width, int* height, HINSTANCE* module)
{
    LPCSTR name = MAKEINTRESOURCEA(bitmapId);
    HINSTANCE inst = AfxFindResourceHandle(name, MAKEINTRESOURCEA(241));
    HRSRC res = ::FindResourceA(inst, name, MAKEINTRESOURCEA(241));
    if (!res)
        return FALSE;
    const DWORD size = ::SizeofResource(inst, res);
    HGLOBAL g = ::LoadResource(inst, res);
    const WORD* w = g ? static_cast<const WORD*>(::LockResource(g)) : NULL;
    if (!w || size < 8)
        return FALSE;
    const DWORD count = w[3];
    if (8 + count * 2 > size)
        return FALSE;
    int n = 0;
    for (DWORD i = 0; i < count; ++i) {
        const WORD id = w[4 + i];
        if (id == 0)
            continue;
        if (id == command) {
            *image = n;
            *width = w[1];
            *height = w[2];
            *module = inst;
            return TRUE;
        }
        ++n;
    }
    return FALSE;
}

}  // namespace

// ---- The system ---------------------------------------------------------------------------------

int OrnMenu::GetVersionClass()
{
    Shared& g = G();
    if (g.versionOverride >= 0)
        return g.versionOverride;
    if (g.versionClass < 0) {
        OSVERSIONINFOA vi = {};
        vi.dwOSVersionInfoSize = sizeof vi;
        const bool win9x = (::GetVersion() & 0x80000000u) != 0;
        ::GetVersionExA(&vi);
        g.versionClass = ornmenu::VersionClass(win9x, vi.dwMajorVersion, vi.dwMinorVersion);
    }
    return g.versionClass;
}

BOOL OrnMenu::IsClassicTheme()
{
    Shared& g = G();
    if (g.classicOverride >= 0)
        return g.classicOverride != 0;
    if (g.classic < 0) {
        g.classic = 0;
        HKEY key = NULL;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Plus!\\Themes\\Current", 0, KEY_READ, &key) ==
            ERROR_SUCCESS) {
            char value[261] = "";
            DWORD size = 260;
            DWORD type = 0;
            if (::RegQueryValueExA(key, NULL, NULL, &type, reinterpret_cast<BYTE*>(value), &size) == ERROR_SUCCESS &&
                (type == REG_SZ || type == REG_EXPAND_SZ))
                g.classic = ornmenu::IsClassicThemeName(value, std::min<DWORD>(size, 260)) ? 1 : 0;
            ::RegCloseKey(key);
        }
    }
    return g.classic != 0;
}

BOOL OrnMenu::IsThemedOs() { return ornmenu::IsThemedOs(GetVersionClass(), IsClassicTheme() != FALSE); }

ornmenu::StyleSettings& OrnMenu::Styles() { return G().styles; }

void OrnMenu::SetSystemForTesting(int versionClass, int classicTheme)
{
    G().versionOverride = versionClass;
    G().classicOverride = classicTheme;
}

HIMAGELIST OrnMenu::GetSharedImageList() { return G().images; }

const std::vector<uint32_t>& OrnMenu::GetSharedImageIds() { return G().ids; }

int OrnMenu::AddIconToImageList(CImageList* source, int index, UINT_PTR command)
{
    Shared& g = G();
    HIMAGELIST src = source ? source->GetSafeHandle() : NULL;
    if (!src)
        return -1;
    HICON icon = ::ImageList_GetIcon(src, index, ILD_NORMAL);
    if (!icon)
        return -1;
    if (!g.images)
        g.images = ::ImageList_Create(kImageWidth, kImageHeight, kListFlags, 0, 1);
    const bool extra = KeepExtraImages();
    const ornmenu::AddResult r = ornmenu::AddImageId(g.ids, static_cast<uint32_t>(command), extra);
    int result = r.index;
    if (r.replaced) {
        ::ImageList_ReplaceIcon(g.images, r.index, icon);
    } else if (::ImageList_AddIcon(g.images, icon) != r.index) {
        g.ids.resize(static_cast<size_t>(r.index));
        result = -1;
    }
    ::DestroyIcon(icon);
    if (result >= 0 && extra && (!r.replaced || r.extraInPlace)) {
        const COLORREF face = FaceColour();
        for (int which = 0; which < 2; ++which) {
            HBITMAP b = ExtraImage(src, index, kImageWidth, kImageHeight, which);
            if (r.replaced) {
                HBITMAP mask = MaskOf(b, kImageWidth, kImageHeight, face);
                ::ImageList_Replace(g.images, r.index + 1 + which, b, mask);
                ::DeleteObject(mask);
            } else {
                ::ImageList_AddMasked(g.images, b, face);
            }
            ::DeleteObject(b);
        }
    }
    return result;
}

// ---- Construction -------------------------------------------------------------------------------

OrnMenu::OrnMenu()
    : m_imageWidth(kImageWidth), m_imageHeight(kImageHeight), m_bitmapBackground(0xC0C0C0),
      m_useBitmapBackground(FALSE), m_checkImages(NULL), m_checkImagesShared(FALSE), m_checkedId(-1),
      m_selectedCheckedId(-1), m_loadedFromTemplate(FALSE)
{
}

OrnMenu::~OrnMenu() { DestroyAll(); }

void OrnMenu::DestroyAll()
{
    for (HMENU h : m_subMenus)
        Unregister(h);
    m_subMenus.clear();
    // The sub-menus' handles go with this menu's DestroyMenu.
    for (OrnMenu* sub : m_subObjects) {
        if (sub->m_hMenu)
            sub->Detach();
        delete sub;
    }
    m_subObjects.clear();
    for (OrnMenuEntry* e : m_entries) {
        delete e->ownList;
        delete e;
    }
    m_entries.clear();
    if (!m_checkImagesShared)
        delete m_checkImages;
    m_checkImages = NULL;
    m_checkImagesShared = FALSE;
    m_loadedFromTemplate = FALSE;
    if (m_hMenu)
        DestroyMenu();
}

OrnMenuEntry* OrnMenu::GetEntry(int position) const
{
    return (position >= 0 && position < GetEntryCount()) ? m_entries[static_cast<size_t>(position)] : NULL;
}

OrnMenuEntry* OrnMenu::NewEntry(LPCWSTR text, UINT flags, UINT_PTR id)
{
    OrnMenuEntry* e = new OrnMenuEntry;
    e->text = text ? text : L"";
    e->command = id;
    if (id == 0)
        e->flags = MF_SEPARATOR | MF_OWNERDRAW | (flags & MF_BYPOSITION);
    else
        e->flags = flags | MF_OWNERDRAW;
    return e;
}

void OrnMenu::SetEntryImage(OrnMenuEntry* entry, UINT_PTR id, int bitmapId, CImageList* list, int index)
{
    if (list && list->GetSafeHandle()) {
        HICON icon = ::ImageList_GetIcon(list->GetSafeHandle(), index, ILD_NORMAL);
        if (!icon)
            return;
        if (!entry->ownList) {
            entry->ownList = new CImageList;
            entry->ownList->Create(m_imageWidth, m_imageHeight, kListFlags, 1, 1);
        }
        ::ImageList_RemoveAll(entry->ownList->GetSafeHandle());
        const int at = ::ImageList_AddIcon(entry->ownList->GetSafeHandle(), icon);
        ::DestroyIcon(icon);
        entry->imageIndex = at;
        entry->ownImage = at;
        return;
    }
    if (bitmapId >= 0) {
        int image = 0, width = 0, height = 0;
        HINSTANCE module = NULL;
        if (!ToolbarImage(bitmapId, id, &image, &width, &height, &module) || width <= 0 || height <= 0)
            return;
        HRSRC res = ::FindResourceA(module, MAKEINTRESOURCEA(bitmapId), MAKEINTRESOURCEA(2));
        HBITMAP b = AfxLoadSysColorBitmap(module, res);
        if (!b)
            return;
        CImageList strip;
        strip.Create(width, height, kListFlags, 0, 1);
        if (m_useBitmapBackground)
            ::ImageList_AddMasked(strip.GetSafeHandle(), b, m_bitmapBackground);
        else
            ::ImageList_Add(strip.GetSafeHandle(), b, NULL);
        ::DeleteObject(b);
        entry->sharedIndex = AddIconToImageList(&strip, image, id);
        return;
    }
    entry->sharedIndex = ornmenu::FindImageId(G().ids, static_cast<uint32_t>(id));
}

// ---- Adding ---------------------------------------------------------------------------------------

BOOL OrnMenu::AddEntry(UINT position, bool append, LPCWSTR text, UINT flags, UINT_PTR id, int bitmapId,
                       CImageList* list, int index)
{
    if (!append && !(flags & MF_BYPOSITION)) {
        int at = -1;
        OrnMenu* level = FindMenuByCommand(position, &at);
        if (!level)
            return FALSE;
        return level->AddEntry(static_cast<UINT>(at), false, text, flags | MF_BYPOSITION, id, bitmapId, list, index);
    }
    if (!m_hMenu && !CreatePopupMenu())
        return FALSE;
    if (!append && (position == static_cast<UINT>(-1) || position >= m_entries.size()))
        append = true;
    OrnMenuEntry* e = NewEntry(text, append ? (flags & ~MF_BYPOSITION) : (flags | MF_BYPOSITION), id);
    if (!(e->flags & MF_SEPARATOR))
        SetEntryImage(e, id, bitmapId, list, index);
    const LPCWSTR data = reinterpret_cast<LPCWSTR>(e);
    const BOOL ok = append ? ::AppendMenuW(m_hMenu, e->flags, id, data)
                           : ::InsertMenuW(m_hMenu, position, e->flags | MF_BYPOSITION, id, data);
    if (!ok) {
        delete e->ownList;
        delete e;
        return FALSE;
    }
    if (append)
        m_entries.push_back(e);
    else
        m_entries.insert(m_entries.begin() + position, e);
    if (e->flags & MF_POPUP) {
        G().popups.push_back(reinterpret_cast<HMENU>(id));
        m_subMenus.push_back(reinterpret_cast<HMENU>(id));
    }
    if (m_loadedFromTemplate)
        PlainTopLevel();
    return TRUE;
}

BOOL OrnMenu::AppendItemW(LPCWSTR text, UINT flags, UINT_PTR id, int bitmapId)
{
    return AddEntry(0, true, text, flags, id, bitmapId, NULL, 0);
}

BOOL OrnMenu::AppendItemA(LPCSTR text, UINT flags, UINT_PTR id, int bitmapId)
{
    return AppendItemW(Widen(text).c_str(), flags, id, bitmapId);
}

BOOL OrnMenu::AppendItemWithImageListW(LPCWSTR text, UINT flags, UINT_PTR id, CImageList* list, int index)
{
    return AddEntry(0, true, text, flags, id, -1, list, index);
}

BOOL OrnMenu::AppendItemWithImageListA(LPCSTR text, UINT flags, UINT_PTR id, CImageList* list, int index)
{
    return AppendItemWithImageListW(Widen(text).c_str(), flags, id, list, index);
}

BOOL OrnMenu::InsertItemW(UINT position, LPCWSTR text, UINT flags, UINT_PTR id, int bitmapId)
{
    return AddEntry(position, false, text, flags, id, bitmapId, NULL, 0);
}

BOOL OrnMenu::InsertItemA(UINT position, LPCSTR text, UINT flags, UINT_PTR id, int bitmapId)
{
    return InsertItemW(position, Widen(text).c_str(), flags, id, bitmapId);
}

BOOL OrnMenu::InsertItemWithImageListW(UINT position, LPCWSTR text, UINT flags, UINT_PTR id, CImageList* list,
                                       int index)
{
    return AddEntry(position, false, text, flags, id, -1, list, index);
}

BOOL OrnMenu::InsertMenu(UINT position, UINT flags, UINT_PTR id, LPCSTR text, CImageList* list, int index)
{
    return InsertItemWithImageListW(position, Widen(text).c_str(), flags, id, list, index);
}

BOOL OrnMenu::AppendMenu(UINT flags, UINT_PTR id, LPCSTR text, CBitmap* bitmap)
{
    if (!bitmap || !bitmap->GetSafeHandle())
        return AppendItemA(text, flags, id, -1);
    CImageList temp;
    temp.Create(m_imageWidth, m_imageHeight, kListFlags, 0, 1);
    const COLORREF mask = m_useBitmapBackground ? m_bitmapBackground : ::GetSysColor(COLOR_BTNFACE);
    ::ImageList_AddMasked(temp.GetSafeHandle(), static_cast<HBITMAP>(bitmap->GetSafeHandle()), mask);
    return AppendItemWithImageListA(text, flags, id, &temp, 0);
}

OrnMenu* OrnMenu::AppendPopupW(LPCWSTR text)
{
    std::unique_ptr<OrnMenu> child(new OrnMenu);
    if (!child->CreatePopupMenu())
        return NULL;
    child->m_checkImages = m_checkImages;
    child->m_checkImagesShared = TRUE;
    child->m_checkedId = m_checkedId;
    child->m_selectedCheckedId = m_selectedCheckedId;
    if (!AddEntry(0, true, text, MF_POPUP, reinterpret_cast<UINT_PTR>(child->m_hMenu), -1, NULL, 0))
        return NULL;
    m_subObjects.push_back(child.get());
    return child.release();
}

OrnMenu* OrnMenu::AppendPopupA(LPCSTR text) { return AppendPopupW(Widen(text).c_str()); }

// ---- Changing and removing ----------------------------------------------------------------------

void OrnMenu::FindAllEntries(UINT_PTR id, std::vector<std::pair<OrnMenu*, OrnMenuEntry*>>& out)
{
    for (OrnMenuEntry* e : m_entries)
        if (e->command == id && !(e->flags & MF_POPUP))
            out.push_back(std::make_pair(this, e));
    for (OrnMenu* sub : m_subObjects)
        sub->FindAllEntries(id, out);
}

BOOL OrnMenu::ModifyItemW(LPCWSTR text, UINT_PTR id, int bitmapId)
{
    std::vector<std::pair<OrnMenu*, OrnMenuEntry*>> found;
    FindAllEntries(id, found);
    if (found.empty())
        return AppendItemW(text, 0, id, bitmapId);
    for (auto& f : found) {
        if (text)
            f.second->text = text;
        f.first->SetEntryImage(f.second, id, bitmapId, NULL, 0);
        f.second->flags = (f.second->flags | MF_OWNERDRAW) & ~MF_BYPOSITION;
        ::ModifyMenuW(f.first->m_hMenu, static_cast<UINT>(id), f.second->flags, id,
                      reinterpret_cast<LPCWSTR>(f.second));
    }
    return TRUE;
}

BOOL OrnMenu::ModifyItemW(LPCWSTR text, UINT_PTR id, CImageList* list, int index)
{
    std::vector<std::pair<OrnMenu*, OrnMenuEntry*>> found;
    FindAllEntries(id, found);
    if (found.empty())
        return AppendItemWithImageListW(text, 0, id, list, index);
    for (auto& f : found) {
        if (text)
            f.second->text = text;
        f.first->SetEntryImage(f.second, id, -1, list, index);
        f.second->flags = (f.second->flags | MF_OWNERDRAW) & ~MF_BYPOSITION;
        ::ModifyMenuW(f.first->m_hMenu, static_cast<UINT>(id), f.second->flags, id,
                      reinterpret_cast<LPCWSTR>(f.second));
    }
    return TRUE;
}

BOOL OrnMenu::ModifyItemA(LPCSTR text, UINT_PTR id, int bitmapId)
{
    if (!text)
        return ModifyItemW(NULL, id, bitmapId);
    return ModifyItemW(Widen(text).c_str(), id, bitmapId);
}

BOOL OrnMenu::ModifyItemByTextW(LPCWSTR newText, LPCWSTR oldText, int bitmapId)
{
    OrnMenuEntry* e = FindEntryByText(oldText);
    return e ? ModifyItemW(newText, e->command, bitmapId) : FALSE;
}

BOOL OrnMenu::SetItemText(UINT idOrPos, LPCWSTR text, UINT flags)
{
    OrnMenuEntry* e = (flags & MF_BYPOSITION) ? GetEntry(static_cast<int>(idOrPos)) : FindEntryByCommand(idOrPos);
    if (!e)
        return FALSE;
    e->text = text ? text : L"";
    return TRUE;
}

BOOL OrnMenu::GetItemText(UINT idOrPos, std::wstring& text, UINT flags)
{
    OrnMenuEntry* e = (flags & MF_BYPOSITION) ? GetEntry(static_cast<int>(idOrPos)) : FindEntryByCommand(idOrPos);
    if (!e)
        return FALSE;
    text = e->text;
    return TRUE;
}

void OrnMenu::DropEntryAt(int position, bool destroy)
{
    OrnMenuEntry* e = GetEntry(position);
    if (!e)
        return;
    if (e->flags & MF_POPUP) {
        HMENU h = reinterpret_cast<HMENU>(e->command);
        Unregister(h);
        m_subMenus.erase(std::remove(m_subMenus.begin(), m_subMenus.end(), h), m_subMenus.end());
        // A deleted item's pop-up goes with its object. A removed pop-up stays
        // the caller's: its object (whose entries its items point to) is kept
        // with this menu until this menu is destroyed.
        for (size_t i = 0; destroy && i < m_subObjects.size(); ++i)
            if (m_subObjects[i]->m_hMenu == h) {
                OrnMenu* sub = m_subObjects[i];
                m_subObjects.erase(m_subObjects.begin() + static_cast<std::ptrdiff_t>(i));
                sub->Detach();
                ::DestroyMenu(h);
                delete sub;
                break;
            }
    }
    delete e->ownList;
    delete e;
    m_entries.erase(m_entries.begin() + position);
}

BOOL OrnMenu::RemoveOrDelete(UINT idOrPos, UINT flags, bool destroy)
{
    OrnMenu* level = this;
    int position = static_cast<int>(idOrPos);
    if (!(flags & MF_BYPOSITION)) {
        level = FindMenuByCommand(idOrPos, &position);
        if (!level)
            return FALSE;
    }
    if (!level->GetEntry(position))
        return FALSE;
    // The pop-up's handle is dropped from the system menu before the entry,
    // so DeleteMenu does not destroy it twice.
    if (!::RemoveMenu(level->m_hMenu, static_cast<UINT>(position), MF_BYPOSITION))
        return FALSE;
    level->DropEntryAt(position, destroy);
    return TRUE;
}

BOOL OrnMenu::RemoveItem(UINT idOrPos, UINT flags) { return RemoveOrDelete(idOrPos, flags, false); }

BOOL OrnMenu::DeleteItem(UINT idOrPos, UINT flags) { return RemoveOrDelete(idOrPos, flags, true); }

OrnMenu* OrnMenu::FindLevelOfText(LPCWSTR text, int* position)
{
    if (!text)
        return NULL;
    for (int i = 0; i < GetEntryCount(); ++i)
        if (m_entries[static_cast<size_t>(i)]->text == text) {
            *position = i;
            return this;
        }
    for (OrnMenu* sub : m_subObjects)
        if (OrnMenu* m = sub->FindLevelOfText(text, position))
            return m;
    return NULL;
}

BOOL OrnMenu::RemoveOrDeleteByText(LPCWSTR text, int mode, bool destroy)
{
    int position = -1;
    OrnMenu* level = FindLevelOfText(text, &position);
    if (!level)
        return FALSE;
    // The highest position first, so the others keep theirs; neighbours
    // past either end are skipped.
    std::vector<int> positions;
    if (mode == 3 && position + 1 < level->GetEntryCount())
        positions.push_back(position + 1);
    positions.push_back(position);
    if ((mode == 2 || mode == 3) && position > 0)
        positions.push_back(position - 1);
    BOOL ok = TRUE;
    for (int p : positions)
        ok = level->RemoveOrDelete(static_cast<UINT>(p), MF_BYPOSITION, destroy) && ok;
    return ok;
}

BOOL OrnMenu::RemoveItemByTextW(LPCWSTR text, int mode) { return RemoveOrDeleteByText(text, mode, false); }

BOOL OrnMenu::DeleteItemByTextW(LPCWSTR text, int mode) { return RemoveOrDeleteByText(text, mode, true); }

// ---- Lookups ------------------------------------------------------------------------------------

OrnMenu* OrnMenu::GetSubMenuByText(LPCWSTR text) const
{
    for (OrnMenuEntry* e : m_entries)
        if ((e->flags & MF_POPUP) && text && e->text == text)
            return dynamic_cast<OrnMenu*>(CMenu::FromHandlePermanent(reinterpret_cast<HMENU>(e->command)));
    return NULL;
}

OrnMenu* OrnMenu::FindMenuByCommand(UINT_PTR id, int* position)
{
    const int count = m_hMenu ? ::GetMenuItemCount(m_hMenu) : 0;
    for (int i = 0; i < count; ++i)
        if (::GetMenuItemID(m_hMenu, i) == id && !::GetSubMenu(m_hMenu, i)) {
            if (position)
                *position = i;
            return this;
        }
    for (OrnMenu* sub : m_subObjects)
        if (OrnMenu* m = sub->FindMenuByCommand(id, position))
            return m;
    return NULL;
}

OrnMenuEntry* OrnMenu::FindEntryByCommand(UINT_PTR id)
{
    int position = -1;
    OrnMenu* level = FindMenuByCommand(id, &position);
    return level ? level->GetEntry(position) : NULL;
}

OrnMenuEntry* OrnMenu::FindEntryByText(LPCWSTR text)
{
    int position = -1;
    OrnMenu* level = FindLevelOfText(text, &position);
    return level ? level->GetEntry(position) : NULL;
}

// ---- Loading ------------------------------------------------------------------------------------

void OrnMenu::PlainTopLevel()
{
    const int count = ::GetMenuItemCount(m_hMenu);
    // Items the system put in front of this menu's own are skipped: the
    // offset is where the first entry's caption is found.
    int offset = std::max(0, count - GetEntryCount());
    if (!m_entries.empty()) {
        const std::string first = Narrow(m_entries[0]->text);
        for (int i = 0; i < count; ++i) {
            char caption[256] = "";
            ::GetMenuStringA(m_hMenu, static_cast<UINT>(i), caption, sizeof caption, MF_BYPOSITION);
            if (first == caption) {
                offset = i;
                break;
            }
        }
    }
    for (int i = 0; i < GetEntryCount() && offset + i < count; ++i) {
        const OrnMenuEntry* e = m_entries[static_cast<size_t>(i)];
        if (e->flags & MF_SEPARATOR)
            continue;
        const UINT flags = MF_BYPOSITION | MF_STRING | (e->flags & (MF_POPUP | MF_GRAYED | MF_DISABLED));
        ::ModifyMenuA(m_hMenu, static_cast<UINT>(offset + i), flags, e->command, Narrow(e->text).c_str());
    }
}

void OrnMenu::AlignTabs()
{
    std::vector<std::wstring> texts;
    for (const OrnMenuEntry* e : m_entries)
        texts.push_back(e->text);
    HDC dc = ::CreateCompatibleDC(NULL);
    HFONT font = MenuFont();
    HGDIOBJ old = font ? ::SelectObject(dc, font) : NULL;
    ornmenu::AlignTabs(texts, [dc](const std::wstring& t) { return TextWidth(dc, t); });
    if (font) {
        ::SelectObject(dc, old);
        ::DeleteObject(font);
    }
    ::DeleteDC(dc);
    for (size_t i = 0; i < texts.size(); ++i)
        m_entries[i]->text = texts[i];
}

BOOL OrnMenu::LoadMenu(LPCTSTR name)
{
    HINSTANCE inst = AfxFindResourceHandle(name, RT_MENU);
    HRSRC res = ::FindResourceA(inst, name, RT_MENU);
    HGLOBAL g = res ? ::LoadResource(inst, res) : NULL;
    const BYTE* data = g ? static_cast<const BYTE*>(::LockResource(g)) : NULL;
    const DWORD size = res ? ::SizeofResource(inst, res) : 0;
    if (!data || size < 4)
        return FALSE;
    const std::vector<ornmenu::TemplateItem> items = ornmenu::ReadMenuTemplate(data, size);
    DestroyAll();
    if (!CreateMenu())
        return FALSE;
    // The level each pop-up item opens.
    std::vector<OrnMenu*> levels(items.size(), NULL);
    for (size_t i = 0; i < items.size(); ++i) {
        const ornmenu::TemplateItem& item = items[i];
        OrnMenu* level = item.parent < 0 ? this : levels[static_cast<size_t>(item.parent)];
        if (!level)
            continue;
        if (item.flags & MF_POPUP) {
            OrnMenu* child = new OrnMenu;
            if (!child->CreatePopupMenu()) {
                delete child;
                continue;
            }
            child->m_checkImages = m_checkImages;
            child->m_checkImagesShared = TRUE;
            child->m_checkedId = m_checkedId;
            child->m_selectedCheckedId = m_selectedCheckedId;
            if (!level->AddEntry(0, true, item.caption.c_str(), item.flags, reinterpret_cast<UINT_PTR>(child->m_hMenu),
                                 -1, NULL, 0)) {
                delete child;  // its empty handle goes with it
                continue;
            }
            level->m_subObjects.push_back(child);
            levels[i] = child;
        } else {
            level->AddEntry(0, true, item.caption.c_str(), item.flags, item.id, -1, NULL, 0);
        }
    }
    AlignTabs();
    for (OrnMenu* level : levels)
        if (level)
            level->AlignTabs();
    PlainTopLevel();
    m_loadedFromTemplate = TRUE;
    return TRUE;
}

void OrnMenu::ConvertMenu()
{
    if (!m_hMenu)
        return;
    for (OrnMenuEntry* e : m_entries)
        e->kept = FALSE;
    std::vector<OrnMenuEntry*> converted;
    const int count = ::GetMenuItemCount(m_hMenu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW mii = {};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_DATA;
        if (!::GetMenuItemInfoW(m_hMenu, static_cast<UINT>(i), TRUE, &mii))
            continue;
        OrnMenuEntry* own = NULL;
        for (OrnMenuEntry* e : m_entries)
            if (reinterpret_cast<ULONG_PTR>(e) == mii.dwItemData && !e->kept) {
                own = e;
                break;
            }
        if (mii.hSubMenu) {
            OrnMenu* sub = dynamic_cast<OrnMenu*>(CMenu::FromHandlePermanent(mii.hSubMenu));
            if (!sub) {
                sub = new OrnMenu;
                sub->Attach(mii.hSubMenu);
                m_subObjects.push_back(sub);
                m_subMenus.push_back(mii.hSubMenu);
                G().popups.push_back(mii.hSubMenu);
            }
            sub->ConvertMenu();
            wchar_t caption[256] = L"";
            ::GetMenuStringW(m_hMenu, static_cast<UINT>(i), caption, 256, MF_BYPOSITION);
            if (!own) {
                own = NewEntry(caption, MF_POPUP | MF_BYPOSITION, reinterpret_cast<UINT_PTR>(mii.hSubMenu));
            }
            own->kept = TRUE;
            own->flags |= MF_POPUP | MF_OWNERDRAW;
            ::ModifyMenuW(m_hMenu, static_cast<UINT>(i), MF_BYPOSITION | MF_POPUP | MF_OWNERDRAW | mii.fState,
                          reinterpret_cast<UINT_PTR>(mii.hSubMenu), reinterpret_cast<LPCWSTR>(own));
        } else if (mii.fType & MFT_SEPARATOR) {
            if (!own)
                own = NewEntry(L"", MF_BYPOSITION, 0);
            own->kept = TRUE;
            ::ModifyMenuW(m_hMenu, static_cast<UINT>(i), MF_SEPARATOR | MF_BYPOSITION | MF_OWNERDRAW, 0,
                          reinterpret_cast<LPCWSTR>(own));
        } else {
            wchar_t caption[256] = L"";
            if (!own) {
                for (OrnMenuEntry* e : m_entries)
                    if (!e->kept && e->command == mii.wID && !(e->flags & MF_POPUP)) {
                        own = e;
                        break;
                    }
            }
            if (!own) {
                ::GetMenuStringW(m_hMenu, static_cast<UINT>(i), caption, 256, MF_BYPOSITION);
                own = NewEntry(caption, MF_BYPOSITION, mii.wID);
                own->sharedIndex = ornmenu::FindImageId(G().ids, mii.wID);
            }
            own->kept = TRUE;
            own->flags = (own->flags | MF_OWNERDRAW) & ~MF_SEPARATOR;
            ::ModifyMenuW(m_hMenu, static_cast<UINT>(i), MF_BYPOSITION | MF_OWNERDRAW | mii.fState, mii.wID,
                          reinterpret_cast<LPCWSTR>(own));
        }
        converted.push_back(own);
    }
    for (OrnMenuEntry* e : m_entries)
        if (!e->kept) {
            delete e->ownList;
            delete e;
        }
    m_entries = converted;
}

LRESULT OrnMenu::FindMnemonic(UINT c, UINT flags, OrnMenu* menu)
{
    if (!menu || !(flags & MF_POPUP))
        return 0;
    if (::GetMenuItemCount(menu->m_hMenu) != menu->GetEntryCount())
        menu->ConvertMenu();
    std::vector<std::wstring> captions;
    for (const OrnMenuEntry* e : menu->m_entries)
        captions.push_back(e->text);
    wchar_t wc = static_cast<wchar_t>(c);
    if (c < 0x100) {
        const char ch = static_cast<char>(c);
        ::MultiByteToWideChar(CP_ACP, 0, &ch, 1, &wc, 1);
    }
    const int position = ornmenu::FindMnemonic(captions, wc);
    return position >= 0 ? MAKELRESULT(position, MNC_EXECUTE) : 0;
}

// ---- Images of the menu -------------------------------------------------------------------------

void OrnMenu::SetCheckMarkImages(int normalId, int selectedId)
{
    if (normalId <= 0 || selectedId <= 0)
        return;
    HINSTANCE inst = AfxFindResourceHandle(MAKEINTRESOURCE(normalId), RT_BITMAP);
    HBITMAP normal = ::LoadBitmapA(inst, MAKEINTRESOURCEA(normalId));
    HBITMAP selected = ::LoadBitmapA(AfxFindResourceHandle(MAKEINTRESOURCE(selectedId), RT_BITMAP),
                                     MAKEINTRESOURCEA(selectedId));
    if (normal && selected) {
        BITMAP bm = {};
        ::GetObjectA(normal, sizeof bm, &bm);
        if (!m_checkImagesShared)
            delete m_checkImages;
        m_checkImages = new CImageList;
        m_checkImagesShared = FALSE;
        m_checkImages->Create(bm.bmWidth, bm.bmHeight, kListFlags, 2, 1);
        const COLORREF mask = m_useBitmapBackground ? m_bitmapBackground : ::GetSysColor(COLOR_BTNFACE);
        ::ImageList_AddMasked(m_checkImages->GetSafeHandle(), normal, mask);
        ::ImageList_AddMasked(m_checkImages->GetSafeHandle(), selected, mask);
        m_checkedId = normalId;
        m_selectedCheckedId = selectedId;
    }
    if (normal)
        ::DeleteObject(normal);
    if (selected)
        ::DeleteObject(selected);
}

void OrnMenu::SetBitmapBackground(COLORREF colour)
{
    m_bitmapBackground = colour;
    m_useBitmapBackground = TRUE;
}

void OrnMenu::UnsetBitmapBackground() { m_useBitmapBackground = FALSE; }

// ---- Measuring and drawing ----------------------------------------------------------------------

void OrnMenu::MeasureItem(LPMEASUREITEMSTRUCT mis)
{
    const OrnMenuEntry* e = reinterpret_cast<const OrnMenuEntry*>(mis->itemData);
    if (!e)
        return;
    const bool themed = IsThemedOs() != FALSE;
    const int style = ornmenu::StyleInForce(G().styles, themed);
    int textWidth = 0;
    if (!(e->flags & MF_SEPARATOR)) {
        HDC dc = ::CreateCompatibleDC(NULL);
        HFONT font = MenuFont();
        HGDIOBJ old = font ? ::SelectObject(dc, font) : NULL;
        textWidth = TextWidth(dc, e->text);
        if (font) {
            ::SelectObject(dc, old);
            ::DeleteObject(font);
        }
        ::DeleteDC(dc);
    }
    const ornmenu::Size s = ornmenu::MeasureItem((e->flags & MF_SEPARATOR) != 0, style, G().styles.keepFadedShadow,
                                                 m_imageWidth, m_imageHeight, ::GetSystemMetrics(SM_CYMENU),
                                                 textWidth);
    mis->itemWidth = static_cast<UINT>(s.width);
    mis->itemHeight = static_cast<UINT>(s.height);
}

bool OrnMenu::EntryImage(const OrnMenuEntry* e, HIMAGELIST* list, int* index) const
{
    if (e->ownImage >= 0 && e->ownList && e->ownList->GetSafeHandle()) {
        *list = e->ownList->GetSafeHandle();
        *index = e->imageIndex;
        return true;
    }
    if (e->sharedIndex >= 0 && G().images) {
        *list = G().images;
        *index = e->sharedIndex;
        return true;
    }
    return false;
}

bool OrnMenu::HasRadioBitmap(const OrnMenuEntry* e) const
{
    MENUITEMINFOA mii = {};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_CHECKMARKS | MIIM_FTYPE;
    int position = -1;
    for (int i = 0; i < GetEntryCount(); ++i)
        if (m_entries[static_cast<size_t>(i)] == e)
            position = i;
    if (position < 0 || !::GetMenuItemInfoA(m_hMenu, static_cast<UINT>(position), TRUE, &mii))
        return false;
    return mii.hbmpChecked != NULL || (mii.fType & MFT_RADIOCHECK);
}

void OrnMenu::DrawText(CDC* pDC, const CRect& rect, const OrnMenuEntry* e, COLORREF colour)
{
    std::wstring left, right;
    ornmenu::SplitAtTabs(e->text, &left, &right);
    pDC->SetTextColor(colour);
    pDC->SetBkMode(TRANSPARENT);
    RECT r = rect;
    ::DrawTextW(pDC->GetSafeHdc(), left.c_str(), static_cast<int>(left.size()), &r,
                DT_LEFT | DT_SINGLELINE | DT_VCENTER);
    if (!right.empty()) {
        RECT rr = rect;
        rr.right -= m_imageWidth;
        ::DrawTextW(pDC->GetSafeHdc(), right.c_str(), static_cast<int>(right.size()), &rr,
                    DT_RIGHT | DT_SINGLELINE | DT_VCENTER);
    }
}

void OrnMenu::DrawMark(CDC* pDC, int x, int y, bool radio)
{
    const COLORREF c = ::GetSysColor(COLOR_MENUTEXT);
    CPen pen(PS_SOLID, 1, c);
    CBrush brush(c);
    CPen* oldPen = pDC->SelectObject(&pen);
    CBrush* oldBrush = pDC->SelectObject(&brush);
    if (radio) {
        pDC->Ellipse(x + 1, y + 1, x + 7, y + 7);
    } else {
        // A check mark of three pixel-wide strokes.
        for (int k = 0; k < 3; ++k) {
            pDC->MoveTo(x, y + 2 + k);
            pDC->LineTo(x + 2, y + 4 + k);
            pDC->LineTo(x + 7, y - 1 + k);
        }
    }
    pDC->SelectObject(oldPen);
    pDC->SelectObject(oldBrush);
}

void OrnMenu::DrawEmbossed(CDC* pDC, HIMAGELIST list, int index, int x, int y, COLORREF background)
{
    int w = 0, h = 0;
    ::ImageList_GetIconSize(list, &w, &h);
    if (w <= 0 || h <= 0)
        return;
    HDC target = pDC->GetSafeHdc();
    // The image on the face colour, its mask (face and highlight pixels are background).
    HDC colourDC = ::CreateCompatibleDC(target);
    HBITMAP colour = ::CreateCompatibleBitmap(target, w, h);
    HGDIOBJ oc = ::SelectObject(colourDC, colour);
    RECT r = {0, 0, w, h};
    ::FillRect(colourDC, &r, ::GetSysColorBrush(COLOR_BTNFACE));
    ::ImageList_Draw(list, index, colourDC, 0, 0, ILD_TRANSPARENT);
    HDC maskDC = ::CreateCompatibleDC(target);
    HBITMAP mask = ::CreateBitmap(w, h, 1, 1, NULL);
    HGDIOBJ om = ::SelectObject(maskDC, mask);
    ::SetBkColor(colourDC, ::GetSysColor(COLOR_BTNFACE));
    ::BitBlt(maskDC, 0, 0, w, h, colourDC, 0, 0, SRCCOPY);
    ::SetBkColor(colourDC, ::GetSysColor(COLOR_3DHILIGHT));
    ::BitBlt(maskDC, 0, 0, w, h, colourDC, 0, 0, SRCPAINT);
    // An off-screen copy of the target.
    HDC workDC = ::CreateCompatibleDC(target);
    HBITMAP work = ::CreateCompatibleBitmap(target, w + 1, h + 1);
    HGDIOBJ ow = ::SelectObject(workDC, work);
    RECT wr = {0, 0, w + 1, h + 1};
    HBRUSH bk = ::CreateSolidBrush(background);
    ::FillRect(workDC, &wr, bk);
    ::DeleteObject(bk);
    ::SetBkColor(workDC, RGB(255, 255, 255));
    ::SetTextColor(workDC, RGB(0, 0, 0));
    const DWORD kRop = 0x00E20746;  // the brush where the mask is 0, the target where it is 1
    HBRUSH hi = ::CreateSolidBrush(::GetSysColor(COLOR_3DHILIGHT));
    HGDIOBJ ob = ::SelectObject(workDC, hi);
    ::BitBlt(workDC, 1, 1, w, h, maskDC, 0, 0, kRop);
    HBRUSH sh = ::CreateSolidBrush(::GetSysColor(COLOR_BTNSHADOW));
    ::SelectObject(workDC, sh);
    ::BitBlt(workDC, 0, 0, w, h, maskDC, 0, 0, kRop);
    ::SelectObject(workDC, ob);
    ::DeleteObject(hi);
    ::DeleteObject(sh);
    ::BitBlt(target, x, y, w + 1, h + 1, workDC, 0, 0, SRCCOPY);
    ::SelectObject(workDC, ow);
    ::DeleteObject(work);
    ::DeleteDC(workDC);
    ::SelectObject(maskDC, om);
    ::DeleteObject(mask);
    ::DeleteDC(maskDC);
    ::SelectObject(colourDC, oc);
    ::DeleteObject(colour);
    ::DeleteDC(colourDC);
}

void OrnMenu::DrawItem(LPDRAWITEMSTRUCT dis)
{
    OrnMenuEntry* e = reinterpret_cast<OrnMenuEntry*>(dis->itemData);
    if (!e || dis->CtlType != ODT_MENU)
        return;
    CDC* pDC = CDC::FromHandle(dis->hDC);
    const bool themed = IsThemedOs() != FALSE;
    UINT state = dis->itemState;
    if ((state & (ODS_GRAYED | ODS_DISABLED)) && (state & ODS_SELECTED) && !ornmenu::SelectDisabled(G().styles, themed))
        state &= ~ODS_SELECTED;
    const bool palette = (::GetDeviceCaps(dis->hDC, RASTERCAPS) & RC_PALETTE) != 0;
    const int saved = pDC->SaveDC();
    // The texts in the font they were measured in.
    HFONT font = MenuFont();
    if (font)
        ::SelectObject(dis->hDC, font);
    if (ornmenu::DrawingStyle(G().styles, themed, palette) == 1)
        DrawStyle1(pDC, CRect(dis->rcItem), e, state);
    else
        DrawStyle0(pDC, CRect(dis->rcItem), e, state);
    pDC->RestoreDC(saved);
    if (font)
        ::DeleteObject(font);
}

void OrnMenu::DrawStyle0(CDC* pDC, const CRect& item, OrnMenuEntry* e, UINT state)
{
    const bool themed = IsThemedOs() != FALSE;
    const int versionClass = GetVersionClass();
    const COLORREF bk = ::GetSysColor(themed ? COLOR_BTNFACE : COLOR_MENU);
    if (e->flags & MF_SEPARATOR) {
        pDC->FillSolidRect(item, bk);
        CRect line(item.left, item.top + item.Height() / 2, item.right, item.bottom);
        pDC->DrawEdge(&line, EDGE_ETCHED, BF_TOP);
        return;
    }
    const bool selected = (state & ODS_SELECTED) != 0;
    const bool checked = (state & ODS_CHECKED) != 0;
    const bool disabled = (state & (ODS_GRAYED | ODS_DISABLED)) != 0;
    HIMAGELIST list = NULL;
    int index = -1;
    const bool hasImage = EntryImage(e, &list, &index);
    const bool checkImages = m_checkImages && m_checkImages->GetSafeHandle() &&
                             (selected ? (m_checkedId > 0 || m_selectedCheckedId > 0) : m_checkedId > 0);
    const int boxTop = item.top + ornmenu::ImageBoxTop(item.Height(), m_imageHeight);
    const CRect box(item.left, boxTop, item.left + m_imageWidth + 4, boxTop + m_imageHeight + 4);

    pDC->FillSolidRect(item, bk);
    // Every selected item shows the selection, with or without an image or a mark.
    if (selected)
        pDC->FillSolidRect(CRect(item.left + m_imageWidth + 5, item.top, item.right, item.bottom),
                           ::GetSysColor(COLOR_HIGHLIGHT));

    const COLORREF lightened = ornmenu::LightenColor(bk, 0.6);
    if (checked && !(e->ownImage >= 0) && checkImages) {
        pDC->FillSolidRect(box, bk);
        ::ImageList_Draw(m_checkImages->GetSafeHandle(), selected ? 1 : 0, pDC->GetSafeHdc(), box.left + 2,
                         box.top + 2, ILD_TRANSPARENT);
    } else if (hasImage) {
        if (disabled) {
            pDC->FillSolidRect(box, bk);
            DrawEmbossed(pDC, list, index, box.left + 2, box.top + 2, bk);
        } else {
            if (!selected && checked)
                pDC->FillSolidRect(box, lightened);
            else
                pDC->FillSolidRect(box, bk);
            if (versionClass >= 2 && (selected || checked)) {
                const bool sunken = checked;
                pDC->Draw3dRect(box, ::GetSysColor(sunken ? COLOR_BTNSHADOW : COLOR_3DHILIGHT),
                                ::GetSysColor(sunken ? COLOR_3DHILIGHT : COLOR_BTNSHADOW));
            }
            ::ImageList_Draw(list, index, pDC->GetSafeHdc(), box.left + 2, box.top + 2, ILD_TRANSPARENT);
        }
    } else if (checked) {
        pDC->FillSolidRect(box, selected ? bk : lightened);
        if (versionClass >= 2) {
            CRect edge = box;
            pDC->DrawEdge(&edge, BDR_SUNKENOUTER, BF_RECT);
        }
        DrawMark(pDC, box.left + 4, box.top + 4, HasRadioBitmap(e));
    }

    CRect text(item.left + m_imageWidth + 9, item.top + 1, item.right, item.bottom - 1);
    if (disabled) {
        if (selected) {
            DrawText(pDC, text, e, bk);
        } else {
            CRect shadow = text;
            shadow.OffsetRect(1, 1);
            DrawText(pDC, shadow, e, ::GetSysColor(COLOR_3DHILIGHT));
            DrawText(pDC, text, e, ::GetSysColor(COLOR_GRAYTEXT));
        }
    } else {
        DrawText(pDC, text, e, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    }
}

void OrnMenu::DrawStyle1(CDC* pDC, const CRect& item, OrnMenuEntry* e, UINT state)
{
    const bool themed = IsThemedOs() != FALSE;
    const int column = m_imageWidth + ornmenu::Margin(1, G().styles.keepFadedShadow);
    COLORREF columnColour = ::GetSysColor(COLOR_BTNFACE);
    if (!themed)
        columnColour = ornmenu::LightenColor(columnColour, 0.25);
    const COLORREF itemColour = ::GetSysColor(COLOR_WINDOW);
    const COLORREF selection = ornmenu::LightenColor(::GetSysColor(COLOR_HIGHLIGHT), themed ? 0.7 : 0.85);
    const COLORREF frame = ::GetSysColor(COLOR_HIGHLIGHT);
    const CRect col(item.left, item.top, item.left + column, item.bottom);
    if (e->flags & MF_SEPARATOR) {
        pDC->FillSolidRect(item, itemColour);
        pDC->FillSolidRect(col, columnColour);
        CRect line(col.right, item.top + item.Height() / 2, item.right, item.bottom);
        pDC->DrawEdge(&line, EDGE_ETCHED, BF_TOP);
        return;
    }
    const bool selected = (state & ODS_SELECTED) != 0;
    const bool checked = (state & ODS_CHECKED) != 0;
    const bool disabled = (state & (ODS_GRAYED | ODS_DISABLED)) != 0;
    auto frameSelection = [&]() {
        pDC->FillSolidRect(item, selection);
        CBrush b(frame);
        pDC->FrameRect(item, &b);
    };
    if (selected) {
        frameSelection();
    } else {
        pDC->FillSolidRect(item, itemColour);
        pDC->FillSolidRect(col, columnColour);
    }
    HIMAGELIST list = NULL;
    int index = -1;
    const bool hasImage = EntryImage(e, &list, &index);
    const int x = item.left + ornmenu::CentreOffset(column, m_imageWidth);
    const int y = item.top + ornmenu::CentreOffset(item.Height(), m_imageHeight);
    const CRect box(col.left + 1, col.top + 1, col.right - 1, col.bottom - 1);
    bool extra = false;
    if (hasImage) {
        if (list == G().images)
            extra = ornmenu::HasExtraImages(G().ids, index);
        else
            extra = ::ImageList_GetImageCount(list) > 2 && index == 0;
    }
    if (hasImage && disabled) {
        DrawEmbossed(pDC, list, index, x, y, selected ? selection : columnColour);
        if (selected) {
            CBrush b(frame);
            pDC->FrameRect(item, &b);
        }
    } else if (hasImage && selected) {
        pDC->FillSolidRect(box, selection);
        if (checked) {
            CBrush b(frame);
            pDC->FrameRect(box, &b);
            ::ImageList_Draw(list, index, pDC->GetSafeHdc(), x - 1, y - 1, ILD_TRANSPARENT);
        } else if (extra) {
            ::ImageList_Draw(list, index + 2, pDC->GetSafeHdc(), x + 1, y + 1, ILD_TRANSPARENT);
            ::ImageList_Draw(list, index, pDC->GetSafeHdc(), x - 1, y - 1, ILD_TRANSPARENT);
        } else {
            ::ImageList_Draw(list, index, pDC->GetSafeHdc(), x, y, ILD_TRANSPARENT);
        }
    } else if (hasImage) {
        if (checked) {
            pDC->FillSolidRect(box, ornmenu::LightenColor(frame, 0.85));
            CBrush b(frame);
            pDC->FrameRect(box, &b);
            ::ImageList_Draw(list, index, pDC->GetSafeHdc(), x - 1, y - 1, ILD_TRANSPARENT);
        } else {
            pDC->FillSolidRect(box, columnColour);
            ::ImageList_Draw(list, extra ? index + 1 : index, pDC->GetSafeHdc(), x, y, ILD_TRANSPARENT);
        }
    } else if (checked) {
        if (m_checkImages && m_checkImages->GetSafeHandle()) {
            ::ImageList_Draw(m_checkImages->GetSafeHandle(), selected ? 1 : 0, pDC->GetSafeHdc(), x, y,
                             ILD_TRANSPARENT);
        } else {
            const int bx = item.left + ornmenu::CentreOffset(column, 16);
            const int by = item.top + ornmenu::CentreOffset(item.Height(), 16);
            const CRect mark(bx, by, bx + 16, by + 16);
            pDC->FillSolidRect(mark, ornmenu::LightenColor(frame, 0.85));
            CBrush b(frame);
            pDC->FrameRect(mark, &b);
            DrawMark(pDC, mark.left + 5, mark.top + 4, HasRadioBitmap(e));
        }
    }
    COLORREF textColour = ::GetSysColor(COLOR_MENUTEXT);
    if (disabled) {
        textColour = ::GetSysColor(COLOR_GRAYTEXT);
        if (!themed && !selected)
            textColour = ornmenu::LightenColor(textColour, 0.4);
    }
    DrawText(pDC, CRect(col.right + 8, item.top, item.right, item.bottom), e, textColour);
}
