// Module state: instance and resource handles.
#include "afx.h"

AFX_MODULE_STATE* AFXAPI AfxGetModuleState()
{
    static AFX_MODULE_STATE s_moduleState = {NULL, NULL, NULL, NULL};
    return &s_moduleState;
}

HINSTANCE AFXAPI AfxGetInstanceHandle()
{
    AFX_MODULE_STATE* pState = AfxGetModuleState();
    if (pState->m_hCurrentInstanceHandle == NULL)
        return ::GetModuleHandleA(NULL);
    return pState->m_hCurrentInstanceHandle;
}

HINSTANCE AFXAPI AfxGetResourceHandle()
{
    AFX_MODULE_STATE* pState = AfxGetModuleState();
    if (pState->m_hCurrentResourceHandle == NULL)
        return AfxGetInstanceHandle();
    return pState->m_hCurrentResourceHandle;
}

void AFXAPI AfxSetResourceHandle(HINSTANCE hInstResource)
{
    AfxGetModuleState()->m_hCurrentResourceHandle = hInstResource;
}

HINSTANCE AFXAPI AfxFindResourceHandle(LPCSTR lpszName, LPCSTR lpszType)
{
    HINSTANCE hResource = AfxGetResourceHandle();
    if (::FindResourceA(hResource, lpszName, lpszType) != NULL)
        return hResource;
    HINSTANCE hInstance = AfxGetInstanceHandle();
    if (hInstance != hResource && ::FindResourceA(hInstance, lpszName, lpszType) != NULL)
        return hInstance;
    return hResource;
}
