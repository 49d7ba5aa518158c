// The skinned dialog's arithmetic: hit zones and their order over a 300 by
// 200 dialog, the cells each button state draws, the bounded names.
#include <gtest/gtest.h>

#include "SkinLayout.h"

#include <string>

namespace {

using namespace kit;

// Border 4, caption 20 over a 300 x 200 window: the zones of the hit test.
struct HitCase
{
    const char* what;
    int x, y;
    bool resizable, maximised;
    int buttonHit;
    int expected;
};

TEST(SkinLayout, HitTestTable)
{
    const HitZones z = ComputeHitZones(300, 200, 4, 20);
    const HitCase cases[] = {
        {"top-left corner, vertical arm", 1, 15, true, false, kNoButtonHit, kHitTopLeft},
        {"top-left corner, horizontal arm", 15, 1, true, false, kNoButtonHit, kHitTopLeft},
        {"bottom-left corner", 2, 190, true, false, kNoButtonHit, kHitBottomLeft},
        {"bottom-left corner, bottom arm", 19, 198, true, false, kNoButtonHit, kHitBottomLeft},
        {"top-right corner", 298, 10, true, false, kNoButtonHit, kHitTopRight},
        {"top-right corner, top arm", 281, 2, true, false, kNoButtonHit, kHitTopRight},
        {"bottom-right corner", 299, 199, true, false, kNoButtonHit, kHitBottomRight},
        {"left edge below the corner", 0, 100, true, false, kNoButtonHit, kHitLeft},
        {"right edge", 297, 100, true, false, kNoButtonHit, kHitRight},
        {"top edge between the corners", 150, 3, true, false, kNoButtonHit, kHitTop},
        {"top edge is 4 high: row 4 is caption", 150, 4, true, false, kNoButtonHit, kHitCaption},
        {"bottom edge", 150, 197, true, false, kNoButtonHit, kHitBottom},
        {"system icon", 10, 10, true, false, kNoButtonHit, kHitSysMenu},
        {"caption", 150, 12, true, false, kNoButtonHit, kHitCaption},
        {"caption button beats the caption", 280, 10, true, false, kHitClose, kHitClose},
        {"edges beat a caption button", 299, 10, true, false, kHitClose, kHitTopRight},
        {"inside: default processing", 150, 100, true, false, kNoButtonHit, kHitNowhere},
        {"not resizable: corner is caption", 1, 1, false, false, kNoButtonHit, kHitCaption},
        {"not resizable: left edge is inside", 0, 100, false, false, kNoButtonHit, kHitNowhere},
        {"not resizable: no system icon", 10, 10, false, false, kNoButtonHit, kHitCaption},
        {"maximised: no edge zones", 0, 100, true, true, kNoButtonHit, kHitNowhere},
        {"maximised: corner is caption", 1, 1, true, true, kNoButtonHit, kHitCaption},
        {"maximised: bottom-right is inside", 299, 199, true, true, kNoButtonHit, kHitNowhere},
        {"maximised: buttons still answer", 280, 10, true, true, kHitMaxButton, kHitMaxButton},
        {"outside the window", 300, 100, true, false, kNoButtonHit, kHitNowhere},
    };
    for (const HitCase& c : cases)
        EXPECT_EQ(HitTestZones(z, c.x, c.y, c.resizable, c.maximised, c.buttonHit), c.expected) << c.what;
}

TEST(SkinLayout, ZonesFollowTheBorderAndCaption)
{
    const HitZones z = ComputeHitZones(300, 200, 6, 30);
    EXPECT_EQ(z.zone[kZoneLeft].right, 6);
    EXPECT_EQ(z.zone[kZoneBottom].top, 194);
    EXPECT_EQ(z.zone[kZoneCaption].bottom, 30);
    EXPECT_EQ(z.zone[kZoneTop].bottom, 4) << "the top edge stays 4 high whatever the border";
    EXPECT_EQ(z.zone[kZoneSysIcon].left, 6);
    EXPECT_EQ(z.zone[kZoneSysIcon].right, 22);
    EXPECT_EQ(z.zone[kZoneTopRightB].left, 280) << "corners reach 20 pixels along the edge";
}

TEST(SkinLayout, ButtonCellTables)
{
    struct Cool { const char* what; bool disabled, clicking, over, down; int cell; };
    const Cool cool[] = {
        {"normal", false, false, false, false, 0},
        {"hover", false, false, true, false, 1},
        {"pressed", false, false, true, true, 2},
        {"button down elsewhere", false, false, false, true, 0},
        {"while the click is posted", false, true, true, true, 1},
        {"disabled wins over hover", true, false, true, false, 3},
        {"disabled wins over press", true, true, true, true, 3},
    };
    for (const Cool& c : cool)
        EXPECT_EQ(CoolButtonState(c.disabled, c.clicking, c.over, c.down), c.cell) << c.what;

    struct Owner { const char* what; bool selected, focus, disabled; int cell; };
    const Owner owner[] = {
        {"normal", false, false, false, 0},
        {"focus", false, true, false, 1},
        {"selected", false, false, false, 0},
        {"selected", true, false, false, 2},
        {"selected beats focus", true, true, false, 2},
        {"focus beats disabled", false, true, true, 1},
        {"disabled", false, false, true, 3},
    };
    for (const Owner& c : owner)
        EXPECT_EQ(BitmapButtonCell(c.selected, c.focus, c.disabled), c.cell) << c.what;

    const int states[][2] = {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {-1, 3}, {7, 3}};
    for (const auto& s : states)
        EXPECT_EQ(CaptionButtonCell(s[0]), s[1]) << "state " << s[0];
}

TEST(SkinLayout, TitleAlignIsStoredMapped)
{
    EXPECT_EQ(StoredTitleAlign(1), 4);
    EXPECT_EQ(StoredTitleAlign(2), 1);
    EXPECT_EQ(StoredTitleAlign(3), 6);
    EXPECT_EQ(StoredTitleAlign(0), 0);
    EXPECT_EQ(StoredTitleAlign(9), 9);
}

TEST(SkinLayout, SectionNamesAreBounded)
{
    EXPECT_EQ(MakeSkinSection("MsgBox"), "QVDLG_MsgBox");
    EXPECT_EQ(MakeSkinSection(""), "") << "no name: not skinned";
    EXPECT_EQ(MakeSkinSection(nullptr), "");
    const std::string longName(1000, 'x');
    const std::string s = MakeSkinSection(longName.c_str());
    EXPECT_EQ(s.size(), kMaxSectionLength);
    EXPECT_EQ(s.compare(0, 6, "QVDLG_"), 0);
}

bool GbkLead(unsigned char b) { return b >= 0x81 && b <= 0xFE; }

TEST(SkinLayout, FaceNamesFitALogFont)
{
    EXPECT_EQ(BoundFaceName("Tahoma", GbkLead), "Tahoma");
    EXPECT_EQ(BoundFaceName(std::string(40, 'a').c_str(), GbkLead), std::string(31, 'a'));
    // 30 single bytes then a double-byte character: it would end at byte 32,
    // so it is left out whole rather than cut in half.
    const std::string dbcs = std::string(30, 'a') + "\xCB\xCE";
    EXPECT_EQ(BoundFaceName(dbcs.c_str(), GbkLead), std::string(30, 'a'));
    const std::string fits = std::string(29, 'a') + "\xCB\xCE";
    EXPECT_EQ(BoundFaceName(fits.c_str(), GbkLead), fits);
    EXPECT_EQ(BoundFaceName(nullptr, GbkLead), "");
}

TEST(SkinLayout, ValueAfterTheFirstComma)
{
    bool comma = false;
    EXPECT_EQ(AfterFirstComma("5,  btn.bmp", &comma), "btn.bmp");
    EXPECT_TRUE(comma);
    EXPECT_EQ(AfterFirstComma("btn.bmp", &comma), "btn.bmp");
    EXPECT_FALSE(comma);
    EXPECT_EQ(AfterFirstComma("a,b,c", &comma), "b,c");
    EXPECT_EQ(AfterFirstComma("a,", &comma), "");
    EXPECT_TRUE(comma);
}

}  // namespace
