#include "CrashDump.h"

#include <dbghelp.h>

#include <stdio.h>
#include <string.h>

#include "store/FilePaths.h"

namespace {

constexpr UINT kCrashFault = 427;

typedef BOOL(WINAPI* MiniDumpWriteDumpProc)(HANDLE, DWORD, HANDLE, MINIDUMP_TYPE, PMINIDUMP_EXCEPTION_INFORMATION,
                                            PMINIDUMP_USER_STREAM_INFORMATION, PMINIDUMP_CALLBACK_INFORMATION);

}  // namespace

CrashDumpResult WriteCrashDump(EXCEPTION_POINTERS* pPointers, const CrashDumpOptions& options)
{
    CrashDumpResult out;
    const char* folder = options.folder != NULL ? options.folder : "";
    HMODULE hDbgHelp = NULL;
    if (folder[0] != '\0') {
        if (!DirectoryExists(folder))
            CreateDirectoryPath(folder);
        SYSTEMTIME now;
        ::GetLocalTime(&now);
        const size_t length = strlen(folder);
        snprintf(out.path, sizeof out.path, "%s%sMardavel_Crash_%d%02d%02d%02d%02d%02d.dmp", folder,
                 length > 0 && folder[length - 1] == '\\' ? "" : "\\", now.wYear, now.wMonth, now.wDay, now.wHour,
                 now.wMinute, now.wSecond);
        hDbgHelp = ::LoadLibraryA(options.dbgHelp);
        const MiniDumpWriteDumpProc pfnWrite =
            hDbgHelp != NULL ? reinterpret_cast<MiniDumpWriteDumpProc>(reinterpret_cast<void (*)()>(::GetProcAddress(hDbgHelp, "MiniDumpWriteDump")))
                             : NULL;
        const HANDLE hFile = pfnWrite != NULL ? ::CreateFileA(out.path, GENERIC_WRITE, FILE_SHARE_WRITE, NULL,
                                                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL)
                                              : INVALID_HANDLE_VALUE;
        if (hFile != INVALID_HANDLE_VALUE) {
            MINIDUMP_EXCEPTION_INFORMATION info;
            info.ThreadId = ::GetCurrentThreadId();
            info.ExceptionPointers = pPointers;
            info.ClientPointers = FALSE;
            if (pfnWrite(::GetCurrentProcess(), ::GetCurrentProcessId(), hFile, MiniDumpNormal,
                         pPointers != NULL ? &info : NULL, NULL, NULL))
                out.filterResult = EXCEPTION_EXECUTE_HANDLER;
            ::CloseHandle(hFile);
            out.written = TRUE;
            if (options.askUser) {
                char text[MAX_PATH + 200];
                snprintf(text, sizeof text, "%s%s%s%s", "程序遇到故障，请将以下文件提交给开发者以解决这个问题：\r\n\r\n",
                         out.path, "\r\n\r\n", "单击确定定位文件，单击取消退出。");
                if (::MessageBoxA(NULL, text, "Mardavel", MB_OKCANCEL | MB_ICONEXCLAMATION) == IDOK) {
                    char command[MAX_PATH + 32];
                    snprintf(command, sizeof command, "explorer /select,%s", out.path);
                    ::WinExec(command, SW_SHOWNORMAL);
                }
            }
            if (options.postFault != NULL)
                options.postFault(kCrashFault);
        } else {
            out.path[0] = '\0';
        }
    }
    if (hDbgHelp != NULL)
        ::FreeLibrary(hDbgHelp);
    if (options.previous != NULL)
        out.filterResult = options.previous(pPointers);
    return out;
}
