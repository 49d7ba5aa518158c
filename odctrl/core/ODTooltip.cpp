// ODTooltip.cpp - the rich tooltip window.
#include "ODTooltip.h"

#include <stdlib.h>
#include <string.h>

#include <algorithm>

#include "ODLibrary.h"
#include "ODTipEffect.h"
#include "ODTipGeometry.h"

namespace {

const char kClassName[] = "CODTooltip";
const char kSection[] = "ODToolTip";
const char* const kThemeKeys[9] = {"ColorFg",   "ColorBkBegin", "ColorBkMid",  "ColorBkEnd", "ColorLink",
                                   "ColorVisited", "ColorHover", "ColorShadow", "ColorBorder"};
const COLORREF kStandard[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0x808080,
                                0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xC0C0C0, 0xFFFFFF};
// Geometry presets: balloon, plain.
const int kBalloon[CODTooltip::GeoCount] = {16, 16, 12, 12, 4, 4, 12, 16, 16, 1, 1};
const int kPlain[CODTooltip::GeoCount] = {0, 0, 3, 1, 0, 0, 0, 0, 0, 1, 1};

const ODThemeLoaderRegistration s_loader(OD_LOADER_TOOLTIP, &CODTooltip::LoadTheme);

BOOL CursorPos(POINT* p) { return ::GetCursorPos(p); }
HWND WindowUnder(POINT screen) { return ::WindowFromPoint(screen); }
int CRandom() { return rand(); }

// The size of an icon: its colour (or mask) bitmap's.
CSize IconSize(HICON icon)
{
    CSize size(0, 0);
    ICONINFO ii;
    if (!icon || !::GetIconInfo(icon, &ii))
        return size;
    BITMAP bm;
    if (ii.hbmColor && ::GetObjectA(ii.hbmColor, sizeof bm, &bm)) {
        size = CSize(bm.bmWidth, bm.bmHeight);
    } else if (ii.hbmMask && ::GetObjectA(ii.hbmMask, sizeof bm, &bm)) {
        size = CSize(bm.bmWidth, bm.bmHeight / 2);
    }
    if (ii.hbmColor)
        ::DeleteObject(ii.hbmColor);
    if (ii.hbmMask)
        ::DeleteObject(ii.hbmMask);
    return size;
}

CSize BitmapSize(HBITMAP bitmap)
{
    BITMAP bm;
    if (!bitmap || !::GetObjectA(bitmap, sizeof bm, &bm))
        return CSize(0, 0);
    return CSize(bm.bmWidth, bm.bmHeight);
}

HICON LoadIconRes(long id, int cx, int cy)
{
    if (id <= 0 || id > 0xFFFF)
        return NULL;
    return static_cast<HICON>(::LoadImageA(ODGetResourceHandle(), MAKEINTRESOURCEA(id), IMAGE_ICON, cx, cy,
                                           (cx || cy) ? 0 : LR_DEFAULTSIZE));
}

HBITMAP LoadBitmapRes(long id)
{
    if (id <= 0 || id > 0xFFFF)
        return NULL;
    return static_cast<HBITMAP>(
        ::LoadImageA(ODGetResourceHandle(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

CString LoadStringRes(UINT id)
{
    char buffer[1024] = "";
    ::LoadStringA(ODGetResourceHandle(), id, buffer, sizeof buffer);
    return CString(buffer);
}

// The mark-up's fonts, extents and pictures on a device context.
class GdiCanvas : public odtip::Canvas
{
public:
    GdiCanvas(HDC dc, const LOGFONT& base, const std::vector<CODTooltip::NamedImage>& images, HIMAGELIST list,
              CSize listSize)
        : m_dc(dc), m_base(base), m_images(images), m_list(list), m_listSize(listSize), m_font(NULL),
          m_oldFont(NULL)
    {
    }
    ~GdiCanvas() override
    {
        if (m_oldFont)
            ::SelectObject(m_dc, m_oldFont);
        if (m_font)
            ::DeleteObject(m_font);
    }

    void SetFontStyle(const odtip::FontStyle& style, int* height, int* averageWidth) override
    {
        LOGFONT lf = m_base;
        lf.lfWeight = style.weight;
        lf.lfItalic = style.italic;
        lf.lfUnderline = style.underline;
        lf.lfStrikeOut = style.strikeOut;
        HFONT font = ::CreateFontIndirectA(&lf);
        if (font) {
            HGDIOBJ old = ::SelectObject(m_dc, font);
            if (!m_oldFont)
                m_oldFont = old;
            if (m_font)
                ::DeleteObject(m_font);
            m_font = font;
        }
        TEXTMETRICA tm = {};
        ::GetTextMetricsA(m_dc, &tm);
        *height = tm.tmHeight;
        *averageWidth = tm.tmAveCharWidth;
    }

    odtip::Size TextExtent(const std::string& run) override
    {
        SIZE s = {0, 0};
        ::GetTextExtentPoint32A(m_dc, run.data(), static_cast<int>(std::min<size_t>(run.size(), 0x7FFFFFF)), &s);
        odtip::Size r;
        r.cx = s.cx;
        r.cy = s.cy;
        return r;
    }

    bool ImageSize(const odtip::ImageRef& image, odtip::Size* size) override
    {
        CSize natural(0, 0);
        switch (image.kind) {
        case odtip::ImageRef::ListImage:
            if (!m_list || image.id < 0 || image.id >= ImageList_GetImageCount(m_list))
                return false;
            size->cx = m_listSize.cx;
            size->cy = m_listSize.cy;
            return true;
        case odtip::ImageRef::Named: {
            const CODTooltip::NamedImage* n = Named(image.name);
            if (!n)
                return false;
            if (n->kind == 0) {
                HICON icon = LoadIconRes(n->id, image.cx, image.cy);
                natural = IconSize(icon);
                if (icon)
                    ::DestroyIcon(icon);
            } else {
                HBITMAP b = LoadBitmapRes(n->id);
                natural = BitmapSize(b);
                if (b)
                    ::DeleteObject(b);
            }
            break;
        }
        case odtip::ImageRef::Bitmap: {
            HBITMAP b = LoadBitmapRes(image.id);
            natural = BitmapSize(b);
            if (b)
                ::DeleteObject(b);
            break;
        }
        case odtip::ImageRef::Icon: {
            HICON icon = LoadIconRes(image.id, image.cx, image.cy);
            natural = IconSize(icon);
            if (icon)
                ::DestroyIcon(icon);
            break;
        }
        }
        if (natural.cx <= 0 || natural.cy <= 0)
            return false;
        size->cx = image.cx ? image.cx : natural.cx;
        size->cy = image.cy ? image.cy : natural.cy;
        return true;
    }

    void DrawRun(int x, int y, const std::string& run, uint32_t colour, bool opaque, uint32_t background) override
    {
        ::SetTextColor(m_dc, colour);
        ::SetBkMode(m_dc, opaque ? OPAQUE : TRANSPARENT);
        ::SetBkColor(m_dc, background);
        ::TextOutA(m_dc, x, y, run.data(), static_cast<int>(std::min<size_t>(run.size(), 0x7FFFFFF)));
    }

    void DrawRule(int x1, int x2, int y, uint32_t colour) override
    {
        HPEN pen = ::CreatePen(PS_SOLID, 1, colour);
        HGDIOBJ old = ::SelectObject(m_dc, pen);
        ::MoveToEx(m_dc, x1, y, NULL);
        ::LineTo(m_dc, x2, y);
        ::SelectObject(m_dc, old);
        ::DeleteObject(pen);
    }

    void DrawImage(const odtip::ImageRef& image, int x, int y, int cx, int cy) override
    {
        switch (image.kind) {
        case odtip::ImageRef::ListImage:
            ImageList_Draw(m_list, static_cast<int>(image.id), m_dc, x, y, ILD_TRANSPARENT);
            break;
        case odtip::ImageRef::Named: {
            const CODTooltip::NamedImage* n = Named(image.name);
            if (!n)
                break;
            if (n->kind == 0)
                DrawIcon(n->id, x, y, cx, cy);
            else
                DrawBitmap(n->id, x, y, cx, cy, n->kind == 2, n->mask);
            break;
        }
        case odtip::ImageRef::Bitmap:
            DrawBitmap(image.id, x, y, cx, cy, image.hasMask, image.mask);
            break;
        case odtip::ImageRef::Icon:
            DrawIcon(image.id, x, y, cx, cy);
            break;
        }
    }

private:
    const CODTooltip::NamedImage* Named(const std::string& name) const
    {
        for (const auto& n : m_images)
            if (n.name.CompareNoCase(name.c_str()) == 0)
                return &n;
        return nullptr;
    }

    void DrawIcon(long id, int x, int y, int cx, int cy)
    {
        HICON icon = LoadIconRes(id, cx, cy);
        if (!icon)
            return;
        ::DrawIconEx(m_dc, x, y, icon, cx, cy, 0, NULL, DI_NORMAL);
        ::DestroyIcon(icon);
    }

    void DrawBitmap(long id, int x, int y, int cx, int cy, bool masked, COLORREF mask)
    {
        HBITMAP b = LoadBitmapRes(id);
        if (!b)
            return;
        const CSize s = BitmapSize(b);
        HDC mem = ::CreateCompatibleDC(m_dc);
        HGDIOBJ old = ::SelectObject(mem, b);
        if (masked)
            ::TransparentBlt(m_dc, x, y, cx, cy, mem, 0, 0, s.cx, s.cy, mask);
        else
            ::StretchBlt(m_dc, x, y, cx, cy, mem, 0, 0, s.cx, s.cy, SRCCOPY);
        ::SelectObject(mem, old);
        ::DeleteDC(mem);
        ::DeleteObject(b);
    }

    HDC m_dc;
    LOGFONT m_base;
    const std::vector<CODTooltip::NamedImage>& m_images;
    HIMAGELIST m_list;
    CSize m_listSize;
    HFONT m_font;
    HGDIOBJ m_oldFont;
};

void FillSolid(HDC dc, const RECT& r, COLORREF colour)
{
    HBRUSH brush = ::CreateSolidBrush(colour);
    ::FillRect(dc, &r, brush);
    ::DeleteObject(brush);
}

}  // namespace

// ---- CODToolInfo -------------------------------------------------------------------------------

CODToolInfo::CODToolInfo()
    : hWnd(NULL), nId(0), rect(), hIcon(NULL), hBitmap(NULL), mask(0), behaviour(CODTooltip::BehDefault),
      style(3), effect(0), display(0), effectParam(0), colors()
{
}

CODToolInfo::~CODToolInfo() {}

void CODToolInfo::FreeHandles()
{
    if (hIcon)
        ::DestroyIcon(hIcon);
    if (hBitmap)
        ::DeleteObject(hBitmap);
    hIcon = NULL;
    hBitmap = NULL;
}

// ---- Class values ------------------------------------------------------------------------------

COLORREF CODTooltip::s_theme[PalCount - PalFg] = {
    ::GetSysColor(COLOR_INFOTEXT), ::GetSysColor(COLOR_INFOBK), ::GetSysColor(COLOR_INFOBK),
    ::GetSysColor(COLOR_INFOBK),   0xEE0000,                    0x8B1A55,
    0x0000FF,                      ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_INFOTEXT)};
BOOL (*CODTooltip::s_getCursorPos)(POINT*) = &CursorPos;
HWND (*CODTooltip::s_windowFromPoint)(POINT) = &WindowUnder;
int (*CODTooltip::s_random)() = &CRandom;

void CODTooltip::LoadTheme()
{
    for (int i = 0; i < PalCount - PalFg; ++i)
        s_theme[i] = ODGetThemeColor(kSection, kThemeKeys[i], s_theme[i]);
}

COLORREF CODTooltip::GetThemeColor(int paletteIndex)
{
    if (paletteIndex < PalFg || paletteIndex >= PalCount)
        return CLR_INVALID;
    return s_theme[paletteIndex - PalFg];
}

// ---- Construction ------------------------------------------------------------------------------

CODTooltip::CODTooltip()
    : m_hNotify(NULL), m_pOwner(NULL), m_nPlacement(0), m_nWaiting(-1), m_nShown(-1), m_font(),
      m_defBehaviour(BehDefault), m_defStyle(3), m_defEffect(0), m_defEffectParam(0), m_defDisplay(0),
      m_delayPop(5000), m_delayInitial(500), m_lastPos(-1, -1), m_anchor(0, 0), m_hBalloonRgn(NULL),
      m_hShadowRgn(NULL), m_hImageList(NULL), m_imageSize(0, 0), m_iconSize(0, 0), m_textSize(0, 0),
      m_hPointIcon(NULL), m_bEnabled(TRUE)
{
    ResetColors();
    for (int i = 0; i < 3; ++i)
        m_defColors[i] = m_palette[PalBkBegin + i];
    memcpy(m_geometry, kBalloon, sizeof m_geometry);
    WNDCLASSA wc = {};
    const HINSTANCE instance = AfxGetInstanceHandle();
    if (!::GetClassInfoA(instance, kClassName, &wc)) {
        wc = WNDCLASSA();
        wc.style = CS_SAVEBITS;
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = instance;
        wc.hCursor = ::LoadCursorA(NULL, MAKEINTRESOURCEA(32512));  // IDC_ARROW
        wc.lpszClassName = kClassName;
        if (!::RegisterClassA(&wc))
            AfxThrowResourceException();
    }
}

CODTooltip::~CODTooltip()
{
    RemoveAllTools();
    FreeRegions();
    if (m_hImageList)
        ImageList_Destroy(m_hImageList);
    if (m_hPointIcon)
        ::DestroyIcon(m_hPointIcon);
    if (m_hWnd)
        DestroyWindow();
}

BOOL CODTooltip::Create(CWnd* pOwner, BOOL bBalloon)
{
    m_pOwner = pOwner;
    if (!CreateEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kClassName, NULL, WS_POPUP, 0, 0, 0, 0,
                  pOwner ? pOwner->GetSafeHwnd() : NULL, NULL))
        return FALSE;
    m_defDisplay = 1;
    SetDefaultFont();
    SetGeometryPreset(bBalloon);
    ODSetCtrlProps(m_hWnd, OD_TOOLTIP_ID);
    return TRUE;
}

// ---- Registry ----------------------------------------------------------------------------------

int CODTooltip::StoreTool(CODToolInfo* info)
{
    for (size_t i = 0; i < m_tools.size(); ++i)
        if (m_tools[i]->hWnd == info->hWnd) {
            if (static_cast<int>(i) == m_nShown || static_cast<int>(i) == m_nWaiting) {
                Hide();
                m_nShown = m_nWaiting = -1;  // the shown copy borrowed the old handles
            }
            m_tools[i]->FreeHandles();
            delete m_tools[i];
            m_tools[i] = info;
            return 1;
        }
    m_tools.push_back(info);
    return 1;
}

int CODTooltip::AddTool(CWnd* pWnd, LPCSTR text, LPCRECT rect, UINT nId)
{
    return AddTool(pWnd, text, NULL, NULL, rect, nId);
}

int CODTooltip::AddTool(CWnd* pWnd, LPCSTR text, HICON hIcon, HBITMAP hBitmap, LPCRECT rect, UINT nId)
{
    CODToolInfo* info = new CODToolInfo;
    info->hWnd = pWnd ? pWnd->GetSafeHwnd() : NULL;
    info->nId = nId;
    if (rect)
        info->rect = *rect;
    info->hIcon = hIcon;
    info->hBitmap = hBitmap;
    info->text = text ? text : "";
    return StoreTool(info);
}

int CODTooltip::AddTool(CWnd* pWnd, UINT textId, UINT iconId, int iconSize, UINT bitmapId, LPCRECT rect, UINT nId)
{
    return AddTool(pWnd, LoadStringRes(textId), LoadIconRes(iconId, iconSize, iconSize), LoadBitmapRes(bitmapId),
                   rect, nId);
}

void CODTooltip::UpdateTipText(LPCSTR text, CWnd*, UINT nId)
{
    const int i = FindToolById(nId);
    if (i >= 0)
        m_tools[i]->text = text ? text : "";
}

void CODTooltip::UpdateTipText(UINT textId, CWnd* pWnd, UINT nId) { UpdateTipText(LoadStringRes(textId), pWnd, nId); }

BOOL CODTooltip::RemoveTool(int index)
{
    if (index < 0 || index >= GetToolCount())
        return FALSE;
    if (m_nShown >= 0 || m_nWaiting >= 0) {
        Hide();
        m_nShown = m_nWaiting = -1;  // indexes after it move down
    }
    m_tools[index]->FreeHandles();
    delete m_tools[index];
    m_tools.erase(m_tools.begin() + index);
    return TRUE;
}

void CODTooltip::RemoveAllTools()
{
    if (m_hWnd)
        Hide();
    if (m_nShown >= 0 || m_nWaiting >= 0)
        m_nShown = m_nWaiting = -1;
    for (CODToolInfo* t : m_tools) {
        t->FreeHandles();
        delete t;
    }
    m_tools.clear();
}

const CODToolInfo* CODTooltip::GetTool(int index) const
{
    return (index >= 0 && index < GetToolCount()) ? m_tools[index] : NULL;
}

int CODTooltip::FindToolById(UINT nId) const
{
    for (size_t i = 0; i < m_tools.size(); ++i)
        if (m_tools[i]->nId == nId)
            return static_cast<int>(i);
    return -1;
}

int CODTooltip::ToolIndex(int nTool) const { return nTool == -1 ? -1 : FindToolById(static_cast<UINT>(nTool)); }

// ---- Named images and the image list ------------------------------------------------------------

int CODTooltip::AddNamedImage(LPCSTR name, UINT id, int kind, COLORREF mask)
{
    if (!name || !*name || id == 0 || kind < 0 || kind >= 3)
        return -1;
    NamedImage n;
    n.name = name;
    n.id = id;
    n.kind = static_cast<BYTE>(kind);
    n.mask = mask;
    m_images.push_back(n);
    return static_cast<int>(m_images.size()) - 1;
}

int CODTooltip::FindNamedImage(LPCSTR name) const
{
    for (size_t i = 0; name && i < m_images.size(); ++i)
        if (m_images[i].name.CompareNoCase(name) == 0)
            return static_cast<int>(i);
    return -1;
}

int CODTooltip::FindNamedImage(UINT id) const
{
    for (size_t i = 0; i < m_images.size(); ++i)
        if (m_images[i].id == id)
            return static_cast<int>(i);
    return -1;
}

BOOL CODTooltip::RemoveNamedImage(int index)
{
    if (index < 0 || index >= static_cast<int>(m_images.size()))
        return FALSE;
    m_images.erase(m_images.begin() + index);
    return TRUE;
}

BOOL CODTooltip::SetImageList(HBITMAP bitmap, int cx, int cy, COLORREF mask)
{
    if (!bitmap || cx <= 0 || cy <= 0)
        return FALSE;
    HIMAGELIST list = ImageList_Create(cx, cy, ILC_COLOR32 | ILC_MASK, 0, 1);
    if (!list)
        return FALSE;
    if (ImageList_AddMasked(list, bitmap, mask) < 0) {
        ImageList_Destroy(list);
        return FALSE;
    }
    if (m_hImageList)
        ImageList_Destroy(m_hImageList);
    m_hImageList = list;
    m_imageSize = CSize(cx, cy);
    return TRUE;
}

BOOL CODTooltip::SetImageList(UINT bitmapId, int cx, int cy, COLORREF mask)
{
    HBITMAP b = LoadBitmapRes(bitmapId);
    const BOOL ok = SetImageList(b, cx, cy, mask);
    if (b)
        ::DeleteObject(b);
    return ok;
}

HIMAGELIST CODTooltip::GetImageList(SIZE* size) const
{
    if (size)
        *size = m_imageSize;
    return m_hImageList;
}

// ---- Settings ----------------------------------------------------------------------------------

void CODTooltip::SetBehaviour(UINT flags, int nTool)
{
    const int i = ToolIndex(nTool);
    if (i >= 0) {
        m_tools[i]->behaviour = flags;
        m_tools[i]->mask |= CODToolInfo::MaskBehaviour;
    } else {
        m_defBehaviour = flags;
    }
}

UINT CODTooltip::GetBehaviour(int nTool) const
{
    const int i = ToolIndex(nTool);
    return (i >= 0 && (m_tools[i]->mask & CODToolInfo::MaskBehaviour)) ? m_tools[i]->behaviour : m_defBehaviour;
}

void CODTooltip::SetToolStyle(UINT style, int nTool)
{
    const int i = ToolIndex(nTool);
    if (i >= 0) {
        m_tools[i]->style = style & 3;
        m_tools[i]->mask |= CODToolInfo::MaskStyle;
    } else {
        m_defStyle = style & 3;
    }
}

UINT CODTooltip::GetToolStyle(int nTool) const
{
    const int i = ToolIndex(nTool);
    return (i >= 0 && (m_tools[i]->mask & CODToolInfo::MaskStyle)) ? m_tools[i]->style : m_defStyle;
}

void CODTooltip::SetDisplayFlags(UINT flags, int nTool)
{
    const int i = ToolIndex(nTool);
    if (i >= 0) {
        m_tools[i]->display = flags;
        m_tools[i]->mask |= CODToolInfo::MaskDisplay;
    } else {
        m_defDisplay = flags;
    }
}

UINT CODTooltip::GetDisplayFlags(int nTool) const
{
    const int i = ToolIndex(nTool);
    return (i >= 0 && (m_tools[i]->mask & CODToolInfo::MaskDisplay)) ? m_tools[i]->display : m_defDisplay;
}

void CODTooltip::SetEffect(UINT kind, UINT param, int nTool)
{
    const int i = ToolIndex(nTool);
    if (i >= 0) {
        m_tools[i]->effect = kind;
        m_tools[i]->effectParam = param;
        m_tools[i]->mask |= CODToolInfo::MaskEffect;
    } else {
        m_defEffect = kind;
        m_defEffectParam = param;
    }
}

UINT CODTooltip::GetEffect(UINT* param, int nTool) const
{
    const int i = ToolIndex(nTool);
    const bool own = i >= 0 && (m_tools[i]->mask & CODToolInfo::MaskEffect);
    if (param)
        *param = own ? m_tools[i]->effectParam : m_defEffectParam;
    return own ? m_tools[i]->effect : m_defEffect;
}

void CODTooltip::SetBkColors(COLORREF begin, COLORREF middle, COLORREF end, int nTool)
{
    const int i = ToolIndex(nTool);
    COLORREF* c = i >= 0 ? m_tools[i]->colors : m_defColors;
    c[0] = begin;
    c[1] = middle;
    c[2] = end;
    if (i >= 0)
        m_tools[i]->mask |= CODToolInfo::MaskColors;
}

void CODTooltip::GetBkColors(COLORREF* begin, COLORREF* middle, COLORREF* end, int nTool) const
{
    const int i = ToolIndex(nTool);
    const COLORREF* c = (i >= 0 && (m_tools[i]->mask & CODToolInfo::MaskColors)) ? m_tools[i]->colors : m_defColors;
    if (begin)
        *begin = c[0];
    if (middle)
        *middle = c[1];
    if (end)
        *end = c[2];
}

void CODTooltip::SetMask(UINT mask, int nTool)
{
    const int i = ToolIndex(nTool);
    if (i >= 0)
        m_tools[i]->mask = mask;
}

void CODTooltip::SetDelayTime(int kind, UINT ms)
{
    if (kind == DelayInitial)
        m_delayInitial = ms;
    else if (kind == DelayAutoPop)
        m_delayPop = ms;
}

UINT CODTooltip::GetDelayTime(int kind) const
{
    return kind == DelayInitial ? m_delayInitial : (kind == DelayAutoPop ? m_delayPop : 0);
}

void CODTooltip::SetGeometry(int index, int value)
{
    if (index >= 0 && index < GeoCount)
        m_geometry[index] = value;
}

int CODTooltip::GetGeometry(int index) const { return (index >= 0 && index < GeoCount) ? m_geometry[index] : 0; }

void CODTooltip::SetGeometryPreset(BOOL bBalloon) { memcpy(m_geometry, bBalloon ? kBalloon : kPlain, sizeof m_geometry); }

void CODTooltip::SetNotify(BOOL bOwner) { m_hNotify = (bOwner && m_pOwner) ? m_pOwner->GetSafeHwnd() : NULL; }

void CODTooltip::SetFont(LPCSTR face, int points, BOOL italic, BOOL bold, BOOL underline, BOOL strikeOut)
{
    LOGFONT lf = {};
    if (face)
        strncpy(lf.lfFaceName, face, 31);
    HDC dc = ::GetDC(NULL);
    lf.lfHeight = -::MulDiv(points, ::GetDeviceCaps(dc, LOGPIXELSY), 72);
    ::ReleaseDC(NULL, dc);
    lf.lfItalic = italic ? 1 : 0;
    lf.lfWeight = bold ? 700 : 400;
    lf.lfUnderline = underline ? 1 : 0;
    lf.lfStrikeOut = strikeOut ? 1 : 0;
    lf.lfCharSet = DEFAULT_CHARSET;
    m_font = lf;
}

void CODTooltip::SetDefaultFont()
{
    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = sizeof ncm;
    if (::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0))
        m_font = ncm.lfStatusFont;
}

void CODTooltip::SetColor(int index, COLORREF colour)
{
    if (index < 0 || index >= PalCount)
        return;
    m_palette[index] = colour;
    m_paletteSet[index] = TRUE;
}

COLORREF CODTooltip::GetColor(int index) const
{
    return (index >= 0 && index < PalCount) ? m_palette[index] : m_palette[PalFg];
}

void CODTooltip::ResetColors()
{
    for (int i = 0; i < 16; ++i) {
        m_palette[i] = kStandard[i];
        m_paletteSet[i] = TRUE;
    }
    for (int i = PalFg; i < PalCount; ++i) {
        m_palette[i] = s_theme[i - PalFg];
        m_paletteSet[i] = FALSE;
    }
}

// ---- Rendering ---------------------------------------------------------------------------------

CSize CODTooltip::Render(CDC* pDC, const RECT& rect, LPCSTR text, BOOL measuring)
{
    if (!pDC || !text || !*text) {
        if (measuring)
            m_lines = odtip::Lines();
        return CSize(0, 0);
    }
    GdiCanvas canvas(pDC->GetSafeHdc(), m_font, m_images, m_hImageList, m_imageSize);
    odtip::FontStyle base;
    base.weight = m_font.lfWeight;
    base.italic = m_font.lfItalic != 0;
    base.underline = m_font.lfUnderline != 0;
    base.strikeOut = m_font.lfStrikeOut != 0;
    const odtip::Rect r{rect.left, rect.top, rect.right, rect.bottom};
    const int oldMode = pDC->SetBkMode(TRANSPARENT);
    uint32_t palette[PalCount];
    for (int i = 0; i < PalCount; ++i)
        palette[i] = m_palette[i];
    const odtip::Size s = odtip::Layout(canvas, r, text, measuring != FALSE, palette, base, m_lines);
    pDC->SetBkMode(oldMode);
    return CSize(s.cx, s.cy);
}

void CODTooltip::PrepareBackgroundEffect(const RECT& rect, int kind, int grain, int shadePercent,
                                         COLORREF shadeColour)
{
    odtip::EffectImage image;
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    const bool pixels = odtip::BuildEffect(image, w, h, kind, grain, m_current.colors[0], m_current.colors[1],
                                           m_current.colors[2], shadePercent, shadeColour, [] { return s_random(); });
    if (!m_effect.Create(std::max(w, 1), std::max(h, 1), 8))
        return;
    for (int i = 0; i < 256; ++i)
        m_effect.SetPaletteEntry(i, image.palette[i][0], image.palette[i][1], image.palette[i][2]);
    if (!pixels)
        return;
    BYTE* bits = m_effect.GetBits();
    for (int j = 0; j < h; ++j)
        memcpy(bits + static_cast<size_t>(j) * m_effect.GetStride(), &image.pixels[static_cast<size_t>(j) * w], w);
}

void CODTooltip::FillGradient(CDC* pDC, const RECT& rect, COLORREF from, COLORREF to, BOOL horizontal)
{
    const int start = horizontal ? rect.left : rect.top;
    const int length = horizontal ? rect.right - rect.left : rect.bottom - rect.top;
    for (const odtip::Band& b : odtip::GradientBands(start, length, from, to)) {
        RECT r = rect;
        if (horizontal) {
            r.left = b.from;
            r.right = b.to;
        } else {
            r.top = b.from;
            r.bottom = b.to;
        }
        FillSolid(pDC->GetSafeHdc(), r, b.colour);
    }
}

// ---- Relay and timers --------------------------------------------------------------------------

void CODTooltip::Hide()
{
    if (m_nShown == -2)
        m_nShown = -1;
    if (m_nWaiting == -2)  // a text shown at a point ends with the hide, too
        m_nWaiting = -1;
    if (!m_hWnd)
        return;
    KillTimer(TimerShow);
    KillTimer(TimerPop);
    ShowWindow(SW_HIDE);
}

BOOL CODTooltip::MouseOverTip() const
{
    if (!m_hWnd || !::IsWindowVisible(m_hWnd))
        return FALSE;
    POINT p;
    if (!s_getCursorPos(&p))
        return FALSE;
    RECT r;
    ::GetWindowRect(m_hWnd, &r);
    return ::PtInRect(&r, p);
}

int CODTooltip::HitTest(POINT screen) const
{
    HWND hWnd = s_windowFromPoint(screen);
    const HWND owner = m_pOwner ? m_pOwner->GetSafeHwnd() : NULL;
    if (hWnd && hWnd == owner) {
        POINT client = screen;
        ::ScreenToClient(owner, &client);
        UINT flags = CWP_SKIPINVISIBLE;
        if (!(m_defBehaviour & BehDisabledChildren))
            flags |= CWP_SKIPDISABLED;
        HWND child = ::ChildWindowFromPointEx(owner, client, flags);
        if (child)
            hWnd = child;
    }
    if (!hWnd)
        return -1;
    for (size_t i = 0; i < m_tools.size(); ++i) {
        const CODToolInfo* t = m_tools[i];
        if (t->hWnd != hWnd)
            continue;
        POINT p = screen;
        ::ScreenToClient(hWnd, &p);
        if (::IsRectEmpty(&t->rect) || ::PtInRect(&t->rect, p))
            return static_cast<int>(i);
    }
    return -1;
}

void CODTooltip::RelayEvent(MSG* pMsg)
{
    if (!pMsg || !m_hWnd)
        return;
    switch (pMsg->message) {
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONDBLCLK:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONDBLCLK:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        Hide();
        return;
    case WM_MOUSEMOVE:
        break;
    default:
        return;
    }
    POINT pt = {static_cast<short>(LOWORD(pMsg->lParam)), static_cast<short>(HIWORD(pMsg->lParam))};
    if (pMsg->hwnd)
        ::ClientToScreen(pMsg->hwnd, &pt);
    if (pt.x == m_lastPos.x && pt.y == m_lastPos.y)
        return;
    if (m_nWaiting == -2 || m_nShown == -2)
        return;
    if (!(m_defBehaviour & BehNoActiveWindow) && !::GetActiveWindow())
        return;
    m_lastPos = pt;
    const int tool = HitTest(pt);
    const BOOL visible = ::IsWindowVisible(m_hWnd);
    if (tool < 0) {
        if (visible && (m_current.display & DispStayOverTip) && MouseOverTip())
            return;
        Hide();
        m_nWaiting = m_nShown = -1;
        return;
    }
    if (tool == m_nShown) {
        if (visible && (m_current.display & DispStayOverTip))
            return;
        if (!(m_current.display & DispRestartInTool)) {
            Hide();
            return;
        }
        StartTool(tool, TRUE);
        return;
    }
    StartTool(tool, !visible);
}

void CODTooltip::FillDefaults(CODToolInfo& info) const
{
    if (!(info.mask & CODToolInfo::MaskBehaviour))
        info.behaviour = m_defBehaviour;
    if (!(info.mask & CODToolInfo::MaskStyle))
        info.style = m_defStyle;
    if (!(info.mask & CODToolInfo::MaskDisplay))
        info.display = m_defDisplay;
    if (!(info.mask & CODToolInfo::MaskEffect)) {
        info.effect = m_defEffect;
        info.effectParam = m_defEffectParam;
    }
    if (!(info.mask & CODToolInfo::MaskColors))
        memcpy(info.colors, m_defColors, sizeof info.colors);
}

void CODTooltip::StartTool(int index, BOOL delay)
{
    Hide();
    m_current = *m_tools[index];
    FillDefaults(m_current);
    m_nWaiting = index;
    if (delay)
        SetTimer(TimerShow, m_delayInitial, NULL);
    else
        ShowTool();
}

void CODTooltip::ShowTool()
{
    Hide();
    POINT cursor;
    if (m_nWaiting < 0 || !s_getCursorPos(&cursor))
        return;
    if (HitTest(cursor) != m_nWaiting || cursor.x != m_lastPos.x || cursor.y != m_lastPos.y)
        return;
    CPoint anchor(cursor);
    if (m_current.style == 2 || m_current.style == 3)
        anchor.y += 20;
    m_nShown = m_nWaiting;
    ShowAt(anchor);
}

void CODTooltip::ShowAtPoint(CPoint point, LPCSTR text, HICON hIcon)
{
    Hide();
    CODToolInfo info;
    info.hWnd = m_pOwner ? m_pOwner->GetSafeHwnd() : NULL;
    info.text = text ? text : "";
    info.hIcon = hIcon;
    m_current = info;
    FillDefaults(m_current);
    m_nWaiting = -2;
    m_nShown = -1;
    ShowAt(point);
}

void CODTooltip::ShowAtPoint(CPoint point, UINT textId, UINT iconId)
{
    if (m_hPointIcon)
        ::DestroyIcon(m_hPointIcon);
    m_hPointIcon = iconId ? LoadIconRes(iconId, 0, 0) : NULL;
    ShowAtPoint(point, LoadStringRes(textId), m_hPointIcon);
}

void CODTooltip::ShowAt(CPoint anchor)
{
    if (!m_hWnd || !m_bEnabled)
        return;
    // The notification: the receiver may change a copy whose rectangle is
    // in the owner's coordinates; the rectangle of the shown record stays.
    if (m_hNotify && ::IsWindow(m_hNotify)) {
        CODToolInfo copy = m_current;
        const HWND owner = m_pOwner ? m_pOwner->GetSafeHwnd() : NULL;
        if (copy.hWnd && owner)
            ::MapWindowPoints(copy.hWnd, owner, reinterpret_cast<POINT*>(&copy.rect), 2);
        NMTOOLTIP nm = {};
        nm.hdr.hwndFrom = m_hWnd;
        nm.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(m_hWnd));
        nm.hdr.code = NotifyShow;
        nm.tool = &copy;
        ::SendMessageA(m_hNotify, WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
        const RECT kept = m_current.rect;
        m_current = copy;
        m_current.rect = kept;
    }
    if (!m_current.hIcon && m_current.text.IsEmpty())
        return;

    const UINT beh = m_current.behaviour;
    const int* g = m_geometry;
    {
        CClientDC dc(this);
        m_textSize = Render(&dc, CRect(0, 0, 0x7FFF, 0x7FFF), m_current.text, TRUE);
    }
    m_iconSize = IconSize(m_current.hIcon);
    int width = m_textSize.cx + m_iconSize.cx + 2 * g[GeoMarginX];
    if (m_current.hIcon && !m_current.text.IsEmpty())
        width += g[GeoMarginX];
    int height = std::max(static_cast<int>(m_textSize.cy), static_cast<int>(m_iconSize.cy)) + g[GeoPointerHeight] + 2 * g[GeoMarginY];
    if (beh & BehShadow) {
        width += g[GeoShadowX];
        height += g[GeoShadowY];
    }
    if (m_current.effect >= 7 && m_current.effect <= 15)
        PrepareBackgroundEffect(CRect(0, 0, width, height), m_current.effect, m_current.effectParam & 0xFF, 5,
                                m_current.colors[0]);

    const odtip::Placement p =
        odtip::PlaceBalloon(m_current.style, odtip::Point{anchor.x, anchor.y}, width, height,
                            ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN), g[GeoPointerDistance],
                            (beh & BehShadow) != 0, g[GeoShadowX], g[GeoShadowY]);
    m_nPlacement = p.placement;
    m_anchor = anchor;
    const CRect window(p.rect.left, p.rect.top, p.rect.right, p.rect.bottom);
    BuildRegions(window, anchor);
    ::SetWindowPos(m_hWnd, NULL, window.left, window.top, window.Width() + 2, window.Height() + 2,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOCOPYBITS);
    ::InvalidateRect(m_hWnd, NULL, FALSE);
    if (m_delayPop != 0 && !(m_current.display & DispNoAutoPop))
        SetTimer(TimerPop, m_delayPop, NULL);
}

void CODTooltip::FreeRegions()
{
    if (m_hBalloonRgn)
        ::DeleteObject(m_hBalloonRgn);
    if (m_hShadowRgn)
        ::DeleteObject(m_hShadowRgn);
    m_hBalloonRgn = m_hShadowRgn = NULL;
}

void CODTooltip::BuildRegions(const CRect& window, CPoint anchor)
{
    FreeRegions();
    const UINT beh = m_current.behaviour;
    const int* g = m_geometry;
    odtip::Box area{0, 0, window.Width(), window.Height()};
    if (beh & BehShadow) {
        area.right -= g[GeoShadowX];
        area.bottom -= g[GeoShadowY];
    }
    const odtip::Shape s =
        odtip::BalloonShape(area, m_nPlacement, odtip::Point{anchor.x - window.left, anchor.y - window.top},
                            (beh & BehPointer) != 0, g[GeoPointerHeight], g[GeoPointerBase], g[GeoPointerDistance]);
    HRGN body = (beh & BehRounded) ? ::CreateRoundRectRgn(s.body.left, s.body.top, s.body.right, s.body.bottom,
                                                          g[GeoCornerWidth], g[GeoCornerHeight])
                                   : ::CreateRectRgn(s.body.left, s.body.top, s.body.right, s.body.bottom);
    if (s.hasPointer) {
        POINT tri[3];
        for (int i = 0; i < 3; ++i)
            tri[i] = POINT{s.triangle[i].x, s.triangle[i].y};
        HRGN triangle = ::CreatePolygonRgn(tri, 3, WINDING);
        ::CombineRgn(body, body, triangle, RGN_OR);
        ::DeleteObject(triangle);
    }
    m_hBalloonRgn = body;
    HRGN windowRgn = ::CreateRectRgn(0, 0, 0, 0);
    ::CombineRgn(windowRgn, body, NULL, RGN_COPY);
    if (beh & BehShadow) {
        m_hShadowRgn = ::CreateRectRgn(0, 0, 0, 0);
        ::CombineRgn(m_hShadowRgn, body, NULL, RGN_COPY);
        ::OffsetRgn(m_hShadowRgn, g[GeoShadowX], g[GeoShadowY]);
        ::CombineRgn(windowRgn, windowRgn, m_hShadowRgn, RGN_OR);
    }
    ::SetWindowRgn(m_hWnd, windowRgn, FALSE);  // the window owns windowRgn now
}

// ---- Painting ----------------------------------------------------------------------------------

void CODTooltip::DrawBackground(CDC* pDC, const CRect& rect)
{
    const HDC dc = pDC->GetSafeHdc();
    if (m_current.hBitmap) {
        const CSize size = BitmapSize(m_current.hBitmap);
        if (m_current.effect == 18) {
            HBRUSH brush = ::CreatePatternBrush(m_current.hBitmap);
            ::FillRect(dc, &rect, brush);
            ::DeleteObject(brush);
            return;
        }
        HDC mem = ::CreateCompatibleDC(dc);
        HGDIOBJ old = ::SelectObject(mem, m_current.hBitmap);
        if (m_current.effect == 16)
            ::BitBlt(dc, 0, 0, size.cx, size.cy, mem, 0, 0, SRCCOPY);
        else
            ::StretchBlt(dc, 0, 0, rect.Width(), rect.Height(), mem, 0, 0, size.cx, size.cy, SRCCOPY);
        ::SelectObject(mem, old);
        ::DeleteDC(mem);
        return;
    }
    const COLORREF a = m_palette[PalBkBegin], md = m_palette[PalBkMid], z = m_palette[PalBkEnd];
    const int midX = rect.left + (rect.right - rect.left) / 2;
    const int midY = rect.top + (rect.bottom - rect.top) / 2;
    switch (m_current.effect) {
    case 1:
        FillGradient(pDC, rect, a, z, TRUE);
        break;
    case 2:
        FillGradient(pDC, rect, a, z, FALSE);
        break;
    case 3:
        FillGradient(pDC, CRect(rect.left, rect.top, midX, rect.bottom), a, z, TRUE);
        FillGradient(pDC, CRect(midX, rect.top, rect.right, rect.bottom), z, a, TRUE);
        break;
    case 4:
        FillGradient(pDC, CRect(rect.left, rect.top, rect.right, midY), a, z, FALSE);
        FillGradient(pDC, CRect(rect.left, midY, rect.right, rect.bottom), z, a, FALSE);
        break;
    case 5:
        FillGradient(pDC, CRect(rect.left, rect.top, midX, rect.bottom), a, md, TRUE);
        FillGradient(pDC, CRect(midX, rect.top, rect.right, rect.bottom), md, z, TRUE);
        break;
    case 6:
        FillGradient(pDC, CRect(rect.left, rect.top, rect.right, midY), a, md, FALSE);
        FillGradient(pDC, CRect(rect.left, midY, rect.right, rect.bottom), md, z, FALSE);
        break;
    default:
        if (m_current.effect >= 7 && m_current.effect <= 15 && m_effect.GetBits())
            m_effect.CreateSection(dc, 0, 0);
        else
            FillSolid(dc, rect, a);
        break;
    }
}

void CODTooltip::PaintBalloon(CDC* pDC, const CRect& client)
{
    const UINT beh = m_current.behaviour;
    const int* g = m_geometry;
    const HDC dc = pDC->GetSafeHdc();
    CRect rect(client.left, client.top, client.right - 1, client.bottom - 1);
    if ((beh & BehShadow) && m_hShadowRgn) {
        const int oldRop = ::SetROP2(dc, R2_MASKPEN);
        HBRUSH brush = ::CreateSolidBrush(m_palette[PalShadow]);
        ::FillRgn(dc, m_hShadowRgn, brush);
        ::DeleteObject(brush);
        ::SetROP2(dc, oldRop);
        rect.right -= g[GeoShadowX];
        rect.bottom -= g[GeoShadowY];
    }
    if (m_hBalloonRgn) {
        ::SelectClipRgn(dc, m_hBalloonRgn);
        DrawBackground(pDC, rect);
        HBRUSH border = ::CreateSolidBrush(m_palette[PalBorder]);
        ::FrameRgn(dc, m_hBalloonRgn, border, g[GeoBorderWidth], g[GeoBorderHeight]);
        ::DeleteObject(border);
        ::SelectClipRgn(dc, NULL);
    }
    rect.DeflateRect(g[GeoBorderWidth], g[GeoBorderHeight]);
    if (m_nPlacement == 2 || m_nPlacement == 3)
        rect.top += g[GeoPointerHeight];
    else
        rect.bottom -= g[GeoPointerHeight];
    int textLeft = rect.left + g[GeoMarginX];
    if (m_current.hIcon) {
        int y = rect.top + g[GeoMarginY];
        if (beh & BehIconBottom)
            y = rect.bottom - g[GeoMarginY] - m_iconSize.cy;
        else if (beh & BehIconCentre)
            y = rect.top + (rect.Height() - m_iconSize.cy) / 2;
        ::DrawStateA(dc, NULL, NULL, reinterpret_cast<LPARAM>(m_current.hIcon), 0, rect.left + g[GeoMarginX], y,
                     m_iconSize.cx, m_iconSize.cy, DST_ICON | DSS_NORMAL);
        textLeft += m_iconSize.cx + g[GeoMarginX];
    }
    if (!m_current.text.IsEmpty()) {
        int top = rect.top + g[GeoMarginY];
        if (beh & BehTextBottom)
            top = rect.bottom - g[GeoMarginY] - m_textSize.cy;
        else if (beh & BehTextCentre)
            top = rect.top + (rect.Height() - m_textSize.cy) / 2;
        const CRect area(textLeft, top, textLeft + m_textSize.cx, top + m_textSize.cy);
        pDC->SetBkMode(TRANSPARENT);
        Render(pDC, area, m_current.text, FALSE);
    }
}

void CODTooltip::OnPaint()
{
    PAINTSTRUCT ps;
    HDC target = ::BeginPaint(m_hWnd, &ps);
    CRect client;
    ::GetClientRect(m_hWnd, &client);
    HDC mem = ::CreateCompatibleDC(target);
    HBITMAP bitmap = ::CreateCompatibleBitmap(target, std::max(client.Width(), 1), std::max(client.Height(), 1));
    HGDIOBJ old = ::SelectObject(mem, bitmap);
    // What the screen showed under the window: nothing erases it.
    ::BitBlt(mem, 0, 0, client.Width(), client.Height(), target, 0, 0, SRCCOPY);
    PaintBalloon(CDC::FromHandle(mem), client);
    ::BitBlt(target, 0, 0, client.Width(), client.Height(), mem, 0, 0, SRCCOPY);
    ::SelectObject(mem, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(mem);
    ::EndPaint(m_hWnd, &ps);
}

void CODTooltip::OnTimer(UINT_PTR id)
{
    if (id == TimerShow) {
        ShowTool();
    } else if (id == TimerPop) {
        if (!(::IsWindowVisible(m_hWnd) && (m_current.display & DispNoPopOverTip) && MouseOverTip()))
            Hide();
    }
}

void CODTooltip::OnDestroy()
{
    KillTimer(TimerShow);
    KillTimer(TimerPop);
    // The shown record borrows its icon and bitmap from the registry.
    m_current.hIcon = NULL;
    m_current.hBitmap = NULL;
}

BOOL CODTooltip::PreTranslateMessage(MSG* pMsg)
{
    RelayEvent(pMsg);
    return CWnd::PreTranslateMessage(pMsg);
}

LRESULT CODTooltip::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return TRUE;
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case WM_DESTROY:
        OnDestroy();
        ODRemoveCtrlProps(m_hWnd, OD_TOOLTIP_ID);
        break;
    default:
        if (message == ODGetThemeMessage()) {
            for (int i = PalFg; i < PalCount; ++i)
                if (!m_paletteSet[i])
                    m_palette[i] = s_theme[i - PalFg];
            ::InvalidateRect(m_hWnd, NULL, FALSE);
        }
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
