#include "Conversions.h"

#include <gdiplus.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

// ---- Strings -------------------------------------------------------------------------

WCHAR* AnsiToWideAlloc(const char* text)
{
    if (!text)
        return nullptr;
    const int count = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (count <= 0)
        return nullptr;
    WCHAR* wide = new (std::nothrow) WCHAR[count]();
    if (!wide)
        return nullptr;
    if (MultiByteToWideChar(CP_ACP, 0, text, -1, wide, count) <= 0) {
        delete[] wide;
        return nullptr;
    }
    return wide;
}

char* WideToAnsiAlloc(const WCHAR* text)
{
    if (!text)
        return nullptr;
    const int count = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (count <= 0)
        return nullptr;
    char* ansi = new (std::nothrow) char[count]();
    if (!ansi)
        return nullptr;
    if (WideCharToMultiByte(CP_ACP, 0, text, -1, ansi, count, nullptr, nullptr) <= 0) {
        delete[] ansi;
        return nullptr;
    }
    return ansi;
}

// ---- GDI+ ------------------------------------------------------------------------------

int GetEncoderClsid(const WCHAR* mimeType, CLSID* clsid)
{
    if (!mimeType)
        return -1;
    UINT count = 0;
    UINT bytes = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &bytes) != Gdiplus::Ok || count == 0 || bytes == 0)
        return -1;
    std::vector<BYTE> block(bytes);
    auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(block.data());
    if (Gdiplus::GetImageEncoders(count, bytes, encoders) != Gdiplus::Ok)
        return -1;
    for (UINT i = 0; i < count; ++i) {
        if (encoders[i].MimeType && wcscmp(encoders[i].MimeType, mimeType) == 0) {
            if (clsid)
                *clsid = encoders[i].Clsid;
            return static_cast<int>(i);
        }
    }
    return -1;
}

// ---- Fault reporter ------------------------------------------------------------------

CFaultReporterBinding::CFaultReporterBinding(const char* libraryName) : m_libraryName(libraryName)
{
}

CFaultReporterBinding::~CFaultReporterBinding()
{
    // The library stays loaded for the life of the process.
}

PostFaultProc CFaultReporterBinding::Bind()
{
    CSingleLock lock(&m_lock, TRUE);
    if (!m_bound) {
        m_bound = true;
        m_module = LoadLibraryA(m_libraryName);
        if (m_module)
            m_postFault = reinterpret_cast<PostFaultProc>(
                reinterpret_cast<void (*)()>(GetProcAddress(m_module, "PostFault")));
    }
    return m_postFault;
}

BOOL CFaultReporterBinding::Post(UINT_PTR a1, UINT_PTR a2, UINT_PTR a3, UINT_PTR a4, UINT_PTR a5,
                                 UINT_PTR a6, BYTE a7)
{
    PostFaultProc postFault = Bind();
    if (!postFault)
        return FALSE;
    postFault(a1, a2, a3, a4, a5, a6, a7);
    return TRUE;
}

BOOL PostFaultReport(UINT_PTR a1, UINT_PTR a2, UINT_PTR a3, UINT_PTR a4, UINT_PTR a5, UINT_PTR a6, BYTE a7)
{
    static CFaultReporterBinding reporter("Tallowend.dll");
    return reporter.Post(a1, a2, a3, a4, a5, a6, a7);
}

BOOL PostFaultReport(UINT_PTR a1, UINT_PTR a2, const char* text1, UINT_PTR a4, UINT_PTR a5,
                     const char* text2, BYTE a7)
{
    return PostFaultReport(a1, a2, reinterpret_cast<UINT_PTR>(text1), a4, a5,
                           reinterpret_cast<UINT_PTR>(text2), a7);
}

// ---- System ----------------------------------------------------------------------------

namespace {

// A string value of a registry key (the default value for a null name), or
// FALSE. REG_EXPAND_SZ values are returned unexpanded.
BOOL ReadRegistryString(HKEY root, const char* subKey, const char* valueName, CString* value)
{
    HKEY key = NULL;
    if (RegOpenKeyExA(root, subKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return FALSE;
    DWORD type = 0;
    DWORD bytes = 0;
    BOOL ok = RegQueryValueExA(key, valueName, nullptr, &type, nullptr, &bytes) == ERROR_SUCCESS &&
              (type == REG_SZ || type == REG_EXPAND_SZ) && bytes <= 65536;
    if (ok) {
        std::vector<char> buffer(bytes + 1, 0);
        ok = RegQueryValueExA(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                              &bytes) == ERROR_SUCCESS;
        if (ok)
            *value = buffer.data();   // stops at the first zero, terminated or not
    }
    RegCloseKey(key);
    return ok;
}

HINSTANCE WINAPI DefaultShellExecute(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters,
                                     LPCSTR folder, INT show)
{
    return ShellExecuteA(owner, verb, file, parameters, folder, show);
}

ShellExecuteRoutine g_shellExecute = DefaultShellExecute;

CString TrimBlanks(const CString& text)
{
    CString trimmed = text;
    trimmed.TrimLeft();
    trimmed.TrimRight();
    return trimmed;
}

}  // namespace

int GetWindowsVersionString(char* out, size_t size)
{
    if (!out || size == 0)
        return 0;
    out[0] = 0;
    CString productName;
    if (!ReadRegistryString(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows NT\\CurrentVersion",
                            "ProductName", &productName))
        return 0;
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof(version);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    const BOOL haveVersion = GetVersionExA(&version);
#pragma GCC diagnostic pop
    if (!haveVersion)
        return 0;
    snprintf(out, size, "%s(%s)", static_cast<LPCSTR>(productName), version.szCSDVersion);
    return 1;
}

int ShowMessageBoxIndirect(HWND owner, LPCSTR text, LPCSTR caption, UINT style, LPCSTR iconResource,
                           HINSTANCE instance)
{
    MSGBOXPARAMSA params = {};
    params.cbSize = sizeof(params);
    params.hwndOwner = owner;
    params.hInstance = instance ? instance : AfxGetResourceHandle();
    params.lpszText = text;
    params.lpszCaption = caption;
    params.dwStyle = style;
    if (iconResource) {
        params.dwStyle |= MB_USERICON;
        params.lpszIcon = iconResource;
    }
    return MessageBoxIndirectA(&params);
}

ShellExecuteRoutine SetShellExecuteRoutine(ShellExecuteRoutine routine)
{
    ShellExecuteRoutine previous = g_shellExecute;
    g_shellExecute = routine ? routine : DefaultShellExecute;
    return previous;
}

HINSTANCE RuntimeShellExecute(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR folder,
                              INT show)
{
    return g_shellExecute(owner, verb, file, parameters, folder, show);
}

BOOL SplitMailCommand(const char* command, CString* program, CString* parameters)
{
    // Pieces between double quotes; empty pieces are skipped.
    CString pieces[3];
    int count = 0;
    for (const char* p = command ? command : ""; *p && count < 3;) {
        while (*p == '"')
            ++p;
        const char* start = p;
        while (*p && *p != '"')
            ++p;
        if (p > start)
            pieces[count++] = CString(start, static_cast<int>(p - start));
    }
    if (count == 0)
        return FALSE;
    *program = TrimBlanks(pieces[0]);
    if (count == 3)
        parameters->Format("\"%s\"%s", static_cast<LPCSTR>(pieces[1]), static_cast<LPCSTR>(pieces[2]));
    else
        *parameters = pieces[1];
    return !program->IsEmpty();
}

int LaunchMailClient()
{
    CString clientName;
    if (!ReadRegistryString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Clients\\Mail", nullptr, &clientName))
        return 0;
    CString commandKey;
    commandKey.Format("SOFTWARE\\Clients\\Mail\\%s\\shell\\open\\command", static_cast<LPCSTR>(clientName));
    CString command;
    if (!ReadRegistryString(HKEY_LOCAL_MACHINE, commandKey, nullptr, &command))
        return 0;
    char expanded[257] = {};
    const DWORD needed = ExpandEnvironmentStringsA(command, expanded, sizeof(expanded));
    if (needed == 0 || needed > sizeof(expanded))
        return 0;
    CString program;
    CString parameters;
    if (!SplitMailCommand(expanded, &program, &parameters))
        return 0;
    RuntimeShellExecute(NULL, "open", program, parameters.IsEmpty() ? nullptr : static_cast<LPCSTR>(parameters),
                        nullptr, SW_SHOWNORMAL);
    return 1;
}

HIMAGELIST GetSystemImageList(BOOL small)
{
    SHFILEINFOA info = {};
    UINT flags = SHGFI_SYSICONINDEX | (small ? SHGFI_SMALLICON : SHGFI_LARGEICON);
    return reinterpret_cast<HIMAGELIST>(SHGetFileInfoA("C:\\", 0, &info, sizeof(info), flags));
}

const char* GetCommandInterpreter()
{
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    const bool windowsNt = (GetVersion() & 0x80000000u) == 0;
#pragma GCC diagnostic pop
    return windowsNt ? "CMD" : "C:\\COMMAND.COM";
}
