// Tallowend.dll: the platform's fault reporter, as a recording stand-in.
//
//   void WINAPI PostFault(UINT_PTR a1, UINT_PTR a2, UINT_PTR text1, UINT_PTR a4,
//                         UINT_PTR a5, UINT_PTR text2, BYTE a7);
//
// The game passes fault codes in a1, a2, a4, a5 and a7 and texts (or 0) in
// the third and sixth values. Each report is appended as one line
//   PostFault <a1> <a2> "<text1>" <a4> <a5> "<text2>" <a7>
// (a null text is written as null) to the file named by the environment
// variable TALLOWEND_REPORT_FILE, or to "Tallowend.log" beside this library.
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

HMODULE g_module = NULL;

void ReportFilePath(char* path, DWORD size)
{
    const DWORD length = GetEnvironmentVariableA("TALLOWEND_REPORT_FILE", path, size);
    if (length > 0 && length < size)
        return;
    const DWORD moduleLength = GetModuleFileNameA(g_module, path, size);
    if (moduleLength == 0 || moduleLength >= size) {
        snprintf(path, size, "Tallowend.log");
        return;
    }
    char* slash = strrchr(path, '\\');
    const size_t folderLength = slash ? static_cast<size_t>(slash - path + 1) : 0;
    snprintf(path + folderLength, size - folderLength, "Tallowend.log");
}

void WriteText(FILE* file, UINT_PTR text)
{
    if (text)
        fprintf(file, " \"%s\"", reinterpret_cast<const char*>(text));
    else
        fprintf(file, " null");
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        g_module = instance;
    return TRUE;
}

extern "C" void WINAPI PostFault(UINT_PTR a1, UINT_PTR a2, UINT_PTR text1, UINT_PTR a4, UINT_PTR a5,
                                 UINT_PTR text2, BYTE a7)
{
    char path[MAX_PATH];
    ReportFilePath(path, sizeof(path));
    FILE* file = fopen(path, "ab");
    if (!file)
        return;
    fprintf(file, "PostFault %llu %llu", static_cast<unsigned long long>(a1), static_cast<unsigned long long>(a2));
    WriteText(file, text1);
    fprintf(file, " %llu %llu", static_cast<unsigned long long>(a4), static_cast<unsigned long long>(a5));
    WriteText(file, text2);
    fprintf(file, " %u\n", static_cast<unsigned>(a7));
    fclose(file);
}
