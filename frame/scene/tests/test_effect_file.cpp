// Effect files: layers, paths, grids, frames and their modifiers, hostile
// values refused; and the timing of frames, paths and opacity.
#include <gtest/gtest.h>

#include "EffectFile.h"
#include "IniText.h"

namespace {

class IniKeys : public IEffectKeys
{
public:
    explicit IniKeys(const std::string& text) : m_ini(text) {}
    std::string Read(const char* section, const char* key) override { return m_ini.Get(section, key); }

private:
    IniText m_ini;
};

bool Parse(const std::string& text, EffectDefinition* def)
{
    IniKeys keys(text);
    return ParseEffectFile(keys, def);
}

const char kTwoLayers[] =
    "[generic]\neffectcount=2\n"
    "[effect1]\nframecount=3\nbasept=10,-20\nupdateframe=1,3\nstopframe=2,7\nalpha=10,100,200\n"
    "pathlen=3\npath=(0,0,100),(100,0,100),(100,50,0)\npicinfo=32,16,1\n"
    "pic1=star.bmp,a3\ndraw1=1,2,100,1\nchannel1=star_a.bmp\n"
    "pic2=\n"
    "pic3=star.bmp, r(0,0,16,8)\ndraw3=0,0,50,4\n"
    "[effect2]\nframecount=1\npic1=glow.bmp\n";

TEST(EffectFile, TwoLayers)
{
    EffectDefinition def;
    ASSERT_TRUE(Parse(kTwoLayers, &def));
    ASSERT_EQ(2u, def.layers.size());
    const EffectLayer& a = def.layers[0];
    EXPECT_EQ(10, a.baseX);
    EXPECT_EQ(-20, a.baseY);
    EXPECT_EQ(1, a.pathMode);
    EXPECT_EQ(3, a.opacityMode);
    EXPECT_EQ(2, a.stopMode);
    EXPECT_EQ(7, a.stopSecond);
    EXPECT_EQ(10, a.step);
    EXPECT_EQ(100, a.low);
    EXPECT_EQ(200, a.high);
    ASSERT_EQ(3u, a.path.size());
    EXPECT_EQ(200u, a.pathTotal);
    EXPECT_TRUE(a.hasGrid);
    ASSERT_EQ(2u, a.frames.size()) << "pic2 is empty: frame 2 skipped";
    EXPECT_EQ(3u, a.frames[0].source) << "a3: cell 3";
    EXPECT_EQ("star_a.bmp", a.frames[0].channel);
    EXPECT_EQ(100, a.frames[0].duration);
    EXPECT_EQ(1, a.frames[0].mode);
    EXPECT_EQ(kRectReferenceBase, a.frames[1].source);
    ASSERT_EQ(1u, def.sources.size());
    EXPECT_EQ(16, def.sources[0].r);
    EXPECT_EQ(150, a.totalTime);
    EXPECT_EQ((std::vector<std::string>{"star.bmp", "star_a.bmp", "star.bmp", "glow.bmp"}), def.pictures);
}

TEST(EffectFile, EdgeCases)
{
    struct Case
    {
        const char* what;
        std::string text;
        bool ok;
        size_t pathPoints;
        bool grid;
        uint32_t source;
    } cases[] = {
        {"no effectcount", "[effect1]\nframecount=1\npic1=a.bmp\n", false, 0, false, 0},
        {"pathlen 1: no path", "[generic]\neffectcount=1\n[effect1]\nframecount=1\npic1=a.bmp\npathlen=1\n"
                               "path=(0,0,10)(5,5,10)\n", true, 0, false, 0},
        {"path of one parsable point: none", "[generic]\neffectcount=1\n[effect1]\nframecount=1\npic1=a.bmp\n"
                                             "pathlen=4\npath=(0,0,10)(x)\n", true, 0, false, 0},
        {"cell width 1: no grid, a ignored", "[generic]\neffectcount=1\n[effect1]\nframecount=1\npic1=a.bmp,a2\n"
                                             "picinfo=1,16,0\n", true, 0, false, 0},
        {"a cell number of 500 or more is ignored", "[generic]\neffectcount=1\n[effect1]\nframecount=1\n"
                                                    "pic1=a.bmp,a600\npicinfo=8,8,0\n", true, 0, true, 0},
        {"r with left not below right is refused", "[generic]\neffectcount=1\n[effect1]\nframecount=1\n"
                                                   "pic1=a.bmp,r(5,0,5,8)\n", true, 0, false, 0},
        {"an unknown modifier is ignored", "[generic]\neffectcount=1\n[effect1]\nframecount=1\npic1=a.bmp,zz\n",
         true, 0, false, 0},
        {"framecount 0: no layer", "[generic]\neffectcount=1\n[effect1]\nframecount=0\npic1=a.bmp\n", false, 0,
         false, 0},
        {"no frame kept: no layer", "[generic]\neffectcount=1\n[effect1]\nframecount=2\n", false, 0, false, 0},
    };
    for (const Case& k : cases) {
        EffectDefinition def;
        ASSERT_EQ(k.ok, Parse(k.text, &def)) << k.what;
        if (!k.ok) {
            EXPECT_TRUE(def.layers.empty() && def.pictures.empty()) << k.what;
            continue;
        }
        EXPECT_EQ(k.pathPoints, def.layers[0].path.size()) << k.what;
        EXPECT_EQ(k.grid, def.layers[0].hasGrid) << k.what;
        EXPECT_EQ(k.source, def.layers[0].frames[0].source) << k.what;
    }
}

TEST(EffectFile, HostileValuesAreRefused)
{
    const std::string head = "[generic]\neffectcount=1\n[effect1]\nframecount=1\npic1=a.bmp\n";
    struct Case
    {
        const char* what;
        std::string text;
    } cases[] = {
        {"more than 300 frames", "[generic]\neffectcount=1\n[effect1]\nframecount=301\npic1=a.bmp\n"},
        {"a path length beyond the path text", head + "pathlen=5000\npath=(0,0,1)(1,1,1)\n"},
        {"a base point beyond 16 bits", head + "basept=40000,0\n"},
        {"a base point beyond the int range", head + "basept=99999999999,0\n"},
        {"an update mode beyond 8 bits", head + "updateframe=256,0\n"},
        {"a negative stop mode", head + "stopframe=-1,0\n"},
        {"an opacity bound beyond 8 bits", head + "alpha=10,0,256\n"},
        {"a step beyond 16 bits", head + "alpha=70000,0,255\n"},
        {"a negative path time", head + "pathlen=2\npath=(0,0,-5)(1,1,1)\n"},
        {"a path point beyond 16 bits", head + "pathlen=2\npath=(0,40000,5)(1,1,1)\n"},
        {"a negative duration", head + "draw1=0,0,-5,0\n"},
        {"an offset beyond 16 bits", head + "draw1=0,-40000,5,0\n"},
        {"a cell beyond 16 bits", head + "picinfo=40000,8,0\n"},
        {"more than 64 effect sections", "[generic]\neffectcount=65\n[effect1]\nframecount=1\npic1=a.bmp\n"},
        {"a huge effect count", "[generic]\neffectcount=2147483647\n"},
    };
    for (const Case& k : cases) {
        EffectDefinition def;
        EXPECT_FALSE(Parse(k.text, &def)) << k.what;
        EXPECT_TRUE(def.layers.empty() && def.sources.empty()) << k.what;
    }
    // A refused layer leaves the others.
    EffectDefinition def;
    ASSERT_TRUE(Parse("[generic]\neffectcount=2\n[effect1]\nframecount=1\npic1=a.bmp,r(0,0,4,4)\nbasept=0,40000\n"
                      "[effect2]\nframecount=1\npic1=b.bmp\n",
                      &def));
    ASSERT_EQ(1u, def.layers.size());
    EXPECT_EQ("b.bmp", def.layers[0].frames[0].picture);
    EXPECT_TRUE(def.sources.empty()) << "the refused layer's rectangle went with it";
}

// ---- Timing ------------------------------------------------------------------------------------

EffectLayer Frames(std::vector<int16_t> durations, uint8_t stop = 0)
{
    EffectLayer l;
    for (int16_t d : durations) {
        EffectFrame f;
        f.duration = d;
        l.frames.push_back(f);
        l.totalTime += d;
    }
    l.stopMode = stop;
    return l;
}

TEST(EffectTiming, Frames)
{
    struct Case
    {
        const char* what;
        EffectLayer layer;
        uint32_t t;
        int frame;
        int32_t remainder;
        bool finished;
    } cases[] = {
        {"one frame: frame 0, remainder t", Frames({100}), 1234, 0, 1234, false},
        {"no frame", Frames({}), 5, -1, -7, false},
        {"three of 100 at 250", Frames({100, 100, 100}), 250, 2, 50, false},
        {"three of 100 at 300: again from 0", Frames({100, 100, 100}), 300, 0, 0, false},
        {"three of 100 at 300, played once", Frames({100, 100, 100}, 1), 300, 2, 0, true},
        {"zero durations: frame 0, no division", Frames({0, 0}), 77, 0, 77, false},
        {"a zero-length frame is skipped", Frames({0, 10}), 5, 1, 5, false},
    };
    for (const Case& k : cases) {
        int32_t rest = -7;
        bool finished = false;
        EXPECT_EQ(k.frame, EffectFrameAt(k.layer, k.t, &rest, &finished)) << k.what;
        EXPECT_EQ(k.remainder, rest) << k.what;
        EXPECT_EQ(k.finished, finished) << k.what;
        EXPECT_EQ(k.frame, EffectFrameAt(k.layer, k.t, nullptr, nullptr)) << k.what << " (no outputs)";
    }
}

EffectLayer Path(uint8_t mode, uint8_t stop, std::vector<EffectPathPoint> points)
{
    EffectLayer l;
    l.pathMode = mode;
    l.stopMode = stop;
    l.path = points;
    for (const EffectPathPoint& p : points)
        l.pathTotal += p.t;
    return l;
}

TEST(EffectTiming, Paths)
{
    const std::vector<EffectPathPoint> line = {{0, 0, 100}, {100, 0, 100}};
    struct Case
    {
        const char* what;
        EffectLayer layer;
        uint32_t t;
        int x, y;
        bool finished;
    } cases[] = {
        {"gliding: halfway", Path(1, 0, line), 50, 50, 0, false},
        {"gliding: on the last point", Path(1, 0, line), 150, 100, 0, false},
        {"jumping: still at the first point", Path(2, 0, line), 50, 0, 0, false},
        {"mode 0 moves nothing", Path(0, 0, line), 150, 0, 0, false},
        {"played once: stays at the last point", Path(1, 2, line), 200, 100, 0, true},
        {"repeating: starts again", Path(1, 0, line), 200, 0, 0, false},
        {"times adding up to 0: the first point", Path(1, 0, {{3, 4, 0}, {9, 9, 0}}), 500, 3, 4, false},
        {"negative moves truncate toward zero", Path(1, 0, {{0, 0, 3}, {-10, 10, 3}}), 1, -3, 3, false},
    };
    for (const Case& k : cases) {
        int x = -99, y = -99;
        bool finished = false;
        EffectPathOffsetAt(k.layer, k.t, &x, &y, &finished);
        EXPECT_EQ(k.x, x) << k.what;
        EXPECT_EQ(k.y, y) << k.what;
        EXPECT_EQ(k.finished, finished) << k.what;
    }
}

EffectLayer Opacity(uint8_t mode, uint16_t step, uint8_t low, uint8_t high, uint8_t stop = 0)
{
    EffectLayer l;
    l.opacityMode = mode;
    l.step = step;
    l.low = low;
    l.high = high;
    l.stopMode = stop;
    return l;
}

TEST(EffectTiming, Opacity)
{
    struct Case
    {
        const char* what;
        EffectLayer layer;
        uint32_t t;
        int opacity;
        bool finished;
    } cases[] = {
        {"fixed: the step's low byte (300 -> 44)", Opacity(0, 300, 0, 0), 999, 44, false},
        {"rising by one every 10 ms", Opacity(1, 10, 0, 255), 1000, 100, false},
        {"rising starts again after 2550 ms", Opacity(1, 10, 0, 255), 2550, 0, false},
        {"rising once: stays at the top", Opacity(1, 10, 0, 255, 4), 2550, 255, true},
        {"falling", Opacity(2, 10, 0, 255), 1000, 155, false},
        {"falling once: stays at the bottom", Opacity(2, 10, 0, 255, 4), 3000, 0, true},
        {"up and down: 250 reflected at 200", Opacity(3, 10, 100, 200), 1500, 150, false},
        {"up and down once: low at the end", Opacity(3, 10, 100, 200, 4), 2000, 100, true},
        {"a step of 0", Opacity(1, 0, 10, 20), 100, 0, false},
        {"equal bounds: no division", Opacity(3, 10, 80, 80), 100, 80, false},
        {"crossed bounds: no division", Opacity(2, 10, 90, 80), 100, 80, false},
        {"mode byte 5 is mode 1", Opacity(5, 10, 0, 255), 1000, 100, false},
    };
    for (const Case& k : cases) {
        bool finished = false;
        EXPECT_EQ(k.opacity, EffectOpacityAt(k.layer, k.t, &finished)) << k.what;
        EXPECT_EQ(k.finished, finished) << k.what;
    }
}

}  // namespace
