// The frame window with fixture layouts: the areas it builds, the pixels of
// its work image, the hit test, the lobby message, the timers and the
// keep-alive, placement and the maximise cycle, the drop message's bytes,
// caption button keys and the exact log lines of failed layouts.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "BkPainter.h"
#include "ChatBalloonWnd.h"
#include "FrameTestSupport.h"
#include "QVGameWnd.h"
#include "ScenePainter.h"
#include "SpliteGrid.h"
#include "app/GameApp.h"
#include "SceneItem.h"
#include "ScenePainter.h"
#include "test_support.h"

namespace {

class CFrameWindowApp : public CWinApp
{
public:
    CFrameWindowApp() : CWinApp("MardavelFrameWindow") {}
};
CFrameWindowApp theApp;

const COLORREF kCorner = RGB(200, 30, 30), kTop = RGB(120, 0, 0), kSide = RGB(60, 60, 60);
const COLORREF kGame = RGB(0, 100, 0), kPanel = RGB(0, 0, 120), kSlider = RGB(90, 90, 90);
const COLORREF kButton[4] = {RGB(240, 240, 240), RGB(250, 200, 0), RGB(0, 200, 250), RGB(128, 128, 128)};

const char kLayout[] =
    "[pack]\nbk=picture\ntranscolor=255,0,255\n"
    "[title]\ntextcolor=255,255,255\nbtncount=3\n"
    "btn1=exit,RT,(4,4,24,22),close.bmp\nbtn2=\nbtn3=min,RT,(28,4,48,22),close.bmp\n"
    "pos=T,30\nresize=8\naboutrect=4,4,30,26\n"
    "[border]\nlt=corner.bmp\nrt=corner.bmp\nlb=corner.bmp\nrb=corner.bmp\ntop=top.bmp\nbottom=side.bmp\n"
    "left=side.bmp\nright=side.bmp\n"
    "[area]\nframe=h\nname=main\nborder=6,30,6,6\nleft=left\nright=right\nslsize=4\nslpic=S,(90,90,90)\n"
    "defsize=3:1\n"
    "[left]\nname=_game\nbkp_draw=S,(0,100,0)\n"
    "[right]\nname=_panel\nbkp_draw=S,(0,0,120)\n";

class TestFrame : public CQVGameWnd
{
public:
    explicit TestFrame(const std::string& path) : m_path(path) {}

    CString GetBackImagePath() override { return m_path.c_str(); }
    BOOL IsOnline() override { return online; }
    BOOL IsConnectionOpen() override { return open; }
    DWORD GetIdleSeconds() override { return 3; }
    BOOL SendGameMessage(uint32_t id, const void* body, uint32_t length) override
    {
        sent.push_back(id);
        lastBody.assign(static_cast<const char*>(body), static_cast<const char*>(body) + length);
        return TRUE;
    }
    void OnSecondTick() override { ticks++; }
    void WriteLog(LPCSTR text) override { log.push_back(text); }
    void OnTitleButtonKey(int key) override { keys.push_back(key); }
    CString GetAppPath() override { return appPath.c_str(); }
    CGamePlayer* GetPlayer(int index) override
    {
        return index >= 0 && static_cast<size_t>(index) < players.size() ? &players[static_cast<size_t>(index)]
                                                                          : NULL;
    }
    int FindSpeakerIndex(LPCSTR userName) override
    {
        for (size_t i = 0; i < players.size(); i++)
            if (_stricmp(players[i].m_pszUserName, userName) == 0)
                return static_cast<int>(i);
        return -1;
    }
    void RedrawDirty(CQVRectList* dirty) override
    {
        dirtyRedraws++;
        CQVGameWnd::RedrawDirty(dirty);
    }
    void DropOnToolComponent(CPoint screen) override { drops.push_back(screen); }
    void EndToolDrag() override { dragEnds++; }
    // The test owns the object.
    void PostNcDestroy() override {}

    BOOL online = FALSE, open = FALSE;
    int ticks = 0;
    std::vector<uint32_t> sent;
    std::string lastBody;
    std::vector<std::string> log;
    std::vector<int> keys;
    std::string appPath;
    std::vector<CGamePlayer> players;
    std::vector<CPoint> drops;
    int dragEnds = 0;
    int dirtyRedraws = 0;

private:
    std::string m_path;
};

class FrameWindow : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        theApp.SetRegistryKey("MardavelFrameTest");
        folder = frametest::MakeTempFolder("frame_wnd_");
        ASSERT_FALSE(folder.empty());
        const std::string pics = folder + "picture\\";
        ASSERT_TRUE(CreateDirectoryA(pics.c_str(), NULL));
        auto solid = [](COLORREF c) { return [c](int, int) { return c; }; };
        ASSERT_TRUE(frametest::WriteBmp(pics + "corner.bmp", 6, 6, solid(kCorner)));
        ASSERT_TRUE(frametest::WriteBmp(pics + "top.bmp", 1, 30, solid(kTop)));
        ASSERT_TRUE(frametest::WriteBmp(pics + "side.bmp", 6, 6, solid(kSide)));
        ASSERT_TRUE(frametest::WriteBmp(pics + "close.bmp", 80, 18, [](int x, int) { return kButton[x / 20]; }));
        ASSERT_TRUE(frametest::WriteText(folder + "Test_bk.bgd", kLayout));
    }

    TestFrame* Make(const std::string& path, BOOL expectCreated = TRUE)
    {
        frame.reset(new TestFrame(path));
        const BOOL created =
            frame->Create(NULL, "Mardavel", CQVGameWnd::kFrameStyle, CRect(0, 0, 800, 600), NULL, NULL, 0, NULL);
        EXPECT_EQ(expectCreated, created);
        return frame.get();
    }
    void TearDown() override
    {
        if (frame && ::IsWindow(frame->GetSafeHwnd()))
            frame->DestroyWindow();
        frame.reset();
    }
    COLORREF Work(int x, int y) { return frame->GetWorkImage().GetPixelColor(x, y); }

    static std::string folder;
    std::unique_ptr<TestFrame> frame;
};
std::string FrameWindow::folder;

TEST_F(FrameWindow, BuildsTheAreasOfTheLayout)
{
    TestFrame* f = Make(folder + "Test_bk.bgd");
    ASSERT_TRUE(f->log.empty()) << f->log[0];
    ASSERT_NE(nullptr, f->GetRootArea());
    // The root's border margins (6,30,6,6) on the 800 x 600 client area; the
    // 3:1 split of 788: 591, the slider 4.
    EXPECT_EQ(CRect(6, 30, 794, 594), f->GetRootArea()->GetRect());
    ASSERT_NE(nullptr, f->FindArea("game"));
    EXPECT_EQ(CRect(6, 30, 597, 594), f->FindArea("game")->GetRect());
    EXPECT_EQ(CRect(601, 30, 794, 594), f->FindArea("panel")->GetRect());
    EXPECT_EQ(f->FindArea("game"), static_cast<CBkPainter*>(f->m_pScenePainter));
    EXPECT_EQ(1, f->GetTitleButtonCount()) << "btn2 is empty: reading stops there, btn3 is not read";
    EXPECT_EQ(CRect(0, 0, 800, 30), f->GetTitleRect());
    EXPECT_EQ(CQVGameWnd::kUserData, ::GetWindowLongPtrA(f->GetSafeHwnd(), GWLP_USERDATA));
    EXPECT_EQ(CQVGameWnd::kFrameStyle, f->GetStyle() & ~WS_VISIBLE);
}

// The layout the build draws into the program's folder (make_frame_skin.py).
TEST_F(FrameWindow, DefaultSkinLoads)
{
    char exe[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(NULL, exe, MAX_PATH), 0u);
    *(strrchr(exe, '\\') + 1) = 0;
    TestFrame* f = Make(std::string(exe) + "Mardavel_bk.bgd");
    ASSERT_TRUE(f->log.empty()) << f->log[0];
    f->MoveWindow(0, 0, 1024, 768);
    EXPECT_TRUE(f->log.empty());
    ASSERT_EQ(7, f->GetTitleButtonCount());
    for (int i = 0; i < 7; i++)
        EXPECT_EQ(i + 1, f->GetTitleButton(i)->m_nKey) << "exit, max, min, help, setting, photo, mute";
    EXPECT_EQ(CRect(994, 5, 1018, 25), f->GetTitleButton(0)->m_rcPlaced);
    for (const char* name : {"area", "area_main", "area_advchat", "area_adv", "area_game", "area_chat", "area_play"})
        EXPECT_NE(nullptr, f->FindArea(name)) << name;
    EXPECT_EQ(CRect(5, 30, 1019, 763), f->GetRootArea()->GetRect());
    // The side column keeps its minimum width (200) beside a 6-pixel slider;
    // the play strip its minimum height (36).
    EXPECT_EQ(CRect(819, 30, 1019, 763), f->FindArea("area_advchat")->GetRect());
    EXPECT_EQ(CRect(5, 727, 813, 763), f->FindArea("area_play")->GetRect());
    EXPECT_EQ(CRect(5, 30, 813, 727), f->FindArea("area_game")->GetRect());
    ASSERT_EQ(1, static_cast<CSpliteGrid*>(f->GetRootArea())->GetButtonCount()) << "the side column's hide button";
}

// The scene layout the build draws beside it: the table scene of five seats
// in the game area (the frame demo's; the program loads Mardavel_bk.bgd).
TEST_F(FrameWindow, DefaultSceneLoads)
{
    char exe[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(NULL, exe, MAX_PATH), 0u);
    *(strrchr(exe, '\\') + 1) = 0;
    frame.reset(new TestFrame(std::string(exe) + "MardavelScene_bk.bgd"));
    frame->appPath = exe;
    for (const char* name : {"p1", "p2", "p3", "p4", "p5"})
        frame->players.emplace_back(name, name, 1, 1, 1);
    ASSERT_TRUE(frame->Create(NULL, "Mardavel", CQVGameWnd::kFrameStyle, CRect(0, 0, 800, 600), NULL, NULL, 0, NULL));
    TestFrame* f = frame.get();
    f->MoveWindow(0, 0, 1024, 768);
    ASSERT_TRUE(f->log.empty()) << f->log[0];
    CQVScenePainter* scene = f->m_pScenePainter;
    ASSERT_NE(nullptr, scene);
    ASSERT_TRUE(scene->HasScene());
    EXPECT_EQ(CRect(5, 30, 813, 727), scene->GetRect()) << "the scene fills the game area";
    ASSERT_EQ(5, scene->GetAvatarCount());
    ASSERT_EQ(5, scene->GetNameCount());
    const CRect area(0, 0, scene->GetRect().Width(), scene->GetRect().Height());
    for (int seat = 0; seat < 5; seat++) {
        const ScenePoint p = scene->GetAvatarPosition(seat);
        EXPECT_TRUE(area.PtInRect(CPoint(p.x, p.y))) << "seat " << seat;
        scene->ShowBalloon(seat, "hello");
        ASSERT_NE(nullptr, scene->GetBalloon(seat)) << "seat " << seat;
        EXPECT_TRUE(scene->GetBalloon(seat)->IsShown()) << "seat " << seat;
    }
    for (const char* name : {"ready", "star", "gang", "ren_2"})
        EXPECT_NE(nullptr, scene->FindNamedItem(name)) << name;
    // The 30 ms timer ticks the scene: the running star leaves rectangles,
    // which the frame redraws.
    const int redraws = f->dirtyRedraws;
    f->SendMessage(WM_TIMER, CQVGameWnd::kAnimationTimer, 0);
    EXPECT_GT(scene->GetDirtyList().GetBandCount(), 0) << "the star effect runs";
    EXPECT_EQ(redraws + 1, f->dirtyRedraws) << "one redraw of the dirty rectangles a tick";
    EXPECT_TRUE(f->log.empty()) << f->log[0];
    EXPECT_TRUE(::KillTimer(f->GetSafeHwnd(), CQVGameWnd::kAnimationTimer)) << "set at creation";
    EXPECT_TRUE(::KillTimer(f->GetSafeHwnd(), CQVGameWnd::kSecondTimer)) << "set at creation";
}

TEST_F(FrameWindow, WorkImagePixels)
{
    Make(folder + "Test_bk.bgd");
    struct Case
    {
        const char* what;
        int x, y;
        COLORREF expected;
    } cases[] = {
        {"top-left corner", 0, 0, kCorner},
        {"bottom-right corner", 799, 599, kCorner},
        {"caption (top edge)", 400, 10, kTop},
        {"left edge", 2, 300, kSide},
        {"game area", 300, 300, kGame},
        {"slider", 598, 300, kSlider},
        {"panel area", 700, 300, kPanel},
        // exit at RT: (800 - 24, 4) .. (796, 22), frame 0 of the strip.
        {"exit button", 780, 10, kButton[0]},
        {"no min button (btn3 is never read)", 760, 10, kTop},
    };
    for (const Case& k : cases)
        EXPECT_EQ(k.expected, Work(k.x, k.y)) << k.what;
}

TEST_F(FrameWindow, HitTestTable)
{
    TestFrame* f = Make(folder + "Test_bk.bgd");
    CRect w;
    f->GetWindowRect(&w);
    struct Case
    {
        const char* what;
        int x, y;
        LRESULT expected;
    } cases[] = {
        {"a caption button", 780, 10, HTCLIENT},
        {"the about rectangle", 15, 15, HTCLIENT},
        {"the caption", 300, 10, HTCAPTION},
        {"inside the root area", 300, 300, HTCLIENT},
        {"the left border", 2, 300, HTCAPTION},
        {"the resize grip", 796, 596, HTBOTTOMRIGHT},
        {"beside the grip", 780, 597, HTCAPTION},
    };
    for (const Case& k : cases)
        EXPECT_EQ(k.expected, f->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(w.left + k.x, w.top + k.y))) << k.what;

    // Maximised the window fills the work area; the caption buttons and the
    // grip follow the right and bottom edges.
    f->ToggleMaximize();
    f->GetWindowRect(&w);
    ASSERT_EQ(CSize(f->GetSizes().maximum.cx, f->GetSizes().maximum.cy), w.Size());
    ASSERT_GT(w.Width(), 800);
    const int mw = w.Width(), mh = w.Height();
    const Case maximised[] = {
        {"maximised: the exit button at the right edge", mw - 20, 10, HTCLIENT},
        {"maximised: where the button was before", 780, 10, HTCAPTION},
        {"maximised: the caption", 300, 10, HTCAPTION},
        {"maximised: inside the root area", mw / 2, mh / 2, HTCLIENT},
        {"maximised: the left border", 2, mh / 2, HTCAPTION},
        {"maximised: the resize grip", mw - 4, mh - 4, HTBOTTOMRIGHT},
    };
    for (const Case& k : maximised)
        EXPECT_EQ(k.expected, f->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(w.left + k.x, w.top + k.y))) << k.what;
}

TEST_F(FrameWindow, LobbyMessage)
{
    TestFrame* f = Make(folder + "Test_bk.bgd");
    const UINT msg = CQVGameWnd::GetLobbyMessage();
    f->SendMessage(msg, 0, 1);
    EXPECT_TRUE(f->IsWindowVisible());
    f->SendMessage(msg, 0, 2);
    EXPECT_TRUE(f->IsWindowVisible()) << "lParam 2 changes nothing";
    f->SendMessage(msg, 0, 0);
    EXPECT_FALSE(f->IsWindowVisible());
    f->SendMessage(msg, 0, 2);
    EXPECT_FALSE(f->IsWindowVisible());
    EXPECT_EQ(0, f->SendMessage(msg, 0, 1));
    EXPECT_TRUE(f->IsWindowVisible());
}

TEST_F(FrameWindow, SecondTimerOfflineAndKeepAlive)
{
    TestFrame* f = Make(folder + "Test_bk.bgd");
    for (int i = 0; i < 130; i++) {
        f->SendMessage(WM_TIMER, CQVGameWnd::kSecondTimer, 0);
        ASSERT_LT(f->GetSecondCounter(), 60);
    }
    EXPECT_EQ(130, f->ticks) << "offline: every tick";
    EXPECT_TRUE(f->sent.empty());

    // Online with an idle interval of 3: a keep-alive every third tick.
    f->online = TRUE;
    f->open = TRUE;
    int first = -1;
    for (int i = 0; i < 4 && first < 0; i++) {
        f->SendMessage(WM_TIMER, CQVGameWnd::kSecondTimer, 0);
        if (!f->sent.empty())
            first = i;
    }
    ASSERT_GE(first, 0);
    for (int i = 0; i < 9; i++)
        f->SendMessage(WM_TIMER, CQVGameWnd::kSecondTimer, 0);
    EXPECT_EQ(4u, f->sent.size());
    EXPECT_EQ(CQVGameWnd::kKeepAliveMessage, f->sent.back());
    EXPECT_TRUE(f->lastBody.empty()) << "an empty body";
    EXPECT_EQ(130, f->ticks) << "no second ticks while online";

    f->open = FALSE;
    for (int i = 0; i < 9; i++)
        f->SendMessage(WM_TIMER, CQVGameWnd::kSecondTimer, 0);
    EXPECT_EQ(4u, f->sent.size()) << "a closed connection gets no keep-alive";
}

TEST_F(FrameWindow, SmallSizesRebuildNothing)
{
    TestFrame* f = Make(folder + "Test_bk.bgd");
    f->SetWindowPos(NULL, 0, 0, 40, 40, SWP_NOZORDER | SWP_NOMOVE);
    EXPECT_EQ(800, f->GetBackImage().GetWidth());
    f->SetWindowPos(NULL, 0, 0, 500, 40, SWP_NOZORDER | SWP_NOMOVE);
    EXPECT_EQ(800, f->GetBackImage().GetWidth()) << "40 high";
    f->SetWindowPos(NULL, 0, 0, 41, 41, SWP_NOZORDER | SWP_NOMOVE);
    EXPECT_EQ(41, f->GetBackImage().GetWidth()) << "41 x 41 is rebuilt";
    f->SetWindowPos(NULL, 0, 0, 640, 480, SWP_NOZORDER | SWP_NOMOVE);
    EXPECT_EQ(640, f->GetBackImage().GetWidth());
    EXPECT_EQ(CRect(6, 30, 634, 474), f->GetRootArea()->GetRect());
}

TEST_F(FrameWindow, PlacementAndMaximizeCycle)
{
    theApp.WriteProfileString("MainFrame", NULL, NULL);
    TestFrame* f = Make(folder + "Test_bk.bgd");
    RECT work;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const FrameSizes& s = f->GetSizes();
    ASSERT_GT(s.maximum.cx, 0);
    f->RestorePlacement();
    CRect r;
    f->GetWindowRect(&r);
    EXPECT_EQ(CRect(0, 0, s.maximum.cx, s.maximum.cy), r) << "no stored placement: the maximum at (0,0)";
    EXPECT_TRUE(f->IsWindowVisible());

    f->ToggleMaximize();
    f->GetWindowRect(&r);
    EXPECT_EQ(CSize(s.normal.cx, s.normal.cy), r.Size()) << "from the maximum: the normal size";
    f->ToggleMaximize();
    f->GetWindowRect(&r);
    EXPECT_EQ(CSize(s.maximum.cx, s.maximum.cy), r.Size());

    // The placement stored at close is used at the next start.
    f->MoveWindow(30, 40, 900, 700);
    f->SendMessage(WM_CLOSE);
    EXPECT_EQ(900u, theApp.GetProfileInt("MainFrame", "width", 0));
    frame.reset();
    f = Make(folder + "Test_bk.bgd");
    f->RestorePlacement();
    f->GetWindowRect(&r);
    if (s.minimum.cx <= 900 && s.maximum.cx >= 900 && s.maximum.cy >= 700) {
        EXPECT_EQ(CRect(30, 40, 930, 740), r);
    }
}

TEST_F(FrameWindow, TheApplicationBasePlacesAGameFrame)
{
    theApp.WriteProfileString("MainFrame", NULL, NULL);
    TestFrame* f = Make(folder + "Test_bk.bgd");
    ASSERT_NE(nullptr, g_pfnRestoreFramePlacement);
    g_pfnRestoreFramePlacement(f);
    CRect r;
    f->GetWindowRect(&r);
    EXPECT_EQ(CRect(0, 0, f->GetSizes().maximum.cx, f->GetSizes().maximum.cy), r);
    EXPECT_TRUE(f->IsWindowVisible());
    CFrameWnd plain;
    g_pfnRestoreFramePlacement(&plain);   // another frame: nothing
}

TEST_F(FrameWindow, DropMessageBytes)
{
    TestFrame* f = Make(folder + "Test_bk.bgd");
    f->OnDragStart(1, 77, 3, 8, 9);
    f->OnDropDone(1, 0x1005, 77, 8, 9);
    ASSERT_EQ(1u, f->sent.size());
    EXPECT_EQ(CQVGameWnd::kDropMessage, f->sent[0]);
    ASSERT_EQ(64u, f->lastBody.size());
    const unsigned char* b = reinterpret_cast<const unsigned char*>(f->lastBody.data());
    uint32_t words[4];
    memcpy(words, b, 16);
    EXPECT_EQ(77u, words[0]);
    EXPECT_EQ(0u, words[1]);
    EXPECT_EQ(8u, words[2]);
    EXPECT_EQ(9u, words[3]);
    EXPECT_EQ(15, b[16]) << "no player list: the watcher's chair";
    EXPECT_EQ(0x05, b[17]) << "the low byte of flags with bit 0x1000";
    for (int i = 18; i < 64; i++)
        ASSERT_EQ(0, b[i]) << "names without an application are empty and terminated";

    f->OnDropDone(1, 0x0005, 77, 8, 9);
    EXPECT_EQ(0, static_cast<unsigned char>(f->lastBody[17])) << "without bit 0x1000: 0";
}

TEST_F(FrameWindow, CaptionButtonReportsItsKey)
{
    TestFrame* f = Make(folder + "Test_bk.bgd");
    f->ShowWindow(SW_SHOW);
    f->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(780, 10));
    EXPECT_EQ(kButton[2], Work(780, 10)) << "pressed";
    f->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(780, 10));
    EXPECT_EQ(std::vector<int>{1}, f->keys) << "exit is key 1";
    EXPECT_EQ(kButton[0], Work(780, 10));
}

TEST_F(FrameWindow, LayoutFailuresLogTheirLines)
{
    const std::string bad = folder + "Bad_bk.bgd";
    struct Case
    {
        const char* what;
        const char* text;    // NULL: no file
        std::vector<std::string> log;
    } cases[] = {
        {"no layout file", NULL,
         {"[LoadGameInfo] load inifile " + folder + "Missing_bk.bgd failed!", "[OnCreate] LoadGameInfo failed!"}},
        {"no picture pack", "[pack]\nbk=nothing\nneverclose=picture\n[area]\nname=_a\n",
         {"[LoadGameInfo] load bk packfile " + folder + "nothing failed!", "[OnCreate] LoadGameInfo failed!"}},
        {"a plain area named game without _",
         "[area]\nframe=h\nname=s\nleft=a\nright=b\n[a]\nname=game\n[b]\nname=_b\n",
         {"[LoadAreaInfo] AREA(a) NAME ERROR!", "[CreateSplite] Load Left Child failed!",
          "[LoadAreaInfo] CreateSplite failed!", "[LoadGameInfo] LoadAreaInfo failed!",
          "[OnCreate] LoadGameInfo failed!"}},
        {"a layout that names its own root",
         "[area]\nframe=h\nname=s\nleft=b\nright=area\n[b]\nname=_b\n",
         {"[LoadAreaInfo] AREA(area) LOOP!", "[CreateSplite] Load Right Child failed!",
          "[LoadAreaInfo] CreateSplite failed!", "[LoadGameInfo] LoadAreaInfo failed!",
          "[OnCreate] LoadGameInfo failed!"}},
    };
    for (const Case& k : cases) {
        std::string path = folder + "Missing_bk.bgd";
        if (k.text != NULL) {
            path = bad;
            ASSERT_TRUE(frametest::WriteText(bad, k.text));
        }
        TestFrame* f = Make(path, FALSE);
        EXPECT_EQ(k.log, f->log) << k.what;
        frame.reset();
    }
}

TEST_F(FrameWindow, ReloadAndDestroyKeepNoObjects)
{
    const int before = CountGdiObjects();
    ASSERT_GT(before, 0) << "the counter sees the process's objects";
    for (int i = 0; i < 3; i++) {
        TestFrame* f = Make(folder + "Test_bk.bgd");
        // F4 rebuilds the layout in place.
        MSG msg = {f->GetSafeHwnd(), WM_KEYDOWN, VK_F4, 0, 0, {0, 0}};
        EXPECT_TRUE(f->PreTranslateMessage(&msg));
        EXPECT_EQ(CRect(6, 30, 597, 594), f->FindArea("game")->GetRect());
        f->DestroyWindow();
        frame.reset();
        PumpPendingMessages();
    }
    EXPECT_LE(CountGdiObjects(), before + 2) << "objects left behind by three frames";
}

}  // namespace

// ---- The frame with a scene ------------------------------------------------------------------

namespace {

// The test layout's game area with a scene of two seats, the pictures F5
// and F6 show and hide and the item F7 moves.
const char kSceneFile[] =
    "[pack]\nscene=picture\n[scene]\navatasize=40,40,0\navatacnt=2\navata_1=LT,100,100\navata_2=LT,300,100\n"
    "laycnt=2\n[lay_1]\nstyle=Avatar\n[lay_2]\nstyle=Effects\nitemcnt=3\n"
    "item_1=P,LT,10,10,side.bmp\nitem_name_1=0,gang\nitem_2=P,LT,20,10,side.bmp\nitem_name_2=1,ren_2\n"
    "item_3=P,LT,30,10,side.bmp\nitem_name_3=star\n";

TEST_F(FrameWindow, SceneKeysAndDropOntoASeat)
{
    ASSERT_TRUE(frametest::WriteText(folder + "table.scn", kSceneFile));
    std::string layout = kLayout;
    const size_t at = layout.find("[left]\nname=_game\n");
    ASSERT_NE(std::string::npos, at);
    layout.insert(at + strlen("[left]\nname=_game\n"), "scenecnt=1\nSceneName1=table\n");
    ASSERT_TRUE(frametest::WriteText(folder + "Scene_bk.bgd", layout));

    frame.reset(new TestFrame(folder + "Scene_bk.bgd"));
    frame->appPath = folder;
    frame->players.emplace_back("ann", "Ann", 3, 1, 1);
    frame->players.emplace_back("bo", "Bo", 4, 0x1001, 2);
    frame->online = TRUE;
    ASSERT_TRUE(frame->Create(NULL, "Mardavel", CQVGameWnd::kFrameStyle, CRect(0, 0, 800, 600), NULL, NULL, 0, NULL));
    TestFrame* f = frame.get();
    ASSERT_TRUE(f->log.empty()) << f->log[0];
    CQVScenePainter* scene = f->m_pScenePainter;
    ASSERT_NE(nullptr, scene);
    ASSERT_TRUE(scene->HasScene()) << "the single scene of the game area is loaded";

    struct Key
    {
        const char* what;
        WPARAM key;
        int gang, ren2;
    } keys[] = {{"F5 shows gang", VK_F5, 1, 1}, {"F6 hides ren_2", VK_F6, 1, 0}, {"F5 hides gang", VK_F5, 0, 0}};
    for (const auto& k : keys) {
        MSG msg = {f->GetSafeHwnd(), WM_KEYDOWN, k.key, 0, 0, {0, 0}};
        EXPECT_TRUE(f->PreTranslateMessage(&msg)) << k.what;
        EXPECT_EQ(k.gang, scene->GetItemStateByName("gang")) << k.what;
        EXPECT_EQ(k.ren2, scene->GetItemStateByName("ren_2")) << k.what;
    }
    CQVSceneItem* star = scene->FindNamedItem("star");
    MSG f7 = {f->GetSafeHwnd(), WM_KEYDOWN, VK_F7, 0, 0, {0, 0}};
    f->PreTranslateMessage(&f7);
    EXPECT_EQ(50, star->GetX()) << "F7 moves the star by (20, -30)";
    EXPECT_EQ(-20, star->GetY());

    // The game area starts at (6, 30): seat 1 is the 40 x 40 box centred on
    // (106, 130), seat 2 the one on (306, 130).
    struct Drop
    {
        const char* what;
        int x, y;
        size_t sent;
    } drops[] = {
        {"online, seat 1's player without the flag: refused", 106, 130, 0},
        {"between the seats: nothing", 200, 130, 0},
        {"seat 2's player with flag 0x1000", 290, 115, 1},
    };
    for (const auto& k : drops) {
        f->sent.clear();
        f->drops.clear();
        f->OnDragStart(1, 77, 3, 8, 9);
        f->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(k.x, k.y));
        EXPECT_EQ(k.sent, f->sent.size()) << k.what;
        EXPECT_EQ(k.sent, f->drops.size()) << k.what;
        if (k.sent != 0) {
            EXPECT_EQ(CQVGameWnd::kDropMessage, f->sent[0]);
            CPoint screen(k.x, k.y);
            f->ClientToScreen(&screen);
            EXPECT_EQ(screen, f->drops[0]);
        }
        f->sent.clear();
        f->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(k.x, k.y));
        EXPECT_TRUE(f->sent.empty()) << "the drag ended: " << k.what;
    }
    EXPECT_EQ(3, f->dragEnds);
}

}  // namespace

// ---- Chat texts as balloons ---------------------------------------------------------------------

namespace {

// Two seats, each with a balloon beside its avatar.
const char kBalloonScene[] =
    "[pack]\nscene=picture\n[scene]\navatasize=40,40,0\navatacnt=2\n"
    "avata_1=LT,100,100\nballoon_1=A1,0,30,-60,10,-10\navata_2=LT,300,100\nballoon_2=A2,0,30,-60,10,-10\n"
    "laycnt=1\n[lay_1]\nstyle=Avatar\n";

// Code page 936: the full-width colon, "对", and a character whose trail
// byte is ']'.
#define COLON "\xA3\xBA"
#define TO "\xB6\xD4"
#define TRAIL_CLOSE "\x81\x5D"

TEST_F(FrameWindow, ChatTextsShowABalloonAtTheSpeakersSeat)
{
    ASSERT_TRUE(frametest::WriteText(folder + "talk.scn", kBalloonScene));
    std::string layout = kLayout;
    const size_t at = layout.find("[left]\nname=_game\n");
    ASSERT_NE(std::string::npos, at);
    layout.insert(at + strlen("[left]\nname=_game\n"), "scenecnt=1\nSceneName1=talk\n");
    ASSERT_TRUE(frametest::WriteText(folder + "Talk_bk.bgd", layout));

    frame.reset(new TestFrame(folder + "Talk_bk.bgd"));
    frame->appPath = folder;
    frame->players.emplace_back("ann", "Ann", 3, 1, 1);
    frame->players.emplace_back("b" TRAIL_CLOSE "o", "Bo", 4, 1, 2);
    ASSERT_TRUE(frame->Create(NULL, "Mardavel", CQVGameWnd::kFrameStyle, CRect(0, 0, 800, 600), NULL, NULL, 0, NULL));
    TestFrame* f = frame.get();
    ASSERT_TRUE(f->log.empty()) << f->log[0];
    CQVScenePainter* scene = f->m_pScenePainter;
    ASSERT_NE(nullptr, scene);
    ASSERT_TRUE(scene->HasScene());

    const UINT chat = CQVGameWnd::kChatTextMessage, show = CQVGameWnd::kShowChatTextMessage;
    struct Case
    {
        const char* what;
        UINT message;
        const char* text;
        int seat;   // -1: no balloon
        const char* balloon;
    } cases[] = {
        {"a player's chat line at the speaker's seat", chat, "[ann]" COLON "hello", 0, "hello"},
        {"the same through the second message", show, "[ann]" COLON "hello", 0, "hello"},
        {"a speaker whose name holds the trail byte ]", chat, "[b" TRAIL_CLOSE "o]" COLON "hi", 1, "hi"},
        {"the addressee in front", chat, "[ANN]" TO "[b" TRAIL_CLOSE "o]" COLON "hi", 0,
         "[b" TRAIL_CLOSE "o],hi"},
        {"a speaker who is not at the table", chat, "[zed]" COLON "hi", -1, ""},
        {"no colon: not a chat line", chat, "[ann] hi", -1, ""},
        {"a text behind `` stays out of the scene", chat, "``[ann]" COLON "hi", -1, ""},
        {"symbol font pictures", chat, "<f=Webdings>[ann]" COLON "x", -1, ""},
        {"symbol font pictures through the second message", show, "<f=Wingdings>[ann]" COLON "x", -1, ""},
        {"an empty balloon text", show, "[ann]" COLON "  ", -1, ""},
    };
    for (const Case& k : cases) {
        for (int seat = 0; seat < 2; seat++)
            if (CChatBalloonWnd* b = scene->GetBalloon(seat))
                b->Hide();
        EXPECT_EQ(0, f->SendMessage(k.message, 0, reinterpret_cast<LPARAM>(k.text))) << k.what;
        for (int seat = 0; seat < 2; seat++) {
            CChatBalloonWnd* b = scene->GetBalloon(seat);
            const bool shown = b != NULL && b->IsShown();
            EXPECT_EQ(seat == k.seat, shown) << k.what << ", seat " << seat;
            if (seat == k.seat && shown) {
                EXPECT_EQ(k.balloon, b->GetText()) << k.what;
            }
        }
    }
}

}  // namespace
