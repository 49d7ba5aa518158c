// Run-time class records of the collection classes and shared helpers.
#include "afx.h"

#include <stdio.h>
#include <stdlib.h>

IMPLEMENT_DYNAMIC(CPtrArray, CObject)
IMPLEMENT_DYNAMIC(CObArray, CObject)
IMPLEMENT_DYNAMIC(CByteArray, CObject)
IMPLEMENT_DYNAMIC(CWordArray, CObject)
IMPLEMENT_DYNAMIC(CDWordArray, CObject)
IMPLEMENT_DYNAMIC(CUIntArray, CObject)
IMPLEMENT_DYNAMIC(CStringArray, CObject)
IMPLEMENT_DYNAMIC(CPtrList, CObject)
IMPLEMENT_DYNAMIC(CObList, CObject)
IMPLEMENT_DYNAMIC(CStringList, CObject)
IMPLEMENT_DYNAMIC(CMapStringToPtr, CObject)
IMPLEMENT_DYNAMIC(CMapStringToString, CObject)
IMPLEMENT_DYNAMIC(CMapPtrToPtr, CObject)
IMPLEMENT_DYNAMIC(CMapWordToPtr, CObject)

// Exception code of a collection misuse (an application-defined code).
static const DWORD kCollectionFaultCode = 0xE0AF0001;

void AFXAPI AfxCollectionIndexFault(LPCSTR lpszClass, INT_PTR nIndex, INT_PTR nSize)
{
    char szMessage[160];
    _snprintf(szMessage, sizeof(szMessage) - 1, "%s: bad index or position (index %Id, size %Id)\n",
              lpszClass, nIndex, nSize);
    szMessage[sizeof(szMessage) - 1] = '\0';
    ::OutputDebugStringA(szMessage);
    fputs(szMessage, stderr);
    fflush(stderr);
    // Stop here, where the fault is, through the process's crash handling.
    ::RaiseException(kCollectionFaultCode, EXCEPTION_NONCONTINUABLE, 0, NULL);
    abort();
}

void* AFXAPI AfxAllocElements(INT_PTR nCount, size_t nElementSize)
{
    if (nCount < 0 || (nElementSize != 0 && (size_t)nCount > (size_t)PTRDIFF_MAX / nElementSize))
        AfxThrowMemoryException();
    void* p = ::operator new((size_t)nCount * nElementSize, std::nothrow);
    if (p == NULL)
        AfxThrowMemoryException();
    return p;
}
