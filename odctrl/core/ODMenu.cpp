// ODMenu.cpp - the skinned pop-up menu window.
#include "ODMenu.h"

#include <shellapi.h>
#include <string.h>

#include <algorithm>

#include "ODControlFont.h"
#include "ODDrawing.h"
#include "ODLibrary.h"
#include "graphics/image/DibImageList.h"

namespace {

const char kSection[] = "ODMenu";
const char* const kFrameKeys[8] = {"EdgeLeftImg",    "EdgeRightImg",    "EdgeTopImg",        "EdgeBottomImg",
                                   "EdgeLeftTopImg", "EdgeRightTopImg", "EdgeLeftBottomImg", "EdgeRightBottomImg"};
const ODThemeLoaderRegistration s_loader(OD_LOADER_MENU, &CODMenu::LoadTheme);

odmenu::Rect SystemWorkArea()
{
    APPBARDATA abd = {};
    abd.cbSize = sizeof abd;
    int edge = odmenu::EdgeNone;
    odmenu::Rect bar;
    if (::SHAppBarMessage(ABM_GETTASKBARPOS, &abd)) {
        edge = static_cast<int>(abd.uEdge);
        bar = odmenu::Rect{abd.rc.left, abd.rc.top, abd.rc.right, abd.rc.bottom};
    }
    return odmenu::WorkArea(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN), edge, bar);
}

}  // namespace

odmenu::Rect (*CODMenu::s_workArea)() = &SystemWorkArea;

CODMenu::Defaults& CODMenu::ClassDefaults()
{
    static Defaults d = {0x0000FF, 0xAFD0E1, 0xAFD0E1, 0xECFFFF, 0x3B5279,
                         0xAFD0E1, 0x5D7D9C, 0x5D7D9C, 0xFFFFFF, ::GetSysColor(COLOR_GRAYTEXT), {}};
    return d;
}

void CODMenu::LoadTheme()
{
    Defaults& d = ClassDefaults();
    d.columnColour = ODGetThemeColor(kSection, "ColumnColor", d.columnColour);
    d.textBk = ODGetThemeColor(kSection, "TextBkColor", d.textBk);
    d.imageBk = ODGetThemeColor(kSection, "ImageBkColor", d.imageBk);
    d.sepHiLight = ODGetThemeColor(kSection, "SepHiLightColor", d.sepHiLight);
    d.sepShadow = ODGetThemeColor(kSection, "SepShadowColor", d.sepShadow);
    d.itemBkNormal = ODGetThemeColor(kSection, "ItemBkNormalColor", d.itemBkNormal);
    d.itemBkMove = ODGetThemeColor(kSection, "ItemBkMoveColor", d.itemBkMove);
    d.itemEdgeMove = ODGetThemeColor(kSection, "ItemEdgeMoveColor", d.itemEdgeMove);
    d.itemTextNormal = ODGetThemeColor(kSection, "ItemTextNormalColor", d.itemTextNormal);
    d.itemTextDisable = ODGetThemeColor(kSection, "ItemTextDisableColor", d.itemTextDisable);
    for (int i = 0; i < 8; ++i) {
        char value[kDescSize];
        ODGetThemeString(kSection, kFrameKeys[i], d.frames[i], value, sizeof value);
        memcpy(d.frames[i], value, sizeof value);
        d.frames[i][kDescSize - 1] = 0;
    }
}

CODMenu::CODMenu()
    : m_font(), m_pNotify(NULL), m_parentMenu(NULL), m_gridSet(), m_colours(ClassDefaults()), m_separatorIndent(1),
      m_hotColumn(-1), m_hotItem(-1), m_topLevel(TRUE), m_destroying(FALSE), m_lastMouse(-1, -1), m_subPos(0, 0),
      m_panelVisible(), m_strip(NULL), m_subDelay(500), m_userValue(0), m_pendingCloseColumn(-1),
      m_pendingCloseItem(-1), m_colourSet(), m_frames(), m_frameSet()
{
    for (auto& row : m_grid)
        for (COLORREF& c : row)
            c = CLR_NONE;
    ODDefaultControlFont(&m_font, -12);
    ApplyTheme();
}

CODMenu::~CODMenu()
{
    m_destroying = TRUE;
    if (m_hWnd)
        DestroyWindow();
    FreeEntries();
}

void CODMenu::StopAnimations()
{
    m_background.StopAnimation(TRUE);
    for (CODMenuStyle& p : m_panels)
        p.GetBkImage().StopAnimation(TRUE);
    for (CODSkinImage* image : m_itemImages)
        if (image)
            image->StopAnimation(TRUE);
}

void CODMenu::FreeEntries()
{
    for (Column& c : m_columns) {
        for (CODMenuItem* i : c.items)
            delete i;
        for (CODMenu* s : c.subs)
            delete s;
    }
    m_columns.clear();
    for (CODSkinImage* image : m_itemImages)
        delete image;
    m_itemImages.clear();
}

void CODMenu::ReloadTheme() { ApplyTheme(); }

void CODMenu::ApplyTheme()
{
    const Defaults& d = ClassDefaults();
    COLORREF* mine[5] = {&m_colours.textBk, &m_colours.imageBk, &m_colours.sepHiLight, &m_colours.sepShadow,
                         &m_colours.columnColour};
    const COLORREF theirs[5] = {d.textBk, d.imageBk, d.sepHiLight, d.sepShadow, d.columnColour};
    for (int i = 0; i < 5; ++i)
        if (!m_colourSet[i])
            *mine[i] = theirs[i];
    m_colours.itemBkNormal = d.itemBkNormal;
    m_colours.itemBkMove = d.itemBkMove;
    m_colours.itemEdgeMove = d.itemEdgeMove;
    m_colours.itemTextNormal = d.itemTextNormal;
    m_colours.itemTextDisable = d.itemTextDisable;
    for (int i = 0; i < 8; ++i) {
        if (!m_frameSet[i])
            memcpy(m_frames[i], d.frames[i], kDescSize);
        CODSkinImage& image = CODSkinFrame::GetImage(i);
        image.Release();
        if (m_frames[i][0])
            ODLoadSkinImage(m_frames[i], &image);
        image.SetDrawMode(i <= EdgeBottom ? CODSkinImage::DrawTile : CODSkinImage::DrawPlain);
    }
    const struct
    {
        int row, state;
        COLORREF colour;
    } fixed[] = {{0, 0, d.itemBkNormal}, {0, 2, d.itemBkMove}, {1, 2, d.itemEdgeMove}, {2, 2, d.itemTextNormal},
                 {2, 3, d.itemTextDisable},
                 // The theme names no text colour for normal and checked entries; without one their
                 // captions would not be drawn at all.
                 {2, 0, ::GetSysColor(COLOR_MENUTEXT)}, {2, 1, ::GetSysColor(COLOR_MENUTEXT)}};
    for (const auto& f : fixed)
        if (!m_gridSet[f.row][f.state])
            m_grid[f.row][f.state] = f.colour;
}

BOOL CODMenu::Create(CWnd* pParent, int columns, BOOL notTopMost)
{
    if (columns < 0)
        return FALSE;
    if (m_hWnd)
        DestroyWindow();
    m_destroying = FALSE;
    if (!CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, AfxRegisterWndClass(0, ::LoadCursor(NULL, IDC_ARROW)), "ODMenu",
                  WS_POPUP, 0, 0, 10, 10, pParent ? pParent->GetSafeHwnd() : NULL, NULL))
        return FALSE;
    if (!notTopMost)
        ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    FreeEntries();
    m_columns.resize(static_cast<size_t>(columns));
    const int widths[4] = {1, 1, 1, 1};
    SetBorderWidths(NULL, widths);
    if (!m_tooltip.m_hWnd && m_tooltip.Create(this, FALSE)) {
        m_tooltip.AddTool(this, m_defaultTip);
        m_tooltip.Activate(TRUE);
    } else if (m_tooltip.m_hWnd) {
        m_tooltip.UpdateTipText(m_defaultTip, this);
    }
    m_background.SetOwner(this, TimerBackground, TRUE);
    for (int i = 0; i < ImageCount; ++i)
        CODSkinFrame::GetImage(i).SetOwner(this, TimerFrame + i, TRUE);
    for (int i = 0; i < PanelCount; ++i)
        m_panels[i].GetBkImage().SetOwner(this, TimerPanel + i, TRUE);
    ApplyTheme();
    HWND fontSource = pParent ? pParent->GetSafeHwnd() : m_hWnd;
    HFONT font = reinterpret_cast<HFONT>(::SendMessageA(fontSource, WM_GETFONT, 0, 0));
    LOGFONT lf;
    if (font && ::GetObjectA(font, sizeof lf, &lf) > 0)
        m_font = lf;
    return TRUE;
}

// ---- Entries -----------------------------------------------------------------------------------

int CODMenu::AddItem(LPCSTR text, UINT id, LPCSTR tip, BOOL clickable, int column)
{
    if (column < 0 || column >= GetColumnCount())
        return 0;
    Column& c = m_columns[static_cast<size_t>(column)];
    CODMenuItem* item = NULL;
    if (text && *text) {
        item = new CODMenuItem;
        item->SetCaption(text);
        item->SetTipText(tip ? tip : "");
        item->SetFont(m_font);
        item->SetImageStrip(m_strip);
        for (int r = 0; r < 4; ++r)
            for (int s = 0; s < 5; ++s)
                item->SetColor(m_grid[r][s], r, s);
    }
    c.items.push_back(item);
    c.subs.push_back(NULL);
    c.ids.push_back(item ? id : 0);
    c.clickable.push_back(clickable);
    return static_cast<int>(c.items.size()) - 1;
}

void CODMenu::LoadFromMenu(HMENU menu, int column)
{
    if (!menu || column < 0 || column >= GetColumnCount())
        return;
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOA mii = {};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU;
        if (!::GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &mii))
            continue;
        if (mii.wID == 0 && !mii.hSubMenu) {
            AddItem("", 0, "", FALSE, column);
            continue;
        }
        char text[256] = "";
        ::GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        const int index = AddItem(text[0] ? text : " ", mii.wID, "", FALSE, column);
        // The checked flag is the record's value one; a checked entry shows state 1.
        if (CODMenuItem* item = GetItem(index, column))
            if (mii.fState & MFS_CHECKED)
                item->SetValueOne(1);
        if (mii.hSubMenu) {
            CODMenu* child = new CODMenu;
            if (child->Create(GetParent(), 1, TRUE)) {
                child->LoadFromMenu(mii.hSubMenu, 0);
                AttachSubMenu(index, child, column);
            } else {
                delete child;
            }
        }
    }
}

BOOL CODMenu::AttachSubMenu(int index, CODMenu* child, int column)
{
    if (column < 0 || column >= GetColumnCount())
        return FALSE;
    Column& c = m_columns[static_cast<size_t>(column)];
    if (index < 0 || index >= static_cast<int>(c.items.size()))
        return FALSE;
    delete c.subs[static_cast<size_t>(index)];
    c.subs[static_cast<size_t>(index)] = child;
    if (child) {
        child->m_parentMenu = this;
        child->m_topLevel = FALSE;
    }
    return TRUE;
}

CODMenuItem* CODMenu::GetItem(int index, int column) const
{
    if (column < 0 || column >= GetColumnCount())
        return NULL;
    const Column& c = m_columns[static_cast<size_t>(column)];
    return (index >= 0 && index < static_cast<int>(c.items.size())) ? c.items[static_cast<size_t>(index)] : NULL;
}

UINT CODMenu::GetItemId(int index, int column) const
{
    if (!GetItem(index, column))
        return 0;
    return m_columns[static_cast<size_t>(column)].ids[static_cast<size_t>(index)];
}

CODMenu* CODMenu::GetSubMenu(int index, int column) const
{
    if (!GetItem(index, column))
        return NULL;
    return m_columns[static_cast<size_t>(column)].subs[static_cast<size_t>(index)];
}

int CODMenu::GetItemCount(int column) const
{
    return (column >= 0 && column < GetColumnCount()) ? static_cast<int>(m_columns[static_cast<size_t>(column)].items.size())
                                                      : 0;
}

BOOL CODMenu::SetItemEnabled(int index, BOOL enabled, int column)
{
    CODMenuItem* item = GetItem(index, column);
    if (!item)
        return FALSE;
    const int state = item->GetState();
    item->SetEnabled(enabled ? 1 : 0);
    item->SetState(state);
    if (m_hWnd && IsWindowVisible())
        InvalidateRect(RowRect(column, index), FALSE);
    return TRUE;
}

BOOL CODMenu::SetItemChecked(int index, BOOL checked, int column)
{
    CODMenuItem* item = GetItem(index, column);
    if (!item)
        return FALSE;
    item->SetValueOne(checked ? 1 : 0);
    item->SetState(checked ? 1 : 0);
    if (m_hWnd && IsWindowVisible())
        InvalidateRect(RowRect(column, index), FALSE);
    return TRUE;
}

int CODMenu::SetSeparatorIndent(int indent)
{
    const int old = m_separatorIndent;
    m_separatorIndent = indent;
    return old;
}

COLORREF CODMenu::SetItemColor(COLORREF colour, int row, int state)
{
    if (row < 0 || row >= 4 || state < 0 || state >= 5)
        return static_cast<COLORREF>(-1);
    const COLORREF old = m_grid[row][state];
    m_grid[row][state] = colour;
    m_gridSet[row][state] = TRUE;
    return old;
}

COLORREF CODMenu::GetItemColor(int row, int state) const
{
    return (row >= 0 && row < 4 && state >= 0 && state < 5) ? m_grid[row][state] : static_cast<COLORREF>(-1);
}

BOOL CODMenu::KeepItemImage(int index, int slot, int column, CODSkinImage* image)
{
    CODMenuItem* item = GetItem(index, column);
    if (!item || (slot != CODMenuItem::ImageLeft && slot != CODMenuItem::ImageRight) || image->IsEmpty()) {
        delete image;
        return FALSE;
    }
    // The picture's index among the item pictures is its timer id.
    image->SetOwner(this, static_cast<UINT>(m_itemImages.size()), TRUE);
    m_itemImages.push_back(image);
    item->SetImage(slot, image);
    return TRUE;
}

BOOL CODMenu::SetItemImage(int index, int slot, CBitmap* bitmap, int transparent, int cells, int states, int frames,
                           int interval, int column)
{
    CODSkinImage* image = new CODSkinImage;
    if (!bitmap || !image->CreateFromBitmap(bitmap, transparent, cells, states, frames, interval, FALSE)) {
        delete image;
        return FALSE;
    }
    return KeepItemImage(index, slot, column, image);
}

BOOL CODMenu::SetItemImage(int index, int slot, LPCSTR description, int column)
{
    CODSkinImage* image = new CODSkinImage;
    if (description && *description)
        ODLoadSkinImage(description, image);
    return KeepItemImage(index, slot, column, image);
}

CODSkinImage* CODMenu::GetItemImage(int timerId) const
{
    return (timerId >= 0 && timerId < static_cast<int>(m_itemImages.size())) ? m_itemImages[static_cast<size_t>(timerId)]
                                                                              : NULL;
}

BOOL CODMenu::SetItemCell(int index, int slot, WORD cell, int column)
{
    CODMenuItem* item = GetItem(index, column);
    if (!item || slot < 0 || slot >= CODMenuItem::ImageCount)
        return FALSE;
    item->SetStripIndex(slot, cell);
    return TRUE;
}

CQVDibImageList* CODMenu::SetImageStrip(CQVDibImageList* strip)
{
    CQVDibImageList* old = m_strip;
    m_strip = strip;
    for (Column& c : m_columns)
        for (CODMenuItem* item : c.items)
            if (item)
                item->SetImageStrip(strip);
    return old;
}

LOGFONT CODMenu::SetFont(const LOGFONT& lf)
{
    const LOGFONT old = m_font;
    m_font = lf;
    return old;
}

int CODMenu::SetUserValue(int value)
{
    const int old = m_userValue;
    m_userValue = value;
    return old;
}

int CODMenu::SetSubMenuDelay(int ms)
{
    const int old = m_subDelay;
    m_subDelay = ms;
    return old;
}

BOOL CODMenu::SetPanelVisible(BOOL visible, int panel)
{
    if (panel < 0 || panel >= PanelCount)
        return FALSE;
    const BOOL old = m_panelVisible[panel];
    m_panelVisible[panel] = visible;
    return old;
}

BOOL CODMenu::GetPanelVisible(int panel) const
{
    return (panel >= 0 && panel < PanelCount) ? m_panelVisible[panel] : FALSE;
}

CODMenuStyle* CODMenu::GetPanel(int panel) { return (panel >= 0 && panel < PanelCount) ? &m_panels[panel] : NULL; }

CString CODMenu::SetDefaultTip(LPCSTR text)
{
    const CString old = m_defaultTip;
    m_defaultTip = text ? text : "";
    return old;
}

namespace {

COLORREF Swap(COLORREF& field, BOOL& set, COLORREF value)
{
    const COLORREF old = field;
    field = value;
    set = TRUE;
    return old;
}

}  // namespace

COLORREF CODMenu::SetTextBkColor(COLORREF c) { return Swap(m_colours.textBk, m_colourSet[0], c); }
COLORREF CODMenu::SetImageBkColor(COLORREF c) { return Swap(m_colours.imageBk, m_colourSet[1], c); }
COLORREF CODMenu::SetSepHiLightColor(COLORREF c) { return Swap(m_colours.sepHiLight, m_colourSet[2], c); }
COLORREF CODMenu::SetSepShadowColor(COLORREF c) { return Swap(m_colours.sepShadow, m_colourSet[3], c); }
COLORREF CODMenu::SetColumnColor(COLORREF c) { return Swap(m_colours.columnColour, m_colourSet[4], c); }

void CODMenu::SetFrameImage(int index, LPCSTR description)
{
    if (index < 0 || index >= 8)
        return;
    const char* text = description ? description : "";
    const size_t n = strnlen(text, kDescSize - 1);
    memmove(m_frames[index], text, n);
    m_frames[index][n] = 0;
    m_frameSet[index] = TRUE;
}

CODMenu* CODMenu::GetTopMenu()
{
    CODMenu* m = this;
    while (m->m_parentMenu)
        m = m->m_parentMenu;
    return m;
}

// ---- Layout ------------------------------------------------------------------------------------

void CODMenu::Measure()
{
    odmenu::Columns cols;
    CClientDC dc(this);
    for (const Column& c : m_columns) {
        std::vector<odmenu::EntrySize> sizes;
        for (const CODMenuItem* item : c.items) {
            odmenu::EntrySize e;
            if (!item) {
                e.separator = true;
            } else {
                LOGFONT lf;
                item->GetFont(&lf);
                CFont font;
                font.CreateFontIndirect(&lf);
                CFont* old = dc.SelectObject(&font);
                const CSize t = dc.GetTextExtent(item->GetCaption());
                dc.SelectObject(old);
                e.textWidth = t.cx;
                e.textHeight = t.cy;
                for (int slot : {CODMenuItem::ImageLeft, CODMenuItem::ImageRight}) {
                    CODSkinImage* img = item->GetImage(slot);
                    CSize s(0, 0);
                    const WORD cell = item->GetStripIndex(slot);
                    if (img && !img->IsEmpty())
                        s = img->GetCellSize();
                    else if (m_strip && cell != 0xFFFF && cell < m_strip->GetCount())
                        s = CSize(m_strip->GetWidth(), m_strip->GetHeight());
                    if (slot == CODMenuItem::ImageLeft) {
                        e.leftWidth = s.cx;
                        e.leftHeight = s.cy;
                    } else {
                        e.rightWidth = s.cx;
                        e.rightHeight = s.cy;
                    }
                }
            }
            sizes.push_back(e);
        }
        cols.push_back(sizes);
    }
    odmenu::Measure(cols, m_sizes);
}

CRect CODMenu::ContentRect() const
{
    CRect r;
    ::GetClientRect(m_hWnd, &r);
    int w[4];
    GetBorderWidths(w);
    return CRect(r.left + w[0], r.top + w[1], r.right - w[2], r.bottom - w[3]);
}

CRect CODMenu::ItemArea() const
{
    CRect r = ContentRect();
    if (m_panelVisible[PanelTop])
        r.top += m_panels[PanelTop].GetItemHeight();
    if (m_panelVisible[PanelBottom])
        r.bottom -= m_panels[PanelBottom].GetItemHeight();
    if (m_panelVisible[PanelLeft])
        r.left += m_panels[PanelLeft].GetItemHeight();
    if (m_panelVisible[PanelRight])
        r.right -= m_panels[PanelRight].GetItemHeight();
    return r;
}

CRect CODMenu::RowRect(int column, int index) const
{
    const CRect content = ItemArea();
    const int left = content.left + column * (m_sizes.columnWidth + odmenu::kColumnGap);
    int top = content.top + odmenu::kRowSpacing;
    const Column& c = m_columns[static_cast<size_t>(column)];
    for (int i = 0; i < index && i < static_cast<int>(c.items.size()); ++i)
        top += (c.items[static_cast<size_t>(i)] ? m_sizes.itemHeight : odmenu::kSeparatorHeight) + odmenu::kRowSpacing;
    const int height = (index < static_cast<int>(c.items.size()) && c.items[static_cast<size_t>(index)])
                           ? m_sizes.itemHeight
                           : odmenu::kSeparatorHeight;
    return CRect(left, top, left + m_sizes.columnWidth, top + height);
}

BOOL CODMenu::TrackPopup(UINT flags, int x, int y, CWnd* pNotify)
{
    if (!m_hWnd)
        return FALSE;
    m_pNotify = pNotify;
    int w[4];
    GetBorderWidths(w);
    if (w[0] || w[1] || w[2] || w[3]) {
        // Loaded edge pictures give the frame its widths.
        const int edges[4] = {EdgeLeft, EdgeTop, EdgeRight, EdgeBottom};
        for (int i = 0; i < 4; ++i) {
            CODSkinImage& edge = CODSkinFrame::GetImage(edges[i]);
            if (edge.IsEmpty())
                continue;
            w[i] = (i == 0 || i == 2) ? edge.GetCellSize().cx : edge.GetCellSize().cy;
            if (edge.GetDrawMode() == CODSkinImage::DrawPlain)
                edge.SetDrawMode(CODSkinImage::DrawTile);
        }
        SetBorderWidths(NULL, w);
    }
    for (int i = 0; i < PanelCount; ++i) {
        CODSkinImage& image = m_panels[i].GetBkImage();
        if (m_panelVisible[i] && !image.IsEmpty())
            m_panels[i].SetItemHeight(i <= PanelBottom ? image.GetCellSize().cy : image.GetCellSize().cx);
    }
    Measure();
    const int columns = std::max(GetColumnCount(), 1);
    int width = m_sizes.columnWidth * columns + (columns - 1) * odmenu::kColumnGap + w[0] + w[2];
    int height = m_sizes.menuHeight + w[1] + w[3];
    if (m_panelVisible[PanelLeft])
        width += m_panels[PanelLeft].GetItemHeight();
    if (m_panelVisible[PanelRight])
        width += m_panels[PanelRight].GetItemHeight();
    if (m_panelVisible[PanelTop])
        height += m_panels[PanelTop].GetItemHeight();
    if (m_panelVisible[PanelBottom])
        height += m_panels[PanelBottom].GetItemHeight();
    for (const Column& c : m_columns)
        for (CODMenuItem* item : c.items)
            if (item && item->GetState() == 2)
                item->SetState(item->GetValueOne() ? 1 : 0);
    m_hotColumn = m_hotItem = -1;
    if (m_background.GetDrawMode() == CODSkinImage::DrawPlain)
        m_background.SetDrawMode(CODSkinImage::DrawTile);
    for (int i = 0; i < PanelCount; ++i)
        if (m_panelVisible[i] && m_panels[i].GetBkImage().GetDrawMode() == CODSkinImage::DrawPlain)
            m_panels[i].GetBkImage().SetDrawMode(CODSkinImage::DrawTile);
    const odmenu::Rect work = s_workArea();
    odmenu::Point p;
    if (m_topLevel) {
        p = odmenu::PlaceTopLevel(flags, x, y, width, height, work);
    } else {
        CRect parent(0, 0, 0, 0);
        const bool exists = m_parentMenu && m_parentMenu->m_hWnd;
        if (exists)
            m_parentMenu->GetWindowRect(&parent);
        p = odmenu::PlaceSubMenu(x, y, width, height, work, exists, parent.left, w[2]);
    }
    ::SetWindowPos(m_hWnd, NULL, p.x, p.y, width, height, SWP_NOZORDER | SWP_SHOWWINDOW);
    ::SetActiveWindow(m_hWnd);
    for (CODMenu* child = this; child->m_parentMenu; child = child->m_parentMenu)
        if (child->m_parentMenu->m_hWnd)
            ::SetWindowPos(child->m_parentMenu->m_hWnd, child->m_hWnd, 0, 0, 0, 0,
                           SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::SetFocus(m_hWnd);
    Invalidate(FALSE);
    return TRUE;
}

std::vector<std::vector<bool>> CODMenu::Separators() const
{
    std::vector<std::vector<bool>> out;
    for (const Column& c : m_columns) {
        std::vector<bool> col;
        for (const CODMenuItem* item : c.items)
            col.push_back(item == NULL);
        out.push_back(col);
    }
    return out;
}

// ---- Hot entry, keys, choice -------------------------------------------------------------------

void CODMenu::SetHot(int column, int index)
{
    if (column == m_hotColumn && index == m_hotItem)
        return;
    if (GetItem(m_hotItem, m_hotColumn))
        LeaveEntry(m_hotColumn, m_hotItem);
    m_hotColumn = m_hotItem = -1;
    CODMenuItem* item = GetItem(index, column);
    if (item && item->GetEnabled()) {
        m_hotColumn = column;
        m_hotItem = index;
        item->SetState(2);
        if (CODSkinImage* image = item->GetImage(CODMenuItem::ImageLeft))
            image->StartAnimation();
        if (m_hWnd) {
            CRect row = RowRect(column, index);
            row.InflateRect(1, 1);
            InvalidateRect(row, FALSE);
        }
    }
    UpdateTip();
}

void CODMenu::LeaveEntry(int column, int index)
{
    CODMenuItem* old = GetItem(index, column);
    if (!old)
        return;
    old->SetState(old->GetValueOne() ? 1 : 0);
    if (CODSkinImage* image = old->GetImage(CODMenuItem::ImageLeft))
        image->StopAnimation(TRUE);
    if (m_hWnd) {
        CRect row = RowRect(column, index);
        row.InflateRect(1, 1);
        InvalidateRect(row, FALSE);
    }
}

void CODMenu::UpdateTip()
{
    CODMenuItem* item = GetItem(m_hotItem, m_hotColumn);
    m_currentTip = (item && !item->GetTipText().IsEmpty()) ? item->GetTipText() : m_defaultTip;
    if (m_tooltip.m_hWnd)
        m_tooltip.UpdateTipText(m_currentTip, this);
}

void CODMenu::HitTestPoint(CPoint client, int* column, int* index) const
{
    *column = *index = -1;
    int w[4];
    GetBorderWidths(w);
    for (int c = 0; c < GetColumnCount(); ++c)
        for (int i = 0; i < GetItemCount(c); ++i) {
            CRect r = RowRect(c, i);
            if (c == 0)
                r.left -= w[0];
            if (c == GetColumnCount() - 1)
                r.right += w[2];
            if (r.PtInRect(client) && GetItem(i, c)) {
                *column = c;
                *index = i;
                return;
            }
        }
}

void CODMenu::OpenSubMenu(int column, int index)
{
    CODMenuItem* item = GetItem(index, column);
    CODMenu* sub = GetSubMenu(index, column);
    if (!item || !item->GetEnabled() || !sub || !sub->m_hWnd)
        return;
    CRect row = RowRect(column, index);
    ClientToScreen(&row);
    sub->TrackPopup(0, row.right, row.top, m_pNotify);
    if (sub->GetItem(0, 0))
        sub->SetHot(0, 0);
}

void CODMenu::CloseSubMenus()
{
    for (Column& c : m_columns)
        for (CODMenu* s : c.subs)
            if (s && s->m_hWnd && s->IsWindowVisible()) {
                s->CloseSubMenus();
                s->ShowWindow(SW_HIDE);
            }
}

void CODMenu::Choose(int column, int index)
{
    const UINT id = GetItemId(index, column);
    CODMenu* top = GetTopMenu();
    CWnd* notify = top->m_pNotify ? top->m_pNotify : m_pNotify;
    if (notify && notify->GetSafeHwnd())
        ::PostMessageA(notify->GetSafeHwnd(), WM_COMMAND, id, 0);
    if (top->m_hWnd)
        top->DestroyWindow();
}

void CODMenu::OnKey(UINT key)
{
    const auto seps = Separators();
    odmenu::Hot hot{m_hotColumn, m_hotItem};
    switch (key) {
    case VK_UP:
    case VK_BACK:
        hot = odmenu::MoveUp(seps, hot);
        break;
    case VK_DOWN:
    case VK_TAB:
        hot = odmenu::MoveDown(seps, hot);
        break;
    case VK_HOME:
        hot = odmenu::MoveHome(seps);
        break;
    case VK_END:
        hot = odmenu::MoveEnd(seps);
        break;
    case VK_RIGHT:
        OpenSubMenu(m_hotColumn, m_hotItem);
        return;
    case VK_LEFT:
        if (m_parentMenu && m_parentMenu->m_hWnd) {
            ::SetFocus(m_parentMenu->m_hWnd);
            ShowWindow(SW_HIDE);
        }
        return;
    case VK_ESCAPE:
        if (GetTopMenu()->m_hWnd)
            GetTopMenu()->DestroyWindow();
        return;
    case VK_RETURN: {
        CODMenuItem* item = GetItem(m_hotItem, m_hotColumn);
        if (item && item->GetEnabled() && !GetSubMenu(m_hotItem, m_hotColumn))
            Choose(m_hotColumn, m_hotItem);
        return;
    }
    default:
        if (key >= '0' && key <= '9') {
            const int column = m_hotColumn >= 0 ? m_hotColumn : 0;
            if (column >= GetColumnCount())
                return;
            const int row = odmenu::DigitRow(seps[static_cast<size_t>(column)], static_cast<char>(key));
            if (row < 0)
                return;
            const bool ctrl = (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
            CODMenuItem* item = GetItem(row, column);
            const Column& c = m_columns[static_cast<size_t>(column)];
            if (ctrl) {
                if (item && item->GetEnabled() && c.clickable[static_cast<size_t>(row)] && !GetSubMenu(row, column))
                    Choose(column, row);
                return;
            }
            hot = odmenu::Hot{column, row};
            SetHot(hot.column, hot.row);
            OpenSubMenu(hot.column, hot.row);
            return;
        }
        return;
    }
    SetHot(hot.column, hot.row);
}

bool CODMenu::InChain(HWND hWnd)
{
    for (CODMenu* m = this; m; m = m->m_parentMenu)
        if (m->m_hWnd == hWnd || (hWnd && m->m_tooltip.m_hWnd == hWnd))
            return true;
    // The sub-menus below this one.
    for (const Column& c : m_columns)
        for (CODMenu* s : c.subs)
            if (s && (s->m_hWnd == hWnd || (hWnd && s->m_tooltip.m_hWnd == hWnd) || s->InChain(hWnd)))
                return true;
    return false;
}

// ---- Painting ----------------------------------------------------------------------------------

void CODMenu::Paint(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    CODSkinFrame::Draw(pDC, client);
    const CRect frameInside = ContentRect();
    const CRect content = ItemArea();
    if (m_panelVisible[PanelTop])
        m_panels[PanelTop].Draw(pDC, CRect(frameInside.left, frameInside.top, frameInside.right, content.top));
    if (m_panelVisible[PanelBottom])
        m_panels[PanelBottom].Draw(pDC,
                                   CRect(frameInside.left, content.bottom, frameInside.right, frameInside.bottom));
    // The side panels run from a pixel above the top panel's lower edge to a pixel below the bottom one's upper edge.
    if (m_panelVisible[PanelLeft])
        m_panels[PanelLeft].Draw(pDC, CRect(frameInside.left, content.top - 1, content.left, content.bottom + 1));
    if (m_panelVisible[PanelRight])
        m_panels[PanelRight].Draw(pDC, CRect(content.right, content.top - 1, frameInside.right, content.bottom + 1));
    for (int c = 0; c < GetColumnCount(); ++c) {
        const int left = content.left + c * (m_sizes.columnWidth + odmenu::kColumnGap);
        const int imageRight = left + odmenu::kLeftInset + m_sizes.leftColumn;
        pDC->FillSolidRect(CRect(left, content.top, imageRight, content.bottom), m_colours.imageBk);
        pDC->FillSolidRect(CRect(imageRight, content.top, left + m_sizes.columnWidth, content.bottom),
                           m_colours.textBk);
    }
    if (!m_background.IsEmpty())
        m_background.Draw(pDC, content, 0);
    for (int c = 0; c < GetColumnCount(); ++c) {
        const int left = content.left + c * (m_sizes.columnWidth + odmenu::kColumnGap);
        if (c > 0)
            pDC->FillSolidRect(CRect(left - odmenu::kColumnGap, content.top, left, content.bottom),
                               m_colours.columnColour);
        for (int i = 0; i < GetItemCount(c); ++i) {
            const CRect row = RowRect(c, i);
            CODMenuItem* item = GetItem(i, c);
            if (item) {
                const CRect r(row.left + odmenu::kLeftInset, row.top, row.right - odmenu::kRightInset, row.bottom);
                item->Draw(pDC, &r, m_sizes.leftColumn, odmenu::kImageTextGap, m_sizes.rightColumn);
            } else {
                const int y = row.top + odmenu::kSeparatorHeight / 2;
                const int x = row.left + odmenu::kLeftInset +
                              (m_separatorIndent ? m_sizes.leftColumn + odmenu::kImageTextGap : 0);
                pDC->FillSolidRect(CRect(x, y, row.right - odmenu::kRightInset, y + 1), m_colours.sepShadow);
                pDC->FillSolidRect(CRect(x, y + 1, row.right - odmenu::kRightInset, y + 2), m_colours.sepHiLight);
            }
        }
    }
}

BOOL CODMenu::PreTranslateMessage(MSG* pMsg)
{
    if (m_tooltip.m_hWnd) {
        m_tooltip.UpdateTipText(m_currentTip, this);
        m_tooltip.RelayEvent(pMsg);
    }
    return CWnd::PreTranslateMessage(pMsg);
}

LRESULT CODMenu::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == ODGetThemeMessage()) {
        ReloadTheme();
        Invalidate(FALSE);
    }
    switch (message) {
    case WM_PAINT: {
        CPaintDC paint(this);
        CRect client;
        GetClientRect(&client);
        CODBackDC back(&paint, &client, FALSE);
        Paint(&back);
        return 0;
    }
    case WM_ERASEBKGND:
        return TRUE;
    case WM_MOUSEMOVE: {
        POINT screen = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ClientToScreen(&screen);
        if (screen.x == m_lastMouse.x && screen.y == m_lastMouse.y)
            return 0;
        m_lastMouse = screen;
        int column, index;
        HitTestPoint(CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))), &column, &index);
        if (column != m_hotColumn || index != m_hotItem) {
            // Leaving an entry whose sub-menu is open closes it after the delay.
            CODMenu* leaving = GetSubMenu(m_hotItem, m_hotColumn);
            if (leaving && leaving->m_hWnd && leaving->IsWindowVisible()) {
                m_pendingCloseColumn = m_hotColumn;
                m_pendingCloseItem = m_hotItem;
                SetTimer(TimerCloseSub, static_cast<UINT>(m_subDelay), NULL);
            }
            SetHot(column, index);
            if (m_hotItem >= 0 && GetSubMenu(m_hotItem, m_hotColumn)) {
                if (m_pendingCloseColumn == m_hotColumn && m_pendingCloseItem == m_hotItem) {
                    KillTimer(TimerCloseSub);
                    m_pendingCloseColumn = m_pendingCloseItem = -1;
                }
                CRect row = RowRect(m_hotColumn, m_hotItem);
                ClientToScreen(&row);
                m_subPos = CPoint(row.right, row.top);
                SetTimer(TimerOpenSub, static_cast<UINT>(m_subDelay), NULL);
            }
        }
        if (m_hotItem < 0)
            KillTimer(TimerOpenSub);
        TRACKMOUSEEVENT tme = {sizeof tme, TME_LEAVE, m_hWnd, 0};
        ::TrackMouseEvent(&tme);
        return 0;
    }
    case WM_MOUSELEAVE:
        SetHot(-1, -1);
        return 0;
    case WM_TIMER:
        if (wParam == TimerOpenSub) {
            KillTimer(TimerOpenSub);
            CloseSubMenus();
            if (CODMenu* sub = GetSubMenu(m_hotItem, m_hotColumn))
                if (IsWindowVisible() && sub->m_hWnd)
                    sub->TrackPopup(0, m_subPos.x, m_subPos.y, m_pNotify);
            return 0;
        }
        if (wParam == TimerCloseSub) {
            KillTimer(TimerCloseSub);
            CODMenu* sub = GetSubMenu(m_pendingCloseItem, m_pendingCloseColumn);
            if (sub && sub->m_hWnd && sub->IsWindowVisible()) {
                sub->CloseSubMenus();
                sub->ShowWindow(SW_HIDE);
            }
            m_pendingCloseColumn = m_pendingCloseItem = -1;
            SetFocus();
            return 0;
        }
        if (wParam == TimerBackground) {
            m_background.AdvanceFrame();
            return 0;
        }
        if (wParam >= TimerFrame && wParam < TimerFrame + static_cast<UINT_PTR>(ImageCount)) {
            CODSkinFrame::GetImage(static_cast<int>(wParam - TimerFrame)).AdvanceFrame();
            return 0;
        }
        if (wParam >= TimerPanel && wParam < TimerPanel + static_cast<UINT_PTR>(PanelCount)) {
            CODMenuStyle& panel = m_panels[wParam - TimerPanel];
            if (!panel.GetBkImage().IsEmpty())
                panel.GetBkImage().AdvanceFrame();
            else
                panel.GetTxtMov().OnTick();
            return 0;
        }
        if (CODSkinImage* image = GetItemImage(static_cast<int>(wParam))) {
            image->AdvanceFrame();
            return 0;
        }
        break;
    case WM_KEYDOWN:
        OnKey(static_cast<UINT>(wParam));
        return 0;
    case WM_LBUTTONUP: {
        int column, index;
        HitTestPoint(CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))), &column, &index);
        CODMenuItem* item = GetItem(index, column);
        if (item && item->GetEnabled() &&
            (m_columns[static_cast<size_t>(column)].clickable[static_cast<size_t>(index)] ||
             !GetSubMenu(index, column)))
            Choose(column, index);
        return 0;
    }
    case WM_KILLFOCUS: {
        CODMenu* top = GetTopMenu();
        if (IsWindowVisible() && !top->m_destroying && !top->InChain(reinterpret_cast<HWND>(wParam)) &&
            top->m_hWnd)
            top->DestroyWindow();
        break;
    }
    case WM_ACTIVATEAPP:
        if (!wParam && !m_destroying)
            DestroyWindow();
        break;
    case WM_DESTROY: {
        m_destroying = TRUE;
        KillTimer(TimerOpenSub);
        KillTimer(TimerCloseSub);
        StopAnimations();
        for (Column& c : m_columns)
            for (CODMenu* s : c.subs)
                if (s && s->m_hWnd) {
                    s->m_destroying = TRUE;
                    s->DestroyWindow();
                }
        if (m_topLevel && GetParent())
            GetParent()->SetFocus();
        break;
    }
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
