#include "Script.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <sstream>

#include "PlayerExtras.h"
#include "TableProtocol.h"

namespace tableserver {

namespace {

constexpr auto kCloseGrace = std::chrono::seconds(2);

bool ParseUnsigned(const std::string& text, uint64_t max, uint64_t& out)
{
    if (text.empty() || text[0] == '-')
        return false;
    errno = 0;
    char* end = nullptr;
    const unsigned long long v = std::strtoull(text.c_str(), &end, 0);
    if (errno != 0 || *end != '\0' || v > max)
        return false;
    out = v;
    return true;
}

bool ParseSigned32(const std::string& text, int32_t& out)
{
    errno = 0;
    char* end = nullptr;
    const long long v = std::strtoll(text.c_str(), &end, 0);
    if (text.empty() || errno != 0 || *end != '\0' || v < INT32_MIN || v > INT32_MAX)
        return false;
    out = int32_t(v);
    return true;
}

bool ParseHex(const std::string& text, std::vector<uint8_t>& out)
{
    if (text.size() % 2 != 0)
        return false;
    for (size_t i = 0; i < text.size(); i += 2) {
        uint8_t byte = 0;
        for (size_t k = 0; k < 2; ++k) {
            const char c = text[i + k];
            const int digit = c >= '0' && c <= '9'   ? c - '0'
                              : c >= 'a' && c <= 'f' ? c - 'a' + 10
                              : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                     : -1;
            if (digit < 0)
                return false;
            byte = uint8_t(byte << 4 | digit);
        }
        out.push_back(byte);
    }
    return true;
}

std::string HexText(const std::vector<uint8_t>& bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (uint8_t b : bytes) {
        text.push_back(digits[b >> 4]);
        text.push_back(digits[b & 15]);
    }
    return text;
}

std::string IdText(uint32_t id)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", id);
    return text;
}

// One FIELD of a send step appended to body; false with the reason.
bool AppendField(const std::string& field, std::vector<uint8_t>& body, std::string& why)
{
    const size_t colon = field.find(':');
    if (colon == std::string::npos) {
        why = "field \"" + field + "\" has no kind";
        return false;
    }
    const std::string kind = field.substr(0, colon);
    const std::string value = field.substr(colon + 1);
    uint64_t n = 0;
    if (kind == "u8" && ParseUnsigned(value, 0xFF, n)) {
        body.push_back(uint8_t(n));
    } else if (kind == "u16" && ParseUnsigned(value, 0xFFFF, n)) {
        PutU16(body, uint16_t(n));
    } else if (kind == "u32" && ParseUnsigned(value, 0xFFFFFFFF, n)) {
        PutU32(body, uint32_t(n));
    } else if (kind == "i32") {
        int32_t v = 0;
        if (!ParseSigned32(value, v)) {
            why = "bad number in \"" + field + "\"";
            return false;
        }
        PutU32(body, uint32_t(v));
    } else if (kind == "str") {
        body.insert(body.end(), value.begin(), value.end());
        body.push_back(0);
    } else if (kind.compare(0, 5, "char[") == 0 && kind.back() == ']') {
        if (!ParseUnsigned(kind.substr(5, kind.size() - 6), kMaxBodyLength, n) || n == 0) {
            why = "bad size in \"" + kind + "\"";
            return false;
        }
        if (value.size() >= n) {
            why = "text of \"" + field + "\" does not fit " + std::to_string(n) + " bytes";
            return false;
        }
        std::vector<uint8_t> fixed(n, 0);
        std::copy(value.begin(), value.end(), fixed.begin());
        body.insert(body.end(), fixed.begin(), fixed.end());
    } else if (kind == "hex") {
        if (!ParseHex(value, body)) {
            why = "bad hex in \"" + field + "\"";
            return false;
        }
    } else {
        why = "bad field \"" + field + "\"";
        return false;
    }
    return true;
}

bool ParseStep(const std::vector<std::string>& words, ScriptStep& step, std::string& why)
{
    const std::string& verb = words[0];
    const size_t count = words.size();
    uint64_t n = 0;
    if (verb == "expect" && count == 2 && ParseUnsigned(words[1], 0xFFFFFFFF, n)) {
        step.kind = ScriptStep::Kind::kExpect;
        step.id = uint32_t(n);
    } else if (verb == "join-reply" && count <= 2) {
        step.kind = ScriptStep::Kind::kJoinReply;
        step.result = kResultOk;
        if (count == 2) {
            if (!ParseUnsigned(words[1], 0xFFFFFFFF, n)) {
                why = "bad result \"" + words[1] + "\"";
                return false;
            }
            step.result = uint32_t(n);
        }
    } else if (verb == "send" && count >= 2 && ParseUnsigned(words[1], 0xFFFFFFFF, n)) {
        step.kind = ScriptStep::Kind::kSend;
        step.id = uint32_t(n);
        size_t i = 2;
        if (i < count && words[i].compare(0, 7, "result=") == 0) {
            if (!ParseUnsigned(words[i].substr(7), 0xFFFFFFFF, n)) {
                why = "bad \"" + words[i] + "\"";
                return false;
            }
            step.result = uint32_t(n);
            ++i;
        }
        for (; i < count; ++i)
            if (!AppendField(words[i], step.bytes, why))
                return false;
        if (step.bytes.size() > kMaxBodyLength) {
            why = "body above " + std::to_string(kMaxBodyLength) + " bytes";
            return false;
        }
    } else if (verb == "extra" && count == 2) {
        uint32_t id = 0;
        std::vector<uint8_t> body;
        if (!ExtraByName(words[1], {}, "", &id, &body)) {
            why = "no extra \"" + words[1] + "\"";
            return false;
        }
        step.kind = ScriptStep::Kind::kExtra;
        step.name = words[1];
    } else if (verb == "raw" && count >= 2) {
        step.kind = ScriptStep::Kind::kRaw;
        for (size_t i = 1; i < count; ++i)
            if (!ParseHex(words[i], step.bytes)) {
                why = "bad hex \"" + words[i] + "\"";
                return false;
            }
    } else if (verb == "compress" && count == 2 && (words[1] == "on" || words[1] == "off")) {
        step.kind = ScriptStep::Kind::kCompress;
        step.number = words[1] == "on";
    } else if (verb == "sleep" && count == 2 && ParseUnsigned(words[1], 3600000, n)) {
        step.kind = ScriptStep::Kind::kSleep;
        step.number = uint32_t(n);
    } else if (verb == "wait-close" && count == 1) {
        step.kind = ScriptStep::Kind::kWaitClose;
    } else if (verb == "close" && count == 1) {
        step.kind = ScriptStep::Kind::kClose;
    } else {
        why = "cannot read \"" + verb + "\" step";
        return false;
    }
    return true;
}

}  // namespace

bool ParseScript(const std::string& text, std::vector<ScriptStep>& steps, std::string& error)
{
    steps.clear();
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        std::istringstream tokens(line);
        std::vector<std::string> words;
        for (std::string word; tokens >> word;)
            words.push_back(word);
        if (words.empty() || words[0][0] == '#')
            continue;
        ScriptStep step;
        step.line = number;
        std::string why;
        if (!ParseStep(words, step, why)) {
            error = "line " + std::to_string(number) + ": " + why;
            return false;
        }
        steps.push_back(std::move(step));
    }
    return true;
}

ScriptSession::ScriptSession(std::vector<ScriptStep> steps, RecordSink record,
                             std::string roomOptions, int timeoutMs, ServerLog& log)
    : steps_(std::move(steps)),
      record_(std::move(record)),
      roomOptions_(std::move(roomOptions)),
      timeout_(std::chrono::milliseconds(timeoutMs)),
      log_(log)
{
}

bool ScriptSession::OnConnected(Connection& connection, std::string& reason)
{
    if (served_) {
        reason = "scripted mode serves one client";
        return false;
    }
    served_ = true;
    connection_ = &connection;
    // The script says what it expects; the server's join time-out does not apply.
    connection.who.role = Participant::Role::kPlayer;
    connection.mayCompress = compress_;
    Advance(Clock::now());
    return true;
}

bool ScriptSession::OnMessage(Connection&, const Message& message, std::string&)
{
    std::string line = "recv " + IdText(message.id);
    if (message.id & kReplyBit)
        line += " result=" + std::to_string(message.result);
    line += " len=" + std::to_string(message.body.size()) + " " + HexText(message.body);
    record_(line);
    if (message.id == msgid::kJoin) {
        JoinRequest request;
        std::string why;
        if (ParseJoinRequest(message.body, request, why)) {
            joinUser_ = request.userName;
            joinChair_ = request.chair;
            haveJoin_ = true;
        }
    }
    received_.push_back(message.id);
    Advance(Clock::now());
    return true;
}

void ScriptSession::OnClosed(Connection& connection, const std::string& reason)
{
    if (&connection != connection_)
        return;  // a client turned away
    record_("closed: " + reason);
    connection_ = nullptr;
    Advance(Clock::now());
    if (!done_)
        Fail("connection closed before the script ended");
}

void ScriptSession::OnTick(Clock::time_point now)
{
    Advance(now);
}

int ScriptSession::MillisecondsToNextTick(Clock::time_point now) const
{
    if (done_ || !connection_ || !stepStarted_)
        return -1;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(stepDeadline_ - now);
    return left.count() < 0 ? 0 : int(left.count()) + 1;
}

void ScriptSession::Advance(Clock::time_point now)
{
    if (!served_)
        return;
    while (!done_ && next_ < steps_.size()) {
        if (!Step(steps_[next_], now))
            return;
        ++next_;
        stepStarted_ = false;
    }
    if (!done_)
        Finish();
}

bool ScriptSession::Step(const ScriptStep& step, Clock::time_point now)
{
    using Kind = ScriptStep::Kind;
    if (!stepStarted_) {
        stepStarted_ = true;
        stepDeadline_ = now + (step.kind == Kind::kSleep ? std::chrono::milliseconds(step.number)
                                                         : std::chrono::duration_cast<std::chrono::milliseconds>(timeout_));
    }
    const bool needsClient = step.kind == Kind::kSend || step.kind == Kind::kExtra || step.kind == Kind::kRaw ||
                             step.kind == Kind::kJoinReply || step.kind == Kind::kClose;
    if (needsClient && (!connection_ || connection_->closing())) {
        Fail("line " + std::to_string(step.line) + ": the connection is gone");
        return false;
    }
    switch (step.kind) {
    case Kind::kExpect:
        for (; scanned_ < received_.size(); ++scanned_)
            if (received_[scanned_] == step.id) {
                ++scanned_;
                return true;
            }
        if (!connection_)
            Fail("line " + std::to_string(step.line) + ": connection closed while expecting " + IdText(step.id));
        else if (now >= stepDeadline_)
            Fail("line " + std::to_string(step.line) + ": no message " + IdText(step.id) + " in time");
        return false;
    case Kind::kJoinReply: {
        if (!haveJoin_) {
            Fail("line " + std::to_string(step.line) + ": join-reply before the client's join request");
            return false;
        }
        std::vector<JoinSeat> seats(kSeatCount);
        const std::vector<std::string> names = SeatNames();
        for (int seat = 0; seat < kSeatCount; ++seat)
            seats[seat].userName = seats[seat].nickname = names[seat];
        connection_->Send(JoinReply(step.result, step.result == kResultOk
                                                     ? BuildJoinReplyBody(seats, roomOptions_)
                                                     : std::vector<uint8_t>()));
        return true;
    }
    case Kind::kSend:
        connection_->Send(Message(step.id, step.bytes, step.result));
        return true;
    case Kind::kExtra: {
        if (!haveJoin_) {
            Fail("line " + std::to_string(step.line) + ": extra before the client's join request");
            return false;
        }
        uint32_t id = 0;
        std::vector<uint8_t> body;
        ExtraByName(step.name, SeatNames(), joinUser_, &id, &body);
        connection_->Send(Message(id, std::move(body), (id & 0x80000000u) != 0 ? kResultOk : 0));
        return true;
    }
    case Kind::kRaw:
        connection_->SendFrame(step.bytes);
        return true;
    case Kind::kCompress:
        compress_ = step.number != 0;
        if (connection_)
            connection_->mayCompress = compress_;
        return true;
    case Kind::kSleep:
        return now >= stepDeadline_;
    case Kind::kWaitClose:
        if (!connection_)
            return true;
        if (now >= stepDeadline_)
            Fail("line " + std::to_string(step.line) + ": the client did not close in time");
        return false;
    case Kind::kClose:
        connection_->CloseAfterFlush("script closed the connection", now + kCloseGrace);
        return true;
    }
    return true;
}

std::vector<std::string> ScriptSession::SeatNames() const
{
    std::vector<std::string> names(kSeatCount);
    for (int seat = 0; seat < kSeatCount; ++seat)
        names[seat] = "Bot" + std::to_string(seat + 1);
    if (joinChair_ < kSeatCount)
        names[joinChair_] = joinUser_;
    return names;
}

void ScriptSession::Fail(const std::string& why)
{
    if (done_)
        return;
    record_("failed: " + why);
    log_.Line("script failed: %s", why.c_str());
    failed_ = true;
    Finish();
}

void ScriptSession::Finish()
{
    done_ = true;
    if (connection_ && !connection_->closing())
        connection_->CloseAfterFlush(failed_ ? "script failed" : "script ended",
                                     Clock::now() + kCloseGrace);
}

}  // namespace tableserver
