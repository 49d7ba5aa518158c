// SceneItem.cpp - see SceneItem.h.
#include "SceneItem.h"

#include <cstdio>
#include <new>

#include "AreaHost.h"
#include "BkPainter.h"
#include "EffectCache.h"
#include "ImageObj.h"
#include "SceneClock.h"
#include "SceneFile.h"
#include "ScenePainter.h"

namespace {

void Join(RECT* into, const RECT& r)
{
    if (IsRectEmpty(&r))
        return;
    if (IsRectEmpty(into))
        *into = r;
    else
        UnionRect(into, into, &r);
}

bool Resolves(int code)
{
    CQVScenePainter* painter = GetAreaHost() != NULL ? GetAreaHost()->m_pScenePainter : NULL;
    if (painter == NULL)
        return false;
    return painter->GetAnchorPoint(code).x != kNoScenePosition;
}

}  // namespace

// ---- Base ---------------------------------------------------------------------------------------

CQVSceneItem::CQVSceneItem(int kind)
    : m_nKind(static_cast<uint8_t>(kind)), m_nRemoval(0), m_nState(1), m_nAnchor(0), m_x(0), m_y(0), m_rcPrev(),
      m_pName(NULL)
{
}

CQVSceneItem::~CQVSceneItem()
{
    if (m_pName != NULL) {
        if (CQVScenePainter* painter = Painter())
            painter->RemoveName(this);
    }
}

void CQVSceneItem::SetPathArray(const SceneWaypoint*, int, BOOL, DWORD) {}

BOOL CQVSceneItem::HitTest(int, int) { return FALSE; }

void CQVSceneItem::OnMouseMove(int, int, int) {}

RECT CQVSceneItem::TakePrevRect()
{
    const RECT r = m_rcPrev;
    SetRectEmpty(&m_rcPrev);
    return r;
}

void CQVSceneItem::SetState(int state, BOOL redraw)
{
    m_nState = static_cast<uint8_t>(state);
    OnStateChanged(redraw);
}

BOOL CQVSceneItem::SetNameText(LPCSTR text)
{
    if (text == NULL || *text == 0)
        return m_pName != NULL;
    std::string name;
    int state = -1;
    ParseItemName(text, &name, &state);
    if (state >= 0)
        SetState(state, TRUE);
    if (CQVScenePainter* painter = Painter()) {
        if (m_pName != NULL)
            painter->RemoveName(this);
        m_pName = painter->SetName(name.c_str(), this);
    }
    return m_pName != NULL;
}

LPCSTR CQVSceneItem::GetName() const { return m_pName != NULL ? m_pName->name.c_str() : NULL; }

BOOL CQVSceneItem::ParseBase(LPCSTR data, std::string* rest)
{
    int code = 0, x = 0, y = 0;
    if (data == NULL || !ParseItemBase(data, &code, &x, &y, rest))
        return FALSE;
    m_nAnchor = static_cast<uint8_t>(code);
    m_x = static_cast<int16_t>(x);
    m_y = static_cast<int16_t>(y);
    return TRUE;
}

CQVScenePainter* CQVSceneItem::Painter() { return GetAreaHost() != NULL ? GetAreaHost()->m_pScenePainter : NULL; }

BOOL CQVSceneItem::AreaPosition(int code, int x, int y, POINT* pt) const
{
    CQVScenePainter* painter = Painter();
    if (painter == NULL)
        return FALSE;
    const ScenePoint p = painter->GetAnchorPoint(code);
    if (p.x == kNoScenePosition && p.y == kNoScenePosition)
        return FALSE;
    pt->x = p.x + x;
    pt->y = p.y + y;
    return TRUE;
}

BOOL CQVSceneItem::FramePosition(POINT* pt) const
{
    if (!AreaPosition(m_nAnchor, m_x, m_y, pt))
        return FALSE;
    const CRect& area = Painter()->GetRect();
    pt->x += area.left;
    pt->y += area.top;
    return TRUE;
}

void CQVSceneItem::JoinPrev(const RECT& r) { Join(&m_rcPrev, r); }

void CQVSceneItem::Log(LPCSTR format, LPCSTR value) const
{
    if (IAreaHost* host = GetAreaHost()) {
        char line[600];
        snprintf(line, sizeof line, format, value != NULL ? value : "");
        host->WriteLog(line);
    }
}

CQVSceneItem* CreateSceneItemOfKind(char kind)
{
    switch (kind) {
    case 'P':
    case 'p': return new (std::nothrow) CQVScenePicture;
    case 'E':
    case 'e': return new (std::nothrow) CQVSceneEffect;
    case 'B':
    case 'b': return new (std::nothrow) CQVSceneButton;
    default: return NULL;
    }
}

// ---- Pictures -----------------------------------------------------------------------------------

CQVScenePicture::CQVScenePicture() : CQVSceneItem(kPicture), m_nMode(0), m_nAlpha(128), m_pPicture(NULL), m_pSecond(NULL)
{
}

BOOL CQVScenePicture::LoadData(LPCSTR data, LPCSTR draw, LPCSTR name, CEffectCache* cache)
{
    std::string rest;
    if (!ParseBase(data, &rest) || cache == NULL)
        return FALSE;
    m_pPicture = cache->FindOrLoad(rest.c_str());
    if (m_pPicture == NULL)
        return FALSE;
    if (draw != NULL && *draw != 0) {
        const PictureDraw d = ParsePictureDraw(draw);
        m_nMode = static_cast<uint8_t>(d.mode);
        m_nAlpha = static_cast<uint8_t>(d.alpha);
        if (!d.second.empty())
            m_pSecond = cache->FindOrLoad(d.second.c_str());
        COLORREF key;
        if ((m_nMode == 1 || m_nMode == 3) && !m_pPicture->GetBkColor(&key))
            m_pPicture->SetBkColorFromCorner();
    }
    if (name != NULL && *name != 0 && !SetNameText(name)) {
        Log("[LoadData] item name error ( %s )!", data);
        return FALSE;
    }
    return TRUE;
}

BOOL CQVScenePicture::FrameRect(RECT* r) const
{
    POINT pt;
    if (m_pPicture == NULL || !FramePosition(&pt))
        return FALSE;
    SetRect(r, pt.x, pt.y, pt.x + m_pPicture->GetWidth(), pt.y + m_pPicture->GetHeight());
    return TRUE;
}

void CQVScenePicture::Draw(CImageObj* dc, int ox, int oy)
{
    POINT pt;
    if (m_pPicture == NULL || m_nState == 0 || !AreaPosition(m_nAnchor, m_x, m_y, &pt))
        return;
    const int x = pt.x + ox, y = pt.y + oy;
    if (m_pSecond != NULL) {
        dc->DrawToImage(m_pPicture, m_pSecond, NULL, x, y);
        return;
    }
    switch (m_nMode) {
    case 2: dc->BlendDraw3(m_pPicture, NULL, x, y, m_nAlpha); break;
    case 3: dc->BlendDraw4(m_pPicture, NULL, x, y, m_nAlpha); break;
    case 4: dc->BlendDraw5(m_pPicture, NULL, x, y, m_nAlpha); break;
    default: dc->BlendDraw2(m_pPicture, NULL, x, y); break;
    }
}

void CQVScenePicture::OnStateChanged(BOOL redraw)
{
    RECT r;
    if (redraw && FrameRect(&r))
        m_rcPrev = r;
}

void CQVScenePicture::MoveBy(int dx, int dy, DWORD)
{
    if (m_pPicture == NULL || (dx == 0 && dy == 0))
        return;
    RECT before = {}, after = {};
    FrameRect(&before);
    m_x = static_cast<int16_t>(m_x + dx);
    m_y = static_cast<int16_t>(m_y + dy);
    FrameRect(&after);
    JoinPrev(before);
    JoinPrev(after);
}

void CQVScenePicture::MoveTo(int code, int x, int y, DWORD)
{
    if (m_pPicture == NULL || (code == m_nAnchor && x == m_x && y == m_y))
        return;
    if (!Resolves(m_nAnchor) || !Resolves(code))
        return;
    RECT before = {}, after = {};
    FrameRect(&before);
    m_nAnchor = static_cast<uint8_t>(code);
    m_x = static_cast<int16_t>(x);
    m_y = static_cast<int16_t>(y);
    if (m_nState != 0) {
        FrameRect(&after);
        JoinPrev(before);
        JoinPrev(after);
    }
}

void CQVScenePicture::SetPath(std::vector<SceneWaypoint>& points, BOOL take, BOOL, DWORD)
{
    if (take)
        points.clear();
}

RECT CQVScenePicture::Tick(int, int) { return TakePrevRect(); }

// ---- Buttons ------------------------------------------------------------------------------------

CQVSceneButton::CQVSceneButton()
    : CQVSceneItem(kButton), m_pPicture(NULL), m_pAlternate(NULL), m_pChannel(NULL), m_bAlternate(0),
      m_nFrameWidth(0), m_nHover(1), m_nDisabled(3), m_bEnabled(1), m_nPlain(2), m_nCount(4), m_nFrame(0),
      m_dwPress(0), m_dwHover(0)
{
}

BOOL CQVSceneButton::LoadData(LPCSTR data, LPCSTR draw, LPCSTR name, CEffectCache* cache)
{
    std::string rest;
    if (!ParseBase(data, &rest) || cache == NULL)
        return FALSE;
    // The strip is drawn keyed: the frame's transparent colour unless the
    // picture has a key of its own.
    m_pPicture = GetKeyedPicture(cache, rest.c_str());
    if (m_pPicture == NULL)
        return FALSE;
    const ButtonStrip strip = ParseButtonDraw(draw != NULL ? draw : "", m_pPicture->GetWidth());
    // The strip's numbers are 8-bit fields: a frame wider than 255 pixels
    // cannot be kept.
    if (strip.frameWidth > 255)
        return FALSE;
    m_nFrameWidth = static_cast<uint8_t>(strip.frameWidth);
    m_nHover = static_cast<uint8_t>(strip.hover);
    m_nDisabled = static_cast<uint8_t>(strip.disabled);
    m_nPlain = static_cast<uint8_t>(strip.plainCount);
    m_nCount = static_cast<uint8_t>(strip.frameCount);
    if (!strip.channel.empty())
        m_pChannel = cache->FindOrLoad(strip.channel.c_str());
    if (!strip.alternate.empty())
        m_pAlternate = GetKeyedPicture(cache, strip.alternate.c_str());
    if (name != NULL && *name != 0 && !SetNameText(name)) {
        Log("[LoadData] item name error ( %s )!", data);
        return FALSE;
    }
    return TRUE;
}

void CQVSceneButton::SetTips(LPCSTR tip, LPCSTR otherTip)
{
    m_strTip = tip != NULL ? tip : "";
    m_strOtherTip = otherTip != NULL ? otherTip : "";
}

BOOL CQVSceneButton::GetBox(RECT* box) const
{
    POINT pt;
    if (m_pPicture == NULL || !FramePosition(&pt))
        return FALSE;
    SetRect(box, pt.x, pt.y, pt.x + m_nFrameWidth, pt.y + m_pPicture->GetHeight());
    return TRUE;
}

void CQVSceneButton::RecordBox()
{
    RECT box;
    if (m_nState != 0 && GetBox(&box))
        JoinPrev(box);
}

void CQVSceneButton::SetEnabled(BOOL enabled)
{
    m_bEnabled = enabled ? 1 : 0;
    m_nFrame = m_bEnabled ? 0 : (m_nDisabled != 0 ? m_nDisabled : m_nCount);
    RecordBox();
}

void CQVSceneButton::SetAlternate(BOOL alternate)
{
    m_bAlternate = alternate ? 1 : 0;
    RecordBox();
}

void CQVSceneButton::OnStateChanged(BOOL redraw)
{
    if (m_nState != 0)
        m_nFrame = m_bEnabled ? 0 : (m_nDisabled != 0 ? m_nDisabled : m_nCount);
    RECT box;
    if (redraw && GetBox(&box))
        m_rcPrev = box;
}

BOOL CQVSceneButton::HitTest(int x, int y)
{
    CQVScenePainter* painter = Painter();
    if (m_nState == 0 || !m_bEnabled || m_dwPress != 0 || painter == NULL || painter->m_pPressedButton != NULL)
        return FALSE;
    RECT box;
    const POINT pt = {x, y};
    if (!GetBox(&box) || !PtInRect(&box, pt))
        return FALSE;
    m_dwHover = 0;
    m_nFrame = 0;
    m_dwPress = SceneTickCount();
    if (m_dwPress == 0)
        m_dwPress = 1;
    painter->m_pPressedButton = this;
    painter->m_dwPressTime = m_dwPress;
    return TRUE;
}

void CQVSceneButton::OnMouseMove(int x, int y, int flags)
{
    if (m_nState == 0 || !m_bEnabled || m_dwPress != 0 || (flags & (kLeftDown | kRightDown)) != 0)
        return;
    RECT box;
    if (!GetBox(&box))
        return;
    const POINT pt = {x, y};
    const bool inside = PtInRect(&box, pt) != FALSE;
    if (!inside && m_dwHover != 0 && m_nHover != 0) {
        m_nFrame = 0;
        m_dwHover = 0;
        JoinPrev(box);
    } else if (inside && m_dwHover == 0) {
        const CString& tip = m_bAlternate && !m_strOtherTip.IsEmpty() ? m_strOtherTip : m_strTip;
        if (!tip.IsEmpty() && GetAreaHost() != NULL)
            GetAreaHost()->UpdateTip(tip, box);
        if (m_nHover != 0) {
            m_nFrame = m_nHover;
            m_dwHover = SceneTickCount();
            if (m_dwHover == 0)
                m_dwHover = 1;
            JoinPrev(box);
        }
    }
}

void CQVSceneButton::Draw(CImageObj* dc, int ox, int oy)
{
    POINT pt;
    if (m_nState == 0 || m_pPicture == NULL || !AreaPosition(m_nAnchor, m_x, m_y, &pt))
        return;
    const CImageObj* picture = m_bAlternate && m_pAlternate != NULL ? m_pAlternate : m_pPicture;
    const RECT source = {m_nFrame * m_nFrameWidth, 0, (m_nFrame + 1) * m_nFrameWidth, picture->GetHeight()};
    if (source.left >= picture->GetWidth())
        return;
    if (m_pChannel != NULL)
        CFrameAnimation::DrawOne(dc, picture, m_pChannel, 0, pt.x + ox, pt.y + oy, 255, &source);
    else
        dc->BlendDraw2(picture, &source, pt.x + ox, pt.y + oy);
}

void CQVSceneButton::MoveBy(int dx, int dy, DWORD)
{
    if (m_pPicture == NULL || (dx == 0 && dy == 0))
        return;
    RECT before = {}, after = {};
    GetBox(&before);
    m_x = static_cast<int16_t>(m_x + dx);
    m_y = static_cast<int16_t>(m_y + dy);
    GetBox(&after);
    JoinPrev(before);
    JoinPrev(after);
}

void CQVSceneButton::MoveTo(int code, int x, int y, DWORD)
{
    if (m_pPicture == NULL || (code == m_nAnchor && x == m_x && y == m_y))
        return;
    if (!Resolves(m_nAnchor) || !Resolves(code))
        return;
    RECT before = {}, after = {};
    GetBox(&before);
    m_nAnchor = static_cast<uint8_t>(code);
    m_x = static_cast<int16_t>(x);
    m_y = static_cast<int16_t>(y);
    if (m_nState != 0) {
        GetBox(&after);
        JoinPrev(before);
        JoinPrev(after);
    }
}

void CQVSceneButton::SetPath(std::vector<SceneWaypoint>& points, BOOL take, BOOL, DWORD)
{
    if (take)
        points.clear();
}

RECT CQVSceneButton::Tick(int, int)
{
    CQVScenePainter* painter = Painter();
    if (m_dwPress == 0 || painter == NULL)
        return TakePrevRect();
    const int interval = painter->m_nPressInterval > 0 ? painter->m_nPressInterval : 1;
    const DWORD step = (SceneTickCount() - m_dwPress) / static_cast<DWORD>(interval);
    const bool done = step >= m_nPlain;
    int frame = 0;
    if (!done) {
        frame = static_cast<int>(step);
        if (m_nHover != 0 && frame >= m_nHover)
            frame++;
        if (m_nDisabled != 0 && frame >= m_nDisabled)
            frame++;
    }
    if (frame != m_nFrame) {
        m_nFrame = static_cast<uint8_t>(frame);
        RECT box;
        if (GetBox(&box))
            JoinPrev(box);
    }
    if (done) {
        m_dwPress = 0;
        if (painter->m_pPressedButton == this) {
            painter->m_pPressedButton = NULL;
            painter->m_dwPressTime = 0;
        }
        if (GetAreaHost() != NULL)
            GetAreaHost()->OnSceneButton(GetName(), this);
    }
    return TakePrevRect();
}

// ---- Effects ------------------------------------------------------------------------------------

CQVSceneEffect::CQVSceneEffect() : CQVSceneItem(kEffect), m_dwStart(0) {}

CQVSceneEffect::~CQVSceneEffect()
{
    // The animation must not point at the definition once it is freed.
    m_animation.SetDefinition(NULL, CFrameAnimation::PictureLookup());
}

BOOL CQVSceneEffect::LoadData(LPCSTR data, LPCSTR, LPCSTR name, CEffectCache* cache)
{
    std::string rest;
    if (!ParseBase(data, &rest)) {
        Log("[LoadData] item error ( %s )!", data);
        return FALSE;
    }
    const EffectDefinition* def = cache != NULL ? cache->Get(rest.c_str()) : NULL;
    if (def == NULL) {
        Log("[LoadData] effect name error ( %s )!", rest.c_str());
        return FALSE;
    }
    // Frames drawn keyed use the frame's transparent colour unless their
    // picture has a key of its own.
    m_animation.SetDefinition(def, [cache](const std::string& picture) { return GetKeyedPicture(cache, picture.c_str()); });
    m_animation.SetTrackChanges(FALSE);
    if (name != NULL && *name != 0 && !SetNameText(name)) {
        Log("[LoadData] item name error ( %s )!", data);
        return FALSE;
    }
    if (m_nState != 0 && !m_animation.IsPlaying())
        m_animation.Start();
    return TRUE;
}

void CQVSceneEffect::Draw(CImageObj* dc, int, int)
{
    if (m_nState != 0)
        m_animation.DrawStates(dc);
}

void CQVSceneEffect::OnStateChanged(BOOL redraw)
{
    if (m_nState != 0) {
        m_animation.Start();
        return;
    }
    if (redraw) {
        const RECT bounds = m_animation.GetBounds();
        m_animation.Stop();
        if (!IsRectEmpty(&bounds))
            m_rcPrev = bounds;
    } else {
        m_animation.Stop();
    }
}

RECT CQVSceneEffect::UpdateAt(int ox, int oy)
{
    POINT pt;
    RECT none = {};
    if (!AreaPosition(m_nAnchor, m_x, m_y, &pt))
        return none;
    return m_animation.Update(pt.x + ox, pt.y + oy);
}

RECT CQVSceneEffect::Tick(int ox, int oy)
{
    RECT result = {};
    if (m_nState == 0)
        return TakePrevRect();
    if (m_dwStart & kPathDone) {
        m_dwStart = 0;
        m_path.clear();
        return result;
    }
    if (m_path.empty() || m_dwStart == 0) {
        if (m_animation.IsPlaying()) {
            result = UpdateAt(ox, oy);
        } else {
            m_nState = 0;
            m_animation.SetDefinition(m_animation.GetDefinition(), CFrameAnimation::PictureLookup());
        }
        m_rcPrev = result;
        return result;
    }
    std::vector<PathPoint> points;
    for (const SceneWaypoint& w : m_path) {
        POINT p = {};
        AreaPosition(w.code, w.x, w.y, &p);
        points.push_back({static_cast<int>(p.x), static_cast<int>(p.y), w.duration});
    }
    const PathPosition at = PathPositionAt(points, SceneTickCount() - m_dwStart);
    const SceneWaypoint& w = m_path[at.segment];
    POINT anchor = {};
    AreaPosition(w.code, 0, 0, &anchor);
    m_nAnchor = w.code;
    m_x = static_cast<int16_t>(at.x - anchor.x);
    m_y = static_cast<int16_t>(at.y - anchor.y);
    if (at.done) {
        m_x = w.x;
        m_y = w.y;
        m_dwStart |= kPathDone;
    }
    result = UpdateAt(ox, oy);
    m_rcPrev = result;
    return result;
}

BOOL CQVSceneEffect::HitTest(int x, int y)
{
    if (m_nState == 0 || !m_animation.IsPlaying() || m_pName == NULL)
        return FALSE;
    if (!m_animation.HitTest(x, y))
        return FALSE;
    if (GetAreaHost() != NULL)
        GetAreaHost()->OnSceneEffectHit(GetName(), this);
    return TRUE;
}

void CQVSceneEffect::BuildPath(const SceneWaypoint* points, size_t count, BOOL fromHere, DWORD back)
{
    m_path.clear();
    const SceneWaypoint here = {m_nAnchor, m_x, m_y, 0};
    if (fromHere)
        m_path.push_back(here);
    for (size_t i = 0; i < count; i++) {
        if (Resolves(points[i].code))
            m_path.push_back(points[i]);
    }
    if (back > 0) {
        SceneWaypoint home = here;
        home.duration = back;
        m_path.push_back(home);
    }
    if (m_path.size() > 1) {
        m_dwStart = SceneTickCount();
        if (m_dwStart == 0 || (m_dwStart & kPathDone))
            m_dwStart = (m_dwStart & ~kPathDone) | 1;
    }
}

void CQVSceneEffect::SetPath(std::vector<SceneWaypoint>& points, BOOL take, BOOL fromHere, DWORD back)
{
    const std::vector<SceneWaypoint> copy = points;
    if (take)
        points.clear();
    BuildPath(copy.data(), copy.size(), fromHere, back);
}

void CQVSceneEffect::SetPathArray(const SceneWaypoint* points, int count, BOOL fromHere, DWORD back)
{
    BuildPath(points, points != NULL && count > 0 ? static_cast<size_t>(count) : 0, fromHere, back);
}

void CQVSceneEffect::MoveBy(int dx, int dy, DWORD duration)
{
    if (dx == 0 && dy == 0)
        return;
    if (duration != 0) {
        const SceneWaypoint to = {m_nAnchor, static_cast<int16_t>(m_x + dx), static_cast<int16_t>(m_y + dy), duration};
        BuildPath(&to, 1, TRUE, 0);
        return;
    }
    if (!Resolves(m_nAnchor) || Painter() == NULL)
        return;
    const RECT before = m_animation.GetBounds();
    m_x = static_cast<int16_t>(m_x + dx);
    m_y = static_cast<int16_t>(m_y + dy);
    if (m_nState != 0) {
        const CRect& area = Painter()->GetRect();
        JoinPrev(before);
        JoinPrev(UpdateAt(area.left, area.top));
    }
}

void CQVSceneEffect::MoveTo(int code, int x, int y, DWORD duration)
{
    if (code == m_nAnchor && x == m_x && y == m_y)
        return;
    if (duration != 0) {
        if (!Resolves(code))
            return;
        const SceneWaypoint to = {static_cast<uint8_t>(code), static_cast<int16_t>(x), static_cast<int16_t>(y),
                                  duration};
        BuildPath(&to, 1, TRUE, 0);
        return;
    }
    if (!Resolves(m_nAnchor) || !Resolves(code) || Painter() == NULL)
        return;
    const RECT before = m_animation.GetBounds();
    m_nAnchor = static_cast<uint8_t>(code);
    m_x = static_cast<int16_t>(x);
    m_y = static_cast<int16_t>(y);
    if (m_nState != 0) {
        const CRect& area = Painter()->GetRect();
        JoinPrev(before);
        JoinPrev(UpdateAt(area.left, area.top));
    }
}

void CQVSceneEffect::StopPath()
{
    if (m_path.empty() || m_dwStart == 0)
        return;
    m_dwStart = 0;
    m_path.clear();
    m_rcPrev = m_animation.GetBounds();
}

CQVSceneEffect* CQVSceneEffect::CreateTextEffectItem(LPCSTR text, const LOGFONT& font, COLORREF colour, DWORD fade)
{
    IAreaHost* host = GetAreaHost();
    if (host == NULL || text == NULL)
        return NULL;
    std::unique_ptr<CImageObj> picture(host->MakeTextPicture(text, font, colour, TRUE));
    if (!picture)
        return NULL;
    std::unique_ptr<EffectDefinition> def(new (std::nothrow) EffectDefinition);
    std::unique_ptr<CQVSceneEffect> item(new (std::nothrow) CQVSceneEffect);
    if (!def || !item)
        return NULL;
    EffectLayer layer;
    EffectFrame frame;
    frame.picture = "text";
    frame.mode = 1;
    if (fade != 0) {
        layer.opacityMode = 2;
        layer.stopMode = 4;
        layer.stopSecond = 1;
        layer.low = 0;
        layer.high = 255;
        const DWORD step = fade / 255 + (fade % 255 != 0 ? 1 : 0);
        layer.step = static_cast<uint16_t>(step > 0xFFFF ? 0xFFFF : step);
        frame.mode = 2;
    }
    layer.frames.push_back(frame);
    def->layers.push_back(layer);
    CImageObj* raw = picture.get();
    item->m_animation.SetDefinition(def.get(), [raw](const std::string&) { return raw; });
    item->m_animation.SetTrackChanges(FALSE);
    item->m_pOwnDefinition = std::move(def);
    item->m_pOwnPicture = std::move(picture);
    item->m_animation.Start();
    return item.release();
}
