// Hostile theme text: every reader of the value grammar and of the moving
// text's mark-up gets the same bytes. Nothing may crash, read out of bounds
// or overflow; the results must keep their stated bounds.
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <string>

#include "ODGradientBands.h"
#include "ODProgressBlockLayout.h"
#include "ODThemeValues.h"
#include "ODTxtMovModel.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const char* s = text.c_str();

    (void)odtheme::ParseColor(s, 0x123456);
    int x = 0, y = 0;
    if (odtheme::ParsePoint(s, &x, &y) > 2)
        __builtin_trap();
    odtheme::SkinImageDesc desc;
    if (odtheme::ParseSkinImageDesc(s, &desc) && strlen(desc.path) >= sizeof desc.path)
        __builtin_trap();
    char f[4][8];
    char* outs[4] = {f[0], f[1], f[2], f[3]};
    const int count = odtheme::SplitFieldsInto(',', s, 4, sizeof f[0], outs);
    for (int i = 0; i < 4 && i < count; ++i)
        if (strlen(f[i]) >= sizeof f[0])
            __builtin_trap();
    (void)odtheme::ParseHex(s);
    char path[64];
    (void)odtheme::ResolveResFile("C:\\theme\\odctrls\\x.ini", s, path, sizeof path);

    const odtxt::Rows markup = odtxt::ParseMarkup(s, 2, 1);
    const odtxt::Rows plain = odtxt::ParsePlainLines(s, 0, 0);
    if (markup.empty() || plain.empty())
        __builtin_trap();
    (void)odtxt::PlainText(markup);
    float offset = 0;
    for (const odtxt::Row& r : markup) {
        offset = odtxt::WrapOffset(odtxt::Advance(offset, r.speed), odtxt::WrapDistance(r.maxOffset, 100, 50));
        (void)odtxt::PlaceRun(offset, r.pos, odtxt::WrapDistance(r.maxOffset, r.pos, 7));
        (void)odtxt::AlignShift(r.align, r.pos, r.maxOffset);
    }

    // Numbers from the description drive the block look and the gradient,
    // as a theme's values would.
    if (odtheme::ParseSkinImageDesc(s, &desc)) {
        odblock::Options o;
        o.count = desc.cells;
        o.space = desc.states;
        o.fill = desc.frames;
        o.vertical = desc.kind & 1;
        o.reversed = desc.kind & 2;
        const odblock::Rect bar{0, 0, desc.interval % 4096, desc.transparent % 4096};
        if (odblock::PenBlocks(bar, o, desc.id / 1000.0).size() > 4096)
            __builtin_trap();
        (void)odblock::ImageBlocks(bar, desc.frames % 512, desc.states % 512, o, desc.id / 1000.0);
        (void)odblock::BarSize(bar, o, desc.kind & 4, desc.frames, desc.states);
        odgrad::Bands bands;
        const std::vector<uint32_t> stops = {static_cast<uint32_t>(desc.id), static_cast<uint32_t>(desc.cells),
                                             static_cast<uint32_t>(desc.frames)};
        std::vector<float> weights = {static_cast<float>(desc.states), static_cast<float>(desc.transparent)};
        odgrad::Normalize(weights);
        odgrad::BuildCyclicBands(stops, weights, desc.interval, desc.cells % 5000, 0, desc.frames % 5000, bands);
        int covered = 0;
        for (const odgrad::Band& b : bands)
            covered += b.width;
        if (covered > 5000)
            __builtin_trap();
    }
    return 0;
}
