// The table window's titles and honour: the honour table the board hands
// over (callback 10026), the title list (0x80026021) with each title's
// honour, and the title awards (callback 10023) announced in the chat. The
// bodies are read by TaskRewards.h; nothing of this runs while watching.
#include "GameWnd.h"

#include "ClientServices.h"
#include "GameClientApp.h"
#include "MardavelBoard.h"
#include "MsgPack.h"
#include "TaskRewards.h"

namespace {

const char kHonourFailedText[] = "网络异常，荣誉值获取失败!";
constexpr COLORREF kAwardColour = RGB(0, 0, 255);
constexpr int kAwardSize = 10;

// The body of a message the board handed over with its size.
bool BodyOf(const NetMsgHeader* message, intptr_t size, const uint8_t** body, size_t* length)
{
    if (message == NULL || size < (intptr_t)MsgHeaderSize(message->id))
        return false;
    *body = MsgBody(message);
    *length = (size_t)size - MsgHeaderSize(message->id);
    return true;
}

}  // namespace

void CGameWnd::OnHonourTableCallback(const NetMsgHeader* message, intptr_t size)
{
    const uint8_t* body = NULL;
    size_t length = 0;
    if (IsWatching() || !BodyOf(message, size, &body, &length))
        return;
    std::vector<HonourEntry> table;
    if (!ParseHonourTable(body, length, &table)) {
        WriteGameLog("[OnHonourTable] malformed, ignored");
        return;
    }
    try {
        m_honour = std::move(table);
    } catch (...) {
        MsgBoxText(kHonourFailedText, MB_ICONEXCLAMATION);
        return;
    }
    CString line;
    line.Format("[OnHonourTable] %d titles", (int)m_honour.size());
    WriteGameLog(line);
}

void CGameWnd::OnTitleList(const uint8_t* pMessage, size_t nSize)
{
    if (IsWatching() || pMessage == NULL || nSize < 8)
        return;
    const NetMsgHeader* header = reinterpret_cast<const NetMsgHeader*>(pMessage);
    const size_t headerSize = MsgHeaderSize(header->id);
    if (nSize < headerSize)
        return;
    std::vector<TitleEntry> titles;
    if (!ParseTitleList(pMessage + headerSize, nSize - headerSize, &titles)) {
        WriteGameLog("[OnTitleList] malformed, ignored");
        return;
    }
    m_titles.clear();
    for (const TitleEntry& title : titles)
        m_titles.push_back(OwnedTitle{title, HonourOf(m_honour, title.titleId)});
    CString line;
    line.Format("[OnTitleList] %d titles", (int)m_titles.size());
    WriteGameLog(line);
    ShowTitlesDialog();
}

void CGameWnd::OnTitleAwardCallback(const NetMsgHeader* message, intptr_t size)
{
    const uint8_t* body = NULL;
    size_t length = 0;
    if (IsWatching() || !BodyOf(message, size, &body, &length))
        return;
    std::vector<TitleAwardGroup> groups;
    if (!ParseTitleAward(body, length, &groups)) {
        WriteGameLog("[OnTitleAward] malformed, ignored");
        return;
    }
    CGameClientApp* app = GetClientApp();
    const int own = OwnSeat();
    for (const TitleAwardGroup& group : groups) {
        const bool mine = app != NULL && group.userName == app->OwnUserName();
        for (const TitleEntry& title : group.titles) {
            const int32_t honour = HonourOf(m_honour, title.titleId);
            if (m_bAnnounceAwards)
                AppendChatLine(TitleAwardText(group.userName, title.title, honour).c_str(), kAwardColour, kAwardSize);
            // The own first title is shown at once.
            if (mine && m_playerInfo.Record(own).titleId == 0) {
                ThrottledBoardRequest(title.titleId);
                m_playerInfo.SetTitleId(own, title.titleId);
            }
        }
    }
}
