// ODMenuItem.h - the records of the skinned pop-up menu: CODMenuStyle, one
// per column (its look: a gradient, a background image, extra image layers,
// a moving text, and the item height), and CODMenuItem, one per item (its
// images, a 4 x 5 colour table by part and state, caption, tip text, font
// and state). The menu window lays out, hit-tests and tracks; these records
// paint themselves into the rectangles it gives them.
//
// Every setter returns the previous value; an indexed accessor given an
// index out of range answers a fixed value and changes nothing.
#pragma once

#include "afxwin.h"

#include <vector>

#include "ODGradient.h"
#include "ODSkinImage.h"
#include "ODTxtMov.h"

class CQVDibImageList;

class CODMenuStyle
{
public:
    CODMenuStyle();
    virtual ~CODMenuStyle();
    CODMenuStyle(const CODMenuStyle&) = delete;
    CODMenuStyle& operator=(const CODMenuStyle&) = delete;

    int GetItemHeight() const { return m_itemHeight; }
    int SetItemHeight(int height);
    COLORREF SetColors(COLORREF first, COLORREF second);
    // Takes ownership of both (either may be NULL: the layer is skipped).
    void AddLayer(CODSkinImage* image, RECT* rect);
    int GetLayerCount() const { return static_cast<int>(m_layers.size()); }
    CODSkinImage& GetBkImage() { return m_bkImage; }
    CODTxtMov& GetTxtMov() { return m_text; }

    virtual void Draw(CDC* pDC, const RECT* rect);

private:
    struct Layer
    {
        CODSkinImage* image;
        RECT* rect;
    };
    std::vector<Layer> m_layers;
    COLORREF m_colour1, m_colour2;
    int m_itemHeight;
    CODSkinImage m_bkImage;
    CODGradient m_gradient;
    CODTxtMov m_text;
};

class CODMenuItem
{
public:
    enum
    {
        PartFill = 0,
        PartFrame = 1,
        PartText = 2,
        PartIconFrame = 3,
        PartCount = 4,
        StateCount = 5,
    };
    enum
    {
        ImageLeft = 0,
        ImageBack = 1,
        ImageRight = 2,
        ImageCount = 3,
    };

    CODMenuItem();
    virtual ~CODMenuItem();

    COLORREF SetColor(COLORREF colour, int part, int state);
    COLORREF GetColor(int part, int state) const;
    // The images belong to the menu window.
    CODSkinImage* SetImage(int index, CODSkinImage* image);
    CODSkinImage* GetImage(int index) const;
    WORD SetStripIndex(int index, WORD cell);
    WORD GetStripIndex(int index) const;
    CQVDibImageList* SetImageStrip(CQVDibImageList* strip);
    CQVDibImageList* GetImageStrip() const { return m_strip; }
    int SetState(int state);
    int GetState() const { return m_state; }
    UINT SetValueOne(UINT v);
    UINT GetValueOne() const { return m_valueOne; }
    UINT SetEnabled(UINT v);
    UINT GetEnabled() const { return m_enabled; }
    UINT SetStyleWord(UINT v);
    UINT GetStyleWord() const { return m_styleWord; }
    UINT SetTextFlags(UINT v);
    UINT GetTextFlags() const { return m_textFlags; }
    CString SetTipText(LPCSTR text);
    CString GetTipText() const { return m_tip; }
    CString SetCaption(LPCSTR text);
    CString GetCaption() const { return m_caption; }
    void GetFont(LOGFONT* lf) const;
    void SetFont(const LOGFONT& lf) { m_font = lf; }

    virtual void Draw(CDC* pDC, const RECT* rect, int leftWidth, int textGap, int rightWidth);

private:
    void DrawCell(CDC* pDC, int slot, int x, int y, int state);
    CSize CellSize(int slot) const;

    CODSkinImage* m_images[ImageCount];
    COLORREF m_colours[PartCount][StateCount];
    CString m_tip;
    CString m_caption;
    LOGFONT m_font;
    int m_state;
    UINT m_textFlags;
    WORD m_cells[ImageCount];
    CQVDibImageList* m_strip;
    UINT m_valueOne;
    UINT m_enabled;
    UINT m_styleWord;
};
