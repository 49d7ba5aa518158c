// bench_odctrl_skin_image - the skin image's tile mode (one cached, prepared
// copy per paint) against drawing the same cell once per tile, and the
// stretch mode, over rectangles of window sizes on a 32-bit memory DC, opaque
// and with a transparent colour. Prints a table of microseconds per paint
// and the ratio; it is not a test and checks no speed.
//
// Usage: bench_odctrl_skin_image [seconds per figure, default 0.3]
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include <functional>

#include "ODSkinImage.h"

namespace {

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
    run();  // warm up (the tile cache is made here)
    long calls = 0;
    const double start = Now();
    double elapsed = 0;
    do {
        run();
        ++calls;
        elapsed = Now() - start;
    } while (elapsed < seconds);
    return elapsed * 1e6 / calls;
}

// A cell of 16 x 16 with a magenta corner (the transparent colour).
HBITMAP Cell()
{
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = 16;
    bi.bmiHeader.biHeight = -16;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    DWORD* bits = NULL;
    HBITMAP b = CreateDIBSection(NULL, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), NULL, 0);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            bits[y * 16 + x] = (x < 3 && y < 3) ? 0xFF00FF : static_cast<DWORD>(0x203040 + x * 0x0A0000 + y * 0x000A00);
    return b;
}

}  // namespace

int main(int argc, char** argv)
{
    const double seconds = argc > 1 ? atof(argv[1]) : 0.3;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = 1024;
    bi.bmiHeader.biHeight = -768;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* pixels = NULL;
    HDC dc = CreateCompatibleDC(NULL);
    HBITMAP target = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &pixels, NULL, 0);
    SelectObject(dc, target);
    CDC* pDC = CDC::FromHandle(dc);

    printf("%-34s %12s %12s %8s\n", "rectangle (16 x 16 cells)", "tile mode", "per cell", "ratio");
    const SIZE sizes[] = {{64, 64}, {320, 240}, {800, 600}, {1024, 768}};
    for (int transparent = -1; transparent <= 0; ++transparent) {
        for (const SIZE& s : sizes) {
            CBitmap bitmap;
            bitmap.Attach(Cell());
            CODSkinImage tiled, single;
            tiled.CreateFromBitmap(&bitmap, transparent, 1, 1, 1, 0, FALSE);
            single.CreateFromBitmap(&bitmap, transparent, 1, 1, 1, 0, FALSE);
            tiled.SetDrawMode(CODSkinImage::DrawTile);
            const CRect rect(0, 0, s.cx, s.cy);
            const double tile = Time([&] { tiled.Draw(pDC, rect, 0); }, seconds);
            const double each = Time(
                [&] {
                    for (int y = 0; y < s.cy; y += 16)
                        for (int x = 0; x < s.cx; x += 16)
                            single.Draw(pDC, CRect(x, y, x + 16, y + 16), 0);
                },
                seconds);
            char label[64];
            snprintf(label, sizeof label, "%ld x %ld %s", s.cx, s.cy, transparent == -1 ? "opaque" : "transparent");
            printf("%-34s %10.1f us %10.1f us %7.1fx\n", label, tile, each, each / tile);
        }
    }

    printf("\n%-34s %12s\n", "stretch mode (cell 16 x 16)", "per paint");
    for (const SIZE& s : sizes) {
        CBitmap bitmap;
        bitmap.Attach(Cell());
        CODSkinImage image;
        image.CreateFromBitmap(&bitmap, 0, 1, 1, 1, 0, FALSE);
        image.SetDrawMode(CODSkinImage::DrawStretch);
        const CRect rect(0, 0, s.cx, s.cy);
        char label[64];
        snprintf(label, sizeof label, "%ld x %ld", s.cx, s.cy);
        printf("%-34s %10.1f us\n", label, Time([&] { image.Draw(pDC, rect, 0); }, seconds));
    }
    DeleteDC(dc);
    DeleteObject(target);
    return 0;
}
