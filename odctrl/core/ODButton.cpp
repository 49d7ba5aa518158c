// ODButton.cpp - the owner-draw button.
#include "ODButton.h"

#include <mmsystem.h>
#include <shellapi.h>
#include <string.h>

#include <algorithm>
#include <vector>

#include "ODControlFont.h"
#include "ODDrawing.h"
#include "graphics/image/ImageDecoder.h"
#include "ODLibrary.h"
#include "graphics/BitmapRegions.h"

IMPLEMENT_DYNAMIC(CODButton, CButton)

namespace {

const char kSection[] = "ODButton";
const char* const kColourKeys[CODButton::ColCount] = {
    "ColorBkIn",       "ColorFgIn",         "ColorBkOut",     "ColorFgOut",      "ColorBkFocus",
    "ColorFgFocus",    "ColorSolidBorder",  "Color3DTopLeft", "Color3DBottomRight", "ColorCheckFgIn",
    "ColorCheckFgOut", "ColorCheckFgFocus", "ColorRadioFgIn", "ColorRadioFgOut", "ColorRadioFgFocus"};
const char* const kImageKeys[CODButton::ImgCount] = {"ImageBtnChecked", "ImageBtnUnchecked", "ImageBtnRadioed",
                                                     "ImageBtnUnradioed", "ImageBtnOut", "ImageBtnIn"};
const char* const kTransKeys[CODButton::ImgCount] = {"TransBtnChecked", "TransBtnUnchecked", "TransBtnRadioed",
                                                     "TransBtnUnradioed", "TransBtnOut", "TransBtnIn"};

const ODThemeLoaderRegistration s_loader(OD_LOADER_BUTTON, &CODButton::LoadTheme);

BOOL PlaySoundSeam(LPCSTR name, HMODULE module, DWORD flags) { return ::PlaySoundA(name, module, flags); }

BOOL OpenUrlSeam(HWND owner, LPCSTR url)
{
    SHELLEXECUTEINFOA sei = {};
    sei.cbSize = sizeof sei;
    sei.fMask = SEE_MASK_FLAG_NO_UI;
    sei.hwnd = owner;
    sei.lpVerb = "open";
    sei.lpFile = url;
    sei.nShow = SW_MAXIMIZE;
    return ::ShellExecuteExA(&sei);
}

UINT TrackMenuSeam(HMENU menu, UINT flags, int x, int y, HWND owner)
{
    return static_cast<UINT>(::TrackPopupMenu(menu, flags, x, y, 0, owner, NULL));
}

bool IsWebAddress(const char* url)
{
    return _strnicmp(url, "http://", 7) == 0 || _strnicmp(url, "https://", 8) == 0;
}

// A 32-bit top-down copy of a bitmap's pixels (0x00RRGGBB), or empty.
std::vector<DWORD> Pixels(HBITMAP bitmap, int* width, int* height)
{
    std::vector<DWORD> px;
    BITMAP bm;
    if (!bitmap || !::GetObjectA(bitmap, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0)
        return px;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = bm.bmWidth;
    bi.bmiHeader.biHeight = -bm.bmHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    px.resize(static_cast<size_t>(bm.bmWidth) * bm.bmHeight);
    HDC dc = ::GetDC(NULL);
    const int rows = ::GetDIBits(dc, bitmap, 0, bm.bmHeight, px.data(), &bi, DIB_RGB_COLORS);
    ::ReleaseDC(NULL, dc);
    if (rows != bm.bmHeight)
        px.clear();
    *width = bm.bmWidth;
    *height = bm.bmHeight;
    return px;
}

HBITMAP FromPixels(const std::vector<DWORD>& px, int width, int height)
{
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = NULL;
    HBITMAP b = ::CreateDIBSection(NULL, &bi, DIB_RGB_COLORS, &bits, NULL, 0);
    if (b && bits)
        memcpy(bits, px.data(), px.size() * sizeof(DWORD));
    return b;
}

DWORD Darker(DWORD p)
{
    const DWORD r = ((p >> 16) & 0xFF) * 3 / 4, g = ((p >> 8) & 0xFF) * 3 / 4, b = (p & 0xFF) * 3 / 4;
    return (p & 0xFF000000u) | r << 16 | g << 8 | b;
}

DWORD Grey(DWORD p)
{
    const DWORD l = static_cast<DWORD>(0.299 * ((p >> 16) & 0xFF) + 0.587 * ((p >> 8) & 0xFF) + 0.114 * (p & 0xFF));
    return (p & 0xFF000000u) | l << 16 | l << 8 | l;
}

// A 25 % darker copy of a bitmap, pixels of the key colour kept.
HBITMAP DarkerBitmap(HBITMAP in, COLORREF key)
{
    int w = 0, h = 0;
    std::vector<DWORD> px = Pixels(in, &w, &h);
    if (px.empty())
        return NULL;
    const DWORD keyPixel = GetRValue(key) << 16 | GetGValue(key) << 8 | GetBValue(key);
    for (DWORD& p : px)
        if (key == CLR_NONE || (p & 0xFFFFFF) != keyPixel)
            p = Darker(p);
    return FromPixels(px, w, h);
}

// A grey or darker copy of an icon; black pixels stay.
HICON IconCopy(HICON in, bool grey)
{
    ICONINFO ii;
    if (!in || !::GetIconInfo(in, &ii))
        return NULL;
    HICON out = NULL;
    int w = 0, h = 0;
    std::vector<DWORD> px = Pixels(ii.hbmColor, &w, &h);
    if (!px.empty()) {
        for (DWORD& p : px)
            if (p & 0xFFFFFF)
                p = grey ? Grey(p) : Darker(p);
        HBITMAP colour = FromPixels(px, w, h);
        ICONINFO copy = ii;
        copy.fIcon = TRUE;
        copy.hbmColor = colour;
        out = ::CreateIconIndirect(&copy);
        ::DeleteObject(colour);
    }
    if (ii.hbmColor)
        ::DeleteObject(ii.hbmColor);
    if (ii.hbmMask)
        ::DeleteObject(ii.hbmMask);
    return out;
}

}  // namespace

BOOL (*CODButton::s_playSound)(LPCSTR, HMODULE, DWORD) = &PlaySoundSeam;
BOOL (*CODButton::s_openUrl)(HWND, LPCSTR) = &OpenUrlSeam;
UINT (*CODButton::s_trackMenu)(HMENU, UINT, int, int, HWND) = &TrackMenuSeam;

// ---- Class values ------------------------------------------------------------------------------

CODButton::Defaults& CODButton::ClassDefaults()
{
    static Defaults d = [] {
        Defaults v = {};
        const COLORREF face = ::GetSysColor(COLOR_BTNFACE), text = ::GetSysColor(COLOR_BTNTEXT);
        const COLORREF c[ColCount] = {face, text, face, text, face, text, text, ::GetSysColor(COLOR_BTNHIGHLIGHT),
                                      ::GetSysColor(COLOR_BTNSHADOW), text, text, text, text, text, text};
        memcpy(v.colours, c, sizeof c);
        v.trans[ImgChecked] = CLR_NONE;
        v.sizeToContent = 1;
        v.makeIrregular = 0;
        return v;
    }();
    return d;
}

void CODButton::LoadTheme()
{
    Defaults& d = ClassDefaults();
    for (int i = 0; i < ColCount; ++i)
        d.colours[i] = ODGetThemeColor(kSection, kColourKeys[i], d.colours[i]);
    for (int i = 0; i < ImgCount; ++i) {
        d.images[i] = ODGetThemeColor(kSection, kImageKeys[i], d.images[i]);
        d.trans[i] = ODGetThemeColor(kSection, kTransKeys[i], d.trans[i]);
    }
    d.sizeToContent = static_cast<int>(ODGetThemeColor(kSection, "SetSizeToContent", d.sizeToContent));
    d.makeIrregular = static_cast<int>(ODGetThemeColor(kSection, "DefaultMakeIrregular", d.makeIrregular));
}

// ---- Construction ------------------------------------------------------------------------------

CODButton::CODButton()
    : m_flat(TRUE), m_hovering(FALSE), m_transparent(FALSE), m_pressed(FALSE), m_focused(FALSE), m_disabled(FALSE),
      m_isDefault(FALSE), m_isCheckBox(FALSE), m_isRadio(FALSE), m_imageAlign(AlignLeft), m_drawBorder(TRUE),
      m_focusRectWhenFlat(FALSE), m_colorSet(), m_menuOwner(NULL), m_menuShown(FALSE), m_font(),
      m_imageMargin(3, 3), m_pressOffset(1, 1), m_textOffset(0, 0), m_themeImages(TRUE), m_menu(NULL),
      m_cursor(NULL), m_textCentered(TRUE), m_background(NULL), m_trackWhenInactive(TRUE), m_checked(0),
      m_buttonType(31), m_balloonTooltip(FALSE), m_url(), m_menuCallback(), m_hFont(NULL)
{
    memcpy(m_colors, ClassDefaults().colours, sizeof m_colors);
}

CODButton::~CODButton()
{
    FreeIcons();
    FreeImages();
    if (m_cursor)
        ::DestroyCursor(m_cursor);
    delete m_background;
    if (m_hFont)
        ::DeleteObject(m_hFont);
}

void CODButton::Repaint(BOOL repaint)
{
    if (repaint && m_hWnd)
        Invalidate(FALSE);
}

void CODButton::PreSubclassWindow()
{
    m_buttonType = GetStyle() & 0x1F;
    const UINT type = m_buttonType & 0xF;
    m_isCheckBox = type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE;
    m_isRadio = type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
    ApplyKind(TRUE);
    if (type == BS_DEFPUSHBUTTON)
        m_isDefault = TRUE;
    ::SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>((GetStyle() & ~0xFu) | BS_OWNERDRAW));
    ::SetWindowPos(m_hWnd, NULL, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    if (!ODGetDialogFont(::GetParent(m_hWnd), &m_font))
        ODDefaultControlFont(&m_font, -14);
    ODSetCtrlProps(m_hWnd, OD_BUTTON_ID);
    CButton::PreSubclassWindow();
}

void CODButton::ThemeBitmaps(int in, int out)
{
    const Defaults& d = ClassDefaults();
    HBITMAP bin = ODGetThemeImage(d.images[in], "QVImage");
    HBITMAP bout = ODGetThemeImage(d.images[out], "QVImage");
    if (bin)
        SetBitmaps(TRUE, bin, d.trans[in], bout, d.trans[out]);
    else
        FreeImages();
    if (!bin && bout)
        ::DeleteObject(bout);
}

void CODButton::ApplyKind(BOOL fit)
{
    const Defaults& d = ClassDefaults();
    if (m_isCheckBox || m_isRadio) {
        if (m_isCheckBox)
            ThemeBitmaps(ImgChecked, ImgUnchecked);
        else
            ThemeBitmaps(ImgRadioed, ImgUnradioed);
        m_textCentered = FALSE;
        m_textOffset = CPoint(2, 0);
        m_drawBorder = FALSE;
        m_pressOffset = CPoint(0, 0);
        SetTransparent(FALSE);
    } else {
        ThemeBitmaps(ImgIn, ImgOut);
        m_imageAlign = AlignOverlap;
        if (fit && d.sizeToContent > 0)
            FitToImage(d.makeIrregular);
        m_drawBorder = FALSE;
    }
    // The caption colours of the kind (a caller's own colours stay).
    const int first = m_isCheckBox ? ColCheckFgIn : (m_isRadio ? ColRadioFgIn : -1);
    if (first >= 0) {
        const int targets[3] = {ColFgIn, ColFgOut, ColFgFocus};
        for (int i = 0; i < 3; ++i)
            if (!m_colorSet[targets[i]])
                m_colors[targets[i]] = d.colours[first + i];
    }
    m_themeImages = TRUE;
}

void CODButton::ReloadTheme()
{
    const Defaults& d = ClassDefaults();
    for (int i = 0; i < ColCount; ++i)
        if (!m_colorSet[i])
            m_colors[i] = d.colours[i];
    Repaint(TRUE);
    if (m_themeImages) {
        ApplyKind(TRUE);
    } else if (m_isCheckBox || m_isRadio) {
        const int first = m_isCheckBox ? ColCheckFgIn : ColRadioFgIn;
        const int targets[3] = {ColFgIn, ColFgOut, ColFgFocus};
        for (int i = 0; i < 3; ++i)
            if (!m_colorSet[targets[i]])
                m_colors[targets[i]] = d.colours[first + i];
    }
}

// ---- Faces -------------------------------------------------------------------------------------

void CODButton::FreeIcons()
{
    for (Face& f : m_icons) {
        if (f.icon)
            ::DestroyIcon(f.icon);
        f = Face();
    }
}

void CODButton::FreeImages()
{
    for (Picture& p : m_images) {
        p.surface.Free();
        p.width = p.height = 0;
        p.trans = CLR_NONE;
    }
}

DWORD CODButton::SetIcon(HICON in, HICON out)
{
    FreeIcons();
    if (in) {
        ICONINFO ii;
        if (!::GetIconInfo(in, &ii)) {
            FreeIcons();
            return ErrLoad;
        }
        if (ii.hbmColor)
            ::DeleteObject(ii.hbmColor);
        if (ii.hbmMask)
            ::DeleteObject(ii.hbmMask);
        m_icons[0].icon = in;
        m_icons[0].width = static_cast<int>(ii.xHotspot) * 2;
        m_icons[0].height = static_cast<int>(ii.yHotspot) * 2;
        const INT_PTR o = reinterpret_cast<INT_PTR>(out);
        HICON second = o == kGreyCopy ? IconCopy(in, true) : (o == kDarkerCopy ? IconCopy(in, false) : out);
        if (second) {
            if (!::GetIconInfo(second, &ii)) {
                FreeIcons();
                return ErrLoad;
            }
            if (ii.hbmColor)
                ::DeleteObject(ii.hbmColor);
            if (ii.hbmMask)
                ::DeleteObject(ii.hbmMask);
            m_icons[1].icon = second;
            m_icons[1].width = static_cast<int>(ii.xHotspot) * 2;
            m_icons[1].height = static_cast<int>(ii.yHotspot) * 2;
        }
    }
    Repaint(TRUE);
    return 0;
}

DWORD CODButton::SetIcon(UINT inId, int cxIn, int cyIn, INT_PTR outId, int cxOut, int cyOut)
{
    HMODULE module = ODGetResourceHandle();
    HICON in = static_cast<HICON>(::LoadImageA(module, MAKEINTRESOURCEA(inId), IMAGE_ICON, cxIn, cyIn, 0));
    HICON out = NULL;
    if (outId == kGreyCopy || outId == kDarkerCopy)
        out = reinterpret_cast<HICON>(outId);
    else if (outId > 0)
        out = static_cast<HICON>(::LoadImageA(module, MAKEINTRESOURCEA(outId), IMAGE_ICON, cxOut, cyOut, 0));
    if (!in) {
        FreeIcons();
        return ErrLoad;
    }
    return SetIcon(in, out);
}

DWORD CODButton::SetBitmaps(BOOL takeOwnership, HBITMAP in, COLORREF transIn, HBITMAP out, COLORREF transOut)
{
    FreeImages();
    const INT_PTR o = reinterpret_cast<INT_PTR>(out);
    const bool copy = o == kGreyCopy || o == kDarkerCopy;
    BITMAP bm;
    if (!in || !::GetObjectA(in, sizeof bm, &bm) || !m_images[0].surface.LoadFromBitmap(in)) {
        FreeImages();
        return ErrLoad;
    }
    m_images[0].width = bm.bmWidth;
    m_images[0].height = bm.bmHeight;
    m_images[0].trans = transIn;
    if (transIn != CLR_NONE)
        m_images[0].surface.SetKeyColor(transIn);
    HBITMAP second = copy ? DarkerBitmap(in, transIn) : out;
    if (second) {
        if (!::GetObjectA(second, sizeof bm, &bm) || !m_images[1].surface.LoadFromBitmap(second)) {
            if (copy)
                ::DeleteObject(second);
            FreeImages();
            return ErrLoad;
        }
        m_images[1].width = bm.bmWidth;
        m_images[1].height = bm.bmHeight;
        m_images[1].trans = copy ? transIn : transOut;
        if (m_images[1].trans != CLR_NONE)
            m_images[1].surface.SetKeyColor(m_images[1].trans);
        if (copy)
            ::DeleteObject(second);
    }
    if (takeOwnership) {
        ::DeleteObject(in);
        if (out && !copy)
            ::DeleteObject(out);
    }
    m_themeImages = FALSE;
    Repaint(TRUE);
    return 0;
}

DWORD CODButton::LoadedBitmaps(HBITMAP in, COLORREF transIn, INT_PTR outId, HBITMAP out, COLORREF transOut)
{
    if (outId == kGreyCopy || outId == kDarkerCopy)
        out = reinterpret_cast<HBITMAP>(outId);
    if (!in) {
        if (out && outId != kGreyCopy && outId != kDarkerCopy)
            ::DeleteObject(out);
        FreeImages();
        return ErrLoad;
    }
    return SetBitmaps(TRUE, in, transIn, out, transOut);
}

DWORD CODButton::SetBitmaps(UINT inId, COLORREF transIn, INT_PTR outId, COLORREF transOut)
{
    HMODULE module = ODGetResourceHandle();
    HBITMAP in = static_cast<HBITMAP>(::LoadImageA(module, MAKEINTRESOURCEA(inId), IMAGE_BITMAP, 0, 0, 0));
    HBITMAP out = outId > 0 ? static_cast<HBITMAP>(::LoadImageA(module, MAKEINTRESOURCEA(outId), IMAGE_BITMAP, 0, 0, 0))
                            : NULL;
    return LoadedBitmaps(in, transIn, outId, out, transOut);
}

DWORD CODButton::SetBitmaps(UINT inId, COLORREF transIn, INT_PTR outId, COLORREF transOut, LPCSTR type,
                            int typeIndex, WORD flags)
{
    if (!type)
        type = ODGetResourceTypeName(typeIndex);
    if (!type) {
        FreeImages();
        return ErrLoad;
    }
    HMODULE module = ODGetResourceHandle();
    HBITMAP in = LoadResourceOrFile(module, MAKEINTRESOURCEA(inId), type, flags);
    HBITMAP out = outId > 0 ? LoadResourceOrFile(module, MAKEINTRESOURCEA(outId), type, flags) : NULL;
    return LoadedBitmaps(in, transIn, outId, out, transOut);
}

DWORD CODButton::SetBitmaps(LPCSTR inFile, COLORREF transIn, LPCSTR outFile, COLORREF transOut)
{
    HBITMAP in = inFile && *inFile ? LoadResourceOrFile(NULL, inFile, NULL, 0) : NULL;
    HBITMAP out = outFile && *outFile ? LoadResourceOrFile(NULL, outFile, NULL, 0) : NULL;
    return LoadedBitmaps(in, transIn, 0, out, transOut);
}

DWORD CODButton::FitToImage(BOOL makeIrregular)
{
    if (!m_hWnd)
        return 0;
    const UINT flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
    if (m_icons[0].icon) {
        SetWindowPos(NULL, 0, 0, m_icons[0].width, m_icons[0].height, flags);
        m_imageMargin = CPoint(0, 0);
    } else if (m_images[0].surface.HasPixels()) {
        ::SetWindowRgn(m_hWnd, NULL, FALSE);
        SetWindowPos(NULL, 0, 0, m_images[0].width, m_images[0].height, flags);
        m_imageMargin = CPoint(0, 0);
        if (makeIrregular) {
            HBITMAP b = m_images[0].surface.CreateBitmap();
            HRGN rgn = b ? CreateRegionFromBitmapKey(b, RGB(0, 0, 0), 0) : NULL;
            if (b)
                ::DeleteObject(b);
            if (rgn && !::SetWindowRgn(m_hWnd, rgn, TRUE))
                ::DeleteObject(rgn);
        }
    }
    return 0;
}

// ---- Look --------------------------------------------------------------------------------------

DWORD CODButton::SetFlat(BOOL flat, BOOL repaint)
{
    m_flat = flat;
    Repaint(repaint);
    return 0;
}

DWORD CODButton::SetImageAlign(int align, BOOL repaint)
{
    if (align < 0 || align > AlignOverlap)
        return ErrAlign;
    m_imageAlign = align;
    Repaint(repaint);
    return 0;
}

DWORD CODButton::SetPressOffset(int x, int y)
{
    m_pressOffset = CPoint(x, y);
    return 0;
}

DWORD CODButton::SetPressedStyle(int style, BOOL repaint)
{
    if (style == 0)
        m_pressOffset = CPoint(1, 1);
    else if (style == 1)
        m_pressOffset = CPoint(0, 2);
    else
        return ErrPressedStyle;
    Repaint(repaint);
    return 0;
}

DWORD CODButton::ResetColors(BOOL repaint, BOOL setFlag)
{
    memcpy(m_colors, ClassDefaults().colours, sizeof m_colors);
    for (BOOL& f : m_colorSet)
        f = setFlag;
    Repaint(repaint);
    return 0;
}

DWORD CODButton::SetColor(int index, COLORREF colour, BOOL repaint)
{
    if (index < 0 || index >= ColCount)
        return ErrColorIndex;
    m_colors[index] = colour;
    m_colorSet[index] = TRUE;
    Repaint(repaint);
    return 0;
}

DWORD CODButton::GetColor(int index, COLORREF* colour) const
{
    if (index < 0 || index >= ColCount)
        return ErrColorIndex;
    if (colour)
        *colour = m_colors[index];
    return 0;
}

DWORD CODButton::ShiftColor(int index, int shift, BOOL repaint)
{
    if (index < 0 || index >= ColCount)
        return ErrColorIndex;
    if (shift < -255 || shift > 255)
        return ErrShift;
    const COLORREF c = m_colors[index];
    if (c == CLR_NONE)
        return 0;  // not painted: nothing to shift
    const int ch[3] = {GetRValue(c), GetGValue(c), GetBValue(c)};
    for (int v : ch) {
        if (v + shift > 255)
            shift = 255 - v;
        if (v + shift < 0)
            shift = -v;
    }
    m_colors[index] = RGB(ch[0] + shift, ch[1] + shift, ch[2] + shift);
    m_colorSet[index] = TRUE;
    Repaint(repaint);
    return 0;
}

DWORD CODButton::SetTrackWhenInactive(BOOL track)
{
    m_trackWhenInactive = track;
    return 0;
}

DWORD CODButton::SetHoverCursor(UINT cursorId, BOOL repaint)
{
    if (m_cursor)
        ::DestroyCursor(m_cursor);
    m_cursor = NULL;
    if (cursorId) {
        m_cursor = static_cast<HCURSOR>(
            ::LoadImageA(ODGetResourceHandle(), MAKEINTRESOURCEA(cursorId), IMAGE_CURSOR, 0, 0, 0));
        if (!m_cursor)
            return ErrLoad;
    }
    Repaint(repaint);
    return 0;
}

DWORD CODButton::EnableBorder(BOOL enable, BOOL repaint)
{
    m_drawBorder = enable;
    Repaint(repaint);
    return 0;
}

DWORD CODButton::SetFocusRectWhenFlat(BOOL draw, BOOL repaint)
{
    m_focusRectWhenFlat = draw;
    Repaint(repaint);
    return 0;
}

DWORD CODButton::SetTransparent(BOOL repaint)
{
    m_transparent = TRUE;
    delete m_background;
    m_background = NULL;
    Repaint(repaint);
    return 0;
}

DWORD CODButton::CaptureBackground(CDC* pParentDC)
{
    if (!m_transparent || !pParentDC || !m_hWnd || !GetParent())
        return ErrNotTransparent;
    CRect r;
    GetWindowRect(&r);
    GetParent()->ScreenToClient(&r);
    HDC mem = ::CreateCompatibleDC(pParentDC->GetSafeHdc());
    HBITMAP b = ::CreateCompatibleBitmap(pParentDC->GetSafeHdc(), std::max(1, r.Width()), std::max(1, r.Height()));
    HGDIOBJ old = ::SelectObject(mem, b);
    ::BitBlt(mem, 0, 0, r.Width(), r.Height(), pParentDC->GetSafeHdc(), r.left, r.top, SRCCOPY);
    ::SelectObject(mem, old);
    ::DeleteDC(mem);
    if (!m_background)
        m_background = new CQVDib16;
    m_background->LoadFromBitmap(b);
    ::DeleteObject(b);
    return 0;
}

DWORD CODButton::SetFont(const LOGFONT& lf, BOOL repaint)
{
    m_font = lf;
    if (m_hFont)
        ::DeleteObject(m_hFont);
    m_hFont = NULL;
    Repaint(repaint);
    return 0;
}

DWORD CODButton::SetImageMargin(int x, int y)
{
    m_imageMargin = CPoint(x, y);
    return 0;
}

DWORD CODButton::SetTextOffset(int x, int y)
{
    m_textOffset = CPoint(x, y);
    return 0;
}

BOOL CODButton::SetTextCentered(BOOL centred, BOOL repaint)
{
    const BOOL old = m_textCentered;
    m_textCentered = centred;
    Repaint(repaint);
    return old;
}

void CODButton::SetCheck(int check, BOOL repaint)
{
    if (m_isCheckBox)
        m_checked = check != 0;
    else if (m_isRadio)
        m_checked = check;
    else
        return;
    Repaint(repaint);
}

// ---- Behaviour ---------------------------------------------------------------------------------

DWORD CODButton::SetTooltipText(LPCSTR text, BOOL activate)
{
    if (!m_hWnd)
        return ErrLoad;
    if (!m_tooltip.m_hWnd) {
        if (!m_tooltip.Create(this, m_balloonTooltip))
            return ErrLoad;
        m_tooltip.SetToolStyle(1);
        m_tooltip.Activate(FALSE);
    }
    if (m_tooltip.GetToolCount() == 0) {
        CRect client;
        GetClientRect(&client);
        m_tooltip.AddTool(this, text, &client, 1);
    } else {
        m_tooltip.UpdateTipText(text, this, 1);
    }
    m_tooltip.Activate(activate);
    return 0;
}

DWORD CODButton::SetTooltipText(UINT textId, BOOL activate)
{
    char text[1024] = "";
    ::LoadStringA(ODGetResourceHandle(), textId, text, sizeof text);
    return SetTooltipText(text, activate);
}

DWORD CODButton::ActivateTooltip(BOOL activate)
{
    if (m_tooltip.GetToolCount() > 0)
        m_tooltip.Activate(activate);
    return 0;
}

DWORD CODButton::UseBalloonTooltip()
{
    m_balloonTooltip = TRUE;
    m_tooltip.SetBehaviour(7);
    return 0;
}

DWORD CODButton::SetURL(LPCSTR url)
{
    if (!url) {
        m_url[0] = 0;
        return 0;
    }
    strncpy(m_url, url, kTextSize - 1);
    m_url[kTextSize - 1] = 0;
    return 0;
}

DWORD CODButton::SetSound(LPCSTR name, HMODULE module, int which, BOOL async)
{
    Sound& s = m_sounds[which ? 1 : 0];
    s = Sound();
    if (!name)
        return 0;
    if (module) {
        s.resource = name;  // a resource id
        s.module = module;
        s.flags = SND_RESOURCE;
    } else {
        strncpy(s.name, name, kTextSize - 1);
        s.name[kTextSize - 1] = 0;
        s.flags = SND_FILENAME;
    }
    s.flags |= SND_NODEFAULT | SND_NOWAIT;
    if (async)
        s.flags |= SND_ASYNC;
    return 0;
}

void CODButton::Play(int which)
{
    const Sound& s = m_sounds[which ? 1 : 0];
    if (s.module && s.resource)
        s_playSound(s.resource, s.module, s.flags);
    else if (s.name[0])
        s_playSound(s.name, NULL, s.flags);
}

HMENU CODButton::DropDownMenu() const
{
    if (m_ornMenu.m_hMenu && ::GetMenuItemCount(m_ornMenu.m_hMenu) > 0)
        return m_ornMenu.m_hMenu;
    return m_menu;
}

void CODButton::SetMenu(HMENU menu, HWND owner)
{
    m_menu = menu;
    m_menuOwner = owner;
}

void CODButton::SetMenuCallback(HWND window, UINT message, LPARAM lParam)
{
    m_menuCallback.window = window;
    m_menuCallback.message = message;
    m_menuCallback.lParam = lParam;
}

// ---- Drawing -----------------------------------------------------------------------------------

BOOL CODButton::UseInFace() const
{
    if (m_isCheckBox || m_isRadio)
        return m_pressed;
    return m_pressed || m_hovering;
}

void CODButton::PlaceImage(BOOL hasCaption, const CRect& item, CRect* caption, BOOL pressed, int width, int height,
                           CRect* image) const
{
    CRect r;
    switch (m_imageAlign) {
    case AlignLeft:
    default:
        if (hasCaption) {
            r.left = item.left + m_imageMargin.x;
            caption->left += m_imageMargin.x + width;
        } else {
            r.left = item.left + (item.Width() - width) / 2;
        }
        r.top = item.top + (item.Height() - height) / 2;
        break;
    case AlignTop:
        r.left = item.left + (item.Width() - width) / 2;
        if (hasCaption) {
            r.top = m_imageMargin.y;
            caption->top += height;
        } else {
            r.top = item.top + (item.Height() - height) / 2;
        }
        break;
    case AlignRight:
        if (hasCaption) {
            const CRect old = *caption;
            caption->right = old.right - old.left - m_imageMargin.x - width;
            caption->left = m_imageMargin.x;
            r.left = item.Width() - m_imageMargin.x - width;
            r.top = item.top + (item.Height() - height) / 2;
        } else {
            r.left = item.left + (item.Width() - width) / 2;
            r.top = item.top;
        }
        break;
    case AlignOverlap:
        r.left = item.left;
        r.top = item.top;
        break;
    }
    r.right = r.left + width;
    r.bottom = r.top + height;
    if (pressed && !m_isCheckBox && !m_isRadio)
        r.OffsetRect(m_pressOffset);
    *image = r;
}

void CODButton::DrawBackground(CDC* pDC, CRect* rect)
{
    if (!m_flat && (m_focused || m_isDefault)) {
        CBrush black(RGB(0, 0, 0));
        pDC->FrameRect(rect, &black);
        rect->DeflateRect(1, 1);
    }
    const COLORREF colour =
        (m_hovering || m_pressed) ? m_colors[ColBkIn] : (m_focused ? m_colors[ColBkFocus] : m_colors[ColBkOut]);
    if (colour == CLR_NONE)
        return;
    HRGN rgn = ::CreateRectRgn(0, 0, 0, 0);
    if (m_hWnd && ::GetWindowRgn(m_hWnd, rgn) != ERROR) {
        HBRUSH brush = ::CreateSolidBrush(colour);
        ::FillRgn(pDC->GetSafeHdc(), rgn, brush);
        ::DeleteObject(brush);
    } else {
        pDC->FillSolidRect(rect, colour);
    }
    ::DeleteObject(rgn);
}

void CODButton::DrawBorder(CDC* pDC, CRect* rect)
{
    const HDC dc = pDC->GetSafeHdc();
    if (m_hWnd && (GetStyle() & WS_BORDER) && m_colors[ColSolidBorder] != CLR_NONE) {
        HBRUSH brush = ::CreateSolidBrush(m_colors[ColSolidBorder]);
        HRGN rgn = ::CreateRectRgn(0, 0, 0, 0);
        if (::GetWindowRgn(m_hWnd, rgn) != ERROR)
            ::FrameRgn(dc, rgn, brush, 1, 1);
        else
            ::FrameRect(dc, rect, brush);
        ::DeleteObject(rgn);
        ::DeleteObject(brush);
    }
    if (m_pressed) {
        if (m_flat) {
            if (m_drawBorder)
                pDC->Draw3dRect(rect, m_colors[Col3DBottomRight], m_colors[Col3DTopLeft]);
        } else {
            CBrush shadow(::GetSysColor(COLOR_BTNSHADOW));
            pDC->FrameRect(rect, &shadow);
        }
        return;
    }
    if (!m_flat) {
        const CRect& r = *rect;
        auto line = [&](COLORREF colour, int x1, int y1, int x2, int y2, int x3, int y3) {
            CPen pen(PS_SOLID, 1, colour);
            CPen* old = pDC->SelectObject(&pen);
            pDC->MoveTo(x1, y1);
            pDC->LineTo(x2, y2);
            pDC->LineTo(x3, y3);
            pDC->SelectObject(old);
        };
        line(::GetSysColor(COLOR_BTNHIGHLIGHT), r.left, r.bottom - 1, r.left, r.top, r.right, r.top);
        line(::GetSysColor(COLOR_3DLIGHT), r.left + 1, r.bottom - 2, r.left + 1, r.top + 1, r.right - 1, r.top + 1);
        line(::GetSysColor(COLOR_3DDKSHADOW), r.left, r.bottom - 1, r.right - 1, r.bottom - 1, r.right - 1, r.top - 1);
        line(::GetSysColor(COLOR_BTNSHADOW), r.left + 1, r.bottom - 2, r.right - 2, r.bottom - 2, r.right - 2, r.top);
    } else if (m_hovering && m_drawBorder) {
        pDC->Draw3dRect(rect, m_colors[Col3DTopLeft], m_colors[Col3DBottomRight]);
    }
}

void CODButton::DrawIconImage(CDC* pDC, BOOL hasCaption, const CRect& item, CRect* caption, BOOL pressed,
                              BOOL disabled)
{
    const Face& f = (UseInFace() || !m_icons[1].icon) ? m_icons[0] : m_icons[1];
    CRect image;
    PlaceImage(hasCaption, item, caption, pressed, f.width, f.height, &image);
    ::DrawStateA(pDC->GetSafeHdc(), NULL, NULL, reinterpret_cast<LPARAM>(f.icon), 0, image.left, image.top,
                 image.Width(), image.Height(), DST_ICON | (disabled ? DSS_DISABLED : DSS_NORMAL));
}

void CODButton::DrawBitmapImage(CDC* pDC, BOOL hasCaption, const CRect& item, CRect* caption, BOOL pressed, BOOL)
{
    const Picture& p = (UseInFace() || !m_images[1].surface.HasPixels()) ? m_images[0] : m_images[1];
    CRect image;
    PlaceImage(hasCaption, item, caption, pressed, p.width, p.height, &image);
    if (p.trans != CLR_NONE)
        p.surface.DrawTransparent(pDC->GetSafeHdc(), NULL, item.left, item.top);
    else
        p.surface.Draw(pDC->GetSafeHdc(), NULL, item.left, item.top);
}

void CODButton::DrawCaption(CDC* pDC, const CString& text, const CRect&, CRect* caption, BOOL pressed, BOOL disabled)
{
    CRect c = *caption;
    if (pressed && !m_isCheckBox && !m_isRadio)
        c.OffsetRect(m_pressOffset);
    CRect measure = c;
    pDC->DrawText(text, &measure, DT_WORDBREAK | DT_CENTER | DT_CALCRECT);
    CRect r;
    r.top = c.top + (c.Height() - measure.Height()) / 2 + m_textOffset.y;
    r.left = m_textCentered ? c.left + (c.Width() - measure.Width()) / 2 + m_textOffset.x : c.left + m_textOffset.x;
    r.right = r.left + measure.Width();
    r.bottom = r.top + measure.Height();
    COLORREF fg, bg;
    if (disabled) {
        fg = 0x808080;
        bg = m_colors[ColBkOut];
    } else if (m_hovering) {
        fg = m_colors[ColFgIn];
        bg = m_colors[ColBkIn];
    } else if (m_focused) {
        fg = m_colors[ColFgFocus];
        bg = m_colors[ColBkFocus];
    } else {
        fg = m_colors[ColFgOut];
        bg = m_colors[ColBkOut];
    }
    pDC->SetTextColor(fg);
    if (bg != CLR_NONE)
        pDC->SetBkColor(bg);
    pDC->DrawText(text, &r, DT_WORDBREAK | DT_CENTER);
}

void CODButton::DrawItem(LPDRAWITEMSTRUCT dis)
{
    CDC* target = CDC::FromHandle(dis->hDC);
    CRect item = dis->rcItem;
    CODBackDC back(target, &item, FALSE);
    CDC* pDC = &back;
    HRGN rgn = ::CreateRectRgn(0, 0, 0, 0);
    if (m_hWnd && ::GetWindowRgn(m_hWnd, rgn) != ERROR)
        ::ExtSelectClipRgn(pDC->GetSafeHdc(), rgn, RGN_AND);
    ::DeleteObject(rgn);

    if (m_isCheckBox)
        m_pressed = (dis->itemState & ODS_SELECTED) || m_checked;
    else if (m_isRadio)
        m_pressed = (dis->itemState & ODS_CHECKED) || m_checked;
    else
        m_pressed = (dis->itemState & ODS_SELECTED) || m_menuShown;
    m_focused = (dis->itemState & ODS_FOCUS) != 0;
    m_disabled = (dis->itemState & ODS_DISABLED) != 0;

    pDC->SetBkMode(TRANSPARENT);
    CRect area = item;
    if (m_transparent) {
        if (!m_background && m_hWnd && GetParent()) {
            CClientDC parentDC(GetParent());
            CaptureBackground(&parentDC);
        }
        if (m_background)
            m_background->Draw(pDC->GetSafeHdc(), NULL, item.left, item.top);
    } else {
        DrawBackground(pDC, &area);
    }
    DrawBorder(pDC, &area);

    CRect caption = item;
    CString text;
    if (m_hWnd)
        GetWindowText(text);
    const BOOL hasCaption = !text.IsEmpty();
    if (m_icons[0].icon) {
        DrawIconImage(pDC, hasCaption, item, &caption, m_pressed, m_disabled);
    } else if (m_images[0].surface.HasPixels()) {
        pDC->SetBkColor(RGB(255, 255, 255));
        DrawBitmapImage(pDC, hasCaption, item, &caption, m_pressed, m_disabled);
    }
    if (hasCaption) {
        if (!m_hFont)
            m_hFont = ::CreateFontIndirectA(&m_font);
        HGDIOBJ old = ::SelectObject(pDC->GetSafeHdc(), m_hFont);
        DrawCaption(pDC, text, item, &caption, m_pressed, m_disabled);
        ::SelectObject(pDC->GetSafeHdc(), old);
    }
    if ((!m_flat || m_focusRectWhenFlat) && m_focused) {
        CRect focus = caption;
        focus.InflateRect(1, 1);
        pDC->DrawFocusRect(&focus);
    }
}

// ---- Mouse, keys and clicks --------------------------------------------------------------------

void CODButton::EndHover()
{
    if (!m_hovering)
        return;
    m_hovering = FALSE;
    Repaint(TRUE);
}

void CODButton::OnMouseMove()
{
    POINT p;
    ::GetCursorPos(&p);
    const bool over = ::WindowFromPoint(p) == m_hWnd;
    if (m_flat && over && (m_trackWhenInactive || ::GetActiveWindow())) {
        if (!m_hovering) {
            m_hovering = TRUE;
            Repaint(TRUE);
            Play(0);
            TRACKMOUSEEVENT tme = {sizeof tme, TME_LEAVE, m_hWnd, 0};
            ::TrackMouseEvent(&tme);
        }
    } else {
        EndHover();
    }
}

void CODButton::OnClicked()
{
    SetFocus();
    Play(1);
    if (m_isRadio) {
        m_checked = 1;
        CWnd* parent = GetParent();
        if (parent) {
            HWND first = m_hWnd;
            for (HWND w = ::GetNextDlgGroupItem(parent->m_hWnd, m_hWnd, FALSE); w && w != first;
                 w = ::GetNextDlgGroupItem(parent->m_hWnd, w, FALSE)) {
                CODButton* other = dynamic_cast<CODButton*>(CWnd::FromHandlePermanent(w));
                if (other && other->IsRadio() && other->m_checked)
                    other->SetCheck(0);
            }
        }
        Repaint(TRUE);
        return;
    }
    if (m_isCheckBox) {
        m_checked = !m_checked;
        Repaint(TRUE);
        return;
    }
    if (HMENU menu = DropDownMenu()) {
        HMENU sub = ::GetSubMenu(menu, 0);
        if (!sub)
            return;  // a menu without a sub-menu has nothing to drop
        m_menuShown = TRUE;
        Repaint(TRUE);
        UpdateWindow();
        if (m_menuCallback.window)
            ::SendMessageA(m_menuCallback.window, m_menuCallback.message, reinterpret_cast<WPARAM>(sub),
                           m_menuCallback.lParam);
        CRect r;
        GetWindowRect(&r);
        const UINT command = s_trackMenu(sub, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, r.left, r.bottom, m_hWnd);
        m_menuShown = FALSE;
        Repaint(TRUE);
        if (command && m_menuOwner)
            ::PostMessageA(m_menuOwner, WM_COMMAND, MAKEWPARAM(command, 0), 0);
        return;
    }
    if (m_url[0] && IsWebAddress(m_url))
        s_openUrl(m_hWnd, m_url);
}

BOOL CODButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        OnClicked();
        return FALSE;  // the parent gets the click too
    }
    if (message == WM_CTLCOLORBTN || message == WM_CTLCOLORSTATIC) {
        if (pResult)
            *pResult = reinterpret_cast<LRESULT>(::GetStockObject(HOLLOW_BRUSH));
        return TRUE;
    }
    return CButton::OnChildNotify(message, wParam, lParam, pResult);
}

LRESULT CODButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    // The drop-down menu's owner-drawn items and mnemonics.
    case WM_MEASUREITEM: {
        auto* mis = reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam);
        if (mis && mis->CtlType == ODT_MENU) {
            m_ornMenu.MeasureItem(mis);
            return TRUE;
        }
        break;
    }
    case WM_DRAWITEM: {
        auto* dis = reinterpret_cast<LPDRAWITEMSTRUCT>(lParam);
        if (dis && dis->CtlType == ODT_MENU) {
            if (OrnMenu* level = dynamic_cast<OrnMenu*>(CMenu::FromHandlePermanent(reinterpret_cast<HMENU>(dis->hwndItem))))
                level->DrawItem(dis);
            return TRUE;
        }
        break;
    }
    case WM_MENUCHAR:
        return OrnMenu::FindMnemonic(LOWORD(wParam), HIWORD(wParam),
                                     dynamic_cast<OrnMenu*>(CMenu::FromHandlePermanent(reinterpret_cast<HMENU>(lParam))));
    case WM_MOUSEMOVE:
        if (!((wParam & MK_LBUTTON) && !m_hovering))
            OnMouseMove();
        break;
    case WM_MOUSELEAVE:
    case WM_KILLFOCUS:
    case WM_CANCELMODE:
        EndHover();
        break;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE)
            EndHover();
        break;
    case WM_ENABLE:
        if (!wParam) {
            if (::GetFocus() == m_hWnd && GetParent())
                ::SetFocus(::GetNextDlgTabItem(GetParent()->m_hWnd, m_hWnd, FALSE));
            EndHover();
        }
        break;
    case WM_SETCURSOR:
        if (m_cursor) {
            ::SetCursor(m_cursor);
            return TRUE;
        }
        break;
    case WM_GETDLGCODE: {
        LRESULT code = CButton::WindowProc(message, wParam, lParam);
        code |= m_isDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON;
        if (m_isRadio)
            code |= DLGC_RADIOBUTTON;
        return code;
    }
    case BM_SETSTYLE: {
        const UINT type = static_cast<UINT>(wParam) & 0xF;
        if (type == BS_PUSHBUTTON)
            m_isDefault = FALSE;
        else if (type == BS_DEFPUSHBUTTON)
            m_isDefault = TRUE;
        return CButton::WindowProc(message, (wParam & ~static_cast<WPARAM>(0x14)) | BS_OWNERDRAW, lParam);
    }
    case BM_SETCHECK:
        m_checked = (wParam == 1 || wParam == 2) ? 1 : 0;
        Repaint(TRUE);
        return 0;
    case BM_GETCHECK:
        return m_checked;
    case WM_SYSCOLORCHANGE:
        ResetColors(TRUE, FALSE);
        break;
    default:
        if (message == ODGetThemeMessage()) {
            LoadTheme();
            ReloadTheme();
            Invalidate(FALSE);
        }
        break;
    }
    return CButton::WindowProc(message, wParam, lParam);
}
