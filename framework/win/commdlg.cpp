// CFileDialog and CColorDialog over the system's common dialogs.
#include "winstate.h"

#include "afxext.h"

IMPLEMENT_DYNAMIC(CCommonDialog, CDialog)
IMPLEMENT_DYNAMIC(CFileDialog, CCommonDialog)
IMPLEMENT_DYNAMIC(CColorDialog, CCommonDialog)

// The hook of the explorer-style dialog: the object takes the dialog's inner
// window while it runs (its parent is the dialog's frame).
UINT_PTR CALLBACK AfxFileDialogHook(HWND hWnd, UINT message, WPARAM, LPARAM lParam)
{
    if (message == WM_INITDIALOG && lParam != 0) {
        const OPENFILENAMEA* pOfn = reinterpret_cast<const OPENFILENAMEA*>(lParam);
        CFileDialog* pDlg = reinterpret_cast<CFileDialog*>(pOfn->lCustData);
        try {
            if (pDlg != NULL && pDlg->m_hWnd == NULL)
                pDlg->Attach(hWnd);
        } catch (...) {
            // no memory for the handle map: the dialog runs without the object
        }
    } else if (message == WM_DESTROY) {
        CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
        if (CFileDialog* pDlg = DYNAMIC_DOWNCAST(CFileDialog, pWnd))
            pDlg->Detach();
    }
    return 0;
}

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt, LPCTSTR lpszFileName, DWORD dwFlags,
                         LPCTSTR lpszFilter, CWnd* pParentWnd)
    : CCommonDialog(pParentWnd), m_bOpenFileDialog(bOpenFileDialog)
{
    memset(&m_ofn, 0, sizeof(m_ofn));
    memset(m_szFileTitle, 0, sizeof(m_szFileTitle));
    memset(m_szFileName, 0, sizeof(m_szFileName));
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = sizeof(m_szFileName);
    m_ofn.lpstrFileTitle = m_szFileTitle;
    m_ofn.nMaxFileTitle = sizeof(m_szFileTitle);
    m_ofn.Flags = dwFlags | OFN_EXPLORER | OFN_ENABLEHOOK;
    m_ofn.lpfnHook = AfxFileDialogHook;
    m_ofn.lCustData = reinterpret_cast<LPARAM>(this);
    if (lpszDefExt != NULL) {
        m_strDefExt = lpszDefExt;
        m_ofn.lpstrDefExt = m_strDefExt;
    }
    if (lpszFileName != NULL)
        lstrcpynA(m_szFileName, lpszFileName, sizeof(m_szFileName));
    if (lpszFilter != NULL) {
        // "text|pattern|...||" becomes the system's zero-separated list. A
        // '|' that is the second byte of a double-byte character is text.
        int nLen = lstrlenA(lpszFilter);
        LPSTR pch = m_strFilter.GetBuffer(nLen + 1);
        memcpy(pch, lpszFilter, (size_t)nLen + 1);
        for (int i = 0; i < nLen; i++) {
            if (::IsDBCSLeadByte((BYTE)pch[i]) && i + 1 < nLen)
                i++;
            else if (pch[i] == '|')
                pch[i] = '\0';
        }
        pch[nLen] = '\0';
        m_strFilter.ReleaseBuffer(nLen + 1);   // keeps the embedded zeros
        m_ofn.lpstrFilter = m_strFilter;
    }
}

INT_PTR CFileDialog::DoModal()
{
    m_ofn.hwndOwner = PreModal();
    BOOL bResult = m_bOpenFileDialog ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
    if (m_hWnd != NULL)
        Detach();
    PostModal();
    return bResult ? IDOK : IDCANCEL;
}

CString CFileDialog::GetFileName() const
{
    if (m_ofn.nFileOffset < lstrlenA(m_ofn.lpstrFile))
        return CString(m_ofn.lpstrFile + m_ofn.nFileOffset);
    return CString();
}

CString CFileDialog::GetFileExt() const
{
    if (m_ofn.nFileExtension == 0 || m_ofn.nFileExtension >= lstrlenA(m_ofn.lpstrFile))
        return CString();
    return CString(m_ofn.lpstrFile + m_ofn.nFileExtension);
}

CString CFileDialog::GetFileTitle() const
{
    CString strResult = GetFileName();
    int nDot = strResult.ReverseFind('.');
    if (nDot >= 0)
        strResult = strResult.Left(nDot);
    return strResult;
}

/////////////////////////////////////////////////////////////////////////////
// CColorDialog

COLORREF* PASCAL CColorDialog::GetSavedCustomColors()
{
    static COLORREF s_clrCustom[16] = {
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255)};
    return s_clrCustom;
}

CColorDialog::CColorDialog(COLORREF clrInit, DWORD dwFlags, CWnd* pParentWnd) : CCommonDialog(pParentWnd)
{
    memset(&m_cc, 0, sizeof(m_cc));
    m_cc.lStructSize = sizeof(m_cc);
    m_cc.lpCustColors = GetSavedCustomColors();
    m_cc.Flags = dwFlags;
    m_cc.rgbResult = clrInit;
    if (clrInit != 0)
        m_cc.Flags |= CC_RGBINIT;
}

INT_PTR CColorDialog::DoModal()
{
    m_cc.hwndOwner = PreModal();
    BOOL bResult = ::ChooseColorA(&m_cc);
    PostModal();
    return bResult ? IDOK : IDCANCEL;
}
