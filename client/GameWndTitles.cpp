// The table window's titles and honour: the honour table the board hands
// over (callback 10026), the title list (0x80026021) with each title's
// honour, and the title awards (callback 10023) announced in the chat. The
// bodies are read by TaskRewards.h; nothing of this runs while watching.
// The titles dialog shows the list, the own title and honour, and asks the
// board to show another title.
#include "GameWnd.h"

#include <gdiplus.h>

#include <string>

#include "ClientPaths.h"
#include "ClientServices.h"
#include "GameClientApp.h"
#include "GameEnvironment.h"
#include "MardavelBoard.h"
#include "MsgPack.h"
#include "PlayerInfo.h"
#include "SetTitleDlg.h"
#include "TaskRewards.h"

namespace {

const char kHonourFailedText[] = "网络异常，荣誉值获取失败!";
const wchar_t kBannerFace[] = L"微软雅黑";
constexpr UINT kBannerCodePage = 936;
constexpr int kBannerGap = 4;       // between the badges of a title's parts
constexpr int kBannerTextTop = 4;   // the first line below the badge's top
constexpr int kBannerLineGap = 2;

std::wstring BannerWide(const std::string& text)
{
    const int n = ::MultiByteToWideChar(kBannerCodePage, 0, text.data(), (int)text.size(), NULL, 0);
    if (n <= 0)
        return std::wstring();
    std::wstring wide((size_t)n, L'\0');
    ::MultiByteToWideChar(kBannerCodePage, 0, text.data(), (int)text.size(), &wide[0], n);
    return wide;
}
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

// The titles dialog's view of the table window: the title list, the own
// seat's record, the throttled set-title request and the table theme, whose
// section "Title" names the dialog's pictures.
class CTableTitleHost : public ISetTitleHost
{
public:
    explicit CTableTitleHost(CGameWnd* table) : m_table(table) {}

    int GetTitleCount() const override { return (int)m_table->m_titles.size(); }
    BOOL GetTitle(int nIndex, TitleEntry& rEntry) const override
    {
        if (nIndex < 0 || nIndex >= GetTitleCount())
            return FALSE;
        const CGameWnd::OwnedTitle& owned = m_table->m_titles[(size_t)nIndex];
        rEntry = TitleEntry();
        rEntry.name = owned.title.title.c_str();
        rEntry.id = owned.title.titleId;
        rEntry.number = nIndex + 1;
        // The list carries no level: the own record tells the level of the
        // title in use.
        const PlayerInfoRecord& own = Own();
        rEntry.level = own.titleId == owned.title.titleId ? BannerLevel(own.titleLevel) : 0;
        return TRUE;
    }
    uint32_t GetCurrentTitleId() const override { return Own().titleId; }
    int GetHonour() const override { return Own().honour; }
    BOOL IsMember() const override { return FALSE; }
    void RequestTitle(uint32_t nTitleId) override { m_table->ThrottledBoardRequest(nTitleId); }
    CString GetMemberPage() override { return m_table->ExpandAddress(LangRscGetString("MardavelMember")); }
    CString GetSkinIni() const override { return GetThemePath(0); }
    CString GetSkinFolder() const override { return GetThemePath(1); }

private:
    const PlayerInfoRecord& Own() const { return m_table->m_playerInfo.Record(m_table->OwnSeat()); }

    CGameWnd* m_table;
};

}  // namespace

void CGameWnd::ShowTitlesDialog()
{
    if (m_pTitleDlg == NULL) {
        m_pTitleHost = new CTableTitleHost(this);
        m_pTitleDlg = new CSetTitleDlg(m_pTitleHost);
        if (!m_pTitleDlg->Create(this)) {
            WriteGameLog("[OnTitles] titles dialog not made");
            DestroyTitlesDialog();
            return;
        }
    }
    m_pTitleDlg->Open();
    // Over the table window, not over the frame that owns the popup.
    m_pTitleDlg->CenterWindow(this);
    CString line;
    line.Format("[OnTitles] titles dialog shown, %d titles", (int)m_titles.size());
    WriteGameLog(line);
}

void CGameWnd::RefreshTitlesDialog()
{
    if (m_pTitleDlg != NULL && m_pTitleDlg->GetSafeHwnd() != NULL && m_pTitleDlg->IsWindowVisible())
        m_pTitleDlg->Refresh();
}

void CGameWnd::DestroyTitlesDialog()
{
    if (m_pTitleDlg != NULL && m_pTitleDlg->GetSafeHwnd() != NULL)
        m_pTitleDlg->DestroyWindow();
    delete m_pTitleDlg;
    m_pTitleDlg = NULL;
    delete m_pTitleHost;
    m_pTitleHost = NULL;
}

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
    std::vector<ServerTitle> titles;
    if (!ParseTitleList(pMessage + headerSize, nSize - headerSize, &titles)) {
        WriteGameLog("[OnTitleList] malformed, ignored");
        return;
    }
    m_titles.clear();
    for (const ServerTitle& title : titles)
        m_titles.push_back(OwnedTitle{title, HonourOf(m_honour, title.titleId)});
    CString line;
    line.Format("[OnTitleList] %d titles", (int)m_titles.size());
    WriteGameLog(line);
    RefreshTitlesDialog();
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
        for (const ServerTitle& title : group.titles) {
            const int32_t honour = HonourOf(m_honour, title.titleId);
            if (m_bAnnounceAwards)
                AppendChatLine(TitleAwardText(group.userName, title.title, honour).c_str(), kAwardColour, kAwardSize);
            // The own first title is shown at once.
            if (mine && m_playerInfo.Record(own).titleId == 0) {
                ThrottledBoardRequest(title.titleId);
                m_playerInfo.SetTitleId(own, title.titleId);
            }
        }
        if (mine)
            RefreshTitlesDialog();
    }
}

void CGameWnd::DrawTitleBanner(CDC& dc, int nSeat, int left, int top, int direction)
{
    if (!m_playerInfo.Has(nSeat))
        return;
    const PlayerInfoRecord& r = m_playerInfo.Record(nSeat);
    const int level = BannerLevel(r.titleLevel);
    if (r.titleId == 0 || level == 0)
        return;
    char key[16];
    snprintf(key, sizeof key, "TitleBK%02d", level);
    const CTableImage& badge = m_pictures.Theme("Title", key);
    if (!badge.IsLoaded())
        return;
    Gdiplus::Graphics graphics(dc.GetSafeHdc());
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
    const Gdiplus::SolidBrush white(Gdiplus::Color(255, 255, 255, 255));
    // A character is centred on the badge's middle; the box is wider than
    // the badge, as GDI+ pads a line, and nothing wraps or is clipped.
    Gdiplus::StringFormat format;
    format.SetAlignment(Gdiplus::StringAlignmentCenter);
    format.SetFormatFlags(Gdiplus::StringFormatFlagsNoWrap | Gdiplus::StringFormatFlagsNoClip);
    const std::vector<std::vector<std::string>> parts = BannerParts(r.title);
    for (size_t i = 0; i < parts.size(); i++) {
        const int x = left + direction * (int)i * (badge.Width() + kBannerGap);
        badge.Draw(dc.GetSafeHdc(), x, top);
        const int size = BannerFontSize((int)parts[i].size());
        Gdiplus::Font named(kBannerFace, (Gdiplus::REAL)size, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
        // Without the face, the sans-serif family writes the same text.
        Gdiplus::Font fallback(Gdiplus::FontFamily::GenericSansSerif(), (Gdiplus::REAL)size, Gdiplus::FontStyleRegular,
                               Gdiplus::UnitPixel);
        const Gdiplus::Font& font = named.GetLastStatus() == Gdiplus::Ok ? named : fallback;
        int y = top + kBannerTextTop;
        for (const std::string& character : parts[i]) {
            const std::wstring wide = BannerWide(character);
            const Gdiplus::RectF box((Gdiplus::REAL)(x - size), (Gdiplus::REAL)y, (Gdiplus::REAL)(badge.Width() + 2 * size),
                                     (Gdiplus::REAL)(2 * size));
            graphics.DrawString(wide.c_str(), (INT)wide.size(), &font, box, &format, &white);
            y += size + kBannerLineGap;
        }
    }
}
