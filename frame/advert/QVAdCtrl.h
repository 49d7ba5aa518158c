// CQVAdCtrl: the window of the platform's advert control (QVAdCtrl.ocx),
// which shows a page given by address. Controls of version 2.2.0.0 and newer
// take remote pages (method 13); older ones are given local files only.
#pragma once

#include "afxdisp.h"

class CQVAdCtrl : public CWnd
{
    DECLARE_DYNCREATE(CQVAdCtrl)
public:
    // The version flag comes from the control file in the shared folder.
    CQVAdCtrl();

    static const CLSID& GetClsid();
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // An empty text does nothing (0). Otherwise the page counts as requested;
    // a new control is given the address (method 13) and, with the flag, is
    // told to show it (method 9 with zeros): 1. An old control shows the text
    // as a local page when the flag is set: 0.
    int ShowPage(LPCSTR lpszText, BOOL bFlag);
    // Shows the ".htm" file of the name (see advert::LocalPageName) when it
    // exists; FALSE otherwise.
    BOOL ShowLocalPage(LPCSTR lpszName);

    // Dispatch methods by id.
    void CallDispid1(long nCode, long nValue);
    long GetHostWindow();                                    // 2
    void CallDispid3(long nValue);
    long CallDispid4();
    void SetOwnerWindow(HWND hOwner);                        // 5
    void CallDispid6();
    void ShowFile(long nKind, LPCSTR lpszPage, long p3, long p4, long p5, long p6);   // 9
    void CallDispid10(long p1, long p2, long p3, long p4, long p5);
    void CallDispid11(long p1, long p2, long p3, long p4, long p5, long p6, long p7, long p8);
    void CallDispid12(long p1, long p2, long p3, long p4, long p5, long p6, long p7);
    void ShowAddress(long nKind, long nValue, LPCSTR lpszAddress);                   // 13

    // The control takes remote pages (version 2.2.0.0 or newer).
    BOOL m_bVersion;
    // A page was asked for with a text.
    BOOL m_bPageRequested;
};

// Forwards a code and a value (method 1) to every listed control whose host
// window (method 2) is the given window.
void NotifyAdControls(HWND hWnd, long nCode, long nValue, CQVAdCtrl* const* ppControls, int nCount);
