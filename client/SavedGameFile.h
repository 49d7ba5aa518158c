// Saved games on disk: a new file name that holds no file yet, and writing a
// record so that a failure never leaves a partial file behind.
#pragma once

#include "afxwin.h"

#include <ctime>

#include "PegFile.h"

enum SaveFileResult {
    kSaved = 0,
    kSaveCannotCreate,   // the folder is gone or the file cannot be made
    kSaveCannotWrite,    // writing or moving it into place failed
};

// "<folder>\自己的<time>.peg" (watching: "旁观的"), with "-2", "-3", ... after
// the time when a file of that second exists. The folder is created, every
// missing level, when it is missing.
CString NewSavedGameName(LPCSTR lpszFolder, const std::tm& when, BOOL bWatching);
// Writes header, info and data under a temporary name and moves the file
// into place; an existing file of that name is left alone (a failure).
SaveFileResult WriteSavedGame(LPCSTR lpszPath, const peg::Record& record);
