// ODLibrary.cpp - the library's global state, start, end and reload, the
// accessors, the loader table, the broadcast callbacks and DDX.
#include "ODLibrary.h"

#include "ODProgressBlock.h"
#include "ODThemeManager.h"
#include "ODThemeWnd.h"
#include "ODTxtMov.h"

// ---- Global state (in the order it is made) --------------------------------------------------

namespace {

CODThemeManager g_themeManager;
CString g_strThemePath;
int g_nThemeMode = 0;

}  // namespace

UINT ODGetThemeMessage()
{
    static const UINT s_message = ::RegisterWindowMessageA("ChangeThemeMsg");
    return s_message;
}

const UINT ChangeThemeMsg = ODGetThemeMessage();
ODBroadcastRecord g_ODBroadcastRecord = {ODGetThemeMessage(), 0, 0, FALSE};

namespace {

CODThemeWnd g_themeWnd;
BOOL g_bInitialized = FALSE;

// Until the static and the progress bar put their own loaders into their
// slots, those slots read what the drawing parts take from the theme.
void LoadStaticParts() { LoadTxtMovColors(); }
void LoadProgressParts() { LoadProgressBlockTheme("ODProgress"); }

ODThemeLoader g_loaders[OD_LOADER_COUNT] = {
    nullptr, LoadProgressParts, LoadStaticParts, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    nullptr, nullptr,           nullptr,         nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
};

struct LoaderName
{
    const char* className;
    const char* section;
};
const LoaderName kLoaderNames[OD_LOADER_COUNT] = {
    {"CODEdit", "ODEdit"},
    {"CODProgressCtrl", "ODProgress"},
    {"CODStatic", "ODStatic"},
    {"CODDialog", "ODDialog"},
    {"CODMsgDlg", "ODMsgDlg"},
    {"CODWaitDlg", "ODWaitDlg"},
    {"CODMenu", "ODMenu"},
    {"CODNcMgrWnd", "ODNcMgrWnd"},
    {"CODButton", "ODButton"},
    {"CODListBox", "ODListBox"},
    {"CODTooltip", "ODToolTip"},
    {"CODListCtrl", "ODListCtrl"},
    {"CODComboBox", "ODComboBox"},
    {"CSBContainerWnd", "SBContainer"},
    {"CODHeaderCtrl", "ODHeaderCtrl"},
    {"CODTabCtrl", "ODTabCtrl"},
    {"CODScrollBarCtrl", "ScrollBarEx"},
    {"CODComboList", "ODComboBox"},
};

ODReplaceControlProc g_replacers[OD_REPLACE_COUNT] = {nullptr, nullptr, nullptr};
const char* const kReplaceClasses[OD_REPLACE_COUNT] = {"CODEdit", "CODComboBox", "CODComboList"};

const char* const kTypeNames[] = {"ODEdit",    "ODProgressCtrl", "ODStatic",   "ODDialog",     "ODButton",
                                  "ODListBox", "ODNcMgrWnd",     "ODToolTip",  "ODListCtrl",   "ODComboBox",
                                  "ODTabCtrl", "ODHeaderCtrl",   "SBContainer", "ScrollBarEx"};

}  // namespace

const char OD_PROP_CTRL[] = "ODCtrl";
const char OD_PROP_THEMEWND[] = "ODThemeWnd";

COLORREF g_ODListCtrlColors[OD_LC_COUNT] = {
    ::GetSysColor(COLOR_WINDOW),     ::GetSysColor(COLOR_HIGHLIGHT),   ::GetSysColor(COLOR_BTNFACE),
    ::GetSysColor(COLOR_WINDOWTEXT), ::GetSysColor(COLOR_HIGHLIGHTTEXT), ::GetSysColor(COLOR_WINDOWTEXT),
    ::GetSysColor(COLOR_BTNFACE),    ::GetSysColor(COLOR_BTNFACE),     ::GetSysColor(COLOR_3DLIGHT),
    ::GetSysColor(COLOR_BTNSHADOW),  ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_3DDKSHADOW),
};
const char* const g_ODListCtrlColorKeys[OD_LC_COUNT] = {
    "ColorBackground", "ColorBkSelected", "ColorBkSelectedNoFocus", "ColorText",     "ColorTextSelected",
    "ColorTextSelectedNoFocus", "ColorGrid", "Color3DFace", "Color3DLight", "Color3DShadow",
    "Color3DHilight",  "Color3DDarkShadow",
};
const char g_szODListSpacer[] = "  ";

// ---- Window properties ------------------------------------------------------------------------

LPCSTR ODGetCtrlTypeName(int typeId)
{
    return typeId >= OD_EDIT_ID && typeId <= OD_SCROLLBAREX_ID ? kTypeNames[typeId - OD_EDIT_ID] : NULL;
}

BOOL ODSetCtrlProps(HWND hWnd, int typeId)
{
    const LPCSTR name = ODGetCtrlTypeName(typeId);
    return name && ::SetPropA(hWnd, OD_PROP_CTRL, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(OD_CTRL_ID))) &&
           ::SetPropA(hWnd, name, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(typeId)));
}

void ODRemoveCtrlProps(HWND hWnd, int typeId)
{
    ::RemovePropA(hWnd, OD_PROP_CTRL);
    if (const LPCSTR name = ODGetCtrlTypeName(typeId))
        ::RemovePropA(hWnd, name);
}

// ---- Broadcast -------------------------------------------------------------------------------

namespace {

struct BroadcastCall
{
    const ODBroadcastRecord* record;
    const char* property;
};

void Deliver(HWND hWnd, const BroadcastCall& call)
{
    if (reinterpret_cast<INT_PTR>(::GetPropA(hWnd, call.property)) != OD_CTRL_ID)
        return;
    const ODBroadcastRecord& r = *call.record;
    if (r.send)
        ::SendMessageA(hWnd, r.message, r.wParam, r.lParam);
    else
        ::PostMessageA(hWnd, r.message, r.wParam, r.lParam);
}

BOOL CALLBACK DeliverToChild(HWND hWnd, LPARAM lParam)
{
    Deliver(hWnd, *reinterpret_cast<const BroadcastCall*>(lParam));
    return TRUE;
}

BOOL Broadcast(HWND hWnd, LPARAM lParam, const char* property)
{
    const ODBroadcastRecord* record = reinterpret_cast<const ODBroadcastRecord*>(lParam);
    if (!record)
        return TRUE;
    const BroadcastCall call = {record, property};
    Deliver(hWnd, call);
    ::EnumChildWindows(hWnd, DeliverToChild, reinterpret_cast<LPARAM>(&call));
    return TRUE;
}

}  // namespace

BOOL CALLBACK ODBroadcastToControls(HWND hWnd, LPARAM lParam) { return Broadcast(hWnd, lParam, OD_PROP_CTRL); }

BOOL CALLBACK ODBroadcastToThemeWnds(HWND hWnd, LPARAM lParam) { return Broadcast(hWnd, lParam, OD_PROP_THEMEWND); }

// ---- Start, end, reload -------------------------------------------------------------------------

BOOL ODInitLibrary(LPCSTR lpszThemePath, int nMode)
{
    if (g_bInitialized)
        return 1;
    g_strThemePath = lpszThemePath ? lpszThemePath : "";
    g_nThemeMode = nMode;
    // After a failed start the window is still there; it is made once.
    if (!::IsWindow(g_themeWnd.m_hWnd))
        g_themeWnd.Create();
    return lpszThemePath ? ODLoadTheme() : 0;
}

BOOL ODExitLibrary()
{
    if (!g_bInitialized)
        return 0;
    g_bInitialized = FALSE;
    if (g_themeWnd.m_hWnd)
        g_themeWnd.DestroyWindow();
    g_themeManager.Close();
    return 1;
}

BOOL ODLoadTheme()
{
    if (!g_themeManager.Init(g_strThemePath, g_nThemeMode))
        return 0;
    for (ODThemeLoader loader : g_loaders)
        if (loader)
            loader();
    g_bInitialized = TRUE;
    return 1;
}

BOOL ODIsLibraryInitialized() { return g_bInitialized; }
LPCSTR ODGetThemePath() { return g_strThemePath; }
int ODGetThemeMode() { return g_nThemeMode; }
CODThemeManager& ODGetThemeManager() { return g_themeManager; }
CODThemeWnd& ODGetThemeWnd() { return g_themeWnd; }

// ---- Loader table ---------------------------------------------------------------------------------

ODThemeLoader ODSetThemeLoader(ODThemeLoaderSlot slot, ODThemeLoader loader)
{
    if (slot < 0 || slot >= OD_LOADER_COUNT)
        return nullptr;
    const ODThemeLoader old = g_loaders[slot];
    g_loaders[slot] = loader;
    return old;
}

ODThemeLoader ODGetThemeLoader(ODThemeLoaderSlot slot)
{
    return slot >= 0 && slot < OD_LOADER_COUNT ? g_loaders[slot] : nullptr;
}

LPCSTR ODGetThemeLoaderClass(ODThemeLoaderSlot slot)
{
    return slot >= 0 && slot < OD_LOADER_COUNT ? kLoaderNames[slot].className : NULL;
}

LPCSTR ODGetThemeLoaderSection(ODThemeLoaderSlot slot)
{
    return slot >= 0 && slot < OD_LOADER_COUNT ? kLoaderNames[slot].section : NULL;
}

// ---- Accessors --------------------------------------------------------------------------------------

COLORREF ODGetThemeColor(LPCSTR section, LPCSTR key, COLORREF def)
{
    return g_themeManager.GetColor(section, key, def);
}

COLORREF ODGetThemeColorEx(LPCSTR section, LPCSTR key, COLORREF def)
{
    return g_themeManager.GetColor(section, key, def);
}

int ODGetThemeString(LPCSTR section, LPCSTR key, LPCSTR def, LPSTR buffer, int size)
{
    return g_themeManager.GetString(section, key, def, buffer, size);
}

int ODGetThemePoint(LPCSTR section, LPCSTR key, POINT* point) { return g_themeManager.GetPoint(section, key, point); }

HMODULE ODGetResourceModule() { return g_themeManager.GetModule(); }

void ODLoadSkinImage(LPCSTR description, CODSkinImage* image) { g_themeManager.LoadSkinImage(description, image); }

HBITMAP ODGetThemeEntry(LPCSTR name) { return g_themeManager.LoadImageFromPack(name); }

HCURSOR ODGetThemeCursor(UINT id) { return g_themeManager.LoadCursor(id); }

void* ODGetThemeDialog(UINT id) { return g_themeManager.LoadDialogTemplate(id); }

HBITMAP ODGetThemeImage(UINT id, LPCSTR type) { return g_themeManager.LoadImage(id, type); }

// ---- Dialog data exchange ------------------------------------------------------------------------

ODReplaceControlProc ODSetReplaceControl(ODReplaceSlot slot, ODReplaceControlProc proc)
{
    if (slot < 0 || slot >= OD_REPLACE_COUNT)
        return nullptr;
    const ODReplaceControlProc old = g_replacers[slot];
    g_replacers[slot] = proc;
    return old;
}

void ODDDXPrepareCtrl(CDataExchange* pDX, int nIDC, CWnd* control)
{
    if (!control || control->m_hWnd || !pDX)
        return;
    const HWND item = pDX->PrepareCtrl(nIDC);
    const LPCSTR className = control->GetRuntimeClass()->m_lpszClassName;
    for (int i = 0; i < OD_REPLACE_COUNT; ++i) {
        if (lstrcmpA(className, kReplaceClasses[i]) != 0)
            continue;
        if (g_replacers[i] && !g_replacers[i](control, item))
            AfxThrowNotSupportedException();
        return;
    }
}
