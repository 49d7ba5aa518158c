// ODTipEffect.cpp - palette and pixel patterns of the tooltip's generated
// backgrounds.
#include "ODTipEffect.h"

#include <algorithm>

namespace odtip {

namespace {

int Channel(uint32_t colour, int c) { return static_cast<int>((colour >> (8 * c)) & 0xFF); }

}  // namespace

int Cube(int t)
{
    const int64_t c = static_cast<int64_t>(t) * t * t;
    return static_cast<int>((c / 128) / 128);
}

void BuildEffectPalette(uint32_t begin, uint32_t middle, uint32_t end, int shadePercent, uint32_t shadeColour,
                        uint8_t palette[256][3])
{
    for (int c = 0; c < 3; ++c) {
        const int b = Channel(begin, c), m = Channel(middle, c), e = Channel(end, c);
        for (int i = 0; i <= 128; ++i)
            palette[i][c] = static_cast<uint8_t>((e * (128 - i) + m * i) / 128);
        for (int k = 1; k <= 128; ++k)
            palette[127 + k][c] = static_cast<uint8_t>((b * k + m * (128 - k)) / 128);
    }
    const int p = std::max(0, std::min(shadePercent, 100));
    for (int i = 0; i < 256; ++i)
        for (int c = 0; c < 3; ++c)
            palette[i][c] = static_cast<uint8_t>((palette[i][c] * (100 - p) + Channel(shadeColour, c) * p) / 100);
}

bool BuildEffect(EffectImage& out, int width, int height, int kind, int grain, uint32_t begin, uint32_t middle,
                 uint32_t end, int shadePercent, uint32_t shadeColour, const RandomSource& random)
{
    BuildEffectPalette(begin, middle, end, shadePercent, shadeColour, out.palette);
    out.pixels.clear();
    out.width = out.height = 0;
    if (kind < 7 || kind > 15)
        return false;
    if (width < 1 || height < 1 || width > kMaxEffectSide || height > kMaxEffectSide ||
        static_cast<int64_t>(width) * height > kMaxEffectPixels)
        return false;

    const int W = width, H = height;
    const int n = grain & 0xFF;
    const int lo = n, hi = 255 - n;
    const int R = 32767 / std::max(2 * n, 1);
    out.width = W;
    out.height = H;
    out.pixels.assign(static_cast<size_t>(W) * H, 0);
    auto px = [&](int x, int j) -> uint8_t& { return out.pixels[static_cast<size_t>(j) * W + x]; };
    auto grainDraw = [&]() { return random() / R - n; };
    auto store = [&](int x, int j, int v) { px(x, j) = static_cast<uint8_t>(v & 0xFF); };
    auto add = [&](int x, int j, int v) { px(x, j) = static_cast<uint8_t>((px(x, j) + v) & 0xFF); };

    switch (kind) {
    case 7:
        for (int j = 0; j < H; ++j)
            for (int x = 0; x < W; ++x) {
                store(x, j, 128);
                add(x, j, grainDraw());
            }
        break;
    case 8: {
        const int c = (255 - 2 * n) / 2;
        for (int j = 0; j < H; ++j)
            for (int x = 0; x < W; ++x) {
                store(x, j, (c * (W - x)) / W + (j * c) / H + n);
                add(x, j, grainDraw());
            }
        break;
    }
    case 9:
        for (int j = 0; j < H; ++j)
            for (int x = 0; x < W; ++x) {
                store(x, j, static_cast<int>((static_cast<int64_t>(j) * (255 - 2 * n)) / H) + n);
                add(x, j, grainDraw());
            }
        break;
    case 10:
        for (int x = 0; x < W; ++x)
            for (int j = 0; j < H; ++j) {
                store(x, j, static_cast<int>((static_cast<int64_t>(255 - 2 * n) * (W - x)) / W) + n);
                add(x, j, grainDraw());
            }
        break;
    case 11:
        for (int j = 0; j < H; ++j) {
            const int t = static_cast<int>((255LL * j) / H) - 127;
            for (int x = 0; x < W; ++x) {
                store(x, j, (Cube(t) * (128 - n)) / 128 + 128);
                add(x, j, grainDraw());
            }
        }
        break;
    case 12:
        for (int x = 0; x < W; ++x) {
            const int t = static_cast<int>((255LL * (W - x)) / W) - 127;
            for (int j = 0; j < H; ++j) {
                store(x, j, (Cube(t) * (128 - n)) / 128 + 128);
                add(x, j, grainDraw());
            }
        }
        break;
    case 13:
        for (int j = 0; j < H; ++j) {
            const int tj = static_cast<int>((255LL * j) / H) - 127;
            for (int x = 0; x < W; ++x) {
                const int tx = static_cast<int>((255LL * (W - x)) / W) - 127;
                const int v = ((Cube(tx) + Cube(tj)) * (128 - n)) / 128 + 128;
                store(x, j, std::max(lo, std::min(v, hi)));
                add(x, j, grainDraw());
            }
        }
        break;
    case 14: {
        for (int j = 0; j < H; ++j) {
            const int t = static_cast<int>((255LL * j) / H) - 127;
            for (int x = 0; x < W; ++x) {
                store(x, j, (Cube(t) * (64 - n) * 2) / 128 + 128);
                add(x, j, grainDraw());
            }
        }
        // Side bands shaped like a lens; none when k is 0 or the height too
        // small to divide by (H H) / 4.
        const int k = std::min(W / 6, 16);
        const int64_t quarter = (static_cast<int64_t>(H) * H) / 4;
        for (int j = 0; j < H; ++j) {
            const int64_t u = j - H / 2;
            const bool bands = k > 0 && quarter > 0;
            const int64_t e = bands ? (static_cast<int64_t>(k) * u * u) / quarter - k + W / 2 : 0;
            for (int x = 0; x < W; ++x) {
                if (bands) {
                    const int64_t d = x - W / 2;
                    if (d > e)
                        store(x, j, (128 * (W - x)) / k + n);
                    else if (e + d < 0)
                        store(x, j, (255 - n) - (128 * x) / k);
                }
                add(x, j, grainDraw());
            }
        }
        break;
    }
    case 15: {
        std::fill(out.pixels.begin(), out.pixels.end(), 0);
        const int minSide = std::min(W, H);
        for (int s = 0; s < 200; ++s) {
            const int a = random() / std::max(32767 / W, 1);
            const int b = random() / std::max(32767 / H, 1);  // from the top
            const int length = random() / std::max(32767 / minSide, 1);
            const int half = length / 2;
            const int colour = random() / 819;
            auto set = [&](int x, int yFromTop) {
                if (x >= 0 && x < W && yFromTop >= 0 && yFromTop < H)
                    store(x, H - 1 - yFromTop, colour);
            };
            for (int i = 0; i < half; ++i) {
                if (a - i > 0 && b + i < H)
                    set(a - i, b + i);
                if (a + i < W && b - i > 0)
                    set(a + i, b - i);
            }
        }
        const int c2 = (215 - 2 * n) / 2;
        for (int j = 0; j < H; ++j)
            for (int x = 0; x < W; ++x)
                add(x, j, (c2 * (W - x)) / W + (j * c2) / H + random() / R);
        break;
    }
    }
    return true;
}

}  // namespace odtip
