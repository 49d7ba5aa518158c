// ScenePainter.cpp - see ScenePainter.h.
#include "ScenePainter.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <new>

#include "AreaHost.h"
#include "ChatBalloonWnd.h"
#include "EffectCache.h"
#include "ImageObj.h"
#include "SceneClock.h"
#include "SceneItem.h"
#include "app/GameApp.h"
#include "store/QVIniFile.h"

namespace {

class IniSceneKeys : public ISceneKeys
{
public:
    explicit IniSceneKeys(CQVIniFile& ini) : m_ini(ini) {}
    std::string Read(const char* section, const char* key) override
    {
        char buffer[260] = "";
        m_ini.GetString(section, key, "", buffer, sizeof buffer);
        return buffer;
    }

private:
    CQVIniFile& m_ini;
};

std::string ReadKey(CQVIniFile* ini, const char* section, const char* key)
{
    char buffer[260] = "";
    ini->GetString(section, key, "", buffer, sizeof buffer);
    return buffer;
}

int CompareNames(const std::string& a, const std::string& b)
{
    return strcmp(a.c_str(), b.c_str());   // strcmp compares as unsigned char
}

std::string Trim(const char* text)
{
    std::string s = text != NULL ? text : "";
    const size_t first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return std::string();
    const size_t last = s.find_last_not_of(" \t\r\n");
    return s.substr(first, last - first + 1);
}

}  // namespace

CQVScenePainter::CQVScenePainter()
    : CBkPainter(kTypeScene), m_pPressedButton(NULL), m_dwPressTime(0), m_nPressInterval(80),
      m_pCache(new (std::nothrow) CEffectCache)
{
}

CQVScenePainter::~CQVScenePainter()
{
    EmptyScene();
    m_dirty.ClearDirty();
    // Items the game still holds outside the layers keep no entry of a
    // painter that is gone.
    for (SceneNameEntry* entry : m_names) {
        entry->item->ForgetName();
        delete entry;
    }
    m_names.clear();
    if (IAreaHost* host = GetAreaHost()) {
        if (host->m_pScenePainter == this)
            host->m_pScenePainter = NULL;
    }
}

void CQVScenePainter::Log(LPCSTR format, LPCSTR value)
{
    if (IAreaHost* host = GetAreaHost()) {
        char line[600];
        snprintf(line, sizeof line, format, value != NULL ? value : "");
        host->WriteLog(line);
    }
}

// ---- Scenes -------------------------------------------------------------------------------------

BOOL CQVScenePainter::ReadSceneInfo(CQVIniFile* ini, LPCSTR section)
{
    m_sceneNames.clear();
    if (ini == NULL || section == NULL)
        return TRUE;
    const int count = ini->GetInt(section, "scenecnt", 0);
    // A single scene is loaded but not listed.
    if (count == 1) {
        m_strFirstScene = ReadKey(ini, section, "SceneName1");
        return TRUE;
    }
    for (int i = 1; i <= count && i <= 1000; i++) {
        char key[32];
        snprintf(key, sizeof key, "SceneName%d", i);
        const std::string name = ReadKey(ini, section, key);
        if (!name.empty())
            m_sceneNames.push_back(name);
    }
    if (m_sceneNames.size() < 2)
        m_sceneNames.clear();
    m_strFirstScene = m_sceneNames.empty() ? std::string() : m_sceneNames[0];
    return TRUE;
}

BOOL CQVScenePainter::LoadFirstScene()
{
    if (m_strFirstScene.empty())
        return TRUE;
    return LoadScene(NULL, m_strFirstScene.c_str());
}

BOOL CQVScenePainter::LoadScene(CQVIniFile* given, LPCSTR name)
{
    IAreaHost* host = GetAreaHost();
    const std::string app = host != NULL ? std::string(host->GetAppPath()) : std::string();
    CQVIniFile own;
    CQVIniFile* ini = given;
    std::string path;
    if (name != NULL) {
        path = app + name + ".scn";
        if (!own.LoadFile(path.c_str())) {
            Log("[LoadScene] load inifile %s failed!", path.c_str());
            return FALSE;
        }
        ini = &own;
    } else if (ini != NULL) {
        path = ini->GetFileName();
    }
    if (ini == NULL)
        return FALSE;

    std::string pack;
    for (const char* key : {"scene", "neverclose", "bk"}) {
        pack = ReadKey(ini, "pack", key);
        if (!pack.empty())
            break;
    }
    if (pack.empty())
        pack = "picture";
    const std::string packPath = app + pack;
    // The new pack is opened beside the old one: when it fails, the scene
    // shown stays whole.
    std::unique_ptr<CEffectCache> cache(new (std::nothrow) CEffectCache);
    if (!cache || cache->Open(packPath.c_str()) != CImageCache::kOpened) {
        Log("[LoadScene] load scene packfile %s failed!", packPath.c_str());
        return FALSE;
    }
    EmptyScene();
    m_pCache = std::move(cache);
    if (!InitLoadScene(ini)) {
        Log("[LoadScene] InitLoadScene(%s) failed!", packPath.c_str());
        return FALSE;
    }
    m_strSceneFile = path;
    return TRUE;
}

void CQVScenePainter::DeleteItem(CQVSceneItem* item)
{
    if (item->GetNameEntry() != NULL) {
        RemoveName(item);
        item->ForgetName();
    }
    delete item;
}

void CQVScenePainter::EmptyScene()
{
    for (CChatBalloonWnd* balloon : m_balloons) {
        if (balloon != NULL) {
            balloon->DestroyWindow();
            delete balloon;
        }
    }
    m_balloons.clear();
    m_avatarPos.clear();
    m_namePos.clear();
    m_pPressedButton = NULL;
    m_dwPressTime = 0;
    for (Layer* layer : m_layers) {
        for (CQVSceneItem* item : layer->items)
            DeleteItem(item);
        delete layer;
    }
    m_layers.clear();
    m_dirty.ClearDirty();
}

BOOL CQVScenePainter::InitLoadScene(CQVIniFile* ini)
{
    EmptyScene();
    if (ini == NULL)
        return FALSE;
    IniSceneKeys keys(*ini);
    ParseSceneFile(keys, &m_scene);
    m_balloons.assign(m_scene.balloons.size(), NULL);
    for (const SceneLayerDef& def : m_scene.layers) {
        Layer* layer = new (std::nothrow) Layer;
        if (layer == NULL)
            continue;
        layer->kind = def.kind;
        LoadLayerItems(layer, def);
        m_layers.push_back(layer);
    }
    Layout();
    return OnSceneLoaded(ini);
}

CQVSceneItem* CQVScenePainter::MakeItem(char kind, const std::string& data, const std::string& draw,
                                        const std::string& name, const std::string& tip, const std::string& otherTip)
{
    CQVSceneItem* item = CreateSceneItemOfKind(kind);
    if (item == NULL)
        return NULL;
    if (!item->LoadData(data.c_str(), draw.c_str(), name.c_str(), m_pCache.get())) {
        delete item;
        return NULL;
    }
    if (item->GetKind() == CQVSceneItem::kButton)
        static_cast<CQVSceneButton*>(item)->SetTips(tip.c_str(), otherTip.c_str());
    return item;
}

void CQVScenePainter::LoadLayerItems(Layer* layer, const SceneLayerDef& def)
{
    for (const SceneItemLine& line : def.items) {
        if (CQVSceneItem* item = MakeItem(line.kind, line.data, line.draw, line.name, line.tip, line.otherTip))
            layer->items.push_back(item);
    }
}

// ---- Layout and drawing --------------------------------------------------------------------------

ScenePoint CQVScenePainter::GetAnchorPoint(int code) const
{
    return ResolveSceneAnchor(code, m_rect.Width(), m_rect.Height(), m_avatarPos, m_namePos);
}

ScenePoint CQVScenePainter::GetAvatarPosition(int seat) const
{
    return seat >= 0 && seat < GetAvatarCount() ? m_avatarPos[static_cast<size_t>(seat)]
                                                  : ScenePoint{kNoScenePosition, kNoScenePosition};
}

ScenePoint CQVScenePainter::GetNamePosition(int seat) const
{
    return seat >= 0 && seat < GetNameCount() ? m_namePos[static_cast<size_t>(seat)]
                                                : ScenePoint{kNoScenePosition, kNoScenePosition};
}

void CQVScenePainter::Layout()
{
    m_dirty.SetAreaRect(m_rect);
    const std::vector<ScenePoint> none;
    m_avatarPos.clear();
    for (const SceneAnchor& a : m_scene.avatars) {
        const ScenePoint p = ResolveSceneAnchor(a.code, m_rect.Width(), m_rect.Height(), none, none);
        m_avatarPos.push_back({p.x + a.x, p.y + a.y});
    }
    m_namePos.clear();
    for (const SceneAnchor& a : m_scene.names) {
        ScenePoint p = ResolveSceneAnchor(0, m_rect.Width(), m_rect.Height(), none, none);
        if (a.code >= 16 && static_cast<size_t>(a.code - 16) < m_avatarPos.size())
            p = m_avatarPos[static_cast<size_t>(a.code - 16)];
        else if (a.code >= 1 && a.code <= 8)
            p = ResolveSceneAnchor(a.code, m_rect.Width(), m_rect.Height(), none, none);
        m_namePos.push_back({p.x + a.x, p.y + a.y});
    }
    for (Layer* layer : m_layers) {
        if (layer->kind >= 4) {
            for (CQVSceneItem* item : layer->items)
                item->TakePrevRect();
        }
    }
}

SIZE CQVScenePainter::GetAvatarBox() const
{
    IAreaHost* host = GetAreaHost();
    const int dw = host != NULL ? host->GetAvatarWidth() : IAreaHost::kAvatarWidth;
    const int dh = host != NULL ? host->GetAvatarHeight() : IAreaHost::kAvatarHeight;
    SIZE box = {std::min<int>(m_scene.avatarWidth, dw), std::min<int>(m_scene.avatarHeight, dh)};
    return box;
}

BOOL CQVScenePainter::DrawContent(CImageObj* dc)
{
    if (dc == NULL)
        return FALSE;
    const POINT origin = dc->GetOrigin();
    dc->SetOrigin(origin.x + m_rect.left, origin.y + m_rect.top);
    for (size_t i = 0; i < m_layers.size(); i++) {
        Layer* layer = m_layers[i];
        if (layer->kind >= 4)
            break;
        switch (layer->kind) {
        case 0: DrawLayerItems(layer, dc, 0, 0); break;
        case 1:
        case 2:
            if (!m_avatarPos.empty())
                DrawAvatars(dc, layer->kind == 2);
            break;
        case 3: DrawNames(dc); break;
        default: break;
        }
        OnLayerDrawn(static_cast<int>(i), dc);
    }
    dc->SetOrigin(origin.x, origin.y);
    return TRUE;
}

void CQVScenePainter::DrawLayerItems(Layer* layer, CImageObj* dc, int ox, int oy)
{
    for (CQVSceneItem* item : layer->items)
        item->Draw(dc, ox, oy);
}

void CQVScenePainter::DrawAvatars(CImageObj* dc, BOOL names)
{
    IAreaHost* host = GetAreaHost();
    if (host == NULL || m_scene.avatarWidth < 11 || m_scene.avatarHeight < 11)
        return;
    const SIZE box = GetAvatarBox();
    const int dw = host->GetAvatarWidth(), dh = host->GetAvatarHeight();
    RECT source;
    source.left = (dw - box.cx) / 2;
    source.top = m_scene.avatarTop;
    if (source.top + box.cy > dh)
        source.top = dh - box.cy;
    if (source.top < 0)
        source.top = 0;
    source.right = source.left + box.cx;
    source.bottom = source.top + box.cy;
    for (size_t i = 0; i < m_avatarPos.size(); i++) {
        CGamePlayer* player = host->GetPlayer(static_cast<int>(i));
        if (player == NULL || player->m_nValue == 0)
            continue;
        CImageObj* picture = host->GetAvatarPicture(player->m_pszUserName);
        if (picture != NULL && !picture->IsEmpty()) {
            const int x = m_avatarPos[i].x - box.cx / 2, y = m_avatarPos[i].y - box.cy / 2;
            CImageObj stretched;
            const CImageObj* shown = picture;
            RECT src = source;
            if (m_scene.stretch && (picture->GetWidth() != box.cx || picture->GetHeight() != box.cy)) {
                const RECT dst = {0, 0, box.cx, box.cy};
                if (stretched.Create(box.cx, box.cy, 24) && stretched.StretchToDCEx(picture, NULL, &dst)) {
                    COLORREF key;
                    if (picture->GetBkColor(&key))
                        stretched.SetBkColor(key);
                    shown = &stretched;
                    src = dst;
                }
            }
            if (player->m_nValue == 1)
                dc->BlendDraw2(shown, &src, x, y);
            else
                dc->BlendDraw4(shown, &src, x, y, 128);
        }
        if (names && i < m_namePos.size())
            DrawName(dc, static_cast<int>(i), player);
    }
}

BOOL CQVScenePainter::DrawNames(CImageObj* dc)
{
    IAreaHost* host = GetAreaHost();
    BOOL drew = FALSE;
    for (size_t i = 0; host != NULL && i < m_namePos.size(); i++) {
        CGamePlayer* player = host->GetPlayer(static_cast<int>(i));
        if (player == NULL || player->m_nValue == 0)
            continue;
        DrawName(dc, static_cast<int>(i), player);
        drew = TRUE;
    }
    return drew;
}

void CQVScenePainter::DrawName(CImageObj* dc, int index, CGamePlayer* player)
{
    IAreaHost* host = GetAreaHost();
    if (host == NULL || player == NULL || index < 0 || index >= GetNameCount())
        return;
    const int w = m_scene.nameWidth, h = m_scene.nameHeight;
    // A box of no width or height cannot be drawn.
    if (w <= 0 || h <= 0)
        return;
    const std::string text = FormatSceneName(m_scene.nameFormat, player->m_pszUserName ? player->m_pszUserName : "",
                                             player->m_pszNickName ? player->m_pszNickName : "");
    CDC* frameDC = host->GetHostDC();
    HDC screen = frameDC != NULL ? frameDC->GetSafeHdc() : ::GetDC(NULL);
    const int boxHeight = 2 * h + 1;
    HDC mem = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = mem != NULL ? ::CreateCompatibleBitmap(screen, w, boxHeight) : NULL;
    if (bitmap != NULL) {
        HGDIOBJ oldBitmap = ::SelectObject(mem, bitmap);
        const COLORREF transparent = host->GetTransparentColor();
        RECT box = {0, 0, w, boxHeight};
        HBRUSH brush = ::CreateSolidBrush(transparent);
        ::FillRect(mem, &box, brush);
        ::DeleteObject(brush);
        LOGFONT lf = {};
        lf.lfHeight = -h;
        lf.lfWeight = m_scene.font.bold ? 900 : 0;
        lf.lfItalic = m_scene.font.italic ? 1 : 0;
        lstrcpynA(lf.lfFaceName, m_scene.font.face.c_str(), LF_FACESIZE);
        HFONT font = ::CreateFontIndirect(&lf);
        HGDIOBJ oldFont = font != NULL ? ::SelectObject(mem, font) : NULL;
        ::SetBkMode(mem, TRANSPARENT);
        ::SetTextColor(mem, m_scene.nameColour);
        if (!m_scene.nameBoxFlag) {
            std::string lines[2] = {text, std::string()};
            const size_t brk = text.find('\n', 1);
            int count = 1;
            if (brk != std::string::npos && brk >= 1) {
                lines[0] = text.substr(0, brk);
                lines[1] = text.substr(brk + 1);
                count = 2;
            }
            for (int k = 0; k < count; k++) {
                SIZE extent = {};
                ::GetTextExtentPoint32A(mem, lines[k].c_str(), static_cast<int>(lines[k].size()), &extent);
                RECT r = box;
                if (k == 1)
                    OffsetRect(&r, 0, h + 1);
                const UINT format = (extent.cx <= w ? DT_CENTER : DT_LEFT) | DT_NOPREFIX;
                ::DrawTextA(mem, lines[k].c_str(), static_cast<int>(lines[k].size()), &r, format);
            }
        } else {
            ::DrawTextA(mem, text.c_str(), static_cast<int>(text.size()), &box, DT_NOPREFIX);
        }
        if (oldFont != NULL)
            ::SelectObject(mem, oldFont);
        if (font != NULL)
            ::DeleteObject(font);
        ::SelectObject(mem, oldBitmap);
        CImageObj picture;
        if (picture.LoadFromBitmap(bitmap, 24)) {
            picture.SetBkColor(transparent);
            const ScenePoint p = m_namePos[static_cast<size_t>(index)];
            dc->BlendDraw2(&picture, NULL, p.x, p.y);
            OnNameDrawn(player->m_pszUserName, dc, p.x, p.y);
        }
        ::DeleteObject(bitmap);
    }
    if (mem != NULL)
        ::DeleteDC(mem);
    if (frameDC != NULL)
        host->ReleaseHostDC(frameDC);
    else
        ::ReleaseDC(NULL, screen);
}

void CQVScenePainter::DrawOverlay(CImageObj* dc) { DrawOverlayRect(dc, m_rect); }

void CQVScenePainter::DrawOverlayRect(CImageObj* dc, const RECT& clip)
{
    if (!m_bVisible || dc == NULL)
        return;
    const RECT previous = dc->GetClipRect();
    RECT r = clip;
    if (!IsRectEmpty(&previous) && !IntersectRect(&r, &clip, &previous))
        return;
    dc->SetClipRect(&r);
    size_t first = 0;
    while (first < m_layers.size() && m_layers[first]->kind < 4)
        first++;
    for (size_t i = first; i < m_layers.size(); i++) {
        if (m_layers[i]->kind == 6)
            continue;
        DrawLayerItems(m_layers[i], dc, m_rect.left, m_rect.top);
        OnLayerDrawn(static_cast<int>(i), dc);
    }
    dc->SetClipRect(IsRectEmpty(&previous) ? NULL : &previous);
}

void CQVScenePainter::DrawOverlayDirty(CImageObj* dc)
{
    if (dc == NULL)
        return;
    const CQVRectList* previous = dc->GetSource();
    dc->SetSource(&m_dirty);
    DrawOverlayRect(dc, m_rect);
    dc->SetSource(previous);
}

// ---- Mouse ----------------------------------------------------------------------------------------

void CQVScenePainter::OnMouseDown(int x, int y)
{
    if (IAreaHost* host = GetAreaHost())
        host->m_pPressedArea = this;
    for (size_t i = m_layers.size(); i-- > 0;) {
        if (m_layers[i]->kind == 4 && HitTestLayer(static_cast<int>(i), x, y))
            break;
    }
}

void CQVScenePainter::OnMouseMove(int x, int y)
{
    IAreaHost* host = GetAreaHost();
    int flags = 0;
    if (::GetKeyState(VK_LBUTTON) < 0)
        flags |= CQVSceneItem::kLeftDown;
    if (::GetKeyState(VK_RBUTTON) < 0)
        flags |= CQVSceneItem::kRightDown;
    if (host != NULL && host->m_pPressedArea == this)
        flags |= CQVSceneItem::kMouseOwner;
    for (size_t i = m_layers.size(); i-- > 0;) {
        Layer* layer = m_layers[i];
        if (layer->kind != 4)
            continue;
        for (size_t k = layer->items.size(); k-- > 0;)
            layer->items[k]->OnMouseMove(x, y, flags);
        OnLayerMouseMove(static_cast<int>(i), x, y, flags);
    }
}

void CQVScenePainter::OnLayerDrawn(int, CImageObj*) {}

BOOL CQVScenePainter::HitTestLayer(int index, int x, int y)
{
    Layer* layer = m_layers[static_cast<size_t>(index)];
    for (size_t k = layer->items.size(); k-- > 0;) {
        if (layer->items[k]->HitTest(x, y))
            return TRUE;
    }
    return FALSE;
}

void CQVScenePainter::OnLayerMouseMove(int, int, int, int) {}

BOOL CQVScenePainter::OnLayerButton(int, int, int) { return FALSE; }

BOOL CQVScenePainter::OnSceneLoaded(CQVIniFile*) { return TRUE; }

int CQVScenePainter::OnItemExpired(CQVSceneItem*) { return 0; }

void CQVScenePainter::OnNameDrawn(LPCSTR, CImageObj*, int, int) {}

// ---- Ticks ------------------------------------------------------------------------------------------

void CQVScenePainter::OnTick(BOOL redraw)
{
    if (m_pPressedButton != NULL && m_dwPressTime != 0 && SceneTickCount() - m_dwPressTime > 3000) {
        m_pPressedButton = NULL;
        m_dwPressTime = 0;
    }
    if (redraw)
        m_dirty.ClearDirty();
    for (Layer* layer : m_layers) {
        if (layer->kind < 4)
            continue;
        for (size_t k = layer->items.size(); k-- > 0;) {
            CQVSceneItem* item = layer->items[k];
            const RECT previous = item->TakePrevRect();
            if (!IsRectEmpty(&previous))
                m_dirty.AddDirtyRect(previous);
            const RECT now = item->Tick(m_rect.left, m_rect.top);
            if (!IsRectEmpty(&now)) {
                m_dirty.AddDirtyRect(now);
                continue;
            }
            if (item->GetState() != 0 || item->GetRemoval() == 0)
                continue;
            int removal = item->GetRemoval();
            if (item->GetKind() == CQVSceneItem::kEffect) {
                const int answer = OnItemExpired(item);
                if (answer != 0)
                    removal = answer;
            }
            if (removal >= 1) {
                layer->items.erase(layer->items.begin() + static_cast<std::ptrdiff_t>(k));
                if (static_cast<CQVSceneItem*>(m_pPressedButton) == item) {
                    m_pPressedButton = NULL;
                    m_dwPressTime = 0;
                }
                if (removal > 1)
                    DeleteItem(item);
            }
        }
    }
    if (redraw && m_dirty.GetBandCount() > 0) {
        if (IAreaHost* host = GetAreaHost())
            host->RedrawDirty(&m_dirty);
    }
}

// ---- Balloons ---------------------------------------------------------------------------------------

CChatBalloonWnd* CQVScenePainter::GetBalloon(int seat) const
{
    return seat >= 0 && static_cast<size_t>(seat) < m_balloons.size() ? m_balloons[static_cast<size_t>(seat)] : NULL;
}

void CQVScenePainter::ShowBalloon(int index, LPCSTR text)
{
    const std::string trimmed = Trim(text);
    if (trimmed.empty() || index < 0 || static_cast<size_t>(index) >= m_scene.balloons.size())
        return;
    const SceneBalloonDef& def = m_scene.balloons[static_cast<size_t>(index)];
    ScenePoint base;
    if (def.code >= 48)
        base = GetNamePosition(def.code - 48);
    else if (def.code >= 16)
        base = GetAvatarPosition(def.code - 16);
    else if (def.code <= 8)
        base = GetAnchorPoint(def.code);
    else
        return;
    if (base.x == kNoScenePosition && base.y == kNoScenePosition)
        return;
    IAreaHost* host = GetAreaHost();
    CChatBalloonWnd*& balloon = m_balloons[static_cast<size_t>(index)];
    if (balloon == NULL) {
        std::unique_ptr<CChatBalloonWnd> made(new (std::nothrow) CChatBalloonWnd);
        if (!made || !made->Create(AfxGetMainWnd()))
            return;
        made->SetHideTime(host != NULL ? host->m_nBalloonTime : 5000);
        balloon = made.release();
    }
    balloon->SetTail(16, 8);
    balloon->SetMinSize(70, 45);
    balloon->SetSize(126, 100);
    balloon->SetAlpha(60);
    balloon->SelectFont(0);
    // Seat positions are relative to the area; the balloon's points are in
    // the frame's client coordinates.
    const int bx = base.x + m_rect.left, by = base.y + m_rect.top;
    balloon->Show(trimmed.c_str(), bx + def.ax, by + def.ay, bx + def.tx, by + def.ty, def.mode);
}

void CQVScenePainter::ClearPending()
{
    m_pPressedButton = NULL;
    m_dwPressTime = 0;
}

// ---- Names and run-time items -----------------------------------------------------------------------

SceneNameEntry* CQVScenePainter::SetName(LPCSTR name, CQVSceneItem* item)
{
    if (name == NULL || *name == 0)
        return NULL;
    if (FindNamedItem(name) != NULL)
        Log("[SetName]  que item name( %s )!", name);
    SceneNameEntry* entry = new (std::nothrow) SceneNameEntry{item, name};
    if (entry == NULL)
        return NULL;
    auto at = std::upper_bound(m_names.begin(), m_names.end(), entry, [](const SceneNameEntry* a, const SceneNameEntry* b) {
        return CompareNames(a->name, b->name) < 0;
    });
    m_names.insert(at, entry);
    return entry;
}

void CQVScenePainter::RemoveName(CQVSceneItem* item)
{
    for (size_t i = 0; i < m_names.size(); i++) {
        if (m_names[i]->item == item) {
            delete m_names[i];
            m_names.erase(m_names.begin() + static_cast<std::ptrdiff_t>(i));
            return;
        }
    }
}

CQVSceneItem* CQVScenePainter::FindNamedItem(LPCSTR name) const
{
    if (name == NULL)
        return NULL;
    const std::string key = name;
    auto at = std::lower_bound(m_names.begin(), m_names.end(), key, [](const SceneNameEntry* a, const std::string& k) {
        return CompareNames(a->name, k) < 0;
    });
    return at != m_names.end() && (*at)->name == key ? (*at)->item : NULL;
}

void CQVScenePainter::SetItemStateByName(LPCSTR name, int state)
{
    if (CQVSceneItem* item = FindNamedItem(name))
        item->SetState(state, TRUE);
}

int CQVScenePainter::GetItemStateByName(LPCSTR name) const
{
    const CQVSceneItem* item = FindNamedItem(name);
    return item != NULL ? item->GetState() : 0;
}

CQVSceneItem* CQVScenePainter::GetLayerItem(int layer, int index) const
{
    if (layer < 0 || layer >= GetLayerCount() || index < 0 || index >= GetLayerItemCount(layer))
        return NULL;
    return m_layers[static_cast<size_t>(layer)]->items[static_cast<size_t>(index)];
}

BOOL CQVScenePainter::AddSceneItem(CQVSceneItem* item, int index, int state)
{
    if (item == NULL || index < 0)
        return FALSE;
    const int kind = item->GetKind();
    if (static_cast<size_t>(index) < m_layers.size()) {
        const int layerKind = m_layers[static_cast<size_t>(index)]->kind;
        const bool suits = kind == CQVSceneItem::kButton    ? layerKind == 4
                           : kind == CQVSceneItem::kPicture ? layerKind == 0 || layerKind == 5
                                                            : layerKind == 0 || layerKind == 4 || layerKind == 5;
        if (!suits)
            return FALSE;
    } else {
        Layer* layer = new (std::nothrow) Layer;
        if (layer == NULL)
            return FALSE;
        layer->kind = kind == CQVSceneItem::kButton ? 4 : 5;
        m_layers.push_back(layer);
        index = static_cast<int>(m_layers.size()) - 1;
    }
    item->SetState(state, TRUE);
    m_layers[static_cast<size_t>(index)]->items.push_back(item);
    return TRUE;
}

CQVSceneItem* CQVScenePainter::CreateSceneItem(CQVIniFile* given, LPCSTR key)
{
    if (key == NULL)
        return NULL;
    CQVIniFile own;
    CQVIniFile* ini = given;
    if (ini == NULL) {
        if (m_strSceneFile.empty() || !own.LoadFile(m_strSceneFile.c_str()))
            return NULL;
        ini = &own;
    }
    const std::string value = ReadKey(ini, "sceneitem", key);
    const size_t at = value.find_first_not_of(" \t");
    const size_t comma = value.find(',');
    if (at == std::string::npos || comma == std::string::npos || at > comma)
        return NULL;
    const std::string k = key;
    return MakeItem(static_cast<char>(toupper(static_cast<unsigned char>(value[at]))), value.substr(comma + 1),
                    ReadKey(ini, "sceneitem", (k + "_draw").c_str()), ReadKey(ini, "sceneitem", (k + "_name").c_str()),
                    ReadKey(ini, "sceneitem", (k + "_tip").c_str()),
                    ReadKey(ini, "sceneitem", (k + "_othertip").c_str()));
}

CImageObj* CQVScenePainter::GetScenePicture(CQVIniFile* given, LPCSTR key)
{
    if (key == NULL || !m_pCache)
        return NULL;
    CQVIniFile own;
    CQVIniFile* ini = given;
    if (ini == NULL) {
        if (m_strSceneFile.empty() || !own.LoadFile(m_strSceneFile.c_str()))
            return NULL;
        ini = &own;
    }
    const std::string name = ReadKey(ini, "scenepic", key);
    return name.empty() ? NULL : m_pCache->FindOrLoad(name.c_str());
}
