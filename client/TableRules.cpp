#include "TableRules.h"

#include <cctype>
#include <cstring>

namespace {

uint32_t ReadU32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }

void WriteU32(uint8_t* p, uint32_t v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}

ButtonChange Shown() { return ButtonChange{kShow, kLeave, false}; }
ButtonChange Hidden() { return ButtonChange{kHide, kLeave, true}; }

}  // namespace

// ---- Messages ---------------------------------------------------------------------

uint32_t MessageId(const uint8_t* message) { return message != nullptr ? ReadU32(message) : 0; }

bool MessageBody(const uint8_t* message, size_t size, const uint8_t** body, uint32_t* length)
{
    if (message == nullptr || size < 8)
        return false;
    const uint32_t header = MessageHeaderBytes(ReadU32(message));
    const uint32_t bodyLength = ReadU32(message + 4);
    if (size < header || size - header < bodyLength)
        return false;
    if (body != nullptr)
        *body = message + header;
    if (length != nullptr)
        *length = bodyLength;
    return true;
}

NetRoute RouteOfMessage(uint32_t id)
{
    switch (id) {
    case 0x26000: case 0x80026001: case 0x26002: case 0x80026003: case 0x26004: case 0x26005:
    case 0x80026006: case 0x26007: case 0x26009: case 0x26010: case 0x80000280:
    case 0x26011: case 0x26012: case 0x26013: case 0x26014: case 0x80026021: case 0x80026023:
    case 0x26024: case 0x26036:
        return kRouteGameMessage;
    case tablemsg::kSkinData: return kRouteSkinData;
    case tablemsg::kAdvert: return kRouteAdvert;
    case tablemsg::kLinkedNotice: return kRouteLinkedNotice;
    case 0x26030: case 0x26027: case 0x26028: case 0x26029: case 0x26035:
        return kRouteTask;
    default:
        return kRouteIgnore;
    }
}

GameMessageKind GameMessageKindOf(uint32_t id)
{
    switch (id) {
    case tablemsg::kHandResult: return kHandResultToBoard;
    case tablemsg::kTitleList: return kTitleListOnly;
    case tablemsg::kTableOptions: return kTableOptionsOnly;
    default: return kToBoard;
    }
}

bool MaySendMessage(const uint8_t* message)
{
    if (message == nullptr)
        return false;
    return ReadU32(message) <= kMaxSendId && ReadU32(message + 4) <= kMaxSendBody;
}

bool ParseTrustStatus(const uint8_t* message, size_t size, TrustStatus* status)
{
    // The result word heads the notice: the reply's third header word, or
    // for a short header the first body word.
    if (message == nullptr || size < 12)
        return false;
    const uint32_t id = ReadU32(message);
    const size_t start = 8;
    const size_t end = 8 + static_cast<size_t>(ReadU32(message + 4)) + (MessageHeaderBytes(id) - 8);
    const size_t limit = end < size ? end : size;
    if (limit < start + 8)
        return false;
    TrustStatus s;
    s.result = ReadU32(message + start);
    s.inTrust = static_cast<uint16_t>(message[start + 4] | (message[start + 5] << 8));
    s.allowed = message[start + 6];
    s.times = message[start + 7];
    const size_t nameBytes = limit - (start + 8) < 20 ? limit - (start + 8) : 20;
    memcpy(s.userName, message + start + 8, nameBytes);
    s.userName[nameBytes] = '\0';
    *status = s;
    return true;
}

bool SameUserName(const char* a, const char* b)
{
    if (a == nullptr || b == nullptr)
        return false;
    for (int i = 0; i < 20; ++i) {
        const unsigned char ca = static_cast<unsigned char>(a[i]);
        const unsigned char cb = static_cast<unsigned char>(b[i]);
        if (tolower(ca) != tolower(cb))
            return false;
        if (ca == '\0')
            return true;
    }
    return true;
}

void BuildTrustRequest(uint32_t request, const char* userName, uint8_t out[kTrustRequestSize])
{
    memset(out, 0, kTrustRequestSize);
    WriteU32(out, tablemsg::kTrustRequest);
    WriteU32(out + 4, 24);
    WriteU32(out + 8, request);
    if (userName != nullptr)
        strncpy(reinterpret_cast<char*>(out + 12), userName, 19);
}

void BuildEmptyMessage(uint32_t id, uint8_t out[8])
{
    WriteU32(out, id);
    WriteU32(out + 4, 0);
}

// ---- Board callbacks -------------------------------------------------------------

int HandResultStringId(int resultCode)
{
    switch (resultCode) {
    case 1: return 39;
    case 2: return 40;
    case 3: return 41;
    case 4: return 42;
    case 5: return 46;
    case 6: return 47;
    case 7: return kDrawResultString;
    default: return 0;
    }
}

int ResultPauseKind(int resultCode, int ownSeat, int emperorSeat, int guardSeat)
{
    if (resultCode < 1 || resultCode > 7)
        return -1;
    if (resultCode == 7)
        return 4;
    const bool odd = (resultCode & 1) != 0;
    const bool emperorSide = ownSeat >= 0 && (ownSeat == emperorSeat || ownSeat == guardSeat);
    if (emperorSide)
        return odd ? 1 : 0;
    return odd ? 2 : 3;
}

const char* ResultPictureFile(int kind)
{
    static const char* const kFiles[5] = {"emperorwin.bmp", "emperorloss.bmp", "revolutionwin.bmp",
                                          "revolutionloss.bmp", "draw.bmp"};
    return kind >= 0 && kind < 5 ? kFiles[kind] : nullptr;
}

int ResultPictureId(int kind)
{
    static const int kIds[5] = {326, 327, 328, 329, 336};
    return kind >= 0 && kind < 5 ? kIds[kind] : 0;
}

bool IsSimultaneousDecision(const BoardGameState& s)
{
    return s.optJointFirstDecision != 0 && (s.tableFlags & 0x1) != 0;
}

EmperorButtons EmperorButtonsFor(const BoardGameState& s, int ownSeat, const EmperorQuery& query)
{
    EmperorButtons b;
    const bool ownActs = ownSeat >= 0 && s.seatToAct == ownSeat;
    const bool option12 = (s.ruleFlags & kRuleFlagOption12) != 0;
    const bool designated = s.optNoGuardCard != 0;
    if (IsSimultaneousDecision(s)) {
        if (ownActs) {
            b.become = Shown();
            if (designated)
                b.become.enable = query.threeIdentical ? kShow : kHide;
            b.decline = !option12 || query.bothMarked ? Shown() : Hidden();
            b.alone = Shown();
        } else {
            b.alone = Shown();
            b.giveUp = Shown();
        }
        return b;
    }
    b.clearFlag10 = designated;
    if (ownActs) {
        b.become = Shown();
        if (designated)
            b.become.enable = query.threeIdentical ? kShow : kHide;
        if (!option12)
            b.decline = ButtonChange{kShow, kShow, false};
        else
            b.decline = Hidden();
        if (designated && query.threeIdentical && s.leadSeat == ownSeat && (s.tableFlags & 0x10) != 0)
            b.decline.enable = query.fourIdentical ? kShow : kHide;
    } else {
        b.become = Hidden();
        b.decline = Hidden();
        b.alone = Hidden();
        b.giveUp = Hidden();
        b.waitingHint = true;
    }
    return b;
}

GuardButtons GuardButtonsFor(const BoardGameState& s, int ownSeat, bool watching, bool trustPlay)
{
    GuardButtons g;
    const int kickMode = KickMode(s);
    if (kickMode == 0) {
        const bool ownGuard = !watching && ownSeat >= 0 && s.guardSeat == ownSeat;
        const bool decided = ownGuard && s.readyMarks[ownSeat] != 0;
        if (ownGuard && !decided && !trustPlay) {
            g.show = Shown();
            g.hide = Shown();
        } else {
            g.show = Hidden();
            g.hide = Hidden();
            g.statusString = ownGuard ? 50 : 38;
        }
        return g;
    }
    if (kickMode == 3 && s.guardSeat == s.emperorSeat) {
        const bool emperor = ownSeat >= 0 && ownSeat == s.emperorSeat;
        if (watching || trustPlay || emperor || (s.tableFlags & 0x40) != 0) {
            g.kick = Hidden();
            g.noKick = Hidden();
            g.statusString = 52;
        } else {
            g.kick = Shown();
            g.noKick = Shown();
        }
    }
    return g;
}

bool OwnSeatLeads(const BoardGameState& s, int ownSeat)
{
    return ownSeat >= 0 && s.seatToAct == ownSeat && s.leadSeat == ownSeat;
}

PlayButtons PlayButtonsFor(const BoardGameState& s, int ownSeat, bool watching, bool trustPlay)
{
    PlayButtons p;
    p.visible = !watching && !trustPlay && ownSeat >= 0 && s.seatToAct == ownSeat;
    p.passEnabled = p.visible && !OwnSeatLeads(s, ownSeat);
    return p;
}

// ---- Commands ------------------------------------------------------------------------

int32_t CommandBoardEvent(int commandId)
{
    switch (commandId) {
    case 198: return 10011;
    case 199: return 10042;
    case 200: return 10000;
    case 201: return 10010;
    case 202: return 10011;
    case 203: return 10020;
    case 204: return 10021;
    case 205: return 10031;
    case 206: return 10030;
    case 323: return 10057;
    case 324: return 10058;
    default: return 0;
    }
}

bool PlayButtonEnabled(bool leads, int selectedCount, int playCount, bool watching)
{
    if (watching)
        return false;
    return leads ? selectedCount >= 1 : selectedCount >= playCount && selectedCount > 0;
}

AutoActionKind AutoActionFor(const BoardGameState* s, bool watching)
{
    if (s == nullptr || watching)
        return kAutoNothing;
    switch (s->phase) {
    case 0: return kAutoStart;
    case 2: return KickMode(*s) != 0 ? kAutoNoKick : kAutoGuardHidden;
    default: return kAutoTrustRequest;
    }
}

// ---- Sounds ----------------------------------------------------------------------------

namespace {

// Calls visit(begin, length) for each non-empty name of the list.
template <typename Visit>
void ForEachSoundName(const char* list, Visit visit)
{
    if (list == nullptr)
        return;
    const char* p = list;
    while (*p != '\0') {
        const char* end = strchr(p, ',');
        if (end == nullptr)
            end = p + strlen(p);
        const char* a = p;
        const char* b = end;
        while (a < b && (*a == ' ' || *a == '\t'))
            ++a;
        while (b > a && (b[-1] == ' ' || b[-1] == '\t'))
            --b;
        if (b > a && !visit(a, static_cast<size_t>(b - a)))
            return;
        if (*end == '\0')
            break;
        p = end + 1;
    }
}

}  // namespace

int CountSoundNames(const char* list)
{
    int n = 0;
    ForEachSoundName(list, [&](const char*, size_t) {
        ++n;
        return true;
    });
    return n;
}

bool PickSoundName(const char* list, unsigned pick, char* out, size_t capacity)
{
    if (out == nullptr || capacity == 0)
        return false;
    out[0] = '\0';
    const int n = CountSoundNames(list);
    if (n == 0)
        return false;
    int wanted = static_cast<int>(pick % static_cast<unsigned>(n));
    bool found = false;
    ForEachSoundName(list, [&](const char* name, size_t length) {
        if (wanted-- > 0)
            return true;
        if (length >= capacity)
            return false;
        memcpy(out, name, length);
        out[length] = '\0';
        found = true;
        return false;
    });
    return found;
}
