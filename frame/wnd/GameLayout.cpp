// GameLayout.cpp - the game frame's layout file: the packs, the caption and
// its buttons, the border, and the tree of areas (see AreaTreeLoader.h).
#include <cstdio>
#include <memory>
#include <new>

#include "AreaTreeLoader.h"
#include "BkPainter.h"
#include "ImageCache.h"
#include "LayoutValues.h"
#include "QVGameWnd.h"
#include "ScenePainter.h"
#include "SpliteGrid.h"
#include "store/QVIniFile.h"

namespace {

std::string Read(CQVIniFile* ini, LPCSTR section, LPCSTR key)
{
    char buffer[kLayoutValueMax] = "";
    ini->GetString(section, key, "", buffer, sizeof(buffer));
    return buffer;
}

CString Line(LPCSTR format, LPCSTR value)
{
    CString s;
    s.Format(format, value);
    return s;
}

// The frame's builder of the area tree.
class FrameTreeBuilder : public IAreaTreeBuilder
{
public:
    FrameTreeBuilder(CQVGameWnd& frame, CQVIniFile* ini, CImageCache* cache,
                     BOOL (*nameWnd)(CQVGameWnd&, CAreaPainter*, LPCSTR, CQVIniFile*, LPCSTR))
        : m_frame(frame), m_ini(ini), m_cache(cache), m_nameWnd(nameWnd)
    {
    }

    std::string ReadString(const char* section, const char* key) override { return Read(m_ini, section, key); }
    void Log(const std::string& line) override { m_frame.WriteLog(line.c_str()); }

    void* NewPainter(AreaKind kind, const std::string& name) override
    {
        switch (kind) {
        case AreaKind::kSplitter: return static_cast<CBkPainter*>(m_frame.CreateSpliteGrid());
        case AreaKind::kGame: return static_cast<CBkPainter*>(m_frame.CreateScenePainter());
        default: return static_cast<CBkPainter*>(m_frame.CreateAreaPainter(name.c_str()));
        }
    }
    bool CreatePainter(void* painter, const std::string& section, const std::string& name, void* parent) override
    {
        return P(painter)->Create(name.c_str(), section.c_str(), P(parent)) != FALSE;
    }
    void DeletePainter(void* painter) override { delete P(painter); }
    void AttachChildren(void* splitter, void* left, void* right) override
    {
        static_cast<CSpliteGrid*>(P(splitter))->SetChildren(P(left), P(right));
    }
    bool LoadSplitterInfo(void* splitter, const std::string& section) override
    {
        return static_cast<CSpliteGrid*>(P(splitter))->LoadInfo(m_ini, section.c_str(), m_cache) != FALSE;
    }
    bool OnSplitterCreated(void* splitter, const std::string& name) override
    {
        return m_frame.OnCreateSpliteGrid(static_cast<CSpliteGrid*>(P(splitter)), name.c_str()) != FALSE;
    }
    bool ReadSceneInfo(void* painter, const std::string& section) override
    {
        return static_cast<CQVScenePainter*>(P(painter))->ReadSceneInfo(m_ini, section.c_str()) != FALSE;
    }
    bool OnGameCreated(void* painter, const std::string& name) override
    {
        return m_frame.OnCreateGameWnd(static_cast<CQVScenePainter*>(P(painter)), name.c_str()) != FALSE;
    }
    bool OnAreaCreated(void* painter, const std::string& name) override
    {
        CAreaPainter* area = static_cast<CAreaPainter*>(P(painter));
        return m_nameWnd(m_frame, area, name.c_str(), m_ini, area->GetSection()) != FALSE;
    }
    void ReadAreaKeys(void* painter, const std::string& section) override
    {
        CBkPainter* p = P(painter);
        AreaRect m;
        if (ParseRect(Read(m_ini, section.c_str(), "border"), &m)) {
            auto clamp = [](int v) { return v < 0 ? 0 : v > 65535 ? 65535 : v; };
            p->SetMargins(CRect(clamp(m.l), clamp(m.t), clamp(m.r), clamp(m.b)));
        }
        p->LoadKeys(m_ini, section.c_str(), m_cache);
        p->SetVisible(m_ini->GetInt(section.c_str(), "show", 1) != 0);
    }

private:
    static CBkPainter* P(void* p) { return static_cast<CBkPainter*>(p); }

    CQVGameWnd& m_frame;
    CQVIniFile* m_ini;
    CImageCache* m_cache;
    BOOL (*m_nameWnd)(CQVGameWnd&, CAreaPainter*, LPCSTR, CQVIniFile*, LPCSTR);
};

BOOL CallNameWnd(CQVGameWnd& frame, CAreaPainter* area, LPCSTR name, CQVIniFile* ini, LPCSTR section)
{
    return frame.OnCreateNameWnd(area, name, ini, section);
}

CString PackName(CQVIniFile* ini, LPCSTR key)
{
    const std::string v = Read(ini, "pack", key);
    return v.empty() ? CString() : CString(v.c_str());
}

}  // namespace

BOOL CQVGameWnd::OnCreateNameWnd(CAreaPainter* area, LPCSTR name, CQVIniFile* ini, LPCSTR section)
{
    if (area == NULL || name == NULL)
        return FALSE;
    if (_stricmp(name, "chat") == 0) {
        if (!IsOnline())
            return TRUE;
        if (m_pChatWnd == NULL) {
            m_pChatWnd = CreateChatWindow(TRUE);
            if (m_pChatWnd == NULL) {
                WriteLog("OnCreateNameWnd create chat wnd fail!");
                return FALSE;
            }
        }
        area->AddItem(m_pChatWnd, kDockFill);
        m_bBalloonsOn = ini->GetInt(section, "ChatBooloon", 1) != 0;
        const int seconds = ini->GetInt(section, "BooloonTime", 10);
        m_nBalloonTime = (seconds < 0 ? 0 : seconds > 3600 ? 3600 : seconds) * 1000;
        return TRUE;
    }
    if (_stricmp(name, "tool") == 0) {
        if (m_pToolWnd == NULL) {
            m_pToolWnd = CreateToolWindow(TRUE);
            if (m_pToolWnd == NULL) {
                WriteLog("OnCreateNameWnd create item wnd fail!");
                return FALSE;
            }
        }
        m_pToolWnd->ShowWindow(SW_SHOW);
        area->AddItem(m_pToolWnd, kDockFill);
        return TRUE;
    }
    if (_stricmp(name, "adv") == 0) {
        if (m_pAdvertWnd == NULL) {
            if (CWinApp* app = AfxGetApp())
                app->WriteProfileInt("", "KeyValue4", m_nKeyValue4);
            m_pAdvertWnd = CreateAdvertWindow();
            if (m_pAdvertWnd == NULL) {
                WriteLog("OnCreateNameWnd create adv wnd fail!");
                return FALSE;
            }
        }
        area->AddItem(m_pAdvertWnd, kDockFill);
        return TRUE;
    }
    return TRUE;
}

BOOL CQVGameWnd::LoadGameInfo()
{
    const CString path = GetBackImagePath();
    const int slash = path.ReverseFind('\\');
    const CString folder = slash >= 0 ? path.Left(slash + 1) : CString();
    std::unique_ptr<CQVIniFile> ini(new (std::nothrow) CQVIniFile);
    if (!ini || !ini->LoadFile(path)) {
        WriteLog(Line("[LoadGameInfo] load inifile %s failed!", path));
        return FALSE;
    }
    CString bk = PackName(ini.get(), "bk");
    CString never = PackName(ini.get(), "neverclose");
    if (never.IsEmpty())
        never = bk.IsEmpty() ? CString("picture") : bk;
    if (bk.IsEmpty())
        bk = "picture";
    // A new never-close cache; the old one (and the pictures the old tree
    // holds) stays until the new tree is in place.
    std::unique_ptr<CImageCache> cache(new (std::nothrow) CImageCache);
    if (!cache || cache->Open(folder + never) != CImageCache::kOpened) {
        WriteLog(Line("[LoadGameInfo] load neverclose packfile %s failed!", folder + never));
        return FALSE;
    }
    if (ini->GetInt("pack", "createchatwnd", 0) != 0 && m_pChatWnd == NULL) {
        m_pChatWnd = CreateChatWindow(FALSE);
        if (m_pChatWnd == NULL) {
            WriteLog("OnCreateNameWnd create chat wnd fail!");
            return FALSE;
        }
    }
    if (ini->GetInt("pack", "createadvwnd", 0) != 0 && m_pAdvertWnd == NULL) {
        if (CWinApp* app = AfxGetApp())
            app->WriteProfileInt("", "KeyValue4", m_nKeyValue4);
        m_pAdvertWnd = CreateAdvertWindow();
        if (m_pAdvertWnd == NULL) {
            WriteLog("[LoadGameInfo] create adv wnd failed!");
            return FALSE;
        }
    }
    m_crTransparent = RGB(255, 0, 255);
    const std::string trans = Read(ini.get(), "pack", "transcolor");
    uint32_t colour = 0;
    if (ParseColour(trans, &colour))
        m_crTransparent = colour;
    CImageCache bkCache;
    if (bkCache.Open(folder + bk) != CImageCache::kOpened) {
        WriteLog(Line("[LoadGameInfo] load bk packfile %s failed!", folder + bk));
        return FALSE;
    }

    DeleteLayout();
    for (CWnd* child = GetWindow(GW_CHILD); child != NULL; child = child->GetWindow(GW_HWNDNEXT))
        child->ShowWindow(SW_HIDE);
    delete m_pCache;
    m_pCache = cache.release();
    m_strLayoutFolder = folder;

    LoadTitleButtons(ini.get(), m_pCache);
    FrameTreeBuilder builder(*this, ini.get(), m_pCache, CallNameWnd);
    AreaTreeLoader loader(builder);
    m_pRootArea = static_cast<CBkPainter*>(loader.LoadAreaInfo("area", NULL));
    if (m_pRootArea == NULL) {
        WriteLog("[LoadGameInfo] LoadAreaInfo failed!");
        return FALSE;
    }
    if (!OnLoadGameInfo(ini.get(), folder)) {
        WriteLog("[LoadGameInfo] OnLoadGameInfo failed!");
        return FALSE;
    }
    m_pPressedArea = NULL;
    m_pPressedButton = NULL;
    if (m_pScenePainter != NULL)
        m_pScenePainter->ClearPending();
    // A new tree lays itself out at the next size change, or now.
    if (!m_backImage.IsEmpty())
        m_backImage.Unload();
    return TRUE;
}

void CQVGameWnd::LoadTitleButtons(CQVIniFile* ini, CImageCache* cache)
{
    if (m_hWnd != NULL)
        GetWindowText(m_strTitle);
    m_titleFont = LOGFONT();
    CaptionFont font;
    ParseCaptionFont(Read(ini, "title", "textfont"), &font);
    lstrcpynA(m_titleFont.lfFaceName, font.face.c_str(), LF_FACESIZE);
    m_titleFont.lfHeight = font.height;
    m_titleFont.lfWeight = font.bold ? 900 : FW_NORMAL;
    m_titleFont.lfItalic = font.italic ? TRUE : FALSE;
    m_titleFont.lfCharSet = DEFAULT_CHARSET;
    uint32_t colour = 0;
    m_crText = ParseColour(Read(ini, "title", "textcolor"), &colour) ? colour : RGB(255, 255, 255);
    const int count = ini->GetInt("title", "btncount", 0);
    for (int i = 1; i <= count && i <= 64; i++) {
        char key[32];
        snprintf(key, sizeof key, "btn%d", i);
        const std::string text = Read(ini, "title", key);
        if (text.empty())
            break;
        CBkButton* button = new (std::nothrow) CBkButton;
        CString name;
        if (button == NULL || !button->Parse(text.c_str(), &name) || (button->m_pPicture = GetKeyedPicture(cache, name)) == NULL) {
            delete button;
            continue;
        }
        auto read = [&](LPCSTR format) {
            char k[32];
            snprintf(k, sizeof k, format, i);
            return Read(ini, "title", k);
        };
        const std::string chn = read("btn_chn%d"), other = read("btn_other%d");
        if (!chn.empty())
            button->SetChannelPicture(GetKeyedPicture(cache, chn.c_str()));
        if (!other.empty())
            button->SetOtherPicture(GetKeyedPicture(cache, other.c_str()));
        button->SetTips(read("btn_tip%d").c_str(), read("btn_othertip%d").c_str());
        if (!m_titleButtons.Add(button))
            delete button;
    }
}

void CQVGameWnd::LoadBorderImage(CQVIniFile* ini, CImageCache* cache)
{
    LPCSTR section = "border";
    if (!m_bActive && (!Read(ini, "border_dis", "lt").empty() || !Read(ini, "border_dis", "top").empty()))
        section = "border_dis";
    m_nRoundRadius = ini->GetInt("border", "round", 0);
    if (m_nRoundRadius < 0 || m_nRoundRadius > 1000)
        m_nRoundRadius = 0;
    auto pic = [&](LPCSTR key) -> CImageObj* {
        const std::string name = Read(ini, section, key);
        CImageObj* p = name.empty() ? NULL : GetKeyedPicture(cache, name.c_str());
        return p != NULL && !p->IsEmpty() && p->GetWidth() > 0 && p->GetHeight() > 0 ? p : NULL;
    };
    const int w = m_backImage.GetWidth(), h = m_backImage.GetHeight();
    CImageObj& dc = m_backImage;
    auto tileX = [&](CImageObj* p, int y) {
        if (p != NULL)
            for (int x = 0; x < w; x += p->GetWidth())
                dc.BlendDraw2(p, NULL, x, y);
    };
    auto tileY = [&](CImageObj* p, int x) {
        if (p != NULL)
            for (int y = 0; y < h; y += p->GetHeight())
                dc.BlendDraw2(p, NULL, x, y);
    };
    CImageObj* top = pic("top");
    CImageObj* bottom = pic("bottom");
    CImageObj* left = pic("left");
    CImageObj* right = pic("right");
    tileX(top, 0);
    if (bottom)
        tileX(bottom, h - bottom->GetHeight());
    tileY(left, 0);
    if (right)
        tileY(right, w - right->GetWidth());
    if (CImageObj* p = pic("lt"))
        dc.BlendDraw2(p, NULL, 0, 0);
    if (CImageObj* p = pic("rt"))
        dc.BlendDraw2(p, NULL, w - p->GetWidth(), 0);
    if (CImageObj* p = pic("lb"))
        dc.BlendDraw2(p, NULL, 0, h - p->GetHeight());
    if (CImageObj* p = pic("rb"))
        dc.BlendDraw2(p, NULL, w - p->GetWidth(), h - p->GetHeight());
}

void CQVGameWnd::LoadTitleImage(CQVIniFile* ini, CImageCache* cache)
{
    const int w = m_backImage.GetWidth(), h = m_backImage.GetHeight();
    const std::string topName = Read(ini, "border", "top");
    CImageObj* top = topName.empty() ? NULL : GetKeyedPicture(cache, topName.c_str());
    const int defaultHeight = top != NULL && !top->IsEmpty() ? top->GetHeight() : 30;
    CaptionPos pos;
    const bool hasPos = ParseCaptionPos(Read(ini, "title", "pos"), &pos);
    const AreaRect band = CaptionBand(hasPos ? &pos : NULL, w, h, defaultHeight);
    m_rcTitle = CRect(band.l, band.t, band.r, band.b);
    m_nResizeGrip = ini->GetInt("title", "resize", 0);
    AreaRect about;
    if (ParseRect(Read(ini, "title", "aboutrect"), &about)) {
        const AreaRect a = ClampAboutRect(about, band);
        m_rcAbout = CRect(a.l, a.t, a.r, a.b);
    } else {
        m_rcAbout = CRect(0, 0, 0, 0);
    }
    const int pictures = ini->GetInt("title", "piccount", 0);
    for (int i = 1; i <= pictures && i <= 64; i++) {
        char key[32];
        snprintf(key, sizeof key, "pic%d", i);
        CaptionItem item;
        if (!ParseCaptionItem(Read(ini, "title", key), &item))
            break;
        CImageObj* p = item.name.empty() ? NULL : GetKeyedPicture(cache, item.name.c_str());
        if (p == NULL || p->IsEmpty())
            continue;
        int x = 0, y = 0;
        PlaceCaptionItem(item, band, p->GetWidth(), p->GetHeight(), &x, &y);
        m_backImage.BlendDraw2(p, NULL, x, y);
    }
    CaptionItem textAt;
    if (!ParseCaptionItem(Read(ini, "title", "textrect"), &textAt))
        textAt.anchor = "LT";
    const BOOL horizontal = FirstLetter(textAt.name) != 'V';
    m_rcTitleText = CRect(0, 0, 0, 0);
    if (!m_strTitle.IsEmpty()) {
        std::unique_ptr<CImageObj> text(MakeTextPicture(m_strTitle, m_titleFont, m_crText, horizontal));
        if (text) {
            int x = 0, y = 0;
            PlaceCaptionItem(textAt, band, text->GetWidth(), text->GetHeight(), &x, &y);
            m_backImage.BlendDraw2(text.get(), NULL, x, y);
            m_rcTitleText = CRect(x, y, x + text->GetWidth(), y + text->GetHeight());
        }
    }
    // The inactive caption picture is kept: a copy of its own, so it never
    // depends on a cache that closes.
    m_inactiveTitle.Unload();
    const std::string inactive = Read(ini, "title", "inactive");
    if (CImageObj* p = inactive.empty() ? NULL : GetKeyedPicture(cache, inactive.c_str())) {
        if (!p->IsEmpty() && m_inactiveTitle.CopyFrom(p->GetBitmap(), 24)) {
            m_inactiveTitle.SetBkColor(m_crTransparent);
            m_ptInactiveTitle = m_rcTitleText.TopLeft();
        }
    }
}

BOOL CQVGameWnd::MakeBackImage()
{
    const CString path = GetBackImagePath();
    CQVIniFile ini;
    if (!ini.LoadFile(path)) {
        WriteLog(Line("[MakeBackImage] load inifile %s failed!", path));
        return FALSE;
    }
    const int slash = path.ReverseFind('\\');
    const CString folder = slash >= 0 ? path.Left(slash + 1) : CString();
    CString bk = PackName(&ini, "bk");
    if (bk.IsEmpty())
        bk = "picture";
    CImageCache cache;
    if (cache.Open(folder + bk) != CImageCache::kOpened) {
        WriteLog(Line("[MakeBackImage] load packfile %s failed!", folder + bk));
        return FALSE;
    }
    m_backImage.FillRect(0, 0, m_backImage.GetWidth(), m_backImage.GetHeight(), RGB(0, 0, 0));
    LoadBorderImage(&ini, &cache);
    LoadTitleImage(&ini, &cache);
    return TRUE;
}

void CQVGameWnd::PlaceTitleButtons()
{
    CRect client(0, 0, m_backImage.GetWidth(), m_backImage.GetHeight());
    for (int i = 0; i < m_titleButtons.GetCount(); i++)
        m_titleButtons.GetAt(i)->Place(client);
}

void CQVGameWnd::ComposeWorkImage()
{
    m_workImage.BlendDraw1(&m_backImage, NULL, 0, 0);
    for (int i = 0; i < m_titleButtons.GetCount(); i++)
        m_titleButtons.GetAt(i)->Draw(&m_workImage, 0, 0);
    if (m_pScenePainter != NULL)
        m_pScenePainter->OnTick(FALSE);
    if (m_pRootArea != NULL)
        m_pRootArea->DrawOverlay(&m_workImage);
}

BOOL CQVGameWnd::UpdateBackImage()
{
    if (m_hWnd == NULL)
        return FALSE;
    CRect client;
    GetClientRect(&client);
    if (client.Width() <= 40 || client.Height() <= 40)
        return TRUE;
    if (m_backImage.IsEmpty() || m_backImage.GetWidth() != client.Width() ||
        m_backImage.GetHeight() != client.Height()) {
        if (!m_backImage.Create(client.Width(), client.Height(), 24) ||
            !m_workImage.Create(client.Width(), client.Height(), 24))
            return FALSE;
    }
    if (!MakeBackImage()) {
        WriteLog("[OnSize] MakeBackImage failed!");
        PostMessage(WM_CLOSE);
        return FALSE;
    }
    OnBackImage(&m_backImage);
    OnBackImage2(&m_backImage);
    if (m_pRootArea != NULL) {
        const CRect& m = m_pRootArea->GetMargins();
        m_pRootArea->SetRect(CRect(m.left, m.top, client.Width() - m.right, client.Height() - m.bottom));
    }
    PlaceTitleButtons();
    if (m_pRootArea != NULL) {
        m_pRootArea->DrawTree(&m_backImage);
        ComposeWorkImage();
    } else {
        m_workImage.BlendDraw1(&m_backImage, NULL, 0, 0);
    }
    CopyToWindow(NULL);
    return TRUE;
}
