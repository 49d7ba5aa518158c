#include "PlayerInfo.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "ClientText.h"

namespace {

std::string Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Printf(const char* format, ...)
{
    char buffer[512];
    va_list args;
    va_start(args, format);
    const int n = vsnprintf(buffer, sizeof(buffer), format, args);
    va_end(args);
    if (n < 0)
        return std::string();
    return std::string(buffer, (size_t)n < sizeof(buffer) ? (size_t)n : sizeof(buffer) - 1);
}

uint32_t ReadU32(const uint8_t* p) { return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24; }

// A text field that may lack its terminator.
std::string FieldText(const char* field, size_t size) { return std::string(field, strnlen(field, size)); }

std::string Rate(int32_t wins, int32_t games)
{
    if (games <= 0)
        return "暂无";
    return Printf("%5.2f%%", (double)wins * 100.0 / (double)games);
}

}  // namespace

// ---- The record ---------------------------------------------------------------------------------

namespace {

// The referee's announcement carries the records alone (one or five); the
// counted form has four bytes more than whole records.
bool IsRecordList(size_t size) { return size > 0 && size % sizeof(PlayerInfoRecord) == 0; }

}  // namespace

bool ParsePlayerInfoPayload(const uint8_t* payload, size_t size, std::vector<PlayerInfoRecord>* out)
{
    out->clear();
    if (payload == NULL || size < 4)
        return false;
    const bool list = IsRecordList(size);
    const size_t first = list ? 0 : 4;
    const size_t present = (size - first) / sizeof(PlayerInfoRecord);
    const size_t declared = list ? present : ReadU32(payload);
    const size_t count = declared < present ? declared : present;
    out->resize(count);
    for (size_t i = 0; i < count; i++) {
        PlayerInfoRecord& r = (*out)[i];
        memcpy(&r, payload + first + i * sizeof(PlayerInfoRecord), sizeof(PlayerInfoRecord));
        r.userName[sizeof(r.userName) - 1] = '\0';
        r.title[sizeof(r.title) - 1] = '\0';
    }
    return true;
}

bool CPlayerInfoTable::Apply(const uint8_t* payload, size_t size, const char* const seatNames[kInfoSeats])
{
    std::vector<PlayerInfoRecord> records;
    if (!ParsePlayerInfoPayload(payload, size, &records))
        return false;
    for (const PlayerInfoRecord& r : records) {
        for (int seat = 0; seat < kInfoSeats; seat++) {
            const char* name = seatNames[seat];
            if (name != NULL && name[0] != '\0' && strncmp(r.userName, name, sizeof(r.userName)) == 0) {
                m_records[seat] = r;
                m_has[seat] = true;
                break;
            }
        }
    }
    const size_t declared = IsRecordList(size) ? records.size() : ReadU32(payload);
    if (declared == (size_t)kInfoSeats && records.size() == (size_t)kInfoSeats)
        m_allReceived = true;
    return true;
}

const PlayerInfoRecord& CPlayerInfoTable::Record(int seat) const
{
    static const PlayerInfoRecord kNone = {};
    return seat >= 0 && seat < kInfoSeats ? m_records[seat] : kNone;
}

void CPlayerInfoTable::SetTitleId(int seat, uint32_t titleId)
{
    if (seat >= 0 && seat < kInfoSeats)
        m_records[seat].titleId = titleId;
}

// ---- Texts --------------------------------------------------------------------------------------

std::string StripTitleMarks(const std::string& title) { return ReplaceAll(title, "**", ""); }

std::string FitTipTitle(const std::string& title, const TextWidthFn& width)
{
    size_t i = 0;
    while (i < title.size()) {
        i += IsCp936LeadByte((uint8_t)title[i]) && i + 1 < title.size() ? 2 : 1;
        if (width(title.substr(0, i)) >= kTipTitleWidth)
            return title.substr(0, i) + "..";
    }
    return title;
}

std::string FormatPlayerInfo(const PlayerInfoRecord& r, const TextWidthFn& width)
{
    const std::string name = FieldText(r.userName, sizeof(r.userName));
    const std::string title = FieldText(r.title, sizeof(r.title));
    std::string text = "ID:" + name + "\n";
    text += "称号:";
    text += title.empty() ? std::string("暂无") : FitTipTitle(StripTitleMarks(title), width);
    text += "\n实力分:";
    text += r.ratedGames > 0 ? Printf("%0.2f", (double)r.score100 * 0.01) : std::string("暂无");
    text += Printf("\n荣誉值:%d\n", r.honour);
    text += "赛季登基成功率:" + Rate(r.emperorWins, r.emperorGames) + "\n";
    text += "赛季护驾成功率:" + Rate(r.guardWins, r.guardGames) + "\n";
    text += "赛季革命成功率:" + Rate(r.revoltWins, r.revoltGames);
    return text;
}

std::string OwnStrengthText(const PlayerInfoRecord& r)
{
    return Printf("实力分:%0.2f   荣誉值:%d", (double)r.score100 * 0.01, r.honour);
}

std::string OwnTitleText(const PlayerInfoRecord& r)
{
    const std::string title = StripTitleMarks(FieldText(r.title, sizeof(r.title)));
    return "称号:" + (title.empty() ? std::string("未设置") : title);
}

std::string TaskTipText(const uint32_t minutes[4], int stagesReached)
{
    std::string text = "今日任务:";
    for (int i = 0; i < 4; i++) {
        const char* state = i < stagesReached ? "已完成" : i == stagesReached ? "进行中" : "未开始";
        text += Printf("\n累计有效时长%d分钟  %s", (int)minutes[i], state);
    }
    return text;
}

// ---- The games-needed counter ---------------------------------------------------------------------

CounterChoice ChooseGamesCounter(int32_t needed, int32_t played, int32_t standing)
{
    CounterChoice choice;
    if (needed < 0 || played < 1)
        return choice;
    if (played < needed) {
        choice.kind = kCounterNeeded;
        choice.number = needed - played;
    } else if (standing >= 1) {
        choice.kind = kCounterStanding;
        choice.number = standing;
    }
    return choice;
}

int BannerLevel(int32_t level) { return level >= 1 && level <= 10 ? level : 0; }

// ---- Throttles ----------------------------------------------------------------------------------

bool CThrottle::Accept(uint32_t now)
{
    if (m_stamped && now - m_last < m_interval)
        return false;
    Stamp(now);
    return true;
}

void CThrottle::Stamp(uint32_t now)
{
    m_last = now;
    m_stamped = true;
}

// ---- Web addresses ------------------------------------------------------------------------------

namespace {

bool StartsWithNoCase(const std::string& text, const char* start)
{
    const size_t n = strlen(start);
    if (text.size() < n)
        return false;
    for (size_t i = 0; i < n; i++) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z')
            c = (char)(c - 'A' + 'a');
        if (c != start[i])
            return false;
    }
    return true;
}

}  // namespace

bool IsOpenableWebAddress(const std::string& address)
{
    const bool http = address.size() > 7 && StartsWithNoCase(address, "http://");
    const bool https = address.size() > 8 && StartsWithNoCase(address, "https://");
    if (!http && !https)
        return false;
    for (unsigned char c : address)
        if (c < 0x20 || c == 0x7F || c == '"')
            return false;
    return true;
}

std::string ReplaceAll(std::string text, const std::string& what, const std::string& with)
{
    if (what.empty())
        return text;
    size_t at = 0;
    while ((at = text.find(what, at)) != std::string::npos) {
        text.replace(at, what.size(), with);
        at += with.size();
    }
    return text;
}

std::string ExpandUrlTemplate(const std::string& address, const std::string& userName,
                              const std::string& escapedUserName, const std::function<std::string()>& fetchTicket)
{
    if (userName.empty())
        return address;
    std::string text = ReplaceAll(address, "%UserName%", escapedUserName);
    if (text.find("%Ticket%") != std::string::npos)
        text = ReplaceAll(text, "%Ticket%", fetchTicket ? fetchTicket() : std::string());
    return text;
}

namespace {

// The lines of a section as the platform hands it out.
std::vector<std::string> SectionLines(const char* section, size_t size)
{
    std::vector<std::string> lines;
    size_t i = 0;
    while (section != NULL && i < size && section[i] != '\0') {
        const size_t length = strnlen(section + i, size - i);
        lines.emplace_back(section + i, length);
        i += length + 1;
    }
    return lines;
}

std::string Trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    const size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

}  // namespace

uint32_t ParseRegisterPort(const char* section, size_t size)
{
    for (const std::string& line : SectionLines(section, size)) {
        const size_t equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        const long port = strtol(line.c_str() + equals + 1, NULL, 10);
        return port > 0 && port <= 65535 ? (uint32_t)port : kDefaultRegisterPort;
    }
    return kDefaultRegisterPort;
}

std::vector<RegisterEntry> ParseRegisterEntries(const char* section, size_t size)
{
    std::vector<RegisterEntry> entries;
    for (const std::string& line : SectionLines(section, size)) {
        const size_t equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        RegisterEntry entry;
        entry.line = line;
        const std::string list = line.substr(equals + 1);
        size_t start = 0;
        while (start <= list.size()) {
            size_t comma = list.find(',', start);
            if (comma == std::string::npos)
                comma = list.size();
            const std::string address = Trimmed(list.substr(start, comma - start));
            if (!address.empty())
                entry.addresses.push_back(address);
            start = comma + 1;
        }
        entries.push_back(entry);
    }
    return entries;
}

std::vector<std::vector<std::string>> BannerParts(const std::string& title)
{
    std::vector<std::vector<std::string>> parts;
    size_t from = 0;
    while (from <= title.size()) {
        size_t end = title.find("**", from);
        if (end == std::string::npos)
            end = title.size();
        std::vector<std::string> characters;
        for (size_t i = from; i < end;) {
            const bool lead = (unsigned char)title[i] >= 0x81 && i + 1 < end;
            const size_t n = lead ? 2 : 1;
            characters.push_back(title.substr(i, n));
            i += n;
        }
        if (!characters.empty())
            parts.push_back(characters);
        from = end + 2;
    }
    return parts;
}

int BannerFontSize(int characters)
{
    if (characters <= 3)
        return 28;
    if (characters == 4)
        return 22;
    const int size = 19 - 2 * (characters - 5);
    return size < 10 ? 10 : size;
}
