// The tool area's background mode text, its size threshold and the mapping
// of the component's command event, against a recording frame and component.
#include <gtest/gtest.h>

#include "ToolCommand.h"

#include <string>
#include <vector>

using namespace toolwnd;

TEST(ToolBackground, ModeFromTheFirstLetter)
{
    struct Case
    {
        const char* text;
        int mode;
        uint32_t colour;          // starts as 0x123456
    };
    const Case cases[] = {
        {"S,(255,0,0)", kModeColour, 0x0000FF},
        {"  s , (1,2,3)", kModeColour, 0x030201},
        {"s", kModeColour, 0x123456},
        {"S,(1,2)", kModeColour, 0x123456},
        {"S,(300,0,0)", kModeColour, 0x00002C},   // 300 & 0xFF: a byte per channel
        {"L", kModeStretch, 0x123456},
        {"picture", kModeCentre, 0x123456},
        {"H", kModeFit, 0x123456},
        {"b", kModeFrame2, 0x123456},
        {"x", kModeFrame, 0x123456},
        {"", kModeFrame, 0x123456},
        {"12,(1,2,3)", kModeFrame, 0x123456},
    };
    for (const Case& c : cases) {
        uint32_t colour = 0x123456;
        EXPECT_EQ(ParseBackgroundMode(c.text, &colour), c.mode) << c.text;
        EXPECT_EQ(colour, c.colour) << c.text;
    }
    uint32_t colour = 1;
    EXPECT_EQ(ParseBackgroundMode(nullptr, &colour), kModeFrame);
}

TEST(ToolBackground, ComponentResizeThresholdAndCentredPicture)
{
    EXPECT_FALSE(ResizesComponent(80, 300));
    EXPECT_TRUE(ResizesComponent(81, 21));
    EXPECT_FALSE(ResizesComponent(81, 20));
    CentreCut cut = CentrePicture(200, 50, 100, 21);
    EXPECT_TRUE(cut.fits);
    EXPECT_EQ(cut.srcX, 50);
    EXPECT_EQ(cut.srcY, 14);
    EXPECT_FALSE(CentrePicture(99, 50, 100, 21).fits);
    EXPECT_FALSE(CentrePicture(200, 20, 100, 21).fits);
}

TEST(ToolBackground, MovedPositionKeepsCoordinatesThatWouldGoNegative)
{
    struct Case
    {
        int x, y, dx, dy, ex, ey;
    };
    const Case cases[] = {{10, 10, 5, -3, 15, 7}, {10, 10, -11, -10, 10, 0}, {0, 5, -1, -6, 0, 5}};
    for (const Case& c : cases) {
        int x = c.x, y = c.y;
        MovePosition(&x, &y, c.dx, c.dy);
        EXPECT_EQ(x, c.ex);
        EXPECT_EQ(y, c.ey);
    }
}

namespace {

class Recorder : public IToolFrame, public IToolComponent
{
public:
    std::vector<std::string> calls;
    int query = 1;
    std::vector<int> seats = {0, 1, 2, 3, 4};
    std::vector<bool> hasAvatar = {true, true, false, true, true};

    void Add(const std::string& s) { calls.push_back(s); }
    static std::string N(long long v) { return std::to_string(v); }

    int QueryObject(uint32_t id, int mode) override
    {
        Add("query " + N(id) + " " + N(mode));
        return query;
    }
    void DragStart(int mode, uint32_t id, int value, int32_t a, int32_t b) override
    {
        Add("drag " + N(mode) + " " + N(id) + " " + N(value) + " " + N(a) + " " + N(b));
    }
    void Hook(int target, uint32_t id, int value, int32_t a, int32_t b) override
    {
        Add("hook " + N(target) + " " + N(id) + " " + N(value) + " " + N(a) + " " + N(b));
    }
    void DropDone(int mode, int target, uint32_t id, int32_t a, int32_t b) override
    {
        Add("done " + N(mode) + " " + N(target) + " " + N(id) + " " + N(a) + " " + N(b));
    }
    Rect WindowRectOnScreen() override { return {100, 50, 900, 650}; }
    uint64_t WindowHandle() override { return 0x777; }
    std::vector<int> PlayerSeats() override { return seats; }
    bool AvatarPosition(int seat, int* x, int* y) override
    {
        if (seat < 0 || seat >= (int)hasAvatar.size() || !hasAvatar[(size_t)seat])
            return false;
        *x = 200 + seat * 10;
        *y = 300;
        return true;
    }
    void AvatarBox(int* w, int* h) override
    {
        *w = 61;          // halves by arithmetic shift: 30 and 37
        *h = 75;
    }
    Rect SceneArea() override { return {10, 20, 410, 320}; }
    void PlaceObject(uint32_t id, uint64_t hwnd, int x, int y, int cx, int cy) override
    {
        Add("place " + N(id) + " " + N((long long)hwnd) + " " + N(x) + "," + N(y) + " " + N(cx) + "x" + N(cy));
    }
    void ShowObject(uint32_t id, bool show) override { Add("show " + N(id) + " " + N(show)); }
};

} // namespace

// The number 2^32 * 3 + 5 splits into a = 5 and b = 3. Avatar placements:
// window left 100 + avatar x - 30, window top 50 + 300 - 37 = 313.
TEST(ToolCommandEvent, MappingByModeAndTarget)
{
    const double number = 4294967296.0 * 3 + 5;
    struct Case
    {
        const char* what;
        int mode, target, query;
        int result;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {"frame refuses", 3, 1, 0, 0, {"query 9 3", "show 9 0"}},
        {"mode 3, drag", 3, 1, 1, 1, {"query 9 3", "drag 3 9 4 5 3"}},
        {"mode 3, every player's avatar", 3, 2, 1, 1,
         {"query 9 3", "place 9 1911 270,313 61x75", "show 9 1", "done 3 2 9 5 3", "place 9 1911 280,313 61x75",
          "show 9 1", "done 3 2 9 5 3", "place 9 1911 300,313 61x75", "show 9 1", "done 3 2 9 5 3",
          "place 9 1911 310,313 61x75", "show 9 1", "done 3 2 9 5 3"}},
        {"mode 3, seat 0", 3, 3, 1, 1, {"query 9 3", "place 9 1911 270,313 61x75", "show 9 1", "done 3 3 9 5 3"}},
        {"mode 3, scene area on screen", 3, 7, 1, 1,
         {"query 9 3", "place 9 1911 110,70 400x300", "show 9 1", "done 3 7 9 5 3"}},
        {"mode 2, drag", 2, 1, 1, 1, {"query 9 2", "drag 2 9 4 5 3"}},
        {"mode 2, hook 2", 2, 2, 1, 1, {"query 9 2", "hook 2 9 4 5 3"}},
        {"mode 2, hook 3", 2, 3, 1, 1, {"query 9 2", "hook 3 9 4 5 3"}},
        {"mode 2, scene area in the frame", 2, 5, 1, 1,
         {"query 9 2", "place 9 1911 10,20 400x300", "show 9 1", "done 2 5 9 5 3"}},
        {"other mode", 1, 1, 1, 1, {"query 9 1"}},
    };
    for (const Case& c : cases) {
        Recorder r;
        r.query = c.query;
        ToolCommand command = {9, number, c.mode, c.target, 4};
        EXPECT_EQ(HandleToolCommand(command, r, r), c.result) << c.what;
        EXPECT_EQ(r.calls, c.calls) << c.what;
    }
}

TEST(ToolCommandEvent, SeatZeroWithoutAvatarHidesTheObject)
{
    Recorder r;
    r.hasAvatar = {false};
    ToolCommand command = {9, -1.0, 3, 3, 0};
    EXPECT_EQ(HandleToolCommand(command, r, r), 0);
    EXPECT_EQ(r.calls, (std::vector<std::string>{"query 9 3", "show 9 0"}));
}

// Numbers beyond a 64-bit integer saturate; -1 is all ones in both halves.
TEST(ToolCommandEvent, NumberHalves)
{
    struct Case
    {
        double number;
        const char* done;
    };
    const Case cases[] = {{-1.0, "done 2 5 9 -1 -1"},
                          {1e300, "done 2 5 9 -1 2147483647"},
                          {2.9, "done 2 5 9 2 0"}};
    for (const Case& c : cases) {
        Recorder r;
        ToolCommand command = {9, c.number, 2, 5, 0};
        HandleToolCommand(command, r, r);
        EXPECT_EQ(r.calls.back(), c.done) << c.number;
    }
}
