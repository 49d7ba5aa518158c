// CSetTitleDlg: the player's titles, five to a page and newest first, with
// the one in use marked; the player picks another and OK asks the server to
// make it the current title. Everything is drawn from the skin's pictures
// over "\SetTitleBk.bmp", which sets the dialog's size.
//
// The table client creates it once (modeless, hidden until shown), keeps it,
// and calls Refresh when a title list arrives; OK and Close hide it. The
// title list, the seat's current title and the set-title request belong to
// the table client, reached through ISetTitleHost.
#pragma once

#include "afxcmn.h"
#include "afxwin.h"

#include <gdiplus.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "DialogRules.h"
#include "PngButton.h"

// One title of the player's list.
struct TitleEntry {
    CString name;            // may hold "**" markers
    uint32_t id = 0;         // what the set-title request sends
    int number = 0;          // shown in the first column
    int level = 0;           // shown as "%d级"
    bool categories[gamedlg::kTitleCategories] = {};
};

class ISetTitleHost
{
public:
    virtual ~ISetTitleHost() = default;
    virtual int GetTitleCount() const = 0;
    virtual BOOL GetTitle(int nIndex, TitleEntry& rEntry) const = 0;
    // The own seat's current title id.
    virtual uint32_t GetCurrentTitleId() const = 0;
    virtual int GetHonour() const = 0;
    virtual BOOL IsMember() const = 0;
    // The set-title request for a title id (the table window's throttled
    // board request).
    virtual void RequestTitle(uint32_t nTitleId) = 0;
    // The membership page with the player's details filled in.
    virtual CString GetMemberPage() = 0;
    // The picture store: an ini whose section "Title" names the pictures,
    // and the skin folder they and "SetTitleBk.bmp" are in.
    virtual CString GetSkinIni() const = 0;
    virtual CString GetSkinFolder() const = 0;
};

class CSetTitleDlg : public CDialog
{
public:
    // The four category names, in category order.
    static const char* const kCategoryNames[gamedlg::kTitleCategories];

    explicit CSetTitleDlg(ISetTitleHost* pHost);
    ~CSetTitleDlg() override;

    using CDialog::Create;
    // Makes the (hidden) window; FALSE, with no window, when a picture of
    // the skin is missing.
    BOOL Create(CWnd* pParent);
    // Centres and shows the window (again).
    void Open();
    // Finds the current title again, fixes Prev and Next and redraws.
    void Refresh();

    int GetPage() const { return m_nPage; }
    int GetCurrent() const { return m_nCurrent; }
    int GetChosen() const { return m_nChosen; }
    uint32_t GetLastRequest() const { return m_nLastRequest; }
    CRect GetMemberLinkRect() const { return m_rcMemberLink; }
    CPngButton& Button(UINT nId);

    // Paints the whole dialog into a DC of its client size.
    void Draw(CDC* pDC);

protected:
    // The clock of the request throttle (milliseconds).
    virtual uint32_t Now() const;
    // Opens a checked web address in the default browser.
    virtual void OpenLink(LPCSTR lpszAddress);

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnPrev();
    afx_msg void OnNext();
    DECLARE_MESSAGE_MAP()

private:
    Gdiplus::Bitmap* LoadPicture(LPCSTR lpszKey);
    BOOL LoadPictures();
    void UpdatePageButtons();
    void UpdateIconTips();
    int RowUnder(CPoint point) const;
    BOOL OverMemberLink(CPoint point) const;

    ISetTitleHost* m_pHost;
    HBITMAP m_hBackground = NULL;
    HBRUSH m_hWhiteBrush = NULL;
    Gdiplus::Bitmap* m_pRadio[2] = {};
    Gdiplus::Bitmap* m_pIcons[gamedlg::kTitleCategories] = {};
    std::vector<std::unique_ptr<Gdiplus::Bitmap>> m_pictures;   // owns every picture above
    CPngButton m_ok;
    CPngButton m_close;
    CPngButton m_prev;
    CPngButton m_next;
    CToolTipCtrl m_tips;
    int m_nPage = 0;
    int m_nCurrent = -1;
    int m_nChosen = -1;
    CRect m_rcMemberLink;
    uint32_t m_nLastRequest = 0;
};
