// OrnMenu.h - OrnMenu, a system menu whose items the library draws itself:
// each item an owner-drawn entry with an optional image, a check or radio
// mark, a caption with a tab-separated accelerator part, in the classic or
// the flat look (OrnMenuLogic.h chooses and measures). Texts are kept wide,
// so one path serves ANSI and wide callers; every ANSI form converts its
// text and calls the wide one.
//
// Each menu level is an OrnMenu attached to its handle, so the owner
// window's WM_MEASUREITEM and WM_DRAWITEM reach the level that holds the
// item; WM_MENUCHAR goes to FindMnemonic. Images come from an entry's own
// image list, or from the process-wide shared list (one image per command,
// with faded and shadow copies for the flat look), filled from image lists,
// bitmaps or toolbar resources.
//
// Process-wide state (UI thread only): the system's version class, the
// classic-theme result, the shared image list with its ids, the registry of
// pop-ups made through any OrnMenu, the style settings.
#pragma once

#include "afxcmn.h"
#include "afxext.h"
#include "afxwin.h"

#include <string>
#include <vector>

#include "OrnMenuLogic.h"

struct OrnMenuEntry
{
    std::wstring text;       // caption, mnemonic markers and the part after the tab
    int imageIndex = -1;     // in the entry's own image list
    int sharedIndex = -1;    // in the shared image list
    int reserved = 0;
    int ownImage = -1;       // >= 0: the own list holds the image
    UINT flags = 0;          // MF_ flags the item was made with
    UINT_PTR command = 0;    // command id, or the pop-up's handle
    BOOL kept = FALSE;       // mark of ConvertMenu
    CImageList* ownList = NULL;
    UINT reserved2 = 0;
};

class OrnMenu : public CMenu
{
    DECLARE_DYNAMIC(OrnMenu)
public:
    OrnMenu();
    ~OrnMenu() override;

    // ---- Items ----
    BOOL AppendItemW(LPCWSTR text, UINT flags = 0, UINT_PTR id = 0, int bitmapId = -1);
    BOOL AppendItemA(LPCSTR text, UINT flags = 0, UINT_PTR id = 0, int bitmapId = -1);
    BOOL AppendItemWithImageListW(LPCWSTR text, UINT flags, UINT_PTR id, CImageList* list, int index);
    BOOL AppendItemWithImageListA(LPCSTR text, UINT flags, UINT_PTR id, CImageList* list, int index);
    // By position with MF_BYPOSITION (-1 appends), else position is a command
    // searched in every level and the item goes into the level holding it.
    BOOL InsertItemW(UINT position, LPCWSTR text, UINT flags = MF_BYPOSITION, UINT_PTR id = 0, int bitmapId = -1);
    BOOL InsertItemA(UINT position, LPCSTR text, UINT flags = MF_BYPOSITION, UINT_PTR id = 0, int bitmapId = -1);
    BOOL InsertItemWithImageListW(UINT position, LPCWSTR text, UINT flags, UINT_PTR id, CImageList* list, int index);

    BOOL AppendMenu(UINT flags, UINT_PTR id, LPCSTR text, int bitmapId = -1)
    { return AppendItemA(text, flags, id, bitmapId); }
    BOOL AppendMenu(UINT flags, UINT_PTR id, LPCWSTR text, int bitmapId = -1)
    { return AppendItemW(text, flags, id, bitmapId); }
    BOOL AppendMenu(UINT flags, UINT_PTR id, LPCSTR text, CImageList* list, int index)
    { return AppendItemWithImageListA(text, flags, id, list, index); }
    BOOL AppendMenu(UINT flags, UINT_PTR id, LPCSTR text, CBitmap* bitmap);
    BOOL InsertMenu(UINT position, UINT flags, UINT_PTR id, LPCSTR text, int bitmapId = -1)
    { return InsertItemA(position, text, flags, id, bitmapId); }
    BOOL InsertMenu(UINT position, UINT flags, UINT_PTR id, LPCSTR text, CImageList* list, int index);

    // Text and image of every entry of the command (a new entry at this
    // level when there is none); a NULL text keeps the text.
    BOOL ModifyItemW(LPCWSTR text, UINT_PTR id, int bitmapId = -1);
    BOOL ModifyItemW(LPCWSTR text, UINT_PTR id, CImageList* list, int index);
    BOOL ModifyItemA(LPCSTR text, UINT_PTR id, int bitmapId = -1);
    BOOL ModifyItemByTextW(LPCWSTR newText, LPCWSTR oldText, int bitmapId = -1);
    BOOL SetItemText(UINT idOrPos, LPCWSTR text, UINT flags = MF_BYCOMMAND);
    BOOL GetItemText(UINT idOrPos, std::wstring& text, UINT flags = MF_BYCOMMAND);
    BOOL RemoveItem(UINT idOrPos, UINT flags = MF_BYCOMMAND);
    BOOL DeleteItem(UINT idOrPos, UINT flags = MF_BYCOMMAND);
    // mode 2 also the item before it, mode 3 also the items before and after it.
    BOOL RemoveItemByTextW(LPCWSTR text, int mode = 1);
    BOOL DeleteItemByTextW(LPCWSTR text, int mode = 1);

    // ---- Levels and lookups ----
    CMenu* GetSubMenu(int position) const { return CMenu::FromHandle(::GetSubMenu(m_hMenu, position)); }
    OrnMenu* GetSubMenuByText(LPCWSTR text) const;
    OrnMenu* FindMenuByCommand(UINT_PTR id, int* position);
    OrnMenuEntry* FindEntryByCommand(UINT_PTR id);
    OrnMenuEntry* FindEntryByText(LPCWSTR text);
    OrnMenu* AppendPopupW(LPCWSTR text);
    OrnMenu* AppendPopupA(LPCSTR text);
    int GetEntryCount() const { return static_cast<int>(m_entries.size()); }
    OrnMenuEntry* GetEntry(int position) const;

    // ---- Loading ----
    virtual BOOL LoadMenu(LPCTSTR name);
    virtual BOOL LoadMenu(UINT id) { return LoadMenu(MAKEINTRESOURCE(id)); }
    void ConvertMenu();
    virtual void DestroyAll();
    BOOL IsLoadedFromTemplate() const { return m_loadedFromTemplate; }

    // The owner's WM_MENUCHAR answer: MAKELRESULT(position, MNC_EXECUTE) or 0.
    static LRESULT FindMnemonic(UINT c, UINT flags, OrnMenu* menu);

    // ---- Images ----
    void SetCheckMarkImages(int normalId, int selectedId);
    void SetBitmapBackground(COLORREF colour);
    void UnsetBitmapBackground();
    // Adds (or replaces in place) the command's image taken from a list;
    // the index of its normal image, -1 when the icon cannot be taken.
    static int AddIconToImageList(CImageList* source, int index, UINT_PTR command);
    static HIMAGELIST GetSharedImageList();
    static const std::vector<uint32_t>& GetSharedImageIds();
    static COLORREF LightenColor(COLORREF colour, double factor)
    { return ornmenu::LightenColor(colour, factor); }

    // ---- Drawing ----
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;

    // ---- The system ----
    static int GetVersionClass();
    static BOOL IsClassicTheme();
    static BOOL IsThemedOs();
    static ornmenu::StyleSettings& Styles();
    // Seams: the version class and the classic-theme answer (-1: ask the system).
    static void SetSystemForTesting(int versionClass, int classicTheme);

    static const int kImageWidth = 16;
    static const int kImageHeight = 15;

protected:
    OrnMenuEntry* NewEntry(LPCWSTR text, UINT flags, UINT_PTR id);
    BOOL AddEntry(UINT position, bool append, LPCWSTR text, UINT flags, UINT_PTR id, int bitmapId, CImageList* list,
                  int index);
    void SetEntryImage(OrnMenuEntry* entry, UINT_PTR id, int bitmapId, CImageList* list, int index);
    void PlainTopLevel();
    void FindAllEntries(UINT_PTR id, std::vector<std::pair<OrnMenu*, OrnMenuEntry*>>& out);
    OrnMenu* FindLevelOfText(LPCWSTR text, int* position);
    BOOL RemoveOrDeleteByText(LPCWSTR text, int mode, bool destroy);
    BOOL RemoveOrDelete(UINT idOrPos, UINT flags, bool destroy);
    void DropEntryAt(int position, bool destroy);
    void AlignTabs();
    void DrawStyle0(CDC* pDC, const CRect& item, OrnMenuEntry* entry, UINT state);
    void DrawStyle1(CDC* pDC, const CRect& item, OrnMenuEntry* entry, UINT state);
    bool EntryImage(const OrnMenuEntry* entry, HIMAGELIST* list, int* index) const;
    void DrawText(CDC* pDC, const CRect& rect, const OrnMenuEntry* entry, COLORREF colour);
    void DrawMark(CDC* pDC, int x, int y, bool radio);
    static void DrawEmbossed(CDC* pDC, HIMAGELIST list, int index, int x, int y, COLORREF background);
    bool HasRadioBitmap(const OrnMenuEntry* entry) const;

    std::vector<OrnMenuEntry*> m_entries;
    std::vector<HMENU> m_subMenus;
    std::vector<OrnMenu*> m_subObjects;  // the OrnMenu objects of this level's pop-ups
    int m_imageWidth, m_imageHeight;
    COLORREF m_bitmapBackground;
    BOOL m_useBitmapBackground;
    CImageList* m_checkImages;
    BOOL m_checkImagesShared;
    int m_checkedId, m_selectedCheckedId;
    BOOL m_loadedFromTemplate;
};
