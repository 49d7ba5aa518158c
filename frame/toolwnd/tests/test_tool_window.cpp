// The tool area against the stand-in tool bar component: start (once), the
// resize threshold, events handed to the frame and the program, and events
// with too few or mistyped arguments refused.
#include <gtest/gtest.h>

#include "AxControls.h"
#include "AxStandInTest.h"
#include "QVAdHostWnd.h"

#include <string>
#include <vector>

namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

class Host : public CWnd
{
public:
    BOOL CreateHost()
    {
        return CreateEx(0, AfxRegisterWndClass(0), "tool host", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 600, 400, NULL,
                        NULL);
    }
};

class FakeFrame : public toolwnd::IToolFrame, public IToolServices
{
public:
    std::vector<std::string> calls;
    int QueryObject(uint32_t id, int mode) override
    {
        calls.push_back("query " + std::to_string(id) + " " + std::to_string(mode));
        return mode == 3;
    }
    void DragStart(int mode, uint32_t id, int value, int32_t a, int32_t b) override
    {
        calls.push_back("drag " + std::to_string(mode) + " " + std::to_string(id) + " " + std::to_string(value) + " "
                        + std::to_string(a) + " " + std::to_string(b));
    }
    void Hook(int, uint32_t, int, int32_t, int32_t) override { calls.push_back("hook"); }
    void DropDone(int mode, int target, uint32_t id, int32_t, int32_t) override
    {
        calls.push_back("done " + std::to_string(mode) + " " + std::to_string(target) + " " + std::to_string(id));
    }
    toolwnd::Rect WindowRectOnScreen() override { return {0, 0, 600, 400}; }
    uint64_t WindowHandle() override { return 0x42; }
    std::vector<int> PlayerSeats() override { return {}; }
    bool AvatarPosition(int, int*, int*) override { return false; }
    void AvatarBox(int* w, int* h) override { *w = *h = 0; }
    toolwnd::Rect SceneArea() override { return {5, 6, 105, 56}; }
    void SendGameMessage(uint32_t id) override { calls.push_back("message " + std::to_string(id)); }
    void ChatText(LPCSTR text) override { calls.push_back(std::string("chat ") + text); }
    void DrawFrameBackground(CDC*, const RECT&) override {}
};

class ToolWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxOleInitThread());
        ASSERT_TRUE(m_server.Serve("QVToolBar.dll", CLSID_QVToolBar));
        ASSERT_TRUE(m_host.CreateHost());
        ASSERT_TRUE(m_tool.CreateEx(0, AfxRegisterWndClass(0), "tool", WS_CHILD | WS_VISIBLE, CRect(10, 20, 210, 50),
                                    &m_host, 1));
        m_tool.SetFrame(&m_frame);
        m_tool.SetServices(&m_frame);
        m_server.ClearLog();
    }
    void TearDown() override
    {
        m_tool.DestroyWindow();
        m_host.DestroyWindow();
        m_server.Revoke();
    }
    std::vector<std::string> TakeLog()
    {
        std::vector<std::string> lines = Lines(m_server.ReadLog());
        m_server.ClearLog();
        return lines;
    }
    int Fire(DISPID id, std::vector<VARIANT> args)
    {
        m_frame.calls.clear();
        return m_server.Fire(id, args.data(), (UINT)args.size()) ? 1 : -1;
    }
    static VARIANT I4(long v)
    {
        VARIANT x;
        VariantInit(&x);
        x.vt = VT_I4;
        x.lVal = v;
        return x;
    }
    static VARIANT R8(double v)
    {
        VARIANT x;
        VariantInit(&x);
        x.vt = VT_R8;
        x.dblVal = v;
        return x;
    }
    static VARIANT Text(const wchar_t* p)
    {
        VARIANT x;
        VariantInit(&x);
        x.vt = VT_BSTR;
        x.bstrVal = SysAllocString(p);
        return x;
    }

    CStandInServer m_server;
    Host m_host;
    CQVAdHostWnd m_tool;
    FakeFrame m_frame;
};

} // namespace

TEST_F(ToolWindow, StartsOnceAndPlacesTheComponent)
{
    EXPECT_EQ(m_tool.Start(), 1);
    // No main window here: operation 7 is not called.
    EXPECT_EQ(TakeLog(), (std::vector<std::string>{"advise 1", "g6()", "m9()", "m10(I4:0,I4:0,I4:200,I4:30)"}));
    EXPECT_EQ(m_tool.Start(), 1);
    EXPECT_TRUE(TakeLog().empty());
}

TEST_F(ToolWindow, ComponentFollowsTheWindowFrom81By21)
{
    ASSERT_EQ(m_tool.Start(), 1);
    TakeLog();
    m_tool.MoveWindow(0, 0, 80, 300);
    EXPECT_TRUE(TakeLog().empty());
    m_tool.MoveWindow(0, 0, 81, 21);
    EXPECT_EQ(TakeLog(), std::vector<std::string>{"m10(I4:0,I4:0,I4:81,I4:21)"});
}

TEST_F(ToolWindow, WithoutComponentStartFails)
{
    m_server.Revoke();
    EXPECT_EQ(m_tool.Start(), 0);
    EXPECT_FALSE(m_tool.IsStarted());
}

// Events reach the frame and the program; the command event needs six
// arguments of its types (id, number, mode, target, unused, value).
TEST_F(ToolWindow, EventsAreHandedOnAndBadOnesRefused)
{
    ASSERT_EQ(m_tool.Start(), 1);
    TakeLog();
    struct Case
    {
        const char* what;
        DISPID id;
        std::vector<VARIANT> args;
        std::vector<std::string> frame;
        std::vector<std::string> component;
    };
    const Case cases[] = {
        {"drag start", 1, {I4(9), R8(4294967296.0 + 7), I4(3), I4(1), I4(0), I4(44)}, {"query 9 3", "drag 3 9 44 7 1"}, {}},
        {"scene area", 1, {I4(9), R8(0), I4(3), I4(9), I4(0), I4(0)}, {"query 9 3", "done 3 9 9"},
         {"m11(I4:9,I4:66,I4:5,I4:6,I4:100,I4:50)", "m12(I4:9,I4:1)"}},
        {"refused by the frame", 1, {I4(9), R8(0), I4(2), I4(9), I4(0), I4(0)}, {"query 9 2"}, {"m12(I4:9,I4:0)"}},
        {"five arguments", 1, {I4(9), R8(0), I4(3), I4(1), I4(0)}, {}, {}},
        {"mode is not a number", 1, {I4(9), R8(0), Text(L"three"), I4(1), I4(0), I4(0)}, {}, {}},
        {"no arguments", 1, {}, {}, {}},
        {"game message", 2, {I4(0x1234)}, {"message 4660"}, {}},
        {"chat text", 4, {Text(L"hello")}, {"chat hello"}, {}},
        {"chat text missing", 4, {}, {}, {}},
        {"move", 5, {I4(5), I4(-100)}, {}, {"m13(I4:15,I4:20)"}},
        {"ignored", 3, {I4(1)}, {}, {}},
    };
    for (const Case& c : cases) {
        std::vector<VARIANT> args = c.args;
        EXPECT_EQ(Fire(c.id, args), 1) << c.what;
        EXPECT_EQ(m_frame.calls, c.frame) << c.what;
        EXPECT_EQ(TakeLog(), c.component) << c.what;
        for (VARIANT& v : args)
            VariantClear(&v);
    }
}

TEST_F(ToolWindow, BackgroundModeFromTheSkin)
{
    m_tool.LoadToolSkin("S,(255,0,0)", NULL, NULL, NULL);
    EXPECT_EQ(m_tool.GetBackgroundMode(), toolwnd::kModeColour);
    EXPECT_EQ(m_tool.GetBackgroundColour(), RGB(255, 0, 0));
    m_tool.LoadToolSkin("s", NULL, NULL, NULL);
    EXPECT_EQ(m_tool.GetBackgroundColour(), RGB(255, 0, 0));
    // Painted red over the whole client area.
    m_host.ShowWindow(SW_SHOWNA);
    m_tool.UpdateWindow();
    HDC hdc = ::GetDC(m_tool.GetSafeHwnd());
    COLORREF pixel = ::GetPixel(hdc, 100, 15);
    ::ReleaseDC(m_tool.GetSafeHwnd(), hdc);
    EXPECT_EQ(pixel, RGB(255, 0, 0));
}
