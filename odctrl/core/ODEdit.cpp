// ODEdit.cpp - the owner-draw edit control's window (the engine is ODEditModel.cpp).
#include "ODEdit.h"

#include <ole2.h>
#include <string.h>

#include <algorithm>

#include "ODControlFont.h"

IMPLEMENT_DYNAMIC(CODEdit, CWnd)

namespace {

const char kSection[] = "ODEdit";
const char kClassName[] = "ODEDIT";
const char* const kMenuKeys[CODEdit::MenuCount] = {"MenuCut", "MenuCopy", "MenuPaste", "MenuClear", "MenuSelAll"};
const char* const kMenuDefaults[CODEdit::MenuCount] = {"\xBC\xF4\xC7\xD0", "\xB8\xB4\xD6\xC6", "\xD5\xB3\xCC\xF9",
                                                       "\xC9\xBE\xB3\xFD", "\xC8\xAB\xD1\xA1"};
const UINT kMenuIds[CODEdit::MenuCount] = {CODEdit::CmdCut, CODEdit::CmdCopy, CODEdit::CmdPaste, CODEdit::CmdClear,
                                           CODEdit::CmdSelectAll};

const ODThemeLoaderRegistration s_loader(OD_LOADER_EDIT, &CODEdit::LoadTheme);

BOOL ReplaceEdit(CWnd* control, HWND item)
{
    CODEdit* edit = static_cast<CODEdit*>(control);
    return edit->SubclassEditWindow(item);
}
const ODReplaceControlProc s_replace = ODSetReplaceControl(OD_REPLACE_EDIT, &ReplaceEdit);

void CopyText(char* to, LPCSTR from, size_t size)
{
    const size_t n = from ? strnlen(from, size - 1) : 0;
    if (n)
        memmove(to, from, n);
    to[n] = 0;
}

int Margin(int borderWidth) { return (borderWidth < 1 ? 0 : borderWidth / 2) + 2; }

}  // namespace

SHORT(WINAPI* CODEdit::s_keyState)(int) = &::GetAsyncKeyState;

// ---- Theme ------------------------------------------------------------------------------------------

CODEdit::Defaults& CODEdit::ClassDefaults()
{
    static Defaults d = [] {
        Defaults v = {};
        v.disabledText = ::GetSysColor(COLOR_WINDOWTEXT);
        v.text = ::GetSysColor(COLOR_WINDOWTEXT);
        v.bk = ::GetSysColor(COLOR_WINDOW);
        v.disabledBk = ::GetSysColor(COLOR_GRAYTEXT);
        v.selText = ::GetSysColor(COLOR_WINDOW);
        v.selBk = ::GetSysColor(COLOR_HIGHLIGHT);
        v.caret = ::GetSysColor(COLOR_WINDOWTEXT);
        v.border = ::GetSysColor(COLOR_WINDOWTEXT);
        v.caretWidth = 1;
        v.borderWidth = 1;
        v.usePwdImg = 0;
        v.bkMode = BkColour;
        v.pwdChar[0] = '*';
        for (int i = 0; i < MenuCount; ++i)
            CopyText(v.menu[i], kMenuDefaults[i], kTextSize);
        return v;
    }();
    return d;
}

void CODEdit::LoadTheme()
{
    Defaults& d = ClassDefaults();
    d.disabledText = ODGetThemeColor(kSection, "DisableTextColor", d.disabledText);
    d.text = ODGetThemeColor(kSection, "TextColor", d.text);
    d.bk = ODGetThemeColor(kSection, "BkgndColor", d.bk);
    d.disabledBk = ODGetThemeColor(kSection, "DisableBkgndColor", d.disabledBk);
    d.selText = ODGetThemeColor(kSection, "SelTextColor", d.selText);
    d.selBk = ODGetThemeColor(kSection, "SelBkgndColor", d.selBk);
    d.border = ODGetThemeColor(kSection, "BorderColor", d.border);
    d.borderWidth = static_cast<int>(ODGetThemeColor(kSection, "BorderWidth", d.borderWidth));
    d.usePwdImg = static_cast<int>(ODGetThemeColor(kSection, "UsePwdImg", d.usePwdImg));
    d.bkMode = static_cast<int>(ODGetThemeColor(kSection, "BkMode", d.bkMode));
    // A two-byte buffer: only the first character counts.
    char pwd[2];
    ODGetThemeString(kSection, "PwdChar", d.pwdChar, pwd, sizeof pwd);
    if (pwd[0])
        memcpy(d.pwdChar, pwd, sizeof pwd);
    d.pwdChar[1] = 0;
    char value[kTextSize];
    ODGetThemeString(kSection, "TextFont", d.textFont, value, sizeof value);
    CopyText(d.textFont, value, kTextSize);
    ODGetThemeString(kSection, "BkImg", d.bkImg, value, sizeof value);
    CopyText(d.bkImg, value, kTextSize);
    ODGetThemeString(kSection, "PwdImg", d.pwdImg, value, sizeof value);
    CopyText(d.pwdImg, value, kTextSize);
    for (int i = 0; i < MenuCount; ++i) {
        ODGetThemeString(kSection, kMenuKeys[i], d.menu[i], value, sizeof value);
        CopyText(d.menu[i], value, kTextSize);
    }
}

BOOL CODEdit::RegisterWindowClass()
{
    const HINSTANCE instance = AfxGetInstanceHandle();
    WNDCLASSA wc = {};
    if (::GetClassInfoA(instance, kClassName, &wc))
        return TRUE;
    wc = WNDCLASSA();
    wc.style = CS_VREDRAW | CS_HREDRAW;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorA(NULL, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = kClassName;
    if (!::RegisterClassA(&wc))
        AfxThrowResourceException();
    return TRUE;
}

CODEdit::CODEdit()
    : m_disabledTextSet(FALSE), m_textSet(FALSE), m_disabledBkSet(FALSE), m_bkSet(FALSE), m_selTextSet(FALSE),
      m_selBkSet(FALSE), m_caretSet(FALSE), m_borderSet(FALSE), m_caretWidthSet(FALSE), m_borderWidthSet(FALSE),
      m_usePwdImgSet(FALSE), m_bkModeSet(FALSE), m_pwdCharSet(FALSE), m_textFontSet(FALSE), m_bkImgSet(FALSE),
      m_pwdImgSet(FALSE), m_menuLabelSet(), m_fontSet(FALSE), m_hFont(NULL), m_parameter(0), m_model(this),
      m_hasFocus(FALSE), m_hover(TRUE)
{
    const Defaults& d = ClassDefaults();
    m_disabledText = d.disabledText;
    m_text = d.text;
    m_disabledBk = d.disabledBk;
    m_bk = d.bk;
    m_selText = d.selText;
    m_selBk = d.selBk;
    m_caret = d.caret;
    m_border = d.border;
    m_caretWidth = d.caretWidth;
    m_borderWidth = d.borderWidth;
    m_usePwdImg = d.usePwdImg;
    m_bkMode = d.bkMode;
    memcpy(m_pwdChar, d.pwdChar, sizeof m_pwdChar);
    memcpy(m_textFont, d.textFont, sizeof m_textFont);
    memcpy(m_bkImg, d.bkImg, sizeof m_bkImg);
    memcpy(m_pwdImg, d.pwdImg, sizeof m_pwdImg);
    memcpy(m_menuLabels, d.menu, sizeof m_menuLabels);
    ODDefaultControlFont(&m_font, -12);
    m_leftMargin = Margin(m_borderWidth);
    m_model.SetPasswordChar(m_pwdChar[0]);
    RegisterWindowClass();
}

CODEdit::~CODEdit()
{
    if (m_hWnd)
        DestroyWindow();
    m_bkImage.Release();
    m_pwdImage.Release();
    if (m_hFont)
        ::DeleteObject(m_hFont);
}

void CODEdit::LoadPwdImage()
{
    m_pwdImage.Release();
    if (m_pwdImg[0])
        ODLoadSkinImage(m_pwdImg, &m_pwdImage);
}

void CODEdit::LoadBkImage()
{
    m_bkImage.Release();
    if (m_bkImg[0])
        ODLoadSkinImage(m_bkImg, &m_bkImage);
    m_bkImage.SetDrawMode(CODSkinImage::DrawTile);
}

void CODEdit::ApplyTheme()
{
    const Defaults& d = ClassDefaults();
    const struct
    {
        COLORREF* mine;
        BOOL set;
        COLORREF theirs;
    } colours[] = {{&m_disabledText, m_disabledTextSet, d.disabledText}, {&m_text, m_textSet, d.text},
                   {&m_disabledBk, m_disabledBkSet, d.disabledBk},       {&m_bk, m_bkSet, d.bk},
                   {&m_selText, m_selTextSet, d.selText},                {&m_selBk, m_selBkSet, d.selBk},
                   {&m_caret, m_caretSet, d.caret},                      {&m_border, m_borderSet, d.border}};
    for (const auto& c : colours)
        if (!c.set)
            *c.mine = c.theirs;
    if (!m_caretWidthSet)
        m_caretWidth = d.caretWidth;
    if (!m_borderWidthSet)
        m_borderWidth = d.borderWidth;
    if (!m_usePwdImgSet)
        m_usePwdImg = d.usePwdImg;
    if (!m_bkModeSet)
        m_bkMode = d.bkMode;
    if (!m_pwdCharSet)
        memcpy(m_pwdChar, d.pwdChar, sizeof m_pwdChar);
    if (!m_textFontSet)
        memcpy(m_textFont, d.textFont, sizeof m_textFont);
    if (!m_bkImgSet)
        memcpy(m_bkImg, d.bkImg, sizeof m_bkImg);
    if (!m_pwdImgSet)
        memcpy(m_pwdImg, d.pwdImg, sizeof m_pwdImg);
    for (int i = 0; i < MenuCount; ++i)
        if (!m_menuLabelSet[i])
            memcpy(m_menuLabels[i], d.menu[i], kTextSize);
    m_model.SetPasswordChar(m_pwdChar[0]);
    CODSkinFrame::SetColor(m_border, 0);
    if (!m_borderWidthSet) {
        const int widths[4] = {m_borderWidth, m_borderWidth, m_borderWidth, m_borderWidth};
        CODSkinFrame::SetBorderWidths(NULL, widths);
    }
    if ((m_model.Style() & ES_PASSWORD) && m_usePwdImg)
        LoadPwdImage();
    else
        m_pwdImage.Release();
    if (m_bkMode == BkImage)
        LoadBkImage();
    else
        m_bkImage.Release();
    if (m_bkMode == BkParent && m_hWnd && GetParent()) {
        m_parentCache.Reset();
        CRect r;
        GetWindowRect(&r);
        GetParent()->ScreenToClient(&r);
        int w[4];
        CODSkinFrame::GetBorderWidths(w);
        r.DeflateRect(w[0], w[1], w[2], w[3]);
        GetParent()->InvalidateRect(&r, TRUE);
    }
    UpdateGeometry();
}

// ---- Creation -----------------------------------------------------------------------------------

BOOL CODEdit::CreateWindowPart(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                               CWnd* pParentWnd, UINT nID)
{
    RegisterWindowClass();
    ApplyTheme();
    dwStyle |= kForcedStyle;
    m_model.SetStyle(dwStyle);
    if (!CWnd::Create(lpszClassName ? lpszClassName : kClassName, lpszWindowName, dwStyle, rect, pParentWnd, nID))
        return FALSE;
    InitFont();
    ApplyTheme();  // the password image needs the kept style, the parent's area the window
    if (lpszWindowName && *lpszWindowName)
        SetText(lpszWindowName);
    return TRUE;
}

BOOL CODEdit::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                     CWnd* pParentWnd, UINT nID, CCreateContext*)
{
    return CreateWindowPart(lpszClassName, lpszWindowName, dwStyle, rect, pParentWnd, nID);
}

BOOL CODEdit::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                     CWnd* pParentWnd, UINT nID, DWORD parameter)
{
    m_parameter = parameter;
    return CreateWindowPart(lpszClassName, lpszWindowName, dwStyle, rect, pParentWnd, nID);
}

BOOL CODEdit::ReplaceDlgItem(DWORD dwStyle, UINT nID, CWnd* pParent)
{
    if (!pParent || !pParent->GetSafeHwnd() || m_hWnd)
        return FALSE;
    HWND item = ::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID));
    if (!item)
        return FALSE;
    CRect r;
    ::GetWindowRect(item, &r);
    ::MapWindowPoints(NULL, pParent->m_hWnd, reinterpret_cast<POINT*>(&r), 2);
    if (!CreateWindowPart(kClassName, "", dwStyle, r, pParent, nID))
        return FALSE;
    ::SetWindowPos(m_hWnd, item, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    CWnd* old = CWnd::FromHandlePermanent(item);
    if (old)
        old->DestroyWindow();
    else
        ::DestroyWindow(item);
    return TRUE;
}

BOOL CODEdit::SubclassEditWindow(HWND hWnd)
{
    if (!hWnd || !::IsWindow(hWnd))
        return FALSE;
    HWND parent = ::GetParent(hWnd);
    if (!parent)
        return FALSE;
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrA(hWnd, GWL_STYLE));
    return ReplaceDlgItem(style, static_cast<UINT>(::GetDlgCtrlID(hWnd)), CWnd::FromHandle(parent));
}

void CODEdit::InitFont()
{
    LOGFONT lf;
    if (m_hWnd && ODGetInheritedFont(m_hWnd, &lf)) {
        m_font = lf;
        UpdateFont();
    }
}

void CODEdit::UpdateFont()
{
    if (m_hFont)
        ::DeleteObject(m_hFont);
    m_hFont = ::CreateFontIndirectA(&m_font);
}

void CODEdit::SetFont(const LOGFONT* lf, BOOL redraw)
{
    if (!lf)
        return;
    m_font = *lf;
    m_fontSet = TRUE;
    UpdateFont();
    UpdateGeometry();
    if (redraw)
        Redraw();
}

// ---- Geometry and measuring ----------------------------------------------------------------------

CRect CODEdit::GetInnerRect() const
{
    CRect client(0, 0, 0, 0);
    if (m_hWnd)
        ::GetClientRect(m_hWnd, &client);
    int w[4];
    CODSkinFrame::GetBorderWidths(w);
    return CRect(client.left + w[0], client.top + w[1], client.right - w[2], client.bottom - w[3]);
}

int CODEdit::PasswordPitch() const
{
    if (!(m_model.Style() & ES_PASSWORD) || !m_usePwdImg || m_pwdImage.IsEmpty())
        return 0;
    return m_pwdImage.GetCellSize().cx + 2 * kImageInset + m_caretWidth;
}

void CODEdit::UpdateGeometry()
{
    const CRect inner = GetInnerRect();
    m_model.SetGeometry(std::max(inner.Width(), 0), m_leftMargin, m_caretWidth);
    m_model.SetPasswordPitch(PasswordPitch());
}

int CODEdit::TextWidth(const char* s, int n)
{
    if (!s || n <= 0)
        return 0;
    HDC dc = ::CreateCompatibleDC(NULL);
    if (!dc)
        return 0;
    if (!m_hFont)
        UpdateFont();
    HGDIOBJ old = ::SelectObject(dc, m_hFont);
    SIZE size = {0, 0};
    ::GetTextExtentPoint32A(dc, s, n, &size);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return size.cx;
}

int CODEdit::FontHeight()
{
    HDC dc = ::CreateCompatibleDC(NULL);
    if (!dc)
        return 0;
    if (!m_hFont)
        UpdateFont();
    HGDIOBJ old = ::SelectObject(dc, m_hFont);
    TEXTMETRICA tm = {};
    ::GetTextMetricsA(dc, &tm);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return tm.tmHeight;
}

void CODEdit::Redraw()
{
    if (m_hWnd)
        Invalidate(FALSE);
}

// ---- Clipboard and notices -------------------------------------------------------------------------

bool CODEdit::SetClipboardText(const std::string& text)
{
    if (!::OpenClipboard(m_hWnd))
        return false;
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, text.size() + 1);
    char* p = block ? static_cast<char*>(::GlobalLock(block)) : NULL;
    if (!p) {
        if (block)
            ::GlobalFree(block);
        ::CloseClipboard();
        return false;
    }
    memcpy(p, text.c_str(), text.size() + 1);
    ::GlobalUnlock(block);
    ::EmptyClipboard();
    const bool ok = ::SetClipboardData(CF_TEXT, block) != NULL;
    if (!ok)
        ::GlobalFree(block);
    ::CloseClipboard();
    return ok;
}

namespace {

// The text of a global block, bounded by the block's size.
bool BlockText(HGLOBAL block, std::string* text)
{
    const SIZE_T size = block ? ::GlobalSize(block) : 0;
    const char* p = block ? static_cast<const char*>(::GlobalLock(block)) : NULL;
    if (!p)
        return false;
    const char* end = static_cast<const char*>(memchr(p, 0, size));
    text->assign(p, end ? static_cast<size_t>(end - p) : size);
    ::GlobalUnlock(block);
    return true;
}

}  // namespace

bool CODEdit::GetClipboardText(std::string* text)
{
    IDataObject* data = NULL;
    if (SUCCEEDED(::OleGetClipboard(&data)) && data) {
        FORMATETC format = {CF_TEXT, NULL, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        STGMEDIUM medium = {};
        bool ok = false;
        if (SUCCEEDED(data->GetData(&format, &medium))) {
            ok = medium.tymed == TYMED_HGLOBAL && BlockText(medium.hGlobal, text);
            ::ReleaseStgMedium(&medium);
        }
        data->Release();
        return ok;
    }
    // Without OLE in this thread the clipboard is read directly.
    if (!::OpenClipboard(m_hWnd))
        return false;
    const bool ok = BlockText(::GetClipboardData(CF_TEXT), text);
    ::CloseClipboard();
    return ok;
}

void CODEdit::NotifyChange()
{
    if (!m_hWnd)
        return;
    HWND parent = ::GetParent(m_hWnd);
    if (parent)
        ::PostMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), EN_CHANGE),
                       reinterpret_cast<LPARAM>(m_hWnd));
}

// ---- Operations ---------------------------------------------------------------------------------------

void CODEdit::SetText(LPCSTR text)
{
    if (!text || !m_hWnd)
        return;
    UpdateGeometry();
    m_model.SetText(text);
    Invalidate(FALSE);
}

int CODEdit::InsertText(const CString& text, int pos)
{
    UpdateGeometry();
    return m_model.InsertText(std::string(static_cast<LPCSTR>(text)), pos);
}

void CODEdit::SetSel(int start, int end, BOOL)
{
    UpdateGeometry();
    m_model.SetSel(start, end);
    Redraw();
}

void CODEdit::GetSel(int& start, int& end) const { m_model.GetSel(&start, &end); }

int CODEdit::GetSelText(CString& text) const
{
    const std::string s = m_model.GetSelText();
    text = s.c_str();
    return static_cast<int>(s.size());
}

void CODEdit::Clear()
{
    UpdateGeometry();
    if (m_model.Clear())
        Redraw();
}

void CODEdit::Copy() { m_model.Copy(); }

void CODEdit::Cut()
{
    UpdateGeometry();
    if (m_model.Cut())
        Redraw();
}

void CODEdit::Paste()
{
    UpdateGeometry();
    m_model.Paste();
    Redraw();
}

void CODEdit::SelectAll() { SetSel(0, -1); }

DWORD CODEdit::SetReadOnly(BOOL readOnly) { return m_model.SetReadOnly(readOnly != FALSE); }

void CODEdit::SetBorder(int width, COLORREF colour)
{
    if (colour != static_cast<COLORREF>(-1)) {
        m_border = colour;
        m_borderSet = TRUE;
        CODSkinFrame::SetColor(colour, 0);
    }
    if (width >= 0) {
        m_borderWidth = width;
        m_borderWidthSet = TRUE;
        const int widths[4] = {width, width, width, width};
        CODSkinFrame::SetBorderWidths(NULL, widths);
    }
    UpdateGeometry();
    Redraw();
}

BOOL CODEdit::SetUsePwdImg(BOOL use)
{
    const BOOL old = m_usePwdImg;
    m_usePwdImg = use;
    m_usePwdImgSet = TRUE;
    if (use)
        LoadPwdImage();
    else
        m_pwdImage.Release();
    UpdateGeometry();
    if (old != use)
        Redraw();
    return old;
}

int CODEdit::SetBkMode(int mode)
{
    const int old = m_bkMode;
    m_bkMode = mode;
    m_bkModeSet = TRUE;
    if (mode == BkImage)
        LoadBkImage();
    else
        m_bkImage.Release();
    if (old != mode)
        Redraw();
    return old;
}

CString CODEdit::SetToolTipText(const CString& text)
{
    m_tipText = text;
    if (!m_tooltip.m_hWnd) {
        if (m_hWnd && m_tooltip.Create(this, FALSE)) {
            m_tooltip.AddTool(this, m_tipText);
            m_tooltip.Activate(TRUE);
            m_tooltip.SendMessage(TTM_SETMAXTIPWIDTH, 0, 300);
        }
    } else {
        m_tooltip.UpdateTipText(m_tipText, this);
    }
    return m_tipText;
}

void CODEdit::KillTimers()
{
    if (!m_hWnd)
        return;
    ::KillTimer(m_hWnd, TimerCaret);
    ::KillTimer(m_hWnd, TimerPwdImage);
    ::KillTimer(m_hWnd, TimerBkImage);
}

void CODEdit::CopyParentBackground(CDC* pParentDC)
{
    if (!pParentDC || !m_hWnd || !GetParent())
        return;
    const CRect inner = GetInnerRect();
    CRect inParent = inner;
    MapWindowPoints(GetParent(), &inParent);
    m_parentCache.BuildCache(pParentDC, inner, inParent.TopLeft());
}

// ---- Broadcast --------------------------------------------------------------------------------------

namespace {

void Deliver(HWND w, const ODBroadcastRecord& r)
{
    if (reinterpret_cast<INT_PTR>(::GetPropA(w, "ODEdit")) != OD_EDIT_ID)
        return;
    if (r.send)
        ::SendMessageA(w, r.message, r.wParam, r.lParam);
    else
        ::PostMessageA(w, r.message, r.wParam, r.lParam);
}

}  // namespace

BOOL CALLBACK CODEdit::BroadcastToChildEdits(HWND hWnd, LPARAM lParam)
{
    if (lParam)
        Deliver(hWnd, *reinterpret_cast<const ODBroadcastRecord*>(lParam));
    return TRUE;
}

BOOL CALLBACK CODEdit::BroadcastToEdits(HWND hWnd, LPARAM lParam)
{
    if (!lParam)
        return TRUE;
    Deliver(hWnd, *reinterpret_cast<const ODBroadcastRecord*>(lParam));
    ::EnumChildWindows(hWnd, BroadcastToChildEdits, lParam);
    return TRUE;
}

// ---- Painting -------------------------------------------------------------------------------------

void CODEdit::DrawBackground(CDC* pDC, const RECT& rect)
{
    CWnd* parent = GetParent();
    const BOOL enabled = IsWindowEnabled();
    if (m_bkMode == BkParent && parent) {
        CRect inParent = rect;
        MapWindowPoints(parent, &inParent);
        CClientDC parentDC(parent);
        m_parentCache.Draw(pDC, &parentDC, rect, inParent.TopLeft());
    } else if (m_bkMode == BkImage && !m_bkImage.IsEmpty()) {
        m_bkImage.Draw(pDC, rect, enabled ? 0 : 1);
    } else {
        pDC->FillSolidRect(&rect, enabled ? m_bk : m_disabledBk);
    }
}

void CODEdit::DrawFrame(CDC* pDC, const RECT& rect) { CODSkinFrame::Draw(pDC, rect, m_hover ? 1 : 0); }

void CODEdit::DrawContent(CDC* pDC, const RECT& rect)
{
    if ((m_model.Style() & ES_PASSWORD) && m_usePwdImg && !m_pwdImage.IsEmpty())
        DrawPasswordImages(pDC, rect);
    else
        DrawText(pDC, rect);
}

void CODEdit::DrawText(CDC* pDC, const RECT& rect)
{
    const int saved = pDC->SaveDC();
    pDC->IntersectClipRect(&rect);
    HGDIOBJ oldFont = ::SelectObject(pDC->m_hDC, m_hFont);
    const COLORREF textColour = IsWindowEnabled() ? m_text : m_disabledText;
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(textColour);
    const std::string shown = m_model.ShownText();
    const int n = static_cast<int>(shown.size());
    const int fontHeight = FontHeight();
    const int x = rect.left + m_leftMargin - m_model.ScrollOffset();
    const int y = rect.top + (rect.bottom - rect.top - fontHeight) / 2;
    auto width = [&](int from, int count) {
        SIZE s = {0, 0};
        if (count > 0)
            ::GetTextExtentPoint32A(pDC->m_hDC, shown.data() + from, count, &s);
        return static_cast<int>(s.cx);
    };
    if (!m_model.HasSelection()) {
        pDC->TextOut(x, y, shown.c_str(), n);
    } else {
        const int start = std::min(std::max(m_model.SelStart(), 0), n);
        const int count = std::min(abs(m_model.SelLength()), n - start);
        pDC->TextOut(x, y, shown.c_str(), start);
        const int x1 = x + width(0, start);
        pDC->SetBkMode(OPAQUE);
        pDC->SetBkColor(m_selBk);
        pDC->SetTextColor(m_selText);
        pDC->TextOut(x1, y, shown.c_str() + start, count);
        const int x2 = x1 + width(start, count);
        pDC->SetBkMode(TRANSPARENT);
        pDC->SetTextColor(textColour);
        pDC->TextOut(x2, y, shown.c_str() + start + count, n - start - count);
    }
    if (m_model.CaretShown() && m_hasFocus) {
        const int cx = x + width(0, std::min(m_model.Caret(), n));
        CPen pen(PS_SOLID, m_caretWidth, m_caret);
        CPen* oldPen = pDC->SelectObject(&pen);
        const int oldRop = pDC->SetROP2(R2_NOT);
        pDC->MoveTo(cx, y);
        pDC->LineTo(cx, y + fontHeight);
        pDC->SetROP2(oldRop);
        pDC->SelectObject(oldPen);
    }
    ::SelectObject(pDC->m_hDC, oldFont);
    pDC->RestoreDC(saved);
}

void CODEdit::DrawPasswordImages(CDC* pDC, const RECT& rect)
{
    const int saved = pDC->SaveDC();
    pDC->IntersectClipRect(&rect);
    const int pitch = PasswordPitch();
    const CSize cell = m_pwdImage.GetCellSize();
    const int n = m_model.Length();
    const int x = rect.left + m_leftMargin - m_model.ScrollOffset();
    const int y = rect.top + (rect.bottom - rect.top - cell.cy) / 2;
    auto drawCell = [&](int i) {
        const int left = x + i * pitch + m_caretWidth + kImageInset;
        m_pwdImage.Draw(pDC, CRect(left, y, left + cell.cx, y + cell.cy), 0);
    };
    for (int i = 0; i < n; ++i)
        drawCell(i);
    if (m_model.HasSelection()) {
        const int start = std::min(std::max(m_model.SelStart(), 0), n);
        const int count = std::min(abs(m_model.SelLength()), n - start);
        pDC->FillSolidRect(CRect(x + start * pitch, rect.top, x + (start + count) * pitch, rect.bottom), m_selBk);
        for (int i = start; i < start + count; ++i)
            drawCell(i);
    }
    if (m_model.CaretShown() && m_hasFocus) {
        const int fontHeight = FontHeight();
        const int ty = rect.top + (rect.bottom - rect.top - fontHeight) / 2;
        const int cx = x + m_model.Caret() * pitch;
        CPen pen(PS_SOLID, m_caretWidth, m_caret);
        CPen* oldPen = pDC->SelectObject(&pen);
        const int oldRop = pDC->SetROP2(R2_NOT);
        pDC->MoveTo(cx, ty);
        pDC->LineTo(cx, ty + fontHeight);
        pDC->SetROP2(oldRop);
        pDC->SelectObject(oldPen);
    }
    pDC->RestoreDC(saved);
}

void CODEdit::PaintTo(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    UpdateGeometry();
    const CRect inner = GetInnerRect();
    DrawBackground(pDC, inner);
    DrawContent(pDC, inner);
    DrawFrame(pDC, client);
}

// ---- Messages -------------------------------------------------------------------------------------

void CODEdit::ShowContextMenu(CPoint point)
{
    if (!m_menu.Create(NULL, 1))
        return;
    for (int i = 0; i < MenuCount; ++i) {
        if (i == MenuSelAll)
            m_menu.AddItem("", 0);
        m_menu.AddItem(m_menuLabels[i], kMenuIds[i]);
    }
    if (point.x == -1 && point.y == -1) {
        CRect r;
        GetWindowRect(&r);
        point = r.TopLeft();
    }
    m_menu.TrackPopup(0, point.x, point.y, this);
}

BOOL CODEdit::OnCommand(WPARAM wParam, LPARAM)
{
    switch (LOWORD(wParam)) {
    case CmdCut: Cut(); break;
    case CmdCopy: Copy(); break;
    case CmdPaste: Paste(); break;
    case CmdClear: Clear(); break;
    case CmdSelectAll: SelectAll(); break;
    default: break;
    }
    SetFocus();
    return TRUE;
}

BOOL CODEdit::PreTranslateMessage(MSG* pMsg)
{
    if (m_tooltip.m_hWnd) {
        m_tooltip.UpdateTipText(m_tipText, this);
        m_tooltip.RelayEvent(pMsg);
    }
    return CWnd::PreTranslateMessage(pMsg);
}

LRESULT CODEdit::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == ODGetThemeMessage() && message != 0) {
        ApplyTheme();
        Redraw();
    }
    return CWnd::DefWindowProc(message, wParam, lParam);
}

LRESULT CODEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: {
        const LPCREATESTRUCTA cs = reinterpret_cast<LPCREATESTRUCTA>(lParam);
        m_model.SetStyle((cs->style | kForcedStyle) & ~static_cast<DWORD>(WS_BORDER));
        if (CWnd::WindowProc(message, wParam, lParam) == -1)
            return -1;
        m_bkImage.SetDrawMode(CODSkinImage::DrawTile);
        m_bkImage.SetOwner(this, TimerBkImage, TRUE);
        m_pwdImage.SetOwner(this, TimerPwdImage, TRUE);
        ModifyStyle(WS_BORDER, 0);
        ODSetCtrlProps(m_hWnd, OD_EDIT_ID);
        return 0;
    }
    case WM_DESTROY:
        KillTimers();
        ODRemoveCtrlProps(m_hWnd, OD_EDIT_ID);
        break;
    case WM_SIZE:
        UpdateGeometry();
        break;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        CPaintDC paint(this);
        CRect client;
        GetClientRect(&client);
        if (!client.IsRectEmpty()) {
            CODBackDC back(&paint, &client, FALSE);
            PaintTo(&back);
        }
        return 0;
    }
    case WM_CHAR:
        UpdateGeometry();
        if (m_model.Char(static_cast<unsigned>(wParam) & 0xFFFF))
            Redraw();
        break;
    case WM_KEYDOWN: {
        UpdateGeometry();
        const bool shift = s_keyState(VK_SHIFT) < 0;
        const bool ctrl = s_keyState(VK_CONTROL) < 0;
        m_model.KeyDown(static_cast<unsigned>(wParam), shift, ctrl);
        Redraw();
        break;
    }
    case WM_LBUTTONDOWN: {
        UpdateGeometry();
        const int x = static_cast<short>(LOWORD(lParam)) - GetInnerRect().left;
        SetFocus();
        SetCapture();
        if (m_model.MouseDown(x))
            Redraw();
        return 0;
    }
    case WM_MOUSEMOVE: {
        if (!m_hover) {
            TRACKMOUSEEVENT tme = {sizeof tme, TME_LEAVE, m_hWnd, 0};
            ::TrackMouseEvent(&tme);
            m_hover = TRUE;
            Redraw();
        }
        UpdateGeometry();
        const int x = static_cast<short>(LOWORD(lParam)) - GetInnerRect().left;
        if (m_model.MouseMove(x))
            Redraw();
        return 0;
    }
    case WM_LBUTTONUP:
        m_model.MouseUp();
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
        return 0;
    case WM_LBUTTONDBLCLK:
        SelectAll();
        return 0;
    case WM_MOUSELEAVE:
        m_hover = FALSE;
        Redraw();
        return 0;
    case WM_SETFOCUS:
        m_hasFocus = TRUE;
        m_model.SetCaretShown(true);
        Redraw();
        ::SetTimer(m_hWnd, TimerCaret, 500, NULL);
        break;
    case WM_KILLFOCUS:
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
        m_model.CancelDrag();
        m_hasFocus = FALSE;
        ::KillTimer(m_hWnd, TimerCaret);
        Redraw();
        break;
    case WM_TIMER:
        if (wParam == TimerCaret) {
            m_model.SetCaretShown(!m_model.CaretShown());
            Redraw();
            return 0;
        }
        if (wParam == TimerPwdImage) {
            m_pwdImage.AdvanceFrame();
            Redraw();
            return 0;
        }
        if (wParam == TimerBkImage) {
            m_bkImage.AdvanceFrame();
            Redraw();
            return 0;
        }
        break;
    case WM_SETCURSOR: {
        CPoint p;
        ::GetCursorPos(&p);
        ScreenToClient(&p);
        if (GetInnerRect().PtInRect(p)) {
            ::SetCursor(::LoadCursorA(NULL, MAKEINTRESOURCEA(32513)));  // IDC_IBEAM
            return TRUE;
        }
        break;
    }
    case WM_GETDLGCODE:
        return kDlgCode;
    case WM_ENABLE:
        m_model.RemoveSelection();
        Redraw();
        break;
    case WM_GETTEXT:
        return m_model.GetText(reinterpret_cast<char*>(lParam), static_cast<int>(wParam));
    case WM_GETTEXTLENGTH:
        return m_model.GetTextLength();
    case WM_SETTEXT:
        if (m_model.IsPassword())
            return 0;
        SetText(lParam ? reinterpret_cast<LPCSTR>(lParam) : "");
        return 1;
    case WM_CUT:
        Cut();
        return 0;
    case WM_COPY:
        Copy();
        return 0;
    case WM_PASTE:
        Paste();
        return 0;
    case WM_CLEAR:
        Clear();
        return 0;
    case WM_CONTEXTMENU:
        ShowContextMenu(CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))));
        return 0;
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
