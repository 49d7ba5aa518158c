// The news file of the per-user folder, read at an online start.
#include "GameClientApp.h"

#include "ClientPaths.h"
#include "GameWnd.h"

namespace {

const char kNewsSection[] = "NewsInfo";
// Texts of up to 259 characters.
constexpr DWORD kNewsTextSize = 260;

CString ReadText(LPCSTR lpszKey, const CString& current, LPCSTR lpszFile)
{
    char text[kNewsTextSize] = "";
    ::GetPrivateProfileStringA(kNewsSection, lpszKey, current, text, kNewsTextSize, lpszFile);
    return CString(text);
}

}  // namespace

void CGameClientApp::ReadNews()
{
    const CString folder = GetUserDataFolder();
    if (!folder.IsEmpty()) {
        const CString file = folder + "\\MARDAVELNEWS.ini";
        m_news.updateTime = (int32_t)::GetPrivateProfileIntA(kNewsSection, "UpdateNewsTime", 0, file);
        for (int i = 0; i < 4; i++) {
            CString key;
            key.Format("NewsTitle%d", i);
            m_news.titles[i] = ReadText(key, m_news.titles[i], file);
            key.Format("NewsURL%d", i);
            m_news.links[i] = ReadText(key, m_news.links[i], file);
        }
    }
    if (m_pGameWnd != NULL)
        m_pGameWnd->ShowNews(m_news.titles, m_news.links);
}
