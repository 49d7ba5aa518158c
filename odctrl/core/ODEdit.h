// ODEdit.h - CODEdit, the library's single-line edit control written from
// scratch on CWnd (window class "ODEDIT"): it keeps its own text, caret and
// selection (the editing engine odedit::Model, ODEditModel.h), measures and
// paints the text itself with a password character or password images,
// scrolls horizontally, talks to the clipboard, shows the skinned pop-up
// menu as its context menu and its own rich tooltip, and posts EN_CHANGE to
// its parent once per change.
//
// Theme section "ODEdit"; a value the program set stays its own over a
// theme reload ("ChangeThemeMsg"). Window properties "ODCtrl" = 4096 and
// "ODEdit" = 4097. Timers: 9001 the caret's blink (500 ms, while focused),
// 9002 the password image, 9003 the background image. Context menu
// commands 9001 cut, 9002 copy, 9003 paste, 9004 delete, 9005 select all.
//
// A template's edit control becomes a CODEdit through ReplaceDlgItem (or the
// library's dialog data exchange): same id, rectangle and place in the tab
// order.
#pragma once

#include "afxwin.h"

#include <string>

#include "ODDrawing.h"
#include "ODEditModel.h"
#include "ODLibrary.h"
#include "ODMenu.h"
#include "ODSkinFrame.h"
#include "ODSkinImage.h"
#include "ODTooltip.h"

class CODEdit : public CWnd, public CODSkinFrame, protected odedit::Host
{
    DECLARE_DYNAMIC(CODEdit)
public:
    enum
    {
        TimerCaret = 9001,
        TimerPwdImage = 9002,
        TimerBkImage = 9003,
    };
    enum
    {
        CmdCut = 9001,
        CmdCopy = 9002,
        CmdPaste = 9003,
        CmdClear = 9004,
        CmdSelectAll = 9005,
    };
    enum
    {
        BkColour = 0,
        BkImage = 1,
        BkParent = 2,
    };
    enum
    {
        MenuCut,
        MenuCopy,
        MenuPaste,
        MenuClear,
        MenuSelAll,
        MenuCount
    };
    // Styles every edit window gets: WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_TABSTOP.
    static constexpr DWORD kForcedStyle = 0x52010000;
    static constexpr UINT kDlgCode = DLGC_WANTARROWS | DLGC_WANTCHARS;
    static constexpr int kTextSize = 128;
    static constexpr int kImageInset = 1;

    struct Defaults
    {
        COLORREF disabledText, text, disabledBk, bk, selText, selBk, caret, border;
        int caretWidth, borderWidth, usePwdImg, bkMode;
        char pwdChar[2];
        char textFont[kTextSize], bkImg[kTextSize], pwdImg[kTextSize];
        char menu[MenuCount][kTextSize];
    };
    static Defaults& ClassDefaults();
    static void LoadTheme();
    // Registers "ODEDIT" once per module; throws the resource exception when
    // registration fails.
    static BOOL RegisterWindowClass();

    CODEdit();
    ~CODEdit() override;

    // Applies the theme, forces kForcedStyle, creates the window (class NULL:
    // "ODEDIT") and takes the font of the dialog it lives in.
    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                UINT nID, CCreateContext* pContext = NULL) override;
    // The same keeping the caller's creation parameter.
    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                UINT nID, DWORD parameter);
    DWORD GetParameter() const { return m_parameter; }

    // Takes the place of parent's item id: an "ODEDIT" window with the given
    // style, the item's rectangle and id, right after it in the Z-order; the
    // item is destroyed. FALSE when there is no such item or no window.
    virtual BOOL ReplaceDlgItem(DWORD dwStyle, UINT nID, CWnd* pParent);
    // ReplaceDlgItem with the window's own style, id and parent.
    virtual BOOL SubclassEditWindow(HWND hWnd);
    virtual void ApplyTheme();

    // ---- Text ----------------------------------------------------------------------------------
    // Replaces the whole text: nothing for NULL or without a window;
    // carriage returns then line feeds are trimmed from both ends; no
    // selection, caret at the start; a text wider than the control shows its end.
    void SetText(LPCSTR text);
    CString GetText() const { return CString(m_model.Text().c_str()); }
    int InsertText(const CString& text, int pos);
    // The most bytes typing and pasting may bring the text to; -1 for none.
    void SetLimitText(int limit) { m_model.SetLimit(limit); }
    int GetLimitText() const { return m_model.Limit(); }

    // ---- Selection and clipboard -----------------------------------------------------------------
    void SetSel(int start, int end, BOOL reserved = FALSE);
    void GetSel(int& start, int& end) const;
    int GetSelText(CString& text) const;
    void Clear();
    void Copy();
    void Cut();
    void Paste();
    void SelectAll();

    // ---- Look --------------------------------------------------------------------------------------
    // Sets or clears ES_READONLY in the kept style (not the window's); the new style.
    DWORD SetReadOnly(BOOL readOnly = TRUE);
    DWORD GetEditStyle() const { return m_model.Style(); }
    void SetFont(const LOGFONT* lf, BOOL redraw = TRUE);
    void GetFont(LOGFONT* lf) const { *lf = m_font; }
    // width < 0 keeps the width, colour -1 keeps the colour.
    void SetBorder(int width, COLORREF colour);
    BOOL SetUsePwdImg(BOOL use);
    BOOL SetUsePasswordImage(BOOL use) { return SetUsePwdImg(use); }
    int SetBkMode(int mode);
    int GetBkMode() const { return m_bkMode; }
    char GetPasswordChar() const { return m_pwdChar[0]; }
    CString SetToolTipText(const CString& text);
    BOOL SetNotify(BOOL notify) { return m_model.SetNotify(notify != FALSE); }
    BOOL GetNotify() const { return m_model.GetNotify(); }
    void KillTimers();
    void CancelDrag() { m_model.CancelDrag(); }
    // Keeps the part of the parent's background DC under the edit's inner
    // rectangle for background mode 2.
    void CopyParentBackground(CDC* pParentDC);
    // Takes the font of the dialog the edit lives in (else the icon-title font).
    void InitFont();
    void UseDialogFont() { InitFont(); }

    const odedit::Model& GetModel() const { return m_model; }
    CODMenu& GetMenu() { return m_menu; }
    CODTooltip& GetTooltip() { return m_tooltip; }
    CODSkinImage& GetBkImage() { return m_bkImage; }
    CODSkinImage& GetPwdImage() { return m_pwdImage; }
    LPCSTR GetMenuLabel(int index) const { return m_menuLabels[index % MenuCount]; }
    int GetLeftMargin() const { return m_leftMargin; }
    CRect GetInnerRect() const;

    // Posts one message to every edit control: ODBroadcastRecord* in lParam;
    // the top-level callback takes the window and its children.
    static BOOL CALLBACK BroadcastToEdits(HWND hWnd, LPARAM lParam);
    static BOOL CALLBACK BroadcastToChildEdits(HWND hWnd, LPARAM lParam);

    // Seam: the state of Shift and Ctrl (GetAsyncKeyState).
    static SHORT(WINAPI* s_keyState)(int key);

    // Paints the control on any DC (the paint handler's body).
    void PaintTo(CDC* pDC);

protected:
    // Posts WM_COMMAND with EN_CHANGE and the control's id to the parent.
    void NotifyChange() override;
    virtual void DrawContent(CDC* pDC, const RECT& rect);
    virtual void DrawFrame(CDC* pDC, const RECT& rect);
    virtual void DrawBackground(CDC* pDC, const RECT& rect);
    virtual void DrawPasswordImages(CDC* pDC, const RECT& rect);
    virtual void DrawText(CDC* pDC, const RECT& rect);

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // odedit::Host
    int TextWidth(const char* s, int n) override;
    bool GetClipboardText(std::string* text) override;
    bool SetClipboardText(const std::string& text) override;

private:
    void UpdateGeometry();
    void UpdateFont();
    void LoadPwdImage();
    void LoadBkImage();
    int FontHeight();
    void ShowContextMenu(CPoint point);
    BOOL CreateWindowPart(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                          CWnd* pParentWnd, UINT nID);
    int PasswordPitch() const;
    void Redraw();

    CODCachedImage m_parentCache;
    COLORREF m_disabledText, m_text, m_disabledBk, m_bk, m_selText, m_selBk, m_caret, m_border;
    BOOL m_disabledTextSet, m_textSet, m_disabledBkSet, m_bkSet, m_selTextSet, m_selBkSet, m_caretSet, m_borderSet;
    int m_caretWidth;
    BOOL m_caretWidthSet;
    int m_borderWidth;
    BOOL m_borderWidthSet;
    int m_usePwdImg;
    BOOL m_usePwdImgSet;
    int m_bkMode;
    BOOL m_bkModeSet;
    char m_pwdChar[2];
    BOOL m_pwdCharSet;
    char m_textFont[kTextSize];
    BOOL m_textFontSet;
    char m_bkImg[kTextSize];
    BOOL m_bkImgSet;
    char m_pwdImg[kTextSize];
    BOOL m_pwdImgSet;
    char m_menuLabels[MenuCount][kTextSize];
    BOOL m_menuLabelSet[MenuCount];
    LOGFONT m_font;
    BOOL m_fontSet;
    HFONT m_hFont;
    DWORD m_parameter;
    CODTooltip m_tooltip;
    CString m_tipText;
    CODMenu m_menu;
    odedit::Model m_model;
    int m_leftMargin;
    BOOL m_hasFocus;
    BOOL m_hover;
    CODSkinImage m_bkImage;
    CODSkinImage m_pwdImage;
};
