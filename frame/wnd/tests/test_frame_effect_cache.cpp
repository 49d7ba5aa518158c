// The effect cache over a folder: a definition loaded once, the use counts
// its pictures hold, Unload and Clear.
#include <gtest/gtest.h>

#include "EffectCache.h"
#include "FrameTestSupport.h"

namespace {

class EffectCacheTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder = frametest::MakeTempFolder("frame_fx_");
        ASSERT_FALSE(folder.empty());
        auto red = [](int, int) { return RGB(255, 0, 0); };
        ASSERT_TRUE(frametest::WriteBmp(folder + "star.bmp", 8, 8, red));
        ASSERT_TRUE(frametest::WriteBmp(folder + "star_a.bmp", 8, 8, red));
        ASSERT_TRUE(frametest::WriteText(folder + "spark.eff",
                                         "[generic]\neffectcount=1\n[effect1]\nframecount=3\npic1=star.bmp\n"
                                         "channel1=star_a.bmp\ndraw1=0,0,50,1\npic2=missing.bmp\ndraw2=0,0,50,1\n"
                                         "pic3=star.bmp\ndraw3=0,0,50,1\n"));
        ASSERT_TRUE(frametest::WriteText(folder + "glow.eff",
                                         "[generic]\neffectcount=1\n[effect1]\nframecount=1\npic1=star.bmp\n"));
        ASSERT_TRUE(frametest::WriteText(folder + "empty.eff", "[generic]\neffectcount=0\n"));
        ASSERT_EQ(CImageCache::kOpened, cache.Open(folder.c_str()));
    }
    std::string folder;
    CEffectCache cache;
};

TEST_F(EffectCacheTest, GetLoadsOnceAndHoldsThePictures)
{
    const EffectDefinition* spark = cache.Get("spark.eff");
    ASSERT_NE(nullptr, spark);
    EXPECT_EQ(spark, cache.Get("spark.eff")) << "kept, not loaded again";
    EXPECT_EQ(1, cache.GetEffectCount());
    ASSERT_EQ(1u, spark->layers.size());
    EXPECT_EQ(3u, spark->layers[0].frames.size()) << "a missing picture's frame still takes its time";
    EXPECT_EQ((std::vector<std::string>{"star.bmp", "star_a.bmp", "star.bmp"}), spark->pictures);
    EXPECT_EQ(2, cache.GetImageCount());

    ASSERT_NE(nullptr, cache.Get("glow.eff"));
    cache.Unload("spark.eff");
    EXPECT_EQ(1, cache.GetImageCount()) << "star.bmp is still used by glow";
    cache.Unload("spark.eff");
    cache.Unload("never.eff");
    cache.Unload("glow.eff");
    EXPECT_EQ(0, cache.GetImageCount());
    EXPECT_EQ(0, cache.GetEffectCount());
}

TEST_F(EffectCacheTest, FailuresAndClear)
{
    EXPECT_EQ(nullptr, cache.Get("nothing.eff")) << "no file";
    EXPECT_EQ(nullptr, cache.Get("empty.eff")) << "no layer";
    EXPECT_EQ(nullptr, cache.Get(""));
    EXPECT_EQ(0, cache.GetEffectCount());
    ASSERT_NE(nullptr, cache.Get("spark.eff"));
    ASSERT_NE(nullptr, cache.Get("glow.eff"));
    cache.Clear();
    EXPECT_EQ(0, cache.GetEffectCount());
    EXPECT_EQ(0, cache.GetImageCount());
}

}  // namespace
