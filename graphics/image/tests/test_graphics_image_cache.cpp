// The image cache: open codes, folder and pack modes, use counts, ini
// stores, raw files and the optional mutex.
#include <gtest/gtest.h>

#include <process.h>

#include "ImageCache.h"
#include "ImageTestSupport.h"
#include "store/QVIniFile.h"
#include "store/QVPackFile.h"

using namespace imgtest;

namespace {

std::vector<uint8_t> Picture(uint32_t rgb)
{
    return MakeBmp(4, 2, 24, {}, [rgb](int, int) { return rgb; });
}

std::vector<uint8_t> Text(const char* s) { return std::vector<uint8_t>(s, s + strlen(s)); }

// A folder with two pictures and an ini file, and a pack holding the same.
class CacheTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder.Write("red.bmp", Picture(0xFF0000));
        folder.Write("blue.bmp", Picture(0x0000FF));
        folder.Write("layout.ini", Text("[main]\r\nwidth=640\r\n"));
        folder.Write("empty.dat", {});
        folder.Write("broken.bmp", Text("BM this is no picture"));

        packPath = folder.Path() + "skin.pak";
        CQVPackFile pack;
        ASSERT_TRUE(pack.Open(packPath.c_str(), TRUE));
        const std::vector<uint8_t> red = Picture(0xFF0000), ini = Text("[main]\r\nwidth=800\r\n");
        ASSERT_TRUE(pack.AddEntry("red.bmp", red.data(), static_cast<uint32_t>(red.size()), 0));
        ASSERT_TRUE(pack.AddEntry("layout.ini", ini.data(), static_cast<uint32_t>(ini.size()), 0));
        pack.Close();
    }

    TempFolder folder;
    std::string packPath;
};

TEST_F(CacheTest, OpenCodesAndModes)
{
    CImageCache cache;
    std::string noSlash = folder.Path();
    noSlash.pop_back();
    EXPECT_EQ(CImageCache::kOpened, cache.Open(noSlash.c_str()));
    EXPECT_STREQ(folder.Path().c_str(), cache.GetFolder());
    EXPECT_EQ(CImageCache::kOpened, cache.Open(folder.Path().c_str()));
    EXPECT_STREQ(folder.Path().c_str(), cache.GetFolder());

    EXPECT_EQ(CImageCache::kOpened, cache.Open(packPath.c_str()));
    EXPECT_STREQ("", cache.GetFolder());
    EXPECT_TRUE(cache.FindOrLoad("red.bmp") != NULL);

    const std::string notAPack = folder.Path() + "layout.ini";
    EXPECT_EQ(CImageCache::kPackOpenFailed, cache.Open(notAPack.c_str()));
    EXPECT_EQ(CImageCache::kNoSource, cache.Open((folder.Path() + "missing").c_str()));
    EXPECT_EQ(CImageCache::kNoSource, cache.Open(NULL));
    // Nothing is read after a failed open.
    EXPECT_EQ(NULL, cache.FindOrLoad("red.bmp"));
    EXPECT_FALSE(cache.FileExists("red.bmp"));
}

TEST_F(CacheTest, PicturesAreLoadedOnceAndCounted)
{
    CImageCache cache;
    ASSERT_EQ(0, cache.Open(folder.Path().c_str()));
    CImageObj* red = cache.FindOrLoad("red.bmp");
    ASSERT_TRUE(red != NULL);
    EXPECT_EQ(RGB(255, 0, 0), red->GetPixelColor(0, 0));
    EXPECT_EQ(red, cache.Get("red.bmp"));
    EXPECT_EQ(1, cache.GetImageCount());
    EXPECT_STREQ("red.bmp", cache.FindName(red));
    CImageObj stranger;
    EXPECT_STREQ("", cache.FindName(&stranger));

    // Use counts: two users, two releases.
    EXPECT_EQ(red, cache.AddRef("red.bmp"));
    EXPECT_EQ(red, cache.AddRef("red.bmp"));
    cache.Release("red.bmp", FALSE);
    EXPECT_STREQ("red.bmp", cache.FindName(red));
    cache.Release("red.bmp", FALSE);
    EXPECT_EQ(0, cache.GetImageCount());

    // A picture nobody counted goes at the first release (count -1).
    ASSERT_TRUE(cache.FindOrLoad("blue.bmp") != NULL);
    cache.Release("blue.bmp", FALSE);
    EXPECT_EQ(0, cache.GetImageCount());
    // Unknown names change nothing; AddRef does not load.
    cache.Release("nothing.bmp", FALSE);
    cache.Release("nothing.bmp", TRUE);
    EXPECT_EQ(NULL, cache.AddRef("red.bmp"));

    // Force frees at once.
    ASSERT_TRUE(cache.FindOrLoad("red.bmp") != NULL);
    cache.AddRef("red.bmp");
    cache.Release("red.bmp", TRUE);
    EXPECT_EQ(0, cache.GetImageCount());

    // Names are case-sensitive keys.
    ASSERT_TRUE(cache.FindOrLoad("RED.BMP") != NULL);
    ASSERT_TRUE(cache.FindOrLoad("red.bmp") != NULL);
    EXPECT_EQ(2, cache.GetImageCount());
    cache.FreeAll();
    EXPECT_EQ(0, cache.GetImageCount());
}

TEST_F(CacheTest, FailedLoadsAreNotKeptAndRetried)
{
    CImageCache cache;
    ASSERT_EQ(0, cache.Open(folder.Path().c_str()));
    EXPECT_EQ(NULL, cache.FindOrLoad("later.bmp"));
    EXPECT_EQ(NULL, cache.FindOrLoad("broken.bmp"));
    EXPECT_EQ(0, cache.GetImageCount());
    folder.Write("later.bmp", Picture(0x00FF00));
    CImageObj* later = cache.FindOrLoad("later.bmp");
    ASSERT_TRUE(later != NULL);
    EXPECT_EQ(RGB(0, 255, 0), later->GetPixelColor(1, 1));
}

TEST_F(CacheTest, LoadingANameAgainKeepsItsHoldersValid)
{
    CImageCache cache;
    ASSERT_EQ(0, cache.Open(folder.Path().c_str()));
    CImageObj* picture = cache.FindOrLoad("red.bmp");
    ASSERT_TRUE(picture != NULL);
    cache.AddRef("red.bmp");
    folder.Write("red.bmp", Picture(0x123456));
    ASSERT_TRUE(cache.Load("red.bmp"));
    EXPECT_EQ(1, cache.GetImageCount());
    EXPECT_EQ(picture, cache.FindOrLoad("red.bmp"));
    EXPECT_EQ(RGB(0x12, 0x34, 0x56), picture->GetPixelColor(0, 0));
    cache.Release("red.bmp", FALSE);  // the count survived the reload
    EXPECT_EQ(0, cache.GetImageCount());
    EXPECT_FALSE(cache.Load("missing.bmp"));
}

TEST_F(CacheTest, IniStoresAndFilesFromBothSources)
{
    CImageCache cache;
    for (int packMode = 0; packMode < 2; packMode++) {
        ASSERT_EQ(0, cache.Open(packMode ? packPath.c_str() : folder.Path().c_str()));
        CQVIniFile* ini = cache.LoadIniFile("layout.ini");
        ASSERT_TRUE(ini != NULL) << packMode;
        EXPECT_EQ(packMode ? 800 : 640, ini->GetInt("main", "width", 0));
        cache.DeleteIniFile(ini);
        EXPECT_EQ(NULL, cache.LoadIniFile("missing.ini"));

        ini = cache.LoadIniFileFromFolder("layout.ini");
        ASSERT_TRUE(ini != NULL);
        EXPECT_EQ(packMode ? 0 : 640, ini->GetInt("main", "width", 0));  // pack mode: empty
        cache.DeleteIniFile(ini);

        void* data = NULL;
        const DWORD size = cache.ReadFile("red.bmp", &data);
        EXPECT_EQ(Picture(0xFF0000).size(), size);
        ASSERT_TRUE(data != NULL);
        EXPECT_EQ(0, memcmp(data, Picture(0xFF0000).data(), size));
        CImageCache::FreeBuffer(data);
        EXPECT_EQ(0u, cache.ReadFile("missing.bmp", &data));
        EXPECT_EQ(NULL, data);

        EXPECT_TRUE(cache.FileExists("red.bmp"));
        EXPECT_FALSE(cache.FileExists("missing.bmp"));
    }
    ASSERT_EQ(0, cache.Open(folder.Path().c_str()));
    void* data = reinterpret_cast<void*>(1);
    EXPECT_EQ(0u, cache.ReadFile("empty.dat", &data));  // an empty file reads as nothing
    EXPECT_EQ(NULL, data);
    EXPECT_TRUE(cache.FileExists("empty.dat"));
}

// A thread that holds a mutex until told to let it go.
struct Holder
{
    HANDLE mutex;
    HANDLE taken;
    HANDLE release;
};

unsigned __stdcall HoldMutex(void* arg)
{
    Holder* h = static_cast<Holder*>(arg);
    WaitForSingleObject(h->mutex, INFINITE);
    SetEvent(h->taken);
    WaitForSingleObject(h->release, INFINITE);
    ReleaseMutex(h->mutex);
    return 0;
}

TEST_F(CacheTest, MutexIsReleasedAndATimeOutGoesOn)
{
    CImageCache cache;
    EXPECT_FALSE(cache.HasMutex());
    HANDLE mutex = CreateMutexA(NULL, FALSE, NULL);
    cache.SetMutex(mutex);
    EXPECT_TRUE(cache.HasMutex());
    ASSERT_EQ(0, cache.Open(folder.Path().c_str()));
    ASSERT_TRUE(cache.FindOrLoad("red.bmp") != NULL);
    // Released again: another thread takes it at once.
    Holder h = {mutex, CreateEventA(NULL, FALSE, FALSE, NULL), CreateEventA(NULL, FALSE, FALSE, NULL)};
    HANDLE thread = reinterpret_cast<HANDLE>(_beginthreadex(NULL, 0, HoldMutex, &h, 0, NULL));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(h.taken, 2000));

    // Held elsewhere: the lookup goes on after the wait.
    const DWORD start = GetTickCount();
    EXPECT_TRUE(cache.FindOrLoad("blue.bmp") != NULL);
    EXPECT_GE(GetTickCount() - start, 4500u);

    SetEvent(h.release);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 5000));
    CloseHandle(thread);
    CloseHandle(h.taken);
    CloseHandle(h.release);
    // The cache never released a mutex it did not own: it is free now.
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(mutex, 0));
    ReleaseMutex(mutex);
}

}  // namespace
