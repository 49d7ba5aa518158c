// people.dll stand-in: avatar icon number n (0 to 99) is a 32 x 32 icon
// filled with a colour of its own, made anew on each call; the caller
// destroys it. Other numbers have no icon.
#include <windows.h>

#include <vector>

namespace {

const int kIconCount = 100;
const int kIconSize = 32;

// The fill colour of icon n: distinct for every number.
COLORREF ColourOf(int n) { return RGB(40 + (n * 37) % 200, 40 + (n * 71) % 200, 40 + (n * 113) % 200); }

}  // namespace

extern "C" HICON WINAPI GetIcon(int n)
{
    if (n < 0 || n >= kIconCount)
        return NULL;
    HDC screen = ::GetDC(NULL);
    HBITMAP colour = ::CreateCompatibleBitmap(screen, kIconSize, kIconSize);
    ::ReleaseDC(NULL, screen);
    // An all-zero AND mask: every pixel is opaque.
    std::vector<BYTE> maskBits(kIconSize * kIconSize / 8, 0);
    HBITMAP mask = ::CreateBitmap(kIconSize, kIconSize, 1, 1, maskBits.data());
    HICON icon = NULL;
    if (colour != NULL && mask != NULL) {
        HDC dc = ::CreateCompatibleDC(NULL);
        HGDIOBJ old = ::SelectObject(dc, colour);
        HBRUSH brush = ::CreateSolidBrush(ColourOf(n));
        RECT all = {0, 0, kIconSize, kIconSize};
        ::FillRect(dc, &all, brush);
        ::DeleteObject(brush);
        ::SelectObject(dc, old);
        ::DeleteDC(dc);
        ICONINFO info = {TRUE, 0, 0, mask, colour};
        icon = ::CreateIconIndirect(&info);
    }
    if (colour != NULL)
        ::DeleteObject(colour);
    if (mask != NULL)
        ::DeleteObject(mask);
    return icon;
}
