#include "SetTitleDlg.h"

#include <shellapi.h>

#include <string>

#include "gamedlg_ids.h"

using namespace gamedlg;

const char* const CSetTitleDlg::kCategoryNames[kTitleCategories] = {
    "限时获取的称号", "限量获得的称号", "赛季专属的称号", "会员专属的称号"};

namespace {

const char kSection[] = "Title";
const char kBackgroundFile[] = "\\SetTitleBk.bmp";
const char kFontFace[] = "宋体";
constexpr int kButtonStates = 4;
constexpr int kRowTop = 100;
constexpr int kRowHeight = 40;
constexpr int kIconSize = 23;
constexpr int kRadioLeft = 372;
constexpr int kRadioRight = 428;
constexpr UINT kCodePage = 936;

struct ButtonPlace {
    UINT id;
    const char* key;
    int x, y;
};
const ButtonPlace kButtons[] = {
    {IDCANCEL, "SetTitleDlgCLose", 413, 2},
    {IDOK, "SetTitleDlgOK", 339, 332},
    {IDC_SETTITLE_PREV, "SetTitleDlgPre", 180, 298},
    {IDC_SETTITLE_NEXT, "SetTitleDlgNext", 242, 298},
};

const Gdiplus::Color kText(255, 140, 174, 87);
const Gdiplus::Color kTextFaint(200, 140, 174, 87);
const Gdiplus::Color kGold(255, 201, 182, 4);
const Gdiplus::Color kLink(255, 0, 137, 254);

std::wstring Wide(const CString& text)
{
    const int n = ::MultiByteToWideChar(kCodePage, 0, text, -1, NULL, 0);
    if (n <= 0)
        return std::wstring();
    std::wstring w((size_t)n, L'\0');
    ::MultiByteToWideChar(kCodePage, 0, text, -1, &w[0], n);
    w.resize((size_t)n - 1);
    return w;
}

// A title's name for the heading: every "**" becomes a blank.
CString Unmarked(CString name)
{
    name.Replace("**", " ");
    return name;
}

std::unique_ptr<Gdiplus::Font> MakeFont(int nPixels, int nStyle)
{
    const std::wstring face = Wide(kFontFace);
    std::unique_ptr<Gdiplus::Font> font(new Gdiplus::Font(face.c_str(), (Gdiplus::REAL)nPixels, nStyle,
                                                          Gdiplus::UnitPixel));
    if (font->GetLastStatus() != Gdiplus::Ok) {
        // Without the face the system's sans serif stands in.
        std::unique_ptr<Gdiplus::FontFamily> family(Gdiplus::FontFamily::GenericSansSerif()->Clone());
        font.reset(new Gdiplus::Font(family.get(), (Gdiplus::REAL)nPixels, nStyle, Gdiplus::UnitPixel));
    }
    return font;
}

void DrawTextAt(Gdiplus::Graphics& g, const CString& text, const Gdiplus::Font& font, const Gdiplus::Color& colour,
                float x, float y)
{
    const std::wstring w = Wide(text);
    Gdiplus::SolidBrush brush(colour);
    g.DrawString(w.c_str(), (INT)w.size(), &font, Gdiplus::PointF(x, y), &brush);
}

void DrawTextCentred(Gdiplus::Graphics& g, const CString& text, const Gdiplus::Font& font,
                     const Gdiplus::Color& colour, float x, float y, float w, float h)
{
    const std::wstring wide = Wide(text);
    Gdiplus::SolidBrush brush(colour);
    Gdiplus::StringFormat format;
    format.SetAlignment(Gdiplus::StringAlignmentCenter);
    format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
    format.SetFormatFlags(Gdiplus::StringFormatFlagsNoWrap);
    g.DrawString(wide.c_str(), (INT)wide.size(), &font, Gdiplus::RectF(x, y, w, h), &format, &brush);
}

}  // namespace

BEGIN_MESSAGE_MAP(CSetTitleDlg, CDialog)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_SETCURSOR()
    ON_WM_MOUSEMOVE()
    ON_WM_SHOWWINDOW()
    ON_WM_SIZE()
    ON_WM_CTLCOLOR()
    ON_BN_CLICKED(IDC_SETTITLE_PREV, OnPrev)
    ON_BN_CLICKED(IDC_SETTITLE_NEXT, OnNext)
END_MESSAGE_MAP()

CSetTitleDlg::CSetTitleDlg(ISetTitleHost* pHost) : m_pHost(pHost), m_rcMemberLink(41, 345, 91, 365) {}

CSetTitleDlg::~CSetTitleDlg()
{
    if (m_hWnd != NULL)
        DestroyWindow();
    if (m_hBackground != NULL)
        ::DeleteObject(m_hBackground);
    if (m_hWhiteBrush != NULL)
        ::DeleteObject(m_hWhiteBrush);
}

BOOL CSetTitleDlg::Create(CWnd* pParent)
{
    if (m_hWnd != NULL)
        return TRUE;
    return CDialog::Create(IDD_SETTITLE, pParent) && m_hWnd != NULL;
}

void CSetTitleDlg::Open()
{
    if (m_hWnd == NULL)
        return;
    CenterWindow();
    ShowWindow(SW_SHOW);
    Refresh();
}

CPngButton& CSetTitleDlg::Button(UINT nId)
{
    switch (nId) {
    case IDOK:
        return m_ok;
    case IDC_SETTITLE_PREV:
        return m_prev;
    case IDC_SETTITLE_NEXT:
        return m_next;
    default:
        return m_close;
    }
}

uint32_t CSetTitleDlg::Now() const { return ::GetTickCount(); }

void CSetTitleDlg::OpenLink(LPCSTR lpszAddress)
{
    ::ShellExecuteA(NULL, "open", lpszAddress, NULL, NULL, SW_SHOWNORMAL);
}

Gdiplus::Bitmap* CSetTitleDlg::LoadPicture(LPCSTR lpszKey)
{
    char file[MAX_PATH] = "";
    ::GetPrivateProfileStringA(kSection, lpszKey, "", file, sizeof file, m_pHost->GetSkinIni());
    if (file[0] == '\0')
        return NULL;
    const std::wstring path = Wide(m_pHost->GetSkinFolder() + "\\" + file);
    std::unique_ptr<Gdiplus::Bitmap> picture(new Gdiplus::Bitmap(path.c_str()));
    if (picture->GetLastStatus() != Gdiplus::Ok || picture->GetWidth() == 0 || picture->GetHeight() == 0)
        return NULL;
    m_pictures.push_back(std::move(picture));
    return m_pictures.back().get();
}

BOOL CSetTitleDlg::LoadPictures()
{
    if (m_pHost == NULL)
        return FALSE;
    m_pRadio[0] = LoadPicture("SetTitleDlgRadio1");
    m_pRadio[1] = LoadPicture("SetTitleDlgRadio2");
    if (m_pRadio[0] == NULL || m_pRadio[1] == NULL)
        return FALSE;
    for (int i = 0; i < kTitleCategories; i++) {
        CString key;
        key.Format("SetTitleDlgTitleIcon%d", i + 1);
        if ((m_pIcons[i] = LoadPicture(key)) == NULL)
            return FALSE;
    }
    for (const ButtonPlace& place : kButtons) {
        Gdiplus::Bitmap* picture = LoadPicture(place.key);
        CPngButton& button = Button(place.id);
        if (picture == NULL ||
            !button.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(place.x, place.y, place.x + 1, place.y + 1),
                           this, place.id) ||
            !button.Init(place.id, picture, 0, kButtonStates, 0))
            return FALSE;
    }
    m_hBackground = (HBITMAP)::LoadImageA(NULL, m_pHost->GetSkinFolder() + kBackgroundFile, IMAGE_BITMAP, 0, 0,
                                          LR_LOADFROMFILE);
    return m_hBackground != NULL;
}

BOOL CSetTitleDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (!LoadPictures()) {
        // A missing picture: no dialog, and nothing else of the program ends.
        ::OutputDebugStringA("Warning:Image Invalid.");
        DestroyWindow();
        return FALSE;
    }
    BITMAP bm = {};
    ::GetObject(m_hBackground, sizeof bm, &bm);
    SetWindowPos(NULL, 0, 0, bm.bmWidth, bm.bmHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_nPage = 0;
    m_tips.Create(this);
    m_tips.Activate(TRUE);
    Refresh();
    m_nChosen = m_nCurrent;
    return TRUE;
}

void CSetTitleDlg::Refresh()
{
    if (m_hWnd == NULL || m_pHost == NULL)
        return;
    const int count = m_pHost->GetTitleCount();
    const uint32_t currentId = m_pHost->GetCurrentTitleId();
    m_nCurrent = -1;
    for (int i = 0; i < count; i++) {
        TitleEntry entry;
        if (m_pHost->GetTitle(i, entry) && entry.id == currentId) {
            m_nCurrent = i;
            break;
        }
    }
    if (m_nChosen >= count || m_nChosen < 0)
        m_nChosen = m_nCurrent;
    if (m_nPage >= TitlePageCount(count))
        m_nPage = TitlePageCount(count) - 1;
    UpdatePageButtons();
    UpdateIconTips();
    Invalidate(FALSE);
}

void CSetTitleDlg::UpdatePageButtons()
{
    const int count = m_pHost->GetTitleCount();
    if (m_next.GetSafeHwnd() != NULL)
        m_next.EnableWindow(TitleNextEnabled(count, m_nPage));
    if (m_prev.GetSafeHwnd() != NULL)
        m_prev.EnableWindow(TitlePrevEnabled(m_nPage));
}

void CSetTitleDlg::UpdateIconTips()
{
    if (m_tips.GetSafeHwnd() == NULL)
        return;
    while (m_tips.GetToolCount() > 0) {
        TOOLINFOA ti = {};
        ti.cbSize = sizeof ti;
        if (!::SendMessageA(m_tips.m_hWnd, TTM_ENUMTOOLSA, 0, (LPARAM)&ti))
            break;
        ::SendMessageA(m_tips.m_hWnd, TTM_DELTOOLA, 0, (LPARAM)&ti);
    }
    const int count = m_pHost->GetTitleCount();
    for (int r = 0; r < kTitlesPerPage; r++) {
        TitleEntry entry;
        const int record = TitleRecordAt(count, m_nPage, r);
        if (record < 0 || !m_pHost->GetTitle(record, entry))
            continue;
        int shown = 0;
        for (bool flag : entry.categories)
            shown += flag ? 1 : 0;
        int i = 0;
        for (int c = 0; c < kTitleCategories; c++) {
            if (!entry.categories[c])
                continue;
            const int x = TitleIconX(shown, i++);
            const CRect rc(x, TitleIconY(r), x + kIconSize, TitleIconY(r) + kIconSize);
            m_tips.AddTool(this, kCategoryNames[c], &rc, (UINT_PTR)(1 + r * kTitleCategories + c));
        }
    }
}

void CSetTitleDlg::OnPrev()
{
    const int count = m_pHost->GetTitleCount();
    if (m_nPage > 0)
        m_nPage--;
    if (!TitlePrevEnabled(m_nPage))
        m_prev.EnableWindow(FALSE);
    m_next.EnableWindow(TitleNextEnabled(count, m_nPage));
    UpdateIconTips();
    Invalidate(FALSE);
}

void CSetTitleDlg::OnNext()
{
    const int count = m_pHost->GetTitleCount();
    if (!TitleNextEnabled(count, m_nPage))
        return;
    m_nPage++;
    m_next.EnableWindow(TitleNextEnabled(count, m_nPage));
    m_prev.EnableWindow(TRUE);
    UpdateIconTips();
    Invalidate(FALSE);
}

void CSetTitleDlg::OnOK()
{
    TitleRequestCheck check;
    check.chosen = m_nChosen;
    check.current = m_nCurrent;
    check.count = m_pHost->GetTitleCount();
    check.now = Now();
    check.lastRequest = m_nLastRequest;
    TitleEntry entry;
    if (ShouldSendTitleRequest(check) && m_pHost->GetTitle(m_nChosen, entry)) {
        m_pHost->RequestTitle(entry.id);
        // 0 stands for "never asked": a request at tick 0 counts as tick 1.
        m_nLastRequest = check.now != 0 ? check.now : 1;
    }
    ShowWindow(SW_HIDE);
}

void CSetTitleDlg::OnCancel() { ShowWindow(SW_HIDE); }

int CSetTitleDlg::RowUnder(CPoint point) const
{
    const int row = TitleRowAt(point.x, point.y);
    return row < 0 ? -1 : TitleRecordAt(m_pHost->GetTitleCount(), m_nPage, row);
}

BOOL CSetTitleDlg::OverMemberLink(CPoint point) const
{
    return !m_pHost->IsMember() && m_rcMemberLink.PtInRect(point);
}

void CSetTitleDlg::OnLButtonDown(UINT nFlags, CPoint point)
{
    const int record = RowUnder(point);
    if (record >= 0) {
        m_nChosen = record;
        Invalidate(FALSE);
    } else if (OverMemberLink(point)) {
        const CString address = m_pHost->GetMemberPage();
        if (IsWebAddress(address))
            OpenLink(address);
    }
    CDialog::OnLButtonDown(nFlags, point);
}

BOOL CSetTitleDlg::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    CPoint point;
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    if (nHitTest == HTCLIENT && (RowUnder(point) >= 0 || OverMemberLink(point))) {
        ::SetCursor(::LoadCursor(NULL, IDC_HAND));
        return TRUE;
    }
    return CDialog::OnSetCursor(pWnd, nHitTest, message);
}

void CSetTitleDlg::OnMouseMove(UINT nFlags, CPoint point)
{
    if (m_tips.GetSafeHwnd() != NULL) {
        MSG msg = {};
        msg.hwnd = m_hWnd;
        msg.message = WM_MOUSEMOVE;
        msg.wParam = nFlags;
        msg.lParam = MAKELPARAM(point.x, point.y);
        m_tips.RelayEvent(&msg);
    }
    CDialog::OnMouseMove(nFlags, point);
}

void CSetTitleDlg::OnShowWindow(BOOL bShow, UINT nStatus)
{
    CDialog::OnShowWindow(bShow, nStatus);
    if (bShow)
        Refresh();
}

void CSetTitleDlg::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    HRGN hRegion = ::CreateRoundRectRgn(0, 0, cx + 1, cy + 1, 6, 6);
    if (hRegion != NULL && !SetWindowRgn(hRegion, TRUE))
        ::DeleteObject(hRegion);
}

HBRUSH CSetTitleDlg::OnCtlColor(CDC* pDC, CWnd*, UINT)
{
    if (m_hWhiteBrush == NULL)
        m_hWhiteBrush = ::CreateSolidBrush(RGB(255, 255, 255));
    pDC->SetBkMode(TRANSPARENT);
    return m_hWhiteBrush;
}

BOOL CSetTitleDlg::OnEraseBkgnd(CDC*) { return TRUE; }

void CSetTitleDlg::OnPaint()
{
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    CDC mem;
    CBitmap bmp;
    if (rc.IsRectEmpty() || !mem.CreateCompatibleDC(&dc) || !bmp.CreateCompatibleBitmap(&dc, rc.Width(), rc.Height()))
        return;
    CBitmap* pOld = mem.SelectObject(&bmp);
    Draw(&mem);
    dc.BitBlt(0, 0, rc.Width(), rc.Height(), &mem, 0, 0, SRCCOPY);
    mem.SelectObject(pOld);
}

void CSetTitleDlg::Draw(CDC* pDC)
{
    if (m_hBackground != NULL) {
        CDC src;
        src.CreateCompatibleDC(pDC);
        HGDIOBJ hOld = ::SelectObject(src.GetSafeHdc(), m_hBackground);
        BITMAP bm = {};
        ::GetObject(m_hBackground, sizeof bm, &bm);
        pDC->BitBlt(0, 0, bm.bmWidth, bm.bmHeight, &src, 0, 0, SRCCOPY);
        ::SelectObject(src.GetSafeHdc(), hOld);
    }
    if (m_pHost == NULL)
        return;
    Gdiplus::Graphics g(pDC->GetSafeHdc());
    g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAliasGridFit);
    const std::unique_ptr<Gdiplus::Font> font = MakeFont(12, Gdiplus::FontStyleRegular);
    const std::unique_ptr<Gdiplus::Font> bigFont = MakeFont(14, Gdiplus::FontStyleRegular);
    const std::unique_ptr<Gdiplus::Font> linkFont = MakeFont(12, Gdiplus::FontStyleUnderline);

    // Heading: the title in use.
    TitleEntry current;
    const bool hasTitle = m_nCurrent >= 0 && m_pHost->GetTitle(m_nCurrent, current);
    DrawTextAt(g, hasTitle ? Unmarked(current.name) : CString("您尚未获得称号"), *font, kText, 132, 57);

    const int count = m_pHost->GetTitleCount();
    for (int r = 0; r < kTitlesPerPage; r++) {
        const int record = TitleRecordAt(count, m_nPage, r);
        TitleEntry entry;
        if (record < 0 || !m_pHost->GetTitle(record, entry))
            continue;
        const float top = (float)(kRowTop + kRowHeight * r);
        CString text;
        text.Format("%d", entry.number);
        DrawTextCentred(g, text, *font, kText, 30, top, 63, kRowHeight);
        text.Format("%d级", entry.level);
        DrawTextCentred(g, text, *font, kText, 93, top, 57, kRowHeight);
        // A name with "**" markers: the part before the first marker as
        // usual, the rest fainter and larger, both centred as one line.
        const int marker = entry.name.Find("**");
        if (marker < 0) {
            DrawTextCentred(g, entry.name, *font, kText, 150, top, 89, kRowHeight);
        } else {
            const CString head = entry.name.Left(marker);
            CString tail = entry.name.Mid(marker + 2);
            tail.Replace("**", " ");
            const std::wstring wHead = Wide(head), wTail = Wide(tail);
            Gdiplus::RectF headBox, tailBox;
            g.MeasureString(wHead.c_str(), (INT)wHead.size(), font.get(), Gdiplus::PointF(0, 0), &headBox);
            g.MeasureString(wTail.c_str(), (INT)wTail.size(), bigFont.get(), Gdiplus::PointF(0, 0), &tailBox);
            const float left = 150 + (89 - headBox.Width - tailBox.Width) / 2;
            DrawTextCentred(g, head, *font, kText, left, top, headBox.Width, kRowHeight);
            DrawTextCentred(g, tail, *bigFont, kTextFaint, left + headBox.Width, top, tailBox.Width, kRowHeight);
        }
        int shown = 0;
        for (bool flag : entry.categories)
            shown += flag ? 1 : 0;
        int i = 0;
        for (int c = 0; c < kTitleCategories; c++) {
            if (entry.categories[c])
                g.DrawImage(m_pIcons[c], TitleIconX(shown, i++), TitleIconY(r), kIconSize, kIconSize);
        }
        Gdiplus::Bitmap* radio = m_pRadio[record == m_nChosen ? 1 : 0];
        const int rw = (int)radio->GetWidth(), rh = (int)radio->GetHeight();
        g.DrawImage(radio, kRadioLeft + (kRadioRight - kRadioLeft - rw) / 2, (int)top + (kRowHeight - rh) / 2, rw,
                    rh);
    }

    DrawTextAt(g, "荣誉值：", *font, kGold, 41, 325);
    CString honour;
    honour.Format("%d", m_pHost->GetHonour());
    DrawTextAt(g, honour, *font, kText, 91, 325);
    if (m_pHost->IsMember()) {
        DrawTextAt(g, "会员 会显示特制荣誉锦旗", *font, kGold, 41, 345);
    } else {
        DrawTextAt(g, "成为会员", *linkFont, kLink, 41, 345);
        DrawTextAt(g, "即可显示特制荣誉锦旗", *font, kGold, 97, 345);
    }
}
