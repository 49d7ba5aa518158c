// The 16-bit surface on plain memory: creation, keys, pixels, clipping and
// every surface-to-surface operation, checked pixel by pixel against a
// plain model that draws one pixel at a time.
#include <gtest/gtest.h>

#include "Pixel565.h"
#include "QVMemBitmap.h"

#include <limits.h>
#include <stdint.h>

#include <random>
#include <vector>

using qvsurf::Mapping;

namespace {

// ---- Fixtures ---------------------------------------------------------------------

void FillRandom(CQVMemBitmap& s, uint32_t seed, uint16_t key = 0, int keyEvery = 0)
{
    std::mt19937 rng(seed);
    for (int y = 0; y < s.GetHeight(); ++y)
        for (int x = 0; x < s.GetWidth(); ++x) {
            uint16_t p = static_cast<uint16_t>(rng());
            if (keyEvery && (x + 2 * y) % keyEvery == 0)
                p = key;
            else if (p == key)
                p ^= 1;
            s.FillRect(x - s.GetOrigin().x, y - s.GetOrigin().y, 1, 1, p);
        }
}

std::vector<uint16_t> PixelsOf(const CQVMemBitmap& s)
{
    std::vector<uint16_t> v;
    for (int y = 0; y < s.GetHeight(); ++y)
        for (int x = 0; x < s.GetWidth(); ++x)
            v.push_back(s.GetPixel16(x, y));
    return v;
}

void Load(CQVMemBitmap& s, int w, int h, const std::vector<uint16_t>& px)
{
    ASSERT_TRUE(s.Create(w, h));
    const POINT o = s.GetOrigin();
    s.SetOrigin(0, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            s.FillRect(x, y, 1, 1, px[y * w + x]);
    s.SetOrigin(o.x, o.y);
}

// ---- The model --------------------------------------------------------------------

struct Model
{
    int w, h;
    std::vector<uint16_t> px;

    explicit Model(const CQVMemBitmap& s) : w(s.GetWidth()), h(s.GetHeight()), px(PixelsOf(s)) {}
    uint16_t& At(int x, int y) { return px[y * w + x]; }
    uint16_t At(int x, int y) const { return px[y * w + x]; }
    bool Inside(long long x, long long y) const { return x >= 0 && y >= 0 && x < w && y < h; }
};

enum class Op
{
    Copy,
    Keyed,
    Alpha,
    AlphaKeyed,
    Mask,
    Add,
    AddKeyed,
    AddLevel,
    AddLevelKeyed
};

struct Draw
{
    Op op;
    Mapping mapping;
    int level;
};

void PrintTo(const Draw& d, std::ostream* os)
{
    static const char* const kOps[] = {"Copy", "Keyed", "Alpha", "AlphaKeyed", "Mask",
                                       "Add", "AddKeyed", "AddLevel", "AddLevelKeyed"};
    static const char* const kMappings[] = {"Plain", "Mirror", "Flip", "Rotate180", "Rotate90", "Rotate270"};
    *os << kOps[static_cast<int>(d.op)] << "/" << kMappings[static_cast<int>(d.mapping)] << "/" << d.level;
}

bool Keyed(Op op) { return op == Op::Keyed || op == Op::AlphaKeyed || op == Op::AddKeyed || op == Op::AddLevelKeyed; }

uint16_t Single(Op op, uint16_t s, uint16_t d, uint16_t m, int level)
{
    switch (op) {
    case Op::Copy:
    case Op::Keyed: return s;
    case Op::Alpha:
    case Op::AlphaKeyed: return px565::BlendSingle(s, d, level & 0xFF);
    case Op::Mask: return px565::BlendMasked(s, d, m);
    case Op::Add:
    case Op::AddKeyed: return px565::AddSingle(s, d);
    case Op::AddLevel:
    case Op::AddLevelKeyed: return px565::AddLevelSingle(s, d, level);
    }
    return d;
}

uint32_t AlphaPair(uint32_t s, uint32_t d, int level) { return px565::BlendPair(s, d, level); }

// The wanted source area mapped and drawn one pixel at a time: a pixel is
// drawn when it lies inside the source, the destination and the clip.
// Visible pixels of a row are then handled in pairs from the row's first.
void ModelDraw(Model& dst, const Model& src, const Model* mask, RECT want, int x, int y, POINT origin, RECT clip,
               const Draw& d, bool keyed, uint16_t key)
{
    const long long w0 = (long long)want.right - want.left, h0 = (long long)want.bottom - want.top;
    if (w0 <= 0 || h0 <= 0)
        return;
    const bool turned = d.mapping == Mapping::Rotate90 || d.mapping == Mapping::Rotate270;
    const long long mw = turned ? h0 : w0, mh = turned ? w0 : h0;
    const int srcW = mask ? std::min(src.w, mask->w) : src.w, srcH = mask ? std::min(src.h, mask->h) : src.h;
    const bool clipped = clip.left < clip.right && clip.top < clip.bottom;
    // Source pixel of each visible destination pixel, -1 where nothing lands.
    std::vector<long long> from(dst.w * dst.h, -1);
    // Only mapped pixels that can land on the destination are looked at.
    const long long left = (long long)x + origin.x, top = (long long)y + origin.y;
    const long long j0 = std::max(0LL, -left), j1 = std::min(mw, dst.w - left);
    const long long i0 = std::max(0LL, -top), i1 = std::min(mh, dst.h - top);
    for (long long i = i0; i < i1; ++i)
        for (long long j = j0; j < j1; ++j) {
            long long sx = 0, sy = 0;
            switch (d.mapping) {
            case Mapping::Plain: sx = want.left + j; sy = want.top + i; break;
            case Mapping::Mirror: sx = want.right - 1 - j; sy = want.top + i; break;
            case Mapping::Flip: sx = want.left + j; sy = want.bottom - 1 - i; break;
            case Mapping::Rotate180: sx = want.right - 1 - j; sy = want.bottom - 1 - i; break;
            case Mapping::Rotate90: sx = want.left + w0 - 1 - i; sy = want.top + j; break;
            case Mapping::Rotate270: sx = want.left + i; sy = want.top + h0 - 1 - j; break;
            }
            const long long dx = (long long)x + origin.x + j, dy = (long long)y + origin.y + i;
            if (sx < 0 || sy < 0 || sx >= srcW || sy >= srcH || !dst.Inside(dx, dy))
                continue;
            if (clipped && (dx < clip.left || dx >= clip.right || dy < clip.top || dy >= clip.bottom))
                continue;
            from[dy * dst.w + dx] = sy * src.w + sx;
        }
    for (int row = 0; row < dst.h; ++row) {
        int col = 0;
        while (col < dst.w && from[row * dst.w + col] < 0)
            ++col;
        for (; col < dst.w && from[row * dst.w + col] >= 0; col += 2) {
            const long long a = from[row * dst.w + col];
            const bool pair = col + 1 < dst.w && from[row * dst.w + col + 1] >= 0;
            const uint16_t s0 = src.px[a], m0 = mask ? mask->At(a % src.w, a / src.w) : 0;
            uint16_t& d0 = dst.At(col, row);
            if (!pair) {
                if (!(keyed && s0 == key))
                    d0 = Single(d.op, s0, d0, m0, d.level);
                break;
            }
            const long long b = from[row * dst.w + col + 1];
            const uint16_t s1 = src.px[b], m1 = mask ? mask->At(b % src.w, b / src.w) : 0;
            uint16_t& d1 = dst.At(col + 1, row);
            const bool k0 = keyed && s0 == key, k1 = keyed && s1 == key;
            if (d.op == Op::Alpha || (d.op == Op::AlphaKeyed && !k0 && !k1)) {
                const uint32_t out = AlphaPair(s0 | uint32_t(s1) << 16, d0 | uint32_t(d1) << 16, d.level);
                d0 = px565::Low(out);
                d1 = px565::High(out);
                continue;
            }
            if (!k0)
                d0 = Single(d.op, s0, d0, m0, d.level);
            if (!k1)
                d1 = Single(d.op, s1, d1, m1, d.level);
        }
    }
}

BOOL RunDraw(CQVMemBitmap& dst, const CQVMemBitmap* src, const CQVMemBitmap* mask, const RECT* rect, int x, int y,
             const Draw& d)
{
    switch (d.op) {
    case Op::Copy:
        switch (d.mapping) {
        case Mapping::Plain: return dst.Blit(src, rect, x, y);
        case Mapping::Mirror: return dst.BlitMirror(src, rect, x, y);
        case Mapping::Flip: return dst.BlitFlip(src, rect, x, y);
        case Mapping::Rotate180: return dst.BlitRotate180(src, rect, x, y);
        case Mapping::Rotate90: return dst.BlitRotate90(src, rect, x, y);
        case Mapping::Rotate270: return dst.BlitRotate270(src, rect, x, y);
        }
        break;
    case Op::Keyed: return dst.BlitKeyed(src, rect, x, y);
    case Op::Alpha: return dst.AlphaBlend(src, rect, x, y, d.level);
    case Op::AlphaKeyed: return dst.AlphaBlendKeyed(src, rect, x, y, d.level);
    case Op::Mask: return dst.AlphaBlendMask(mask, src, rect, x, y);
    case Op::Add: return dst.AddBlend(src, rect, x, y);
    case Op::AddKeyed: return dst.AddBlendKeyed(src, rect, x, y);
    case Op::AddLevel: return dst.AddBlendLevel(src, rect, x, y, d.level);
    case Op::AddLevelKeyed: return dst.AddBlendLevelKeyed(src, rect, x, y, d.level);
    }
    return FALSE;
}

const Draw kDraws[] = {
    {Op::Copy, Mapping::Plain, 0},      {Op::Copy, Mapping::Mirror, 0},     {Op::Copy, Mapping::Flip, 0},
    {Op::Copy, Mapping::Rotate180, 0},  {Op::Copy, Mapping::Rotate90, 0},   {Op::Copy, Mapping::Rotate270, 0},
    {Op::Keyed, Mapping::Plain, 0},     {Op::Alpha, Mapping::Plain, 77},    {Op::Alpha, Mapping::Plain, 255},
    {Op::Alpha, Mapping::Plain, 128 + 256}, {Op::AlphaKeyed, Mapping::Plain, 201}, {Op::Mask, Mapping::Plain, 0},
    {Op::Add, Mapping::Plain, 0},       {Op::AddKeyed, Mapping::Plain, 0},  {Op::AddLevel, Mapping::Plain, 99},
    {Op::AddLevelKeyed, Mapping::Plain, 183},
};

struct Placement
{
    const char* name;
    bool hasRect;
    RECT rect;
    int x, y;
    POINT origin;
    RECT clip;  // as given to SetClipRect; empty for none
};

const Placement kPlacements[] = {
    {"whole at 0,0", false, {}, 0, 0, {0, 0}, {}},
    {"whole inside", false, {}, 2, 1, {0, 0}, {}},
    {"negative position", false, {}, -3, -2, {0, 0}, {}},
    {"over the right and bottom", false, {}, 8, 6, {0, 0}, {}},
    {"wholly right", false, {}, 10, 0, {0, 0}, {}},
    {"wholly left", false, {}, -7, 0, {0, 0}, {}},
    {"wholly above", false, {}, 0, -5, {0, 0}, {}},
    {"part", true, {1, 1, 5, 4}, 3, 3, {0, 0}, {}},
    {"part reaching out of the source", true, {-2, -1, 4, 3}, 1, 1, {0, 0}, {}},
    {"part reaching past the source", true, {5, 0, 12, 5}, 0, 0, {0, 0}, {}},
    {"part out of the source and negative", true, {-3, 2, 6, 9}, -1, 4, {0, 0}, {}},
    {"inverted rect", true, {5, 5, 2, 2}, 1, 1, {0, 0}, {}},
    {"empty rect", true, {3, 3, 3, 4}, 1, 1, {0, 0}, {}},
    {"source wholly outside", true, {8, 0, 12, 3}, 0, 0, {0, 0}, {}},
    {"origin", false, {}, 1, 1, {2, -1}, {}},
    {"origin pushing out", false, {}, 1, 1, {-4, 3}, {}},
    {"clip", false, {}, 0, 0, {0, 0}, {2, 2, 6, 5}},
    {"clip and origin", true, {1, 0, 7, 5}, -1, 0, {3, 1}, {3, 0, 9, 7}},
    {"clip beside the drawing", false, {}, 0, 0, {0, 0}, {8, 6, 10, 8}},
    {"near INT_MAX", false, {}, INT_MAX - 2, INT_MAX - 1, {0, 0}, {}},
    {"near INT_MIN", false, {}, INT_MIN + 1, INT_MIN, {0, 0}, {}},
    {"huge rect", true, {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, 0, 0, {0, 0}, {}},
};

class SurfaceOps : public ::testing::TestWithParam<Draw>
{
};

}  // namespace

// ---- Creation ---------------------------------------------------------------------

TEST(SurfaceCreate, StrideIsTwoBytesAPixelRoundedToFour)
{
    const struct
    {
        int width;
        UINT stride;
    } cases[] = {{1, 4}, {2, 4}, {3, 8}, {4, 8}, {5, 12}, {640, 1280}, {641, 1284}};
    for (const auto& c : cases) {
        CQVMemBitmap s;
        ASSERT_TRUE(s.Create(c.width, 3));
        EXPECT_EQ(c.stride, s.GetStride()) << c.width;
        EXPECT_EQ(c.stride * 3, s.GetHeader()->bmiHeader.biSizeImage);
    }
}

TEST(SurfaceCreate, HeaderDescribesATopDown565Picture)
{
    CQVMemBitmap s;
    ASSERT_TRUE(s.Create(7, 5));
    const BITMAPINFOHEADER& h = s.GetHeader()->bmiHeader;
    EXPECT_EQ(40u, h.biSize);
    EXPECT_EQ(7, h.biWidth);
    EXPECT_EQ(-5, h.biHeight);
    EXPECT_EQ(1, h.biPlanes);
    EXPECT_EQ(16, h.biBitCount);
    EXPECT_EQ(DWORD(BI_BITFIELDS), h.biCompression);
    EXPECT_EQ(80u, h.biSizeImage);
    EXPECT_EQ(0, h.biXPelsPerMeter);
    EXPECT_EQ(3u, h.biClrUsed);
    EXPECT_EQ(0u, h.biClrImportant);
    const DWORD* masks = reinterpret_cast<const DWORD*>(s.GetHeader()->bmiColors);
    EXPECT_EQ(0xF800u, masks[0]);
    EXPECT_EQ(0x07E0u, masks[1]);
    EXPECT_EQ(0x001Fu, masks[2]);
}

TEST(SurfaceCreate, RefusedSizesLeaveTheSurfaceEmpty)
{
    const struct
    {
        int w, h;
    } cases[] = {{0, 5}, {5, 0}, {-1, 5}, {5, -3}, {INT_MIN, 1}, {32768, 1}, {1, 32768}, {32767, 32767}, {16384, 16384}};
    for (const auto& c : cases) {
        CQVMemBitmap s;
        ASSERT_TRUE(s.Create(4, 4));
        s.SetKeyColor(RGB(1, 2, 3));
        EXPECT_FALSE(s.Create(c.w, c.h)) << c.w << "x" << c.h;
        EXPECT_FALSE(s.HasPixels());
        EXPECT_EQ(0, s.GetWidth());
        EXPECT_EQ(0, s.GetHeight());
        EXPECT_EQ(0u, s.GetStride());
        EXPECT_EQ(0, s.GetKeyMode());
        // Nothing touches the missing pixels.
        s.FillRect(0, 0, 10, 10, 0x1234);
        s.GrayScale();
        s.ReplaceColor(0, 1);
        EXPECT_EQ(0, s.GetPixel16(0, 0));
    }
}

TEST(SurfaceCreate, FreeClearsSizeAndKeyButKeepsClipAndOrigin)
{
    CQVMemBitmap s;
    ASSERT_TRUE(s.Create(8, 8));
    s.SetKeyColor(RGB(255, 0, 255));
    s.SetOrigin(2, 3);
    const RECT clip = {1, 1, 4, 4};
    s.SetClipRect(&clip);
    s.Free();
    EXPECT_FALSE(s.HasPixels());
    EXPECT_EQ(0, s.GetWidth());
    EXPECT_FALSE(s.GetKeyColor(NULL));
    EXPECT_EQ(2, s.GetOrigin().x);
    EXPECT_EQ(1, s.GetClipRect().left);
}

// ---- Keys ---------------------------------------------------------------------------

TEST(SurfaceKeys, ModesAndTheirColours)
{
    CQVMemBitmap s;
    COLORREF out = 0xDEAD;
    EXPECT_FALSE(s.GetKeyColor(&out));
    EXPECT_EQ(0xDEADu, out);

    // Mode 2 on an empty surface gives 0.
    s.SetKeyColorFromCorner();
    EXPECT_TRUE(s.GetKeyColor(&out));
    EXPECT_EQ(0u, out);

    ASSERT_TRUE(s.Create(3, 2));
    s.FillRect(0, 0, 3, 2, 0x0000);
    s.FillRect(0, 0, 1, 1, 0xF81F);
    s.FillRect(2, 1, 1, 1, 0x8410);
    s.SetKeyColorFromCorner();
    EXPECT_TRUE(s.GetKeyColor(&out));
    EXPECT_EQ(RGB(255, 0, 255), out);
    EXPECT_TRUE(s.GetKeyColor(NULL));

    s.SetKeyColor(RGB(10, 20, 30));
    EXPECT_EQ(1, s.GetKeyMode());
    EXPECT_TRUE(s.GetKeyColor(&out));
    EXPECT_EQ(RGB(10, 20, 30), out);

    s.SetKeyColor16(0x8410);
    EXPECT_TRUE(s.GetKeyColor(&out));
    EXPECT_EQ(RGB(0x84, 0x82, 0x84), out);

    s.SetKeyColorFromPixel(2, 1);
    EXPECT_TRUE(s.GetKeyColor(&out));
    EXPECT_EQ(RGB(0x84, 0x82, 0x84), out);
    // Outside: nothing changes.
    s.SetKeyColor(RGB(1, 1, 1));
    for (POINT p : {POINT{-1, 0}, POINT{3, 0}, POINT{0, 2}, POINT{0, -1}}) {
        s.SetKeyColorFromPixel(p.x, p.y);
        EXPECT_TRUE(s.GetKeyColor(&out));
        EXPECT_EQ(RGB(1, 1, 1), out);
    }
}

TEST(SurfacePixels, ReadsOutsideGiveZero)
{
    CQVMemBitmap s;
    ASSERT_TRUE(s.Create(2, 2));
    s.FillRect(0, 0, 2, 2, 0xFFFF);
    EXPECT_EQ(RGB(255, 255, 255), s.GetPixel(1, 1));
    EXPECT_EQ(0xFFFF, s.GetPixel16(0, 0));
    for (POINT p : {POINT{-1, 0}, POINT{2, 0}, POINT{0, 2}, POINT{0, -1}, POINT{INT_MAX, INT_MAX}}) {
        EXPECT_EQ(0u, s.GetPixel(p.x, p.y));
        EXPECT_EQ(0, s.GetPixel16(p.x, p.y));
    }
}

// ---- In place ------------------------------------------------------------------------

TEST(SurfaceInPlace, FillRectMovesByOriginAndCutsAtEdgesButIgnoresClip)
{
    const struct
    {
        int x, y, w, h;
        POINT origin;
        RECT filled;  // expected, in surface pixels
    } cases[] = {
        {1, 1, 2, 2, {0, 0}, {1, 1, 3, 3}},      {-2, -1, 4, 3, {0, 0}, {0, 0, 2, 2}},
        {3, 4, 10, 10, {0, 0}, {3, 4, 6, 5}},    {0, 0, 2, 2, {1, 2}, {1, 2, 3, 4}},
        {0, 0, 0, 3, {0, 0}, {0, 0, 0, 0}},      {0, 0, -2, 3, {0, 0}, {0, 0, 0, 0}},
        {6, 0, 2, 2, {0, 0}, {0, 0, 0, 0}},      {-5, 0, 3, 2, {0, 0}, {0, 0, 0, 0}},
        {INT_MAX, 0, INT_MAX, 1, {0, 0}, {0, 0, 0, 0}}, {INT_MIN, INT_MIN, INT_MAX, INT_MAX, {0, 0}, {0, 0, 0, 0}},
        {-1, -1, INT_MAX, INT_MAX, {0, 0}, {0, 0, 6, 5}},
    };
    for (const auto& c : cases) {
        CQVMemBitmap s;
        ASSERT_TRUE(s.Create(6, 5));
        s.FillRect(0, 0, 6, 5, 0);
        const RECT clip = {0, 0, 1, 1};
        s.SetClipRect(&clip);
        s.SetOrigin(c.origin.x, c.origin.y);
        s.FillRect(c.x, c.y, c.w, c.h, 0xABCD);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 6; ++x) {
                const bool in = x >= c.filled.left && x < c.filled.right && y >= c.filled.top && y < c.filled.bottom;
                ASSERT_EQ(in ? 0xABCD : 0, s.GetPixel16(x, y)) << c.x << "," << c.y << " at " << x << "," << y;
            }
    }
}

TEST(SurfaceInPlace, ReplaceColorAndGreyScale)
{
    CQVMemBitmap s;
    ASSERT_TRUE(s.Create(3, 3));
    s.FillRect(0, 0, 3, 3, 0xFFFF);
    s.FillRect(1, 1, 1, 1, 0x1234);
    s.ReplaceColor(0xFFFF, 0x0001);
    EXPECT_EQ(0x0001, s.GetPixel16(0, 0));
    EXPECT_EQ(0x1234, s.GetPixel16(1, 1));

    s.FillRect(0, 0, 3, 3, 0xFFFF);
    const RECT area = {-5, -5, 2, 1};  // the negative corner is raised to 0
    s.GrayScale(&area);
    const uint16_t grey = (23 << 11) | (46 << 5) | 23;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(x < 2 && y < 1 ? grey : 0xFFFF, s.GetPixel16(x, y)) << x << "," << y;
    const RECT outside = {3, 0, 9, 3}, inverted = {2, 2, 1, 1};
    s.GrayScale(&outside);
    s.GrayScale(&inverted);
    EXPECT_EQ(0xFFFF, s.GetPixel16(2, 2));
    s.GrayScale();
    EXPECT_EQ(grey, s.GetPixel16(2, 2));
}

TEST(SurfaceInPlace, BlendColorPairsTailAndKey)
{
    CQVMemBitmap s;
    ASSERT_TRUE(s.Create(5, 2));
    s.FillRect(0, 0, 5, 2, 0);
    s.FillRect(1, 1, 1, 1, 0xF81F);  // the key, row 1 column 1
    s.SetKeyColor(RGB(255, 0, 255));
    // Level 255 of red over black: 31 in a pair, 30 alone.
    EXPECT_TRUE(s.BlendColor(RGB(255, 0, 0), NULL, 255, TRUE));
    // Row 0: pairs (0,1) (2,3), tail 4.
    EXPECT_EQ(31, px565::Red(s.GetPixel16(0, 0)));
    EXPECT_EQ(31, px565::Red(s.GetPixel16(3, 0)));
    EXPECT_EQ(30, px565::Red(s.GetPixel16(4, 0)));
    // Row 1: the key pixel stays and its partner is blended alone.
    EXPECT_EQ(30, px565::Red(s.GetPixel16(0, 1)));
    EXPECT_EQ(0xF81F, s.GetPixel16(1, 1));
    EXPECT_EQ(31, px565::Red(s.GetPixel16(2, 1)));
    // Without useKey the key pixel is blended too.
    s.BlendColor(RGB(0, 0, 0), NULL, 255, FALSE);
    EXPECT_NE(0xF81F, s.GetPixel16(1, 1));
    // An area outside draws nothing and succeeds.
    const RECT outside = {5, 0, 8, 2};
    EXPECT_TRUE(s.BlendColor(RGB(1, 2, 3), &outside, 100, FALSE));
    CQVMemBitmap empty;
    EXPECT_FALSE(empty.BlendColor(0, NULL, 10, FALSE));
}

TEST(SurfaceClip, SetClipRectIsCutToTheSurface)
{
    const struct
    {
        RECT given;
        RECT kept;
    } cases[] = {
        {{1, 1, 3, 3}, {1, 1, 3, 3}},    {{-5, -5, 3, 3}, {0, 0, 3, 3}}, {{2, 2, 50, 50}, {2, 2, 8, 6}},
        {{3, 3, 3, 5}, {0, 0, 0, 0}},    {{5, 1, 2, 4}, {0, 0, 0, 0}},   {{9, 0, 12, 4}, {0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        CQVMemBitmap s;
        ASSERT_TRUE(s.Create(8, 6));
        s.SetClipRect(&c.given);
        const RECT r = s.GetClipRect();
        EXPECT_TRUE(EqualRect(&r, &c.kept) || (IsRectEmpty(&r) && IsRectEmpty(&c.kept)))
            << c.given.left << "," << c.given.top << "," << c.given.right << "," << c.given.bottom;
    }
    CQVMemBitmap s;
    ASSERT_TRUE(s.Create(8, 6));
    const RECT r = {1, 1, 2, 2};
    s.SetClipRect(&r);
    s.SetClipRect(NULL);
    const RECT now = s.GetClipRect();
    EXPECT_TRUE(IsRectEmpty(&now));
}

// ---- Every operation against the model ---------------------------------------------

TEST_P(SurfaceOps, MatchesTheModelInEveryPlacement)
{
    const Draw d = GetParam();
    const uint16_t key = 0x07E0;
    for (int keyMode = 1; keyMode <= 2; ++keyMode) {
        for (const Placement& p : kPlacements) {
            CQVMemBitmap src, dst, mask;
            ASSERT_TRUE(src.Create(7, 5));
            ASSERT_TRUE(dst.Create(10, 8));
            ASSERT_TRUE(mask.Create(6, 4));  // smaller than the source: it limits the drawing
            FillRandom(src, 11, key, 3);
            if (keyMode == 2)
                src.FillRect(0, 0, 1, 1, key);
            FillRandom(dst, 12);
            FillRandom(mask, 13);
            // A key with low bits that truncate to the same 565 value.
            if (keyMode == 1)
                src.SetKeyColor(CQVMemBitmap::RGB565ToRGB(key) | 0x030303);
            else
                src.SetKeyColorFromCorner();
            dst.SetOrigin(p.origin.x, p.origin.y);
            if (!IsRectEmpty(&p.clip))
                dst.SetClipRect(&p.clip);

            Model model(dst);
            const Model maskModel(mask);
            const bool turned = d.mapping == Mapping::Rotate90 || d.mapping == Mapping::Rotate270;
            const RECT want = p.hasRect ? p.rect : RECT{0, 0, 7, 5};
            ModelDraw(model, Model(src), d.op == Op::Mask ? &maskModel : nullptr, want, p.x, p.y,
                      turned ? POINT{0, 0} : p.origin, turned ? RECT{} : dst.GetClipRect(), d, Keyed(d.op), key);
            EXPECT_TRUE(RunDraw(dst, &src, &mask, p.hasRect ? &p.rect : NULL, p.x, p.y, d));
            EXPECT_EQ(model.px, PixelsOf(dst)) << p.name << " (key mode " << keyMode << ")";
        }
    }
}

TEST_P(SurfaceOps, NullAndEmptySurfacesFail)
{
    const Draw d = GetParam();
    CQVMemBitmap src, dst, empty;
    ASSERT_TRUE(src.Create(3, 3));
    ASSERT_TRUE(dst.Create(3, 3));
    EXPECT_FALSE(RunDraw(dst, NULL, &src, NULL, 0, 0, d));
    EXPECT_FALSE(RunDraw(dst, &empty, &src, NULL, 0, 0, d));
    EXPECT_FALSE(RunDraw(empty, &src, &src, NULL, 0, 0, d));
}

TEST_P(SurfaceOps, DrawingASurfaceIntoItselfReadsTheOldPixels)
{
    const Draw d = GetParam();
    CQVMemBitmap s;
    ASSERT_TRUE(s.Create(9, 7));
    FillRandom(s, 21, 0x07E0, 4);
    s.SetKeyColor16(0x07E0);
    const RECT part = {1, 1, 8, 6};
    Model model(s);
    const Model before(s);
    ModelDraw(model, before, d.op == Op::Mask ? &before : nullptr, part, 2, 1, POINT{0, 0}, RECT{}, d, Keyed(d.op),
              0x07E0);
    EXPECT_TRUE(RunDraw(s, &s, &s, &part, 2, 1, d));
    EXPECT_EQ(model.px, PixelsOf(s));
}

INSTANTIATE_TEST_SUITE_P(AllOperations, SurfaceOps, ::testing::ValuesIn(kDraws));

// ---- The cases worth naming --------------------------------------------------------------

TEST(SurfaceBlit, NegativePositionShowsTheSourceShifted)
{
    CQVMemBitmap src, dst;
    Load(src, 4, 1, {1, 2, 3, 4});
    Load(dst, 4, 1, {0, 0, 0, 0});
    EXPECT_TRUE(dst.Blit(&src, NULL, -2, 0));
    EXPECT_EQ((std::vector<uint16_t>{3, 4, 0, 0}), PixelsOf(dst));
    // Wholly outside: 1 and nothing changes.
    EXPECT_TRUE(dst.Blit(&src, NULL, 4, 0));
    EXPECT_TRUE(dst.Blit(&src, NULL, -4, 0));
    EXPECT_EQ((std::vector<uint16_t>{3, 4, 0, 0}), PixelsOf(dst));
}

TEST(SurfaceBlit, WholeRowsOfPicturesOfOneWidth)
{
    // Whole rows go as one block; within one picture a copy downwards must
    // still read every row before it is overwritten.
    const std::vector<uint16_t> rows = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    CQVMemBitmap src, dst;
    Load(src, 3, 4, rows);
    Load(dst, 3, 4, std::vector<uint16_t>(12, 0));
    EXPECT_TRUE(dst.Blit(&src, NULL, 0, 1));
    EXPECT_EQ((std::vector<uint16_t>{0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9}), PixelsOf(dst));
    EXPECT_TRUE(src.Blit(&src, NULL, 0, 1));
    EXPECT_EQ((std::vector<uint16_t>{1, 2, 3, 1, 2, 3, 4, 5, 6, 7, 8, 9}), PixelsOf(src));
    Load(src, 3, 4, rows);
    EXPECT_TRUE(src.Blit(&src, NULL, 0, -2));
    EXPECT_EQ((std::vector<uint16_t>{7, 8, 9, 10, 11, 12, 7, 8, 9, 10, 11, 12}), PixelsOf(src));
}

TEST(SurfaceBlit, MirrorAtTheLeftEdgeShowsItsOwnRightPart)
{
    // The mirrored row is 4 3 2 1; two pixels off the left edge leave 2 1.
    CQVMemBitmap src, dst;
    Load(src, 4, 1, {1, 2, 3, 4});
    Load(dst, 4, 1, {0, 0, 0, 0});
    EXPECT_TRUE(dst.BlitMirror(&src, NULL, -2, 0));
    EXPECT_EQ((std::vector<uint16_t>{2, 1, 0, 0}), PixelsOf(dst));
}

TEST(SurfaceBlit, QuarterTurnsAtTheRightEdgeStayInside)
{
    // A 4 x 2 source turned is 2 wide and 4 high; at x = 9 of a 10-wide
    // surface only its first column (the source's top row) shows.
    CQVMemBitmap src, dst;
    Load(src, 4, 2, {1, 2, 3, 4, 5, 6, 7, 8});
    ASSERT_TRUE(dst.Create(10, 4));
    dst.FillRect(0, 0, 10, 4, 0);
    EXPECT_TRUE(dst.BlitRotate90(&src, NULL, 9, 0));
    // Rotate90: the source's right column becomes the top row.
    EXPECT_EQ(4, dst.GetPixel16(9, 0));
    EXPECT_EQ(3, dst.GetPixel16(9, 1));
    EXPECT_EQ(2, dst.GetPixel16(9, 2));
    EXPECT_EQ(1, dst.GetPixel16(9, 3));
    EXPECT_TRUE(dst.BlitRotate270(&src, NULL, 9, 0));
    // Rotate270: the left column, read bottom to top, becomes the top row.
    EXPECT_EQ(5, dst.GetPixel16(9, 0));
    EXPECT_EQ(8, dst.GetPixel16(9, 3));
}

TEST(SurfaceBlit, ClipLimitsDrawsButNotFills)
{
    CQVMemBitmap src, dst;
    ASSERT_TRUE(src.Create(4, 4));
    src.FillRect(0, 0, 4, 4, 0xFFFF);
    ASSERT_TRUE(dst.Create(4, 4));
    dst.FillRect(0, 0, 4, 4, 0);
    const RECT clip = {1, 1, 3, 3};
    dst.SetClipRect(&clip);
    dst.Blit(&src, NULL, 0, 0);
    EXPECT_EQ(0, dst.GetPixel16(0, 0));
    EXPECT_EQ(0xFFFF, dst.GetPixel16(1, 1));
    EXPECT_EQ(0, dst.GetPixel16(3, 3));
    dst.FillRect(0, 0, 4, 4, 0x1111);
    EXPECT_EQ(0x1111, dst.GetPixel16(0, 0));
}

TEST(SurfaceBlit, KeyFromTheCornerIsTransparentEverywhere)
{
    CQVMemBitmap src, dst;
    Load(src, 3, 1, {7, 8, 7});
    Load(dst, 3, 1, {1, 1, 1});
    src.SetKeyColorFromCorner();
    EXPECT_TRUE(dst.BlitKeyed(&src, NULL, 0, 0));
    EXPECT_EQ((std::vector<uint16_t>{1, 8, 1}), PixelsOf(dst));
}

TEST(SurfaceBlend, AlphaOfWhiteOverBlackInPairsAndTail)
{
    struct Case
    {
        int level;
        int pairRed, tailRed;
    } cases[] = {{128, 15, 15}, {255, 31, 30}, {0, 0, 0}};
    for (const Case& c : cases) {
        CQVMemBitmap src, dst;
        ASSERT_TRUE(src.Create(3, 1));
        ASSERT_TRUE(dst.Create(3, 1));
        src.FillRect(0, 0, 3, 1, 0xFFFF);
        dst.FillRect(0, 0, 3, 1, 0x0000);
        EXPECT_TRUE(dst.AlphaBlend(&src, NULL, 0, 0, c.level));
        EXPECT_EQ(c.pairRed, px565::Red(dst.GetPixel16(0, 0))) << c.level;
        EXPECT_EQ(c.pairRed, px565::Red(dst.GetPixel16(1, 0))) << c.level;
        EXPECT_EQ(c.tailRed, px565::Red(dst.GetPixel16(2, 0))) << c.level;
    }
}

TEST(SurfaceBlend, KeyedAlphaWithoutKeyBlendsAtTheLevel)
{
    CQVMemBitmap src, a, b;
    ASSERT_TRUE(src.Create(5, 2));
    ASSERT_TRUE(a.Create(5, 2));
    ASSERT_TRUE(b.Create(5, 2));
    FillRandom(src, 1);
    FillRandom(a, 2);
    FillRandom(b, 2);
    EXPECT_TRUE(a.AlphaBlendKeyed(&src, NULL, 0, 0, 99));
    EXPECT_TRUE(b.AlphaBlend(&src, NULL, 0, 0, 99));
    EXPECT_EQ(PixelsOf(b), PixelsOf(a));
}

TEST(SurfaceBlend, KeyedAlphaBlendsThePartnerOfAKeyAlone)
{
    // White at 255 over black: 31 in a pair, 30 alone.
    CQVMemBitmap src, dst;
    Load(src, 5, 1, {0xF81F, 0xFFFF, 0xFFFF, 0xF81F, 0xFFFF});
    Load(dst, 5, 1, {0, 0, 0, 0, 0});
    src.SetKeyColor(RGB(255, 0, 255));
    EXPECT_TRUE(dst.AlphaBlendKeyed(&src, NULL, 0, 0, 255));
    EXPECT_EQ(0, dst.GetPixel16(0, 0));
    EXPECT_EQ(30, px565::Red(dst.GetPixel16(1, 0)));  // partner of a key, low half
    EXPECT_EQ(30, px565::Red(dst.GetPixel16(2, 0)));  // partner of a key, high half
    EXPECT_EQ(0, dst.GetPixel16(3, 0));
    EXPECT_EQ(30, px565::Red(dst.GetPixel16(4, 0)));  // odd tail
}

// ---- Rotation -------------------------------------------------------------------------------

TEST(SurfaceRotate, WholeTurnsAreBlits)
{
    CQVMemBitmap src;
    ASSERT_TRUE(src.Create(5, 3));
    FillRandom(src, 5);
    const RECT part = {1, 0, 4, 3};
    const struct
    {
        double angle;
        Mapping turn;
    } cases[] = {{0, Mapping::Plain},      {360, Mapping::Plain},     {-360, Mapping::Plain},
                 {90, Mapping::Rotate90},  {-270, Mapping::Rotate90}, {180, Mapping::Rotate180},
                 {270, Mapping::Rotate270}, {-90, Mapping::Rotate270}};
    for (const auto& c : cases) {
        CQVMemBitmap got, turned, want;
        ASSERT_TRUE(got.Create(8, 8));
        ASSERT_TRUE(want.Create(8, 8));
        got.FillRect(0, 0, 8, 8, 0x1234);
        want.FillRect(0, 0, 8, 8, 0x1234);
        // The origin and clip of the destination apply as to a blit.
        const RECT clip = {1, 0, 7, 8};
        got.SetClipRect(&clip);
        want.SetClipRect(&clip);
        got.SetOrigin(1, 1);
        want.SetOrigin(1, 1);
        ASSERT_TRUE(turned.Create(3, 3));  // the part is square
        const Draw d{Op::Copy, c.turn, 0};
        RunDraw(turned, &src, NULL, &part, 0, 0, d);
        EXPECT_TRUE(want.Blit(&turned, NULL, -1, 2));
        EXPECT_TRUE(got.DrawRotated(c.angle, &src, &part, -1, 2, RGB(9, 9, 9)));
        EXPECT_EQ(PixelsOf(want), PixelsOf(got)) << c.angle;
    }
}

TEST(SurfaceRotate, CoversItsSizeWithPictureAndBackgroundOnly)
{
    CQVMemBitmap src, dst;
    ASSERT_TRUE(src.Create(21, 11));
    src.FillRect(0, 0, 21, 11, 0xFFFF);
    const double angles[] = {30, -30, 10, 44.9, 100, 200, 300, 1e6};
    for (double angle : angles) {
        ASSERT_TRUE(dst.Create(60, 60));
        dst.FillRect(0, 0, 60, 60, 0x1111);
        const DWORD size = CQVMemBitmap::RotatedSize(angle, 21, 11);
        const int w = size & 0xFFFF, h = size >> 16;
        EXPECT_TRUE(dst.DrawRotated(angle, &src, NULL, 5, 7, RGB(0, 0, 0)));
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 60; ++x) {
                const bool inside = x >= 5 && x < 5 + w && y >= 7 && y < 7 + h;
                if (!inside) {
                    ASSERT_EQ(0x1111, dst.GetPixel16(x, y)) << angle << " wrote outside at " << x << "," << y;
                }
            }
        // The corners are background, the centre is the picture.
        EXPECT_EQ(0, dst.GetPixel16(5, 7)) << angle;
        EXPECT_EQ(0, dst.GetPixel16(5 + w - 1, 7 + h - 1)) << angle;
        EXPECT_EQ(0xFFFF, dst.GetPixel16(5 + w / 2, 7 + h / 2)) << angle;
    }
}

TEST(SurfaceRotate, TurnsCounterClockwiseLikeAQuarterTurn)
{
    // A mark at the right end of the middle row rises when turned by 40.
    CQVMemBitmap src, dst;
    ASSERT_TRUE(src.Create(41, 41));
    src.FillRect(0, 0, 41, 41, 0);
    src.FillRect(36, 19, 4, 3, 0xFFFF);
    ASSERT_TRUE(dst.Create(80, 80));
    dst.FillRect(0, 0, 80, 80, 0);
    ASSERT_TRUE(dst.DrawRotated(40, &src, NULL, 0, 0, RGB(0, 0, 0)));
    const DWORD size = CQVMemBitmap::RotatedSize(40, 41, 41);
    const double cx = (size & 0xFFFF) / 2.0, cy = (size >> 16) / 2.0;
    double sx = 0, sy = 0, weight = 0;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 80; ++x) {
            const int v = px565::Green(dst.GetPixel16(x, y));
            sx += v * (x + 0.5);
            sy += v * (y + 0.5);
            weight += v;
        }
    ASSERT_GT(weight, 0);
    const double angle = atan2(cy - sy / weight, sx / weight - cx) * 180 / 3.141592653589793;
    const double radius = hypot(sx / weight - cx, sy / weight - cy);
    EXPECT_NEAR(40, angle, 3);
    EXPECT_NEAR(17.5, radius, 1.5);
}

TEST(SurfaceRotate, RefusesUnusableAngles)
{
    CQVMemBitmap src, dst;
    ASSERT_TRUE(src.Create(4, 4));
    ASSERT_TRUE(dst.Create(4, 4));
    EXPECT_FALSE(dst.DrawRotated(NAN, &src, NULL, 0, 0, 0));
    EXPECT_FALSE(dst.DrawRotated(-INFINITY, &src, NULL, 0, 0, 0));
    EXPECT_FALSE(dst.DrawRotated(30, NULL, NULL, 0, 0, 0));
    // Equal angles give equal pictures.
    CQVMemBitmap a, b;
    ASSERT_TRUE(a.Create(20, 20));
    ASSERT_TRUE(b.Create(20, 20));
    FillRandom(src, 3);
    a.FillRect(0, 0, 20, 20, 0);
    b.FillRect(0, 0, 20, 20, 0);
    a.DrawRotated(-30, &src, NULL, 2, 2, 0);
    b.DrawRotated(330, &src, NULL, 2, 2, 0);
    EXPECT_EQ(PixelsOf(a), PixelsOf(b));
}

// The keyed row copies against the pixel-by-pixel rule: every width up to
// past two SSE2 blocks, keys at the ends of the range and pixels that
// differ from the key in one bit only (the top one, the lowest one).
TEST(SurfaceKeyed, RowCopiesSkipExactlyTheKeyPixels)
{
    const uint16_t keys[] = {0x0000, 0xFFFF, 0x8000, 0x7FFF, 0xF81F};
    for (uint16_t key : keys) {
        const uint16_t lookalike[] = {key, uint16_t(key ^ 0x8000), uint16_t(key ^ 0x0001), uint16_t(key ^ 0x0100),
                                 0x1234, key};
        for (int32_t n = 0; n <= 35; ++n) {
            std::vector<uint16_t> src(size_t(n) + 1), before(size_t(n) + 1);
            uint32_t x = 0x9E3779B9u * uint32_t(n + 1) + key;
            for (int32_t j = 0; j <= n; ++j) {
                x = x * 1103515245u + 12345u;
                src[size_t(j)] = lookalike[(x >> 16) % 6];
                before[size_t(j)] = uint16_t(x >> 8);
            }
            std::vector<uint16_t> expected = before;
            for (int32_t j = 0; j < n; ++j)
                if (src[size_t(j)] != key)
                    expected[size_t(j)] = src[size_t(j)];
            std::vector<uint16_t> fast = before, portable = before;
            qvsurf::CopyKeyedRow(fast.data(), src.data(), n, key);
            qvsurf::CopyKeyedRowPortable(portable.data(), src.data(), n, key);
            EXPECT_EQ(fast, expected) << "key " << key << " width " << n;   // the pixel past the row stays too
            EXPECT_EQ(portable, expected) << "key " << key << " width " << n;
        }
    }
}
