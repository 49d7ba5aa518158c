// The table scene on a fake host with a fixed clock: loading and failed
// switches, seat positions, avatars and names drawn, picture items, the
// button's press sequence and the press lock, effects gliding and expiring,
// text effects fading, the name table and run-time items.
#include <gtest/gtest.h>

#include <memory>

#include "EffectCache.h"
#include "FrameTestSupport.h"
#include "ImageObj.h"
#include "SceneClock.h"
#include "SceneItem.h"
#include "ScenePainter.h"
#include "app/GameApp.h"
#include "store/QVIniFile.h"

namespace {

DWORD g_now = 1000;
DWORD TestClock() { return g_now; }

const COLORREF kGrey = RGB(50, 50, 50);
const COLORREF kBlue = RGB(0, 0, 200);
const COLORREF kSpark = RGB(255, 255, 0);
// The button strip's four frames: normal, hover, pressed, disabled.
const COLORREF kFrames[4] = {RGB(10, 0, 0), RGB(20, 0, 0), RGB(30, 0, 0), RGB(40, 0, 0)};

const char kScene[] =
    "[pack]\nscene=scenepack\n"
    "[scene]\navatasize=40,40,0\nnamesize=60,12,c\navatacnt=2\n"
    "avata_1=LT,30,30\nname_1=A1,-30,25\nballoon_1=A1,0,10,-40,0,-20\n"
    "avata_2=RB,-30,-30\nname_2=A2,-30,25\nballoon_2=x,0,0,0,0,0\n"
    "laycnt=4\n"
    "[lay_1]\nstyle=Back\nitemcnt=2\nitem_1=P,LT,5,5,back.bmp\nitem_2=P,LT,50,5,key.bmp\nitem_draw_2=3,255\n"
    "[lay_2]\nstyle=AvatarName\n"
    "[lay_3]\nstyle=Over\nitemcnt=2\nitem_1=B,T,-20,10,btn.bmp\nitem_name_1=1,ready\nitem_tip_1=Ready\n"
    "item_2=E,LT,100,60,spark.eff\nitem_name_2=star\n"
    "[lay_4]\nstyle=Effects\nitemcnt=1\nitem_1=P,B,0,-20,back.bmp\nitem_name_1=0,gang\n"
    "[sceneitem]\nflag=P,LT,0,0,back.bmp\nflag_name=flag\n"
    "[scenepic]\nfelt=key.bmp\n";

class SceneHost : public frametest::FakeHost
{
public:
    CString GetAppPath() override { return CString(folder.c_str()); }
    CGamePlayer* GetPlayer(int index) override
    {
        return index >= 0 && static_cast<size_t>(index) < players.size() ? players[static_cast<size_t>(index)].get()
                                                                          : NULL;
    }
    CImageObj* GetAvatarPicture(LPCSTR name) override
    {
        return name != NULL && name[0] == 'b' ? &avatarB : &avatarA;
    }
    void RedrawDirty(CQVRectList* dirty) override { dirtyRedraws += dirty != NULL ? 1 : 0; }
    void OnSceneButton(LPCSTR name, CQVSceneItem*) override { buttons.push_back(name ? name : "(none)"); }
    CImageObj* MakeTextPicture(LPCSTR, const LOGFONT&, COLORREF colour, BOOL) override
    {
        CImageObj* p = new CImageObj;
        frametest::MakePicture(*p, 30, 10, [colour](int, int) { return colour; });
        return p;
    }

    std::string folder;
    std::vector<std::unique_ptr<CGamePlayer>> players;
    CImageObj avatarA, avatarB;
    int dirtyRedraws = 0;
    std::vector<std::string> buttons;
};

class SceneTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_now = 1000;
        SetSceneClock(TestClock);
        host.folder = frametest::MakeTempFolder("frame_scene_");
        ASSERT_FALSE(host.folder.empty());
        const std::string pack = host.folder + "scenepack\\";
        ASSERT_TRUE(CreateDirectoryA(pack.c_str(), NULL));
        ASSERT_TRUE(frametest::WriteBmp(pack + "back.bmp", 20, 10, [](int, int) { return kBlue; }));
        // Green top-left corner (the key the picture takes), red elsewhere.
        ASSERT_TRUE(frametest::WriteBmp(pack + "key.bmp", 4, 4, [](int x, int y) {
            return x == 0 && y == 0 ? RGB(0, 255, 0) : (x < 2 ? RGB(0, 255, 0) : RGB(255, 0, 0));
        }));
        ASSERT_TRUE(frametest::WriteBmp(pack + "btn.bmp", 40, 10, [](int x, int) { return kFrames[x / 10]; }));
        ASSERT_TRUE(frametest::WriteBmp(pack + "star.bmp", 6, 6, [](int, int) { return kSpark; }));
        // Two frames of 100 ms each, played once.
        ASSERT_TRUE(frametest::WriteText(pack + "spark.eff",
                                         "[generic]\neffectcount=1\n[effect1]\nframecount=2\nstopframe=1,0\n"
                                         "pic1=star.bmp\ndraw1=0,0,100,0\npic2=star.bmp\ndraw2=0,0,100,0\n"));
        ASSERT_TRUE(frametest::WriteText(host.folder + "test.scn", kScene));
        ASSERT_TRUE(frametest::MakePicture(host.avatarA, 150, 190, [](int, int) { return RGB(200, 100, 0); }));
        ASSERT_TRUE(frametest::MakePicture(host.avatarB, 150, 190, [](int, int) { return RGB(0, 100, 200); }));
        painter.reset(new CQVScenePainter);
        ASSERT_TRUE(painter->Create("game", "area_game", NULL));
        host.m_pScenePainter = painter.get();
        painter->SetRect(CRect(10, 20, 210, 140));
        ASSERT_TRUE(frametest::MakePicture(image, 300, 200, [](int, int) { return kGrey; }));
    }
    void TearDown() override
    {
        painter.reset();
        SetSceneClock(NULL);
    }
    void AddPlayer(const char* user, const char* nick, uint32_t status)
    {
        host.players.emplace_back(new CGamePlayer(user, nick, 0, status, 1));
    }
    // The dirty list as one bounding rectangle.
    CRect DirtyBounds() const
    {
        CRect all(0, 0, 0, 0);
        const CQVRectList& list = painter->GetDirtyList();
        for (int b = 0; b < list.GetBandCount(); b++) {
            const DirtyBand* band = list.GetBand(b);
            for (int i = 0; i < band->rects.GetCount(); i++)
                all.UnionRect(&all, band->rects.GetAt(i));
        }
        return all;
    }
    COLORREF Overlay(int x, int y)
    {
        image.FillRect(0, 0, 300, 200, kGrey);
        painter->DrawOverlay(&image);
        return image.GetPixelColor(x, y);
    }

    SceneHost host;
    std::unique_ptr<CQVScenePainter> painter;
    CImageObj image;
};

TEST_F(SceneTest, LoadsSeatsLayersAndItems)
{
    ASSERT_TRUE(painter->LoadScene(NULL, "test"));
    EXPECT_TRUE(painter->HasScene());
    ASSERT_EQ(2, painter->GetAvatarCount());
    // Area 200 x 120 at (10, 20).
    EXPECT_TRUE(painter->GetAvatarPosition(0) == (ScenePoint{30, 30}));
    EXPECT_TRUE(painter->GetAvatarPosition(1) == (ScenePoint{170, 90}));
    EXPECT_TRUE(painter->GetNamePosition(0) == (ScenePoint{0, 55}));
    EXPECT_TRUE(painter->GetNamePosition(1) == (ScenePoint{140, 115}));
    ASSERT_EQ(4, painter->GetLayerCount());
    EXPECT_EQ(2, painter->GetLayerItemCount(0));
    EXPECT_EQ(2, painter->GetLayerItemCount(2));
    EXPECT_NE(nullptr, painter->FindNamedItem("ready"));
    EXPECT_NE(nullptr, painter->FindNamedItem("star"));
    EXPECT_EQ(0, painter->GetItemStateByName("gang")) << "\"0,gang\" registers the name and hides the item";
    EXPECT_EQ(0, painter->GetItemStateByName("nothing"));

    // Seat positions follow the area.
    painter->SetRect(CRect(0, 0, 100, 100));
    EXPECT_TRUE(painter->GetAvatarPosition(1) == (ScenePoint{70, 70}));
    EXPECT_TRUE(painter->GetAnchorPoint(16 + 1) == (ScenePoint{70, 70}));
    EXPECT_TRUE(painter->GetAnchorPoint(16 + 2) == (ScenePoint{kNoScenePosition, kNoScenePosition}));
    EXPECT_TRUE(painter->GetAnchorPoint(12) == (ScenePoint{kNoScenePosition, kNoScenePosition}));
    EXPECT_TRUE(host.log.empty()) << host.log[0];
}

TEST_F(SceneTest, LoadFailuresLogAndKeepTheShownScene)
{
    ASSERT_TRUE(painter->LoadScene(NULL, "test"));
    ASSERT_TRUE(frametest::WriteText(host.folder + "nopack.scn", "[pack]\nscene=gone\n[scene]\navatacnt=0\n"));
    ASSERT_TRUE(frametest::WriteText(host.folder + "plain.scn", "[scene]\navatacnt=0\n"));
    struct Case
    {
        const char* what;
        const char* name;
        std::string line;
    } cases[] = {
        {"no scene file", "missing", "[LoadScene] load inifile " + host.folder + "missing.scn failed!"},
        {"no pack", "nopack", "[LoadScene] load scene packfile " + host.folder + "gone failed!"},
        {"no pack keys: \"picture\"", "plain", "[LoadScene] load scene packfile " + host.folder + "picture failed!"},
    };
    for (const auto& k : cases) {
        host.log.clear();
        EXPECT_FALSE(painter->LoadScene(NULL, k.name)) << k.what;
        ASSERT_EQ(1u, host.log.size()) << k.what;
        EXPECT_EQ(k.line, host.log[0]) << k.what;
        // The shown scene and its pictures are whole: it still draws.
        EXPECT_EQ(4, painter->GetLayerCount()) << k.what;
        image.FillRect(0, 0, 300, 200, kGrey);
        painter->DrawContent(&image);
        EXPECT_EQ(kBlue, image.GetPixelColor(16, 26)) << k.what;
        EXPECT_EQ(kFrames[0], Overlay(95, 31)) << k.what;
    }
    // A switch that works leaves nothing of the old scene.
    ASSERT_TRUE(CreateDirectoryA((host.folder + "picture").c_str(), NULL));
    EXPECT_TRUE(painter->LoadScene(NULL, "plain"));
    EXPECT_EQ(0, painter->GetLayerCount());
    EXPECT_EQ(nullptr, painter->FindNamedItem("ready"));
}

TEST_F(SceneTest, SceneListAndRunTimeItems)
{
    struct Case
    {
        const char* what;
        const char* text;
        int listed;
    } cases[] = {
        {"one scene is not listed", "[game]\nscenecnt=1\nSceneName1=a\n", 0},
        {"three with one empty: two", "[game]\nscenecnt=3\nSceneName1=a\nSceneName3=c\n", 2},
        {"none", "[game]\n", 0},
    };
    for (const auto& k : cases) {
        CQVIniFile ini;
        ASSERT_TRUE(ini.LoadFromMemory(k.text, static_cast<int>(strlen(k.text))));
        EXPECT_TRUE(painter->ReadSceneInfo(&ini, "game"));
        EXPECT_EQ(k.listed, painter->GetSceneCount()) << k.what;
    }

    ASSERT_TRUE(painter->LoadScene(NULL, "test"));
    CQVSceneItem* flag = painter->CreateSceneItem(NULL, "flag");
    ASSERT_NE(nullptr, flag);
    EXPECT_EQ(flag, painter->FindNamedItem("flag"));
    struct Add
    {
        const char* what;
        int layer;
        BOOL ok;
    } adds[] = {
        {"negative index", -1, FALSE},
        {"a picture into an overlay layer of buttons", 2, FALSE},
        {"a picture into an avatar layer", 1, FALSE},
        {"a picture into the effects layer", 3, TRUE},
    };
    for (const auto& k : adds)
        EXPECT_EQ(k.ok, painter->AddSceneItem(flag, k.layer, 1)) << k.what;
    EXPECT_EQ(2, painter->GetLayerItemCount(3));
    EXPECT_NE(nullptr, painter->GetScenePicture(NULL, "felt"));
    EXPECT_EQ(nullptr, painter->GetScenePicture(NULL, "none"));
    EXPECT_EQ(nullptr, painter->CreateSceneItem(NULL, "none"));

    CQVSceneItem* button = painter->FindNamedItem("ready");
    CQVSceneItem* other = CreateSceneItemOfKind('B');
    host.log.clear();
    ASSERT_TRUE(other->LoadData("T,0,0,btn.bmp", "", "ready", painter->GetCache()));
    ASSERT_EQ(1u, host.log.size());
    EXPECT_EQ("[SetName]  que item name( ready )!", host.log[0]);
    EXPECT_TRUE(painter->FindNamedItem("ready") == button || painter->FindNamedItem("ready") == other);
    EXPECT_TRUE(painter->AddSceneItem(other, 10, 1)) << "past the last layer: a new overlay layer";
    EXPECT_EQ(5, painter->GetLayerCount());
    EXPECT_EQ(4, painter->GetLayerKind(4));
}

TEST_F(SceneTest, LowerLayersAvatarsAndPictures)
{
    AddPlayer("alice", "Al", 1);
    AddPlayer("bob", "Bo", 2);
    ASSERT_TRUE(painter->LoadScene(NULL, "test"));
    painter->DrawContent(&image);
    EXPECT_EQ(kBlue, image.GetPixelColor(15, 25)) << "back picture at the area's top-left + (5, 5)";
    // Draw mode 3 at alpha 255 keyed by the corner's green.
    EXPECT_EQ(kGrey, image.GetPixelColor(60, 25));
    EXPECT_EQ(RGB(255, 0, 0), image.GetPixelColor(62, 25));
    // Seat 1: 40 x 40 box centred on (10 + 30, 20 + 30), plain copy.
    EXPECT_EQ(RGB(200, 100, 0), image.GetPixelColor(21, 31));
    EXPECT_EQ(kGrey, image.GetPixelColor(19, 50));
    EXPECT_EQ(kGrey, image.GetPixelColor(60, 71));
    // Seat 2 (status 2): blended at 128 over the grey.
    const COLORREF half = image.GetPixelColor(180, 110);
    EXPECT_NEAR(50 / 2, GetRValue(half), 2);
    EXPECT_NEAR((100 + 50) / 2, GetGValue(half), 2);
    EXPECT_NEAR((200 + 50) / 2, GetBValue(half), 2);

    // Too small an avatar box draws no avatar.
    ASSERT_TRUE(frametest::WriteText(host.folder + "small.scn",
                                     "[pack]\nscene=scenepack\n[scene]\navatasize=10,40,0\navatacnt=1\n"
                                     "avata_1=LT,30,30\nlaycnt=1\n[lay_1]\nstyle=Avatar\n"));
    ASSERT_TRUE(painter->LoadScene(NULL, "small"));
    image.FillRect(0, 0, 300, 200, kGrey);
    painter->DrawContent(&image);
    EXPECT_EQ(kGrey, image.GetPixelColor(40, 50));
}

TEST_F(SceneTest, NamesInTheirBox)
{
    AddPlayer("W%n%s", "WW", 1);
    AddPlayer("bob", "", 0);
    ASSERT_TRUE(frametest::WriteText(host.folder + "names.scn",
                                     "[pack]\nscene=scenepack\n[scene]\navatasize=40,40,0\nnamesize=80,14,c\n"
                                     "namecolor=255,255,255\navatacnt=2\navata_1=LT,50,50\nname_1=LT,20,20\n"
                                     "avata_2=LT,50,50\nname_2=LT,20,80\nlaycnt=1\n[lay_1]\nstyle=Names\n"));
    ASSERT_TRUE(painter->LoadScene(NULL, "names"));
    image.FillRect(0, 0, 300, 200, RGB(0, 0, 0));
    painter->DrawContent(&image);
    // The box's top-left is the name position (10 + 20, 20 + 20); 80 x 29.
    CRect first(0, 0, 0, 0), second(0, 0, 0, 0), outside(0, 0, 0, 0);
    for (int y = 0; y < 200; y++) {
        for (int x = 0; x < 300; x++) {
            if (image.GetPixelColor(x, y) != RGB(255, 255, 255))
                continue;
            CRect px(x, y, x + 1, y + 1);
            CRect& into = x < 30 || x >= 110 || y < 40 || y >= 69 ? outside : (y < 54 ? first : second);
            into.UnionRect(&into, &px);
        }
    }
    EXPECT_TRUE(outside.IsRectEmpty()) << "nothing outside the box; the player with status 0 has no name";
    ASSERT_FALSE(first.IsRectEmpty()) << "the user name (with its %n and %s kept literally)";
    ASSERT_FALSE(second.IsRectEmpty()) << "the nickname on the second line";
    EXPECT_NEAR(70, (first.left + first.right) / 2, 3) << "centred across the box";
    EXPECT_GE(second.top, 40 + 15) << "the second line starts name height + 1 lower";
}

TEST_F(SceneTest, ButtonPressPlaysFramesThenNotifies)
{
    ASSERT_TRUE(painter->LoadScene(NULL, "test"));
    CQVSceneButton* button = static_cast<CQVSceneButton*>(painter->FindNamedItem("ready"));
    ASSERT_NE(nullptr, button);
    // T,-20,10: (10 + 100 - 20, 20 + 10), one frame 10 x 10.
    CRect box;
    ASSERT_TRUE(button->GetBox(&box));
    EXPECT_EQ(CRect(90, 30, 100, 40), box);
    EXPECT_EQ(kFrames[0], Overlay(95, 35));
    painter->SetItemStateByName("star", 0);
    painter->OnTick(TRUE);

    painter->OnMouseMove(95, 35);
    EXPECT_EQ(kFrames[1], Overlay(95, 35)) << "hover";
    ASSERT_EQ(1u, host.tips.size());
    EXPECT_EQ("Ready", host.tips[0]);
    painter->OnTick(TRUE);
    EXPECT_TRUE(DirtyBounds().EqualRect(&box)) << "the hover's box is redrawn";

    painter->OnMouseDown(95, 35);
    EXPECT_TRUE(button->IsPressed());
    EXPECT_EQ(static_cast<CQVSceneButton*>(button), painter->m_pPressedButton);
    struct Step
    {
        DWORD at;
        int frame;
        bool notified;
    } steps[] = {{0, 0, false}, {79, 0, false}, {80, 2, false}, {159, 2, false}, {160, 0, true}};
    const DWORD pressed = g_now;
    for (const auto& k : steps) {
        g_now = pressed + k.at;
        painter->OnTick(TRUE);
        EXPECT_EQ(k.frame, button->GetCurrentFrame()) << "at " << k.at;
        EXPECT_EQ(kFrames[k.frame], Overlay(95, 35)) << "at " << k.at;
        EXPECT_EQ(k.notified ? 1u : 0u, host.buttons.size()) << "at " << k.at;
    }
    EXPECT_EQ("ready", host.buttons[0]);
    EXPECT_EQ(nullptr, painter->m_pPressedButton);

    button->SetEnabled(FALSE);
    EXPECT_EQ(kFrames[3], Overlay(95, 35)) << "disabled";
    painter->OnMouseDown(95, 35);
    EXPECT_FALSE(button->IsPressed());
    button->SetEnabled(TRUE);
    EXPECT_EQ(kFrames[0], Overlay(95, 35));
    painter->OnMouseDown(5, 5);
    EXPECT_FALSE(button->IsPressed()) << "outside the box";
}

TEST_F(SceneTest, PressLockHoldsForAtMostThreeSeconds)
{
    ASSERT_TRUE(painter->LoadScene(NULL, "test"));
    CQVSceneButton* button = static_cast<CQVSceneButton*>(painter->FindNamedItem("ready"));
    // A press whose button never plays it out (one that is in no layer).
    CQVSceneButton spare;
    painter->m_pPressedButton = &spare;
    painter->m_dwPressTime = g_now;
    const DWORD pressed = g_now;
    struct Step
    {
        DWORD at;
        bool locked;
    } steps[] = {{1000, true}, {3000, true}, {3001, false}};
    for (const auto& k : steps) {
        g_now = pressed + k.at;
        painter->OnTick(TRUE);
        EXPECT_EQ(k.locked, painter->m_pPressedButton != nullptr) << "at " << k.at;
        if (k.locked) {
            painter->OnMouseDown(95, 35);
            EXPECT_FALSE(button->IsPressed()) << "locked at " << k.at;
        }
    }
    painter->OnMouseDown(95, 35);
    EXPECT_TRUE(button->IsPressed()) << "free again";
}

TEST_F(SceneTest, EffectsTickGlideAndExpire)
{
    ASSERT_TRUE(painter->LoadScene(NULL, "test"));
    CQVSceneEffect* star = static_cast<CQVSceneEffect*>(painter->FindNamedItem("star"));
    ASSERT_NE(nullptr, star);
    star->SetRemoval(2);
    painter->OnTick(TRUE);
    // LT,100,60 in the area at (10, 20): a 6 x 6 frame at (110, 80).
    EXPECT_EQ(CRect(110, 80, 116, 86), DirtyBounds());
    EXPECT_EQ(1, host.dirtyRedraws);
    EXPECT_EQ(kSpark, Overlay(112, 82));

    star->MoveBy(40, 0, 100);
    EXPECT_EQ(2u, star->GetPathLength());
    struct Step
    {
        DWORD at;
        int x;
    } steps[] = {{0, 100}, {25, 110}, {50, 120}, {100, 140}, {101, 140}};
    const DWORD start = g_now;
    for (const auto& k : steps) {
        g_now = start + k.at;
        painter->OnTick(TRUE);
        EXPECT_EQ(k.x, star->GetX()) << "at " << k.at;
    }
    EXPECT_EQ(kSpark, Overlay(152, 82));
    EXPECT_EQ(kGrey, Overlay(112, 82));

    // A path whose anchors all miss leaves the path empty.
    const SceneWaypoint nowhere[2] = {{16 + 7, 0, 0, 100}, {48 + 9, 0, 0, 100}};
    star->SetPathArray(nowhere, 2, FALSE, 0);
    EXPECT_EQ(0u, star->GetPathLength());

    // Two frames of 100 ms played once: the effect runs out, hides and,
    // with removal 2, is deleted.
    // (The tick after the glide ends only clears the path's end mark; the
    // next finds the animation run out, the one after hides the item.)
    g_now = star->GetAnimation().GetStartTick() + 200;
    for (int i = 0; i < 3; i++, g_now++)
        painter->OnTick(TRUE);
    EXPECT_EQ(nullptr, painter->FindNamedItem("star"));
    EXPECT_EQ(1, painter->GetLayerItemCount(2));
}

TEST_F(SceneTest, TextEffectFadesOutInTime)
{
    ASSERT_TRUE(painter->LoadScene(NULL, "test"));
    LOGFONT font = {};
    std::unique_ptr<CQVSceneEffect> text(CQVSceneEffect::CreateTextEffectItem("hi", font, RGB(250, 250, 250), 1000));
    ASSERT_TRUE(text);
    const EffectLayer& layer = text->GetAnimation().GetDefinition()->layers[0];
    EXPECT_EQ(4, layer.step) << "1000 / 255 rounded up";
    const DWORD start = g_now;
    ASSERT_TRUE(painter->AddSceneItem(text.get(), 3, 1));
    CQVSceneEffect* fx = text.release();
    struct Step
    {
        DWORD at;
        bool playing;
    } steps[] = {{0, true}, {1019, true}, {1020, false}};
    for (const auto& k : steps) {
        g_now = start + k.at;
        painter->OnTick(TRUE);
        EXPECT_EQ(k.playing, fx->GetAnimation().IsPlaying() != FALSE) << "at " << k.at;
    }
    g_now++;
    painter->OnTick(TRUE);
    EXPECT_EQ(0, fx->GetState());
}

}  // namespace
