#include "Board.h"

#include <algorithm>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// File name without its folders, for log lines that name their source.
const char* BaseName(const char* path)
{
    const char* name = path;
    for (const char* p = path; *p; ++p) {
        if (*p == '/' || *p == '\\')
            name = p + 1;
    }
    return name;
}

int EventResult(int handlerResult)
{
    return handlerResult ? 1 : -1;
}

// Copies a text into a fixed field, cut to fit, always zero-terminated.
template <size_t N>
void CopyText(char (&dst)[N], const char* src, size_t srcMax)
{
    size_t n = 0;
    if (src) {
        while (n < srcMax && n < N - 1 && src[n])
            ++n;
        std::memcpy(dst, src, n);
    }
    std::memset(dst + n, 0, N - n);
}

// A name field holds at most 19 characters and its zero.
void TerminateNames(BoardPlayerRecord& r)
{
    r.userName[sizeof r.userName - 1] = '\0';
    r.nickname[sizeof r.nickname - 1] = '\0';
}

// Longest option list text read by event 0x1003 / 1000.
constexpr size_t kMaxOptionListText = 4096;
constexpr int32_t kMaxListedOptions = 1000;

}  // namespace

CBoard::CBoard()
{
    std::memset(&m_init, 0, sizeof m_init);
    std::memset(m_ownName, 0, sizeof m_ownName);
}

CBoard::~CBoard()
{
    gpFree(m_exportBuffer);
}

int CBoard::Init(int32_t mode, BoardCallback callback, uintptr_t cookie,
                 const BoardInitBlock* init)
{
    m_callback = callback;
    m_cookie = cookie;
    m_mode = mode;
    if (mode != kBoardModeReferee && mode != kBoardModePlayer) {
        Log("CBoard::Init, unknown mode %d", mode);
        return 0;
    }
    if (init)
        std::memcpy(&m_init, init, sizeof m_init);
    return 1;
}

int CBoard::OnEvent(int32_t code, int32_t userId, int32_t identify, void* param)
{
    switch (code) {
    case kEvGameMessage:
        return OnEventProcessMsg(userId, identify, static_cast<NetMsgHeader*>(param));
    case kEvAddPlayer:
        if (!IsReferee())
            return -1;
        return EventResult(AddPlayer(static_cast<const BoardPlayerRecord*>(param)));
    case kEvRemovePlayer:
        if (!IsReferee())
            return -1;
        return EventResult(RemovePlayer(static_cast<uint32_t>(userId), static_cast<uint8_t>(identify)));
    case kEvSetOption:
        if (!IsReferee())
            return -1;
        if (userId < kOptionList)
            return EventResult(SetOption(userId, identify));
        if (userId == kOptionList)
            return EventResult(SetOptionList(static_cast<const char*>(param)));
        if (userId == kOptionSpareValue)
            m_spareValue = identify;
        return 1;
    case kEvExportPlayers:
        return EventResult(ExportPlayers(userId, static_cast<BoardPlayerRecord*>(param)));
    case kEvBuildPlayerExport:
        if (!IsReferee())
            return -1;
        return EventResult(BuildPlayerExport(static_cast<PlayerExportRequest*>(param)));
    case kEvImportBoardData:
        if (IsReferee())
            return -1;
        return EventResult(OnImportRequest(static_cast<NetMsgHeader*>(param)));
    case kEvSendBoardData:
        if (!IsReferee())
            return -1;
        return EventResult(SendBoardData(userId, identify, static_cast<const char*>(param)));
    case kEvOwnIdentity:
        if (!param)
            return -1;
        SetOwnIdentity(*static_cast<const BoardPlayerRecord*>(param), true);
        return 1;
    case kEvWatcher:
        return EventResult(OnWatcher(userId, param));
    case kEvTrustPlay: {
        BoardPlayerRecord* p = FindUser(static_cast<uint32_t>(userId));
        const int32_t seat = p ? (p->seat & ~kSeatWatchingBit) : -1;
        return EventResult(OnTrustPlay(seat, p ? p->userName : nullptr, identify));
    }
    case kEvSeatFlag:
        // The seat travels as the parameter's value.
        return EventResult(OnSeatFlag(static_cast<int32_t>(reinterpret_cast<intptr_t>(param)),
                                      nullptr, identify));
    case kEvOffline: {
        BoardPlayerRecord* p = FindUser(static_cast<uint32_t>(userId));
        if (!p)
            return -1;
        p->flags |= kPlayerFlagOffline;
        return EventResult(OnOffline(p->seat & ~kSeatWatchingBit, p->userName));
    }
    case kEvReadSeatValues:
        return EventResult(ReadSeatValues(userId, param));
    default:
        return 0;
    }
}

int CBoard::OnEventProcessMsg(int32_t userId, int32_t identify, NetMsgHeader* msg)
{
    if (!msg)
        return -1;
    if (IsReferee()) {
        m_senderUserId = static_cast<uint32_t>(userId);
        m_senderIdentify = static_cast<uint8_t>(identify);
        const BoardPlayerRecord* sender = FindPlayer(m_senderUserId, m_senderIdentify);
        if (!sender) {
            Log("CBoard::OnEventProcessMsg,cannot find player :UserID=%d,Identify = %d", userId,
                identify);
            return -1;
        }
        m_senderSeat = sender->seat & ~kSeatWatchingBit;
        m_senderWatching = (sender->seat & kSeatWatchingBit) != 0;
    } else {
        m_senderUserId = 0;
        m_senderIdentify = 0;
        m_senderSeat = 0;
        m_senderWatching = false;
    }
    m_unhandled = false;
    const int result = ProcessMsg(msg);
    if (m_unhandled)
        return 0;
    return EventResult(result);
}

int CBoard::ProcessMsg(NetMsgHeader* msg)
{
    m_unhandled = false;
    switch (msg->id) {
    case kMsgPlayerMarked:
        return OnPlayerMarked(msg);
    case kMsgPlayerUnmarked:
        return OnPlayerUnmarked(msg);
    case kMsgPlayerOffline:
        return OnPlayerOffline(msg);
    case kMsgTrustState:
        return OnTrustState(msg);
    case kMsgBoardData:
        return IsReferee() ? 0 : OnImportRequest(msg);
    default:
        m_unhandled = true;
        return 0;
    }
}

int CBoard::OnImportRequest(NetMsgHeader* msg)
{
    if (!msg || (msg->id != kMsgBoardData && msg->id != kMsgPlayerBoardData))
        return 0;
    // The reader keeps its cursor in the first word; the host's message gets
    // its id back afterwards.
    const uint32_t id = msg->id;
    msg->id = 0;
    const int result = ImportBoardData(msg);
    msg->id = id;
    return result;
}

int CBoard::SetOption(int32_t, int32_t)
{
    return 1;
}

int CBoard::SetOptionList(const char* text)
{
    if (!text)
        return 0;
    const void* end = std::memchr(text, 0, kMaxOptionListText);
    const size_t length = end ? static_cast<size_t>(static_cast<const char*>(end) - text)
                              : kMaxOptionListText;
    const std::string list(text, length);
    const char* p = list.c_str();
    for (int32_t id = 0; id < kMaxListedOptions; ++id) {
        const long value = std::strtol(p, nullptr, 10);
        SetOption(id, static_cast<int32_t>(std::clamp<long>(value, INT32_MIN, INT32_MAX)));
        const char* comma = std::strchr(p, ',');
        if (!comma)
            break;
        p = comma + 1;
    }
    return 1;
}

int CBoard::ImportBoardData(NetMsgHeader* stream)
{
    uint32_t version = 0;
    uint32_t count = 0;
    if (!StreamRead(stream, &version, 4) || version != kBoardDataVersion) {
        Log("CBoard::ImportBoardData, bad stream version %08x", version);
        return 0;
    }
    if (!StreamRead(stream, &count, 4) ||
        count > (stream->length - stream->id) / sizeof(BoardPlayerRecord)) {
        Log("CBoard::ImportBoardData, bad player count %u", count);
        return 0;
    }
    for (uint32_t i = 0; i < count; ++i) {
        BoardPlayerRecord record;
        std::memcpy(&record, StreamTakeBytes(stream, sizeof record), sizeof record);
        TerminateNames(record);
        if (i < m_players.size())
            m_players[i] = record;
        else
            m_players.push_back(record);
        if (record.userId == m_init.ownUserId &&
            record.identify + 1 == static_cast<int>(m_init.ownIdentifyPlusOne)) {
            SetOwnIdentity(record, false);
        } else {
            Log("CBoard::ImportBoardData,%s[%s,%d,%d],seat=%d ", record.nickname, record.userName,
                static_cast<int>(record.userId), record.identify, record.seat);
        }
    }
    m_players.resize(count);
    return 1;
}

int CBoard::ExportBoardData(NetMsgHeader** stream, int32_t, int32_t, int32_t, int32_t)
{
    const uint32_t version = kBoardDataVersion;
    const uint32_t count = static_cast<uint32_t>(m_players.size());
    if (!StreamWrite(stream, &version, 4, &count, 4, kStreamGrow))
        return 0;
    for (const BoardPlayerRecord& record : m_players) {
        if (!StreamWrite(stream, &record, sizeof record, kStreamGrow))
            return 0;
    }
    return 1;
}

NetMsgHeader* CBoard::ExportData(int32_t a, int32_t b, int32_t seat, int32_t identify)
{
    if (m_exportSize > kMaxExportSize) {
        Log("%s : %d, ExportData more than 64K (%08x)", BaseName(__FILE__), __LINE__, m_exportSize);
        return nullptr;
    }
    if (m_exportSize == 0)
        return nullptr;
    const uint32_t wanted = std::max(m_exportSize, kMsgLongHeaderSize);
    if (m_exportCapacity < wanted) {
        void* grown = gpRealloc(m_exportBuffer, wanted);
        if (!grown) {
            Log("%s : %d Out of Memory !", BaseName(__FILE__), __LINE__);
            return nullptr;
        }
        m_exportBuffer = static_cast<NetMsgHeader*>(grown);
        m_exportCapacity = wanted;
    }
    NetMsgHeader* stream = m_exportBuffer;
    stream->id = m_exportCapacity;
    stream->length = 0;
    stream->extra = 1;
    const int written = ExportBoardData(&stream, a, b, seat, identify);
    // The stream may have moved to a larger block, written or not.
    m_exportBuffer = stream;
    m_exportCapacity = stream->id;
    m_exportSize = m_exportCapacity;
    if (!written) {
        Log("%s : %d Out of Memory !", BaseName(__FILE__), __LINE__);
        return nullptr;
    }
    stream->id = kMsgBoardData;
    return stream;
}

BoardPlayerRecord* CBoard::ExportRecipient(uint32_t userId, uint32_t identify, int32_t* seat,
                                           int32_t* exportIdentify)
{
    BoardPlayerRecord* r = nullptr;
    if (identify == kIdentifyOwnPlayer) {
        for (BoardPlayerRecord& p : m_players) {
            if (p.userId == userId && !(p.seat & kSeatWatchingBit)) {
                r = &p;
                break;
            }
        }
    } else {
        r = FindPlayer(userId, static_cast<uint8_t>(identify));
    }
    if (!r)
        return nullptr;
    *seat = r->seat & ~kSeatWatchingBit;
    if (!(r->seat & kSeatWatchingBit))
        *exportIdentify = kIdentifyOwnPlayer;
    else
        *exportIdentify = r->identify != kIdentifyOwnPlayer ? r->identify : 0;
    return r;
}

int CBoard::BuildPlayerExport(PlayerExportRequest* request)
{
    if (!request)
        return 0;
    request->message = nullptr;
    int32_t seat = 0;
    int32_t exportIdentify = 0;
    if (!ExportRecipient(request->userId, request->identify, &seat, &exportIdentify)) {
        Log("CBoard::BuildPlayerExport,cannot find player :UserID=%d,Identify = %d",
            static_cast<int>(request->userId), static_cast<int>(request->identify));
        return 0;
    }
    NetMsgHeader* msg = ExportData(static_cast<int32_t>(request->userId),
                                   static_cast<int32_t>(request->identify), seat, exportIdentify);
    if (!msg)
        return 0;
    msg->id = kMsgPlayerBoardData;
    request->message = msg;
    return 1;
}

int CBoard::SendBoardData(int32_t userId, int32_t identify, const char* recipient)
{
    if (!recipient)
        return 0;
    int32_t seat = 0;
    int32_t exportIdentify = 0;
    if (!ExportRecipient(static_cast<uint32_t>(userId), static_cast<uint32_t>(identify), &seat,
                         &exportIdentify)) {
        Log("CBoard::SendBoardData,cannot find player :UserID=%d,Identify = %d", userId, identify);
        return 0;
    }
    NetMsgHeader* msg = ExportData(userId, identify, seat, exportIdentify);
    if (!msg)
        return 0;
    SendToRecipient(msg, recipient);
    return 1;
}

// Seats are found by the record's seat byte, the same byte the message handlers
// take a sender's seat from, not by "user id = seat number, identify 0". That
// numbering is only a convention of some hosts: a host that seats accounts by
// their own ids would export nothing and score nobody, and a watcher is told
// apart only by bit 7 of its seat byte, which the seat comparison honours. With
// a host that does number seats 0-4 (our table server) both lookups agree.
int CBoard::ExportPlayers(int32_t count, BoardPlayerRecord* out)
{
    if (count > 0 && !out)
        return 0;
    for (int32_t seat = 0; seat < count; ++seat) {
        const BoardPlayerRecord* p = FindSeatedPlayer(seat);
        if (!p)
            return 0;
        out[seat] = *p;
    }
    return 1;
}

int CBoard::ReadSeatValues(int32_t, void*) { return 1; }
int CBoard::OnPlayerSeat(int32_t) { return 1; }
int CBoard::OnPlayerLeave(int32_t) { return 1; }
int CBoard::OnWatcher(int32_t, void*) { return 1; }
int CBoard::OnSeatFlag(int32_t, const char*, int32_t) { return 0; }
int CBoard::OnTrustPlay(int32_t, const char*, int32_t) { return 1; }
int CBoard::OnOffline(int32_t, const char*) { return 1; }

BoardPlayerRecord* CBoard::NamedPlayer(const NetMsgHeader* msg, uint32_t offset, char (&name)[20])
{
    uint8_t skipped[4];
    const int32_t skip = static_cast<int32_t>(std::min<uint32_t>(offset, sizeof skipped));
    const std::initializer_list<MsgSlot> slots = {{skip, skipped}, {-20, name}};
    const int ok = (msg->id & kMsgLongHeaderBit) ? MsgParseEx(msg, slots) : MsgParse(msg, slots);
    return ok ? FindPlayerByName(name) : nullptr;
}

void CBoard::ReportObjectState(const BoardPlayerRecord& player)
{
    if (!IsReferee())
        Callback(kCbObjectState, player.seat & ~kSeatWatchingBit, static_cast<intptr_t>(player.flags));
}

int CBoard::SetPlayerFlag(NetMsgHeader* msg, uint32_t flag, bool on)
{
    char name[20];
    BoardPlayerRecord* p = NamedPlayer(msg, 0, name);
    if (!p)
        return 0;
    if (on)
        p->flags |= flag;
    else
        p->flags &= ~flag;
    const int32_t seat = p->seat & ~kSeatWatchingBit;
    if (flag == kPlayerFlagOffline)
        OnOffline(seat, name);
    else
        OnSeatFlag(seat, name, on ? 1 : 0);
    ReportObjectState(*p);
    return 1;
}

int CBoard::OnPlayerMarked(NetMsgHeader* msg)
{
    return SetPlayerFlag(msg, kPlayerFlagMarked, true);
}

int CBoard::OnPlayerUnmarked(NetMsgHeader* msg)
{
    return SetPlayerFlag(msg, kPlayerFlagMarked, false);
}

int CBoard::OnPlayerOffline(NetMsgHeader* msg)
{
    return SetPlayerFlag(msg, kPlayerFlagOffline, true);
}

int CBoard::OnTrustState(NetMsgHeader* msg)
{
    if (msg->extra != 1)
        return 1;
    uint32_t state = 0;
    char name[20];
    if (!MsgParseEx(msg, {{4, &state}}))
        return 0;
    BoardPlayerRecord* p = NamedPlayer(msg, 4, name);
    if (!p)
        return 0;
    // The first word is the u16 mode followed by the used/limit counts; only
    // the mode says on or off (the counts stay non-zero once a player has
    // been in trust play).
    state &= 0xFFFFu;
    if (state)
        p->flags |= kPlayerFlagTrustPlay;
    else
        p->flags &= ~kPlayerFlagTrustPlay;
    OnTrustPlay(p->seat & ~kSeatWatchingBit, name, state ? 1 : 0);
    ReportObjectState(*p);
    return 1;
}

void CBoard::Log(const char* format, ...)
{
    char line[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    Callback(kCbLog, reinterpret_cast<intptr_t>(line));
}

int32_t CBoard::Callback(uint32_t code, intptr_t p1, intptr_t p2, intptr_t p3, int32_t userId,
                         int32_t identify)
{
    if (!m_callback || !m_cookie)
        return 0;
    BoardCallbackRecord record;
    std::memset(&record, 0, sizeof record);
    record.cookie = m_cookie;
    record.code = code;
    record.p1 = p1;
    record.p2 = p2;
    record.p3 = p3;
    record.userId = userId;
    record.identify = identify;
    return m_callback(&record);
}

int32_t CBoard::SendToRecipient(NetMsgHeader* msg, const char* recipient)
{
    if (!m_callback || !m_cookie)
        return 0;
    BoardCallbackRecord record;
    std::memset(&record, 0, sizeof record);
    record.cookie = m_cookie;
    record.code = kCbSendRecipient;
    record.p1 = reinterpret_cast<intptr_t>(msg);
    CopyText(record.recipient, recipient, sizeof record.recipient - 1);
    record.userId = -1;
    record.identify = 255;
    return m_callback(&record);
}

BoardPlayerRecord* CBoard::PlayerAt(size_t index)
{
    return index < m_players.size() ? &m_players[index] : nullptr;
}

BoardPlayerRecord* CBoard::FindPlayer(uint32_t userId, uint8_t identify)
{
    for (BoardPlayerRecord& p : m_players) {
        if (p.userId == userId && p.identify == identify)
            return &p;
    }
    return nullptr;
}

BoardPlayerRecord* CBoard::FindUser(uint32_t userId)
{
    BoardPlayerRecord* watching = nullptr;
    for (BoardPlayerRecord& p : m_players) {
        if (p.userId != userId)
            continue;
        if (!(p.seat & kSeatWatchingBit))
            return &p;
        if (!watching)
            watching = &p;
    }
    return watching;
}

BoardPlayerRecord* CBoard::FindPlayerByName(const char* name)
{
    for (BoardPlayerRecord& p : m_players) {
        if (std::strncmp(p.userName, name, sizeof p.userName) == 0)
            return &p;
    }
    return nullptr;
}

BoardPlayerRecord* CBoard::FindSeatedPlayer(int32_t seat)
{
    for (BoardPlayerRecord& p : m_players) {
        if (p.seat == seat)
            return &p;
    }
    return nullptr;
}

int CBoard::AddPlayer(const BoardPlayerRecord* record)
{
    if (!record)
        return 0;
    if (FindPlayer(record->userId, record->identify))
        return 1;
    BoardPlayerRecord copy = *record;
    TerminateNames(copy);
    m_players.push_back(copy);
    OnPlayerSeat(copy.seat);
    return 1;
}

int CBoard::RemovePlayer(uint32_t userId, uint8_t identify)
{
    for (auto it = m_players.begin(); it != m_players.end(); ++it) {
        if (it->userId == userId && it->identify == identify) {
            OnPlayerLeave(it->seat);
            // The hook may have changed the list: look the record up again.
            auto again = std::find_if(m_players.begin(), m_players.end(),
                                      [&](const BoardPlayerRecord& p) {
                                          return p.userId == userId && p.identify == identify;
                                      });
            if (again != m_players.end())
                m_players.erase(again);
            return 1;
        }
    }
    return 0;
}

void CBoard::ResetPlayers(const BoardPlayerRecord* record)
{
    m_players.clear();
    if (record) {
        m_players.push_back(*record);
        TerminateNames(m_players.back());
    }
}

void CBoard::SetOwnIdentity(const BoardPlayerRecord& record, bool withName)
{
    if (withName)
        CopyText(m_ownName, record.userName, sizeof record.userName);
    m_ownUserId = record.userId;
    m_ownIdentify = record.identify;
    m_ownSeat = record.seat & ~kSeatWatchingBit;
    m_ownWatching = (record.seat & kSeatWatchingBit) != 0;
}

bool CBoard::RequestDestroy()
{
    if (m_eventDepth == 0)
        return true;
    m_destroyPending = true;
    m_callback = nullptr;  // the host is going away: no more callbacks
    return false;
}
