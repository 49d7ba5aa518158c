// The table's composition checked by pixel, on a board of the test's own:
// the pass mark of the seats that passed (set by the board's announcements,
// cleared by a play, a new trick and the next deal), the theme background
// centred over its stretched corner or stretched whole, and the logo's left
// half copied as it is. Expected pixels come from the picture files, read
// apart from the table with GDI+.
#include <gtest/gtest.h>

#include "afxwin.h"

#include <gdiplus.h>

#include <cstring>
#include <string>
#include <vector>

#include "KitTestSupport.h"

#include "GameClientApp.h"
#include "GameWnd.h"
#include "MardavelBoard.h"
#include "MardavelPlay.h"
#include "TableLayout.h"
#include "TableWindowTest.h"
#include "WidgetServices.h"

namespace {

CGameClientApp g_app;

// A board that hands out the test's table state.
BoardGameState g_state;
uint8_t g_savedCounts[64];
uint8_t g_savedCards[1300];
BoardCallback g_callback = nullptr;
uintptr_t g_cookie = 0;

BoardHandle QVBOARD_CALL FakeCreate(int32_t, BoardCallback callback, uintptr_t cookie, int32_t, const BoardInitBlock*)
{
    g_callback = callback;
    g_cookie = cookie;
    return &g_state;
}

int32_t QVBOARD_CALL FakeEvent(BoardHandle, int32_t code, int32_t, int32_t, void* param)
{
    switch (code) {
    case kEvTableState: *static_cast<BoardGameState**>(param) = &g_state; break;
    case kEvSavedCounts: *static_cast<void**>(param) = g_savedCounts; break;
    case kEvSavedCards: *static_cast<void**>(param) = g_savedCards; break;
    default: break;
    }
    return 1;
}

void QVBOARD_CALL FakeDestroy(BoardHandle) {}

void Callback(uint32_t code, intptr_t p1, intptr_t p2 = 0)
{
    BoardCallbackRecord record = {};
    record.cookie = g_cookie;
    record.code = code;
    record.p1 = p1;
    record.p2 = p2;
    g_callback(&record);
}

std::string ProgramFile(const std::string& relative)
{
    char path[MAX_PATH];
    ::GetModuleFileNameA(NULL, path, MAX_PATH);
    const std::string folder = path;
    return folder.substr(0, folder.rfind('\\')) + "\\" + relative;
}

std::string ThemeFile(const char* section, const char* key)
{
    char name[MAX_PATH] = "";
    ::GetPrivateProfileStringA(section, key, "", name, MAX_PATH, ProgramFile("theme_png\\Default.thm").c_str());
    return ProgramFile(std::string("theme_png\\Default\\") + name);
}

std::string TempPath(const char* name)
{
    char base[MAX_PATH];
    ::GetTempPathA(MAX_PATH, base);
    return std::string(base) + "mardavel_paint_" + std::to_string(::GetCurrentProcessId()) + "_" + name;
}

// A picture file's pixels as COLORREFs (alpha apart).
struct Picture {
    int w = 0, h = 0;
    std::vector<COLORREF> rgb;
    std::vector<BYTE> alpha;
    bool Load(const std::string& file)
    {
        const std::wstring wide(file.begin(), file.end());
        Gdiplus::Bitmap bitmap(wide.c_str());
        if (bitmap.GetLastStatus() != Gdiplus::Ok || bitmap.GetWidth() == 0)
            return false;
        w = (int)bitmap.GetWidth();
        h = (int)bitmap.GetHeight();
        rgb.resize((size_t)w * h);
        alpha.resize((size_t)w * h);
        for (int y = 0; y < h; y++)
            for (int x = 0; x < w; x++) {
                Gdiplus::Color c;
                bitmap.GetPixel(x, y, &c);
                rgb[(size_t)y * w + x] = RGB(c.GetR(), c.GetG(), c.GetB());
                alpha[(size_t)y * w + x] = c.GetA();
            }
        return true;
    }
    COLORREF At(int x, int y) const { return rgb[(size_t)y * w + x]; }
    bool Opaque(int x, int y) const { return alpha[(size_t)y * w + x] == 255; }
};

class TablePaintTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { s_process.SetUp(); }
    static void TearDownTestSuite() { s_process.TearDown(); }

    void SetUp() override
    {
        // The profile names the folder the logo is read from.
        m_folder = TempPath("folder");
        ::CreateDirectoryA(m_folder.c_str(), NULL);
        ::CreateDirectoryA((m_folder + "\\theme").c_str(), NULL);
        m_logo = m_folder + "\\theme\\logo_0.bmp";
        m_profile = TempPath("profile.ini");
        ::DeleteFileA(m_profile.c_str());
        ::WritePrivateProfileStringA("", "Path", (m_folder + "\\").c_str(), m_profile.c_str());
        g_app.m_pszProfileName = m_profile.c_str();
        memset(&g_state, 0, sizeof g_state);
        g_state.emperorSeat = -1;
        g_state.guardSeat = -1;
        g_state.seatToAct = -1;
        g_state.leadSeat = -1;
        g_state.rememberedCardId = 255;
        g_app.SetOwnSeat(0);
        g_app.m_nPlayDirection = 0;
        g_app.UpdateSeatViews();
    }
    void MakeTable()
    {
        tabletest::MakeTable(g_app, FakeCreate, FakeEvent, FakeDestroy, m_host, m_table);
        m_host.ShowWindow(SW_SHOWNA);
    }

    void TearDown() override
    {
        tabletest::DropTable(g_app, m_host, m_table);
        g_app.m_pGameWnd = NULL;
        g_app.m_pszProfileName = NULL;
        g_app.m_bOnline = FALSE;
        ::DeleteFileA(m_profile.c_str());
        ::DeleteFileA(m_logo.c_str());
        ::RemoveDirectoryA((m_folder + "\\theme").c_str());
        ::RemoveDirectoryA(m_folder.c_str());
    }

    // The back buffer after a full composition.
    HDC Compose()
    {
        m_table->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
        return GetTableSurfaceDC();
    }

    tabletest::CHostWnd m_host;
    CGameWnd* m_table = NULL;
    std::string m_folder, m_logo, m_profile;
    static tabletest::TableProcess s_process;
};
tabletest::TableProcess TablePaintTest::s_process;


// The share of a picture's opaque pixels that the surface shows in the
// same colour with the picture's top-left at (x, y).
double ShareShown(HDC surface, const Picture& p, int x, int y)
{
    int opaque = 0, same = 0;
    for (int dy = 0; dy < p.h; dy++)
        for (int dx = 0; dx < p.w; dx++) {
            if (!p.Opaque(dx, dy))
                continue;
            opaque++;
            same += ::GetPixel(surface, x + dx, y + dy) == p.At(dx, dy) ? 1 : 0;
        }
    return opaque > 0 ? (double)same / opaque : 0;
}

// The pass mark ("Background"/"Pass") of a seat is centred on its panel's
// corner moved 106 right and 71 down, a further 285 right for the own seat
// and 136 for the two left seats. A seat gets it after the board announced
// its pass, while it holds cards, shows no play and (online) is not the
// seat to act; its play, a new trick (the turn back at the seat that leads
// after a pass) and the next deal take it away. Own seat 0, direction 0:
// seat s sits at view s (1, 2 on the left; 3, 4 on the right).
TEST_F(TablePaintTest, PassMarksOfTheSeatsThatPassed)
{
    g_app.m_bOnline = TRUE;
    MakeTable();
    m_table->m_bFirstHandPending = FALSE;
    g_state.phase = kPhasePlay;
    for (int s = 0; s < kTableSeats; s++)
        g_state.seats[s].cardsInHand = 10;
    g_state.leadSeat = 4;
    g_state.seatToAct = 2;
    m_table->m_strStatus.Empty();   // the status line runs under the own seat's mark
    Picture mark;
    ASSERT_TRUE(mark.Load(ThemeFile("Background", "Pass")));
    // Where each seat's mark goes, from its panel (set by the layout).
    Compose();
    int left[kTableSeats], top[kTableSeats];
    for (int s = 0; s < kTableSeats; s++) {
        const SeatLayoutRecord& r = g_app.m_seats[s];
        const int extra = s == 0 ? 285 : (s == 1 || s == 2 ? 136 : 0);
        left[s] = r.panelLeft + 106 + extra - mark.w / 2;
        top[s] = r.panelTop + 71 - mark.h / 2;
    }

    struct Step {
        const char* what;
        void (*act)();
        bool shown[kTableSeats];
    };
    const Step steps[] = {
        {"nobody passed yet", [] {}, {false, false, false, false, false}},
        {"seats 0, 1, 3 and 4 pass, seat 2 is to act",
         [] {
             for (int s : {0, 1, 3, 4})
                 Callback(kCbAnnounce, (intptr_t)kAnnouncePass, s);
         },
         {true, true, false, true, true}},
        {"seat 2 passes too but is still the seat to act (online: no mark for it)",
         [] { Callback(kCbAnnounce, (intptr_t)kAnnouncePass, 2); }, {true, true, false, true, true}},
        {"the turn moves on to seat 3: seat 2's pass shows, seat 3's is hidden",
         [] { g_state.seatToAct = 3; }, {true, true, true, false, true}},
        {"seat 3 is to act again and plays: its mark goes, its cards show instead",
         [] {
             Callback(kCbAnnounce, (intptr_t)kAnnouncePlay, 3);
             g_state.seats[3].tableCardCount = 1;
             g_state.tableCards[3][0] = CardEntry{5, 5, 1, 0, 0};
         },
         {true, true, true, false, true}},
        {"a seat without cards shows no mark", [] { g_state.seats[1].cardsInHand = 0; },
         {true, false, true, false, true}},
        {"another announcement (a sound) changes nothing",
         [] { Callback(kCbAnnounce, (intptr_t)kAnnounceOut, 0); }, {true, false, true, false, true}},
        {"a pass applied with the turn still away from the leader keeps the marks",
         [] {
             g_state.leadSeat = 3;
             g_state.seatToAct = 1;
             Callback(kCbPlayApplied, 2);
         },
         {true, false, true, false, true}},
        {"the turn back at the seat that leads after a pass: a new trick, no marks",
         [] {
             g_state.seatToAct = 3;
             Callback(kCbPlayApplied, 2);
         },
         {false, false, false, false, false}},
        {"passes again, then the next deal clears them",
         [] {
             g_state.seats[1].cardsInHand = 10;
             g_state.seatToAct = 2;
             for (int s : {0, 1, 4})
                 Callback(kCbAnnounce, (intptr_t)kAnnouncePass, s);
         },
         {true, true, false, false, true}},
        {"the deal", [] { Callback(kCbDealArrived, 0); }, {false, false, false, false, false}},
    };
    for (const Step& step : steps) {
        step.act();
        HDC surface = Compose();
        for (int s = 0; s < kTableSeats; s++) {
            const double share = ShareShown(surface, mark, left[s], top[s]);
            if (step.shown[s])
                EXPECT_GT(share, 0.95) << step.what << ": seat " << s << " shows its pass mark";
            else
                EXPECT_LT(share, 0.5) << step.what << ": seat " << s << " shows no pass mark";
        }
    }

    // Off line (a saved game replayed) the seat to act keeps its mark.
    g_app.m_bOnline = FALSE;
    Callback(kCbAnnounce, (intptr_t)kAnnouncePass, 2);
    EXPECT_GT(ShareShown(Compose(), mark, left[2], top[2]), 0.95) << "off line: the seat to act's mark shows";
}

// The theme background (mode 0, "Background"/"back1", 800 x 600). In a
// table larger both ways (1000 x 700) the picture's top-left 100 x 100 is
// stretched over the whole table (10 x 7 pixels a source pixel) and the
// picture drawn over it from its pixel (1, 1) with its top-left at
// ((1000 - 800) / 2, (700 - 600) / 2) = (100, 50). In a table only as large
// as the picture, or larger in one direction only, the picture is stretched
// over the table. Checked over the table's top (x 250-599, y 0-109), between
// the seats' frames, where nothing else is drawn.
TEST_F(TablePaintTest, ThemeBackgroundCentredOrStretched)
{
    MakeTable();
    Picture back;
    ASSERT_TRUE(back.Load(ThemeFile("Background", "back1")));
    ASSERT_EQ(back.w, 800);
    ASSERT_EQ(back.h, 600);
    struct Case {
        const char* what;
        int width, height;
    };
    const Case cases[] = {
        {"larger both ways: centred over the stretched corner", 1000, 700},
        {"as large as the picture: the picture as it is", 800, 600},
        {"wider only: stretched across (5 table pixels to 4 of the picture)", 1000, 600},
    };
    for (const Case& c : cases) {
        m_table->SetWindowPos(NULL, 0, 0, c.width, c.height, SWP_NOZORDER | SWP_NOMOVE);
        HDC surface = Compose();
        int checked = 0, wrong = 0;
        for (int y = 0; y < 110; y++)
            for (int x = 250; x < 600; x++) {
                COLORREF expected;
                if (c.width == 1000 && c.height == 700) {
                    if (y >= 50) {
                        expected = back.At(x - 100 + 1, y - 50 + 1);
                    } else if (x % 10 == 5 && y % 7 == 3) {
                        expected = back.At(x / 10, y / 7);   // the middle of a stretched corner pixel
                    } else {
                        continue;
                    }
                } else if (c.width == 800) {
                    expected = back.At(x, y);
                } else {
                    if (x % 5 != 0)
                        continue;
                    expected = back.At(x * 4 / 5, y);
                }
                checked++;
                wrong += ::GetPixel(surface, x, y) != expected ? 1 : 0;
            }
        EXPECT_GT(checked, 5000) << c.what;
        EXPECT_EQ(wrong, 0) << c.what << " (" << checked << " pixels checked)";
    }
}

// The logo ("\theme\logo_0.bmp" of the profile's folder) holds two plates
// side by side; its left half is copied as it is, magenta and all, centred
// in the table: a 40 x 10 logo's 20 x 10 half at ((1000 - 20) / 2, (700 -
// 10) / 2) = (490, 345).
TEST_F(TablePaintTest, LogoLeftHalfCopiedWhole)
{
    auto colour = [](int x, int y) -> COLORREF {
        if (x >= 20)
            return RGB(0, 0, 255);                         // the right plate
        if ((x + y) % 5 == 0)
            return RGB(255, 0, 255);                       // magenta: no key colour
        return RGB(10 * x, 20 * y, 100 + x + y);
    };
    ASSERT_TRUE(kittest::WriteBmp(m_logo, 40, 10, colour));
    MakeTable();
    HDC surface = Compose();
    int wrong = 0, magenta = 0;
    for (int y = 0; y < 10; y++)
        for (int x = 0; x < 20; x++) {
            const COLORREF shown = ::GetPixel(surface, 490 + x, 345 + y);
            wrong += shown != colour(x, y) ? 1 : 0;
            magenta += shown == RGB(255, 0, 255) ? 1 : 0;
        }
    EXPECT_EQ(wrong, 0) << "the left half, pixel for pixel";
    EXPECT_EQ(magenta, 40) << "magenta is copied, not left out";
    // Nothing of the right plate beside it.
    int blue = 0;
    for (int y = 345; y < 355; y++)
        for (int x = 470; x < 530; x++)
            blue += ::GetPixel(surface, x, y) == RGB(0, 0, 255) ? 1 : 0;
    EXPECT_EQ(blue, 0) << "the right half is not drawn";
}

}  // namespace
