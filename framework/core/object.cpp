// Run-time class records and the object base.
#include "afx.h"

#include <stdio.h>

const CRuntimeClass CObject::classCObject = {"CObject", (int)sizeof(CObject), 0xFFFF, NULL, NULL};

CRuntimeClass* CObject::GetRuntimeClass() const
{
    return RUNTIME_CLASS(CObject);
}

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const
{
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const
{
    for (const CRuntimeClass* p = this; p != NULL; p = p->m_pBaseClass)
        if (p == pBaseClass)
            return TRUE;
    return FALSE;
}

CObject* CRuntimeClass::CreateObject()
{
    if (m_pfnCreateObject == NULL) {
        TRACE("CreateObject: %s is not dynamically creatable\n", m_lpszClassName);
        return NULL;
    }
    try {
        return (*m_pfnCreateObject)();
    } catch (CException* e) {
        e->Delete();
    } catch (const std::bad_alloc&) {
    }
    return NULL;
}

CObject* AFXAPI AfxDynamicDownCast(CRuntimeClass* pClass, CObject* pObject)
{
    if (pObject != NULL && pObject->IsKindOf(pClass))
        return pObject;
    return NULL;
}

void AFX_CDECL AfxTrace(LPCSTR lpszFormat, ...)
{
    char szBuffer[512];
    va_list args;
    va_start(args, lpszFormat);
    _vsnprintf(szBuffer, sizeof(szBuffer) - 1, lpszFormat, args);
    va_end(args);
    szBuffer[sizeof(szBuffer) - 1] = '\0';
    ::OutputDebugStringA(szBuffer);
}

BOOL AFXAPI AfxAssertFailedLine(LPCSTR lpszFileName, int nLine)
{
    char szMessage[MAX_PATH + 64];
    _snprintf(szMessage, sizeof(szMessage) - 1, "Assertion failed: %s(%d)\n", lpszFileName, nLine);
    szMessage[sizeof(szMessage) - 1] = '\0';
    ::OutputDebugStringA(szMessage);
    fputs(szMessage, stderr);
    return FALSE;
}
