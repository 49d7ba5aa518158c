// The pictures of the table window: the theme pictures named in
// "\theme_png\Default.thm", the fixed pictures of "\theme\respic", the card
// sheets and the logo. Everything is loaded once when the window is made;
// painting never reads a file.
//
// Theme pictures are kept as 32-bit premultiplied DIB sections so a frame is
// composed with AlphaBlend alone (their transparent pixels have alpha 0);
// bitmaps with a magenta key are drawn with TransparentBlt, and those that
// hold their picture and its mask side by side with the mask.
#pragma once

#include "afxwin.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

struct GdiplusPicture;

// One picture ready to draw.
class CTableImage
{
public:
    CTableImage() = default;
    ~CTableImage();
    CTableImage(const CTableImage&) = delete;
    CTableImage& operator=(const CTableImage&) = delete;

    // From a GDI+ picture (kept: buttons take it as their image).
    BOOL FromPicture(GdiplusPicture* picture);
    // A picture file through GDI+ (kept, as FromPicture). FALSE, and nothing
    // kept, when it has no width or height.
    BOOL LoadPictureFile(LPCSTR lpszPath);
    // A 24-bit .bmp file (transparent key: magenta). FALSE when missing.
    BOOL LoadBitmapFile(LPCSTR lpszPath);
    // Turns a key-coloured bitmap into an alpha picture (the key colour
    // transparent), so it is drawn with one blend instead of a keyed copy.
    BOOL MakeKeyTransparent();

    BOOL IsLoaded() const { return m_hBitmap != NULL; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    HBITMAP Handle() const { return m_hBitmap; }
    GdiplusPicture* Picture() const { return m_pPicture.get(); }

    // Alpha pictures: the source part drawn (stretched when the sizes differ).
    void Draw(HDC hDC, int x, int y) const { Draw(hDC, x, y, m_width, m_height, 0, 0, m_width, m_height); }
    void Draw(HDC hDC, int x, int y, int w, int h, int sx, int sy, int sw, int sh) const;
    // Key-coloured bitmaps: magenta left out.
    void DrawKeyed(HDC hDC, int x, int y, int w, int h, int sx, int sy, int sw, int sh) const;
    // Picture|mask bitmaps: the left half drawn through the right half.
    void DrawMasked(HDC hDC, int x, int y) const { DrawMasked(hDC, x, y, m_width / 2, m_height); }
    // The same for a picture whose mask starts at w: the w x h corner drawn.
    void DrawMasked(HDC hDC, int x, int y, int w, int h) const;

    // Alpha pictures cut in cells (card sheets): the widest run of not fully
    // opaque pixels at the left of any row of any cell. A card drawn
    // under the next one of a row needs only its columns up to the step plus
    // this (the rest lies under the next card's opaque pixels).
    int LeadingClearColumns(int cellWidth, int cellHeight) const;

private:
    // The memory DC the bitmap stays selected in, made on the first draw.
    HDC SourceDC(HDC hDC) const;
    void ReleaseSourceDC();

    HBITMAP m_hBitmap = NULL;
    mutable HDC m_hSourceDC = NULL;
    mutable HGDIOBJ m_hOldBitmap = NULL;
    int m_width = 0;
    int m_height = 0;
    BOOL m_bAlpha = FALSE;
    // An alpha picture without a transparent pixel: copied, not blended.
    BOOL m_bOpaque = FALSE;
    std::unique_ptr<GdiplusPicture> m_pPicture;
};

// Runs the jobs on a few threads at once and returns when all have run.
// Each job loads its own pictures; none touches another's.
void RunPictureJobs(const std::vector<std::function<void()>>& jobs);

struct TablePictures {
    // "Section/Key" of the theme file.
    std::map<std::string, std::unique_ptr<CTableImage>> theme;
    std::map<int, std::unique_ptr<CTableImage>> fixed;
    CTableImage cardBig, cardSmall;
    int bigWidth = 71, bigHeight = 96, smallWidth = 54, smallHeight = 72;
    // The sheets' LeadingClearColumns.
    int bigClear = 0, smallClear = 0;
    CTableImage logo;
    CTableImage background;      // "Background"/"back1"
    CTableImage bigAvatar;       // "MAIN"/"BigAvatarBk"
    std::map<std::string, std::unique_ptr<CTableImage>> rewards;

    // The picture of a theme key, or an empty one.
    const CTableImage& Theme(const char* section, const char* key) const;
    const CTableImage& Fixed(int id) const;
    // A picture of "\rewards" by file name, or an empty one.
    const CTableImage& Rewards(const char* name) const;
};
