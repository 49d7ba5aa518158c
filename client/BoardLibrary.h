// The board library "<folder>\<name>_Board.dll" and its three entry points,
// bound at start-up and kept loaded until the application ends (after the
// table window has destroyed its board).
#pragma once

#include <windows.h>

#include "BoardInterface.h"

// What binding found.
enum BoardBinding {
    kBoardBound = 1,
    kBoardMissingLibrary = 0,
    kBoardMissingCreate = -1,   // no QVBoardCreate
    kBoardMissingExport = -2,   // QVBoardDestory or QVBoardEvent missing
};

class CBoardLibrary
{
public:
    CBoardLibrary() = default;
    ~CBoardLibrary() { Free(); }
    CBoardLibrary(const CBoardLibrary&) = delete;
    CBoardLibrary& operator=(const CBoardLibrary&) = delete;

    // Loads the library and looks up "QVBoardCreate", "QVBoardDestory" and
    // "QVBoardEvent" in that order, each kept as soon as it is found.
    BoardBinding Load(LPCSTR lpszFolder, LPCSTR lpszName);
    void Free();
    BOOL IsBound() const { return m_pfnCreate != NULL && m_pfnDestory != NULL && m_pfnEvent != NULL; }

    HMODULE m_hModule = NULL;
    PFN_QVBoardCreate m_pfnCreate = NULL;
    PFN_QVBoardDestory m_pfnDestory = NULL;
    PFN_QVBoardEvent m_pfnEvent = NULL;
};

// Binding at start-up: FALSE when the board cannot be used. A missing
// QVBoardCreate is reported as fault 431 and then, like every other
// failure, as 430.
BOOL BindBoardForStartup(CBoardLibrary& library, LPCSTR lpszFolder, LPCSTR lpszName, void (*postFault)(UINT code));
