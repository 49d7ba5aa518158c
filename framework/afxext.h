// afxext.h - control bars and common dialogs of the framework:
// CControlBar, CToolBar (toolbar resources), CFileDialog, CColorDialog and
// AfxLoadSysColorBitmap.
#pragma once

#include "afxwin.h"
#include "afxcmn.h"

#include <commdlg.h>    // GetFileTitle is a macro there; keep the member's name the same everywhere

#ifndef RT_TOOLBAR
#define RT_TOOLBAR MAKEINTRESOURCE(241)
#endif

// Control bar styles (kept by the bar, not given to the window).
#define CBRS_ALIGN_LEFT    0x1000L
#define CBRS_ALIGN_TOP     0x2000L
#define CBRS_ALIGN_RIGHT   0x4000L
#define CBRS_ALIGN_BOTTOM  0x8000L
#define CBRS_ALIGN_ANY     0xF000L
#define CBRS_BORDER_LEFT   0x0100L
#define CBRS_BORDER_TOP    0x0200L
#define CBRS_BORDER_RIGHT  0x0400L
#define CBRS_BORDER_BOTTOM 0x0800L
#define CBRS_BORDER_ANY    0x0F00L
#define CBRS_TOOLTIPS      0x0010L
#define CBRS_FLYBY         0x0020L
#define CBRS_FLOAT_MULTI   0x0040L
#define CBRS_SIZE_DYNAMIC  0x0080L
#define CBRS_HIDE_INPLACE  0x0008L
#define CBRS_SIZE_FIXED    0x0004L
#define CBRS_GRIPPER       0x00400000L
#define CBRS_ALL           0x0040FFFFL
#define CBRS_NOALIGN       0x00000000L
#define CBRS_LEFT          (CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT)
#define CBRS_TOP           (CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM)
#define CBRS_RIGHT         (CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT)
#define CBRS_BOTTOM        (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP)

// Toolbar button styles
#define TBBS_BUTTON     MAKELONG(TBSTYLE_BUTTON, 0)
#define TBBS_SEPARATOR  MAKELONG(TBSTYLE_SEP, 0)
#define TBBS_CHECKBOX   MAKELONG(TBSTYLE_CHECK, 0)
#define TBBS_GROUP      MAKELONG(TBSTYLE_GROUP, 0)
#define TBBS_CHECKGROUP (TBBS_GROUP | TBBS_CHECKBOX)

// A bitmap resource with its black, dark grey, light grey and white mapped to
// the system's button text, shadow, face and highlight colours (4- and 8-bit
// bitmaps); NULL when the resource is not a usable bitmap. The caller deletes it.
HBITMAP AFXAPI AfxLoadSysColorBitmap(HINSTANCE hInst, HRSRC hRsrc, BOOL bMono = FALSE);

class CControlBar : public CWnd
{
    DECLARE_DYNAMIC(CControlBar)
public:
    CControlBar() : m_dwStyle(0) {}
    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD dwStyle) { m_dwStyle = dwStyle & CBRS_ALL; }
protected:
    DWORD m_dwStyle;                         // CBRS_* bits
};

// A toolbar: its buttons (command ids, separators) and the image well they
// take their pictures from. The button table is kept by the object, so the
// button queries answer even before the window exists.
class CToolBar : public CControlBar
{
    DECLARE_DYNAMIC(CToolBar)
public:
    CToolBar();
    ~CToolBar() override;

    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT nID = AFX_IDW_TOOLBAR);
    BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = TBSTYLE_FLAT,
                  DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, CRect rcBorders = CRect(0, 0, 0, 0),
                  UINT nID = AFX_IDW_TOOLBAR);

    void SetSizes(SIZE sizeButton, SIZE sizeImage);
    // A toolbar resource (type 241: version 1, image width and height, count,
    // then the command ids, 0 for a separator) and the bitmap of the same
    // name. FALSE when either is missing or malformed.
    BOOL LoadToolBar(LPCTSTR lpszResourceName);
    BOOL LoadToolBar(UINT nIDResource) { return LoadToolBar(MAKEINTRESOURCE(nIDResource)); }
    BOOL LoadBitmap(LPCTSTR lpszResourceName);
    BOOL LoadBitmap(UINT nIDResource) { return LoadBitmap(MAKEINTRESOURCE(nIDResource)); }
    BOOL SetBitmap(HBITMAP hbmImageWell);    // the bar takes the bitmap over
    // The buttons: NULL ids makes nIDCount separators to be set later with
    // SetButtonInfo. Images are numbered in order over the non-separators.
    BOOL SetButtons(const UINT* lpIDArray, int nIDCount);

    int CommandToIndex(UINT nIDFind) const;  // -1 when no button has the id
    UINT GetItemID(int nIndex) const;
    void GetItemRect(int nIndex, LPRECT lpRect) const;
    UINT GetButtonStyle(int nIndex) const;
    void SetButtonStyle(int nIndex, UINT nStyle);
    void GetButtonInfo(int nIndex, UINT& nID, UINT& nStyle, int& iImage) const;
    void SetButtonInfo(int nIndex, UINT nID, UINT nStyle, int iImage);
    int GetCount() const { return m_buttons.GetSize(); }
    HBITMAP GetImageWell() const { return m_hbmImageWell; }
    CSize GetButtonSize() const { return m_sizeButton; }
    CSize GetImageSize() const { return m_sizeImage; }

protected:
    struct Button
    {
        UINT nID;
        UINT nStyle;
        int iImage;
        bool operator==(const Button& other) const
        { return nID == other.nID && nStyle == other.nStyle && iImage == other.iImage; }
    };
    void SyncButtons();                      // the window's buttons from the table

    CArray<Button> m_buttons;
    HBITMAP m_hbmImageWell;
    CSize m_sizeButton;
    CSize m_sizeImage;
};

class CCommonDialog : public CDialog
{
    DECLARE_DYNAMIC(CCommonDialog)
public:
    explicit CCommonDialog(CWnd* pParentWnd) : CDialog((UINT)0, pParentWnd) {}
};

// The system's open and save-as dialogs. While DoModal runs the object is
// attached to the dialog's inner window, so GetParent() is the dialog's frame.
class CFileDialog : public CCommonDialog
{
    DECLARE_DYNAMIC(CFileDialog)
public:
    // lpszFilter: pairs "text|pattern|" ending with "|".
    explicit CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt = NULL, LPCTSTR lpszFileName = NULL,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCTSTR lpszFilter = NULL,
                         CWnd* pParentWnd = NULL);

    OPENFILENAME m_ofn;

    INT_PTR DoModal() override;              // IDOK, IDCANCEL
    CString GetPathName() const { return m_ofn.lpstrFile; }
    CString GetFileName() const;
    CString GetFileExt() const;
    CString GetFileTitle() const;
    BOOL GetReadOnlyPref() const { return (m_ofn.Flags & OFN_READONLY) != 0; }

protected:
    BOOL m_bOpenFileDialog;
    CString m_strFilter;
    CString m_strDefExt;
    char m_szFileTitle[MAX_PATH];
    char m_szFileName[4 * MAX_PATH];

    friend UINT_PTR CALLBACK AfxFileDialogHook(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
};

class CColorDialog : public CCommonDialog
{
    DECLARE_DYNAMIC(CColorDialog)
public:
    explicit CColorDialog(COLORREF clrInit = 0, DWORD dwFlags = 0, CWnd* pParentWnd = NULL);

    CHOOSECOLOR m_cc;

    INT_PTR DoModal() override;              // IDOK, IDCANCEL
    COLORREF GetColor() const { return m_cc.rgbResult; }
    void SetCurrentColor(COLORREF clr) { m_cc.rgbResult = clr; }
    static COLORREF* PASCAL GetSavedCustomColors();
};
