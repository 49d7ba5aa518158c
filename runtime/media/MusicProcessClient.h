// CMusicProcessClient: drives the platform's background-music program
// REVaved.exe with WM_COPYDATA commands, starting it from the shared folder
// when its window ("REVaved") is not there.
#pragma once

#include <windows.h>

#include <cstdint>

// What a command carries: the sender window's handle (window handles keep 32
// significant bits, so a 32-bit program reads it too) and a text of at most
// 255 bytes with its terminator.
#pragma pack(push, 1)
struct MusicCommandRecord
{
    uint32_t hwndSender;
    char text[256];
};
#pragma pack(pop)
static_assert(sizeof(MusicCommandRecord) == 260, "the music command record is 260 bytes");

class CMusicProcessClient
{
public:
    enum { kCodePlay = 0, kCodeB = 2, kCodeD = 6, kCodeC = 8, kCodeNoLoop = 16 };

    // Code (b ? 0 : 16) | (a ? 1 : 0), with the text.
    void CommandA(LPCSTR lpszText, BOOL bA, BOOL bB, HWND hSender = NULL);
    void CommandB(LPCSTR lpszText, HWND hSender = NULL);     // code 2, with the text
    void CommandC(HWND hSender = NULL);                      // code 8, no text
    void CommandD(LPCSTR lpszText, HWND hSender = NULL);     // code 6, with the text

    // The command's WM_COPYDATA fields: dwData = code << 16 | (text ? 1 : 0);
    // cbData = 4, or 4 + text length + 1 with the text cut to 255 bytes.
    static void BuildCommand(UINT nCode, LPCSTR lpszText, BOOL bText, HWND hSender, MusicCommandRecord* pRecord,
                             COPYDATASTRUCT* pData);

    HWND m_hSender;                          // the window named in commands
    HWND m_hMusic;                           // REVaved's window

private:
    void Send(UINT nCode, LPCSTR lpszText, BOOL bText, HWND hSender);
    HWND FindMusicWindow();
    static BOOL StartProgram();
};

extern CMusicProcessClient theMusicProcess;
