// Helpers of the kit's window tests: a skin in a temporary theme folder,
// .bmp files of known colours, dialog templates built in memory, a sound
// recorder and pumping.
#pragma once

#include "test_support.h"   // framework tests: PumpPendingMessages, CountGdiObjects
#include "GdiTestSupport.h" // graphics tests: Canvas

#include "KitSkin.h"
#include "app/ClientServices.h"
#include "app/GameEnvironment.h"

#include <mmsystem.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace kittest {

using gfxtest::Canvas;

const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kYellow = RGB(255, 255, 0);
const COLORREF kCyan = RGB(0, 255, 255);
const COLORREF kMagenta = RGB(255, 0, 255);

// The bytes of a bottom-up 24-bit .bmp file whose pixel (x, y) is colour(x, y).
inline std::vector<uint8_t> MakeBmp24(int w, int h, const std::function<COLORREF(int, int)>& colour)
{
    const int row = ((w * 3) + 3) & ~3;
    const uint32_t pixels = (uint32_t)row * h;
    std::vector<uint8_t> f(54 + pixels, 0);
    auto put16 = [&](size_t at, uint16_t v) { f[at] = v & 0xFF; f[at + 1] = v >> 8; };
    auto put32 = [&](size_t at, uint32_t v) { for (int i = 0; i < 4; i++) f[at + i] = (v >> (8 * i)) & 0xFF; };
    f[0] = 'B';
    f[1] = 'M';
    put32(2, (uint32_t)f.size());
    put32(10, 54);
    put32(14, 40);
    put32(18, (uint32_t)w);
    put32(22, (uint32_t)h);
    put16(26, 1);
    put16(28, 24);
    put32(34, pixels);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            const COLORREF c = colour(x, y);
            uint8_t* p = &f[54 + (size_t)(h - 1 - y) * row + x * 3];
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
        }
    return f;
}

inline bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD n = 0;
    const BOOL ok = WriteFile(h, bytes.data(), (DWORD)bytes.size(), &n, NULL);
    CloseHandle(h);
    return ok && n == bytes.size();
}

inline bool WriteBmp(const std::string& path, int w, int h, const std::function<COLORREF(int, int)>& colour)
{
    return WriteBytes(path, MakeBmp24(w, h, colour));
}

// A strip of n cells of width cw, cell i filled with colours[i].
inline bool WriteStrip(const std::string& path, int cw, int h, const std::vector<COLORREF>& colours)
{
    return WriteBmp(path, cw * (int)colours.size(), h,
                    [&](int x, int) { return colours[x / cw]; });
}

// A temporary theme: Mardavel.thm in the root is the dialog skin ini, the
// root's Theme folder the image folder. The theme is in use while the object lives.
class TempTheme
{
public:
    TempTheme()
    {
        static int s_count = 0;
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        m_root = std::string(base) + "kittest_" + std::to_string(GetCurrentProcessId()) + "_" +
                 std::to_string(++s_count);
        CreateDirectoryA(m_root.c_str(), NULL);
        CreateDirectoryA((m_root + "\\Theme").c_str(), NULL);
        InitThemePaths("Mardavel", FALSE, m_root.c_str());
        m_ok = GetThemeFile() == m_root + "\\Mardavel.thm";
    }
    ~TempTheme()
    {
        RemoveTree(m_root + "\\Theme");
        DeleteFileA(Ini().c_str());
        RemoveDirectoryA(m_root.c_str());
        SetThemeInUse(FALSE);
    }
    TempTheme(const TempTheme&) = delete;
    TempTheme& operator=(const TempTheme&) = delete;

    bool Ok() const { return m_ok; }
    std::string Ini() const { return m_root + "\\Mardavel.thm"; }
    std::string Image(const std::string& name) const { return m_root + "\\Theme\\" + name; }
    void Set(const char* section, const char* key, const std::string& value) const
    {
        WritePrivateProfileStringA(section, key, value.c_str(), Ini().c_str());
    }
    void Remove(const char* section, const char* key) const
    {
        WritePrivateProfileStringA(section, key, NULL, Ini().c_str());
    }

private:
    static void RemoveTree(const std::string& dir)
    {
        WIN32_FIND_DATAA fd;
        HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                    DeleteFileA((dir + "\\" + fd.cFileName).c_str());
            } while (FindNextFileA(h, &fd));
            FindClose(h);
        }
        RemoveDirectoryA(dir.c_str());
    }
    std::string m_root;
    bool m_ok = false;
};

// A dialog template in memory (DS_SETFONT, "Tahoma" 8), sizes in dialog units.
class DialogTemplate
{
public:
    DialogTemplate(const char* caption, int cx, int cy, DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT)
    {
        Align(4);
        DLGTEMPLATE t = {};
        t.style = style | DS_SETFONT;
        t.cx = (short)cx;
        t.cy = (short)cy;
        Append(&t, sizeof t);
        Word(0);   // menu
        Word(0);   // class
        Text(caption);
        Word(8);
        Text("Tahoma");
    }
    // kind: 0x0080 button, 0x0081 edit, 0x0082 static.
    void Add(WORD kind, UINT id, const char* text, int x, int y, int cx, int cy, DWORD style)
    {
        Align(4);
        DLGITEMTEMPLATE it = {};
        it.style = style | WS_CHILD | WS_VISIBLE;
        it.x = (short)x;
        it.y = (short)y;
        it.cx = (short)cx;
        it.cy = (short)cy;
        it.id = (WORD)id;
        Append(&it, sizeof it);
        Word(0xFFFF);
        Word(kind);
        Text(text);
        Word(0);
        reinterpret_cast<DLGTEMPLATE*>(m_bytes.data())->cdit++;
    }
    LPCDLGTEMPLATE Get() const { return reinterpret_cast<LPCDLGTEMPLATE>(m_bytes.data()); }

private:
    void Align(size_t n)
    {
        while (m_bytes.size() % n)
            m_bytes.push_back(0);
    }
    void Append(const void* p, size_t n)
    {
        const uint8_t* b = static_cast<const uint8_t*>(p);
        m_bytes.insert(m_bytes.end(), b, b + n);
    }
    void Word(WORD w) { Append(&w, 2); }
    void Text(const char* s)
    {
        wchar_t w[256];
        const int n = MultiByteToWideChar(CP_ACP, 0, s, -1, w, 256);
        Append(w, (size_t)(n > 0 ? n : 1) * 2);
    }
    std::vector<uint8_t> m_bytes;
};

// Records every resource sound played; installed while the object lives.
class SoundRecorder
{
public:
    SoundRecorder() { s_played().clear(); m_old = SetPlaySoundRoutine(Record); }
    ~SoundRecorder() { SetPlaySoundRoutine(m_old); }
    std::vector<UINT> Played() const { return s_played(); }
    void Clear() { s_played().clear(); }

private:
    static std::vector<UINT>& s_played()
    {
        static std::vector<UINT> v;
        return v;
    }
    static BOOL WINAPI Record(LPCSTR pszSound, HMODULE, DWORD dwFlags)
    {
        if (pszSound != NULL && (dwFlags & SND_RESOURCE) && IS_INTRESOURCE(pszSound))
            s_played().push_back((UINT)(UINT_PTR)pszSound);
        return TRUE;
    }
    PlaySoundRoutine m_old;
};

// The pixel of a window's client area, read from the screen.
inline COLORREF ScreenPixel(HWND hWnd, int x, int y)
{
    POINT p = {x, y};
    ClientToScreen(hWnd, &p);
    HDC hdc = GetDC(NULL);
    const COLORREF c = GetPixel(hdc, p.x, p.y);
    ReleaseDC(NULL, hdc);
    return c;
}

}  // namespace kittest
