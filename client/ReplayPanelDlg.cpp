#include "ReplayPanelDlg.h"

#include "afxext.h"

#include "ClientPaths.h"
#include "GameRecord.h"
#include "client_ids.h"

namespace {

// The button rows' bottom edges above the panel's bottom.
constexpr int kOpenRowBottom = 105;
constexpr int kStepRowBottom = 65;
constexpr int kRoundRowBottom = 25;
// Space beside and between the buttons when the panel is too narrow for
// their own places.
constexpr int kPanelMargin = 6;
// The background is drawn past the client area's bottom by this much.
constexpr int kBackgroundOverhang = 200;

const char kSettings[] = "Settings";

struct PanelButton {
    int id;
    int bottom;   // above the panel's bottom
};
const PanelButton kButtons[] = {
    {IDC_REPLAY_OPEN, kOpenRowBottom},       {IDC_REPLAY_RESTART, kOpenRowBottom},
    {IDC_REPLAY_PREV_STEP, kStepRowBottom},  {IDC_REPLAY_NEXT_STEP, kStepRowBottom},
    {IDC_REPLAY_PREV_ROUND, kRoundRowBottom}, {IDC_REPLAY_NEXT_ROUND, kRoundRowBottom},
};

}  // namespace

BEGIN_MESSAGE_MAP(CReplayPanelDlg, CDialog)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_BN_CLICKED(IDC_REPLAY_OPEN, OnOpen)
    ON_BN_CLICKED(IDC_REPLAY_RESTART, OnRestart)
    ON_BN_CLICKED(IDC_REPLAY_NEXT_STEP, OnNextStep)
    ON_BN_CLICKED(IDC_REPLAY_NEXT_ROUND, OnNextRound)
    ON_BN_CLICKED(IDC_REPLAY_PREV_ROUND, OnPreviousRound)
    ON_BN_CLICKED(IDC_REPLAY_PREV_STEP, OnPreviousStep)
END_MESSAGE_MAP()

CReplayPanelDlg::CReplayPanelDlg(CGameRecord& record, CWnd* pParent)
    : CDialog(IDD_CLIENT_REPLAY, pParent), m_record(record)
{
}

CReplayPanelDlg::~CReplayPanelDlg()
{
    if (m_record.m_pReplayPanel == this)
        m_record.m_pReplayPanel = NULL;
}

BOOL CReplayPanelDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    KeepTemplatePlaces();
    CString path = GetExeFolder() + "\\theme\\prompview.bmp";
    if (::GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) {
        CString profile = AfxGetApp() != NULL ? AfxGetApp()->GetProfileString("", "Path", "") : CString();
        while (!profile.IsEmpty() && profile[profile.GetLength() - 1] == '\\')
            profile = profile.Left(profile.GetLength() - 1);
        path = profile + "\\theme\\prompview.bmp";
    }
    m_background.LoadFromFile(path);
    m_record.m_pReplayPanel = this;
    m_record.UpdateButtons(0);
    return TRUE;
}

BOOL CReplayPanelDlg::OnEraseBkgnd(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    if (m_background.IsLoaded()) {
        // Inclusive: right and bottom are the last pixels drawn.
        RECT area = {client.left, client.top, client.right - 1, client.bottom - 1 + kBackgroundOverhang};
        m_background.DrawToDC(pDC, &area, CQVBitmap::kTile);
    } else {
        pDC->FillSolidRect(&client, ::GetSysColor(COLOR_BTNFACE));
    }
    return TRUE;
}

void CReplayPanelDlg::OnPaint()
{
    CPaintDC dc(this);
}

void CReplayPanelDlg::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    CWnd* open = GetDlgItem(IDC_REPLAY_OPEN);
    if (open == NULL || open->GetSafeHwnd() == NULL)
        return;
    CRect openRect;
    open->GetWindowRect(&openRect);
    ScreenToClient(&openRect);
    const int height = openRect.Height();
    // The buttons keep their horizontal places; a panel narrower than the
    // two columns gets two columns that fit it.
    if (!m_bPlacesKept)
        KeepTemplatePlaces();
    int rightColumnEnd = 0;
    for (const CRect& r : m_places)
        rightColumnEnd = r.right > rightColumnEnd ? r.right : rightColumnEnd;
    const BOOL fit = cx > 0 && rightColumnEnd > cx - kPanelMargin;
    const int fitWidth = (cx - 3 * kPanelMargin) / 2;
    for (size_t i = 0; i < sizeof kButtons / sizeof kButtons[0]; i++) {
        const PanelButton& b = kButtons[i];
        CWnd* button = GetDlgItem(b.id);
        if (button == NULL)
            continue;
        const CRect& r = m_places[i];
        if (fit && fitWidth > 0) {
            const int column = (b.id == IDC_REPLAY_OPEN || b.id == IDC_REPLAY_PREV_STEP || b.id == IDC_REPLAY_PREV_ROUND)
                                   ? 0 : 1;
            button->MoveWindow(kPanelMargin + column * (fitWidth + kPanelMargin), cy - b.bottom - height, fitWidth,
                               height);
        } else {
            button->MoveWindow(r.left, cy - b.bottom - height, r.Width(), height);
        }
    }
    Invalidate();
    UpdateWindow();
}

void CReplayPanelDlg::KeepTemplatePlaces()
{
    for (size_t i = 0; i < sizeof kButtons / sizeof kButtons[0]; i++) {
        if (CWnd* button = GetDlgItem(kButtons[i].id)) {
            button->GetWindowRect(&m_places[i]);
            ScreenToClient(&m_places[i]);
        }
    }
    m_bPlacesKept = TRUE;
}

CString CReplayPanelDlg::InitialFileName() const
{
    if (!m_bNoFileYet && !m_strLastPath.IsEmpty())
        return m_strLastPath;
    CString folder = m_record.m_strSaveFolder;
    if (folder.IsEmpty() && AfxGetApp() != NULL)
        folder = AfxGetApp()->GetProfileString(kSettings, "AutoSavePath", "");
    return folder + "\\*.peg";
}

void CReplayPanelDlg::OnOpen()
{
    const CString initial = InitialFileName();
    CFileDialog dialog(TRUE, ".PEG", initial, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                       "Mardavel save files(*.peg)|*.peg|All files(*.*)|*.*||", this);
    if (dialog.DoModal() != IDOK)
        return;
    const CString path = dialog.GetPathName();
    if (m_record.OpenFile(path)) {
        m_strLastPath = path;
        m_bNoFileYet = FALSE;
    }
}

void CReplayPanelDlg::OnRestart() { m_record.Restart(); }
void CReplayPanelDlg::OnNextStep() { m_record.StepForward(); }
void CReplayPanelDlg::OnNextRound() { m_record.StepRound(); }
void CReplayPanelDlg::OnPreviousRound() { m_record.StepRoundBack(); }
void CReplayPanelDlg::OnPreviousStep() { m_record.StepBack(); }

void CReplayPanelDlg::EnableButton(int nId, BOOL bEnable)
{
    if (CWnd* button = GetDlgItem(nId))
        button->EnableWindow(bEnable);
}

void CReplayPanelDlg::SetButtons(const replay::ReplayButtons& buttons)
{
    EnableButton(IDC_REPLAY_RESTART, buttons.restart);
    EnableButton(IDC_REPLAY_PREV_STEP, buttons.previousStep);
    EnableButton(IDC_REPLAY_PREV_ROUND, buttons.previousRound);
    EnableButton(IDC_REPLAY_NEXT_STEP, buttons.nextStep);
    EnableButton(IDC_REPLAY_NEXT_ROUND, buttons.nextRound);
}

void CReplayPanelDlg::EnableAllButtons()
{
    for (const PanelButton& b : kButtons)
        EnableButton(b.id, TRUE);
}
