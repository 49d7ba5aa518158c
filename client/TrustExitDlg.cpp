#include "TrustExitDlg.h"

#include "MardavelState.h"
#include "client_ids.h"

namespace {

constexpr UINT_PTR kCountdownTimer = 1;
constexpr UINT kCountdownMs = 1000;
constexpr uint32_t kHandsShift = 20;
constexpr uint32_t kHandsMask = 0xF;

}  // namespace

BEGIN_MESSAGE_MAP(CTrustExitDlg, CSkinDlg)
    ON_WM_TIMER()
    ON_BN_CLICKED(IDC_TRUSTEXIT_LEAVE, OnLeave)
    ON_BN_CLICKED(IDC_TRUSTEXIT_STAY, OnStay)
END_MESSAGE_MAP()

CTrustExitDlg::CTrustExitDlg(int nSeconds, const BoardGameState* pState, CWnd* pParent)
    : CSkinDlg(IDD_CLIENT_TRUSTEXIT, pParent), m_countdown(nSeconds)
{
    SetSkinSection("exit");
    if (pState != NULL) {
        const int hands = (int)((pState->ruleFlags >> kHandsShift) & kHandsMask);
        m_question = LeaveQuestionFor(hands, (int)pState->handsFinished, pState->phase);
    }
}

BOOL CTrustExitDlg::OnInitDialog()
{
    CSkinDlg::OnInitDialog();
    m_nChosen = kLeaveStay;
    SetDlgItemInt(IDC_TRUSTEXIT_COUNT, (UINT)(m_countdown.Left() > 0 ? m_countdown.Left() : 0), FALSE);
    m_leave.LoadStripFromIni(IDC_TRUSTEXIT_LEAVE, "QVDLG_exit", "IDCTRUSTEXIT", this);
    m_stay.LoadStripFromIni(IDC_TRUSTEXIT_STAY, "QVDLG_exit", "IDCANCEL", this);
    if (m_question.textId != 0) {
        CString text;
        text.LoadString(m_question.textId == kLeaveTextDuringHand ? IDS_CLIENT_MATCH_DURING : IDS_CLIENT_MATCH_BETWEEN);
        SetDlgItemText(IDC_TRUSTEXIT_TEXT, text);
    }
    if (CWnd* leave = GetDlgItem(IDC_TRUSTEXIT_LEAVE))
        leave->EnableWindow(m_question.leaveEnabled);
    SetTimer(kCountdownTimer, kCountdownMs, NULL);
    SendMessage(DM_SETDEFID, IDC_TRUSTEXIT_STAY, 0);
    if (CWnd* stay = GetDlgItem(IDC_TRUSTEXIT_STAY))
        GotoDlgCtrl(stay);
    return FALSE;
}

void CTrustExitDlg::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != kCountdownTimer) {
        CSkinDlg::OnTimer(nIDEvent);
        return;
    }
    if (m_countdown.Tick()) {
        End(kLeaveStay);
        return;
    }
    SetDlgItemInt(IDC_TRUSTEXIT_COUNT, (UINT)m_countdown.Left(), FALSE);
}

void CTrustExitDlg::End(int nChosen)
{
    KillTimer(kCountdownTimer);
    m_nChosen = nChosen;
    EndDialog(nChosen);
}

void CTrustExitDlg::OnLeave()
{
    if (m_question.leaveEnabled)
        End(kLeaveAndTrust);
}

void CTrustExitDlg::OnStay() { End(kLeaveStay); }
void CTrustExitDlg::OnCancel() { End(kLeaveStay); }
void CTrustExitDlg::OnOK() { End(kLeaveStay); }
