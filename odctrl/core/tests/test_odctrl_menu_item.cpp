// The skinned pop-up menu's records: the accessors' bounds, the item's
// drawing by pixel (fill, frame, centred left image, caption colour by
// state and enabled value) and the column record's layers.
#include "ODTestSupport.h"

#include "ODMenuItem.h"

namespace {

using namespace odtest;

TEST(MenuItem, AccessorsAnswerFixedValuesOutOfRange)
{
    CODMenuItem item;
    EXPECT_EQ(item.GetColor(CODMenuItem::PartFill, 2), 0xC56A31u);
    EXPECT_EQ(item.GetColor(CODMenuItem::PartText, 2), 0xFFFFFFu);
    EXPECT_EQ(item.GetColor(CODMenuItem::PartText, 3), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(item.GetColor(CODMenuItem::PartFill, 0), static_cast<COLORREF>(-1));
    struct Case
    {
        const char* what;
        int part, state;
    };
    const Case refused[] = {{"part 4", 4, 0}, {"state 5", 0, 5}, {"part -1", -1, 0}, {"state -1", 0, -1}};
    for (const auto& c : refused) {
        EXPECT_EQ(item.SetColor(kRed, c.part, c.state), static_cast<COLORREF>(-1)) << c.what;
        EXPECT_EQ(item.GetColor(c.part, c.state), static_cast<COLORREF>(-1)) << c.what;
    }
    EXPECT_EQ(item.SetColor(kRed, 0, 0), static_cast<COLORREF>(-1)) << "the old value";
    EXPECT_EQ(item.SetColor(kBlue, 0, 0), kRed);
    EXPECT_EQ(item.SetState(5), -1);
    EXPECT_EQ(item.GetState(), 0);
    EXPECT_EQ(item.SetState(4), 0);
    EXPECT_EQ(item.SetValueOne(7), 0u);
    EXPECT_EQ(item.GetState(), 1) << "SetValueOne sets state 1";
    EXPECT_EQ(item.SetEnabled(0), 1u);
    EXPECT_EQ(item.GetState(), 3) << "SetEnabled sets state 3";
    EXPECT_TRUE(item.SetImage(3, NULL) == NULL);
    EXPECT_TRUE(item.GetImage(-1) == NULL);
    EXPECT_EQ(item.SetStripIndex(3, 5), 0xFFFF);
    EXPECT_EQ(item.GetStripIndex(0), 0xFFFF);
    EXPECT_EQ(item.SetStripIndex(0, 5), 0xFFFF);
    EXPECT_EQ(item.GetStripIndex(0), 5);
    EXPECT_STREQ(item.SetCaption("Open"), "");
    EXPECT_STREQ(item.SetCaption("Close"), "Open");
    LOGFONT lf;
    item.GetFont(&lf);
    EXPECT_EQ(lf.lfHeight, 12);
    item.GetFont(NULL);
}

void PlainFont(CODMenuItem& item)
{
    LOGFONT lf = {};
    lf.lfHeight = -14;
    lf.lfWeight = FW_BOLD;
    lf.lfQuality = NONANTIALIASED_QUALITY;
    strcpy(lf.lfFaceName, "Tahoma");
    item.SetFont(lf);
}

int Count(const Canvas& c, COLORREF colour)
{
    int n = 0;
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x)
            n += c.At(x, y) == colour;
    return n;
}

TEST(MenuItem, DrawingByPixel)
{
    CODMenuItem item;
    PlainFont(item);
    item.SetCaption("Settings");
    item.SetState(2);
    CODSkinImage icon;
    {
        CBitmap b;
        b.Attach(MakeBitmap(10, 10, [](int, int) { return kGreen; }));
        ASSERT_TRUE(icon.CreateFromBitmap(&b, -1, 1, 1, 1, 0, FALSE));
        b.DeleteObject();
    }
    item.SetImage(CODMenuItem::ImageLeft, &icon);
    item.SetColor(kMagenta, CODMenuItem::PartIconFrame, 2);
    Canvas c(200, 24, kBlack);
    const CRect r(0, 0, 200, 24);
    item.Draw(CDC::FromHandle(c.dc()), &r, 20, 4, 16);
    EXPECT_EQ(c.At(100, 0), 0xC56A31u) << "the frame of state 2";
    EXPECT_EQ(c.At(150, 20), 0xC56A31u) << "the fill of state 2";
    // Left image: x = (20 - 10) / 2 + 1 = 6, y = (24 - 10) / 2 + 1 = 8.
    EXPECT_EQ(c.At(6, 8), kGreen);
    EXPECT_EQ(c.At(15, 17), kGreen);
    EXPECT_EQ(c.At(5, 8), kMagenta) << "the icon frame";
    EXPECT_EQ(c.At(16, 18), kMagenta);
    EXPECT_GT(Count(c, kWhite), 20) << "the caption in the text colour of state 2";

    // Disabled: the caption takes the state-3 colour whatever the state.
    item.SetColor(kRed, CODMenuItem::PartText, 3);
    item.SetEnabled(0);
    item.SetState(2);
    Canvas d(200, 24, kBlack);
    item.Draw(CDC::FromHandle(d.dc()), &r, 20, 4, 16);
    EXPECT_GT(Count(d, kRed), 20);
    EXPECT_EQ(Count(d, kWhite), 0);
    // The caption starts after the left column and the gap.
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x)
            ASSERT_NE(d.At(x, y), kRed) << x << "," << y;
}

TEST(MenuStyle, GradientBackgroundAndLayers)
{
    CODMenuStyle style;
    EXPECT_EQ(style.SetItemHeight(25), 20);
    EXPECT_EQ(style.GetItemHeight(), 25);
    style.SetColors(kBlue, kBlue);
    CODSkinImage* layer = new CODSkinImage;
    {
        CBitmap b;
        b.Attach(MakeBitmap(4, 4, [](int, int) { return kYellow; }));
        ASSERT_TRUE(layer->CreateFromBitmap(&b, -1, 1, 1, 1, 0, FALSE));
        b.DeleteObject();
    }
    style.AddLayer(layer, new RECT{2, 3, 6, 7});
    style.AddLayer(NULL, new RECT{0, 0, 4, 4});  // skipped
    style.AddLayer(new CODSkinImage, NULL);      // skipped
    EXPECT_EQ(style.GetLayerCount(), 3);
    Canvas c(40, 30, kBlack);
    const CRect r(10, 5, 40, 30);
    style.Draw(CDC::FromHandle(c.dc()), &r);
    EXPECT_EQ(c.At(30, 25), kBlue);
    EXPECT_EQ(c.At(12, 8), kYellow) << "a layer moved by the column's top-left";
    EXPECT_EQ(c.At(5, 5), kBlack) << "outside the column";
}

}  // namespace
