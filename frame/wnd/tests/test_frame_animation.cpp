// The frame animation with a fixed clock: stopped and finished animations,
// cells (forced, selectors, out of range, a picture smaller than a cell),
// the finish message and callback, change tracking and hit tests.
#include <gtest/gtest.h>

#include "FrameAnimation.h"
#include "FrameTestSupport.h"
#include "ImageObj.h"
#include "SceneClock.h"

namespace {

DWORD g_now = 5000;
DWORD TestClock() { return g_now; }

int g_callbacks = 0;
void OnFinished(CFrameAnimation*, UINT_PTR, UINT_PTR) { g_callbacks++; }

int g_messages = 0;
LRESULT CALLBACK CountingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_APP + 7)
        g_messages++;
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// Cell n of a 2 x 2 grid picture is coloured (n, 100, 7).
COLORREF CellColour(int cell) { return RGB(cell % 256, 100 + cell / 256, 7); }

class AnimationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_now = 5000;
        g_callbacks = 0;
        g_messages = 0;
        SetSceneClock(TestClock);
        // 500 cells of 2 x 2 in one row: 1000 x 2.
        ASSERT_TRUE(frametest::MakePicture(row, 1000, 2, [](int x, int) { return CellColour(x / 2); }));
        // 4 cells in a 2 x 2 grid of 2 x 2 cells: 4 x 4.
        ASSERT_TRUE(frametest::MakePicture(grid, 4, 4, [](int x, int y) { return CellColour((x / 2) * 2 + y / 2); }));
        ASSERT_TRUE(frametest::MakePicture(tiny, 1, 1, [](int, int) { return RGB(9, 9, 9); }));
        ASSERT_TRUE(frametest::MakePicture(target, 8, 8, [](int, int) { return RGB(0, 0, 0); }));
    }
    void TearDown() override { SetSceneClock(NULL); }

    CFrameAnimation::PictureLookup Lookup()
    {
        return [this](const std::string& name) -> CImageObj* {
            return name == "row" ? &row : name == "grid" ? &grid : name == "tiny" ? &tiny : NULL;
        };
    }
    static EffectDefinition OneFrame(const char* picture, bool grid, uint32_t selector, int16_t duration = 100,
                                     uint8_t stop = 0)
    {
        EffectDefinition def;
        EffectLayer layer;
        layer.hasGrid = grid;
        layer.cellWidth = layer.cellHeight = 2;
        layer.stopMode = stop;
        EffectFrame frame;
        frame.picture = picture;
        frame.duration = duration;
        frame.source = selector;
        layer.frames.push_back(frame);
        layer.frames.push_back(frame);
        layer.totalTime = 2 * duration;
        def.layers.push_back(layer);
        return def;
    }
    COLORREF DrawnAt(CFrameAnimation& a)
    {
        target.FillRect(0, 0, 8, 8, RGB(0, 0, 0));
        a.DrawAt(0, 0, &target, 1, NULL);
        return target.GetPixelColor(0, 0);
    }

    CImageObj row, grid, tiny, target;
};

TEST_F(AnimationTest, CellsFromSelectorsAndForcedCell)
{
    struct Case
    {
        const char* what;
        const char* picture;
        uint32_t selector;
        int forced;
        COLORREF expected;
    } cases[] = {
        {"selector 0: cell 0", "row", 0, -1, CellColour(0)},
        {"selector 499: cell 498", "row", 499, -1, CellColour(498)},
        {"selector 3 in a column-major grid: cell 2", "grid", 3, -1, CellColour(2)},
        {"forced cell 3", "grid", 1, 3, CellColour(3)},
        {"forced cell 5 of 4: cell 0", "grid", 2, 5, CellColour(0)},
        {"selector past the cells: cell 0", "grid", 9, -1, CellColour(0)},
        {"a picture smaller than a cell shows nothing", "tiny", 1, -1, RGB(0, 0, 0)},
    };
    for (const auto& k : cases) {
        EffectDefinition def = OneFrame(k.picture, true, k.selector);
        CFrameAnimation a(&def, Lookup());
        a.SetForcedCell(k.forced);
        EXPECT_EQ(k.expected, DrawnAt(a)) << k.what;
    }
    // A source rectangle reference is never a cell.
    EffectDefinition def = OneFrame("row", true, kRectReferenceBase);
    def.sources.push_back(EffectRect{20, 0, 24, 2});
    CFrameAnimation a(&def, Lookup());
    EXPECT_EQ(CellColour(0), DrawnAt(a)) << "a grid layer's frame with a rectangle uses cell rules only below 500";
    def.layers[0].hasGrid = false;
    a.SetDefinition(&def, Lookup());
    EXPECT_EQ(CellColour(10), DrawnAt(a)) << "without a grid the rectangle is the source";
}

TEST_F(AnimationTest, StoppedAndFinished)
{
    EffectDefinition def = OneFrame("grid", false, 0, 100, 1);   // two frames played once
    CFrameAnimation a(&def, Lookup());
    a.SetNotifyCallback(OnFinished, 1, 2);
    a.Draw(0, 0, &target);
    EXPECT_EQ(0, g_callbacks) << "a stopped animation draws nothing and never finishes";
    EXPECT_EQ(RGB(0, 0, 0), target.GetPixelColor(0, 0));

    a.Start();
    g_now += 199;
    a.Draw(0, 0, &target);
    EXPECT_EQ(0, g_callbacks);
    EXPECT_TRUE(a.IsPlaying());
    g_now += 1;
    a.Draw(0, 0, &target);
    EXPECT_EQ(1, g_callbacks);
    EXPECT_FALSE(a.IsPlaying());

    // A finish message with message 0 is not sent; the callback still runs.
    WNDCLASSA wc = {};
    wc.lpfnWndProc = CountingProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "FrameAnimationNotify";
    RegisterClassA(&wc);
    HWND window = CreateWindowA("FrameAnimationNotify", "", 0, 0, 0, 1, 1, NULL, NULL, wc.hInstance, NULL);
    ASSERT_NE(nullptr, window);
    struct Case
    {
        const char* what;
        UINT message;
        int messages;
    } cases[] = {{"message 0: not sent", 0, 0}, {"message set: sent", WM_APP + 7, 1}};
    for (const auto& k : cases) {
        g_messages = 0;
        g_callbacks = 0;
        a.SetNotifyMessage(window, k.message, 0, 0);
        a.Start();
        g_now += 500;
        a.Update(0, 0);
        EXPECT_EQ(k.messages, g_messages) << k.what;
        EXPECT_EQ(1, g_callbacks) << k.what;
    }
    DestroyWindow(window);
}

TEST_F(AnimationTest, UpdateReportsChangesAndHits)
{
    EffectDefinition def = OneFrame("grid", false, 0, 100);
    def.layers[0].frames[1].x = 2;   // the second frame stands 2 pixels right
    def.layers[0].frames[0].mode = 1;
    def.layers[0].frames[1].mode = 1;
    CFrameAnimation a(&def, Lookup());
    a.Start();
    EXPECT_EQ(CRect(10, 10, 14, 14), CRect(a.Update(10, 10)));
    EXPECT_TRUE(CRect(a.Update(10, 10)).IsRectEmpty()) << "nothing changed";
    g_now += 100;
    EXPECT_EQ(CRect(10, 10, 16, 14), CRect(a.Update(10, 10))) << "the old and the new place";
    EXPECT_EQ(CRect(12, 10, 16, 14), CRect(a.GetBounds()));
    a.SetTrackChanges(FALSE);
    EXPECT_EQ(CRect(12, 10, 16, 14), CRect(a.Update(10, 10))) << "untracked: the whole area every time";

    // Keyed frames: a hit where the pixel differs from the key.
    grid.SetBkColor(CellColour(0));
    EXPECT_FALSE(a.HitTest(12, 10)) << "cell 0's colour is the key";
    EXPECT_TRUE(a.HitTest(15, 13));
    EXPECT_FALSE(a.HitTest(11, 11)) << "outside";
}

}  // namespace
