#include "MessageCompression.h"

#include "BlockCompress.h"
#include "DllBinding.h"

namespace {

typedef int (*ZlibStyleFn)(unsigned char*, unsigned long*, const unsigned char*, unsigned long);

const char* const kEntryNames[] = { "compress", "uncompress" };
enum { kCompressEntry, kUncompressEntry };

CDllBinding& Binding()
{
    static CDllBinding binding(kEntryNames, 2);   // created on first use
    return binding;
}

int CallEntry(int entry, void* dest, unsigned long* destLength, const void* source,
              unsigned long sourceLength)
{
    if (!LoadMessageCompressDll())
        return kMessageNoLibrary;
    auto fn = Binding().EntryAs<ZlibStyleFn>(entry);
    return fn(static_cast<unsigned char*>(dest), destLength,
              static_cast<const unsigned char*>(source), sourceLength);
}

} // namespace

BOOL LoadMessageCompressDll()
{
    return Binding().Bind("DIDuv.dll");
}

int MessageCompress(void* dest, unsigned long* destLength, const void* source,
                    unsigned long sourceLength)
{
    return CallEntry(kCompressEntry, dest, destLength, source, sourceLength);
}

int MessageUncompress(void* dest, unsigned long* destLength, const void* source,
                      unsigned long sourceLength)
{
    return CallEntry(kUncompressEntry, dest, destLength, source, sourceLength);
}

BOOL GetCompressedBodyLength(const void* body, uint32_t bodyLength, uint32_t maxRawLength,
                             uint32_t* rawLength)
{
    if (!body || !rawLength || bodyLength < 4)
        return FALSE;
    const uint32_t declared = ReadLe32(body);
    if (declared == 0 || declared > maxRawLength)
        return FALSE;
    *rawLength = declared;
    return TRUE;
}

BOOL ExpandCompressedBody(const void* body, uint32_t bodyLength, void* out, uint32_t rawLength)
{
    if (!body || !out || bodyLength < 4 || rawLength == 0 || ReadLe32(body) != rawLength)
        return FALSE;
    unsigned long written = rawLength;
    if (MessageUncompress(out, &written, static_cast<const BYTE*>(body) + 4, bodyLength - 4)
        != kMessageCompressOk)
        return FALSE;
    return written == rawLength;
}

uint32_t CompressMessageBody(const void* body, uint32_t length, void* out)
{
    if (!body || !out || length < kMinCompressedBodyLength)
        return 0;
    unsigned long written = length - 4;
    if (MessageCompress(static_cast<BYTE*>(out) + 4, &written, body, length) != kMessageCompressOk
        || written == 0 || written > length - 4)
        return 0;
    WriteLe32(out, length);
    return uint32_t(written) + 4;
}
