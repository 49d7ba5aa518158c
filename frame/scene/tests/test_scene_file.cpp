// Scene files read into records: seats and their fallbacks, name box and
// font, layers and the items each takes, item lines, button strips and the
// glide along a path.
#include <gtest/gtest.h>

#include "IniText.h"
#include "SceneFile.h"

namespace {

class Keys : public ISceneKeys
{
public:
    explicit Keys(const std::string& text) : m_ini(text) {}
    std::string Read(const char* section, const char* key) override { return m_ini.Get(section, key); }

private:
    IniText m_ini;
};

SceneDescription Parse(const std::string& text, SceneDescription d = SceneDescription())
{
    Keys keys(text);
    ParseSceneFile(keys, &d);
    return d;
}

TEST(SceneFile, Settings)
{
    const SceneDescription d = Parse("[scene]\navatasize=60,80,12\nnameformat=%n\\n%s\\n\nnamesize=90,14,Left\n"
                                     "textfont=  SimSun ,16, b , italic\nnamecolor=256,1,2\navataStretch=1\n");
    EXPECT_EQ(60, d.avatarWidth);
    EXPECT_EQ(80, d.avatarHeight);
    EXPECT_EQ(12, d.avatarTop);
    EXPECT_EQ("%n\n%s\\n", d.nameFormat);
    EXPECT_EQ(90, d.nameWidth);
    EXPECT_EQ(14, d.nameHeight);
    EXPECT_TRUE(d.nameBoxFlag);
    EXPECT_EQ("  SimSun ", d.font.face);
    EXPECT_EQ(16, d.font.height);
    EXPECT_TRUE(d.font.bold);
    EXPECT_TRUE(d.font.italic);
    EXPECT_EQ(0x020100u, d.nameColour) << "low byte of each component";
    EXPECT_TRUE(d.stretch);

    struct Case
    {
        const char* what;
        const char* text;
        int avatarWidth, nameWidth;
        bool flag;
        const char* face;
        uint32_t colour;
    } cases[] = {
        {"defaults", "[scene]\n", 0, 0, true, "", 0xFFFFFF},
        {"no name width: the avatar width and the flag", "[scene]\navatasize=50,60,0\nnamesize=0,12\n", 50, 50, true,
         "", 0xFFFFFF},
        {"avatar size beyond 16 bits: unchanged", "[scene]\navatasize=70000,60,0\n", 0, 0, true, "", 0xFFFFFF},
        {"name box beyond 16 bits: not read", "[scene]\navatasize=40,40,0\nnamesize=99999,12,x\n", 40, 40, true, "",
         0xFFFFFF},
        {"a name box of its own, centred", "[scene]\nnamesize=80,12,c\n", 0, 80, false, "", 0xFFFFFF},
        {"font with a leading comma: no face", "[scene]\ntextfont=,12,B\n", 0, 0, true, "", 0xFFFFFF},
        {"face cut at 31", "[scene]\ntextfont=ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789,9\n", 0, 0, true,
         "ABCDEFGHIJKLMNOPQRSTUVWXYZ01234", 0xFFFFFF},
        {"two colour numbers: white", "[scene]\nnamecolor=1,2\n", 0, 0, true, "", 0xFFFFFF},
    };
    for (const auto& k : cases) {
        const SceneDescription c = Parse(k.text);
        EXPECT_EQ(k.avatarWidth, c.avatarWidth) << k.what;
        EXPECT_EQ(k.nameWidth, c.nameWidth) << k.what;
        EXPECT_EQ(k.flag, c.nameBoxFlag) << k.what;
        EXPECT_EQ(k.face, c.font.face) << k.what;
        EXPECT_EQ(k.colour, c.nameColour) << k.what;
        EXPECT_EQ("%s\n%n", c.nameFormat) << k.what;
    }
    SceneDescription previous;
    previous.avatarWidth = 33;
    EXPECT_EQ(33, Parse("[scene]\n", previous).avatarWidth) << "kept from the previous scene";
}

TEST(SceneFile, Seats)
{
    const SceneDescription d = Parse("[scene]\navatacnt=4\n"
                                     "avata_1=LT,10,20\nname_1=A1,0,50\nballoon_1=A1,1,5,6,7,8\n"
                                     "avata_2=no comma\nname_2=A2,0,0\nballoon_2=A2,0,0,0,0,0\n"
                                     "avata_3=\nname_3=A9,1,2\nballoon_3=N1,2,-1,-2,-3,-4\n"
                                     "avata_4=rb,-5,-6\nname_4=B,3,4\nballoon_4=x,70000,0,0,0,0\n");
    ASSERT_EQ(2u, d.avatars.size()) << "a value without a comma drops the seat, an empty one adds no avatar";
    EXPECT_EQ(1, d.avatars[0].code);
    EXPECT_EQ(10, d.avatars[0].x);
    EXPECT_EQ(20, d.avatars[0].y);
    EXPECT_EQ(5, d.avatars[1].code);
    EXPECT_EQ(-6, d.avatars[1].y);

    ASSERT_EQ(3u, d.names.size()) << "seat 2's name dropped, seat 3's kept";
    EXPECT_EQ(16, d.names[0].code);
    EXPECT_EQ(50, d.names[0].y);
    EXPECT_EQ(16 + 1, d.names[1].code) << "A9 past the count: the index of the names loaded so far";
    EXPECT_EQ(6, d.names[2].code);

    ASSERT_EQ(2u, d.balloons.size()) << "seat 2's balloon dropped, a number beyond 16 bits skips seat 4's";
    EXPECT_EQ(16, d.balloons[0].code);
    EXPECT_EQ(1, d.balloons[0].mode);
    EXPECT_EQ(5, d.balloons[0].ax);
    EXPECT_EQ(8, d.balloons[0].ty);
    EXPECT_EQ(48, d.balloons[1].code) << "balloons take name anchors";
    EXPECT_EQ(-4, d.balloons[1].ty);

    EXPECT_EQ(kMaxSceneSeats, static_cast<int>(Parse("[scene]\navatacnt=2000000000\n" + [] {
                                                   std::string s;
                                                   for (int i = 1; i <= 40; i++)
                                                       s += "avata_" + std::to_string(i) + "=T,0,0\n";
                                                   return s;
                                               }()).avatars.size()))
        << "the seat count is capped";
}

TEST(SceneFile, Layers)
{
    const SceneDescription d = Parse("[scene]\nlaycnt=6\n"
                                     "[lay_1]\nstyle=back\nitemcnt=3\nitem_1=P,LT,0,0,felt\nitem_2=B,T,0,0,btn\n"
                                     "item_3=E,T,0,0,fx\n"
                                     "[lay_2]\nstyle=AvatarName\nitemcnt=1\nitem_1=P,LT,0,0,felt\n"
                                     "[lay_3]\nstyle=Zebra\n"
                                     "[lay_4]\nstyle=Over\nitemcnt=4\nitem_1=b,RB,-10,-10,btn\nitem_draw_1=20,0,0\n"
                                     "item_name_1=0,ok\nitem_tip_1=Tip\nitem_othertip_1=Other\n"
                                     "item_2=P,T,0,0,pic\nitem_3=e , T,0,0,fx\nitem_4=no comma\n"
                                     "[lay_5]\nstyle=Effects\nitemcnt=3\nitem_1=B,T,0,0,btn\nitem_2=P,T,0,0,pic\n"
                                     "item_3=X,T,0,0,what\n"
                                     "[lay_6]\nstyle=Mask\n");
    ASSERT_EQ(5u, d.layers.size()) << "Zebra adds no layer";
    struct Case
    {
        const char* what;
        int kind;
        const char* kinds;
    } cases[] = {
        {"back: pictures only", 0, "P"},
        {"avatars with names: no items", 2, ""},
        {"overlay: buttons and effects", 4, "BE"},
        {"effects: pictures and effects, a button creates nothing", 5, "P"},
        {"mask", 6, ""},
    };
    for (size_t i = 0; i < 5; i++) {
        EXPECT_EQ(cases[i].kind, d.layers[i].kind) << cases[i].what;
        std::string kinds;
        for (const auto& item : d.layers[i].items)
            kinds += item.kind;
        EXPECT_EQ(cases[i].kinds, kinds) << cases[i].what;
    }
    const SceneItemLine& button = d.layers[2].items[0];
    EXPECT_EQ("RB,-10,-10,btn", button.data);
    EXPECT_EQ("20,0,0", button.draw);
    EXPECT_EQ("0,ok", button.name);
    EXPECT_EQ("Tip", button.tip);
    EXPECT_EQ("Other", button.otherTip);
    EXPECT_EQ(" T,0,0,fx", d.layers[2].items[1].data);
}

TEST(SceneFile, ItemBase)
{
    struct Case
    {
        const char* what;
        const char* data;
        bool ok;
        int code, x, y;
        const char* rest;
    } cases[] = {
        {"top-left with a picture", "LT,10,20,table.bmp", true, 1, 10, 20, "table.bmp"},
        {"first avatar", " A1,0,-5,pic", true, 16, 0, -5, "pic"},
        {"avatar 32", "A32,0,0,p", true, 47, 0, 0, "p"},
        {"avatar 33 would read as a name", "A33,0,0,p", false, 0, 0, 0, ""},
        {"N0 fails", "N0,0,0,p", false, 0, 0, 0, ""},
        {"N1", "n1,1,1,p", true, 48, 1, 1, "p"},
        {"N208", "N208,1,1,p", true, 255, 1, 1, "p"},
        {"N209 past 8 bits", "N209,1,1,p", false, 0, 0, 0, ""},
        {"B is the bottom", "B,0,0,p", true, 6, 0, 0, "p"},
        {"RB", "RB,0,0,p", true, 5, 0, 0, "p"},
        {"LB", "lb,0,0,p", true, 7, 0, 0, "p"},
        {"anything else: centre", "Q,3,4,p", true, 0, 3, 4, "p"},
        {"no name", "T,3,4", true, 2, 3, 4, ""},
        {"no comma", "LT", false, 0, 0, 0, ""},
        {"offset beyond 16 bits", "LT,40000,0,p", false, 0, 0, 0, ""},
        {"names keep their commas", "T,1,2,a,b", true, 2, 1, 2, "a,b"},
    };
    for (const auto& k : cases) {
        int code = -1, x = -1, y = -1;
        std::string rest;
        ASSERT_EQ(k.ok, ParseItemBase(k.data, &code, &x, &y, &rest)) << k.what;
        if (!k.ok)
            continue;
        EXPECT_EQ(k.code, code) << k.what;
        EXPECT_EQ(k.x, x) << k.what;
        EXPECT_EQ(k.y, y) << k.what;
        EXPECT_EQ(k.rest, rest) << k.what;
    }
}

TEST(SceneFile, DrawAndNameTexts)
{
    PictureDraw p = ParsePictureDraw("");
    EXPECT_EQ(0, p.mode);
    EXPECT_EQ(128, p.alpha);
    p = ParsePictureDraw("3,200,glow.bmp");
    EXPECT_EQ(3, p.mode);
    EXPECT_EQ(200, p.alpha);
    EXPECT_EQ("glow.bmp", p.second);

    struct Case
    {
        const char* what;
        const char* text;
        int width;
        int frameWidth, hover, disabled, plain, count;
        const char* channel;
        const char* alternate;
    } cases[] = {
        {"defaults: four frames", "", 80, 20, 1, 3, 2, 4, "", ""},
        {"frame width 0 ignores the rest", "0,2,2,chn,alt", 80, 20, 1, 3, 2, 4, "", ""},
        {"frame width past the default", "21,1,1,chn", 80, 20, 1, 3, 2, 4, "", ""},
        {"five frames, no hover, disabled 4", "16,0,4,chn", 80, 16, 0, 4, 4, 5, "chn", ""},
        {"hover past the strip is 0", "16,5,2,chn,alt", 80, 16, 0, 2, 4, 5, "chn", "alt"},
        {"three frames", "20,1,2", 60, 15, 1, 3, 2, 4, "", ""},
    };
    for (const auto& k : cases) {
        const ButtonStrip s = ParseButtonDraw(k.text, k.width);
        EXPECT_EQ(k.frameWidth, s.frameWidth) << k.what;
        EXPECT_EQ(k.hover, s.hover) << k.what;
        EXPECT_EQ(k.disabled, s.disabled) << k.what;
        EXPECT_EQ(k.plain, s.plainCount) << k.what;
        EXPECT_EQ(k.count, s.frameCount) << k.what;
        EXPECT_EQ(k.channel, s.channel) << k.what;
        EXPECT_EQ(k.alternate, s.alternate) << k.what;
    }

    std::string name;
    int state = 1;
    ParseItemName("0,gang", &name, &state);
    EXPECT_EQ("gang", name);
    EXPECT_EQ(0, state) << "a zero, a comma and a word: registered and hidden";
    state = 0;
    ParseItemName("star", &name, &state);
    EXPECT_EQ("star", name);
    EXPECT_EQ(0, state) << "without a comma the state stays";
}

TEST(SceneFile, PathGlide)
{
    const std::vector<PathPoint> path = {{0, 0, 0}, {100, 50, 100}, {100, 50, 0}, {0, 0, 200}};
    struct Case
    {
        uint32_t t;
        size_t segment;
        int x, y;
        bool done;
    } cases[] = {
        {0, 1, 0, 0, false},     {1, 1, 1, 0, false},       {50, 1, 50, 25, false}, {100, 1, 100, 50, false},
        {101, 3, 100, 50, false},  // the 0-ms segment is passed at once
        {200, 3, 50, 25, false}, {300, 3, 0, 0, false},     {301, 3, 0, 0, true},   {0xFFFFFFFFu, 3, 0, 0, true},
    };
    for (const auto& k : cases) {
        const PathPosition p = PathPositionAt(path, k.t);
        EXPECT_EQ(k.segment, p.segment) << "t " << k.t;
        EXPECT_EQ(k.x, p.x) << "t " << k.t;
        EXPECT_EQ(k.y, p.y) << "t " << k.t;
        EXPECT_EQ(k.done, p.done) << "t " << k.t;
    }
    const PathPosition zero = PathPositionAt({{5, 5, 0}, {9, 9, 0}}, 0);
    EXPECT_EQ(9, zero.x) << "a 0-ms waypoint reached at once, no division by zero";
    EXPECT_FALSE(zero.done);
    EXPECT_TRUE(PathPositionAt({{5, 5, 0}, {9, 9, 0}}, 1).done);
    EXPECT_TRUE(PathPositionAt({}, 0).done);
}

}  // namespace
