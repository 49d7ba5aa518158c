// AboutDlg.h - the skinned About box (section "About", template 29891): the
// program's icon, name, version and build. It is (2 x border + 332) by
// (caption + border + 85); the template's controls count from inside the
// frame.
#pragma once

#include "CoolButton.h"
#include "HyperLinkText.h"
#include "SkinDlg.h"

#include "kit_ids.h"

class CQVAboutDlg : public CSkinDlg
{
    DECLARE_DYNAMIC(CQVAboutDlg)
public:
    explicit CQVAboutDlg(UINT nIconId = 0, CWnd* pParent = NULL);
    ~CQVAboutDlg() override;

    void SetIconId(UINT nIconId) { m_nIconId = nIconId; }
    // The texts: "%s\n%s %s Build%s" (product, description, version, build)
    // and "%s\n%s" (company, copyright), from the program's version record
    // unless set here first.
    void SetTexts(LPCSTR lpszText1, LPCSTR lpszText2);
    const CString& GetText1() const { return m_strText1; }
    const CString& GetText2() const { return m_strText2; }
    HICON GetIconHandle() const { return m_hIcon; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnDrawExtra(CDC* pDC) override;
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    CString m_strText1, m_strText2;
    BOOL m_bTextsSet = FALSE;
    CHyperLinkText m_text1, m_text2;
    CCoolButton m_ok;
    UINT m_nIconId = 0;
    HICON m_hIcon = NULL;
};
