// The avatar panel against the stand-in avatar control: the set-up calls and
// their bounded data block, the windows it makes, the size steps of Place,
// and drawing the avatar into a picture.
#include "EmbedTestSupport.h"

#include "QVAvatar.h"

#include <cstring>

namespace {

const UINT kBaseId = 20022;

class AvatarPanel : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxOleInitThread());
        ASSERT_TRUE(m_server.Serve("QVAvatar.dll", CLSID_QVAvatar));
        ASSERT_TRUE(m_host.CreateHost());
        m_server.ClearLog();
    }
    void TearDown() override
    {
        m_panel.DestroyWindow();
        m_host.DestroyWindow();
        m_server.Revoke();
    }
    std::vector<std::string> TakeLog()
    {
        std::vector<std::string> lines = SplitLines(m_server.ReadLog());
        m_server.ClearLog();
        return lines;
    }
    // The window rectangle in the host's client coordinates.
    CRect RectInHost(HWND hWnd)
    {
        CRect rect;
        ::GetWindowRect(hWnd, &rect);
        ::MapWindowPoints(NULL, m_host.GetSafeHwnd(), (LPPOINT)&rect, 2);
        return rect;
    }
    // The data calls with the block's first four bytes as the pointer
    // argument shows them (little-endian long) and the text it holds.
    static std::vector<std::string> DataCalls(const std::string& text, long nValue)
    {
        char block[116] = {};
        memcpy(block, text.data(), text.size() < 115 ? text.size() : 115);
        long first = 0;
        memcpy(&first, block, 4);
        std::string shown(block);
        return {"m8(PI4:" + std::to_string(first) + ",I4:116)",
                "block 116 text=" + shown + " zeros=" + std::to_string(116 - shown.size()),
                "m20(I4:1)", "m12(I4:1)", "m1(PI2:null)", "m14(I4:" + std::to_string(nValue) + ")"};
    }

    CStandInServer m_server;
    CHostWnd m_host;
    CAvatarPanel m_panel;
};

} // namespace

TEST_F(AvatarPanel, SetupMakesThreeNestedWindowsAndHandsTheDataOver)
{
    ASSERT_TRUE(m_panel.SetupAvatar("face=3;hat=1", 2500, &m_host, kBaseId, 2));
    EXPECT_EQ(TakeLog(), DataCalls("face=3;hat=1", 2500));

    EXPECT_EQ(m_panel.GetDlgCtrlID(), (int)kBaseId + 27000);
    EXPECT_EQ(m_panel.GetFrame().GetDlgCtrlID(), (int)kBaseId + 27010);
    EXPECT_EQ(m_panel.GetAvatar().GetDlgCtrlID(), (int)kBaseId + 27020);
    EXPECT_EQ(::GetParent(m_panel.GetSafeHwnd()), m_host.GetSafeHwnd());
    EXPECT_EQ(::GetParent(m_panel.GetFrame().GetSafeHwnd()), m_panel.GetSafeHwnd());
    EXPECT_EQ(::GetParent(m_panel.GetAvatar().GetSafeHwnd()), m_panel.GetFrame().GetSafeHwnd());
    EXPECT_TRUE(m_panel.IsWindowVisible() || !m_host.IsWindowVisible());
    EXPECT_TRUE(m_panel.GetAvatar().GetStyle() & WS_VISIBLE);
    EXPECT_EQ(m_panel.GetSizeMode(), 3);
    EXPECT_EQ(CAvatarPanel::GetBorderSize(), 2);
    // Made as the Part of the panel sizes them: 150 square, 150 - b, (75 - b) * 2.
    EXPECT_EQ(RectInHost(m_panel.GetSafeHwnd()).Size(), CSize(150, 150));
    CRect frame;
    m_panel.GetFrame().GetWindowRect(&frame);
    EXPECT_EQ(frame.Size(), CSize(148, 148));
    CRect control;
    m_panel.GetAvatar().GetWindowRect(&control);
    EXPECT_EQ(control.Size(), CSize(146, 146));

    // The placement form keeps its value first.
    CAvatarPanel second;
    ASSERT_TRUE(second.SetupAvatar(4, "x", 1, &m_host, kBaseId + 1, 2));
    EXPECT_EQ(second.GetPlacement(), 4);
    second.DestroyWindow();
}

// The control reads a fixed 116-byte block: longer data is cut to 115 bytes
// and keeps its terminator.
TEST_F(AvatarPanel, DataBlockIsBoundedAndZeroPadded)
{
    const std::string longText(200, 'q');
    ASSERT_TRUE(m_panel.SetupAvatar(longText.c_str(), 7, &m_host, kBaseId, 2));
    std::vector<std::string> log = TakeLog();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[1], "block 116 text=" + std::string(115, 'q') + " zeros=1");

    ASSERT_TRUE(m_panel.UpdateAvatar("", -1));
    EXPECT_EQ(TakeLog(), DataCalls("", -1));
    ASSERT_TRUE(m_panel.UpdateAvatar(NULL, 0));
    EXPECT_EQ(TakeLog(), DataCalls("", 0));
}

TEST_F(AvatarPanel, SetupRefusesAParentWithoutWindow)
{
    CWnd noWindow;
    EXPECT_FALSE(m_panel.SetupAvatar("face=1", 1, &noWindow, kBaseId, 2));
    EXPECT_FALSE(m_panel.SetupAvatar("face=1", 1, NULL, kBaseId, 2));
    EXPECT_EQ(m_panel.GetSafeHwnd(), (HWND)NULL);
    EXPECT_FALSE(m_panel.UpdateAvatar("face=1", 1));
    EXPECT_EQ(m_server.ReadLog(), "");
}

// Place sizes the panel by mode (border 2): the frame fills it inset by the
// border and the control stays 150 x 190 inside the frame.
TEST_F(AvatarPanel, PlaceSizesByMode)
{
    ASSERT_TRUE(m_panel.SetupAvatar("face=2", 0, &m_host, kBaseId, 2));
    struct Case
    {
        const char* what;
        int mode, width, height;
        CSize expected;
    };
    const Case cases[] = {
        {"given size", 0, 33, 44, CSize(33, 44)},
        {"small card", 1, 0, 0, CSize(54, 72)},
        {"normal card", 2, 0, 0, CSize(71, 96)},
        {"first step", 3, 0, 0, CSize(64, 88)},
        {"second step", 4, 0, 0, CSize(74, 102)},
        {"last even step", 10, 0, 0, CSize(134, 186)},
        {"mode 11", 11, 0, 0, CSize(144, 194)},
        {"largest", 12, 0, 0, CSize(154, 194)},
        {"-1 keeps the size", -1, 10, 10, CSize(154, 194)},
        {"an unknown mode keeps the size", 13, 10, 10, CSize(154, 194)},
    };
    int x = 5;
    for (const Case& c : cases) {
        m_panel.Place(x, 7, c.mode, c.width, c.height);
        CRect rect = RectInHost(m_panel.GetSafeHwnd());
        EXPECT_EQ(rect.TopLeft(), CPoint(x, 7)) << c.what;
        EXPECT_EQ(rect.Size(), c.expected) << c.what;
        CRect frame;
        m_panel.GetFrame().GetWindowRect(&frame);
        m_panel.ScreenToClient(&frame);
        EXPECT_EQ(frame, CRect(2, 2, c.expected.cx - 2, c.expected.cy - 2)) << c.what;
        CRect control;
        m_panel.GetAvatar().GetWindowRect(&control);
        EXPECT_EQ(control.Size(), CSize(150, 190)) << c.what;
        x += 3;
    }
}

// Modes 1 and 2 are the card sizes whatever the border; the steps grow with it.
TEST(AvatarPanelSize, CardModesDoNotDependOnTheBorder)
{
    struct Case
    {
        int mode, border;
        int width, height;
        BOOL ok;
    };
    const Case cases[] = {
        {1, 0, 54, 72, TRUE}, {1, 4, 54, 72, TRUE}, {2, 0, 71, 96, TRUE}, {2, 5, 71, 96, TRUE},
        {3, 0, 60, 84, TRUE}, {3, 4, 68, 92, TRUE}, {12, 0, 150, 190, TRUE}, {-2, 2, 0, 0, FALSE},
    };
    for (const Case& c : cases) {
        int w = 0, h = 0;
        EXPECT_EQ(AvatarPanelSize(c.mode, 1, 1, c.border, &w, &h), c.ok) << c.mode << "/" << c.border;
        if (c.ok) {
            EXPECT_EQ(CSize(w, h), CSize(c.width, c.height)) << c.mode << "/" << c.border;
        }
    }
}

// DrawAvatar tells the control the geometry and copies its 150 x 190 picture
// scaled into the rectangle. The stand-in draws the head's skin colour
// RGB(245, 210, 170) around (75, 65) of its picture, so that pixel lands at
// (x + 75 * w / 150, y + 65 * h / 190).
TEST_F(AvatarPanel, DrawAvatarCopiesThePictureScaled)
{
    ASSERT_TRUE(m_panel.SetupAvatar("face=5", 9, &m_host, kBaseId, 2));
    m_server.ClearLog();
    struct Case
    {
        int x, y, w, h;
    };
    const Case cases[] = {{0, 0, 150, 190}, {10, 20, 75, 95}};
    for (const Case& c : cases) {
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
        bmi.bmiHeader.biWidth = 200;
        bmi.bmiHeader.biHeight = -220;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        void* pBits = NULL;
        HBITMAP hDib = ::CreateDIBSection(NULL, &bmi, DIB_RGB_COLORS, &pBits, NULL, 0);
        ASSERT_NE(hDib, (HBITMAP)NULL);
        CDC dc;
        ASSERT_TRUE(dc.CreateCompatibleDC(NULL));
        HGDIOBJ hOld = ::SelectObject(dc.GetSafeHdc(), hDib);
        ASSERT_TRUE(m_panel.DrawAvatar(&dc, c.x, c.y, c.w, c.h));
        ::GdiFlush();
        const DWORD* px = static_cast<const DWORD*>(pBits);
        int sx = c.x + 75 * c.w / 150, sy = c.y + 65 * c.h / 190;
        EXPECT_EQ(px[sy * 200 + sx] & 0xFFFFFF, 0xF5D2AAu) << c.w << "x" << c.h;   // BGR of (245, 210, 170)
        EXPECT_EQ(px[(c.y + c.h + 2) * 200 + 5] & 0xFFFFFF, 0u) << "nothing below the rectangle";
        ::SelectObject(dc.GetSafeHdc(), hOld);
        ::DeleteObject(hDib);
    }
    EXPECT_EQ(TakeLog(), (std::vector<std::string>{"m10(I2:0,I2:0,I2:150,I2:190,PI4:0)",
                                                   "m10(I2:10,I2:20,I2:75,I2:95,PI4:0)"}));
}
