// The table window's options: the setup dialog (213) and what its OK
// changes, the play direction (210), the sort of the own hand (212), the
// background by its mode, the background music, the chat control's player
// list (command -100) and the news file's header. The rules
// of a change are TableTools.h's; this file binds them to the window, the
// board, the profile and the dialog.
#include "GameWnd.h"

#include <gdiplus.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "Bitmaps.h"
#include "ClientServices.h"
#include "GameClientApp.h"
#include "GameRecord.h"
#include "MardavelBoard.h"
#include "PngButton.h"
#include "QVChatEx.h"
#include "SetupDlg.h"
#include "TableTools.h"
#include "client_ids.h"

namespace {

const char kSettings[] = "Settings";
// Beneath the theme's picture.
constexpr COLORREF kThemeBackground = RGB(0, 128, 0);
// The theme background's corner stretched under the centred picture.
constexpr int kBackgroundCorner = 100;
// The full command word of the chat control's player refresh.
constexpr int32_t kCmdRefreshChatPlayers = -100;

// The own picture of background mode 2, read through GDI+ (any format it
// reads); null when the file cannot be read.
std::unique_ptr<CTableImage> LoadPictureFile(const std::string& path)
{
    const int n = ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, NULL, 0);
    if (n <= 1)
        return nullptr;
    std::wstring wide((size_t)n, L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &wide[0], n);
    Gdiplus::Bitmap* bitmap = Gdiplus::Bitmap::FromFile(wide.c_str());
    if (bitmap == NULL)
        return nullptr;
    if (bitmap->GetLastStatus() != Gdiplus::Ok) {
        delete bitmap;
        return nullptr;
    }
    GdiplusPicture* picture = new GdiplusPicture;
    picture->image = bitmap;
    std::unique_ptr<CTableImage> image(new CTableImage);
    // The image owns the record from here on, also when it fails.
    if (!GetImageSize(picture)) {
        delete picture;
        return nullptr;
    }
    if (!image->FromPicture(picture))
        return nullptr;
    return image;
}

}  // namespace

BOOL CGameWnd::OnOptionsCommand(WPARAM wParam)
{
    if ((int32_t)(uint32_t)wParam == kCmdRefreshChatPlayers) {
        RefreshChatPlayers();
        return TRUE;
    }
    switch ((int)LOWORD(wParam)) {
    case kBtnPlayDir: OnPlayDirection(); return TRUE;
    case kBtnSort: OnSortCards(); return TRUE;
    case kBtnSetup: OnOptions(); return TRUE;
    default: return FALSE;
    }
}

// ---- Play direction and sort -----------------------------------------------------------------

void CGameWnd::TurnPlayDirection()
{
    CGameClientApp* app = GetClientApp();
    if (app == NULL)
        return;
    app->m_nPlayDirection = app->m_nPlayDirection != 0 ? 0 : 1;
    app->UpdateSeatViews();
    ShowDirectionButton();
    LayoutTableNow();
}

void CGameWnd::OnPlayDirection()
{
    EnableButton(kBtnPlayDir, FALSE);
    TurnPlayDirection();
    EnableButton(kBtnPlayDir, TRUE);
    RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CGameWnd::OnSortCards()
{
    CGameClientApp* app = GetClientApp();
    if (app == NULL || !app->m_state.Exists() || m_bSorting)
        return;
    m_bSorting = TRUE;
    EnableButton(kBtnSort, FALSE);
    BoardEvent(kEvToggleSort, OwnSeat(), -1, NULL);
    EnableButton(kBtnSort, TRUE);
    m_bSorting = FALSE;
    const LayoutRect hand = OwnHandRect();
    CRect rect(hand.left, hand.top, hand.right, hand.bottom);
    InvalidateRect(&rect, TRUE);
    RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
}

// ---- The setup dialog ------------------------------------------------------------------------

TableOptions CGameWnd::CurrentOptions() const
{
    TableOptions o;
    o.settings = m_settings;
    o.backgroundMode = m_nBackgroundMode;
    CGameClientApp* app = GetClientApp();
    if (app == NULL)
        return o;
    o.playDirection = app->m_nPlayDirection;
    const int own = OwnSeat();
    if (app->m_state.Exists() && own >= 0 && own < kTableSeats)
        o.allowWatch = app->m_state.Get()->seats[own].watchersMaySee != 0 ? 1 : 0;
    if (app->m_pRecord != NULL) {
        o.saveAction = app->m_pRecord->m_nSaveAction;
        o.spSaveAction = app->m_pRecord->m_nWatchSaveAction;
        o.autoSavePath = (LPCSTR)app->m_pRecord->m_strSaveFolder;
    }
    o.personalChoice = PersonalDataChoice((int)app->GetProfileInt(kSettings, "PersonalData", 1));
    return o;
}

void CGameWnd::OnOptions()
{
    CGameClientApp* app = GetClientApp();
    if (app == NULL || m_bOptionsOpen)
        return;
    m_bOptionsOpen = TRUE;
    EnableButton(kBtnSetup, FALSE);
    const TableOptions before = CurrentOptions();
    const int personalData = (int)app->GetProfileInt(kSettings, "PersonalData", 1);

    CSetupDlg dialog(before.allowWatch, this);
    dialog.m_nSavedBackground = before.backgroundMode;
    dialog.m_crBackground = (COLORREF)before.settings.bkColor;
    dialog.m_strPicture = before.settings.bkBmp.c_str();
    dialog.m_bTile = before.settings.tile != 0;
    dialog.m_bSoundEffects = before.settings.soundEf != 0;
    dialog.m_bMusic = before.settings.music != 0;
    dialog.m_strMusicFile = before.settings.musicFile.c_str();
    dialog.m_bScoreBox = before.settings.openResult != 0;
    dialog.m_bScrollTips = before.settings.flyTipText != 0;
    dialog.m_bSmallCards = before.settings.smallCard != 0;
    dialog.m_nPlayOrder = before.playDirection != 0 ? 1 : 0;
    dialog.m_strShotFolder = before.settings.snapshot.c_str();
    dialog.m_strVideoFolder = before.settings.videoDir.c_str();
    dialog.m_nOwnRule = before.saveAction;
    dialog.m_nWatchedRule = before.spSaveAction;
    dialog.m_strSaveFolder = before.autoSavePath.c_str();
    dialog.m_bPersonalData = before.personalChoice;
    dialog.m_bPersonalDataAvailable = personalData != 0;
    // A watcher has no seat of his own to open to others.
    dialog.m_bWatchingLock = IsWatching();
    const INT_PTR answer = m_pfnRunSetup != NULL ? m_pfnRunSetup(dialog) : dialog.DoModal();

    if (answer == IDOK && GetSafeHwnd() != NULL) {
        TableOptions after = before;
        after.backgroundMode = dialog.m_nSavedBackground;
        after.settings.bkColor = (uint32_t)dialog.m_crBackground;
        after.settings.bkBmp = (LPCSTR)dialog.m_strPicture;
        after.settings.tile = dialog.m_bTile != 0;
        after.settings.soundEf = dialog.m_bSoundEffects != 0;
        after.settings.music = dialog.m_bMusic != 0;
        after.settings.musicFile = (LPCSTR)dialog.m_strMusicFile;
        after.settings.openResult = dialog.m_bScoreBox != 0;
        after.settings.flyTipText = dialog.m_bScrollTips != 0;
        after.settings.smallCard = dialog.m_bSmallCards != 0;
        after.playDirection = dialog.m_nPlayOrder != 0 ? 1 : 0;
        after.allowWatch = dialog.m_bAllowWatching != 0;
        after.settings.snapshot = (LPCSTR)dialog.m_strShotFolder;
        after.settings.videoDir = (LPCSTR)dialog.m_strVideoFolder;
        after.saveAction = dialog.m_nOwnRule;
        after.spSaveAction = dialog.m_nWatchedRule;
        after.autoSavePath = (LPCSTR)dialog.m_strSaveFolder;
        after.personalChoice = dialog.m_bPersonalData != 0;
        ApplyOptions(before, after, personalData);
    }
    EnableButton(kBtnSetup, TRUE);
    m_bOptionsOpen = FALSE;
}

BOOL CGameWnd::ApplyOptions(const TableOptions& before, const TableOptions& after, int personalData)
{
    CGameClientApp* app = GetClientApp();
    OptionsChange change = CompareOptions(before, after);
    std::unique_ptr<CTableImage> picture;
    if (change.loadPicture) {
        picture = LoadPictureFile(after.settings.bkBmp);
        if (picture == nullptr)
            change.cancelled = true;
    }
    if (change.cancelled) {
        CString line;
        line.Format("[OnOptions] background picture \"%s\" not usable: nothing changed",
                    after.settings.bkBmp.c_str());
        WriteGameLog(line);
        return FALSE;
    }
    // 1. The background; 2. sound and music; 3. prompts and the play direction.
    m_nBackgroundMode = after.backgroundMode;
    m_settings = after.settings;
    if (picture != nullptr)
        m_pOwnBackground = std::move(picture);
    m_bSoundOn = m_settings.soundEf != 0;
    theSoundPlayer.EnableSound(m_bSoundOn);
    if (change.restartMusic)
        ApplyMusicSetting();
    if (change.direction && app != NULL && (app->m_nPlayDirection != 0) != (after.playDirection != 0))
        TurnPlayDirection();
    // 4. Folders and the saved games' rules.
    if (app != NULL) {
        app->WriteProfileString(kSettings, "Snapshot", m_settings.snapshot.c_str());
        app->WriteProfileString(kSettings, "VideoDir", m_settings.videoDir.c_str());
        if (app->m_pRecord != NULL) {
            app->m_pRecord->m_nSaveAction = after.saveAction;
            app->m_pRecord->m_nWatchSaveAction = after.spSaveAction;
            app->m_pRecord->m_strSaveFolder = after.autoSavePath.c_str();
            app->m_pRecord->SaveSettings();
        }
        // The options the window reads at its creation are kept for the
        // next start too (the background mode always starts at 0).
        app->WriteProfileInt(kSettings, "BkColor", (int)m_settings.bkColor);
        app->WriteProfileString(kSettings, "BkBmp", m_settings.bkBmp.c_str());
        app->WriteProfileInt(kSettings, "Tile", m_settings.tile);
        app->WriteProfileInt(kSettings, "SoundEf", m_settings.soundEf);
        app->WriteProfileInt(kSettings, "Music", m_settings.music);
        app->WriteProfileString(kSettings, "MusicFile", m_settings.musicFile.c_str());
        app->WriteProfileInt(kSettings, "OpenResult", m_settings.openResult);
        app->WriteProfileInt(kSettings, "FlyTipText", m_settings.flyTipText);
        app->WriteProfileInt(kSettings, "SmallCard", m_settings.smallCard);
        app->WriteProfileInt(kSettings, "PlayDir", app->m_nPlayDirection);
    }
    // 5. The table composed again.
    if (change.repaint) {
        m_stillKey = StillLayerKey();
        LayoutTableNow();
        Redraw();
        Invalidate(TRUE);
    }
    // 6. The own seat's watching permission: the board turns it over and
    // tells the server.
    if (change.watching && !IsWatching())
        BoardEvent(kEvToggleWatchersMaySee, -1, -1, NULL);
    if (app != NULL) {
        app->WriteProfileInt(kSettings, "EnableWatch", after.allowWatch);
        // 7. Personal data, when known.
        if (personalData != 0)
            app->WriteProfileInt(kSettings, "PersonalData", PersonalDataFromChoice(after.personalChoice));
    }
    return TRUE;
}

// ---- Background and music ----------------------------------------------------------------------

void CGameWnd::DrawTableBackground(CDC& dc, const CRect& client)
{
    const COLORREF colour = (COLORREF)m_settings.bkColor;
    if (m_nBackgroundMode == 1) {
        dc.FillSolidRect(client, colour);
        return;
    }
    if (m_nBackgroundMode == 2 && m_pOwnBackground != nullptr && m_pOwnBackground->IsLoaded()) {
        if (m_settings.tile == 0)
            dc.FillSolidRect(client, colour);
        m_pOwnBackground->Draw(dc.GetSafeHdc(), client.left, client.top, client.Width(), client.Height(), 0, 0,
                               m_pOwnBackground->Width(), m_pOwnBackground->Height());
        return;
    }
    dc.FillSolidRect(client, kThemeBackground);
    const CTableImage& picture = m_pictures.background;
    if (!picture.IsLoaded())
        return;
    const BackgroundPlan plan = PlanThemeBackground(LayoutRect{client.left, client.top, client.right, client.bottom},
                                                    LayoutSize{picture.Width(), picture.Height()});
    const HDC hDC = dc.GetSafeHdc();
    if (plan.centred) {
        const int corner = kBackgroundCorner;
        picture.Draw(hDC, plan.under.left, plan.under.top, plan.under.right - plan.under.left,
                     plan.under.bottom - plan.under.top, 0, 0, std::min(corner, picture.Width()),
                     std::min(corner, picture.Height()));
    }
    const int w = plan.picture.right - plan.picture.left, h = plan.picture.bottom - plan.picture.top;
    picture.Draw(hDC, plan.picture.left, plan.picture.top, w, h, plan.sourceLeft, plan.sourceTop,
                 plan.centred ? w : picture.Width(), plan.centred ? h : picture.Height());
}

void CGameWnd::ApplyMusicSetting()
{
    if (MusicPlays(m_settings.music, m_settings.soundEf) && !m_settings.musicFile.empty())
        PlayMidiFile(m_settings.musicFile.c_str());
    else
        StopMidiMusic();
}

// ---- The chat control's players ------------------------------------------------------------------

void CGameWnd::RefreshChatPlayers()
{
    CGameClientApp* app = GetClientApp();
    if (app == NULL || !app->m_state.Exists() || app->m_pChat == NULL || app->m_pChat->GetSafeHwnd() == NULL)
        return;
    const BoardGameState& s = *app->m_state.Get();
    const int count = app->m_nPlayerCount < kTableSeats ? app->m_nPlayerCount : kTableSeats;
    for (int seat = 0; seat < count; seat++) {
        char name[sizeof s.seats[seat].player.userName + 1] = {};
        memcpy(name, s.seats[seat].player.userName, sizeof s.seats[seat].player.userName);
        app->m_pChat->CallDispid66(name, (long)s.seats[seat].player.scoreTotal);
    }
}

// ---- The table options block ---------------------------------------------------------------------

void CGameWnd::StoreTableOptions(const uint8_t* pMessage, size_t nSize)
{
    uint32_t values[kTableOptionValues];
    if (!ReadTableOptions(pMessage, nSize, values)) {
        WriteGameLog("[StoreTableOptions] malformed, ignored");
        return;
    }
    memcpy(m_tableOptions, values, sizeof m_tableOptions);
}

// ---- The news --------------------------------------------------------------------------------------

void CGameWnd::ShowNews(const CString titles[4], const CString links[4])
{
    for (int i = 0; i < 4; i++) {
        NewsText(i) = titles[i];
        NewsLink(i) = links[i];
    }
    RefreshNews();
}
