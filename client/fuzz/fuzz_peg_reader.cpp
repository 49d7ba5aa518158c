// Arbitrary bytes through the saved-game reader: it must refuse or accept
// without reading outside the bytes, and every entry it accepts must lie
// inside them with a length that agrees with its message.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "PegFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    peg::File file;
    if (peg::ReadFile(data, size, &file) != peg::kReadOk)
        return 0;
    for (const peg::Entry& entry : file.entries) {
        if (entry.offset < peg::kDataOffset || entry.offset + entry.length > size ||
            peg::MessageLength(data + entry.offset, entry.length) != entry.length)
            abort();
    }
    return 0;
}
