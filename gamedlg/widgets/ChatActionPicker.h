// The chat-action picker of the table window: a picture button
// (CChatActionButton) whose click opens a popup grid (CChatActionPicker) of
// small pictures above it, in two pages (page 1: 30 chat actions, page 2: 66
// faces). Each cell (CHoverTextButton) plays its picture while the mouse
// rests on it. Choosing a cell closes the popup and sends WM_COMMAND with the
// button's id to the button's parent, which reads the chosen index, its page
// and its picture file.
//
// The button owns the pictures and their paths; the popup and its cells only
// borrow them.
#pragma once

#include <afxwin.h>
#include <gdiplus.h>
#include <oleauto.h>

#include <vector>

#include "PngButton.h"

class CAnimatedImage;
class CChatActionButton;

const UINT WM_PICKER_CHOSEN = WM_USER + 101;   // wParam = item index
const UINT WM_PICKER_PAGE = WM_USER + 102;     // wParam = page
const UINT kPickerNextPageId = 9999;
const UINT kPickerPrevPageId = 9998;
const UINT kPickerFirstItemId = 10000;

// One cell of the grid (and the two page buttons): paints its picture, plays
// it while hovered, and draws its text centred at the bottom.
class CHoverTextButton : public CButton
{
public:
    CHoverTextButton();
    ~CHoverTextButton() override;

    // The picture drawn (borrowed: the picker button owns it).
    void SetImage(Gdiplus::Image* pImage) { m_pImage = pImage; }
    // The picture file played while hovered (borrowed).
    void SetAnimationPath(const WCHAR* pszPath) { m_pszPath = pszPath; }
    BOOL IsHovered() const { return m_bHover; }
    const CAnimatedImage* GetAnimation() const { return m_pAnimation; }

    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;

protected:
    void PreSubclassWindow() override;
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg LRESULT OnMouseHoverMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnMouseLeaveMsg(WPARAM wParam, LPARAM lParam);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    void DeleteAnimation();

    BOOL m_bTracking;
    BOOL m_bHover;
    Gdiplus::Image* m_pImage;
    const WCHAR* m_pszPath;
    CAnimatedImage* m_pAnimation;
};

// The popup grid.
class CChatActionPicker : public CWnd
{
public:
    CChatActionPicker();
    ~CChatActionPicker() override;

    // Creates the popup for one page's pictures, opening upwards from the
    // screen point (x, y). FALSE (no window) for an empty page.
    virtual BOOL Show(int x, int y, CChatActionButton* pOwner, const std::vector<Gdiplus::Image*>& images,
                      const std::vector<BSTR>& paths, int nPage);

    int GetPage() const { return m_nPage; }
    int GetColumns() const { return m_nColumns; }
    int GetRows() const { return m_nRows; }
    const std::vector<CHoverTextButton*>& GetChildren() const { return m_children; }

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnDestroy();
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    DECLARE_MESSAGE_MAP()

private:
    void Choose(int nIndex);

    int m_nCellHeight;
    int m_nCellWidth;
    int m_nColumns;
    int m_nRows;
    int m_nPage;
    int m_nOwnerX, m_nOwnerY;
    RECT m_rcWindow;
    CChatActionButton* m_pOwner;
    std::vector<CHoverTextButton*> m_children;
};

// The picker button.
class CChatActionButton : public CPngButton
{
public:
    CChatActionButton();
    ~CChatActionButton() override;

    // Adds a page-1 (AddItem) or page-2 (AddItem2) item from a picture file;
    // an empty path adds nothing, a picture that fails to load is still
    // added (its status says so). The file is decoded when its page first
    // opens or the item is first asked for.
    void AddItem(const CString& strPath);
    void AddItem2(const CString& strPath);
    Gdiplus::Image* GetImage(int nIndex) const;
    int GetCount() const { return (int)m_images1.size(); }
    int GetCount(int nPage) const { return (int)(nPage == 1 ? m_images1 : m_images2).size(); }
    int GetSelected() const { return m_nSelected; }
    // The page the chosen item came from (the open popup's page at the choice).
    int GetSelectedPage() const { return m_nSelectedPage; }
    // The path of an item of the current page; null outside it.
    const WCHAR* GetItemPath(int nIndex) const { return GetItemPath(m_nPage, nIndex); }
    // The path of an item of a page (1, else 2), without changing the page:
    // received chat actions are looked up this way.
    const WCHAR* GetItemPath(int nPage, int nIndex) const;
    void SetPage(int nPage) { m_nPage = nPage; }
    int GetPage() const { return m_nPage; }
    CChatActionPicker* GetPopup() const { return m_pPopup; }

    // The names the table window uses.
    void AddBigImage(const CString& strPath) { AddItem(strPath); }
    void AddImage(const CString& strPath) { AddItem2(strPath); }
    int GetChosenFace() const { return GetSelected(); }
    void SetFaceList(int nList) { SetPage(nList == 1 ? 1 : 2); }
    const WCHAR* GetItem(int nIndex) const { return GetItemPath(nIndex); }

protected:
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg LRESULT OnItemChosen(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSwitchPage(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    void ClosePopup();
    void OpenPopup(int nPage);

    int m_nSelected;
    int m_nSelectedPage;
    // Decoded on first use (null until then).
    mutable std::vector<Gdiplus::Image*> m_images1;
    std::vector<BSTR> m_paths1;
    mutable std::vector<Gdiplus::Image*> m_images2;
    std::vector<BSTR> m_paths2;
    CChatActionPicker* m_pPopup;
    int m_nPopupX, m_nPopupY;
    int m_nPage;
};
