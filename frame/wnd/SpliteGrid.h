// SpliteGrid.h - CBkButton, the caption and hide button of the frame, and
// CSpliteGrid, the area that divides its rectangle between two child areas
// with a slider the user drags or turns with the wheel, buttons that hide a
// side, and a division kept in the profile (section "GD_" + name).
//
// The division's arithmetic is SplitModel's (SplitModel.h); the grid copies
// its children's rectangles and visibility into the model before every
// operation and back after it.
#pragma once

#include <afxwin.h>

#include "BkPainter.h"
#include "SplitModel.h"

class CImageObj;

class CBkButton
{
public:
    enum State
    {
        kNormal = 0,
        kPressedInside = 1,
        kPressedOutside = 2,
        kHover = 3,
    };

    CBkButton();
    virtual ~CBkButton();

    // "key,anchor,(l,t,r,b),picture" with the picture looked up by the
    // caller; FALSE when the text is not a usable button.
    BOOL Parse(LPCSTR text, CString* pictureName);
    void SetPicture(CImageObj* picture) { m_pPicture = picture; }
    void SetChannelPicture(CImageObj* picture) { m_pChannel = picture; }
    void SetOtherPicture(CImageObj* picture) { m_pOther = picture; }
    void SetTips(LPCSTR tip, LPCSTR otherTip);
    void SetOwner(CBkPainter* owner) { m_pOwner = owner; }

    // Placement against a container (the client rectangle or the slider).
    void Place(const RECT& container);
    void Draw(CImageObj* dc, int ox, int oy);
    BOOL HitTest(POINT pt) const;
    void OnMouseMove(POINT pt);
    BOOL OnPress(POINT pt);
    void OnRelease(POINT pt);
    // Each does nothing when the value is unchanged; with redraw the button
    // is drawn again through the area host.
    void SetShown(BOOL shown, BOOL redraw);
    void SetEnabled(BOOL enabled, BOOL redraw);
    void SetOtherState(BOOL other, BOOL redraw);
    void SetState(int state, BOOL redraw);

    // The frame of the strip drawn now (-1: nothing).
    int CurrentFrame() const;

    CRect m_rcPlaced;
    CRect m_rcLayout;
    CBkPainter* m_pOwner;
    int m_nKey;
    int m_nAnchor;
    BOOL m_bShown;
    BOOL m_bEnabled;
    int m_nState;
    BOOL m_bDown;
    BOOL m_bInert;
    CImageObj* m_pPicture;
    CImageObj* m_pChannel;
    CImageObj* m_pOther;
    BOOL m_bOther;
    CString m_strTip;
    CString m_strOtherTip;

private:
    void Redraw();
};

class CSpliteGrid : public CBkPainter
{
public:
    CSpliteGrid();
    // Slot 0: the state goes to the profile, then the buttons and both
    // children are deleted.
    ~CSpliteGrid() override;

    BOOL OnCreate() override { return TRUE; }
    BOOL DrawContent(CImageObj* dc) override;
    void Layout() override;
    void OnVisibleChanged() override;
    void OnMouseDown(int x, int y) override;
    void OnButtonUp(int, int, int) override {}
    void OnDoubleClick(int x, int y) override;
    void OnMouseMove(int x, int y) override;
    void DrawOverlay(CImageObj* dc) override;
    void OnMouseWheel(int delta) override;
    void OnHook12(int, int) override {}
    void OnHook13(int, int) override {}
    void UpdateButtons() override;
    void OnButtonKey(int key) override;
    // Slot 16.
    virtual void DrawSlider(CImageObj* dc);

    // Both children at once; they become the grid's.
    void SetChildren(CBkPainter* left, CBkPainter* right);
    // The splitter's keys, the hide buttons and the stored state. Always 1.
    BOOL LoadInfo(CQVIniFile* ini, LPCSTR section, CImageCache* cache);
    void LoadState();
    void SaveState();

    CBkButton* FindHideButton(int key) const;
    // The hide buttons shown or hidden for the sides' visibility.
    void ShowHideButtons();
    // The visible child under the point, or NULL.
    CBkPainter* ChildAt(POINT pt) const;
    static CBkButton* FindButton(const CSimplePtrArray<CBkButton>& buttons, int key);
    // The caption-button operations the table client calls by the grid's name.
    static void SetOwner(CBkButton* item, CImageObj* picture);
    static void SetMode(CBkButton* item, int state, BOOL notify);
    static void SetShowFlag(CBkButton* item, BOOL flag, BOOL notify);

    CBkPainter* GetLeft() const { return m_pChild[0]; }
    CBkPainter* GetRight() const { return m_pChild[1]; }
    SplitModel& Model() { return m_model; }
    CRect GetSliderRect() const;
    int GetButtonCount() const { return m_buttons.GetCount(); }
    CBkButton* GetButton(int i) const { return m_buttons.GetAt(i); }
    BOOL IsDragging() const { return m_bDragging; }

    // Fields the table client reads: stacked (the `frame` value's T) and the
    // two minimum sizes.
    BOOL m_bStacked;
    short m_nMinSize[2];

protected:
    void Pull();
    void Push();
    void SetCursor(BOOL sizing);
    void Redraw();

    SplitModel m_model;
    CBkPainter* m_pChild[2];
    BOOL m_bSolid;
    COLORREF m_crSlider;
    CImageObj* m_pSlider[3];   // start, end, middle
    CSimplePtrArray<CBkButton> m_buttons;
    BOOL m_bLeftShow, m_bRightShow;
    POINT m_ptPress;
    BOOL m_bDragging;
};
