// Fuzz target: a layout file's text through the area tree walk and the value
// readers of the caption, buttons, splitters and backgrounds.
#include <cstddef>
#include <cstdint>
#include <string>

#include "AreaTreeLoader.h"
#include "ChatText.h"
#include "FakeTreeBuilder.h"
#include "LayoutValues.h"
#include "SplitModel.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    FakeTreeBuilder b(text);
    AreaTreeLoader loader(b);
    loader.LoadAreaInfo("area", nullptr);

    ButtonDef def;
    for (const char* key : {"btn1", "btn2", "btn_left", "btn_right"}) {
        if (ParseButtonDef(CutLayoutValue(b.ini.Get("title", key)), &def) && def.HasUsableRect())
            PlaceButton(def.anchor, def.rect, AreaRect(0, 0, 1024, 768));
    }
    CaptionPos pos;
    const bool hasPos = ParseCaptionPos(b.ini.Get("title", "pos"), &pos);
    const AreaRect band = CaptionBand(hasPos ? &pos : nullptr, 1024, 768, 30);
    AreaRect about;
    if (ParseRect(b.ini.Get("title", "aboutrect"), &about))
        ClampAboutRect(about, band);
    CaptionFont font;
    ParseCaptionFont(CutLayoutValue(b.ini.Get("title", "textfont")), &font);
    CaptionItem item;
    if (ParseCaptionItem(b.ini.Get("title", "pic1"), &item)) {
        int x, y;
        PlaceCaptionItem(item, band, 40, 20, &x, &y);
    }
    uint32_t colour = 0;
    ParseColour(b.ini.Get("pack", "transcolor"), &colour);
    ParseBackgroundMode(b.ini.Get("area", "bkp_draw"), &colour);

    // A splitter from the root's keys, driven through a few operations.
    SplitModel m;
    m.stacked = FirstLetter(b.ini.Get("area", "frame")) == 'T';
    int v[3] = {0, 0, 0};
    ParseNumbers(b.ini.Get("area", "defsize"), ':', v, 2);
    m.SetDefaultSize(v[0], v[1]);
    if (ParseNumbers(b.ini.Get("area", "minsize"), ',', v, 2) == 2) {
        m.minFirst = static_cast<int16_t>(v[0] < 0 ? 0 : v[0] > 32767 ? 32767 : v[0]);
        m.minSecond = static_cast<int16_t>(v[1] < 0 ? 0 : v[1] > 32767 ? 32767 : v[1]);
    }
    const int t = ParseInt(b.ini.Get("area", "slsize"));
    m.thickness = t < 0 ? 0 : t > 255 ? 255 : t;
    AreaRect r;
    if (ParseRect(b.ini.Get("area", "rect"), &r)) {
        // Keep the rectangle within the sizes a window can have.
        auto c = [](int x) { return x < -65536 ? -65536 : x > 65536 ? 65536 : x; };
        m.rect = AreaRect(c(r.l), c(r.t), c(r.r), c(r.b));
    }
    m.Layout();
    m.Move(ParseInt(b.ini.Get("area", "move")));
    m.Wheel(ParseInt(b.ini.Get("area", "wheel")));
    m.HideKey(ParseInt(b.ini.Get("area", "key")));
    m.SliderRect();

    ChatLine line;
    ParseChatLine(text, &line);
    return 0;
}
