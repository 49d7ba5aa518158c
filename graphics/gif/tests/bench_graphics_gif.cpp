// Benchmark: our GIF decoder against FreeImage's GIF loading (CQVImage.dll)
// on the same files in the same run. Prints figures; checks nothing.
//
// Run: scripts/wine-run.sh BUILD/bin/bench_graphics_gif.exe [more.gif ...]
// The files are read beside the program: fixtures/gif_bench (made by
// ImageMagick at build time) and fixtures/gif.
#include <windows.h>
#include <stdio.h>

#include <string>
#include <vector>

#include "FreeImage.h"
#include "GifDecoder.h"
#include "GifPicture.h"

namespace {

using Bytes = std::vector<BYTE>;

double Now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Milliseconds per call: the best of five rounds, each of as many calls as
// fit in about 100 ms (at least one).
template <typename F>
double Time(F&& call)
{
    double best = 1e30;
    for (int round = 0; round < 5; ++round) {
        const double start = Now();
        int calls = 0;
        double elapsed = 0;
        do {
            call();
            ++calls;
            elapsed = Now() - start;
        } while (elapsed < 0.1);
        const double ms = elapsed * 1000.0 / calls;
        if (ms < best)
            best = ms;
    }
    return best;
}

// All frames through our pure decoder; answers the pixel count.
size_t OursCore(const Bytes& gif)
{
    gifcore::Reader reader;
    if (!reader.Open(gif.data(), gif.size(), true))
        return 0;
    gifcore::Image image;
    size_t pixels = 0;
    while (reader.ReadImage(image) == gifcore::ReadResult::Image)
        pixels += static_cast<size_t>(image.width) * image.height;
    return pixels;
}

// All frames as DIB sections with palettes.
int OursDib(const Bytes& gif)
{
    CGifReader reader;
    if (reader.OpenMemory(gif.data(), static_cast<DWORD>(gif.size()), TRUE) != 0)
        return 0;
    int frames = 0;
    for (;;) {
        HBITMAP bitmap = NULL;
        HPALETTE palette = NULL;
        if (reader.ReadImage(NULL, NULL, NULL, NULL, &bitmap, NULL, NULL, &palette, NULL, NULL) != 1)
            break;
        DeleteObject(bitmap);
        DeleteObject(palette);
        ++frames;
    }
    return frames;
}

// The first frame as FreeImage loads it.
bool FreeImageFirst(Bytes& gif)
{
    FIMEMORY* memory = FreeImage_OpenMemory(gif.data(), static_cast<DWORD>(gif.size()));
    FIBITMAP* bitmap = FreeImage_LoadFromMemory(FIF_GIF, memory, GIF_DEFAULT);
    const bool ok = bitmap != NULL;
    FreeImage_Unload(bitmap);
    FreeImage_CloseMemory(memory);
    return ok;
}

// Every frame through FreeImage's multi-page interface.
int FreeImageAll(Bytes& gif)
{
    FIMEMORY* memory = FreeImage_OpenMemory(gif.data(), static_cast<DWORD>(gif.size()));
    FIMULTIBITMAP* multi = FreeImage_LoadMultiBitmapFromMemory(FIF_GIF, memory, GIF_DEFAULT);
    int frames = 0;
    if (multi) {
        const int count = FreeImage_GetPageCount(multi);
        for (int i = 0; i < count; ++i) {
            if (FIBITMAP* page = FreeImage_LockPage(multi, i)) {
                ++frames;
                FreeImage_UnlockPage(multi, page, FALSE);
            }
        }
        FreeImage_CloseMultiBitmap(multi, 0);
    }
    FreeImage_CloseMemory(memory);
    return frames;
}

void Bench(const std::string& path)
{
    std::vector<BYTE> gif;
    if (!ReadWholeFile(path.c_str(), gif, 256u << 20) || gif.empty()) {
        printf("%-44s (missing)\n", path.c_str());
        return;
    }
    const size_t pixels = OursCore(gif);
    const int frames = OursDib(gif);
    if (pixels == 0) {
        printf("%-44s (not decoded)\n", path.c_str());
        return;
    }

    gifcore::Reader first;
    first.Open(gif.data(), gif.size(), true);
    gifcore::Image image;
    first.ReadImage(image);

    const double core = Time([&] { OursCore(gif); });
    const double dib = Time([&] { OursDib(gif); });
    const double decode = Time([&] { DeleteObject(DecodeGifPicture(gif.data(), static_cast<DWORD>(gif.size()))); });
    const double fiFirst = Time([&] { FreeImageFirst(gif); });
    const double fiAll = frames > 1 ? Time([&] { FreeImageAll(gif); }) : fiFirst;
    const double firstCore = Time([&] {
        gifcore::Reader r;
        r.Open(gif.data(), gif.size(), true);
        gifcore::Image im;
        r.ReadImage(im);
    });

    const std::string name = path.substr(path.find_last_of("\\/") + 1);
    printf("%-26s %4dx%-4d %2d %7zu | %8.3f %8.3f %9.3f | %8.3f %8.3f %9.3f | %6.1f\n", name.c_str(), image.width,
           image.height, frames, gif.size(), firstCore, decode, fiFirst, core, dib, fiAll, pixels / core / 1000.0);
}

}  // namespace

// The folder of the running program, with a trailing backslash.
std::string ProgramFolder()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(NULL, path, MAX_PATH);
    std::string folder = path;
    const size_t slash = folder.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}

int main(int argc, char** argv)
{
    setvbuf(stdout, NULL, _IONBF, 0);
    printf("GIF decoding, ms per call (best of 5 rounds of about 100 ms)\n"
           "first frame: ours = pure decoder; bitmap = DecodeGifPicture (screen bitmap); FreeImage_LoadFromMemory\n"
           "all frames:  ours = pure decoder; DIBs = CGifReader::ReadImage; FreeImage multi-page, every page locked\n\n"
           "%-26s %-9s %2s %7s | %8s %8s %9s | %8s %8s %9s | %6s\n",
           "file", "size", "fr", "bytes", "ours", "bitmap", "FreeImage", "ours", "DIBs", "FreeImage", "Mpx/s");
    const std::string here = ProgramFolder();
    std::vector<std::string> files = {
        "fixtures\\gif_bench\\plasma800.gif",  "fixtures\\gif_bench\\plasma800_interlaced.gif",
        "fixtures\\gif_bench\\gradient640.gif", "fixtures\\gif_bench\\icon64.gif",
        "fixtures\\gif_bench\\frames200.gif",  "fixtures\\gif\\noise.gif",
        "fixtures\\gif\\anim.gif",
    };
    for (std::string& f : files)
        f = here + f;
    for (int i = 1; i < argc; ++i)
        files.push_back(argv[i]);
    for (const std::string& f : files)
        Bench(f);
    return 0;
}
