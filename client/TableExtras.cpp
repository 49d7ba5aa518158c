#include "TableExtras.h"

#include <cstring>

namespace {

constexpr uint32_t kFaceMessageId = 0x26011;
constexpr int kTipAreaOffset = 70;
constexpr int kTipAreaWidth = 60;
constexpr int kTipAreaHeight = 23;

uint32_t U32(const uint8_t* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

void Put32(uint8_t* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace

bool ParseFaceMessage(const uint8_t* message, size_t size, FaceMessage* out)
{
    if (message == nullptr || size < kFaceMessageSize || U32(message + 4) < 12 ||
        size < 8 + static_cast<size_t>(U32(message + 4)))
        return false;
    FaceMessage f;
    f.face = U32(message + 8);
    f.seat = U32(message + 12);
    f.list = U32(message + 16);
    if (f.seat >= static_cast<uint32_t>(kBoardSeats))
        return false;
    if (!(f.list == kFaceListLarge && f.face < kLargeFaces) && !(f.list == kFaceListSmall && f.face < kSmallFaces))
        return false;
    *out = f;
    return true;
}

void BuildFaceMessage(uint32_t face, uint32_t seat, uint32_t list, uint8_t out[kFaceMessageSize])
{
    Put32(out, kFaceMessageId);
    Put32(out + 4, 12);
    Put32(out + 8, face);
    Put32(out + 12, seat);
    Put32(out + 16, list);
}

FaceTipFlags FaceTipFlagsFor(int seat, int ownSeat, int viewPosition)
{
    FaceTipFlags f;
    f.ownSeat = seat == ownSeat;
    f.second = f.ownSeat || viewPosition == 3 || viewPosition == 4;
    return f;
}

TrustBand TrustBandFor(int times, int allowed)
{
    TrustBand band;
    const int n = times - allowed + 1;
    if (n == 0) {
        band.secondText = true;
        band.cancelEnabled = false;
        return band;
    }
    band.digit = n < 0 ? -1 : (n > 9 ? 9 : n);
    return band;
}

bool TrustPlayNeedsConfirm(bool trustOn, int handsPerMatch, int handNumber)
{
    return !trustOn && handsPerMatch > 1 && handNumber < handsPerMatch - 1;
}

void CPreviousTrick::Capture(const BoardGameState& s)
{
    if (m_showing)
        return;
    memcpy(m_cards, s.tableCards, sizeof m_cards);
    for (int i = 0; i < kBoardSeats; ++i)
        m_counts[i] = s.seats[i].tableCardCount > static_cast<uint32_t>(kCardAreaSize) ? kCardAreaSize
                                                                                       : s.seats[i].tableCardCount;
    m_valid = true;
}

bool CPreviousTrick::ShowIn(BoardGameState& s)
{
    if (!m_valid || m_showing)
        return false;
    memcpy(m_savedCards, s.tableCards, sizeof m_savedCards);
    memcpy(s.tableCards, m_cards, sizeof m_cards);
    for (int i = 0; i < kBoardSeats; ++i) {
        m_savedCounts[i] = s.seats[i].tableCardCount;
        s.seats[i].tableCardCount = m_counts[i];
    }
    m_showing = true;
    return true;
}

void CPreviousTrick::Restore(BoardGameState& s)
{
    if (!m_showing)
        return;
    memcpy(s.tableCards, m_savedCards, sizeof m_savedCards);
    for (int i = 0; i < kBoardSeats; ++i)
        s.seats[i].tableCardCount = m_savedCounts[i];
    m_showing = false;
}

bool CDragPace::Take(uint32_t now)
{
    if (now - m_last < kDragStepMs)
        return false;
    m_last = now;
    return true;
}

TipArea DesignatedCardTipArea(int portraitLeft, int portraitTop, int portraitHeight)
{
    TipArea a;
    a.left = portraitLeft - kTipAreaOffset;
    a.top = portraitTop + portraitHeight / 2;
    a.right = a.left + kTipAreaWidth;
    a.bottom = a.top + kTipAreaHeight;
    return a;
}

bool DesignatedCardShown(const BoardGameState& s)
{
    return s.optNoGuardCard != 0 && s.phase != 1 && s.rememberedCardId != kHiddenCardId;
}

TipAction DesignatedTipStep(bool tipShown, bool cardShown, bool inArea)
{
    if (cardShown && inArea)
        return tipShown ? kTipKeep : kTipShow;
    return tipShown ? kTipHide : kTipKeep;
}
