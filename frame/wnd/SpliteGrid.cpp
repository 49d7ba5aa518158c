// SpliteGrid.cpp - see SpliteGrid.h.
#include "SpliteGrid.h"

#include <algorithm>
#include <new>

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

int Clamp(int v, int lo, int hi) { return std::max(lo, std::min(hi, v)); }

AreaRect ToFrame(const RECT& r) { return AreaRect(r.left, r.top, r.right, r.bottom); }
CRect ToCRect(const AreaRect& r) { return CRect(r.l, r.t, r.r, r.b); }

}  // namespace

// ---- CBkButton ------------------------------------------------------------------------------

CBkButton::CBkButton()
    : m_rcPlaced(0, 0, 0, 0), m_rcLayout(0, 0, 0, 0), m_pOwner(NULL), m_nKey(0), m_nAnchor(0), m_bShown(TRUE),
      m_bEnabled(TRUE), m_nState(kNormal), m_bDown(FALSE), m_bInert(FALSE), m_pPicture(NULL), m_pChannel(NULL),
      m_pOther(NULL), m_bOther(FALSE)
{
}

CBkButton::~CBkButton()
{
    if (IAreaHost* host = GetAreaHost()) {
        if (host->m_pPressedButton == this)
            host->m_pPressedButton = NULL;
    }
}

BOOL CBkButton::Parse(LPCSTR text, CString* pictureName)
{
    ButtonDef def;
    if (text == NULL || !ParseButtonDef(CutLayoutValue(text), &def) || !def.HasUsableRect())
        return FALSE;
    m_nKey = def.key;
    m_nAnchor = def.anchor;
    m_rcLayout = ToCRect(def.rect);
    if (pictureName)
        *pictureName = def.picture.c_str();
    return TRUE;
}

void CBkButton::SetTips(LPCSTR tip, LPCSTR otherTip)
{
    m_strTip = tip ? tip : "";
    m_strOtherTip = otherTip ? otherTip : "";
}

void CBkButton::Place(const RECT& container)
{
    m_rcPlaced = ToCRect(PlaceButton(m_nAnchor, ToFrame(m_rcLayout), ToFrame(container)));
}

int CBkButton::CurrentFrame() const
{
    if (!m_bEnabled)
        return 3;
    switch (m_nState) {
    case kNormal: return m_bInert ? -1 : (m_bDown ? 2 : 0);
    case kHover: return 1;
    case kPressedInside: return m_bDown ? 0 : 2;
    case kPressedOutside: return m_bDown ? 2 : 0;
    default: return 0;
    }
}

void CBkButton::Draw(CImageObj* dc, int ox, int oy)
{
    if (!m_bShown || dc == NULL)
        return;
    const CImageObj* strip = m_bOther ? m_pOther : m_pPicture;
    if (strip == NULL || strip->IsEmpty())
        return;
    const int frame = CurrentFrame();
    const int w = m_rcPlaced.Width();
    if (frame < 0 || w <= 0)
        return;
    const RECT source = {frame * w, 0, frame * w + w, std::min(strip->GetHeight(), m_rcPlaced.Height())};
    const int x = m_rcPlaced.left - ox, y = m_rcPlaced.top - oy;
    if (m_pChannel != NULL && !m_pChannel->IsEmpty() && m_pChannel->GetWidth() == strip->GetWidth() &&
        m_pChannel->GetHeight() == strip->GetHeight()) {
        dc->DrawToImage(strip, m_pChannel, &source, x, y);
        return;
    }
    dc->BlendDraw2(strip, &source, x, y);
}

BOOL CBkButton::HitTest(POINT pt) const
{
    return m_pPicture != NULL && m_bShown && m_rcPlaced.PtInRect(pt);
}

void CBkButton::Redraw()
{
    if (IAreaHost* host = GetAreaHost())
        host->RedrawRect(this, m_rcPlaced);
}

void CBkButton::OnMouseMove(POINT pt)
{
    if (m_pPicture == NULL || !m_bShown || !m_bEnabled || m_bInert)
        return;
    const BOOL inside = m_rcPlaced.PtInRect(pt);
    if (m_nState == kNormal && inside) {
        m_nState = kHover;
        Redraw();
        const CString& tip = m_bOther && !m_strOtherTip.IsEmpty() ? m_strOtherTip : m_strTip;
        if (!tip.IsEmpty()) {
            if (IAreaHost* host = GetAreaHost())
                host->UpdateTip(tip, m_rcPlaced);
        }
    } else if (m_nState == kHover && !inside) {
        m_nState = kNormal;
        Redraw();
    } else if (m_nState == kPressedInside && !inside) {
        m_nState = kPressedOutside;
        Redraw();
    } else if (m_nState == kPressedOutside && inside) {
        m_nState = kPressedInside;
        Redraw();
    }
}

BOOL CBkButton::OnPress(POINT pt)
{
    if (m_pPicture == NULL || !m_bShown || !m_bEnabled || m_bInert || !m_rcPlaced.PtInRect(pt))
        return FALSE;
    if (IAreaHost* host = GetAreaHost()) {
        host->m_pPressedButton = this;
        host->SetAreaCapture(NULL);
    }
    m_nState = kPressedInside;
    Redraw();
    return TRUE;
}

void CBkButton::OnRelease(POINT pt)
{
    IAreaHost* host = GetAreaHost();
    if (host != NULL)
        host->m_pPressedButton = NULL;
    m_nState = kNormal;
    Redraw();
    if (!m_rcPlaced.PtInRect(pt))
        return;
    const CImageObj* strip = m_bOther && m_pOther ? m_pOther : m_pPicture;
    const int w = m_rcPlaced.Width();
    // A strip of five or more frames is a picture, not a button: no key.
    if (strip == NULL || w <= 0 || strip->GetWidth() / w >= 5)
        return;
    if (m_pOwner != NULL)
        m_pOwner->OnButtonKey(m_nKey);
    else if (host != NULL)
        host->OnTitleButtonKey(m_nKey);
}

void CBkButton::SetShown(BOOL shown, BOOL redraw)
{
    shown = shown ? TRUE : FALSE;
    if (m_bShown == shown)
        return;
    m_bShown = shown;
    if (redraw)
        Redraw();
}

void CBkButton::SetEnabled(BOOL enabled, BOOL redraw)
{
    enabled = enabled ? TRUE : FALSE;
    if (m_bEnabled == enabled)
        return;
    m_bEnabled = enabled;
    if (redraw)
        Redraw();
}

void CBkButton::SetOtherState(BOOL other, BOOL redraw)
{
    other = other ? TRUE : FALSE;
    if (m_bOther == other)
        return;
    m_bOther = other;
    if (redraw)
        Redraw();
}

void CBkButton::SetState(int state, BOOL redraw)
{
    if (m_nState == state)
        return;
    m_nState = state;
    if (redraw)
        Redraw();
}

// ---- CSpliteGrid ----------------------------------------------------------------------------

CSpliteGrid::CSpliteGrid()
    : CBkPainter(kTypeSplitter), m_bStacked(FALSE), m_nMinSize{60, 60}, m_pChild{NULL, NULL}, m_bSolid(TRUE),
      m_crSlider(0), m_pSlider{NULL, NULL, NULL}, m_bLeftShow(TRUE), m_bRightShow(TRUE), m_ptPress{0, 0},
      m_bDragging(FALSE)
{
    m_model.SetDefaultSize(0, 0);
}

CSpliteGrid::~CSpliteGrid()
{
    SaveState();
    m_buttons.DeleteAll();
    delete m_pChild[0];
    delete m_pChild[1];
}

void CSpliteGrid::SetChildren(CBkPainter* left, CBkPainter* right)
{
    m_pChild[0] = left;
    m_pChild[1] = right;
}

void CSpliteGrid::Pull()
{
    m_model.stacked = m_bStacked ? true : false;
    m_model.minFirst = m_nMinSize[0];
    m_model.minSecond = m_nMinSize[1];
    m_model.rect = ToFrame(m_rect);
    for (int i = 0; i < 2; i++) {
        if (m_pChild[i] == NULL)
            continue;
        m_model.side[i].rect = ToFrame(m_pChild[i]->GetRect());
        m_model.side[i].margins = ToFrame(m_pChild[i]->GetMargins());
        m_model.side[i].visible = m_pChild[i]->IsVisible() ? true : false;
    }
}

void CSpliteGrid::Push()
{
    for (int i = 0; i < 2; i++) {
        if (m_pChild[i] == NULL)
            continue;
        m_pChild[i]->SetVisible(m_model.side[i].visible);
        if (m_model.side[i].visible)
            m_pChild[i]->SetRect(ToCRect(m_model.side[i].rect));
    }
}

CRect CSpliteGrid::GetSliderRect() const { return ToCRect(const_cast<CSpliteGrid*>(this)->m_model.SliderRect()); }

void CSpliteGrid::Redraw() { RedrawPainter(NULL); }

void CSpliteGrid::Layout()
{
    Pull();
    m_model.Layout();
    Push();
    UpdateButtons();
}

BOOL CSpliteGrid::DrawContent(CImageObj* dc)
{
    BOOL drew = FALSE;
    for (int i = 0; i < 2; i++) {
        if (m_pChild[i] != NULL && m_pChild[i]->DrawTree(dc))
            drew = TRUE;
    }
    DrawSlider(dc);
    return drew;
}

void CSpliteGrid::DrawSlider(CImageObj* dc)
{
    if (m_model.thickness <= 0 || dc == NULL)
        return;
    CRect s = GetSliderRect();
    if (s.IsRectEmpty())
        return;
    CImageObj* middle = m_pSlider[2];
    if (m_bSolid || middle == NULL || middle->IsEmpty()) {
        CRect fill = s;
        const RECT clip = dc->GetClipRect();
        if (IsRectEmpty(&clip) || fill.IntersectRect(&fill, &clip))
            dc->FillRect(fill.left, fill.top, fill.Width(), fill.Height(), m_crSlider);
        return;
    }
    // Start and end pictures at the two ends, the middle tiled between them;
    // a picture of another thickness is stretched across the slider.
    const int t = m_bStacked ? s.Height() : s.Width();
    auto length = [&](const CImageObj* p) { return p == NULL || p->IsEmpty() ? 0 : (m_bStacked ? p->GetWidth() : p->GetHeight()); };
    auto thick = [&](const CImageObj* p) { return m_bStacked ? p->GetHeight() : p->GetWidth(); };
    auto put = [&](const CImageObj* p, const CRect& where) {
        if (p == NULL || p->IsEmpty() || where.IsRectEmpty())
            return;
        if (thick(p) == t)
            dc->BlendDraw2(p, NULL, where.left, where.top);
        else
            DrawStretched(dc, p, where, TRUE, GetAreaHost() ? GetAreaHost()->GetTransparentColor() : RGB(255, 0, 255));
    };
    const int a = length(m_pSlider[0]), b = length(m_pSlider[1]);
    CRect mid = s;
    if (m_bStacked) {
        mid.left += a;
        mid.right -= b;
    } else {
        mid.top += a;
        mid.bottom -= b;
    }
    if (thick(middle) == t)
        Tile(dc, middle, mid, TRUE);
    else
        DrawStretched(dc, middle, mid, TRUE, RGB(255, 0, 255));
    if (m_bStacked) {
        put(m_pSlider[0], CRect(s.left, s.top, s.left + a, s.bottom));
        put(m_pSlider[1], CRect(s.right - b, s.top, s.right, s.bottom));
    } else {
        put(m_pSlider[0], CRect(s.left, s.top, s.right, s.top + a));
        put(m_pSlider[1], CRect(s.left, s.bottom - b, s.right, s.bottom));
    }
}

void CSpliteGrid::DrawOverlay(CImageObj* dc)
{
    for (int i = 0; i < 2; i++) {
        if (m_pChild[i] != NULL)
            m_pChild[i]->DrawOverlay(dc);
    }
    for (int i = 0; i < m_buttons.GetCount(); i++)
        m_buttons.GetAt(i)->Draw(dc, 0, 0);
}

void CSpliteGrid::SetCursor(BOOL)
{
    IAreaHost* host = GetAreaHost();
    if (host == NULL)
        return;
    HCURSOR c = m_bStacked ? host->m_hSizeNSCursor : host->m_hSizeWECursor;
    if (c != NULL)
        ::SetCursor(c);
}

void CSpliteGrid::OnMouseDown(int x, int y)
{
    const POINT pt = {x, y};
    if (CBkPainter* c = ChildAt(pt)) {
        c->OnMouseDown(x, y);
        return;
    }
    IAreaHost* host = GetAreaHost();
    if (host != NULL)
        host->m_pPressedArea = this;
    if (m_model.forceHide || m_model.thickness <= 0)
        return;
    if (!GetSliderRect().PtInRect(pt))
        return;
    for (int i = 0; i < m_buttons.GetCount(); i++) {
        if (m_buttons.GetAt(i)->OnPress(pt))
            return;
    }
    if (!m_model.drag)
        return;
    SetCursor(TRUE);
    m_ptPress = pt;
    m_bDragging = TRUE;
    if (host != NULL)
        host->SetAreaCapture(this);
}

void CSpliteGrid::OnMouseMove(int x, int y)
{
    const POINT pt = {x, y};
    IAreaHost* host = GetAreaHost();
    if (host != NULL && host->GetAreaCapture() == this) {
        const int d = m_bStacked ? y - m_ptPress.y : x - m_ptPress.x;
        Pull();
        if (m_model.Move(d)) {
            Push();
            m_ptPress = pt;
            Redraw();
        }
        return;
    }
    m_bDragging = FALSE;
    for (int i = 0; i < 2; i++) {
        if (m_pChild[i] != NULL && m_pChild[i]->IsVisible())
            m_pChild[i]->OnMouseMove(x, y);
    }
    BOOL onButton = FALSE;
    if (!m_model.forceHide) {
        for (int i = 0; i < m_buttons.GetCount(); i++) {
            m_buttons.GetAt(i)->OnMouseMove(pt);
            if (m_buttons.GetAt(i)->HitTest(pt))
                onButton = TRUE;
        }
    }
    if (!onButton && m_model.drag && m_model.thickness > 0 && GetSliderRect().PtInRect(pt))
        SetCursor(TRUE);
}

void CSpliteGrid::OnDoubleClick(int x, int y)
{
    const POINT pt = {x, y};
    if (CBkPainter* c = ChildAt(pt)) {
        c->OnDoubleClick(x, y);
        return;
    }
    if (IAreaHost* host = GetAreaHost())
        host->m_pPressedArea = this;
    if (m_model.forceHide || m_model.thickness <= 0 || !GetSliderRect().PtInRect(pt) || m_buttons.GetCount() == 0)
        return;
    for (int i = 0; i < m_buttons.GetCount(); i++) {
        if (m_buttons.GetAt(i)->HitTest(pt))
            return;
    }
    Pull();
    if (!m_model.side[0].visible)
        OnButtonKey(kKeyLeft);
    else if (!m_model.side[1].visible)
        OnButtonKey(kKeyRight);
    else if (m_buttons.GetCount() == 1)
        OnButtonKey(m_buttons.GetAt(0)->m_nKey);
}

void CSpliteGrid::OnMouseWheel(int delta)
{
    if (m_model.thickness <= 0 || !m_model.drag)
        return;
    Pull();
    if (!m_model.Wheel(static_cast<short>(delta)))
        return;
    Push();
    Redraw();
    IAreaHost* host = GetAreaHost();
    if (host != NULL) {
        HCURSOR axis = m_bStacked ? host->m_hSizeNSCursor : host->m_hSizeWECursor;
        if (axis != NULL && ::GetCursor() == axis && host->m_hArrowCursor != NULL)
            ::SetCursor(host->m_hArrowCursor);
    }
}

void CSpliteGrid::OnButtonKey(int key)
{
    Pull();
    if (!m_model.HideKey(key))
        return;
    Push();
    Redraw();
}

void CSpliteGrid::ShowHideButtons()
{
    CBkButton* left = FindHideButton(kKeyLeft);
    CBkButton* right = FindHideButton(kKeyRight);
    const BOOL firstShown = m_pChild[0] != NULL && m_pChild[0]->IsVisible();
    const BOOL secondShown = m_pChild[1] != NULL && m_pChild[1]->IsVisible();
    // Each hide button shows while the other side is shown; its other look
    // marks its own side as hidden. A forced hide shows neither.
    if (left) {
        left->SetShown(!m_model.forceHide && secondShown, FALSE);
        if (!m_model.forceHide)
            left->SetOtherState(!firstShown, FALSE);
    }
    if (right) {
        right->SetShown(!m_model.forceHide && firstShown, FALSE);
        if (!m_model.forceHide)
            right->SetOtherState(!secondShown, FALSE);
    }
}

CBkPainter* CSpliteGrid::ChildAt(POINT pt) const
{
    for (CBkPainter* c : m_pChild) {
        if (c != NULL && c->IsVisible() && c->GetRect().PtInRect(pt))
            return c;
    }
    return NULL;
}

void CSpliteGrid::UpdateButtons()
{
    ShowHideButtons();
    const CRect slider = GetSliderRect();
    for (int i = 0; i < m_buttons.GetCount(); i++)
        m_buttons.GetAt(i)->Place(slider);
}

void CSpliteGrid::OnVisibleChanged()
{
    if (m_bVisible) {
        if (m_pChild[0])
            m_pChild[0]->SetVisible(m_bLeftShow);
        if (m_pChild[1])
            m_pChild[1]->SetVisible(m_bRightShow);
        for (int i = 0; i < m_buttons.GetCount(); i++)
            m_buttons.GetAt(i)->SetShown(TRUE, FALSE);
        ShowHideButtons();
    } else {
        m_bLeftShow = m_pChild[0] != NULL && m_pChild[0]->IsVisible();
        m_bRightShow = m_pChild[1] != NULL && m_pChild[1]->IsVisible();
        if (m_pChild[0])
            m_pChild[0]->SetVisible(FALSE);
        if (m_pChild[1])
            m_pChild[1]->SetVisible(FALSE);
        for (int i = 0; i < m_buttons.GetCount(); i++)
            m_buttons.GetAt(i)->SetShown(FALSE, FALSE);
    }
}

CBkButton* CSpliteGrid::FindButton(const CSimplePtrArray<CBkButton>& buttons, int key)
{
    for (int i = 0; i < buttons.GetCount(); i++) {
        if (buttons.GetAt(i)->m_nKey == key)
            return buttons.GetAt(i);
    }
    return NULL;
}

CBkButton* CSpliteGrid::FindHideButton(int key) const
{
    return key == kKeyLeft || key == kKeyRight ? FindButton(m_buttons, key) : NULL;
}

void CSpliteGrid::SetOwner(CBkButton* item, CImageObj* picture)
{
    if (item != NULL)
        item->SetOtherPicture(picture);
}

void CSpliteGrid::SetMode(CBkButton* item, int state, BOOL notify)
{
    if (item != NULL)
        item->SetState(state, notify);
}

void CSpliteGrid::SetShowFlag(CBkButton* item, BOOL flag, BOOL notify)
{
    if (item != NULL)
        item->SetShown(flag, notify);
}

BOOL CSpliteGrid::LoadInfo(CQVIniFile* ini, LPCSTR section, CImageCache* cache)
{
    if (ini == NULL)
        return TRUE;
    m_bStacked = FirstLetter(ReadValue(ini, section, "frame")) == 'T';
    m_model.stacked = m_bStacked ? true : false;
    int v[3] = {0, 0, 0};
    ParseNumbers(ReadValue(ini, section, "defsize"), ':', v, 2);
    m_model.SetDefaultSize(v[0], v[1]);
    m_model.thickness = Clamp(ParseInt(ReadValue(ini, section, "slsize")), 0, 255);
    const std::string slpic = ReadValue(ini, section, "slpic");
    if (slpic.empty()) {
        m_model.thickness = 0;
    } else if (FirstLetter(slpic) == 'S') {
        m_bSolid = TRUE;
        uint32_t colour = 0;
        ParseColourAfterComma(slpic, &colour);
        m_crSlider = colour;
    } else {
        m_bSolid = FALSE;
        m_pSlider[0] = Picture(ini, section, "slpicl", cache);
        m_pSlider[1] = Picture(ini, section, "slpicr", cache);
        m_pSlider[2] = Picture(ini, section, "slpicm", cache);
        const CImageObj* m = m_pSlider[2];
        m_model.thickness = m == NULL || m->IsEmpty() ? 0 : Clamp(m_bStacked ? m->GetHeight() : m->GetWidth(), 0, 255);
    }
    v[0] = v[1] = v[2] = 0;
    ParseNumbers(ReadValue(ini, section, "keeparea"), ',', v, 3);
    m_model.keepInsetStart = Clamp(v[0], 0, 255);
    m_model.keepInsetEnd = Clamp(v[1], 0, 255);
    m_model.keepLength = Clamp(v[2], 0, 32767);
    v[0] = 60;
    v[1] = 60;
    ParseNumbers(ReadValue(ini, section, "minsize"), ',', v, 2);
    m_nMinSize[0] = static_cast<short>(Clamp(v[0], 0, 32767));
    m_nMinSize[1] = static_cast<short>(Clamp(v[1], 0, 32767));
    const char keep = FirstLetter(ReadValue(ini, section, "keepwidth"));
    m_model.keepSide = keep == 'L' ? kKeepLeft : keep == 'R' ? kKeepRight : kKeepNone;
    m_model.drag = ini->GetInt(section, "drag", 1) != 0;
    switch (FirstLetter(ReadValue(ini, section, "hide"))) {
    case 'N': m_model.hide = kHideNone; break;
    case 'L': m_model.hide = kHideLeft; break;
    case 'R': m_model.hide = kHideRight; break;
    default: m_model.hide = kHideBoth; break;
    }
    static const char* const kKeys[2][3] = {{"btn_left", "btn_left_hide", "btn_left_chn"},
                                            {"btn_right", "btn_right_hide", "btn_right_chn"}};
    for (int side = 0; side < 2; side++) {
        const int need = side == 0 ? kHideLeft : kHideRight;
        if (m_model.hide != need && m_model.hide != kHideBoth)
            continue;
        const std::string text = ReadValue(ini, section, kKeys[side][0]);
        CBkButton* button = new (std::nothrow) CBkButton;
        CString name;
        if (button == NULL || text.empty() || !button->Parse(text.c_str(), &name) || cache == NULL ||
            (button->m_pPicture = GetKeyedPicture(cache, name)) == NULL) {
            delete button;
            continue;
        }
        button->SetOtherPicture(Picture(ini, section, kKeys[side][1], cache));
        button->SetChannelPicture(Picture(ini, section, kKeys[side][2], cache));
        button->SetOwner(this);
        if (!m_buttons.Add(button))
            delete button;
    }
    LoadState();
    return TRUE;
}

void CSpliteGrid::LoadState()
{
    CWinApp* app = AfxGetApp();
    if (app == NULL || m_strName.IsEmpty())
        return;
    const CString section = "GD_" + m_strName;
    auto read = [&](LPCSTR key) { return static_cast<int>(app->GetProfileInt(section, key, 0)); };
    if (int v = read("ForceHide"))
        m_model.forceHide = v != 0;
    if (int v = read("SpliteFrom"))
        m_model.spliteFrom = v;
    if (int v = read("LeftShow"))
        m_bLeftShow = v != 0;
    if (int v = read("RightShow"))
        m_bRightShow = v != 0;
    if (int v = read("LeftWidth"))
        m_model.leftWidth = static_cast<int16_t>(Clamp(v, -32768, 32767));
    if (int v = read("RightWidth"))
        m_model.rightWidth = static_cast<int16_t>(Clamp(v, -32768, 32767));
    if (int v = read("TotalWidth"))
        m_model.totalWidth = static_cast<int16_t>(Clamp(v, -32768, 32767));
}

void CSpliteGrid::SaveState()
{
    CWinApp* app = AfxGetApp();
    if (app == NULL || m_strName.IsEmpty())
        return;
    m_bLeftShow = m_pChild[0] != NULL && m_pChild[0]->IsVisible();
    m_bRightShow = m_pChild[1] != NULL && m_pChild[1]->IsVisible();
    const CString section = "GD_" + m_strName;
    app->WriteProfileInt(section, "ForceHide", m_model.forceHide ? 1 : 0);
    app->WriteProfileInt(section, "SpliteFrom", m_model.spliteFrom);
    app->WriteProfileInt(section, "LeftShow", m_bLeftShow);
    app->WriteProfileInt(section, "RightShow", m_bRightShow);
    app->WriteProfileInt(section, "LeftWidth", m_model.leftWidth);
    app->WriteProfileInt(section, "RightWidth", m_model.rightWidth);
    app->WriteProfileInt(section, "TotalWidth", m_model.totalWidth);
}
