// Capture and compression of one 800 x 600 frame against the recorder's
// 100 ms frame interval. Prints figures; checks nothing.
// Run: scripts/wine-run.sh build/x64/bin/bench_recorder.exe [frames]
#include <windows.h>
#include <vfw.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "CaptureRecorder.h"
#include "Msvc1Encoder.h"

int main(int argc, char** argv)
{
    const int frames = argc > 1 ? atoi(argv[1]) : 50;
    CaptureRecorder recorder;
    LARGE_INTEGER f, t0, t1, t2;
    QueryPerformanceFrequency(&f);
    double capture = 0, compress = 0;
    std::vector<uint8_t> out(vidrelle::Msvc1MaxSize(800, 600));
    size_t bytes = 0;
    for (int i = 0; i < frames; ++i) {
        QueryPerformanceCounter(&t0);
        BITMAPINFOHEADER* frame = recorder.CaptureFrame(0, 0, 800, 600);
        QueryPerformanceCounter(&t1);
        if (!frame) {
            fprintf(stderr, "capture failed\n");
            return 1;
        }
        const uint8_t* bits = reinterpret_cast<const uint8_t*>(frame) + 40 + 4 * frame->biClrUsed;
        if (frame->biBitCount == 16)
            bytes = vidrelle::Msvc1EncodeRgb555(bits, 800, 600, 1600, out.data(), out.size());
        QueryPerformanceCounter(&t2);
        CaptureRecorder::FreeFrame(frame);
        capture += double(t1.QuadPart - t0.QuadPart) / f.QuadPart * 1000;
        compress += double(t2.QuadPart - t1.QuadPart) / f.QuadPart * 1000;
    }
    const double per = (capture + compress) / frames;
    printf("screen %d bpp, frames at %d bits, %d frames of 800x600\n", recorder.BitsPerPixel(), recorder.FrameBits(),
           frames);
    printf("capture  %.2f ms/frame\ncompress %.2f ms/frame (%zu bytes)\ntotal    %.2f ms = %.1f%% of the 100 ms interval\n",
           capture / frames, compress / frames, bytes, per, per);
    return 0;
}
