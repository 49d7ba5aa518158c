// bench_graphics - speed of the 16-bit surface's blits against a plain
// memcpy of the same bytes and against GDI (BitBlt, TransparentBlt,
// AlphaBlend) on 16-bit DIB sections holding the same pictures. Prints a
// table; it is not a test and checks no speed.
//
// Usage: bench_graphics [seconds per figure, default 0.3]
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <functional>
#include <vector>

#include "QVMemBitmap.h"

namespace {

const WORD kKey = 0xF81F;  // magenta

double Now()
{
    static LARGE_INTEGER frequency = {};
    if (!frequency.QuadPart)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Microseconds per call of run(), repeated for about 'seconds'.
double Time(const std::function<void()>& run, double seconds)
{
    run();  // warm up
    long calls = 0;
    const double start = Now();
    double elapsed = 0;
    do {
        for (int i = 0; i < 8; ++i)
            run();
        calls += 8;
        elapsed = Now() - start;
    } while (elapsed < seconds);
    return elapsed * 1e6 / calls;
}

// A picture with a quarter of its pixels the key, the rest varied.
void Paint(CQVMemBitmap& s, unsigned seed)
{
    srand(seed);
    for (int y = 0; y < s.GetHeight(); ++y)
        for (int x = 0; x < s.GetWidth(); ++x) {
            WORD p = static_cast<WORD>(rand() & 0xFFFF);
            if (p == kKey || (x / 8 + y / 8) % 4 == 0)
                p = (x / 8 + y / 8) % 4 == 0 ? kKey : static_cast<WORD>(p ^ 1);
            s.FillRect(x, y, 1, 1, p);
        }
}

// A 16-bit DIB section in a memory DC holding a copy of a surface.
struct DibDC
{
    HDC dc = NULL;
    HBITMAP bitmap = NULL;
    HGDIOBJ old = NULL;

    explicit DibDC(const CQVMemBitmap& s)
    {
        void* bits = NULL;
        bitmap = CQVMemBitmap::CreateDIBSectionEx(s.GetWidth(), s.GetHeight(), 16, &bits);
        memcpy(bits, s.GetBits(), static_cast<size_t>(s.GetStride()) * s.GetHeight());
        dc = CreateCompatibleDC(NULL);
        old = SelectObject(dc, bitmap);
    }
    ~DibDC()
    {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
};

struct Row
{
    const char* name;
    double ours, memcpyUs, gdi;
};

void RunSize(int w, int h, double seconds)
{
    CQVMemBitmap src, dst;
    src.Create(w, h);
    dst.Create(w, h);
    Paint(src, 1);
    Paint(dst, 2);
    src.SetKeyColor16(kKey);
    const size_t bytes = static_cast<size_t>(src.GetStride()) * h;
    std::vector<unsigned char> from(bytes), to(bytes);
    memcpy(from.data(), src.GetBits(), bytes);

    DibDC gdiSrc(src), gdiDst(dst);
    BLENDFUNCTION half = {AC_SRC_OVER, 0, 128, 0};
    const COLORREF key = CQVMemBitmap::RGB565ToRGB(kKey);

    const double mem = Time([&] { memcpy(to.data(), from.data(), bytes); }, seconds);
    Row rows[] = {
        {"opaque (Blit / BitBlt)", Time([&] { dst.Blit(&src, NULL, 0, 0); }, seconds), mem,
         Time([&] { BitBlt(gdiDst.dc, 0, 0, w, h, gdiSrc.dc, 0, 0, SRCCOPY); GdiFlush(); }, seconds)},
        {"keyed (BlitKeyed / TransparentBlt)", Time([&] { dst.BlitKeyed(&src, NULL, 0, 0); }, seconds), mem,
         Time([&] { TransparentBlt(gdiDst.dc, 0, 0, w, h, gdiSrc.dc, 0, 0, w, h, key); GdiFlush(); }, seconds)},
        {"alpha 128 (AlphaBlend / AlphaBlend)", Time([&] { dst.AlphaBlend(&src, NULL, 0, 0, 128); }, seconds), mem,
         Time([&] { AlphaBlend(gdiDst.dc, 0, 0, w, h, gdiSrc.dc, 0, 0, w, h, half); GdiFlush(); }, seconds)},
        {"keyed alpha (AlphaBlendKeyed)", Time([&] { dst.AlphaBlendKeyed(&src, NULL, 0, 0, 128); }, seconds), mem, 0},
        {"additive (AddBlend)", Time([&] { dst.AddBlend(&src, NULL, 0, 0); }, seconds), mem, 0},
    };

    printf("\n%d x %d (%zu bytes; memcpy of them: %.2f us)\n", w, h, bytes, mem);
    printf("  %-38s %10s %9s %10s %10s %9s\n", "operation", "ours us", "Mpix/s", "/memcpy", "GDI us", "GDI/ours");
    const double pixels = static_cast<double>(w) * h;
    for (const Row& r : rows) {
        printf("  %-38s %10.2f %9.1f %9.2fx", r.name, r.ours, pixels / r.ours, r.ours / r.memcpyUs);
        if (r.gdi > 0)
            printf(" %10.2f %8.2fx\n", r.gdi, r.gdi / r.ours);
        else
            printf(" %10s %9s\n", "-", "-");
    }
}

}  // namespace

int main(int argc, char** argv)
{
    const double seconds = argc > 1 ? atof(argv[1]) : 0.3;
    printf("bench_graphics: 16-bit surface blits against memcpy and GDI (16-bit DIB sections)\n");
    printf("  /memcpy: time of the operation over a memcpy of the same bytes (1.00x = as fast)\n");
    printf("  GDI/ours: GDI's time over ours (above 1 = ours faster)\n");
    RunSize(800, 600, seconds > 0 ? seconds : 0.3);
    RunSize(64, 64, seconds > 0 ? seconds : 0.3);
    return 0;
}
