#include "MessageFrame.h"

#include <cstdio>
#include <cstring>

#include "BodyCompression.h"

namespace tableserver {

namespace {

void PutLe32(std::vector<uint8_t>& out, uint32_t v)
{
    const uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
    out.insert(out.end(), b, b + 4);
}

uint32_t GetLe32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

std::string Hex(uint32_t v)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", v);
    return text;
}

}  // namespace

std::vector<uint8_t> EncodeFrame(const Message& message, bool mayCompress)
{
    std::vector<uint8_t> packed;
    const bool compressed = mayCompress && message.id != kEndOfGameId &&
                            CompressBody(message.body.data(), message.body.size(), packed);
    const std::vector<uint8_t>& body = compressed ? packed : message.body;

    std::vector<uint8_t> frame;
    frame.reserve(kLongHeaderSize + body.size());
    PutLe32(frame, compressed ? (message.id | kCompressedBit) : message.id);
    PutLe32(frame, static_cast<uint32_t>(body.size()));
    if (message.id & kReplyBit)
        PutLe32(frame, message.result);
    frame.insert(frame.end(), body.begin(), body.end());
    return frame;
}

FrameReader::FrameReader(uint32_t maxBodyLength) : maxBodyLength_(maxBodyLength) {}

void FrameReader::Append(const uint8_t* data, size_t length)
{
    if (!error_.empty() || length == 0)
        return;
    // Drop what was consumed before growing.
    if (start_ > 0 && start_ == buffer_.size()) {
        buffer_.clear();
        start_ = 0;
    } else if (start_ > 4096 && start_ * 2 > buffer_.size()) {
        buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(start_));
        start_ = 0;
    }
    buffer_.insert(buffer_.end(), data, data + length);
}

FrameReader::Status FrameReader::Fail(std::string why)
{
    error_ = std::move(why);
    buffer_.clear();
    start_ = 0;
    return Status::kError;
}

FrameReader::Status FrameReader::Next(Message& out)
{
    if (!error_.empty())
        return Status::kError;
    const size_t available = buffer_.size() - start_;
    if (available < kShortHeaderSize)
        return Status::kNeedMore;
    const uint8_t* head = buffer_.data() + start_;
    const uint32_t wireId = GetLe32(head);
    const uint32_t length = GetLe32(head + 4);
    const bool compressed = IsCompressedOnWire(wireId);
    // Nothing above the cap is waited for (a compressed form is never longer
    // than the plain body it stands for).
    if (length > maxBodyLength_)
        return Fail("message " + Hex(wireId) + " declares a body of " + std::to_string(length) +
                    " bytes (cap " + std::to_string(maxBodyLength_) + ")");
    const uint32_t headerSize = HeaderSize(wireId);
    if (available < size_t(headerSize) + length)
        return Status::kNeedMore;

    out.id = compressed ? (wireId & ~kCompressedBit) : wireId;
    out.result = headerSize == kLongHeaderSize ? GetLe32(head + 8) : 0;
    const uint8_t* body = head + headerSize;
    if (compressed) {
        std::string why;
        if (!ExpandBody(body, length, maxBodyLength_, out.body, why))
            return Fail("message " + Hex(wireId) + ": " + why);
    } else {
        out.body.assign(body, body + length);
    }
    start_ += headerSize + length;
    return Status::kMessage;
}

}  // namespace tableserver
