// The area tree of the layout file: the tree built from fixture layouts, the
// exact log line of every failure, refused loops and bounded trees, and no
// painter left behind by a failure.
#include <gtest/gtest.h>

#include "FakeTreeBuilder.h"

namespace {

const char kGood[] =
    "[area]\nframe=h\nname=main\nleft=left\nright=right\n"
    "[left]\nname=_chat\n"
    "[right]\nframe=T\nname=inner\nleft=scene\nright=adv\n"
    "[scene]\nframe=\nname=_game\n"
    "[adv]\nframe=w\nname=  _adv\n";

TEST(AreaTree, BuildsTheTree)
{
    FakeTreeBuilder b(kGood);
    AreaTreeLoader loader(b);
    FakePainter* root = static_cast<FakePainter*>(loader.LoadAreaInfo("area", nullptr));
    ASSERT_NE(nullptr, root);
    EXPECT_TRUE(b.log.empty());
    EXPECT_EQ(AreaKind::kSplitter, root->kind);
    EXPECT_EQ("main", root->name);
    ASSERT_TRUE(root->left && root->right);
    EXPECT_EQ(AreaKind::kPlain, root->left->kind);
    EXPECT_EQ("chat", root->left->name) << "the leading _ is dropped";
    FakePainter* inner = root->right;
    EXPECT_EQ(AreaKind::kSplitter, inner->kind);
    EXPECT_EQ(AreaKind::kGame, inner->left->kind);
    EXPECT_EQ("game", inner->left->name);
    EXPECT_EQ("adv", inner->right->name) << "blanks before the name are skipped";
    EXPECT_EQ("adv", inner->right->section);
    EXPECT_TRUE(root->keysRead && inner->right->keysRead);
    EXPECT_EQ(5u, b.live.size());
}

struct FailCase
{
    const char* what;
    const char* text;
    std::vector<std::string> log;
};

void RunFailures(const std::vector<FailCase>& cases)
{
    for (const FailCase& k : cases) {
        FakeTreeBuilder b(k.text);
        AreaTreeLoader loader(b);
        EXPECT_EQ(nullptr, loader.LoadAreaInfo("area", nullptr)) << k.what;
        EXPECT_EQ(k.log, b.log) << k.what;
        EXPECT_TRUE(b.live.empty()) << k.what << ": painters left behind";
    }
}

TEST(AreaTree, NameAndSectionFailures)
{
    RunFailures({
        {"a plain area named game without _",
         "[area]\nname=game\n",
         {"[LoadAreaInfo] AREA(area) NAME ERROR!"}},
        {"a plain area without a name",
         "[area]\nframe=W\n",
         {"[LoadAreaInfo] AREA(area) NONAME!"}},
        {"a splitter without a name",
         "[area]\nframe=h\nleft=a\nright=b\n",
         {"[LoadAreaInfo] SPLITE(area) NONAME!"}},
        {"no section at all",
         "",
         {"[LoadAreaInfo] AREA(area) NONAME!"}},
        {"a left child that fails",
         "[area]\nframe=h\nname=s\nleft=a\nright=b\n[a]\nname=game\n[b]\nname=_b\n",
         {"[LoadAreaInfo] AREA(a) NAME ERROR!", "[CreateSplite] Load Left Child failed!",
          "[LoadAreaInfo] CreateSplite failed!"}},
        {"an empty left key",
         "[area]\nframe=h\nname=s\nright=b\n[b]\nname=_b\n",
         {"[CreateSplite] Load Left Child failed!", "[LoadAreaInfo] CreateSplite failed!"}},
        {"a right child naming a missing section: the loaded left child goes too",
         "[area]\nframe=h\nname=s\nleft=a\nright=nowhere\n[a]\nname=_a\n",
         {"[LoadAreaInfo] AREA(nowhere) NONAME!", "[CreateSplite] Load Right Child failed!",
          "[LoadAreaInfo] CreateSplite failed!"}},
    });
}

TEST(AreaTree, LoopsAreRefused)
{
    RunFailures({
        {"a splitter naming itself",
         "[area]\nframe=h\nname=s\nleft=AREA\nright=b\n[b]\nname=_b\n",
         {"[LoadAreaInfo] AREA(AREA) LOOP!", "[CreateSplite] Load Left Child failed!",
          "[LoadAreaInfo] CreateSplite failed!"}},
        {"a grandchild naming its grandparent",
         "[area]\nframe=h\nname=s\nleft=a\nright=b\n[a]\nframe=h\nname=t\nleft=c\nright=area\n[b]\nname=_b\n"
         "[c]\nname=_c\n",
         {"[LoadAreaInfo] AREA(area) LOOP!", "[CreateSplite] Load Right Child failed!",
          "[LoadAreaInfo] CreateSplite failed!", "[CreateSplite] Load Left Child failed!",
          "[LoadAreaInfo] CreateSplite failed!"}},
    });
}

TEST(AreaTree, TreesAreBounded)
{
    // Every level names the next one twice: 2^40 areas unless bounded.
    std::string text;
    for (int i = 0; i < 40; i++) {
        const std::string me = i == 0 ? "area" : "s" + std::to_string(i);
        const std::string next = "s" + std::to_string(i + 1);
        text += "[" + me + "]\nframe=h\nname=n\nleft=" + next + "\nright=" + next + "\n";
    }
    text += "[s40]\nname=_leaf\n";
    FakeTreeBuilder b(text);
    AreaTreeLoader loader(b);
    EXPECT_EQ(nullptr, loader.LoadAreaInfo("area", nullptr));
    EXPECT_LE(loader.AreaCount(), AreaTreeLoader::kMaxAreas);
    ASSERT_FALSE(b.log.empty());
    EXPECT_NE(std::string::npos, b.log[0].find("TOO MANY!"));
    EXPECT_TRUE(b.live.empty());
}

TEST(AreaTree, BuilderFailures)
{
    struct Case
    {
        const char* what;
        void (*setup)(FakeTreeBuilder&);
        std::vector<std::string> log;
    } cases[] = {
        {"no memory for an area", [](FakeTreeBuilder& b) { b.failNew = "chat"; },
         {"[CreateArea] New Grid(chat) failed!", "[LoadAreaInfo] CreateArea failed!",
          "[CreateSplite] Load Left Child failed!", "[LoadAreaInfo] CreateSplite failed!"}},
        {"an area's creation fails", [](FakeTreeBuilder& b) { b.failCreate = "adv"; },
         {"[CreateArea] Create Grid(adv) failed!", "[LoadAreaInfo] CreateArea failed!",
          "[CreateSplite] Load Right Child failed!", "[LoadAreaInfo] CreateSplite failed!",
          "[CreateSplite] Load Right Child failed!", "[LoadAreaInfo] CreateSplite failed!"}},
        {"no memory for the root splitter", [](FakeTreeBuilder& b) { b.failNew = "main"; },
         {"[CreateSplite] New Grid failed!", "[LoadAreaInfo] CreateSplite failed!"}},
        {"the splitter's creation fails", [](FakeTreeBuilder& b) { b.failCreate = "main"; },
         {"[CreateSplite] Create Grid failed!", "[LoadAreaInfo] CreateSplite failed!"}},
        {"the splitter's keys fail", [](FakeTreeBuilder& b) { b.failInfo = "main"; },
         {"[CreateSplite] LoadInfo failed!", "[LoadAreaInfo] CreateSplite failed!"}},
        {"the splitter hook fails", [](FakeTreeBuilder& b) { b.failHook = "main"; },
         {"[CreateSplite] OnCreateSpliteGrid failed!", "[LoadAreaInfo] CreateSplite failed!"}},
        {"the scene list fails", [](FakeTreeBuilder& b) { b.failScene = true; },
         {"[CreateArea] ReadSceneInfo failed!", "[LoadAreaInfo] CreateArea failed!",
          "[CreateSplite] Load Left Child failed!", "[LoadAreaInfo] CreateSplite failed!",
          "[CreateSplite] Load Right Child failed!", "[LoadAreaInfo] CreateSplite failed!"}},
        {"the game hook fails", [](FakeTreeBuilder& b) { b.failHook = "game"; },
         {"[CreateArea] OnCreateGameWnd(game) failed!", "[LoadAreaInfo] CreateArea failed!",
          "[CreateSplite] Load Left Child failed!", "[LoadAreaInfo] CreateSplite failed!",
          "[CreateSplite] Load Right Child failed!", "[LoadAreaInfo] CreateSplite failed!"}},
        {"a named area hook fails", [](FakeTreeBuilder& b) { b.failHook = "chat"; },
         {"[CreateArea] OnCreateNameWnd(chat) failed!", "[LoadAreaInfo] CreateArea failed!",
          "[CreateSplite] Load Left Child failed!", "[LoadAreaInfo] CreateSplite failed!"}},
    };
    for (const Case& k : cases) {
        FakeTreeBuilder b(kGood);
        k.setup(b);
        AreaTreeLoader loader(b);
        EXPECT_EQ(nullptr, loader.LoadAreaInfo("area", nullptr)) << k.what;
        EXPECT_EQ(k.log, b.log) << k.what;
        EXPECT_TRUE(b.live.empty()) << k.what;
    }
}

TEST(AreaTree, LongNamesAreCut)
{
    FakeTreeBuilder b("[area]\nname=_" + std::string(400, 'x') + "\n");
    AreaTreeLoader loader(b);
    FakePainter* p = static_cast<FakePainter*>(loader.LoadAreaInfo("area", nullptr));
    ASSERT_NE(nullptr, p);
    EXPECT_EQ(std::string(258, 'x'), p->name) << "259 bytes read, the _ dropped";
}

}  // namespace
