// CGameHistoryDlg: the hand history (score sheet) beside the table, hidden
// until the score button shows it. One row per hand with each seat's score,
// the seats from the one after the own seat round to the own seat, and a
// total row after the hands, in the table's skinned report list.
#pragma once

#include "afxcmn.h"
#include "afxwin.h"

#include <cstdint>

#include "CoolButton.h"
#include "QVBitmap.h"
#include "SkinListCtrl.h"

class CGameHistoryDlg : public CDialog
{
public:
    CGameHistoryDlg();
    ~CGameHistoryDlg() override;

    // Names of the players (the display table), the own seat and the player
    // count, read when the window is created.
    void SetPlayers(const char* const* names, int ownSeat, int playerCount);
    BOOL Create(CWnd* pParent);

    // A hand's row after the other hand rows (before a total row): "第%d局"
    // when single, else "第%d-%d局" from 1, then the scores of the seats in
    // column order ("%3d"). At a hand's end the table adds the hand's row,
    // removes the old total and adds the new one.
    void AddHandRow(int nHand, const int32_t* scores, BOOL bSingle);
    void AddTotalRow(const int32_t* scores);
    // The total row goes when there is one and more than one hand row.
    void RemoveTotalRow();
    void SetNote(LPCSTR lpszNote);

    int HandRows() const { return m_nRows; }
    BOOL HasTotalRow() const { return m_bTotal; }
    CSkinListCtrl& List() { return m_list; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override { ShowWindow(SW_HIDE); }
    void OnCancel() override { ShowWindow(SW_HIDE); }
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnPaint();
    void OnSize(UINT nType, int cx, int cy);
    void OnLButtonDown(UINT nFlags, CPoint point);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    DECLARE_MESSAGE_MAP()

private:
    void AddRow(const CString& title, const int32_t* scores);

    CSkinListCtrl m_list;
    CQVBitmapButton2 m_close;
    CQVBitmap m_background;
    CFont m_noteFont;
    CString m_strNote;
    CString m_names[5];
    int m_nOwnSeat = 0;
    int m_nPlayers = 5;
    int m_nRows = 0;
    BOOL m_bTotal = FALSE;
};
