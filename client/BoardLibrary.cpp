#include "BoardLibrary.h"

#include <stdio.h>

BoardBinding CBoardLibrary::Load(LPCSTR lpszFolder, LPCSTR lpszName)
{
    Free();
    char path[MAX_PATH];
    if (snprintf(path, sizeof path, "%s\\%s_Board.dll", lpszFolder, lpszName) >= (int)sizeof path)
        return kBoardMissingLibrary;
    m_hModule = ::LoadLibraryA(path);
    if (m_hModule == NULL)
        return kBoardMissingLibrary;
    m_pfnCreate = reinterpret_cast<PFN_QVBoardCreate>(reinterpret_cast<void (*)()>(::GetProcAddress(m_hModule, "QVBoardCreate")));
    if (m_pfnCreate == NULL)
        return kBoardMissingCreate;
    m_pfnDestory = reinterpret_cast<PFN_QVBoardDestory>(reinterpret_cast<void (*)()>(::GetProcAddress(m_hModule, "QVBoardDestory")));
    if (m_pfnDestory == NULL)
        return kBoardMissingExport;
    m_pfnEvent = reinterpret_cast<PFN_QVBoardEvent>(reinterpret_cast<void (*)()>(::GetProcAddress(m_hModule, "QVBoardEvent")));
    if (m_pfnEvent == NULL)
        return kBoardMissingExport;
    return kBoardBound;
}

void CBoardLibrary::Free()
{
    if (m_hModule != NULL)
        ::FreeLibrary(m_hModule);
    m_hModule = NULL;
    m_pfnCreate = NULL;
    m_pfnDestory = NULL;
    m_pfnEvent = NULL;
}

BOOL BindBoardForStartup(CBoardLibrary& library, LPCSTR lpszFolder, LPCSTR lpszName, void (*postFault)(UINT code))
{
    const BoardBinding binding = library.Load(lpszFolder, lpszName);
    if (binding == kBoardBound)
        return TRUE;
    if (postFault != NULL) {
        if (binding == kBoardMissingCreate)
            postFault(431);
        postFault(430);
    }
    return FALSE;
}
