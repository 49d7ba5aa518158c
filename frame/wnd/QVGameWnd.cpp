// QVGameWnd.cpp - see QVGameWnd.h. The layout load is in GameLayout.cpp.
#include "QVGameWnd.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "BkPainter.h"
#include "ChatText.h"
#include "ImageCache.h"
#include "AboutDlg.h"
#include "SceneItem.h"
#include "ScenePainter.h"
#include "SpliteGrid.h"
#include "app/GameApp.h"
#include "net/GameClientSocket.h"

IMPLEMENT_DYNCREATE(CQVGameWnd, CFrameWnd)

BOOL CQVGameWnd::s_bClosing = FALSE;

namespace {

UINT g_nLobbyMessage = 0;
int g_nSeconds = 0;

// Drop message body.
#pragma pack(push, 1)
struct DropBody
{
    uint32_t item;
    uint32_t zero;
    uint32_t fourth;
    uint32_t fifth;
    uint8_t chair;
    uint8_t flags;
    char userName[20];
    char nickName[26];
};
#pragma pack(pop)
static_assert(sizeof(DropBody) == 64, "drop message body is 64 bytes");

// A zero-terminated copy that never runs past the field.
void CopyName(char* field, size_t size, LPCSTR text)
{
    memset(field, 0, size);
    if (text != NULL)
        strncpy(field, text, size - 1);
}

// The application base's ShowGameWindow places a game frame it created.
void RestoreGameFramePlacement(CFrameWnd* frame)
{
    if (CQVGameWnd* game = dynamic_cast<CQVGameWnd*>(frame))
        game->RestorePlacement();
}

struct PlacementRoutineSetter
{
    PlacementRoutineSetter() { g_pfnRestoreFramePlacement = RestoreGameFramePlacement; }
} g_placementRoutineSetter;

}  // namespace

UINT CQVGameWnd::GetLobbyMessage()
{
    if (g_nLobbyMessage == 0)
        g_nLobbyMessage = ::RegisterWindowMessageA("QV_LOBBYFINDGAME_MESSAGE_ID");
    return g_nLobbyMessage;
}

BEGIN_MESSAGE_MAP(CQVGameWnd, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_TIMER()
    ON_WM_CLOSE()
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_WM_CAPTURECHANGED()
    ON_WM_NCHITTEST()
    ON_WM_NCLBUTTONDOWN()
    ON_WM_NCLBUTTONUP()
    ON_WM_NCLBUTTONDBLCLK()
    ON_WM_GETMINMAXINFO()
    ON_WM_NCACTIVATE()
    ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT()
    ON_WM_ACTIVATEAPP()
    ON_WM_ACTIVATE()
    ON_WM_SYSCOMMAND()
    ON_WM_NCRBUTTONDOWN()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_MESSAGE(kChatTextMessage, OnChatTextMessage)
    ON_MESSAGE(kShowChatTextMessage, OnShowChatTextMessage)
    ON_REGISTERED_MESSAGE(g_nLobbyMessage, OnLobbyMessage)
END_MESSAGE_MAP()

CQVGameWnd::CQVGameWnd()
    : m_nKeyValue4(0), m_crText(RGB(255, 255, 255)), m_crTransparent(RGB(255, 0, 255)), m_titleFont(),
      m_titleButtons(10), m_pChatWnd(NULL), m_pToolWnd(NULL), m_pAdvertWnd(NULL), m_avatars(10), m_pCache(NULL),
      m_pRootArea(NULL), m_bCapture(FALSE), m_pCaptureArea(NULL), m_rcTitle(0, 0, 0, 0), m_nAboutId(0),
      m_rcAbout(0, 0, 0, 0), m_nResizeGrip(0), m_nRoundRadius(0), m_bActive(TRUE), m_ptInactiveTitle(0, 0),
      m_nDrag{0, 0, 0, 0, 0}, m_dwDragStart(0), m_rcTitleText(0, 0, 0, 0)
{
    GetLobbyMessage();
}

CQVGameWnd::~CQVGameWnd()
{
    DeleteLayout();
    for (int i = 0; i < m_avatars.GetCount(); i++) {
        AvatarEntry* e = m_avatars.GetAt(i);
        if (e->window != NULL) {
            e->window->DestroyWindow();
            delete e->window;
        }
    }
    m_avatars.DeleteAll();
    delete m_pCache;
    m_pCache = NULL;
    for (CWnd* w : {m_pChatWnd, m_pToolWnd, m_pAdvertWnd}) {
        if (w != NULL) {
            if (::IsWindow(w->GetSafeHwnd()))
                w->DestroyWindow();
            delete w;
        }
    }
    if (GetAreaHost() == this)
        SetAreaHost(NULL);
}

void CQVGameWnd::DeleteLayout()
{
    m_titleButtons.DeleteAll();
    CBkPainter* root = m_pRootArea;
    m_pRootArea = NULL;
    m_pScenePainter = NULL;
    m_pPressedArea = NULL;
    m_pPressedButton = NULL;
    m_pCaptureArea = NULL;
    delete root;
    m_painters.RemoveAll();
}

// ---- Virtual operations -------------------------------------------------------------------

void CQVGameWnd::CloseGame()
{
    s_bClosing = TRUE;
    PostMessage(WM_CLOSE);
}

void CQVGameWnd::OnFrameHook2(int) {}
void CQVGameWnd::OnFrameHook3(int) {}
void CQVGameWnd::ForwardToToolWindow(int value)
{
    if (m_pToolWnd != NULL && ::IsWindow(m_pToolWnd->GetSafeHwnd()))
        m_pToolWnd->SendMessage(WM_USER, static_cast<WPARAM>(value), 0);
}
int CQVGameWnd::OnFrameQuery5(int) { return 0; }
int CQVGameWnd::OnFrameQuery6(int) { return 0; }
int CQVGameWnd::OnFrameQuery7(int) { return 0; }
void CQVGameWnd::OnSecondTick() {}

namespace {

// Texts of the chat control that carry a symbol font's picture characters.
bool IsSymbolFontText(LPCSTR text)
{
    return strncmp(text, "<f=Webdings", 11) == 0 || strncmp(text, "<f=Wingdings", 12) == 0;
}

}  // namespace

LRESULT CQVGameWnd::OnChatText(WPARAM, LPARAM lParam)
{
    LPCSTR text = reinterpret_cast<LPCSTR>(lParam);
    if (text == NULL || *text == 0 || IsSymbolFontText(text))
        return 0;
    if (strncmp(text, "``", 2) != 0)
        ShowSpeakerBalloon(text);
    return 0;
}

LRESULT CQVGameWnd::ShowChatText(WPARAM, LPARAM lParam)
{
    LPCSTR text = reinterpret_cast<LPCSTR>(lParam);
    if (text == NULL || *text == 0 || IsSymbolFontText(text))
        return 0;
    ShowSpeakerBalloon(text);
    return 0;
}

void CQVGameWnd::ShowSpeakerBalloon(LPCSTR text)
{
    ChatLine line;
    if (m_pScenePainter == NULL || !ParseChatLine(text, &line))
        return;
    const int index = FindSpeakerIndex(line.speaker.c_str());
    if (index >= 0)
        m_pScenePainter->ShowBalloon(index, line.balloon.c_str());
}

int CQVGameWnd::FindSpeakerIndex(LPCSTR userName)
{
    CGameApp* app = GetGameApp();
    return app != NULL ? app->FindPlayerIndex(userName) : -1;
}

int CQVGameWnd::OnFrameQuery11(int, int b) { return b == 3 ? 1 : 0; }

void CQVGameWnd::OnDragStart(int first, int item, int third, int fourth, int fifth)
{
    m_nDrag[0] = first;
    m_nDrag[1] = item;
    m_nDrag[2] = third;
    m_nDrag[3] = fourth;
    m_nDrag[4] = fifth;
    m_dwDragStart = item != 0 ? ::GetTickCount() : 0;
}

void CQVGameWnd::OnFrameHook13(int, int, int, int, int) {}

void CQVGameWnd::OnDropDone(int, int targetFlags, int item, int fourth, int fifth)
{
    m_nDrag[1] = 0;
    m_nDrag[2] = 0;
    m_dwDragStart = 0;
    DropBody body = {};
    body.item = static_cast<uint32_t>(item);
    body.zero = 0;
    body.fourth = static_cast<uint32_t>(fourth);
    body.fifth = static_cast<uint32_t>(fifth);
    CGameApp* app = GetGameApp();
    // With no player listed there is no own chair: the watcher's 15 is sent.
    body.chair = 15;
    if (app != NULL && !app->m_bWatcher && app->GetPlayer(0) != NULL)
        body.chair = static_cast<uint8_t>(app->GetPlayer(0)->m_nChair);
    body.flags = (targetFlags & 0x1000) != 0 ? static_cast<uint8_t>(targetFlags & 0xFF) : 0;
    CopyName(body.userName, sizeof body.userName, app ? app->m_pszUserName : NULL);
    CopyName(body.nickName, sizeof body.nickName, app ? app->m_pszNickName : NULL);
    SendGameMessage(kDropMessage, &body, sizeof body);
}

BOOL CQVGameWnd::IsDropAllowed(int, int flag)
{
    CGameApp* app = GetGameApp();
    return !IsOnline() || flag != 0 || (app != NULL && app->m_bWatcher);
}

void CQVGameWnd::ShowItemAtSeat(int chair)
{
    if (m_hWnd == NULL || m_pToolWnd == NULL || m_pScenePainter == NULL)
        return;
    for (int i = 0; i < kMaxSeatPlayers; i++) {
        CGamePlayer* player = GetPlayer(i);
        if (player == NULL)
            return;
        if (static_cast<int>(player->m_nChair) != chair)
            continue;
        CRect box;
        if (!SeatBox(i, &box))
            return;
        ClientToScreen(&box);
        ShowToolItem(box);
        return;
    }
}

BOOL CQVGameWnd::SeatBox(int seat, CRect* box) const
{
    if (m_pScenePainter == NULL)
        return FALSE;
    const ScenePoint p = m_pScenePainter->GetAvatarPosition(seat);
    if (p.x == kNoScenePosition && p.y == kNoScenePosition)
        return FALSE;
    const SIZE size = m_pScenePainter->GetAvatarBox();
    const CRect& area = m_pScenePainter->GetRect();
    const int x = area.left + p.x - size.cx / 2, y = area.top + p.y - size.cy / 2;
    box->SetRect(x, y, x + size.cx, y + size.cy);
    return TRUE;
}

BOOL CQVGameWnd::FindDropSeat(CPoint point, int* seat, int* flag)
{
    for (int i = 0; m_pScenePainter != NULL && i < kMaxSeatPlayers; i++) {
        CGamePlayer* player = GetPlayer(i);
        if (player == NULL)
            break;
        CRect box;
        if (!SeatBox(i, &box) || !box.PtInRect(point))
            continue;
        const int bit = static_cast<int>(player->m_nValue & 0x1000);
        if (IsDropAllowed(0, bit)) {
            *seat = i;
            *flag = bit;
            return TRUE;
        }
    }
    return FALSE;
}

void CQVGameWnd::ToggleSceneItem(LPCSTR name)
{
    if (m_pScenePainter == NULL)
        return;
    if (CQVSceneItem* item = m_pScenePainter->FindNamedItem(name))
        item->SetState(item->GetState() != 0 ? 0 : 1, TRUE);
}

void CQVGameWnd::DropOnToolComponent(CPoint) {}

void CQVGameWnd::ShowToolItem(const CRect&) {}

void CQVGameWnd::EndToolDrag() {}

CString CQVGameWnd::GetBackImagePath()
{
    CGameApp* app = GetGameApp();
    if (app == NULL)
        return CString();
    return app->m_strInstallPath + app->m_strGameName + "_bk.bgd";
}

void CQVGameWnd::InitResize()
{
    RECT work = {0, 0, 0, 0};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    m_sizes = ComputeFrameSizes(work.right - work.left, work.bottom - work.top);
    m_hArrowCursor = ::LoadCursor(NULL, IDC_ARROW);
    m_hSizeNSCursor = ::LoadCursor(NULL, IDC_SIZENS);
    m_hSizeWECursor = ::LoadCursor(NULL, IDC_SIZEWE);
    if (CWinApp* app = AfxGetApp()) {
        m_maximize.resizeX = static_cast<int>(app->GetProfileInt("MainFrame", "resizeX", 0));
        m_maximize.resizeY = static_cast<int>(app->GetProfileInt("MainFrame", "resizeY", 0));
        m_maximize.resizeL = static_cast<int>(app->GetProfileInt("MainFrame", "resizeL", 0));
    }
}

BOOL CQVGameWnd::OnLoadGameInfo(CQVIniFile*, LPCSTR) { return TRUE; }
void CQVGameWnd::OnBackImage(CImageObj*) {}
void CQVGameWnd::OnBackImage2(CImageObj*) {}

CQVScenePainter* CQVGameWnd::CreateScenePainter() { return new (std::nothrow) CQVScenePainter; }

BOOL CQVGameWnd::OnCreateGameWnd(CQVScenePainter* painter, LPCSTR)
{
    CGameApp* app = GetGameApp();
    if (app != NULL) {
        for (int i = 0; i < app->GetPlayerCount(); i++) {
            if (CGamePlayer* p = app->GetPlayer(i))
                GetAvatarPicture(p->m_pszUserName);
        }
        if (app->m_bWatcher && app->m_pszUserName != NULL)
            GetAvatarPicture(app->m_pszUserName);
    }
    m_pScenePainter = painter;
    if (painter != NULL && !painter->HasScene())
        return painter->LoadFirstScene();
    return TRUE;
}

CAreaPainter* CQVGameWnd::CreateAreaPainter(LPCSTR) { return new (std::nothrow) CAreaPainter; }

CSpliteGrid* CQVGameWnd::CreateSpliteGrid() { return new (std::nothrow) CSpliteGrid; }

BOOL CQVGameWnd::OnCreateSpliteGrid(CSpliteGrid*, LPCSTR) { return TRUE; }

void CQVGameWnd::ToggleMaximize()
{
    RECT work = {0, 0, 0, 0};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    CRect now;
    GetWindowRect(&now);
    const AreaRect next = NextMaximizeRect(AreaRect(now.left, now.top, now.right, now.bottom), m_sizes,
                                            AreaRect(work.left, work.top, work.right, work.bottom), m_maximize);
    MoveWindow(next.l, next.t, next.Width(), next.Height(), TRUE);
}

void CQVGameWnd::Minimize() { ShowWindow(SW_MINIMIZE); }
void CQVGameWnd::PostClose() { PostMessage(WM_CLOSE); }
void CQVGameWnd::OnCaptionHook31() {}
void CQVGameWnd::OnCaptionHook32() {}
void CQVGameWnd::OnCaptionHook33() {}
void CQVGameWnd::OnCaptionHook34() {}
void CQVGameWnd::ShowAboutDialog()
{
    CQVAboutDlg about(m_nAboutId, this);
    about.DoModal();
}

// ---- Connection and embedded controls ------------------------------------------------------

BOOL CQVGameWnd::IsOnline()
{
    CGameApp* app = GetGameApp();
    return app != NULL && app->m_bOnline;
}

BOOL CQVGameWnd::IsConnectionOpen() { return theGameSocket.IsOpen(); }

DWORD CQVGameWnd::GetIdleSeconds() { return CGameSocket::GetIdleSecond(); }

BOOL CQVGameWnd::SendGameMessage(uint32_t id, const void* body, uint32_t length)
{
    return theGameSocket.SendMsg(id, body, length);
}

namespace {

CWnd* MakeChild(CWnd* parent, UINT id, BOOL visible)
{
    CWnd* w = new (std::nothrow) CWnd;
    if (w == NULL)
        return NULL;
    const RECT r = {0, 0, 20, 20};
    if (!w->Create(AfxRegisterWndClass(0), "", WS_CHILD | (visible ? WS_VISIBLE : 0), r, parent, id)) {
        delete w;
        return NULL;
    }
    return w;
}

}  // namespace

CWnd* CQVGameWnd::CreateChatWindow(BOOL visible) { return MakeChild(this, kChatWndId, visible); }
CWnd* CQVGameWnd::CreateToolWindow(BOOL visible) { return MakeChild(this, kToolWndId, visible); }
CWnd* CQVGameWnd::CreateAdvertWindow() { return MakeChild(this, kAdvertWndId, TRUE); }
CWnd* CQVGameWnd::CreateAvatarWindow(LPCSTR) { return NULL; }

// ---- Window creation ---------------------------------------------------------------------------

BOOL CQVGameWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!CFrameWnd::PreCreateWindow(cs))
        return FALSE;
    cs.hMenu = NULL;
    cs.dwExStyle &= ~WS_EX_CLIENTEDGE;
    if (CGameApp* app = GetGameApp())
        cs.lpszName = app->m_strFirstText;
    return TRUE;
}

int CQVGameWnd::OnCreate(LPCREATESTRUCT cs)
{
    if (CFrameWnd::OnCreate(cs) == -1)
        return -1;
    ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, kFrameStyle | (GetStyle() & WS_VISIBLE));
    if (m_pToolWnd == NULL) {
        m_pToolWnd = CreateToolWindow(FALSE);
        if (m_pToolWnd == NULL) {
            WriteLog("OnCreateNameWnd create item wnd fail!");
            return -1;
        }
    }
    SetAreaHost(this);
    if (m_tooltip.Create(this)) {
        const RECT none = {0, 0, 0, 0};
        m_tooltip.AddTool(this, "", &none, kToolTipId);
        m_tooltip.Activate(TRUE);
        m_tooltip.SetDelayTime(0);
    }
    ::SetClassLongPtrA(m_hWnd, GCL_STYLE, ::GetClassLongPtrA(m_hWnd, GCL_STYLE) | CS_DBLCLKS);
    if (!LoadGameInfo()) {
        WriteLog("[OnCreate] LoadGameInfo failed!");
        return -1;
    }
    InitResize();
    SetTimer(kAnimationTimer, kAnimationTimerMs);
    m_nAnimationPeriod = kAnimationTimerMs;
    SetTimer(kSecondTimer, kSecondTimerMs);
    GetLobbyMessage();
    ::SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, kUserData);
    return 0;
}

void CQVGameWnd::OnDestroy()
{
    KillTimer(kAnimationTimer);
    KillTimer(kSecondTimer);
    CFrameWnd::OnDestroy();
    if (s_bClosing) {
        if (CWinApp* app = AfxGetApp())
            app->ExitInstance();
    }
}

int CQVGameWnd::GetSecondCounter() const { return g_nSeconds; }

void CQVGameWnd::OnTimer(UINT_PTR id)
{
    Default();
    if (id == kAnimationTimer) {
        bool moving = false;
        if (m_pScenePainter != NULL) {
            m_pScenePainter->OnTick(TRUE);
            moving = m_pScenePainter->GetDirtyList().GetBandCount() > 0;
        }
        // Idle between animations: a slower tick (a frame woken 33 times a
        // second for nothing costs the machine more than all its drawing).
        const UINT period = moving ? kAnimationTimerMs : kQuietAnimationTimerMs;
        if (period != m_nAnimationPeriod && SetTimer(kAnimationTimer, period) != 0)
            m_nAnimationPeriod = period;
    } else if (id == kSecondTimer) {
        g_nSeconds++;
        if (!IsOnline()) {
            if (g_nSeconds >= 60)
                g_nSeconds = 0;
            OnSecondTick();
        } else {
            const DWORD idle = GetIdleSeconds();
            if (static_cast<DWORD>(g_nSeconds) >= idle) {
                g_nSeconds = 0;
                if (IsConnectionOpen())
                    SendGameMessage(kKeepAliveMessage, NULL, 0);
            }
        }
    }
}

void CQVGameWnd::OnClose()
{
    CRect r;
    GetWindowRect(&r);
    if (CWinApp* app = AfxGetApp()) {
        app->WriteProfileInt("MainFrame", "left", r.left);
        app->WriteProfileInt("MainFrame", "top", r.top);
        app->WriteProfileInt("MainFrame", "width", r.Width());
        app->WriteProfileInt("MainFrame", "height", r.Height());
    }
    CFrameWnd::OnClose();
}

BOOL CQVGameWnd::OnEraseBkgnd(CDC*) { return TRUE; }

void CQVGameWnd::OnPaint()
{
    CPaintDC dc(this);
    const RECT& r = dc.m_ps.rcPaint;
    if (!m_workImage.IsEmpty())
        m_workImage.DrawToDC(dc.GetSafeHdc(), &r, r.left, r.top);
}

void CQVGameWnd::OnSize(UINT type, int cx, int cy)
{
    CFrameWnd::OnSize(type, cx, cy);
    if (cx <= 40 || cy <= 40)
        return;
    if (!m_backImage.IsEmpty() && m_backImage.GetWidth() == cx && m_backImage.GetHeight() == cy)
        return;
    const RECT none = {0, 0, 0, 0};
    UpdateTip("", none);
    if (!m_backImage.Create(cx, cy, 24) || !m_workImage.Create(cx, cy, 24))
        return;
    UpdateBackImage();
    if (m_nRoundRadius != 0) {
        HRGN rgn = ::CreateRoundRectRgn(0, 0, cx + 1, cy + 1, m_nRoundRadius, m_nRoundRadius);
        if (rgn != NULL && !SetWindowRgn(rgn, TRUE))
            ::DeleteObject(rgn);
    }
}

void CQVGameWnd::ReleaseHeldCapture(CPoint point)
{
    CBkPainter* area = m_pCaptureArea;
    m_bCapture = FALSE;
    m_pCaptureArea = NULL;
    if (area != NULL && HasPainter(area) && area == m_pPressedArea) {
        area->OnButtonUp(point.x, point.y, 1);
    } else if (area == NULL && m_pPressedButton != NULL) {
        m_pPressedButton->OnRelease(point);
    }
}

void CQVGameWnd::OnCaptureChanged(CWnd* wnd)
{
    if (m_bCapture && (wnd == NULL || wnd->GetSafeHwnd() != m_hWnd))
        ReleaseHeldCapture(CPoint(-1000, -1000));
    CFrameWnd::OnCaptureChanged(wnd);
}

UINT CQVGameWnd::OnNcHitTest(CPoint point)
{
    ScreenToClient(&point);
    HitTestInput in;
    in.x = point.x;
    in.y = point.y;
    for (int i = 0; i < m_titleButtons.GetCount(); i++) {
        if (m_titleButtons.GetAt(i)->HitTest(point))
            in.onTitleButton = true;
    }
    in.title = AreaRect(m_rcTitle.left, m_rcTitle.top, m_rcTitle.right, m_rcTitle.bottom);
    in.about = AreaRect(m_rcAbout.left, m_rcAbout.top, m_rcAbout.right, m_rcAbout.bottom);
    in.hasRoot = m_pRootArea != NULL;
    if (m_pRootArea != NULL) {
        const CRect& r = m_pRootArea->GetRect();
        in.root = AreaRect(r.left, r.top, r.right, r.bottom);
    }
    in.grip = m_nResizeGrip;
    in.backWidth = m_backImage.IsEmpty() ? 0 : m_backImage.GetWidth();
    CRect client;
    GetClientRect(&client);
    in.clientW = client.Width();
    in.clientH = client.Height();
    const int hit = FrameHitTest(in);
    if (hit == kHitCaption)
        return HTCAPTION;
    if (hit == kHitBottomRight)
        return HTBOTTOMRIGHT;
    return static_cast<UINT>(Default());
}

void CQVGameWnd::OnNcLButtonDown(UINT hit, CPoint point) { CFrameWnd::OnNcLButtonDown(hit, point); }
void CQVGameWnd::OnNcLButtonUp(UINT hit, CPoint point) { CFrameWnd::OnNcLButtonUp(hit, point); }

void CQVGameWnd::OnNcLButtonDblClk(UINT hit, CPoint)
{
    if (hit == HTCAPTION)
        ToggleMaximize();
}

void CQVGameWnd::OnGetMinMaxInfo(MINMAXINFO* info)
{
    RECT work = {0, 0, 0, 0};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    CFrameWnd::OnGetMinMaxInfo(info);
}

BOOL CQVGameWnd::OnNcActivate(BOOL active) { return CFrameWnd::OnNcActivate(active); }

void CQVGameWnd::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*)
{
    // No non-client area: the client area is the whole window.
}

void CQVGameWnd::OnNcPaint() {}

void CQVGameWnd::OnActivateApp(BOOL active, DWORD threadId) { CFrameWnd::OnActivateApp(active, threadId); }

void CQVGameWnd::OnActivate(UINT state, CWnd* other, BOOL minimized)
{
    if (!minimized)
        SetActive(state != WA_INACTIVE);
    CFrameWnd::OnActivate(state, other, minimized);
}

void CQVGameWnd::OnSysCommand(UINT id, LPARAM lParam)
{
    const UINT cmd = id & 0xFFF0;
    if (m_nAboutId != 0 && id == m_nAboutId) {
        ShowAboutDialog();
    } else if (cmd == SC_RESTORE) {
        if (IsIconic())
            ShowWindow(SW_RESTORE);
        else
            ToggleMaximize();
    } else if (cmd == SC_MAXIMIZE) {
        ToggleMaximize();
    } else if (cmd == SC_MINIMIZE) {
        Minimize();
    } else {
        CFrameWnd::OnSysCommand(id, lParam);
    }
}

void CQVGameWnd::OnNcRButtonDown(UINT hit, CPoint point)
{
    CPoint client = point;
    ScreenToClient(&client);
    if (hit == HTCAPTION && m_rcTitle.PtInRect(client) && m_pToolWnd != NULL &&
        ::IsWindow(m_pToolWnd->GetSafeHwnd())) {
        HMENU menu = ::GetSystemMenu(m_hWnd, FALSE);
        if (menu != NULL) {
            const UINT cmd = ::TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_RETURNCMD, point.x, point.y, 0, m_hWnd, NULL);
            if (cmd != 0)
                PostMessage(WM_SYSCOMMAND, cmd, 0);
        }
        return;
    }
    CFrameWnd::OnNcRButtonDown(hit, point);
}

void CQVGameWnd::AddAboutMenu(UINT id)
{
    HMENU menu = ::GetSystemMenu(m_hWnd, FALSE);
    if (menu == NULL)
        return;
    ::AppendMenuA(menu, MF_SEPARATOR, 0, NULL);
    ::AppendMenuA(menu, MF_STRING, id, "关于(&A)");
    m_nAboutId = id;
}

void CQVGameWnd::OnLButtonDown(UINT flags, CPoint point)
{
    CFrameWnd::OnLButtonDown(flags, point);
    CRect about = m_rcAbout;
    about.OffsetRect(m_rcTitle.left, m_rcTitle.top);
    if (about.PtInRect(point)) {
        HMENU menu = ::GetSystemMenu(m_hWnd, FALSE);
        if (menu != NULL) {
            CPoint screen = point;
            ClientToScreen(&screen);
            const UINT cmd = ::TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_RETURNCMD, screen.x, screen.y, 0, m_hWnd, NULL);
            if (cmd != 0)
                PostMessage(WM_SYSCOMMAND, cmd, 0);
        }
        return;
    }
    if (m_dwDragStart == 0 && m_nDrag[1] == 0) {
        m_pPressedArea = NULL;
        for (int i = 0; i < m_titleButtons.GetCount(); i++) {
            if (m_titleButtons.GetAt(i)->OnPress(point))
                return;
        }
        if (m_pRootArea != NULL && m_pRootArea->GetRect().PtInRect(point))
            m_pRootArea->OnMouseDown(point.x, point.y);
        return;
    }
    // A drag from the tool window ends here: the item goes to the first seat
    // under the point whose player may take it.
    int seat = -1, flag = 0;
    if (FindDropSeat(point, &seat, &flag)) {
        CPoint screen = point;
        ClientToScreen(&screen);
        DropOnToolComponent(screen);
        OnDropDone(m_nDrag[0], flag, m_nDrag[1], m_nDrag[3], m_nDrag[4]);
    }
    EndToolDrag();
    m_nDrag[1] = 0;
    m_nDrag[2] = 0;
    m_dwDragStart = 0;
    if (m_hArrowCursor != NULL)
        ::SetCursor(m_hArrowCursor);
}

void CQVGameWnd::OnLButtonUp(UINT flags, CPoint point)
{
    CFrameWnd::OnLButtonUp(flags, point);
    if (!m_bCapture)
        return;
    m_bCapture = FALSE;
    CBkPainter* area = m_pCaptureArea;
    m_pCaptureArea = NULL;
    ::ReleaseCapture();
    if (area != NULL && HasPainter(area) && area == m_pPressedArea)
        area->OnButtonUp(point.x, point.y, 1);
    else if (area == NULL && m_pPressedButton != NULL)
        m_pPressedButton->OnRelease(point);
}

void CQVGameWnd::RelayToTip(MSG* msg)
{
    if (::IsWindow(m_tooltip.GetSafeHwnd()))
        m_tooltip.RelayEvent(msg);
}

BOOL CQVGameWnd::PreTranslateMessage(MSG* msg)
{
    if (msg->hwnd == m_hWnd) {
        const CPoint pt(static_cast<short>(LOWORD(msg->lParam)), static_cast<short>(HIWORD(msg->lParam)));
        switch (msg->message) {
        case WM_MOUSEMOVE:
        case WM_NCMOUSEMOVE: {
            CPoint client = pt;
            if (msg->message == WM_NCMOUSEMOVE)
                ScreenToClient(&client);
            if (m_dwDragStart != 0)
                break;
            if (m_bCapture) {
                if (m_pCaptureArea != NULL && HasPainter(m_pCaptureArea))
                    m_pCaptureArea->OnMouseMove(client.x, client.y);
                else if (m_pCaptureArea == NULL && m_pPressedButton != NULL)
                    m_pPressedButton->OnMouseMove(client);
                break;
            }
            RelayToTip(msg);
            if (m_hArrowCursor != NULL)
                ::SetCursor(m_hArrowCursor);
            if (m_pRootArea != NULL)
                m_pRootArea->OnMouseMove(client.x, client.y);
            for (int i = 0; i < m_titleButtons.GetCount(); i++)
                m_titleButtons.GetAt(i)->OnMouseMove(client);
            break;
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
            RelayToTip(msg);
            break;
        case WM_LBUTTONDBLCLK:
            if (msg->wParam == MK_LBUTTON && m_dwDragStart == 0) {
                RelayToTip(msg);
                m_pPressedArea = NULL;
                if (m_pRootArea != NULL && m_pRootArea->GetRect().PtInRect(pt))
                    m_pRootArea->OnDoubleClick(pt.x, pt.y);
            }
            break;
        case WM_MOUSEWHEEL:
            if (m_pPressedArea != NULL && HasPainter(m_pPressedArea))
                m_pPressedArea->OnMouseWheel(static_cast<short>(HIWORD(msg->wParam)));
            break;
        case WM_SYSCHAR:
            return TRUE;
        case WM_KEYDOWN:
            switch (msg->wParam) {
            case VK_F4:
                if (!LoadGameInfo() || !UpdateBackImage())
                    PostMessage(WM_CLOSE);
                return TRUE;
            case VK_F3:
                ToggleMaximize();
                return TRUE;
            case VK_F5:
                ToggleSceneItem("gang");
                return TRUE;
            case VK_F6:
                ToggleSceneItem("ren_2");
                return TRUE;
            case VK_F7:
                if (m_pScenePainter != NULL) {
                    if (CQVSceneItem* star = m_pScenePainter->FindNamedItem("star"))
                        star->MoveBy(20, -30, 0);
                }
                return TRUE;
            default:
                break;
            }
            break;
        default:
            break;
        }
    }
    return CFrameWnd::PreTranslateMessage(msg);
}

LRESULT CQVGameWnd::OnChatTextMessage(WPARAM wParam, LPARAM lParam) { return OnChatText(wParam, lParam); }
LRESULT CQVGameWnd::OnShowChatTextMessage(WPARAM wParam, LPARAM lParam) { return ShowChatText(wParam, lParam); }

LRESULT CQVGameWnd::OnLobbyMessage(WPARAM, LPARAM lParam)
{
    if (lParam == 0)
        ShowWindow(SW_HIDE);
    else if (lParam == 1)
        ShowWindow(SW_SHOW);
    return 0;
}

// ---- Placement and activation ---------------------------------------------------------------

void CQVGameWnd::RestorePlacement()
{
    int l = 0, t = 0, w = 0, h = 0;
    if (CWinApp* app = AfxGetApp()) {
        l = static_cast<int>(app->GetProfileInt("MainFrame", "left", 0));
        t = static_cast<int>(app->GetProfileInt("MainFrame", "top", 0));
        w = static_cast<int>(app->GetProfileInt("MainFrame", "width", 0));
        h = static_cast<int>(app->GetProfileInt("MainFrame", "height", 0));
    }
    const AreaRect r = RestoredPlacement(l, t, w, h, m_sizes, ::GetSystemMetrics(SM_CXSCREEN),
                                          ::GetSystemMetrics(SM_CYSCREEN));
    MoveWindow(r.l, r.t, r.Width(), r.Height(), TRUE);
    ShowWindow(SW_SHOW);
    UpdateWindow();
}

void CQVGameWnd::SetActive(BOOL active)
{
    active = active ? TRUE : FALSE;
    if (m_bActive == active)
        return;
    m_bActive = active;
    if (m_workImage.IsEmpty())
        return;
    if (!m_inactiveTitle.IsEmpty()) {
        const CRect r(m_ptInactiveTitle, CSize(m_inactiveTitle.GetWidth(), m_inactiveTitle.GetHeight()));
        if (!active)
            m_workImage.BlendDraw2(&m_inactiveTitle, NULL, r.left, r.top);
        else
            m_workImage.BlendDraw1(&m_backImage, &r, r.left, r.top);
        CopyToWindow(&r);
    }
    UpdateBackImage();
}

// ---- Area host services ---------------------------------------------------------------------

void CQVGameWnd::CopyToWindow(const RECT* rect)
{
    if (m_hWnd == NULL || m_workImage.IsEmpty())
        return;
    HDC dc = ::GetDC(m_hWnd);
    if (dc == NULL)
        return;
    if (rect != NULL)
        m_workImage.DrawToDC(dc, rect, rect->left, rect->top);
    else
        m_workImage.DrawToDC(dc, NULL, 0, 0);
    ::ReleaseDC(m_hWnd, dc);
}

void CQVGameWnd::RedrawRect(CBkButton* button, const RECT& rect)
{
    if (m_workImage.IsEmpty())
        return;
    m_workImage.BlendDraw1(&m_backImage, &rect, rect.left, rect.top);
    if (button != NULL)
        button->Draw(&m_workImage, 0, 0);
    CopyToWindow(&rect);
}

void CQVGameWnd::SetAreaCapture(CBkPainter* area)
{
    m_pCaptureArea = area;
    SetCapture();
    m_bCapture = TRUE;
}

void CQVGameWnd::UpdateTip(LPCSTR text, const RECT& rect)
{
    if (!::IsWindow(m_tooltip.GetSafeHwnd()))
        return;
    m_tooltip.UpdateTipText(text ? text : "", this, kToolTipId);
    m_tooltip.SetToolRect(this, kToolTipId, &rect);
}

void CQVGameWnd::Redraw(const RECT& rect, CBkPainter* painter)
{
    if (m_workImage.IsEmpty())
        return;
    const RECT none = {0, 0, 0, 0};
    UpdateTip("", none);
    const BOOL locked = m_hWnd != NULL && ::LockWindowUpdate(m_hWnd);
    m_backImage.SetClipRect(&rect);
    if (m_pRootArea != NULL)
        m_pRootArea->DrawTree(&m_backImage);
    m_backImage.SetClipRect(NULL);
    m_workImage.BlendDraw1(&m_backImage, &rect, rect.left, rect.top);
    if (m_pScenePainter != NULL) {
        CRect meet;
        if (meet.IntersectRect(&rect, &m_pScenePainter->GetRect()))
            m_pScenePainter->OnTick(FALSE);
    }
    if (painter != NULL) {
        m_workImage.SetClipRect(&rect);
        painter->DrawOverlay(&m_workImage);
        m_workImage.SetClipRect(NULL);
    }
    CopyToWindow(&rect);
    if (locked)
        ::LockWindowUpdate(NULL);
}

CBkPainter* CQVGameWnd::GetAreaCapture() { return m_bCapture ? m_pCaptureArea : NULL; }

void CQVGameWnd::RedrawDirty(CQVRectList* dirty)
{
    if (dirty == NULL || m_workImage.IsEmpty())
        return;
    const CRect area(0, 0, m_workImage.GetWidth(), m_workImage.GetHeight());
    m_workImage.SetSource(dirty);
    m_workImage.BlendDraw1(&m_backImage, NULL, 0, 0);
    if (m_pScenePainter != NULL)
        m_pScenePainter->DrawOverlay(&m_workImage);
    m_workImage.SetSource(NULL);
    CopyToWindow(&area);
}

void CQVGameWnd::RedrawSceneRect(const RECT& rect)
{
    if (m_pScenePainter == NULL || m_workImage.IsEmpty())
        return;
    CRect r;
    if (!r.IntersectRect(&rect, &m_pScenePainter->GetRect()))
        return;
    m_workImage.BlendDraw1(&m_backImage, &r, r.left, r.top);
    m_workImage.SetClipRect(&r);
    m_pScenePainter->DrawOverlay(&m_workImage);
    m_workImage.SetClipRect(NULL);
    CopyToWindow(&r);
}

CString CQVGameWnd::GetAppPath()
{
    CGameApp* app = GetGameApp();
    return app != NULL ? app->m_strInstallPath : CString();
}

void CQVGameWnd::WriteLog(LPCSTR text) { WriteGameLog(text); }

CGamePlayer* CQVGameWnd::GetPlayer(int index)
{
    CGameApp* app = GetGameApp();
    return app != NULL ? app->GetPlayer(index) : NULL;
}

CImageObj* CQVGameWnd::GetAvatarPicture(LPCSTR userName)
{
    if (userName == NULL)
        return NULL;
    AvatarEntry* entry = NULL;
    for (int i = 0; i < m_avatars.GetCount(); i++) {
        if (m_avatars.GetAt(i)->name.CompareNoCase(userName) == 0) {
            entry = m_avatars.GetAt(i);
            break;
        }
    }
    if (entry == NULL) {
        entry = new (std::nothrow) AvatarEntry;
        if (entry == NULL)
            return NULL;
        entry->name = userName;
        entry->created = ::GetTickCount();
        entry->window = CreateAvatarWindow(userName);
        if (!m_avatars.Add(entry)) {
            delete entry->window;
            delete entry;
            return NULL;
        }
    }
    if (entry->window != NULL && ::IsWindow(entry->window->GetSafeHwnd())) {
        // The window painted on the transparent colour into a 150 x 190 picture.
        HDC screen = ::GetDC(NULL);
        HDC mem = ::CreateCompatibleDC(screen);
        HBITMAP bitmap = ::CreateCompatibleBitmap(screen, kAvatarWidth, kAvatarHeight);
        ::ReleaseDC(NULL, screen);
        if (mem != NULL && bitmap != NULL) {
            HGDIOBJ old = ::SelectObject(mem, bitmap);
            HBRUSH brush = ::CreateSolidBrush(m_crTransparent);
            const RECT all = {0, 0, kAvatarWidth, kAvatarHeight};
            ::FillRect(mem, &all, brush);
            ::DeleteObject(brush);
            entry->window->SendMessage(WM_PRINT, reinterpret_cast<WPARAM>(mem), PRF_CLIENT | PRF_CHILDREN);
            ::SelectObject(mem, old);
            entry->picture.LoadFromBitmap(bitmap, 24);
        }
        if (bitmap != NULL)
            ::DeleteObject(bitmap);
        if (mem != NULL)
            ::DeleteDC(mem);
        if (::GetTickCount() - entry->created > 180000) {
            entry->window->DestroyWindow();
            delete entry->window;
            entry->window = NULL;
        }
    }
    return &entry->picture;
}

CDC* CQVGameWnd::GetHostDC() { return CWnd::GetDC(); }
void CQVGameWnd::ReleaseHostDC(CDC* dc) { CWnd::ReleaseDC(dc); }

CImageObj* CQVGameWnd::MakeTextPicture(LPCSTR text, const LOGFONT& font, COLORREF colour, BOOL horizontal)
{
    if (text == NULL || *text == 0)
        return NULL;
    LOGFONT lf = font;
    lf.lfQuality = NONANTIALIASED_QUALITY;
    if (!horizontal) {
        lf.lfEscapement = 900;
        lf.lfOrientation = 900;
    }
    HFONT hfont = ::CreateFontIndirectA(&lf);
    if (hfont == NULL)
        return NULL;
    HDC mem = ::CreateCompatibleDC(NULL);
    HGDIOBJ oldFont = ::SelectObject(mem, hfont);
    SIZE extent = {0, 0};
    const int length = static_cast<int>(strlen(text));
    ::GetTextExtentPoint32A(mem, text, length, &extent);
    ::SelectObject(mem, oldFont);
    ::DeleteDC(mem);
    const int w = horizontal ? extent.cx : extent.cy, h = horizontal ? extent.cy : extent.cx;
    CImageObj* picture = NULL;
    if (w > 0 && h > 0) {
        picture = new (std::nothrow) CImageObj;
        if (picture != NULL && picture->Create(w, h, 24)) {
            picture->FillRect(0, 0, w, h, m_crTransparent);
            picture->SetBkColor(m_crTransparent);
            if (HDC dc = picture->GetDC()) {
                HGDIOBJ old = ::SelectObject(dc, hfont);
                ::SetBkMode(dc, TRANSPARENT);
                ::SetTextColor(dc, colour);
                ::TextOutA(dc, 0, horizontal ? 0 : h, text, length);
                ::SelectObject(dc, old);
                picture->ReleaseDC(dc);
            }
        } else {
            delete picture;
            picture = NULL;
        }
    }
    ::DeleteObject(hfont);
    return picture;
}

CBkPainter* CQVGameWnd::FindArea(LPCSTR name) const
{
    for (int i = 0; i < m_painters.GetCount(); i++) {
        CBkPainter* p = m_painters.GetAt(i);
        if (p->GetName() == name)
            return p;
    }
    return NULL;
}
