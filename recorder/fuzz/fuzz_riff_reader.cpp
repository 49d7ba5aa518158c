// Reads arbitrary bytes as a RIFF file (the recorder's WAV and AVI files).
#include <cstddef>
#include <cstdint>
#include <string>

#include "RecorderCore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    vidrelle::RiffChunk root;
    std::string error;
    if (vidrelle::ParseRiff(data, size, root, error)) {
        // Every chunk lies inside the input.
        for (const vidrelle::RiffChunk& c : root.children)
            if (c.dataOffset + c.size > size)
                __builtin_trap();
        root.Find("data");
        root.FindList("hdrl");
    }
    return 0;
}
