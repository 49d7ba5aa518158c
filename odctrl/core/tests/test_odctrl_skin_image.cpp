// The skin image by pixel (cells, transparency, the three draw modes, the
// tile cache), its regions and refusals, both kinds of animation, the GIF
// source through the GIF/TGA binding, and the skin frame and block look
// drawn from skin images.
#include "ODTestSupport.h"

#include <thread>

#include "GifTestSupport.h"
#include "ODProgressBlock.h"
#include "ODSkinFrame.h"
#include "ODSkinImage.h"
#include "QVGifImage.h"

namespace {

using namespace odtest;

// The skin image with its tile cache and step open to the tests.
class TestImage : public CODSkinImage
{
public:
    using CODSkinImage::CODSkinImage;
    using CODSkinImage::m_tiles;
    using CODSkinImage::Step;
};

const COLORREF kCellColours[] = {kRed, kGreen, kBlue, kYellow, kCyan, kWhite};

// A strip of n cells of w x h: cell i is kCellColours[i] with a black pixel
// at its (1, 1) and the top-left pixel of the whole strip magenta.
HBITMAP Strip(int n, int w, int h)
{
    return MakeBitmap(n * w, h, [=](int x, int y) {
        if (x == 0 && y == 0)
            return kMagenta;
        if (x % w == 1 && y == 1)
            return kBlack;
        return kCellColours[x / w];
    });
}

BOOL Load(CODSkinImage& image, HBITMAP bitmap, int transparent, int cells, int states, int frames, int interval = 0,
          BOOL vertical = FALSE)
{
    CBitmap b;
    b.Attach(bitmap);
    const BOOL ok = image.CreateFromBitmap(&b, transparent, cells, states, frames, interval, vertical);
    b.DeleteObject();
    return ok;
}

// ---- Loading and cells --------------------------------------------------------------------------------

TEST(SkinImage, CellsAndRefusalsTable)
{
    struct Case {
        const char* what;
        int cells, states, frames, interval;
        BOOL vertical;
        BOOL loaded;
        int cx, cy;
    };
    const Case cases[] = {
        {"a strip of four cells", 4, 2, 2, 0, FALSE, TRUE, 6, 5},
        {"integer division of the width", 5, 1, 1, 0, FALSE, TRUE, 4, 5},
        {"a grid: frames across, states down", 1, 1, 4, 0, TRUE, TRUE, 6, 5},
        {"cells 0 refused (no division by zero)", 0, 1, 1, 0, FALSE, FALSE, 0, 0},
        {"states 0 refused", 4, 0, 1, 0, FALSE, FALSE, 0, 0},
        {"frames 0 refused", 4, 1, 0, 0, FALSE, FALSE, 0, 0},
        {"a negative interval refused", 4, 1, 1, -1, FALSE, FALSE, 0, 0},
        {"more cells than pixels: cells of no width", 100, 1, 1, 0, FALSE, TRUE, 0, 5},
    };
    for (const Case& c : cases) {
        CODSkinImage image;
        EXPECT_EQ(Load(image, Strip(4, 6, 5), -1, c.cells, c.states, c.frames, c.interval, c.vertical), c.loaded)
            << c.what;
        EXPECT_EQ(image.IsEmpty(), !c.loaded) << c.what;
        EXPECT_EQ(image.GetCellSize(), CSize(c.cx, c.cy)) << c.what;
        EXPECT_EQ(image.GetSourceKind(), c.loaded ? CODSkinImage::SourceBitmap : CODSkinImage::SourceNone) << c.what;
        EXPECT_EQ(image.GetCurrentFrame(), c.loaded ? 0 : -1) << c.what;
        if (c.cx == 0) {
            Canvas canvas(8, 8, kBlack);
            image.Draw(CDC::FromHandle(canvas.dc()), CRect(0, 0, 8, 8), 0);  // draws nothing, no crash
            EXPECT_EQ(canvas.At(3, 3), kBlack) << c.what;
        }
    }
    CODSkinImage image;
    EXPECT_FALSE(image.CreateFromBitmap(NULL, -1, 1, 1, 1, 0, FALSE));
}

TEST(SkinImage, PlainDrawsTheStateCellAtTheTopLeft)
{
    CODSkinImage image;
    ASSERT_TRUE(Load(image, Strip(3, 4, 3), -1, 3, 3, 1));
    struct Case {
        const char* what;
        int state;
        COLORREF colour;
    };
    const Case cases[] = {
        {"state 0", 0, kRed}, {"state 2", 2, kBlue}, {"a state beyond the count draws state 0", 3, kRed},
        {"a negative state draws state 0", -1, kRed},
    };
    for (const Case& c : cases) {
        Canvas canvas(12, 10, kGrey);
        image.Draw(CDC::FromHandle(canvas.dc()), CRect(3, 2, 11, 9), c.state);
        EXPECT_EQ(canvas.At(5, 3), c.colour) << c.what;
        EXPECT_EQ(canvas.At(4, 3), kBlack) << c.what << ": the cell's marker";
        EXPECT_EQ(canvas.At(7, 3), kGrey) << c.what << ": one cell only";
        EXPECT_EQ(canvas.At(2, 2), kGrey) << c.what;
    }
}

TEST(SkinImage, TransparencyTable)
{
    // 4 x 3: corner pixels in four distinct colours, white inside.
    auto corners = [](int x, int y) {
        if (x == 0 && y == 0)
            return kRed;
        if (x == 0 && y == 2)
            return kGreen;
        if (x == 3 && y == 0)
            return kBlue;
        if (x == 3 && y == 2)
            return kYellow;
        return kWhite;
    };
    struct Case {
        const char* what;
        int mode;
        COLORREF leftOut;
    };
    const Case cases[] = {
        {"0: the top-left pixel's colour, not black", 0, kRed},
        {"1: bottom-left", 1, kGreen},
        {"2: top-right", 2, kBlue},
        {"3: bottom-right", 3, kYellow},
        {"another value is a colour", static_cast<int>(kWhite), kWhite},
    };
    for (const Case& c : cases) {
        CODSkinImage image;
        ASSERT_TRUE(Load(image, MakeBitmap(4, 3, corners), c.mode, 1, 1, 1)) << c.what;
        EXPECT_TRUE(image.IsTransparent()) << c.what;
        Canvas canvas(4, 3, kGrey);
        image.Draw(CDC::FromHandle(canvas.dc()), CRect(0, 0, 4, 3), 0);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x) {
                const COLORREF source = corners(x, y);
                ASSERT_EQ(canvas.At(x, y), source == c.leftOut ? kGrey : source) << c.what << " " << x << "," << y;
            }
        // The region holds exactly the drawn pixels.
        HRGN region = image.GetRegion(CRect(10, 20, 14, 23), 0);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x)
                EXPECT_EQ(PtInRegion(region, 10 + x, 20 + y) != 0, corners(x, y) != c.leftOut)
                    << c.what << " region " << x << "," << y;
        DeleteObject(region);
    }
    // Mode -1: opaque; the region is the plain rectangle, the one in the
    // rectangle none.
    CODSkinImage opaque;
    ASSERT_TRUE(Load(opaque, MakeBitmap(4, 3, corners), -1, 1, 1, 1));
    EXPECT_FALSE(opaque.IsTransparent());
    HRGN plain = opaque.GetRegion(CRect(1, 2, 30, 40), 0);
    RECT box;
    EXPECT_EQ(GetRgnBox(plain, &box), SIMPLEREGION);
    EXPECT_EQ(CRect(box), CRect(1, 2, 30, 40));
    DeleteObject(plain);
    EXPECT_EQ(opaque.GetRegionInRect(CRect(1, 2, 30, 40), 0), nullptr);
}

TEST(SkinImage, TileByPixelAndTheCopyIsReused)
{
    // One cell 2 x 2: red, green / blue, yellow; the image is opaque.
    auto quad = [](int x, int y) { return y == 0 ? (x == 0 ? kRed : kGreen) : (x == 0 ? kBlue : kYellow); };
    TestImage image;
    ASSERT_TRUE(Load(image, MakeBitmap(2, 2, quad), -1, 1, 1, 1));
    EXPECT_EQ(image.SetDrawMode(CODSkinImage::DrawTile), CODSkinImage::DrawPlain);
    Canvas canvas(12, 10, kGrey);
    image.Draw(CDC::FromHandle(canvas.dc()), CRect(1, 2, 8, 7), 0);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x) {
            const bool inside = x >= 1 && x < 8 && y >= 2 && y < 7;
            ASSERT_EQ(canvas.At(x, y), inside ? quad((x - 1) % 2, (y - 2) % 2) : kGrey) << x << "," << y;
        }
    ASSERT_EQ(image.m_tiles.size(), 1u);
    const CQVDib16* first = image.m_tiles[0].surface.get();
    EXPECT_EQ(first->GetWidth(), 7);

    Canvas small(12, 10, kGrey);
    image.Draw(CDC::FromHandle(small.dc()), CRect(0, 0, 3, 3), 0);
    ASSERT_EQ(image.m_tiles.size(), 1u);
    EXPECT_EQ(image.m_tiles[0].surface.get(), first) << "a smaller request reuses the copy";
    EXPECT_EQ(small.At(3, 0), kGrey) << "only the rectangle's part of the larger copy is drawn";
    EXPECT_EQ(small.At(2, 2), kRed);

    image.Draw(CDC::FromHandle(small.dc()), CRect(0, 0, 4, 9), 0);
    EXPECT_EQ(image.m_tiles[0].surface->GetWidth(), 7) << "copies only grow";
    EXPECT_EQ(image.m_tiles[0].surface->GetHeight(), 9);
}

TEST(SkinImage, TransparentTileLeavesTheKeyOut)
{
    // 3 x 1: magenta, red, magenta.
    CODSkinImage image;
    ASSERT_TRUE(Load(image, MakeBitmap(3, 1, [](int x, int) { return x == 1 ? kRed : kMagenta; }), 0, 1, 1, 1));
    image.SetDrawMode(CODSkinImage::DrawTile);
    Canvas canvas(10, 2, kGrey);
    image.Draw(CDC::FromHandle(canvas.dc()), CRect(0, 0, 10, 2), 0);
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(canvas.At(x, 1), x % 3 == 1 ? kRed : kGrey) << x;
}

TEST(SkinImage, StretchIncludingTheSmallRectangle)
{
    CODSkinImage image;
    ASSERT_TRUE(Load(image, Strip(2, 4, 3), 0, 2, 2, 1));  // magenta top-left is transparent
    image.SetDrawMode(CODSkinImage::DrawStretch);
    Canvas canvas(20, 16, kGrey);
    image.Draw(CDC::FromHandle(canvas.dc()), CRect(2, 2, 10, 8), 1);  // state 1 (green), doubled
    EXPECT_EQ(canvas.At(2, 2), kGreen);
    EXPECT_EQ(canvas.At(4, 4), kBlack) << "the marker (1, 1) at (2, 2) of the doubled cell";
    EXPECT_EQ(canvas.At(5, 5), kBlack);
    EXPECT_EQ(canvas.At(9, 7), kGreen);
    EXPECT_EQ(canvas.At(10, 8), kGrey);

    Canvas small(20, 16, kGrey);
    image.Draw(CDC::FromHandle(small.dc()), CRect(5, 5, 7, 7), 0);  // smaller than a cell
    EXPECT_EQ(small.At(5, 5), kGrey) << "the transparent corner shows the old background";
    EXPECT_EQ(small.At(6, 6), kBlack);
    EXPECT_EQ(small.At(8, 7), kRed) << "painted at the cell's size from the top-left, beyond the rectangle";
    EXPECT_EQ(small.At(9, 8), kGrey);
}

TEST(SkinImage, RegionsInPlainAndTileModes)
{
    // 2 x 2 cell: only (1, 1) is opaque; transparent mode 0 (magenta).
    CODSkinImage image;
    ASSERT_TRUE(Load(image, MakeBitmap(2, 2, [](int x, int y) { return x == 1 && y == 1 ? kRed : kMagenta; }), 0, 1, 1,
                     1));
    HRGN plain = image.GetRegion(CRect(10, 10, 20, 20), 0);
    EXPECT_TRUE(PtInRegion(plain, 11, 11));
    EXPECT_FALSE(PtInRegion(plain, 10, 10));
    EXPECT_FALSE(PtInRegion(plain, 13, 13)) << "mode 0: the bitmap once";
    DeleteObject(plain);

    image.SetDrawMode(CODSkinImage::DrawTile);
    HRGN tiled = image.GetRegion(CRect(10, 10, 15, 13), 0);
    for (int y = 10; y < 15; ++y)
        for (int x = 10; x < 17; ++x) {
            const bool expected = (x - 10) % 2 == 1 && (y - 10) % 2 == 1 && x < 16 && y < 14;
            EXPECT_EQ(PtInRegion(tiled, x, y) != 0, expected) << "tiled " << x << "," << y;
        }
    DeleteObject(tiled);
    HRGN cut = image.GetRegionInRect(CRect(10, 10, 15, 13), 0);
    EXPECT_TRUE(PtInRegion(cut, 13, 11));
    EXPECT_FALSE(PtInRegion(cut, 15, 13)) << "cut at the rectangle";
    DeleteObject(cut);
    EXPECT_EQ(image.GetRegionInRect(CRect(3, 3, 3, 9), 0), nullptr) << "an empty rectangle";

    image.SetDrawMode(CODSkinImage::DrawStretch);
    EXPECT_EQ(image.GetRegionInRect(CRect(0, 0, 4, 4), 0), nullptr) << "stretched: no region";
}

TEST(SkinImage, ReleaseFreesItsGdiObjects)
{
    const int before = CountGdiObjects();
    ASSERT_GT(before, 0) << "the counter must see objects";
    for (int i = 0; i < 50; ++i) {
        CODSkinImage image;
        ASSERT_TRUE(Load(image, Strip(2, 4, 3), 0, 2, 2, 1));
        image.SetDrawMode(CODSkinImage::DrawTile);
        Canvas canvas(20, 20, kGrey);
        image.Draw(CDC::FromHandle(canvas.dc()), CRect(0, 0, 20, 20), 0);
        image.SetDrawMode(CODSkinImage::DrawStretch);
        image.Draw(CDC::FromHandle(canvas.dc()), CRect(0, 0, 20, 20), 0);
        DeleteObject(image.GetRegion(CRect(0, 0, 5, 5), 0));
    }
    AfxDeleteTempMaps();
    EXPECT_LE(CountGdiObjects(), before + 2);
}

// ---- Animation ---------------------------------------------------------------------------------------

TEST(SkinImageAnimation, OneFrameNeverStarts)
{
    CODSkinImage image;
    ASSERT_TRUE(Load(image, Strip(2, 4, 3), -1, 2, 2, 1));
    EXPECT_FALSE(image.StartAnimation());
    EXPECT_FALSE(image.IsRunning());
}

TEST(SkinImageAnimation, OwnerTimerAdvancesAndRepaints)
{
    CLogWnd owner;
    ASSERT_TRUE(owner.CreateHidden());
    owner.ShowWindow(SW_SHOWNOACTIVATE);  // a hidden window keeps no update region
    CODSkinImage image(&owner, 7, TRUE);
    CRect repainted(0, 0, 0, 0);
    owner.onTimer = [&](UINT_PTR id) {
        if (id != 7)
            return;
        ValidateRect(owner.m_hWnd, NULL);
        image.AdvanceFrame();
        RECT update;
        if (GetUpdateRect(owner.m_hWnd, &update, FALSE))
            repainted = update;
    };
    ASSERT_TRUE(Load(image, Strip(3, 4, 3), -1, 3, 1, 3, 20));
    Canvas canvas(40, 40, kGrey);
    image.Draw(CDC::FromHandle(canvas.dc()), CRect(10, 10, 30, 30), 0);
    ASSERT_TRUE(image.StartAnimation());
    EXPECT_TRUE(image.IsRunning());
    ASSERT_TRUE(WaitUntil([&] { return image.GetCurrentFrame() != 0; })) << "a real timer tick";
    EXPECT_EQ(repainted, CRect(10, 10, 14, 13)) << "the last rectangle cut to one cell";

    // A WM_TIMER of the image's id steps it; frames wrap.
    const int now = image.GetCurrentFrame();
    image.AdvanceFrame();
    EXPECT_EQ(image.GetCurrentFrame(), (now + 1) % 3);

    EXPECT_TRUE(image.StopAnimation(TRUE));
    EXPECT_FALSE(image.IsRunning());
    EXPECT_EQ(image.GetCurrentFrame(), 0) << "rewound";
    EXPECT_FALSE(KillTimer(owner.m_hWnd, 7)) << "the timer is gone";
    image.Release();

    // An image in the owner's non-client area repaints it with WM_NCPAINT.
    CODSkinImage frameImage(&owner, 8, FALSE);
    ASSERT_TRUE(Load(frameImage, Strip(2, 4, 3), -1, 2, 1, 2));
    owner.noteMessage = WM_NCPAINT;
    frameImage.Draw(CDC::FromHandle(canvas.dc()), CRect(0, 0, 4, 3), 0);
    frameImage.AdvanceFrame();
    EXPECT_EQ(owner.noted.size(), 1u);
    EXPECT_EQ(frameImage.GetCurrentFrame(), 1);
    frameImage.SetUseOwnerTimer(FALSE);
    frameImage.AdvanceFrame();
    EXPECT_EQ(owner.noted.size(), 1u) << "without the owner's timer nothing is repainted";
    owner.DestroyWindow();
}

TEST(SkinImageAnimation, WorkerThreadStopsAndIsJoined)
{
    for (int round = 0; round < 3; ++round) {
        TestImage image;  // no owner: a worker thread
        ASSERT_TRUE(Load(image, Strip(3, 4, 3), -1, 3, 1, 3, 10));
        ASSERT_TRUE(image.StartAnimation());
        ASSERT_TRUE(WaitUntil([&] { return image.GetCurrentFrame() != 0; })) << "the worker steps";
        if (round == 0) {
            EXPECT_TRUE(image.StopAnimation(FALSE));
            EXPECT_FALSE(image.IsRunning());
        } else if (round == 1) {
            // CreateFromBitmap refuses while running and keeps the old image.
            EXPECT_FALSE(Load(image, Strip(1, 4, 3), -1, 1, 1, 1));
            EXPECT_EQ(image.GetFrameCount(), 3);
            EXPECT_TRUE(image.IsRunning());
            image.Release();  // stops and joins first
            EXPECT_TRUE(image.IsEmpty());
        }
        // round 2: the destructor stops it.
    }
}

// ---- GIF source ------------------------------------------------------------------------------------

// Three frames on an 8 x 6 screen: frame 0 whole, red, without graphic
// control (delay 0); frame 1 at (2, 1) 3 x 2, green, delay 100 ms; frame 2
// at (1, 1) 2 x 2, blue with a transparent index, delay 200 ms.
std::vector<uint8_t> ThreeFrameGif()
{
    const giftest::Bytes table = {0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255};  // black, red, green, blue
    giftest::GifBuilder b;
    b.Header().Screen(8, 6, 0x81, 0, table);
    b.Image(0, 0, 8, 6, 0, giftest::EncodePlain(std::vector<uint8_t>(48, 1), 2));
    b.GraphicControl(0x00, 10, 0);
    b.Image(2, 1, 3, 2, 0, giftest::EncodePlain(std::vector<uint8_t>(6, 2), 2));
    b.GraphicControl(0x01, 20, 0);
    b.Image(1, 1, 2, 2, 0, giftest::EncodePlain({3, 0, 0, 3}, 2));
    return b.Trailer().Get();
}

TEST(SkinImageGif, FramesDelaysAndDrawing)
{
    TempDir dir;
    const std::string path = dir.File("anim.gif");
    const std::vector<uint8_t> bytes = ThreeFrameGif();
    ASSERT_TRUE(WriteFileBytes(path, std::vector<unsigned char>(bytes.begin(), bytes.end())));
    TestImage image;
    ASSERT_TRUE(image.LoadFromFile(("  " + path + " \t").c_str())) << "the path is trimmed";
    EXPECT_EQ(image.GetSourceKind(), CODSkinImage::SourceGif);
    EXPECT_EQ(image.GetFrameCount(), 3);
    EXPECT_EQ(image.GetStateCount(), 1);
    EXPECT_EQ(image.GetCellSize(), CSize(8, 6));
    EXPECT_EQ(image.GetFrameDelay(0), 0);
    EXPECT_EQ(image.GetFrameDelay(1), 100);
    EXPECT_EQ(image.GetFrameDelay(2), 200);

    image.SetInterval(40);
    EXPECT_EQ(image.Step(), 40u) << "a frame with delay 0 takes the image's interval";
    EXPECT_EQ(image.Step(), 100u);
    EXPECT_EQ(image.GetCurrentFrame(), 2);

    // Frame 2: the cell around the frame takes the background colour
    // (black), the transparent pixels keep the target.
    Canvas canvas(12, 10, kGrey);
    image.Draw(CDC::FromHandle(canvas.dc()), CRect(2, 2, 12, 10), 0);
    EXPECT_EQ(canvas.At(2, 2), kBlack) << "background around the frame";
    EXPECT_EQ(canvas.At(3, 3), kBlue);
    EXPECT_EQ(canvas.At(4, 3), kGrey) << "a transparent pixel";
    EXPECT_EQ(canvas.At(4, 4), kBlue);
    EXPECT_EQ(canvas.At(11, 9), kGrey) << "outside the cell";

    image.SetDrawMode(CODSkinImage::DrawTile);
    Canvas tiled(20, 8, kGrey);
    image.Draw(CDC::FromHandle(tiled.dc()), CRect(0, 0, 20, 6), 0);
    EXPECT_EQ(tiled.At(1 + 8, 1), kBlue) << "the second tile";
    EXPECT_EQ(tiled.At(1, 7), kGrey);
}

TEST(SkinImageGif, MissingFileAndBadData)
{
    TempDir dir;
    CODSkinImage image;
    EXPECT_FALSE(image.LoadFromFile(dir.File("none.gif").c_str()));
    EXPECT_TRUE(image.IsEmpty());
    ASSERT_TRUE(WriteText(dir.File("junk.gif"), "GIF89a\x01"));
    EXPECT_FALSE(image.LoadFromFile(dir.File("junk.gif").c_str()));
    EXPECT_FALSE(image.LoadFromFile(NULL));
}

TEST(GifBinding, MissingLibraryIsAFailureForGood)
{
    CGifTgaBinding binding("NoSuchGifLibrary.dll");
    EXPECT_FALSE(binding.Bind());
    EXPECT_TRUE(binding.HasFailed());
    EXPECT_FALSE(binding.Bind());
    EXPECT_EQ(binding.LoadAttempts(), 1) << "never tried again";
    CQVGifImage gif(&binding);
    EXPECT_EQ(gif.LoadFile("any.gif"), CQVGifImage::kLoadFailed);
    EXPECT_EQ(binding.LoadAttempts(), 1);
    int w = 5;
    EXPECT_FALSE(gif.GetImageSize(&w, nullptr, nullptr)) << "unbound wrappers answer 0";
    EXPECT_EQ(gif.CreateCurrentBmp(), nullptr);
    EXPECT_EQ(gif.GetNextRawFrameData(), nullptr);
    EXPECT_EQ(gif.GetGlobalColorIndexTotal(nullptr), 0);
}

TEST(GifBinding, LibraryWithoutTheGifEntriesIsFreed)
{
    // The theme's resource library exports nothing.
    const std::string path = ThemeFolder() + "Kelvarin.dll";
    ASSERT_NE(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES) << "the build makes " << path;
    CGifTgaBinding binding(path.c_str());
    EXPECT_FALSE(binding.Bind());
    EXPECT_EQ(GetModuleHandleA(path.c_str()), nullptr) << "freed";
}

TEST(GifBinding, ConcurrentFirstBindBindsOnce)
{
    CGifTgaBinding binding("REVUVIVA.dll");
    std::vector<std::thread> threads;
    std::vector<int> results(8, -1);
    for (int i = 0; i < 8; ++i)
        threads.emplace_back([&, i] { results[static_cast<size_t>(i)] = binding.Bind(); });
    for (std::thread& t : threads)
        t.join();
    for (int r : results)
        EXPECT_EQ(r, 1) << "REVUVIVA.dll must sit beside the test";
    EXPECT_EQ(binding.LoadAttempts(), 1);
    for (int i = 0; i < CGifTgaBinding::kEntryCount; ++i)
        EXPECT_NE(binding.Entry(i), nullptr) << CGifTgaBinding::kEntryNames[i];
}

// ---- Skin frame -------------------------------------------------------------------------------------

// Fills the frame's images: edges of solid colours 2 pixels thick, corners
// 3 x 3 with a transparent (magenta) outer pixel.
void FillFrame(CODSkinFrame& frame)
{
    const COLORREF edge[4] = {kRed, kGreen, kBlue, kYellow};
    for (int i = 0; i < 4; ++i) {
        const bool vertical = i < 2;
        Load(frame.GetImage(i), MakeBitmap(vertical ? 2 : 5, vertical ? 5 : 2, [&](int, int) { return edge[i]; }), -1,
             1, 1, 1);
    }
    const int keyCorner[4] = {0, 2, 1, 3};
    for (int i = 0; i < 4; ++i) {
        const int k = keyCorner[i];
        Load(frame.GetImage(4 + i), MakeBitmap(3, 3, [&](int x, int y) {
                 const bool key = (k == 0 && x == 0 && y == 0) || (k == 2 && x == 2 && y == 0) ||
                                  (k == 1 && x == 0 && y == 2) || (k == 3 && x == 2 && y == 2);
                 return key ? kMagenta : kCyan;
             }),
             k, 1, 1, 1);
    }
}

TEST(SkinFrame, StripsWithoutImagesByPixel)
{
    CODSkinFrame frame;
    EXPECT_EQ(frame.SetColor(kRed, 0), GetSysColor(COLOR_BTNHIGHLIGHT));
    const int widths[4] = {1, 2, 3, 4};
    int old[4] = {};
    frame.SetBorderWidths(old, widths);
    EXPECT_EQ(old[0], 2);
    EXPECT_EQ(old[3], 2);
    Canvas canvas(20, 20, kGrey);
    EXPECT_TRUE(frame.Draw(CDC::FromHandle(canvas.dc()), CRect(2, 2, 18, 18)));
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool inRect = x >= 2 && x < 18 && y >= 2 && y < 18;
            const bool border = inRect && (x < 3 || y < 4 || x >= 15 || y >= 14);
            ASSERT_EQ(canvas.At(x, y), border ? kRed : kGrey) << x << "," << y;
        }
}

TEST(SkinFrame, ImagesOverTheStripsAndEdgesAlwaysTiled)
{
    CODSkinFrame frame;
    FillFrame(frame);
    frame.GetImage(CODSkinFrame::EdgeTop).SetDrawMode(CODSkinImage::DrawPlain);
    frame.SetColor(kBlack, 0);
    Canvas canvas(30, 30, kGrey);
    ASSERT_TRUE(frame.Draw(CDC::FromHandle(canvas.dc()), CRect(0, 0, 30, 30)));
    EXPECT_EQ(frame.GetImage(CODSkinFrame::EdgeTop).GetDrawMode(), CODSkinImage::DrawTile);
    EXPECT_EQ(canvas.At(20, 0), kBlue) << "the top edge tiled along the edge";
    EXPECT_EQ(canvas.At(0, 15), kRed);
    EXPECT_EQ(canvas.At(29, 15), kGreen);
    EXPECT_EQ(canvas.At(15, 29), kYellow);
    EXPECT_EQ(canvas.At(1, 1), kCyan) << "corner";
    EXPECT_EQ(canvas.At(0, 0), kBlue) << "the corner's transparent pixel shows the top edge";
    EXPECT_EQ(canvas.At(15, 15), kGrey) << "inside untouched";

    const int none[4] = {0, 0, 0, 0};
    frame.SetBorderWidths(NULL, none);
    Canvas blank(30, 30, kGrey);
    EXPECT_FALSE(frame.Draw(CDC::FromHandle(blank.dc()), CRect(0, 0, 30, 30)));
    EXPECT_EQ(blank.At(1, 1), kGrey) << "all widths 0: nothing, even with images";
}

TEST(SkinFrame, RegionsAndColourBounds)
{
    CODSkinFrame plain;
    EXPECT_EQ(plain.GetClipRegion(CRect(0, 0, 30, 30)), nullptr) << "no image: no clip region";
    EXPECT_EQ(plain.SetColor(kRed, 4), static_cast<COLORREF>(-1));
    EXPECT_EQ(plain.GetColor(4), static_cast<COLORREF>(-1));
    EXPECT_EQ(plain.GetColor(0), GetSysColor(COLOR_BTNHIGHLIGHT)) << "unchanged";

    CODSkinFrame frame;
    FillFrame(frame);
    HRGN clip = frame.GetClipRegion(CRect(10, 10, 40, 40));
    ASSERT_NE(clip, nullptr);
    EXPECT_FALSE(PtInRegion(clip, 10, 10)) << "the top-left corner's key pixel";
    EXPECT_TRUE(PtInRegion(clip, 11, 10));
    EXPECT_FALSE(PtInRegion(clip, 39, 39)) << "bottom-right key pixel";
    EXPECT_FALSE(PtInRegion(clip, 20, 10)) << "opaque edges give no clip region";
    DeleteObject(clip);
    HRGN window = frame.GetWindowRegion(CRect(10, 10, 40, 40));
    EXPECT_TRUE(PtInRegion(window, 20, 10)) << "opaque edges count whole";
    EXPECT_TRUE(PtInRegion(window, 10, 20));
    EXPECT_FALSE(PtInRegion(window, 10, 10));
    EXPECT_FALSE(PtInRegion(window, 25, 25)) << "only the ring";
    DeleteObject(window);
}

// ---- Block look --------------------------------------------------------------------------------------

TEST(ProgressBlock, PenBlocksByPixel)
{
    CODProgressBlock block;
    block.SetCount(20);
    block.SetSpace(1);
    block.SetFill(0);
    block.SetColor(kBlue, CODProgressBlock::ColorEdge);
    block.SetColor(kWhite, CODProgressBlock::ColorFace);
    block.SetColor(kRed, CODProgressBlock::ColorEdgeHighlight);
    block.SetColor(kYellow, CODProgressBlock::ColorFaceHighlight);
    Canvas canvas(221, 14, kGrey);
    const CRect bar(1, 1, 220, 13);
    EXPECT_EQ(block.GetBarSize(bar), CSize(219, 12));
    block.Draw(CDC::FromHandle(canvas.dc()), bar, 0.5);
    for (int i = 0; i < 20; ++i) {
        const int left = 1 + 11 * i;
        const bool hi = i == 9;
        ASSERT_EQ(canvas.At(left, 5), hi ? kRed : kBlue) << "edge of block " << i;
        ASSERT_EQ(canvas.At(left + 5, 6), hi ? kYellow : kWhite) << "face of block " << i;
        if (i < 19) {
            ASSERT_EQ(canvas.At(left + 10, 6), kGrey) << "space after block " << i;
        }
    }

    // Fill set: full blocks highlighted and a partial inside fill.
    block.SetFill(1);
    Canvas filled(221, 14, kGrey);
    block.Draw(CDC::FromHandle(filled.dc()), bar, 0.125);  // 2.5 blocks: partial 5 pixels
    EXPECT_EQ(filled.At(1 + 5, 6), kYellow);
    EXPECT_EQ(filled.At(1 + 22 + 1, 6), kYellow) << "partial fill from the left";
    EXPECT_EQ(filled.At(1 + 22 + 5, 6), kYellow);
    EXPECT_EQ(filled.At(1 + 22 + 6, 6), kWhite);
    EXPECT_EQ(filled.At(1 + 22, 6), kBlue) << "the block keeps its plain edge";

    block.SetCount(0);
    Canvas none(221, 14, kGrey);
    block.Draw(CDC::FromHandle(none.dc()), bar, 0.5);
    EXPECT_EQ(none.At(5, 5), kGrey) << "count 0 draws nothing";
    EXPECT_EQ(block.GetBarSize(bar), CSize(0, 12));
}

TEST(ProgressBlock, ImageBlocksAndTheirFallback)
{
    CODProgressBlock block;
    block.SetSpace(2);
    // Mode 1 with an empty image draws pen blocks.
    block.SetMode(CODProgressBlock::ModeImage);
    block.SetColor(kBlue, CODProgressBlock::ColorEdge);
    Canvas pen(60, 12, kGrey);
    block.Draw(CDC::FromHandle(pen.dc()), CRect(0, 0, 60, 12), 0.0);
    EXPECT_EQ(pen.At(0, 5), kBlue);

    // Two states of 4 x 6: state 0 green, state 1 red.
    ASSERT_TRUE(Load(block.GetImage(), MakeBitmap(8, 6, [](int x, int) { return x < 4 ? kGreen : kRed; }), -1, 2, 2,
                     1));
    Canvas image(62, 12, kGrey);
    const CRect bar(1, 1, 61, 11);  // 60 long: (60 + 2) / 6 = 10 blocks
    EXPECT_EQ(block.GetBarSize(bar), CSize(58, 10));
    block.Draw(CDC::FromHandle(image.dc()), bar, 0.3);  // k = 3: block 2 in state 1
    for (int i = 0; i < 10; ++i) {
        const int left = 1 + 6 * i;
        ASSERT_EQ(image.At(left, 3), i == 2 ? kRed : kGreen) << "block " << i;
        ASSERT_EQ(image.At(left, 1), kGrey) << "centred across: (10 - 6) / 2 = 2";
        ASSERT_EQ(image.At(left + 4, 4), kGrey) << "space";
    }
}

TEST(ProgressBlock, OwnValuesSurviveNewDefaults)
{
    CODProgressBlock::Defaults saved = CODProgressBlock::ClassDefaults();
    CODProgressBlock block;
    EXPECT_EQ(block.GetCount(), 20);
    EXPECT_EQ(block.GetColor(CODProgressBlock::ColorFace), RGB(160, 190, 220));
    EXPECT_EQ(block.SetSpace(3), 1);
    CODProgressBlock::ClassDefaults().space = 7;
    CODProgressBlock::ClassDefaults().count = 9;
    block.ApplyDefaults("ignored", FALSE);
    EXPECT_EQ(block.GetSpace(), 3) << "set on the object";
    EXPECT_EQ(block.GetCount(), 9) << "follows the class default";
    EXPECT_EQ(block.SetColor(kRed, 4), static_cast<COLORREF>(-1));
    CODProgressBlock::ClassDefaults() = saved;
}

}  // namespace
