// Conversions and small system services of the client: wide/ANSI strings,
// GDI+ encoders, the fault reporter, the system's version, message boxes, the
// default mail client, the shell's image list and the command interpreter.
#pragma once

#include <afx.h>
#include <commctrl.h>

// ---- Strings -------------------------------------------------------------------------

// A new zero-filled wide copy (free it with delete[]) converted with the ANSI
// code page; null for a null text or a failed conversion.
WCHAR* AnsiToWideAlloc(const char* text);
// The reverse: a new ANSI copy (delete[]).
char* WideToAnsiAlloc(const WCHAR* text);

// ---- GDI+ ------------------------------------------------------------------------------

// Index of the GDI+ image encoder of that MIME type (L"image/png" ...) with its
// class id in *clsid; -1 when there is none. GDI+ must be started.
int GetEncoderClsid(const WCHAR* mimeType, CLSID* clsid);

// ---- Fault reporter ------------------------------------------------------------------
//
// The platform's fault reporter Tallowend.dll takes seven values through its
// export PostFault (stdcall). Six are pointer-sized, since the game passes
// texts in the third and sixth; the last is a byte.

typedef void(WINAPI* PostFaultProc)(UINT_PTR, UINT_PTR, UINT_PTR, UINT_PTR, UINT_PTR, UINT_PTR, BYTE);

// One binding of a fault reporter library, loaded on its first report and
// kept loaded.
class CFaultReporterBinding
{
public:
    explicit CFaultReporterBinding(const char* libraryName);
    ~CFaultReporterBinding();
    CFaultReporterBinding(const CFaultReporterBinding&) = delete;
    CFaultReporterBinding& operator=(const CFaultReporterBinding&) = delete;

    // Forwards the values unchanged; FALSE (and nothing else) when the
    // library or its export is missing.
    BOOL Post(UINT_PTR a1, UINT_PTR a2, UINT_PTR a3, UINT_PTR a4, UINT_PTR a5, UINT_PTR a6, BYTE a7);

private:
    PostFaultProc Bind();

    CCriticalSection m_lock;
    CString m_libraryName;
    HMODULE m_module = NULL;
    PostFaultProc m_postFault = NULL;
    bool m_bound = false;
};

// Reports through the process-wide binding of "Tallowend.dll".
BOOL PostFaultReport(UINT_PTR a1, UINT_PTR a2, UINT_PTR a3, UINT_PTR a4, UINT_PTR a5, UINT_PTR a6, BYTE a7);
// The game's form: codes with a server text and a context text.
BOOL PostFaultReport(UINT_PTR a1, UINT_PTR a2, const char* text1, UINT_PTR a4, UINT_PTR a5,
                     const char* text2, BYTE a7);

// ---- System ----------------------------------------------------------------------------

// "%s(%s)" of the product name (value "ProductName" of HKLM
// "Software\Microsoft\Windows NT\CurrentVersion") and the service-pack text,
// cut to size bytes. 0 when the value or the version can't be read.
int GetWindowsVersionString(char* out, size_t size);

// MessageBoxIndirect. The instance defaults to the resource instance; with an
// icon resource the style gets the user-icon flag (MB_USERICON) and the icon is
// shown. The button pressed.
int ShowMessageBoxIndirect(HWND owner, LPCSTR text, LPCSTR caption, UINT style, LPCSTR iconResource,
                           HINSTANCE instance);

// The routine that opens programs and documents for the runtime (ShellExecute
// by default); tests put a recorder in its place. Returns the previous one.
typedef HINSTANCE(WINAPI* ShellExecuteRoutine)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
ShellExecuteRoutine SetShellExecuteRoutine(ShellExecuteRoutine routine);
HINSTANCE RuntimeShellExecute(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR folder,
                              INT show);

// Splits a mail client's command line at its double quotes: the first piece
// is the program (blanks around it removed), the second the parameters; with a
// third piece the parameters become "\"second\"third". FALSE when there is no
// piece.
BOOL SplitMailCommand(const char* command, CString* program, CString* parameters);
// Starts the default mail client (HKLM "SOFTWARE\Clients\Mail" and its
// "shell\open\command", environment strings expanded to at most 256
// characters). 0 when a registry value can't be read or the expanded command
// does not fit, else 1.
int LaunchMailClient();

// The shell's system image list (small icons when small is set).
HIMAGELIST GetSystemImageList(BOOL small);

// "CMD" on Windows NT platforms, else "C:\COMMAND.COM".
const char* GetCommandInterpreter();
