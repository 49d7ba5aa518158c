#include "TableProtocol.h"

#include <algorithm>
#include <cstring>

namespace tableserver {

void PutU16(std::vector<uint8_t>& out, uint16_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void PutU32(std::vector<uint8_t>& out, uint32_t v)
{
    PutU16(out, uint16_t(v));
    PutU16(out, uint16_t(v >> 16));
}

uint32_t GetU32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

namespace {

// Copies a text into a fixed field: at most size - 1 characters, zero-padded.
template <size_t N>
void CopyField(char (&field)[N], const std::string& text)
{
    std::memset(field, 0, N);
    std::memcpy(field, text.data(), std::min(text.size(), N - 1));
}

}  // namespace

bool ReadName(const std::vector<uint8_t>& body, size_t offset, size_t size, std::string& out)
{
    if (offset >= body.size())
        return false;
    const size_t limit = std::min(size, body.size() - offset);
    const uint8_t* begin = body.data() + offset;
    const uint8_t* zero = static_cast<const uint8_t*>(std::memchr(begin, 0, limit));
    if (!zero)
        return false;
    out.assign(reinterpret_cast<const char*>(begin), static_cast<size_t>(zero - begin));
    return true;
}

bool ParseJoinRequest(const std::vector<uint8_t>& body, JoinRequest& out, std::string& why)
{
    if (body.size() < sizeof(JoinRequestBody)) {
        why = "join request of " + std::to_string(body.size()) + " bytes (expected " +
              std::to_string(sizeof(JoinRequestBody)) + ")";
        return false;
    }
    JoinRequestBody request;
    std::memcpy(&request, body.data(), sizeof request);
    if (!ReadName(body, offsetof(JoinRequestBody, userName), sizeof request.userName,
                  out.userName)) {
        why = "join request whose user name has no terminating zero";
        return false;
    }
    out.chair = request.chair;
    return true;
}

std::vector<uint8_t> BuildJoinReplyBody(const std::vector<JoinSeat>& seats,
                                        const std::string& roomOptions)
{
    std::vector<uint8_t> body;
    PutU16(body, static_cast<uint16_t>(seats.size()));
    PutU16(body, 0);  // the second value: no use at this table
    for (size_t chair = 0; chair < seats.size(); ++chair) {
        JoinPlayerRecord record;
        std::memset(&record, 0, sizeof record);
        record.chairAndCodePage = uint32_t(chair) | uint32_t(kCodePage) << 16;
        CopyField(record.userName, seats[chair].userName);
        CopyField(record.nickname, seats[chair].nickname);
        record.value = seats[chair].value;
        const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&record);
        body.insert(body.end(), bytes, bytes + sizeof record);
    }
    // The option text ends the body, so no second blob follows it.
    PutU32(body, static_cast<uint32_t>(roomOptions.size() + 1));
    body.insert(body.end(), roomOptions.begin(), roomOptions.end());
    body.push_back(0);
    return body;
}

Message JoinReply(uint32_t result, std::vector<uint8_t> body)
{
    return Message(ReplyId(msgid::kJoin), std::move(body), result);
}

std::vector<uint8_t> TextBody(const std::string& text)
{
    std::vector<uint8_t> body(text.begin(), text.end());
    body.push_back(0);
    return body;
}

void PutName20(std::vector<uint8_t>& out, const std::string& name)
{
    char field[20];
    CopyField(field, name);
    out.insert(out.end(), field, field + sizeof field);
}

Message TrustStateNotice(uint32_t result, uint16_t mode, uint8_t used, uint8_t limit,
                         const std::string& name)
{
    std::vector<uint8_t> body;
    PutU16(body, mode);
    body.push_back(used);
    body.push_back(limit);
    const std::vector<uint8_t> text = TextBody(name);
    body.insert(body.end(), text.begin(), text.end());
    return Message(ReplyId(msgid::kTrustPlay), std::move(body), result);
}

FlatMessage::FlatMessage(const Message& message)
{
    const size_t header = HeaderSize(message.id);
    words_.assign((header + message.body.size() + 3) / 4, 0);
    NetMsgHeader* block = get();
    block->id = message.id;
    block->length = static_cast<uint32_t>(message.body.size());
    if (header == kLongHeaderSize)
        block->extra = message.result;
    if (!message.body.empty())
        std::memcpy(reinterpret_cast<uint8_t*>(block) + header, message.body.data(),
                    message.body.size());
}

bool MessageFromBoard(const NetMsgHeader* block, Message& out)
{
    if (!block || block->length > kMaxBodyLength)
        return false;
    out.id = block->id;
    out.result = (block->id & kReplyBit) ? block->extra : 0;
    const uint8_t* body = reinterpret_cast<const uint8_t*>(block) + HeaderSize(block->id);
    out.body.assign(body, body + block->length);
    return true;
}

}  // namespace tableserver
