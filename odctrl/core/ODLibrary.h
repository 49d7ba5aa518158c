// ODLibrary.h - the owner-draw control library's core: its start and end,
// the theme accessors every control uses, the hidden theme window that
// reloads the whole library on the registered message "ChangeThemeMsg", the
// ordered table of class theme loaders, the broadcast callbacks, the window
// properties that mark the library's controls, and dialog data exchange for
// the classes that take a dialog item's place.
//
// The library has one global state (theme manager, theme path and mode,
// theme window, initialised flag), made by static initialisation and used
// from the user-interface thread only. The program starts it once with the
// theme ini "<share>\odctrls\<game>_skn.ini" in loose-file mode and ends it
// at exit; a failed start ends the program's start-up.
//
// Class theme loaders: ODLoadTheme runs the 18 slots of ODThemeLoaderSlot in
// their order. Each control family puts its class's static LoadTheme into
// its slot (ODSetThemeLoader, or an ODThemeLoaderRegistration object beside
// the class); an empty slot is skipped. Until the static and the progress bar
// fill their slots, those two slots read the moving text's colours and the
// progress bar's block look, which those classes' own loaders read first.
#pragma once

#include "afxwin.h"

#include "ODThemeValues.h"

class CODSkinImage;
class CODThemeManager;
class CODThemeWnd;

// ---- Window properties -----------------------------------------------------------------------

// The value of each property (ODCtrlTypeId). Every control window of the
// library carries "ODCtrl" = 4096 and the property of its kind.
enum ODCtrlTypeId
{
    OD_CTRL_ID = 4096,          // "ODCtrl": every control and the theme window
    OD_THEMEWND_ID = 4096,      // "ODThemeWnd": the theme window only
    OD_EDIT_ID = 4097,          // "ODEdit"
    OD_PROGRESSCTRL_ID = 4098,  // "ODProgressCtrl"
    OD_STATIC_ID = 4099,        // "ODStatic"
    OD_DIALOG_ID = 4100,        // "ODDialog"
    OD_BUTTON_ID = 4101,        // "ODButton"
    OD_LISTBOX_ID = 4102,       // "ODListBox"
    OD_NCMGRWND_ID = 4103,      // "ODNcMgrWnd"
    OD_TOOLTIP_ID = 4104,       // "ODToolTip"
    OD_LISTCTRL_ID = 4105,      // "ODListCtrl"
    OD_COMBOBOX_ID = 4106,      // "ODComboBox"
    OD_TABCTRL_ID = 4107,       // "ODTabCtrl"
    OD_HEADERCTRL_ID = 4108,    // "ODHeaderCtrl"
    OD_SBCONTAINER_ID = 4109,   // "SBContainer"
    OD_SCROLLBAREX_ID = 4110,   // "ScrollBarEx"
};
extern const char OD_PROP_CTRL[];       // "ODCtrl"
extern const char OD_PROP_THEMEWND[];   // "ODThemeWnd"
// The property name of a kind (4097..4110); NULL for other values.
LPCSTR ODGetCtrlTypeName(int typeId);
// Sets "ODCtrl" and the kind's property on a window (FALSE when either
// cannot be set); ODRemoveCtrlProps takes them off again.
BOOL ODSetCtrlProps(HWND hWnd, int typeId);
void ODRemoveCtrlProps(HWND hWnd, int typeId);

// ---- The theme message and the broadcast ------------------------------------------------------

// The registered message "ChangeThemeMsg" (registered at start-up).
UINT ODGetThemeMessage();
extern const UINT ChangeThemeMsg;

// The argument block of the broadcast callbacks. wParam and lParam are
// pointer-sized.
struct ODBroadcastRecord
{
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    BOOL send;  // nonzero: SendMessage, zero: PostMessage
};
#ifndef _WIN64
static_assert(sizeof(ODBroadcastRecord) == 16, "four 32-bit fields in a 32-bit process");
#endif
// { ChangeThemeMsg, 0, 0, 0 } at start.
extern ODBroadcastRecord g_ODBroadcastRecord;

// EnumWindows callbacks (lParam: an ODBroadcastRecord*). Each delivers the
// record's message to the window and to every descendant that carries
// "ODCtrl" = 4096 (ODBroadcastToControls) or "ODThemeWnd" = 4096
// (ODBroadcastToThemeWnds), and always goes on.
BOOL CALLBACK ODBroadcastToControls(HWND hWnd, LPARAM lParam);
BOOL CALLBACK ODBroadcastToThemeWnds(HWND hWnd, LPARAM lParam);

// ---- Start, end, reload ------------------------------------------------------------------------

// Theme modes of ODInitLibrary.
const int OD_THEME_PACK = 0;
const int OD_THEME_LOOSE_FILES = 1;

// 1 at once when the library is already started (path and mode stay).
// Otherwise keeps the path and mode, makes the theme window (once) and
// loads: 1/0 as ODLoadTheme. A failure has shown its message box.
BOOL ODInitLibrary(LPCSTR lpszThemePath, int nMode);
// 0 when not started; else clears the flag, destroys the theme window,
// closes the theme and returns 1.
BOOL ODExitLibrary();
// Opens the theme from the kept path and mode and runs every class loader;
// 0 (no loader run) when the theme cannot be opened.
BOOL ODLoadTheme();
BOOL ODIsLibraryInitialized();
LPCSTR ODGetThemePath();
int ODGetThemeMode();
CODThemeManager& ODGetThemeManager();
CODThemeWnd& ODGetThemeWnd();

// ---- Class theme loaders ----------------------------------------------------------------------

typedef void (*ODThemeLoader)();
enum ODThemeLoaderSlot
{
    OD_LOADER_EDIT,          // CODEdit::LoadTheme ("ODEdit")
    OD_LOADER_PROGRESS,      // CODProgressCtrl::LoadTheme ("ODProgress")
    OD_LOADER_STATIC,        // CODStatic::LoadTheme ("ODStatic")
    OD_LOADER_DIALOG,        // CODDialog::LoadTheme ("ODDialog")
    OD_LOADER_MSGDLG,        // CODMsgDlg::LoadTheme ("ODMsgDlg")
    OD_LOADER_WAITDLG,       // CODWaitDlg::LoadTheme ("ODWaitDlg")
    OD_LOADER_MENU,          // CODMenu::LoadTheme ("ODMenu")
    OD_LOADER_NCMGRWND,      // CODNcMgrWnd::LoadTheme ("ODNcMgrWnd")
    OD_LOADER_BUTTON,        // CODButton::LoadTheme ("ODButton")
    OD_LOADER_LISTBOX,       // CODListBox::LoadTheme ("ODListBox")
    OD_LOADER_TOOLTIP,       // CODTooltip::LoadTheme ("ODToolTip")
    OD_LOADER_LISTCTRL,      // CODListCtrl::LoadTheme ("ODListCtrl")
    OD_LOADER_COMBOBOX,      // CODComboBox::LoadTheme ("ODComboBox")
    OD_LOADER_SBCONTAINER,   // CSBContainerWnd::LoadTheme ("SBContainer")
    OD_LOADER_HEADERCTRL,    // CODHeaderCtrl::LoadTheme ("ODHeaderCtrl")
    OD_LOADER_TABCTRL,       // CODTabCtrl::LoadTheme ("ODTabCtrl")
    OD_LOADER_SCROLLBAR,     // CODScrollBarCtrl::LoadTheme ("ScrollBarEx")
    OD_LOADER_COMBOLIST,     // CODComboList::LoadTheme ("ODComboBox")
    OD_LOADER_COUNT
};
// Puts a loader into its slot (NULL empties it); the previous loader.
ODThemeLoader ODSetThemeLoader(ODThemeLoaderSlot slot, ODThemeLoader loader);
ODThemeLoader ODGetThemeLoader(ODThemeLoaderSlot slot);
// The slot's class and theme section ("CODEdit", "ODEdit" ...).
LPCSTR ODGetThemeLoaderClass(ODThemeLoaderSlot slot);
LPCSTR ODGetThemeLoaderSection(ODThemeLoaderSlot slot);

// Fills a slot when the program starts: one object beside the class,
//   static const ODThemeLoaderRegistration s_reg(OD_LOADER_BUTTON, &CODButton::LoadTheme);
struct ODThemeLoaderRegistration
{
    ODThemeLoaderRegistration(ODThemeLoaderSlot slot, ODThemeLoader loader) { ODSetThemeLoader(slot, loader); }
};

// ---- Accessors ----------------------------------------------------------------------------------

// A colour or number of the theme (grammar: ODThemeValues.h); def when the
// key, the section or the theme is missing. The two are the same.
COLORREF ODGetThemeColor(LPCSTR section, LPCSTR key, COLORREF def);
COLORREF ODGetThemeColorEx(LPCSTR section, LPCSTR key, COLORREF def);
// The value (or def) cut to the buffer; the bytes copied.
int ODGetThemeString(LPCSTR section, LPCSTR key, LPCSTR def, LPSTR buffer, int size);
// "(x,y)": the count of numbers read; the point is left when none was.
int ODGetThemePoint(LPCSTR section, LPCSTR key, POINT* point);
// The theme's resource library (NULL in pack mode or when none is loaded).
HMODULE ODGetResourceModule();
// Fills a skin image from a description "kind,id,transparent,cells,states,
// frames,interval": kind 0 the theme image of that id (type "QVImage") cut
// into cells (nothing when cells < 1 or the image is missing), kind 1 the
// animated GIF file of that path; empty texts, one field and other kinds do
// nothing.
void ODLoadSkinImage(LPCSTR description, CODSkinImage* image);
inline void ODLoadThemeSkinImage(LPCSTR description, CODSkinImage* image) { ODLoadSkinImage(description, image); }
// A bitmap decoded from the pack entry of that name (NULL in loose mode).
HBITMAP ODGetThemeEntry(LPCSTR name);
HCURSOR ODGetThemeCursor(UINT id);
// A malloc'ed copy of a dialog template; the caller releases it with free().
void* ODGetThemeDialog(UINT id);
// The theme's image of that id and resource type (as a rule "QVImage");
// NULL for id 0 or a missing image. The caller owns the bitmap.
HBITMAP ODGetThemeImage(UINT id, LPCSTR type);

// ---- Dialog data exchange ----------------------------------------------------------------------

// The take-over operation of the classes that replace a dialog item
// (CODEdit, CODComboBox, CODComboList): reads the item's id and parent and
// creates the control in its place; nonzero on success.
typedef BOOL (*ODReplaceControlProc)(CWnd* control, HWND item);
enum ODReplaceSlot
{
    OD_REPLACE_EDIT,       // run-time class "CODEdit"
    OD_REPLACE_COMBOBOX,   // "CODComboBox"
    OD_REPLACE_COMBOLIST,  // "CODComboList"
    OD_REPLACE_COUNT
};
ODReplaceControlProc ODSetReplaceControl(ODReplaceSlot slot, ODReplaceControlProc proc);

// Nothing when control is NULL or has a window. Otherwise, for a control of
// run-time class "CODEdit", "CODComboBox" or "CODComboList", takes the
// dialog item (PrepareCtrl) and hands it to the class's take-over operation;
// throws the framework's not-supported exception when that fails. Other
// classes (and a class whose operation is not registered) are left alone.
void ODDDXPrepareCtrl(CDataExchange* pDX, int nIDC, CWnd* control);

// ---- List-control colour defaults ------------------------------------------------------------

// Defaults of the list control's theme colours, from the system colours at
// start; the list control's loader reads section "ODListCtrl" over them.
enum ODListCtrlColor
{
    OD_LC_BACKGROUND,             // "ColorBackground"          COLOR_WINDOW
    OD_LC_BK_SELECTED,            // "ColorBkSelected"          COLOR_HIGHLIGHT
    OD_LC_BK_SELECTED_NOFOCUS,    // "ColorBkSelectedNoFocus"   COLOR_BTNFACE
    OD_LC_TEXT,                   // "ColorText"                COLOR_WINDOWTEXT
    OD_LC_TEXT_SELECTED,          // "ColorTextSelected"        COLOR_HIGHLIGHTTEXT
    OD_LC_TEXT_SELECTED_NOFOCUS,  // "ColorTextSelectedNoFocus" COLOR_WINDOWTEXT
    OD_LC_GRID,                   // "ColorGrid"                COLOR_BTNFACE
    OD_LC_3DFACE,                 // "Color3DFace"              COLOR_BTNFACE
    OD_LC_3DLIGHT,                // "Color3DLight"             COLOR_3DLIGHT
    OD_LC_3DSHADOW,               // "Color3DShadow"            COLOR_BTNSHADOW
    OD_LC_3DHILIGHT,              // "Color3DHilight"           COLOR_BTNHIGHLIGHT
    OD_LC_3DDKSHADOW,             // "Color3DDarkShadow"        COLOR_3DDKSHADOW
    OD_LC_COUNT
};
extern COLORREF g_ODListCtrlColors[OD_LC_COUNT];
extern const char* const g_ODListCtrlColorKeys[OD_LC_COUNT];
// The text the list control uses as its spacer: two blanks.
extern const char g_szODListSpacer[];
