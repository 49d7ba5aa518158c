// FrameTestSupport.h - helpers of the frame's tests: pictures written as
// small 24-bit BMP files, a private folder, and an area host that records
// what the painters ask of it.
#pragma once

#include <windows.h>

#include <cstdio>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include <afxwin.h>

#include "AreaHost.h"
#include "ImageObj.h"

// Rectangles printed in test messages.
inline void PrintTo(const CRect& r, std::ostream* os)
{
    *os << "(" << r.left << "," << r.top << "," << r.right << "," << r.bottom << ")";
}

namespace frametest {

// A 24-bit BMP of w x h whose pixel (x, y) is colour(x, y).
inline bool WriteBmp(const std::string& path, int w, int h, const std::function<COLORREF(int, int)>& colour)
{
    const int stride = (w * 3 + 3) & ~3;
    BITMAPFILEHEADER fh = {};
    BITMAPINFOHEADER ih = {};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = fh.bfOffBits + stride * h;
    ih.biSize = sizeof ih;
    ih.biWidth = w;
    ih.biHeight = h;
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    std::vector<unsigned char> rows(static_cast<size_t>(stride) * h, 0);
    for (int y = 0; y < h; y++) {
        unsigned char* row = &rows[static_cast<size_t>(h - 1 - y) * stride];
        for (int x = 0; x < w; x++) {
            const COLORREF c = colour(x, y);
            row[x * 3] = GetBValue(c);
            row[x * 3 + 1] = GetGValue(c);
            row[x * 3 + 2] = GetRValue(c);
        }
    }
    FILE* f = fopen(path.c_str(), "wb");
    if (f == NULL)
        return false;
    const bool ok = fwrite(&fh, sizeof fh, 1, f) == 1 && fwrite(&ih, sizeof ih, 1, f) == 1 &&
                    fwrite(rows.data(), rows.size(), 1, f) == 1;
    return fclose(f) == 0 && ok;
}

inline bool WriteText(const std::string& path, const std::string& text)
{
    FILE* f = fopen(path.c_str(), "wb");
    if (f == NULL)
        return false;
    const bool ok = fwrite(text.data(), 1, text.size(), f) == text.size();
    return fclose(f) == 0 && ok;
}

// A new empty folder under the temporary folder, ending with a backslash.
inline std::string MakeTempFolder(const char* prefix)
{
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    for (unsigned n = GetTickCount();; n++) {
        const std::string path = std::string(base) + prefix + std::to_string(GetCurrentProcessId()) + "_" +
                                 std::to_string(n) + "\\";
        if (CreateDirectoryA(path.c_str(), NULL))
            return path;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            return std::string();
    }
}

// A picture of w x h made of colour(x, y).
inline bool MakePicture(CImageObj& image, int w, int h, const std::function<COLORREF(int, int)>& colour)
{
    if (!image.Create(w, h, 24))
        return false;
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
            image.FillRect(x, y, 1, 1, colour(x, y));
    return true;
}

// An area host without a window: records redraws, captures, tips and keys.
class FakeHost : public IAreaHost
{
public:
    FakeHost()
    {
        m_hArrowCursor = LoadCursor(NULL, IDC_ARROW);
        m_hSizeNSCursor = LoadCursor(NULL, IDC_SIZENS);
        m_hSizeWECursor = LoadCursor(NULL, IDC_SIZEWE);
        SetAreaHost(this);
    }

    void RedrawRect(CBkButton*, const RECT& rect) override { buttonRedraws.push_back(rect); }
    void SetAreaCapture(CBkPainter* area) override
    {
        capture = area;
        captured = true;
    }
    void UpdateTip(LPCSTR text, const RECT&) override { tips.push_back(text ? text : ""); }
    void Redraw(const RECT& rect, CBkPainter*) override { redraws.push_back(rect); }
    CBkPainter* GetAreaCapture() override { return captured ? capture : NULL; }
    void RedrawDirty(CQVRectList*) override {}
    void RedrawSceneRect(const RECT&) override {}
    CString GetAppPath() override { return CString(); }
    void WriteLog(LPCSTR text) override { log.push_back(text); }
    void OnTitleButtonKey(int key) override { keys.push_back(key); }
    CGamePlayer* GetPlayer(int) override { return NULL; }
    CImageObj* GetAvatarPicture(LPCSTR) override { return NULL; }
    CDC* GetHostDC() override { return NULL; }
    void ReleaseHostDC(CDC*) override {}
    CImageObj* MakeTextPicture(LPCSTR, const LOGFONT&, COLORREF, BOOL) override { return NULL; }
    COLORREF GetTransparentColor() override { return RGB(255, 0, 255); }

    void ReleaseCapture()
    {
        captured = false;
        capture = NULL;
    }

    std::vector<RECT> redraws, buttonRedraws;
    std::vector<std::string> tips, log;
    std::vector<int> keys;
    CBkPainter* capture = NULL;
    bool captured = false;
};

}  // namespace frametest
