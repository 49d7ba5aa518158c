// The players' avatars: CQVAvatar is the window of the platform's avatar
// control (methods by dispatch id); CAvatarPanel frames one control and sizes
// it in steps that match the table's card sizes.
#pragma once

#include "afxdisp.h"

// Panel sizes by size mode, border b on every side: mode 0 the given size;
// 1 the small card (54 x 72); 2 the normal card (71 x 96); 3 to 12 from
// 60 x 84 up by 10 x 14 (11: 140 x 190, 12: 150 x 190), plus 2b each way.
// FALSE for any other mode (the size is then left alone).
inline BOOL AvatarPanelSize(int nMode, int nWidth, int nHeight, int nBorder, int* pWidth, int* pHeight)
{
    int w = 0, h = 0;
    if (nMode == 0) {
        *pWidth = nWidth;
        *pHeight = nHeight;
        return TRUE;
    }
    if (nMode == 1) {
        w = (27 - nBorder) * 2;
        h = (36 - nBorder) * 2;
    } else if (nMode == 2) {
        w = 71 - 2 * nBorder;
        h = (48 - nBorder) * 2;
    } else if (nMode >= 3 && nMode <= 10) {
        w = 60 + 10 * (nMode - 3);
        h = 84 + 14 * (nMode - 3);
    } else if (nMode == 11) {
        w = 140;
        h = 190;
    } else if (nMode == 12) {
        w = 150;
        h = 190;
    } else {
        return FALSE;
    }
    *pWidth = w + 2 * nBorder;
    *pHeight = h + 2 * nBorder;
    return TRUE;
}

class CQVAvatar : public CWnd
{
public:
    static const CLSID& GetClsid();
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    void AboutBox();

    long CallDispid1(short* p1);
    long CallDispid2(long p1);
    long CallDispid3(long p1);
    long CallDispid4();
    long CallDispid5();
    long CallDispid6(long p1, long* p2);
    long CallDispid7(LPCSTR p1, long p2);
    long CallDispid8(long* p1, long p2);
    long CallDispid9(LPCSTR p1);
    long CallDispid10(short p1, short p2, short p3, short p4, long* p5);
    long CallDispid11(long p1);
    long CallDispid12(long p1);
    long CallDispid13(long p1);
    long CallDispid14(long p1);
    long CallDispid15(long p1);
    void CallDispid16(long p1);
    long CallDispid17();
    long CallDispid18(long p1, long p2, long p3, long p4);
    long CallDispid19();
    long CallDispid20(long p1);
    long CallDispid21(long p1);
    long CallDispid22();
    long CallDispid23(long p1, long p2, long p3, long p4, long p5, long p6, long p7, long p8, long p9);
    long CallDispid24(long p1, long p2, long p3, long p4, long p5, long p6, long p7, long p8, long p9);
    long CallDispid25(long p1, long p2, long p3, long p4, long p5, long p6, long p7, long p8, long p9);
    long CallDispid26();
    long CallDispid27(long p1);
    long CallDispid38();
    void CallDispid39(long p1, long p2, long p3);
    void CallDispid40(LPCSTR p1, LPCSTR p2, LPCSTR p3);};

class CAvatarPanel : public CWnd
{
public:
    enum { kDataBlockSize = 116, kControlWidth = 150, kControlHeight = 190 };
    enum { kPanelIdOffset = 27000, kFrameIdOffset = 27010, kControlIdOffset = 27020 };

    CAvatarPanel();
    ~CAvatarPanel() override;

    // Moves the panel to (x, y) with the size of the mode (see
    // AvatarPanelSize); -1 keeps the current size.
    void Place(int x, int y, int nSizeMode, int nWidth, int nHeight);
    // Creates panel, frame and control under the parent and hands the avatar
    // data to the control. FALSE when the parent has no window or a window
    // or the control cannot be made.
    BOOL SetupAvatar(LPCSTR lpszData, long nValue, CWnd* pParentWnd, UINT nBaseId, int nBorder);
    BOOL SetupAvatar(int nPlacement, LPCSTR lpszData, long nValue, CWnd* pParentWnd, UINT nBaseId, int nBorder);
    // The same data calls on the existing control; FALSE without one.
    BOOL UpdateAvatar(LPCSTR lpszData, long nValue);
    // Draws the avatar into the rectangle (x, y, width, height) of the
    // device context: the control is told the geometry (method 10) and its
    // picture is copied, scaled. FALSE without a control.
    BOOL DrawAvatar(CDC* pDC, int x, int y, int nWidth, int nHeight);
    // Further forwarding to the control.
    long SetArea(long x, long y, long nWidth, long nHeight);                 // method 18
    long SetLayout(long nWhich, const long values[9]);                       // 23 (0), 24 (1), 25 (2)
    void SetColors(long nBack, long nText, long nTextSize);                  // method 39
    void SetTexts(LPCSTR lpszName, LPCSTR lpszTitle, LPCSTR lpszNote);       // method 40

    static int GetBorderSize() { return s_nBorder; }
    int GetSizeMode() const { return m_nSizeMode; }
    int GetPlacement() const { return m_nPlacement; }
    CQVAvatar& GetAvatar() { return m_avatar; }
    CWnd& GetFrame() { return m_frame; }

protected:
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    void SendData(LPCSTR lpszData, long nValue);
    void DestroyParts();

    CWnd m_frame;
    CQVAvatar m_avatar;
    int m_nSizeMode;
    int m_nWidth;
    int m_nHeight;
    int m_nPlacement;
    COLORREF m_crBack;
    int m_nValue1;
    int m_nValue2;
    int m_nValue3;
    int m_nTextSize;
    static int s_nBorder;                    // shared by all panels, set by SetupAvatar
};
