// CTrustExitDlg: the question asked when the user closes the program while
// seated at the table: hand the seat to automatic play and leave (235), or
// stay (238). It counts down once a second and answers "stay" when the time
// is up; between hands of a match that is not finished only staying is
// possible.
#pragma once

#include "afxwin.h"

#include "CoolButton.h"
#include "HandHistory.h"
#include "SkinDlg.h"

struct BoardGameState;

class CTrustExitDlg : public CSkinDlg
{
public:
    // The table state gives the match's length, the hands played and the
    // phase; null: a single-hand game between hands.
    CTrustExitDlg(int nSeconds, const BoardGameState* pState, CWnd* pParent = NULL);

    int Chosen() const { return m_nChosen; }
    const LeaveQuestion& Question() const { return m_question; }
    int SecondsLeft() const { return m_countdown.Left(); }

protected:
    BOOL OnInitDialog() override;
    void OnCancel() override;
    void OnOK() override;
    void OnTimer(UINT_PTR nIDEvent);
    void OnLeave();
    void OnStay();
    DECLARE_MESSAGE_MAP()

private:
    void End(int nChosen);

    CLeaveCountdown m_countdown;
    LeaveQuestion m_question;
    int m_nChosen = kLeaveStay;
    CQVBitmapButton2 m_leave;
    CQVBitmapButton2 m_stay;
};
