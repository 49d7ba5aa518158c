// MsgBoxDlg.h - the program's message boxes, one behaviour in two looks:
// CQVMsgBoxDlg on the skinned dialog base (section "MsgBox", template 29733,
// bitmap buttons) and CQVPlainMsgBox, a plain dialog (template 29810) with
// the system's icons and push buttons. Both take a type word (MB_ values;
// its top bit masks the entry), an optional countdown in seconds that ends
// the box with the default button's result, and an optional text entry.
#pragma once

#include "CoolButton.h"
#include "HyperLinkText.h"
#include "MsgBoxModel.h"
#include "SkinDlg.h"

#include "kit_ids.h"
#include "app/ClientServices.h"

const UINT_PTR kMsgBoxCountdownTimer = 1;

// What both looks share; the dialog forwards its events here.
class CMsgBoxCore
{
public:
    CMsgBoxCore(CDialog* pDlg, BOOL bSkinned) : m_pDlg(pDlg), m_bSkinned(bSkinned) {}
    void Set(BOOL bEntry, LPCSTR lpszText, UINT nType, int nCountdown);
    void SetTextId(UINT nStringId);
    BOOL InitDialog();
    void DoDataExchange(CDataExchange* pDX);
    BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    BOOL OnTimer(UINT_PTR nIDEvent);
    void DrawIcon(CDC* pDC);
    void Destroy();

    CString m_strText;
    UINT m_nType = 0;
    int m_nCountdown = 0;
    int m_nRemaining = 0;
    BOOL m_bEntry = FALSE;
    BOOL m_bMasked = FALSE;
    kit::MsgBoxButtons m_buttons;
    int m_nTimeoutResult = IDCANCEL;
    int m_nChosen = IDCANCEL;
    CString m_strEntry;
    CString m_strMaskedEntry;
    HICON m_hIcon = NULL;
    BOOL m_bOwnIcon = FALSE;
    BOOL m_bTimer = FALSE;
    CHyperLinkText m_text;
    CCoolButton m_coolButtons[3];

private:
    void Layout();
    void End(int nResult);

    CDialog* m_pDlg;
    BOOL m_bSkinned;
};

class CQVMsgBoxDlg : public CSkinDlg
{
    DECLARE_DYNAMIC(CQVMsgBoxDlg)
public:
    CQVMsgBoxDlg(BOOL bEntry, LPCSTR lpszText, UINT nType = MB_OK, int nCountdown = 0, CWnd* pParent = NULL);
    CQVMsgBoxDlg(LPCSTR lpszText, UINT nType = MB_OK, int nCountdown = 0, CWnd* pParent = NULL);
    CQVMsgBoxDlg(UINT nStringId, UINT nType = MB_OK, int nCountdown = 0, CWnd* pParent = NULL);
    ~CQVMsgBoxDlg() override;

    CMsgBoxCore& Core() { return m_core; }
    int GetChosen() const { return m_core.m_nChosen; }
    const CString& GetEntry() const { return m_core.m_strEntry; }
    const CString& GetMaskedEntry() const { return m_core.m_strMaskedEntry; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnDrawExtra(CDC* pDC) override;
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    CMsgBoxCore m_core;
};

class CQVPlainMsgBox : public CDialog
{
    DECLARE_DYNAMIC(CQVPlainMsgBox)
public:
    CQVPlainMsgBox(BOOL bEntry, LPCSTR lpszText, UINT nType = MB_OK, int nCountdown = 0, CWnd* pParent = NULL);
    CQVPlainMsgBox(LPCSTR lpszText, UINT nType = MB_OK, int nCountdown = 0, CWnd* pParent = NULL);
    CQVPlainMsgBox(UINT nStringId, UINT nType = MB_OK, int nCountdown = 0, CWnd* pParent = NULL);

    CMsgBoxCore& Core() { return m_core; }
    int GetChosen() const { return m_core.m_nChosen; }
    const CString& GetEntry() const { return m_core.m_strEntry; }
    const CString& GetMaskedEntry() const { return m_core.m_strMaskedEntry; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    CMsgBoxCore m_core;
};

// The runtime's box routine (MsgBoxText, MsgBoxId, MsgBoxEx): the skinned box
// while the theme is in use, else the plain one; the plain one also when the
// skinned one cannot be made. The program installs it once at start-up.
int KitMessageBox(MsgBoxRequest& request);
void InstallKitMessageBoxes();
