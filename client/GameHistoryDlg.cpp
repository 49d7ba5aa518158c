#include "GameHistoryDlg.h"

#include "ClientPaths.h"
#include "HandHistory.h"
#include "client_ids.h"

namespace {

constexpr int kCloseLeft = 160;
constexpr int kCloseTop = 230;
constexpr int kRegionCorner = 6;
constexpr RECT kDragBand = {0, 0, 497, 30};
constexpr int kFirstColumnWidth = 45;
constexpr int kNoteLeft = 150;
constexpr int kNoteAboveBottom = 25;
constexpr int kMaxPlayers = 5;

}  // namespace

BEGIN_MESSAGE_MAP(CGameHistoryDlg, CDialog)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_WM_LBUTTONDOWN()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CGameHistoryDlg::CGameHistoryDlg() : CDialog(IDD_CLIENT_HISTORY, NULL) {}

CGameHistoryDlg::~CGameHistoryDlg() = default;

void CGameHistoryDlg::SetPlayers(const char* const* names, int ownSeat, int playerCount)
{
    m_nPlayers = playerCount > 0 && playerCount <= kMaxPlayers ? playerCount : kMaxPlayers;
    m_nOwnSeat = ownSeat >= 0 && ownSeat < m_nPlayers ? ownSeat : 0;
    for (int i = 0; i < kMaxPlayers; i++)
        m_names[i] = (names != NULL && i < m_nPlayers && names[i] != NULL) ? names[i] : "";
}

BOOL CGameHistoryDlg::Create(CWnd* pParent) { return CDialog::Create(IDD_CLIENT_HISTORY, pParent); }

BOOL CGameHistoryDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    // The close button: a strip of four state pictures from the theme.
    char picture[MAX_PATH] = "";
    ::GetPrivateProfileStringA("History", "BtnClose", "", picture, sizeof picture, GetThemePath(0));
    CString closePath = GetThemePath(1) + "\\" + picture;
    if (!m_close.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(0, 0, 16, 16), this, IDOK))
        return FALSE;
    if (picture[0] != '\0' && m_close.LoadStrip(IDOK, closePath, this, 0, 0, FALSE)) {
        CQVBitmap strip;
        if (strip.LoadFromFile(closePath))
            m_close.MoveWindow(kCloseLeft, kCloseTop, strip.Width() / 4, strip.Height());
    } else {
        m_close.MoveWindow(kCloseLeft, kCloseTop, 16, 16);
    }

    if (m_background.LoadFromFile(GetThemePath(2) + "\\History.bmp"))
        SetWindowPos(NULL, 0, 0, m_background.Width(), m_background.Height(), SWP_NOMOVE | SWP_NOZORDER);

    m_list.SubclassDlgItem(IDC_HISTORY_LIST, this);
    m_list.SetupScrollBars(FALSE);
    m_list.SetTextBkColor(CLR_NONE);
    m_list.InsertColumn(0, "局数", LVCFMT_CENTER, kFirstColumnWidth);
    for (int i = 0; i < m_nPlayers; i++)
        m_list.InsertColumn(i + 1, m_names[HistoryColumnSeat(i, m_nOwnSeat, m_nPlayers)], LVCFMT_CENTER, 60);

    CString face;
    face.LoadString(IDS_CLIENT_FONT_FACE);
    m_noteFont.CreateFont(14, 10, 0, 0, 800, FALSE, FALSE, 0, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face);
    CenterWindow();
    return TRUE;
}

void CGameHistoryDlg::AddRow(const CString& title, const int32_t* scores)
{
    const int row = m_list.InsertItem(m_list.GetItemCount(), title);
    for (int i = 0; i < m_nPlayers && scores != NULL; i++) {
        const int seat = HistoryColumnSeat(i, m_nOwnSeat, m_nPlayers);
        m_list.SetItemText(row, i + 1, HistoryScoreCell(scores[seat]).c_str());
    }
    m_list.RefreshBars();
}

void CGameHistoryDlg::AddHandRow(int nHand, const int32_t* scores, BOOL bSingle)
{
    if (m_list.GetSafeHwnd() == NULL)
        return;
    CString format, title;
    format.LoadString(bSingle ? IDS_CLIENT_HAND_N : IDS_CLIENT_HAND_RANGE);
    if (bSingle)
        title.Format(format, nHand);
    else
        title.Format(format, 1, nHand);
    // Hand rows come first; a total row stays after them.
    const int row = m_list.InsertItem(m_nRows, title);
    for (int i = 0; i < m_nPlayers && scores != NULL; i++)
        m_list.SetItemText(row, i + 1, HistoryScoreCell(scores[HistoryColumnSeat(i, m_nOwnSeat, m_nPlayers)]).c_str());
    m_nRows++;
    m_list.RefreshBars();
}

void CGameHistoryDlg::AddTotalRow(const int32_t* scores)
{
    if (m_list.GetSafeHwnd() == NULL)
        return;
    CString title;
    title.LoadString(IDS_CLIENT_TOTAL);
    AddRow(title, scores);
    m_bTotal = TRUE;
}

void CGameHistoryDlg::RemoveTotalRow()
{
    if (m_bTotal && m_nRows > 1 && m_list.GetSafeHwnd() != NULL) {
        m_list.DeleteItem(m_nRows);
        m_list.RefreshBars();
    }
    m_bTotal = FALSE;
}

void CGameHistoryDlg::SetNote(LPCSTR lpszNote)
{
    m_strNote = lpszNote != NULL ? lpszNote : "";
    if (GetSafeHwnd() != NULL)
        Invalidate();
}

BOOL CGameHistoryDlg::OnEraseBkgnd(CDC* pDC)
{
    if (!m_background.IsLoaded())
        return CDialog::OnEraseBkgnd(pDC);
    m_background.Draw(pDC, 0, 0);
    return TRUE;
}

void CGameHistoryDlg::OnPaint()
{
    CPaintDC dc(this);
    if (m_strNote.IsEmpty())
        return;
    CRect client;
    GetClientRect(&client);
    CFont* old = dc.SelectObject(&m_noteFont);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(RGB(255, 0, 0));
    dc.TextOut(kNoteLeft, client.bottom - kNoteAboveBottom, m_strNote);
    dc.SelectObject(old);
}

void CGameHistoryDlg::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    CRect window;
    GetWindowRect(&window);
    HRGN region = ::CreateRoundRectRgn(0, 0, window.Width() + 1, window.Height() + 1, kRegionCorner, kRegionCorner);
    if (region != NULL && !::SetWindowRgn(m_hWnd, region, TRUE))
        ::DeleteObject(region);
}

void CGameHistoryDlg::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (::PtInRect(&kDragBand, point)) {
        SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
        return;
    }
    CDialog::OnLButtonDown(nFlags, point);
}

HBRUSH CGameHistoryDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    if (nCtlColor == CTLCOLOR_STATIC) {
        pDC->SetBkMode(TRANSPARENT);
        return (HBRUSH)::GetStockObject(NULL_BRUSH);
    }
    return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
}
