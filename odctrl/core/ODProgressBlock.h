// ODProgressBlock.h - CODProgressBlock, the block look of the owner-draw
// progress bar: a row of rectangles drawn with pen and brush, or a row of
// cells of a skin image (state 0 plain, state 1 the leading block). Its
// class defaults come from the progress bar's theme section (the "Block*"
// keys, LoadProgressBlockTheme); a value set on an object stays its own. The
// arithmetic is ODProgressBlockLayout.h.
#pragma once

#include "afxwin.h"

#include "ODProgressBlockLayout.h"
#include "ODSkinImage.h"

class CODProgressBlock
{
public:
    // Colour indexes.
    enum
    {
        ColorEdge = 0,
        ColorFace = 1,
        ColorEdgeHighlight = 2,
        ColorFaceHighlight = 3,
    };
    // Block modes.
    enum
    {
        ModePen = 0,
        ModeImage = 1,
    };
    static constexpr int kImageValueSize = 128;

    CODProgressBlock();  // every value from the class defaults
    virtual ~CODProgressBlock();

    // Setters return the old value and mark the value as the object's own.
    // Colours: -1 (nothing changed) for an index outside 0..3.
    COLORREF SetColor(COLORREF colour, int index);
    COLORREF GetColor(int index) const;
    int SetFill(int fill);
    int GetFill() const { return m_fill.value; }
    int SetCount(int count);
    int GetCount() const { return m_count.value; }
    int SetSmooth(int smooth);
    int GetSmooth() const { return m_smooth.value; }
    int SetSpace(int space);
    int GetSpace() const { return m_space.value; }
    // Mode 1 loads the block image for the orientation (unless the object
    // has its own image values); any other mode releases it.
    int SetMode(int mode);
    int GetMode() const { return m_mode.value; }

    BOOL SetVertical(BOOL vertical);
    BOOL GetVertical() const { return m_bVertical; }
    BOOL SetReversed(BOOL reversed);
    BOOL GetReversed() const { return m_bReversed; }
    BOOL SetOptionA(BOOL vertical) { return SetVertical(vertical); }
    BOOL SetOptionB(BOOL reversed) { return SetReversed(reversed); }

    // Values without their flag take the class defaults; then the block
    // image is loaded (mode 1) by the vertical argument or released. The
    // first argument is not used.
    void ApplyDefaults(LPCSTR section, BOOL vertical);

    // Image blocks when the mode is 1 and the image is loaded, else pen and
    // brush blocks; fraction 0.0 .. 1.0 of the bar is done.
    void Draw(CDC* pDC, const RECT& rect, double fraction);
    // The size the blocks really cover in the rectangle.
    CSize GetBarSize(const RECT& rect) const;
    CSize DrawBar(const RECT& rect) const { return GetBarSize(rect); }

    CODSkinImage& GetImage() { return m_blockImage; }

    // The class defaults.
    struct Defaults
    {
        COLORREF colours[4];
        int fill, count, smooth, space, mode;
        char image[kImageValueSize];          // "BlockImg": blocks of a vertical bar
        char verticalImage[kImageValueSize];  // "VertBlockImg": blocks of a horizontal bar
    };
    static Defaults& ClassDefaults();

protected:
    template <typename T>
    struct Value
    {
        T value;
        BOOL set;
    };
    void LoadImageFor(BOOL vertical);
    odblock::Options Options() const;

    Value<COLORREF> m_colours[4];
    Value<int> m_fill;
    Value<int> m_count;
    Value<int> m_smooth;
    Value<int> m_space;
    Value<int> m_mode;
    char m_imageValue[kImageValueSize];
    BOOL m_imageSet;
    char m_verticalImageValue[kImageValueSize];
    BOOL m_verticalImageSet;
    BOOL m_bVertical;
    BOOL m_bReversed;
    CODSkinImage m_blockImage;
};

// Reads the block look's class defaults from the "Block*" keys of a theme
// section (the progress bar's), each with the current default as fallback.
void LoadProgressBlockTheme(LPCSTR section);
