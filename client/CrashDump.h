// The crash-dump writer behind the program's unhandled-exception filter:
// writes "<folder>\Mardavel_Crash_<time>.dmp" with the system's dump writer
// (bound from dbghelp.dll at run time), tells the user where it is, reports
// the crash, and hands the exception on to the filter that was installed
// before.
#pragma once

#include <windows.h>

struct CrashDumpOptions {
    LPCSTR folder = NULL;                 // created when missing; empty: nothing written
    LPCSTR dbgHelp = "dbghelp.dll";       // the library that holds MiniDumpWriteDump
    BOOL askUser = TRUE;                  // the box that offers to show the file
    void (*postFault)(UINT code) = NULL;  // the crash report (427)
    LPTOP_LEVEL_EXCEPTION_FILTER previous = NULL;
};

// The dump's path when one was written, for the caller's record.
struct CrashDumpResult {
    LONG filterResult = EXCEPTION_CONTINUE_SEARCH;
    BOOL written = FALSE;
    char path[MAX_PATH] = "";
};

CrashDumpResult WriteCrashDump(EXCEPTION_POINTERS* pPointers, const CrashDumpOptions& options);
