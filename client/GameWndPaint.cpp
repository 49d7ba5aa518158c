// The table window's pictures, buttons, layout and painting.
#include "GameWnd.h"

#include "Bitmaps.h"
#include "ClientPaths.h"
#include "GameClientApp.h"
#include "ChatActionPicker.h"
#include "ClientServices.h"
#include "CoolButton.h"
#include "PngButton.h"
#include "TableThemeKeys.h"
#include "ToolTipObjWnd.h"
#include "WidgetServices.h"
#include "client_ids.h"

namespace {

// The table's buttons in creation order: the picture of the theme's
// "Buttons" section (NULL: a kit button from the dialog skin's "respic"
// section), shown at creation, enabled at creation, and the tooltip's string.
struct TableButtonDef {
    int id;
    const char* picture;
    const char* kitKey;
    bool shown;
    bool enabled;
    UINT tip;
};
const TableButtonDef kTableButtons[] = {
    {kBtnStart, "Start", NULL, false, true, IDS_CLIENT_TIP_START},
    {kBtnRanking, "Ranking", NULL, false, true, IDS_CLIENT_TIP_RANKING},
    {kBtnTitles, "SetTitle", NULL, false, true, 0},
    {kBtnBecome, "Enthroned", NULL, false, true, IDS_CLIENT_TIP_BECOME},
    {kBtnDecline, "Abdicate", NULL, false, true, IDS_CLIENT_TIP_DECLINE},
    {kBtnAlone, "OnlyEmperor", NULL, false, true, 0},
    {kBtnGiveUp, "Giveup", NULL, false, true, 0},
    {kBtnShowGuard, "ShowHouseCarl", NULL, false, true, IDS_CLIENT_TIP_SHOWGUARD},
    {kBtnHideGuard, "HideHouseCarl", NULL, false, true, IDS_CLIENT_TIP_HIDEGUARD},
    {kBtnKick, NULL, "IDB_BT_KICK", false, true, 0},
    {kBtnNoKick, NULL, "IDB_BT_GIVEUP", false, true, 0},
    {kBtnPlay, "Takeout", NULL, false, true, IDS_CLIENT_TIP_PLAY},
    {kBtnPass, "Pass", NULL, false, true, IDS_CLIENT_TIP_PASS},
    {kBtnHint, "Hint", NULL, false, true, IDS_CLIENT_TIP_HINT},
    {kBtnGameScore, "GameScore", NULL, true, true, IDS_CLIENT_TIP_SCORE},
    {kBtnTrustPlay, "TrustPlay", NULL, true, true, IDS_CLIENT_TIP_TRUST},
    {kBtnPlayDir, "UnPlayDir", NULL, true, true, IDS_CLIENT_ANTICLOCKWISE},
    {kBtnLastTrick, "LastTrick", NULL, true, false, IDS_CLIENT_TIP_LASTTRICK},
    {kBtnSort, "Sort", NULL, true, false, IDS_CLIENT_TIP_SORT},
    {kBtnSetup, "Setup", NULL, true, true, IDS_CLIENT_TIP_SETUP},
    {kBtnCardMem, "CardMem", NULL, true, true, IDS_CLIENT_TIP_CARDMEM},
    {kBtnTrustPlayOff, "TrustPlayBtn", NULL, false, true, 0},
    {kBtnFaces, "IconPicker", NULL, true, true, IDS_CLIENT_TIP_FACES},
};

void WriteButtonFailure(int id)
{
    CString line;
    line.Format("[CreateButtons] button %d not created", id);
    WriteGameLog(line);
}

LayoutSize CellSize(const CTableImage& image, int cells)
{
    LayoutSize size;
    if (image.IsLoaded() && cells > 0) {
        size.cx = image.Width() / cells;
        size.cy = image.Height();
    }
    return size;
}

LayoutSize SizeOf(const CTableImage& image)
{
    LayoutSize size;
    size.cx = image.Width();
    size.cy = image.Height();
    return size;
}

}  // namespace

void CGameWnd::LoadPictures()
{
    // Every picture is read at once on a few threads (each job fills its own
    // picture); a theme picture that did not load is then read again here, in
    // the theme table's order, where a missing one ends the program with its
    // box as always.
    std::vector<std::function<void()>> jobs;
    int count = 0;
    const ThemeKey* keys = TableThemeKeys(&count);
    const CString themeFile = GetThemePath(0);
    const CString themeFolder = GetThemePath(1);
    struct ThemeSlot {
        const char* section;
        const char* key;
        CTableImage* image;
        bool loaded;
    };
    std::vector<ThemeSlot> slots;
    for (int i = 0; i < count; i++) {
        std::unique_ptr<CTableImage>& image = m_pictures.theme[std::string(keys[i].section) + "/" + keys[i].key];
        image.reset(new CTableImage);
        slots.push_back(ThemeSlot{keys[i].section, keys[i].key, image.get(), false});
    }
    slots.push_back(ThemeSlot{"Background", "back1", &m_pictures.background, false});
    slots.push_back(ThemeSlot{"MAIN", "BigAvatarBk", &m_pictures.bigAvatar, false});
    for (ThemeSlot& slot : slots) {
        const CString path = IniPicturePath(themeFile, slot.section, slot.key, themeFolder);
        jobs.push_back([&slot, path] { slot.loaded = slot.image->LoadPictureFile(path) != FALSE; });
    }

    const int* fixed = TableFixedPictures(&count);
    std::vector<int> fixedIds(fixed, fixed + count);
    for (int id : {kPicMyTimer, kPicMyTimerFrame, kPicOtherTimer, kPicOtherTimerFrame})
        fixedIds.push_back(id);
    for (int id : fixedIds) {
        std::unique_ptr<CTableImage>& image = m_pictures.fixed[id];
        image.reset(new CTableImage);
        CTableImage* target = image.get();
        const CString path = GetThemeResPicPath(id);
        jobs.push_back([target, path] { target->LoadBitmapFile(path); });
    }
    if (CWinApp* app = AfxGetApp()) {
        CString profile = app->GetProfileString("", "Path", "");
        profile.TrimRight('\\');
        if (!profile.IsEmpty()) {
            const CString path = profile + "\\theme\\logo_0.bmp";
            jobs.push_back([this, path] { m_pictures.logo.LoadBitmapFile(path); });
        }
    }
    // The card sheets are drawn many times a paint: kept as alpha pictures.
    const CString folder = GetThemePath(2);
    auto sheetJob = [](CTableImage* sheet, CString path, int* w, int* h, int* clear) {
        return [sheet, path, w, h, clear] {
            if (!sheet->LoadBitmapFile(path) || !sheet->MakeKeyTransparent())
                return;
            const LayoutSize cell = CardSheetCell(sheet->Width(), sheet->Height());
            *w = cell.cx;
            *h = cell.cy;
            *clear = sheet->LeadingClearColumns(cell.cx, cell.cy);
        };
    };
    jobs.push_back(sheetJob(&m_pictures.cardBig, folder + "\\CardBig.bmp", &m_pictures.bigWidth,
                            &m_pictures.bigHeight, &m_pictures.bigClear));
    jobs.push_back(sheetJob(&m_pictures.cardSmall, folder + "\\CardSmall.bmp", &m_pictures.smallWidth,
                            &m_pictures.smallHeight, &m_pictures.smallClear));

    RunPictureJobs(jobs);
    for (ThemeSlot& slot : slots)
        if (!slot.loaded)
            slot.image->FromPicture(LoadIniBitmapOrExit(themeFile, slot.section, slot.key, themeFolder));
}

void CGameWnd::ReadSettings()
{
    CWinApp* app = AfxGetApp();
    if (app == NULL)
        return;
    const char* section = "Settings";
    TableSettings& t = m_settings;
    t.bkColor = app->GetProfileInt(section, "BkColor", (int)t.bkColor);
    t.bkBmp = (LPCSTR)app->GetProfileString(section, "BkBmp", t.bkBmp.c_str());
    t.tile = (int)app->GetProfileInt(section, "Tile", t.tile);
    t.soundEf = (int)app->GetProfileInt(section, "SoundEf", m_bSoundOn ? 1 : 0);
    t.smallCard = (int)app->GetProfileInt(section, "SmallCard", t.smallCard);
    t.openResult = (int)app->GetProfileInt(section, "OpenResult", t.openResult);
    t.flyTipText = (int)app->GetProfileInt(section, "FlyTipText", t.flyTipText);
    t.music = (int)app->GetProfileInt(section, "Music", t.music);
    t.musicFile = (LPCSTR)app->GetProfileString(section, "MusicFile", "");
    const std::string program = (LPCSTR)GetExeFolder();
    t.snapshot = FolderSetting((LPCSTR)app->GetProfileString(section, "Snapshot", ""), program, "\\snapshot");
    t.videoDir = FolderSetting((LPCSTR)app->GetProfileString(section, "VideoDir", ""), program, "\\Video");
    m_bSoundOn = t.soundEf != 0;
    theSoundPlayer.EnableSound(m_bSoundOn);
}

BOOL CGameWnd::CreateButtons()
{
    const CRect none(0, 0, 0, 0);
    for (const TableButtonDef& def : kTableButtons) {
        if (def.picture == NULL) {
            std::unique_ptr<CQVBitmapButton2> button(new CQVBitmapButton2);
            if (!button->Create("", WS_CHILD | BS_OWNERDRAW, none, this, (UINT)def.id) ||
                !button->LoadStripFromIni((UINT)def.id, "respic", def.kitKey, this, kButtonClickSound, 0, FALSE,
                                          TRUE)) {
                WriteButtonFailure(def.id);
                return FALSE;
            }
            m_buttons.push_back(std::move(button));
            m_buttonIds.push_back(def.id);
            continue;
        }
        CChatActionButton* faces = def.id == kBtnFaces ? new CChatActionButton : NULL;
        std::unique_ptr<CPngButton> button(faces != NULL ? faces : new CPngButton);
        if (faces != NULL)
            m_pFaces = faces;
        const CTableImage& picture = m_pictures.Theme("Buttons", def.picture);
        if (!button->Create("", WS_CHILD | BS_OWNERDRAW, none, this, (UINT)def.id) || picture.Picture() == NULL ||
            !button->Init((UINT)def.id, picture.Picture()->image, kButtonClickSound, 4, 0)) {
            WriteButtonFailure(def.id);
            return FALSE;
        }
        if (def.shown)
            button->ShowWindow(SW_SHOWNA);
        if (!def.enabled)
            button->EnableWindow(FALSE);
        m_buttons.push_back(std::move(button));
        m_buttonIds.push_back(def.id);
    }

    // The face picker's pictures: 30 large faces, then 66 small ones.
    if (CChatActionButton* faces = m_pFaces) {
        const CString folder = GetExeFolder();
        CString path;
        for (int n = 0; n < 30; n++) {
            path.Format("%s\\face\\big\\%d.gif", (LPCSTR)folder, n);
            faces->AddBigImage(path);
        }
        for (int n = 0; n < 66; n++) {
            path.Format("%s\\face\\small\\%d.gif", (LPCSTR)folder, n);
            faces->AddImage(path);
        }
    }

    if (!m_tooltip.Create(this, TTS_ALWAYSTIP | TTS_NOPREFIX))
        return FALSE;
    m_tooltip.Activate(TRUE);
    if (CGameClientApp* app = GetClientApp())
        app->m_pToolTip = &m_tooltip;
    m_tooltip.SendMessage(WM_SETFONT, (WPARAM)m_font.GetSafeHandle(), FALSE);
    if (CToolTipObjWnd* holder = GetAppToolTip())
        holder->SetFont(m_tooltip.GetSafeHwnd(), (HFONT)m_font.GetSafeHandle());
    for (const TableButtonDef& def : kTableButtons)
        if (def.tip != 0)
            if (CWnd* button = GetDlgItem(def.id))
                m_tooltip.AddTool(button, def.tip);
    ShowDirectionButton();
    EnableButton(kBtnLastTrick, FALSE);
    EnableButton(kBtnSort, FALSE);
    return TRUE;
}

void CGameWnd::ShowDirectionButton()
{
    CGameClientApp* app = GetClientApp();
    CPngButton* button = DYNAMIC_DOWNCAST(CPngButton, GetDlgItem(kBtnPlayDir));
    if (button == NULL)
        return;
    const BOOL clockwise = app != NULL && app->m_nPlayDirection != 0;
    const CTableImage& picture = m_pictures.Theme("Buttons", clockwise ? "PlayDir" : "UnPlayDir");
    if (picture.Picture() != NULL)
        button->SetImage(picture.Picture()->image, 4);
    if (m_tooltip.GetSafeHwnd() != NULL)
        m_tooltip.UpdateTipText(clockwise ? IDS_CLIENT_CLOCKWISE : IDS_CLIENT_ANTICLOCKWISE, button);
    button->Redraw();
}

CWnd* CGameWnd::TableButton(int nId) const
{
    for (size_t i = 0; i < m_buttonIds.size() && i < m_buttons.size(); i++)
        if (m_buttonIds[i] == nId)
            return m_buttons[i]->GetSafeHwnd() != NULL ? m_buttons[i].get() : NULL;
    return NULL;
}

void CGameWnd::ShowButton(int nId, BOOL bShow)
{
    if (CWnd* button = TableButton(nId))
        button->ShowWindow(bShow ? SW_SHOWNA : SW_HIDE);
}

void CGameWnd::EnableButton(int nId, BOOL bEnable)
{
    if (CWnd* button = TableButton(nId))
        button->EnableWindow(bEnable);
}

BOOL CGameWnd::IsButtonVisible(int nId)
{
    CWnd* button = TableButton(nId);
    return button != NULL && (button->GetStyle() & WS_VISIBLE) != 0;
}

void CGameWnd::ApplyButton(int nId, const ButtonChange& change)
{
    if (change.show != kLeave)
        ShowButton(nId, change.show == kShow);
    if (change.enable != kLeave)
        EnableButton(nId, change.enable == kShow);
}

void CGameWnd::LayoutTableNow()
{
    CGameClientApp* app = GetClientApp();
    if (app == NULL || m_hWnd == NULL)
        return;
    CRect client;
    GetClientRect(&client);
    TableLayoutInput in;
    in.area = LayoutRect{client.left, client.top, client.right, client.bottom};
    in.dPlayer = SizeOf(m_pictures.Theme("Background", "DPlayer"));
    in.lPlayer = SizeOf(m_pictures.Theme("Background", "LPlayer"));
    in.smallCards = m_settings.smallCard != 0;
    in.phase = app->m_state.Phase();
    in.online = app->IsOnline() != FALSE;
    in.ownCardCount = app->m_state.HandCount(OwnSeat());
    for (int v = 0; v < kTableSeats; v++)
        in.views[v] = app->m_views[v];
    // Measured in the drawing font, in the back buffer (no window DC needed).
    CClientDC window(m_backDC.GetSafeHdc() == NULL ? this : NULL);
    CDC& dc = m_backDC.GetSafeHdc() != NULL ? m_backDC : window;
    CFont* old = dc.SelectObject(&m_font);
    for (int s = 0; s < kTableSeats; s++) {
        CString name;
        name.Format("%s[%s]", app->m_seats[s].nickName, app->m_seats[s].userName);
        const CSize size = dc.GetTextExtent(name);
        in.nameText[s].cx = size.cx;
        in.nameText[s].cy = size.cy;
    }
    in.width99 = dc.GetTextExtent(CString("(99)")).cx;
    dc.SelectObject(old);
    m_metrics = LayoutTable(in, app->m_seats);
}

void CGameWnd::LayoutDecisionButtons()
{
    CGameClientApp* app = GetClientApp();
    if (app == NULL || m_hWnd == NULL)
        return;
    CRect client;
    GetClientRect(&client);
    if (client.Width() <= 0 || client.Height() <= 0)
        return;
    DecisionLayoutInput in;
    in.areaWidth = client.Width();
    in.areaBottom = client.bottom;
    in.phase = app->m_state.Phase();
    in.start = CellSize(m_pictures.Theme("Buttons", "Start"), 4);
    in.ranking = CellSize(m_pictures.Theme("Buttons", "Ranking"), 4);
    in.titles = CellSize(m_pictures.Theme("Buttons", "SetTitle"), 4);
    in.emperor = CellSize(m_pictures.Theme("Buttons", "Enthroned"), 4);
    in.guard = CellSize(m_pictures.Theme("Buttons", "ShowHouseCarl"), 4);
    in.kick = CellSize(m_pictures.Theme("Buttons", "Rebell"), 4);
    in.pass = CellSize(m_pictures.Theme("Buttons", "Takeout"), 4);
    if (app->m_state.Exists()) {
        const BoardGameState& s = *app->m_state.Get();
        in.simultaneous = IsSimultaneousDecision(s);
        in.ownDecides = s.seatToAct == OwnSeat();
        in.option12 = (s.ruleFlags & kRuleFlagOption12) != 0;
    }
    in.roomSetting1 = app->m_roomSettings[0];
    in.roomSetting3 = app->m_roomSettings[2];
    for (const ButtonPlace& place : DecisionButtonPlaces(in))
        if (CWnd* button = TableButton(place.id))
            button->SetWindowPos(NULL, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    if (!app->m_state.Exists())
        return;
    // Off line the server's tools go; the card memory works during a hand
    // for whom the room allows it; a watcher has no faces, start or titles.
    if (!app->IsOnline())
        for (int id : {kBtnTrustPlay, kBtnGameScore, kBtnPlayDir, kBtnLastTrick, kBtnSort, kBtnFaces, kBtnCardMem,
                       kBtnRanking, kBtnTitles})
            ShowButton(id, FALSE);
    if (in.phase > 0 && CardMemoryAllowed()) {
        ShowButton(kBtnCardMem, TRUE);
        EnableButton(kBtnCardMem, TRUE);
    } else {
        EnableButton(kBtnCardMem, FALSE);
    }
    if (IsWatching())
        for (int id : {kBtnFaces, kBtnStart, kBtnTitles})
            ShowButton(id, FALSE);
}

BOOL CGameWnd::CreateBackBuffer()
{
    // A 32-bit DIB section: the table is composed in the process's memory
    // (blends and keyed copies without a trip to the display server), and
    // one copy per paint goes to the window.
    CClientDC window(this);
    const int cx = ::GetSystemMetrics(SM_CXSCREEN), cy = ::GetSystemMetrics(SM_CYSCREEN);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = cx;
    info.bmiHeader.biHeight = -cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = NULL;
    HBITMAP section = ::CreateDIBSection(window.GetSafeHdc(), &info, DIB_RGB_COLORS, &bits, NULL, 0);
    if (section == NULL || !m_backDC.CreateCompatibleDC(&window)) {
        if (section != NULL)
            ::DeleteObject(section);
        return FALSE;
    }
    m_backBitmap.Attach(section);
    m_hOldBackBitmap = ::SelectObject(m_backDC.GetSafeHdc(), m_backBitmap.GetSafeHandle());
    ::SelectObject(m_backDC.GetSafeHdc(), m_font.GetSafeHandle());
    SetTableSurface(m_hWnd, m_backDC.GetSafeHdc());
    return TRUE;
}

void CGameWnd::FreeBackBuffer()
{
    if (GetTableSurfaceWindow() == m_hWnd)
        SetTableSurface(NULL, NULL);
    if (m_backDC.GetSafeHdc() != NULL) {
        if (m_hOldBackBitmap != NULL)
            ::SelectObject(m_backDC.GetSafeHdc(), m_hOldBackBitmap);
        m_hOldBackBitmap = NULL;
        m_backDC.DeleteDC();
    }
    m_backBitmap.DeleteObject();
    m_backgroundCache.DeleteObject();
}

void CGameWnd::OnPaint()
{
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    if (client.Width() <= 0 || client.Height() <= 0 || m_backDC.GetSafeHdc() == NULL)
        return;
    // A drag step drew the own hand into the back buffer already: when only
    // the hand is to be painted, the buffer is copied as it is.
    const LayoutRect hand = OwnHandRect();
    CRect dirty(paint.m_ps.rcPaint);
    const BOOL handOnly = m_bHandOnlyPaint && dirty.left >= hand.left && dirty.top >= hand.top &&
                          dirty.right <= hand.right && dirty.bottom <= hand.bottom;
    m_bHandOnlyPaint = FALSE;
    if (!handOnly) {
        Redraw(m_backDC, client);
        DrawOwnHandFrom(m_backDC, FirstMarkedCard());
    }
    ExcludeChildControls(paint);
    // Only what is to be painted is copied.
    dirty.IntersectRect(dirty, client);
    paint.BitBlt(dirty.left, dirty.top, dirty.Width(), dirty.Height(), &m_backDC, dirty.left, dirty.top, SRCCOPY);
}

void CGameWnd::Redraw()
{
    CRect client;
    GetClientRect(&client);
    if (client.Width() > 0 && client.Height() > 0 && m_backDC.GetSafeHdc() != NULL)
        Redraw(m_backDC, client);
}

void CGameWnd::DrawCardAt(CDC& dc, const CardEntry& card, int x, int y, BOOL bFaceDown, int nextStep)
{
    const bool small = m_metrics.cardWidth < 71;
    const CTableImage& sheet = small ? m_pictures.cardSmall : m_pictures.cardBig;
    if (!sheet.IsLoaded())
        return;
    int column = 0, row = 0;
    CardCell(card, bFaceDown != FALSE, &column, &row);
    const int cw = sheet.Width() / 13, ch = sheet.Height() / 5;
    int width = m_metrics.cardWidth;
    // A card the next one of its row covers: only the strip left in sight
    // (cells drawn at their own size only; a stretched sheet draws whole).
    if (nextStep > 0 && cw == m_metrics.cardWidth && ch == m_metrics.cardHeight) {
        const int strip = nextStep + (small ? m_pictures.smallClear : m_pictures.bigClear);
        width = strip < cw ? strip : cw;
    }
    const int sourceWidth = width == m_metrics.cardWidth ? cw : width;
    sheet.DrawKeyed(dc.GetSafeHdc(), x, y, width, m_metrics.cardHeight, column * cw, row * ch, sourceWidth, ch);
}

void CGameWnd::Redraw(CDC& dc, const CRect& client)
{
    CGameClientApp* app = GetClientApp();
    if (app != NULL)
        LayoutTableNow();
    const BOOL watching = IsWatching();
    // The still layer: the background and, from the first hand on (or for a
    // watcher), the seat panels. Composed again only when the size or the
    // panels' places change; every paint starts from a copy of it.
    StillLayerKey key;
    key.width = client.Width();
    key.height = client.Height();
    key.panels = app != NULL && app->m_state.Exists() && (!m_bFirstHandPending || watching);
    key.firstHandPending = m_bFirstHandPending != FALSE;
    if (app != NULL && OwnSeat() >= 0 && OwnSeat() < kTableSeats)
        key.ownPanelLeft = app->m_seats[OwnSeat()].panelLeft;
    if (key.panels)
        for (int view = 0; view < kTableSeats; view++) {
            const int seat = app->m_views[view];
            key.seats[view] = seat;
            if (seat >= 0 && seat < kTableSeats) {
                key.panelLeft[view] = app->m_seats[seat].panelLeft;
                key.panelTop[view] = app->m_seats[seat].panelTop;
            }
        }
    CDC cache;
    cache.CreateCompatibleDC(&dc);
    if (m_backgroundCache.GetSafeHandle() == NULL || !(key == m_stillKey)) {
        if (m_backgroundCacheSize != client.Size() || m_backgroundCache.GetSafeHandle() == NULL) {
            m_backgroundCache.DeleteObject();
            m_backgroundCache.CreateCompatibleBitmap(&dc, client.Width(), client.Height());
            m_backgroundCacheSize = client.Size();
        }
        CBitmap* old = cache.SelectObject(&m_backgroundCache);
        DrawTableBackground(cache, client);
        DrawButtonBar(cache, client, key.ownPanelLeft);
        for (int view = 0; key.panels && view < kTableSeats; view++) {
            if (key.seats[view] < 0 || key.seats[view] >= kTableSeats)
                continue;
            const CTableImage& panel = view == 0 ? m_pictures.Theme("Background", "DPlayer")
                                                 : (IsLeftView(view) ? m_pictures.Theme("Background", "LPlayer")
                                                                     : m_pictures.Theme("Background", "RPlayer"));
            if (panel.IsLoaded())
                panel.Draw(cache.GetSafeHdc(), key.panelLeft[view], key.panelTop[view]);
        }
        cache.SelectObject(old);
        m_stillKey = key;
    }
    CBitmap* oldCache = cache.SelectObject(&m_backgroundCache);
    dc.BitBlt(0, 0, client.Width(), client.Height(), &cache, 0, 0, SRCCOPY);
    cache.SelectObject(oldCache);
    if (app == NULL)
        return;
    CFont* oldFont = dc.SelectObject(&m_font);
    dc.SetBkMode(TRANSPARENT);
    // Each seat's last play, or the mark of its pass.
    const CTableImage& passMark = m_pictures.Theme("Background", "Pass");
    for (int view = 0; view < kTableSeats; view++) {
        const int seat = app->m_views[view];
        if (seat < 0 || seat >= kTableSeats || !app->m_state.Exists())
            continue;
        const SeatLayoutRecord& r = app->m_seats[seat];
        const int played = app->m_state.TableCount(seat);
        if (played > 0) {
            const CardEntry* cards = app->m_state.TableCards(seat);
            const PlayLayout layout = LastPlayLayout(r, view, cards, played, m_metrics);
            const int n = played < (int)layout.offsets.size() ? played : (int)layout.offsets.size();
            for (int i = 0; i < n; i++)
                DrawCardAt(dc, cards[i], layout.rect.left + layout.offsets[i], layout.rect.top, FALSE,
                           i + 1 < n ? layout.offsets[i + 1] - layout.offsets[i] : 0);
        } else if (passMark.IsLoaded() && PassMarkShown(*app->m_state.Get(), m_passed, seat, app->m_bOnline != FALSE)) {
            int x = 0, y = 0;
            PassMarkCentre(r, view, &x, &y);
            passMark.Draw(dc.GetSafeHdc(), x - passMark.Width() / 2, y - passMark.Height() / 2);
        }
    }
    DrawTableMarks(dc, client);
    // The seats: own, upper left, lower left, lower right, upper right.
    for (int view : {0, 2, 1, 4, 3}) {
        const int seat = app->m_views[view];
        if (seat >= 0 && seat < kTableSeats)
            DrawSeat(dc, view, seat);
    }
    ApplySeatWindows();
    DrawCardMemory(dc);
    if (m_nPauseKind >= 0) {
        const CTableImage& picture = m_pictures.Fixed(ResultPictureId(m_nPauseKind));
        if (picture.IsLoaded())
            picture.DrawMasked(dc.GetSafeHdc(), (client.Width() - picture.Width() / 2) / 2,
                               (client.Height() - picture.Height()) / 2);
    }
    DrawTaskPanel(dc);
    CString text = m_strStatus;
    if (!m_strHandResult.IsEmpty() && m_nPauseKind >= 0)
        text = m_strHandResult;
    if (!text.IsEmpty()) {
        CRect band(client.left, client.bottom - 190, client.right, client.bottom - 170);
        dc.SetTextColor(RGB(255, 255, 255));
        dc.DrawText(text, band, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
    }
    dc.SelectObject(oldFont);
}
