#include "BodyCompression.h"

#include <zlib.h>

#include <cstring>

namespace tableserver {

namespace {

uint32_t ReadLe32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void WriteLe32(uint8_t* p, uint32_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}

}  // namespace

bool CompressBody(const uint8_t* body, size_t length, std::vector<uint8_t>& out)
{
    out.clear();
    if (!body || length < kMinCompressedBody || length > UINT32_MAX)
        return false;
    // Room for the prefix and no more than the plain body.
    std::vector<uint8_t> packed(length);
    uLongf written = static_cast<uLongf>(length - kCompressedPrefixSize);
    if (compress2(packed.data() + kCompressedPrefixSize, &written, body, static_cast<uLong>(length),
                  Z_DEFAULT_COMPRESSION) != Z_OK)
        return false;  // Z_BUF_ERROR: it would not get smaller
    WriteLe32(packed.data(), static_cast<uint32_t>(length));
    packed.resize(kCompressedPrefixSize + written);
    out.swap(packed);
    return true;
}

bool ExpandBody(const uint8_t* data, size_t length, uint32_t maxPlainLength,
                std::vector<uint8_t>& out, std::string& why)
{
    out.clear();
    if (!data || length < kCompressedPrefixSize) {
        why = "compressed body of " + std::to_string(length) + " bytes has no length prefix";
        return false;
    }
    const uint32_t declared = ReadLe32(data);
    if (declared == 0 || declared > maxPlainLength) {
        why = "compressed body declares " + std::to_string(declared) + " bytes (cap " +
              std::to_string(maxPlainLength) + ")";
        return false;
    }
    std::vector<uint8_t> plain(declared);
    uLongf written = declared;
    const int rc = uncompress(plain.data(), &written, data + kCompressedPrefixSize,
                              static_cast<uLong>(length - kCompressedPrefixSize));
    if (rc != Z_OK || written != declared) {
        why = rc == Z_BUF_ERROR ? "compressed body expands beyond its declared " +
                                      std::to_string(declared) + " bytes"
              : rc != Z_OK ? "compressed body is not valid zlib data"
                           : "compressed body expands to " + std::to_string(written) +
                                 " bytes, not the declared " + std::to_string(declared);
        return false;
    }
    out.swap(plain);
    return true;
}

}  // namespace tableserver
