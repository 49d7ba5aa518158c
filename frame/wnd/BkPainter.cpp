// BkPainter.cpp - see BkPainter.h.
#include "BkPainter.h"

#include <algorithm>
#include <new>
#include <vector>

#include "AreaHost.h"
#include "ImageCache.h"
#include "ImageObj.h"
#include "LayoutValues.h"
#include "store/QVIniFile.h"

namespace {

std::string ReadValue(CQVIniFile* ini, LPCSTR section, LPCSTR key)
{
    char buffer[kLayoutValueMax] = "";
    ini->GetString(section, key, "", buffer, sizeof(buffer));
    return buffer;
}

CImageObj* Picture(CQVIniFile* ini, LPCSTR section, LPCSTR key, CImageCache* cache)
{
    const std::string name = ReadValue(ini, section, key);
    return name.empty() ? NULL : GetKeyedPicture(cache, name.c_str());
}

}  // namespace

CImageObj* GetKeyedPicture(CImageCache* cache, LPCSTR name)
{
    if (cache == NULL || name == NULL || *name == 0)
        return NULL;
    CImageObj* p = cache->Get(name);
    if (p != NULL && !p->IsEmpty() && !p->GetBkColor(NULL)) {
        IAreaHost* host = GetAreaHost();
        p->SetBkColor(host != NULL ? host->GetTransparentColor() : RGB(255, 0, 255));
    }
    return p;
}

CBkPainter::CBkPainter(int type)
    : m_nType(type), m_rect(0, 0, 0, 0), m_bVisible(TRUE), m_pParent(NULL), m_margins(0, 0, 0, 0),
      m_pEdges(), m_pPicture(NULL), m_pSecond(NULL), m_crBack(0), m_nBkMode(0)
{
}

CBkPainter::~CBkPainter()
{
    if (IAreaHost* host = GetAreaHost()) {
        host->RemovePainter(this);
        if (host->m_pPressedArea == this)
            host->m_pPressedArea = NULL;
    }
}

BOOL CBkPainter::Create(LPCSTR name, LPCSTR section, CBkPainter* parent)
{
    m_strName = name ? name : "";
    m_strSection = section ? section : "";
    m_pParent = parent;
    if (IAreaHost* host = GetAreaHost())
        host->AddPainter(this);
    return OnCreate();
}

void CBkPainter::SetBackground(int mode, COLORREF colour, CImageObj* picture, CImageObj* second)
{
    m_nBkMode = mode;
    m_crBack = colour;
    m_pPicture = picture;
    m_pSecond = second;
}

void CBkPainter::LoadKeys(CQVIniFile* ini, LPCSTR section, CImageCache* cache)
{
    if (ini == NULL)
        return;
    uint32_t colour = 0;
    m_nBkMode = ParseBackgroundMode(ReadValue(ini, section, "bkp_draw"), &colour);
    m_crBack = colour;
    if (m_nBkMode == kBkTiled || m_nBkMode == kBkStretched || m_nBkMode == kBkCentred) {
        m_pPicture = Picture(ini, section, "bkp_pic", cache);
        m_pSecond = Picture(ini, section, "bkp_chn", cache);
    }
    static const char* const kEdgeKeys[kEdgeCount] = {"bkp_lt", "bkp_top", "bkp_rt", "bkp_right", "bkp_rb",
                                                      "bkp_bottom", "bkp_lb", "bkp_left", "bkp_ct"};
    for (int i = 0; i < kEdgeCount; i++)
        m_pEdges[i] = Picture(ini, section, kEdgeKeys[i], cache);
}

BOOL CBkPainter::DrawTree(CImageObj* dc)
{
    if (!m_bVisible || m_strName.IsEmpty() || m_rect.Width() <= 0 || m_rect.Height() <= 0 || dc == NULL)
        return FALSE;
    const RECT previous = dc->GetClipRect();
    CRect clip = m_rect;
    if (!IsRectEmpty(&previous)) {
        if (!clip.IntersectRect(&previous, &m_rect))
            return FALSE;
    }
    dc->SetClipRect(&clip);
    if (m_nBkMode != kBkNone)
        DrawBackground(dc);
    const BOOL drew = DrawContent(dc);
    dc->SetClipRect(IsRectEmpty(&previous) ? NULL : &previous);
    return drew ? TRUE : FALSE;
}

void CBkPainter::Tile(CImageObj* dc, const CImageObj* picture, const CRect& rect, BOOL keyed)
{
    if (picture == NULL || picture->IsEmpty() || rect.IsRectEmpty())
        return;
    const int w = picture->GetWidth(), h = picture->GetHeight();
    if (w <= 0 || h <= 0)
        return;
    for (int y = rect.top; y < rect.bottom; y += h) {
        for (int x = rect.left; x < rect.right; x += w) {
            const RECT part = {0, 0, std::min<LONG>(w, rect.right - x), std::min<LONG>(h, rect.bottom - y)};
            if (keyed)
                dc->BlendDraw2(picture, &part, x, y);
            else
                dc->BlendDraw1(picture, &part, x, y);
        }
    }
}

void CBkPainter::DrawStretched(CImageObj* dc, const CImageObj* picture, const CRect& rect, BOOL keyed, COLORREF key)
{
    if (picture == NULL || picture->IsEmpty() || rect.IsRectEmpty())
        return;
    CImageObj temp;
    if (!temp.Create(rect.Width(), rect.Height(), 24))
        return;
    const RECT whole = {0, 0, rect.Width(), rect.Height()};
    temp.StretchToDCEx(picture, NULL, &whole);
    if (keyed) {
        temp.SetBkColor(key);
        dc->BlendDraw2(&temp, NULL, rect.left, rect.top);
    } else {
        dc->BlendDraw1(&temp, NULL, rect.left, rect.top);
    }
}

void CBkPainter::DrawBackground(CImageObj* dc)
{
    IAreaHost* host = GetAreaHost();
    const COLORREF key = host ? host->GetTransparentColor() : RGB(255, 0, 255);
    const CRect& r = m_rect;
    if (m_nBkMode == kBkSolid) {
        // The fill does not follow the context's clip: cut it here.
        CRect fill = r;
        const RECT clip = dc->GetClipRect();
        if (IsRectEmpty(&clip) || fill.IntersectRect(&fill, &clip))
            dc->FillRect(fill.left, fill.top, fill.Width(), fill.Height(), m_crBack);
    } else if (m_pPicture != NULL && m_pSecond != NULL) {
        Tile(dc, m_pPicture, r, FALSE);
        DrawStretched(dc, m_pSecond, r, TRUE, key);
    } else if (m_pPicture != NULL && (m_nBkMode == kBkStretched ||
                                      (m_nBkMode == kBkCentred && (m_pPicture->GetWidth() < r.Width() ||
                                                                   m_pPicture->GetHeight() < r.Height())))) {
        DrawStretched(dc, m_pPicture, r, FALSE, key);
    } else if (m_pPicture != NULL && m_nBkMode == kBkCentred) {
        const int x = (m_pPicture->GetWidth() - r.Width()) / 2, y = (m_pPicture->GetHeight() - r.Height()) / 2;
        const RECT part = {x, y, x + r.Width(), y + r.Height()};
        dc->BlendDraw1(m_pPicture, &part, r.left, r.top);
    } else if (m_pPicture != NULL && m_nBkMode == kBkTiled) {
        Tile(dc, m_pPicture, r, FALSE);
    }

    // Edges: top and bottom, the sides, the inside, then the corners.
    auto width = [](const CImageObj* p) { return p && !p->IsEmpty() ? p->GetWidth() : 0; };
    auto height = [](const CImageObj* p) { return p && !p->IsEmpty() ? p->GetHeight() : 0; };
    CImageObj* const* e = m_pEdges;
    if (e[kEdgeTop])
        Tile(dc, e[kEdgeTop], CRect(r.left, r.top, r.right, r.top + height(e[kEdgeTop])), TRUE);
    if (e[kEdgeBottom])
        Tile(dc, e[kEdgeBottom], CRect(r.left, r.bottom - height(e[kEdgeBottom]), r.right, r.bottom), TRUE);
    if (e[kEdgeLeft])
        Tile(dc, e[kEdgeLeft], CRect(r.left, r.top, r.left + width(e[kEdgeLeft]), r.bottom), TRUE);
    if (e[kEdgeRight])
        Tile(dc, e[kEdgeRight], CRect(r.right - width(e[kEdgeRight]), r.top, r.right, r.bottom), TRUE);
    if (e[kEdgeCT])
        Tile(dc, e[kEdgeCT],
             CRect(r.left + width(e[kEdgeLeft]), r.top + height(e[kEdgeTop]), r.right - width(e[kEdgeRight]),
                   r.bottom - height(e[kEdgeBottom])),
             TRUE);
    if (e[kEdgeLT])
        dc->BlendDraw2(e[kEdgeLT], NULL, r.left, r.top);
    if (e[kEdgeRT])
        dc->BlendDraw2(e[kEdgeRT], NULL, r.right - width(e[kEdgeRT]), r.top);
    if (e[kEdgeLB])
        dc->BlendDraw2(e[kEdgeLB], NULL, r.left, r.bottom - height(e[kEdgeLB]));
    if (e[kEdgeRB])
        dc->BlendDraw2(e[kEdgeRB], NULL, r.right - width(e[kEdgeRB]), r.bottom - height(e[kEdgeRB]));
}

void CBkPainter::RedrawPainter(const RECT* sub)
{
    UpdateButtons();
    CRect r = m_rect;
    if (sub != NULL) {
        r = *sub;
        r.OffsetRect(m_rect.left, m_rect.top);
    }
    if (IAreaHost* host = GetAreaHost())
        host->Redraw(r, this);
}

void CBkPainter::SetRect(const RECT& rect)
{
    if (EqualRect(&m_rect, &rect))
        return;
    m_rect = rect;
    Layout();
}

void CBkPainter::SetVisible(BOOL visible)
{
    visible = visible ? TRUE : FALSE;
    if (m_bVisible == visible)
        return;
    m_bVisible = visible;
    OnVisibleChanged();
}

// ---- CAreaPainter ----------------------------------------------------------------------------

CAreaPainter::CAreaPainter() : CBkPainter(kTypeArea) {}

CAreaPainter::~CAreaPainter() { m_items.DeleteAll(); }

int CAreaPainter::AddItem(CWnd* window, int mode, const RECT& rect)
{
    for (int i = 0; i < m_items.GetCount(); i++) {
        if (m_items.GetAt(i)->window == window)
            return i;
    }
    Item* item = new (std::nothrow) Item{window, mode, CRect(rect)};
    if (item == NULL)
        return 0;
    std::vector<int> modes;
    for (int i = 0; i < m_items.GetCount(); i++)
        modes.push_back(m_items.GetAt(i)->mode);
    if (!m_items.InsertAt(DockInsertIndex(modes, mode), item)) {
        delete item;
        return 0;
    }
    return m_items.GetCount();
}

int CAreaPainter::AddItem(CWnd* window, int mode)
{
    const RECT none = {0, 0, 0, 0};
    return AddItem(window, mode, none);
}

void CAreaPainter::RemoveItem(CWnd* window)
{
    for (int i = 0; i < m_items.GetCount(); i++) {
        Item* item = m_items.GetAt(i);
        if (item->window == window) {
            m_items.RemoveAt(i);
            delete item;
            return;
        }
    }
}

void CAreaPainter::Layout()
{
    std::vector<DockItem> items;
    for (int i = 0; i < m_items.GetCount(); i++) {
        const Item* it = m_items.GetAt(i);
        DockItem d;
        d.mode = it->mode;
        d.own = AreaRect(it->rect.left, it->rect.top, it->rect.right, it->rect.bottom);
        d.exists = it->window != NULL && ::IsWindow(it->window->GetSafeHwnd());
        items.push_back(d);
    }
    const std::vector<DockPlace> places =
        LayoutDockItems(AreaRect(m_rect.left, m_rect.top, m_rect.right, m_rect.bottom), items);
    for (size_t i = 0; i < places.size(); i++) {
        if (places[i].skipped)
            continue;
        const AreaRect& p = places[i].rect;
        m_items.GetAt(static_cast<int>(i))->window->MoveWindow(p.l, p.t, p.Width(), p.Height(), places[i].repaint);
    }
}

void CAreaPainter::OnVisibleChanged()
{
    for (int i = 0; i < m_items.GetCount(); i++) {
        CWnd* w = m_items.GetAt(i)->window;
        if (w != NULL && ::IsWindow(w->GetSafeHwnd()))
            w->ShowWindow(m_bVisible ? SW_SHOW : SW_HIDE);
    }
}

void CAreaPainter::OnMouseDown(int, int)
{
    if (IAreaHost* host = GetAreaHost())
        host->m_pPressedArea = this;
}
