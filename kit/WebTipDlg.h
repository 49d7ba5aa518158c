// WebTipDlg.h - the web notice popup: a framed popup (template 29663, the
// frame pictures 29664-29673 of the resource library) holding a web browser
// control (child 101) that shows a notice page. Its caption reads "温馨提示",
// or "温馨提示 - " and the page's title. Closing it leaves the browser on
// "about:blank" and hides it; a later Navigate shows it again.
#pragma once

#include "FramedPopupDlg.h"
#include "WebBrowser2.h"

class CQVWebTipDlg : public CFramedPopupDlg
{
    DECLARE_DYNAMIC(CQVWebTipDlg)
public:
    enum { kBrowserId = 101 };

    explicit CQVWebTipDlg(CWnd* pParent = NULL);
    ~CQVWebTipDlg() override;

    // Makes the popup (again) width by height, centred on its owner, with
    // its frame, shaped corners and browser; hidden until Navigate. FALSE
    // when the dialog, a frame picture or the browser cannot be made.
    BOOL Create(int nWidth, int nHeight);
    // Opens an http:// or https:// address in the browser and shows the
    // popup. FALSE before Create succeeded, for any other address, or when
    // the browser refuses it.
    BOOL Navigate(LPCSTR lpszAddress);
    const CString& GetAddress() const { return m_strAddress; }
    // A non-empty title shows as "温馨提示 - " + title; an empty one changes
    // nothing.
    void SetPageTitle(LPCSTR lpszTitle);
    const CString& GetCaption() const { return m_strCaption; }
    CWebBrowser2& GetBrowser() { return m_browser; }

    // The frame, then the caption in its bold font.
    void DrawFrame() override;

protected:
    // Close button, Escape: the browser goes to "about:blank", the popup hides.
    void OnCancel() override;
    void OnOK() override {}
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    using CDialog::Create;
    void BuildRegion();
    void PlaceBrowser();
    BOOL OpenInBrowser(LPCSTR lpszAddress);

    CWnd* m_pParent;
    CString m_strAddress;
    CWebBrowser2 m_browser;
    CString m_strCaption;
    CFont m_captionFont;
};
